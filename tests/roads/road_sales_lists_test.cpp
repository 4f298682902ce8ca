// road_sales_lists_test.cpp - the sales lists as a bookkeeper reaches
// them: an invoice of two ITEM1 for C1 made in its window; in the Sales
// module Ctrl+R lists the document lists, the VAT-code check, the invoice
// journals, the overdue items and the statements of open invoices, each
// opening its selection window, and File > Documents the reminder run
// with interest. The invoice approved by File > Maintenance leaves an
// open item, and Ctrl+P prints the overdue items of C1 to a PDF whose
// text holds the invoice's number and open amount; the company file then
// holds the open item those figures came from.
// Menus: File > Windows... > "Sales invoices", File > Documents... >
// "Reminders with interest", File > Maintenance... > "Approve sales
// invoices", File > Reports (Ctrl+R) > "Overdue Items and Interest", File >
// Print (Ctrl+P).
// Windows: Windows, Reports, Documents, Sales invoice, Approve sales
// invoices (routine 8), Overdue items selection, Reminder run with interest
// selection.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int WindowList = 12, ReportList = 6, DocumentList = 8, SalesInvoice = 347, ApproveSel = 553;
constexpr int OverdueSel = 519, ReminderSel = 448;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

TEST_F(RoadTest, TheSalesListsOpenAndTheOverdueItemsShowAnOpenInvoice) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");

    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", Opened(SalesInvoice));
    std::shared_ptr<std::string> number = TypeOneRowDocument("C1", ColItem, "ITEM1", "2");
    Menu("Window", "Close all");
    Menu("Module", "Sales");

    const std::pair<const char *, int> windows[] = {
        {"Delivery List", 419},         {"Goods Received", 454},           {"Sales Orders", 456},
        {"Quotations", 458},         {"VAT Code Check", 450},           {"Purchase Invoice Journal", 462},
        {"Sales Invoice Journal", 536}, {"Statement of Open Invoices", 449}};
    for (const auto &[row, type] : windows) ReportWindowOpens(row, type);
    Menu("File", "Documents...");
    Check("File > Documents lists the runs", Opened(DocumentList));
    Key(PlKey::End);
    ClickRow("Reminders with interest");
    Key(PlKey::Return);
    Check("the reminder run's selection window opens", Opened(ReminderSel));
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

    auto before = std::make_shared<std::vector<fs::path>>();
    auto text = std::make_shared<std::string>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportList));
    Key(PlKey::End);
    ClickRow("Overdue Items and Interest");
    AnswerPrint(true);
    Key('P', false, true);
    Check("the overdue items' selection opens", Opened(OverdueSel));
    ClickField("Customers");
    Type("C1");
    // The list opens with the overdue items only, as the reminders take
    // them; the invoice is not due yet, so the box is cleared to list it.
    ClickButton("Overdue items only");
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "overdue_items_sel.png"));
        return true;
    });
    ClickButton("OK");
    Check("printed to a PDF with the open item", [this, before, text, shots] {
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        if (pdfs.size() != 1) {
            ADD_FAILURE() << pdfs.size() << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) std::system(("cp '" + pdfs.back().string() + "' '" + shots + "/overdue_items.pdf'").c_str());
        *text = PdfText(pdfs.back());
        EXPECT_NE(text->find("Overdue Items and Interest"), std::string::npos) << *text;
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
    EXPECT_DOUBLE_EQ(DecToDouble(&open), 250);   // 2 x 100 and 25 % VAT
    EXPECT_NE(text->find("250,00"), std::string::npos) << *text;
    EXPECT_NE(text->find(*number), std::string::npos) << *number << " in\n" << *text;
    CloseForCheck();
}

}  // namespace
