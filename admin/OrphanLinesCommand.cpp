#include "OrphanLinesCommand.h"

#include "AdminCommand.h"
#include "DatabaseCommands.h"
#include "data/OrphanLines.h"
#include "data/OtherConnections.h"
#include "util/Error.h"

#include <QTextStream>

namespace admin {

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 15);
}

void printLines(const data::OrphanLines &found, QTextStream &out)
{
    out << "document,line,goods,name,direction,quantity,taken\n";
    for (const data::OrphanLine &line : found.lines()) {
        out << line.documentId << ',' << line.lineId << ',' << line.goodsId << ',' << csvField(line.goodsName) << ','
            << line.direction << ',' << number(line.quantity) << ',' << number(line.taken) << '\n';
    }
}

void removeLines(Session &session, const data::OrphanLines &found, bool confirmed, Invocation &invocation)
{
    QTextStream &out = invocation.out;
    if (found.isEmpty()) {
        out << "Няма редове на незаписани документи.\n";
        return;
    }
    // Only the administrator sees the connections of every database user; a
    // workstation set up with another user may be entering one of these
    // documents right now.
    if (session.dm().QueryValue(QStringLiteral("select CURRENT_USER from RDB$DATABASE")).toString().trimmed()
        != QLatin1String("SYSDBA"))
        throw varnex::Error(QStringLiteral("Редовете на незаписани документи се изтриват като SYSDBA: само той вижда "
                                           "връзките на всички потребители."));
    // Counted after they were found: documents begun since have other ids.
    data::requireSoleConnection(session.dm().database());
    if (!confirmed) {
        out << "Редове на незаписани документи: " << data::orphanLinesSummary(found)
            << ". Да бъдат ли изтрити? [да/не] ";
        out.flush();
        if (!answeredYes(invocation)) {
            out << "Нищо не е изтрито.\n";
            return;
        }
    }
    out << "Изтрити редове: " << data::removeOrphanLines(session.dm(), found) << ".\n";
}

} // namespace

void runOrphanLinesCommand(Invocation &invocation)
{
    QStringList &words = invocation.words;
    takeCredentials(invocation);
    const QString database = takeWord(words, "база данни");
    const bool remove = takeFlag(words, QStringLiteral("--delete"));
    const bool confirmed = takeFlag(words, QStringLiteral("--yes"));
    if (confirmed && !remove)
        throw UsageError{QStringLiteral("--yes се дава само с --delete.")};
    expectNoMoreWords(words);

    Session session(database, invocation);
    const data::OrphanLines found = data::findOrphanLines(session.dm());
    if (remove)
        removeLines(session, found, confirmed, invocation);
    else
        printLines(found, invocation.out);
}

} // namespace admin
