// receipt_open_items.cpp - what posting a customer receipt changes: the
// open items (register 13) of the invoices it pays, the voucher it
// stores, and approve kind 2, which posts a stored receipt.
//
// Only the counted rows (kind 1, 5 or 6 with flag 0) reduce open items:
// they are the rows the checks saw and the voucher posted, so the open
// items, the receivable in the ledger and the statistics count the same
// money. A store that fails is told to the user and fails the caller's
// hold, so the receipt that asked for it is not stored either.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

// Tells the user a record could not be stored and fails the open hold.
bool StoreFailedTold() {
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
    return false;
}

}  // namespace

// Adds amount to the open item of serial (made from the invoice, dated
// today, when missing), and amount x rate to its home amount. The open
// item goes when nothing is left open.
bool CustomerOpenItemReduce(uint32_t serial, const PackedDecimal *amount, const PackedDecimal *rate) {
    assert(amount && rate);
    if (DecIsZero(amount)) return true;
    RuleRecord item(ARVc::Number);
    if (!item.record) return StoreFailedTold();
    uint32_t recid = 0;
    bool existed = ReceiptOpenItemRead(serial, item, &recid);
    if (!existed) {
        RuleRecord invoice(IVVc::Number);
        if (!ReceiptInvoiceRead(serial, invoice)) return true;
        OpenItemFromInvoice(item.record, invoice.record, serial);
        PutDate(item.record, ARVc::DueDate, TodayDate);
    }
    PackedDecimal open = GetDec(item.record, ARVc::OpenAmount), home = GetDec(item.record, ARVc::HomeAmount), converted;
    if (DecIsBlank(&open)) DecSetZero(&open);
    if (DecIsBlank(&home)) DecSetZero(&home);
    DecAdd(&open, amount, &open);
    AmountTimesRate(amount, rate, &converted);
    DecAdd(&home, &converted, &home);
    PutDec(item.record, ARVc::OpenAmount, open);
    PutDec(item.record, ARVc::HomeAmount, home);
    if (DecIsZero(&open)) {
        if (existed && !RecDeleteHooked(ARVc::Number, item.record, recid)) return StoreFailedTold();
        return true;
    }
    if (!RecStore(ARVc::Number, item.record, existed ? 1 : 0, &recid)) return StoreFailedTold();
    return true;
}

// Each counted row naming an invoice takes its amount off that invoice's
// open item at the receipt's rate.
bool ReceiptOpenItems(const uint8_t *receipt) {
    assert(receipt);
    PackedDecimal rate = ReceiptRate(receipt);
    uint8_t row[IPVc::Rows::Size];
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row)) return StoreFailedTold();
        uint32_t serial = GetU32(row, IPVc::Rows::InvoiceNr);
        if (!ReceiptRowCounts(row) || serial == SerialNone) continue;
        PackedDecimal amount = GetDec(row, IPVc::Rows::Amount), paid;
        DecNegateInto(&amount, &paid);
        if (!CustomerOpenItemReduce(serial, &paid, &rate)) return false;
    }
    return true;
}

// The open items, then the pending voucher the checks built.
bool ReceiptSaveSteps(uint8_t *receipt) {
    assert(receipt);
    if (!ReceiptOpenItems(receipt)) return false;
    if (PendingVoucher && MatrixRowCount(Voucher::Number, 0, PendingVoucher) > 0 && !StorePendingVoucher())
        return StoreFailedTold();
    return true;
}

// Approve kind 2: a receipt not posted yet is checked as it would be when
// stored posted (its rows against today's invoices, its voucher built);
// refused, the user is told why and nothing changes. Then it is posted,
// its open items and voucher written, it is entered in the customer
// ledger and its list mark renewed.
ApproveResult ApproveReceipt(int reg, uint8_t *receipt, uint32_t recid) {
    assert(receipt);
    if (GetU16(receipt, IPVc::Posted) == 1) return ApproveResult::Unchanged;
    PutU16(receipt, IPVc::Posted, 1);
    if (ValidateReceipt(receipt, nullptr, 2) != 0) {
        PutU16(receipt, IPVc::Posted, 0);
        if (PendingVoucher) PendingVoucherClear();
        return ApproveResult::Unchanged;
    }
    PutU16(receipt, IPVc::Transferred, 0);
    if (!ReceiptSaveSteps(receipt)) return ApproveResult::Failed;
    if (ApproveReceiptToCustomerLedger(reg, receipt, recid) == ApproveResult::Failed) return ApproveResult::Failed;
    StatusMarkPayment(receipt);
    return ApproveResult::Changed;
}
