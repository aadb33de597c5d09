#pragma once

#include "db/Handle.h"

#include <functional>
#include <map>

namespace db {

class Attachment;

// A transaction with read committed, record versions and no waiting on
// locks: a conflicting update fails at once instead of blocking. Rolled back
// if still active when destroyed.
class Transaction
{
public:
    explicit Transaction(Attachment &attachment);
    ~Transaction();

    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void start();
    void commit();
    // Makes the work durable and keeps the transaction context open.
    void commitRetaining();
    void rollback();
    // Lets go of a transaction whose connection is gone, without a word to
    // the server; never fails.
    void abandon();
    bool isActive() const { return m_handle != 0; }

    // Open cursors end with the transaction (a commit keeping its context
    // keeps them). Whoever reads one bit by bit is told first, so it can read
    // the rest while it still may; `lost` says the connection is gone and
    // nothing more can be read. Watchers must not throw.
    int watchEnd(std::function<void(bool lost)> beforeEnd);
    void unwatchEnd(int watch);
    Handle *handle() { return &m_handle; }
    Attachment &attachment() { return m_attachment; }

private:
    void announceEnd(bool lost);

    Attachment &m_attachment;
    Handle m_handle = 0;
    std::map<int, std::function<void(bool)>> m_endWatchers;
    int m_lastWatch = 0;
};

} // namespace db
