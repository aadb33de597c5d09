#include "WorkstationsBenchmark.h"

#include "WorkstationChecks.h"

#include "core/MessageSink.h"
#include "core/Tdm.h"
#include "data/Counters.h"
#include "data/JournalQuery.h"
#include "db/DatabaseError.h"
#include "db/Dataset.h"
#include "db/ServerErrorText.h"
#include "documents/DeliveryDocument.h"
#include "documents/DocumentModel.h"
#include "documents/SaleDocument.h"
#include "payments/Settlement.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <string>

namespace bench {

namespace {

const int kFirstGoods = 9001;
const int kGoodsCount = 12;
const int kCounterparty = 9001;
// A user meets a lock conflict by clicking again after a moment; after
// this many clicks he would give the document up.
const int kAttempts = 5;

const char *const kGoodsUpsert =
    "update or insert into NOM (NOM_ID, NOM_CODE, NOM_NAME, NOM_MERKI_ID1, NOM_MERKI_ID2, NOM_INREPORT, NOM_AMBALAJ, "
    "NOM_CATEGORY_ID, SELL_PRICE) values (:ID, :ID, :NAME, 2, -1, 1, 0, 0, :PRICE) matching (NOM_ID)";
const char *const kCounterpartyUpsert =
    "update or insert into KONTR (KONTR_ID, KONTR_CODE, KONTR_NAME, KONTR_DN, KONTR_BULSTAT, KONTR_ADDRESS, "
    "KONTR_CITY, KONTR_MOL, KONTR_IS_CLIENT) values (:ID, :ID, :NAME, NULL, NULL, NULL, NULL, NULL, 2) "
    "matching (KONTR_ID)";

const QString kNewDocument = QStringLiteral("new document");
const QString kLine = QStringLiteral("store a line");
const QString kSave = QStringLiteral("save");
const QString kSettle = QStringLiteral("settle");
const QString kJournal = QStringLiteral("journal");

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

// The sentences the program words a lock conflict and a lost connection
// in (isc_lock_conflict, isc_network_error).
const QString &conflictSentence()
{
    static const QString sentence = db::serverErrorText({335544345L});
    return sentence;
}

bool lostConnection(const varnex::Error &error)
{
    static const QString sentence = db::serverErrorText({335544721L});
    return error.message() == sentence;
}

// Numbers in a message (how many were settled) would split one outcome
// into many.
QString outcomeOf(const QString &message)
{
    static const QRegularExpression digits(QStringLiteral("[0-9]+([.,][0-9]+)?"));
    return QString(message).replace(digits, QStringLiteral("#")).simplified();
}

struct GivenUp
{
};

class Workstation
{
public:
    Workstation(Tdm &dm, QFile &log)
        : m_dm(dm)
        , m_log(log)
        , m_random(QRandomGenerator::securelySeeded())
    {
    }

    void work(int seconds)
    {
        const QDeadlineTimer deadline(qint64(seconds) * 1000);
        for (int round = 0; !deadline.hasExpired(); ++round) {
            storeDocument(round % 2 == 1);
            if (round % 3 == 2)
                settle();
            if (round % 5 == 4)
                readJournal();
        }
    }

private:
    void write(const QString &line)
    {
        m_log.write((line + QLatin1Char('\n')).toUtf8());
        m_log.flush();
    }

    template<class Step>
    void timed(const QString &action, Step step)
    {
        m_action = action;
        QElapsedTimer timer;
        timer.start();
        step();
        write(WorkstationLog::timeLine(action, double(timer.nsecsElapsed()) / 1e6));
    }

    template<class Step>
    void persist(const QString &action, Step step)
    {
        for (int attempt = 1;; ++attempt) {
            try {
                step();
                if (attempt > 1)
                    write(WorkstationLog::conflictLine(action, QStringLiteral("done at attempt %1").arg(attempt)));
                return;
            } catch (const db::DatabaseError &error) {
                if (error.message() != conflictSentence())
                    throw;
                if (attempt == kAttempts) {
                    write(WorkstationLog::conflictLine(action, QStringLiteral("given up after %1 attempts").arg(attempt)));
                    throw GivenUp();
                }
                QThread::msleep(10 * unsigned(attempt) + m_random.bounded(10u));
            }
        }
    }

    void storeDocument(bool sale)
    {
        documents::DocumentModel document(m_dm, sale ? documents::saleKind() : documents::deliveryKind());
        try {
            fillDocument(document, sale);
        } catch (const GivenUp &) {
            abandon(document);
        } catch (const varnex::Error &error) {
            if (lostConnection(error))
                throw;
            // A line refused names the key it was stored under, to find
            // what it met.
            const QString line = m_action == kLine && document.area(0).isEditing()
                                     ? QStringLiteral(" (line %1)").arg(document.area(0).lines().value(field("TRANZ_RED_ID")).toString())
                                     : QString();
            write(WorkstationLog::failureLine(m_action + QStringLiteral(": ") + error.message() + line));
            abandon(document);
        }
    }

    void fillDocument(documents::DocumentModel &document, bool sale)
    {
        db::Dataset &header = document.header();
        timed(kNewDocument, [&] {
            persist(kNewDocument, [&] { document.createNew(); });
            // As the editor proposes it: a number taken meanwhile is replaced at saving.
            document.proposeNumber();
            header.setValue(field("TRANZ_KONT_ID"), kCounterparty);
        });
        write(WorkstationLog::keyLine(data::CounterTranz, document.documentId()));
        documents::LineArea &area = document.area(0);
        const int lineCount = 2 + int(m_random.bounded(4u));
        for (int line = 0; line < lineCount; ++line) {
            const int goods = kFirstGoods + int(m_random.bounded(unsigned(kGoodsCount)));
            const double quantity = sale ? 1 + m_random.bounded(3u) : 10 + m_random.bounded(20u);
            timed(kLine, [&] {
                persist(kLine, [&] {
                    if (!area.isEditing())
                        area.newLine();
                    db::Dataset &lines = area.lines();
                    lines.setValue(field("TRANZ_RED_NOM_ID"), goods);
                    const double price = document.lastPrice(goods);
                    lines.setValue(field("TRANZ_RED_CENA"), price > 0 ? price : 1.5 + goods % 7);
                    lines.setValue(field("TRANZ_RED_KOL1"), quantity);
                    lines.setValue(field("TRANZ_RED_IZNESENO"), quantity);
                    area.storeLine();
                });
            });
            write(WorkstationLog::keyLine(data::CounterTranzRed, area.lines().value(field("TRANZ_RED_ID")).toInt()));
        }
        // A delivery is paid at once, a sale half the time in part.
        const double total = document.total();
        header.setValue(field("TRANZ_PLATENO"), !sale ? total : m_random.bounded(2u) ? 0.0 : std::floor(total / 2));
        timed(kSave, [&] { persist(kSave, [&] { document.save(); }); });
        write(WorkstationLog::storedLine(
            {document.documentId(), header.value(field("TRANZ_SUM")).toDouble(), area.lines().recordCount()}));
    }

    void abandon(documents::DocumentModel &document)
    {
        try {
            document.abandon();
        } catch (const varnex::Error &error) {
            if (lostConnection(error))
                throw;
            write(WorkstationLog::failureLine(QStringLiteral("leaving a document: ") + error.message()));
        }
    }

    // Pays the oldest open sales of the buyer in part, as the settle
    // dialog does.
    void settle()
    {
        timed(kSettle, [&] {
            const std::vector<payments::MoneyRow> rows =
                payments::readMoneyRows(m_dm, documents::Sale, kCounterparty, QDate::currentDate());
            double open = 0;
            for (size_t row = 0; row < std::min<size_t>(rows.size(), 3); ++row)
                open += rows[row].sum - rows[row].paid;
            if (open < 1)
                return;
            try {
                payments::settleMoney(m_dm, rows, std::floor(open * 0.75));
            } catch (const varnex::Error &error) {
                if (lostConnection(error))
                    throw;
                write(WorkstationLog::conflictLine(kSettle, QStringLiteral("stopped: ") + outcomeOf(error.message())));
            }
        });
    }

    void readJournal()
    {
        timed(kJournal, [&] {
            const QDate today = QDate::currentDate();
            const QDate first(today.year(), today.month(), 1);
            m_dm.QueryRows(data::journalStatement(0, first, today), data::journalPeriodParams(first, today));
        });
    }

    Tdm &m_dm;
    QFile &m_log;
    QRandomGenerator m_random;
    QString m_action;
};

std::unique_ptr<Tdm> connect(const QString &database, LastMessage &messages)
{
    auto dm = std::make_unique<Tdm>(messages);
    dm->setDatabase(database);
    dm->ApplyConnectionConfig();
    if (!dm->Connect())
        throw varnex::Error(messages.line);
    return dm;
}

// The checks' own connection: a server killed under the load is given a
// minute to answer again.
std::unique_ptr<Tdm> connectAfterLoad(const QString &database, LastMessage &messages)
{
    const QDeadlineTimer patience(60000);
    for (;;) {
        try {
            return connect(database, messages);
        } catch (const varnex::Error &) {
            if (patience.hasExpired())
                throw;
            QThread::sleep(2);
        }
    }
}

// The goods and the counterparty every workstation trades in.
void prepare(Tdm &dm)
{
    for (int goods = kFirstGoods; goods < kFirstGoods + kGoodsCount; ++goods)
        dm.ExecSQL(field(kGoodsUpsert), {{field("ID"), goods},
                                         {field("NAME"), QStringLiteral("Стока %1").arg(goods)},
                                         {field("PRICE"), 2.0 + goods % 5}});
    dm.ExecSQL(field(kCounterpartyUpsert), {{field("ID"), kCounterparty}, {field("NAME"), QStringLiteral("Купувач")}});
}

double percentile(std::vector<double> times, double share)
{
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    const size_t rank = size_t(std::ceil(share * double(times.size())));
    return times[std::max<size_t>(rank, 1) - 1];
}

} // namespace

int runWorkstation(const QString &database, int seconds, const QString &logFile)
{
    QTextStream errors(stderr);
    QFile log(logFile);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        errors << logFile << ": " << log.errorString() << Qt::endl;
        return 4;
    }
    const auto note = [&log](const QString &line) {
        log.write((line + QLatin1Char('\n')).toUtf8());
        log.flush();
    };
    try {
        LastMessage messages;
        std::unique_ptr<Tdm> dm;
        // Workstations started at the same moment align the counters at
        // the same moment; the one that meets the other's lock starts again.
        for (int attempt = 1; !dm; ++attempt) {
            try {
                dm = connect(database, messages);
                if (attempt > 1)
                    note(WorkstationLog::conflictLine(QStringLiteral("connect"),
                                                      QStringLiteral("done at attempt %1").arg(attempt)));
            } catch (const varnex::Error &error) {
                if (!error.message().contains(conflictSentence()) || attempt == kAttempts)
                    throw;
                QThread::msleep(100 * unsigned(attempt));
            }
        }
        std::cout << "ready" << std::endl;
        std::string go;
        std::getline(std::cin, go);
        Workstation(*dm, log).work(seconds);
    } catch (const varnex::Error &error) {
        note(WorkstationLog::failureLine(error.message()));
        errors << error.message() << Qt::endl;
        return 4;
    }
    return 0;
}

bool runWorkstations(const QString &program, const QString &database, const WorkstationsOptions &options,
                     QTextStream &out)
{
    LastMessage messages;
    prepare(*connect(database, messages));
    QTemporaryDir logs;
    if (!logs.isValid())
        throw varnex::Error(logs.errorString());
    QStringList failures;
    std::vector<std::unique_ptr<QProcess>> stations;
    for (int station = 0; station < options.count; ++station) {
        stations.push_back(std::make_unique<QProcess>());
        stations.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        stations.back()->start(program, {QStringLiteral("workstation"), database, QStringLiteral("--seconds"),
                                         QString::number(options.seconds), QStringLiteral("--log"),
                                         logs.filePath(QString::number(station))});
    }
    for (const auto &station : stations) {
        while (!station->canReadLine() && station->waitForReadyRead(120000)) {
        }
        if (!station->canReadLine())
            failures << QStringLiteral("a workstation did not connect");
    }
    QElapsedTimer clock;
    clock.start();
    for (const auto &station : stations) {
        station->write("go\n");
        // Without an event loop the line leaves only while it is waited for.
        station->waitForBytesWritten(1000);
        station->closeWriteChannel();
    }
    const QDeadlineTimer hang(qint64(options.seconds + 120) * 1000);
    for (size_t station = 0; station < stations.size(); ++station) {
        QProcess &process = *stations[station];
        if (process.state() != QProcess::NotRunning
            && !process.waitForFinished(int(std::max<qint64>(hang.remainingTime(), 1)))) {
            failures << QStringLiteral("workstation %1 hung").arg(station + 1);
            process.kill();
            process.waitForFinished();
        } else if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            failures << QStringLiteral("workstation %1 ended with status %2").arg(station + 1).arg(process.exitCode());
        }
    }
    const double seconds = double(clock.elapsed()) / 1000;

    std::vector<WorkstationLog> stationLogs(stations.size());
    std::map<QString, std::vector<double>> times;
    std::map<QString, int> conflicts;
    size_t stored = 0;
    for (size_t station = 0; station < stations.size(); ++station) {
        QFile file(logs.filePath(QString::number(station)));
        if (file.open(QIODevice::ReadOnly)) {
            while (!file.atEnd()) {
                QString line = QString::fromUtf8(file.readLine());
                if (line.endsWith(QLatin1Char('\n')))
                    line.chop(1);
                stationLogs[station].read(line);
            }
        }
        const WorkstationLog &log = stationLogs[station];
        for (const auto &[action, list] : log.times)
            times[action].insert(times[action].end(), list.begin(), list.end());
        for (const auto &[outcome, count] : log.conflicts)
            conflicts[outcome] += count;
        for (const QString &failure : log.failures)
            failures << QStringLiteral("workstation %1: %2").arg(station + 1).arg(failure);
        stored += log.stored.size();
    }

    out << QStringLiteral("\n%1 workstations, %2 s: %3 documents stored, %4 per second\n")
               .arg(options.count).arg(seconds, 0, 'f', 1).arg(stored).arg(double(stored) / seconds, 0, 'f', 1);
    out << QStringLiteral("  %1 %2 %3 %4 %5\n").arg(QStringLiteral("action"), -14).arg(QStringLiteral("count"), 7)
               .arg(QStringLiteral("median ms"), 10).arg(QStringLiteral("p95 ms"), 8).arg(QStringLiteral("max ms"), 8);
    for (const QString &action : {kNewDocument, kLine, kSave, kSettle, kJournal}) {
        const std::vector<double> &list = times[action];
        out << QStringLiteral("  %1 %2 %3 %4 %5\n").arg(action, -14).arg(list.size(), 7)
                   .arg(percentile(list, 0.5), 10, 'f', 1).arg(percentile(list, 0.95), 8, 'f', 1)
                   .arg(percentile(list, 1), 8, 'f', 1);
    }
    int conflictCount = 0;
    for (const auto &[outcome, count] : conflicts)
        conflictCount += count;
    out << QStringLiteral("  lock conflicts met: %1\n").arg(conflictCount);
    for (const auto &[outcome, count] : conflicts)
        out << QStringLiteral("    %1 × %2\n").arg(count, 5).arg(outcome);

    const Verdict verdict = checkDatabase(*connectAfterLoad(database, messages), stationLogs);
    out << "  checks:\n";
    for (const QString &line : verdict.lines) {
        out << "    " << (verdict.faults.contains(line) ? "FAULT " : "") << line << '\n';
    }
    for (const QString &failure : failures)
        out << "    FAULT " << failure << '\n';
    const bool sound = verdict.faults.isEmpty() && failures.isEmpty();
    out << QStringLiteral("  row: | %1 | %2 | %3 | %4 | %5 | %6 | %7 |\n")
               .arg(options.count)
               .arg(double(stored) / seconds, 0, 'f', 1)
               .arg(percentile(times[kLine], 0.5), 0, 'f', 1)
               .arg(percentile(times[kLine], 0.95), 0, 'f', 1)
               .arg(percentile(times[kSave], 0.95), 0, 'f', 1)
               .arg(conflictCount)
               .arg(sound ? QStringLiteral("sound") : QStringLiteral("%1 faults").arg(verdict.faults.size() + failures.size()));
    out.flush();
    return sound;
}

} // namespace bench
