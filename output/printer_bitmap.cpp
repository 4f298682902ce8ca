// printer_bitmap.cpp - pictures on the printed page.
#include <algorithm>
#include <cstdint>

#include "core/bmp_file.h"
#include "output/output_job.h"
#include "output/printer.h"

// Draws a packed bitmap block into the rectangle c (top, left, bottom,
// right, points from the page origin) on the open page, stretched, or
// with keep 0 as a square of the rectangle's smaller side. False when no
// page is open, there is no block or the block is not a bitmap.
bool PrintBitmapInRect(MemBlock dib, const PackedDecimal c[4], int keep)
{
    if (!dib || !c || !Printer.dc) return false;
    // In 64 bits and clamped: a received rectangle may hold any 32-bit value.
    auto at = [](const PackedDecimal &d, int32_t origin) {
        return int32_t(std::clamp<int64_t>(int64_t(DecToLong(&d)) + origin, INT32_MIN, INT32_MAX));
    };
    int32_t top = at(c[0], OutputJobState.originY), left = at(c[1], OutputJobState.originX);
    int32_t bottom = at(c[2], OutputJobState.originY), right = at(c[3], OutputJobState.originX);
    PlRect rect{ReportToPrinterX(left), ReportToPrinterY(top), ReportToPrinterX(right), ReportToPrinterY(bottom)};
    const uint8_t *bytes = MemLock(dib);
    if (!bytes) return false;
    bool drawn = StretchDibInRect(Printer.dc, rect, bytes, MemSize(dib), keep);
    MemUnlock(dib);
    return drawn;
}
