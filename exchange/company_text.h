// company_text.h - the company sections of older layouts ("företag2",
// "företag3"), which carry the fiscal year as two YYMM periods, the
// current fiscal year they make, and the series range rows they add.
#pragma once

#include <cstdint>

#include "core/date.h"

// The current fiscal year as the last YearFromPeriodCode made it.
struct CurrentFiscalYearRec {
    uint16_t number;        // 2005
    uint8_t code[8];        // PString "2005"
    DateRec start, end, dayBefore;
    uint16_t periods;       // months
};
extern CurrentFiscalYearRec CurrentFiscalYear;

// Makes the current fiscal year from two YYMM periods (YY below 64 is
// 20YY), puts its dates into the company block, inserts it into block 149
// and stores that block.
void YearFromPeriodCode(int16_t first, int16_t last);
// Reads a "företag2" (third false) or "företag3" section into block 129.
void CompanyOldImport(bool third);
// Appends a 42-byte range row to reg's series block unless a row with
// the same first and last number and dates is there; stores the block.
// False when the register has no series block or the store failed.
bool InsertBlockRow(int reg, const uint8_t *row);
