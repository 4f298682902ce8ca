// dict_cp1252.cpp - UTF-8 to cp1252 conversion and cp1252 upper-casing
// for the dictionary compiler.
#include "tools/dict_cp1252.h"

#include <cstdio>

#include "core/pstring.h"
#include "platform/cp1252.h"

int Cp1252FromCodePoint(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return (int)cp;
    for (int i = 0; i < 32; i++)
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp) return 0x80 + i;
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

// The program's own upper-casing, so that the name table's hash the
// compiler computes is the one the program looks names up by.
uint8_t Cp1252Upper(uint8_t c) { return UpperChar(c); }
