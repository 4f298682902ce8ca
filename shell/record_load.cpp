// record_load.cpp - putting a record into a record window: loading by
// id, a new record, a copy as new, browsing, reading again, and finding by
// a typed key.
#include <cassert>
#include <cstdint>
#include <cstring>

#include "core/definitions.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {
constexpr int EditBrowsing = 4;

// Loads the settings block of settings window n (kind 8: the record read
// into the record buffer; kind 9: the rows fetched into the handle at the
// start of the record buffer) from every descriptor of n's block.
void LoadSettings(int n, int kind)
{
    WindowRec *w = WinTable[n];
    int block = WinTypeWord(w->windowType, 9);
    uint32_t size = WinTypeWord(w->windowType, 2);
    if (!w->record || size < 4) return;
    for (int i = 0; i < SettingsBlockDescCount(); i++) {
        const uint8_t *desc = SettingsBlockDescAt(i);
        if (!desc || SettingsDescNumber(desc) != block) continue;
        if (kind == 8) {
            (void)SettingsBlockRead(block, w->record, size);   // absent: stays zero-filled
            // The block as read, to tell at the first change whether it
            // was stored anew meanwhile.
            if (w->stored) memcpy(w->stored, w->record, size);
        } else {
            MemBlock rows;
            memcpy(&rows, w->record, 4);
            (void)SettingsBlockFetch(&rows, block);            // absent: an empty handle
            memcpy(w->record, &rows, 4);
        }
    }
    SettingsWindowLoaded(n);
    if (kind == 8 && WinIsOpen(n)) WinRecordRefresh(n);
}

// Shows the next (forward) or previous record of n's register after
// storing what n shows; the focus goes back to the current field.
void Browse(int n, bool forward)
{
    if (!WinIsOpen(n)) return;
    int reg = WinRegisterOf(n);
    if (reg == 0) return;
    WindowRec *w = WinTable[n];
    if (StoreWindowRecord(n)) {
        char text[256];
        PStringToC(w->browseText, text);
        uint32_t id = w->recordId;
        bool found = forward ? RecBrowseNext(reg, w->record, &id, text) : RecBrowsePrev(reg, w->record, &id, text);
        if (found) w->recordId = id;
        WinSetRecState(n, 0);
        WinRecordRefresh(n);
        StateRefreshFlag = 1;
    }
    if (w->currentField > 0) WinGotoField(n, w->currentField, true);
}
}  // namespace

// Loads record `recordId` of n's register into n, or an empty record
// for id 0 (and for an id no longer stored); settings windows (kinds 8
// and 9) load their block. A list (kinds 1 and 2) starts with an empty
// typed key and asks for its first row to be selected once its rows are
// filled, so that OK on a fresh list opens or picks that row. A form
// designer loads its form definition as a record window does. The other
// kinds load with their windows.
void WinLoadRecord(int n, uint32_t recordId)
{
    if (!WinIsOpen(n)) return;
    int kind = WinKindOf(n);
    if (kind == 8 || kind == 9) {
        LoadSettings(n, kind);
        return;
    }
    int reg = WinRegisterOf(n);
    if (reg == 0) return;
    WindowRec *w = WinTable[n];
    w->recordId = 0;
    if (kind == 1 || kind == 2) {
        RecClear(reg, w->record);
        ListSelSetCurrent(n, -2);
        StateRefreshFlag = 1;
        return;
    }
    if (kind != 3 && kind != 11) return;   // record windows and form designers
    if (recordId >= 1 && RecReadById(reg, recordId, w->record)) {
        w->recordId = recordId;
        return;
    }
    RecClear(reg, w->record);
}

// Starts a new record in n with its register's defaults, after storing
// what n shows; state 1. False for no window, a window without a
// register, or when the store failed.
bool WinNewRecord(int n)
{
    if (!WinIsOpen(n)) return false;
    int reg = WinRegisterOf(n);
    if (reg == 0 || !StoreWindowRecord(n)) return false;
    RecNewDefaults(reg, WinTable[n]->record);
    WinSetRecState(n, 1);
    WinRecordRefresh(n);
    return true;
}

// Shows in record window n, which holds no record (state 0, id 0), the
// values a new record starts with (its number, dates and defaults), so it
// reads as the blank new record it is rather than an empty one numbered
// 0. No record is started: the first thing typed starts it (WinBeginEdit),
// while browsing, New and closing find nothing to store. False, showing
// nothing new, for a window that holds a record or is not a record window.
bool WinShowNewDefaults(int n)
{
    if (!WinIsOpen(n) || WinKindOf(n) != KindCode(WindowKind::Record) || WinRecState(n) != 0) return false;
    int reg = WinRegisterOf(n);
    WindowRec *w = WinTable[n];
    if (reg == 0 || w->recordId != 0 || !w->record) return false;
    RecNewDefaults(reg, w->record);
    WinTitleUpdate(n);
    WinRecordRefresh(n);
    // The field focused as the window opened still shows the value from
    // before: the caret goes, as for a new record, to the field a new
    // record of the type starts on, over the record as it is now.
    if (!WinIsOpen(n)) return false;
    if (w->editControl) EditControlDestroy(n);
    WinFocusFirstField(WinTypeOf(n), n);
    return true;
}

// Makes the record n shows a new record with its values (the register's
// copy defaults clear what may not be copied); state 1.
void WinCopyAsNew(int n)
{
    if (!WinIsOpen(n)) return;
    int reg = WinRegisterOf(n);
    if (reg == 0 || !StoreWindowRecord(n)) return;
    RecNewDefaultsOther(reg, WinTable[n]->record);
    WinTable[n]->attachedSize = 0;
    WinSetRecState(n, 1);
    WinRecordRefresh(n);
}

// Shows the next record of n's register.
void WinRecordNext(int n) { Browse(n, true); }

// Shows the previous record of n's register.
void WinRecordPrev(int n) { Browse(n, false); }

// Drops n's changes: in state 2, or state 1 over a shown record, the
// record is read again as stored (freeing n's lock on it), state 0. A
// record-layer result: 0 done, RecNotFound when the record is gone (the
// window is then emptied and told so), RecRefused when there was
// nothing to read again.
int WinRereadRecord(int n)
{
    if (!WinIsOpen(n)) return RecRefused;
    WindowRec *w = WinTable[n];
    int reg = WinRegisterOf(n);
    int state = WinRecState(n);
    if (reg == 0 || !(state == 2 || (state == 1 && w->recordId != 0))) return RecRefused;
    int result = RecDone;
    if (!RecReread(reg, w->recordId, w->record, 2)) {
        // Also frees the lock: it was taken on the record that is gone.
        (void)RecordUnlockCall(reg, w->recordId);
        RecClear(reg, w->record);
        w->recordId = 0;
        ShowTextMessage(RecNotFound);
        result = RecNotFound;
    }
    WinSetRecState(n, 0);
    WinRecordRefresh(n);
    StateRefreshFlag = 1;
    return result;
}

// Finds the key typed into list n's key field by the current column's
// index and selects the row found (the first at or after the key; in a
// filtered list the first of its rows at or after it); true when a row
// was found. The list is left browsing either way.
bool ListFindTypedKey(int n)
{
    if (!WinIsOpen(n)) return false;
    WinCommitField(n);
    if (!WinIsOpen(n)) return false;
    WindowRec *w = WinTable[n];
    int kind = WinKindOf(n), reg = WinRegisterOf(n);
    uint32_t size = RegRecordSize(reg);
    bool found = false;
    if ((kind == 1 || kind == 2) && reg != 0 && w->record && w->stored && size > 0 &&
        size <= MemSize(w->recordHandle) && size <= MemSize(w->storedHandle)) {
        int parts = 1;
        FindKeyByType(n, &parts, nullptr);
        char index[256];
        ListColumnIndex(n, index);
        RecFreeMatrix(reg, w->stored);
        memcpy(w->stored, w->record, size);
        int32_t slot = RegMatrixOffset(reg);   // the copy must not share the record's rows
        if (slot >= 0 && uint32_t(slot) + 4 <= size) memset(w->stored + slot, 0, 4);
        uint32_t id = 0, position = 0;
        found = RecFindByIndex(reg, index, w->stored, parts, 0, &id, &position);
        RecFreeMatrix(reg, w->stored);
        found = found && position > 0 && position <= uint32_t(INT32_MAX) && id <= uint32_t(INT32_MAX);
        if (found && ListFilterOn(n)) found = ListFilterPlaceFound(n, index, &position, &id);
        if (found) {
            ListUnmarkAll(n, 0);
            ListSelSet(n, int32_t(position), int32_t(id));
            ListScrollTo(n, 0, int32_t(position));
            WinMarkChanged(n);
        }
    }
    WinSetRecState(n, EditBrowsing);
    StateRefreshFlag = 1;
    return found;
}

// Finds the record whose key was typed into list window n's record by the
// index of the list's current column (with the key parts n's type asks
// for, 1 by default), not exactly: the record found (the key's own or
// the next after it) becomes the one selected row and the list's top row,
// and n is repainted; when no record comes at or after the key the user
// is told so. The typed key stays in n's record: the search runs on its
// stored copy. In every case n goes on browsing (state 4).
void WinFindByTypedKey(int n)
{
    if (!WinIsOpen(n)) return;
    int kind = WinKindOf(n), reg = WinRegisterOf(n);
    if (!ListFindTypedKey(n) && (kind == 1 || kind == 2) && reg != 0 && WinIsOpen(n))
        ShowTextMessage(Texts::ListFindNothing);
}
