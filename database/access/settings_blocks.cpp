// settings_blocks.cpp - binding, loading, storing and the text-backup
// lines of settings blocks.
//
// Conversion to file form always works on a private copy at least as long
// as the descriptor's record, so neither short caller data nor a short
// bound buffer is read or written past its end, and a caller's data (which
// may be the bound buffer itself) are never changed.
#include "database/access/settings_blocks.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/file_form.h"
#include "core/format_block.h"
#include "core/interface_load.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine.h"

SettingsTextExchange SettingsText;

namespace {

SettingsBlockState *StateAt(int i) {
    if (i < 0 || (size_t)i >= SettingsBlockStates.size()) return nullptr;
    return &SettingsBlockStates[(size_t)i];
}

// Calls f(i, desc, state) for every descriptor entry of block.
template <typename F>
void ForEachEntry(int block, F f) {
    int n = SettingsBlockDescCount();
    for (int i = 0; i < n; i++) {
        const uint8_t *desc = SettingsBlockDescAt(i);
        SettingsBlockState *st = StateAt(i);
        if (desc && st && SettingsDescNumber(desc) == block) f(i, desc, st);
    }
}

// Kind and record size of block's first descriptor (kind 1, size 0 when
// the interface file does not describe it).
void BlockShape(int block, uint16_t *kind, uint32_t *size) {
    const uint8_t *desc = SettingsBlockDesc(block, nullptr);
    *kind = desc ? SettingsDescKind(desc) : 1;
    *size = desc ? SettingsDescSize(desc) : 0;
}

// A copy of data in a buffer of at least the descriptor's record size
// (zero-filled beyond size), converted in the direction given.
std::vector<uint8_t> ConvertedCopy(int block, const uint8_t *data, uint32_t size, int direction) {
    uint16_t kind;
    uint32_t descSize;
    BlockShape(block, &kind, &descSize);
    std::vector<uint8_t> copy(std::max<size_t>({size, kind != 0 ? descSize : 0, 1}), 0);
    if (size) std::memcpy(copy.data(), data, size);
    if (kind != 0) BlockConvert(block, copy.data(), direction);
    else BlockMatrixConvert(block, copy.data(), size, direction);
    return copy;
}

// Makes *var hold a copy of size bytes of data (0 bytes: no block).
bool HandleAssign(MemBlock *var, const uint8_t *data, uint32_t size) {
    if (size == 0) {
        MemFree(var);
        return true;
    }
    if (!MemResizeZero(var, size)) return false;
    std::memcpy(MemLock(*var), data, size);
    MemUnlock(*var);
    return true;
}

// A company that never stored its number and date formats (a new one
// without default settings) formats with the default block: its empty
// separators would show 1,250.00 as "125000" and dates without dots.
// A decimal separator of no character is never a stored choice.
void FormatBlockDefaultIfEmpty(uint8_t *data, uint32_t size) {
    if (size < sizeof(FormatBlock)) return;
    FormatBlock current;
    std::memcpy(&current, data, sizeof current);
    if (current.decimalSep[0] == 0) std::memcpy(data, &DefaultFormatBlock, sizeof(FormatBlock));
}

// Brings every bound copy of block up to date from data (memory form); an
// empty format block stored formats with the defaults, as when loaded.
void UpdateBoundCopies(int block, const uint8_t *data, uint32_t size) {
    ForEachEntry(block, [&](int, const uint8_t *desc, SettingsBlockState *st) {
        if (!st->binding) return;
        if (SettingsDescKind(desc) == 0) {
            HandleAssign(static_cast<MemBlock *>(st->binding), data, size);
        } else {
            uint8_t *buffer = static_cast<uint8_t *>(st->binding);
            uint32_t n = std::min(size, st->size);
            if (n) std::memmove(buffer, data, n);   // data is null for an empty store
            if (n < st->size) std::memset(buffer + n, 0, st->size - n);
            if (block == FormatBlk::Number) FormatBlockDefaultIfEmpty(buffer, st->size);
        }
        st->loaded = 1;
    });
}

bool StoreConverted(int block, const uint8_t *data, uint32_t size) {
    std::vector<uint8_t> file = ConvertedCopy(block, data, size, ConvertToFile);
    return D4BlockStore(block, file.data(), size);
}

// true when size bytes may be stored as block: a settings block that the
// interface file describes, with exactly its record size (one record) or
// a whole number of its rows (a table). On a server every client's store
// comes this way, so a wrong number or size never reaches the database.
bool StoreShapeAccepted(int block, uint32_t size) {
    if (block < SettingsBlockFirst || block > SettingsBlockLast) return false;
    const uint8_t *desc = SettingsBlockDesc(block, nullptr);
    if (!desc) return false;
    uint32_t defined = SettingsDescSize(desc);
    if (SettingsDescKind(desc) != 0) return size == defined;
    return defined > 0 && size % defined == 0;
}

// The result of a store that was refused or failed: nothing was stored.
int StoreFailed() {
    ShowTextMessage(RecStoreFailed);
    return RecStoreFailed;
}

}  // namespace

// ---- Binding ----

void SettingsBlockBind(int block, uint8_t *buffer, uint32_t size, int lazy) {
    ForEachEntry(block, [&](int, const uint8_t *desc, SettingsBlockState *st) {
        if (SettingsDescKind(desc) == 0) return;
        *st = SettingsBlockState{buffer, size, (uint8_t)lazy, 0};
    });
}

uint8_t *SettingsBlockBindNew(int block, uint32_t size, int lazy) {
    uint8_t *buffer = MemAllocFixed(size);
    if (buffer) SettingsBlockBind(block, buffer, size, lazy);
    return buffer;
}

void SettingsBlockBindHandle(int block, MemBlock *var, int lazy) {
    *var = 0;
    ForEachEntry(block, [&](int, const uint8_t *desc, SettingsBlockState *st) {
        if (SettingsDescKind(desc) != 0) return;
        *st = SettingsBlockState{var, 0, (uint8_t)lazy, 0};
    });
}

bool SettingsBlockIsUnbound(int number) {
    int i = 0;
    if (!SettingsBlockDesc(number, &i)) return false;
    SettingsBlockState *st = StateAt(i);
    return !st || st->binding == nullptr;
}

// ---- Loading ----

bool SettingsBlockLoadEntry(int i) {
    const uint8_t *desc = SettingsBlockDescAt(i);
    SettingsBlockState *st = StateAt(i);
    if (!desc || !st || !st->binding) return false;
    int block = SettingsDescNumber(desc);
    RemoteConnectionLost = false;
    if (SettingsDescKind(desc) == 0) SettingsBlockFetch(static_cast<MemBlock *>(st->binding), block);
    else SettingsBlockRead(block, static_cast<uint8_t *>(st->binding), st->size);
    if (block == FormatBlk::Number) FormatBlockDefaultIfEmpty(static_cast<uint8_t *>(st->binding), st->size);
    // A block that is not stored reads as zeros and counts as loaded; a
    // lost connection leaves it to be loaded again.
    if (RemoteConnectionLost) return false;
    st->loaded = 1;
    return true;
}

void SettingsBlockLoad(int block) {
    int i = 0;
    if (!SettingsBlockDesc(block, &i)) return;
    SettingsBlockState *st = StateAt(i);
    if (st && !st->loaded) SettingsBlockLoadEntry(i);
}

void SettingsBlocksReload() {
    for (SettingsBlockState &st : SettingsBlockStates) st.loaded = 0;
    for (size_t i = 0; i < SettingsBlockStates.size(); i++)
        if (SettingsBlockStates[i].binding && SettingsBlockStates[i].lazy == 0) SettingsBlockLoadEntry((int)i);
    if (AccessUiHooks.rebuildWindowTypeMenu) AccessUiHooks.rebuildWindowTypeMenu();
}

void SettingsBlockBindingRefresh(int block, MemBlock handle) {
    uint32_t size = handle ? MemSize(handle) : 0;
    std::vector<uint8_t> copy(std::max<uint32_t>(size, 1), 0);
    if (size) {
        std::memcpy(copy.data(), MemLock(handle), size);
        MemUnlock(handle);
    }
    ForEachEntry(block, [&](int, const uint8_t *desc, SettingsBlockState *st) {
        if (SettingsDescKind(desc) != 0 || !st->binding) return;
        MemBlock *var = static_cast<MemBlock *>(st->binding);
        if (*var != handle) HandleAssign(var, copy.data(), size);
        st->loaded = 1;
    });
}

// ---- Local reading and storing ----

bool SettingsBlockReadLocal(int block, uint8_t *buffer, uint32_t size) {
    uint16_t kind;
    uint32_t descSize;
    BlockShape(block, &kind, &descSize);
    std::vector<uint8_t> tmp(std::max<size_t>({size, kind != 0 ? descSize : 0, 1}), 0);
    bool found = D4BlockRead(block, tmp.data(), (uint32_t)tmp.size());
    if (kind != 0) BlockConvert(block, tmp.data(), ConvertToMemory);
    else BlockMatrixConvert(block, tmp.data(), size, ConvertToMemory);
    if (size) std::memcpy(buffer, tmp.data(), size);
    return found;
}

bool SettingsBlockFetchLocal(MemBlock *var, int block) {
    MemFree(var);
    uint32_t size = D4BlockGetSize(block);
    if (size == 0) return false;
    MemBlock h = MemAlloc(size);
    if (!h) return false;
    uint8_t *p = MemLock(h);
    bool found = D4BlockRead(block, p, size);
    BlockMatrixConvert(block, p, size, ConvertToMemory);
    MemUnlock(h);
    *var = h;
    return found;
}

uint32_t SettingsBlockSizeLocal(int block) { return D4BlockGetSize(block); }

int SettingsBlockStoreLocal(int block, const uint8_t *data, uint32_t size) {
    RecFocusClear();
    if (!StoreShapeAccepted(block, size)) return StoreFailed();
    // The data may be a bound copy that the update below rewrites; the
    // check may complete the copy (order codes), and the copy is stored.
    std::vector<uint8_t> own(data, data + size);
    uint8_t *src = own.empty() ? nullptr : own.data();
    int check = AccessServices.settingsBlockCheck ? AccessServices.settingsBlockCheck(block, src, size) : 0;
    if (check == 0 && AccessServices.settingsCodesKept) check = AccessServices.settingsCodesKept(block, src, size);
    if (check != 0) return RecRefused;
    // The database first: a store that fails leaves the bound copy as the
    // stored block still is.
    if (!StoreConverted(block, src, size)) return StoreFailed();
    SettingsBlockStoreUnlock(block);
    UpdateBoundCopies(block, src, size);
    if (AccessServices.settingsBlockAfterChange) AccessServices.settingsBlockAfterChange(block, src, size);
    return RecDone;
}

int SettingsBlockStoreHandleLocal(int block, MemBlock handle) {
    RecFocusClear();
    uint32_t size = handle ? MemSize(handle) : 0;
    if (!StoreShapeAccepted(block, size)) return StoreFailed();
    std::vector<uint8_t> own(size);
    if (size) {
        std::memcpy(own.data(), MemLock(handle), size);
        MemUnlock(handle);
    }
    // Unchecked as rows are (an import stores blocks whose checks read
    // registers imported after them), they still keep the codes in use:
    // what names a code was stored before.
    if (AccessServices.settingsCodesKept && AccessServices.settingsCodesKept(block, own.data(), size) != 0)
        return RecRefused;
    if (!StoreConverted(block, own.data(), size)) return StoreFailed();
    // A settings window's register lock ends with its store.
    SettingsBlockStoreUnlock(block);
    SettingsBlockBindingRefresh(block, handle);
    return RecDone;
}

// ---- Text backup ----

void ExportTagLine(int block) {
    if (!SettingsText.exportText || !SettingsText.exportLineFeed) return;
    uint8_t tag[256] = {0};
    if (SettingsText.blockTextTag) SettingsText.blockTextTag(block, tag);
    if (ByteOrder.program == ProgramByteOrder) TranslateChars(tag, 1);
    SettingsText.exportText(tag);
    SettingsText.exportLineFeed();
}

void SettingsBlockExportData(int block, const uint8_t *data, uint32_t length) {
    if (!SettingsText.writeBlockText || !SettingsText.exportLineFeed) return;
    uint16_t kind;
    uint32_t size;
    BlockShape(block, &kind, &size);
    if (kind != 0) {
        // The writer reads the whole record: give it at least that much.
        std::vector<uint8_t> record(std::max<size_t>({size, length, 1}), 0);
        if (length) std::memcpy(record.data(), data, length);
        ExportTagLine(block);
        SettingsText.writeBlockText(block, record.data());
        SettingsText.exportLineFeed();
        SettingsText.exportLineFeed();
        return;
    }
    uint32_t rows = size ? length / size : 0;
    for (uint32_t r = 0; r < rows; r++) {
        if (r == 0) ExportTagLine(block);
        SettingsText.writeBlockText(block, data + (size_t)r * size);
        SettingsText.exportLineFeed();
    }
    if (rows) SettingsText.exportLineFeed();
}

void SettingsBlockExport(int block) {
    uint16_t kind;
    uint32_t size;
    BlockShape(block, &kind, &size);
    if (kind != 0) {
        std::vector<uint8_t> record(std::max<uint32_t>(size, 1), 0);
        SettingsBlockReadLocal(block, record.data(), size);
        SettingsBlockExportData(block, record.data(), size);
        return;
    }
    MemBlock rows = 0;
    SettingsBlockFetch(&rows, block);
    if (!rows) return;
    SettingsBlockExportData(block, MemLock(rows), MemSize(rows));
    MemFree(&rows);
}

int SettingsBlockImport(int block) {
    SettingsTextExchange &io = SettingsText;
    if (!io.importSkipLine || !io.readBlockText || !io.importNextTag || !io.importNextLineHasData) return RecDone;
    uint16_t kind;
    uint32_t size;
    BlockShape(block, &kind, &size);
    // A block is stored only when its section was read whole: a damaged
    // line leaves the stored record, or the stored rows, as they were.
    int result = RecDone;
    if (kind != 0) {
        std::vector<uint8_t> record(std::max<uint32_t>(size, 1), 0);
        io.importSkipLine();
        bool whole = io.readBlockText(block, record.data());
        if (!whole) return RecStoreFailed;
        io.importSkipLine();
        result = SettingsBlockStore(block, record.data(), size);
    } else if (size > 0) {
        MemBlock rows = 0;
        std::vector<uint8_t> row(size);
        bool whole = true;
        while (whole && io.importNextLineHasData()) {
            std::fill(row.begin(), row.end(), 0);
            whole = io.readBlockText(block, row.data());
            uint32_t old = rows ? MemSize(rows) : 0;
            if (whole && !MemResizeZero(&rows, old + size)) whole = false;
            if (!whole) break;
            std::memcpy(MemLock(rows) + old, row.data(), size);
            MemUnlock(rows);
        }
        result = whole ? SettingsBlockStoreHandleLocal(block, rows) : RecStoreFailed;
        MemFree(&rows);
        if (!whole) return result;
    }
    io.importNextTag();
    if (io.importTagHeld) io.importTagHeld();
    return result;
}
