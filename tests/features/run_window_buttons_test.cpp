// run_window_buttons_test.cpp - the OK and Cancel buttons inside report,
// export and maintenance windows, clicked as a user clicks them: OK starts
// the same run as the top bar's OK, with what the window holds, or refuses
// as it does; Cancel closes the window and runs nothing. The report and
// export windows of the interface file are reached from the menus of the
// demo company; the three kinds side by side, typed into, come from a
// small dictionary (the interface file has no maintenance window yet).
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "tests/output/output_fixture.h"
#include "tests/output/test_job.h"
#include "tests/shell/maintenance_job_capture.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/reports/report_window_fixture.h"

namespace {

using Names = std::vector<std::string>;

// ---- The interface file's windows, from the menus ----

class RunWindowButtons : public LoggedIn {
protected:
    // Opens the report "Transactions by date" from File > Reports; the
    // report window's number.
    int OpenReport()
    {
        Menu(CmdReports);
        int list = Find(WinTypes::ReportList);
        EXPECT_GT(list, 0);
        if (!list) return 0;
        EXPECT_TRUE(ChooseRow(list, TextOf(3101))) << ::testing::PrintToString(ListBoxRows(list));
        int n = Find(WinTypes::TransByDateSel);
        EXPECT_GT(n, 0);
        return n;
    }
    // Opens the customer list export from File > Maintenance and types its
    // range; the export window's number.
    int OpenCustomerExport()
    {
        Menu(CmdMaintenance);
        int list = Find(WinTypes::FunctionList);
        EXPECT_GT(list, 0);
        if (!list) return 0;
        EXPECT_TRUE(ChooseRow(list, TextOf(10509)));
        int n = Find(WinTypes::CustomerExportSel);
        EXPECT_GT(n, 0);
        if (n) Type("C1:C2");
        return n;
    }
    // Opens a window by `open` three times: its OK button runs `names`
    // and closes it, the top bar's OK runs the same with the same job, and
    // its Cancel button closes it and runs nothing. The OK button's last
    // run; empty when a step failed.
    template <typename Open> RunCall OkAsTopBarCancelUnrun(Open open, const Names &names)
    {
        RunServicesDouble runs;
        int n = open();
        EXPECT_GT(n, 0);
        if (n <= 0) return {};
        EXPECT_TRUE(ClickLabelled(n, "OK"));
        EXPECT_FALSE(WinIsOpen(n));
        EXPECT_EQ(runs.Names(), names) << ::testing::PrintToString(Shown());
        if (runs.Names() != names) return {};
        RunCall clicked = runs.calls.back();

        runs.calls.clear();
        n = open();
        EXPECT_GT(n, 0);
        if (n <= 0) return {};
        TopBarOk();
        EXPECT_EQ(runs.Names(), names);
        if (runs.Names() == names) {
            EXPECT_EQ(runs.calls.back().params, clicked.params) << "the button's run differs from the top bar's";
        }

        runs.calls.clear();
        n = open();
        EXPECT_GT(n, 0);
        if (n <= 0) return {};
        EXPECT_TRUE(ClickLabelled(n, "Cancel"));
        EXPECT_FALSE(WinIsOpen(n));
        EXPECT_TRUE(runs.calls.empty());
        return clicked;
    }
};

// OK in the report window runs report 24 as the top bar's OK does: the
// window closes and both give the same job. Cancel closes the window and
// runs nothing.
TEST_F(RunWindowButtons, TheReportWindowsButtonsRunAndClose)
{
    RunCall clicked = OkAsTopBarCancelUnrun([this] { return OpenReport(); }, Names{"runReportCommand"});
    ASSERT_EQ(clicked.params.size(), ReportParamsSize);
    EXPECT_EQ(GetU16(clicked.params.data(), ReportParamsVc::ReportNumber), 24);
    EXPECT_TRUE(Shown().empty()) << Shown().front();
}

// OK in the customer list export checks the job and writes the export of
// the typed range, as the top bar's OK does; Cancel closes it unrun.
TEST_F(RunWindowButtons, TheExportWindowsButtonsRunAndClose)
{
    RunCall clicked =
        OkAsTopBarCancelUnrun([this] { return OpenCustomerExport(); }, Names{"reportParamsCheck", "runTextExport"});
    EXPECT_EQ(clicked.args, std::vector<int64_t>{9});
    ASSERT_FALSE(clicked.params.empty());
    PString range;
    GetTextPrefix(clicked.params.data(), ReportParamsVc::SelText1, 60, range);
    EXPECT_EQ(PStringToStd(range), "C1:C2");
}

// ---- The three kinds, typed into ----

constexpr int TypeReport = 60, TypeExport = 61, TypeMaintenance = 62;

// A report, an export and a maintenance window over the job record, each
// with a period, its OK and Cancel and a button of another code; the top
// bar's OK and Cancel.
std::string KindsDict()
{
    std::string from = std::to_string(ReportParamsVc::DateFrom), to = std::to_string(ReportParamsVc::DateTo);
    std::string body = " {\n"
                       "  field rect 10 90 26 190 type date offset " + from + " access always page 0 label \"From\"\n"
                       "  field rect 30 90 46 190 type date offset " + to + " access always page 0 label \"To\"\n"
                       "  control rect 60 90 83 160 kind button command 8 label \"OK\"\n"
                       "  control rect 60 170 83 240 kind button command 5 label \"Cancel\"\n"
                       "  control rect 90 90 113 160 kind button command 3 label \"Other\"\n"
                       "}\n";
    std::string source = "1142 \"The from-date is after the to-date.\"\n"
                         "wintype 1 { kind plain rect 0 0 32 600 }\n"
                         "window 1 {\n"
                         "  control rect 4 45 27 105 kind button command 4 label \"OK\"\n"
                         "  control rect 4 117 27 177 kind button command 5 label \"Cancel\"\n"
                         "}\n";
    const char *kinds[] = {"reportparams", "exportspec", "maintenance"};
    for (int i = 0; i < 3; i++) {
        std::string type = std::to_string(TypeReport + i);
        source += "wintype " + type + " { kind " + kinds[i] + " recsize 1238 rect 60 60 300 400 }\n";
        source += "window " + type + body;
    }
    return source;
}

class RunWindowKinds : public ReportWindowFixture {
protected:
    std::string InterfaceSource() override { return KindsDict(); }

    // Opens a window of `type` and types the period from..to into it.
    static int Typed(int type, const char *from, const char *to)
    {
        int n = OpenOrActivateWindow(type, 0, 0, true, 0);
        EXPECT_GT(n, 0);
        if (n <= 0) return 0;
        EXPECT_EQ(WinTable[n]->currentField, 1);
        Type(from);
        Key(PlKey::Tab);
        Type(to);
        return n;
    }
};

// By kind: OK starts the kind's run with the typed period (the window
// closes), the top bar's OK gives the same run, Cancel closes unrun, and a
// button of another code leaves the window to its type.
TEST_F(RunWindowKinds, OkRunsAsTheTopBarsOkAndCancelClosesUnrun)
{
    // The maintenance routine is called directly (report number 0 is no
    // routine: it does nothing); what it was handed is the job record the
    // batch routines read.
    struct Case {
        int type;
        Names run;
    } cases[] = {
        {TypeReport, {"runReportCommand"}},
        {TypeExport, {"reportParamsCheck", "runTextExport"}},
        {TypeMaintenance, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        RunServicesDouble runs;
        auto handed = [&runs, &c] {
            if (c.run.empty()) return MaintenanceJobSent;
            return runs.calls.empty() ? std::vector<uint8_t>() : runs.calls.back().params;
        };
        std::memset(TestJob, 0, ReportParamsSize);
        int n = Typed(c.type, "1.3.2024", "31.3.2024");
        ASSERT_GT(n, 0);
        std::optional<MaintenanceJobCapture> capture;
        if (c.run.empty()) capture.emplace();
        ASSERT_TRUE(ClickLabelled(n, "OK"));
        capture.reset();
        EXPECT_FALSE(WinIsOpen(n));
        ASSERT_EQ(runs.Names(), c.run) << ::testing::PrintToString(Shown());
        std::vector<uint8_t> clicked = handed();
        ASSERT_EQ(clicked.size(), ReportParamsSize);
        DateRec from = GetDate(clicked.data(), ReportParamsVc::DateFrom);
        DateRec to = GetDate(clicked.data(), ReportParamsVc::DateTo);
        EXPECT_EQ((std::vector<int>{from.day, from.month, from.year, to.day, to.month, to.year}),
                  (std::vector<int>{1, 3, 2024, 31, 3, 2024}));

        runs.calls.clear();
        std::memset(TestJob, 0, ReportParamsSize);
        n = Typed(c.type, "1.3.2024", "31.3.2024");
        ASSERT_GT(n, 0);
        if (c.run.empty()) capture.emplace();
        TopBarOk();
        capture.reset();
        EXPECT_FALSE(WinIsOpen(n));
        ASSERT_EQ(runs.Names(), c.run);
        EXPECT_EQ(handed(), clicked);

        runs.calls.clear();
        n = Typed(c.type, "1.3.2024", "31.3.2024");
        ASSERT_GT(n, 0);
        ASSERT_TRUE(ClickLabelled(n, "Cancel"));
        EXPECT_FALSE(WinIsOpen(n));
        n = Typed(c.type, "1.3.2024", "31.3.2024");
        ASSERT_GT(n, 0);
        ASSERT_TRUE(ClickLabelled(n, "Other"));
        EXPECT_TRUE(WinIsOpen(n));
        EXPECT_TRUE(runs.calls.empty());
        WinClose(n);
        EXPECT_TRUE(Shown().empty()) << Shown().front();
    }
}

// A period the report refuses keeps its window open with what was typed
// and runs nothing, whichever OK the user took; the user is told the same.
TEST_F(RunWindowKinds, ARefusedReportStaysOpenByEitherOk)
{
    RunServicesDouble runs;
    int n = Typed(TypeReport, "1.4.2024", "31.3.2024");
    ASSERT_GT(n, 0);
    ASSERT_TRUE(ClickLabelled(n, "OK"));
    ASSERT_TRUE(WinIsOpen(n));
    EXPECT_TRUE(runs.calls.empty());
    EXPECT_EQ(Shown(), Names{TextOf(1142)});
    DateRec from = GetDate(WinRecordBuffer(n), ReportParamsVc::DateFrom);
    EXPECT_EQ((std::vector<int>{from.day, from.month, from.year}), (std::vector<int>{1, 4, 2024}));

    MessagesShown.clear();
    TopBarOk();
    EXPECT_TRUE(WinIsOpen(n));
    EXPECT_TRUE(runs.calls.empty());
    EXPECT_EQ(Shown(), Names{TextOf(1142)});
}

}  // namespace
