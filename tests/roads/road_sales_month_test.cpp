// road_sales_month_test.cpp - a sales month on the demo company as a new
// user walks it, with nothing imported, by keys and clicks only:
//
// a customer typed in the customer window (Ctrl+1 list, New) and an item
// in the Stock module's item window; a quotation for that customer whose
// row's item is chosen by Ctrl+J from the item list; Operations > Order,
// Delivery, the delivery shipped from its list, the order's Invoice; the
// invoice printed (its PDF read) and posted; a receipt for it, approved from the receipt list, closes its open item. A second
// invoice dated 60 days back stays unpaid and File > Documents >
// "Payment reminders" prints its reminder and says so.
//
// The company file then holds the customer, the item, the order, both
// invoices posted, the receipt posted, no open item for the paid invoice
// and the reminder level raised on the unpaid one.
// Menus: in Sales, Registers > Customers (Ctrl+1), Registers > Quotations,
// Operations > Order, Operations > Delivery, Registers > Orders (Ctrl+9),
// Operations > Invoice, Registers > Customer receipts (Ctrl+7), Operations
// > Approve; in Stock, Registers > Item, Registers > Deliveries, Operations
// > Ship marked; File > Print (Ctrl+P), File > Reports (Ctrl+R) > "Sales
// transaction journal", File > Windows... > "Sales invoices", File >
// Documents... > "Payment reminders".
// Windows: Customer list, Customers, Item, Item list, Quotation list,
// Quotation, Sales journal selection, Order, Order list, Delivery, Delivery
// list, Sales invoice, Reports, Receipt list, Receipt, Documents, Payment
// reminder run.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <ctime>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int CustomerList = 594, Customers = 590, Item = 195, ItemList = 42, QuotationList = 273, Quotation = 272,
              SalesJournalSel = 570, Order = 352, OrderList = 351, SalesInvoice = 347, ReportList = 6,
              ReceiptList = 40, Receipt = 41, DocumentList = 8, ReminderRun = 453;
namespace fs = std::filesystem;

const std::string CustCode = "MONTH1", CustName = "Month Trading", ItemCode = "LAMP", ItemName = "Desk lamp";

class SalesMonthRoad : public RoadTest {
protected:
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");

    void Shot(const std::string &name, bool frame = false)
    {
        Do("keep a picture: " + name, [this, name, frame] {
            EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / ("month_" + name + ".png"), frame));
            return true;
        });
    }
    // The one PDF written into the print folder since `before` was noted:
    // its text into *text, a copy kept as `name` with pictures on.
    void ReadNewPdf(const std::string &name, std::shared_ptr<std::vector<fs::path>> before,
                    std::shared_ptr<std::string> text)
    {
        Check(name + " printed", [this, name, before, text] {
            std::vector<fs::path> pdfs = NewFilesIn("print", *before);
            if (pdfs.size() != 1) {
                ADD_FAILURE() << name << ": " << pdfs.size() << " PDFs; told "
                              << ::testing::PrintToString(Messages());
                return false;
            }
            *text = PdfText(pdfs.back());
            if (shots)
                fs::copy_file(pdfs.back(), fs::path(shots) / ("month_" + name + ".pdf"),
                              fs::copy_options::overwrite_existing);
            return true;
        });
    }
    // The PDFs of the print folder, noted when the step runs.
    std::shared_ptr<std::vector<fs::path>> NotePdfs()
    {
        auto before = std::make_shared<std::vector<fs::path>>();
        Do("note the PDFs", [this, before] {
            *before = FilesIn("print");
            return true;
        });
        return before;
    }
};

TEST_F(SalesMonthRoad, ASalesMonthFromCustomerToReminder)
{
    const std::string company = StartNewCompany();

    // ---- the customer ----------------------------------------------------
    Key('1', false, true);
    Check("Ctrl+1 opens the customer list", Opened(CustomerList));
    ClickButton("New");
    Check("New opens a new customer on Code", [] {
        EXPECT_EQ(ActiveType(), Customers) << ActiveTitle();
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Code");
        return ActiveType() == Customers;
    });
    // The code field offers the next number of the series, selected: the
    // code typed takes its place.
    Type(CustCode);
    ClickField("Name");
    Type(CustName);
    Key(PlKey::Tab);
    ClickOk();
    Check("OK stores the customer", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Shot("customer");
    Menu("Window", "Close all");

    // ---- the item ----------------------------------------------------------
    Menu("Module", "Stock");
    Menu("Registers", "Item");
    Check("the register popup opens the item window", Opened(Item));
    ClickField("Code");
    Type(ItemCode);
    ClickField("Name");
    Type(ItemName);
    ClickField("Price");
    Type("80");
    Key(PlKey::Tab);
    ClickOk();
    Check("OK stores the item", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Shot("item");
    Menu("Window", "Close all");

    // ---- quotation, order, delivery, invoice ------------------------------
    Menu("Module", "Sales");
    Menu("Registers", "Quotations");
    Check("the register popup opens the quotation list", Opened(QuotationList));
    ClickButton("New");
    Check("New opens a quotation", Opened(Quotation));
    ClickField("Customer");
    Type(CustCode);
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Key('J', false, true);
    Check("Ctrl+J on the item cell opens the item list", Opened(ItemList));
    Type(ItemCode);
    Key(PlKey::Return);
    Check("Return in Find selects the new item", [] { return ActiveType() == ItemList; });
    Shot("item_list");
    Key(PlKey::Return);
    Check("the second Return chooses it into the row", [] {
        EXPECT_EQ(ActiveType(), Quotation) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "cell");
        return ActiveType() == Quotation;
    });
    Type("3");
    Key(PlKey::Tab);
    Check("the item's price makes the quotation's net", [] {
        EXPECT_EQ(Shown("Net"), "240,00");
        return true;
    });
    ClickOk();
    Check("OK stores the quotation", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Shot("quotation");

    Menu("Operations", "Order");
    auto order = std::make_shared<std::string>();
    Check("Order makes the order and shows it", [order] {
        EXPECT_EQ(ActiveType(), Order) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), CustCode);
        EXPECT_EQ(Shown("Net"), "240,00");
        *order = Shown("Number");
        return ActiveType() == Order && !order->empty();
    });
    auto delivery = MakeOrderDelivery();
    Check("the delivery names its order", [order] {
        EXPECT_EQ(Shown("Order"), *order);
        return true;
    });
    ShipDelivery(delivery);
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(OrderList));
    FindRow("the order", order);
    Key(PlKey::Return);
    Check("the order opens again", [order] {
        EXPECT_EQ(Shown("Number"), *order);
        return ActiveType() == Order;
    });
    Menu("Operations", "Invoice");
    auto invoice = std::make_shared<std::string>();
    Check("Invoice makes the order's invoice", [invoice] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), CustCode);
        EXPECT_EQ(Shown("Name"), CustName);
        EXPECT_EQ(Shown("Net"), "240,00");
        EXPECT_EQ(Shown("Total"), "300,00");
        *invoice = Shown("Number");
        return ActiveType() == SalesInvoice && !invoice->empty();
    });

    // ---- printed and posted -----------------------------------------------
    auto before = NotePdfs();
    AnswerPrint(true);
    Key('P', false, true);
    auto page = std::make_shared<std::string>();
    ReadNewPdf("invoice", before, page);
    Check("the invoice's page names the customer, the item and the total", [page, invoice] {
        for (const std::string &want : {CustName, ItemCode, ItemName, std::string("300,00"), *invoice})
            EXPECT_NE(page->find(want), std::string::npos) << want << " in\n" << *page;
        return true;
    });
    ClickButton("Posted");
    ClickOk();
    Check("OK posts the invoice", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Shot("invoice");

    // ---- the sales journal, with the selection it opens with -------------
    Menu("Window", "Close all");
    auto journal = ReportToPreviewAndPdf("Sales transaction journal", SalesJournalSel, [] {}, "month_journal");
    Check("the sales journal lists the posted invoice", [journal, invoice] {
        EXPECT_NE(journal->find(*invoice), std::string::npos) << *journal;
        return true;
    });

    // ---- the receipt --------------------------------------------------------
    Menu("Window", "Close all");
    Key('7', false, true);
    Check("Ctrl+7 opens the receipt list", Opened(ReceiptList));
    ClickButton("New");
    Check("New opens a receipt", Opened(Receipt));
    Type("K");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("the invoice's number", [invoice] { return *invoice; });
    Key(PlKey::Tab);
    Check("the invoice fills the receipt", [] {
        EXPECT_EQ(Shown("Amount received"), "300,00");
        return true;
    });
    ClickOk();
    auto receipt = std::make_shared<std::string>();
    Check("OK stores the receipt", [receipt] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *receipt = Shown("Number");
        return TitleTells("viewing") && !receipt->empty();
    });
    Shot("receipt");
    Key('7', false, true);
    Check("Ctrl+7 brings the receipt list back", Opened(ReceiptList));
    FindRow("the receipt", receipt);
    Menu("Operations", "Approve");
    Check("Approve posts the receipt", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });

    // ---- an unpaid invoice and its reminder -------------------------------
    Menu("Window", "Close all");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("a new invoice", Opened(SalesInvoice));
    ClickField("Customer");
    Type(CustCode);
    Key(PlKey::Tab);
    ClickField("Invoice date");
    Key(PlKey::End);
    for (int i = 0; i < 12; i++) Key(PlKey::Back);
    Type(DayText(-60));
    Key(PlKey::Tab);
    ClickCell(0, 1);
    Type(ItemCode);
    Key(PlKey::Tab);
    Type("1");
    Key(PlKey::Tab);
    ClickButton("Posted");
    ClickOk();
    auto late = std::make_shared<std::string>();
    Check("OK posts the second invoice", [late] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *late = Shown("Number");
        return TitleTells("viewing") && !late->empty();
    });
    Menu("Window", "Close all");
    Menu("File", "Documents...");
    Check("File > Documents lists the runs", Opened(DocumentList));
    ClickRow("Payment reminders");
    Key(PlKey::Return);
    Check("the reminders' selection window opens", Opened(ReminderRun));
    ClickField("Invoice numbers");
    Type("the unpaid invoice's number", [late] { return *late; });
    ClickButton("Raise the reminder level");
    ClickButton("Printer");
    Shot("reminder_selection");
    before = NotePdfs();
    AnswerPrint(true);
    ClickButton("OK");
    auto reminder = std::make_shared<std::string>();
    ReadNewPdf("reminder", before, reminder);
    Check("the reminder names the unpaid invoice and the run says so", [this, reminder, late] {
        for (const std::string &want : {std::string("Payment reminder"), CustName, *late, std::string("100,00")})
            EXPECT_NE(reminder->find(want), std::string::npos) << want << " in\n" << *reminder;
        EXPECT_TRUE(Told("Payment reminders: 1 printed into the folder " + (dir / "print").string()))
            << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // ---- the company file ---------------------------------------------------
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, CustCode, &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), CustName);
    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, ItemCode, &r));
    EXPECT_EQ(TextAt(r.data(), INVc::Name), ItemName);

    ASSERT_EQ(RegRecordCount(ORVc::Number), 1u);
    std::vector<uint8_t> o(ORVc::Size), orow(ORVc::Rows::Size);
    uint32_t id = 0, position = 0;
    ASSERT_TRUE(RecReadAt(ORVc::Number, 1, o.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(o.data(), ORVc::SerNr)), *order);
    EXPECT_EQ(TextAt(o.data(), ORVc::CustCode), CustCode);
    ASSERT_TRUE(MatrixRowRead(ORVc::Number, o.data(), 0, orow.data()));
    EXPECT_EQ(TextAt(orow.data(), ORVc::Rows::ItemCode), ItemCode);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(orow.data(), ORVc::Rows::QtyShipped), 3);
    RecFreeMatrix(ORVc::Number, o.data());

    ASSERT_EQ(RegRecordCount(IVVc::Number), 2u);
    for (int32_t p = 1; p <= 2; p++) {
        std::vector<uint8_t> inv(IVVc::Size);
        ASSERT_TRUE(RecReadAt(IVVc::Number, p, inv.data(), &id));
        const std::string number = std::to_string(GetU32(inv.data(), IVVc::SerNr));
        EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1) << number;
        EXPECT_EQ(TextAt(inv.data(), IVVc::CustCode), CustCode);
        if (number == *invoice) {
            EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::OrderNr)), *order);
            EXPECT_EQ(GetI32(inv.data(), IVVc::NoticeCount), 0);
        } else {
            EXPECT_EQ(number, *late);
            EXPECT_EQ(GetI32(inv.data(), IVVc::NoticeCount), 1);
        }
        RecFreeMatrix(IVVc::Number, inv.data());
    }

    ASSERT_EQ(RegRecordCount(IPVc::Number), 1u);
    std::vector<uint8_t> rc(IPVc::Size);
    ASSERT_TRUE(RecReadAt(IPVc::Number, 1, rc.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(rc.data(), IPVc::SerNr)), *receipt);
    EXPECT_EQ(GetU16(rc.data(), IPVc::Posted), 1);
    RecFreeMatrix(IPVc::Number, rc.data());

    // The paid invoice has no open item; the unpaid one keeps its own.
    std::vector<uint8_t> item(ARVc::Size);
    PutU32(item.data(), ARVc::InvoiceNr, (uint32_t)std::stoul(*invoice));
    EXPECT_FALSE(RecFind(ARVc::Number, item.data(), 1, 1, &id, &position));
    PutU32(item.data(), ARVc::InvoiceNr, (uint32_t)std::stoul(*late));
    EXPECT_TRUE(RecFind(ARVc::Number, item.data(), 1, 1, &id, &position));
    CloseForCheck();
}

}  // namespace
