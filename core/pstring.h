// pstring.h - the length-prefixed string of the whole system.
//
// A PString is one length byte (0..255) followed by that many
// characters, with no terminator. Working buffers are 256 bytes; a
// string field of maximum length m in a record takes m + 1 bytes
// rounded up to even. Functions take plain byte pointers so that they
// work on working buffers and on fields inside records alike.
// Zero-terminated strings appear only at the platform boundary.
//
// Positions are 1-based. Destination first unless the name says
// otherwise. Every function that writes a working buffer keeps its
// result within 255 characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

typedef uint8_t PString[256];

constexpr int PStringMax = 255;

inline int PStringLength(const uint8_t *s) { return s[0]; }
inline std::string_view PStringView(const uint8_t *s) {
    return std::string_view(reinterpret_cast<const char *>(s + 1), s[0]);
}

// The collation table of the loaded interface file: one sort weight per
// character, or null while no interface file is loaded.
extern const uint8_t *CollationTable;

void PStringCopy(uint8_t *dst, const uint8_t *src);
void PStringFromC(uint8_t *dst, const char *src);       // at most 254 characters
void CStringToPString(const char *src, uint8_t *dst);   // the same, source first
void PStringFromView(uint8_t *dst, std::string_view src);  // at most 255 characters
void PStringToC(const uint8_t *src, char *dst);         // dst holds 256 bytes
std::string PStringToStd(const uint8_t *s);

// Appends src; characters that would pass 255 are dropped.
void PStringAppend(uint8_t *dst, const uint8_t *src);
void PStringAppendC(uint8_t *dst, const char *src);
void PStringAppendChar(uint8_t *dst, uint8_t c);
// Appends "," (when dst is not empty) and src, unless src is empty or
// the result would be longer than limit; then dst is left as it is.
void PStringAppendList(uint8_t *dst, const uint8_t *src, int limit);

bool PStringEqual(const uint8_t *a, const uint8_t *b);
bool PStringEqualC(const uint8_t *a, const char *b);
bool CStringEqual(const char *a, const char *b);

// -1, 0 or 1. PStringCompare is bytewise unsigned, then shorter first.
int PStringCompare(const uint8_t *a, const uint8_t *b);
int CStringCompare(const char *a, const char *b);
int PStringCompareCollate(const uint8_t *a, const uint8_t *b);
int PStringCompareNoCase(const uint8_t *a, const uint8_t *b);
// Strings of length n or more are cut to n - 1 characters first.
int PStringCompareN(int n, const uint8_t *a, const uint8_t *b);

// Case-insensitive search: 1 for an empty pattern, else the position of
// the first occurrence, 0 when absent.
int PStringFind(const uint8_t *s, const uint8_t *pattern);
bool PStringPrefixEqual(const uint8_t *a, const uint8_t *b);

void PStringPadLeft(uint8_t *dst, const uint8_t *src, uint8_t fill, int width);
void PStringPadRight(uint8_t *dst, const uint8_t *src, uint8_t fill, int width);
void PStringDigits(uint8_t *dst, const uint8_t *src);
void PStringNoBlanks(uint8_t *dst, const uint8_t *src);
void PStringMap(uint8_t *dst, const uint8_t *src, const uint8_t *table);
int PStringEvenSize(const uint8_t *s);
void PStringTrimRight(uint8_t *s);
void PStringUnderscoreToBlank(uint8_t *s);

// Upper-casing of the system's 8-bit character set (the Western
// Windows code page that the interface file's texts use): ASCII
// letters, the accented letters from 0xE0 (not the division sign) and
// the four lower-case letters of the 0x80-0x9F row.
constexpr uint8_t UpperChar(uint8_t c) {
    if (c >= 'a' && c <= 'z') return (uint8_t)(c - 32);
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF) return (uint8_t)(c - 32);
    switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
    }
}
void UpperPString(uint8_t *s);

int CStringSize(const char *s);              // length including the terminator
int CStringCopy(char *dst, const char *src); // returns the length

// Position of the last blank at or before p; -1 when none or p < 1.
int LastBlankBefore(const uint8_t *s, int p);
// Moves the tail of s from position p (p + 1 when s[p] is a blank) to
// the front of rest, joined by one blank, and cuts s to p - 1
// characters. Used with LastBlankBefore to wrap text at a word.
void SplitAtWord(uint8_t *s, uint8_t *rest, int p);

// Hooks that report and export code calls where nothing is to be done.
void NoOp();
void NoOpRelease();
