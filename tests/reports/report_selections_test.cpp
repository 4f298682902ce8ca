// report_selections_test.cpp - saved report selections (block 163) kept,
// listed and deleted across a reopening of the company; the print
// commands and the OK of report, export and maintenance windows hand the
// right job to the runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "platform/control.h"
#include "recordwin/record_windows.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "shell/report_commands.h"
#include "shell/window_mouse.h"
#include "output/job_queue.h"
#include "tests/output/output_fixture.h"
#include "tests/output/test_job.h"
#include "tests/shell/maintenance_job_capture.h"
#include "tests/reports/report_window_fixture.h"

namespace {

constexpr int TypeList = 6, TypeQueue = 9, TypeSave = 14, TypeReport = 60, TypeExport = 61, TypeUpkeep = 62,
              TypePreview = 63, TypePlain = 64;

// The report list runs reports 10 and 11, not 99.
const char *const ReportSelectionDict = R"(
settings 163 ReportSelectionBlk table {
  rows size 86 {
    Name 0 text 20
    ReportNr 84 short
  }
}
9501 "Connection lost."
9965 "Choose a report first."
wintype 6 { kind plain recsize 64 rect 60 60 400 420 listrect 10 10 -100 -10 }
wintype 9 { kind plain rect 40 40 300 440 listrect 10 5 -20 -5 }
wintype 14 { kind plain recsize 1238 rect 80 80 200 460 }
window 14 {
  field rect 30 90 46 290 type text format 20 offset 0 access always page 0 label "Name"
}
wintype 60 { kind reportparams recsize 1238 rect 60 60 300 400 }
wintype 61 { kind exportspec recsize 1238 rect 60 60 300 400 }
wintype 62 { kind maintenance recsize 1238 rect 60 60 300 400 }
wintype 63 { kind preview recsize 1238 rect 60 60 300 400 }
wintype 64 { kind plain recsize 16 rect 60 60 300 400 }
list reports {
  text 9501 wintype 60 number 10 wintype2 0 module 0
}
list savedreports {
  text 9501 wintype 60 number 10 wintype2 0 module 0
  text 9501 wintype 60 number 11 wintype2 0 module 0
}
)";

std::vector<int> Events;   // events 8 and 28 the report and plain types heard
uint8_t QueueAnswer = 1;   // what event 28 gives

class ReportSelections : public ReportWindowFixture {
protected:
    std::string InterfaceSource() override { return ReportSelectionDict; }
    void SetUp() override
    {
        RecordFixture::SetUp();
        Events.clear();
        QueueAnswer = 1;
        for (int type : {TypeReport, TypePlain})
            WindowEventHandlerSet(type, [](int, int event, void *, void *) -> uint8_t {
                if (event == 8 || event == 28) Events.push_back(event);
                return event == 28 ? QueueAnswer : 1;
            });
    }
    void TearDown() override
    {
        for (int type : {TypeReport, TypePlain}) WindowEventHandlerSet(type, nullptr);
        MemFree(&ReportListRows);
        RecordFixture::TearDown();
    }
    // A new save window: the name typed, the report number set.
    int SaveWindow(const char *name, int number)
    {
        int n = OpenOrActivateWindow(TypeSave, 0, 0, true, 0);
        if (n > 0) Type(name), PutU16(WinRecordBuffer(n), ReportSelectionBlk::Rows::ReportNr, uint16_t(number));
        return n;
    }
    // The stored rows of block 163, each as its name and number.
    static std::vector<std::string> Stored()
    {
        std::vector<std::string> out;
        MemBlock rows = 0;
        SettingsBlockFetch(&rows, ReportSelectionBlk::Number);
        for (uint32_t r = 0; rows && r < MemSize(rows) / ReportSelectionBlk::Rows::Size; r++) {
            const uint8_t *row = MemLock(rows) + r * ReportSelectionBlk::Rows::Size;
            out.push_back(PStringToStd(row) + std::to_string(GetU16(row, ReportSelectionBlk::Rows::ReportNr)));
            MemUnlock(rows);
        }
        MemFree(&rows);
        return out;
    }
    static std::vector<std::string> Rows(int n) { return ListBoxRows(n); }
    // A window of the type whose record is all 7s but word 22 and the device.
    static int JobWindow(int type, int reopened, int device)
    {
        int n = OpenOrActivateWindow(type, 0, 0, true, 0);
        uint8_t *r = n > 0 ? WinRecordBuffer(n) : nullptr;
        if (r) memset(r, 7, ReportParamsSize), PutU16(r, ReportParamsVc::Reopened, uint16_t(reopened));
        if (r) PutU16(r, ReportParamsVc::OutputKind, uint16_t(device));
        return n;
    }

    RunServicesDouble runs;
};

TEST_F(ReportSelections, SavedSelectionsAreDeletedByTheirListedRowAndKeptAcrossReopening)
{
    // New in the report list without a selected report: the list closes,
    // the save window has no number and its OK is refused.
    int list = OpenOrActivateWindow(TypeList, 0, 0, false, 0);
    ASSERT_GT(list, 0);
    ListBoxSetCurSel(WinListBox(list), -1);
    CmdNewRecord(list);
    EXPECT_FALSE(WinFindByDef(TypeList));
    int s = WinFindByDef(TypeSave);
    ASSERT_GT(s, 0);
    Type("None");
    WindowOkAction(s);
    EXPECT_TRUE(Said("Choose a report first."));
    list = OpenOrActivateWindow(TypeList, 0, 0, false, 0);
    ASSERT_GT(list, 0);

    // A client whose server is gone reads nothing; one whose server has no
    // rows but refuses the store: each told once, the window stays.
    PutU16(WinRecordBuffer(s), ReportSelectionBlk::Rows::ReportNr, 10);
    RunMode = RunModeClient;
    WindowOkAction(s);
    RemoteOps.settingsBlockFetch = [](MemBlock *rows, int) { return *rows = 0, false; };
    WindowOkAction(s);
    RemoteOps.settingsBlockFetch = nullptr;
    RunMode = 0;
    EXPECT_EQ(std::count(MessagesShown.begin(), MessagesShown.end(), "Connection lost."), 2);
    ASSERT_TRUE(WinIsOpen(s));
    EXPECT_TRUE(Stored().empty());
    WinClose(s);

    // Its push buttons: Cancel drops a selection unasked, OK saves one.
    s = SaveWindow("Dropped", 10);
    DialogButton(s, 1, 5, 1);
    EXPECT_FALSE(WinIsOpen(s));
    for (auto [name, number] : {std::pair{"Orphan", 99}, {"First", 10}, {"Second", 11}}) {
        s = SaveWindow(name, number);
        DialogButton(s, 0, 8, 1);
        EXPECT_FALSE(WinIsOpen(s)) << name;
    }
    EXPECT_EQ(Stored(), (std::vector<std::string>{"Orphan99", "First10", "Second11"}));
    EXPECT_EQ(GetU16(WinRecordBuffer(list), MenuListRecord::ListKind), 2);   // the list turned to them
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"First", "Second"}));
    // The list's row 0 is the block's row 1.
    ListBoxSetCurSel(WinListBox(list), 0);
    CmdDeleteRecord(list);
    EXPECT_EQ(Stored(), (std::vector<std::string>{"Orphan99", "Second11"}));
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"Second"}));
    PutU16(WinRecordBuffer(list), MenuListRecord::ListKind, 1);   // listing reports, nothing is deleted
    CmdDeleteRecord(list);
    EXPECT_EQ(Stored().size(), 2u);

    CompanyClose();
    PString path;
    PathOf("company.VDB", path);
    ASSERT_TRUE(DbLayerInit());
    ASSERT_TRUE(DbOpen(path, 0));
    list = OpenOrActivateWindow(TypeList, 0, 0, false, 0);
    ASSERT_GT(list, 0);
    PutU16(WinRecordBuffer(list), MenuListRecord::ListKind, 2);
    MenuListFill(list);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"Second"}));
    // New with the saved row selected: its report goes into the new
    // selection, which OK stores.
    ListBoxSetCurSel(WinListBox(list), 0);
    CmdNewRecord(list);
    s = WinFindByDef(TypeSave);
    ASSERT_GT(s, 0);
    Type("Taken");
    WindowOkAction(s);
    EXPECT_FALSE(WinIsOpen(s));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"Orphan99", "Second11", "Taken11"}));
}

TEST_F(ReportSelections, ReportWindowOkRunsOnlyAFreeWindowAndQueuesOnlyWhenTheTypeAgrees)
{
    // The windows' jobs are their own: the test's job record is not touched.
    std::memset(TestJob, 0x44, ReportParamsSize);
    const std::vector<uint8_t> testJobBefore(TestJob, TestJob + ReportParamsSize);
    int n = JobWindow(TypeReport, 1, 1);   // word 22 set: nothing
    WindowOkAction(n);
    EXPECT_TRUE(WinIsOpen(n));
    EXPECT_TRUE(runs.calls.empty());

    JobQueueReset();
    for (uint8_t answer : {0, 1}) {
        QueueAnswer = answer;
        n = JobWindow(TypeReport, 0, 7);
        WindowOkAction(n);
        EXPECT_FALSE(WinIsOpen(n));
    }
    // Only the window whose type left the queueing to OK saved its job,
    // to run on the device the queue runs it on (1).
    EXPECT_TRUE(runs.calls.empty());
    ASSERT_EQ(JobQueueCount(), 1);
    std::vector<uint8_t> queued(ReportParamsSize, 0);
    ASSERT_TRUE(JobQueuePop(queued.data()));
    std::vector<uint8_t> saved(ReportParamsSize, 7);
    PutU16(saved.data(), ReportParamsVc::Reopened, 0);
    PutU16(saved.data(), ReportParamsVc::OutputKind, 1);
    EXPECT_EQ(queued, saved);
    EXPECT_EQ(Events, (std::vector<int>{28, 28}));

    runs.calls.clear();
    n = JobWindow(TypeReport, 0, 1);
    WindowOkAction(n);
    EXPECT_FALSE(WinIsOpen(n));
    ASSERT_EQ(runs.Names(), (std::vector<std::string>{"runReportCommand"}));
    std::vector<uint8_t> want(ReportParamsSize, 7);
    PutU16(want.data(), ReportParamsVc::Reopened, 0);
    PutU16(want.data(), ReportParamsVc::OutputKind, 1);
    PutU16(want.data(), ReportParamsVc::ExportWord, 0);   // word 20
    EXPECT_EQ(runs.calls[0].params, want);
    EXPECT_TRUE(runs.calls[0].attached);
    EXPECT_EQ(std::vector<uint8_t>(TestJob, TestJob + ReportParamsSize), testJobBefore);
}

TEST_F(ReportSelections, PrintCommandsRunByWindow)
{
    int p = JobWindow(TypePreview, 0, 6);   // a preview prints what it holds; no preview of its own
    CmdPrint(p);
    CmdPreview(p);
    CmdPrintToFile(p);
    int r = JobWindow(TypeReport, 0, 1);
    CmdPreview(r);
    CmdPrint(r);
    ASSERT_EQ(runs.calls.size(), 4u);
    std::vector<int> devices;
    for (const RunCall &c : runs.calls) devices.push_back(c.params[100] == 7 ? GetU16(c.params.data()) : -1);
    EXPECT_EQ(devices, (std::vector<int>{1, 2, 6, 1}));

    runs.calls.clear();
    int list = OpenOrActivateWindow(TypeList, 0, 0, false, 0);
    ASSERT_GT(list, 0);
    CmdPrintToFile(list);   // the list keeps the device and runs its row
    EXPECT_EQ(GetU16(WinRecordBuffer(list), MenuListRecord::Device), 2);
    EXPECT_EQ(WinFindByDef(TypeReport), CurrentWindow);
    // Print in the queue runs its saved jobs.
    JobQueueReset();
    std::vector<uint8_t> saved(ReportParamsSize, 7);
    ASSERT_TRUE(JobQueuePush(saved.data(), 1));
    CmdPrint(OpenOrActivateWindow(TypeQueue, 0, 0, false, 0));
    CmdPrint(OpenOrActivateWindow(TypePlain, 0, 0, false, 0));
    EXPECT_EQ(runs.Names(), (std::vector<std::string>{"runReportCommand"}));
    EXPECT_EQ(JobQueueCount(), 0);
    EXPECT_EQ(GetU16(runs.calls[0].params.data(), ReportParamsVc::OutputKind), 1);
    EXPECT_EQ(runs.calls[0].params[100], 7);
    EXPECT_EQ(Events, (std::vector<int>{8}));
}

TEST_F(ReportSelections, ExportAndMaintenance)
{
    runs.answer = false;   // the check refuses: no export, the window closes all the same
    for (int k = 0; k < 2; k++, runs.answer = true) {
        int e = JobWindow(TypeExport, 0, 2);
        PutU16(WinRecordBuffer(e), ReportParamsVc::ReportNumber, 21);
        WindowOkAction(e);
        EXPECT_FALSE(WinIsOpen(e));
    }
    ASSERT_EQ(runs.Names(), (std::vector<std::string>{"reportParamsCheck", "reportParamsCheck", "runTextExport"}));
    EXPECT_EQ(runs.calls[2].args, (std::vector<int64_t>{21}));
    // The maintenance routine runs here (its number is none: it does
    // nothing) from the window's job, which the batch routines read.
    int m = JobWindow(TypeUpkeep, 0, 0);
    {
        MaintenanceJobCapture capture;
        WindowOkAction(m);
    }
    EXPECT_FALSE(WinIsOpen(m));
    ASSERT_EQ(MaintenanceJobSent.size(), ReportParamsSize);
    EXPECT_EQ(MaintenanceJobSent[100], 7);
}

}  // namespace
