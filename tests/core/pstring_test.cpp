// Tests of the PString library: limits, comparison orders, search,
// padding and word splitting.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/pstring.h"

static std::string S(const uint8_t *p) { return PStringToStd(p); }

struct P {
    PString b;
    explicit P(const char *s) { PStringFromC(b, s); }
    operator uint8_t *() { return b; }
};

TEST(PString, ConversionsStopAtTheirLimits) {
    std::string longText(300, 'x');
    PString p;
    PStringFromC(p, longText.c_str());
    EXPECT_EQ(p[0], 254);
    PStringFromView(p, longText);
    EXPECT_EQ(p[0], 255);
    char c[256];
    PStringToC(P("abc"), c);
    EXPECT_STREQ(c, "abc");
}

TEST(PString, AppendNeverPassesTheLengthByte) {
    PString a;
    PStringFromView(a, std::string(200, 'a'));
    PString b;
    PStringFromView(b, std::string(100, 'b'));
    PStringAppend(a, b);
    EXPECT_EQ(a[0], 255);
    EXPECT_EQ(a[255], 'b');
    PStringAppendChar(a, 'z');
    EXPECT_EQ(a[0], 255);
    PStringAppendC(a, "more");
    EXPECT_EQ(a[0], 255);

    // A list item is added only when it and its comma fit the limit.
    for (auto [start, item, limit, expected] : {std::tuple{"A", "B", 3, "A,B"}, {"A", "B", 2, "A"}, {"", "B", 1, "B"},
                                                {"B", "", 10, "B"}}) {
        P list(start);
        PStringAppendList(list, P(item), limit);
        EXPECT_EQ(S(list), expected) << start << " + " << item << " within " << limit;
    }
}

TEST(PString, ComparisonOrders) {
    EXPECT_EQ(PStringCompare(P("AB"), P("ABC")), -1);
    EXPECT_EQ(PStringCompare(P("B"), P("ABC")), 1);
    EXPECT_EQ(PStringCompare(P("ABC"), P("ABC")), 0);
    EXPECT_EQ(PStringCompare(P("\xE5"), P("a")), 1) << "bytes compare unsigned";
    EXPECT_FALSE(PStringEqual(P("x"), P("xy")));

    // Without a collation table: upper-cased bytewise.
    CollationTable = nullptr;
    EXPECT_EQ(PStringCompareNoCase(P("abc"), P("ABC")), 0);
    EXPECT_EQ(PStringCompareNoCase(P("\xE4"), P("\xC4")), 0);
    EXPECT_EQ(PStringCompareN(4, P("ABCD"), P("abce")), 0);
    EXPECT_EQ(PStringCompareN(5, P("ABCD"), P("abce")), -1);

    // With one: weights decide, and NoCase uses them as they are.
    uint8_t table[256];
    for (int i = 0; i < 256; i++) table[i] = (uint8_t)i;
    table['z'] = 1;  // 'z' sorts before everything
    CollationTable = table;
    EXPECT_EQ(PStringCompareCollate(P("z"), P("a")), -1);
    EXPECT_EQ(PStringCompareNoCase(P("za"), P("a")), -1);
    EXPECT_EQ(PStringCompareCollate(P("a"), P("ab")), -1);
    CollationTable = nullptr;
}

TEST(PString, FindAndPrefixIgnoreCase) {
    for (auto [hay, needle, at] : {std::tuple{"Invoice", "", 1}, {"Invoice", "VOI", 3}, {"Invoice", "xyz", 0},
                                   {"ab", "abc", 0}})
        EXPECT_EQ(PStringFind(P(hay), P(needle)), at) << hay << " / " << needle;
    EXPECT_TRUE(PStringPrefixEqual(P("Inv"), P("INVOICE")));
    EXPECT_TRUE(PStringPrefixEqual(P(""), P("x")));
    EXPECT_FALSE(PStringPrefixEqual(P("Inx"), P("INVOICE")));
}

TEST(PString, PadFilterMapTrim) {
    PString d;
    PStringPadLeft(d, P("hello"), '0', 3);
    EXPECT_EQ(S(d), "hello");
    PStringPadLeft(d, P("42"), '0', 5);
    EXPECT_EQ(S(d), "00042");
    PStringPadRight(d, P("42"), '.', 4);
    EXPECT_EQ(S(d), "42..");
    PStringPadLeft(d, P("x"), ' ', 400);
    EXPECT_EQ(d[0], 255);

    P s("a1 b2-3");
    PStringDigits(d, s);
    EXPECT_EQ(S(d), "123");
    PStringNoBlanks(s, s);
    EXPECT_EQ(S(s), "a1b2-3");
    uint8_t upper[256];
    for (int i = 0; i < 256; i++) upper[i] = UpperChar((uint8_t)i);
    PStringMap(d, P("ab\xE5"), upper);
    EXPECT_EQ(S(d), "AB\xC5");
    EXPECT_EQ(PStringEvenSize(P("abc")) + PStringEvenSize(P("ab")), 4 + 2);

    P t("a_b  ");
    PStringTrimRight(t);
    PStringUnderscoreToBlank(t);
    EXPECT_EQ(S(t), "a b");
    P blanks("   ");
    PStringTrimRight(blanks);
    EXPECT_EQ(blanks.b[0], 0);
}

TEST(PString, WrapAtWordBoundary) {
    EXPECT_EQ(LastBlankBefore(P("one two three"), 10), 8);
    EXPECT_EQ(LastBlankBefore(P("one two"), 3), -1);
    EXPECT_EQ(LastBlankBefore(P("one two"), 0), -1);

    P s("one two three");
    P rest("");
    SplitAtWord(s, rest, 8);
    EXPECT_EQ(S(s), "one two");
    EXPECT_EQ(S(rest), "three");
    SplitAtWord(s, rest, LastBlankBefore(s, s.b[0]));
    EXPECT_EQ(S(s), "one");
    EXPECT_EQ(S(rest), "two three");
}
