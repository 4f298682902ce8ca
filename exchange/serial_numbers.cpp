// serial_numbers.cpp - serial numbers of new and imported records, and the
// check of a record's date before it is saved.
#include "exchange/exchange.h"

// The next free number of a range.
int32_t NextFreeSerialNumber(int reg, int32_t low, int32_t high, const DateRec *date) {
    return -1;
}

// Numbers a record that needs a number.
void AssignMissingSerialNumbers(int reg, uint8_t *record, int32_t unused, int flag) {}

// The series range that holds a number.
void FindNumberRange(int reg, int32_t number, int32_t *first, int32_t *last) {}

// Tells whether a record's date lets it be saved.
int CheckBeforeSave(int reg, uint8_t *record, uint16_t field) {
    return 0;
}
