// Tests of the database file: the layout of a new file, reopening,
// refusal of files that are no database or of another format, the
// exclusive lock, holds and flush modes, and creation failures.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class EngineFile : public EngineFixture {};

std::vector<uint8_t> FileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string &path, const std::vector<uint8_t> &b) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
}

uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
    uint32_t v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

void PutU32(std::vector<uint8_t> &b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

}  // namespace

TEST_F(EngineFile, NewFileLayoutAndReopen) {
    ASSERT_TRUE(D4Close());
    std::vector<uint8_t> f = FileBytes(path);
    ASSERT_GE(f.size(), 1024u);
    EXPECT_EQ(f[0], 1);
    EXPECT_EQ(U32(f, 6), 1u) << "one segment-tree level";
    EXPECT_EQ(U32(f, 10), 512u) << "the first allocation is the sector after the header";
    EXPECT_EQ(U32(f, 14), 1u) << "the first master-list block is segment 1";
    EXPECT_EQ(U32(f, 22), 1u);
    EXPECT_EQ(U32(f, 26) % 512, 0u);
    EXPECT_EQ(U32(f, 38), 3041u);
    EXPECT_EQ(f[42] | f[43], 0);
    EXPECT_EQ(f[44] | f[45], 0) << "not in use after close";
    for (int q = 0; q < 11; q++) EXPECT_EQ(U32(f, 52 + 4 * q), 0xFFFFFFFFu);
    EXPECT_GE(U32(f, 34), U32(f, 26) - 512) << "physical end covers what was written";

    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    uint32_t id = Insert(Main{1, "A"});
    ASSERT_TRUE(D4Close());
    // A file left in use still opens (the log notes it).
    f = FileBytes(path);
    f[44] = 1;
    WriteBytes(path, f);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    Main m;
    EXPECT_TRUE(Read(id, &m));
    EXPECT_EQ(m.code, "A");
    EXPECT_FALSE(D4DamagedMode());
    ExpectIntact();
}

TEST_F(EngineFile, RefusedFilesStayUntouched) {
    Insert(Main{1, "A"});
    ASSERT_TRUE(D4Close());
    std::vector<uint8_t> good = FileBytes(path);

    std::vector<uint8_t> f = good;
    PutU32(f, 38, 3040);
    WriteBytes(path, f);
    Messages().clear();
    EXPECT_EQ(D4Open(path.c_str(), 0), D4OpenWrongFormat);
    EXPECT_FALSE(D4IsOpen());
    EXPECT_TRUE(SawMessage("Wrong database format"));
    EXPECT_EQ(FileBytes(path), f);

    for (size_t size : {0ul, 100ul, 511ul}) {
        f.assign(good.begin(), good.begin() + (long)size);
        WriteBytes(path, f);
        EXPECT_EQ(D4Open(path.c_str(), 0), D4OpenNotDatabase) << size;
        EXPECT_EQ(FileBytes(path), f);
    }
    f.assign(4096, 'x');
    WriteBytes(path, f);
    EXPECT_EQ(D4Open(path.c_str(), 0), D4OpenNotDatabase);
    EXPECT_EQ(FileBytes(path), f);
    EXPECT_FALSE(D4IsOpen());

    EXPECT_EQ(D4Open((path + ".missing").c_str(), 0), D4OpenNoFile);
    EXPECT_EQ(D4Create("/nonexistent-dir/x.VDB", 0), D4OpenFailed);
    EXPECT_FALSE(D4IsOpen());
    EXPECT_TRUE(SawMessage("cannot be created"));
    uint32_t id;
    uint8_t rec[MainSize] = {};
    EXPECT_FALSE(D4RecordInsert(RegMain, rec, &id)) << "no database is open";
}

TEST_F(EngineFile, ExclusiveLock) {
    // While the engine has the file, nobody else gets the lock...
    int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);
    ASSERT_TRUE(D4Close());
    // ...and a file someone else holds is refused, untouched.
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    std::vector<uint8_t> before = FileBytes(path);
    Messages().clear();
    EXPECT_EQ(D4Open(path.c_str(), 0), D4OpenLocked);
    EXPECT_TRUE(SawMessage("in use by another program"));
    EXPECT_FALSE(D4IsOpen());
    EXPECT_EQ(D4Create(path.c_str(), 0), D4OpenFailed) << "a held file is not truncated";
    EXPECT_EQ(FileBytes(path), before);
    ::close(fd);
    EXPECT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
}

TEST_F(EngineFile, HoldsCommitOnceAtTheOutermostEnd) {
    D4TestHooks = D4FileHooks{};
    D4Hold();
    D4Hold();
    Insert(Main{1, "A"});
    Insert(Main{2, "B"});
    EXPECT_TRUE(D4DiskFlush());
    EXPECT_EQ(D4TestHooks.writesDone, 0) << "nothing reaches the file inside a hold";
    EXPECT_TRUE(D4DiskFlush());
    EXPECT_EQ(D4TestHooks.syncsDone, 1) << "the sectors, then sector 0, then one sync";
    EXPECT_GE(D4TestHooks.writesDone, 2);

    // Mode 0 defers everything until a mode-1 flush or the close.
    ASSERT_TRUE(D4Flush(0));
    D4TestHooks = D4FileHooks{};
    uint32_t id = Insert(Main{3, "C"});
    EXPECT_TRUE(D4RecordIDDelete(RegMain, id));
    for (int i = 0; i < 50; i++) Insert(Main{(uint32_t)(10 + i), "D"});
    EXPECT_EQ(D4TestHooks.syncsDone, 0);
    EXPECT_EQ(D4FlushMode(), 0);
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_EQ(D4RecordCount(RegMain, "SerNr"), 52u);
    EXPECT_EQ(D4FlushMode(), 1) << "open starts in mode 1";
    ExpectIntact();
}

// The format word reads 3042 while the file is open and 3041 after a
// clean close; files without a commit record (an older program's, or
// one whose header an older program rewrote alone) open as they are.
TEST_F(EngineFile, FormatWordAndFilesWithoutACheckedRecord) {
    uint32_t a = Insert(Main{1, "A"});
    std::vector<uint8_t> leftOpen = FileBytes(path);
    EXPECT_EQ(U32(leftOpen, 38), 3042u) << "open: an older program must refuse it";
    ASSERT_TRUE(D4Close());
    std::vector<uint8_t> closedA = FileBytes(path);
    EXPECT_EQ(U32(closedA, 38), 3041u);

    // Left open by a program that ended: opens, and closes as 3041.
    WriteBytes(path, leftOpen);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    Main m;
    EXPECT_TRUE(Read(a, &m));
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    EXPECT_EQ(U32(FileBytes(path), 38), 3041u);

    // An older program's file: nothing after the header.
    std::vector<uint8_t> old = closedA;
    std::fill(old.begin() + 100, old.begin() + 512, 0);
    WriteBytes(path, old);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_EQ(FileBytes(path), old) << "opening writes nothing";
    EXPECT_TRUE(Read(a, &m));
    uint32_t b = Insert(Main{2, "B"});
    ASSERT_TRUE(D4Close());

    // A later header written alone over the record of an earlier commit:
    // the record's check fails and the header holds as it is.
    std::vector<uint8_t> mixed = FileBytes(path);
    std::copy(closedA.begin() + 100, closedA.begin() + 512, mixed.begin() + 100);
    WriteBytes(path, mixed);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_FALSE(D4DamagedMode());
    EXPECT_TRUE(Read(a, &m));
    EXPECT_TRUE(Read(b, &m)) << "the header's own commit, not the stale record's";
    ExpectIntact();
}

namespace {

// The file the exit test's own process works on, and what it stored.
std::string ExitPath;
constexpr uint32_t ExitKept = 30;

// Closes the file from an exit handler, then checks it opens with every
// record kept; ends the process with status 3 when it does not.
void CloseAtExit() {
    bool ok = D4Close() && D4Open(ExitPath.c_str(), 0) == D4OpenOk && !D4DamagedMode() &&
              D4RecordCount(RegMain, "SerNr") == ExitKept;
    std::string report;
    ok = ok && D4IntegrityCheck(&report) && D4Close();
    std::remove(ExitPath.c_str());
    if (!ok) std::_Exit(3);
}

// Registers the close before the engine is first used, commits holds
// that store and release sectors, leaves changes of a mode-0 hold to the
// close, and exits.
void CommitThenExit() {
    std::atexit(CloseAtExit);
    LoadTestDictionary();
    MessageSinkSet(RecordMessage);
    ExitPath = TempPath("exit.VDB");
    if (!D4Init(320000) || D4Create(ExitPath.c_str(), 0) != D4OpenOk) std::_Exit(2);
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 2 * ExitKept; i++) {
        uint8_t rec[MainSize];
        PutMain(rec, Main{i + 1, "code" + std::to_string(i), {}, int64_t(i) * 1000, i});
        uint32_t id = 0;
        if (!D4RecordInsert(RegMain, rec, &id)) std::_Exit(2);
        ids.push_back(id);
    }
    if (!D4Flush(1)) std::_Exit(2);
    if (!D4Flush(0)) std::_Exit(2);
    for (uint32_t i = 0; i < ExitKept; i++)
        if (!D4RecordIDDelete(RegMain, ids[2 * i])) std::_Exit(2);
    std::exit(0);
}

}  // namespace

// A program may close its company from an exit handler it registered
// before the engine's first commit, with a released sector still to be
// listed: the close must find the engine's working space whole, and the
// program must end without freeing anything twice. The test runs in a
// process of its own, started afresh, where nothing used the engine
// before the handler was registered.
TEST(EngineExit, AFileClosedByAnExitHandlerIsKeptAndTheProgramEndsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CommitThenExit(), ::testing::ExitedWithCode(0), "");
}
