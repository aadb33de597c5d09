#include "core/AppSettings.h"
#include "core/DatabaseInstaller.h"
#include "core/TXMLSettings.h"
#include "db/Services.h"
#include "support/FreshDatabase.h"
#include "support/NetworkServer.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace testing_support;

namespace {

std::unique_ptr<Tdm> connectTo(const QString &database, MessageSink &messages,
                               const QString &user = QStringLiteral("SYSDBA"),
                               const QString &password = QStringLiteral("pendrolix"))
{
    auto dm = std::make_unique<Tdm>(messages);
    dm->setDatabase(database);
    dm->user = user;
    dm->password = password;
    dm->ApplyConnectionConfig();
    if (!dm->Connect())
        throw std::runtime_error("cannot connect to " + database.toStdString());
    return dm;
}

// A workstation's settings naming the database on the server and its user.
void writeServerSettings(TXMLSettings &settings, const QString &path, const QString &user, const QString &password)
{
    settings.setSaveWhenFreed(false);
    settings.Open();
    settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
    settings.WriteString(QStringLiteral("db_server\\host"), serverHost());
    settings.WriteString(QStringLiteral("db_server\\database"), path);
    settings.WriteString(QStringLiteral("db_server\\user"), user);
    settings.WriteString(QStringLiteral("db_server\\pass"), password);
}

QString refusal(const std::function<void()> &maintenance)
{
    try {
        maintenance();
    } catch (const varnex::Error &error) {
        return error.message();
    }
    return QString();
}

TEST(NetworkMode, WorksAgainstARealServer)
{
    REQUIRE_SERVER();
    SharedDir dir;
    const QString path = dir.path(QStringLiteral("shop.fdb"));
    installDatabase(serverHost() + QLatin1Char(':') + path, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"),
                    data::kTargetSchemaVersion);

    TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
    settings.setSaveWhenFreed(false);
    settings.Open();
    settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
    settings.WriteString(QStringLiteral("db_server\\host"), serverHost());
    settings.WriteString(QStringLiteral("db_server\\database"), path);

    RecordedMessages messages;
    Tdm dm(messages);
    dm.programDirectory = dir.path(QString()) + QLatin1Char('/');
    dm.ReadConnectionConfig(settings);
    dm.ApplyConnectionConfig();
    EXPECT_EQ(dm.connectionName(), serverHost() + QLatin1Char(':') + path);
    ASSERT_TRUE(dm.Connect());
    EXPECT_EQ(dm.SchemaVersion(), data::kTargetSchemaVersion);
    EXPECT_EQ(dm.NewCounterValue(data::CounterTranz), 1);
}

TEST(NetworkMode, EnsuresTheDatabaseUserExists)
{
    REQUIRE_SERVER();
    const QString user = QStringLiteral("VARNEX_CASHIER");
    RecordedMessages messages;
    Tdm dm(messages);
    dm.host = serverHost();
    dm.user = user;
    dm.password = QStringLiteral("kasa1");
    EXPECT_TRUE(dm.EnsureDatabaseUser());
    EXPECT_TRUE(messages.shown.empty());

    db::Services services;
    services.attach(serverHost(), QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    EXPECT_TRUE(services.listUsers().contains(user));
    EXPECT_TRUE(dm.EnsureDatabaseUser()); // a second time finds it
}

TEST(NetworkMode, AWrongPasswordIsTheServerNotFoundMessage)
{
    REQUIRE_SERVER();
    RecordedMessages messages;
    Tdm dm(messages);
    dm.setDatabase(serverHost() + QLatin1String(":/nonexistent/shop.fdb"));
    dm.password = QStringLiteral("wrong");
    dm.ApplyConnectionConfig();
    EXPECT_FALSE(dm.Connect());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Грешка: 001"));
}

TEST(NetworkMode, CountersAreNotLoweredNorDataEmptiedUnderAnotherWorkstation)
{
    REQUIRE_SERVER();
    SharedDir dir;
    const QString database = dir.onServer(QStringLiteral("shop.fdb"));
    installDatabase(database, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"), data::kTargetSchemaVersion);
    RecordedMessages messages;
    auto workstation = connectTo(database, messages);
    auto maintenance = connectTo(database, messages);
    const int held = workstation->NewCounterValue(data::CounterTranz); // a document still being entered
    workstation->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME) values (1, 1, 'Олио')"));

    const QString expected = QStringLiteral("Базата данни се използва от още 1 връзка. Затворете програмата на "
                                            "другите работни места и опитайте отново.");
    EXPECT_EQ(refusal([&] { maintenance->AdjustCounters(data::CounterAdjustment::Reset); }), expected);
    EXPECT_EQ(refusal([&] { maintenance->EmptyDatabase(); }), expected);
    EXPECT_TRUE(maintenance->HasRows(QStringLiteral("select 1 from NOM where NOM_ID = 1")));
    EXPECT_EQ(maintenance->NewCounterValue(data::CounterTranz), held + 1);

    // Raising at connection goes on as before, and the message counts them.
    auto third = connectTo(database, messages);
    EXPECT_TRUE(refusal([&] { maintenance->AdjustCounters(data::CounterAdjustment::Reset); })
                    .contains(QStringLiteral("от още 2 връзки.")));

    // Alone again, the maintenance goes through.
    third.reset();
    workstation.reset();
    EXPECT_EQ(refusal([&] { maintenance->EmptyDatabase(); }), QString());
    EXPECT_EQ(maintenance->QueryValue(QStringLiteral("select VAL from COUNTERS where ID = 24")).toInt(), 0);
}

TEST(NetworkMode, AWorkstationWithItsOwnDatabaseUserCanWork)
{
    REQUIRE_SERVER();
    SharedDir dir;
    const QString path = dir.path(QStringLiteral("shop.fdb"));
    installDatabase(dir.onServer(QStringLiteral("shop.fdb")), QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"),
                    data::kTargetSchemaVersion);
    const QString user = QStringLiteral("varnex_skladov"); // the server knows it in capitals
    const QString password = QStringLiteral("sklad7");
    db::Services services;
    services.attach(serverHost(), QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    if (!services.listUsers().contains(user.toUpper()))
        services.addUser(user, password);
    services.detach();

    TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
    writeServerSettings(settings, path, user, password);

    // Start-up: the schema and the grants as SYSDBA, for the configured user.
    RecordedMessages messages;
    {
        auto admin = connectTo(dir.onServer(QStringLiteral("shop.fdb")), messages);
        admin->programDirectory = dir.path(QString()) + QLatin1Char('/');
        admin->ReadConnectionConfig(settings);
        ASSERT_EQ(admin->user, user);
        ASSERT_EQ(admin->PrepareSchema(), Tdm::SchemaResult::Ready);
    }

    Tdm dm(messages);
    dm.programDirectory = dir.path(QString()) + QLatin1Char('/');
    dm.ReadConnectionConfig(settings);
    dm.ApplyConnectionConfig();
    ASSERT_TRUE(dm.Connect()); // raising the counters reads and writes as this user
    EXPECT_EQ(dm.QueryValue(QStringLiteral("select CURRENT_USER from RDB$DATABASE")).toString(), user.toUpper());
    const auto tables = dm.QueryRows(QStringLiteral(
        "select trim(RDB$RELATION_NAME) from RDB$RELATIONS where RDB$SYSTEM_FLAG = 0 and RDB$VIEW_BLR is null"));
    ASSERT_EQ(tables.size(), 29u); // the granted tables and the payment records
    for (const QVariantList &table : tables)
        EXPECT_NO_THROW(dm.QueryValue(QStringLiteral("select count(*) from ") + table[0].toString()))
            << table[0].toString().toStdString();

    const int goods = dm.NewCounterValue(data::CounterNom);
    EXPECT_EQ(goods, 1);
    dm.ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME) values (:ID, :ID, 'Захар')"),
               {{QStringLiteral("ID"), goods}});
    dm.ExecSQL(QStringLiteral("update NOM set NOM_NAME = 'Захар бяла' where NOM_ID = :ID"), {{QStringLiteral("ID"), goods}});
    dm.ExecSQL(QStringLiteral("insert into BELEJKA_DETAILS (DETAIL_ID) values (1)"));
    dm.ExecSQL(QStringLiteral("delete from BELEJKA_DETAILS"));
    // The dated payments are written by the trigger on the documents with
    // its own rights; the user reads them but cannot write one himself.
    dm.ExecSQL(QStringLiteral("insert into TRANZ (TRANZ_ID, TRANZ_TYPE_ID, TRANZ_SUM, TRANZ_PLATENO) "
                              "values (1, 11, 50, 20)"));
    dm.ExecSQL(QStringLiteral("update TRANZ set TRANZ_PLATENO = 50 where TRANZ_ID = 1"));
    EXPECT_DOUBLE_EQ(dm.QueryValue(QStringLiteral("select sum(AMOUNT) from TRANZ_PAYMENTS where TRANZ_ID = 1")).toDouble(),
                     50.0);
    EXPECT_ANY_THROW(dm.ExecSQL(QStringLiteral("insert into TRANZ_PAYMENTS (TRANZ_ID, PAID_AT, AMOUNT) "
                                               "values (1, CURRENT_TIMESTAMP, 1)")));
    dm.ExecSQL(QStringLiteral("delete from TRANZ where TRANZ_ID = 1"));
    EXPECT_FALSE(dm.HasRows(QStringLiteral("select 1 from TRANZ_PAYMENTS")));
    dm.AddRecentValue(2, QStringLiteral("Клиент"), 10);
    EXPECT_EQ(dm.QueryValue(QStringLiteral("select MRU_VAL from MRU_ITEMS")).toString(), QStringLiteral("Клиент"));
    EXPECT_FALSE(dm.HasRows(QStringLiteral("select INFO_ID from GETCLIENTCONTACT(1, 1)")));
    EXPECT_NO_THROW(dm.AdjustCounters(data::CounterAdjustment::Reset)); // the maintenance command, alone
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace

namespace {

TEST(NetworkMode, TheEndOfASessionGoesOnAfterTheServerDroppedTheConnection)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    TempDir dir;
    TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
    settings.setSaveWhenFreed(false);
    settings.Open();
    settings.WriteBool(QStringLiteral("AutoBackup"), true);
    settings.WriteInteger(QStringLiteral("StartupSeed"), 67387906);
    SetAppSettings(&settings);

    RecordedMessages messages;
    Tdm dm(messages);
    dm.setDatabase(database.name());
    dm.ApplyConnectionConfig();
    ASSERT_TRUE(dm.Connect());
    database.shutDown();
    EXPECT_NO_THROW(dm.EndSession());
    EXPECT_FALSE(dm.IsConnected());
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("ShutdownSeed"), 0), 67387906);
    SetAppSettings(nullptr);
}

} // namespace

// The server's list of users is consulted only when the configured user
// cannot log in; a user it lacks is still made at the start.
TEST(NetworkMode, TheStartMakesAConfiguredUserTheServerLacks)
{
    REQUIRE_SERVER();
    SharedDir dir;
    const QString database = dir.onServer(QStringLiteral("shop.fdb"));
    installDatabase(database, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"), data::kTargetSchemaVersion);
    const QString user = QStringLiteral("VARNEX_NEW_%1").arg(QCoreApplication::applicationPid());
    TXMLSettings settings(dir.path(QStringLiteral("Varnex.xdb")));
    writeServerSettings(settings, dir.path(QStringLiteral("shop.fdb")), user, QStringLiteral("nov1"));
    SetAppSettings(&settings);
    RecordedMessages messages;
    {
        Tdm dm(messages);
        dm.programDirectory = dir.path(QString()) + QLatin1Char('/');
        EXPECT_TRUE(dm.StartSession());
        EXPECT_EQ(dm.QueryValue(QStringLiteral("select CURRENT_USER from RDB$DATABASE")).toString(), user);
    }
    SetAppSettings(nullptr);
    connectTo(database, messages)->ExecSQL(QStringLiteral("drop user ") + user);
    EXPECT_TRUE(messages.shown.empty());
}
