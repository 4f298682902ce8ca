// bench_stock_reports.cpp - the stock value (report 8) valued first in
// first out over items with many receipts each, and the item history
// (report 73) over a year of daily receipts, both to a text file; each
// against the bare walk of the index entries the report goes through
// (ratio = report / walk).
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use 20 items with
// 1,000 receipts each and 50 items with a receipt every day of a year;
// smoke runs 3 items with 40 and 30 days, so that the test build's smoke
// run stays short.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include "bench/bench_report.h"
#include "bench/bench_sizes.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "reports/frame/report_run.h"
#include "rules/rules_types.h"

namespace {

const int Items = BenchSize<int>(20, 3), Receipts = BenchSize<int>(1000, 40), HistoryItems = BenchSize<int>(50, 3), Days = BenchSize<int>(365, 30);
// Purchases 1..Receipts receive every valued item; the history's
// purchases follow them, one a day.
const int FirstHistoryPurchase = Receipts + 1;

BenchWorkplace &Place() {
    static BenchWorkplace w("stock_reports");
    return w;
}

int State = -1;   // -1 not tried, 0 cannot start, 1 up with its data

void Text(uint8_t *r, uint32_t at, int m, const char *s) {
    PString t;
    PStringFromC(t, s);
    PutPString(r, at, m, t);
}

void Amount(uint8_t *r, uint32_t at, double v) {
    PackedDecimal d;
    DecFromDouble(&d, v);
    PutDec(r, at, d);
}

template <typename Fill> bool Store(int reg, Fill fill, bool byKey = true) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    bool ok = byKey ? RecStoreByKey(reg, r.record, 1, &recid) : RecStore(reg, r.record, 0, &recid);
    RecFreeMatrix(reg, r.record);
    return ok;
}

void Code(const char *prefix, int n, char *out) { std::snprintf(out, 16, "%s%04d", prefix, n); }

// The date of day d (0..364) of 2024, month by month of 31 days at most.
DateRec DayOf(int d) {
    static const uint16_t lengths[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    uint16_t month = 0;
    while (month < 11 && d >= lengths[month]) d -= lengths[month++];
    return DateRec{uint16_t(d + 1), uint16_t(month + 1), 2024};
}

bool Item(const char *code) {
    return Store(INVc::Number, [&](uint8_t *r) {
        Text(r, INVc::Code, 20, code);
        Text(r, INVc::Name, 60, code);
        PutU16(r, INVc::Stocked, 1);
    });
}

// Purchase serial on date receiving qty of each item of codes at a cost
// that changes with the serial, with an item-history receipt per row.
bool Purchase(int serial, DateRec date, const char *prefix, int items, double qty) {
    char code[16];
    bool ok = Store(PUVc::Number, [&](uint8_t *r) {
        PutU32(r, PUVc::SerNr, uint32_t(serial));
        PutDate(r, PUVc::TransDate, date);
        PutU16(r, PUVc::Received, 1);
        for (int i = 1; i <= items; i++) {
            uint8_t row[PUVc::Rows::Size] = {};
            Code(prefix, i, code);
            Text(row, PUVc::Rows::ItemCode, 20, code);
            Amount(row, PUVc::Rows::Quantity, qty);
            Amount(row, PUVc::Rows::UnitCost, 10 + serial % 17);
            MatrixRowPut(PUVc::Number, 0, r, i - 1, row);
        }
    });
    for (int i = 1; ok && i <= items; i++) {
        Code(prefix, i, code);
        ok = Store(ItemHistVc::Number, [&](uint8_t *r) {
            Text(r, ItemHistVc::ItemCode, 20, code);
            PutU16(r, ItemHistVc::DocType, PUVc::Number);
            PutU32(r, ItemHistVc::DocNr, uint32_t(serial));
            PutDate(r, ItemHistVc::HistDate, date);
            PutU16(r, ItemHistVc::Receipt, 1);
            Amount(r, ItemHistVc::Quantity, qty);
            PutU16(r, ItemHistVc::Direction, 1);
            PutU16(r, ItemHistVc::RowNr, uint16_t(i - 1));
        }, false);
    }
    return ok;
}

bool StockOf(const char *code, double qty) {
    return Store(LSVc::Number, [&](uint8_t *r) {
        Text(r, LSVc::ItemCode, 20, code);
        Amount(r, LSVc::InStock, qty);
    }, false);
}

bool Up() {
    if (State < 0) {
        State = BenchFrameUp(Place()) ? 1 : 0;
        MessageSinkSet([](const char *) {});
        char code[16];
        for (int i = 1; State == 1 && i <= Items; i++) {
            Code("F", i, code);
            if (!Item(code) || !StockOf(code, 3.0 * Receipts)) State = 0;
        }
        for (int n = 1; State == 1 && n <= Receipts; n++)
            if (!Purchase(n, DayOf(n % 365), "F", Items, 3)) State = 0;
        for (int i = 1; State == 1 && i <= HistoryItems; i++) {
            Code("H", i, code);
            if (!Item(code) || !StockOf(code, 2.0 * Days)) State = 0;
        }
        for (int d = 0; State == 1 && d < Days; d++)
            if (!Purchase(FirstHistoryPurchase + d, DayOf(d), "H", HistoryItems, 2)) State = 0;
    }
    return State == 1;
}

void RunToText(ReportJob &job, int number, int layout, const char *range, benchmark::State &state) {
    const std::filesystem::path file = Place().dir / "stock.txt";
    BenchReportJob(job, number, layout);
    PutU16(job.selection, ReportParamsVc::Option4, 1);   // report 73: purchases
    Text(job.selection, ReportParamsVc::SelText1, 255, range);
    if (!BenchReportToFile(job, file)) state.SkipWithError("the report did not run to its end");
}

// Report 8: every receipt of every item valued (the stock is all of them).
void BM_StockValueFifo(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    OwnedJob own;
    for (auto _ : state) RunToText(own.job, 8, int(state.range(0)), "F0000:F9999", state);
    state.counters["receipts/s"] =
        benchmark::Counter(double(Items) * Receipts * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StockValueFifo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Report 73 over the year's receipts of every item, quantities and values.
void BM_ItemHistoryYear(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    OwnedJob own;
    for (auto _ : state) RunToText(own.job, 73, int(state.range(0)), "H0000:H9999", state);
    state.counters["entries/s"] =
        benchmark::Counter(double(HistoryItems) * Days * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ItemHistoryYear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The peer: the item-history entries of the items walked by item and
// date, each entry's purchase read, nothing valued or printed.
void WalkPeer(benchmark::State &state, const char *prefix, int items, int perItem) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    char code[16];
    for (auto _ : state) {
        RuleRecord entry(ItemHistVc::Number), purchase(PUVc::Number);
        int read = 0;
        for (int i = 1; i <= items; i++) {
            Code(prefix, i, code);
            RecClear(ItemHistVc::Number, entry.record);
            Text(entry.record, ItemHistVc::ItemCode, 20, code);
            uint32_t recid = 0, position = 0;
            if (!RecFindByIndex(ItemHistVc::Number, "ItemDate", entry.record, 1, 0, &recid, &position)) continue;
            for (uint32_t p = position;; p++) {
                if (p != position && !RecReadAtIndex(ItemHistVc::Number, "ItemDate", int32_t(p), entry.record, &recid))
                    break;
                PString got, want;
                GetText(entry.record, ItemHistVc::ItemCode, got);
                PStringFromC(want, code);
                if (!PStringEqual(got, want)) break;
                PutU32(purchase.record, PUVc::SerNr, GetU32(entry.record, ItemHistVc::DocNr));
                uint32_t pid = 0, ppos = 0;
                if (RecFind(PUVc::Number, purchase.record, 1, 1, &pid, &ppos)) read++;
            }
        }
        if (read != items * perItem) return state.SkipWithError("the walk did not read every entry");
    }
    state.counters["entries/s"] =
        benchmark::Counter(double(items) * perItem * double(state.iterations()), benchmark::Counter::kIsRate);
}
void BM_StockValueWalkPeer(benchmark::State &state) { WalkPeer(state, "F", Items, Receipts); }
BENCHMARK(BM_StockValueWalkPeer)->Unit(benchmark::kMillisecond);
void BM_ItemHistoryWalkPeer(benchmark::State &state) { WalkPeer(state, "H", HistoryItems, Days); }
BENCHMARK(BM_ItemHistoryWalkPeer)->Unit(benchmark::kMillisecond);

}  // namespace
