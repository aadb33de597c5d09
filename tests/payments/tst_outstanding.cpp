#include "payments/Outstanding.h"
#include "payments/PaymentData.h"
#include "support/DatabaseTest.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace payments;
using namespace testing_support;

namespace {

const QDate kToday(2026, 12, 9);

QDateTime at(const QDate &date, int hour = 10)
{
    return QDateTime(date, QTime(hour, 0));
}

class OutstandingLists : public DatabaseTest
{
protected:
    OutstandingLists()
    {
        addCounterparty(*dm, 5, QStringLiteral("Бета"));
        addCounterparty(*dm, 6, QStringLiteral("Алфа"));
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
    }
    std::vector<QVariantList> money(int type, const QDate &toDate = allDueDates())
    {
        return dm->QueryRows(moneyListSql(), listParams(type, toDate));
    }
    std::vector<QVariantList> goods(int type) { return dm->QueryRows(goodsListSql(type), listParams(type, allDueDates())); }
};

TEST_F(OutstandingLists, AnOpenPartWithinTheToleranceIsNotListedAndACentIs)
{
    addOwedDocument(*dm, 1, kDeliveryType, 5, at(kToday), 100, 99.99995, kToday);
    EXPECT_TRUE(money(kDeliveryType).empty());
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = 99.99 where TRANZ_ID = 1"));
    const auto rows = money(kDeliveryType);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NEAR(rows[0].at(4).toDouble(), 0.01, 1e-9);
}

TEST_F(OutstandingLists, OnlyOpenDocumentsOfTheTypeDueByTheLimitCountPerCounterpartyByName)
{
    addOwedDocument(*dm, 1, kDeliveryType, 5, at(kToday.addDays(-3)), 80, 80, kToday);
    addOwedDocument(*dm, 2, kDeliveryType, 5, at(kToday.addDays(-2)), 60, 30, kToday);
    addOwedDocument(*dm, 3, kDeliveryType, 6, at(kToday.addDays(-1)), 10, 0, kToday.addDays(-1));
    addOwedDocument(*dm, 4, kSaleType, 5, at(kToday), 99, 0, kToday);
    const auto rows = money(kDeliveryType);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at(0).toString(), QStringLiteral("Алфа"));
    EXPECT_EQ(rows[1].at(1).toInt(), 5);
    EXPECT_DOUBLE_EQ(rows[1].at(2).toDouble(), 60);
    EXPECT_DOUBLE_EQ(rows[1].at(3).toDouble(), 30);
    EXPECT_DOUBLE_EQ(rows[1].at(4).toDouble(), 30);

    const auto dueByYesterday = money(kDeliveryType, kToday.addDays(-1));
    ASSERT_EQ(dueByYesterday.size(), 1u);
    EXPECT_EQ(dueByYesterday[0].at(1).toInt(), 6);
}

TEST_F(OutstandingLists, GoodsPagesHoldTheGoodsLinesOfTheirDocuments)
{
    addOwedDocument(*dm, 1, kSaleType, 5, at(kToday), 0, 0, kToday);
    addLine(*dm, 10, 1, 1, -1, 10, 6);
    addLine(*dm, 11, 1, 1, 1, 2, 0); // packaging returned on the sale
    addOwedDocument(*dm, 2, kDeliveryType, 6, at(kToday), 0, 0, kToday);
    addLine(*dm, 12, 2, 1, 1, 5, 5); // all received
    const auto sales = goods(kSaleType);
    ASSERT_EQ(sales.size(), 1u);
    EXPECT_EQ(sales[0].at(1).toString(), QStringLiteral("Брашно"));
    EXPECT_DOUBLE_EQ(sales[0].at(5).toDouble(), 10);
    EXPECT_DOUBLE_EQ(sales[0].at(6).toDouble(), 6);
    EXPECT_DOUBLE_EQ(sales[0].at(7).toDouble(), 4);
    EXPECT_TRUE(goods(kDeliveryType).empty());
}

TEST(Ageing, BucketsByDaysPastTheDueDate)
{
    const QDate asOf(2026, 3, 31);
    EXPECT_EQ(ageingBucket(QDate(2026, 4, 15), asOf), NotDue);
    EXPECT_EQ(ageingBucket(asOf, asOf), NotDue);
    EXPECT_EQ(ageingBucket(QDate(2026, 3, 30), asOf), Overdue1To30);
    EXPECT_EQ(ageingBucket(QDate(2026, 3, 1), asOf), Overdue1To30);
    EXPECT_EQ(ageingBucket(QDate(2026, 2, 28), asOf), Overdue31To60);
    EXPECT_EQ(ageingBucket(QDate(2026, 1, 30), asOf), Overdue31To60);
    EXPECT_EQ(ageingBucket(QDate(2026, 1, 29), asOf), Overdue61To90);
    EXPECT_EQ(ageingBucket(QDate(2025, 12, 31), asOf), Overdue61To90);
    EXPECT_EQ(ageingBucket(QDate(2025, 12, 30), asOf), OverdueOver90);
}

TEST_F(OutstandingLists, TheAgeingStatementSplitsTheOpenPartsAsTheBucketsDo)
{
    const QDate asOf(2026, 3, 31);
    const QDate dues[] = {QDate(2026, 4, 15), QDate(2026, 3, 1), QDate(2026, 2, 28), QDate(2025, 12, 31),
                          QDate(2025, 12, 30), QDate(2026, 3, 31)};
    double expected[AgeingBucketCount] = {};
    for (int i = 0; i < 6; ++i) {
        const double open = 10.0 * (i + 1);
        addOwedDocument(*dm, i + 1, kSaleType, 5, at(dues[i].addDays(-10)), open + 1, 1, dues[i]);
        expected[ageingBucket(dues[i], asOf)] += open;
    }
    addOwedDocument(*dm, 20, kSaleType, 5, at(asOf), 7, 7, QDate(2025, 1, 1)); // paid
    const auto rows = dm->QueryRows(ageingSql(), ageingParams(kSaleType, allDueDates(), asOf));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at(0).toInt(), 5);
    for (int bucket = 0; bucket < AgeingBucketCount; ++bucket)
        EXPECT_NEAR(rows[0].at(bucket + 1).toDouble(), expected[bucket], 1e-9) << ageingCaption(AgeingBucket(bucket)).toStdString();
    EXPECT_DOUBLE_EQ(expected[NotDue], 10 + 60);
}

} // namespace
