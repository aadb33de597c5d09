#include "data/StockLookups.h"

#include "data/SqlSession.h"
#include "data/StockSnapshots.h"
#include "util/Error.h"

namespace data {

namespace {

const char *const kLastPrice =
    "Select tr.TRANZ_RED_CENA from TRANZ_RED tr,TRANZ t Where  (tr.TRANZ_RED_TRANZ_ID = t.Tranz_Id) and  "
    "(tr.TRANZ_RED_NOM_ID = :NOM_ID) and  (t.Tranz_Kont_Id = :KONTR_ID) and  (t.Tranz_Time =   "
    "(Select max(t2.tranz_time) from Tranz t2 Where t2.Tranz_Kont_Id = :KONTR_ID))";
const char *const kLastDiscount =
    "Select tr.TRANZ_RED_OTSTUPKA from TRANZ_RED tr,TRanz t Where  (tr.TRANZ_RED_TRANZ_ID = t.Tranz_Id) and  "
    "(tr.TRANZ_RED_NOM_ID = :NOM_ID) and  (t.Tranz_Kont_Id = :KONTR_ID) and  (t.Tranz_Time =   "
    "(Select max(t2.tranz_time) from Tranz t2 Where t2.Tranz_Kont_Id = :KONTR_ID))";
const char *const kSellPrice = "Select SELL_PRICE from NOM where NOM_ID = :NOM_ID";
// "+ 0" keeps the server from gathering every document dated before tomorrow
// through the time index; walking the id index down from the top finds the
// answer at once.
const char *const kStockCutOff = "Select Max(TRANZ_ID) as MaxID from Tranz t Where TRANZ_TIME + 0 < :TOMORROW";
// One goods item's stock up to the newest document dated before tomorrow.
// Lines whose document has no header (being entered at another
// workstation, or left behind by one that ended abruptly) move no stock.
// Every document dated before a stored month's end is below that cut-off,
// so the month's stock and the documents dated since (or not dated) add up
// to it. Reading those documents costs about what reading a month's
// documents does; an item on fewer lines than that is summed over its own
// lines, as it is without a stored month that holds.
const char *const kStockOnHand =
    "select case when v.UNTIL_DAY is null or coalesce(g.LINES, 0) <= v.DOCUMENTS then\r\n"
    "  (select sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) from TRANZ_RED r\r\n"
    "   where r.TRANZ_RED_NOM_ID = :NOM_ID and r.TRANZ_RED_TRANZ_ID <= c.MAX_ID\r\n"
    "   and exists (select 1 from TRANZ h where h.TRANZ_ID = r.TRANZ_RED_TRANZ_ID))\r\n"
    "else\r\n"
    "  g.QTY + coalesce((select sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) from TRANZ t\r\n"
    "   join TRANZ_RED r on r.TRANZ_RED_TRANZ_ID = t.TRANZ_ID and r.TRANZ_RED_NOM_ID = :NOM_ID\r\n"
    "   where (t.TRANZ_TIME >= v.UNTIL_DAY or t.TRANZ_TIME is null) and t.TRANZ_ID + 0 <= c.MAX_ID\r\n"
    "   plan join (t index (IX_TRANZ_TIME, IX_TRANZ_TIME), r index (IX_TRANZ_RED_TRANZ_NOM))), 0)\r\n"
    "end as NALICHNOST, c.MAX_ID\r\n"
    "from (select max(TRANZ_ID) as MAX_ID from TRANZ where TRANZ_TIME + 0 < :TOMORROW) c\r\n"
    "cross join (select max(s.UNTIL_DAY) as UNTIL_DAY, max(s.DOCUMENTS) as DOCUMENTS from STOCK_SNAPSHOTS s\r\n"
    "  where s.UNTIL_DAY = (%1)) v\r\n"
    "left join STOCK_SNAPSHOT_GOODS g on g.UNTIL_DAY = v.UNTIL_DAY and g.NOM_ID = :NOM_ID";
// What the documents other than :OWN_ID hold: stock on hand less that
// document's lines where they count in it (its header stored, not after
// the cut-off).
const char *const kStockOutsideDocument =
    "select coalesce(s.NALICHNOST, 0) - coalesce((select sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) "
    "from TRANZ_RED r where r.TRANZ_RED_NOM_ID = :NOM_ID and r.TRANZ_RED_TRANZ_ID = :OWN_ID "
    "and r.TRANZ_RED_TRANZ_ID <= s.MAX_ID and exists (select 1 from TRANZ h where h.TRANZ_ID = r.TRANZ_RED_TRANZ_ID)), 0) "
    "as REST from (%1) s";

// Values the look-ups read are numbers, or null (no row), which counts as 0.
double number(const QVariant &value)
{
    bool ok = false;
    const double result = value.toDouble(&ok);
    return ok ? result : 0.0;
}

SqlParams goodsAndCounterparty(int goodsId, int counterpartyId)
{
    return {{QStringLiteral("NOM_ID"), goodsId}, {QStringLiteral("KONTR_ID"), counterpartyId}};
}

} // namespace

double lastPrice(SqlSession &session, int goodsId, int counterpartyId)
{
    // Without a counterparty there is no last price to ask the server for.
    if (goodsId != 0 && counterpartyId != 0) {
        const double price = number(session.QueryValue(QString::fromLatin1(kLastPrice), QString(),
                                                       goodsAndCounterparty(goodsId, counterpartyId)));
        if (price > 0)
            return price;
    }
    if (goodsId != 0)
        return sellPrice(session, goodsId);
    return 0.0;
}

double sellPrice(SqlSession &session, int goodsId)
{
    return number(session.QueryValue(QString::fromLatin1(kSellPrice), QString(), {{QStringLiteral("NOM_ID"), goodsId}}));
}

double lastDiscount(SqlSession &session, int goodsId, int counterpartyId)
{
    const double discount = number(session.QueryValue(QString::fromLatin1(kLastDiscount), QString(),
                                                      goodsAndCounterparty(goodsId, counterpartyId)));
    return discount > 0 && goodsId != 0 && counterpartyId != 0 ? discount : 0.0;
}

double stockOnHand(SqlSession &session, int goodsId, const QDate &today)
{
    const double onHand = number(session.QueryValue(
        stockOnHandStatement(), QStringLiteral("NALICHNOST"),
        {{QStringLiteral("NOM_ID"), goodsId}, {QStringLiteral("TOMORROW"), today.addDays(1)}}));
    return onHand > 0 ? onHand : 0.0;
}

QString stockOnHandStatement()
{
    return QString::fromLatin1(kStockOnHand).arg(trustedMonthStatement());
}

QString stockOutsideDocumentStatement()
{
    return QString::fromLatin1(kStockOutsideDocument).arg(stockOnHandStatement());
}

QVariant stockCutOff(SqlSession &session, const QDate &today)
{
    return session.QueryValue(QString::fromLatin1(kStockCutOff), QString(),
                              {{QStringLiteral("TOMORROW"), today.addDays(1)}});
}

bool updateRows(SqlSession &session, const QString &table, const ColumnValues &sets, const ColumnValues &keys)
{
    const QLatin1String lineBreak("\r\n");
    QString sql = QLatin1String("Update ") + table + lineBreak + QLatin1String("set") + lineBreak;
    SqlParams params;
    for (int i = 0; i < sets.size(); ++i) {
        const QString name = QStringLiteral("S%1").arg(i);
        if (i > 0)
            sql += QLatin1Char(',') + lineBreak;
        sql += sets.at(i).first + QLatin1String("=:") + name;
        params.insert(name, sets.at(i).second);
    }
    sql += lineBreak + QLatin1String("Where") + lineBreak;
    for (int i = 0; i < keys.size(); ++i) {
        const QString name = QStringLiteral("K%1").arg(i);
        if (i > 0)
            sql += QLatin1String(" and") + lineBreak;
        sql += QLatin1Char('(') + keys.at(i).first + QLatin1String(" is not distinct from :") + name + QLatin1Char(')');
        params.insert(name, keys.at(i).second);
    }
    return session.ExecSQL(sql, params) > 0;
}

void UpdateTranz_Izneseno(SqlSession &session, const ColumnValues &lineKeys, double taken)
{
    if (!updateRows(session, QStringLiteral("Tranz_red"), {{QStringLiteral("TRANZ_RED_IZNESENO"), taken}}, lineKeys))
        throw varnex::Error(QStringLiteral("Записът не е намерен UpdateTranz_Izneseno"));
}

void UpdateTranz_Plateno(SqlSession &session, int documentId, double paid)
{
    if (!updateRows(session, QStringLiteral("Tranz"), {{QStringLiteral("Tranz_Plateno"), paid}},
                    {{QStringLiteral("Tranz_Id"), documentId}}))
        throw varnex::Error(QStringLiteral("Записът не е намерен UpdateTranz_Plateno"));
}

} // namespace data
