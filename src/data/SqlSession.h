#pragma once

#include <QString>
#include <QVariant>
#include <QVariantHash>
#include <QVariantList>

#include <vector>

namespace data {

// Named parameter values of one statement (":NAME" → value).
using SqlParams = QVariantHash;

// What the shared data services need of the application's data module: its
// statement operations in the main transaction.
class SqlSession
{
public:
    virtual ~SqlSession() = default;

    // Rows inserted, updated or deleted (−1 when the server does not say).
    virtual qint64 ExecSQL(const QString &sql, const SqlParams &params = {}) = 0;
    // The named (or first) column of the first row; null when no row.
    virtual QVariant QueryValue(const QString &sql, const QString &field = QString(),
                                const SqlParams &params = {}) = 0;
    virtual bool HasRows(const QString &sql, const SqlParams &params = {}) = 0;
    // Every row of a query, each as its column values in order.
    virtual std::vector<QVariantList> QueryRows(const QString &sql, const SqlParams &params = {}) = 0;
    // Runs one script statement; false, without a message, when it fails.
    virtual bool RunScriptStatement(const QString &sql) = 0;
    virtual void CommitRetaining() = 0;
};

} // namespace data
