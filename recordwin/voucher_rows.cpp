// voucher_rows.cpp - the row logic of the voucher window (type 117): what
// a committed field or row cell does, the account look-up of a row with
// its follow-up row, the sign check of an amount against its account, a
// row balanced against the rest of the voucher, and the header totals
// that follow the rows.
//
// Rows are read and written through the record's rows (MatrixRowGet,
// MatrixRowPut) one copy at a time, so that no pointer into the rows
// outlives a call that may grow or move them.
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
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/ledger.h"
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
constexpr int AccountMax = 10, NameMax = 60, VatMax = 2;
constexpr uint16_t AccountRowKind = 1;

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
    PutPString(account, ACVc::Code, AccountMax, code);
    uint32_t recid = 0, position = 0;
    return RecFind(ACVc::Number, account, 1, 1, &recid, &position);
}

// True when the PString name is the text drawn for an unknown account.
bool IsMissingAccountText(const uint8_t *name)
{
    uint8_t missing[256];
    GetUiText(missing, Texts::AccountNameMissing);
    return PStringEqual(name, missing);
}

// The date step of the voucher's date field: an empty date takes the
// entry date; then the first test that fails is told. The date stays.
void VoucherDateLeft(int window, uint8_t *voucher)
{
    DateRec date = GetDate(voucher, TRVc::TransDate);
    if (DateIsEmpty(&date)) {
        date = GetDate(voucher, TRVc::RegDate);
        PutDate(voucher, TRVc::TransDate, date);
        WinRedrawFieldById(window, int(TRVc::TransDate));
    }
    if (!DateAllowed(&date))
        ShowTextMessage(Texts::NoFiscalYear);
    else if (IsDateLocked(&date, TRVc::Number))
        ShowTextMessage(Texts::DateLocked);
    else if (IsDateLockedSecondary(&date, TRVc::Number))
        ShowTextMessage(Texts::DateLockedSecondary);
}

}  // namespace

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

// Looks up the account of voucher row `row` of the window: an empty code
// empties the row's name; a found account draws its name and its VAT code
// into the row and, unless noExtraRow is set, inserts after the row a row
// for the account's follow-up account; an unknown account draws text 1023
// into the name and beeps. `rows` is the window's rows handle (only
// checked: the rows are reached through the record, which follows the
// handle when they grow). False when the row is no row of the window.
bool RowAccountLookup(int window, MemBlock rows, int row, int noExtraRow)
{
    uint8_t *voucher = WinRecordBuffer(window);
    if (!voucher || !rows || rows != WinMatrixRows(window)) return false;
    uint8_t r[Row::Size];
    if (!MatrixRowGet(TRVc::Number, 0, voucher, row, r)) return false;
    uint8_t code[256], name[256] = {0}, vat[256] = {0}, followUp[256] = {0};
    GetPString(r, Row::Account, AccountMax, code);
    uint8_t account[ACVc::Size];
    bool found = false;
    if (code[0] != 0) {
        found = AccountRead(code, account);
        if (found) {
            GetPString(account, ACVc::Name, NameMax, name);
            GetPString(account, ACVc::VatCode, VatMax, vat);
            GetPString(account, ACVc::FollowUp, AccountMax, followUp);
        } else {
            GetUiText(name, Texts::AccountNameMissing);
        }
    }
    PutPString(r, Row::Text, NameMax, name);
    if (found) PutPString(r, Row::VatCode, VatMax, vat);
    (void)MatrixRowPut(TRVc::Number, 0, voucher, row, r);
    WinMatrixDrawRow(window, row, Row::Text, 0);
    if (found) WinMatrixDrawRow(window, row, Row::VatCode, 0);
    if (code[0] != 0 && !found) Beep();
    if (!found || noExtraRow || followUp[0] == 0) return true;
    uint8_t next[Row::Size] = {0};
    PutU16(next, Row::Kind, AccountRowKind);
    PutPString(next, Row::Account, AccountMax, followUp);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(next, Row::Amount, blank);
    PutDec(next, Row::Amount2, blank);
    if (!MatrixRowInsert(TRVc::Number, voucher, row + 1, next)) return true;
    WinMatrixDrawRow(window, row + 1, Row::Account, 0);
    WinMarkChanged(window);
    return true;
}

// Recomputes the voucher's debit, credit and balance totals from its
// counted rows, redraws them and marks the window changed.
void VoucherTotalsRefresh(int window)
{
    uint8_t *voucher = WinRecordBuffer(window);
    if (!voucher || !WinRecordIs(window, TRVc::Number)) return;
    VoucherRowsBalance(voucher);
    WinRedrawFieldById(window, int(TRVc::Balance));
    WinRedrawFieldById(window, int(TRVc::DebitTotal));
    WinRedrawFieldById(window, int(TRVc::CreditTotal));
    WinMarkChanged(window);
}

// Sets the amount of row `row` so that the voucher balances: zero first,
// then the negated sum of the counted rows. False when there is no such
// row or it is no account row.
bool VoucherRowSetBalancing(uint8_t *voucher, int row)
{
    uint8_t r[Row::Size];
    if (!MatrixRowGet(TRVc::Number, 0, voucher, row, r) || GetU16(r, Row::Kind) != AccountRowKind) return false;
    PackedDecimal amount;
    DecSetZero(&amount);
    PutDec(r, Row::Amount, amount);
    if (!MatrixRowPut(TRVc::Number, 0, voucher, row, r)) return false;
    PackedDecimal sum;
    VoucherRowsSum(voucher, &sum);
    DecNegateInto(&sum, &amount);
    PutDec(r, Row::Amount, amount);
    return MatrixRowPut(TRVc::Number, 0, voucher, row, r);
}

// Balances the row of the field under edit (button 1, and Enter on a
// blank credit): a shown record is taken into edit first; a row of another
// kind or a cell in the seventh column or later is left alone. The focus
// goes to the row's debit cell, or its credit cell for a credit.
void VoucherBalanceRow(int window)
{
    if (!WinIsOpen(window) || !WinRecordIs(window, TRVc::Number)) return;
    int F = WinTable[window]->currentField;
    FieldPlace at = WinFieldPlace(window, F);
    if (!at.IsCell() || at.row < 0 || at.row >= WinMatrixRowCount(window)) return;
    if (WinRecState(window) == 0) {
        WinBeginEdit(window);
        if (!WinIsOpen(window) || WinRecState(window) == 0) return;
    }
    if (MatrixRowKind(window, at.row) != AccountRowKind || at.column >= 6) return;
    WinCommitField(window);
    uint8_t *voucher = WinRecordBuffer(window);
    if (!voucher || !VoucherRowSetBalancing(voucher, at.row)) return;
    WinMatrixDrawRow(window, at.row, Row::Amount, 0);
    VoucherTotalsRefresh(window);
    uint8_t r[Row::Size];
    (void)MatrixRowGet(TRVc::Number, 0, voucher, at.row, r);
    PackedDecimal amount = GetDec(r, Row::Amount);
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    int debitCell = first + at.row * cells + 3;
    WinGotoField(window, DecIsNegative(&amount) ? debitCell + 1 : debitCell, true);
}

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

// Event 6 of the voucher window: screen field `field` was committed
// (changed: its value differs). The date is tested; an account cell
// expands a template or looks its account up; an amount cell is redrawn,
// checked against its account's sides and the totals follow.
void VoucherFieldChanged(int window, int field, uint8_t changed)
{
    NextFieldOverride = 0;
    uint8_t *voucher = WinRecordBuffer(window);
    if (!voucher || !WinRecordIs(window, TRVc::Number)) return;
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) {
        if (at.id == int(TRVc::TransDate) && changed) VoucherDateLeft(window, voucher);
        return;
    }
    uint8_t r[Row::Size];
    if (!MatrixRowGet(TRVc::Number, 0, voucher, at.row, r) || GetU16(r, Row::Kind) != AccountRowKind) return;
    bool totals = false;
    if (at.cell == int(Row::Account)) {
        uint8_t name[256];
        GetPString(r, Row::Text, NameMax, name);
        if (!changed && name[0] != 0) {
            if (!IsMissingAccountText(name)) return;
        } else if (VoucherTemplateExpand(window, at.row)) {
            return;   // the expansion refreshed the totals itself
        }
        RowAccountLookup(window, WinMatrixRows(window), at.row, 0);
    } else if (at.cell == int(Row::Amount) && changed) {
        WinMatrixDrawRow(window, at.row, Row::Amount, 0);
        totals = true;
        if (SignCheckOn()) {
            uint8_t code[256];
            GetPString(r, Row::Account, AccountMax, code);
            PackedDecimal amount = GetDec(r, Row::Amount);
            AccountSignCheck(code, &amount);
        }
    }
    if (totals) VoucherTotalsRefresh(window);
}

// Redraws the account cells of voucher row `row`.
void VoucherRowRedraw(int window, int row)
{
    for (uint32_t at : {Row::Account, Row::Objects, Row::Text, Row::Amount, Row::VatCode})
        WinMatrixDrawRow(window, row, at, 0);
}
