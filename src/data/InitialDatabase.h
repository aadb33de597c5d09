#pragma once

#include <QString>

namespace data {

// The install script of the database that comes with the program.
QString initialDatabaseScript();

// Creates a new database file holding the initial database. Refuses to
// touch an existing file.
void createInitialDatabase(const QString &database, const QString &user, const QString &password);

} // namespace data
