// bench_document_runs.cpp - the order printing run (-6, approve kind 13)
// over a range of orders of ten rows each, every order printed on its
// form to a PDF and marked printed, against the bare walk of the same
// orders by number reading each with its rows (ratio = run / walk); and
// the payment-reminder run (-4) over open items of which half are
// overdue: each overdue one read with its invoice, printed to a PDF and
// its raised level stored, the others passed over.
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) print 2,000 orders and
// walk 10,000 open items; smoke runs 20 and 40, so that the test build's
// smoke run stays short.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "rules/rules_types.h"

namespace {

const int32_t Orders = BenchSize<int32_t>(2000, 20), OpenItems = BenchSize<int32_t>(10000, 40);
constexpr int32_t FirstInvoice = 500000;
constexpr int OrderRows = 10;
constexpr int32_t FirstOrder = 1000;

namespace fs = std::filesystem;

PackedDecimal DecOf(int32_t v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

bool FormItem(uint8_t *form, int t, int l, int r, int16_t code, int16_t pitch)
{
    uint8_t row[DocVc::Rows::Size] = {};
    PutU16(row, DocVc::Rows::Kind, 4);
    PutDec(row, DocVc::Rows::Left, DecOf(l));
    PutDec(row, DocVc::Rows::Top, DecOf(t));
    PutDec(row, DocVc::Rows::Right, DecOf(r));
    PutDec(row, DocVc::Rows::Bottom, DecOf(t + 12));
    BenchPutText(row, DocVc::Rows::Font, 20, "NORMAL");
    PutU16(row, DocVc::Rows::RowPitch, (uint16_t)pitch);
    PutU16(row, DocVc::Rows::FieldCode, (uint16_t)code);
    return MatrixRowPut(DocVc::Number, 0, form, MatrixRowCount(DocVc::Number, 0, form), row);
}

// The order form: the customer's name and address, the order's number
// and date, the rows' item, text, quantity, price and sum, the totals.
bool StoreOrderForm()
{
    return BenchStorePlain(DocVc::Number, [](uint8_t *f) {
        BenchPutText(f, DocVc::Code, 20, "ORDER");
        PutU16(f, DocVc::Copies, 1);
        PutU16(f, DocVc::RowsPerPage, 30);
        FormItem(f, 40, 40, 300, 2, 14);
        FormItem(f, 40, 400, 500, 73, 0);
        FormItem(f, 54, 400, 500, 74, 0);
        const int16_t rowCodes[] = {8, 14, 13, 15, 18};
        for (int i = 0; i < 5; i++) FormItem(f, 120, 40 + 100 * i, 130 + 100 * i, rowCodes[i], 14);
        FormItem(f, 700, 400, 500, 77, 0);
        FormItem(f, 714, 40, 500, 78, 0);
    });
}

// The company: a printer writing PDFs, the font, the form chosen for the
// orders, a customer and the orders. Once per program.
bool Company()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("document_runs")) return false;
    MessageSinkSet([](const char *) {});
    BenchOutputInstall();   // the output layer and its windows, as the program's start installs them
    std::vector<uint8_t> printer(PrintersBlk::Rows::Size), choice(OrderFormBlk::Rows::Size);
    BenchPutText(printer.data(), PrintersBlk::Rows::Name, 20, "PDF");
    BenchPutText(printer.data(), PrintersBlk::Rows::PrinterText, 20, "P");
    PutI32(choice.data(), OrderFormBlk::Rows::SeriesStart, -1);
    PutI32(choice.data(), OrderFormBlk::Rows::CopyPass, -1);
    BenchPutText(choice.data(), OrderFormBlk::Rows::FormName, 20, "ORDER");
    BenchPutText(choice.data(), OrderFormBlk::Rows::PrinterName, 20, "PDF");
    if (!BenchStoreRows(PrintersBlk::Number, printer) || !BenchStoreRows(OrderFormBlk::Number, choice)) return false;
    DbHoldBegin();
    bool ok = BenchStorePlain(FontVc::Number,
                              [](uint8_t *r) {
                                  BenchPutText(r, FontVc::Name, 20, "NORMAL");
                                  BenchPutText(r, FontVc::WinFontName, 20, "DejaVu Sans");
                                  PutU16(r, FontVc::WinSize, 8);
                              }) &&
              StoreOrderForm() && BenchStorePlain(CUVc::Number, [](uint8_t *r) {
                  BenchPutText(r, CUVc::Code, 20, "C1");
                  BenchPutText(r, CUVc::Name, 60, "The benchmark's customer");
              });
    for (int32_t n = 0; ok && n < Orders; n++) {
        RuleRecord o(ORVc::Number);
        if (!o.record) break;
        PutI32(o.record, ORVc::SerNr, FirstOrder + n);
        BenchPutText(o.record, ORVc::CustCode, 20, "C1");
        BenchPutText(o.record, ORVc::Addr0, 60, "The benchmark's customer");
        PutDate(o.record, ORVc::OrdDate, DateRec{uint16_t(1 + n % 28), 3, 2024});
        for (int i = 0; ok && i < OrderRows; i++) {
            uint8_t row[ORVc::Rows::Size] = {};
            PutU16(row, ORVc::Rows::Kind, 1);
            BenchPutText(row, ORVc::Rows::ItemCode, 20, "ITEM" + std::to_string(i));
            BenchPutText(row, ORVc::Rows::Text, 100, "Row " + std::to_string(i) + " of the order");
            PutDec(row, ORVc::Rows::Quantity, DecOf(1 + i));
            PutDec(row, ORVc::Rows::Price, DecOf(10));
            PutDec(row, ORVc::Rows::Sum, DecOf(10 * (1 + i)));
            ok = MatrixRowPut(ORVc::Number, 0, o.record, i, row);
        }
        uint32_t recid = 0;
        ok = ok && RecStoreByKey(ORVc::Number, o.record, 1, &recid);
        RecFreeMatrix(ORVc::Number, o.record);
    }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

// The reminders' company: the orders' company, the order form chosen for
// the reminders, and OpenItems posted invoices of one row with their open
// items, every second one overdue since 2020 and the others due in 2099.
bool ReminderCompany()
{
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!Company()) return false;
    std::vector<uint8_t> choice(ReminderFormBlk::Rows::Size);
    PutI32(choice.data(), ReminderFormBlk::Rows::SeriesStart, -1);
    PutI32(choice.data(), ReminderFormBlk::Rows::CopyPass, -1);
    BenchPutText(choice.data(), ReminderFormBlk::Rows::FormName, 20, "ORDER");
    BenchPutText(choice.data(), ReminderFormBlk::Rows::PrinterName, 20, "PDF");
    if (!BenchStoreRows(ReminderFormBlk::Number, choice)) return false;
    DbHoldBegin();
    bool ok = true;
    for (int32_t n = 0; ok && n < OpenItems; n++) {
        const int32_t number = FirstInvoice + n;
        const bool overdue = n % 2 == 0;
        ok = BenchStorePlain(IVVc::Number, [&](uint8_t *r) {
            PutI32(r, IVVc::SerNr, number);
            BenchPutText(r, IVVc::CustCode, 20, "C1");
            BenchPutText(r, IVVc::Addr0, 60, "The benchmark's customer");
            PutDate(r, IVVc::InvDate, DateRec{1, 12, 2019});
            PutU16(r, IVVc::Posted, 1);
            PutDec(r, IVVc::Total, DecOf(125));
            uint8_t row[IVVc::Rows::Size] = {};
            PutU16(row, IVVc::Rows::Kind, 1);
            BenchPutText(row, IVVc::Rows::ItemCode, 20, "ITEM1");
            PutDec(row, IVVc::Rows::Quantity, DecOf(1));
            PutDec(row, IVVc::Rows::Sum, DecOf(100));
            MatrixRowPut(IVVc::Number, 0, r, 0, row);
        }) && BenchStorePlain(ARVc::Number, [&](uint8_t *r) {
            PutI32(r, ARVc::InvoiceNr, number);
            BenchPutText(r, ARVc::CustCode, 20, "C1");
            PutDec(r, ARVc::OpenAmount, DecOf(125));
            PutDate(r, ARVc::DueDate, overdue ? DateRec{1, 1, 2020} : DateRec{1, 1, 2099});
        });
    }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

// The printed flag of order number n; -1 when it cannot be read.
int PrintedFlag(int32_t n)
{
    RuleRecord o(ORVc::Number);
    PutI32(o.record, ORVc::SerNr, n);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(ORVc::Number, o.record, 1, 1, &recid, &position);
    RecFreeMatrix(ORVc::Number, o.record);
    return found ? GetU16(o.record, ORVc::Printed) : -1;
}

size_t PdfsIn(const fs::path &dir)
{
    size_t n = 0;
    std::error_code ec;
    for (const auto &e : fs::directory_iterator(dir, ec)) n += e.path().extension() == ".pdf";
    return n;
}

// Run -6 over every order to PDFs; the PDFs are counted and removed
// outside the timing.
void BM_OrderRunToPdf(benchmark::State &state)
{
    if (!Company()) return state.SkipWithError("the company could not be made");
    fs::path dir = fs::temp_directory_path() / ("orvel_bench_document_runs_" + std::to_string(getpid()));
    fs::create_directories(dir / "print");
    fs::path saved = fs::current_path();
    fs::current_path(dir);   // the printer writes under ./print
    // The run's job, attached as the dispatcher attaches it: its forms
    // print from it.
    OwnedJob own;
    PutI16(own.job.selection, ReportParamsVc::SetupDialog, 0);
    PutU16(own.job.selection, ReportParamsVc::OutputKind, 1);
    PString range;
    PStringFromC(range, (std::to_string(FirstOrder) + ":" + std::to_string(FirstOrder + Orders - 1)).c_str());
    bool whole = true;
    for (auto _ : state) {
        PutText(own.job.selection, ReportParamsVc::SelText1, range);
        UserCancelFlag = 0;
        OutputJobAttach attached(own.job);
        ApproveOrderRange(own.job);
        state.PauseTiming();
        whole = PdfsIn(dir / "print") == size_t(Orders) && PrintedFlag(FirstOrder + Orders - 1) == 1;
        for (const auto &e : fs::directory_iterator(dir / "print")) fs::remove(e.path());
        state.ResumeTiming();
        if (!whole) break;
    }
    fs::current_path(saved);
    fs::remove_all(dir);
    if (!whole) return state.SkipWithError("the run did not print every order");
    state.counters["orders/s"] =
        benchmark::Counter(double(Orders) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OrderRunToPdf)->Unit(benchmark::kMillisecond);

// The reminder level stored in invoice n; -1 when it cannot be read.
int32_t NoticeLevelOf(int32_t n)
{
    RuleRecord inv(IVVc::Number);
    PutI32(inv.record, IVVc::SerNr, n);
    uint32_t recid = 0, position = 0;
    bool found = RecFindByIndex(IVVc::Number, "SerNr", inv.record, 1, 1, &recid, &position);
    RecFreeMatrix(IVVc::Number, inv.record);
    return found ? GetI32(inv.record, IVVc::NoticeCount) : -1;
}

// Run -4 over every open item with the level raised: the overdue half
// prints, one PDF each, and stores its level; the PDFs are counted and
// removed outside the timing.
void BM_ReminderRunToPdf(benchmark::State &state)
{
    if (!ReminderCompany()) return state.SkipWithError("the company could not be made");
    fs::path dir = fs::temp_directory_path() / ("orvel_bench_reminders_" + std::to_string(getpid()));
    fs::create_directories(dir / "print");
    fs::path saved = fs::current_path();
    fs::current_path(dir);
    // The run's job, attached as the dispatcher attaches it.
    OwnedJob own;
    uint8_t *selection = own.job.selection;
    PutI16(selection, ReportParamsVc::SetupDialog, 0);
    PutU16(selection, ReportParamsVc::OutputKind, 1);
    PString range, empty = {0};
    PStringFromC(range, (std::to_string(FirstInvoice) + ":").c_str());
    PutTextPrefix(selection, ReportParamsVc::SelText2, 20, empty);
    PutTextPrefix(selection, ReportParamsVc::SelText3, 5, empty);
    PutI32(selection, ReportParamsVc::NumberFrom, -1);
    PutI32(selection, ReportParamsVc::NumberTo, -1);
    PutU16(selection, ReportParamsVc::Option2, 1);
    bool whole = true;
    int32_t rounds = 0;
    for (auto _ : state) {
        PutText(selection, ReportParamsVc::SelText1, range);
        UserCancelFlag = 0;
        OutputJobAttach attached(own.job);
        PrintCustomerForms(own.job);
        rounds++;
        state.PauseTiming();
        whole = PdfsIn(dir / "print") == size_t(OpenItems / 2) && NoticeLevelOf(FirstInvoice) == rounds &&
                NoticeLevelOf(FirstInvoice + 1) <= 0;
        for (const auto &e : fs::directory_iterator(dir / "print")) fs::remove(e.path());
        state.ResumeTiming();
        if (!whole) break;
    }
    fs::current_path(saved);
    fs::remove_all(dir);
    if (!whole) return state.SkipWithError("the run did not remind every overdue item once");
    state.counters["items/s"] =
        benchmark::Counter(double(OpenItems) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["reminders/s"] =
        benchmark::Counter(double(OpenItems / 2) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReminderRunToPdf)->Unit(benchmark::kMillisecond);

// The peer: the same orders walked by number, each read with its rows.
void BM_OrderWalkPeer(benchmark::State &state)
{
    if (!Company()) return state.SkipWithError("the company could not be made");
    for (auto _ : state) {
        RuleRecord o(ORVc::Number);
        int read = 0;
        uint32_t recid = 0;
        for (int32_t pos = 1; RecReadAt(ORVc::Number, pos, o.record, &recid); pos++) {
            read += MatrixRowCount(ORVc::Number, 0, o.record) == OrderRows;
            RecFreeMatrix(ORVc::Number, o.record);
        }
        if (read != Orders) return state.SkipWithError("the walk did not read every order");
    }
    state.counters["orders/s"] =
        benchmark::Counter(double(Orders) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OrderWalkPeer)->Unit(benchmark::kMillisecond);

}  // namespace
