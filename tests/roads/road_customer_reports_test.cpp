// road_customer_reports_test.cpp - the customer ledger as a sales clerk
// reads it: an invoice of two ITEM1 for C1 made in its window and
// approved by File > Maintenance leaves an open item; in the Sales
// module Ctrl+R lists the customer reports, the customer ledger's
// selection window takes C1 with a line per open item, OK shows it in
// the preview, and Ctrl+P prints it to a PDF whose text holds the
// invoice's number and open amount. The company file then holds the open
// item those figures came from. The balances and sales reports' windows
// open from the same list.
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

constexpr int FunctionList = 7, WindowList = 12, ReportList = 6, Preview = 5, SalesInvoice = 347, ApproveSel = 553;
constexpr int CustomerLedgerSel = 503, CustomerBalanceSel = 507, CustomerSalesSel = 518;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

std::function<bool()> Opened(int type) {
    return [type] {
        EXPECT_EQ(RoadTest::ActiveType(), type) << RoadTest::ActiveTitle();
        return RoadTest::ActiveType() == type;
    };
}

TEST_F(RoadTest, TheCustomerLedgerShowsAnApprovedInvoicesOpenItem) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");

    // An invoice of two ITEM1 for C1.
    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", Opened(SalesInvoice));
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, ColItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the invoice", [number] {
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return !number->empty();
    });
    Menu("Window", "Close all");

    // Approved by routine 8: posted, with its open item.
    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Maintenance");
    ClickRow("Approve sales invoices");
    Key(PlKey::Return);
    Check("the approval's selection window opens", Opened(ApproveSel));
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
    for (const auto &[row, type] : windows) {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow(row);
        Key(PlKey::Return);
        Check(std::string(row) + "'s selection window opens", Opened(type));
        Menu("Window", "Close all");
    }

    auto chooseReport = [this] {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow("Customer Ledger");
    };
    auto selection = [this] {
        ClickField("Customers");
        Type("C1");
        ClickButton("Open items");
    };
    chooseReport();
    Key(PlKey::Return);
    Check("its selection window opens", Opened(CustomerLedgerSel));
    selection();
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "customer_ledger_sel.png"));
        return true;
    });
    ClickButton("OK");
    Check("the preview shows it", [this, shots] {
        EXPECT_EQ(ActiveType(), Preview) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "customer_ledger_preview.png"));
        return true;
    });
    Menu("Window", "Close all");
    auto before = std::make_shared<size_t>();
    auto text = std::make_shared<std::string>();
    Do("count the PDFs", [this, before] {
        *before = FilesIn("print").size();
        return true;
    });
    chooseReport();
    AnswerPrint(true);
    Key('P', false, true);
    Check("the print selection opens", Opened(CustomerLedgerSel));
    selection();
    ClickButton("OK");
    Check("printed to a PDF with the open item", [this, before, text, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        if (pdfs.size() != *before + 1) {
            ADD_FAILURE() << pdfs.size() - *before << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) std::system(("cp '" + pdfs.back().string() + "' '" + shots + "/customer_ledger.pdf'").c_str());
        *text = PdfText(pdfs.back());
        EXPECT_NE(text->find("Customer Ledger"), std::string::npos) << *text;
        EXPECT_NE(text->find("C1"), std::string::npos) << *text;
        return true;
    });
    EXPECT_EQ(Run(), 0);

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
