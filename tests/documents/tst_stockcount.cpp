#include "core/Tdm.h"
#include "data/EuroChangeover.h"
#include "data/JournalQuery.h"
#include "data/StockLookups.h"
#include "documents/DocumentKind.h"
#include "documents/StockCountDocument.h"
#include "documents/StockCountRules.h"
#include "reportdata/CountSheets.h"
#include "reportdata/Reports.h"
#include "support/AdminTool.h"
#include "support/FreshDatabase.h"
#include "support/NetworkServer.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace documents;
using namespace testing_support;

namespace {

TEST(CountRules, TheDifferenceIsPostedIntoOrOutOfStockToTheThousandth)
{
    struct Case
    {
        double book, counted;
        int sign;
        double quantity;
    };
    const Case cases[] = {{10, 7, kOutOfStock, 3}, {5, 8, kIntoStock, 3}, {4, 4, 0, 0},
                          {0.3, 0.1 + 0.2, 0, 0},  {-2, 5, kIntoStock, 7}, {2.5, 0, kOutOfStock, 2.5}};
    for (const Case &c : cases) {
        const auto posting = countPosting(9, c.book, c.counted, 1.5);
        ASSERT_EQ(posting.has_value(), c.sign != 0) << c.book << " → " << c.counted;
        if (posting) {
            EXPECT_EQ(posting->sign, c.sign) << c.book;
            EXPECT_DOUBLE_EQ(posting->quantity, c.quantity) << c.book;
        }
    }
}

TEST(CountRules, AScannersFileIsAddedUpByCodeAndItsBadRowsNamed)
{
    const CountFile file = parseCountFile(QStringLiteral("3800000000014;2\r\n101;1,5\n\n3800000000014\t3\n"
                                                         "код;количество\n102;-1\n;4\n103;2;1\n"));
    ASSERT_EQ(file.quantities.size(), 2u);
    EXPECT_EQ(file.quantities[0], std::make_pair(QStringLiteral("3800000000014"), 5.0));
    EXPECT_EQ(file.quantities[1], std::make_pair(QStringLiteral("101"), 1.5));
    EXPECT_EQ(file.badRows, QStringList({QStringLiteral("ред 5: код;количество"), QStringLiteral("ред 6: 102;-1"),
                                         QStringLiteral("ред 7: ;4"), QStringLiteral("ред 8: 103;2;1")}));
}

// Flour delivered 10 at 2.00 less 10 % and 3 sold (7 on hand), sugar 5 at
// 4.00, salt and pepper of category 5 with 2 and 0 on hand, in a shop
// still in leva.
class CountedShop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
        addGoods(*dm, 2, 102, QStringLiteral("Захар"));
        addGoods(*dm, 3, 103, QStringLiteral("Сол"));
        addGoods(*dm, 4, 104, QStringLiteral("Пипер"));
        dm->ExecSQL(QStringLiteral("update NOM set NOM_CATEGORY_ID = 5 where NOM_ID in (3, 4)"));
        addDocument(*dm, 10, 12, 1, QDateTime(QDate(2025, 11, 2), QTime(9, 0)));
        addLine(*dm, 100, 10, 1, 1, 10, 10, 2.0, 0.1);
        addLine(*dm, 101, 10, 2, 1, 5, 5, 4.0);
        addLine(*dm, 102, 10, 3, 1, 2, 2, 1.0);
        addDocument(*dm, 11, 11, 1, QDateTime(QDate(2025, 11, 3), QTime(9, 0)));
        addLine(*dm, 110, 11, 1, -1, 3, 3, 3.0);
        // Brought up to date with documents in it, the database stays in leva.
        ASSERT_EQ(dm->PrepareSchema(), Tdm::SchemaResult::Ready);
        dm->ExecSQL(QStringLiteral("insert into NOM_BARCODES (BARCODE, NOM_ID) values ('3800000000014', 2)"));
    }

    double onHand(int goods) { return data::stockOnHand(*dm, goods, day); }

    const QDate day{2025, 11, 20};
    FreshDatabase database{20114};
    std::unique_ptr<Tdm> dm = database.connect();
};

TEST_F(CountedShop, PostingBringsStockToWhatWasCountedAtTheLastDeliveryPrice)
{
    StockCountDocument count(*dm);
    count.create(day);
    for (int i = 0; i < 3; ++i)
        count.scan(QStringLiteral(" 3800000000014\n"));
    count.scan(QStringLiteral("101"));
    count.setCounted(1, 6.5);
    EXPECT_THROW(count.scan(QStringLiteral("999")), varnex::Error);
    EXPECT_EQ(count.countCategoryAsZero(5), 2);
    ASSERT_EQ(count.lines().size(), 4u);
    EXPECT_DOUBLE_EQ(countTotals(count.lines()).counted, 9.5);
    count.post();

    for (const auto &[goods, counted] : std::vector<std::pair<int, double>>{{1, 6.5}, {2, 3}, {3, 0}, {4, 0}})
        EXPECT_DOUBLE_EQ(onHand(goods), counted) << goods;
    const auto lines = dm->QueryRows(QStringLiteral("select TRANZ_RED_NOM_ID, TRANZ_RED_TYPE_ID, TRANZ_RED_IZNESENO, "
                                                    "TRANZ_RED_CENA from TRANZ_RED where TRANZ_RED_TRANZ_ID = :ID "
                                                    "order by TRANZ_RED_NOM_ID"),
                                     {{QStringLiteral("ID"), count.id()}});
    ASSERT_EQ(lines.size(), 3u) << "pepper had none and has none";
    EXPECT_EQ(lines[0], (QVariantList{1, -1, 0.5, 1.8}));
    EXPECT_EQ(lines[1], (QVariantList{2, -1, 2.0, 4.0}));
    EXPECT_EQ(lines[2], (QVariantList{3, -1, 2.0, 1.0}));

    const reportdata::ReportTable result = reportdata::countResult(count.lines(), QString());
    EXPECT_EQ(result.rows.size(), 3u);
    EXPECT_DOUBLE_EQ(result.totals.at(7).toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(result.totals.at(8).toDouble(), 0.9 + 8.0 + 2.0);
    EXPECT_THROW(count.setCounted(1, 1), varnex::Error) << "a posted count stays as posted";
}

TEST_F(CountedShop, AHalfWayCountMovesNoStockAndGoesOnWhereItWasLeft)
{
    StockCountDocument count(*dm);
    count.create(QDate(2025, 11, 1));
    count.setNote(QStringLiteral("склад 1"));
    count.scan(QStringLiteral("102"));
    count.setDay(day);
    count.save();
    EXPECT_DOUBLE_EQ(onHand(2), 5.0);

    StockCountDocument again(*dm);
    again.open(count.id());
    EXPECT_EQ(again.note(), QStringLiteral("склад 1"));
    EXPECT_FALSE(again.posted());
    again.scan(QStringLiteral("3800000000014"));
    ASSERT_EQ(again.lines().size(), 1u);
    EXPECT_DOUBLE_EQ(again.lines()[0].counted, 2.0);
    EXPECT_DOUBLE_EQ(again.lines()[0].book, 5.0);
    again.post();

    StockCountDocument posted(*dm);
    posted.open(count.id());
    EXPECT_TRUE(posted.posted());
    EXPECT_DOUBLE_EQ(onHand(2), 2.0);
}

TEST_F(CountedShop, AnEmptyCountsSheetListsTheCategoryAndAFileImportNamesWhatItSkipped)
{
    StockCountDocument count(*dm);
    count.create(day);
    const std::vector<data::CountLine> sheet = count.sheetLines(5);
    ASSERT_EQ(sheet.size(), 2u) << "before counting the sheet lists the category";
    EXPECT_EQ(sheet[0].goods.name, QStringLiteral("Сол"));
    EXPECT_DOUBLE_EQ(sheet[0].book, 2.0);
    const auto imported = count.importFile(QStringLiteral("3800000000014;4\n101;2\n555;1\n101;x\n"));
    EXPECT_EQ(imported.goods, 2);
    EXPECT_EQ(imported.unknownCodes, QStringList{QStringLiteral("555")});
    EXPECT_EQ(imported.badRows, QStringList{QStringLiteral("ред 4: 101;x")});
    EXPECT_EQ(count.lines().size(), 2u);
}

TEST_F(CountedShop, ReportsJournalEuroAndTheAdminToolShowThePostedCount)
{
    StockCountDocument count(*dm);
    count.create(day);
    count.setCounted(1, 9);
    count.post();

    const auto journal = dm->QueryRows(data::journalStatement(14, QDate(), QDate()), data::journalPeriodParams({}, {}));
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].at(2).toString(), QStringLiteral("Ревизия"));
    const reportdata::ReportTable card = reportdata::stockCard(*dm, 1, QDate(2025, 11, 1), day);
    ASSERT_EQ(card.rows.size(), 4u);
    EXPECT_EQ(card.rows[3].at(1).toString(), QStringLiteral("Ревизия"));
    EXPECT_DOUBLE_EQ(card.rows[3].at(6).toDouble(), 9.0);

    dm->Disconnect();
    const ToolResult stock = runAdminTool({QStringLiteral("stock"), database.path(), QStringLiteral("--date"),
                                           day.toString(Qt::ISODate)});
    EXPECT_TRUE(stock.out.contains(QStringLiteral("000101,Брашно,кг,9\n"))) << stock.out.toStdString();

    auto converting = database.connect();
    data::convertToEuro(converting->database(), data::euroDay());
    EXPECT_DOUBLE_EQ(converting->QueryValue(QStringLiteral("select TRANZ_RED_CENA from TRANZ_RED r join TRANZ t on "
                                                           "t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID where t.TRANZ_TYPE_ID = 14"))
                         .toDouble(),
                     data::levaToEuro(1.8, 4));
}

// Another workstation sells counted goods before the count is posted.
TEST(StockCountOnServer, GoodsMovedMeanwhileAreNamedAndTheirBookTakenAgain)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    RecordedMessages messages;
    const auto connect = [&] {
        auto station = std::make_unique<Tdm>(messages);
        station->setDatabase(database.name());
        station->ApplyConnectionConfig();
        if (!station->Connect())
            throw std::runtime_error("cannot connect to the served database");
        return station;
    };
    auto counting = connect();
    auto selling = connect();
    addGoods(*counting, 1, 101, QStringLiteral("Брашно"));
    addGoods(*counting, 2, 102, QStringLiteral("Захар"));
    addDocument(*counting, 10, 12, 1, QDateTime::currentDateTime().addSecs(-60));
    addLine(*counting, 100, 10, 1, 1, 10, 10, 2.0);
    addLine(*counting, 101, 10, 2, 1, 4, 4, 1.0);

    StockCountDocument count(*counting);
    count.create(QDate::currentDate());
    count.setCounted(1, 8);
    count.setCounted(2, 4);
    count.save();
    addDocument(*selling, 11, 11, 1, QDateTime::currentDateTime());
    addLine(*selling, 110, 11, 1, -1, 3, 3, 3.0);

    EXPECT_EQ(count.movedGoods(), QStringList{QStringLiteral("000101 Брашно")});
    count.post();
    EXPECT_DOUBLE_EQ(data::stockOnHand(*selling, 1), 8.0);
    EXPECT_DOUBLE_EQ(data::stockOnHand(*selling, 2), 4.0);
}

} // namespace
