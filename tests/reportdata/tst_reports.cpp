#include "invoicing/InvoiceRows.h"
#include "reportdata/ReportSession.h"
#include "reportdata/Reports.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace testing_support;
using reportdata::ReportTable;

namespace {

const QDate kToday(2026, 12, 9);

QDateTime at(int month, int day, int hour = 10)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, 0));
}

// A small shop whose figures are worked out by hand below: flour (1) and
// sugar (2) followed in the stock report, bags (3) not; two suppliers, two
// buyers.
class Reports : public DatabaseTest
{
protected:
    Reports()
    {
        addGoods(*dm, 1, 101, QStringLiteral("Брашно"));
        addGoods(*dm, 2, 102, QStringLiteral("Захар"));
        addGoods(*dm, 3, 103, QStringLiteral("Торби"), 0, false);
        addCounterparty(*dm, 2, 2, QStringLiteral("Доставчик А"), 1);
        addCounterparty(*dm, 3, 3, QStringLiteral("Доставчик Б"), 1);
        addCounterparty(*dm, 4, 4, QStringLiteral("Купувач В"), 0);
        addCounterparty(*dm, 5, 5, QStringLiteral("Купувач Г"), 0);

        document(1, 12, 2, at(11, 2), 360, 360, QDate(2026, 11, 2));
        addLine(*dm, 1, 1, 1, 1, 100, 100, 2.0);
        addLine(*dm, 2, 1, 2, 1, 50, 50, 3.0);
        addLine(*dm, 3, 1, 3, 1, 10, 10, 1.0);
        // 40 at 2.50 less 10 %: 2.25 a kilogram.
        document(2, 12, 3, at(11, 20, 9), 90, 0, QDate(2026, 11, 30));
        addLine(*dm, 4, 2, 1, 1, 40, 40, 2.5, 0.1);
        // Sold dearer than bought, part of the sugar still to be handed over,
        // two bags returned.
        document(3, 11, 4, at(11, 25, 12), 160, 60, QDate(2026, 11, 28));
        addLine(*dm, 5, 3, 1, -1, 30, 30, 4.0);
        addLine(*dm, 6, 3, 2, -1, 10, 6, 5.0, 0.2);
        addLine(*dm, 7, 3, 3, 1, 2, 2);
        document(4, 12, 2, at(12, 5, 8), 60, 0, QDate(2026, 12, 20));
        addLine(*dm, 8, 4, 1, 1, 20, 20, 3.0);
        document(5, 11, 5, at(12, 1, 15), 20, 20, QDate(2026, 12, 1));
        addLine(*dm, 9, 5, 1, -1, 5, 5, 4.0);
        document(6, 13, -1, at(11, 26), 0, 0, QDate());
        addLine(*dm, 10, 6, 2, -1, 4, 4);
        // Sugar sold before any was delivered.
        document(7, 11, 4, at(10, 1), 5, 0, QDate(2026, 10, 1));
        addLine(*dm, 11, 7, 2, -1, 1, 1, 5.0);
        // A delivery without a due date.
        document(8, 12, 3, at(9, 1), 10, 0, QDate());
        // A line whose document was never stored moves no stock.
        addLine(*dm, 12, 99, 1, 1, 1000, 1000, 1.0);
        // The month's invoice, for the sales ledger.
        addInvoice(*dm, invoiceColumns(1, 1, QDate(2026, 11, 25)));
    }

    void document(int id, int type, int counterparty, const QDateTime &time, double sum, double paid, const QDate &due)
    {
        dm->ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_DOCNO, TRANZ_KONT_ID, TRANZ_TIME, "
                                   "TRANZ_PADEJ, TRANZ_SUM, TRANZ_PLATENO) values (:ID, :TYPE, :NO, :KONTR, :TIME, :DUE, "
                                   ":SUM, :PAID)"),
                    {{QStringLiteral("ID"), id},
                     {QStringLiteral("TYPE"), type},
                     {QStringLiteral("NO"), 500 + id},
                     {QStringLiteral("KONTR"), counterparty},
                     {QStringLiteral("TIME"), time},
                     {QStringLiteral("DUE"), due.isValid() ? QVariant(due) : QVariant()},
                     {QStringLiteral("SUM"), sum},
                     {QStringLiteral("PAID"), paid}});
        // What the shop's documents were paid, they were paid on the spot.
        datePayment(id, time);
    }

    // Brings a document's paid amount to `paid`, the payment made at `time`.
    void pay(int id, double paid, const QDateTime &time)
    {
        dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = :PAID where TRANZ_ID = :ID"),
                    {{QStringLiteral("ID"), id}, {QStringLiteral("PAID"), paid}});
        datePayment(id, time);
    }

    // The payment just recorded for the document is dated `time` instead
    // of the moment the test ran.
    void datePayment(int id, const QDateTime &time)
    {
        dm->ExecSQL(QStringLiteral("update TRANZ_PAYMENTS set PAID_AT = :AT where PAYMENT_ID = "
                                   "(select max(PAYMENT_ID) from TRANZ_PAYMENTS where TRANZ_ID = :ID)"),
                    {{QStringLiteral("ID"), id}, {QStringLiteral("AT"), time}});
    }

    std::vector<QVariantList> paymentRecords(int id)
    {
        return dm->QueryRows(
            QStringLiteral("select AMOUNT from TRANZ_PAYMENTS where TRANZ_ID = :ID order by PAYMENT_ID"),
            {{QStringLiteral("ID"), id}});
    }
};

void expectRow(const ReportTable &table, size_t row, const QVariantList &expected)
{
    ASSERT_LT(row, table.rows.size());
    const QVariantList &actual = table.rows[row];
    ASSERT_EQ(actual.size(), expected.size()) << "row " << row;
    for (int i = 0; i < expected.size(); ++i) {
        if (expected[i].isNull())
            EXPECT_TRUE(actual[i].isNull()) << "row " << row << " column " << i << ": " << actual[i].toString().toStdString();
        else if (expected[i].typeId() == QMetaType::Double)
            EXPECT_NEAR(actual[i].toDouble(), expected[i].toDouble(), 1e-9) << "row " << row << " column " << i;
        else
            EXPECT_EQ(actual[i].toString(), expected[i].toString()) << "row " << row << " column " << i;
    }
}

TEST_F(Reports, StockOnHandValuesFollowedGoodsAtTheirLastDeliveryPriceUpToTheDay)
{
    const ReportTable november = reportdata::stockOnHand(*dm, QDate(2026, 11, 30));
    EXPECT_EQ(november.columns.size(), 6u);
    // The bags are not followed; the sale at 4.00 is no delivery price.
    ASSERT_EQ(november.rows.size(), 2u);
    expectRow(november, 0, {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 110.0, 2.25, 247.5});
    expectRow(november, 1, {102, QStringLiteral("Захар"), QStringLiteral("кг"), 39.0, 3.0, 117.0});
    EXPECT_NEAR(november.totals.at(5).toDouble(), 364.5, 1e-9);

    // The delivery of 5 December counts from the end of that day on.
    expectRow(reportdata::stockOnHand(*dm, QDate(2026, 12, 4)), 0,
              {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 105.0, 2.25, 236.25});
    const ReportTable december = reportdata::stockOnHand(*dm, QDate(2026, 12, 5));
    expectRow(december, 0, {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 125.0, 3.0, 375.0});
    EXPECT_NEAR(december.totals.at(5).toDouble(), 492.0, 1e-9);
}

TEST_F(Reports, StockOnHandShowsAShortageAndGoodsNeverDelivered)
{
    const ReportTable october = reportdata::stockOnHand(*dm, QDate(2026, 10, 15));
    ASSERT_EQ(october.rows.size(), 2u);
    expectRow(october, 0, {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 0.0, QVariant(), 0.0});
    expectRow(october, 1, {102, QStringLiteral("Захар"), QStringLiteral("кг"), -1.0, QVariant(), 0.0});
}

TEST_F(Reports, StockCardRunsFromTheOpeningToTheClosingBalance)
{
    const ReportTable card = reportdata::stockCard(*dm, 1, QDate(2026, 11, 15), QDate(2026, 12, 1));
    EXPECT_TRUE(card.parameters.contains(QStringLiteral("000101 Брашно")));
    ASSERT_EQ(card.rows.size(), 4u);
    expectRow(card, 0, {QDate(2026, 11, 15), QStringLiteral("Начално салдо"), QVariant(), QVariant(), QVariant(), QVariant(), 100.0});
    expectRow(card, 1, {QDate(2026, 11, 20), QStringLiteral("Доставка"), 502, QStringLiteral("Доставчик Б"), 40.0, QVariant(), 140.0});
    expectRow(card, 2, {QDate(2026, 11, 25), QStringLiteral("Продажба"), 503, QStringLiteral("Купувач В"), QVariant(), 30.0, 110.0});
    // The last day of the period counts to its end.
    expectRow(card, 3, {QDate(2026, 12, 1), QStringLiteral("Продажба"), 505, QStringLiteral("Купувач Г"), QVariant(), 5.0, 105.0});
    ASSERT_EQ(card.totals.size(), 7);
    EXPECT_EQ(card.totals.at(1).toString(), QStringLiteral("Крайно салдо"));
    EXPECT_DOUBLE_EQ(card.totals.at(4).toDouble(), 40.0);
    EXPECT_DOUBLE_EQ(card.totals.at(5).toDouble(), 35.0);
    EXPECT_DOUBLE_EQ(card.totals.at(6).toDouble(), 105.0);
}

TEST_F(Reports, StockCardCountsWhatWasHandedOverAndAgreesWithTheStockOnHand)
{
    const ReportTable card = reportdata::stockCard(*dm, 2, QDate(2026, 11, 1), QDate(2026, 11, 30));
    ASSERT_EQ(card.rows.size(), 4u);
    expectRow(card, 0, {QDate(2026, 11, 1), QStringLiteral("Начално салдо"), QVariant(), QVariant(), QVariant(), QVariant(), -1.0});
    expectRow(card, 2, {QDate(2026, 11, 25), QStringLiteral("Продажба"), 503, QStringLiteral("Купувач В"), QVariant(), 6.0, 43.0});
    // Scrap has no counterparty.
    expectRow(card, 3, {QDate(2026, 11, 26), QStringLiteral("Брак"), 506, QVariant(), QVariant(), 4.0, 39.0});
    EXPECT_DOUBLE_EQ(card.totals.at(6).toDouble(),
                     reportdata::stockOnHand(*dm, QDate(2026, 11, 30)).rows.at(1).at(3).toDouble());
}

TEST_F(Reports, StockCardRefusesAMissingGoodsItemOrAReversedPeriod)
{
    EXPECT_THROW(reportdata::stockCard(*dm, 77, QDate(2026, 11, 1), QDate(2026, 11, 30)), varnex::Error);
    EXPECT_THROW(reportdata::stockCard(*dm, 1, QDate(2026, 11, 30), QDate(2026, 11, 1)), varnex::Error);
}

TEST_F(Reports, SalesByGoodsTakeTheGoodsLinesAfterDiscountsAndLeaveReturnedPackagingOut)
{
    const ReportTable november = reportdata::salesByGoods(*dm, QDate(2026, 11, 1), QDate(2026, 11, 30));
    ASSERT_EQ(november.rows.size(), 2u);
    expectRow(november, 0, {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 30.0, 120.0});
    expectRow(november, 1, {102, QStringLiteral("Захар"), QStringLiteral("кг"), 10.0, 40.0});
    EXPECT_DOUBLE_EQ(november.totals.at(4).toDouble(), 160.0);

    const ReportTable quarter = reportdata::salesByGoods(*dm, QDate(2026, 10, 1), QDate(2026, 12, 31));
    expectRow(quarter, 0, {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 35.0, 140.0});
    expectRow(quarter, 1, {102, QStringLiteral("Захар"), QStringLiteral("кг"), 11.0, 45.0});
}

TEST_F(Reports, SalesAndDeliveriesByCounterpartyCountDocumentsAndTheirTotals)
{
    const ReportTable sales = reportdata::salesByBuyer(*dm, QDate(2026, 10, 1), QDate(2026, 12, 31));
    ASSERT_EQ(sales.rows.size(), 2u);
    expectRow(sales, 0, {4, QStringLiteral("Купувач В"), 2, 165.0});
    expectRow(sales, 1, {5, QStringLiteral("Купувач Г"), 1, 20.0});
    EXPECT_EQ(sales.totals.at(2).toInt(), 3);
    EXPECT_DOUBLE_EQ(sales.totals.at(3).toDouble(), 185.0);
    // The sales by goods over the same period add up to the same money.
    EXPECT_DOUBLE_EQ(reportdata::salesByGoods(*dm, QDate(2026, 10, 1), QDate(2026, 12, 31)).totals.at(4).toDouble(), 185.0);

    const ReportTable november = reportdata::deliveriesBySupplier(*dm, QDate(2026, 11, 1), QDate(2026, 11, 30));
    ASSERT_EQ(november.rows.size(), 2u);
    expectRow(november, 0, {2, QStringLiteral("Доставчик А"), 1, 360.0});
    expectRow(november, 1, {3, QStringLiteral("Доставчик Б"), 1, 90.0});
    EXPECT_DOUBLE_EQ(november.totals.at(3).toDouble(), 450.0);
    expectRow(reportdata::deliveriesBySupplier(*dm, QDate(2026, 11, 1), QDate(2026, 12, 5)), 0,
              {2, QStringLiteral("Доставчик А"), 2, 420.0});
}

TEST_F(Reports, ReceivablesAgeTheOpenPartOfSalesDatedUpToTheDay)
{
    const ReportTable table = reportdata::receivables(*dm, QDate(2026, 11, 30), kToday);
    ASSERT_EQ(table.columns.size(), 9u);
    EXPECT_EQ(table.columns[4].title, QStringLiteral("Непадежирало"));
    EXPECT_EQ(table.columns[8].title, QStringLiteral("над 90 дни"));
    // 100 of the sale due on 28 November two days overdue, the 5 due on
    // 1 October 60 days; the sale of 1 December is later.
    ASSERT_EQ(table.rows.size(), 1u);
    expectRow(table, 0, {4, QStringLiteral("Купувач В"), 2, 105.0, 0.0, 100.0, 5.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(table.totals.at(3).toDouble(), 105.0);
}

TEST_F(Reports, PayablesTakeADocumentWithoutDueDateAsDueOnItsDate)
{
    const ReportTable november = reportdata::payables(*dm, QDate(2026, 11, 30), kToday);
    // Due on the day itself is not overdue; the delivery of 1 September
    // without a due date is 90 days old.
    ASSERT_EQ(november.rows.size(), 1u);
    expectRow(november, 0, {3, QStringLiteral("Доставчик Б"), 2, 100.0, 90.0, 0.0, 0.0, 10.0, 0.0});

    const ReportTable year = reportdata::payables(*dm, QDate(2026, 12, 31), QDate(2026, 12, 31));
    ASSERT_EQ(year.rows.size(), 2u);
    expectRow(year, 0, {2, QStringLiteral("Доставчик А"), 1, 60.0, 0.0, 60.0, 0.0, 0.0, 0.0});
    expectRow(year, 1, {3, QStringLiteral("Доставчик Б"), 2, 100.0, 0.0, 0.0, 90.0, 0.0, 10.0});
    EXPECT_DOUBLE_EQ(year.totals.at(3).toDouble(), 160.0);
}

TEST_F(Reports, ALookBackSaysThatPaymentsCountAsTheyAreRecordedNow)
{
    const ReportTable back = reportdata::receivables(*dm, QDate(2026, 12, 1), kToday);
    ASSERT_EQ(back.rows.size(), 1u);
    EXPECT_EQ(back.rows[0].at(1).toString(), QStringLiteral("Купувач В"));
    EXPECT_TRUE(back.parameters.contains(
        QStringLiteral("платеното е към края на деня, а плащанията без записана дата — към 09.12.2026")))
        << back.parameters.toStdString();
    EXPECT_FALSE(reportdata::receivables(*dm, kToday, kToday).parameters.contains(QStringLiteral("платеното")));
    // Paying more of a document lowers what it owes from the day of the
    // payment on, not before.
    pay(3, 150, at(12, 5));
    expectRow(reportdata::receivables(*dm, QDate(2026, 11, 30), kToday), 0,
              {4, QStringLiteral("Купувач В"), 2, 105.0, 0.0, 100.0, 5.0, 0.0, 0.0});
    expectRow(reportdata::receivables(*dm, QDate(2026, 12, 5), kToday), 0,
              {4, QStringLiteral("Купувач В"), 2, 15.0, 0.0, 10.0, 0.0, 5.0, 0.0});
}

TEST_F(Reports, ASaleSettledAfterTheDayIsOutstandingOnIt)
{
    document(9, 11, 5, at(11, 10), 80, 0, QDate(2026, 11, 20));
    pay(9, 80, at(12, 3));
    const ReportTable november = reportdata::receivables(*dm, QDate(2026, 11, 30), kToday);
    ASSERT_EQ(november.rows.size(), 2u);
    expectRow(november, 1, {5, QStringLiteral("Купувач Г"), 1, 80.0, 0.0, 80.0, 0.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(november.totals.at(3).toDouble(), 185.0);
    // Paid at ten in the morning: the end of that day sees it settled.
    ASSERT_EQ(reportdata::receivables(*dm, QDate(2026, 12, 3), kToday).rows.size(), 1u);
    const ReportTable today = reportdata::receivables(*dm, kToday, kToday);
    ASSERT_EQ(today.rows.size(), 1u);
    expectRow(today, 0, {4, QStringLiteral("Купувач В"), 2, 105.0, 0.0, 100.0, 0.0, 5.0, 0.0});
}

TEST_F(Reports, APaymentInPartsCountsEachPartFromItsDay)
{
    document(9, 12, 2, at(11, 10), 80, 0, QDate(2026, 11, 20));
    pay(9, 30, at(11, 25));
    pay(9, 80, at(12, 3));
    // Before the first part the whole delivery is owed, between them the rest.
    const ReportTable before = reportdata::payables(*dm, QDate(2026, 11, 24), kToday);
    ASSERT_EQ(before.rows.size(), 2u);
    expectRow(before, 0, {2, QStringLiteral("Доставчик А"), 1, 80.0, 0.0, 80.0, 0.0, 0.0, 0.0});
    expectRow(reportdata::payables(*dm, QDate(2026, 11, 30), kToday), 0,
              {2, QStringLiteral("Доставчик А"), 1, 50.0, 0.0, 50.0, 0.0, 0.0, 0.0});
    const ReportTable after = reportdata::payables(*dm, QDate(2026, 12, 3), kToday);
    ASSERT_EQ(after.rows.size(), 1u);
    EXPECT_EQ(after.rows[0].at(1).toString(), QStringLiteral("Доставчик Б"));
}

TEST_F(Reports, EveryChangeOfThePaidAmountIsRecordedWhateverWritesIt)
{
    document(9, 11, 5, at(11, 10), 80, 25, QDate(2026, 11, 20));
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = 40 where TRANZ_ID = 9"));
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_NOTE = 'x' where TRANZ_ID = 9"));
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = null where TRANZ_ID = 9"));
    std::vector<QVariantList> records = paymentRecords(9);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_DOUBLE_EQ(records[0].at(0).toDouble(), 25.0);
    EXPECT_DOUBLE_EQ(records[1].at(0).toDouble(), 15.0);
    EXPECT_DOUBLE_EQ(records[2].at(0).toDouble(), -40.0);
    // Nothing paid, nothing recorded; a document given another number keeps
    // its payments.
    document(10, 11, 5, at(11, 11), 10, 0, QDate());
    EXPECT_TRUE(paymentRecords(10).empty());
    dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_ID = 11 where TRANZ_ID = 9"));
    EXPECT_TRUE(paymentRecords(9).empty());
    EXPECT_EQ(paymentRecords(11).size(), 3u);
}

TEST_F(Reports, ADestroyedDocumentTakesItsPaymentsAlong)
{
    document(9, 11, 5, at(11, 10), 80, 0, QDate(2026, 11, 20));
    pay(9, 80, at(12, 3));
    dm->ExecSQL(QStringLiteral("delete from TRANZ where TRANZ_ID = 9"));
    EXPECT_TRUE(paymentRecords(9).empty());
    // A later document of the same key owes all of itself, not more.
    document(9, 11, 5, at(11, 12), 70, 0, QDate(2026, 11, 20));
    expectRow(reportdata::receivables(*dm, QDate(2026, 11, 30), kToday), 1,
              {5, QStringLiteral("Купувач Г"), 1, 70.0, 0.0, 70.0, 0.0, 0.0, 0.0});
}

TEST_F(Reports, EveryCatalogueEntryRunsWithItsParameters)
{
    reportdata::ReportParameters parameters;
    parameters.date = QDate(2026, 11, 30);
    parameters.from = QDate(2026, 11, 1);
    parameters.to = QDate(2026, 11, 30);
    parameters.goodsId = 1;
    parameters.month = QDate(2026, 11, 1);
    parameters.today = kToday;
    for (const reportdata::ReportEntry &entry : reportdata::reportCatalogue()) {
        const ReportTable table = reportdata::runReport(*dm, entry.kind, parameters);
        EXPECT_EQ(table.title, entry.name);
        EXPECT_FALSE(table.rows.empty()) << entry.name.toStdString();
        for (const QVariantList &row : table.rows)
            EXPECT_EQ(size_t(row.size()), table.columns.size());
        EXPECT_EQ(size_t(table.totals.size()), table.columns.size());
    }
    const std::vector<reportdata::GoodsChoice> goods = reportdata::goodsChoices(*dm);
    ASSERT_EQ(goods.size(), 3u);
    EXPECT_EQ(goods[2].name, QStringLiteral("Торби"));
}

TEST_F(Reports, TheParameterLineNamesTheCurrencyTheDatabaseKeeps)
{
    reportdata::ReportParameters parameters;
    parameters.date = QDate(2026, 11, 30);
    parameters.today = kToday;
    const auto stock = [&] { return reportdata::runReport(*dm, reportdata::ReportKind::StockOnHand, parameters); };
    // A new database is kept in euro; one not yet changed over, in leva,
    // even for documents dated after the euro day.
    EXPECT_EQ(stock().parameters, QStringLiteral("Към 30.11.2026, по последна доставна цена; суми в EUR"));
    dm->ExecSQL(QStringLiteral("delete from APP_CONFIG where KEY_ID = 402"));
    EXPECT_EQ(stock().parameters, QStringLiteral("Към 30.11.2026, по последна доставна цена; суми в лв."));
    EXPECT_TRUE(reportdata::csvBytes(stock()).contains(QStringLiteral("суми в лв.").toUtf8()));
}

TEST_F(Reports, TheStatementsTheBenchmarkTimesAreThoseTheReportsSend)
{
    reportdata::ReportParameters parameters;
    parameters.date = QDate(2026, 11, 30);
    parameters.from = QDate(2026, 10, 1);
    parameters.to = QDate(2026, 12, 31);
    parameters.goodsId = 2;
    parameters.month = QDate(2026, 11, 1);
    for (const reportdata::ReportEntry &entry : reportdata::reportCatalogue()) {
        const std::vector<reportdata::ReportStatement> statements = reportdata::reportStatements(entry.kind, parameters);
        ASSERT_FALSE(statements.empty());
        const size_t rows = dm->QueryRows(statements.back().sql, statements.back().params).size();
        // The stock card adds its opening balance to the lines.
        const size_t added = entry.kind == reportdata::ReportKind::StockCard ? 1 : 0;
        EXPECT_EQ(rows + added, reportdata::runReport(*dm, entry.kind, parameters).rows.size()) << entry.name.toStdString();
        EXPECT_GT(rows, 0u) << entry.name.toStdString();
    }
}

TEST_F(Reports, TheModulesOwnConnectionReachesTheDatabaseBesideTheProgramsAndSeesItsCommits)
{
    // The program keeps its connection open while the module opens another
    // in the same process.
    const reportdata::ConnectionData connection = reportdata::parseConnectionData(
        database.path(), QStringLiteral("User_Name=SYSDBA\r\nPassword=pendrolix\r\nlc_ctype=WIN1251"));
    EXPECT_EQ(connection.user, QStringLiteral("SYSDBA"));
    EXPECT_EQ(connection.password, QStringLiteral("pendrolix"));
    reportdata::ReportSession session;
    session.open(connection.database, connection.user, connection.password);
    ASSERT_TRUE(session.isOpen());
    expectRow(reportdata::stockOnHand(session, QDate(2026, 11, 30)), 0,
              {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 110.0, 2.25, 247.5});
    session.finish();
    addLine(*dm, 13, 2, 1, 1, 10, 10, 2.5, 0.1);
    expectRow(reportdata::stockOnHand(session, QDate(2026, 11, 30)), 0,
              {101, QStringLiteral("Брашно"), QStringLiteral("кг"), 120.0, 2.25, 270.0});
    session.finish();
    session.close();
    EXPECT_FALSE(session.isOpen());
    EXPECT_THROW(reportdata::stockOnHand(session, QDate(2026, 11, 30)), varnex::Error);
}

} // namespace
