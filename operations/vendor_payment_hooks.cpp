// vendor_payment_hooks.cpp - what storing, changing and deleting an
// outgoing payment does to the open items (register 29) and the vendors'
// period balances, its vendor-ledger entries (made once it is posted, by
// approve kind 24 after the store), approve kinds 3, 4 and 24, and the
// rules' entry of register 30.
//
// The open items follow the counted rows of the payment as stored: an
// insert takes the new rows off, a delete puts the old rows back (making
// an open item again from its invoice when it was closed), and an update
// moves only the difference, each at the date of the payment that held
// it, so a changed date moves the effect on the period balances between
// months while the open items change only by the difference of amounts.
// Each open item is thus reduced once by each stored row.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/purchase_ledger.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/print_services.h"
#include "rules/register_hooks_entries.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

namespace OP = OPVc;
namespace Row = OPVc::Rows;

bool Flag(const uint8_t *payment, uint32_t at) { return GetU16(payment, at) == 1; }

// Adds the counted rows of payment, negated when negate, to list.
bool CollectRows(std::vector<uint8_t> &list, const uint8_t *payment, bool negate) {
    DateRec date = GetDate(payment, OP::PayDate);
    uint8_t row[Row::Size], vendor[256];
    int32_t count = MatrixRowCount(OP::Number, 0, payment);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OP::Number, payment, i, row)) return false;
        if (!PaymentRowCounts(row)) continue;
        PackedDecimal amount = GetDec(row, Row::Amount);
        if (DecIsBlank(&amount)) continue;
        if (negate) DecNegateInto(&amount, &amount);
        GetText(row, Row::VendCode, vendor);
        PaymentRowsByInvoice(list, &date, GetU32(row, Row::InvoiceNr), &amount, vendor);
    }
    return true;
}

}  // namespace

// Adds amount under (date, serial) to list; see the header.
void PaymentRowsByInvoice(std::vector<uint8_t> &list, const DateRec *date, uint32_t serial,
                          const PackedDecimal *amount, const uint8_t *vendorCode) {
    assert(list.size() % PaymentEntrySize == 0);
    for (size_t at = 0; at < list.size(); at += PaymentEntrySize) {
        uint8_t *e = list.data() + at;
        DateRec d = GetDate(e, PaymentEntryDate);
        uint8_t vendor[256];
        GetPString(e, PaymentEntryVendor, 20, vendor);
        // Payments on account are kept apart by vendor.
        if (GetU32(e, PaymentEntrySerial) != serial || DateCompare(&d, date) != 0) continue;
        if (serial == SerialNone && !PStringEqual(vendor, vendorCode)) continue;
        PackedDecimal sum = GetDec(e, PaymentEntryAmount);
        DecAdd(&sum, amount, &sum);
        PutDec(e, PaymentEntryAmount, sum);
        return;
    }
    if (DecIsZero(amount)) return;
    list.resize(list.size() + PaymentEntrySize, 0);
    uint8_t *e = list.data() + list.size() - PaymentEntrySize;
    PutDate(e, PaymentEntryDate, *date);
    PutU32(e, PaymentEntrySerial, serial);
    PutDec(e, PaymentEntryAmount, *amount);
    PutPString(e, PaymentEntryVendor, 20, vendorCode);
}

// Moves the open items and balances from old's rows to payment's. A row
// whose invoice is gone moves nothing: the checks refuse new such rows.
bool OpenItemsUpdate(const uint8_t *payment, const uint8_t *old) {
    std::vector<uint8_t> list;
    if (old && !CollectRows(list, old, true)) return PurchaseStoreFailed();
    if (payment && !CollectRows(list, payment, false)) return PurchaseStoreFailed();
    for (size_t at = 0; at < list.size(); at += PaymentEntrySize) {
        const uint8_t *e = list.data() + at;
        PackedDecimal sum = GetDec(e, PaymentEntryAmount);
        if (DecIsZero(&sum)) continue;
        uint32_t serial = GetU32(e, PaymentEntrySerial);
        if (serial != SerialNone) {
            RuleRecord invoice(VIVc::Number);
            if (!PurchaseInvoiceRead(serial, invoice)) continue;
        }
        uint8_t vendor[256];
        GetPString(e, PaymentEntryVendor, 20, vendor);
        DateRec date = GetDate(e, PaymentEntryDate);
        if (!VendorOpenItemReduce(serial, vendor, &date, &sum, 0)) return false;
    }
    return true;
}

// The pending voucher stored when it has rows.
bool StoreVoucherAfterPayment(uint8_t *payment, int store) {
    (void)payment;
    return !store || StorePendingAndClear();
}

// One entry per counted kind-1 row: its vendor, the payment's date and
// serial, the invoice it pays (all ones on account).
bool PaymentToVendorLedger(const uint8_t *payment) {
    assert(payment);
    uint8_t row[Row::Size], vendor[256];
    int32_t count = MatrixRowCount(OP::Number, 0, payment);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OP::Number, payment, i, row)) return PurchaseStoreFailed();
        if (!PaymentRowCounts(row) || PaidRowKind(GetU16(row, Row::Kind)) != PaidRowKind::Paid) continue;
        uint32_t serial = GetU32(row, Row::InvoiceNr);
        RuleRecord invoice(VIVc::Number);
        if (serial != SerialNone && !PurchaseInvoiceRead(serial, invoice)) continue;
        uint8_t entry[VLVc::Size] = {};
        GetText(row, Row::VendCode, vendor);
        PutText(entry, VLVc::VendCode, vendor);
        PutDate(entry, VLVc::Date, GetDate(payment, OP::PayDate));
        PutU16(entry, VLVc::Kind, uint16_t(LedgerEntryKind::Payment));
        PutU32(entry, VLVc::DocSerNr, GetU32(payment, OP::SerNr));
        PutU32(entry, VLVc::InvoiceNr, serial);
        uint32_t recid = 0;
        if (!RecStoreByKey(VLVc::Number, entry, 1, &recid)) return PurchaseStoreFailed();
    }
    return true;
}

// Kind 24: the payment's vendor-ledger entries, then the transferred flag.
ApproveResult ApprovePaymentToVendorLedger(int, uint8_t *payment, uint32_t) {
    assert(payment);
    if (!PaymentToVendorLedger(payment)) return ApproveResult::Failed;
    PutU16(payment, OP::Transferred, 1);
    return ApproveResult::Changed;
}

// Kind 3: the payment marked approved.
ApproveResult ApproveVendorPaymentMark(int, uint8_t *payment, uint32_t) {
    assert(payment);
    if (Flag(payment, OP::Approved)) return ApproveResult::Unchanged;
    PutU16(payment, OP::Approved, 1);
    StatusMarkOutPayment(payment);
    return ApproveResult::Changed;
}

// Kind 4: an approved payment not posted yet gets its voucher, is marked
// posted and goes into the vendor ledger, as one posted in its window
// does. Unchanged (told) when its date lies in the sub-ledgers' lock or
// its voucher cannot be built.
ApproveResult ApproveVendorPaymentPost(int reg, uint8_t *payment, uint32_t recid) {
    assert(payment);
    if (!Flag(payment, OP::Approved) || Flag(payment, OP::Posted)) return ApproveResult::Unchanged;
    if (PostingDateLocked(OP::Number, payment, OP::PayDate)) return ApproveResult::Unchanged;
    if (PostVendorPayment(payment, 0) == 0) {
        ShowTextMessage(Texts::VoucherNotBuilt);
        return ApproveResult::Unchanged;
    }
    if (!StoreVoucherAfterPayment(payment, 1)) return ApproveResult::Failed;
    PutU16(payment, OP::Posted, 1);
    StatusMarkOutPayment(payment);
    if (!Flag(payment, OP::Transferred) && ApprovePaymentToVendorLedger(reg, payment, recid) == ApproveResult::Failed)
        return ApproveResult::Failed;
    return ApproveResult::Changed;
}

// Kind 27: the payment is marked approved, its payment documents print,
// and it is marked printed only when every document printed (a cancelled
// or failed print, or no printing at all, leaves it to be printed again).
ApproveResult ApproveOutPayment(int reg, uint8_t *payment, uint32_t recid) {
    (void)recid;
    assert(payment && reg == OP::Number);
    PutU16(payment, OP::Approved, 1);
    if (PrintPaymentDocuments(payment) == 1) PutU16(payment, OP::Printed, 1);
    StatusMarkOutPayment(payment);
    return ApproveResult::Changed;
}

namespace {

// Kind 24 on the stored payment once it is posted, unless it is in the
// vendor ledger already: a payment reaches the ledger when it is posted,
// whichever way that happens (its window, the import).
int ToLedger(const uint8_t *payment, uint32_t recid) {
    if (!Flag(payment, OP::Posted) || GetU16(payment, OP::Transferred) != 0) return 1;
    return ApproveRecord(ApproveKindPaymentToLedger, OP::Number, recid) ? 1 : 0;
}

int BeforeInsert(int, uint8_t *payment) {
    PutU16(payment, OP::Transferred, 0);
    StatusMarkOutPayment(payment);
    if (!OpenItemsUpdate(payment, nullptr)) return 0;
    return !Flag(payment, OP::Posted) || StoreVoucherAfterPayment(payment, 1) ? 1 : 0;
}

int BeforeUpdate(int, uint8_t *payment, uint8_t *stored, uint32_t) {
    StatusMarkOutPayment(payment);
    if (!OpenItemsUpdate(payment, stored)) return 0;
    bool postingNow = Flag(payment, OP::Posted) && !Flag(stored, OP::Posted);
    return !postingNow || StoreVoucherAfterPayment(payment, 1) ? 1 : 0;
}

int AfterInsert(int, uint8_t *payment, uint32_t recid, int) { return ToLedger(payment, recid); }

int AfterUpdate(int, uint8_t *payment, uint8_t *stored, uint32_t recid) {
    if (Flag(stored, OP::Posted)) return 1;
    return ToLedger(payment, recid);
}

int BeforeDelete(int, uint8_t *stored) { return OpenItemsUpdate(nullptr, stored) ? 1 : 0; }

// The import's store: a payment not stored yet takes its rows off the
// open items; posted, it is approved too (its voucher comes with the
// import). One stored already is replaced as it is.
void BeforeStore(int, uint8_t *payment) {
    if (RecExists(OP::Number, payment)) return;
    PutU16(payment, OP::Transferred, 0);
    (void)OpenItemsUpdate(payment, nullptr);
    if (Flag(payment, OP::Posted)) PutU16(payment, OP::Approved, 1);
    StatusMarkOutPayment(payment);
}

void AfterStore(int, uint8_t *payment, uint32_t recid) { (void)ToLedger(payment, recid); }

// A new payment: numbered when stored, dated today, unapproved.
void NewDefaults(int, uint8_t *payment) {
    SetEntryUserCode();
    PutU32(payment, OP::SerNr, SerialNone);
    for (uint32_t at : {OP::TransDate, OP::PayDate, OP::RateDate}) PutDate(payment, at, TodayDate);
    for (uint32_t at : {OP::Approved, OP::ApprovedMark, OP::Posted, OP::PostedMark, OP::Transferred, OP::Sent})
        PutU16(payment, at, 0);
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {OP::RowsTotal, OP::Rate, OP::HomeTotal, OP::BankCharges}) PutDec(payment, at, blank);
}

}  // namespace

// Fills register 30's entry of table, whole.
void InstallVendorPaymentEntry(std::array<RegisterHooks, RegisterCount> &table) {
    table[OP::Number] = CheckedEntryWith({.beforeInsert = BeforeInsert, .afterInsert = AfterInsert,
        .beforeUpdate = BeforeUpdate, .afterUpdate = AfterUpdate, .beforeStore = BeforeStore,
        .afterStore = AfterStore, .beforeDelete = BeforeDelete, .newRecordDefaults = NewDefaults,
        .newRecordDefaultsOther = NewDefaults});
}
