// road_customer_reports_test.cpp - the customer ledger as a sales clerk
// reads it: an invoice of two ITEM1 for C1 made in its window and
// approved by File > Maintenance leaves an open item; in the Sales
// module Ctrl+R lists the customer reports, the customer ledger's
// selection window takes C1 with a line per open item, OK shows it in
// the preview, and Ctrl+P prints it to a PDF whose text holds the
// invoice's number and open amount. The company file then holds the open
// item those figures came from. The balances and sales reports' windows
// open from the same list.
// Menus: File > Windows... > "Sales invoices", File > Maintenance... >
// "Approve sales invoices", File > Reports (Ctrl+R) > "Customer Ledger".
// Windows: Windows, Reports, Sales invoice, Approve sales invoices (routine
// 8), Customer ledger selection, Customer balances selection, Sales per
// customer selection.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int WindowList = 12, ReportList = 6, Preview = 5, SalesInvoice = 347, ApproveSel = 553;
constexpr int CustomerLedgerSel = 503, CustomerBalanceSel = 507, CustomerSalesSel = 518;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

TEST_F(RoadTest, TheCustomerLedgerShowsAnApprovedInvoicesOpenItem) {
    const std::string company = StartNewCompany();

    // An invoice of two ITEM1 for C1.
    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", Opened(SalesInvoice));
    std::shared_ptr<std::string> number = TypeOneRowDocument("C1", ColItem, "ITEM1", "2");
    Menu("Window", "Close all");

    // Approved by routine 8: posted, with its open item.
    OpenMaintenanceRun("Approve sales invoices", ApproveSel);
    ClickField("Invoice numbers");
    Type("Invoice numbers", [number] { return *number + ":" + *number; });
    ClickButton("OK");
    Check("the approval ran without a message", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");
    Menu("Module", "Sales");

    // The other customer reports' windows open from the list.
    const std::pair<const char *, int> windows[] = {{"Customer Balances", CustomerBalanceSel},
                                                    {"Sales per Customer", CustomerSalesSel}};
    for (const auto &[row, type] : windows) ReportWindowOpens(row, type);

    auto text = ReportToPreviewAndPdf("Customer Ledger", CustomerLedgerSel, [this] {
        ClickField("Customers");
        Type("C1");
        ClickButton("Open items");
    }, "customer_ledger");
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(text->find("Customer Ledger"), std::string::npos) << *text;
    EXPECT_NE(text->find("C1"), std::string::npos) << *text;

    // The open item printed is the stored one: its number and amount.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> item(ARVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(ARVc::Number, 1, item.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(item.data(), ARVc::InvoiceNr)), *number);
    PackedDecimal open = GetDec(item.data(), ARVc::OpenAmount);
    const double stored = DecToDouble(&open);
    EXPECT_DOUBLE_EQ(stored, 250);   // 2 x 100 and 25 % VAT
    char amount[32];
    std::snprintf(amount, sizeof amount, "%.2f", stored);
    std::string shown(amount);
    shown[shown.find('.')] = ',';
    EXPECT_NE(text->find(shown), std::string::npos) << shown << " in\n" << *text;
    EXPECT_NE(text->find(*number), std::string::npos) << *number << " in\n" << *text;
    CloseForCheck();
}

}  // namespace
