#pragma once

#include "data/SqlSession.h"

#include <memory>

namespace db {
class Attachment;
class StatementCache;
class Transaction;
} // namespace db

namespace reportdata {

// The report module's own connection to the program's database. Reports
// only read; each one runs in a transaction that ends with it (`finish`), so
// the next report sees what was committed meanwhile and no transaction stays
// open while the reports window waits.
class ReportSession : public data::SqlSession
{
public:
    ReportSession();
    ~ReportSession() override;

    ReportSession(const ReportSession &) = delete;
    ReportSession &operator=(const ReportSession &) = delete;

    void open(const QString &database, const QString &user, const QString &password);
    void close();
    bool isOpen() const;
    void finish();

    qint64 ExecSQL(const QString &sql, const data::SqlParams &params = {}) override;
    QVariant QueryValue(const QString &sql, const QString &field = QString(),
                        const data::SqlParams &params = {}) override;
    bool HasRows(const QString &sql, const data::SqlParams &params = {}) override;
    std::vector<QVariantList> QueryRows(const QString &sql, const data::SqlParams &params = {}) override;
    bool RunScriptStatement(const QString &sql) override;
    void CommitRetaining() override;

private:
    db::StatementCache &statements();

    std::unique_ptr<db::Attachment> m_attachment;
    std::unique_ptr<db::Transaction> m_transaction;
    std::unique_ptr<db::StatementCache> m_statements;
};

// The database name and the connection's parameter lines ("user_name=…",
// "password=…", "lc_ctype=…", separated by CR LF) as the program hands them
// over; names are matched without regard to case.
struct ConnectionData
{
    QString database;
    QString user;
    QString password;
};
ConnectionData parseConnectionData(const QString &database, const QString &parameterLines);

} // namespace reportdata
