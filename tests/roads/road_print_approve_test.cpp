// road_print_approve_test.cpp - a user types two sales invoices without
// posting them and runs File > Documents > "Print and approve invoices"
// over their numbers as it opens ("Not printed before"): both are posted
// and printed, the status line says so, and a second run finds nothing
// left and says why. With Screen chosen the run shows the invoice in a
// preview and writes no file.
// Menus: File > Windows... > "Sales invoices", File > Documents... > "Print
// and approve invoices"; in Sales, Settings > Printing on save..., the
// invoice list's Operations > Post marked, Registers > Orders (Ctrl+9),
// Operations > Delivery; in Stock, Registers > Deliveries, Operations >
// Ship marked.
// With invoices and deliveries printed on posting and shipping, "Post
// marked" and "Ship marked" print them as their windows do.
// Windows: Sales invoice, Documents, Invoice print and approve run,
// Printing on save, Sales invoice list, Order list, Order, Delivery,
// Delivery list.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/toolbar.h"

namespace {

constexpr int SalesInvoice = 347, Preview = 5;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

class PrintApproveRoad : public RoadTest {
protected:
    // A new invoice of customer C1 with one row, stored unposted; its
    // number into the result.
    std::shared_ptr<std::string> TypeUnpostedInvoice(const char *item, const char *qty)
    {
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
        ClickCell(0, ColItem);
        Type(item);
        Key(PlKey::Tab);
        Type(qty);
        Key(PlKey::Tab);
        ClickOk();
        auto number = std::make_shared<std::string>();
        Check("OK stores the invoice unposted", [number] {
            EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
            *number = Shown("Number");
            return !number->empty();
        });
        Menu("Window", "Close all");
        return number;
    }
    // File > Documents (of the sales module), the invoice run's window
    // with the range typed, ordinary invoices ticked and the device
    // chosen; OK is left to the caller.
    void OpenInvoiceRun(std::shared_ptr<std::string> first, std::shared_ptr<std::string> last, const char *device)
    {
        Menu("Module", "Sales");
        OpenPrintAndApprove([first, last] { return *first + ":" + *last; }, "Invoices", device);
    }
};

TEST_F(PrintApproveRoad, UnpostedInvoicesArePostedAndPrintedOnce)
{
    const std::string company = StartNewCompany();
    auto first = TypeUnpostedInvoice("ITEM1", "2");
    auto second = TypeUnpostedInvoice("ITEM2", "3");

    OpenInvoiceRun(first, second, "Printer");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "invoice_run_selection.png"));
        return true;
    });
    AnswerPrint(true);
    AnswerPrint(true);
    ClickButton("OK");
    Check("both invoices printed, each on its own PDF, and the run says so", [this, first, second, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 2u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 2) return false;
        const std::string numbers[2] = {*first, *second};
        for (int k = 0; k < 2; k++) {
            // Each PDF read by the invoice number it holds, not by its place.
            const fs::path pdf = FileHolding(pdfs, numbers[k]);
            if (pdf.empty()) continue;
            if (shots) fs::copy_file(pdf, fs::path(shots) / ("invoice_run_" + std::to_string(k) + ".pdf"),
                                     fs::copy_options::overwrite_existing);
            const std::string text = PdfText(pdf);
            EXPECT_NE(text.find("First Customer"), std::string::npos) << text;
        }
        EXPECT_EQ(StatusLineText(), "2 invoices printed, 2 posted - to the printer");
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    // The same run again: nothing is left that was not printed.
    OpenInvoiceRun(first, second, "Printer");
    ClickButton("OK");
    Check("a second run prints nothing and says why", [this] {
        EXPECT_EQ(FilesIn("print").size(), 2u);
        EXPECT_TRUE(Told("Nothing to print: every invoice of the range was printed before"))
            << ::testing::PrintToString(Messages());
        return true;
    });
    // An empty range is told too.
    OpenInvoiceRun(std::make_shared<std::string>("900000"), std::make_shared<std::string>("900001"), "Printer");
    ClickButton("OK");
    Check("a range without invoices says so", [] {
        EXPECT_TRUE(Told("Nothing to print: nothing lies in the range")) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 2u);
    for (int32_t position = 1; position <= 2; position++) {
        std::vector<uint8_t> inv(IVVc::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(IVVc::Number, position, inv.data(), &id));
        EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1) << position;
        EXPECT_EQ(GetU16(inv.data(), IVVc::Printed), 1) << position;
        RecFreeMatrix(IVVc::Number, inv.data());
    }
    CloseForCheck();
}

TEST_F(PrintApproveRoad, ScreenShowsThePreviewAndWritesNoFile)
{
    const std::string company = StartNewCompany();
    auto number = TypeUnpostedInvoice("ITEM1", "1");
    OpenInvoiceRun(number, number, "Screen");
    ClickButton("OK");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Check("the invoice shows in a preview", [this, shots, number] {
        EXPECT_EQ(ActiveType(), Preview) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveTitle().find(*number), std::string::npos) << ActiveTitle();
        EXPECT_TRUE(FilesIn("print").empty());
        EXPECT_EQ(StatusLineText(), "1 invoice printed, 1 posted - on the screen");
        EXPECT_EQ(VerticalRuleThroughText(), "") << "the page edge crosses the invoice's texts";
        EXPECT_EQ(PreviewTextsTouch(), "") << "a label runs into its value";
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "invoice_run_preview.png"));
        return ActiveType() == Preview;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    RecFreeMatrix(IVVc::Number, inv.data());
    CloseForCheck();
}

// With invoices and deliveries printed as they are posted or shipped
// (Sales > Settings > Printing on save), "Post marked" in the invoice list
// and "Ship marked" in the delivery list print as posting or shipping in
// their windows does; the company file holds them posted and shipped and
// marked printed.
TEST_F(PrintApproveRoad, PostMarkedAndShipMarkedPrintAsTheirWindowsDo)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Menu("Settings", "Printing on save...");
    Check("the printing-on-save settings open", Opened(WinTypes::SetPrintOnSave));
    Retype("Invoice", "1");
    Retype("Delivery", "1");
    ClickOk();
    Check("OK stores them quietly", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return ActiveType() != WinTypes::SetPrintOnSave;
    });
    Menu("Window", "Close all");

    auto invoice = TypeUnpostedInvoice("ITEM1", "2");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the invoice list opens", Opened(WinTypes::SalesInvoiceList));
    FindRow("the invoice to post", invoice);
    AnswerPrint(true);
    Menu("Operations", "Post marked");
    Check("Post marked posts the invoice and prints it", [this, invoice] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 1) return false;
        const std::string text = PdfText(pdfs[0]);
        EXPECT_NE(text.find(*invoice), std::string::npos) << text;
        EXPECT_NE(text.find("First Customer"), std::string::npos) << text;
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(WinTypes::OrderList));
    ClickButton("New");
    Check("New opens an order", Opened(WinTypes::Order));
    TypeOneRowDocument("C1", 0, "ITEM1", "3");
    auto delivery = MakeOrderDelivery();
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    Menu("Registers", "Deliveries");
    Check("the delivery list", Opened(WinTypes::DeliveryList));
    FindRow("the delivery to ship", delivery);
    auto before = std::make_shared<std::vector<fs::path>>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    AnswerPrint(true);
    Menu("Operations", "Ship marked");
    Check("Ship marked ships the delivery and prints it", [this, before, delivery] {
        EXPECT_EQ(before->size(), 1u) << "the invoice printed before";
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 1) return false;
        const std::string text = PdfText(pdfs[0]);
        EXPECT_NE(text.find(*delivery), std::string::npos) << text;
        EXPECT_NE(text.find("First Customer"), std::string::npos) << text;
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> inv(IVVc::Size), del(SHVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    EXPECT_EQ(GetU16(inv.data(), IVVc::Printed), 1);
    RecFreeMatrix(IVVc::Number, inv.data());
    ASSERT_TRUE(RecReadAt(SHVc::Number, 1, del.data(), &id));
    EXPECT_EQ(GetU16(del.data(), SHVc::Shipped), 1);
    EXPECT_EQ(GetU16(del.data(), SHVc::Printed), 1);
    RecFreeMatrix(SHVc::Number, del.data());
    CloseForCheck();
}

}  // namespace
