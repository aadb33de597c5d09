#pragma once

#include "ui/TfrmYesNo.h"

namespace db {
class Dataset;
}

// A modal window that edits one record of its main dataset: "Запис"
// stores it after the window's checks and its detail rows, closing asks
// before unsaved changes are dropped, Ctrl+Enter stores from anywhere.
class TfrmBaseDBEditForm : public TfrmYesNo
{
    Q_OBJECT

public:
    explicit TfrmBaseDBEditForm(QWidget *owner = nullptr);

    void setMainDataset(db::Dataset &dataset) { m_main = &dataset; }
    db::Dataset *mainDataset() const { return m_main; }
    // Detail datasets stored before the main record, in this order.
    void addDetailDataset(db::Dataset &dataset) { m_details.push_back(&dataset); }

    QPushButton *btnSave() const { return btnOK(); }

    virtual bool ValidateRecord();
    virtual bool PostDetails();
    virtual bool CanClose();
    // Whether closing would drop changes, so the window asks first: the
    // main record or a row of a detail or a grid was changed and not stored.
    virtual bool HasUnsavedChanges() const;

    // "Запис": checks, details, then the record; the window closes with OK.
    virtual void SaveClick();

public Q_SLOTS:
    void accept() override;
    void reject() override;

private:
    // The detail datasets and those of the window's grids, without the main.
    QList<db::Dataset *> detailRows() const;
    // Whether the window may close now, asking about unsaved changes.
    bool mayClose();
    void closeWith(int result);

    db::Dataset *m_main = nullptr;
    std::vector<db::Dataset *> m_details;
};
