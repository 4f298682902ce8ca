// Benchmark of the report formula language: a statement sheet of 1,000
// formula rows x 12 period columns, each cell a formula over balance
// functions (a stub that answers from its account text and period, as the
// ledger's would after its look-up), compiled and run by CompileScript per
// cell as the statement reports do. The same sheet without balance
// functions shows the compiler's own share, and the peer runs byte code
// compiled once per cell beforehand: the counter compile/run is the
// per-cell cost of CompileScript over the run alone, what a cache of
// compiled formulas would save. Full runs (ORVEL_BENCH_FULL, set by
// scripts/bench) use the full size; smoke runs a small sheet, so that the
// test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "output/formula/formula.h"
#include "output/formula/formula_internal.h"
#include "tools/dict.h"
#include "bench/bench_sizes.h"

namespace {

const int Rows = BenchSize<int>(1000, 20);
constexpr int Columns = 12;

// The stub balance function: account text and period in, an amount out.
void StubBalance(int) {
    double period = VmPopReal();
    PString account;
    VmPopString(account);
    double sum = 0;
    for (int i = 1; i <= account[0]; i++) sum += account[i] - '0';
    VmPushReal(sum * 1000.0 + period * 12.5);
}

bool Ready = false;

// The shipped vocabulary and a balance function named BAL.
bool Setup(benchmark::State &state) {
    if (Ready) return true;
    MessageSinkSet([](const char *) {});
    std::ifstream in(std::string(ORVEL_DICT_SOURCE_DIR) + "/names.dict");
    std::stringstream text;
    text << in.rdbuf() << "\nbuiltin BAL code 129 14 args RAW REAL result REAL\n";
    InterfaceDefs defs;
    std::string header;
    std::vector<std::string> errors;
    if (!DictCompile({{"names.dict", text.str()}}, &defs, &header, &errors)) {
        state.SkipWithError("the vocabulary does not compile");
        return false;
    }
    const NameTableSource &n = defs.names;
    if (!NameTableSetBlocks(n.header, n.kept1, n.kept2, n.buckets, n.entries, n.pool)) {
        state.SkipWithError("the name table is refused");
        return false;
    }
    VmTablesAlloc();
    ScriptTablesAlloc();
    VmSetBalanceFunction(14, StubBalance);
    Ready = true;
    return true;
}

// The cells of the sheet, row by row.
std::vector<std::string> Sheet(bool balances) {
    std::vector<std::string> cells;
    char f[256];
    for (int r = 0; r < Rows; r++)
        for (int c = 1; c <= Columns; c++) {
            if (balances)
                std::snprintf(f, sizeof f, "BAL(%04d, %d) - BAL(%04d, %d) * 0.25 + ROUND(BAL(%04d, %d) / 3, 2)",
                              3000 + r, c, 4000 + r % 50, c, 1900 + r % 7, c);
            else
                std::snprintf(f, sizeof f, "(%d.5 - %d) * 0.25 + ROUND((%d + %d.75) / 3, 2)", r, c, r * 7, c);
            cells.emplace_back(f);
        }
    return cells;
}

// Compiles and runs every cell; false when a cell gave no result.
bool RunSheet(const std::vector<std::string> &cells) {
    for (const std::string &cell : cells) {
        PString t;
        PStringFromView(t, cell);
        CompileScript(t);
        if (t[0] == 0) return false;
        benchmark::DoNotOptimize(t);
    }
    return true;
}

void SheetBenchmark(benchmark::State &state, bool balances) {
    if (!Setup(state)) return;
    std::vector<std::string> cells = Sheet(balances);
    for (auto _ : state)
        if (!RunSheet(cells)) {
            state.SkipWithError("a formula gave no result");
            return;
        }
    state.counters["formulas/s"] =
        benchmark::Counter(double(cells.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_CompileScriptSheet(benchmark::State &state) { SheetBenchmark(state, true); }
BENCHMARK(BM_CompileScriptSheet)->Unit(benchmark::kMillisecond);

void BM_CompileScriptSheetNoBalances(benchmark::State &state) { SheetBenchmark(state, false); }
BENCHMARK(BM_CompileScriptSheetNoBalances)->Unit(benchmark::kMillisecond);

// Peer: each cell's byte code made once, then only run (in a frame of its
// own, the result taken as CompileScript takes it).
void BM_PeerRunPrecompiled(benchmark::State &state) {
    if (!Setup(state)) return;
    std::vector<std::string> cells = Sheet(true);
    std::vector<MemBlock> codes;
    for (const std::string &cell : cells) {
        PString t;
        PStringFromView(t, cell);
        if (!ScriptCompileText(t)) {
            ScriptFreeCode();
            state.SkipWithError("a formula does not compile");
            return;
        }
        MemBlock h = MemAlloc(Script.length);
        std::memcpy(MemLock(h), Script.codeBytes, Script.length);
        MemUnlock(h);
        ScriptFreeCode();
        codes.push_back(h);
    }
    for (auto _ : state) {
        for (MemBlock h : codes) {
            int level = VmTopIndex();
            uint32_t frame = VmCurrentFrame();
            VmPushFrame(0, 0);
            ScriptRun(0, h);
            VmToString();
            PString out;
            VmPopString(out);
            VmRestoreLevel(level, frame);
            benchmark::DoNotOptimize(out);
        }
    }
    for (MemBlock &h : codes) MemFree(&h);
    state.counters["formulas/s"] =
        benchmark::Counter(double(cells.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PeerRunPrecompiled)->Unit(benchmark::kMillisecond);

}  // namespace
