// record_store.cpp - storing a record window's record: trimming its rows,
// inserting or updating it through the record layer's checked writes,
// and the focus after a failed store.
//
// Every result other than RecDone was already told to the user by the
// layer (or by the trim, text 1006), so a failed store shows nothing more:
// it keeps the edit state and the record as edited, and puts the focus on
// the field the layer named in FieldErrorPos, switching the matrix-column
// page first; when no field is named the focus stays where it was.
#include <cassert>

#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "shell/field_editing.h"
#include "shell/login.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

enum class StoreWay { Insert, Update };

// A person's write by n is asked of the user's rights here as well (a
// client's server asks them itself): who may change a person's code,
// group or password, or anything of the administrator. A stored record
// that cannot be read leaves the update to the layer, which refuses it.
bool PersonWriteAllowed(int reg, const WindowRec *w, StoreWay way)
{
    if (reg != PEVc::Number || RunModeIsClient()) return true;
    if (way == StoreWay::Insert) return MayStorePersonHere(nullptr, nullptr);
    MemBlock h = 0;
    uint8_t *stored = RecBufferNew(PEVc::Number, &h);
    if (!stored) return false;
    bool allowed = !RecReadByIdLocal(PEVc::Number, w->recordId, stored) || MayStorePersonHere(stored, w->record);
    RecClear(PEVc::Number, stored);
    RecBufferFree(PEVc::Number, &h);
    return allowed;
}

// Inserts or updates n's record; true when stored. See the file comment
// for what a failure leaves.
bool StoreBy(int n, StoreWay way)
{
    assert(WinIsOpen(n));
    int empty = MatrixTrimBeforeSave(n);
    if (empty != 0) {
        WinGotoField(n, empty, true);
        return false;
    }
    WindowRec *w = WinTable[n];
    int reg = WinRegisterOf(n);
    int result = RecDone;
    if (!PersonWriteAllowed(reg, w, way)) return false;
    if (reg != 0) {
        // The status strip tells what this store says (an invoice's stock
        // warning), or Ready: not what an earlier action told.
        StatusLineSet({});
        if (way == StoreWay::Insert) {
            uint32_t id = 0;
            RecInsertChecked(reg, w->record, &id, &result);
            if (result == RecDone) w->recordId = id;
        } else {
            RecUpdateChecked(reg, w->record, w->recordId, &result);
        }
    }
    if (result != RecDone) {
        WinFieldsSync(n);
        WinStoreFailedFocus(n, result);
        return false;
    }
    WinRecordRefresh(n);
    return true;
}
}  // namespace

// Commits the field under edit and stores n's record by its edit state:
// state 1 inserts, state 2 updates, any other state has nothing to store
// and gives true. A typed date the field refuses stores nothing (false,
// the user told and left in the field).
bool StoreWindowRecord(int n)
{
    if (!WinIsOpen(n) || WinTypedTextRefused(n)) return false;
    WinCommitField(n);
    switch (WinRecState(n)) {
    case 1: return WinInsertRecord(n);
    case 2: return WinUpdateRecord(n);
    default: return true;
    }
}

// The OK of a record window: stores the record and shows it as stored
// (state 0). A window opened from another window's field then closes,
// giving the record's key to that field. Otherwise, and after a failure,
// the focus goes back to the current field. False for a window without a
// register and when the store failed.
bool WinStoreAndStay(int n)
{
    if (!WinIsOpen(n) || WinRegisterOf(n) == 0) return false;
    bool stored = StoreWindowRecord(n);
    if (stored) {
        WinSetRecState(n, 0);
        StateRefreshFlag = 1;
        if (WinOpenerOf(n)) {
            CloseRecordWindow(n);
            return true;
        }
    }
    WinGotoField(n, WinTable[n]->currentField, true);
    return stored;
}

// Commits the field under edit and drops the empty rows at the end of
// n's matrix. 0 when the rows may be stored; when an empty row is left
// between filled rows, tells the user (text 1006) and gives the screen
// field of that row's first cell.
int MatrixTrimBeforeSave(int n)
{
    if (!WinIsOpen(n)) return 0;
    WinCommitField(n);
    if (!WinHasMatrix(n)) return 0;
    int row = MatrixTrimEmptyRows(n);
    if (row < 0 || row >= NoField || row >= WinMatrixRowCount(n)) return 0;
    int first = 0, cells = 0;
    MatrixGeometry(n, &first, &cells);
    ShowTextMessage(Texts::EmptyRowFirst);
    return first + row * cells;
}

// Inserts n's new record; the new record id goes into the window. True
// when stored.
bool WinInsertRecord(int n) { return StoreBy(n, StoreWay::Insert); }

// Updates n's changed record (the layer frees n's lock on it). True when
// stored.
bool WinUpdateRecord(int n) { return StoreBy(n, StoreWay::Update); }

// Moves the focus after a store of n that failed with `result` (already
// told to the user): to the field FieldErrorPos names, else back to the
// current field.
void WinStoreFailedFocus(int n, int result)
{
    if (!WinIsOpen(n) || result == RecDone) return;
    ErrorPosition at = FieldErrorPos;
    if (at.field != RecFocusNone)
        WinGotoRecordField(n, at.field, at.row, at.column);
    else if (WinTable[n]->currentField > 0)
        WinGotoField(n, WinTable[n]->currentField, true);
}

// Focuses the screen field of n that shows record field `field` (for a
// row cell: the rows handle's offset, the row and the cell's offset in
// the row). When that field is on another matrix-column page, the field
// under edit is committed and that page shown first. Nothing when no
// screen field shows it.
void WinGotoRecordField(int n, uint32_t field, int row, uint32_t column)
{
    if (!WinIsOpen(n)) return;
    int page = 0;
    int F = WinFieldNumberOf(n, field, row, column, &page);
    if (F == NoField || F <= 0) return;
    WindowRec *w = WinTable[n];
    int shown = w->matrixColumnPage ? w->matrixColumnPage : 1;   // 0 at open: the first page
    if (page > 0 && page != shown) {
        WinCommitField(n);
        w->matrixColumnPage = uint16_t(page);
        WinMarkChanged(n);
    }
    WinGotoField(n, F, true);
}
