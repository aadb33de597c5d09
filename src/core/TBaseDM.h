#pragma once

#include "data/Counters.h"
#include "data/SqlSession.h"

#include <QString>
#include <QVariantList>

class QTimer;

#include <functional>
#include <memory>
#include <vector>

class MessageSink;
class TSettings;

namespace db {
class Attachment;
class Dataset;
class StatementCache;
class Transaction;
} // namespace db

// The data module every part shares: where the database is, the one
// connection with its main and counter transactions, the statement
// operations and the configuration keys kept in the database. Work done
// through the main transaction is committed as it is done, keeping the
// transaction open.
class TBaseDM : public data::SqlSession
{
public:
    // What bringing the schema up to date ended with.
    enum class SchemaResult { Ready, UpgradeFailed, GrantsFailed };

    explicit TBaseDM(MessageSink &messages);
    ~TBaseDM() override;

    // The start of a working session: where the database is, the session
    // token, the database user, the schema as administrator, the working
    // connection, the session user and the log-in. False when any step
    // failed; each step has shown its own message.
    virtual bool StartSession();
    // The last step of the start: lines whose document was never stored are
    // offered for removal, but only while no other workstation is connected
    // (one may be entering that very document). A failure is logged and
    // leaves them.
    void OfferOrphanLinesRemoval();
    // Other user connections to the database, of any user; needs the
    // administrator's password.
    int OtherWorkstations();
    // The orderly end: disconnect, session backup and the closing token.
    void EndSession();
    // Brings the schema up to date as the administrator (base: nothing to do).
    virtual SchemaResult PrepareSchema();
    // What start-up shows for a failed result: caption and text.
    static QString SchemaFailureCaption(SchemaResult result);
    static QString SchemaFailureText();
    // With `AutoBackup` on, each orderly end backs the database up into the
    // session folder, keeping the newest `kSessionBackups`; after an unclean
    // end the restore window is offered on that folder, never a silent restore.
    virtual void SessionBackup();
    virtual void SessionRestore();
    static constexpr int kSessionBackups = 5;
    QString sessionBackupDirectory() const;
    // Opens the restore window on a folder; the program installs it.
    std::function<void(const QString &folder)> chooseBackupToRestore;

    // Backup and restore through the services, the connection closed while
    // they run and opened again afterwards whatever happened. They return
    // once the service has finished; a failure raises the user's message.
    using ServiceProgress = std::function<void(const QString &line)>;
    void RunBackup(const QString &file, const ServiceProgress &progress = {});
    void RunRestore(const QString &file, const ServiceProgress &progress = {});
    // The backup directory and a file named by the time now.
    QString BackupFileName() const;

    // Connection settings.
    QString databasePath;
    QString host = QStringLiteral("localhost");
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("pendrolix");
    // The folder of the files "beside the program" (see core/DataFolder.h).
    QString programDirectory;
    QString backupDirectory;
    bool localMode = true;
    bool embeddedMode = false;
    bool loginRequired = false;
    // Database pages the engine keeps in memory for this database
    // (`db_server\page_cache`, recorded in the database's header by the
    // administrator's connection at the start of a session). The
    // engine's own 2,048 pages (16 MB) hold a fraction of a few years'
    // documents; 32,768 pages (256 MB at the 8 KB page size) hold all of a
    // database of a million lines, and memory is taken only as pages are read.
    static constexpr int kDefaultPageCache = 32768;
    static constexpr int kLeastPageCache = 2048;
    static constexpr int kMostPageCache = 131072;
    int pageCache = kDefaultPageCache;
    int currentUserId = 0;
    QString currentUserName = QStringLiteral("Default");

    // Users, passwords and rights.
    bool Login();
    bool CheckLogin(const QString &userName, const QString &password);
    void LoadUserRecord(int id);
    // The stored form of a typed password (stored as typed).
    virtual QString PasswordText(const QString &typed);
    void ChangePassword();
    void ChangeMaintenancePassword();
    virtual void ResetPassword();
    bool IsAllowed(int userId, int itemId);
    void SetRight(int userId, int itemId, bool allowed);
    std::vector<std::pair<QString, int>> ListRightItems(int parentId);
    bool CheckRight(int itemId);
    bool AskZonePassword();
    bool CheckZonePassword(const QString &typed);
    void LeaveZone();
    // Whether a zone password was given within the last ten minutes.
    bool InZone() const { return m_inZone; }
    // One second of the zone memory.
    void ZoneTick();
    int zoneTicks() const { return m_zoneTicks; }

    // Embedded when "firebird.conf" lies beside the program; otherwise the
    // settings choose between the local database and a network server.
    virtual void ReadConnectionConfig(TSettings &settings);
    virtual void ApplyConnectionConfig();
    // Points the module at "host:path", or at a path alone for the embedded
    // engine, as the installation tool and the tests name databases.
    void setDatabase(const QString &database);
    // The name the connection is opened with: "host:path" or the path alone.
    const QString &connectionName() const { return m_connectionName; }

    // Makes sure the server knows the configured user, creating it with the
    // configured password if not; false only when something failed on the way.
    bool EnsureDatabaseUser();
    // Opens the connection and starts both transactions; on failure shows
    // "Грешка: 001" and returns false.
    bool Connect();
    void Disconnect();
    bool IsConnected() const;

    qint64 ExecSQL(const QString &sql, const data::SqlParams &params = {}) override;
    QVariant QueryValue(const QString &sql, const QString &field = QString(),
                        const data::SqlParams &params = {}) override;
    bool HasRows(const QString &sql, const data::SqlParams &params = {}) override;
    bool RunScriptStatement(const QString &sql) override;
    void CommitRetaining() override;
    std::vector<QVariantList> QueryRows(const QString &sql, const data::SqlParams &params = {}) override;

    // Reopens a dataset and finds the row whose key field has the value the
    // current row had; without such a row the dataset is left at its end.
    // Scroll hooks run once, after the search.
    void RefreshDataSet(db::Dataset &dataset, const QString &keyField = QString());
    void SetParamAndRefresh(db::Dataset &dataset, const QString &param, const QVariant &value,
                            const QString &keyField = QString());
    // Walks forward from the current row (or the next one) to the first row
    // where one of the fields shows the text, ignoring letter case; false
    // with the dataset at its end when there is none.
    bool FindText(db::Dataset &dataset, const QStringList &fields, const QString &text, bool skipCurrent);
    bool FindTextFromFirst(db::Dataset &dataset, const QStringList &fields, const QString &text);

    QString GetConfigById(int id);
    QString GetConfigByName(const QString &name);
    void SetConfigById(int id, const QString &value);
    // Writes nothing when the name is not registered in APP_CONFIG_KEYS.
    void SetConfigByName(const QString &name, const QString &value);

    // A new key from the counter, committed at once in its own transaction.
    int NewCounterValue(int counter);

    virtual void AfterConnect();
    virtual bool OpenLookups();
    virtual void CloseLookups();
    virtual void DeleteAllData();
    virtual void EmptyDatabase();
    virtual void AdjustCounters(data::CounterAdjustment adjustment = data::CounterAdjustment::Reset);

    // A dataset on this module's connection and main transaction.
    std::unique_ptr<db::Dataset> createDataset(const QString &selectSql) ;
    db::Attachment &database();
    db::Transaction &mainTransaction();

protected:
    MessageSink &messages() { return m_messages; }
    // The text search behind FindText: `text` of a row's field as compared.
    bool findRow(db::Dataset &dataset, const std::function<bool(int row)> &matches, bool skipCurrent);

private:
    // Opens the connection as the given user; on failure shows "Грешка: 001".
    bool attachAs(const QString &userName, const QString &userPassword, int pageBuffers = 0);
    // The same without the message: false when the server refuses.
    bool attachQuietly(const QString &userName, const QString &userPassword);
    // What follows the log-in of the working connection, its main
    // transaction started: the counters' transaction started, the counters
    // raised and the look-up lists read.
    bool startWorking();
    bool databaseMarkedReadOnly() const;
    // Lets go of every prepared statement: before the connection goes, and
    // after anything that may have changed the schema.
    void dropStatements();

    MessageSink &m_messages;
    bool m_inZone = false;
    int m_zoneTicks = 0;
    std::unique_ptr<QTimer> m_zoneTimer;
    QString m_connectionName;
    std::unique_ptr<db::Attachment> m_database;
    std::unique_ptr<db::Transaction> m_main;
    std::unique_ptr<db::Transaction> m_counters;
    std::unique_ptr<db::StatementCache> m_statements;
    std::unique_ptr<db::StatementCache> m_counterStatements;
};
