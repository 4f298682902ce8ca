// The mouse in the form designer, through the window's own messages:
// drawing with a tool, dragging the selection (not for 3 pixels or
// less), resizing by a grab mark, and a press on nothing.
#include <gtest/gtest.h>

#include "platform/queue.h"
#include "shell/window_mouse.h"
#include "shell/window_utils.h"
#include "tests/outputwin/designer_fixture.h"

class DesignerMouse : public DesignerFixture {
protected:
    int w = 0, y = 0;
    void SetUp() override
    {
        DesignerFixture::SetUp();
        if (HasFatalFailure()) return;
        w = OpenDesigner();
        ASSERT_GT(w, 0);
        DesignerContentRect(w);
        y = WinTable[w]->contentRect.top;
    }
    // A press at form point (x1, y1), moves to (x2, y2) and a release there.
    void Drag(int x1, int y1, int x2, int y2, bool dbl = false)
    {
        if (dbl) {
            ClickAt(w, x1, y1 + y, true);
            return;
        }
        Pointer(w, x1, y1 + y, 1, true);
        Pointer(w, (x1 + x2) / 2, (y1 + y2) / 2 + y, 0, false);
        Pointer(w, x2, y2 + y, 0, false);
        Pointer(w, x2, y2 + y, 1, false);
    }
};

TEST_F(DesignerMouse, AToolDrawsAnItemInTheBandAndIsThenPutAway)
{
    DialogButton(w, 3, 3, 1);   // the box tool
    EXPECT_EQ(WinTable[w]->dialogChoice, FormItemBox);
    Drag(40, 40, 140, 90);
    ASSERT_EQ(DesignerItemCount(w), 1);
    EXPECT_EQ(Kind(w, 0), FormItemBox);
    EXPECT_EQ(At(w, 0), (Coords{40, 40, 140, 90}));
    EXPECT_EQ(WinTable[w]->dialogChoice, FormItemNone);
    EXPECT_GT(Part("DocFrameVClass"), 0);
    EXPECT_FALSE(PressRunning());
}

TEST_F(DesignerMouse, ADragOfThreePixelsMovesNothingAndOfFourMoves)
{
    ASSERT_TRUE(Add(w, FormItemBox, 40, 40, 140, 90));
    Drag(60, 60, 62, 61);
    EXPECT_EQ(At(w, 0), (Coords{40, 40, 140, 90}));
    EXPECT_EQ(DesignerSelectedCount(w), 1) << "the press selected it";
    Drag(60, 60, 63, 61);
    EXPECT_EQ(At(w, 0), (Coords{43, 41, 143, 91}));
    Drag(60, 60, 50, 40);
    EXPECT_EQ(At(w, 0), (Coords{33, 21, 133, 71}));
    EXPECT_NE(WinRecState(w), 0);
}

TEST_F(DesignerMouse, AMidSideMarkMovesOneSide)
{
    ASSERT_TRUE(Add(w, FormItemBox, 40, 40, 140, 90));
    DesignerSelectItem(w, 0, false);
    Drag(140, 65, 170, 80);   // the right side's mark
    EXPECT_EQ(At(w, 0), (Coords{40, 40, 170, 90}));
    Drag(40, 40, 20, 30);   // the top-left corner, the bottom-right one stays
    EXPECT_EQ(At(w, 0), (Coords{20, 30, 170, 90}));
}

TEST_F(DesignerMouse, APressOnNothingClearsTheSelectionAndABandSelects)
{
    ASSERT_TRUE(Add(w, FormItemBox, 40, 40, 140, 90));
    ASSERT_TRUE(Add(w, FormItemBox, 200, 40, 240, 90));
    DesignerSelectItem(w, 1, false);
    DesignerSelectItem(w, 0, true);
    Drag(300, 200, 300, 200);
    EXPECT_EQ(DesignerSelectedCount(w), 0);
    Drag(30, 30, 150, 100);
    ASSERT_EQ(DesignerSelectedCount(w), 1);
    EXPECT_EQ(DesignerSelectedAt(w, 0), 1);
    EXPECT_EQ(At(w, 1), (Coords{40, 40, 140, 90})) << "selecting moves nothing";
}

TEST_F(DesignerMouse, ADoubleClickOpensThePartWindow)
{
    ASSERT_TRUE(Add(w, FormItemText, 40, 40, 140, 90));
    SetText(w, 0, "Due");
    Drag(60, 60, 60, 60, true);
    EXPECT_GT(Part("DocTextVClass"), 0);
    EXPECT_EQ(At(w, 0), (Coords{40, 40, 140, 90}));
}

TEST_F(DesignerMouse, APressAboveTheFormIsNotTheDesigners)
{
    int32_t header = int32_t((uint32_t(10) << 16) | 400u);
    EXPECT_FALSE(DesignerPress(w, header, false));
    EXPECT_FALSE(DesignerTrack(w, header));
    EXPECT_FALSE(DesignerRelease(w, header));
}

TEST_F(DesignerMouse, TheKeyboardsArrowKeysMoveTheSelection)
{
    ASSERT_TRUE(Add(w, FormItemBox, 40, 40, 140, 90));
    DesignerSelectItem(w, 0, false);
    ActivateWindowNumber(w);
    Key(PlKey::Right);
    Key(PlKey::Down);
    Key(PlKey::Down);
    EXPECT_EQ(At(w, 0), (Coords{41, 42, 141, 92}));
    DesignerSelectOnly(w, -1);
    Key(PlKey::Left);
    EXPECT_EQ(At(w, 0), (Coords{41, 42, 141, 92})) << "nothing selected";
}
