#include "backup/BackupService.h"

#include "data/OtherConnections.h"
#include "db/Attachment.h"
#include "db/DatabaseError.h"
#include "db/Services.h"
#include "util/Error.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace backup {

namespace {

const char *const kBackupFailed = "Грешка: Неуспех при създаване на архив на базата данни!";
const char *const kRestoreFailed = "Грешка: Неуспех при възстановяване на данни от архив!";
const char *const kInUse = "Базата се използва в момента и не може да бъде възстановена!";

// The sentence, and under it the system's own words: what went wrong is
// there, and the user needs it to put it right (a full disk, a damaged file).
varnex::Error failure(const char *sentence, const QString &why)
{
    const QString text = QString::fromUtf8(sentence);
    return varnex::Error(why.isEmpty() ? text : text + QLatin1String("\n\n") + why, why);
}

varnex::Error serviceFailure(const char *sentence, const std::exception &error)
{
    QString why = QString::fromUtf8(error.what());
    if (const auto *database = dynamic_cast<const db::DatabaseError *>(&error))
        why = database->serverText();
    else if (const auto *ours = dynamic_cast<const varnex::Error *>(&error))
        why = ours->message();
    return failure(sentence, why.trimmed());
}

QString serviceHost(const DatabaseRef &database)
{
    return database.host;
}

QString serviceName(const DatabaseRef &database, const QString &path)
{
    return database.host.isEmpty() ? path : database.host + QLatin1Char(':') + path;
}

// Swaps the two directory entries in one step where the file system can;
// otherwise keeps the database under its old name by a hard link before the
// restored file is renamed over it. Either way the database's path names a
// whole database at every moment.
bool swapIntoPlace(const QString &restored, const QString &live, const QString &old)
{
    const QByteArray restoredName = QFile::encodeName(restored);
    const QByteArray liveName = QFile::encodeName(live);
    const QByteArray oldName = QFile::encodeName(old);
    if (::renameat2(AT_FDCWD, restoredName.constData(), AT_FDCWD, liveName.constData(), RENAME_EXCHANGE) == 0)
        return ::rename(restoredName.constData(), oldName.constData()) == 0;
    if (::link(liveName.constData(), oldName.constData()) != 0)
        return false;
    if (::rename(restoredName.constData(), liveName.constData()) != 0) {
        ::unlink(oldName.constData());
        return false;
    }
    return true;
}

} // namespace

DatabaseRef DatabaseRef::fromName(const QString &name)
{
    DatabaseRef database;
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    // "C:\..." names a drive, not a host.
    if (colon > 1) {
        database.host = name.left(colon);
        database.path = name.mid(colon + 1);
    } else {
        database.path = name;
    }
    return database;
}

QString DatabaseRef::connectionName() const
{
    return serviceName(*this, path);
}

QString oldDatabaseName(const QString &path)
{
    const QFileInfo info(path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1String(".oldFDB");
}

QString stagingName(const QString &path)
{
    return path + QLatin1String(".restoring");
}

void backupDatabase(const DatabaseRef &database, const QString &file, const Progress &progress)
{
    // Backup names go to the minute, so a second backup within one takes the
    // name of the first: it is written beside it and replaces it only once
    // finished, so a failed backup never costs the earlier good one.
    const bool replacing = QFileInfo::exists(file);
    const QString written = replacing ? file + QLatin1String(".part") : file;
    try {
        db::Services services;
        services.attach(serviceHost(database), database.user, database.password);
        services.backup(database.path, written, progress);
        services.detach();
    } catch (const std::exception &error) {
        QFile::remove(written);
        throw serviceFailure(kBackupFailed, error);
    }
    if (QFileInfo(written).size() <= 0) {
        QFile::remove(written);
        throw varnex::Error(QString::fromUtf8(kBackupFailed), written);
    }
    if (replacing && ::rename(QFile::encodeName(written).constData(), QFile::encodeName(file).constData()) != 0) {
        QFile::remove(written);
        throw varnex::Error(QString::fromUtf8(kBackupFailed), file);
    }
}

bool restoreDatabase(const DatabaseRef &database, const QString &backupFile, const Progress &progress)
{
    const QString live = database.path;
    const QString staging = stagingName(live);
    const QString old = oldDatabaseName(live);
    if (!QFileInfo::exists(QFileInfo(live).path()))
        throw varnex::Error(QStringLiteral("Базата данни не е достъпна от това работно място и не може да бъде "
                                           "възстановена!"),
                            live);
    if (!QFileInfo::exists(backupFile))
        throw varnex::Error(QString::fromUtf8(kRestoreFailed), backupFile);

    db::Services services;
    try {
        services.attach(serviceHost(database), database.user, database.password);
        QFile::remove(staging);
        services.restore(backupFile, staging, false, progress);
        // The restored database must open before it may replace anything.
        db::Attachment check;
        check.attach(serviceName(database, staging), database.user, database.password);
        check.detach();
    } catch (const std::exception &error) {
        QFile::remove(staging);
        throw serviceFailure(kRestoreFailed, error);
    }

    if (!QFileInfo::exists(live)) {
        if (!QFile::rename(staging, live)) {
            QFile::remove(staging);
            throw varnex::Error(QString::fromUtf8(kRestoreFailed), live);
        }
        return false;
    }

    int others = 0;
    try {
        db::Attachment attachment;
        attachment.attach(database.connectionName(), database.user, database.password);
        others = data::otherConnections(attachment);
        attachment.detach();
    } catch (const std::exception &error) {
        QFile::remove(staging);
        throw serviceFailure(kRestoreFailed, error);
    }
    if (others > 0) {
        QFile::remove(staging);
        throw varnex::Error(
            QString::fromUtf8(kInUse) + QStringLiteral(" Свързани работни места: %1.").arg(others));
    }

    try {
        services.shutDown(live);
    } catch (const std::exception &error) {
        QFile::remove(staging);
        throw serviceFailure(kInUse, error);
    }

    QFile::remove(old);
    if (!swapIntoPlace(staging, live, old)) {
        const int failed = errno;
        try {
            services.bringOnline(live);
        } catch (const std::exception &) {
            QFile::remove(staging);
            throw failure(kRestoreFailed, QString::fromLocal8Bit(std::strerror(failed)));
        }
        QFile::remove(staging);
        throw failure(kRestoreFailed, QString::fromLocal8Bit(std::strerror(failed)));
    }
    // The previous database stays readable for whoever wants to look back.
    try {
        services.bringOnline(old);
    } catch (const std::exception &) {
        // The restore itself has succeeded; a shut-down copy is still a copy.
    }
    return true;
}

} // namespace backup
