// list_rows.cpp - the visible rows of a list pane: its geometry, filling
// the rows by the current column's index (locally or through the server),
// drawing a row, its band and the list header.
//
// Pane geometry: the pane's rectangle (WinColumnRect) is cut so that its
// height less one is a whole number of rows; its inner rectangle is that
// shrunk by one pixel. Row i's band is 16 pixels high from pane top +
// i * listRowHeight + 1, its text baseline ListBaselineBelowTop below pane
// top + i * listRowHeight. rowsShown counts the rows that touch the
// inner rectangle; rowIds holds rowsShown - 1 of them, so the last band,
// which the pane's bottom edge cuts, is never filled and every row index
// is bounded by rowIds, not by rowsShown.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "shell/draw_port.h"
#include "shell/list_windows.h"
#include "shell/net_services.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int BandHeight = 16;

// The row height of n, at least 1.
int RowHeight(int n) { return std::max<int>(1, WinTable[n]->listRowHeight); }

// True while the client waits for the server: nothing may be read then.
bool RequestRunning() { return NetServices.requestInProgress && NetServices.requestInProgress(); }

// Sets visible row `row`'s record id; rows outside rowIds are asserted against.
void SetRowId(int n, int row, int32_t id)
{
    MemBlock h = WinTable[n]->rowIds;
    assert(row >= 0 && row < ListRowCount(n));
    memcpy(MemLock(h) + size_t(row) * sizeof id, &id, sizeof id);
    MemUnlock(h);
}

// Makes rowIds hold `count` ids, all -1; false (memory refused, told) when it cannot.
bool RowIdsReset(int n, int count)
{
    WindowRec *w = WinTable[n];
    count = std::max(0, count);
    if (!MemResizeZero(&w->rowIds, uint32_t(count) * sizeof(int32_t))) return false;
    for (int i = 0; i < count; i++) SetRowId(n, i, -1);
    return true;
}

// The vertical extent of row text around baseline y for n's row height:
// the margins run one pixel lower than the cells when rows are low.
void RowSpan(int n, int y, int *top, int *cellBottom, int *marginBottom)
{
    bool high = WinTable[n]->listRowHeight > 14;
    *top = y - (high ? 12 : 10);
    *cellBottom = y + (high ? 4 : 3);
    *marginBottom = y + 4;
}

// The band of visible row `row` of pane `pane`: 16 pixels from the row's
// top + 1 across the inside of the pane, `up` pixels higher.
bool RowBand(int n, int pane, int row, int up, MacRect *out)
{
    if (row < 0 || row >= ListRowCount(n)) return false;
    MacRect r;
    WinColumnRect(n, pane, &r);
    int top = r.top + row * RowHeight(n) + 1 - up;
    MakeRect(out, r.left + 1, top, r.right - 1, top + BandHeight);
    return true;
}

// Draws one row at baseline y across `pane`: the margins, and for each
// column its cell with the text value(c, entry, buffer, &type, &length)
// gives (a value in the column's field type). Marked rows are white on
// black.
template <typename Value> void DrawRowWith(int n, const MacRect *pane, int y, bool marked, Value value)
{
    PortScope port(n);
    int top, cellBottom, marginBottom;
    RowSpan(n, y, &top, &cellBottom, &marginBottom);
    int left = pane->left + 1, right = pane->right - 1, fill = marked ? FillBlack : FillWhite;
    int count = WinDefCount(n, WinPartFieldList);
    const uint8_t *first = WinDefEntry(n, WinPartFieldList, 0);
    int firstX = first ? RectXResolve(pane, int16_t(DefU16(first + ListColEntry::DataX))) : right;
    MacRect r;
    MakeRect(&r, left, top, std::min(right, firstX - 2), marginBottom);
    FillRectMode(&r, fill);
    for (int c = 0; c < count; c++) {
        const uint8_t *e = WinDefEntry(n, WinPartFieldList, c);
        const uint8_t *next = WinDefEntry(n, WinPartFieldList, c + 1);
        int x = RectXResolve(pane, int16_t(DefU16(e + ListColEntry::DataX)));
        int end = next ? RectXResolve(pane, int16_t(DefU16(next + ListColEntry::DataX))) - 1 - ListColumnGap
                       : pane->right - 2;
        int width = end - x - 1;
        if (width <= 0 || x - 2 >= right) continue;
        uint8_t buffer[264] = {};
        int type = FtText, length = 0;
        const uint8_t *v = value(c, e, buffer, &type, &length);
        MacRect cell;
        MakeRect(&cell, std::max(left, x - 2), top, std::min(right, x + width), cellBottom);
        ListCellDraw(n, v, type, length, &cell, e[ListColEntry::Align] == 1, marked);
        // The gap before the next column takes the row's ground, as the
        // cells do: white, or black on a marked row.
        if (next && cell.right < right) {
            MakeRect(&r, cell.right, top, std::min(right, end + ListColumnGap - 1), cellBottom);
            FillRectMode(&r, fill);
        }
    }
    MakeRect(&r, pane->right - 5, top, right, marginBottom);
    FillRectMode(&r, fill);
}

// The texts of every column of a record as the server would send them
// (a column of field type 28 takes the row text the window supplies);
// false when they could not be made.
bool RowTexts(int n, const uint8_t *record, MsgBuffer *texts)
{
    return RowFieldsToMsg(texts, WinTypeOf(n), WinRegisterOf(n), record);
}

}  // namespace

// The control slot that keeps pane `pane`'s scroll state (the control
// word of its pane entry); -1 when n has no such pane.
int ListPaneSlot(int n, int pane)
{
    if (!WinIsOpen(n)) return -1;
    const uint8_t *e = WinDefEntry(n, WinPartListPanes, pane);
    if (!e) return -1;
    int slot = DefU16(e + PaneEntry::Control);
    return slot < ControlSlotCount ? slot : -1;
}

// The number of visible rows rowIds holds.
int ListRowCount(int n)
{
    if (!WinIsOpen(n) || !MemIsValid(WinTable[n]->rowIds)) return 0;
    return int(MemSize(WinTable[n]->rowIds) / sizeof(int32_t));
}

// The record id of visible row `row`; -1 outside rowIds.
int32_t ListRowId(int n, int row)
{
    if (row < 0 || row >= ListRowCount(n)) return -1;
    MemBlock h = WinTable[n]->rowIds;
    int32_t id;
    memcpy(&id, MemLock(h) + size_t(row) * sizeof id, sizeof id);
    MemUnlock(h);
    return id;
}

// The index name of n's current list column into name (256 bytes); ""
// (the register's current index) when n has no such column.
void ListColumnIndex(int n, char *name)
{
    name[0] = 0;
    if (!WinIsOpen(n)) return;
    const uint8_t *e = WinDefEntry(n, WinPartFieldList, WinListColumn(n));
    if (e) PStringToC(e + ListColEntry::Index, name);
}

// After a list window opened (kinds 1 and 2): the rows it shows (the
// register's record count, or a filtered list's rows) + 1 as its
// registerCount; pane 0's rows from its height, its top range from 1 to
// the count + 1 and its top at least 1; rowIds sized to the rows that
// are filled, all -1.
void ListPrepare(int n)
{
    if (!WinIsList(n)) return;
    WindowRec *w = WinTable[n];
    int32_t count = ListRowTotal(n);
    w->registerCount = count + 1;
    int slot = ListPaneSlot(n, 0);
    if (slot < 0) return;
    MacRect pane;
    WinColumnRect(n, 0, &pane);
    ControlSlot &s = w->controls[slot];
    s.rowsShown = int16_t(std::max(1, (pane.bottom - pane.top - 2) / RowHeight(n) + 1));
    s.minimum = 1;
    s.maximum = count + 1;
    s.pageSize = std::max(1, s.rowsShown - 1);
    if (s.position < s.minimum) s.position = s.minimum;
    (void)RowIdsReset(n, s.rowsShown - 1);
}

// Lays out pane 0 of list window n again (record count, rows, the top
// clamped as a scroll clamps it) and fills its rows, locally or through
// the server; the menus and bars follow. Nothing while a client request
// is being answered, and nothing when rowIds cannot be had.
void ListRefresh(int n)
{
    if (!WinIsList(n) || RequestRunning()) return;
    int slot = ListPaneSlot(n, 0);
    if (slot < 0) return;
    WindowRec *w = WinTable[n];
    int32_t count = ListRowTotal(n);
    w->registerCount = count + 1;
    MacRect pane;
    WinColumnRect(n, 0, &pane);
    ControlSlot &s = w->controls[slot];
    int h = RowHeight(n);
    s.maximum = count + 1;
    s.minimum = std::max(1, s.minimum);
    s.rowsShown = int16_t(std::max(1, (pane.bottom - 1 - (pane.top + 1)) / h + 1));
    s.pageSize = std::max(1, s.rowsShown - 1);
    s.position = std::min(std::max(s.position, s.minimum), std::max(1, s.maximum - s.rowsShown + 1));
    if (!RowIdsReset(n, s.rowsShown - 1)) return;
    {
        PortScope port(n);
        MacRect tail;   // the cut band below the filled rows stays white
        MakeRect(&tail, pane.left + 1, pane.top + (s.rowsShown - 1) * h + 1, pane.right - 1, pane.bottom - 1);
        if (tail.bottom > tail.top) FillRectMode(&tail, FillWhite);
    }
    if (RunModeIsClient())
        (void)ListFillRowsClient(n, 0, s.position, pane.top);
    else
        (void)ListRowsByIndex(n, 0, s.position, pane.top);
    StateRefreshFlag = 1;
}

// Fills the visible rows of pane `part` of n from position `first` of the
// current column's index: row i shows the record at first + i with its
// baseline at i * row height + top + ListBaselineBelowTop and keeps its
// id in rowIds; a position without a record is a white band with id -1.
// A pending pick of the first row (selCurrent -2) selects the first
// record read, or, when none was read, clears the selection and the
// bars follow. A filtered list reads its positions within its code's
// rows as last taken (ListRefresh takes them just before). False when no
// record was read.
bool ListRowsByIndex(int n, int part, int32_t first, int top)
{
    if (!WinIsList(n)) return false;
    int reg = WinRegisterOf(n);
    if (reg == 0 || ListPaneSlot(n, part) < 0) return false;
    WindowRec *w = WinTable[n];
    char index[256];
    ListColumnIndex(n, index);
    MemBlock handle = 0;
    uint8_t *record = RecBufferNew(reg, &handle);
    if (!record) return false;
    MacRect pane;
    WinColumnRect(n, part, &pane);
    int h = RowHeight(n);
    bool any = false;
    int32_t base = ListFilterBase(n), last = ListFilterOn(n) ? w->filter.count : INT32_MAX;
    for (int i = 0, rows = ListRowCount(n); i < rows; i++) {
        int32_t p = first + i;
        uint32_t id = 0;
        RecFreeMatrix(reg, record);
        if (p <= last && RecReadAtIndex(reg, index, base + p, record, &id)) {
            any = true;
            SetRowId(n, i, int32_t(id));
            if (w->selCurrent == -2) ListSelSet(n, p, int32_t(id));
            ListDrawRow(n, record, &pane, i * h + top + ListBaselineBelowTop, p, int32_t(id));
        } else {
            SetRowId(n, i, -1);
            ListRowInvert(n, part, i);
        }
    }
    RecBufferFree(reg, &handle);
    if (w->selCurrent == -2) {
        ListSelClear(n);
        EnableToolButtons(n);
    }
    return any;
}

// The same rows through the server (request 23: the register, the first
// position, rowIds' row count, n's type and the current column's index);
// each row the reply gives with a text for every column is drawn, any
// other is a white band with id -1. A failed request leaves every row
// white with id -1 and gives false. A filtered list asks for its rows
// within its code's range and takes the range again after the reply:
// when it moved, the rows read may be another code's, so none is shown
// and the user is told.
bool ListFillRowsClient(int n, int part, int32_t first, int top)
{
    if (!WinIsList(n)) return false;
    int reg = WinRegisterOf(n);
    if (reg == 0 || ListPaneSlot(n, part) < 0 || first < 1) return false;
    WindowRec *w = WinTable[n];
    char index[256];
    ListColumnIndex(n, index);
    int rows = ListRowCount(n), columns = ListColumnCount(WinTypeOf(n));
    bool filtered = ListFilterOn(n);
    int32_t base = ListFilterBase(n), last = filtered ? w->filter.count : INT32_MAX;
    std::vector<RemoteListRow> got;
    bool done = ListFillRowsRemote(reg, uint32_t(base + first), uint16_t(rows), uint16_t(WinTypeOf(n)), index,
                                   columns, &got);
    if (done && filtered) {
        ListFilterState before = w->filter;
        done = ListFilterRange(n) && w->filter.first == before.first && w->filter.count == before.count;
        if (!done) ShowTextMessage(Texts::ListFilterChanged);
    }
    MacRect pane;
    WinColumnRect(n, part, &pane);
    int h = RowHeight(n);
    for (int i = 0; i < rows; i++) {
        bool whole = done && first + i <= last && size_t(i) < got.size() && got[i].found &&
                     got[i].texts.size() == size_t(columns) && got[i].recid <= uint32_t(INT32_MAX);
        if (!whole) {
            SetRowId(n, i, -1);
            ListRowInvert(n, part, i);
            continue;
        }
        int32_t p = first + i, id = int32_t(got[i].recid);
        SetRowId(n, i, id);
        if (w->selCurrent == -2) ListSelSet(n, p, id);
        ListDrawRowRemote(n, &pane, i * h + top + ListBaselineBelowTop, p, got[i]);
    }
    if (w->selCurrent == -2) {
        ListSelClear(n);
        EnableToolButtons(n);
    }
    return done;
}

// After a one-row scroll: reads the record at position p through the
// current column's index and draws it as visible row `row` at baseline
// y, keeping its id; a position without a record (or, in a filtered
// list, past its code's rows, taken anew) becomes a white band with id
// -1. Nothing while a client request is being answered.
void ListFetchRow(int n, const MacRect *pane, int y, int32_t p, int row)
{
    if (!WinIsList(n) || RequestRunning() || row < 0 || row >= ListRowCount(n)) return;
    int reg = WinRegisterOf(n);
    if (reg == 0) return;
    char index[256];
    ListColumnIndex(n, index);
    MemBlock handle = 0;
    uint8_t *record = RecBufferNew(reg, &handle);
    if (!record) return;
    uint32_t id = 0;
    bool filtered = ListFilterOn(n);
    bool inside = !filtered || (ListFilterRange(n) && p <= WinTable[n]->filter.count);
    if (inside && RecReadAtIndex(reg, index, ListFilterBase(n) + p, record, &id)) {
        SetRowId(n, row, int32_t(id));
        ListDrawRow(n, record, pane, y, p, int32_t(id));
    } else {
        SetRowId(n, row, -1);
        ListRowInvert(n, 0, row);
    }
    RecBufferFree(reg, &handle);
}

// Draws one row of a record at baseline y: each column's value at its
// offset in the record by the column's type and format (a column of type
// 28 shows the text the window supplies for the row), white on black when
// the id is marked. A value outside the register's record is drawn empty.
void ListDrawRow(int n, const uint8_t *record, const MacRect *pane, int y, int32_t p, int32_t id)
{
    (void)p;
    if (!WinIsList(n) || !record) return;
    uint32_t size = RegRecordSize(WinRegisterOf(n));
    MsgBuffer texts;
    bool textsMade = false;
    DrawRowWith(n, pane, y, ListIsMarked(n, id),
                [&](int c, const uint8_t *e, uint8_t *buffer, int *type, int *length) -> const uint8_t * {
                    int t = DefU16(e + ListColEntry::Type), format = DefU16(e + ListColEntry::Format);
                    uint32_t at = DefU32(e + ListColEntry::Offset);
                    if (t == FtSpare28) {
                        // Made once a row, the same way the server makes them.
                        if (!textsMade) textsMade = RowTexts(n, record, &texts);
                        MsgRewind(&texts);
                        for (int i = 0; textsMade && i <= c; i++)
                            if (!MsgGetPString(&texts, buffer)) buffer[0] = 0;
                        return buffer;
                    }
                    int width = FieldSize(uint16_t(t), format);
                    if (width <= 0 || uint64_t(at) + uint64_t(width) > size) return buffer;
                    *type = t;
                    *length = format;
                    return record + at;
                });
}

// Draws one row the server sent at baseline y: its column texts in
// column order, white on black when its id is marked.
void ListDrawRowRemote(int n, const MacRect *pane, int y, int32_t p, const RemoteListRow &row)
{
    (void)p;
    if (!WinIsList(n)) return;
    DrawRowWith(n, pane, y, ListIsMarked(n, int32_t(row.recid)),
                [&](int c, const uint8_t *, uint8_t *buffer, int *, int *) -> const uint8_t * {
                    if (size_t(c) < row.texts.size()) PStringFromC(buffer, row.texts[size_t(c)].c_str());
                    return buffer;
                });
}

// Inverts the band of visible row `row` of pane `pane` (one pixel higher
// for rows lower than 15); nothing for a row outside rowIds. `slot` is
// the pane's control slot, whose rows bound the row too.
void ListRowHighlight(int n, int pane, int slot, int row)
{
    if (!WinIsList(n)) return;
    if (slot >= 0 && slot < ControlSlotCount && row >= WinTable[n]->controls[slot].rowsShown - 1) return;
    MacRect band;
    if (!RowBand(n, pane, row, WinTable[n]->listRowHeight < 15 ? 1 : 0, &band)) return;
    PortScope port(n);
    InvertRectPort(&band);
}

// Fills the band of visible row `row` of pane `pane` white; nothing for
// a row outside rowIds.
void ListRowInvert(int n, int pane, int row)
{
    if (!WinIsList(n)) return;
    MacRect band;
    if (!RowBand(n, pane, row, 0, &band)) return;
    PortScope port(n);
    FillRectMode(&band, FillWhite);
}

// Draws n's list header: the sunken frame around pane 0 and, for each
// column of the field list, its label above the pane with a line under
// it, black for the current column and light grey for the others.
void ListHeaderDraw(int n)
{
    if (!WinIsOpen(n) || WinDefCount(n, WinPartFieldList) == 0 || !WinDefEntry(n, WinPartListPanes, 0)) return;
    PortScope port(n);
    MacRect pane;
    WinColumnRect(n, 0, &pane);
    FrameSunken3D(&pane);
    UseRegularFontTransparent(n);
    for (int c = 0; const uint8_t *e = WinDefEntry(n, WinPartFieldList, c); c++) {
        const uint8_t *label = e + ListColEntry::Label;
        int x = RectXResolve(&pane, int16_t(DefU16(e + ListColEntry::HeadX)));
        int width = PStringWidth(label);
        MacRect line;
        MakeRect(&line, x, pane.top - 3, x + std::max(1, width - 1), pane.top - 2);
        FillRectMode(&line, c == WinListColumn(n) ? FillBlack : FillFace);
        DrawPString(x, pane.top - 4, label);
    }
}
