// seams_test.cpp - the program's start fills every table between the
// layers that it must, the start-up check names a table left with an
// empty entry, and the architecture document lists every table.
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
        ProgramInstall();
    }
    void TearDown() override { InterfaceUnload(); }
};

TEST_F(Seams_, TheStartFillsEveryEntryAndTheCheckNamesOneLeftEmpty)
{
    ASSERT_EQ(SeamsEmptyEntry(), "");
    int asked = 0;
    for (const Seam &s : Seams()) {
        ASSERT_GT(s.size, 0u) << s.name;
        if (s.filler == SeamFiller::Server) continue;
        // Each entry of each table, emptied in turn, is named by the check.
        std::vector<uint8_t> saved(static_cast<uint8_t *>(s.table), static_cast<uint8_t *>(s.table) + s.size);
        for (size_t at = 0, i = 0; at < s.size; at += sizeof(void (*)()), i++) {
            std::memset(static_cast<uint8_t *>(s.table) + at, 0, sizeof(void (*)()));
            EXPECT_EQ(SeamsEmptyEntry(), std::string(s.name) + " entry " + std::to_string(i));
            std::memcpy(s.table, saved.data(), s.size);
            asked++;
        }
    }
    EXPECT_EQ(SeamsEmptyEntry(), "");
    // The tables the layers declare for those above them: 15 filled at
    // the start, one by a serving program.
    EXPECT_EQ(Seams().size(), 16u);
    EXPECT_GT(asked, 80);
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
