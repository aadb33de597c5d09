#include "DatabaseGenerator.h"
#include "ProductionBenchmark.h"
#include "QueryBenchmark.h"
#include "ReportBenchmark.h"
#include "RoundTrips.h"
#include "WorkstationsBenchmark.h"

#include "core/DatabaseInstaller.h"
#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "util/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <map>

namespace {

// The options after the database name; false on anything else.
bool readOptions(const QStringList &options, bench::BenchmarkOptions &result)
{
    for (int i = 0; i < options.size(); i += 2) {
        if (i + 1 >= options.size())
            return false;
        bool ok = false;
        if (options[i] == QLatin1String("--max-ratio"))
            result.maxRatio = options[i + 1].toDouble(&ok);
        else if (options[i] == QLatin1String("--rounds"))
            result.rounds = options[i + 1].toInt(&ok);
        if (!ok || result.rounds < 1 || result.maxRatio < 0)
            return false;
    }
    return true;
}

// "--count N --seconds S" and the like: each option a positive number.
bool readCounts(const QStringList &options, std::map<QString, int> &counts)
{
    if (options.size() % 2)
        return false;
    for (int i = 0; i < options.size(); i += 2) {
        bool ok = false;
        const auto known = counts.find(options[i]);
        if (known == counts.end())
            return false;
        known->second = options[i + 1].toInt(&ok);
        if (!ok || known->second < 1)
            return false;
    }
    return true;
}

// "--lines N" or nothing: the documents follow from the number of lines.
bool readLines(const QStringList &options, bench::Sizes &sizes)
{
    std::map<QString, int> counts{{QStringLiteral("--lines"), sizes.documents * sizes.linesPerDocument}};
    if (!readCounts(options, counts) || counts[QStringLiteral("--lines")] < sizes.linesPerDocument)
        return false;
    sizes.documents = counts[QStringLiteral("--lines")] / sizes.linesPerDocument;
    return true;
}

// The load of many workstations, or one of its workstations.
int runWorkstationCommand(const QStringList &arguments, QTextStream &out)
{
    const bool worker = arguments[0] == QLatin1String("workstation");
    std::map<QString, int> counts{{QStringLiteral("--seconds"), 60}};
    QStringList options = arguments.mid(2);
    QString log;
    if (worker) {
        const int at = options.indexOf(QStringLiteral("--log"));
        if (at < 0 || at + 1 >= options.size())
            return 2;
        log = options[at + 1];
        options.remove(at, 2);
    } else {
        counts.emplace(QStringLiteral("--count"), 1);
    }
    if (!readCounts(options, counts))
        return 2;
    if (worker)
        return bench::runWorkstation(arguments[1], counts[QStringLiteral("--seconds")], log);
    const bench::WorkstationsOptions load{counts[QStringLiteral("--count")], counts[QStringLiteral("--seconds")]};
    return bench::runWorkstations(QCoreApplication::applicationFilePath(), arguments[1], load, out) ? 0 : 3;
}

} // namespace

// varnex-bench generate DB [--lines N]
//                            makes a realistic database of N document lines
//                            (default 1,000,000: a few minutes)
// varnex-bench run DB [--max-ratio R] [--rounds N]
//                            times the hot paths on it; status 3 when a
//                            ratio to its floor exceeds R
// varnex-bench production DB [--max-ratio R] [--rounds N]
//                            times only the production editor's document
// varnex-bench reports DB [--max-ratio R] [--rounds N]
//                            times only the reports of the report module
// varnex-bench roundtrips HOST:DB
//                            counts the round trips of the commonest actions
// varnex-bench workstations DB [--count N] [--seconds S]
//                            N workstations store, settle and read the
//                            journal for S seconds, then the database is
//                            checked; status 3 when anything was lost,
//                            half stored or doubled
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList arguments = app.arguments().mid(1);
    bench::BenchmarkOptions options;
    if (arguments.size() == 2 && arguments[0] == QLatin1String("roundtrips"))
        return bench::runRoundTripsCommand(arguments[1], out);
    const bool workstations = arguments.size() >= 2
                              && (arguments[0] == QLatin1String("workstations")
                                  || arguments[0] == QLatin1String("workstation"));
    if (workstations) {
        try {
            const int status = runWorkstationCommand(arguments, out);
            if (status != 2)
                return status;
        } catch (const varnex::Error &error) {
            QTextStream(stderr) << error.message() << '\n';
            return 1;
        }
    }
    bench::Sizes sizes;
    const bool generate = arguments.size() >= 2 && arguments[0] == QLatin1String("generate")
                          && readLines(arguments.mid(2), sizes);
    const bool production = arguments.size() >= 2 && arguments[0] == QLatin1String("production");
    const bool reports = arguments.size() >= 2 && arguments[0] == QLatin1String("reports");
    const bool run = arguments.size() >= 2 && (arguments[0] == QLatin1String("run") || production || reports)
                     && readOptions(arguments.mid(2), options);
    if (workstations || (!generate && !run)) {
        QTextStream(stderr) << "usage: varnex-bench generate DATABASE [--lines N]\n"
                               "       varnex-bench run DATABASE [--max-ratio RATIO] [--rounds N]\n"
                               "       varnex-bench production DATABASE [--max-ratio RATIO] [--rounds N]\n"
                               "       varnex-bench reports DATABASE [--max-ratio RATIO] [--rounds N]\n"
                               "       varnex-bench workstations DATABASE [--count N] [--seconds S]\n";
        return 2;
    }
    const QString database = arguments[1];
    try {
        if (generate) {
            if (QFile::exists(database))
                throw varnex::Error(QStringLiteral("%1 exists already").arg(database));
            installDatabase(database, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"), data::kTargetSchemaVersion);
        }
        LastMessage messages;
        Tdm dm(messages);
        dm.setDatabase(database);
        dm.ApplyConnectionConfig();
        if (!dm.Connect())
            throw varnex::Error(messages.line);
        if (generate) {
            bench::generateDatabase(dm, sizes, QDate::currentDate(), [&](const QString &step) {
                out << step << Qt::endl;
            });
        } else if (reports) {
            if (!bench::runReportBenchmark(dm, out, options))
                return 3;
        } else {
            const bool queries = production || bench::runQueryBenchmark(dm, out, options);
            const bool document = bench::runProductionBenchmark(dm, out, options);
            const bool reportFigures = production || bench::runReportBenchmark(dm, out, options);
            if (!queries || !document || !reportFigures)
                return 3;
        }
    } catch (const varnex::Error &error) {
        QTextStream(stderr) << error.message() << '\n';
        return 1;
    }
    return 0;
}
