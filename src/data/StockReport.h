#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace data {

class SqlSession;

struct StockReportLine
{
    int code;
    QString name;
    QString unitSign;
    double onHand;
};

// Stock on hand of the goods that are followed in the stock report (every
// goods item with `allGoods`), by code, computed as the editors compute it.
std::vector<StockReportLine> stockReport(SqlSession &session, bool allGoods, const QDate &today);

} // namespace data
