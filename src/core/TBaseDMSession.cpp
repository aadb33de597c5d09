// The session of the data module: its start and its orderly end.

#include "core/AppSettings.h"
#include "core/MessageSink.h"
#include "core/SessionToken.h"
#include "core/TBaseDM.h"
#include "backup/BackupFiles.h"
#include "core/TSettings.h"
#include "data/OrphanLines.h"
#include "db/Attachment.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "util/Error.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {

const char *const kUncleanEnd =
    "Работата в последната сесия на програмата не е приключила чисто!\r\n"
    "Това може да доведе до наличие на некоректни данни!\r\n"
    "Желаете ли да възстановите базата от автоматичен архив на предходната сесия?\r\n"
    "Забележка: Така ще загубите данните от последната сесия!!!";

// User connections other than the session's own and the counting one.
const char *const kOtherWorkstations = "select count(*) from MON$ATTACHMENTS "
                                       "where MON$ATTACHMENT_ID <> CURRENT_CONNECTION and MON$ATTACHMENT_ID <> :OWN "
                                       "and MON$SYSTEM_FLAG = 0";

} // namespace

bool TBaseDM::databaseMarkedReadOnly() const
{
    // Only a file this workstation can see is judged; a database that lies
    // on the server alone is the server's business.
    const QFileInfo file(databasePath);
    return file.exists() && file.isFile() && !(file.permissions() & QFileDevice::WriteOwner);
}

bool TBaseDM::StartSession()
{
    if (IsConnected()) {
        Disconnect();
        return false;
    }
    TSettings &settings = AppSettings();
    ReadConnectionConfig(settings);
    if (databaseMarkedReadOnly()) {
        m_messages.errorMessage(QStringLiteral("The database file is RO!"));
        return false;
    }
    if (settings.ReadBool(QStringLiteral("AutoBackup"), false)) {
        const int started = settings.ReadInteger(QStringLiteral("StartupSeed"), 0);
        if (started != settings.ReadInteger(QStringLiteral("ShutdownSeed"), 0)
            && m_messages.confirm(QString::fromUtf8(kUncleanEnd)))
            SessionRestore();
        settings.WriteInteger(QStringLiteral("StartupSeed"), int(newStartupToken(quint32(started))));
        settings.Save();
    }
    ApplyConnectionConfig();

    // The schema is checked and brought up to date as the administrator,
    // who also records the page cache for the database's next opening.
    const QString administrator = QStringLiteral("SYSDBA");
    const QString administratorPassword = QStringLiteral("pendrolix");
    if (!attachAs(administrator, administratorPassword, pageCache))
        return false;
    m_main->start();
    const SchemaResult schema = PrepareSchema();
    dropStatements();
    if (schema != SchemaResult::Ready) {
        m_messages.showMessage(SchemaFailureText(), SchemaFailureCaption(schema), MessageKind::Error);
        m_main->abandon();
        m_database->abandon();
        return false;
    }

    // Every log-in costs several exchanges with the server: settings that
    // name the administrator work on in the connection already open, and
    // the server's list of users is consulted only when the configured user
    // cannot log in.
    if (user.compare(administrator, Qt::CaseInsensitive) == 0 && password == administratorPassword) {
        m_main->commitRetaining();
        if (!startWorking())
            return false;
    } else {
        m_main->commit();
        m_database->detach();
        if (!attachQuietly(user, password)) {
            if (!embeddedMode)
                EnsureDatabaseUser();
            if (!attachAs(user, password))
                return false;
        }
        m_main->start();
        if (!startWorking())
            return false;
    }
    currentUserId = 0;
    currentUserName = QStringLiteral("Default");
    LeaveZone();
    loginRequired = GetConfigByName(QStringLiteral("AUTH_MODE")) == QLatin1String("1");
    if (!Login())
        return false;
    OfferOrphanLinesRemoval();
    return true;
}

int TBaseDM::OtherWorkstations()
{
    // Counted by the administrator: a database user sees only connections
    // made under its own name, and a workstation set up with another user
    // may be entering a document at this moment.
    const QVariant own = QueryValue(QStringLiteral("select CURRENT_CONNECTION from RDB$DATABASE"));
    db::Attachment administrator;
    administrator.attach(m_connectionName, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    db::Transaction transaction(administrator);
    transaction.start();
    db::Statement statement(administrator, transaction);
    statement.prepare(QString::fromLatin1(kOtherWorkstations));
    statement.setParameter(QStringLiteral("OWN"), own);
    statement.execute();
    const int count = statement.fetch() ? statement.value(0).toInt() : 0;
    statement.close();
    transaction.commit();
    administrator.detach();
    return count;
}

void TBaseDM::OfferOrphanLinesRemoval()
{
    try {
        // Looked for before the count: a workstation that connects after the
        // count starts documents of its own, with ids none of these have.
        const data::OrphanLines found = data::findNewOrphanLines(*this);
        if (found.isEmpty() || OtherWorkstations() > 0)
            return;
        if (m_messages.confirm(data::orphanLinesQuestion(found)))
            data::removeOrphanLines(*this, found);
    } catch (const varnex::Error &error) {
        // The lines stay for the next start; the session itself is sound.
        qWarning().noquote() << "Lines without their document were left:" << error.message() << error.detail();
    }
}

QString TBaseDM::SchemaFailureCaption(SchemaResult result)
{
    return result == SchemaResult::UpgradeFailed ? QStringLiteral("Грешка: 401") : QStringLiteral("Грешка: 402");
}

QString TBaseDM::SchemaFailureText()
{
    return QStringLiteral("Неуспешно обновяване на базата данни.\n\rПотърсете помощ от дистрибутора на програмата! ");
}

TBaseDM::SchemaResult TBaseDM::PrepareSchema()
{
    return SchemaResult::Ready;
}

void TBaseDM::SessionBackup()
{
    // The end reads the key with a default of on for its token; the backup,
    // which costs time at every end, waits for the key to be set.
    if (!AppSettings().ReadBool(QStringLiteral("AutoBackup"), false) || !QFileInfo::exists(databasePath))
        return;
    try {
        const QString folder = sessionBackupDirectory();
        if (!QDir().mkpath(folder))
            throw varnex::Error(QStringLiteral("Грешка: Неуспех при създаване на директория за архиви!"), folder);
        RunBackup(backup::backupFileName(folder, QDateTime::currentDateTime()));
        backup::pruneBackups(folder, kSessionBackups);
    } catch (const varnex::Error &error) {
        // A failed session backup must not keep the end from being recorded.
        m_messages.errorMessage(error.message());
    }
}

void TBaseDM::SessionRestore()
{
    if (chooseBackupToRestore)
        chooseBackupToRestore(sessionBackupDirectory());
}

void TBaseDM::EndSession()
{
    Disconnect();
    TSettings &settings = AppSettings();
    if (!settings.ReadBool(QStringLiteral("AutoBackup"), true))
        return;
    SessionBackup();
    settings.WriteInteger(QStringLiteral("ShutdownSeed"), settings.ReadInteger(QStringLiteral("StartupSeed"), 0));
    settings.Save();
}
