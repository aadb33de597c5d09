#include "core/DatabaseInstaller.h"

#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "data/InitialDatabase.h"
#include "util/Error.h"

#include <QFile>
#include <QLockFile>

namespace {

bool onServer(const QString &database)
{
    return database.indexOf(QLatin1Char(':')) > 0;
}

void build(const QString &database, const QString &user, const QString &password, int version,
           const std::function<void()> &halfBuilt)
{
    data::createInitialDatabase(database, user, password);
    if (halfBuilt)
        halfBuilt();
    if (version == data::kFirstSchemaVersion)
        return;
    LastMessage messages;
    Tdm dm(messages);
    dm.setDatabase(database);
    dm.user = user;
    dm.password = password;
    dm.ApplyConnectionConfig();
    if (!dm.Connect())
        throw varnex::Error(messages.line);
    if (!dm.UpgradeSchema(data::kFirstSchemaVersion, version))
        Tdm::CheckSchemaResult(Tdm::SchemaResult::UpgradeFailed);
    dm.SetConfigById(101, QString::number(version));
    if (!dm.GrantTableRights())
        Tdm::CheckSchemaResult(Tdm::SchemaResult::GrantsFailed);
}

} // namespace

void installDatabase(const QString &database, const QString &user, const QString &password, int version,
                     const std::function<void()> &halfBuilt)
{
    if (onServer(database)) {
        build(database, user, password, version, halfBuilt);
        return;
    }
    if (QFile::exists(database))
        throw varnex::Error(QStringLiteral("Файлът „%1“ вече съществува.").arg(database));

    // The lock keeps two installations of the same file apart; one left by a
    // process that was killed is taken over.
    const QString building = database + QLatin1String(".creating");
    QLockFile lock(building + QLatin1String(".lock"));
    if (!lock.tryLock(0)) {
        if (lock.error() == QLockFile::LockFailedError)
            throw varnex::Error(QStringLiteral("Файлът „%1“ се създава в момента от друга програма.").arg(database));
        throw varnex::Error(QStringLiteral("Файлът „%1“ не може да бъде създаден.").arg(database));
    }
    QFile::remove(building); // half built by an installation that was killed
    try {
        build(building, user, password, version, halfBuilt);
    } catch (...) {
        QFile::remove(building);
        throw;
    }
    // Every connection to the new file is closed by now; one still open
    // would go on writing into the file under its new name.
    if (!QFile::rename(building, database)) {
        QFile::remove(building);
        throw varnex::Error(QStringLiteral("Файлът „%1“ не може да бъде създаден.").arg(database));
    }
}
