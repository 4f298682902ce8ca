// sales_invoice.h - the sales invoice's road through the operations:
// its checks before it is stored, its posting (open item, stock, item
// history, voucher), its entry in the customer ledger and statistics,
// the project totals, the window's customer fill and the small
// computations the invoice window shares with the other document windows.
//
// The invoice is register 5 (IVVc) with 328-byte rows (IVVcRow) at the
// handle at IVVc::Matrix; every field is named in dict/. Amounts are
// PackedDecimal; codes and texts are PStrings.
#pragma once

#include <cstdint>
#include <vector>

#include "core/decimal.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "rules/approval.h"

// ---- The invoice voucher (invoice_voucher.cpp, invoice_voucher_rows.cpp) ----

// Builds the voucher of a posted invoice into PendingVoucher, which the
// hold's end stores (force 1: also when block 199 would skip it). true
// also when no voucher is needed; false when it could not be made (the
// caller refuses the invoice with 1085), PendingVoucher then left empty.
bool InvoiceVoucher(uint8_t *invoice, int force);
// Puts the receivable account (the invoice's, else the customer group's,
// else block 133's) into the invoice's IVVc::ARAcc.
void InvoiceVoucherAccounts(uint8_t *invoice);
// Adds the voucher rows of one invoice row (sales, VAT and cost sides) to
// the pending voucher and its VAT sums; rate per 100 (blank or 0 is 100).
// debit and credit are the voucher's sides (swapped for a credit note);
// text is the row text, running the amount posted so far. false when an
// account the row needs is missing.
bool InvoiceVoucherRows(const uint8_t *invoice, const uint8_t *row, const uint8_t *objects, const PackedDecimal *rate,
                        uint8_t debit, uint8_t credit, uint8_t *text, PackedDecimal *running, MemBlock vatSums);
// The quantity of an invoice row whose cost of goods the invoice books,
// into *qty: the row's own, less the units of its order row that left
// with a delivery that booked their cost in its voucher (delivered_cost.cpp).
void InvoiceRowCostQty(const uint8_t *invoice, const uint8_t *row, PackedDecimal *qty);
// Reads record of reg by the first key set in it; true when found.
bool InvoiceReadByKey(int reg, uint8_t *record);
// Appends one row to the pending voucher on side debit with the account's
// name as its text; false when the account is missing.
bool InvoiceVoucherRow(const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                       const PackedDecimal *amount, bool debit, PackedDecimal *running);
// Adds sum to the voucher row of rows that has the same VAT code and
// account, or appends one.
void MergeVoucherRow(MemBlock rows, const uint8_t *vatCode, PackedDecimal *sum, uint8_t *account);
// The voucher text naming a VAT code (PString out).
void VatCodeText(const uint8_t *code, uint8_t *out);
// out = the object lists a and b merged (sorted, each code once); false,
// after telling the user, when they name more than five codes.
bool MergeRowObjects(const uint8_t *a, const uint8_t *b, uint8_t *out);

// ---- Customer ledger and statistics (customer_ledger.cpp) ----

// Approve kind 18: enters a posted invoice in the customer ledger
// (register 49) and the statistics (registers 1, 12, 112 by month) and
// sets IVVc::Transferred. A row's cost is its quantity times its unit
// cost (IVVcRow::UnitCost). Failed when a store failed.
ApproveResult ApproveInvoiceToCustomerLedger(int reg, uint8_t *invoice, uint32_t recid);

// One statistics record to add to: its register, the index and key parts
// that find it (index null: the first), where its period block lies and
// how many kinds a month holds.
struct StatTarget {
    int reg;
    const char *index;
    int parts;
    uint32_t periods;
    int kinds;
};
// Adds the non-zero amounts (kind i gets amounts[i], negated when negate)
// at month into the statistics record whose key is the first keySize
// bytes of key, creating it. false, after telling the user, when it could
// not be read, grown or stored.
bool AddStatistics(const StatTarget &t, const uint8_t *key, uint32_t keySize, const PackedDecimal *amounts,
                   uint16_t month, bool negate);
// Writes the invoice's customer-ledger entry (register 49), replacing one
// of the same key; false when it could not be stored.
bool InvoiceToCustomerTrans(const uint8_t *invoice);

// ---- Project totals (project_totals.cpp) ----

// Moves the invoiced amounts of a project from the old invoice to the new
// one; either may be null (an insert, a delete).
void UpdateProjectTotals(const uint8_t *newInv, const uint8_t *oldInv);

// ---- Checks and posting (invoice_checks.cpp, invoice_posting.cpp) ----

// Checks an invoice before it is stored (mode: the record hook's mode; old
// the stored copy or null). 0 when accepted; otherwise FieldError's result
// (the text and focus are set) or -1.
int ValidateInvoice(uint8_t *invoice, const uint8_t *old, int mode);
// Rows of kind 0 (an imported row, or one typed into a window whose rows
// carry no kind word) become item rows, as the window reads them, so the
// checks, the stock, the voucher and the statistics all see one kind.
void InvoiceRowKindsSettle(uint8_t *invoice);
// The steps of a new invoice before it is inserted: number, defaults, totals.
void InvoiceInsertSteps(uint8_t *invoice);
// Posts (post 1) or takes back (post 0) an invoice: open item, stock,
// item history, voucher.
void InvoicePosting(uint8_t *invoice, int post);
// The stock rows of an invoice: FIFO cost into IVVcRow::FifoCost and the
// stock by location.
void InvoiceStockRows(uint8_t *invoice);
// Fills IVVc::RefStr with the invoice's payment reference, the one its
// form prints (InvoiceReference, modulus 10).
void InvoiceReferenceNumber(uint8_t *invoice);
// True when code is a currency of block 172 (an empty code is the home
// currency).
bool IsCurrencyCode(const uint8_t *code);
// The one posting of a sales invoice, every road's: open item, stock,
// voucher, item history, list mark, customer ledger and statistics (then
// marked transferred). Inside the caller's hold; false when a store
// failed (told, the hold failed).
bool PostSalesInvoice(uint8_t *invoice);
// Approve kind 1: approves (posts) a sales invoice through PostSalesInvoice.
// Failed when a store failed.
ApproveResult ApproveInvoice(int reg, uint8_t *invoice, uint32_t recid);
// Approve kind 11: prints the invoice on its form (document type -2).
// Changed when it printed and its printed flag was clear (the flag is
// set); Unchanged when it did not print (counted in FormPrintsFailed) or
// was marked printed already.
ApproveResult PrintInvoiceForm(int reg, uint8_t *invoice, uint32_t recid);
// Approve kind 17: prints the invoice again as an original (no copy
// mark); the printed flag as stored when the print did not come out.
ApproveResult PrintInvoiceFormAgain(int reg, uint8_t *invoice, uint32_t recid);

// ---- Open items and orders (open_items.cpp) ----

// Writes the invoice's open item (register 13) with amount and amount2;
// keepDates keeps the dates the open item has.
void UpdateOpenInvoice(const uint8_t *invoice, uint32_t serial, const PackedDecimal *amount,
                       const PackedDecimal *amount2, const uint8_t *dueDate, const uint8_t *secondDate, bool keepDates);
// Makes item a new open item (register 13) of invoice under serial.
void OpenItemFromInvoice(uint8_t *item, const uint8_t *invoice, uint32_t serial);
// Moves the invoiced quantities of the order the invoice came from from
// the old invoice to the new one; either may be null.
void UpdateOrderFromInvoice(const uint8_t *newInv, const uint8_t *oldInv);
// The down-payment rows of an invoice, summed by sign.
void InvoiceDownPaymentSums(const uint8_t *invoice, PackedDecimal *positive, PackedDecimal *negative);

// ---- Stock by location and item history (location_stock.cpp, stock_history.cpp) ----

// Adds the five amounts (blank adds nothing) to the stock of item at
// location (empty: the main location), making the record for a stocked
// item. false when the store failed (told to the user).
bool UpdateLocationStock(const uint8_t *item, const uint8_t *location, const PackedDecimal *inStock,
                         const PackedDecimal *onOrders, const PackedDecimal *reserved, const PackedDecimal *onConfPo,
                         const PackedDecimal *toReceive);
// Writes the item history (register 59) of an invoice's item rows.
void StockHistoryFromInvoice(const uint8_t *invoice);
// Writes the item history of an invoice from its serial-number record
// (register 129) instead of its rows; false when it has none (the rows
// are used then).
bool StockHistoryRow(const uint8_t *invoice);
// One component of an item structure and the quantity of it a row's
// quantity takes.
struct StructurePart {
    PString item;
    PackedDecimal qty;
};
// The components of structure (a PString; empty: none) for qty of item
// into parts; false when the structure is empty or gives no lines.
bool StructureParts(const uint8_t *item, const uint8_t *structure, const PackedDecimal *qty,
                    std::vector<StructurePart> &parts);

// ---- Reference numbers (reference_number.cpp) ----

// The record's serial number as eight digits with leading zeros (grouped:
// in groups for printing) into the PString out; the caller knows the
// record's register.
void ZeroPad8(const uint8_t *record, uint8_t *out, bool grouped);
// Appends the modulus-10 (mod10) or modulus-11 check character to the
// digits; false, digits unchanged, for an empty text, a non-digit or
// more than 20 digits.
bool AppendCheckDigit(uint8_t *digits, bool mod10);
// The invoice's payment reference with its check character: the digits
// of the customer code, the number in at least six places and the check
// character; empty when it cannot be weighed.
void InvoiceReference(const uint8_t *invoice, bool mod10, uint8_t *out);
// The reference the invoice is paid by: its stored reference, else (not
// posted yet) the modulus-10 reference its posting stores; empty when it
// cannot be weighed. Every printed reference and bar code reads it.
void InvoicePaymentReference(const uint8_t *invoice, uint8_t *out);

// ---- Records an import lacks (exchange/import_missing.cpp) ----

// Each makes what an imported invoice names but the company lacks; false
// when a store failed.
bool CreateMissingCustomer(const uint8_t *invoice);
bool CreateMissingItems(const uint8_t *invoice);
bool CreateMissingUser(const uint8_t *invoice);

// ---- The window's customer and number (invoice_customer_fill.cpp) ----

// Fills the invoice's customer fields from its customer; false when the
// customer is missing (the invoice is untouched).
bool InvoiceCustomerFill(uint8_t *invoice);

// ---- Shared computations (rules/net_of_tax.cpp, recordwin/doc_item_rows.cpp) ----

// The amount without VAT at vatCode (withTax 1: amount includes VAT).
void NetOfTax(const uint8_t *vatCode, const PackedDecimal *amount, uint16_t withTax, PackedDecimal *net);
// part as a percentage of base; blank when base is zero or blank.
void PercentOf(const PackedDecimal *base, const PackedDecimal *part, PackedDecimal *result);
