// bench_posting.cpp - the cost of bookkeeping in a company of one year:
// 10,000 vouchers of three rows (two with two objects) posted through
// the rules (balances and register 18), each in its own synced hold and
// all in one hold, and a trial balance read from the balances they left.
// The company is this program's own: 100 accounts, objects of five
// types, fiscal year 2024 (bench_ledger_company.h). The long history and
// the large vouchers have programs and companies of their own
// (bench_posting_history.cpp, bench_large_voucher.cpp).
//
// The peer of the synced run is the engine's bare synced hold on the same
// disk: one small record stored per hold, no rules. ratio = the posting
// rate / the bare rate (the aim is at least one half: the disk is the
// limit). Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use the full
// sizes; smoke runs small ones, a quick check that keeps the test build's
// smoke run short.
#include <benchmark/benchmark.h>

#include "bench/bench_ledger_company.h"
#include "bench/bench_sizes.h"

namespace {

using namespace ledgerbench;

const int PostedVouchers = BenchSize<int>(10000, 20);
constexpr int Year = 2024;
const DateRec PostingMonth{15, 6, Year};

bool Company() { return LedgerCompany("posting", Year, Year); }

// PostedVouchers vouchers of three rows, two of them with two objects, in
// the months of the year: each in its own synced hold (range(0) 1) or all
// in one hold (0).
void BM_PostVouchers(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    D4TestHooks.skipSync = false;
    const bool eachHeld = state.range(0) != 0;
    double seconds = 0;
    for (auto _ : state) {
        double spent = PostVoucherRun(PostedVouchers, eachHeld, Year, Year);
        if (spent < 0) {
            state.SkipWithError("a voucher was not posted");
            return;
        }
        seconds += spent;
    }
    double rate = PostedVouchers * (double)state.iterations() / seconds;
    state.counters["vouchers_per_s"] = rate;
    if (eachHeld) {
        double bare = 1.0 / BareHoldSeconds(PostedVouchers / 10, PostingMonth);
        state.counters["bare_holds_per_s"] = bare;
        state.counters["ratio"] = rate / bare;
    }
    state.counters["balances"] = RegRecordCount(BalanceRecord::Number);
}
BENCHMARK(BM_PostVouchers)->Arg(1)->Arg(0)->ArgName("own_hold")->Iterations(1)->Unit(benchmark::kMillisecond);

// The trial balance of every account from the balances: for each account
// its record of no objects, the balance at the end of June of both kinds;
// the total of a balanced ledger is zero.
void BM_TrialBalance(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    const uint16_t month = MonthIndex(&PostingMonth);
    RuleRecord b(BalanceRecord::Number);
    int found = 0;
    for (auto _ : state) {
        PackedDecimal total;
        DecSetZero(&total);
        found = 0;
        for (int i = 0; i < Accounts; i++) {
            PString code;
            PStringFromC(code, AccountCode(i).c_str());
            RecClear(BalanceRecord::Number, b.record);
            PutText(b.record, BalanceRecord::Account, code);
            uint32_t recid = 0, position = 0;
            if (!RecFind(BalanceRecord::Number, b.record, 2, 1, &recid, &position)) continue;
            found++;
            MemBlock periods = RecMatrixHandle(BalanceRecord::Number, b.record);
            for (int kind = 0; kind < BalanceKinds; kind++) {
                PackedDecimal at;
                PeriodBalanceAt(periods, BalanceKinds, kind, month, &at);
                DecAdd(&total, &at, &total);
            }
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["accounts"] = found;
}
BENCHMARK(BM_TrialBalance)->Unit(benchmark::kMicrosecond);

}  // namespace
