// shell_fixture.h - the one fixture of the shell's tests: what the
// access layer's fixture gives (tests/database/access/company_fixture.h:
// the headless display, the interface file the build compiled or one
// compiled from dictionary text the test gives, a company folder when
// asked, messages to the user recorded, not shown) with no windows and
// none of the shell's classes, the shell's flags at their start values,
// and, when asked, the frame with its menu bar, both bars and the MDI
// client as start-up makes them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "shell/database_open.h"
#include "tests/database/access/company_fixture.h"
#include "platform/control.h"
#include "platform/display.h"
#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/procedures.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tools/dict.h"

// A message that a "recorder" window was sent.
struct SentMessage {
    uint32_t win, msg;
    uintptr_t wParam;
};
inline std::vector<SentMessage> Sent;

// Procedure of the "recorder" class: MDI children that record the user,
// scroll and double-click messages they are sent, and do nothing else.
inline intptr_t RecorderProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::User || msg == PlMsg::VScroll || msg == PlMsg::LButtonDblClk) Sent.push_back({win, msg, wParam});
    return MdiDefChildProc(win, msg, wParam, lParam);
}

// Compiles dictionary `source` and loads the result in place of the
// current interface file; false with the first reason in *error.
inline bool LoadDictText(const std::string &source, std::string *error)
{
    InterfaceDefs defs;
    std::string header;
    std::vector<std::string> errors;
    if (!DictCompile({{"test.dict", source}}, &defs, &header, &errors)) {
        *error = errors.empty() ? "refused" : errors.front();
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!InterfaceWrite(defs, &bytes, error)) return false;
    InterfaceUnload();
    return LoadDefinitionsFromBytes(bytes.data(), bytes.size(), error, "test.WIN");
}

// Window types of the test dictionary below, and the x of the bottom
// bar's icon entries 0 to 6 in its type 1.
constexpr int TypeBar = 1, TypeReport = 6, TypeLogin = 15, TypeAbout = 18, TypeBusy = 19, TypeList = 30,
              TypeArticle = 31, TypeUnnamed = 32, TypeNoEdit = 33, TypeItem = 34, TypePreview = 35,
              TypeDesigner = 36;
constexpr int ButtonX[7] = {400, 40, 100, 160, 220, 280, 340};

// A small dictionary with a window type of each kind the tests tell
// apart, the bottom bar's icon entries and a module table (types 40 to
// 43 in modules 2, 0, 3 and 3).
inline const char *const ShellTestDict = R"(
register 5 ItemVc size 20 matrix Lines {
  Code 0 code 10
  Lines 12 handle
  rows size 8 { Qty 2 long }
}
900 "WWWWW"
1014 "viewing"
1015 "new"
1016 "changing"
1017 "deleting"
1018 "search key"
1022 "browsing"
9601 "Login"
9602 "About"
9603 "Articles"
9604 "Article"
9605 "ArtStatIClass"
9606 "Untitled"
9607 "Item"
9608 "Preview"
9609 "Form"
wintype 1 { kind plain rect 0 0 32 600 }
window 1 {
  icon icon 3 pressed 3 x 400 y 18 command 0 label "Spare"
  icon icon 14 pressed 14 x 40 y 18 command 11 label "Firm"
  icon icon 15 pressed 15 x 100 y 18 command 16 label "Jobs"
  icon icon 16 pressed 16 x 160 y 18 command 15 label "Wins"
  icon icon 17 pressed 17 x 220 y 18 command 14 label "Quit"
  icon icon 18 pressed 18 x 280 y 18 command 10 label ""
  icon icon 19 pressed 19 x 340 y 18 command 10 label ""
}
wintype 6 { kind plain rect 80 20 300 400 title 9606 recsize 40 }
wintype 15 { kind plain rect 100 50 300 350 title 9601 }
wintype 18 { kind plain rect 60 60 260 420 title 9602 }
wintype 19 { kind plain rect 400 500 460 860 }
wintype 30 { kind list rect 100 10 400 410 title 9603 listrect 10 5 -20 -5 }
wintype 31 { kind record rect 80 20 300 400 title 9604 name 9605 }
wintype 32 { kind plain rect 80 20 300 400 title 9606 }
wintype 33 { kind 25 rect 80 20 300 400 }
wintype 34 { kind record rect 80 20 300 400 title 9607 register ItemVc recsize 20 }
wintype 35 { kind preview rect 80 20 300 400 title 9608 }
wintype 36 { kind designer rect 80 20 300 400 title 9609 recsize 12 }
wintype 40 { kind plain }
wintype 41 { kind plain }
wintype 42 { kind plain }
wintype 43 { kind plain }
list modules {
  wintype 40 text 900 text2 900 module 2
  wintype 41 text 900 text2 900 module 0
  wintype 42 text 900 text2 900 module 3
  wintype 43 text 900 text2 900 module 3
}
)";

class ShellFixture : public AccessFixture {
protected:
    void SetUp() override
    {
        WinTableInit();
        AccessFixture::SetUp();
        if (HasFatalFailure()) return;
        Sent.clear();
        ASSERT_TRUE(WinRegisterClass({"recorder", RecorderProc, 0, kPlWhite, PlClassStyle::DblClks, 0}));
    }
    void TearDown() override
    {
        SetPortWindow(0);
        WinTableInit();
        AccessFixture::TearDown();   // the frame's end closes what company is open
    }
    // The shell's globals, with those beneath, to their start values.
    void ResetGlobals() override
    {
        AccessFixture::ResetGlobals();
        ShellStateReset();
        FrameCleanupDone = 0;
        MenuHandles = MenuHandlesRec{};
        NetServices = NetServicesRec{};
        SocketsActive = false;
    }

    // The interface file compiled from dictionary text replaces the built one.
    void UseDict(const std::string &source)
    {
        std::string error;
        ASSERT_TRUE(LoadDictText(source, &error)) << error;
    }

    // The frame as start-up makes it: the shell's window classes, the menu
    // bar from the interface file, and the frame, whose creation makes the
    // MDI client and both bars.
    void MakeFrame(PlRect r = PlRect{0, 0, 1000, 740})
    {
        if (!WinClassExists("m4frame")) {
            ASSERT_TRUE(RegisterWindowClasses());
        }
        ToolbarMetricsInit();
        MenuBarBuild();
        ASSERT_NE(MenuHandles.bar, 0u);
        FrameWindow = WinCreate("m4frame", "Orvel", PlStyle::OverlappedWindow | PlStyle::ClipChildren | PlStyle::Visible,
                                r, 0, 0, 0);
        ASSERT_NE(FrameWindow, 0u);
        ASSERT_TRUE(WinSetMenu(FrameWindow, MenuHandles.bar));
        ASSERT_TRUE(MdiClientWindow && TopBarWindow && BottomBarWindow);
    }
    // The test dictionary and a frame for its windows.
    void UseTestWindows()
    {
        UseDict(ShellTestDict);
        if (!HasFatalFailure()) MakeFrame();
    }
    // Ends the frame (its clean-up runs) so that the next MakeFrame builds anew.
    void DropFrame()
    {
        WinTableInit();
        if (FrameWindow) WinDestroy(FrameWindow);
        FrameWindow = MdiClientWindow = TopBarWindow = BottomBarWindow = 0;
        FrameCleanupDone = 0;
        MsgClear();
    }

    // Opens a window of the type as the user would; 0 when refused.
    static int Open(int type)
    {
        int n = OpenWindow(type, 0);
        EXPECT_GT(n, 0) << "window type " << type;
        return n;
    }
    // A window of the type in the next free slot over an MDI child of the
    // "recorder" class (the frame must exist).
    int Bare(int type)
    {
        int n = WinSlotAlloc();
        EXPECT_NE(n, WinTableFull);
        if (n == WinTableFull) return 0;
        WinTable[n]->windowType = uint16_t(type);
        WinTable[n]->mdiChild =
            MdiCreateChild(MdiClientWindow, {"recorder", "doc", PlRect{10, 10, 310, 210}, PlStyle::OverlappedWindow, 0});
        EXPECT_NE(WinTable[n]->mdiChild, 0u);
        return n;
    }
    // A pixel of window n's client area.
    static uint32_t Pixel(int n, int x, int y) { return WinClientPixel(WinTable[n]->mdiChild, x, y); }
    // The number of the window whose MDI child is active; 0 when none.
    static int ActiveNumber() { return WindowNumberOf(MdiGetActive(MdiClientWindow, nullptr)); }

    // The rows of window n's list box.
    static std::vector<std::string> ListBoxRows(int n)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < ListBoxCount(WinListBox(n)); i++) rows.push_back(ListBoxText(WinListBox(n), i));
        return rows;
    }
};

// The shell's fixture with the test dictionary's window types and a frame.
class TestWindows : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseTestWindows();
    }
};

// The shell's fixture working in a fresh company folder of its own with
// the database layer started.
class ShellCompanyFixture : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseCompanyFolder();
    }
};
