// currency.cpp - conversion of amounts by exchange rates, percentages and
// the decimals of a document's currency.
//
// A rate gives the home-currency value of 100 units of the foreign
// currency; a zero or blank rate means no conversion. Conversions round
// once, to 2 decimals with halves away from zero, from the exact result.
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "rules/vat_currency.h"

namespace {

constexpr int CurrencyCodeMax = 5;

// r = round2(num / den) for counts of thousandths num and den (den not 0),
// halves away from zero; blank when the result leaves the range.
void DivideRound2(__int128 num, __int128 den, PackedDecimal *r) {
    bool negative = (num < 0) != (den < 0);
    __int128 n = num < 0 ? -num : num, d = den < 0 ? -den : den;
    // num / den in hundredths is num * 100 / den.
    __int128 scaled;
    if (__builtin_mul_overflow(n, (__int128)100, &scaled)) {
        DecSetBlank(r);
        return;
    }
    __int128 hundredths = (scaled + d / 2) / d;
    DecFromThousandths(r, (negative ? -hundredths : hundredths) * 10);
}

}  // namespace

// result = round2(amount x rate / 100); a zero or blank rate copies the
// amount, and a blank amount with a rate gives zero (the product rule).
void AmountTimesRate(const PackedDecimal *amount, const PackedDecimal *rate, PackedDecimal *result) {
    if (!result || !amount) return;
    if (!rate || DecIsZero(rate)) {
        *result = *amount;
        return;
    }
    PercentOfAmount(amount, rate, result);
}

// result = round2(amount x 100 / rate); a zero or blank amount or rate
// copies the amount.
void AmountByRateInverse(const PackedDecimal *amount, const PackedDecimal *rate, PackedDecimal *result) {
    if (!result || !amount) return;
    __int128 a = 0, r = 0;
    if (!rate || !DecToThousandths(amount, &a) || !DecToThousandths(rate, &r) || a == 0 || r == 0) {
        *result = *amount;
        return;
    }
    // amount x 100 / rate = (a / 1000) x 100 / (r / 1000) = a x 100 / r.
    __int128 num;
    if (__builtin_mul_overflow(a, (__int128)100, &num)) {
        DecSetBlank(result);
        return;
    }
    DivideRound2(num, r, result);
}

// r = a / b (rounded to thousandths), dividing by 1 when b is zero or
// blank; a blank a gives blank.
void DecDivOrOne(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) {
    if (!r) return;
    if (!a || DecIsBlank(a)) {
        DecSetBlank(r);
        return;
    }
    if (!b || DecIsZero(b)) {
        *r = *a;
        return;
    }
    DecDiv(a, b, r);
}

// r = amount x (100 + percent) / 100, to thousandths; a blank percent adds
// nothing.
void DecAddPercent(const PackedDecimal *amount, const PackedDecimal *percent, PackedDecimal *r) {
    if (!r || !amount) return;
    PackedDecimal factor, hundred;
    DecFromLong(&hundred, 100);
    if (percent) DecAdd(&hundred, percent, &factor);
    else factor = hundred;
    DecMul(amount, &factor, r);
    DecShiftDown2(r, r);
}

// result = amount plus a charge typed as text: an empty text adds
// nothing; a text ending in "%" is a percentage p (read to 2 decimals) and
// adds amount x p / 100, not rounded; any other text is the charge itself.
// A blank amount with a charge gives blank. A text that is no number adds
// nothing, so a mistyped charge never wipes the amount.
void AddAmountOrPercent(const PackedDecimal *amount, const uint8_t *charge, PackedDecimal *result) {
    if (!result || !amount) return;
    if (!charge || charge[0] == 0) {
        *result = *amount;
        return;
    }
    if (DecIsBlank(amount)) {
        DecSetBlank(result);
        return;
    }
    uint8_t text[256];
    std::memcpy(text, charge, (size_t)charge[0] + 1);
    bool percent = text[text[0]] == '%';
    if (percent) text[0]--;
    PackedDecimal value;
    if (!TextToDecChecked(text, &value) || DecIsBlank(&value)) {
        *result = *amount;
        return;
    }
    if (percent) {
        DecRound(&value, 2, &value);
        DecMul(amount, &value, &value);
        DecShiftDown2(&value, &value);
    }
    DecAdd(amount, &value, result);
}

// The decimals of a document in currency: the currency row's (exactly
// that code, block 172); an empty or unknown currency gets word 0 of the
// round-off block, never a silent 0 (2 while that block is unbound).
// Taken within 0..3, the decimals a PackedDecimal has.
int DocumentDecimals(const uint8_t *currency) {
    int decimals = -1;
    if (currency && currency[0] != 0 && currency[0] <= CurrencyCodeMax) {
        SettingsRows rows(CurrencyBlk::Number, &CurrencyRows, CurrencyRow::Size);
        uint8_t code[256];
        for (int32_t i = 0; i < rows.count; i++) {
            const uint8_t *row = rows.data + (size_t)i * CurrencyRow::Size;
            GetText(row, CurrencyRow::Code, code);
            if (PStringEqual(code, currency)) {
                decimals = GetU16(row, CurrencyRow::Decimals);
                break;
            }
        }
    }
    if (decimals < 0) {
        const uint8_t *round = SettingsRecord(RoundOffBlk::Number, RoundOffBlockData);
        decimals = round ? GetU16(round, RoundOffBlock::TotalDecimals) : 2;
    }
    return decimals > DecDecimals ? DecDecimals : decimals;
}
