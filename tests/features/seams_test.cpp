// seams_test.cpp - the program's start fills every table between the
// layers that it must, the start-up check names a table left with an
// empty entry, and the architecture document lists every table.
//
// The test program installs some tables for all its tests; the start is
// asked from tables emptied first, so that an install the start leaves
// out is named even where another test's set-up filled its table. What
// the start installed is put back before the next test
// (tests/features/start_tables.h).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/interface_load.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "features/program_start.h"
#include "features/seams.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "tests/core/built_interface.h"
#include "tests/features/start_tables.h"

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
                SeamEntrySet(s, i, nullptr);
            }
        }
        ProgramInstall();
    }
    void TearDown() override
    {
        for (const Saved &e : saved) SeamEntrySet(*e.seam, e.i, e.fn);
        InterfaceUnload();
    }
    struct Saved {
        const Seam *seam;
        size_t i;
        SeamFn fn;
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
        if (s.filler == SeamFiller::Server) continue;
        // Each entry of each table, emptied in turn, is named by the check.
        for (size_t i = 0; i < SeamEntryCount(s); i++) {
            SeamFn kept = SeamEntry(s, i);
            SeamEntrySet(s, i, nullptr);
            EXPECT_EQ(SeamEntry(s, i), nullptr) << s.name << " " << i;
            EXPECT_EQ(SeamsEmptyEntry(), std::string(s.name) + " entry " + std::to_string(i));
            SeamEntrySet(s, i, kept);
            asked++;
        }
    }
    EXPECT_EQ(SeamsEmptyEntry(), "");
    // The tables the layers declare for those above them: 17 filled at
    // the start, one by a serving program. Two of them are entries of a
    // table shared with others: the ledger's nine balance functions and
    // the job queue window's handler.
    EXPECT_EQ(Seams().size(), 18u);
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

    const std::pair<void (*)(), std::string> changes[] = {
        {[] { OutputRunServices.runReportCommand = [](ReportJob &) { return true; }; }, "OutputRunServices entry 0"},
        {[] { RegisterHookTable[CUVc::Number].rulesWaiting = true; },
         "RegisterHookTable entry " + std::to_string(CUVc::Number)},
        {[] { RepDeviceInstall(OutPreview, &BufferDevice); }, "Devices entry " + std::to_string(OutPreview)},
        {[] { D4SetRawExportRunner([] { return false; }); }, "the raw export runner"},
    };
    for (const auto &[change, named] : changes) {
        change();
        EXPECT_EQ(StartTablesChanged().rfind(named, 0), 0u) << named;
        StartTablesPutBack();
        EXPECT_EQ(StartTablesChanged(), "") << named;
    }
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
