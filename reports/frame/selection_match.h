// selection_match.h - whether a record passes a code or text that a
// report's selection may give: an empty selection admits every record.
#pragma once

#include <cstdint>

#include "core/field_access.h"
#include "core/pstring.h"

// True when want is empty or equals the text field f of record.
template <int N>
bool TextFieldAdmits(const uint8_t *want, const uint8_t *record, TextField<N> f) {
    if (want[0] == 0) return true;
    PString own;
    GetText(record, f, own);
    return PStringEqual(own, want);
}
