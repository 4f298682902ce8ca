// list_select.cpp - a list's selection and its marked record ids.
//
// The selection is three positions of WindowRec: selCurrent the current
// row (-1 none, -2 pick the first row at the next fill), selStart and
// selEnd the ends of an extended selection (-1 when only one row is
// selected). The marked set (markedIds) holds the record ids the list's
// commands act on, in the order they were marked, no id twice and at most
// ListMarkMax of them: an extension that would pass the limit stops
// there and says so, so that printing or copying never acts on fewer
// rows than the list shows selected.
#include <cassert>
#include <cstring>

#include "dict_offsets.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "shell/list_windows.h"
#include "shell/window_table.h"

namespace {

// The marked ids of n and their count; the caller unlocks a valid handle.
int32_t *MarksLock(int n, int32_t *count)
{
    uint8_t *data = nullptr;
    MemArrayLock(WinTable[n]->markedIds, sizeof(int32_t), &data, count);
    return reinterpret_cast<int32_t *>(data);
}

// The marked id at index i of n's set (0 <= i < count).
int32_t MarkAt(int n, int32_t i)
{
    int32_t count = 0, id = -1;
    uint8_t *data = nullptr;
    MemBlock h = WinTable[n]->markedIds;
    if (!MemArrayLock(h, sizeof(int32_t), &data, &count)) return -1;
    if (i >= 0 && i < count) memcpy(&id, data + size_t(i) * sizeof id, sizeof id);
    MemUnlock(h);
    return id;
}

// The number of ids n has marked.
int32_t MarkCount(int n)
{
    MemBlock h = WinTable[n]->markedIds;
    return MemIsValid(h) ? int32_t(MemSize(h) / sizeof(int32_t)) : 0;
}

// The control slot of pane 0 of n, whose position is the top row; null without one.
ControlSlot *TopSlot(int n)
{
    int slot = ListPaneSlot(n, 0);
    return slot < 0 ? nullptr : &WinTable[n]->controls[slot];
}

// Highlights the visible row showing position p, when it is visible.
void HighlightPosition(int n, int pane, int32_t p)
{
    ControlSlot *s = TopSlot(n);
    if (!s) return;
    ListRowHighlight(n, pane, ListPaneSlot(n, pane), int(p - s->position));
}

// One step of an extension reaching position p: marks p's record and
// highlights its row when newly marked. False when the marked set is
// full (p's record is left unmarked).
bool ExtendMark(int n, int pane, int32_t p)
{
    int32_t id = ListRowIdAt(n, p);
    if (id < 0 || ListIsMarked(n, id)) return true;
    if (!ListMarkAdd(n, id)) return false;
    HighlightPosition(n, pane, p);
    return true;
}

}  // namespace

// Selects position p of pane `pane`, or extends the selection to it.
// Without extend the row is highlighted and becomes the one selected row
// with its record marked; a position without a record selects nothing.
// With extend (from the current row, or from p when none is current) the
// selection's far end steps towards p one position at a time, marking
// and highlighting every newly reached row; stepping back only moves the
// end, the rows passed stay marked. When the marked set is full the
// extension stops at the last row it could mark and the user is told.
void ListSelectTo(int n, int pane, int32_t p, bool extend)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    int32_t id = ListRowIdAt(n, p);
    if (!extend || w->selCurrent < 0) {
        if (id < 0) return;
        if (!ListIsMarked(n, id)) HighlightPosition(n, pane, p);
        ListSelSet(n, p, id);
        if (!extend) return;
    }
    if (w->selStart == -1) w->selStart = w->selCurrent;
    if (w->selEnd == -1) w->selEnd = w->selCurrent;
    bool full = false;
    if (p > w->selCurrent) {
        while (w->selEnd != p && !full) {
            int32_t next = w->selEnd + (w->selEnd < p ? 1 : -1);
            if (next > w->selEnd && !ExtendMark(n, pane, next))
                full = true;
            else
                w->selEnd = next;
        }
    } else if (p < w->selCurrent) {
        while (w->selStart != p && !full) {
            int32_t next = w->selStart + (w->selStart > p ? -1 : 1);
            if (next < w->selStart && !ExtendMark(n, pane, next))
                full = true;
            else
                w->selStart = next;
        }
    }
    if (full) ShowTextMessage(Texts::ListMarksFull);
}

// Makes position p the one selected row of n and marks record id `id`
// (an id below 0 names no record and is not marked).
void ListSelSet(int n, int32_t p, int32_t id)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    w->selCurrent = p;
    w->selStart = w->selEnd = -1;
    if (id >= 0) (void)ListMarkAdd(n, id);
}

// Sets n's current row to v (-2: the first row, once the rows are filled)
// with no extended selection.
void ListSelSetCurrent(int n, int32_t v)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    w->selCurrent = v;
    w->selStart = w->selEnd = -1;
}

// Clears n's selection; the marks stay.
void ListSelClear(int n)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    w->selStart = w->selCurrent = w->selEnd = -1;
}

// True when a row of n is selected.
bool ListHasSelection(int n) { return WinIsOpen(n) && WinTable[n]->selCurrent >= 0; }

// The first selected position of n: selStart when set, else selCurrent.
void ListSelFirst(int n, int32_t *p)
{
    *p = -1;
    if (!WinIsOpen(n)) return;
    const WindowRec *w = WinTable[n];
    *p = w->selStart != -1 ? w->selStart : w->selCurrent;
}

// The last selected position of n: selEnd when set, else selCurrent.
void ListSelLast(int n, int32_t *p)
{
    *p = -1;
    if (!WinIsOpen(n)) return;
    const WindowRec *w = WinTable[n];
    *p = w->selEnd != -1 ? w->selEnd : w->selCurrent;
}

// Appends record id `id` to n's marked set. False, changing nothing, when
// it is marked already, when ListMarkMax ids are held, or when memory is
// refused (told by the memory layer).
bool ListMarkAdd(int n, int32_t id)
{
    if (!WinIsOpen(n) || ListIsMarked(n, id)) return false;
    WindowRec *w = WinTable[n];
    int32_t count = MarkCount(n);
    assert(count <= ListMarkMax);
    if (count >= ListMarkMax) return false;
    if (!MemResizeZero(&w->markedIds, uint32_t(count + 1) * sizeof id)) return false;
    memcpy(MemLock(w->markedIds) + size_t(count) * sizeof id, &id, sizeof id);
    MemUnlock(w->markedIds);
    return true;
}

// True when record id `id` is in n's marked set.
bool ListIsMarked(int n, int32_t id)
{
    if (!WinIsOpen(n)) return false;
    int32_t count = 0;
    int32_t *ids = MarksLock(n, &count);
    if (!ids) return false;
    bool found = false;
    for (int32_t i = 0; i < count && !found; i++) {
        int32_t v;
        memcpy(&v, ids + i, sizeof v);
        found = v == id;
    }
    MemUnlock(WinTable[n]->markedIds);
    return found;
}

// True when visible row `row` of n shows a marked record; false for a
// row outside rowIds or without a record.
bool ListRowIsMarked(int n, int row)
{
    int32_t id = ListRowId(n, row);
    return id >= 0 && ListIsMarked(n, id);
}

// The record id shown at position p of n's pane 0; -1 when p is not
// among the rows rowIds holds.
int32_t ListRowIdAt(int n, int32_t p)
{
    if (!WinIsOpen(n)) return -1;
    ControlSlot *s = TopSlot(n);
    if (!s) return -1;
    int64_t row = int64_t(p) - s->position;
    return row < 0 || row >= ListRowCount(n) ? -1 : ListRowId(n, int(row));
}

// Un-highlights the marked rows of pane `pane` that are visible, clears
// n's selection and empties its marked set. With no row selected and no
// first-row pick pending nothing is highlighted, so only the set empties.
void ListUnmarkAll(int n, int pane)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    if (w->selCurrent >= 0 || w->selCurrent == -2) {
        int slot = ListPaneSlot(n, pane);
        for (int row = 0; row < ListRowCount(n); row++)
            if (ListRowIsMarked(n, row)) ListRowHighlight(n, pane, slot, row);
        ListSelClear(n);
    }
    if (MemIsValid(w->markedIds)) (void)MemRealloc(&w->markedIds, 0);
}

// "Choose a row of the list first ..." (win_lists.dict).
constexpr int TextChooseRow = 9811;

// Gives n's commands a row to act on: the marked rows as they are; with
// none marked, the current row's record, marked and highlighted as a click
// would. False, with the user told to choose a row, when the list is on
// no row with a record.
bool ListHasRowToActOn(int n)
{
    if (!WinIsOpen(n)) return false;
    if (MarkCount(n) > 0) return true;
    const int32_t current = WinTable[n]->selCurrent;
    const int32_t id = current >= 0 ? ListRowIdAt(n, current) : -1;
    if (id >= 0 && ListMarkAdd(n, id)) {
        HighlightPosition(n, 0, current);
        return true;
    }
    ShowTextMessage(TextChooseRow);
    return false;
}

// The first marked record id of n; -1 when none is marked.
int32_t ListSelAnchor(int n)
{
    if (!WinIsOpen(n) || MarkCount(n) == 0) return -1;
    return MarkAt(n, 0);
}

// A new block holding a copy of n's marked ids, which the caller frees;
// 0 when n has no marked set or memory was refused.
MemBlock ListMarkedFirst(int n)
{
    if (!WinIsOpen(n) || !MemIsValid(WinTable[n]->markedIds)) return 0;
    MemBlock from = WinTable[n]->markedIds;
    uint32_t size = MemSize(from);
    MemBlock copy = MemAlloc(size);
    if (!copy) return 0;
    if (size) memcpy(MemLock(copy), MemLock(from), size);
    if (size) {
        MemUnlock(from);
        MemUnlock(copy);
    }
    return copy;
}
