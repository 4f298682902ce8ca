// purchase_ledger.h - the purchase ledger's road through the operations:
// purchase invoices (register 28) with their vouchers, the vendor open
// items (register 29) they leave, the vendor ledger (register 32) and the
// vendors' period balances (register 31), and the rules' entry of the
// purchase-invoice register.
//
// A purchase invoice is entered, may get a preliminary voucher (series
// 210, booked on the preliminary account), is approved (series 203: its
// voucher, open item and cost budgets) and is then transferred to the
// vendor ledger. The voucher is built in PendingVoucher while the invoice
// is checked and stored by the hook that follows the write, so a refused
// invoice stores nothing.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/interface_defs.h"
#include "database/access/register_hooks.h"
#include "rules/approval.h"

struct RuleRecord;

// ---- What a vendor gives its documents (purchase_vendor_fill.cpp) ----

// Fills the purchase invoice from the vendor its code names: the name,
// terms, currency, objects (when the purchase accounts' settings copy them) and the payee
// texts of its payee (else the vendor's). False, nothing filled, for an
// empty or unknown code.
bool PurchaseInvoiceVendorFill(uint8_t *invoice);
// Fills the invoice's payee texts (account text and bank giro) from the
// vendor of `code` (a PString; none under company variant 5), then its
// terms again.
void PurchasePayeeFill(uint8_t *invoice, const uint8_t *code);
// The giro a payment of `payment`'s mode pays the vendor on: the postal
// giro for mode "P", else the bank giro.
void PaymentGiroName(const uint8_t *payment, const uint8_t *vendor, uint8_t *name);
// The payee texts of a payment row of `payment` that pays `invoice`: the
// invoice's payment text (under company variant 5, when it is empty, the
// vendor's giro for the payment's mode) and the vendor's account text.
void PaymentRowPayeeFill(const uint8_t *payment, const uint8_t *invoice, uint8_t *row);

// ---- Shared lookups (purchase_support.cpp) ----

// Reads purchase invoice serial into rec (register 28); false when none.
bool PurchaseInvoiceRead(uint32_t serial, RuleRecord &rec);
// Reads the vendor of code (a PString) into rec (register 27); false when
// the code is empty or unknown.
bool VendorRead(const uint8_t *code, RuleRecord &rec);
// Reads the open item of serial into rec (register 29), its id into *recid.
bool VendorOpenItemRead(uint32_t serial, RuleRecord &rec, uint32_t *recid);
// The rate per 100 at rateAt of record: 100 when blank or zero.
PackedDecimal RatePer100(const uint8_t *record, uint32_t rateAt);
// True when a record of reg has code (a PString) in its first key field,
// the text field codeAt (of max characters); false for an empty code.
bool CodeInRegister(int reg, RawOffset codeAt, int max, const uint8_t *code);
template <int N>
bool CodeInRegister(int reg, TextField<N> codeAt, const uint8_t *code) {
    return CodeInRegister(reg, RawOffset(codeAt.offset), N, code);
}
// The offset of the field of reg holding byte at (of its rows when row).
uint16_t RegisterFieldHolding(int reg, uint32_t at, bool row);
// Tells the user a record could not be stored and fails the open hold.
bool PurchaseStoreFailed();
// Stores the pending voucher when it has rows and clears it; false (told,
// the hold failed) when it could not be stored.
bool StorePendingAndClear();
// Books what is left of running (the pending voucher's imbalance) on block
// 133's rounding account; false, nothing booked, when that account is
// missing. Nothing to book is true.
bool PostRoundingRest(PackedDecimal *running);

// ---- Checks (purchase_invoice_checks.cpp) ----

// Checks a purchase invoice before it is stored (mode 1 insert, 2 update;
// old the stored copy). Numbers a new invoice and builds its voucher in
// PendingVoucher when it becomes preliminary or approved now. An approved
// invoice may change only its due date, discount date and comment and
// what the program writes. 0 accepts; else FieldError's -1, the entry
// serial put back.
int ValidatePurchaseInvoice(uint8_t *invoice, const uint8_t *old, int mode);

// ---- Voucher (purchase_invoice_voucher.cpp) ----

// Builds the invoice's voucher in PendingVoucher (series 210 when
// preliminary, else 203). 1 built or not wanted; 0 when the voucher is
// stored already or an account is unknown (PendingVoucher left empty).
int PostPurchaseInvoice(uint8_t *invoice, int preliminary, int force);

// ---- Open items, vendor ledger (vendor_open_items.cpp) ----

// Open-item upkeep of an approved invoice, then, with store, the pending
// voucher stored and the cost budgets. false when a store failed.
bool PurchaseInvoiceSaveSteps(uint8_t *invoice, int store);
// Adds the invoice's total to its open item (a credit note subtracts it,
// keyed by the credited serial); a zero open amount deletes the item.
bool VendorOpenItemFromInvoice(const uint8_t *invoice);
// Lowers the open item of serial by amount (vendorCode and the amount as
// it stands when serial is all ones) and, unless noBalance, the vendor's
// period balance of date's month. false when the invoice of serial is
// missing or a store failed.
bool VendorOpenItemReduce(uint32_t serial, const uint8_t *vendorCode, const DateRec *date,
                          const PackedDecimal *amount, int noBalance);
// Copies the invoice's due and discount dates to its open item.
bool OpenItemDatesFromInvoice(const uint8_t *invoice);
// Enters an approved, not yet transferred invoice in the vendor ledger and
// period balances; 1 done (transferred flag set), 0 nothing done, -1 a
// store failed.
int PurchaseInvoiceToVendorLedger(uint8_t *invoice);
// The invoice's vendor-ledger entry, stored by key; false when not stored.
bool VendorLedgerEntryOfInvoice(const uint8_t *invoice);
// Adds the four amounts (blank ones skipped) at date's month to the
// vendor's period balance, negated when negate. false when not stored.
bool AddVendorPeriodBalance(const uint8_t *vendorCode, const DateRec *date, const PackedDecimal *a0,
                            const PackedDecimal *a1, const PackedDecimal *a2, const PackedDecimal *a3, bool negate);

// ---- Approve kinds and the register's entry (purchase_invoice_hooks.cpp) ----

// Kind 5: approves and posts an invoice not approved yet.
ApproveResult ApprovePurchaseInvoice(int reg, uint8_t *invoice, uint32_t recid);
// Kind 19: an approved invoice to the vendor ledger.
ApproveResult ApprovePurchaseInvoiceToVendorLedger(int reg, uint8_t *invoice, uint32_t recid);
// Fills register 28's entry of table, whole.
void InstallPurchaseInvoiceEntry(std::array<RegisterHooks, RegisterCount> &table);

// ---- Outgoing payments (vendor_payment_*.cpp) ----
// A payment row counts - is checked, posted, applied to its open item -
// when its kind (PaidRowKind) is Paid (an invoice paid, or a payment on
// account when its invoice serial is all ones) or Discount and its flag is 0.

// True when the payment row counts.
bool PaymentRowCounts(const uint8_t *row);
// Checks a payment before it is stored (mode 1 insert, 2 update); builds
// its voucher when it becomes posted now. 0 accepts; else FieldError's -1,
// the entry serial put back.
int ValidateVendorPayment(uint8_t *payment, const uint8_t *old, int mode);
// Builds the payment's voucher (series 204) in PendingVoucher. 1 built or
// not wanted; 0 when the voucher exists or an account is unknown.
int PostVendorPayment(uint8_t *payment, int force);
// One entry of the open-item list: 44 bytes, date at 0, serial at 6,
// amount at 10, vendor code at 22.
constexpr uint32_t PaymentEntrySize = 44, PaymentEntryDate = 0, PaymentEntrySerial = 6, PaymentEntryAmount = 10,
                   PaymentEntryVendor = 22;
// Adds amount under (date, serial) to list (entries of PaymentEntrySize
// bytes), summing into an equal entry; no new entry for a zero amount.
void PaymentRowsByInvoice(std::vector<uint8_t> &list, const DateRec *date, uint32_t serial,
                          const PackedDecimal *amount, const uint8_t *vendorCode);
// The open items and period balances moved from the old payment's counted
// rows to the new one's (either may be null). false when a store failed.
bool OpenItemsUpdate(const uint8_t *payment, const uint8_t *old);
// With store, the pending voucher stored when it has rows; false (told)
// when that failed.
bool StoreVoucherAfterPayment(uint8_t *payment, int store);
// One vendor-ledger entry per counted kind-1 row whose invoice exists or
// is all ones; false when a store failed.
bool PaymentToVendorLedger(const uint8_t *payment);
// Kind 24: PaymentToVendorLedger, then the transferred flag.
ApproveResult ApprovePaymentToVendorLedger(int reg, uint8_t *payment, uint32_t recid);
// Kind 3: marks a payment approved. Kind 4: posts an approved payment
// and enters it in the vendor ledger (as kind 24 does after a payment is
// stored posted).
ApproveResult ApproveVendorPaymentMark(int reg, uint8_t *payment, uint32_t recid);
ApproveResult ApproveVendorPaymentPost(int reg, uint8_t *payment, uint32_t recid);
// Kind 27: marks a payment approved and prints its payment documents; the
// printed mark only when every document printed.
ApproveResult ApproveOutPayment(int reg, uint8_t *payment, uint32_t recid);
// Fills register 30's entry of table, whole.
void InstallVendorPaymentEntry(std::array<RegisterHooks, RegisterCount> &table);

// ---- Expenses and person payments (expense_claims.cpp, person_payments.cpp) ----

// Refuses an update of a stored record of reg that changes a byte outside
// the free ranges [from, to) or any row: text at the first changed field
// or row cell. 0 when only free bytes changed.
int HeldRecordChanges(int reg, const uint8_t *record, const uint8_t *old, const uint32_t (*free)[2], size_t freeCount,
                      int text);
// Checks a record of reg: an update of a held one (held set) by
// HeldRecordChanges, any other by checks, which on refusal leave the
// serial at serialAt as it came and no pending voucher.
int ValidateHeldOrOpen(int reg, uint8_t *record, const uint8_t *old, int mode, bool held, uint32_t serialAt,
                       const uint32_t (*free)[2], size_t freeCount, int heldText,
                       int (*checks)(uint8_t *, const uint8_t *, int));
// Checks an expense (register 109) before it is stored; builds its voucher
// when it becomes posted now. 0 accepts, else FieldError's -1.
int ValidateExpense(uint8_t *expense, const uint8_t *old, int mode);
// The expense's voucher (series 207) in PendingVoucher: 1 built, 0 when
// it exists or an account is unknown.
int PostExpense(uint8_t *expense);
// With store, the pending voucher stored, then the project cost budgets.
bool ExpenseSaveSteps(uint8_t *expense, int store);
// The expense's person-ledger entry; false when not stored.
bool ExpenseToLedger111(const uint8_t *expense);
// Checks a person payment (register 110); builds its voucher when it
// becomes posted now.
int ValidatePPRecord(uint8_t *payment, const uint8_t *old, int mode);
// The person payment's voucher (series 208): 1 built, 0 when it exists or
// an account is unknown.
int PostPPRecord(uint8_t *payment);
// With store, the pending voucher stored.
bool StoreVoucherAfterPP(uint8_t *payment, int store);
// One person-ledger entry per kind-1 row with flag 0.
bool PPRowsToLedger111(const uint8_t *payment);
// Kinds 44 (post an expense), 40 (expense to the person ledger), 43 (post
// a person payment) and 41 (person payment to the person ledger).
ApproveResult ApproveExpense(int reg, uint8_t *expense, uint32_t recid);
ApproveResult ApproveExpenseToLedger111(int reg, uint8_t *expense, uint32_t recid);
ApproveResult ApprovePPRecord(int reg, uint8_t *payment, uint32_t recid);
ApproveResult ApprovePPToLedger111(int reg, uint8_t *payment, uint32_t recid);
// Fill registers 109's and 110's entries of table, whole.
void InstallExpenseEntry(std::array<RegisterHooks, RegisterCount> &table);
void InstallPersonPaymentEntry(std::array<RegisterHooks, RegisterCount> &table);

// ---- Payment suggestion (payment_suggestion.cpp) ----

// Makes outgoing payments (at most 91 rows each) for the open items the
// selection block (a job record's selection) chooses; each is inserted with
// the hooks, so the items it pays leave at once. false when a payment
// could not be stored.
bool PaymentSuggestion(const uint8_t *selection);
// PaymentSuggestion here, or as request 46 on the server in client mode.
bool PaymentSuggestionCall(uint8_t *selection);
