#pragma once

#include <QString>

#include <functional>

// Creates a new database from the install script and, unless `version` is
// the first one, upgrades it to that version as start-up would, recording
// the version and granting the table rights. `database` is "host:path" or a
// path alone (embedded engine). A file on this machine is built under a
// name of its own beside the target and renamed into place when complete,
// so an installation that fails or is killed never leaves a half-built
// database under the target's name; an existing target is refused. On a
// server the file system is the server's, so the database is built in
// place there. `halfBuilt` runs between the install script and the upgrade,
// with no connection open: tests end the process there as a kill would.
void installDatabase(const QString &database, const QString &user, const QString &password, int version,
                     const std::function<void()> &halfBuilt = {});
