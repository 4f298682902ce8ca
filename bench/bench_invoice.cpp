// bench_invoice.cpp - the cost of the sales invoice's road through the
// record layer with the rules installed: an invoice of 10, 100 and 300
// rows saved unposted (checks, numbering, insert steps) and saved posted
// (checks, voucher, open item, stock, item history, order of the hooks);
// posted ten-row invoices on one item by the thousand, its stock from a
// count or from a purchase, as the item's history grows (each posting
// values its stock by FIFO over that history);
// a row cell left in window 347 on invoices of 1, 50 and 300 rows (the
// row re-priced, the totals summed again); an invoice of 500 rows
// printed on its form into a PDF.
//
// The peer is the same invoice written as a plain record in a hold of its
// own, without hooks: ratio = the road's time / the plain write's (what
// the rules cost on top of the disk). A posted save the rules refuse (a
// step not built in this tree) is reported as an error, not measured.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "bench/bench_frame.h"
#include "bench/bench_sales_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/devices/device_table.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "platform/display.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

using Clock = std::chrono::steady_clock;
int32_t nextSerial = 1;

// The company: a customer, a stocked item with plenty of stock, VAT code
// 1 at 25 %, the accounts, fiscal year 2024, an invoice series, the rules.
// Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("invoice")) return false;
    if (!BenchSalesSettings()) return false;
    DbHoldBegin();
    PackedDecimal plenty;
    DecFromLong(&plenty, 100000000);
    bool ok = BenchStorePlain(INVc::Number, [](uint8_t *r) {
                  BenchPutText(r, INVc::Code, 20, "ITEM1");
                  PutU16(r, INVc::Stocked, 1);
              }) &&
              BenchStorePlain(LSVc::Number, [&](uint8_t *r) {
                  BenchPutText(r, LSVc::ItemCode, 20, "ITEM1");
                  BenchPutText(r, LSVc::Location, 10, "MAIN");
                  PutDec(r, LSVc::InStock, plenty);
              });
    if (!ok) DbHoldFail();
    if (!DbHoldEnd()) return false;
    RulesInstall();
    ready = 1;
    return true;
}

// Fills invoice with `rows` item rows of one unit at 100 and its totals,
// numbered with the next serial, posted as asked.
void FillInvoice(uint8_t *invoice, int rows, bool posted, const char *item = "ITEM1") {
    RecFreeMatrix(IVVc::Number, invoice);
    RecClear(IVVc::Number, invoice);
    BenchPutText(invoice, IVVc::CustCode, 20, "C1");
    PutU32(invoice, IVVc::SerNr, (uint32_t)nextSerial++);
    PutDate(invoice, IVVc::InvDate, DateRec{15, 6, 2024});
    PutDate(invoice, IVVc::TransDate, DateRec{15, 6, 2024});
    PutDate(invoice, IVVc::PayDate, DateRec{15, 7, 2024});
    PutU16(invoice, IVVc::InvType, 1);
    PutU16(invoice, IVVc::UpdStock, 1);
    PutU16(invoice, IVVc::Posted, posted ? 1 : 0);
    for (uint32_t at : {IVVc::OrderNr, IVVc::CredInv, IVVc::CashDiscDays}) PutU32(invoice, at, SerialNone);
    PackedDecimal one, price, total, vat;
    DecFromLong(&one, 1);
    DecFromLong(&price, 100);
    DecFromLong(&total, 125 * rows);
    DecFromLong(&vat, 25 * rows);
    PutDec(invoice, IVVc::Total, total);
    PutDec(invoice, IVVc::Vat, vat);
    uint8_t row[IVVc::Rows::Size] = {};
    PutU16(row, IVVc::Rows::Kind, 1);
    BenchPutText(row, IVVc::Rows::ItemCode, 20, item);
    PutDec(row, IVVc::Rows::Quantity, one);
    PutDec(row, IVVc::Rows::Price, price);
    PutDec(row, IVVc::Rows::Sum, price);
    BenchPutText(row, IVVc::Rows::SalesAcc, 10, "3010");
    BenchPutText(row, IVVc::Rows::VatCode, 2, "1");
    PutU32(row, IVVc::Rows::Link, SerialNone);
    for (int i = 0; i < rows; i++) MatrixRowPut(IVVc::Number, 0, invoice, i, row);
}

// Saves invoices of state.range(0) rows through the record layer, posted
// when state.range(1) is 1, beside the same invoice written plainly.
void BM_InvoiceSave(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    const int rows = (int)state.range(0);
    const bool posted = state.range(1) == 1;
    RuleRecord invoice(IVVc::Number);
    double road = 0, plain = 0;
    for (auto _ : state) {
        FillInvoice(invoice.record, rows, posted);
        uint32_t recid = 0;
        int result = -1;
        Clock::time_point t = Clock::now();
        RecInsertChecked(IVVc::Number, invoice.record, &recid, &result);
        double spent = std::chrono::duration<double>(Clock::now() - t).count();
        if (result != RecDone) {
            state.SkipWithError("the rules refused the invoice");
            return;
        }
        road += spent;
        FillInvoice(invoice.record, rows, posted);
        t = Clock::now();
        DbHoldBegin();
        bool stored = RecStore(IVVc::Number, invoice.record, 0, &recid);
        if (!DbHoldEnd() || !stored) {
            state.SkipWithError("the plain write failed");
            return;
        }
        double peer = std::chrono::duration<double>(Clock::now() - t).count();
        plain += peer;
        state.SetIterationTime(spent);
    }
    if (plain > 0) state.counters["ratio"] = road / plain;
}
BENCHMARK(BM_InvoiceSave)
    ->ArgsProduct({{10, 100, 300}, {0, 1}})
    ->ArgNames({"rows", "posted"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

const int CurveInvoices = BenchSize<int>(10000, 40);
constexpr int CurveSteps = 10;

// The two items of the curves, once per program: COUNTED, whose stock was
// counted (no receipt in its history), and BOUGHT, whose stock came from
// one purchase of the year before (a receipt the FIFO walk must reach
// past every sale). false when a store failed.
bool CurveItems() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    PackedDecimal plenty, cost;
    DecFromLong(&plenty, 100000000);
    DecFromLong(&cost, 60);
    DbHoldBegin();
    bool ok = true;
    for (const char *code : {"COUNTED", "BOUGHT"})
        ok = ok && BenchStorePlain(INVc::Number, [&](uint8_t *r) {
                 BenchPutText(r, INVc::Code, 20, code);
                 PutU16(r, INVc::Stocked, 1);
             }) &&
             BenchStorePlain(LSVc::Number, [&](uint8_t *r) {
                 BenchPutText(r, LSVc::ItemCode, 20, code);
                 BenchPutText(r, LSVc::Location, 10, "MAIN");
                 PutDec(r, LSVc::InStock, plenty);
             });
    ok = ok && BenchStorePlain(PUVc::Number, [&](uint8_t *r) {
        PutU32(r, PUVc::SerNr, 1);
        PutDate(r, PUVc::TransDate, DateRec{1, 12, 2023});
        uint8_t row[PUVc::Rows::Size] = {};
        BenchPutText(row, PUVc::Rows::ItemCode, 20, "BOUGHT");
        PutDec(row, PUVc::Rows::Quantity, plenty);
        PutDec(row, PUVc::Rows::UnitCost, cost);
        MatrixRowPut(PUVc::Number, 0, r, 0, row);
    });
    ok = ok && BenchStorePlain(ItemHistVc::Number, [&](uint8_t *r) {
        BenchPutText(r, ItemHistVc::ItemCode, 20, "BOUGHT");
        BenchPutText(r, ItemHistVc::Location, 10, "MAIN");
        PutU16(r, ItemHistVc::DocType, PUVc::Number);
        PutU32(r, ItemHistVc::DocNr, 1);
        PutDate(r, ItemHistVc::HistDate, DateRec{1, 12, 2023});
        PutU16(r, ItemHistVc::Receipt, 1);
        PutDec(r, ItemHistVc::Quantity, plenty);
        PutU16(r, ItemHistVc::Direction, 1);
    });
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

// The processor time this process has used, in seconds.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// Posts CurveInvoices invoices of ten rows of COUNTED (range(0) 0) or
// BOUGHT (1), each saved through the record layer in its own synced hold
// with its stock, voucher and open item;
// counters give the invoices per second of each tenth (per_s_1 the first
// thousand at full size) and last_vs_first, the last tenth's time over
// the first's (aim: at most 1.5), cpu_ms_1 to cpu_ms_10 the processor
// time per invoice in each tenth, and cpu_ms_first and cpu_ms_last those
// of the first and last (the wall time also waits on each hold's sync).
// The peer is the disk's bare synced-write rate in the same run: a tenth
// as many of the same invoices written plainly, each in a hold of its
// own; vs_bare is the curve's rate over it (aim: at least 0.8). A curve
// that leaves an invoice without its voucher is an error.
void BM_InvoiceCurve(benchmark::State &state) {
    if (!Company() || !CurveItems()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    const char *item = state.range(0) == 0 ? "COUNTED" : "BOUGHT";
    RuleRecord invoice(IVVc::Number);
    const int step = CurveInvoices / CurveSteps;
    std::vector<double> seconds(CurveSteps, 0), cpu(CurveSteps, 0);
    double bare = 0;
    uint32_t posted = 0, vouchersBefore = RegRecordCount(TRVc::Number);
    for (auto _ : state) {
        for (int i = 0; i < CurveInvoices; i++) {
            FillInvoice(invoice.record, 10, true, item);
            uint32_t recid = 0;
            int result = -1;
            double c = CpuSeconds();
            Clock::time_point t = Clock::now();
            RecInsertChecked(IVVc::Number, invoice.record, &recid, &result);
            seconds[i / step] += std::chrono::duration<double>(Clock::now() - t).count();
            cpu[i / step] += CpuSeconds() - c;
            if (result != RecDone) {
                state.SkipWithError("the rules refused an invoice");
                return;
            }
            posted++;
        }
        for (int i = 0; i < step; i++) {
            FillInvoice(invoice.record, 10, true, item);
            uint32_t recid = 0;
            Clock::time_point t = Clock::now();
            DbHoldBegin();
            bool stored = RecStore(IVVc::Number, invoice.record, 0, &recid);
            if (!DbHoldEnd() || !stored) {
                state.SkipWithError("the plain write failed");
                return;
            }
            bare += std::chrono::duration<double>(Clock::now() - t).count();
        }
    }
    if (RegRecordCount(TRVc::Number) - vouchersBefore != posted) {
        state.SkipWithError("a posted invoice was left without its voucher");
        return;
    }
    double all = 0;
    for (int k = 0; k < CurveSteps; k++) {
        all += seconds[k];
        state.counters["per_s_" + std::to_string(k + 1)] = step / seconds[k];
        state.counters["cpu_ms_" + std::to_string(k + 1)] = cpu[k] / step * 1e3;
    }
    state.counters["last_vs_first"] = seconds[CurveSteps - 1] / seconds[0];
    const double rate = double(posted) / all, bareRate = double(step) * double(state.iterations()) / bare;
    state.counters["bare_per_s"] = bareRate;
    state.counters["vs_bare"] = rate / bareRate;
    state.counters["cpu_ms_first"] = cpu[0] / step * 1e3;
    state.counters["cpu_ms_last"] = cpu[CurveSteps - 1] / step * 1e3;
    state.SetIterationTime(all);
}
BENCHMARK(BM_InvoiceCurve)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("purchased")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// The headless frame with window 347 open on a new invoice of customer
// C1; the window, 0 when it could not be had. Once per program.
int InvoiceWindow() {
    static int w = -1;
    if (w >= 0) return w;
    w = 0;
    std::string error;
    if (!DisplayOpen(PlDisplayKind::Headless, &error)) return 0;
    WinTableInit();
    WinResetAll();
    if (!WinClassExists("m4frame") && !RegisterWindowClasses()) return 0;
    ToolbarMetricsInit();
    MenuBarBuild();
    FrameWindow = WinCreate("m4frame", "Orvel", PlStyle::OverlappedWindow | PlStyle::ClipChildren | PlStyle::Visible,
                            PlRect{0, 0, 1000, 740}, 0, 0, 0);
    if (FrameWindow == 0) return 0;
    std::atexit(BenchFrameDown);   // before the company closes (registered earlier)
    int n = OpenOrActivateWindow(WinTypes::SalesInvoice, 0, 0, false, 0);
    if (n <= 0) return 0;
    CmdNewRecord(n);
    if (WinRecState(n) != 1) return 0;
    BenchPutText(WinRecordBuffer(n), IVVc::CustCode, 20, "C1");
    w = n;
    return w;
}

// Leaves the quantity cell of the first row of window 347 holding an
// invoice of state.range(0) rows, as after a typed change: the row is
// priced again and the invoice's totals summed over every row.
void BM_InvoiceRowLeave(benchmark::State &state) {
    int w = Company() ? InvoiceWindow() : 0;
    if (w <= 0) {
        state.SkipWithError("the invoice window could not be opened");
        return;
    }
    const int rows = (int)state.range(0);
    RuleRecord invoice(IVVc::Number);
    FillInvoice(invoice.record, rows, false);
    if (!MatrixResize(w, rows)) {
        state.SkipWithError("the rows could not be had");
        return;
    }
    MemBlock h = WinMatrixRows(w);
    uint8_t *to = MemLock(h);
    for (int i = 0; i < rows; i++) MatrixRowRead(IVVc::Number, invoice.record, i, to + (size_t)i * IVVc::Rows::Size);
    MemUnlock(h);
    constexpr int QuantityCell = 28 + 2;   // row 0, column 2
    for (auto _ : state) InvoiceRowLeave(w, QuantityCell, 1);
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_InvoiceRowLeave)->Arg(1)->Arg(50)->Arg(300)->ArgName("rows")->Unit(benchmark::kMicrosecond);

// The form "INVOICE" (title, company name, page text, and per row the
// item code, quantity and sum), its font, chosen for every invoice, and
// printer "PDF" writing to the printer; an invoice of 500 rows stored.
// Its serial, 0 when something could not be stored.
uint32_t PrintCompany() {
    static uint32_t serial = 1;
    if (serial != 1) return serial;
    serial = 0;
    PackedDecimal v[4];
    auto item = [&](uint8_t *form, uint16_t kind, int l, int t, int r, int b, const char *text, int16_t code,
                    int16_t pitch) {
        uint8_t row[DocVc::Rows::Size] = {};
        int32_t at[4] = {l, t, r, b};
        for (int i = 0; i < 4; i++) DecFromLong(&v[i], at[i]);
        PutU16(row, DocVc::Rows::Kind, kind);
        PutDec(row, DocVc::Rows::Left, v[0]);
        PutDec(row, DocVc::Rows::Top, v[1]);
        PutDec(row, DocVc::Rows::Right, v[2]);
        PutDec(row, DocVc::Rows::Bottom, v[3]);
        BenchPutText(row, DocVc::Rows::Font, 20, "NORMAL");
        BenchPutText(row, DocVc::Rows::Text, 100, text);
        PutU16(row, DocVc::Rows::RowPitch, (uint16_t)pitch);
        PutU16(row, DocVc::Rows::FieldCode, (uint16_t)code);
        return MatrixRowPut(DocVc::Number, 0, form, MatrixRowCount(DocVc::Number, 0, form), row);
    };
    std::vector<uint8_t> choice(InvoiceFormBlk::Rows::Size), printer(PrintersBlk::Rows::Size);
    PutI32(choice.data(), InvoiceFormBlk::Rows::SeriesStart, -1);
    PutI32(choice.data(), InvoiceFormBlk::Rows::CopyPass, -1);
    BenchPutText(choice.data(), InvoiceFormBlk::Rows::FormName, 20, "INVOICE");
    BenchPutText(choice.data(), InvoiceFormBlk::Rows::PrinterName, 20, "PDF");
    BenchPutText(printer.data(), PrintersBlk::Rows::Name, 20, "PDF");
    BenchPutText(printer.data(), PrintersBlk::Rows::PrinterText, 20, "P");
    if (!BenchStoreRows(InvoiceFormBlk::Number, choice) || !BenchStoreRows(PrintersBlk::Number, printer)) return 0;
    RuleRecord form(DocVc::Number), invoice(IVVc::Number);
    BenchPutText(form.record, DocVc::Code, 20, "INVOICE");
    PutU16(form.record, DocVc::Copies, 1);
    PutU16(form.record, DocVc::RowsPerPage, 40);
    bool ok = item(form.record, 1, 40, 40, 400, 60, "Invoice", 0, 0) && item(form.record, 4, 40, 70, 400, 90, "", 55, 0) &&
              item(form.record, 4, 600, 70, 800, 90, "", 64, 0) && item(form.record, 4, 40, 120, 200, 140, "", 8, 20) &&
              item(form.record, 4, 220, 120, 300, 140, "", 13, 20) && item(form.record, 4, 600, 120, 800, 140, "", 18, 20);
    FillInvoice(invoice.record, 500, false);
    uint32_t recid = 0;
    DbHoldBegin();
    ok = ok && BenchStorePlain(FontVc::Number, [](uint8_t *r) {
        BenchPutText(r, FontVc::Name, 20, "NORMAL");
        BenchPutText(r, FontVc::WinFontName, 20, "DejaVu Sans");
        PutU16(r, FontVc::WinSize, 10);
    });
    ok = ok && RecStore(DocVc::Number, form.record, 0, &recid) && RecStore(IVVc::Number, invoice.record, 0, &recid);
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return 0;
    serial = GetU32(invoice.record, IVVc::SerNr);
    return serial;
}

// Prints the stored invoice of 500 rows on its form into a PDF file
// (13 pages at 40 rows a page); the file is removed after each run.
void BM_PrintForm500(benchmark::State &state) {
    namespace fs = std::filesystem;
    uint32_t serial = Company() ? PrintCompany() : 0;
    if (serial == 0) {
        state.SkipWithError("the invoice and its form could not be stored");
        return;
    }
    fs::path dir = fs::temp_directory_path() / ("orvel_bench_form_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);   // the printer writes under ./print
    // The print's job, on the printer without its set-up dialog, attached
    // as File > Print attaches its job.
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, OutPrinter);
    PutI16(own.job.selection, ReportParamsVc::SetupDialog, 0);
    OutputJobAttach attached(own.job);
    RuleRecord invoice(IVVc::Number);
    PutU32(invoice.record, IVVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    if (!RecFind(IVVc::Number, invoice.record, 1, 1, &recid, &position)) {
        state.SkipWithError("the invoice could not be read");
        return;
    }
    uintmax_t bytes = 0;
    for (auto _ : state) {
        if (PrintForm(-2, invoice.record) != 1) {
            state.SkipWithError("the form did not print");
            break;
        }
        state.PauseTiming();
        for (const auto &e : fs::directory_iterator(dir / "print")) {
            bytes = e.file_size();
            fs::remove(e.path());
        }
        state.ResumeTiming();
    }
    state.counters["pdf_kb"] = double(bytes) / 1024;
    fs::remove_all(dir);
}
BENCHMARK(BM_PrintForm500)->Unit(benchmark::kMillisecond);

}  // namespace
