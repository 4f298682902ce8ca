// decimal_product_range_test.cpp - products and sums near the edge of the
// decimal range (the structure totals of large quantities and costs):
// every result is the exact value rounded to thousandths, or blank when
// it leaves the range, and never a value the exact view cannot take.
#include <gtest/gtest.h>

#include <random>

#include "core/decimal.h"

namespace {

constexpr __int128 Range = __int128(8) * 100000000000 * 1000000000000;   // 8 x 10^23 thousandths

__int128 Magnitude(std::mt19937_64 &random)
{
    int digits = int(random() % 24) + 1;
    __int128 v = 0;
    for (int i = 0; i < digits; i++) v = v * 10 + __int128(random() % 10);
    return v % Range;
}

TEST(DecimalProductRange, ProductsAreExactOrBlank)
{
    std::mt19937_64 random(76);
    for (int i = 0; i < 20000; i++) {
        __int128 a = Magnitude(random), b = Magnitude(random);
        if (random() % 2) a = -a;
        PackedDecimal da, db, product;
        DecFromThousandths(&da, a);
        DecFromThousandths(&db, b);
        DecMul(&da, &db, &product);
        __int128 got = 0;
        if (a == 0 || b == 0) {
            EXPECT_TRUE(DecToThousandths(&product, &got));
            EXPECT_EQ(got, 0);
            continue;
        }
        // The exact product in thousandths, rounded halves away from zero,
        // when it can be computed without overflow.
        unsigned __int128 ma = a < 0 ? -a : a, mb = b < 0 ? -b : b, p;
        if (__builtin_mul_overflow(ma, mb, &p)) {
            EXPECT_TRUE(DecIsBlank(&product)) << i;
            continue;
        }
        unsigned __int128 q = p / 1000 + (p % 1000 >= 500 ? 1 : 0);
        if (q >= (unsigned __int128)Range) {
            EXPECT_TRUE(DecIsBlank(&product)) << i;
            continue;
        }
        ASSERT_TRUE(DecToThousandths(&product, &got)) << i;
        __int128 want = a < 0 ? -(__int128)q : (__int128)q;
        EXPECT_TRUE(got == want) << i;
    }
}

TEST(DecimalProductRange, SumsLeavingTheRangeAreBlank)
{
    PackedDecimal big, sum;
    DecFromThousandths(&big, Range - 1);
    DecAdd(&big, &big, &sum);
    EXPECT_TRUE(DecIsBlank(&sum));
    PackedDecimal negative;
    DecFromThousandths(&negative, -(Range - 1));
    DecAdd(&negative, &negative, &sum);
    EXPECT_TRUE(DecIsBlank(&sum));
    DecAdd(&big, &negative, &sum);
    __int128 got = -1;
    EXPECT_TRUE(DecToThousandths(&sum, &got));
    EXPECT_TRUE(got == 0);
}

}  // namespace
