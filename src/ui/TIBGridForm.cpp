#include "ui/TIBGridForm.h"

#include "db/Dataset.h"
#include "util/Error.h"

namespace {
const QString kNoFilter = QStringLiteral("where (1=1)");
}

TIBGridForm::TIBGridForm(QWidget *owner)
    : TfrmBaseGridForm(owner)
{
}

bool TIBGridForm::replaceWhere(const QString &clause)
{
    db::Dataset &rows = *dataset();
    const QString previous = rows.selectSql();
    const qsizetype at = previous.indexOf(WhereClause, 0, Qt::CaseSensitive);
    if (at < 0)
        return false;
    const QString changed = QString(previous).replace(at, WhereClause.size(), clause);
    if (changed == previous)
        return false;

    rows.disableControls();
    SaveCurrentKey();
    bool opened = true;
    try {
        // Parameter values are kept by name and given back to the new text.
        rows.close();
        rows.setSelectSql(changed);
        rows.open();
    } catch (const varnex::Error &) {
        opened = false;
        rows.setSelectSql(previous);
        try {
            rows.open();
        } catch (const varnex::Error &) {
            // The list stays closed; the caller's state is unchanged.
        }
    }
    if (rows.isOpen())
        RestoreCurrentKey();
    rows.enableControls();
    return opened;
}

bool TIBGridForm::ApplyWhere(const QString &clause)
{
    return dataset() && replaceWhere(clause);
}

void TIBGridForm::RemoveFilter()
{
    if (WhereClause != kNoFilter && dataset() && replaceWhere(kNoFilter))
        WhereClause = kNoFilter;
    TfrmBaseGridForm::RemoveFilter();
}
