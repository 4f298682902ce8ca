// decimal_text.cpp - conversions between PackedDecimal (and 32-bit
// integers and doubles) and text: the bare digit text, typed numbers
// with the user's separators, and display text with a chosen number of
// decimals and optional thousands grouping.
//
// All texts are PStrings (length byte, then the characters). The
// separators come from CurrentFormat at the time of the call.
#include "core/decimal.h"

#include <cassert>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/format_block.h"
#include "core/pstring.h"

namespace {

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

void Put(uint8_t *out, uint8_t c) {
    if (out[0] < 255) out[++out[0]] = c;
}

enum class ScanEnd { Whole, Stopped, TooLong };

// The scan behind ParseNumberText; see there. TooLong when the digits
// (with the padding) would not fit in a PString.
ScanEnd ScanNumber(const uint8_t *text, uint8_t *out, int n, bool *negative) {
    if (n < 0) n = 0;
    const uint8_t decimalSep = FormatDecimalSep();
    const uint8_t thousandsSep = FormatThousandsSep();
    const int length = text[0];
    out[0] = 0;
    *negative = false;
    bool seenDigit = false, inDecimals = false, tooLong = false;
    int decimals = 0, i = 1;
    for (; i <= length; i++) {
        uint8_t c = text[i];
        if (IsDigit(c)) {
            if (inDecimals && decimals >= n) continue;  // surplus decimals are truncated
            if (inDecimals) decimals++;
            if (out[0] == 255)
                tooLong = true;
            else
                out[++out[0]] = c;
            seenDigit = true;
        } else if (c == '-' && !seenDigit) {
            *negative = true;
        } else if (c == ' ' && !seenDigit) {
            // leading blanks
        } else if (!inDecimals && (c == decimalSep || (c == '.' && thousandsSep != '.'))) {
            inDecimals = true;
        } else if (c == thousandsSep) {
            // grouping is ignored wherever it stands
        } else {
            break;
        }
    }
    bool whole = true;
    for (int j = i; j <= length; j++)
        if (text[j] != ' ') whole = false;
    if (out[0] > 0) {
        for (; decimals < n; decimals++) {
            if (out[0] == 255)
                tooLong = true;
            else
                out[++out[0]] = '0';
        }
    }
    bool allZero = true;
    for (int j = 1; j <= out[0]; j++)
        if (out[j] != '0') allZero = false;
    if (allZero) *negative = false;
    if (tooLong) return ScanEnd::TooLong;
    return whole ? ScanEnd::Whole : ScanEnd::Stopped;
}

bool HasNonBlank(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (text[i] != ' ') return true;
    return false;
}

// The value of a digit text scanned with no decimals; false when it
// does not fit in 32 bits.
bool DigitsToLong(const uint8_t *digits, bool negative, int32_t *out) {
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t v = 0;
    for (int i = 1; i <= digits[0]; i++) {
        v = v * 10 + (digits[i] - '0');
        if (v > limit) {
            *out = 0;
            return false;
        }
    }
    *out = static_cast<int32_t>(negative ? -v : v);
    return true;
}

}  // namespace

// "-" when negative, then every digit from the highest non-zero one
// down to digit 0 (so a value of 1 or more ends with its three decimal
// digits). Zero and blank give an empty text.
void DecToDigitText(const PackedDecimal *p, uint8_t *out) {
    out[0] = 0;
    if (DecIsZero(p)) return;
    uint8_t bytes[12];
    std::memcpy(bytes, p->b, sizeof bytes);
    bytes[11] &= 0x7F;  // the magnitude
    auto digit = [&](int i) { return (i & 1) ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0F; };
    int top = DecDigits - 1;
    while (top > 0 && digit(top) == 0) top--;
    int n = 0;
    if (DecIsNegative(p)) out[++n] = '-';
    for (int i = top; i >= 0; i--) out[++n] = static_cast<uint8_t>('0' + digit(i));
    out[0] = static_cast<uint8_t>(n);  // at most 25 characters
}

// The reverse of DecToDigitText: the last character is digit 0 (the
// thousandths). A leading "-" makes a non-zero value negative. Other
// characters than digits, or a value of 8 x 10^20 or more, give blank.
void DecFromDigitText(const uint8_t *text, PackedDecimal *dst) {
    int first = 1, last = text[0];
    bool negative = false;
    if (first <= last && text[first] == '-') {
        negative = true;
        first++;
    }
    while (first < last && text[first] == '0') first++;  // leading zeros carry no weight
    PackedDecimal v{};
    if (last - first + 1 > DecDigits) {
        DecSetBlank(dst);
        return;
    }
    for (int i = last, digit = 0; i >= first; i--, digit++) {
        if (!IsDigit(text[i])) {
            DecSetBlank(dst);
            return;
        }
        DecSetDigit(&v, digit, text[i] - '0');
    }
    if (DecGetDigit(&v, DecDigits - 1) > 7) {
        DecSetBlank(dst);
        return;
    }
    if (negative) DecSetNegative(&v);
    DecCopy(dst, &v);
}

void LongToDigitText(int32_t v, uint8_t *out) {
    char text[16];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, v);
    out[0] = 0;
    for (const char *c = text; c < r.ptr; c++) Put(out, static_cast<uint8_t>(*c));
}

// Collects the digits of a typed number in out, with exactly n
// decimals: decimals beyond the n-th are dropped, missing ones padded
// with "0" (when there is a digit at all). A "-" before the first digit
// makes it negative, unless every digit is "0"; blanks before it are
// skipped; the thousands separator is skipped anywhere; the decimal
// separator, or "." unless that is the thousands separator, starts the
// decimals once. Any other character ends the scan. Returns true when
// the whole text was used (blanks after the number allowed).
bool ParseNumberText(const uint8_t *text, uint8_t *out, int n, bool *negative) {
    PString digits;  // text and out may be the same buffer
    ScanEnd end = ScanNumber(text, digits, n, negative);
    std::memcpy(out, digits, digits[0] + 1u);
    return end == ScanEnd::Whole;
}

// Typed text to a value with three decimals; a text without digits (or
// with more digits than a PString holds) gives blank.
void TextToDec(const uint8_t *text, PackedDecimal *dst) {
    PString digits;
    bool negative;
    ScanEnd end = ScanNumber(text, digits, DecDecimals, &negative);
    if (digits[0] == 0 || end == ScanEnd::TooLong) {
        DecSetBlank(dst);
        return;
    }
    DecFromDigitText(digits, dst);
    if (negative) DecSetNegative(dst);
}

// An empty or all-blank text is a valid "no entry" (blank, true); any
// other text must be a number within range.
bool TextToDecChecked(const uint8_t *text, PackedDecimal *dst) {
    PString digits;
    bool negative;
    ScanEnd end = ScanNumber(text, digits, DecDecimals, &negative);
    DecSetBlank(dst);
    if (digits[0] == 0) return !HasNonBlank(text);
    if (end != ScanEnd::Whole) return false;
    DecFromDigitText(digits, dst);
    if (DecIsBlank(dst)) return false;
    if (negative) DecSetNegative(dst);
    return true;
}

// Typed text to a 32-bit integer (decimals are dropped); 0 when there
// are no digits or the number does not fit.
int32_t TextToLong(const uint8_t *text) {
    PString digits;
    bool negative;
    ScanNumber(text, digits, 0, &negative);
    int32_t v;
    DigitsToLong(digits, negative, &v);
    return v;
}

bool TextToLongChecked(const uint8_t *text, int32_t *out) {
    PString digits;
    bool negative;
    *out = 0;
    if (ScanNumber(text, digits, 0, &negative) != ScanEnd::Whole || digits[0] == 0) return false;
    return DigitsToLong(digits, negative, out);
}

// Typed text to a double: the decimal separator becomes "." and the
// number is read up to the first character that cannot belong to it
// (0 when there is none). Thousands separators are not skipped.
double TextToDouble(const uint8_t *text) {
    char buffer[257];
    const uint8_t decimalSep = FormatDecimalSep();
    int length = text[0];
    for (int i = 0; i < length; i++)
        buffer[i] = text[i + 1] == decimalSep ? '.' : static_cast<char>(text[i + 1]);
    buffer[length] = '\0';
    const char *s = buffer;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) s++;
    if (*s == '+') {
        s++;
        if (*s == '-') return 0.0;
    }
    double v = 0.0;
    std::from_chars_result r = std::from_chars(s, buffer + length, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range)
        return std::strtod(s, nullptr);  // the overflow or underflow value
    return r.ec == std::errc() ? v : 0.0;
}

// Display text with n decimals (0 to 3; more give 3), the separators of
// CurrentFormat and, when ThousandsFlag is set and the format has a
// thousands separator, thousands grouping (an empty separator groups
// nothing rather than write a zero byte into the text).
// Surplus decimals are cut off, not rounded. Blank gives an empty text.
void DecFormat(const PackedDecimal *p, int n, uint8_t *out) {
    out[0] = 0;
    if (DecIsBlank(p)) return;
    if (n > DecDecimals) n = DecDecimals;
    if (n < 0) n = 0;
    const uint8_t decimalSep = FormatDecimalSep();
    const uint8_t thousandsSep = FormatThousandsSep();
    PackedDecimal magnitude;
    DecAbs(p, &magnitude);
    PString digits;
    DecToDigitText(&magnitude, digits);
    const int length = digits[0];
    const int integers = length - DecDecimals;
    if (DecIsNegative(p) && !DecIsZero(p)) Put(out, '-');
    if (integers < 1) {
        Put(out, '0');
        if (n > 0) {
            Put(out, decimalSep);
            for (int written = 0; written < DecDecimals - length && written < n; written++) Put(out, '0');
        }
    }
    for (int i = 1; i <= length && i <= integers + n; i++) {
        Put(out, digits[i]);
        if (ThousandsFlag && thousandsSep != 0 && i <= length - 5 && i % 3 == length % 3) Put(out, thousandsSep);
        if (i == integers && n > 0) Put(out, decimalSep);
    }
}

void DoubleToText2(double x, uint8_t *out) {
    PackedDecimal v;
    DecFromDouble(&v, x);
    DecFormat(&v, 2, out);
}
