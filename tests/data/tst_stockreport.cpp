#include "data/StockLookups.h"
#include "data/StockReport.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kToday(2026, 12, 9);

// A small random stock: deliveries and sales over a month around today,
// lines partly handed over, goods without lines, goods outside the report,
// documents dated after today entered before and after today's last one,
// and lines of the fixed goods item −1.
class StockReport : public DatabaseTest
{
protected:
    StockReport()
    {
        QRandomGenerator random(20261209);
        for (int goods = 1; goods <= 40; ++goods)
            addGoods(*dm, goods, 1000 - goods * 7 % 41, QStringLiteral("Стока %1").arg(goods), 0, goods % 5 != 0);
        int line = 0;
        for (int document = 1; document <= 40; ++document) {
            const bool delivery = random.bounded(3) != 0;
            // The last eight are entered after today's documents but dated later.
            const QDate day = document > 32 ? kToday.addDays(1 + random.bounded(5)) : kToday.addDays(int(random.bounded(30)) - 25);
            addDocument(*dm, document, delivery ? 12 : 11, -1, QDateTime(day, QTime(int(random.bounded(24)), 0)));
            for (int i = 0; i < 3; ++i) {
                const int goods = random.bounded(10) == 0 ? -1 : 1 + int(random.bounded(30)); // 31..40 have no lines
                const double quantity = 1 + random.bounded(20);
                const double taken = random.bounded(4) == 0 ? 0 : quantity;
                addLine(*dm, ++line, document, goods, delivery ? 1 : -1, quantity, taken);
            }
        }
    }
};

TEST_F(StockReport, GivesTheFiguresOfTheStockLookUpForEveryReportedGoodsItem)
{
    for (const bool all : {true, false}) {
        const std::vector<data::StockReportLine> lines = data::stockReport(*dm, all, kToday);
        const std::vector<QVariantList> goods = dm->QueryRows(
            QStringLiteral("select NOM_ID, NOM_CODE from NOM where NOM_ID > 0 and (NOM_INREPORT = 1 or :ALL = 1) "
                           "order by NOM_CODE, NOM_ID"),
            {{QStringLiteral("ALL"), all ? 1 : 0}});
        ASSERT_EQ(lines.size(), goods.size());
        EXPECT_EQ(lines.size(), all ? 40u : 32u);
        int negative = 0;
        int positive = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            const int id = goods[i].at(0).toInt();
            EXPECT_EQ(lines[i].code, goods[i].at(1).toInt());
            EXPECT_EQ(lines[i].name, QStringLiteral("Стока %1").arg(id));
            EXPECT_DOUBLE_EQ(lines[i].onHand, data::stockOnHand(*dm, id, kToday)) << "goods " << id;
            const double raw = dm->QueryValue(QStringLiteral("select sum(TRANZ_RED_IZNESENO * TRANZ_RED_TYPE_ID) from "
                                                             "TRANZ_RED where TRANZ_RED_NOM_ID = :N"),
                                              QString(), {{QStringLiteral("N"), id}})
                                   .toDouble();
            negative += raw < 0 ? 1 : 0;
            positive += lines[i].onHand > 0 ? 1 : 0;
        }
        EXPECT_GT(negative, 0); // shortages show as 0
        EXPECT_GT(positive, 0);
    }
}

TEST_F(StockReport, WithoutADocumentUpToTodayEveryGoodsItemHasNothing)
{
    for (const data::StockReportLine &line : data::stockReport(*dm, true, kToday.addYears(-1)))
        EXPECT_EQ(line.onHand, 0.0) << line.code;
}

} // namespace
