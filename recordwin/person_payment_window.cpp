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
#include "recordwin/payment_window_event.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/payment_kinds.h"
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

constexpr int PersonMax = 5, NameMax = 60;

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
    if (PersPayRowKind(GetU16(r, Row::Kind)) == PersPayRowKind::Unset) {
        PutU16(r, Row::Kind, uint16_t(PersPayRowKind::Paid));
        if (!MatrixRowPutTold(PersPayVc::Number, WinRecordBuffer(window), row, r)) return;
    }
    if (PersPayRowKind(GetU16(r, Row::Kind)) != PersPayRowKind::Paid) return;
    int id = WinFieldIdAtCell(window, F);
    if (id == int(Row::Person)) PersonFill(window, row);
    else if (id == int(Row::Amount)) PersonPaymentTotalsRefresh(window);
}

}  // namespace

uint8_t Win476Event(int window, int event, void *a, void *b)
{
    static constexpr PaymentWindowDesc desc = {PersPayVc::Approved, PersPayVc::Posted, PersonPaymentFieldChanged,
                                               PersonPaymentTotalsRefresh, Texts::PostedPPChange};
    return PaymentWindowEvent(desc, window, event, a, b);
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
