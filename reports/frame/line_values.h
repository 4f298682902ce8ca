// line_values.h - the values a report line writes: an amount, stored as
// a field's bytes and formatted by a field type as the devices format
// every value, and a record's text field.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_desc.h"
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

// The text field at `at` of record (at most max characters) at x: an
// offset that is no field of the interface file. A field's descriptor
// does not reach this form; it takes the ones below.
inline void RepTextField(int x, const uint8_t *record, RawOffset at, int max, int style = 0, int align = 0) {
    uint8_t text[256];
    GetPString(record, at, max, text);
    RepTextEx(x, -1, 0, align, style, text);
}

// The text field f of record, at its own length, at x. Style and align
// come both or not at all, so a length written out of habit as the
// fourth argument does not compile as a style.
template <int N>
inline void RepTextField(int x, const uint8_t *record, TextField<N> f) {
    RepTextField(x, record, RawOffset(f.offset), N);
}
template <int N>
inline void RepTextField(int x, const uint8_t *record, TextField<N> f, int style, int align) {
    RepTextField(x, record, RawOffset(f.offset), N, style, align);
}

// At most max characters of the text field f, on purpose shorter than
// the field (max is taken within 0..N).
template <int N>
inline void RepTextFieldPrefix(int x, const uint8_t *record, TextField<N> f, int max, int style = 0, int align = 0) {
    RepTextField(x, record, RawOffset(f.offset), max < N ? max : N, style, align);
}
