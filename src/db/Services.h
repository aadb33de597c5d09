#pragma once

#include "db/Handle.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace db {

// The server's services manager: user management and backup and restore.
// An empty host means this machine's engine (embedded), which can back up
// and restore but keeps no users.
class Services
{
public:
    Services();
    ~Services();

    Services(const Services &) = delete;
    Services &operator=(const Services &) = delete;

    void attach(const QString &host, const QString &user, const QString &password);
    void detach();
    bool isAttached() const { return m_handle != 0; }

    QStringList listUsers();
    void addUser(const QString &name, const QString &password);

    // Each line the server reports goes to `progress` while the work runs;
    // both return once the service has finished and fail unless it finished
    // the work.
    using Progress = std::function<void(const QString &line)>;
    void backup(const QString &database, const QString &backupFile, const Progress &progress = {});
    // With `replace` an existing database file is overwritten.
    void restore(const QString &backupFile, const QString &database, bool replace, const Progress &progress = {});

    // Refuses new attachments until brought online; fails while any remain.
    void shutDown(const QString &database);
    void bringOnline(const QString &database);

private:
    void start(const QByteArray &request);
    QStringList followOutput(const Progress &progress);
    void requireCompletion(const QStringList &lines, const char *closingLine);

    Handle m_handle = 0;
    QString m_service;
};

} // namespace db
