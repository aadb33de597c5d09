#include "EuroChangeoverCommand.h"

#include "AdminCommand.h"
#include "BackupCommands.h"
#include "DatabaseCommands.h"
#include "backup/BackupService.h"
#include "data/EuroChangeover.h"
#include "data/OtherConnections.h"
#include "util/Error.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace admin {

namespace {

// Beside the database: the one place known to be on the machine whose
// backup service writes the file.
QString defaultBackupDir(const QString &database)
{
    return QDir(QFileInfo(backup::DatabaseRef::fromName(database).path).absolutePath())
        .filePath(QStringLiteral("Backup"));
}

} // namespace

void runEuroChangeoverCommand(Invocation &invocation)
{
    QStringList &words = invocation.words;
    const QString dateText = takeOption(words, QStringLiteral("--date"), data::euroDay().toString(Qt::ISODate));
    const QDate day = QDate::fromString(dateText, Qt::ISODate);
    if (!day.isValid())
        throw UsageError{QStringLiteral("Датата трябва да е във вида ГГГГ-ММ-ДД: %1").arg(dateText)};
    const QString backupDirOption = takeOption(words, QStringLiteral("--backup-dir"));
    const bool confirmed = takeFlag(words, QStringLiteral("--yes"));
    const QString database = takeWord(words, "база данни");
    expectNoMoreWords(words);
    QTextStream &out = invocation.out;

    // Brought to the current structure, and refused when already in euro or
    // in use elsewhere, before anything is backed up.
    {
        Session session(database, invocation);
        // Only the administrator sees the connections of every database
        // user, and only he may back up.
        if (session.dm().QueryValue(QStringLiteral("select CURRENT_USER from RDB$DATABASE")).toString().trimmed()
            != QLatin1String("SYSDBA"))
            throw varnex::Error(QStringLiteral("Преминаването към евро се прави като SYSDBA: само той вижда връзките "
                                               "на всички потребители."));
        Tdm::CheckSchemaResult(session.dm().PrepareSchema());
        data::requireLevaDatabase(session.dm().database());
        data::requireSoleConnection(session.dm().database());
    }
    // The embedded engine opens the file for one connection at a time, so
    // the backup runs with none open.
    const QString file =
        backupInto(database, backupDirOption.isEmpty() ? defaultBackupDir(database) : backupDirOption, invocation);
    out << QStringLiteral("Архив: ") << file << '\n';
    out.flush();

    Session session(database, invocation);
    out << data::euroChangeoverSummaryText(data::planEuroChangeover(session.dm().database(), day));
    if (!confirmed) {
        out << QStringLiteral("Да бъде ли превалутирана базата данни? [да/не] ");
        out.flush();
        if (!answeredYes(invocation)) {
            out << QStringLiteral("Нищо не е променено.\n");
            return;
        }
    }
    const data::EuroChangeoverSummary made = data::convertToEuro(session.dm().database(), day);
    out << QStringLiteral("Базата данни е превалутирана в евро: %1 продажни цени, %2 документа, %3 реда.\n")
               .arg(made.euro.goods)
               .arg(made.euro.documents)
               .arg(made.euro.lines);
}

} // namespace admin
