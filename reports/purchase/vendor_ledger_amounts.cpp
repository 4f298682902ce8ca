// vendor_ledger_amounts.cpp - the amounts the vendor ageing report
// rebuilds from the vendor ledger (register 32): what was open of a
// purchase invoice on a date, what a payment paid on an invoice, and a
// vendor's payments on account.
//
// A ledger entry belongs to an invoice (its InvoiceNr): the invoice's own
// entry, a credit note's entry under the invoice it credits, and one per
// payment that paid on it. A payment on account has an entry of kind 1
// whose InvoiceNr is all bits set.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/vendor_reports.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

constexpr int32_t NoInvoice = -1;

// The invoice and amount InvoiceOpenAtDate brings to its date.
struct OpenAtDate {
    int32_t serial;
    PackedDecimal *amount;
};

void LowerByEntry(const uint8_t *entry, void *context) {
    OpenAtDate *open = static_cast<OpenAtDate *>(context);
    const LedgerEntryKind kind = LedgerEntryKind(GetU16(entry, VLVc::Kind));
    const int32_t doc = GetI32(entry, VLVc::DocSerNr);
    if (kind == LedgerEntryKind::Invoice && doc != open->serial) {
        RuleRecord other(VIVc::Number);
        if (!PurchaseInvoiceRead((uint32_t)doc, other)) return;
        const PackedDecimal total = GetDec(other.record, VIVc::InvAmount);
        if (InvoiceKind(GetU16(other.record, VIVc::InvType)) == InvoiceKind::CreditNote)
            DecSub(open->amount, &total, open->amount);
        else DecAdd(open->amount, &total, open->amount);
    } else if (kind == LedgerEntryKind::Payment) {
        PackedDecimal paid;
        PaymentRowsForInvoice(entry, &paid);
        DecSub(open->amount, &paid, open->amount);
    }
}

}  // namespace

void VendorEntriesOfInvoice(int32_t serial, const DateRec *upTo, void (*each)(const uint8_t *entry, void *context),
                            void *context) {
    assert(each);
    RuleRecord entry(VLVc::Number);
    if (!entry.record) return;
    PutI32(entry.record, VLVc::InvoiceNr, serial);
    IndexWalkAll(VLVc::Number, "VIKey", entry.record, 1, [&](const uint8_t *e) {
        if (GetI32(e, VLVc::InvoiceNr) != serial) return false;
        const DateRec on = GetDate(e, VLVc::Date);
        if (!upTo || DateCompare(&on, upTo) <= 0) each(e, context);
        return true;
    });
}

void InvoiceOpenAtDate(int32_t serial, const DateRec *date, PackedDecimal *amount) {
    assert(date && amount);
    if (DecIsBlank(amount)) DecSetZero(amount);
    OpenAtDate open{serial, amount};
    VendorEntriesOfInvoice(serial, date, LowerByEntry, &open);
}

void VendorOnAccount(const uint8_t *vendorCode, const DateRec *asOf, PackedDecimal *home, PackedDecimal *currency) {
    assert(vendorCode && home && currency);
    DecSetZero(home);
    DecSetZero(currency);
    RuleRecord entry(VLVc::Number);
    if (!entry.record) return;
    PutText(entry.record, VLVc::VendCode, vendorCode);
    PutU16(entry.record, VLVc::Kind, uint16_t(LedgerEntryKind::Payment));
    PutI32(entry.record, VLVc::InvoiceNr, NoInvoice);
    PString code;
    IndexWalkAll(VLVc::Number, "OnAcc", entry.record, 3, [&](const uint8_t *e) {
        GetText(e, VLVc::VendCode, code);
        if (!PStringEqual(code, vendorCode) || LedgerEntryKind(GetU16(e, VLVc::Kind)) != LedgerEntryKind::Payment ||
            GetI32(e, VLVc::InvoiceNr) != NoInvoice)
            return false;
        RuleRecord payment(OPVc::Number);
        if (!OutPaymentRead(GetI32(e, VLVc::DocSerNr), payment)) return true;
        // A payment made on the report date counts, as a payment on an
        // invoice made that day lowers the invoice.
        const DateRec paid = GetDate(payment.record, OPVc::PayDate);
        if (asOf && DateCompare(&paid, asOf) > 0) return true;
        const PackedDecimal rate = GetDec(payment.record, OPVc::Rate);
        uint8_t row[OPVc::Rows::Size];
        const int32_t rows = MatrixRowCount(OPVc::Number, 0, payment.record);
        for (int32_t i = 0; i < rows; i++) {
            if (!MatrixRowRead(OPVc::Number, payment.record, i, row)) break;
            if (!PaymentRowCounts(row) || GetI32(row, OPVc::Rows::InvoiceNr) != NoInvoice) continue;
            GetText(row, OPVc::Rows::VendCode, code);
            if (!PStringEqual(code, vendorCode)) continue;
            const PackedDecimal amount = GetDec(row, OPVc::Rows::Amount);
            if (DecIsBlank(&amount)) continue;
            PackedDecimal atRate;
            AmountTimesRate(&amount, &rate, &atRate);
            DecSub(currency, &amount, currency);
            DecSub(home, &atRate, home);
        }
        return true;
    });
}
