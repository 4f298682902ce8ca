// record_test_helpers.h - small helpers the record-window tests share:
// texts put into and read from record fields, the other user that
// changes, locks and deletes records behind a window's back, and the
// logged-in user's access list.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "platform/window.h"
#include "shell/list_windows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// Puts a text into the text field at `offset` of a record.
inline void PutText(uint8_t *record, uint32_t offset, std::string_view text)
{
    record[offset] = uint8_t(text.size());
    memcpy(record + offset + 1, text.data(), text.size());
}

// The text of the text field at `offset` of a record.
inline std::string TextAt(const uint8_t *record, uint32_t offset)
{
    return std::string(reinterpret_cast<const char *>(record + offset + 1), record[offset]);
}

// The title of window n.
inline std::string TitleOf(int n) { return WinTitle(WinTable[n]->mdiChild); }

// Runs what the lambda does as another user (another lock owner).
template <typename F> void AsOtherUser(F f)
{
    uint32_t me = LockOwnerId;
    LockOwnerId = 7;
    f();
    LockOwnerId = me;
}

// A copy of record `id` of register `reg` as stored now, its rows freed;
// the caller reads fields from `out`.
inline bool StoredRecord(int reg, uint32_t id, uint8_t *out, uint32_t size)
{
    memset(out, 0, size);
    return RecReadById(reg, id, out);
}

// Access-list rows: (kind, item, right).
using AccessRows = std::vector<std::array<uint16_t, 3>>;

// A block holding access-list rows, as an access group's matrix holds them.
inline MemBlock AccessRowsBlock(const AccessRows &rows)
{
    MemBlock h = MemAlloc(uint32_t(rows.size() * 6));
    uint8_t *p = MemLock(h);
    for (size_t i = 0; p && i < rows.size(); i++) memcpy(p + i * 6, rows[i].data(), 6);
    MemUnlock(h);
    return h;
}

// Gives the logged-in user an access list of rows, freeing the one it
// had; no rows leave it none (every right allowed).
inline void AccessListUse(const AccessRows &rows)
{
    MemBlock old = GetU32(LoggedInUser, LoggedInUserAccessList);
    if (MemIsValid(old)) MemFree(&old);
    PutU32(LoggedInUser, LoggedInUserAccessList, rows.empty() ? 0 : AccessRowsBlock(rows));
}

// The rectangle of list window n's first pane.
inline MacRect ListPaneRect(int n)
{
    MacRect r;
    WinColumnRect(n, 0, &r);
    return r;
}

// The pixels of visible row `row`'s band in list window n's first pane.
inline std::vector<uint32_t> ListBand(int n, int row)
{
    MacRect r = ListPaneRect(n);
    std::vector<uint32_t> v;
    for (int y = r.top + row * 16 + 1; y < r.top + row * 16 + 17; y++)
        for (int x = r.left + 1; x < r.right - 1; x++) v.push_back(WinClientPixel(WinTable[n]->mdiChild, x, y));
    return v;
}

// Whether client pixel (x, y) of window n is painted dark.
inline bool PaintedDark(int n, int x, int y)
{
    const uint32_t p = WinClientPixel(WinTable[n]->mdiChild, x, y);
    return ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 128;
}

// Where the number of matrix row `row` of window n is painted, as a user
// finds it: the box around the dark pixels of the row's strip left of its
// first cell, looked for from that cell leftwards. False when the row is
// not on screen or no number is painted there.
inline bool PaintedRowNumber(int n, int row, MacRect *out)
{
    const int slot = MatrixSlotOf(n);
    const int screenRow = row - (slot >= 0 ? WinTable[n]->controls[size_t(slot)].position : 0);
    MacRect first;
    if (screenRow < 0 || screenRow >= MatrixRowsShown(n) ||
        !MatrixCellRect(n, MatrixRowKind(n, row), &first, screenRow, 0))
        return false;
    int left = 0, right = -1;
    for (int x = first.left - 6; x > first.left - 48 && x >= 0; x--)
        for (int y = first.top + 2; y < first.bottom - 1; y++)
            if (PaintedDark(n, x, y)) {
                if (right < 0) right = x;
                left = x;
            }
    if (right < 0) return false;
    *out = MacRect{first.top, int16_t(left), first.bottom, int16_t(right + 1)};
    return true;
}

// Whether matrix row `row` of window n is painted selected: white on
// black, as the blank right end of its first cell shows.
inline bool PaintedRowSelected(int n, int row)
{
    const int slot = MatrixSlotOf(n);
    MacRect cell;
    if (slot < 0 ||
        !MatrixCellRect(n, MatrixRowKind(n, row), &cell, row - WinTable[n]->controls[size_t(slot)].position, 0))
        return false;
    return PaintedDark(n, cell.right - 2, (cell.top + cell.bottom) / 2);
}

// The record ids of list window n's visible rows, -1 where none.
inline std::vector<int32_t> ListRowIds(int n)
{
    std::vector<int32_t> v;
    for (int i = 0; i < ListRowCount(n); i++) v.push_back(ListRowId(n, i));
    return v;
}

// The source of the built dictionary: every .dict file of the tree, joined.
inline std::string BuiltDictSource()
{
    std::string all;
    for (const auto &e : std::filesystem::directory_iterator(std::filesystem::path(ORVEL_TEST_DATA_DIR) / ".." / "dict")) {
        if (e.path().extension() != ".dict") continue;
        std::ifstream in(e.path());
        all += std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) + "\n";
    }
    return all;
}

// Makes `code` the current session user's code.
inline void SessionUserIs(const char *code)
{
    uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
    ASSERT_NE(entry, nullptr);
    uint8_t p[8];
    PStringFromC(p, code);
    PutPString(entry, SU::UserCode, 5, p);
}

// Inserts a record of reg in a hold of its own; its id, 0 when refused.
inline uint32_t InsertHeld(int reg, uint8_t *record)
{
    uint32_t id = 0;
    DbHoldBegin();
    bool inserted = RecInsertLocal(reg, record, &id);
    bool held = DbHoldEnd();
    EXPECT_TRUE(inserted && held) << "register " << reg;
    return inserted && held ? id : 0;
}

// Deletes record `id` of reg, of `size` bytes, in a hold of its own, as
// another window's user would.
inline bool DeleteHeld(int reg, uint32_t id, uint32_t size)
{
    std::vector<uint8_t> gone(size);
    if (!StoredRecord(reg, id, gone.data(), size)) return false;
    DbHoldBegin();
    bool deleted = RecDeleteHooked(reg, gone.data(), id);
    return DbHoldEnd() && deleted;
}
