// field_rules.cpp - the texts of fields whose text the window supplies
// (type 28); whether a field may be edited is in edit_rules.cpp.
//
// The voucher window (117) supplies the reference of its link rows (kinds
// 3 and 4): the voucher they name, typed and shown as "year.number".
#include "recordwin/record_windows.h"

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "recordwin/window_rows.h"
#include "rules/series_terms.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = TRVc::Rows;
constexpr int VoucherWindow = 117;
constexpr uint16_t ReferenceRowKind = 3, LinkRowKind = 4;

// Reads the voucher row under screen field F of a voucher window into r
// when it is a row that names another voucher; false otherwise.
bool ReferenceRowAt(int window, int F, uint8_t *r, int *row)
{
    if (WinTypeOf(window) != VoucherWindow || !WinRecordIs(window, TRVc::Number)) return false;
    FieldPlace at = WinFieldPlace(window, F);
    const uint8_t *voucher = WinRecordBuffer(window);
    if (!at.IsCell() || !voucher || !MatrixRowGet(TRVc::Number, 0, voucher, at.row, r)) return false;
    uint16_t kind = GetU16(r, Row::Kind);
    *row = at.row;
    return kind == ReferenceRowKind || kind == LinkRowKind;
}

}  // namespace

// Takes a typed text into a field whose text the window supplies: in a
// voucher's link row, the reference of the voucher it names (its fiscal
// year's code and its number). A text that names no voucher beeps and
// leaves the reference as it was. `record` is the block under edit; the
// row is reached through the window's record. True when taken.
bool WinFieldFromTextByType(int window, uint8_t *record, int F, const uint8_t *text)
{
    (void)record;
    uint8_t r[Row::Size];
    int row = 0;
    if (!text || !ReferenceRowAt(window, F, r, &row)) return false;
    uint16_t code = 0;
    int32_t number = -1;
    if (!VoucherRefFromText(text, &code, &number)) {
        Beep();
        return false;
    }
    PutU16(r, Row::LinkYearCode, code);
    PutI32(r, Row::LinkSerNr, number);
    return MatrixRowPut(TRVc::Number, 0, WinRecordBuffer(window), row, r);
}

// The text the window supplies for data field F; empty (no header field
// of any type supplies one).
void WinFieldDisplayText(int window, int F, uint8_t *text)
{
    (void)window;
    (void)F;
    text[0] = 0;
}

// The text the window supplies for matrix cell F: a voucher link row's
// reference; empty for every other cell.
void MatrixCellDisplayText(int window, int F, uint8_t *text)
{
    text[0] = 0;
    uint8_t r[Row::Size];
    int row = 0;
    if (ReferenceRowAt(window, F, r, &row)) VoucherRefText(text, GetU16(r, Row::LinkYearCode), GetU32(r, Row::LinkSerNr));
}
