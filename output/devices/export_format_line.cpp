// export_format_line.cpp - the format line at the head of an export.
#include "output/devices/report_output.h"

#include <cstdint>

#include "core/file_form.h"
#include "core/format_block.h"
#include "output/output_job.h"

namespace {
constexpr int FieldTypeShort = 10;   // a 16-bit integer
}

// Prints the line that tells a reader of the export how its values are
// written: the word "format", then the date order, the decimal separator
// (its character code, signed) and the program's byte-order flag as three
// 16-bit values, each at position 0 with the default width and left
// alignment; an empty line follows.
void PrintFormatLine()
{
    static const uint8_t word[] = {6, 'f', 'o', 'r', 'm', 'a', 't'};
    RepText(0, 0, word, 0);
    RepLineFeed();
    const int16_t values[3] = {int16_t(CurrentFormat->dateOrder), int16_t(int8_t(CurrentFormat->decimalSep[1])),
                               int16_t(ByteOrder.program)};
    for (const int16_t &v : values) RepValue(0, 0, reinterpret_cast<const uint8_t *>(&v), FieldTypeShort, 0);
    RepLineFeed();
    RepLineFeed();
}
