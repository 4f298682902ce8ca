// check_digits.cpp - the check digits printed documents put on payment
// references: the invoice reference's modulus-10 or modulus-11 digit, the
// nine-digit order reference's Luhn digit, and the reference numbers of
// the sales invoice's codes 298 and 299.
//
// A wrong check digit sends a payment astray, so every routine here
// refuses what it cannot weigh (letters, too many digits) instead of
// guessing: the field then prints nothing.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "exchange/bank_format.h"
#include "output/forms/forms.h"

namespace {
constexpr int CheckDigitMaxDigits = 20;   // the weight strings' length
constexpr int OrderRefDigits = 9;
constexpr int ReferenceNumberWidth = 6;

bool AllDigits(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}
}  // namespace

// Appends the check character of the digits: modulus 10 (mod10 set;
// weights 2, 1, 2, ... from the right, a two-digit product counting as
// its digit sum) or modulus 11 (weights 2..7 from the right; remainder 0
// gives "0", 1 gives "-"). False, digits unchanged, for an empty text,
// a non-digit or more than 20 digits.
bool AppendCheckDigit(uint8_t *digits, bool mod10) {
    assert(digits);
    if (digits[0] == 0 || digits[0] > CheckDigitMaxDigits || !AllDigits(digits)) return false;
    static constexpr int Weights11[6] = {2, 3, 4, 5, 6, 7};
    int sum = 0;
    for (int i = digits[0], k = 0; i >= 1; i--, k++) {
        int d = digits[i] - '0';
        if (mod10) {
            int p = d * (k % 2 == 0 ? 2 : 1);
            sum += p >= 10 ? p - 9 : p;
        } else {
            sum += d * Weights11[k % 6];
        }
    }
    uint8_t check;
    if (mod10) {
        check = (uint8_t)('0' + (10 - sum % 10) % 10);
    } else {
        int r = sum % 11;
        check = r == 0 ? '0' : r == 1 ? '-' : (uint8_t)('0' + 11 - r);
    }
    PStringAppendChar(digits, check);
    return true;
}

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

// The invoice's payment reference: the digits of its customer code, its
// number right-aligned in six places filled with "0", and the check
// character; empty when there is nothing to weigh or more than 20 digits.
void InvoiceReference(const uint8_t *invoice, bool mod10, uint8_t *out) {
    uint8_t code[256], number[256];
    GetPString(invoice, IVVc::CustCode, 20, code);
    DigitsOnly(code, out);
    int32_t serial = GetI32(invoice, IVVc::SerNr);
    if (serial < 0) {
        out[0] = 0;
        return;
    }
    LongToDigitText(serial, code);
    PStringPadLeft(number, code, '0', ReferenceNumberWidth);
    if (out[0] + number[0] > 255) out[0] = 0;
    else PStringAppend(out, number);
    if (!AppendCheckDigit(out, mod10)) out[0] = 0;
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
