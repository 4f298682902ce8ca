// voucher_ref.cpp - a voucher named by its fiscal year and number, as a
// user types it ("A.12" or "A:12") and as it is shown: the reference of a
// voucher's link rows and the typed key of the voucher list (118).
#include "core/field_access.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "rules/series_terms.h"

// Reads a typed reference (PString) into a fiscal-year code and a voucher
// number; false when the number cannot be read (number -1) or a year
// name was typed that no fiscal year has (code 0).
bool VoucherRefFromText(const uint8_t *text, uint16_t *code, int32_t *number)
{
    ParseVoucherRef(text, code, number);
    if (*number < 0) return false;
    for (int i = 1; i <= text[0]; i++)
        if (text[i] == '.' || text[i] == ':') return *code != 0;
    return true;
}

// The display text (PString buffer of 256) of a reference.
void VoucherRefText(uint8_t *text, uint16_t code, uint32_t number) { YearCodeText(text, code, number); }

// Puts a key typed into the voucher list (PString) into the list's record
// for the find by year and number: the year name, upper-cased, as its
// code, and the number. False (the record left alone) when the text is
// empty or its number cannot be read.
bool VoucherKeyFromText(const uint8_t *text, uint8_t *record)
{
    if (!text || !record || text[0] == 0) return false;
    uint8_t upper[256];
    PStringCopy(upper, text);
    UpperPString(upper);
    uint16_t code = 0;
    int32_t number = -1;
    ParseVoucherRef(upper, &code, &number);
    if (number < 0) return false;
    PutU16(record, TRVc::YearCode, code);
    PutI32(record, TRVc::SerNr, number);
    return true;
}
