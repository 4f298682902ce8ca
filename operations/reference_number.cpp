// reference_number.cpp - an invoice's payment reference and the
// reference-number form of a record's code and serial number.
//
// An invoice has one payment reference: the one its form prints, which
// is also what the invoice stores when it is posted or read in without
// one. The customer pays with what is printed and the bank file brings
// back what the record holds, so the two are made by the same rule.
//
// A wrong check digit sends a payment astray, so every routine here
// refuses what it cannot weigh (letters, too many digits) instead of
// guessing: the reference is then empty.
#include <cassert>
#include <cstdio>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

namespace {
constexpr int CheckDigitMaxDigits = 20;   // the weight strings' length
constexpr int ReferenceNumberWidth = 6;
constexpr int ReferenceMax = 30;          // the invoice's reference field
}  // namespace

// Appends the check character of the digits: modulus 10 (mod10 set;
// weights 2, 1, 2, ... from the right, a two-digit product counting as
// its digit sum) or modulus 11 (weights 2..7 from the right; remainder 0
// gives "0", 1 gives "-"). False, digits unchanged, for an empty text,
// a non-digit or more than 20 digits.
bool AppendCheckDigit(uint8_t *digits, bool mod10) {
    assert(digits);
    if (digits[0] == 0 || digits[0] > CheckDigitMaxDigits) return false;
    for (int i = 1; i <= digits[0]; i++)
        if (digits[i] < '0' || digits[i] > '9') return false;
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

// The invoice's payment reference: the digits of its customer code, its
// number right-aligned in six places filled with "0", and the check
// character; empty when there is nothing to weigh or more than 20 digits.
void InvoiceReference(const uint8_t *invoice, bool mod10, uint8_t *out) {
    assert(invoice && out);
    uint8_t code[256], number[256];
    GetText(invoice, IVVc::CustCode, code);
    out[0] = 0;
    for (int i = 1; i <= code[0]; i++)
        if (code[i] >= '0' && code[i] <= '9') PStringAppendChar(out, code[i]);
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

// The reference number of a record holding a code of at most 8
// characters at byte 0 and a u32 serial at byte 22: the serial in
// decimal, the code left-padded with "0" to 8 characters, and a check
// digit (weights 7, 3, 1 repeating from the rightmost character, each
// character counting as its code less that of "0"; the digit is 10 less
// the sum modulo 10, modulo 10). grouped writes it in groups of five
// counted from the right. A longer code leaves out as it was.
void ZeroPad8(const uint8_t *record, uint8_t *out, bool grouped) {
    assert(record && out);
    if (record[0] > 8) return;
    uint8_t code[256], padded[256], number[256], digits[256];
    GetPString(record, 0, 8, code);
    uint32_t serial = GetU32(record, 22);
    char buf[16];
    int n = std::snprintf(buf, sizeof buf, "%u", serial);
    assert(n > 0 && n < (int)sizeof buf);
    (void)n;   // read only by the assert
    PStringFromC(number, buf);
    PStringPadLeft(padded, code, '0', 8);
    PStringCopy(digits, number);
    PStringAppend(digits, padded);
    static const int weights[3] = {7, 3, 1};
    int sum = 0;
    for (int i = digits[0], k = 0; i >= 1; i--, k++) sum += (digits[i] - '0') * weights[k % 3];
    int check = (10 - ((sum % 10) + 10) % 10) % 10;
    PStringAppendChar(digits, (uint8_t)('0' + check));
    if (!grouped) {
        PStringCopy(out, digits);
        return;
    }
    out[0] = 0;
    int len = digits[0];
    for (int i = 1; i <= len; i++) {
        if (i > 1 && (len - i + 1) % 5 == 0) PStringAppendChar(out, ' ');
        PStringAppendChar(out, digits[i]);
    }
}

// The reference the invoice is paid by, as its payment slip, its bar
// code and its reference field all give it: the one stored with it, else
// (not posted yet) the modulus-10 reference its posting will store.
// Empty when it cannot be weighed (no number yet, more than 20 digits).
void InvoicePaymentReference(const uint8_t *invoice, uint8_t *out) {
    assert(invoice && out);
    GetText(invoice, IVVc::RefStr, out);
    if (out[0] != 0) return;
    InvoiceReference(invoice, true, out);
    if (out[0] > ReferenceMax) out[0] = 0;
}

// Fills the invoice's reference field with the reference its form prints
// (the modulus-10 one); an invoice that cannot be weighed (no number yet,
// more than 20 digits) keeps the field empty.
void InvoiceReferenceNumber(uint8_t *invoice) {
    assert(invoice);
    uint8_t ref[256];
    InvoiceReference(invoice, true, ref);
    if (ref[0] > ReferenceMax) ref[0] = 0;
    PutText(invoice, IVVc::RefStr, ref);
}
