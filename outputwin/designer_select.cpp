// designer_select.cpp - the designer's selection: the 16-bit row numbers
// in the window's designerSelection in the order they were chosen, their
// grab marks, and the frames drawn while a selection is dragged.
#include <cassert>

#include "core/field_access.h"
#include "output/layer_operations.h"
#include "outputwin/designer.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/window_table.h"

namespace {

constexpr int MarkBefore = 2, MarkAfter = 3;

// Inverts the grab marks of item n of w, clipped to w's content.
void ToggleMarks(int w, int n)
{
    MacRect r;
    if (!DesignerItemRect(w, n, &r)) return;
    PortScope port(w);
    int clip = ClipToRect(w, &WinTable[w]->contentRect);
    DesignerInvertMarks(&r);
    RestoreClip(w, clip);
}

// Appends n to w's selection; false when memory cannot be had.
bool Append(int w, int n)
{
    MemBlock &list = WinTable[w]->designerSelection;
    uint32_t size = MemIsValid(list) ? MemSize(list) : 0;
    if (!MemIsValid(list)) {
        list = MemAlloc(2);
        if (!MemIsValid(list)) return false;
    } else if (!MemRealloc(&list, size + 2)) {
        return false;
    }
    uint8_t *p = MemLock(list);
    if (!p) return false;
    PutU16(p, size, uint16_t(n));
    MemUnlock(list);
    return true;
}

}  // namespace

int DesignerSelectedCount(int w)
{
    if (!WinIsOpen(w)) return 0;
    MemBlock list = WinTable[w]->designerSelection;
    return MemIsValid(list) ? int(MemSize(list) / 2) : 0;
}

int DesignerSelectedAt(int w, int i)
{
    if (i < 0 || i >= DesignerSelectedCount(w)) return -1;
    MemBlock list = WinTable[w]->designerSelection;
    const uint8_t *p = MemLock(list);
    if (!p) return -1;
    int n = GetU16(p, uint32_t(i) * 2);
    MemUnlock(list);
    return n;
}

bool DesignerHitMark(int32_t point, int x, int y)
{
    MacRect r;
    MakeRect(&r, x - MarkBefore, y - MarkBefore, x + MarkAfter, y + MarkAfter);
    return PtInMacRect(point, &r);
}

void DesignerSelectOnly(int w, int n)
{
    if (!WinIsOpen(w)) return;
    bool keep = DesignerItemSelected(w, uint16_t(n));
    int count = DesignerSelectedCount(w);
    for (int i = 0; i < count; i++) {
        int m = DesignerSelectedAt(w, i);
        if (m != n) ToggleMarks(w, m);
    }
    MemFree(&WinTable[w]->designerSelection);
    if (keep) (void)Append(w, n);
}

void DesignerSelectItem(int w, int n, bool extend)
{
    if (!WinIsOpen(w)) return;
    WinCommitField(w);
    if (!WinIsOpen(w) || n < 0 || n >= DesignerItemCount(w)) return;
    bool selected = DesignerItemSelected(w, uint16_t(n));
    if (!extend) {
        if (!selected) {
            DesignerSelectOnly(w, n);
        } else {
            if (DesignerSelectedCount(w) > 1) DesignerSelectOnly(w, n);
            return;
        }
    }
    if (selected) return;
    if (Append(w, n)) ToggleMarks(w, n);
}

void DesignerClickSelect(int w, const MacRect *r)
{
    assert(r);
    for (int n = 0, count = DesignerItemCount(w); n < count; n++) {
        MacRect item;
        if (!DesignerItemRect(w, n, &item)) continue;
        if (item.left > r->left && item.right < r->right && item.top > r->top && item.bottom < r->bottom)
            DesignerSelectItem(w, n, true);
    }
}

void DesignerDragFrames(int w, int dx, int dy)
{
    if (!WinIsOpen(w)) return;
    DesignerContentRect(w);
    for (int i = 0, count = DesignerSelectedCount(w); i < count; i++) {
        MacRect r;
        if (!DesignerItemRect(w, DesignerSelectedAt(w, i), &r)) continue;
        MakeRect(&r, r.left + dx, r.top + dy, r.right + dx + 1, r.bottom + dy + 1);
        DrawFocusRectIn(w, &r);
    }
}
