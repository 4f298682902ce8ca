// work_blocks_test.cpp - the start-up work records and the binding of the
// settings blocks the program reads through globals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/file_form.h"
#include "core/format_block.h"
#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/server_hooks.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_blocks.h"
#include "database/access/settings_binding.h"
#include "database/engine/engine.h"
#include "tests/core/defs_loader.h"

namespace {

std::vector<std::string> Shown;
void Record(const char *t) { Shown.push_back(t); }
int SessionTables = 0;

bool AllZero(const uint8_t *p, uint32_t n) {
    for (uint32_t i = 0; i < n; i++)
        if (p[i]) return false;
    return true;
}

// An interface file describing every block the start-up binds.
void LoadAllBlocks() {
    InterfaceDefs d;
    IdentityTables(&d);
    for (const FixedBlockBinding &b : FixedBlockBindings)
        d.settingsBlocks.push_back({b.block, 1, b.size, {{"W", 0, 10, 2}}, {}});
    for (const HandleBlockBinding &b : HandleBlockBindings)
        d.settingsBlocks.push_back({b.block, 0, 4, {}, RowLayoutDef{4, 1, {{"N", 1, 0, 19, 4}}}});
    LoadDefs(d);
}

const SettingsBlockState &State(int block) {
    int i = 0;
    SettingsBlockDesc(block, &i);
    return SettingsBlockStates[(size_t)i];
}

class WorkBlocksTest : public ::testing::Test {
protected:
    void SetUp() override {
        Shown.clear();
        MessageSinkSet(Record);
        RunMode = 0;
        LockOwnerId = 1;
        AccessServices = AccessServiceHooks{};
    }
    void TearDown() override {
        FormatBlockBind(nullptr);
        for (const HandleBlockBinding &b : HandleBlockBindings) MemFree(b.variable);
        if (D4IsOpen()) D4Close();
        MessageSinkSet(nullptr);
        InterfaceUnload();
    }
};

TEST_F(WorkBlocksTest, WorkRecordsAllocatedOnce) {
    ServerRequestState.pendingText = 12;
    SessionTables = 0;
    ServerHooks.sessionTableInit = [] { SessionTables++; };
    StartupFlags();
    ServerHooks.sessionTableInit = nullptr;
    EXPECT_EQ(ByteOrder.program, 1);
    EXPECT_EQ(ServerRequestState.pendingText, NoPendingText);
    EXPECT_EQ(SessionTables, 1);

    ASSERT_TRUE(AllocWorkBlocks());
    EXPECT_TRUE(AllZero(LoggedInUser, LoggedInUserSize) &&
                AllZero(PendingVoucher, PendingVoucherSize) && AllZero(FormPrintWork, FormPrintWorkSize));

    // The logged-in user's code comes from the current session's entry,
    // cut to five characters; no session, no code.
    uint8_t *entry = SessionUserEntry(3);
    ASSERT_NE(entry, nullptr);
    std::memcpy(entry + SU::UserCode, "\x07" "ABCDEFG", 8);
    uint8_t code[6] = {9, 9, 9, 9, 9, 9};
    CurrentSessionIndex = 3;
    CurrentUserCode(code);
    EXPECT_EQ(std::string((const char *)code + 1, code[0]), "ABCDE");
    CurrentSessionIndex = -1;
    CurrentUserCode(code);
    EXPECT_EQ(code[0], 0);
    CurrentSessionIndex = 0;
    EXPECT_EQ(SessionUserEntry(SessionUserEntries), nullptr);
    std::memset(entry, 0, SessionUserEntrySize);
}

TEST_F(WorkBlocksTest, SettingsStartupNeedsDefinitionsOfThisVersion) {
    InterfaceUnload();
    EXPECT_FALSE(SettingsStartup());
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_NE(Shown[0].find("Interface and program are not of the same version!!!"), std::string::npos);
}

TEST_F(WorkBlocksTest, BlocksBoundZeroAndLoadedOnDemand) {
    LoadAllBlocks();
    CompanyBlock = nullptr;
    ASSERT_TRUE(SettingsStartup());
    EXPECT_TRUE(Shown.empty());
    for (const FixedBlockBinding &b : FixedBlockBindings) {
        ASSERT_NE(*b.global, nullptr) << b.block;
        if (b.block == 145)  // the format block starts from the default formats
            EXPECT_EQ(std::memcmp(*b.global, &DefaultFormatBlock, sizeof(FormatBlock)), 0);
        else
            EXPECT_TRUE(AllZero(*b.global, b.size)) << b.block;
        const SettingsBlockState &st = State(b.block);
        EXPECT_TRUE(st.binding == *b.global && st.size == b.size && st.lazy == b.lazy && !st.loaded) << b.block;
    }
    for (const HandleBlockBinding &b : HandleBlockBindings) {
        EXPECT_TRUE(*b.variable == 0 && State(b.block).binding == b.variable && State(b.block).lazy == 1) << b.block;
    }
    EXPECT_EQ((void *)CurrentFormat, (void *)FormatBlockData);
    EXPECT_EQ(CurrentModule, 0);

    // With a database: the eager company block loads on reload, the lazy
    // sales block waits for its first use.
    ASSERT_TRUE(DbLayerInit());
    std::string path = ::testing::TempDir() + "orvel_work_" + std::to_string(getpid()) + ".VDB";
    ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    const uint8_t word[2] = {3, 0};
    ASSERT_TRUE(D4BlockStore(129, word, 2));
    ASSERT_TRUE(D4BlockStore(133, word, 2));
    SettingsBlocksReload();
    EXPECT_EQ(CompanyBlock[0], 3);
    EXPECT_EQ(SalesAccountsBlock[0], 0);
    SettingsBlockLoad(133);
    EXPECT_EQ(SalesAccountsBlock[0], 3);

    // Stored from a memory block, through the checked store.
    MemBlock h = MemAlloc(8);
    MemLock(h)[4] = 5;
    MemUnlock(h);
    EXPECT_EQ(SettingsBlockStoreMem(172, h), RecDone);
    MemFree(&h);
    ASSERT_NE(CurrencyRows, 0u);
    EXPECT_EQ(MemSize(CurrencyRows), 8u);
    EXPECT_EQ(MemLock(CurrencyRows)[4], 5);
    MemUnlock(CurrencyRows);
    D4Close();
    std::remove(path.c_str());
}

}  // namespace
