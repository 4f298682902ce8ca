// write_gate_test.cpp - the access group's write check of the record
// layer where the program writes the company's file: a refused write fails its
// hold, and a run that met a refusal writes nothing more without asking
// or telling again. (What an allowed posting writes in turn passing is
// pinned with the real postings in tests/output/posting_roads_test.cpp.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/interface_load.h"
#include "core/server_hooks.h"
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
        ServerHooks = ServerHooksRec{};
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

// A refused write stores nothing and fails the hold it joins, so the
// allowed write before it is not kept either. A run asked at its start
// and refused writes nothing; let in, its first refused write ends its
// writing (later writes refused unasked, so told once), and what follows
// the run is asked afresh. The program's own writes and an import's ask
// nothing. A server asks its check of the person it serves; a request it
// serves inside another's run is asked afresh, and leaves that run's
// refusal standing.
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

    Asked.clear();
    {
        ProgramWrites own;
        EXPECT_TRUE(Store(RegB, 5));
    }
    {
        RunWrites import(ReqImportRun, 0, nullptr);
        EXPECT_TRUE(Store(RegB, 6));
    }
    EXPECT_TRUE(Asked.empty());

    RunMode = RunModeServer;
    std::swap(ServerHooks.refuseWrite, AccessUiHooks.refuseWrite);
    {
        RunWrites run;
        EXPECT_FALSE(Store(RegB, 7));
        {
            WriteGateRequest other;
            EXPECT_TRUE(Store(RegA, 8));
        }
        EXPECT_FALSE(Store(RegA, 9));
    }
    EXPECT_EQ(Asked, (std::vector<int>{RegB, RegA}));
}

}  // namespace
