// text_writer.cpp - the export side of the text exchange: single values
// written as fields of the current output job, whose text-file device
// separates them by TAB and ends lines with CR LF.
#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "core/pstring.h"
#include "exchange/exchange.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"

// Writes a value of a field type as one field at x 0; nothing for a null
// value. Amounts go out without grouping and dates in the current order,
// as the text-file device formats them.
void ExportValue(const void *value, uint16_t type)
{
    if (!value) return;
    RepValue(0, 0, static_cast<const uint8_t *>(value), type, 0);
}

// ExportValue; the third word is not read.
void ExportValueEx(const void *value, uint16_t type, int unused)
{
    ExportValue(value, type);
}

// Writes a PString as a text field; nothing for a null text.
void ExportText(const uint8_t *text)
{
    if (!text) return;
    RepText(0, 0, text, 0);
}

// Writes a zero-terminated text (at most 254 characters) as a text field.
void ExportCString(const char *text)
{
    if (!text) return;
    PString p;
    PStringFromC(p, text);
    ExportText(p);
}

// Writes a 32-bit value as a field.
void ExportLong(uint32_t value)
{
    uint8_t bytes[4];
    std::memcpy(bytes, &value, 4);
    ExportValue(bytes, FtLongOrEmpty);
}

// Ends the export line.
void ExportLineFeed()
{
    RepLineFeed();
}

// Shows a value, formatted by its type, as the export's status text (the
// key of the record being written).
void ExportNumber(const void *value, uint16_t type)
{
    if (!value) return;
    PString text;
    FieldToText(static_cast<const uint8_t *>(value), type, text);
    RepStatusText(text);
}

// Writes a PString and CR LF; 0 when all was written.
int FileDeviceWriteLine(OutStream *s, const uint8_t *text)
{
    assert(text);
    return StreamWriteLine(s, text);
}

// Called for each output file made; there is nothing to do for one.
int FileCreatedNoOp()
{
    return 0;
}
