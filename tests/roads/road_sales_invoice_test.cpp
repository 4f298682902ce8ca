// road_sales_invoice_test.cpp - a sales invoice as a new user makes it:
// File > Windows lists the sales invoices, New opens the invoice window,
// the customer C1 and two item rows are typed, the Posted box ticked and
// OK stores it; the voucher, the open item and the stock movement are in
// the company file; File > Print prints it to a one-page PDF with the
// form's title and the company's name (its own values are read in
// road_invoice_print_test.cpp), and refuses an invoice not stored; an unknown
// customer is refused with the cursor on the field.
// Menus: File > Windows... > "Sales invoices", File > Print (Ctrl+P).
// Windows: Sales invoice, Sales invoice list, Windows, Vendor.
#include "tests/roads/road_fixture.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int SalesInvoice = 347, SalesInvoiceList = 348, WindowList = 12;
constexpr int ColItem = 1, ColQty = 2;
namespace fs = std::filesystem;

TEST_F(RoadTest, SalesInvoiceIsTypedPostedAndPrinted)
{
    const std::string company = StartNewCompany();
    Menu("File", "Windows...");
    Check("the window list opens", [] {
        EXPECT_EQ(ActiveType(), WindowList) << ActiveTitle();
        return ActiveType() == WindowList;
    });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the sales invoice list opens", [] {
        EXPECT_EQ(ActiveType(), SalesInvoiceList) << ActiveTitle();
        return ActiveType() == SalesInvoiceList;
    });
    ClickButton("New");
    Check("New opens the invoice window on a new invoice at the customer", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Customer");
        return ActiveType() == SalesInvoice;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    Check("the customer fills in the name", [] {
        EXPECT_EQ(Shown("Name"), "First Customer");
        return true;
    });
    const char *items[2][2] = {{"ITEM1", "2"}, {"ITEM2", "3"}};
    for (int r = 0; r < 2; r++) {
        ClickCell(r, ColItem);
        Type(items[r][0]);
        Key(PlKey::Tab);
        Check("Tab goes to the quantity", [] { return FocusLabel() == "cell"; });
        Type(items[r][1]);
        Key(PlKey::Tab);
    }
    Check("the totals follow the rows", [] {
        EXPECT_EQ(Shown("Net"), "350,00");
        EXPECT_EQ(Shown("Total"), "437,50");
        return true;
    });
    // ORVEL_ROAD_SHOTS names a folder for a picture of the window and a
    // copy of the printed PDF, to look at.
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the invoice window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "invoice_window.png"));
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "frame.png", true));
        return true;
    });
    ClickButton("Posted");
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK posts the invoice", [number] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return TitleTells("viewing");
    });
    AnswerPrint(true);
    Key('P', false, true);   // File > Print
    Check("the invoice printed to a PDF", [this, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        if (pdfs.size() != 1) {
            ADD_FAILURE() << "PDFs printed: " << pdfs.size() << "; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) fs::copy_file(pdfs[0], fs::path(shots) / "invoice.pdf", fs::copy_options::overwrite_existing);
        // The demo form's title, the company's name and the page mark
        // print.
        std::string text = PdfText(pdfs[0]);
        EXPECT_NE(text.find("Invoice"), std::string::npos) << text;
        EXPECT_NE(text.find("Demo Company AB"), std::string::npos) << text;
        EXPECT_NE(text.find("1/1"), std::string::npos) << text;
        EXPECT_EQ(text.find('\f'), text.rfind('\f')) << "one page:\n" << text;
        // The demo's payment terms "30" print by their name.
        EXPECT_NE(text.find("30 days net"), std::string::npos) << text;
        return true;
    });
    // A new invoice for a customer that does not exist.
    ClickButton("New");
    ClickField("Customer");
    Type("NOBODY");
    Key(PlKey::Tab);
    Key('P', false, true);
    Check("an invoice not stored does not print", [this] {
        EXPECT_TRUE(Told("Store the invoice before printing it.")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FilesIn("print").size(), 1u);
        return true;
    });
    ClickOk();
    Check("an unknown customer is refused with the cursor on it", [] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Customer");
        EXPECT_EQ(Shown("Customer"), "NOBODY");
        return true;
    });
    ClickButton("Cancel");
    AnswerBox(kPlIdNo);
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> inv(IVVc::Size), row(1024);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::SerNr)), *number);
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    EXPECT_EQ(TextAt(inv.data(), IVVc::CustCode), "C1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(inv.data(), IVVc::Net), 2 * 100 + 3 * 50);
    const double total = RoadTest::AmountAt(inv.data(), IVVc::Total);
    EXPECT_DOUBLE_EQ(total, 437.5);
    EXPECT_EQ(MatrixRowCount(IVVc::Number, 0, inv.data()), 2);

    // The voucher: balanced.
    ASSERT_EQ(RegRecordCount(TRVc::Number), 1u);
    std::vector<uint8_t> voucher(TRVc::Size);
    ASSERT_TRUE(RecReadAt(TRVc::Number, 1, voucher.data(), &id));
    double sum = 0;
    int rows = MatrixRowCount(TRVc::Number, 0, voucher.data());
    EXPECT_GE(rows, 3);
    for (int i = 0; i < rows; i++) {
        ASSERT_TRUE(MatrixRowRead(TRVc::Number, voucher.data(), i, row.data()));
        sum += RoadTest::AmountAt(row.data(), TRVc::Rows::Amount);
    }
    EXPECT_NEAR(sum, 0, 0.005);
    // The open item of the whole total.
    std::vector<uint8_t> open(ARVc::Size);
    PutU32(open.data(), ARVc::InvoiceNr, GetU32(inv.data(), IVVc::SerNr));
    uint32_t position = 0;
    ASSERT_TRUE(RecFind(ARVc::Number, open.data(), 1, 1, &id, &position));
    EXPECT_NEAR(RoadTest::AmountAt(open.data(), ARVc::OpenAmount), total, 0.005);
    // The stock went out at the location: 2 of ITEM1 and 3 of ITEM2.
    for (auto [item, out] : {std::pair{"ITEM1", -2.0}, std::pair{"ITEM2", -3.0}}) {
        std::vector<uint8_t> stock(LSVc::Size);
        PString code;
        PStringFromC(code, item);
        PutText(stock.data(), LSVc::ItemCode, code);
        PStringFromC(code, "MAIN");
        PutText(stock.data(), LSVc::Location, code);
        ASSERT_TRUE(RecFindByIndex(LSVc::Number, "ItemLocation", stock.data(), 2, 1, &id, &position)) << item;
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(stock.data(), LSVc::InStock), out) << item;
    }
}

}  // namespace
