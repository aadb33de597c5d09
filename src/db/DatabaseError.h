#pragma once

#include "util/Error.h"

namespace db {

// An error reported by the Firebird client or server. The message is the
// server's own text; the detail names the statement that failed.
class DatabaseError : public varnex::Error
{
public:
    DatabaseError(const QString &message, const QString &statement, long gdsCode);

    // The server's error code (isc_lock_conflict and the like).
    long gdsCode() const { return m_gdsCode; }

private:
    long m_gdsCode;
};

} // namespace db
