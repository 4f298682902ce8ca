// preview_lines.h - a report run into the preview as its reader sees it:
// the body's texts where the preview laid them out, line by line, and the
// places where a text of a line starts before the one left of it ends
// (the preview would then push it onto a line of its own).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "shell/window_table.h"

// A text of the preview's store: its line (report position), its ends in
// pixels as the preview measured it, and what it says.
struct PlacedText {
    int32_t line, left, right;
    std::string text;
};

// The preview window a finished job left open (the job's end lets the
// window go); 0 when none is open.
inline int OpenPreviewWindow() {
    int n = 0;
    for (size_t w = 1; w < WinTable.size(); w++)
        if (PreviewIsOpen(int(w))) n = int(w);
    return n;
}

// The body texts of preview window n (the page header left out), by line
// and from the left.
inline std::vector<PlacedText> PreviewTexts(int n) {
    PreviewLayout(n);
    std::vector<PlacedText> out;
    const uint8_t *rec = WinRecordBuffer(n);
    MemBlock h = GetU32(rec, PreviewWin::Store);
    const uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    const uint8_t *p = used ? MemLock(h) : nullptr;
    if (!p) return out;
    for (uint32_t off = 0; off < used; off += GetU16(p + off, PreviewItemAt::Size)) {
        const uint8_t *item = p + off;
        if (GetU16(item, PreviewItemAt::Kind) != ItemText || GetI32(item, PreviewItemAt::Pos) < 0) continue;
        PlacedText t{GetI32(item, PreviewItemAt::Pos), 0, 0, PStringToStd(item + PreviewItemAt::Text)};
        PreviewItemEdges(n, item, &t.left, &t.right);
        out.push_back(t);
    }
    MemUnlock(h);
    std::stable_sort(out.begin(), out.end(), [](const PlacedText &a, const PlacedText &b) {
        return a.line != b.line ? a.line < b.line : a.left < b.left;
    });
    return out;
}

// Fails the test for each text that starts before the text left of it on
// its line ends.
inline void ExpectNoOverlap(const std::vector<PlacedText> &texts) {
    for (size_t i = 1; i < texts.size(); i++) {
        if (texts[i].line != texts[i - 1].line) continue;
        EXPECT_LT(texts[i - 1].right, texts[i].left)
            << "\"" << texts[i - 1].text << "\" runs into \"" << texts[i].text << "\"";
    }
}
