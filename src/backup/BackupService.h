#pragma once

#include <QString>

#include <functional>

namespace backup {

// A database as the program connects to it: "host:path", or a path alone for
// the embedded engine. The file operations of a restore need the path to be
// the same file on this machine (the embedded engine, or a server here).
struct DatabaseRef
{
    QString host;
    QString path;
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("pendrolix");

    static DatabaseRef fromName(const QString &name);
    QString connectionName() const;
};

using Progress = std::function<void(const QString &line)>;

// Backs the database up into `file` and returns once the service has
// finished; a backup the service did not finish is removed and reported.
void backupDatabase(const DatabaseRef &database, const QString &file, const Progress &progress = {});

// Restores into a new file beside the database first; only when that has
// worked, and nobody else is attached, does the restored file take the
// database's place, the previous one kept as "<name>.oldFDB". Any failure
// before the swap leaves the database as it was. A failure is told with the
// server's own words under the sentence. Returns whether a previous database
// was kept (there is none when the restore made the database anew).
bool restoreDatabase(const DatabaseRef &database, const QString &backupFile, const Progress &progress = {});

QString oldDatabaseName(const QString &path);
QString stagingName(const QString &path);

} // namespace backup
