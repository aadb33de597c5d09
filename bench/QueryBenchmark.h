#pragma once

#include <QTextStream>

class Tdm;

namespace bench {

struct BenchmarkOptions
{
    // Rounds of every figure; issued and floor take turns at going first.
    int rounds = 5;
    // A ratio of issued to floor above it fails the run; 0: no limit.
    double maxRatio = 0;
};

// Times each hot path as the program runs it beside the least work that
// gives the same answer (the floor: each statement prepared once and run
// directly, with the same decoding, fall-backs and commits), and prints
// one line per path with the ratio, then the plans. False when a ratio
// exceeds the limit.
bool runQueryBenchmark(Tdm &dm, QTextStream &out, const BenchmarkOptions &options);

} // namespace bench
