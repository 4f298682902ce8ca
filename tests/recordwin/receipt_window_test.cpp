// receipt_window_test.cpp - the customer-receipt window (type 41) driven as
// the framework drives it: fields left (event 6), new rows (event 3), the
// closed question (event 26) and the buttons, over the receipt company of
// receipt_fixture.h in a headless frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/record_buffer.h"
#include "platform/script.h"
#include "recordwin/receipt_window.h"
#include "recordwin/record_windows.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/receipt_fixture.h"
#include "tests/shell/invoice_frame.h"
#include "tests/recordwin/window_driver.h"

namespace {

namespace Row = IPVc::Rows;

// The row cells of window 41, seven a row (invoice, customer, text,
// amount, date, kind, skip), are numbered from the window's matrix on,
// after every header field.
constexpr int CellsPerRow = 7;
constexpr int ColInvoice = 0, ColCustomer = 1, ColAmount = 3, ColDate = 4;

class ReceiptWindowTest : public ReceiptFixture, public WindowDriver {
protected:
    using ReceiptFixture::Num;   // blank amounts read as 0

    void SetUp() override {
        ReceiptFixture::SetUp();
        if (HasFatalFailure()) return;
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        w = OpenOrActivateWindow(WinTypes::Receipt, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        PutDate(Rc(), IPVc::TransDate, DateRec{20, 6, 2024});
        PutText(Rc(), IPVc::PayMode, 2, "K");
        WinSetRecState(w, 1);
        shown.clear();
    }
    void TearDown() override {
        InvoiceFrameDown();
        ReceiptFixture::TearDown();
    }

    uint8_t *Rc() { return Rec(); }
    int Cell(int row, int column) {
        int first = 0, cells = 0;
        MatrixGeometry(w, &first, &cells);
        EXPECT_EQ(cells, CellsPerRow);
        return first + row * cells + column;
    }
    uint8_t *RowAt(int row) { return RowBytes(row, Row::Size); }
    // Types invoice serial into row `row` (growing the rows) and leaves it.
    void PayInvoice(int row, int32_t serial) {
        if (WinMatrixRowCount(w) <= row) {
            ASSERT_TRUE(MatrixResize(w, row + 1));
            MatrixRowsClear(w, 1, row, row);
        }
        PutI32(RowAt(row), Row::InvoiceNr, serial);
        Leave(Cell(row, ColInvoice));
    }
    // The invoice's cash-discount percentage and its open item's discount
    // date.
    void DiscountTerms(int32_t serial, double pct, DateRec until) {
        RuleRecord inv(IVVc::Number), item(ARVc::Number);
        ASSERT_TRUE(ReceiptInvoiceRead((uint32_t)serial, inv));
        PutDec(inv.record, IVVc::CashDiscPct, Dec(pct));
        uint32_t id = 0;
        ASSERT_TRUE(RecStoreByKey(IVVc::Number, inv.record, 1, &id));
        ASSERT_TRUE(ReceiptOpenItemRead((uint32_t)serial, item, &id));
        PutDate(item.record, ARVc::CashDiscDate, until);
        ASSERT_TRUE(RecStore(ARVc::Number, item.record, 1, &id));
    }
};

// A first row for a EUR invoice switches the receipt to EUR at the day's
// rate; a later row for a home-currency invoice is told 1217 and leaves
// the currency. The totals follow the rows.
TEST_F(ReceiptWindowTest, FirstForeignRowSwitchesTheCurrencyALaterOneIsTold) {
    StorePostedInvoice(501, "C2", 1000, "EUR", 100);
    StorePostedInvoice(601, "C1", 400);
    PayInvoice(0, 501);
    EXPECT_EQ(Text(Rc(), IPVc::CurncyCode), "EUR");
    EXPECT_EQ(Num(Rc(), IPVc::Rate), 1125);
    EXPECT_EQ(Text(RowAt(0), Row::CustCode), "C2");
    EXPECT_EQ(GetU16(RowAt(0), Row::Kind), 1);
    EXPECT_EQ(Num(RowAt(0), Row::Amount), 1000);
    EXPECT_EQ(Num(Rc(), IPVc::Total), 1000);
    EXPECT_EQ(Num(Rc(), IPVc::AmountRec), 11250);
    EXPECT_FALSE(WasShown(Texts::CurrencyDiffers));
    PayInvoice(1, 601);
    EXPECT_TRUE(WasShown(Texts::CurrencyDiffers));
    EXPECT_EQ(Text(Rc(), IPVc::CurncyCode), "EUR");

    // An unknown invoice beeps.
    int beeps = PlBeepCount();
    PayInvoice(2, 999);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
}

// Within the discount terms a payment row gets what is open less the
// discount, rounded to whole units, and a discount row below; a second
// payment row for the invoice proposes only what is left. An open item
// without a discount date, or a payment after it, gives no discount.
TEST_F(ReceiptWindowTest, DiscountRowsAndWhatIsLeft) {
    StorePostedInvoice(602, "C1", 1000);
    DiscountTerms(602, 2.37, DateRec{30, 6, 2024});
    PayInvoice(0, 602);
    ASSERT_EQ(WinMatrixRowCount(w), 2);
    EXPECT_EQ(Num(RowAt(0), Row::Amount), 976);
    EXPECT_EQ(GetU16(RowAt(1), Row::Kind), 5);
    EXPECT_EQ(GetU32(RowAt(1), Row::InvoiceNr), 602u);
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 24);
    EXPECT_EQ(Num(Rc(), IPVc::Total), 976) << "discount rows are not received money";

    // Part of it paid now; the next row proposes the rest after both rows.
    PutDec(RowAt(0), Row::Amount, Dec(300));
    Leave(Cell(0, ColAmount));
    EXPECT_EQ(WinMatrixRowCount(w), 2) << "a following discount row keeps the amount typed";
    PayInvoice(2, 602);
    EXPECT_EQ(Num(RowAt(2), Row::Amount), 676 - 16);
    EXPECT_EQ(Num(RowAt(3), Row::Amount), 16);

    // A changed payment date drops the discount row below.
    Leave(Cell(2, ColDate));
    ASSERT_EQ(WinMatrixRowCount(w), 3);

    // No discount date: no discount.
    StorePostedInvoice(603, "C1", 500);
    DiscountTerms(603, 2, DateRec{});
    PayInvoice(3, 603);
    EXPECT_EQ(Num(RowAt(3), Row::Amount), 500);
    EXPECT_EQ(WinMatrixRowCount(w), 4);
    // Paid after the discount date: none either.
    StorePostedInvoice(604, "C1", 500);
    DiscountTerms(604, 2, DateRec{19, 6, 2024});
    PayInvoice(4, 604);
    EXPECT_EQ(Num(RowAt(4), Row::Amount), 500);
    EXPECT_EQ(WinMatrixRowCount(w), 5);
}

// A payment on account takes the customer's name and the receipt's date;
// the payment mode gives the receipt its text; the amount received gives
// the rate, unless the rows total nothing.
TEST_F(ReceiptWindowTest, OnAccountPaymentModeAndRate) {
    Rows(1);
    EXPECT_EQ(GetU32(RowAt(0), Row::Link), 0xFFFFFFFFu) << "a new row has no days overdue";
    EXPECT_EQ(GetI32(RowAt(0), Row::InvoiceNr), -1) << "a new row names no invoice";
    PutText(RowAt(0), Row::CustCode, 20, "C1");
    Leave(Cell(0, ColCustomer));
    EXPECT_EQ(Text(RowAt(0), Row::Text), "First Customer");
    DateRec paid = GetDate(RowAt(0), Row::PayDate);
    EXPECT_EQ(paid.day * 100 + paid.month, 2006);

    PutText(Rc(), IPVc::Text, 60, "");
    Leave(WinScreenFieldOfOffset(w, IPVc::PayMode));
    EXPECT_EQ(Text(Rc(), IPVc::Text), "Cash");

    PutDec(Rc(), IPVc::Rate, Dec(100));
    PutDec(Rc(), IPVc::AmountRec, Dec(50));
    Leave(WinScreenFieldOfOffset(w, IPVc::AmountRec));
    EXPECT_EQ(Num(Rc(), IPVc::Rate), 100) << "rows totalling nothing leave the rate";
    PutDec(RowAt(0), Row::Amount, Dec(200));
    Leave(Cell(0, ColAmount));
    EXPECT_EQ(Num(Rc(), IPVc::Total), 200);
    PutDec(Rc(), IPVc::AmountRec, Dec(220));
    Leave(WinScreenFieldOfOffset(w, IPVc::AmountRec));
    EXPECT_EQ(Num(Rc(), IPVc::Rate), 110);
}

// Buttons 1 and 2 add a discount and a fee row for the invoice of the
// current row, each proposing what is left open; a posted receipt is
// closed to edits.
TEST_F(ReceiptWindowTest, ButtonsAddDiscountAndFeeRowsAndAPostedReceiptIsClosed) {
    StorePostedInvoice(701, "C1", 1000);
    PayInvoice(0, 701);
    // An amount emptied is proposed again: what is open.
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(RowAt(0), Row::Amount, blank);
    Leave(Cell(0, ColAmount));
    EXPECT_EQ(Num(RowAt(0), Row::Amount), 1000);
    PutDec(RowAt(0), Row::Amount, Dec(990));
    Leave(Cell(0, ColAmount));
    WinSelectRow(w, 0, true);
    Win41Button(w, 2);
    ASSERT_EQ(WinMatrixRowCount(w), 2);
    EXPECT_EQ(GetU16(RowAt(1), Row::Kind), 6);
    EXPECT_EQ(GetU32(RowAt(1), Row::InvoiceNr), 701u);
    EXPECT_EQ(Text(RowAt(1), Row::CustCode), "C1");
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 10);
    WinSelectRow(w, 0, true);
    Win41Button(w, 1);
    ASSERT_EQ(WinMatrixRowCount(w), 3);
    EXPECT_EQ(GetU16(RowAt(1), Row::Kind), 5);
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 0) << "nothing is left after the payment and the fee";
    EXPECT_EQ(GetU16(RowAt(2), Row::Kind), 6);
    Win41Button(w, 4);
    EXPECT_EQ(WinMatrixRowCount(w), 3) << "no such button";

    EXPECT_EQ(WindowEvent(w, 26, nullptr, nullptr), 1);
    PutU16(Rc(), IPVc::Posted, 1);
    uint16_t text = IPVc::Text;
    EXPECT_EQ(WindowEvent(w, 1, nullptr, &text), 1) << "a new receipt ticked Posted stays open to typing";
    WinSetRecState(w, 0);
    EXPECT_EQ(WindowEvent(w, 1, nullptr, &text), 0);
    EXPECT_EQ(WindowEvent(w, 26, nullptr, nullptr), 0);
    int16_t row = 0;
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
}

}  // namespace
