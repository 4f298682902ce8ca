// bench_customer_reports.cpp - the customer ledger (report 5) over many
// customers, each with an open invoice, a credit note against it and a
// receipt paying part of it: in open-item mode (the open items of today)
// and in as-of mode (each invoice with what paid it up to a date, read
// from the customer ledger), in the ageing layout to a text file;
// against the bare walk of the customers and their open items (ratio =
// report / walk).
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use 10,000 customers;
// smoke runs 150, so that the test build's smoke run stays short.
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
#include "platform/script.h"
#include "reports/frame/report_run.h"
#include "rules/rules_types.h"

namespace {

const int Customers = BenchSize<int>(10000, 150);

BenchWorkplace &Place() {
    static BenchWorkplace w("customer_reports");
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

template <typename Fill> bool Store(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    bool ok = RecStoreByKey(reg, r.record, 1, &recid);
    RecFreeMatrix(reg, r.record);
    return ok;
}

// Customer n (code "K00001".."), its invoice n and open item, a credit
// note Customers + n crediting 10 of it, and receipt n paying 50 of it,
// with their customer-ledger entries.
bool StoreCustomer(int n) {
    char code[16];
    std::snprintf(code, sizeof code, "K%05d", n);
    const DateRec date{1, uint16_t(1 + n % 12), 2024}, due{28, uint16_t(1 + n % 12), 2024};
    auto entry = [&](uint16_t kind, int32_t doc, int32_t invoice) {
        return Store(CustTransVc::Number, [&](uint8_t *r) {
            Text(r, CustTransVc::CustCode, 20, code);
            PutDate(r, CustTransVc::TransDate, date);
            PutU16(r, CustTransVc::Kind, kind);
            PutI32(r, CustTransVc::DocNr, doc);
            PutI32(r, CustTransVc::InvoiceNr, invoice);
            PutDate(r, CustTransVc::Date2, date);
        });
    };
    return Store(CUVc::Number,
                 [&](uint8_t *r) {
                     Text(r, CUVc::Code, 20, code);
                     Text(r, CUVc::Name, 60, code);
                 }) &&
           Store(IVVc::Number,
                 [&](uint8_t *r) {
                     Text(r, IVVc::CustCode, 20, code);
                     PutI32(r, IVVc::SerNr, n);
                     PutDate(r, IVVc::InvDate, date);
                     PutDate(r, IVVc::TransDate, date);
                     PutDate(r, IVVc::PayDate, due);
                     PutU16(r, IVVc::InvType, 1);
                     PutU16(r, IVVc::Posted, 1);
                     PutI32(r, IVVc::CredInv, -1);
                     Amount(r, IVVc::Total, 125 + n % 97);
                 }) &&
           Store(IVVc::Number,
                 [&](uint8_t *r) {
                     Text(r, IVVc::CustCode, 20, code);
                     PutI32(r, IVVc::SerNr, Customers + n);
                     PutDate(r, IVVc::InvDate, date);
                     PutU16(r, IVVc::InvType, 3);
                     PutU16(r, IVVc::Posted, 1);
                     PutI32(r, IVVc::CredInv, n);
                     Amount(r, IVVc::Total, 10);
                 }) &&
           Store(ARVc::Number,
                 [&](uint8_t *r) {
                     PutI32(r, ARVc::InvoiceNr, n);
                     Text(r, ARVc::CustCode, 20, code);
                     PutDate(r, ARVc::DueDate, due);
                     Amount(r, ARVc::OpenAmount, 65 + n % 97);
                 }) &&
           Store(IPVc::Number,
                 [&](uint8_t *r) {
                     PutI32(r, IPVc::SerNr, n);
                     PutDate(r, IPVc::TransDate, date);
                     uint8_t row[IPVc::Rows::Size] = {};
                     PutU16(row, IPVc::Rows::Kind, 1);
                     PutI32(row, IPVc::Rows::InvoiceNr, n);
                     Text(row, IPVc::Rows::CustCode, 20, code);
                     Amount(row, IPVc::Rows::Amount, 50);
                     MatrixRowPut(IPVc::Number, 0, r, 0, row);
                 }) &&
           entry(0, n, n) && entry(0, Customers + n, n) && entry(1, n, n);
}

bool Up() {
    if (State < 0) State = BenchUpWithParties(Place(), Customers, StoreCustomer);
    return State == 1;
}

// Report 5 in the ageing layout: range(0) 1 walks the invoices as of
// 30.6.2024, 0 the open items of today.
void BM_CustomerLedger(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    BenchAgeingRuns(state, 5, Place().dir / "ledger.txt", Customers, "customers/s");
}
BENCHMARK(BM_CustomerLedger)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The peer: every customer read by code with its open items, nothing
// printed.
void BM_CustomerWalkPeer(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    BenchPartyWalks(state, Customers, "customers/s", CUVc::Number, CUVc::Code, ARVc::Number, "CustCode", ARVc::CustCode, ARVc::InvoiceNr);
}
BENCHMARK(BM_CustomerWalkPeer)->Unit(benchmark::kMillisecond);

}  // namespace
