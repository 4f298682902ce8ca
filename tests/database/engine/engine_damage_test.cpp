// Tests of damage and faults: a cached sector whose bytes changed, files
// corrupted in their pointers, counts, chains and length, and what the
// engine does afterwards (reports once, refuses every write, marks only
// the damaged word on disk, never crashes or reads out of bounds).
#include <fcntl.h>
#include <sys/stat.h>
#include <ctime>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <set>
#include <iterator>

#include "core/system.h"
#include "database/engine/engine_state.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class EngineDamage : public EngineFixture {
protected:
    std::vector<uint32_t> ids;
    // A file with enough records for several index levels, closed.
    void MakeFile() {
        for (uint32_t i = 0; i < 40; i++) ids.push_back(Insert(Main{i, "C" + std::to_string(i % 7)}));
        uint8_t big[16] = {1};
        MemBlock rows = MemAlloc(3000);
        std::memcpy(big + 8, &rows, 4);
        uint32_t id;
        ASSERT_TRUE(D4RecordInsert(RegRows, big, &id));
        MemFree(&rows);
        ASSERT_TRUE(D4Close());
    }
    std::vector<uint8_t> Bytes() {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void Store(const std::vector<uint8_t> &b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
    }
    // Opens the file and uses it every way; nothing may crash.
    void UseEverything() {
        ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
        Main m;
        for (uint32_t id : ids) Read(id, &m);
        for (const char *ix : {"SerNr", "Code", "DateAmt"}) {
            uint32_t n = D4RecordCount(RegMain, ix);
            uint8_t rec[MainSize];
            uint32_t id;
            for (uint32_t p = 1; p <= std::min(n, 100u); p++) {
                std::memcpy(rec + OffRows, &NoRows, 4);
                D4RecordReadPos(RegMain, ix, p, rec, &id);
            }
        }
        uint8_t rows[16] = {};
        std::memcpy(rows + 8, &NoRows, 4);
        uint32_t id;
        D4RecordFind(RegRows, "Nr", rows, 0, 1, 1, &id, nullptr);
        uint8_t rec[MainSize];
        PutMain(rec, Main{999, "NEW"});
        D4RecordInsert(RegMain, rec, &id);
        std::string report;
        D4IntegrityCheck(&report);
        D4Close();
    }
};

uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
    uint32_t v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

}  // namespace

TEST_F(EngineDamage, ChecksumMismatchStopsAllWriting) {
    uint32_t id = Insert(Main{1, "A"});
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    Main m;
    ASSERT_TRUE(Read(id, &m));   // the record's sectors are cached now
    std::vector<uint8_t> before = Bytes();
    // Find a cached sector: the segment-tree root is read by every lookup.
    uint32_t root = U32(before, 10);
    ASSERT_TRUE(D4TestCorruptCachedSector(root, 100));
    Messages().clear();
    EXPECT_FALSE(Read(id, &m)) << "a sector whose checksum fails is not served";
    EXPECT_TRUE(SawMessage("Memory checksum problem"));
    EXPECT_TRUE(D4DamagedMode());
    size_t shown = Messages().size();
    // Every write now fails visibly; a further fault shows nothing new.
    uint8_t rec[MainSize];
    PutMain(rec, Main{2, "B"});
    uint32_t newId;
    EXPECT_FALSE(D4RecordInsert(RegMain, rec, &newId));
    EXPECT_FALSE(D4BlockStore(145, rec, 8));
    D4Hold();
    EXPECT_FALSE(D4DiskFlush()) << "a hold in damaged mode reports failure";
    EXPECT_FALSE(Read(id, &m));
    EXPECT_EQ(std::count_if(Messages().begin() + (long)shown, Messages().end(),
                            [](const std::string &s) { return s.find("checksum") != std::string::npos; }),
              0);
    EXPECT_FALSE(D4Close());
    // On disk only the damaged word changed.
    std::vector<uint8_t> after = Bytes();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NE(after[42] | after[43], 0);
    after[42] = before[42];
    after[43] = before[43];
    EXPECT_EQ(after, before);
    Messages().clear();
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_TRUE(SawMessage("This database is damaged"));
    EXPECT_TRUE(D4DamagedMode());
    EXPECT_TRUE(Read(id, &m)) << "a damaged file can still be read for export";
}

TEST_F(EngineDamage, CorruptedFilesAreReportedNotFollowed) {
    MakeFile();
    const std::vector<uint8_t> good = Bytes();
    uint32_t end = U32(good, 26);
    struct Case {
        const char *what;
        std::function<void(std::vector<uint8_t> &)> patch;
        const char *message;
    };
    auto put = [](std::vector<uint8_t> &b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
    std::vector<Case> cases = {
        {"segment root beyond the end", [&](auto &b) { put(b, 10, end + 512); }, "damaged"},
        {"logical end not a sector", [&](auto &b) { put(b, 26, end + 3); }, "damaged"},
        {"levels beyond the limit", [&](auto &b) { put(b, 6, 51); }, "damaged"},
        {"free list head unaligned", [&](auto &b) { put(b, 2, 700); }, "damaged"},
        {"truncated to half", [&](auto &b) { b.resize((b.size() / 1024) * 512); }, ""},
    };
    // Every sector's first words and counts, one at a time.
    for (uint32_t s = 512; s < end; s += 512) {
        cases.push_back({"next pointer", [s](auto &b) { std::memcpy(&b[s], "\x00\x7f\x00\x00", 4); }, ""});
        cases.push_back({"length or sequence", [s](auto &b) { b[s + 4] ^= 0x40; b[s + 5] ^= 0x7f; }, ""});
        cases.push_back({"count", [s](auto &b) { b[s + 8] ^= 0x3f; b[s + 9] ^= 0x01; }, ""});
        cases.push_back({"entry pointer", [s](auto &b) { b[s + 14] ^= 0x10; b[s + 20] ^= 0x22; }, ""});
    }
    int reported = 0;
    for (const Case &c : cases) {
        std::vector<uint8_t> bad = good;
        c.patch(bad);
        if (bad == good) continue;
        Store(bad);
        Messages().clear();
        UseEverything();
        if (!Messages().empty()) reported++;
        if (*c.message) {
            EXPECT_TRUE(SawMessage(c.message)) << c.what;
        }
        // A damaged file is marked so; the next open says so.
        if (D4Open(path.c_str(), 0) == D4OpenOk) D4Close();
    }
    EXPECT_GT(reported, (int)cases.size() / 2);
    Store(good);
    Messages().clear();
    UseEverything();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EngineDamage, SectorPointerBeyondLogicalEndIsRefused) {
    MakeFile();
    std::vector<uint8_t> b = Bytes();
    uint32_t end = U32(b, 26);
    uint32_t root = U32(b, 10);
    // The segment-tree leaf entry of the first record points past the
    // logical end.
    uint16_t count;
    std::memcpy(&count, &b[root + 8], 2);
    uint32_t beyond = end + 4096;
    bool patched = false;
    for (int i = 0; i < count; i++) {
        if (U32(b, root + 10 + 8 * i + 4) == ids[0]) {
            std::memcpy(&b[root + 10 + 8 * i], &beyond, 4);
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    Store(b);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    Messages().clear();
    Main m;
    EXPECT_FALSE(Read(ids[0], &m));
    EXPECT_TRUE(SawMessage("outside logical file"));
    EXPECT_TRUE(D4DamagedMode());
    EXPECT_FALSE(D4Close());
}

namespace {

std::map<uint32_t, int> RescuedRecords;   // payload -> pass
std::map<int, std::vector<uint8_t>> RescuedBlocks;
int RescuePass = 0;

}  // namespace

TEST_F(EngineDamage, RawRescueHandsOverIntactChains) {
    for (uint32_t i = 0; i < 30; i++) Insert(Main{i, "R", {1, 1, 2021}, 0, 1000 + i});
    uint8_t rows[16] = {42};
    MemBlock big = MemAlloc(5000);
    std::memcpy(rows + 8, &big, 4);
    uint32_t rowsId;
    ASSERT_TRUE(D4RecordInsert(RegRows, rows, &rowsId));
    MemFree(&big);
    std::vector<uint8_t> block(700, 9);
    ASSERT_TRUE(D4BlockStore(145, block.data(), (uint32_t)block.size()));
    ASSERT_TRUE(D4Close());
    // Break the second sector of the long record's chain: sequence 3.
    std::vector<uint8_t> b = Bytes();
    for (size_t s = 512; s + 512 <= b.size(); s += 512) {
        uint16_t seq;
        uint32_t next;
        std::memcpy(&next, &b[s], 4);
        std::memcpy(&seq, &b[s + 4], 2);
        uint16_t type, number;
        std::memcpy(&type, &b[s + 10], 2);
        std::memcpy(&number, &b[s + 12], 2);
        if (next != 0xFFFFFFFFu && seq == 1 && type == 1 && number == RegRows) {
            uint16_t three = 3;
            std::memcpy(&b[next + 4], &three, 2);
        }
    }
    Store(b);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    RescuedRecords.clear();
    RescuedBlocks.clear();
    D4RescueSink sink;
    sink.registerClass = [](int reg) { return reg == RegMain ? 2 : 1; };
    sink.blockClass = [](int n) { return n == 145 ? 4 : 1; };
    sink.record = [](int reg, uint32_t, uint8_t *rec) {
        EXPECT_EQ(reg, RegMain) << "the broken chain is skipped";
        RescuedRecords[GetMain(rec).payload] = RescuePass;
    };
    sink.block = [](int number, uint32_t, const uint8_t *data, uint32_t size) {
        RescuedBlocks[number].assign(data, data + size);
        EXPECT_EQ(RescuePass, 4);
    };
    sink.progress = [](int pass, uint32_t, uint32_t) { RescuePass = pass; };
    ASSERT_TRUE(D4RawRescue(sink));
    EXPECT_EQ(RescuedRecords.size(), 30u);
    for (auto &[payload, pass] : RescuedRecords) EXPECT_EQ(pass, 2) << payload;
    EXPECT_EQ(RescuedBlocks[145], block);
}

namespace {

uint32_t RescueFurthest = 0;

}  // namespace

// A header that claims more file than there is: the open marks the file
// damaged instead of trusting lengths up to that end (a record claiming
// tens of megabytes would be allocated on every read), and the rescue
// scans only what the file holds.
TEST_F(EngineDamage, EndsBeyondTheFileAreNotTrusted) {
    MakeFile();
    std::vector<uint8_t> b = Bytes();
    const uint32_t size = (uint32_t)b.size();
    const uint32_t claimed = size + (64u << 20);
    std::memcpy(&b[26], &claimed, 4);   // logical end
    std::memcpy(&b[34], &claimed, 4);   // physical end
    // The first record chain claims 60 MB.
    for (size_t s = 512; s + 512 <= b.size(); s += 512) {
        uint32_t next;
        uint16_t seq, type;
        std::memcpy(&next, &b[s], 4);
        std::memcpy(&seq, &b[s + 4], 2);
        std::memcpy(&type, &b[s + 10], 2);
        if (next != 0xFFFFFFFFu && seq == 1 && type == 1) {
            uint32_t huge = 60u << 20;
            std::memcpy(&b[s + 6], &huge, 4);
            break;
        }
    }
    Store(b);
    Messages().clear();
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_TRUE(D4DamagedMode());
    EXPECT_TRUE(SawMessage("damaged"));
    RescueFurthest = 0;
    D4RescueSink sink;
    sink.registerClass = [](int) { return 1; };
    sink.record = [](int, uint32_t, uint8_t *) {};
    sink.progress = [](int, uint32_t offset, uint32_t) { RescueFurthest = std::max(RescueFurthest, offset); };
    ASSERT_TRUE(D4RawRescue(sink));
    EXPECT_LT(RescueFurthest, size) << "the rescue reads no sector past the file";
    D4Close();
}

namespace {

std::set<uint32_t> RescuedPayloads;

}  // namespace

// The rescue hands over exactly what the last commit holds: neither a
// record inserted since (written to the file, not committed) nor deleted
// ones, whether the committed segment tree can be followed or not.
TEST_F(EngineDamage, RawRescueHandsOverOnlyCommittedRecords) {
    ids.clear();
    for (uint32_t i = 0; i < 10; i++) ids.push_back(Insert(Main{i, "K", {1, 1, 2021}, 0, 100 + i}));
    for (int i = 0; i < 3; i++) ASSERT_TRUE(D4RecordIDDelete(RegMain, ids[i]));
    std::set<uint32_t> committed;
    for (uint32_t i = 3; i < 10; i++) committed.insert(100 + i);
    ASSERT_TRUE(D4Flush(0));
    for (uint32_t i = 0; i < 2; i++) Insert(Main{50 + i, "UNCOMMITTED", {1, 1, 2021}, 0, 900 + i});
    uint32_t handle;
    DVP *snap = D4SnapshotOpen(&handle);   // writes the uncommitted sectors to the file
    ASSERT_NE(snap, nullptr);
    D4SnapshotClose(snap, handle);
    D4RescueSink sink;
    sink.registerClass = [](int) { return 1; };
    sink.record = [](int reg, uint32_t, uint8_t *rec) {
        if (reg == RegMain) RescuedPayloads.insert(GetMain(rec).payload);
    };
    RescuedPayloads.clear();
    ASSERT_TRUE(D4RawRescue(sink));
    EXPECT_EQ(RescuedPayloads, committed);
    // The committed segment tree broken on disk: the scan falls back to
    // every intact chain, still without the uncommitted or deleted ones.
    std::vector<uint8_t> b = Bytes();
    uint32_t root = U32(b, 10);
    int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    uint8_t junk[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(pwrite(fd, junk, sizeof junk, root), (ssize_t)sizeof junk);
    ::close(fd);
    RescuedPayloads.clear();
    ASSERT_TRUE(D4RawRescue(sink));
    EXPECT_EQ(RescuedPayloads, committed);
    D4Close();
}

// After a file was cut short, every read of the lost part fails the same
// way: each text is shown once while the file is open, and the log counts
// the repeats instead of one box per read.
TEST_F(EngineDamage, RepeatedDamageIsShownOnceAndLogged) {
    MakeFile();
    std::vector<uint8_t> b = Bytes();
    b.resize(U32(b, 26) / 2 / 512 * 512);   // half of what the file uses
    Store(b);
    bool compact = CompactVariant;
    CompactVariant = false;
    LogDir log;
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    std::vector<uint32_t> lost;
    Main m;
    for (uint32_t id : ids)
        if (!Read(id, &m)) lost.push_back(id);
    ASSERT_FALSE(lost.empty());
    ASSERT_TRUE(D4DamagedMode());
    size_t boxes = Messages().size();
    for (int i = 0; i < 100; i++) EXPECT_FALSE(Read(lost.back(), &m));
    EXPECT_EQ(Messages().size(), boxes) << "the repeats show no box";
    std::map<std::string, int> shown;
    for (const std::string &text : Messages()) EXPECT_EQ(++shown[text], 1) << text;
    std::string logged = log.Log();
    size_t repeats = 0;
    for (size_t at = logged.find("Shown before"); at != std::string::npos; at = logged.find("Shown before", at + 1))
        repeats++;
    EXPECT_GE(repeats, 100u);
    EXPECT_NE(logged.find("time 101: "), std::string::npos) << "the log counts each text's repeats";
    D4Close();
    CompactVariant = compact;
}

// A sector of the last commit changed after it was stored (one bit
// flipped): the open cannot tell that from a torn commit and goes back to
// the commit before, but says so once, with the save's number and time,
// and the log keeps the record undone.
TEST_F(EngineDamage, AChangedLastCommitIsUndoneAndTold) {
    for (uint32_t i = 0; i < 12; i++) ids.push_back(Insert(Main{i, "KEPT"}));
    uint32_t lost = Insert(Main{99, "LAST", {2, 2, 2022}, 5000, 7});
    std::vector<uint32_t> listed;
    ASSERT_TRUE(D4CommitListedOnDisk(&listed));
    ASSERT_FALSE(listed.empty());
    std::vector<uint8_t> b = Bytes();   // as a power cut would leave it
    const uint32_t number = U32(b, 104);
    ASSERT_TRUE(D4Close());
    b[listed.back() + 100] ^= 0x10;
    Store(b);
    // The save was written long before this open: the message gives the
    // save's time, not the open's.
    struct tm saved = {};
    saved.tm_year = 2020 - 1900, saved.tm_mon = 0, saved.tm_mday = 2, saved.tm_hour = 3, saved.tm_min = 4;
    saved.tm_isdst = -1;
    const struct timespec times[2] = {{mktime(&saved), 0}, {mktime(&saved), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    bool compact = CompactVariant;
    CompactVariant = false;
    LogDir log;
    Messages().clear();
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_FALSE(D4DamagedMode());
    ASSERT_EQ(Messages().size(), 1u) << "told once";
    EXPECT_EQ(Messages()[0].rfind("Save undone: " + std::to_string(number) + ", 2020-01-02 03:04", 0), 0u)
        << Messages()[0];
    std::string logged = log.Log();
    EXPECT_NE(logged.find("The save undone: commit " + std::to_string(number) + ", written 20"), std::string::npos)
        << logged;
    EXPECT_NE(logged.find(", checksum "), std::string::npos);
    // The state of the commit before: the kept records, not the last.
    Main m;
    for (uint32_t i = 0; i < ids.size(); i++) {
        ASSERT_TRUE(Read(ids[i], &m));
        EXPECT_EQ(m.code, "KEPT");
    }
    EXPECT_FALSE(Read(lost, &m));
    EXPECT_EQ(D4RecordCount(RegMain, "SerNr"), ids.size());
    std::string report;
    EXPECT_TRUE(D4IntegrityCheck(&report)) << report;
    // Told at that open only: the rollback was written back.
    ASSERT_TRUE(D4Close());
    Messages().clear();
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_TRUE(Messages().empty());
    D4Close();
    CompactVariant = compact;
}

namespace {

int rescueRuns = 0;
bool RescueRunsToItsEnd() { return ++rescueRuns > 0; }
bool RescueStopsShort() { return ++rescueRuns < 0; }

// The rescue export that the first damage of a run offers. When it runs
// to its end the program ends, and with a failure status: whatever
// started it must not take a run on a damaged file for a good one. When
// it stops short the program goes on in damaged mode, and a later damage
// offers no second export.
class RescueExport : public EngineDamage {
protected:
    void SetUp() override {
        EngineDamage::SetUp();
        rescueRuns = 0;
        Db.adviceShown = false;
    }
    void TearDown() override {
        D4SetRawExportRunner(nullptr);
        EngineDamage::TearDown();
    }
};

TEST_F(RescueExport, AFinishedExportEndsTheProgramAsAFailure) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    D4SetRawExportRunner(RescueRunsToItsEnd);
    EXPECT_EXIT(D4Damaged("Index chain broken"), ::testing::ExitedWithCode(EXIT_FAILURE), "");
}

TEST_F(RescueExport, AnExportStoppedShortKeepsTheProgramGoingAndIsOfferedOnce) {
    D4SetRawExportRunner(RescueStopsShort);
    D4Damaged("Index chain broken");
    EXPECT_TRUE(D4DamagedMode());
    EXPECT_EQ(rescueRuns, 1);
    EXPECT_TRUE(SawMessage("raw data export"));
    D4Damaged("Free list broken");
    EXPECT_EQ(rescueRuns, 1) << "the export is offered at the first damage only";
    EXPECT_TRUE(SawMessage("Free list broken"));
}

}  // namespace
