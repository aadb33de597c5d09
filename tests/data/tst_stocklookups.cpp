#include "data/StockLookups.h"
#include "data/StockReport.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QDate kToday(2026, 12, 9);
const int kSale = 11;
const int kDelivery = 12;

QDateTime at(const QDate &date, int hour = 10)
{
    return QDateTime(date, QTime(hour, 0));
}

class StockLookups : public DatabaseTest
{
protected:
    StockLookups()
    {
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"), 2.5);
        addGoods(*dm, 2, 102, QStringLiteral("Захар"), 3.0);
        dm->ExecSQL(QStringLiteral("insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_IS_CLIENT) "
                                   "values (5, 5, 'Клиент', 0)"));
    }
    double onHand(int goods) { return data::stockOnHand(*dm, goods, kToday); }
};

TEST_F(StockLookups, OnlyQuantitiesHandedOverCountAndShortageShowsAsZero)
{
    addDocument(*dm, 1, kDelivery, 5, at(kToday.addDays(-2)));
    addLine(*dm, 1, 1, 1, 1, 10, 10);
    addLine(*dm, 2, 1, 2, 1, 8, 0); // on the document, not yet received
    addDocument(*dm, 2, kSale, 5, at(kToday.addDays(-1)));
    addLine(*dm, 3, 2, 1, -1, 12, 12);
    EXPECT_EQ(onHand(1), 0.0);
    EXPECT_EQ(onHand(2), 0.0);

    addLine(*dm, 4, 1, 1, 1, 5, 5);
    EXPECT_DOUBLE_EQ(onHand(1), 3.0);
}

// A workstation ended mid-sale leaves lines whose header was never stored.
TEST_F(StockLookups, LinesWithoutTheirDocumentMoveNoStock)
{
    addDocument(*dm, 1, kDelivery, 5, at(kToday.addDays(-2)));
    addLine(*dm, 1, 1, 1, 1, 80, 80);
    addLine(*dm, 2, 2, 1, -1, 5, 5);
    addDocument(*dm, 3, kSale, 5, at(kToday.addDays(-1)));
    EXPECT_DOUBLE_EQ(onHand(1), 80.0);
    const auto report = data::stockReport(*dm, true, kToday);
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.front().code, 101);
    EXPECT_DOUBLE_EQ(report.front().onHand, 80.0);
}

TEST_F(StockLookups, CutOffIsTheNewestDocumentDatedUpToToday)
{
    EXPECT_EQ(onHand(1), 0.0); // no documents at all
    addDocument(*dm, 1, kDelivery, 5, at(kToday.addDays(7))); // dated next week, entered first
    addLine(*dm, 1, 1, 1, 1, 3, 3);
    EXPECT_EQ(onHand(1), 0.0); // nothing dated today or earlier yet

    addDocument(*dm, 2, kDelivery, 5, at(kToday, 23));
    addLine(*dm, 2, 2, 1, 1, 5, 5);
    EXPECT_DOUBLE_EQ(onHand(1), 8.0); // next week's delivery lies below today's last document

    addDocument(*dm, 3, kDelivery, 5, at(kToday.addDays(7)));
    addLine(*dm, 3, 3, 1, 1, 100, 100);
    EXPECT_DOUBLE_EQ(onHand(1), 8.0); // entered after every document up to today
}

TEST_F(StockLookups, LastPriceAndDiscountComeFromTheNewestDocumentOnly)
{
    addDocument(*dm, 1, kSale, 5, at(kToday.addDays(-3)));
    addLine(*dm, 1, 1, 1, -1, 1, 1, 2.2, 0.05);
    addLine(*dm, 2, 1, 2, -1, 1, 1, 3.3, 0.1);
    EXPECT_DOUBLE_EQ(dm->LastPrice(1, 5), 2.2);
    EXPECT_DOUBLE_EQ(dm->LastDiscount(2, 5), 0.1);

    addDocument(*dm, 2, kSale, 5, at(kToday.addDays(-1)));
    addLine(*dm, 3, 2, 2, -1, 1, 1, 3.4, 0.02);
    EXPECT_DOUBLE_EQ(dm->LastPrice(1, 5), 2.5); // not on the newest document: the selling price
    EXPECT_DOUBLE_EQ(dm->LastDiscount(1, 5), 0.0);
    EXPECT_DOUBLE_EQ(dm->LastPrice(2, 5), 3.4);
    EXPECT_DOUBLE_EQ(dm->LastDiscount(2, 5), 0.02);

    EXPECT_DOUBLE_EQ(dm->LastPrice(0, 5), 0.0);     // no goods chosen yet
    EXPECT_DOUBLE_EQ(dm->LastPrice(1, 999), 2.5);   // a counterparty without documents
    EXPECT_DOUBLE_EQ(dm->SellPrice(12345), 0.0);
}

TEST_F(StockLookups, SettlingWritesExactNumbersWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    addDocument(*dm, 1, kDelivery, 5, at(kToday));
    addLine(*dm, 1, 1, 1, 1, 10, 4, 2.25);

    dm->UpdateTranz_Plateno(1, 12.5);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select TRANZ_PLATENO from TRANZ where TRANZ_ID = 1")).toDouble(), 12.5);

    // The line is matched by all its identifying values; its category is null.
    const data::ColumnValues line{{QStringLiteral("TRANZ_RED_ID"), 1},
                                  {QStringLiteral("TRANZ_RED_TRANZ_ID"), 1},
                                  {QStringLiteral("TRANZ_RED_NOM_ID"), 1},
                                  {QStringLiteral("TRANZ_RED_CAT_ID"), QVariant()},
                                  {QStringLiteral("TRANZ_RED_CENA"), 2.25},
                                  {QStringLiteral("TRANZ_RED_IZNESENO"), 4.0}};
    dm->UpdateTranz_Izneseno(line, 10.0);
    EXPECT_DOUBLE_EQ(onHand(1), 10.0);

    // Changed by someone else in the meantime: no longer matched.
    try {
        dm->UpdateTranz_Izneseno(line, 6.0);
        FAIL() << "a changed line was overwritten";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Записът не е намерен UpdateTranz_Izneseno"));
    }
    EXPECT_THROW(dm->UpdateTranz_Plateno(999, 1.0), varnex::Error);
    QLocale::setDefault(QLocale::c());
}

} // namespace
