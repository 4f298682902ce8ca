// road_stock_reports_test.cpp - the stock value as a stock keeper reads
// it: ten ITEM1 received at 56,25 in a goods receipt typed in its window;
// in the Stock module Ctrl+R lists the stock reports, the stock value's
// selection window takes ITEM1, OK shows it in the preview, and Ctrl+P
// prints it to a PDF whose text holds the quantity and the value of the
// receipt. The company file then holds the receipt whose first-in
// first-out value the report printed. The other stock reports' windows
// open from the same list.
// Menus: in Stock, Registers > Goods receipts; File > Reports (Ctrl+R) >
// "Customer List", File > Reports (Ctrl+R) > "Day Journals", File > Reports
// (Ctrl+R) > "Stock Value".
// Windows: Reports, Goods receipt list, Goods receipt, Stock value
// selection.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/stock_docs.h"
#include "platform/queue.h"

namespace {

constexpr int ReportList = 6, Preview = 5, GoodsReceiptList = 196, GoodsReceipt = 197;
constexpr int ItemValueSel = 464;
namespace fs = std::filesystem;

TEST_F(RoadTest, TheStockValueShowsTheReceivedGoods) {
    const std::string company = StartNewCompany();

    // Ten ITEM1 received at MAIN at a unit cost of 56,25.
    Menu("Module", "Stock");
    Menu("Registers", "Goods receipts");
    Check("the goods-receipt list opens", Opened(GoodsReceiptList));
    ClickButton("New");
    Check("New opens a goods receipt", Opened(GoodsReceipt));
    ClickField("Date");
    Menu("Edit", "Choose...");
    ClickField("Location");
    Type("MAIN");
    ClickCell(0, 0);
    for (const char *text : {"ITEM1", "10", "", "5", "", "56,25"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    ClickButton("Received");
    ClickOk();
    Check("OK stores the received goods", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages()) << " at " << FocusLabel();
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    // The other stock reports' windows open from the list.
    const std::pair<const char *, int> windows[] = {
        {"Item Prices", 538},           {"Item List", 466},         {"Stock Position per Supplier", 469},
        {"Items from Components", 470}, {"Item History", 540},      {"Serial Number History", 545},
        {"Stock Items by Inventory Code", 481}, {"Stock Movements", 482}, {"Locations", 549},
        {"Recipes", 550}, {"Purchase Rows by Vendor", 485}};
    for (const auto &[row, type] : windows) ReportWindowOpens(row, type);
    Menu("Module", "Sales");
    ReportWindowOpens("Customer List", 547);
    ReportWindowOpens("Day Journals", 486);
    Menu("Module", "Stock");

    auto text = ReportToPreviewAndPdf("Stock Value", ItemValueSel, [this] {
        ClickField("Items");
        Type("ITEM1");
        ClickButton("With receipts");
    }, "stock_value");
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(text->find("Stock Value"), std::string::npos) << *text;
    EXPECT_NE(text->find("ITEM1"), std::string::npos) << *text;

    // The value printed is the FIFO value of the stored receipt: ten at
    // its unit cost, shown once on the receipt's line and once as the item's.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> receipt(PUVc::Size), row(PUVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(PUVc::Number, 1, receipt.data(), &id));
    ASSERT_TRUE(MatrixRowRead(PUVc::Number, receipt.data(), 0, row.data()));
    PackedDecimal cost = GetDec(row.data(), PUVc::Rows::UnitCost), qty = GetDec(row.data(), PUVc::Rows::Quantity);
    EXPECT_DOUBLE_EQ(DecToDouble(&cost), 56.25);
    EXPECT_DOUBLE_EQ(DecToDouble(&qty), 10);
    uint8_t item[256], all[1] = {0};
    PStringFromC(item, "ITEM1");
    PackedDecimal value;
    StockFifoValue(item, all, &qty, &value, false, false, nullptr);
    EXPECT_DOUBLE_EQ(DecToDouble(&value), 562.5);
    size_t at = text->find("562,50"), times = 0;
    for (; at != std::string::npos; at = text->find("562,50", at + 1)) times++;
    EXPECT_GE(times, 2u) << *text;
    EXPECT_NE(text->find("56,25"), std::string::npos) << *text;
    CloseForCheck();
}

}  // namespace
