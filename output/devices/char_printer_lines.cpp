// char_printer_lines.cpp - what the character printer sends to its port:
// characters through the character tables, lines with their overstrike
// pass, printer control strings, and the port itself.
//
// Not built yet: nothing is sent; a send stops the job.
#include "output/devices/device_table.h"

// Sends a character; not built yet: the job stops (false).
bool PrinterPutChar(uint8_t)
{
    RepStopped = 1;
    return false;
}

// Sends a line; not built yet: the job stops (false).
bool PrinterPutLine(const uint8_t *, int, int)
{
    RepStopped = 1;
    return false;
}

// The bytes of a control text; not built yet: none (out empty).
void PrinterControlString(const uint8_t *, uint8_t *out) { out[0] = 0; }

// Opens the port; not built yet: refused (told, stopped).
bool CharPortBegin(const uint8_t *) { return RepDeviceNotYet(); }

// Sends bytes to the port; not built yet: the job stops (false).
bool CharPortSend(const uint8_t *, uint32_t)
{
    RepStopped = 1;
    return false;
}

// Closes the port; not built yet: does nothing.
void CharPortEnd() {}
