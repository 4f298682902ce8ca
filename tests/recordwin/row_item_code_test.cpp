// row_item_code_test.cpp - the serial-number list starts from the item
// of the row selected in the window that opened it (by that window's
// register), and the voucher list's own column shows the voucher's year
// code and number.
#include <gtest/gtest.h>

#include <string>

#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "recordwin/record_windows.h"
#include "rules/choice_list_fill.h"
#include "shell/matrix_editing.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "platform/control.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"
#include "tests/output/printing_fixture.h"

namespace {

constexpr int SerialChoice = 562;

class RowItemCodeTest : public Printing<InvoiceFixture> {
protected:
    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    // A window of the type with n rows whose item codes are given.
    int WithRows(int type, uint32_t rowSize, uint32_t itemAt, std::initializer_list<const char *> items)
    {
        int w = OpenOrActivateWindow(type, 0, 0, false, 0);
        EXPECT_GT(w, 0) << type;
        if (w <= 0) return 0;
        WinSetRecState(w, 1);
        EXPECT_TRUE(MatrixResize(w, int(items.size())));
        MatrixRowsClear(w, 1, 0, int(items.size()) - 1);
        MemBlock h = WinMatrixRows(w);
        uint8_t *p = MemLock(h);
        int i = 0;
        for (const char *code : items) PutText(p + uint32_t(i++) * rowSize, itemAt, 20, code);
        MemUnlock(h);
        return w;
    }
    static std::string Item() { return std::string(reinterpret_cast<const char *>(ChoiceItem + 1), ChoiceItem[0]); }
    // A serial-number choice window opened from `opener`.
    static int Choice(int opener)
    {
        int c = OpenOrActivateWindow(SerialChoice, 0, 0, false, opener);
        EXPECT_GT(c, 0);
        return c;
    }
};

TEST_F(RowItemCodeTest, SerialListStartsFromTheOpenersSelectedRow)
{
    StoreRecord(SerialStockVc::Number, [](uint8_t *r) {
        PutText(r, SerialStockVc::ItemCode, 20, "ITEM2");
        PutText(r, SerialStockVc::SerialNr, 30, "SN-77");
        PutDec(r, SerialStockVc::Quantity, Dec(1));
    });
    int inv = WithRows(WinTypes::SalesInvoice, IVVc::Rows::Size, IVVc::Rows::ItemCode, {"ITEM1", "ITEM2"});
    ASSERT_GT(inv, 0);
    WinTable[inv]->selectedMatrixRow = 1;
    int c = Choice(inv);
    EXPECT_EQ(Item(), "ITEM2");
    EXPECT_EQ(ListBoxCount(WinListBox(c)), 1);
    WinClose(c);

    // A selected row past the rows, or none, starts from no item.
    WinTable[inv]->selectedMatrixRow = 2;
    std::memcpy(ChoiceItem, "\x03" "OLD", 4);
    c = Choice(inv);
    EXPECT_EQ(Item(), "");
    EXPECT_EQ(ListBoxCount(WinListBox(c)), 0);
    WinClose(c);
    WinTable[inv]->selectedMatrixRow = -1;
    c = Choice(inv);
    EXPECT_EQ(Item(), "");
    WinClose(c);

    // The order keeps its item code after the row kind.
    int order = WithRows(WinTypes::Order, ORVc::Rows::Size, ORVc::Rows::ItemCode, {"ITEM1"});
    ASSERT_GT(order, 0);
    WinTable[order]->selectedMatrixRow = 0;
    c = Choice(order);
    EXPECT_EQ(Item(), "ITEM1");
    WinClose(c);

    // An opener of another register, or none, gives no item.
    int list = OpenOrActivateWindow(WinTypes::CustomerList, 0, 0, false, 0);
    ASSERT_GT(list, 0);
    c = Choice(list);
    EXPECT_EQ(Item(), "");
    WinClose(c);
    c = Choice(0);
    EXPECT_EQ(Item(), "");
}

TEST_F(RowItemCodeTest, VoucherListColumnShowsYearCodeAndNumber)
{
    uint8_t voucher[TRVc::Size] = {};
    PutU32(voucher, TRVc::SerNr, 42);
    uint8_t text[256] = {9, 'l', 'e', 'f', 't', 'o', 'v', 'e', 'r', 's'};
    RowExtraText(118, 0, voucher, text);
    std::string reference(reinterpret_cast<const char *>(text + 1), text[0]);
    EXPECT_NE(reference.find("42"), std::string::npos) << reference;
    // The rule goes by the window type, not by register 118.
    RowExtraText(TRVc::Number, 0, voucher, text);
    EXPECT_EQ(text[0], 0);
    RowExtraText(117, 0, voucher, text);
    EXPECT_EQ(text[0], 0);
    RowExtraText(118, 0, nullptr, text);
    EXPECT_EQ(text[0], 0);
}

}  // namespace
