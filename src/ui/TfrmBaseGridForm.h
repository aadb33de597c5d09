#pragma once

#include "ui/GridColumn.h"
#include "ui/TToolbarLayout.h"
#include "ui/TfrmBaseForm.h"

#include <QVariant>

#include <vector>

class DataGrid;
class QAction;
class QHBoxLayout;
class QMenu;
class QToolButton;
class QVBoxLayout;
namespace db {
class Dataset;
}

// A list window: a toolbar, a grid over one dataset and the list actions
// (new, edit, delete, filter, remove filter, print, columns, refresh,
// close), whose availability follows the dataset and the window's flags.
class TfrmBaseGridForm : public TfrmBaseForm
{
    Q_OBJECT

public:
    explicit TfrmBaseGridForm(QWidget *owner = nullptr);

    // The dataset the grid shows, with the designed columns.
    void setDataset(db::Dataset &dataset, std::vector<GridColumn> columns);
    db::Dataset *dataset() const { return m_dataset; }
    DataGrid *Grid() const { return m_grid; }

    bool AllowEdit = true;
    bool AllowInsert = true;
    bool AllowDelete = true;
    bool AllowFilter = true;
    bool ShowPrint = false;
    bool SaveGridLayout = true;
    bool FilterActive = false;
    QString KeyField = QStringLiteral("ID");
    QString SettingsPrefix = QStringLiteral("BASEGRID");
    QString BaseCaption;
    QString WhereClause = QStringLiteral("where (1=1)");

    QAction *actnNew;
    QAction *actnEdit;
    QAction *actnDelete;
    QAction *actnFilter;
    QAction *actnRemoveFilter;
    QAction *actnPrint;
    QAction *actnClose;
    QAction *actnColumns;
    QAction *actnRefresh;
    // Shown only while the window is opened to choose a row for its opener.
    QAction *actnChoose;

    virtual bool DeleteVeto();
    virtual void BeforeDelete();
    virtual bool ApplyWhere(const QString &clause);
    virtual void RemoveFilter();
    virtual void BuildToolbar();
    virtual void ArrangeToolbar();
    virtual bool LocateRecord(db::Dataset &dataset, const QString &keyFields, const QVariant &values);
    virtual void BeforeRefresh();
    virtual void RefreshList();
    virtual void ApplyShowParams();
    virtual void SetFilterCaption(const QString &text);
    virtual void SetFilter(const QString &condition, const QString &captionText);
    // Re-evaluates which actions are enabled.
    virtual void UpdateActions();

    // Opened to choose a row (also the show command "CHOOSE"): "Избор",
    // Enter or a double-click on a row closes the window accepted, and
    // ChosenKey gives that row's KeyField; −1 when nothing was chosen.
    void setChooseMode(bool choosing);
    bool chooseMode() const { return m_choosing; }
    int ChosenKey() const;

    void SaveCurrentKey();
    void RestoreCurrentKey();
    // Shows the window without blocking and runs its show command.
    void ShowList();

    void LoadLayout() override;
    void SaveLayout() override;
    void AfterShow() override;
    void CustomizeNotification(TNotifyPopup &popup, int kind) override;

public Q_SLOTS:
    // A pending edit is stored when the window closes, or, when storing
    // fails, the error is shown and the edit cancelled.
    void done(int result) override;

protected:
    // The window's own commands behind the actions.
    virtual void NewExecute();
    virtual void EditExecute();
    virtual void DeleteExecute();
    virtual void FilterExecute();
    virtual void GridDoubleClicked();
    virtual void ChooseExecute();
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool isBrowsing() const;
    bool isEditingDataset() const;
    QToolButton *addToolButton(QAction *action);
    void setToolbarButtonShown(QToolButton *button, bool shown);

    TToolbarLayout m_toolbarLayout;
    QWidget *m_toolbar;
    QWidget *m_filterPanel;
    QHBoxLayout *m_filterLayout;
    QVBoxLayout *m_mainLayout;
    QToolButton *m_btnChoose;
    QToolButton *m_btnNew;
    QToolButton *m_btnEdit;
    QToolButton *m_btnDelete;
    QToolButton *m_btnFilter;
    QToolButton *m_btnRemoveFilter;
    QToolButton *m_btnPrint;
    QToolButton *m_btnClose;
    QMenu *m_gridMenu;

private:
    DataGrid *m_grid;
    db::Dataset *m_dataset = nullptr;
    QVariant m_rememberedKey;
    bool m_choosing = false;
    QVariant m_chosenKey;
};
