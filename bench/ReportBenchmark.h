#pragma once

#include "QueryBenchmark.h"

#include <QTextStream>

class Tdm;

namespace bench {

// Times every report as the module makes it (its table with totals, on the
// data module's connection) beside the engine's work for its statements
// alone (each prepared once, run and every row fetched and decoded), and
// prints the plans. False when a ratio exceeds the limit.
bool runReportBenchmark(Tdm &dm, QTextStream &out, const BenchmarkOptions &options);

} // namespace bench
