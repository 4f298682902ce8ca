// purchase_invoice_window.h - the purchase-invoice window (type 155): its
// event handler and the steps of its field logic, which the outgoing-
// payment and expense windows share (VAT code rates, the next-field
// override).
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "rules/rules_types.h"

// Window type 155's event handler: 1 = go on / allowed, 0 = refused or done.
uint8_t Win155Event(int window, int event, void *a, void *b);
// What committing screen field `field` of a purchase-invoice window does
// (changed: its value differs from before).
void PurchaseInvoiceFieldChanged(int window, int field, uint8_t changed);
// Fills the invoice from the vendor named in it; 1 when the vendor was found.
int PurchaseVendorFill(int window, uint8_t *invoice);
// Looks up the account of row `row` and draws its name and VAT code; with
// extra set, an account's follow-up account gets a row of its own after it.
void PurchaseRowAccountLookup(int window, uint8_t *invoice, int row, bool extra);
// Expands the voucher template named in row `row`'s account cell into
// rows from there; 1 when the code was a template.
int PurchaseTemplateExpand(int window, uint8_t *invoice, int row);
// The current account row takes what is left to distribute.
void PurchaseBalanceRow(int window);
// The VAT of the invoice's rows into its computed VAT (not with VAT
// treatment 2); window 0 works on the record alone.
void RowsVatTotals(int window, uint8_t *invoice);
// Proposes the VAT amount from the invoice total by block 153's percentage.
void PurchaseVatPercentDefault(uint8_t *invoice);
// Takes the rate of the invoice's currency on its booking date into the window.
void PurchaseRateRefresh(int window, uint8_t *invoice);
// Where Enter goes from an account row's account cell (id 4) or its cell
// at 16, by block 153's focus words: the amount cell at row byte
// amountCell, else the name cell (48), else the row's second cell;
// NoField for other cells. matrix is the record's rows field.
int AccountRowEnterTarget(int window, uint32_t matrix, int row, int id, uint32_t amountCell);
// Finds account `code` (a PString) into acc; false when there is none.
bool PurchaseAccountRead(const uint8_t *code, RuleRecord &acc);
// True when a name cell (a PString) shows that its account was not found.
bool AccountNameIsUnknown(const uint8_t *name);
// The rate of the record's currency (at currencyAt) on its date (at
// dateAt) into the window field at rateAt; a rate that could not be had
// leaves the one shown.
void RateIntoField(int window, const uint8_t *record, uint32_t currencyAt, uint32_t dateAt, uint32_t rateAt);
