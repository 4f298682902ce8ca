// dict_cp1252.cpp - UTF-8 to cp1252 conversion and cp1252 upper-casing
// for the dictionary compiler.
#include "tools/dict_cp1252.h"

#include <array>
#include <cstdio>

// The code points of cp1252's bytes 0x80..0x9F; 0 where the code page
// leaves the byte undefined.
static constexpr std::array<uint16_t, 32> HighRow = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int Cp1252FromCodePoint(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return (int)cp;
    for (int i = 0; i < 32; i++)
        if (HighRow[i] != 0 && HighRow[i] == cp) return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at s[*pos], advancing *pos. False for a
// malformed, overlong or surrogate sequence.
static bool DecodeUtf8(std::string_view s, size_t *pos, uint32_t *cp) {
    uint8_t c = (uint8_t)s[*pos];
    int extra;
    uint32_t value, min;
    if (c < 0x80) { *cp = c; (*pos)++; return true; }
    if ((c & 0xE0) == 0xC0) { extra = 1; value = c & 0x1F; min = 0x80; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; value = c & 0x0F; min = 0x800; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; value = c & 0x07; min = 0x10000; }
    else return false;
    if (*pos + extra >= s.size()) return false;
    for (int i = 1; i <= extra; i++) {
        uint8_t k = (uint8_t)s[*pos + i];
        if ((k & 0xC0) != 0x80) return false;
        value = (value << 6) | (k & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    *cp = value;
    *pos += extra + 1;
    return true;
}

bool Utf8ToCp1252(std::string_view utf8, std::string *out, std::string *why) {
    out->clear();
    for (size_t pos = 0; pos < utf8.size();) {
        uint32_t cp;
        if (!DecodeUtf8(utf8, &pos, &cp)) {
            *why = "malformed UTF-8";
            return false;
        }
        int b = Cp1252FromCodePoint(cp);
        if (b < 0) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "character U+%04X is not in cp1252", (unsigned)cp);
            *why = buf;
            return false;
        }
        out->push_back((char)b);
    }
    return true;
}

uint8_t Cp1252Upper(uint8_t c) {
    if (c >= 'a' && c <= 'z') return (uint8_t)(c - 32);
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF) return (uint8_t)(c - 32);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}
