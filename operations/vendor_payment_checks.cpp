// vendor_payment_checks.cpp - the checks an outgoing payment passes
// before it is stored.
//
// Payments come from the window, from the payment suggestion, from
// imports and bank files and from clients, so every counted row is
// checked on every insert and update: a paid invoice must exist, be in
// the payment's currency and not be held; a payment on account needs a
// vendor who takes one, in the payment's currency; every row needs an
// amount. The first fault refuses the payment at its row and column and
// the payment keeps the serial it came with. When the payment becomes
// posted now its voucher is built here.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"

namespace {

namespace OP = OPVc;
namespace Row = OPVc::Rows;

// Steps 1 and 2: the number, posted only when approved, the date.
int HeadChecks(uint8_t *payment, const uint8_t *old, int mode) {
    DateRec date = GetDate(payment, OP::PayDate);
    int32_t hint = SeriesHint(SU::SeriesB + 8, SeriesDefaultsBlk::OutPayStart);
    if (int refused = CheckDocumentNumber(OP::Number, payment, old, mode, OP::SerNr, date, hint)) return refused;
    if (GetU16(payment, OP::Posted) == 1 && GetU16(payment, OP::Approved) != 1)
        return FieldError(Texts::PostedNotApproved, nullptr, OP::Posted);
    if (!CheckBeforeSave(OP::Number, payment, OP::PayDate)) return -1;
    uint8_t code[256];
    GetText(payment, OP::PayMode, code);
    if (code[0] == 0) return FieldError(Texts::PaymentModeMissing, nullptr, OP::PayMode);
    if (MatrixRowCount(OP::Number, 0, payment) < 1)
        return FieldErrorAt(Texts::VoucherNoRows, nullptr, OP::Matrix, 0, Row::InvoiceNr);
    GetText(payment, OP::CurncyCode, code);
    PackedDecimal rate = GetDec(payment, OP::Rate);
    if (!RateFitsCurrency(code, &rate)) return FieldError(Texts::CurrencyUnknown, nullptr, OP::Rate);
    if (!IsCurrencyCode(code)) return FieldError(Texts::CurrencyUnknown, nullptr, OP::CurncyCode);
    return 0;
}

// Step 4 for one counted row.
int RowCheck(const uint8_t *payment, const uint8_t *row, uint16_t i) {
    auto refuse = [i](int text, uint32_t column) {
        return FieldErrorAt(text, nullptr, OP::Matrix, i, (uint16_t)column);
    };
    uint8_t code[256], currency[256], other[256];
    GetText(payment, OP::CurncyCode, currency);
    uint32_t serial = GetU32(row, Row::InvoiceNr);
    if (PaidRowKind(GetU16(row, Row::Kind)) == PaidRowKind::Paid && serial == SerialNone) {
        GetText(row, Row::VendCode, code);
        RuleRecord vendor(VEVc::Number);
        if (!VendorRead(code, vendor)) return refuse(Texts::CodeUnknown, Row::VendCode);
        if (GetU16(vendor.record, VEVc::OnAccount) == 0) return refuse(Texts::VendorNoOnAccount, Row::InvoiceNr);
        GetText(vendor.record, VEVc::CurncyCode, other);
        if (!PStringEqual(other, currency)) return refuse(Texts::CurrencyDiffers, Row::VendCode);
    } else {
        RuleRecord invoice(VIVc::Number);
        if (!PurchaseInvoiceRead(serial, invoice)) return refuse(Texts::PurchaseInvoiceMissing, Row::InvoiceNr);
        GetText(invoice.record, VIVc::CurncyCode, other);
        if (!PStringEqual(other, currency)) return refuse(Texts::CurrencyDiffers, Row::InvoiceNr);
        if (GetU16(invoice.record, VIVc::Held) != 0) return refuse(Texts::PurchaseInvoiceHeld, Row::InvoiceNr);
    }
    PackedDecimal amount = GetDec(row, Row::Amount);
    if (DecIsBlank(&amount)) return refuse(Texts::PaymentAmountMissing, Row::Amount);
    return 0;
}

int OpenChecks(uint8_t *payment, const uint8_t *old, int mode) {
    if (int r = HeadChecks(payment, old, mode)) return r;
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(OP::Number, 0, payment);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OP::Number, payment, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, OP::Matrix, (uint16_t)i, Row::Kind);
        if (!PaymentRowCounts(row)) continue;
        if (int r = RowCheck(payment, row, (uint16_t)i)) return r;
    }
    if (PendingVoucher) PendingVoucherClear();
    bool postingNow = GetU16(payment, OP::Posted) == 1 && (mode == 1 || !old || GetU16(old, OP::Posted) == 0);
    if (!postingNow) return 0;
    ServerRequestState.pendingText = NoPendingText;
    ServerRequestState.pendingExtra[0] = 0;
    if (PostVendorPayment(payment, 0) != 0) return PendingVoucherStorable(OP::SerNr, OP::PayDate);
    if (ServerRequestState.pendingText != NoPendingText) {
        uint8_t text[256];
        GetUiText(text, ServerRequestState.pendingText);
        return FieldError(Texts::VoucherNotBuiltBecause, text, OP::SerNr);
    }
    return FieldError(Texts::VoucherNotBuilt, nullptr, OP::SerNr);
}

}  // namespace

// True for a row of kind 1 or 5 whose flag word is 0.
bool PaymentRowCounts(const uint8_t *row) {
    assert(row);
    const PaidRowKind kind = PaidRowKind(GetU16(row, Row::Kind));
    return (kind == PaidRowKind::Paid || kind == PaidRowKind::Discount) && GetU16(row, Row::Flag) == 0;
}

// Checks a payment before it is stored; see the file comment.
int ValidateVendorPayment(uint8_t *payment, const uint8_t *old, int mode) {
    assert(payment);
    if (old == payment) old = nullptr;
    uint32_t entry = GetU32(payment, OP::SerNr);
    int r = OpenChecks(payment, old, mode);
    if (r != 0) {
        PutU32(payment, OP::SerNr, entry);
        if (PendingVoucher) PendingVoucherClear();
    }
    return r;
}
