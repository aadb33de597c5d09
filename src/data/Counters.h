#pragma once

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
// then commits retaining.
void adjustCounters(SqlSession &session, CounterAdjustment adjustment);

// Runs `draw`, one attempt at a new counter value in a transaction of its
// own, again after a short pause while another workstation holds the
// counter for an instant; when it stays held, the user is told in words of
// the program, with the server's text for the log.
int drawCounterValue(const std::function<int()> &draw);

} // namespace data
