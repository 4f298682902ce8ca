// window_open.cpp - opening a window of a type, its title, and the
// rectangles of its controls.
#include <cassert>
#include <cstring>
#include <string_view>

#include "core/interface_load.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/draw_port.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_layout.h"
#include "shell/edit_control.h"
#include "shell/list_windows.h"
#include "shell/window_table.h"

// The MDI child's rectangle stands this far above the type's rectangle,
// and the child is this much wider and higher, so that the type's
// rectangle is roughly the client area below the frame's top bar.
constexpr int OpenOffsetY = 70, OpenExtraWidth = 17, OpenExtraHeight = 37;

constexpr uint32_t ChildStyle =
    PlStyle::Child | PlStyle::ClipSiblings | PlStyle::ClipChildren | PlStyle::OverlappedWindow;
constexpr uint32_t DialogStyle = PlStyle::Child | PlStyle::ClipSiblings | PlStyle::ClipChildren | PlStyle::DlgFrame;

// The window class of a type: by its kind first, then the types that
// have their own class override the kind.
static std::string_view WinClassForType(int type)
{
    std::string_view cls = WinTypeWord(type, 0) == 1 ? "m4mlist" : "m4default";
    switch (type) {
    case 5:
    case 23: return "m4repw";
    case 6: return "m4report";
    case 7: return "m4maint";
    case 8: return "m4doc";
    case 12: return "m4settings";
    case 15: return "m4default";
    default: return cls;
    }
}

// Gives both records of window n an empty attached rows block when the
// record holds a rows handle; false when memory cannot be had.
static bool AttachEmptyRows(int n)
{
    WindowRec *w = WinTable[n];
    int32_t offset = WinRecordHandleOffset(n);
    uint32_t size = WinTypeWord(w->windowType, 2);
    if (offset < 0 || !w->record || uint32_t(offset) + 4 > size) return true;
    for (uint8_t *record : {w->record, w->stored}) {
        MemBlock h = MemAlloc(0);
        if (!h) return false;
        memcpy(record + offset, &h, 4);
    }
    return true;
}

// Allocates what window n of its kind owns before its child exists: the
// record buffer and its stored copy (type word 2 bytes each), the empty
// attached rows, and the list blocks of kinds 1, 2, 4 and 11. The marked
// set starts empty: a block of zero ids would count as 100 marked rows
// of record 0. False when memory cannot be had.
static bool WinAllocBuffers(int n)
{
    WindowRec *w = WinTable[n];
    uint32_t size = WinTypeWord(w->windowType, 2);
    if (size) {
        w->recordHandle = MemAlloc(size);
        w->storedHandle = MemAlloc(size);
        if (!w->recordHandle || !w->storedHandle) return false;
        w->record = MemLock(w->recordHandle);
        w->stored = MemLock(w->storedHandle);
        if (!AttachEmptyRows(n)) return false;
    }
    int kind = WinKindOf(n);
    if (kind == 1 || kind == 2) w->editState = 4;
    if (kind == 1 || kind == 2 || kind == 4) {
        w->markedIds = MemAlloc(0);
        if (!w->markedIds) return false;
    }
    if (kind == 1 || kind == 2 || kind == 4 || kind == 11) {
        w->listScratch = MemAlloc(0);
        if (!w->listScratch) return false;
    }
    return true;
}

// The About window (type 18) stands lower and is less high than the rest.
constexpr int AboutDropY = 15, AboutLessHeight = 18;

// The MDI child's rectangle, relative to the MDI client, of a window of
// the type opened at rectangle r of the type's form (words 3 to 6, and
// the stored placements).
PlRect WinTypeRectToChild(int type, const MacRect &r)
{
    int x = r.left, y = r.top - OpenOffsetY;
    int width = r.right - r.left + OpenExtraWidth, height = r.bottom - r.top + OpenExtraHeight;
    if (type == WinTypes::About) {
        y += AboutDropY;
        height -= AboutLessHeight;
    }
    return PlRect{x, y, x + width, y + height};
}

// The rectangle of the type's form that opens a window of the type at
// child rectangle c: the exact inverse of WinTypeRectToChild, so that a
// placement taken from a window puts the next one exactly where it stood.
MacRect WinChildToTypeRect(int type, const PlRect &c)
{
    int top = c.top + OpenOffsetY, height = c.bottom - c.top;
    if (type == WinTypes::About) {
        top -= AboutDropY;
        height += AboutLessHeight;
    }
    int right = c.right - OpenExtraWidth, bottom = top + height - OpenExtraHeight;
    return MacRect{int16_t(top), int16_t(c.left), int16_t(bottom), int16_t(right)};
}

// Creates window n's MDI child at the type's rectangle r; 0 when refused.
static uint32_t WinCreateChild(int n, const MacRect &r)
{
    int type = WinTypeOf(n);
    PString title;
    GetUiText(title, WinTypeWord(type, 10));
    uint32_t style = ChildStyle;
    if (type == 15 || type == WinTypes::About) style = DialogStyle;
    PlMdiCreate create{WinClassForType(type), PStringView(title), WinTypeRectToChild(type, r), style, n};
    return MdiCreateChild(MdiClientWindow, create);
}

// Enables every push button, check box and radio button of n: each may
// be pressed until its window's type disables it (WinButtonsEnable).
static void WinButtonsEnableAll(int n)
{
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *entry = WinControlByIndex(n, i);
        if (!entry) break;
        int kind = DefU16(entry + ControlEntry::Kind);
        if (kind == CtlPush || kind == CtlCheck || kind == CtlRadio) WinTable[n]->controls[i].enabled = 1;
    }
}

// Creates the list box of window n at its type's list rectangle, with
// the bold UI font, and focuses it. False when the window system refused.
static bool WinCreateListBox(int n)
{
    MacRect r;
    if (!WinListBoxRect(n, &r)) return true;
    PlRect pr;
    RectToWin(&r, &pr);
    uint32_t style = PlStyle::Child | PlStyle::Visible | PlStyle::Border | PlStyle::VScroll | PlStyle::TabStop |
                     PlListStyle::Notify | PlListStyle::DisableNoScroll;
    uint32_t list = WinCreate("ListBox", "", style, pr, WinTable[n]->mdiChild, 0, 0);
    if (!list) return false;
    WinTable[n]->listBox = list;
    PlFont *bold = UiFontBold ? UiFontBold : FontUiSemibold();
    WinSend(list, PlMsg::SetFont, uintptr_t(bold), 0);
    WinShow(list, PlShow::Show);
    WinSetFocus(list);
    return true;
}

// Opens a window of the type: a slot, its buffers, its MDI child at the
// type's (or the user's stored) rectangle, its list box, its pages and
// controls, and its title. Its number, or 0 when the type is undefined,
// all 100 windows are open, memory is short or the window system
// refused; nothing half-made stays behind.
int OpenWindow(int type, int unused)
{
    (void)unused;
    if (type <= 0 || type >= WinTypeUseEntries - 1 || !WinDefExists(type)) return 0;
    if (!MdiClientWindow) return 0;
    int n = WinSlotAlloc();
    if (n == WinTableFull) return 0;

    if (!WinTypeUseTable[type].inUse) WinTypeUse(type);
    WinTypeUseTable[type].word++;
    WindowRec *w = WinTable[n];
    w->windowType = uint16_t(type);
    w->listRowHeight = 16;

    MacRect r{int16_t(WinTypeWord(type, 3)), int16_t(WinTypeWord(type, 4)), int16_t(WinTypeWord(type, 5)),
              int16_t(WinTypeWord(type, 6))};
    if (type != 5 && type != 19) WinPlacementLoad(type, &r, &w->listColumn);
    if (!WinAllocBuffers(n)) {
        WinClose(n);   // undoes the half-made open
        return 0;
    }

    CurrentWindow = uint16_t(n);
    uint32_t child = WinCreateChild(n, r);
    if (!child) {
        WinClose(n);   // undoes the half-made open
        return 0;
    }
    w->mdiChild = child;
    WinSetExtra(child, 0, uint32_t(n));
    CurrentWindow = uint16_t(n);
    WinBringToTop(child);
    WinSetFocus(child);
    if (!WinCreateListBox(n)) {
        WinClose(n);   // undoes the half-made open
        return 0;
    }

    if (WinDefPartCount(WinTypeDef(type), WinPartPages) > 0) {
        WinShowPage(n, 1, false);
        w->pageScroll = 1;
    }
    w->currentPage = 1;
    WinControlsCreate(n);
    WinButtonsEnableAll(n);
    WinTitleUpdate(n);
    WinShow(child, PlShow::Show);
    WinUpdate(child);
    return n;
}

// Sets n's caption: the type's title text, and by window kind the
// record's title text and the edit state's text.
void WinTitleUpdate(int n)
{
    assert(WinIsOpen(n));
    static constexpr int StateTexts[6] = {1014, 1015, 1016, 1017, 1022, 1018};
    WindowRec *w = WinTable[n];
    int kind = WinKindOf(n);
    if (kind == 4) return;
    PString title, text;
    GetUiText(title, WinTypeWord(w->windowType, 10));
    if (kind == 1 || kind == 3 || kind == 11) {
        WinTitleRecordText(n, text);
        if (text[0]) {
            PStringAppendC(title, " ");
            PStringAppend(title, text);
        }
    }
    ListFilterTitle(n, title);
    if (kind == 1 || kind == 3 || kind == 11 || kind == 8 || kind == 9) {
        text[0] = 0;
        // A record window that holds no record is a blank new one (the
        // first thing typed starts it), not a view of an empty record.
        int state = w->editState;
        if (kind == 3 && state == 0 && w->recordId == 0 && WinRegisterOf(n) != 0) state = 1;
        if (state < 6) GetUiText(text, StateTexts[state]);
        PStringAppendC(title, ": ");
        PStringAppend(title, text);
    }
    if (w->mdiChild) WinSetTitle(w->mdiChild, PStringView(title));
}
