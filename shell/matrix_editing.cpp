// matrix_editing.cpp - inserting, deleting and crossing out matrix rows
// of a record window, and the Edit commands on its rows. Every change of
// rows starts the edit first (the record's lock), so a row is never
// changed in a record shown read-only.
#include "shell/matrix_editing.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "core/message_sink.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "outputwin/designer.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/report_commands.h"
#include "shell/window_drawing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {
constexpr int HiddenTextType = 25;

// Asks n's type event `event` about row `row`; its answer.
uint8_t RowEvent(int n, WindowEventCode event, int row)
{
    int16_t r = int16_t(row);
    return WindowEvent(n, event, &r, nullptr);
}

// Drops a message while a row question is asked quietly.
void Unheard(const char *) {}

// Starts the edit of n when it shows a stored record; true when n may now
// be changed (the lock was had, or it is a new or changed record).
bool EditStarted(int n)
{
    if (WinRecState(n) == 0) WinBeginEdit(n);
    return WinIsOpen(n) && WinRecState(n) != 0;
}

// The 0-based row of n's matrix that is selected again after row `gone`
// was deleted: the row now in its place; -1 when the last row went.
// Nothing moves up into a last row's place, and the row above is one the
// user never chose: a second Delete (a key pressed twice or held) must
// find no row to delete.
int RowAfterDelete(int n, int gone) { return gone < WinMatrixRowCount(n) ? gone : -1; }

// Whether the user was told something while it lived: the message sink
// counts what it passes on to the one installed before (an inner scope
// counts into the outer's). A refusal its type explained needs no word
// of the framework's.
class ToldWhile {
public:
    ToldWhile() : start(heard)
    {
        MessageSink previous = MessageSinkSet(Note);
        inner = previous == Note;
        if (!inner) passOn = previous;
    }
    ~ToldWhile()
    {
        if (!inner) MessageSinkSet(passOn);
    }
    ToldWhile(const ToldWhile &) = delete;
    ToldWhile &operator=(const ToldWhile &) = delete;
    bool Told() const { return heard != start; }

private:
    static inline MessageSink passOn = nullptr;
    static inline unsigned long heard = 0;
    static void Note(const char *text)
    {
        heard++;
        if (passOn) passOn(text);
    }
    unsigned long start;
    bool inner = false;
};

// Where in a row of n's matrix its attribute word stands (a crossed-out
// row has 1 there), and the rows' size; false when the rows have none.
bool RowAttributeWord(int n, int *rowSize, int *attr)
{
    int kindOffset = 0;
    MatrixColumnInfo(n, 0, rowSize, &kindOffset);
    *attr = MatrixColumnInfo2(n, 0);
    return *rowSize > 0 && *attr >= 0 && *attr + 2 <= *rowSize;
}

// Crosses row `row` of n out (attribute word 1, the row kept and drawn
// struck) and tells the type; false when the rows have no attribute
// word to mark, so the row stays as it was.
bool CrossOutRow(int n, int row)
{
    int rowSize = 0, attr = 0;
    if (!RowAttributeWord(n, &rowSize, &attr)) return false;
    MemBlock rows = WinMatrixRows(n);
    uint8_t *p = MemLock(rows);
    if (!p) return false;
    size_t at = size_t(row) * size_t(rowSize) + size_t(attr);
    bool marked = at + 2 <= MemSize(rows);
    if (marked) {
        uint16_t crossed = 1;
        memcpy(p + at, &crossed, 2);
    }
    MemUnlock(rows);
    if (!marked) return false;
    RowEvent(n, WindowEventCode::RowsChanged, row);
    WinMarkChanged(n);
    return true;
}

// The answer a record merely shown gives as a command finds it once its
// edit has started: n is taken as being changed (state 2) with the record
// it shows as its stored copy, which it is while shown. The state and the
// copy are put back as the scope ends; nothing is drawn meanwhile.
struct AsIfChanging {
    WindowRec *w;
    uint16_t state;
    uint8_t *stored;
    explicit AsIfChanging(int n) : w(WinTable[n]), state(w->editState), stored(w->stored)
    {
        if (state != 0) return;
        w->editState = 2;
        w->stored = w->record;
    }
    ~AsIfChanging()
    {
        w->editState = state;
        w->stored = stored;
    }
    AsIfChanging(const AsIfChanging &) = delete;
    AsIfChanging &operator=(const AsIfChanging &) = delete;
};
}  // namespace

// Inserts an empty row of kind 1 at row `row` of n's matrix when the
// matrix has room and n's type allows it, starting the edit first; the
// new row becomes the current row, and the row selected as a row, when
// there was one, is the new row. The cell under edit is taken in before
// the rows move, as for a delete: its control is bound to a place in the
// rows that would then belong to the row below.
void MatrixRowInsertCmd(int n, int row)
{
    if (!WinIsOpen(n) || !WinHasMatrix(n)) return;
    if (WinMatrixRowCount(n) >= MatrixMaxRows(n)) return;
    if (!RowEvent(n, WindowEventCode::MayInsertRow, row)) return;
    if (!EditStarted(n)) return;
    WinCommitField(n);
    if (!WinIsOpen(n)) return;
    int before = WinMatrixRowCount(n);
    WinMatrixInsertRow(n, row, 1);
    if (WinMatrixRowCount(n) == before + 1) WinSelectRow(n, row, true);
}

// Inserts an empty row of kind `kind` before row `row` of n's matrix;
// the rows from `row` on move down. Nothing for a row at or after the
// end, and nothing (memory short, told) when the matrix cannot grow.
void WinMatrixInsertRow(int n, int row, int kind)
{
    if (!WinIsOpen(n) || !WinHasMatrix(n)) return;
    int count = WinMatrixRowCount(n);
    if (row < 0 || row >= count) return;
    int rowSize = 0, kindOffset = 0;
    MatrixColumnInfo(n, 0, &rowSize, &kindOffset);
    if (rowSize <= 0 || !MatrixResize(n, count + 1)) return;
    MemBlock rows = WinMatrixRows(n);
    uint8_t *p = MemLock(rows);
    if (!p || MemSize(rows) < uint32_t(count + 1) * uint32_t(rowSize)) {
        if (p) MemUnlock(rows);
        MatrixDeleteRow(n, count);   // back to the rows it had
        return;
    }
    memmove(p + size_t(row + 1) * size_t(rowSize), p + size_t(row) * size_t(rowSize),
            size_t(count - row) * size_t(rowSize));
    MemUnlock(rows);
    MatrixRowsClear(n, kind, row, row);
    WinMarkChanged(n);
}

// Deletes row `row` of n's matrix when n's type allows it (event 4); when
// it does not, the type may have the row crossed out instead (event 13):
// its attribute word becomes 1 and the row is kept, drawn struck. The edit
// is started first. A delete refused gives that edit back, so a record
// shown as stored stays so (its title, no lock held, nothing to ask at
// closing), and is told (text RowKept) where neither the type nor the
// lock said why. A row outside the matrix is left alone.
void MatrixRowDeleteCmd(int n, int row)
{
    if (!WinIsOpen(n) || !WinHasMatrix(n)) return;
    if (row < 0 || row >= WinMatrixRowCount(n)) return;
    ToldWhile heard;
    const bool shown = WinRecState(n) == 0;
    if (shown) WinBeginEdit(n);
    if (!WinIsOpen(n)) return;
    const bool editing = WinRecState(n) != 0;
    if (editing && RowEvent(n, WindowEventCode::MayDeleteRow, row)) {
        // The cell under edit is taken in before the rows move: its edit
        // control is bound to a place in the rows, which after the delete
        // would belong to the next row, and OK would write the deleted
        // row's text over it.
        WinCommitField(n);
        if (!WinIsOpen(n)) return;
        const bool banded = MatrixBandRow(n) == row;
        MatrixDeleteRow(n, row);
        RowEvent(n, WindowEventCode::RowsChanged, row);
        WinMarkChanged(n);
        // A row selected as a row leaves the band where it was, on the
        // row now there, so that Delete again deletes the next row; a row
        // deleted from the caret sets no band.
        int again = RowAfterDelete(n, row);
        if (banded) MatrixSelectBand(n, 0, again, WinMatrixRowCount(n) - 1);
        WinSelectRow(n, again, true);
        return;
    }
    if (editing && WinIsOpen(n) && RowEvent(n, WindowEventCode::MayClearRow, row) && CrossOutRow(n, row)) return;
    if (!WinIsOpen(n)) return;
    if (shown) WinGiveBackEdit(n);
    if (!heard.Told()) ShowTextMessage(Texts::RowKept);
}

// Whether Delete on row `row` of n would take the row away or cross it
// out, asked of n's type without a word to the user: the menus grey Edit
// > Delete row where it can do nothing, and only the command tells why.
// A record merely shown is asked as the command would find it: its edit
// started (the type lets it be changed), the record being changed.
bool MatrixRowMayDeleteQuietly(int n, int row)
{
    if (!WinIsOpen(n) || !WinHasMatrix(n) || row < 0 || row >= WinMatrixRowCount(n)) return false;
    MessageSink told = MessageSinkSet(Unheard);
    MessageSink notices = NoticeSinkSet(Unheard);
    BeepSink beep = BeepSinkSet(nullptr);
    bool may = false;
    if (WinRecState(n) != 0 || WindowEvent(n, WindowEventCode::RecordOpen, nullptr, nullptr) != 0) {
        AsIfChanging asked(n);
        may = RowEvent(n, WindowEventCode::MayDeleteRow, row) != 0;
        int rowSize = 0, attr = 0;
        if (!may && RowEvent(n, WindowEventCode::MayClearRow, row) != 0) may = RowAttributeWord(n, &rowSize, &attr);
    }
    BeepSinkSet(beep);
    NoticeSinkSet(notices);
    MessageSinkSet(told);
    return may;
}

// The row of n's matrix Edit > Insert row and Delete row work on: the row
// selected as a row, else the row of the focused cell; -1 when there is
// neither or the row is not in the matrix. *column is the focused cell's
// column (-1 for a row selected as a row).
int MatrixCurrentRowAt(int n, int *column)
{
    *column = -1;
    if (!WinIsOpen(n) || !WinHasMatrix(n)) return -1;
    int row = MatrixBandRow(n);
    if (row < 0 && MatrixAtEnd(n)) MatrixRowAt(n, WinTable[n]->currentField, &row, column);
    if (row < 0 || row == NoField || row >= WinMatrixRowCount(n)) return -1;
    return row;
}

// Whether n's type would take a row inserted at `row` now (event 9),
// asked without a word to the user: the menus ask it to grey Edit >
// Insert row where nothing can be inserted, and only the command itself
// tells why a row is refused.
bool MatrixRowMayInsertQuietly(int n, int row)
{
    if (!WinIsOpen(n) || !WinHasMatrix(n) || WinMatrixRowCount(n) >= MatrixMaxRows(n)) return false;
    MessageSink told = MessageSinkSet(Unheard);
    MessageSink notices = NoticeSinkSet(Unheard);
    BeepSink beep = BeepSinkSet(nullptr);
    const bool may = RowEvent(n, WindowEventCode::MayInsertRow, row) != 0;
    BeepSinkSet(beep);
    NoticeSinkSet(notices);
    MessageSinkSet(told);
    return may;
}

// Edit > Insert row: an empty row before the row selected as a row, or
// before the row of the focused cell, whose column in the new row then
// gets the focus, so that typing goes on in the row inserted.
static void MatrixInsertRowHere(int n)
{
    int column = -1, row = MatrixCurrentRowAt(n, &column);
    if (row < 0) return;
    int before = WinMatrixRowCount(n);
    MatrixRowInsertCmd(n, row);
    if (!WinIsOpen(n) || column < 0 || WinMatrixRowCount(n) != before + 1) return;
    int first = 0, cells = 0;
    MatrixGeometry(n, &first, &cells);
    WinGotoField(n, first + row * cells + column, true);
}

// Edit > Delete row with the caret in a cell and no row selected as a
// row: the caret's row is deleted (or crossed out, as the type says), and
// the caret goes to the same column of the row now in its place. The
// command names the row it deletes, as Insert row does; a key typed into
// a cell never reaches here.
static void MatrixDeleteCaretRow(int n, int row, int column)
{
    int before = WinMatrixRowCount(n);
    MatrixRowDeleteCmd(n, row);
    if (!WinIsOpen(n) || WinMatrixRowCount(n) != before - 1 || before - 1 == 0) return;
    int first = 0, cells = 0;
    MatrixGeometry(n, &first, &cells);
    WinGotoField(n, first + std::min(row, before - 2) * cells + column, true);
}

// Runs Edit item `item` on n's rows: 6 deletes the row selected as a row
// (the window's delete command), else the caret's row; 7 inserts a row
// (MatrixInsertRowHere); 8 selects the row of the focused cell as a row.
void MatrixRowCommand(int n, int item)
{
    if (!WinIsOpen(n)) return;
    if (item == 6) {
        int column = -1, row = MatrixCurrentRowAt(n, &column);
        if (row >= 0 && column >= 0)
            MatrixDeleteCaretRow(n, row, column);
        else
            WindowDeleteCommand(n);
        return;
    }
    if (item == 7) {
        MatrixInsertRowHere(n);
        return;
    }
    if (item != 8 || !WinHasMatrix(n) || !MatrixAtEnd(n)) return;
    int first = 0, cells = 0;
    MatrixGeometry(n, &first, &cells);
    int current = WinTable[n]->currentField;
    if (cells <= 0 || current < first) return;
    int row = (current - first) / cells;
    WinCommitField(n);
    if (!WinIsOpen(n)) return;
    MatrixSelectBand(n, 0, row, WinMatrixRowCount(n) - 1);
    WinSelectRow(n, row, true);
    WinMarkChanged(n);
}

// The delete command of n (Edit 6, and Backspace and Delete with a row
// selected as a row): that row is deleted; otherwise a field under edit
// is checked for being editable (a key field of a stored record is
// refused with text 1512), the characters themselves being the edit
// control's. The job-queue window deletes with that window; a form
// designer deletes its selected items; the report list its selected
// saved selection.
void WindowDeleteCommand(int n)
{
    if (!WinIsOpen(n)) return;
    int type = WinTypeOf(n);
    if (type == WinTypes::JobQueue) return;
    if (type == WinTypes::ReportList) {
        ReportSelectionDelete(n);
        return;
    }
    if (type == WinTypes::FormDesigner) {
        DesignerDeleteSelection(n);
        return;
    }
    WindowRec *w = WinTable[n];
    if (MatrixHasSelection(n)) {
        MatrixRowDeleteCmd(n, MatrixBandRow(n));
        return;
    }
    if (!w->editControl || w->editFieldType == HiddenTextType) return;
    (void)WinBeginFieldEdit(n, 1);
}
