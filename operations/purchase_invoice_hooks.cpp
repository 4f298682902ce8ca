// purchase_invoice_hooks.cpp - the rules' entry of register 28, the
// purchase invoices, and approve kinds 5 (approve and post) and 19 (to
// the vendor ledger).
//
// The check built the voucher when the invoice becomes preliminary or
// approved; the before-hooks, inside the hold that stores the invoice,
// store it, keep the open item and enter the vendor ledger. The import's
// store books the open item and the vendor ledger of an approved invoice
// not stored yet (its voucher comes with the import). An approved invoice
// whose due or discount date changed carries the dates to its open item.
#include <cassert>

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
#include "rules/hooks.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/register_hooks_entries.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

namespace PI = VIVc;

bool Flag(const uint8_t *invoice, uint32_t at) { return GetU16(invoice, at) == 1; }

// What approving an invoice books, whichever way it is approved (the
// window's save of an approved invoice, approve kind 5): its open item,
// voucher and cost budgets, its list mark, then the vendor ledger and the
// vendor's statistics, so that no road leaves the ledger behind. false
// when a store failed.
bool ApprovedInvoiceSteps(uint8_t *invoice) {
    if (!PurchaseInvoiceSaveSteps(invoice, 1)) return false;
    StatusMarkPurchaseInvoice(invoice);
    return PurchaseInvoiceToVendorLedger(invoice) >= 0;
}

int BeforeInsert(int, uint8_t *invoice) {
    PutU16(invoice, PI::Transferred, 0);
    StatusMarkPurchaseInvoice(invoice);
    if (Flag(invoice, PI::Preliminary) && !Flag(invoice, PI::Approved)) return StorePendingAndClear() ? 1 : 0;
    if (Flag(invoice, PI::Approved)) return ApprovedInvoiceSteps(invoice) ? 1 : 0;
    return 1;
}

int BeforeUpdate(int, uint8_t *invoice, uint8_t *stored, uint32_t) {
    StatusMarkPurchaseInvoice(invoice);
    if (Flag(invoice, PI::Approved) && !Flag(stored, PI::Approved)) return ApprovedInvoiceSteps(invoice) ? 1 : 0;
    if (Flag(invoice, PI::Preliminary) && !Flag(stored, PI::Preliminary)) return StorePendingAndClear() ? 1 : 0;
    if (Flag(invoice, PI::Approved)) {
        DateRec due = GetDate(invoice, PI::DueDate), wasDue = GetDate(stored, PI::DueDate);
        DateRec disc = GetDate(invoice, PI::DiscDate), wasDisc = GetDate(stored, PI::DiscDate);
        if (DateCompare(&due, &wasDue) != 0 || DateCompare(&disc, &wasDisc) != 0)
            return OpenItemDatesFromInvoice(invoice) ? 1 : 0;
    }
    return 1;
}

// The import's store: an invoice not stored yet, approved, books its
// open item and enters the vendor ledger and the vendor's period balance
// by the transfer its approval runs (its voucher comes with the import;
// the ledger and balances are not in the file), so a restored company
// holds the ledger the exported one held. One stored already is replaced
// as it is.
void BeforeStore(int, uint8_t *invoice) {
    if (RecExists(PI::Number, invoice)) return;
    PutU16(invoice, PI::Transferred, 0);
    StatusMarkPurchaseInvoice(invoice);
    if (Flag(invoice, PI::Approved) && PurchaseInvoiceSaveSteps(invoice, 0))
        (void)PurchaseInvoiceToVendorLedger(invoice);
}

// A new invoice: numbered when stored, dated today, not approved, on the
// first creditor account of block 155, amounts blank.
void NewDefaults(int, uint8_t *invoice) {
    SetEntryUserCode();
    PutU32(invoice, PI::SerNr, SerialNone);
    PutU32(invoice, PI::CredInv, SerialNone);
    for (uint32_t at : {PI::InvDate, PI::TransDate, PI::DueDate}) PutDate(invoice, at, TodayDate);
    for (uint32_t at : {PI::Approved, PI::Transferred, PI::Preliminary, PI::Mark}) PutU16(invoice, at, 0);
    PutU16(invoice, PI::InvType, uint16_t(InvoiceKind::Ordinary));
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {PI::InvAmount, PI::VatEntered, PI::Rate, PI::VatComputed}) PutDec(invoice, at, blank);
    uint8_t account[256] = {0};
    if (const uint8_t *accounts = SettingsRecord(PurchAccountsBlk::Number, VendorAccountsBlock))
        GetText(accounts, PurchAccountsBlk::CreditorAcc, account);
    PutText(invoice, PI::CredAcc, account);
}

}  // namespace

// Kind 5: an invoice not approved yet is approved when its date lies
// outside the sub-ledgers' lock, an approver is named where block 153
// asks for one and its voucher can be built; then its open item, voucher
// and cost budgets, its list mark and the vendor ledger follow.
ApproveResult ApprovePurchaseInvoice(int, uint8_t *invoice, uint32_t) {
    assert(invoice);
    if (Flag(invoice, PI::Approved)) return ApproveResult::Unchanged;
    if (PostingDateLocked(PI::Number, invoice, PI::TransDate)) return ApproveResult::Unchanged;   // told
    const uint8_t *entry = SettingsRecord(PurchInvEntryBlk::Number, Block153);
    uint8_t approver[256];
    GetText(invoice, PI::Approver, approver);
    if (entry && GetU16(entry, PurchInvEntryBlk::ApproverRequired) != 0 && approver[0] == 0) {
        ShowTextMessage(Texts::PurchInvNotApproved);
        return ApproveResult::Unchanged;
    }
    if (PostPurchaseInvoice(invoice, 0, 0) == 0) {
        ShowTextMessage(Texts::VoucherNotBuilt);
        return ApproveResult::Unchanged;
    }
    PutU16(invoice, PI::Approved, 1);
    return ApprovedInvoiceSteps(invoice) ? ApproveResult::Changed : ApproveResult::Failed;
}

// Kind 19: the vendor ledger of an approved invoice, once.
ApproveResult ApprovePurchaseInvoiceToVendorLedger(int, uint8_t *invoice, uint32_t) {
    assert(invoice);
    int r = PurchaseInvoiceToVendorLedger(invoice);
    return r < 0 ? ApproveResult::Failed : r == 0 ? ApproveResult::Unchanged : ApproveResult::Changed;
}

// Fills register 28's entry of table, whole.
void InstallPurchaseInvoiceEntry(std::array<RegisterHooks, RegisterCount> &table) {
    table[PI::Number] = CheckedEntryWith({.beforeInsert = BeforeInsert, .beforeUpdate = BeforeUpdate,
        .beforeStore = BeforeStore, .newRecordDefaults = NewDefaults, .newRecordDefaultsOther = NewDefaults});
}
