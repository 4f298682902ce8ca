// receipt_hooks.cpp - the rules' entry of register 10, the customer
// receipts: the check, the posting steps around insert, update and the
// import's store, the delete check, a new receipt's defaults, and the
// customer-ledger kind after a receipt becomes posted.
//
// Posting happens in the hooks, inside the hold that stores the receipt:
// the check built the voucher when the receipt becomes posted, the
// before-hooks reduce the open items and store the voucher, and the
// after-hooks run approve kind 23 on the stored receipt.
#include <cassert>

#include "core/field_access.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "operations/operations.h"
#include "rules/approval.h"
#include "rules/checks.h"
#include "rules/hooks.h"
#include "rules/register_hooks_entries.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

bool Posted(const uint8_t *receipt) { return GetU16(receipt, IPVc::Posted) == 1; }

// Kind 23 on the stored receipt unless it is in the ledger already.
int ToLedger(const uint8_t *receipt, uint32_t recid) {
    if (!Posted(receipt) || GetU16(receipt, IPVc::Transferred) != 0) return 1;
    return ApproveRecord(ApproveKindReceiptToLedger, IPVc::Number, recid) ? 1 : 0;
}

// Before an insert: a receipt stored posted applies its open items and
// stores its voucher.
int BeforeInsert(int, uint8_t *receipt) {
    PutU16(receipt, IPVc::Transferred, 0);
    PutDate(receipt, IPVc::RegDate, TodayDate);
    StatusMarkPayment(receipt);
    if (!Posted(receipt)) return 1;
    return ReceiptSaveSteps(receipt) ? 1 : 0;
}

int AfterInsert(int, uint8_t *receipt, uint32_t recid, int) { return ToLedger(receipt, recid); }

// Before an update: the posting when the receipt becomes posted now.
int BeforeUpdate(int, uint8_t *receipt, uint8_t *stored, uint32_t) {
    StatusMarkPayment(receipt);
    if (!Posted(receipt) || Posted(stored)) return 1;
    PutU16(receipt, IPVc::Transferred, 0);
    return ReceiptSaveSteps(receipt) ? 1 : 0;
}

int AfterUpdate(int, uint8_t *receipt, uint8_t *stored, uint32_t recid) {
    if (Posted(stored)) return 1;
    return ToLedger(receipt, recid);
}

// The import's store: a receipt not stored yet, posted, applies its open
// items (its voucher comes with the import); one stored already is
// replaced as it is, so its rows are not applied twice.
void BeforeStore(int, uint8_t *receipt) {
    if (RecExists(IPVc::Number, receipt)) return;
    PutU16(receipt, IPVc::Transferred, 0);
    StatusMarkPayment(receipt);
    if (Posted(receipt)) (void)ReceiptOpenItems(receipt);
}

void AfterStore(int, uint8_t *receipt, uint32_t recid) { (void)ToLedger(receipt, recid); }

// A new receipt, or one copied as new: dated today, numbered when it is
// made stand-alone (a server numbers it when it is stored), unposted.
void NewDefaultsOther(int, uint8_t *receipt) {
    SetEntryUserCode();
    PutDate(receipt, IPVc::TransDate, TodayDate);
    PutDate(receipt, IPVc::RegDate, TodayDate);
    uint32_t serial = SerialNone;
    if (RunMode == 0) {
        int32_t n = NextSerialNumber(IPVc::Number, &TodayDate, -1, 0);
        if (n != NoFreeNumber) serial = (uint32_t)n;
    }
    PutU32(receipt, IPVc::SerNr, serial);
    for (uint32_t at : {IPVc::Posted, IPVc::Mark, IPVc::Transferred}) PutU16(receipt, at, 0);
}

// A new receipt also has no currency rate and blank amounts.
void NewDefaults(int reg, uint8_t *receipt) {
    NewDefaultsOther(reg, receipt);
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {IPVc::AmountRec, IPVc::Rate, IPVc::FurtherAmount, IPVc::Total}) PutDec(receipt, at, blank);
}

}  // namespace

// Fills register 10's entry of table, whole.
void InstallReceiptEntry(std::array<RegisterHooks, RegisterCount> &table) {
    table[IPVc::Number] = CheckedEntryWith({.beforeInsert = BeforeInsert, .afterInsert = AfterInsert,
        .beforeUpdate = BeforeUpdate, .afterUpdate = AfterUpdate, .beforeStore = BeforeStore,
        .afterStore = AfterStore, .newRecordDefaults = NewDefaults, .newRecordDefaultsOther = NewDefaultsOther});
}
