// bench_ledger_queries.cpp - the report queries over long histories: the
// change of an account over a month and over a year of register-18
// postings, and an item's sales over its history of register 59.
//
// The peer of each is the bare walk of the same index with the same source
// reads (the posting's voucher by id, the history's invoice by number) and
// nothing summed; ratio = query time / peer time. The data are stored
// without hooks, as posting leaves them. Full runs (ORVEL_BENCH_FULL, set
// by scripts/bench) use the full sizes (a year of 300 three-row vouchers a
// day; 100,000 history records), smoke runs small ones for the smoke run.
#include <benchmark/benchmark.h>

#include <unordered_set>

#include "bench/bench_company.h"
#include "bench/bench_vouchers.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/ledger.h"

namespace {

const int Days = BenchSize<int>(365, 10), VouchersPerDay = BenchSize<int>(300, 5), HistoryRecords = BenchSize<int>(100000, 200);
constexpr int HistoryPerInvoice = 5;

uint8_t Account[16], NoObjects[2], Item[8], NoCustomer[2];
const DateRec YearStart{1, 1, 2024}, YearEnd{31, 12, 2024}, MonthStart{1, 6, 2024}, MonthEnd{30, 6, 2024};

// Invoices of one row of the item and their history records.
bool StoreHistory() {
    for (int n = 0; n < HistoryRecords; n++) {
        const uint32_t invoice = 1 + (uint32_t)(n / HistoryPerInvoice);
        DateRec date{1, 1, 2024};
        DateAddDays(&date, n * 365 / HistoryRecords, &date);
        if (n % HistoryPerInvoice == 0) {
            RuleRecord r(IVVc::Number);
            if (!r.record) return false;
            PutU32(r.record, IVVc::SerNr, invoice);
            uint8_t row[IVVc::Rows::Size] = {};
            PutU16(row, IVVc::Rows::Kind, 1);
            PutText(row, IVVc::Rows::ItemCode, Item);
            PackedDecimal q;
            DecFromLong(&q, 2);
            PutDec(row, IVVc::Rows::Quantity, q);
            PutDec(row, IVVc::Rows::Sum, q);
            if (!MatrixRowPut(IVVc::Number, 0, r.record, 0, row)) return false;
            uint32_t recid = 0;
            if (!RecStore(IVVc::Number, r.record, 0, &recid)) return false;
        }
        uint8_t h[ItemHistVc::Size] = {};
        PutText(h, ItemHistVc::ItemCode, Item);
        PutU16(h, ItemHistVc::DocType, 5);
        PutU32(h, ItemHistVc::DocNr, invoice);
        PutDate(h, ItemHistVc::HistDate, date);
        uint32_t recid = 0;
        if (!RecStore(ItemHistVc::Number, h, 0, &recid)) return false;
    }
    return true;
}

bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("ledger_queries")) return false;
    PStringFromC(Account, "1000");
    PStringFromC(NoObjects, "");
    PStringFromC(Item, "ITEM");
    PStringFromC(NoCustomer, "");
    DbHoldBegin();
    uint32_t serNr = 1;
    bool ok = true;
    for (int d = 0; d < Days && ok; d++) {
        DateRec date;
        DateAddDays(&YearStart, d * 365 / Days, &date);
        for (int v = 0; v < VouchersPerDay && ok; v++) ok = BenchStoreVoucher(serNr++, date, "A,B");   // the measured account with objects
    }
    ok = ok && StoreHistory();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

// The peer: the AccDate walk from the account's first posting in the range
// with each posting's voucher read by id.
int64_t BarePostingWalk(const DateRec &from, const DateRec &to) {
    uint8_t e[ATVc::Size] = {}, code[16];
    PutText(e, ATVc::Account, Account);
    PutDate(e, ATVc::Date, from);
    RuleRecord v(TRVc::Number);
    uint32_t recid = 0, position = 0;
    int64_t n = 0;
    if (!RecFindByIndex(ATVc::Number, "AccDate", e, 2, 0, &recid, &position)) return 0;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(ATVc::Number, "AccDate", (int32_t)p, e, &recid)) break;
        GetText(e, ATVc::Account, code);
        const DateRec date = GetDate(e, ATVc::Date);
        if (!PStringEqual(code, Account) || DateCompare(&date, &to) > 0) break;
        RecFreeMatrix(TRVc::Number, v.record);
        n += RecReadById(TRVc::Number, GetU32(e, ATVc::SourceRecId), v.record);
    }
    return n;
}

// The peer of the item query: the ItemDate walk with each new invoice
// read by number.
int64_t BareHistoryWalk() {
    uint8_t h[ItemHistVc::Size] = {}, code[32];
    PutText(h, ItemHistVc::ItemCode, Item);
    PutDate(h, ItemHistVc::HistDate, YearStart);
    RuleRecord inv(IVVc::Number);
    std::unordered_set<uint32_t> seen;
    uint32_t recid = 0, position = 0, invId = 0, invPos = 0;
    int64_t n = 0;
    if (!RecFindByIndex(ItemHistVc::Number, "ItemDate", h, 2, 0, &recid, &position)) return 0;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(ItemHistVc::Number, "ItemDate", (int32_t)p, h, &recid)) break;
        GetText(h, ItemHistVc::ItemCode, code);
        if (!PStringEqual(code, Item)) break;
        const uint32_t nr = GetU32(h, ItemHistVc::DocNr);
        if (!seen.insert(nr).second) continue;
        RecFreeMatrix(IVVc::Number, inv.record);
        PutU32(inv.record, IVVc::SerNr, nr);
        n += RecFind(IVVc::Number, inv.record, 1, 1, &invId, &invPos);
    }
    return n;
}

void BM_AccountObjectsBalance(benchmark::State &state) {
    if (!Company()) return state.SkipWithError("company");
    const bool year = state.range(0) != 0;
    PackedDecimal r;
    for (auto _ : state) {
        if (!AccountObjectsBalance(Account, NoObjects, year ? &YearStart : &MonthStart, year ? &YearEnd : &MonthEnd,
                                   nullptr, &r))
            return state.SkipWithError("cancelled");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_AccountObjectsBalance)->Arg(0)->Arg(1)->ArgName("year")->Unit(benchmark::kMillisecond);

void BM_BarePostingWalk(benchmark::State &state) {
    if (!Company()) return state.SkipWithError("company");
    const bool year = state.range(0) != 0;
    for (auto _ : state) benchmark::DoNotOptimize(BarePostingWalk(year ? YearStart : MonthStart, year ? YearEnd : MonthEnd));
}
BENCHMARK(BM_BarePostingWalk)->Arg(0)->Arg(1)->ArgName("year")->Unit(benchmark::kMillisecond);

void BM_StockValueAtDate(benchmark::State &state) {
    if (!Company()) return state.SkipWithError("company");
    PackedDecimal r;
    for (auto _ : state) {
        if (!StockValueAtDate(Item, NoCustomer, (int)state.range(0), &YearStart, &YearEnd, &r))
            return state.SkipWithError("cancelled");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_StockValueAtDate)->Arg(0)->Arg(1)->Arg(2)->ArgName("mode")->Unit(benchmark::kMillisecond);

void BM_BareHistoryWalk(benchmark::State &state) {
    if (!Company()) return state.SkipWithError("company");
    for (auto _ : state) benchmark::DoNotOptimize(BareHistoryWalk());
}
BENCHMARK(BM_BareHistoryWalk)->Unit(benchmark::kMillisecond);

}  // namespace
