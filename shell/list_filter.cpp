// list_filter.cpp - a list window limited to the rows of one code: the
// rows whose first key part, in the index of the list's current column,
// is that code.
//
// Such rows lie together in the index, so the filter is a range of index
// positions: the list's own positions 1..count are the index positions
// first .. first + count - 1, and everything that scrolls, selects,
// finds or counts works on the list's own positions. The range is taken
// anew (two searches on the first key part) before rows are read, as
// rows may have come or gone since; a client takes it through the server
// like any other search, and checks after reading that it still holds
// (list_rows.cpp), so that a filtered list never shows another code's
// row. A filtered list keeps to the columns whose index starts with the
// same field: another index would scatter the code's rows.
#include <algorithm>
#include <cstring>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// The definition of reg's index `name`; null when it has none of that name.
const uint8_t *IndexNamed(int reg, const char *name)
{
    if (!name || !name[0]) return RegCurrentIndexDef(reg);
    for (int i = 0; const uint8_t *def = RegIndexDef(reg, i); i++) {
        char own[256];
        PStringToC(IndexDefName(def), own);
        if (strcmp(own, name) == 0) return def;
    }
    return nullptr;
}

// The first key part of reg's index `name` into *part; false when the
// index is not there or its first part is no text (a code the filter
// can be given as typed).
bool FirstTextPart(int reg, const char *name, KeyPartInfo *part)
{
    const uint8_t *def = IndexNamed(reg, name);
    if (!def || IndexDefPartCount(def) < 1) return false;
    *part = IndexDefPart(def, 0);
    return FieldTypeIsText(part->type) && part->length >= 2 && part->recordOffset + part->length <= RegRecordSize(reg);
}

// The index of list column c of n into name (256 bytes); false when n has no column c.
bool ColumnIndex(int n, int c, char *name)
{
    const uint8_t *e = WinDefEntry(n, WinPartFieldList, c);
    if (!e) return false;
    PStringToC(e + ListColEntry::Index, name);
    return true;
}

// True when index a's and index b's first key parts are the same field.
bool SameFirstPart(int reg, const char *a, const char *b)
{
    KeyPartInfo pa{}, pb{};
    return FirstTextPart(reg, a, &pa) && FirstTextPart(reg, b, &pb) && pa.recordOffset == pb.recordOffset &&
           pa.length == pb.length;
}

}  // namespace

// True when n is a list limited to one code's rows.
bool ListFilterOn(int n) { return WinIsList(n) && WinTable[n]->filter.on; }

// What turns one of n's positions into its index position: the position
// before the code's first row, as last taken; 0 unfiltered.
int32_t ListFilterBase(int n) { return ListFilterOn(n) ? WinTable[n]->filter.first - 1 : 0; }

// Takes the range of n's code in the current column's index: the first
// entry whose first part is the code and the last, by two searches on
// that part alone. No row of the code gives count 0 (first is then where
// the code would be). False, count 0, when the index or the code cannot
// be searched or a search failed for want of the server.
bool ListFilterRange(int n)
{
    if (!ListFilterOn(n)) return false;
    ListFilterState &f = WinTable[n]->filter;
    f.count = 0;
    int reg = WinRegisterOf(n);
    char index[256];
    ListColumnIndex(n, index);
    KeyPartInfo part{};
    if (!FirstTextPart(reg, index, &part)) return false;
    MemBlock h = 0;
    uint8_t *key = RecBufferNew(reg, &h);
    if (!key) return false;
    bool ok = FieldFromText(key + part.recordOffset, part.type, part.length - 1, f.code);
    uint32_t id = 0, first = 0, last = 0;
    RemoteConnectionLost = false;
    bool any = ok && RecFindByIndex(reg, index, key, 1, 1, &id, &first);
    if (ok && !any) ok = !RemoteConnectionLost;
    if (any) {
        RecFreeMatrix(reg, key);
        RecClear(reg, key);
        (void)FieldFromText(key + part.recordOffset, part.type, part.length - 1, f.code);
        any = RecFindByIndexKeep(reg, index, key, 1, 1, &id, &last) && last >= first;
        ok = any;
    }
    RecFreeMatrix(reg, key);
    RecBufferFree(reg, &h);
    f.first = int32_t(std::min<uint32_t>(first, INT32_MAX));
    if (f.first < 1) f.first = 1;
    if (any) f.count = int32_t(std::min<uint32_t>(last - first + 1, INT32_MAX));
    return ok;
}

// The rows n shows: a filtered list's code's rows, taken anew; else the
// register's record count.
int32_t ListRowTotal(int n)
{
    if (!WinIsList(n)) return 0;
    if (ListFilterOn(n)) {
        (void)ListFilterRange(n);
        return WinTable[n]->filter.count;
    }
    int reg = WinRegisterOf(n);
    return reg ? int32_t(RegOpenCount(reg)) : 0;
}

// Limits list n to code's rows in index `index` (see list_windows.h): the
// first column of that index becomes current (with the filter off, so the
// change is not refused), the list is read from its top with its first
// row selected, and the title names label.
bool ListFilterSet(int n, const char *index, const uint8_t *code, const uint8_t *label)
{
    if (!WinIsList(n) || !index || !code || code[0] == 0) return false;
    int reg = WinRegisterOf(n);
    KeyPartInfo part{};
    if (reg == 0 || !FirstTextPart(reg, index, &part) || code[0] > part.length - 1) return false;
    // The list takes the order of the first column of that index.
    int column = -1;
    char name[256];
    for (int c = 0; column < 0 && ColumnIndex(n, c, name); c++)
        if (strcmp(name, index) == 0) column = c;
    if (column < 0) return false;
    WindowRec *w = WinTable[n];
    w->filter.on = 0;
    SetWindowStateWord(n, column);
    w->filter.on = 1;
    PStringCopy(w->filter.code, code);
    PStringCopy(w->filter.label, label && label[0] ? label : code);
    w->filter.first = 1;
    w->filter.count = 0;
    ListUnmarkAll(n, 0);
    int slot = ListPaneSlot(n, 0);
    if (slot >= 0) w->controls[slot].position = 1;
    w->selCurrent = -2;   // the first row is selected as it is read
    ListRefresh(n);
    WinTitleUpdate(n);
    WinMarkChanged(n);
    return true;
}

// Lifts n's filter: every row of the register, read again, and the plain title.
void ListFilterClear(int n)
{
    if (!ListFilterOn(n)) return;
    WinTable[n]->filter.on = 0;
    ListUnmarkAll(n, 0);
    ListRefresh(n);
    WinTitleUpdate(n);
    WinMarkChanged(n);
}

// True when column `column` sorts n's rows by an index whose first part is
// the filtered field (always when n is not filtered).
bool ListFilterAllowsColumn(int n, int column)
{
    if (!ListFilterOn(n)) return true;
    char now[256], other[256];
    ListColumnIndex(n, now);
    return ColumnIndex(n, column, other) && SameFirstPart(WinRegisterOf(n), now, other);
}

// Appends " for <label>" to title when n is filtered.
void ListFilterTitle(int n, uint8_t *title)
{
    if (!ListFilterOn(n)) return;
    uint8_t word[256];
    GetUiText(word, Texts::ListFilterFor);
    PStringAppendC(title, " ");
    PStringAppend(title, word);
    PStringAppendC(title, " ");
    PStringAppend(title, WinTable[n]->filter.label);
}

// A find in filtered list n gave index position *position (record *id):
// it becomes the list's own position; a position before the code's rows
// is the code's first row (every row of the code comes after the key),
// one after them is no row. False when no row of the code is at or after
// the key, or the first row could not be read.
bool ListFilterPlaceFound(int n, const char *index, uint32_t *position, uint32_t *id)
{
    if (!ListFilterOn(n)) return true;
    if (!ListFilterRange(n) || WinTable[n]->filter.count == 0) return false;
    const ListFilterState &f = WinTable[n]->filter;
    int64_t p = int64_t(*position) - (f.first - 1);
    if (p > f.count) return false;
    if (p >= 1) {
        *position = uint32_t(p);
        return true;
    }
    int reg = WinRegisterOf(n);
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(reg, &h);
    if (!record) return false;
    uint32_t firstId = 0;
    bool read = RecReadAtIndex(reg, index, f.first, record, &firstId);
    RecFreeMatrix(reg, record);
    RecBufferFree(reg, &h);
    if (!read || firstId > uint32_t(INT32_MAX)) return false;
    *position = 1;
    *id = firstId;
    return true;
}
