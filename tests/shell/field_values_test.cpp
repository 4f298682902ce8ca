// Field values by id and their drawing, probed pixel by pixel: a value
// set again unchanged is not redrawn, a changed one is, and only on a
// shown page; texts that do not fit, struck values, field frames, and an
// edit rectangle grown to its text.
#include <cstring>
#include <filesystem>

#include "core/field_types.h"
#include "core/window_entries.h"
#include "shell/draw_port.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"

namespace {
constexpr uint32_t White = 0xFFFFFF, Black = 0x000000, Red = 0xFF0000;

// Fills r of n black, so that any drawing over it shows.
void Blacken(int n, const MacRect &r)
{
    SetPortWindow(n);
    FillRectMode(&r, 2);
}
}  // namespace

using FieldValues = TestRecordWindows;

TEST_F(FieldValues, AValueIsSetAndRedrawnOnlyWhenItChangesOnAShownPage)
{
    // The settings window's title is a plain text of 20, its limit an amount.
    int s = Open(TypeRowsSettings);
    ASSERT_GT(s, 0);
    MacRect title;
    WinBindingRect(s, WinDefEntry(s, WinPartDataFields, 0), &title);
    const int x = title.left + 1, y = title.bottom - 1;   // the underline
    PString text;
    PStringFromC(text, "Head office");
    WinSetFieldValue(s, 0, text);
    EXPECT_TRUE(PStringEqual(WinRecordBuffer(s), text));
    Blacken(s, title);
    WinSetFieldValue(s, 0, text);
    EXPECT_EQ(Pixel(s, x, y), Black) << "the same text is not drawn again";
    PStringFromC(text, "Head office and more than twenty");
    WinSetFieldValue(s, 0, text);
    EXPECT_EQ(WinRecordBuffer(s)[0], 20) << "cut to the field";
    EXPECT_NE(Pixel(s, x, y), Black);
    PackedDecimal limit;
    memcpy(&limit, WinRecordBuffer(s) + 22, sizeof limit);
    Blacken(s, title);
    WinSetFieldValue(s, 22, limit.b);
    WinRedrawFieldById(s, 99);
    EXPECT_EQ(Pixel(s, x, y), Black) << "an unchanged amount and an unknown id draw nothing";

    // A hidden text longer than its field is cut, never stored past it.
    int n = Open(TypeRows);
    ASSERT_GT(n, 0);
    EXPECT_EQ(WinFieldIdAt(n, 4), 36);
    EXPECT_EQ(WinFieldIdAt(n, 5), NoField);
    PStringFromC(text, "ABCDEFGHIJKLMNOP");
    WinSetFieldValue(n, 12, text);
    EXPECT_EQ(WinRecordBuffer(n)[12], 10);
    EXPECT_EQ(WinRecordBuffer(n)[24], 0) << "the next field is untouched";

    // A field on a hidden page takes its value but is not drawn.
    WinShowPage(n, 2, false);
    MacRect chosen;
    WinBindingRect(n, WinDefEntry(n, WinPartDataFields, 2), &chosen);
    Blacken(n, chosen);
    PStringFromC(text, "K3");
    WinSetFieldValue(n, 24, text);
    EXPECT_EQ(WinRecordBuffer(n)[26], '3');
    EXPECT_EQ(Pixel(n, chosen.left + 1, chosen.bottom - 1), Black);
    WinShowPage(n, 1, false);
    WinRedrawFieldById(n, 24);
    EXPECT_NE(Pixel(n, chosen.left + 1, chosen.bottom - 1), Black);
}

TEST_F(FieldValues, ValuesFramesAndGrowthDrawWhereTheyBelong)
{
    int n = Open(TypeRows);
    ASSERT_GT(n, 0);
    MacRect r{100, 20, 116, 80};
    SetPortWindow(n);
    MacRect all{90, 0, 130, 200};
    FillRectMode(&all, 1);

    // A left-aligned text too wide for the field: cut at the right edge
    // with the red mark there, nothing drawn outside.
    PString text;
    PStringFromC(text, "WWWWWWWWWWWWWWWW");
    WinDrawFieldValue(n, text, FtText, 40, 0, &r, false, false, false);
    EXPECT_EQ(Pixel(n, r.right - 4, (r.top + r.bottom) / 2), Red);
    EXPECT_EQ(Pixel(n, r.right + 3, r.top + 6), White) << "clipped to the field";
    EXPECT_NE(Pixel(n, r.left + 30, r.bottom - 1), White) << "the underline";
    // Struck: red through the field at top + 7.
    PStringFromC(text, "x");
    WinDrawFieldValue(n, text, FtText, 40, 0, &r, true, false, true);
    EXPECT_EQ(Pixel(n, r.left + 3, r.top + 7), Red);
    // Selected and empty: filled black.
    text[0] = 0;
    WinDrawFieldValue(n, text, FtText, 40, 0, &r, false, true, false);
    EXPECT_EQ(Pixel(n, r.left + 30, r.top + 5), Black);

    // Field frames: grey above, white at the left inside, light grey below.
    FillRectMode(&all, 2);
    MacRect code;
    WinBindingRect(n, WinDefEntry(n, WinPartDataFields, 1), &code);
    MacRect page0{0, 0, 60, 500};
    FillRectMode(&page0, 2);
    WinDrawFieldFrames(n);
    EXPECT_EQ(Pixel(n, code.left + 10, code.top - 1), 0x808080u);
    EXPECT_EQ(Pixel(n, code.left - 1, code.top + 5), White);
    EXPECT_EQ(Pixel(n, code.left + 10, code.bottom), 0xC0C0C0u);
    MacRect chosen;
    WinBindingRect(n, WinDefEntry(n, WinPartDataFields, 2), &chosen);
    ASSERT_TRUE(WinPageShown(n, 1));
    EXPECT_EQ(Pixel(n, chosen.left - 1, chosen.top + 5), White);

    // A long text grows a field's edit rectangle to the right, up to the
    // client area's edge; it never shifts left over the field's label.
    MacRect client, edit{10, 400, 26, 480};
    WindowClientRect(n, &client);
    PStringFromC(text, "a rather long text typed into a field");
    WinTable[n]->editRectMoved = 0;
    EditRectGrow(n, text, &edit, false);
    EXPECT_EQ(edit.right, client.right);
    EXPECT_EQ(edit.left, 400);
    EXPECT_EQ(WinTable[n]->editRectMoved, 1);
    // A field or a page button to the right on its line ends it sooner,
    // so that neither is drawn over: the rectangle left of the Code field
    // stops before that field, the Code field's before the page buttons.
    for (int i = 0; i < 6; i++) PStringAppendC(text, " and more of it");
    MacRect first, tab, narrow{20, 50, 36, 80};
    WinBindingRect(n, WinDefEntry(n, WinPartDataFields, 0), &first);
    WinFieldRect(n, 1, &tab);
    ASSERT_GT(tab.left, first.right);
    EditRectGrow(n, text, &narrow, false);
    EXPECT_EQ(narrow.left, 50);
    EXPECT_LT(narrow.right, first.left);
    EXPECT_GT(narrow.right, 80);
    MacRect grown = first;
    EditRectGrow(n, text, &grown, false);
    EXPECT_EQ(grown.left, first.left);
    EXPECT_LT(grown.right, tab.left);
    EXPECT_GT(grown.right, first.right);
}
