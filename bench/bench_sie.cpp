// bench_sie.cpp - the SIE export of types 2 and 4 and the import of the
// type-4 file, on a company of 1,000 accounts and 100,000 vouchers of two
// rows spread over 24 months (two fiscal years), posted to the balances
// as the program posts them. The export's hot path is the balance of
// every account at every month end (type 2) and the walk of the vouchers
// with their objects (type 4); the import checks the whole file and then
// stores every account and voucher through the posting.
//
// The peer reads the same records by position without writing anything
// (every account's balance record and every voucher with its rows): the
// counter sie/read is the SIE side's time over its peer's. An export or
// import that does not run to its end skips with the reason. Full runs
// (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes; smoke runs
// small ones, so that the test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include "bench/bench_export.h"
#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "shell/database_open.h"

namespace {

const int Accounts = BenchSize<int>(1000, 20), Vouchers = BenchSize<int>(100000, 200);
constexpr int Months = 24;

BenchWorkplace &Place()
{
    static BenchWorkplace w("sie");
    return w;
}

std::filesystem::path SieFile(int type) { return Place().dir / ("export" + std::to_string(type) + ".se"); }

// The account number of index i: 1000 .. 8999, kinds by first digit.
std::string AccountCode(int i) { return std::to_string(1000 + i * (8000 / Accounts)); }

// Renews the hold every 1000 stores; false when a hold failed.
bool Renew(int *count)
{
    if (++*count % 1000 != 0) return true;
    if (!DbHoldEnd()) return false;
    DbHoldBegin();
    return true;
}

// The source company, made once: two fiscal years, the accounts, two
// object types with ten objects each, and the vouchers (each row of the
// first account of a pair with two objects), stored and posted.
bool Source()
{
    static int ready = 0;
    if (ready) return ready > 0 && BenchCompanyReopen(Place().company, false);
    ready = -1;
    if (!BenchFrameUp(Place())) return false;
    MessageSinkSet([](const char *) {});
    for (int y = 0; y < 2; y++) {
        PString code;
        PStringFromC(code, std::to_string(2025 + y).c_str());
        DateRec start{1, 1, uint16_t(2025 + y)}, end{31, 12, uint16_t(2025 + y)};
        if (!InsertYear(code, &start, &end)) return false;
    }
    if (SettingsBlockStoreHandle(FiscalYearBlk::Number, FiscalYearRows) != RecDone) return false;
    int count = 0;
    bool ok = true;
    DbHoldBegin();
    RuleRecord ac(ACVc::Number), ot(OTVc::Number), ob(OBVc::Number);
    for (int i = 0; i < Accounts && ok; i++) {
        RecClear(ACVc::Number, ac.record);
        PString code;
        PStringFromC(code, AccountCode(i).c_str());
        PutText(ac.record, ACVc::Code, code);
        BenchPutText(ac.record, ACVc::Name, 60, "Account " + std::to_string(i));
        PutU16(ac.record, ACVc::AccType, uint16_t(AccountKindFromNumber(code)));
        uint32_t id = 0;
        ok = RecStoreByKey(ACVc::Number, ac.record, 1, &id) && Renew(&count);
    }
    for (int t = 0; t < 2 && ok; t++) {
        RecClear(OTVc::Number, ot.record);
        BenchPutText(ot.record, OTVc::Code, 5, t ? "PROJ" : "DEP");
        BenchPutText(ot.record, OTVc::Name, 60, t ? "Projects" : "Departments");
        uint32_t id = 0;
        ok = RecStoreByKey(OTVc::Number, ot.record, 1, &id);
        for (int o = 0; o < 10 && ok; o++) {
            RecClear(OBVc::Number, ob.record);
            BenchPutText(ob.record, OBVc::Code, 5, (t ? "P" : "D") + std::to_string(o));
            BenchPutText(ob.record, OBVc::ObjType, 5, t ? "PROJ" : "DEP");
            ok = RecStoreByKey(OBVc::Number, ob.record, 1, &id);
        }
    }
    MemBlock h = 0;
    uint8_t *v = RecBufferNew(TRVc::Number, &h);
    ok = ok && v;
    for (int i = 0; i < Vouchers && ok; i++) {
        RecFreeMatrix(TRVc::Number, v);
        std::memset(v, 0, TRVc::Size);
        int month = i % Months;
        DateRec date{uint16_t(1 + i % 28), uint16_t(1 + month % 12), uint16_t(2025 + month / 12)};
        PutU32(v, TRVc::SerNr, uint32_t(i + 1));
        PutDate(v, TRVc::RegDate, date);
        PutDate(v, TRVc::TransDate, date);
        BenchPutText(v, TRVc::Text, 60, "Voucher " + std::to_string(i));
        PString a, b, objects, text;
        PStringFromC(a, AccountCode(i % Accounts).c_str());
        PStringFromC(b, AccountCode((i * 7 + 1) % Accounts).c_str());
        PStringFromC(objects, ("D" + std::to_string(i % 10) + ",P" + std::to_string(i % 7)).c_str());
        PStringFromC(text, "Row");
        PackedDecimal amount;
        DecFromDouble(&amount, 100.25 + i % 1000);
        AddVoucherRow(v, a, objects, EmptyPString, text, &amount, 0, true, nullptr);
        AddVoucherRow(v, b, EmptyPString, EmptyPString, text, &amount, 0, false, nullptr);
        ok = StoreVoucher(v) && Renew(&count);
    }
    if (h) RecBufferFree(TRVc::Number, &h);
    ok = DbHoldEnd() && ok;
    ready = ok ? 1 : -1;
    return ok;
}

// Writes the SIE file of type over the second year from job; false when
// the job stopped or a write failed.
bool Export(ReportJob &job, int type)
{
    OutputJobState = OutputJobStateRec{};
    PutU16(job.selection, ReportParamsVc::OutputKind, OutTextFile);
    PutU16(job.selection, ReportParamsVc::ReportLayout, uint16_t(type));
    PutDate(job.selection, ReportParamsVc::DateFrom, DateRec{1, 1, 2026});
    PutDate(job.selection, ReportParamsVc::DateTo, DateRec{31, 12, 2026});
    return BenchExportToFile(job, SieFile(type), 21);
}

// The peer: every account's balance record and every voucher with its
// rows read by position; false when a read failed.
bool ReadAll()
{
    RuleRecord bl(BLVc::Number);
    MemBlock h = 0;
    uint8_t *v = RecBufferNew(TRVc::Number, &h);
    bool ok = v != nullptr;
    for (int32_t i = 1; ok && i <= int32_t(RegRecordCount(BLVc::Number)); i++) {
        uint32_t id = 0;
        ok = RecReadAt(BLVc::Number, i, bl.record, &id);
        RecFreeMatrix(BLVc::Number, bl.record);
    }
    for (int32_t i = 1; ok && i <= int32_t(RegRecordCount(TRVc::Number)); i++) {
        uint32_t id = 0;
        RecFreeMatrix(TRVc::Number, v);
        ok = RecReadAt(TRVc::Number, i, v, &id);
    }
    if (h) RecBufferFree(TRVc::Number, &h);
    return ok;
}

double ReadSeconds = 0;

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Count(benchmark::State &state, double seconds, int type)
{
    if (seconds > 0 && ReadSeconds > 0) state.counters["sie/read"] = seconds / ReadSeconds;
    state.counters["vouchers/s"] = benchmark::Counter(double(Vouchers), benchmark::Counter::kIsIterationInvariantRate);
    std::error_code ec;
    state.counters["MB"] = double(std::filesystem::file_size(SieFile(type), ec)) / 1e6;
}

void BM_ReadPeer(benchmark::State &state)
{
    if (!Source()) return state.SkipWithError("the company could not be made");
    double seconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!ReadAll()) return state.SkipWithError("a read failed");
        seconds += Since(start);
    }
    ReadSeconds = seconds / double(state.iterations());
}

void BM_SieExport(benchmark::State &state)
{
    const int type = int(state.range(0));
    if (!Source()) return state.SkipWithError("the company could not be made");
    double seconds = 0;
    OwnedJob own;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!Export(own.job, type)) return state.SkipWithError("the SIE export did not run to its end");
        seconds += Since(start);
    }
    Count(state, seconds / double(state.iterations()), type);
}

// The type-4 file into a fresh company per iteration.
void BM_SieImport(benchmark::State &state)
{
    OwnedJob own;
    if (!Source() || !Export(own.job, 4)) return state.SkipWithError("the SIE export did not run to its end");
    std::string target = (Place().dir / "target.VDB").string();
    double seconds = 0;
    bool ok = true;
    for (auto _ : state) {
        state.PauseTiming();
        ok = BenchCompanyReopen(target, true);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (!ok) break;
        ResetImportFlags();
        // The import's job (SIE from a file), attached as the import
        // command attaches it: its steps read it.
        PutU16(own.job.selection, ReportParamsVc::OutputKind, ImportSourceFile);
        PutU16(own.job.selection, ReportParamsVc::ReportNumber, 2);
        OutputJobAttach attached(own.job);
        PString path;
        PStringFromC(path, SieFile(4).c_str());
        if (!(ok = ImportFileOpen(own.job, path, 0) == 0)) break;
        ImportRun();
        ok = ImportFileClose() == 0 && SieImportResult.refusedFault == 0 && SieImportResult.notStored == 0;
        if (!ok) break;
        seconds += Since(start);
    }
    if (!ok) return state.SkipWithError("the SIE import did not run to its end");
    Count(state, seconds / double(state.iterations()), 4);
    state.counters["stored"] = double(RegRecordCount(TRVc::Number));
}

BENCHMARK(BM_ReadPeer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SieExport)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SieImport)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
