#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Passwords : public DatabaseTest
{
protected:
    Passwords()
    {
        dm->ExecSQL(QStringLiteral("insert into USERS (ID, NAME, LOGIN, PASS, USER_TYPE) values (5, 'Иван', 'ivan', 'old', 2)"));
        dm->ExecSQL(QStringLiteral("insert into USERS (ID, NAME, LOGIN, PASS, USER_TYPE) values (7, 'Админ', 'admin', 'boss', 1)"));
        dm->currentUserId = 5;
    }
    QString stored(int id)
    {
        return dm->QueryValue(QStringLiteral("select PASS from USERS where ID = :ID"), QString(), {{QStringLiteral("ID"), id}})
            .toString();
    }
    void expectRefused(const std::function<void()> &change)
    {
        try {
            change();
            FAIL() << "the password was changed";
        } catch (const varnex::Error &error) {
            EXPECT_EQ(error.message(), QStringLiteral("Паролата не е сменена!"));
        }
    }
    RecordedMessages &messages() { return database.messages; }
};

TEST_F(Passwords, TheOwnPasswordChangesWithTheOldOrAnAdministratorsPassword)
{
    messages().passwordChanges = {{QStringLiteral("old"), QStringLiteral("new1"), QStringLiteral("new1")}};
    dm->ChangePassword();
    EXPECT_EQ(stored(5), QStringLiteral("new1"));
    EXPECT_EQ(messages().shown.back().text, QStringLiteral("Паролата е успешно сменена."));
    EXPECT_EQ(messages().shown.back().caption, QStringLiteral("Системно съобщение"));
    EXPECT_TRUE(messages().oldFieldEnabled.back());

    messages().passwordChanges = {{QStringLiteral("boss"), QStringLiteral("new2"), QStringLiteral("new2")}};
    dm->ChangePassword();
    EXPECT_EQ(stored(5), QStringLiteral("new2"));
}

TEST_F(Passwords, WrongOldPasswordsAndQuotedNewOnesAreRefused)
{
    messages().passwordChanges = {{QStringLiteral("nope"), QStringLiteral("x"), QStringLiteral("x")}};
    expectRefused([&] { dm->ChangePassword(); });
    messages().passwordChanges = {{QStringLiteral("old"), QStringLiteral("it's"), QStringLiteral("it's")}};
    expectRefused([&] { dm->ChangePassword(); });
    EXPECT_EQ(stored(5), QStringLiteral("old"));
    messages().passwordChanges.clear();
    dm->ChangePassword(); // cancelled: nothing, no message
    EXPECT_TRUE(messages().shown.empty());
}

TEST_F(Passwords, AnEmptyPasswordIsNotAskedForAndTheZoneModelChangesRowZero)
{
    dm->currentUserId = 0; // the zone model
    messages().passwordChanges = {{QString(), QStringLiteral("zona"), QStringLiteral("zona")}};
    dm->ChangePassword();
    EXPECT_FALSE(messages().oldFieldEnabled.back());
    EXPECT_EQ(stored(0), QStringLiteral("zona"));
}

TEST_F(Passwords, TheMaintenancePasswordNeedsTheOldOne)
{
    messages().passwordChanges = {{QStringLiteral("wrong"), QStringLiteral("m2"), QStringLiteral("m2")}};
    expectRefused([&] { dm->ChangeMaintenancePassword(); });
    messages().passwordChanges = {{QStringLiteral("milvane"), QStringLiteral("m'2"), QStringLiteral("m2")}};
    dm->ChangeMaintenancePassword(); // the quote is stripped from the new field only
    EXPECT_EQ(stored(-1), QStringLiteral("m2"));

    dm->ExecSQL(QStringLiteral("update USERS set PASS = '' where ID = -1"));
    messages().passwordChanges = {{QStringLiteral("any"), QStringLiteral("m3"), QStringLiteral("m3")}};
    expectRefused([&] { dm->ChangeMaintenancePassword(); });

    dm->ResetPassword();
    EXPECT_EQ(stored(5), QStringLiteral("milvane"));
}

using Rights = DatabaseTest;

TEST_F(Rights, ZonesAreAskedOnceAndRememberedForTenMinutes)
{
    RecordedMessages &messages = database.messages;
    EXPECT_TRUE(dm->CheckRight(10)); // not protected: never asked
    EXPECT_EQ(messages.zonePrompts, 0);

    dm->SetRight(0, 10, true);
    dm->SetRight(0, 10, true); // an existing row is updated, not doubled
    EXPECT_EQ(dm->QueryValue(QStringLiteral("select count(*) from USER_RIGHTS")).toInt(), 1);
    EXPECT_TRUE(dm->CheckRight(10)); // the zone password is empty: nothing asked
    EXPECT_EQ(messages.zonePrompts, 0);

    dm->ExecSQL(QStringLiteral("update USERS set PASS = 'zona' where ID = 0"));
    messages.zonePasswords = {QStringLiteral("грешна"), QStringLiteral("zo'na")};
    EXPECT_TRUE(dm->CheckRight(10));
    EXPECT_EQ(messages.zonePrompts, 2);
    EXPECT_TRUE(dm->InZone());
    EXPECT_TRUE(dm->CheckRight(10));
    EXPECT_EQ(messages.zonePrompts, 2);

    for (int second = 0; second < 599; ++second)
        dm->ZoneTick();
    EXPECT_TRUE(dm->InZone());
    dm->ZoneTick();
    EXPECT_FALSE(dm->InZone());

    EXPECT_FALSE(dm->CheckRight(10)); // three cancelled prompts
    EXPECT_EQ(messages.zonePrompts, 5);

    dm->ExecSQL(QStringLiteral("insert into USERS (ID, NAME, PASS, USER_TYPE) values (7, 'Админ', 'boss', 1)"));
    messages.zonePasswords = {QStringLiteral("boss")};
    EXPECT_TRUE(dm->CheckRight(10)); // an administrator's password opens a zone
    dm->LeaveZone();
    EXPECT_FALSE(dm->InZone());
}

TEST_F(Rights, TwoEmptyZoneHoldersStillAsk)
{
    dm->SetRight(0, 1, true);
    dm->ExecSQL(QStringLiteral("insert into USERS (ID, NAME, PASS, USER_TYPE) values (8, 'Втори', '', 0)"));
    EXPECT_FALSE(dm->CheckRight(1));
    EXPECT_EQ(database.messages.zonePrompts, 3);
}

TEST_F(Rights, TheUserModelLooksUpTheUsersRights)
{
    dm->loginRequired = true;
    dm->currentUserId = 5;
    EXPECT_FALSE(dm->CheckRight(11));
    dm->SetRight(5, 11, true);
    EXPECT_TRUE(dm->CheckRight(11));
    dm->SetRight(5, 11, false);
    EXPECT_FALSE(dm->IsAllowed(5, 11));
    EXPECT_EQ(database.messages.zonePrompts, 0);

    const auto top = dm->ListRightItems(0);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].second, 1);
    EXPECT_EQ(dm->ListRightItems(2).size(), 3u);
}

} // namespace
