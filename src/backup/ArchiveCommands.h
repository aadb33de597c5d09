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
// newest backup chosen when `chooseNewest`; then the restore.
void RestoreFromBackup(TBaseDM &data, QWidget *owner, const QString &folder = QString(), bool chooseNewest = false);
