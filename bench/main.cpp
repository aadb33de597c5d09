#include "DatabaseGenerator.h"
#include "QueryBenchmark.h"

#include "core/DatabaseInstaller.h"
#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "util/Error.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

// varnex-bench generate DB   makes a realistic database (a few minutes)
// varnex-bench run DB        times the hot queries on it
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() != 2 || (arguments[0] != QLatin1String("generate") && arguments[0] != QLatin1String("run"))) {
        QTextStream(stderr) << "usage: varnex-bench generate|run DATABASE\n";
        return 2;
    }
    const QString database = arguments[1];
    try {
        if (arguments[0] == QLatin1String("generate")) {
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
        if (arguments[0] == QLatin1String("generate")) {
            bench::generateDatabase(dm, bench::Sizes(), QDate::currentDate(), [&](const QString &step) {
                out << step << Qt::endl;
            });
        } else {
            bench::runQueryBenchmark(dm, out);
        }
    } catch (const varnex::Error &error) {
        QTextStream(stderr) << error.message() << '\n';
        return 1;
    }
    return 0;
}
