// The designer's drawing: items at their place one unit a pixel, a line
// of thickness 0 as one pixel, grab marks that a second drawing erases,
// and a scrolled pane.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/window_drawing.h"
#include "tests/outputwin/designer_fixture.h"

class DesignerDrawing : public DesignerFixture {
protected:
    int w = 0, y = 0;
    uint32_t white = 0;
    void SetUp() override
    {
        DesignerFixture::SetUp();
        if (HasFatalFailure()) return;
        w = OpenDesigner();
        ASSERT_GT(w, 0);
        DesignerContentRect(w);
        y = WinTable[w]->contentRect.top;
    }
    uint32_t At(int x, int formY) { return Pixel(w, x, formY + y); }
    bool Ink(int x, int formY) { return At(x, formY) != white; }
    // Paints the designer and remembers the paper's colour.
    void Paint()
    {
        DesignerPaint(w);
        white = At(600, 400);
        if (const char *png = std::getenv("ORVEL_DESIGNER_PNG")) WinSavePng(WinTable[w]->mdiChild, png);
    }
    void SetFont(int n, const char *text)
    {
        uint8_t item[DocVc::Rows::Size];
        ASSERT_TRUE(MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item));
        PString t;
        PStringFromC(t, text);
        PutText(item, DocVc::Rows::Font, t);
        ASSERT_TRUE(MatrixRowPut(DocVc::Number, 0, WinRecordBuffer(w), n, item));
    }
};

TEST_F(DesignerDrawing, ItemsStandAtTheirUnitsAndLinesHaveTheirThickness)
{
    ASSERT_TRUE(Add(w, FormItemBox, 40, 40, 140, 90));
    SetFont(0, "3");
    ASSERT_TRUE(Add(w, FormItemLine, 200, 50, 300, 51));
    SetFont(0, "0");
    ASSERT_TRUE(Add(w, FormItemPicture, 400, 40, 460, 100));
    DesignerSelectOnly(w, -1);
    Paint();
    EXPECT_TRUE(Ink(40, 60)) << "the box's left edge";
    EXPECT_TRUE(Ink(42, 60)) << "three pixels thick";
    EXPECT_FALSE(Ink(44, 60));
    EXPECT_FALSE(Ink(90, 65)) << "inside the box";
    EXPECT_TRUE(Ink(250, 50)) << "the horizontal line";
    EXPECT_FALSE(Ink(250, 51)) << "a thickness of 0 draws one pixel";
    EXPECT_FALSE(Ink(250, 49));
    EXPECT_TRUE(Ink(430, 70)) << "a picture's diagonals cross in its middle";
    EXPECT_FALSE(Ink(420, 45));
}

TEST_F(DesignerDrawing, GrabMarksComeWithTheSelectionAndGoWithIt)
{
    ASSERT_TRUE(Add(w, FormItemText, 100, 100, 200, 130));
    DesignerSelectOnly(w, -1);
    Paint();
    EXPECT_FALSE(Ink(98, 102)) << "no marks while nothing is selected";
    DesignerSelectItem(w, 0, false);
    EXPECT_TRUE(Ink(98, 98)) << "the top-left mark";
    EXPECT_TRUE(Ink(150, 131)) << "the bottom mid-side mark";
    EXPECT_FALSE(Ink(150, 115));
    Paint();
    EXPECT_TRUE(Ink(98, 98)) << "a repaint keeps the marks";
    DesignerSelectOnly(w, -1);
    EXPECT_FALSE(Ink(98, 98)) << "drawn again they are gone";
    EXPECT_FALSE(Ink(150, 132));
}

TEST_F(DesignerDrawing, AMovedItemLeavesNoTraceBehind)
{
    ASSERT_TRUE(Add(w, FormItemBox, 40, 40, 100, 80));
    DesignerSelectItem(w, 0, false);
    Paint();
    DesignerMoveSelection(w, 100, 0);
    EXPECT_FALSE(Ink(40, 50)) << "the old edge erased";
    EXPECT_FALSE(Ink(38, 38)) << "the old mark erased";
    EXPECT_TRUE(Ink(140, 50));
    EXPECT_TRUE(Ink(138, 38)) << "the mark moved along";
}

TEST_F(DesignerDrawing, AScrolledPaneShowsTheFormFurtherDown)
{
    ASSERT_TRUE(Add(w, FormItemBox, 40, 300, 100, 340));
    DesignerSelectOnly(w, -1);
    int slot = 0;
    WinScrollPane(w, slot, 200);
    EXPECT_EQ(WinTable[w]->paneScroll, 200);
    Paint();
    EXPECT_TRUE(Ink(40, 120)) << "form 320 shows at 120";
    WinScrollPane(w, slot, -50);
    EXPECT_EQ(WinTable[w]->paneScroll, 0) << "no scroll above the form";
    WinScrollPane(w, slot, 100000);
    EXPECT_LE(WinTable[w]->paneScroll, 910);
    WinScrollPane(w, 99, 10);
    WinScrollPane(w, -1, 10);
}
