// road_contract_test.cpp - a contract as a user types it: in the Sales
// module the register popup opens the contract window, Record > New a
// new contract; customer C1 and two item rows are typed and OK stores
// it. The contract, its rows, sums and profits are in the company file.
// Menus: in Sales, Registers > Contract.
// Windows: Contract.
#include "tests/roads/road_fixture.h"

#include <cstdlib>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int Contract = 468;
constexpr int ColItem = 0;
namespace fs = std::filesystem;

TEST_F(RoadTest, ContractOfTwoRowsIsTypedAndStored)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Sales");
    Menu("Registers", "Contract");
    Check("the register popup opens the contract window", [] {
        EXPECT_EQ(ActiveType(), Contract) << ActiveTitle();
        return ActiveType() == Contract;
    });
    Menu("Record", "New");
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    Check("the customer fills in the name", [] {
        EXPECT_EQ(Shown("Name"), "First Customer");
        return true;
    });
    ClickField("Contract date");
    Menu("Edit", "Choose...");
    const char *items[2][2] = {{"ITEM1", "2"}, {"ITEM2", "3"}};
    for (int r = 0; r < 2; r++) {
        ClickCell(r, ColItem);
        Type(items[r][0]);
        Key(PlKey::Tab);
        Type(items[r][1]);
        Key(PlKey::Tab);
    }
    Check("the totals follow the rows", [] {
        EXPECT_EQ(Shown("Net"), "350,00");
        EXPECT_EQ(Shown("Total"), "437,50");
        return true;
    });
    Do("keep a picture of the contract window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "contract_window.png"));
        return true;
    });
    ClickOk();
    Check("OK stores the contract", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(ContractVc::Number), 1u);
    std::vector<uint8_t> contract(ContractVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(ContractVc::Number, 1, contract.data(), &id));
    EXPECT_EQ(TextAt(contract.data(), ContractVc::CustCode), "C1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(contract.data(), ContractVc::NetTotal), 350);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(contract.data(), ContractVc::Total), 437.5);
    ASSERT_EQ(MatrixRowCount(ContractVc::Number, 0, contract.data()), 2);
    std::vector<uint8_t> row(ContractVc::Rows::Size);
    // ITEM1 at 100 costs 60, ITEM2 at 50 costs 20.
    const double qty[2] = {2, 3}, sum[2] = {200, 150}, profit[2] = {80, 90};
    for (int r = 0; r < 2; r++) {
        ASSERT_TRUE(MatrixRowRead(ContractVc::Number, contract.data(), r, row.data()));
        EXPECT_EQ(GetU16(row.data(), ContractVc::Rows::Kind), 1) << r;
        EXPECT_EQ(TextAt(row.data(), ContractVc::Rows::ItemCode), items[r][0]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ContractVc::Rows::Quantity), qty[r]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ContractVc::Rows::Sum), sum[r]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ContractVc::Rows::GrossProfit), profit[r]) << r;
    }
    CloseForCheck();
}

}  // namespace
