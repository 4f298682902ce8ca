// bench_vendor_reports.cpp - the vendor ageing report (31) over many
// vendors, each with an open purchase invoice, a credit note of it, a
// payment of part of it and a payment on account: from the open items of
// today and rebuilt at a report date from the vendor ledger, in the
// ageing layout to a text file; against the bare walk of the vendors and
// their open items (ratio = report / walk).
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use 2,000 vendors;
// smoke runs 100, so that the test build's smoke run stays short.
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

const int Vendors = BenchSize<int>(2000, 100);

BenchWorkplace &Place() {
    static BenchWorkplace w("vendor_reports");
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

// A purchase invoice of vendor code: serial, kind, amount, the invoice it
// credits (-1 none).
bool StoreInvoice(const char *code, int32_t serial, uint16_t kind, double amount, int32_t credited,
                  const DateRec &date, const DateRec &due) {
    return Store(VIVc::Number, [&](uint8_t *r) {
        PutI32(r, VIVc::SerNr, serial);
        Text(r, VIVc::VendCode, 20, code);
        Text(r, VIVc::VendName, 60, code);
        PutDate(r, VIVc::InvDate, date);
        PutDate(r, VIVc::TransDate, date);
        PutDate(r, VIVc::DueDate, due);
        PutU16(r, VIVc::InvType, kind);
        PutU16(r, VIVc::Approved, 1);
        PutI32(r, VIVc::CredInv, credited);
        Amount(r, VIVc::InvAmount, amount);
    });
}

// A payment of vendor code: one row of amount on invoice (-1 on account).
bool StorePayment(const char *code, int32_t serial, int32_t invoice, double amount, const DateRec &date) {
    return Store(OPVc::Number, [&](uint8_t *r) {
        PutI32(r, OPVc::SerNr, serial);
        PutDate(r, OPVc::PayDate, date);
        PutDate(r, OPVc::TransDate, date);
        uint8_t row[OPVc::Rows::Size] = {};
        PutU16(row, OPVc::Rows::Kind, 1);
        PutI32(row, OPVc::Rows::InvoiceNr, invoice);
        Text(row, OPVc::Rows::VendCode, 20, code);
        Amount(row, OPVc::Rows::Amount, amount);
        MatrixRowPut(OPVc::Number, 0, r, 0, row);
    });
}

bool StoreEntry(const char *code, const DateRec &date, uint16_t kind, int32_t doc, int32_t invoice) {
    return Store(VLVc::Number, [&](uint8_t *r) {
        Text(r, VLVc::VendCode, 20, code);
        PutDate(r, VLVc::Date, date);
        PutU16(r, VLVc::Kind, kind);
        PutI32(r, VLVc::DocSerNr, doc);
        PutI32(r, VLVc::InvoiceNr, invoice);
    });
}

// Vendor n ("L00001"..): invoice n and its open item, credit note
// Vendors + n of 10 on it, payment n of 50 on it and payment Vendors + n
// of 20 on account, with their vendor-ledger entries.
bool StoreVendor(int n) {
    char code[16];
    std::snprintf(code, sizeof code, "L%05d", n);
    const DateRec date{1, uint16_t(1 + n % 12), 2024}, due{28, uint16_t(1 + n % 12), 2024};
    const int32_t credit = Vendors + n, onAccount = Vendors + n;
    return Store(VEVc::Number,
                 [&](uint8_t *r) {
                     Text(r, VEVc::Code, 20, code);
                     Text(r, VEVc::Name, 60, code);
                 }) &&
           StoreInvoice(code, n, 1, 125 + n % 97, -1, date, due) && StoreInvoice(code, credit, 3, 10, n, date, due) &&
           Store(APVc::Number,
                 [&](uint8_t *r) {
                     PutI32(r, APVc::InvoiceNr, n);
                     Text(r, APVc::VendCode, 20, code);
                     PutDate(r, APVc::DueDate, due);
                     Amount(r, APVc::OpenAmount, 65 + n % 97);
                 }) &&
           StorePayment(code, n, n, 50, date) && StorePayment(code, onAccount, -1, 20, date) &&
           StoreEntry(code, date, 0, n, n) && StoreEntry(code, date, 0, credit, n) &&
           StoreEntry(code, date, 1, n, n) && StoreEntry(code, date, 1, onAccount, -1);
}

bool Up() {
    if (State < 0) State = BenchUpWithParties(Place(), Vendors, StoreVendor);
    return State == 1;
}

// Report 31 in the ageing layout: range(0) 1 rebuilds the invoices at
// 30.6.2024, 0 takes the open items of today.
void BM_VendorAgeing(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    BenchAgeingRuns(state, 31, Place().dir / "ageing.txt", Vendors, "vendors/s");
}
BENCHMARK(BM_VendorAgeing)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The peer: every vendor read by code with its open items, nothing
// printed.
void BM_VendorWalkPeer(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    BenchPartyWalks(state, Vendors, "vendors/s", VEVc::Number, VEVc::Code, APVc::Number, "VECode", APVc::VendCode, APVc::InvoiceNr);
}
BENCHMARK(BM_VendorWalkPeer)->Unit(benchmark::kMillisecond);

}  // namespace
