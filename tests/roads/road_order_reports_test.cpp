// road_order_reports_test.cpp - the order status as a sales clerk reads
// it: an order of two ITEM1 for C1 typed in its window; in the Sales
// module Ctrl+R lists the order reports, the order status's selection
// window takes the orders not delivered with a line per order, OK shows
// it in the preview, and Ctrl+P prints it to a PDF whose text holds the
// order's number, its customer's name and its open value. The company
// file then holds the open order those figures came from. The other order,
// salesman, posted-document and item statistics windows open from the
// same list (the purchase-order status from the Purchasing module's). An
// order's flow is shown from the order's Operations menu and from the
// order list's for the marked order.
// Menus: in Sales, Registers > Orders (Ctrl+9), Operations > Order flow,
// Operations > Order flow of marked; File > Reports (Ctrl+R) > "Purchase
// Order Status", File > Reports (Ctrl+R) > "Order Status".
// Windows: Reports, Order list, Order, Order status selection, Order list
// selection, Purchase-order status selection, Order flow selection, Orders
// per object selection, Salesman sales selection, Posted documents
// selection, Item statistics selection.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int ReportList = 6, Preview = 5, OrderList = 351, Order = 352;
constexpr int OrderStatusSel = 488, OrderListSel = 491, POStatusSel = 492, OrderFlowSel = 497,
              OrderObjectSel = 498, SalesmanSel = 499, PostedDocSel = 501, ItemStatsSel = 502;
constexpr int ColItem = 0;
namespace fs = std::filesystem;

TEST_F(RoadTest, TheOrderStatusShowsATypedOrdersOpenValue) {
    const std::string company = StartNewCompany();

    // An order of two ITEM1 for C1.
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(OrderList));
    ClickButton("New");
    Check("New opens the order window", Opened(Order));
    std::shared_ptr<std::string> number = TypeOneRowDocument("C1", ColItem, "ITEM1", "2");
    Menu("Window", "Close all");

    // The other reports' windows open from the lists.
    const std::pair<const char *, int> windows[] = {
        {"Order List", OrderListSel},         {"Order Flow", OrderFlowSel},
        {"Orders per Object", OrderObjectSel}, {"Salesman Sales and Commission", SalesmanSel},
        {"Posted documents with vouchers", PostedDocSel}, {"Item Statistics", ItemStatsSel},
        {"Orders Deliverable from Stock", OrderStatusSel}, {"Orders Shipped, Not Invoiced", OrderStatusSel}};
    for (const auto &[row, type] : windows) ReportWindowOpens(row, type);
    Menu("Module", "Purchasing");
    Key('R', false, true);
    Check("Ctrl+R opens the purchasing report list", Opened(ReportList));
    Key(PlKey::End);
    ClickRow("Purchase Order Status");
    Key(PlKey::Return);
    Check("the purchase-order status's selection window opens", Opened(POStatusSel));
    Menu("Window", "Close all");
    Menu("Module", "Sales");

    auto text = ReportToPreviewAndPdf("Order Status", OrderStatusSel, [this] {
        ClickButton("Not delivered");
        ClickButton("Per order");
    }, "order_status");
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(text->find("Order Status"), std::string::npos) << *text;
    EXPECT_NE(text->find("First Customer"), std::string::npos) << *text;

    // The order printed is the stored one: its number and open value.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> order(ORVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(ORVc::Number, 1, order.data(), &id));
    EXPECT_EQ(GetU16(order.data(), ORVc::Open), 1);
    const std::string serial = std::to_string(GetU32(order.data(), ORVc::SerNr));
    EXPECT_EQ(serial, *number);
    EXPECT_NE(text->find(serial), std::string::npos) << *text;
    PackedDecimal net = GetDec(order.data(), ORVc::Net);
    EXPECT_DOUBLE_EQ(DecToDouble(&net), 200);
    EXPECT_NE(text->find("200,00"), std::string::npos) << *text;
}

// An order's flow from the order's own Operations menu, then from the
// order list's for the marked order: each shows the order flow of that
// order in the preview, which prints it with Ctrl+P.
TEST_F(RoadTest, AnOrdersFlowIsShownFromItsWindowAndItsList) {
    StartNewCompany();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(OrderList));
    ClickButton("New");
    Check("New opens the order window", Opened(Order));
    std::shared_ptr<std::string> number = TypeOneRowDocument("C1", ColItem, "ITEM1", "2");
    // The preview of the report the menu item runs, printed: its page
    // holds the report's title and the order's number.
    auto flowShown = [this, number](const std::string &from) {
        Check("the order flow opens in the preview from " + from, Opened(Preview));
        auto before = std::make_shared<std::vector<fs::path>>();
        Do("note the PDFs", [this, before] {
            *before = FilesIn("print");
            return true;
        });
        AnswerPrint(true);
        Key('P', false, true);
        Check("the order flow from " + from + " prints the order", [this, before, number, from] {
            std::vector<fs::path> pdfs = NewFilesIn("print", *before);
            if (pdfs.size() != 1) {
                ADD_FAILURE() << "nothing printed from " << from << "; told " << ::testing::PrintToString(Messages());
                return false;
            }
            const std::string text = PdfText(pdfs.back());
            EXPECT_NE(text.find("Order Flow"), std::string::npos) << text;
            EXPECT_NE(text.find(*number), std::string::npos) << text;
            return true;
        });
    };
    Menu("Operations", "Order flow");
    flowShown("the order");
    Menu("Window", "Close all");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list again", Opened(OrderList));
    FindRow("the order", number);
    Menu("Operations", "Order flow of marked");
    flowShown("the order list");
    EXPECT_EQ(Run(), 0);
}

}  // namespace
