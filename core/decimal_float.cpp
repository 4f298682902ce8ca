// decimal_float.cpp - PackedDecimal multiplication and division, and
// conversions between PackedDecimal and binary numbers (double, 80-bit
// long double, 32-bit integers) with their tables of powers of ten.
//
// Multiplication and division are exact: both operands become integer
// counts of thousandths and the result is rounded to the nearest
// thousandth, halves away from zero, so that 0.5 x 2.001 is 1.001 and
// large amounts keep their cents. A binary floating value becomes a
// decimal through the shortest text that reads back as the same binary
// value, the number the user or a formula most likely meant; that
// text is then rounded to thousandths, halves away from zero, so that
// 1.0005 and 2.0005 round alike.
#include "core/decimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

using u128 = unsigned __int128;

constexpr std::array<u128, 39> Pow10 = [] {
    std::array<u128, 39> t{};
    u128 v = 1;
    for (auto &e : t) {
        e = v;
        v *= 10;
    }
    return t;
}();

// 8 x 10^20 in thousandths: the first magnitude out of range.
constexpr u128 RangeThousandths = 8 * Pow10[23];
// 10^13 in thousandths: the limit of DecFromDoubleSmall.
constexpr u128 SmallLimitThousandths = Pow10[16];

// Rounds the decimal number in text (as written by std::to_chars in
// scientific form: "-d.ddde+XX") to thousandths, halves away from
// zero, and stores it; blank when the magnitude reaches limit (in
// thousandths) or the text is not of that form.
void FromScientificText(const char *s, const char *end, u128 limit, PackedDecimal *dst) {
    bool negative = false;
    if (s < end && *s == '-') {
        negative = true;
        s++;
    }
    u128 mantissa = 0;  // all significant digits as one integer
    int count = 0;
    for (; s < end && *s != 'e'; s++) {
        if (*s == '.') continue;
        if (*s < '0' || *s > '9' || count >= 36) {
            DecSetBlank(dst);
            return;
        }
        mantissa = mantissa * 10 + static_cast<unsigned>(*s - '0');
        count++;
    }
    int exponent = 0;
    std::from_chars_result r{s, std::errc()};
    if (s < end) {
        s++;  // 'e'
        if (s < end && *s == '+') s++;
        r = std::from_chars(s, end, exponent);
    }
    if (count == 0 || r.ec != std::errc() || r.ptr != end) {
        DecSetBlank(dst);
        return;
    }
    // The value is mantissa x 10^(exponent - count + 1); at and above
    // 10^21 it is out of range whatever the limit.
    if (exponent >= 21) {
        DecSetBlank(dst);
        return;
    }
    int shift = exponent - (count - 1) + DecDecimals;  // power of ten in thousandths
    u128 thousandths;
    if (shift >= 0) {
        thousandths = mantissa * Pow10[shift];  // below 10^(exponent + 4) <= 10^24
    } else {
        int drop = -shift;
        int firstDropped = 0;
        if (drop > count) {
            thousandths = 0;
        } else {
            thousandths = mantissa / Pow10[drop];
            firstDropped = static_cast<int>(mantissa / Pow10[drop - 1] % 10);
        }
        if (firstDropped >= 5) thousandths++;
    }
    if (thousandths >= limit) {
        DecSetBlank(dst);
        return;
    }
    __int128 v = static_cast<__int128>(thousandths);
    DecFromThousandths(dst, negative ? -v : v);
}

template <typename F>
void FromBinary(F x, u128 limit, PackedDecimal *dst) {
    if (!std::isfinite(x)) {
        DecSetBlank(dst);
        return;
    }
    char text[64];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific);
    if (r.ec != std::errc()) {
        DecSetBlank(dst);
        return;
    }
    FromScientificText(text, r.ptr, limit, dst);
}

// The magnitudes in thousandths of two non-blank values, and whether
// the result of combining them is negative.
bool Operands(const PackedDecimal *a, const PackedDecimal *b, u128 *ma, u128 *mb) {
    __int128 va, vb;
    DecToThousandths(a, &va);
    DecToThousandths(b, &vb);
    *ma = va < 0 ? static_cast<u128>(-va) : static_cast<u128>(va);
    *mb = vb < 0 ? static_cast<u128>(-vb) : static_cast<u128>(vb);
    return (va < 0) != (vb < 0);
}

// q / d rounded to an integer, halves away from zero.
u128 DivideRounded(u128 q, u128 d) {
    if ((q >> 64) == 0 && (d >> 64) == 0) {
        uint64_t q64 = static_cast<uint64_t>(q), d64 = static_cast<uint64_t>(d);
        uint64_t quotient = q64 / d64, rest = q64 % d64;
        return quotient + (rest >= d64 - rest ? 1 : 0);
    }
    u128 quotient = q / d, rest = q % d;
    return quotient + (rest >= d - rest ? 1 : 0);
}

void StoreResult(PackedDecimal *r, u128 magnitude, bool negative) {
    if (magnitude >= RangeThousandths) {
        DecSetBlank(r);
        return;
    }
    __int128 v = static_cast<__int128>(magnitude);
    DecFromThousandths(r, negative ? -v : v);
}

}  // namespace

// r = a x b rounded to thousandths. Both blank gives blank; otherwise a
// zero or blank operand gives zero; a product out of range is blank.
void DecMul(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) {
    if (DecIsBlank(a) && DecIsBlank(b)) {
        DecSetBlank(r);
        return;
    }
    if (DecIsZero(a) || DecIsZero(b)) {
        DecSetZero(r);
        return;
    }
    u128 ma, mb, product;
    bool negative = Operands(a, b, &ma, &mb);
    if (__builtin_mul_overflow(ma, mb, &product)) {
        DecSetBlank(r);
        return;
    }
    StoreResult(r, DivideRounded(product, 1000), negative);
}

// r = a / b rounded to thousandths. Division by zero or blank gives
// blank; zero or blank divided gives zero.
void DecDiv(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) {
    if (DecIsZero(b)) {
        DecSetBlank(r);
        return;
    }
    if (DecIsZero(a)) {
        DecSetZero(r);
        return;
    }
    u128 ma, mb;
    bool negative = Operands(a, b, &ma, &mb);
    StoreResult(r, DivideRounded(ma * 1000, mb), negative);  // ma x 1000 < 10^27
}

double DecPow10Double(int i) {
    static constexpr std::array<double, 16> table = {
        1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12,
    };
    return (i >= 0 && i < 16) ? table[i] : 1.0;
}

long double DecPow10LongDouble(int i) {
    static constexpr std::array<long double, 24> table = {
        1e-3L, 1e-2L, 1e-1L, 1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,
        1e9L,  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
    };
    return (i >= 0 && i < 24) ? table[i] : 1.0L;
}

int32_t DecPow10Long(int i) {
    if (i >= 0 && i < 3) return 0;
    if (i < 3 || i > 12) return 1;
    int32_t v = 1;
    for (int k = 3; k < i; k++) v *= 10;
    return v;
}

// The value as a binary number: digits 15 down to 0 are summed in
// double precision, digits 23 down to 16 in extended precision; when
// any of the latter is non-zero the value is extended (kind 1), else a
// double (kind 0). *intDigits is the position of the highest non-zero
// digit minus 2 (1 for 1 to 9.999, -2 for 0.001), 0 for zero or blank.
// Any out pointer may be null.
void DecToFloat(const PackedDecimal *p, double *d, long double *ld, int *kind, int *intDigits) {
    double lowSum = 0;
    long double highSum = 0;
    int top = -1;
    bool extended = false;
    if (!DecIsBlank(p)) {
        for (int i = DecDigits - 1; i >= 16; i--) {
            int digit = DecGetDigit(p, i) & (i == DecDigits - 1 ? 0x07 : 0x0F);
            if (digit == 0) continue;
            if (top < 0) top = i;
            extended = true;
            highSum += digit * DecPow10LongDouble(i);
        }
        for (int i = 15; i >= 0; i--) {
            int digit = DecGetDigit(p, i);
            if (digit == 0) continue;
            if (top < 0) top = i;
            lowSum += digit * DecPow10Double(i);
        }
    }
    bool negative = top >= 0 && DecIsNegative(p);
    long double wide = extended ? static_cast<long double>(lowSum) + highSum : lowSum;
    if (negative) {
        wide = -wide;
        lowSum = -lowSum;
    }
    if (d) *d = extended ? static_cast<double>(wide) : lowSum;
    if (ld) *ld = wide;
    if (kind) *kind = extended ? 1 : 0;
    if (intDigits) *intDigits = top < 0 ? 0 : top - 2;
}

double DecToDouble(const PackedDecimal *p) {
    double d;
    DecToFloat(p, &d, nullptr, nullptr, nullptr);
    return d;
}

void DecToDoubleOut(const PackedDecimal *p, double *out) { *out = DecToDouble(p); }

int32_t DecToLong(const PackedDecimal *p) {
    __int128 v;
    if (!DecToThousandths(p, &v)) return 0;
    v /= 1000;  // truncates toward zero
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void DecFromLong(PackedDecimal *dst, int32_t v) { DecFromThousandths(dst, static_cast<__int128>(v) * 1000); }

void DecFromDouble(PackedDecimal *dst, double x) { FromBinary(x, RangeThousandths, dst); }

// The conversion for magnitudes below 10^13: larger ones give blank.
void DecFromDoubleSmall(double x, PackedDecimal *dst) { FromBinary(x, SmallLimitThousandths, dst); }

// Below 10^13 the value is taken as a double, whose shortest text is
// what the typed numbers and double products behind most extended
// values meant; above, the extended value's own shortest text is used.
void DecFromLongDouble(long double x, PackedDecimal *dst) {
    if (std::fabs(x) < 1e13L)
        FromBinary(static_cast<double>(x), RangeThousandths, dst);
    else
        FromBinary(x, RangeThousandths, dst);
}
