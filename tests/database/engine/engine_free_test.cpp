// Tests of sector allocation: many patterns of storing, rewriting and
// releasing in holds of both flush modes, with snapshots and reopening,
// after each of which every sector must be used once or free once; the
// collection spilling past one block; snapshots reading what the master
// has since released; and the free count surviving a close.
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "database/engine/engine_state.h"
#include "database/engine/free_map.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class EngineFree : public EngineFixture {
protected:
    void TearDown() override {
        Db.gatherEvery = D4GatherEvery;
        EngineFixture::TearDown();
    }
    uint32_t InsertRows(uint32_t nr, size_t bytes) {
        uint8_t rec[16] = {};
        std::memcpy(rec, &nr, 4);
        MemBlock rows = MemAlloc((uint32_t)bytes);
        std::memcpy(rec + 8, &rows, 4);
        uint32_t id = 0;
        EXPECT_TRUE(D4RecordInsert(RegRows, rec, &id));
        MemFree(&rows);
        return id;
    }
    uint32_t LogicalEnd() { return HdrGetLong(dbformat::HdrLogicalEnd); }
    std::vector<uint8_t> FileBytes() {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void PutFile(const std::vector<uint8_t> &b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
    }
};

}  // namespace

TEST_F(EngineFree, NoSectorIsLostOrListedTwice) {
    Db.gatherEvery = 4;   // the lists' chains are rewritten whole often
    std::mt19937 rng(777);
    std::map<uint32_t, uint32_t> live;   // id -> nr
    uint32_t nr = 0;
    DVP *snapshot = nullptr;
    uint32_t handle = 0;
    for (int step = 0; step < 60; step++) {
        int pattern = rng() % 6;
        if (pattern == 5) {
            // Flush modes and snapshots come and go.
            if (snapshot) {
                D4SnapshotClose(snapshot, handle);
                snapshot = nullptr;
            } else if (rng() % 2) {
                snapshot = D4SnapshotOpen(&handle);
                ASSERT_NE(snapshot, nullptr);
            }
            ASSERT_TRUE(D4Flush(rng() % 3 == 0 ? 0 : 1));
        }
        D4Hold();
        int ops = 1 + rng() % 30;
        for (int i = 0; i < ops; i++) {
            int op = rng() % 4;
            if (live.empty() || op == 0) {
                uint32_t id = InsertRows(++nr, rng() % 3000);
                live[id] = nr;
            } else if (op == 1) {
                auto it = live.begin();
                std::advance(it, rng() % live.size());
                uint8_t rec[16] = {};
                std::memcpy(rec, &it->second, 4);
                MemBlock rows = MemAlloc(rng() % 4000);
                std::memcpy(rec + 8, &rows, 4);
                ASSERT_TRUE(RecordIDUpdate(RegRows, it->first, rec));
                MemFree(&rows);
            } else if (op == 2) {
                auto it = live.begin();
                std::advance(it, rng() % live.size());
                ASSERT_TRUE(D4RecordIDDelete(RegRows, it->first));
                live.erase(it);
            } else {
                std::vector<uint8_t> block(rng() % 1500, (uint8_t)i);
                ASSERT_TRUE(D4BlockStore(129 + rng() % 5, block.data(), (uint32_t)block.size()));
            }
        }
        ASSERT_TRUE(D4DiskFlush());
        if (D4FlushMode() == 1) ExpectIntact();
        if (step % 15 == 14) {
            snapshot = nullptr;
            ASSERT_TRUE(D4Close());
            ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
            ExpectIntact();
        }
    }
    if (snapshot) D4SnapshotClose(snapshot, handle);
    ASSERT_TRUE(D4Flush(1));
    ExpectIntact();
    EXPECT_EQ(D4RecordCount(RegRows, "Nr"), live.size());
    EXPECT_FALSE(D4DamagedMode());
}

// The allocator's map follows the free lists' heads through commits that
// push a list down a chain (a hold freeing more than a block holds, list
// A rewritten after a snapshot merged B into it) and through snapshots
// that take B's pointers out of reach: after every commit it holds what
// a rebuild from the heads would, and what it hands out stays free.
TEST_F(EngineFree, MapFollowsTheHeadsThroughChainsAndSnapshots) {
    std::mt19937 rng(11700);
    std::vector<uint32_t> ids;
    uint32_t nr = 0;
    DVP *snapshot = nullptr;
    uint32_t handle = 0;
    for (int round = 0; round < 12; round++) {
        D4Hold();
        for (int i = 0; i < 40; i++) ids.push_back(InsertRows(++nr, 600 + rng() % 2400));
        ASSERT_TRUE(D4DiskFlush());
        ASSERT_TRUE(D4FreeMapMatchesHeads()) << "after a bulk insert, round " << round;
        if (round % 3 == 1) {
            if (snapshot) {
                D4SnapshotClose(snapshot, handle);
                snapshot = nullptr;
            } else {
                snapshot = D4SnapshotOpen(&handle);
                ASSERT_NE(snapshot, nullptr);
            }
        }
        // One hold frees far more sectors than a block lists.
        D4Hold();
        for (int i = 0; i < 25 && !ids.empty(); i++) {
            size_t at = rng() % ids.size();
            ASSERT_TRUE(D4RecordIDDelete(RegRows, ids[at]));
            ids.erase(ids.begin() + (long)at);
        }
        ASSERT_TRUE(D4DiskFlush());
        ASSERT_TRUE(D4FreeMapMatchesHeads()) << "after a large release, round " << round;
        // Single-record holds then take from what the map offers.
        for (int i = 0; i < 10; i++) {
            D4Hold();
            ids.push_back(InsertRows(++nr, rng() % 200));
            ASSERT_TRUE(D4DiskFlush());
            ASSERT_TRUE(D4FreeMapMatchesHeads()) << "after a single insert, round " << round;
        }
        ExpectIntact();
    }
    if (snapshot) D4SnapshotClose(snapshot, handle);
    ASSERT_TRUE(D4Flush(1));
    EXPECT_TRUE(D4FreeMapMatchesHeads());
    ExpectIntact();
    EXPECT_EQ(D4RecordCount(RegRows, "Nr"), ids.size());
    EXPECT_FALSE(D4DamagedMode());
}

// List A's count per window, which lets a take skip searching A's head,
// follows the head through everything that changes it: takes from A
// after a snapshot merged B into it, A rewritten down its chain, the
// refill from B when A runs dry, failed holds that put the heads back,
// and reopening. After every hold, failed or not, the map and the counts
// are what a rebuild from the heads makes.
TEST_F(EngineFree, ListACountsFollowItsHeadThroughFailedHoldsAndMerges) {
    std::mt19937 rng(4242);
    std::vector<uint32_t> ids;
    uint32_t nr = 0;
    D4Hold();
    for (int i = 0; i < 300; i++) ids.push_back(InsertRows(++nr, 100 + rng() % 2000));
    ASSERT_TRUE(D4DiskFlush());
    DVP *snapshot = nullptr;
    uint32_t handle = 0;
    int failed = 0;
    for (int step = 0; step < 240; step++) {
        if (step % 40 == 5) {
            // Freed space from B joins A when a snapshot opens.
            snapshot = D4SnapshotOpen(&handle);
            ASSERT_NE(snapshot, nullptr);
        } else if (snapshot && step % 40 == 25) {
            D4SnapshotClose(snapshot, handle);
            snapshot = nullptr;
        }
        bool fail = rng() % 4 == 0;
        std::vector<uint32_t> kept = ids;
        D4Hold();
        int ops = 1 + (int)(rng() % (step % 7 == 0 ? 40 : 4));
        for (int i = 0; i < ops; i++) {
            if (ids.size() < 50 || rng() % 2) {
                ids.push_back(InsertRows(++nr, rng() % 3000));
            } else {
                size_t at = rng() % ids.size();
                ASSERT_TRUE(D4RecordIDDelete(RegRows, ids[at]));
                ids.erase(ids.begin() + (long)at);
            }
        }
        if (fail) {
            EXPECT_FALSE(D4HoldEnd(false));
            ids = kept;
            failed++;
        } else {
            ASSERT_TRUE(D4DiskFlush());
        }
        ASSERT_TRUE(D4FreeMapMatchesHeads()) << "step " << step << (fail ? ", failed hold" : "");
        if (step % 60 == 59) {
            if (snapshot) D4SnapshotClose(snapshot, handle);
            snapshot = nullptr;
            ASSERT_TRUE(D4Close());
            ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
            ASSERT_TRUE(D4FreeMapMatchesHeads()) << "reopened at step " << step;
        }
    }
    if (snapshot) D4SnapshotClose(snapshot, handle);
    EXPECT_GT(failed, 30);
    ASSERT_TRUE(D4Flush(1));
    EXPECT_TRUE(D4FreeMapMatchesHeads());
    ExpectIntact();
    EXPECT_EQ(D4RecordCount(RegRows, "Nr"), ids.size());
    EXPECT_FALSE(D4DamagedMode());
}

// A sector one of the last eight holds took is short-lived when copied:
// the count that says so rises for the hold that took it and falls again
// eight holds later, one hold's sectors at a time, and a reopened file
// starts with none.
TEST_F(EngineFree, CopiesOfWhatTheLastEightHoldsTookAreShortLived) {
    for (int i = 0; i < 9; i++) ASSERT_TRUE(D4Flush(1));   // what the file's making took is forgotten
    std::vector<uint32_t> taken;   // kept in use until the end, so each hold takes another
    for (int i = 0; i < 3; i++) {
        D4Hold();
        uint32_t p = D4DiskGetFree(D4Life::Long);
        ASSERT_NE(p, dbformat::DiskNone);
        ASSERT_TRUE(D4DiskFlush());
        taken.push_back(p);
        EXPECT_EQ(D4LifeOfCopy(p), D4Life::Long) << "counted before the next hold begins";
    }
    // The sector of hold i stays counted while the eight holds after it
    // begin, then goes; the later holds' sectors stay counted.
    for (int later = 1; later <= 10; later++) {
        ASSERT_TRUE(D4Flush(1));
        for (int i = 0; i < 3; i++) {
            int since = later + 2 - i;   // holds begun since hold i ended
            EXPECT_EQ(D4LifeOfCopy(taken[(size_t)i]), since <= 8 ? D4Life::Short : D4Life::Long)
                << "hold " << i << ", " << since << " holds later";
        }
    }
    D4Hold();
    taken.push_back(D4DiskGetFree(D4Life::Long));
    ASSERT_TRUE(D4DiskFlush());
    ASSERT_TRUE(D4Flush(1));
    EXPECT_EQ(D4LifeOfCopy(taken.back()), D4Life::Short);
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_EQ(D4LifeOfCopy(taken.back()), D4Life::Long) << "the reopened file starts with no recent holds";
    D4Hold();
    for (uint32_t p : taken) ASSERT_TRUE(D4DiskRelease(p, false));
    ASSERT_TRUE(D4DiskFlush());
    ExpectIntact();
}

TEST_F(EngineFree, ReleasedSectorsAreReusedAndSurviveClose) {
    // One record of 130 sectors: its release spills the collection.
    uint32_t id = InsertRows(1, 494 + 129 * 506 - 16);
    uint32_t freeBefore = D4FreeSectorCount();
    ASSERT_TRUE(D4RecordIDDelete(RegRows, id));
    EXPECT_GE(D4FreeSectorCount(), freeBefore + 130);
    ExpectIntact();
    uint32_t freeCount = D4FreeSectorCount();
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_EQ(D4FreeSectorCount(), freeCount) << "no free sector is lost at close";
    // New data take the free sectors before the file grows.
    uint32_t end = LogicalEnd();
    for (uint32_t i = 0; i < 20; i++) InsertRows(10 + i, 2000);
    EXPECT_EQ(LogicalEnd(), end);
    ExpectIntact();
}

TEST_F(EngineFree, SnapshotKeepsSeeingWhatTheMasterReleased) {
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 30; i++) ids.push_back(Insert(Main{i, "S" + std::to_string(i)}));
    ASSERT_TRUE(D4Flush(1));
    uint32_t handle;
    DVP *snap = D4SnapshotOpen(&handle);
    ASSERT_NE(snap, nullptr);
    EXPECT_EQ(D4MasterCount(), 1);
    // The master deletes half and writes much more.
    for (size_t i = 0; i < ids.size(); i += 2) ASSERT_TRUE(D4RecordIDDelete(RegMain, ids[i]));
    for (uint32_t i = 0; i < 60; i++) Insert(Main{100 + i, "NEW", {1, 1, 2022}, 0, 0xABCD});
    // The snapshot sees the file as it was.
    DVP *previous;
    ASSERT_TRUE(D4DescriptorSelect(0, snap, &previous));
    EXPECT_EQ(D4RecordCount(RegMain, "SerNr"), 30u);
    for (uint32_t i = 0; i < 30; i++) {
        Main m;
        ASSERT_TRUE(Read(ids[i], &m)) << i;
        EXPECT_EQ(m.code, "S" + std::to_string(i));
    }
    uint8_t rec[MainSize] = {};
    uint32_t id;
    EXPECT_FALSE(D4RecordInsert(RegMain, rec, &id)) << "writes go only through the master";
    D4DescriptorRestore(0, previous);
    D4SnapshotClose(snap, handle);
    EXPECT_EQ(D4MasterCount(), 0);
    EXPECT_EQ(D4RecordCount(RegMain, "SerNr"), 75u);
    // A copy of the master is refused while the master holds; restoring
    // after the refusal leaves the count of open copies as it was, so an
    // open snapshot still keeps its sectors from reuse.
    snap = D4SnapshotOpen(&handle);
    ASSERT_NE(snap, nullptr);
    D4Hold();
    EXPECT_FALSE(D4DescriptorSelect(3, nullptr, &previous));
    EXPECT_TRUE(SawMessage("CopyDVP holdCnt!=0"));
    D4DescriptorRestore(3, previous);
    EXPECT_EQ(D4MasterCount(), 1);
    ASSERT_TRUE(D4DiskFlush());
    ASSERT_TRUE(D4DescriptorSelect(3, nullptr, &previous));
    EXPECT_EQ(D4MasterCount(), 2);
    D4DescriptorRestore(3, previous);
    EXPECT_EQ(D4MasterCount(), 1);
    D4SnapshotClose(snap, handle);
    ExpectIntact();
    EXPECT_FALSE(D4DamagedMode());
}

// In a file whose free sectors lie scattered (every fifth record of a
// large load deleted), single-record holds commit with one sync each and
// name few 4 KB pages: each hold's sectors come from one window of
// neighbouring free sectors, or from the end of the file, not from
// wherever the lists happen to list them. The scattered sectors are still
// reused: the file grows by little more than the new records need.
class EngineFreeWindows : public EngineFree {
protected:
    uint16_t NodeEntries() override { return 14; }
};

TEST_F(EngineFreeWindows, SingleRecordHoldsTouchFewPagesAmongScatteredFreeSectors) {
    std::vector<uint32_t> ids;
    D4Hold();
    for (uint32_t i = 0; i < 4000; i++) ids.push_back(Insert(Main{i, "C" + std::to_string(i * 7919 % 4000)}));
    ASSERT_TRUE(D4DiskFlush());
    D4Hold();
    for (size_t i = 0; i < ids.size(); i += 5) ASSERT_TRUE(D4RecordIDDelete(RegMain, ids[i]));
    ASSERT_TRUE(D4DiskFlush());
    uint32_t end = LogicalEnd();
    ASSERT_GE(D4FreeSectorCount(), 800u);
    D4TestHooks = D4FileHooks{};
    D4TestHooks.skipSync = true;
    constexpr int Holds = 300;
    for (uint32_t i = 0; i < Holds; i++) Insert(Main{9000 + i, "N" + std::to_string(i * 4001 % 9973)});
    // One sync per hold, and one per growth step of the file.
    EXPECT_LE(D4TestHooks.syncsDone, Holds + 3);
    EXPECT_EQ(D4TestHooks.twoSyncCommits, 0);
    double pages = (double)D4TestHooks.pagesCommitted / Holds;
    std::printf("pages per single-record hold: %.2f\n", pages);
    EXPECT_LE(pages, 7.5) << "a hold's sectors are spread over many pages";
    EXPECT_LE(LogicalEnd(), end + Holds * 512) << "free sectors are reused before the file grows";
    D4TestHooks = D4FileHooks{};
    ExpectIntact();
}

// Records deleted one hold at a time free their sectors one commit at a
// time; what a commit frees beyond the densest block goes down list B's
// chain, so the heads show each window's free sectors a few at a time.
// A commit that gathers the chains puts the fullest windows of all the
// free space into the heads. Its write refused, the hold is undone with
// the lists as they were; the next commit gathers and loses no sector.
namespace {

// The free sectors the allocator's map offers in windows where it offers
// at least 16 (two pages' worth: room for a hold's long-lived sectors).
uint32_t OfferedInFullWindows() {
    uint32_t sum = 0;
    for (uint16_t n : D4FreeMapWindowCounts())
        if (n >= 16) sum += n;
    return sum;
}

}  // namespace

TEST_F(EngineFreeWindows, GatheringTheChainsShowsTheFullestWindows) {
    std::mt19937 rng(90210);
    std::vector<uint32_t> ids;
    D4Hold();
    for (uint32_t i = 0; i < 3000; i++) ids.push_back(Insert(Main{i, "C" + std::to_string(i * 7919 % 3000)}));
    ASSERT_TRUE(D4DiskFlush());
    Db.gatherEvery = UINT32_MAX;
    for (int i = 0; i < 400; i++) {
        size_t at = rng() % ids.size();
        D4Hold();
        ASSERT_TRUE(D4RecordIDDelete(RegMain, ids[at]));
        ASSERT_TRUE(D4DiskFlush());
        ids.erase(ids.begin() + (long)at);
    }
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    uint32_t offered = OfferedInFullWindows(), free = D4FreeSectorCount();

    // The gathering commit refused: nothing of it stays.
    Db.gatherEvery = 1;
    D4TestHooks.failWriteAt = D4TestHooks.writesDone + 2;
    D4Hold();
    ASSERT_TRUE(D4RecordIDDelete(RegMain, ids.back()));
    EXPECT_FALSE(D4DiskFlush());
    D4TestHooks.failWriteAt = -1;
    EXPECT_TRUE(D4FreeMapMatchesHeads());
    EXPECT_EQ(D4FreeSectorCount(), free);
    EXPECT_EQ(OfferedInFullWindows(), offered);
    ExpectIntact();

    // Gathered: the heads offer the fuller windows, and every sector is
    // still used or free once, also after reopening.
    uint8_t rec[MainSize];
    PutMain(rec, Main{1, "GATHER"});
    D4Hold();
    ASSERT_TRUE(RecordIDUpdate(RegMain, ids.front(), rec));
    ASSERT_TRUE(D4DiskFlush());
    EXPECT_TRUE(D4FreeMapMatchesHeads());
    EXPECT_GE(OfferedInFullWindows(), offered + 100) << "the heads offer no more of the fuller windows";
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    ExpectIntact();
}

// The commit's write-back repeats clean sectors between dirty ones that
// lie close together only where a sync follows: without syncs it would
// copy and write bytes for no request saved. Both ways write the same
// file, and the joined one makes fewer writes of more bytes.
namespace {

// writes: calls that write to the file; bytes: what they wrote.
struct WriteTally {
    int64_t writes = 0, bytes = 0;
};
WriteTally *Tally = nullptr;
void CountWrite(uint64_t, const uint8_t *, uint32_t count) { Tally->bytes += count; }

}  // namespace

TEST_F(EngineFree, CleanSectorsAreRepeatedOnlyForCommitsThatSync) {
    std::vector<uint32_t> ids;
    D4Hold();
    for (uint32_t i = 0; i < 600; i++) ids.push_back(Insert(Main{i, "C" + std::to_string(i * 7919 % 600)}));
    ASSERT_TRUE(D4DiskFlush());
    ASSERT_TRUE(D4Close());
    std::vector<uint8_t> start = FileBytes();
    // limit: the bytes the system takes of each write call.
    auto run = [&](bool join, WriteTally *tally, int64_t limit = 0) {
        PutFile(start);
        EXPECT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        Tally = tally;
        D4TestHooks = D4FileHooks{};
        D4TestHooks.skipSync = true;
        D4TestHooks.onWrite = CountWrite;
        D4TestHooks.writeLimit = limit;
        Db.joinWithoutSync = join;
        for (uint32_t k = 0; k < 40; k++) {
            uint8_t rec[MainSize];
            PutMain(rec, Main{k, "N" + std::to_string(k * 4001 % 997)});
            EXPECT_TRUE(RecordIDUpdate(RegMain, ids[(k * 37) % ids.size()], rec));
        }
        tally->writes = D4TestHooks.writesDone;
        D4TestHooks = D4FileHooks{};
        Db.joinWithoutSync = false;
        ExpectIntact();
        EXPECT_TRUE(D4Close());
        return FileBytes();
    };
    WriteTally plain, joined;
    std::vector<uint8_t> a = run(false, &plain), b = run(true, &joined);
    EXPECT_TRUE(a == b) << "repeating the file's own bytes changed the file";
    EXPECT_LT(joined.writes, plain.writes) << "close dirty sectors were not joined";
    EXPECT_GT(joined.bytes, plain.bytes) << "no clean sector was repeated";
    // Short writes, cut inside a piece or between the cache's sectors and
    // the file's own bytes, go on where they stopped.
    for (int64_t limit : {512, 700, 4096, 12800}) {
        WriteTally cut;
        EXPECT_TRUE(run(true, &cut, limit) == a) << "short writes of " << limit << " bytes changed the file";
        EXPECT_EQ(cut.writes, joined.writes) << limit;
    }
    std::printf("40 single-record holds: %lld writes of %lld bytes plain, %lld of %lld joined\n",
                (long long)plain.writes, (long long)plain.bytes, (long long)joined.writes, (long long)joined.bytes);
}
