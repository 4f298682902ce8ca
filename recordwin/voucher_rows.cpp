// voucher_rows.cpp - the row logic of the account-row windows (the
// voucher, 117, and its twins 255, 533 and 164, each by its layout in
// account_rows.h): what a committed field or row cell does, the account
// look-up of a row with its follow-up row, the sign check of an amount
// against its account, a row balanced against the rest of the record,
// and the header totals that follow the rows.
//
// Rows are read and written through the record's rows (MatrixRowGet,
// MatrixRowPut) one copy at a time, so that no pointer into the rows
// outlives a call that may grow or move them.
#include <cassert>
#include <cstring>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/account_rows.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/ledger.h"
#include "rules/row_writes.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

uint16_t NextFieldOverride = 0;

namespace {

namespace Row = TRVc::Rows;
constexpr int AccountMax = 10, VatMax = 2;
constexpr uint32_t RowMax = 256;   // above the largest row of an account-row window

// The company word that turns the sign check on (1).
bool SignCheckOn()
{
    const uint8_t *company = SettingsRecord(CompanyBlk::Number, CompanyBlock);
    return company && GetU16(company, CompanyBlk::AccountSignCheck) == 1;
}

// Reads the account with code `code` (a PString) into account (ACVc::Size
// bytes); false for an empty, overlong or unknown code.
bool AccountRead(const uint8_t *code, uint8_t *account)
{
    std::memset(account, 0, ACVc::Size);
    if (code[0] == 0 || code[0] > AccountMax) return false;
    PutText(account, ACVc::Code, code);
    return RecFindByFirstKey(ACVc::Number, account);
}

// The date step of a changed date field: an empty date takes the entry
// date; then the first test that fails is told. The date stays.
void RowsDateLeft(const AccountRowLayout &L, int window, uint8_t *record)
{
    uint32_t at = uint32_t(L.dateAt);
    DateRec date = GetDate(record, at);
    if (DateIsEmpty(&date)) {
        date = GetDate(record, L.entryDateAt);
        PutDate(record, at, date);
        WinRedrawFieldById(window, int(at));
    }
    if (!DateAllowed(&date))
        ShowTextMessage(Texts::NoFiscalYear);
    else if (IsDateLocked(&date, L.lockReg))
        ShowTextMessage(Texts::DateLocked);
    else if (IsDateLockedSecondary(&date, L.lockReg))
        ShowTextMessage(Texts::DateLockedSecondary);
}

// Reads row `row` of the record into r (RowMax bytes); false when there
// is no such row or it is no account row.
bool AccountRowGet(const AccountRowLayout &L, const uint8_t *record, int row, uint8_t *r)
{
    assert(L.rowSize <= RowMax);
    if (!record || !MatrixRowGet(L.reg, 0, record, row, r)) return false;
    return L.kindAt < 0 || GetU16(r, uint32_t(L.kindAt)) == RowAccount;
}

}  // namespace

// True when the PString name is the text drawn for an unknown account,
// cut to `width` characters as a name cell of that width holds it.
bool AccountNameIsUnknownAt(const uint8_t *name, int width)
{
    uint8_t missing[256];
    GetUiText(missing, Texts::AccountNameMissing);
    if (width >= 0 && missing[0] > width) missing[0] = uint8_t(width);
    return PStringEqual(name, missing);
}

// Shows text 1044 when the account of the PString code exists, the amount
// is not blank and its side is one the account does not allow (a
// positive amount on an account without debit, a negative one on an
// account without credit). True when the amount may stand.
bool AccountSignCheck(const uint8_t *code, const PackedDecimal *amount)
{
    uint8_t account[ACVc::Size];
    if (DecIsBlank(amount) || DecIsZero(amount) || !AccountRead(code, account)) return true;
    bool debit = !DecIsNegative(amount);
    uint16_t allowed = GetU16(account, debit ? ACVc::DebitAllowed : ACVc::CreditAllowed);
    if (allowed != 0) return true;
    ShowTextMessage(Texts::AccountSideNotAllowed);
    return false;
}

// Looks up the account of row `row` of the window: an empty code empties
// the row's name; a found account draws its name (and, where the rows
// have one, its VAT code) into the row and, unless noExtraRow is set,
// inserts after the row a row for the account's follow-up account; an
// unknown account draws text 1023 into the name and beeps. `rows` is the
// window's rows handle (only checked: the rows are reached through the
// record, which follows the handle when they grow). False when the row is
// no row of the window.
bool LayoutRowAccountLookup(const AccountRowLayout &L, int window, MemBlock rows, int row, int noExtraRow)
{
    uint8_t *record = WinRecordBuffer(window);
    if (!record || !rows || rows != WinMatrixRows(window) || !WinRecordIs(window, L.reg)) return false;
    uint8_t r[RowMax];
    assert(L.rowSize <= RowMax);
    if (!MatrixRowGet(L.reg, 0, record, row, r)) return false;
    uint8_t code[256], name[256] = {0}, vat[256] = {0}, followUp[256] = {0};
    GetPString(r, L.accountAt, AccountMax, code);
    uint8_t account[ACVc::Size];
    bool found = false;
    if (code[0] != 0) {
        found = AccountRead(code, account);
        if (found) {
            GetTextPrefix(account, ACVc::Name, L.nameMax, name);
            GetText(account, ACVc::VatCode, vat);
            GetText(account, ACVc::FollowUp, followUp);
        } else {
            GetUiText(name, Texts::AccountNameMissing);
            if (name[0] > L.nameMax) name[0] = uint8_t(L.nameMax);
        }
    }
    bool drawVat = found && L.vatAt >= 0;
    PutPString(r, L.nameAt, L.nameMax, name);
    if (drawVat) PutPString(r, uint32_t(L.vatAt), VatMax, vat);
    if (!MatrixRowPutTold(L.reg, record, row, r)) return true;
    WinMatrixDrawRow(window, row, L.nameAt, 0);
    if (drawVat) WinMatrixDrawRow(window, row, uint32_t(L.vatAt), 0);
    if (code[0] != 0 && !found) Beep();
    if (!found || noExtraRow || followUp[0] == 0) return true;
    uint8_t next[RowMax] = {0};
    if (L.kindAt >= 0) PutU16(next, uint32_t(L.kindAt), RowAccount);
    PutPString(next, L.accountAt, AccountMax, followUp);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(next, L.amountAt, blank);
    if (L.amount2At >= 0) PutDec(next, uint32_t(L.amount2At), blank);
    if (!MatrixRowInsert(L.reg, record, row + 1, next)) return true;
    WinMatrixDrawRow(window, row + 1, L.accountAt, 0);
    WinMarkChanged(window);
    return true;
}

// The voucher window's look-up (the rows of register 11).
bool RowAccountLookup(int window, MemBlock rows, int row, int noExtraRow)
{
    return LayoutRowAccountLookup(*AccountRowLayoutOf(117), window, rows, row, noExtraRow);
}

// Recomputes the debit, credit and balance totals of the window's record
// from its rows, redraws them and marks the window changed.
void LayoutTotalsRefresh(const AccountRowLayout &L, int window)
{
    uint8_t *record = WinRecordBuffer(window);
    if (!record || !WinRecordIs(window, L.reg)) return;
    L.balance(record);
    WinRedrawFieldById(window, int(L.balanceTotal));
    WinRedrawFieldById(window, int(L.debitTotal));
    WinRedrawFieldById(window, int(L.creditTotal));
    WinMarkChanged(window);
}

void VoucherTotalsRefresh(int window) { LayoutTotalsRefresh(*AccountRowLayoutOf(117), window); }

// Sets the amount of row `row` so that the record balances: zero first,
// then the negated sum of the counted rows. False when there is no such
// row or it is no account row.
bool LayoutRowSetBalancing(const AccountRowLayout &L, uint8_t *record, int row)
{
    uint8_t r[RowMax];
    if (!AccountRowGet(L, record, row, r)) return false;
    PackedDecimal amount;
    DecSetZero(&amount);
    PutDec(r, L.amountAt, amount);
    if (!MatrixRowPut(L.reg, 0, record, row, r)) return false;
    PackedDecimal sum;
    L.sum(record, &sum);
    DecNegateInto(&sum, &amount);
    PutDec(r, L.amountAt, amount);
    return MatrixRowPut(L.reg, 0, record, row, r);
}

bool VoucherRowSetBalancing(uint8_t *voucher, int row)
{
    return LayoutRowSetBalancing(*AccountRowLayoutOf(117), voucher, row);
}

// Balances the row of the field under edit (a button, and Enter on a
// blank credit): a shown record is taken into edit first; a row of
// another kind or a cell in the seventh column or later is left alone.
// The focus goes to the row's debit cell, or its credit cell for a
// credit.
void LayoutBalanceRow(const AccountRowLayout &L, int window)
{
    if (!WinIsOpen(window) || !WinRecordIs(window, L.reg)) return;
    int F = WinTable[window]->currentField;
    FieldPlace at = WinFieldPlace(window, F);
    if (!at.IsCell() || at.row < 0 || at.row >= WinMatrixRowCount(window)) return;
    if (WinRecState(window) == 0) {
        WinBeginEdit(window);
        if (!WinIsOpen(window) || WinRecState(window) == 0) return;
    }
    uint8_t r[RowMax];
    if (at.column >= 6 || !AccountRowGet(L, WinRecordBuffer(window), at.row, r)) return;
    WinCommitField(window);
    uint8_t *record = WinRecordBuffer(window);
    if (!record || !LayoutRowSetBalancing(L, record, at.row)) return;
    WinMatrixDrawRow(window, at.row, L.amountAt, 0);
    LayoutTotalsRefresh(L, window);
    (void)MatrixRowGet(L.reg, 0, record, at.row, r);
    PackedDecimal amount = GetDec(r, L.amountAt);
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    int rowFirst = first + at.row * cells;
    WinGotoField(window, rowFirst + (DecIsNegative(&amount) ? L.colCredit : L.colDebit), true);
}

void VoucherBalanceRow(int window) { LayoutBalanceRow(*AccountRowLayoutOf(117), window); }

// The amount a template row gives from its debit and credit texts (PStrings)
// with `base` (the previous row's amount) for percentages: each text ending
// in "%" is that percentage of the base ("%%": rounded to a whole
// number), any other text an amount of its column; the credit part
// counts negative. A text that does not read as a number gives a blank
// part; the result is the sum rounded to two decimals, blank when both
// parts are.
void VoucherPercentAmount(PackedDecimal *result, const PackedDecimal *base, const uint8_t *debitText,
                          const uint8_t *creditText)
{
    auto part = [&](const uint8_t *text, bool credit, PackedDecimal *out) {
        DecSetBlank(out);
        int n = text[0];
        while (n > 0 && text[n] == ' ') n--;
        if (n == 0) return;
        if (text[n] == '%') {
            bool whole = n >= 2 && text[n - 1] == '%';
            uint8_t number[256];
            number[0] = uint8_t(n - (whole ? 2 : 1));
            std::memcpy(number + 1, text + 1, number[0]);
            while (number[0] > 0 && number[number[0]] == ' ') number[0]--;
            PackedDecimal check;
            if (number[0] == 0 || !TextToDecChecked(number, &check) || DecIsBlank(&check)) return;
            PackedDecimal b;
            DecCopy(&b, base);
            if (DecIsBlank(&b)) DecSetZero(&b);
            DecPercentOfText(number, &b, out);
            if (DecIsBlank(out)) return;
            if (whole) DecRound(out, 0, out);
            if (credit) DecNegateInto(out, out);
            return;
        }
        uint8_t trimmed[256];
        trimmed[0] = uint8_t(n);
        std::memcpy(trimmed + 1, text + 1, size_t(n));
        uint8_t field[sizeof(PackedDecimal)];
        PackedDecimal blank;
        DecSetBlank(&blank);
        std::memcpy(field, &blank, sizeof field);
        if (!FieldFromText(field, credit ? FtCredit : FtDebit, 0, trimmed)) return;
        std::memcpy(out, field, sizeof field);
    };
    PackedDecimal debit, credit;
    part(debitText, false, &debit);
    part(creditText, true, &credit);
    if (DecIsBlank(&debit) && DecIsBlank(&credit)) {
        DecSetBlank(result);
        return;
    }
    DecAdd(&debit, &credit, result);
    DecRound(result, 2, result);
}

// Event 6 of an account-row window: screen field `field` was committed
// (changed: its value differs). The date is tested; an account cell
// expands a template (where the window has them) or looks its account
// up; an amount cell is redrawn, checked against its account's sides and
// the totals follow.
void LayoutFieldChanged(const AccountRowLayout &L, int window, int field, uint8_t changed)
{
    NextFieldOverride = 0;
    uint8_t *record = WinRecordBuffer(window);
    if (!record || !WinRecordIs(window, L.reg)) return;
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) {
        if (L.dateAt >= 0 && at.id == L.dateAt && changed) RowsDateLeft(L, window, record);
        return;
    }
    uint8_t r[RowMax];
    if (!AccountRowGet(L, record, at.row, r)) return;
    bool totals = false;
    if (at.cell == int(L.accountAt)) {
        uint8_t name[256];
        GetPString(r, L.nameAt, L.nameMax, name);
        if (!changed && name[0] != 0) {
            if (!AccountNameIsUnknownAt(name, L.nameMax)) return;
        } else if (L.templates && VoucherTemplateExpand(window, at.row)) {
            return;   // the expansion refreshed the totals itself
        }
        LayoutRowAccountLookup(L, window, WinMatrixRows(window), at.row, 0);
    } else if (at.cell == int(L.amountAt) && changed) {
        WinMatrixDrawRow(window, at.row, L.amountAt, 0);
        totals = true;
        if (SignCheckOn()) {
            uint8_t code[256];
            GetPString(r, L.accountAt, AccountMax, code);
            PackedDecimal amount = GetDec(r, L.amountAt);
            AccountSignCheck(code, &amount);
        }
    }
    if (totals) LayoutTotalsRefresh(L, window);
}

void VoucherFieldChanged(int window, int field, uint8_t changed)
{
    LayoutFieldChanged(*AccountRowLayoutOf(117), window, field, changed);
}

// Redraws the account cells of voucher row `row`.
void VoucherRowRedraw(int window, int row)
{
    for (uint32_t at : std::initializer_list<uint32_t>{Row::Account, Row::Objects, Row::Text, Row::Amount, Row::VatCode})
        WinMatrixDrawRow(window, row, at, 0);
}
