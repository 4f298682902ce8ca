// memblock.cpp - the handle table behind MemBlock.
//
// Slot k of the table holds one block; handle = (generation << 24) | k,
// with k from 1 (so no live handle is 0). Freed slots go on a free list
// and get a new generation when reused.
#include "core/memblock.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/message_sink.h"

namespace {

struct MemSlot {
    uint8_t *bytes;     // capacity + 4 bytes, the size word first; null when free
    uint32_t capacity;  // usable bytes allocated; at least the size word's n
    uint32_t locks;
    uint8_t generation;
};

constexpr uint32_t SlotBits = 24;
constexpr uint32_t SlotMask = (1u << SlotBits) - 1;

// Never destroyed: blocks that live for the whole run (the interface
// file's tables) stay reachable until the process ends, and no code that
// runs during exit finds the table gone.
std::vector<MemSlot> &Slots = *new std::vector<MemSlot>(1);  // slot 0 is never used
std::vector<uint32_t> &FreeSlots = *new std::vector<uint32_t>;
uint32_t LiveBlocks = 0;

MemSlot *SlotOf(MemBlock h) {
    uint32_t k = h & SlotMask;
    if (h == 0 || k >= Slots.size()) return nullptr;
    MemSlot *s = &Slots[k];
    if (!s->bytes || s->generation != (h >> SlotBits)) return nullptr;
    return s;
}

void ShowSizeFailure(const char *text, uint32_t n) {
    char line[96];
    std::snprintf(line, sizeof line, "%s%lu", text, (unsigned long)n);
    MessageSinkShow(line);
}

}  // namespace

MemBlock MemAlloc(uint32_t n) {
    uint8_t *bytes = n <= UINT32_MAX - 4 ? (uint8_t *)std::calloc(1, (size_t)n + 4) : nullptr;
    if (!bytes) {
        ShowSizeFailure("GlobalAlloc failed: ", n);
        return 0;
    }
    std::memcpy(bytes, &n, 4);
    uint32_t k;
    if (!FreeSlots.empty()) {
        k = FreeSlots.back();
        FreeSlots.pop_back();
    } else {
        if (Slots.size() > SlotMask) {
            std::free(bytes);
            ShowSizeFailure("GlobalAlloc failed: ", n);
            return 0;
        }
        k = (uint32_t)Slots.size();
        Slots.push_back(MemSlot{nullptr, 0, 0, 0});
    }
    MemSlot &s = Slots[k];
    s.bytes = bytes;
    s.capacity = n;
    s.locks = 0;
    LiveBlocks++;
    return ((MemBlock)s.generation << SlotBits) | k;
}

// Growth beyond the allocated capacity allocates half as much again, so
// a block grown a row at a time (the rows of a document, a message being
// built) is copied a logarithmic number of times, not once per row.
bool MemRealloc(MemBlock *h, uint32_t n) {
    MemSlot *s = SlotOf(*h);
    if (!s) {
        ShowSizeFailure("GlobalReAlloc failed (b==NULL): ", n);
        return false;
    }
    s->locks = 0;
    uint32_t old;
    std::memcpy(&old, s->bytes, 4);
    if (n > s->capacity) {
        uint64_t want = std::max<uint64_t>(n, (uint64_t)s->capacity + s->capacity / 2);
        uint32_t capacity = (uint32_t)std::min<uint64_t>(want, UINT32_MAX - 4);
        uint8_t *bytes = n <= UINT32_MAX - 4 ? (uint8_t *)std::realloc(s->bytes, (size_t)capacity + 4) : nullptr;
        if (!bytes) {
            ShowSizeFailure("GlobalReAlloc failed (b==NULL): ", n);
            return false;
        }
        std::memset(bytes + 4 + s->capacity, 0, capacity - s->capacity);
        s->bytes = bytes;
        s->capacity = capacity;
    }
    if (n > old) std::memset(s->bytes + 4 + old, 0, n - old);
    std::memcpy(s->bytes, &n, 4);
    return true;
}

bool MemReallocByValue(MemBlock h, uint32_t n) { return MemRealloc(&h, n); }

uint8_t *MemLock(MemBlock h) {
    MemSlot *s = SlotOf(h);
    assert(h == 0 || s);  // a stale handle is a fault of the caller
    if (!s) return nullptr;
    s->locks++;
    return s->bytes + 4;
}

void MemUnlock(MemBlock h) {
    MemSlot *s = SlotOf(h);
    if (s && s->locks > 0) s->locks--;
}

void MemUnlock2(MemBlock h) { MemUnlock(h); }

void MemFree(MemBlock *h) {
    if (*h == 0) return;
    MemSlot *s = SlotOf(*h);
    assert(s);
    if (s) {
        std::free(s->bytes);
        s->bytes = nullptr;
        s->capacity = 0;
        s->locks = 0;
        s->generation++;
        FreeSlots.push_back(*h & SlotMask);
        LiveBlocks--;
    }
    *h = 0;
}

uint32_t MemSize(MemBlock h) {
    MemSlot *s = SlotOf(h);
    if (!s) return 0;
    uint32_t n;
    std::memcpy(&n, s->bytes, 4);
    return n;
}

bool MemIsLocked(MemBlock h) {
    MemSlot *s = SlotOf(h);
    return s && s->locks > 0;
}

bool MemIsValid(MemBlock h) { return SlotOf(h) != nullptr; }

uint32_t MemBlockCount() { return LiveBlocks; }

bool BytesEqual(const void *a, const void *b, int n) {
    return n < 1 || std::memcmp(a, b, (size_t)n) == 0;
}

void ClearBytes(void *p, int n) {
    if (n > 0) std::memset(p, 0, (size_t)n);
}

void FillBytes(void *p, int value, int n) {
    if (n > 0) std::memset(p, value, (size_t)n);
}
