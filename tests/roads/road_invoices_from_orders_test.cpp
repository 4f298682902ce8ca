// road_invoices_from_orders_test.cpp - open orders invoiced by the batch
// run as a user does it: an order of two SERVICE is typed in the order
// window, delivered by the operations menu's Delivery and shipped from
// the delivery list; File > Maintenance lists "Invoices from orders",
// whose window takes the customer and the way "one invoice a customer,
// a row an order", and OK makes the invoice. The invoice list opens it
// with the order's amount. The company file holds the invoice (one
// summary row naming the order, no order link, unposted), its item
// history, and the order counting its two as invoiced.
// Menus: in Sales, Registers > Orders (Ctrl+9), Operations > Delivery; in
// Stock, Registers > Deliveries, Operations > Ship marked; File >
// Maintenance... > "Invoices from orders", File > Windows... > "Sales
// invoices".
// Windows: Order, Order list, Delivery, Delivery list, Windows, Sales
// invoice, Sales invoice list, Invoices from orders (routine 13).
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int Order = 352, OrderList = 351, WindowList = 12,
              SalesInvoice = 347, SalesInvoiceList = 348, OrderInvoicingSel = 471;
namespace fs = std::filesystem;

TEST_F(RoadTest, OpenOrdersAreInvoicedByTheBatchRun)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", [] { return ActiveType() == OrderList; });
    ClickButton("New");
    Check("New opens the order window", [] {
        EXPECT_EQ(ActiveType(), Order) << ActiveTitle();
        return ActiveType() == Order;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("SERVICE");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickOk();
    auto order = std::make_shared<std::string>();
    Check("OK stores the order", [order] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Net"), "1400,00");
        *order = Shown("Number");
        return TitleTells("viewing") && !order->empty();
    });
    DeliverAndShipOrder();

    OpenMaintenanceRun("Invoices from orders", OrderInvoicingSel);
    ClickField("Customers");
    Type("C1");
    ClickButton("One invoice a customer, a row an order");
    Do("keep a picture of the selection window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "invoices_from_orders_471.png", true));
        return true;
    });
    ClickButton("OK");
    Check("the run makes the invoices without a word", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), OrderInvoicingSel);
        return true;
    });

    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the invoice list opens", [] {
        EXPECT_EQ(ActiveType(), SalesInvoiceList) << ActiveTitle();
        return ActiveType() == SalesInvoiceList;
    });
    // The list's first row is the only invoice; Return opens it.
    Key(PlKey::Return);
    Check("the invoice opens with the order's amount", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C1");
        EXPECT_EQ(Shown("Name"), "First Customer");
        EXPECT_EQ(Shown("Net"), "1400,00");
        return ActiveType() == SalesInvoice;
    });
    Do("keep a picture of the invoice made", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "invoice_from_orders.png"));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> o(ORVc::Size), orow(ORVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(ORVc::Number, 1, o.data(), &id));
    ASSERT_TRUE(MatrixRowRead(ORVc::Number, o.data(), 0, orow.data()));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(orow.data(), ORVc::Rows::QtyInvoiced), 2);
    EXPECT_EQ(GetU16(o.data(), ORVc::InvState), 2) << GetU16(o.data(), ORVc::Open) << " " << RoadTest::AmountAt(orow.data(), ORVc::Rows::QtyShipped) << " " << TextAt(o.data(), ORVc::CustCode);
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> inv(IVVc::Size), line(IVVc::Rows::Size);
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(TextAt(inv.data(), IVVc::CustCode), "C1");
    EXPECT_EQ(GetU32(inv.data(), IVVc::OrderNr), 0xFFFFFFFFu);
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 0);
    EXPECT_EQ(GetU16(inv.data(), IVVc::UpdStock), 0);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv.data()), 1);
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), 0, line.data()));
    char heading[256];
    GetUiTextC(heading, 1816);
    EXPECT_EQ(TextAt(line.data(), IVVc::Rows::Text), heading + *order);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(line.data(), IVVc::Rows::Sum), 1400);

    ASSERT_EQ(RegRecordCount(InvHistVc::Number), 1u);
    std::vector<uint8_t> hist(InvHistVc::Size), hrow(InvHistVc::Rows::Size);
    ASSERT_TRUE(RecReadAt(InvHistVc::Number, 1, hist.data(), &id));
    EXPECT_EQ(GetU32(hist.data(), InvHistVc::InvoiceNr), GetU32(inv.data(), IVVc::SerNr));
    ASSERT_TRUE(MatrixRowRead(InvHistVc::Number, hist.data(), 0, hrow.data()));
    EXPECT_EQ(TextAt(hrow.data(), InvHistVc::Rows::ItemCode), "SERVICE");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(hrow.data(), InvHistVc::Rows::Quantity), 2);

    CloseForCheck();
}

}  // namespace
