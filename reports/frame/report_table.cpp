// report_table.cpp - what each report number -29..116 runs, gathered from
// the modules' rows at first use: a body, report 9's choice by layout, or
// nothing for the numbers that have no report.
//
// The modules are listed here rather than registering themselves from
// static constructors: a static library drops an object file nothing
// names, and a report that silently vanished would be found by a user.
#include <iterator>
#include <string>

#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"

namespace {

// The numbers of -29..116 that run nothing. Every other number is
// claimed by exactly one module.
constexpr int16_t NumbersWithoutReport[] = {-5, -1, 0, 2, 23, 29, 52, 55, 56, 62, 63, 71, 76, 86, 107};

bool HasNoReport(int number)
{
    for (int16_t n : NumbersWithoutReport)
        if (n == number) return true;
    return false;
}

bool RowHasBody(const ReportRowRec &row)
{
    if (row.kind == ReportRowKind::ByLayout) return row.body != nullptr || row.bodyAlt != nullptr;
    if (row.kind == ReportRowKind::Body) return row.body != nullptr || row.bodyArg != nullptr;
    return false;
}

// Keeps the first fault found.
void Fault(std::string *problem, const std::string &text)
{
    if (problem && problem->empty()) *problem = text;
}

struct GatheredTable {
    ReportRowRec rows[ReportCount];
    std::string problem;
};

GatheredTable &Gathered()
{
    static GatheredTable table = [] {
        const ReportModuleRows modules[] = {LedgerReportRows(), SalesReportRows(), PurchaseReportRows(),
                                            StockReportRows(), AssetReportRows(), ProjectReportRows(),
                                            DocumentRunRows()};
        GatheredTable t;
        GatherReportRows(modules, uint32_t(std::size(modules)), t.rows, &t.problem);
        return t;
    }();
    return table;
}

}  // namespace

bool GatherReportRows(const ReportModuleRows *modules, uint32_t count, ReportRowRec *table, std::string *problem)
{
    const char *claimedBy[ReportCount] = {};
    for (int i = 0; i < ReportCount; i++) table[i] = {ReportRowKind::None, nullptr, nullptr, nullptr, 0};
    bool ok = true;
    auto fail = [&](const std::string &text) {
        Fault(problem, text);
        ok = false;
    };
    for (uint32_t m = 0; m < count; m++) {
        const ReportModuleRows &module = modules[m];
        for (uint32_t e = 0; e < module.count; e++) {
            const ReportRowEntry &entry = module.entries[e];
            const int n = entry.number;
            const std::string where = "report " + std::to_string(n) + " of " + module.module;
            if (n < ReportFirst || n > ReportLast) {
                fail(where + " is outside " + std::to_string(ReportFirst) + ".." + std::to_string(ReportLast));
                continue;
            }
            if (claimedBy[n - ReportFirst]) {
                fail(where + " is claimed by " + claimedBy[n - ReportFirst] + " too");
                continue;
            }
            if (HasNoReport(n)) fail(where + " is a number without a report");
            if (!RowHasBody(entry.row)) fail(where + " has no body");
            claimedBy[n - ReportFirst] = module.module;
            table[n - ReportFirst] = entry.row;
        }
    }
    for (int n = ReportFirst; n <= ReportLast; n++)
        if (!claimedBy[n - ReportFirst] && !HasNoReport(n))
            fail("report " + std::to_string(n) + " is claimed by no module");
    return ok;
}

ReportRowRec *ReportTable() { return Gathered().rows; }

const std::string &ReportTableProblem() { return Gathered().problem; }

// The row of report number `number`; null outside -29..116.
const ReportRowRec *ReportRow(int number)
{
    if (number < ReportFirst || number > ReportLast) return nullptr;
    return &ReportTable()[number - ReportFirst];
}
