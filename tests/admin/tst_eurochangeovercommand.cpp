#include "backup/BackupFiles.h"
#include "support/AdminTool.h"
#include "db/Services.h"
#include "support/FreshDatabase.h"
#include "support/NetworkServer.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A database of the previous structure with a little stock in leva, as a
// company that kept it through 2025 has it.
class EuroChangeoverCommand : public ::testing::Test
{
protected:
    EuroChangeoverCommand()
    {
        auto dm = database.connect();
        addGoods(*dm, 1, 1, QStringLiteral("Олио"), 3.91166);
        addCounterparty(*dm, 2, 2, QStringLiteral("Фурна ЕТ"), 0);
        addDocument(*dm, 1, 11, 2, QDateTime(QDate(2025, 12, 1), QTime(9, 0)));
        addLine(*dm, 1, 1, 1, -1, 10, 10, 3.91166);
        dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_SUM = 39.1166, TRANZ_PLATENO = 19.5583"));
        addDocument(*dm, 2, 11, 2, QDateTime(QDate(2026, 1, 10), QTime(9, 0)));
        addLine(*dm, 2, 2, 1, -1, 1, 1, 2.5);
        dm->ExecSQL(QStringLiteral("update TRANZ set TRANZ_SUM = 2.5 where TRANZ_ID = 2"));
    }

    ToolResult tool(QStringList words, const QString &input = QString())
    {
        words.prepend(database.path());
        words.prepend(QStringLiteral("euro-changeover"));
        return runAdminTool(words, input);
    }

    QVariantList document(int id)
    {
        auto dm = database.connect();
        return dm->QueryRows(QStringLiteral("select TRANZ_SUM, TRANZ_PLATENO from TRANZ where TRANZ_ID = :ID"),
                             {{QStringLiteral("ID"), id}})
            .front();
    }

    QString record() { return database.connect()->GetConfigByName(QStringLiteral("EURO_CHANGEOVER")); }

    QStringList backups() const { return backup::listBackups(backupDir.path(QString())); }

    QStringList dirOption() const { return {QStringLiteral("--backup-dir"), backupDir.path(QString())}; }

    FreshDatabase database{20114};
    TempDir backupDir;
};

TEST_F(EuroChangeoverCommand, BacksUpShowsWhatChangesAndConvertsOnlyWhenConfirmed)
{
    const ToolResult declined = tool(dirOption(), QStringLiteral("не\n"));
    ASSERT_EQ(declined.code, 0) << declined.err.toStdString();
    ASSERT_EQ(backups().size(), 1);
    EXPECT_TRUE(declined.out.startsWith(QStringLiteral("Архив: ")));
    EXPECT_TRUE(declined.out.section(QLatin1Char('\n'), 0, 0).endsWith(backups().front())) << declined.out.toStdString();
    EXPECT_TRUE(declined.out.contains(QStringLiteral("документи преди 01.01.2026")));
    EXPECT_TRUE(declined.out.contains(
        QStringLiteral("1 документа: суми 39.12, платено 19.56, неплатено 19.56 лв.")))
        << declined.out.toStdString();
    EXPECT_TRUE(declined.out.contains(QStringLiteral("1 документа: суми 20.00, платено 10.00, неплатено 10.00 EUR")))
        << declined.out.toStdString();
    EXPECT_TRUE(declined.out.endsWith(QStringLiteral("[да/не] Нищо не е променено.\n")));
    EXPECT_EQ(document(1), (QVariantList{39.1166, 19.5583}));
    EXPECT_TRUE(record().isEmpty());

    const ToolResult confirmed = tool(dirOption(), QStringLiteral("да\n"));
    ASSERT_EQ(confirmed.code, 0) << confirmed.err.toStdString();
    EXPECT_TRUE(confirmed.out.endsWith(
        QStringLiteral("Базата данни е превалутирана в евро: 1 продажни цени, 1 документа, 1 реда.\n")))
        << confirmed.out.toStdString();
    EXPECT_EQ(document(1), (QVariantList{20.0, 10.0}));
    EXPECT_EQ(document(2), (QVariantList{2.5, 0.0}));
    EXPECT_TRUE(record().startsWith(QStringLiteral("2026-01-01;"))) << record().toStdString();
    // A backup made in the same minute takes the same name.
    EXPECT_GE(backups().size(), 1);
}

TEST_F(EuroChangeoverCommand, ASecondRunIsRefusedBeforeAnyBackup)
{
    ASSERT_EQ(tool(dirOption() << QStringLiteral("--yes")).code, 0);
    ASSERT_EQ(backups().size(), 1);
    const ToolResult again = tool(dirOption() << QStringLiteral("--yes"));
    EXPECT_EQ(again.code, 1);
    EXPECT_TRUE(again.err.startsWith(QStringLiteral("Базата данни вече е в евро"))) << again.err.toStdString();
    EXPECT_EQ(backups().size(), 1);
    EXPECT_EQ(document(1), (QVariantList{20.0, 10.0}));
}

TEST_F(EuroChangeoverCommand, AFailedBackupStopsItWithNothingChanged)
{
    backupDir.writeFile(QStringLiteral("taken"), QByteArray("a file, not a folder"));
    const ToolResult refused =
        tool({QStringLiteral("--yes"), QStringLiteral("--backup-dir"), backupDir.path(QStringLiteral("taken/sub"))});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("директория за архиви"))) << refused.err.toStdString();
    EXPECT_EQ(document(1), (QVariantList{39.1166, 19.5583}));
    EXPECT_TRUE(record().isEmpty());
}

TEST_F(EuroChangeoverCommand, BacksUpBesideTheDatabaseUnlessToldAndRefusesAWrongDate)
{
    const ToolResult wrongDate = tool({QStringLiteral("--date"), QStringLiteral("01.01.2026")});
    EXPECT_EQ(wrongDate.code, 2);
    EXPECT_TRUE(wrongDate.err.contains(QStringLiteral("ГГГГ-ММ-ДД")));

    const ToolResult made = tool({QStringLiteral("--yes"), QStringLiteral("--date"), QStringLiteral("2026-02-01")});
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    const QString beside = QFileInfo(database.path()).absoluteDir().filePath(QStringLiteral("Backup"));
    EXPECT_EQ(backup::listBackups(beside).size(), 1);
    EXPECT_EQ(document(2), (QVariantList{1.28, 0.0})); // dated before the day given
    EXPECT_TRUE(record().startsWith(QStringLiteral("2026-02-01;")));
}

TEST(EuroChangeoverCreateDb, ANewDatabaseIsAlreadyInEuro)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("Varnex.fdb"));
    ASSERT_EQ(runAdminTool({QStringLiteral("create-db"), path}).code, 0);
    const ToolResult value = runAdminTool({QStringLiteral("config"), path, QStringLiteral("EURO_CHANGEOVER")});
    ASSERT_EQ(value.code, 0) << value.err.toStdString();
    EXPECT_TRUE(value.out.startsWith(QStringLiteral("2026-01-01;"))) << value.out.toStdString();
    const ToolResult refused = runAdminTool({QStringLiteral("euro-changeover"), path, QStringLiteral("--yes")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.startsWith(QStringLiteral("Базата данни вече е в евро")));
    EXPECT_FALSE(QDir(dir.path(QStringLiteral("Backup"))).exists());
}

TEST(EuroChangeoverCommandOnServer, RefusesWhileAnotherWorkstationIsConnectedAndForOtherUsers)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    RecordedMessages messages;
    Tdm workstation(messages);
    workstation.setDatabase(database.name());
    workstation.ApplyConnectionConfig();
    ASSERT_TRUE(workstation.Connect());
    workstation.ExecSQL(QStringLiteral("delete from APP_CONFIG where KEY_ID = 402"));
    addDocument(workstation, 1, 12, 1, QDateTime(QDate(2025, 10, 1), QTime(9, 0)));
    workstation.ExecSQL(QStringLiteral("update TRANZ set TRANZ_SUM = 39.1166"));
    const auto sum = [&] { return workstation.QueryValue(QStringLiteral("select TRANZ_SUM from TRANZ")).toDouble(); };
    SharedDir backups;
    const QStringList words{QStringLiteral("euro-changeover"), database.name(), QStringLiteral("--yes"),
                            QStringLiteral("--backup-dir"), backups.path(QString())};

    const ToolResult inUse = runAdminTool(words);
    EXPECT_EQ(inUse.code, 1);
    EXPECT_TRUE(inUse.err.startsWith(QStringLiteral("Базата данни се използва от още 1 връзка")))
        << inUse.err.toStdString();
    EXPECT_TRUE(backup::listBackups(backups.path(QString())).isEmpty());
    EXPECT_DOUBLE_EQ(sum(), 39.1166);

    // A user who sees only its own connections is not trusted with the count.
    const QString user = QStringLiteral("VARNEX_PRODAVACH");
    db::Services security;
    security.attach(serverHost(), ServedDatabase::user(), ServedDatabase::password());
    if (!security.listUsers().contains(user))
        security.addUser(user, QStringLiteral("prodava4"));
    security.detach();
    workstation.user = user;
    ASSERT_TRUE(workstation.GrantTableRights());
    workstation.user = ServedDatabase::user();
    QStringList asUser = words;
    asUser.prepend(QStringLiteral("prodava4"));
    asUser.prepend(QStringLiteral("--password"));
    asUser.prepend(user);
    asUser.prepend(QStringLiteral("--user"));
    const ToolResult notAdministrator = runAdminTool(asUser);
    EXPECT_EQ(notAdministrator.code, 1);
    EXPECT_TRUE(notAdministrator.err.contains(QStringLiteral("като SYSDBA"))) << notAdministrator.err.toStdString();
    EXPECT_DOUBLE_EQ(sum(), 39.1166);

    workstation.Disconnect();
    ASSERT_EQ(runAdminTool(words).code, 0);
    ASSERT_TRUE(workstation.Connect());
    EXPECT_DOUBLE_EQ(sum(), 20.0);
}

} // namespace
