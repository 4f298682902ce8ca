// engine_cache_test.cpp - holds larger than the sector cache: sectors a
// hold wrote and the cache let go are rewritten where they are (the file
// does not fill with moved copies), the result stays crash-consistent at
// every sampled write point, and lookups that skip the segment-tree
// descent stay right while the tree changes under them.
#include <fstream>
#include <iterator>
#include <random>

#include "core/system.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class EngineCache : public EngineFixture {
protected:
    // A cache of 36 slots: a hold of a few hundred records overflows it.
    void SmallCache() {
        D4Close();
        ASSERT_TRUE(D4Init(20000));
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    }
    std::vector<uint8_t> FileBytes() {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void PutFile(const std::vector<uint8_t> &b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
    }
};

Main Record(uint32_t i, uint32_t salt) {
    return Main{i, "K" + std::to_string((i * 7919u + salt) % 1000), {(uint16_t)(1 + i % 28), (uint16_t)(1 + i % 12), 2022},
                (int64_t)(i % 7) * 250, i ^ salt};
}

// The big hold: inserts, key changes and deletes. Ids of inserts go to
// model when given.
bool BigHold(const std::vector<uint32_t> &old, Model *model) {
    D4Hold();
    bool ok = true;
    for (uint32_t i = 0; i < 250; i++) {
        uint8_t rec[MainSize];
        Main m = Record(1000 + i, 3);
        PutMain(rec, m);
        uint32_t id;
        ok = D4RecordInsert(RegMain, rec, &id) && ok;
        if (model) model->Insert(id, m);
    }
    for (size_t i = 0; i < 30; i++) {
        uint8_t rec[MainSize];
        Main m = Record((uint32_t)i, 11);
        PutMain(rec, m);
        ok = RecordIDUpdate(RegMain, old[i], rec) && ok;
        if (model) model->Update(old[i], m);
    }
    for (size_t i = 30; i < 50; i++) {
        ok = D4RecordIDDelete(RegMain, old[i]) && ok;
        if (model) model->Erase(old[i]);
    }
    return D4DiskFlush() && ok;
}

}  // namespace

TEST_F(EngineCache, AHoldLargerThanTheCacheStaysCompactAndCrashConsistent) {
    SmallCache();
    Model model;
    std::vector<uint32_t> old;
    D4Hold();
    for (uint32_t i = 0; i < 50; i++) {
        Main m = Record(i, 0);
        old.push_back(Insert(m));
        model.Insert(old.back(), m);
    }
    ASSERT_TRUE(D4DiskFlush());
    std::vector<uint8_t> before = FileBytes();
    Model modelBefore = model;

    D4TestHooks = D4FileHooks{};
    D4TestHooks.skipSync = true;
    ASSERT_TRUE(BigHold(old, &model));
    int64_t writes = D4TestHooks.writesDone;
    // Only what the committed file used moves; the hold's own sectors,
    // evicted and changed again, stay where they are. (Moving each of
    // them again left thousands of released sectors here.)
    EXPECT_LT(D4FreeSectorCount(), 400u);
    ExpectIntact();
    ExpectMatches(model);
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    ExpectIntact();
    ExpectMatches(model);
    D4Close();

    // Crashes at sampled write points of the big hold leave the state
    // before it or after it.
    CompactVariant = true;
    int before_ = 0, after_ = 0;
    for (int64_t k = 0; k < writes; k += std::max<int64_t>(1, writes / 12)) {
        PutFile(before);
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        D4TestHooks = D4FileHooks{};
        D4TestHooks.writesAllowed = k;
        D4TestHooks.skipSync = true;
        BigHold(old, nullptr);
        D4Close();
        D4TestHooks = D4FileHooks{};
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        ASSERT_FALSE(D4DamagedMode()) << "crash at write " << k;
        std::string report;
        ASSERT_TRUE(D4IntegrityCheck(&report)) << "crash at write " << k << "\n" << report;
        uint32_t count = D4RecordCount(RegMain, "Code");
        ASSERT_TRUE(count == modelBefore.records.size() || count == model.records.size()) << k;
        if (count == modelBefore.records.size()) {
            ExpectMatches(modelBefore);
            before_++;
        } else {
            ExpectMatches(model);
            after_++;
        }
        D4Close();
    }
    CompactVariant = false;
    EXPECT_GT(before_, 5);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
}

TEST_F(EngineCache, ReadsByIdFollowTheTreeAsItChanges) {
    SmallCache();
    Model model;
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 200; i++) {
        Main m = Record(i, 5);
        ids.push_back(Insert(m));
        model.Insert(ids.back(), m);
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 300; round++) {
        // Reads in rising order (the case that skips the descent), then a
        // change that moves or removes what the last read found.
        uint32_t from = ids[rng() % ids.size()];
        for (uint32_t id = from; id < from + 5; id++) {
            Main m;
            bool live = model.records.count(id) != 0;
            ASSERT_EQ(Read(id, &m), live) << id;
            if (live) {
                EXPECT_TRUE(SameMain(m, model.records.at(id)));
            }
        }
        uint32_t id = from;
        if (!model.records.count(id)) continue;
        if (round % 3 == 0) {
            ASSERT_TRUE(D4RecordIDDelete(RegMain, id));
            model.Erase(id);
        } else {
            Main m = Record(id + 77, (uint32_t)round);
            uint8_t rec[MainSize];
            PutMain(rec, m);
            ASSERT_TRUE(RecordIDUpdate(RegMain, id, rec));
            model.Update(id, m);
        }
    }
    ExpectIntact();
    ExpectMatches(model);
}

TEST_F(EngineCache, CheckOfAFileWithAnImpossibleLogicalEnd) {
    D4Close();
    std::vector<uint8_t> bytes = FileBytes();
    for (uint32_t end : {0u, 100u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> b = bytes;
        std::memcpy(&b[26], &end, 4);
        PutFile(b);
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        EXPECT_TRUE(D4DamagedMode());
        std::string report;
        EXPECT_FALSE(D4IntegrityCheck(&report));
        EXPECT_NE(report.find("logical end"), std::string::npos) << report;
        D4Close();
    }
    PutFile(bytes);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
}
