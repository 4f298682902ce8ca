// receipt_checks.cpp - the checks a customer receipt passes before it is
// stored.
//
// Receipts come from the window, from imports, from bank files and from
// clients, so every counted row is checked on every insert and update: a
// paid invoice must exist, belong to the row's customer and be in the
// receipt's currency; a payment on account needs a customer who allows
// it, in the receipt's currency. The first fault refuses the receipt at
// its row and column. When the receipt becomes posted now its voucher is
// built here, so a receipt whose voucher cannot be made is refused before
// anything is stored.
//
// A receipt stored as posted has closed its open items and stored its
// voucher; an update may then change only what the program writes later
// (the list mark, the transferred flag), or the open items, the voucher
// and the ledger would no longer agree with it.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "operations/sales_invoice.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"

namespace {

namespace Row = IPVc::Rows;

// The bytes a posted receipt may still change: written by the program.
constexpr uint32_t PostedFree[][2] = {
    {IPVc::Mark, IPVc::Mark + 2},
    {IPVc::Transferred, IPVc::Transferred + 2},
    {IPVc::Matrix, IPVc::Matrix + 4},   // the rows' handle: rows are compared one by one
};

bool PostedFreeByte(uint32_t at) {
    for (const auto &r : PostedFree)
        if (at >= r[0] && at < r[1]) return true;
    return false;
}

// An update of a receipt stored as posted: 0 when only the free bytes
// changed, else refused on the serial field or the first changed row.
int PostedReceiptHeld(const uint8_t *receipt, const uint8_t *old) {
    for (uint32_t at = 0; at < IPVc::Size; at++)
        if (receipt[at] != old[at] && !PostedFreeByte(at))
            return FieldError(Texts::PostedReceiptChange, nullptr, IPVc::SerNr);
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt), before = MatrixRowCount(IPVc::Number, 0, old);
    if (count != before)
        return FieldErrorAt(Texts::PostedReceiptChange, nullptr, IPVc::Matrix,
                            (uint16_t)(count < before ? count : before), Row::InvoiceNr);
    uint8_t a[Row::Size], b[Row::Size];
    for (int32_t i = 0; i < count; i++) {
        bool read = MatrixRowRead(IPVc::Number, receipt, i, a) && MatrixRowRead(IPVc::Number, old, i, b);
        if (!read || std::memcmp(a, b, Row::Size) != 0)
            return FieldErrorAt(Texts::PostedReceiptChange, nullptr, IPVc::Matrix, (uint16_t)i, Row::InvoiceNr);
    }
    return 0;
}

// Steps 1 and 2: a receipt without a number gets the next free one from
// the series of its date; a new receipt's number must be free and lie in
// a valid series.
int SerialChecks(uint8_t *receipt, int mode) {
    DateRec date = GetDate(receipt, IPVc::TransDate);
    if (NeedsNumber(GetU32(receipt, IPVc::SerNr))) {
        int32_t hint = SeriesHint(SU::SeriesA + 16, SeriesDefaultsBlk::ReceiptHint);
        int32_t n = NextSerialNumber(IPVc::Number, &date, hint, 0);
        PutU32(receipt, IPVc::SerNr, n == NoFreeNumber ? SerialNone : (uint32_t)n);
    }
    if (mode != 1) return 0;
    uint32_t serial = GetU32(receipt, IPVc::SerNr);
    if (!NeedsNumber(serial) && RecExists(IPVc::Number, receipt))
        return FieldError(Texts::ReceiptSerialExists, nullptr, IPVc::SerNr);
    if (NeedsNumber(serial) || !SerialNumberValid(IPVc::Number, (int32_t)serial, &date))
        return FieldError(Texts::NumberOutsideSeries, nullptr, IPVc::SerNr);
    return 0;
}

// Step 5: a rate needs a currency, and the currency must be known.
int CurrencyChecks(const uint8_t *receipt) {
    uint8_t code[256];
    GetText(receipt, IPVc::CurncyCode, code);
    PackedDecimal rate = GetDec(receipt, IPVc::Rate);
    if (!RateFitsCurrency(code, &rate)) return FieldError(Texts::CurrencyUnknown, nullptr, IPVc::Rate);
    if (!IsCurrencyCode(code)) return FieldError(Texts::CurrencyUnknown, nullptr, IPVc::CurncyCode);
    return 0;
}

// Step 6 for one counted row (number i): 0, or the refusal at its cell.
// Discount and fee rows take the receipt's date as their payment date.
int RowCheck(const uint8_t *receipt, uint8_t *row, int32_t i) {
    auto refuse = [i](int text, uint32_t column) {
        return FieldErrorAt(text, nullptr, IPVc::Matrix, (uint16_t)i, (uint16_t)column);
    };
    uint8_t code[256], currency[256], other[256];
    GetText(row, Row::CustCode, code);
    GetText(receipt, IPVc::CurncyCode, currency);
    RuleRecord customer(CUVc::Number);
    if (!ReceiptCustomerRead(code, customer)) return refuse(Texts::CodeUnknown, Row::CustCode);
    const PaidRowKind kind = PaidRowKind(GetU16(row, Row::Kind));
    uint32_t serial = GetU32(row, Row::InvoiceNr);
    if (kind == PaidRowKind::Paid && serial == SerialNone) {
        if (GetU16(customer.record, CUVc::OnAccount) == 0) return refuse(Texts::OnAccountNotAllowed, Row::InvoiceNr);
        GetText(customer.record, CUVc::CurncyCode, other);
        if (!PStringEqual(other, currency)) return refuse(Texts::CurrencyDiffers, Row::CustCode);
    } else {
        RuleRecord invoice(IVVc::Number);
        if (!ReceiptInvoiceRead(serial, invoice)) return refuse(Texts::PaidInvoiceMissing, Row::InvoiceNr);
        GetText(invoice.record, IVVc::CurncyCode, other);
        if (!PStringEqual(other, currency)) return refuse(Texts::CurrencyDiffers, Row::InvoiceNr);
        GetText(invoice.record, IVVc::CustCode, other);
        if (!PStringEqual(other, code)) return refuse(Texts::OtherCustomerInvoice, Row::CustCode);
        DateRec paid = GetDate(row, Row::PayDate);
        if (kind == PaidRowKind::Paid && paid.year == 0) return refuse(Texts::ReceiptPayDateMissing, Row::PayDate);
    }
    if (kind != PaidRowKind::Paid) PutDate(row, Row::PayDate, GetDate(receipt, IPVc::TransDate));
    return 0;
}

// Steps 3 to 7 after the number.
int UnpostedChecks(uint8_t *receipt, const uint8_t *old, int mode) {
    if (int r = SerialChecks(receipt, mode)) return r;
    if (!CheckBeforeSave(IPVc::Number, receipt, IPVc::TransDate)) return -1;
    uint8_t code[256];
    GetText(receipt, IPVc::PayMode, code);
    if (code[0] == 0) return FieldError(Texts::ReceiptPayModeMissing, nullptr, IPVc::PayMode);
    if (int r = CurrencyChecks(receipt)) return r;
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, IPVc::Matrix, (uint16_t)i, Row::Kind);
        if (!ReceiptRowCounts(row)) continue;
        if (int r = RowCheck(receipt, row, i)) return r;
        if (!MatrixRowPut(IPVc::Number, 0, receipt, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, IPVc::Matrix, (uint16_t)i, Row::Kind);
    }
    if (PendingVoucher) PendingVoucherClear();
    bool postingNow = GetU16(receipt, IPVc::Posted) == 1 && (mode == 1 || !old || GetU16(old, IPVc::Posted) == 0);
    if (!postingNow) return 0;
    if (!ReceiptPosting(receipt, 0)) return FieldError(Texts::VoucherNotBuilt, nullptr, IPVc::SerNr);
    return PendingVoucherStorable(IPVc::SerNr, IPVc::TransDate);
}

}  // namespace

// Checks a receipt before it is stored. One stored as posted may change
// only what the program writes; any other is checked in full and gets
// back its entry serial number when refused, so a number drawn for a
// refused receipt is not kept.
int ValidateReceipt(uint8_t *receipt, const uint8_t *old, int mode) {
    assert(receipt);
    if (old == receipt) old = nullptr;
    if (mode == 2 && old && GetU16(old, IPVc::Posted) == 1) return PostedReceiptHeld(receipt, old);
    uint32_t entry = GetU32(receipt, IPVc::SerNr);
    int r = UnpostedChecks(receipt, old, mode);
    if (r != 0) PutU32(receipt, IPVc::SerNr, entry);
    return r;
}
