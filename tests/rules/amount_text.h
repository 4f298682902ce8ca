// amount_text.h - small helpers of the rules' tests that compare amounts
// and codes as plain text, so a failure prints "-0.4" or "blank" rather
// than twelve bytes.
#pragma once

#include <cstdio>
#include <string>

#include "core/decimal.h"
#include "core/pstring.h"

// The value as plain text: "-0.4", "110", "88.32"; "blank" for blank.
inline std::string AmountText(const PackedDecimal &d) {
    __int128 v = 0;
    if (!DecToThousandths(&d, &v)) return "blank";
    bool negative = v < 0;
    if (negative) v = -v;
    std::string text = std::to_string((long long)(v / 1000));
    if (int frac = (int)(v % 1000)) {
        char digits[8];
        std::snprintf(digits, sizeof digits, ".%03d", frac);
        text += digits;
        while (text.back() == '0') text.pop_back();
    }
    return negative ? "-" + text : text;
}

// A PString of c in one of eight rotating buffers (enough for one call's
// arguments).
inline const uint8_t *P(const char *c) {
    static uint8_t buffers[8][256];
    static int next = 0;
    uint8_t *b = buffers[next++ % 8];
    PStringFromC(b, c);
    return b;
}

// A PString as a std::string.
inline std::string S(const uint8_t *p) { return std::string((const char *)p + 1, p[0]); }
