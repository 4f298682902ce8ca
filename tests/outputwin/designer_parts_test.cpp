// The designer's part windows: opened for the first selected item or for
// the form, their OK writing back only what changed, and only to the item
// (and the form) they were opened for.
#include <gtest/gtest.h>

#include "recordwin/record_windows.h"
#include "tests/outputwin/designer_fixture.h"

using DesignerParts = DesignerFixture;

TEST_F(DesignerParts, EachKindOpensItsOwnPartWindow)
{
    int w = OpenDesigner();
    const char *names[] = {"DocTextVClass", "DocLineVClass", "DocFrameVClass", "DocFldVClass", "DocPictVClass"};
    for (int kind = FormItemText; kind <= FormItemPicture; kind++) {
        MacRect r = Screen(10, 50, 40, 80);
        ASSERT_TRUE(DesignerAddItem(w, &r, kind));
        EXPECT_GT(Part(names[kind - 1]), 0) << kind;
        EXPECT_TRUE(DesignerWindowOpen());
        CloseParts();
        EXPECT_FALSE(DesignerWindowOpen());
    }
    DesignerSelectOnly(w, -1);
    DesignerOpenPart(w);
    EXPECT_FALSE(DesignerWindowOpen()) << "nothing selected, nothing opens";
}

TEST_F(DesignerParts, OkWithoutChangesLeavesTheFormAsItWas)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemText, 10, 10, 40, 30));
    SetText(w, 0, "Invoice");
    DesignerSelectOnly(w, -1);
    DesignerSelectItem(w, 0, false);
    DesignerOpenPart(w);
    int part = Part("DocTextVClass");
    ASSERT_GT(part, 0);
    WinTable[w]->changed = 0;
    WindowOkAction(part);
    EXPECT_FALSE(WinIsOpen(part) && WinTypeOf(part) == 24) << "OK closes it";
    EXPECT_EQ(WinTable[w]->changed, 0);
    EXPECT_EQ(Text(w, 0), "Invoice");
}

TEST_F(DesignerParts, OkWritesToTheItemItWasOpenedForAfterTheSelectionMoved)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemText, 10, 10, 40, 30));   // A, row 1 after the next
    ASSERT_TRUE(Add(w, FormItemText, 60, 10, 90, 30));   // B, row 0
    SetText(w, 1, "A");
    SetText(w, 0, "B");
    DesignerSelectItem(w, 1, false);
    DesignerOpenPart(w);
    int part = Part("DocTextVClass");
    ASSERT_GT(part, 0);
    DesignerSelectItem(w, 0, false);   // B becomes the first selected
    Type("Total");
    WinTable[w]->changed = 0;
    WindowOkAction(part);
    EXPECT_EQ(Text(w, 1), "Total");
    EXPECT_EQ(Text(w, 0), "B");
    EXPECT_EQ(WinTable[w]->changed, 1);
    EXPECT_FALSE(DesignerWindowOpen());
}

TEST_F(DesignerParts, ALinesOkNormalisesIt)
{
    int w = OpenDesigner();
    MacRect r = Screen(10, 50, 60, 52);
    ASSERT_TRUE(DesignerAddItem(w, &r, FormItemLine));
    int part = Part("DocLineVClass");
    ASSERT_GT(part, 0);
    // A copy made taller than wide comes back vertical.
    uint8_t *copy = WinRecordBuffer(part);
    PackedDecimal d;
    DecFromLong(&d, 400);
    PutDec(copy, DocVc::Rows::Bottom, d);
    DesignerItemOk(part);
    Coords c = At(w, 0);
    EXPECT_EQ(c.left, c.right);
    EXPECT_EQ(c.bottom, 400);
}

TEST_F(DesignerParts, OkAfterItsDesignerWentAwayWritesNothing)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemText, 10, 10, 40, 30));
    DesignerSelectItem(w, 0, false);
    DesignerOpenPart(w);
    int part = Part("DocTextVClass");
    ASSERT_GT(part, 0);
    // The designer shows another record now: the row is not the one the
    // part window was opened for.
    WinTable[w]->recordId = 77;
    Type("Lost");
    DesignerItemOk(part);
    EXPECT_EQ(Text(w, 0), "");
    EXPECT_FALSE(DesignerWindowOpen());
    // And with the designer closed the OK only closes the part window.
    WinTable[w]->recordId = 0;
    DesignerOpenPart(w);
    part = Part("DocTextVClass");
    ASSERT_GT(part, 0);
    WinClose(w);
    DesignerItemOk(part);
    EXPECT_FALSE(DesignerWindowOpen());
}

TEST_F(DesignerParts, TheFormWindowsCopyTheFormsOwnBytesOnly)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 10, 40, 30));
    ASSERT_TRUE(Add(w, FormItemBox, 50, 10, 80, 30));
    uint32_t handle = GetU32(WinRecordBuffer(w), DocVc::Matrix);
    DesignerButton(w, 1);
    int part = Part("DocMainVClass");
    ASSERT_GT(part, 0);
    EXPECT_EQ(GetU32(WinRecordBuffer(part), DocVc::Matrix), 0u) << "the rows handle is not copied";
    Type("INVOICE");
    WinTable[w]->changed = 0;
    WindowOkAction(part);
    EXPECT_FALSE(DesignerWindowOpen());
    PString code;
    GetText(WinRecordBuffer(w), DocVc::Code, code);
    EXPECT_EQ(PStringToStd(code), "INVOICE");
    EXPECT_EQ(GetU32(WinRecordBuffer(w), DocVc::Matrix), handle);
    EXPECT_EQ(DesignerItemCount(w), 2);
    EXPECT_EQ(WinTable[w]->changed, 1);
    // Unchanged, the OK marks nothing.
    DesignerButton(w, 3);
    part = Part("DocCopiesVClass");
    ASSERT_GT(part, 0);
    WinTable[w]->changed = 0;
    WindowOkAction(part);
    EXPECT_EQ(WinTable[w]->changed, 0);
    EXPECT_FALSE(DesignerWindowOpen());
}

TEST_F(DesignerParts, TheOperationsMenuRunsTheButtons)
{
    int w = OpenDesigner();
    ASSERT_TRUE(Add(w, FormItemBox, 10, 10, 40, 30));
    ASSERT_TRUE(Add(w, FormItemBox, 50, 10, 80, 30));
    int op = 2;
    (void)WindowEvent(w, 23, &op, &op);   // on to the window button table
    EXPECT_GT(Part("DocPCVClass"), 0);
    CloseParts();
    DesignerSelectItem(w, 0, false);
    op = 4;
    (void)WindowEvent(w, 23, &op, &op);
    EXPECT_EQ(At(w, 1), (Coords{50, 10, 80, 30})) << "sent to the back";
    op = 9;
    (void)WindowEvent(w, 23, &op, &op);
    EXPECT_FALSE(DesignerWindowOpen());
}
