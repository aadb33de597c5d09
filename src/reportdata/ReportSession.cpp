#include "reportdata/ReportSession.h"

#include "db/Attachment.h"
#include "db/Script.h"
#include "db/Statement.h"
#include "db/StatementCache.h"
#include "db/Transaction.h"
#include "util/Error.h"

#include <QStringList>

namespace reportdata {

ReportSession::ReportSession()
    : m_attachment(std::make_unique<db::Attachment>())
    , m_transaction(std::make_unique<db::Transaction>(*m_attachment))
    , m_statements(std::make_unique<db::StatementCache>(*m_attachment, *m_transaction))
{
}

ReportSession::~ReportSession()
{
    try {
        close();
    } catch (...) {
        m_transaction->abandon();
        m_attachment->abandon();
    }
}

void ReportSession::open(const QString &database, const QString &user, const QString &password)
{
    close();
    m_attachment->attach(database, user, password);
}

void ReportSession::close()
{
    m_statements->clear();
    if (m_transaction->isActive())
        m_transaction->rollback();
    if (m_attachment->isAttached())
        m_attachment->detach();
}

bool ReportSession::isOpen() const
{
    return m_attachment->isAttached();
}

void ReportSession::finish()
{
    if (m_transaction->isActive())
        m_transaction->commit();
}

db::StatementCache &ReportSession::statements()
{
    if (!m_attachment->isAttached())
        throw varnex::Error(QStringLiteral("Няма връзка с базата данни."));
    if (!m_transaction->isActive())
        m_transaction->start();
    return *m_statements;
}

qint64 ReportSession::ExecSQL(const QString &sql, const data::SqlParams &params)
{
    return statements().run(sql, params, [](db::Statement &statement) { return statement.rowsAffected(); });
}

QVariant ReportSession::QueryValue(const QString &sql, const QString &field, const data::SqlParams &params)
{
    return statements().run(sql, params, [&field](db::Statement &statement) {
        if (!statement.fetch())
            return QVariant();
        return field.isEmpty() ? statement.value(0) : statement.value(field);
    });
}

bool ReportSession::HasRows(const QString &sql, const data::SqlParams &params)
{
    return statements().run(sql, params, [](db::Statement &statement) { return statement.fetch(); });
}

std::vector<QVariantList> ReportSession::QueryRows(const QString &sql, const data::SqlParams &params)
{
    return statements().run(sql, params, [](db::Statement &statement) {
        std::vector<QVariantList> rows;
        while (statement.fetch()) {
            QVariantList row;
            row.reserve(statement.columnCount());
            for (int column = 0; column < statement.columnCount(); ++column)
                row << statement.value(column);
            rows.push_back(std::move(row));
        }
        return rows;
    });
}

bool ReportSession::RunScriptStatement(const QString &sql)
{
    statements().clear();
    try {
        db::Script(*m_attachment, *m_transaction).execute(sql);
        m_transaction->commitRetaining();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void ReportSession::CommitRetaining()
{
    if (m_transaction->isActive())
        m_transaction->commitRetaining();
}

ConnectionData parseConnectionData(const QString &database, const QString &parameterLines)
{
    ConnectionData data;
    data.database = database;
    for (const QString &line : parameterLines.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1);
        if (name == QLatin1String("user_name"))
            data.user = value;
        else if (name == QLatin1String("password"))
            data.password = value;
    }
    return data;
}

} // namespace reportdata
