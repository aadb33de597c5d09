#include "data/StockReport.h"

#include "data/SqlSession.h"
#include "data/StockLookups.h"

namespace data {

namespace {

// The goods with the sum the stock look-up takes for each of them, in one
// statement: one look-up per goods item read the lines ten thousand times
// over. Goods without lines up to the cut-off get no sum (0).
const char *const kReportedGoodsWithStock =
    "select n.NOM_ID, n.NOM_CODE, n.NOM_NAME, m.MERKI_ZNAK, s.Nalichnost from NOM n "
    "left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1 "
    "left join (select TRANZ_RED_NOM_ID, Sum(TRANZ_RED_izneseno * TRANZ_RED_TYPE_ID) as Nalichnost from Tranz_red "
    "where TRANZ_RED_TRANZ_ID <= :MAX_ID and exists (select 1 from TRANZ h where h.TRANZ_ID = TRANZ_RED_TRANZ_ID) "
    "group by TRANZ_RED_NOM_ID) s on s.TRANZ_RED_NOM_ID = n.NOM_ID "
    "where n.NOM_ID > 0 and (n.NOM_INREPORT = 1 or :ALL_GOODS = 1) order by n.NOM_CODE, n.NOM_ID";

} // namespace

std::vector<StockReportLine> stockReport(SqlSession &session, bool allGoods, const QDate &today)
{
    // One cut-off for the whole report, as each look-up would find it.
    const QVariant cutOff = stockCutOff(session, today);
    std::vector<StockReportLine> lines;
    for (const QVariantList &row : session.QueryRows(
             QString::fromLatin1(kReportedGoodsWithStock),
             {{QStringLiteral("ALL_GOODS"), allGoods ? 1 : 0}, {QStringLiteral("MAX_ID"), cutOff}})) {
        const double onHand = row.at(4).toDouble();
        lines.push_back({row.at(1).toInt(), row.at(2).toString(), row.at(3).toString(), onHand > 0 ? onHand : 0.0});
    }
    return lines;
}

} // namespace data
