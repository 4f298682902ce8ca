// bench_posting_history.cpp - posting in a company with a long history:
// fiscal years 1980 to 2100, a history of vouchers of three rows with
// random objects on random days of those years (stored through the rules in
// one hold, so the balances span every month), then vouchers of three rows
// posted into 2024, each in its own synced hold. Shows what a long history
// costs a posting against bench_posting's company of one year. Full runs
// (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes; smoke runs
// small ones.
#include <benchmark/benchmark.h>

#include "bench/bench_ledger_company.h"
#include "bench/bench_sizes.h"

namespace {

using namespace ledgerbench;

const int HistoryVouchers = BenchSize<int>(5000, 20), PostedVouchers = BenchSize<int>(2000, 10);
constexpr int FirstYear = 1980, LastYear = 2100;

// The company and its history, once per program; false when a step
// failed.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!LedgerCompany("history", FirstYear, LastYear)) return false;
    RuleRecord v(Voucher::Number);
    DbHoldBegin();
    for (int i = 0; i < HistoryVouchers; i++) {
        FillVoucher(v.record, 3, -1, RandomDay(FirstYear, LastYear));
        if (!StoreVoucher(v.record)) {
            DbHoldFail();
            DbHoldEnd();
            return false;
        }
    }
    if (!DbHoldEnd()) return false;
    ready = 1;
    return true;
}

// PostedVouchers vouchers of three rows, two with two objects, on days of
// 2024, each in its own synced hold, after the long history.
void BM_PostVouchersLongHistory(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    D4TestHooks.skipSync = false;
    double seconds = 0;
    for (auto _ : state) {
        double spent = PostVoucherRun(PostedVouchers, true, 2024, 2024);
        if (spent < 0) {
            state.SkipWithError("a voucher was not posted");
            return;
        }
        seconds += spent;
    }
    state.counters["vouchers_per_s"] = PostedVouchers * (double)state.iterations() / seconds;
    state.counters["balances"] = RegRecordCount(BalanceRecord::Number);
    state.counters["history"] = HistoryVouchers;
}
BENCHMARK(BM_PostVouchersLongHistory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
