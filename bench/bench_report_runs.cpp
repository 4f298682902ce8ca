// bench_report_runs.cpp - whole report runs over long histories: the
// sales journal (report 1) over 100,000 invoices to a text file (2) and
// to the preview's store (6), against the bare walk of the same index
// reading the same records (ratio = report / walk); and an account's
// balance at a day in mid-month, which adds the month's postings to the
// last whole month, against the balance at a month's end, which reads the
// balance record alone, over a year of postings.
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes
// (100,000 invoices; a year of 100 three-row vouchers a day); smoke runs
// small ones, so that the test build's smoke run stays short. The data are
// stored without hooks, as posting leaves them.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"
#include "bench/bench_vouchers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

const int Invoices = BenchSize<int>(100000, 200), Days = BenchSize<int>(365, 40), VouchersPerDay = BenchSize<int>(100, 3);

BenchWorkplace &Place()
{
    static BenchWorkplace w("report_runs");
    return w;
}

int State = -1;   // -1 not tried, 0 cannot start, 1 up with its data

void Text(uint8_t *r, uint32_t at, int m, const char *s)
{
    PString t;
    PStringFromC(t, s);
    PutPString(r, at, m, t);
}

void Amount(uint8_t *r, uint32_t at, double v)
{
    PackedDecimal d;
    DecFromDouble(&d, v);
    PutDec(r, at, d);
}

// Invoices 1.. spread over 2024, one item row each, every fifth a credit
// note, in three currencies.
bool StoreInvoices()
{
    static const char *const currencies[] = {"", "EUR", "USD"};
    for (int n = 1; n <= Invoices; n++) {
        RuleRecord r(IVVc::Number);
        if (!r.record) return false;
        DateRec date{1, 1, 2024};
        DateAddDays(&date, int((int64_t(n) * 365) / (Invoices + 1)), &date);
        Text(r.record, IVVc::CustCode, 20, n % 2 ? "C1" : "C2");
        PutI32(r.record, IVVc::SerNr, n);
        PutDate(r.record, IVVc::InvDate, date);
        PutDate(r.record, IVVc::TransDate, date);
        PutU16(r.record, IVVc::InvType, n % 5 == 0 ? 3 : 1);
        PutU16(r.record, IVVc::Posted, 1);
        Text(r.record, IVVc::Addr0, 60, "A customer of the benchmark");
        Text(r.record, IVVc::CurncyCode, 5, currencies[n % 3]);
        Amount(r.record, IVVc::Net, 100 + n % 97);
        Amount(r.record, IVVc::Vat, 25);
        Amount(r.record, IVVc::Total, 125 + n % 97);
        uint8_t row[IVVc::Rows::Size] = {};
        PutU16(row, IVVc::Rows::Kind, 1);
        Text(row, IVVc::Rows::ItemCode, 20, "ITEM1");
        Amount(row, IVVc::Rows::Quantity, 1);
        Amount(row, IVVc::Rows::Sum, 100 + n % 97);
        PutI32(row, IVVc::Rows::Link, -1);
        if (!MatrixRowPut(IVVc::Number, 0, r.record, 0, row)) return false;
        uint32_t recid = 0;
        if (!RecStoreByKey(IVVc::Number, r.record, 0, &recid)) return false;
    }
    return true;
}

// A year of three-row vouchers with their postings (register 18), and the
// month sums of account 1000 in its balance record (register 17).
bool StorePostings()
{
    PackedDecimal month[12];
    for (PackedDecimal &m : month) DecSetZero(&m);
    uint32_t serNr = 1;
    for (int day = 0; day < Days; day++) {
        DateRec date{1, 1, 2024};
        DateAddDays(&date, day, &date);
        for (int k = 0; k < VouchersPerDay; k++, serNr++) {
            if (!BenchStoreVoucher(serNr, date)) return false;
            PackedDecimal hundred;
            DecFromDouble(&hundred, 100);
            DecAdd(&month[date.month - 1], &hundred, &month[date.month - 1]);
        }
    }
    PString account;
    PStringFromC(account, "1000");
    for (uint16_t m = 0; m < 12; m++) {
        DateRec first{1, uint16_t(m + 1), 2024};
        if (!DecIsZero(&month[m]) && !UpdateBalanceRecord(account, EmptyPString, MonthIndex(&first), &month[m], KindLedger))
            return false;
    }
    return true;
}

// The frame up once with its company filled; false when the program
// cannot start or the data could not be stored.
bool Up()
{
    if (State < 0) {
        State = BenchFrameUp(Place()) ? 1 : 0;
        MessageSinkSet([](const char *) {});
        if (State == 1 && !(StoreInvoices() && StorePostings())) State = 0;
    }
    return State == 1;
}

// The job record of report 1 over 2024, every invoice kind, to `kind`.
void Report1Job(ReportJob &job, uint16_t kind)
{
    uint8_t *selection = job.selection;
    std::memset(selection, 0, ReportParamsSize);
    PutU16(selection, ReportParamsVc::OutputKind, kind);
    PutU16(selection, ReportParamsVc::ReportNumber, 1);
    for (uint32_t o : {ReportParamsVc::Option2, ReportParamsVc::Option3, ReportParamsVc::Option4,
                       ReportParamsVc::Option5, ReportParamsVc::Option6, ReportParamsVc::Option7})
        PutU16(selection, o, 1);
    PutDate(selection, ReportParamsVc::DateFrom, {1, 1, 2024});
    PutDate(selection, ReportParamsVc::DateTo, {31, 12, 2024});
}

void BM_SalesJournal(benchmark::State &state)
{
    const uint16_t kind = uint16_t(state.range(0));
    if (!Up()) return state.SkipWithError("the program cannot start");
    const std::filesystem::path file = Place().dir / "journal.txt";
    OwnedJob own;
    for (auto _ : state) {
        OutputJobState = OutputJobStateRec{};
        Report1Job(own.job, kind);
        if (kind == OutTextFile) {
            ScriptAnswerFile(file.string());
            OutputJobAttach attached(own.job);   // the file device opens for the job's device
            RepOpenFileDevice();
        }
        RunReport(own.job);
        bool stopped = RepStopped;
        if (kind == OutPreview && WinIsOpen(RepOutputState.previewWindow)) WinClose(RepOutputState.previewWindow);
        if (stopped) return state.SkipWithError("the report did not run to its end");
    }
    state.counters["invoices/s"] =
        benchmark::Counter(double(Invoices) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SalesJournal)->Arg(OutTextFile)->Arg(OutPreview)->Unit(benchmark::kMillisecond);

// The peer: the walk of "TransDate" over the year reading every invoice
// with its rows, nothing printed.
void BM_InvoiceWalkPeer(benchmark::State &state)
{
    if (!Up()) return state.SkipWithError("the program cannot start");
    for (auto _ : state) {
        RuleRecord r(IVVc::Number);
        PutDate(r.record, IVVc::TransDate, {1, 1, 2024});
        uint32_t recid = 0, position = 0;
        int read = 0;
        if (RecFindByIndex(IVVc::Number, "TransDate", r.record, 1, 0, &recid, &position)) {
            for (uint32_t p = position;; p++) {
                if (p != position) {
                    RecFreeMatrix(IVVc::Number, r.record);
                    if (!RecReadAtIndex(IVVc::Number, "TransDate", int32_t(p), r.record, &recid)) break;
                }
                read++;
            }
        }
        RecFreeMatrix(IVVc::Number, r.record);
        if (read != Invoices) return state.SkipWithError("the walk did not read every invoice");
    }
    state.counters["invoices/s"] =
        benchmark::Counter(double(Invoices) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InvoiceWalkPeer)->Unit(benchmark::kMillisecond);

// The balance of account 1000 at the end of `date`, checked against the
// 100 every voucher up to that day adds.
void Balance(benchmark::State &state, DateRec date)
{
    if (!Up()) return state.SkipWithError("the program cannot start");
    PString account;
    PStringFromC(account, "1000");
    PackedDecimal out;
    for (auto _ : state) {
        AccountBalanceAt(account, EmptyPString, &date, 0, 0, &out);
        benchmark::DoNotOptimize(out);
    }
    DateRec first{1, 1, 2024};
    const int days = std::min(Days, int(DateDiffDays(&date, &first)) + 1);
    if (DecToDouble(&out) != 100.0 * VouchersPerDay * days) state.SkipWithError("the balance is not the postings' sum");
}

// Mid-month: the last whole month from the balance record, the days of
// the month from the postings.
void BM_BalanceMidMonth(benchmark::State &state)
{
    Balance(state, Days >= 365 ? DateRec{15, 6, 2024} : DateRec{15, 2, 2024});
}
BENCHMARK(BM_BalanceMidMonth)->Unit(benchmark::kMicrosecond);

// A month's end: the balance record alone.
void BM_BalanceMonthEnd(benchmark::State &state)
{
    Balance(state, Days >= 365 ? DateRec{30, 6, 2024} : DateRec{31, 1, 2024});
}
BENCHMARK(BM_BalanceMonthEnd)->Unit(benchmark::kMicrosecond);

}  // namespace
