// The euro changeover in a process of its own, for the test that kills it at
// random moments, and the look at a database's money that tells afterwards
// whether it is wholly in leva or wholly in euro.
//
// euro-changeover-child convert DATABASE
// euro-changeover-child digest DATABASE

#include "data/EuroChangeover.h"
#include "db/Attachment.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "util/Error.h"

#include <QCoreApplication>
#include <QCryptographicHash>

#include <cstdio>
#include <cstdlib>

namespace {

// Every money value with its key, and whether the changeover is recorded
// (its day, not its moment, which differs from run to run).
QByteArray digest(db::Attachment &attachment)
{
    static const char *const queries[] = {
        "select NOM_ID, SELL_PRICE from NOM order by NOM_ID",
        "select TRANZ_ID, TRANZ_SUM, TRANZ_PLATENO from TRANZ order by TRANZ_ID",
        "select TRANZ_RED_ID, TRANZ_RED_CENA from TRANZ_RED order by TRANZ_RED_ID",
        "select cast(substring(KEY_VALUE from 1 for 10) as varchar(10)) from APP_CONFIG where KEY_ID = 402",
    };
    db::Transaction transaction(attachment);
    transaction.start();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QByteArray record;
    for (const char *sql : queries) {
        db::Statement statement(attachment, transaction);
        statement.prepare(QString::fromLatin1(sql));
        statement.execute();
        while (statement.fetch()) {
            for (int column = 0; column < statement.columnCount(); ++column) {
                const QByteArray value = statement.value(column).toString().toUtf8();
                hash.addData(value + ';');
                if (sql == queries[3])
                    record = value;
            }
        }
        statement.close();
    }
    transaction.commit();
    return (record.isEmpty() ? QByteArray("leva ") : "euro " + record + ' ') + hash.result().toHex();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: euro-changeover-child convert|digest DATABASE\n", stderr);
        return 2;
    }
    const QByteArray mode = argv[1];
    try {
        db::Attachment attachment;
        attachment.attach(QString::fromLocal8Bit(argv[2]), QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
        if (mode == "convert") {
            data::convertToEuro(attachment, data::euroDay());
            std::puts("converted");
        } else {
            std::printf("%s\n", digest(attachment).constData());
        }
        attachment.detach();
    } catch (const varnex::Error &error) {
        std::fprintf(stderr, "%s\n", error.message().toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    std::fflush(stdout);
    // As the program does: the engine's threads may still be winding down.
    std::_Exit(0);
}
