#pragma once

#include <QString>

namespace admin {

struct Invocation;

bool isBackupCommand(const QString &command);

// "backup БАЗА ДИРЕКТОРИЯ [--keep N]" and "restore ФАЙЛ БАЗА", the same
// backups, notes and safe restore as the program's "Архиви", for scheduled use.
void runBackupCommand(const QString &command, Invocation &invocation);

} // namespace admin
