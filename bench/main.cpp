// main.cpp - the main of orvel_bench, the one program all bench_*.cpp
// files are linked into. Each file's benchmarks are run as a group by a
// name filter (bench_programs.txt beside the program lists the groups),
// one group a process: a group may keep a frame or a company open from
// one benchmark to the next, and its frame goes down here at the end.
#include <cstring>

#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"

// bench_engine.cpp: one side of a reading workload, which the engine's
// benchmarks start in a fresh process of this program with --child.
int BenchEngineChild(int argc, char **argv);

int main(int argc, char **argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--child") == 0) return BenchEngineChild(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (BenchFrameIsUp) BenchFrameDown();
    benchmark::Shutdown();
    return 0;
}
