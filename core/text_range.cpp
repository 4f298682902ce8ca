// text_range.cpp - splitting typed ranges such as "100:200" or "A;B".
//
// The splitting is literal on purpose: "A : B" gives A..A (the first
// word ends at the blank, and the second word would start at the colon),
// and a leading blank in a number range leaves the start open. Users and
// stored report selections rely on these readings.
#include "core/text_range.h"

#include "core/decimal.h"
#include "core/field_types.h"
#include "core/pstring.h"

static bool IsRangeSep(uint8_t c) { return c == ';' || c == ':' || c == ','; }
static bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// A position below 1 (0 would be the length byte, below it memory before
// the text) means the start of the text: callers that step back past it
// read from the first character rather than from outside the string.
static void ClampStart(int *p) {
    if (*p < 1) *p = 1;
}

// Takes the run of characters at *p for which in() holds into out.
template <typename In>
static bool TakeRun(const uint8_t *s, int *p, uint8_t *out, In in) {
    out[0] = 0;
    ClampStart(p);
    while (*p <= s[0] && in(s[*p])) PStringAppendChar(out, s[(*p)++]);
    return out[0] != 0;
}

void SkipBlanks(const uint8_t *s, int *p) {
    ClampStart(p);
    while (*p <= s[0] && s[*p] == ' ') (*p)++;
}

bool RangeWord(const uint8_t *s, int *p, uint8_t *word) {
    SkipBlanks(s, p);
    return TakeRun(s, p, word, [](uint8_t c) { return c != ' ' && !IsRangeSep(c); });
}

bool WordUntilSep(const uint8_t *s, int *p, uint8_t *word) {
    SkipBlanks(s, p);
    return TakeRun(s, p, word,
                   [](uint8_t c) { return c != ' ' && c != '-' && c != '+' && !IsRangeSep(c); });
}

bool RangeSepRun(const uint8_t *s, int *p, uint8_t *run) { return TakeRun(s, p, run, IsRangeSep); }

bool RangeDigitRun(const uint8_t *s, int *p, uint8_t *run) { return TakeRun(s, p, run, IsDigit); }

bool RangeNonDigitRun(const uint8_t *s, int *p, uint8_t *run) {
    return TakeRun(s, p, run, [](uint8_t c) { return !IsDigit(c); });
}

bool RangeNumSepRun(const uint8_t *s, int *p, uint8_t *run) {
    return TakeRun(s, p, run, [](uint8_t c) {
        return c == ':' || c == '-' || c == '+' || c == '*' || c == ',' || c == '.';
    });
}

void RangeRest(const uint8_t *s, int *p, uint8_t *out) {
    TakeRun(s, p, out, [](uint8_t) { return true; });
}

bool RangeWordToDouble(const uint8_t *s, int *p, double *out) {
    PString word;
    bool found = RangeWord(s, p, word);
    *out = TextToDouble(word);
    return found;
}

void RangeSplit(const uint8_t *s, uint8_t *from, uint8_t *to) {
    int p = 1;
    PString sep;
    RangeWord(s, &p, from);
    bool separated = RangeSepRun(s, &p, sep);
    RangeWord(s, &p, to);
    if (!separated && to[0] == 0) PStringCopy(to, from);
}

void RangeSplitToFields(const uint8_t *s, uint8_t *fromField, uint8_t *toField, int m) {
    PString from, to;
    RangeSplit(s, from, to);
    FieldFromText(fromField, FtText, m, from);
    FieldFromText(toField, FtText, m, to);
}

void RangeSplitNumber(const uint8_t *s, int32_t *from, int32_t *to) {
    int p = 1;
    PString a, gap, b;
    RangeDigitRun(s, &p, a);
    bool separated = RangeNonDigitRun(s, &p, gap);
    RangeDigitRun(s, &p, b);
    if (!separated && b[0] == 0) PStringCopy(b, a);
    *from = *to = -1;  // what an end keeps when its digits are refused
    FieldFromText(reinterpret_cast<uint8_t *>(from), FtLongOrEmpty, 0, a);
    FieldFromText(reinterpret_cast<uint8_t *>(to), FtLongOrEmpty, 0, b);
}
