// record_fixture.h - the fixture of the record windows' tests: the frame
// with its bars and MDI client, a fresh company open in a folder of its
// own, today's date fixed at 15.6.2024, the texts shown to the user, the
// answers the user gives to questions, and keys and characters that go
// the main loop's way (the shell's key handling first, then the window
// that has the focus, then one repaint of the marked windows).
//
// By default the windows are the built interface file's (customers 590,
// access groups 591, company 592, notes 21). A test class that overrides
// InterfaceSource() works on a dictionary of its own instead, such as
// TestRecordDict below.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "output/print_services_install.h"
#include "rules/print_services.h"
#include "shell/company.h"
#include "shell/feature_commands.h"
#include "shell/startup.h"
#include "tests/shell/shell_fixture.h"

// Window types, registers and block of TestRecordDict.
constexpr int TypeRows = 580, TypeRowsSettings = 581, TypeRowsPlain = 582;
constexpr int RowRegister = 5, RowBlock = 150;

// A dictionary standing alone for the record windows' tests.
//
// Register 5 (RowVc, 80 bytes) has a header of a code, a hidden text, a
// chosen code and a date, and rows of 40 bytes at its handle (offset 76)
// whose first word is the row kind and second the row attribute, with a
// text, an amount, a flag, a hidden text and a one-decimal amount.
//
// Type 580 shows it: page 0 holds the code, the hidden text and the tabs
// of pages 1 (the chosen code and the date) and 2 (the matrix). The
// matrix is 100 pixels high with three cells on each of two column pages
// (the second ends with a label) and its scroll bar is control 2.
// Type 581 is a settings window over block 150; type 582 a plain window.
inline const char *const TestRecordDict = R"(
register 5 RowVc size 80 matrix Lines {
  Code     0  keycode 10
  Secret  12  hidden 10
  Chosen  24  keycode 10
  Day     36  date
  Lines   76  handle
  rows size 40 {
    Kind     0  short
    Attr     2  short
    Text     4  text 5
    Amount  10  amount
    Flag    22  bool
    Hidden  24  hidden 3
    Tenths  28  amount1
  }
  index Code head 2 node 504 words 1 1 1 { Code }
}
settings 150 RowBlk size 40 {
  Title    0  text 20
  Limit   22  amount
}
1006 "Fill in or remove the empty row first."
1014 "viewing"
1015 "new"
1016 "changing"
1017 "deleting"
1018 "search key"
1022 "browsing"
1404 "Changed by another user."
1512 "New records only."
1518 "Store the new record?"
1519 "Store the changes?"
1520 "In use."
1547 "The key exists."
9501 "Connection lost."
9502 "Record gone."
9503 "Not stored."
9601 "Rows"
9602 "Row settings"
9603 "Plain"
9604 "Kind"
9605 "Text"
9606 "Amount"
9607 "Flag"
9608 "Hidden"
9609 "Tenths"
9610 "Total"
wintype 1 { kind plain rect 0 0 32 600 }
window 1 {
  icon icon 20 pressed 20 x 0 y 0 command 0 label ""
  icon icon 13 pressed 13 x 40 y 18 command 11 label "Company"
  icon icon 19 pressed 19 x 100 y 18 command 16 label "Jobs"
  icon icon 16 pressed 16 x 160 y 18 command 15 label "Windows"
  icon icon 20 pressed 20 x 220 y 18 command 14 label "Quit"
}
wintype 580 { kind record register RowVc recsize 80 rect 60 20 400 560 title 9601 }
window 580 {
  field   rect 20 110 37 240 type keycode format 10 offset RowVc.Code access new page 0 label "Code"
  field   rect 42 110 59 240 type hidden format 10 offset RowVc.Secret access always page 0 label "Secret"
  control rect 2 300 20 380 kind tab command 1 shortcut 1 page 0 label "One"
  control rect 24 300 42 380 kind tab command 2 shortcut 1 page 0 label "Two"
  control rect 10 -30 110 -15 kind scroll start 0 max 0 page 2 label ""
  control rect 116 10 132 80 kind matrixtab value 1 shortcut 1 page 2 label "First"
  control rect 116 90 132 160 kind matrixtab value 2 shortcut 1 page 2 label "Second"
  field   rect 22 110 39 240 type keycode format 10 offset RowVc.Chosen access always chooser 580 page 1 \
          label "Chosen"
  field   rect 42 110 59 190 type date offset RowVc.Day access always chooser today page 1 label "Day"
  matrix  rowsize 40 cells 3 first 5 rect 10 10 110 -30 kindword 0 attrword 2 maxrows 50 page 2 control 2
  column  x 0 type text format 5 offset RowVc.Text colpage 1 heading 9605
  column  x 80 type amount offset RowVc.Amount align right colpage 1 heading 9606
  column  x 200 type bool offset RowVc.Flag colpage 1 heading 9607
  column  x 0 type hidden format 3 offset RowVc.Hidden colpage 2 heading 9608
  column  x 80 type amount1 offset RowVc.Tenths align right colpage 2 heading 9609
  column  x 200 type label labeltext 9610 colpage 2 heading 9610
  page    height 60
  page    height 0 last 1 focus RowVc.Chosen
  page    height 0 last 1 focus RowVc.Lines
}
wintype 581 { kind settings block RowBlk recsize 40 rect 60 20 300 400 title 9602 }
window 581 {
  field   rect 22 110 39 300 type text format 20 offset RowBlk.Title access always page 0 label "Title"
  field   rect 42 110 59 230 type amount offset RowBlk.Limit access always align right page 0 label "Limit"
}
wintype 582 { kind plain rect 60 20 300 400 title 9603 }
)";

class RecordFixture : public ShellFixture {
protected:
    // The dictionary the windows come from; empty: the built interface file.
    virtual std::string InterfaceSource() { return {}; }
    // Fills the report windows' check of their selection; the base leaves
    // it empty, so a report window's OK is refused and told. The reports'
    // check is installed by tests/reports/report_window_fixture.h.
    virtual void InstallReportCheck() {}

    void SetUp() override
    {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        std::string source = InterfaceSource();
        if (!source.empty()) UseDict(source);
        if (HasFatalFailure()) return;
        UseCompanyFolder();
        if (HasFatalFailure()) return;
        MakeFrame();
        if (HasFatalFailure()) return;
        TodayDate = DateRec{15, 6, 2024};
        // The report windows check their selection by what the program's
        // start installs; the runs themselves are each test's doubles.
        InstallReportCheck();
        Answers().clear();
        Questions().clear();
        AskSinkSet(AnswerFromScript);
        PrintServicesInstall();   // as start-up installs the business layer's prints
        PString path;
        PathOf("company.VDB", path);
        ASSERT_TRUE(OpenCompany(path, 0)) << "the test company could not be made";
        Drain();
        MessagesShown.clear();   // a new company says it has no defaults
    }
    void TearDown() override
    {
        AskSinkSet(nullptr);
        PrintServices = PrintServicesRec{};
        FeatureCommands = FeatureCommandsRec{};
        ShellFixture::TearDown();
    }

    // The texts shown to the user since the company opened, in order.
    static const std::vector<std::string> &Shown() { return MessagesShown; }
    // Queues the user's answers to the next questions: 1 Yes, 4 No, 2 Cancel.
    static void Answer(std::initializer_list<int> answers)
    {
        for (int a : answers) Answers().push_back(a);
    }
    // The questions asked since the company opened. A question with no
    // answer queued is answered Cancel, as no one is there to say more.
    static const std::vector<std::string> &Asked() { return Questions(); }

    // A key pressed and released, with Shift and Ctrl as asked, and
    // everything it leads to run.
    static void Key(uint32_t vkey, bool shift = false, bool ctrl = false)
    {
        ScriptKey(vkey, shift, ctrl);
        Drain();
    }
    // One typed character, and everything it leads to.
    static void Char(char c) { Type(std::string_view(&c, 1)); }
    // Typed characters, each with everything it leads to.
    static void Type(std::string_view text)
    {
        for (char c : text) {
            ScriptText(std::string_view(&c, 1));
            Drain();
        }
    }
    // The pointer at client point (x, y) of window n: moved (button 0), or
    // the left button (1) going down or up; then what it leads to runs.
    static void Pointer(int n, int x, int y, int button, bool down)
    {
        MsgInputMouse(WinClientToScreen(WinTable[n]->mdiChild, PlPoint{x, y}), button, down);
        Drain();
    }
    // A click of the left button at client point (x, y) of n; two make a
    // double click (which may close n).
    static void ClickAt(int n, int x, int y, bool dbl = false)
    {
        PlPoint p = WinClientToScreen(WinTable[n]->mdiChild, PlPoint{x, y});
        for (int i = 0; i < (dbl ? 2 : 1); i++) {
            MsgInputMouse(p, 1, true);
            MsgInputMouse(p, 1, false);
            Drain();
        }
    }
    // Clicks the middle of window n's control labelled `label` (as its
    // entry names it); false when n has none.
    static bool ClickLabelled(int n, const std::string &label)
    {
        for (int i = 0; i < ControlSlotCount; i++) {
            const uint8_t *e = WinControlByIndex(n, i);
            if (!e) break;
            PString text;
            PStringCopy(text, e + ControlEntry::Label);
            if (PStringToStd(text) != label) continue;
            MacRect r;
            WinFieldRect(n, i, &r);
            ClickAt(n, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            return true;
        }
        return false;
    }
    // Clicks the top bar's OK, and what it leads to runs.
    static void TopBarOk()
    {
        ScriptClick(TopBarButtons[0], 4, 4);
        Drain();
    }
    // One repaint of every window carrying its changed mark.
    static void Pump() { RepaintMarkedWindows(); }
    // Runs every waiting message through the main loop's work.
    static void Drain()
    {
        PlMessage m;
        for (int guard = 0; guard < 10000 && MsgGet(&m) == PlGet::Message; guard++) MainLoopMessage(m);
    }

private:
    static std::deque<int> &Answers()
    {
        static std::deque<int> answers;
        return answers;
    }
    static std::vector<std::string> &Questions()
    {
        static std::vector<std::string> questions;
        return questions;
    }
    static int AnswerFromScript(const char *text)
    {
        Questions().push_back(text);
        if (Answers().empty()) return 2;
        int a = Answers().front();
        Answers().pop_front();
        return a;
    }
};

// The record fixture over TestRecordDict.
class TestRecordWindows : public RecordFixture {
protected:
    std::string InterfaceSource() override { return TestRecordDict; }
};
