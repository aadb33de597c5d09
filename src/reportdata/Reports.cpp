#include "reportdata/Reports.h"

#include "data/SqlSession.h"
#include "data/StockSnapshots.h"
#include "invoicing/DocumentCurrency.h"
#include "invoicing/SalesLedger.h"
#include "payments/Outstanding.h"
#include "reportdata/SalesLedgerReport.h"
#include "util/Error.h"

#include <QDateTime>

namespace reportdata {

namespace {

constexpr int kSale = payments::kSaleType;
constexpr int kDelivery = payments::kDeliveryType;

QString dayText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// Documents are dated by a timestamp: a day's documents are those from its
// midnight up to the next one.
QDateTime startOf(const QDate &date)
{
    return QDateTime(date, QTime(0, 0));
}

QString periodText(const QDate &from, const QDate &to)
{
    return QStringLiteral("от %1 до %2").arg(dayText(from), dayText(to));
}

void checkPeriod(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid())
        throw varnex::Error(QStringLiteral("Изберете начална и крайна дата!"));
    if (from > to)
        throw varnex::Error(QStringLiteral("Началната дата е след крайната!"));
}

void checkDate(const QDate &date)
{
    if (!date.isValid())
        throw varnex::Error(QStringLiteral("Изберете дата!"));
}

data::SqlParams periodParams(const QDate &from, const QDate &to)
{
    return {{QStringLiteral("FROM_TIME"), startOf(from)}, {QStringLiteral("UNTIL_TIME"), startOf(to.addDays(1))}};
}

double number(const QVariant &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// The goods, and beside them their stock and newest delivery price.
const char *const kStockGoods =
    "select n.NOM_ID, n.NOM_CODE, n.NOM_NAME, m.MERKI_ZNAK from NOM n\r\n"
    "left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1\r\n"
    "where n.NOM_ID > 0 and n.NOM_INREPORT = 1\r\n"
    "order by n.NOM_CODE, n.NOM_ID";

const char *const kGoodsItem =
    "select n.NOM_CODE, n.NOM_NAME, m.MERKI_ZNAK from NOM n left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1 "
    "where n.NOM_ID = :NOM_ID";

const char *const kBalanceBefore =
    "select sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) from TRANZ_RED r\r\n"
    "join TRANZ t on t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID\r\n"
    "where r.TRANZ_RED_NOM_ID = :NOM_ID and t.TRANZ_TIME < :FROM_TIME";

const char *const kCardLines =
    "select t.TRANZ_TIME, tt.TRANZ_TYPES_NAME, t.TRANZ_DOCNO, k.KONTR_NAME, r.TRANZ_RED_TYPE_ID, r.TRANZ_RED_IZNESENO\r\n"
    "from TRANZ_RED r join TRANZ t on t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID\r\n"
    "left join TRANZ_TYPES tt on tt.TRANZ_TYPES_ID = t.TRANZ_TYPE_ID\r\n"
    "left join KONTR k on k.KONTR_ID = t.TRANZ_KONT_ID and k.KONTR_ID > 0\r\n"
    "where r.TRANZ_RED_NOM_ID = :NOM_ID and t.TRANZ_TIME >= :FROM_TIME and t.TRANZ_TIME < :UNTIL_TIME\r\n"
    "order by t.TRANZ_TIME, t.TRANZ_ID, r.TRANZ_RED_ID";

const char *const kSalesByGoods =
    "select n.NOM_CODE, n.NOM_NAME, m.MERKI_ZNAK, s.QTY, s.AMOUNT from\r\n"
    "(select r.TRANZ_RED_NOM_ID as NOM_ID, sum(r.TRANZ_RED_KOL1) as QTY,\r\n"
    "  sum(r.TRANZ_RED_KOL1 * r.TRANZ_RED_CENA * (1 - coalesce(r.TRANZ_RED_OTSTUPKA, 0))) as AMOUNT\r\n"
    "  from TRANZ_RED r join TRANZ t on t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID\r\n"
    "  where t.TRANZ_TYPE_ID = 11 and r.TRANZ_RED_TYPE_ID = -1\r\n"
    "  and t.TRANZ_TIME >= :FROM_TIME and t.TRANZ_TIME < :UNTIL_TIME\r\n"
    "  group by r.TRANZ_RED_NOM_ID) s\r\n"
    "left join NOM n on n.NOM_ID = s.NOM_ID\r\n"
    "left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1\r\n"
    "order by n.NOM_CODE, s.NOM_ID";

const char *const kDocumentsByCounterparty =
    "select k.KONTR_CODE, k.KONTR_NAME, s.DOCS, s.AMOUNT from\r\n"
    "(select t.TRANZ_KONT_ID as KONTR_ID, count(*) as DOCS, sum(t.TRANZ_SUM) as AMOUNT from TRANZ t\r\n"
    "  where t.TRANZ_TYPE_ID = :TRANZ_TYPE and t.TRANZ_TIME >= :FROM_TIME and t.TRANZ_TIME < :UNTIL_TIME\r\n"
    "  group by t.TRANZ_KONT_ID) s\r\n"
    "left join KONTR k on k.KONTR_ID = s.KONTR_ID\r\n"
    "order by k.KONTR_NAME, s.KONTR_ID";

// The open part of each document split by the days from its due date to
// the day of reckoning, in the buckets of the payments window.
const char *const kAgeing =
    "select k.KONTR_CODE, k.KONTR_NAME, s.DOCS, s.OPEN_SUM, s.NOT_DUE, s.DUE30, s.DUE60, s.DUE90, s.DUE_MORE from\r\n"
    "(select a.KONTR_ID, count(*) as DOCS, sum(a.OPEN_PART) as OPEN_SUM,\r\n"
    "  sum(case when a.DAYS <= 0 then a.OPEN_PART else 0 end) as NOT_DUE,\r\n"
    "  sum(case when a.DAYS between 1 and 30 then a.OPEN_PART else 0 end) as DUE30,\r\n"
    "  sum(case when a.DAYS between 31 and 60 then a.OPEN_PART else 0 end) as DUE60,\r\n"
    "  sum(case when a.DAYS between 61 and 90 then a.OPEN_PART else 0 end) as DUE90,\r\n"
    "  sum(case when a.DAYS > 90 then a.OPEN_PART else 0 end) as DUE_MORE\r\n"
    "  from (select d.KONTR_ID, d.SUM_DUE - d.PAID_ON as OPEN_PART, d.DAYS from\r\n"
    "    (select t.TRANZ_KONT_ID as KONTR_ID, t.TRANZ_SUM as SUM_DUE,\r\n"
    "      coalesce(t.TRANZ_PLATENO, 0) - coalesce((select sum(p.AMOUNT) from TRANZ_PAYMENTS p\r\n"
    "        where p.TRANZ_ID = t.TRANZ_ID and p.PAID_AT >= :UNTIL_TIME), 0) as PAID_ON,\r\n"
    "      cast(:AS_OF as date) - coalesce(t.TRANZ_PADEJ, cast(t.TRANZ_TIME as date)) as DAYS\r\n"
    "      from TRANZ t where t.TRANZ_TYPE_ID = :TRANZ_TYPE and t.TRANZ_TIME < :UNTIL_TIME) d\r\n"
    "    where d.SUM_DUE - d.PAID_ON > 0.0001) a\r\n"
    "  group by a.KONTR_ID) s\r\n"
    "left join KONTR k on k.KONTR_ID = s.KONTR_ID\r\n"
    "order by k.KONTR_NAME, s.KONTR_ID";

const char *const kGoodsChoices = "select NOM_ID, NOM_CODE, NOM_NAME from NOM where NOM_ID > 0 order by NOM_CODE, NOM_ID";

ReportColumn column(const QString &title, CellFormat format, int width, int digits = 0)
{
    return {title, format, width, digits};
}

ReportTable documentsByCounterparty(data::SqlSession &session, int type, const QString &title,
                                    const QString &counterparty, const QDate &from, const QDate &to)
{
    checkPeriod(from, to);
    ReportTable table;
    table.title = title;
    table.parameters = QStringLiteral("Период: %1").arg(periodText(from, to));
    table.columns = {column(QStringLiteral("Код"), CellFormat::Code, 7, 5), column(counterparty, CellFormat::Text, 40),
                     column(QStringLiteral("Документи"), CellFormat::Count, 10),
                     column(QStringLiteral("Стойност"), CellFormat::Money, 14)};
    data::SqlParams params = periodParams(from, to);
    params.insert(QStringLiteral("TRANZ_TYPE"), type);
    qint64 documents = 0;
    double amount = 0;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kDocumentsByCounterparty), params)) {
        documents += row.at(2).toLongLong();
        amount += number(row.at(3));
        table.rows.push_back({row.at(0), row.at(1), row.at(2).toLongLong(), number(row.at(3))});
    }
    table.totals = {QVariant(), QStringLiteral("Общо"), documents, amount};
    return table;
}

ReportTable ageing(data::SqlSession &session, int type, const QString &title, const QString &counterparty,
                   const QDate &date, const QDate &today)
{
    checkDate(date);
    ReportTable table;
    table.title = title;
    table.parameters = QStringLiteral("Към %1").arg(dayText(date));
    // What was paid after the day is taken back by its dated records.
    // Payments made before the records were kept have no date, so a look
    // back still counts them as paid then.
    if (date < today)
        table.parameters +=
            QStringLiteral("; платеното е към края на деня, а плащанията без записана дата — към %1").arg(dayText(today));
    table.columns = {column(QStringLiteral("Код"), CellFormat::Code, 7, 5), column(counterparty, CellFormat::Text, 30),
                     column(QStringLiteral("Документи"), CellFormat::Count, 9),
                     column(QStringLiteral("Остатък"), CellFormat::Money, 12)};
    for (int bucket = payments::NotDue; bucket < payments::AgeingBucketCount; ++bucket)
        table.columns.push_back(
            column(payments::ageingCaption(payments::AgeingBucket(bucket)), CellFormat::Money, 12));
    const data::SqlParams params{{QStringLiteral("TRANZ_TYPE"), type},
                                 {QStringLiteral("AS_OF"), date},
                                 {QStringLiteral("UNTIL_TIME"), startOf(date.addDays(1))}};
    std::vector<double> sums(table.columns.size(), 0.0);
    qint64 documents = 0;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kAgeing), params)) {
        QVariantList values{row.at(0), row.at(1), row.at(2).toLongLong()};
        documents += row.at(2).toLongLong();
        for (int i = 3; i < row.size(); ++i) {
            values << number(row.at(i));
            sums[size_t(i)] += number(row.at(i));
        }
        table.rows.push_back(values);
    }
    table.totals = {QVariant(), QStringLiteral("Общо"), documents};
    for (size_t i = 3; i < sums.size(); ++i)
        table.totals << sums[i];
    return table;
}

} // namespace

const std::vector<ReportEntry> &reportCatalogue()
{
    static const std::vector<ReportEntry> catalogue{
        {ReportKind::StockOnHand, QStringLiteral("Наличност към дата"), QStringLiteral("Склад"), ParameterKind::Date},
        {ReportKind::StockCard, QStringLiteral("Движение на стока"), QStringLiteral("Склад"),
         ParameterKind::GoodsAndPeriod},
        {ReportKind::SalesByGoods, QStringLiteral("Продажби по стоки"), QStringLiteral("Продажби"),
         ParameterKind::Period},
        {ReportKind::SalesByBuyer, QStringLiteral("Продажби по купувачи"), QStringLiteral("Продажби"),
         ParameterKind::Period},
        {ReportKind::DeliveriesBySupplier, QStringLiteral("Доставки по доставчици"), QStringLiteral("Доставки"),
         ParameterKind::Period},
        {ReportKind::Receivables, QStringLiteral("Вземания от купувачи по падеж"), QStringLiteral("Плащания"),
         ParameterKind::Date},
        {ReportKind::Payables, QStringLiteral("Задължения към доставчици по падеж"), QStringLiteral("Плащания"),
         ParameterKind::Date},
        {ReportKind::SalesLedger, QStringLiteral("Дневник на продажбите"), QStringLiteral("Продажби"),
         ParameterKind::Month},
    };
    return catalogue;
}

ReportTable stockOnHand(data::SqlSession &session, const QDate &date)
{
    checkDate(date);
    ReportTable table;
    table.title = QStringLiteral("Наличност към дата");
    table.parameters = QStringLiteral("Към %1, по последна доставна цена").arg(dayText(date));
    table.columns = {column(QStringLiteral("Код"), CellFormat::Code, 8, 6),
                     column(QStringLiteral("Наименование"), CellFormat::Text, 36),
                     column(QStringLiteral("Мярка"), CellFormat::Text, 7),
                     column(QStringLiteral("Количество"), CellFormat::Quantity, 12),
                     column(QStringLiteral("Ед. цена"), CellFormat::Price, 12),
                     column(QStringLiteral("Стойност"), CellFormat::Money, 14)};
    const data::StockByGoods stock = data::stockBefore(session, date.addDays(1));
    double total = 0;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kStockGoods))) {
        const data::GoodsStock goods = stock.value(row.at(0).toInt());
        const bool priced = goods.newest.known();
        const double value = priced ? goods.quantity * goods.newest.price : 0.0;
        total += value;
        table.rows.push_back({row.at(1), row.at(2), row.at(3), goods.quantity,
                              priced ? QVariant(goods.newest.price) : QVariant(), value});
    }
    table.totals = {QVariant(), QStringLiteral("Общо"), QVariant(), QVariant(), QVariant(), total};
    return table;
}

ReportTable stockCard(data::SqlSession &session, int goodsId, const QDate &from, const QDate &to)
{
    checkPeriod(from, to);
    const std::vector<QVariantList> goods =
        session.QueryRows(QString::fromLatin1(kGoodsItem), {{QStringLiteral("NOM_ID"), goodsId}});
    if (goodsId <= 0 || goods.empty())
        throw varnex::Error(QStringLiteral("Изберете стока!"));
    ReportTable table;
    table.title = QStringLiteral("Движение на стока");
    table.parameters = QStringLiteral("%1 %2 (%3), %4")
                           .arg(goods[0].at(0).toInt(), 6, 10, QLatin1Char('0'))
                           .arg(goods[0].at(1).toString(), goods[0].at(2).toString(), periodText(from, to));
    table.columns = {column(QStringLiteral("Дата"), CellFormat::Date, 10),
                     column(QStringLiteral("Документ"), CellFormat::Text, 16),
                     column(QStringLiteral("Док. №"), CellFormat::Code, 8, 6),
                     column(QStringLiteral("Контрагент"), CellFormat::Text, 30),
                     column(QStringLiteral("Вход"), CellFormat::Quantity, 10),
                     column(QStringLiteral("Изход"), CellFormat::Quantity, 10),
                     column(QStringLiteral("Наличност"), CellFormat::Quantity, 11)};
    data::SqlParams params = periodParams(from, to);
    params.insert(QStringLiteral("NOM_ID"), goodsId);
    double balance = number(session.QueryValue(QString::fromLatin1(kBalanceBefore), QString(), params));
    table.rows.push_back({from, QStringLiteral("Начално салдо"), QVariant(), QVariant(), QVariant(), QVariant(), balance});
    double in = 0;
    double out = 0;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kCardLines), params)) {
        const double taken = number(row.at(5));
        const bool incoming = row.at(4).toInt() > 0;
        (incoming ? in : out) += taken;
        balance += incoming ? taken : -taken;
        table.rows.push_back({row.at(0).toDateTime().date(), row.at(1), row.at(2), row.at(3),
                              incoming ? QVariant(taken) : QVariant(), incoming ? QVariant() : QVariant(taken),
                              balance});
    }
    table.totals = {to, QStringLiteral("Крайно салдо"), QVariant(), QVariant(), in, out, balance};
    return table;
}

ReportTable salesByGoods(data::SqlSession &session, const QDate &from, const QDate &to)
{
    checkPeriod(from, to);
    ReportTable table;
    table.title = QStringLiteral("Продажби по стоки");
    table.parameters = QStringLiteral("Период: %1").arg(periodText(from, to));
    table.columns = {column(QStringLiteral("Код"), CellFormat::Code, 8, 6),
                     column(QStringLiteral("Наименование"), CellFormat::Text, 36),
                     column(QStringLiteral("Мярка"), CellFormat::Text, 7),
                     column(QStringLiteral("Количество"), CellFormat::Quantity, 12),
                     column(QStringLiteral("Стойност"), CellFormat::Money, 14)};
    double total = 0;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kSalesByGoods), periodParams(from, to))) {
        total += number(row.at(4));
        table.rows.push_back({row.at(0), row.at(1), row.at(2), number(row.at(3)), number(row.at(4))});
    }
    table.totals = {QVariant(), QStringLiteral("Общо"), QVariant(), QVariant(), total};
    return table;
}

ReportTable salesByBuyer(data::SqlSession &session, const QDate &from, const QDate &to)
{
    return documentsByCounterparty(session, kSale, QStringLiteral("Продажби по купувачи"), QStringLiteral("Купувач"),
                                   from, to);
}

ReportTable deliveriesBySupplier(data::SqlSession &session, const QDate &from, const QDate &to)
{
    return documentsByCounterparty(session, kDelivery, QStringLiteral("Доставки по доставчици"),
                                   QStringLiteral("Доставчик"), from, to);
}

ReportTable receivables(data::SqlSession &session, const QDate &date, const QDate &today)
{
    return ageing(session, kSale, QStringLiteral("Вземания от купувачи по падеж"), QStringLiteral("Купувач"), date,
                  today);
}

ReportTable payables(data::SqlSession &session, const QDate &date, const QDate &today)
{
    return ageing(session, kDelivery, QStringLiteral("Задължения към доставчици по падеж"),
                  QStringLiteral("Доставчик"), date, today);
}

namespace {

ReportTable reportFigures(data::SqlSession &session, ReportKind kind, const ReportParameters &p)
{
    switch (kind) {
    case ReportKind::StockOnHand:
        return stockOnHand(session, p.date);
    case ReportKind::StockCard:
        return stockCard(session, p.goodsId, p.from, p.to);
    case ReportKind::SalesByGoods:
        return salesByGoods(session, p.from, p.to);
    case ReportKind::SalesByBuyer:
        return salesByBuyer(session, p.from, p.to);
    case ReportKind::DeliveriesBySupplier:
        return deliveriesBySupplier(session, p.from, p.to);
    case ReportKind::Receivables:
        return receivables(session, p.date, p.today);
    case ReportKind::Payables:
        return payables(session, p.date, p.today);
    case ReportKind::SalesLedger:
        return salesLedger(session, p.month);
    }
    throw varnex::Error(QStringLiteral("Няма такава справка."));
}

} // namespace

ReportTable runReport(data::SqlSession &session, ReportKind kind, const ReportParameters &p)
{
    ReportTable table = reportFigures(session, kind, p);
    // The stock side of a database is kept in one currency, leva until its
    // changeover and euro after, whatever the dates of the documents. Invoices
    // are in the currency of their date.
    const QString currency = QStringLiteral("суми в ")
                             + (kind == ReportKind::SalesLedger ? invoicing::DocumentCurrency::on(p.month)
                                                                : invoicing::DocumentCurrency::ofDatabase(session))
                                   .sign();
    table.parameters = table.parameters.isEmpty() ? currency : table.parameters + QStringLiteral("; ") + currency;
    return table;
}

std::vector<ReportStatement> reportStatements(ReportKind kind, const ReportParameters &p)
{
    const auto sql = [](const char *text) { return QString::fromLatin1(text); };
    data::SqlParams period = periodParams(p.from, p.to);
    switch (kind) {
    case ReportKind::StockOnHand: {
        const QDate until = p.date.addDays(1);
        std::vector<ReportStatement> sent;
        for (const auto &statement : data::stockBeforeStatements(data::monthToRead(until, p.today), until))
            sent.push_back({statement.first, statement.second});
        sent.push_back({sql(kStockGoods), {}});
        return sent;
    }
    case ReportKind::StockCard:
        period.insert(QStringLiteral("NOM_ID"), p.goodsId);
        return {{sql(kGoodsItem), {{QStringLiteral("NOM_ID"), p.goodsId}}},
                {sql(kBalanceBefore), period},
                {sql(kCardLines), period}};
    case ReportKind::SalesByGoods:
        return {{sql(kSalesByGoods), period}};
    case ReportKind::SalesByBuyer:
    case ReportKind::DeliveriesBySupplier:
        period.insert(QStringLiteral("TRANZ_TYPE"), kind == ReportKind::SalesByBuyer ? kSale : kDelivery);
        return {{sql(kDocumentsByCounterparty), period}};
    case ReportKind::Receivables:
    case ReportKind::Payables:
        return {{sql(kAgeing),
                 {{QStringLiteral("TRANZ_TYPE"), kind == ReportKind::Receivables ? kSale : kDelivery},
                  {QStringLiteral("AS_OF"), p.date},
                  {QStringLiteral("UNTIL_TIME"), startOf(p.date.addDays(1))}}}};
    case ReportKind::SalesLedger:
        return {{invoicing::salesLedgerSql(), invoicing::salesLedgerParams(p.month)}};
    }
    return {};
}

std::vector<GoodsChoice> goodsChoices(data::SqlSession &session)
{
    std::vector<GoodsChoice> choices;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kGoodsChoices)))
        choices.push_back({row.at(0).toInt(), row.at(1).toInt(), row.at(2).toString()});
    return choices;
}

} // namespace reportdata
