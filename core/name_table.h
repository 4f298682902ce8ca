// name_table.h - the hashed name table of the formula language.
//
// The interface file brings a table of the names the formula compiler
// knows (functions, keywords). Its blocks, as stored:
//   header   u16 entry count, u16 second count, u32, u32
//   two kept blocks for the formula language: the built-in rows, then
//            the operator rows (10 bytes each; the header's second
//            count is the number of built-in rows)
//   buckets  256 u16 entry numbers, 65535 = empty bucket
//   entries  8 bytes each: u16 next entry (65535 = end of chain),
//            u16 offset of the name in the pool, 4 bytes the formula
//            language fills (class and index)
//   pool     zero-terminated names
// The caller computes the hash (0..255) of a name itself.
#pragma once

#include <cstdint>
#include <span>

#include "core/memblock.h"

constexpr uint16_t NameTableEnd = 65535;
constexpr int NameEntrySize = 8;

struct NameTable {
    uint16_t count;       // entries in use
    uint16_t count2;      // held for the formula language
    uint32_t value1, value2;
    MemBlock kept1, kept2;
    MemBlock buckets;     // 256 u16
    MemBlock entries;     // count x 8 bytes
    MemBlock pool;        // zero-terminated names
};

extern NameTable Names;

// Takes the six blocks as read from the interface file. Checks that the
// header and bucket blocks have their sizes, that every bucket head and
// chain link names an entry, and that every name lies inside the pool;
// false (and an empty table) when they do not.
bool NameTableSetBlocks(std::span<const uint8_t> header, std::span<const uint8_t> kept1,
                        std::span<const uint8_t> kept2, std::span<const uint8_t> buckets,
                        std::span<const uint8_t> entries, std::span<const uint8_t> pool);
void NameTableFree();
uint16_t NameTableCount();

// Entry number of name in the chain of bucket hash & 255. A name the
// table lacks is added as a new entry (name in the pool, zero class and
// index, linked at the end of its chain) whose number is returned, so a
// second lookup finds it. NameTableEnd when the table is full.
uint16_t NameTableFind(const char *name, int hash);

// Entry number of name in the chain of bucket hash & 255, or NameTableEnd
// when the table lacks it. Never changes the table.
uint16_t NameTableLookup(const char *name, int hash);

// Address of entry n's 8 bytes, or null when n is not an entry.
// Valid until the next NameTableFind.
uint8_t *NameTableEntry(uint16_t n);
// The name of entry n, or null.
const char *NameTableName(uint16_t n);
