#pragma once

#include <QString>

#include <functional>

class QWidget;
class TBaseDM;

// The main window's "Архиви": each waits for the service, showing its
// progress, before the notes or the reconnected program follow.
void BackupToDefaultDir(TBaseDM &data, QWidget *owner);
// `browse` answers the folder question (title, starting folder); empty: stop.
void BackupToChosenDir(TBaseDM &data, QWidget *owner,
                       const std::function<QString(const QString &title, const QString &start)> &browse = {});
// The restore window on `folder` (the backup directory when empty), the
// newest backup chosen when `chooseNewest`; then the restore. Whether a
// backup was restored (not when the window was cancelled).
bool RestoreFromBackup(TBaseDM &data, QWidget *owner, const QString &folder = QString(), bool chooseNewest = false);

// Converts the stock side of the database to the euro after a backup into
// the backup directory and a question showing what will change; the backup
// failing stops it.
void ChangeOverToEuro(TBaseDM &data, QWidget *owner);
