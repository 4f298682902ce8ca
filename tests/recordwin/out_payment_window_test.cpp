// out_payment_window_test.cpp - the outgoing-payment window (type 157)
// driven as the framework drives it: fields committed (event 6), the edit,
// row and closed questions (events 1, 4, 9, 26), over the purchase company
// of purchase_fixture.h in a headless frame.
#include <gtest/gtest.h>

#include <cstring>

#include "core/record_buffer.h"
#include "platform/script.h"
#include "recordwin/out_payment_window.h"
#include "recordwin/record_windows.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/purchase_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace Row = OPVc::Rows;

// The row cells of window 157, seven a row (invoice, vendor, giro or
// text, account text, amount, kind, the vendor's name looked up), are
// numbered from the window's matrix on, after every header field.
constexpr int CellsPerRow = 7;
constexpr int ColInvoice = 0, ColVendor = 1, ColAmount = 4, ColVendorName = 6;

class OutPaymentWindowTest : public PurchaseFixture {
protected:
    int w = 0;

    void SetUp() override {
        PurchaseFixture::SetUp();
        if (HasFatalFailure()) return;
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        w = OpenOrActivateWindow(WinTypes::OutPayment, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        PutDate(Op(), OPVc::PayDate, DateRec{20, 6, 2024});
        PutText(Op(), OPVc::PayMode, 1, "K");
        WinSetRecState(w, 1);
        shown.clear();
    }
    void TearDown() override {
        InvoiceFrameDown();
        PurchaseFixture::TearDown();
    }

    uint8_t *Op() { return WinRecordBuffer(w); }
    void Commit(int F, uint8_t changed = 1) {
        int16_t field = int16_t(F);
        EXPECT_EQ(WindowEvent(w, 6, &field, &changed), 1);
    }
    void CommitHeader(uint32_t offset) { Commit(WinScreenFieldOfOffset(w, offset)); }
    int Cell(int row, int column) {
        int first = 0, cells = 0;
        MatrixGeometry(w, &first, &cells);
        EXPECT_EQ(cells, CellsPerRow);
        return first + row * cells + column;
    }
    uint8_t *RowAt(int row) {
        MemBlock h = WinMatrixRows(w);
        uint8_t *p = MemLock(h);
        MemUnlock(h);
        return p + uint32_t(row) * Row::Size;
    }
    // Types invoice serial into row `row` (growing the rows) and commits it.
    void PayInvoice(int row, uint32_t serial) {
        if (WinMatrixRowCount(w) <= row) {
            ASSERT_TRUE(MatrixResize(w, row + 1));
            MatrixRowsClear(w, 1, row, row);
        }
        PutU32(RowAt(row), Row::InvoiceNr, serial);
        Commit(Cell(row, ColInvoice));
    }
    // Gives invoice serial a cash discount and its open item a discount
    // date (no year: none).
    void DiscountTerms(uint32_t serial, double discount, DateRec until) {
        RuleRecord inv(VIVc::Number), item(APVc::Number);
        ASSERT_TRUE(PurchaseInvoiceRead(serial, inv));
        PutDec(inv.record, VIVc::DiscAmount, Dec(discount));
        uint32_t id = 0;
        ASSERT_TRUE(RecStoreByKey(VIVc::Number, inv.record, 1, &id));
        ASSERT_TRUE(VendorOpenItemRead(serial, item, &id));
        PutDate(item.record, APVc::DiscDate, until);
        ASSERT_TRUE(RecStore(APVc::Number, item.record, 1, &id));
    }
};

// Paid within the discount terms, a row pays the open amount less the
// discount and the discount gets a row of kind 5 right after it; without a
// discount date, or after it, the whole open amount is paid.
TEST_F(OutPaymentWindowTest, DiscountRowFollowsTheInvoiceRowWithinTheTerms) {
    uint32_t a = Invoice(1000), b = Invoice(400), c = Invoice(200);
    DiscountTerms(a, 25, DateRec{30, 6, 2024});
    DiscountTerms(b, 10, DateRec{});
    DiscountTerms(c, 5, DateRec{19, 6, 2024});
    PayInvoice(0, a);
    ASSERT_EQ(WinMatrixRowCount(w), 2);
    EXPECT_EQ(Num(RowAt(0), Row::Amount), 1225);
    EXPECT_EQ(Text(RowAt(0), Row::VendCode), "V1");
    EXPECT_EQ(GetU16(RowAt(1), Row::Kind), 5);
    EXPECT_EQ(GetU32(RowAt(1), Row::InvoiceNr), a);
    EXPECT_EQ(Text(RowAt(1), Row::VendCode), "V1");
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 25);
    EXPECT_EQ(Num(Op(), OPVc::RowsTotal), 1225) << "the discount is not paid money";

    PayInvoice(2, b);
    EXPECT_EQ(Num(RowAt(2), Row::Amount), 500) << "no discount date counts as late";
    PayInvoice(3, c);
    EXPECT_EQ(Num(RowAt(3), Row::Amount), 250);
    EXPECT_EQ(WinMatrixRowCount(w), 4);

    PackedDecimal paid;
    PaymentRowsPaidSum(Op(), a, &paid);
    EXPECT_EQ(Num(paid.b, 0), 1250);
    PaymentRowsPaidSum(Op(), 999, &paid);
    EXPECT_TRUE(DecIsBlank(&paid));

    // An unknown invoice beeps and leaves the row.
    int beeps = PlBeepCount();
    PayInvoice(4, 999);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(RowAt(4)[Row::VendCode], 0);

    // A row filled for an invoice by the buttons' step proposes what is
    // still open after this payment's rows.
    ASSERT_TRUE(MatrixResize(w, 6));
    MatrixRowsClear(w, 1, 5, 5);
    PutDec(RowAt(3), Row::Amount, Dec(100));
    PaymentRowFromInvoice(c, w, 5);
    EXPECT_EQ(Num(RowAt(5), Row::Amount), 150);
    EXPECT_EQ(Text(RowAt(5), Row::VendCode), "V1");
}

// The first row's invoice sets the payment's currency and rate; a later
// row in another currency is told 1217 and kept, the currency staying.
TEST_F(OutPaymentWindowTest, FirstRowSetsTheCurrencyLaterOnesAreTold) {
    uint32_t euro = Invoice(1000, "V2", "EUR", 1100), home = Invoice(100);
    PayInvoice(0, euro);
    EXPECT_EQ(Text(Op(), OPVc::CurncyCode), "EUR");
    EXPECT_FALSE(Told(Texts::CurrencyDiffers));
    PackedDecimal rate = GetDec(Op(), OPVc::Rate);
    EXPECT_FALSE(DecIsBlank(&rate));
    PayInvoice(1, home);
    EXPECT_TRUE(Told(Texts::CurrencyDiffers));
    EXPECT_EQ(Text(Op(), OPVc::CurncyCode), "EUR");
    EXPECT_EQ(Num(RowAt(1), Row::Amount), 125);
}

// No row is inserted in the middle; the posted flag waits for the approved
// one, which cannot be taken back; an approved stored payment keeps its
// rows and a posted one is closed.
TEST_F(OutPaymentWindowTest, FlagsInOrderAndRowsKept) {
    int16_t row = 0, field = 1;
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    uint16_t posted = OPVc::Posted, approved = OPVc::Approved;
    EXPECT_EQ(Win157Event(w, 1, &field, &posted), 0) << "not approved yet";
    PutU16(Op(), OPVc::Approved, 1);
    EXPECT_EQ(Win157Event(w, 1, &field, &posted), 1);
    EXPECT_EQ(Win157Event(w, 1, &field, &approved), 1) << "a new payment may still take it back";
    WinSetRecState(w, 0);
    EXPECT_EQ(Win157Event(w, 1, &field, &approved), 0);

    uint8_t stored[OPVc::Size] = {};
    WinTable[w]->stored = stored;
    WinSetRecState(w, 2);
    PutU16(Op(), OPVc::Approved, 0);
    EXPECT_EQ(Win157Event(w, 1, &field, &approved), 1);
    EXPECT_EQ(Win157Event(w, 4, &row, nullptr), 1);
    PutU16(stored, OPVc::Approved, 1);
    EXPECT_EQ(Win157Event(w, 1, &field, &approved), 0);
    EXPECT_EQ(Win157Event(w, 4, &row, nullptr), 0);
    WinTable[w]->stored = nullptr;
    WinSetRecState(w, 1);

    EXPECT_EQ(Win157Event(w, 26, nullptr, nullptr), 1);
    PutU16(Op(), OPVc::Posted, 1);
    EXPECT_EQ(Win157Event(w, 26, nullptr, nullptr), 0);
}

// The home amount gives the rate, unless the rows total nothing (the rate
// stays); bank charges give the home amount.
TEST_F(OutPaymentWindowTest, RateFromAmountsAndHomeAmount) {
    PutDec(Op(), OPVc::Rate, Dec(100));
    PutDec(Op(), OPVc::HomeTotal, Dec(500));
    CommitHeader(OPVc::HomeTotal);
    EXPECT_EQ(Num(Op(), OPVc::Rate), 100) << "rows totalling nothing leave the rate";

    PayInvoice(0, Invoice(800));
    EXPECT_EQ(Num(Op(), OPVc::RowsTotal), 1000);
    PutDec(Op(), OPVc::BankCharges, Dec(50));
    PutDec(Op(), OPVc::HomeTotal, Dec(11300));
    CommitHeader(OPVc::HomeTotal);
    EXPECT_EQ(Num(Op(), OPVc::Rate), 1125);
    PutDec(Op(), OPVc::Rate, Dec(110));
    PutDec(Op(), OPVc::BankCharges, Dec(20));
    CommitHeader(OPVc::BankCharges);
    EXPECT_EQ(Num(Op(), OPVc::HomeTotal), 1120);

    // A vendor typed alone draws its texts and shows its name, which is
    // looked up and never typed; an unknown one beeps and names nobody.
    ASSERT_TRUE(MatrixResize(w, 2));
    MatrixRowsClear(w, 1, 1, 1);
    PutText(RowAt(1), Row::VendCode, 20, "V3");
    Commit(Cell(1, ColVendor));
    uint8_t name[256];
    MatrixCellDisplayText(w, Cell(1, ColVendorName), name);
    EXPECT_EQ(PStringToStd(name), "Strict Vendor");
    EXPECT_EQ(WinFieldEditRules(w, Cell(1, ColVendorName), 1, 0, 1), 0);
    EXPECT_EQ(WinFieldEditRules(w, Cell(1, ColVendor), 1, 0, 1), 1);
    MatrixCellDisplayText(w, Cell(0, ColVendorName), name);
    EXPECT_EQ(PStringToStd(name), "First Vendor") << "the first row's vendor, not the second's";
    int beeps = PlBeepCount();
    PutText(RowAt(1), Row::VendCode, 20, "NOBODY");
    Commit(Cell(1, ColVendor));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    MatrixCellDisplayText(w, Cell(1, ColVendorName), name);
    EXPECT_EQ(PStringToStd(name), "");
    PutDec(RowAt(1), Row::Amount, Dec(40));
    Commit(Cell(1, ColAmount));
    EXPECT_EQ(Num(Op(), OPVc::RowsTotal), 1040);
}

}  // namespace
