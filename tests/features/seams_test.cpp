// seams_test.cpp - the program's start fills every table between the
// layers that it must, the start-up check names a table left with an
// empty entry, and the architecture document lists every table.
//
// The test program installs some tables for all its tests; the start is
// asked from tables emptied first, so that an install the start leaves
// out is named even where another test's set-up filled its table.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "features/program_start.h"
#include "features/seams.h"
#include "tests/core/built_interface.h"

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
