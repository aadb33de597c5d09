#include "db/NamedParameters.h"
#include "db/Script.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(NamedParameters, BecomeMarkersInOrderAndRepeatedNamesRepeat)
{
    const db::PositionalStatement statement = db::toPositional(
        QStringLiteral("update COUNTERS set VAL = :Val where ID = :id and VAL < :VAL"));
    EXPECT_EQ(statement.text, QStringLiteral("update COUNTERS set VAL = ? where ID = ? and VAL < ?"));
    EXPECT_EQ(statement.names, (QStringList{QStringLiteral("VAL"), QStringLiteral("ID"), QStringLiteral("VAL")}));
}

TEST(NamedParameters, LeaveQuotedTextNamesAndCommentsAlone)
{
    const QString sql = QStringLiteral("select ':NOT', \"A:B\", 'it''s :X' /* :Y */ from T -- :Z\n where A = :REAL");
    const db::PositionalStatement statement = db::toPositional(sql);
    EXPECT_EQ(statement.names, QStringList{QStringLiteral("REAL")});
    EXPECT_TRUE(statement.text.endsWith(QLatin1String("where A = ?")));
    EXPECT_TRUE(statement.text.startsWith(QLatin1String("select ':NOT', \"A:B\", 'it''s :X' /* :Y */")));
}

TEST(Script, SplitsOnTheTerminatorOutsideQuotesAndFollowsSetTerm)
{
    const QStringList statements = db::Script::split(QStringLiteral(
        "/* header; with a semicolon */\n"
        "SET SQL DIALECT 3;\n"
        "INSERT INTO T VALUES ('a;b'); -- trailing; comment\n"
        "SET TERM ^ ;\n"
        "CREATE PROCEDURE P AS BEGIN EXIT; END^\n"
        "SET TERM ; ^\n"
        "COMMIT;\n"
        "  \n"));
    ASSERT_EQ(statements.size(), 6);
    EXPECT_EQ(statements.at(0), QStringLiteral("SET SQL DIALECT 3"));
    EXPECT_EQ(statements.at(1), QStringLiteral("INSERT INTO T VALUES ('a;b')"));
    EXPECT_EQ(statements.at(2), QStringLiteral("SET TERM ^"));
    EXPECT_EQ(statements.at(3), QStringLiteral("CREATE PROCEDURE P AS BEGIN EXIT; END"));
    EXPECT_EQ(statements.at(4), QStringLiteral("SET TERM ;"));
    EXPECT_EQ(statements.at(5), QStringLiteral("COMMIT"));
}

} // namespace
