// bank_format.cpp - the formatters of the bank payment files and the
// printed payment slip (see bank_format.h).
#include "core/bank_format.h"

#include <cassert>

#include "core/barcode_tables.h"
#include "core/pstring.h"

namespace {
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

bool AllDigits(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (!IsDigit(text[i])) return false;
    return true;
}
}  // namespace

void TwoDigits(uint16_t n, uint8_t *out) {
    out[0] = 2;
    out[1] = (uint8_t)('0' + (n / 10) % 10);
    out[2] = (uint8_t)('0' + n % 10);
}

void DateToYYMMDD(const DateRec *date, uint8_t *out) {
    assert(date && out);
    uint8_t two[3];
    out[0] = 0;
    for (uint16_t part : {date->year, date->month, date->day}) {
        TwoDigits(part, two);
        PStringAppend(out, two);
    }
}

void DigitsOnly(const uint8_t *text, uint8_t *out) { PStringDigits(out, text); }

int16_t BankGroupNumber(const uint8_t *account) {
    uint8_t d[256];
    DigitsOnly(account, d);
    if (d[0] < 2) return 1;
    if (d[1] != '7') return (int16_t)(d[1] - '0');
    return (int16_t)(70 + (d[2] - '0'));
}

void BankAccountTo14Digits(const uint8_t *account, uint8_t *out) {
    constexpr int Width = 14;
    uint8_t d[256];
    DigitsOnly(account, d);
    int16_t group = BankGroupNumber(account);
    int lead = (group == 4 || group == 5 || group == 70) ? 7 : 6;
    out[0] = Width;
    for (int i = 1; i <= Width; i++) out[i] = '0';
    for (int i = 1; i <= lead && i <= d[0]; i++) out[i] = d[i];
    // The remaining digits, right-aligned in the last 14 - lead places.
    int rest = d[0] > lead ? d[0] - lead : 0, room = Width - lead;
    for (int k = 0; k < rest && k < room; k++) out[Width - k] = d[d[0] - k];
}

void AmountCentsText(const PackedDecimal *amount, uint8_t *out) {
    out[0] = 0;
    __int128 thousandths = 0;
    if (!DecToThousandths(amount, &thousandths)) return;
    // Hundredths, the third decimal cut off as the display text cuts it.
    __int128 cents = thousandths / 10;
    bool negative = cents < 0;
    if (negative) cents = -cents;
    uint8_t digits[64];
    int n = 0;
    do {
        digits[n++] = (uint8_t)('0' + (int)(cents % 10));
        cents /= 10;
    } while (cents > 0 && n < 60);
    if (negative) PStringAppendChar(out, '-');
    while (n > 0) PStringAppendChar(out, digits[--n]);
}

bool AppendRef731(uint8_t *digits) {
    if (digits[0] == 0 || digits[0] >= 255 || !AllDigits(digits)) return false;
    static constexpr int Weights[3] = {7, 3, 1};
    int sum = 0;
    for (int i = digits[0], k = 0; i >= 1; i--, k++) sum += (digits[i] - '0') * Weights[k % 3];
    PStringAppendChar(digits, (uint8_t)('0' + (10 - sum % 10) % 10));
    return true;
}

bool Code128PackDigits(const uint8_t *digits, uint8_t *out) {
    if (!AllDigits(digits)) return false;
    int pairs = (digits[0] + 1) / 2;
    if (out[0] + pairs > 255) return false;
    for (int i = 1; i <= digits[0]; i += 2) {
        int hi = digits[i] - '0', lo = i + 1 <= digits[0] ? digits[i + 1] - '0' : 0;
        PStringAppendChar(out, CharFromOrdinal(hi * 10 + lo));
    }
    return true;
}

bool Code128AppendCheck(uint8_t *text) {
    if (text[0] >= 255) return false;
    int sum = 105;
    for (int i = 1; i <= text[0]; i++) sum += OrdinalOfChar(text[i]) * i;
    PStringAppendChar(text, CharFromOrdinal(sum % 103));
    return true;
}
