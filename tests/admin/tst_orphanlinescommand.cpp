#include "db/Services.h"
#include "support/AdminTool.h"
#include "support/FreshDatabase.h"
#include "support/NetworkServer.h"
#include "support/QtPrinters.h"
#include "support/StockData.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void addShop(Tdm &dm)
{
    addGoods(dm, 1, 1, QStringLiteral("Олио"));
    addGoods(dm, 2, 2, QStringLiteral("Брашно, тип 500"));
    addDocument(dm, 1, 12, 1, QDateTime(QDate(2026, 2, 10), QTime(9, 0)));
    addLine(dm, 1, 1, 1, 1, 10, 10);
    addLine(dm, 2, 5, 2, -1, 3, 2); // document 5 was never stored
    addLine(dm, 3, 5, 1, 1, 1.5, 0);
}

int lineCount(Tdm &dm)
{
    return dm.QueryValue(QStringLiteral("select count(*) from TRANZ_RED")).toInt();
}

class OrphanLinesCommand : public ::testing::Test
{
protected:
    OrphanLinesCommand() { addShop(*database.connect()); }

    ToolResult tool(QStringList words, const QString &input = QString())
    {
        words.prepend(database.path());
        words.prepend(QStringLiteral("orphan-lines"));
        return runAdminTool(words, input);
    }

    FreshDatabase database;
};

TEST_F(OrphanLinesCommand, ListsThemAsCsv)
{
    const ToolResult listed = tool({});
    ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, QStringLiteral("document,line,goods,name,direction,quantity,taken\n"
                                         "5,2,2,\"Брашно, тип 500\",-1,3,2\n"
                                         "5,3,1,Олио,1,1.5,0\n"));
    EXPECT_EQ(lineCount(*database.connect()), 3);
}

TEST_F(OrphanLinesCommand, DeletesOnlyWhenTheAnswerIsYes)
{
    const QString question =
        QStringLiteral("Редове на незаписани документи: 2 реда на 1 документ. Да бъдат ли изтрити? [да/не] ");
    const ToolResult declined = tool({QStringLiteral("--delete")}, QStringLiteral("не\n"));
    ASSERT_EQ(declined.code, 0) << declined.err.toStdString();
    EXPECT_EQ(declined.out, question + QStringLiteral("Нищо не е изтрито.\n"));
    EXPECT_EQ(tool({QStringLiteral("--delete")}).out, question + QStringLiteral("Нищо не е изтрито.\n")); // no input
    EXPECT_EQ(lineCount(*database.connect()), 3);

    const ToolResult accepted = tool({QStringLiteral("--delete")}, QStringLiteral("Да\n"));
    ASSERT_EQ(accepted.code, 0) << accepted.err.toStdString();
    EXPECT_EQ(accepted.out, question + QStringLiteral("Изтрити редове: 2.\n"));
    EXPECT_EQ(lineCount(*database.connect()), 1);

    EXPECT_EQ(tool({QStringLiteral("--delete")}).out, QStringLiteral("Няма редове на незаписани документи.\n"));
}

TEST_F(OrphanLinesCommand, YesDeletesWithoutAsking)
{
    const ToolResult deleted = tool({QStringLiteral("--delete"), QStringLiteral("--yes")});
    ASSERT_EQ(deleted.code, 0) << deleted.err.toStdString();
    EXPECT_EQ(deleted.out, QStringLiteral("Изтрити редове: 2.\n"));
    EXPECT_EQ(lineCount(*database.connect()), 1);
}

TEST_F(OrphanLinesCommand, WrongWordsAreUsageErrors)
{
    EXPECT_EQ(tool({QStringLiteral("--yes")}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("--all")}).code, 2);
    EXPECT_EQ(runAdminTool({QStringLiteral("orphan-lines")}).code, 2);
    EXPECT_EQ(lineCount(*database.connect()), 3);
}

TEST(OrphanLinesCommandOnServer, RefusesToDeleteWhileAnotherConnectionIsOpen)
{
    REQUIRE_SERVER();
    ServedDatabase database;
    RecordedMessages messages;
    Tdm workstation(messages);
    workstation.setDatabase(database.name());
    workstation.ApplyConnectionConfig();
    ASSERT_TRUE(workstation.Connect());
    addShop(workstation);

    const ToolResult refused = runAdminTool(
        {QStringLiteral("orphan-lines"), database.name(), QStringLiteral("--delete"), QStringLiteral("--yes")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, QStringLiteral("Базата данни се използва от още 1 връзка. Затворете програмата на другите "
                                          "работни места и опитайте отново.\n"));
    EXPECT_EQ(lineCount(workstation), 3);
    EXPECT_EQ(runAdminTool({QStringLiteral("orphan-lines"), database.name()}).code, 0); // listing is harmless

    // A user who sees only its own connections is not trusted with the count.
    const QString user = QStringLiteral("VARNEX_PRODAVACH");
    db::Services security;
    security.attach(serverHost(), ServedDatabase::user(), ServedDatabase::password());
    if (!security.listUsers().contains(user))
        security.addUser(user, QStringLiteral("prodava4"));
    security.detach();
    workstation.user = user;
    ASSERT_TRUE(workstation.GrantTableRights());
    const ToolResult notAdministrator =
        runAdminTool({QStringLiteral("orphan-lines"), QStringLiteral("--user"), QStringLiteral("VARNEX_PRODAVACH"),
                      QStringLiteral("--password"), QStringLiteral("prodava4"), database.name(),
                      QStringLiteral("--delete"), QStringLiteral("--yes")});
    EXPECT_EQ(notAdministrator.code, 1);
    EXPECT_TRUE(notAdministrator.err.contains(QStringLiteral("като SYSDBA"))) << notAdministrator.err.toStdString();
    EXPECT_EQ(lineCount(workstation), 3);
}

} // namespace
