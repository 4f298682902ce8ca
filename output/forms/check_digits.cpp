// check_digits.cpp - the check digits printed documents put on payment
// references: the nine-digit order reference's Luhn digit. The invoice's
// reference (codes 298 and 299) is the one the invoice stores, made in
// operations/reference_number.cpp.
//
// A wrong check digit sends a payment astray, so every routine here
// refuses what it cannot weigh (letters, too many digits) instead of
// guessing: the field then prints nothing.
#include <cassert>

#include "core/bank_format.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "output/forms/forms.h"

namespace {
constexpr int OrderRefDigits = 9;
}  // namespace

// The Luhn digit of a nine-digit number (other characters of the text
// are dropped): digits 1, 3, 5, 7, 9 from the left doubled; -1 unless
// exactly nine digits remain.
int16_t CheckDigitMod10(const uint8_t *text) {
    uint8_t d[256];
    DigitsOnly(text, d);
    if (d[0] != OrderRefDigits) return -1;
    int sum = 0;
    for (int i = 1; i <= OrderRefDigits; i++) {
        int v = d[i] - '0';
        if (i % 2 == 1) v *= 2;
        sum += v >= 10 ? v - 9 : v;
    }
    return (int16_t)((10 - sum % 10) % 10);
}

// "929", the order number and its Luhn digit in groups of three; empty
// for no order or when the order number does not make nine digits.
void OrderReference(int32_t order, uint8_t *out) {
    out[0] = 0;
    if (order < 0) return;
    uint8_t digits[256], number[256];
    PStringFromC(digits, "929");
    LongToDigitText(order, number);
    PStringAppend(digits, number);
    int16_t check = CheckDigitMod10(digits);
    if (check < 0) return;
    PStringAppendChar(digits, (uint8_t)('0' + check));
    GroupByThrees(digits, out);
}
