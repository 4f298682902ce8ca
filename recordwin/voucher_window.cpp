// voucher_window.cpp - where Enter moves the focus in the voucher window
// (type 117), its twins 255 and 533 and the rows of the document windows
// (event 7), the voucher window's buttons, and its event handler.
//
// Screen fields of a row are the matrix's first field plus the row times
// the cells a row, plus the column: an account row shows account (0),
// objects (1), name (2), the amount as debit (3) and as credit (4).
#include <cassert>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "recordwin/account_rows.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/ledger.h"
#include "rules/row_writes.h"
#include "rules/rules_types.h"
#include "shell/field_editing.h"
#include "shell/matrix_editing.h"
#include "shell/record_commands.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

namespace Row = TRVc::Rows;
constexpr int NoTarget = 65535, ActedItself = 0;
constexpr int ColAccount = 0;
constexpr uint32_t RowMax = 256;   // above the largest row of an account-row window
constexpr int UserCodeMax = 5;

// A company word of the voucher entry (0 when the block is not bound).
uint16_t CompanyWord(uint32_t at)
{
    const uint8_t *company = SettingsRecord(CompanyBlk::Number, CompanyBlock);
    return company ? GetU16(company, at) : 0;
}

// The amount cell Enter goes to from the account or objects cell of a row
// whose first cell is `rowFirst`: debit, or credit for a credit amount;
// the name cell when the company steps through names (word 240 = 0).
int AmountCellOf(const AccountRowLayout &L, int rowFirst, const uint8_t *r)
{
    PackedDecimal amount = GetDec(r, L.amountAt);
    int target = rowFirst + (DecIsNegative(&amount) && !DecIsBlank(&amount) ? L.colCredit : L.colDebit);
    if (CompanyWord(CompanyBlk::VoucherEnterStep2) == 0) target = rowFirst + L.colName;
    return target;
}

// Enter on the empty account cell of a row: a stored record is done (OK);
// a new one is followed by another new record, focused on its date.
int RecordFinished(int window)
{
    if (WinRecState(window) != StateNew) {
        WindowOkAction(window);
        return ActedItself;
    }
    CmdNewRecord(window);
    return WinIsOpen(window) ? 2 : ActedItself;
}

// Brings a shown record into edit; false when it stays shown.
bool IntoEdit(int window)
{
    if (WinRecState(window) == StateShown) WinBeginEdit(window);
    return WinIsOpen(window) && WinRecState(window) != StateShown;
}

// Focuses cell `column` of row `row`.
void FocusCell(int window, int row, int column)
{
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    WinGotoField(window, first + row * cells + column, true);
}

// Button 2: the amounts of the rows typed after those stored change sign.
void VoucherNegateNewRows(int window)
{
    if (!IntoEdit(window)) return;
    WinCommitField(window);   // a cell's text under edit would overwrite its negated amount
    uint8_t *voucher = WinRecordBuffer(window);
    if (!voucher || !WinIsOpen(window)) return;
    VoucherRowsNegate(voucher, MatrixRowsPerUnit(window));
    for (int row = 0; row < WinMatrixRowCount(window); row++) WinMatrixDrawRow(window, row, Row::Amount, 0);
    VoucherTotalsRefresh(window);
    WinMarkChanged(window);
}

}  // namespace

// Where Enter in screen field `field` of an account-row window goes: a
// screen field; 65535 to let the framework move on; 0 when Enter acted
// itself (the record was finished). A target set by a template comes
// first.
int LayoutEnterTarget(const AccountRowLayout &L, int window, int field)
{
    if (L.templates && NextFieldOverride != 0) {
        int target = NextFieldOverride;
        NextFieldOverride = 0;
        return target;
    }
    FieldPlace at = WinFieldPlace(window, field);
    uint8_t *record = WinRecordBuffer(window);
    uint8_t r[RowMax];
    assert(L.rowSize <= RowMax);
    if (!at.IsCell() || !record || !WinRecordIs(window, L.reg) || !MatrixRowGet(L.reg, 0, record, at.row, r) ||
        (L.kindAt >= 0 && GetU16(r, uint32_t(L.kindAt)) != RowAccount))
        return NoTarget;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    int rowFirst = first + at.row * cells, nextRow = rowFirst + cells;
    PackedDecimal amount = GetDec(r, L.amountAt);
    if (at.column == ColAccount) {
        if (!L.enterFromAccount) return NoTarget;
        if (r[L.accountAt] == 0) return RecordFinished(window);
        int target = AmountCellOf(L, rowFirst, r);
        if (L.colSecond >= 0 && CompanyWord(CompanyBlk::VoucherEnterStep1) == 0) target = rowFirst + L.colSecond;
        return target;
    }
    if (at.column == L.colSecond) return AmountCellOf(L, rowFirst, r);
    if (at.column == L.colDebit) return !DecIsBlank(&amount) && DecSign(&amount) > 0 ? nextRow : NoTarget;
    if (at.column == L.colCredit) {
        if (!DecIsBlank(&amount)) return L.creditAlwaysOn ? nextRow : NoTarget;
        LayoutBalanceRow(L, window);
        return WinIsOpen(window) ? nextRow : ActedItself;
    }
    return NoTarget;
}

// Where Enter goes in the voucher window.
int VoucherEnterTarget(int window, int field) { return LayoutEnterTarget(*AccountRowLayoutOf(117), window, field); }

// Event 7: Enter in screen field `field`. The voucher window, the
// account-row windows 255 and 533 and the rows of the document windows (an item's second column goes on to the next
// row) choose the field; 0 when the focus went there or Enter acted
// itself, 1 to let the framework move on.
uint8_t MatrixCellEvent(int window, int field)
{
    if (!WinIsOpen(window)) return 1;
    int target = NoTarget;
    switch (int type = WinTypeOf(window)) {
    case 117: case 255: case 533: {
        const AccountRowLayout *L = WinAccountRowLayout(window);
        if (!L || L->type != type) return 1;
        target = LayoutEnterTarget(*L, window, field);
        break;
    }
    case 272: case 290: case 347: case 352: {
        FieldPlace at = WinFieldPlace(window, field);
        if (!at.IsCell() || at.column != 1) return 1;
        int first = 0, cells = 0;
        MatrixGeometry(window, &first, &cells);
        target = first + (at.row + 1) * cells;
        break;
    }
    default: return 1;
    }
    if (target == ActedItself) return 0;
    if (target == NoTarget || !WinIsOpen(window)) return 1;
    return WinGotoField(window, target, true) ? 0 : 1;
}

// Button 3: a correction row (today, the user, the voucher's date) after
// the stored rows of a stored voucher, focused on its user code. A row
// already typed there moves down rather than being overwritten.
void VoucherAddCorrectionRow(int window)
{
    if (!WinRecordIs(window, TRVc::Number) || WinRecState(window) == StateNew || !IntoEdit(window)) return;
    WinCommitField(window);   // the rows move: no cell may stay under edit
    if (!WinIsOpen(window)) return;
    uint8_t *voucher = WinRecordBuffer(window);
    int n = MatrixRowsPerUnit(window);
    if (!voucher || n < 0) return;
    int count = WinMatrixRowCount(window);
    if (n < count) {
        WinMatrixInsertRow(window, n, RowDated);
        if (WinMatrixRowCount(window) != count + 1) return;
    } else if (n >= count && !MatrixResize(window, n + 1)) {
        return;
    }
    MatrixRowsClear(window, RowDated, n, n);
    voucher = WinRecordBuffer(window);
    uint8_t r[Row::Size];
    if (!voucher || !MatrixRowGet(TRVc::Number, 0, voucher, n, r)) return;
    uint8_t user[UserCodeMax + 1];
    CurrentUserCode(user);
    PutU16(r, Row::Kind, RowDated);
    PutDate(r, Row::Date, TodayDate);
    PutText(r, Row::Code, user);
    PutDate(r, Row::Date2, GetDate(voucher, TRVc::TransDate));
    if (!MatrixRowPut(TRVc::Number, 0, voucher, n, r)) return;
    WinMarkChanged(window);
    FocusCell(window, n, 1);
}

// Button 4: the empty rows at the end go and a link row to another
// voucher follows the last kept row, focused on its year code.
void VoucherTrimRows(int window)
{
    if (!WinRecordIs(window, TRVc::Number) || WinRecState(window) == StateShown) return;
    WinCommitField(window);
    RowsKept before;
    if (!RowsKeepAll(&before, TRVc::Number, WinRecordBuffer(window))) return;
    (void)MatrixTrimEmptyRows(window);
    int count = WinMatrixRowCount(window);
    if (!MatrixResize(window, count + 1)) return;
    MatrixRowsClear(window, RowReference, count, count);
    uint8_t *voucher = WinRecordBuffer(window);
    uint8_t r[Row::Size];
    if (voucher && MatrixRowGet(TRVc::Number, 0, voucher, count, r)) {
        PutU16(r, Row::Kind, RowReference);
        if (!MatrixRowPut(TRVc::Number, 0, voucher, count, r)) {
            // The trimmed rows come back with the rest: the button did nothing.
            RowsPutBack(before, voucher);
            InvalidateWindowNumber(window);
            TellRowsNotWritten();
            return;
        }
    }
    WinMarkChanged(window);
    FocusCell(window, count, 1);
}

// The voucher window's buttons: 1 balances the row under edit, 2 negates
// the rows typed after the stored ones, 3 adds a correction row, 4 a
// link row after the last kept row; none in a stored voucher the voucher
// lock holds (told).
void Win117Button(int window, int button)
{
    // Each button changes the voucher, which the voucher lock keeps.
    if (!WinRecordIs(window, TRVc::Number) || StoredVoucherInLock(window, true)) return;
    switch (button) {
    case 1: VoucherBalanceRow(window); return;
    case 2: VoucherNegateNewRows(window); return;
    case 3: VoucherAddCorrectionRow(window); return;
    case 4: VoucherTrimRows(window); return;
    default: return;
    }
}

// Window type 117's event handler. It answers the row questions as the
// generic rules do (stored vouchers keep their rows, no row is inserted
// in the middle), refreshes the totals when rows went (event 12) and runs
// the buttons (event 23); everything else goes on to the generic actions.
uint8_t Win117Event(int window, int event, void *a, void *b)
{
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayDeleteRow: return a ? WindowMayDeleteRowEvent(window, *static_cast<const int16_t *>(a)) : 0;
    case WindowEventCode::MayInsertRow: return 0;
    case WindowEventCode::RowsChanged: VoucherTotalsRefresh(window); return 1;
    case WindowEventCode::Button:
        if (b) Win117Button(window, *static_cast<const int16_t *>(b));
        return 1;
    default: return 1;
    }
}
