// road_preview_steps.cpp - what a road does and reads in a preview: the
// scroll bar dragged to the end, the texts the content shows whole, and
// two texts of a line that touch.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "platform/control.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/window_drawing.h"
#include "shell/window_table.h"

namespace {

// A failure of the step, with its reason; ends the road.
bool Fail(const std::string &why)
{
    ADD_FAILURE() << why;
    return false;
}

}  // namespace

void RoadTest::DragScrollBarToEnd()
{
    Do("drag the scroll bar's thumb to the end", [this] {
        const int n = Active();
        uint32_t bar = 0;
        for (int i = 0; n && !bar && i < ControlSlotCount; i++)
            if (uint32_t c = WinTable[n]->controls[i].control; c && WinClassName(c) == "ScrollBar") bar = c;
        if (!bar) return Fail("\"" + ActiveTitle() + "\" has no scroll bar");
        const PlRect thumb = ScrollBarThumbRect(bar), track = WinClientRect(bar);
        if (PlRectEmpty(thumb)) return Fail("the scroll bar of \"" + ActiveTitle() + "\" has no thumb to drag");
        const int x = (thumb.left + thumb.right) / 2;
        const PlPoint from = WinClientToScreen(bar, PlPoint{x, (thumb.top + thumb.bottom) / 2});
        const PlPoint to = WinClientToScreen(bar, PlPoint{x, track.bottom + 40});
        MsgInputMouse(from, 0, false);
        MsgInputMouse(from, 1, true);
        MsgInputMouse(to, 0, false);
        MsgInputMouse(to, 1, false);
        return true;
    });
}

std::vector<std::string> RoadTest::PreviewTextsShown()
{
    std::vector<std::string> shown;
    const int n = Active();
    if (!n || !PreviewIsOpen(n)) return shown;
    WinPaintFrame(n);
    WinPaintContents(n);
    const uint32_t child = WinTable[n]->mdiChild;
    const MacRect c = WinTable[n]->contentRect;
    // The content's bottom marks take its last three pixels.
    const int top = c.top, bottom = c.bottom - 3;
    const int32_t y0 = c.top + PreviewTopOffset - WinTable[n]->paneScroll;
    const uint8_t *rec = WinRecordBuffer(n);
    MemBlock store = GetU32(rec, PreviewWin::Store);
    const uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    const uint8_t *base = used ? MemLock(store) : nullptr;
    for (uint32_t off = 0; base && off < used; off += GetU16(base + off, PreviewItemAt::Size)) {
        const uint8_t *p = base + off;
        if (GetU16(p, PreviewItemAt::Kind) != ItemText || GetI32(p, PreviewItemAt::Pos) < 0) continue;
        // A line of the regular face: its capitals 10 above the baseline,
        // its descenders 3 below.
        const int y = y0 + GetI32(p, PreviewItemAt::LayoutPos);
        int32_t left, right;
        PreviewItemEdges(n, p, &left, &right);
        if (y - 10 < top || y + 3 > bottom || left >= right) continue;
        bool ink = false;
        for (int yy = y - 10; yy <= y && !ink; yy++)
            for (int x = c.left + left; x < c.left + right && !ink; x++) {
                const uint32_t px = WinClientPixel(child, x, yy);
                ink = ((px >> 16 & 0xFF) + (px >> 8 & 0xFF) + (px & 0xFF)) < 3 * 128;
            }
        if (ink) shown.push_back(PStringToStd(p + PreviewItemAt::Text));
    }
    if (base) MemUnlock(store);
    return shown;
}

std::string RoadTest::PreviewTextsTouch()
{
    const int n = Active();
    if (!n || !PreviewIsOpen(n)) return "(no preview)";
    WinPaintFrame(n);
    WinPaintContents(n);
    const uint32_t child = WinTable[n]->mdiChild;
    const MacRect c = WinTable[n]->contentRect;
    const int32_t y0 = c.top + PreviewTopOffset - WinTable[n]->paneScroll;
    const uint8_t *rec = WinRecordBuffer(n);
    MemBlock store = GetU32(rec, PreviewWin::Store);
    const uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    const uint8_t *base = used ? MemLock(store) : nullptr;
    // The texts shown, by their baseline: their left edge, right edge and text.
    struct Shown {
        int32_t left, right;
        std::string text;
    };
    std::map<int32_t, std::vector<Shown>> lines;
    for (uint32_t off = 0; base && off < used; off += GetU16(base + off, PreviewItemAt::Size)) {
        const uint8_t *p = base + off;
        // A form's text stands in its box, its baseline three above the box's bottom.
        if (GetU16(p, PreviewItemAt::Kind) == ItemFormText) {
            const int32_t top = y0 + GetI32(p, PreviewItemAt::Pos), y = top + GetU16(p, PreviewItemAt::LineHeight) - 3;
            if (y - 10 < c.top || y + 3 > c.bottom - 3) continue;
            lines[y].push_back({c.left + PreviewLeftMargin + int16_t(GetU16(p, PreviewItemAt::X)),
                                c.left + PreviewLeftMargin + int16_t(GetU16(p, PreviewItemAt::Font)),
                                PStringToStd(p + PreviewItemAt::Text)});
            continue;
        }
        if (GetU16(p, PreviewItemAt::Kind) != ItemText || GetI32(p, PreviewItemAt::Pos) < 0) continue;
        const int32_t y = y0 + GetI32(p, PreviewItemAt::LayoutPos);
        if (y - 10 < c.top || y + 3 > c.bottom - 3) continue;
        int32_t left, right;
        PreviewItemEdges(n, p, &left, &right);
        lines[y].push_back({c.left + left, c.left + right, PStringToStd(p + PreviewItemAt::Text)});
    }
    if (base) MemUnlock(store);
    auto ink = [child](int x, int y) {
        const uint32_t px = WinClientPixel(child, x, y);
        return ((px >> 16 & 0xFF) + (px >> 8 & 0xFF) + (px & 0xFF)) < 3 * 128;
    };
    for (auto &[y, texts] : lines) {
        std::sort(texts.begin(), texts.end(), [](const Shown &a, const Shown &b) { return a.left < b.left; });
        for (size_t i = 0; i + 1 < texts.size(); i++) {
            const Shown &a = texts[i], &b = texts[i + 1];
            if (a.text.empty() || b.text.empty()) continue;
            // Between them a blank's room: two columns at least without
            // ink before the second's first (texts are drawn from a pixel
            // left of their place).
            auto column = [&](int x) {
                for (int yy = y - 10; yy <= y + 2; yy++)
                    if (ink(x, yy)) return true;
                return false;
            };
            int first = b.left - 1;
            while (first < b.right && !column(first)) first++;
            int blank = 0;
            for (int x = first - 1; x >= a.left && !column(x); x--) blank++;
            if (blank < 2 && first < b.right) return a.text + " | " + b.text;
        }
    }
    return {};
}

