// bench_document_flow.cpp - the document flow's conversions: an order of
// 300 rows made into a delivery and into an invoice (filled, numbered and
// inserted with every hook), and 1,000 small orders converted one after
// the other into invoices.
//
// The peer, timed in the same run, is the bare store of a record of the
// same rows (RecStore, no fill and no hooks); ratio = conversion time /
// bare store time. Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use
// the full sizes; smoke runs small ones, so the test build's smoke run
// stays short.
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
#include "rules/convert_document.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

const int BigOrderRows = BenchSize<int>(300, 30), SmallOrders = BenchSize<int>(1000, 20);



// Stores an order of n rows over ten service items, every unit shipped
// (so that an invoice takes them all); its record id, 0 when refused.
uint32_t StoreOrder(uint32_t serial, int n) {
    RuleRecord o(ORVc::Number);
    RecNewDefaults(ORVc::Number, o.record);
    PutU32(o.record, ORVc::SerNr, serial);
    BenchPutText(o.record, ORVc::CustCode, 20, "C1");
    for (int i = 0; i < n; i++) {
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        BenchPutText(row, ORVc::Rows::ItemCode, 20, "S" + std::to_string(i % 10));
        PutDec(row, ORVc::Rows::Quantity, BenchNum(1000000));
        PutDec(row, ORVc::Rows::QtyShipped, BenchNum(2));
        PutDec(row, ORVc::Rows::Price, BenchNum(10 + i % 7));
        BenchPutText(row, ORVc::Rows::StructCode, 20, "_");
        MatrixRowPut(ORVc::Number, 0, o.record, i, row);
    }
    OrderTotals(o.record);
    uint32_t recid = 0;
    return RecInsertUnchecked(ORVc::Number, o.record, &recid) ? recid : 0;
}

// The company: rules installed, a customer, ten items not kept in stock,
// the number series, the big order and the small ones. Once per program.
// SmallOrderIds are the small orders not invoiced yet; the library runs a
// benchmark more than once in the process (one iteration, then as many as
// fill the minimum time), so a run never counts on what an earlier run
// left, and the serials of the orders made go on from run to run.
uint32_t BigOrder = 0;
std::vector<uint32_t> SmallOrderIds;
uint32_t NextOrderSerial = 2000000;
// The peers' serials lie above the series (1..9,999,999), so a converted
// document's number (the greatest of the series plus one) never meets one.
uint32_t NextBareSerial = 20000000;

bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("document_flow")) return false;
    RulesInstall();
    TodayDate = DateRec{15, 6, 2024};
    for (int block : {DeliverySeriesBlk::Number, InvSeriesBlk::Number, OrderSeriesBlk::Number})
        if (!BenchSeries(block, 9999999)) return false;
    RuleRecord customer(CUVc::Number);
    BenchPutText(customer.record, CUVc::Code, 20, "C1");
    uint32_t recid = 0;
    if (!RecStore(CUVc::Number, customer.record, 0, &recid)) return false;
    for (int i = 0; i < 10; i++) {
        RuleRecord item(INVc::Number);
        BenchPutText(item.record, INVc::Code, 20, "S" + std::to_string(i));
        if (!RecStore(INVc::Number, item.record, 0, &recid)) return false;
    }
    BigOrder = StoreOrder(1, BigOrderRows);
    for (int i = 0; i < SmallOrders; i++) SmallOrderIds.push_back(StoreOrder(100 + (uint32_t)i, 3));
    ready = BigOrder != 0 ? 1 : -1;
    return ready > 0;
}

// Converts order into a new record of kind; true when one was made.
bool Convert(int kind, int reg, uint32_t linkAt, uint32_t order) {
    RuleRecord r(reg);
    PutU32(r.record, linkAt, order);
    uint32_t made = SerialNone;
    return ConvertDocument(kind, 0, r.record, &made);
}

// The peer: a record of the order's rows stored bare.
bool BareStore(int reg, int rows, uint32_t serial) {
    RuleRecord r(reg);
    uint32_t rowSize = RecRowSize(reg);
    std::vector<uint8_t> row(rowSize, 0);
    for (int i = 0; i < rows; i++) MatrixRowPut(reg, 0, r.record, i, row.data());
    PutU32(r.record, reg == SHVc::Number ? SHVc::SerNr : IVVc::SerNr, serial);
    uint32_t recid = 0;
    return RecStore(reg, r.record, 0, &recid);
}

// Times one conversion of a big order made afresh (untimed) for each
// iteration, since a converted order has nothing left to deliver or
// invoice, against the bare store of as many rows.
void ConvertBig(benchmark::State &state, int kind, int reg, uint32_t linkAt) {
    if (!Company()) {
        state.SkipWithError("company not made");
        return;
    }
    double converted = 0, bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const uint32_t order = StoreOrder(NextOrderSerial++, BigOrderRows);
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        if (!order || !Convert(kind, reg, linkAt, order)) {
            state.SkipWithError("conversion made nothing");
            return;
        }
        auto t1 = std::chrono::steady_clock::now();
        if (!BareStore(reg, BigOrderRows, NextBareSerial++)) {
            state.SkipWithError("bare store failed");
            return;
        }
        auto t2 = std::chrono::steady_clock::now();
        converted += std::chrono::duration<double>(t1 - t0).count();
        bare += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["ratio"] = bare > 0 ? converted / bare : 0;
    state.counters["rows"] = BigOrderRows;
}

void BM_OrderToDelivery(benchmark::State &state) { ConvertBig(state, ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr); }
void BM_OrderToInvoice(benchmark::State &state) { ConvertBig(state, ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr); }

// SmallOrders orders converted into invoices in a row, in orders per second.
void BM_OrdersInARow(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("company not made");
        return;
    }
    double converted = 0, bare = 0;
    for (auto _ : state) {
        // Orders once invoiced have nothing left: each round has its own,
        // the company's for the first round of the process.
        state.PauseTiming();
        if (SmallOrderIds.empty())
            for (int i = 0; i < SmallOrders; i++) SmallOrderIds.push_back(StoreOrder(NextOrderSerial++, 3));
        state.ResumeTiming();
        auto t0 = std::chrono::steady_clock::now();
        for (uint32_t id : SmallOrderIds)
            if (!Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, id)) {
                state.SkipWithError("conversion made nothing");
                return;
            }
        auto t1 = std::chrono::steady_clock::now();
        for (size_t i = 0; i < SmallOrderIds.size(); i++)
            if (!BareStore(IVVc::Number, 3, NextBareSerial++)) {
                state.SkipWithError("bare store failed");
                return;
            }
        auto t2 = std::chrono::steady_clock::now();
        converted += std::chrono::duration<double>(t1 - t0).count();
        bare += std::chrono::duration<double>(t2 - t1).count();
        SmallOrderIds.clear();
    }
    state.counters["ratio"] = bare > 0 ? converted / bare : 0;
    state.counters["orders_per_s"] =
        benchmark::Counter(double(SmallOrders) * double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_OrderToDelivery)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderToInvoice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdersInARow)->Unit(benchmark::kMillisecond);

}  // namespace
