// road_stock_warnings_test.cpp - a sales and a purchase month walked as a
// new user with the demo company, where stock used to change without a
// word: an invoice posted beyond the stock at its location tells on the
// status strip which item goes below zero, and a goods receipt with a
// vendor code no vendor has is refused with the cursor on the vendor;
// stored with the code taken away, the receipt leaves the strip Ready,
// the invoice's warning gone with the invoice's action; a
// delivery made before the stock came shows it available once opened
// again.
// Menus: in Sales, Registers > Orders (Ctrl+9), Operations > Delivery; in
// Stock, Registers > Goods receipts, Registers > Deliveries; File >
// Windows... > "Sales invoices".
// Windows: Sales invoice, Sales invoice list, Windows, Goods receipt list,
// Goods receipt, Order, Order list, Delivery, Delivery list, Purchase item
// list.
#include "tests/roads/road_fixture.h"

#include <memory>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/toolbar.h"

namespace {

// What the active delivery window shows in the Available column of row r.
std::string AvailableShown(int r)
{
    int n = RoadTest::Active();
    std::vector<uint8_t> row(SHVc::Rows::Size);
    if (!n || !MatrixRowRead(SHVc::Number, WinRecordBuffer(n), r, row.data())) return "(no row)";
    uint8_t text[256];
    FieldFormat(row.data() + SHVc::Rows::Available, FtAmount3, 0, text);
    return PStringToStd(text);
}

constexpr int SalesInvoice = 347, SalesInvoiceList = 348, WindowList = 12;
constexpr int GoodsReceiptList = 196, GoodsReceipt = 197;
constexpr int Order = 352, OrderList = 351, Delivery = 354, DeliveryList = 353;
constexpr int ColItem = 1, ColDeliver = 4;

TEST_F(RoadTest, InvoiceBeyondStockIsToldAndUnknownReceiptVendorRefused)
{
    const std::string company = StartNewCompany();
    // The demo company holds no stock: two of ITEM1 take it below zero.
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the sales invoice list opens", Opened(SalesInvoiceList));
    ClickButton("New");
    Check("the invoice window opens", Opened(SalesInvoice));
    TypeOneRowDocument("C1", ColItem, "ITEM1", "2");
    Check("the invoice was saved unposted without a word of stock", [] {
        EXPECT_EQ(StatusLineText().find("ITEM1"), std::string::npos) << StatusLineText();
        return true;
    });
    ClickButton("Posted");
    // The top bar follows the tick at the next input, as when the pointer
    // moves on to OK; a scripted click has none, so a key goes first.
    Key(PlKey::Tab);
    ClickOk();
    Check("posting tells that ITEM1 goes below zero at MAIN", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << ::testing::PrintToString(Messages());
        const std::string said = StatusLineText();
        EXPECT_NE(said.find("below zero"), std::string::npos) << said;
        EXPECT_NE(said.find("ITEM1"), std::string::npos) << said;
        EXPECT_NE(said.find("MAIN"), std::string::npos) << said;
        // The quantity in stock is told as a quantity: none.
        EXPECT_NE(said.find(", in stock 0"), std::string::npos) << said;
        return true;
    });

    // A goods receipt for a vendor code that no vendor has.
    Menu("Module", "Stock");
    Menu("Registers", "Goods receipts");
    Check("the goods-receipt list opens", Opened(GoodsReceiptList));
    ClickButton("New");
    Check("New opens a goods receipt, the warning still told until another window acts", [] {
        EXPECT_NE(StatusLineText().find("below zero"), std::string::npos) << StatusLineText();
        return Opened(GoodsReceipt)();
    });
    ClickField("Vendor");
    Type("NOSUCH");
    ClickField("Date");
    Menu("Edit", "Choose...");
    ClickField("Location");
    Type("MAIN");
    ClickCell(0, 0);
    for (const char *text : {"ITEM1", "5"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    ClickButton("Received");
    ClickOk();
    Check("the unknown vendor is refused, named, with the cursor on it", [] {
        EXPECT_TRUE(Told("Vendor: there is no vendor with the code NOSUCH")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Vendor");
        return true;
    });
    // With the unknown code taken away the receipt is stored (a receipt
    // names no vendor if none is typed), and the status line tells what
    // this store said (nothing), not the invoice's stock.
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Key(PlKey::Delete);
    Key(PlKey::Tab);
    OkStoresQuietly("the receipt without a vendor");
    Check("the stored receipt's status line no longer tells the invoice's warning", [] {
        EXPECT_EQ(StatusLineText(), "Ready");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(PUVc::Number), 1u) << "the refused receipt is not stored, the corrected one is";
    {
        std::vector<uint8_t> receipt(PUVc::Size);
        uint32_t receiptId = 0;
        ASSERT_TRUE(RecReadAt(PUVc::Number, 1, receipt.data(), &receiptId));
        EXPECT_EQ(TextAt(receipt.data(), PUVc::VendCode), "");
        RecFreeMatrix(PUVc::Number, receipt.data());
    }
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1) << "the warning does not stop the posting";
    CloseForCheck();
}

// Stock received at MAIN shows in the Available column of a delivery made
// before it came, once the delivery is opened again, and in one made after.
TEST_F(RoadTest, DeliveryShowsTheStockThatArrived)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(OrderList));
    ClickButton("New");
    Check("New opens an order", Opened(Order));
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickOk();
    Check("OK stores the order", [] { return TitleTells("viewing"); });
    Menu("Operations", "Delivery");
    auto first = std::make_shared<std::string>();
    Check("the delivery made before any stock shows none available", [first] {
        EXPECT_EQ(ActiveType(), Delivery) << ActiveTitle() << ::testing::PrintToString(Messages());
        *first = Shown("Number");
        EXPECT_EQ(AvailableShown(0), "0");
        return ActiveType() == Delivery;
    });
    Menu("Window", "Close all");

    // Five of ITEM1 arrive at MAIN.
    Menu("Module", "Stock");
    Menu("Registers", "Goods receipts");
    Check("the goods-receipt list opens", Opened(GoodsReceiptList));
    ClickButton("New");
    Check("New opens a goods receipt", Opened(GoodsReceipt));
    ClickField("Location");
    Type("MAIN");
    ClickCell(0, 0);
    for (const char *text : {"ITEM1", "5"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    ClickButton("Received");
    ClickOk();
    Check("the receipt is stored", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    Menu("Registers", "Deliveries");
    Check("the delivery list opens", Opened(DeliveryList));
    FindRow("the first delivery", first);
    Key(PlKey::Return);
    Check("the first delivery opened again shows the five", [first] {
        EXPECT_EQ(ActiveType(), Delivery) << ActiveTitle();
        EXPECT_EQ(Shown("Number"), *first);
        EXPECT_EQ(AvailableShown(0), "5");
        return true;
    });
    // The figure shown is nobody's change: the first change is taken, OK
    // stores it without a word, and closing asks nothing.
    auto told = CountTold();
    TypeCell(0, ColDeliver, "1");
    Key(PlKey::Tab);
    Check("the change is taken as typed", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_EQ(AvailableShown(0), "5");
        return Messages().size() == *told;
    });
    OkStoresQuietly("the changed delivery");
    Menu("Window", "Close all");
    Check("closing asks nothing", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), Delivery) << ActiveTitle();
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    bool found = false;
    std::vector<uint8_t> delivery(SHVc::Size);
    for (uint32_t i = 1; i <= RegRecordCount(SHVc::Number) && !found; i++) {
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(SHVc::Number, i, delivery.data(), &id));
        found = std::to_string(GetU32(delivery.data(), SHVc::SerNr)) == *first;
    }
    ASSERT_TRUE(found) << "delivery " << *first;
    std::vector<uint8_t> row(SHVc::Rows::Size);
    ASSERT_TRUE(MatrixRowRead(SHVc::Number, delivery.data(), 0, row.data()));
    EXPECT_EQ(AmountAt(row.data(), SHVc::Rows::ToDeliver), 1.0) << "the typed Deliver is stored";
    CloseForCheck();
}

}  // namespace
