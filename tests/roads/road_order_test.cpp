// road_order_test.cpp - an order as a user types it: Ctrl+9 (the Sales
// module's register popup) opens the order list, New the order window;
// the customer C1 and three item rows are typed and OK stores it; the
// list finds it by its number and opens it again with its rows and
// totals. The
// order, its rows and the stock it puts on orders are in the company
// file.
// Menus: in Sales, Registers > Orders (Ctrl+9).
// Windows: Order, Order list.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int Order = 352, OrderList = 351;
constexpr int ColItem = 0, ColQty = 1;
namespace fs = std::filesystem;

TEST_F(RoadTest, OrderOfThreeRowsIsTypedStoredAndReopened)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", [] {
        EXPECT_EQ(ActiveType(), OrderList) << ActiveTitle();
        return ActiveType() == OrderList;
    });
    ClickButton("New");
    Check("New opens the order window at the customer", [] {
        EXPECT_EQ(ActiveType(), Order) << ActiveTitle();
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return ActiveType() == Order;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    Check("the customer fills in the name", [] {
        EXPECT_EQ(Shown("Name"), "First Customer");
        return true;
    });
    const char *items[3][2] = {{"ITEM1", "2"}, {"ITEM2", "3"}, {"ITEM1", "1"}};
    for (int r = 0; r < 3; r++) {
        ClickCell(r, ColItem);
        Type(items[r][0]);
        Key(PlKey::Tab);
        Check("Tab goes to the quantity", [] { return FocusLabel() == "cell"; });
        Type(items[r][1]);
        Key(PlKey::Tab);
    }
    Check("the totals follow the rows", [] {
        EXPECT_EQ(Shown("Net"), "450,00");
        EXPECT_EQ(Shown("Total"), "562,50");
        return true;
    });
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the order window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "order_window.png"));
        return true;
    });
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the order", [number] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return TitleTells("viewing");
    });
    Key('9', false, true);
    Check("Ctrl+9 brings the list back", [] { return ActiveType() == OrderList; });
    FindRow("the order by its number", number);
    Key(PlKey::Return);
    Check("the order opens again with its rows and totals", [number] {
        EXPECT_EQ(ActiveType(), Order) << ActiveTitle();
        EXPECT_EQ(Shown("Number"), *number);
        EXPECT_EQ(Shown("Name"), "First Customer");
        EXPECT_EQ(Shown("Net"), "450,00");
        EXPECT_EQ(Shown("Total"), "562,50");
        return true;
    });
    Do("keep a picture of the reopened order", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "order_reopened.png"));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(ORVc::Number), 1u);
    std::vector<uint8_t> order(ORVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(ORVc::Number, 1, order.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(order.data(), ORVc::SerNr)), *number);
    EXPECT_EQ(TextAt(order.data(), ORVc::CustCode), "C1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(order.data(), ORVc::Net), 3 * 100 + 3 * 50);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(order.data(), ORVc::Total), 562.5);
    ASSERT_EQ(MatrixRowCount(ORVc::Number, 0, order.data()), 3);
    std::vector<uint8_t> row(ORVc::Rows::Size);
    const double qty[3] = {2, 3, 1}, sum[3] = {200, 150, 100};
    for (int r = 0; r < 3; r++) {
        ASSERT_TRUE(MatrixRowRead(ORVc::Number, order.data(), r, row.data()));
        EXPECT_EQ(GetU16(row.data(), ORVc::Rows::Kind), 1) << r;
        EXPECT_EQ(TextAt(row.data(), ORVc::Rows::ItemCode), items[r][0]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ORVc::Rows::Quantity), qty[r]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ORVc::Rows::Sum), sum[r]) << r;
    }
    // The stored order puts its quantities on orders.
    std::vector<uint8_t> stock;
    ASSERT_TRUE(FindByCode(LSVc::Number, LSVc::ItemCode, 20, "ITEM1", &stock));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(stock.data(), LSVc::OnOrders), 3);
    ASSERT_TRUE(FindByCode(LSVc::Number, LSVc::ItemCode, 20, "ITEM2", &stock));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(stock.data(), LSVc::OnOrders), 3);
    CloseForCheck();
}

}  // namespace
