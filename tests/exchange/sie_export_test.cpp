// sie_export_test.cpp - the SIE export: types 1 to 3 against golden files,
// the year bounds of a year that does not start in January (and a leap
// day the previous year does not have), the dimension numbers in order
// of first meeting, a row with three objects, quotation marks escaped,
// amounts without grouping whatever the thousands setting.
#include <gtest/gtest.h>

#include <sstream>

#include "core/format_block.h"
#include "tests/exchange/sie_fixture.h"

namespace {

class SieExport : public SieFixture {};

// The lines of a file (CR LF ends).
std::vector<std::string> Lines(const std::string &bytes)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t e = bytes.find("\r\n", i);
        if (e == std::string::npos) e = bytes.size();
        out.push_back(bytes.substr(i, e - i));
        i = e + 2;
    }
    return out;
}

bool Has(const std::string &bytes, const std::string &line)
{
    for (const std::string &l : Lines(bytes))
        if (l == line) return true;
    return false;
}

TEST_F(SieExport, TypesOneToThreeMatchTheirGoldens)
{
    MakeCompany();
    for (int type = 1; type <= 3; type++) {
        std::string name = "type" + std::to_string(type) + ".se";
        std::string bytes = Sie(type);
        EXPECT_EQ(bytes, Golden(name.c_str(), bytes)) << name;
    }
    // Type 1: head, accounts, then balances only; type 3 objects but no
    // period balances; type 2 period balances with the empty list.
    std::string t1 = Sie(1), t2 = Sie(2), t3 = Sie(3);
    EXPECT_EQ(t1.find("#DIM"), std::string::npos);
    EXPECT_EQ(t1.find("#PSALDO"), std::string::npos);
    EXPECT_EQ(t3.find("#PSALDO"), std::string::npos);
    EXPECT_NE(t3.find("#OMFATTN\t20241231\t"), std::string::npos);
    EXPECT_TRUE(Has(t2, "#PSALDO\t0\t202401\t1910\t{\t}\t500.00\t"));
    EXPECT_TRUE(Has(t2, "#PSALDO\t-1\t202306\t3010\t{\t}\t-100.00\t"));
    // Kinds 1 and 2 both write "S"; the previous year's result.
    EXPECT_TRUE(Has(t1, "#KTYP\t2990\tS\t"));
    EXPECT_TRUE(Has(t1, "#KTYP\t2440\tS\t"));
    EXPECT_TRUE(Has(t1, "#RES\t-1\t3010\t-100.00\t"));
    EXPECT_TRUE(Has(t1, "#IB\t-1\t1910\t1000.00\t"));
    EXPECT_TRUE(Has(t1, "#IB\t0\t1910\t1100.00\t"));
    // Months without movement write no line.
    size_t mentions = 0;
    for (const std::string &l : Lines(t2)) mentions += l.find("\t1930\t") != std::string::npos && l.rfind("#PSALDO", 0) == 0;
    EXPECT_EQ(mentions, 2u);   // February and March only
}

// From 15 March to 10 February: the current year runs 1 March to the end
// of February, the previous one the twelve months before; a current year
// ending on 29 February has a previous year ending on the 28th.
TEST_F(SieExport, YearBoundsFollowTheSelectionsMonths)
{
    std::string b = Sie(1, DateRec{15, 3, 2024}, DateRec{10, 2, 2025});
    EXPECT_TRUE(Has(b, "#RAR\t0\t20240301\t20250228\t"));
    EXPECT_TRUE(Has(b, "#RAR\t-1\t20230301\t20240229\t"));
    b = Sie(1, DateRec{1, 3, 2023}, DateRec{29, 2, 2024});
    EXPECT_TRUE(Has(b, "#RAR\t0\t20230301\t20240229\t"));
    EXPECT_TRUE(Has(b, "#RAR\t-1\t20220301\t20230228\t"));
}

// Dimensions are numbered as first met, whether in #DIM or a row; a row
// lists all of its objects; texts escape their quotation marks; amounts
// carry no grouping even when the user's setting groups them.
TEST_F(SieExport, VoucherRowsObjectsAndQuotedTexts)
{
    MakeCompany();
    uint8_t saved = ThousandsFlag;
    ThousandsFlag = 1;
    Voucher(3, 0, DateRec{20, 4, 2024}, "Big \"one\"", {{"1930", "", 1234567.5}, {"3010", "", -1234567.5}});
    std::string b = Sie(4);
    ThousandsFlag = saved;
    EXPECT_TRUE(Has(b, "#DIM\t20\t\"Avdelning\"\t"));
    EXPECT_TRUE(Has(b, "#DIM\t21\t\"Projekt\"\t"));
    EXPECT_TRUE(Has(b, "#OBJEKT\t21\t\"P1\"\t\"Projekt 1\"\t"));
    EXPECT_TRUE(Has(b, "\t#TRANS\t1910\t{\t\"20\"\t\"D1\"\t\"21\"\t\"P1\"\t\"20\"\t\"X1\"\t}\t500.00\t20240115\t\"Kassa in\"\t125.00\t"));
    EXPECT_TRUE(Has(b, "\t#TRANS\t3010\t{\t\"20\"\t\"D2\"\t\"21\"\t\"P2\"\t}\t-500.00\t20240115\t\"Sale\"\t"));
    EXPECT_TRUE(Has(b, "#VER\t\"A\"\t\"3\"\t20240420\t\"Big \\\"one\\\"\"\t"));
    EXPECT_TRUE(Has(b, "\t#TRANS\t1930\t{\t}\t1234567.50\t20240420\t\"\"\t"));
    EXPECT_TRUE(Has(b, "#VER\t\"201\"\t\"1\"\t20240305\t\"Invoice 1\"\t"));
    EXPECT_TRUE(Has(b, "#KONTO\t5010\t\"Lokal \\\"hyra\\\" \\\\ kontor\"\t"));
    // The DOS letters of the declared code page.
    EXPECT_NE(b.find("#FNAMN\t\"Testbolaget \x8F" "kesson AB\"\t"), std::string::npos);
    EXPECT_TRUE(Has(b, "#ORGNR\t5566778899\t1\t1\t"));
    // Only the current year's vouchers.
    EXPECT_EQ(b.find("Old sale"), std::string::npos);
    // An account range keeps the accounts outside it out of every section.
    std::string r = Sie(1, DateRec{1, 1, 2024}, DateRec{31, 12, 2024}, "1900:1999");
    EXPECT_NE(r.find("#KONTO\t1930"), std::string::npos);
    EXPECT_EQ(r.find("\t3010\t"), std::string::npos);
}

// Objects that rows name but the object register lacks are declared
// under a dimension of their own and listed in their rows: no row loses an
// object in the file, and the file reads back with every object.
TEST_F(SieExport, ObjectsWithoutARegisterEntryKeepTheirPlaceInRows)
{
    MakeCompany();
    Voucher(3, 0, DateRec{20, 4, 2024}, "Unknown objects", {{"1930", "D1,Z9", 10}, {"3010", "Z8", -10}});
    const std::string b = Sie(4);
    EXPECT_TRUE(Has(b, "#DIM\t22\t\"\"\t")) << b;
    EXPECT_TRUE(Has(b, "#OBJEKT\t22\t\"Z9\"\t\"\"\t"));
    EXPECT_TRUE(Has(b, "#OBJEKT\t22\t\"Z8\"\t\"\"\t"));
    EXPECT_TRUE(Has(b, "\t#TRANS\t1930\t{\t\"20\"\t\"D1\"\t\"22\"\t\"Z9\"\t}\t10.00\t20240420\t\"\"\t"));
    EXPECT_TRUE(Has(b, "\t#TRANS\t3010\t{\t\"22\"\t\"Z8\"\t}\t-10.00\t20240420\t\"\"\t"));
    // Declared once however many rows name them; none without such objects.
    EXPECT_EQ(b.find("#OBJEKT\t22\t\"Z9\"", b.find("#OBJEKT\t22\t\"Z9\"") + 1), std::string::npos);
    EmptyCompany("plain.VDB");
    EXPECT_EQ(Sie(4).find("#DIM"), std::string::npos);
}

}  // namespace
