// Tests of amounts in words: the group words of each routine, cents and
// billions taken exactly from the digits, the country variants and
// their joining pieces. Every word text n reads "w<n> ", so a result
// spells out the text numbers it used.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/amount_words.h"
#include "core/company_variant.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/ui_text.h"

namespace {

const uint8_t *WordText(int n) {
    static PString buf;
    if (n < 2800 || n > 2899) return nullptr;
    PStringFromView(buf, "w" + std::to_string(n) + " ");
    return buf;
}

std::string W(std::initializer_list<int> numbers) {
    std::string s;
    for (int n : numbers) s += "w" + std::to_string(n) + " ";
    return s;
}

std::string Upper(std::string s) {
    if (!s.empty()) s[0] = static_cast<char>(UpperChar(static_cast<uint8_t>(s[0])));
    return s;
}

PackedDecimal Thousandths(long long v) {
    PackedDecimal d;
    DecFromThousandths(&d, v);
    return d;
}

struct AmountWords : ::testing::Test {
    std::array<uint8_t, 552> company{};
    void SetUp() override {
        UiTextSetLookup(WordText);
        CompanyVariantBind(company.data());
    }
    void TearDown() override {
        UiTextSetLookup(nullptr);
        CompanyVariantBind(nullptr);
        ThousandsFlag = 0;
    }
    void Variant(uint16_t v) { std::memcpy(&company[CompanyVariantOffset], &v, 2); }
    std::string Words(long long thousandths, int kind = WordsKindAmount) {
        PackedDecimal d = Thousandths(thousandths);
        PString out;
        AmountToWords(&d, kind, out);
        return PStringToStd(out);
    }
    using GroupFn = void (*)(int, int, uint8_t *);
    static std::string Group(GroupFn fn, int group, int kind) {
        PString out;
        fn(group, kind, out);
        return PStringToStd(out);
    }
};

}  // namespace

TEST_F(AmountWords, OnlyKindTwoAndNonBlankAmountsAreWorded) {
    EXPECT_EQ(Words(5000, 1), "");
    EXPECT_EQ(Words(5000, 0), "");
    PackedDecimal blank;
    DecSetBlank(&blank);
    PString out;
    AmountToWords(&blank, WordsKindAmount, out);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(Words(5000), Upper(W({2825, 2891})) + "00" + W({2892}));
    EXPECT_EQ(Words(1000000000000000LL), "") << "beyond the billions group";
}

TEST_F(AmountWords, GroupWordsOfEachRoutine) {
    EXPECT_EQ(Group(WordsGroup, 1, 1), W({2821, 2807}));
    EXPECT_EQ(Group(WordsGroup, 3, 1), W({2823, 2808}));
    EXPECT_EQ(Group(WordsGroup, 13, 1), W({2833, 2809}));
    EXPECT_EQ(Group(WordsGroup, 23, 1), W({2842, 2823, 2808}));
    EXPECT_EQ(Group(WordsGroup, 21, 3), W({2842, 2821, 2803}));
    EXPECT_EQ(Group(WordsGroup, 0, 1), "");
    EXPECT_EQ(Group(WordsGroup, 112, 2), W({2811, 2832, 2806}));
    EXPECT_EQ(Group(WordsGroup, 904, 0), W({2819, 2824})) << "units have no group word";
    EXPECT_EQ(Group(WordsGroup, 1000, 0), "");

    EXPECT_EQ(Group(WordsGroupAlt, 1, 2), W({2821, 2804}));
    EXPECT_EQ(Group(WordsGroupAlt, 13, 2), W({2833, 2805}));
    EXPECT_EQ(Group(WordsGroupAlt, 0, 2), "");

    EXPECT_EQ(Group(WordsGroupGeneric, 21, 1), W({2842, 2851, 2807}));
    EXPECT_EQ(Group(WordsGroupGeneric, 2, 1), W({2852, 2808}));
    EXPECT_EQ(Group(WordsGroupGeneric, 11, 1), W({2831, 2809}));
    EXPECT_EQ(Group(WordsGroupGeneric, 101, 1), W({2811, 2851, 2807}));
    EXPECT_EQ(Group(WordsGroupGeneric, 21, 2), W({2842, 2851, 2806})) << "millions as the plain routine";

    EXPECT_EQ(Group(WordsGroupForint, 20, 0), W({2842}));
    EXPECT_EQ(Group(WordsGroupForint, 25, 0), W({2854}));
    EXPECT_EQ(Group(WordsGroupForint, 35, 0), W({2843, 2825}));
    EXPECT_EQ(Group(WordsGroupForint, 222, 1), W({2812, 2851, 2808}));
}

TEST_F(AmountWords, CentsComeExactlyFromTheDigits) {
    EXPECT_EQ(Words(580), Upper(W({2820, 2891})) + "58" + W({2892}));
    EXPECT_EQ(Words(2010), Upper(W({2822, 2891})) + "01" + W({2892}));
    EXPECT_EQ(Words(2300), Upper(W({2822, 2891})) + "30" + W({2892}));
    EXPECT_EQ(Words(-2010), Words(2010)) << "a negative amount is worded by its magnitude";
    EXPECT_EQ(Words(2019), Words(2010)) << "the third decimal is not worded";
    // Every cent value of the first two thousand units.
    const std::string before = W({2891});
    for (long long cents = 0; cents < 200000; cents += 7) {
        std::string w = Words(cents * 10);
        size_t at = w.find(before);
        ASSERT_NE(at, std::string::npos);
        char expected[3] = {static_cast<char>('0' + cents % 100 / 10), static_cast<char>('0' + cents % 10), 0};
        ASSERT_EQ(w.substr(at + before.size(), 2), expected) << "amount " << cents / 100 << "." << cents % 100;
    }
}

TEST_F(AmountWords, BillionsByIntegerDivision) {
    const std::string nines = W({2819, 2849, 2829});
    EXPECT_EQ(Words(999999999990LL),
              Upper(nines + W({2806}) + nines + W({2809}) + nines + W({2891})) + "99" + W({2892}));
    EXPECT_EQ(Words(1999999999999LL), Upper(W({2821, 2801}) + nines + W({2806}) + nines + W({2809}) + nines +
                                             W({2891})) + "99" + W({2892}));
    EXPECT_EQ(Words(1600000000000LL), Upper(W({2821, 2801, 2816, 2806, 2891})) + "00" + W({2892}));
    EXPECT_EQ(Words(999999999999999LL).substr(0, 24), Upper(nines + W({2803})));
    Variant(24);
    EXPECT_EQ(Words(2000000001000LL), Upper(W({2822, 2802, 2821, 2891})) + "00" + W({2892}));
    EXPECT_EQ(Words(5000100), Upper(W({2825, 2808, 2891})) + "10" + W({2892}));
}

TEST_F(AmountWords, CountryVariants) {
    Variant(26);
    EXPECT_EQ(Words(2000000), Upper(W({2822, 2808})) + " Forint");
    EXPECT_EQ(Words(2001000), Upper(W({2822, 2808})) + "-" + W({2821}) + " Forint");
    EXPECT_EQ(Words(1001000), Upper(W({2821, 2807, 2821})) + " Forint");
    EXPECT_EQ(Words(1000021000), Upper(W({2821, 2804})) + "-" + W({2850}) + " Forint");
    Variant(27);
    EXPECT_EQ(Words(5050), "Kr " + W({2825}) + " ja 5 senti");
    ThousandsFlag = 1;
    EXPECT_EQ(Words(1234567890), "Kr " + W({2821, 2804, 2812, 2843, 2824, 2808, 2815, 2846, 2827}) + " ja 89 senti");
    EXPECT_EQ(ThousandsFlag, 1) << "the flag is restored";
    Variant(28);
    EXPECT_EQ(Words(5050), Upper(W({2825})) + " Ls 05 san.");
    EXPECT_EQ(Words(-5050), Words(5050));
    Variant(25);
    EXPECT_EQ(Words(-12500), W({2832}) + "50/100");
    EXPECT_EQ(Words(0), "0/100");

    PString text;   // the groups of an amount's text, three characters each
    PStringFromC(text, "1234567,89");
    const int groups[5] = {DigitGroupAt(text, 15), DigitGroupAt(text, 12), DigitGroupAt(text, 9),
                           DigitGroupAt(text, 6), DigitGroupAt(text, 2)};
    EXPECT_EQ(std::vector<int>(groups, groups + 5), (std::vector<int>{0, 1, 234, 567, 89}));
    // Groups wholly outside the text are 0, however far out n points.
    EXPECT_EQ(DigitGroupAt(text, 1), 9);
    EXPECT_EQ(DigitGroupAt(text, 0) + DigitGroupAt(text, INT32_MIN) + DigitGroupAt(text, INT32_MAX), 0);
}
