// open_items.cpp - what a sales invoice keeps in step: its open item
// (register 13), the down payments of the order it came from, and the
// down-payment sums of its rows.
//
// A store that fails here is told to the user and fails the caller's
// hold, so the invoice that asked for it is not stored either.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace Inv = IVVc;

// Tells the user a record could not be stored and fails the open hold.
void StoreFailedTold() {
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
}

// The net down payment of an invoice (none: zero), as the order counts it.
PackedDecimal DownPaymentOf(const uint8_t *invoice) {
    PackedDecimal positive, negative, sum;
    DecSetZero(&positive);
    DecSetZero(&negative);
    if (invoice) InvoiceDownPaymentSums(invoice, &positive, &negative);
    DecAdd(&positive, &negative, &sum);
    return sum;
}

// Takes amount back from (sign -1) or adds it to (sign 1) the order's
// down payments: a negative amount is a deduction, kept as a positive
// sum at DownPayDed; any other is invoiced at DownPayInv.
void OrderDownPaymentMove(uint8_t *order, const PackedDecimal *amount, int sign) {
    if (DecIsZero(amount)) return;
    bool deduction = DecIsNegative(amount);
    uint32_t at = deduction ? ORVc::DownPayDed : ORVc::DownPayInv;
    PackedDecimal value = GetDec(order, at), moved;
    // Deducted -= amount adds a negative amount's size; invoiced += amount.
    if ((sign > 0) == deduction) DecSub(&value, amount, &moved);
    else DecAdd(&value, amount, &moved);
    PutDec(order, at, moved);
}

}  // namespace

// Makes item a new open item of invoice under serial: the invoice's
// customer, name, currency and kind, zero amounts and block 134's
// interest rate; no dates.
void OpenItemFromInvoice(uint8_t *item, const uint8_t *invoice, uint32_t serial) {
    assert(item && invoice);
    RecClear(ARVc::Number, item);
    PutU32(item, ARVc::InvoiceNr, serial);
    DocFlowCopyText(item, ARVc::CustCode, invoice, Inv::CustCode);
    DocFlowCopyText(item, ARVc::CustName, invoice, Inv::Addr0);
    DocFlowCopyText(item, ARVc::CurncyCode, invoice, Inv::CurncyCode);
    PutU16(item, ARVc::InvType, GetU16(invoice, Inv::InvType));
    PackedDecimal zero;
    DecSetZero(&zero);
    for (uint32_t at : {ARVc::OpenAmount, ARVc::VatAmount, ARVc::InvAmount, ARVc::HomeAmount}) PutDec(item, at, zero);
    const uint8_t *rates = SettingsRecord(InterestBlk::Number, InvoiceRateBlock);
    if (rates) PutDec(item, ARVc::IntRate, GetDec(rates, InterestBlk::Rate));
}

// Writes the open item of serial: finds it (or makes it from the invoice
// and block 134), sets its dates unless keepDates, adds amount to the
// invoiced, open and home amounts and amount2 to the VAT amount, then
// stores it, or deletes it when nothing is left open. A zero amount
// changes nothing.
void UpdateOpenInvoice(const uint8_t *invoice, uint32_t serial, const PackedDecimal *amount,
                       const PackedDecimal *amount2, const uint8_t *dueDate, const uint8_t *secondDate, bool keepDates) {
    assert(invoice && amount);
    if (DecIsZero(amount)) return;
    RuleRecord item(ARVc::Number);
    if (!item.record) {
        StoreFailedTold();
        return;
    }
    PutU32(item.record, ARVc::InvoiceNr, serial);
    uint32_t recid = 0, position = 0;
    bool existed = RecFind(ARVc::Number, item.record, 1, 1, &recid, &position);
    if (!existed) OpenItemFromInvoice(item.record, invoice, serial);
    if (!keepDates) {
        if (dueDate) {
            DateRec due = GetDate(dueDate, 0);
            PutDate(item.record, ARVc::DueDate, due);
            PutDate(item.record, ARVc::CashDiscDate, due);
        }
        if (secondDate) PutDate(item.record, ARVc::CashDiscDate, GetDate(secondDate, 0));
    }
    PackedDecimal value, home, rate = GetDec(invoice, Inv::Rate);
    for (uint32_t at : {ARVc::InvAmount, ARVc::OpenAmount}) {
        value = GetDec(item.record, at);
        DecAdd(&value, amount, &value);
        PutDec(item.record, at, value);
    }
    AmountTimesRate(amount, &rate, &home);
    value = GetDec(item.record, ARVc::HomeAmount);
    DecAdd(&value, &home, &value);
    PutDec(item.record, ARVc::HomeAmount, value);
    if (amount2) {
        value = GetDec(item.record, ARVc::VatAmount);
        DecAdd(&value, amount2, &value);
        PutDec(item.record, ARVc::VatAmount, value);
    }
    PackedDecimal open = GetDec(item.record, ARVc::OpenAmount);
    if (DecIsZero(&open)) {
        if (existed && !RecDeleteHooked(ARVc::Number, item.record, recid)) StoreFailedTold();
        return;
    }
    if (!RecStore(ARVc::Number, item.record, existed ? 1 : 0, &recid)) StoreFailedTold();
}

// Moves the order's down payments from the old invoice to the new one
// (either may be null): the old version's net down payment is taken back
// and the new one's added, then the order's mark is renewed and it is
// stored. Nothing happens when both are the same or no order is found.
void UpdateOrderFromInvoice(const uint8_t *newInv, const uint8_t *oldInv) {
    PackedDecimal added = DownPaymentOf(newInv), taken = DownPaymentOf(oldInv);
    if (DecEqual(&added, &taken)) return;
    const uint8_t *source = newInv ? newInv : oldInv;
    if (!source || GetU32(source, Inv::OrderNr) == SerialNone) return;
    RuleRecord order(ORVc::Number);
    if (!order.record) return;
    PutU32(order.record, ORVc::SerNr, GetU32(source, Inv::OrderNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(ORVc::Number, order.record, 1, 1, &recid, &position)) return;
    OrderDownPaymentMove(order.record, &taken, -1);
    OrderDownPaymentMove(order.record, &added, 1);
    StatusMarkOrder(order.record);
    if (!RecStore(ORVc::Number, order.record, 1, &recid)) StoreFailedTold();
}

// Adds the invoice's down-payment rows (kind 5, row sum) into positive
// and negative by their sign; a credit note adds every sum negated.
void InvoiceDownPaymentSums(const uint8_t *invoice, PackedDecimal *positive, PackedDecimal *negative) {
    assert(invoice && positive && negative);
    const bool credit = InvoiceKind(GetU16(invoice, Inv::InvType)) == InvoiceKind::CreditNote;
    uint8_t row[Inv::Rows::Size];
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row) ||
            DocRowKind(GetU16(row, Inv::Rows::Kind)) != DocRowKind::DownPayment) continue;
        PackedDecimal sum = GetDec(row, Inv::Rows::Sum);
        if (DecIsZero(&sum)) continue;
        PackedDecimal *total = DecIsNegative(&sum) ? negative : positive;
        if (credit) DecNegateInto(&sum, &sum);
        DecAdd(total, &sum, total);
    }
}
