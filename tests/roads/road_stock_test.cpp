// road_stock_test.cpp - goods taken into stock and moved, as a user does
// it: a second stock location is typed in the location window; in the
// Stock module the goods-receipt list opens from the Registers menu, New a
// goods receipt, whose currency is chosen from its choice list and whose
// row takes ten of ITEM1; ticked received, OK stores it. Then a stock
// movement carries four of them from the main location to the new one.
// The company file then holds the stock and the item history that the
// stock rules give for those two documents: received at MAIN, issued
// from MAIN, received at SHOP; and the receipt's voucher carries its text.
// Menus: in Stock, Registers > Locations, Registers > Goods receipts,
// Registers > Stock movement.
// Windows: Goods receipt list, Goods receipt, Currency choice, Stock
// movement, Location list, Location.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "tests/operations/stock_docs_fixture.h"

namespace {

constexpr int GoodsReceiptList = 196, GoodsReceipt = 197, CurrencyChoice = 247,
              StockMovement = 426;
constexpr uint16_t IssueHistory = 65535;   // the history type of a movement's issue
namespace fs = std::filesystem;

// The stock and item history as the stock tests read them.
struct StockReads : StockDocsFixture {
    using StockDocsFixture::History;
    using StockDocsFixture::Stock;
};

TEST_F(RoadTest, GoodsReceivedInWindow197AndMovedInWindow426MoveTheStock)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    // The defaults have one location; the second is typed.
    Menu("Module", "Stock");
    NewFromList("Locations", WinTypes::LocationList, WinTypes::Locations);
    TypeFields({{"Code", "SHOP"}, {"Name", "Shop"}, {"Stock account", "1460"}});
    OkStoresQuietly("the location");
    Menu("Window", "Close all");
    Menu("Registers", "Goods receipts");
    Check("the goods-receipt list opens", Opened(GoodsReceiptList));
    ClickButton("New");
    Check("New opens a goods receipt", Opened(GoodsReceipt));
    ClickField("Date");
    Menu("Edit", "Choose...");
    ClickField("Location");
    Type("MAIN");
    ClickField("Text");
    Type("Opening stock");
    ClickField("Currency");
    Menu("Edit", "Choose...");
    Check("the currency is chosen from its list", [] {
        EXPECT_EQ(ActiveType(), CurrencyChoice) << ActiveTitle();
        EXPECT_FALSE(ListRows().empty());
        return ActiveType() == CurrencyChoice;
    });
    Do("keep a picture of the currency list", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "currency_choice_247.png"));
        return true;
    });
    ClickRow("EUR");
    ClickOk();
    Check("the chosen code is in the currency field", [] {
        EXPECT_EQ(ActiveType(), GoodsReceipt) << ActiveTitle();
        EXPECT_EQ(Shown("Currency"), "EUR");
        return ActiveType() == GoodsReceipt;
    });
    ClickField("Rate");
    Type("1125");
    // The row: item, quantity, text, price, charge and the unit cost,
    // which is typed (leaving the price does not fill it here).
    ClickCell(0, 0);
    for (const char *text : {"ITEM1", "10", "", "5", "", "56,25"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    ClickButton("Received");
    Do("keep a picture of the goods receipt", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "goods_receipt_197.png"));
        return true;
    });
    ClickOk();
    Check("OK stores the received goods", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages()) << " at " << FocusLabel();
        EXPECT_NE(Shown("Number"), "");
        return TitleTells("viewing");
    });

    Menu("Registers", "Stock movement");
    Check("the stock-movement window opens", Opened(StockMovement));
    Menu("Record", "New");
    ClickField("Date");
    Menu("Edit", "Choose...");
    ClickField("From location");
    Type("MAIN");
    ClickField("To location");
    Type("SHOP");
    ClickCell(0, 0);
    for (const char *text : {"ITEM1", "4"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    // The row's serial number stands on the Serials tab; ITEM1 keeps no
    // serials, so the row keeps it as typed.
    ClickButton("Serials");
    ClickCell(0, 0);
    Type("LOT-7");
    Key(PlKey::Tab);
    ClickButton("Items");
    ClickButton("Moved");
    Do("keep a picture of the stock movement", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "stock_movement_426.png"));
        return true;
    });
    ClickOk();
    Check("OK stores the movement", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_NE(Shown("Number"), "");
        return TitleTells("viewing");
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(PUVc::Number), 1u);
    ASSERT_EQ(RegRecordCount(StockMoveVc::Number), 1u);
    // Received ten at the main location; four issued from it and received
    // at the shop.
    EXPECT_DOUBLE_EQ(StockReads::Stock("ITEM1", "MAIN", LSVc::InStock), 6);
    EXPECT_DOUBLE_EQ(StockReads::Stock("ITEM1", "SHOP", LSVc::InStock), 4);
    EXPECT_DOUBLE_EQ(StockReads::History("ITEM1", "MAIN", PUVc::Number), 10);
    EXPECT_DOUBLE_EQ(StockReads::History("ITEM1", "MAIN", IssueHistory), -4);
    EXPECT_DOUBLE_EQ(StockReads::History("ITEM1", "SHOP", StockMoveVc::Number), 4);
    EXPECT_DOUBLE_EQ(StockReads::History("ITEM1", "SHOP", PUVc::Number), 0);
    {
        std::vector<uint8_t> move(StockMoveVc::Size), row(StockMoveVc::Rows::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(StockMoveVc::Number, 1, move.data(), &id));
        ASSERT_TRUE(MatrixRowGet(StockMoveVc::Number, 0, move.data(), 0, row.data()));
        EXPECT_EQ(TextAt(row.data(), StockMoveVc::Rows::SerialNr), "LOT-7");
        EXPECT_EQ(TextAt(move.data(), StockMoveVc::ToLocation), "SHOP");
        RecFreeMatrix(StockMoveVc::Number, move.data());
    }
    ASSERT_EQ(RegRecordCount(LocationVc::Number), 2u);
    {
        // The receipt's stock voucher says what it was for.
        std::vector<uint8_t> receipt(PUVc::Size), voucher(TRVc::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(PUVc::Number, 1, receipt.data(), &id));
        RecFreeMatrix(PUVc::Number, receipt.data());
        std::vector<std::string> texts;
        bool found = false;
        for (int32_t i = 1; i <= int32_t(RegRecordCount(TRVc::Number)); i++) {
            ASSERT_TRUE(RecReadAt(TRVc::Number, i, voucher.data(), &id));
            RecFreeMatrix(TRVc::Number, voucher.data());
            texts.push_back(TextAt(voucher.data(), TRVc::Text));
            if (GetU32(voucher.data(), TRVc::SerNr) != GetU32(receipt.data(), PUVc::SerNr)) continue;
            if (texts.back().find("Opening stock") == std::string::npos) continue;
            found = true;
            EXPECT_EQ(texts.back(), "EUR 1125,000, Opening stock");
        }
        EXPECT_TRUE(found) << "the goods receipt's voucher, among " << ::testing::PrintToString(texts);
    }
    CloseForCheck();
}

}  // namespace
