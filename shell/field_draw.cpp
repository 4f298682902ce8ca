// field_draw.cpp - drawing field values, list cells and field frames,
// and growing the edit rectangle to its text.
//
// A field's rectangle is 16 pixels high with the text's base line 12
// below its top. Drawing goes through the drawing port (draw_port.h); each
// routine makes its window the port and gives the port back after.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "core/window_entries.h"
#include "platform/icon.h"
#include "recordwin/record_windows.h"
#include "shell/draw_port.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// The text a field of the type shows: a window-supplied text for type
// 28 (a data field's or a cell's by F), else the value formatted.
void ValueText(int n, const uint8_t *value, int type, int length, int F, uint8_t *text)
{
    text[0] = 0;
    if (type == FtSpare28) {
        int first, cells;
        MatrixGeometry(n, &first, &cells);
        if (first > 0 && F >= first)
            MatrixCellDisplayText(n, F, text);
        else
            WinFieldDisplayText(n, F, text);
        return;
    }
    FieldFormat(value, uint16_t(type), length, text);
}

// True when a formatted value is the one flag character a set mark
// (18, also 1 and 118) formats to: it is drawn as the check icon, as no
// font has a picture for that control character.
bool IsCheckMarkText(const uint8_t *text) { return text[0] == 1 && text[1] == 0x12; }

// The two-pixel underline over the width of a field at its bottom.
void Underline(const MacRect *r)
{
    SetPenMode(4);
    for (int y = r->bottom - 2; y <= r->bottom - 1; y++) {
        MoveTo(r->left, y);
        LineToMode(r->right, y);
    }
}

}  // namespace

// Draws a field's value in r: the text at the base line top + 12, left
// or right aligned, over a white (selected: black) field with a grey
// underline. A text wider than the field is cut at the field's edges,
// with a red mark on the side that was cut. A set list mark is the check
// icon at the field's left. A struck value gets a red line through it.
// Nothing for the field under edit.
void WinDrawFieldValue(int n, const uint8_t *value, int type, int length, int F, const MacRect *r, bool right,
                       bool selected, bool struck)
{
    assert(WinIsOpen(n));
    if (F > 0 && F == WinTable[n]->currentField && WinTable[n]->editControl) return;
    uint8_t text[256];
    ValueText(n, value, type, length, F, text);
    PortScope port(n);
    FillRectMode(r, selected ? FillBlack : FillWhite);
    if (type == FtMark && IsCheckMarkText(text)) {
        DrawIconAt(selected ? kIconCellFlagSelected : kIconCellFlag, r->left + 8, (r->top + r->bottom) / 2);
        Underline(r);
    } else if (text[0] != 0) {
        int clip = ClipToRect(n, r);
        SetTextStyle(n, selected ? 1 : 0, false);
        int width = PStringWidth(text), room = r->right - r->left - 1;
        int x = right ? r->right - width : r->left + 1;
        DrawPString(x, r->top + 12, text);
        SetTextNormal();
        RestoreClip(n, clip);
        if (width > room) {
            int mid = (r->top + r->bottom) / 2;
            if (right)
                DrawIconAt(kIconOverflowLeft, r->left + 4, mid);
            else
                DrawIconAt(kIconOverflowRight, r->right - 4, mid);
        }
        Underline(r);
    }
    if (struck) {
        MoveTo(r->left + 1, r->top + 7);
        RedLineTo(r->right, r->top + 7);
    }
}

// Draws a list cell's value in r, whose top lies 10 (row heights up to
// 14) or 12 above the text's base line. A flag value (type 18, or a type-1
// text of one control character) of 18 is a check icon; right-aligned
// cells end at the right edge.
void ListCellDraw(int n, const uint8_t *value, int type, int length, const MacRect *r, bool right, bool selected)
{
    assert(WinIsOpen(n));
    int mark = -1;
    if (type == FtMark) {
        uint16_t v;
        memcpy(&v, value, 2);
        mark = v;
    } else if (type == FtText && value[0] == 1 && value[1] < 32) {
        mark = value[1];
    }
    PortScope port(n);
    FillRectMode(r, selected ? FillBlack : FillWhite);
    if (mark == 18) {
        const int icon = selected ? kIconCellFlagSelected : kIconCellFlag;
        DrawIconAt(icon, (r->left + r->right) / 2, (r->top + r->bottom) / 2);
        return;
    }
    uint8_t text[256];
    if (mark >= 0) {
        text[0] = 1;
        text[1] = uint8_t(mark);
    } else {
        FieldFormat(value, uint16_t(type), length, text);
    }
    int above = WinTable[n]->listRowHeight > 14 ? 12 : 10;
    int clip = ClipToRect(n, r);
    SetTextStyle(n, selected ? 1 : 0, false);
    DrawPString(right ? r->right - PStringWidth(text) : r->left + 1, r->top + above, text);
    SetTextNormal();
    RestoreClip(n, clip);
}

// Draws the sunken frame of every data field of n on a shown page: grey
// above and left, white inside, light grey below and right.
void WinDrawFieldFrames(int n)
{
    assert(WinIsOpen(n));
    for (int i = 0; i < WinDefCount(n, WinPartDataFields); i++) {
        const uint8_t *field = WinDefEntry(n, WinPartDataFields, i);
        if (!WinPageShown(n, DefU16(field + FieldEntry::Page))) continue;
        MacRect R;
        WinBindingRect(n, field, &R);
        PortLine(n, R.left - 2, R.top - 1, R.right + 2, R.top - 1, 5);
        PortLine(n, R.left - 3, R.top - 1, R.left - 3, R.bottom - 1, 5);
        PortLine(n, R.left - 2, R.top, R.left - 2, R.bottom - 1, 1);
        PortLine(n, R.left - 1, R.top, R.left - 1, R.bottom - 1, 1);
        PortLine(n, R.left - 2, R.bottom, R.right + 1, R.bottom, 4);
        PortLine(n, R.right + 2, R.top, R.right + 2, R.bottom, 4);
        PortLine(n, R.right + 1, R.top, R.right + 1, R.bottom - 1, 1);
        PortLine(n, R.right, R.top, R.right, R.bottom - 1, 1);
    }
}

namespace {

// The left edge, less a gap, of the nearest control or data field of n
// on a shown page that stands to the right of r on its line (their
// heights overlap); `limit` when none does.
int RoomRightOf(int n, const MacRect &r, int limit)
{
    constexpr int Gap = 4;
    auto take = [&](const MacRect &o) {
        if (o.left >= r.right && o.top < r.bottom && o.bottom > r.top) limit = std::min(limit, o.left - Gap);
    };
    for (int i = 0; i < WinDefCount(n, WinPartControls); i++) {
        const uint8_t *e = WinControlByIndex(n, i);
        if (!e || !WinPageShown(n, DefU16(e + ControlEntry::Page))) continue;
        MacRect o;
        WinFieldRect(n, i, &o);
        take(o);
    }
    for (int i = 0; i < WinDefCount(n, WinPartDataFields); i++) {
        const uint8_t *e = WinDefEntry(n, WinPartDataFields, i);
        if (!WinPageShown(n, DefU16(e + FieldEntry::Page))) continue;
        MacRect o;
        WinBindingRect(n, e, &o);
        take(o);
    }
    return limit;
}

}  // namespace

// Grows the edit rectangle r to a text wider than r less 4: its right
// edge goes to left + width + 4, then a cell's rectangle shifts left to
// end inside the matrix area, never past that area's left edge, and ends
// there at the latest. A data field's rectangle never shifts left of the
// field, where its label stands: it ends at the client area's edge, or
// before the first control or field to its right (a page's buttons stay
// in sight), and the control scrolls a text longer than that. Notes in n
// that the rectangle moved.
void EditRectGrow(int n, const uint8_t *text, MacRect *r, bool inMatrix)
{
    assert(WinIsOpen(n));
    int width = DcPStringWidth(nullptr, text);
    if (width <= r->right - r->left - 4) return;
    MacRect area;
    if (inMatrix)
        MatrixColumnRect(n, 0, &area);
    else
        WindowClientRect(n, &area);
    if (!inMatrix) {
        area.left = std::max(area.left, r->left);
        area.right = int16_t(std::max<int>(r->right, RoomRightOf(n, *r, area.right)));
    }
    int right = r->left + width + 4, left = r->left;
    if (right > area.right) {
        int shift = std::min(right - area.right, std::max(0, left - int(area.left)));
        left -= shift;
        right -= shift;
        right = std::min<int>(right, area.right);
    }
    r->left = int16_t(left);
    r->right = int16_t(right);
    WinTable[n]->editRectMoved = 1;
}
