#include "data/Counters.h"

#include "data/SqlSession.h"
#include "db/DatabaseError.h"

#include <ibase.h>

#include <QStringList>

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

// Counters already in place are not written again, and all of them are
// realigned by one statement: at every start, each statement is a server
// round trip on a network.
QString adjustStatement(CounterAdjustment adjustment)
{
    QStringList highest;
    for (const CounterTable &table : kCounterTables)
        highest << QStringLiteral("select %1 as ID, maxvalue(coalesce((%2), %3), %3) as VAL from RDB$DATABASE")
                       .arg(int(table.counter))
                       .arg(QString::fromLatin1(table.highestKey))
                       .arg(table.reserved);
    return QStringLiteral("merge into COUNTERS C using (%1) H on C.ID = H.ID "
                          "when matched and C.VAL %2 H.VAL then update set VAL = H.VAL")
        .arg(highest.join(QLatin1String(" union all ")),
             adjustment == CounterAdjustment::Reset ? QStringLiteral("<>") : QStringLiteral("<"));
}

// Another workstation's draw holds the counter's row until it commits, a
// matter of milliseconds; the pauses double from the first.
const int kDrawAttempts = 6;
const std::chrono::milliseconds kFirstPause(10);

bool heldElsewhere(const db::DatabaseError &error)
{
    return error.hasCode(isc_lock_conflict) || error.hasCode(isc_deadlock) || error.hasCode(isc_update_conflict)
           || error.hasCode(isc_concurrent_transaction);
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
                throw varnex::Error(QStringLiteral("Друга работна станция взема в момента нов номер. "
                                                   "Опитайте отново след малко."),
                                    error.serverText());
        }
        std::this_thread::sleep_for(pause);
        pause *= 2;
    }
}

void adjustCounters(SqlSession &session, CounterAdjustment adjustment)
{
    static const QString reset = adjustStatement(CounterAdjustment::Reset);
    static const QString raise = adjustStatement(CounterAdjustment::RaiseOnly);
    // The session commits what it executes.
    session.ExecSQL(adjustment == CounterAdjustment::Reset ? reset : raise);
}

} // namespace data
