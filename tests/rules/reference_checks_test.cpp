// reference_checks_test.cpp - payment references: published examples,
// references made by each method against a model written from the
// methods' definitions (the model's "-" check included), and hostile
// input (overlong, non-digits, a check character the method cannot give).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/pstring.h"
#include "rules/checks.h"

namespace {

bool Mod1011(const std::string &s) {
    uint8_t p[256];
    PStringFromView(p, s);
    return CheckRefMod10Mod11(p);
}
bool Ref731(const std::string &s) {
    uint8_t p[256];
    PStringFromView(p, s);
    return CheckRef731(p);
}

// The model: digits indexed from the right, weights by formula.
char ModelMod10(const std::string &digits) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); i++) {
        int d = digits[digits.size() - 1 - i] - '0';
        int p = d * (i % 2 == 0 ? 2 : 1);
        sum += p > 9 ? p - 9 : p;
    }
    return (char)('0' + (10 - sum % 10) % 10);
}
char ModelMod11(const std::string &digits) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); i++) sum += (digits[digits.size() - 1 - i] - '0') * (2 + (int)(i % 6));
    int r = sum % 11;
    return r == 0 ? '0' : r == 1 ? '-' : (char)('0' + 11 - r);
}
char Model731(const std::string &digits) {
    static const int w[3] = {7, 3, 1};
    int sum = 0;
    for (size_t i = 0; i < digits.size(); i++) sum += (digits[digits.size() - 1 - i] - '0') * w[i % 3];
    return (char)('0' + (10 - sum % 10) % 10);
}

std::string RandomDigits(std::mt19937 &rng, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; i++) s += (char)('0' + rng() % 10);
    return s;
}

// Published and hand-worked references, and the cases whose check
// character is special.
TEST(ReferenceChecks, KnownReferences) {
    EXPECT_TRUE(Mod1011("12344"));          // 8 + 3 + 4 + 1 = 16: check 4
    EXPECT_TRUE(Mod1011("79927398713"));    // the classic modulus-10 number
    EXPECT_TRUE(Mod1011("59"));             // 5 x 2 = 10 counts 1: check 9
    EXPECT_FALSE(Mod1011("50"));            // neither 9 nor the modulus-11 check 1
    EXPECT_TRUE(Mod1011("1234560"));        // modulus 10 wants 6, modulus 11 gives 0
    EXPECT_FALSE(Mod1011("1234561"));
    EXPECT_TRUE(Mod1011("91"));             // 9 x 2 = 18 -> 9: check 1
    EXPECT_TRUE(Mod1011("190"));            // 9 x 2 -> 9, 1: s = 10, check 0

    EXPECT_TRUE(Ref731("1232"));            // 3 x 7 + 2 x 3 + 1 = 28: check 2
    EXPECT_TRUE(Ref731("12345672"));
    for (const char *r : {"1245", "1258", "1261", "1274", "1287"}) EXPECT_TRUE(Ref731(r)) << r;
    EXPECT_FALSE(Ref731("1233"));

    // Empty passes; one character is tested against "0".
    EXPECT_TRUE(Mod1011(""));
    EXPECT_TRUE(Ref731(""));
    EXPECT_TRUE(Mod1011("0"));
    EXPECT_TRUE(Ref731("0"));
    EXPECT_FALSE(Mod1011("5"));
    EXPECT_FALSE(Ref731("5"));
    EXPECT_FALSE(Mod1011("-"));
}

// References made by each method pass; every other check character fails
// unless the other modulus happens to give it ("-" only by modulus 11).
TEST(ReferenceChecks, MadeReferencesPassAndOthersFail) {
    std::mt19937 rng(20);
    const std::string checks = "0123456789-";
    for (int i = 0; i < 400; i++) {
        std::string d = RandomDigits(rng, rng() % 21);
        const char m10 = ModelMod10(d), m11 = ModelMod11(d);
        for (char c : checks)
            EXPECT_EQ(Mod1011(d + c), c == m10 || c == m11) << d << c;
        std::string d731 = RandomDigits(rng, rng() % 22);
        const char m731 = Model731(d731);
        for (char c : checks) EXPECT_EQ(Ref731(d731 + c), c == m731) << d731 << c;
    }
}

// Input nobody should weigh: more digits than the weights cover, letters,
// blanks, signs, a "-" before the end, and the longest PString.
TEST(ReferenceChecks, HostileReferencesAreRefused) {
    std::string d20 = "12345678901234567890", d21 = d20 + "1", d22 = d21 + "2";
    EXPECT_TRUE(Mod1011(d20 + ModelMod10(d20)));
    EXPECT_FALSE(Mod1011(d21 + ModelMod10(d21)));
    EXPECT_FALSE(Mod1011(d21 + ModelMod11(d21)));
    EXPECT_TRUE(Ref731(d21 + Model731(d21)));
    EXPECT_FALSE(Ref731(d22 + Model731(d22)));

    for (const char *bad : {"12a44", "1 2344", " 12344", "+12344", "12-44", "1234x", "1234 ", "\x01" "2344"}) {
        EXPECT_FALSE(Mod1011(bad)) << bad;
        EXPECT_FALSE(Ref731(bad)) << bad;
    }
    // A non-digit whose code minus "0" would weigh like a digit: ":" is 10.
    EXPECT_FALSE(Mod1011(":0"));
    EXPECT_FALSE(Ref731("12:2"));
    std::string longest(255, '0');
    EXPECT_FALSE(Mod1011(longest));
    EXPECT_FALSE(Ref731(longest));
}

}  // namespace
