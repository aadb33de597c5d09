#include "support/AdminTool.h"
#include "support/FreshDatabase.h"
#include "support/NetworkServer.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include "core/DatabaseInstaller.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(AdminDatabase, CreatesTheInitialDatabaseAtTheRequestedVersion)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Varnex.fdb"));
    const ToolResult created = runAdminTool({QStringLiteral("create-db"), path, QStringLiteral("--schema-version"), QStringLiteral("10000")});
    ASSERT_EQ(created.code, 0) << created.err.toStdString();

    const ToolResult again = runAdminTool({QStringLiteral("create-db"), path});
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("вече съществува")));

    const ToolResult upgraded = runAdminTool({QStringLiteral("upgrade"), path});
    EXPECT_EQ(upgraded.code, 0) << upgraded.err.toStdString();
    EXPECT_EQ(upgraded.out, QString::number(data::kTargetSchemaVersion) + QLatin1Char('\n'));

    const ToolResult nowhere = runAdminTool({QStringLiteral("create-db"), dir.path(QStringLiteral("none/Varnex.fdb"))});
    EXPECT_EQ(nowhere.code, 1);
    EXPECT_TRUE(nowhere.err.contains(QStringLiteral("не може да бъде създаден"))) << nowhere.err.toStdString();

    const ToolResult missing = runAdminTool({QStringLiteral("upgrade"), dir.path(QStringLiteral("none.fdb"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("Грешка: 001:")));
    EXPECT_EQ(missing.err.count(QLatin1Char('\n')), 1);
}

TEST(AdminDatabase, StockReportIsCsvInCodeOrder)
{
    FreshDatabase database;
    {
        auto dm = database.connect();
        addGoods(*dm, 1, 12, QStringLiteral("Брашно \"Добруджа\", тип 500"));
        addGoods(*dm, 2, 3, QStringLiteral("Захар"));
        addGoods(*dm, 3, 7, QStringLiteral("Амбалаж"), 0, false);
        addDocument(*dm, 1, 12, -1, QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
        addLine(*dm, 1, 1, 1, 1, 25, 25);
        addLine(*dm, 2, 1, 2, 1, 2.5, 2.5);
        addDocument(*dm, 2, 11, -1, QDateTime(QDate(2026, 3, 1), QTime(9, 0)));
        addLine(*dm, 3, 2, 1, -1, 5, 5);
    }
    const ToolResult report = runAdminTool({QStringLiteral("stock"), database.path()});
    ASSERT_EQ(report.code, 0) << report.err.toStdString();
    EXPECT_EQ(report.out, QStringLiteral("code,name,unit,on_hand\n"
                                         "000003,Захар,кг,2.5\n"
                                         "000012,\"Брашно \"\"Добруджа\"\", тип 500\",кг,20\n"));

    const ToolResult earlier = runAdminTool({QStringLiteral("stock"), database.path(), QStringLiteral("--all"),
                                    QStringLiteral("--date"), QStringLiteral("2026-02-01")});
    EXPECT_EQ(earlier.out, QStringLiteral("code,name,unit,on_hand\n"
                                          "000003,Захар,кг,2.5\n"
                                          "000007,Амбалаж,кг,0\n"
                                          "000012,\"Брашно \"\"Добруджа\"\", тип 500\",кг,25\n"));

    EXPECT_EQ(runAdminTool({QStringLiteral("stock"), database.path(), QStringLiteral("--date"), QStringLiteral("1.2.2026")}).code, 2);
}

TEST(AdminDatabase, EmptyingNeedsConfirmation)
{
    FreshDatabase database;
    {
        auto dm = database.connect();
        addGoods(*dm, 5, 5, QStringLiteral("Олио"));
    }
    const ToolResult refused = runAdminTool({QStringLiteral("empty-db"), database.path()});
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--yes")));
    EXPECT_TRUE(database.connect()->HasRows(QStringLiteral("select 1 from NOM where NOM_ID = 5")));

    EXPECT_EQ(runAdminTool({QStringLiteral("empty-db"), database.path(), QStringLiteral("--yes")}).code, 0);
    auto dm = database.connect();
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from NOM where NOM_ID = 5")));
}

TEST(AdminDatabase, AdjustCountersPutsThemOnTheHighestKeys)
{
    FreshDatabase database;
    database.connect()->ExecSQL(QStringLiteral("update COUNTERS set VAL = 900 where ID = 24"));
    EXPECT_EQ(runAdminTool({QStringLiteral("adjust-counters"), database.path()}).code, 0);
    EXPECT_EQ(database.connect()->QueryValue(QStringLiteral("select VAL from COUNTERS where ID = 24")).toInt(), 0);
}

TEST(AdminDatabase, AHalfBuiltFileOfAKilledCreationIsReplaced)
{
    TempDir dir;
    dir.writeFile(QStringLiteral("Varnex.fdb.creating"), QByteArray("half a database"));
    const ToolResult created = runAdminTool({QStringLiteral("create-db"), dir.path(QStringLiteral("Varnex.fdb"))});
    ASSERT_EQ(created.code, 0) << created.err.toStdString();
    EXPECT_EQ(QDir(dir.path(QString())).entryList(QDir::Files), QStringList{QStringLiteral("Varnex.fdb")});
    EXPECT_EQ(runAdminTool({QStringLiteral("upgrade"), dir.path(QStringLiteral("Varnex.fdb"))}).out,
              QString::number(data::kTargetSchemaVersion) + QLatin1Char('\n'));
}

TEST(AdminDatabase, ACreationThatFailsLeavesNoFileBehind)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Varnex.fdb"));
    // The embedded engine takes any user name; the grants refuse this one
    // once the database is all but complete.
    try {
        installDatabase(path, QStringLiteral("kasa\t1"), QStringLiteral("x"), data::kTargetSchemaVersion);
        FAIL() << "the grants went through";
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Грешка: 402"))) << error.message().toStdString();
    }
    EXPECT_EQ(QDir(dir.path(QString())).entryList(QDir::Files), QStringList());
}

TEST(AdminDatabase, CountersAreNotResetWhileAWorkstationIsConnected)
{
    REQUIRE_SERVER();
    SharedDir dir;
    const QString database = dir.onServer(QStringLiteral("shop.fdb"));
    installDatabase(database, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"), data::kTargetSchemaVersion);
    RecordedMessages messages;
    {
        Tdm workstation(messages);
        workstation.setDatabase(database);
        workstation.ApplyConnectionConfig();
        ASSERT_TRUE(workstation.Connect());
        const int held = workstation.NewCounterValue(data::CounterTranz);

        const ToolResult refused = runAdminTool({QStringLiteral("adjust-counters"), database});
        EXPECT_EQ(refused.code, 1);
        EXPECT_TRUE(refused.err.contains(QStringLiteral("още 1 връзка"))) << refused.err.toStdString();
        EXPECT_EQ(runAdminTool({QStringLiteral("empty-db"), database, QStringLiteral("--yes")}).code, 1);
        EXPECT_EQ(workstation.NewCounterValue(data::CounterTranz), held + 1);
    }
    EXPECT_EQ(runAdminTool({QStringLiteral("adjust-counters"), database}).code, 0);
}

TEST(AdminDatabase, ConfigReadsAndWritesARegisteredKeyAndRefusesAnUnknownOne)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Varnex.fdb"));
    ASSERT_EQ(runAdminTool({QStringLiteral("create-db"), path}).code, 0);
    const QString key = QStringLiteral("STOCK_SHORTAGE_QUESTION");
    EXPECT_EQ(runAdminTool({QStringLiteral("config"), path, key}).out, QStringLiteral("\n"));
    const ToolResult set = runAdminTool({QStringLiteral("config"), path, key, QStringLiteral("0")});
    ASSERT_EQ(set.code, 0) << set.err.toStdString();
    EXPECT_EQ(runAdminTool({QStringLiteral("config"), path, key}).out, QStringLiteral("0\n"));

    // A name that is not a key would be written nowhere: it is refused.
    const ToolResult unknown = runAdminTool({QStringLiteral("config"), path, QStringLiteral("NO_SUCH_KEY"), QStringLiteral("1")});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("NO_SUCH_KEY"))) << unknown.err.toStdString();
}

} // namespace
