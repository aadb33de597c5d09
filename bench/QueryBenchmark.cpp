#include "QueryBenchmark.h"

#include "core/Tdm.h"
#include "data/Counters.h"
#include "data/JournalQuery.h"
#include "data/StockLookups.h"
#include "db/Statement.h"

#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <functional>
#include <memory>
#include <vector>

namespace bench {

namespace {

// The statements as the program's windows and look-ups word them.
const char *const kStockCutOff = "Select Max(TRANZ_ID) as MaxID from Tranz t Where TRANZ_TIME + 0 < :TOMORROW";
const char *const kStockSum =
    "Select Sum(TRANZ_RED_izneseno * TRANZ_RED_TYPE_ID) as Nalichnost from Tranz_red "
    "Where TRANZ_RED_NOM_ID=:NOM_ID and TRANZ_RED_TRANZ_ID <=:MAX_ID";
const char *const kLastPrice =
    "Select tr.TRANZ_RED_CENA from TRANZ_RED tr,TRANZ t Where  (tr.TRANZ_RED_TRANZ_ID = t.Tranz_Id) and  "
    "(tr.TRANZ_RED_NOM_ID = :NOM_ID) and  (t.Tranz_Kont_Id = :KONTR_ID) and  (t.Tranz_Time =   "
    "(Select max(t2.tranz_time) from Tranz t2 Where t2.Tranz_Kont_Id = :KONTR_ID))";
const char *const kOutstandingMoney =
    "select K.Kontr_Name, t.Tranz_Kont_Id, Sum(t.Tranz_Sum) as Suma, Sum(t.Tranz_Plateno) as Plateno, "
    "Sum(t.Tranz_Sum - t.Tranz_Plateno) as Razlika from Tranz t left outer join KONTR K on "
    "t.TRANZ_KONT_ID = K.KONTR_ID where (t.Tranz_type_Id=:Tranz_Type_Id) and (t.Tranz_Sum - t.Tranz_Plateno > 0.0001) "
    "and (t.Tranz_Padej<=:ToDate) group by K.Kontr_Name, t.Tranz_Kont_Id order by K.Kontr_Name";

using Params = data::SqlParams;

// A statement prepared once, run with new values each time.
class Floor
{
public:
    Floor(Tdm &dm, const char *sql)
        : m_statement(dm.database(), dm.mainTransaction())
    {
        m_statement.prepare(QString::fromLatin1(sql));
    }
    QVariant firstValue(const Params &params)
    {
        run(params);
        const QVariant value = m_statement.fetch() ? m_statement.value(0) : QVariant();
        m_statement.close();
        return value;
    }
    int rowCount(const Params &params)
    {
        run(params);
        int rows = 0;
        while (m_statement.fetch())
            ++rows;
        return rows;
    }
    QString plan() { return m_statement.plan(); }

private:
    void run(const Params &params)
    {
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            m_statement.setParameter(it.key(), it.value());
        m_statement.execute();
    }
    db::Statement m_statement;
};

double microsecondsPerCall(int calls, const std::function<void(int)> &call)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        call(i);
    return double(timer.nsecsElapsed()) / 1000.0 / calls;
}

void report(QTextStream &out, const QString &name, int calls, double issued, double floor)
{
    out << qSetFieldWidth(44) << Qt::left << name << qSetFieldWidth(0) << QStringLiteral("%1 calls  ").arg(calls, 5)
        << QStringLiteral("issued %1 µs  floor %2 µs").arg(issued, 10, 'f', 1).arg(floor, 10, 'f', 1) << '\n';
}

// Goods of the middle of the range: about as many lines as a typical item.
std::vector<int> typicalGoods(Tdm &dm)
{
    std::vector<int> goods;
    for (const QVariantList &row : dm.QueryRows(QStringLiteral(
             "select first 50 TRANZ_RED_NOM_ID from (select TRANZ_RED_NOM_ID, count(*) c from TRANZ_RED "
             "where TRANZ_RED_NOM_ID between 2000 and 2100 group by 1) order by c desc")))
        goods.push_back(row.at(0).toInt());
    return goods;
}

} // namespace

void runQueryBenchmark(Tdm &dm, QTextStream &out)
{
    const QDate today = QDate::currentDate();
    const QVariant tomorrow = today.addDays(1);
    QRandomGenerator random(20261209);

    const int busiest = dm.QueryValue(QStringLiteral(
        "select first 1 TRANZ_RED_NOM_ID from TRANZ_RED group by 1 order by count(*) desc")).toInt();
    const int busiestLines = dm.QueryValue(QStringLiteral("select count(*) from TRANZ_RED where TRANZ_RED_NOM_ID = :N"),
                                           QString(), {{QStringLiteral("N"), busiest}}).toInt();
    const std::vector<int> typical = typicalGoods(dm);
    const int typicalLines = dm.QueryValue(QStringLiteral("select count(*) from TRANZ_RED where TRANZ_RED_NOM_ID = :N"),
                                           QString(), {{QStringLiteral("N"), typical.front()}}).toInt();
    out << "lines: " << dm.QueryValue(QStringLiteral("select count(*) from TRANZ_RED")).toInt()
        << ", documents: " << dm.QueryValue(QStringLiteral("select count(*) from TRANZ")).toInt()
        << ", busiest goods item " << busiest << " on " << busiestLines << " lines, a typical one on about "
        << typicalLines << "\n\n";

    Floor cutOff(dm, kStockCutOff);
    Floor stockSum(dm, kStockSum);
    const auto stockFloor = [&](int goods) {
        const QVariant maxId = cutOff.firstValue({{QStringLiteral("TOMORROW"), tomorrow}});
        stockSum.firstValue({{QStringLiteral("NOM_ID"), goods}, {QStringLiteral("MAX_ID"), maxId}});
    };
    const int stockCalls = 500;
    report(out, QStringLiteral("stock on hand, typical goods"), stockCalls,
           microsecondsPerCall(stockCalls, [&](int i) { dm.StockOnHand(typical[size_t(i) % typical.size()]); }),
           microsecondsPerCall(stockCalls, [&](int i) { stockFloor(typical[size_t(i) % typical.size()]); }));
    report(out, QStringLiteral("stock on hand, busiest goods"), 50,
           microsecondsPerCall(50, [&](int) { dm.StockOnHand(busiest); }),
           microsecondsPerCall(50, [&](int) { stockFloor(busiest); }));

    Floor lastPrice(dm, kLastPrice);
    std::vector<std::pair<int, int>> pairs;
    for (const QVariantList &row : dm.QueryRows(QStringLiteral(
             "select first 200 tr.TRANZ_RED_NOM_ID, t.TRANZ_KONT_ID from TRANZ_RED tr join TRANZ t on "
             "t.TRANZ_ID = tr.TRANZ_RED_TRANZ_ID where t.TRANZ_KONT_ID > 1 and mod(tr.TRANZ_RED_ID, 4999) = 0")))
        pairs.emplace_back(row.at(0).toInt(), row.at(1).toInt());
    report(out, QStringLiteral("last price"), int(pairs.size()),
           microsecondsPerCall(int(pairs.size()), [&](int i) { dm.LastPrice(pairs[size_t(i)].first, pairs[size_t(i)].second); }),
           microsecondsPerCall(int(pairs.size()), [&](int i) {
               lastPrice.firstValue({{QStringLiteral("NOM_ID"), pairs[size_t(i)].first},
                                     {QStringLiteral("KONTR_ID"), pairs[size_t(i)].second}});
           }));

    const QDate monthStart(today.year(), today.month(), 1);
    const QDate monthEnd = monthStart.addMonths(1).addDays(-1);
    const Params journalParams = data::journalPeriodParams(monthStart, monthEnd);
    const QByteArray journalAsWorded = data::journalStatement(0, monthStart, monthEnd).toUtf8();
    Floor journal(dm, journalAsWorded.constData());
    const int journalCalls = 20;
    const auto issuedJournal = [&](const char *sql, const Params &params) {
        return microsecondsPerCall(journalCalls, [&](int) { dm.QueryRows(QString::fromLatin1(sql), params); });
    };
    report(out, QStringLiteral("journal of one month (%1 rows)").arg(journal.rowCount(journalParams)),
           journalCalls, issuedJournal(journalAsWorded.constData(), journalParams),
           microsecondsPerCall(journalCalls, [&](int) { journal.rowCount(journalParams); }));

    Floor outstanding(dm, kOutstandingMoney);
    const Params outstandingParams{{QStringLiteral("Tranz_Type_Id"), 11}, {QStringLiteral("ToDate"), today}};
    report(out, QStringLiteral("outstanding money per counterparty (%1 rows)").arg(outstanding.rowCount(outstandingParams)),
           journalCalls,
           microsecondsPerCall(journalCalls, [&](int) { dm.QueryRows(QString::fromLatin1(kOutstandingMoney), outstandingParams); }),
           microsecondsPerCall(journalCalls, [&](int) { outstanding.rowCount(outstandingParams); }));

    std::vector<std::unique_ptr<Floor>> maxima;
    for (const char *sql : {"SELECT max(ID) FROM BANK_ACCOUNTS", "SELECT max(ID) FROM CATEGORY", "SELECT max(ID) FROM CITIES",
                            "SELECT max(ID) FROM CONTACTINFO", "SELECT max(ID) FROM INVOICES",
                            "SELECT max(DETAIL_ID) FROM INVOICE_DETAILS", "SELECT max(KONTR_ID) FROM KONTR",
                            "SELECT max(MERKI_ID) FROM MERKI", "SELECT max(ID) FROM MRU_ITEMS", "SELECT max(NOM_ID) FROM NOM",
                            "SELECT max(TRANZ_ID) FROM TRANZ", "SELECT max(TRANZ_RED_ID) FROM TRANZ_RED"})
        maxima.push_back(std::make_unique<Floor>(dm, sql));
    report(out, QStringLiteral("AdjustCounters"), journalCalls,
           microsecondsPerCall(journalCalls, [&](int) { dm.AdjustCounters(data::CounterAdjustment::Reset); }),
           microsecondsPerCall(journalCalls, [&](int) {
               for (auto &maximum : maxima)
                   maximum->firstValue({});
           }));

    out << "\nplans:\n";
    out << "  stock cut-off:     " << cutOff.plan() << '\n';
    out << "  stock sum:         " << stockSum.plan() << '\n';
    out << "  last price:        " << lastPrice.plan() << '\n';
    out << "  journal:           " << journal.plan() << '\n';
    out << "  outstanding money: " << outstanding.plan() << '\n';
    out << "  highest TRANZ_ID:  " << maxima[10]->plan() << '\n';
    out << "  highest KONTR_ID:  " << maxima[6]->plan() << '\n';
}

} // namespace bench
