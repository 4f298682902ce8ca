// window_table.cpp - the table of open windows: slots, type use, the
// finders, closing, and the small helpers over a window's controls.
#include "output/devices/report_output.h"
#include "shell/window_table.h"

#include <cassert>
#include <cstring>
#include <new>
#include <string>

#include "core/interface_load.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "platform/control.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/menus.h"
#include "shell/shell.h"
#include "shell/window_utils.h"

std::array<WindowRec *, WinSlots> WinTable = {};

// The rows handle stored at `offset` of a record buffer, 0 when the
// offset is outside the buffer or there is none.
static MemBlock AttachedHandleAt(const uint8_t *record, uint32_t size, int32_t offset)
{
    if (!record || offset < 0 || uint32_t(offset) + 4 > size) return 0;
    MemBlock h;
    memcpy(&h, record + offset, 4);
    return h;
}

// Frees the attached rows blocks of window n's two records. Called
// before the records themselves go.
static void FreeAttachedBlocks(int n)
{
    WindowRec *w = WinTable[n];
    int32_t offset = WinRecordHandleOffset(n);
    uint32_t size = WinTypeWord(w->windowType, 2);
    uint8_t *records[2] = {w->record, w->stored};
    for (uint8_t *record : records) {
        MemBlock h = AttachedHandleAt(record, size, offset);
        if (!h) continue;
        MemFree(&h);
        memset(record + offset, 0, 4);
    }
}

// Frees window n's record with the blocks it owns and clears its slot.
static void WinSlotFree(int n)
{
    WindowRec *w = WinTable[n];
    assert(w);
    if (w->windowType && WinKindOf(n) == KindCode(WindowKind::Preview)) PreviewFree(n);
    if (w->windowType) FreeAttachedBlocks(n);
    MemFree(&w->recordHandle);
    MemFree(&w->storedHandle);
    MemFree(&w->rowIds);
    MemFree(&w->markedIds);
    MemFree(&w->listScratch);
    MemFree(&w->designerSelection);
    w->record = w->stored = nullptr;
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

// Marks a window type in use, building its operations popup the first
// time; the popup then lives to the end of the run.
void WinTypeUse(int type)
{
    assert(type > 0 && type < WinTypeUseEntries);
    WinTypeUseEntry &use = WinTypeUseTable[type];
    if (!use.menu) use.menu = BuildWindowOpsMenu(type);
    use.inUse = 1;
}

// The operations popup of n's window type, 0 none.
uint32_t WinOpsMenu(int n) { return WinTypeUseTable[WinTypeOf(n)].menu; }

// Attached size divided by the row size of matrix area 0; 0 when the
// type has no matrix or its row size is below 1.
int MatrixRowsPerUnit(int n)
{
    uint16_t size;
    const uint8_t *area = WinDefPartEntry(WinTypeDef(WinTypeOf(n)), WinPartMatrixAreas, 0, &size);
    if (!area) return 0;
    uint16_t rowSize = DefU16(area);
    if (rowSize < 1) return 0;
    return int(WinTable[n]->attachedSize / rowSize);
}

// Offset of the attached-rows handle in n's record: 0 for kind 9 (a
// settings table keeps its rows handle first), -1 without a register,
// else the register's rows-handle offset (-1 when it has no rows).
int32_t WinRecordHandleOffset(int n)
{
    if (WinKindOf(n) == KindCode(WindowKind::SettingsTable)) return 0;
    int reg = WinRegisterOf(n);
    if (reg == 0) return -1;
    return RegMatrixOffset(reg);
}

// Entry i of n's field list; null when there is none.
uint8_t *WinFieldDef(int n, int i)
{
    uint16_t size;
    return WinDefPartEntry(WinTypeDef(WinTypeOf(n)), WinPartFieldList, i, &size);
}

// Entry i of n's control list; null when there is none.
uint8_t *WinControlByIndex(int n, int i)
{
    uint16_t size;
    return WinDefPartEntry(WinTypeDef(WinTypeOf(n)), WinPartControls, i, &size);
}

// Client rectangle of n's child window; empty when it has none.
void WindowClientRect(int n, MacRect *out)
{
    PlRect r = WinClientRect(WinTable[n]->mdiChild);
    RectFromWin(&r, out);
}

// Invalidates n's child with erasing; 0 invalidates every window of the
// frame (the program's whole "desktop").
void InvalidateWindowNumber(int n)
{
    if (n == 0) {
        if (FrameWindow) WinInvalidateTree(FrameWindow, true);
        return;
    }
    WinInvalidate(WinTable[n]->mdiChild, nullptr, true);
}

// Empties n's list box.
void ListBoxReset(int n)
{
    if (WinTable[n]->listBox) WinSend(WinTable[n]->listBox, PlLb::ResetContent, 0, 0);
}

// Appends a PString row to n's list box.
void ListBoxAddString(int n, const uint8_t *text)
{
    if (WinTable[n]->listBox) ListBoxAdd(WinTable[n]->listBox, PStringView(text));
}

// The last selected row of n's list box; -1 when none or no list box.
int ListSelectedIndex(int n)
{
    uint32_t list = WinTable[n]->listBox;
    if (!list || WinSend(list, PlLb::GetSelCount, 0, 0) <= 0) return -1;
    int count = ListBoxCount(list);
    for (int i = count - 1; i >= 0; i--)
        if (WinSend(list, PlLb::GetSel, uintptr_t(i), 0) > 0) return i;
    return -1;
}

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

// Brings n's title and controls up to a replaced record, and takes the
// attached size from the record's rows block (0 when it has none).
void WinRecordRefresh(int n)
{
    assert(WinIsOpen(n));
    WinTitleUpdate(n);
    WinFieldsSync(n);
    WindowRec *w = WinTable[n];
    MemBlock h = AttachedHandleAt(w->record, WinTypeWord(w->windowType, 2), WinRecordHandleOffset(n));
    w->attachedSize = h ? MemSize(h) : 0;
}

// In a record window (kind 3) every created pane scroll bar (control
// kind 16) goes back to its entry's initial value; then n is marked for
// repainting.
void WinFieldsSync(int n)
{
    assert(WinIsOpen(n));
    WindowRec *w = WinTable[n];
    if (WinKindOf(n) == KindCode(WindowKind::Record)) {
        for (int i = 0; i < ControlSlotCount; i++) {
            const uint8_t *entry = WinControlByIndex(n, i);
            if (!entry) break;
            if (DefU16(entry + ControlEntry::Kind) == CtlScroll && w->controls[i].control)
                w->controls[i].position = DefU16(entry + ControlEntry::Value);
        }
    }
    w->changed = 1;
    RedrawPendingFlag = 1;
}

// The first open window of the type; 0 when none.
int WinFindByDef(int type)
{
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinTable[n] && WinTable[n]->windowType == type) return n;
    return 0;
}

// The name text of a type as a PString; empty when it has no name.
static void TypeNameText(int type, uint8_t *name)
{
    int text = WinTypeWord(type, 20);
    name[0] = 0;
    if (text) GetUiText(name, text);
}

// The first open window whose type has this name text; 0 when none.
int WinFindByName(const char *name)
{
    PString want, have;
    PStringFromC(want, name);
    for (int n = WinFirst; n <= WinLast; n++) {
        if (!WinTable[n]) continue;
        TypeNameText(WinTypeOf(n), have);
        if (have[0] && PStringEqual(have, want)) return n;
    }
    return 0;
}

// The first defined type 1..599 whose non-empty name text equals name; 0
// when none (an unnamed type is never found, not even for "").
int WinTypeByName(const char *name)
{
    PString want, have;
    PStringFromC(want, name);
    for (int type = 1; type < WinTypeUseEntries - 1; type++) {
        if (!WinDefExists(type)) continue;
        TypeNameText(type, have);
        if (have[0] && PStringEqual(have, want)) return type;
    }
    return 0;
}

// Releases the record or settings lock that a window changing its record
// (edit state 2) holds: so that closing never leaves it locked for the
// rest of the session, and so that an edit a refused key started ends
// unchanged. Nothing may be done about a refusal here: the window goes
// either way, or shows its record as stored.
void WinReleaseLock(int n)
{
    if (WinRecState(n) != 2) return;
    int kind = WinKindOf(n);
    if (kind == 8 || kind == 9)
        (void)RegisterUnlockCall(WinTypeWord(WinTypeOf(n), 9));
    else if (WinRegisterOf(n))
        (void)RecordUnlockCall(WinRegisterOf(n), WinTable[n]->recordId);
}

// Closes window n: forgets it as the busy-message window, re-enables the
// menus a menu-kind-1 type disabled, releases its lock, destroys its
// child, frees its record and slot, counts one window less of its type
// and lets the window the platform activated next become current.
void WinClose(int n)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    int type = w->windowType;
    if (n == BusyMessageWindow) BusyMessageWindow = 0;
    if (WinTypeWord(type, 22) == 1) {
        ToolbarEnable(true);
        StateRefreshFlag = 1;
    }
    WinReleaseLock(n);
    if (PortState.portWindow == n) SetPortWindow(0);

    uint32_t child = w->mdiChild;
    uint32_t client = child ? WinParent(child) : 0;
    uint32_t next = 0;
    if (child) {
        if (!MdiDestroyChild(client, child)) WinDestroy(child);
        next = MdiNextActivated(client);
    }
    if (CurrentWindow == n) CurrentWindow = 0;
    WinSlotFree(n);

    WinTypeUseEntry &use = WinTypeUseTable[type];
    if (use.word > 0) use.word--;
    if (use.word == 0) use.inUse = 0;

    if (next && WinIsWindow(next)) {
        MdiActivate(client, next);
        for (int m = WinFirst; m <= WinLast; m++)
            if (WinTable[m] && WinTable[m]->mdiChild == next) CurrentWindow = uint16_t(m);
    }
}
