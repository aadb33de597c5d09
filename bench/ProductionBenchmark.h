#pragma once

#include "QueryBenchmark.h"

class Tdm;

namespace bench {

// Times a production document of 200 lines as its editor opens it: the
// header, both line areas with their goods lists, the stock on hand of
// every material line and the document's value; beside the same
// statements prepared once. The document is written for the run and
// destroyed afterwards. False when the ratio exceeds the limit.
bool runProductionBenchmark(Tdm &dm, QTextStream &out, const BenchmarkOptions &options);

} // namespace bench
