// road_demo_forms_test.cpp - a new user's sales month on the demo company
// as DEFAULT.TXT makes it, with nothing imported: the documents the
// menus print come out on the demo's own forms.
//
// An order typed in its window prints from File > Documents > "Print
// orders" on the order form. A reminder run
// with no invoice numbers says why it made nothing; an invoice posted 98 days
// back (30 days' terms) is then reminded on the reminder form, which
// names the invoice, its dates, the days overdue and the demo company's
// bank account, and the run's last line says how many reminders it
// printed and into which folder. Run
// again for invoices reminded no time yet, it tells that none is left.
// Menus: in Sales, Registers > Orders (Ctrl+9), Registers > Quotations,
// Operations > Order; File > Documents... > "Payment reminders", File >
// Documents... > "Print orders", File > Windows... > "Sales invoices".
// Windows: Order, Order list, Order print run, Sales invoice, Payment
// reminder run, Quotation, Quotation list.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_form_steps.h"

#include <cstdlib>
#include <ctime>
#include <memory>
#include <sstream>

#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int Order = 352, OrderList = 351, OrderRun = 436, SalesInvoice = 347, ReminderRun = 453,
              Quotation = 272, QuotationList = 273;
namespace fs = std::filesystem;

std::vector<std::string> LinesWith(const std::string &page, const std::string &word);

class DemoFormsRoad : public RoadTest {
protected:
    // The PDFs printed so far, each copied to the pictures' folder as
    // `shot` and a number when ORVEL_ROAD_SHOTS is set; their texts.
    std::vector<std::string> PrintedTexts(const std::string &shot)
    {
        std::vector<std::string> texts;
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        int k = 0;
        for (const fs::path &pdf : FilesIn("print")) {
            if (shots)
                fs::copy_file(pdf, fs::path(shots) / (shot + std::to_string(k++) + ".pdf"),
                              fs::copy_options::overwrite_existing);
            texts.push_back(PdfText(pdf));
        }
        return texts;
    }
    // Opens the reminder run from File > Documents with `range` typed as
    // its invoice numbers, the level raised, to the printer.
    void RunReminders(std::function<std::string()> range)
    {
        Menu("File", "Documents...");
        ClickRow("Payment reminders");
        Key(PlKey::Return);
        Check("the reminders' selection window opens", [] {
            EXPECT_EQ(ActiveType(), ReminderRun) << ActiveTitle();
            return ActiveType() == ReminderRun;
        });
        ClickField("Invoice numbers");
        Type("the invoice numbers", std::move(range));
        ClickButton("Raise the reminder level");
        ClickButton("Printer");
        AnswerPrint(true);
        ClickButton("OK");
    }
};

TEST_F(DemoFormsRoad, OrdersAndRemindersPrintOnTheDemoForms)
{
    const std::string company = StartNewCompany();

    // An order of two ITEM1 to C1, printed by its run.
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", [] { return ActiveType() == OrderList; });
    ClickButton("New");
    Check("New opens an order", [] { return ActiveType() == Order; });
    std::shared_ptr<std::string> order = TypeOneRowDocument("C1", 0, "ITEM1", "2");
    Menu("Window", "Close all");
    Menu("File", "Documents...");
    ClickRow("Print orders");
    Key(PlKey::Return);
    Check("the orders' selection window opens", [] { return ActiveType() == OrderRun; });
    ClickField("Order numbers");
    Type("the order's number", [order] { return *order; });
    ClickButton("Printer");
    AnswerPrint(true);
    ClickButton("OK");
    Check("the order printed on the order form", [this, order] {
        std::vector<std::string> texts = PrintedTexts("demo_order_");
        EXPECT_EQ(texts.size(), 1u) << ::testing::PrintToString(Messages());
        if (texts.size() != 1) return false;
        for (const char *want : {"Order confirmation", "Order number", "First Customer", "ITEM1", "Blue widget",
                                 "Demo Company AB", "Total"})
            EXPECT_NE(texts[0].find(want), std::string::npos) << want << " in\n" << texts[0];
        EXPECT_NE(texts[0].find(*order), std::string::npos) << texts[0];
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // Reminders with no range, then over a range with nothing overdue.
    RunReminders([] { return std::string(); });
    Check("an empty range is told, nothing printed", [this] {
        EXPECT_TRUE(Told("Payment reminders: nothing made; no invoice numbers were given"))
            << ::testing::PrintToString(Messages());
        EXPECT_EQ(FilesIn("print").size(), 1u);
        return true;
    });
    Menu("Window", "Close all");

    // An invoice of one ITEM1 to C1 dated 98 days back (due 68 days ago),
    // posted.
    std::time_t back = std::time(nullptr) - 98 * 24 * 3600;
    char date[16];
    std::strftime(date, sizeof date, "%d.%m.%Y", std::localtime(&back));
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("the invoice window opens", [] { return ActiveType() == SalesInvoice; });
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
    auto invoice = std::make_shared<std::string>();
    Check("OK posts the invoice", [invoice] {
        *invoice = Shown("Number");
        return !invoice->empty();
    });
    Menu("Window", "Close all");

    RunReminders([invoice] { return *invoice; });
    Check("the invoice is reminded on the reminder form", [this, invoice] {
        std::vector<std::string> texts = PrintedTexts("demo_reminder_");
        EXPECT_EQ(texts.size(), 2u) << ::testing::PrintToString(Messages());
        if (texts.size() != 2) return false;
        const std::string &text = texts[1].find("Payment reminder") != std::string::npos ? texts[1] : texts[0];
        for (const char *want : {"Payment reminder", "First Customer", "Days overdue", "68", "Amount due", "125,00"})
            EXPECT_NE(text.find(want), std::string::npos) << want << " in\n" << text;
        // Where to pay: the demo company's bank account beside its words.
        const std::vector<std::string> bank = LinesWith(text, "Our bank account");
        EXPECT_EQ(bank.size(), 1u) << text;
        for (const std::string &line : bank) EXPECT_NE(line.find("5000-1234567"), std::string::npos) << line;
        EXPECT_NE(text.find(*invoice), std::string::npos) << text;
        EXPECT_TRUE(Told("Payment reminders: 1 printed into the folder ")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told((fs::path(dir) / "print").string())) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(Told("No usable form")) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // Again for reminders sent 0 times: the invoice has had its first.
    Menu("File", "Documents...");
    ClickRow("Payment reminders");
    Key(PlKey::Return);
    ClickField("Invoice numbers");
    Type("the invoice's number", [invoice] { return *invoice; });
    ClickField("Reminders sent");
    Key(PlKey::End);
    for (int i = 0; i < 4; i++) Key(PlKey::Back);
    Type("0");
    Key(PlKey::Tab);
    ClickButton("Printer");
    ClickButton("OK");
    Check("a run that finds no invoice reminded so often says so", [this] {
        EXPECT_TRUE(Told("nothing made; no overdue invoice has been reminded 0 times"))
            << ::testing::PrintToString(Messages());
        EXPECT_EQ(FilesIn("print").size(), 2u);
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

// The lines of a printed page that hold `word`.
std::vector<std::string> LinesWith(const std::string &page, const std::string &word)
{
    std::vector<std::string> lines;
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);)
        if (line.find(word) != std::string::npos) lines.push_back(line);
    return lines;
}

// A page of a document to the demo's euro customer: its net, VAT and
// total lines each name the currency beside the amount.
void ExpectTotalsInEuros(const std::string &page)
{
    const std::vector<std::string> net = LinesWith(page, "Net"), total = LinesWith(page, "Total");
    ASSERT_FALSE(net.empty()) << page;
    ASSERT_FALSE(total.empty()) << page;
    EXPECT_NE(net.back().find("EUR"), std::string::npos) << net.back();
    EXPECT_NE(total.back().find("EUR"), std::string::npos) << total.back();
    EXPECT_EQ(LinesWith(page, "EUR").size(), 3u) << "beside the net, the VAT and the total:\n" << page;
}

// A quotation, the order made from it and an invoice for the demo's euro
// customer C2, each printed on the demo's own form: every total names
// the document's currency.
TEST_F(DemoFormsRoad, DocumentsInEurosNameTheirCurrencyBesideEveryTotal)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Menu("Registers", "Quotations");
    Check("the quotation list opens", Opened(QuotationList));
    ClickButton("New");
    Check("New opens a quotation", Opened(Quotation));
    ClickField("Customer");
    Type("C2");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    OkStores("the euro quotation");
    auto quotation = PrintActiveDocument(*this, "euro_quotation");
    Check("the quotation's totals are in euros", [quotation] {
        ExpectTotalsInEuros(*quotation);
        return true;
    });
    Menu("Operations", "Order");
    Check("the quotation makes its order", Opened(Order));
    auto order = PrintActiveDocument(*this, "euro_order");
    Check("the order's totals are in euros", [order] {
        ExpectTotalsInEuros(*order);
        return true;
    });
    Menu("Window", "Close all");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("the invoice window opens", Opened(SalesInvoice));
    TypeOneRowDocument("C2", 1, "ITEM1", "1");
    auto invoice = PrintActiveDocument(*this, "euro_invoice");
    Check("the invoice's totals are in euros", [invoice] {
        ExpectTotalsInEuros(*invoice);
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
