// vat_currency.h - VAT codes and their rates (block 208), sums of amounts
// per VAT code, currency conversion and rounding, the totals of documents,
// and the checks of the VAT, sales-account and vendor-account blocks.
#pragma once

#include <cstdint>

#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

// A purchase invoice's VAT treatment (the word VIVc::VatTreatment).
enum class VatTreatment : uint16_t {
    Ordinary = 0,    // the VAT is part of the invoice total
    Offset = 1,      // the VAT is booked and offset on block 155's account, outside the total
    NoVatRows = 2,   // no VAT rows; the VAT computed from the rows is left as it is
};

// ---- VAT codes (vat_codes.cpp) ----

// Finds the block-208 row of code (row 0 for an unknown code) and copies its
// first rate (which 0) or second rate into rate and, where given, its two
// accounts. With an empty block nothing is written.
void VatCodeLookup(const uint8_t *code, PackedDecimal *rate, int which, uint8_t *acc1, uint8_t *acc2);
// The account's own VAT code (empty for an unknown account) into vatcode,
// then VatCodeLookup of that code.
void AccountVatCodeLookup(const uint8_t *account, uint8_t *vatcode, PackedDecimal *rate, int which, uint8_t *acc1,
                          uint8_t *acc2);
// The code's rate as a double; inclusive non-zero gives the VAT share of an
// amount that includes VAT. An empty block gives 0.
double VatRate(const uint8_t *code, int inclusive);
// The same as a decimal; *index the row used (-1 for an empty block); true
// only when the code itself was found.
bool VatRateDec(const uint8_t *code, PackedDecimal *rate, int32_t *index, int inclusive);
// vat = amount x rate / 100 in double, not rounded.
void VatAmount(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, int inclusive);
// As VatAmount, rounded to 2 decimals; also gives the rate used.
void VatAmountRound2(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, PackedDecimal *rate,
                     int inclusive);
// vat = amount x rate / 100 in decimal arithmetic, rounded to 2 decimals.
void VatAmountDec(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, int inclusive);
// The rate of VAT code `code` (a PString) and the VAT part in percent of
// an amount that includes VAT; false when the code is not in block 208
// (no row 0 default here: an unknown code has no VAT part).
bool VatCodeRateLookup(const uint8_t *code, PackedDecimal *rate, PackedDecimal *factor);
// The VAT part of an amount including VAT by VAT code `code`, to cents;
// false (vat zero) for an empty or unknown code. The purchase-invoice and
// expense windows split an amount with it.
bool VatPartOf(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat);
// r = a x b / 100 rounded once to 2 decimals, halves away from zero.
void PercentOfAmount(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r);
// As PercentOfAmount, rounded once to `decimals` (0 to 3) places.
void PercentOfAmountTo(const PackedDecimal *a, const PackedDecimal *b, int decimals, PackedDecimal *r);
// The VAT of one document row: blank outputs, filled for row kinds Item,
// Amount and DownPayment when inclusive is set or novat is clear.
void RowVatAmount(DocRowKind rowKind, int inclusive, int novat, const uint8_t *code, const PackedDecimal *amount,
                  PackedDecimal *rate, PackedDecimal *vat, PackedDecimal *plainRate);
// True when code is the code of a row of block 208.
bool IsVatCode(const uint8_t *code);
// The VAT code of an item for a VAT zone, falling back to the sales-account
// block's code of the zone.
void ItemVatCode(const uint8_t *item, int zone, uint8_t *vatcode);
// The sales account of an item for a VAT zone, falling back to the sales-
// account block's account of the zone.
void ItemSalesAccount(const uint8_t *item, int zone, uint8_t *account);

// ---- Sums per VAT code (vat_sums.cpp) ----

// A new sums block with one blank slot per row of block 208, locked; its
// handle in *sums. Null (and *sums 0) when memory could not be had.
uint8_t *VatSumsNew(MemBlock *sums);
// Adds a non-blank amount into the slot of code (slot 0 for unknown codes).
void VatSumsAdd(MemBlock sums, const uint8_t *code, const PackedDecimal *amount);
// The slot (0-based) VatSumsAdd adds code's amounts into.
int32_t VatSumsSlotOf(const uint8_t *code);
// The total VAT of the sums, each code's VAT rounded to 2 decimals; extra
// (may be null) the codes' additional percentages.
void VatSumsTotal(MemBlock sums, int inclusive, PackedDecimal *vat, PackedDecimal *extra);
// Converts every non-blank slot by AmountTimesRate.
void VatSumsConvert(MemBlock sums, const PackedDecimal *rate);
// The number of non-blank slots.
int32_t VatSumsUsedCount(MemBlock sums);
// The 1-based row of the n-th non-blank slot; 1 when there are fewer.
int32_t VatSumsNthUsed(MemBlock sums, int32_t n);

// ---- A purchase invoice's VAT (purchase_invoice_vat.cpp) ----
// The VAT of a purchase invoice's account rows, each code's rounded to
// cents, into its computed VAT; not written (*written false) with VAT
// treatment 2 (no VAT). False, nothing written, when the sums could not
// be had (the memory layer has told the user).
bool PurchaseInvoiceRowsVat(uint8_t *invoice, bool *written);

// ---- Settings checks (account_block_checks.cpp) ----
// Each gives 0 when the block may be stored, else FieldError's -1 after
// showing the first fault.

int CheckVatCodeAccounts(const uint8_t *rows, uint32_t size);   // block 208
int CheckSalesAccountsBlock(const uint8_t *block);              // block 133
int CheckVendorAccountsBlock(const uint8_t *block);             // block 155

// ---- Currency (currency.cpp) ----

// result = amount x rate / 100 rounded to 2 decimals; a zero or blank rate
// copies the amount.
void AmountTimesRate(const PackedDecimal *amount, const PackedDecimal *rate, PackedDecimal *result);
// result = amount x 100 / rate rounded to 2 decimals; a zero or blank amount
// or rate copies the amount.
void AmountByRateInverse(const PackedDecimal *amount, const PackedDecimal *rate, PackedDecimal *result);
// r = a / b, dividing by 1 when b is zero; a blank a gives blank.
void DecDivOrOne(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r);
// r = amount x (100 + percent) / 100.
void DecAddPercent(const PackedDecimal *amount, const PackedDecimal *percent, PackedDecimal *r);
// Adds to amount a charge typed as text: an amount, or a percentage of the
// amount when the text ends in "%".
void AddAmountOrPercent(const PackedDecimal *amount, const uint8_t *charge, PackedDecimal *result);
// The decimals of a document in currency (PString): the currency row's; an
// empty or unknown currency gets word 0 of the round-off block.
int DocumentDecimals(const uint8_t *currency);

// ---- Document totals (document_totals.cpp) ----
// Each computes the totals of a document in memory from its rows and
// writes them into its total fields.

void DocTotalsRound(uint8_t *invoice);        // sales invoice (register 5)
void DocTotals268(uint8_t *document);         // documents with 268-byte rows
void ContractTotals(uint8_t *contract);       // register 45
void OrderTotals(uint8_t *order);             // register 7
void QuotationTotals(uint8_t *quotation);     // register 55
void PurchaseOrderTotals(uint8_t *order);     // register 58
void DocRowsTotal(uint8_t *receipt);          // register 10
void ItemStructureTotals(uint8_t *structure); // register 76
void PurchaseRowTotals(uint8_t *purchase);    // register 4
// A purchase-order row (of order) with an item and no VAT code takes the
// item's VAT code for the order's VAT zone, as the window gives it when
// the item is typed; true when the row changed. The totals, the check and
// the window all follow this one rule.
bool PurchaseOrderRowVatDefault(const uint8_t *order, uint8_t *row);
// The amount converted by rate, less the item's VAT share for kind 1, plus
// the charge text (an amount or a percentage).
void NetAmountPlusCharge(const uint8_t *item, const PackedDecimal *amount, int kind, const uint8_t *charge,
                         const PackedDecimal *rate, PackedDecimal *result);
