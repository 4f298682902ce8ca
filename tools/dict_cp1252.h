// dict_cp1252.h - the dictionary compiler's character set: the source is
// UTF-8, the interface file holds the Western Windows code page (cp1252).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Converts UTF-8 text to cp1252. On failure returns false and says why in
// *why: a malformed UTF-8 sequence, or a character cp1252 lacks (named by
// its code point). Characters 0x80..0x9F of cp1252 are reached through
// the typographic code points they stand for (euro sign, quotes, dashes).
bool Utf8ToCp1252(std::string_view utf8, std::string *out, std::string *why);

// The cp1252 byte of one Unicode code point; -1 when cp1252 lacks it.
int Cp1252FromCodePoint(uint32_t cp);

// Upper-casing of cp1252 as the program does it: ASCII letters, the
// accented letters from 0xE0 (not the division sign), and the four
// lower-case letters of the 0x80..0x9F row (s and z caron, oe, y
// diaeresis). The name table's hash relies on it.
uint8_t Cp1252Upper(uint8_t c);
