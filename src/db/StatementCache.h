#pragma once

#include "db/Statement.h"

#include <QString>
#include <QVariantHash>

#include <memory>
#include <type_traits>
#include <unordered_map>

namespace db {

class Attachment;
class Transaction;

// Statements of one connection and transaction, prepared once and found by
// their text: preparing costs the server more than running most look-ups.
// A statement that failed in any way is dropped, so the next use prepares
// it anew. The owner clears the cache before the connection goes and after
// the schema changes (the server refuses statements prepared before).
class StatementCache
{
public:
    StatementCache(Attachment &attachment, Transaction &transaction);
    ~StatementCache();

    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // Executes the statement with the values (names it does not use are
    // ignored, names it uses and not given are null) and hands it to `use`,
    // then closes its cursor. Returns what `use` returns.
    template<typename Use>
    auto run(const QString &sql, const QVariantHash &params, Use &&use)
    {
        Statement &statement = executed(sql, params);
        try {
            if constexpr (std::is_void_v<decltype(use(statement))>) {
                use(statement);
                statement.close();
            } else {
                auto result = use(statement);
                statement.close();
                return result;
            }
        } catch (...) {
            forget(sql);
            throw;
        }
    }

    void clear();
    size_t size() const { return m_statements.size(); }

    // Whether a statement may be kept: queries, changes of rows and
    // procedure calls, not statements that change the schema.
    static bool keeps(const QString &sql);

private:
    Statement &executed(const QString &sql, const QVariantHash &params);
    void forget(const QString &sql);

    Attachment &m_attachment;
    Transaction &m_transaction;
    std::unordered_map<QString, std::unique_ptr<Statement>> m_statements;
};

} // namespace db
