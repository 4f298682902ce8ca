// window_rects.cpp - resolving the stored rectangles of a window type
// against the area they stand in.
#include "shell/window_table.h"

#include <cassert>

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
