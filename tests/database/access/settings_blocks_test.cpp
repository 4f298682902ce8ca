// settings_blocks_test.cpp - settings blocks bound, loaded once, reloaded,
// stored with their check, converted at the engine's edge, and written to
// and read from the text backup through a recording exchange.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/file_form.h"
#include "core/interface_load.h"
#include "core/message_sink.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "tests/core/defs_loader.h"

namespace {

// 150: one record of 8 bytes (u32 at 0, text(3) at 4), lazy. 151: rows of
// 6 bytes (u32 at 0, u16 at 4). 152: one eager record of 4 bytes.
constexpr int Single = 150, Rows = 151, Eager = 152;

int MenuRebuilds = 0, Checks = 0, AfterChanges = 0, CheckAnswer = 0;

uint32_t U32(const uint8_t *p) { uint32_t v; std::memcpy(&v, p, 4); return v; }

class SettingsBlocksTest : public ::testing::Test {
protected:
    std::string path;
    uint8_t single[12] = {};   // bound size 8, then guard bytes
    uint8_t eager[4] = {};
    MemBlock rows = 0;

    void SetUp() override {
        InterfaceDefs d;
        IdentityTables(&d);
        d.writeTable['b'] = 'B';
        d.readTable['B'] = 'b';
        d.settingsBlocks.push_back({Single, 1, 8, {{"A", 0, 19, 4}, {"T", 4, 1, 3}}, {}});
        d.settingsBlocks.push_back({Rows, 0, 6, {}, RowLayoutDef{6, 1, {{"N", 1, 0, 19, 4}, {"W", 1, 4, 10, 2}}}});
        d.settingsBlocks.push_back({Eager, 1, 4, {{"A", 0, 19, 4}}, {}});
        LoadDefs(d);
        MenuRebuilds = Checks = AfterChanges = CheckAnswer = 0;
        AccessServices = AccessServiceHooks{};
        AccessUiHooks.rebuildWindowTypeMenu = [] { MenuRebuilds++; };
        AccessServices.settingsBlockCheck = [](int, uint8_t *, uint32_t) { return Checks++, CheckAnswer; };
        AccessServices.settingsBlockAfterChange = [](int, const uint8_t *, uint32_t) { AfterChanges++; };
        SettingsText = SettingsTextExchange{};
        RunMode = 0;
        LockOwnerId = 1;
        D4TestSetCreateByteOrder(CreateOrder());
        ASSERT_TRUE(DbLayerInit());
        path = ::testing::TempDir() + "orvel_settings_" + std::to_string(getpid()) + ".VDB";
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
        SettingsBlockBind(Single, single, 8, 1);
        SettingsBlockBind(Eager, eager, 4, 0);
        rows = 77;   // binding resets the variable
        SettingsBlockBindHandle(Rows, &rows, 1);
    }
    void TearDown() override {
        MemFree(&rows);
        AccessServices = AccessServiceHooks{};
        AccessUiHooks = AccessUiHooksRec{};
        SettingsText = SettingsTextExchange{};
        D4Close();
        D4TestSetCreateByteOrder(1);
        ByteOrderSetDatabase(1);
        InterfaceUnload();
        std::remove(path.c_str());
    }
    virtual uint8_t CreateOrder() { return 1; }
    const SettingsBlockState &State(int block) {
        int i = 0;
        SettingsBlockDesc(block, &i);
        return SettingsBlockStates[(size_t)i];
    }
};

TEST_F(SettingsBlocksTest, LoadedOnceAndReloadedAfterAStore) {
    EXPECT_EQ(rows, 0u);
    // Never stored: zeros and an empty handle, and loaded.
    std::memset(single, 0xAA, 8);
    SettingsBlockLoad(Single);
    SettingsBlockLoad(Rows);
    EXPECT_EQ(U32(single), 0u);
    EXPECT_EQ(rows, 0u);
    EXPECT_EQ(State(Single).loaded, 1);

    // Changed behind the layer's back: a loaded block is not read again.
    const uint8_t stored[8] = {5, 0, 0, 0, 2, 'h', 'i', 0};
    ASSERT_TRUE(D4BlockStore(Single, stored, 8));
    const uint8_t four[4] = {9, 0, 0, 0};
    ASSERT_TRUE(D4BlockStore(Eager, four, 4));
    SettingsBlockLoad(Single);
    EXPECT_EQ(U32(single), 0u);

    // A reload loads the eager block at once, the lazy one on demand.
    SettingsBlocksReload();
    EXPECT_EQ(MenuRebuilds, 1);
    EXPECT_EQ(U32(eager), 9u);
    EXPECT_EQ(U32(single), 0u);
    EXPECT_EQ(State(Single).loaded, 0);
    SettingsBlockLoad(Single);
    EXPECT_EQ(std::memcmp(single, stored, 8), 0);

    // A store reaches the database and the bound copy at once.
    const uint8_t next[8] = {6, 0, 0, 0, 1, 'x', 0, 0};
    EXPECT_EQ(SettingsBlockStore(Single, next, 8), RecDone);
    EXPECT_EQ(std::memcmp(single, next, 8), 0);
    EXPECT_EQ(Checks, 1);
    EXPECT_EQ(AfterChanges, 1);
    uint8_t raw[8];
    ASSERT_TRUE(D4BlockRead(Single, raw, 8));
    EXPECT_EQ(std::memcmp(raw, next, 8), 0);

    // A refused store changes neither; whatever the check answered, the
    // result is a refusal, never a text number or a field.
    CheckAnswer = Texts::RecordKeyExists;
    const uint8_t refused[8] = {7, 0, 0, 0};
    EXPECT_EQ(SettingsBlockStore(Single, refused, 8), RecRefused);
    EXPECT_EQ(std::memcmp(single, next, 8), 0);
    ASSERT_TRUE(D4BlockRead(Single, raw, 8));
    EXPECT_EQ(std::memcmp(raw, next, 8), 0);
    EXPECT_EQ(AfterChanges, 1);
    CheckAnswer = 0;

    // A bound buffer smaller than the data gets only its bound size.
    std::memset(single, 0xAA, sizeof single);
    SettingsBlockBind(Single, single, 4, 1);
    const uint8_t longData[8] = {1, 1, 1, 1, 2, 2, 2, 2};
    EXPECT_EQ(SettingsBlockStore(Single, longData, 8), RecDone);
    EXPECT_EQ(single[3], 1);
    EXPECT_EQ(single[4], 0xAA);   // beyond the bound size
    EXPECT_EQ(SettingsBlockSizeLocal(Single), 8u);

    // Rows: the bound handle follows the store; a handle stored locally
    // goes without a check and refreshes the bound copy too.
    const uint8_t two[12] = {1, 0, 0, 0, 7, 0, 2, 0, 0, 0, 8, 0};
    EXPECT_EQ(SettingsBlockStore(Rows, two, 12), RecDone);
    ASSERT_EQ(MemSize(rows), 12u);
    MemBlock fetched = 0;
    EXPECT_TRUE(SettingsBlockFetch(&fetched, Rows));
    EXPECT_NE(fetched, rows);
    MemLock(fetched)[0] = 3;
    MemUnlock(fetched);
    int checksBefore = Checks;
    EXPECT_EQ(SettingsBlockStoreHandle(Rows, fetched), RecDone);
    EXPECT_EQ(Checks, checksBefore);
    EXPECT_EQ(MemLock(rows)[0], 3);
    MemUnlock(rows);
    MemFree(&fetched);
}

TEST_F(SettingsBlocksTest, WhatTheCheckWritesIsStoredAndTheCallersDataIsNot) {
    // A check that completes the rows it accepts: every u16 at 4 that is 0
    // gets its row's number; it refuses a row whose u32 is 0 after writing.
    AccessServices.settingsBlockCheck = [](int block, uint8_t *data, uint32_t size) {
        Checks++;
        if (block != Rows) return 0;
        for (uint32_t at = 0; at + 6 <= size; at += 6)
            if (data[at + 4] == 0 && data[at + 5] == 0) data[at + 4] = (uint8_t)(at / 6 + 1);
        for (uint32_t at = 0; at + 6 <= size; at += 6)
            if (U32(data + at) == 0) return -1;
        return 0;
    };
    static uint8_t seen[12];
    AccessServices.settingsBlockAfterChange = [](int, const uint8_t *data, uint32_t size) {
        std::memcpy(seen, data, std::min<uint32_t>(size, sizeof seen));
    };
    const uint8_t caller[12] = {1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 9, 0};
    const uint8_t completed[12] = {1, 0, 0, 0, 1, 0, 2, 0, 0, 0, 9, 0};
    EXPECT_EQ(SettingsBlockStore(Rows, caller, 12), RecDone);
    EXPECT_EQ(caller[4], 0);   // the caller's rows are not written
    uint8_t raw[12];
    ASSERT_TRUE(D4BlockRead(Rows, raw, 12));
    EXPECT_EQ(std::memcmp(raw, completed, 12), 0);
    ASSERT_EQ(MemSize(rows), 12u);
    EXPECT_EQ(std::memcmp(MemLock(rows), completed, 12), 0);
    MemUnlock(rows);
    EXPECT_EQ(std::memcmp(seen, completed, 12), 0);

    // A refusal stores nothing of what the check wrote before it refused.
    const uint8_t bad[12] = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(SettingsBlockStore(Rows, bad, 12), RecRefused);
    ASSERT_TRUE(D4BlockRead(Rows, raw, 12));
    EXPECT_EQ(std::memcmp(raw, completed, 12), 0);
    EXPECT_EQ(std::memcmp(MemLock(rows), completed, 12), 0);
    MemUnlock(rows);
}

TEST_F(SettingsBlocksTest, StoresOfAnotherNumberOrSizeAreRefused) {
    const uint8_t good[8] = {6, 0, 0, 0, 1, 'x', 0, 0};
    ASSERT_EQ(SettingsBlockStore(Single, good, 8), RecDone);
    Checks = AfterChanges = 0;
    uint8_t data[16];
    std::memset(data, 0x5A, sizeof data);

    // The local store is what a server runs for any client's request, so
    // the refusal is tested there: numbers outside the settings blocks, a
    // number the interface file does not describe, records of another
    // size, rows that are not whole rows.
    for (int block : {-1, 0, 5, 128, 153, 228, 65535, 70000}) {
        EXPECT_EQ(SettingsBlockStoreLocal(block, data, 8), RecStoreFailed) << block;
        EXPECT_EQ(D4BlockGetSize(block), 0u) << block;
    }
    for (uint32_t size : {0u, 3u, 7u, 9u, 16u}) EXPECT_EQ(SettingsBlockStoreLocal(Single, data, size), RecStoreFailed);
    for (uint32_t size : {1u, 5u, 7u, 13u}) EXPECT_EQ(SettingsBlockStoreLocal(Rows, data, size), RecStoreFailed);
    MemBlock h = MemAlloc(5);
    EXPECT_EQ(SettingsBlockStoreHandleLocal(Rows, h), RecStoreFailed);
    EXPECT_EQ(SettingsBlockStoreHandleLocal(228, h), RecStoreFailed);
    MemFree(&h);
    EXPECT_EQ(D4BlockGetSize(228), 0u);

    // Nothing was checked, stored or copied.
    EXPECT_EQ(Checks + AfterChanges, 0);
    EXPECT_EQ(std::memcmp(single, good, 8), 0);
    uint8_t raw[8];
    ASSERT_TRUE(D4BlockRead(Single, raw, 8));
    EXPECT_EQ(std::memcmp(raw, good, 8), 0);
    EXPECT_EQ(D4BlockGetSize(Rows), 0u);
    EXPECT_EQ(rows, 0u);

    // Whole rows, and no rows at all, are stored.
    EXPECT_EQ(SettingsBlockStoreLocal(Rows, data, 12), RecDone);
    EXPECT_EQ(D4BlockGetSize(Rows), 12u);
    EXPECT_EQ(SettingsBlockStoreLocal(Rows, data, 0), RecDone);
    EXPECT_EQ(D4BlockGetSize(Rows), 0u);
}

// The recording text exchange: what was written, and rows to read back.
std::string Out;
std::vector<uint32_t> ToRead;
int Skips = 0, Tags = 0, Held = 0;

void InstallExchange() {
    Out.clear();
    Skips = Tags = Held = 0;
    SettingsText.blockTextTag = [](int block, uint8_t *tag) {
        std::string t = "blk" + std::to_string(block);
        tag[0] = (uint8_t)t.size();
        std::memcpy(tag + 1, t.data(), t.size());
    };
    SettingsText.exportText = [](const uint8_t *t) { Out += "[" + std::string((const char *)t + 1, t[0]) + "]"; };
    SettingsText.exportLineFeed = [] { Out += "\n"; };
    SettingsText.writeBlockText = [](int, const uint8_t *data) { Out += "v=" + std::to_string(U32(data)); };
    SettingsText.importSkipLine = [] { Skips++; };
    SettingsText.importNextLineHasData = [] { return !ToRead.empty(); };
    SettingsText.importNextTag = [] { Tags++; };
    SettingsText.readBlockText = [](int, uint8_t *data) {
        std::memcpy(data, &ToRead.front(), 4);
        ToRead.erase(ToRead.begin());
        return true;
    };
    SettingsText.importTagHeld = [] { Held++; };
}

TEST_F(SettingsBlocksTest, TextBackupLines) {
    InstallExchange();
    // A rows block without rows writes nothing, not even its tag.
    SettingsBlockExport(Rows);
    EXPECT_EQ(Out, "");
    const uint8_t two[12] = {1, 0, 0, 0, 7, 0, 2, 0, 0, 0, 8, 0};
    ASSERT_EQ(SettingsBlockStore(Rows, two, 12), RecDone);
    SettingsBlockExport(Rows);
    // The tag in the stored character set ('b' becomes 'B').
    EXPECT_EQ(Out, "[Blk151]\nv=1\nv=2\n\n");
    Out.clear();
    const uint8_t rec[8] = {42, 0, 0, 0};
    ASSERT_EQ(SettingsBlockStore(Single, rec, 8), RecDone);
    SettingsBlockExport(Single);
    EXPECT_EQ(Out, "[Blk150]\nv=42\n\n");
    // From given data, shorter than the record: no read past its end.
    Out.clear();
    const uint8_t three[3] = {3, 0, 0};
    SettingsBlockExportData(Single, three, 3);
    EXPECT_EQ(Out, "[Blk150]\nv=3\n\n");

    // Import of a record: checked store.
    int checksBefore = Checks;
    ToRead = {99};
    EXPECT_EQ(SettingsBlockImport(Single), RecDone);
    EXPECT_EQ(Checks, checksBefore + 1);
    EXPECT_EQ(U32(single), 99u);
    EXPECT_EQ(Skips, 2);
    // Import of rows: every data line a row, stored without a check.
    ToRead = {4, 5, 6};
    EXPECT_EQ(SettingsBlockImport(Rows), RecDone);
    EXPECT_EQ(Checks, checksBefore + 1);
    ASSERT_EQ(MemSize(rows), 18u);
    EXPECT_EQ(U32(MemLock(rows) + 12), 6u);
    MemUnlock(rows);
    EXPECT_EQ(Tags, 2);
    EXPECT_EQ(Held, 2);
}

class SettingsBlocksForeignTest : public SettingsBlocksTest {
protected:
    uint8_t CreateOrder() override { return 0; }
};

TEST_F(SettingsBlocksForeignTest, FileFormAtTheEnginesEdge) {
    ASSERT_TRUE(ByteOrderDiffers());
    const uint8_t data[8] = {0x11, 0x22, 0x33, 0x44, 1, 'b', 0, 0};
    ASSERT_EQ(SettingsBlockStore(Single, data, 8), RecDone);
    uint8_t raw[8];
    ASSERT_TRUE(D4BlockRead(Single, raw, 8));
    EXPECT_EQ(U32(raw), 0x11223344u);   // reversed on disk
    EXPECT_EQ(raw[5], 'B');             // through the write table
    uint8_t back[8] = {};
    ASSERT_TRUE(SettingsBlockRead(Single, back, 8));
    EXPECT_EQ(std::memcmp(back, data, 8), 0);
    // A short read buffer gets its bytes converted, nothing more.
    uint8_t small[6] = {0, 0, 0, 0, 0, 0xEE};
    ASSERT_TRUE(SettingsBlockRead(Single, small, 5));
    EXPECT_EQ(small[4], 1);
    EXPECT_EQ(small[5], 0xEE);
    // Rows convert row by row.
    const uint8_t two[12] = {1, 0, 0, 0, 7, 0, 2, 0, 0, 0, 8, 0};
    ASSERT_EQ(SettingsBlockStore(Rows, two, 12), RecDone);
    ASSERT_TRUE(D4BlockRead(Rows, raw, 6));
    EXPECT_EQ(raw[3], 1);
    EXPECT_EQ(raw[5], 7);
    MemBlock fetched = 0;
    ASSERT_TRUE(SettingsBlockFetch(&fetched, Rows));
    EXPECT_EQ(std::memcmp(MemLock(fetched), two, 12), 0);
    MemUnlock(fetched);
    MemFree(&fetched);
}

}  // namespace
