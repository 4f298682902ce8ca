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
#include "output/devices/device_table.h"
#include "platform/control.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "reports/sales/report_run.h"
#include "shell/menus.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/toolbar.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
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
    uint8_t wasOpen = 0;

    void SetUp() override
    {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreSalesHistory();
        ReportsInstall();
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        wasOpen = DbOpenFlag;
        DbOpenFlag = 1;   // the fixture's company is open; the menus ask the shell's flag
        remotePath = outPath + ".remote";
        Pushes.clear();
    }
    void TearDown() override
    {
        DbOpenFlag = wasOpen;
        RemoteOutput = 0;
        RemoteJobActive = 0;
        if (savedPush) MsgSetPush(savedPush);
        MsgReset(&OutputMessage);
        std::remove(remotePath.c_str());
        WinTableInit();
        WinResetAll();
        FrameWindow = MdiClientWindow = TopBarWindow = BottomBarWindow = 0;
        ScriptReset();
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
    ScriptMenuCommand(FrameWindow, ModuleMenuSales);   // the module menu: Sales
    Drain();
    Key('R', false, true);   // File > Reports...
    int list = WinFindByDef(ReportListType);
    ASSERT_GT(list, 0);
    std::vector<std::string> rows;
    for (int i = 0; i < ListBoxCount(WinListBox(list)); i++) rows.push_back(ListBoxText(WinListBox(list), i));
    int row = -1;
    PString title;
    GetUiText(title, 2351);
    for (size_t i = 0; i < rows.size(); i++)
        if (rows[i] == PStringToStd(title)) row = int(i);
    std::string all;
    for (const std::string &r : rows) all += r + "|";
    ASSERT_GE(row, 0) << "the sales journal is listed: " << all;
    Key(PlKey::Home);
    for (int i = 0; i < row; i++) Key(PlKey::Down);
    ASSERT_EQ(ListBoxCurSel(WinListBox(list)), row);
    Key(PlKey::Return);   // Specify and run: the selection window opens
    int w = WinFindByDef(SalesJournalWindow);
    ASSERT_GT(w, 0);
    ASSERT_EQ(WinTable[w]->currentField, 1) << "the caret starts on the from-date";

    TypeTab("01.01.2024");
    TypeTab("31.12.2024");
    for (const char *box : {"Not posted", "Posted", "Invoices", "Cash invoices", "Credit notes", "Interest invoices"})
        ClickControl(w, box);
    ClickControl(w, "Invoice lines");
    ClickControl(w, "Text file");
    const uint8_t *sel = WinRecordBuffer(w);
    EXPECT_EQ(GetDate(sel, P::DateFrom).year, 2024);
    EXPECT_EQ(GetU16(sel, P::OutputKind), OutTextFile);

    ScriptAnswerFile(outPath);
    ScriptClick(TopBarButtons[0], 10, 10);   // the top bar's OK
    Drain();
    EXPECT_FALSE(WinIsOpen(w)) << (shown.empty() ? "" : shown.back());
    EXPECT_EQ(GetU16(ReportParams, P::ReportNumber), 1);
    DateRec to = GetDate(ReportParams, P::DateTo);
    EXPECT_EQ(to.year, 2024) << "the typed to-date keeps its year";
    EXPECT_EQ(to.month, 12);
    EXPECT_EQ(to.day, 31);
    std::string local = Read(outPath);
    ExpectGolden("report1_layout0", local);

    // The server road: the job record as the client sent it runs on the
    // server, whose output commands the client replays into its own file.
    savedPush = MsgSetPush([](MsgBuffer *m) { Pushes.emplace_back(MsgData(m), MsgData(m) + MsgLength(m)); });
    OutputJobState = OutputJobStateRec{};
    RemoteOutput = 1;
    RunReport();
    RemoteOutput = 0;
    ASSERT_FALSE(Pushes.empty());
    OutputJobState = OutputJobStateRec{};
    ScriptAnswerFile(remotePath);
    RepOpenFileDevice();
    ASSERT_EQ(RepStopped, 0);
    for (const std::vector<uint8_t> &b : Pushes) EXPECT_TRUE(RepExecRemote(b.data(), uint32_t(b.size())));
    EXPECT_EQ(RemoteJobActive, 0);
    EXPECT_EQ(Read(remotePath), local);
}

}  // namespace
