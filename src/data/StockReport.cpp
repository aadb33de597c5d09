#include "data/StockReport.h"

#include "data/SqlSession.h"
#include "data/StockLookups.h"
#include "data/StockSnapshots.h"

namespace data {

namespace {

const char *const kReportedGoods =
    "select n.NOM_ID, n.NOM_CODE, n.NOM_NAME, m.MERKI_ZNAK from NOM n "
    "left join MERKI m on m.MERKI_ID = n.NOM_MERKI_ID1 "
    "where n.NOM_ID > 0 and (n.NOM_INREPORT = 1 or :ALL_GOODS = 1) order by n.NOM_CODE, n.NOM_ID";

} // namespace

std::vector<StockReportLine> stockReport(SqlSession &session, bool allGoods, const QDate &today)
{
    // One cut-off for the whole report, as each look-up would find it.
    const StockByGoods onHand = stockUpTo(session, stockCutOff(session, today), today);
    std::vector<StockReportLine> lines;
    for (const QVariantList &row :
         session.QueryRows(QString::fromLatin1(kReportedGoods), {{QStringLiteral("ALL_GOODS"), allGoods ? 1 : 0}})) {
        const double quantity = onHand.value(row.at(0).toInt()).quantity;
        lines.push_back({row.at(1).toInt(), row.at(2).toString(), row.at(3).toString(), quantity > 0 ? quantity : 0.0});
    }
    return lines;
}

} // namespace data
