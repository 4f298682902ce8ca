// road_customer_items_export_test.cpp - customer sales per item exported
// from the menus: File > Maintenance, the function list's exports,
// "Customer sales per item" to a text file, its selection window (the
// invoices' window) filled by keys; the file read as another system reads
// it (a company without sales: each customer of the range one total line
// of zeros), then the company file checked for each customer written.
// The export of chosen registers ticks Customers alone: the file holds
// the number format and the customers' section with every customer, and
// no other register.
// Menus: File > Maintenance... > "Customer sales per item", File >
// Maintenance... > "Chosen registers".
// Windows: Sales invoice export selection, Chosen registers export
// selection.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int InvoiceSelection = 589, ChosenRegisters = 565;
namespace fs = std::filesystem;

class CustomerItemsExportRoad : public RoadTest {};

TEST_F(CustomerItemsExportRoad, EachCustomerOfTheRangeATotalLine)
{
    const fs::path file = dir / "sales.txt";
    const std::string company = StartNewCompany("sales.VDB");
    ChooseTextExport("Customer sales per item", file, true);
    Check("the selection window opens", [file] {
        EXPECT_EQ(ActiveType(), InvoiceSelection) << ActiveTitle();
        EXPECT_FALSE(fs::exists(file)) << "written before its selection was given";
        return ActiveType() == InvoiceSelection;
    });
    ClickField("Customers");
    Type("0:zzz");
    ClickField("From");
    Type("01.01.2025");
    ClickField("To");
    Type("31.12.2025");
    ClickOk();
    Check("the export is written", [file] {
        EXPECT_TRUE(fs::exists(file)) << ::testing::PrintToString(Messages());
        return fs::exists(file);
    });
    EXPECT_EQ(Run(), 0);

    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::istringstream lines(bytes);
    std::string line;
    std::vector<std::string> codes;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f;
        std::string c;
        std::istringstream cols(line);
        while (std::getline(cols, c, '\t')) f.push_back(c);
        ASSERT_EQ(f.size(), 8u) << line;   // code, name, six totals
        for (size_t i = 2; i < f.size(); i++) EXPECT_EQ(f[i].find_first_not_of("0,. "), std::string::npos) << line;
        codes.push_back(f[0]);
    }
    ASSERT_FALSE(codes.empty());
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(codes.size(), RegRecordCount(CUVc::Number));   // the defaults' customers, each once
    for (const std::string &code : codes) {
        std::vector<uint8_t> r;
        EXPECT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, code, &r)) << code;
    }
    CloseForCheck();
}

TEST_F(CustomerItemsExportRoad, ChosenRegistersWriteOnlyTheTickedOne)
{
    const fs::path file = dir / "chosen.txt";
    const std::string company = StartNewCompany("chosen.VDB");
    ChooseTextExport("Chosen registers", file, true);
    Check("the selection window opens", [] {
        EXPECT_EQ(ActiveType(), ChosenRegisters) << ActiveTitle();
        return ActiveType() == ChosenRegisters;
    });
    ClickButton("Customers");
    ClickOk();
    Check("the export is written", [file] {
        EXPECT_TRUE(fs::exists(file)) << ::testing::PrintToString(Messages());
        return fs::exists(file);
    });
    EXPECT_EQ(Run(), 0);

    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // Sections are a tag line after an empty line: the number format's,
    // then the customers' alone.
    std::istringstream lines(bytes);
    std::string line;
    std::vector<std::string> tags, codes;
    bool atTag = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) {
            atTag = true;
            continue;
        }
        std::string head = line.substr(0, line.find('\t'));
        if (atTag) tags.push_back(head);
        else if (tags.size() == 2) codes.push_back(head);
        atTag = false;
    }
    ASSERT_EQ(tags, (std::vector<std::string>{"format", "cu2"})) << bytes;
    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(codes.size(), RegRecordCount(CUVc::Number)) << bytes;
    for (const std::string &code : codes) {
        std::vector<uint8_t> r;
        EXPECT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, code, &r)) << code;
    }
    CloseForCheck();
}

}  // namespace
