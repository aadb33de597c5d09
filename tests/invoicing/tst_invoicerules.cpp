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
    // The date is missing too: a number let through is followed by its refusal.
    for (const auto &[typed, field] : {std::pair{padInvoiceNumber(QString()), "NUMBER"}, {QStringLiteral("0000000001"), "IDATE"},
                                       {QStringLiteral("9999999999"), "IDATE"}, {QStringLiteral("10000000000"), "NUMBER"}}) {
        InvoiceEntry entry = completeEntry();
        entry.numberText = typed;
        entry.row.remove(QStringLiteral("IDATE"));
        EXPECT_EQ(refusedBy(entry).field, QLatin1String(field)) << typed.toStdString();
    }
    InvoiceEntry entry = completeEntry();
    entry.numberText = QStringLiteral("0000000000");
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("Номерът на документа трябва да бъде от 0000000001 до 9999999999 !"));
}

TEST(InvoiceChecks, AStoredIssuedDocumentIsOnlyCancelledAndACancelledOneStays)
{
    const auto row = [](qint64 number, QVariant status) {
        return QVariantHash{{QStringLiteral("NUMBER"), number}, {QStringLiteral("IS_WAITING"), status}};
    };
    const QVariant issued = 0, waiting = 1, cancelled = 2;
    const struct
    {
        QVariantHash stored, edited;
        const char *field;
    } cases[] = {
        {row(5, issued), row(5, issued), ""},       {row(5, QVariant()), row(5, cancelled), ""},
        {row(5, issued), row(6, issued), "NUMBER"}, {row(5, issued), row(5, waiting), "IS_WAITING"},
        {row(5, cancelled), row(5, cancelled), ""}, {row(5, cancelled), row(5, issued), "IS_WAITING"},
        {row(5, cancelled), row(7, cancelled), "NUMBER"}, {row(5, waiting), row(8, issued), ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto refusal = checkStoredStatus(cases[i].stored, cases[i].edited);
        EXPECT_EQ(refusal ? refusal->field : QString(), QLatin1String(cases[i].field)) << "case " << i;
    }
    EXPECT_EQ(checkStoredStatus(row(5, issued), row(5, waiting))->message,
              QStringLiteral("Документ № 0000000005 е издаден и може само да бъде анулиран."));
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
    // rate, box ticked (1 non-charge, 2 requested, 3 new vehicle), ground typed, refused
    const std::tuple<const char *, int, const char *, bool> cases[] = {
        {"0", 0, "", true},  {" 0.00 ", 0, "  ", true}, {"0", 1, "", false}, {"0", 2, "", false},
        {"0", 3, "", false}, {"0", 0, "чл. 114, ал. 1, т. 12 ЗДДС", false},  {"9", 0, "", false}};
    for (const auto &[rate, ticked, ground, refused] : cases) {
        InvoiceEntry entry = completeEntry();
        entry.rateText = QString::fromLatin1(rate);
        entry.nonchargeVat = ticked == 1;
        entry.requestedVat = ticked == 2;
        entry.newVehicle = ticked == 3;
        entry.row.insert(QStringLiteral("RV_DETAILS"), QStringLiteral("чл. 82"));
        entry.row.insert(QStringLiteral("NV_DETAILS"), QStringLiteral("нов автомобил"));
        entry.row.insert(QStringLiteral("ZERO_VAT_GROUND"), QString::fromUtf8(ground));
        EXPECT_EQ(refusedBy(entry).field, QLatin1String(refused ? "ZERO_VAT_GROUND" : "")) << rate << ground;
    }
    InvoiceEntry entry = completeEntry();
    entry.rateText = QStringLiteral("0");
    EXPECT_EQ(refusedBy(entry).message, QStringLiteral("При ставка 0 % посочете основанието за неначисляване на ДДС: "
                                                       "отбележете обстоятелство или опишете основанието !"));
    EXPECT_EQ(refusedBy(entry).page, EditorPage::Circumstances);
    entry.requestedVat = true; // its details are asked for first
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
    // id (and number 300000000id), status, the number a notification refers to
    const int rows[][3] = {{1, 0, 0}, {2, 2, 0}, {3, 1, 0}, {4, 1, 1}, {5, 0, 4}, {6, 2, 3}, {7, 1, 0}};
    for (const auto &[id, status, refersTo] : rows) {
        QVariantHash row = invoiceColumns(id, 1, QDate(2026, 3, 1));
        row.insert(QStringLiteral("NUMBER"), 3000000000LL + id);
        row.insert(QStringLiteral("IS_WAITING"), status);
        row.insert(QStringLiteral("NOTIFICATION"), refersTo ? 1 : 0);
        row.insert(QStringLiteral("INVOICE_NUMBER"), refersTo ? invoiceNumberText(3000000000LL + refersTo) : QVariant());
        addInvoice(*dm, row);
    }
    const QString held = QStringLiteral("Към документ № 300000000%1 има известие № 300000000%2; той не може да бъде изтрит "
                                        "или анулиран, докато известието не е анулирано.");
    const std::pair<int, QString> cases[] = {
        {1, QStringLiteral("Фактура № 3000000001 е издадена и не може да бъде изтрита. Анулирайте я (статус \"Анулирана\").")},
        {2, QStringLiteral("Фактура № 3000000002 е анулирана и не може да бъде изтрита.")},
        {3, QStringLiteral("Документ № 3000000003 не може да бъде изтрит: след него има документ № 3000000004.")},
        {4, held.arg(4).arg(5)},
        {5, QStringLiteral("Известие № 3000000005 е издадено и не може да бъде изтрито. Анулирайте го (статус \"Анулирана\").")},
        {6, QStringLiteral("Известие № 3000000006 е анулирано и не може да бъде изтрито.")},
        {7, QString()}};
    for (const auto &[id, refusal] : cases)
        EXPECT_EQ(deletionRefusal(*dm, id), refusal) << id;
    EXPECT_THROW(deleteInvoice(*dm, 1), varnex::Error);
    EXPECT_FALSE(storedInvoice(*dm, 1).isEmpty());
    deleteInvoice(*dm, 7);
    EXPECT_TRUE(storedInvoice(*dm, 7).isEmpty());

    // A cancelled notification holds its invoice no longer.
    EXPECT_EQ(cancellationRefusal(*dm, 3000000003, 3), QString());
    EXPECT_EQ(cancellationRefusal(*dm, 3000000001, 1), held.arg(1).arg(4));
    EXPECT_THROW(cancelInvoice(*dm, 1), varnex::Error);
    for (const int id : {5, 4, 1})
        cancelInvoice(*dm, id);
    EXPECT_TRUE(invoiceCancelled(storedInvoice(*dm, 1)));
    EXPECT_EQ(storedInvoice(*dm, 1).value(QStringLiteral("NUMBER")).toLongLong(), 3000000001LL);
}

} // namespace
