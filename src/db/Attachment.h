#pragma once

#include "db/Handle.h"

#include <QString>

namespace db {

// One connection to a database, by name ("host:path" or a path alone, which
// the embedded engine opens), always with the WIN1251 character set.
class Attachment
{
public:
    Attachment();
    ~Attachment();

    Attachment(const Attachment &) = delete;
    Attachment &operator=(const Attachment &) = delete;

    // `pageBuffers` above 0 asks the engine for a page cache of that many
    // database pages; 0 leaves it at the engine's setting.
    void attach(const QString &database, const QString &user, const QString &password, int pageBuffers = 0);
    void detach();
    // Lets go of a connection the server has dropped; never fails.
    void abandon();
    bool isAttached() const { return m_handle != 0; }
    Handle *handle() { return &m_handle; }
    const QString &database() const { return m_database; }

    // Creates an empty database (dialect 3, WIN1251) and leaves it detached.
    static void createDatabase(const QString &database, const QString &user, const QString &password);

private:
    Handle m_handle = 0;
    QString m_database;
};

} // namespace db
