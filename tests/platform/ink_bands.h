// ink_bands.h - the lines of text a window shows, read from its pixels as
// a user sees them: the bands of rows that hold ink.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/draw.h"
#include "platform/window.h"

// The bands of rows of window win, top to bottom, that hold ink (anything
// but the white of a field), as [first, last] rows.
inline std::vector<std::pair<int, int>> InkBands(uint32_t win)
{
    PlRect c = WinClientRect(win);
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < c.bottom; y++) {
        bool ink = false;
        for (int x = 0; x < c.right && !ink; x++) ink = WinClientPixel(win, x, y) != kPlWhite;
        if (!ink) continue;
        if (!bands.empty() && bands.back().second == y - 1) bands.back().second = y;
        else bands.push_back({y, y});
    }
    return bands;
}
