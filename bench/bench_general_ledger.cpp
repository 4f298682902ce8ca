// bench_general_ledger.cpp - the general ledger (report 6) over a chart of
// accounts and a year of vouchers, in both forms to a text file, against
// the bare walk of the account postings it reads (ratio = report / walk);
// and the interest over a busy account's postings (one rate span of the
// whole year) against the balance change over the same days.
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use 1,000 accounts and
// 100,000 postings (50,000 vouchers of two rows, a fifth of them on the
// busy account); smoke runs 40 accounts and 600 postings, so that the test
// build's smoke run stays short.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include "bench/bench_report.h"
#include "bench/bench_sizes.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

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
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

const int Accounts = BenchSize<int>(1000, 40), Postings = BenchSize<int>(100000, 600);
constexpr const char *Busy = "1000";   // account 0

BenchWorkplace &Place() {
    static BenchWorkplace w("general_ledger");
    return w;
}

int State = -1;   // -1 not tried, 0 cannot start, 1 up with its data

std::string AccountCode(int i) { return std::to_string(1000 + i); }

bool StoreYear() {
    std::vector<uint8_t> row(FiscalYearEntry::Size, 0);
    PutU16(row.data(), FiscalYearEntry::OrderCode, FiscalYearCodeFor(nullptr, 0, 0, 0));
    BenchPutText(row.data(), FiscalYearEntry::YearCode, 5, "2024");
    PutDate(row.data(), FiscalYearEntry::StartDate, DateRec{1, 1, 2024});
    PutDate(row.data(), FiscalYearEntry::EndDate, DateRec{31, 12, 2024});
    return SettingsBlockStore(FiscalYearBlk::Number, row.data(), (uint32_t)row.size()) == RecDone;
}

// The accounts, half balance and half result accounts, the rate code
// and the vouchers: each of two rows, one of every five on the busy
// account.
bool StoreLedger() {
    if (!StoreYear()) return false;
    DbHoldBegin();
    bool ok = true;
    for (int i = 0; i < Accounts && ok; i++)
        ok = BenchStorePlain(ACVc::Number, [&](uint8_t *r) {
            BenchPutText(r, ACVc::Code, 10, AccountCode(i));
            BenchPutText(r, ACVc::Name, 60, "Account " + AccountCode(i));
            PutU16(r, ACVc::AccType, uint16_t(i < Accounts / 2 ? 1 : 3));
            PutU16(r, ACVc::DebitAllowed, 1);
            PutU16(r, ACVc::CreditAllowed, 1);
        });
    ok = ok && BenchStorePlain(IntRateVc::Number, [&](uint8_t *r) {
        BenchPutText(r, IntRateVc::RateCode, 5, "BANK");
        PutDate(r, IntRateVc::FromDate, DateRec{1, 1, 2024});
        uint8_t row[IntRateVc::Rows::Size] = {};
        PutDec(row, IntRateVc::Rows::Rate, BenchNum(3));
        MatrixRowPut(IntRateVc::Number, 0, r, 0, row);
    });
    if (!ok) DbHoldFail();
    if (!DbHoldEnd()) return false;

    std::mt19937 rng(2024);
    RuleRecord v(Voucher::Number);
    DbHoldBegin();
    for (int n = 0; ok && n < Postings / 2; n++) {
        RecFreeMatrix(Voucher::Number, v.record);
        RecClear(Voucher::Number, v.record);
        const DateRec date{uint16_t(1 + rng() % 28), uint16_t(1 + rng() % 12), 2024};
        PutU32(v.record, Voucher::SerNr, uint32_t(n + 1));
        PutDate(v.record, Voucher::TransDate, date);
        PutDate(v.record, Voucher::RegDate, date);
        BenchPutText(v.record, Voucher::Text, 60, "Voucher");
        const int32_t cents = 100 + int32_t(rng() % 100000);
        // Two different accounts: a voucher posts each account once.
        const int first = n % 5 == 0 ? 0 : int(rng() % Accounts);
        const int second = (first + 1 + int(rng() % (Accounts - 1))) % Accounts;
        for (int i = 0; i < 2; i++) {
            uint8_t row[TransRow::Size] = {};
            PutU16(row, TransRow::Kind, RowAccount);
            BenchPutText(row, TransRow::Account, 10, AccountCode(i == 0 ? first : second));
            PackedDecimal amount;
            DecFromThousandths(&amount, (i == 0 ? cents : -cents) * 10);
            PutDec(row, TransRow::Amount, amount);
            MatrixRowPut(Voucher::Number, 0, v.record, i, row);
        }
        ok = StoreVoucher(v.record);
    }
    RecFreeMatrix(Voucher::Number, v.record);
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok;
}

bool Up() {
    if (State < 0) {
        State = BenchFrameUp(Place()) ? 1 : 0;
        MessageSinkSet([](const char *m) { std::fprintf(stderr, "%s\n", m); });
        if (State == 1 && !StoreLedger()) {
            std::fprintf(stderr, "the ledger could not be stored\n");
            State = 0;
        }
    }
    return State == 1;
}

// Report 6 over the year: range(0) 0 the detailed form, 1 the summary.
void BM_GeneralLedger(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    const std::filesystem::path file = Place().dir / "ledger.txt";
    OwnedJob own;
    for (auto _ : state) {
        BenchReportJob(own.job, 6, int(state.range(0)));
        PutDate(own.job.selection, ReportParamsVc::DateFrom, DateRec{1, 1, 2024});
        PutDate(own.job.selection, ReportParamsVc::DateTo, DateRec{31, 12, 2024});
        if (!BenchReportToFile(own.job, file)) return state.SkipWithError("the report did not run to its end");
    }
    state.counters["postings/s"] =
        benchmark::Counter(double(Postings) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GeneralLedger)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The peer: every account read by code and its postings of register 18
// walked by (account, date), nothing read from their sources.
void BM_PostingWalkPeer(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    for (auto _ : state) {
        RuleRecord a(ACVc::Number);
        uint8_t entry[ATVc::Size];
        uint32_t recid = 0, position = 0;
        int read = 0;
        if (RecFindByIndex(ACVc::Number, "Code", a.record, 1, 0, &recid, &position)) {
            for (uint32_t p = position;; p++) {
                if (p != position && !RecReadAtIndex(ACVc::Number, "Code", int32_t(p), a.record, &recid)) break;
                std::memset(entry, 0, sizeof entry);
                std::memcpy(entry + ATVc::Account, a.record + ACVc::Code, 12);
                uint32_t eid = 0, epos = 0;
                if (!RecFindByIndex(ATVc::Number, "AccDate", entry, 1, 0, &eid, &epos)) continue;
                for (uint32_t q = epos;; q++) {
                    if (q != epos && !RecReadAtIndex(ATVc::Number, "AccDate", int32_t(q), entry, &eid)) break;
                    if (std::memcmp(entry + ATVc::Account, a.record + ACVc::Code, 12) != 0) break;
                    read++;
                }
            }
        }
        if (read != Postings) return state.SkipWithError("the walk did not read every posting");
    }
    state.counters["postings/s"] =
        benchmark::Counter(double(Postings) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PostingWalkPeer)->Unit(benchmark::kMillisecond);

// The interest of the busy account over the year at one rate, following
// its balance through every posting.
void BM_InterestOverPostings(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    RuleRecord rate(IntRateVc::Number);
    PString account, objects = {0}, code;
    PStringFromC(account, Busy);
    PStringFromC(code, "BANK");
    const DateRec from{1, 1, 2024}, to{31, 12, 2024};
    DateRec end;
    if (!InterestRateSpan(code, &from, rate.record, &end))
        return state.SkipWithError("the rate record is not found");
    // The walk reads the running job's layout: a zero job, no lines.
    OwnedJob own;
    OutputJobAttach attached(own.job);
    for (auto _ : state) {
        PackedDecimal balance, interest;
        DecSetZero(&balance);
        DecSetZero(&interest);
        if (!AccountInterestOverPostings(account, objects, &from, &to, &balance, rate.record, &interest))
            return state.SkipWithError("the walk stopped");
        benchmark::DoNotOptimize(interest);
    }
    RecFreeMatrix(IntRateVc::Number, rate.record);
    state.counters["postings/s"] =
        benchmark::Counter(double(Postings / 10) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InterestOverPostings)->Unit(benchmark::kMillisecond);

// The peer of the interest: the busy account's change over the year from
// its balance record and postings.
void BM_BalanceChangePeer(benchmark::State &state) {
    if (!Up()) return state.SkipWithError("the program cannot start");
    PString account, objects = {0};
    PStringFromC(account, Busy);
    const DateRec from{1, 1, 2024}, to{15, 12, 2024};
    for (auto _ : state) {
        PackedDecimal change;
        AccountBalanceChange(account, objects, &from, &to, 0, 0, &change);
        benchmark::DoNotOptimize(change);
    }
}
BENCHMARK(BM_BalanceChangePeer)->Unit(benchmark::kMillisecond);

}  // namespace
