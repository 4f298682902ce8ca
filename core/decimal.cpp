// decimal.cpp - PackedDecimal tests, copies, addition, subtraction,
// comparison, rounding, shifts, and the exact integer view of a value.
//
// Read as a little-endian 96-bit number, the 12 bytes of a value are a
// binary-coded decimal: digit i sits at bits 4i..4i+3 and the sign at
// bit 95 (see decimal.h for the layout). Addition and subtraction work
// on that number a whole word at a time, decimal-adjusting every digit
// at once, instead of looping over 24 nibbles; because the digits stand
// in order of weight, comparing two magnitudes is comparing the two
// numbers. These operations run for every row of every report.
#include "core/decimal.h"

#include <cassert>
#include <cmath>
#include <cstring>

namespace {

using u128 = unsigned __int128;

constexpr u128 SignBit = static_cast<u128>(1) << 95;
constexpr u128 MagnitudeMask = SignBit - 1;

constexpr u128 RepeatNibble(unsigned nibble, int count) {
    u128 v = 0;
    for (int i = 0; i < count; i++) v |= static_cast<u128>(nibble) << (4 * i);
    return v;
}
constexpr u128 Sixes = RepeatNibble(6, DecDigits);
// Bits 4, 8, ..., 96: bit 4(k + 1) receives the carry (or borrow) out
// of digit k.
constexpr u128 DigitCarries = RepeatNibble(1, DecDigits) << 4;

constexpr uint64_t Pow10U64(int e) {
    uint64_t v = 1;
    for (int i = 0; i < e; i++) v *= 10;
    return v;
}
constexpr u128 Pow10U128(int e) {
    u128 v = 1;
    for (int i = 0; i < e; i++) v *= 10;
    return v;
}
// 8 x 10^20 in thousandths: the first magnitude out of range.
constexpr u128 RangeThousandths = 8 * Pow10U128(23);

u128 Load(const PackedDecimal *p) {
    uint64_t lo = 0;
    uint32_t hi = 0;
    for (int i = 0; i < 8; i++) lo |= static_cast<uint64_t>(p->b[i]) << (8 * i);
    for (int i = 0; i < 4; i++) hi |= static_cast<uint32_t>(p->b[8 + i]) << (8 * i);
    return (static_cast<u128>(hi) << 64) | lo;
}

void Store(PackedDecimal *p, u128 v) {
    uint64_t lo = static_cast<uint64_t>(v);
    uint32_t hi = static_cast<uint32_t>(v >> 64);
    for (int i = 0; i < 8; i++) p->b[i] = static_cast<uint8_t>(lo >> (8 * i));
    for (int i = 0; i < 4; i++) p->b[8 + i] = static_cast<uint8_t>(hi >> (8 * i));
}

// Stores a magnitude with its sign. A magnitude that reaches the sign
// bit (8 x 10^20 or more, including a carry beyond digit 23) gives
// blank; a zero magnitude never carries the sign.
void StoreSigned(PackedDecimal *p, u128 magnitude, bool negative) {
    if (magnitude > MagnitudeMask) {
        DecSetBlank(p);
        return;
    }
    Store(p, (negative && magnitude != 0) ? (magnitude | SignBit) : magnitude);
}

// Sum of two BCD magnitudes of 24 digits. Each digit is first biased by
// 6 so that a decimal carry becomes a binary one; the bias is then
// taken back from every digit that did not carry. A carry out of digit
// 23 lands in bit 96 and so fails the range test of StoreSigned.
u128 BcdAdd(u128 a, u128 b) {
    u128 t1 = a + Sixes;
    u128 t2 = t1 + b;
    u128 noCarry = ~(t2 ^ t1 ^ b) & DigitCarries;
    return t2 - ((noCarry >> 2) | (noCarry >> 3));
}

// Difference x - y of two BCD magnitudes with x >= y: a digit that
// borrowed holds 16 too many in binary and 10 too many in decimal, so
// 6 is taken from it.
u128 BcdSub(u128 x, u128 y) {
    assert(x >= y);
    u128 t = x - y;
    u128 borrowed = (x ^ y ^ t) & DigitCarries;
    return t - ((borrowed >> 2) | (borrowed >> 3));
}

// r = (sign a, magnitude ma) + (sign b, magnitude mb), in sign and
// magnitude: equal signs add, different signs subtract the smaller
// magnitude from the larger, which lends its sign.
void AddSigned(u128 ma, bool na, u128 mb, bool nb, PackedDecimal *r) {
    if (na == nb)
        StoreSigned(r, BcdAdd(ma, mb), na);
    else if (ma == mb)
        DecSetZero(r);
    else if (ma > mb)
        StoreSigned(r, BcdSub(ma, mb), na);
    else
        StoreSigned(r, BcdSub(mb, ma), nb);
}

// Binary value of 16 BCD digits: neighbouring lanes are merged pairwise
// (digits into 0..99, then 0..9999, then 0..99999999).
uint64_t Bcd16ToBinary(uint64_t x) {
    x = (x & 0x0F0F0F0F0F0F0F0Full) + ((x >> 4) & 0x0F0F0F0F0F0F0F0Full) * 10;
    x = (x & 0x00FF00FF00FF00FFull) + ((x >> 8) & 0x00FF00FF00FF00FFull) * 100;
    x = (x & 0x0000FFFF0000FFFFull) + ((x >> 16) & 0x0000FFFF0000FFFFull) * 10000;
    return (x & 0xFFFFFFFFull) + (x >> 32) * 100000000ull;
}

// BCD digits of v < 10^8: the reverse of the merge above, splitting each
// lane by a reciprocal multiplication that is exact for these ranges.
uint32_t Binary8ToBcd(uint32_t v) {
    assert(v < 100000000u);
    uint64_t y = (v % 10000) | (static_cast<uint64_t>(v / 10000) << 32);  // lanes < 10^4
    uint64_t q = ((y * 5243) >> 19) & 0x0000007F0000007Full;              // lane / 100
    uint64_t z = (y - q * 100) | (q << 16);                                // lanes < 100
    q = ((z * 103) >> 10) & 0x000F000F000F000Full;                          // lane / 10
    uint64_t w = (z - q * 10) | (q << 8);                                  // one digit a byte
    w = (w | (w >> 4)) & 0x00FF00FF00FF00FFull;
    w = (w | (w >> 8)) & 0x0000FFFF0000FFFFull;
    w = (w | (w >> 16)) & 0xFFFFFFFFull;
    return static_cast<uint32_t>(w);
}

uint64_t Binary16ToBcd(uint64_t v) {
    return Binary8ToBcd(static_cast<uint32_t>(v % 100000000u)) |
           (static_cast<uint64_t>(Binary8ToBcd(static_cast<uint32_t>(v / 100000000u))) << 32);
}

bool IsNegativeImage(u128 v) { return (v & SignBit) != 0 && (v & MagnitudeMask) != 0; }

}  // namespace

void DecCopy(PackedDecimal *dst, const PackedDecimal *src) {
    if (dst && src && dst != src) std::memmove(dst->b, src->b, sizeof dst->b);
}

void DecSetZero(PackedDecimal *p) {
    if (p) std::memset(p->b, 0, sizeof p->b);
}

void DecSetBlank(PackedDecimal *p) {
    if (!p) return;
    std::memset(p->b, 0, sizeof p->b);
    p->b[0] = 0x0F;
}

bool DecIsBlank(const PackedDecimal *p) { return (p->b[0] & 0x0F) >= 14; }

bool DecIsAllZero(const PackedDecimal *p) {
    for (uint8_t byte : p->b)
        if (byte != 0) return false;
    return true;
}

bool DecIsZero(const PackedDecimal *p) {
    return DecIsBlank(p) || (Load(p) & MagnitudeMask) == 0;
}

bool DecIsNegative(const PackedDecimal *p) { return (p->b[11] & 0x80) != 0; }

void DecSetNegative(PackedDecimal *p) {
    if (p && !DecIsZero(p)) p->b[11] |= 0x80;
}

void DecAbs(const PackedDecimal *src, PackedDecimal *dst) {
    if (!dst) return;
    DecCopy(dst, src);
    dst->b[11] &= 0x7F;
}

void DecNegateInto(const PackedDecimal *src, PackedDecimal *dst) {
    if (DecIsBlank(src)) {
        DecSetBlank(dst);
        return;
    }
    DecCopy(dst, src);
    if (DecIsNegative(dst))
        dst->b[11] &= 0x7F;
    else
        DecSetNegative(dst);
}

int DecGetDigit(const PackedDecimal *p, int i) {
    assert(i >= 0 && i < DecDigits);
    if (i < 0 || i >= DecDigits) return 0;
    return (i & 1) ? (p->b[i / 2] >> 4) : (p->b[i / 2] & 0x0F);
}

void DecSetDigit(PackedDecimal *p, int i, int d) {
    assert(i >= 0 && i < DecDigits);
    if (i < 0 || i >= DecDigits) return;
    uint8_t &byte = p->b[i / 2];
    if (i & 1)
        byte = static_cast<uint8_t>((byte & 0x0F) | ((d & 0x0F) << 4));
    else
        byte = static_cast<uint8_t>((byte & 0xF0) | (d & 0x0F));
}

// r = a + b, or a - b when subtract is set (the sum with b negated). A
// zero or blank b leaves a (a blank result of two empty fields is zero);
// a zero or blank a gives b, negated for a difference; a result out of
// range is blank.
static void AddOrSubtract(const PackedDecimal *a, const PackedDecimal *b, bool subtract, PackedDecimal *r) {
    if (DecIsZero(b)) {
        if (DecIsBlank(a))
            DecSetZero(r);
        else
            DecCopy(r, a);
        return;
    }
    if (DecIsZero(a)) {
        if (subtract)
            DecNegateInto(b, r);
        else
            DecCopy(r, b);
        return;
    }
    u128 va = Load(a), vb = Load(b);
    AddSigned(va & MagnitudeMask, (va & SignBit) != 0, vb & MagnitudeMask, ((vb & SignBit) != 0) != subtract, r);
}

// r = a + b. A zero or blank operand leaves the other one (a blank sum
// of two empty fields is zero); a sum out of range is blank.
void DecAdd(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) { AddOrSubtract(a, b, false, r); }

// r = a - b, with the same rules as DecAdd on the negated b.
void DecSub(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) { AddOrSubtract(a, b, true, r); }

// Adds 1 at digit i of the magnitude with carry; the sign stays. A
// carry that leaves the range gives blank; a blank stays blank.
void DecIncrementAt(PackedDecimal *p, int i) {
    assert(i >= 0 && i < DecDigits);
    if (i < 0 || i >= DecDigits || DecIsBlank(p)) return;
    u128 v = Load(p);
    StoreSigned(p, BcdAdd(v & MagnitudeMask, static_cast<u128>(1) << (4 * i)), (v & SignBit) != 0);
}

// dst = src rounded to n decimals, halves away from zero; n below 0
// rounds to tens, hundreds and so on. Blank stays blank; a result
// rounded to zero loses its sign, one rounded out of range is blank.
void DecRound(const PackedDecimal *src, int n, PackedDecimal *dst) {
    DecCopy(dst, src);
    if (DecIsBlank(dst) || n >= DecDecimals) return;
    if (n < DecDecimals - DecDigits) {
        // More digits to drop than there are (n is bounded here, before
        // DecDecimals - n could overflow): every value rounds to zero.
        DecSetZero(dst);
        return;
    }
    int k = DecDecimals - n;  // digits to drop, 1..DecDigits
    u128 v = Load(dst);
    u128 magnitude = v & MagnitudeMask;
    bool negative = (v & SignBit) != 0;
    int firstDropped = static_cast<int>((magnitude >> (4 * (k - 1))) & 0x0F);
    if (k == DecDigits) {
        // Everything is dropped; rounding up would give 10^21.
        if (firstDropped >= 5)
            DecSetBlank(dst);
        else
            DecSetZero(dst);
        return;
    }
    magnitude &= ~((static_cast<u128>(1) << (4 * k)) - 1);
    if (firstDropped >= 5) magnitude = BcdAdd(magnitude, static_cast<u128>(1) << (4 * k));
    StoreSigned(dst, magnitude, negative);
}

// dst = src x 100: the digits move up one byte. Zero or blank gives
// zero; a result out of range gives blank.
void DecShiftUp2(const PackedDecimal *src, PackedDecimal *dst) {
    if (DecIsZero(src)) {
        DecSetZero(dst);
        return;
    }
    u128 v = Load(src);
    StoreSigned(dst, (v & MagnitudeMask) << 8, (v & SignBit) != 0);
}

// dst = src / 100: the digits move down one byte and the two lowest are
// dropped without rounding. Zero or blank gives zero.
void DecShiftDown2(const PackedDecimal *src, PackedDecimal *dst) {
    if (DecIsZero(src)) {
        DecSetZero(dst);
        return;
    }
    u128 v = Load(src);
    StoreSigned(dst, (v & MagnitudeMask) >> 8, (v & SignBit) != 0);
}

int DecCompareMagnitude(const PackedDecimal *a, const PackedDecimal *b) {
    u128 va = Load(a), vb = Load(b);
    return va > vb ? 1 : (va < vb ? -1 : 0);
}

// 1, 0 or -1 for a > b, a = b, a < b; a blank counts as zero.
int DecCompare(const PackedDecimal *a, const PackedDecimal *b) {
    u128 va = DecIsBlank(a) ? 0 : Load(a);
    u128 vb = DecIsBlank(b) ? 0 : Load(b);
    if (va == vb) return 0;
    bool na = IsNegativeImage(va), nb = IsNegativeImage(vb);
    if (na != nb) return na ? -1 : 1;
    u128 ma = va & MagnitudeMask, mb = vb & MagnitudeMask;
    if (ma == mb) return 0;
    int byMagnitude = ma > mb ? 1 : -1;
    return na ? -byMagnitude : byMagnitude;
}

// True when both are blank or the 12 bytes are equal: unlike
// DecCompare, an empty field differs from a zero.
bool DecEqual(const PackedDecimal *a, const PackedDecimal *b) {
    if (DecIsBlank(a) && DecIsBlank(b)) return true;
    return std::memcmp(a->b, b->b, sizeof a->b) == 0;
}

int DecSign(const PackedDecimal *a) {
    PackedDecimal zero{};
    return DecCompare(a, &zero);
}

// DecCompare of a with x as DecFromDouble reads it. An x beyond the
// range (or infinite) converts to blank, which would compare as zero;
// every value lies below such an x when it is positive and above it
// when it is negative. A NaN compares as zero.
int DecCompareDouble(const PackedDecimal *a, double x) {
    PackedDecimal d;
    DecFromDouble(&d, x);
    if (DecIsBlank(&d) && !std::isnan(x)) return x > 0 ? -1 : 1;
    return DecCompare(a, &d);
}

// dst = the smaller of a and b (b when they are equal).
void DecMin(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *dst) {
    DecCopy(dst, DecCompare(a, b) >= 0 ? b : a);
}

bool DecToThousandths(const PackedDecimal *p, __int128 *out) {
    if (DecIsBlank(p)) {
        *out = 0;
        return false;
    }
    u128 v = Load(p);
    u128 magnitude = Bcd16ToBinary(static_cast<uint64_t>(v)) +
                     static_cast<u128>(Bcd16ToBinary(static_cast<uint64_t>((v & MagnitudeMask) >> 64))) *
                         Pow10U64(16);
    *out = IsNegativeImage(v) ? -static_cast<__int128>(magnitude) : static_cast<__int128>(magnitude);
    return true;
}

void DecFromThousandths(PackedDecimal *dst, __int128 v) {
    bool negative = v < 0;
    u128 magnitude = negative ? static_cast<u128>(0) - static_cast<u128>(v) : static_cast<u128>(v);
    if (magnitude >= RangeThousandths) {
        DecSetBlank(dst);
        return;
    }
    uint64_t high, low;
    if (magnitude >> 64 == 0) {
        high = static_cast<uint64_t>(magnitude) / Pow10U64(16);
        low = static_cast<uint64_t>(magnitude) % Pow10U64(16);
    } else {
        high = static_cast<uint64_t>(magnitude / Pow10U64(16));
        low = static_cast<uint64_t>(magnitude % Pow10U64(16));
    }
    u128 bcd = (static_cast<u128>(Binary8ToBcd(static_cast<uint32_t>(high))) << 64) | Binary16ToBcd(low);
    StoreSigned(dst, bcd, negative);
}
