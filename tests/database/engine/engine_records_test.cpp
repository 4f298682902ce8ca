// Tests of records and numbered blocks: rows of any length, reading
// without rows, simple registers, updates that change no key, blocks
// stored twice and absent blocks, and the refusals of misuse.
#include "database/engine/engine_state.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class EngineRecords : public EngineFixture {};

MemBlock RowsOf(size_t n, uint8_t seed) {
    MemBlock h = MemAlloc((uint32_t)n);
    uint8_t *p = MemLock(h);
    for (size_t i = 0; i < n; i++) p[i] = (uint8_t)(seed + i * 7);
    MemUnlock(h);
    return h;
}

bool RowsEqual(MemBlock a, MemBlock b) {
    if (MemSize(a) != MemSize(b)) return false;
    bool same = std::memcmp(MemLock(a), MemLock(b), MemSize(a)) == 0;
    MemUnlock(a);
    MemUnlock(b);
    return same;
}

}  // namespace

TEST_F(EngineRecords, RowsOfAnyLengthComeBack) {
    // Lengths around the first and later sector boundaries and far past
    // 80,000 bytes.
    uint32_t base = MemBlockCount();
    for (size_t n : {0ul, 1ul, 494ul - 16, 494ul - 15, 1000ul, 80001ul, 250000ul}) {
        uint8_t rec[16] = {};
        uint32_t nr = (uint32_t)n;
        std::memcpy(rec, &nr, 4);
        MemBlock rows = RowsOf(n, (uint8_t)n);
        std::memcpy(rec + 8, &rows, 4);
        uint32_t id;
        ASSERT_TRUE(D4RecordInsert(RegRows, rec, &id)) << n;
        uint8_t back[16] = {};
        ASSERT_EQ(D4RecordReadRecid(RegRows, id, back), 1);
        MemBlock got;
        std::memcpy(&got, back + 8, 4);
        ASSERT_NE(got, 0u);
        EXPECT_TRUE(RowsEqual(rows, got)) << n;
        // A rows handle of -1 reads the fixed part only and gives 0.
        uint8_t fixedOnly[16] = {};
        std::memcpy(fixedOnly + 8, &NoRows, 4);
        ASSERT_EQ(D4RecordReadRecid(RegRows, id, fixedOnly), 1);
        EXPECT_EQ(std::memcmp(fixedOnly, &nr, 4), 0);
        MemBlock none;
        std::memcpy(&none, fixedOnly + 8, 4);
        EXPECT_EQ(none, 0u);
        // Reading again into a buffer that holds rows frees them first.
        ASSERT_EQ(D4RecordReadRecid(RegRows, id, back), 1);
        std::memcpy(&got, back + 8, 4);
        MemFree(&got);
        MemFree(&rows);
    }
    EXPECT_EQ(MemBlockCount(), base) << "rows handles leaked";
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    uint8_t rec[16];
    uint32_t nr = 250000, id;
    std::memcpy(rec, &nr, 4);
    std::memset(rec + 8, 0, 4);
    ASSERT_TRUE(D4RecordFind(RegRows, "Nr", rec, 0, 1, 1, &id, nullptr));
    MemBlock got;
    std::memcpy(&got, rec + 8, 4);
    EXPECT_EQ(MemSize(got), 250000u);
    MemFree(&got);
    ExpectIntact();
}

TEST_F(EngineRecords, UpdatesAndDeletes) {
    uint32_t id = Insert(Main{1, "ONE", {1, 2, 2021}, 5000, 7});
    // A payload change leaves every index as it was.
    uint8_t rec[MainSize];
    PutMain(rec, Main{1, "ONE", {1, 2, 2021}, 5000, 8});
    ASSERT_TRUE(RecordIDUpdate(RegMain, id, rec));
    Main m;
    ASSERT_TRUE(Read(id, &m));
    EXPECT_EQ(m.payload, 8u);
    EXPECT_EQ(D4RecordCount(RegMain, "Code"), 1u);
    ASSERT_TRUE(D4RecordIDDelete(RegMain, id));
    EXPECT_FALSE(Read(id, &m)) << "a released id reads as absent";
    EXPECT_EQ(D4RecordCount(RegMain, "SerNr"), 0u);
    // Ids are never reused.
    EXPECT_GT(Insert(Main{2, "TWO"}), id);
    ExpectIntact();
}

// Updates of neighbouring records, each committed on its own, move the
// segment-tree nodes above them at every commit (three leaves and a
// root), while lookups remember the leaf last found: every record reads
// back as last written, between the updates and after a reopen.
TEST_F(EngineRecords, NeighbouringUpdatesReadBackAcrossCommits) {
    std::map<uint32_t, Main> model;
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 150; i++) {
        Main m{i, "N" + std::to_string(i % 5), {1, 2, 2021}, i, i};
        ids.push_back(Insert(m));
        model[ids.back()] = m;
    }
    auto readsAsModel = [&](uint32_t id) {
        Main m;
        return Read(id, &m) && SameMain(m, model[id]);
    };
    uint8_t rec[MainSize];
    for (uint32_t round = 0; round < 2; round++) {
        for (size_t k = 0; k < ids.size(); k++) {
            size_t at = (k * 7 + round) % ids.size();
            Main &m = model[ids[at]];
            m.payload = 1000 * (round + 1) + (uint32_t)k;
            PutMain(rec, m);
            ASSERT_TRUE(RecordIDUpdate(RegMain, ids[at], rec));
            EXPECT_TRUE(readsAsModel(ids[at])) << round << " " << k;
            for (size_t n : {at - 1, at + 1}) {
                if (n < ids.size()) {
                    EXPECT_TRUE(readsAsModel(ids[n])) << round << " " << k;
                }
            }
        }
    }
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    for (uint32_t id : ids) EXPECT_TRUE(readsAsModel(id)) << id;
    ExpectIntact();
}

TEST_F(EngineRecords, SimpleRegisterKeepsOnlyKeys) {
    uint8_t rec[8] = {2, 0, 0, 0, 9, 0, 0, 0};
    uint32_t id = 5;
    ASSERT_TRUE(D4RecordInsert(RegSimple, rec, &id));
    EXPECT_EQ(id, 0u);
    uint8_t other[8] = {1, 0, 0, 0, 4, 0, 0, 0};
    ASSERT_TRUE(D4RecordInsert(RegSimple, other, &id));
    uint8_t found[8] = {2, 0, 0, 0, 0, 0, 0, 0};
    uint32_t position;
    ASSERT_TRUE(D4RecordFind(RegSimple, "Key", found, 1, 1, 1, &id, &position));
    EXPECT_EQ(std::memcmp(found, rec, 8), 0) << "the key comes back as the record";
    EXPECT_EQ(position, 2u);
    uint8_t first[8] = {};
    ASSERT_TRUE(D4RecordReadPos(RegSimple, "Key", 1, first, &id));
    EXPECT_EQ(std::memcmp(first, other, 8), 0);
    Messages().clear();
    EXPECT_FALSE(RecordIDUpdate(RegSimple, 0, rec));
    EXPECT_TRUE(SawMessage("RecordIDUpdate on simple SimpleVc"));
    EXPECT_EQ(D4RecordReadRecid(RegSimple, 0, rec), 0);
    ExpectIntact();
}

TEST_F(EngineRecords, NumberedBlocks) {
    uint8_t buffer[16];
    std::memset(buffer, 0xAA, sizeof buffer);
    EXPECT_FALSE(D4BlockRead(145, buffer, sizeof buffer));
    EXPECT_EQ(buffer[0], 0) << "an absent block reads as zeros";
    EXPECT_EQ(D4BlockGetSize(145), 0u);
    std::vector<uint8_t> big(1200, 3), small(10, 4);
    ASSERT_TRUE(D4BlockStore(145, big.data(), (uint32_t)big.size()));
    ASSERT_TRUE(D4BlockStore(145, small.data(), (uint32_t)small.size()));
    ASSERT_TRUE(D4BlockStore(-7, big.data(), 5));
    EXPECT_EQ(D4BlockGetSize(145), 10u);
    std::memset(buffer, 0xAA, sizeof buffer);
    ASSERT_TRUE(D4BlockRead(145, buffer, sizeof buffer));
    EXPECT_EQ(buffer[9], 4);
    EXPECT_EQ(buffer[10], 0) << "a shorter block leaves the rest zero";
    EXPECT_EQ(D4BlockGetSize(-7), 5u);
    EXPECT_FALSE(D4BlockStore(146, nullptr, 4));
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_EQ(D4BlockGetSize(145), 10u);
    ExpectIntact();
}

TEST_F(EngineRecords, MisuseIsRefused) {
    // Outside a hold, storing or releasing sectors is a programming error;
    // so is a plain item over 504 bytes.
    uint8_t data[600] = {};
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(D4DiskStore(data, 8, 0, 0, 0, D4Life::Short), 0xFFFFFFFFu), "outside a hold");
    EXPECT_DEBUG_DEATH(EXPECT_FALSE(D4DiskRelease(512, false)), "outside a hold");
    D4Hold();
    EXPECT_DEBUG_DEATH(EXPECT_EQ(D4DiskStore(data, 600, 0, 0, 0, D4Life::Short), 0xFFFFFFFFu), "over 504");
    EXPECT_DEBUG_DEATH(EXPECT_FALSE(D4DiskWrite(data, 512, 505)), "over 504");
    D4DiskFlush();
    EXPECT_FALSE(D4DiskFlush());
    EXPECT_TRUE(SawMessage("D4DiskFlush < 0"));
    uint8_t rec[MainSize] = {};
    uint32_t id;
    EXPECT_FALSE(D4RecordInsert(0, rec, &id));
    EXPECT_FALSE(D4RecordInsert(99, rec, &id));
    EXPECT_FALSE(D4DamagedMode());
}
