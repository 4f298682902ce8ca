// out_payment_window.cpp - the outgoing-payment window (type 157): its
// event handler, what committing a header field or a row cell does, and
// its totals and rates.
//
// Each row pays a purchase invoice (kind 1) or takes its cash discount
// (kind 5). A paid invoice typed into a row fills the row from the
// invoice, its open item and its vendor; paid within the discount terms
// the row pays the open amount less the discount, which gets a row of its
// own below. An open item without a discount date counts as paid late.
// The first row's invoice sets the payment's currency; a later row in
// another currency is told. The approved flag comes before the posted
// one, and a posted payment is closed. Rows are named by their byte in
// the row, columns by their place (see dict/win_purchase.dict).
#include "recordwin/out_payment_window.h"

#include <cstring>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "recordwin/payment_window_event.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/checks.h"
#include "rules/payment_kinds.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/matrix_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = OPVc::Rows;

constexpr int ColInvoice = 0, ColVendor = 1, ColAmount = 4;
constexpr int CodeMax = 20, AccountTextMax = 20, CurrencyMax = 5;

PaidRowKind KindOf(const uint8_t *r)
{
    uint16_t kind = GetU16(r, Row::Kind);
    return kind == 0 ? PaidRowKind::Paid : PaidRowKind(kind);
}

bool ReadRow(int window, int row, uint8_t *buf)
{
    return row >= 0 && MatrixRowRead(OPVc::Number, WinRecordBuffer(window), row, buf);
}

void PutRow(int window, int row, const uint8_t *buf)
{
    if (!MatrixRowPut(OPVc::Number, 0, WinRecordBuffer(window), row, buf)) return;
    for (uint32_t cell : {uint32_t(Row::InvoiceNr), uint32_t(Row::VendCode), uint32_t(Row::InvPayText),
                          uint32_t(Row::AccountText), uint32_t(Row::Amount), uint32_t(Row::Kind)})
        WinMatrixDrawRow(window, row, cell, 0);
}

// A paid invoice typed into row r (number `row`): name, vendor, account
// text and the amount, with a discount row below within the terms.
void InvoicePaymentFill(int window, int row, uint8_t *r)
{
    uint8_t *payment = WinRecordBuffer(window);
    uint32_t serial = GetU32(r, Row::InvoiceNr);
    RuleRecord invoice(VIVc::Number), item(APVc::Number);
    uint32_t recid = 0;
    if (!PurchaseInvoiceRead(serial, invoice)) {
        Beep();
        return;
    }
    bool open = VendorOpenItemRead(serial, item, &recid);
    uint8_t code[256], currency[256], mine[256];
    GetText(invoice.record, VIVc::VendCode, code);
    PackedDecimal amount, discount;
    DecSetZero(&amount);
    DecSetZero(&discount);
    if (open) {
        amount = GetDec(item.record, APVc::OpenAmount);
        DateRec paid = GetDate(payment, OPVc::PayDate), until = GetDate(item.record, APVc::DiscDate);
        bool late = until.year == 0 || DateCompare(&paid, &until) > 0;
        if (!late) {
            discount = GetDec(invoice.record, VIVc::DiscAmount);
            if (DecIsBlank(&discount)) DecSetZero(&discount);
            DecSub(&amount, &discount, &amount);
        }
    }
    GetText(invoice.record, VIVc::CurncyCode, currency);
    GetText(payment, OPVc::CurncyCode, mine);
    if (!PStringEqual(currency, mine)) {
        if (row == 0) {
            PutText(payment, OPVc::CurncyCode, currency);
            WinRedrawFieldById(window, int(OPVc::CurncyCode));
            OutPaymentRateRefresh(window, payment);
        } else {
            ShowTextMessage(Texts::CurrencyDiffers);
        }
    }
    PutU16(r, Row::Kind, uint16_t(PaidRowKind::Paid));
    PutText(r, Row::VendCode, code);
    PaymentRowPayeeFill(payment, invoice.record, r);
    PutDec(r, Row::Amount, amount);
    PutRow(window, row, r);
    if (!DecIsZero(&discount)) {
        int at = row + 1, count = WinMatrixRowCount(window);
        if (at < count) WinMatrixInsertRow(window, at, int(PaidRowKind::Discount));
        else (void)MatrixResize(window, count + 1);
        if (WinMatrixRowCount(window) == count + 1) {
            uint8_t d[Row::Size];
            std::memcpy(d, r, sizeof d);
            PutU16(d, Row::Kind, uint16_t(PaidRowKind::Discount));
            PutU16(d, Row::Flag, 0);
            PutDec(d, Row::Amount, discount);
            PutRow(window, at, d);
            WinMarkChanged(window);
        }
    }
    OutPaymentTotalsRefresh(window);
}

// A vendor typed into row r: its account text and name.
void VendorFill(int window, int row, uint8_t *r)
{
    uint8_t code[256], text[256];
    GetText(r, Row::VendCode, code);
    RuleRecord vendor(VEVc::Number);
    if (!VendorRead(code, vendor)) {
        Beep();
        return;
    }
    GetText(vendor.record, VEVc::AccountNr, text);
    PutText(r, Row::AccountText, text);
    if (CompanyVariantIs(CountryVariant::V5)) {
        if (r[Row::InvPayText] == 0) {
            PaymentGiroName(WinRecordBuffer(window), vendor.record, text);
            PutText(r, Row::InvPayText, text);
        }
    } else {
        GetText(vendor.record, VEVc::BankGiro, text);
        PutText(r, Row::InvPayText, text);
    }
    PutRow(window, row, r);
}

void RowCellChanged(int window, int F, uint8_t changed)
{
    int row = 0, column = 0;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size];
    if (!changed || !ReadRow(window, row, r)) return;
    if (GetU16(r, Row::Kind) == 0) {
        PutU16(r, Row::Kind, uint16_t(PaidRowKind::Paid));
        PutRow(window, row, r);
    }
    const PaidRowKind kind = KindOf(r);
    if (kind != PaidRowKind::Paid && kind != PaidRowKind::Discount) return;
    switch (column) {
    case ColInvoice: InvoicePaymentFill(window, row, r); return;
    case ColVendor: VendorFill(window, row, r); return;
    case ColAmount: OutPaymentTotalsRefresh(window); return;
    default: return;
    }
}

void HeaderFieldChanged(int window, int id, uint8_t changed)
{
    uint8_t *payment = WinRecordBuffer(window);
    switch (id) {
    case OPVc::Rate:
        if (changed) OutPaymentTotalsRefresh(window);
        return;
    case OPVc::PayDate: {
        DateRec date = GetDate(payment, OPVc::PayDate);
        if (date.year == 0) {
            PutDate(payment, OPVc::PayDate, GetDate(payment, OPVc::RateDate));
            WinRedrawFieldById(window, int(OPVc::PayDate));
            OutPaymentRateRefresh(window, payment);
            return;
        }
        if (IsDateLockedSecondary(&date, OPVc::Number)) ShowTextMessage(Texts::DateLockedSecondary);
        if (changed) OutPaymentRateRefresh(window, payment);
        return;
    }
    case OPVc::PayMode:
        if (!changed) return;
        ApplyPaymentMode(payment);
        WinRedrawFieldById(window, int(OPVc::PayText));
        return;
    case OPVc::CurncyCode:
        if (changed) OutPaymentRateRefresh(window, payment);
        return;
    case OPVc::HomeTotal:
        if (!changed) return;
        OutPaymentRateFromAmounts(payment);
        WinRedrawFieldById(window, int(OPVc::Rate));
        return;
    case OPVc::BankCharges:
        if (!changed) return;
        OutPaymentHomeAmount(window);
        WinRedrawFieldById(window, int(OPVc::HomeTotal));
        return;
    default: return;
    }
}

}  // namespace

uint8_t Win157Event(int window, int event, void *a, void *b)
{
    static constexpr PaymentWindowDesc desc = {OPVc::Approved, OPVc::Posted, OutPaymentFieldChanged,
                                               OutPaymentTotalsRefresh, Texts::PostedPaymentChange};
    return PaymentWindowEvent(desc, window, event, a, b);
}

void OutPaymentFieldChanged(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    FieldChangedSplit(window, field, changed, HeaderFieldChanged, RowCellChanged);
}

void OutPaymentTotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    OutPaymentTotals(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(OPVc::RowsTotal));
    WinRedrawFieldById(window, int(OPVc::HomeTotal));
}

void OutPaymentRateRefresh(int window, uint8_t *payment)
{
    RateIntoField(window, payment, OPVc::CurncyCode, OPVc::PayDate, OPVc::Rate);
    OutPaymentTotalsRefresh(window);
}

// Rows totalling nothing leave the rate: a division by zero would blank
// it, and a blank rate later counts as 100.
void PaymentRateFromAmounts(uint8_t *record, uint32_t homeAt, uint32_t chargesAt, uint32_t totalAt, uint32_t rateAt)
{
    PackedDecimal home = GetDec(record, homeAt), charges = GetDec(record, chargesAt), total = GetDec(record, totalAt),
                  net, hundred, rate;
    if (DecIsZero(&total)) return;
    DecSub(&home, &charges, &net);
    DecFromLong(&hundred, 100);
    DecMul(&net, &hundred, &net);
    DecDiv(&net, &total, &rate);
    DecRound(&rate, 2, &rate);
    PutDec(record, rateAt, rate);
}

void OutPaymentRateFromAmounts(uint8_t *payment)
{
    PaymentRateFromAmounts(payment, OPVc::HomeTotal, OPVc::BankCharges, OPVc::RowsTotal, OPVc::Rate);
}

void OutPaymentHomeAmount(int window)
{
    if (!WinIsOpen(window)) return;
    uint8_t *payment = WinRecordBuffer(window);
    PackedDecimal total = GetDec(payment, OPVc::RowsTotal), rate = GetDec(payment, OPVc::Rate),
                  charges = GetDec(payment, OPVc::BankCharges), home;
    AmountTimesRate(&total, &rate, &home);
    DecAdd(&home, &charges, &home);
    PutDec(payment, OPVc::HomeTotal, home);
}

void PaymentRowsPaidSum(const uint8_t *payment, uint32_t serial, PackedDecimal *result)
{
    DecSetBlank(result);
    int count = MatrixRowCount(OPVc::Number, 0, payment);
    for (int i = 0; i < count; i++) {
        uint8_t r[Row::Size];
        if (!MatrixRowRead(OPVc::Number, payment, i, r)) break;
        const PaidRowKind kind = PaidRowKind(GetU16(r, Row::Kind));
        if ((kind != PaidRowKind::Paid && kind != PaidRowKind::Discount && kind != PaidRowKind::Fee) ||
            GetU16(r, Row::Flag) != 0 ||
            GetU32(r, Row::InvoiceNr) != serial)
            continue;
        PackedDecimal amount = GetDec(r, Row::Amount);
        DecAdd(result, &amount, result);
    }
}

void PaymentRowFromInvoice(uint32_t serial, int window, int row)
{
    uint8_t r[Row::Size];
    if (!WinIsOpen(window) || !ReadRow(window, row, r)) return;
    PutU32(r, Row::InvoiceNr, serial);
    RuleRecord invoice(VIVc::Number), item(APVc::Number);
    if (PurchaseInvoiceRead(serial, invoice)) {
        uint8_t code[256];
        GetText(invoice.record, VIVc::VendCode, code);
        PutText(r, Row::VendCode, code);
        PaymentRowPayeeFill(WinRecordBuffer(window), invoice.record, r);
    } else {
        Beep();
    }
    uint32_t recid = 0;
    if (VendorOpenItemRead(serial, item, &recid)) {
        PackedDecimal open = GetDec(item.record, APVc::OpenAmount), paid;
        PaymentRowsPaidSum(WinRecordBuffer(window), serial, &paid);
        DecSub(&open, &paid, &open);
        PutDec(r, Row::Amount, open);
    }
    PutRow(window, row, r);
}
