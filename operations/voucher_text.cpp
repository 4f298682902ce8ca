// voucher_text.cpp - the text line of a document's voucher; see the header.
#include "operations/voucher_text.h"

#include "core/pstring.h"
#include "rules/rules_types.h"

// A composed text is cut to what the voucher's text field holds.
void CutVoucherText(uint8_t *text) {
    constexpr uint8_t TextMax = Voucher::Text.Length;
    if (text[0] > TextMax) text[0] = TextMax;
}

void AppendCurrencyRate(uint8_t *text, const char *separator, const uint8_t *currency, const PackedDecimal &rate) {
    if (currency[0] == 0) return;
    uint8_t digits[256];
    PStringAppendC(text, separator);
    PStringAppend(text, currency);
    PStringAppendC(text, " ");
    DecFormat(&rate, 2, digits);
    PStringAppend(text, digits);
}

void PartyVoucherText(const uint8_t *code, const uint8_t *name, const uint8_t *currency, const PackedDecimal &rate,
                      uint8_t *text) {
    PStringCopy(text, code);
    PStringAppendC(text, " ");
    PStringAppend(text, name);
    AppendCurrencyRate(text, ", ", currency, rate);
    CutVoucherText(text);
}
