#pragma once

#include "ui/TfrmBaseForm.h"

#include <memory>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace reports {
class ReportModule;
}

// "Отчети": the reports of the report module in a tree by their groups,
// shown by the module. The window holds the module for as long as it
// exists; without a module it is not created at all.
class TfrmSpravki : public TfrmBaseForm
{
    Q_OBJECT

public:
    // Loads the module from the folders of reports::moduleFolders(), reads
    // its list and hands it the connection of the program's data module;
    // throws "Не е намерен модул за справки!" when there is no module.
    explicit TfrmSpravki(QWidget *owner = nullptr);
    ~TfrmSpravki() override;

    QTreeWidget *tvReports() const { return m_tree; }
    QPushButton *btnShow() const { return m_show; }
    QPushButton *btnSettings() const { return m_settings; }
    QPushButton *btnClose() const { return m_close; }

    // The module's index of the selected report; -1 on a group or nothing.
    int selectedReport() const;
    // "Покажи" and "Настройки".
    void ShowReport();
    void ShowSettings();

    // Centred on the desktop until the window has a place of its own.
    void LoadPosition() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillTree();
    void selectionChanged(QTreeWidgetItem *current);

    std::unique_ptr<reports::ReportModule> m_module;
    QTreeWidget *m_tree;
    QPushButton *m_show;
    QPushButton *m_settings;
    QPushButton *m_close;
    bool m_centre = false;
};
