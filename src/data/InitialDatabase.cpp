#include "data/InitialDatabase.h"

#include "db/Attachment.h"
#include "db/Script.h"
#include "db/Transaction.h"
#include "util/Error.h"

#include <QFile>

namespace data {

QString initialDatabaseScript()
{
    QFile file(QStringLiteral(":/install/initial-database.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw varnex::Error(QStringLiteral("Липсва скриптът за създаване на базата данни."));
    return QString::fromUtf8(file.readAll());
}

void createInitialDatabase(const QString &database, const QString &user, const QString &password)
{
    if (!database.contains(QLatin1Char(':')) && QFile::exists(database))
        throw varnex::Error(QStringLiteral("Файлът „%1“ вече съществува.").arg(database));
    const QString script = initialDatabaseScript();
    db::Attachment::createDatabase(database, user, password);
    db::Attachment attachment;
    attachment.attach(database, user, password);
    db::Transaction transaction(attachment);
    transaction.start();
    db::Script(attachment, transaction).execute(script);
    transaction.commit();
}

} // namespace data
