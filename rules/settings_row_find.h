// settings_row_find.h - the row of a settings table (currencies, payment
// modes, VAT codes, ...) that has a given code.
#pragma once

#include <cstdint>

#include "core/field_access.h"
#include "core/pstring.h"
#include "rules/rules_types.h"

// The index of the first of rows whose text field codeAt holds code (a
// PString); -1 when no row does.
template <int N>
int32_t SettingsRowWithCode(const SettingsRows &rows, TextField<N> codeAt, const uint8_t *code) {
    uint8_t own[256];
    for (int32_t i = 0; i < rows.count; i++) {
        GetText(rows.data + (size_t)i * rows.rowSize, codeAt, own);
        if (PStringEqual(own, code)) return i;
    }
    return -1;
}
