#pragma once

#include <QString>

namespace admin {

struct Invocation;

// Backs `database` up into a new file in `dir` with its notes, as the backup
// command does, and returns the file's name.
QString backupInto(const QString &database, const QString &dir, const Invocation &invocation);

bool isBackupCommand(const QString &command);

// "backup БАЗА ДИРЕКТОРИЯ [--keep N]" and "restore ФАЙЛ БАЗА", the same
// backups, notes and safe restore as the program's "Архиви", for scheduled use.
void runBackupCommand(const QString &command, Invocation &invocation);

} // namespace admin
