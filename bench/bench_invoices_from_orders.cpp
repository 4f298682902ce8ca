// bench_invoices_from_orders.cpp - batch routine 13 over many open
// orders: 10,000 orders of 1,000 customers (ten each, two rows each,
// everything shipped) invoiced in one run, once with the rows in full
// (way 0) and once as one summary invoice a customer with its item
// history (way 1). Each way has its own customers, so each run finds
// its orders open; a run invoices them all, so it is timed once.
//
// The peer, timed in the same run, is the bare store of as many invoices of
// as many rows (RecStore, no fill and no hooks); ratio = run time / bare
// store time. Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use the
// full sizes; smoke runs small ones, so the test build's smoke run stays
// short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "operations/batch_routines.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

// The job the runs measured are handed.
uint8_t Selection[ReportParamsSize];
ReportJob Job{Selection};

const int Customers = BenchSize<int>(1000, 10), OrdersEach = BenchSize<int>(10, 3);
constexpr int RowsEach = 2;

void PutC(uint8_t *base, uint32_t offset, int max, const std::string &text)
{
    uint8_t p[256];
    PStringFromC(p, text.c_str());
    PutPString(base, offset, max, p);
}

PackedDecimal Num(int v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

// Customer `prefix`NNNN's code.
std::string CustomerCode(char prefix, int i)
{
    char code[16];
    std::snprintf(code, sizeof code, "%c%05d", prefix, i);
    return code;
}

bool StoreOrder(uint32_t serial, const std::string &customer)
{
    RuleRecord o(ORVc::Number);
    RecNewDefaults(ORVc::Number, o.record);
    PutU32(o.record, ORVc::SerNr, serial);
    PutC(o.record, ORVc::CustCode, 20, customer);
    for (int i = 0; i < RowsEach; i++) {
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        PutC(row, ORVc::Rows::ItemCode, 20, "S" + std::to_string(i));
        PutDec(row, ORVc::Rows::Quantity, Num(3));
        PutDec(row, ORVc::Rows::QtyShipped, Num(3));
        PutDec(row, ORVc::Rows::Price, Num(10 + i));
        PutC(row, ORVc::Rows::SalesAcc, 10, "3000");
        PutC(row, ORVc::Rows::VatCode, 2, "1");
        PutC(row, ORVc::Rows::StructCode, 20, "_");
        MatrixRowPut(ORVc::Number, 0, o.record, i, row);
    }
    OrderTotals(o.record);
    PutU16(o.record, ORVc::Open, 1);
    uint32_t recid = 0;
    return RecStore(ORVc::Number, o.record, 0, &recid);
}

// The company: rules, the invoice series, two items and, for each way,
// its customers (A..., B...) with their open orders. Once per program.
bool Company()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("invoices_from_orders")) return false;
    RulesInstall();
    TodayDate = DateRec{15, 6, 2024};
    std::vector<uint8_t> series(SeriesRow::Size, 0);
    PutU32(series.data(), SeriesRow::FirstNr, 1);
    PutU32(series.data(), SeriesRow::LastNr, 9999999);
    if (SettingsBlockStore(InvSeriesBlk::Number, series.data(), SeriesRow::Size) != RecDone) return false;
    uint32_t recid = 0, serial = 1;
    for (int i = 0; i < RowsEach; i++) {
        RuleRecord item(INVc::Number);
        PutC(item.record, INVc::Code, 20, "S" + std::to_string(i));
        if (!RecStore(INVc::Number, item.record, 0, &recid)) return false;
    }
    for (char prefix : {'A', 'B'})
        for (int c = 0; c < Customers; c++) {
            RuleRecord customer(CUVc::Number);
            PutC(customer.record, CUVc::Code, 20, CustomerCode(prefix, c));
            if (!RecStore(CUVc::Number, customer.record, 0, &recid)) return false;
            for (int o = 0; o < OrdersEach; o++)
                if (!StoreOrder(serial++, CustomerCode(prefix, c))) return false;
        }
    ready = 1;
    return true;
}

// The peer: count invoices of rows rows each stored bare.
bool BareStores(int count, int rows, uint32_t *serial)
{
    RuleRecord r(IVVc::Number);
    std::vector<uint8_t> row(IVVc::Rows::Size, 0);
    for (int n = 0; n < count; n++) {
        RecClear(IVVc::Number, r.record);
        for (int i = 0; i < rows; i++) MatrixRowPut(IVVc::Number, 0, r.record, i, row.data());
        PutU32(r.record, IVVc::SerNr, (*serial)++);
        uint32_t recid = 0;
        if (!RecStore(IVVc::Number, r.record, 0, &recid)) return false;
    }
    return true;
}

// Runs the routine in way `way` over the customers of prefix, against
// the bare store of what it makes.
void InvoiceAll(benchmark::State &state, uint16_t way, char prefix)
{
    if (!Company()) {
        state.SkipWithError("company not made");
        return;
    }
    const uint32_t before = RegRecordCount(IVVc::Number);
    double run = 0, bare = 0;
    uint32_t serial = 5000000;
    for (auto _ : state) {
        std::memset(Selection, 0, ReportParamsSize);
        PutU16(Selection, ReportParamsVc::ReportNumber, 13);
        PutU16(Selection, ReportParamsVc::ReportLayout, way);
        PutC(Selection, ReportParamsVc::SelText1, 255, CustomerCode(prefix, 0) + ":" + CustomerCode(prefix, 99999));
        auto t0 = std::chrono::steady_clock::now();
        if (!RunMaintenance(Job)) {
            state.SkipWithError("the run failed");
            return;
        }
        auto t1 = std::chrono::steady_clock::now();
        const uint32_t made = RegRecordCount(IVVc::Number) - before;
        const int rows = way == 0 ? OrdersEach * (RowsEach + 2) : OrdersEach;
        if (made != uint32_t(Customers) || !BareStores(int(made), rows, &serial)) {
            state.SkipWithError("not one invoice a customer, or the bare store failed");
            return;
        }
        auto t2 = std::chrono::steady_clock::now();
        run += std::chrono::duration<double>(t1 - t0).count();
        bare += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["ratio"] = bare > 0 ? run / bare : 0;
    state.counters["orders"] = Customers * OrdersEach;
}

void BM_OrdersRowsInFull(benchmark::State &state) { InvoiceAll(state, 0, 'A'); }
void BM_OrdersSummarised(benchmark::State &state) { InvoiceAll(state, 1, 'B'); }

BENCHMARK(BM_OrdersRowsInFull)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdersSummarised)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
