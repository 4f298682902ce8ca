// road_run_outcomes_test.cpp - a user invoices a shipped order with the
// batch run "Invoices from orders" (the order's rows in full): the run
// ends with a status line naming the invoice it made, and a second run
// tells in a message why it made nothing. The invoice made is printed by
// "Print and approve invoices": its page carries the order's heading as
// text, no line of zeros under it, and one VAT summary line (the item's
// 12 %).
// Menus: in Sales, Registers > Orders (Ctrl+9), Operations > Delivery; in
// Stock, Registers > Deliveries, Operations > Ship marked; File >
// Maintenance... > "Invoices from orders", File > Documents... > "Print and
// approve invoices".
// Reports that find nothing to print say why on the status line, in place
// of the last print's "Printed to": the item price lists without an item
// or with an item that does not exist, the order flow without an order or
// with one that does not exist, and the contract invoices to make with
// the invoice dates its window opens with (none) and in a company
// without contracts.
// Menus: File > Reports (Ctrl+R) > "Customer List", File > Reports (Ctrl+R)
// > "Item in the Price Lists", File > Reports (Ctrl+R) > "Order Flow", File
// > Reports (Ctrl+R) > "Contract invoices to make".
// Windows: Order, Order list, Delivery, Delivery list, Invoices from orders
// (routine 13), Documents, Invoice print and approve run, Customer list
// selection, Item price list selection, Order flow selection, Contract
// invoices selection.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/toolbar.h"

namespace {

constexpr int Order = 352, OrderList = 351,
              OrderInvoicingSel = 471, CustomerListSel = 547, ItemPricesSel = 512,
              OrderFlowSel = 497, ContractPreviewSel = 493;
namespace fs = std::filesystem;

// The words of a line of the page's text.
std::vector<std::string> Words(const std::string &line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

class RunOutcomeRoad : public RoadTest {
protected:
    // An order of two SERVICE for C1, delivered and shipped; its number
    // into the result.
    std::shared_ptr<std::string> ShippedOrder()
    {
        Menu("Module", "Sales");
        Key('9', false, true);
        Check("Ctrl+9 opens the order list", [] { return ActiveType() == OrderList; });
        ClickButton("New");
        Check("New opens the order window", [] { return ActiveType() == Order; });
        auto order = TypeOneRowDocument("C1", 0, "SERVICE", "2");
        Check("OK stores the order", [] { return TitleTells("viewing"); });
        DeliverAndShipOrder();
        return order;
    }
    // File > Maintenance, "Invoices from orders" for C1, the order's rows
    // in full, OK.
    void InvoiceOrders()
    {
        OpenMaintenanceRun("Invoices from orders", OrderInvoicingSel);
        ClickField("Customers");
        Type("C1");
        ClickButton("Order rows in full");
        ClickButton("OK");
    }
};

TEST_F(RunOutcomeRoad, InvoicesFromOrdersSayWhatTheyMadeAndPrintNoEmptyRows)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    auto order = ShippedOrder();
    InvoiceOrders();
    auto invoice = std::make_shared<std::string>();
    Check("the run names the invoice it made on the status line", [invoice] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        const std::string line = StatusLineText(), head = "1 invoice made, 1 order invoiced, numbers ";
        EXPECT_EQ(line.rfind(head, 0), 0u) << line;
        if (line.rfind(head, 0) != 0) return false;
        *invoice = line.substr(head.size());
        return !invoice->empty();
    });
    InvoiceOrders();
    Check("a second run says why it made nothing", [] {
        EXPECT_TRUE(Told("No invoice made: no open order of the customers selected has anything left to invoice"))
            << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    OpenPrintAndApprove([invoice] { return *invoice; }, "Invoices", "Printer");
    AnswerPrint(true);
    ClickButton("OK");
    Check("the page prints the heading as text, no zeros, one VAT line", [this, order, invoice, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 1) return false;
        if (shots) fs::copy_file(pdfs[0], fs::path(shots) / "invoice_from_orders.pdf", fs::copy_options::overwrite_existing);
        const std::string page = PdfText(pdfs[0]);
        EXPECT_NE(page.find("Order " + *order), std::string::npos) << page;
        std::istringstream in(page);
        int vatLines = 0;
        for (std::string line; std::getline(in, line);) {
            const std::vector<std::string> w = Words(line);
            // A row of nothing reads "0 0,00 25,00 0,00": every word zero
            // but the rate.
            bool zeros = w.size() >= 3;
            for (const std::string &x : w) zeros = zeros && (x == "0" || x == "0,00" || x == "25,00");
            EXPECT_FALSE(zeros) << "a line of zeros: " << line << "\n" << page;
            if (line.find("Order " + *order) != std::string::npos) {
                EXPECT_EQ(line.find("0,00"), std::string::npos) << line;
            }
            // A VAT summary line opens with its rate: SERVICE's 12 % only,
            // none at the first code's 25 % for the rows of nothing.
            if (!w.empty() && (w[0] == "12,00" || w[0] == "25,00")) {
                vatLines++;
                EXPECT_EQ(w[0], "12,00") << line;
            }
        }
        EXPECT_EQ(vatLines, 1) << page;
        EXPECT_EQ(StatusLineText(), "1 invoice printed, 1 posted - to the printer");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> inv(IVVc::Size), row(IVVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::SerNr)), *invoice);
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv.data()), 3);
    for (int32_t i = 0; i < 2; i++) {
        ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), i, row.data()));
        EXPECT_EQ(GetU16(row.data(), IVVc::Rows::Kind), 3) << "heading row " << i;
    }
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), 2, row.data()));
    EXPECT_EQ(TextAt(row.data(), IVVc::Rows::ItemCode), "SERVICE");
    RecFreeMatrix(IVVc::Number, inv.data());
    CloseForCheck();
}

// Reports that print nothing say why, each in its own words and in a
// sentence that ends with its full stop, and the last print's "Printed
// to" does not stay on the status line as if they had printed.
TEST_F(RunOutcomeRoad, ReportsThatFindNothingToPrintSayWhy)
{
    StartNewCompany();
    Menu("Module", "Sales");
    ReportToPreviewAndPdf("Customer List", CustomerListSel, [] {}, "customer_list_before");
    Check("the print says where it went", [] {
        EXPECT_EQ(StatusLineText().rfind("Printed to ", 0), 0u) << StatusLineText();
        return true;
    });
    // Each report run from its module's report list and its selection
    // with `typed` in its field (none when the field is empty); the status
    // line and a message then tell `said`.
    struct Case {
        std::string module, report;
        int sel;
        std::string field, typed, said;
    };
    const std::vector<Case> cases = {
        {"Sales", "Order Flow", OrderFlowSel, "Order", "", "Nothing to print: no order number was given."},
        {"Sales", "Order Flow", OrderFlowSel, "Order", "999999", "Nothing to print: no order has the number given."},
        {"Sales", "Contract invoices to make", ContractPreviewSel, "Invoice dates to", "",
         "Nothing to print: the invoice dates were not given; type both, from and to."},
        {"Sales", "Contract invoices to make", ContractPreviewSel, "Invoice dates to", DayText(365),
         "Nothing to print: no contract of the selection has a period to invoice in the period given."},
        {"Stock", "Item in the Price Lists", ItemPricesSel, "Item", "", "Nothing to print: no item code was given."},
        {"Stock", "Item in the Price Lists", ItemPricesSel, "Item", "NOSUCH",
         "Nothing to print: no item has the code given."},
    };
    for (const Case &c : cases) {
        Menu("Module", c.module);
        Key('R', false, true);
        ClickRow(c.report);
        Key(PlKey::Return);
        Check(c.report + "'s selection opens", Opened(c.sel));
        if (!c.typed.empty()) {
            if (c.sel == ContractPreviewSel) Retype("Invoice dates from", DayText(0));
            Retype(c.field, c.typed);
            Key(PlKey::Tab);
        }
        auto told = CountTold();
        ClickButton("OK");
        Check(c.report + " with \"" + c.typed + "\" says why it printed nothing", [c, told] {
            EXPECT_EQ(StatusLineText(), c.said) << c.report << " \"" << c.typed << "\"";
            EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(Told(c.said)) << ::testing::PrintToString(Messages());
            return true;
        });
        Menu("Window", "Close all");
    }
    EXPECT_EQ(Run(), 0);
}

}  // namespace
