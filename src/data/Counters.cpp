#include "data/Counters.h"

#include "data/SqlSession.h"
#include "db/DatabaseError.h"

#include <ibase.h>

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <thread>

namespace data {

namespace {

struct CounterTable
{
    Counter counter;
    const char *highestKey;
    // Keys up to this are fixed rows or mean "none" (goods −1, category 0)
    // and are never handed out, even when the table holds none of them: the
    // start-up writes the own company into counterparty 1 by its key.
    int reserved = 0;
};

// In this order; counter 33 (receipt scratch lines) is not resynchronised.
const CounterTable kCounterTables[] = {
    {CounterBankAccounts, "SELECT max(ID) FROM BANK_ACCOUNTS"},
    {CounterCategory, "SELECT max(ID) FROM CATEGORY"},
    {CounterCities, "SELECT max(ID) FROM CITIES"},
    {CounterContactInfo, "SELECT max(ID) FROM CONTACTINFO"},
    {CounterInvoices, "SELECT max(ID) FROM INVOICES"},
    {CounterInvoiceDetails, "SELECT max(DETAIL_ID) FROM INVOICE_DETAILS"},
    {CounterKontr, "SELECT max(KONTR_ID) FROM KONTR", 1},
    {CounterMerki, "SELECT max(MERKI_ID) FROM MERKI"},
    {CounterMruItems, "SELECT max(ID) FROM MRU_ITEMS"},
    {CounterNom, "SELECT max(NOM_ID) FROM NOM"},
    {CounterTranz, "SELECT max(TRANZ_ID) FROM TRANZ"},
    {CounterTranzRed, "SELECT max(TRANZ_RED_ID) FROM TRANZ_RED"},
};

const Counter kCounters[] = {CounterCities, CounterKontr, CounterMerki, CounterNom, CounterTranz,
                             CounterTranzRed, CounterInvoices, CounterInvoiceDetails, CounterBankAccounts,
                             CounterContactInfo, CounterCategory, CounterBelejkaDetails, CounterMruItems};

QString sequenceOf(Counter counter)
{
    return QStringLiteral("COUNTER_%1").arg(int(counter));
}

// The sequence of counter ID advanced by `step`; NULL for a counter without one.
QString drawBy(const QString &step)
{
    QString draw = QStringLiteral("CASE :ID");
    for (const Counter counter : kCounters)
        draw += QStringLiteral(" WHEN %1 THEN GEN_ID(%2, %3)").arg(int(counter)).arg(sequenceOf(counter), step);
    return draw + QStringLiteral(" END");
}

// A draw below its row (raised by an older copy at its start, or by a tool)
// moves the sequence past the row. Writing the row back must not wait:
// another draw writing it at that instant leaves it a key behind, which the
// next draw puts right.
const char *const kCounterProcedure =
    "SET TERM ^ ;\n"
    "CREATE OR ALTER PROCEDURE GETCOUNTERVAL (ID INTEGER)\n"
    "RETURNS (RES INTEGER)\n"
    "AS\n"
    "DECLARE VARIABLE FLOOR_VAL INTEGER;\n"
    "BEGIN\n"
    "  SELECT VAL FROM COUNTERS WHERE ID = :ID INTO :FLOOR_VAL;\n"
    "  RES = %1;\n"
    "  IF (RES IS NULL) THEN\n"
    "  BEGIN\n"
    "    UPDATE COUNTERS SET VAL = VAL + 1 WHERE ID = :ID RETURNING VAL INTO :RES;\n"
    "    IF (ROW_COUNT = 0) THEN\n"
    "    BEGIN\n"
    "      RES = 1;\n"
    "      INSERT INTO COUNTERS (ID, VAL) VALUES (:ID, :RES);\n"
    "    END\n"
    "    EXIT;\n"
    "  END\n"
    "  IF (RES <= FLOOR_VAL) THEN\n"
    "    RES = %2;\n"
    "  BEGIN\n"
    "    UPDATE COUNTERS SET VAL = :RES WHERE ID = :ID AND VAL < :RES;\n"
    "    WHEN GDSCODE lock_conflict, GDSCODE update_conflict, GDSCODE deadlock DO\n"
    "      EXIT;\n"
    "  END\n"
    "END^\n"
    "SET TERM ; ^";

const char *const kSequencesExist = "select 1 from RDB$GENERATORS where RDB$GENERATOR_NAME = 'COUNTER_24'";

QString highestKey(const CounterTable &table)
{
    return QStringLiteral("maxvalue(coalesce((%1), %2), %2)").arg(QString::fromLatin1(table.highestKey)).arg(table.reserved);
}

// Each sequence to its table's highest key, whatever it was.
QString resetSequencesStatement()
{
    QStringList reset;
    for (const CounterTable &table : kCounterTables)
        reset << QStringLiteral("gen_id(%1, %2 - gen_id(%1, 0))").arg(sequenceOf(table.counter), highestKey(table));
    return QStringLiteral("select %1 from RDB$DATABASE").arg(reset.join(QLatin1String(", ")));
}

// Counters already in place are not written again, and all of them are
// realigned by one statement: at every start, each statement is a server
// round trip on a network.
QString adjustStatement(CounterAdjustment adjustment)
{
    QStringList highest;
    for (const CounterTable &table : kCounterTables)
        highest << QStringLiteral("select %1 as ID, %2 as VAL from RDB$DATABASE").arg(int(table.counter)).arg(highestKey(table));
    return QStringLiteral("merge into COUNTERS C using (%1) H on C.ID = H.ID "
                          "when matched and C.VAL %2 H.VAL then update set VAL = H.VAL")
        .arg(highest.join(QLatin1String(" union all ")),
             adjustment == CounterAdjustment::Reset ? QStringLiteral("<>") : QStringLiteral("<"));
}

// Another workstation's draw holds the counter's row until it commits, a
// matter of milliseconds; the pauses double from the first.
const int kDrawAttempts = 6;
// Saves of proposed numbers queue for one row, each for a write and a
// commit: they are tried often, for longer.
const std::chrono::milliseconds kClaimPatience(8000);
const std::chrono::milliseconds kLongestClaimPause(40);
const std::chrono::milliseconds kFirstPause(10);

bool heldElsewhere(const db::DatabaseError &error)
{
    return error.hasCode(isc_lock_conflict) || error.hasCode(isc_deadlock) || error.hasCode(isc_update_conflict)
           || error.hasCode(isc_concurrent_transaction);
}

} // namespace

QStringList counterSequences()
{
    QStringList sequences;
    for (const Counter counter : kCounters)
        sequences << sequenceOf(counter);
    return sequences;
}

QString counterProcedure()
{
    return QString::fromLatin1(kCounterProcedure)
        .arg(drawBy(QStringLiteral("1")), drawBy(QStringLiteral(":FLOOR_VAL + 1 - :RES")));
}

namespace {

varnex::Error heldTooLong(const db::DatabaseError &error)
{
    return varnex::Error(QStringLiteral("Друга работна станция взема в момента нов номер. Опитайте отново след малко."),
                         error.serverText());
}

} // namespace

int drawCounterValue(const std::function<int()> &draw)
{
    std::chrono::milliseconds pause = kFirstPause;
    for (int attempt = 1;; ++attempt) {
        try {
            return draw();
        } catch (const db::DatabaseError &error) {
            if (!heldElsewhere(error))
                throw;
            if (attempt == kDrawAttempts)
                throw heldTooLong(error);
        }
        std::this_thread::sleep_for(pause);
        pause *= 2;
    }
}

int claimDocumentNumbers(const std::function<int()> &claim)
{
    const auto deadline = std::chrono::steady_clock::now() + kClaimPatience;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        try {
            return claim();
        } catch (const db::DatabaseError &error) {
            if (!heldElsewhere(error))
                throw;
            if (std::chrono::steady_clock::now() + pause > deadline)
                throw heldTooLong(error);
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, kLongestClaimPause);
    }
}

void adjustCounters(SqlSession &session, CounterAdjustment adjustment)
{
    static const QString reset = adjustStatement(CounterAdjustment::Reset);
    static const QString raise = adjustStatement(CounterAdjustment::RaiseOnly);
    static const QString resetSequences = resetSequencesStatement();
    if (adjustment == CounterAdjustment::RaiseOnly) {
        // A row a key behind may be written by a draw at that instant.
        drawCounterValue([&session] { return int(session.ExecSQL(raise)); });
        return;
    }
    // Before the upgrade that brings them, a database has no sequences.
    if (session.HasRows(QString::fromLatin1(kSequencesExist)))
        session.QueryRows(resetSequences);
    // The session commits what it executes.
    session.ExecSQL(reset);
}

} // namespace data
