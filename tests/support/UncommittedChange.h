#pragma once

#include "db/Attachment.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "support/NetworkServer.h"

namespace testing_support {

// Another workstation in the middle of a write: its own attachment with a
// change made and not yet committed, so the rows it touched stay locked
// until it is destroyed (rolled back) or committed.
class UncommittedChange
{
public:
    UncommittedChange(const QString &database, const QString &sql)
    {
        m_attachment.attach(database, ServedDatabase::user(), ServedDatabase::password());
        db::Statement statement(m_attachment, m_transaction);
        statement.prepare(sql);
        statement.execute();
    }
    void commit() { m_transaction.commit(); }

private:
    db::Attachment m_attachment;
    db::Transaction m_transaction{m_attachment};
};

} // namespace testing_support
