#pragma once

#include <QString>

class QTextStream;
class Tdm;

namespace bench {

struct WorkstationsOptions
{
    int count = 1;
    int seconds = 60;
};

// Starts `count` workstations (this program again, each with its own
// attachment), lets them store deliveries and sales line by line, settle
// payments and read the journal for the given time, prints what each
// action took and the lock conflicts met, then checks the database. False
// when anything was lost, half stored or doubled, or a workstation failed.
bool runWorkstations(const QString &program, const QString &database, const WorkstationsOptions &options,
                     QTextStream &out);

// One workstation: connects, says "ready" on its standard output, starts
// when a line arrives on its standard input and works for `seconds`,
// writing every event to `logFile`. The status is 0, or 4 when it ended on
// an error (told on standard error).
int runWorkstation(const QString &database, int seconds, const QString &logFile);

} // namespace bench
