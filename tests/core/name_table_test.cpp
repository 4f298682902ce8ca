// Tests of the formula name table: lookup through bucket chains, growth
// on a miss, and refusal of unsound blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/name_table.h"

namespace {

int Hash(const char *s) {
    int h = 0;
    for (; *s; s++) h += (uint8_t)*s;
    return h & 255;
}

void Put16(std::vector<uint8_t> &v, size_t at, uint16_t x) { std::memcpy(&v[at], &x, 2); }

// Two names, "SUM" and "ABS", placed in the same bucket on purpose so
// that the chain is walked.
struct Blocks {
    std::vector<uint8_t> header = std::vector<uint8_t>(12), buckets = std::vector<uint8_t>(512, 0xFF),
                         entries = std::vector<uint8_t>(16), pool;
    Blocks() {
        Put16(header, 0, 2);
        const char names[] = "SUM\0ABS";
        pool.assign(names, names + sizeof names);
        Put16(buckets, 7 * 2, 0);
        Put16(entries, 0, 1);  // SUM -> ABS
        Put16(entries, 2, 0);
        Put16(entries, 8, NameTableEnd);
        Put16(entries, 10, 4);
    }
    bool Load() { return NameTableSetBlocks(header, {}, {}, buckets, entries, pool); }
};

}  // namespace

TEST(NameTable, FindsNamesAndAddsMissesOnce) {
    Blocks b;
    ASSERT_TRUE(b.Load());
    EXPECT_EQ(NameTableFind("SUM", 7), 0);
    EXPECT_EQ(NameTableFind("ABS", 7 + 256), 1) << "only the low byte of the hash counts";

    uint16_t added = NameTableFind("MAX", 7);
    EXPECT_EQ(added, 2);
    EXPECT_EQ(NameTableCount(), 3);
    EXPECT_EQ(NameTableFind("MAX", 7), 2) << "a second lookup finds the added name";
    EXPECT_STREQ(NameTableName(2), "MAX");
    uint8_t *entry = NameTableEntry(2);
    ASSERT_NE(entry, nullptr);
    for (int i = 4; i < 8; i++) EXPECT_EQ(entry[i], 0);

    // Many misses in one bucket and across buckets stay consistent.
    char name[8];
    for (int i = 0; i < 300; i++) {
        std::snprintf(name, sizeof name, "N%d", i);
        NameTableFind(name, Hash(name));
    }
    EXPECT_EQ(NameTableCount(), 303);
    for (int i = 0; i < 300; i++) {
        std::snprintf(name, sizeof name, "N%d", i);
        EXPECT_EQ(NameTableFind(name, Hash(name)), 3 + i);
    }
    EXPECT_EQ(NameTableEntry(303), nullptr);
    NameTableFree();
}

TEST(NameTable, RefusesUnsoundBlocks) {
    Blocks cycle;
    Put16(cycle.entries, 8, 0);  // ABS -> SUM -> ABS ...
    EXPECT_FALSE(cycle.Load());

    Blocks outside;
    Put16(outside.entries, 10, 200);  // name offset beyond the pool
    EXPECT_FALSE(outside.Load());

    Blocks badHead;
    Put16(badHead.buckets, 0, 5);  // entry 5 does not exist
    EXPECT_FALSE(badHead.Load());

    Blocks shortEntries;
    shortEntries.entries.resize(10);
    EXPECT_FALSE(shortEntries.Load());
    EXPECT_EQ(NameTableCount(), 0);

    // An empty table still works: the first lookup creates it.
    EXPECT_EQ(NameTableFind("X", 1), 0);
    EXPECT_EQ(NameTableFind("X", 1), 0);
    NameTableFree();
}
