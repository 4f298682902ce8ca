// window_controls.cpp - a record window's scroll-bar controls and the
// switching of its pages from its tabs.
//
// Push buttons, check boxes, radio buttons and tabs are drawn by the
// window itself; only the scroll bars of its panes and matrix are real
// controls, and only while their page is shown.
#include <cassert>

#include "core/definitions.h"
#include "core/window_entries.h"
#include "platform/control.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// Destroys the control window of slot i of n, when it has one.
static void SlotControlDestroy(int n, int i)
{
    ControlSlot &slot = WinTable[n]->controls[i];
    if (slot.control && WinIsWindow(slot.control)) WinDestroy(slot.control);
    slot.control = 0;
}

// Creates the scroll bar of control i of n at its rectangle, starting at
// the entry's start value with the entry's maximum.
static void ScrollBarCreate(int n, int i, const uint8_t *entry)
{
    WindowRec *w = WinTable[n];
    ControlSlot &slot = w->controls[i];
    MacRect r;
    WinFieldRect(n, i, &r);
    int16_t start = int16_t(DefU16(entry + ControlEntry::Value));
    slot.position = slot.minimum = start;
    slot.maximum = int16_t(DefU16(entry + ControlEntry::Maximum));
    PlRect pr;
    RectToWin(&r, &pr);
    uint32_t bar = WinCreate("ScrollBar", "", PlStyle::Child | PlStyle::Visible, pr, w->mdiChild, 0, 0);
    if (!bar) return;
    slot.control = bar;
    ScrollBarSetRange(bar, slot.minimum, slot.maximum, false);
    ScrollBarSetPos(bar, slot.position, true);
}

// Creates n's controls again for the pages shown: a control on a hidden
// page has no control window; push buttons, check boxes and radio buttons
// are only marked drawn; a scroll bar gets its control window.
void WinControlsCreate(int n)
{
    if (!WinIsOpen(n)) return;
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *entry = WinControlByIndex(n, i);
        if (!entry) break;
        ControlSlot &slot = WinTable[n]->controls[i];
        slot.selection = -1;
        SlotControlDestroy(n, i);
        if (!WinPageShown(n, DefU16(entry + ControlEntry::Page))) continue;
        int kind = DefU16(entry + ControlEntry::Kind);
        if (kind == CtlPush || kind == CtlCheck || kind == CtlRadio)
            slot.drawn = 1;
        else if (kind == CtlScroll)
            ScrollBarCreate(n, i, entry);
    }
}

// Switches n to page `page`: the field under edit is committed, the page
// is shown and, when asked, the focus moves into it. Nothing when the
// page is the current one already, or when the field under edit refuses
// what was typed: the user stays in it, the text as typed.
void WinPageSwitch(int n, int page, bool focus)
{
    if (!WinIsOpen(n) || page == WinTable[n]->currentPage || WinTypedTextRefused(n)) return;
    int saved;
    GetPortWindow(&saved);
    WinCommitField(n);
    if (WinIsOpen(n)) {
        if (focus)
            WinChoosePage(n, page);
        else
            WinShowPage(n, page, true);
    }
    RestorePortWindow(saved);
}

// Shows page `page` of n with the focus moved into it (a tab's shortcut).
void WinPageSwitchFocus(int n, int page) { WinPageSwitch(n, page, true); }
