// person_payment_window_test.cpp - the person-payment window (type 476)
// and the expense window (type 475) driven as the framework drives them:
// fields committed (event 6), the edit, row and closed questions (events
// 1, 4, 9, 26) and Enter (event 7), over the purchase company of
// purchase_fixture.h in a headless frame.
#include <gtest/gtest.h>

#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "platform/script.h"
#include "recordwin/person_payment_window.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/purchase_fixture.h"
#include "tests/shell/invoice_frame.h"
#include "tests/recordwin/window_driver.h"

namespace {

constexpr int PersonPayment = 476, Expense = 475;

class PersonWindowsTest : public PurchaseFixture, public WindowDriver {
protected:
    using PurchaseFixture::Num;   // blank amounts read as 0

    void SetUp() override {
        PurchaseFixture::SetUp();
        if (HasFatalFailure()) return;
        InvoiceFrameUp();
        shown.clear();
    }
    void TearDown() override {
        InvoiceFrameDown();
        PurchaseFixture::TearDown();
    }
    void Open(int type) {
        w = OpenOrActivateWindow(type, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        WinSetRecState(w, 1);
    }
    // The screen field of the first row cell: the cells follow every
    // header field.
    int FirstCell() const {
        int first = 0, cells = 0;
        MatrixGeometry(w, &first, &cells);
        return first;
    }
};

// A person typed into a row draws the name (the row's text of 20 stays
// empty); an unknown person beeps and empties it. The amounts give the
// totals, the bank amount the rate unless the rows total nothing.
TEST_F(PersonWindowsTest, PersonPaymentRowsTotalsAndRate) {
    Open(PersonPayment);
    namespace Row = PersPayVc::Rows;
    const int First = FirstCell(), Cells = 6;
    PutDec(Rec(), PersPayVc::Rate, Dec(100));
    PutDec(Rec(), PersPayVc::BankAmount, Dec(300));
    LeaveField(PersPayVc::BankAmount);
    EXPECT_EQ(Num(Rec(), PersPayVc::Rate), 100) << "rows totalling nothing leave the rate";

    Rows(2);
    PutText(RowBytes(0, Row::Size), Row::Person, 5, "P1");
    Leave(First + 0);
    EXPECT_EQ(Text(RowBytes(0, Row::Size), Row::Name), "Pat Person");
    EXPECT_EQ(Text(RowBytes(0, Row::Size), Row::RowText), "");
    int beeps = PlBeepCount();
    PutText(RowBytes(1, Row::Size), Row::Person, 5, "ZZ");
    PutText(RowBytes(1, Row::Size), Row::Name, 60, "old");
    Leave(First + Cells);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(Text(RowBytes(1, Row::Size), Row::Name), "");

    PutDec(RowBytes(0, Row::Size), Row::Amount, Dec(200));
    Leave(First + 3);
    EXPECT_EQ(Num(Rec(), PersPayVc::Total), 200);
    PutDec(Rec(), PersPayVc::BankCharges, Dec(10));
    PutDec(Rec(), PersPayVc::BankAmount, Dec(230));
    LeaveField(PersPayVc::BankAmount);
    EXPECT_EQ(Num(Rec(), PersPayVc::Rate), 110);
}

// A new row takes the paid kind when a cell of it changes; a write of it
// refused leaves the row as it was (no kind, no name drawn) and is told.
TEST_F(PersonWindowsTest, PersonPaymentRowKindRefusedIsTold) {
    Open(PersonPayment);
    namespace Row = PersPayVc::Rows;
    const int First = FirstCell();
    Rows(1);
    PutText(RowBytes(0, Row::Size), Row::Person, 5, "P1");
    MatrixTestHooks = MatrixFaultHooks{1, 0};
    Leave(First + 0);
    MatrixTestHooks = MatrixFaultHooks{};
    EXPECT_EQ(GetU16(RowBytes(0, Row::Size), Row::Kind), 0);
    EXPECT_EQ(Text(RowBytes(0, Row::Size), Row::Name), "");
    ASSERT_EQ(shown.size(), 1u);
    char told[256];
    GetUiTextC(told, Texts::RowsNotWritten);
    EXPECT_EQ(shown[0], told);
    Leave(First + 0);
    EXPECT_NE(GetU16(RowBytes(0, Row::Size), Row::Kind), 0);
    EXPECT_EQ(Text(RowBytes(0, Row::Size), Row::Name), "Pat Person");
}

// The posted flag waits for the approved one, which a stored approved
// payment keeps; its rows stay, none is inserted in the middle, and a
// posted payment is closed.
TEST_F(PersonWindowsTest, PersonPaymentFlagsInOrder) {
    Open(PersonPayment);
    int16_t field = 1, row = 0;
    uint16_t posted = PersPayVc::Posted, approved = PersPayVc::Approved;
    EXPECT_EQ(Win476Event(w, 1, &field, &posted), 0);
    PutU16(Rec(), PersPayVc::Approved, 1);
    EXPECT_EQ(Win476Event(w, 1, &field, &posted), 1);
    EXPECT_EQ(Win476Event(w, 1, &field, &approved), 1) << "a new payment may take it back";
    WinSetRecState(w, 0);
    EXPECT_EQ(Win476Event(w, 1, &field, &approved), 0);
    uint8_t stored[PersPayVc::Size] = {};
    WinTable[w]->stored = stored;
    WinSetRecState(w, 2);
    EXPECT_EQ(Win476Event(w, 1, &field, &approved), 1);
    EXPECT_EQ(Win476Event(w, 4, &row, nullptr), 1);
    PutU16(stored, PersPayVc::Approved, 1);
    EXPECT_EQ(Win476Event(w, 1, &field, &approved), 0);
    EXPECT_EQ(Win476Event(w, 4, &row, nullptr), 0);
    WinTable[w]->stored = nullptr;
    WinSetRecState(w, 1);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    EXPECT_EQ(Win476Event(w, 26, nullptr, nullptr), 1);
    PutU16(Rec(), PersPayVc::Posted, 1);
    EXPECT_EQ(Win476Event(w, 26, nullptr, nullptr), 0);
}

// The person fills the claim's name (an unknown one beeps and leaves it);
// an account draws its name and VAT code, an unknown one 1023; the amount
// gives the row's VAT by its code and the totals follow.
TEST_F(PersonWindowsTest, ExpenseRowsVatAndTotals) {
    Open(Expense);
    namespace Row = ExpenseVc::Rows;
    constexpr int First = 11, Cells = 6;
    PutText(Rec(), ExpenseVc::Person, 5, "P1");
    LeaveField(ExpenseVc::Person);
    EXPECT_EQ(Text(Rec(), ExpenseVc::PersonName), "Pat Person");
    int beeps = PlBeepCount();
    PutText(Rec(), ExpenseVc::Person, 5, "ZZ");
    LeaveField(ExpenseVc::Person);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(Text(Rec(), ExpenseVc::PersonName), "Pat Person");

    ChangeBlock(PurchAccountsBlk::Number, PurchAccountsBlk::Size,
                [](uint8_t *a) { PutText(a, PurchAccountsBlk::VatCodeT0, 2, "1"); });
    Rows(2);
    PutText(RowBytes(0, Row::Size), Row::Account, 10, PurchaseCo::Costs);
    Leave(First + 0);
    EXPECT_EQ(Text(RowBytes(0, Row::Size), Row::Text), PurchaseCo::Costs);
    EXPECT_EQ(Text(RowBytes(0, Row::Size), Row::VatCode), "1");
    PutDec(RowBytes(0, Row::Size), Row::Amount, Dec(125));
    Leave(First + 3);
    EXPECT_EQ(Num(RowBytes(0, Row::Size), Row::VatAmount), 25);
    PutText(RowBytes(0, Row::Size), Row::VatCode, 2, "2");
    Leave(First + 4);
    EXPECT_NEAR(Num(RowBytes(0, Row::Size), Row::VatAmount), 13.39, 1e-9);
    PutText(RowBytes(1, Row::Size), Row::Account, 10, "9999");
    Leave(First + Cells);
    EXPECT_EQ(PlBeepCount(), beeps + 2);
    PutDec(RowBytes(1, Row::Size), Row::Amount, Dec(50));
    PutText(RowBytes(1, Row::Size), Row::VatCode, 2, "");
    Leave(First + Cells + 3);
    EXPECT_EQ(Num(RowBytes(1, Row::Size), Row::VatAmount), 0);
    EXPECT_EQ(Num(Rec(), ExpenseVc::Total), 175);
    EXPECT_NEAR(Num(Rec(), ExpenseVc::VatTotal), 13.39, 1e-9);
}

// A posted claim keeps its posted flag and its rows; rows are inserted
// only in a new claim; Enter from the account cell goes to the amount, or
// to the name cell when block 153's word 1 is 0.
TEST_F(PersonWindowsTest, ExpensePostedFlagRowsAndEnter) {
    Open(Expense);
    int16_t field = 1, row = 0;
    uint16_t posted = ExpenseVc::Posted;
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    PutU16(Rec(), ExpenseVc::Posted, 1);
    EXPECT_EQ(Win475Event(w, 1, &field, &posted), 1) << "a new claim may still change it";
    WinSetRecState(w, 0);
    EXPECT_EQ(Win475Event(w, 1, &field, &posted), 0);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    uint8_t stored[ExpenseVc::Size] = {};
    WinTable[w]->stored = stored;
    WinSetRecState(w, 2);
    EXPECT_EQ(Win475Event(w, 4, &row, nullptr), 1);
    PutU16(stored, ExpenseVc::Posted, 1);
    EXPECT_EQ(Win475Event(w, 4, &row, nullptr), 0);
    EXPECT_EQ(Win475Event(w, 1, &field, &posted), 0);
    WinTable[w]->stored = nullptr;
    WinSetRecState(w, 1);
    PutU16(Rec(), ExpenseVc::Posted, 0);

    constexpr int First = 11;
    Rows(1);
    uint8_t entry[PurchInvEntryBlk::Size] = {};
    PutU16(entry, PurchInvEntryBlk::FocusStep0, 1);
    PutU16(entry, PurchInvEntryBlk::FocusStep1, 1);
    StoreBlock(PurchInvEntryBlk::Number, entry, PurchInvEntryBlk::Size);
    ASSERT_TRUE(WinGotoField(w, First, false));
    uint16_t F = First;
    EXPECT_EQ(WindowEvent(w, 7, &F, nullptr), 0);
    EXPECT_EQ(WinFocusFieldNumber(w), First + 3);
    PutU16(entry, PurchInvEntryBlk::FocusStep1, 0);
    StoreBlock(PurchInvEntryBlk::Number, entry, PurchInvEntryBlk::Size);
    ASSERT_TRUE(WinGotoField(w, First, false));
    EXPECT_EQ(WindowEvent(w, 7, &F, nullptr), 0);
    EXPECT_EQ(WinFocusFieldNumber(w), First + 2);
    F = First + 3;
    EXPECT_EQ(WindowEvent(w, 7, &F, nullptr), 1) << "the amount cell lets the framework move on";
}

}  // namespace
