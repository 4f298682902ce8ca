// road_document_flow_test.cpp - a quotation followed through to an
// invoice as a user does it: the quotation typed and stored from the
// Sales module's register popup, turned into an order by the operations
// menu's Order; the order delivers (Delivery), the delivery is shipped
// from the delivery list (Ship marked); the order, opened again from its list, makes its
// invoice (Invoice). What each window shows is read as the user reads
// it; then the company file holds the order with its quantities, the
// shipped delivery and the invoice of the order's row.
// Menus: in Sales, Registers > Quotations, Operations > Order, Operations >
// Delivery, Registers > Orders (Ctrl+9), Operations > Invoice; in Stock,
// Registers > Deliveries, Operations > Ship marked.
// Windows: Quotation, Quotation list, Order, Order list, Delivery, Delivery
// list, Sales invoice.
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

constexpr int Quotation = 272, QuotationList = 273, Order = 352, OrderList = 351, Delivery = 354, DeliveryList = 353,
              SalesInvoice = 347;
namespace fs = std::filesystem;

TEST_F(RoadTest, AQuotationBecomesAnOrderThatDeliversAndInvoices)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Sales");
    Menu("Registers", "Quotations");
    Check("the register popup opens the quotation list", [] {
        EXPECT_EQ(ActiveType(), QuotationList) << ActiveTitle();
        return ActiveType() == QuotationList;
    });
    ClickButton("New");
    Check("New opens a quotation", [] {
        EXPECT_EQ(ActiveType(), Quotation) << ActiveTitle();
        return ActiveType() == Quotation;
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
    Check("OK stores the quotation", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });

    Menu("Operations", "Order");
    auto order = std::make_shared<std::string>();
    Check("Order makes the order and shows it", [order] {
        EXPECT_EQ(ActiveType(), Order) << ActiveTitle();
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C1");
        EXPECT_EQ(Shown("Net"), "1400,00");
        *order = Shown("Number");
        return ActiveType() == Order && !order->empty();
    });
    Do("keep a picture of the order made", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "flow_order.png"));
        return true;
    });

    Menu("Operations", "Delivery");
    auto delivery = std::make_shared<std::string>();
    Check("Delivery makes the delivery of the order and shows it", [order, delivery] {
        EXPECT_EQ(ActiveType(), Delivery) << ActiveTitle();
        EXPECT_EQ(Shown("Order"), *order);
        EXPECT_EQ(Shown("Customer"), "C1");
        EXPECT_EQ(CellUnder("Order row", 0), "1") << "the order's rows count from 1, as the order shows them";
        *delivery = Shown("Number");
        return ActiveType() == Delivery && !delivery->empty();
    });
    Menu("Module", "Stock");
    Menu("Registers", "Deliveries");
    Check("the register popup opens the delivery list", [] { return ActiveType() == DeliveryList; });
    FindRow("the delivery", delivery);
    Menu("Operations", "Ship marked");
    Check("the marked delivery is shipped without a word", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return Messages().empty();
    });
    Menu("Module", "Sales");

    Key('9', false, true);
    Check("Ctrl+9 opens the order list", [] { return ActiveType() == OrderList; });
    FindRow("the order", order);
    Key(PlKey::Return);
    Check("the order opens again", [order] {
        EXPECT_EQ(ActiveType(), Order) << ActiveTitle();
        EXPECT_EQ(Shown("Number"), *order);
        return ActiveType() == Order;
    });
    Menu("Operations", "Invoice");
    Check("Invoice makes the invoice of what was shipped and shows it", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C1");
        EXPECT_EQ(Shown("Net"), "1400,00");
        return ActiveType() == SalesInvoice;
    });
    Do("keep a picture of the invoice made", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "flow_invoice.png"));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(ORVc::Number), 1u);
    std::vector<uint8_t> o(ORVc::Size), row(ORVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(ORVc::Number, 1, o.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(o.data(), ORVc::SerNr)), *order);
    ASSERT_TRUE(MatrixRowRead(ORVc::Number, o.data(), 0, row.data()));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ORVc::Rows::QtyDelivered), 2);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ORVc::Rows::QtyShipped), 2);

    ASSERT_EQ(RegRecordCount(SHVc::Number), 1u);
    std::vector<uint8_t> d(SHVc::Size);
    ASSERT_TRUE(RecReadAt(SHVc::Number, 1, d.data(), &id));
    EXPECT_EQ(GetU16(d.data(), SHVc::Shipped), 1);
    EXPECT_EQ(std::to_string(GetU32(d.data(), SHVc::OrderNr)), *order);

    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> inv(IVVc::Size), line(IVVc::Rows::Size);
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::OrderNr)), *order);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv.data()), 1);
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), 0, line.data()));
    EXPECT_EQ(TextAt(line.data(), IVVc::Rows::ItemCode), "SERVICE");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(line.data(), IVVc::Rows::Quantity), 2);
    EXPECT_EQ(GetU32(line.data(), IVVc::Rows::Link), 0u);
    CloseForCheck();
}

}  // namespace
