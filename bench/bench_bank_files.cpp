// bench_bank_files.cpp - the bank files: the payment file export (kind
// 15) of many approved payments in the Telepay and the LM format, each
// against the bare walk of the same payments with their rows (ratio =
// export / walk); and the import of a long file of incoming reference
// payments into customer receipts, against reading the same lines and
// finding each line's invoice by its reference (ratio = import / read).
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) write 5,000 payments
// of three rows and read 20,000 payment lines; smoke runs 40 and 200, so
// that the test build's smoke run stays short. The payments are re-sent on
// every run (the re-send switch), so each run writes all of them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "bench/bench_sizes.h"
#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "exchange/bank_payments_in.h"
#include "exchange/import_lines.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "shell/database_open.h"

namespace {

const int32_t Payments = BenchSize<int32_t>(5000, 40), IncomingLines = BenchSize<int32_t>(20000, 200);
constexpr int RowsPerPayment = 3;
constexpr int32_t FirstPayment = 1, FirstPurchaseInvoice = 1, FirstSalesInvoice = 1;
constexpr int Vendors = 50;

namespace PR = OPVc::Rows;

PackedDecimal Amount(double v)
{
    PackedDecimal d;
    DecFromDouble(&d, v);
    return d;
}

std::string VendorCode(int i) { return "V" + std::to_string(i % Vendors); }

// The company in the given bank format, with its account and number.
bool CompanyFormat(uint16_t format)
{
    const bool lm = format == BankFormatLm;
    PutU16(CompanyBlock, CompanyBlk::CompanyVariant, format);
    BenchPutText(CompanyBlock, CompanyBlk::EnterpriseNr, 20, lm ? "1" : "NO 123 456 789 01");
    BenchPutText(CompanyBlock, CompanyBlk::BankAccount, 60, lm ? "1" : "1234.56.78901");
    BenchPutText(CompanyBlock, CompanyBlk::OrgNr, 30, "98765-4321");
    BenchPutText(CompanyBlock, CompanyBlk::CompanyName, 60, "Orvel Bench AS");
    return SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size) == RecDone;
}

// Vendors, their purchase invoices and the approved payments, three
// invoices of different vendors a payment; the sales invoices with their
// open items and references; the payment modes of the incoming file.
bool StoreData()
{
    DbHoldBegin();
    bool ok = true;
    for (int v = 0; ok && v < Vendors; v++)
        ok = BenchStorePlain(VEVc::Number, [&](uint8_t *r) {
            BenchPutText(r, VEVc::Code, 20, VendorCode(v));
            BenchPutText(r, VEVc::Name, 60, "Vendor " + std::to_string(v));
            BenchPutText(r, VEVc::Addr1, 60, "Street " + std::to_string(v));
            BenchPutText(r, VEVc::Addr3, 60, "0123 Town");
            BenchPutText(r, VEVc::AccountNr, 20, "KOD" + std::to_string(v));
        });
    int32_t invoice = FirstPurchaseInvoice;
    for (int32_t p = 0; ok && p < Payments; p++) {
        RuleRecord op(OPVc::Number);
        if (!op.record) return false;
        PutI32(op.record, OPVc::SerNr, FirstPayment + p);
        BenchPutText(op.record, OPVc::PayText, 60, "4234567-85");
        PutDate(op.record, OPVc::PayDate, DateRec{10, 12, 2026});
        PutU16(op.record, OPVc::Approved, 1);
        for (int r = 0; ok && r < RowsPerPayment; r++, invoice++) {
            const std::string vendor = VendorCode(p * RowsPerPayment + r);
            ok = BenchStorePlain(VIVc::Number, [&](uint8_t *vi) {
                PutI32(vi, VIVc::SerNr, invoice);
                BenchPutText(vi, VIVc::VendCode, 20, vendor);
                BenchPutText(vi, VIVc::VendName, 60, "Vendor " + vendor);
                BenchPutText(vi, VIVc::VendInvNr, 20, "F" + std::to_string(invoice));
                BenchPutText(vi, VIVc::PayText, 30, "5012345-6789");
                PutDate(vi, VIVc::InvDate, DateRec{20, 11, 2026});
                PutU16(vi, VIVc::InvType, 1);
            });
            uint8_t row[PR::Size] = {};
            PutU16(row, PR::Kind, 1);
            PutI32(row, PR::InvoiceNr, invoice);
            BenchPutText(row, PR::VendCode, 20, vendor);
            BenchPutText(row, PR::AccountText, 60, "5555-12345");
            BenchPutText(row, PR::InvPayText, 30, "details " + vendor);
            PutDec(row, PR::Amount, Amount(100 + r));
            ok = ok && MatrixRowPut(OPVc::Number, 0, op.record, r, row);
        }
        uint32_t recid = 0;
        ok = ok && RecStoreByKey(OPVc::Number, op.record, 1, &recid);
        RecFreeMatrix(OPVc::Number, op.record);
    }
    for (int32_t i = 0; ok && i < IncomingLines; i++) {
        const int32_t serial = FirstSalesInvoice + i;
        ok = BenchStorePlain(IVVc::Number, [&](uint8_t *r) {
                 PutI32(r, IVVc::SerNr, serial);
                 BenchPutText(r, IVVc::CustCode, 20, "C1");
                 BenchPutText(r, IVVc::RefStr, 30, std::to_string(100000 + serial));
             }) &&
             BenchStorePlain(ARVc::Number, [&](uint8_t *r) {
                 PutI32(r, ARVc::InvoiceNr, serial);
                 PutDec(r, ARVc::OpenAmount, Amount(100));
             });
    }
    std::vector<uint8_t> modes(PaymentModeBlk::Rows::Size, 0);
    BenchPutText(modes.data(), PaymentModeBlk::Rows::Code, 1, "B");
    BenchPutText(modes.data(), PaymentModeBlk::Rows::BankAccount, 60, "4234567-85");
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok && BenchStoreRows(PaymentModeBlk::Number, modes);
}

// The company once per program; false when it could not be made.
bool Company()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("bank_files")) return false;
    MessageSinkSet([](const char *) {});
    RegisterHooksClear();
    CompanyVariantBind(CompanyBlock);
    FeaturesInstall();
    BenchOutputInstall();   // the output layer and its windows, as the program's start installs them
    TodayDate = DateRec{7, 12, 2026};
    if (!StoreData()) return false;
    ready = 1;
    return true;
}

std::filesystem::path Folder()
{
    static std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("orvel_bench_bank_" + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        std::atexit([] { std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                                     ("orvel_bench_bank_" + std::to_string(getpid()))); });
        return d;
    }();
    return dir;
}

// One export of every payment, re-sent, into a file from the benchmark's
// job (the export attaches it); its size in bytes (0 when the job did not
// end whole).
uintmax_t ExportOnce(ReportJob &job)
{
    const std::filesystem::path file = Folder() / "bank.txt";
    PString range;
    PStringFromC(range, "1:");
    PutText(job.selection, ReportParamsVc::SelText1, range);
    PutU16(job.selection, ReportParamsVc::Option1, 1);
    PutU16(job.selection, ReportParamsVc::ReportNumber, 15);
    PutU16(job.selection, ReportParamsVc::OutputKind, OutTextFile);
    OutputJobState = OutputJobStateRec{};
    ScriptAnswerFile(file.string());
    if (!RunTextExportBody(job, 15)) return 0;
    std::error_code ec;
    uintmax_t size = std::filesystem::file_size(file, ec);
    return ec ? 0 : size;
}

void BM_BankFileExport(benchmark::State &state)
{
    const uint16_t format = uint16_t(state.range(0));
    if (!Company() || !CompanyFormat(format)) return state.SkipWithError("the company could not be made");
    uintmax_t bytes = 0;
    OwnedJob own;
    for (auto _ : state) {
        bytes = ExportOnce(own.job);
        if (bytes == 0) return state.SkipWithError("the bank file was not written whole");
    }
    // Telepay writes four 80-character lines for each row and transfer;
    // LM a 300-character line for each row: far below that, payments were
    // left out.
    if (bytes < uintmax_t(Payments) * RowsPerPayment * 80) state.SkipWithError("payments are missing from the file");
    state.counters["payments/s"] =
        benchmark::Counter(double(Payments) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BankFileExport)->Arg(BankFormatTelepay)->Arg(BankFormatLm)->Unit(benchmark::kMillisecond);

// The peer: the walk of the payments by number, each read with its rows.
void BM_PaymentWalkPeer(benchmark::State &state)
{
    if (!Company()) return state.SkipWithError("the company could not be made");
    for (auto _ : state) {
        RuleRecord r(OPVc::Number);
        int read = 0;
        uint32_t recid = 0;
        for (int32_t pos = 1; RecReadAt(OPVc::Number, pos, r.record, &recid); pos++) {
            read += MatrixRowCount(OPVc::Number, 0, r.record) == RowsPerPayment;
            RecFreeMatrix(OPVc::Number, r.record);
        }
        if (read != Payments) return state.SkipWithError("the walk did not read every payment");
    }
    state.counters["payments/s"] =
        benchmark::Counter(double(Payments) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PaymentWalkPeer)->Unit(benchmark::kMillisecond);

// The incoming file: a header line, then one reference payment of 88
// characters for each sales invoice.
const std::string &IncomingFile()
{
    static const std::string file = [] {
        std::string s = "00 a header line the reader skips\r\n";
        for (int32_t i = 0; i < IncomingLines; i++) {
            char line[128];
            std::snprintf(line, sizeof line, "3%s%s%s%16s%-20d%-13s %010d0\r\n", "42345670000085", "261201", "261130",
                          "", 100000 + FirstSalesInvoice + i, "PAYER", 10000);
            s += line;
        }
        return s;
    }();
    return file;
}

// The import reads the incoming file from memory.
void UseIncomingFile()
{
    const std::string &file = IncomingFile();
    ImportMemorySource(reinterpret_cast<const uint8_t *>(file.data()), uint32_t(file.size()));
}

void BM_BankPaymentsImport(benchmark::State &state)
{
    if (!Company() || !CompanyFormat(BankFormatLm)) return state.SkipWithError("the company could not be made");
    // The import's job (bank payments from memory), attached as the
    // import command attaches it: its steps read it.
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, ImportSourceMemory);
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, 1);
    OutputJobAttach attached(own.job);
    for (auto _ : state) {
        UseIncomingFile();
        ImportRun();
        if (BankImportResult.refusedLine != 0 || BankImportResult.read != uint32_t(IncomingLines) ||
            BankImportResult.unmatched != 0 || BankImportResult.notStored != 0)
            return state.SkipWithError("the import did not take every payment");
    }
    state.counters["lines/s"] =
        benchmark::Counter(double(IncomingLines) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BankPaymentsImport)->Unit(benchmark::kMillisecond);

// The peer: the same lines read whole, each line's invoice found by its
// reference; nothing stored.
void BM_IncomingReadPeer(benchmark::State &state)
{
    if (!Company()) return state.SkipWithError("the company could not be made");
    RuleRecord invoice(IVVc::Number);
    for (auto _ : state) {
        UseIncomingFile();
        std::string line;
        bool full = false;
        int found = 0;
        while (!ImportAtEnd() && ImportReadWholeLine(&line, &full)) {
            if (line.size() < 63 || line[0] != '3') continue;
            std::string ref = line.substr(43, 20);
            ref.erase(ref.find_last_not_of(' ') + 1);
            PString r;
            PStringFromView(r, ref);
            RecFieldPut(IVVc::Number, invoice.record, IVVc::RefStr, r);
            uint32_t recid = 0, position = 0;
            found += RecFindByIndex(IVVc::Number, "RefStr", invoice.record, 1, 1, &recid, &position);
            RecFreeMatrix(IVVc::Number, invoice.record);
        }
        if (found != IncomingLines) return state.SkipWithError("the read did not find every invoice");
    }
    state.counters["lines/s"] =
        benchmark::Counter(double(IncomingLines) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_IncomingReadPeer)->Unit(benchmark::kMillisecond);

}  // namespace
