// The window table's slots: the first free one is taken with its "none"
// markers set, the 101st is refused, and closing a window or
// re-initialising the table frees the blocks the records own.
#include "shell_fixture.h"

#include "core/memblock.h"
#include "core/ui_text.h"

using WindowSlots = ShellFixture;

TEST_F(WindowSlots, FillRefuseAndReinitialise)
{
    ASSERT_NE(UiTextFind(9501), nullptr);   // the built interface file is loaded
    uint32_t blocksBefore = MemBlockCount();

    for (int n = WinFirst; n <= WinLast; n++) {
        ASSERT_EQ(WinSlotAlloc(), n);
        WinTable[n]->recordHandle = MemAlloc(16);
        WinTable[n]->markedIds = MemAlloc(400);
    }
    EXPECT_EQ(WinSlotAlloc(), WinTableFull);
    EXPECT_EQ(MemBlockCount(), blocksBefore + 2 * WinLast);

    WinClose(40);
    EXPECT_FALSE(WinIsOpen(40));
    EXPECT_EQ(MemBlockCount(), blocksBefore + 2 * WinLast - 2);
    EXPECT_EQ(WinSlotAlloc(), 40);          // a freed slot is taken again

    WinTableInit();
    EXPECT_EQ(MemBlockCount(), blocksBefore);
    for (int n = 0; n < WinSlots; n++) EXPECT_EQ(WinTable[n], nullptr);

    ASSERT_EQ(WinSlotAlloc(), 1);
    const WindowRec &w = *WinTable[1];
    EXPECT_EQ(w.windowType, 0);
    EXPECT_EQ(w.selectedMatrixRow, -1);
    EXPECT_EQ(w.selStart, -1);
    EXPECT_EQ(w.reportPaneWidth, -1);
    EXPECT_EQ(w.pages[0].shown, 1);
    EXPECT_EQ(w.pages[1].shown, 0);
    EXPECT_EQ(w.editFieldOffset, NoOffset);
    for (int i = 0; i < 4; i++) EXPECT_EQ(w.editedBinding[EditedBindingOffsetAt + i], 0xFF);
    EXPECT_EQ(w.controls[0].control, 0u);
}
