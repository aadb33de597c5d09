#pragma once

// Internal to the Firebird layer: the client API and its status checking.

#include "db/DatabaseError.h"
#include "db/Handle.h"

#include <ibase.h>

#include <QString>

#include <type_traits>
#include <vector>

static_assert(std::is_same_v<FB_API_HANDLE, db::Handle>, "Firebird handles are 32-bit integers");

namespace db {

// Status vector of one call; throws DatabaseError with the server's text
// and codes when the call failed.
class Status
{
public:
    ISC_STATUS *operator&() { return m_vector; }
    bool failed() const { return m_vector[0] == 1 && m_vector[1] != 0; }
    long gdsCode() const { return failed() ? long(m_vector[1]) : 0; }
    // Every error code of the vector, the primary first.
    std::vector<long> codes() const;
    void check(const QString &statement = QString()) const;
    QString text() const;

private:
    ISC_STATUS m_vector[ISC_STATUS_LENGTH] = {};
};

} // namespace db
