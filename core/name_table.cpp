// name_table.cpp - lookup in the formula language's hashed name table.
//
// Names that the table lacks are added as they are looked up, so that
// every later lookup of the same name finds the same entry and no chain
// ever points at itself.
#include "core/name_table.h"

#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"

NameTable Names;

static MemBlock BlockFromBytes(std::span<const uint8_t> bytes) {
    MemBlock h = MemAlloc((uint32_t)bytes.size());
    if (h && !bytes.empty()) {
        std::memcpy(MemLock(h), bytes.data(), bytes.size());
        MemUnlock(h);
    }
    return h;
}

void NameTableFree() {
    MemFree(&Names.kept1);
    MemFree(&Names.kept2);
    MemFree(&Names.buckets);
    MemFree(&Names.entries);
    MemFree(&Names.pool);
    Names = NameTable{};
}

uint16_t NameTableCount() { return Names.count; }

// True when every chain from the buckets stays within the entries, ends
// without a cycle, and every name offset lies inside the pool with its
// terminator.
static bool NameTableChainsSound(std::span<const uint8_t> buckets, std::span<const uint8_t> entries,
                                 std::span<const uint8_t> pool, uint16_t count) {
    for (uint16_t e = 0; e < count; e++) {
        uint16_t off = GetU16(&entries[e * NameEntrySize + 2]);
        if (off >= pool.size() || !std::memchr(&pool[off], 0, pool.size() - off)) return false;
    }
    for (int b = 0; b < 256; b++) {
        uint16_t e = GetU16(&buckets[b * 2]);
        for (int steps = 0; e != NameTableEnd; steps++) {
            if (e >= count || steps > count) return false;
            e = GetU16(&entries[e * NameEntrySize]);
        }
    }
    return true;
}

bool NameTableSetBlocks(std::span<const uint8_t> header, std::span<const uint8_t> kept1,
                        std::span<const uint8_t> kept2, std::span<const uint8_t> buckets,
                        std::span<const uint8_t> entries, std::span<const uint8_t> pool) {
    NameTableFree();
    if (header.size() < 12 || buckets.size() != 512) return false;
    uint16_t count = GetU16(&header[0]);
    if (entries.size() < (size_t)count * NameEntrySize) return false;
    if (!NameTableChainsSound(buckets, entries, pool, count)) return false;

    Names.count = count;
    Names.count2 = GetU16(&header[2]);
    std::memcpy(&Names.value1, &header[4], 4);
    std::memcpy(&Names.value2, &header[8], 4);
    Names.kept1 = BlockFromBytes(kept1);
    Names.kept2 = BlockFromBytes(kept2);
    Names.buckets = BlockFromBytes(buckets);
    Names.entries = BlockFromBytes(entries.first((size_t)count * NameEntrySize));
    Names.pool = BlockFromBytes(pool);
    // MemAlloc gives 0 only when memory cannot be had (an empty block is a
    // real handle), so any 0 here means the table is incomplete.
    if (!Names.kept1 || !Names.kept2 || !Names.buckets || !Names.entries || !Names.pool) {
        NameTableFree();
        return false;
    }
    return true;
}

// Adds name as entry Names.count and returns its number, or NameTableEnd
// when the table cannot grow (entry numbers and pool offsets are 16-bit).
static uint16_t NameTableAdd(const char *name) {
    uint32_t len = (uint32_t)std::strlen(name) + 1;
    uint32_t poolSize = MemSize(Names.pool);
    if (Names.count >= NameTableEnd - 1 || poolSize > 0xFFFF) return NameTableEnd;
    if (!Names.buckets) {
        Names.buckets = MemAlloc(512);
        if (!Names.buckets) return NameTableEnd;
        FillBytes(MemLock(Names.buckets), 0xFF, 512);
        MemUnlock(Names.buckets);
    }
    if (!Names.pool) Names.pool = MemAlloc(0);
    if (!Names.entries) Names.entries = MemAlloc(0);
    if (!Names.pool || !Names.entries) return NameTableEnd;
    if (!MemRealloc(&Names.pool, poolSize + len)) return NameTableEnd;
    if (!MemRealloc(&Names.entries, (Names.count + 1u) * NameEntrySize)) return NameTableEnd;

    std::memcpy(MemLock(Names.pool) + poolSize, name, len);
    MemUnlock(Names.pool);
    uint8_t *entry = MemLock(Names.entries) + Names.count * NameEntrySize;
    PutU16(entry, 0, NameTableEnd);
    PutU16(entry + 2, 0, (uint16_t)poolSize);
    MemUnlock(Names.entries);
    return Names.count++;
}

// Walks the chain of bucket hash & 255 for name: its entry number, or
// NameTableEnd with *last the chain's final entry (NameTableEnd when the
// chain is empty).
static uint16_t NameTableWalk(const char *name, int bucket, uint16_t *last) {
    *last = NameTableEnd;
    if (!Names.buckets) return NameTableEnd;
    const uint8_t *heads = MemLock(Names.buckets);
    uint16_t e = GetU16(&heads[bucket * 2]);
    MemUnlock(Names.buckets);
    const uint8_t *entries = MemLock(Names.entries);
    const char *pool = (const char *)MemLock(Names.pool);
    for (; e != NameTableEnd; e = GetU16(&entries[e * NameEntrySize])) {
        if (CStringCompare(name, pool + GetU16(&entries[e * NameEntrySize + 2])) == 0) break;
        *last = e;
    }
    MemUnlock(Names.pool);
    MemUnlock(Names.entries);
    return e;
}

uint16_t NameTableLookup(const char *name, int hash) {
    uint16_t last;
    return NameTableWalk(name, hash & 255, &last);
}

uint16_t NameTableFind(const char *name, int hash) {
    int bucket = hash & 255;
    uint16_t last;
    uint16_t found = NameTableWalk(name, bucket, &last);
    if (found != NameTableEnd) return found;

    uint16_t added = NameTableAdd(name);
    if (added == NameTableEnd) return NameTableEnd;
    if (last == NameTableEnd) {
        PutU16(MemLock(Names.buckets) + bucket * 2, 0, added);
        MemUnlock(Names.buckets);
    } else {
        PutU16(MemLock(Names.entries) + last * NameEntrySize, 0, added);
        MemUnlock(Names.entries);
    }
    return added;
}

uint8_t *NameTableEntry(uint16_t n) {
    if (n >= Names.count) return nullptr;
    uint8_t *entries = MemLock(Names.entries);
    MemUnlock(Names.entries);  // the table is not resized behind the caller's back
    return entries + n * NameEntrySize;
}

const char *NameTableName(uint16_t n) {
    const uint8_t *entry = NameTableEntry(n);
    if (!entry) return nullptr;
    const char *pool = (const char *)MemLock(Names.pool);
    MemUnlock(Names.pool);
    return pool + GetU16(entry + 2);
}
