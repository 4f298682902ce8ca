// number_series.cpp - the number series of the registers and the serial
// numbers they give.
#include "rules/series_terms.h"

// The number-series block of a register.
int SeriesBlockOfRegister(int reg) {
    return 0;
}

// The date of a record that decides its series.
void RecordDate(int reg, const uint8_t *record, DateRec *date) {
    if (date) *date = DateRec{0, 0, 0};
}

// The next free serial number of a register on a date.
int32_t NextSerialNumber(int reg, const DateRec *date, int32_t wanted, int32_t reserved) {
    return NoFreeNumber;
}

// Tells whether a typed number lies in a valid series row.
bool SerialNumberValid(int reg, int32_t number, const DateRec *date) {
    return false;
}
