#pragma once

namespace admin {

struct Invocation;

// "sales-ledger": the month's sales ledger as the reports' CSV file.
void runSalesLedgerCommand(Invocation &invocation);

} // namespace admin
