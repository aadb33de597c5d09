#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class QTextStream;
class Tdm;

namespace bench {

// A document a workstation was told it stored, as it stood then.
struct StoredDocument
{
    int id = 0;
    double sum = 0;
    int lines = 0;
};

// What one workstation wrote of its run, a line per event as it happened,
// so a workstation that is killed leaves what it had done until then.
struct WorkstationLog
{
    std::map<QString, std::vector<double>> times; // by action, in ms
    std::map<QString, int> conflicts;             // by "action: how it ended"
    std::vector<std::pair<int, int>> keys;        // counter, value
    std::vector<StoredDocument> stored;
    QStringList failures;

    // Adds one line as the workstation writes it; false for a line that
    // is none of these.
    bool read(const QString &line);
    static QString timeLine(const QString &action, double ms);
    static QString conflictLine(const QString &action, const QString &outcome);
    static QString keyLine(int counter, int value);
    static QString storedLine(const StoredDocument &document);
    static QString failureLine(const QString &message);
};

// What the database holds after a run: faults (anything lost, half stored
// or doubled).
struct Verdict
{
    QStringList faults;
    QStringList lines; // every check with its count, for the output
};

Verdict checkDatabase(Tdm &dm, const std::vector<WorkstationLog> &logs);

} // namespace bench
