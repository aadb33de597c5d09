#include "db/Transaction.h"

#include "db/Attachment.h"
#include "db/FbClient.h"

namespace db {

Transaction::Transaction(Attachment &attachment)
    : m_attachment(attachment)
{
}

Transaction::~Transaction()
{
    if (!isActive())
        return;
    Status status;
    isc_rollback_transaction(&status, &m_handle);
}

void Transaction::start()
{
    if (isActive())
        return;
    static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                               isc_tpb_rec_version, isc_tpb_nowait};
    Status status;
    isc_start_transaction(&status, &m_handle, 1, m_attachment.handle(), short(sizeof tpb), tpb);
    if (status.failed())
        m_handle = 0;
    status.check();
}

int Transaction::watchEnd(std::function<void(bool lost)> beforeEnd)
{
    m_endWatchers.emplace(++m_lastWatch, std::move(beforeEnd));
    return m_lastWatch;
}

void Transaction::unwatchEnd(int watch)
{
    m_endWatchers.erase(watch);
}

void Transaction::announceEnd(bool lost)
{
    // A watcher usually stops watching when told, so the list may change.
    const auto watchers = m_endWatchers;
    for (const auto &[watch, beforeEnd] : watchers) {
        if (m_endWatchers.count(watch))
            beforeEnd(lost);
    }
}

void Transaction::commit()
{
    if (!isActive())
        return;
    announceEnd(false);
    Status status;
    isc_commit_transaction(&status, &m_handle);
    status.check();
    m_handle = 0;
}

void Transaction::commitRetaining()
{
    if (!isActive())
        return;
    Status status;
    isc_commit_retaining(&status, &m_handle);
    status.check();
}

void Transaction::rollback()
{
    if (!isActive())
        return;
    announceEnd(false);
    Status status;
    isc_rollback_transaction(&status, &m_handle);
    m_handle = 0;
    status.check();
}

void Transaction::abandon()
{
    if (!isActive())
        return;
    announceEnd(true);
    Status status;
    isc_rollback_transaction(&status, &m_handle);
    m_handle = 0;
}

} // namespace db
