#include "data/EuroChangeover.h"

#include "data/OtherConnections.h"
#include "data/SqlSession.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "util/Error.h"

#include <cmath>
#include <vector>

namespace data {

const double kLevaPerEuro = 1.95583;
const char *const kEuroChangeoverKeyName = "EURO_CHANGEOVER";

namespace {

const char *const kKeyRegistered = "select 1 from APP_CONFIG_KEYS where KEY_ID = :KEY_ID";
const char *const kRecord = "select KEY_VALUE from APP_CONFIG where KEY_ID = :KEY_ID";
const char *const kWriteRecord =
    "update or insert into APP_CONFIG (KEY_ID, KEY_VALUE) values (:KEY_ID, :KEY_VALUE) matching (KEY_ID)";
const char *const kPricedGoods = "select NOM_ID, SELL_PRICE from NOM where SELL_PRICE <> 0";
const char *const kDocuments = "select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO from TRANZ where TRANZ_TIME < :DAY";
// Lines belong to a document's date through their header; lines without
// one were never part of a stored document and are left as they are.
const char *const kLines =
    "select r.TRANZ_RED_ID, r.TRANZ_RED_CENA, r.TRANZ_RED_KOL1, r.TRANZ_RED_OTSTUPKA from TRANZ_RED r "
    "join TRANZ t on t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID where t.TRANZ_TIME < :DAY and r.TRANZ_RED_CENA <> 0";
const char *const kUpdateGoods = "update NOM set SELL_PRICE = :PRICE where NOM_ID = :ID";
const char *const kUpdateDocument = "update TRANZ set TRANZ_SUM = :SUM, TRANZ_PLATENO = :PAID where TRANZ_ID = :ID";
const char *const kUpdateLine = "update TRANZ_RED set TRANZ_RED_CENA = :PRICE where TRANZ_RED_ID = :ID";
// The changeover restates the paid amounts; it pays nothing, so the trigger
// that dates every payment is told to leave it out.
const char *const kNoPaymentRecord =
    "select rdb$set_context('USER_TRANSACTION', 'VARNEX_NO_PAYMENT_RECORD', 1) from rdb$database";
const char *const kPaymentRecordsExist = "select 1 from RDB$RELATIONS where RDB$RELATION_NAME = 'TRANZ_PAYMENTS'";
const char *const kPaymentRecords =
    "select p.PAYMENT_ID, p.AMOUNT from TRANZ_PAYMENTS p join TRANZ t on t.TRANZ_ID = p.TRANZ_ID "
    "where t.TRANZ_TIME < :DAY";
const char *const kUpdatePayment = "update TRANZ_PAYMENTS set AMOUNT = :AMOUNT where PAYMENT_ID = :ID";

const int kPriceDecimals = 4;
const int kAmountDecimals = 2;

// The rate as a whole number of hundred-millionths of a lev, the scale the
// amounts are read at.
const long long kScale = 100000000LL;
const long long kRateScaled = 195583000LL;

__int128 powerOfTen(int decimals)
{
    __int128 power = 1;
    for (int i = 0; i < decimals; ++i)
        power *= 10;
    return power;
}

struct DocumentChange
{
    int id = 0;
    DocumentAmounts euro;
};

struct PriceChange
{
    int id = 0;
    double price = 0;
};

struct Conversion
{
    EuroChangeoverSummary summary;
    std::vector<PriceChange> goods;
    std::vector<DocumentChange> documents;
    std::vector<PriceChange> lines;
};

double number(const QVariant &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// The first column of the row found for the key; none without a row.
std::optional<QString> valueOf(db::Attachment &attachment, db::Transaction &transaction, const char *sql)
{
    db::Statement statement(attachment, transaction);
    statement.prepare(QString::fromLatin1(sql));
    statement.setParameter(QStringLiteral("KEY_ID"), kEuroChangeoverKey);
    statement.execute();
    std::optional<QString> value;
    if (statement.fetch())
        value = statement.value(0).toString();
    statement.close();
    return value;
}

bool keyRegistered(db::Attachment &attachment, db::Transaction &transaction)
{
    return valueOf(attachment, transaction, kKeyRegistered).has_value();
}

std::optional<EuroChangeoverRecord> recordIn(db::Attachment &attachment, db::Transaction &transaction)
{
    return parseEuroChangeoverValue(valueOf(attachment, transaction, kRecord).value_or(QString()));
}

void refuseUnlessLeva(db::Attachment &attachment, db::Transaction &transaction)
{
    if (!keyRegistered(attachment, transaction))
        throw varnex::Error(QStringLiteral("Структурата на базата данни е по-стара от тази на програмата. Обновете "
                                           "базата данни и опитайте отново."));
    if (const auto record = recordIn(attachment, transaction))
        throw varnex::Error(alreadyInEuroText(*record));
}

Conversion readConversion(db::Attachment &attachment, db::Transaction &transaction, const QDate &day)
{
    Conversion conversion;
    conversion.summary.day = day;
    MoneyTotals &leva = conversion.summary.leva;
    MoneyTotals &euro = conversion.summary.euro;
    const QDateTime dayStart(day, QTime(0, 0));

    db::Statement goods(attachment, transaction);
    goods.prepare(QString::fromLatin1(kPricedGoods));
    goods.execute();
    while (goods.fetch()) {
        const double price = goods.value(1).toDouble();
        const PriceChange change{goods.value(0).toInt(), levaToEuro(price, kPriceDecimals)};
        ++leva.goods;
        leva.sellPrices += price;
        euro.sellPrices += change.price;
        conversion.goods.push_back(change);
    }
    goods.close();
    euro.goods = leva.goods;

    db::Statement documents(attachment, transaction);
    documents.prepare(QString::fromLatin1(kDocuments));
    documents.setParameter(QStringLiteral("DAY"), dayStart);
    documents.execute();
    while (documents.fetch()) {
        const double sum = number(documents.value(1));
        const double paid = number(documents.value(2));
        const DocumentChange change{documents.value(0).toInt(), documentAmountsInEuro(sum, paid)};
        ++leva.documents;
        leva.sums += sum;
        leva.paid += paid;
        euro.sums += change.euro.sum;
        euro.paid += change.euro.paid;
        // A null stays null: the program reads it as nought either way.
        if (!documents.value(1).isNull() && !documents.value(2).isNull() && (sum != 0 || paid != 0))
            conversion.documents.push_back(change);
    }
    documents.close();
    euro.documents = leva.documents;

    db::Statement lines(attachment, transaction);
    lines.prepare(QString::fromLatin1(kLines));
    lines.setParameter(QStringLiteral("DAY"), dayStart);
    lines.execute();
    while (lines.fetch()) {
        const double price = lines.value(1).toDouble();
        const double quantity = number(lines.value(2));
        const double kept = 1 - number(lines.value(3));
        const PriceChange change{lines.value(0).toInt(), levaToEuro(price, kPriceDecimals)};
        ++leva.lines;
        leva.lineValue += quantity * price * kept;
        euro.lineValue += quantity * change.price * kept;
        conversion.lines.push_back(change);
    }
    lines.close();
    euro.lines = leva.lines;
    return conversion;
}

void writePrices(db::Attachment &attachment, db::Transaction &transaction, const char *sql,
                 const std::vector<PriceChange> &changes)
{
    db::Statement update(attachment, transaction);
    update.prepare(QString::fromLatin1(sql));
    for (const PriceChange &change : changes) {
        update.setParameter(QStringLiteral("PRICE"), change.price);
        update.setParameter(QStringLiteral("ID"), change.id);
        update.execute();
    }
}

void writeDocuments(db::Attachment &attachment, db::Transaction &transaction,
                    const std::vector<DocumentChange> &changes)
{
    db::Statement update(attachment, transaction);
    update.prepare(QString::fromLatin1(kUpdateDocument));
    for (const DocumentChange &change : changes) {
        update.setParameter(QStringLiteral("SUM"), change.euro.sum);
        update.setParameter(QStringLiteral("PAID"), change.euro.paid);
        update.setParameter(QStringLiteral("ID"), change.id);
        update.execute();
    }
}

// The dated payments of the converted documents, each by itself as their
// documents' paid amounts are.
void convertPaymentRecords(db::Attachment &attachment, db::Transaction &transaction, const QDate &day)
{
    std::vector<PriceChange> changes;
    {
        db::Statement exists(attachment, transaction);
        exists.prepare(QString::fromLatin1(kPaymentRecordsExist));
        exists.execute();
        const bool found = exists.fetch();
        exists.close();
        if (!found)
            return;
        db::Statement records(attachment, transaction);
        records.prepare(QString::fromLatin1(kPaymentRecords));
        records.setParameter(QStringLiteral("DAY"), QDateTime(day, QTime(0, 0)));
        records.execute();
        while (records.fetch())
            changes.push_back({records.value(0).toInt(), levaToEuro(records.value(1).toDouble(), kAmountDecimals)});
        records.close();
    }
    db::Statement update(attachment, transaction);
    update.prepare(QString::fromLatin1(kUpdatePayment));
    for (const PriceChange &change : changes) {
        update.setParameter(QStringLiteral("AMOUNT"), change.price);
        update.setParameter(QStringLiteral("ID"), change.id);
        update.execute();
    }
}

QString money(double value, int decimals = kAmountDecimals)
{
    return QString::number(value, 'f', decimals);
}

QString totalsLine(const MoneyTotals &totals, const QString &sign)
{
    return QStringLiteral("  продажни цени на %1 стоки: %2 %7; %3 документа: суми %4, платено %5, неплатено %6 %7; "
                          "стойност на %8 реда: %9 %7\n")
        .arg(totals.goods)
        .arg(money(totals.sellPrices, kPriceDecimals))
        .arg(totals.documents)
        .arg(money(totals.sums), money(totals.paid), money(totals.outstanding()), sign)
        .arg(totals.lines)
        .arg(money(totals.lineValue));
}

} // namespace

QDate euroDay()
{
    return QDate(2026, 1, 1);
}

double levaToEuro(double leva, int decimals)
{
    const long double scaled = std::round(static_cast<long double>(leva) * kScale);
    const __int128 power = powerOfTen(decimals);
    if (!(std::fabs(scaled) < 9.0e18L)) // beyond any amount a company books; still converted, in binary
        return std::round(leva / kLevaPerEuro * double(power)) / double(power);
    const __int128 amount = static_cast<long long>(scaled);
    const __int128 magnitude = (amount < 0 ? -amount : amount) * power;
    const __int128 rounded = (2 * magnitude + kRateScaled) / (2 * __int128(kRateScaled));
    const double result = double(static_cast<long long>(rounded)) / double(power);
    return amount < 0 ? -result : result;
}

DocumentAmounts documentAmountsInEuro(double sum, double paid)
{
    DocumentAmounts euro;
    euro.sum = levaToEuro(sum, kAmountDecimals);
    const double outstanding = levaToEuro(sum - paid, kAmountDecimals);
    // Both are whole cents; rounding again drops the binary remainder of
    // the difference.
    euro.paid = std::round((euro.sum - outstanding) * 100.0) / 100.0;
    return euro;
}

std::optional<EuroChangeoverRecord> euroChangeover(SqlSession &session)
{
    return parseEuroChangeoverValue(
        session.QueryValue(QString::fromLatin1(kRecord), QString(), {{QStringLiteral("KEY_ID"), kEuroChangeoverKey}})
            .toString());
}

QString euroChangeoverValue(const EuroChangeoverRecord &record)
{
    return record.day.toString(Qt::ISODate) + QLatin1Char(';') + record.moment.toString(Qt::ISODate);
}

std::optional<EuroChangeoverRecord> parseEuroChangeoverValue(const QString &value)
{
    const QStringList parts = value.trimmed().split(QLatin1Char(';'));
    if (parts.size() != 2)
        return std::nullopt;
    EuroChangeoverRecord record{QDate::fromString(parts.at(0), Qt::ISODate),
                                QDateTime::fromString(parts.at(1), Qt::ISODate)};
    if (!record.day.isValid())
        return std::nullopt;
    return record;
}

QString alreadyInEuroText(const EuroChangeoverRecord &record)
{
    const QString moment = record.moment.isValid() ? record.moment.toString(QStringLiteral("dd.MM.yyyy HH:mm"))
                                                   : QStringLiteral("неизвестен момент");
    return QStringLiteral("Базата данни вече е в евро: преминаването е записано на %1 (за документите преди %2).")
        .arg(moment, record.day.toString(QStringLiteral("dd.MM.yyyy")));
}

QString euroChangeoverSummaryText(const EuroChangeoverSummary &summary)
{
    return QStringLiteral("Преминаване към евро (1 EUR = 1.95583 лв.), документи преди %1:\n")
               .arg(summary.day.toString(QStringLiteral("dd.MM.yyyy")))
           + QStringLiteral("Преди:\n") + totalsLine(summary.leva, QStringLiteral("лв."))
           + QStringLiteral("След:\n") + totalsLine(summary.euro, QStringLiteral("EUR"))
           + QStringLiteral("Фактурите и известията не се променят.\n");
}

void requireLevaDatabase(db::Attachment &attachment)
{
    db::Transaction transaction(attachment);
    transaction.start();
    refuseUnlessLeva(attachment, transaction);
    transaction.commit();
}

EuroChangeoverSummary planEuroChangeover(db::Attachment &attachment, const QDate &day)
{
    db::Transaction transaction(attachment);
    transaction.start();
    refuseUnlessLeva(attachment, transaction);
    const EuroChangeoverSummary summary = readConversion(attachment, transaction, day).summary;
    transaction.commit();
    return summary;
}

EuroChangeoverSummary convertToEuro(db::Attachment &attachment, const QDate &day, const QDateTime &moment)
{
    if (!day.isValid())
        throw varnex::Error(QStringLiteral("Датата на преминаване към евро не е вярна."));
    requireSoleConnection(attachment);
    db::Transaction transaction(attachment);
    transaction.start();
    refuseUnlessLeva(attachment, transaction);
    // The record is written first: a second changeover running at the same
    // moment meets it as a conflict at once instead of converting twice.
    {
        db::Statement record(attachment, transaction);
        record.prepare(QString::fromLatin1(kWriteRecord));
        record.setParameter(QStringLiteral("KEY_ID"), kEuroChangeoverKey);
        record.setParameter(QStringLiteral("KEY_VALUE"), euroChangeoverValue({day, moment}));
        record.execute();
    }
    {
        db::Statement quiet(attachment, transaction);
        quiet.prepare(QString::fromLatin1(kNoPaymentRecord));
        quiet.execute();
        quiet.fetch();
        quiet.close();
    }
    const Conversion conversion = readConversion(attachment, transaction, day);
    convertPaymentRecords(attachment, transaction, day);
    writePrices(attachment, transaction, kUpdateGoods, conversion.goods);
    writeDocuments(attachment, transaction, conversion.documents);
    writePrices(attachment, transaction, kUpdateLine, conversion.lines);
    transaction.commit();
    return conversion.summary;
}

} // namespace data
