// checks.h - validation of records before they are stored, the checks
// before a record is deleted, the balances and sums of rows, and the
// fields a stored record keeps when it is replaced.
//
// The "...Of" functions are the rules' side of the record layer's
// dispatchers of the same plain name (database/access/register_hooks.h).
#pragma once

#include <cstdint>
#include <span>

#include "rules/rules_types.h"

// ---- Validation (record_validation.cpp, ledger_validation.cpp,
// purchase_validation.cpp) ----
// Each gives 0 when the record may be stored, else FieldError's -1 with the
// error position in FieldErrorPos. mode 1 insert (stored is the record
// itself), 2 update.

// Numbers the record where it asks for a number, then runs its register's check.
int ValidateRecordOf(int reg, uint8_t *record, uint8_t *stored, int mode);
int ValidateVoucher(uint8_t *record, uint8_t *stored, int mode);    // register 11
int ValidateSm1(uint8_t *record, uint8_t *stored, int mode);        // register 9
int ValidateSp1(uint8_t *record, uint8_t *stored, int mode);        // register 126
int ValidateFb1(uint8_t *record, uint8_t *stored, int mode);        // register 51
int ValidateCustomer(uint8_t *record, uint8_t *stored, int mode);   // register 2
// The customer's codes for its documents name records the company keeps
// (customer_checks.cpp).
int CheckCustomerCodes(const uint8_t *customer, const uint8_t *stored, int mode);
int ValidatePurchase(uint8_t *record, uint8_t *stored, int mode);   // register 4
// Builds the pending voucher of a purchase received at location; false when
// it could not be built, with why it could not (which account to set and
// where) in the PString why when one is given.
bool BuildPurchaseVoucher(const uint8_t *purchase, const uint8_t *location, bool always, uint8_t *why = nullptr);

// ---- Sales documents (sales_validation.cpp) ----
int ValidateOrder(uint8_t *record, uint8_t *stored, int mode);       // register 7
int ValidateQuotation(uint8_t *record, uint8_t *stored, int mode);   // register 55
int ValidateContract(uint8_t *record, uint8_t *stored, int mode);    // register 45

// ---- Stock documents (stock_validation.cpp) ----
int ValidateShipment(uint8_t *record, uint8_t *stored, int mode);        // register 8
int ValidateStockMovement(uint8_t *record, uint8_t *stored, int mode);   // register 92
int ValidatePurchaseOrder(uint8_t *record, uint8_t *stored, int mode);   // register 58
int ValidateProduction(uint8_t *record, uint8_t *stored, int mode);      // register 77
int ValidatePi1(uint8_t *record);                                        // register 56

// ---- Items and prices (item_price_checks.cpp) ----
// The item's references are checked on a new item, and on a stored one
// where they changed; the others' on every store.
int ValidateItem(const uint8_t *record, const uint8_t *stored, int mode);   // register 3
int ValidateItemGroup(const uint8_t *record);                              // register 14
int ValidatePrice(const uint8_t *record);                                  // register 50
int ValidatePriceList(const uint8_t *record);                              // register 62
int ValidateCustomerGroup(const uint8_t *record);                          // register 65
int ValidateDiscountMatrix(const uint8_t *record);                         // register 66
int ValidateCustomerPrices(const uint8_t *record);                         // register 71
// A code that names one thing: present and free of the list separators
// "," and "."; 0, or FieldError's -1 on the field (record_validation.cpp).
int CheckPlainCode(const uint8_t *record, uint32_t field, int max);

// ---- Trade registers (trade_register_checks.cpp) ----
int ValidateVendor(const uint8_t *vendor);       // register 27
int ValidateLocation(const uint8_t *location);   // register 78
// A purchase item (register 56): an item and a vendor that exist.
int CheckPurchaseItemCodes(const uint8_t *record);

// ---- Persons (person_checks.cpp) ----
// A person (register 44): an access group, stock location, employee type,
// account and objects that exist, each where given.
int ValidatePerson(const uint8_t *person, const uint8_t *stored, int mode);

// ---- Codes that name records (code_checks.cpp) ----
// A field of a record holding the code of something the company keeps.
struct CodeField {
    uint32_t at;                          // the field's offset in the record
    int max;                              // characters the field holds
    int refused;                          // text told when the code names nothing
    bool (*known)(const uint8_t *code);   // whether a given code names something
    int missing = 0;                      // text told when it is empty; 0: may be
};
// Refuses the first field of the table (kept in the order of the window's
// fields) whose code names nothing, or is empty where it must be given:
// FieldError's -1 on that field. mode 2 looks up only the codes that
// differ from stored. 0 when all pass.
int CheckCodeFields(std::span<const CodeField> fields, const uint8_t *record, const uint8_t *stored, int mode);
// Cell `column` of row `row` (its bytes rowBytes) of the rows whose handle
// is at the record's byte `matrix`: empty, or a code `known` finds; else
// FieldErrorAt's -1 with `refused` on that cell.
int CheckRowCode(const uint8_t *rowBytes, uint32_t column, int max, bool (*known)(const uint8_t *), int refused,
                 uint32_t matrix, int32_t row);
// The look-ups of a code (a PString, not empty) for the tables.
bool KnownLanguage(const uint8_t *code);        // a row of block 181
bool KnownCurrency(const uint8_t *code);        // a row of block 172
bool KnownVatCode(const uint8_t *code);
bool KnownAccount(const uint8_t *code);         // the chart (16)
bool KnownPaymentTerms(const uint8_t *code);    // register 57, or a payment mode of block 131
bool KnownCustomer(const uint8_t *code);        // 2
bool KnownVendor(const uint8_t *code);          // 27
bool KnownItem(const uint8_t *code);            // 3
bool KnownPerson(const uint8_t *code);          // 44
bool KnownProject(const uint8_t *code);         // 53
bool KnownLocation(const uint8_t *code);        // 78
bool KnownCountry(const uint8_t *code);         // 74
bool KnownDelTerms(const uint8_t *code);        // 23
bool KnownDelMode(const uint8_t *code);         // 123
bool KnownPriceList(const uint8_t *code);       // 62
bool KnownDocumentPriceList(const uint8_t *code);   // 62, or a price class 1..5
bool KnownCustomerGroup(const uint8_t *code);   // 65
bool KnownDiscountMatrix(const uint8_t *code);  // 66
bool KnownItemGroup(const uint8_t *code);       // 14
bool KnownUnit(const uint8_t *code);            // 124
bool KnownPriceFormula(const uint8_t *code);    // 63
bool KnownQtyStep(const uint8_t *code);         // 64
bool KnownAccessGroup(const uint8_t *code);     // 46
bool KnownEmployeeType(const uint8_t *code);    // 52
bool KnownObjects(const uint8_t *list);         // every code of the list in 15
bool AnyCode(const uint8_t *code);              // any: the field need only be given

// ---- Documents' codes (document_code_checks.cpp) ----
// The codes a document's window shows that name other registers' records
// (customer, terms, currency, salesperson, ...), checked as
// CheckCodeFields does, for the sales invoice (5), order (7), delivery (8),
// purchase invoice (28), contract (45), quotation (55), purchase order
// (58) and sales document (127). 0 for any other register.
int CheckDocumentCodes(int reg, const uint8_t *record, const uint8_t *stored, int mode);

// ---- Payment references (reference_checks.cpp) ----
// True when the reference's last character is the check character of its
// digits (modulus 10, or modulus 11 whose check may be "-"); an empty
// reference passes, an overlong one or one with a non-digit fails.
bool CheckRefMod10Mod11(const uint8_t *reference);
// The same with the weights 7, 3, 1 repeated from the right.
bool CheckRef731(const uint8_t *reference);

// ---- Delete checks (delete_checks.cpp) ----

// 1 when the record may be deleted, 0 when not (the reason shown when show is 1).
int CanDeleteRecordOf(int reg, uint8_t *record, int show);
// True when the receipt (register 10) may be deleted.
bool CanDeleteReceipt(const uint8_t *receipt);
// True when the outgoing payment (register 30) may be deleted.
bool CanDeleteOutPayment(const uint8_t *payment);

// ---- Row balances and sums (row_balances.cpp; the voucher rows' own are in
// ledger.h) ----

void AccountRowsBalance(uint8_t *r);      // sm1 totals from its rows
void AccountRows118Balance(uint8_t *r);   // sp1 totals from its rows
void Fb1RowsBalance(uint8_t *r);          // fb1 totals from its rows
void AccountRowsSum(MemBlock rows, PackedDecimal *sum);       // sum of sm1 rows (82 bytes)
void AccountRows118Sum(MemBlock rows, PackedDecimal *sum);    // sum of sp1 rows (118 bytes)
void OutPaymentTotals(uint8_t *r);        // outgoing payment (register 30) totals
void PaymentTotals106(uint8_t *r);        // totals of a payment with 106-byte rows
void Rows154Totals(uint8_t *r);           // the two sums of a record's 154-byte rows
void AmountListTotal(uint8_t *r);         // the total of a record's list of amounts
// The sum of a purchase invoice's rows less its amount, with its VAT added
// back unless its VAT kind is 1.
void PurchaseInvoiceRowsDifference(const uint8_t *invoice, PackedDecimal *result);
// True when some row of the order has a delivered quantity.
bool OrderHasDeliveredRows(const uint8_t *order);
// True when some row of the purchase order has a received quantity.
bool PurchaseOrderHasReceivedRows(const uint8_t *order);

// ---- Kept fields (kept_fields.cpp) ----

// Copies into record the fields the program maintains from stored.
void PreserveStoredFieldsOf(int reg, const uint8_t *stored, uint8_t *record);
