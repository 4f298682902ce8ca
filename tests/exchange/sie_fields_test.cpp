// sie_fields_test.cpp - the fields of SIE lines: blank and TAB mode,
// quoted texts with escapes, object lists with and without blanks; dates,
// periods and amounts read strictly and written in the one SIE form.
#include <gtest/gtest.h>

#include "exchange/sie.h"

namespace {

std::vector<std::string> Texts(std::string_view line)
{
    std::vector<SieField> f;
    SieSplitLine(line, &f);
    std::vector<std::string> out;
    for (const SieField &x : f) out.push_back(x.list ? "{" + x.text + "}" : x.text);
    return out;
}

using V = std::vector<std::string>;

TEST(SieFields, LinesSplitInBothModes)
{
    EXPECT_EQ(Texts("#KONTO 1910 \"Kassa och bank\""), (V{"#KONTO", "1910", "Kassa och bank"}));
    EXPECT_EQ(Texts("  #TRANS 3010 {1 \"K 1\" 2 \"P}1\"} -1.00"), (V{"#TRANS", "3010", "{1 \"K 1\" 2 \"P}1\"}", "-1.00"}));
    EXPECT_EQ(Texts("#TRANS 3010 {} -1.00"), (V{"#TRANS", "3010", "{}", "-1.00"}));
    EXPECT_EQ(Texts("#FNAMN \"A \\\"B\\\" \\\\ C\""), (V{"#FNAMN", "A \"B\" \\ C"}));
    EXPECT_EQ(Texts("#FNAMN \"unclosed text"), (V{"#FNAMN", "unclosed text"}));
    // TABs as the export writes them: a list as "{" .. "}" fields, a text
    // quoted; runs of blanks and TABs are one separator everywhere outside
    // quotes, a list's inside read with one blank between its codes.
    EXPECT_EQ(Texts("\t#TRANS\t1910\t{\t\"20\"\t\"D1\"\t}\t5.00\t\"a b\"\t"),
              (V{"#TRANS", "1910", "{\"20\" \"D1\"}", "5.00", "a b"}));
    EXPECT_EQ(Texts("#FNAMN\t\"My Company\"\t"), (V{"#FNAMN", "My Company"}));
    EXPECT_EQ(Texts("#TRANS\t1910\t{}\t1.00"), (V{"#TRANS", "1910", "{}", "1.00"}));
    EXPECT_EQ(Texts("#SIETYP\t\t4"), (V{"#SIETYP", "4"}));
    EXPECT_EQ(Texts("#RAR\t0 20150901\t \t20160831"), (V{"#RAR", "0", "20150901", "20160831"}));
    EXPECT_EQ(Texts("#TRANS 1910 {\t1\t \"K 1\"  6\tP1 } -1.00"), (V{"#TRANS", "1910", "{1 \"K 1\" 6 P1}", "-1.00"}));
    EXPECT_TRUE(Texts(" \t ").empty());
    std::vector<std::pair<std::string, std::string>> pairs;
    EXPECT_TRUE(SieObjectPairs("1 \"K 1\" 20 P1", &pairs));
    EXPECT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].second, "K 1");
    EXPECT_FALSE(SieObjectPairs("1", &pairs));
}

TEST(SieFields, DatesPeriodsAndAmounts)
{
    DateRec d;
    EXPECT_TRUE(SieDateRead("20240229", &d));
    EXPECT_EQ(SieDateText(&d), "20240229");
    for (const char *bad : {"20230229", "20241301", "2024013", "2024-01-31", "", "20240100", "00000101"})
        EXPECT_FALSE(SieDateRead(bad, &d)) << bad;
    EXPECT_TRUE(SiePeriodRead("202402", &d));
    EXPECT_EQ(d.day, 29);
    EXPECT_EQ(SiePeriodText(&d), "202402");
    EXPECT_FALSE(SiePeriodRead("202413", &d));
    PackedDecimal a;
    EXPECT_TRUE(SieAmountRead("-1234567.5", &a));
    EXPECT_EQ(SieAmountText(&a), "-1234567.50");
    EXPECT_TRUE(SieAmountRead("0.125", &a));
    EXPECT_EQ(SieAmountText(&a), "0.125");
    EXPECT_TRUE(SieAmountRead("+7", &a));
    EXPECT_EQ(SieAmountText(&a), "7.00");
    for (const char *bad : {"", "-", "1,00", "1.0001", "1 000", "12a", "1.2.3", "1e5"})
        EXPECT_FALSE(SieAmountRead(bad, &a)) << bad;
    long v = 0;
    EXPECT_TRUE(SieIntegerRead("-1", -99, 99, &v));
    EXPECT_EQ(v, -1);
    EXPECT_FALSE(SieIntegerRead("100", -99, 99, &v));
    EXPECT_EQ(SieQuoted("a\"b\\", 10), "\"a\\\"b\\\\\"");
    EXPECT_EQ(SieQuoted("abcdef", 3), "\"abc\"");
    EXPECT_LE(SieQuoted(std::string(300, '"'), 255).size(), 255u);
    // A word field reads back as the one field it was, empty or not.
    for (const char *word : {"", "5566778899", "AB 12", "a\"b", "{x}"}) {
        std::vector<SieField> f;
        SieSplitLine("#ORGNR\t" + SieWord(word) + "\t1\t1", &f);
        ASSERT_EQ(f.size(), 4u) << word;
        EXPECT_EQ(f[1].text, word);
        EXPECT_FALSE(f[1].list) << word;
    }
    EXPECT_EQ(SieWord("5566778899"), "5566778899");
}

// The check pass's verdicts on short files of lines.
TEST(SieFields, CheckPassTakesOnlyWhatItChecked)
{
    std::vector<SieItem> items;
    uint32_t line = 0;
    int fault = 0;
    std::string detail;
    // Tags of another type are skipped unchecked; #VER of type 1 skipped whole.
    EXPECT_TRUE(SieCheckLines({"#PSALDO x", "#VER A 1 bad", "{", "#TRANS x", "}", "#IB 0 1910 1.00"}, &items, &line,
                              &fault, &detail));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].tag, SieTag::Opening);
    EXPECT_EQ(items[0].line, 6u);
    // "{" twice in a block, "}" outside one.
    EXPECT_FALSE(SieCheckLines({"#SIETYP 4", "#VER A 1 20240101", "{", "{"}, &items, &line, &fault, &detail));
    EXPECT_EQ(line, 4u);
    EXPECT_TRUE(items.empty());
    EXPECT_FALSE(SieCheckLines({"#FLAGGA 0", "}"}, &items, &line, &fault, &detail));
    EXPECT_EQ(line, 2u);
    // Six objects on a row, an over-long object code.
    EXPECT_FALSE(SieCheckLines({"#SIETYP 4", "#VER A 1 20240101", "{", "#TRANS 1 {1 a 1 b 1 c 1 d 1 e 1 f} 0", "}"},
                               &items, &line, &fault, &detail));
    EXPECT_EQ(line, 4u);
    EXPECT_FALSE(SieCheckLines({"#SIETYP 3", "#OBJEKT 1 ABCDEF x"}, &items, &line, &fault, &detail));
    EXPECT_EQ(line, 2u);
}

}  // namespace
