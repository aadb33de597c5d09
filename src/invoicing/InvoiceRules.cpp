#include "invoicing/InvoiceRules.h"

#include "data/ColumnSizes.h"
#include "invoicing/DocumentCurrency.h"
#include "invoicing/InvoiceData.h"
#include "util/Error.h"

#include <QStringList>

namespace invoicing {

namespace {

const char kNumberTaken[] = "select count(*) from INVOICES where (NUMBER = :NUMBER) and (ID <> :ID)";
const char kLinesOfUnstored[] = "delete from INVOICE_DETAILS where (INVOICE_ID = :INVOICE_ID) and not exists "
                                "(select 1 from INVOICES i where i.ID = :INVOICE_ID)";
const char kAbandonedCount[] = "select count(*) from INVOICE_DETAILS d where not exists "
                               "(select 1 from INVOICES i where i.ID = d.INVOICE_ID)";
const char kAbandonedDelete[] = "delete from INVOICE_DETAILS d where not exists "
                                "(select 1 from INVOICES i where i.ID = d.INVOICE_ID)";
const char kInvoiceState[] = "select NUMBER, IS_WAITING, NOTIFICATION from INVOICES where ID = :ID";
const char kStandingNotification[] =
    "select first 1 NUMBER from INVOICES where (NOTIFICATION = 1) and (INVOICE_NUMBER = :REFERENCE) "
    "and (ID <> :ID) and (IS_WAITING is distinct from 2) order by NUMBER";
const char kNextNumber[] = "select min(NUMBER) from INVOICES where NUMBER > :NUMBER";
const char kCancel[] = "update INVOICES set IS_WAITING = 2 where ID = :ID";

// IS_WAITING; an empty status is that of an issued document.
constexpr int kStatusWaiting = 1;
constexpr int kStatusCancelled = 2;

QString text(const QVariantHash &row, const char *column)
{
    const QVariant value = row.value(QString::fromLatin1(column));
    return value.isNull() ? QString() : value.toString();
}

bool blank(const QVariantHash &row, const char *column)
{
    return text(row, column).trimmed().isEmpty();
}

InvoiceRefusal refusal(const char *message, const char *field, EditorPage page = EditorPage::Header)
{
    return {QString::fromUtf8(message), QString::fromLatin1(field), page};
}

bool zeroRate(const QString &rateText)
{
    bool ok = false;
    const double rate = rateText.trimmed().toDouble(&ok);
    return ok && rate == 0;
}

struct InvoiceState
{
    QVariant number;
    int status = 0;
    bool notification = false;
};

std::optional<InvoiceState> invoiceState(data::SqlSession &session, int invoiceId)
{
    const auto rows = session.QueryRows(QString::fromLatin1(kInvoiceState), {{QStringLiteral("ID"), invoiceId}});
    if (rows.empty())
        return std::nullopt;
    const QVariantList &row = rows.front();
    return InvoiceState{row.at(0), row.at(1).toInt(), row.at(2).toInt() == 1};
}

QString shownNumber(const QVariant &number)
{
    return invoiceNumberText(number.toLongLong());
}

} // namespace

std::optional<InvoiceRefusal> checkInvoice(const InvoiceEntry &entry)
{
    const QVariantHash &row = entry.row;
    if (entry.numberText.trimmed().isEmpty())
        return refusal("Полето \"№\" трябва да бъде попълнено !", "NUMBER");
    bool isNumber = false;
    const qint64 number = entry.numberText.trimmed().toLongLong(&isNumber);
    if (!isNumber || number < 1 || number > kHighestInvoiceNumber)
        return refusal("Номерът на документа трябва да бъде от 0000000001 до 9999999999 !", "NUMBER");
    if (row.value(QStringLiteral("IDATE")).isNull())
        return refusal("Полето \"от дата\"трябва да има стойност !", "IDATE");
    if (blank(row, "PLACE"))
        return refusal("Полето \"гр./с.\" трябва да бъде попълнено !", "PLACE");
    if (entry.notification) {
        if (row.value(QStringLiteral("NOTIF_TYPE")).isNull())
            return refusal("Моля, изберете тип на известието !", "NOTIF_TYPE");
        if (blank(row, "INVOICE_NUMBER"))
            return refusal("Моля, попълнете полето \"към фактура №\" !", "INVOICE_NUMBER");
        if (row.value(QStringLiteral("INVNOTIF_DATE")).isNull())
            return refusal("Моля, полълнете полето \"от Дата\" !", "INVNOTIF_DATE");
    }
    if (blank(row, "COMPANY"))
        return refusal("Полето \"Фирма/Физ. лице\" трябва да бъде попълнено !", "CLIENT_ID");
    if (blank(row, "DANNUM"))
        return refusal("Полето \"ИН/ЕГН\" трябва да бъде попълнено !", "DANNUM");
    if (blank(row, "CITY"))
        return refusal("Полето \"Гр/с\" трябва да бъде попълнено !", "CITY");
    if (blank(row, "ADDRESS"))
        return refusal("Полето \"Адрес\" трябва да бъде попълнено !", "ADDRESS");

    const bool distanceEik = !blank(row, "DIST_SELLING_EIK");
    const QString distanceRate = text(row, "DIST_SELLING_VAT").trimmed();
    const bool distanceValue = !row.value(QStringLiteral("DIST_SELLING_CASHSIZE")).isNull();
    if (distanceEik || (!distanceRate.isEmpty() && distanceRate != QLatin1String("0")) || distanceValue) {
        if (!distanceEik)
            return refusal("Моля, попълнете \"ЕИК/VAT\" !", "DIST_SELLING_EIK");
        if (distanceRate.isEmpty())
            return refusal("Моля, задайте \"Ставка/ДДС\" !", "DIST_SELLING_VAT");
        if (!distanceValue)
            return refusal("Моля, попълнете \"Стойност\" !", "DIST_SELLING_CASHSIZE");
    }

    if (blank(row, "INVOICE_CREATOR"))
        return refusal("Полето \"Съставил\" трябва да бъде попълнено !", "INVOICE_CREATOR", EditorPage::People);
    if (blank(row, "RECIEVER"))
        return refusal("Полето \"Получил\" трябва да бъде попълнено !", "RECIEVER", EditorPage::People);
    if (row.value(QStringLiteral("SELL_DATE")).isNull())
        return refusal("Полето \"Дата на дан. събитие\" не е попълнено !", "SELL_DATE", EditorPage::People);

    const bool attorneyNumber = !blank(row, "LA_NUMBER");
    const bool attorneyDate = !row.value(QStringLiteral("LA_DATE")).isNull();
    if (attorneyNumber != attorneyDate) {
        if (!attorneyNumber)
            return refusal("Полето \"Пълном. №\" не е попълнено !", "LA_NUMBER", EditorPage::People);
        return refusal("Полето \"Дата на пълном.\" не е попълнено !", "LA_DATE", EditorPage::People);
    }

    const bool card = !blank(row, "LKNO");
    const bool authority = !blank(row, "MVR");
    const bool issued = !row.value(QStringLiteral("PUBLISHED")).isNull();
    if (card || authority || issued) {
        if (!card)
            return refusal("Полето \"ЛК №\" не е попълнено !", "LKNO", EditorPage::People);
        if (!authority)
            return refusal("Полето \"МВР\" не е попълнено !", "MVR", EditorPage::People);
        if (!issued)
            return refusal("Полето \"Изд. на\" не е попълнено !", "PUBLISHED", EditorPage::People);
    }

    if (entry.bankPayment && blank(row, "ACCOUNT"))
        return refusal("Полето \"IBAN\" трябва да има стойност !", "ACCOUNT", EditorPage::People);
    if (entry.rateText.trimmed().isEmpty())
        return refusal("Полето \"Данъчна ставка\" трябва да има стойност !", "RATE", EditorPage::Rate);
    if (entry.requestedVat && blank(row, "RV_DETAILS"))
        return refusal("Моля, попълнете информацията за изискуем данък!", "RV_DETAILS", EditorPage::Circumstances);
    if (entry.newVehicle && blank(row, "NV_DETAILS"))
        return refusal("Моля, попълнете информацията за ново превозно средство !", "NV_DETAILS",
                       EditorPage::Circumstances);
    // An invoice without VAT states why none is charged.
    if (zeroRate(entry.rateText) && !entry.nonchargeVat && !entry.requestedVat && !entry.newVehicle
        && blank(row, "ZERO_VAT_GROUND"))
        return refusal("При ставка 0 % посочете основанието за неначисляване на ДДС: отбележете обстоятелство или "
                       "опишете основанието !",
                       "ZERO_VAT_GROUND", EditorPage::Circumstances);
    return std::nullopt;
}

std::optional<InvoiceRefusal> checkInvoiceLine(const QVariantHash &line)
{
    if (blank(line, "DETAIL_TEXT"))
        return refusal("Полето \"Стока / услуга\" трябва да бъде попълнено !", "DETAIL_TEXT");
    if (line.value(QStringLiteral("DETAIL_QTY")).isNull())
        return refusal("Полето \"Количество\" трябва да има стойност !", "DETAIL_QTY");
    if (line.value(QStringLiteral("DETAIL_PRICE")).isNull())
        return refusal("Полето \"Ед. цена\" трябва да има стойност !", "DETAIL_PRICE");
    return std::nullopt;
}

bool invoiceLineBlank(const QVariantHash &line)
{
    return blank(line, "DETAIL_TEXT") && blank(line, "DETAIL_MEAS") && line.value(QStringLiteral("DETAIL_QTY")).isNull()
        && line.value(QStringLiteral("DETAIL_PRICE")).isNull();
}

bool invoiceNumberTaken(data::SqlSession &session, qint64 number, int ownId)
{
    return session
               .QueryValue(QString::fromLatin1(kNumberTaken), QString(),
                           {{QStringLiteral("NUMBER"), number}, {QStringLiteral("ID"), ownId}})
               .toInt()
        > 0;
}

QString numberTakenMessage(qint64 number, qint64 proposal)
{
    return QStringLiteral("Вече има фактура или известие с № %1 !\r\nПредложен е следващият свободен № %2.")
        .arg(invoiceNumberText(number), invoiceNumberText(proposal));
}

QString footerFigure(double value, double sum, const DocumentCurrency &currency)
{
    return sum > 0 ? currency.money(value) : QStringLiteral("-");
}

QString vatCaption(const QString &rateText)
{
    return QStringLiteral("ДДС(%1%):").arg(rateText);
}

QString printLimitWarning(int printLines, bool halfPage)
{
    if (printLines <= formLineCapacity(halfPage))
        return QString();
    if (!halfPage)
        return QStringLiteral("Внимание!\r\nВъведените редове са повече от предвидените за печат!!!\r\n"
                              "Моля, намалете техният брой за да се съберат на една страница!");
    return QStringLiteral("Внимание !!!!!\r\nВъведените редове са повече от предвидените за печат!\r\n"
                          "Моля, променете формата на фактурата в \"Настройки\",\r\n"
                          "ако желаете да отпечатате повече редове!");
}

QVariantHash clientCopy(const QVariantHash &counterparty)
{
    struct Copied
    {
        const char *from;
        const char *to;
        int width;
    };
    static const Copied copied[] = {
        {"KONTR_NAME", "COMPANY", data::kInvoiceCompanySize},   {"KONTR_ADDRESS", "ADDRESS", data::kInvoiceAddressSize},
        {"KONTR_CITY", "CITY", data::kInvoicePlaceSize},        {"KONTR_DN", "DANNUM", data::kInvoiceIdNumberSize},
        {"KONTR_BULSTAT", "BULSTAT", data::kInvoiceIdNumberSize}, {"KONTR_MOL", "MOL", data::kInvoicePersonSize},
        {"KONTR_NOTE", "NOTES", data::kInvoiceNotesSize},
    };
    QVariantHash row;
    for (const Copied &column : copied) {
        const QString value = text(counterparty, column.from).left(column.width);
        row.insert(QString::fromLatin1(column.to), value.isEmpty() ? QVariant() : QVariant(value));
    }
    return row;
}

std::optional<InvoiceRefusal> checkStoredStatus(const QVariantHash &stored, const QVariantHash &edited)
{
    const int was = stored.value(QStringLiteral("IS_WAITING")).toInt();
    if (was == kStatusWaiting)
        return std::nullopt;
    const QString number = shownNumber(stored.value(QStringLiteral("NUMBER")));
    const QString state = was == kStatusCancelled ? QStringLiteral("анулиран") : QStringLiteral("издаден");
    if (edited.value(QStringLiteral("NUMBER")).toLongLong() != stored.value(QStringLiteral("NUMBER")).toLongLong())
        return InvoiceRefusal{
            QStringLiteral("Документ № %1 е %2 и номерът му не може да бъде променен.").arg(number, state),
            QStringLiteral("NUMBER")};
    const int becomes = edited.value(QStringLiteral("IS_WAITING")).toInt();
    if (was == kStatusCancelled && becomes != kStatusCancelled)
        return InvoiceRefusal{QStringLiteral("Документ № %1 е анулиран и не може да бъде възстановен.").arg(number),
                              QStringLiteral("IS_WAITING")};
    if (becomes == kStatusWaiting)
        return InvoiceRefusal{QStringLiteral("Документ № %1 е издаден и може само да бъде анулиран.").arg(number),
                              QStringLiteral("IS_WAITING")};
    return std::nullopt;
}

bool invoiceCancelled(const QVariantHash &row)
{
    return row.value(QStringLiteral("IS_WAITING")).toInt() == kStatusCancelled;
}

QString deletionRefusal(data::SqlSession &session, int invoiceId)
{
    const std::optional<InvoiceState> state = invoiceState(session, invoiceId);
    if (!state)
        return QString();
    const QString number = shownNumber(state->number);
    if (state->status != kStatusWaiting) {
        const bool cancelled = state->status == kStatusCancelled;
        if (state->notification)
            return cancelled ? QStringLiteral("Известие № %1 е анулирано и не може да бъде изтрито.").arg(number)
                             : QStringLiteral("Известие № %1 е издадено и не може да бъде изтрито. "
                                              "Анулирайте го (статус \"Анулирана\").")
                                   .arg(number);
        return cancelled ? QStringLiteral("Фактура № %1 е анулирана и не може да бъде изтрита.").arg(number)
                         : QStringLiteral("Фактура № %1 е издадена и не може да бъде изтрита. "
                                          "Анулирайте я (статус \"Анулирана\").")
                               .arg(number);
    }
    const QString referred = cancellationRefusal(session, state->number.toLongLong(), invoiceId);
    if (!referred.isEmpty())
        return referred;
    const QVariant next =
        session.QueryValue(QString::fromLatin1(kNextNumber), QString(), {{QStringLiteral("NUMBER"), state->number}});
    if (!next.isNull())
        return QStringLiteral("Документ № %1 не може да бъде изтрит: след него има документ № %2.")
            .arg(number, shownNumber(next));
    return QString();
}

QString cancellationRefusal(data::SqlSession &session, qint64 number, int ownId)
{
    const QVariant notification =
        session.QueryValue(QString::fromLatin1(kStandingNotification), QString(),
                           {{QStringLiteral("REFERENCE"), invoiceNumberText(number)}, {QStringLiteral("ID"), ownId}});
    if (notification.isNull())
        return QString();
    return QStringLiteral("Към документ № %1 има известие № %2; той не може да бъде изтрит или анулиран, докато "
                          "известието не е анулирано.")
        .arg(invoiceNumberText(number), shownNumber(notification));
}

void cancelInvoice(data::SqlSession &session, int invoiceId)
{
    const std::optional<InvoiceState> state = invoiceState(session, invoiceId);
    if (!state)
        throw varnex::Error(QStringLiteral("Документът вече не съществува."));
    const QString refused = cancellationRefusal(session, state->number.toLongLong(), invoiceId);
    if (!refused.isEmpty())
        throw varnex::Error(refused);
    session.ExecSQL(QString::fromLatin1(kCancel), {{QStringLiteral("ID"), invoiceId}});
}

std::vector<RecentValue> recentValues(const QVariantHash &row)
{
    struct Recorded
    {
        int list;
        const char *column;
        int maxCount;
    };
    static const Recorded recorded[] = {
        {1, "PLACE", 300}, {2, "COMPANY", 500}, {3, "ADDRESS", 500}, {4, "MOL", 500},
        {4, "RECIEVER", 500}, {5, "MVR", 50}, {kCreatorsList, "INVOICE_CREATOR", kCreatorsListSize},
    };
    std::vector<RecentValue> values;
    for (const Recorded &entry : recorded) {
        const QString value = text(row, entry.column).trimmed();
        if (!value.isEmpty())
            values.push_back({entry.list, value, entry.maxCount});
    }
    return values;
}

void removeLinesOfUnstoredInvoice(data::SqlSession &session, int invoiceId)
{
    session.ExecSQL(QString::fromLatin1(kLinesOfUnstored), {{QStringLiteral("INVOICE_ID"), invoiceId}});
}

int abandonedLineCount(data::SqlSession &session)
{
    return session.QueryValue(QString::fromLatin1(kAbandonedCount)).toInt();
}

void removeAbandonedLines(data::SqlSession &session)
{
    session.ExecSQL(QString::fromLatin1(kAbandonedDelete));
}

ListCondition invoiceListCondition(const InvoiceListFilter &filter, QChar separator)
{
    ListCondition result;
    QStringList parts;
    QString description;
    switch (filter.tab) {
    case StatusTab::All:
        break;
    case StatusTab::Issued:
        parts << QStringLiteral("(IS_WAITING = 0)");
        description = QStringLiteral("Издадени ");
        break;
    case StatusTab::Waiting:
        parts << QStringLiteral("(IS_WAITING = 1)");
        description = QStringLiteral("Чакащи ");
        break;
    case StatusTab::Cancelled:
        parts << QStringLiteral("(IS_WAITING = 2)");
        description = QStringLiteral("Анулирани ");
        break;
    }
    const QString dateFormat = QStringLiteral("dd%1MM%1yyyy").arg(separator);
    if (filter.from.isValid()) {
        parts << QStringLiteral("(IDATE >= :FILTER_FROM)");
        result.params.insert(QStringLiteral("FILTER_FROM"), filter.from);
        description += QStringLiteral(" от дата ") + filter.from.toString(dateFormat);
    }
    if (filter.to.isValid()) {
        parts << QStringLiteral("(IDATE <= :FILTER_TO)");
        result.params.insert(QStringLiteral("FILTER_TO"), filter.to);
        description += QStringLiteral(" до дата ") + filter.to.toString(dateFormat);
    }
    if (!filter.client.isEmpty()) {
        parts << QStringLiteral("(COMPANY = :FILTER_CLIENT)");
        result.params.insert(QStringLiteral("FILTER_CLIENT"), filter.client);
        description += QStringLiteral(" за клиент ") + filter.client;
    }
    if (!filter.idNumber.isEmpty()) {
        parts << QStringLiteral("(DANNUM = :FILTER_DANNUM)");
        result.params.insert(QStringLiteral("FILTER_DANNUM"), filter.idNumber);
        description += QStringLiteral(" с ИН/ЕГН ") + filter.idNumber;
    }
    if (!parts.isEmpty())
        result.condition = QStringLiteral("(1=1) and ") + parts.join(QStringLiteral(" and "));
    result.description = description.trimmed();
    return result;
}

QString invoiceListTitle(const QString &description)
{
    const QString shown = description.trimmed();
    return shown.isEmpty() ? QStringLiteral("Фактури") : QStringLiteral("Фактури [%1]").arg(shown);
}

std::pair<QDate, QDate> periodDates(Period period, const QDate &today)
{
    switch (period) {
    case Period::Today:
        return {today, today};
    case Period::Yesterday:
        return {today.addDays(-1), today.addDays(-1)};
    case Period::ThisWeek: {
        // Sunday is day 1 of the week here, Monday day 2.
        const int weekday = today.dayOfWeek() % 7 + 1;
        return {today.addDays(2 - weekday), today.addDays(8 - weekday)};
    }
    case Period::ThisMonth:
        return {QDate(today.year(), today.month(), 1), QDate(today.year(), today.month(), today.daysInMonth())};
    }
    return {today, today};
}

bool searchMatches(SearchField field, const QVariant &value, const QString &text)
{
    if (field == SearchField::None || value.isNull())
        return false;
    const QString shown = field == SearchField::Number ? QString::number(value.toLongLong()) : value.toString();
    return shown.contains(text, Qt::CaseInsensitive);
}

QString searchColumn(SearchField field)
{
    switch (field) {
    case SearchField::Number:
        return QStringLiteral("NUMBER");
    case SearchField::Client:
        return QStringLiteral("COMPANY");
    case SearchField::IdNumber:
        return QStringLiteral("DANNUM");
    case SearchField::None:
        break;
    }
    return QString();
}

QString searchNotice(SearchField field, bool next)
{
    switch (field) {
    case SearchField::Number:
        return next ? QStringLiteral("Друг такъв номер не е намерен!") : QStringLiteral("Търсеният номер не е намерен!");
    case SearchField::Client:
        return next ? QStringLiteral("Друг такъв клиент не е намерен!")
                    : QStringLiteral("Няма такъв клиент в показаните записи!");
    case SearchField::IdNumber:
        return next ? QStringLiteral("Друг такъв ИН/ЕГН не е намерен!") : QStringLiteral("Такъв ИН/ЕГН не е намерен!");
    case SearchField::None:
        break;
    }
    return next ? QStringLiteral("МОЛЯ, задайте критерий за търсене !")
                : QStringLiteral("МОЛЯ, задайте критерий за търсене!");
}

QString prefillClientBoardName()
{
    return QStringLiteral("INVOICES::CLIENT_ID");
}

QString prefillLinesBoardName()
{
    return QStringLiteral("INVOICES::LINES");
}

QVariant prefillLinesValue(const std::vector<InvoicePrefill::Line> &lines)
{
    QVariantList list;
    for (const InvoicePrefill::Line &line : lines)
        list << QVariant(QVariantList{line.text, line.unit, line.quantity, line.price});
    return list;
}

std::vector<InvoicePrefill::Line> prefillLines(const QVariant &value)
{
    std::vector<InvoicePrefill::Line> lines;
    for (const QVariant &item : value.toList()) {
        const QVariantList line = item.toList();
        if (line.size() < 4)
            continue;
        lines.push_back({line.at(0).toString(), line.at(1).toString(), line.at(2).toDouble(), line.at(3).toDouble()});
    }
    return lines;
}

} // namespace invoicing
