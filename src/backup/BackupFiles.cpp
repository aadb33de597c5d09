#include "backup/BackupFiles.h"

#include "util/Error.h"
#include "util/Win1251.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>

namespace backup {

const char *const kBackupMask = "????????_????.DBbackup";

namespace {

const QLatin1String kExtension(".DBbackup");

} // namespace

QString programTitle()
{
    return QStringLiteral("Система за складова отчетност \"ТОРЕМ\" версия 2.0");
}

QString backupFileName(const QString &dir, const QDateTime &when)
{
    return QDir(dir).filePath(when.toString(QStringLiteral("yyyyMMdd_HHmm")) + kExtension);
}

QString notesFileName(const QString &backupFile)
{
    QString name = backupFile;
    if (name.endsWith(kExtension, Qt::CaseInsensitive))
        name.chop(kExtension.size());
    return name + QLatin1String(".txt");
}

QString defaultNotes(const QString &applicationTitle, const QString &backupFile, const QDateTime &when)
{
    const QLocale locale;
    return QStringLiteral("Архив база данни на ") + applicationTitle + QStringLiteral("\r\n\r\nдата: ")
           + locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(when.time(), QLocale::LongFormat) + QStringLiteral("\r\nфайл: ")
           + QDir::toNativeSeparators(QFileInfo(backupFile).absoluteFilePath());
}

void writeNotes(const QString &backupFile, const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QByteArray bytes = varnex::toWin1251(lines);
    QSaveFile file(notesFileName(backupFile));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw varnex::Error(QStringLiteral("Бележките към архива не могат да бъдат записани!"), file.fileName());
}

bool hasNotes(const QString &backupFile)
{
    return QFileInfo::exists(notesFileName(backupFile));
}

QString readNotes(const QString &backupFile)
{
    QFile file(notesFileName(backupFile));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text = varnex::fromWin1251(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QStringList listBackups(const QString &dir)
{
    return QDir(dir).entryList({QString::fromLatin1(kBackupMask)},
                               QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString backupCaption(const QString &name)
{
    return name.mid(6, 2) + QLatin1Char('.') + name.mid(4, 2) + QLatin1Char('.') + name.left(4)
           + QStringLiteral("г. ") + name.mid(9, 2) + QLatin1Char(':') + name.mid(11, 2);
}

QStringList pruneBackups(const QString &dir, int keep)
{
    QStringList names = listBackups(dir);
    QStringList deleted;
    while (names.size() > qMax(keep, 0)) {
        const QString name = names.takeFirst();
        const QString path = QDir(dir).filePath(name);
        if (!QFile::remove(path))
            throw varnex::Error(QStringLiteral("Архивът %1 не може да бъде изтрит!").arg(name), path);
        QFile::remove(notesFileName(path));
        deleted << name;
    }
    return deleted;
}

} // namespace backup
