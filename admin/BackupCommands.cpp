#include "BackupCommands.h"

#include "AdminCommand.h"
#include "backup/BackupFiles.h"
#include "backup/BackupService.h"
#include "util/Error.h"

#include <QDateTime>
#include <QDir>
#include <QTextStream>

namespace admin {

namespace {

backup::DatabaseRef databaseOf(const QString &name, const Invocation &invocation)
{
    backup::DatabaseRef database = backup::DatabaseRef::fromName(name);
    database.user = invocation.user;
    database.password = invocation.password;
    return database;
}

void runBackup(Invocation &invocation)
{
    QStringList &words = invocation.words;
    const QString keepWord = takeOption(words, QStringLiteral("--keep"));
    const int keep = keepWord.isEmpty() ? 0 : integerWord(keepWord, "--keep");
    if (!keepWord.isEmpty() && keep < 1)
        throw UsageError{QStringLiteral("--keep трябва да е поне 1: %1").arg(keepWord)};
    const QString database = takeWord(words, "базата данни");
    const QString dir = takeWord(words, "директорията за архиви");
    expectNoMoreWords(words);

    invocation.out << backupInto(database, dir, invocation) << '\n';
    if (keep > 0) {
        for (const QString &name : backup::pruneBackups(dir, keep))
            invocation.out << QStringLiteral("изтрит: ") << QDir(dir).filePath(name) << '\n';
    }
}

void runRestore(Invocation &invocation)
{
    QStringList &words = invocation.words;
    const QString file = takeWord(words, "файлът с архива");
    const QString database = takeWord(words, "базата данни");
    expectNoMoreWords(words);
    const backup::DatabaseRef target = databaseOf(database, invocation);
    if (backup::restoreDatabase(target, file))
        invocation.out << QStringLiteral("предишната база: ") << backup::oldDatabaseName(target.path) << '\n';
    else
        invocation.out << QStringLiteral("базата е създадена от архива; предишна база няма\n");
}

} // namespace

QString backupInto(const QString &database, const QString &dir, const Invocation &invocation)
{
    if (!QDir().mkpath(dir))
        throw varnex::Error(QStringLiteral("Грешка: Неуспех при създаване на директория за архиви!"), dir);
    const QDateTime now = QDateTime::currentDateTime();
    const QString file = backup::backupFileName(dir, now);
    backup::backupDatabase(databaseOf(database, invocation), file);
    backup::writeNotes(file, backup::defaultNotes(backup::programTitle(), file, now));
    return file;
}

bool isBackupCommand(const QString &command)
{
    return command == QLatin1String("backup") || command == QLatin1String("restore");
}

void runBackupCommand(const QString &command, Invocation &invocation)
{
    if (command == QLatin1String("backup"))
        runBackup(invocation);
    else
        runRestore(invocation);
}

} // namespace admin
