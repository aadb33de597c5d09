#include "backup/ArchiveCommands.h"

#include "backup/BackupFiles.h"
#include "backup/TfrmRemarks.h"
#include "backup/TfrmSelectBackupToRestore.h"
#include "core/AppSettings.h"
#include "core/TBaseDM.h"
#include "core/TSettings.h"
#include "data/EuroChangeover.h"
#include "data/OtherConnections.h"
#include "ui/Dialogs.h"
#include "util/Error.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>

namespace {

const char *const kNoBackupDir = "Грешка: Неуспех при създаване на директория за архиви!";

// A window that follows the service's lines while it works; shown only when
// the work takes longer than a moment.
class ServiceProgressWindow
{
public:
    ServiceProgressWindow(QWidget *owner, const QString &title)
        : m_dialog(title, QString(), 0, 0, owner)
    {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(1000);
        m_dialog.setCancelButton(nullptr);
        m_dialog.setValue(0);
    }

    TBaseDM::ServiceProgress follow()
    {
        return [this](const QString &line) {
            m_dialog.setLabelText(line.trimmed());
            m_dialog.setValue(0);
            QCoreApplication::processEvents();
        };
    }

private:
    QProgressDialog m_dialog;
};

void backupInto(TBaseDM &data, QWidget *owner, const QString &folder)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString file = backup::backupFileName(folder, now);
    {
        ServiceProgressWindow progress(owner, QStringLiteral("Архивиране"));
        data.RunBackup(file, progress.follow());
    }
    QString notes = backup::defaultNotes(backup::programTitle(), file, now);
    if (EditNotes(QStringLiteral("Бележки към архив"), notes, owner))
        backup::writeNotes(file, notes);
}

} // namespace

void BackupToDefaultDir(TBaseDM &data, QWidget *owner)
{
    if (!QDir().mkpath(data.backupDirectory))
        throw varnex::Error(QString::fromUtf8(kNoBackupDir), data.backupDirectory);
    backupInto(data, owner, data.backupDirectory);
}

void BackupToChosenDir(TBaseDM &data, QWidget *owner,
                       const std::function<QString(const QString &title, const QString &start)> &browse)
{
    const QString start = AppSettings().ReadString(QStringLiteral("LastBackupDir"), data.backupDirectory);
    const QString title = QStringLiteral("Изберете директория за архивиране");
    const QString folder = browse ? browse(title, start)
                                  : QFileDialog::getExistingDirectory(owner, title, QDir(start).exists() ? start : QString());
    if (folder.isEmpty())
        return;
    backupInto(data, owner, folder);
}

bool RestoreFromBackup(TBaseDM &data, QWidget *owner, const QString &folder, bool chooseNewest)
{
    QString file;
    {
        TfrmSelectBackupToRestore window(owner);
        window.setSettings(AppSettings().OpenSection(QStringLiteral("SelectBackupToRestore")));
        TSettings &settings = window.Settings();
        QStringList folders = settings.ReadString(QStringLiteral("Recent"), QString())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString &entry : folders)
            entry = entry.trimmed();
        const QString shown = folder.isEmpty() ? data.backupDirectory : folder;
        for (const QString &offered : {data.backupDirectory, shown}) {
            if (!folders.contains(offered))
                folders.prepend(offered);
        }
        window.setFolders(folders, shown);
        if (chooseNewest) {
            const QStringList names = backup::listBackups(shown);
            if (!names.isEmpty())
                window.selectBackup(names.last());
        }
        if (window.exec() != QDialog::Accepted)
            return false;
        file = window.chosenFile();
        settings.WriteString(QStringLiteral("Recent"), window.folders().join(QLatin1Char('\n')));
    }
    if (file.isEmpty())
        return false;
    ServiceProgressWindow progress(owner, QStringLiteral("Възстановяване"));
    data.RunRestore(file, progress.follow());
    return true;
}

void ChangeOverToEuro(TBaseDM &data, QWidget *owner)
{
    const QDate day = data::euroDay();
    // A database already in euro is refused before a backup is made for
    // nothing.
    data::requireLevaDatabase(data.database());
    if (!QDir().mkpath(data.backupDirectory))
        throw varnex::Error(QString::fromUtf8(kNoBackupDir), data.backupDirectory);
    const QDateTime now = QDateTime::currentDateTime();
    const QString file = backup::backupFileName(data.backupDirectory, now);
    {
        ServiceProgressWindow progress(owner, QStringLiteral("Архивиране"));
        data.RunBackup(file, progress.follow());
    }
    backup::writeNotes(file, backup::defaultNotes(backup::programTitle(), file, now)
                                 + QStringLiteral("\r\nАрхив преди преминаване към евро."));

    const data::EuroChangeoverSummary planned = data::planEuroChangeover(data.database(), day);
    if (MessageDlg(QStringLiteral("Архив: %1\n\n").arg(QDir::toNativeSeparators(file))
                       + data::euroChangeoverSummaryText(planned)
                       + QStringLiteral("\nДа бъде ли превалутирана базата данни?"),
                   TMsgDlgType::mtConfirmation, mbYes | mbNo)
        != mrYes)
        return;
    // Counted by the administrator, who sees the connections of every
    // database user.
    data::requireNoOtherConnections(data.OtherWorkstations());
    const data::EuroChangeoverSummary made = data::convertToEuro(data.database(), day);
    // The shared lists hold the goods' sell prices as they were read.
    data.CloseLookups();
    data.OpenLookups();
    ShowSystemMessage(QStringLiteral("Базата данни е превалутирана в евро: %1 продажни цени, %2 документа, %3 реда.")
                          .arg(made.euro.goods)
                          .arg(made.euro.documents)
                          .arg(made.euro.lines));
}
