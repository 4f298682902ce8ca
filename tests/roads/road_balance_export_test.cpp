// road_balance_export_test.cpp - account balances exported from the
// menus: File > Maintenance, the function list's exports, "Account
// balances per month" to a text file, its selection window filled by keys;
// the file read as another system reads it (an account a line, one
// amount a month), then the company file checked for the accounts.
// Menus: File > Maintenance... > "Account balances per month".
// Windows: Account balance export selection.
#include "tests/roads/road_fixture.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int BalanceSelection = 588;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class BalanceExportRoad : public RoadTest {};

TEST_F(BalanceExportRoad, MonthlyBalancesOfAnAccountRangeToATextFile)
{
    const fs::path file = dir / "balances.txt";
    const std::string company = StartNewCompany("bal.VDB");
    ChooseTextExport("Account balances per month", file);
    Check("the selection window opens", [file] {
        EXPECT_EQ(ActiveType(), BalanceSelection) << ActiveTitle();
        EXPECT_FALSE(fs::exists(file)) << "written before its selection was given";
        return ActiveType() == BalanceSelection;
    });
    ClickField("Accounts");
    Type("1000:1999");
    ClickField("From");
    Type("01.01.2025");
    ClickField("To");
    Type("31.03.2025");
    Do("the filled selection is drawn", [this] { return SaveWindowPng(dir / "balance_selection.png", true); });
    ClickOk();
    Check("the export is written", [file] {
        EXPECT_TRUE(fs::exists(file)) << ::testing::PrintToString(Messages());
        return fs::exists(file);
    });
    EXPECT_EQ(Run(), 0);

    // An account a line: code, name and three months, all zero in a
    // company without vouchers; nothing outside the range.
    std::istringstream in(ReadAll(file));
    std::string line;
    std::vector<std::string> codes;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f;
        std::string c;
        std::istringstream cols(line);
        while (std::getline(cols, c, '\t')) f.push_back(c);
        ASSERT_GE(f.size(), 5u) << line;
        EXPECT_GE(f[0], "1000");
        EXPECT_LE(f[0], "1999");
        for (size_t i = 2; i < 5; i++) EXPECT_EQ(f[i].find_first_not_of("0,. "), std::string::npos) << line;
        codes.push_back(f[0]);
    }
    ASSERT_FALSE(codes.empty());

    // The company file holds each account written.
    ASSERT_TRUE(OpenForCheck(company));
    for (const std::string &code : codes) {
        std::vector<uint8_t> r;
        EXPECT_TRUE(FindByCode(ACVc::Number, ACVc::Code, 10, code, &r)) << code;
    }
    CloseForCheck();
}

}  // namespace
