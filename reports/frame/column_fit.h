// column_fit.h - texts fitted to a report column as the job's device draws
// them. A body places texts on the 480-unit line, but how wide a text is
// depends on the device's font: the preview's screen font takes far more
// of the line than the printer's. A text that runs past its column makes
// the device push the next text of the line onto a line of its own.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"

// The width of text in report units as the job's device draws it: the
// preview in its window's font, the printer in the report font. 0 on the
// devices that place no text by width (files, the memory buffer, the
// character printer). A server measures for the client's device once the
// client told it (ClientDevice), else nothing.
int RepTextUnits(const uint8_t *text);

// True when the job's device draws its lines (the preview, the printer):
// the devices on which room between drawn lines and rules matters.
bool RepDeviceDraws();

// Cuts the PString text so that it takes at most `units` report units on
// the job's device, "..." marking the cut: at the end, or, with keepEnd,
// at the front, the text's end kept (a reference's number). A text that
// fits, or a device that measures nothing, leaves the text as it is.
void RepCutToUnits(uint8_t *text, int units, bool keepEnd = false);

// The report units left free between a text cut to its column and the
// next column's text.
constexpr int RepColumnGap = 6;

// Report position x in report units: the job's column stop x for a stop
// number, else x itself (as the devices place texts).
int RepPositionUnits(int x);

// Where amount, formatted by field type `type` and right-aligned at x,
// begins on the job's device, in report units; x's own position on the
// devices that measure nothing.
int RepAmountStart(int x, const PackedDecimal &amount, int type = FtAmount2);

// Writes the text of at most `width` characters at `offset` of record,
// left-aligned at x and cut to `units` as RepCutToUnits cuts: a name in
// the column before the amounts. A field's descriptor takes the form
// below, which reads the field at its own length.
void RepFieldCut(int x, const uint8_t *record, RawOffset offset, int width, int units);
template <int N>
inline void RepFieldCut(int x, const uint8_t *record, TextField<N> f, int units) {
    RepFieldCut(x, record, RawOffset(f.offset), N, units);
}
