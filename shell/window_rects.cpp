// window_rects.cpp - resolving the stored rectangles of a window type
// against the area they stand in: the list box, controls, pages, field
// bindings, panes, matrix areas and list headings.
#include <cassert>

#include "core/window_entries.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// Resolves one stored coordinate: >= 0 from the near edge, < 0 from the
// far edge.
static int16_t ResolveCoordinate(int stored, int nearEdge, int farEdge)
{
    return int16_t(stored >= 0 ? nearEdge + stored : farEdge + stored);
}

// Resolves a stored rectangle against an area: a coordinate >= 0 counts
// from the area's left or top edge, a negative one from its right or
// bottom edge (exclusive, like every right and bottom edge here).
void WinRectResolve(const MacRect *stored, const MacRect *area, MacRect *out)
{
    MacRect r;
    r.top = ResolveCoordinate(stored->top, area->top, area->bottom);
    r.left = ResolveCoordinate(stored->left, area->left, area->right);
    r.bottom = ResolveCoordinate(stored->bottom, area->top, area->bottom);
    r.right = ResolveCoordinate(stored->right, area->left, area->right);
    *out = r;
}

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
    WinRectResolve(&stored, &client, out);
    return true;
}

// The rectangle of control i of n's control list, resolved against n's
// client area: a negative top or left counts from the bottom or right
// edge, a negative bottom or right from that edge plus 2; kind 4 moves
// the right edge 6 to the left, and kind 11 moves control 0 down by 32.
// An empty rectangle when there is no control i.
void WinFieldRect(int n, int control, MacRect *out)
{
    *out = MacRect{};
    const uint8_t *entry = WinControlByIndex(n, control);
    if (!entry) return;
    MacRect area;
    WindowClientRect(n, &area);
    int top = int16_t(DefU16(entry + ControlEntry::Rect)), left = int16_t(DefU16(entry + ControlEntry::Rect + 2));
    int bottom = int16_t(DefU16(entry + ControlEntry::Rect + 4)), right = int16_t(DefU16(entry + ControlEntry::Rect + 6));
    MacRect r;
    r.top = int16_t(top >= 0 ? area.top + top : area.bottom + top);
    r.left = int16_t(left >= 0 ? area.left + left : area.right + left);
    r.bottom = int16_t(bottom >= 0 ? area.top + bottom : area.bottom + bottom + 2);
    r.right = int16_t(right >= 0 ? area.left + right : area.right + right + 2);
    int kind = WinKindOf(n);
    if (kind == 4) r.right = int16_t(r.right - 6);
    if (kind == 11 && control == 0) r.top = int16_t(r.top + 32);
    *out = r;
}

// Resolves a stored rectangle against an area by the element's rule;
// resolves nothing here: the output is an empty rectangle.
void RectResolveBy(ResolveRule rule, const MacRect *stored, const MacRect *area, MacRect *out) { *out = MacRect{}; }

// Resolves a stored x against a rectangle; 0 here.
int RectXResolve(const MacRect *r, int x) { return 0; }

// Resolves a stored y against a rectangle; 0 here.
int RectYResolve(const MacRect *r, int y) { return 0; }

// True when page `page` of n is shown; no page is here.
bool WinPageShown(int n, int page) { return false; }

// The area of page `page` of n; an empty rectangle here.
void WinPageRect(int n, int page, MacRect *out) { *out = MacRect{}; }

// The rectangle of a data-field binding of n; an empty rectangle here.
void WinBindingRect(int n, const uint8_t *binding, MacRect *out) { *out = MacRect{}; }

// The rectangle of list pane `pane` of n cut to whole rows; an empty rectangle here.
void WinColumnRect(int n, int pane, MacRect *out) { *out = MacRect{}; }

// The rectangle of matrix area `area` of n cut to whole rows; an empty rectangle here.
void MatrixColumnRect(int n, int area, MacRect *out) { *out = MacRect{}; }

// The heading rectangle of list column `column` of n; an empty rectangle here.
void ListColumnHeadRect(int n, int column, MacRect *out) { *out = MacRect{}; }
