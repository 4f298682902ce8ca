// The compiler's checks of window layouts against the records they show:
// each refusal names the file and line of the entry (or word) at fault,
// and a layout the dictionary agrees with builds.
#ifdef ORVEL_DICT_SOURCE_DIR
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/dict.h"

namespace {

// A register with a header and rows, a plain register, a settings block
// and a table block, and windows over them. Line numbers matter: the
// tests replace one line and expect the refusal there.
const std::vector<std::string> Base = {
    "register 5 RowVc size 80 matrix Lines {",                                   // 1
    "  Code 0 keycode 10",                                                       // 2
    "  Day 12 date",                                                             // 3
    "  Flag 18 short",                                                           // 4
    "  Lines 76 handle",                                                         // 5
    "  rows size 40 {",                                                          // 6
    "    Text 0 text 5",                                                         // 7
    "    Amount 6 amount",                                                       // 8
    "  }",                                                                       // 9
    "}",                                                                         // 10
    "register 6 Other size 20 {",                                                // 11
    "  Name 0 text 10",                                                          // 12
    "}",                                                                         // 13
    "settings 150 Blk size 40 {",                                                // 14
    "  Title 0 text 20",                                                         // 15
    "}",                                                                         // 16
    "settings 151 Tab table {",                                                  // 17
    "  rows size 10 { Code 0 keycode 5 }",                                       // 18
    "}",                                                                         // 19
    "wintype 580 { kind record register RowVc recsize 80 }",                     // 20
    "window 580 {",                                                              // 21
    "  field rect 8 110 25 240 type keycode format 10 offset RowVc.Code page 0 label \"Code\"",   // 22
    "  field rect 8 110 25 240 type date offset RowVc.Day next RowVc.Code page 1 label \"Day\"",  // 23
    "  control rect 10 -30 110 -15 kind scroll page 1 label \"\"",              // 24
    "  control rect 2 300 20 380 offset RowVc.Flag kind check page 1 label \"F\"",  // 25
    "  control rect 2 300 20 380 kind tab command 1 page 0 label \"One\"",      // 26
    "  matrix rowsize 40 cells 2 first 3 rect 40 10 100 -30 maxrows 50 page 1 control 0",  // 27
    "  column x 0 type text format 5 offset RowVc.Text",                        // 28
    "  column x 80 type amount offset RowVc.Amount",                            // 29
    "  page height 60",                                                          // 30
    "  page height 0 last 1",                                                    // 31
    "}",                                                                         // 32
    "wintype 581 { kind settings block Blk recsize 40 }",                        // 33
    "window 581 {",                                                              // 34
    "  field rect 8 110 25 240 type text format 20 offset Blk.Title page 0 label \"T\"",  // 35
    "}",                                                                         // 36
    "wintype 582 { kind plain recsize 20 }",                                     // 37
    "window 582 {",                                                              // 38
    "  field rect 8 110 25 240 type text format 17 offset 0 page 0 label \"N\"",  // 39
    "}",                                                                         // 40
};

// The errors of the base with line `line` (1-based) replaced; line 0
// changes nothing. Extra lines go before the last closing brace of the
// window that ends at `extraAt`.
std::vector<std::string> ErrorsWith(int line, const std::string &text, int extraAt = 0,
                                    const std::string &extra = "")
{
    std::string source;
    for (int i = 1; i <= int(Base.size()); i++) {
        if (i == extraAt) source += extra;
        source += (i == line ? text : Base[size_t(i - 1)]) + "\n";
    }
    InterfaceDefs defs;
    std::vector<std::string> errors;
    DictCompile({{"w.dict", source}}, &defs, nullptr, &errors);
    return errors;
}

// True when one error is at w.dict:line and holds the fragment.
bool Refused(const std::vector<std::string> &errors, int line, const std::string &fragment)
{
    std::string where = "w.dict:" + std::to_string(line) + ": ";
    for (const std::string &e : errors)
        if (e.rfind(where, 0) == 0 && e.find(fragment) != std::string::npos) return true;
    return false;
}

std::string All(const std::vector<std::string> &errors)
{
    std::string s;
    for (const std::string &e : errors) s += e + "\n";
    return s;
}

TEST(DictWindowChecks, AgreeingLayoutsBuildAndDisplayTypesMayDiffer)
{
    EXPECT_TRUE(ErrorsWith(0, "").empty()) << All(ErrorsWith(0, ""));
    // A short shown as the other 16-bit type, a label and a looked-up text
    // anywhere: the stored width is what counts.
    for (const char *field : {"type short11 offset RowVc.Flag", "type label offset 999", "type lookup offset 70"}) {
        auto e = ErrorsWith(23, std::string("  field rect 8 110 25 240 ") + field + " page 1 label \"X\"");
        EXPECT_TRUE(e.empty()) << field << "\n" << All(e);
    }
}

TEST(DictWindowChecks, FieldsAndColumnsOffTheirRecordOrField)
{
    struct Case {
        int line;
        const char *text, *fragment;
    };
    const Case cases[] = {
        {22, "  field rect 8 110 25 240 type keycode format 10 offset 2 page 0 label \"C\"", "not on a field"},
        {22, "  field rect 8 110 25 240 type keycode format 12 offset RowVc.Code page 0 label \"C\"",
         "covers 14 bytes, field Code 12"},
        {22, "  field rect 8 110 25 240 type amount offset 76 page 0 label \"C\"", "lies outside the record of 80"},
        {23, "  field rect 8 110 25 240 type date offset RowVc.Day next Other.Name page 1 label \"D\"",
         "is not a field of RowVc"},
        {25, "  control rect 2 300 20 380 offset 79 kind check page 1 label \"F\"", "outside the record of 80"},
        {28, "  column x 0 type text format 7 offset RowVc.Text", "covers 8 bytes, field Text 6"},
        {29, "  column x 80 type amount offset 30", "lies outside the row of 40"},
        {29, "  column x 80 type amount offset 20", "not on a field of the row"},
        {35, "  field rect 8 110 25 240 type text format 20 offset 2 page 0 label \"T\"", "not on a field"},
        {39, "  field rect 8 110 25 240 type text format 20 offset 0 page 0 label \"N\"",
         "lies outside the record of 20"},
    };
    for (const Case &c : cases) {
        auto e = ErrorsWith(c.line, c.text);
        EXPECT_TRUE(Refused(e, c.line, c.fragment)) << c.text << "\n" << All(e);
    }
}

TEST(DictWindowChecks, SizesUnlikeTheDictionarys)
{
    EXPECT_TRUE(Refused(ErrorsWith(20, "wintype 580 { kind record register RowVc recsize 78 }"), 20,
                        "recsize 78 is not the size 80 of register RowVc"));
    EXPECT_TRUE(Refused(ErrorsWith(27, "  matrix rowsize 38 cells 2 first 3 rect 40 10 100 -30 maxrows 50 page 1 control 0"),
                        27, "matrix rowsize 38 is not the row size 40"));
    EXPECT_TRUE(Refused(ErrorsWith(33, "wintype 581 { kind settings block Blk recsize 38 }"), 33,
                        "recsize 38 is not the size 40 of settings block Blk"));
    auto rows = ErrorsWith(33, "wintype 581 { kind settingsrows block Blk recsize 2 }");
    EXPECT_TRUE(Refused(rows, 33, "Blk of a rows window is not a table")) << All(rows);
    EXPECT_TRUE(Refused(rows, 33, "recsize of a rows window is below 4")) << All(rows);
    auto table = ErrorsWith(33, "wintype 581 { kind settingsrows block Tab recsize 4 }", 0, "");
    EXPECT_FALSE(Refused(table, 33, "not a table")) << All(table);
}

TEST(DictWindowChecks, PagesControlsChoosersAndScrollBars)
{
    EXPECT_TRUE(Refused(ErrorsWith(23, "  field rect 8 110 25 240 type date offset RowVc.Day page 2 label \"D\""), 23,
                        "page 2 has no page entry"));
    EXPECT_TRUE(Refused(ErrorsWith(26, "  control rect 2 300 20 380 kind tab command 4 page 0 label \"One\""), 26,
                        "page 4 has no page entry"));
    // Without a page part only page 0 stands.
    EXPECT_TRUE(Refused(ErrorsWith(39, "  field rect 8 110 25 240 type text format 17 offset 0 page 1 label \"N\""), 39,
                        "page 1 has no page entry"));
    EXPECT_TRUE(Refused(ErrorsWith(27, "  matrix rowsize 40 cells 2 first 3 rect 40 10 100 -30 maxrows 50 page 1 control 1"),
                        27, "matrix control 1 is not a scroll control"));
    EXPECT_TRUE(Refused(ErrorsWith(23, "  field rect 8 110 25 240 type date offset RowVc.Day chooser 999 page 1 label \"D\""),
                        23, "window type 999 is not defined"));
    EXPECT_TRUE(Refused(ErrorsWith(37, "wintype 582 { kind plain related 998 recsize 20 }"), 37,
                        "window type 998 is not defined"));

    std::string controls, pages;
    for (int i = 0; i < 29; i++) controls += "  control rect 2 300 20 380 kind button page 0 label \"B\"\n";
    auto many = ErrorsWith(0, "", 32, controls);
    EXPECT_TRUE(Refused(many, 32 + 28, "over 31 controls")) << All(many);
    for (int i = 0; i < 9; i++) pages += "  page height 0 last 1\n";
    auto tall = ErrorsWith(0, "", 32, pages);
    EXPECT_TRUE(Refused(tall, 32 + 8, "over 10 pages")) << All(tall);
}

}  // namespace
#endif
