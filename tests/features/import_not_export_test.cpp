// import_not_export_test.cpp - File > Import of a file this program did
// not export: the user is told so with the file's name, once, and the
// company is left as it was; an export without the full export's header
// still imports without that word.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "tests/features/demo_company_fixture.h"

namespace {

namespace fs = std::filesystem;

class ImportNotExport : public LoggedIn {
protected:
    // Writes `bytes` to a file of the folder; its path.
    fs::path Write(const char *name, const std::string &bytes) const
    {
        fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    // A customer section alone, as the partial exports write it: C3's line
    // of the defaults made C9 "Ninth Customer"; empty when C3 is not there.
    fs::path NinthCustomerFile() const
    {
        std::ifstream in(dir / "DEFAULT.TXT", std::ios::binary);
        std::stringstream defaults;
        defaults << in.rdbuf();
        std::string text = defaults.str();
        size_t c3 = text.find("\r\nC3\tSmall Customer\t");
        if (c3 == std::string::npos) return {};
        std::string line = text.substr(c3 + 2, text.find("\r\n", c3 + 2) - c3 - 2);
        line.replace(0, std::string("C3\tSmall Customer").size(), "C9\tNinth Customer");
        return Write("customers.txt", "cu2\t\r\n" + line + "\r\n\r\n");
    }
    // Imports the file at p from File > Import, as a user does.
    static void ImportFromMenu(const fs::path &p)
    {
        Menu(CmdImport);
        int list = Find(WinTypes::ImportList);
        ASSERT_GT(list, 0);
        ScriptAnswerFile(p.string());
        ASSERT_TRUE(ChooseRow(list, TextOf(10512)));
    }
    // The counts of the registers an import of the defaults fills.
    static std::vector<uint32_t> Counts()
    {
        return {RegRecordCount(CUVc::Number), RegRecordCount(PEVc::Number), RegRecordCount(INVc::Number), RegRecordCount(ACVc::Number)};
    }
};

// A letter, an empty file, a file of sections no export writes and a
// binary file are each refused by name with one message, and store nothing.
TEST_F(ImportNotExport, AFileThatIsNoExportIsToldByName)
{
    using namespace std::string_literals;
    struct Case {
        const char *name;
        std::string bytes;
        bool text;   // a text file, told in the words of a text file
    } cases[] = {
        {"letter.txt", "Dear customer,\r\nplease pay the invoice.\r\n\r\nRegards\r\n", true},
        {"empty.txt", "", true},
        {"sections.txt", "customers\t\r\nC9\tNinth\t\r\n\r\nitems\t\r\nI1\t\r\n\r\n", true},
        {"picture.png", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01"s, false},
    };
    std::vector<uint32_t> before = Counts();
    ASSERT_EQ(before[0], 3u);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MessagesShown.clear();
        fs::path p = Write(c.name, c.bytes);
        ImportFromMenu(p);
        ASSERT_EQ(Shown().size(), 1u) << ::testing::PrintToString(Shown());
        EXPECT_NE(Shown()[0].find(p.string()), std::string::npos) << Shown()[0];
        if (c.text) {
            EXPECT_EQ(Shown()[0], TextOf(10600) + p.string());
        }
        EXPECT_EQ(Counts(), before);
        EXPECT_EQ(DbOpenFlag, 1);
    }
}

// A full disk under an import: the engine undoes the refused hold and
// says so, and the import is not reported as done - the user reads that
// the file was not imported.
TEST_F(ImportNotExport, AnImportTheDiskRefusesIsNotDone)
{
    fs::path p = NinthCustomerFile();
    ASSERT_FALSE(p.empty());
    D4TestHooks = D4FileHooks{};
    D4TestHooks.failWriteAt = 1;   // the first write of the import's hold
    D4TestHooks.failErrno = ENOSPC;
    ImportFromMenu(p);
    D4TestHooks = D4FileHooks{};
    bool toldNotImported = false;
    for (const std::string &m : Shown())
        if (m.find(p.string()) != std::string::npos) toldNotImported = true;
    EXPECT_TRUE(toldNotImported) << ::testing::PrintToString(Shown());
    EXPECT_EQ(Shown().size(), 2u) << ::testing::PrintToString(Shown());   // the disk's refusal, then this
}

// A customer section alone, as the partial exports write it without the
// full export's header, imports its customer and says nothing.
TEST_F(ImportNotExport, AnExportWithoutTheHeaderStillImports)
{
    fs::path p = NinthCustomerFile();
    ASSERT_FALSE(p.empty());
    ImportFromMenu(p);
    EXPECT_TRUE(Shown().empty()) << Shown().front();
    EXPECT_EQ(RegRecordCount(CUVc::Number), 4u);
}

}  // namespace
