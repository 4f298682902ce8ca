// preview_test.cpp - the preview device on a headless frame: jobs run
// through the report output operations into a real preview window, whose
// store, layout, search, clicks and paint are checked.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "platform/control.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "tests/output/test_job.h"
#include "tests/shell/shell_fixture.h"

namespace {

class Preview : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        MakeFrame();
        if (HasFatalFailure()) return;
        if (!LoggedInUser) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        PutU16(TestJob, ReportParamsVc::OutputKind, OutPreview);
        ResetOutputJobState();
        PreviewStoreLimit = 256u << 20;
    }
    void TearDown() override
    {
        PreviewStoreLimit = 256u << 20;
        ResetOutputJobState();
        ShellFixture::TearDown();
    }

    // Opens a job on the preview; its window.
    static int Begin()
    {
        PString t;
        PStringFromC(t, "Ledger");
        RepOpenJob(t);
        int n = RepOutputState.previewWindow;
        EXPECT_TRUE(PreviewIsOpen(n));
        return n;
    }
    // One line of height 12 with the texts at their x, then its end.
    static void Line(std::initializer_list<std::pair<int, const char *>> texts, int link = 0)
    {
        RepStartLine(12);
        for (auto [x, s] : texts) {
            PString t;
            PStringFromC(t, s);
            RepText(x, link, t, 0);
        }
        RepEndLine();
    }
    static uint8_t *Rec(int n) { return WinRecordBuffer(n); }
    static uint32_t Used(int n) { return uint32_t(GetI32(Rec(n), PreviewWin::StoreUsed)); }
    // The items of n's store: (offset, layoutPos, text).
    struct Item {
        uint32_t off;
        int32_t layoutPos;
        uint16_t kind;
        std::string text;
    };
    static std::vector<Item> Items(int n)
    {
        std::vector<Item> out;
        MemBlock h = GetU32(Rec(n), PreviewWin::Store);
        const uint8_t *p = MemLock(h);
        for (uint32_t off = 0; p && off < Used(n); off += GetU16(p + off, PreviewItemAt::Size))
            out.push_back({off, GetI32(p + off, PreviewItemAt::LayoutPos), GetU16(p + off, PreviewItemAt::Kind),
                           PStringToStd(p + off + PreviewItemAt::Text)});
        if (p) MemUnlock(h);
        return out;
    }
    // The point (y high, x low) at window coordinates.
    static int32_t Point(int x, int y) { return int32_t((uint32_t(y) << 16) | uint16_t(x)); }
    // The content's pixels of n as painted.
    static std::vector<uint32_t> Pixels(int n)
    {
        PreviewPaint(n);
        const MacRect &c = WinTable[n]->contentRect;
        std::vector<uint32_t> px;
        for (int y = c.top; y < c.bottom; y++)
            for (int x = c.left; x < c.right; x++) px.push_back(Pixel(n, x, y));
        return px;
    }
};

// Texts are stored at their line as items of the given size; an empty
// text is not stored; at the job's end a text starting inside the one
// before it on its line flows one line height down and every later line
// moves down with it; the header goes into the band above the content.
TEST_F(Preview, StoresItemsAndReflowsOverlappingTexts)
{
    int n = Begin();
    ASSERT_GT(n, 0);
    PString t;
    RepHeaderClear();
    PStringFromC(t, "Head");
    RepHeaderLeft(0, t);
    RepHeaderDone();
    EXPECT_EQ(GetI16(Rec(n), PreviewWin::HeaderHeight), 15 + 7);
    EXPECT_EQ(RepOutputState.linePos, 0);
    uint32_t before = Used(n);
    Line({{10, ""}});
    EXPECT_EQ(Used(n), before) << "an empty text is not stored";
    Line({{10, "A"}});
    EXPECT_EQ(Used(n) - before, 27u);
    Line({{10, "a long first text"}, {12, "second"}});
    Line({{10, "next"}});
    RepEndJob();
    std::vector<Item> items = Items(n);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].text, "Head");
    EXPECT_LT(items[0].layoutPos, 0);
    EXPECT_EQ(items[1].layoutPos, 12);
    EXPECT_EQ(items[2].layoutPos, 24);
    EXPECT_EQ(items[3].layoutPos, 36) << "the overlapping text goes one line height down";
    EXPECT_EQ(items[4].layoutPos, 48) << "and the next line with it";
    EXPECT_EQ(GetI32(Rec(n), PreviewWin::TotalHeight), 48);
    EXPECT_EQ(RepOutputState.previewWindow, 0);
    // The header's text is painted in the band, above the content.
    PreviewPaint(n);
    const MacRect &c = WinTable[n]->contentRect;
    bool inked = false;
    for (int y = c.top - 20; y < c.top - 2 && !inked; y++)
        for (int x = 10; x < 60 && !inked; x++) inked = Pixel(n, x, y) != kPlWhite;
    EXPECT_TRUE(inked);
}

// 5000 items grow the store in steps of 4096 bytes; an offset the index
// gave before the store grew still names its item.
TEST_F(Preview, StoreGrowsInStepsKeepingOffsets)
{
    int n = Begin();
    ASSERT_GT(n, 0);
    for (int i = 0; i < 100; i++) Line({{0, ("row " + std::to_string(i)).c_str()}});
    PreviewLayout(n);
    uint32_t off = PreviewIndexSeek(n, 50 * 12);
    MemBlock h = GetU32(Rec(n), PreviewWin::Store);
    std::string text = PStringToStd(MemLock(h) + off + PreviewItemAt::Text);
    MemUnlock(h);
    EXPECT_EQ(text, "row 50");
    uint32_t size = MemSize(h);
    for (int i = 100; i < 5000; i++) Line({{0, ("row " + std::to_string(i)).c_str()}});
    RepEndJob();
    h = GetU32(Rec(n), PreviewWin::Store);
    EXPECT_GT(MemSize(h), size);
    EXPECT_EQ(MemSize(h) % PreviewGrowStep, 0u);
    EXPECT_LT(MemSize(h) - Used(n), PreviewGrowStep);
    EXPECT_EQ(PStringToStd(MemLock(h) + off + PreviewItemAt::Text), "row 50");
    MemUnlock(h);
    EXPECT_EQ(PreviewIndexSeek(n, 50 * 12), off);
    EXPECT_EQ(Items(n).size(), 5000u);
}

// A store that cannot grow tells 1511 and stops the job; what was stored
// stays and is laid out; the next output stores nothing.
TEST_F(Preview, FullStoreStopsAndKeepsItems)
{
    PreviewStoreLimit = PreviewGrowStep;
    int n = Begin();
    ASSERT_GT(n, 0);
    int lines = 0;
    while (!RepStopped && lines < 1000) Line({{0, ("line " + std::to_string(lines++)).c_str()}});
    EXPECT_EQ(RepStopped, 1);
    EXPECT_TRUE(Said(TextOf(Texts::OutputFull)));
    size_t kept = Items(n).size();
    EXPECT_EQ(kept, size_t(lines - 1));
    EXPECT_LE(Used(n), PreviewGrowStep);
    Line({{0, "after"}});
    RepEndJob();
    std::vector<Item> items = Items(n);
    ASSERT_EQ(items.size(), kept);
    EXPECT_EQ(items.back().layoutPos, int32_t(12 * (kept - 1)));
}

// The search finds the next text holding the search text after the
// found one, scrolls to it, and with no more hits clears it and beeps.
TEST_F(Preview, FindsNextTextOrBeeps)
{
    int n = Begin();
    ASSERT_GT(n, 0);
    for (int i = 0; i < 200; i++) Line({{0, i % 50 == 7 ? "Invoice total" : "other"}});
    RepEndJob();
    uint8_t *search = Rec(n) + PreviewWin::SearchText;
    PStringFromC(search, "TOTAL");
    PreviewFind(n);
    int32_t first = GetI32(Rec(n), PreviewWin::FoundItem);
    ASSERT_GE(first, 0);
    PreviewFind(n);
    int32_t second = GetI32(Rec(n), PreviewWin::FoundItem);
    ASSERT_GT(second, first);
    std::vector<Item> items = Items(n);
    for (const Item &it : items)
        if (it.off == uint32_t(second)) {
            EXPECT_EQ(it.layoutPos, 12 * 57);
            EXPECT_EQ(WinTable[n]->paneScroll, it.layoutPos);
        }
    int beeps = PlBeepCount();
    PStringFromC(search, "nowhere");
    PreviewFind(n);
    EXPECT_EQ(GetI32(Rec(n), PreviewWin::FoundItem), -1);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
}

// A click on a text highlights it; a double click on a text of link 0
// only highlights; on a drill-down text it tells that the run is not
// there yet. Clicks outside the content are left to the window.
TEST_F(Preview, ClicksHighlightTexts)
{
    int n = Begin();
    ASSERT_GT(n, 0);
    Line({{0, "plain"}});
    Line({{0, "drill"}}, 16);
    RepEndJob();
    std::vector<Item> items = Items(n);
    ASSERT_EQ(items.size(), 2u);
    const MacRect &c = WinTable[n]->contentRect;
    int x = c.left + 12, y = c.top + PreviewTopOffset - 4;   // inside the first text
    EXPECT_FALSE(RepListWindowDraw(n, Point(x, c.top - 30), false, false));
    EXPECT_TRUE(RepListWindowDraw(n, Point(x, y), false, false));
    EXPECT_EQ(GetI32(Rec(n), PreviewWin::FoundItem), int32_t(items[0].off));
    MessagesShown.clear();
    EXPECT_TRUE(RepListWindowDraw(n, Point(x, y), false, true));
    EXPECT_TRUE(MessagesShown.empty());
    EXPECT_TRUE(RepListWindowDraw(n, Point(x, y + 12), false, true));
    EXPECT_EQ(GetI32(Rec(n), PreviewWin::FoundItem), int32_t(items[1].off));
    EXPECT_TRUE(Said(TextOf(Texts::FunctionNotYet)));
    int other = Bare(TypeReport);
    EXPECT_FALSE(RepListWindowDraw(other, Point(x, y), false, true));
}

// Form elements of two pages stay in the store: every paint draws them
// again, so a second paint gives the same pixels, with the line inked.
TEST_F(Preview, FormPagesSurviveRepaint)
{
    int n = Begin();
    ASSERT_GT(n, 0);
    PString t;
    PStringFromC(t, "Total");
    for (int16_t page = 0; page < 2; page++) {
        ASSERT_TRUE(PreviewAddFormItem(n, {page, ItemFormLine, 30, 0, 30, 200, 0, 1}, nullptr));
        ASSERT_TRUE(PreviewAddFormItem(n, {page, ItemFormBox, 40, 0, 70, 100, 0, 1}, nullptr));
        ASSERT_TRUE(PreviewAddFormItem(n, {page, ItemFormText, 40, 0, 60, 100, -1, 0}, t));
    }
    EXPECT_FALSE(PreviewAddFormItem(n, {0, ItemText, 0, 0, 0, 0, 0, 0}, t));
    RepEndJob();
    EXPECT_EQ(GetI16(Rec(n), PreviewWin::FormPages), 2);
    EXPECT_EQ(Items(n).size(), 6u);
    EXPECT_EQ(GetI32(Rec(n), PreviewWin::TotalHeight), 2 * (FormPageHeight + FormPageGap));
    std::vector<uint32_t> first = Pixels(n);
    const MacRect &c = WinTable[n]->contentRect;
    EXPECT_NE(Pixel(n, c.left + PreviewLeftMargin + 100, c.top + PreviewTopOffset + 30), kPlWhite);
    EXPECT_EQ(Pixels(n), first);
    PreviewScroll(n, 0, FormPageHeight + FormPageGap);
    EXPECT_EQ(WinTable[n]->paneScroll, FormPageHeight + FormPageGap);
    std::vector<uint32_t> second = Pixels(n);
    EXPECT_EQ(second, first) << "page 2 holds what page 1 does";
}

// The preview opens wide enough for a form's whole page: a rule across an
// A4 page's width (595 points, a form's own units) is painted to its
// right end, which a narrower window cut off.
TEST_F(Preview, AFormPageFitsTheWindowsWidth)
{
    constexpr int PageWidth = 595;
    int n = Begin();
    ASSERT_GT(n, 0);
    ASSERT_TRUE(PreviewAddFormItem(n, {0, ItemFormLine, 100, 0, 100, PageWidth - 1, 0, 1}, nullptr));
    RepEndJob();
    PreviewPaint(n);
    const MacRect &c = WinTable[n]->contentRect;
    EXPECT_GE(c.right - c.left, PreviewLeftMargin + PageWidth) << "the content is narrower than a page";
    EXPECT_NE(Pixel(n, c.left + PreviewLeftMargin + PageWidth - 2, c.top + PreviewTopOffset + 100), kPlWhite)
        << "the page's right end is not painted";
}

// A report longer than a bar's 16-bit positions: at the job's end the
// scroll bar spans the laid-out height, the first Page Down moves a whole
// pane less a line, and the thumb dragged to the bar's end brings the
// last line into the content.
TEST_F(Preview, ScrollBarReachesTheLastLineOfALongReport)
{
    int n = Begin();
    ASSERT_GT(n, 0);
    constexpr int Lines = 3000;   // 36 000 pixels at 12 a line
    for (int i = 0; i < Lines; i++) Line({{0, ("row " + std::to_string(i)).c_str()}});
    RepEndJob();
    uint32_t bar = WinTable[n]->controls[0].control;
    ASSERT_NE(bar, 0u) << "the preview has no scroll bar";
    int low = 0, high = 0;
    ScrollBarRange(bar, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_GT(high, 0) << "the bar does not know the report's height";
    EXPECT_LE(high, 32767) << "the bar's end is past what its thumb can report";

    const uint32_t child = WinTable[n]->mdiChild;
    WinSend(child, PlMsg::VScroll, uintptr_t(PlSb::PageDown), 0);
    EXPECT_EQ(WinTable[n]->paneScroll, WinTable[n]->paneHeight - 12) << "the first page key moves a pane";

    // The thumb pressed, dragged below the bar and let go.
    const PlRect thumb = ScrollBarThumbRect(bar), track = WinClientRect(bar);
    const int x = (thumb.left + thumb.right) / 2;
    auto at = [x](int y) { return intptr_t((uint32_t(uint16_t(y)) << 16) | uint16_t(x)); };
    WinSend(bar, PlMsg::LButtonDown, 0, at((thumb.top + thumb.bottom) / 2));
    WinSend(bar, PlMsg::MouseMove, 0, at(track.bottom + 40));
    WinSend(bar, PlMsg::LButtonUp, 0, at(track.bottom + 40));
    const int32_t last = 12 * Lines;   // the last line's baseline
    const int32_t lastOnScreen = WinTable[n]->contentRect.top + PreviewTopOffset + last - WinTable[n]->paneScroll;
    EXPECT_LE(lastOnScreen + 3, WinTable[n]->contentRect.bottom - 3) << "the last line is below the content";
    EXPECT_GE(lastOnScreen - 10, WinTable[n]->contentRect.top) << "the last line is above the content";
    EXPECT_EQ(ScrollBarPos(bar), high);
}

// Closing the window while its job runs frees the store and stops the job.
TEST_F(Preview, ClosedWindowStopsItsJob)
{
    int n = Begin();
    ASSERT_GT(n, 0);
    Line({{0, "kept"}});
    MemBlock store = GetU32(Rec(n), PreviewWin::Store);
    EXPECT_TRUE(MemIsValid(store));
    WinClose(n);
    EXPECT_FALSE(MemIsValid(store)) << "the store went with the window";
    EXPECT_EQ(RepStopped, 1);
    Line({{0, "lost"}});
    RepEndJob();
    EXPECT_EQ(RepOutputState.previewWindow, 0);
}

}  // namespace
