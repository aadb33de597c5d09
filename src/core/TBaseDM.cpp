#include "core/TBaseDM.h"

#include "core/MessageSink.h"
#include "core/DataFolder.h"
#include "core/TSettings.h"
#include "db/Attachment.h"
#include "db/Dataset.h"
#include "db/Script.h"
#include "db/Services.h"
#include "db/Statement.h"
#include "db/StatementCache.h"
#include "db/Transaction.h"
#include "util/Error.h"

#include <QDebug>
#include <QFileInfo>
#include <QTimer>

namespace {

const char *const kConfigById = "select KEY_VALUE from APP_CONFIG where KEY_ID = :KEY_ID";
const char *const kConfigKeyByName = "select KEY_ID from APP_CONFIG_KEYS where NAME = :NAME";
const char *const kConfigByName = "select c.KEY_VALUE from APP_CONFIG_KEYS k join APP_CONFIG c on c.KEY_ID = k.KEY_ID "
                                  "where k.NAME = :NAME";
const char *const kUpdateConfig = "update APP_CONFIG set KEY_VALUE = :KEY_VALUE where KEY_ID = :KEY_ID";
const char *const kInsertConfig = "insert into  APP_CONFIG (KEY_VALUE,KEY_ID) values(:KEY_VALUE, :KEY_ID)";
const char *const kNewCounterValue = "EXECUTE PROCEDURE GETCOUNTERVAL :ID";

// Reads every row of an executed statement.
std::vector<QVariantList> allRows(db::Statement &statement)
{
    std::vector<QVariantList> rows;
    while (statement.fetch()) {
        QVariantList row;
        for (int column = 0; column < statement.columnCount(); ++column)
            row << statement.value(column);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TBaseDM::TBaseDM(MessageSink &messages)
    : databasePath(varnex::dataFile(QStringLiteral(".fdb")))
    , programDirectory(varnex::dataDirectory())
    , backupDirectory(programDirectory + QLatin1String("Backup"))
    , m_messages(messages)
    , m_database(std::make_unique<db::Attachment>())
    , m_main(std::make_unique<db::Transaction>(*m_database))
    , m_counters(std::make_unique<db::Transaction>(*m_database))
    , m_statements(std::make_unique<db::StatementCache>(*m_database, *m_main))
    , m_counterStatements(std::make_unique<db::StatementCache>(*m_database, *m_counters))
{
}

TBaseDM::~TBaseDM()
{
    Disconnect();
}

void TBaseDM::ReadConnectionConfig(TSettings &settings)
{
    embeddedMode = QFileInfo::exists(programDirectory + QLatin1String("firebird.conf"));
    localMode = settings.ReadString(QStringLiteral("clientinfo\\network"), QStringLiteral("0")) != QLatin1String("1");
    bool isNumber = false;
    const int pages = settings.ReadString(QStringLiteral("db_server\\page_cache"), QString()).trimmed().toInt(&isNumber);
    pageCache = isNumber ? qBound(kLeastPageCache, pages, kMostPageCache) : kDefaultPageCache;
    if (localMode || embeddedMode)
        return;
    host = settings.ReadString(QStringLiteral("db_server\\host"), QStringLiteral("localhost"));
    user = settings.ReadString(QStringLiteral("db_server\\user"), QStringLiteral("SYSDBA"));
    password = settings.ReadString(QStringLiteral("db_server\\pass"), QStringLiteral("pendrolix"));
    databasePath = settings.ReadString(QStringLiteral("db_server\\database"),
                                       varnex::dataFile(QStringLiteral(".fdb")));
}

void TBaseDM::ApplyConnectionConfig()
{
    m_connectionName = (embeddedMode || host.isEmpty()) ? databasePath : host + QLatin1Char(':') + databasePath;
}

void TBaseDM::setDatabase(const QString &database)
{
    const qsizetype colon = database.indexOf(QLatin1Char(':'));
    host = colon > 0 ? database.left(colon) : QString();
    databasePath = colon > 0 ? database.mid(colon + 1) : database;
    embeddedMode = host.isEmpty();
}

bool TBaseDM::EnsureDatabaseUser()
{
    const bool wasConnected = IsConnected();
    try {
        if (wasConnected)
            Disconnect();
        db::Services security;
        security.attach(host.isEmpty() ? QStringLiteral("localhost") : host, QStringLiteral("SYSDBA"),
                        QStringLiteral("pendrolix"));
        if (!security.listUsers().contains(user)) {
            security.addUser(user, password);
            if (!security.listUsers().contains(user)) {
                m_messages.showMessage(QStringLiteral("User missing %1.").arg(user), QStringLiteral("Грешка: 003"),
                                       MessageKind::Error);
            }
        }
        security.detach();
    } catch (const std::exception &) {
        if (wasConnected)
            Connect();
        return false;
    }
    if (wasConnected)
        Connect();
    return true;
}

bool TBaseDM::attachAs(const QString &userName, const QString &userPassword, int pageBuffers)
{
    dropStatements();
    try {
        m_database->attach(m_connectionName, userName, userPassword, pageBuffers);
    } catch (const varnex::Error &) {
        m_messages.showMessage(
            QStringLiteral("[%1:%2]\n\rСървъра на базата данни не е открит! Моля, рестартирайте компютъра.\n\r"
                           "Ако грешката се повтори, потърсете помощ от дистрибутора на програмата! ")
                .arg(host, databasePath),
            QStringLiteral("Грешка: 001"), MessageKind::Error);
        return false;
    }
    return true;
}

bool TBaseDM::attachQuietly(const QString &userName, const QString &userPassword)
{
    dropStatements();
    try {
        m_database->attach(m_connectionName, userName, userPassword);
    } catch (const varnex::Error &) {
        return false;
    }
    return true;
}

bool TBaseDM::Connect()
{
    if (!attachAs(user, password))
        return false;
    m_main->start();
    return startWorking();
}

bool TBaseDM::startWorking()
{
    m_counters->start();
    AfterConnect();
    return OpenLookups();
}

void TBaseDM::Disconnect()
{
    if (!m_database->isAttached())
        return;
    CloseLookups();
    try {
        dropStatements();
        m_main->commit();
        m_counters->rollback();
        m_database->detach();
    } catch (const varnex::Error &error) {
        // A connection the server has dropped (restarted, network gone) can
        // neither commit nor detach. Every change was committed as it was
        // made, so nothing more is lost by letting it go; the caller's end
        // of the session goes on.
        qWarning().noquote() << "The connection was let go:" << error.message() << error.detail();
        m_main->abandon();
        m_counters->abandon();
        m_database->abandon();
        // Handles of a connection let go are freed without the server.
        dropStatements();
    }
}

void TBaseDM::dropStatements()
{
    m_statements->clear();
    m_counterStatements->clear();
}

bool TBaseDM::IsConnected() const
{
    return m_database->isAttached();
}

qint64 TBaseDM::ExecSQL(const QString &sql, const data::SqlParams &params)
{
    qint64 changed;
    if (db::StatementCache::keeps(sql)) {
        changed = m_statements->run(sql, params, [](db::Statement &statement) { return statement.rowsAffected(); });
    } else {
        db::StatementCache once(*m_database, *m_main);
        dropStatements();
        changed = once.run(sql, params, [](db::Statement &statement) { return statement.rowsAffected(); });
    }
    m_main->commitRetaining();
    return changed;
}

QVariant TBaseDM::QueryValue(const QString &sql, const QString &field, const data::SqlParams &params)
{
    return m_statements->run(sql, params, [&field](db::Statement &statement) {
        if (!statement.fetch())
            return QVariant();
        return field.isEmpty() ? statement.value(0) : statement.value(field);
    });
}

bool TBaseDM::HasRows(const QString &sql, const data::SqlParams &params)
{
    return m_statements->run(sql, params, [](db::Statement &statement) { return statement.fetch(); });
}

std::vector<QVariantList> TBaseDM::QueryRows(const QString &sql, const data::SqlParams &params)
{
    return m_statements->run(sql, params, allRows);
}

bool TBaseDM::RunScriptStatement(const QString &sql)
{
    // A script statement may change the schema, which would leave every
    // statement prepared before it refused by the server.
    dropStatements();
    try {
        db::Script(*m_database, *m_main).execute(sql);
        m_main->commitRetaining();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void TBaseDM::CommitRetaining()
{
    m_main->commitRetaining();
}

void TBaseDM::RefreshDataSet(db::Dataset &dataset, const QString &keyField)
{
    dataset.disableControls();
    const QVariant key = keyField.isEmpty() || !dataset.isOpen() ? QVariant() : dataset.value(keyField);
    try {
        dataset.setScrollEventsEnabled(false);
        dataset.reopen();
        if (!keyField.isEmpty() && !dataset.locate({keyField}, {key}))
            dataset.last();
    } catch (...) {
        dataset.setScrollEventsEnabled(true);
        dataset.enableControls();
        throw;
    }
    dataset.setScrollEventsEnabled(true);
    if (dataset.afterScroll)
        dataset.afterScroll(dataset);
    dataset.enableControls();
}

void TBaseDM::SetParamAndRefresh(db::Dataset &dataset, const QString &param, const QVariant &value,
                                 const QString &keyField)
{
    dataset.setParam(param, value);
    if (dataset.isOpen())
        RefreshDataSet(dataset, keyField);
    else
        dataset.open();
}

bool TBaseDM::findRow(db::Dataset &dataset, const std::function<bool(int)> &matches, bool skipCurrent)
{
    if (dataset.isEmpty())
        return false;
    dataset.disableControls();
    int row = dataset.recNo() + (skipCurrent ? 1 : 0);
    for (; row < dataset.recordCount(); ++row) {
        if (matches(row))
            break;
    }
    const bool found = row < dataset.recordCount();
    dataset.moveTo(found ? row : dataset.recordCount() - 1);
    if (!found)
        dataset.next(); // at its end
    dataset.enableControls();
    return found;
}

bool TBaseDM::FindText(db::Dataset &dataset, const QStringList &fields, const QString &text, bool skipCurrent)
{
    std::vector<int> indexes;
    for (const QString &field : fields)
        indexes.push_back(dataset.requireField(field));
    const QString wanted = text.toUpper();
    return findRow(
        dataset,
        [&](int row) {
            for (const int field : indexes) {
                if (dataset.displayText(row, field).toUpper().contains(wanted))
                    return true;
            }
            return false;
        },
        skipCurrent);
}

bool TBaseDM::FindTextFromFirst(db::Dataset &dataset, const QStringList &fields, const QString &text)
{
    dataset.first();
    return FindText(dataset, fields, text, false);
}

std::unique_ptr<db::Dataset> TBaseDM::createDataset(const QString &selectSql)
{
    auto dataset = std::make_unique<db::Dataset>(*m_database, *m_main);
    dataset->setSelectSql(selectSql);
    return dataset;
}

QString TBaseDM::GetConfigById(int id)
{
    return QueryValue(QString::fromLatin1(kConfigById), QString(), {{QStringLiteral("KEY_ID"), id}}).toString();
}

QString TBaseDM::GetConfigByName(const QString &name)
{
    return QueryValue(QString::fromLatin1(kConfigByName), QString(), {{QStringLiteral("NAME"), name}}).toString();
}

void TBaseDM::SetConfigById(int id, const QString &value)
{
    const data::SqlParams params{{QStringLiteral("KEY_VALUE"), value}, {QStringLiteral("KEY_ID"), id}};
    if (ExecSQL(QString::fromLatin1(kUpdateConfig), params) == 0)
        ExecSQL(QString::fromLatin1(kInsertConfig), params);
}

void TBaseDM::SetConfigByName(const QString &name, const QString &value)
{
    const QVariant id = QueryValue(QString::fromLatin1(kConfigKeyByName), QString(), {{QStringLiteral("NAME"), name}});
    if (!id.isNull())
        SetConfigById(id.toInt(), value);
}

int TBaseDM::NewCounterValue(int counter)
{
    return data::drawCounterValue([this, counter] {
        m_counters->start();
        try {
            const int value = m_counterStatements->run(
                QString::fromLatin1(kNewCounterValue), {{QStringLiteral("ID"), counter}}, [counter](db::Statement &procedure) {
                    if (!procedure.fetch())
                        throw varnex::Error(QStringLiteral("Броячът %1 не върна стойност.").arg(counter));
                    return procedure.value(QStringLiteral("RES")).toInt();
                });
            // Retaining, the next key needs no new transaction.
            m_counters->commitRetaining();
            return value;
        } catch (...) {
            m_counters->rollback();
            throw;
        }
    });
}

void TBaseDM::AfterConnect()
{
    AdjustCounters(data::CounterAdjustment::RaiseOnly);
}

bool TBaseDM::OpenLookups()
{
    return true;
}

void TBaseDM::CloseLookups()
{
}

void TBaseDM::DeleteAllData()
{
}

void TBaseDM::EmptyDatabase()
{
    CloseLookups();
    try {
        DeleteAllData();
        AdjustCounters(data::CounterAdjustment::Reset);
    } catch (...) {
        OpenLookups();
        throw;
    }
    OpenLookups();
}

void TBaseDM::AdjustCounters(data::CounterAdjustment)
{
}

db::Attachment &TBaseDM::database()
{
    return *m_database;
}

db::Transaction &TBaseDM::mainTransaction()
{
    return *m_main;
}
