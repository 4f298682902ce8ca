// voucher_window_test.cpp - the voucher window (117) driven as the
// framework drives it, on its shipped layout: templates typed into a
// row, account look-ups with follow-up rows, the sign check, balancing,
// where Enter goes, the buttons and the typed key of the voucher list.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "platform/display.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace Row = TRVc::Rows;
namespace Tpl = AUVc::Rows;

PackedDecimal D(double v)
{
    PackedDecimal p;
    DecFromDouble(&p, v);
    DecRound(&p, 2, &p);
    return p;
}

double V(const PackedDecimal &p) { return DecIsBlank(&p) ? -99999999.0 : DecToDouble(&p); }

// A template row: account, row text, name, debit and credit texts, VAT code.
struct TplRow {
    const char *account, *objects, *name, *debit, *credit, *vat;
};

class VoucherWindowTest : public InvoiceFixture {
protected:
    int w = 0, first = 0, cells = 0;

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        SetCompanyWords(1, 1, 0);
        w = OpenOrActivateWindow(117, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        WinSetRecState(w, 1);
        PutDate(Rec(), TRVc::TransDate, DateRec{10, 6, 2024});
        MatrixGeometry(w, &first, &cells);
        ASSERT_GT(first, 0);
        ASSERT_GE(cells, 5);
        NextFieldOverride = 0;
        shown.clear();
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }

    // Company words 239, 240 (Enter steps) and 241 (sign check).
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
    uint8_t *Rec() const { return WinRecordBuffer(w); }
    int Cell(int row, int col) const { return first + row * cells + col; }
    // Writes an account row with an amount (blank when `blank`).
    void PutRow(int row, const char *account, double amount, bool blank = false)
    {
        uint8_t r[Row::Size] = {};
        PutU16(r, Row::Kind, 1);
        PutText(r, Row::Account, 10, account);
        PackedDecimal a = D(amount);
        if (blank) DecSetBlank(&a);
        PutDec(r, Row::Amount, a);
        ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, Rec(), row, r));
    }
    std::string RowText(int row, uint32_t at)
    {
        uint8_t r[Row::Size];
        EXPECT_TRUE(MatrixRowGet(TRVc::Number, 0, Rec(), row, r)) << row;
        return Text(r, at);
    }
    PackedDecimal RowAmount(int row)
    {
        uint8_t r[Row::Size];
        EXPECT_TRUE(MatrixRowGet(TRVc::Number, 0, Rec(), row, r)) << row;
        return GetDec(r, Row::Amount);
    }
    uint16_t RowKind(int row)
    {
        uint8_t r[Row::Size];
        EXPECT_TRUE(MatrixRowGet(TRVc::Number, 0, Rec(), row, r)) << row;
        return GetU16(r, Row::Kind);
    }
    int RowCount() { return MatrixRowCount(TRVc::Number, 0, Rec()); }
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
    void StoreTemplate(const char *code, std::initializer_list<TplRow> rows)
    {
        StoreRecord(AUVc::Number, [&](uint8_t *t) {
            PutText(t, AUVc::Code, 10, code);
            int i = 0;
            for (const TplRow &x : rows) {
                uint8_t r[Tpl::Size] = {};
                PutText(r, Tpl::Account, 10, x.account);
                PutText(r, Tpl::RowText, 30, x.objects);
                PutText(r, Tpl::NameText, 20, x.name);
                PutText(r, Tpl::DebitText, 20, x.debit);
                PutText(r, Tpl::CreditText, 20, x.credit);
                PutText(r, Tpl::VatCode, 2, x.vat);
                ASSERT_TRUE(MatrixRowPut(AUVc::Number, 0, t, i++, r));
            }
        });
    }
    void StoreAccountWith(const char *code, const char *name, const char *vat, const char *followUp, uint16_t debit,
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
    bool WasShown(int text)
    {
        uint8_t t[256];
        GetUiText(t, text);
        for (const std::string &s : shown)
            if (s == PStringToStd(t)) return true;
        return false;
    }
};

// Percentages of the previous row ("%" and "%%"), a balancing row ("="),
// names looked up where the template gives none, the VAT code taken from
// the template, the totals and the focus after the last row.
TEST_F(VoucherWindowTest, TemplateWritesPercentagesAndBalancingRow)
{
    StoreTemplate("SALE", {{"2610", "P1", "", "12.5%", "", "1"},
                           {"3010", "", "Own name", "", "10%%", ""},
                           {"1510", "", "", "", "=", ""}});
    PutRow(0, InvoiceCo::Cash, 1234.56);
    PutRow(1, "SALE", 0, true);
    Leave(Cell(1, 0));
    ASSERT_EQ(RowCount(), 4);
    EXPECT_EQ(RowText(1, Row::Account), "2610");
    EXPECT_EQ(RowText(1, Row::Objects), "P1");
    EXPECT_EQ(RowText(1, Row::Text), "Output VAT");
    EXPECT_EQ(RowText(1, Row::VatCode), "1");
    EXPECT_DOUBLE_EQ(V(RowAmount(1)), 154.32);
    EXPECT_EQ(RowText(2, Row::Text), "Own name");
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), -123.0);   // 123.456 rounded to a whole number
    EXPECT_DOUBLE_EQ(V(RowAmount(3)), -1265.88);
    PackedDecimal debit = GetDec(Rec(), TRVc::DebitTotal), credit = GetDec(Rec(), TRVc::CreditTotal),
                  balance = GetDec(Rec(), TRVc::Balance);
    EXPECT_DOUBLE_EQ(V(debit), 1388.88);
    EXPECT_DOUBLE_EQ(V(credit), -1388.88);
    EXPECT_TRUE(DecIsZero(&balance));
    EXPECT_EQ(NextFieldOverride, Cell(4, 0));
    // Enter obeys the override once.
    EXPECT_EQ(Enter(Cell(3, 4)), 0);
    EXPECT_EQ(WinTable[w]->currentField, Cell(4, 0));
    EXPECT_EQ(NextFieldOverride, 0);
}

// "!" continues the row above (its account and objects kept, the amount
// left to type, focused), "#" copies the previous row's texts, and the
// rows after shift one back. A template of one "!" row leaves no template
// code in the typed row.
TEST_F(VoucherWindowTest, ContinuationAndCopiedTexts)
{
    StoreTemplate("CONT", {{"!", "", "", "", "", ""}, {"2640", "#", "", "25%", "", "#"}});
    StoreTemplate("ONE", {{"!", "", "", "", "", ""}});
    PutRow(0, InvoiceCo::Cash, 500);
    uint8_t r[Row::Size];
    ASSERT_TRUE(MatrixRowGet(TRVc::Number, 0, Rec(), 0, r));
    PutText(r, Row::Objects, 30, "DEPT1");
    PutText(r, Row::VatCode, 2, "2");
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, Rec(), 0, r));
    PutRow(1, "CONT", 0, true);
    Leave(Cell(1, 0));
    EXPECT_EQ(RowText(0, Row::Account), InvoiceCo::Cash);
    EXPECT_EQ(RowText(0, Row::Objects), "DEPT1");
    EXPECT_EQ(RowText(0, Row::Text), "Cash");
    PackedDecimal a0 = RowAmount(0);
    EXPECT_TRUE(DecIsBlank(&a0));
    EXPECT_EQ(RowText(1, Row::Account), "2640");
    EXPECT_EQ(RowText(1, Row::Objects), "DEPT1");
    EXPECT_EQ(RowText(1, Row::VatCode), "2");
    EXPECT_DOUBLE_EQ(V(RowAmount(1)), 125.0);
    EXPECT_EQ(NextFieldOverride, Cell(0, 3));   // the continued row's amount

    PutRow(2, InvoiceCo::Sales, 10);
    PutRow(3, "ONE", 0, true);
    Leave(Cell(3, 0));
    EXPECT_EQ(RowText(2, Row::Account), InvoiceCo::Sales);
    EXPECT_EQ(RowText(3, Row::Account), "");
    // "!" on the first row has nothing to continue: an empty account.
    NextFieldOverride = 0;
    PutRow(0, "ONE", 0, true);
    Leave(Cell(0, 0));
    EXPECT_EQ(RowText(0, Row::Account), "");
    EXPECT_EQ(NextFieldOverride, Cell(0, 0));
}

// Rows stop at index 298; those written stay and the totals count them.
TEST_F(VoucherWindowTest, TemplateStopsAtLastRow)
{
    StoreTemplate("MANY", {{"1910", "", "", "10", "", ""},
                           {"1910", "", "", "20", "", ""},
                           {"1910", "", "", "30", "", ""},
                           {"1910", "", "", "40", "", ""}});
    PutRow(297, "MANY", 0, true);
    ASSERT_TRUE(WinGotoField(w, Cell(297, 0), true));
    Leave(Cell(297, 0));
    EXPECT_EQ(RowCount(), 299);
    EXPECT_DOUBLE_EQ(V(RowAmount(297)), 10.0);
    EXPECT_DOUBLE_EQ(V(RowAmount(298)), 20.0);
    EXPECT_DOUBLE_EQ(V(GetDec(Rec(), TRVc::DebitTotal)), 30.0);
    // Typed beyond the last row a template is no template for this row.
    EXPECT_EQ(VoucherTemplateExpand(w, 299), 0);
    EXPECT_EQ(VoucherTemplateExpand(w, -1), 0);
}

// A template row reads back with each text in its own place (the voucher
// and the purchase-invoice windows both expand through it); a row past
// the template's last, or before its first, is no row.
TEST_F(VoucherWindowTest, TemplateRowTextsReadEachTextAndNoRowPastTheEnd)
{
    StoreTemplate("READ", {{"2610", "P1", "Rent", "12.5%", "=", "1"}});
    RuleRecord tpl(AUVc::Number);
    uint8_t code[256];
    PStringFromC(code, "READ");
    ASSERT_TRUE(VoucherTemplateRead(code, tpl.record));
    TemplateRowTexts t;
    ASSERT_TRUE(TemplateRowTextsRead(tpl.record, 0, &t));
    EXPECT_EQ(PStringToStd(t.account), "2610");
    EXPECT_EQ(PStringToStd(t.objects), "P1");
    EXPECT_EQ(PStringToStd(t.name), "Rent");
    EXPECT_EQ(PStringToStd(t.debit), "12.5%");
    EXPECT_EQ(PStringToStd(t.credit), "=");
    EXPECT_EQ(PStringToStd(t.vat), "1");
    EXPECT_FALSE(TemplateRowTextsRead(tpl.record, 1, &t));
    EXPECT_FALSE(TemplateRowTextsRead(tpl.record, -1, &t));
}

// Where a screen field lies: a cell of a row the window holds gives its
// row, column and row byte; a header field, or a cell of a row past the
// rows held, is no row cell. The split sends a header field to the
// header step by its record byte and a cell to the cell step.
namespace split {
int headerId = -1, cellField = -1;
void Header(int, int id, uint8_t) { headerId = id; }
void Cell(int, int field, uint8_t) { cellField = field; }
}  // namespace split

TEST_F(VoucherWindowTest, RowCellPlaceAndFieldSplit)
{
    PutRow(0, "1910", 10);
    PutRow(1, "2610", 20);
    int row = -5, column = -5, cell = -5;
    ASSERT_TRUE(WinRowCellAt(w, Cell(1, 0), &row, &column, &cell));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(cell, int(Row::Account));
    EXPECT_FALSE(WinRowCellAt(w, Cell(2, 0), &row, &column, &cell)) << "a row past the rows held";
    EXPECT_FALSE(WinRowCellAt(w, first - 1, &row, &column, &cell)) << "a header field";

    split::headerId = split::cellField = -1;
    FieldChangedSplit(w, Cell(1, 0), 1, split::Header, split::Cell);
    EXPECT_EQ(split::cellField, Cell(1, 0));
    EXPECT_EQ(split::headerId, -1);
    split::cellField = -1;
    int header = WinScreenFieldOfOffset(w, TRVc::TransDate);
    ASSERT_NE(header, NoField);
    FieldChangedSplit(w, header, 1, split::Header, split::Cell);
    EXPECT_EQ(split::headerId, int(TRVc::TransDate));
    EXPECT_EQ(split::cellField, -1);
}

// Bad percentages and amounts give a blank part, never a garbage amount.
TEST_F(VoucherWindowTest, PercentAmountParts)
{
    struct Case {
        const char *debit, *credit;
        double base, want;   // want -99999999: blank
    };
    const Case cases[] = {
        {"10%", "", 250, 25},       {"", "10%", 250, -25},      {"12.5%%", "", 99, 12},  {"100", "", 0, 100},
        {"", "40", 0, -40},         {"100", "30", 0, 70},       {"x%", "", 250, -99999999},
        {"1x0", "", 0, -99999999},  {"%", "", 250, -99999999},  {"%%", "", 250, -99999999},
        {"", "", 250, -99999999},   {"abc", "5", 0, -5},        {"10 %", "", 250, 25},
    };
    for (const Case &c : cases) {
        uint8_t d[256], k[256];
        PStringFromC(d, c.debit);
        PStringFromC(k, c.credit);
        PackedDecimal base = D(c.base), result;
        VoucherPercentAmount(&result, &base, d, k);
        EXPECT_DOUBLE_EQ(V(result), c.want) << c.debit << " / " << c.credit;
    }
}

// A typed account draws its name and VAT code and adds its follow-up
// row; an unknown one draws text 1023 and beeps; an unchanged row with
// its name is left alone.
TEST_F(VoucherWindowTest, AccountLookupAndFollowUpRow)
{
    StoreAccountWith("5010", "Rent", "1", "2640", 1, 1);
    PutRow(0, "5010", 1000);
    Leave(Cell(0, 0));
    EXPECT_EQ(RowText(0, Row::Text), "Rent");
    EXPECT_EQ(RowText(0, Row::VatCode), "1");
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(RowText(1, Row::Account), "2640");
    EXPECT_EQ(RowKind(1), 1);
    EXPECT_EQ(WinRecState(w), 1);

    int beeps = PlBeepCount();
    PutRow(1, "9999", 0, true);
    Leave(Cell(1, 0));
    uint8_t missing[256];
    GetUiText(missing, Texts::AccountNameMissing);
    EXPECT_EQ(RowText(1, Row::Text), PStringToStd(missing));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(RowCount(), 2);
    // The missing text is looked up again even unchanged.
    PutRow(1, InvoiceCo::Cash, 0, true);
    uint8_t r[Row::Size];
    ASSERT_TRUE(MatrixRowGet(TRVc::Number, 0, Rec(), 1, r));
    ::PutText(r, Row::Text, missing);
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, Rec(), 1, r));
    Leave(Cell(1, 0), 0);
    EXPECT_EQ(RowText(1, Row::Text), "Cash");
    // A name typed by hand stays when the account did not change.
    ASSERT_TRUE(MatrixRowGet(TRVc::Number, 0, Rec(), 1, r));
    PutText(r, Row::Text, 60, "Petty cash");
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, Rec(), 1, r));
    Leave(Cell(1, 0), 0);
    EXPECT_EQ(RowText(1, Row::Text), "Petty cash");
    // The rows handle must be the window's own.
    EXPECT_FALSE(RowAccountLookup(w, 0, 0, 0));
    EXPECT_FALSE(RowAccountLookup(w, WinMatrixRows(w), 7, 0));
}

// The sign check runs only when company word 241 is 1, and tells 1044
// for a side the account does not allow.
TEST_F(VoucherWindowTest, SignCheckOnlyWhenSwitchedOn)
{
    StoreAccountWith("2999", "Credit only", "", "", 0, 1);
    PutRow(0, "2999", 100);
    Leave(Cell(0, 3));
    EXPECT_FALSE(WasShown(Texts::AccountSideNotAllowed));
    EXPECT_DOUBLE_EQ(V(GetDec(Rec(), TRVc::DebitTotal)), 100.0);
    SetCompanyWords(1, 1, 1);
    Leave(Cell(0, 3));
    EXPECT_TRUE(WasShown(Texts::AccountSideNotAllowed));
    shown.clear();
    PutRow(0, "2999", -100);
    Leave(Cell(0, 4));
    EXPECT_FALSE(WasShown(Texts::AccountSideNotAllowed));
    // Unchanged amounts are not checked again.
    PutRow(0, "2999", 100);
    Leave(Cell(0, 3), 0);
    EXPECT_TRUE(shown.empty());
    uint8_t code[256];
    PStringFromC(code, "2999");
    PackedDecimal blank;
    DecSetBlank(&blank);
    EXPECT_TRUE(AccountSignCheck(code, &blank));
}

// Enter from the account cell by company words 239 and 240, from the
// amount columns, and balancing a blank credit.
TEST_F(VoucherWindowTest, EnterTargetsByCompanyWords)
{
    PutRow(0, InvoiceCo::Cash, 100);
    PutRow(1, InvoiceCo::Sales, -50);
    EXPECT_EQ(VoucherEnterTarget(w, Cell(0, 0)), Cell(0, 3));
    EXPECT_EQ(VoucherEnterTarget(w, Cell(1, 0)), Cell(1, 4));
    EXPECT_EQ(VoucherEnterTarget(w, Cell(1, 1)), Cell(1, 4));
    SetCompanyWords(1, 0, 0);
    EXPECT_EQ(VoucherEnterTarget(w, Cell(0, 0)), Cell(0, 2));
    EXPECT_EQ(VoucherEnterTarget(w, Cell(0, 1)), Cell(0, 2));
    SetCompanyWords(0, 0, 0);
    EXPECT_EQ(VoucherEnterTarget(w, Cell(0, 0)), Cell(0, 1));
    SetCompanyWords(1, 1, 0);
    EXPECT_EQ(VoucherEnterTarget(w, 1), 65535);   // a header field
    EXPECT_EQ(VoucherEnterTarget(w, Cell(0, 3)), Cell(1, 0));
    EXPECT_EQ(VoucherEnterTarget(w, Cell(1, 3)), 65535);   // a credit in the debit column
    EXPECT_EQ(VoucherEnterTarget(w, Cell(1, 4)), Cell(2, 0));
    EXPECT_EQ(VoucherEnterTarget(w, Cell(0, 5)), 65535);
    EXPECT_EQ(VoucherEnterTarget(w, Cell(40, 0)), 65535);   // beyond the rows

    // A blank credit balances its row before the next row is focused.
    PutRow(2, InvoiceCo::VatOut, 0, true);
    ASSERT_TRUE(WinGotoField(w, Cell(2, 4), true));
    EXPECT_EQ(Enter(Cell(2, 4)), 0);
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), -50.0);
    EXPECT_EQ(WinTable[w]->currentField, Cell(3, 0));
    PackedDecimal balance = GetDec(Rec(), TRVc::Balance);
    EXPECT_TRUE(DecIsZero(&balance));
}

// Enter on an empty account: a new voucher starts another, a stored
// one being changed is stored (the OK action).
TEST_F(VoucherWindowTest, EnterOnEmptyAccountFinishesVoucher)
{
    PutRow(0, InvoiceCo::Cash, 100);
    PutRow(1, InvoiceCo::Sales, -100);
    PutRow(2, "", 0, true);
    EXPECT_EQ(VoucherEnterTarget(w, Cell(2, 0)), 2);
    EXPECT_EQ(WinRecState(w), 1);
    EXPECT_EQ(RowCount(), 0);   // the new record is empty

    PutDate(Rec(), TRVc::TransDate, DateRec{10, 6, 2024});
    PutText(Rec(), TRVc::Text, 60, "Rent");
    PutRow(0, InvoiceCo::Cash, 100);
    PutRow(1, InvoiceCo::Sales, -100);
    PutI32(Rec(), TRVc::SerNr, 2);
    ASSERT_TRUE(WinStoreAndStay(w)) << ::testing::PrintToString(shown);
    ASSERT_NE(WinTable[w]->recordId, 0u);
    WinBeginEdit(w);
    ASSERT_EQ(WinRecState(w), 2);
    PutText(Rec(), TRVc::Text, 60, "Rent June");
    WinMarkChanged(w);
    PutRow(2, "", 0, true);
    EXPECT_EQ(Enter(Cell(2, 0)), 0);
    ASSERT_TRUE(WinIsOpen(w));
    EXPECT_EQ(WinRecState(w), 0);
    RuleRecord stored(TRVc::Number);
    ASSERT_TRUE(RecReadById(TRVc::Number, WinTable[w]->recordId, stored.record));
    EXPECT_EQ(Text(stored.record, TRVc::Text), "Rent June");
}

// Buttons: 1 balances the row under edit, 2 negates the rows typed after
// the stored ones, 3 adds a correction row only to a stored voucher, 4
// drops trailing empty rows and adds a link row.
TEST_F(VoucherWindowTest, Buttons)
{
    PutRow(0, InvoiceCo::Cash, 100);
    PutRow(1, InvoiceCo::Sales, -40);
    PutRow(2, InvoiceCo::VatOut, 0, true);
    ASSERT_TRUE(WinGotoField(w, Cell(2, 3), true));
    int16_t one = 1, two = 2, three = 3, four = 4;
    WindowEvent(w, 23, &one, &one);
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), -60.0);
    EXPECT_EQ(WinTable[w]->currentField, Cell(2, 4));

    WindowEvent(w, 23, &two, &two);
    EXPECT_DOUBLE_EQ(V(RowAmount(0)), -100.0);
    EXPECT_DOUBLE_EQ(V(RowAmount(2)), 60.0);
    EXPECT_DOUBLE_EQ(V(GetDec(Rec(), TRVc::DebitTotal)), 100.0);

    // A new voucher takes no correction row.
    WindowEvent(w, 23, &three, &three);
    EXPECT_EQ(RowCount(), 3);

    PutRow(3, "", 0, true);
    PutRow(4, "", 0, true);
    WindowEvent(w, 23, &four, &four);
    ASSERT_EQ(RowCount(), 4);
    EXPECT_EQ(RowKind(3), 4);

    // Stored with its first two rows: the correction row goes after them,
    // the rows typed since move down.
    WinSetRecState(w, 2);
    WinTable[w]->attachedSize = 2 * Row::Size;
    WindowEvent(w, 23, &three, &three);
    ASSERT_EQ(RowCount(), 5);
    EXPECT_EQ(RowKind(2), 2);
    uint8_t r[Row::Size];
    ASSERT_TRUE(MatrixRowGet(TRVc::Number, 0, Rec(), 2, r));
    DateRec today = GetDate(r, Row::Date), booked = GetDate(r, Row::Date2);
    EXPECT_EQ(DateCompare(&today, &TodayDate), 0);
    DateRec voucherDate{10, 6, 2024};
    EXPECT_EQ(DateCompare(&booked, &voucherDate), 0);
    EXPECT_EQ(RowText(3, Row::Account), InvoiceCo::VatOut);
    // Button 2 now negates only the rows after the stored ones.
    ASSERT_EQ(MatrixRowsPerUnit(w), 2);
    WindowEvent(w, 23, &two, &two);
    EXPECT_DOUBLE_EQ(V(RowAmount(0)), -100.0);
    EXPECT_DOUBLE_EQ(V(RowAmount(3)), -60.0);
}

// A typed key of the voucher list: year name (any case) and number, with
// "." or ":" between; an unreadable number leaves the record alone.
TEST_F(VoucherWindowTest, VoucherListKeyAndReferences)
{
    int list = OpenOrActivateWindow(118, 0, 0, false, 0);
    ASSERT_GT(list, 0);
    uint8_t *rec = WinRecordBuffer(list);
    PutText(rec, TRVc::Text2, 20, "2024.12");
    int parts = 1;
    FindKeyByType(list, &parts, nullptr);
    EXPECT_EQ(parts, 2);
    uint16_t year = GetU16(rec, TRVc::YearCode);
    EXPECT_NE(year, 0);
    EXPECT_EQ(GetI32(rec, TRVc::SerNr), 12);
    uint8_t typed[256];
    PStringFromC(typed, "2024:x");
    PutI32(rec, TRVc::SerNr, 7);
    EXPECT_FALSE(VoucherKeyFromText(typed, rec));
    EXPECT_EQ(GetI32(rec, TRVc::SerNr), 7);

    uint16_t code = 0;
    int32_t number = 0;
    PStringFromC(typed, "2024.31");
    ASSERT_TRUE(VoucherRefFromText(typed, &code, &number));
    EXPECT_EQ(code, year);
    EXPECT_EQ(number, 31);
    uint8_t shownText[256];
    VoucherRefText(shownText, code, uint32_t(number));
    uint8_t back[256];
    PStringCopy(back, shownText);
    ASSERT_TRUE(VoucherRefFromText(back, &code, &number));
    EXPECT_EQ(number, 31);
    PStringFromC(typed, "NOYEAR.5");
    EXPECT_FALSE(VoucherRefFromText(typed, &code, &number));
    // Other list types keep their key parts.
    int other = OpenOrActivateWindow(40, 0, 0, false, 0);
    if (other > 0) {
        parts = 1;
        FindKeyByType(other, &parts, nullptr);
        EXPECT_EQ(parts, 1);
    }
}

// The date field: an empty date takes the entry date; a date the
// balances cannot hold is told.
TEST_F(VoucherWindowTest, DateFieldTests)
{
    PutDate(Rec(), TRVc::RegDate, DateRec{12, 6, 2024});
    PutDate(Rec(), TRVc::TransDate, DateRec{});
    int dateField = 2;
    ASSERT_EQ(WinFieldIdAt(w, dateField), int(TRVc::TransDate));
    Leave(dateField);
    DateRec d = GetDate(Rec(), TRVc::TransDate), want{12, 6, 2024};
    EXPECT_EQ(DateCompare(&d, &want), 0);
    EXPECT_TRUE(shown.empty());
    PutDate(Rec(), TRVc::TransDate, DateRec{1, 3, 1975});
    Leave(dateField);
    EXPECT_TRUE(WasShown(Texts::NoFiscalYear));
}

// Enter in the second column of a document window's rows goes to the
// next row's first cell; other columns let the framework move on.
TEST_F(VoucherWindowTest, DocumentRowsEnterRule)
{
    int inv = OpenOrActivateWindow(347, 0, 0, false, 0);
    ASSERT_GT(inv, 0);
    WinSetRecState(inv, 1);
    int f = 0, c = 0;
    MatrixGeometry(inv, &f, &c);
    ASSERT_GT(c, 1);
    int16_t second = int16_t(f + 1), third = int16_t(f + 2);
    EXPECT_EQ(WindowEvent(inv, 7, &second, nullptr), 0);
    EXPECT_EQ(WinTable[inv]->currentField, f + c);
    EXPECT_EQ(WindowEvent(inv, 7, &third, nullptr), 1);
}

}  // namespace

// A row write refused while a voucher's rows change: the rows go back to
// what they were before the change and the user is told once. A template
// refused at its second row leaves the typed code and no new rows; the
// account look-up refused writes no name and adds no follow-up row;
// button 4 refused at its link row brings the trimmed empty rows back.
TEST_F(VoucherWindowTest, RefusedRowWritesAreToldAndUndone)
{
    StoreTemplate("PAIR", {{"2610", "", "First", "10", "", ""}, {"3010", "", "Second", "", "10", ""}});
    PutRow(0, InvoiceCo::Cash, 1234.56);
    PutRow(1, "PAIR", 0, true);
    MatrixTestHooks = MatrixFaultHooks{2, 0};
    Leave(Cell(1, 0));
    MatrixTestHooks = MatrixFaultHooks{};
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(RowText(1, Row::Account), "PAIR");
    EXPECT_EQ(RowText(1, Row::Text), "");
    EXPECT_DOUBLE_EQ(V(RowAmount(0)), 1234.56);
    EXPECT_TRUE(WasShown(Texts::RowsNotWritten));
    EXPECT_EQ(shown.size(), 1u);

    shown.clear();
    StoreAccountWith("5010", "Rent", "1", "2640", 1, 1);
    PutRow(1, "5010", 1000);
    MatrixTestHooks = MatrixFaultHooks{1, 0};
    Leave(Cell(1, 0));
    MatrixTestHooks = MatrixFaultHooks{};
    EXPECT_EQ(RowText(1, Row::Text), "");
    EXPECT_EQ(RowCount(), 2) << "no follow-up row after a refused look-up";
    EXPECT_TRUE(WasShown(Texts::RowsNotWritten));

    shown.clear();
    PutRow(2, "", 0, true);
    PutRow(3, "", 0, true);
    int16_t four = 4;
    MatrixTestHooks = MatrixFaultHooks{1, 0};
    WindowEvent(w, 23, &four, &four);
    MatrixTestHooks = MatrixFaultHooks{};
    ASSERT_EQ(RowCount(), 4);
    EXPECT_EQ(RowKind(2), 1);
    EXPECT_EQ(RowKind(3), 1);
    EXPECT_EQ(RowText(1, Row::Account), "5010");
    EXPECT_TRUE(WasShown(Texts::RowsNotWritten));
    WindowEvent(w, 23, &four, &four);
    EXPECT_EQ(RowCount(), 3) << "not refused: the empty rows go and a link row follows";
    EXPECT_EQ(RowKind(2), 4);
}
