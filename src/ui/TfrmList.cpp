#include "ui/TfrmList.h"

#include "ui/DataGrid.h"

#include <QHeaderView>

TfrmList::TfrmList(QWidget *owner)
    : TfrmBaseGridForm(owner)
{
    setObjectName(QStringLiteral("frmList"));
    ShowPrint = true;
    AllowFilter = false;
    SettingsPrefix = QStringLiteral("LIST_FORM");
    BuildToolbar();
}

void TfrmList::setDataset(db::Dataset &dataset, std::vector<GridColumn> columns)
{
    TfrmBaseGridForm::setDataset(dataset, std::move(columns));
    Grid()->setEditable(true);
    Grid()->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}
