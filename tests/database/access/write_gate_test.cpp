// write_gate_test.cpp - the access group's write check of the record
// layer where the program keeps the company: the outermost write is
// asked, what an allowed write or operation writes in turn passes, a
// refused write fails its hold, and a run that met a refusal writes
// nothing more without asking or telling again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "database/engine/engine.h"
#include "tests/core/defs_loader.h"

namespace {

// Two registers of one u32 key each: the user's group may write A, not B.
constexpr int RegA = 1, RegB = 2;
constexpr int Refused = 16001;

std::vector<int> Asked;   // the registers the group's check was asked about, in order
int RunAnswer = 0;        // what the run check answers

void LoadDictionary()
{
    InterfaceDefs d;
    IdentityTables(&d);
    for (int reg : {RegA, RegB})
        d.registers.push_back({.number = uint16_t(reg), .name = reg == RegA ? "AVc" : "BVc", .recordSize = 8,
                               .fields = {{"Key", 0, 19, 4}},
                               .rows = {},
                               .indexes = {{.name = "Key", .head = uint16_t(2 + reg), .keyLength = 4, .maxEntries = 4,
                                            .nodeSize = 6 + 4u * 16u, .words = {1, 1, 1},
                                            .parts = {{1, 0, 0, 4, 19}}}}});
    LoadDefs(d);
}

class WriteGateTest : public ::testing::Test {
protected:
    std::string path;

    void SetUp() override
    {
        LoadDictionary();
        RunMode = 0;
        RegisterHooksClear();
        Asked.clear();
        RunAnswer = 0;
        AccessUiHooks = AccessUiHooksRec{};
        AccessUiHooks.refuseWrite = [](uint16_t, int reg, const uint8_t *, uint32_t) {
            Asked.push_back(reg);
            return reg == RegB ? Refused : 0;
        };
        AccessUiHooks.refuseRun = [](uint16_t, int, const uint8_t *) { return RunAnswer; };
        ASSERT_TRUE(DbLayerInit());
        path = ::testing::TempDir() + "orvel_gate_" + std::to_string(getpid()) + ".VDB";
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    }
    void TearDown() override
    {
        AccessUiHooks = AccessUiHooksRec{};
        RegisterHooksClear();
        RunMode = 0;
        if (D4IsOpen()) D4Close();
        InterfaceUnload();
        std::remove(path.c_str());
    }
    static bool Store(int reg, uint32_t key)
    {
        uint8_t r[8] = {0};
        std::memcpy(r, &key, 4);
        uint32_t id = 0;
        return RecStore(reg, r, 0, &id);
    }
    static bool Exists(int reg, uint32_t key)
    {
        uint8_t r[8] = {0};
        std::memcpy(r, &key, 4);
        return RecExists(reg, r);
    }
};

// An insert of A whose after-hook stores a B record (a posting's voucher):
// only A is asked, and both are stored. B alone is refused and not
// stored; inside an allowed operation it passes unasked.
TEST_F(WriteGateTest, WhatAnAllowedWriteWritesInTurnPassesUnasked)
{
    RegisterHookTable[RegA].afterInsert = [](int, uint8_t *, uint32_t, int) { return Store(RegB, 77) ? 1 : 0; };
    uint8_t a[8] = {1};
    uint32_t id = 0;
    EXPECT_TRUE(RecInsertUnchecked(RegA, a, &id));
    EXPECT_EQ(Asked, (std::vector<int>{RegA}));
    EXPECT_EQ(RegRecordCount(RegB), 1u);

    Asked.clear();
    EXPECT_FALSE(Store(RegB, 78));
    EXPECT_EQ(Asked, (std::vector<int>{RegB}));
    EXPECT_EQ(RegRecordCount(RegB), 1u);
    {
        WriteOperation approving(ReqApproveList, RegA);
        ASSERT_EQ(approving.refused, 0);
        EXPECT_TRUE(Store(RegB, 79));
        WriteOperation inner(ReqApproveList, RegB);
        EXPECT_EQ(inner.refused, 0);
    }
    WriteOperation outer(ReqApproveList, RegB);
    EXPECT_EQ(outer.refused, Refused);
    EXPECT_EQ(Asked, (std::vector<int>{RegB, RegA, RegB}));
    EXPECT_EQ(RegRecordCount(RegB), 2u);

    // The program's own writes, and a server's or a client's, ask nothing.
    Asked.clear();
    {
        ProgramWrites own;
        EXPECT_TRUE(Store(RegB, 80));
    }
    RunMode = RunModeServer;
    EXPECT_TRUE(Store(RegB, 81));
    EXPECT_TRUE(Asked.empty());
}

// A refused write fails the hold it joins: the allowed write before it
// is not kept. A run asked at its start: refused, nothing is written; let
// in, its first refused write ends its writing, later writes refused
// unasked (told once), and the next run asks afresh.
TEST_F(WriteGateTest, ARefusedWriteFailsItsHoldAndEndsTheRunsWriting)
{
    DbHoldBegin();
    EXPECT_TRUE(Store(RegA, 1));
    EXPECT_FALSE(Store(RegB, 1));
    EXPECT_FALSE(DbHoldEnd());

    RunAnswer = Refused;
    {
        RunWrites run(ReqMaintenance, 0, nullptr);
        EXPECT_EQ(run.refused, Refused);
    }
    RunAnswer = 0;
    Asked.clear();
    {
        RunWrites run(ReqMaintenance, 0, nullptr);
        ASSERT_EQ(run.refused, 0);
        EXPECT_TRUE(Store(RegA, 2));
        EXPECT_FALSE(Store(RegB, 2));
        EXPECT_FALSE(Store(RegA, 3));
    }
    EXPECT_EQ(Asked, (std::vector<int>{RegA, RegB}));
    EXPECT_TRUE(Store(RegA, 4));
    for (uint32_t key : {2u, 3u, 4u}) EXPECT_EQ(Exists(RegA, key), key != 3) << key;
    EXPECT_EQ(RegRecordCount(RegB), 0u);

    // An import passes its writes: its one right is to grant them all.
    Asked.clear();
    {
        RunWrites import(ReqImportRun, 0, nullptr);
        EXPECT_TRUE(Store(RegB, 5));
    }
    EXPECT_TRUE(Asked.empty());
}

}  // namespace
