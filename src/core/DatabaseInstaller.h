#pragma once

#include <QString>

// Creates a new database from the install script and, unless `version` is
// the first one, upgrades it to that version as start-up would, recording
// the version and granting the table rights. `database` is "host:path" or a
// path alone (embedded engine).
void installDatabase(const QString &database, const QString &user, const QString &password, int version);
