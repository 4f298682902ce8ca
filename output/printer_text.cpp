// printer_text.cpp - texts wrapped onto the lines of a column.
#include "output/printer.h"

// A wrapped text between x1 and x2; not built yet: nothing is drawn.
void PrinterTextClipped(int32_t x1, int32_t x2, bool right, bool underline, const uint8_t *text) {}

// The same for the second column form; not built yet: nothing is drawn.
void PrinterTextClipped2(int32_t x1, int32_t x2, bool right, bool underline, const uint8_t *text) {}
