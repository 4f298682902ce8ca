// Tests of holds that go wrong: a hold that fails is undone whole (in
// the file, in the same run and after a reopen, in both flush modes,
// with earlier holds in mode 0 kept), writes and syncs the disk refuses
// are no damage, stale record ids are refused without damage, a free
// list that names a sector in use is damage and never an overwrite
// (found when the sector would be taken or released, not at the open),
// sectors written since the last commit are reused, and a file cut
// short by another program gives an error instead of a crash.
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "database/engine/engine_state.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

using State = std::map<uint32_t, Main>;

class EngineHolds : public EngineFixture {
protected:
    std::vector<uint8_t> FileBytes() {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void PutFile(const std::vector<uint8_t> &b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
    }
    std::vector<uint8_t> Header() {
        std::vector<uint8_t> b = FileBytes();
        b.resize(100);
        return b;
    }
    // An insert inside a hold that may already have failed.
    void TryInsert(const Main &m) {
        uint8_t rec[MainSize];
        PutMain(rec, m);
        uint32_t id;
        D4RecordInsert(RegMain, rec, &id);
    }
    uint32_t Put(State *state, const Main &m) {
        uint32_t id = Insert(m);
        (*state)[id] = m;
        return id;
    }
    // True when every index and every read gives exactly state.
    bool Sees(const State &state) {
        for (const char *ix : {"SerNr", "Code", "DateAmt"})
            if (D4RecordCount(RegMain, ix) != state.size()) return false;
        uint32_t p = 0;
        std::map<uint32_t, uint32_t> bySerial;
        for (auto &[id, m] : state) bySerial[m.serial] = id;
        for (auto &[id, m] : state) {
            Main r;
            if (!Read(id, &r) || !SameMain(r, m)) return false;
        }
        for (auto &[serial, id] : bySerial) {
            uint8_t rec[MainSize] = {};
            std::memcpy(rec + OffRows, &NoRows, 4);
            uint32_t at = 0;
            if (!D4RecordReadPos(RegMain, "SerNr", ++p, rec, &at) || at != id) return false;
        }
        return true;
    }
    // Closes and reopens the file; it must hold state, intact and undamaged.
    void ExpectAfterReopen(const State &state) {
        ASSERT_TRUE(D4Close());
        std::vector<uint8_t> h = Header();
        EXPECT_EQ(h[42] | h[43], 0) << "no damaged word";
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        EXPECT_FALSE(D4DamagedMode());
        EXPECT_TRUE(Sees(state));
        ExpectIntact();
    }
    // A hold of several changes to state (an insert, an update of the
    // first record, a delete of the last): its end is left to the caller.
    void ChangeInHold(const State &state, int tag) {
        TryInsert(Main{1000u + (uint32_t)tag, "NEW" + std::to_string(tag)});
        uint8_t rec[MainSize];
        PutMain(rec, Main{state.begin()->second.serial, "CHANGED", {1, 1, 2030}, 1, 1});
        RecordIDUpdate(RegMain, state.begin()->first, rec);
        D4RecordIDDelete(RegMain, state.rbegin()->first);
    }
    // Every write and every sync of a hold refused in turn: each time the
    // hold fails, the user is told, nothing is damaged, the file and the view
    // stay at the last commit, and the next hold succeeds. The hold makes
    // `bulk` inserts besides its three changes; with a cache smaller than the
    // commit its sectors are written back in the middle of the hold, so the
    // refusals meet reads that need room in the cache.
    void RefuseEveryWritePoint(State &state, int bulk, int *failed) {
        for (int kind = 0; kind < 2; kind++) {
            for (int64_t k = 1;; k++) {
                std::vector<uint8_t> header = Header();
                Messages().clear();
                D4TestHooks.failWriteAt = kind == 0 ? D4TestHooks.writesDone + k : -1;
                D4TestHooks.failSyncAt = kind == 1 ? D4TestHooks.syncsDone + k : -1;
                D4TestHooks.failErrno = k % 2 ? ENOSPC : EIO;
                D4Hold();
                // Serials above all earlier ones: the new records come last.
                for (int i = 0; i < bulk; i++)
                    TryInsert(Main{5000u + 1000u * (uint32_t)kind + (uint32_t)i, "BULK" + std::to_string(i % 9)});
                ChangeInHold(state, 10000 * kind + (int)k);
                bool ok = D4DiskFlush();
                D4TestHooks.failWriteAt = D4TestHooks.failSyncAt = -1;
                ASSERT_FALSE(D4DamagedMode()) << kind << " " << k << " " << (Messages().empty() ? "" : Messages()[0]);
                EXPECT_FALSE(SawMessage("non existing")) << kind << " " << k;
                if (ok) break;   // past the last write or sync of the commit
                (*failed)++;
                EXPECT_TRUE(SawMessage("The disk refused the write")) << kind << " " << k;
                EXPECT_TRUE(SawMessage(k % 2 ? "No space left" : "Input/output error"));
                EXPECT_TRUE(Sees(state)) << kind << " " << k;
                EXPECT_EQ(Header(), header) << "the header on disk names the last commit";
                ExpectIntact();
                ASSERT_NO_FATAL_FAILURE(ExpectAfterReopen(state));
            }
            // The hold that went through: the model follows it (its new
            // records are read back by serial, the highest last).
            size_t before = state.size();
            state.erase(state.rbegin()->first);
            state.begin()->second = Main{state.begin()->second.serial, "CHANGED", {1, 1, 2030}, 1, 1};
            uint32_t count = D4RecordCount(RegMain, "SerNr");
            ASSERT_EQ(count, before + (size_t)bulk);
            for (uint32_t p = count - (uint32_t)bulk; p <= count; p++) {
                uint8_t rec[MainSize] = {};
                std::memcpy(rec + OffRows, &NoRows, 4);
                uint32_t id;
                ASSERT_TRUE(D4RecordReadPos(RegMain, "SerNr", p, rec, &id));
                state[id] = GetMain(rec);
            }
            EXPECT_TRUE(Sees(state));
        }
    }
};

}  // namespace

// A hold that fails after its work (an after-hook's failure) stores
// nothing: the file and every read are as before it, in this run and
// after a reopen; an inner hold's failure fails the outermost one.
TEST_F(EngineHolds, AFailedHoldIsUndoneWhole) {
    State state;
    for (uint32_t i = 0; i < 25; i++) Put(&state, Main{i, "C" + std::to_string(i % 6), {1, 2, 2021}, i, i});
    std::vector<uint8_t> before = FileBytes();
    uint32_t freeBefore = D4FreeSectorCount();

    D4Hold();
    ChangeInHold(state, 1);
    EXPECT_FALSE(D4HoldEnd(false));
    EXPECT_EQ(FileBytes(), before) << "nothing of the hold reached the file";
    EXPECT_TRUE(Sees(state));
    EXPECT_EQ(D4FreeSectorCount(), freeBefore);
    ExpectIntact();

    // The failure of a nested hold reaches the outermost end.
    D4Hold();
    D4Hold();
    ChangeInHold(state, 2);
    EXPECT_FALSE(D4HoldEnd(false));
    TryInsert(Main{77, "AFTER"});
    EXPECT_FALSE(D4DiskFlush()) << "the outermost hold fails with its inner one";
    EXPECT_EQ(FileBytes(), before);
    EXPECT_TRUE(Sees(state));
    EXPECT_FALSE(D4DamagedMode());

    // The engine goes on: the next hold stores.
    Put(&state, Main{500, "NEXT"});
    EXPECT_TRUE(Sees(state));
    ExpectAfterReopen(state);
}

// In flush mode 0 a failed hold drops only itself: the earlier holds,
// whose sectors it rewrote in place or released and reused, stay.
TEST_F(EngineHolds, ModeZeroKeepsTheEarlierHolds) {
    State state;
    for (uint32_t i = 0; i < 10; i++) Put(&state, Main{i, "A" + std::to_string(i)});
    ASSERT_TRUE(D4Flush(0));
    std::vector<uint8_t> committed = FileBytes();
    uint32_t early = Put(&state, Main{100, "EARLY", {3, 3, 2021}, 5, 6});
    Put(&state, Main{101, "EARLY2"});
    // The failed hold deletes the early record (its sectors go to the
    // pool), inserts over them and changes the index nodes in place.
    D4Hold();
    ASSERT_TRUE(D4RecordIDDelete(RegMain, early));
    for (uint32_t i = 0; i < 6; i++) Insert(Main{200 + i, "LATE"});
    EXPECT_FALSE(D4HoldEnd(false));
    EXPECT_TRUE(Sees(state));
    ExpectIntact();
    EXPECT_EQ(Header(), std::vector<uint8_t>(committed.begin(), committed.begin() + 100))
        << "mode 0 commits nothing";
    // A further failed hold through a refused write: the disk refuses the
    // first write the hold makes (the cache is written back to make room).
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;
    D4Hold();
    for (uint32_t i = 0; i < 800; i++) TryInsert(Main{300 + i, "BULK"});
    EXPECT_FALSE(D4DiskFlush());
    EXPECT_TRUE(SawMessage("The disk refused the write"));
    EXPECT_TRUE(Sees(state));
    EXPECT_FALSE(D4DamagedMode());
    ExpectIntact();
    ASSERT_TRUE(D4Flush(1));
    ExpectAfterReopen(state);
}

// Holds in mode 0 leave the index heads they changed to be saved by the
// next commit; a commit that fails after saving them puts them back as
// unsaved, so that the commit after it saves them again.
TEST_F(EngineHolds, AFailedCommitLeavesTheHeadsToSave) {
    State state;
    for (uint32_t i = 0; i < 10; i++) Put(&state, Main{i, "H" + std::to_string(i)});
    ASSERT_TRUE(D4Flush(0));
    // Enough keys to change every index's root node.
    for (uint32_t i = 0; i < 30; i++) Put(&state, Main{100 + i, "M" + std::to_string(i), {2, 2, 2022}, i, i});
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 1;
    EXPECT_FALSE(D4Flush(1));
    D4TestHooks.failWriteAt = -1;
    EXPECT_TRUE(SawMessage("The disk refused the write"));
    EXPECT_FALSE(D4DamagedMode());
    EXPECT_TRUE(Sees(state));
    ASSERT_TRUE(D4Flush(1));
    ExpectAfterReopen(state);
}

TEST_F(EngineHolds, RefusedWritesAndSyncsUndoTheHold) {
    State state;
    for (uint32_t i = 0; i < 30; i++) Put(&state, Main{i, "W" + std::to_string(i % 4)});
    int failed = 0;
    RefuseEveryWritePoint(state, 0, &failed);
    EXPECT_GE(failed, 3) << "the data written, sector 0 and the sync each failed once";
    ExpectAfterReopen(state);
}

// The same with a cache of 20 KB, smaller than one commit: a refused
// write-back that was to make room for a read inside the hold fails the
// hold; it is no damage and no missing segment.
TEST_F(EngineHolds, RefusedWriteBacksInASmallCacheUndoTheHold) {
    State state;
    for (uint32_t i = 0; i < 30; i++) Put(&state, Main{i, "S" + std::to_string(i % 4)});
    ASSERT_TRUE(D4Close());
    ASSERT_TRUE(D4Init(20 * 1024));
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    int failed = 0;
    RefuseEveryWritePoint(state, 60, &failed);
    EXPECT_GE(failed, 20) << "the hold's write-backs were refused in its middle";
    ExpectAfterReopen(state);
}

namespace {

int RawExportRuns = 0;

}  // namespace

// An id that names no live record of the register is the caller's
// mistake: refused, no damage, no raw export, and writing goes on.
TEST_F(EngineHolds, StaleIdsAreRefusedNotDamage) {
    RawExportRuns = 0;
    D4SetRawExportRunner([] { return ++RawExportRuns, false; });
    State state;
    uint32_t id = Put(&state, Main{1, "LIVE"});
    uint32_t gone = Put(&state, Main{2, "GONE"});
    ASSERT_TRUE(D4RecordIDDelete(RegMain, gone));
    state.erase(gone);
    uint8_t rows[16] = {};
    uint32_t otherRegister;
    ASSERT_TRUE(D4RecordInsert(RegRows, rows, &otherRegister));
    uint8_t rec[MainSize];
    PutMain(rec, Main{9, "X"});
    for (uint32_t stale : {gone, id + 1000, 0u, otherRegister}) {
        EXPECT_FALSE(D4RecordIDDelete(RegMain, stale)) << stale;
        EXPECT_FALSE(RecordIDUpdate(RegMain, stale, rec)) << stale;
        Main m;
        EXPECT_FALSE(Read(stale, &m)) << stale;
    }
    EXPECT_FALSE(D4DamagedMode());
    EXPECT_EQ(RawExportRuns, 0);
    Put(&state, Main{3, "NEXT"});
    EXPECT_TRUE(Sees(state));
    ExpectAfterReopen(state);
    D4SetRawExportRunner(nullptr);
}

// A file of twelve records, four deleted, closed, whose free list's
// pointer taken first is made to name a sector in use: the first sector
// of the last record (from the one-level segment tree), or with `root`
// the tree's root node. The file's bytes as tampered go to *bytes.
struct Tampered {
    State state;
    uint32_t liveId = 0, sector = 0;
    std::vector<uint8_t> bytes;
};

class EngineFreeListDamage : public EngineHolds {
protected:
    Tampered MakeTampered(bool root) {
        Tampered t;
        std::vector<uint32_t> ids;
        for (uint32_t i = 0; i < 12; i++) ids.push_back(Put(&t.state, Main{i, "F"}));
        for (int i = 0; i < 4; i++) {
            EXPECT_TRUE(D4RecordIDDelete(RegMain, ids[i]));
            t.state.erase(ids[i]);
        }
        EXPECT_TRUE(D4Close());
        std::vector<uint8_t> &b = t.bytes;
        b = FileBytes();
        auto u32 = [&](size_t at) {
            uint32_t v;
            std::memcpy(&v, &b[at], 4);
            return v;
        };
        uint32_t rootAt = u32(10);
        EXPECT_EQ(u32(6), 1u);
        t.liveId = ids.back();
        uint16_t entries;
        std::memcpy(&entries, &b[rootAt + 8], 2);
        for (int i = 0; i < entries; i++)
            if (u32(rootAt + 10 + 8 * i + 4) == t.liveId) t.sector = u32(rootAt + 10 + 8 * i);
        if (root) t.sector = rootAt;
        EXPECT_NE(t.sector, 0u);
        uint32_t block = u32(30) != 0xFFFFFFFFu ? u32(30) : u32(2);
        EXPECT_NE(block, 0xFFFFFFFFu);
        uint16_t count;
        std::memcpy(&count, &b[block + 8], 2);
        EXPECT_GT(count, 0);
        std::memcpy(&b[block + 8 + 6 + 4 * (count - 1)], &t.sector, 4);   // the pointer taken first
        PutFile(b);
        Messages().clear();
        return t;
    }
    // Nothing but the header was written, the live record reads as stored.
    void ExpectUntouched(const Tampered &t) {
        Main m;
        ASSERT_TRUE(Read(t.liveId, &m));
        EXPECT_TRUE(SameMain(m, t.state.at(t.liveId)));
        D4Close();
        std::vector<uint8_t> after = FileBytes();
        ASSERT_EQ(after.size(), t.bytes.size());
        EXPECT_TRUE(std::equal(after.begin() + 512, after.end(), t.bytes.begin() + 512)) << "only the header changed";
    }
};

// A free list whose pointer names a live record's sector, or a node of
// the segment tree, opens (the open reads no more than the lists) and
// reads as stored; the first hold that would take the sector finds the
// damage instead: reported, nothing written, the record intact.
TEST_F(EngineFreeListDamage, ASectorInUseListedFreeIsDamageBeforeItIsTaken) {
    for (bool root : {false, true}) {
        SCOPED_TRACE(root ? "the root node" : "a record's sector");
        Tampered t = MakeTampered(root);
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        EXPECT_TRUE(Sees(t.state));
        uint8_t rec[MainSize];
        PutMain(rec, Main{99, "OVER"});
        uint32_t id;
        EXPECT_FALSE(D4RecordInsert(RegMain, rec, &id));
        EXPECT_TRUE(D4DamagedMode());
        EXPECT_TRUE(SawMessage("D4FreeList lists a sector in use"));
        ExpectUntouched(t);
        std::remove(path.c_str());
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    }
}

// Released before any free sector was taken, a sector that the lists of
// the file as opened also name is damage: freed, it would be listed twice.
TEST_F(EngineFreeListDamage, ReleasingASectorTheListsNameIsDamage) {
    Tampered t = MakeTampered(false);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_FALSE(D4DamagedMode());
    D4Hold();
    EXPECT_FALSE(D4DiskRelease(t.sector, true));
    D4HoldEnd(false);
    EXPECT_TRUE(D4DamagedMode());
    EXPECT_TRUE(SawMessage("D4FreeList lists a sector in use"));
    ExpectUntouched(t);
}

// A sound file's lists, checked at the first take, hand their sectors out
// as before: the file does not grow while freed sectors are reused.
TEST_F(EngineFreeListDamage, SoundListsAreUsedAfterTheCheck) {
    State state;
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 200; i++) ids.push_back(Put(&state, Main{i, "S"}));
    for (uint32_t i = 0; i < 150; i++) {
        ASSERT_TRUE(D4RecordIDDelete(RegMain, ids[i]));
        state.erase(ids[i]);
    }
    ASSERT_TRUE(D4Close());
    uint32_t end;
    std::vector<uint8_t> h = Header();
    std::memcpy(&end, &h[26], 4);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    for (uint32_t i = 0; i < 20; i++) Put(&state, Main{1000 + i, "AGAIN"});
    EXPECT_FALSE(D4DamagedMode());
    ASSERT_TRUE(D4Close());
    uint32_t after;
    h = Header();
    std::memcpy(&after, &h[26], 4);
    EXPECT_EQ(after, end) << "twenty records fit in what 150 freed";
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    ExpectAfterReopen(state);
}

// Sectors written since the last commit are reused in the same hold: ten
// thousand updates of one record keep the file small.
TEST_F(EngineHolds, UpdatesInOneHoldReuseTheirSectors) {
    uint32_t id = Insert(Main{1, "ONE"});
    uint8_t rec[MainSize];
    D4Hold();
    for (uint32_t i = 0; i < 10000; i++) {
        PutMain(rec, Main{1, "ONE", {1, 1, 2021}, i, i});
        ASSERT_TRUE(RecordIDUpdate(RegMain, id, rec)) << i;
    }
    ASSERT_TRUE(D4DiskFlush());
    ASSERT_TRUE(D4Close());
    // The logical end (header +26) counts the sectors used; the file
    // itself grows ahead of it in steps.
    std::vector<uint8_t> f = FileBytes();
    uint32_t end;
    std::memcpy(&end, f.data() + 26, 4);
    EXPECT_LT(end, 100u * 1024);
    EXPECT_LE(f.size(), 192u * 1024);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    Main m;
    ASSERT_TRUE(Read(id, &m));
    EXPECT_EQ(m.payload, 9999u);
    ExpectIntact();
}

// Another program cuts the file short while it is open: the next read
// and the next hold fail with a message and damaged mode, no crash.
TEST_F(EngineHolds, AFileCutShortGivesAnErrorNotACrash) {
    State state;
    for (uint32_t i = 0; i < 40; i++) Put(&state, Main{i, "T"});
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);   // nothing cached
    int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 1024), 0);
    ::close(fd);
    Messages().clear();
    // A plain read, with no hold begun since the cut: the mapped read
    // meets the lost pages and must come back as an error.
    ASSERT_EQ(D4HoldCount(), 0);
    Main m;
    EXPECT_FALSE(Read(state.rbegin()->first, &m));
    EXPECT_TRUE(SawMessage("cut short"));
    EXPECT_TRUE(D4DamagedMode());
    uint8_t rec[MainSize];
    PutMain(rec, Main{1, "X"});
    uint32_t id;
    EXPECT_FALSE(D4RecordInsert(RegMain, rec, &id));
    D4Close();
}

// A new file whose directory cannot be synced is refused: the company
// would not survive a power loss.
TEST_F(EngineHolds, CreateSyncsTheDirectory) {
    ASSERT_TRUE(D4Close());
    D4TestHooks = D4FileHooks{};
    ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    int64_t syncs = D4TestHooks.syncsDone;
    ASSERT_TRUE(D4Close());
    D4TestHooks = D4FileHooks{};
    D4TestHooks.failSyncAt = syncs;   // the last sync of the create: the directory's
    Messages().clear();
    EXPECT_EQ(D4Create(path.c_str(), 0), D4OpenFailed);
    EXPECT_TRUE(SawMessage("cannot be created"));
    EXPECT_FALSE(D4IsOpen());
}
