#include "invoicing/InvoiceData.h"
#include "invoicing/InvoiceRows.h"
#include "invoicing/InvoiceRules.h"
#include "support/DatabaseTest.h"
#include "util/Error.h"

#include <gtest/gtest.h>

using namespace invoicing;
using namespace testing_support;

namespace {

// An entry that every check lets through.
InvoiceEntry completeEntry()
{
    InvoiceEntry entry;
    entry.row = invoiceColumns(1, 1, QDate(2026, 3, 2));
    entry.row.insert(QStringLiteral("SELL_DATE"), QDate(2026, 3, 2));
    entry.row.insert(QStringLiteral("DIST_SELLING_VAT"), QStringLiteral("0"));
    entry.numberText = QStringLiteral("0000000001");
    entry.rateText = QStringLiteral("20");
    return entry;
}

struct Refused
{
    QString message;
    QString field;
    EditorPage page;
};

Refused refusedBy(const InvoiceEntry &entry)
{
    const auto refusal = checkInvoice(entry);
    if (!refusal)
        return {QStringLiteral("(passed)"), QString(), EditorPage::Header};
    return {refusal->message, refusal->field, refusal->page};
}

TEST(InvoiceChecks, EachEmptyRequiredFieldIsNamedInTheOrderOfTheForm)
{
    EXPECT_FALSE(checkInvoice(completeEntry()).has_value());

    struct Case
    {
        const char *column;
        const char *message;
        const char *field;
        EditorPage page;
    };
    const Case cases[] = {
        {"IDATE", "Полето \"от дата\"трябва да има стойност !", "IDATE", EditorPage::Header},
        {"PLACE", "Полето \"гр./с.\" трябва да бъде попълнено !", "PLACE", EditorPage::Header},
        {"COMPANY", "Полето \"Фирма/Физ. лице\" трябва да бъде попълнено !", "CLIENT_ID", EditorPage::Header},
        {"DANNUM", "Полето \"ИН/ЕГН\" трябва да бъде попълнено !", "DANNUM", EditorPage::Header},
        {"CITY", "Полето \"Гр/с\" трябва да бъде попълнено !", "CITY", EditorPage::Header},
        {"ADDRESS", "Полето \"Адрес\" трябва да бъде попълнено !", "ADDRESS", EditorPage::Header},
        {"INVOICE_CREATOR", "Полето \"Съставил\" трябва да бъде попълнено !", "INVOICE_CREATOR", EditorPage::People},
        {"RECIEVER", "Полето \"Получил\" трябва да бъде попълнено !", "RECIEVER", EditorPage::People},
        {"SELL_DATE", "Полето \"Дата на дан. събитие\" не е попълнено !", "SELL_DATE", EditorPage::People},
    };
    for (const Case &c : cases) {
        InvoiceEntry entry = completeEntry();
        entry.row.remove(QString::fromLatin1(c.column));
        const Refused refused = refusedBy(entry);
        EXPECT_EQ(refused.message, QString::fromUtf8(c.message)) << c.column;
        EXPECT_EQ(refused.field, QString::fromLatin1(c.field)) << c.column;
        EXPECT_EQ(refused.page, c.page) << c.column;
    }

    // A text of blanks is no value; the earlier of two empty fields is named.
    InvoiceEntry entry = completeEntry();
    entry.row.insert(QStringLiteral("ADDRESS"), QStringLiteral("   "));
    entry.row.remove(QStringLiteral("RECIEVER"));
    EXPECT_EQ(refusedBy(entry).field, QStringLiteral("ADDRESS"));

    entry = completeEntry();
    entry.numberText = QString();
    entry.row.remove(QStringLiteral("IDATE"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"№\" трябва да бъде попълнено !"));
}

TEST(InvoiceChecks, ANumberRunsFromOneToTheHighestTenDigitOne)
{
    const QString refusedNumber = QStringLiteral("Номерът на документа трябва да бъде от 0000000001 до 9999999999 !");
    const struct
    {
        QString typed;
        QString message;
    } cases[] = {
        {padInvoiceNumber(QString()), refusedNumber}, // what a cleared box shows
        {QStringLiteral("0000000001"), QStringLiteral("(passed)")},
        {QStringLiteral("3000000001"), QStringLiteral("(passed)")},
        {QStringLiteral("9999999999"), QStringLiteral("(passed)")},
        {QStringLiteral("10000000000"), refusedNumber},
    };
    for (const auto &c : cases) {
        InvoiceEntry entry = completeEntry();
        entry.numberText = c.typed;
        entry.row.remove(QStringLiteral("IDATE")); // named after the number
        const Refused refused = refusedBy(entry);
        if (c.message == refusedNumber) {
            EXPECT_EQ(refused.message, refusedNumber) << c.typed.toStdString();
            EXPECT_EQ(refused.field, QStringLiteral("NUMBER"));
            EXPECT_EQ(refused.page, EditorPage::Header);
        } else {
            EXPECT_EQ(refused.field, QStringLiteral("IDATE")) << c.typed.toStdString();
        }
    }
}

TEST(InvoiceChecks, ANotificationNeedsItsTypeReferenceAndDate)
{
    InvoiceEntry entry = completeEntry();
    entry.notification = true;
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, изберете тип на известието !"));
    entry.row.insert(QStringLiteral("NOTIF_TYPE"), 1);
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, попълнете полето \"към фактура №\" !"));
    entry.row.insert(QStringLiteral("INVOICE_NUMBER"), QStringLiteral("0000000007"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, полълнете полето \"от Дата\" !"));
    entry.row.insert(QStringLiteral("INVNOTIF_DATE"), QDate(2026, 2, 1));
    EXPECT_FALSE(checkInvoice(entry).has_value());
}

TEST(InvoiceChecks, DistanceSellingIsCheckedOnlyOnceSomethingIsGiven)
{
    InvoiceEntry entry = completeEntry();
    EXPECT_FALSE(checkInvoice(entry).has_value()) << "a rate of 0 alone";

    entry.row.insert(QStringLiteral("DIST_SELLING_EIK"), QStringLiteral("DE123456789"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, попълнете \"Стойност\" !"));
    entry.row.insert(QStringLiteral("DIST_SELLING_CASHSIZE"), 120.0);
    EXPECT_FALSE(checkInvoice(entry).has_value()) << "with the identifier given, 0 is a rate";

    entry = completeEntry();
    entry.row.insert(QStringLiteral("DIST_SELLING_VAT"), QStringLiteral("19"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, попълнете \"ЕИК/VAT\" !"));
    EXPECT_EQ(refusedBy(entry).field, QStringLiteral("DIST_SELLING_EIK"));

    entry = completeEntry();
    entry.row.insert(QStringLiteral("DIST_SELLING_EIK"), QStringLiteral("DE123456789"));
    entry.row.remove(QStringLiteral("DIST_SELLING_VAT"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, задайте \"Ставка/ДДС\" !"));
}

TEST(InvoiceChecks, TheReceiversPapersAreCompleteOrAbsent)
{
    InvoiceEntry entry = completeEntry();
    entry.row.insert(QStringLiteral("MVR"), QStringLiteral("Пловдив"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"ЛК №\" не е попълнено !"));
    EXPECT_EQ(refusedBy(entry).page, EditorPage::People);
    entry.row.insert(QStringLiteral("LKNO"), QStringLiteral("641234567"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"Изд. на\" не е попълнено !"));
    entry.row.insert(QStringLiteral("PUBLISHED"), QDate(2020, 5, 5));
    EXPECT_FALSE(checkInvoice(entry).has_value());
    entry.row.remove(QStringLiteral("MVR"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"МВР\" не е попълнено !"));

    entry = completeEntry();
    entry.row.insert(QStringLiteral("LA_DATE"), QDate(2026, 1, 5));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"Пълном. №\" не е попълнено !"));
    entry.row.remove(QStringLiteral("LA_DATE"));
    entry.row.insert(QStringLiteral("LA_NUMBER"), QStringLiteral("12"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"Дата на пълном.\" не е попълнено !"));
}

TEST(InvoiceChecks, PaymentRateAndSpecialCasesComeLast)
{
    InvoiceEntry entry = completeEntry();
    entry.bankPayment = true;
    entry.rateText = QStringLiteral("  ");
    entry.requestedVat = true;
    entry.newVehicle = true;
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"IBAN\" трябва да има стойност !"));
    entry.row.insert(QStringLiteral("ACCOUNT"), QStringLiteral("BG80BNBG96611020345678"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Полето \"Данъчна ставка\" трябва да има стойност !"));
    EXPECT_EQ(refusedBy(entry).page, EditorPage::Rate);
    EXPECT_EQ(refusedBy(entry).field, QStringLiteral("RATE"));
    entry.rateText = QStringLiteral("9");
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, попълнете информацията за изискуем данък!"));
    EXPECT_EQ(refusedBy(entry).page, EditorPage::Circumstances);
    entry.row.insert(QStringLiteral("RV_DETAILS"), QStringLiteral("чл. 82"));
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Моля, попълнете информацията за ново превозно средство !"));
    entry.row.insert(QStringLiteral("NV_DETAILS"), QStringLiteral("нов автомобил"));
    EXPECT_FALSE(checkInvoice(entry).has_value());
}

TEST(InvoiceChecks, AZeroRateNeedsAGroundTickedOrTyped)
{
    const QString noGround = QStringLiteral("При ставка 0 % посочете основанието за неначисляване на ДДС: отбележете "
                                            "обстоятелство или опишете основанието !");
    const struct
    {
        const char *rate;
        bool noncharge, requested, vehicle;
        const char *ground;
        bool refused;
    } cases[] = {
        {"0", false, false, false, "", true},
        {" 0.00 ", false, false, false, "   ", true},
        {"0", true, false, false, "", false},
        {"0", false, true, false, "", false},
        {"0", false, false, true, "", false},
        {"0", false, false, false, "чл. 114, ал. 1, т. 12 ЗДДС", false},
        {"9", false, false, false, "", false},
    };
    for (const auto &c : cases) {
        InvoiceEntry entry = completeEntry();
        entry.rateText = QString::fromLatin1(c.rate);
        entry.nonchargeVat = c.noncharge;
        entry.requestedVat = c.requested;
        entry.newVehicle = c.vehicle;
        entry.row.insert(QStringLiteral("RV_DETAILS"), QStringLiteral("чл. 82"));
        entry.row.insert(QStringLiteral("NV_DETAILS"), QStringLiteral("нов автомобил"));
        entry.row.insert(QStringLiteral("ZERO_VAT_GROUND"), QString::fromUtf8(c.ground));
        const Refused refused = refusedBy(entry);
        EXPECT_EQ(refused.message, c.refused ? noGround : QStringLiteral("(passed)")) << c.rate << c.ground;
        if (c.refused) {
            EXPECT_EQ(refused.field, QStringLiteral("ZERO_VAT_GROUND"));
            EXPECT_EQ(refused.page, EditorPage::Circumstances);
        }
    }
    // The circumstances' own details are asked for first.
    InvoiceEntry entry = completeEntry();
    entry.rateText = QStringLiteral("0");
    entry.requestedVat = true;
    EXPECT_EQ(refusedBy(entry).field, QStringLiteral("RV_DETAILS"));
}

TEST(InvoiceLineChecks, ALineNeedsItsTextQuantityAndPriceAndOnlyANothingIsBlank)
{
    const QVariant none;
    const QVariant blank = QStringLiteral("  ");
    struct Case
    {
        QVariant text, unit, quantity, price;
        const char *refused; // "" when the line is taken
        bool blank;
    } const cases[] = {
        {QStringLiteral("Болт"), none, 0.0, 0.0, "", false},
        {blank, QStringLiteral("бр."), 2.0, 0.5, "DETAIL_TEXT", false},
        {QStringLiteral("Болт"), none, none, 0.5, "DETAIL_QTY", false},
        {QStringLiteral("Болт"), none, 2.0, none, "DETAIL_PRICE", false},
        {blank, blank, none, none, "DETAIL_TEXT", true},
    };
    for (const Case &c : cases) {
        const QVariantHash line{{QStringLiteral("DETAIL_TEXT"), c.text}, {QStringLiteral("DETAIL_MEAS"), c.unit},
                                {QStringLiteral("DETAIL_QTY"), c.quantity}, {QStringLiteral("DETAIL_PRICE"), c.price}};
        const auto refusal = checkInvoiceLine(line);
        EXPECT_EQ(refusal ? refusal->field : QString(), QString::fromLatin1(c.refused)) << c.refused;
        EXPECT_EQ(invoiceLineBlank(line), c.blank) << c.refused;
    }
    EXPECT_EQ(checkInvoiceLine({}).value_or(InvoiceRefusal{}).message,
              QStringLiteral("Полето \"Стока / услуга\" трябва да бъде попълнено !"));
}

TEST(InvoiceFooter, ShowsADashUntilTheSumIsPositiveAndTheCurrencyOfTheDate)
{
    const DocumentCurrency euro = DocumentCurrency::on(QDate(2026, 1, 1));
    const DocumentCurrency leva = DocumentCurrency::on(QDate(2025, 12, 31));
    EXPECT_EQ(footerFigure(0, 0, euro), QStringLiteral("-"));
    EXPECT_EQ(footerFigure(-2.4, -12, euro), QStringLiteral("-"));
    EXPECT_EQ(footerFigure(30.6, 25.5, euro), QStringLiteral("30.60 EUR"));
    EXPECT_EQ(footerFigure(30.6, 25.5, leva), QStringLiteral("30.60 лв."));
    EXPECT_EQ(vatCaption(QStringLiteral("20")), QStringLiteral("ДДС(20%):"));
}

TEST(InvoicePrint, TheFormsLineLimitCountsLongTextsTwice)
{
    std::vector<InvoiceLine> lines(7, InvoiceLine{0, 0, QStringLiteral("Болт М8"), QStringLiteral("бр."), 1, 1});
    lines.push_back({0, 0, QString(45, QLatin1Char('x')), QStringLiteral("бр."), 1, 1});
    EXPECT_EQ(printLineCount(lines), 9);
    EXPECT_TRUE(printLimitWarning(printLineCount(lines), true).startsWith(QStringLiteral("Внимание !!!!!\r\n")));
    EXPECT_TRUE(printLimitWarning(printLineCount(lines), false).isEmpty());
    EXPECT_TRUE(printLimitWarning(8, true).isEmpty());
    EXPECT_TRUE(printLimitWarning(24, false).isEmpty());
    EXPECT_EQ(printLimitWarning(25, false),
              QStringLiteral("Внимание!\r\nВъведените редове са повече от предвидените за печат!!!\r\nМоля, намалете "
                             "техният брой за да се съберат на една страница!"));
}

TEST(InvoiceClient, TheCatalogueDetailsAreCopiedWhole)
{
    const QString longName = QStringLiteral("Бета Търговия и Дистрибуция Груп Интернешънъл ЕООД");
    ASSERT_GT(longName.size(), 40);
    const QString fullWidth(80, QChar(0x436)); // as wide as the catalogue's columns
    const QVariantHash copied = clientCopy({{QStringLiteral("KONTR_NAME"), longName},
                                            {QStringLiteral("KONTR_ADDRESS"), fullWidth},
                                            {QStringLiteral("KONTR_CITY"), QStringLiteral("Банско")},
                                            {QStringLiteral("KONTR_DN"), QStringLiteral("101000111")},
                                            {QStringLiteral("KONTR_NOTE"), QStringLiteral("винаги по банков път")}});
    EXPECT_EQ(copied.value(QStringLiteral("COMPANY")).toString(), longName);
    EXPECT_EQ(copied.value(QStringLiteral("ADDRESS")).toString(), fullWidth);
    EXPECT_EQ(clientCopy({{QStringLiteral("KONTR_MOL"), fullWidth}}).value(QStringLiteral("MOL")).toString(), fullWidth);
    EXPECT_EQ(clientCopy({{QStringLiteral("KONTR_NAME"), QString(250, QChar(0x436))}}).value(QStringLiteral("COMPANY")).toString().size(),
              200);
    EXPECT_EQ(copied.value(QStringLiteral("CITY")).toString(), QStringLiteral("Банско"));
    EXPECT_EQ(copied.value(QStringLiteral("NOTES")).toString(), QStringLiteral("винаги по банков път"));
    EXPECT_TRUE(copied.value(QStringLiteral("MOL")).isNull()) << "an empty detail stays empty";
}

TEST(InvoiceRecentValues, BlankTextsAreNotRecorded)
{
    QVariantHash row = invoiceColumns(1, 1, QDate(2026, 3, 2));
    row.insert(QStringLiteral("MOL"), QStringLiteral("  "));
    row.insert(QStringLiteral("MVR"), QStringLiteral("Пловдив"));
    const std::vector<RecentValue> values = recentValues(row);
    std::vector<std::pair<int, QString>> lists;
    for (const RecentValue &value : values)
        lists.emplace_back(value.list, value.value);
    const std::vector<std::pair<int, QString>> expected{
        {1, QStringLiteral("Пловдив")}, {2, QStringLiteral("Тракия ООД")},   {3, QStringLiteral("ул. Шипка 5")},
        {4, QStringLiteral("Петър Иванов")}, {5, QStringLiteral("Пловдив")}, {6, QStringLiteral("Мария Иванова")}};
    EXPECT_EQ(lists, expected);
    EXPECT_EQ(values.back().maxCount, 100);
    EXPECT_EQ(values.front().maxCount, 300);
}

TEST(InvoiceList, TheFilterDescribesItselfAndBindsItsValues)
{
    InvoiceListFilter filter;
    EXPECT_TRUE(invoiceListCondition(filter).condition.isEmpty());
    EXPECT_EQ(invoiceListTitle(invoiceListCondition(filter).description), QStringLiteral("Фактури"));

    filter.tab = StatusTab::Waiting;
    const ListCondition waiting = invoiceListCondition(filter);
    EXPECT_EQ(waiting.condition, QStringLiteral("(1=1) and (IS_WAITING = 1)"));
    EXPECT_EQ(invoiceListTitle(waiting.description), QStringLiteral("Фактури [Чакащи]"));

    filter.from = QDate(2026, 12, 8);
    filter.to = QDate(2026, 12, 9);
    filter.client = QStringLiteral("О'Нийл ЕООД");
    const ListCondition full = invoiceListCondition(filter);
    EXPECT_FALSE(full.condition.contains(QStringLiteral("Нийл"))) << "typed values are bound, never written in";
    EXPECT_EQ(full.params.value(QStringLiteral("FILTER_CLIENT")).toString(), QStringLiteral("О'Нийл ЕООД"));
    EXPECT_EQ(full.params.value(QStringLiteral("FILTER_FROM")).toDate(), QDate(2026, 12, 8));
    EXPECT_EQ(invoiceListTitle(full.description),
              QStringLiteral("Фактури [Чакащи  от дата 08.12.2026 до дата 09.12.2026 за клиент О'Нийл ЕООД]"));
    EXPECT_TRUE(invoiceListCondition(filter, QLatin1Char('/')).description.contains(QStringLiteral("08/12/2026")));
}

TEST(InvoiceList, PeriodsRunFromMondayAndCoverTheMonth)
{
    const QDate wednesday(2026, 12, 9);
    EXPECT_EQ(periodDates(Period::Today, wednesday), std::make_pair(wednesday, wednesday));
    EXPECT_EQ(periodDates(Period::Yesterday, wednesday), std::make_pair(QDate(2026, 12, 8), QDate(2026, 12, 8)));
    EXPECT_EQ(periodDates(Period::ThisWeek, wednesday), std::make_pair(QDate(2026, 12, 7), QDate(2026, 12, 13)));
    const QDate sunday(2026, 12, 13);
    EXPECT_EQ(periodDates(Period::ThisWeek, sunday), std::make_pair(QDate(2026, 12, 14), QDate(2026, 12, 20)));
    EXPECT_EQ(periodDates(Period::ThisMonth, QDate(2028, 2, 10)), std::make_pair(QDate(2028, 2, 1), QDate(2028, 2, 29)));
}

TEST(InvoiceList, NumbersAreSearchedAsPlainNumbersAndTextsIgnoreCase)
{
    EXPECT_TRUE(searchMatches(SearchField::Number, 42, QStringLiteral("42")));
    EXPECT_FALSE(searchMatches(SearchField::Number, 42, QStringLiteral("0042")));
    EXPECT_TRUE(searchMatches(SearchField::Client, QStringLiteral("Тракия ООД"), QStringLiteral("тракия")));
    EXPECT_FALSE(searchMatches(SearchField::IdNumber, QVariant(), QString()));
    EXPECT_EQ(searchNotice(SearchField::Number, false), QStringLiteral("Търсеният номер не е намерен!"));
    EXPECT_EQ(searchNotice(SearchField::Client, true), QStringLiteral("Друг такъв клиент не е намерен!"));
    EXPECT_EQ(searchNotice(SearchField::None, false), QStringLiteral("МОЛЯ, задайте критерий за търсене!"));
    EXPECT_EQ(searchNotice(SearchField::None, true), QStringLiteral("МОЛЯ, задайте критерий за търсене !"));
}

TEST(InvoicePrefill, LinesSurviveTheBoard)
{
    const std::vector<InvoicePrefill::Line> lines{{QStringLiteral("Цимент"), QStringLiteral("чувал"), 3, 12.5}};
    const auto back = prefillLines(prefillLinesValue(lines));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].text, QStringLiteral("Цимент"));
    EXPECT_EQ(back[0].unit, QStringLiteral("чувал"));
    EXPECT_DOUBLE_EQ(back[0].quantity, 3);
    EXPECT_DOUBLE_EQ(back[0].price, 12.5);
    EXPECT_TRUE(prefillLines(QVariant()).empty());
}

class InvoiceRulesInDatabase : public DatabaseTest
{
protected:
    int lineCount(int invoiceId)
    {
        return dm->QueryValue(QStringLiteral("select count(*) from INVOICE_DETAILS where INVOICE_ID = :ID"), QString(),
                              {{QStringLiteral("ID"), invoiceId}})
            .toInt();
    }
};

TEST_F(InvoiceRulesInDatabase, ANumberIsTakenOnlyByAnotherDocument)
{
    addInvoice(*dm, invoiceColumns(5, 42, QDate(2026, 3, 1)));
    EXPECT_TRUE(invoiceNumberTaken(*dm, 42, 6));
    EXPECT_FALSE(invoiceNumberTaken(*dm, 42, 5));
    EXPECT_FALSE(invoiceNumberTaken(*dm, 43, 6));
    EXPECT_EQ(numberTakenMessage(42, 43),
              QStringLiteral("Вече има фактура или известие с № 0000000042 !\r\nПредложен е следващият свободен № 0000000043."));
}

TEST_F(InvoiceRulesInDatabase, OnlyLinesWithoutTheirInvoiceAreRemoved)
{
    addInvoice(*dm, invoiceColumns(5, 1, QDate(2026, 3, 1)));
    addInvoiceLine(*dm, 1, 5, 1, QStringLiteral("Стока"), QStringLiteral("бр."), 1, 2);
    addInvoiceLine(*dm, 2, 6, 1, QStringLiteral("Изоставен ред"), QStringLiteral("бр."), 1, 2);
    addInvoiceLine(*dm, 3, 7, 1, QStringLiteral("Друг изоставен ред"), QStringLiteral("бр."), 1, 2);

    removeLinesOfUnstoredInvoice(*dm, 5);
    EXPECT_EQ(lineCount(5), 1) << "the invoice is stored";
    removeLinesOfUnstoredInvoice(*dm, 6);
    EXPECT_EQ(lineCount(6), 0);
    EXPECT_EQ(lineCount(7), 1) << "another editor's lines";

    EXPECT_EQ(abandonedLineCount(*dm), 1);
    removeAbandonedLines(*dm);
    EXPECT_EQ(abandonedLineCount(*dm), 0);
    EXPECT_EQ(lineCount(5), 1);
}

TEST_F(InvoiceRulesInDatabase, NothingIssuedIsDeletedAndNoGapIsLeft)
{
    const auto add = [this](int id, qint64 number, int status, qint64 refersTo = 0) {
        QVariantHash row = invoiceColumns(id, 1, QDate(2026, 3, 1));
        row.insert(QStringLiteral("NUMBER"), number);
        row.insert(QStringLiteral("IS_WAITING"), status);
        if (refersTo) {
            row.insert(QStringLiteral("NOTIFICATION"), 1);
            row.insert(QStringLiteral("NOTIF_TYPE"), 0);
            row.insert(QStringLiteral("INVOICE_NUMBER"), invoiceNumberText(refersTo));
        }
        addInvoice(*dm, row);
    };
    add(1, 3000000001, 0);
    add(2, 3000000002, 2);
    add(3, 3000000003, 1);
    add(4, 3000000004, 1, 3000000001); // a waiting notification to 1
    add(5, 3000000005, 0, 3000000004); // an issued notification to 4
    add(6, 3000000006, 2, 3000000003); // a cancelled notification to 3
    add(7, 3000000007, 1);
    addInvoiceLine(*dm, 1, 7, 1, QStringLiteral("Стока"), QStringLiteral("бр."), 1, 2);

    const struct
    {
        int id;
        QString deletion;
    } cases[] = {
        {1, QStringLiteral("Фактура № 3000000001 е издадена и не може да бъде изтрита. Анулирайте я (статус \"Анулирана\").")},
        {2, QStringLiteral("Фактура № 3000000002 е анулирана и не може да бъде изтрита.")},
        {3, QStringLiteral("Документ № 3000000003 не може да бъде изтрит: след него има документ № 3000000004.")},
        {4, QStringLiteral("Към документ № 3000000004 има известие № 3000000005; той не може да бъде изтрит или анулиран, "
                           "докато известието не е анулирано.")},
        {5, QStringLiteral("Известие № 3000000005 е издадено и не може да бъде изтрито. Анулирайте го (статус \"Анулирана\").")},
        {6, QStringLiteral("Известие № 3000000006 е анулирано и не може да бъде изтрито.")},
        {7, QString()},
        {8, QString()}, // gone already
    };
    for (const auto &c : cases)
        EXPECT_EQ(deletionRefusal(*dm, c.id), c.deletion) << c.id;

    try {
        deleteInvoice(*dm, 1);
        ADD_FAILURE() << "an issued invoice was deleted";
    } catch (const varnex::Error &error) {
        EXPECT_EQ(error.message(), cases[0].deletion);
    }
    EXPECT_FALSE(storedInvoice(*dm, 1).isEmpty());
    deleteInvoice(*dm, 7);
    EXPECT_TRUE(storedInvoice(*dm, 7).isEmpty());
    EXPECT_EQ(lineCount(7), 0);
    EXPECT_TRUE(deletionRefusal(*dm, 3).contains(QStringLiteral("3000000004"))) << "the last one is gone, 4 is not";

    // A cancelled notification no longer holds its invoice; a waiting one does.
    EXPECT_EQ(cancellationRefusal(*dm, 3000000003, 3), QString());
    EXPECT_EQ(cancellationRefusal(*dm, 3000000001, 1),
              QStringLiteral("Към документ № 3000000001 има известие № 3000000004; той не може да бъде изтрит или "
                             "анулиран, докато известието не е анулирано."));
    EXPECT_THROW(cancelInvoice(*dm, 1), varnex::Error);
    EXPECT_FALSE(invoiceCancelled(storedInvoice(*dm, 1)));
    EXPECT_THROW(cancelInvoice(*dm, 4), varnex::Error) << "issued notification 5 refers to it";
    cancelInvoice(*dm, 5);
    cancelInvoice(*dm, 4);
    cancelInvoice(*dm, 1);
    const QVariantHash cancelled = storedInvoice(*dm, 1);
    EXPECT_TRUE(invoiceCancelled(cancelled));
    EXPECT_EQ(cancelled.value(QStringLiteral("NUMBER")).toLongLong(), 3000000001LL);
    EXPECT_THROW(cancelInvoice(*dm, 7), varnex::Error) << "no such document";
}

} // namespace
