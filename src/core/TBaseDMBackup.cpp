// The data module's backup and restore: the services do the work while the
// connection is closed.

#include "core/TBaseDM.h"

#include "backup/BackupFiles.h"
#include "backup/BackupService.h"

#include <QDateTime>
#include <QDir>

namespace {

// Opens the connection again however the work ended, so the program goes on
// with the database at its path, old or restored.
class ClosedConnection
{
public:
    explicit ClosedConnection(TBaseDM &data)
        : m_data(data)
        , m_wasConnected(data.IsConnected())
    {
        if (m_wasConnected)
            m_data.Disconnect();
    }
    ~ClosedConnection()
    {
        if (m_wasConnected)
            m_data.Connect();
    }

    ClosedConnection(const ClosedConnection &) = delete;
    ClosedConnection &operator=(const ClosedConnection &) = delete;

private:
    TBaseDM &m_data;
    bool m_wasConnected;
};

} // namespace

QString TBaseDM::sessionBackupDirectory() const
{
    return QDir(backupDirectory).filePath(QStringLiteral("Session"));
}

QString TBaseDM::BackupFileName() const
{
    return backup::backupFileName(backupDirectory, QDateTime::currentDateTime());
}

namespace {

backup::DatabaseRef databaseOf(const TBaseDM &data)
{
    backup::DatabaseRef database;
    database.host = data.embeddedMode ? QString() : data.host;
    database.path = data.databasePath;
    // The services and the file swap need the administrator.
    database.user = QStringLiteral("SYSDBA");
    database.password = QStringLiteral("pendrolix");
    return database;
}

} // namespace

void TBaseDM::RunBackup(const QString &file, const ServiceProgress &progress)
{
    const ClosedConnection closed(*this);
    backup::backupDatabase(databaseOf(*this), file, progress);
}

void TBaseDM::RunRestore(const QString &file, const ServiceProgress &progress)
{
    const ClosedConnection closed(*this);
    backup::restoreDatabase(databaseOf(*this), file, progress);
}
