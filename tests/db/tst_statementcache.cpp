#include "db/Statement.h"
#include "db/StatementCache.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "util/Error.h"

#include <gtest/gtest.h>

namespace {

using testing_support::DatabaseTest;

class StatementCache : public DatabaseTest
{
protected:
    db::StatementCache cache{dm->database(), dm->mainTransaction()};

    QVariant first(const QString &sql, const QVariantHash &params = {})
    {
        return cache.run(sql, params, [](db::Statement &statement) {
            return statement.fetch() ? statement.value(0) : QVariant();
        });
    }
};

TEST_F(StatementCache, OneStatementPerTextWithEveryValueBoundAnew)
{
    const QString sql = QStringLiteral("select coalesce(:A, 'none') || '/' || coalesce(:B, 'none') from RDB$DATABASE");
    EXPECT_EQ(first(sql, {{QStringLiteral("A"), 1}, {QStringLiteral("b"), 2}, {QStringLiteral("UNUSED"), 3}}),
              QStringLiteral("1/2"));
    // A value not given this time is null, not the one of the last run.
    EXPECT_EQ(first(sql, {{QStringLiteral("B"), 5}}), QStringLiteral("none/5"));
    EXPECT_EQ(first(sql), QStringLiteral("none/none"));
    EXPECT_EQ(cache.size(), 1u);

    // A cursor left after the first of many rows is closed before the next run.
    const QString many = QStringLiteral("select RDB$RELATION_ID from RDB$RELATIONS order by 1");
    const QVariant lowest = first(many);
    EXPECT_EQ(first(many), lowest);
    EXPECT_EQ(cache.size(), 2u);
    cache.clear();
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(first(many), lowest);
}

TEST_F(StatementCache, AStatementThatFailedIsPreparedAnew)
{
    EXPECT_THROW(first(QStringLiteral("select from nowhere")), varnex::Error);
    EXPECT_EQ(cache.size(), 0u);

    const QString division = QStringLiteral("select 10 / cast(:X as integer) from RDB$DATABASE");
    EXPECT_THROW(first(division, {{QStringLiteral("X"), 0}}), varnex::Error);
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(first(division, {{QStringLiteral("X"), 5}}).toInt(), 2);

    // A failure of the caller's reading drops the statement too.
    EXPECT_THROW(cache.run(division, {{QStringLiteral("X"), 5}},
                           [](db::Statement &) -> int { throw varnex::Error(QStringLiteral("read")); }),
                 varnex::Error);
    EXPECT_EQ(cache.size(), 0u);
}

TEST(StatementCacheKeeps, QueriesRowChangesAndProceduresButNotSchemaChanges)
{
    for (const char *kept : {"select 1 from RDB$DATABASE", "  SELECT 1", "\r\nInsert into T values (1)",
                             "update T set A = 1", "delete from T", "merge into T using S on 1=1 when matched then delete",
                             "EXECUTE PROCEDURE GETCOUNTERVAL :ID", "with X as (select 1 from RDB$DATABASE) select * from X"})
        EXPECT_TRUE(db::StatementCache::keeps(QString::fromLatin1(kept))) << kept;
    for (const char *refused : {"create table T (A integer)", "ALTER TABLE T ADD B INTEGER", "drop table T",
                                "recreate view V as select 1 from RDB$DATABASE", "grant select on T to PUBLIC",
                                "execute block as begin execute statement 'drop table T'; end", "selection"})
        EXPECT_FALSE(db::StatementCache::keeps(QString::fromLatin1(refused))) << refused;
}

// The data module's statements outlive neither a change of the schema nor
// the connection they were prepared on.
TEST_F(StatementCache, TheDataModuleForgetsItsStatementsWithTheSchemaAndTheConnection)
{
    const QString everyColumn = QStringLiteral("select * from CACHE_PROBE");
    ASSERT_TRUE(dm->RunScriptStatement(QStringLiteral("create table CACHE_PROBE (A integer)")));
    dm->ExecSQL(QStringLiteral("insert into CACHE_PROBE (A) values (1)"));
    EXPECT_EQ(dm->QueryRows(everyColumn).at(0).size(), 1);

    ASSERT_TRUE(dm->RunScriptStatement(QStringLiteral("alter table CACHE_PROBE add B integer")));
    EXPECT_EQ(dm->QueryRows(everyColumn).at(0).size(), 2);

    dm->ExecSQL(QStringLiteral("alter table CACHE_PROBE add C integer"));
    EXPECT_EQ(dm->QueryRows(everyColumn).at(0).size(), 3);

    const QString counter = QStringLiteral("select VAL from COUNTERS where ID = :ID");
    const QVariant before = dm->QueryValue(counter, QString(), {{QStringLiteral("ID"), 21}});
    dm->Disconnect();
    ASSERT_TRUE(dm->Connect());
    EXPECT_EQ(dm->QueryValue(counter, QString(), {{QStringLiteral("ID"), 21}}), before);
    EXPECT_EQ(dm->NewCounterValue(21), before.toInt() + 1);
    dm->Disconnect();
    ASSERT_TRUE(dm->Connect());
    EXPECT_EQ(dm->NewCounterValue(21), before.toInt() + 2);
    EXPECT_EQ(dm->QueryRows(everyColumn).at(0).size(), 3);
}

} // namespace
