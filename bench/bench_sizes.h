// bench_sizes.h - how big a benchmark's company is. The figures are
// measured at the full sizes, which scripts/bench asks for by setting
// ORVEL_BENCH_FULL; everywhere else (the smoke runs of the test suite in
// any build type) a benchmark builds the small company that shows it still
// works, in seconds.
#pragma once

#include <cstdlib>

// True when ORVEL_BENCH_FULL is set to anything but "" or "0".
inline bool BenchFullSizes()
{
    const char *v = std::getenv("ORVEL_BENCH_FULL");
    return v && *v && !(v[0] == '0' && v[1] == 0);
}

// `full` when the full sizes are asked for, else `small`.
template <typename T> T BenchSize(T full, T small) { return BenchFullSizes() ? full : small; }
