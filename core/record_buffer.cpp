// record_buffer.cpp - record buffers, their matrices of rows, and field
// values stored into records and rows by offset (see record_buffer.h).
#include "core/record_buffer.h"

#include <cstring>
#include <functional>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"

namespace {

// The record's slot offset, or -1 when the register has no rows.
int32_t SlotOffset(int reg) { return RegMatrixOffset(reg); }

uint32_t SlotValue(int reg, const uint8_t *record) {
    int32_t at = SlotOffset(reg);
    return at < 0 || !record ? MatrixSlotNone : GetU32(record, (size_t)at);
}

void SetSlot(int reg, uint8_t *record, uint32_t value) { PutU32(record, (size_t)SlotOffset(reg), value); }

bool IsMarker(uint32_t slot) { return slot == MatrixSlotDropped || slot == MatrixSlotMarked; }

// Whether p lies inside the n bytes at base (compared as addresses, which
// std::less makes well defined for unrelated pointers).
bool Inside(const uint8_t *p, const uint8_t *base, size_t n) {
    std::less<const uint8_t *> lt;
    return base && !lt(p, base) && lt(p, base + n);
}

// src, or a copy of its n bytes in *keep when it lies in the block h,
// which is about to move.
const uint8_t *StableSource(const uint8_t *src, MemBlock h, uint32_t n, std::vector<uint8_t> *keep) {
    if (!src || !h) return src;
    uint8_t *base = MemLock(h);
    bool inside = Inside(src, base, MemSize(h));
    MemUnlock(h);
    if (!inside) return src;
    keep->assign(src, src + n);
    return keep->data();
}

// The row-layout entry of the given kind at offset, into *out.
bool RowFieldOf(RowLayoutRef rows, uint16_t kind, uint32_t offset, RowFieldInfo *out) {
    FieldCursor c = RowLayoutBegin(rows);
    RowFieldInfo f;
    while (RowLayoutNext(&c, &f))
        if (f.kind == kind && f.offset == offset) {
            *out = f;
            return true;
        }
    return false;
}

// Where a row's field lies, and how to move it: the kind word itself
// (several kinds, offset 0) or a layout entry.
struct RowFieldPlace {
    uint8_t *field = nullptr;
    bool kindWord = false;
    RowFieldInfo info{};
};

enum class RowFieldFound { Yes, NoRow, NoField };

// Locks the matrix and finds the field at offset of row `row`; when it
// is found the caller unlocks *h.
RowFieldFound FindRowField(int reg, const uint8_t *record, int32_t row, uint32_t offset, MemBlock *h,
                           RowFieldPlace *place) {
    RowLayoutRef rows = RegRowLayout(reg);
    uint32_t rowSize = RecRowSize(reg);
    *h = RecMatrixHandle(reg, record);
    if (rowSize == 0 || *h == 0 || row < 0) return RowFieldFound::NoRow;
    int32_t count = 0;
    uint8_t *data = MemArrayLock(*h, rowSize, nullptr, &count);
    if (row >= count) {
        MemUnlock(*h);
        return RowFieldFound::NoRow;
    }
    uint8_t *start = data + (size_t)row * rowSize;
    uint16_t kind = 1;
    if (RowLayoutKindCount(rows) > 1) {
        if (offset == 0) {
            place->field = start;
            place->kindWord = true;
            return RowFieldFound::Yes;
        }
        kind = GetU16(start);
    }
    // A field that would end past the row (a damaged layout) counts as
    // absent.
    if (!RowFieldOf(rows, kind, offset, &place->info) ||
        (uint64_t)offset + (uint64_t)FieldSize(place->info.type, place->info.size) > rowSize) {
        MemUnlock(*h);
        return RowFieldFound::NoField;
    }
    place->field = start + offset;
    return RowFieldFound::Yes;
}

// The width of a field at offset of the register's rows when the row's
// kind is unknown: 2 for the kind word, else the narrowest entry at that
// offset (so no caller's buffer is overrun), 0 when there is none.
int RowFieldWidthAnyKind(int reg, uint32_t offset) {
    RowLayoutRef rows = RegRowLayout(reg);
    if (RowLayoutKindCount(rows) > 1 && offset == 0) return 2;
    FieldCursor c = RowLayoutBegin(rows);
    RowFieldInfo f;
    int width = -1;
    while (RowLayoutNext(&c, &f))
        if (f.offset == offset) {
            int w = FieldSize(f.type, f.size);
            if (width < 0 || w < width) width = w;
        }
    return width < 0 ? 0 : width;
}

}  // namespace

// ---- Arrays in memory blocks ----

uint8_t *MemArrayLock(MemBlock h, uint32_t elementSize, uint8_t **data, int32_t *count) {
    uint8_t *p = h ? MemLock(h) : nullptr;
    if (data) *data = p;
    if (count) {
        uint32_t n = p && elementSize ? MemSize(h) / elementSize : 0;
        *count = n > (uint32_t)INT32_MAX ? INT32_MAX : (int32_t)n;
    }
    return p;
}

uint8_t *MemArrayLockTwin(MemBlock h, uint32_t elementSize, uint8_t **data, int32_t *count) {
    return MemArrayLock(h, elementSize, data, count);
}

bool MemResizeZero(MemBlock *h, uint32_t n) {
    if (*h == 0) {
        MemBlock fresh = MemAlloc(n);
        if (!fresh) return false;
        *h = fresh;
        return true;
    }
    return MemRealloc(h, n);
}

bool MemArrayDeleteRow(MemBlock h, int32_t i, uint32_t rowSize) {
    int32_t count = 0;
    uint8_t *data = MemArrayLock(h, rowSize, nullptr, &count);
    if (!data) return false;
    if (i < 0 || i >= count) {
        MemUnlock(h);
        return false;
    }
    size_t at = (size_t)i * rowSize;
    std::memmove(data + at, data + at + rowSize, (size_t)(count - 1 - i) * rowSize);
    MemUnlock(h);
    return MemReallocByValue(h, (uint32_t)(count - 1) * rowSize);
}

// ---- Record buffers ----

uint8_t *RecBufferNew(int reg, MemBlock *h) {
    *h = 0;
    uint32_t size = RegRecordSize(reg);
    if (size == 0) return nullptr;
    MemBlock b = MemAlloc(size);
    if (!b) return nullptr;
    uint8_t *record = MemLock(b);
    if (SlotOffset(reg) >= 0) SetSlot(reg, record, MatrixSlotNone);
    *h = b;
    return record;
}

void RecBufferFree(int reg, MemBlock *h) {
    if (*h == 0) return;
    uint8_t *record = MemLock(*h);
    if (record) RecFreeMatrix(reg, record);
    MemFree(h);
}

void RecFreeMatrix(int reg, uint8_t *record) {
    if (SlotOffset(reg) < 0 || !record) return;
    MemBlock h = RecMatrixHandle(reg, record);
    if (h) MemFree(&h);
    SetSlot(reg, record, MatrixSlotNone);
}

void RecMatrixDrop(int reg, uint8_t *record) {
    if (SlotOffset(reg) < 0 || !record) return;
    if (SlotValue(reg, record) == MatrixSlotDropped) return;
    MemBlock h = RecMatrixHandle(reg, record);
    if (h) MemFree(&h);
    SetSlot(reg, record, MatrixSlotDropped);
}

MemBlock RecMatrixHandle(int reg, const uint8_t *record) {
    uint32_t slot = SlotValue(reg, record);
    // A value that is no live block (left over in a record read from a
    // file, say) is never used as one.
    if (slot == MatrixSlotNone || IsMarker(slot) || !MemIsValid(slot)) return 0;
    return slot;
}

uint32_t RecRowSize(int reg) { return SlotOffset(reg) < 0 ? 0 : RowLayoutRowSize(RegRowLayout(reg)); }

// ---- Rows ----

int32_t MatrixRowCount(int reg, int, const uint8_t *record) {
    uint32_t rowSize = RecRowSize(reg);
    MemBlock h = RecMatrixHandle(reg, record);
    if (rowSize == 0 || h == 0) return 0;
    uint32_t n = MemSize(h) / rowSize;
    return n > (uint32_t)INT32_MAX ? INT32_MAX : (int32_t)n;
}

bool MatrixRowGet(int reg, int, const uint8_t *record, int32_t row, uint8_t *dst) {
    uint32_t rowSize = RecRowSize(reg);
    if (!dst || rowSize == 0) return false;
    MemBlock h = RecMatrixHandle(reg, record);
    int32_t count = 0;
    uint8_t *data = MemArrayLock(h, rowSize, nullptr, &count);
    bool ok = row >= 0 && row < count;
    if (ok)
        std::memcpy(dst, data + (size_t)row * rowSize, rowSize);
    else
        std::memset(dst, 0, rowSize);
    if (h) MemUnlock(h);
    return ok;
}

bool MatrixRowRead(int reg, const uint8_t *record, int32_t row, uint8_t *dst) {
    if (!dst || !record) return false;
    return MatrixRowGet(reg, 0, record, row, dst);
}

MatrixFaultHooks MatrixTestHooks;

bool MatrixRowPut(int reg, int, uint8_t *record, int32_t row, const uint8_t *src) {
    if (MatrixTestHooks.failPutAt >= 0 && ++MatrixTestHooks.putsDone == MatrixTestHooks.failPutAt) return false;
    uint32_t rowSize = RecRowSize(reg);
    if (!record || !src || rowSize == 0 || row < 0) return false;
    uint32_t slot = SlotValue(reg, record);
    if (IsMarker(slot)) return false;
    MemBlock h = RecMatrixHandle(reg, record);
    uint64_t end = ((uint64_t)row + 1) * rowSize;
    if (end > UINT32_MAX - 4) return false;
    std::vector<uint8_t> keep;   // holds src while the matrix moves
    if (h == 0 || end > MemSize(h)) {
        src = StableSource(src, h, rowSize, &keep);
        if (!MemResizeZero(&h, (uint32_t)end)) return false;
        SetSlot(reg, record, h);
    }
    uint8_t *data = MemLock(h);
    std::memmove(data + (size_t)row * rowSize, src, rowSize);
    MemUnlock(h);
    return true;
}

bool MatrixRowInsert(int reg, uint8_t *record, int32_t row, const uint8_t *src) {
    uint32_t rowSize = RecRowSize(reg);
    if (!record || rowSize == 0 || row < 0 || IsMarker(SlotValue(reg, record))) return false;
    MemBlock h = RecMatrixHandle(reg, record);
    int32_t count = MatrixRowCount(reg, 0, record);
    if (row > count) return false;
    uint64_t end = ((uint64_t)count + 1) * rowSize;
    if (end > UINT32_MAX - 4) return false;
    std::vector<uint8_t> keep;
    src = StableSource(src, h, rowSize, &keep);
    if (!MemResizeZero(&h, (uint32_t)end)) return false;
    SetSlot(reg, record, h);
    uint8_t *data = MemLock(h);
    uint8_t *at = data + (size_t)row * rowSize;
    std::memmove(at + rowSize, at, (size_t)(count - row) * rowSize);
    if (src)
        std::memcpy(at, src, rowSize);
    else
        std::memset(at, 0, rowSize);
    MemUnlock(h);
    return true;
}

bool MatrixRowDelete(int reg, uint8_t *record, int32_t row) {
    uint32_t rowSize = RecRowSize(reg);
    MemBlock h = RecMatrixHandle(reg, record);
    return rowSize != 0 && h != 0 && MemArrayDeleteRow(h, row, rowSize);
}

// ---- Field values ----

bool RecFieldPut(int reg, uint8_t *record, uint32_t offset, const void *value) {
    if (!record || !value) return false;
    FieldCursor c = FieldListBegin(RegFieldList(reg));
    FieldInfo f;
    while (FieldListNext(&c, &f))
        if (f.offset == offset) {
            if ((uint64_t)offset + (uint64_t)FieldSize(f.type, f.size) > RegRecordSize(reg)) return false;
            FieldMove(record + offset, static_cast<const uint8_t *>(value), f.type, f.size);
            return true;
        }
    return false;
}

bool MatrixFieldPut(int reg, uint8_t *record, int32_t row, uint32_t offset, const void *value) {
    if (!value) return false;
    MemBlock h = 0;
    RowFieldPlace place;
    if (FindRowField(reg, record, row, offset, &h, &place) != RowFieldFound::Yes) return false;
    const uint8_t *src = static_cast<const uint8_t *>(value);
    if (place.kindWord)
        std::memmove(place.field, src, 2);
    else
        FieldMove(place.field, src, place.info.type, place.info.size);
    MemUnlock(h);
    return true;
}

bool MatrixFieldGet(int reg, const uint8_t *record, int32_t row, uint32_t offset, void *dst) {
    if (!dst) return false;
    uint8_t *out = static_cast<uint8_t *>(dst);
    MemBlock h = 0;
    RowFieldPlace place;
    RowFieldFound found = FindRowField(reg, record, row, offset, &h, &place);
    if (found == RowFieldFound::NoRow) std::memset(out, 0, (size_t)RowFieldWidthAnyKind(reg, offset));
    if (found != RowFieldFound::Yes) return false;
    if (place.kindWord)
        std::memmove(out, place.field, 2);
    else
        FieldMove(out, place.field, place.info.type, place.info.size);
    MemUnlock(h);
    return true;
}
