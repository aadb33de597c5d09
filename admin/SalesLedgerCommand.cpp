#include "SalesLedgerCommand.h"

#include "AdminCommand.h"
#include "DatabaseCommands.h"
#include "reportdata/Reports.h"

#include <QRegularExpression>
#include <QTextStream>

namespace admin {

namespace {

QDate monthWord(const QString &word)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}$"));
    const QDate first = QDate::fromString(word + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
    if (!shape.match(word).hasMatch() || !first.isValid())
        throw UsageError{QStringLiteral("Месецът трябва да е във вида ГГГГ-ММ: %1").arg(word)};
    return first;
}

} // namespace

void runSalesLedgerCommand(Invocation &invocation)
{
    QStringList &words = invocation.words;
    takeCredentials(invocation);
    const QString month = takeOption(words, QStringLiteral("--month"));
    const QString csv = takeOption(words, QStringLiteral("--csv"));
    const QString database = takeWord(words, "база данни");
    expectNoMoreWords(words);
    requireOption(month, "--month ГГГГ-ММ");
    requireOption(csv, "--csv ФАЙЛ");
    reportdata::ReportParameters parameters;
    parameters.month = monthWord(month);

    Session session(database, invocation);
    // The very file the report preview exports, so the accountant gets the
    // same columns whichever way it was made.
    reportdata::writeCsv(reportdata::runReport(session.dm(), reportdata::ReportKind::SalesLedger, parameters), csv);
    invocation.out << csv << '\n';
}

} // namespace admin
