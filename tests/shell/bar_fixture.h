// bar_fixture.h - a frame with the two bars, an MDI client and the menu
// bar, as the shell's start-up makes them, for the tests of the bars and
// the menus.
#pragma once

#include "platform/mdi.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "shell/menus.h"
#include "shell/toolbar.h"
#include "tests/shell/shell_fixture.h"

class BarFixture : public ShellFixture {
protected:
    static constexpr int FrameWidth = 800, FrameHeight = 600;

    void SetUp() override
    {
        ShellFixture::SetUp();
        if (!WinClassExists("m4toolbar")) {
            ASSERT_TRUE(WinRegisterClass({"m4toolbar", MPToolWndProc, 0, kPlLightGrey, 0, 0}));
        }
        if (!WinClassExists("testframe")) {
            ASSERT_TRUE(WinRegisterClass({"testframe", WinDefProc, 0, kPlLightGrey, 0, 0}));
        }
        // The top bar's hit rectangles, as start-up sets them.
        TopBarIcons[IconBack].hit = {5, 8, 27, 21};
        TopBarIcons[IconForward].hit = {5, 22, 27, 36};
        TopBarIcons[IconPrint].hit = {3, 336, 17, 353};
        TopBarIcons[IconPrint].hit2 = {17, 330, 28, 361};
    }
    void TearDown() override
    {
        if (FrameWindow) WinDestroy(FrameWindow);
        FrameWindow = MdiClientWindow = TopBarWindow = BottomBarWindow = 0;
        MenuHandles = MenuHandlesRec{};
        ShellFixture::TearDown();
    }
    // Makes the frame with its menu bar, bars and MDI client, sized as the
    // frame's size message would leave them.
    void MakeFrame()
    {
        FrameWindow = WinCreate("testframe", "Orvel", PlStyle::OverlappedWindow | PlStyle::Visible,
                                PlRect{0, 0, FrameWidth, FrameHeight}, 0, 0, 0);
        ASSERT_NE(FrameWindow, 0u);
        MenuBarBuild();
        ASSERT_NE(MenuHandles.bar, 0u);
        ASSERT_TRUE(WinSetMenu(FrameWindow, MenuHandles.bar));
        MdiClientWindow = MdiCreateClient(FrameWindow, PlRect{0, 30, 100, 100}, PlStyle::Child | PlStyle::Visible, 3244, 1);
        ASSERT_NE(MdiClientWindow, 0u);
        ToolbarsCreate(FrameWindow);
        ASSERT_NE(TopBarWindow, 0u);
        ASSERT_NE(BottomBarWindow, 0u);
        WinSend(TopBarWindow, PlMsg::Size, 0, 0);
        WinSend(BottomBarWindow, PlMsg::Size, 0, 0);
        MdiClientResize(FrameWindow);
    }
};
