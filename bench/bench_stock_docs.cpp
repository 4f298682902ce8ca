// bench_stock_docs.cpp - the cost of keeping stock in step: deliveries and
// goods receipts of 10, 100 and 300 rows inserted, shipped or received
// and deleted through the record layer with every hook; the FIFO value of
// an item with 1,000 receipts; and a mixed workload of stock documents,
// in documents per second.
//
// The peer of each, timed in the same run, is the bare store of the same
// records with no hooks (RecStore); ratio = the hooked time / the bare one.
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes;
// smoke runs small ones, so the test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_store.h"
#include "bench/bench_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "operations/stock_docs.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"

namespace {

const int Receipts = BenchSize<int>(1000, 40), WorkloadDocs = BenchSize<int>(10000, 60);



// The company: the rules installed, ten stocked items at one location,
// number series, and Receipts purchases of item FIFO. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("stock_docs")) return false;
    RulesInstall();
    TodayDate = DateRec{15, 6, 2024};
    for (int block : {DeliverySeriesBlk::Number, PurchSeriesBlk::Number, OrderSeriesBlk::Number,
                      StockMoveSeriesBlk::Number, PurchOrderSeriesBlk::Number, ProdSeriesBlk::Number})
        if (!BenchSeries(block, 999999)) return false;
    DbHoldBegin();
    for (int i = 0; i < 10; i++) {
        RuleRecord item(INVc::Number);
        BenchPutText(item.record, INVc::Code, 20, "I" + std::to_string(i));
        PutU16(item.record, INVc::Stocked, 1);
        uint32_t recid = 0;
        if (!RecStore(INVc::Number, item.record, 0, &recid)) return false;
    }
    RuleRecord item(INVc::Number);
    BenchPutText(item.record, INVc::Code, 20, "FIFO");
    PutU16(item.record, INVc::Stocked, 1);
    uint32_t recid = 0;
    if (!RecStore(INVc::Number, item.record, 0, &recid)) return false;
    for (int i = 0; i < Receipts; i++) {
        RuleRecord p(PUVc::Number);
        PutU32(p.record, PUVc::SerNr, 900000 + (uint32_t)i);
        PutDate(p.record, PUVc::TransDate, DateRec{(uint16_t)(1 + i % 28), (uint16_t)(1 + i % 12), 2020});
        uint8_t row[PUVc::Rows::Size] = {};
        BenchPutText(row, PUVc::Rows::ItemCode, 20, "FIFO");
        PutDec(row, PUVc::Rows::Quantity, BenchNum(2));
        PutDec(row, PUVc::Rows::UnitCost, BenchNum(3 + i % 7));
        MatrixRowPut(PUVc::Number, 0, p.record, 0, row);
        PutU16(p.record, PUVc::Received, 1);
        if (!RecStore(PUVc::Number, p.record, 0, &recid) || !StockHistoryFromPurchase(p.record) ||
            !LocationStockFromPurchase(p.record, 1))
            return false;
    }
    if (!DbHoldEnd()) return false;
    ready = 1;
    return true;
}

// A delivery or a goods receipt of n rows over the ten items.
void Fill(int reg, uint8_t *r, int n) {
    RecNewDefaults(reg, r);
    for (int i = 0; i < n; i++) {
        if (reg == SHVc::Number) {
            uint8_t row[SHVc::Rows::Size] = {};
            PutU32(row, SHVc::Rows::OrderRowNr, SerialNone);
            BenchPutText(row, SHVc::Rows::ItemCode, 20, "I" + std::to_string(i % 10));
            PutDec(row, SHVc::Rows::QtyLeft, BenchNum(100));
            PutDec(row, SHVc::Rows::ToDeliver, BenchNum(1));
            BenchPutText(row, SHVc::Rows::StructCode, 20, "_");
            MatrixRowPut(reg, 0, r, i, row);
        } else {
            uint8_t row[PUVc::Rows::Size] = {};
            BenchPutText(row, PUVc::Rows::ItemCode, 20, "I" + std::to_string(i % 10));
            PutDec(row, PUVc::Rows::Quantity, BenchNum(1));
            PutDec(row, PUVc::Rows::UnitCost, BenchNum(5));
            PutU32(row, PUVc::Rows::PORowNr, SerialNone);
            MatrixRowPut(reg, 0, r, i, row);
        }
    }
}

// One document's life through the hooks: inserted, shipped or received
// (kind 15 or 20), and a second one inserted and deleted unshipped.
bool HookedCycle(int reg, int rows) {
    RuleRecord r(reg), s(reg);
    Fill(reg, r.record, rows);
    uint32_t recid = 0, other = 0;
    int result = 0;
    RecInsertChecked(reg, r.record, &recid, &result);
    const ApproveKind kind = reg == SHVc::Number ? ApproveKindShipDelivery : ApproveKindPurchaseToStock;
    if (result != RecDone || !ApproveRecord(kind, reg, recid)) return false;
    Fill(reg, s.record, rows);
    RecInsertChecked(reg, s.record, &other, &result);
    return result == RecDone && RecDeleteChecked(reg, s.record, &other, "") == RecDone;
}

// The same records stored and deleted bare.
bool BareCycle(int reg, int rows) {
    RuleRecord r(reg), s(reg);
    Fill(reg, r.record, rows);
    Fill(reg, s.record, rows);
    PutU32(r.record, 0, 800000), PutU32(s.record, 0, 800001);
    uint32_t recid = 0, other = 0;
    DbHoldBegin();
    bool ok = RecStore(reg, r.record, 0, &recid) && RecStore(reg, r.record, 1, &recid) &&
              RecStore(reg, s.record, 0, &other) && RecDeleteHooked(reg, s.record, other) &&
              RecDeleteHooked(reg, r.record, recid);
    return DbHoldEnd() && ok;
}

// Times fn once, in seconds.
template <typename F> double Seconds(F fn) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Documents(benchmark::State &state, int reg) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    const int rows = (int)state.range(0);
    double hooked = 0, bare = 0;
    for (auto _ : state) {
        bool ok = true;
        hooked += Seconds([&] { ok = HookedCycle(reg, rows); });
        state.PauseTiming();
        RegisterHooks saved = RegisterHookTable[(size_t)reg];
        RegisterHookTable[(size_t)reg] = RegisterHooks{};
        bare += Seconds([&] { ok = ok && BareCycle(reg, rows); });
        RegisterHookTable[(size_t)reg] = saved;
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("a document was refused");
            return;
        }
    }
    state.counters["ratio"] = bare > 0 ? hooked / bare : 0;
    state.counters["rows"] = rows;
}
void BM_Deliveries(benchmark::State &state) { Documents(state, SHVc::Number); }
void BM_GoodsReceipts(benchmark::State &state) { Documents(state, PUVc::Number); }
BENCHMARK(BM_Deliveries)->Arg(10)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GoodsReceipts)->Arg(10)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

// The FIFO value of all Receipts receipts (every one read); the peer is
// reading the same purchases by serial.
void BM_FifoValue(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    uint8_t code[256], all[1] = {0};
    PStringFromC(code, "FIFO");
    PackedDecimal qty = BenchNum(2 * Receipts), value;
    double walk = 0, bare = 0;
    for (auto _ : state) {
        walk += Seconds([&] { StockFifoValue(code, all, &qty, &value, false, false, nullptr); });
        state.PauseTiming();
        bare += Seconds([&] {
            RuleRecord p(PUVc::Number);
            for (int i = 0; i < Receipts; i++) {
                PutU32(p.record, PUVc::SerNr, 900000 + (uint32_t)i);
                uint32_t recid = 0, position = 0;
                benchmark::DoNotOptimize(RecFind(PUVc::Number, p.record, 1, 1, &recid, &position));
            }
        });
        state.ResumeTiming();
    }
    if (DecIsBlank(&value)) state.SkipWithError("no value");
    state.counters["ratio"] = bare > 0 ? walk / bare : 0;
}
BENCHMARK(BM_FifoValue)->Unit(benchmark::kMillisecond);

// A mixed workload: orders, purchase orders, goods receipts received,
// deliveries shipped by kind 15 and stock movements, in documents per
// second.
void BM_Workload(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < WorkloadDocs; i++) {
            const int kind = i % 5;
            const int reg = kind == 0   ? ORVc::Number
                            : kind == 1 ? PurchOrderVc::Number
                            : kind == 2 ? PUVc::Number
                            : kind == 3 ? SHVc::Number
                                        : StockMoveVc::Number;
            RuleRecord r(reg);
            RecNewDefaults(reg, r.record);
            const std::string item = "I" + std::to_string(i % 10);
            switch (reg) {
            case ORVc::Number: {
                uint8_t row[ORVc::Rows::Size] = {};
                PutU16(row, ORVc::Rows::Kind, 1);
                BenchPutText(row, ORVc::Rows::ItemCode, 20, item);
                PutDec(row, ORVc::Rows::Quantity, BenchNum(2));
                BenchPutText(row, ORVc::Rows::StructCode, 20, "_");
                PutU16(r.record, ORVc::Reserves, 1);
                MatrixRowPut(reg, 0, r.record, 0, row);
                uint32_t recid = 0;
                if (!RecInsertUnchecked(reg, r.record, &recid)) state.SkipWithError("order");
                continue;
            }
            case PurchOrderVc::Number: {
                uint8_t row[PurchOrderVc::Rows::Size] = {};
                BenchPutText(row, PurchOrderVc::Rows::ItemCode, 20, item);
                PutDec(row, PurchOrderVc::Rows::Quantity, BenchNum(3));
                MatrixRowPut(reg, 0, r.record, 0, row);
                break;
            }
            case StockMoveVc::Number: {
                uint8_t row[StockMoveVc::Rows::Size] = {};
                BenchPutText(row, StockMoveVc::Rows::ItemCode, 20, item);
                PutDec(row, StockMoveVc::Rows::Quantity, BenchNum(1));
                MatrixRowPut(reg, 0, r.record, 0, row);
                BenchPutText(r.record, StockMoveVc::ToLocation, 10, "B");
                PutU16(r.record, StockMoveVc::Done, 1);
                break;
            }
            default: Fill(reg, r.record, 3); break;
            }
            if (reg == PUVc::Number) PutU16(r.record, PUVc::Received, 1);
            if (reg == SHVc::Number) PutU16(r.record, SHVc::Shipped, 1);
            uint32_t recid = 0;
            if (!RecInsertUnchecked(reg, r.record, &recid)) {
                state.SkipWithError("a document was refused");
                return;
            }
        }
    }
    state.counters["docs_per_second"] =
        benchmark::Counter((double)WorkloadDocs * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Workload)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
