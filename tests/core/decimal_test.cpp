// Tests of PackedDecimal: the blank and zero rules, exact arithmetic
// and its range, rounding and shifts, binary conversions, typed and
// displayed text, and the row formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "core/decimal.h"
#include "core/format_block.h"
#include "core/pstring.h"

namespace {

// A value that passes as an operand address for the length of a full
// expression.
struct Val {
    PackedDecimal v{};
    operator const PackedDecimal *() const { return &v; }
    operator const PackedDecimal &() const { return v; }
};

// Test-side view of the 12-byte image, written from the layout alone so
// that it does not share code with the implementation.
Val Make(__int128 thousandths) {
    Val val;
    PackedDecimal &p = val.v;
    bool negative = thousandths < 0;
    if (negative) thousandths = -thousandths;
    for (int i = 0; thousandths > 0; i++, thousandths /= 10)
        p.b[i / 2] |= static_cast<uint8_t>((thousandths % 10) << (i % 2 ? 4 : 0));
    if (negative) p.b[11] |= 0x80;
    return val;
}

// "blank" or the value as "-123.456".
std::string Str(const PackedDecimal &p) {
    if ((p.b[0] & 0x0F) >= 14) return "blank";
    std::string digits;
    for (int i = 23; i >= 0; i--) {
        int d = (p.b[i / 2] >> (i % 2 ? 4 : 0)) & (i == 23 ? 0x07 : 0x0F);
        if (d || !digits.empty() || i <= 3) digits += static_cast<char>('0' + d);
    }
    digits.insert(digits.size() - 3, ".");
    return (p.b[11] & 0x80 ? "-" : "") + digits;
}

std::string Str(__int128 thousandths) { return Str(Make(thousandths)); }

Val D(const char *value) {  // "-12.345" in thousandths notation
    std::string s(value);
    bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    size_t dot = s.find('.');
    std::string decimals = dot == std::string::npos ? "" : s.substr(dot + 1);
    s = s.substr(0, dot) + (decimals + "000").substr(0, 3);
    __int128 v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return Make(negative ? -v : v);
}

Val Blank() {
    Val p;
    p.v.b[0] = 0x0F;
    return p;
}

struct Text {
    uint8_t b[256];
    explicit Text(const std::string &s) {
        b[0] = static_cast<uint8_t>(std::min<size_t>(s.size(), 255));
        std::memcpy(b + 1, s.data(), b[0]);
    }
    operator uint8_t *() { return b; }
};
std::string S(const uint8_t *p) { return std::string(reinterpret_cast<const char *>(p + 1), p[0]); }

// Sets the separators and ThousandsFlag for one test and restores them.
class DecimalFixture : public ::testing::Test {
protected:
    void SetUp() override {
        savedFormat = CurrentFormat;
        savedFlag = ThousandsFlag;
        format = DefaultFormatBlock;
        Separators(',', '.');
        FormatBlockBind(&format);
        ThousandsFlag = 0;
    }
    void TearDown() override {
        FormatBlockBind(savedFormat);
        ThousandsFlag = savedFlag;
    }
    void Separators(uint8_t decimal, uint8_t thousands) {
        format.decimalSep[1] = decimal;
        format.thousandsSep[1] = thousands;
    }
    std::string Format(const PackedDecimal &p, int n) {
        PString out;
        DecFormat(&p, n, out);
        return S(out);
    }
    FormatBlock format;
    FormatBlock *savedFormat;
    uint8_t savedFlag;
};
using DecimalImage = DecimalFixture;
using DecimalArithmetic = DecimalFixture;
using DecimalConversion = DecimalFixture;
using DecimalText = DecimalFixture;
using DecimalRows = DecimalFixture;

// A random value with 1 to maxDigits digits and a random sign.
__int128 RandomValue(std::mt19937_64 &rng, int maxDigits) {
    int digits = 1 + static_cast<int>(rng() % maxDigits);
    __int128 v = 0;
    for (int i = 0; i < digits; i++) v = v * 10 + static_cast<int>(rng() % 10);
    return rng() % 2 ? -v : v;
}

// Runs f on a fresh destination and shows the result.
template <typename F>
std::string Result(F f) {
    PackedDecimal r;
    f(&r);
    return Str(r);
}
using Op = void (*)(const PackedDecimal *, const PackedDecimal *, PackedDecimal *);
std::string Apply(Op op, const PackedDecimal &a, const PackedDecimal &b) {
    return Result([&](PackedDecimal *r) { op(&a, &b, r); });
}
std::string FromText(const std::string &t) { return Result([&](PackedDecimal *r) { TextToDec(Text(t), r); }); }
std::string Rounded(const char *v, int n) { return Result([&](PackedDecimal *r) { DecRound(D(v), n, r); }); }
std::string Up2(const char *v) { return Result([&](PackedDecimal *r) { DecShiftUp2(D(v), r); }); }
std::string Down2(const char *v) { return Result([&](PackedDecimal *r) { DecShiftDown2(D(v), r); }); }
std::string FromDouble(double x) { return Result([&](PackedDecimal *r) { DecFromDouble(r, x); }); }
std::string FromLongDouble(long double x) { return Result([&](PackedDecimal *r) { DecFromLongDouble(x, r); }); }
std::string FromDigits(const std::string &t) { return Result([&](PackedDecimal *r) { DecFromDigitText(Text(t), r); }); }

// The digits of ParseNumberText, "-" first when negative, and "?" last
// when the scan stopped before the end of the text.
std::string Parsed(const std::string &text, int n) {
    PString out;
    bool negative;
    bool whole = ParseNumberText(Text(text), out, n, &negative);
    return (negative ? "-" : "") + S(out) + (whole ? "" : "?");
}
// TextToDecChecked's value, "?" last when it returned false.
std::string Checked(const std::string &text) {
    PackedDecimal p;
    bool ok = TextToDecChecked(Text(text), &p);
    return Str(p) + (ok ? "" : "?");
}
std::string CheckedLong(const std::string &text) {
    int32_t v = -1;
    bool ok = TextToLongChecked(Text(text), &v);
    return std::to_string(v) + (ok ? "" : "?");
}

}  // namespace

TEST_F(DecimalImage, BlankZeroAndSignRules) {
    PackedDecimal blank = Blank(), zero{}, five = D("5"), minus = D("-5"), also{}, p;
    also.b[0] = 0x0E;
    EXPECT_TRUE(DecIsBlank(&also));
    EXPECT_FALSE(DecIsBlank(&zero));
    EXPECT_TRUE(DecIsZero(&blank));
    EXPECT_FALSE(DecIsAllZero(&blank));
    EXPECT_FALSE(DecEqual(&blank, &zero));
    EXPECT_TRUE(DecEqual(&blank, &also));
    EXPECT_EQ(DecCompare(&blank, &zero), 0);
    EXPECT_EQ(DecCompare(&minus, &blank), -1);
    EXPECT_EQ(DecCompare(D("-2"), D("-10")), 1);
    EXPECT_EQ(DecSign(&minus), -1);
    EXPECT_EQ(DecCompareDouble(&five, 5.0004), 0);
    // A binary value beyond the range has no PackedDecimal of its own; it
    // still lies above (or below) every value, never level with zero.
    EXPECT_EQ(DecCompareDouble(&five, 1e21), -1);
    EXPECT_EQ(DecCompareDouble(&minus, 1e30), -1);
    EXPECT_EQ(DecCompareDouble(&five, -1e30), 1);
    EXPECT_EQ(DecCompareDouble(&blank, HUGE_VAL), -1);
    EXPECT_EQ(DecCompareDouble(&minus, -HUGE_VAL), 1);
    DecSetNegative(&zero);
    EXPECT_TRUE(DecIsAllZero(&zero));
    EXPECT_EQ(Result([&](PackedDecimal *r) { DecNegateInto(&five, r); }), "-5.000");
    EXPECT_EQ(Result([&](PackedDecimal *r) { DecNegateInto(&minus, r); }), "5.000");
    EXPECT_EQ(Result([&](PackedDecimal *r) { DecNegateInto(&blank, r); }), "blank");
    EXPECT_EQ(Result([&](PackedDecimal *r) { DecAbs(&minus, r); }), "5.000");
    DecMin(&five, &minus, &p);
    EXPECT_EQ(Str(p), "-5.000");
    DecSetDigit(&p, 3, 0x27);
    EXPECT_EQ(DecGetDigit(&p, 3), 7);
    EXPECT_EQ(DecGetDigit(&p, 2), 0);
}

TEST_F(DecimalArithmetic, AddAndSubtractFollowSignsAndBlankRules) {
    PackedDecimal blank = Blank(), zero{}, r = D("7");
    EXPECT_EQ(Apply(DecAdd, blank, blank), "0.000");
    EXPECT_EQ(Apply(DecAdd, blank, D("2")), "2.000");
    EXPECT_EQ(Apply(DecSub, blank, D("2")), "-2.000");
    EXPECT_EQ(Apply(DecSub, D("2"), blank), "2.000");
    EXPECT_EQ(Apply(DecSub, zero, zero), "0.000");
    DecAdd(&r, &r, &r);
    EXPECT_EQ(Str(r), "14.000");

    std::mt19937_64 rng(12345);
    for (int i = 0; i < 2000; i++) {
        __int128 a = RandomValue(rng, 23), b = RandomValue(rng, 23);
        ASSERT_EQ(Apply(DecAdd, Make(a), Make(b)), Str(a + b)) << Str(a) << " + " << Str(b);
        ASSERT_EQ(Apply(DecSub, Make(a), Make(b)), Str(a - b)) << Str(a) << " - " << Str(b);
        ASSERT_EQ(DecCompare(Make(a), Make(b)), a > b ? 1 : (a < b ? -1 : 0));
    }
}

TEST_F(DecimalArithmetic, ResultsOutOfRangeAreBlank) {
    const char *top = "799999999999999999999.999";
    EXPECT_EQ(Apply(DecAdd, D("700000000000000000000"), D("100000000000000000000")), "blank");
    EXPECT_EQ(Apply(DecAdd, D("-700000000000000000000"), D("-100000000000000000000")), "blank");
    EXPECT_EQ(Apply(DecSub, D("700000000000000000000"), D("-100000000000000000000")), "blank");
    EXPECT_EQ(Apply(DecAdd, D(top), D("0.001")), "blank");
    EXPECT_EQ(Apply(DecAdd, D("400000000000000000000"), D("399999999999999999999.999")), top);
    PackedDecimal p = D(top), q = D("-9.999");
    DecIncrementAt(&p, 0);
    DecIncrementAt(&q, 0);
    EXPECT_EQ(Str(p), "blank");
    EXPECT_EQ(Str(q), "-10.000");
    EXPECT_EQ(Rounded(top, 2), "blank");
    EXPECT_EQ(Up2("8000000000000000000"), "blank");
    EXPECT_EQ(Up2("-7999999999999999999.999"), "-799999999999999999999.900");
    EXPECT_EQ(Apply(DecMul, D("1000000000000"), D("1000000000")), "blank");
    EXPECT_EQ(Apply(DecMul, D(top), D(top)), "blank");
    EXPECT_EQ(Apply(DecDiv, D(top), D("0.001")), "blank");
    EXPECT_EQ(FromDigits(std::string(24, '7')), "777777777777777777777.777");
    EXPECT_EQ(FromDigits("8" + std::string(23, '0')), "blank");
    EXPECT_EQ(FromDigits("1" + std::string(24, '0')), "blank");
    EXPECT_EQ(FromDigits("-0" + std::string(24, '1')), "-111111111111111111111.111");
}

TEST_F(DecimalArithmetic, RoundingAndShifts) {
    EXPECT_EQ(Rounded("1.005", 2), "1.010");
    EXPECT_EQ(Rounded("-1.005", 2), "-1.010");
    EXPECT_EQ(Rounded("1.004", 2), "1.000");
    EXPECT_EQ(Rounded("-0.004", 2), "0.000");  // zero never keeps the sign
    EXPECT_EQ(Rounded("99.95", 1), "100.000");
    EXPECT_EQ(Rounded("1250", -2), "1300.000");
    EXPECT_EQ(Rounded("-1249.999", -2), "-1200.000");
    EXPECT_EQ(Rounded("499999999999999999999", -21), "0.000");
    EXPECT_EQ(Rounded("500000000000000000000", -21), "blank");
    EXPECT_EQ(Rounded("-999999999999999999.999", INT32_MIN), "0.000");
    EXPECT_EQ(Rounded("-1.005", INT32_MAX), "-1.005");
    EXPECT_EQ(Result([](PackedDecimal *r) { DecRound(Blank(), 2, r); }), "blank");
    EXPECT_EQ(Down2("1.239"), "0.012");
    EXPECT_EQ(Down2("-0.009"), "0.000");
    EXPECT_EQ(Down2("-123.45"), "-1.234");
    EXPECT_EQ(Up2("-1.234"), "-123.400");
    EXPECT_EQ(Result([](PackedDecimal *r) { DecShiftUp2(Blank(), r); }), "0.000");
}

TEST_F(DecimalArithmetic, MultiplyAndDivideExactlyWithHalvesAwayFromZero) {
    PackedDecimal blank = Blank(), zero{};
    EXPECT_EQ(Apply(DecMul, blank, blank), "blank");
    EXPECT_EQ(Apply(DecMul, blank, D("5")), "0.000");
    EXPECT_EQ(Apply(DecMul, D("5"), zero), "0.000");
    EXPECT_EQ(Apply(DecDiv, D("5"), zero), "blank");
    EXPECT_EQ(Apply(DecDiv, D("5"), blank), "blank");
    EXPECT_EQ(Apply(DecDiv, zero, D("5")), "0.000");
    EXPECT_EQ(Apply(DecDiv, blank, D("5")), "0.000");
    EXPECT_EQ(Apply(DecMul, D("0.5"), D("2.001")), "1.001");
    EXPECT_EQ(Apply(DecMul, D("-0.001"), D("0.5")), "-0.001");
    EXPECT_EQ(Apply(DecDiv, D("-2"), D("3")), "-0.667");

    // Against rounding written as (2 x exact + unit) / (2 x scale),
    // truncating toward zero.
    std::mt19937_64 rng(777);
    for (int i = 0; i < 4000; i++) {
        bool wide = i % 2;  // wide values take the 128-bit paths
        __int128 a = RandomValue(rng, wide ? 20 : 12), b = RandomValue(rng, wide ? 4 : 12);
        if (b == 0) continue;
        __int128 p2 = 2 * a * b, unit = (p2 < 0 ? -1000 : 1000);
        ASSERT_EQ(Apply(DecMul, Make(a), Make(b)), Str((p2 + unit) / 2000)) << Str(a) << " x " << Str(b);
        __int128 n = (a < 0 ? -a : a) * 1000, m = b < 0 ? -b : b, q = (2 * n + m) / (2 * m);
        ASSERT_EQ(Apply(DecDiv, Make(a), Make(b)), Str((a < 0) != (b < 0) ? -q : q)) << Str(a) << " / " << Str(b);
    }
}

TEST_F(DecimalConversion, BinaryValuesRoundToThousandthsHalfAway) {
    EXPECT_EQ(FromDouble(2.0005), "2.001");
    EXPECT_EQ(FromDouble(1.0005), "1.001");
    EXPECT_EQ(FromDouble(-1.0005), "-1.001");
    EXPECT_EQ(FromDouble(2.00049), "2.000");
    EXPECT_EQ(FromDouble(-0.0004), "0.000");
    EXPECT_EQ(FromDouble(0.1 + 0.2), "0.300");
    EXPECT_EQ(FromDouble(123456789012.345), "123456789012.345");
    EXPECT_EQ(FromDouble(1e21), "blank");
    EXPECT_EQ(FromDouble(8e20), "blank");
    EXPECT_EQ(FromDouble(NAN), "blank");
    EXPECT_EQ(FromDouble(-INFINITY), "blank");
    EXPECT_EQ(Result([](PackedDecimal *r) { DecFromDoubleSmall(9999999999999.5, r); }), "9999999999999.500");
    EXPECT_EQ(Result([](PackedDecimal *r) { DecFromDoubleSmall(1e13, r); }), "blank");
    EXPECT_EQ(FromLongDouble(2.0005L), "2.001");
    EXPECT_EQ(FromLongDouble(-123456789012345.6785L), "-123456789012345.679");
    EXPECT_EQ(FromLongDouble(1e21L), "blank");
    EXPECT_EQ(FromLongDouble(9999999999999.99999L), "10000000000000.000");

    EXPECT_EQ(Result([](PackedDecimal *r) { DecFromLong(r, INT32_MIN); }), "-2147483648.000");
    EXPECT_EQ(DecToLong(D("-2147483648.9")), INT32_MIN);
    EXPECT_EQ(DecToLong(D("-99999999999")), INT32_MIN);
    EXPECT_EQ(DecToLong(D("2147483648")), INT32_MAX);
    EXPECT_EQ(DecToLong(Blank()), 0);
}

TEST_F(DecimalConversion, ToFloatKindsAndPowerBounds) {
    double d;
    long double ld;
    int kind, digits;
    DecToFloat(D("-1234.5"), &d, &ld, &kind, &digits);
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(d, -1234.5);
    EXPECT_EQ(digits, 4);
    DecToFloat(D("12345678901234567.5"), &d, &ld, &kind, &digits);
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(ld, 12345678901234567.5L);
    EXPECT_EQ(digits, 17);
    DecToFloat(Blank(), &d, &ld, &kind, &digits);
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(kind + digits, 0);
    EXPECT_EQ(DecPow10Double(16), 1.0);
    EXPECT_EQ(DecPow10LongDouble(24), 1.0L);
    EXPECT_EQ(DecPow10Long(2), 0);
    EXPECT_EQ(DecPow10Long(13), 1);
}

TEST_F(DecimalText, ParsingTypedNumbers) {
    EXPECT_EQ(Parsed("-0,00", 2), "000");
    EXPECT_EQ(Parsed("12,3456", 3), "12345");
    EXPECT_EQ(Parsed("  -1.234.567,8  ", 2), "-123456780");
    EXPECT_EQ(Parsed("12x3", 1), "120?");
    EXPECT_EQ(Parsed("1,2,3", 3), "1200?");
    Separators(',', ' ');
    EXPECT_EQ(Parsed("1 234.5", 1), "12345");  // "." is a decimal point too
    EXPECT_EQ(FromText(""), "blank");
    EXPECT_EQ(FromText(" - "), "blank");
    EXPECT_EQ(FromText("0,0009"), "0.000");
    EXPECT_EQ(FromText(std::string(30, '9')), "blank");
    EXPECT_EQ(FromText(std::string(252, '0') + "1,5"), "blank");  // digits beyond a PString
    EXPECT_EQ(Checked("   "), "blank");
    EXPECT_EQ(Checked(" 7,25 "), "7.250");
    EXPECT_EQ(Checked("7,25kr"), "blank?");
    EXPECT_EQ(Checked("-"), "blank?");
    EXPECT_EQ(Checked("900000000000000000000"), "blank?");

    EXPECT_EQ(TextToLong(Text("-2147483648")), INT32_MIN);
    EXPECT_EQ(TextToLong(Text("2147483648")), 0);
    EXPECT_EQ(TextToLong(Text("99999999999")), 0);  // same sign after a 32-bit wrap
    EXPECT_EQ(TextToLong(Text("00000000000042,9")), 42);
    EXPECT_EQ(TextToLong(Text("17 pcs")), 17);
    EXPECT_EQ(CheckedLong(" 2147483647 "), "2147483647");
    EXPECT_EQ(CheckedLong("17 pcs"), "0?");
    EXPECT_EQ(CheckedLong(""), "0?");
    EXPECT_EQ(CheckedLong("-2147483649"), "0?");
    EXPECT_EQ(TextToDouble(Text(" 12,5abc")), 12.5);
    EXPECT_EQ(TextToDouble(Text("+2,25")), 2.25);
    EXPECT_TRUE(std::isinf(TextToDouble(Text("1e999"))));
}

TEST_F(DecimalText, DigitTexts) {
    auto digits = [](const PackedDecimal *p) {
        PString out;
        DecToDigitText(p, out);
        return S(out);
    };
    EXPECT_EQ(digits(D("-0.05")), "-50");
    EXPECT_EQ(digits(D("12")), "12000");
    EXPECT_EQ(digits(Val{}), "");
    EXPECT_EQ(FromDigits("-50"), "-0.050");
    EXPECT_EQ(FromDigits("12a"), "blank");
    PString out;
    LongToDigitText(INT32_MIN, out);
    EXPECT_EQ(S(out), "-2147483648");
}

TEST_F(DecimalText, DisplayFormat) {
    PackedDecimal big = D("1234567.899");
    ThousandsFlag = 1;
    EXPECT_EQ(Format(big, 2), "1.234.567,89");
    EXPECT_EQ(Format(D("-1234"), 0), "-1.234");
    EXPECT_EQ(Format(D("123456"), 1), "123.456,0");
    ThousandsFlag = 0;
    EXPECT_EQ(Format(big, 2), "1234567,89");
    EXPECT_EQ(Format(PackedDecimal{}, 2), "0,00");
    EXPECT_EQ(Format(D("0.05"), 2), "0,05");
    EXPECT_EQ(Format(D("-0.5"), 2), "-0,50");
    EXPECT_EQ(Format(D("0.001"), 1), "0,0");
    EXPECT_EQ(Format(D("999.999"), 0), "999");
    EXPECT_EQ(Format(Blank(), 2), "");
    Separators('.', ',');
    ThousandsFlag = 1;
    EXPECT_EQ(Format(big, 3), "1,234,567.899");
    EXPECT_EQ(Format(D("-799999999999999999999.999"), 3), "-799,999,999,999,999,999,999.999");
    PString out;
    DoubleToText2(2.0049, out);
    EXPECT_EQ(S(out), "2.00");
    // An emptied thousands separator (the store clears the whole field)
    // groups nothing: no zero byte stands between the thousands.
    Separators(',', 0);
    format.thousandsSep[0] = 0;
    EXPECT_EQ(Format(big, 2), "1234567,89");
}

TEST_F(DecimalText, TextRoundTrips) {
    std::mt19937_64 rng(99);
    __int128 limit = 8;  // 8 x 10^20 in thousandths
    for (int i = 0; i < 23; i++) limit *= 10;
    for (int round = 0; round < 4; round++) {
        Separators(round < 2 ? ',' : '.', round < 2 ? '.' : ',');
        ThousandsFlag = round % 2;
        for (int i = 0; i < 500; i++) {
            __int128 v = RandomValue(rng, 24);
            if (v >= limit || -v >= limit) continue;
            std::string shown = Format(Make(v), 3);
            PackedDecimal back;
            ASSERT_TRUE(TextToDecChecked(Text(shown), &back)) << shown;
            ASSERT_EQ(Str(back), Str(v)) << shown;
            ASSERT_EQ(Format(back, 3), shown);
        }
    }
}

TEST_F(DecimalRows, RowFormulas) {
    auto row = [](const char *q, const char *price, const PackedDecimal *unit, const PackedDecimal *discount) {
        return Result([&](PackedDecimal *r) { DecRowAmount(D(q), D(price), unit, discount, r); });
    };
    EXPECT_EQ(Result([](PackedDecimal *r) { DecPercentFactor(D("25"), r); }), "1.250");
    EXPECT_EQ(Result([](PackedDecimal *r) { DecPercentFactor(D("-12.5"), r); }), "0.880");
    EXPECT_EQ(row("3", "19.99", nullptr, D("10")), "53.970");  // 59.97 less 5.997
    EXPECT_EQ(row("3", "19.99", D("0"), Blank()), "59.970");
    EXPECT_EQ(row("250", "12.40", D("100"), D("150")), "31.000");  // beyond 100 % is ignored
    EXPECT_EQ(row("-2", "0.333", nullptr, D("-50")), "-1.000");    // -0.666 plus 50 %
    PackedDecimal q = D("4");
    DecRowAmount(&q, &q, &q, nullptr, &q);
    EXPECT_EQ(Str(q), "4.000");
    EXPECT_EQ(Result([](PackedDecimal *r) { DecPercentOfText(Text("200,5"), D("12.5"), r); }), "25.060");
    EXPECT_EQ(Result([](PackedDecimal *r) { DecPercentOfText(Text("1e30"), D("50"), r); }), "blank");
}
