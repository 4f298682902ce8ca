// printer_bitmap.cpp - pictures on the printed page.
#include "output/printer.h"

// Draws a picture block on the open page; not built yet: nothing is
// drawn (false).
bool PrintBitmapInRect(MemBlock dib, const PackedDecimal c[4], int keep) { return false; }
