// bench_documents.cpp - printing documents with their values: a 500-row
// sales invoice on a form with only the row codes (the form as it was
// before the invoice had values, the peer) and on the same form with
// every total, VAT summary and bar-code code on each page; ratio = time
// with values / time without. And a customer statement built over its
// transactions (each an invoice read by its number).
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) walk 10,000 statement
// transactions; smoke runs 300, as a quick check that keeps the test
// build's smoke run short.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/statement.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "rules/rules_types.h"

namespace {

const int32_t StatementTransactions = BenchSize<int32_t>(10000, 300);
constexpr int InvoiceRows = 500;
constexpr int32_t PrintedSerial = 1, StatementFirstSerial = 100;

PackedDecimal DecOf(int32_t v) {
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
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

bool FormItem(uint8_t *form, uint16_t kind, int l, int t, int r, int b, int16_t code, int16_t pitch) {
    uint8_t row[DocVc::Rows::Size] = {};
    PutU16(row, DocVc::Rows::Kind, kind);
    PutDec(row, DocVc::Rows::Left, DecOf(l));
    PutDec(row, DocVc::Rows::Top, DecOf(t));
    PutDec(row, DocVc::Rows::Right, DecOf(r));
    PutDec(row, DocVc::Rows::Bottom, DecOf(b));
    BenchPutText(row, DocVc::Rows::Font, 20, "NORMAL");
    PutU16(row, DocVc::Rows::RowPitch, (uint16_t)pitch);
    PutU16(row, DocVc::Rows::FieldCode, (uint16_t)code);
    return MatrixRowPut(DocVc::Number, 0, form, MatrixRowCount(DocVc::Number, 0, form), row);
}

// Form `name`: the row codes, and with `totals` every last-page code.
bool StoreForm(const char *name, bool totals) {
    return Store(DocVc::Number, [&](uint8_t *f) {
        BenchPutText(f, DocVc::Code, 20, name);
        PutU16(f, DocVc::Copies, 1);
        PutU16(f, DocVc::RowsPerPage, 40);
        const int16_t rowCodes[] = {8, 14, 13, 15, 22, 18};
        for (int i = 0; i < 6; i++) FormItem(f, 4, 40 + 90 * i, 120, 120 + 90 * i, 134, rowCodes[i], 14);
        if (!totals) return;
        const int16_t lastPage[] = {32, 34, 35, 36, 73, 74, 77, 78, 96, 97, 204, 280, 281, 282, 303, 305, 307,
                                    308, 310, 313, 315, 316, 317, 318, 298, 299, 110, 153, 152, 222};
        int y = 700;
        for (int16_t c : lastPage) {
            FormItem(f, 4, 40, y, 400, y + 12, c, c >= 32 && c <= 36 ? 12 : 0);
            y += 4;
        }
    });
}

// The company: VAT codes 1 and 2, a printer writing PDFs, both forms,
// a customer and the 500-row invoice; the statement's invoices and
// their customer transactions. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("documents")) return false;
    std::vector<uint8_t> vat(2 * VatCodeRow::Size), printer(PrintersBlk::Rows::Size);
    for (int i = 0; i < 2; i++) {
        BenchPutText(vat.data() + i * VatCodeRow::Size, VatCodeRow::Code, 2, i ? "2" : "1");
        PutDec(vat.data() + i * VatCodeRow::Size, VatCodeRow::Rate, DecOf(i ? 12 : 25));
    }
    BenchPutText(printer.data(), PrintersBlk::Rows::Name, 20, "PDF");
    BenchPutText(printer.data(), PrintersBlk::Rows::PrinterText, 20, "P");
    if (SettingsBlockStore(VatCodeBlk::Number, vat.data(), (uint32_t)vat.size()) != RecDone ||
        SettingsBlockStore(PrintersBlk::Number, printer.data(), (uint32_t)printer.size()) != RecDone)
        return false;
    DbHoldBegin();
    bool ok = Store(FontVc::Number, [](uint8_t *r) {
                  BenchPutText(r, FontVc::Name, 20, "NORMAL");
                  BenchPutText(r, FontVc::WinFontName, 20, "DejaVu Sans");
                  PutU16(r, FontVc::WinSize, 8);
              }) &&
              StoreForm("PLAIN", false) && StoreForm("FULL", true) &&
              Store(CUVc::Number, [](uint8_t *r) { BenchPutText(r, CUVc::Code, 20, "C1"); }) &&
              Store(IVVc::Number, [](uint8_t *r) {
                  BenchPutText(r, IVVc::CustCode, 20, "C1");
                  PutI32(r, IVVc::SerNr, PrintedSerial);
                  PutI32(r, IVVc::OrderNr, -1);
                  PutU16(r, IVVc::InvType, 1);
                  PutU16(r, IVVc::Posted, 1);
                  PutDec(r, IVVc::Total, DecOf(InvoiceRows * 10));
                  for (int i = 0; i < InvoiceRows; i++) {
                      uint8_t row[IVVc::Rows::Size] = {};
                      PutU16(row, IVVc::Rows::Kind, 1);
                      BenchPutText(row, IVVc::Rows::ItemCode, 20, "ITEM" + std::to_string(i % 7));
                      BenchPutText(row, IVVc::Rows::Text, 100, "Row " + std::to_string(i));
                      PutDec(row, IVVc::Rows::Quantity, DecOf(1));
                      PutDec(row, IVVc::Rows::Price, DecOf(10));
                      PutDec(row, IVVc::Rows::Sum, DecOf(10));
                      BenchPutText(row, IVVc::Rows::VatCode, 2, i % 3 ? "1" : "2");
                      MatrixRowPut(IVVc::Number, 0, r, i, row);
                  }
              });
    for (int32_t i = 0; ok && i < StatementTransactions; i++) {
        DateRec date{uint16_t(1 + i % 28), uint16_t(1 + (i / 28) % 12), uint16_t(2020 + i / 336)};
        ok = Store(IVVc::Number, [&](uint8_t *r) {
                 BenchPutText(r, IVVc::CustCode, 20, "C1");
                 PutI32(r, IVVc::SerNr, StatementFirstSerial + i);
                 PutU16(r, IVVc::InvType, 1);
                 PutDate(r, IVVc::InvDate, date);
                 PutDec(r, IVVc::Total, DecOf(100));
             }) &&
             Store(CustTransVc::Number, [&](uint8_t *r) {
                 BenchPutText(r, CustTransVc::CustCode, 20, "C1");
                 PutDate(r, CustTransVc::TransDate, date);
                 PutI32(r, CustTransVc::DocNr, StatementFirstSerial + i);
                 PutI32(r, CustTransVc::InvoiceNr, StatementFirstSerial + i);
             });
    }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

// Chooses form `name` for every invoice.
bool ChooseForm(const char *name) {
    std::vector<uint8_t> choice(InvoiceFormBlk::Rows::Size);
    PutI32(choice.data(), InvoiceFormBlk::Rows::SeriesStart, -1);
    PutI32(choice.data(), InvoiceFormBlk::Rows::CopyPass, -1);
    BenchPutText(choice.data(), InvoiceFormBlk::Rows::FormName, 20, name);
    BenchPutText(choice.data(), InvoiceFormBlk::Rows::PrinterName, 20, "PDF");
    return SettingsBlockStore(InvoiceFormBlk::Number, choice.data(), (uint32_t)choice.size()) == RecDone;
}

// Seconds for one print of the 500-row invoice on form `name`; negative
// when it did not print.
double PrintOnce(const char *name, const std::filesystem::path &dir) {
    namespace fs = std::filesystem;
    if (!ChooseForm(name)) return -1;
    RuleRecord invoice(IVVc::Number);
    PutI32(invoice.record, IVVc::SerNr, PrintedSerial);
    uint32_t recid = 0, position = 0;
    if (!RecFind(IVVc::Number, invoice.record, 1, 1, &recid, &position)) return -1;
    auto start = std::chrono::steady_clock::now();
    uint8_t printed = PrintForm(-2, invoice.record);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecFreeMatrix(IVVc::Number, invoice.record);
    for (const auto &e : fs::directory_iterator(dir / "print")) fs::remove(e.path());
    return printed == 1 ? seconds : -1;
}

// The 500-row invoice with every total code on each page; the peer is
// the same invoice on the form of row codes only.
void BM_PrintInvoiceWithValues(benchmark::State &state) {
    namespace fs = std::filesystem;
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    fs::path dir = fs::temp_directory_path() / ("orvel_bench_documents_" + std::to_string(getpid()));
    fs::create_directories(dir / "print");
    fs::path saved = fs::current_path();
    fs::current_path(dir);   // the printer writes under ./print
    // The print's job, on the printer without its set-up dialog, attached
    // as File > Print attaches its job.
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, OutPrinter);
    PutI16(own.job.selection, ReportParamsVc::SetupDialog, 0);
    OutputJobAttach attached(own.job);
    double withValues = 0, peer = 0;
    for (auto _ : state) {
        double full = PrintOnce("FULL", dir), plain = PrintOnce("PLAIN", dir);
        if (full < 0 || plain < 0) {
            state.SkipWithError("the invoice did not print");
            break;
        }
        state.SetIterationTime(full);
        withValues += full;
        peer += plain;
    }
    fs::current_path(saved);
    fs::remove_all(dir);
    if (peer > 0) state.counters["ratio"] = withValues / peer;
    state.counters["peer_ms"] = state.iterations() ? 1000 * peer / double(state.iterations()) : 0;
}
BENCHMARK(BM_PrintInvoiceWithValues)->UseManualTime()->Unit(benchmark::kMillisecond);

// A customer statement over all of the customer's transactions.
void BM_CustomerStatementLines(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    OwnedJob own;   // the statement's selection: its period
    PutDate(own.job.selection, ReportParamsVc::DateFrom, DateRec{1, 1, 2000});
    PutDate(own.job.selection, ReportParamsVc::DateTo, DateRec{31, 12, 2099});
    uint8_t customer[CUVc::Size] = {};
    BenchPutText(customer, CUVc::Code, 20, "C1");
    for (auto _ : state) {
        PackedDecimal balance;
        DecSetZero(&balance);
        uint8_t statement[StatementRec::Size];
        if (!StatementBuild(own.job.selection, customer, &balance, statement)) {
            state.SkipWithError("the statement could not be built");
            break;
        }
        MemBlock lines = GetU32(statement, StatementRec::Lines);
        if (!lines || MemSize(lines) != uint32_t(StatementTransactions) * StatementLine::Size) {
            state.SkipWithError("the statement lost lines");
            StatementFree(statement);
            break;
        }
        StatementFree(statement);
    }
    state.SetItemsProcessed(state.iterations() * StatementTransactions);
}
BENCHMARK(BM_CustomerStatementLines)->Unit(benchmark::kMillisecond);

}  // namespace
