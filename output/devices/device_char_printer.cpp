// device_char_printer.cpp - the character printer on a port (kind 10):
// its text and overstrike lines, texts, rules and advances.
//
// Not built yet: a job on it is refused (told, stopped).
#include "output/devices/device_table.h"

namespace {

// The job start of a device not built yet: refused.
bool OpenNotYet(const uint8_t *) { return RepDeviceNotYet(); }

}  // namespace

const RepDevice CharPrinterDevice = {.openJob = OpenNotYet};

// Places a text in the line buffers; not built yet: does nothing.
void CharPrinterText(int, int, int, const uint8_t *) {}

// Fills the text line with rule characters; not built yet: does nothing.
void CharPrinterRule(int, int, int) {}

// Blanks the line buffers; not built yet: does nothing.
void RepBlankLine() {}

// Prints the line buffers; not built yet: does nothing.
void CharPrinterFlushLine() {}
