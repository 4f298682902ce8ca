// bench_batch_routines.cpp - the cost of two batch routines over a large
// company: routine 8 approving 10,000 unposted sales invoices of ten rows
// each (voucher, open item, stock and history for every one), and
// routine 11 setting the cost price of 5,000 stocked items from the FIFO
// value of their stock, each item with 100 receipts.
//
// The peer of each, timed in the same run, is the bare walk over the same
// records with the same record writes and no rules: ratio = the routine's
// time / the bare walk's (what the rules cost on top of the disk). Full
// runs (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes; smoke
// runs small ones, so the test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_sales_company.h"
#include "bench/bench_store.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "operations/batch_routines.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"

namespace {

// The job the runs measured are handed.
uint8_t Selection[ReportParamsSize];
ReportJob Job{Selection};

// The full sizes when ORVEL_BENCH_FULL is set
// (figures of a debug build are its own); small ones otherwise.
const bool Full = BenchFullSizes();
const int Invoices = Full ? 10000 : 40, Items = Full ? 5000 : 20, Receipts = Full ? 100 : 5;
constexpr int InvoiceRows = 10, ItemsPerPurchase = 10;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string ItemCode(int i) { return "I" + std::to_string(100000 + i); }

// The settings invoices are approved with: fiscal year 2024, an invoice
// series, VAT code 1 at 25 %, the sales accounts and the main location,
// a customer and the accounts; the rules installed. Once per program.
bool Company()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("batch")) return false;
    if (!BenchSalesSettings()) return false;
    RulesInstall();
    ready = 1;
    return true;
}

// Stores `count` unposted invoices of ten service rows from serial
// `first`; false when one was not stored.
bool StoreInvoices(int32_t first, int count)
{
    RuleRecord inv(IVVc::Number);
    if (!inv.record) return false;
    PackedDecimal one, price, total, vat;
    DecFromLong(&one, 1);
    DecFromLong(&price, 100);
    DecFromLong(&total, 125 * InvoiceRows);
    DecFromLong(&vat, 25 * InvoiceRows);
    DbHoldBegin();
    bool ok = true;
    for (int k = 0; ok && k < count; k++) {
        RecFreeMatrix(IVVc::Number, inv.record);
        RecClear(IVVc::Number, inv.record);
        BenchPutText(inv.record, IVVc::CustCode, 20, "C1");
        PutU32(inv.record, IVVc::SerNr, uint32_t(first + k));
        PutDate(inv.record, IVVc::InvDate, DateRec{15, 6, 2024});
        PutDate(inv.record, IVVc::TransDate, DateRec{15, 6, 2024});
        PutDate(inv.record, IVVc::PayDate, DateRec{15, 7, 2024});
        PutU16(inv.record, IVVc::InvType, 1);
        for (uint32_t at : {IVVc::OrderNr, IVVc::CredInv, IVVc::CashDiscDays}) PutU32(inv.record, at, SerialNone);
        PutDec(inv.record, IVVc::Total, total);
        PutDec(inv.record, IVVc::Vat, vat);
        uint8_t row[IVVc::Rows::Size] = {};
        PutU16(row, IVVc::Rows::Kind, 1);
        BenchPutText(row, IVVc::Rows::ItemCode, 20, "SERVICE");
        PutDec(row, IVVc::Rows::Quantity, one);
        PutDec(row, IVVc::Rows::Price, price);
        PutDec(row, IVVc::Rows::Sum, price);
        BenchPutText(row, IVVc::Rows::SalesAcc, 10, "3010");
        BenchPutText(row, IVVc::Rows::VatCode, 2, "1");
        PutU32(row, IVVc::Rows::Link, SerialNone);
        for (int i = 0; i < InvoiceRows; i++) MatrixRowPut(IVVc::Number, 0, inv.record, i, row);
        uint32_t recid = 0;
        ok = RecStore(IVVc::Number, inv.record, 0, &recid);
    }
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok;
}

// Fills the job for routine `number` over the range text.
void Select(uint16_t number, const std::string &range)
{
    std::fill(Selection, Selection + ReportParamsSize, uint8_t(0));
    PutU16(Selection, ReportParamsVc::ReportNumber, number);
    BenchPutText(Selection, ReportParamsVc::SelText1, 255, range);
}

// The invoices of the serial range read in order, each written back as
// it was, in one hold: the walk routine 8 makes without its rules.
bool BareInvoiceWalk(int32_t first, int count)
{
    RuleRecord inv(IVVc::Number);
    PutU32(inv.record, IVVc::SerNr, uint32_t(first));
    uint32_t recid = 0, position = 0;
    if (!RecFind(IVVc::Number, inv.record, 1, 0, &recid, &position)) return false;
    DbHoldBegin();
    bool ok = true;
    for (int k = 0; ok && k < count; k++) {
        if (k > 0 && !RecReadAt(IVVc::Number, int32_t(position + uint32_t(k)), inv.record, &recid)) break;
        ok = RecStore(IVVc::Number, inv.record, 1, &recid);
    }
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok;
}

// Counts the posted invoices of the serial range.
int PostedIn(int32_t first, int count)
{
    RuleRecord inv(IVVc::Number);
    int posted = 0;
    for (int k = 0; k < count; k++) {
        PutU32(inv.record, IVVc::SerNr, uint32_t(first + k));
        uint32_t recid = 0, position = 0;
        if (RecFind(IVVc::Number, inv.record, 1, 1, &recid, &position) && GetU16(inv.record, IVVc::Posted) == 1)
            posted++;
    }
    return posted;
}

// Routine 8 over a fresh range of unposted invoices each iteration.
void BM_InvoiceRangeApprove(benchmark::State &state)
{
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    static int32_t next = 1;
    double routine = 0, bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        int32_t first = next;
        next += Invoices;
        if (!StoreInvoices(first, Invoices)) {
            state.SkipWithError("the invoices could not be stored");
            return;
        }
        Select(8, std::to_string(first) + ":" + std::to_string(first + Invoices - 1));
        state.ResumeTiming();
        Clock::time_point t = Clock::now();
        bool ran = RunMaintenance(Job);
        routine += Seconds(t);
        state.PauseTiming();
        if (!ran || PostedIn(first, Invoices) != Invoices) {
            state.SkipWithError("routine 8 did not approve every invoice");
            return;
        }
        t = Clock::now();
        if (!BareInvoiceWalk(first, Invoices)) {
            state.SkipWithError("the bare walk failed");
            return;
        }
        bare += Seconds(t);
        state.ResumeTiming();
    }
    state.counters["invoices"] = Invoices;
    state.counters["ms_per_invoice"] = routine / double(state.iterations()) / Invoices * 1e3;
    state.counters["ratio"] = bare > 0 ? routine / bare : 0;
}
BENCHMARK(BM_InvoiceRangeApprove)->Iterations(1)->Unit(benchmark::kMillisecond);

// The items, each stocked with Receipts units, one unit received by each
// of Receipts purchases of ten items' rows (one history entry per item
// and purchase). Once per program.
bool StockedItems()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!Company()) return false;
    PackedDecimal one, onHand, cost;
    DecFromLong(&one, 1);
    DecFromLong(&onHand, Receipts);
    DbHoldBegin();
    bool ok = true;
    for (int i = 0; ok && i < Items; i++)
        ok = BenchStorePlain(INVc::Number, [&](uint8_t *r) {
                 BenchPutText(r, INVc::Code, 20, ItemCode(i));
                 PutU16(r, INVc::Stocked, 1);
             }) &&
             BenchStorePlain(LSVc::Number, [&](uint8_t *r) {
                 BenchPutText(r, LSVc::ItemCode, 20, ItemCode(i));
                 BenchPutText(r, LSVc::Location, 10, "MAIN");
                 PutDec(r, LSVc::InStock, onHand);
             });
    uint32_t serial = 1;
    for (int block = 0; ok && block < Items / ItemsPerPurchase; block++)
        for (int p = 0; ok && p < Receipts; p++, serial++) {
            DateRec date{1, uint16_t(1 + p % 12), uint16_t(2000 + p / 12)};
            DecFromLong(&cost, 1 + p % 7);
            ok = BenchStorePlain(PUVc::Number, [&](uint8_t *r) {
                PutU32(r, PUVc::SerNr, serial);
                PutDate(r, PUVc::TransDate, date);
                for (int i = 0; i < ItemsPerPurchase; i++) {
                    uint8_t row[PUVc::Rows::Size] = {};
                    BenchPutText(row, PUVc::Rows::ItemCode, 20, ItemCode(block * ItemsPerPurchase + i));
                    PutDec(row, PUVc::Rows::Quantity, one);
                    PutDec(row, PUVc::Rows::UnitCost, cost);
                    MatrixRowPut(PUVc::Number, 0, r, i, row);
                }
            });
            for (int i = 0; ok && i < ItemsPerPurchase; i++)
                ok = BenchStorePlain(ItemHistVc::Number, [&](uint8_t *r) {
                    BenchPutText(r, ItemHistVc::ItemCode, 20, ItemCode(block * ItemsPerPurchase + i));
                    BenchPutText(r, ItemHistVc::Location, 10, "MAIN");
                    PutU16(r, ItemHistVc::DocType, PUVc::Number);
                    PutU32(r, ItemHistVc::DocNr, serial);
                    PutDate(r, ItemHistVc::HistDate, date);
                    PutU16(r, ItemHistVc::Receipt, 1);
                    PutDec(r, ItemHistVc::Quantity, one);
                    PutU16(r, ItemHistVc::Direction, 1);
                    PutU16(r, ItemHistVc::RowNr, uint16_t(i));
                });
        }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

// The items of the range read in order and written back as they were:
// the walk routine 11 makes without valuing any stock.
bool BareItemWalk()
{
    RuleRecord item(INVc::Number);
    BenchPutText(item.record, INVc::Code, 20, ItemCode(0));
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.record, 1, 0, &recid, &position)) return false;
    for (int k = 0; k < Items; k++) {
        if (k > 0 && !RecReadAt(INVc::Number, int32_t(position + uint32_t(k)), item.record, &recid)) return false;
        if (!RecStore(INVc::Number, item.record, 1, &recid)) return false;
    }
    return true;
}

// Routine 11 over every item.
void BM_ItemCostFromFifo(benchmark::State &state)
{
    if (!StockedItems()) {
        state.SkipWithError("the items could not be stored");
        return;
    }
    double routine = 0, bare = 0;
    for (auto _ : state) {
        Select(11, ItemCode(0) + ":" + ItemCode(Items - 1));
        Clock::time_point t = Clock::now();
        bool ran = RunMaintenance(Job);
        routine += Seconds(t);
        state.PauseTiming();
        RuleRecord item(INVc::Number);
        BenchPutText(item.record, INVc::Code, 20, ItemCode(Items - 1));
        uint32_t recid = 0, position = 0;
        PackedDecimal c{};
        if (ran && RecFind(INVc::Number, item.record, 1, 1, &recid, &position)) c = GetDec(item.record, INVc::CostPrice);
        if (!ran || DecIsBlank(&c) || DecSign(&c) <= 0) {
            state.SkipWithError("routine 11 set no cost price");
            return;
        }
        t = Clock::now();
        if (!BareItemWalk()) {
            state.SkipWithError("the bare walk failed");
            return;
        }
        bare += Seconds(t);
        state.ResumeTiming();
    }
    state.counters["items"] = Items;
    state.counters["receipts"] = Receipts;
    state.counters["ratio"] = bare > 0 ? routine / bare : 0;
}
BENCHMARK(BM_ItemCostFromFifo)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
