// bench_balance_exports.cpp - the account balance exports over 1,000
// accounts, each with a balance record of 24 months (2024 and 2025): kind
// 10 (a movement a month) and kind 11 (one balance an account), run as the
// program runs them into a text file.
//
// The peer reads the same accounts and balance records by position and key,
// takes the same amounts from the period blocks and writes them with
// fprintf: the counter export/peer is the export's time over its peer's;
// accounts/s is given. An export that does not run to its end skips with
// the reason. Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use the
// full sizes; smoke runs a few accounts, so that the test build's smoke run
// stays short.
#include <benchmark/benchmark.h>

#include "bench/bench_export.h"
#include "bench/bench_frame.h"
#include "bench/bench_store.h"
#include "bench/bench_sizes.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

const int Accounts = BenchSize<int>(1000, 20);
constexpr int Months = 24;
const DateRec First{1, 1, 2024}, Last{31, 12, 2025};

BenchWorkplace &Place()
{
    static BenchWorkplace w("balance_exports");
    return w;
}


std::filesystem::path ExportFile() { return Place().dir / "balances.txt"; }
std::filesystem::path PeerFile() { return Place().dir / "peer.txt"; }

std::string Code(int i) { return std::to_string(10000 + i); }

// The company: the accounts (a fifth of them result accounts) and for each
// a balance record with an amount in every month. Made once with the frame
// up; false when it could not be made.
bool Source()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchFrameUp(Place())) return false;
    MessageSinkSet([](const char *) {});
    const uint16_t first = MonthIndex(&First);
    bool ok = true;
    DbHoldBegin();
    for (int i = 0; i < Accounts && ok; i++) {
        ok = BenchStorePlain(ACVc::Number, [i](uint8_t *ac) {
            BenchPutText(ac, ACVc::Code, 10, Code(i));
            BenchPutText(ac, ACVc::Name, 60, "Account " + std::to_string(i));
            PutU16(ac, ACVc::AccType, uint16_t(i % 5));
        });
        MemBlock periods = 0;
        for (int m = 0; m < Months && ok; m++) {
            PackedDecimal d;
            DecFromDouble(&d, 100.25 * (m + 1) - 7 * i);
            ok = AddToPeriodAmount(&periods, BalanceKinds, KindLedger, uint16_t(first + m), &d);
        }
        ok = ok && BenchStorePlain(BLVc::Number, [i, periods](uint8_t *bl) {
            BenchPutText(bl, BLVc::Account, 10, Code(i));
            PutU32(bl, BLVc::Periods, periods);
        });
        if (ok && (i + 1) % 100 == 0) {
            ok = DbHoldEnd();
            DbHoldBegin();
        }
    }
    ok = DbHoldEnd() && ok;
    ready = ok ? 1 : -1;
    return ok;
}

// Runs export kind into the text file from job as the program does;
// false when the job stopped or a write failed.
bool Export(ReportJob &job, int kind)
{
    OutputJobState = OutputJobStateRec{};
    PString none = {0};
    PutText(job.selection, ReportParamsVc::SelText1, none);
    PutText(job.selection, ReportParamsVc::ObjectSel, none);
    PutDate(job.selection, ReportParamsVc::DateFrom, First);
    PutDate(job.selection, ReportParamsVc::DateTo, Last);
    PutU16(job.selection, ReportParamsVc::OutputKind, OutTextFile);
    return BenchExportToFile(job, ExportFile(), kind);
}

// The peer: every account by position, its balance record by key, the
// amounts from its period block (a movement a month, or for kind 11 the
// balance at the end), written by fprintf; false when a step failed.
bool Peer(int kind)
{
    FILE *f = std::fopen(PeerFile().c_str(), "wb");
    if (!f) return false;
    RuleRecord ac(ACVc::Number), bl(BLVc::Number);
    const uint16_t first = MonthIndex(&First), last = MonthIndex(&Last);
    bool ok = true;
    const int32_t count = int32_t(RegRecordCount(ACVc::Number));
    for (int32_t pos = 1; ok && pos <= count; pos++) {
        uint32_t id = 0, position = 0;
        ok = RecReadAt(ACVc::Number, pos, ac.record, &id);
        PString code, name;
        GetText(ac.record, ACVc::Code, code);
        GetText(ac.record, ACVc::Name, name);
        std::fprintf(f, "%.*s\t%.*s", code[0], code + 1, name[0], name + 1);
        RecFreeMatrix(BLVc::Number, bl.record);
        RecClear(BLVc::Number, bl.record);
        PutText(bl.record, BLVc::Account, code);
        const bool has = RecFind(BLVc::Number, bl.record, 1, 1, &id, &position);
        const MemBlock periods = has ? GetU32(bl.record, BLVc::Periods) : 0;
        for (uint16_t m = first; m <= last && ok; m++) {
            if (kind == 11 && m < last) continue;
            PackedDecimal d;
            if (kind == 11) PeriodBalanceAt(periods, BalanceKinds, KindLedger, m, &d);
            else PeriodBalanceChange(periods, BalanceKinds, KindLedger, m, m, &d);
            std::fprintf(f, "\t%.2f", DecToDouble(&d));
        }
        std::fputs("\r\n", f);
    }
    return std::fclose(f) == 0 && ok;
}

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds per run of each kind's peer (the peers run first), for the ratios.
double PeerSeconds[12];

void BM_Peer(benchmark::State &state)
{
    const int kind = int(state.range(0));
    if (!Source()) return state.SkipWithError("the company could not be made");
    double seconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!Peer(kind)) return state.SkipWithError("the peer failed");
        seconds += Since(start);
    }
    PeerSeconds[kind] = seconds / double(state.iterations());
    state.counters["accounts/s"] = benchmark::Counter(double(Accounts), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Export(benchmark::State &state)
{
    const int kind = int(state.range(0));
    if (!Source()) return state.SkipWithError("the company could not be made");
    double seconds = 0;
    OwnedJob own;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!Export(own.job, kind)) return state.SkipWithError("the export did not run to its end");
        seconds += Since(start);
    }
    if (PeerSeconds[kind] > 0) state.counters["export/peer"] = seconds / double(state.iterations()) / PeerSeconds[kind];
    state.counters["accounts/s"] = benchmark::Counter(double(Accounts), benchmark::Counter::kIsIterationInvariantRate);
    std::error_code ec;
    state.counters["MB"] = double(std::filesystem::file_size(ExportFile(), ec)) / 1e6;
}

// The peers first: the export's ratios divide by their times.
BENCHMARK(BM_Peer)->Arg(10)->Arg(11)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(10)->Arg(11)->Unit(benchmark::kMillisecond);

}  // namespace
