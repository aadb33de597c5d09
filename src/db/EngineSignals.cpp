#include "db/EngineSignals.h"

#include "db/FbClient.h"

namespace db {

namespace {

void (*g_onSignal)() = nullptr;

// Asked before the library shuts itself down; a non-zero answer to a
// shut-down caused by a signal cancels it.
int confirmShutdown(const int reason, const int /*mask*/, void * /*argument*/)
{
    if (reason != fb_shutrsn_signal)
        return 0;
    if (g_onSignal)
        g_onSignal();
    return 1;
}

} // namespace

void keepConnectionsOnSignals(void (*onSignal)())
{
    g_onSignal = onSignal;
    Status status;
    fb_shutdown_callback(&status, confirmShutdown, fb_shut_confirmation, nullptr);
    status.check();
}

} // namespace db
