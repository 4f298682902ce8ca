// list_windows.h - list windows (kinds 1 and 2): the visible rows of a
// pane, scrolling, the selection and its marks, the states that menus and
// toolbar follow, and the list's OK and open.
//
// A list pane's scroll state is the ControlSlot of its pane's control
// (window_table.h): position the top row (1-based), minimum and maximum
// the range of the top, rowsShown the rows that fit. The selection and the
// marked ids are in WindowRec (selStart, selCurrent, selEnd, markedIds),
// the ids of the visible rows in rowIds.
#pragma once

#include <cstdint>

#include "core/definitions.h"
#include "core/memblock.h"
#include "database/access/remote_calls.h"

constexpr int ListMarkMax = 101;           // marked ids a list holds at most
constexpr int ListBaselineBelowTop = 13;   // a row's text baseline below the row's top

// ---- list_windows.cpp ----
// Which of open, new, OK and cancel window w allows now.
void EditCommandsState(int w, bool *open, bool *nw, bool *ok, bool *cancel);
// Whether previous and next are possible in w, and the arrows' icon:
// 400 none, 401 next only, 402 previous only, 403 both.
void RecordMoveState(int w, bool *prev, bool *next, int *icon);
// True when exactly one row of w is selected; its record id in *id (may be null).
bool ListSingleSelection(int w, int32_t *id);
// Makes `column` n's current list column: the header redrawn, n marked for repainting.
// A filtered list refuses (and tells) a column whose index would scatter its rows.
void SetWindowStateWord(int n, int column);

// ---- list_rows.cpp ----
// The control slot that keeps pane `pane`'s scroll state; -1 when n has no such pane.
int ListPaneSlot(int n, int pane);
// The number of visible rows rowIds holds (rowsShown - 1 once the pane is laid out).
int ListRowCount(int n);
// The record id of visible row `row`; -1 for a row without a record or outside rowIds.
int32_t ListRowId(int n, int row);
// The index name of n's current list column into name (256 bytes); "" when n has no such column.
void ListColumnIndex(int n, char *name);
// Kinds 1, 2 after open: registerCount := record count + 1, rowsShown of pane 0 from its height.
void ListPrepare(int n);
// Lays out pane 0 and fills its rows (local or client); nothing while a client request runs.
void ListRefresh(int n);
// Fills the visible rows of pane `part` from position `first` by the current column's
// index, drawing from row `top`; false when no record was read.
bool ListRowsByIndex(int n, int part, int32_t first, int top);
// The same through the server (request 23); false when the request failed.
bool ListFillRowsClient(int n, int part, int32_t first, int top);
// Reads the record at position p and draws it as visible row `row` at baseline y.
void ListFetchRow(int n, const MacRect *pane, int y, int32_t p, int row);
// Draws one row of a record at baseline y: the columns, marked rows inverted.
void ListDrawRow(int n, const uint8_t *record, const MacRect *pane, int y, int32_t p, int32_t id);
// Draws one row the server sent (its column texts) at baseline y.
void ListDrawRowRemote(int n, const MacRect *pane, int y, int32_t p, const RemoteListRow &row);
// Inverts the band of visible row `row` of pane `pane`; slot is the pane's control slot.
void ListRowHighlight(int n, int pane, int slot, int row);
// Fills the band of visible row `row` of pane `pane` white (a position without a record).
void ListRowInvert(int n, int pane, int row);
// Draws n's list header: the column headings, the current column marked.
void ListHeaderDraw(int n);

// ---- list_scroll.cpp ----
// Scrolls pane `pane` of n so that position top is the first row shown (clamped).
void ListScrollTo(int n, int pane, int32_t top);
// Moves rowIds by one entry after a one-row scroll: dir 1 towards the end (a row
// enters at the top), -1 towards the start.
void ListShiftRowIds(int n, int dir);
// Scrolls pane `pane` so that position p is visible.
void ListEnsureVisible(int n, int pane, int32_t p);
// Moves n's selection by delta rows, extending it when asked; false when it cannot move.
bool ListMoveSelection(int n, int delta, bool extend);
// A click at window y in pane `pane`: selects (or extends to) the row there.
void ListMouseClick(int n, int pane, int y, bool extend);

// ---- list_select.cpp ----
// Selects position p of pane `pane`, or extends the selection to it.
void ListSelectTo(int n, int pane, int32_t p, bool extend);
// Makes position p the one selected row and marks record id `id`.
void ListSelSet(int n, int32_t p, int32_t id);
// Sets the current row (selCurrent) to v.
void ListSelSetCurrent(int n, int32_t v);
// Clears the selection (selStart, selCurrent, selEnd := -1).
void ListSelClear(int n);
// True when a row of n is selected (selCurrent >= 0).
bool ListHasSelection(int n);
// The first (last) selected position into *p: selStart (selEnd) when set, else selCurrent.
void ListSelFirst(int n, int32_t *p);
void ListSelLast(int n, int32_t *p);
// Marks record id `id`; false when marked already, or ListMarkMax held (the caller tells).
bool ListMarkAdd(int n, int32_t id);
// True when record id `id` is marked.
bool ListIsMarked(int n, int32_t id);
// True when visible row `row` shows a marked record (false outside the rows).
bool ListRowIsMarked(int n, int row);
// The record id at position p; -1 when that position is not visible.
int32_t ListRowIdAt(int n, int32_t p);
// Un-highlights the marked visible rows of pane `pane`, clears the selection, empties the marks.
void ListUnmarkAll(int n, int pane);
// The first marked record id; -1 when none is marked.
int32_t ListSelAnchor(int n);
// A copy of the marked ids, the caller's to free; 0 when memory was refused.
MemBlock ListMarkedFirst(int n);
// Called by every list command that acts on "the marked rows" before it
// reads them: with none marked the current row is marked; false (the
// user told to choose a row) when the list is on no row.
bool ListHasRowToActOn(int n);

// ---- list_filter.cpp ----
// Limits list n to the rows whose first key part in index `index` is `code`
// (a PString): the list takes the first column sorting by that index, shows
// from its first row of the code with that row selected, and its title ends
// with "for" and label (the code when label is empty). False, and n left as
// it was, when n is no list, has no column of that index, or the index's
// first part is no text the code fits.
bool ListFilterSet(int n, const char *index, const uint8_t *code, const uint8_t *label);
// Shows every row of n's register again.
void ListFilterClear(int n);
// True when n is a list limited to one code's rows.
bool ListFilterOn(int n);
// What is added to one of n's positions to give its index position: 0
// unfiltered, the position before the code's first row when filtered.
int32_t ListFilterBase(int n);
// Takes anew where the code's rows lie in the current column's index;
// false (no rows) when they could not be searched.
bool ListFilterRange(int n);
// The rows n shows: the code's rows (their range taken anew) when
// filtered, the register's record count otherwise.
int32_t ListRowTotal(int n);
// True when n may be sorted by list column `column`: always unfiltered,
// and filtered only by an index whose first part is the filter's field.
bool ListFilterAllowsColumn(int n, int column);
// A find in filtered n gave index position *position of record *id: both
// become the list's own (a key before the code's rows finds its first
// row); false when no row of the code comes at or after the key.
bool ListFilterPlaceFound(int n, const char *index, uint32_t *position, uint32_t *id);
// Appends to title (a PString) whose rows filtered n shows; nothing unfiltered.
void ListFilterTitle(int n, uint8_t *title);

// ---- list_commands.cpp ----
// Opens the related record window on a new copy of the selected row's record
// (the open command of kinds 1 and 2).
void ListOpenAsNew(int n);
// Starts list n opened from `opener`'s field to choose for it: the field's text selected,
// the list positioned on that text.
void ListChooserStart(int n, int opener);
// Esc in a list opened to choose from: closed, back to the opener unchanged; false otherwise.
bool ListChooserCancel(int n);
// CmdListOk, the OK of kind 1, is declared in record_commands.h.
