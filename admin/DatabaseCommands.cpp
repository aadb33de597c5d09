#include "DatabaseCommands.h"

#include "AdminCommand.h"
#include "core/DatabaseInstaller.h"
#include "data/StockReport.h"
#include "util/Error.h"

#include <QDate>
#include <QTextStream>

namespace admin {

namespace {

const QStringList kCommands{QStringLiteral("create-db"), QStringLiteral("upgrade"), QStringLiteral("adjust-counters"),
                            QStringLiteral("empty-db"), QStringLiteral("stock"), QStringLiteral("config")};

const char *const kConfigKeyExists = "select 1 from APP_CONFIG_KEYS where NAME = :NAME";

void createDatabase(const QString &path, QStringList &words, const Invocation &invocation)
{
    const int version = integerWord(takeOption(words, QStringLiteral("--schema-version"),
                                               QString::number(data::kTargetSchemaVersion)),
                                    "Версията");
    if (version < data::kFirstSchemaVersion || version > data::kTargetSchemaVersion)
        throw UsageError{QStringLiteral("Версията трябва да е между %1 и %2.")
                             .arg(data::kFirstSchemaVersion)
                             .arg(data::kTargetSchemaVersion)};
    expectNoMoreWords(words);
    installDatabase(path, invocation.user, invocation.password, version);
}

void printStock(Session &session, QStringList &words, QTextStream &out)
{
    const bool all = takeFlag(words, QStringLiteral("--all"));
    const QString dateText = takeOption(words, QStringLiteral("--date"), QDate::currentDate().toString(Qt::ISODate));
    const QDate date = QDate::fromString(dateText, Qt::ISODate);
    if (!date.isValid())
        throw UsageError{QStringLiteral("Датата трябва да е във вида ГГГГ-ММ-ДД: %1").arg(dateText)};
    expectNoMoreWords(words);
    out << "code,name,unit,on_hand\n";
    for (const data::StockReportLine &line : data::stockReport(session.dm(), all, date)) {
        out << QStringLiteral("%1").arg(line.code, 6, 10, QLatin1Char('0')) << ',' << csvField(line.name) << ','
            << csvField(line.unitSign) << ',' << QString::number(line.onHand, 'g', 15) << '\n';
    }
}

// Reads or writes a value of the database's configuration by its key name.
void databaseConfig(Session &session, QStringList &words, QTextStream &out)
{
    const QString name = takeWord(words, "име на ключ");
    const bool writing = !words.isEmpty();
    const QString value = writing ? words.takeFirst() : QString();
    expectNoMoreWords(words);
    if (!session.dm().HasRows(QString::fromLatin1(kConfigKeyExists), {{QStringLiteral("NAME"), name}}))
        throw varnex::Error(QStringLiteral("Няма ключ %1 в настройките на базата.").arg(name));
    if (writing)
        session.dm().SetConfigByName(name, value);
    else
        out << session.dm().GetConfigByName(name) << '\n';
}

} // namespace

Session::Session(const QString &database, const Invocation &invocation)
    : m_dm(m_messages)
{
    m_dm.setDatabase(database);
    m_dm.user = invocation.user;
    m_dm.password = invocation.password;
    m_dm.ApplyConnectionConfig();
    if (!m_dm.Connect())
        throw varnex::Error(m_messages.line);
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

bool isDatabaseCommand(const QString &command)
{
    return kCommands.contains(command);
}

void runDatabaseCommand(const QString &command, Invocation &invocation)
{
    QStringList &words = invocation.words;
    takeCredentials(invocation);
    const QString database = takeWord(words, "база данни");
    if (command == QLatin1String("create-db")) {
        createDatabase(database, words, invocation);
        return;
    }
    const bool confirmed = takeFlag(words, QStringLiteral("--yes"));
    if (command == QLatin1String("empty-db") && !confirmed)
        throw UsageError{QStringLiteral("Изтриването на всички данни иска --yes.")};
    if (command != QLatin1String("stock") && command != QLatin1String("config"))
        expectNoMoreWords(words);

    Session session(database, invocation);
    if (command == QLatin1String("upgrade")) {
        Tdm::CheckSchemaResult(session.dm().PrepareSchema());
        invocation.out << session.dm().SchemaVersion() << '\n';
    } else if (command == QLatin1String("adjust-counters")) {
        session.dm().AdjustCounters(data::CounterAdjustment::Reset);
    } else if (command == QLatin1String("empty-db")) {
        session.dm().EmptyDatabase();
    } else if (command == QLatin1String("config")) {
        databaseConfig(session, words, invocation.out);
    } else {
        printStock(session, words, invocation.out);
    }
}

} // namespace admin
