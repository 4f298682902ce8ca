// Tests of range splitting as users type it in report selections.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "core/pstring.h"
#include "core/text_range.h"

static std::pair<std::string, std::string> Split(const char *text) {
    PString s, from, to;
    PStringFromC(s, text);
    RangeSplit(s, from, to);
    return {PStringToStd(from), PStringToStd(to)};
}

static std::pair<int32_t, int32_t> SplitNumber(const char *text) {
    PString s;
    PStringFromC(s, text);
    int32_t from, to;
    RangeSplitNumber(s, &from, &to);
    return {from, to};
}

TEST(TextRange, SplitTexts) {
    using R = std::pair<std::string, std::string>;
    EXPECT_EQ(Split("100:200"), R("100", "200"));
    EXPECT_EQ(Split("100"), R("100", "100"));
    EXPECT_EQ(Split("100:"), R("100", ""));
    EXPECT_EQ(Split(":200"), R("", "200"));
    EXPECT_EQ(Split("A;B"), R("A", "B"));
    EXPECT_EQ(Split("A,B"), R("A", "B"));
    EXPECT_EQ(Split("A B"), R("A", "B"));
    EXPECT_EQ(Split("A : B"), R("A", "A"));
    EXPECT_EQ(Split(""), R("", ""));
}

TEST(TextRange, SplitNumbers) {
    using R = std::pair<int32_t, int32_t>;
    EXPECT_EQ(SplitNumber("10-20"), R(10, 20));
    EXPECT_EQ(SplitNumber("10"), R(10, 10));
    EXPECT_EQ(SplitNumber("-20"), R(-1, 20));
    EXPECT_EQ(SplitNumber(" 10"), R(-1, 10));
    EXPECT_EQ(SplitNumber("10:"), R(10, -1));
    EXPECT_EQ(SplitNumber(""), R(-1, -1));
}

TEST(TextRange, SplitToTextFields) {
    PString s;
    PStringFromC(s, "alpha:betagamma");
    uint8_t from[6], to[6];  // maximum length 5
    RangeSplitToFields(s, from, to, 5);
    EXPECT_EQ(PStringToStd(from), "alpha");
    EXPECT_EQ(PStringToStd(to), "betag") << "each end is cut to the field's length";
}

TEST(TextRange, Scanners) {
    PString s, w;
    PStringFromC(s, "  AB-12+3 ;: x");
    int p = 1;
    EXPECT_TRUE(WordUntilSep(s, &p, w));
    EXPECT_EQ(PStringToStd(w), "AB");
    EXPECT_TRUE(RangeNumSepRun(s, &p, w));
    EXPECT_EQ(PStringToStd(w), "-");
    EXPECT_TRUE(RangeDigitRun(s, &p, w));
    EXPECT_EQ(PStringToStd(w), "12");
    EXPECT_FALSE(RangeSepRun(s, &p, w));
    EXPECT_TRUE(RangeNonDigitRun(s, &p, w));
    EXPECT_EQ(PStringToStd(w), "+");
    p += 2;  // past "3 "
    EXPECT_TRUE(RangeSepRun(s, &p, w));
    EXPECT_EQ(PStringToStd(w), ";:");
    RangeRest(s, &p, w);
    EXPECT_EQ(PStringToStd(w), " x");
    EXPECT_EQ(p, s[0] + 1);
    EXPECT_FALSE(RangeWord(s, &p, w)) << "nothing left at the end";
}

// A position at or below 0 reads from the first character, never the
// length byte or memory before the text; one past the end reads nothing
// and stays where it is.
TEST(TextRange, PositionsOutsideTheText) {
    PString s, w;
    PStringFromC(s, " 12 ab");
    for (int start : {0, -1, -300, INT_MIN}) {
        int p = start;
        EXPECT_TRUE(RangeWord(s, &p, w)) << start;
        EXPECT_EQ(PStringToStd(w), "12") << start;
        EXPECT_EQ(p, 4) << start;
        p = start;
        EXPECT_FALSE(RangeDigitRun(s, &p, w)) << start << ": the text starts with a blank";
        EXPECT_EQ(p, 1) << start;
        p = start;
        RangeRest(s, &p, w);
        EXPECT_EQ(PStringToStd(w), " 12 ab") << start;
    }
    for (int beyond : {7, 256, INT_MAX}) {
        int p = beyond;
        EXPECT_FALSE(WordUntilSep(s, &p, w)) << beyond;
        RangeRest(s, &p, w);
        EXPECT_EQ(w[0], 0) << beyond;
        EXPECT_EQ(p, beyond);
    }
}
