#include "ProductionBenchmark.h"

#include "core/Tdm.h"
#include "data/Counters.h"
#include "db/Dataset.h"
#include "db/Statement.h"
#include "documents/DocumentModel.h"
#include "documents/DocumentRules.h"
#include "documents/ProductionDocument.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

namespace {

const int kLinesPerArea = 100;
const int kBusyLinesPerArea = 10;

const char *const kStockCutOff = "Select Max(TRANZ_ID) as MaxID from Tranz t Where TRANZ_TIME + 0 < :TOMORROW";
const char *const kStockSum =
    "Select Sum(TRANZ_RED_izneseno * TRANZ_RED_TYPE_ID) as Nalichnost from Tranz_red "
    "Where TRANZ_RED_NOM_ID=:NOM_ID and TRANZ_RED_TRANZ_ID <=:MAX_ID";
const char *const kGoodsNames = "select NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2 from NOM";
const char *const kGoodsList = "select * from NOM where (NOM_ID <> -1) and ((0= :is_filtered) or "
                               "(NOM_CATEGORY_ID=:CAT_ID)) order by NOM_CODE,NOM_NAME";

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

double number(const QVariant &value)
{
    return value.isNull() ? 0 : value.toDouble();
}

// One statement prepared once; its rows decoded as a dataset holds them.
class Prepared
{
public:
    Prepared(Tdm &dm, const QString &sql)
        : m_statement(dm.database(), dm.mainTransaction())
    {
        m_statement.prepare(sql);
    }
    std::vector<QVariantList> rows(const data::SqlParams &params = {})
    {
        run(params);
        std::vector<QVariantList> result;
        while (m_statement.fetch()) {
            QVariantList row;
            for (int column = 0; column < m_statement.columnCount(); ++column)
                row << m_statement.value(column);
            result.push_back(std::move(row));
        }
        return result;
    }
    QVariant firstValue(const data::SqlParams &params)
    {
        run(params);
        const QVariant value = m_statement.fetch() ? m_statement.value(0) : QVariant();
        m_statement.close();
        return value;
    }
    int column(const char *name)
    {
        for (int i = 0; i < m_statement.columnCount(); ++i) {
            if (m_statement.columnName(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

private:
    void run(const data::SqlParams &params)
    {
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            m_statement.setParameter(it.key(), it.value());
        m_statement.execute();
    }
    db::Statement m_statement;
};

std::vector<int> goodsIds(Tdm &dm, const QString &sql)
{
    std::vector<int> ids;
    for (const QVariantList &row : dm.QueryRows(sql))
        ids.push_back(row.at(0).toInt());
    return ids;
}

// The document: on each side the busiest goods first, then typical ones.
int writeDocument(Tdm &dm)
{
    const std::vector<int> busy = goodsIds(dm, QStringLiteral(
        "select first 10 TRANZ_RED_NOM_ID from TRANZ_RED group by 1 order by count(*) desc"));
    const std::vector<int> typical = goodsIds(dm, QStringLiteral(
        "select first 180 TRANZ_RED_NOM_ID from (select TRANZ_RED_NOM_ID, count(*) c from TRANZ_RED "
        "where TRANZ_RED_NOM_ID between 2000 and 2400 group by 1) order by c desc"));
    const int id = dm.NewCounterValue(data::CounterTranz);
    dm.ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_DOCNO, TRANZ_TYPE_ID, TRANZ_KONT_ID, TRANZ_TIME, "
                              "TRANZ_NOTE, TRANZ_PADEJ, TRANZ_PLATENO, TRANZ_SUM) values (:ID, :DOCNO, 10, -1, :TIME, "
                              "NULL, :PADEJ, 0, 0)"),
               {{field("ID"), id},
                {field("DOCNO"), id},
                {field("TIME"), QDateTime::currentDateTime().addDays(-1)},
                {field("PADEJ"), QDate::currentDate()}});
    const QString line = QStringLiteral(
        "insert into TRANZ_RED (TRANZ_RED_ID, TRANZ_RED_TRANZ_ID, TRANZ_RED_TYPE_ID, TRANZ_RED_NOM_ID, "
        "TRANZ_RED_CAT_ID, TRANZ_RED_KOL1, TRANZ_RED_KOL2, TRANZ_RED_CENA, TRANZ_RED_OTSTUPKA, TRANZ_RED_IZNESENO) "
        "values (:ID, :DOC, :SIGN, :NOM, 0, :KOL, 0, :CENA, 0, :KOL)");
    int typicalUsed = 0;
    for (const int sign : {documents::kOutOfStock, documents::kIntoStock}) {
        for (int i = 0; i < kLinesPerArea; ++i) {
            const int goods = i < kBusyLinesPerArea && i < int(busy.size())
                                  ? busy[size_t(i)]
                                  : typical[size_t(typicalUsed++) % typical.size()];
            dm.ExecSQL(line, {{field("ID"), dm.NewCounterValue(data::CounterTranzRed)},
                              {field("DOC"), id},
                              {field("SIGN"), sign},
                              {field("NOM"), goods},
                              {field("KOL"), 1 + i % 7},
                              {field("CENA"), sign < 0 ? 0.5 + i % 13 : 0.0}});
        }
    }
    return id;
}

struct Answer
{
    double total = 0;
    double stock = 0;
    int shown = 0;
};

// What the editor does from the journal's "Редакция" until the user sees
// the document: open it, show every category's goods in both areas, paint
// each line's goods and unit, show the stock of each material line as it
// becomes current, and total it.
Answer issued(Tdm &dm, int id)
{
    Answer answer;
    documents::DocumentModel document(dm, documents::productionKind());
    document.openExisting(id);
    for (int index = 0; index < document.areaCount(); ++index)
        document.area(index).showAllGoods();
    for (int index = 0; index < document.areaCount(); ++index) {
        documents::LineArea &area = document.area(index);
        db::Dataset &lines = area.lines();
        const int name = lines.requireField(field("NOM_NAME"));
        const int unit = lines.requireField(field("PMYARKA"));
        for (int row = 0; row < lines.recordCount(); ++row) {
            lines.moveTo(row);
            answer.shown += int(!lines.value(row, name).isNull()) + int(!lines.value(row, unit).isNull());
            if (area.kind().carriesValue)
                answer.stock += area.stockOnHand();
        }
    }
    answer.total = document.total();
    return answer;
}

struct Floor
{
    explicit Floor(Tdm &dm)
        : header(dm, documents::productionKind().headerSelect)
        , materials(dm, documents::productionKind().areas[0].selectSql)
        , products(dm, documents::productionKind().areas[1].selectSql)
        , names(dm, field(kGoodsNames))
        , goods(dm, field(kGoodsList))
        , cutOff(dm, field(kStockCutOff))
        , stockSum(dm, field(kStockSum))
    {
    }

    Answer run(Tdm &dm, int id)
    {
        Answer answer;
        const data::SqlParams document{{field("TRANZ_ID"), id}};
        header.rows(document);
        const std::vector<QVariantList> nameRows = names.rows();
        QHash<int, std::pair<QVariant, QVariant>> goodsById;
        for (const QVariantList &row : nameRows)
            goodsById.insert(row.at(0).toInt(), {row.at(2), row.at(3)});
        const data::SqlParams allGoods{{field("is_filtered"), 0}, {field("CAT_ID"), QVariant()}};
        for (int list = 0; list < 2; ++list)
            goods.rows(allGoods);
        const QVariant tomorrow = QDate::currentDate().addDays(1);
        for (Prepared *area : {&materials, &products}) {
            const int goodsColumn = area->column("TRANZ_RED_NOM_ID");
            const int quantity = area->column("TRANZ_RED_KOL1");
            const int price = area->column("TRANZ_RED_CENA");
            const int discount = area->column("TRANZ_RED_OTSTUPKA");
            const std::vector<QVariantList> lines = area->rows(document);
            for (const QVariantList &line : lines) {
                const auto shownGoods = goodsById.value(line.at(goodsColumn).toInt());
                const QVariant sign = dm.qMerki().lookupValue(field("MERKI_ID"), shownGoods.second, field("MERKI_ZNAK"));
                answer.shown += int(!shownGoods.first.isNull()) + int(!sign.isNull());
                if (area != &materials)
                    continue;
                const QVariant maxId = cutOff.firstValue({{field("TOMORROW"), tomorrow}});
                if (!maxId.isNull()) {
                    const double onHand = number(
                        stockSum.firstValue({{field("NOM_ID"), line.at(goodsColumn)}, {field("MAX_ID"), maxId}}));
                    answer.stock += onHand > 0 ? onHand : 0.0;
                }
                answer.total += documents::lineSum(number(line.at(quantity)), number(line.at(price)),
                                                   number(line.at(discount)));
            }
        }
        return answer;
    }

    Prepared header;
    Prepared materials;
    Prepared products;
    Prepared names;
    Prepared goods;
    Prepared cutOff;
    Prepared stockSum;
};

double milliseconds(const std::function<void()> &call)
{
    QElapsedTimer timer;
    timer.start();
    call();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

} // namespace

bool runProductionBenchmark(Tdm &dm, QTextStream &out, const BenchmarkOptions &options)
{
    const int id = writeDocument(dm);
    bool withinLimit = true;
    try {
        Floor floor(dm);
        const Answer expected = floor.run(dm, id);
        const Answer got = issued(dm, id);
        if (std::abs(expected.total - got.total) > 1e-6 || std::abs(expected.stock - got.stock) > 1e-6
            || expected.shown != got.shown)
            out << "production document: the editor's answer differs from the floor's\n";
        std::vector<double> issuedTimes;
        std::vector<double> floorTimes;
        for (int round = 0; round < std::max(options.rounds, 3); ++round) {
            const auto timeIssued = [&] { issuedTimes.push_back(milliseconds([&] { issued(dm, id); })); };
            const auto timeFloor = [&] { floorTimes.push_back(milliseconds([&] { floor.run(dm, id); })); };
            if (round % 2 == 0) {
                timeIssued();
                timeFloor();
            } else {
                timeFloor();
                timeIssued();
            }
        }
        const double issuedMedian = median(issuedTimes);
        const double floorMedian = median(floorTimes);
        const double ratio = issuedMedian / floorMedian;
        const bool over = options.maxRatio > 0 && ratio > options.maxRatio;
        withinLimit = !over;
        out << QStringLiteral("\nproduction document, %1 materials and %2 products (%3 on the busiest goods each), "
                              "opened, stock of every material, total %4:\n")
                   .arg(kLinesPerArea)
                   .arg(kLinesPerArea)
                   .arg(kBusyLinesPerArea)
                   .arg(got.total, 0, 'f', 2)
            << QStringLiteral("  issued %1 ms (%2 – %3)  floor %4 ms (%5 – %6)  ratio %7%8\n")
                   .arg(issuedMedian, 0, 'f', 1)
                   .arg(*std::min_element(issuedTimes.begin(), issuedTimes.end()), 0, 'f', 1)
                   .arg(*std::max_element(issuedTimes.begin(), issuedTimes.end()), 0, 'f', 1)
                   .arg(floorMedian, 0, 'f', 1)
                   .arg(*std::min_element(floorTimes.begin(), floorTimes.end()), 0, 'f', 1)
                   .arg(*std::max_element(floorTimes.begin(), floorTimes.end()), 0, 'f', 1)
                   .arg(ratio, 0, 'f', 2)
                   .arg(over ? QStringLiteral("  OVER %1").arg(options.maxRatio) : QString());
    } catch (...) {
        dm.DeleteDocument(id);
        throw;
    }
    dm.DeleteDocument(id);
    return withinLimit;
}

} // namespace bench
