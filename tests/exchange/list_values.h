// list_values.h - test helpers over the field lists of the text exchange:
// a record filled with a distinct value in every column a list writes,
// and two records compared over those columns.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>

#include "core/date.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "exchange/field_lists.h"

// The text of the value column i of a list takes under seed: distinct per
// column and seed, valid for the type, within the column's length.
inline std::string ListValueText(const Column &c, int i, int seed)
{
    char text[64];
    int n = seed * 100 + i + 1;
    switch (c.type) {
    case FtText:
    case FtCode:
    case FtCodeNoSep: {
        std::snprintf(text, sizeof text, "%s%d", c.type == FtText ? "v" : "V", n);
        std::string s = text;
        if (c.len > 0 && s.size() > c.len) s = s.substr(s.size() - c.len);   // keeps it distinct
        return s;
    }
    case FtAmount1: std::snprintf(text, sizeof text, "%d.5", n); return text;
    case FtAmount3:
    case FtAmount3Drop: std::snprintf(text, sizeof text, "%d.125", n); return text;
    case FtAmount2: std::snprintf(text, sizeof text, "%d.25", n); return text;
    case FtFlag: return "1";
    case FtShort:
    case FtLong:
    case FtLongOrEmpty: std::snprintf(text, sizeof text, "%d", n); return text;
    case FtDateTime:
        std::snprintf(text, sizeof text, "%d-%02d-%02d %02d.%02d.%02d", 2024 + n % 7, 1 + n % 12, 1 + n % 28, n % 24,
                      n % 60, (n / 60) % 60);
        return text;
    default: return "";
    }
}

// Fills every column a list writes with its distinct value (dates set
// directly, 1..28 of a month of 2024..2030). False when a value is refused.
inline bool FillListValues(std::span<const Column> cols, uint8_t *base, int seed)
{
    for (size_t i = 0; i < cols.size(); i++) {
        const Column &c = cols[i];
        if (c.kind != Col::Field) continue;
        if (c.type == FtDate) {
            DateRec d{uint16_t(1 + (seed * 7 + i) % 28), uint16_t(1 + (seed + i) % 12), uint16_t(2024 + (seed + i) % 7)};
            std::memset(base + c.pos, 0, size_t(FieldSize(c.type, c.len)));
            std::memcpy(base + c.pos, &d, sizeof d);
            continue;
        }
        PString text;
        PStringFromC(text, ListValueText(c, int(i), seed).c_str());
        if (!FieldFromText(base + c.pos, c.type, c.len, text)) return false;
    }
    return true;
}

// The first column a list writes on which a and b differ ("" when none):
// texts compared as texts, other fields byte for byte.
inline std::string ListDifference(std::span<const Column> cols, const uint8_t *a, const uint8_t *b)
{
    for (size_t i = 0; i < cols.size(); i++) {
        const Column &c = cols[i];
        if (c.kind != Col::Field) continue;
        bool same = FieldTypeIsText(c.type)
                        ? PStringToStd(a + c.pos) == PStringToStd(b + c.pos)
                        : std::memcmp(a + c.pos, b + c.pos, size_t(FieldSize(c.type, c.len))) == 0;
        if (!same)
            return "column " + std::to_string(i + 1) + " at " + std::to_string(c.pos) + " type " +
                   std::to_string(c.type);
    }
    return "";
}
