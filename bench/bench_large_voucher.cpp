// bench_large_voucher.cpp - vouchers of 10, 1,000 and 32,767 rows (the most
// a voucher holds) stored, rewritten with new rows on another day and
// deleted through the checked record calls and the rules' hooks, in a
// company of one year of its own (bench_ledger_company.h). Each step is
// timed on its own; the aim is that each grows linearly with the rows. Full
// runs (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes; smoke
// runs small ones.
#include <benchmark/benchmark.h>

#include "bench/bench_ledger_company.h"
#include "bench/bench_sizes.h"
#include "database/access/record_locks.h"

namespace {

using namespace ledgerbench;

const int MidRows = BenchSize<int>(1000, 20), BigRows = BenchSize<int>(32767, 40), SmallRuns = BenchSize<int>(3, 1);
constexpr int Year = 2024;

bool Company() { return LedgerCompany("large_voucher", Year, Year); }

// A voucher of range(0) rows stored, rewritten and deleted.
void BM_VoucherStoreUpdateDelete(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    D4TestHooks.skipSync = false;
    const int rows = (int)state.range(0);
    RuleRecord v(Voucher::Number);
    double store = 0, update = 0, remove = 0;
    for (auto _ : state) {
        FillVoucher(v.record, rows, -1, RandomDay(Year, Year));
        uint32_t recid = 0;
        int result = 0;
        auto start = std::chrono::steady_clock::now();
        RecInsertChecked(Voucher::Number, v.record, &recid, &result);
        store += Since(start);
        if (result != RecDone) {
            state.SkipWithError("a voucher was not stored");
            return;
        }
        uint32_t serial = GetU32(v.record, Voucher::SerNr);
        FillVoucher(v.record, rows, -1, RandomDay(Year, Year));
        PutU32(v.record, Voucher::SerNr, serial);
        start = std::chrono::steady_clock::now();
        if (!RecordLockAdd(LockOwnerId, Voucher::Number, recid)) std::exit(1);
        RecUpdateChecked(Voucher::Number, v.record, recid, &result);
        update += Since(start);
        if (result != RecDone) {
            state.SkipWithError("a voucher was not rewritten");
            return;
        }
        start = std::chrono::steady_clock::now();
        result = RecDeleteChecked(Voucher::Number, v.record, &recid, "");
        remove += Since(start);
        if (result != RecDone) {
            state.SkipWithError("a voucher was not deleted");
            return;
        }
    }
    double n = (double)state.iterations();
    state.counters["store_ms"] = store / n * 1e3;
    state.counters["update_ms"] = update / n * 1e3;
    state.counters["delete_ms"] = remove / n * 1e3;
    state.counters["balances"] = RegRecordCount(BalanceRecord::Number);
}
BENCHMARK(BM_VoucherStoreUpdateDelete)->Arg(10)->Arg(MidRows)->Iterations(SmallRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VoucherStoreUpdateDelete)->Arg(BigRows)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
