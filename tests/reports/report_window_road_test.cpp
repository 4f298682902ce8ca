// report_window_road_test.cpp - a report as a user runs it: the report
// list opened from the File menu's key, the sales journal chosen in it,
// its selection window filled by typed keys and clicks, and OK; the text
// file it writes compared with the kept copy; then the same job run on a
// server whose output commands the client replays into its own file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/msg_buffer.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "features/program_start.h"
#include "output/devices/device_table.h"
#include "platform/control.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "reports/frame/report_run.h"
#include "shell/menus.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/toolbar.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;
constexpr int ReportListType = 6, SalesJournalWindow = 570;
constexpr int ModuleMenuSales = 502;   // the module popup's second entry

std::vector<std::vector<uint8_t>> Pushes;

class ReportWindowRoad : public ReportFixture {
protected:
    std::string remotePath;
    MsgPushFn savedPush = nullptr;
    uint8_t wasOpen = 0, wasIn = 0;
    static inline std::vector<uint8_t> Ran;   // the job record of the last report run

    void SetUp() override
    {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreSalesHistory();
        FeaturesInstall();
        // The report command as installed, the job it was handed kept.
        Ran.clear();
        OutputRunServices.runReportCommand = [](ReportJob &job) {
            Ran.assign(job.selection, job.selection + ReportParamsSize);
            return ReportRunCommand(job);
        };
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        wasOpen = DbOpenFlag;
        wasIn = LoggedInFlag;
        // The fixture's company is open and its administrator logged in:
        // the menus ask the shell's flags, and nobody is offered nothing.
        DbOpenFlag = LoggedInFlag = 1;
        remotePath = outPath + ".remote";
        Pushes.clear();
    }
    void TearDown() override
    {
        DbOpenFlag = wasOpen;
        LoggedInFlag = wasIn;
        RemoteOutput = 0;
        RemoteJobActive = 0;
        if (savedPush) MsgSetPush(savedPush);
        MsgReset(&OutputMessage);
        std::remove(remotePath.c_str());
        InvoiceFrameDown();
        ReportFixture::TearDown();
    }
    // Runs every waiting message through the main loop's work.
    static void Drain()
    {
        PlMessage m;
        for (int guard = 0; guard < 10000 && MsgGet(&m) == PlGet::Message; guard++) MainLoopMessage(m);
    }
    static void Key(uint32_t vkey, bool shift = false, bool ctrl = false)
    {
        ScriptKey(vkey, shift, ctrl);
        Drain();
    }
    // Types text into the focused field and leaves it with Tab.
    static void TypeTab(const char *text)
    {
        ScriptText(text);
        Drain();
        Key(PlKey::Tab);
    }
    // Clicks the middle of window n's control whose label is `label`.
    static void ClickControl(int n, const char *label)
    {
        for (int i = 0;; i++) {
            const uint8_t *c = WinDefEntry(n, WinPartControls, i);
            if (!c) break;
            if (PStringToStd(c + ControlEntry::Label) != label) continue;
            MacRect r;
            WinFieldRect(n, i, &r);
            ScriptClick(WinTable[n]->mdiChild, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            Drain();
            return;
        }
        ADD_FAILURE() << "no control " << label;
    }
    // Enters the module of module-menu command `module`, opens the report
    // list by its key, selects the report titled by text `title` with the
    // arrow keys and presses Return: its selection window opens. False
    // (having said why) when the report is not listed.
    static bool OpenFromList(int module, int title)
    {
        ScriptMenuCommand(FrameWindow, module);
        Drain();
        Key('R', false, true);   // File > Reports...
        int list = WinFindByDef(ReportListType);
        if (list <= 0) return ADD_FAILURE() << "no report list", false;
        PString text;
        GetUiText(text, title);
        std::string rows;
        int row = -1;
        for (int i = 0; i < ListBoxCount(WinListBox(list)); i++) {
            rows += ListBoxText(WinListBox(list), i) + "|";
            if (ListBoxText(WinListBox(list), i) == PStringToStd(text)) row = i;
        }
        if (row < 0) return ADD_FAILURE() << PStringToStd(text) << " is not listed: " << rows, false;
        Key(PlKey::Home);
        for (int i = 0; i < row; i++) Key(PlKey::Down);
        if (ListBoxCurSel(WinListBox(list)) != row) return ADD_FAILURE() << "the arrows missed the row", false;
        Key(PlKey::Return);   // Specify and run
        return true;
    }
    static std::string Read(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

// The sales journal from the report list: every choice a user makes
// reaches the job, the typed period arrives whole (four-digit years
// included), the file is the kept copy, and the server road gives the
// same bytes.
TEST_F(ReportWindowRoad, SalesJournalFromTheListToAFileAndThroughTheServer)
{
    ASSERT_TRUE(OpenFromList(ModuleMenuSales, 2351));
    int w = WinFindByDef(SalesJournalWindow);
    ASSERT_GT(w, 0);
    ASSERT_EQ(WinTable[w]->currentField, 1) << "the caret starts on the from-date";

    TypeTab("01.01.2024");
    TypeTab("31.12.2024");
    // "Posted" opens ticked; a click each ticks the other boxes.
    EXPECT_EQ(GetU16(WinRecordBuffer(w), P::Option3), 1);
    for (const char *box : {"Not posted", "Invoices", "Cash invoices", "Credit notes", "Interest invoices"})
        ClickControl(w, box);
    EXPECT_EQ(GetU16(WinRecordBuffer(w), P::Option3), 1);
    ClickControl(w, "Invoice lines");
    ClickControl(w, "Text file");
    const uint8_t *sel = WinRecordBuffer(w);
    EXPECT_EQ(GetDate(sel, P::DateFrom).year, 2024);
    EXPECT_EQ(GetU16(sel, P::OutputKind), OutTextFile);

    ScriptAnswerFile(outPath);
    ScriptClick(TopBarButtons[0], 10, 10);   // the top bar's OK
    Drain();
    EXPECT_FALSE(WinIsOpen(w)) << (shown.empty() ? "" : shown.back());
    ASSERT_EQ(Ran.size(), size_t(ReportParamsSize));
    EXPECT_EQ(GetU16(Ran.data(), P::ReportNumber), 1);
    DateRec to = GetDate(Ran.data(), P::DateTo);
    EXPECT_EQ(to.year, 2024) << "the typed to-date keeps its year";
    EXPECT_EQ(to.month, 12);
    EXPECT_EQ(to.day, 31);
    std::string local = Read(outPath);
    ExpectGolden("report1_layout0", local);

    // The server road: the job record as the client sent it runs on the
    // server, whose output commands the client replays into its own file.
    savedPush = MsgSetPush([](MsgBuffer *m) { Pushes.emplace_back(MsgData(m), MsgData(m) + MsgLength(m)); });
    ResetOutputJobState();
    RemoteOutput = 1;
    std::vector<uint8_t> sent = Ran;
    ReportJob job{sent.data()};
    RunReport(job);
    RemoteOutput = 0;
    ASSERT_FALSE(Pushes.empty());
    ResetOutputJobState();
    std::vector<uint8_t> client = Ran;   // the client's own job, which the replay prints on
    OutputJobAttach attached(client.data());
    ScriptAnswerFile(remotePath);
    RepOpenFileDevice();
    ASSERT_EQ(RepStopped, 0);
    for (const std::vector<uint8_t> &b : Pushes) EXPECT_TRUE(RepExecRemote(b.data(), uint32_t(b.size())));
    EXPECT_EQ(RemoteJobActive, 0);
    EXPECT_EQ(Read(remotePath), local);
}

}  // namespace

namespace {

// Every report of the list, from its module: its window opens, takes a
// typed period and the text file, and OK runs it into the file; the
// voucher print-out is refused on that device and its window stays.
TEST_F(ReportWindowRoad, EveryListedReportRunsFromItsWindow)
{
    constexpr int Ledger = 501, Sales = 502;
    const struct {
        int module, title, type;
        bool dates, runs;
    } reports[] = {
        {Sales, 2351, 570, true, true},  {Sales, 2441, 571, true, true},  {Sales, 2371, 572, false, true},
        {Ledger, 3101, 573, true, true}, {Ledger, 3041, 90, true, false}, {Sales, 2641, 575, true, true},
        {Sales, 2740, 576, true, true},  {Sales, 2870, 577, true, true},
    };
    for (const auto &r : reports) {
        SCOPED_TRACE(r.type);
        ASSERT_TRUE(OpenFromList(r.module, r.title));
        int w = WinFindByDef(r.type);
        ASSERT_GT(w, 0);
        if (r.dates) {
            TypeTab("01.01.2024");
            TypeTab("31.12.2024");
        }
        ClickControl(w, "Text file");
        ASSERT_EQ(GetU16(WinRecordBuffer(w), P::OutputKind), OutTextFile);
        std::remove(outPath.c_str());
        Ran.clear();
        shown.clear();
        ScriptAnswerFile(outPath);
        ScriptClick(TopBarButtons[0], 10, 10);   // the top bar's OK
        Drain();
        EXPECT_EQ(WinIsOpen(w), !r.runs);
        if (!r.runs) {
            EXPECT_EQ(shown.size(), 1u);
            WinClose(w);
            continue;
        }
        EXPECT_TRUE(shown.empty()) << shown.front();
        ASSERT_EQ(Ran.size(), size_t(ReportParamsSize));
        EXPECT_EQ(GetDate(Ran.data(), P::DateTo).year, r.dates ? 2024 : 0);
        EXPECT_FALSE(Read(outPath).empty()) << "the headings at least";
    }
}

}  // namespace
