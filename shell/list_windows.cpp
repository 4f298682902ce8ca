// list_windows.cpp - the states of record and list windows that the
// Record menu and the top bar's buttons follow, and the list's current
// column.
//
// A list window's selection: selCurrent is the current row (1-based, -1
// none, -2 "pick the first row when the list is filled"); selStart and
// selEnd span an extended selection, -1 when only one row is selected.
// markedIds holds the record ids of the selected rows.
#include "shell/list_windows.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/definitions.h"
#include "core/memblock.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/window_table.h"

namespace {


// The window's first marked record id, -1 when none is marked.
int32_t FirstMarkedId(const WindowRec *w)
{
    if (!MemIsValid(w->markedIds) || MemSize(w->markedIds) < sizeof(int32_t)) return -1;
    int32_t id;
    memcpy(&id, MemLock(w->markedIds), sizeof id);
    MemUnlock(w->markedIds);
    return id;
}

}  // namespace

// Which of the record commands open, new, OK and cancel window w allows
// now; all false for no window and for a type of menu kind 1. By kind:
// lists offer OK, new and (one row selected) open when the type names a
// related record window; record windows with a register offer open and
// new, and OK and cancel while a record is new or being changed, but a
// window opened from another offers neither open nor new. The type's own
// rule has the last word.
void EditCommandsState(int w, bool *open, bool *nw, bool *ok, bool *cancel)
{
    *open = *nw = *ok = *cancel = false;
    if (!WinIsOpen(w)) return;
    int type = WinTypeOf(w);
    if (WinTypeMenuKind(type) == MenuKindEditOnly) return;
    bool related = WinTypeRelated(type) != 0;
    switch (WinKindOf(w)) {
    case 1:
        if (related) {
            *ok = *nw = true;
            *open = ListSingleSelection(w, nullptr);
        }
        break;
    case 2:
        *ok = true;
        if (related) {
            *nw = true;
            *open = ListSingleSelection(w, nullptr);
        }
        break;
    case 3:
    case 11:
        if (WinTypeRegister(type) != 0) {
            *open = *nw = true;
            int state = WinRecState(w);
            if (state == 1 || state == 2) *ok = *cancel = true;
            if (WinOpenerOf(w) != 0) *open = *nw = false;
        }
        break;
    case 4:
        *ok = true;
        break;
    case 5:
        break;
    default:
        *nw = (type == 6 && WinDefExists(14)) || related;
        *ok = true;
        break;
    }
    EditCommandsTypeRule(w, open, nw, ok, cancel);
}

// Whether previous and next are possible in window w, and the icon of the
// arrows: 400 none, 401 next only, 402 previous only, 403 both. Lists and
// previews page both ways; record windows step unless the record is new.
void RecordMoveState(int w, bool *prev, bool *next, int *icon)
{
    bool both = false;
    if (WinIsOpen(w)) {
        switch (WinKindOf(w)) {
        case 1:
        case 2:
        case 4: both = true; break;
        case 3:
        case 11: both = WinRecState(w) != 1; break;
        default: break;
        }
    }
    *prev = *next = both;
    *icon = 400 + (*next ? 1 : 0) + (*prev ? 2 : 0);
}

// True when exactly one row of list window w is selected; its record id
// (the first marked id, -1 when none is marked) goes to *id. Without id a
// pending pick of the first row also counts.
bool ListSingleSelection(int w, int32_t *id)
{
    if (!WinIsOpen(w)) return false;
    const WindowRec *r = WinTable[w];
    if (r->selStart != -1 || r->selEnd != -1) return false;
    if (r->selCurrent >= 0) {
        if (id) *id = FirstMarkedId(r);
        return true;
    }
    return id == nullptr && r->selCurrent == -2;
}

// Makes `column` n's current list column, whose index a find by typed
// key and the rows follow: the header is drawn again, and when the
// column changed the selection and marks are dropped (their rows move in
// the new order) and the rows are read again from the top of that order.
void SetWindowStateWord(int n, int column)
{
    if (!WinIsOpen(n)) return;
    assert(column >= 0 && column < 65535);
    WindowRec *w = WinTable[n];
    if (!ListFilterAllowsColumn(n, column)) {
        ShowTextMessage(Texts::ListFilterColumnRefused);
        return;
    }
    bool changed = w->listColumn != column;
    w->listColumn = uint16_t(column);
    if (changed && WinIsList(n)) {
        ListUnmarkAll(n, 0);
        int slot = ListPaneSlot(n, 0);
        if (slot >= 0) w->controls[slot].position = std::max(1, w->controls[slot].minimum);
    }
    ListHeaderDraw(n);
    WinMarkChanged(n);
}
