#include "support/FreshDatabase.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A data module counting what it sends the server: on a network each
// statement is at least one round trip.
class CountingDm : public Tdm
{
public:
    using Tdm::Tdm;
    qint64 ExecSQL(const QString &sql, const data::SqlParams &params = {}) override
    {
        ++statements;
        return Tdm::ExecSQL(sql, params);
    }
    QVariant QueryValue(const QString &sql, const QString &field = QString(), const data::SqlParams &params = {}) override
    {
        ++statements;
        return Tdm::QueryValue(sql, field, params);
    }
    bool HasRows(const QString &sql, const data::SqlParams &params = {}) override
    {
        ++statements;
        return Tdm::HasRows(sql, params);
    }
    std::vector<QVariantList> QueryRows(const QString &sql, const data::SqlParams &params = {}) override
    {
        ++statements;
        return Tdm::QueryRows(sql, params);
    }
    bool RunScriptStatement(const QString &sql) override
    {
        ++scripts;
        return Tdm::RunScriptStatement(sql);
    }
    int statements = 0;
    int scripts = 0;
};

// Two grantees, each with 25 tables, the payment records and 3 procedures.
const int kGrants = 2 * (28 + 1 + 3);

TEST(StartUp, GrantsOnlyAfterAnUpgradeOrWhenARightIsMissing)
{
    struct Case
    {
        const char *name;
        const char *before;
        int mostStatements;
        int leastScripts;
        int mostScripts;
    };
    const Case cases[] = {
        {"current, rights held", nullptr, 2, 0, 0},
        {"current, a right revoked", "REVOKE SELECT ON NOM FROM KASA1", 3, kGrants, kGrants},
        {"a procedure right revoked", "REVOKE EXECUTE ON PROCEDURE GETCOUNTERVAL FROM KASA1", 3, kGrants, kGrants},
        {"below the current version", "update APP_CONFIG set KEY_VALUE = '20116' where KEY_ID = 101", 1000,
         kGrants + 1, 1000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FreshDatabase database;
        CountingDm dm(database.messages);
        dm.setDatabase(database.path());
        dm.ApplyConnectionConfig();
        ASSERT_TRUE(dm.Connect());
        dm.user = QStringLiteral("kasa1");
        ASSERT_TRUE(dm.GrantTableRights());
        ASSERT_TRUE(data::hasTableRights(dm, dm.user));
        if (c.before)
            dm.ExecSQL(QString::fromLatin1(c.before));
        dm.statements = dm.scripts = 0;

        EXPECT_EQ(dm.PrepareSchema(), Tdm::SchemaResult::Ready);
        EXPECT_LE(dm.statements, c.mostStatements);
        EXPECT_GE(dm.scripts, c.leastScripts);
        EXPECT_LE(dm.scripts, c.mostScripts);
        EXPECT_TRUE(data::hasTableRights(dm, dm.user));
        EXPECT_EQ(dm.SchemaVersion(), data::kTargetSchemaVersion);
    }
}

TEST(StartUp, CountersAreRealignedInOneStatement)
{
    FreshDatabase database;
    CountingDm dm(database.messages);
    dm.setDatabase(database.path());
    dm.ApplyConnectionConfig();
    ASSERT_TRUE(dm.Connect());
    // A reset (the maintenance command, clearing) also puts the keys'
    // sequences back, once it has seen that the database has them.
    const std::pair<data::CounterAdjustment, int> cases[] = {{data::CounterAdjustment::RaiseOnly, 1},
                                                             {data::CounterAdjustment::Reset, 3}};
    for (const auto &[adjustment, statements] : cases) {
        dm.statements = 0;
        dm.AdjustCounters(adjustment);
        EXPECT_EQ(dm.statements, statements);
    }
}

} // namespace
