// printer_fonts.cpp - the fonts a print job draws with.
#include "output/printer.h"

// Makes the job's fonts; not built yet: none is made (false).
bool PrinterFontsInit() { return false; }

// Selects the normal or the bold font; not built yet: nothing.
void SelectFontOf(bool bold) {}

// Selects a face at a height; not built yet: nothing.
void PrinterFontSized(const uint8_t *face, int unused, int height) {}

// Selects a font record's font; not built yet: nothing.
void PrinterFontSelect(const uint8_t *fontRecord) {}
