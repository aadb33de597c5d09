#include "db/Dataset.h"
#include "support/GuiTest.h"
#include "ui/DataGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

using LargeGrids = GuiDatabaseTest;

// As many rows as a busy journal holds, made by the server without a table.
const char *const kManyRows = "execute block (ROWS_WANTED integer = :ROWS_WANTED) returns (N integer) as "
                              "begin N = 0; while (N < ROWS_WANTED) do begin N = N + 1; suspend; end end";

bool rowShown(const DataGrid &grid, int row)
{
    const QRect cell = grid.visualRect(grid.model()->index(row, 0));
    return cell.isValid() && grid.viewport()->rect().contains(cell.center());
}

TEST_F(LargeGrids, TheCurrentRowFollowsTheDatasetAcrossTwoHundredThousandRows)
{
    auto rows = dm->createDataset(QString::fromLatin1(kManyRows));
    DataGrid grid;
    grid.bind(*rows, {{QStringLiteral("N"), QStringLiteral("№"), 80, true}});
    grid.resize(400, 300);
    grid.show();
    rows->setParam(QStringLiteral("ROWS_WANTED"), 200000);
    rows->open();
    ASSERT_EQ(rows->recordCount(), 200000);
    for (const int row : {198357, 62548, 199999, 131071, 65536, 0}) {
        rows->moveTo(row);
        EXPECT_EQ(grid.currentIndex().row(), row);
        EXPECT_TRUE(grid.selectionModel()->isRowSelected(row, QModelIndex())) << row;
        EXPECT_TRUE(rowShown(grid, row)) << row;
    }
    rows->last();
    QApplication::processEvents();
    EXPECT_TRUE(rowShown(grid, 199999));
}

TEST_F(LargeGrids, AReloadThatGrowsTheListShowsTheRowItLandsOn)
{
    auto rows = dm->createDataset(QString::fromLatin1(kManyRows));
    DataGrid grid;
    grid.bind(*rows, {{QStringLiteral("N"), QStringLiteral("№"), 80, true}});
    grid.resize(400, 300);
    grid.show();
    rows->setParam(QStringLiteral("ROWS_WANTED"), 62560);
    rows->open();
    rows->last();
    QApplication::processEvents();

    // A reload keeping the current document, as the journal does.
    rows->disableControls();
    rows->setParam(QStringLiteral("ROWS_WANTED"), 200000);
    rows->reopen();
    ASSERT_TRUE(rows->locate({QStringLiteral("N")}, {198358}));
    rows->enableControls();
    EXPECT_EQ(grid.currentIndex().row(), 198357);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(198357, QModelIndex()));
    QApplication::processEvents();
    EXPECT_TRUE(rowShown(grid, 198357)) << grid.verticalScrollBar()->value();
}

} // namespace
