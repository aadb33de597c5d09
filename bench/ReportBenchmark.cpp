#include "ReportBenchmark.h"

#include "core/Tdm.h"
#include "db/Statement.h"
#include "reportdata/Reports.h"

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>
#include <memory>

namespace bench {

namespace {

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// The embedded engine works in this process, so its processor time tells
// the engine's work apart from the waits of a loaded machine.
double processorMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

std::vector<double> *processorTimes = nullptr;

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    const double processorStart = processorMilliseconds();
    timer.start();
    work();
    if (processorTimes)
        processorTimes->push_back(processorMilliseconds() - processorStart);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

bool runReportBenchmark(Tdm &dm, QTextStream &out, const BenchmarkOptions &options)
{
    const QDate newest = dm.QueryValue(QStringLiteral("select max(TRANZ_TIME) from TRANZ")).toDateTime().date();
    const int busiest = dm.QueryValue(QStringLiteral(
        "select first 1 TRANZ_RED_NOM_ID from TRANZ_RED group by 1 order by count(*) desc")).toInt();
    reportdata::ReportParameters parameters;
    parameters.today = newest;
    parameters.date = newest;
    parameters.from = newest.addYears(-1).addDays(1);
    parameters.to = newest;
    parameters.goodsId = busiest;
    parameters.month = newest;
    out << "reports on the year up to " << newest.toString(QStringLiteral("dd.MM.yyyy"))
        << ", the stock card of the busiest goods item " << busiest << "; median ms of " << options.rounds
        << " rounds, report and floor in turns\n\n";

    bool withinLimit = true;
    QStringList plans;
    for (const reportdata::ReportEntry &entry : reportdata::reportCatalogue()) {
        std::vector<std::unique_ptr<db::Statement>> statements;
        const std::vector<reportdata::ReportStatement> sent = reportdata::reportStatements(entry.kind, parameters);
        for (const reportdata::ReportStatement &statement : sent) {
            statements.push_back(std::make_unique<db::Statement>(dm.database(), dm.mainTransaction()));
            statements.back()->prepare(statement.sql);
            plans << QStringLiteral("  %1: %2").arg(entry.name, statements.back()->plan());
        }
        size_t rows = 0;
        const auto report = [&] { rows = reportdata::runReport(dm, entry.kind, parameters).rows.size(); };
        const auto floor = [&] {
            for (size_t i = 0; i < statements.size(); ++i) {
                db::Statement &statement = *statements[i];
                for (auto it = sent[i].params.cbegin(); it != sent[i].params.cend(); ++it)
                    if (statement.hasParameter(it.key()))
                        statement.setParameter(it.key(), it.value());
                statement.execute();
                while (statement.fetch()) {
                    QVariantList row;
                    for (int column = 0; column < statement.columnCount(); ++column)
                        row << statement.value(column);
                }
                statement.close();
            }
        };
        report(); // the first run reads the pages from disk
        floor();
        std::vector<double> reportTimes;
        std::vector<double> floorTimes;
        std::vector<double> reportProcessor;
        std::vector<double> floorProcessor;
        const auto timed = [&](const std::function<void()> &work, std::vector<double> &times,
                               std::vector<double> &processor) {
            processorTimes = &processor;
            times.push_back(milliseconds(work));
            processorTimes = nullptr;
        };
        for (int round = 0; round < options.rounds; ++round) {
            if (round % 2 == 0) {
                timed(report, reportTimes, reportProcessor);
                timed(floor, floorTimes, floorProcessor);
            } else {
                timed(floor, floorTimes, floorProcessor);
                timed(report, reportTimes, reportProcessor);
            }
        }
        const double reportMs = median(reportTimes);
        const double floorMs = median(floorTimes);
        const double ratio = reportMs / floorMs;
        const bool over = options.maxRatio > 0 && ratio > options.maxRatio;
        withinLimit = withinLimit && !over;
        out << qSetFieldWidth(40) << Qt::left << QStringLiteral("%1 (%2 rows)").arg(entry.name).arg(rows)
            << qSetFieldWidth(0)
            << QStringLiteral("report %1 ms  floor %2 ms  ratio %3  processor %4 ms / %5 ms%6")
                   .arg(reportMs, 9, 'f', 1)
                   .arg(floorMs, 9, 'f', 1)
                   .arg(ratio, 5, 'f', 2)
                   .arg(median(reportProcessor), 8, 'f', 0)
                   .arg(median(floorProcessor), 8, 'f', 0)
                   .arg(over ? QStringLiteral("  OVER %1").arg(options.maxRatio) : QString())
            << Qt::endl;
    }
    out << "\nplans:\n" << plans.join(QLatin1Char('\n')) << '\n';
    return withinLimit;
}

} // namespace bench
