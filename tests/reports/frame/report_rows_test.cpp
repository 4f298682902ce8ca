// report_rows_test.cpp - the report table gathered from the modules' rows:
// the modules as they stand gather without a fault into every number that
// has a report; a number claimed twice, a report no module claims, a row
// without a body, a number outside the table or one that has no report
// are each named as a fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/message_sink.h"
#include "features/program_start.h"
#include "output/output_job.h"
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"
#include "rules/ledger_print.h"
#include "rules/stock_cost_lines.h"

namespace {

void Nothing(ReportJob &) {}

// Every row of the gathered table that runs something, as one module's.
std::vector<ReportRowEntry> GatheredRows()
{
    std::vector<ReportRowEntry> rows;
    for (int n = ReportFirst; n <= ReportLast; n++)
        if (ReportRow(n)->kind != ReportRowKind::None) rows.push_back({int16_t(n), *ReportRow(n)});
    return rows;
}

ReportModuleRows Module(const char *name, const std::vector<ReportRowEntry> &rows)
{
    return {name, rows.data(), uint32_t(rows.size())};
}

// Gathers modules; the fault named, empty when there is none.
std::string Gather(std::initializer_list<ReportModuleRows> modules, ReportRowRec *table = nullptr)
{
    std::vector<ReportRowRec> own(ReportCount);
    std::string problem;
    const bool ok = GatherReportRows(modules.begin(), uint32_t(modules.size()), table ? table : own.data(), &problem);
    EXPECT_EQ(ok, problem.empty()) << problem;
    return problem;
}

bool SameRow(const ReportRowRec &a, const ReportRowRec &b)
{
    return a.kind == b.kind && a.body == b.body && a.bodyAlt == b.bodyAlt && a.bodyArg == b.bodyArg && a.arg == b.arg;
}

std::vector<std::string> Shown;
void Record(const char *text) { Shown.push_back(text); }

// The modules as they stand: no fault, told nothing at install, and the
// table has a report at every number but the fifteen that have none.
TEST(ReportRows, TheModulesGatherWithoutAFault)
{
    EXPECT_EQ(ReportTableProblem(), "");
    Shown.clear();
    MessageSink was = MessageSinkSet(Record);
    FeaturesInstall();
    MessageSinkSet(was);
    OutputRunServices = OutputRunServicesRec{};   // as the install found them
    StockCostLines = StockCostLinesRec{};
    LedgerPrint = LedgerPrintRec{};
    EXPECT_TRUE(Shown.empty()) << Shown.front();

    int none = 0;
    for (int n = ReportFirst; n <= ReportLast; n++) {
        const ReportRowRec &row = *ReportRow(n);
        if (row.kind == ReportRowKind::None) none++;
        else EXPECT_TRUE(row.body || row.bodyAlt || row.bodyArg) << n;
    }
    EXPECT_EQ(none, 15);
    for (ReportModuleRows m : {LedgerReportRows(), SalesReportRows(), PurchaseReportRows(), StockReportRows(),
                               AssetReportRows(), ProjectReportRows(), DocumentRunRows()}) {
        EXPECT_GT(m.count, 0u) << m.module;
        for (uint32_t i = 0; i < m.count; i++)
            EXPECT_TRUE(SameRow(*ReportRow(m.entries[i].number), m.entries[i].row)) << m.module << " " << m.entries[i].number;
    }

    // The same rows split over two modules gather into the same table.
    const std::vector<ReportRowEntry> all = GatheredRows();
    const std::vector<ReportRowEntry> first(all.begin(), all.begin() + 40), rest(all.begin() + 40, all.end());
    std::vector<ReportRowRec> table(ReportCount);
    EXPECT_EQ(Gather({Module("a", first), Module("b", rest)}, table.data()), "");
    for (int n = ReportFirst; n <= ReportLast; n++) EXPECT_TRUE(SameRow(table[n - ReportFirst], *ReportRow(n))) << n;
}

// A second claim of a number names both modules and keeps the first row.
TEST(ReportRows, ANumberClaimedTwiceIsAFault)
{
    const std::vector<ReportRowEntry> all = GatheredRows();
    const std::vector<ReportRowEntry> again = {BodyRow(61, Nothing)};
    std::vector<ReportRowRec> table(ReportCount);
    EXPECT_EQ(Gather({Module("ledger", all), Module("copy", again)}, table.data()),
              "report 61 of copy is claimed by ledger too");
    EXPECT_TRUE(SameRow(table[61 - ReportFirst], *ReportRow(61)));
}

// A report that had a body and that no module claims any longer is a
// fault, not a number that silently runs nothing.
TEST(ReportRows, AReportNoModuleClaimsIsAFault)
{
    std::vector<ReportRowEntry> all = GatheredRows();
    std::vector<ReportRowEntry> without;
    for (const ReportRowEntry &e : all)
        if (e.number != 99) without.push_back(e);
    EXPECT_EQ(Gather({Module("all", without)}), "report 99 is claimed by no module");
    EXPECT_EQ(Gather({}), "report -29 is claimed by no module");
}

// A row without a body, a number outside -29..116 and a number that has
// no report are each named.
TEST(ReportRows, BadRowsAreNamed)
{
    const std::vector<ReportRowEntry> all = GatheredRows();
    const struct {
        ReportRowEntry entry;
        const char *fault;
    } cases[] = {
        {{23, {ReportRowKind::Body, nullptr, nullptr, nullptr, 0}}, "report 23 of bad is a number without a report"},
        {BodyRow(117, Nothing), "report 117 of bad is outside -29..116"},
        {BodyRow(-30, Nothing), "report -30 of bad is outside -29..116"},
        {BodyRow(2, Nothing), "report 2 of bad is a number without a report"},
    };
    for (const auto &c : cases) {
        const std::vector<ReportRowEntry> bad = {c.entry};
        EXPECT_EQ(Gather({Module("all", all), Module("bad", bad)}), c.fault);
    }
    // A body row with no body at a number that has a report.
    std::vector<ReportRowEntry> empty;
    for (const ReportRowEntry &e : all)
        empty.push_back(e.number == 5 ? ReportRowEntry{5, {ReportRowKind::Body, nullptr, nullptr, nullptr, 0}} : e);
    EXPECT_EQ(Gather({Module("all", empty)}), "report 5 of all has no body");
    std::vector<ReportRowEntry> noLayout = all;
    for (ReportRowEntry &e : noLayout)
        if (e.number == 9) e.row = {ReportRowKind::ByLayout, nullptr, nullptr, nullptr, 0};
    EXPECT_EQ(Gather({Module("all", noLayout)}), "report 9 of all has no body");
}

}  // namespace
