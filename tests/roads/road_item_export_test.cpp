// road_item_export_test.cpp - the item information exported from the
// menus: File > Maintenance, the function list's exports, "Item
// information" to a text file (it has no selection: every item); the file
// read as another system reads it (the section head, then an item a line
// of 30 columns), then the company file checked for each item written.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int FunctionList = 7;
namespace fs = std::filesystem;

class ItemExportRoad : public RoadTest {};

TEST_F(ItemExportRoad, EveryItemAsALineOfThirtyColumns)
{
    const fs::path file = dir / "items.txt";
    const std::string company = StartNewCompany("items.VDB");
    Menu("File", "Maintenance...");
    Check("the function list opens", [] { return ActiveType() == FunctionList; });
    ClickButton("Exports");
    ClickButton("Text file");
    ClickRow("Full export");   // the list has the focus; its end scrolls into sight
    Key(PlKey::End);
    ClickRow("Item information");
    AnswerFile(file.string());
    Key(PlKey::Return);
    Check("the export is written", [file] {
        EXPECT_TRUE(fs::exists(file)) << ::testing::PrintToString(Messages());
        return fs::exists(file);
    });
    EXPECT_EQ(Run(), 0);

    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::istringstream lines(bytes);
    std::string line;
    bool inSection = false;
    std::vector<std::string> codes;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("artikelinfo1", 0) == 0) {
            inSection = true;
            continue;
        }
        if (!inSection || line.empty()) continue;
        std::vector<std::string> f;
        std::string c;
        std::istringstream cols(line);
        while (std::getline(cols, c, '\t')) f.push_back(c);
        size_t tabs = size_t(std::count(line.begin(), line.end(), '\t'));
        EXPECT_TRUE(tabs == 29 || tabs == 30) << line;   // 30 fields, a closing TAB or not
        codes.push_back(f.at(0));
    }
    ASSERT_TRUE(inSection);
    EXPECT_EQ(codes.size(), 3u);   // the defaults' three items

    ASSERT_TRUE(OpenForCheck(company));
    for (const std::string &code : codes) {
        std::vector<uint8_t> r;
        EXPECT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, code, &r)) << code;
    }
    EXPECT_EQ(RegRecordCount(INVc::Number), codes.size());
    CloseForCheck();
}

}  // namespace
