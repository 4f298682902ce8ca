// record_test_helpers.h - small helpers the record-window tests share:
// texts put into and read from record fields, and the other user that
// changes, locks and deletes records behind a window's back.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/memblock.h"
#include "database/access/record_access.h"
#include "platform/window.h"
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
