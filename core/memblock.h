// memblock.h - movable, zero-filled memory blocks addressed by handle.
//
// Every dynamic buffer of the system is a MemBlock: a 32-bit handle into
// a table of blocks, never a pointer, because records store handles in
// 32-bit fields that are written to the database and sent over the
// network. A block of usable size n occupies n + 4 bytes whose first
// 32-bit word holds n. MemLock gives the address of the usable bytes;
// locks nest, and a block may move while it is not locked (MemRealloc
// unlocks it completely first). Handle 0 means "no block".
//
// A handle carries the generation of its table slot in its top 8 bits,
// so a handle kept after MemFree is recognised as stale instead of
// reaching a block that was handed out again.
#pragma once

#include <cstdint>

using MemBlock = uint32_t;

// New zero-filled block of n usable bytes, returned unlocked; 0 (after
// a message naming the size) when memory cannot be had.
MemBlock MemAlloc(uint32_t n);
// Resizes *h to n usable bytes, unlocking it completely first. Added
// bytes are zero. false (after a message) when it fails; *h is kept.
bool MemRealloc(MemBlock *h, uint32_t n);
bool MemReallocByValue(MemBlock h, uint32_t n);
// Address of the usable bytes; null for 0 or a stale handle.
uint8_t *MemLock(MemBlock h);
void MemUnlock(MemBlock h);
void MemUnlock2(MemBlock h);
// Frees *h and sets it to 0; a 0 handle is ignored.
void MemFree(MemBlock *h);
uint32_t MemSize(MemBlock h);
bool MemIsLocked(MemBlock h);      // false for 0 or a stale handle
bool MemIsValid(MemBlock h);       // a live block
uint32_t MemBlockCount();          // live blocks, for leak checks in tests

// Byte helpers; a count below 1 does nothing (BytesEqual: counts as equal).
bool BytesEqual(const void *a, const void *b, int n);
void ClearBytes(void *p, int n);
void FillBytes(void *p, int value, int n);
