// account_rows_window_test.cpp - the voucher's three twins driven as the
// framework drives them, on their shipped layouts: account rows (255),
// person entries (533) and opening balances (164). Each reads its rows by
// its own layout: a look-up, a balance or a total read at the voucher's
// offsets would land in the wrong bytes here.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "platform/display.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace Sm = SMVc::Rows;
namespace Sp = PersEntryVc::Rows;
namespace Fb = OpenBalVc::Rows;

PackedDecimal D(double v)
{
    PackedDecimal p;
    DecFromDouble(&p, v);
    DecRound(&p, 2, &p);
    return p;
}

double V(const PackedDecimal &p) { return DecIsBlank(&p) ? -99999999.0 : DecToDouble(&p); }

// Where a window type keeps its rows: register, row size, account, name
// and amount.
struct Rows {
    int reg;
    uint32_t size, account, name, amount;
    int nameMax;
};
constexpr Rows Rows255{SMVc::Number, Sm::Size, Sm::Account, Sm::Text, Sm::Amount, 20};
constexpr Rows Rows533{PersEntryVc::Number, Sp::Size, Sp::Account, Sp::Name, Sp::Amount, 60};
constexpr Rows Rows164{OpenBalVc::Number, Fb::Size, Fb::Account, Fb::AccName, Fb::Amount, 20};

class AccountRowsWindowTest : public InvoiceFixture {
protected:
    int w = 0, first = 0, cells = 0;
    Rows rows{};

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        SetCompanyWords(1, 1, 0);
        StoreAccount("5010", "Rent of the premises in the city", "1", "2640", 1, 0);
        StoreAccount("2640", "Input VAT", "", "", 1, 1);
        NextFieldOverride = 0;
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    // Opens a new record in a window of `type` whose rows are `r`.
    void Open(int type, const Rows &r)
    {
        rows = r;
        w = OpenOrActivateWindow(type, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        WinSetRecState(w, 1);
        MatrixGeometry(w, &first, &cells);
        ASSERT_GT(first, 0);
        shown.clear();
    }
    void SetCompanyWords(uint16_t step1, uint16_t step2, uint16_t signCheck)
    {
        std::vector<uint8_t> b(CompanyBlk::Size);
        const uint8_t *now = SettingsRecord(CompanyBlk::Number, CompanyBlock);
        if (now) std::memcpy(b.data(), now, CompanyBlk::Size);
        PutU16(b.data(), CompanyBlk::VoucherEnterStep1, step1);
        PutU16(b.data(), CompanyBlk::VoucherEnterStep2, step2);
        PutU16(b.data(), CompanyBlk::AccountSignCheck, signCheck);
        StoreBlock(CompanyBlk::Number, b.data(), CompanyBlk::Size);
    }
    void StoreAccount(const char *code, const char *name, const char *vat, const char *followUp, uint16_t debit,
                      uint16_t credit)
    {
        StoreRecord(ACVc::Number, [&](uint8_t *r) {
            PutText(r, ACVc::Code, 10, code);
            PutText(r, ACVc::Name, 60, name);
            PutText(r, ACVc::VatCode, 2, vat);
            PutText(r, ACVc::FollowUp, 10, followUp);
            PutU16(r, ACVc::DebitAllowed, debit);
            PutU16(r, ACVc::CreditAllowed, credit);
        });
    }
    uint8_t *Rec() const { return WinRecordBuffer(w); }
    int Cell(int row, int col) const { return first + row * cells + col; }
    void PutRow(int row, const char *account, double amount, bool blank = false)
    {
        uint8_t r[256] = {};
        PutText(r, rows.account, 10, account);
        PackedDecimal a = D(amount);
        if (blank) DecSetBlank(&a);
        PutDec(r, rows.amount, a);
        ASSERT_TRUE(MatrixRowPut(rows.reg, 0, Rec(), row, r));
    }
    std::string RowText(int row, uint32_t at)
    {
        uint8_t r[256];
        EXPECT_TRUE(MatrixRowGet(rows.reg, 0, Rec(), row, r)) << row;
        return Text(r, at);
    }
    PackedDecimal RowAmount(int row)
    {
        uint8_t r[256];
        EXPECT_TRUE(MatrixRowGet(rows.reg, 0, Rec(), row, r)) << row;
        return GetDec(r, rows.amount);
    }
    int RowCount() { return MatrixRowCount(rows.reg, 0, Rec()); }
    void Leave(int F, uint8_t changed = 1)
    {
        int16_t field = int16_t(F);
        EXPECT_EQ(WindowEvent(w, 6, &field, &changed), 1);
    }
    uint8_t Enter(int F)
    {
        int16_t field = int16_t(F);
        return WindowEvent(w, 7, &field, nullptr);
    }
    double Total(uint32_t at) { return V(GetDec(Rec(), at)); }
};

// Each twin draws the account's name, cut to its own width, into its own
// name cell, adds the follow-up row, draws text 1023 for an unknown
// account with a beep, and keeps its totals with its rows.
TEST_F(AccountRowsWindowTest, LookupFollowUpAndTotalsByLayout)
{
    struct Case {
        int type;
        Rows r;
        uint32_t debit, credit, balance;
    };
    const Case cases[] = {
        {255, Rows255, SMVc::Debit, SMVc::Credit, SMVc::Balance},
        {533, Rows533, PersEntryVc::DebitTotal, PersEntryVc::CreditTotal, PersEntryVc::Balance},
        {164, Rows164, OpenBalVc::DebitTotal, OpenBalVc::CreditTotal, OpenBalVc::Balance},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        Open(c.type, c.r);
        PutRow(0, "5010", 300);
        Leave(Cell(0, 0));
        std::string want = std::string("Rent of the premises in the city").substr(0, size_t(c.r.nameMax));
        EXPECT_EQ(RowText(0, c.r.name), want);
        ASSERT_EQ(RowCount(), 2);
        EXPECT_EQ(RowText(1, c.r.account), "2640");
        PackedDecimal followAmount = RowAmount(1);
        EXPECT_TRUE(DecIsBlank(&followAmount));
        EXPECT_EQ(WinRecState(w), 1);

        int beeps = PlBeepCount();
        PutRow(1, "9999", -120);
        Leave(Cell(1, 0));
        EXPECT_EQ(PlBeepCount(), beeps + 1);
        std::string missing = UiText(Texts::AccountNameMissing).substr(0, size_t(c.r.nameMax));
        EXPECT_EQ(RowText(1, c.r.name), missing);
        EXPECT_EQ(RowCount(), 2);   // no follow-up row for an unknown account
        // An unchanged cell whose name is the missing text is looked up again.
        PutRow(1, "2640", -120);
        Leave(Cell(1, 0), 0);
        EXPECT_EQ(RowText(1, c.r.name), "Input VAT");

        int amountCell = c.type == 164 ? 3 : 4;
        Leave(Cell(1, amountCell));
        EXPECT_DOUBLE_EQ(Total(c.debit), 300.0);
        EXPECT_DOUBLE_EQ(Total(c.credit), -120.0);
        EXPECT_DOUBLE_EQ(Total(c.balance), 180.0);
        // Rows deleted or emptied (event 12) bring the totals along.
        ASSERT_TRUE(MatrixRowDelete(c.r.reg, Rec(), 1));
        int16_t row = 1;
        WindowEvent(w, 12, &row, nullptr);
        EXPECT_DOUBLE_EQ(Total(c.balance), 300.0);
        InvoiceFrameDown();
        InvoiceFrameUp();
        ASSERT_FALSE(HasFatalFailure());
    }
}

// The sign check runs on an amount cell only when company word 241 is 1;
// a name already drawn is not looked up again for an unchanged cell.
TEST_F(AccountRowsWindowTest, SignCheckOnlyWhenSwitchedOn)
{
    Open(255, Rows255);
    PutRow(0, "5010", -50);   // 5010 allows no credit
    Leave(Cell(0, 4));
    EXPECT_FALSE(WasShown(Texts::AccountSideNotAllowed));
    SetCompanyWords(1, 1, 1);
    Leave(Cell(0, 4));
    EXPECT_TRUE(WasShown(Texts::AccountSideNotAllowed));
    shown.clear();
    PutRow(0, "5010", 50);
    Leave(Cell(0, 3));
    EXPECT_TRUE(shown.empty());
    // Unchanged with a name: nothing happens, not even a follow-up row.
    uint8_t r[256];
    ASSERT_TRUE(MatrixRowGet(SMVc::Number, 0, Rec(), 0, r));
    PutText(r, Sm::Text, 20, "Kept");
    ASSERT_TRUE(MatrixRowPut(SMVc::Number, 0, Rec(), 0, r));
    Leave(Cell(0, 0), 0);
    EXPECT_EQ(RowText(0, Sm::Text), "Kept");
    EXPECT_EQ(RowCount(), 1);
}

// Enter in the account rows (255): from the account by words 239 and 240,
// a debit goes on only when positive, a blank credit balances and goes on,
// a typed credit lets the framework move on; an empty account of a new
// record starts another.
TEST_F(AccountRowsWindowTest, EnterTargetsOfAccountRows)
{
    Open(255, Rows255);
    PutRow(0, "1910", 100);
    PutRow(1, "3010", -40);
    PutRow(2, "2610", 0, true);
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(0, 0)), Cell(0, 3));
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(1, 0)), Cell(1, 4));
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(1, 1)), Cell(1, 4));
    SetCompanyWords(1, 0, 0);
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(0, 0)), Cell(0, 2));
    SetCompanyWords(0, 0, 0);
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(0, 0)), Cell(0, 1));
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(0, 1)), Cell(0, 2));
    SetCompanyWords(1, 1, 0);
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(0, 3)), Cell(1, 0));
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(1, 3)), 65535);
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(1, 4)), 65535);   // a typed credit
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(0, 5)), 65535);
    EXPECT_EQ(AccountRowsEnterTarget(w, 2), 65535);            // the date
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(40, 0)), 65535);  // beyond the rows
    // A template's focus is the voucher's: it never steers these rows.
    NextFieldOverride = uint16_t(Cell(2, 1));
    EXPECT_EQ(AccountRowsEnterTarget(w, Cell(0, 3)), Cell(1, 0));
    NextFieldOverride = 0;

    ASSERT_TRUE(WinGotoField(w, Cell(2, 4), true));
    EXPECT_EQ(Enter(Cell(2, 4)), 0);
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), -60.0);
    EXPECT_EQ(WinTable[w]->currentField, Cell(3, 0));
    PackedDecimal balance = GetDec(Rec(), SMVc::Balance);
    EXPECT_TRUE(DecIsZero(&balance));

    PutRow(3, "", 0, true);
    EXPECT_EQ(Enter(Cell(3, 0)), 0);
    EXPECT_EQ(WinRecState(w), 1);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(WinTable[w]->currentField, 2);
}

// Person entries (533): the account cell leaves Enter to the framework,
// the objects cell goes to the amount; opening balances (164) have no
// Enter rule of their own.
TEST_F(AccountRowsWindowTest, EnterTargetsOfPersonEntriesAndOpeningBalances)
{
    Open(533, Rows533);
    PutRow(0, "1910", 100);
    PutRow(1, "3010", -100);
    EXPECT_EQ(AccountRows118EnterTarget(w, Cell(0, 0)), 65535);
    EXPECT_EQ(Enter(Cell(0, 0)), 1);
    EXPECT_EQ(AccountRows118EnterTarget(w, Cell(1, 1)), Cell(1, 4));
    ASSERT_TRUE(WinGotoField(w, Cell(0, 1), true));
    EXPECT_EQ(Enter(Cell(0, 1)), 0);
    EXPECT_EQ(WinTable[w]->currentField, Cell(0, 3));
    EXPECT_EQ(AccountRows118EnterTarget(w, Cell(0, 3)), Cell(1, 0));
    PutRow(2, "", 0, true);
    EXPECT_EQ(AccountRows118EnterTarget(w, Cell(2, 0)), 65535);   // no finishing from the account
    EXPECT_EQ(WinRecState(w), 1);
    EXPECT_EQ(RowCount(), 3);
    InvoiceFrameDown();
    InvoiceFrameUp();
    ASSERT_FALSE(HasFatalFailure());

    Open(164, Rows164);
    PutRow(0, "1910", 100);
    PutRow(1, "", 0, true);
    EXPECT_EQ(Enter(Cell(0, 0)), 1);
    EXPECT_EQ(Enter(Cell(1, 0)), 1);
    EXPECT_EQ(Enter(Cell(0, 2)), 1);
    EXPECT_EQ(WinRecState(w), 1);
}

// Balancing a row (button 1 of 255, and the 533 twin): the row under
// edit takes the negated sum of the others and the focus goes to its
// credit or debit cell; a shown record is taken into edit first; a cell
// outside the rows balances nothing.
TEST_F(AccountRowsWindowTest, BalanceRowButtonAndTwin)
{
    Open(255, Rows255);
    PutRow(0, "1910", 80.5);
    PutRow(1, "3010", 19.5);
    PutRow(2, "2610", 0, true);
    ASSERT_TRUE(WinGotoField(w, Cell(2, 3), true));
    int16_t one = 1;
    WindowEvent(w, 23, &one, &one);
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), -100.0);
    EXPECT_EQ(WinTable[w]->currentField, Cell(2, 4));
    EXPECT_DOUBLE_EQ(Total(SMVc::Credit), -100.0);
    // Balancing an already balancing row keeps it.
    WindowEvent(w, 23, &one, &one);
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), -100.0);
    // Other buttons do nothing here.
    int16_t two = 2;
    WindowEvent(w, 23, &two, &two);
    EXPECT_DOUBLE_EQ(V(RowAmount(0)), 80.5);
    // A header field balances nothing.
    ASSERT_TRUE(WinGotoField(w, 4, true));
    PutRow(1, "3010", 50);
    AccountRowsBalanceRow(w);
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), -100.0);
    InvoiceFrameDown();
    InvoiceFrameUp();
    ASSERT_FALSE(HasFatalFailure());

    Open(533, Rows533);
    PutRow(0, "1910", -30);
    PutRow(1, "3010", 0, true);
    ASSERT_TRUE(WinGotoField(w, Cell(1, 4), true));
    AccountRows118BalanceRow(w);
    EXPECT_DOUBLE_EQ(V(RowAmount(1)), 30.0);
    EXPECT_EQ(WinTable[w]->currentField, Cell(1, 3));
    EXPECT_DOUBLE_EQ(Total(PersEntryVc::Balance), 0.0);
}

// The date fields: 255 tests its own date against the ledger lock, 533
// fills an empty date from its entry date first, 164 has no date test.
TEST_F(AccountRowsWindowTest, DateFieldsByLayout)
{
    std::vector<uint8_t> locks(DateLockBlk::Size);
    PutDate(locks.data(), DateLockBlk::LedgerLock, DateRec{31, 12, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);

    Open(255, Rows255);
    ASSERT_EQ(WinFieldIdAt(w, 2), int(SMVc::Date));
    PutDate(Rec(), SMVc::Date, DateRec{10, 6, 2024});
    Leave(2);
    EXPECT_TRUE(WasShown(Texts::DateLocked));
    shown.clear();
    Leave(2, 0);   // unchanged: no test
    EXPECT_TRUE(shown.empty());
    InvoiceFrameDown();
    InvoiceFrameUp();
    ASSERT_FALSE(HasFatalFailure());

    Open(533, Rows533);
    ASSERT_EQ(WinFieldIdAt(w, 2), int(PersEntryVc::TransDate));
    PutDate(Rec(), PersEntryVc::Date2, DateRec{15, 1, 2025});
    Leave(2);
    DateRec d = GetDate(Rec(), PersEntryVc::TransDate), want{15, 1, 2025};
    EXPECT_EQ(DateCompare(&d, &want), 0);
    EXPECT_FALSE(WasShown(Texts::DateLocked));
    PutDate(Rec(), PersEntryVc::TransDate, DateRec{1, 12, 2024});
    Leave(2);
    EXPECT_TRUE(WasShown(Texts::DateLocked));
    InvoiceFrameDown();
    InvoiceFrameUp();
    ASSERT_FALSE(HasFatalFailure());

    Open(164, Rows164);
    PutDate(Rec(), OpenBalVc::TransDate, DateRec{1, 12, 2024});
    Leave(2);
    EXPECT_TRUE(shown.empty());
}

// The row questions: the account rows and opening balances let rows go,
// person entries keep them, and none takes a row inserted in the middle.
TEST_F(AccountRowsWindowTest, RowQuestions)
{
    for (int type : {255, 164, 533}) {
        SCOPED_TRACE(type);
        Open(type, type == 255 ? Rows255 : type == 164 ? Rows164 : Rows533);
        PutRow(0, "1910", 10);
        PutRow(1, "3010", -10);
        int16_t row = 0;
        EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), type == 533 ? 0 : 1);
        EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
        InvoiceFrameDown();
        InvoiceFrameUp();
        ASSERT_FALSE(HasFatalFailure());
    }
}

}  // namespace
