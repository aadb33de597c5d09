#pragma once

#include <QString>

namespace admin {

struct Invocation;

bool isDatabaseCommand(const QString &command);

// "create-db", "upgrade", "adjust-counters", "empty-db" and "stock".
void runDatabaseCommand(const QString &command, Invocation &invocation);

} // namespace admin
