// road_key_figure_export_test.cpp - the ledger's older sections and the
// key figures from the menus: File > Maintenance, the function list's
// imports read a file of key-figure rows, opening balances and a budget;
// its exports write the key figures of a code range (their selection
// window filled by keys), the sales per month, the whole company and the
// monthly balances to text files; a second company imports the whole
// export. The files are read as another system reads them, then the
// company files are checked.
// Menus: File > Maintenance... > text import, File > Maintenance... > "Key
// figures", File > Maintenance... > "Customer sales per month", File >
// Maintenance... > "full", File > Maintenance... > "Account balances per
// month", File > Company....
// Windows: Sales per month export selection, Key figure export selection.
#include "tests/roads/road_fixture.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int StatsSelection = 581, KeyFigureSelection = 582;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The non-empty lines of a file, each its TAB-separated fields.
std::vector<std::vector<std::string>> Lines(const fs::path &p)
{
    std::vector<std::vector<std::string>> out;
    std::istringstream in(ReadAll(p));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f;
        std::string c;
        std::istringstream cols(line);
        while (std::getline(cols, c, '\t')) f.push_back(c);
        out.push_back(f);
    }
    return out;
}

class KeyFigureRoad : public RoadTest {
protected:
    void Written(const fs::path &file)
    {
        Check("the export is written", [file] {
            EXPECT_TRUE(fs::exists(file)) << file << "; told " << ::testing::PrintToString(Messages());
            return fs::exists(file);
        });
    }
};

TEST_F(KeyFigureRoad, KeyFiguresAndOlderSectionsInOneCompanyAndTheWholeCompanyIntoAnother)
{
    const fs::path source = dir / "older.txt", keys = dir / "keys.txt", stats = dir / "stats.txt",
                   full = dir / "full.txt", months = dir / "months.txt";
    std::ofstream(source, std::ios::binary)
        << "nyckel1\t0\t\r\nA\tOutside\t1\t\r\nB\tFirst\t2*3\t\r\nX\tBetween\t10-4\t\r\nD\tLast\t7\t\r\n"
           "E\tAfter\t8\t\r\n\r\n"
           "insaldon2\t\r\n1910\t\t1500\t0\t0\t\r\n2440\t\t-1500\t0\t0\t\r\n1910\tD1\t99\t0\t0\t\r\n\r\n";
    const std::string one = StartNewCompany("keys.VDB");
    ImportTextFile(source);

    ChooseTextExport("Key figures", keys, true);
    Check("the key-figure selection opens", [keys] {
        EXPECT_EQ(ActiveType(), KeyFigureSelection) << ActiveTitle();
        EXPECT_FALSE(fs::exists(keys)) << "written before its selection was given";
        return ActiveType() == KeyFigureSelection;
    });
    ClickField("Rows");
    Type("B:D");
    ClickField("From");
    Type("01.01.2025");
    ClickField("To");
    Type("28.02.2025");
    ClickButton("Code and name");
    ClickButton("One value a month");
    Do("the filled selection is drawn", [this] { return SaveWindowPng(dir / "key_figure_selection.png", true); });
    ClickOk();
    Written(keys);

    ChooseTextExport("Customer sales per month", stats, true);
    Check("the statistics selection opens", [] {
        EXPECT_EQ(ActiveType(), StatsSelection) << ActiveTitle();
        return ActiveType() == StatsSelection;
    });
    ClickField("From");
    Type("01.01.2025");
    ClickField("To");
    Type("31.03.2025");
    ClickOk();
    Written(stats);

    ChooseTextExport("full", full);
    Do("the function list is drawn", [this] { return SaveWindowPng(dir / "function_list.png", true); });
    Written(full);
    ChooseTextExport("Account balances per month", months);
    ClickField("Accounts");
    Type("1900:1999");
    ClickField("From");
    Type("01.01.2025");
    ClickField("To");
    Type("31.01.2025");
    ClickOk();
    Written(months);

    // A second company imports the whole export of the first.
    const std::string two = (dir / "two.VDB").string();
    AnswerBox(kPlIdNo);
    AnswerFile(two);
    Menu("File", "Company...");
    ClickField("User code");
    Type("ADMIN");
    ClickField("Password");
    Type("orvel");
    ClickOk();
    ImportTextFile(full);
    EXPECT_EQ(Run(), 0);

    // Key figures B through D, whatever X is coded, a value a month.
    auto lines = Lines(keys);
    ASSERT_EQ(lines.size(), 3u) << ReadAll(keys);
    EXPECT_EQ(lines[0][0], "B");
    EXPECT_EQ(lines[1][0], "X");
    EXPECT_EQ(lines[2][0], "D");
    for (const auto &l : lines) EXPECT_EQ(l.size(), 5u);   // code, name, empty, two months
    EXPECT_EQ(lines[0][3].substr(0, 1), "6");
    EXPECT_EQ(lines[0][3], lines[0][4]);
    // The opening balance is in the monthly balances' account range.
    lines = Lines(months);
    bool cash = false;
    for (const auto &l : lines) cash = cash || l[0] == "1910";
    EXPECT_TRUE(cash) << ReadAll(months);
    // The full export carries the key figures.
    EXPECT_NE(ReadAll(full).find("nyckel1\t150\t\r\nA\tOutside"), std::string::npos);

    // The first company holds the opening balance of two rows; the second
    // the key figures the file carried.
    ASSERT_TRUE(OpenForCheck(one));
    EXPECT_EQ(RegRecordCount(OpenBalVc::Number), 1u);
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(OpenBalVc::Number, &h);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(OpenBalVc::Number, 1, r, &recid));
    EXPECT_EQ(MatrixRowCount(OpenBalVc::Number, 0, r), 2);
    RecFreeMatrix(OpenBalVc::Number, r);
    RecBufferFree(OpenBalVc::Number, &h);
    CloseForCheck();
    ASSERT_TRUE(OpenForCheck(two));
    MemBlock rows = 0;
    ASSERT_TRUE(SettingsBlockFetch(&rows, KeyFigureBlk::Number));
    EXPECT_EQ(MemSize(rows), 5u * KeyFigureBlk::Rows::Size);
    MemFree(&rows);
    CloseForCheck();
}

}  // namespace
