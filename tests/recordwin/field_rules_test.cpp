// field_rules_test.cpp - fields whose text the window supplies: choice
// values of types 27 and 31 shown and typed through their lists (31
// falling back on a second list), and the cells of a type-241 window
// read and shown through the list their row's code names; a delivery's
// order-row cells counted from 1.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/choice_lists.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/window_layout.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

// The built windows 27 and 31 (the form designer's form and data-field
// part windows), with lists 15 and 102 of the test's own in place of the
// built list 102, and a type-241 window over 6-byte code rows.
class FieldRulesTest : public RecordFixture {
protected:
    static std::string WithoutList102(std::string source)
    {
        size_t at = source.find("\nchoice 102 ");
        size_t end = at == std::string::npos ? at : source.find("\n}\n", at);
        if (end != std::string::npos) source.erase(at, end + 2 - at);
        return source;
    }
    std::string InterfaceSource() override
    {
        return WithoutList102(BuiltDictSource()) + R"(
12140 "Alpha"
12141 "Beta"
12142 "Gamma"
wintype 241 { kind record register AccessVc recsize 72 rect 90 40 420 520 }
window 241 {
  control rect 70 -30 -30 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 6 cells 1 first 1 rect 70 30 -30 -30 maxrows 250 page 0 control 0
  column  x 0 type lookup offset 2 heading 12140
}
choice 15 {
  4 -> 12140
}
choice 102 {
  55 -> 12140
}
choice 4 {
  1 -> 12141
  2 -> 12142
}
)";
    }
    static std::string Str(const uint8_t *t) { return std::string(reinterpret_cast<const char *>(t + 1), t[0]); }
    // The screen field of window w bound to record byte `at`; 0 none.
    static int FieldAt(int w, uint32_t at)
    {
        for (int F = 1; F < 64; F++)
            if (WinFieldIdAt(w, F) == int(at)) return F;
        return 0;
    }
    static void Text(uint8_t *t, const char *s) { PStringFromC(t, s); }
};

TEST_F(FieldRulesTest, ChoiceFieldsShowAndTakeTheirListsTexts)
{
    int w27 = OpenOrActivateWindow(27, 0, 0, true, 0), w31 = OpenOrActivateWindow(31, 0, 0, true, 0);
    ASSERT_GT(w27, 0);
    ASSERT_GT(w31, 0);
    uint8_t *r27 = WinRecordBuffer(w27), *r31 = WinRecordBuffer(w31);
    const int way = FieldAt(w27, 484), kind = FieldAt(w31, 178), font = FieldAt(w31, DocVc::Rows::Font);
    ASSERT_GT(way, 0);
    ASSERT_GT(kind, 0);
    ASSERT_GT(font, 0);
    PString t;

    Text(t, "Alpha");
    EXPECT_TRUE(WinFieldFromTextByType(w27, r27, way, t));
    EXPECT_EQ(GetU16(r27, 484), 4);
    WinFieldDisplayText(w27, way, t);
    EXPECT_EQ(Str(t), "Alpha");
    // A text of no list entry that is no number is refused; the value stays.
    Text(t, "Nowhere");
    EXPECT_FALSE(WinFieldFromTextByType(w27, r27, way, t));
    EXPECT_EQ(GetU16(r27, 484), 4);

    // Type 31: a text known only to list 101 (the built form-field names)
    // takes its value, shown with list 102's text where that list has
    // one, else with list 101's.
    PString name54, name55;
    int index = 0;
    ASSERT_TRUE(ChoiceTextOf(101, 54, &index, name54));
    ASSERT_TRUE(ChoiceTextOf(101, 55, &index, name55));
    EXPECT_TRUE(WinFieldFromTextByType(w31, r31, kind, name55));
    EXPECT_EQ(GetU16(r31, 178), 55);
    WinFieldDisplayText(w31, kind, t);
    EXPECT_EQ(Str(t), "Alpha");
    EXPECT_TRUE(WinFieldFromTextByType(w31, r31, kind, name54));
    EXPECT_EQ(GetU16(r31, 178), 54);
    WinFieldDisplayText(w31, kind, t);
    EXPECT_EQ(Str(t), Str(name54));
    // Another field of the type is not the window's to read or show.
    Text(t, "Beta");
    EXPECT_FALSE(WinFieldFromTextByType(w31, r31, font, t));
    WinFieldDisplayText(w31, font, t);
    EXPECT_EQ(t[0], 0);
}

TEST_F(FieldRulesTest, CodeRowCellsGoThroughTheirRowsList)
{
    int w = OpenOrActivateWindow(241, 0, 0, true, 0);
    ASSERT_GT(w, 0);
    uint8_t *rec = WinRecordBuffer(w);
    MemBlock rows = MemAlloc(12);
    ASSERT_TRUE(rows);
    uint8_t *p = MemLock(rows);
    std::memset(p, 0, 12);
    PutU16(p, 0, 2);   // row code 2: list 4
    PutU16(p, 2, 1);
    PutU16(p, 4, 5);   // the row's own word
    PutU16(p + 6, 0, 20);   // a code that names no list
    PutU16(p + 6, 2, 9);
    MemUnlock(rows);
    MemBlock old = GetU32(rec, 68);
    if (MemIsValid(old)) MemFree(&old);
    PutU32(rec, 68, rows);

    PString t;
    MatrixCellDisplayText(w, 1, t);
    EXPECT_EQ(Str(t), "Beta");
    Text(t, "Gamma");
    EXPECT_TRUE(WinFieldFromTextByType(w, rec, 1, t));
    p = MemLock(rows);
    EXPECT_EQ(GetU16(p, 2), 2);
    EXPECT_EQ(GetU16(p, 4), 5);   // the word after the value is kept
    MemUnlock(rows);
    MatrixCellDisplayText(w, 1, t);
    EXPECT_EQ(Str(t), "Gamma");
    Text(t, "Nothing");
    EXPECT_FALSE(WinFieldFromTextByType(w, rec, 1, t));
    // A cell past the rows is left alone.
    EXPECT_FALSE(WinFieldFromTextByType(w, rec, 5, t));
    MatrixCellDisplayText(w, 5, t);
    EXPECT_EQ(t[0], 0);
}

// A delivery's row names its order's row by its index from 0; the user
// reads and types it as the order counts its rows, from 1, and a row of
// no order row (or a component line) shows nothing.
TEST_F(FieldRulesTest, DeliveryOrderRowCellsCountFromOne)
{
    int w = OpenOrActivateWindow(WinTypes::Delivery, 0, 0, true, 0);
    ASSERT_GT(w, 0);
    uint8_t *rec = WinRecordBuffer(w);
    uint8_t row[SHVc::Rows::Size] = {};
    const uint32_t links[] = {0, 0xFFFFFFFFu, 0xFFFFFFFEu};
    for (int i = 0; i < 3; i++) {
        PutU32(row, SHVc::Rows::OrderRowNr, links[i]);
        ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, rec, i, row));
    }
    // The order row is the last of a row's seven cells.
    int first = 0, cells = 0;
    MatrixGeometry(w, &first, &cells);
    ASSERT_EQ(cells, 7);
    auto cell = [first, cells](int r) { return first + r * cells + 6; };
    auto link = [rec](int r) {
        uint8_t got[SHVc::Rows::Size] = {};
        EXPECT_TRUE(MatrixRowGet(SHVc::Number, 0, rec, r, got));
        return GetU32(got, SHVc::Rows::OrderRowNr);
    };
    PString t;
    MatrixCellDisplayText(w, cell(0), t);
    EXPECT_EQ(Str(t), "1");
    MatrixCellDisplayText(w, cell(1), t);
    EXPECT_EQ(Str(t), "");
    MatrixCellDisplayText(w, cell(2), t);
    EXPECT_EQ(Str(t), "");

    Text(t, "3");
    EXPECT_TRUE(WinFieldFromTextByType(w, rec, cell(1), t));
    EXPECT_EQ(link(1), 2u);
    MatrixCellDisplayText(w, cell(1), t);
    EXPECT_EQ(Str(t), "3");
    Text(t, "");
    EXPECT_TRUE(WinFieldFromTextByType(w, rec, cell(0), t));
    EXPECT_EQ(link(0), 0xFFFFFFFFu);
    // Row 0 and anything that is no row number are refused; the link stays.
    for (const char *bad : {"0", "-2", "x", "65537"}) {
        Text(t, bad);
        EXPECT_FALSE(WinFieldFromTextByType(w, rec, cell(1), t)) << bad;
        EXPECT_EQ(link(1), 2u) << bad;
    }
}

}  // namespace
