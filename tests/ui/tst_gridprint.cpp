#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "ui/DataGrid.h"
#include "ui/GridPrint.h"
#include "ui/TfrmPrintPreview.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QPrinter>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

using GridPrinting = GuiDatabaseTest;

TEST_F(GridPrinting, PrintsTheVisibleColumnsInOrderScaledToThePage)
{
    auto units = dm->createDataset(QStringLiteral("select * from MERKI where MERKI_ID > 0 order by MERKI_ID"));
    units->open();
    DataGrid grid;
    grid.bind(*units, {{QStringLiteral("MERKI_ID"), QStringLiteral("№"), 40, true},
                       {QStringLiteral("MERKI_NAME"), QStringLiteral("Наименование"), 200, true},
                       {QStringLiteral("MERKI_ZNAK"), QStringLiteral("Означение"), 100, true}});
    grid.setColumnShown(0, false);
    grid.horizontalHeader()->moveSection(2, 1);

    const GridPrintContent content = gridPrintContent(grid, QStringLiteral("Мерки"));
    ASSERT_EQ(content.columns.size(), 2u);
    EXPECT_EQ(content.columns[0].title, QStringLiteral("Означение"));
    EXPECT_EQ(content.rows.size(), 7u);
    EXPECT_EQ(content.rows[0], (QStringList{QStringLiteral("бр."), QStringLiteral("брой")}));

    const std::vector<double> widths = scaledColumnWidths(content.columns, 180);
    EXPECT_DOUBLE_EQ(widths[0] + widths[1], 180);
    EXPECT_DOUBLE_EQ(widths[1] / widths[0], double(content.columns[1].width) / content.columns[0].width);

    TfrmPrintPreview preview(content.title, [&](QPagedPaintDevice &device) { renderGridPrint(content, device); },
                             false);
    QStringList captions;
    for (QAction *action : preview.toolBar()->actions())
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Печат"), QStringLiteral("Настройки"), QStringLiteral("Увеличение"),
                                     QStringLiteral("Пред.стр."), QStringLiteral("Следв.стр."), QStringLiteral("Прекрати"),
                                     QStringLiteral("PDF"), QStringLiteral("Изход")}));
    EXPECT_EQ(preview.toolBar()->actions().at(1)->toolTip(),
              QStringLiteral("Избор и настройка на принтер за печат\rНастройки на справката"));
    EXPECT_EQ(preview.printer().docName(), QStringLiteral("Мерки"));
    const QString pdf = dir.path(QStringLiteral("list.pdf"));
    ASSERT_TRUE(preview.saveAsPdf(pdf));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
}

} // namespace
