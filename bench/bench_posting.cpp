// bench_posting.cpp - the cost of bookkeeping: vouchers stored, rewritten
// and deleted through the record layer with the rules installed (so each
// save posts its rows to the balances and to register 18), a run of small
// vouchers posted each in its own synced hold and all in one hold, and a
// trial balance read from the balances.
//
// The peer of the synced run is the engine's bare synced hold on the same
// disk: one small record stored per hold, no rules. ratio = the posting
// rate / the bare rate (the aim is at least one half: the disk is the
// limit). Optimised builds use the full sizes; other builds small ones, a
// quick check that keeps the test build's smoke run short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_locks.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"

namespace {

#ifdef NDEBUG
constexpr int PostedVouchers = 10000;
constexpr int MidRows = 1000, BigRows = 32767, SmallRuns = 3;
#else
constexpr int PostedVouchers = 20;
constexpr int MidRows = 20, BigRows = 40, SmallRuns = 1;
#endif
constexpr int Accounts = 100, ObjectTypes = 5, ObjectsPerType = 4;
constexpr int FirstYear = 1980, LastYear = 2100;
const DateRec PostingMonth{15, 6, 2024};

std::mt19937 rng(2024);
uint32_t nextSerial = 1;

int Pick(int n) { return (int)(rng() % (uint32_t)n); }
std::string AccountCode(int i) { return std::to_string(1000 + i * 10); }
std::string ObjectCode(int type, int i) { return "O" + std::to_string(type) + std::to_string(i); }

// Stores one record of reg filled by fill, no hooks; false when it failed.
template <typename Fill> bool StorePlain(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStoreByKey(reg, r.record, 1, &recid);
}

// The company: calendar fiscal years 1980 to 2100, accounts, objects of
// five types, vouchers deletable, the rules installed. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("posting")) return false;
    std::vector<uint8_t> years;
    for (int y = FirstYear; y <= LastYear; y++) {
        int32_t count = (int32_t)(years.size() / FiscalYearEntry::Size);
        uint16_t code = FiscalYearCodeFor(years.data(), count, count, 0);
        if (code == 0) return false;
        years.resize(years.size() + FiscalYearEntry::Size, 0);
        uint8_t *row = years.data() + years.size() - FiscalYearEntry::Size;
        PutU16(row, FiscalYearEntry::OrderCode, code);
        PutDate(row, FiscalYearEntry::StartDate, DateRec{1, 1, (uint16_t)y});
        PutDate(row, FiscalYearEntry::EndDate, DateRec{31, 12, (uint16_t)y});
    }
    if (SettingsBlockStore(FiscalYearBlk::Number, years.data(), (uint32_t)years.size()) != RecDone) return false;
    std::vector<uint8_t> company(CompanyBlk::Size), locks(DateLockBlk::Size);
    PutU16(company.data(), CompanyBlk::DateLockOn, 1);
    PutDate(locks.data(), DateLockBlk::DeleteLock, DateRec{31, 12, FirstYear - 1});
    if (SettingsBlockStore(CompanyBlk::Number, company.data(), CompanyBlk::Size) != RecDone ||
        SettingsBlockStore(DateLockBlk::Number, locks.data(), DateLockBlk::Size) != RecDone)
        return false;
    DbHoldBegin();
    bool ok = true;
    for (int i = 0; i < Accounts && ok; i++)
        ok = StorePlain(ACVc::Number, [&](uint8_t *r) {
            PString code;
            PStringFromC(code, AccountCode(i).c_str());
            PutPString(r, ACVc::Code, 10, code);
            PutU16(r, ACVc::DebitAllowed, 1);
            PutU16(r, ACVc::CreditAllowed, 1);
        });
    for (int t = 0; t < ObjectTypes && ok; t++) {
        PString type;
        PStringFromC(type, ("T" + std::to_string(t)).c_str());
        ok = StorePlain(OTVc::Number, [&](uint8_t *r) { PutPString(r, OTVc::Code, 5, type); });
        for (int i = 0; i < ObjectsPerType && ok; i++)
            ok = StorePlain(OBVc::Number, [&](uint8_t *r) {
                PString code;
                PStringFromC(code, ObjectCode(t, i).c_str());
                PutPString(r, OBVc::Code, 5, code);
                PutPString(r, OBVc::ObjType, 5, type);
            });
    }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd()) return false;
    RulesInstall();
    ready = 1;
    return true;
}

// `count` objects of distinct random types, joined by ",".
std::string RandomObjects(int count) {
    std::string list;
    int types[ObjectTypes] = {0, 1, 2, 3, 4};
    for (int i = 0; i < count; i++) {
        std::swap(types[i], types[i + Pick(ObjectTypes - i)]);
        list += (i ? "," : "") + ObjectCode(types[i], Pick(ObjectsPerType));
    }
    return list;
}

// Fills voucher with `rows` balanced account rows on random accounts with
// 0..5 objects each (or `objects` rows with two objects, the rest none,
// when objects >= 0), dated date and numbered with the next serial.
void FillVoucher(uint8_t *voucher, int rows, int objects, const DateRec &date) {
    RecFreeMatrix(Voucher::Number, voucher);
    RecClear(Voucher::Number, voucher);
    PutU32(voucher, Voucher::SerNr, nextSerial++);
    PutDate(voucher, Voucher::TransDate, date);
    PutDate(voucher, Voucher::RegDate, date);
    uint8_t row[TransRow::Size];
    int64_t sum = 0;
    for (int i = 0; i < rows; i++) {
        std::fill(std::begin(row), std::end(row), 0);
        int64_t cents = i + 1 < rows ? 1 + Pick(100000) : -sum;
        sum += cents;
        PString text;
        PutU16(row, TransRow::Kind, RowAccount);
        PStringFromC(text, AccountCode(Pick(Accounts)).c_str());
        PutPString(row, TransRow::Account, 10, text);
        int n = objects < 0 ? Pick(ObjectTypes + 1) : i < objects ? 2 : 0;
        PStringFromC(text, RandomObjects(n).c_str());
        PutPString(row, TransRow::Objects, ObjectListMax, text);
        PackedDecimal amount;
        DecFromThousandths(&amount, cents * 10);
        PutDec(row, TransRow::Amount, amount);
        if (!MatrixRowPut(Voucher::Number, 0, voucher, i, row)) std::exit(1);
    }
}

DateRec RandomMonth() {
    return DateRec{(uint16_t)(1 + Pick(28)), (uint16_t)(1 + Pick(12)), (uint16_t)(FirstYear + Pick(LastYear - FirstYear + 1))};
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A voucher of range(0) rows stored, rewritten with new rows in another
// month, and deleted, through the checked record calls and their hooks.
// Each step is timed on its own.
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
        FillVoucher(v.record, rows, -1, RandomMonth());
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
        FillVoucher(v.record, rows, -1, RandomMonth());
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

// Seconds per synced hold that stores one register-18 record and nothing
// else: the engine's bare rate on this disk.
double BareHoldSeconds(int holds) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < holds; i++) {
        DbHoldBegin();
        bool stored = StorePlain(ATVc::Number, [&](uint8_t *r) {
            PutDate(r, ATVc::Date, PostingMonth);
            PutU32(r, ATVc::SourceSerNr, 0x7FFF0000u + (uint32_t)i);
        });
        if (!stored) DbHoldFail();
        if (!DbHoldEnd()) std::exit(1);
    }
    return Since(start) / holds;
}

// PostedVouchers vouchers of three rows, two of them with two objects, in
// the months of 2024: each in its own synced hold (range(0) 1) or all in
// one hold (0).
void BM_PostVouchers(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    D4TestHooks.skipSync = false;
    const bool eachHeld = state.range(0) != 0;
    RuleRecord v(Voucher::Number);
    double seconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!eachHeld) DbHoldBegin();
        for (int i = 0; i < PostedVouchers; i++) {
            DateRec date{(uint16_t)(1 + Pick(28)), (uint16_t)(1 + Pick(12)), 2024};
            FillVoucher(v.record, 3, 2, date);
            if (eachHeld) DbHoldBegin();
            bool stored = StoreVoucher(v.record);
            if (!stored) DbHoldFail();
            if (eachHeld && !DbHoldEnd()) stored = false;
            if (!stored) {
                state.SkipWithError("a voucher was not posted");
                if (!eachHeld) DbHoldEnd();
                return;
            }
        }
        if (!eachHeld && !DbHoldEnd()) {
            state.SkipWithError("the hold failed");
            return;
        }
        seconds += Since(start);
    }
    double rate = PostedVouchers * (double)state.iterations() / seconds;
    state.counters["vouchers_per_s"] = rate;
    if (eachHeld) {
        double bare = 1.0 / BareHoldSeconds(PostedVouchers / 10);
        state.counters["bare_holds_per_s"] = bare;
        state.counters["ratio"] = rate / bare;
    }
}
BENCHMARK(BM_PostVouchers)->Arg(1)->Arg(0)->ArgName("own_hold")->Iterations(1)->Unit(benchmark::kMillisecond);

// The trial balance of every account from the balances: for each account
// its record of no objects, the balance at the end of June 2024 of both
// kinds; the total of a balanced ledger is zero.
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
            PutPString(b.record, BalanceRecord::Account, 10, code);
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

BENCHMARK_MAIN();
