#pragma once

#include "ui/TIBGridForm.h"

#include <functional>
#include <vector>

class QShortcut;

class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;

// A list window that edits the current row in a panel under a read-only
// grid, with a search panel that the toolbar's "Търсене" shows and hides.
class TfrmBaseVXGrid : public TIBGridForm
{
    Q_OBJECT

public:
    explicit TfrmBaseVXGrid(QWidget *owner = nullptr);

    virtual bool ValidateRecord();
    // Stores pending edits of the window's other datasets, cancelling those
    // that fail.
    virtual bool PostDetails();
    virtual bool CanCancelEdit();

    // A window without search fields offers no search panel.
    bool ShowSearch = true;

    void BuildToolbar() override;
    void UpdateActions() override;

    QGroupBox *editGroup() const { return m_editGroup; }
    QWidget *editPanel() const { return m_editPanel; }
    QWidget *searchPanel() const { return m_searchPanel; }
    // Where the search panel's fields go, after its "Търсене:" label.
    QHBoxLayout *searchFields() const { return m_searchFields; }
    QPushButton *btnSave() const { return m_btnSave; }
    QPushButton *btnCancelEdit() const { return m_btnCancelEdit; }
    QAction *actnSearch = nullptr;

    // A plain key of the list (F2 new and the like): it acts only while no
    // row is being edited, and is off meanwhile so the editors get the key.
    void addListKey(Qt::Key key, std::function<void()> command);
    // The same for an action, which also has to be enabled.
    void addListKey(Qt::Key key, QAction *action);

    // "Запис" and "Отказ" of the edit panel.
    void SaveClick();
    void CancelClick();

public Q_SLOTS:
    // Esc cancels an edit in progress; otherwise it closes the window.
    void reject() override;

protected:
    void NewExecute() override;
    void GridDoubleClicked() override;
    QFormLayout *editFields() const { return m_editFields; }
    // Where the focus goes when a row starts being edited.
    virtual QWidget *firstEditor() const;

private:
    void followState();

    QWidget *m_searchPanel = nullptr;
    QHBoxLayout *m_searchFields = nullptr;
    QToolButton *m_btnSearch = nullptr;
    QWidget *m_editPanel = nullptr;
    QGroupBox *m_editGroup = nullptr;
    QFormLayout *m_editFields = nullptr;
    QPushButton *m_btnSave = nullptr;
    QPushButton *m_btnCancelEdit = nullptr;
    std::vector<QShortcut *> m_listKeys;
    std::vector<QShortcut *> m_saveKeys;
};
