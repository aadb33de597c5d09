#include "db/DatabaseError.h"
#include "support/DatabaseTest.h"
#include "support/QtPrinters.h"
#include "support/UncommittedChange.h"

#include <ibase.h>

#include <gtest/gtest.h>

namespace {

class Counters : public testing_support::DatabaseTest
{
protected:
    int counter(int id)
    {
        return dm->QueryValue(QStringLiteral("select VAL from COUNTERS where ID = :ID"), QString(),
                              {{QStringLiteral("ID"), id}})
            .toInt();
    }
    void reconnect()
    {
        dm.reset();
        dm = database.connect();
    }
};

TEST_F(Counters, HandOutIncreasingValuesCommittedAtOnce)
{
    const int first = dm->NewCounterValue(data::CounterTranz);
    const int second = dm->NewCounterValue(data::CounterTranz);
    EXPECT_EQ(second, first + 1);
    // Another connection sees the value taken even before anything else commits.
    auto other = database.connect();
    EXPECT_EQ(other->NewCounterValue(data::CounterTranz), second + 1);
}

TEST_F(Counters, CatchUpWithKeysInsertedByOtherMeans)
{
    dm->ExecSQL(QStringLiteral("insert into CITIES (ID, COUNTRY_ID, NAME) values (500, 1, 'Русе')"));
    reconnect();
    EXPECT_EQ(counter(data::CounterCities), 500);
    EXPECT_EQ(dm->NewCounterValue(data::CounterCities), 501);
}

TEST_F(Counters, ConnectingNeverLowersAValueAnotherWorkstationHolds)
{
    const int held = dm->NewCounterValue(data::CounterTranz); // a document still being entered
    reconnect();
    EXPECT_EQ(counter(data::CounterTranz), held);
    EXPECT_EQ(dm->NewCounterValue(data::CounterTranz), held + 1);

    // The maintenance command puts every counter back on its table's highest key.
    dm->AdjustCounters(data::CounterAdjustment::Reset);
    EXPECT_EQ(counter(data::CounterTranz), 0);
}

// Another workstation drawing from the same counter holds it until it
// commits; a draw at that instant waits a little rather than failing.
TEST_F(Counters, ACounterHeldForAnInstantIsDrawnAgainOneHeldLongerIsToldInWords)
{
    const QString held = QStringLiteral("Друга работна станция взема в момента нов номер. Опитайте отново след малко.");
    const struct
    {
        int failures;
        long code;
        int calls;
        QString message; // empty: drawn
    } cases[] = {{0, isc_lock_conflict, 1, QString()},
                 {5, isc_update_conflict, 6, QString()},
                 {9, isc_deadlock, 6, held},
                 {9, isc_network_error, 1, db::DatabaseError(QString(), QString(), {isc_network_error}).message()}};
    for (const auto &each : cases) {
        int calls = 0;
        const auto draw = [&] {
            if (calls++ < each.failures)
                throw db::DatabaseError(QStringLiteral("connection lost"), QString(), {each.code});
            return 7;
        };
        QString message;
        try {
            EXPECT_EQ(data::drawCounterValue(draw), 7);
        } catch (const varnex::Error &error) {
            message = error.message();
        }
        EXPECT_EQ(message, each.message);
        EXPECT_EQ(calls, each.calls);
    }
}

// An older copy of the program, or a tool, may hold a counter's row or
// raise it: a draw neither waits for the one nor falls below the other.
TEST_F(Counters, ADrawNeverWaitsForTheRowAndStaysAboveIt)
{
    const int before = dm->NewCounterValue(data::CounterTranzRed);
    {
        testing_support::UncommittedChange drawing(database.path(),
                                                   QStringLiteral("update COUNTERS set VAL = VAL + 1 where ID = 25"));
        EXPECT_EQ(dm->NewCounterValue(data::CounterTranzRed), before + 1);
    }
    dm->ExecSQL(QStringLiteral("update COUNTERS set VAL = 500 where ID = 25"));
    EXPECT_EQ(dm->NewCounterValue(data::CounterTranzRed), 501);
    EXPECT_EQ(counter(data::CounterTranzRed), 501);
    EXPECT_EQ(dm->NewCounterValue(data::CounterTranzRed), 502);
}

TEST_F(Counters, AResetIsRefusedWhileAnotherConnectionHoldsAValue)
{
    const int held = dm->NewCounterValue(data::CounterTranz); // a document still being entered
    auto maintenance = database.connect(); // raising at connection is not held up
    try {
        maintenance->AdjustCounters(data::CounterAdjustment::Reset);
        FAIL() << "the reset went through under another connection";
    } catch (const varnex::Error &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("още 1 връзка"))) << error.message().toStdString();
    }
    EXPECT_EQ(counter(data::CounterTranz), held);

    dm.reset();
    maintenance->AdjustCounters(data::CounterAdjustment::Reset);
    EXPECT_EQ(maintenance->QueryValue(QStringLiteral("select VAL from COUNTERS where ID = 24")).toInt(), 0);
}

TEST_F(Counters, TheFirstGoodsItemGetsOneAndTheFixedRowStays)
{
    const auto fixedGoodsRowKept = [this] {
        return dm->HasRows(QStringLiteral("select 1 from NOM where NOM_ID = -1"));
    };
    EXPECT_EQ(dm->NewCounterValue(data::CounterNom), 1);

    // Cleared: only the fixed row is left, and the counter starts over at 1.
    dm->ExecSQL(QStringLiteral("insert into NOM (NOM_ID, NOM_CODE, NOM_NAME) values (1, 1, 'Олио')"));
    dm->EmptyDatabase();
    EXPECT_TRUE(fixedGoodsRowKept());
    EXPECT_EQ(dm->NewCounterValue(data::CounterNom), 1);

    // A database installed with the counter below the fixed row's successor
    // is put right at the next connection.
    dm->ExecSQL(QStringLiteral("update COUNTERS set VAL = -1 where ID = 23"));
    dm->ExecSQL(QStringLiteral("alter sequence COUNTER_23 restart with -1"));
    reconnect();
    EXPECT_EQ(dm->NewCounterValue(data::CounterNom), 1);
    EXPECT_TRUE(fixedGoodsRowKept());

    // Units keep their built-in rows 1 to 7 and categories their row 0 after
    // a reset: neither ever hands out a key already taken.
    dm->AdjustCounters(data::CounterAdjustment::Reset);
    EXPECT_EQ(dm->NewCounterValue(data::CounterMerki), 8);
    EXPECT_EQ(dm->NewCounterValue(data::CounterCategory), 1);
    EXPECT_EQ(dm->NewCounterValue(data::CounterKontr), 2);

    // Counterparty 1 is the own company even when its row has gone missing.
    dm->ExecSQL(QStringLiteral("delete from KONTR"));
    dm->AdjustCounters(data::CounterAdjustment::Reset);
    EXPECT_EQ(dm->NewCounterValue(data::CounterKontr), 2);
}

TEST_F(Counters, ReceiptLinesAreNeverResynchronised)
{
    dm->ExecSQL(QStringLiteral("update COUNTERS set VAL = 77 where ID = 33"));
    dm->AdjustCounters(data::CounterAdjustment::Reset);
    EXPECT_EQ(counter(data::CounterBelejkaDetails), 77);
}

TEST_F(Counters, ACounterWithoutARowIsLeftWithoutOne)
{
    dm->ExecSQL(QStringLiteral("delete from COUNTERS where ID = 29"));
    dm->ExecSQL(QStringLiteral("insert into BANK_ACCOUNTS (ID, CLIENT_ID) values (40, 1)"));
    dm->AdjustCounters(data::CounterAdjustment::Reset);
    EXPECT_FALSE(dm->HasRows(QStringLiteral("select 1 from COUNTERS where ID = 29")));
}

} // namespace
