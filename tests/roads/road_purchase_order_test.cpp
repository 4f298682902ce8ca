// road_purchase_order_test.cpp - a purchase order as a user types it. The
// demo company has no vendors: the vendor V1 is typed into its window,
// and its terms for ITEM1 (40 a box of 10) and ITEM2 (25 apiece) into
// the purchase-item window. In the Purchasing module the register popup
// opens the purchase-order list, New the purchase-order window; V1 and
// two rows are typed and OK stores it; the list finds it by its number
// and opens it again with its rows and totals. The order, its rows and
// the stock it puts on the way are in the company file.
// Menus: in Purchasing, Registers > Vendors, Registers > Purchase items,
// Registers > Purchase orders.
// Windows: Purchase order, Purchase order list, Purchase item list,
// Purchase item.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int PurchaseOrder = 290, PurchaseOrderList = 289;
constexpr int ColItem = 0;
namespace fs = std::filesystem;

TEST_F(RoadTest, PurchaseOrderOfTwoRowsIsTypedStoredAndReopened)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    TypeVendor({"V1", "Widget Works", "Fabriksgatan 3", "30", "", ""});
    // The vendor's terms for an item: its code and text, the price and
    // how many pieces that price buys.
    struct Terms {
        const char *item, *code, *text, *price, *priceUnit;
    };
    for (const Terms &t : {Terms{"ITEM1", "WW-100", "Widgets, box of 10", "40", "10"},
                           Terms{"ITEM2", "WW-200", "Red widgets", "25", ""}}) {
        NewFromList("Purchase items", WinTypes::PurchaseItemList, WinTypes::PurchaseItem);
        TypeFields({{"Item", t.item}, {"Vendor", "V1"}, {"Vendor's code", t.code}});
        Retype("Text", t.text);
        Retype("Price", t.price);
        if (t.priceUnit[0]) Retype("Price unit", t.priceUnit);
        ClickButton("Default source");
        OkStoresQuietly(std::string("the terms for ") + t.item);
    }

    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase orders");
    Check("the register popup opens the purchase-order list", Opened(PurchaseOrderList));
    ClickButton("New");
    Check("New opens the purchase-order window", [] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return Opened(PurchaseOrder)();
    });
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    Check("the vendor fills in the name", [] {
        EXPECT_EQ(Shown("Name"), "Widget Works");
        return true;
    });
    const char *items[2][2] = {{"ITEM1", "20"}, {"ITEM2", "5"}};
    for (int r = 0; r < 2; r++) {
        ClickCell(r, ColItem);
        Type(items[r][0]);
        Key(PlKey::Tab);
        Check("Tab goes to the quantity", [] { return FocusLabel() == "cell"; });
        Type(items[r][1]);
        Key(PlKey::Tab);
    }
    // 20 pieces are 2 boxes at 40, 5 pieces at 25: 205 and 25 % VAT.
    Check("the totals follow the rows", [] {
        EXPECT_EQ(Shown("Net"), "205,00");
        EXPECT_EQ(Shown("Total"), "256,25");
        return true;
    });
    Do("keep a picture of the purchase-order window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "purchase_order_window.png"));
        return true;
    });
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the purchase order", [number] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return TitleTells("viewing");
    });
    Menu("Registers", "Purchase orders");
    Check("the register popup brings the list back", Opened(PurchaseOrderList));
    FindRow("the purchase order by its number", number);
    Key(PlKey::Return);
    Check("the purchase order opens again with its rows and totals", [number] {
        EXPECT_EQ(ActiveType(), PurchaseOrder) << ActiveTitle();
        EXPECT_EQ(Shown("Number"), *number);
        EXPECT_EQ(Shown("Name"), "Widget Works");
        EXPECT_EQ(Shown("Net"), "205,00");
        EXPECT_EQ(Shown("Total"), "256,25");
        return true;
    });
    Do("keep a picture of the reopened purchase order", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "purchase_order_reopened.png"));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(PurchOrderVc::Number), 1u);
    std::vector<uint8_t> order(PurchOrderVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(PurchOrderVc::Number, 1, order.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(order.data(), PurchOrderVc::SerNr)), *number);
    EXPECT_EQ(TextAt(order.data(), PurchOrderVc::VendCode), "V1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(order.data(), PurchOrderVc::NetTotal), 205);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(order.data(), PurchOrderVc::Total), 256.25);
    ASSERT_EQ(MatrixRowCount(PurchOrderVc::Number, 0, order.data()), 2);
    std::vector<uint8_t> row(PurchOrderVc::Rows::Size);
    const double qty[2] = {20, 5}, priced[2] = {2, 5}, sum[2] = {80, 125};
    for (int r = 0; r < 2; r++) {
        ASSERT_TRUE(MatrixRowRead(PurchOrderVc::Number, order.data(), r, row.data()));
        EXPECT_EQ(GetU16(row.data(), PurchOrderVc::Rows::Kind), 1) << r;
        EXPECT_EQ(TextAt(row.data(), PurchOrderVc::Rows::ItemCode), items[r][0]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), PurchOrderVc::Rows::Quantity), qty[r]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), PurchOrderVc::Rows::PricedQty), priced[r]) << r;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), PurchOrderVc::Rows::Sum), sum[r]) << r;
    }
    // The stored order puts its quantities on the way to the stock.
    std::vector<uint8_t> stock;
    ASSERT_TRUE(FindByCode(LSVc::Number, LSVc::ItemCode, 20, "ITEM1", &stock));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(stock.data(), LSVc::ToReceive), 20);
    ASSERT_TRUE(FindByCode(LSVc::Number, LSVc::ItemCode, 20, "ITEM2", &stock));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(stock.data(), LSVc::ToReceive), 5);
    CloseForCheck();
}

}  // namespace
