#include "invoicing/AmountInWords.h"
#include "invoicing/DocumentCurrency.h"
#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceRows.h"
#include "support/DatabaseTest.h"

#include <gtest/gtest.h>

using namespace invoicing;
using namespace testing_support;

namespace {

class InvoiceData : public DatabaseTest
{
};

TEST_F(InvoiceData, NumbersFollowTheHighestOfInvoicesAndNotifications)
{
    EXPECT_EQ(proposeInvoiceNumber(*dm), 1);
    EXPECT_EQ(invoiceNumberText(proposeInvoiceNumber(*dm)), QStringLiteral("0000000001"));
    for (int number = 1; number <= 41; ++number)
        addInvoice(*dm, invoiceColumns(number, number, QDate(2026, 3, 1)));
    EXPECT_EQ(proposeInvoiceNumber(*dm), 42);

    QVariantHash credit = invoiceColumns(42, proposeInvoiceNumber(*dm), QDate(2026, 3, 2));
    credit.insert(QStringLiteral("NOTIFICATION"), 1);
    credit.insert(QStringLiteral("NOTIF_TYPE"), 0);
    credit.insert(QStringLiteral("INVOICE_NUMBER"), invoiceNumberText(7));
    addInvoice(*dm, credit);
    EXPECT_EQ(proposeInvoiceNumber(*dm), 43);

    // A range given to the company runs past what a 32-bit number holds.
    dm->ExecSQL(QStringLiteral("update INVOICES set NUMBER = 3999999998 where ID = 42"));
    EXPECT_EQ(proposeInvoiceNumber(*dm), 3999999999LL);
}

TEST_F(InvoiceData, ANumberOfZeroOrBelowStartsTheSequenceAgain)
{
    addInvoice(*dm, invoiceColumns(1, 0, QDate(2026, 3, 1)));
    addInvoice(*dm, invoiceColumns(2, -5, QDate(2026, 3, 1)));
    EXPECT_EQ(proposeInvoiceNumber(*dm), 1);
    EXPECT_EQ(padInvoiceNumber(QString()), QStringLiteral("0000000000"));
    EXPECT_EQ(padInvoiceNumber(QStringLiteral(" 42 ")), QStringLiteral("0000000042"));
}

TEST(InvoiceTotals, UseTheDocumentsRateOrTheDefault)
{
    const std::vector<InvoiceLine> lines{{1, 1, QStringLiteral("Услуга"), QStringLiteral("бр."), 2, 10.00},
                                         {2, 2, QStringLiteral("Стока"), QStringLiteral("кг"), 1, 5.50}};
    const InvoiceTotals totals = invoiceTotals(lines, documentRate(QStringLiteral("20"), QStringLiteral("9")));
    EXPECT_EQ(moneyText(totals.sum), QStringLiteral("25.50"));
    EXPECT_EQ(moneyText(totals.vat), QStringLiteral("5.10"));
    EXPECT_EQ(moneyText(totals.grandTotal), QStringLiteral("30.60"));

    EXPECT_DOUBLE_EQ(documentRate(QString(), QStringLiteral("9")), 0.09);
    EXPECT_DOUBLE_EQ(documentRate(QStringLiteral("аб"), QStringLiteral("20")), 0.2);
    EXPECT_DOUBLE_EQ(documentRate(QStringLiteral("0"), QStringLiteral("20")), 0.0);
    EXPECT_DOUBLE_EQ(documentRate(QString(), QString()), 0.0);
    EXPECT_EQ(documentRateText(QString(), QStringLiteral("20")), QStringLiteral("20"));
    EXPECT_EQ(documentRateText(QStringLiteral("9"), QStringLiteral("20")), QStringLiteral("9"));
}

TEST(InvoiceTotals, BaseAndVatAreRoundedBeforeTheyAreAdded)
{
    // Base, VAT and total as printed: the total is always the sum of the other two.
    const struct
    {
        double quantity, price, rate, base, vat, total;
    } cases[] = {
        {1, 10.125, 0.2, 10.13, 2.03, 12.16},  // the base on half a cent
        {1, 2.025, 0.2, 2.03, 0.41, 2.44},     // the VAT on half a cent: 2.03 × 0.2 = 0.406
        {3, 0.3333, 0.2, 1.00, 0.20, 1.20},
        {1, 0.125, 0.09, 0.13, 0.01, 0.14},
        {7, 1.005, 0, 7.04, 0, 7.04},
    };
    for (const auto &c : cases) {
        const InvoiceTotals t = invoiceTotals({{1, 1, QStringLiteral("x"), QStringLiteral("бр."), c.quantity, c.price}}, c.rate);
        EXPECT_EQ(moneyText(t.sum), moneyText(c.base)) << c.price;
        EXPECT_EQ(moneyText(t.vat), moneyText(c.vat)) << c.price;
        EXPECT_EQ(moneyText(t.grandTotal), moneyText(c.total)) << c.price;
        EXPECT_EQ(roundToCents(t.grandTotal), roundToCents(t.sum + t.vat));
    }
}

TEST(InvoiceRules, ANotificationKeepsItsReferenceAndAnInvoiceHasNone)
{
    QVariantHash row{{QStringLiteral("NOTIFICATION"), 1},
                     {QStringLiteral("NOTIF_TYPE"), 1},
                     {QStringLiteral("INVOICE_NUMBER"), QStringLiteral("42")},
                     {QStringLiteral("INVNOTIF_DATE"), QDate(2026, 5, 4)}};
    applyNotificationRule(row);
    EXPECT_EQ(row.value(QStringLiteral("INVOICE_NUMBER")).toString(), QStringLiteral("0000000042"));
    EXPECT_EQ(row.value(QStringLiteral("NOTIF_TYPE")).toInt(), 1);

    row.insert(QStringLiteral("NOTIFICATION"), 0);
    applyNotificationRule(row);
    EXPECT_TRUE(row.value(QStringLiteral("NOTIF_TYPE")).isNull());
    EXPECT_TRUE(row.value(QStringLiteral("INVOICE_NUMBER")).isNull());
    EXPECT_TRUE(row.value(QStringLiteral("INVNOTIF_DATE")).isNull());

    QVariantHash zero{{QStringLiteral("NOTIFICATION"), 1}, {QStringLiteral("INVOICE_NUMBER"), QStringLiteral("0")}};
    applyNotificationRule(zero);
    EXPECT_EQ(zero.value(QStringLiteral("INVOICE_NUMBER")).toString(), QStringLiteral("0"));
}

TEST_F(InvoiceData, BankPaymentTakesOneOfTheCompanysOrdinaryAccounts)
{
    const auto account = [this](int id, int client, int vat, const char *iban) {
        dm->ExecSQL(QStringLiteral("insert into BANK_ACCOUNTS (ID, CLIENT_ID, BANK_NAME, BANK_CODE, ACCOUNT_CODE, IS_VAT_ACCOUNT) "
                                   "values (:ID, :CLIENT, :BANK, :BIC, :IBAN, :VAT)"),
                    {{QStringLiteral("ID"), id},
                     {QStringLiteral("CLIENT"), client},
                     {QStringLiteral("BANK"), QStringLiteral("Банка %1").arg(id)},
                     {QStringLiteral("BIC"), QStringLiteral("BIC%1").arg(id)},
                     {QStringLiteral("IBAN"), QString::fromLatin1(iban)},
                     {QStringLiteral("VAT"), vat}});
    };
    account(7, 1, 0, "BG80BNBG96611020345678");
    account(3, 1, 0, "BG18RZBB91550123456789");
    account(4, 1, 1, "BG27UNCR70001512345678"); // the VAT account is not offered
    account(5, 12, 0, "BG11FINV91501012345678"); // nor a client's
    const std::vector<OwnAccount> accounts = ownAccounts(*dm);
    ASSERT_EQ(accounts.size(), 2u);
    EXPECT_EQ(accounts[0].id, 3);
    EXPECT_EQ(accounts[1].iban, QStringLiteral("BG80BNBG96611020345678"));

    QVariantHash row;
    applyPayment(row, accounts[0]);
    EXPECT_EQ(row.value(QStringLiteral("WITH_BANKS")).toInt(), 1);
    EXPECT_EQ(row.value(QStringLiteral("ACCOUNT")).toString(), QStringLiteral("BG18RZBB91550123456789"));
    EXPECT_EQ(row.value(QStringLiteral("BANK")).toString(), QStringLiteral("Банка 3"));
    EXPECT_EQ(row.value(QStringLiteral("CODE")).toString(), QStringLiteral("BIC3"));
    applyPayment(row, std::nullopt);
    EXPECT_EQ(row.value(QStringLiteral("WITH_BANKS")).toInt(), 0);
    for (const char *column : {"ACCOUNT", "BANK", "CODE"})
        EXPECT_TRUE(row.value(QString::fromLatin1(column)).isNull()) << column;
}

TEST_F(InvoiceData, AChangedLineIsPostedAnewAndComesLast)
{
    int sequence = 1;
    const auto post = [&](QVariantHash line) {
        prepareLineForPost(line, 5, dm->NewCounterValue(data::CounterInvoiceDetails), sequence++);
        addInvoiceLine(*dm, line.value(QStringLiteral("DETAIL_ID")).toInt(), 5, line.value(QStringLiteral("ROWNUM")).toInt(),
                       line.value(QStringLiteral("DETAIL_TEXT")).toString(), line.value(QStringLiteral("DETAIL_MEAS")).toString(),
                       line.value(QStringLiteral("DETAIL_QTY")).toDouble(), 1);
        return line;
    };
    const QVariantHash first = post({{QStringLiteral("DETAIL_TEXT"), QStringLiteral("Първа")}, {QStringLiteral("DETAIL_QTY"), 1}});
    post({{QStringLiteral("DETAIL_TEXT"), QStringLiteral("Втора")},
          {QStringLiteral("DETAIL_MEAS"), QStringLiteral("кг")},
          {QStringLiteral("DETAIL_QTY"), 2}});
    EXPECT_EQ(first.value(QStringLiteral("DETAIL_MEAS")).toString(), QStringLiteral(" "));
    EXPECT_EQ(first.value(QStringLiteral("INVOICE_ID")).toInt(), 5);

    // Changing the first line's quantity posts it again under a new key.
    dm->ExecSQL(QStringLiteral("delete from INVOICE_DETAILS where DETAIL_ID = :ID"),
                {{QStringLiteral("ID"), first.value(QStringLiteral("DETAIL_ID"))}});
    QVariantHash changed = first;
    changed.insert(QStringLiteral("DETAIL_QTY"), 3);
    post(changed);

    const std::vector<InvoiceLine> lines = invoiceLines(*dm, 5);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, QStringLiteral("Втора"));
    EXPECT_EQ(lines[1].text, QStringLiteral("Първа"));
    EXPECT_EQ(lines[1].quantity, 3);
    EXPECT_EQ(lines[1].rowNum, 3);
}

TEST_F(InvoiceData, DeletingAnInvoiceTakesItsLinesAndNothingElse)
{
    // Only a waiting invoice with the last number may go.
    QVariantHash waiting = invoiceColumns(1, 3, QDate(2026, 3, 1));
    waiting.insert(QStringLiteral("IS_WAITING"), 1);
    addInvoice(*dm, waiting);
    addInvoice(*dm, invoiceColumns(2, 2, QDate(2026, 3, 1)));
    addInvoiceLine(*dm, 1, 1, 1, QStringLiteral("а"), QStringLiteral("бр."), 1, 1);
    addInvoiceLine(*dm, 2, 1, 2, QStringLiteral("б"), QStringLiteral("бр."), 1, 1);
    addInvoiceLine(*dm, 3, 2, 1, QStringLiteral("в"), QStringLiteral("бр."), 1, 1);
    deleteInvoice(*dm, 1);
    EXPECT_TRUE(storedInvoice(*dm, 1).isEmpty());
    EXPECT_TRUE(invoiceLines(*dm, 1).empty());
    EXPECT_EQ(storedInvoice(*dm, 2).value(QStringLiteral("NUMBER")).toInt(), 2);
    EXPECT_EQ(invoiceLines(*dm, 2).size(), 1u);
}

TEST(PrintLines, LongTextsCountTwice)
{
    const QString longText(kLongLineText + 1, QLatin1Char('x'));
    const QString limit(kLongLineText, QLatin1Char('x'));
    std::vector<InvoiceLine> lines(7, InvoiceLine{0, 0, limit, QStringLiteral("бр."), 1, 1});
    EXPECT_EQ(printLineCount(lines), 7);
    lines.push_back({0, 0, longText, QStringLiteral("бр."), 1, 1});
    EXPECT_EQ(printLineCount(lines), 9);
    EXPECT_GT(printLineCount(lines), formLineCapacity(true));
    EXPECT_LE(printLineCount(lines), formLineCapacity(false));
}

TEST_F(InvoiceData, InvoicingOptionsAreReadByName)
{
    dm->SetConfigByName(QStringLiteral("BG_VAT"), QStringLiteral("20"));
    dm->SetConfigByName(QStringLiteral("DOCSIZE"), QStringLiteral("1"));
    dm->SetConfigByName(QStringLiteral("COMPANY_MOL"), QStringLiteral("Георги Георгиев"));
    const InvoicingOptions options = invoicingOptions(*dm);
    EXPECT_EQ(options.defaultVat, QStringLiteral("20"));
    EXPECT_EQ(options.docSize, QStringLiteral("1"));
    EXPECT_EQ(options.copies, QString());
    EXPECT_EQ(options.companyMol, QStringLiteral("Георги Георгиев"));
}

} // namespace

TEST(InvoiceVatNumbers, OnlyABulgarianNumberTakesTheCountryPrefix)
{
    const std::pair<const char *, const char *> cases[] = {
        {"115000111", "BG115000111"}, {" BG115000111 ", "BG115000111"}, {"DE123456789", "DE123456789"}, {"", ""}};
    for (const auto &[stored, printed] : cases)
        EXPECT_EQ(printedVatNumber(QString::fromLatin1(stored)), QString::fromLatin1(printed)) << stored;
}
