#pragma once

#include "ui/TfrmBaseForm.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TBaseDM;

// "Настройка на права за достъп": in the zone model, the tree of right
// items whose ticks mark the protected zones of user 0.
class TfrmSecuritySettings : public TfrmBaseForm
{
    Q_OBJECT

public:
    TfrmSecuritySettings(TBaseDM &data, QWidget *owner = nullptr);

    QTreeWidget *zoneTree() const { return m_zoneTree; }
    QLabel *warning() const { return m_warning; }
    QPushButton *btnSaveZones() const { return m_saveZones; }
    QGroupBox *zoneGroup() const { return m_zoneGroup; }
    QGroupBox *userGroup() const { return m_userGroup; }
    QComboBox *modeList() const { return m_mode; }

    // Fills the window from the database (the model, the tree, the ticks).
    void fill();
    // "Запис": stores every node's tick and reads them back.
    void SaveZones();
    void toggle(QTreeWidgetItem *item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addChildren(QTreeWidgetItem *parent, int parentId);
    void readTicks();

    TBaseDM &m_data;
    QComboBox *m_mode;
    QGroupBox *m_zoneGroup;
    QGroupBox *m_userGroup;
    QTreeWidget *m_zoneTree;
    QLabel *m_warning;
    QPushButton *m_saveZones;
};

// Opens the rights window modally, filled from the database.
void ShowRightsWindow(TBaseDM &data, QWidget *owner);
