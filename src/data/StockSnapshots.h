#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QVariant>

#include <utility>
#include <vector>

namespace data {

class SqlSession;

// The newest delivery line of a goods item; of lines delivered at the same
// moment, the one of the highest document key, then line key.
struct NewestDelivery
{
    QDateTime time;
    int document = 0;
    int line = 0;
    double price = 0;

    bool known() const { return document != 0; }
    bool isAfter(const NewestDelivery &other) const;
};

struct GoodsStock
{
    double quantity = 0;
    int lines = 0;
    NewestDelivery newest;
};

// Goods key → its stock and newest delivery.
using StockByGoods = QHash<int, GoodsStock>;

// Stock of every goods item over the documents dated before `until` (a
// day), and its newest delivery by then. Read from the stored stock of the
// newest closed month that still holds (storing it first when missing or
// outdated) and the documents dated since.
StockByGoods stockBefore(SqlSession &session, const QDate &until);

// Stock of every goods item over the documents up to `cutOff` (a document
// key, see `stockCutOff`), as the editors count it.
StockByGoods stockUpTo(SqlSession &session, const QVariant &cutOff, const QDate &today);

// Of the stored months, the first day after the newest one that holds and
// ends by :TOMORROW; null when none does. Stock on hand reads it within its
// own statement.
QString trustedMonthStatement();
QDate trustedSnapshot(SqlSession &session, const QDate &tomorrow);

// The day after the newest month that may be stored on the server's
// `serverToday`: months end two days before they are stored, so a change
// begun in a month is committed before the month is read.
QDate lastClosedMonthEnd(const QDate &serverToday);
// The stored month `stockBefore` reads for `until`: the newest closed one,
// and none ending after `until`.
QDate monthToRead(const QDate &until, const QDate &serverToday);
// The statements `stockBefore` sends once that month is stored, for the
// benchmark's floor.
std::vector<std::pair<QString, QVariantHash>> stockBeforeStatements(const QDate &month, const QDate &until);

} // namespace data
