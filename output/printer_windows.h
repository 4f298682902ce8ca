// printer_windows.h - the printer definitions (settings block 162): the
// stored rows (printer_row.cpp) and the windows that maintain them, the
// list of printers (type 407) and the row window (type 408)
// (printer_windows.cpp).
#pragma once

#include <cstdint>
#include <vector>

// ---- printer_row.cpp ----
// The stored rows of block 162, whole 66-byte rows, into rows; false (the
// user told) when the stored block could not be read.
bool PrinterRowsRead(std::vector<uint8_t> *rows);
// Stores rows as block 162 with the program's copy of it; true when done.
bool PrinterRowsStore(const std::vector<uint8_t> &rows);
// The index of the first row named name without regard to case; -1 none.
int PrinterRowByName(const std::vector<uint8_t> &rows, const uint8_t *name);

// ---- printer_windows.cpp ----
constexpr int PrinterListType = 407, PrinterRowType = 408;
// Fills printer list n with one line a stored row, in stored order.
void PrinterListFill(int n);
// The push button with command `command` of printer list n: New (1),
// Open (2) or Delete (3); other commands do nothing.
void PrinterListButton(int n, int command);
// The rules of the printer list and of the row window (their events).
uint8_t PrinterListEvent(int window, int event, void *a, void *b);
uint8_t PrinterRowEvent(int window, int event, void *a, void *b);
