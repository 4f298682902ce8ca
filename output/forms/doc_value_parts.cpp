// doc_value_parts.cpp - small value pieces the order, quotation,
// purchase-order, delivery and register documents print alike: typed
// fields, address lines, discount and price-unit texts, the interest
// block's rate and the guarded read of a document row.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "output/forms/forms.h"

namespace {
constexpr int AddressStep = 62, AddressMax = 60;
}  // namespace

void DocTyped(const uint8_t *base, size_t at, uint16_t type, uint8_t *out) { FieldToText(base + at, type, out); }

PackedDecimal DocSideAmount(const uint8_t *side, size_t at) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    return side ? GetDec(side, at) : blank;
}

void DocDecText(const PackedDecimal &value, uint16_t type, uint8_t *out) {
    FieldToText((const uint8_t *)&value, type, out);
}

void DocAddressRow(const uint8_t *base, size_t at, int16_t row, uint8_t *out) {
    out[0] = 0;
    if (row >= 1 && row <= 4) GetPString(base, at + (size_t)(row - 1) * AddressStep, AddressMax, out);
}

void DocNegatedPercent(const PackedDecimal &discount, uint8_t *out) {
    PackedDecimal neg;
    DecNegateInto(&discount, &neg);
    DocDecText(neg, FtAmount3, out);
    if (out[0] != 0 && out[0] < 255) PStringAppendChar(out, '%');
}

void DocPriceUnitText(const PackedDecimal &unit, uint8_t *out) {
    // A blank (or zero) unit prices per one.
    PackedDecimal u = unit;
    if (DecIsBlank(&u) || DecIsZero(&u)) DecFromLong(&u, 1);
    DocDecText(u, FtAmount3, out);
}

void DocPricePerUnitText(const PackedDecimal &price, const PackedDecimal &unit, uint8_t *out) {
    PackedDecimal per = price;
    if (!DecIsBlank(&unit) && !DecIsZero(&unit)) DecDiv(&price, &unit, &per);
    DocDecText(per, FtAmount3Drop, out);
}

void DocInterestRateText(uint8_t *out) {
    uint8_t block[InterestBlk::Size];
    out[0] = 0;
    if (SettingsBlockRead(InterestBlk::Number, block, sizeof block)) DocTyped(block, InterestBlk::Rate, FtAmount2, out);
}

bool DocRowRead(int reg, const uint8_t *record, int16_t row, uint8_t *out) {
    assert(record && out);
    if (row < 0 || row >= FormRowCount) return false;
    return MatrixRowRead(reg, record, row, out);
}

PackedDecimal DocTimes(const PackedDecimal &a, const PackedDecimal &b) {
    PackedDecimal r;
    DecMul(&a, &b, &r);
    return r;
}
