// bench_replenishment.cpp - the cost of the replenishment runs: the
// purchase-order suggestion over 10,000 items below their minimum of 200
// vendors, and purchase orders from 2,000 sales orders of 20 rows each
// (routine 12, one purchase order per vendor and sales order).
//
// The peer of each, timed in the same run, is the bare walk that reads the
// same records (the items with their suppliers, the orders with their rows)
// and stores nothing; ratio = the run / the walk. Full runs
// (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes; smoke runs
// small ones, so the test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_store.h"
#include "bench/bench_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "operations/replenishment.h"
#include "rules/hooks.h"
#include "rules/purchase_from_orders.h"
#include "rules/rules_types.h"

namespace {

// The job the runs measured are handed.
uint8_t Selection[ReportParamsSize];
ReportJob Job{Selection};

const int Items = BenchSize<int>(10000, 60), Vendors = BenchSize<int>(200, 6), Orders = BenchSize<int>(2000, 6), OrderRows = BenchSize<int>(20, 20);

std::string ItemCode(int i) { return "I" + std::to_string(100000 + i); }

// The company: the rules, number series, Items stocked items with a
// minimum of 5 and a default supplier (vendor i mod Vendors), and Orders
// sales orders of OrderRows rows, stored bare. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("replenishment")) return false;
    RulesInstall();
    TodayDate = DateRec{15, 6, 2024};
    std::vector<uint8_t> row(SeriesRow::Size, 0);
    PutU32(row.data(), SeriesRow::FirstNr, 1);
    PutU32(row.data(), SeriesRow::LastNr, 999999);
    if (SettingsBlockStore(PurchOrderSeriesBlk::Number, row.data(), SeriesRow::Size) != RecDone) return false;
    DbHoldBegin();
    uint32_t recid = 0;
    for (int i = 0; i < Items; i++) {
        RuleRecord item(INVc::Number), source(PurchItemVc::Number);
        const std::string vendor = "V" + std::to_string(i % Vendors);
        BenchPutText(item.record, INVc::Code, 20, ItemCode(i));
        PutU16(item.record, INVc::Stocked, 1);
        PutDec(item.record, INVc::MinStock, BenchNum(5));
        BenchPutText(item.record, INVc::VendCode, 10, vendor);
        BenchPutText(source.record, PurchItemVc::ItemCode, 20, ItemCode(i));
        BenchPutText(source.record, PurchItemVc::VendCode, 20, vendor);
        BenchPutText(source.record, PurchItemVc::Text, 60, "Item " + std::to_string(i));
        PutDec(source.record, PurchItemVc::Price, BenchNum(7));
        PutDec(source.record, PurchItemVc::PriceUnit, BenchNum(1));
        PutU16(source.record, PurchItemVc::Default, 1);
        if (!RecStore(INVc::Number, item.record, 0, &recid) || !RecStore(PurchItemVc::Number, source.record, 0, &recid))
            return false;
    }
    for (int o = 0; o < Orders; o++) {
        RuleRecord order(ORVc::Number);
        PutU32(order.record, ORVc::SerNr, 1 + (uint32_t)o);
        PutDate(order.record, ORVc::OrdDate, TodayDate);
        for (int r = 0; r < OrderRows; r++) {
            uint8_t line[ORVc::Rows::Size] = {};
            PutU16(line, ORVc::Rows::Kind, 1);
            BenchPutText(line, ORVc::Rows::ItemCode, 20, ItemCode((o * OrderRows + r) % Items));
            PutDec(line, ORVc::Rows::Quantity, BenchNum(3));
            MatrixRowPut(ORVc::Number, 0, order.record, r, line);
        }
        if (!RecStore(ORVc::Number, order.record, 0, &recid)) return false;
    }
    if (!DbHoldEnd()) return false;
    ready = 1;
    return true;
}

// Removes what a run made, so that every run starts from the same stock.
bool Reset() { return RegDeleteAll(PurchOrderVc::Number) && RegDeleteAll(LSVc::Number); }

template <typename F> double Seconds(F fn) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The bare walk of the items and their default suppliers.
void ItemWalk() {
    RuleRecord item(INVc::Number), source(PurchItemVc::Number);
    uint32_t recid = 0;
    uint8_t code[256];
    for (int32_t p = 1; RecReadAtIndex(INVc::Number, "Code", p, item.record, &recid); p++) {
        GetText(item.record, INVc::Code, code);
        Pi1DefaultChoice(code, source.record);
    }
}

// The bare walk of the orders and their rows' items.
void OrderWalk() {
    RuleRecord order(ORVc::Number), item(INVc::Number);
    uint32_t recid = 0, position = 0;
    uint8_t line[ORVc::Rows::Size], code[256];
    for (int32_t p = 1; RecReadAtIndex(ORVc::Number, "SerNr", p, order.record, &recid); p++) {
        for (int32_t r = 0, n = MatrixRowCount(ORVc::Number, 0, order.record); r < n; r++) {
            if (!MatrixRowRead(ORVc::Number, order.record, r, line)) continue;
            GetText(line, ORVc::Rows::ItemCode, code);
            RecClear(INVc::Number, item.record);
            PutText(item.record, INVc::Code, code);
            RecFind(INVc::Number, item.record, 1, 1, &recid, &position);
        }
    }
}

template <typename Run, typename Walk>
void Measure(benchmark::State &state, Run run, Walk walk, int count, const char *what) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    double ran = 0, bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bool ok = Reset();
        state.ResumeTiming();
        ran += Seconds([&] { ok = ok && run(); });
        state.PauseTiming();
        bare += Seconds(walk);
        state.ResumeTiming();
        if (!ok || RegRecordCount(PurchOrderVc::Number) == 0 || ReplenishmentNotStored != 0) {
            state.SkipWithError("the run made no purchase orders");
            return;
        }
    }
    state.counters["ratio"] = bare > 0 ? ran / bare : 0;
    state.counters[what] = count;
    state.counters["orders_made"] = (double)RegRecordCount(PurchOrderVc::Number);
}

void BM_PurchaseOrderSuggestion(benchmark::State &state) {
    std::vector<uint8_t> block(ReportParamsVc::Size, 0);
    Measure(state, [&] { return PurchaseOrderSuggestion(block.data()); }, ItemWalk, Items, "items");
}
BENCHMARK(BM_PurchaseOrderSuggestion)->Unit(benchmark::kMillisecond);

void BM_OrdersToPurchaseOrders(benchmark::State &state) {
    Measure(state,
            [] {
                std::memset(Selection, 0, ReportParamsVc::Size);
                return OrdersToPurchaseOrders(Job);
            },
            OrderWalk, Orders, "sales_orders");
}
BENCHMARK(BM_OrdersToPurchaseOrders)->Unit(benchmark::kMillisecond);

}  // namespace
