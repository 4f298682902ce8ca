// voucher_text.h - composing the text line of a voucher built from a
// document: the party it concerns and the currency it is in, cut to the
// voucher's 60-character text field.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"

// Cuts a composed voucher text to the voucher's 60-character field.
void CutVoucherText(uint8_t *text);

// Appends to text, after separator, the currency (a PString) and rate
// ("USD 1,25", two decimals); a document in the home currency (no code)
// adds nothing.
void AppendCurrencyRate(uint8_t *text, const char *separator, const uint8_t *currency, const PackedDecimal &rate);

// The text of a party's document: its code, " ", its name and, for a
// document in a currency, ", " with the currency and rate; cut to the
// voucher's field.
void PartyVoucherText(const uint8_t *code, const uint8_t *name, const uint8_t *currency, const PackedDecimal &rate,
                      uint8_t *text);

// The same two, read from the fields of record.
template <int K>
void AppendCurrencyRate(uint8_t *text, const char *separator, const uint8_t *record, TextField<K> currencyAt,
                        const PackedDecimal &rate) {
    uint8_t currency[256];
    GetText(record, currencyAt, currency);
    AppendCurrencyRate(text, separator, currency, rate);
}
template <int C, int N, int K>
void PartyVoucherText(const uint8_t *record, TextField<C> codeAt, TextField<N> nameAt, TextField<K> currencyAt,
                      const PackedDecimal &rate, uint8_t *text) {
    uint8_t code[256], name[256], currency[256];
    GetText(record, codeAt, code);
    GetText(record, nameAt, name);
    GetText(record, currencyAt, currency);
    PartyVoucherText(code, name, currency, rate, text);
}
