#pragma once

#include <QString>
#include <QStringList>

namespace db {

class Attachment;
class Transaction;

// Runs SQL scripts the way isql reads them: statements end with ";" (or the
// terminator set by "SET TERM"), "SET SQL DIALECT" and "SET NAMES" are
// handled here rather than sent, "COMMIT" commits the transaction, and
// comments are dropped.
class Script
{
public:
    Script(Attachment &attachment, Transaction &transaction);

    void execute(const QString &script);

    // The statements of a script with their terminators removed; client-side
    // commands are kept for execute() to recognise.
    static QStringList split(const QString &script);

private:
    void executeOne(const QString &statement);

    Attachment &m_attachment;
    Transaction &m_transaction;
};

} // namespace db
