// decimal_rows.cpp - the small PackedDecimal formulas of document rows:
// a percentage as a factor, the amount of a row from quantity, price,
// unit and discount, and a percentage of a typed number. Every result
// has two decimals. Destinations may be one of the operands.
#include "core/decimal.h"

namespace {

PackedDecimal Hundred() {
    PackedDecimal v;
    DecFromLong(&v, 100);
    return v;
}

}  // namespace

// dst = (100 + p) / 100 to two decimals: 25 % gives 1.25. The
// division drops the digits below a thousandth before rounding.
void DecPercentFactor(const PackedDecimal *p, PackedDecimal *dst) {
    PackedDecimal hundred = Hundred(), v;
    DecAdd(p, &hundred, &v);
    DecShiftDown2(&v, &v);
    DecRound(&v, 2, dst);
}

// dst = quantity x price, divided by unit when unit is given and
// neither blank nor zero, less the discount percentage when that is
// non-zero and within -100 to 100, rounded to two decimals.
void DecRowAmount(const PackedDecimal *quantity, const PackedDecimal *price,
                  const PackedDecimal *unit, const PackedDecimal *discount,
                  PackedDecimal *dst) {
    PackedDecimal amount;
    DecMul(quantity, price, &amount);
    if (unit && !DecIsZero(unit)) DecDiv(&amount, unit, &amount);
    if (discount && !DecIsZero(&amount) && !DecIsZero(discount)) {
        PackedDecimal hundred = Hundred(), minusHundred;
        DecNegateInto(&hundred, &minusHundred);
        if (DecCompare(discount, &minusHundred) >= 0 && DecCompare(discount, &hundred) <= 0) {
            PackedDecimal reduction;
            DecMul(&amount, discount, &reduction);
            DecShiftDown2(&reduction, &reduction);
            DecSub(&amount, &reduction, &amount);
        }
    }
    DecRound(&amount, 2, dst);
}

// dst = the number in text x p / 100 to two decimals. A product out of
// range gives blank rather than zero.
void DecPercentOfText(const uint8_t *text, const PackedDecimal *p, PackedDecimal *dst) {
    double percentD;
    long double percentLD;
    int kind, intDigits;
    DecToFloat(p, &percentD, &percentLD, &kind, &intDigits);
    long double percent = kind == 1 ? percentLD : percentD;
    PackedDecimal v;
    DecFromLongDouble(static_cast<long double>(TextToDouble(text)) * percent, &v);
    if (DecIsBlank(&v)) {
        DecSetBlank(dst);
        return;
    }
    DecShiftDown2(&v, &v);
    DecRound(&v, 2, dst);
}
