#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace backup {

extern const char *const kBackupMask;

// The program's title, as the notes name it.
QString programTitle();

// "<dir>/yyyymmdd_hhnn.DBbackup" for a backup started at `when`.
QString backupFileName(const QString &dir, const QDateTime &when);
// The notes file beside a backup: the same name ending ".txt".
QString notesFileName(const QString &backupFile);
QString defaultNotes(const QString &applicationTitle, const QString &backupFile, const QDateTime &when);
// Windows-1251 with CR LF line ends and no byte-order mark.
void writeNotes(const QString &backupFile, const QString &text);
// The note with plain line feeds; empty when there is no notes file.
QString readNotes(const QString &backupFile);
bool hasNotes(const QString &backupFile);

// The backups of a folder, oldest (by name) first.
QStringList listBackups(const QString &dir);
// "05.03.2024г. 14:07" from "20240305_1407.DBbackup".
QString backupCaption(const QString &fileName);
// Deletes the oldest backups of the folder beyond the newest `keep`, with
// their notes; the names deleted.
QStringList pruneBackups(const QString &dir, int keep);

} // namespace backup
