// bench_project_trans.cpp - report 70, the hours of the project
// transactions, over a year of time sheets: every transaction re-reads
// its time sheet to count the rows it stands for and values them at the
// time budget's price, written to a text file (layout 0, every row) and
// summed per person (layout 1).
//
// The peer, timed in the same run, is the bare record work of the walk:
// every transaction read in key order and its time sheet read by serial,
// nothing matched, valued or printed. ratio = report / peer. Full runs
// (ORVEL_BENCH_FULL, set by scripts/bench) use the full size (a year of 40
// sheets a week of five rows: 10,400 rows by 20 persons on 10 projects);
// smoke runs a small one, so the test build's smoke run stays short. The
// data are stored without hooks, as the carry-over leaves them.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"

#include <chrono>
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
#include "reports/projects/project_reports.h"
#include "rules/rules_types.h"

namespace {

const int Weeks = BenchSize<int>(52, 2), SheetsPerWeek = BenchSize<int>(40, 6);
constexpr int RowsPerSheet = 5, Persons = 20, Projects = 10;

BenchWorkplace &Place() {
    static BenchWorkplace w("project_trans");
    return w;
}

int State = -1;   // -1 not tried, 0 cannot start, 1 up with its data

void Text(uint8_t *r, uint32_t at, int m, const std::string &s) {
    PString t;
    PStringFromC(t, s.c_str());
    PutPString(r, at, m, t);
}

std::string Person(int i) { return "E" + std::to_string(i % Persons); }
std::string ProjectCode(int i) { return "PR" + std::to_string(i % Projects); }

template <typename Fill> bool Store(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStoreByKey(reg, r.record, 1, &recid);
}

// The date of day d of 2024 (weeks of five working days from 1 January).
DateRec Day(int d) {
    static const int month[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int m = 0;
    while (m < 11 && d >= month[m]) d -= month[m++];
    return DateRec{uint16_t(d + 1), uint16_t(m + 1), 2024};
}

// Persons, projects with their time budgets (a price per person), the
// time sheets and one transaction per sheet row.
bool StoreCompany() {
    DbHoldBegin();
    bool ok = true;
    for (int p = 0; ok && p < Persons; p++)
        ok = Store(PEVc::Number, [&](uint8_t *r) {
            Text(r, PEVc::Code, 5, Person(p));
            Text(r, PEVc::Name, 60, "Person " + std::to_string(p));
        });
    for (int j = 0; ok && j < Projects; j++) {
        ok = Store(ProjectVc::Number, [&](uint8_t *r) {
            Text(r, ProjectVc::Code, 20, ProjectCode(j));
            Text(r, ProjectVc::Name, 60, "Project " + std::to_string(j));
            PutU16(r, ProjectVc::NotChargeable, j == 0 ? 1 : 0);
        });
        ok = ok && Store(TimeBudgetVc::Number, [&](uint8_t *r) {
            Text(r, TimeBudgetVc::Project, 20, ProjectCode(j));
            Text(r, TimeBudgetVc::ItemCode, 20, "HOUR");
            for (int p = 0; p < Persons; p++) {
                uint8_t row[TimeBudgetVc::Rows::Size] = {};
                Text(row, TimeBudgetVc::Rows::Person, 5, Person(p));
                PackedDecimal price;
                DecFromLong(&price, 50 + p);
                PutDec(row, TimeBudgetVc::Rows::Price, price);
                MatrixRowPut(TimeBudgetVc::Number, 0, r, p, row);
            }
        });
    }
    uint32_t serial = 1;
    for (int w = 0; ok && w < Weeks; w++)
        for (int s = 0; ok && s < SheetsPerWeek; s++, serial++) {
            const int person = s % Persons;
            ok = Store(TimeSheetVc::Number, [&](uint8_t *r) {
                PutU32(r, TimeSheetVc::SerNr, serial);
                PutDate(r, TimeSheetVc::RegDate, Day(w * 7));
                PutU16(r, TimeSheetVc::Transferred, 1);
                for (int i = 0; i < RowsPerSheet; i++) {
                    uint8_t row[TimeSheetVc::Rows::Size] = {};
                    PutDate(row, TimeSheetVc::Rows::RowDate, Day(w * 7 + i));
                    Text(row, TimeSheetVc::Rows::Person, 5, Person(person));
                    Text(row, TimeSheetVc::Rows::Project, 20, ProjectCode(s + i));
                    Text(row, TimeSheetVc::Rows::ItemCode, 20, "HOUR");
                    PackedDecimal qty;
                    DecFromLong(&qty, 8);
                    PutDec(row, TimeSheetVc::Rows::Quantity, qty);
                    Text(row, TimeSheetVc::Rows::WorkText, 60, "Work");
                    MatrixRowPut(TimeSheetVc::Number, 0, r, i, row);
                }
            });
            for (int i = 0; ok && i < RowsPerSheet; i++)
                ok = Store(ProjTransVc::Number, [&](uint8_t *r) {
                    Text(r, ProjTransVc::Person, 5, Person(person));
                    PutDate(r, ProjTransVc::TransDate, Day(w * 7 + i));
                    PutU32(r, ProjTransVc::SheetNr, serial);
                    Text(r, ProjTransVc::ItemCode, 20, "HOUR");
                    Text(r, ProjTransVc::Project, 20, ProjectCode(s + i));
                });
        }
    return DbHoldEnd() && ok;
}

bool Up() {
    if (State < 0) {
        State = BenchFrameUp(Place()) ? 1 : 0;
        MessageSinkSet([](const char *) {});
        if (State == 1 && !StoreCompany()) State = 0;
    }
    return State == 1;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The peer: every transaction in key order and its time sheet by serial.
bool BareWalk() {
    RuleRecord trans(ProjTransVc::Number), sheet(TimeSheetVc::Number);
    uint32_t recid = 0, position = 0;
    int read = 0;
    for (int32_t p = 1; RecReadAt(ProjTransVc::Number, p, trans.record, &recid); p++) {
        RecFreeMatrix(TimeSheetVc::Number, sheet.record);
        PutU32(sheet.record, TimeSheetVc::SerNr, GetU32(trans.record, ProjTransVc::SheetNr));
        if (RecFind(TimeSheetVc::Number, sheet.record, 1, 1, &recid, &position)) read++;
    }
    RecFreeMatrix(TimeSheetVc::Number, sheet.record);
    return read == Weeks * SheetsPerWeek * RowsPerSheet;
}

// Report 70 over 2024 in layout `layout` to a text file, then the peer.
void BM_ProjectTransReport(benchmark::State &state) {
    const uint16_t layout = uint16_t(state.range(0));
    if (!Up()) return state.SkipWithError("the program cannot start");
    const std::filesystem::path file = Place().dir / "hours.txt";
    double report = 0, bare = 0;
    OwnedJob own;
    for (auto _ : state) {
        OutputJobState = OutputJobStateRec{};
        uint8_t *selection = own.job.selection;
        std::memset(selection, 0, ReportParamsSize);
        PutU16(selection, ReportParamsVc::OutputKind, OutTextFile);
        PutU16(selection, ReportParamsVc::ReportNumber, 70);
        PutU16(selection, ReportParamsVc::ReportLayout, layout);
        PutDate(selection, ReportParamsVc::DateFrom, {1, 1, 2024});
        PutDate(selection, ReportParamsVc::DateTo, {31, 12, 2024});
        ScriptAnswerFile(file.string());
        OutputJobAttach attached(own.job);   // the file device opens for the job's device
        RepOpenFileDevice();
        auto start = std::chrono::steady_clock::now();
        RunReport(own.job);
        report += Seconds(start);
        if (RepStopped || std::filesystem::file_size(file) == 0)
            return state.SkipWithError("the report did not run to its end");
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        if (!BareWalk()) return state.SkipWithError("the bare walk did not read every transaction");
        bare += Seconds(start);
        state.ResumeTiming();
    }
    state.counters["rows"] = double(Weeks * SheetsPerWeek * RowsPerSheet);
    state.counters["bare_ms"] = bare / double(state.iterations()) * 1e3;
    state.counters["ratio"] = bare > 0 ? report / bare : 0;
}
BENCHMARK(BM_ProjectTransReport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
