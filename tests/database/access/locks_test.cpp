// locks_test.cpp - record and register locks across two owners, full
// tables, the exclusive-use test and the release points.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/server_hooks.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "tests/core/defs_loader.h"

namespace {

constexpr int Reg = 1;
constexpr uint32_t Size = 8;   // u32 number at 0 (current index "Nr"), u32 value at 4
constexpr int BoundBlock = 150, UnboundBlock = 151;

std::vector<std::string> Shown;
void Record(const char *t) { Shown.push_back(t); }

bool AllowExclusive = true;

class RecordLocksTest : public ::testing::Test {
protected:
    std::string path;
    uint8_t buffer[4] = {};

    void SetUp() override {
        InterfaceDefs d;
        IdentityTables(&d);
        d.registers.push_back({.number = Reg, .name = "LockVc", .recordSize = Size,
                               .fields = {{"Nr", 0, 19, 4}, {"Value", 4, 19, 4}}, .rows = {},
                               .indexes = {{.name = "Nr", .head = 2, .keyLength = 4, .maxEntries = 31,
                                            .nodeSize = 6 + 31 * 16, .words = {1, 1, 1},
                                            .parts = {{1, 0, 0, 4, 19}}}}});
        for (int block : {BoundBlock, UnboundBlock})
            d.settingsBlocks.push_back({(uint16_t)block, 1, 4, {{"A", 0, 19, 4}}, {}});
        for (int n : {1402, 1406, 1407, 1408, 1520}) d.texts.push_back({(int16_t)n, "T" + std::to_string(n)});
        LoadDefs(d);
        MessageSinkSet(Record);
        Shown.clear();
        RunMode = 0;
        LockOwnerId = 1;
        AllowExclusive = true;
        AccessServices = AccessServiceHooks{};
        ServerHooks.sessionsAllowExclusive = [] { return AllowExclusive; };
        ASSERT_TRUE(DbLayerInit());
        path = ::testing::TempDir() + "orvel_locks_" + std::to_string(getpid()) + ".VDB";
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
        SettingsBlockBind(BoundBlock, buffer, sizeof buffer, 1);
    }
    void TearDown() override {
        RunMode = 0;
        LockOwnerId = 1;
        AccessServices = AccessServiceHooks{};
        D4Close();
        MessageSinkSet(nullptr);
        InterfaceUnload();
        std::remove(path.c_str());
    }
    uint32_t Store(uint32_t nr, uint32_t value) {
        uint32_t r[2] = {nr, value}, id = 0;
        EXPECT_TRUE(RecStore(Reg, (uint8_t *)r, 0, &id));
        return id;
    }
};

TEST_F(RecordLocksTest, RecordLocksBelongToTheirOwner) {
    uint32_t a = Store(1, 11), b = Store(2, 22);
    uint8_t r[Size] = {};

    // Owner 1 takes a; owner 2 cannot (1520) and cannot free it.
    ASSERT_TRUE(RecordLockTakeCall(Reg, a, r));
    EXPECT_EQ(r[4], 11);
    LockOwnerId = 2;
    Shown.clear();
    std::memset(r, 0, Size);
    EXPECT_FALSE(RecordLockTakeCall(Reg, a, r));
    EXPECT_EQ(Shown, (std::vector<std::string>{"T1520"}));
    EXPECT_TRUE(RecordUnlockCall(Reg, a));
    EXPECT_TRUE(RecordLockedByOther(2, Reg, a));
    ASSERT_TRUE(RecordLockTakeCall(Reg, b, r));

    // Rereading with mode 2 drops only the reader's own lock.
    LockOwnerId = 1;
    ASSERT_TRUE(RecReread(Reg, b, r, 2));
    EXPECT_TRUE(RecordLockedByOther(1, Reg, b));
    ASSERT_TRUE(RecReread(Reg, a, r, 2));
    EXPECT_FALSE(RecordLockedByOther(2, Reg, a));
    Shown.clear();
    EXPECT_FALSE(RecordLocked(Reg, a));
    EXPECT_TRUE(Shown.empty());

    // The end of owner 2's session frees b.
    LocksReleaseOwner(2);
    EXPECT_FALSE(RecordLocked(Reg, b));

    // Client mode never sees local locks.
    ASSERT_TRUE(RecordLockAdd(3, Reg, a));
    RunMode = RunModeClient;
    EXPECT_FALSE(RecordLocked(Reg, a));
    RunMode = 0;
    EXPECT_TRUE(RecordLocked(Reg, a));
}

TEST_F(RecordLocksTest, FullRecordTableTakesNoLock) {
    uint32_t id = Store(7, 77);
    for (uint32_t i = 0; i < RecordLockEntries; i++) ASSERT_TRUE(RecordLockAdd(5, Reg, 1000 + i));
    Shown.clear();
    uint8_t r[Size] = {};
    EXPECT_FALSE(RecordLockTake(Reg, id, r));
    EXPECT_EQ(Shown, (std::vector<std::string>{"T1406"}));
    EXPECT_EQ(r[4], 77);   // still read, so the caller can show it
    LockOwnerId = 6;
    // Freeing one entry makes room; the new lock takes the first free one.
    RecordUnlock(5, Reg, 1003);
    EXPECT_TRUE(RecordLockTake(Reg, id, r));
    EXPECT_EQ(RecordLockTable[3].recid, id);
    EXPECT_EQ(RecordLockTable[3].owner, 6u);
}

TEST_F(RecordLocksTest, RegisterLocks) {
    // Taken, then refused to anyone (1520, then 1408).
    ASSERT_TRUE(RegisterLockTakeCall(Reg));
    LockOwnerId = 2;
    Shown.clear();
    EXPECT_FALSE(RegisterLockTakeCall(Reg));
    EXPECT_EQ(Shown, (std::vector<std::string>{"T1520", "T1408"}));
    // Owner 2 cannot free it; owner 1 can.
    RegisterUnlockCall(Reg);
    EXPECT_TRUE(RegisterLocked(Reg));
    LockOwnerId = 1;
    RegisterUnlockCall(Reg);
    EXPECT_FALSE(RegisterLocked(Reg));

    // Exclusive use refused: 1402, except for a settings block the program
    // does not bind.
    AllowExclusive = false;
    Shown.clear();
    EXPECT_FALSE(RegisterLockTake(Reg));
    EXPECT_FALSE(RegisterLockTake(BoundBlock));
    EXPECT_EQ(Shown, (std::vector<std::string>{"T1402", "T1402"}));
    EXPECT_TRUE(RegisterLockTake(UnboundBlock));
    AllowExclusive = true;

    // A full table: 1407.
    LocksInit();
    for (int i = 0; i < RegisterLockEntries; i++) ASSERT_TRUE(RegisterLockAdd(4, 200 + i));
    Shown.clear();
    EXPECT_FALSE(RegisterLockTake(Reg));
    EXPECT_EQ(Shown, (std::vector<std::string>{"T1407"}));
    LocksReleaseOwner(4);
    EXPECT_TRUE(RegisterLockTake(Reg));
}

TEST_F(RecordLocksTest, NumbersOutsideTheTableAndTheProgramsOwnId) {
    // No number outside registers and settings blocks takes an entry: cut
    // to 16 bits, 65535 is the free mark and 65665 would be block 129.
    for (int number : {-1, 0, 228, 65535, 65536, 65665, 70000}) {
        Shown.clear();
        EXPECT_FALSE(RegisterLockTake(number)) << number;
        EXPECT_EQ(Shown, (std::vector<std::string>{"T1408"})) << number;
        EXPECT_FALSE(RegisterLockAdd(1, number)) << number;
    }
    for (const RegisterLock &e : RegisterLockTable) EXPECT_EQ(e.number, RegisterLockFree);
    ASSERT_TRUE(RegisterLockTake(129));
    ASSERT_TRUE(RegisterLockTake(227));
    Shown.clear();
    EXPECT_FALSE(RegisterLocked(65665));
    EXPECT_FALSE(RegisterUnlock(1, 65665));
    EXPECT_TRUE(RegisterLocked(129)) << "an alias freed the block's lock";
    EXPECT_EQ(Shown, (std::vector<std::string>{"T1520"}));

    // Stand-alone, the program's locks are its own: the first server
    // session's id is not the program's, and its end frees nothing of it.
    uint32_t id = Store(3, 33);
    LockOwnerId = LockOwnerSelf;
    uint8_t r[Size] = {};
    ASSERT_TRUE(RecordLockTake(Reg, id, r));
    ASSERT_TRUE(RegisterLockTake(BoundBlock));
    for (uint32_t session : {1u, 2u}) {
        LocksReleaseOwner(session);
        EXPECT_TRUE(RecordLockedByOther(session, Reg, id)) << session;
        EXPECT_TRUE(RegisterLocked(BoundBlock)) << session;
    }
}

TEST_F(RecordLocksTest, SettingsStoreReleasesOnlyTheStorersLock) {
    ASSERT_TRUE(RegisterLockTake(BoundBlock));
    const uint8_t data[4] = {1, 2, 3, 4};
    EXPECT_EQ(SettingsBlockStore(BoundBlock, data, 4), RecDone);
    EXPECT_FALSE(RegisterLocked(BoundBlock));
    // Another owner's lock outlives someone else's store.
    LockOwnerId = 2;
    ASSERT_TRUE(RegisterLockTake(BoundBlock));
    LockOwnerId = 1;
    EXPECT_EQ(SettingsBlockStore(BoundBlock, data, 4), RecDone);
    EXPECT_TRUE(RegisterLocked(BoundBlock));
    // The local handle store releases its owner's lock as well.
    LocksReleaseOwner(2);
    ASSERT_TRUE(RegisterLockTake(UnboundBlock));
    MemBlock h = MemAlloc(4);
    EXPECT_EQ(SettingsBlockStoreHandle(UnboundBlock, h), RecDone);
    MemFree(&h);
    EXPECT_FALSE(RegisterLocked(UnboundBlock));
}

}  // namespace
