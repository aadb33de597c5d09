#include "data/StockLookups.h"

#include "data/SqlSession.h"
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
// Lines whose document has no header (being entered at another
// workstation, or left behind by one that ended abruptly) move no stock.
const char *const kStockSum =
    "Select Sum(TRANZ_RED_izneseno * TRANZ_RED_TYPE_ID) as Nalichnost from Tranz_red "
    "Where TRANZ_RED_NOM_ID=:NOM_ID and TRANZ_RED_TRANZ_ID <=:MAX_ID "
    "and exists (select 1 from TRANZ h where h.TRANZ_ID = TRANZ_RED_TRANZ_ID)";

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
    return stockOnHandUpTo(session, goodsId, stockCutOff(session, today));
}

QVariant stockCutOff(SqlSession &session, const QDate &today)
{
    return session.QueryValue(QString::fromLatin1(kStockCutOff), QString(),
                              {{QStringLiteral("TOMORROW"), today.addDays(1)}});
}

double stockOnHandUpTo(SqlSession &session, int goodsId, const QVariant &maxId)
{
    if (maxId.isNull())
        return 0.0;
    const double onHand = number(session.QueryValue(
        QString::fromLatin1(kStockSum), QStringLiteral("Nalichnost"),
        {{QStringLiteral("NOM_ID"), goodsId}, {QStringLiteral("MAX_ID"), maxId}}));
    return onHand > 0 ? onHand : 0.0;
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
