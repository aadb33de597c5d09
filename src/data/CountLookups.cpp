#include "data/CountLookups.h"

#include "data/SqlSession.h"
#include "data/StockLookups.h"

namespace data {

namespace {

const char *const kStoredLines =
    "select NOM_ID, BOOK_QTY, COUNTED_QTY, POSTED_BOOK_QTY from STOCK_COUNT_LINES where TRANZ_ID = :TRANZ_ID "
    "order by NOM_ID";
const char *const kDeleteLines = "delete from STOCK_COUNT_LINES where TRANZ_ID = :TRANZ_ID";
const char *const kInsertLine =
    "insert into STOCK_COUNT_LINES (TRANZ_ID, NOM_ID, BOOK_QTY, COUNTED_QTY, POSTED_BOOK_QTY) "
    "values (:TRANZ_ID, :NOM_ID, :BOOK_QTY, :COUNTED_QTY, :POSTED_BOOK_QTY)";
const char *const kLastDeliveryPrice =
    "select first 1 r.TRANZ_RED_CENA * (1 - coalesce(r.TRANZ_RED_OTSTUPKA, 0)) from TRANZ_RED r "
    "join TRANZ t on t.TRANZ_ID = r.TRANZ_RED_TRANZ_ID "
    "where r.TRANZ_RED_NOM_ID = :NOM_ID and t.TRANZ_TYPE_ID = 12 and r.TRANZ_RED_TYPE_ID = 1 "
    "order by t.TRANZ_TIME desc, t.TRANZ_ID desc, r.TRANZ_RED_ID desc";
const char *const kGoods =
    "select n.NOM_ID, n.NOM_CODE, n.NOM_NAME, m.MERKI_ZNAK, n.NOM_CATEGORY_ID from NOM n "
    "left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1 where n.NOM_ID = :NOM_ID";
const char *const kGoodsByCode = "select first 1 NOM_ID from NOM where NOM_CODE = :CODE order by NOM_ID";
const char *const kGoodsOfCategory =
    "select NOM_ID from NOM where NOM_CATEGORY_ID = :CATEGORY and coalesce(NOM_AMBALAJ, 0) = 0 and NOM_ID > 0 "
    "order by NOM_CODE, NOM_ID";

} // namespace

std::vector<StoredCountLine> storedCountLines(SqlSession &session, int countId)
{
    std::vector<StoredCountLine> lines;
    for (const QVariantList &row :
         session.QueryRows(QString::fromLatin1(kStoredLines), {{QStringLiteral("TRANZ_ID"), countId}}))
        lines.push_back({row.at(0).toInt(), row.at(1).toDouble(), row.at(2).toDouble(), row.at(3)});
    return lines;
}

void storeCountLines(SqlSession &session, int countId, const std::vector<StoredCountLine> &lines)
{
    session.ExecSQL(QString::fromLatin1(kDeleteLines), {{QStringLiteral("TRANZ_ID"), countId}});
    for (const StoredCountLine &line : lines) {
        session.ExecSQL(QString::fromLatin1(kInsertLine), {{QStringLiteral("TRANZ_ID"), countId},
                                                           {QStringLiteral("NOM_ID"), line.goodsId},
                                                           {QStringLiteral("BOOK_QTY"), line.book},
                                                           {QStringLiteral("COUNTED_QTY"), line.counted},
                                                           {QStringLiteral("POSTED_BOOK_QTY"), line.postedBook}});
    }
}

double countBookQuantity(SqlSession &session, int goodsId, const QDate &day, int countId)
{
    // Stock on hand on the day, less what the count itself has posted there.
    return session
        .QueryValue(stockOutsideDocumentStatement(), QStringLiteral("REST"),
                    {{QStringLiteral("NOM_ID"), goodsId},
                     {QStringLiteral("TOMORROW"), day.addDays(1)},
                     {QStringLiteral("OWN_ID"), countId}})
        .toDouble();
}

double lastDeliveryPrice(SqlSession &session, int goodsId)
{
    return session.QueryValue(QString::fromLatin1(kLastDeliveryPrice), QString(), {{QStringLiteral("NOM_ID"), goodsId}})
        .toDouble();
}

std::optional<CountGoods> countGoods(SqlSession &session, int goodsId)
{
    const std::vector<QVariantList> rows =
        session.QueryRows(QString::fromLatin1(kGoods), {{QStringLiteral("NOM_ID"), goodsId}});
    if (rows.empty())
        return std::nullopt;
    const QVariantList &row = rows.front();
    return CountGoods{row.at(0).toInt(), row.at(1).toInt(), row.at(2).toString(), row.at(3).toString(),
                      row.at(4).toInt()};
}

std::optional<int> goodsByCode(SqlSession &session, int code)
{
    const QVariant id = session.QueryValue(QString::fromLatin1(kGoodsByCode), QString(), {{QStringLiteral("CODE"), code}});
    if (id.isNull())
        return std::nullopt;
    return id.toInt();
}

std::vector<int> goodsOfCategory(SqlSession &session, int category)
{
    std::vector<int> goods;
    for (const QVariantList &row :
         session.QueryRows(QString::fromLatin1(kGoodsOfCategory), {{QStringLiteral("CATEGORY"), category}}))
        goods.push_back(row.at(0).toInt());
    return goods;
}

} // namespace data
