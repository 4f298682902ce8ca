// The paint passes of record windows: labels 6 pixels left of their
// fields, the page strip's gap at the current page, check boxes from the
// record, shortcut marks drawn and erased, the frame pass's mark and the
// contents pass clearing it, the server status hook, and the scroll bars
// kept up to the panes they move.
#include <gtest/gtest.h>

#include <cstring>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/net_services.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"

namespace {

constexpr uint32_t White = 0xFFFFFF, Black = 0x000000, Red = 0xFF0000, LightGrey = 0xC0C0C0;

using namespace WinTypes;

// Puts a PString into n's record at offset `at`.
void PutText(int n, uint32_t at, const char *s)
{
    uint8_t *r = WinRecordBuffer(n);
    r[at] = uint8_t(strlen(s));
    memcpy(r + at + 1, s, strlen(s));
}

class RecordPaint : public RecordFixture {
protected:
    void Paint(int n)
    {
        SetPortWindow(n);
        WinPaintFrame(n);
        WinPaintContents(n);
    }
    static uint32_t At(int n, int x, int y) { return WinClientPixel(WinTable[n]->mdiChild, x, y); }
    // The first x in row y from x0 to the right whose pixel is not `back`; -1 none.
    static int FirstInk(int n, int x0, int x1, int y0, int y1, uint32_t back)
    {
        for (int x = x0; x < x1; x++)
            for (int y = y0; y < y1; y++)
                if (At(n, x, y) != back) return x;
        return -1;
    }
    // The last such x; -1 none.
    static int LastInk(int n, int x0, int x1, int y0, int y1, uint32_t back)
    {
        for (int x = x1 - 1; x >= x0; x--)
            for (int y = y0; y < y1; y++)
                if (At(n, x, y) != back) return x;
        return -1;
    }
};

// True when this tree has page geometry to draw the layouts on.
bool GeometryBuilt(int n) { return WinPageShown(n, 0) && WinDefEntry(n, WinPartDataFields, 0); }

TEST_F(RecordPaint, CustomersLabelsPageStripAndCheckBox)
{
    LightGreyLook = 1;
    int n = Open(Customers);
    ASSERT_GT(n, 0);
    if (!GeometryBuilt(n)) GTEST_SKIP() << "page geometry is not built in this tree";
    WinShowPage(n, 1, false);
    PutText(n, CUVc::Code, "ACME");
    PutText(n, CUVc::Name, "Acme Tools Ltd");
    PutText(n, CUVc::Addr1, "1 Main Street");
    Paint(n);
    ASSERT_TRUE(WinSavePng(WinTable[n]->mdiChild, (home / "customers_page1.png").string()));

    // A label on page 0 and one on page 1 end 6 pixels left of their
    // fields (the text's ink may stop a pixel or two short of its box).
    for (int i : {1, 6}) {
        const uint8_t *e = WinDefEntry(n, WinPartDataFields, i);
        ASSERT_NE(e, nullptr);
        MacRect r;
        WinBindingRect(n, e, &r);
        int end = LastInk(n, r.left - 60, r.left - 5, r.bottom - 14, r.bottom - 2, LightGrey);
        EXPECT_GE(end, r.left - 9) << "label " << i;
        EXPECT_LE(end, r.left - 7) << "label " << i;
    }
    // The white strip under page 0 breaks for 30 pixels at the current page
    // (page 1 of 3: the gap starts 16 + 90 left of the right end).
    MacRect head;
    WinPageRect(n, 0, &head);
    int y = head.bottom - 1, gap = head.right - 16 - 30 * 3;
    EXPECT_EQ(At(n, head.left + 3, y), White);
    EXPECT_EQ(At(n, gap - 1, y), White);
    EXPECT_NE(At(n, gap, y), White);
    EXPECT_NE(At(n, gap + 29, y), White);
    EXPECT_EQ(At(n, gap + 30, y), White);

    // Page 2's check box follows the record's value word.
    WinShowPage(n, 2, false);
    MacRect box;
    int check = 0;
    for (; WinControlByIndex(n, check); check++)
        if (DefU16(WinControlByIndex(n, check) + ControlEntry::Kind) == CtlCheck) break;
    ASSERT_NE(WinControlByIndex(n, check), nullptr);
    WinFieldRect(n, check, &box);
    Paint(n);
    int inkOff = 0, inkOn = 0;
    for (int yy = box.top; yy < box.bottom; yy++)
        for (int xx = box.left; xx < box.left + 16; xx++) inkOff += At(n, xx, yy) == Black;
    PutU16(WinRecordBuffer(n), CUVc::OnAccount, 1);
    Paint(n);
    for (int yy = box.top; yy < box.bottom; yy++)
        for (int xx = box.left; xx < box.left + 16; xx++) inkOn += At(n, xx, yy) == Black;
    EXPECT_GT(inkOn, inkOff) << "the tick shows";
    ASSERT_TRUE(WinSavePng(WinTable[n]->mdiChild, (home / "customers_page2.png").string()));
}

TEST_F(RecordPaint, ShortcutMarksAreDrawnRedAndErasedWhite)
{
    int n = Open(Customers);
    ASSERT_GT(n, 0);
    if (!GeometryBuilt(n)) GTEST_SKIP() << "page geometry is not built in this tree";
    Paint(n);
    // The "Address" tab (control 0) underlines its first letter 5 pixels
    // above its bottom.
    MacRect tab;
    WinFieldRect(n, 0, &tab);
    int y = tab.bottom - 5;
    auto reds = [&] {
        int count = 0;
        for (int x = tab.left; x < tab.right; x++) count += At(n, x, y) == Red;
        return count;
    };
    EXPECT_EQ(reds(), 0);
    WinDrawShortcuts(n, true);
    int shown = reds();
    EXPECT_GT(shown, 3);
    EXPECT_LT(shown, 15) << "one character, not the label";
    WinDrawShortcuts(n, false);
    EXPECT_EQ(reds(), 0);
    // The hidden page's check box has no mark.
    WinShowPage(n, 1, false);
    for (int check = 0; WinControlByIndex(n, check); check++) {
        if (DefU16(WinControlByIndex(n, check) + ControlEntry::Kind) != CtlCheck) continue;
        MacRect box;
        WinFieldRect(n, check, &box);
        WinDrawShortcuts(n, true);
        for (int x = box.left; x < box.right; x++) EXPECT_NE(At(n, x, box.bottom - 1), Red);
    }
}

// A window type of its own: the server status window.
std::string StatusDict()
{
    return std::string(TestRecordDict) + "wintype 423 ServStatClass { kind plain rect 10 10 200 300 title 9603 }\n";
}

class ServerStatusPaint : public RecordFixture {
protected:
    std::string InterfaceSource() override { return StatusDict(); }
};

int StatusPainted = 0;

TEST_F(ServerStatusPaint, FramePassCallsTheHookAndMarksContentsPassClears)
{
    int n = Open(423);
    ASSERT_GT(n, 0);
    SetPortWindow(n);
    WinTable[n]->changed = 0;
    WinPaintFrame(n);   // no hook yet: nothing to call
    EXPECT_EQ(WinTable[n]->changed, 1);
    StatusPainted = 0;
    NetServices.serverStatusPaint = [](int window) { StatusPainted = window; };
    WinPaintFrame(n);
    EXPECT_EQ(StatusPainted, n);
    WinPaintContents(n);
    EXPECT_EQ(WinTable[n]->changed, 0);
    // Another type does not call it.
    StatusPainted = 0;
    int other = Open(TypeRowsPlain);
    WinPaintFrame(other);
    EXPECT_EQ(StatusPainted, 0);
    WinPaintFrame(0);   // no window: nothing happens
}

using ScrollBars = TestRecordWindows;

TEST_F(ScrollBars, RangeFollowsThePaneAndAFittingPaneKeepsItsBar)
{
    int n = Open(TypeRows);
    ASSERT_GT(n, 0);
    // Control 2 of the rows window is its matrix's scroll bar.
    ASSERT_EQ(DefU16(WinControlByIndex(n, 2) + ControlEntry::Kind), CtlScroll);
    ControlSlot &s = WinTable[n]->controls[2];
    if (!s.control)
        s.control = WinCreate("ScrollBar", "", PlStyle::Child | PlStyle::Visible, PlRect{300, 10, 316, 110},
                              WinTable[n]->mdiChild, 0, 0);
    ASSERT_NE(s.control, 0u);
    int lo = 0, hi = 0;

    s.maximum = 49, s.rowsShown = 5, s.position = 7;
    WinScrollBarsUpdate(n);
    ScrollBarRange(s.control, &lo, &hi);
    EXPECT_EQ(std::tuple(lo, hi, ScrollBarPos(s.control)), std::tuple(0, 45, 7));
    s.position = 60;   // past the range: the bar shows its end
    WinScrollBarsUpdate(n);
    EXPECT_EQ(ScrollBarPos(s.control), 45);

    // Every row fits: the bar stays as it was at the top...
    s.maximum = 3, s.position = 0;
    WinScrollBarsUpdate(n);
    ScrollBarRange(s.control, &lo, &hi);
    EXPECT_EQ(std::tuple(lo, hi, ScrollBarPos(s.control)), std::tuple(0, 45, 45));
    // ...and reaches back to the top when the pane is scrolled down.
    s.position = 2;
    WinScrollBarsUpdate(n);
    ScrollBarRange(s.control, &lo, &hi);
    EXPECT_EQ(std::tuple(lo, hi, ScrollBarPos(s.control)), std::tuple(0, 2, 2));

    // A slot whose bar is gone is skipped.
    uint32_t bar = s.control;
    WinDestroy(bar);
    WinScrollBarsUpdate(n);
    s.control = 0;
}

}  // namespace
