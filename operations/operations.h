// operations.h - services of the sales and stock operations that other
// folders call.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/memblock.h"

// The code after code (PStrings): the text before its trailing digits, then
// their number plus one without leading zeros (K0099 gives K100, ABC gives
// ABC1). false, out untouched, when the new number would not fit 32 bits.
bool IncrementCode(const uint8_t *code, uint8_t *out);
// Proposes the next free customer code after the last one kept in block 132
// into out and keeps it there; false when none could be made.
bool NextCustomerCode(uint8_t *out);
// True when the register-104 quantities of item with serial (PStrings),
// summed over every location, reach quantity.
bool SerialQtyTotal(const uint8_t *item, const uint8_t *serial, const PackedDecimal *quantity);

// ---- List status marks (list_marks.cpp) ----
// Each sets the status mark a list shows for the record (of the register
// named) from its state.

void StatusMarkInvoice(uint8_t *r);           // register 5
void StatusMarkOutPayment(uint8_t *r);        // register 30
void StatusMarkPayment(uint8_t *r);           // register 10
void StatusMarkPurchaseInvoice(uint8_t *r);   // register 28
void StatusMarkRegister56(uint8_t *r);        // register 56
void StatusMarkDelivery(uint8_t *r);          // register 8
void StatusMarkPurchase(uint8_t *r);          // register 4
void StatusMarkFromFlag(uint8_t *r);          // a record whose mark follows its flag word
void StatusMarkOrder(uint8_t *r);             // register 7
void StatusMarkPurchaseOrder(uint8_t *r);     // register 58

// ---- VAT accounts (vat_accounts.cpp) ----

// Replaces account by the account that its VAT code books on in VAT zone
// zone.
void VatCodeAccount(uint8_t *account, int zone);

// ---- Discounts (discounts.cpp) ----

// The discount of item at price and quantity qty for customer group group
// and discount code discCode into discount; *found tells whether a
// discount matrix applied.
void ItemDiscount(const uint8_t *item, const PackedDecimal *price, const PackedDecimal *qty, const uint8_t *group,
                  const uint8_t *discCode, PackedDecimal *discount, bool *found);
// The discount of the quantity step stepCode (register 64) for qty at
// price, taken from percentages; *found tells whether the step exists.
void DiscountForQuantity(const uint8_t *item, const uint8_t *stepCode, const PackedDecimal *qty,
                         const PackedDecimal *price, const uint8_t *percentages, PackedDecimal *discount, bool *found);
// The index 1..9 of the last threshold of steps that basis reaches; 0
// when it reaches none.
int DiscountStepPercent(const PackedDecimal *basis, const uint8_t *steps);

// ---- Customer credit (customer_credit.cpp) ----

// Fills customer (register 2) from its code, with its credit limit and
// open balance (its paying customer's when it has one); false when the
// customer does not exist.
bool CustomerBalanceCredit(uint8_t *customer, PackedDecimal *limit, PackedDecimal *balance);
// Adds the open amounts of the open items (register 13) of the customer
// with this code to sum.
void CustomerOpenBalance(const uint8_t *code, PackedDecimal *sum);

// ---- Stock services (stock_services.cpp) ----

// True when the register-104 quantity of item with serial at location
// reaches qty.
bool SerialQtyAtLocation(const uint8_t *item, const uint8_t *serial, const uint8_t *location, const PackedDecimal *qty);
// Sets the cost price of each row of a delivery (register 8).
void DeliveryRowsCostPrice(uint8_t *delivery);
// Makes copy, the copy of record that the form of document prints, with
// the rows of item structures expanded where block 223 asks; false when
// the copy could not be made.
bool ExpandStructureRowsForPrint(int document, const uint8_t *record, uint8_t *copy);

// ---- Users (user_services.cpp) ----

// Reads the current user's person record (register 44); false when there
// is none.
bool CurrentUserRecord(uint8_t *person);
// The name of the person (register 44) with this code into out; empty
// when there is none.
void UserNameByCode(const uint8_t *code, uint8_t *out);
// Fills the current session's user entry with the company's default
// number series (block 132); nothing without a current session or block.
void SessionSeriesDefaults();

// ---- Small services (small_services.cpp) ----

// Removes every c from text (a PString).
void StripChar(uint8_t *text, uint8_t c);
// text without its leading zeros into out.
void StripLeadingZeros(const uint8_t *text, uint8_t *out);
// Grows the array of rows of rowSize bytes in h by one row, moving the
// rows from index (0..count) on up by one; the row at index keeps its old
// bytes for the caller to fill. false when the index is outside or memory
// ran out.
bool MemArrayInsertRow(MemBlock h, uint32_t rowSize, int32_t index);
