#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace data {

class SqlSession;

// Numbers of the counters that hand out record keys.
enum Counter {
    CounterCities = 9,
    CounterKontr = 21,
    CounterMerki = 22,
    CounterNom = 23,
    CounterTranz = 24,
    CounterTranzRed = 25,
    CounterInvoices = 27,
    CounterInvoiceDetails = 28,
    CounterBankAccounts = 29,
    CounterContactInfo = 30,
    CounterCategory = 31,
    CounterBelejkaDetails = 33,
    CounterMruItems = 35,
};

// Not a counter: the row a save storing a proposed document number locks
// from its check that the number is free until the header is committed, so
// two workstations saving at the same instant cannot both store it.
const int kDocumentNumbersRow = 40;

// Every counter draws from a sequence of its own (generators stand outside
// transactions, so no workstation ever waits for another's draw). Its
// COUNTERS row stays the floor: a draw is always above it, so an older copy
// of the program or a tool raising the row raises the keys, and the row is
// set to each key drawn unless another draw writes it at that instant.
QStringList counterSequences();
// The counter procedure drawing from the sequences, as a script statement;
// a counter without a sequence is still drawn from its row.
QString counterProcedure();

enum class CounterAdjustment {
    // At connection: raise counters that fell behind their tables, never
    // lower one, since another workstation may hold a value above the
    // table's highest key for a record it has not stored yet.
    RaiseOnly,
    // On request and after clearing: every counter to its table's highest key.
    Reset,
};

// Puts every resynchronised counter at the highest key of its table, but
// never below the keys reserved for fixed rows (0, and 1 for counterparties),
// then commits retaining. A reset puts the sequences there too; raising is
// done on the rows alone, which the sequences never fall below.
void adjustCounters(SqlSession &session, CounterAdjustment adjustment);

// Runs `draw`, one attempt at a new counter value in a transaction of its
// own, again after a short pause while another workstation holds the
// counter for an instant; when it stays held, the user is told in words of
// the program, with the server's text for the log.
int drawCounterValue(const std::function<int()> &draw);
// The same for the document numbers' row, which a save holds over a write
// and a commit: tried every few milliseconds for several seconds.
int claimDocumentNumbers(const std::function<int()> &claim);

} // namespace data
