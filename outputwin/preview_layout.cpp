// preview_layout.cpp - the preview's layout of its store and its page index.
//
// Layout walks the report items (texts and rules at pos 0 and below the
// header) in store order with a running laid-out position: it follows the
// items' report positions, moves a text that would overprint the text
// before it on its line one line height lower (and every later item with
// it), and records where each new laid-out position starts in the page
// index (PreviewWin::Index): 8-byte entries of a layoutPos and the store
// offset of its first item, in store order and never decreasing, so the
// drawing, search and click find their first item by binary search.
// Header items (pos below 0) and form elements keep their own positions
// and are not indexed: they are drawn by walks of their own.
#include <cassert>
#include <climits>

#include "core/field_access.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "shell/draw_port.h"
#include "shell/window_table.h"

namespace {

// Whether the item at p is laid out and indexed: a text or rule of the body.
bool IsIndexed(const uint8_t *p)
{
    uint16_t kind = GetU16(p, PreviewItemAt::Kind);
    return kind <= ItemRule && GetI32(p, PreviewItemAt::Pos) >= 0;
}

// Appends the index entry (layoutPos, offset); false when the index cannot grow.
bool IndexAppend(uint8_t *rec, int32_t layoutPos, uint32_t offset)
{
    MemBlock h = GetU32(rec, PreviewWin::Index);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::IndexUsed));
    bool room = PreviewReserve(&h, used, PreviewIndexEntry);
    PutU32(rec, PreviewWin::Index, h);
    if (!room) return false;
    uint8_t *p = MemLock(h);
    if (!p) return false;
    PutI32(p, used, layoutPos);
    PutI32(p, used + 4, int32_t(offset));
    MemUnlock(h);
    PutI32(rec, PreviewWin::IndexUsed, int32_t(used + PreviewIndexEntry));
    return true;
}

}  // namespace

// A report position in content pixels: through the window's position
// table, then the left margin.
int32_t PreviewMapX(int n, int32_t x)
{
    const uint8_t *rec = WinRecordBuffer(n);
    PositionTable t;
    for (size_t i = 0; i < t.size(); i++) t[i] = GetU16(rec, PreviewWin::Positions + 2 * i);
    return DeviceScaleSize(t, x) + PreviewLeftMargin;
}

// The ends of a measured text item: from its mapped x to the right, or
// ending there when right-aligned.
void PreviewItemEdges(int n, const uint8_t *p, int32_t *left, int32_t *right)
{
    int32_t at = PreviewMapX(n, GetU16(p, PreviewItemAt::X));
    int32_t width = GetU16(p, PreviewItemAt::Measured);
    if (width == 65535) width = 0;
    if (p[PreviewItemAt::Align]) {
        *left = at - width;
        *right = at;
    } else {
        *left = at;
        *right = at + width;
    }
}

// The store offset of the first indexed item whose layoutPos is at least
// pos (binary search of the index); the used length when none is.
uint32_t PreviewIndexSeek(int n, int32_t pos)
{
    const uint8_t *rec = WinRecordBuffer(n);
    uint32_t storeUsed = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    MemBlock h = GetU32(rec, PreviewWin::Index);
    uint32_t count = uint32_t(GetI32(rec, PreviewWin::IndexUsed)) / PreviewIndexEntry;
    const uint8_t *p = count ? MemLock(h) : nullptr;
    if (!p) return storeUsed;
    uint32_t lo = 0, hi = count;
    while (lo < hi) {
        uint32_t mid = lo + (hi - lo) / 2;
        if (GetI32(p, mid * PreviewIndexEntry) < pos)
            lo = mid + 1;
        else
            hi = mid;
    }
    uint32_t offset = lo < count ? uint32_t(GetI32(p, lo * PreviewIndexEntry + 4)) : storeUsed;
    MemUnlock(h);
    return offset;
}

// Lays out window n's store: measures texts once in the window's font,
// gives a left-aligned text that would run into the next text of its
// line (the screen's face is wider than the printer's, for which the page
// was laid out) the room up to a blank before it, where it is drawn
// narrower (PreviewDrawFrom), moves texts that still overlap down by
// their line height, rebuilds the page index and stores the total height. An index that cannot grow
// stops the job (text 1511); what is indexed so far is still drawn.
void PreviewLayout(int n)
{
    if (!PreviewIsOpen(n)) return;
    uint8_t *rec = WinRecordBuffer(n);
    PutI32(rec, PreviewWin::IndexUsed, 0);
    MemBlock store = GetU32(rec, PreviewWin::Store);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    int32_t height = int32_t(GetI16(rec, PreviewWin::FormPages)) * (FormPageHeight + FormPageGap);
    uint8_t *base = used ? MemLock(store) : nullptr;
    if (!base) {
        PutI32(rec, PreviewWin::TotalHeight, height);
        return;
    }
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    UseRegularFontTransparent(n);
    bool first = true, indexing = true;
    int32_t running = 0, prevPos = 0, prevHeight = 0, lineRight = INT32_MIN, lastIndexed = 0;
    uint8_t *lineLast = nullptr;   // the line's last text, while it may give room
    for (uint32_t off = 0; off < used;) {
        uint8_t *p = base + off;
        uint32_t size = GetU16(p, PreviewItemAt::Size);
        assert(size >= PreviewItemAt::Text + 2 && off + size <= used);
        if (!IsIndexed(p)) {
            PutI32(p, PreviewItemAt::LayoutPos, GetI32(p, PreviewItemAt::Pos));
            off += size;
            continue;
        }
        int32_t pos = GetI32(p, PreviewItemAt::Pos);
        if (first) {
            running = pos;
        } else if (pos != prevPos) {
            // A position lower than the last one is a new page (the job's
            // line position went back to 0): it goes on below, never over it.
            running += pos > prevPos ? pos - prevPos : prevHeight + pos;
            lineRight = INT32_MIN;
            lineLast = nullptr;
        }
        if (GetU16(p, PreviewItemAt::Kind) == ItemText) {
            if (GetU16(p, PreviewItemAt::Measured) == 65535) {
                int w = PStringWidth(p + PreviewItemAt::Text);
                PutU16(p, PreviewItemAt::Measured, uint16_t(w < 0 ? 0 : w > 65534 ? 65534 : w));
            }
            int32_t left, right;
            PreviewItemEdges(n, p, &left, &right);
            if (lineLast && left < lineRight + PreviewTextGap) {
                int32_t lastLeft, lastRight;
                PreviewItemEdges(n, lineLast, &lastLeft, &lastRight);
                const int32_t room = left - PreviewTextGap - lastLeft, width = lastRight - lastLeft;
                if (room >= width * 3 / 4 && room < width) {
                    PutU16(lineLast, PreviewItemAt::Measured, uint16_t(room));
                    lineRight = lastLeft + room;
                }
            }
            if (lineRight != INT32_MIN && left < lineRight) running += GetU16(p, PreviewItemAt::LineHeight);
            lineRight = right;
            lineLast = p[PreviewItemAt::Align] ? nullptr : p;
        }
        prevPos = pos;
        prevHeight = GetU16(p, PreviewItemAt::LineHeight);
        if (GetI32(p, PreviewItemAt::LayoutPos) != running) PutI32(p, PreviewItemAt::LayoutPos, running);
        if (indexing && (first || running != lastIndexed)) {
            if (!IndexAppend(rec, running, off)) {
                indexing = false;
                ShowTextMessage(Texts::OutputFull);
                RepStopped = 1;
            }
            lastIndexed = running;
        }
        first = false;
        if (running > height) height = running;
        off += size;
    }
    MemUnlock(store);
    RestorePortWindow(saved);
    PutI32(rec, PreviewWin::TotalHeight, height);
}
