#include "QueryBenchmark.h"

#include "core/Tdm.h"
#include "data/Counters.h"
#include "data/JournalQuery.h"
#include "data/OtherConnections.h"
#include "data/StockLookups.h"
#include "data/StockSnapshots.h"
#include "db/Dataset.h"
#include "db/Statement.h"
#include "payments/Outstanding.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>

#include <malloc.h>

#include <algorithm>
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
const char *const kSellPrice = "Select SELL_PRICE from NOM where NOM_ID = :NOM_ID";
const char *const kOutstandingMoney =
    "select K.Kontr_Name, t.Tranz_Kont_Id, Sum(t.Tranz_Sum) as Suma, Sum(t.Tranz_Plateno) as Plateno, "
    "Sum(t.Tranz_Sum - t.Tranz_Plateno) as Razlika from Tranz t left outer join KONTR K on "
    "t.TRANZ_KONT_ID = K.KONTR_ID where (t.Tranz_type_Id=:Tranz_Type_Id) and (t.Tranz_Sum - t.Tranz_Plateno > 0.0001) "
    "and (t.Tranz_Padej<=:ToDate) group by K.Kontr_Name, t.Tranz_Kont_Id order by K.Kontr_Name";
const char *const kResetCounter = "UPDATE COUNTERS SET VAL = :VAL WHERE ID = :ID AND VAL <> :VAL";

using Params = data::SqlParams;

// A statement prepared once, run with new values each time.
class Floor
{
public:
    Floor(Tdm &dm, const QString &sql)
        : m_statement(dm.database(), dm.mainTransaction())
    {
        m_statement.prepare(sql);
    }
    QVariant firstValue(const Params &params = {})
    {
        run(params);
        const QVariant value = m_statement.fetch() ? m_statement.value(0) : QVariant();
        m_statement.close();
        return value;
    }
    // Every row, each column decoded as the program would read it.
    int decodedRows(const Params &params)
    {
        run(params);
        int rows = 0;
        while (m_statement.fetch()) {
            QVariantList row;
            for (int column = 0; column < m_statement.columnCount(); ++column)
                row << m_statement.value(column);
            ++rows;
        }
        return rows;
    }
    // Every row as the engine delivers it, nothing decoded; or only the
    // first `limit` rows.
    int fetchedRows(const Params &params, int limit = -1)
    {
        run(params);
        int rows = 0;
        while ((limit < 0 || rows < limit) && m_statement.fetch())
            ++rows;
        m_statement.close();
        return rows;
    }
    void execute(const Params &params) { run(params); }
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

double number(const QVariant &value)
{
    bool ok = false;
    const double result = value.toDouble(&ok);
    return ok ? result : 0.0;
}

// One timed path: the program's call and the least work that gives the same
// answer, both for call number 0..calls-1.
struct Path
{
    QString name;
    int calls;
    std::function<void(int)> issued;
    std::function<void(int)> floor;
};

double microsecondsPerCall(int calls, const std::function<void(int)> &call)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        call(i);
    return double(timer.nsecsElapsed()) / 1000.0 / calls;
}

struct Figure
{
    double median;
    double spread; // (highest − lowest) / median
};

Figure figure(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {median, median > 0 ? (times.back() - times.front()) / median : 0.0};
}

// Bytes the program has taken from the heap.
// The process's resident memory in MB, as the system counts it.
double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

// What a grid asks for as it paints one screen of the journal: the shown
// text and the alignment of each visible column.
const int kScreenRows = 40;
const char *const kShownColumns[] = {"TRANZ_DOCNO", "TRANZ_TYPES_NAME", "KONTR_NAME", "TRANZ_NOTE", "TRANZ_PADEJ"};

void paintFirstScreen(const db::Dataset &journal)
{
    for (int row = 0; row < kScreenRows && row < journal.fetchedCount(); ++row) {
        for (const char *column : kShownColumns) {
            const int field = journal.fieldIndex(QLatin1String(column));
            journal.displayText(row, field);
            journal.value(row, field);
        }
    }
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

bool runQueryBenchmark(Tdm &dm, QTextStream &out, const BenchmarkOptions &options)
{
    const double startMemory = residentMegabytes();
    const QDate today = QDate::currentDate();
    const QVariant tomorrow = today.addDays(1);

    const int busiest = dm.QueryValue(QStringLiteral(
        "select first 1 TRANZ_RED_NOM_ID from TRANZ_RED group by 1 order by count(*) desc")).toInt();
    const QString linesOfGoods = QStringLiteral("select count(*) from TRANZ_RED where TRANZ_RED_NOM_ID = :N");
    const int busiestLines = dm.QueryValue(linesOfGoods, QString(), {{QStringLiteral("N"), busiest}}).toInt();
    const std::vector<int> typical = typicalGoods(dm);
    const int typicalLines = dm.QueryValue(linesOfGoods, QString(), {{QStringLiteral("N"), typical.front()}}).toInt();
    out << "lines: " << dm.QueryValue(QStringLiteral("select count(*) from TRANZ_RED")).toInt()
        << ", documents: " << dm.QueryValue(QStringLiteral("select count(*) from TRANZ")).toInt()
        << ", busiest goods item " << busiest << " on " << busiestLines << " lines, a typical one on about "
        << typicalLines << ", page cache "
        << dm.QueryValue(QStringLiteral("select MON$PAGE_BUFFERS from MON$DATABASE")).toInt() << " pages\n";

    // Stock on hand reads the stock of the newest closed month; the first
    // report or stock list of a month stores it.
    QElapsedTimer storing;
    storing.start();
    data::stockBefore(dm, today.addDays(1));
    out << "the closed months' stock read and stored in " << storing.elapsed() << " ms, held from "
        << data::trustedSnapshot(dm, today.addDays(1)).toString(QStringLiteral("dd.MM.yyyy")) << '\n';

    std::vector<Path> paths;

    Floor cutOff(dm, QString::fromLatin1(kStockCutOff));
    Floor stockSum(dm, QString::fromLatin1(kStockSum));
    const auto stockFloor = [&](int goods) {
        const QVariant maxId = cutOff.firstValue({{QStringLiteral("TOMORROW"), tomorrow}});
        if (maxId.isNull())
            return 0.0;
        const double onHand = number(stockSum.firstValue({{QStringLiteral("NOM_ID"), goods}, {QStringLiteral("MAX_ID"), maxId}}));
        return onHand > 0 ? onHand : 0.0;
    };
    const auto typicalItem = [&](int i) { return typical[size_t(i) % typical.size()]; };
    paths.push_back({QStringLiteral("stock on hand, typical goods"), 500,
                     [&](int i) { dm.StockOnHand(typicalItem(i)); }, [&](int i) { stockFloor(typicalItem(i)); }});
    paths.push_back({QStringLiteral("stock on hand, busiest goods"), 20, [&](int) { dm.StockOnHand(busiest); },
                     [&](int) { stockFloor(busiest); }});

    Floor lastPrice(dm, QString::fromLatin1(kLastPrice));
    Floor sellPrice(dm, QString::fromLatin1(kSellPrice));
    std::vector<std::pair<int, int>> pairs;
    for (const QVariantList &row : dm.QueryRows(QStringLiteral(
             "select first 200 tr.TRANZ_RED_NOM_ID, t.TRANZ_KONT_ID from TRANZ_RED tr join TRANZ t on "
             "t.TRANZ_ID = tr.TRANZ_RED_TRANZ_ID where t.TRANZ_KONT_ID > 1 and mod(tr.TRANZ_RED_ID, 4999) = 0")))
        pairs.emplace_back(row.at(0).toInt(), row.at(1).toInt());
    int fallBacks = 0;
    for (const auto &[goods, counterparty] : pairs) {
        if (number(lastPrice.firstValue({{QStringLiteral("NOM_ID"), goods}, {QStringLiteral("KONTR_ID"), counterparty}})) <= 0)
            ++fallBacks;
    }
    paths.push_back({QStringLiteral("last price (%1 of %2 fall back)").arg(fallBacks).arg(pairs.size()),
                     int(pairs.size()),
                     [&](int i) { dm.LastPrice(pairs[size_t(i)].first, pairs[size_t(i)].second); },
                     [&](int i) {
                         const auto [goods, counterparty] = pairs[size_t(i)];
                         const double price = number(lastPrice.firstValue(
                             {{QStringLiteral("NOM_ID"), goods}, {QStringLiteral("KONTR_ID"), counterparty}}));
                         if (!(price > 0 && goods != 0 && counterparty != 0) && goods != 0)
                             number(sellPrice.firstValue({{QStringLiteral("NOM_ID"), goods}}));
                     }});

    std::vector<std::unique_ptr<Floor>> maxima;
    const std::vector<std::pair<int, const char *>> counterTables = {
        {data::CounterBankAccounts, "SELECT max(ID) FROM BANK_ACCOUNTS"},
        {data::CounterCategory, "SELECT max(ID) FROM CATEGORY"},
        {data::CounterCities, "SELECT max(ID) FROM CITIES"},
        {data::CounterContactInfo, "SELECT max(ID) FROM CONTACTINFO"},
        {data::CounterInvoices, "SELECT max(ID) FROM INVOICES"},
        {data::CounterInvoiceDetails, "SELECT max(DETAIL_ID) FROM INVOICE_DETAILS"},
        {data::CounterKontr, "SELECT max(KONTR_ID) FROM KONTR"},
        {data::CounterMerki, "SELECT max(MERKI_ID) FROM MERKI"},
        {data::CounterMruItems, "SELECT max(ID) FROM MRU_ITEMS"},
        {data::CounterNom, "SELECT max(NOM_ID) FROM NOM"},
        {data::CounterTranz, "SELECT max(TRANZ_ID) FROM TRANZ"},
        {data::CounterTranzRed, "SELECT max(TRANZ_RED_ID) FROM TRANZ_RED"}};
    for (const auto &table : counterTables)
        maxima.push_back(std::make_unique<Floor>(dm, QString::fromLatin1(table.second)));
    Floor resetCounter(dm, QString::fromLatin1(kResetCounter));
    paths.push_back({QStringLiteral("AdjustCounters"), 10, [&](int) { dm.AdjustCounters(data::CounterAdjustment::Reset); },
                     [&](int) {
                         // A reset first makes sure no other workstation holds a drawn key.
                         data::otherConnections(dm.database());
                         for (size_t i = 0; i < maxima.size(); ++i) {
                             const QVariant highest = maxima[i]->firstValue();
                             resetCounter.execute({{QStringLiteral("VAL"), highest.isNull() ? 0 : highest.toInt()},
                                                   {QStringLiteral("ID"), counterTables[i].first}});
                             dm.CommitRetaining();
                         }
                         dm.CommitRetaining();
                     }});

    // The journal as its window opens it; the floor is the engine's own
    // fetch of the same rows, decoding nothing.
    const QDate lastMonth = QDate(today.year(), today.month(), 1).addMonths(-1);
    struct JournalPeriod
    {
        QString name;
        QDate from;
        QDate to;
        int calls;
    };
    const std::vector<JournalPeriod> periods = {
        {QStringLiteral("journal, %1").arg(lastMonth.toString(QStringLiteral("MM.yyyy"))), lastMonth,
         lastMonth.addMonths(1).addDays(-1), 10},
        {QStringLiteral("journal, one year"), today.addYears(-1).addDays(1), today, 2},
        {QStringLiteral("journal, all documents"), QDate(), QDate(), 1}};
    std::vector<std::unique_ptr<Floor>> journalFloors;
    std::vector<std::unique_ptr<db::Dataset>> journals;
    std::vector<Params> journalParams;
    for (const JournalPeriod &period : periods) {
        const QString sql = data::journalStatement(0, period.from, period.to);
        journalParams.push_back(data::journalPeriodParams(period.from, period.to));
        journalFloors.push_back(std::make_unique<Floor>(dm, sql));
        journals.push_back(dm.createDataset(sql));
        for (auto it = journalParams.back().cbegin(); it != journalParams.back().cend(); ++it)
            journals.back()->setParam(it.key(), it.value());
    }
    for (size_t i = 0; i < periods.size(); ++i) {
        db::Dataset &journal = *journals[i];
        Floor &floor = *journalFloors[i];
        const Params &params = journalParams[i];
        paths.push_back({periods[i].name + QStringLiteral(" (%1 rows)").arg(floor.fetchedRows(params)), periods[i].calls,
                         [&journal](int) {
                             journal.close();
                             journal.open();
                         },
                         [&floor, &params](int) { floor.fetchedRows(params); }});
    }

    // The journal of all documents as the main window shows it: read on
    // demand, the first screen painted, beside the engine's fetch of the
    // rows it read; and read on demand to its end, beside the engine's fetch
    // of every row.
    const QString allDocuments = data::journalStatement(0, QDate(), QDate());
    const Params &allParams = journalParams.back();
    auto onDemand = dm.createDataset(allDocuments);
    onDemand->setFetchOnDemand(true);
    for (auto it = allParams.cbegin(); it != allParams.cend(); ++it)
        onDemand->setParam(it.key(), it.value());
    onDemand->open();
    const int firstRows = onDemand->fetchedCount();
    Floor &allFloor = *journalFloors.back();
    paths.push_back({QStringLiteral("journal, all documents, first screen (%1 rows read)").arg(firstRows), 10,
                     [&](int) {
                         onDemand->close();
                         onDemand->open();
                         paintFirstScreen(*onDemand);
                     },
                     [&](int) { allFloor.fetchedRows(allParams, firstRows); }});
    paths.push_back({QStringLiteral("journal, all documents, on demand to the end"), 1,
                     [&](int) {
                         onDemand->close();
                         onDemand->open();
                         onDemand->recordCount();
                     },
                     [&](int) { allFloor.fetchedRows(allParams); }});

    Floor outstanding(dm, QString::fromLatin1(kOutstandingMoney));
    const Params outstandingParams{{QStringLiteral("Tranz_Type_Id"), 11}, {QStringLiteral("ToDate"), today}};
    paths.push_back({QStringLiteral("outstanding money (%1 rows)").arg(outstanding.fetchedRows(outstandingParams)), 10,
                     [&](int) { dm.QueryRows(QString::fromLatin1(kOutstandingMoney), outstandingParams); },
                     [&](int) { outstanding.decodedRows(outstandingParams); }});

    // The payments window's money pages as they open and read again: the
    // list as a dataset and the ageing beside it, each decoded once.
    Floor ageing(dm, payments::ageingSql());
    std::vector<std::unique_ptr<db::Dataset>> moneyPages;
    std::vector<Params> moneyPageParams;
    std::vector<Params> ageingPageParams;
    std::unique_ptr<Floor> moneyPageFloor = std::make_unique<Floor>(dm, payments::moneyListSql());
    for (const int type : {payments::kDeliveryType, payments::kSaleType}) {
        moneyPageParams.push_back({{QStringLiteral("Tranz_Type_Id"), type}, {QStringLiteral("ToDate"), payments::allDueDates()}});
        ageingPageParams.push_back(payments::ageingParams(type, payments::allDueDates(), today));
        moneyPages.push_back(dm.createDataset(payments::moneyListSql()));
        for (auto it = moneyPageParams.back().cbegin(); it != moneyPageParams.back().cend(); ++it)
            moneyPages.back()->setParam(it.key(), it.value());
    }
    for (size_t i = 0; i < moneyPages.size(); ++i) {
        db::Dataset &page = *moneyPages[i];
        const Params &params = moneyPageParams[i];
        const Params &ageingParams = ageingPageParams[i];
        paths.push_back({QStringLiteral("payments, %1 (%2 rows)")
                             .arg(i == 0 ? QStringLiteral("owed money") : QStringLiteral("money due"))
                             .arg(moneyPageFloor->fetchedRows(params)),
                         10,
                         [&dm, &page, &ageingParams](int) {
                             dm.QueryRows(payments::ageingSql(), ageingParams);
                             page.close();
                             page.open();
                         },
                         [&moneyPageFloor, &ageing, &params, &ageingParams](int) {
                             ageing.decodedRows(ageingParams);
                             moneyPageFloor->decodedRows(params);
                         }});
    }

    // The shared look-up lists as a connection opens them; the floor reads
    // the same rows with the same statements, each value decoded once, as a
    // list must hold them.
    const std::vector<db::Dataset *> lookups = {&dm.qMerki(),       &dm.qNom(),    &dm.qAmbalaj(),       &dm.qKontr(),
                                                &dm.qTranzTypes(), &dm.qCities(), &dm.qContactTypes(), &dm.qCategory()};
    const Params goodsParams{{QStringLiteral("Is_filtered"), 0}, {QStringLiteral("CAT_ID"), QVariant()}};
    std::vector<std::unique_ptr<Floor>> lookupFloors;
    int lookupRows = 0;
    for (db::Dataset *list : lookups) {
        lookupFloors.push_back(std::make_unique<Floor>(dm, list->selectSql()));
        lookupRows += lookupFloors.back()->fetchedRows(list == &dm.qNom() ? goodsParams : Params());
    }
    paths.push_back({QStringLiteral("shared look-up lists (%1 rows)").arg(lookupRows), 5,
                     [&](int) {
                         dm.CloseLookups();
                         dm.OpenLookups();
                     },
                     [&](int) {
                         for (size_t i = 0; i < lookups.size(); ++i)
                             lookupFloors[i]->decodedRows(lookups[i] == &dm.qNom() ? goodsParams : Params());
                     }});

    // The goods and counterparties windows as they open: their lists read
    // into a dataset, with the goods' look-up columns shown for every row
    // (a grid asks for each cell it paints). The statements are the
    // windows' own; the floor reads and decodes the same rows.
    const QString goodsWindowList = QStringLiteral("select * from NOM where (1=1) and (NOM_ID <> -1) order by NOM_NAME");
    const QString counterpartiesWindowList =
        QStringLiteral("select * from KONTR where (1=1) and (KONTR_ID>0) Order by  KONTR_CODE, KONTR_NAME");
    auto goodsWindow = dm.createDataset(goodsWindowList);
    goodsWindow->addLookupField(QStringLiteral("CATEGORY_NAME"), QStringLiteral("NOM_CATEGORY_ID"), &dm.qCategory(),
                                QStringLiteral("ID"), QStringLiteral("NAME"));
    goodsWindow->addLookupField(QStringLiteral("BASE_UNIT_NAME"), QStringLiteral("NOM_MERKI_ID1"), &dm.qMerki(),
                                QStringLiteral("MERKI_ID"), QStringLiteral("MERKI_NAME"));
    auto counterpartiesWindow = dm.createDataset(counterpartiesWindowList);
    Floor goodsWindowFloor(dm, goodsWindowList);
    Floor counterpartiesWindowFloor(dm, counterpartiesWindowList);
    paths.push_back({QStringLiteral("goods window list (%1 rows)").arg(goodsWindowFloor.fetchedRows({})), 5,
                     [&](int) {
                         goodsWindow->close();
                         goodsWindow->open();
                         const int category = goodsWindow->fieldIndex(QStringLiteral("CATEGORY_NAME"));
                         const int unit = goodsWindow->fieldIndex(QStringLiteral("BASE_UNIT_NAME"));
                         for (int row = 0; row < goodsWindow->recordCount(); ++row) {
                             goodsWindow->value(row, category);
                             goodsWindow->value(row, unit);
                         }
                     },
                     [&](int) { goodsWindowFloor.decodedRows({}); }});
    paths.push_back({QStringLiteral("counterparties window list (%1 rows)").arg(counterpartiesWindowFloor.fetchedRows({})),
                     5,
                     [&](int) {
                         counterpartiesWindow->close();
                         counterpartiesWindow->open();
                     },
                     [&](int) { counterpartiesWindowFloor.decodedRows({}); }});

    out << QStringLiteral("%1 rounds, issued and floor in turns; median µs per call ± half the range "
                          "of the rounds, in percent of the median\n\n")
               .arg(options.rounds);
    bool withinLimit = true;
    for (const Path &path : paths) {
        std::vector<double> issued;
        std::vector<double> floor;
        path.issued(0); // the first call of each reads its pages from disk
        path.floor(0);
        for (int round = 0; round < options.rounds; ++round) {
            if (round % 2 == 0) {
                issued.push_back(microsecondsPerCall(path.calls, path.issued));
                floor.push_back(microsecondsPerCall(path.calls, path.floor));
            } else {
                floor.push_back(microsecondsPerCall(path.calls, path.floor));
                issued.push_back(microsecondsPerCall(path.calls, path.issued));
            }
        }
        const Figure issuedFigure = figure(issued);
        const Figure floorFigure = figure(floor);
        const double ratio = issuedFigure.median / floorFigure.median;
        const bool over = options.maxRatio > 0 && ratio > options.maxRatio;
        withinLimit = withinLimit && !over;
        out << qSetFieldWidth(46) << Qt::left << path.name << qSetFieldWidth(0)
            << QStringLiteral("%1 calls  issued %2 µs ±%3%  floor %4 µs ±%5%  ratio %6%7")
                   .arg(path.calls, 4)
                   .arg(issuedFigure.median, 10, 'f', 1)
                   .arg(issuedFigure.spread * 50, 3, 'f', 0)
                   .arg(floorFigure.median, 10, 'f', 1)
                   .arg(floorFigure.spread * 50, 3, 'f', 0)
                   .arg(ratio, 5, 'f', 2)
                   .arg(over ? QStringLiteral("  OVER %1").arg(options.maxRatio) : QString())
            << Qt::endl;
    }

    // Heap taken by the rows of all documents, read whole and decoded (as
    // every other list is) and read on demand to the end, each time by a
    // new dataset, so the room for its rows is counted too.
    out << '\n';
    journals.back()->close();
    onDemand->close();
    for (const bool readOnDemand : {false, true}) {
        std::vector<double> perRow;
        for (int round = 0; round < 3; ++round) {
            auto journal = dm.createDataset(allDocuments);
            journal->setFetchOnDemand(readOnDemand);
            for (auto it = allParams.cbegin(); it != allParams.cend(); ++it)
                journal->setParam(it.key(), it.value());
            malloc_trim(0);
            const qint64 before = heapInUse();
            journal->open();
            const int rows = journal->recordCount();
            perRow.push_back(double(heapInUse() - before) / qMax(rows, 1));
        }
        if (readOnDemand)
            out << qSetFieldWidth(46) << Qt::left << QStringLiteral("resident memory after connecting")
                << qSetFieldWidth(0) << QStringLiteral("%1 MB").arg(startMemory, 8, 'f', 1) << Qt::endl
                << qSetFieldWidth(46) << QStringLiteral("  with the journal of all documents open")
                << qSetFieldWidth(0) << QStringLiteral("%1 MB").arg(residentMegabytes(), 8, 'f', 1) << Qt::endl;
        const Figure memory = figure(perRow);
        out << qSetFieldWidth(46) << Qt::left
            << (readOnDemand ? QStringLiteral("journal, all documents, read on demand")
                             : QStringLiteral("journal, all documents, read whole"))
            << qSetFieldWidth(0)
            << QStringLiteral("%1 bytes per row ±%2%").arg(memory.median, 8, 'f', 0).arg(memory.spread * 50, 3, 'f', 0)
            << Qt::endl;
    }

    out << "\nplans:\n";
    out << "  stock cut-off:     " << cutOff.plan() << '\n';
    out << "  stock sum:         " << stockSum.plan() << '\n';
    out << "  last price:        " << lastPrice.plan() << '\n';
    out << "  journal, month:    " << journalFloors.front()->plan() << '\n';
    out << "  journal, all:      " << allFloor.plan() << '\n';
    out << "  outstanding money: " << outstanding.plan() << '\n';
    out << "  payments, ageing:  " << ageing.plan() << '\n';
    out << "  highest TRANZ_ID:  " << maxima[10]->plan() << '\n';
    out << "  highest KONTR_ID:  " << maxima[6]->plan() << '\n';
    return withinLimit;
}

} // namespace bench
