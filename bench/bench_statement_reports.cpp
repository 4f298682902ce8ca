// bench_statement_reports.cpp - the balance sheet (report 21) over a
// ledger of many accounts and postings: twenty rows of range formulas
// (each range less one account), row formulas summing them, every account
// printed, to a text file over a year of whole months; against the bare
// walk of the same accounts with their period amounts and nothing printed
// (ratio = report / walk).
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use 1,000 accounts and
// 100,000 postings; smoke runs 100 and 2,000, so that the test build's
// smoke run stays short.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
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

const int Accounts = BenchSize<int>(1000, 100), Postings = BenchSize<int>(100000, 2000);
constexpr int FormulaRows = 20;

BenchWorkplace &Place() {
    static BenchWorkplace w("statement_reports");
    return w;
}

int State = -1;   // -1 not tried, 0 cannot start, 1 up with its data

void Code(int i, uint8_t *out) {
    char code[16];
    std::snprintf(code, sizeof code, "%d", 10000 + i);
    PStringFromC(out, code);
}

template <typename Fill> bool Store(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStoreByKey(reg, r.record, 1, &recid);
}

// The accounts, their postings spread over 2024 (straight into the
// monthly balances, as posting leaves them), and the rows: row k sums a
// twentieth of the accounts less its first one; the last row sums all.
bool StoreLedger() {
    DbHoldBegin();
    bool ok = true;
    for (int i = 0; i < Accounts && ok; i++)
        ok = Store(ACVc::Number, [&](uint8_t *r) {
            PString code;
            Code(i, code);
            PutText(r, ACVc::Code, code);
            PutText(r, ACVc::Name, code);
            PutU16(r, ACVc::AccType, uint16_t(i % 5));
        });
    PString none = {0}, account;
    for (int n = 0; n < Postings && ok; n++) {
        Code((n * 7919) % Accounts, account);
        const DateRec date{uint16_t(1 + n % 28), uint16_t(1 + n % 12), 2024};
        PackedDecimal amount;
        DecFromLong(&amount, (n % 2 ? -1 : 1) * (100 + n % 900));
        ok = PostToBalances(&date, account, none, &amount, 0, nullptr);
    }
    const int per = Accounts / FormulaRows;
    for (int k = 0; k < FormulaRows && ok; k++) {
        PString from, to, formula;
        Code(k * per, from);
        Code(k * per + per - 1, to);
        std::snprintf(reinterpret_cast<char *>(formula + 1), 200, "%.*s:%.*s-%.*s", from[0], from + 1, to[0],
                      to + 1, from[0], from + 1);
        formula[0] = uint8_t(std::strlen(reinterpret_cast<char *>(formula + 1)));
        ok = Store(SR21Vc::Number, [&](uint8_t *r) {
            PutU32(r, SR21Vc::RowNr, uint32_t(10 * (k + 1)));
            PutText(r, SR21Vc::Formula, formula);
            PutText(r, SR21Vc::Label, formula);
            PutU16(r, SR21Vc::RowKind, 1);
        });
    }
    ok = ok && Store(SR21Vc::Number, [&](uint8_t *r) {
        PString sum;
        PStringFromC(sum, "10+20+30+40+50+60+70+80+90+100-110");
        PutU32(r, SR21Vc::RowNr, 1000);
        PutText(r, SR21Vc::Formula, sum);
        PutText(r, SR21Vc::Label, sum);
        PutU16(r, SR21Vc::RowKind, 2);
    });
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok;
}

bool Up() {
    if (State < 0) {
        State = BenchFrameUp(Place()) ? 1 : 0;
        MessageSinkSet([](const char *) {});
        if (State == 1 && !StoreLedger()) State = 0;
    }
    return State == 1;
}

void Select(ReportJob &job) {
    OutputJobState = OutputJobStateRec{};
    std::memset(job.selection, 0, ReportParamsSize);
    PutU16(job.selection, ReportParamsVc::OutputKind, OutTextFile);
    PutU16(job.selection, ReportParamsVc::ReportNumber, 21);
    PutDate(job.selection, ReportParamsVc::DateFrom, {1, 1, 2024});
    PutDate(job.selection, ReportParamsVc::DateTo, {31, 12, 2024});
}

// Report 21 through the dispatcher (check, body) into a text file.
void BM_BalanceSheet(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    const std::filesystem::path file = Place().dir / "statement.txt";
    OwnedJob own;
    for (auto _ : state) {
        Select(own.job);
        ScriptAnswerFile(file.string());
        OutputJobAttach attached(own.job);   // the file device opens for the job's device
        RepOpenFileDevice();
        RunReport(own.job);
        if (RepStopped) return state.SkipWithError("the report did not run to its end");
    }
    // Every account of the rows' ranges has a line of its own.
    if (std::filesystem::file_size(file) < uintmax_t(Accounts) * 20)
        return state.SkipWithError("the statement printed too few lines");
    state.counters["accounts/s"] =
        benchmark::Counter(double(Accounts) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BalanceSheet)->Unit(benchmark::kMillisecond);

// The peer: every account read in code order with its opening, movement
// and closing amounts, nothing printed; the amounts are over the period
// of the job attached.
void BM_AccountWalkPeer(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    OwnedJob own;
    for (auto _ : state) {
        Select(own.job);
        OutputJobAttach attached(own.job);
        RuleRecord a(ACVc::Number);
        uint32_t recid = 0, position = 0;
        int read = 0;
        PString code, none = {0};
        if (RecFindByIndex(ACVc::Number, "Code", a.record, 1, 0, &recid, &position)) {
            for (uint32_t p = position;; p++) {
                if (p != position && !RecReadAtIndex(ACVc::Number, "Code", int32_t(p), a.record, &recid)) break;
                GetText(a.record, ACVc::Code, code);
                PackedDecimal o, m, c;
                AccountPeriodAmounts(code, none, &o, &m, &c);
                benchmark::DoNotOptimize(c);
                read++;
            }
        }
        if (read != Accounts) return state.SkipWithError("the walk did not read every account");
    }
    state.counters["accounts/s"] =
        benchmark::Counter(double(Accounts) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AccountWalkPeer)->Unit(benchmark::kMillisecond);

}  // namespace
