// format_block.h - the number and date format settings.
//
// Every number and date conversion reads the user's separators and date
// order from one 14-byte block: settings block 145 once a database is
// open. Until then, and in tests, CurrentFormat points at a default
// block in memory. The layout is that of the stored settings block, in
// host byte order:
//
//   bytes  0-1   u16 date order 0..5 (see date.h)
//   bytes  2-3   u16 day leading-zero flag
//   bytes  4-5   u16 month leading-zero flag
//   bytes  6-7   u16 four-digit-year flag
//   bytes  8-9   date separator, a one-character PString
//   bytes 10-11  decimal separator, a one-character PString
//   bytes 12-13  thousands separator, a one-character PString
#pragma once

#include <cstdint>

struct FormatBlock {
    uint16_t dateOrder;
    uint16_t dayLeadingZero;
    uint16_t monthLeadingZero;
    uint16_t fourDigitYear;
    uint8_t dateSep[2];       // [0] length (1), [1] the character
    uint8_t decimalSep[2];
    uint8_t thousandsSep[2];
};
static_assert(sizeof(FormatBlock) == 14, "settings block 145 is 14 bytes");

// The block every conversion reads. Never null: it points at
// DefaultFormatBlock until the settings binding points it at block 145.
extern FormatBlock *CurrentFormat;

// Day-first dates with "." and leading zeros, four-digit years, decimal
// comma and blank as thousands separator.
extern FormatBlock DefaultFormatBlock;

// Points CurrentFormat at block (null restores the default block).
void FormatBlockBind(FormatBlock *block);

// When non-zero, DecFormat groups thousands. Loading the interface file
// clears it; report printing sets and clears it.
extern uint8_t ThousandsFlag;

inline uint8_t FormatDateSep() { return CurrentFormat->dateSep[1]; }
inline uint8_t FormatDecimalSep() { return CurrentFormat->decimalSep[1]; }
// The thousands separator, 0 when the field is empty: the user groups no
// thousands (the demo company's choice).
inline uint8_t FormatThousandsSep() { return CurrentFormat->thousandsSep[0] != 0 ? CurrentFormat->thousandsSep[1] : 0; }
