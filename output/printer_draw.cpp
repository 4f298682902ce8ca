// printer_draw.cpp - report coordinates on the device, the pen, lines,
// rules, column texts and the texts and frames of forms.
#include "output/printer.h"

// A report y on the device; not built yet: 0.
int32_t ReportToPrinterY(int32_t y) { return 0; }

// A report x on the device; not built yet: 0.
int32_t ReportToPrinterX(int32_t x) { return 0; }

// Moves the pen; not built yet: nothing.
void PrinterMoveTo(int x, int y) {}

// Sets the pen's mode; not built yet: nothing.
void PrinterPenMode(int m) {}

// Draws a line from the pen; not built yet: nothing.
void PrinterLineTo(int x, int y) {}

// A PString's width; not built yet: 0.
int PrinterPStringWidth(const uint8_t *text) { return 0; }

// A C string's width; not built yet: 0.
int PrinterTextWidth(const uint8_t *text) { return 0; }

// A text at a place; not built yet: nothing is drawn.
void PrinterTextAt(int32_t y, int32_t x, const uint8_t *text) {}

// A rule under the current line; not built yet: nothing is drawn.
void PrinterRule(int32_t x1, int32_t x2, int32_t y, int unused) {}

// A text at a column; not built yet: nothing is drawn.
void PrinterTextAtColumn(int column, bool right, const uint8_t *text) {}

// A text in a rectangle; not built yet: nothing is drawn.
void PrinterTextInColumn(const uint8_t *text, const PackedDecimal c[4], const uint8_t *fontRecord, int align) {}

// A form's text element; not built yet: nothing is drawn.
void PrinterFormText(const uint8_t *text, const uint8_t *element) {}

// A form's line or frame element; not built yet: nothing is drawn.
void PrinterFormLine(const uint8_t *element) {}

// A report's line element; not built yet: nothing is drawn.
void PrinterReportLine(const uint8_t *element) {}
