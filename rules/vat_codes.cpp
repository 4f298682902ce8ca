// vat_codes.cpp - VAT codes of block 208: rates, VAT amounts and the VAT
// codes and sales accounts of items.
#include "rules/vat_currency.h"

// Finds a VAT code's row and copies its rate and accounts.
void VatCodeLookup(const uint8_t *code, PackedDecimal *rate, int which, uint8_t *acc1, uint8_t *acc2) {}

// The account's VAT code, then the lookup of that code.
void AccountVatCodeLookup(const uint8_t *account, uint8_t *vatcode, PackedDecimal *rate, int which, uint8_t *acc1,
                          uint8_t *acc2) {
    if (vatcode) vatcode[0] = 0;
}

// The rate of a VAT code as a double.
double VatRate(const uint8_t *code, int inclusive) {
    return 0.0;
}

// The rate of a VAT code as a decimal; true when the code was found.
bool VatRateDec(const uint8_t *code, PackedDecimal *rate, int32_t *index, int inclusive) {
    if (rate) DecSetBlank(rate);
    if (index) *index = -1;
    return false;
}

// The VAT of an amount, not rounded.
void VatAmount(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, int inclusive) {
    if (vat) DecSetBlank(vat);
}

// The VAT of an amount rounded to 2 decimals, with the rate used.
void VatAmountRound2(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, PackedDecimal *rate,
                     int inclusive) {
    if (vat) DecSetBlank(vat);
    if (rate) DecSetBlank(rate);
}

// The VAT of an amount in decimal arithmetic.
void VatAmountDec(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, int inclusive) {
    if (vat) DecSetBlank(vat);
}

// A percentage of an amount rounded to 2 decimals.
void PercentOfAmount(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) {
    if (r) DecSetBlank(r);
}

// The VAT of one document row.
void RowVatAmount(uint16_t rowKind, int inclusive, int novat, const uint8_t *code, const PackedDecimal *amount,
                  PackedDecimal *rate, PackedDecimal *vat, PackedDecimal *plainRate) {
    if (rate) DecSetBlank(rate);
    if (vat) DecSetBlank(vat);
    if (plainRate) DecSetBlank(plainRate);
}

// Tells whether code is a code of block 208.
bool IsVatCode(const uint8_t *code) {
    return false;
}

// The VAT code of an item for a VAT zone.
void ItemVatCode(const uint8_t *item, int zone, uint8_t *vatcode) {
    if (vatcode) vatcode[0] = 0;
}

// The sales account of an item for a VAT zone.
void ItemSalesAccount(const uint8_t *item, int zone, uint8_t *account) {
    if (account) account[0] = 0;
}
