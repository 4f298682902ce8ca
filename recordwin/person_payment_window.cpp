// person_payment_window.cpp - the person-payment window (type 476): its
// event handler, what committing a header field or a row cell does, and
// its totals and rate.
//
// Each row pays a person (register 44); the person's name is drawn into
// the row (the row's text of 20 stays empty: the person record has no
// such text). As in the outgoing payment, the approved flag comes before
// the posted one, rows are never inserted in the middle, and a posted
// payment is closed. See dict/win_person_payments.dict for the layout.
#include "recordwin/person_payment_window.h"

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/out_payment_window.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/prices.h"
#include "rules/row_writes.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = PersPayVc::Rows;

constexpr int EventMayEdit = 1, EventMayDeleteRow = 4, EventFieldChanged = 6, EventMayInsertRow = 9,
              EventRowsChanged = 12, EventIsOpen = 26;
constexpr uint16_t KindPaid = 1;
constexpr int PersonMax = 5, NameMax = 60;

bool Flag(const uint8_t *payment, uint32_t at) { return payment && GetU16(payment, at) != 0; }

// A person typed into row `row`: the person's name, or an empty one for
// an unknown person.
void PersonFill(int window, int row)
{
    uint8_t r[Row::Size], code[256], name[256] = {0};
    uint8_t *payment = WinRecordBuffer(window);
    if (!MatrixRowRead(PersPayVc::Number, payment, row, r)) return;
    GetText(r, Row::Person, code);
    RuleRecord person(PEVc::Number);
    uint32_t recid = 0, position = 0;
    if (person.record && code[0] != 0) {
        PutText(person.record, PEVc::Code, code);
        if (RecFind(PEVc::Number, person.record, 1, 1, &recid, &position))
            GetText(person.record, PEVc::Name, name);
        else
            Beep();
    }
    r[Row::RowText] = 0;
    PutText(r, Row::Name, name);
    if (!MatrixRowPut(PersPayVc::Number, 0, payment, row, r)) return;
    WinMatrixDrawRow(window, row, Row::RowText, 0);
    WinMatrixDrawRow(window, row, Row::Name, 0);
}

void HeaderFieldChanged(int window, int id, uint8_t changed)
{
    uint8_t *payment = WinRecordBuffer(window);
    switch (id) {
    case PersPayVc::BankAmount:
    case PersPayVc::BankCharges:
        if (!changed) return;
        PersonPaymentRateFromAmounts(payment);
        WinRedrawFieldById(window, int(PersPayVc::Rate));
        return;
    case PersPayVc::Rate:
        if (changed) PersonPaymentTotalsRefresh(window);
        return;
    case PersPayVc::PayDate:
        if (GetDate(payment, PersPayVc::PayDate).year == 0) {
            PutDate(payment, PersPayVc::PayDate, GetDate(payment, PersPayVc::DefaultDate));
            WinRedrawFieldById(window, int(PersPayVc::PayDate));
            PersonPaymentRateRefresh(window, payment);
        } else if (changed) {
            PersonPaymentRateRefresh(window, payment);
        }
        return;
    case PersPayVc::CurncyCode:
        if (changed) PersonPaymentRateRefresh(window, payment);
        return;
    case PersPayVc::PayMode:
        if (!changed) return;
        ApplyPaymentModeCopy(payment);
        WinRedrawFieldById(window, int(PersPayVc::Text));
        return;
    default: return;
    }
}

void RowCellChanged(int window, int F, uint8_t changed)
{
    int row = 0, column = 0;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size];
    if (!changed || !MatrixRowRead(PersPayVc::Number, WinRecordBuffer(window), row, r)) return;
    if (GetU16(r, Row::Kind) == 0) {
        PutU16(r, Row::Kind, KindPaid);
        if (!MatrixRowPutTold(PersPayVc::Number, WinRecordBuffer(window), row, r)) return;
    }
    if (GetU16(r, Row::Kind) != KindPaid) return;
    int id = WinFieldIdAtCell(window, F);
    if (id == int(Row::Person)) PersonFill(window, row);
    else if (id == int(Row::Amount)) PersonPaymentTotalsRefresh(window);
}

// Event 1: the posted flag only after the approved one; the approved flag
// not taken back from a stored approved payment (while it is viewed
// unchanged, the shown one is the stored one).
uint8_t MayEdit(int window, uint32_t offset)
{
    const uint8_t *shown = WinRecordBuffer(window);
    if (offset == PersPayVc::Posted && !Flag(shown, PersPayVc::Approved)) return 0;
    if (offset == PersPayVc::Approved) {
        int state = WinRecState(window);
        if (state == 0 && Flag(shown, PersPayVc::Approved)) return 0;
        if (state == 2 && Flag(WinStoredRecord(window), PersPayVc::Approved)) return 0;
    }
    return 1;
}

}  // namespace

uint8_t Win476Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    // A type laid out otherwise than by its register is left alone.
    if (!WinRulesApply(window)) return 1;
    switch (event) {
    case EventMayEdit: return MayEdit(window, b ? *static_cast<const uint16_t *>(b) : 0xFFFFu);
    case EventMayDeleteRow:
        return WinRecState(window) == 2 && Flag(WinStoredRecord(window), PersPayVc::Approved) ? 0 : 1;
    case EventFieldChanged:
        if (a && b)
            PersonPaymentFieldChanged(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case EventMayInsertRow: return 0;
    case EventRowsChanged: PersonPaymentTotalsRefresh(window); return 1;
    case EventIsOpen: return Flag(WinRecordBuffer(window), PersPayVc::Posted) ? 0 : 1;
    default: return 1;
    }
}

void PersonPaymentFieldChanged(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    FieldChangedSplit(window, field, changed, HeaderFieldChanged, RowCellChanged);
}

void PersonPaymentTotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    PaymentTotals106(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(PersPayVc::Total));
    WinRedrawFieldById(window, int(PersPayVc::BankAmount));
}

void PersonPaymentRateRefresh(int window, uint8_t *payment)
{
    RateIntoField(window, payment, PersPayVc::CurncyCode, PersPayVc::PayDate, PersPayVc::Rate);
    PersonPaymentTotalsRefresh(window);
}

void PersonPaymentRateFromAmounts(uint8_t *payment)
{
    PaymentRateFromAmounts(payment, PersPayVc::BankAmount, PersPayVc::BankCharges, PersPayVc::Total, PersPayVc::Rate);
}
