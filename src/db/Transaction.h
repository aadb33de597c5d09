#pragma once

#include "db/Handle.h"

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
    Handle *handle() { return &m_handle; }
    Attachment &attachment() { return m_attachment; }

private:
    Attachment &m_attachment;
    Handle m_handle = 0;
};

} // namespace db
