// Opening and closing windows: the class, style and place of the child,
// the list box that follows the window's size, refusals that leave
// nothing half-made, the blocks a window owns, type use, the finders,
// titles, and the activation that follows a close.
#include "shell_fixture.h"

#include "core/interface_load.h"
#include "core/memblock.h"
#include "platform/control.h"

using WindowTable = TestWindows;

TEST_F(WindowTable, LoginTypeStandsWithoutCaptionAtItsRectangle)
{
    int n = OpenWindow(TypeLogin, 0);
    ASSERT_GT(n, 0);
    uint32_t child = WinTable[n]->mdiChild;
    ASSERT_TRUE(WinIsWindow(child));
    EXPECT_EQ(WinClassName(child), "m4default");
    EXPECT_TRUE(WinStyle(child) & PlStyle::DlgFrame);
    EXPECT_FALSE(WinStyle(child) & PlStyle::Caption);
    EXPECT_FALSE(WinStyle(child) & PlStyle::ThickFrame);
    PlRect r = WinRect(child);
    EXPECT_EQ(r.top, 100 - 70);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(PlRectWidth(r), 350 - 50 + 17);
    EXPECT_EQ(PlRectHeight(r), 300 - 100 + 37);

    int about = OpenWindow(TypeAbout, 0);
    ASSERT_GT(about, 0);
    PlRect a = WinRect(WinTable[about]->mdiChild);
    EXPECT_EQ(a.top, 60 - 70 + 15);
    EXPECT_EQ(PlRectHeight(a), 260 - 60 + 37 - 18);
    EXPECT_FALSE(WinStyle(WinTable[about]->mdiChild) & PlStyle::Caption);

    int list = OpenWindow(TypeList, 0);
    ASSERT_GT(list, 0);
    EXPECT_EQ(WinClassName(WinTable[list]->mdiChild), "m4mlist");
    EXPECT_TRUE(WinStyle(WinTable[list]->mdiChild) & PlStyle::Caption);
    EXPECT_EQ(int(WinGetExtra(WinTable[list]->mdiChild, 0)), list);
}

TEST_F(WindowTable, ListBoxKeepsItsGapsAsTheWindowResizes)
{
    int n = OpenWindow(TypeList, 0);
    ASSERT_GT(n, 0);
    uint32_t child = WinTable[n]->mdiChild, list = WinTable[n]->listBox;
    ASSERT_TRUE(WinIsWindow(list));
    EXPECT_EQ(WinParent(list), child);
    EXPECT_EQ(WinFocus(), list);

    auto expectGaps = [&](const char *when) {
        PlRect c = WinClientRect(child), r = WinRect(list);
        EXPECT_EQ(r.left, 5) << when;
        EXPECT_EQ(r.top, 10) << when;
        EXPECT_EQ(c.right - r.right, 5) << when;
        EXPECT_EQ(c.bottom - r.bottom, 20) << when;
    };
    expectGaps("at open");
    PlRect w = WinRect(child);
    ASSERT_TRUE(WinMove(child, PlRect{w.left, w.top, w.right + 120, w.bottom + 80}));
    expectGaps("after growing");

    // Layout follows a new size even while a network wait keeps the
    // program busy.
    BusyFlag = 1;
    ASSERT_TRUE(WinMove(child, PlRect{w.left, w.top, w.right - 60, w.bottom - 30}));
    expectGaps("after shrinking while busy");
}

TEST_F(WindowTable, RefusedOpensLeaveNothingBehind)
{
    uint32_t blocks = MemBlockCount();
    EXPECT_EQ(OpenWindow(77, 0), 0);          // not defined
    EXPECT_EQ(OpenWindow(0, 0), 0);
    EXPECT_EQ(OpenWindow(600, 0), 0);
    EXPECT_EQ(MemBlockCount(), blocks);
    for (int n = 0; n < WinSlots; n++) EXPECT_EQ(WinTable[n], nullptr);

    for (int i = 1; i <= WinLast; i++) ASSERT_EQ(OpenWindow(TypeItem, 0), i);
    EXPECT_EQ(WinTypeUseTable[TypeItem].word, WinLast);
    uint32_t full = MemBlockCount();
    int children = WinChildCount(MdiClientWindow);

    EXPECT_EQ(OpenWindow(TypeItem, 0), 0);    // the 101st
    EXPECT_EQ(MemBlockCount(), full);
    EXPECT_EQ(WinChildCount(MdiClientWindow), children);
    EXPECT_EQ(WinTypeUseTable[TypeItem].word, WinLast);
    for (int n = WinFirst; n <= WinLast; n++) ASSERT_EQ(WinTypeOf(n), TypeItem);

    // The window system refuses the child: the slot, the blocks and the
    // type's count are given back.
    WinClose(WinLast);
    uint32_t before = MemBlockCount(), client = MdiClientWindow;
    MdiClientWindow = FrameWindow;            // not an MDI client
    EXPECT_EQ(OpenWindow(TypeReport, 0), 0);
    MdiClientWindow = client;
    EXPECT_EQ(MemBlockCount(), before);
    EXPECT_FALSE(WinIsOpen(WinLast));
    EXPECT_FALSE(WinTypeUseTable[TypeReport].inUse);
    EXPECT_EQ(WinTypeUseTable[TypeReport].word, 0);

    // Re-initialising the table frees what the open windows own, and a
    // slot taken afresh starts with its "none" markers.
    WinTableInit();
    EXPECT_EQ(MemBlockCount(), blocks);
    ASSERT_EQ(WinSlotAlloc(), 1);
    const WindowRec &w = *WinTable[1];
    EXPECT_EQ(w.selectedMatrixRow, -1);
    EXPECT_EQ(w.selStart, -1);
    EXPECT_EQ(w.reportPaneWidth, -1);
    EXPECT_EQ(w.pages[0].shown, 1);
    EXPECT_EQ(w.editFieldOffset, NoOffset);
    for (int i = 0; i < 4; i++) EXPECT_EQ(w.editedBinding[EditedBindingOffsetAt + i], 0xFF);
}

TEST_F(WindowTable, WindowsFreeEveryBlockTheyOwn)
{
    uint32_t blocks = MemBlockCount();
    int item = OpenWindow(TypeItem, 0);
    int list = OpenWindow(TypeList, 0);
    int preview = OpenWindow(TypePreview, 0);
    ASSERT_TRUE(item && list && preview);

    // Record windows get both records with an empty rows block each.
    ASSERT_NE(WinRecordBuffer(item), nullptr);
    ASSERT_EQ(WinRecordHandleOffset(item), 12);
    MemBlock rows, storedRows;
    memcpy(&rows, WinRecordBuffer(item) + 12, 4);
    memcpy(&storedRows, WinStoredRecord(item) + 12, 4);
    EXPECT_TRUE(MemIsValid(rows));
    EXPECT_TRUE(MemIsValid(storedRows));
    EXPECT_NE(rows, storedRows);

    // Lists start browsing with an empty marked set: no record counts as
    // marked before the user marks one.
    EXPECT_EQ(WinRecState(list), 4);
    ASSERT_TRUE(MemIsValid(WinTable[list]->markedIds));
    EXPECT_EQ(MemSize(WinTable[list]->markedIds), 0u);
    EXPECT_TRUE(MemIsValid(WinTable[list]->listScratch));
    EXPECT_TRUE(MemIsValid(WinTable[preview]->markedIds));
    EXPECT_EQ(WinTable[item]->markedIds, 0u);
    EXPECT_EQ(WinTable[list]->listRowHeight, 16);
    EXPECT_EQ(WinTable[list]->currentPage, 1);

    WinRecordRefresh(item);
    EXPECT_EQ(WinAttachedSize(item), 0u);
    ASSERT_TRUE(MemRealloc(&rows, 24));
    memcpy(WinRecordBuffer(item) + 12, &rows, 4);
    WinRecordRefresh(item);
    EXPECT_EQ(WinAttachedSize(item), 24u);
    EXPECT_TRUE(WinTable[item]->changed);

    WinClose(item);
    WinClose(list);
    WinClose(preview);
    EXPECT_EQ(MemBlockCount(), blocks);
    EXPECT_EQ(WinChildCount(MdiClientWindow), 0);
}

TEST_F(WindowTable, ClosingActivatesTheNextWindowAndCountsTypeUse)
{
    int a = OpenWindow(TypeArticle, 0);
    int b = OpenWindow(TypeUnnamed, 0);
    int c = OpenWindow(TypeArticle, 0);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(CurrentWindow, c);
    EXPECT_EQ(ActiveNumber(), c);
    EXPECT_EQ(WinTypeUseTable[TypeArticle].word, 2);

    WinClose(c);
    EXPECT_FALSE(WinIsOpen(c));
    EXPECT_EQ(ActiveNumber(), b);
    EXPECT_EQ(CurrentWindow, b);
    EXPECT_TRUE(WinTypeUseTable[TypeArticle].inUse);

    // Closing a window that is not the active one keeps the active one.
    WinClose(a);
    EXPECT_EQ(CurrentWindow, b);
    EXPECT_FALSE(WinTypeUseTable[TypeArticle].inUse);

    // The operations popup of a type outlives its last window and is
    // reused by the next one.
    WinTypeUseTable[TypeArticle].menu = 4711;
    int d = OpenWindow(TypeArticle, 0);
    ASSERT_GT(d, 0);
    EXPECT_EQ(WinOpsMenu(d), 4711u);
    EXPECT_TRUE(WinTypeUseTable[TypeArticle].inUse);

    WinClose(b);
    WinClose(d);
    EXPECT_EQ(CurrentWindow, 0);
    EXPECT_EQ(MdiGetActive(MdiClientWindow, nullptr), 0u);
    WinClose(d);                              // a closed number is ignored
    WinClose(0);
}

TEST_F(WindowTable, FindersMatchOnlyNamedOpenTypes)
{
    EXPECT_EQ(WinTypeByName("ArtStatIClass"), TypeArticle);
    EXPECT_EQ(WinTypeByName(""), 0);
    EXPECT_EQ(WinTypeByName("Untitled"), 0);  // a title, not a name
    EXPECT_EQ(WinFindByName("ArtStatIClass"), 0);
    EXPECT_EQ(WinFindByDef(TypeArticle), 0);

    int u = OpenWindow(TypeUnnamed, 0);
    int a = OpenWindow(TypeArticle, 0);
    EXPECT_EQ(WinFindByName("ArtStatIClass"), a);
    EXPECT_EQ(WinFindByName(""), 0);
    EXPECT_EQ(WinFindByDef(TypeUnnamed), u);
    EXPECT_EQ(WindowNumberOf(WinTable[a]->mdiChild), a);
    EXPECT_EQ(WindowNumberOf(FrameWindow), 0);
    EXPECT_EQ(WindowNumberOf(0), 0);
}

TEST_F(WindowTable, TitlesShowTheEditStateByKind)
{
    int article = OpenWindow(TypeArticle, 0);
    int list = OpenWindow(TypeList, 0);
    int plain = OpenWindow(TypeUnnamed, 0);
    int preview = OpenWindow(TypePreview, 0);
    EXPECT_EQ(WinTitle(WinTable[article]->mdiChild), "Article: viewing");
    EXPECT_EQ(WinTitle(WinTable[list]->mdiChild), "Articles: browsing");
    EXPECT_EQ(WinTitle(WinTable[plain]->mdiChild), "Untitled");

    WinTable[article]->editState = 2;
    WinTitleUpdate(article);
    EXPECT_EQ(WinTitle(WinTable[article]->mdiChild), "Article: changing");
    WinTable[article]->editState = 5;
    WinTitleUpdate(article);
    EXPECT_EQ(WinTitle(WinTable[article]->mdiChild), "Article: search key");

    ASSERT_TRUE(WinSetTitle(WinTable[preview]->mdiChild, "Page 3"));
    WinTitleUpdate(preview);                  // a preview keeps its own title
    EXPECT_EQ(WinTitle(WinTable[preview]->mdiChild), "Page 3");

    // A form designer shows the text its record holds after the first
    // word; a record window's record adds nothing, and a text that would
    // run past the record is not read.
    int designer = OpenWindow(TypeDesigner, 0), item = OpenWindow(TypeItem, 0);
    ASSERT_TRUE(designer && item);
    PStringFromC(WinRecordBuffer(designer) + 4, "Invoice");
    PStringFromC(WinRecordBuffer(item) + 4, "Invoice");
    WinTable[designer]->editState = 2;
    WinTable[item]->editState = 2;
    WinTitleUpdate(designer);
    WinTitleUpdate(item);
    EXPECT_EQ(WinTitle(WinTable[designer]->mdiChild), "Form Invoice: changing");
    EXPECT_EQ(WinTitle(WinTable[item]->mdiChild), "Item: changing");
    WinRecordBuffer(designer)[4] = 8;         // 8 characters would end past the 12-byte record
    WinTitleUpdate(designer);
    EXPECT_EQ(WinTitle(WinTable[designer]->mdiChild), "Form: changing");
}

TEST_F(WindowTable, RectanglesResolveFromTheFarEdges)
{
    MacRect area{0, 0, 200, 300}, out;
    MacRect stored{10, 5, -20, -5};
    WinRectResolve(&stored, &area, &out);
    EXPECT_EQ(out.top, 10);
    EXPECT_EQ(out.left, 5);
    EXPECT_EQ(out.bottom, 180);
    EXPECT_EQ(out.right, 295);
    MacRect fromFar{-40, -100, -10, -2};
    WinRectResolve(&fromFar, &area, &out);
    EXPECT_EQ(out.top, 160);
    EXPECT_EQ(out.left, 200);
    EXPECT_EQ(out.bottom, 190);
    EXPECT_EQ(out.right, 298);

    EXPECT_TRUE(PtInMacRect(PlMakeLong(5, 10), &out) == false);
    EXPECT_TRUE(PtInMacRect(PlMakeLong(200, 160), &out));
    EXPECT_FALSE(PtInMacRect(PlMakeLong(298, 160), &out));   // right edge is outside
}
