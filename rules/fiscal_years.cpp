// fiscal_years.cpp - fiscal-year codes of dates, their names in voucher
// references, and codes for new years.
#include "rules/series_terms.h"

// The fiscal-year code of a date.
uint16_t YearCodeOfDate(const DateRec *date) {
    return YearCodeNone;
}

// The voucher reference text of a code and number.
void YearCodeText(uint8_t *text, uint16_t code, uint32_t number) {
    if (text) text[0] = 0;
}

// The reference text of a voucher.
void VoucherYearCodeText(uint8_t *text, const uint8_t *voucher) {
    if (text) text[0] = 0;
}

// The reference text of a sub-ledger entry.
void EntryYearCodeText(uint8_t *text, const uint8_t *record) {
    if (text) text[0] = 0;
}

// The fiscal-year code of a name.
uint16_t YearCodeByName(const uint8_t *name) {
    return 0;
}

// Splits a voucher reference into code and number.
void ParseVoucherRef(const uint8_t *text, uint16_t *code, int32_t *number) {
    if (code) *code = 0;
    if (number) *number = 0;
}

// Splits a range of voucher references.
void ParseVoucherRefRange(const uint8_t *text, uint16_t *codeFrom, uint16_t *codeTo, int32_t *nrFrom,
                          int32_t *nrTo) {
    if (codeFrom) *codeFrom = 0;
    if (codeTo) *codeTo = 0;
    if (nrFrom) *nrFrom = 0;
    if (nrTo) *nrTo = 0;
}

// The code for a new fiscal year.
uint16_t FiscalYearCodeFor(const uint8_t *rows, int32_t count, int32_t position, uint16_t ruleCode) {
    return 0;
}
