// layer_operations.cpp - small operations of the output layer that other
// subsystems call: a value written as a fixed-width export field, line
// feeds made carriage returns, the title of a saved report definition,
// and the empty action of two list windows.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "output/layer_operations.h"
#include "rules/documents.h"

namespace {

// Told when a number does not fit its export field; the job stops.
constexpr int TextValueTooWide = 11712;

// True for the field types whose text is a number: cutting it would
// write another amount.
bool IsNumberType(int type)
{
    switch (type) {
    case FtAmount2: case FtLongOrEmpty: case FtDebit: case FtCredit: case FtShort: case FtShortB:
    case FtPercent: case FtThousands: case FtMillions: case FtLong: case FtAmount1: case FtAmount0:
    case FtAmount3: case FtAmount3Drop:
        return true;
    default: return false;
    }
}

}  // namespace

// Builds the fixed-width field of a value into field (a PString of width
// characters of `fill`): the value's text by its type, at the left or,
// with right set, ending at the right edge. A text longer than the width
// is cut to its first width characters. A number never is: false, and
// field is left empty, when it does not fit.
bool PaddedField(const uint8_t *value, int type, int width, int fill, int right, uint8_t *field)
{
    assert(value && field);
    width = width < 0 ? 0 : width > 255 ? 255 : width;
    PString text;
    FieldToText(value, uint16_t(type), text);
    field[0] = 0;
    if (text[0] > width && IsNumberType(type)) return false;
    int n = text[0] < width ? text[0] : width;
    std::memset(field + 1, fill, size_t(width));
    field[0] = uint8_t(width);
    std::memcpy(field + 1 + (right == 1 ? width - n : 0), text + 1, size_t(n));
    return true;
}

// Writes a value as a fixed-width field of the export (see PaddedField).
// A number too wide for its field would be a wrong amount in the file:
// the user is told and the job stops, writing nothing more.
void RepPaddedValue(const uint8_t *value, int type, int width, int fill, int right)
{
    if (RepStopped) return;
    PString field;
    if (!PaddedField(value, type, width, fill, right, field)) {
        PString text;
        FieldToText(value, uint16_t(type), text);
        ShowMessage(TextValueTooWide, text);
        RepStopped = 1;
        return;
    }
    RepPollStop();
    if (RepStopped) return;
    RepWriteField(field);
}

// Every line feed (10) of a zero-terminated text becomes a carriage return (13).
void LfToCr(char *text)
{
    assert(text);
    for (; *text; text++)
        if (*text == '\n') *text = '\r';
}

// The title of saved report definition `number` (settings block 163,
// the row whose word 42 is the number: its text at byte 22). Empty when
// no row has the number.
void SavedReportTitle(int number, uint8_t *out)
{
    assert(out);
    out[0] = 0;
    MemBlock rows = 0;
    SettingsBlockFetch(&rows, ReportSelectionBlk::Number);
    constexpr uint32_t RowSize = ReportSelectionBlk::Rows::Size;
    const uint8_t *p = MemIsValid(rows) ? MemLock(rows) : nullptr;
    for (uint32_t r = 0, count = p ? MemSize(rows) / RowSize : 0; r < count; r++) {
        const uint8_t *row = p + r * RowSize;
        if (GetU16(row, ReportSelectionBlk::Rows::ReportNr) != uint16_t(number)) continue;
        GetText(row, ReportSelectionBlk::Rows::Title, out);
        break;
    }
    if (p) MemUnlock(rows);
    MemFree(&rows);
}

// The title of saved report definition `number`; a number that is a
// document kind with a name of its own takes that name.
void RepWindowText(int number, uint8_t *out)
{
    SavedReportTitle(number, out);
    DocKindText(number, out);
}

// The action of list windows that have nothing to do on it.
void RepNoOp(int) {}
