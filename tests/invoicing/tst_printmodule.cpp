#include "invoicing/PrintFixture.h"
#include "support/QtPrinters.h"
#include "ui/TDictionary.h"
#include "util/Error.h"

#include <gtest/gtest.h>

using namespace invoicing;
using namespace testing_support;

namespace {

using PrintModule = PrintFixture;

TEST_F(PrintModule, TakesEveryBoardValueAndAddsTheCompanys)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10), {{QStringLiteral("SELL_DATE"), QDate(2026, 2, 8)}});
    putBoardValues(1);
    module.PrepareInvoice(1);
    EXPECT_EQ(ParamBoard().count(), 0); // each value serves one print

    const std::pair<const char *, const char *> expected[] = {
        {"INOMER", "0000000042"},
        {"IDATE", "10.02.2026"},
        {"IDATA", "08.02.2026"},
        {"IPLACE", "Пловдив"},
        {"IFIRMPERSON", "Тракия ООД"},
        {"NOTIFY", ""},
        {"SV", "20"},
        {"TOTAL", "25.50"},
        {"VAT", "5.10"},
        {"GROSS_TOTAL", "30.60"},
        {"CASH_SPELL", "тридесет евро и шестдесет цента"},
        {"IN_CASH", "1"},
        {"BACCOUNT", ""},
        {"IVCP", "0"},
        {"CI_COMPANY", "Родопа ЕООД"},
        {"CI_CITY", "Смолян"},
        {"CI_ADDRESS", "бул. България 12"},
        {"CI_TAXNO", "1234567890"},
        {"CI_BULSTAT", "120000999"},
        {"CI_SITE", "Склад Смолян"},
        {"CI_CLNAME", "Георги Георгиев"},
        {"IVDOCSIZE", "0"},
        {"IVNCP", "0"},
    };
    for (const auto &[name, value] : expected)
        EXPECT_EQ(module.Value(QString::fromLatin1(name)), QString::fromUtf8(value)) << name;
    EXPECT_EQ(module.Value(QStringLiteral("NO_SUCH_VALUE")), QStringLiteral("-not-set-"));
}

TEST_F(PrintModule, ValuesNotPutReadAsEmptyAndTheTaxEventFallsBackToTheDateOfIssue)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    PutParam(QStringLiteral("PRN_INVOICE:INVOICENO"), QStringLiteral("0000000042"));
    module.PrepareInvoice(1);
    EXPECT_EQ(module.Value(QStringLiteral("INOMER")), QStringLiteral("0000000042"));
    EXPECT_EQ(module.Value(QStringLiteral("ICRDPUB")), QString());
    EXPECT_EQ(module.Value(QStringLiteral("CASH_SPELL")), QString());
    EXPECT_EQ(module.Value(QStringLiteral("IVCP")), QStringLiteral("0"));
    EXPECT_EQ(module.Value(QStringLiteral("IDATA")), QStringLiteral("10.02.2026"));
}

TEST_F(PrintModule, PagesFollowTheOnlyCopyFlagTheFormAndTheCopies)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    struct Row
    {
        bool onlyCopy;
        const char *docSize;
        const char *copies;
        std::vector<int> pages;
    };
    const Row rows[] = {
        {true, "1", "1", {3}},       {true, "0", "0", {3}},          {false, "1", "0", {1}},
        {false, "1", "1", {1, 3}},   {false, "0", "0", {2, 3}},      {false, "0", "1", {2, 3, 4}},
        {false, "", "", {2, 3, 4}},
    };
    for (const Row &row : rows) {
        options(QString::fromLatin1(row.docSize), QString::fromLatin1(row.copies));
        putBoardValues(1, row.onlyCopy);
        module.PrepareInvoice(1);
        EXPECT_EQ(module.pages(), row.pages) << row.onlyCopy << row.docSize << row.copies;
    }
}

TEST_F(PrintModule, TheTableFillsTheFormLessOneRowPerLongLine)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    putBoardValues(1);
    module.PrepareInvoice(1);
    const std::vector<LineTableRow> whole = module.lineTable();
    ASSERT_EQ(whole.size(), 23u);
    EXPECT_EQ(whole[0].number, QStringLiteral("1"));
    EXPECT_EQ(whole[0].value, QStringLiteral("20"));
    EXPECT_TRUE(whole[1].longText);
    EXPECT_EQ(whole[1].value, QStringLiteral("5.5"));
    EXPECT_EQ(whole[2].quantity, QStringLiteral("0.5"));
    EXPECT_EQ(whole[2].value, QStringLiteral("0"));
    for (size_t i = 3; i < whole.size(); ++i)
        EXPECT_TRUE(whole[i].number.isEmpty() && whole[i].text.isEmpty() && whole[i].value.isEmpty()) << i;
    EXPECT_EQ(module.lineTable(true).size(), 7u);

    // Lines a half-page form cannot hold are refused before anything is shown.
    for (int i = 0; i < 5; ++i)
        addInvoiceLine(*dm, 100 + i, 1, 10 + i, QStringLiteral("Ред"), QStringLiteral("бр."), 1, 1);
    options(QStringLiteral("1"), QStringLiteral("0"));
    putBoardValues(1);
    try {
        module.PrepareInvoice(1);
        FAIL() << "nine print lines on a half-page form";
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("повече от предвидените за печат"))) << error.message().toStdString();
    }
}

TEST_F(PrintModule, CurrencyFollowsTheDateOfIssue)
{
    addThreeLineInvoice(1, QDate(2025, 12, 31));
    addThreeLineInvoice(2, QDate(2026, 1, 1));
    putBoardValues(1);
    module.PrepareInvoice(1);
    EXPECT_FALSE(module.currency().isEuro());
    EXPECT_EQ(module.Value(QStringLiteral("CASH_SPELL")), QStringLiteral("тридесет лева и 60 ст."));
    EXPECT_EQ(module.Value(QStringLiteral("CURRENCY")), QStringLiteral("лв."));
    putBoardValues(2);
    module.PrepareInvoice(2);
    EXPECT_TRUE(module.currency().isEuro());
    EXPECT_EQ(module.Value(QStringLiteral("CASH_SPELL")), QStringLiteral("тридесет евро и шестдесет цента"));
    EXPECT_EQ(module.Value(QStringLiteral("CURRENCY")), QStringLiteral("EUR"));
}

TEST_F(PrintModule, ANotificationAndABankPaymentCarryTheirDetails)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10),
                        {{QStringLiteral("NOTIFICATION"), 1},
                         {QStringLiteral("NOTIF_TYPE"), 1},
                         {QStringLiteral("INVOICE_NUMBER"), QStringLiteral("0000000007")},
                         {QStringLiteral("INVNOTIF_DATE"), QDate(2026, 1, 15)},
                         {QStringLiteral("WITH_BANKS"), 1},
                         {QStringLiteral("ACCOUNT"), QStringLiteral("BG80BNBG96611020345678")},
                         {QStringLiteral("BANK"), QStringLiteral("БНБ")},
                         {QStringLiteral("CODE"), QStringLiteral("BNBGBGSD")},
                         {QStringLiteral("SECOND_VAT"), QStringLiteral("9")},
                         {QStringLiteral("LA_NUMBER"), QStringLiteral("12")},
                         {QStringLiteral("LA_DATE"), QDate(2026, 2, 1)}});
    putBoardValues(1);
    module.PrepareInvoice(1);
    EXPECT_EQ(module.Value(QStringLiteral("NOTIFY")), QStringLiteral("ДЕБИТНО"));
    EXPECT_EQ(module.Value(QStringLiteral("INVNUM")), QStringLiteral("0000000007"));
    EXPECT_EQ(module.Value(QStringLiteral("INVNOTIFDATE")), QStringLiteral("15.01.2026"));
    EXPECT_EQ(module.Value(QStringLiteral("IN_CASH")), QStringLiteral("2"));
    EXPECT_EQ(module.Value(QStringLiteral("BACCOUNT")), QStringLiteral("BG80BNBG96611020345678"));
    EXPECT_EQ(module.Value(QStringLiteral("BCODE")), QStringLiteral("BNBGBGSD"));
    EXPECT_EQ(module.Value(QStringLiteral("SV")), QStringLiteral("9"));
    EXPECT_EQ(module.Value(QStringLiteral("VAT")), QStringLiteral("2.30")); // 25.50 × 9 %
    EXPECT_EQ(module.Value(QStringLiteral("LA_DATA")), QStringLiteral("12/01.02.2026"));
}

TEST(InvoiceBoardValues, TenDigitNumbersTheStatusTheZeroRateGroundAndTheTotalsComeFromTheRow)
{
    struct Row
    {
        QVariantHash columns;
        std::vector<InvoiceLine> lines;
        const char *board;
        const char *expected;
    };
    const QVariantHash issued{{QStringLiteral("IDATE"), QDate(2026, 3, 2)}};
    const std::vector<InvoiceLine> halfCent{{1, 1, QStringLiteral("Услуга"), QStringLiteral("бр."), 1, 10.125}};
    const Row rows[] = {
        {{{QStringLiteral("NUMBER"), qint64(9999999999)}}, {}, "INVOICENO", "9999999999"},
        {{{QStringLiteral("NUMBER"), qint64(3000000001)}}, {}, "INVOICENO", "3000000001"},
        {{{QStringLiteral("NOTIFICATION"), 1}, {QStringLiteral("INVOICE_NUMBER"), QStringLiteral("3000000001")}},
         {}, "INVOICENOTIFNUM", "3000000001"},
        {{{QStringLiteral("IS_WAITING"), 2}}, {}, "INVOICESTATUS", "2"},
        {{{QStringLiteral("IS_WAITING"), 1}}, {}, "INVOICESTATUS", "1"},
        {{}, {}, "INVOICESTATUS", "0"},
        {{{QStringLiteral("ZERO_VAT_GROUND"), QStringLiteral("чл. 53 ЗДДС")}}, {}, "INVOICE_ZEROGROUND", "чл. 53 ЗДДС"},
        {{}, {}, "INVOICE_ZEROGROUND", ""}, // a database without the column
        {issued, halfCent, "INVOICESUM", "10.13"},
        {issued, halfCent, "INVOICEVAT", "2.03"},
        {issued, halfCent, "INVOICEGRTOT", "12.16"},
        {issued, halfCent, "INVOICESPCASH", "дванадесет евро и шестнадесет цента"},
    };
    for (const Row &row : rows) {
        const QString board = QStringLiteral("PRN_INVOICE:") + QString::fromLatin1(row.board);
        QString value = QStringLiteral("(not put)");
        for (const auto &[name, put] : invoiceBoardValues(row.columns, row.lines, QStringLiteral("20"), false)) {
            if (name == board)
                value = put.toString();
        }
        EXPECT_EQ(value, QString::fromUtf8(row.expected)) << row.board;
    }
}

TEST_F(PrintModule, AReceiptPrintsTheQuantityHandedOverAndKeepsOnlyItsOwnRows)
{
    dm->ExecSQL(QStringLiteral("insert into BELEJKA_DETAILS (DETAIL_ID, DOC_ID, DETAIL_GOOD) values (900, 4, 'стар ред')"));
    putReceipt(QStringLiteral("PRODAJBA"));
    module.PrepareReceipt(5);
    EXPECT_EQ(ParamBoard().count(), 0);
    const std::vector<ReceiptRow> &rows = module.receiptRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].goods, QStringLiteral("Брашно"));
    EXPECT_DOUBLE_EQ(rows[0].quantity, 2.5);
    EXPECT_DOUBLE_EQ(rows[0].value(), 3.0);
    EXPECT_DOUBLE_EQ(rows[1].quantity, 2.4);
    EXPECT_DOUBLE_EQ(rows[1].price, 3.5);
    // The scratch table holds whole numbers: 2.5 is kept as 3, 2.4 as 2.
    EXPECT_EQ(dm->QueryRows(QStringLiteral("select DETAIL_QTY, DETAIL_GOOD from BELEJKA_DETAILS where DOC_ID = 5 "
                                           "order by DETAIL_ID")),
              (std::vector<QVariantList>{{3, QStringLiteral("Брашно")}, {2, QStringLiteral("Олио")}}));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from BELEJKA_DETAILS")).toInt(), 2);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from BELEJKA_DETAILS where DETAIL_ID = 900")).toInt(), 0);

    // A sale: the company hands the goods over.
    EXPECT_EQ(module.Value(QStringLiteral("SEND_COMPANY")), QStringLiteral("Родопа ЕООД"));
    EXPECT_EQ(module.Value(QStringLiteral("SEND_TAXNO")), QStringLiteral("1234567890"));
    EXPECT_EQ(module.Value(QStringLiteral("RECV_COMPANY")), QStringLiteral("Тракия ООД"));
    EXPECT_EQ(module.Value(QStringLiteral("RECV_MOL")), QStringLiteral("Иван Петров"));
    EXPECT_EQ(module.Value(QStringLiteral("SITE")), QStringLiteral("Склад Смолян"));
    EXPECT_EQ(module.Value(QStringLiteral("SUM_TOTAL")), QStringLiteral("11.40"));
    EXPECT_EQ(module.Value(QStringLiteral("DOC_NUM")), QStringLiteral("17"));

    putReceipt(QStringLiteral("DOSTAVKA"));
    module.PrepareReceipt(6);
    EXPECT_EQ(module.Value(QStringLiteral("SEND_COMPANY")), QStringLiteral("Тракия ООД"));
    EXPECT_EQ(module.Value(QStringLiteral("RECV_ADDRESS")), QStringLiteral("Смолян, бул. България 12"));
    EXPECT_EQ(module.Value(QStringLiteral("RECV_BULSTAT")), QStringLiteral("120000999"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from BELEJKA_DETAILS")).toInt(), 2);
}

TEST_F(PrintModule, AReceiptOfAnotherKindHasNoRowsAndNoValues)
{
    putReceipt(QStringLiteral("INVOICE"));
    module.PrepareReceipt(5);
    EXPECT_TRUE(module.receiptRows().empty());
    EXPECT_EQ(module.Value(QStringLiteral("SEND_COMPANY")), QStringLiteral("-not-set-"));
    EXPECT_EQ(module.Value(QStringLiteral("DOC_NUM")), QStringLiteral("-not-set-"));
    // Nothing of it is left for the next print.
    EXPECT_EQ(ParamBoard().count(), 0);
}

TEST_F(PrintModule, AnInvoiceThenAReceiptEachShowOnlyTheirOwnValues)
{
    addThreeLineInvoice(1, QDate(2026, 2, 10));
    putBoardValues(1);
    module.PrepareInvoice(1);
    EXPECT_EQ(module.document(), TdmInvoice::Document::Invoice);
    EXPECT_EQ(module.Value(QStringLiteral("SEND_COMPANY")), QStringLiteral("-not-set-"));

    putReceipt(QStringLiteral("DOSTAVKA"));
    module.PrepareReceipt(5);
    EXPECT_EQ(module.document(), TdmInvoice::Document::Receipt);
    EXPECT_EQ(module.Value(QStringLiteral("INOMER")), QStringLiteral("-not-set-"));
    EXPECT_EQ(module.Value(QStringLiteral("CI_COMPANY")), QStringLiteral("-not-set-"));
    EXPECT_TRUE(module.pages().empty());

    putBoardValues(1);
    module.PrepareInvoice(1);
    EXPECT_EQ(module.Value(QStringLiteral("DOC_NUM")), QStringLiteral("-not-set-"));
    EXPECT_TRUE(module.receiptRows().empty());
}

} // namespace
