// menu_lists_test.cpp - the menu-list windows list the current module's
// entries the user may use and run the entry their selected row shows,
// by OK or a pressed button; a window opened from a list gets the list's
// parameters; the function list's kind sets its device buttons; the
// module list switches module; the import command refuses while records
// are edited and tells a failed import.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "platform/control.h"
#include "recordwin/record_windows.h"
#include "shell/menu_lists.h"
#include "shell/menus.h"
#include "shell/login.h"
#include "shell/record_commands.h"
#include "shell/window_mouse.h"
#include "tests/output/output_fixture.h"
#include "tests/shell/record_test_helpers.h"
#include "tests/shell/shell_fixture.h"

namespace {

constexpr int TypeParams = 50, TypeParamsB = 51, TypeSecond = 52, ReportWindowButton = 2;

// Module 2 is current. The access list refuses report 12 (type-4 right),
// window 63 (window right) and module 3. Report 11 and window 62 belong
// to module 3, and the saved-report map lacks report 99.
const char *const MenuListDict = R"(
register 5 ItemVc size 20 { Code 0 code 10 }
1027 "No report window."
1553 "Store first."
1558 "No document window."
9887 "Not imported: "
9701 "&Sales"
9702 "Stock"
9703 "Ledger"
9704 "Everyone"
9711 "Export with window"
9712 "Export without window"
9713 "Import here"
9714 "Upkeep"
9721 "Items"
9722 "Elsewhere"
9723 "Refused"
9724 "Own"
9731 "Module two"
9732 "Module three"
9733 "Module four"
wintype 6 { kind plain recsize 64 rect 60 60 400 420 listrect 10 10 -100 -10 }
window 6 {
  control rect -92 190 -76 -10 offset 8 kind radio value 1 group 8 button 1 label "Reports"
  control rect -72 190 -56 -10 offset 8 kind radio value 2 group 8 button 2 label "Saved"
  control rect -50 190 -28 270 kind button command 1 label "Window"
}
wintype 7 { kind plain recsize 64 rect 70 70 410 430 listrect 10 10 -100 -10 }
window 7 {
  control rect -92 10 -76 170 offset 2 kind radio value 1 group 2 button 1 label "Exports"
  control rect -72 10 -56 170 offset 2 kind radio value 2 group 2 button 2 label "Imports"
  control rect -52 10 -36 170 offset 2 kind radio value 3 group 2 button 3 label "Maintenance"
  control rect -92 190 -76 -10 offset 0 kind radio value 2 group 0 button 2 label "Two"
  control rect -72 190 -56 -10 offset 0 kind radio value 5 group 0 button 5 label "Five"
  control rect -52 190 -36 -10 offset 0 kind radio value 8 group 0 button 8 label "Eight"
  control rect -32 190 -16 -10 offset 0 kind radio value 9 group 0 button 9 label "Nine"
}
wintype 8 { kind plain recsize 64 rect 80 80 420 440 listrect 10 10 -100 -10 }
wintype 9 { kind plain }
wintype 10 { kind plain recsize 64 rect 90 90 410 450 listrect 10 10 -40 -10 }
wintype 12 { kind plain recsize 64 rect 60 100 380 440 listrect 10 10 -40 -10 }
wintype 13 { kind plain recsize 64 rect 60 120 340 400 listrect 10 10 -40 -10 }
wintype 50 { kind reportparams recsize 64 rect 60 60 300 400 }
wintype 51 { kind reportparams recsize 64 rect 60 60 300 400 }
wintype 52 { kind plain recsize 64 rect 60 60 300 400 }
wintype 61 { kind record register ItemVc recsize 20 rect 60 60 300 400 }
wintype 62 { kind record register ItemVc recsize 20 rect 60 60 300 400 }
wintype 63 { kind record register ItemVc recsize 20 rect 60 60 300 400 }
wintype 64 { kind record register ItemVc recsize 20 rect 60 60 300 400 }
list reports {
  text 9701 wintype 50 number 10 wintype2 52 module 2
  text 9702 wintype 50 number 11 wintype2 0 module 3
  text 9703 wintype 50 number 12 wintype2 0 module 2
  text 9704 wintype 51 number 13 wintype2 0 module 0
}
list savedreports {
  text 9703 wintype 50 number 12 wintype2 0 module 2
  text 9704 wintype 51 number 13 wintype2 0 module 0
}
list exports {
  text 9711 wintype 50 number 21 wintype2 0 module 0
  text 9712 wintype 0 number 22 wintype2 0 module 0
}
list imports {
  text 9702 wintype 0 number 32 wintype2 0 module 3
  text 9713 wintype 0 number 31 wintype2 0 module 2
}
list maintenance {
  text 9714 wintype 50 number 41 wintype2 0 module 0
}
list documents {
  text 9701 wintype 0 number 51 wintype2 0 module 0
}
list windows {
  text 9721 wintype 61 module 0
  text 9722 wintype 62 module 3
  text 9723 wintype 63 module 0
  text 9724 wintype 64 module 2
}
list modulemenu {
  text 9731 word1 0 module 2 word3 0
  text 9732 word1 0 module 3 word3 0
  text 9733 word1 0 module 4 word3 0
}
)";

// What the scripted import reader saw.
struct ReaderLog {
    int opens = 0, closes = 0, openResult = 0;
    std::string path;
    std::vector<uint8_t> job;   // the import's job record at the open
} Reader;

// The events a parameter window heard, with its record's word 3 then.
std::vector<std::array<int, 2>> ParamWindowEvents;

class MenuLists : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        if (!LoggedInUser) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        UseDict(MenuListDict);
        MakeFrame();
        CurrentModule = 2;
        AccessListUse({{4, 12, 0}, {2, 63, 0}, {9, 1, 1}, {1, 3, 0}});
        Reader = ReaderLog{};
        SettingsText.importFileOpen = [](const uint8_t *path, int) {
            Reader.opens++;
            Reader.path = PStringToStd(path);
            const uint8_t *job = CurrentJobRecord();
            Reader.job.assign(job, job + ReportParamsSize);
            return Reader.openResult;
        };
        SettingsText.importFileClose = [] { return ++Reader.closes, 0; };
        ParamWindowEvents.clear();
        WindowEventHandlerSet(TypeParamsB, [](int w, int event, void *, void *) -> uint8_t {
            ParamWindowEvents.push_back({event, GetU16(WinRecordBuffer(w), ReportParamsVc::ReportNumber)});
            return 1;
        });
    }
    void TearDown() override
    {
        WindowEventHandlerSet(TypeParamsB, nullptr);
        AccessListUse({});
        MemFree(&ReportListRows);
        CurrentModule = 0;
        ShellFixture::TearDown();
    }
    static std::vector<std::string> Rows(int n) { return ListBoxRows(n); }
    // Selects row `row` of n's list and runs n's OK.
    static void Choose(int n, int row)
    {
        ListBoxSetCurSel(WinListBox(n), row);
        WindowOkAction(n);
    }
    static int Word(int n, uint32_t offset) { return GetU16(WinRecordBuffer(n), offset); }
    static bool On(int n, int control) { return WinTable[n]->controls[control].drawn && WinTable[n]->controls[control].enabled; }
    static bool Off(int n, int control) { return !WinTable[n]->controls[control].drawn && !WinTable[n]->controls[control].enabled; }
};

TEST_F(MenuLists, ReportListShowsPermittedEntriesAndOkRunsTheEntryOfTheRow)
{
    // A parameter window already open with old values is activated
    // and given every parameter word.
    int spec = OpenOrActivateWindow(TypeParamsB, 0, 0, false, 0);
    ASSERT_GT(spec, 0);
    memset(WinRecordBuffer(spec), 0xAA, 64);
    ParamWindowEvents.clear();

    int n = OpenOrActivateWindow(6, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(Rows(n), (std::vector<std::string>{"Sales", "Everyone"}));
    EXPECT_EQ(ListSelectedIndex(n), 0);
    EXPECT_TRUE(Off(n, 1));   // saved selections need their window type (14)

    // Row 1 is report 13, though the other module's 11 and the refused 12 stand before it.
    Choose(n, 1);
    EXPECT_EQ(WinFindByDef(TypeParamsB), spec);
    EXPECT_EQ(WinFindByDef(TypeParams), 0);
    const uint8_t *r = WinRecordBuffer(spec);
    EXPECT_EQ(GetU16(r, ReportParamsVc::OutputKind), 6);
    EXPECT_EQ(GetU16(r, ReportParamsVc::SetupDialog), 1);
    EXPECT_EQ(GetU16(r, ReportParamsVc::ReportNumber), 13);
    EXPECT_EQ(GetU16(r, ReportParamsVc::Word8), 1);
    EXPECT_EQ(GetU16(r, 10), 0);          // word 5
    EXPECT_EQ(GetU16(r, 32), 0xFFFF);     // word 16
    EXPECT_EQ(GetU16(r, ReportParamsVc::SelWinType), TypeParamsB);
    EXPECT_EQ(GetU16(r, ReportParamsVc::Reopened), 0);
    EXPECT_EQ(GetU16(r, 12), 0xAAAA);     // word 6 is the window's own
    EXPECT_EQ(ParamWindowEvents, (std::vector<std::array<int, 2>>{{14, 13}}));   // told after the words were set

    // The saved selections: only rows whose report the map has and
    // the user may run; a refill follows a change of the list kind only.
    ReportListRows = MemAlloc(3 * ReportSelectionBlk::Rows::Size);
    uint8_t *p = MemLock(ReportListRows);
    const char *names[3] = {"Orphan", "Hidden", "Alpha"};
    const int numbers[3] = {99, 12, 13};
    for (int i = 0; i < 3; i++) {
        PStringFromC(p + i * ReportSelectionBlk::Rows::Size, names[i]);
        PutU16(p + i * ReportSelectionBlk::Rows::Size, ReportSelectionBlk::Rows::ReportNr, uint16_t(numbers[i]));
    }
    MemUnlock(ReportListRows);
    PutU16(WinRecordBuffer(n), MenuListRecord::ListKind, 2);
    WindowListChoice(n, 1, MenuListRecord::ListKind, false);
    EXPECT_EQ(Rows(n).size(), 2u);
    WindowListChoice(n, 1, MenuListRecord::ListKind, true);
    EXPECT_EQ(Rows(n), (std::vector<std::string>{"Alpha"}));
    ParamWindowEvents.clear();
    Choose(n, 0);
    EXPECT_EQ(ParamWindowEvents, (std::vector<std::array<int, 2>>{{14, 13}}));

    // The Window button (as OK with action 2) opens the second window anew;
    // a report without one is told; button 2 asks for the page set-up.
    PutU16(WinRecordBuffer(n), MenuListRecord::ListKind, 1);
    WindowListChoice(n, 1, MenuListRecord::ListKind, true);
    ListBoxSetCurSel(WinListBox(n), 0);
    MacRect b;
    WinFieldRect(n, ReportWindowButton, &b);
    int32_t at = int32_t(PlMakeLong((b.left + b.right) / 2, (b.top + b.bottom) / 2));
    WindowMouseClick(n, at, false, false);
    WinMouseRelease(n, at);
    EXPECT_GT(WinFindByDef(TypeSecond), 0);
    PutU16(WinRecordBuffer(n), MenuListRecord::Action, 2);
    Choose(n, 1);
    EXPECT_TRUE(Said("No report window."));
    ScriptAnswerPrintSetup(false, PlPrintSetup{});
    ReportListButton(n, 2);
    ASSERT_FALSE(ScriptRecords().empty());
    EXPECT_EQ(ScriptRecords().back().kind, "printsetup");
    MessagesShown.clear();
    PutU16(WinRecordBuffer(n), MenuListRecord::Action, 3);
    Choose(n, 0);
    ListBoxSetCurSel(WinListBox(n), -1);
    ReportListButton(n, 1);   // nothing without a selection
    EXPECT_TRUE(MessagesShown.empty());

    // The document list: a document without a window says so.
    int d = OpenOrActivateWindow(8, 0, 0, false, 0);
    ASSERT_GT(d, 0);
    EXPECT_EQ(Word(d, MenuListRecord::Device), 1);
    Choose(d, 0);
    EXPECT_TRUE(Said("No document window."));
}

TEST_F(MenuLists, FunctionListKindRefillsAndSetsTheDeviceButtons)
{
    int n = OpenOrActivateWindow(7, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(Rows(n), (std::vector<std::string>{"Export with window", "Export without window"}));
    EXPECT_TRUE(On(n, 3) && On(n, 4) && On(n, 5) && Off(n, 6));

    PutU16(WinRecordBuffer(n), MenuListRecord::Action, 2);
    WindowListChoice(n, 1, MenuListRecord::Action, true);
    EXPECT_EQ(Rows(n), (std::vector<std::string>{"Import here"}));
    EXPECT_TRUE(On(n, 3) && Off(n, 4) && Off(n, 5) && On(n, 6));
    PutU16(WinRecordBuffer(n), MenuListRecord::Action, 3);
    WindowListChoice(n, 2, MenuListRecord::Action, true);
    EXPECT_EQ(Rows(n), (std::vector<std::string>{"Upkeep"}));
    EXPECT_TRUE(Off(n, 3) && Off(n, 4) && Off(n, 5) && Off(n, 6));
    WindowListChoice(n, 3, MenuListRecord::Device, true);   // another choice changes nothing
    EXPECT_EQ(Rows(n).size(), 1u);
    EXPECT_TRUE(Off(n, 3));

    // Maintenance opens its window with the function's number; an export
    // without a window runs the text export with the list's device.
    Choose(n, 0);
    int spec = WinFindByDef(TypeParams);
    ASSERT_GT(spec, 0);
    EXPECT_EQ(Word(spec, ReportParamsVc::ReportNumber), 41);
    EXPECT_EQ(Word(spec, ReportParamsVc::OutputKind), 2);
    PutU16(WinRecordBuffer(n), MenuListRecord::Action, 1);
    WindowListChoice(n, 0, MenuListRecord::Action, true);
    RunServicesDouble runs;
    Choose(n, 1);
    ASSERT_EQ(runs.Names(), (std::vector<std::string>{"runTextExport"}));
    EXPECT_EQ(runs.calls[0].args, (std::vector<int64_t>{22}));
    EXPECT_EQ(GetU16(runs.calls[0].params.data(), ReportParamsVc::ReportNumber), 22);
    EXPECT_EQ(GetU16(runs.calls[0].params.data(), ReportParamsVc::OutputKind), 2);
}

TEST_F(MenuLists, FileMenuOpensTheListsAndWindowAndModuleListsRunTheirRow)
{
    // The File menu's items open the lists, only while a company is open.
    MenuCommand(0, 8);
    EXPECT_EQ(WinFindByDef(6), 0);
    DbOpenFlag = LoggedInFlag = 1;   // a company open and its user logged in
    for (auto [item, type] : {std::pair{2, 12}, {4, 7}, {8, 6}, {9, 8}}) {
        MenuCommand(0, item);
        EXPECT_GT(WinFindByDef(type), 0) << item;
    }
    DbOpenFlag = LoggedInFlag = 0;

    int n = OpenOrActivateWindow(12, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(Rows(n), (std::vector<std::string>{"Items", "Own"}));
    Choose(n, 1);
    EXPECT_GT(WinFindByDef(64), 0);
    EXPECT_EQ(WinFindByDef(63), 0);

    // Every module the user may use is offered, whichever is current.
    int m = OpenOrActivateWindow(13, 0, 0, false, 0);
    ASSERT_GT(m, 0);
    EXPECT_EQ(Rows(m), (std::vector<std::string>{"Module two", "Module four"}));
    EXPECT_EQ(MenuListEntryOfRow(m, 1, nullptr), 2);
    EXPECT_EQ(MenuListEntryOfRow(m, 2, nullptr), -1);
    Choose(m, 1);
    EXPECT_EQ(WinFindByDef(13), 0);   // the list closed to switch module
    EXPECT_EQ(CurrentModule, 4);
}

TEST_F(MenuLists, ImportRefusedWhileARecordIsEditedAndToldWhenItFails)
{
    int rec = OpenOrActivateWindow(61, 0, 0, false, 0);
    ASSERT_GT(rec, 0);
    WinSetRecState(rec, 2);
    int n = OpenOrActivateWindow(10, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(Rows(n), (std::vector<std::string>{"Import here"}));
    PString file;
    PathOf("in.TXT", file);
    std::ofstream(dir / "in.TXT") << "x";
    ScriptAnswerFile(PStringToStd(file));
    Choose(n, 0);
    EXPECT_TRUE(Said("Store first."));
    EXPECT_EQ(Reader.opens, 0);
    WinSetRecState(rec, 1);
    EXPECT_FALSE(ImportAllowedNow());

    // State 0: the chosen file is imported with the entry's number and the
    // list's device; the list's own changed choices (state 2) hold nothing
    // to store and do not refuse it.
    WinSetRecState(rec, 0);
    WinSetRecState(n, 2);
    MessagesShown.clear();
    Choose(n, 0);
    EXPECT_EQ(Reader.opens, 1);
    EXPECT_EQ(Reader.closes, 1);
    EXPECT_EQ(Reader.path, PStringToStd(file));
    ASSERT_EQ(Reader.job.size(), ReportParamsSize);
    EXPECT_EQ(GetU16(Reader.job.data(), ReportParamsVc::ReportNumber), 31);
    EXPECT_EQ(GetU16(Reader.job.data(), ReportParamsVc::OutputKind), 2);
    EXPECT_EQ(GetU16(Reader.job.data(), ReportParamsVc::SelWinType), 0);
    EXPECT_TRUE(MessagesShown.empty());

    // A cancelled question imports nothing; a refused file is told.
    ScriptAnswerFile("");
    EXPECT_EQ(ImportFileAsk(), 0);
    EXPECT_EQ(Reader.opens, 1);
    Reader.openResult = 7;
    ScriptAnswerFile(PStringToStd(file));
    EXPECT_EQ(ImportFileAsk(), 0);
    EXPECT_EQ(Reader.opens, 2);
    EXPECT_TRUE(Said("Not imported: " + PStringToStd(file)));
}

}  // namespace
