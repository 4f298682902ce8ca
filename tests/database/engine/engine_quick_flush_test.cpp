// engine_quick_flush_test.cpp - flush mode 0 defers the commit without
// giving up its safety: a crash anywhere in holds of mode 0 or in the
// flush of mode 1 or the close that follows leaves the last committed
// state or the new one, and snapshots keep their view while the master
// works in mode 0 (no committed or snapshot-visible sector is rewritten
// in place), also in a random mix of holds, modes, snapshots and reopens.
#include <fstream>
#include <iterator>
#include <random>

#include "core/system.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

using State = std::map<uint32_t, Main>;

class EngineQuickFlush : public EngineFixture {
protected:
    std::vector<uint8_t> FileBytes() {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void PutFile(const std::vector<uint8_t> &b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
    }
    // True when the current descriptor sees exactly state in every index
    // (serial numbers are unique here, so they give the order of "SerNr").
    bool Sees(const State &state) {
        for (const char *ix : {"SerNr", "Code", "DateAmt"})
            if (D4RecordCount(RegMain, ix) != state.size()) return false;
        std::map<uint32_t, uint32_t> bySerial;
        for (auto &[id, m] : state) {
            Main r;
            if (!Read(id, &r) || !SameMain(r, m)) return false;
            bySerial[m.serial] = id;
        }
        uint32_t p = 0;
        for (auto &[serial, id] : bySerial) {
            uint8_t rec[MainSize] = {};
            std::memcpy(rec + OffRows, &NoRows, 4);
            uint32_t at = 0;
            if (!D4RecordReadPos(RegMain, "SerNr", ++p, rec, &at) || at != id) return false;
        }
        return true;
    }
    // An insert whose failure (a simulated crash reading back what it
    // dropped) the outcome check below judges.
    void Put(State *state, const Main &m) {
        uint8_t rec[MainSize];
        PutMain(rec, m);
        uint32_t id;
        if (D4RecordInsert(RegMain, rec, &id)) (*state)[id] = m;
    }
    // True when the current descriptor sees the model in every index.
    bool SeesModel(const Model &model) {
        for (const std::string &ix : Model::Indexes()) {
            std::vector<uint32_t> want = model.records.empty() ? std::vector<uint32_t>{} : model.Order(ix);
            if (D4RecordCount(RegMain, ix.c_str()) != want.size()) return false;
            for (size_t p = 1; p <= want.size(); p++) {
                uint8_t rec[MainSize] = {};
                std::memcpy(rec + OffRows, &NoRows, 4);
                uint32_t id = 0;
                if (!D4RecordReadPos(RegMain, ix.c_str(), (uint32_t)p, rec, &id) || id != want[p - 1] ||
                    !SameMain(GetMain(rec), model.records.at(id)))
                    return false;
            }
        }
        return true;
    }
    void Update(State *state, uint32_t id, const Main &m) {
        uint8_t rec[MainSize];
        PutMain(rec, m);
        RecordIDUpdate(RegMain, id, rec);
        (*state)[id] = m;
    }
};

Main Numbered(uint32_t serial, const char *code) {
    return Main{serial, code + std::to_string(serial % 11), {(uint16_t)(1 + serial % 28), 3, 2023}, serial * 5, serial};
}

}  // namespace

TEST_F(EngineQuickFlush, ACrashBeforeTheNextFullFlushLeavesTheLastCommit) {
    // A small cache, so that holds in mode 0 let written sectors go.
    D4Close();
    ASSERT_TRUE(D4Init(20000));
    ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    bool compact = CompactVariant;
    CompactVariant = true;
    State before;
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 40; i++) {
        ids.push_back(Insert(Numbered(i, "S")));
        before[ids.back()] = Numbered(i, "S");
    }
    ASSERT_TRUE(D4Close());
    const std::vector<uint8_t> committed = FileBytes();
    int tried = 0, sawBefore = 0, sawAfter = 0;
    for (int64_t k = 0;; k += 5) {
        PutFile(committed);
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        D4TestHooks = D4FileHooks{};
        D4TestHooks.writesAllowed = k;
        D4TestHooks.skipSync = true;
        State after = before;
        D4Flush(0);
        for (size_t i = 0; i < ids.size(); i += 3) {
            D4RecordIDDelete(RegMain, ids[i]);
            after.erase(ids[i]);
        }
        for (size_t i = 1; i < ids.size(); i += 3) Update(&after, ids[i], Numbered(1000 + (uint32_t)i, "U"));
        for (uint32_t i = 0; i < 120; i++) Put(&after, Numbered(5000 + i, "N"));
        // The commit comes from a full flush, or from the close alone.
        if ((k / 5) % 2 == 0) D4Flush(1);
        D4Close();
        bool crashed = D4TestHooks.writesDone > k;
        D4TestHooks = D4FileHooks{};
        Messages().clear();
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk) << "crash at write " << k;
        ASSERT_FALSE(D4DamagedMode()) << "crash at write " << k;
        std::string report;
        ASSERT_TRUE(D4IntegrityCheck(&report)) << "crash at write " << k << "\n" << report;
        bool old = Sees(before), now = Sees(after);
        ASSERT_TRUE(old || now) << "crash at write " << k;
        sawBefore += old;
        sawAfter += now;
        ASSERT_TRUE(D4Close());
        tried++;
        if (!crashed) break;
    }
    CompactVariant = compact;
    EXPECT_GT(tried, 20);
    EXPECT_GT(sawBefore, 0);
    EXPECT_GT(sawAfter, 0);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
}

TEST_F(EngineQuickFlush, SnapshotsKeepTheirViewWhileTheMasterWorksInModeZero) {
    State first;
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 30; i++) {
        ids.push_back(Insert(Numbered(i, "S")));
        first[ids.back()] = Numbered(i, "S");
    }
    uint32_t h1, h2;
    DVP *committedView = D4SnapshotOpen(&h1);
    ASSERT_NE(committedView, nullptr);
    ASSERT_TRUE(D4Flush(0));
    State second = first;
    for (size_t i = 0; i < ids.size(); i += 2) {
        ASSERT_TRUE(D4RecordIDDelete(RegMain, ids[i]));
        second.erase(ids[i]);
    }
    for (uint32_t i = 0; i < 40; i++) second[Insert(Numbered(100 + i, "N"))] = Numbered(100 + i, "N");
    // A snapshot of the uncommitted state, then more work in mode 0.
    DVP *quickView = D4SnapshotOpen(&h2);
    ASSERT_NE(quickView, nullptr);
    State third = second;
    for (auto it = second.begin(); it != second.end(); ++it)
        if (it->first % 3 == 0) Update(&third, it->first, Numbered(it->second.serial + 500, "R"));
    for (uint32_t i = 0; i < 40; i++) third[Insert(Numbered(200 + i, "M"))] = Numbered(200 + i, "M");
    EXPECT_TRUE(Sees(third));
    DVP *previous;
    ASSERT_TRUE(D4DescriptorSelect(0, committedView, &previous));
    EXPECT_TRUE(Sees(first)) << "the snapshot taken before mode 0";
    D4DescriptorRestore(0, previous);
    ASSERT_TRUE(D4DescriptorSelect(0, quickView, &previous));
    EXPECT_TRUE(Sees(second)) << "the snapshot taken between holds of mode 0";
    D4DescriptorRestore(0, previous);
    D4SnapshotClose(committedView, h1);
    D4SnapshotClose(quickView, h2);
    ASSERT_TRUE(D4Flush(1));
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_TRUE(Sees(third));
    ExpectIntact();
}

TEST_F(EngineQuickFlush, RandomHoldsModesAndSnapshotsMatchTheirModels) {
    for (uint32_t cache : {20000u, 0u}) {
        D4Close();
        ASSERT_TRUE(D4Init(cache));
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
        std::mt19937 rng(99 + cache);
        Model model;
        struct Snap {
            DVP *d;
            uint32_t handle;
            Model model;
        };
        std::vector<Snap> snaps;
        uint32_t serial = 0;
        auto snapshotSees = [&](const Snap &s) {
            DVP *previous;
            if (!D4DescriptorSelect(0, s.d, &previous)) return false;
            bool ok = SeesModel(s.model);
            D4DescriptorRestore(0, previous);
            return ok;
        };
        for (int step = 0; step < 400; step++) {
            int r = rng() % 20;
            if (r == 0 && snaps.size() < 3) {
                Snap s{nullptr, 0, model};
                s.d = D4SnapshotOpen(&s.handle);
                ASSERT_NE(s.d, nullptr);
                snaps.push_back(s);
            } else if (r == 1 && !snaps.empty()) {
                size_t i = rng() % snaps.size();
                ASSERT_TRUE(snapshotSees(snaps[i])) << "step " << step << ", cache " << cache;
                D4SnapshotClose(snaps[i].d, snaps[i].handle);
                snaps.erase(snaps.begin() + (long)i);
            } else if (r == 2) {
                ASSERT_TRUE(D4Flush((int)(rng() % 2)));
            } else if (r == 3 && snaps.empty()) {
                ASSERT_TRUE(D4Close());
                ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
                ExpectIntact();
                ASSERT_TRUE(SeesModel(model)) << "step " << step;
            } else {
                D4Hold();
                for (int n = 1 + (int)(rng() % 8); n > 0; n--) {
                    int op = model.records.empty() ? 0 : (int)(rng() % 3);
                    Main m{++serial % 17, "K" + std::to_string(rng() % 5), {(uint16_t)(1 + rng() % 3), 1, 2021},
                           (int64_t)(rng() % 3), (uint32_t)rng()};
                    if (op == 0) {
                        model.Insert(Insert(m), m);
                        continue;
                    }
                    auto it = model.records.begin();
                    std::advance(it, rng() % model.records.size());
                    uint32_t id = it->first;
                    if (op == 1) {
                        uint8_t rec[MainSize];
                        PutMain(rec, m);
                        ASSERT_TRUE(RecordIDUpdate(RegMain, id, rec));
                        model.Update(id, m);
                    } else {
                        ASSERT_TRUE(D4RecordIDDelete(RegMain, id));
                        model.Erase(id);
                    }
                }
                ASSERT_TRUE(D4DiskFlush());
            }
        }
        for (const Snap &s : snaps) {
            EXPECT_TRUE(snapshotSees(s)) << "cache " << cache;
            D4SnapshotClose(s.d, s.handle);
        }
        ASSERT_TRUE(D4Flush(1));
        ExpectIntact();
        EXPECT_TRUE(SeesModel(model));
        EXPECT_FALSE(D4DamagedMode());
    }
}
