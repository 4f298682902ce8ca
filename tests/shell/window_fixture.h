// window_fixture.h - a frame with its MDI client on the headless display
// and an interface file of a few window types made for the window
// table's and window procedures' tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/interface_write.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "shell/procedures.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell_fixture.h"
#include "tools/dict.h"

// Window types of the tests.
constexpr int TypeLogin = 15, TypeAbout = 18, TypeList = 30, TypeArticle = 31, TypeUnnamed = 32,
              TypeItem = 34, TypePreview = 35,
              TypeReport = 6;   // its class is not registered

inline const char *TestWindowsDict()
{
    return R"(
register 5 ItemVc size 20 matrix Lines {
  Code 0 code 10
  Lines 12 handle
  rows size 8 { Qty 2 long }
}
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
wintype 6 { kind plain rect 80 20 300 400 title 9606 recsize 40 }
wintype 15 { kind plain rect 100 50 300 350 title 9601 }
wintype 18 { kind plain rect 60 60 260 420 title 9602 }
wintype 30 { kind list rect 100 10 400 410 title 9603 listrect 10 5 -20 -5 }
wintype 31 { kind record rect 80 20 300 400 title 9604 name 9605 }
wintype 32 { kind plain rect 80 20 300 400 title 9606 }
wintype 34 { kind record rect 80 20 300 400 title 9607 register ItemVc recsize 20 }
wintype 35 { kind preview rect 80 20 300 400 title 9608 }
)";
}

class WindowFixture : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        InterfaceDefs defs;
        std::string header;
        std::vector<std::string> errors;
        ASSERT_TRUE(DictCompile({{"test.dict", TestWindowsDict()}}, &defs, &header, &errors))
            << (errors.empty() ? "" : errors[0]);
        std::vector<uint8_t> file;
        std::string error;
        ASSERT_TRUE(InterfaceWrite(defs, &file, &error)) << error;
        InterfaceUnload();
        ASSERT_TRUE(LoadDefinitionsFromBytes(file.data(), file.size(), &error)) << error;

        ASSERT_TRUE(WinRegisterClass({"m4frame", MPFrameWndProc, 0, 0xC0C0C0, 0, 0}));
        for (const char *cls : {"m4default", "m4mlist", "m4repw"})
            ASSERT_TRUE(WinRegisterClass({cls, MPMDIChildWndProc, 0, 0xFFFFFF, PlClassStyle::DblClks, 4}));
        FrameWindow = WinCreate("m4frame", "Orvel", PlStyle::Visible | PlStyle::OverlappedWindow,
                                PlRect{0, 0, 1000, 740}, 0, 0, 0);
        ASSERT_NE(FrameWindow, 0u);
        ASSERT_NE(MdiClientWindow, 0u);
    }
    // The window number whose MDI child is active; 0 when none.
    static int ActiveNumber() { return WindowNumberOf(MdiGetActive(MdiClientWindow, nullptr)); }
};
