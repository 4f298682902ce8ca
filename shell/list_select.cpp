// list_select.cpp - a list's selection and its marked record ids.
#include "shell/list_windows.h"

// Selects or extends to position p; not built yet: nothing is selected.
void ListSelectTo(int n, int pane, int32_t p, bool extend) {}

// Makes position p the selected row; not built yet: nothing is selected.
void ListSelSet(int n, int32_t p, int32_t id) {}

// Sets the current row; not built yet: nothing changes.
void ListSelSetCurrent(int n, int32_t v) {}

// Clears the selection; not built yet: nothing changes.
void ListSelClear(int n) {}

// True when a row is selected; not built yet: never.
bool ListHasSelection(int n) { return false; }

// The first selected position; not built yet: always -1 (none).
void ListSelFirst(int n, int32_t *p) { *p = -1; }

// The last selected position; not built yet: always -1 (none).
void ListSelLast(int n, int32_t *p) { *p = -1; }

// Marks a record id; not built yet: every mark is refused.
bool ListMarkAdd(int n, int32_t id) { return false; }

// True when a record id is marked; not built yet: never.
bool ListIsMarked(int n, int32_t id) { return false; }

// True when a visible row is marked; not built yet: never.
bool ListRowIsMarked(int n, int row) { return false; }

// The record id at a position; not built yet: always -1 (not visible).
int32_t ListRowIdAt(int n, int32_t p) { return -1; }

// Unmarks every row; not built yet: nothing changes.
void ListUnmarkAll(int n, int pane) {}

// The first marked id; not built yet: always -1 (none).
int32_t ListSelAnchor(int n) { return -1; }

// A copy of the marked ids; not built yet: 0, as when memory is refused.
MemBlock ListMarkedFirst(int n) { return 0; }
