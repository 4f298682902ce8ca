// serial_numbers.h - serial numbers of new and imported records, the
// number step of a document's checks, and the check of a record's date
// before it is saved (serial_numbers.cpp).
#pragma once

#include <cstdint>

#include "core/date.h"

// The next number of low..high that no record of reg has yet, -1 when the
// range is used up. For vouchers the numbers are counted within the fiscal
// year of date (null: no date).
int32_t NextFreeSerialNumber(int reg, int32_t low, int32_t high, const DateRec *date);
// On flag 1 gives a record that needs a number the next free one, when reg
// has a numbering index; unused is not read.
void AssignMissingSerialNumbers(int reg, uint8_t *record, int32_t unused, int flag);
// The range of reg's series block that holds number into *first and *last;
// both unchanged when none does.
void FindNumberRange(int reg, int32_t number, int32_t *first, int32_t *last);
// The number step of a document's checks: a record without a number gets
// the next one of reg's series on date (hint as NextSerialNumber takes
// it); then, unless an update keeps old's number, the number must be free
// and lie in a series valid on date. 0, or FieldError's -1 on the number
// field at serialAt.
int CheckDocumentNumber(int reg, uint8_t *record, const uint8_t *old, int mode, uint32_t serialAt,
                        const DateRec &date, int32_t hint);
// 1 when the record may be saved; 0 after FieldError on field when its date
// is empty or, for the sub-ledgers' registers, locked.
int CheckBeforeSave(int reg, uint8_t *record, uint16_t field);
