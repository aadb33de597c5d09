#include "core/AppSettings.h"
#include "core/SessionToken.h"
#include "core/TXMLSettings.h"
#include "db/Attachment.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(SessionToken, FollowsTheGeneratorAndNeverRepeatsThePreviousToken)
{
    EXPECT_EQ(nextSessionToken(1), 67387906u);
    EXPECT_EQ(nextSessionToken(12345), 827533966u);
    EXPECT_EQ(nextSessionToken(4294967295u), 2080095741u);
    EXPECT_EQ(nextSessionToken(0), 0u); // the generator's fixed point
    EXPECT_EQ(newStartupToken(0), 67387906u);
    EXPECT_EQ(newStartupToken(12345), 827533966u);
}

// A workstation: the program directory with the settings file and, for the
// embedded engine, "firebird.conf".
class Session : public ::testing::Test
{
protected:
    Session()
        : settings(dir.path(QStringLiteral("Varnex.xdb")))
    {
        dir.writeFile(QStringLiteral("firebird.conf"), "");
        settings.setSaveWhenFreed(false);
        settings.Open();
        SetAppSettings(&settings);
    }
    ~Session() override { SetAppSettings(nullptr); }

    std::unique_ptr<Tdm> module(const QString &database)
    {
        auto dm = std::make_unique<Tdm>(messages);
        dm->programDirectory = dir.path(QString()) + QLatin1Char('/');
        dm->databasePath = database;
        return dm;
    }
    bool start(FreshDatabase &database) { return module(database.path())->StartSession(); }
    QByteArray savedFile() const { return dir.readFile(QStringLiteral("Varnex.xdb")); }

    TempDir dir;
    TXMLSettings settings;
    RecordedMessages messages;
};

TEST_F(Session, AFirstStartUpgradesOnceAndLaterStartsOnlyGrant)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    {
        auto dm = module(database.path());
        ASSERT_TRUE(dm->StartSession());
        EXPECT_TRUE(dm->IsConnected());
        EXPECT_EQ(dm->SchemaVersion(), data::kTargetSchemaVersion);
        EXPECT_EQ(dm->currentUserName, QStringLiteral("Default"));
        EXPECT_FALSE(dm->loginRequired);
        dm->ExecSQL(QStringLiteral("insert into MRU_ITEMS (ID, MRU_ID, MRU_VAL) values (1, 1, 'София')"));
    }
    ASSERT_TRUE(start(database));
    EXPECT_TRUE(database.connect()->HasRows(QStringLiteral("select 1 from MRU_ITEMS"))); // no upgrade step ran
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Session, ADatabaseThatRefusesTheUpgradeStopsTheStart)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    database.connect()->RunScriptStatement(QStringLiteral("ALTER TABLE INVOICES DROP RECEIVER;"));
    auto dm = module(database.path());
    EXPECT_FALSE(dm->StartSession());
    EXPECT_FALSE(dm->IsConnected());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Грешка: 401"));
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("Неуспешно обновяване на базата данни.\n\rПотърсете помощ от дистрибутора на програмата! "));
}

TEST_F(Session, ADatabaseThatIsNotOursFailsAsAnUpgradeAndIsLeftAlone)
{
    const QString foreign = dir.path(QStringLiteral("foreign.fdb"));
    db::Attachment::createDatabase(foreign, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    auto dm = module(foreign);
    EXPECT_FALSE(dm->StartSession());
    EXPECT_FALSE(dm->IsConnected());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Грешка: 401"));

    db::Attachment check;
    check.attach(foreign, QStringLiteral("SYSDBA"), QStringLiteral("pendrolix"));
    db::Transaction transaction(check);
    db::Statement tables(check, transaction);
    tables.prepare(QStringLiteral("select count(*) from RDB$RELATIONS where RDB$SYSTEM_FLAG = 0"));
    tables.execute();
    ASSERT_TRUE(tables.fetch());
    EXPECT_EQ(tables.value(0).toInt(), 0); // no upgrade step touched it
}

TEST_F(Session, AHalfMadeDatabaseFailsAsAnUpgrade)
{
    FreshDatabase database(data::kFirstSchemaVersion);
    database.connect()->RunScriptStatement(QStringLiteral("DROP TABLE APP_CONFIG;"));
    EXPECT_FALSE(start(database));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Грешка: 401"));
}

TEST_F(Session, TheEngineKeepsTheConfiguredPageCache)
{
    FreshDatabase database;
    settings.WriteInteger(QStringLiteral("db_server\\page_cache"), 4096);
    auto dm = module(database.path());
    ASSERT_TRUE(dm->StartSession());
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select MON$PAGE_BUFFERS from MON$DATABASE")).toInt(), 4096);
}

TEST_F(Session, AnUnreachableServerEndsTheStartWithItsMessage)
{
    QFile::remove(dir.path(QStringLiteral("firebird.conf")));
    settings.WriteString(QStringLiteral("clientinfo\\network"), QStringLiteral("1"));
    settings.WriteString(QStringLiteral("db_server\\host"), QStringLiteral("127.0.0.1/3999"));
    settings.WriteString(QStringLiteral("db_server\\database"), QStringLiteral("/srv/shop.fdb"));
    auto dm = module(QString());
    EXPECT_FALSE(dm->StartSession());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Грешка: 001"));
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("[127.0.0.1/3999:/srv/shop.fdb]\n\r")));
}

TEST_F(Session, AReadOnlyDatabaseFileIsRefused)
{
    FreshDatabase database;
    QFile::setPermissions(database.path(), QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_FALSE(start(database));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("The database file is RO!"));
    QFile::setPermissions(database.path(), QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(Session, WithoutAutoBackupOnlyTheEndWritesItsToken)
{
    FreshDatabase database;
    auto dm = module(database.path());
    ASSERT_TRUE(dm->StartSession());
    EXPECT_TRUE(messages.questions.empty());
    EXPECT_EQ(settings.ReadString(QStringLiteral("StartupSeed"), QStringLiteral("absent")), QStringLiteral("absent"));
    dm->EndSession();
    EXPECT_FALSE(dm->IsConnected());
    EXPECT_EQ(settings.ReadString(QStringLiteral("ShutdownSeed"), QStringLiteral("absent")), QStringLiteral("0"));
    EXPECT_TRUE(savedFile().contains("<ShutdownSeed>0</ShutdownSeed>"));
}

TEST_F(Session, AutoBackupNoticesASessionThatNeverEnded)
{
    FreshDatabase database;
    settings.WriteBool(QStringLiteral("AutoBackup"), true);
    {
        auto dm = module(database.path());
        ASSERT_TRUE(dm->StartSession()); // tokens 0 and 0: a clean past
        EXPECT_TRUE(messages.questions.empty());
        EXPECT_EQ(settings.ReadInteger(QStringLiteral("StartupSeed"), 0), 67387906);
        EXPECT_TRUE(savedFile().contains("<StartupSeed>67387906</StartupSeed>"));
        // The process dies here: no orderly end.
    }
    messages.confirmations = {false};
    {
        auto dm = module(database.path());
        ASSERT_TRUE(dm->StartSession());
        ASSERT_EQ(messages.questions.size(), 1u);
        EXPECT_TRUE(messages.questions[0].startsWith(QStringLiteral("Работата в последната сесия на програмата не е приключила чисто!\r\n")));
        dm->EndSession();
    }
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("ShutdownSeed"), 0), settings.ReadInteger(QStringLiteral("StartupSeed"), 1));
    ASSERT_TRUE(start(database));
    EXPECT_EQ(messages.questions.size(), 1u); // clean this time
}

class LogIn : public Session
{
protected:
    LogIn()
    {
        auto setup = database.connect();
        setup->SetConfigByName(QStringLiteral("AUTH_MODE"), QStringLiteral("1"));
        setup->ExecSQL(QStringLiteral("insert into USERS (ID, NAME, LOGIN, PASS, USER_TYPE) values (5, 'Иван Петров', 'ivan', 'tajna', 2)"));
        setup->ExecSQL(QStringLiteral("insert into USERS (ID, NAME, LOGIN, PASS, USER_TYPE) values (6, 'Зони', 'zone', 'z', 0)"));
    }
    FreshDatabase database;
};

TEST_F(LogIn, ThreeCancelsEndTheStart)
{
    EXPECT_FALSE(start(database));
    EXPECT_EQ(messages.loginPrompts, 3);
}

TEST_F(LogIn, TwoFailuresThenTheRightPasswordStartsWithQuotesIgnored)
{
    messages.logins = {{QStringLiteral("ivan"), QStringLiteral("wrong"), QString()},
                       {QStringLiteral("zone"), QStringLiteral("z"), QString()}, // a zone holder cannot log in
                       {QStringLiteral("iv'an"), QStringLiteral("taj'na"), QString()}};
    auto dm = module(database.path());
    ASSERT_TRUE(dm->StartSession());
    EXPECT_EQ(messages.loginPrompts, 3);
    EXPECT_EQ(dm->currentUserId, 5);
    EXPECT_EQ(dm->currentUserName, QStringLiteral("Иван Петров"));
    EXPECT_TRUE(dm->loginRequired);
}

TEST_F(LogIn, TextNoStoredLoginCanHoldIsAFailedAttemptWithItsReason)
{
    messages.logins = {{QString(25, QLatin1Char('x')), QStringLiteral("tajna"), QString()},
                       {QStringLiteral("ivan"), QStringLiteral("✓"), QString()},
                       {QStringLiteral("ivan"), QStringLiteral("tajna"), QString()}};
    auto dm = module(database.path());
    ASSERT_TRUE(dm->StartSession());
    EXPECT_EQ(messages.loginPrompts, 3);
    EXPECT_EQ(dm->currentUserId, 5);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(messages.shown[1].text.contains(QStringLiteral("✓")));
}

TEST_F(LogIn, AZonePasswordNoStoredOneCanHoldIsAFailedAttempt)
{
    messages.logins = {{QStringLiteral("ivan"), QStringLiteral("tajna"), QString()}};
    auto dm = module(database.path());
    ASSERT_TRUE(dm->StartSession());
    dm->ExecSQL(QStringLiteral("update USERS set PASS = 'z' where ID = 0"));
    messages.zonePasswords = {QString(41, QLatin1Char('z')), QStringLiteral("z✓"), QStringLiteral("z")};
    EXPECT_TRUE(dm->AskZonePassword());
    EXPECT_EQ(messages.zonePrompts, 3);
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(Session, EndingAfterTheConnectionWasLetGoStillWritesTheToken)
{
    FreshDatabase database;
    settings.WriteBool(QStringLiteral("AutoBackup"), true);
    auto dm = module(database.path());
    ASSERT_TRUE(dm->StartSession());
    // What a dropped connection leaves: handles the server no longer knows.
    dm->database().abandon();
    EXPECT_NO_THROW(dm->EndSession());
    EXPECT_FALSE(dm->IsConnected());
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("ShutdownSeed"), 0), settings.ReadInteger(QStringLiteral("StartupSeed"), 1));
}

// Lines of document 4, stored as they were entered; its editor never got to
// write the header nor to remove them.
class OrphanLinesAtStart : public Session
{
protected:
    OrphanLinesAtStart()
    {
        auto setup = database.connect();
        addGoods(*setup, 1, 1, QStringLiteral("Олио"));
        addDocument(*setup, 1, 12, 1, QDateTime(QDate(2026, 2, 10), QTime(9, 0)));
        addLine(*setup, 1, 1, 1, 1, 10, 10);
        addLine(*setup, 2, 4, 1, -1, 3, 3);
        addLine(*setup, 3, 4, 1, -1, 1, 1);
    }
    QString lineIds()
    {
        QStringList ids;
        for (const QVariantList &row :
             database.connect()->QueryRows(QStringLiteral("select TRANZ_RED_ID from TRANZ_RED order by 1")))
            ids << row.at(0).toString();
        return ids.join(QLatin1Char(','));
    }
    FreshDatabase database;
};

TEST_F(OrphanLinesAtStart, AnsweredYesTheyAreRemovedAndNothingElse)
{
    messages.confirmations = {true};
    ASSERT_TRUE(start(database));
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_EQ(messages.questions[0],
              QStringLiteral("В базата данни има редове на документи, които не са били записани, защото работата с "
                             "тях е прекъсната (срив, спиране на тока или загубена връзка): 2 реда на 1 документ.\r\n"
                             "Тези редове не се виждат в никой дневник, но може да променят наличността.\r\n"
                             "Желаете ли да бъдат изтрити?"));
    EXPECT_EQ(lineIds(), QStringLiteral("1"));
    ASSERT_TRUE(start(database));
    EXPECT_EQ(messages.questions.size(), 1u); // nothing left to offer
}

TEST_F(OrphanLinesAtStart, AnsweredNoTheyStayAndAreOfferedAgainAtTheNextStart)
{
    messages.confirmations = {false};
    ASSERT_TRUE(start(database));
    EXPECT_EQ(lineIds(), QStringLiteral("1,2,3"));
    ASSERT_TRUE(start(database)); // no answer left: no
    EXPECT_EQ(messages.questions.size(), 2u);
    EXPECT_EQ(lineIds(), QStringLiteral("1,2,3"));
}

TEST_F(OrphanLinesAtStart, AreOfferedOnlyAfterTheLogIn)
{
    auto setup = database.connect();
    setup->SetConfigByName(QStringLiteral("AUTH_MODE"), QStringLiteral("1"));
    setup.reset();
    messages.confirmations = {true};
    EXPECT_FALSE(start(database)); // the log-in window cancelled three times
    EXPECT_TRUE(messages.questions.empty());
    EXPECT_EQ(lineIds(), QStringLiteral("1,2,3"));
}

TEST_F(OrphanLinesAtStart, ARemovalThatFailsIsLoggedAndTheStartGoesOn)
{
    auto setup = database.connect();
    ASSERT_TRUE(setup->RunScriptStatement(QStringLiteral("CREATE EXCEPTION LINES_KEPT 'kept';")));
    ASSERT_TRUE(setup->RunScriptStatement(QStringLiteral(
        "SET TERM ^ ;\nCREATE TRIGGER KEEP_LINES FOR TRANZ_RED BEFORE DELETE AS BEGIN EXCEPTION LINES_KEPT; END^")));
    setup.reset();
    messages.confirmations = {true};
    auto dm = module(database.path());
    ASSERT_TRUE(dm->StartSession());
    EXPECT_TRUE(dm->IsConnected());
    EXPECT_EQ(messages.questions.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from TRANZ_RED")).toInt(), 3);
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select NOM_NAME from NOM where NOM_ID = 1")).toString(),
              QStringLiteral("Олио")); // the session works on
}

} // namespace
