// printer_windows.h - the windows that maintain the printer definitions
// (settings block 162): the list of printers (type 407) and the row
// window (type 408). The stored rows are output/printer_rows.h.
#pragma once

#include <cstdint>
#include <vector>

#include "output/printer_rows.h"

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
// The OK of a printer-definition row window (block 162): the row stored
// by its name, the window closed; false, window open, when not stored.
bool PrinterRowWindowOk(int n);
