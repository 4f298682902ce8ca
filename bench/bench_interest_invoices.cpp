// bench_interest_invoices.cpp - the cost of routine 4 (interest invoices)
// over a large company: 2,000 customers charged interest with 20,000
// open items, ten each, all late at the period's end, each with its
// invoice; the run makes one interest invoice a customer and raises
// every late invoice's notice count.
//
// The peer, timed in the same run, is the bare walk the routine cannot do
// without: every customer and, through the open items' customer index, its
// open items and their invoices read, with no rows made and nothing stored.
// ratio = the routine's time / the bare walk's. Full runs
// (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes; smoke runs
// small ones, so the test build's smoke run stays short.
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
#include "rules/rules_types.h"

namespace {

// The job the runs measured are handed.
uint8_t Selection[ReportParamsSize];
ReportJob Job{Selection};

const bool Full = BenchFullSizes();
const int Customers = Full ? 2000 : 20;
constexpr int ItemsPerCustomer = 10;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string CustomerCode(int i) { return "K" + std::to_string(100000 + i); }

PackedDecimal Amount(int32_t v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

// The sales settings, the interest block (12 % a year, the block's rate)
// and the customers with their late invoices and open items. Once per
// program.
bool Company()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("interest") || !BenchSalesSettings()) return false;
    std::vector<uint8_t> interest(InterestBlk::Size);
    PutDec(interest.data(), InterestBlk::Rate, Amount(12));
    PutU16(interest.data(), InterestBlk::RateMethod, 1);
    if (SettingsBlockStore(InterestBlk::Number, interest.data(), InterestBlk::Size) != RecDone) return false;
    DbHoldBegin();
    bool ok = true;
    for (int c = 0; ok && c < Customers; c++) {
        const std::string code = CustomerCode(c);
        ok = BenchStorePlain(CUVc::Number, [&](uint8_t *r) {
            BenchPutText(r, CUVc::Code, 20, code);
            PutU16(r, CUVc::InterestFlag, 1);
        });
        for (int k = 0; ok && k < ItemsPerCustomer; k++) {
            const uint32_t serial = uint32_t(1000000 + c * ItemsPerCustomer + k);
            const DateRec due{uint16_t(1 + k), 4, 2024};
            ok = BenchStorePlain(IVVc::Number, [&](uint8_t *r) {
                BenchPutText(r, IVVc::CustCode, 20, code);
                PutU32(r, IVVc::SerNr, serial);
                PutU16(r, IVVc::InvType, 1);
                PutDate(r, IVVc::InvDate, DateRec{1, 3, 2024});
                PutDate(r, IVVc::PayDate, due);
                PutI32(r, IVVc::NoticeCount, -1);
            }) && BenchStorePlain(ARVc::Number, [&](uint8_t *r) {
                PutU32(r, ARVc::InvoiceNr, serial);
                BenchPutText(r, ARVc::CustCode, 20, code);
                PutDec(r, ARVc::OpenAmount, Amount(1000 + 100 * k));
                PutDate(r, ARVc::DueDate, due);
            });
        }
    }
    if (!ok) DbHoldFail();
    ready = DbHoldEnd() && ok ? 1 : -1;
    return ready > 0;
}

void Select()
{
    std::fill(Selection, Selection + ReportParamsSize, uint8_t(0));
    PutU16(Selection, ReportParamsVc::ReportNumber, 4);
    PutDate(Selection, ReportParamsVc::Date2From, DateRec{1, 5, 2024});
    PutDate(Selection, ReportParamsVc::Date2To, DateRec{31, 5, 2024});
}

// Every customer, its open items by the customer index and their
// invoices read; the number of open items seen.
int BareWalk()
{
    RuleRecord customer(CUVc::Number), item(ARVc::Number), inv(IVVc::Number);
    int seen = 0;
    uint32_t recid = 0;
    for (int32_t p = 1; RecReadAt(CUVc::Number, p, customer.record, &recid); p++) {
        uint8_t code[256], own[256];
        GetText(customer.record, CUVc::Code, code);
        PutText(item.record, ARVc::CustCode, code);
        uint32_t position = 0;
        if (!RecFindByIndex(ARVc::Number, "CustCode", item.record, 1, 0, &recid, &position) || position == 0)
            continue;
        for (uint32_t q = position; RecReadAtIndex(ARVc::Number, "CustCode", int32_t(q), item.record, &recid); q++) {
            GetText(item.record, ARVc::CustCode, own);
            if (!PStringEqual(own, code)) break;
            PutU32(inv.record, IVVc::SerNr, GetU32(item.record, ARVc::InvoiceNr));
            uint32_t at = 0;
            RecFindByIndex(IVVc::Number, "SerNr", inv.record, 1, 1, &recid, &at);
            seen++;
        }
    }
    return seen;
}

int InterestInvoicesMade()
{
    RuleRecord inv(IVVc::Number);
    int made = 0;
    uint32_t recid = 0;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, inv.record, &recid); p++) {
        if (GetU16(inv.record, IVVc::InvType) == 4) made++;
        RecFreeMatrix(IVVc::Number, inv.record);
    }
    return made;
}

void BM_InterestInvoiceRun(benchmark::State &state)
{
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    double routine = 0, bare = 0;
    int runs = 0;
    for (auto _ : state) {
        Select();
        Clock::time_point t = Clock::now();
        bool ran = RunMaintenance(Job);
        routine += Seconds(t);
        state.PauseTiming();
        runs++;
        if (!ran || InterestInvoicesMade() != Customers * runs) {
            state.SkipWithError("routine 4 did not make one invoice a customer");
            return;
        }
        t = Clock::now();
        if (BareWalk() != Customers * ItemsPerCustomer) {
            state.SkipWithError("the bare walk missed open items");
            return;
        }
        bare += Seconds(t);
        state.ResumeTiming();
    }
    state.counters["customers"] = Customers;
    state.counters["open_items"] = Customers * ItemsPerCustomer;
    state.counters["ms_per_customer"] = routine / double(state.iterations()) / Customers * 1e3;
    state.counters["ratio"] = bare > 0 ? routine / bare : 0;
}
BENCHMARK(BM_InterestInvoiceRun)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
