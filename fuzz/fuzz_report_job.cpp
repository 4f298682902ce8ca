// fuzz_report_job.cpp - fuzz target of a report job received from a
// client: the input's bytes become the job record (refused with a
// message unless they are one), which then goes through the record's
// check and the report run on a small company (the built interface, a
// database of its own with invoices, a receipt, an open item, an order,
// a delivery and a voucher), written to the memory buffer, in the
// reports' frame as the program installs it (the selection header and
// the column layout of every job). Whatever the
// bytes, the run ends, frees every block it took and reads and writes
// nothing outside its records; faults show as sanitizer reports or traps.
//
// ReportJobFuzzSeeds is shared with the replay program.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "fuzz/fuzz_setup.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;

using fuzzsetup::Check;

void Text(uint8_t *r, uint32_t at, int m, std::string_view s) {
    PString t;
    PStringFromView(t, s);
    PutPString(r, at, m, t);
}

void Amount(uint8_t *r, uint32_t at, double v) {
    PackedDecimal d;
    DecFromDouble(&d, v);
    PutDec(r, at, d);
}

// Stores the record fill() makes in register reg.
template <class Fill> void Store(int reg, Fill fill) {
    RuleRecord r(reg);
    Check(r.record != nullptr);
    fill(r.record);
    uint32_t recid = 0;
    Check(RecStoreByKey(reg, r.record, 0, &recid));
}

// An invoice with one item row.
void Invoice(int32_t serial, DateRec date, uint16_t kind, uint16_t posted, const char *customer) {
    Store(IVVc::Number, [&](uint8_t *r) {
        Text(r, IVVc::CustCode, 20, customer);
        PutI32(r, IVVc::SerNr, serial);
        PutDate(r, IVVc::InvDate, date);
        PutDate(r, IVVc::TransDate, date);
        PutU16(r, IVVc::InvType, kind);
        PutU16(r, IVVc::Posted, posted);
        Text(r, IVVc::Addr0, 60, "Customer");
        Text(r, IVVc::Objects, 30, "P1");
        Amount(r, IVVc::Net, 100 * serial);
        Amount(r, IVVc::Vat, 25 * serial);
        Amount(r, IVVc::Total, 125 * serial);
        uint8_t row[IVVc::Rows::Size] = {};
        PutU16(row, IVVc::Rows::Kind, 1);
        Text(row, IVVc::Rows::ItemCode, 20, "ITEM1");
        Text(row, IVVc::Rows::Text, 100, "An item");
        Amount(row, IVVc::Rows::Quantity, 2);
        Amount(row, IVVc::Rows::Price, 50 * serial);
        Amount(row, IVVc::Rows::Sum, 100 * serial);
        PutI32(row, IVVc::Rows::Link, -1);
        Check(MatrixRowPut(IVVc::Number, 0, r, 0, row));
    });
}

// The small company: four invoices of three kinds, a receipt paying the
// first, its open item, an order with a delivery and a voucher.
void StoreCompany() {
    Invoice(1, {10, 1, 2024}, 1, 1, "C1");
    Invoice(2, {20, 1, 2024}, 2, 1, "C1");
    Invoice(3, {5, 2, 2024}, 3, 1, "C2");
    Invoice(4, {1, 3, 2024}, 1, 0, "C2");
    Store(IPVc::Number, [](uint8_t *r) {
        PutI32(r, IPVc::SerNr, 1);
        Text(r, IPVc::PayMode, 2, "K");
        PutDate(r, IPVc::TransDate, {31, 1, 2024});
        PutDate(r, IPVc::RegDate, {31, 1, 2024});
        Amount(r, IPVc::AmountRec, 125);
        Amount(r, IPVc::Total, 125);
        PutU16(r, IPVc::Posted, 1);
        uint8_t row[IPVc::Rows::Size] = {};
        PutU16(row, IPVc::Rows::Kind, 1);
        PutI32(row, IPVc::Rows::InvoiceNr, 1);
        Text(row, IPVc::Rows::CustCode, 20, "C1");
        Amount(row, IPVc::Rows::Amount, 125);
        PutI32(row, IPVc::Rows::Link, -1);
        Check(MatrixRowPut(IPVc::Number, 0, r, 0, row));
    });
    Store(ARVc::Number, [](uint8_t *r) {
        PutI32(r, ARVc::InvoiceNr, 4);
        Text(r, ARVc::CustCode, 20, "C2");
        PutDate(r, ARVc::DueDate, {31, 3, 2024});
        PutDate(r, ARVc::CashDiscDate, {10, 3, 2024});
        Amount(r, ARVc::OpenAmount, 500);
    });
    Store(ORVc::Number, [](uint8_t *r) {
        Text(r, ORVc::CustCode, 20, "C1");
        PutI32(r, ORVc::SerNr, 1);
        PutDate(r, ORVc::OrdDate, {1, 3, 2024});
        Text(r, ORVc::Objects, 30, "P1");
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        Text(row, ORVc::Rows::ItemCode, 20, "ITEM1");
        Amount(row, ORVc::Rows::Quantity, 5);
        Amount(row, ORVc::Rows::Price, 100);
        Check(MatrixRowPut(ORVc::Number, 0, r, 0, row));
    });
    Store(SHVc::Number, [](uint8_t *r) {
        PutI32(r, SHVc::SerNr, 1);
        PutI32(r, SHVc::OrderNr, 1);
        PutDate(r, SHVc::ShipDate, {5, 3, 2024});
        Text(r, SHVc::CustCode, 20, "C1");
        PutU16(r, SHVc::Shipped, 1);
        uint8_t row[SHVc::Rows::Size] = {};
        PutI32(row, SHVc::Rows::OrderRowNr, 0);
        Text(row, SHVc::Rows::ItemCode, 20, "ITEM1");
        Amount(row, SHVc::Rows::ToDeliver, 3);
        Check(MatrixRowPut(SHVc::Number, 0, r, 0, row));
    });
    Store(Voucher::Number, [](uint8_t *r) {
        PutU32(r, Voucher::SerNr, 1);
        PutU16(r, Voucher::YearCode, 1);
        PutDate(r, Voucher::TransDate, {10, 1, 2024});
        for (double amount : {125.0, -125.0}) {
            uint8_t row[Voucher::Rows::Size] = {};
            PutU16(row, Voucher::Rows::Kind, 1);
            Text(row, Voucher::Rows::Account, 10, amount > 0 ? "1510" : "3010");
            Amount(row, Voucher::Rows::Amount, amount);
            Check(MatrixRowPut(Voucher::Number, 0, r, MatrixRowCount(Voucher::Number, 0, r), row));
        }
    });
}

// Once: the shared start (the built interface, the work blocks, the
// scratch folder) and the company.
void Setup() {
    static bool done = false;
    if (done) return;
    done = true;
    fuzzsetup::Start("orvel_fuzz_job_");
    ReportsInstall();
    fuzzsetup::FreshCompany();
    StoreCompany();
}

// A job record of report `number` over 2024 with every option set.
std::vector<uint8_t> Job(int16_t number, uint16_t layout, std::string_view range = "",
                         std::string_view code = "") {
    std::vector<uint8_t> r(ReportParamsSize, 0);
    uint8_t *p = r.data();
    PutU16(p, P::OutputKind, OutBuffer);
    PutU16(p, P::ReportNumber, uint16_t(number));
    PutU16(p, P::ReportLayout, layout);
    Text(p, P::SelText1, 255, range);
    Text(p, P::SelText2, 255, code);
    for (uint32_t o : {P::Option2, P::Option3, P::Option4, P::Option5, P::Option6, P::Option7}) PutU16(p, o, 1);
    PutDate(p, P::DateFrom, {1, 1, 2024});
    PutDate(p, P::DateTo, {31, 12, 2024});
    return r;
}

}  // namespace

// Job records for the corpus and the replay's mutations: every report
// that runs in its layouts, with ranges and codes, a number without a
// body, a document batch, a refused period, and records of the wrong
// size. `printing` gives only the jobs of the reports that run on the
// buffer, each of which prints its header and rows (report 25 prints on
// the printer alone).
std::vector<std::vector<uint8_t>> ReportJobFuzzSeeds(bool printing) {
    std::vector<std::vector<uint8_t>> seeds;
    for (uint16_t layout = 0; layout < 4; layout++) seeds.push_back(Job(1, layout));
    seeds.push_back(Job(1, 0, "2:3", "C1"));
    for (int16_t n : {13, 16, 24, 25, 57, 65, 111, -16, 2, 116})
        for (uint16_t layout = 0; layout < 2; layout++)
            if (!printing || (n > 2 && n != 25)) seeds.push_back(Job(n, layout, n == 65 ? "1:2" : ""));
    seeds.push_back(Job(16, 0, "", "C2"));
    if (printing) return seeds;
    std::vector<uint8_t> backwards = Job(1, 0);
    PutDate(backwards.data(), P::DateFrom, {31, 12, 2024});
    PutDate(backwards.data(), P::DateTo, {1, 1, 2024});
    seeds.push_back(backwards);
    std::vector<uint8_t> shortJob = Job(1, 0);
    shortJob.resize(ReportParamsSize / 2);
    seeds.push_back(shortJob);
    seeds.push_back({});
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Runs one input as the target does; true when its job printed into the
// buffer and was not stopped.
bool ReportJobFuzzPrints(const std::vector<uint8_t> &input) {
    RepBufferUsed = 0;
    LLVMFuzzerTestOneInput(input.data(), input.size());
    return RepBufferUsed > 0 && !RepStopped;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Setup();
    std::vector<uint8_t> job(data, data + size);
    if (size == ReportParamsSize) PutU16(job.data(), P::OutputKind, OutBuffer);   // never a file or printer here
    // A job record of the target's own, marked: the record received into it
    // is taken whole or not at all, never in part.
    constexpr uint8_t Mark = 0xA5;
    std::vector<uint8_t> own(ReportParamsSize, Mark);
    ReportJob receiving{own.data()};
    const bool received = ReportJobReceive(job.data(), uint32_t(size), receiving);
    Check(received == (size == ReportParamsSize));
    if (received) Check(std::equal(own.begin(), own.end(), job.begin(), job.end()));
    else Check(std::all_of(own.begin(), own.end(), [](uint8_t b) { return b == Mark; }));
    const uint32_t blocks = MemBlockCount();
    const bool hadBuffer = RepBufferBlock != 0;
    Check(CurrentJobRecord() == nullptr);
    bool taken = ReportJobRun(job.data(), uint32_t(size));
    Check(taken == received);
    // The run's job went with it: the output is left attached to nothing.
    Check(CurrentJobRecord() == nullptr);
    // Every block a run takes is given back; only the memory buffer, made
    // by the first job that writes to it, stays.
    Check(MemBlockCount() == blocks + (!hadBuffer && RepBufferBlock != 0 ? 1 : 0));
    return 0;
}
