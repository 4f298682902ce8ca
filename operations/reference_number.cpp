// reference_number.cpp - an invoice's payment reference and the
// reference-number form of a record's code and serial number.
#include <cassert>
#include <cstdio>

#include "core/field_access.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

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

// Fills the invoice's reference field with its grouped reference number
// from its customer code and serial; a code of more than 8 characters
// leaves the field empty.
void InvoiceReferenceNumber(uint8_t *invoice) {
    assert(invoice);
    uint8_t ref[256] = {0};
    ZeroPad8(invoice, ref, true);
    if (ref[0] > 30) ref[0] = 30;
    PutPString(invoice, IVVc::RefStr, 30, ref);
}
