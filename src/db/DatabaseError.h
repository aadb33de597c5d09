#pragma once

#include "util/Error.h"

#include <vector>

namespace db {

// An error reported by the Firebird client or server. The message is the
// sentence the user reads (the server's own text when no sentence is known
// for the error); the detail is the server's text, shown under the message
// and logged with the statement that failed.
class DatabaseError : public varnex::Error
{
public:
    // `codes` are the error codes of the status vector, the primary first.
    DatabaseError(const QString &serverText, const QString &statement, std::vector<long> codes);

    // The server's primary error code (isc_lock_conflict and the like).
    long gdsCode() const { return m_codes.empty() ? 0 : m_codes.front(); }
    bool hasCode(long code) const;
    const std::vector<long> &codes() const { return m_codes; }
    const QString &serverText() const { return detail(); }
    const QString &statement() const { return m_statement; }
    // Whether the message is a sentence of ours rather than the server's text.
    bool isExplained() const { return message() != serverText(); }

private:
    QString m_statement;
    std::vector<long> m_codes;
};

} // namespace db
