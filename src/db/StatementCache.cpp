#include "db/StatementCache.h"

#include <QRegularExpression>

namespace db {

namespace {

// Texts that are built with values in them would grow the cache without
// end; past this many statements it starts afresh.
const size_t kMostStatements = 256;

} // namespace

StatementCache::StatementCache(Attachment &attachment, Transaction &transaction)
    : m_attachment(attachment)
    , m_transaction(transaction)
{
}

StatementCache::~StatementCache() = default;

void StatementCache::clear()
{
    m_statements.clear();
}

bool StatementCache::keeps(const QString &sql)
{
    static const QRegularExpression kept(
        QStringLiteral("^\\s*(select|insert|update|delete|merge|execute\\s+procedure|with)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return kept.match(sql).hasMatch();
}

Statement &StatementCache::executed(const QString &sql, const QVariantHash &params)
{
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        auto statement = std::make_unique<Statement>(m_attachment, m_transaction);
        statement->prepare(sql);
        if (m_statements.size() >= kMostStatements)
            m_statements.clear();
        found = m_statements.emplace(sql, std::move(statement)).first;
    }
    Statement &statement = *found->second;
    try {
        for (const QString &name : statement.parameterNames())
            statement.setParameter(name, QVariant());
        for (auto it = params.cbegin(); it != params.cend(); ++it) {
            if (statement.hasParameter(it.key()))
                statement.setParameter(it.key(), it.value());
        }
        statement.execute();
    } catch (...) {
        forget(sql);
        throw;
    }
    return statement;
}

void StatementCache::forget(const QString &sql)
{
    m_statements.erase(sql);
}

} // namespace db
