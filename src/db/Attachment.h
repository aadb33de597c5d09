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

    // `pageBuffers` above 0 records in the database's header a page cache of
    // that many pages. The engine shares one cache per open database, sizes
    // it from the header when it opens the database and ignores a size asked
    // for per connection, so the new size holds from the next opening on.
    // Only the database's owner or an administrator may do this.
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
