#pragma once

#include "db/Handle.h"
#include "db/PackedRows.h"

#include <QStringList>
#include <QVariant>

#include <memory>

namespace db {

class Attachment;
class Transaction;

// One prepared SQL statement. Parameters are named (":NAME", case-insensitive;
// one name may stand in several places) and typed by the QVariant given:
// integers, doubles, strings, QDate, QDateTime, QTime, or a null QVariant.
// Values come back the same way; a SQL NULL is a null QVariant.
class Statement
{
public:
    enum class Parameters { Named, None };

    Statement(Attachment &attachment, Transaction &transaction);
    ~Statement();

    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // With Parameters::None the text goes to the server as it is, so ":"
    // inside procedure bodies keeps its meaning.
    void prepare(const QString &sql, Parameters parameters = Parameters::Named);
    const QStringList &parameterNames() const;
    bool hasParameter(const QString &name) const;
    // Throws when the statement has no such parameter.
    void setParameter(const QString &name, const QVariant &value);

    // Runs the statement; a select then delivers its rows through fetch(),
    // an executed procedure its one output row.
    void execute();
    bool fetch();
    void close();

    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString &name) const; // -1 when absent
    QVariant value(int column) const;
    // The most characters a text column holds; 0 for other columns.
    int columnLength(int column) const;
    QVariant value(const QString &name) const;
    // The fetched row in the layout PackedRows keeps, decoding nothing but
    // text blobs, which are read now, while their transaction lasts.
    void packRow(std::vector<char> &row) const;
    std::vector<PackedColumn> packedColumns() const;

    // Rows inserted, updated or deleted by the last execute; -1 when unknown.
    qint64 rowsAffected();
    const QString &sql() const { return m_sql; }
    // The server's access plan of the prepared statement.
    QString plan();

private:
    struct Data;
    std::unique_ptr<Data> d;
    QString m_sql;
};

} // namespace db
