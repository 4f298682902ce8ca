// window_rects.cpp - resolving the stored rectangles of a window type
// against the area they stand in: the list box, controls, pages, field
// bindings, panes, matrix areas and list headings.
//
// A stored coordinate >= 0 counts from the near edge of its area (left,
// top), a negative one from the far edge (right, bottom). The elements
// differ only in what a far-edge coordinate adds: the rules are
// ResolveRule's (window_layout.h), and every rectangle here goes through
// RectResolveBy so that each element follows exactly one of them.
#include <algorithm>
#include <cassert>

#include "core/window_entries.h"
#include "shell/draw_port.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// Reads the four i16 of a stored rectangle (top, left, bottom, right).
MacRect StoredRect(const uint8_t *p)
{
    return MacRect{int16_t(DefU16(p)), int16_t(DefU16(p + 2)), int16_t(DefU16(p + 4)), int16_t(DefU16(p + 6))};
}

// Resolves one stored coordinate: >= 0 from the near edge, < 0 from the
// far edge plus `extra`.
int16_t ResolveCoordinate(int stored, int nearEdge, int farEdge, int extra)
{
    return int16_t(stored >= 0 ? nearEdge + stored : farEdge + stored + extra);
}

// Cuts r's bottom so that (bottom - top - 1) is a whole number of rows
// of `height`; a rectangle lower than one pixel stays as it is.
void TrimToRows(MacRect *r, int height)
{
    assert(height > 0);
    int inner = r->bottom - r->top - 1;
    if (inner > 0) r->bottom = int16_t(r->bottom - inner % height);
}

// The scroll bar of a matrix or list pane stands right of the trimmed
// area, as high as it: where the sunken frame of the area leaves room.
void ScrollBarBeside(const MacRect *area, MacRect *out)
{
    *out = MacRect{area->top, area->right, area->bottom, int16_t(area->right + 15)};
}

}  // namespace

// Resolves a stored rectangle against an area: a coordinate >= 0 counts
// from the area's left or top edge, a negative one from its right or
// bottom edge (exclusive, like every right and bottom edge here).
void WinRectResolve(const MacRect *stored, const MacRect *area, MacRect *out)
{
    RectResolveBy(ResolveRule::ListBox, stored, area, out);
}

// Resolves a stored rectangle against an area by the element's rule:
// list boxes, texts and icons add nothing to a far-edge coordinate;
// controls add 2 to a negative bottom and right; data fields, matrix
// areas and list panes add 2 to a negative left and right.
void RectResolveBy(ResolveRule rule, const MacRect *stored, const MacRect *area, MacRect *out)
{
    int vertical = rule == ResolveRule::Control ? 2 : 0;
    int leftExtra = rule == ResolveRule::FieldX ? 2 : 0;
    int rightExtra = (rule == ResolveRule::FieldX || rule == ResolveRule::Control) ? 2 : 0;
    MacRect r;
    r.top = ResolveCoordinate(stored->top, area->top, area->bottom, 0);
    r.left = ResolveCoordinate(stored->left, area->left, area->right, leftExtra);
    r.bottom = ResolveCoordinate(stored->bottom, area->top, area->bottom, vertical);
    r.right = ResolveCoordinate(stored->right, area->left, area->right, rightExtra);
    *out = r;
}

// Resolves a stored x against a rectangle: >= 0 from its left edge,
// < 0 from its right edge.
int RectXResolve(const MacRect *r, int x) { return x >= 0 ? r->left + x : r->right + x; }

// Resolves a stored y against a rectangle: >= 0 from its top, < 0 from
// its bottom.
int RectYResolve(const MacRect *r, int y) { return y >= 0 ? r->top + y : r->bottom + y; }

// The list-box rectangle of n's type (words 11..14) resolved against n's
// client area; false when the type has none (bottom word 0).
bool WinListBoxRect(int n, MacRect *out)
{
    assert(WinIsOpen(n));
    int type = WinTypeOf(n);
    MacRect stored{int16_t(WinTypeWord(type, 11)), int16_t(WinTypeWord(type, 12)),
                   int16_t(WinTypeWord(type, 13)), int16_t(WinTypeWord(type, 14))};
    if (stored.bottom == 0) return false;
    MacRect client;
    WindowClientRect(n, &client);
    RectResolveBy(ResolveRule::ListBox, &stored, &client, out);
    return true;
}

// The rectangle of control i of n's control list, resolved against the
// area of the control's page by the control rule. The scroll bar of the
// matrix or of a list pane stands beside that area instead; in kind 4 the
// right edge moves 6 to the left and control 0 starts at the content's
// top, and in kind 11 control 0 moves 32 down.
// An empty rectangle when there is no control i.
void WinFieldRect(int n, int control, MacRect *out)
{
    *out = MacRect{};
    const uint8_t *entry = WinControlByIndex(n, control);
    if (!entry) return;
    MacRect area, stored = StoredRect(entry + ControlEntry::Rect), r;
    WinPageRect(n, DefU16(entry + ControlEntry::Page), &area);
    RectResolveBy(ResolveRule::Control, &stored, &area, &r);
    if (DefU16(entry + ControlEntry::Kind) == CtlScroll) {
        for (int i = 0; i < WinDefCount(n, WinPartMatrixAreas); i++)
            if (DefU16(WinDefEntry(n, WinPartMatrixAreas, i) + MatrixEntry::Control) == control) {
                MatrixColumnRect(n, i, &area);
                ScrollBarBeside(&area, &r);
            }
        for (int i = 0; i < WinDefCount(n, WinPartListPanes); i++)
            if (DefU16(WinDefEntry(n, WinPartListPanes, i) + PaneEntry::Control) == control) {
                WinColumnRect(n, i, &area);
                ScrollBarBeside(&area, &r);
            }
    }
    int kind = WinKindOf(n);
    if (kind == 4) r.right = int16_t(r.right - 6);
    // A preview's bar stands beside its content, below the header band.
    if (kind == 4 && control == 0) r.top = int16_t(WinTable[n]->contentRect.top + 1);
    if (kind == 11 && control == 0) r.top = int16_t(r.top + 32);
    *out = r;
}

// True when page `page` (0..9) of n is shown.
bool WinPageShown(int n, int page)
{
    assert(WinIsOpen(n));
    return page >= 0 && page < PageCount && WinTable[n]->pages[page].shown;
}

// The area of page `page` of n: the client area from the page's offset
// down; a page that does not reach the bottom (last-page flag 0) ends its
// height below that. A page outside the pages part gives the client area.
void WinPageRect(int n, int page, MacRect *out)
{
    assert(WinIsOpen(n));
    WindowClientRect(n, out);
    const uint8_t *entry = WinDefEntry(n, WinPartPages, page);
    if (!entry || page >= PageCount) return;
    out->top = int16_t(out->top + WinTable[n]->pages[page].offset);
    if (DefU16(entry + PageEntry::Last) == 0) out->bottom = int16_t(out->top + DefU16(entry + PageEntry::Height));
}

// The rectangle of a data-field binding of n. Its stored top is the text
// base line: the rectangle runs from 12 above it, 16 high. A binding
// marked as a matrix cell holds an absolute rectangle; the others resolve
// on their page by the field rule. Type 21 has one fixed field.
void WinBindingRect(int n, const uint8_t *binding, MacRect *out)
{
    if (WinTypeOf(n) == 21) {
        *out = MacRect{6, 6, 200, 200};
        return;
    }
    MacRect r = StoredRect(binding + FieldEntry::Rect);
    if (!binding[FieldEntry::CellMark]) {
        MacRect page, stored = r;
        WinPageRect(n, DefU16(binding + FieldEntry::Page), &page);
        RectResolveBy(ResolveRule::FieldX, &stored, &page, &r);
    }
    r.top = int16_t(r.top - 12);
    r.bottom = int16_t(r.top + 16);
    *out = r;
}

// The rectangle of list pane `pane` of n on the client area, cut to whole
// rows of the window's row height; empty when there is no such pane.
void WinColumnRect(int n, int pane, MacRect *out)
{
    *out = MacRect{};
    const uint8_t *entry = WinDefEntry(n, WinPartListPanes, pane);
    if (!entry) return;
    MacRect client, stored = StoredRect(entry + PaneEntry::Rect);
    WindowClientRect(n, &client);
    RectResolveBy(ResolveRule::FieldX, &stored, &client, out);
    TrimToRows(out, std::max<int>(1, WinTable[n]->listRowHeight));
}

// The rectangle of matrix area `area` of n on its page, cut to whole
// matrix rows plus one pixel; empty when there is no such area.
void MatrixColumnRect(int n, int area, MacRect *out)
{
    *out = MacRect{};
    const uint8_t *entry = WinDefEntry(n, WinPartMatrixAreas, area);
    if (!entry) return;
    MacRect page, stored = StoredRect(entry + MatrixEntry::Rect);
    WinPageRect(n, DefU16(entry + MatrixEntry::Page), &page);
    RectResolveBy(ResolveRule::FieldX, &stored, &page, out);
    TrimToRows(out, MatrixRowHeight);
}

// The rectangle around the heading of list column `column` of n: from 2
// left of the heading's x on pane 0 to 2 right of its label, the 16
// pixels above the pane; empty when there is no such column.
void ListColumnHeadRect(int n, int column, MacRect *out)
{
    *out = MacRect{};
    const uint8_t *entry = WinDefEntry(n, WinPartFieldList, column);
    if (!entry) return;
    MacRect pane;
    WinColumnRect(n, 0, &pane);
    int x = RectXResolve(&pane, int16_t(DefU16(entry + ListColEntry::HeadX)));
    int width = DcPStringWidth(nullptr, entry + ListColEntry::Label);
    *out = MacRect{int16_t(pane.top - 16), int16_t(x - 2), pane.top, int16_t(x + width + 2)};
}
