// road_replenishment_test.cpp - a purchase-order suggestion as a user runs
// it: an item with a minimum stock of ten, kept in stock, is typed into
// the item window opened from the item list's New; its vendor is typed
// into the vendor window and made the item's default
// source in the purchase-item window, opened from the purchase-item
// list's New; in the Purchasing module File > Maintenance lists the
// replenishment runs, the purchase-order suggestion opens in window 390,
// the item is typed into its item range and OK runs it. The company file
// then holds one purchase order of the vendor for the ten missing, and
// the stock expects them. (The purchase-order window is not built, so the
// order is read from the company file.)
// Menus: in Purchasing, Registers > Vendors, Registers > Purchase items; in
// Stock, Registers > Item list; File > Maintenance... > "purchase-order
// suggestion".
// Windows: Functions (exports, imports, maintenance), Purchase-order
// suggestion, Purchase item list, Purchase item, Item list, Item.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <cstdlib>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "tests/operations/stock_docs_fixture.h"

namespace {

constexpr int FunctionList = 7, PurchaseOrderSuggestionWindow = 390, PurchaseItemList = 4, PurchaseItem = 284;
namespace fs = std::filesystem;

struct StockReads : StockDocsFixture {
    using StockDocsFixture::Stock;
};

TEST_F(RoadTest, PurchaseOrderSuggestionInWindow390OrdersTheItemBelowItsMinimum)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Stock");
    NewFromList("Item list", WinTypes::ItemList, WinTypes::Item);
    TypeFields({{"Code", "PUMP"}, {"Name", "Pump"}, {"Group", "G1"}, {"Price", "50"}, {"Minimum stock", "10"}});
    ClickButton("Kept in stock");
    OkStoresQuietly("the item PUMP");
    Menu("Window", "Close all");
    TypeVendor({"V1", "Pump Works", "Box 7", "30", "", ""});
    NewFromList("Purchase items", PurchaseItemList, PurchaseItem);
    ClickField("Item");
    Type("PUMP");
    ClickField("Vendor");
    Type("V1");
    ClickField("Vendor's code");
    Type("VP-100");
    Retype("Text", "Pump from V1");
    Retype("Price", "30");
    ClickButton("Default source");
    Do("keep a picture of the purchase-item window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "purchase_item_284.png"));
        return true;
    });
    OkStoresQuietly("the purchase item");

    Menu("Module", "Purchasing");
    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Maintenance");
    Check("the maintenance runs are listed", [] {
        std::vector<std::string> rows = ListRows();
        // The twelve runs of every module and the four of Purchasing.
        EXPECT_EQ(rows.size(), 16u) << ::testing::PrintToString(rows);
        EXPECT_NE(std::find(rows.begin(), rows.end(), "Purchase orders from sales orders"), rows.end());
        return !rows.empty();
    });
    ClickRow("purchase-order suggestion");
    Key(PlKey::Return);
    Check("the suggestion window opens", Opened(PurchaseOrderSuggestionWindow));
    ClickField("Items");
    Type("PUMP");
    Do("keep a picture of the suggestion window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "purchase_order_suggestion_390.png"));
        return true;
    });
    ClickOk();
    Check("OK runs the suggestion and closes the window", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), PurchaseOrderSuggestionWindow);
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> item;
    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, "PUMP", &item));
    EXPECT_EQ(TextAt(item.data(), INVc::Group), "G1");
    EXPECT_EQ(GetU16(item.data(), INVc::Stocked), 1);
    PackedDecimal minimum = GetDec(item.data(), INVc::MinStock);
    EXPECT_DOUBLE_EQ(DecToDouble(&minimum), 10);
    RecFreeMatrix(INVc::Number, item.data());
    std::vector<uint8_t> source;
    ASSERT_TRUE(FindByCode(PurchItemVc::Number, PurchItemVc::ItemCode, 20, "PUMP", &source));
    EXPECT_EQ(TextAt(source.data(), PurchItemVc::VendName), "Pump Works");   // from the vendor's code
    EXPECT_EQ(GetU16(source.data(), PurchItemVc::Default), 1);
    RecFreeMatrix(PurchItemVc::Number, source.data());
    ASSERT_EQ(RegRecordCount(PurchOrderVc::Number), 1u);
    std::vector<uint8_t> po(PurchOrderVc::Size + 8, 0);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAtIndex(PurchOrderVc::Number, "SerNr", 1, po.data(), &recid) ||
                RecReadAtIndex(PurchOrderVc::Number, "SerNr", 0, po.data(), &recid));
    EXPECT_EQ(TextAt(po.data(), PurchOrderVc::VendCode), "V1");
    ASSERT_EQ(MatrixRowCount(PurchOrderVc::Number, 0, po.data()), 1);
    uint8_t row[PurchOrderVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(PurchOrderVc::Number, po.data(), 0, row));
    EXPECT_EQ(TextAt(row, PurchOrderVc::Rows::ItemCode), "PUMP");
    EXPECT_EQ(TextAt(row, PurchOrderVc::Rows::VendItemCode), "VP-100");
    PackedDecimal qty = GetDec(row, PurchOrderVc::Rows::Quantity);
    EXPECT_DOUBLE_EQ(DecToDouble(&qty), 10);
    RecFreeMatrix(PurchOrderVc::Number, po.data());
    EXPECT_DOUBLE_EQ(StockReads::Stock("PUMP", "MAIN", LSVc::ToReceive) + StockReads::Stock("PUMP", "", LSVc::ToReceive),
                     10);
    CloseForCheck();
}

}  // namespace
