// bench_projects.cpp - the cost of the project side: the invoicing batch
// over many projects with many budget rows each, and the carry-over of a
// long time sheet into budgets, transactions and links.
//
// The peer of each, timed in the same run, is the bare record work of the
// same size with no rules: for the batch, reading every budget by its
// (project, item) index and writing it back and storing one invoice per
// project, a hold per project as the batch has; for the sheet, finding each
// row's budget and storing one transaction and one link per row. ratio =
// the rule's time / the peer's. Full runs (ORVEL_BENCH_FULL, set by
// scripts/bench) use the full sizes (1,000 projects of 20 budgets of 10
// rows; a sheet of 500 rows); smoke runs small ones, so the test build's
// smoke run stays short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

#include "bench/bench_store.h"
#include "bench/bench_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "operations/project_ops.h"
#include "rules/projects.h"

namespace {

// The job the runs measured are handed.
uint8_t Selection[ReportParamsSize];
ReportJob Job{Selection};

const int Projects = BenchSize<int>(1000, 12), Budgets = BenchSize<int>(20, 3), BudgetRows = BenchSize<int>(10, 4), SheetRows = BenchSize<int>(500, 20);
constexpr int Customers = 50, SheetProjects = 25, SheetItems = 4, Persons = 10;


// Stores one record of reg filled by fill with no hooks; false when it failed.
template <typename Fill> bool StorePlain(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStore(reg, r.record, 0, &recid);
}

std::string ProjectCode(int p) { return "PR" + std::to_string(p); }
std::string ItemCode(int i) { return "IT" + std::to_string(i); }

// The time budgets of every project, each row with hours to invoice.
bool StoreBudgets() {
    PackedDecimal qty, price;
    DecFromLong(&qty, 2);
    DecFromLong(&price, 75);
    for (int p = 0; p < Projects; p++)
        for (int b = 0; b < Budgets; b++) {
            bool ok = StorePlain(TimeBudgetVc::Number, [&](uint8_t *r) {
                BenchPutText(r, TimeBudgetVc::Project, 20, ProjectCode(p));
                BenchPutText(r, TimeBudgetVc::ItemCode, 20, ItemCode(b));
                for (int i = 0; i < BudgetRows; i++) {
                    uint8_t row[TimeBudgetVc::Rows::Size] = {};
                    BenchPutText(row, TimeBudgetVc::Rows::Person, 5, "E" + std::to_string(i));
                    PutDec(row, TimeBudgetVc::Rows::QtyToInvoice, qty);
                    PutDec(row, TimeBudgetVc::Rows::Price, price);
                    MatrixRowPut(TimeBudgetVc::Number, 0, r, i, row);
                }
                TimeBudgetTotals(r);
            });
            if (!ok) return false;
        }
    return true;
}

// Customers, items, persons and projects (the sheet's projects among
// them), and the budgets. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("projects")) return false;
    DbHoldBegin();
    PackedDecimal rate;
    DecFromLong(&rate, 30);
    bool ok = true;
    for (int c = 0; ok && c < Customers; c++)
        ok = StorePlain(CUVc::Number, [&](uint8_t *r) { BenchPutText(r, CUVc::Code, 20, "C" + std::to_string(c)); });
    for (int i = 0; ok && (i < Budgets || i < SheetItems); i++)
        ok = StorePlain(INVc::Number, [&](uint8_t *r) { BenchPutText(r, INVc::Code, 20, ItemCode(i)); BenchPutText(r, INVc::Name, 60, "Work"); });
    for (int e = 0; ok && e < Persons; e++)
        ok = StorePlain(PEVc::Number, [&](uint8_t *r) {
            BenchPutText(r, PEVc::Code, 5, "E" + std::to_string(e));
            PutDec(r, PEVc::CostRate, rate);
        });
    for (int p = 0; ok && (p < Projects || p < SheetProjects); p++)
        ok = StorePlain(ProjectVc::Number, [&](uint8_t *r) {
            BenchPutText(r, ProjectVc::Code, 20, ProjectCode(p));
            BenchPutText(r, ProjectVc::CustCode, 20, "C" + std::to_string(p % Customers));
        });
    ok = ok && StoreBudgets();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every budget read by (project, item) and written back, and one plain
// invoice stored per project, each project in a hold of its own as the
// batch keeps each invoice with its budgets.
bool BareBudgetPass() {
    RuleRecord b(TimeBudgetVc::Number), inv(IVVc::Number);
    uint8_t project[256] = {0}, have[256];
    uint32_t recid = 0, serial = 1000000;
    bool open = false, ok = true;
    for (int32_t p = 1; ok && RecReadAtIndex(TimeBudgetVc::Number, "ProjectItem", p, b.record, &recid); p++) {
        GetText(b.record, TimeBudgetVc::Project, have);
        if (!open || !PStringEqual(have, project)) {
            if (open && !DbHoldEnd()) return false;
            DbHoldBegin();
            open = true;
            PStringCopy(project, have);
            RecClear(IVVc::Number, inv.record);
            PutU32(inv.record, IVVc::SerNr, serial++);
            uint32_t invId = 0;
            ok = RecStore(IVVc::Number, inv.record, 0, &invId);
        }
        ok = ok && RecStore(TimeBudgetVc::Number, b.record, 1, &recid);
    }
    if (open && !DbHoldEnd()) return false;
    return ok;
}

// The invoicing batch over every project (final); the budgets are made
// anew, untimed, before each run.
void BM_InvoicesFromProjects(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    double rule = 0, bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DbHoldBegin();
        bool fresh = RegDeleteAll(TimeBudgetVc::Number) && RegDeleteAll(IVVc::Number) && StoreBudgets();
        if (!DbHoldEnd() || !fresh) {
            state.SkipWithError("the budgets could not be made");
            return;
        }
        std::memset(Selection, 0, ReportParamsSize);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (!InvoicesFromProjects(Job) || RegRecordCount(IVVc::Number) != (uint32_t)Projects) {
            state.SkipWithError("the invoices were not made");
            return;
        }
        rule += Seconds(start);
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        bool walked = BareBudgetPass();
        if (!walked) {
            state.SkipWithError("the bare pass failed");
            return;
        }
        bare += Seconds(start);
        state.ResumeTiming();
    }
    state.counters["budget_rows"] = (double)Projects * Budgets * BudgetRows;
    state.counters["bare_ms"] = bare / (double)state.iterations() * 1e3;
    state.counters["ratio"] = bare > 0 ? rule / bare : 0;
}
BENCHMARK(BM_InvoicesFromProjects)->Unit(benchmark::kMillisecond);

// The sheet: SheetRows rows over the sheet's projects, items and
// persons, one date each.
void MakeSheet(uint8_t *sheet) {
    RecClear(TimeSheetVc::Number, sheet);
    PutU32(sheet, TimeSheetVc::SerNr, 1);
    PutDate(sheet, TimeSheetVc::RegDate, DateRec{1, 6, 2024});
    PutU16(sheet, TimeSheetVc::Transferred, 1);
    PackedDecimal qty;
    DecFromLong(&qty, 1);
    for (int i = 0; i < SheetRows; i++) {
        uint8_t row[TimeSheetVc::Rows::Size] = {};
        PutDate(row, TimeSheetVc::Rows::RowDate, DateRec{(uint16_t)(1 + i % 28), (uint16_t)(1 + i / 28 % 12), 2024});
        BenchPutText(row, TimeSheetVc::Rows::Person, 5, "E" + std::to_string(i % Persons));
        BenchPutText(row, TimeSheetVc::Rows::Project, 20, ProjectCode(i % SheetProjects));
        BenchPutText(row, TimeSheetVc::Rows::ItemCode, 20, ItemCode(i % SheetItems));
        PutDec(row, TimeSheetVc::Rows::Quantity, qty);
        MatrixRowPut(TimeSheetVc::Number, 0, sheet, i, row);
    }
}

// Per row: its budget found and rewritten, a transaction and a link stored.
bool BareSheetPass(const uint8_t *sheet) {
    RuleRecord b(TimeBudgetVc::Number), t(ProjTransVc::Number), l(ProjLinkVc::Number);
    uint8_t row[TimeSheetVc::Rows::Size], project[256], item[256];
    for (int i = 0; i < SheetRows; i++) {
        MatrixRowGet(TimeSheetVc::Number, 0, sheet, i, row);
        GetText(row, TimeSheetVc::Rows::Project, project);
        GetText(row, TimeSheetVc::Rows::ItemCode, item);
        uint32_t recid = 0;
        if (ProjectBudgetFind(TimeBudgetVc::Number, b.record, project, item, &recid) &&
            !RecStore(TimeBudgetVc::Number, b.record, 1, &recid))
            return false;
        RecClear(ProjTransVc::Number, t.record);
        std::memcpy(t.record + ProjTransVc::Person, row + TimeSheetVc::Rows::Person, 6);
        PutDate(t.record, ProjTransVc::TransDate, GetDate(row, TimeSheetVc::Rows::RowDate));
        PutU32(t.record, ProjTransVc::SheetNr, 2);
        PutText(t.record, ProjTransVc::ItemCode, item);
        PutText(t.record, ProjTransVc::Project, project);
        PutText(l.record, ProjLinkVc::Project, project);
        PutDate(l.record, ProjLinkVc::LinkDate, GetDate(row, TimeSheetVc::Rows::RowDate));
        PutU32(l.record, ProjLinkVc::SourceNr, 2);
        if (!RecStoreByKey(ProjTransVc::Number, t.record, 1, &recid) || !RecStoreByKey(ProjLinkVc::Number, l.record, 1, &recid))
            return false;
    }
    return true;
}

// A transferred sheet carried over; the registers it writes are emptied,
// untimed, before each run.
void BM_TimeSheetTransfer(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    RuleRecord sheet(TimeSheetVc::Number);
    MakeSheet(sheet.record);
    double rule = 0, bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DbHoldBegin();
        bool empty = RegDeleteAll(TimeBudgetVc::Number) && RegDeleteAll(ProjTransVc::Number) &&
                     RegDeleteAll(ProjLinkVc::Number);
        if (!DbHoldEnd() || !empty) {
            state.SkipWithError("the registers could not be emptied");
            return;
        }
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        DbHoldBegin();
        bool carried = TimeSheetTransfer(sheet.record);
        if (!DbHoldEnd() || !carried || RegRecordCount(ProjTransVc::Number) != (uint32_t)SheetRows) {
            state.SkipWithError("the sheet was not carried over");
            return;
        }
        rule += Seconds(start);
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        DbHoldBegin();
        bool walked = BareSheetPass(sheet.record);
        if (!DbHoldEnd() || !walked) {
            state.SkipWithError("the bare pass failed");
            return;
        }
        bare += Seconds(start);
        state.ResumeTiming();
    }
    state.counters["rows"] = SheetRows;
    state.counters["bare_ms"] = bare / (double)state.iterations() * 1e3;
    state.counters["ratio"] = bare > 0 ? rule / bare : 0;
}
BENCHMARK(BM_TimeSheetTransfer)->Unit(benchmark::kMillisecond);

}  // namespace
