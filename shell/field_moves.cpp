// field_moves.cpp - moving the focus between the fields of a record
// window, and finding the screen field that shows a record field.
//
// Screen fields are numbered from 1: the data fields, then with a matrix
// its cells row by row from the matrix's first field number. Tab forward
// may step into the row after the last, which the focusing adds (and a
// store trims again when it stays empty); moving backwards never adds a
// row: it wraps to the last cell of the last existing row.
#include <cstring>

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/window_entries.h"
#include "shell/field_editing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {


// Entry i of part `part` of n's layout; null when there is none.
const uint8_t *LayoutEntry(int n, int part, int i)
{
    uint16_t size;
    uint8_t *def = WinTypeDef(WinTypeOf(n));
    return def ? WinDefPartEntry(def, part, i, &size) : nullptr;
}

// The number of n's data fields.
int DataFieldCount(int n)
{
    uint8_t *def = WinTypeDef(WinTypeOf(n));
    return def ? WinDefPartCount(def, WinPartDataFields) : 0;
}
constexpr int NoMatrixFirst = 10000;

// Where n's fields end for the moves.
struct FieldRange {
    int first = NoMatrixFirst;  // first matrix field
    int cells = 1;              // cells per row
    int lastForward = 0;        // the last field a forward move tries
    int lastBackward = 0;       // the field a backward move wraps to
};

// Works out n's field range: without a matrix both ends are the last
// data field; with one, forward moves may reach the row after the last
// (up to the most rows the matrix holds), backward moves wrap to the last
// cell of the last existing row, or without rows to the last data field
// (the first cell when there is none).
FieldRange RangeOf(int n)
{
    FieldRange f;
    int dataFields = DataFieldCount(n);
    if (!WinHasMatrix(n)) {
        f.lastForward = f.lastBackward = WinFieldCount(n);
        return f;
    }
    MatrixGeometry(n, &f.first, &f.cells);
    if (f.cells < 1) f.cells = 1;
    int rows = WinMatrixRowCount(n), maxRows = MatrixMaxRows(n);
    f.lastForward = maxRows > 0 ? f.first + maxRows * f.cells - 1 : f.first - 1;
    if (rows > 0)
        f.lastBackward = f.first + rows * f.cells - 1;
    else
        f.lastBackward = dataFields > 0 ? dataFields : f.first;
    return f;
}

// The layout entry of screen field F of n when F is a data field; null
// for a matrix cell (cells are numbered from the matrix's first field,
// which may lie among the data fields' numbers) and for no field.
const uint8_t *DataFieldEntry(int n, int F, const FieldRange &f)
{
    if (F < 1 || F > DataFieldCount(n) || (WinHasMatrix(n) && F >= f.first)) return nullptr;
    return LayoutEntry(n, WinPartDataFields, F - 1);
}

// True when the moves pass over screen field F of n: a data field that is
// never typed into (access read-only, such as a voucher's totals), so
// that Tab from the last typed header field reaches the rows. A cell is
// never passed over.
bool PassedOver(int n, int F, const FieldRange &f)
{
    const uint8_t *entry = DataFieldEntry(n, F, f);
    return entry && DefU16(entry + FieldEntry::Access) == AccessReadOnly;
}

// True when screen field F of n is in sight: a matrix cell, or a data
// field of a page shown.
bool InSight(int n, int F, const FieldRange &f)
{
    if (F < 1) return false;
    const uint8_t *entry = DataFieldEntry(n, F, f);
    return !entry || WinPageShown(n, DefU16(entry + FieldEntry::Page));
}

// Where a move from `start` in direction `step` (1 or -1) begins: past the
// read-only fields there when a field in sight follows them; otherwise at
// `start` (a move never jumps to another page for skipping them).
int PastReadOnly(int n, int start, int step, const FieldRange &f)
{
    int F = start;
    while (F >= 1 && F <= f.lastForward && PassedOver(n, F, f)) F += step;
    return F != start && InSight(n, F, f) ? F : start;
}

// True when screen field F of n is a data field of page 0, the header
// every page of the window shows.
bool HeaderField(int n, int F, const FieldRange &f)
{
    const uint8_t *entry = DataFieldEntry(n, F, f);
    return entry && DefU16(entry + FieldEntry::Page) == 0;
}

// The page n's rows are on; -1 without rows.
int RowsPage(int n)
{
    const uint8_t *area = WinHasMatrix(n) ? LayoutEntry(n, WinPartMatrixAreas, 0) : nullptr;
    return area ? DefU16(area + MatrixEntry::Page) : -1;
}

// The cell of the first row that a move into the rows enters: its first
// cell, past a leading 16-bit number column (a row's kind, such as an
// invoice row's, shown as a number or in words, which a row of the usual
// kind leaves as it is) when another column follows it on the shown
// column page.
int RowsEntryField(int n, const FieldRange &f)
{
    const uint8_t *column = MatrixColumnAt(n, MatrixRowKind(n, 0), 0);
    const uint16_t type = column ? DefU16(column + ColumnEntry::Type) : 0;
    bool kindFirst = column && (type == FtShort || type == FtChoice) && f.cells > 1;
    return f.first + (kindFirst ? 1 : 0);
}

// Where a forward move from field `current` of n goes when it leaves the
// header for the rows: with the rows in sight, a move from a header field
// whose next field (past the read-only ones) belongs to one page only
// (the totals and fields under the rows, or a page not shown) enters the
// first row at its entry cell. 0 when the move stays among the fields or
// already reaches the rows.
int ForwardIntoRows(int n, int current, const FieldRange &f)
{
    if (!WinHasMatrix(n) || !HeaderField(n, current, f) || !WinPageShown(n, RowsPage(n))) return 0;
    const uint8_t *next = DataFieldEntry(n, PastReadOnly(n, current + 1, 1, f), f);
    return next && DefU16(next + FieldEntry::Page) != 0 ? RowsEntryField(n, f) : 0;
}

// Where a backward move from cell `current` of n goes when it leaves the
// rows for the header: from the first row past its first cell, the last
// header field that takes the focus (past the read-only ones), not the
// fields of one page that follow the header in number. 0 when the move
// stays in the rows or n has no header field.
int BackwardOutOfRows(int n, int current, const FieldRange &f)
{
    if (!WinHasMatrix(n) || current != f.first) return 0;
    for (int F = f.first - 1; F >= 1; F--)
        if (HeaderField(n, F, f) && !PassedOver(n, F, f)) return F;
    return 0;
}

// Focuses the first field from `start` upwards that takes the focus; past
// the last, field 1.
bool TryForward(int n, int start, const FieldRange &f)
{
    for (int F = PastReadOnly(n, start < 1 ? 1 : start, 1, f); F <= f.lastForward; F++)
        if (WinGotoField(n, F, true)) return true;
    return WinIsOpen(n) && WinGotoField(n, 1, true);
}

// Focuses the first field from `start` downwards that takes the focus;
// below 1, the first from the backward end downwards.
bool TryBackward(int n, int start, const FieldRange &f)
{
    for (int F = PastReadOnly(n, start, -1, f); F >= 1; F--)
        if (WinGotoField(n, F, true)) return true;
    for (int F = f.lastBackward; F >= 1 && WinIsOpen(n); F--)
        if (WinGotoField(n, F, true)) return true;
    return false;
}

// The screen field Return goes to from field `current` of n: the field its
// link names, or 0 when it names none.
int ReturnTarget(int n, int current)
{
    if (current < 1) return 0;
    const uint8_t *entry = LayoutEntry(n, WinPartDataFields, current - 1);
    if (!entry) return 0;
    uint16_t link = DefU16(entry + FieldEntry::ReturnLink);
    if (link == NoEntryOffset) return 0;
    int F = WinScreenFieldOfOffset(n, link);
    return F == NoField ? 0 : F;
}

}  // namespace

// Moves the focus of n by mode: 1 field 1, 2 next, 3 previous, 5 up a
// row, 6 down a row, 7 Return (commit, event 7, then the field the
// current one links to, else the next). False when no field took the
// focus, the field under edit refuses what was typed (the focus stays
// there), or the mode is none of these.
bool MoveFieldFocus(int n, int mode)
{
    if (!WinIsOpen(n) || WinTypedTextRefused(n)) return false;
    int current = WinTable[n]->currentField;
    FieldRange f = RangeOf(n);
    switch (mode) {
    case 1: return WinGotoField(n, 1, true);
    case 2: {
        int rows = ForwardIntoRows(n, current, f);
        return rows && WinGotoField(n, rows, true) ? true : TryForward(n, current + 1, f);
    }
    case 3: {
        int header = BackwardOutOfRows(n, current, f);
        return header && WinGotoField(n, header, true) ? true : TryBackward(n, current - 1, f);
    }
    case 5: {
        int start = current >= f.first + f.cells ? current - f.cells : current < f.first ? current - 1 : f.first - 1;
        return TryBackward(n, start, f);
    }
    case 6: return TryForward(n, current >= f.first ? current + f.cells : current + 1, f);
    case 7: {
        WinCommitField(n);
        if (!WinIsOpen(n)) return false;
        int16_t field = int16_t(current);
        if (!WindowEvent(n, WindowEventCode::Enter, &field, nullptr) || !WinIsOpen(n)) return false;
        int target = ReturnTarget(n, current);
        if (!target) {
            int rows = ForwardIntoRows(n, current, f);
            if (rows && WinGotoField(n, rows, true)) return true;
        }
        return TryForward(n, target ? target : current + 1, f);
    }
    default: return false;
    }
}

// The screen field of n showing a record field, and in *page the matrix
// column page it is on. A data field is found by its record offset. For
// the matrix handle, `row` (0-based) and `rowOffset` name a cell: the
// column of the row's kind at that offset, one shown on the current
// column page (or on every page) first, else the last found on another
// page, whose page is then given back. NoField when not shown.
int WinFieldNumberOf(int n, uint32_t field, int row, uint32_t rowOffset, int *page)
{
    *page = WinIsOpen(n) ? WinTable[n]->matrixColumnPage : 0;
    if (!WinIsOpen(n)) return NoField;
    bool matrixHandle = WinHasMatrix(n) && WinRecordHandleOffset(n) >= 0 && field == uint32_t(WinRecordHandleOffset(n));
    if (!matrixHandle) {
        for (int i = 0; const uint8_t *entry = LayoutEntry(n, WinPartDataFields, i); i++) {
            uint32_t at;
            memcpy(&at, entry + FieldEntry::Offset, 4);
            if (at == field) return i + 1;
        }
        return NoField;
    }
    if (row < 0 || (MatrixMaxRows(n) > 0 && row >= MatrixMaxRows(n))) return NoField;
    int kind = MatrixRowKind(n, row), current = *page;
    int found = -1, foundPage = 0;
    for (int i = 0; const uint8_t *column = LayoutEntry(n, WinPartMatrixColumns, i); i++) {
        uint32_t at;
        memcpy(&at, column + ColumnEntry::Offset, 4);
        if (DefU16(column + ColumnEntry::Kind) != kind || at != rowOffset) continue;
        int colPage = DefU16(column + ColumnEntry::ColPage);
        if (colPage == 0 || colPage == current) {
            found = i;
            foundPage = current;
            break;
        }
        found = i;
        foundPage = colPage;
    }
    if (found < 0) return NoField;
    // The cell's index among the columns of the kind shown on that page.
    int index = 0;
    for (int i = 0; i < found; i++) {
        const uint8_t *column = LayoutEntry(n, WinPartMatrixColumns, i);
        int colPage = DefU16(column + ColumnEntry::ColPage);
        if (DefU16(column + ColumnEntry::Kind) == kind && (colPage == 0 || colPage == foundPage)) index++;
    }
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    *page = foundPage;
    return first + row * cells + index;
}
