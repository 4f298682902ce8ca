// The 3-D elements pixel for pixel: the etched box and its title gap, the
// sunken frame with the scroll bar's room, raised and pressed buttons,
// the drop-down button, the raised current column tab, and the flat look.
#include <gtest/gtest.h>

#include "core/pstring.h"
#include "shell/draw_port.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "tests/shell/shell_fixture.h"

namespace {

constexpr uint32_t White = 0xFFFFFF, Black = 0x000000, Grey = 0x808080, LightGrey = 0xC0C0C0;

class Draw3D : public TestWindows {
protected:
    int n = 0;
    void SetUp() override
    {
        TestWindows::SetUp();
        if (HasFatalFailure()) return;
        n = Open(TypeUnnamed);
        LightGreyLook = 1;
        SetPortWindow(n);
        MacRect all{0, 0, 300, 400};
        FillRectMode(&all, 4);
    }
    uint32_t At(int x, int y) const { return Pixel(n, x, y); }
};

TEST_F(Draw3D, EtchedBoxLeavesAGapForItsTitle)
{
    MacRect r{20, 10, 80, 200};
    PString title;
    PStringFromC(title, "Delivery");
    int width = PStringWidth(title);
    DrawBox3D(&r, title);
    // Dark grey on the rectangle's edges, white one pixel right and down.
    EXPECT_EQ(At(10, 50), Grey);
    EXPECT_EQ(At(11, 50), White);
    EXPECT_EQ(At(199, 50), Grey);
    EXPECT_EQ(At(200, 50), White);
    EXPECT_EQ(At(100, 79), Grey);
    EXPECT_EQ(At(100, 80), White);
    // The top edges stop at left + 2 and go on at left + 12 + the title's width.
    EXPECT_EQ(At(11, 20), Grey);
    EXPECT_NE(At(12, 20), Grey);
    EXPECT_NE(At(10 + 12 + width - 1, 20), Grey);
    EXPECT_EQ(At(10 + 12 + width, 20), Grey);
    EXPECT_EQ(At(10 + 12 + width, 21), White);
    // Without a title the top edge is whole.
    MacRect plain{100, 10, 150, 200};
    PString empty = {0};
    DrawBox3D(&plain, empty);
    for (int x = 10; x < 200; x += 7) EXPECT_EQ(At(x, 100), Grey) << x;
}

TEST_F(Draw3D, SunkenFrameLeavesRoomForTheScrollBarAndFlatLookFrames)
{
    MacRect r{40, 20, 120, 200};
    FrameSunken3D(&r);
    EXPECT_EQ(At(19, 80), Grey);      // left, one pixel outside
    EXPECT_EQ(At(100, 39), Grey);     // top
    EXPECT_EQ(At(100, 120), White);   // bottom
    EXPECT_EQ(At(215, 80), White);    // right, 15 further out
    EXPECT_EQ(At(200, 80), LightGrey) << "the scroll bar's room is left alone";
    EXPECT_EQ(At(100, 80), LightGrey) << "the inside is left alone";

    LightGreyLook = 0;
    MacRect flat{150, 20, 200, 200};
    FrameSunken3D(&flat);
    EXPECT_EQ(At(19, 170), Black);
    EXPECT_EQ(At(100, 149), Black);
    EXPECT_EQ(At(100, 200), Black);
    EXPECT_EQ(At(215, 170), Black);
}

TEST_F(Draw3D, ButtonsRaisedPressedDropDownAndCurrentTabs)
{
    PString ok;
    PStringFromC(ok, "OK");
    MacRect up{10, 10, 34, 90}, down{10, 110, 34, 190};
    PushButtonDraw(n, &up, ok, true, false);
    PushButtonDraw(n, &down, ok, true, true);
    // Black outline; raised: white top-left inner edge, dark bottom-right;
    // pressed: the edges reverse.
    EXPECT_EQ(At(10, 20), Black);
    EXPECT_EQ(At(11, 20), White);
    EXPECT_EQ(At(88, 20), Grey);
    EXPECT_EQ(At(111, 20), Grey);
    EXPECT_EQ(At(188, 20), White);
    // The pressed label moves 2 right and 1 down.
    auto firstInk = [&](int left, int right) {
        for (int x = left + 3; x < right - 3; x++)
            for (int y = 13; y < 31; y++)
                if (At(x, y) == Black) return x - left;
        return -1;
    };
    EXPECT_EQ(firstInk(110, 190), firstInk(10, 90) + 2);
    // A button that is not the default has its inner edges twice.
    MacRect other{40, 10, 64, 90};
    PushButtonDraw(n, &other, ok, false, false);
    EXPECT_EQ(At(12, 50), White);
    EXPECT_EQ(At(87, 50), Grey);

    // "v" is the drop-down button: the icon, not the letter.
    PString v;
    PStringFromC(v, "v");
    MacRect drop{70, 10, 94, 40};
    PushButtonDraw(n, &drop, v, true, false);
    int black = 0;
    for (int y = 72; y < 92; y++)
        for (int x = 12; x < 38; x++) black += At(x, y) == Black;
    EXPECT_GT(black, 20) << "the drop-down triangle";

    // The current column page's tab stands 2 pixels higher.
    WinTable[n]->matrixColumnPage = 2;
    PString one, two;
    PStringFromC(one, "One");
    PStringFromC(two, "Two");
    MacRect t1{120, 10, 136, 80}, t2{120, 90, 136, 160};
    SecondTabDraw(n, &t1, one, false, false, 1);
    SecondTabDraw(n, &t2, two, false, false, 2);
    EXPECT_EQ(At(40, 118), LightGrey);
    EXPECT_EQ(At(120, 118), Black);
    EXPECT_EQ(At(40, 135), Black) << "the other tab keeps its bottom line";
    EXPECT_NE(At(120, 135), Black) << "the current tab joins what is below it";
}

}  // namespace
