// record_edit_begin.cpp - starting the edit of a shown record: the
// type's consent, the lock, and a record changed by another user
// meanwhile.
#include <cassert>
#include <cstring>

#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_table.h"

namespace {

// Report (6), export (7) and maintenance (10) windows edit a job record
// laid out by its register: it is never stored, so there is no record to
// lock or to start anew, and typing goes straight into it.
bool JobRecordKind(int kind) { return kind == 6 || kind == 7 || kind == 10; }

// The rows handle at `offset` of a record of `size` bytes; 0 when none.
MemBlock RowsAt(const uint8_t *record, uint32_t size, int32_t offset)
{
    if (!record || offset < 0 || uint32_t(offset) + 4 > size) return 0;
    MemBlock h;
    memcpy(&h, record + offset, 4);
    return h != MatrixSlotDropped && h != MatrixSlotMarked && MemIsValid(h) ? h : 0;
}
}  // namespace

// Starts editing the record n shows (before its first change). The
// type may refuse (event 26, WinTypeMayOpen); a settings window takes
// its block's lock (a window of one settings record then shows the block
// as stored, telling the user when it changed since it was read), a register's window the record's lock, which reads
// the record as now stored (the figures the window shows without storing
// them brought up to date in both): when another user changed it
// meanwhile, the user is told (text 1404) and n shows it as stored. A lock that cannot
// be had (the layer told why) leaves n in state 0. An empty register
// window (no record shown) starts a new record instead, so typing into
// it is never lost; a job-record window takes neither. Then state 2.
void WinBeginEdit(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    if (WindowEvent(n, WindowEventCode::RecordOpen, nullptr, nullptr) == 0) return;
    if (!WinTypeMayOpen(WinTypeOf(n))) return;
    WindowRec *w = WinTable[n];
    int kind = WinKindOf(n);
    int reg = WinRegisterOf(n);
    if (kind == 8 || kind == 9) {
        if (!RegisterLockTakeCall(WinTypeWord(w->windowType, 9))) return;
        if (kind == 8 && SettingsRecordChanged(n)) {
            // Another window (or user) stored the block since n read it:
            // n shows it as now stored, so that its store loses nothing.
            WinCommitField(n);
            ShowTextMessage(Texts::RecordChangedMeanwhile);
            SettingsRecordReread(n);
            WinFieldsSync(n);
        }
    } else if (reg != 0 && !JobRecordKind(kind)) {
        if (w->recordId == 0) {
            // The store before the new record closes the field under edit:
            // it opens again for what is being typed.
            int field = w->currentField;
            if ((kind == 3 || kind == 11) && WinNewRecord(n) && field > 0) WinGotoField(n, field, true);
            return;
        }
        if (!RecordLockTakeCall(reg, w->recordId, w->stored)) return;
        WinShownFiguresRefresh(n);
        if (WinRecordDiffers(n)) {
            WinCommitField(n);
            ShowTextMessage(Texts::RecordChangedMeanwhile);
            WinRestoreStored(n);
            WinFieldsSync(n);
        }
    }
    WinEditStateDone(n);
}

// Gives back the edit of n that a command just started on a record shown
// as stored, when the command was refused and changed nothing: the lock
// goes and n shows the record as stored again (state 0), its title and
// bars as before, so that closing has no changes to ask about.
void WinGiveBackEdit(int n)
{
    if (!WinIsOpen(n) || WinRecState(n) != 2) return;
    WinReleaseLock(n);
    WinSetRecState(n, 0);
    StateRefreshFlag = 1;
}

// True when the record n shows differs from its stored copy (as just
// read): the fields the program keeps itself are first taken from the
// stored copy; with rows, the fixed part around the rows handle is
// compared, and the rows must hold what they held at the last refresh
// on both sides.
bool WinRecordDiffers(int n)
{
    assert(WinIsOpen(n));
    WindowRec *w = WinTable[n];
    int reg = WinRegisterOf(n);
    uint32_t size = WinTypeWord(w->windowType, 2);
    if (!w->record || !w->stored || size == 0) return false;
    if (reg) PreserveStoredFields(reg, w->stored, w->record);
    int32_t at = WinRecordHandleOffset(n);
    if (at < 0 || uint32_t(at) + 4 > size) return !BytesEqual(w->record, w->stored, int(size));
    if (!BytesEqual(w->record, w->stored, at)) return true;
    if (!BytesEqual(w->record + at + 4, w->stored + at + 4, int(size - uint32_t(at) - 4))) return true;
    MemBlock mine = RowsAt(w->record, size, at), theirs = RowsAt(w->stored, size, at);
    uint32_t attached = w->attachedSize;
    uint32_t mineSize = mine ? MemSize(mine) : 0, theirSize = theirs ? MemSize(theirs) : 0;
    if (mineSize < attached || theirSize != attached) return true;
    if (attached == 0) return false;
    bool same = BytesEqual(MemLock(mine), MemLock(theirs), int(attached));
    MemUnlock(mine);
    MemUnlock(theirs);
    return !same;
}

// Puts n's stored copy back into its record; the record's rows are
// replaced by a copy of the stored rows (the stored copy keeps its own).
void WinRestoreStored(int n)
{
    assert(WinIsOpen(n));
    WindowRec *w = WinTable[n];
    uint32_t size = WinTypeWord(w->windowType, 2);
    if (!w->record || !w->stored || size == 0) return;
    int32_t at = WinRecordHandleOffset(n);
    if (at < 0 || uint32_t(at) + 4 > size) {
        memcpy(w->record, w->stored, size);
        return;
    }
    MemBlock old = RowsAt(w->record, size, at), theirs = RowsAt(w->stored, size, at);
    MemBlock copy = 0;
    if (theirs) {
        uint32_t bytes = MemSize(theirs);
        copy = MemAlloc(bytes);
        if (!copy) return;   // memory short (told): the record stays as it is
        if (bytes) {
            memcpy(MemLock(copy), MemLock(theirs), bytes);
            MemUnlock(copy);
            MemUnlock(theirs);
        }
    }
    memcpy(w->record, w->stored, size);
    memcpy(w->record + at, &copy, 4);
    if (old) MemFree(&old);
}
