// toolbar_test.cpp - the frame's two bars: where they stand, the top
// bar's push buttons and icon buttons, and the bottom bar's buttons.
#include <gtest/gtest.h>

#include <vector>

#include "platform/queue.h"
#include "shell_fixture.h"

namespace {

class ToolbarTest : public ShellFixture {
protected:
    // A window for the commands to act on.
    void OpenCurrentWindow()
    {
        int n = WinSlotAlloc();
        ASSERT_NE(n, WinTableFull);
        WinTable[n]->windowType = 9;
        CurrentWindow = uint16_t(n);
    }
    static void Mouse(uint32_t bar, uint32_t msg, int x, int y, bool down)
    {
        WinSend(bar, msg, down ? PlMouseKey::LButton : 0, PlMakeLong(x, y));
    }
    // True when no bottom-bar command ran (each sets the refresh flag).
    static bool NothingRan() { return QuitFlag == 0 && StateRefreshFlag == 0; }
    static void Click(uint32_t bar, int x, int y)
    {
        Mouse(bar, PlMsg::LButtonDown, x, y, true);
        Mouse(bar, PlMsg::LButtonUp, x, y, false);
    }
    // The pixels of the top bar's record icons.
    static std::vector<uint32_t> ArrowPixels()
    {
        std::vector<uint32_t> p;
        for (int y = 0; y < 30; y++)
            for (int x = 7; x < 39; x++) p.push_back(WinClientPixel(TopBarWindow, x, y));
        return p;
    }
};

TEST_F(ToolbarTest, BarsAndClientShareTheFrame)
{
    MakeFrame();
    PlRect c = WinClientRect(FrameWindow);
    PlRect top = WinRect(TopBarWindow), bottom = WinRect(BottomBarWindow), mdi = WinRect(MdiClientWindow);
    EXPECT_TRUE(PlRectEqual(top, PlRect{0, 0, c.right, 32}));
    EXPECT_TRUE(PlRectEqual(bottom, PlRect{0, c.bottom - 70, c.right, c.bottom}));
    EXPECT_TRUE(PlRectEqual(mdi, PlRect{0, 32, c.right, c.bottom - 70}));
    // The compact variant's bottom bar is only the status strip.
    CompactVariant = true;
    WinSend(BottomBarWindow, PlMsg::Size, 0, 0);
    MdiClientResize(FrameWindow);
    EXPECT_TRUE(PlRectEqual(WinRect(BottomBarWindow), PlRect{0, c.bottom - 22, c.right, c.bottom}));
    EXPECT_EQ(WinRect(MdiClientWindow).bottom, c.bottom - 22);
}

TEST_F(ToolbarTest, PushButtonsComeFromTypeOneAndRunRecordCommands)
{
    MakeFrame();
    const char *labels[] = {"OK", "Cancel", "New", "Copy"};
    for (int i = 0; i < 4; i++) {
        ASSERT_NE(TopBarButtons[i], 0u);
        EXPECT_TRUE(PlRectEqual(WinRect(TopBarButtons[i]), PlRect{45 + 72 * i, 4, 105 + 72 * i, 27}));
        EXPECT_EQ(WinTitle(TopBarButtons[i]), labels[i]);
    }
    OpenCurrentWindow();
    WinSend(TopBarWindow, PlMsg::Command, 0, TopBarButtons[0]);
    EXPECT_EQ(StateRefreshFlag, 1);   // OK reached the window
    StateRefreshFlag = 0;
    BusyFlag = 1;
    WinSend(TopBarWindow, PlMsg::Command, 0, TopBarButtons[1]);
    EXPECT_EQ(StateRefreshFlag, 0);
    BusyFlag = 0;
    WinSend(TopBarWindow, PlMsg::Command, 5, TopBarButtons[1]);   // not id 0
    EXPECT_EQ(StateRefreshFlag, 0);

    // A type with three push buttons (a check box between) makes three.
    DropFrame();
    UseDict("wintype 1 { kind plain }\n"
            "window 1 {\n"
            "  control rect 0 0 0 0 kind button label \"A\"\n"
            "  control rect 0 0 0 0 kind check label \"x\"\n"
            "  control rect 0 0 0 0 kind button label \"B\"\n"
            "  control rect 0 0 0 0 kind button label \"C\"\n"
            "}\n");
    MakeFrame();
    EXPECT_EQ(WinTitle(TopBarButtons[1]), "B");
    EXPECT_EQ(WinRect(TopBarButtons[2]).left, 45 + 2 * 72);
    EXPECT_EQ(TopBarButtons[3], 0u);
}

TEST_F(ToolbarTest, IconButtonActsOnlyOnReleaseInside)
{
    MakeFrame();
    OpenCurrentWindow();
    WinUpdate(TopBarWindow);
    std::vector<uint32_t> released = ArrowPixels();
    // Back pressed, moved off and released outside: drawn released again.
    Mouse(TopBarWindow, PlMsg::LButtonDown, 12, 15, true);
    EXPECT_NE(ArrowPixels(), released);
    Mouse(TopBarWindow, PlMsg::MouseMove, 200, 20, true);
    EXPECT_EQ(ArrowPixels(), released);
    Mouse(TopBarWindow, PlMsg::MouseMove, 12, 15, true);
    EXPECT_NE(ArrowPixels(), released);
    Mouse(TopBarWindow, PlMsg::MouseMove, 200, 20, true);
    Mouse(TopBarWindow, PlMsg::LButtonUp, 200, 20, false);
    EXPECT_EQ(ArrowPixels(), released);
    EXPECT_EQ(TopBarIcons[IconBack].armed, 0);

    // Print runs only on a release inside, and not while busy.
    Mouse(TopBarWindow, PlMsg::LButtonDown, 340, 10, true);
    Mouse(TopBarWindow, PlMsg::MouseMove, 500, 10, true);
    Mouse(TopBarWindow, PlMsg::LButtonUp, 500, 10, false);
    EXPECT_EQ(StateRefreshFlag, 0);
    BusyFlag = 1;
    Click(TopBarWindow, 340, 10);
    EXPECT_EQ(StateRefreshFlag, 0);
    BusyFlag = 0;
    Click(TopBarWindow, 335, 20);   // the lower hit rectangle
    EXPECT_EQ(StateRefreshFlag, 1);
    StateRefreshFlag = 0;
    BarsLocked = 1;
    Click(TopBarWindow, 340, 10);
    EXPECT_EQ(StateRefreshFlag, 0);
}

TEST_F(ToolbarTest, BottomBarButtonsRunTheirCommand)
{
    MakeFrame();
    // Entry 4 of type 1 quits; its square is centred on (220, 18).
    Mouse(BottomBarWindow, PlMsg::LButtonDown, 220, 18, true);
    Mouse(BottomBarWindow, PlMsg::MouseMove, 400, 18, true);
    Mouse(BottomBarWindow, PlMsg::LButtonUp, 400, 18, false);
    EXPECT_TRUE(NothingRan());
    BarsLocked = 1;
    Click(BottomBarWindow, 220, 18);
    EXPECT_TRUE(NothingRan());
    BarsLocked = 0;
    BusyFlag = 1;
    Click(BottomBarWindow, 220, 18);
    EXPECT_TRUE(NothingRan());
    BusyFlag = 0;
    Click(BottomBarWindow, 520, 18);   // past the last module button's square
    EXPECT_TRUE(NothingRan());
    CompactVariant = true;
    Click(BottomBarWindow, 220, 18);
    EXPECT_TRUE(NothingRan());
    CompactVariant = false;
    Click(BottomBarWindow, 220, 18);
    EXPECT_EQ(QuitFlag, 1);
}

}  // namespace
