// bench_text_exchange.cpp - the whole-database text export (kind 0) of a
// company of 100,000 records (20,000 orders of three rows, 20,000 items,
// 20,000 customers, 40,000 vouchers of two rows), and its import into an
// empty company with the holds renewed as the program does (every 10
// records, every 5 vouchers) and, to compare, every 1000.
//
// The peer writes the same records as their raw bytes (fwrite of each
// record read by position) and reads them back into an empty company with
// plain inserts, one hold per 1000: the counter text/raw is the text side's
// time over its peer's; records/s and the MB each writes are given. An
// export or import that does not run to its end skips with the reason: no
// figure is given for work that was not done. Full runs (ORVEL_BENCH_FULL,
// set by scripts/bench) use the full sizes; smoke runs small ones, so that
// the test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include "bench/bench_export.h"
#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "exchange/ledger_text.h"
#include "rules/rules_types.h"
#include "shell/database_open.h"

namespace {

const int Unit = BenchSize<int>(20000, 20);
const int Records = 5 * Unit;   // customers, items, orders, and twice as many vouchers
const int Registers[] = {CUVc::Number, INVc::Number, ORVc::Number, TRVc::Number};

BenchWorkplace &Place()
{
    static BenchWorkplace w("text_exchange");
    return w;
}

std::filesystem::path TextFile() { return Place().dir / "export.txt"; }
std::filesystem::path RawFile() { return Place().dir / "export.raw"; }

// Inserts a record without hooks, the hold renewed every 1000; false when
// the insert failed.
bool Insert(int reg, uint8_t *record, int *count)
{
    uint32_t id = 0;
    if (!RecStore(reg, record, 0, &id)) return false;
    if (++*count % 1000 == 0) {
        if (!DbHoldEnd()) return false;
        DbHoldBegin();
    }
    return true;
}

// The source company, made once with the frame up; false when it could
// not be made.
bool Source()
{
    static int ready = 0;
    if (ready) return ready > 0 && BenchCompanyReopen(Place().company, false);
    ready = -1;
    if (!BenchFrameUp(Place())) return false;
    MessageSinkSet([](const char *) {});
    RuleRecord cu(CUVc::Number), in(INVc::Number), orr(ORVc::Number), tr(TRVc::Number);
    std::vector<uint8_t> orderRow(RecRowSize(ORVc::Number)), voucherRow(RecRowSize(TRVc::Number));
    PackedDecimal amount;
    int count = 0;
    // The fiscal year 2026 (block 149), so that the vouchers dated in it
    // are stored by the import as well.
    std::vector<uint8_t> year(FiscalYearEntry::Size, 0);
    PutU16(year.data(), FiscalYearEntry::OrderCode, 1);
    BenchPutText(year.data(), FiscalYearEntry::YearCode, 5, "2026");
    PutDate(year.data(), FiscalYearEntry::StartDate, DateRec{1, 1, 2026});
    PutDate(year.data(), FiscalYearEntry::EndDate, DateRec{31, 12, 2026});
    bool ok = SettingsBlockStore(FiscalYearBlk::Number, year.data(), uint32_t(year.size())) == RecDone;
    DbHoldBegin();
    for (int i = 0; i < Unit && ok; i++) {
        std::string n = std::to_string(i);
        RecClear(CUVc::Number, cu.record);
        BenchPutText(cu.record, CUVc::Code, 20, "C" + n);
        BenchPutText(cu.record, CUVc::Name, 60, "Customer " + n);
        RecClear(INVc::Number, in.record);
        BenchPutText(in.record, INVc::Code, 20, "I" + n);
        BenchPutText(in.record, INVc::Name, 60, "Item " + n);
        DecFromDouble(&amount, 10.5 + i);
        PutDec(in.record, INVc::BasePrice, amount);
        RecClear(ORVc::Number, orr.record);
        BenchPutText(orr.record, ORVc::CustCode, 20, "C" + n);
        PutI32(orr.record, ORVc::SerNr, i + 1);
        PutDate(orr.record, ORVc::OrdDate, DateRec{uint16_t(1 + i % 28), uint16_t(1 + i % 12), 2026});
        for (int r = 0; r < 3 && ok; r++) {
            std::fill(orderRow.begin(), orderRow.end(), 0);
            PutU16(orderRow.data(), ORVc::Rows::Kind, 1);
            BenchPutText(orderRow.data(), ORVc::Rows::ItemCode, 20, "I" + std::to_string((i + r) % Unit));
            ok = MatrixRowPut(ORVc::Number, 0, orr.record, r, orderRow.data());
        }
        ok = ok && Insert(CUVc::Number, cu.record, &count) && Insert(INVc::Number, in.record, &count) &&
             Insert(ORVc::Number, orr.record, &count);
    }
    for (int i = 0; i < 2 * Unit && ok; i++) {
        RecClear(TRVc::Number, tr.record);
        PutI32(tr.record, TRVc::SerNr, i + 1);
        PutDate(tr.record, TRVc::TransDate, DateRec{uint16_t(1 + i % 28), uint16_t(1 + i % 12), 2026});
        BenchPutText(tr.record, TRVc::Text, 60, "Voucher " + std::to_string(i));
        for (int r = 0; r < 2 && ok; r++) {
            std::fill(voucherRow.begin(), voucherRow.end(), 0);
            PutU16(voucherRow.data(), TRVc::Rows::Kind, 1);
            BenchPutText(voucherRow.data(), TRVc::Rows::Account, 10, r ? "1910" : "3010");
            DecFromDouble(&amount, r ? 125.0 : -125.0);
            PutDec(voucherRow.data(), TRVc::Rows::Amount, amount);
            ok = MatrixRowPut(TRVc::Number, 0, tr.record, r, voucherRow.data());
        }
        ok = ok && Insert(TRVc::Number, tr.record, &count);
    }
    ok = DbHoldEnd() && ok;
    ready = ok ? 1 : -1;
    return ok;
}

// Exports the open company in kind 0 to the text file from job; false
// when the job stopped or a write failed.
bool ExportText(ReportJob &job)
{
    OutputJobState = OutputJobStateRec{};
    PutU16(job.selection, ReportParamsVc::OutputKind, OutTextFile);
    return BenchExportToFile(job, TextFile(), 0);
}

// Writes every record of the benchmark's registers as raw bytes; false
// when a read or a write failed.
bool ExportRaw()
{
    FILE *f = std::fopen(RawFile().c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    for (int reg : Registers) {
        RuleRecord r(reg);
        uint32_t size = RegRecordSize(reg);
        for (int32_t i = 1; ok && i <= int32_t(RegRecordCount(reg)); i++) {
            uint32_t id = 0;
            ok = RecReadAt(reg, i, r.record, &id) && std::fwrite(&reg, sizeof reg, 1, f) == 1 &&
                 std::fwrite(r.record, size, 1, f) == 1;
        }
    }
    return std::fclose(f) == 0 && ok;
}

// Reads the raw file back into the open company, one hold per 1000.
bool ImportRaw()
{
    FILE *f = std::fopen(RawFile().c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> record(4096);
    int reg = 0, count = 0;
    bool ok = true;
    DbHoldBegin();
    while (ok && std::fread(&reg, sizeof reg, 1, f) == 1)
        ok = std::fread(record.data(), RegRecordSize(reg), 1, f) == 1 && Insert(reg, record.data(), &count);
    ok = DbHoldEnd() && ok;
    std::fclose(f);
    return ok;
}

// Imports the text file into the open company as the program does, from
// job (attached as the import command attaches it: its steps read it);
// false when the run stopped or a step failed.
bool ImportText(ReportJob &job)
{
    PutU16(job.selection, ReportParamsVc::OutputKind, ImportSourceFile);
    PutU16(job.selection, ReportParamsVc::ReportNumber, 0);
    OutputJobAttach attached(job);
    PString path;
    PStringFromC(path, TextFile().c_str());
    if (ImportFileOpen(job, path, 0) != 0) return false;
    ImportFailedSteps = 0;
    ImportRun();
    bool stopped = ImportAbortFlag != 0;
    return ImportFileClose() == 0 && !stopped && ImportFailedSteps == 0;
}

// Seconds per run of the raw peers (they run first), for the ratios.
double RawExportSeconds = 0, RawImportSeconds = 0;

// Seconds since a start.
double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Records/s and MB of a benchmark; with the text side's seconds per run
// and its raw peer's, the ratio text / raw.
void Count(benchmark::State &state, const std::filesystem::path &file, double seconds = 0, double raw = 0)
{
    if (seconds > 0 && raw > 0) state.counters["text/raw"] = seconds / raw;
    state.counters["records/s"] = benchmark::Counter(double(Records), benchmark::Counter::kIsIterationInvariantRate);
    std::error_code ec;
    state.counters["MB"] = double(std::filesystem::file_size(file, ec)) / 1e6;
}

void BM_TextExport(benchmark::State &state)
{
    if (!Source()) return state.SkipWithError("the company could not be made");
    double seconds = 0;
    OwnedJob own;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!ExportText(own.job)) return state.SkipWithError("the text export did not run to its end");
        seconds += Since(start);
    }
    Count(state, TextFile(), seconds / double(state.iterations()), RawExportSeconds);
}

void BM_RawExport(benchmark::State &state)
{
    if (!Source()) return state.SkipWithError("the company could not be made");
    double seconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!ExportRaw()) return state.SkipWithError("the raw export failed");
        seconds += Since(start);
    }
    RawExportSeconds = seconds / double(state.iterations());
    Count(state, RawFile());
}

// Imports into a fresh company per iteration; range 0: the program's
// holds, else that many records (and vouchers) per hold.
void BM_TextImport(benchmark::State &state)
{
    OwnedJob own;
    if (!Source() || !ExportText(own.job)) return state.SkipWithError("the text export did not run to its end");
    uint32_t records = ImportHoldRecords, vouchers = ImportHoldVouchers;
    if (state.range(0)) ImportHoldRecords = ImportHoldVouchers = uint32_t(state.range(0));
    std::string target = (Place().dir / "target.VDB").string();
    bool ok = true;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ok = BenchCompanyReopen(target, true);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (!ok || !(ok = ImportText(own.job))) break;
        seconds += Since(start);
    }
    ImportHoldRecords = records;
    ImportHoldVouchers = vouchers;
    if (!ok) return state.SkipWithError("the text import did not run to its end");
    Count(state, TextFile(), seconds / double(state.iterations()), RawImportSeconds);
    state.counters["stored"] = double(ImportResult.stored);
}

void BM_RawImport(benchmark::State &state)
{
    if (!Source() || !ExportRaw()) return state.SkipWithError("the raw export failed");
    std::string target = (Place().dir / "target.VDB").string();
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bool ok = BenchCompanyReopen(target, true);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (!ok || !ImportRaw()) return state.SkipWithError("the raw import failed");
        seconds += Since(start);
    }
    RawImportSeconds = seconds / double(state.iterations());
    Count(state, RawFile());
}

// The peers first: the text side's ratios divide by their times.
BENCHMARK(BM_RawExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextImport)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
