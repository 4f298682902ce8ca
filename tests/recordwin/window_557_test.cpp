// window_557_test.cpp - the sales document of register 127 (window type
// 557) driven as the framework drives it: its edit and row questions by
// edit state, the customer filling it, and a row's sum following its
// quantity, price and discount, with the profit and totals after it.
#include <gtest/gtest.h>

#include <string>

#include "core/work_blocks.h"
#include "recordwin/record_windows.h"
#include "shell/matrix_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace SD = SalesDocVc;
namespace Row = SalesDocVc::Rows;

constexpr int Type557 = 557;
constexpr int ColItem = 0, ColQty = 1, ColPrice = 3, ColDiscount = 4, ColVat = 6;

class Window557Test : public InvoiceFixture {
protected:
    int w = 0;

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
        shown.clear();
        w = OpenOrActivateWindow(Type557, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        PutDate(Rec(), SD::DocDate, DateRec{10, 6, 2024});
        WinSetRecState(w, 1);
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    uint8_t *Rec() { return WinRecordBuffer(w); }
    void Leave(int F, uint8_t changed = 1)
    {
        int16_t field = int16_t(F);
        EXPECT_EQ(WindowEvent(w, 6, &field, &changed), 1);
    }
    int Cell(int row, int column)
    {
        int first = 0, cells = 0;
        MatrixGeometry(w, &first, &cells);
        return first + row * cells + column;
    }
    uint8_t *RowAt(int row)
    {
        MemBlock h = WinMatrixRows(w);
        uint8_t *p = MemLock(h);
        MemUnlock(h);
        return p + uint32_t(row) * Row::Size;
    }
    static double Num(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d) ? -999999 : DecToDouble(&d);
    }
    uint8_t Ask(int event, int16_t row = 0) { return WindowEvent(w, event, &row, nullptr); }
    uint8_t AskEdit()
    {
        int16_t field = 1;
        uint16_t id = SD::CustName;
        return WindowEvent(w, 1, &field, &id);
    }
};

// A new document may be edited and get rows; a stored one shown or being
// changed may not be edited field by field nor get rows; its rows may be
// deleted only while it is not being changed.
TEST_F(Window557Test, EditAndRowQuestionsFollowTheEditState)
{
    struct Case {
        int state;
        uint8_t edit, insert, remove;
    };
    for (const Case &c : {Case{1, 1, 1, 1}, Case{0, 0, 0, 1}, Case{2, 0, 0, 0}}) {
        WinTable[w]->editState = uint16_t(c.state);
        EXPECT_EQ(AskEdit(), c.edit) << c.state;
        EXPECT_EQ(Ask(9), c.insert) << c.state;
        EXPECT_EQ(Ask(4), c.remove) << c.state;
    }
}

// The customer fills name, terms and codes; an unknown one beeps and
// changes nothing; the credit warning follows block 205's invoice word.
TEST_F(Window557Test, CustomerFillsTheDocumentOrBeeps)
{
    StoreInvoiceCustomer("C9", "Nine Customer", "", 0, 10);
    PutText(Rec(), SD::CustCode, 20, "C9");
    Leave(WinScreenFieldOfOffset(w, SD::CustCode));
    EXPECT_EQ(Text(Rec(), SD::CustName), "Nine Customer");
    EXPECT_EQ(Text(Rec(), SD::PayTerms), "30");

    int beeps = PlBeepCount();
    PutText(Rec(), SD::CustCode, 20, "NOBODY");
    PutText(Rec(), SD::CustName, 60, "Kept");
    Leave(WinScreenFieldOfOffset(w, SD::CustCode));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(Text(Rec(), SD::CustName), "Kept");
    EXPECT_FALSE(Doc557CustomerFill(nullptr));
}

// An item prices its row; a changed quantity, price or discount gives the
// row sum again (the discount too, which an older rule left out), and the
// profit and totals follow.
TEST_F(Window557Test, RowSumFollowsQuantityPriceAndDiscount)
{
    PutText(Rec(), SD::CustCode, 20, "C1");
    Leave(WinScreenFieldOfOffset(w, SD::CustCode));
    ASSERT_TRUE(MatrixResize(w, 1));
    MatrixRowsClear(w, 1, 0, 0);
    PutDec(RowAt(0), Row::Quantity, Dec(1));
    PutText(RowAt(0), Row::ItemCode, 20, "ITEM1");
    Leave(Cell(0, ColItem));
    EXPECT_EQ(Num(RowAt(0), Row::Price), 100);
    EXPECT_EQ(Num(RowAt(0), Row::Sum), 100);

    PutDec(RowAt(0), Row::Discount, Dec(10));
    Leave(Cell(0, ColDiscount));
    EXPECT_EQ(Num(RowAt(0), Row::Sum), 90);
    EXPECT_EQ(Num(RowAt(0), Row::GrossProfit), 30);
    EXPECT_EQ(Num(Rec(), SD::NetTotal), 90);

    PutDec(RowAt(0), Row::Price, Dec(200));
    Leave(Cell(0, ColPrice));
    EXPECT_EQ(Num(RowAt(0), Row::Sum), 180);

    PutDec(RowAt(0), Row::Quantity, Dec(2));
    Leave(Cell(0, ColQty));
    // The quantity prices the row again from the item, its discount too.
    EXPECT_EQ(Num(RowAt(0), Row::Price), 100);
    EXPECT_EQ(Num(RowAt(0), Row::Sum), 200);
    EXPECT_EQ(Num(Rec(), SD::NetTotal), 200);

    // An unchanged cell left changes nothing; an unknown item beeps and
    // keeps the row.
    Leave(Cell(0, ColVat), 0);
    EXPECT_EQ(Num(RowAt(0), Row::Sum), 200);
    int beeps = PlBeepCount();
    PutText(RowAt(0), Row::ItemCode, 20, "NOSUCH");
    Leave(Cell(0, ColItem));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(Num(RowAt(0), Row::Sum), 200);
}

}  // namespace
