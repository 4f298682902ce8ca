// seams_test.cpp - the program's start fills every table of the seams'
// list that it must, the start-up check names a table left with an empty
// entry, the list holds every word of static memory the start fills (so
// that the tests' put-back of the start is whole), and the architecture
// document lists every table.
//
// The test program installs some tables for all its tests; the start is
// asked from tables emptied first, so that an install the start leaves
// out is named even where another test's set-up filled its table. What
// the start installed is put back before the next test
// (tests/features/start_tables.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/interface_load.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine.h"
#include "exchange/text_exchange.h"
#include "platform/queue.h"
#include "dict_offsets.h"
#include "features/program_start.h"
#include "features/seams.h"
#include "net/net.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "tests/core/built_interface.h"
#include "tests/features/start_tables.h"
#include "tests/features/static_words.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

class Seams_ : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        for (const Seam &s : Seams()) {
            if (s.filler == SeamFiller::Server) continue;
            for (size_t i = 0; i < SeamEntryCount(s); i++) {
                saved.push_back({&s, i, SeamEntry(s, i)});
                SeamEntrySet(s, i, {});
            }
        }
        ProgramInstall();
    }
    void TearDown() override
    {
        for (const Saved &e : saved) SeamEntrySet(*e.seam, e.i, e.value);
        InterfaceUnload();
    }
    struct Saved {
        const Seam *seam;
        size_t i;
        SeamValue value;
    };
    std::vector<Saved> saved;
};

TEST_F(Seams_, TheStartFillsEveryEntryAndTheCheckNamesOneLeftEmpty)
{
    ASSERT_EQ(SeamsEmptyEntry(), "");
    int asked = 0;
    for (const Seam &s : Seams()) {
        ASSERT_GT(SeamEntryCount(s), 0u) << s.name;
        // A table of its own holds function pointers only.
        if (s.table) {
            EXPECT_EQ(s.size, SeamEntryCount(s) * sizeof(SeamFn)) << s.name;
        }
        if (!SeamFilledWhole(s)) continue;
        // Each entry of each table, emptied in turn, is named by the check.
        for (size_t i = 0; i < SeamEntryCount(s); i++) {
            const SeamValue kept = SeamEntry(s, i);
            SeamEntrySet(s, i, {});
            EXPECT_TRUE(SeamEntry(s, i).Empty()) << s.name << " " << i;
            EXPECT_EQ(SeamsEmptyEntry(), std::string(s.name) + " entry " + std::to_string(i));
            SeamEntrySet(s, i, kept);
            asked++;
        }
    }
    EXPECT_EQ(SeamsEmptyEntry(), "");
    // What only a serving program has, the server's start fills whole.
    for (const Seam &s : Seams())
        for (size_t i = 0; s.filler == SeamFiller::Server && i < SeamEntryCount(s); i++) SeamEntrySet(s, i, {});
    NetServerStart();
    for (const Seam &s : Seams())
        for (size_t i = 0; s.filler == SeamFiller::Server && i < SeamEntryCount(s); i++)
            EXPECT_FALSE(SeamEntry(s, i).Empty()) << s.name << " entry " << i;
    NetShutdown();
    // The tables the layers declare for those above them or fill for
    // their own callers: 22 filled whole at the start, two in part (the
    // registers' hooks, the output devices), six by a serving program.
    // Three of them are entries of a table shared with others: the
    // ledger's nine balance functions, the job queue window's handler and
    // the connection table's two handlers; eight are one function or flag
    // each behind their layer's setter or in a word of its own.
    EXPECT_EQ(Seams().size(), 30u);
    EXPECT_GT(asked, 90);
}

// A test that ran the program's start, as this fixture does, leaves the
// rules' register hooks and the runs of the features installed: the
// next test, which may store a customer whose payer is unknown or ask
// for a report that must be refused, starts without them. Each kind of
// table changed alone is named, and put back.
TEST_F(Seams_, EachTestStartsFromTheTablesTheTestProgramStartedWith)
{
    EXPECT_NE(StartTablesChanged(), "");
    StartTablesPutBack();
    EXPECT_EQ(StartTablesChanged(), "");
    EXPECT_FALSE(RegisterHasRules(CUVc::Number));
    EXPECT_EQ(OutputRunServices.runReportCommand, nullptr);

    const size_t waitingSlot =
        (CUVc::Number * sizeof(RegisterHooks) + offsetof(RegisterHooks, rulesWaiting)) / sizeof(SeamFn);
    const std::pair<void (*)(), std::string> changes[] = {
        {[] { OutputRunServices.runReportCommand = [](ReportJob &) { return true; }; }, "OutputRunServices entry 0"},
        {[] { RegisterHookTable[CUVc::Number].rulesWaiting = true; },
         "RegisterHookTable entry " + std::to_string(waitingSlot)},
        {[] { RepDeviceInstall(OutPreview, &BufferDevice); }, "Devices entry " + std::to_string(OutPreview)},
        {[] { D4SetRawExportRunner([] { return false; }); }, "RawExport entry 0"},
        // A test of the import that empties its effects leaves the stock
        // imports after it without them.
        {[] { ImportEffects = ImportEffectsRec{}; }, "ImportEffects entry 0"},
        {[] { MsgSetTimer([] { return 0u; }); }, "MessageTimer entry 0"},
        // A server test that left the flag raised would hand the next
        // test a program that serves.
        {[] { ServerServing = !ServerServing; }, "ServerServing entry 0"},
    };
    for (const auto &[change, named] : changes) {
        change();
        EXPECT_EQ(StartTablesChanged().rfind(named, 0), 0u) << named;
        StartTablesPutBack();
        EXPECT_EQ(StartTablesChanged(), "") << named;
    }
}

// Every word of static memory the program's start and then a server's
// start fill, in whatever table (one a static vector holds among them),
// is put back from the seams' list after a test left it empty: no table
// is put back by a list kept by hand. The starts run in a child process
// with every entry of the list and every function pointer of static
// memory emptied first, so that each function they fill shows even where
// it was there already; no other word is emptied, as a start may read a
// string or an object whose words point into static memory. Each pointer
// word the starts changed is then emptied, the list put back, and each
// must have its value again. A word left out is named by the symbol that
// holds it.
TEST_F(Seams_, EveryWordTheStartsFillIsPutBackFromTheList)
{
    if (std::string why; !StaticVectorsReadable(&why)) GTEST_SKIP() << why;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        for (const Seam &s : Seams())
            for (size_t i = 0; i < SeamEntryCount(s); i++) SeamEntrySet(s, i, {});
        for (const StaticWord &w : StaticFunctionWords()) StaticWordSet(w, 0);
        const StaticMemory before = StaticMemoryNow();
        ProgramInstall();
        NetServerStart();
        const std::vector<StaticWord> filled = StaticPointerWordsChangedSince(before);
        StartTablesTake();
        for (const StaticWord &w : filled) StaticWordSet(w, 0);
        StartTablesPutBack();
        std::vector<StaticWord> left;
        for (const StaticWord &w : filled)
            if (StaticWordAt(w) != w.value) left.push_back(w);
        std::string missed;
        for (const std::string &name : StaticWordNames(left)) missed += name + "\n";
        missed += "counted " + std::to_string(filled.size()) + "\n";
        if (write(pipeEnds[1], missed.data(), missed.size()) != ssize_t(missed.size())) _exit(2);
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the starts over emptied tables ended with status "
                                                               << status << "; they said:\n" << said;
    const size_t counted = said.rfind("counted ");
    ASSERT_NE(counted, std::string::npos) << said;
    EXPECT_GT(std::stoul(said.substr(counted + 8)), 100u) << "the starts filled next to nothing: the scan is broken";
    EXPECT_EQ(said.substr(0, counted), "") << "filled by a start and not put back from the seams' list";
}

// Two vectors side by side, as an array of vectors lays them out, with a
// block of the heap between their storages: a function put into the
// second is found in its storage; one put into the block between is
// found nowhere, not read through the three words that straddle the two
// vectors (the first one's end of capacity, the second's first and end)
// as if they were a third.
std::array<std::vector<void (*)()>, 2> SideBySide;
void HeldFunction() {}
void FunctionBetween() {}

TEST(StaticWords, AVectorsTableIsReadThroughItsOwnStorageOnly)
{
    if (std::string why; !StaticVectorsReadable(&why)) GTEST_SKIP() << why;
    // Three storages of one size, whichever way the allocator placed
    // them: the lowest and the highest for the two vectors, the one in
    // the middle between them.
    std::array<std::vector<void (*)()>, 3> made;
    for (auto &v : made) v.reserve(8);
    std::sort(made.begin(), made.end(), [](const auto &a, const auto &b) { return std::less<>()(a.data(), b.data()); });
    SideBySide[0] = std::move(made[0]);
    std::vector<void (*)()> between = std::move(made[1]);
    SideBySide[1] = std::move(made[2]);
    between.resize(8);
    SideBySide[0].push_back(nullptr);
    const StaticMemory before = StaticMemoryNow();
    SideBySide[1].push_back(HeldFunction);
    between[3] = FunctionBetween;
    int held = 0, betweenFound = 0;
    for (const StaticWord &w : StaticPointerWordsChangedSince(before)) {
        if (w.value == reinterpret_cast<uintptr_t>(HeldFunction)) {
            held++;
            EXPECT_EQ(w.vector, reinterpret_cast<uintptr_t>(&SideBySide[1]));
            EXPECT_EQ(w.slot, 0u);
        }
        if (w.value == reinterpret_cast<uintptr_t>(FunctionBetween)) betweenFound++;
    }
    EXPECT_EQ(held, 1);
    EXPECT_EQ(betweenFound, 0) << "the heap between two vectors' storages was read as a vector's";
    for (auto &v : SideBySide) v = {};
}

TEST_F(Seams_, TheArchitectureDocumentListsEveryTable)
{
    std::ifstream in(std::filesystem::path(ORVEL_TEST_DATA_DIR) / ".." / "docs" / "architecture.md");
    ASSERT_TRUE(in) << "docs/architecture.md";
    std::stringstream text;
    text << in.rdbuf();
    for (const Seam &s : Seams())
        EXPECT_NE(text.str().find(std::string("`") + s.name + "`"), std::string::npos) << s.name;
}

}  // namespace
