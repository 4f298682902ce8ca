// list_rows.cpp - the visible rows of a list pane: its geometry, filling
// the rows by the current column's index (locally or through the server),
// drawing a row, its band and the list header.
#include "shell/list_windows.h"

// Counts the register and the pane's rows after open; not built yet: nothing is set.
void ListPrepare(int n) {}

// Lays out pane 0 and fills its rows; not built yet: nothing is drawn.
void ListRefresh(int n) {}

// Fills the visible rows by the current column's index; not built yet: nothing read.
bool ListRowsByIndex(int n, int part, int32_t first, int top) { return false; }

// Fills the visible rows through the server; not built yet: refused.
bool ListFillRowsClient(int n, int part, int32_t first, int top) { return false; }

// Reads and draws one row after a one-row scroll; not built yet: nothing.
void ListFetchRow(int n, const MacRect *pane, int y, int32_t p, int row) {}

// Draws one row of a record; not built yet: nothing is drawn.
void ListDrawRow(int n, const uint8_t *record, const MacRect *pane, int y, int32_t p, int32_t id) {}

// Draws one row the server sent; not built yet: nothing is drawn.
void ListDrawRowRemote(int n, const MacRect *pane, int y, int32_t p, const RemoteListRow &row) {}

// Inverts the band of one visible row; not built yet: nothing is drawn.
void ListRowHighlight(int n, int pane, int slot, int row) {}

// Fills the band of one visible row white; not built yet: nothing is drawn.
void ListRowInvert(int n, int pane, int row) {}

// Draws the list header; not built yet: nothing is drawn.
void ListHeaderDraw(int n) {}
