#include "core/TXMLSettings.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using testing_support::RecordedMessages;
using testing_support::TempDir;

namespace {

class ConnectionConfig : public ::testing::Test
{
protected:
    ConnectionConfig()
        : dm(messages)
        , settings(dir.path(QStringLiteral("Varnex.xdb")))
    {
        dm.programDirectory = dir.path(QString()) + QLatin1Char('/');
        dm.databasePath = dir.path(QStringLiteral("Varnex.fdb"));
        settings.setSaveWhenFreed(false);
        settings.Open();
        settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
        settings.WriteString(QStringLiteral("db_server\\host"), QStringLiteral("server1"));
        settings.WriteString(QStringLiteral("db_server\\database"), QStringLiteral("/srv/data/shop.fdb"));
        settings.WriteString(QStringLiteral("db_server\\user"), QStringLiteral("CASHIER"));
        settings.WriteString(QStringLiteral("db_server\\pass"), QStringLiteral("secret"));
    }

    TempDir dir;
    RecordedMessages messages;
    Tdm dm;
    TXMLSettings settings;
};

TEST_F(ConnectionConfig, NetworkModeTakesEverythingFromTheSettings)
{
    EXPECT_EQ(dm.host, QString()); // the application module starts without a host
    dm.ReadConnectionConfig(settings);
    dm.ApplyConnectionConfig();
    EXPECT_FALSE(dm.localMode);
    EXPECT_FALSE(dm.embeddedMode);
    EXPECT_EQ(dm.connectionName(), QStringLiteral("server1:/srv/data/shop.fdb"));
    EXPECT_EQ(dm.user, QStringLiteral("CASHIER"));
    EXPECT_EQ(dm.password, QStringLiteral("secret"));
}

TEST_F(ConnectionConfig, EmptyHostMeansThePathAlone)
{
    settings.WriteString(QStringLiteral("db_server\\host"), QString());
    dm.ReadConnectionConfig(settings);
    dm.ApplyConnectionConfig();
    EXPECT_EQ(dm.connectionName(), QStringLiteral("/srv/data/shop.fdb"));
}

TEST_F(ConnectionConfig, FirebirdConfBesideTheProgramWinsOverNetworkMode)
{
    dir.writeFile(QStringLiteral("firebird.conf"), "");
    dm.ReadConnectionConfig(settings);
    dm.ApplyConnectionConfig();
    EXPECT_TRUE(dm.embeddedMode);
    EXPECT_EQ(dm.connectionName(), dir.path(QStringLiteral("Varnex.fdb")));
    EXPECT_EQ(dm.user, QStringLiteral("SYSDBA"));
}

TEST_F(ConnectionConfig, LocalModeKeepsTheDatabaseBesideTheProgram)
{
    settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("0"));
    dm.ReadConnectionConfig(settings);
    dm.ApplyConnectionConfig();
    EXPECT_TRUE(dm.localMode);
    EXPECT_EQ(dm.connectionName(), dir.path(QStringLiteral("Varnex.fdb")));
}

TEST_F(ConnectionConfig, AMissingDatabaseShowsTheServerNotFoundMessage)
{
    dm.ApplyConnectionConfig();
    EXPECT_FALSE(dm.Connect());
    EXPECT_FALSE(dm.IsConnected());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Грешка: 001"));
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("[:%1]\n\rСървъра на базата данни не е открит! Моля, рестартирайте компютъра.\n\r"
                             "Ако грешката се повтори, потърсете помощ от дистрибутора на програмата! ")
                  .arg(dir.path(QStringLiteral("Varnex.fdb"))));
    EXPECT_NO_THROW(dm.Disconnect());
}

TEST_F(ConnectionConfig, PageCacheComesFromTheSettingsWithinBounds)
{
    for (const bool network : {true, false}) {
        settings.WriteString(QStringLiteral("clientinfo\\network"), network ? QStringLiteral("1") : QStringLiteral("0"));
        for (const auto &[written, read] : std::vector<std::pair<QString, int>>{{QStringLiteral("40000"), 40000},
                                                                               {QStringLiteral("10"), Tdm::kLeastPageCache},
                                                                               {QStringLiteral("-5"), Tdm::kLeastPageCache},
                                                                               {QStringLiteral("9999999"), Tdm::kMostPageCache},
                                                                               {QStringLiteral("many"), Tdm::kDefaultPageCache}}) {
            settings.WriteString(QStringLiteral("db_server\\page_cache"), written);
            dm.ReadConnectionConfig(settings);
            EXPECT_EQ(dm.pageCache, read) << written.toStdString();
        }
    }
    EXPECT_EQ(Tdm(messages).pageCache, Tdm::kDefaultPageCache);
}

using ConfigKeys = testing_support::DatabaseTest;

TEST_F(ConfigKeys, SetByIdInsertsThenUpdates)
{
    EXPECT_EQ(dm->GetConfigById(36), QString());
    dm->SetConfigById(36, QStringLiteral("20"));
    EXPECT_EQ(dm->GetConfigByName(QStringLiteral("BG_VAT")), QStringLiteral("20"));
    dm->SetConfigById(36, QStringLiteral("9"));
    EXPECT_EQ(dm->GetConfigById(36), QStringLiteral("9"));
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from APP_CONFIG where KEY_ID = 36")).toInt(), 1);
}

TEST_F(ConfigKeys, UnregisteredNamesReadEmptyAndWriteNothing)
{
    // A new database holds its log-in mode, its version and its currency.
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from APP_CONFIG")).toInt(), 3);
    dm->SetConfigByName(QStringLiteral("NO_SUCH_KEY"), QStringLiteral("1"));
    EXPECT_EQ(dm->GetConfigByName(QStringLiteral("NO_SUCH_KEY")), QString());
    EXPECT_EQ(dm->GetConfigByName(QStringLiteral("COMPANY_MOL")), QString()); // registered, no value
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from APP_CONFIG")).toInt(), 3);
}

TEST_F(ConfigKeys, ApostrophesInValuesAndNamesAreJustText)
{
    dm->SetConfigByName(QStringLiteral("INVOICE_CREATOR"), QStringLiteral("Д'Артанян O'Brien"));
    EXPECT_EQ(dm->GetConfigByName(QStringLiteral("INVOICE_CREATOR")), QStringLiteral("Д'Артанян O'Brien"));
    EXPECT_EQ(dm->GetConfigByName(QStringLiteral("x' or '1'='1")), QString());
}

} // namespace
