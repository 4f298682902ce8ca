// window_controls_draw.cpp - drawing a record window's controls (push
// buttons, page and matrix-column tabs, check boxes and radio buttons)
// and the shortcut marks of their labels.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "platform/icon.h"
#include "shell/draw_port.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// A check box's or radio button's icon stands with its box at the
// control's top-left corner (our icons keep the box around their centre),
// and its label starts 19 pixels right of the control's left edge.
constexpr int BoxIconDx = 8, BoxIconDy = 8, BoxLabelDx = 19, BoxLabelDy = 13;

// The u16 value word of control entry e in n's record; 0 when it has no
// offset or the word lies outside the record.
int ControlValue(int n, const uint8_t *e)
{
    uint16_t offset = DefU16(e + ControlEntry::Offset);
    const uint8_t *record = WinRecordBuffer(n);
    if (offset == NoEntryOffset || !record) return 0;
    if (uint32_t(offset) + 2 > MemSize(WinTable[n]->recordHandle)) return 0;
    return GetU16(record, offset);
}

// True when control entry e stands on a shown page of n.
bool ControlShown(int n, const uint8_t *e) { return WinPageShown(n, DefU16(e + ControlEntry::Page)); }

}  // namespace

// Draws the controls of n's shown pages: push buttons with their slot's
// pressed state, page tabs (current on n's page), matrix-column tabs
// (current on n's column page), check boxes and radio buttons from the
// record's value word, with their labels when asked. Scroll bars are
// platform controls and draw themselves. Nothing is drawn for the About
// window while the program starts; afterwards it shows the logo too.
void WinDrawControls(int n, bool labels)
{
    assert(WinIsOpen(n));
    if (WinTypeOf(n) == 18 && StartupFlag) return;
    if (WinTypeOf(n) == 18) DrawLogoBitmap(n);
    UseRegularFont(n);
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *e = WinControlByIndex(n, i);
        if (!e) break;
        if (!ControlShown(n, e)) continue;
        MacRect r;
        WinFieldRect(n, i, &r);
        const uint8_t *label = e + ControlEntry::Label;
        switch (DefU16(e + ControlEntry::Kind)) {
        case CtlPush: PushButtonDraw(n, &r, label, false, WinTable[n]->controls[i].pressed != 0); break;
        case CtlPageTab: PageTabDraw(n, &r, label, false, false, DefU16(e + ControlEntry::Command)); break;
        case CtlMatrixTab: SecondTabDraw(n, &r, label, false, false, DefU16(e + ControlEntry::Value)); break;
        case CtlCheck:
        case CtlRadio: {
            bool check = DefU16(e + ControlEntry::Kind) == CtlCheck;
            int value = ControlValue(n, e);
            int icon = check ? (value ? kIconCheckOn : kIconCheckOff)
                             : (value == DefU16(e + ControlEntry::Value) ? kIconRadioOn : kIconRadioOff);
            DrawIconAt(icon, r.left + BoxIconDx, r.top + BoxIconDy);
            if (labels) {
                UseRegularFontTransparent(n);
                DrawPString(r.left + BoxLabelDx, r.top + BoxLabelDy, label);
            }
            break;
        }
        default: break;   // scroll bars
        }
    }
}

// Draws (red) or erases (white) the underline of each shortcut character
// in the labels of n's controls on shown pages: below the k-th character
// of a check box's or radio button's label, one pixel above the control's
// bottom; of a button's or tab's centred label, 5 pixels above it.
void WinDrawShortcuts(int n, bool show)
{
    assert(WinIsOpen(n));
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    UseRegularFont(n);
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *e = WinControlByIndex(n, i);
        if (!e) break;
        int k = DefU16(e + ControlEntry::Shortcut);
        const uint8_t *label = e + ControlEntry::Label;
        if (k < 1 || k > label[0] || !ControlShown(n, e)) continue;
        int kind = DefU16(e + ControlEntry::Kind);
        if (kind == CtlScroll) continue;
        PString part;
        memcpy(part, label, size_t(k));
        part[0] = uint8_t(k - 1);
        int from = PStringWidth(part);
        part[0] = uint8_t(k);
        part[k] = label[k];
        int to = PStringWidth(part);
        MacRect r;
        WinFieldRect(n, i, &r);
        int x, y;
        if (kind == CtlCheck || kind == CtlRadio) {
            x = r.left + BoxLabelDx - 1;
            y = r.bottom - 1;
        } else {
            int width = PStringWidth(label);
            x = (r.left + r.right) / 2 - width / 2;
            y = r.bottom - 5;
        }
        MoveTo(x + from, y);
        MarkLineTo(x + to - 1, y, show);
    }
    RestorePortWindow(saved);
}
