// expense_window.cpp - the expense window (type 475): a person's claim of
// account rows, each with an amount including VAT and its VAT. Its event
// handler, what committing a header field or a row cell does, and where
// Enter goes in the rows. A posted claim keeps its posted flag; rows are
// inserted only in a new claim. See dict/win_person_payments.dict.
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/person_payment_window.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = ExpenseVc::Rows;

constexpr int PersonMax = 5, NameMax = 60, RowNameMax = 20, AccountMax = 10, VatCodeMax = 2;

bool Posted(const uint8_t *expense) { return expense && GetU16(expense, ExpenseVc::Posted) != 0; }

bool ReadRow(int window, int row, uint8_t *r)
{
    return row >= 0 && MatrixRowRead(ExpenseVc::Number, WinRecordBuffer(window), row, r);
}

void PutRow(int window, int row, const uint8_t *r)
{
    if (!MatrixRowPut(ExpenseVc::Number, 0, WinRecordBuffer(window), row, r)) return;
    for (uint32_t cell : {uint32_t(Row::Account), uint32_t(Row::Text), uint32_t(Row::Amount), uint32_t(Row::VatCode),
                          uint32_t(Row::VatAmount)})
        WinMatrixDrawRow(window, row, cell, 0);
}

// The VAT of row r's amount by its code's VAT part, to cents; nothing for
// a blank amount.
void RowVat(int window, int row, uint8_t *r)
{
    PackedDecimal amount = GetDec(r, Row::Amount);
    if (DecIsBlank(&amount)) return;
    uint8_t code[256];
    GetText(r, Row::VatCode, code);
    PackedDecimal vat;
    (void)VatPartOf(code, &amount, &vat);
    PutDec(r, Row::VatAmount, vat);
    PutRow(window, row, r);
}

void RowCellChanged(int window, int F, uint8_t changed)
{
    int row = 0, column = 0;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size];
    uint8_t *expense = WinRecordBuffer(window);
    if (!ReadRow(window, row, r)) return;
    if (GetU16(r, Row::Kind) == 0 && changed) {
        PutU16(r, Row::Kind, uint16_t(ExpenseRowKind::Account));
        PutRow(window, row, r);
    }
    if (ExpenseRowKind(GetU16(r, Row::Kind)) != ExpenseRowKind::Account) return;
    int id = WinFieldIdAtCell(window, F);
    if (id == int(Row::Account)) {
        uint8_t name[256];
        GetText(r, Row::Text, name);
        if (changed || name[0] == 0 || AccountNameIsUnknown(name)) ExpenseRowAccountLookup(window, expense, row);
    } else if ((id == int(Row::Amount) || id == int(Row::VatCode)) && changed) {
        RowVat(window, row, r);
        ExpenseTotalsRefresh(window, expense);
    } else if (id == int(Row::VatAmount)) {
        ExpenseTotalsRefresh(window, expense);
    }
}

void HeaderFieldChanged(int window, int id, uint8_t changed)
{
    uint8_t *expense = WinRecordBuffer(window);
    switch (id) {
    case ExpenseVc::Total:
        if (changed) WinRecordRefresh(window);
        return;
    case ExpenseVc::Person:
        if (!changed) return;
        if (!ExpensePersonFill(expense)) {
            Beep();
            return;
        }
        ExpenseRateRefresh(window, expense);
        WinRecordRefresh(window);
        return;
    case ExpenseVc::TransDate:
        if (GetDate(expense, ExpenseVc::TransDate).year == 0) {
            PutDate(expense, ExpenseVc::TransDate, TodayDate);
            WinRedrawFieldById(window, int(ExpenseVc::TransDate));
            ExpenseRateRefresh(window, expense);
        } else if (changed) {
            ExpenseRateRefresh(window, expense);
        }
        return;
    case ExpenseVc::CurncyCode:
        if (changed) ExpenseRateRefresh(window, expense);
        return;
    default: return;
    }
}

// Event 1: a posted claim keeps its posted flag (the shown one while it
// is viewed, the stored one while a stored claim is changed).
uint8_t MayEdit(int window, uint32_t offset)
{
    if (offset != ExpenseVc::Posted) return 1;
    switch (WinRecState(window)) {
    case 0: return Posted(WinRecordBuffer(window)) ? 0 : 1;
    case 2: return Posted(WinStoredRecord(window)) ? 0 : 1;
    default: return 1;
    }
}

// Enter in screen field F: the field to go to, or NoField to move on.
int EnterTarget(int window, int F)
{
    if (NextFieldOverride != 0) {
        int target = NextFieldOverride;
        NextFieldOverride = 0;
        return target;
    }
    int first = 0, cells = 0, row = 0, column = 0;
    MatrixGeometry(window, &first, &cells);
    if (!WinHasMatrix(window) || F < first) return NoField;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size];
    if (!ReadRow(window, row, r) || (ExpenseRowKind(GetU16(r, Row::Kind)) != ExpenseRowKind::Account &&
                                     GetU16(r, Row::Kind) != 0)) return NoField;
    return AccountRowEnterTarget(window, ExpenseVc::Matrix, row, WinFieldIdAtCell(window, F), Row::Amount);
}

}  // namespace

uint8_t Win475Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    // A type laid out otherwise than by its register is left alone.
    if (!WinRulesApply(window)) return 1;
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField: return MayEdit(window, b ? *static_cast<const uint16_t *>(b) : 0xFFFFu);
    case WindowEventCode::MayDeleteRow: return WinRecState(window) == 2 && Posted(WinStoredRecord(window)) ? 0 : 1;
    case WindowEventCode::FieldChanged:
        if (a && b) ExpenseFieldChanged(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::Enter: {
        if (!a) return 1;
        int F = *static_cast<const uint16_t *>(a);
        int target = EnterTarget(window, F);
        if (target == NoField || !WinIsOpen(window) || !WinGotoField(window, target, true)) return 1;
        return 0;
    }
    case WindowEventCode::MayInsertRow: return WinRecState(window) == 1 ? 1 : 0;
    default: return 1;
    }
}

void ExpenseFieldChanged(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    NextFieldOverride = 0;
    FieldChangedSplit(window, field, changed, HeaderFieldChanged, RowCellChanged);
}

void ExpenseTotalsRefresh(int window, uint8_t *expense)
{
    Rows154Totals(expense);
    if (!WinIsOpen(window)) return;
    WinRedrawFieldById(window, int(ExpenseVc::Total));
    WinRedrawFieldById(window, int(ExpenseVc::VatTotal));
    WinMarkChanged(window);
}

void ExpenseRateRefresh(int window, uint8_t *expense)
{
    RateIntoField(window, expense, ExpenseVc::CurncyCode, ExpenseVc::TransDate, ExpenseVc::Rate);
}

int ExpensePersonFill(uint8_t *expense)
{
    uint8_t code[256], name[256];
    GetText(expense, ExpenseVc::Person, code);
    RuleRecord person(PEVc::Number);
    if (!person.record || code[0] == 0) return 0;
    PutText(person.record, PEVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(PEVc::Number, person.record, 1, 1, &recid, &position)) return 0;
    GetText(person.record, PEVc::Name, name);
    PutText(expense, ExpenseVc::PersonName, name);
    return 1;
}

// The account's name (cut to the row's 20 characters) and its VAT code,
// else block 155's default for ordinary VAT; text 1023 and a beep for an
// unknown account; an empty code empties the name.
void ExpenseRowAccountLookup(int window, uint8_t *expense, int row)
{
    (void)expense;
    uint8_t r[Row::Size], code[256], text[256];
    if (!ReadRow(window, row, r)) return;
    GetText(r, Row::Account, code);
    RuleRecord acc(ACVc::Number);
    if (code[0] == 0) {
        r[Row::Text] = 0;
    } else if (!PurchaseAccountRead(code, acc)) {
        GetUiText(text, Texts::AccountNameMissing);
        PutText(r, Row::Text, text);
        Beep();
    } else {
        GetText(acc.record, ACVc::Name, text);
        PutText(r, Row::Text, text);
        GetText(acc.record, ACVc::VatCode, text);
        const uint8_t *block = SettingsRecord(PurchAccountsBlk::Number, VendorAccountsBlock);
        if (text[0] == 0 && block) GetText(block, PurchAccountsBlk::VatCodeT0, text);
        PutText(r, Row::VatCode, text);
    }
    PutRow(window, row, r);
}
