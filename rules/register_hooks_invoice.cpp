// register_hooks_invoice.cpp - the rules' entry of register 5, the sales
// invoices: checks, the steps around insert, update, store and delete,
// and the new record's defaults.
//
// Posting happens in the hooks: an invoice inserted posted, or updated
// from unposted to posted, is posted by PostSalesInvoice (open item,
// stock, item history, voucher, customer ledger) inside the same hold as
// the invoice itself; afterwards the print-out runs as block 170 asks,
// and the customer-ledger kind for an imported invoice not entered yet.
#include "rules/invoice_kind.h"
#include "rules/register_hooks_entries.h"

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "operations/posting_follow_ups.h"
#include "operations/sales_invoice.h"
#include "rules/approval.h"
#include "rules/checks.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

namespace Inv = IVVc;

// True when the invoice's posted flag is set.
bool Posted(const uint8_t *invoice) { return GetU16(invoice, Inv::Posted) == 1; }

// The follow-ups of a posting, as every other road to a posted invoice
// runs them (the print-out only when allowed).
int KindsAfterPosting(uint32_t recid, bool printAllowed) { return InvoicePostedFollowUps(recid, printAllowed) ? 1 : 0; }

// The check before a store: the codes the invoice names, then its own
// checks (which may number and post it).
int Validate(int reg, uint8_t *invoice, uint8_t *stored, int mode) {
    if (int r = CheckDocumentCodes(reg, invoice, stored, mode)) return r;
    return ValidateInvoice(invoice, stored, mode);
}

// Before an insert: the insert steps and the project totals.
int BeforeInsert(int, uint8_t *invoice) {
    InvoiceInsertSteps(invoice);
    UpdateProjectTotals(invoice, nullptr);
    return 1;
}

// After an insert of a posted invoice: the kinds (the print-out only on
// a save).
int AfterInsert(int, uint8_t *invoice, uint32_t recid, int saveFlag) {
    if (!Posted(invoice)) return 1;
    return KindsAfterPosting(recid, saveFlag == 1);
}

// After an import store: the after-insert steps with no print-out.
void AfterStore(int reg, uint8_t *invoice, uint32_t recid) { AfterInsert(reg, invoice, recid, 0); }

// A changed due date of a posted invoice moves to its open item.
void OpenItemDueDate(const uint8_t *invoice) {
    RuleRecord item(ARVc::Number);
    if (!item.record) return;
    PutU32(item.record, ARVc::InvoiceNr, GetU32(invoice, Inv::SerNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(ARVc::Number, item.record, 1, 1, &recid, &position)) return;
    PutDate(item.record, ARVc::DueDate, GetDate(invoice, Inv::PayDate));
    if (!RecStore(ARVc::Number, item.record, 1, &recid)) DbHoldFail();
}

// Before an update: the posting when the invoice becomes posted, the
// order's down payments, the due date to the open item, the project
// totals and the list mark.
int BeforeUpdate(int, uint8_t *invoice, uint8_t *stored, uint32_t) {
    if (!Posted(stored) && Posted(invoice) && !PostSalesInvoice(invoice)) return 0;
    if (GetU32(invoice, Inv::OrderNr) != SerialNone) UpdateOrderFromInvoice(invoice, stored);
    DateRec a = GetDate(invoice, Inv::PayDate), b = GetDate(stored, Inv::PayDate);
    if (Posted(stored) && Posted(invoice) && DateCompare(&a, &b) != 0) OpenItemDueDate(invoice);
    UpdateProjectTotals(invoice, stored);
    StatusMarkInvoice(invoice);
    return 1;
}

// After an update that posted the invoice: the kinds.
int AfterUpdate(int, uint8_t *invoice, uint8_t *stored, uint32_t recid) {
    if (Posted(stored) || !Posted(invoice)) return 1;
    return KindsAfterPosting(recid, true);
}

// The import store of an invoice not stored yet: what it names is made,
// a posted one re-applies its open item and stock and writes its
// history, then the project totals and the list mark.
void BeforeStore(int, uint8_t *invoice) {
    if (RecExists(Inv::Number, invoice)) return;
    InvoiceRowKindsSettle(invoice);
    CreateMissingCustomer(invoice);
    CreateMissingItems(invoice);
    CreateMissingUser(invoice);
    if (Posted(invoice)) {
        InvoicePosting(invoice, 0);
        StockHistoryFromInvoice(invoice);
    }
    UpdateProjectTotals(invoice, nullptr);
    StatusMarkInvoice(invoice);
}

// Before a delete: the order's down payments and the project totals
// taken back.
int BeforeDelete(int, uint8_t *invoice) {
    if (GetU32(invoice, Inv::OrderNr) != SerialNone) UpdateOrderFromInvoice(nullptr, invoice);
    UpdateProjectTotals(nullptr, invoice);
    return 1;
}

// Blank amounts of a new invoice: the freight's and the totals.
void BlankAmounts(uint8_t *invoice) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {Inv::Freight, Inv::FreightHome, Inv::FreightPctAmt, Inv::FreightPct, Inv::RoundOff, Inv::Net,
                        Inv::VatFreeNet, Inv::Vat, Inv::Total, Inv::TotalBeforeRound, Inv::Rate})
        PutDec(invoice, at, blank);
}

// The serial of a new invoice: drawn stand-alone (run mode 0) from the
// series on date, else none (numbered when it is inserted).
uint32_t NewSerial(const DateRec *date) {
    if (RunMode != 0) return SerialNone;
    int32_t n = NextSerialNumber(Inv::Number, date, -1, 0);
    return n == NoFreeNumber ? SerialNone : (uint32_t)n;
}

// A new invoice: its number, today's dates, no links, unposted, stock
// and VAT handling as block 133 says, amounts blank.
void NewDefaults(int, uint8_t *invoice) {
    SetEntryUserCode();
    PutDate(invoice, Inv::InvDate, TodayDate);
    PutDate(invoice, Inv::TransDate, TodayDate);
    PutU32(invoice, Inv::SerNr, NewSerial(&TodayDate));
    for (uint32_t at : {Inv::OrderNr, Inv::CredInv, Inv::CashDiscDays}) PutU32(invoice, at, SerialNone);
    for (uint32_t at : {Inv::Posted, Inv::Printed, Inv::Transferred, Inv::Mark}) PutU16(invoice, at, 0);
    PutU16(invoice, Inv::InvType, uint16_t(InvoiceKind::Ordinary));
    if (const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock)) {
        PutU16(invoice, Inv::InclVat, GetU16(block, SalesAccountsBlk::PricesInclVat));
        PutU16(invoice, Inv::UpdStock, GetU16(block, SalesAccountsBlk::UpdateStock));
    }
    BlankAmounts(invoice);
}

// An invoice copied as a new one keeps its content and renews what must
// differ: number, dates, links, flags, reference, due date, and the
// order links of its item rows.
void NewDefaultsOther(int, uint8_t *invoice) {
    SetEntryUserCode();
    PutDate(invoice, Inv::InvDate, TodayDate);
    PutDate(invoice, Inv::TransDate, TodayDate);
    PutU32(invoice, Inv::SerNr, NewSerial(&TodayDate));
    for (uint32_t at : {Inv::OrderNr, Inv::CredInv}) PutU32(invoice, at, SerialNone);
    for (uint32_t at : {Inv::Posted, Inv::Printed, Inv::Transferred}) PutU16(invoice, at, 0);
    const uint8_t none[1] = {0};
    PutText(invoice, Inv::RefStr, none);
    PutDate(invoice, Inv::PayDate, DateRec{});
    ApplyPaymentTerms(invoice);
    uint8_t row[Inv::Rows::Size];
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row) ||
            DocRowKind(GetU16(row, Inv::Rows::Kind)) != DocRowKind::Item) continue;
        PutU32(row, Inv::Rows::Link, SerialNone);
        MatrixRowPut(Inv::Number, 0, invoice, i, row);
    }
    StatusMarkInvoice(invoice);
}

}  // namespace

// Fills register 5's entry of table, whole.
void InstallInvoiceEntry(std::array<RegisterHooks, RegisterCount> &table) {
    table[Inv::Number] = CheckedEntryWith({.validateRecord = Validate, .beforeInsert = BeforeInsert,
        .afterInsert = AfterInsert, .beforeUpdate = BeforeUpdate, .afterUpdate = AfterUpdate,
        .beforeStore = BeforeStore, .afterStore = AfterStore, .beforeDelete = BeforeDelete,
        .newRecordDefaults = NewDefaults, .newRecordDefaultsOther = NewDefaultsOther});
}
