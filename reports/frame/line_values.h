// line_values.h - the values a report line writes: an amount, stored as
// a field's bytes and formatted by a field type as the devices format
// every value, and a record's text field.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "output/devices/report_output.h"

// amount at x formatted by field type `type`; align 0 left, non-zero
// right (the value goes to the device as given); a non-zero style
// underlines.
inline void RepAmountAt(int x, const PackedDecimal *amount, int type = FtAmount2, int align = -1, int style = 0) {
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, *amount);
    RepValueFmt(x, 0, slot, type, align, style);
}

// The text field of record at `at` (at most max characters) at x.
inline void RepTextField(int x, const uint8_t *record, uint32_t at, int max, int style = 0, int align = 0) {
    uint8_t text[256];
    GetPString(record, at, max, text);
    RepTextEx(x, -1, 0, align, style, text);
}
