#include "db/Script.h"

#include "db/Attachment.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "util/Error.h"

#include <QRegularExpression>

namespace db {

namespace {

const QRegularExpression kSetTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)$"),
                                  QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kSetDialect(QStringLiteral("^SET\\s+SQL\\s+DIALECT\\s+(\\d+)$"),
                                     QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kSetNames(QStringLiteral("^SET\\s+NAMES\\s+\\S+$"),
                                   QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kCommit(QStringLiteral("^COMMIT(\\s+WORK)?$"), QRegularExpression::CaseInsensitiveOption);

} // namespace

Script::Script(Attachment &attachment, Transaction &transaction)
    : m_attachment(attachment)
    , m_transaction(transaction)
{
}

QStringList Script::split(const QString &script)
{
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    qsizetype i = 0;
    const auto finish = [&] {
        const QString statement = current.trimmed();
        current.clear();
        if (statement.isEmpty())
            return;
        const QRegularExpressionMatch term = kSetTerm.match(statement);
        if (term.hasMatch())
            terminator = term.captured(1);
        statements << statement;
    };
    while (i < script.size()) {
        const QChar c = script.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype end = script.indexOf(c, i + 1);
            end = end < 0 ? script.size() : end + 1;
            current += QStringView(script).mid(i, end - i);
            i = end;
        } else if (QStringView(script).mid(i).startsWith(QLatin1String("--"))) {
            qsizetype end = script.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? script.size() : end + 1;
            current += QLatin1Char('\n');
        } else if (QStringView(script).mid(i).startsWith(QLatin1String("/*"))) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? script.size() : end + 2;
            current += QLatin1Char(' ');
        } else if (QStringView(script).mid(i).startsWith(terminator)) {
            i += terminator.size();
            finish();
        } else {
            current += c;
            ++i;
        }
    }
    finish();
    return statements;
}

void Script::execute(const QString &script)
{
    for (const QString &statement : split(script))
        executeOne(statement);
}

void Script::executeOne(const QString &statement)
{
    if (kSetTerm.match(statement).hasMatch() || kSetNames.match(statement).hasMatch())
        return;
    const QRegularExpressionMatch dialect = kSetDialect.match(statement);
    if (dialect.hasMatch()) {
        if (dialect.captured(1) != QLatin1String("3"))
            throw varnex::Error(QStringLiteral("Поддържа се само SQL диалект 3."), statement);
        return;
    }
    if (kCommit.match(statement).hasMatch()) {
        m_transaction.commit();
        m_transaction.start();
        return;
    }
    Statement sql(m_attachment, m_transaction);
    sql.prepare(statement, Statement::Parameters::None);
    sql.execute();
}

} // namespace db
