// road_document_runs_test.cpp - a user prints orders in one run: the
// order form's choice is imported from a text file (the orders print on
// the invoice's form), two orders are typed and stored, then File >
// Documents lists the runs; "Print orders" opens its selection window,
// where the range of both orders goes to the printer. The PDF holds one
// page per order with its number, customer and items, and the company
// file holds both orders marked printed. The second invoice form prints a
// cash invoice and a credit note without an account or a bar code to pay
// by, an invoice with both.
// Menus: in Sales, Registers > Orders (Ctrl+9); File > Windows... > "Sales
// invoices", File > Documents... > "Payment reminders", File > Windows... >
// "Printers", File > Documents... > "Print orders", File > Documents... >
// "Print invoices, second form".
// Windows: Order, Order list, Documents, Order print run, Sales invoice,
// Payment reminder run, Printer (New in the printer list), Invoice print
// run.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <ctime>
#include <functional>
#include <iostream>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "tests/roads/road_form_steps.h"

namespace {

constexpr int Order = 352, OrderList = 351, DocumentList = 8, OrderRun = 436, SalesInvoice = 347,
              ReminderRun = 453, PrinterRow = 408, Preview = 5, InvoiceRun = 432;
constexpr int ColItem = 0;
namespace fs = std::filesystem;

class DocumentRunsRoad : public RoadTest {
protected:
    // Types and posts an invoice of customer C1 dated 60 days back (with
    // 30 days' terms a month overdue); its number into the result.
    std::shared_ptr<std::string> PostOverdueInvoice()
    {
        std::time_t back = std::time(nullptr) - 60 * 24 * 3600;
        char date[16];
        std::strftime(date, sizeof date, "%d.%m.%Y", std::localtime(&back));
        Menu("File", "Windows...");
        ClickRow("Sales invoices");
        Key(PlKey::Return);
        ClickButton("New");
        Check("the invoice window opens", [] {
            EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
            return ActiveType() == SalesInvoice;
        });
        ClickField("Customer");
        Type("C1");
        Key(PlKey::Tab);
        ClickField("Invoice date");
        Key(PlKey::End);
        for (int i = 0; i < 12; i++) Key(PlKey::Back);
        Type(date);
        Key(PlKey::Tab);
        ClickCell(0, 1);
        Type("ITEM1");
        Key(PlKey::Tab);
        Type("1");
        Key(PlKey::Tab);
        ClickButton("Posted");
        ClickOk();
        auto number = std::make_shared<std::string>();
        Check("OK posts the invoice", [number] {
            EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
            *number = Shown("Number");
            return !number->empty();
        });
        Menu("Window", "Close all");
        return number;
    }
    // Opens the reminder run from File > Documents and selects the invoice
    // with the level raised.
    void ChooseReminderRun(std::shared_ptr<std::string> invoice)
    {
        Menu("File", "Documents...");
        ClickRow("Payment reminders");
        Key(PlKey::Return);
        Check("the reminders' selection window opens", [] {
            EXPECT_EQ(ActiveType(), ReminderRun) << ActiveTitle();
            return ActiveType() == ReminderRun;
        });
        ClickField("Invoice numbers");
        Type("the invoice's number", [invoice] { return *invoice; });
        ClickButton("Raise the reminder level");
    }
    // The invoice's reminder level stored in the company file.
    void CheckStoredLevel(const std::string &company, const std::string &invoice)
    {
        ASSERT_TRUE(OpenForCheck(company));
        std::vector<uint8_t> inv(IVVc::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
        EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::SerNr)), invoice);
        EXPECT_EQ(GetI32(inv.data(), IVVc::NoticeCount), 1);
        RecFreeMatrix(IVVc::Number, inv.data());
        CloseForCheck();
    }
    // Keeps a printer, OFFICE, from File > Windows > Printers. Its printer
    // text names no destination, so a form printed on it goes where the
    // run's window says (a form choice without a printer takes the first).
    void DefineOfficePrinter()
    {
        Menu("File", "Windows...");
        ClickRow("Printers");
        Key(PlKey::Return);
        ClickButton("New");
        Check("New opens a printer", [] {
            EXPECT_EQ(ActiveType(), PrinterRow) << ActiveTitle();
            return ActiveType() == PrinterRow;
        });
        ClickField("Name");
        Type("OFFICE");
        ClickField("Printer");
        Type("Office laser");
        ClickButton("OK");
        Menu("Window", "Close all");
    }
    // The preview of a form run: the window a user sees, its title naming
    // the document, kept as a picture.
    void CheckPreview(std::function<std::string()> title, const char *shot)
    {
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        Check("the run shows its documents in the preview", [this, shots, shot, title] {
            EXPECT_EQ(ActiveType(), Preview) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
            EXPECT_EQ(ActiveTitle(), title());
            EXPECT_TRUE(FilesIn("print").empty());
            EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / shot));
            return ActiveType() == Preview;
        });
    }
    // A new order of customer C1 with one row: item and quantity; its
    // number into *number.
    void TypeOrder(const char *item, const char *qty, std::shared_ptr<std::string> number)
    {
        ClickButton("New");
        Check("New opens an order", [] {
            EXPECT_EQ(ActiveType(), Order) << ActiveTitle();
            return ActiveType() == Order;
        });
        ClickField("Customer");
        Type("C1");
        Key(PlKey::Tab);
        ClickCell(0, ColItem);
        Type(item);
        Key(PlKey::Tab);
        Type(qty);
        Key(PlKey::Tab);
        ClickOk();
        Check("OK stores the order", [number] {
            EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
            *number = Shown("Number");
            EXPECT_NE(*number, "");
            return !number->empty();
        });
    }
};

TEST_F(DocumentRunsRoad, OrdersOfARangePrintOnePageEach)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", [] { return ActiveType() == OrderList; });
    auto first = std::make_shared<std::string>(), second = std::make_shared<std::string>();
    TypeOrder("ITEM1", "2", first);
    TypeOrder("ITEM2", "3", second);
    Menu("Window", "Close all");

    Menu("File", "Documents...");
    Check("File > Documents lists the runs", [] {
        EXPECT_EQ(ActiveType(), DocumentList) << ActiveTitle();
        std::vector<std::string> rows = ListRows();
        bool found = false;
        for (const std::string &r : rows) found = found || r.find("Print orders") != std::string::npos;
        EXPECT_TRUE(found) << ::testing::PrintToString(rows);
        return ActiveType() == DocumentList && found;
    });
    ClickRow("Print orders");
    Key(PlKey::Return);
    Check("the run's selection window opens", [] {
        EXPECT_EQ(ActiveType(), OrderRun) << ActiveTitle();
        return ActiveType() == OrderRun;
    });
    ClickField("Order numbers");
    Do("type the range of both orders", [first, second] {
        ScriptText(*first + ":" + *second);
        return true;
    });
    ClickButton("Printer");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the selection window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "order_run_selection.png"));
        return true;
    });
    AnswerPrint(true);
    AnswerPrint(true);
    ClickButton("OK");
    Check("each order printed on its own page", [this, first, second, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 2u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 2) return false;
        const char *items[2] = {"ITEM1", "ITEM2"};
        const std::string numbers[2] = {*first, *second};
        for (int k = 0; k < 2; k++) {
            // Each PDF read by the item its order holds, not by its place.
            const fs::path pdf = FileHolding(pdfs, items[k]);
            if (pdf.empty()) continue;
            if (shots) fs::copy_file(pdf, fs::path(shots) / ("order_run_" + std::to_string(k) + ".pdf"),
                                     fs::copy_options::overwrite_existing);
            const std::string text = PdfText(pdf);
            EXPECT_NE(text.find(numbers[k]), std::string::npos) << text;
            EXPECT_NE(text.find(items[k]), std::string::npos) << text;
            EXPECT_EQ(text.find(items[1 - k]), std::string::npos) << text;
            EXPECT_NE(text.find("First Customer"), std::string::npos) << text;
            EXPECT_NE(text.find("Demo Company AB"), std::string::npos) << text;
        }
        EXPECT_FALSE(Told("not printed")) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // Both orders are in the company file, marked printed.
    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(ORVc::Number), 2u);
    for (int32_t position = 1; position <= 2; position++) {
        std::vector<uint8_t> order(ORVc::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(ORVc::Number, position, order.data(), &id));
        const std::string number = std::to_string(GetU32(order.data(), ORVc::SerNr));
        EXPECT_TRUE(number == *first || number == *second) << number;
        EXPECT_EQ(GetU16(order.data(), ORVc::Printed), 1) << number;
        RecFreeMatrix(ORVc::Number, order.data());
    }
    CloseForCheck();
}

// A posted invoice fell due a month ago: the reminder run over its
// number prints it with the level raised to 1 and stores that level.
TEST_F(DocumentRunsRoad, OverdueInvoiceIsRemindedAndItsLevelStored)
{
    const std::string company = StartNewCompany();
    std::shared_ptr<std::string> number = PostOverdueInvoice();
    Menu("Module", "Sales");
    ChooseReminderRun(number);
    ClickButton("Printer");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the reminders' selection window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "reminder_run_selection.png"));
        return true;
    });
    AnswerPrint(true);
    ClickButton("OK");
    Check("the reminder printed", [this, number, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 1) return false;
        if (shots) fs::copy_file(pdfs[0], fs::path(shots) / "reminder_run.pdf", fs::copy_options::overwrite_existing);
        const std::string text = PdfText(pdfs[0]);
        EXPECT_NE(text.find(*number), std::string::npos) << text;
        EXPECT_NE(text.find("First Customer"), std::string::npos) << text;
        return true;
    });
    EXPECT_EQ(Run(), 0);
    CheckStoredLevel(company, *number);
}

// With a printer kept whose printer text names no destination, the
// window's choice decides: "Screen" shows the orders of the run in the
// preview and prints nothing; the reminder run then shows its reminder
// there too and stores the raised level.
TEST_F(DocumentRunsRoad, RunsOnAKeptPrinterGoToThePreview)
{
    const std::string company = StartNewCompany();
    DefineOfficePrinter();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", [] { return ActiveType() == OrderList; });
    auto order = std::make_shared<std::string>();
    TypeOrder("ITEM1", "2", order);
    Menu("Window", "Close all");

    Menu("File", "Documents...");
    ClickRow("Print orders");
    Key(PlKey::Return);
    Check("the orders' selection window opens", [] { return ActiveType() == OrderRun; });
    ClickField("Order numbers");
    Type("the order's number", [order] { return *order; });
    ClickButton("Screen");
    ClickButton("OK");
    CheckPreview([order] { return "Order  " + *order; }, "order_run_preview.png");
    Menu("Window", "Close all");

    // An invoice a month overdue, typed and posted, then reminded.
    std::shared_ptr<std::string> invoice = PostOverdueInvoice();
    ChooseReminderRun(invoice);
    ClickButton("Screen");
    ClickButton("OK");
    CheckPreview([invoice] { return "Payment reminder, invoice  " + *invoice; }, "reminder_run_preview.png");
    EXPECT_EQ(Run(), 0);
    CheckStoredLevel(company, *invoice);
}

// The second invoice form prints every kind of invoice on the demo's
// invoice form, payment slip and all: an invoice, a paid cash invoice
// (the demo's payment mode K as its terms) and a credit note (terms of
// the credit-note kind) typed and posted, then File > Documents... >
// "Print invoices, second form" over the three. The invoice's page names
// the bank account and bank giro to pay to and bears a bar code a reader
// scans; the cash invoice's and the credit note's pages ask for nothing:
// neither account, and no bar code to scan.
TEST_F(DocumentRunsRoad, TheSecondFormAsksNoPaymentOfACashInvoiceOrACreditNote)
{
    StartNewCompany();
    TypeCreditNoteTerms("CR");
    Menu("Module", "Sales");
    // Each kind typed and posted in the invoice window; its number kept.
    auto post = [this](const std::string &terms, int firstRow, std::shared_ptr<std::string> number) {
        NewFromWindowList("Sales invoices", WinTypes::SalesInvoiceList, SalesInvoice);
        ClickField("Customer");
        Type("C1");
        Key(PlKey::Tab);
        if (!terms.empty()) {
            ClickButton("Terms");
            Retype("Payment terms", terms);
            Key(PlKey::Tab);
            ClickButton("Rows");
        }
        ClickCell(firstRow, 1);
        Type("ITEM1");
        Key(PlKey::Tab);
        Type("2");
        Key(PlKey::Tab);
        ClickButton("Posted");
        auto told = CountTold();
        ClickOk();
        Check("OK posts the invoice on terms \"" + terms + "\"", [number, told] {
            EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
            *number = Shown("Number");
            return TitleTells("viewing") && !number->empty();
        });
        Menu("Window", "Close all");
    };
    auto invoice = std::make_shared<std::string>(), cash = std::make_shared<std::string>(),
         credit = std::make_shared<std::string>();
    post("", 0, invoice);
    post("K", 0, cash);
    post("CR", 1, credit);   // a credit note's first row names what it credits

    Menu("File", "Documents...");
    ClickRow("Print invoices, second form");
    Key(PlKey::Return);
    Check("the second form's selection window opens", Opened(InvoiceRun));
    ClickField("Invoice numbers");
    Type("the three invoices", [invoice, credit] { return *invoice + ":" + *credit; });
    ClickButton("Printer");
    for (int i = 0; i < 3; i++) AnswerPrint(true);
    ClickButton("OK");
    const bool scan = CanScan();
    if (!scan) std::cout << "zbarimg not installed: the bar codes are not scanned\n";
    Check("only the invoice asks to be paid", [this, invoice, cash, credit, scan] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 3u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 3) return false;
        const std::pair<std::shared_ptr<std::string>, bool> pages[] = {{invoice, true}, {cash, false}, {credit, false}};
        for (const auto &[number, asks] : pages) {
            const fs::path pdf = FileHolding(pdfs, *number);
            EXPECT_FALSE(pdf.empty()) << "no page of " << *number;
            if (pdf.empty()) continue;
            const std::string text = PdfText(pdf);
            for (const char *account : {"5000-1234567", "5050-1055"})
                EXPECT_EQ(text.find(account) != std::string::npos, asks) << *number << " " << account << ":\n" << text;
            if (scan) {
                EXPECT_EQ(!ScannedBarcode(pdf, dir / ("scan_" + *number)).empty(), asks) << *number;
            }
        }
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
