#include "data/StockReport.h"

#include "data/SqlSession.h"
#include "data/StockLookups.h"

#include <QHash>

namespace data {

namespace {

// The goods, and the sum the stock look-up takes for each of them, joined
// here by the goods' key. The lines are read in their natural order and
// matched to their documents through a hash of the headers ("+ 0" keeps the
// engine from probing an index once per line); put beside the goods as a
// derived table, the grouping was computed again for every goods item.
// Goods without lines up to the cut-off get no sum (0).
const char *const kReportedGoods =
    "select n.NOM_ID, n.NOM_CODE, n.NOM_NAME, m.MERKI_ZNAK from NOM n "
    "left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1 "
    "where n.NOM_ID > 0 and (n.NOM_INREPORT = 1 or :ALL_GOODS = 1) order by n.NOM_CODE, n.NOM_ID";
const char *const kStockByGoods =
    "select r.TRANZ_RED_NOM_ID, Sum(r.TRANZ_RED_izneseno * r.TRANZ_RED_TYPE_ID) from TRANZ h "
    "join Tranz_red r on r.TRANZ_RED_TRANZ_ID + 0 = h.TRANZ_ID + 0 "
    "where h.TRANZ_ID <= :MAX_ID group by r.TRANZ_RED_NOM_ID";

} // namespace

std::vector<StockReportLine> stockReport(SqlSession &session, bool allGoods, const QDate &today)
{
    // One cut-off for the whole report, as each look-up would find it.
    const QVariant cutOff = stockCutOff(session, today);
    QHash<int, double> onHand;
    if (!cutOff.isNull()) {
        for (const QVariantList &row :
             session.QueryRows(QString::fromLatin1(kStockByGoods), {{QStringLiteral("MAX_ID"), cutOff}}))
            onHand.insert(row.at(0).toInt(), row.at(1).toDouble());
    }
    std::vector<StockReportLine> lines;
    for (const QVariantList &row :
         session.QueryRows(QString::fromLatin1(kReportedGoods), {{QStringLiteral("ALL_GOODS"), allGoods ? 1 : 0}})) {
        const double quantity = onHand.value(row.at(0).toInt());
        lines.push_back({row.at(1).toInt(), row.at(2).toString(), row.at(3).toString(), quantity > 0 ? quantity : 0.0});
    }
    return lines;
}

} // namespace data
