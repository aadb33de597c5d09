#include "data/OrphanLines.h"
#include "data/StockLookups.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDateTime kMorning(QDate(2026, 2, 10), QTime(9, 0));

class OrphanLines : public DatabaseTest
{
protected:
    OrphanLines()
    {
        addGoods(*dm, 1, 1, QStringLiteral("Олио"));
        addGoods(*dm, 2, 2, QStringLiteral("Брашно, тип 500"));
    }

    std::vector<int> lineIds()
    {
        std::vector<int> ids;
        for (const QVariantList &row : dm->QueryRows(QStringLiteral("select TRANZ_RED_ID from TRANZ_RED order by 1")))
            ids.push_back(row.at(0).toInt());
        return ids;
    }
};

TEST_F(OrphanLines, OnlyLinesWithoutTheirDocumentAreFound)
{
    addDocument(*dm, 1, 12, 1, kMorning); // a stored delivery with its lines
    addLine(*dm, 1, 1, 1, 1, 10, 10, 2.5);
    addLine(*dm, 2, 1, 2, 1, 4, 4, 1.2);
    addDocument(*dm, 2, 11, 1, kMorning); // a stored sale without lines
    addLine(*dm, 3, 5, 2, -1, 3, 2, 1.4); // document 5 was never stored
    addLine(*dm, 4, 5, 1, -1, 1.5, 0, 3.1);
    addLine(*dm, 7, 3, 1, 1, 8, 8); // nor was document 3

    const data::OrphanLines found = data::findOrphanLines(*dm);
    ASSERT_EQ(found.lineCount(), 3);
    EXPECT_EQ(found.documentIds(), (std::vector<int>{3, 5}));
    const auto &lines = found.lines();
    EXPECT_EQ(lines[0].documentId, 3);
    EXPECT_EQ(lines[0].lineId, 7);
    EXPECT_EQ(lines[1].lineId, 3);
    EXPECT_EQ(lines[1].goodsId, 2);
    EXPECT_EQ(lines[1].goodsName, QStringLiteral("Брашно, тип 500"));
    EXPECT_EQ(lines[1].direction, -1);
    EXPECT_DOUBLE_EQ(lines[1].quantity, 3);
    EXPECT_DOUBLE_EQ(lines[1].taken, 2);
    EXPECT_EQ(lines[2].lineId, 4);
    EXPECT_EQ(data::orphanLinesSummary(found), QStringLiteral("3 реда на 2 документа"));

    EXPECT_TRUE(data::findOrphanLines(*database.connect()).lineCount() == 3); // what another connection sees
}

TEST_F(OrphanLines, ACleanDatabaseHasNone)
{
    addDocument(*dm, 1, 12, 1, kMorning);
    addLine(*dm, 1, 1, 1, 1, 10, 10);
    const data::OrphanLines found = data::findOrphanLines(*dm);
    EXPECT_TRUE(found.isEmpty());
    EXPECT_TRUE(found.documentIds().empty());
    EXPECT_EQ(data::removeOrphanLines(*dm, found), 0);
    EXPECT_EQ(lineIds(), std::vector<int>{1});
}

TEST_F(OrphanLines, OneLineOfOneDocumentIsWordedInTheSingular)
{
    addLine(*dm, 1, 4, 1, 1, 1, 1);
    const data::OrphanLines found = data::findOrphanLines(*dm);
    EXPECT_EQ(data::orphanLinesSummary(found), QStringLiteral("1 ред на 1 документ"));
    EXPECT_TRUE(data::orphanLinesQuestion(found).contains(QStringLiteral(": 1 ред на 1 документ.\r\n")));
}

TEST_F(OrphanLines, RemovalTakesOnlyWhatWasFoundAndIsStillWithoutItsDocument)
{
    addDocument(*dm, 1, 12, 1, kMorning);
    addLine(*dm, 1, 1, 1, 1, 10, 10);
    addLine(*dm, 2, 5, 1, 1, 2, 2);
    addLine(*dm, 3, 5, 2, 1, 3, 3);
    addLine(*dm, 4, 6, 2, -1, 1, 1);
    const data::OrphanLines found = data::findOrphanLines(*dm);
    ASSERT_EQ(found.lineCount(), 3);

    // Meanwhile document 6 turns out to have been entered after all, and
    // another workstation stores a line of a document it has just begun.
    addDocument(*dm, 6, 11, 1, kMorning);
    addLine(*dm, 8, 9, 1, 1, 5, 5);

    EXPECT_EQ(data::removeOrphanLines(*dm, found), 2);
    EXPECT_EQ(lineIds(), (std::vector<int>{1, 4, 8}));
    EXPECT_EQ(data::removeOrphanLines(*dm, found), 0); // a second run finds them gone
}

TEST_F(OrphanLines, TheyMoveNoStockOnHand)
{
    // A delivery abandoned by a crash, then a later one that was stored:
    // the abandoned lines count nowhere, before or after their removal.
    addLine(*dm, 1, 1, 1, 1, 7, 7);
    addDocument(*dm, 2, 12, 1, kMorning);
    addLine(*dm, 2, 2, 1, 1, 10, 10);
    const QDate today(2026, 2, 11);
    EXPECT_DOUBLE_EQ(data::stockOnHand(*dm, 1, today), 10);

    EXPECT_EQ(data::removeOrphanLines(*dm, data::findOrphanLines(*dm)), 1);
    EXPECT_DOUBLE_EQ(data::stockOnHand(*dm, 1, today), 10);
}

} // namespace
