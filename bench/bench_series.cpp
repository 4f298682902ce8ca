// bench_series.cpp - drawing the next voucher number over a register of
// stored vouchers in one fiscal year, with no series block (one index
// search) and with a three-row block whose first two rows are full (the
// block fetched afresh, then one search per row). The peer is the bare
// index search that every draw ends in; ratio = draw time / search time.
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) store 100,000
// vouchers; smoke runs 3,000, as a quick check that keeps the test build's
// smoke run short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/engine/engine.h"
#include "exchange/exchange.h"
#include "rules/series_terms.h"

namespace {

const int32_t VoucherCount = BenchSize<int32_t>(100000, 3000);

const DateRec BenchDate{15, 6, 2024};

// A database of VoucherCount vouchers numbered 1.. in one fiscal year of
// code 10, built once for the run; false (with the reason on stderr) when
// anything failed.
bool Database() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("series")) return false;
    uint8_t year[FiscalYearEntry::Size] = {};
    PutU16(year, FiscalYearEntry::OrderCode, 10);
    PutDate(year, FiscalYearEntry::StartDate, DateRec{1, 1, 2024});
    PutDate(year, FiscalYearEntry::EndDate, DateRec{31, 12, 2024});
    if (SettingsBlockStore(FiscalYearBlk::Number, year, sizeof year) != RecDone) return false;
    RuleRecord v(Voucher::Number);
    DbHoldBegin();
    for (int32_t i = 1; i <= VoucherCount && v.record; i++) {
        PutI32(v.record, Voucher::SerNr, i);
        PutU16(v.record, Voucher::YearCode, 10);
        PutDate(v.record, Voucher::TransDate, BenchDate);
        uint32_t recid = 0;
        if (!RecStore(Voucher::Number, v.record, 0, &recid)) {
            DbHoldFail();
            break;
        }
    }
    if (!DbHoldEnd() || RegRecordCount(Voucher::Number) != (uint32_t)VoucherCount) return false;
    ready = 1;
    return true;
}

// Stores the series block: none, or three rows of which the first two are
// full.
bool SetSeries(bool threeRows) {
    if (!threeRows) return SettingsBlockStore(VoucherSeriesBlk::Number, nullptr, 0) == RecDone;
    uint8_t rows[3 * SeriesRow::Size] = {};
    const int32_t ranges[3][2] = {{1, 1000}, {1001, 2000}, {2001, 999999}};
    for (int i = 0; i < 3; i++) {
        PutI32(rows + i * SeriesRow::Size, SeriesRow::FirstNr, ranges[i][0]);
        PutI32(rows + i * SeriesRow::Size, SeriesRow::LastNr, ranges[i][1]);
    }
    return SettingsBlockStore(VoucherSeriesBlk::Number, rows, sizeof rows) == RecDone;
}

// One bare search of the voucher index, the step every draw ends in.
double BareSearchSeconds(int rounds) {
    RuleRecord probe(Voucher::Number);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; i++) {
        PutU16(probe.record, Voucher::YearCode, 10);
        PutI32(probe.record, Voucher::SerNr, 999999);
        uint32_t recid = 0, position = 0;
        bool found = RecFindByIndexKeep(Voucher::Number, "Number", probe.record, 0, 0, &recid, &position);
        benchmark::DoNotOptimize(found);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

void BM_NextVoucherNumber(benchmark::State &state) {
    bool threeRows = state.range(0) != 0;
    if (!Database() || !SetSeries(threeRows)) {
        state.SkipWithError("the benchmark database could not be built");
        return;
    }
    int32_t want = VoucherCount + 1;
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        int32_t n = NextSerialNumber(Voucher::Number, &BenchDate, -1, 0);
        if (n != want) {
            state.SkipWithError("wrong number drawn");
            return;
        }
        benchmark::DoNotOptimize(n);
    }
    double draw = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                  (double)(state.iterations() ? state.iterations() : 1);
    double bare = BareSearchSeconds(2000);
    state.counters["vouchers"] = VoucherCount;
    state.counters["search_us"] = bare * 1e6;
    state.counters["ratio"] = bare > 0 ? draw / bare : 0;
}
BENCHMARK(BM_NextVoucherNumber)->Arg(0)->Arg(1)->ArgName("three_rows")->Unit(benchmark::kMicrosecond);

}  // namespace
