// printer_rows.h - the printer definitions as stored (settings block 162,
// rows of 66 bytes), read and stored whole (printer_row.cpp).
#pragma once

#include <cstdint>
#include <vector>

// The stored rows of block 162, whole 66-byte rows, into rows; false (the
// user told) when the stored block could not be read.
bool PrinterRowsRead(std::vector<uint8_t> *rows);
// Stores rows as block 162 with the program's copy of it; true when done.
bool PrinterRowsStore(const std::vector<uint8_t> &rows);
// The index of the first row named name without regard to case; -1 none.
int PrinterRowByName(const std::vector<uint8_t> &rows, const uint8_t *name);

