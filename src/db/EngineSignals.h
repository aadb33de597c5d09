#pragma once

namespace db {

// The client library answers SIGINT and SIGTERM by closing every connection
// of the process, after which each statement fails with "invalid database
// handle". From this call on it leaves the connections alone and calls
// `onSignal` instead, so the program can end its session in order.
// `onSignal` must be safe to call from a signal handler or another thread.
void keepConnectionsOnSignals(void (*onSignal)());

} // namespace db
