// decimal.h - PackedDecimal, the number type of every amount, quantity,
// price, rate and percentage.
//
// Layout (12 bytes, the same in memory, in the database file and on the
// wire; never byte-swapped):
//
//   digit i (0..23)  nibble in byte i / 2: low nibble for even i, high
//                    nibble for odd i; weight 10^(i - 3), so digits
//                    0..2 are the decimals and digit 3 the units
//   sign             bit 7 of byte 11 (the top bit of digit 23);
//                    set means negative
//   zero             all 12 bytes 0; zero never carries the sign
//   blank            "no entry": byte 0 = 0x0F (digit 0 holds 15); any
//                    value whose digit 0 is 14 or 15 counts as blank
//   range            magnitudes below 8 x 10^20
//
// Addition, subtraction, comparison and rounding work on the 12-byte
// image without allocation. Multiplication and division are exact and
// round to the nearest thousandth, halves away from zero. A result that
// would leave the range is blank, never a value with a flipped sign.
// Operations take values by address; the destination may be one of the
// operands.
#pragma once

#include <cstdint>

struct PackedDecimal {
    uint8_t b[12];
};
static_assert(sizeof(PackedDecimal) == 12 && alignof(PackedDecimal) == 1);

constexpr int DecDigits = 24;
constexpr int DecDecimals = 3;

// Copies and tests.
void DecCopy(PackedDecimal *dst, const PackedDecimal *src);
void DecSetZero(PackedDecimal *p);
void DecSetBlank(PackedDecimal *p);
bool DecIsBlank(const PackedDecimal *p);
bool DecIsAllZero(const PackedDecimal *p);
bool DecIsZero(const PackedDecimal *p);        // blank or a zero magnitude
bool DecIsNegative(const PackedDecimal *p);
void DecSetNegative(PackedDecimal *p);         // not on zero or blank
void DecAbs(const PackedDecimal *src, PackedDecimal *dst);
void DecNegateInto(const PackedDecimal *src, PackedDecimal *dst);
int DecGetDigit(const PackedDecimal *p, int i);
void DecSetDigit(PackedDecimal *p, int i, int d);

// Arithmetic. r may be a or b. In DecAdd and DecSub a zero or blank
// operand leaves the other (blank + blank is zero). DecMul: both blank
// gives blank, otherwise a zero or blank operand gives zero. DecDiv: a
// zero or blank divisor gives blank, a zero or blank dividend zero.
void DecAdd(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r);
void DecSub(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r);
void DecMul(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r);
void DecDiv(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r);
void DecRound(const PackedDecimal *src, int n, PackedDecimal *dst);
void DecShiftUp2(const PackedDecimal *src, PackedDecimal *dst);
void DecShiftDown2(const PackedDecimal *src, PackedDecimal *dst);
void DecIncrementAt(PackedDecimal *p, int i);

// Comparison: 1, 0 or -1. Blank counts as zero, except in DecEqual.
int DecCompare(const PackedDecimal *a, const PackedDecimal *b);
int DecCompareMagnitude(const PackedDecimal *a, const PackedDecimal *b);
bool DecEqual(const PackedDecimal *a, const PackedDecimal *b);
int DecSign(const PackedDecimal *a);
// a against x; an x beyond the range lies above or below every value.
int DecCompareDouble(const PackedDecimal *a, double x);
void DecMin(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *dst);

// The exact integer view of a value, for arithmetic beyond addition:
// the number of thousandths with the sign applied. DecToThousandths
// gives false (and 0) for blank; DecFromThousandths gives blank when the
// magnitude reaches 8 x 10^23 thousandths (the range).
bool DecToThousandths(const PackedDecimal *p, __int128 *out);
void DecFromThousandths(PackedDecimal *dst, __int128 v);

// Conversions to and from binary numbers (decimal_float.cpp). A binary
// value is read through its shortest round-trip decimal text, rounded to
// thousandths halves away from zero; NaN, infinities and magnitudes out
// of range give blank (DecFromDoubleSmall: from 10^13 on).
void DecFromLong(PackedDecimal *dst, int32_t v);
void DecFromDouble(PackedDecimal *dst, double x);
void DecFromLongDouble(long double x, PackedDecimal *dst);
void DecFromDoubleSmall(double x, PackedDecimal *dst);
// kind 0: *d holds the value; kind 1 (a digit above 10^12 is set): *ld
// holds it. *intDigits is the position of the highest non-zero digit
// minus 2 (1 for 1 to 9.999, -2 for 0.001; 0 for zero and blank).
void DecToFloat(const PackedDecimal *p, double *d, long double *ld, int *kind, int *intDigits);
double DecToDouble(const PackedDecimal *p);
void DecToDoubleOut(const PackedDecimal *p, double *out);
// Truncates toward zero; blank gives 0, values beyond the 32-bit range
// give INT32_MIN or INT32_MAX.
int32_t DecToLong(const PackedDecimal *p);
// 10^(i - 3) for i = 0..15 (double), 0..23 (long double), 3..12 (32-bit,
// 0 for i = 0..2); 1 for any other i.
double DecPow10Double(int i);
long double DecPow10LongDouble(int i);
int32_t DecPow10Long(int i);

// Conversions to and from text (decimal_text.cpp). Texts are PStrings.
void DecToDigitText(const PackedDecimal *p, uint8_t *out);
void DecFromDigitText(const uint8_t *text, PackedDecimal *dst);
void LongToDigitText(int32_t v, uint8_t *out);
// Returns true when the whole text was a number (blanks around it
// allowed); false when a character ended the scan early.
bool ParseNumberText(const uint8_t *text, uint8_t *out, int n, bool *negative);
void TextToDec(const uint8_t *text, PackedDecimal *dst);
// TextToDec that tells whether the text was a number within range:
// false for stray characters or a magnitude out of range (dst blank).
// An empty or all-blank text is "no entry": blank and true.
bool TextToDecChecked(const uint8_t *text, PackedDecimal *dst);
// 0 when there are no digits or the number passes the 32-bit range.
int32_t TextToLong(const uint8_t *text);
// false when the text is no number or lies outside the 32-bit range
// (then *out is 0).
bool TextToLongChecked(const uint8_t *text, int32_t *out);
double TextToDouble(const uint8_t *text);
// Display text with n decimals (at most 3): surplus decimals are cut off,
// not rounded; thousands are grouped when ThousandsFlag is set.
void DecFormat(const PackedDecimal *p, int n, uint8_t *out);
void DoubleToText2(double x, uint8_t *out);

// Formulas of document rows (decimal_rows.cpp).
void DecPercentFactor(const PackedDecimal *p, PackedDecimal *dst);
void DecRowAmount(const PackedDecimal *quantity, const PackedDecimal *price,
                  const PackedDecimal *unit, const PackedDecimal *discount,
                  PackedDecimal *dst);
void DecPercentOfText(const uint8_t *text, const PackedDecimal *p, PackedDecimal *dst);
