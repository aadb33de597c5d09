#include "ui/TfrmBaseDBEditForm.h"

#include "db/Dataset.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"
#include "ui/EditRoutines.h"
#include "ui/ErrorGuard.h"

#include <QPushButton>

TfrmBaseDBEditForm::TfrmBaseDBEditForm(QWidget *owner)
    : TfrmYesNo(owner)
{
    btnOK()->setText(QStringLiteral("Запис"));
    btnOK()->setDefault(false);
    btnOK()->setAutoDefault(false);
    btnCancel()->setText(QStringLiteral("Отказ"));
}

bool TfrmBaseDBEditForm::ValidateRecord()
{
    return true;
}

bool TfrmBaseDBEditForm::PostDetails()
{
    PostPendingEdits(this, QList<db::Dataset *>(m_details.begin(), m_details.end()), m_main);
    return true;
}

QList<db::Dataset *> TfrmBaseDBEditForm::detailRows() const
{
    QList<db::Dataset *> rows(m_details.begin(), m_details.end());
    for (const DataGrid *grid : findChildren<DataGrid *>()) {
        if (grid->dataset() && grid->dataset() != m_main && !rows.contains(grid->dataset()))
            rows << grid->dataset();
    }
    return rows;
}

bool TfrmBaseDBEditForm::CanClose()
{
    return true;
}

bool TfrmBaseDBEditForm::HasUnsavedChanges() const
{
    return HasChangedRows(detailRows() << m_main);
}

void TfrmBaseDBEditForm::SaveClick()
{
    commitOpenEditors();
    bool stored = false;
    runGuarded(this, [&] {
        // A refusing check has already said why.
        if (!ValidateRecord() || !PostDetails())
            return;
        if (m_main)
            m_main->post();
        stored = true;
    });
    if (stored)
        closeWith(mrOk);
}

void TfrmBaseDBEditForm::accept()
{
    SaveClick();
}

void TfrmBaseDBEditForm::reject()
{
    closeWith(mrCancel);
}

bool TfrmBaseDBEditForm::mayClose()
{
    if (HasUnsavedChanges()
        && MessageDlg(QStringLiteral("Отказвате ли се от направените промени?"), TMsgDlgType::mtConfirmation,
                      mbYes | mbNo)
               != mrYes)
        return false;
    return CanClose();
}

void TfrmBaseDBEditForm::closeWith(int result)
{
    commitOpenEditors();
    if (!mayClose())
        return;
    for (db::Dataset *rows : detailRows()) {
        if (rows->isEditing())
            runGuarded(this, [rows] { rows->cancel(); });
    }
    if (m_main && m_main->isEditing()) {
        m_main->disableControls();
        m_main->cancel();
        runGuarded(this, [this] { m_main->reopen(); });
        m_main->enableControls();
    }
    done(result);
}
