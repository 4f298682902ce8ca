// The form designer's items: adding with each tool, moving by the arrow
// keys, selecting, deleting, sending to the back, and the part windows'
// OK writing back to the item they were opened for.
#include <gtest/gtest.h>

#include "tests/outputwin/designer_fixture.h"

using DesignerItems = DesignerFixture;

TEST_F(DesignerItems, AClickMakesATenUnitItemButALineKeepsItsLength)
{
    int w = OpenDesigner();
    ASSERT_GT(w, 0);
    ASSERT_TRUE(Add(w, FormItemText, 100, 50, 103, 54));
    EXPECT_EQ(At(w, 0), (Coords{100, 50, 113, 64}));
    EXPECT_EQ(Kind(w, 0), FormItemText);
    ASSERT_TRUE(Add(w, FormItemLine, 200, 60, 203, 64));
    EXPECT_EQ(At(w, 0), (Coords{200, 60, 200, 64})) << "vertical, 4 long, nothing added";
    EXPECT_EQ(At(w, 1), (Coords{100, 50, 113, 64})) << "the older item moved down a row";
    ASSERT_TRUE(Add(w, FormItemLine, 10, 10, 60, 30));
    EXPECT_EQ(At(w, 0), (Coords{10, 10, 60, 10})) << "wider than high: horizontal";
    ASSERT_TRUE(Add(w, FormItemLine, 10, 10, 30, 60));
    EXPECT_EQ(At(w, 0), (Coords{10, 10, 10, 60}));
    ASSERT_TRUE(Add(w, FormItemLine, 10, 10, 40, 40));
    EXPECT_EQ(At(w, 0), (Coords{10, 10, 10, 40})) << "square: vertical";
    EXPECT_EQ(DesignerItemCount(w), 5);
}

TEST_F(DesignerItems, ANewItemIsSelectedAloneWithItsPartWindowOpen)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 10, 50, 50));
    MacRect r = Screen(100, 100, 150, 150);
    ASSERT_TRUE(DesignerAddItem(w, &r, FormItemField));
    EXPECT_EQ(DesignerSelectedCount(w), 1);
    EXPECT_EQ(DesignerSelectedAt(w, 0), 0);
    int part = Part("DocFldVClass");
    ASSERT_GT(part, 0);
    EXPECT_EQ(WinTable[part]->parentDesigner, w);
    EXPECT_NE(WinRecState(w), 0) << "the form is being edited, so closing asks";
}

TEST_F(DesignerItems, AnOpenPartWindowStopsEveryChangeOfTheRows)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 10, 50, 50));
    ASSERT_TRUE(Add(w, FormItemText, 60, 10, 90, 30));
    MacRect r = Screen(100, 100, 150, 150);
    ASSERT_TRUE(DesignerAddItem(w, &r, FormItemField));
    ASSERT_GT(Part("DocFldVClass"), 0);
    Select(w, {1, 2});
    EXPECT_FALSE(DesignerAddItem(w, &r, FormItemText));
    DesignerDeleteSelection(w);
    for (int b = 1; b <= 4; b++) DesignerButton(w, b);
    EXPECT_EQ(DesignerItemCount(w), 3);
    EXPECT_EQ(At(w, 2), (Coords{10, 10, 50, 50})) << "not sent to the back";
    EXPECT_EQ(Part("DocMainVClass"), 0);
    EXPECT_EQ(DesignerSelectedCount(w), 2);
}

TEST_F(DesignerItems, AddingRefusesAKindNoToolHas)
{
    int w = OpenDesigner();
    MacRect r = Screen(10, 40, 20, 50);
    EXPECT_FALSE(DesignerAddItem(w, &r, 0));
    EXPECT_FALSE(DesignerAddItem(w, &r, 6));
    EXPECT_FALSE(DesignerAddItem(0, &r, FormItemText));
    EXPECT_EQ(DesignerItemCount(w), 0);
}

TEST_F(DesignerItems, ArrowKeysMoveTheSelectionAndMarkTheFormChanged)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 10, 50, 50));
    ASSERT_TRUE(Add(w, FormItemBox, 60, 10, 90, 50));
    ASSERT_TRUE(Add(w, FormItemBox, 100, 10, 120, 50));
    Select(w, {0, 2});
    WinTable[w]->changed = 0;
    EXPECT_TRUE(DesignerArrowKey(w, 39));
    EXPECT_EQ(At(w, 0), (Coords{101, 10, 121, 50}));
    EXPECT_EQ(At(w, 1), (Coords{60, 10, 90, 50})) << "not selected";
    EXPECT_EQ(At(w, 2), (Coords{11, 10, 51, 50}));
    EXPECT_EQ(WinTable[w]->changed, 1);
    EXPECT_NE(WinRecState(w), 0);
    EXPECT_TRUE(DesignerArrowKey(w, 38));
    EXPECT_TRUE(DesignerArrowKey(w, 37));
    EXPECT_TRUE(DesignerArrowKey(w, 40));
    EXPECT_TRUE(DesignerArrowKey(w, 40));
    EXPECT_EQ(At(w, 0), (Coords{100, 11, 120, 51}));
    EXPECT_FALSE(DesignerArrowKey(w, 36));
    EXPECT_FALSE(DesignerArrowKey(w, 41));
    EXPECT_EQ(At(w, 0), (Coords{100, 11, 120, 51}));
}

TEST_F(DesignerItems, ArrowKeysWithNothingSelectedChangeNothing)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 10, 50, 50));
    DesignerSelectOnly(w, -1);
    WinTable[w]->changed = 0;
    EXPECT_TRUE(DesignerArrowKey(w, 39));
    EXPECT_EQ(At(w, 0), (Coords{10, 10, 50, 50}));
    EXPECT_EQ(WinTable[w]->changed, 0);
}

TEST_F(DesignerItems, DeletingTwoOfFiveKeepsTheOthersInOrder)
{
    int w = OpenDesigner();
    for (int i = 0; i < 5; i++) {
        ASSERT_TRUE(Add(w, FormItemText, 10 * i, 10, 10 * i + 8, 20));
        SetText(w, 0, std::to_string(i).c_str());
    }
    // rows: 4 3 2 1 0
    Select(w, {3, 1});
    DesignerDeleteSelection(w);
    ASSERT_EQ(DesignerItemCount(w), 3);
    EXPECT_EQ(Text(w, 0), "4");
    EXPECT_EQ(Text(w, 1), "2");
    EXPECT_EQ(Text(w, 2), "0");
    EXPECT_EQ(DesignerSelectedCount(w), 0);
    DesignerDeleteSelection(w);
    EXPECT_EQ(DesignerItemCount(w), 3) << "nothing selected, nothing deleted";
    EXPECT_TRUE(Shown().empty()) << Shown().front();
}

TEST_F(DesignerItems, SelectionRowsBeyondTheFormAreIgnored)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemText, 10, 10, 20, 20));
    ASSERT_TRUE(Add(w, FormItemText, 30, 10, 40, 20));
    DesignerSelectOnly(w, -1);
    DesignerSelectItem(w, 2, true);
    DesignerSelectItem(w, -1, true);
    DesignerSelectItem(w, 65535, false);
    EXPECT_EQ(DesignerSelectedCount(w), 0);
    // A selection left pointing past the rows (as a stored list may) is
    // skipped by every change.
    DesignerSelectItem(w, 1, true);
    uint8_t extra[2];
    PutU16(extra, 0, 7);
    MemBlock &list = WinTable[w]->designerSelection;
    ASSERT_TRUE(MemRealloc(&list, 4));
    uint8_t *p = MemLock(list);
    std::memcpy(p + 2, extra, 2);
    MemUnlock(list);
    DesignerMoveSelection(w, 5, 0);
    EXPECT_EQ(At(w, 1), (Coords{15, 10, 25, 20}));
    DesignerDeleteSelection(w);
    EXPECT_EQ(DesignerItemCount(w), 1);
    MacRect r;
    EXPECT_FALSE(DesignerItemRect(w, 1, &r));
    EXPECT_FALSE(DesignerItemRect(w, -1, &r));
}

TEST_F(DesignerItems, SelectingWithAndWithoutExtend)
{
    int w = OpenDesigner();
    for (int i = 0; i < 3; i++) ASSERT_TRUE(Add(w, FormItemBox, 20 * i, 10, 20 * i + 10, 20));
    DesignerSelectItem(w, 2, false);
    DesignerSelectItem(w, 0, true);
    ASSERT_EQ(DesignerSelectedCount(w), 2);
    EXPECT_EQ(DesignerSelectedAt(w, 0), 2) << "in the order chosen";
    DesignerSelectItem(w, 0, true);
    EXPECT_EQ(DesignerSelectedCount(w), 2) << "extending with a selected item keeps it";
    DesignerSelectItem(w, 0, false);
    ASSERT_EQ(DesignerSelectedCount(w), 1);
    EXPECT_EQ(DesignerSelectedAt(w, 0), 0);
    DesignerSelectItem(w, 1, false);
    ASSERT_EQ(DesignerSelectedCount(w), 1);
    EXPECT_EQ(DesignerSelectedAt(w, 0), 1);
}

TEST_F(DesignerItems, ARubberBandSelectsOnlyWhatLiesStrictlyInside)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 50, 50, 100, 100));
    ASSERT_TRUE(Add(w, FormItemBox, 200, 50, 250, 100));
    DesignerSelectOnly(w, -1);
    int y = WinTable[w]->contentRect.top;
    MacRect touching = Screen(50, 40 + y, 120, 120 + y);   // its left edge on the item's
    DesignerClickSelect(w, &touching);
    EXPECT_EQ(DesignerSelectedCount(w), 0);
    MacRect around = Screen(49, 49 + y, 101, 101 + y);
    DesignerClickSelect(w, &around);
    ASSERT_EQ(DesignerSelectedCount(w), 1);
    EXPECT_EQ(DesignerSelectedAt(w, 0), 1);
    MacRect both = Screen(0, y, 300, 200 + y);
    DesignerClickSelect(w, &both);
    EXPECT_EQ(DesignerSelectedCount(w), 2);
}

TEST_F(DesignerItems, SendToBackPutsTheFirstSelectedLast)
{
    int w = OpenDesigner();
    for (int i = 0; i < 4; i++) {
        ASSERT_TRUE(Add(w, FormItemBox, 20 * i, 10, 20 * i + 10, 20));
        SetText(w, 0, std::to_string(i).c_str());
    }
    // rows: 3 2 1 0
    Select(w, {1, 0});
    WinTable[w]->changed = 0;
    DesignerButton(w, 4);
    ASSERT_EQ(DesignerItemCount(w), 4);
    EXPECT_EQ(Text(w, 0), "3");
    EXPECT_EQ(Text(w, 1), "1");
    EXPECT_EQ(Text(w, 2), "0");
    EXPECT_EQ(Text(w, 3), "2");
    EXPECT_EQ(DesignerSelectedCount(w), 0);
    EXPECT_EQ(WinTable[w]->changed, 1);
    DesignerButton(w, 4);
    EXPECT_EQ(Text(w, 3), "2") << "nothing selected: nothing moves";
    DesignerButton(w, 5);
    DesignerButton(w, 0);
    EXPECT_EQ(DesignerWindowOpen(), false);
}

TEST_F(DesignerItems, AResizeGivesEverySelectedItemTheFrame)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 10, 50, 50));
    ASSERT_TRUE(Add(w, FormItemBox, 60, 10, 90, 50));
    Select(w, {1});
    int y = WinTable[w]->contentRect.top;
    MacRect r = Screen(5, 20 + y, 70, 80 + y);
    DesignerSetSelectionRect(w, &r);
    EXPECT_EQ(At(w, 1), (Coords{5, 20, 70, 80}));
    EXPECT_EQ(At(w, 0), (Coords{60, 10, 90, 50}));
}

TEST_F(DesignerItems, TheItemRectangleFollowsTheScroll)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 300, 50, 350));
    int y = WinTable[w]->contentRect.top;
    MacRect r;
    ASSERT_TRUE(DesignerItemRect(w, 0, &r));
    EXPECT_EQ(r.top, 300 + y);
    WinTable[w]->paneScroll = 120;
    ASSERT_TRUE(DesignerItemRect(w, 0, &r));
    EXPECT_EQ(r.top, 180 + y);
    EXPECT_EQ(r.left, 10);
    MacRect band = Screen(0, y, 20, y + 5);
    ASSERT_TRUE(DesignerAddItem(w, &band, FormItemText));
    CloseParts();
    EXPECT_EQ(At(w, 0), (Coords{0, 120, 20, 135})) << "drawn at the scrolled place";
}

TEST(DesignerMarks, AMarkIsTheFiveByFiveSquareRoundItsPoint)
{
    auto point = [](int x, int y) { return int32_t((uint32_t(uint16_t(y)) << 16) | uint16_t(x)); };
    EXPECT_TRUE(DesignerHitMark(point(100, 50), 100, 50));
    EXPECT_TRUE(DesignerHitMark(point(98, 48), 100, 50));
    EXPECT_TRUE(DesignerHitMark(point(102, 52), 100, 50));
    EXPECT_FALSE(DesignerHitMark(point(97, 50), 100, 50));
    EXPECT_FALSE(DesignerHitMark(point(103, 50), 100, 50));
    EXPECT_FALSE(DesignerHitMark(point(100, 53), 100, 50));
}

TEST(DesignerThickness, TheTextIsAWholeNumberFromOneToTen)
{
    uint8_t item[DocVc::Rows::Size] = {};
    auto with = [&item](const char *text) {
        PString t;
        PStringFromC(t, text);
        PutText(item, DocVc::Rows::Font, t);
        return DesignerThickness(item);
    };
    EXPECT_EQ(with("3"), 3);
    EXPECT_EQ(with("10"), 10);
    EXPECT_EQ(with("0"), 1) << "0 prints as the thinnest line, and shows as one pixel";
    EXPECT_EQ(with(""), 1);
    EXPECT_EQ(with("11"), 1);
    EXPECT_EQ(with("-2"), 1);
    EXPECT_EQ(with("thick"), 1);
}

TEST(DesignerLines, NormalisingKeepsOnlyOneDirection)
{
    uint8_t item[DocVc::Rows::Size] = {};
    auto put = [&item](size_t at, int v) {
        PackedDecimal d;
        DecFromLong(&d, v);
        PutDec(item, at, d);
    };
    auto get = [&item](size_t at) {
        PackedDecimal d = GetDec(item, at);
        return int(DecToLong(&d));
    };
    PutU16(item, DocVc::Rows::Kind, FormItemBox);
    put(DocVc::Rows::Left, 0), put(DocVc::Rows::Top, 0), put(DocVc::Rows::Right, 50), put(DocVc::Rows::Bottom, 20);
    DesignerNormaliseLine(item);
    EXPECT_EQ(get(DocVc::Rows::Bottom), 20) << "a box stays a box";
    PutU16(item, DocVc::Rows::Kind, FormItemLine);
    DesignerNormaliseLine(item);
    EXPECT_EQ(get(DocVc::Rows::Bottom), 0);
    EXPECT_EQ(get(DocVc::Rows::Right), 50);
}

// A row write refused halfway through a change of the form's items: the
// rows already written go back, the user is told, and the selection stays
// for another try. Sending to the back is refused at its third write,
// when two items have moved up a row; moving two items at the second,
// when the first has moved.
TEST_F(DesignerItems, ARefusedRowWriteIsToldAndUndone)
{
    int w = OpenDesigner();
    for (int i = 0; i < 4; i++) {
        ASSERT_TRUE(Add(w, FormItemBox, 20 * i, 10, 20 * i + 10, 20));
        SetText(w, 0, std::to_string(i).c_str());
    }
    // The designer's own dictionary has no text for it: the message names
    // the text's number.
    const std::string told = std::to_string(Texts::RowsNotWritten);
    // rows: 3 2 1 0
    Select(w, {1, 0});
    WinTable[w]->changed = 0;
    const size_t shown = Shown().size();
    MatrixTestHooks = MatrixFaultHooks{3, 0};
    DesignerButton(w, 4);
    MatrixTestHooks = MatrixFaultHooks{};
    ASSERT_EQ(DesignerItemCount(w), 4);
    EXPECT_EQ(Text(w, 0), "3");
    EXPECT_EQ(Text(w, 1), "2");
    EXPECT_EQ(Text(w, 2), "1");
    EXPECT_EQ(Text(w, 3), "0");
    ASSERT_EQ(Shown().size(), shown + 1);
    EXPECT_NE(Shown().back().find(told), std::string::npos) << Shown().back();
    EXPECT_EQ(DesignerSelectedCount(w), 2);
    EXPECT_EQ(WinTable[w]->changed, 0);

    const Coords first = At(w, 1), second = At(w, 0);
    MatrixTestHooks = MatrixFaultHooks{2, 0};
    DesignerMoveSelection(w, 5, 0);
    MatrixTestHooks = MatrixFaultHooks{};
    EXPECT_EQ(At(w, 1), first) << "the item moved first went back";
    EXPECT_EQ(At(w, 0), second);
    EXPECT_EQ(Shown().size(), shown + 2);
    EXPECT_EQ(WinTable[w]->changed, 0);
    DesignerMoveSelection(w, 5, 0);
    EXPECT_EQ(At(w, 1).left, first.left + 5) << "nothing refused: both move";
    EXPECT_EQ(At(w, 0).left, second.left + 5);
    EXPECT_EQ(Shown().size(), shown + 2);
}
