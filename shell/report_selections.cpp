// report_selections.cpp - saved report selections: the rows of settings
// block 163 kept from window type 14 and deleted from the report list.
//
// A row is 86 bytes: the first 84 bytes of a parameter window's
// record (its name at 0, its title at 22) and the report number at 84,
// the same place as word 42 of the record. The window that saves a
// selection (type 14) is opened from the report list, which puts the
// number of its selected report into that word; a selection without a
// report could never run, so it is not saved.
//
// Every change reads the block as stored, changes that copy and stores
// it whole; the copy the program keeps (ReportListRows) follows a store
// that was done, and the report list is refilled from it.
#include "shell/report_commands.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/list_slot.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "shell/menu_lists.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {

constexpr int Block = ReportSelectionBlk::Number;
constexpr uint32_t RowSize = ReportSelectionBlk::Rows::Size;
constexpr uint32_t NumberAt = ReportSelectionBlk::Rows::ReportNr;   // word 42
static_assert(NumberAt + 2 == RowSize, "the report number ends the row");

// A block handle freed when it goes out of scope.
struct OwnedRows {
    MemBlock h = 0;
    OwnedRows() = default;
    OwnedRows(const OwnedRows &) = delete;
    OwnedRows &operator=(const OwnedRows &) = delete;
    ~OwnedRows() { MemFree(&h); }
};

// Reads the stored rows of block 163 into rows->h (0 when none are
// stored). False when they could not be read: a changed copy stored
// then would lose the rows it failed to read. The user is told; a lost
// connection the access layer has told already.
bool FetchRows(OwnedRows *rows)
{
    if (SettingsBlockFetch(&rows->h, Block)) return true;
    if (RunModeIsClient()) {
        if (rows->h == 0 && !RemoteConnectionLost) return true;   // the server has none
    } else if (rows->h == 0 && SettingsBlockSizeLocal(Block) == 0) {
        return true;                                                // none stored
    }
    MemFree(&rows->h);
    if (!RunModeIsClient()) ShowTextMessage(RecStoreFailed);
    return false;
}

// Word `offset` of window n's record; 0 when the record does not reach it.
int RecordWord(int n, uint32_t offset)
{
    const uint8_t *record = WinRecordBuffer(n);
    if (!record || offset + 2 > MemSize(WinTable[n]->recordHandle)) return 0;
    return GetU16(record, offset);
}

// The report number of the saved-report map entry that row `row` of the
// report list n shows; -1 when the list shows no such row.
int ListedNumber(int n, int row)
{
    const uint8_t *entry = nullptr;
    if (MenuListEntryOfRow(n, row, &entry) < 0 || !entry) return -1;
    return DefU16(entry + MenuTableEntry::Number);
}

// Copies into `out` the stored row that row `row` of report list n (in
// its saved kind) shows. The list leaves out rows whose report it may
// not run, and whether it lists a row depends only on the row's report
// number; so the rows it lists are those whose number one of its rows
// shows, in stored order. False when the list shows no such row.
bool ListedStoredRow(int n, int row, uint8_t *out)
{
    if (ListedNumber(n, row) < 0) return false;
    SettingsBlockLoad(Block);
    MemBlock rows = ReportListRows;
    if (!MemIsValid(rows)) return false;
    uint32_t count = MemSize(rows) / RowSize;
    std::vector<int> listed;
    for (uint32_t r = 0; r < count; r++) {
        int number = ListedNumber(n, int(r));
        if (number < 0) break;
        listed.push_back(number);
    }
    const uint8_t *p = MemLock(rows);
    if (!p) return false;
    int k = 0;
    bool found = false;
    for (uint32_t r = 0; r < count && !found; r++) {
        int number = GetU16(p + r * RowSize, NumberAt);
        if (std::find(listed.begin(), listed.end(), number) == listed.end()) continue;
        if (k++ == row) {
            memcpy(out, p + r * RowSize, RowSize);
            found = true;
        }
    }
    MemUnlock(rows);
    return found;
}

// The index of the first row of `rows` equal to `row`; -1 when none is.
int FindRow(MemBlock rows, const uint8_t *row)
{
    const uint8_t *p = MemLock(rows);
    if (!p) return -1;
    int found = -1;
    for (uint32_t r = 0, count = MemSize(rows) / RowSize; r < count && found < 0; r++)
        if (memcmp(p + r * RowSize, row, RowSize) == 0) found = int(r);
    MemUnlock(rows);
    return found;
}

}  // namespace

// Saves the selection of type-14 window n as a new last row of block
// 163: the record's first 84 bytes and its report number. Without a
// report number the user is told and the window stays. A store that was
// refused (told by the access layer) keeps the window open, nothing
// changed; a done one closes it and turns an open report list to the
// saved selections, refilled.
void ReportSelectionSaveOk(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    const uint8_t *record = WinRecordBuffer(n);
    if (!record || MemSize(WinTable[n]->recordHandle) < RowSize) return;
    if (GetU16(record, NumberAt) == 0) {
        ShowTextMessage(Texts::SelectionNeedsReport);
        return;
    }
    OwnedRows rows;
    if (!FetchRows(&rows)) return;
    uint32_t size = rows.h ? MemSize(rows.h) : 0;
    size -= size % RowSize;   // only whole rows are kept
    if (rows.h == 0) {
        rows.h = MemAlloc(RowSize);
        if (!rows.h) return;
    } else if (!MemRealloc(&rows.h, size + RowSize)) {
        return;
    }
    uint8_t *p = MemLock(rows.h);
    if (!p) return;
    memcpy(p + size, record, NumberAt);
    PutU16(p + size, NumberAt, GetU16(record, NumberAt));
    MemUnlock(rows.h);
    if (SettingsBlockStoreHandle(Block, rows.h) != RecDone) return;
    WinClose(n);
    int list = WinFindByDef(WinTypes::ReportList);
    if (!list) return;
    uint8_t *listRecord = WinRecordBuffer(list);
    if (listRecord && MemSize(WinTable[list]->recordHandle) >= MenuListRecord::Size)
        PutU16(listRecord, MenuListRecord::ListKind, ListCode(ReportListKind::Saved));
    MenuListFill(list);
    WinFieldsSync(list);
}

// Deletes the saved selection whose row is selected in report list
// listWindow (only while it shows the saved selections). The row is
// looked for in the block as stored now; one that is no longer there
// deletes nothing and the list shows what is stored. A refused store is
// told by the access layer and changes nothing.
void ReportSelectionDelete(int listWindow)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(listWindow) || RecordWord(listWindow, MenuListRecord::ListKind) != ListCode(ReportListKind::Saved))
        return;
    int selected = ListSelectedIndex(listWindow);
    uint8_t target[RowSize];
    if (selected < 0 || !ListedStoredRow(listWindow, selected, target)) return;
    OwnedRows rows;
    if (!FetchRows(&rows)) return;
    int at = rows.h ? FindRow(rows.h, target) : -1;
    if (at < 0) {
        SettingsBlockBindingRefresh(Block, rows.h);
        MenuListFill(listWindow);
        return;
    }
    uint32_t size = MemSize(rows.h) - MemSize(rows.h) % RowSize;
    uint8_t *p = MemLock(rows.h);
    if (!p) return;
    uint32_t from = uint32_t(at) * RowSize;
    assert(from + RowSize <= size);
    memmove(p + from, p + from + RowSize, size - from - RowSize);
    MemUnlock(rows.h);
    if (!MemRealloc(&rows.h, size - RowSize)) return;
    if (SettingsBlockStoreHandle(Block, rows.h) != RecDone) return;
    MenuListFill(listWindow);
}

// The report number of the entry selected in report list listWindow; 0
// when the list is not open or no entry with a number is selected.
int ReportListSelectedNumber(int listWindow)
{
    if (!WinIsOpen(listWindow) || WinTypeOf(listWindow) != WinTypes::ReportList) return 0;
    int number = ListedNumber(listWindow, ListSelectedIndex(listWindow));
    return number > 0 && number < 65536 ? number : 0;
}

// Puts report number `number` into word 42 of type-14 window specWindow's
// record (after its preparation cleared it); nothing for number 0 or when
// the window is not open.
void ReportSelectionWindowTake(int specWindow, int number)
{
    if (number <= 0 || !WinIsOpen(specWindow)) return;
    uint8_t *record = WinRecordBuffer(specWindow);
    if (!record || MemSize(WinTable[specWindow]->recordHandle) < RowSize) return;
    PutU16(record, NumberAt, uint16_t(number));
}

// True when the saved-report map has an entry for report `number`.
bool ReportKeepsSelections(int number)
{
    for (int i = 0, count = ListTableCount(ListSlot::SavedReports); i < count; i++)
        if (DefU16(ListTableEntry(ListSlot::SavedReports, i) + MenuTableEntry::Number) == number) return true;
    return false;
}

// Puts the title of the saved selection selected in report list
// listWindow into the selection text of report window specWindow, where
// the reports the map names keep their title, and shows it. A saved row
// without a title leaves the window as it opened (the report then takes
// its saved title by number).
void ReportSelectionOpened(int listWindow, int specWindow)
{
    if (!WinIsOpen(listWindow) || !WinIsOpen(specWindow) || WinTypeOf(listWindow) != WinTypes::ReportList) return;
    if (RecordWord(listWindow, MenuListRecord::ListKind) != ListCode(ReportListKind::Saved)) return;
    uint8_t row[RowSize];
    if (!ListedStoredRow(listWindow, ListSelectedIndex(listWindow), row)) return;
    uint8_t *record = WinRecordBuffer(specWindow);
    if (!record || MemSize(WinTable[specWindow]->recordHandle) < ReportParamsSize) return;
    uint8_t title[256];
    GetText(row, ReportSelectionBlk::Rows::Title, title);
    if (title[0] == 0) return;
    PutText(record, ReportParamsVc::SelText1, title);
    WinRecordRefresh(specWindow);
}
