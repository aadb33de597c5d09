#include "data/StockSnapshots.h"

#include "data/SqlSession.h"
#include "util/Error.h"

#include <QDebug>

#include <tuple>
#include <vector>

namespace data {

namespace {

const char *const kServerToday = "select current_date from RDB$DATABASE";
const char *const kStoredMonths = "select UNTIL_DAY from STOCK_SNAPSHOTS";
const char *const kNotedChanges = "select CHANGE_ID, FROM_DAY from STOCK_SNAPSHOT_CHANGES";
const char *const kTrustedMonth =
    "select max(m.UNTIL_DAY) from STOCK_SNAPSHOTS m where m.UNTIL_DAY <= :TOMORROW "
    "and not exists (select 1 from STOCK_SNAPSHOT_CHANGES n where n.FROM_DAY < m.UNTIL_DAY)";
const char *const kSnapshotGoods =
    "select NOM_ID, QTY, NEWEST_TIME, NEWEST_TRANZ_ID, NEWEST_LINE_ID, NEWEST_PRICE, LINES from STOCK_SNAPSHOT_GOODS "
    "where UNTIL_DAY = :UNTIL_DAY";
const char *const kForgetGoodsAfter = "delete from STOCK_SNAPSHOT_GOODS where UNTIL_DAY > :FROM_DAY";
const char *const kForgetMonthsAfter = "delete from STOCK_SNAPSHOTS where UNTIL_DAY > :FROM_DAY";
const char *const kForgetGoods = "delete from STOCK_SNAPSHOT_GOODS where UNTIL_DAY = :UNTIL_DAY";
const char *const kForgetMonth = "delete from STOCK_SNAPSHOTS where UNTIL_DAY = :UNTIL_DAY";
const char *const kStoreGoods =
    "insert into STOCK_SNAPSHOT_GOODS (UNTIL_DAY, NOM_ID, QTY, LINES, NEWEST_TIME, NEWEST_TRANZ_ID, NEWEST_LINE_ID, "
    "NEWEST_PRICE) values (:UNTIL_DAY, :NOM_ID, :QTY, :LINES, :NEWEST_TIME, :NEWEST_TRANZ_ID, :NEWEST_LINE_ID, "
    ":NEWEST_PRICE)";
// With the documents of the month before it: about as many as stock on
// hand reads after it.
const char *const kStoreMonth =
    "insert into STOCK_SNAPSHOTS (UNTIL_DAY, DOCUMENTS) select :UNTIL_DAY, count(*) from TRANZ "
    "where TRANZ_TIME >= :MONTH_START and TRANZ_TIME < :UNTIL_DAY";
const char *const kForgetChange = "delete from STOCK_SNAPSHOT_CHANGES where CHANGE_ID = :CHANGE_ID";

// Lines of the documents dated in a span (%2), joined by %1. From the first
// document on, the lines are read in their natural order and matched to the
// documents by a hash ("+ 0" keeps the engine from probing an index once
// per line); a month or two are found through the documents' date index.
const char *const kMovements =
    "select r.TRANZ_RED_NOM_ID, sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID), count(*) from TRANZ t\r\n"
    "join TRANZ_RED r on %1\r\n"
    "where %2\r\n"
    "group by r.TRANZ_RED_NOM_ID";
// The newest delivery time is a grouped maximum, and only the lines
// delivered at that moment are read again.
const char *const kNewestDeliveries =
    "select m.NOM_ID, r.TRANZ_RED_CENA * (1 - coalesce(r.TRANZ_RED_OTSTUPKA, 0)), t.TRANZ_ID, r.TRANZ_RED_ID, "
    "t.TRANZ_TIME\r\n"
    "from (select r.TRANZ_RED_NOM_ID as NOM_ID, max(t.TRANZ_TIME) as NEWEST from TRANZ t\r\n"
    "  join TRANZ_RED r on %1\r\n"
    "  where t.TRANZ_TYPE_ID = 12 and r.TRANZ_RED_TYPE_ID = 1 and %2\r\n"
    "  group by r.TRANZ_RED_NOM_ID) m\r\n"
    "join TRANZ t on t.TRANZ_TYPE_ID = 12 and t.TRANZ_TIME = m.NEWEST\r\n"
    "join TRANZ_RED r on r.TRANZ_RED_NOM_ID = m.NOM_ID and r.TRANZ_RED_TRANZ_ID = t.TRANZ_ID and r.TRANZ_RED_TYPE_ID = 1";
const char *const kJoinByIndex = "r.TRANZ_RED_TRANZ_ID = t.TRANZ_ID";
const char *const kJoinByHash = "r.TRANZ_RED_TRANZ_ID + 0 = t.TRANZ_ID + 0";
const char *const kDatedSince = "t.TRANZ_TIME >= :FROM_TIME and t.TRANZ_TIME < :UNTIL_TIME";
const char *const kDatedBefore = "t.TRANZ_TIME < :UNTIL_TIME";
// Documents dated since the stored month, or not dated, up to the cut-off
// of stock on hand: every document dated before the month is below it.
const char *const kMovementsUpTo =
    "select r.TRANZ_RED_NOM_ID, sum(r.TRANZ_RED_IZNESENO * r.TRANZ_RED_TYPE_ID) from TRANZ t\r\n"
    "join TRANZ_RED r on r.TRANZ_RED_TRANZ_ID = t.TRANZ_ID\r\n"
    "where (t.TRANZ_TIME >= :FROM_TIME or t.TRANZ_TIME is null) and t.TRANZ_ID + 0 <= :MAX_ID\r\n"
    "group by r.TRANZ_RED_NOM_ID";

QDateTime startOf(const QDate &day)
{
    return QDateTime(day, QTime(0, 0));
}

QDate firstOfMonth(const QDate &day)
{
    return QDate(day.year(), day.month(), 1);
}

QString movementStatement(const char *statement, bool bounded)
{
    return QString::fromLatin1(statement).arg(QLatin1String(bounded ? kJoinByIndex : kJoinByHash),
                                              QLatin1String(bounded ? kDatedSince : kDatedBefore));
}

SqlParams span(const QDate &from, const QDate &until)
{
    return {{QStringLiteral("FROM_TIME"), startOf(from)}, {QStringLiteral("UNTIL_TIME"), startOf(until)}};
}

void addQuantities(StockByGoods &stock, const std::vector<QVariantList> &rows)
{
    for (const QVariantList &row : rows) {
        GoodsStock &goods = stock[row.at(0).toInt()];
        goods.quantity += row.at(1).toDouble();
        goods.lines += row.value(2).toInt();
    }
}

void addNewest(StockByGoods &stock, const std::vector<QVariantList> &rows)
{
    for (const QVariantList &row : rows) {
        const NewestDelivery candidate{row.at(4).toDateTime(), row.at(2).toInt(), row.at(3).toInt(), row.at(1).toDouble()};
        NewestDelivery &newest = stock[row.at(0).toInt()].newest;
        if (candidate.isAfter(newest))
            newest = candidate;
    }
}

// What the documents dated from `from` (null: the first) up to `until`
// add.
void addMovements(SqlSession &session, StockByGoods &stock, const QDate &from, const QDate &until)
{
    const SqlParams params = from.isValid() ? span(from, until) : SqlParams{{QStringLiteral("UNTIL_TIME"), startOf(until)}};
    addQuantities(stock, session.QueryRows(movementStatement(kMovements, from.isValid()), params));
    addNewest(stock, session.QueryRows(movementStatement(kNewestDeliveries, from.isValid()), params));
}

StockByGoods storedMonth(SqlSession &session, const QDate &untilDay)
{
    StockByGoods stock;
    for (const QVariantList &row :
         session.QueryRows(QString::fromLatin1(kSnapshotGoods), {{QStringLiteral("UNTIL_DAY"), untilDay}})) {
        GoodsStock &goods = stock[row.at(0).toInt()];
        goods.quantity = row.at(1).toDouble();
        goods.lines = row.at(6).toInt();
        if (!row.at(3).isNull())
            goods.newest = {row.at(2).toDateTime(), row.at(3).toInt(), row.at(4).toInt(), row.at(5).toDouble()};
    }
    return stock;
}

struct NotedChanges
{
    std::vector<QVariant> ids;
    QDate earliest;
};

NotedChanges notedChanges(SqlSession &session)
{
    NotedChanges changes;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kNotedChanges))) {
        changes.ids.push_back(row.at(0));
        const QDate day = row.at(1).toDate();
        if (!changes.earliest.isValid() || day < changes.earliest)
            changes.earliest = day;
    }
    return changes;
}

// Stores the month and forgets the months the changes seen have made
// untrue, then the changes. Each step leaves nothing trusted that is not
// true, so a store cut short (another workstation storing the same month
// at the same moment) only leaves work for the next one; the figures
// computed stand either way.
void storeMonth(SqlSession &session, const QDate &untilDay, const StockByGoods &stock, const NotedChanges &changes)
{
    try {
        const SqlParams month{{QStringLiteral("UNTIL_DAY"), untilDay}};
        if (changes.earliest.isValid()) {
            const SqlParams after{{QStringLiteral("FROM_DAY"), changes.earliest}};
            session.ExecSQL(QString::fromLatin1(kForgetMonthsAfter), after);
            session.ExecSQL(QString::fromLatin1(kForgetGoodsAfter), after);
        }
        session.ExecSQL(QString::fromLatin1(kForgetMonth), month);
        session.ExecSQL(QString::fromLatin1(kForgetGoods), month);
        for (auto it = stock.cbegin(); it != stock.cend(); ++it) {
            if (it->lines == 0)
                continue;
            const bool known = it->newest.known();
            session.ExecSQL(QString::fromLatin1(kStoreGoods),
                            {{QStringLiteral("UNTIL_DAY"), untilDay},
                             {QStringLiteral("NOM_ID"), it.key()},
                             {QStringLiteral("QTY"), it->quantity},
                             {QStringLiteral("LINES"), it->lines},
                             {QStringLiteral("NEWEST_TIME"), known ? QVariant(it->newest.time) : QVariant()},
                             {QStringLiteral("NEWEST_TRANZ_ID"), known ? QVariant(it->newest.document) : QVariant()},
                             {QStringLiteral("NEWEST_LINE_ID"), known ? QVariant(it->newest.line) : QVariant()},
                             {QStringLiteral("NEWEST_PRICE"), known ? QVariant(it->newest.price) : QVariant()}});
        }
        session.ExecSQL(QString::fromLatin1(kStoreMonth),
                        {{QStringLiteral("UNTIL_DAY"), untilDay}, {QStringLiteral("MONTH_START"), untilDay.addMonths(-1)}});
        for (const QVariant &id : changes.ids)
            session.ExecSQL(QString::fromLatin1(kForgetChange), {{QStringLiteral("CHANGE_ID"), id}});
        session.CommitRetaining();
    } catch (const varnex::Error &error) {
        qWarning().noquote() << "The closed month's stock was not stored:" << error.message() << error.detail();
    }
}

// The stock at the end of the month before `untilDay`, from the newest
// stored month that holds, stored anew when that is an earlier one.
StockByGoods monthStock(SqlSession &session, const QDate &untilDay)
{
    const NotedChanges changes = notedChanges(session);
    QDate trusted;
    for (const QVariantList &row : session.QueryRows(QString::fromLatin1(kStoredMonths))) {
        const QDate day = row.at(0).toDate();
        if (day <= untilDay && (!changes.earliest.isValid() || day <= changes.earliest)
            && (!trusted.isValid() || day > trusted))
            trusted = day;
    }
    if (trusted == untilDay)
        return storedMonth(session, untilDay);
    StockByGoods stock = trusted.isValid() ? storedMonth(session, trusted) : StockByGoods();
    addMovements(session, stock, trusted, untilDay);
    storeMonth(session, untilDay, stock, changes);
    return stock;
}

QDate monthFor(SqlSession &session, const QDate &until)
{
    return monthToRead(until, session.QueryValue(QString::fromLatin1(kServerToday)).toDate());
}

} // namespace

bool NewestDelivery::isAfter(const NewestDelivery &other) const
{
    if (!other.known())
        return known();
    return std::tie(time, document, line) > std::tie(other.time, other.document, other.line);
}

QDate lastClosedMonthEnd(const QDate &serverToday)
{
    return firstOfMonth(serverToday.addDays(-2));
}

QDate monthToRead(const QDate &until, const QDate &serverToday)
{
    const QDate closed = lastClosedMonthEnd(serverToday);
    const QDate own = firstOfMonth(until);
    return own < closed ? own : closed;
}

std::vector<std::pair<QString, SqlParams>> stockBeforeStatements(const QDate &month, const QDate &until)
{
    return {{QString::fromLatin1(kSnapshotGoods), {{QStringLiteral("UNTIL_DAY"), month}}},
            {movementStatement(kMovements, true), span(month, until)},
            {movementStatement(kNewestDeliveries, true), span(month, until)}};
}

StockByGoods stockBefore(SqlSession &session, const QDate &until)
{
    const QDate month = monthFor(session, until);
    StockByGoods stock = monthStock(session, month);
    if (month < until)
        addMovements(session, stock, month, until);
    return stock;
}

StockByGoods stockUpTo(SqlSession &session, const QVariant &cutOff, const QDate &today)
{
    if (cutOff.isNull())
        return {};
    const QDate month = monthFor(session, today.addDays(1));
    StockByGoods stock = monthStock(session, month);
    addQuantities(stock, session.QueryRows(QString::fromLatin1(kMovementsUpTo),
                                           {{QStringLiteral("FROM_TIME"), startOf(month)}, {QStringLiteral("MAX_ID"), cutOff}}));
    return stock;
}

QString trustedMonthStatement()
{
    return QString::fromLatin1(kTrustedMonth);
}

QDate trustedSnapshot(SqlSession &session, const QDate &tomorrow)
{
    return session.QueryValue(trustedMonthStatement(), QString(), {{QStringLiteral("TOMORROW"), tomorrow}}).toDate();
}

} // namespace data
