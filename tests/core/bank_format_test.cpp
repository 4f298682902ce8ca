// bank_format_test.cpp - the bank-file and payment-slip formatters:
// accounts normalised to 14 digits by their bank group, amounts in
// hundredths, YYMMDD dates, the 7-3-1 check digit and the Code 128
// digit packing with its check character, and what each refuses.
#include <gtest/gtest.h>

#include <string>

#include "core/bank_format.h"
#include "core/barcode_tables.h"
#include "core/pstring.h"

namespace {

std::string S(const uint8_t *p) { return PStringToStd(p); }

std::string P(const char *text, void (*f)(const uint8_t *, uint8_t *)) {
    uint8_t in[256], out[256];
    PStringFromC(in, text);
    f(in, out);
    return S(out);
}

PackedDecimal DecOf(const char *text) {
    uint8_t t[256];
    PStringFromC(t, text);
    PackedDecimal d;
    TextToDec(t, &d);
    return d;
}

TEST(BankFormat, AccountsByTheirBankGroup) {
    struct Case { const char *account; int16_t group; const char *digits; } cases[] = {
        {"123456-785", 1, "12345600000785"},    // six leading digits, the rest right-aligned
        {"423456-785", 4, "42345670000085"},    // group 4 leads with seven
        {"5234 5678 9", 5, "52345670000089"},
        {"7123-45", 71, "71234500000000"},      // 7 and its second digit: 71 leads with six
        {"7012345-6", 70, "70123450000006"},    // 70 leads with seven
        {"9", 1, "90000000000000"},             // fewer than two digits: group 1
        {"", 1, "00000000000000"},
        // Too many digits: the remainder keeps its last ones in its places.
        {"123456-123456789", 1, "12345623456789"},
    };
    for (const Case &c : cases) {
        uint8_t in[256], out[256];
        PStringFromC(in, c.account);
        EXPECT_EQ(BankGroupNumber(in), c.group) << c.account;
        BankAccountTo14Digits(in, out);
        EXPECT_EQ(S(out), c.digits) << c.account;
    }
    EXPECT_EQ(P("ab1-2 c3", DigitsOnly), "123");
}

TEST(BankFormat, AmountsDatesAndTheReferenceCheckDigit) {
    struct Case { const char *amount, *cents; } cases[] = {
        {"1234.50", "123450"}, {"0", "0"}, {"-12.3", "-1230"}, {"1234.567", "123456"}, {"999999.99", "99999999"},
    };
    for (const Case &c : cases) {
        PackedDecimal d = DecOf(c.amount);
        uint8_t out[256];
        AmountCentsText(&d, out);
        EXPECT_EQ(S(out), c.cents) << c.amount;
    }
    PackedDecimal blank;
    DecSetBlank(&blank);
    uint8_t out[256];
    AmountCentsText(&blank, out);
    EXPECT_EQ(S(out), "");

    TwoDigits(2024, out);
    EXPECT_EQ(S(out), "24");
    TwoDigits(7, out);
    EXPECT_EQ(S(out), "07");
    DateRec date{5, 3, 2024};
    DateToYYMMDD(&date, out);
    EXPECT_EQ(S(out), "240305");

    struct Ref { const char *digits; bool ok; const char *with; } refs[] = {
        {"1234", true, "12344"},   // 4x7 + 3x3 + 2x1 + 1x7 = 46
        {"55", true, "550"},       // 5x7 + 5x3 = 50: a multiple of ten appends 0
        {"", false, ""},
        {"12a4", false, "12a4"},
    };
    for (const Ref &r : refs) {
        uint8_t t[256];
        PStringFromC(t, r.digits);
        EXPECT_EQ(AppendRef731(t), r.ok) << r.digits;
        EXPECT_EQ(S(t), r.with) << r.digits;
    }
}

TEST(BankFormat, Code128PacksDigitPairsAndAppendsItsCheck) {
    uint8_t digits[256], out[256];
    PStringFromC(digits, "12345");   // odd: "0" appended, pairs 12 34 50
    out[0] = 0;
    ASSERT_TRUE(Code128PackDigits(digits, out));
    ASSERT_EQ(out[0], 3);
    EXPECT_EQ(OrdinalOfChar(out[1]), 12);
    EXPECT_EQ(OrdinalOfChar(out[2]), 34);
    EXPECT_EQ(OrdinalOfChar(out[3]), 50);
    // (105 + 12x1 + 34x2 + 50x3) mod 103 = 26.
    ASSERT_TRUE(Code128AppendCheck(out));
    ASSERT_EQ(out[0], 4);
    EXPECT_EQ(OrdinalOfChar(out[4]), 26);

    // Pair 00 is the font's character of value 0, not a NUL or blank.
    PStringFromC(digits, "00");
    out[0] = 0;
    ASSERT_TRUE(Code128PackDigits(digits, out));
    EXPECT_EQ(out[1], 148);

    // A non-digit packs nothing; a full text takes no check.
    PStringFromC(digits, "12-4");
    out[0] = 0;
    EXPECT_FALSE(Code128PackDigits(digits, out));
    EXPECT_EQ(out[0], 0);
    out[0] = 255;
    EXPECT_FALSE(Code128AppendCheck(out));
}

}  // namespace
