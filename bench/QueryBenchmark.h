#pragma once

#include <QTextStream>

class Tdm;

namespace bench {

// Times each hot query as the program issues it (a statement prepared for
// every call through the data module) beside the same statement prepared
// once and executed directly (the floor), and prints the plans.
void runQueryBenchmark(Tdm &dm, QTextStream &out);

} // namespace bench
