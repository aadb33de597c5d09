#include "invoicing/InvoiceRows.h"
#include "reportdata/Reports.h"
#include "support/AdminTool.h"
#include "support/FreshDatabase.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// November's invoices and notifications, worked out by hand: base to the
// cent, VAT on that base, total the two added.
void addMonth(Tdm &dm)
{
    dm.SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20"));
    const struct
    {
        int day;
        const char *rate;   // none: the default rate
        int notification;   // -1 invoice, 0 credit, 1 debit
        int status;         // IS_WAITING
        const char *vatNumber;
        double quantity, price;
    } documents[] = {
        {3, "20", -1, 0, "115000111", 1, 10.125},   // the base on half a cent
        {5, "9", -1, 0, "BG200300400", 2, 12.50},
        {10, "0", -1, 0, "", 3, 7.00},
        {12, nullptr, 0, 0, "115000111", 1, 5.00},  // credit at the default rate
        {15, "9", 1, 0, "", 1, 3.333},
        {20, "20", -1, 2, "115000111", 4, 100.00},  // cancelled
        {28, "20", -1, 1, "115000111", 1, 50.00},   // waiting: not issued yet
        {31, "20", -1, 0, "115000111", 1, 70.00},   // 1 December
    };
    int id = 0;
    for (const auto &d : documents) {
        ++id;
        QVariantHash row = invoiceColumns(id, 2000000100 + id, QDate(2026, 11, 1).addDays(d.day - 1));
        row.insert(QStringLiteral("SECOND_VAT"), d.rate ? QVariant(QString::fromLatin1(d.rate)) : QVariant());
        row.insert(QStringLiteral("IS_WAITING"), d.status);
        row.insert(QStringLiteral("BULSTAT"), QString::fromLatin1(d.vatNumber));
        if (d.notification >= 0) {
            row.insert(QStringLiteral("NOTIFICATION"), 1);
            row.insert(QStringLiteral("NOTIF_TYPE"), d.notification);
        }
        addInvoice(dm, row);
        addInvoiceLine(dm, id, id, 1, QStringLiteral("Услуга"), QStringLiteral("бр."), d.quantity, d.price);
    }
}

const QByteArray kNovember = QStringLiteral(
    "\uFEFFДневник на продажбите\r\n"
    "\"Месец: 11.2026; суми в EUR\"\r\n"
    "\r\n"
    "Дата;Номер;Вид;Получател;ИН по ЗДДС;Основа 20 %;Основа 9 %;Основа 0 %;ДДС;Общо;Статус\r\n"
    "03.11.2026;2000000101;Фактура;Тракия ООД;BG115000111;10,13;;;2,03;12,16;\r\n"
    "05.11.2026;2000000102;Фактура;Тракия ООД;BG200300400;;25,00;;2,25;27,25;\r\n"
    "10.11.2026;2000000103;Фактура;Тракия ООД;;;;21,00;0,00;21,00;\r\n"
    "12.11.2026;2000000104;Кредитно известие;Тракия ООД;BG115000111;-5,00;;;-1,00;-6,00;\r\n"
    "15.11.2026;2000000105;Дебитно известие;Тракия ООД;;;3,33;;0,30;3,63;\r\n"
    "20.11.2026;2000000106;Фактура;Тракия ООД;BG115000111;0,00;;;0,00;0,00;Анулирана\r\n"
    ";;;Общо;;5,13;28,33;21,00;3,58;58,04;\r\n").toUtf8();

class SalesLedger : public ::testing::Test
{
protected:
    SalesLedger() { addMonth(*database.connect()); }

    FreshDatabase database;
    TempDir dir;
};

TEST_F(SalesLedger, ListsTheMonthsDocumentsAsPrintedWithNotificationsSignedAndCancelledOnesAtZero)
{
    reportdata::ReportParameters november;
    november.month = QDate(2026, 11, 17);
    const reportdata::ReportTable table =
        reportdata::runReport(*database.connect(), reportdata::ReportKind::SalesLedger, november);
    EXPECT_EQ(QString::fromUtf8(reportdata::csvBytes(table)).toStdString(), QString::fromUtf8(kNovember).toStdString());
}

TEST_F(SalesLedger, TheAdminToolWritesTheSameFileAndRefusesABadMonth)
{
    const QString file = dir.path(QStringLiteral("ledger.csv"));
    const ToolResult written = runAdminTool(
        {QStringLiteral("sales-ledger"), database.path(), QStringLiteral("--month"), QStringLiteral("2026-11"),
         QStringLiteral("--csv"), file});
    ASSERT_EQ(written.code, 0) << written.err.toStdString();
    EXPECT_EQ(dir.readFile(QStringLiteral("ledger.csv")), kNovember);

    for (const char *month : {"2026-13", "2026-1", "11.2026", ""}) {
        const ToolResult refused = runAdminTool({QStringLiteral("sales-ledger"), database.path(), QStringLiteral("--month"),
                                                 QString::fromLatin1(month), QStringLiteral("--csv"), file});
        EXPECT_EQ(refused.code, 2) << month;
        EXPECT_TRUE(refused.err.startsWith(QStringLiteral("Месецът трябва да е във вида ГГГГ-ММ")) || !*month)
            << refused.err.toStdString();
    }
}

} // namespace
