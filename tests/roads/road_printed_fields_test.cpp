// road_printed_fields_test.cpp - fields that documents print, typed where
// a user types them, on the demo company. A customer gets its phone on
// the Address page and its reference, our reference and third customer
// reference on the Sales page; the invoice made for it prints the phone,
// our reference and the third reference, and the order prints the
// reference and the phone; the order's delivery note names the customer
// under "Customer" and under "Deliver to". The invoice heads its VAT
// summary; the invoice of a customer whose zone charges no VAT prints
// none. A quotation's "valid until" date, typed on its Terms page, prints
// on the quotation; a quotation in euros prints its VAT amount beside the
// currency, 0,00 for a customer whose zone charges no VAT. An item
// structure's text shows beside it in the production made from it, and
// its extra cost goes into that production's rows. Two projects get the same two
// costs in a cost budget, the first with its "Row detail" switch on: the
// invoice that "Invoices from projects" makes for the first shows one row
// per cost, with its text, quantity and amount, the second's one row of
// their sum, shown and printed with the demo company's cost text. The
// company file then holds what was typed.
// Menus: in Sales, Registers > Customers, Registers > Sales invoices,
// Registers > Orders, Operations > Delivery, Registers > Quotations; in
// Stock, Registers > Item structures, Registers > Productions; in
// Projects, Registers > Projects, Registers > Cost budgets; File > Print
// (Ctrl+P).
// Windows: Customer list, Customers, Sales invoice list, Sales invoice,
// Order list, Order, Delivery, Quotation list, Quotation, Item structure list, Item
// structure, Production list, Production, Project list, Project, Cost
// budget list, Cost budget.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/toolbar.h"

namespace {

namespace fs = std::filesystem;

const std::string Phone = "+46 8 555 0101", Reference = "Framework 900", OurRef = "Our ref 646",
                  ThirdRef = "Third ref 456";

constexpr int ProjectInvoicesSel = 554;

// A cost typed into a budget row: its text, unit price and quantity, and
// the amount spent the window makes of them.
struct BudgetCost {
    int row;
    std::string text, price, quantity, spent;
};
const std::vector<BudgetCost> Costs = {{0, "Cement", "50", "2", "100,00"}, {1, "Timber", "40", "3", "120,00"}};
// The demo company's text of a project invoice's row of summed costs.
const std::string CostRowText = "Materials and expenses";

// An item row of the invoice window as shown: item, quantity,
// description and sum.
struct InvoiceRowShown {
    std::string item, quantity, text, sum;
};

// The rows of the active invoice window that carry an amount.
std::vector<InvoiceRowShown> AmountRows()
{
    std::vector<InvoiceRowShown> rows;
    for (int r = 0;; r++) {
        const std::string sum = RoadTest::CellUnder("Sum", r);
        if (sum == "(no such cell)") break;
        if (sum.empty() || sum == "0,00") continue;
        rows.push_back({RoadTest::CellUnder("Item", r), RoadTest::CellUnder("Quantity", r),
                        RoadTest::CellUnder("Description", r), sum});
    }
    return rows;
}

std::string ShownRows(const std::vector<InvoiceRowShown> &rows)
{
    std::string s;
    for (const InvoiceRowShown &r : rows) s += r.item + " | " + r.quantity + " | " + r.text + " | " + r.sum + "\n";
    return s;
}

// Whether a printed invoice heads a VAT summary: a line that starts with
// the summary's "VAT %" (the rows' heading has it after other words).
bool HeadsVatSummary(const std::string &page)
{
    return !PrintedLinesStarting(page, "VAT %").empty();
}

class PrintedFieldsRoad : public RoadTest {
protected:
    // File > Maintenance, "Invoices from projects" for the project whose
    // code an earlier step read into `code`, alone; the invoice it made, by the number the status line names,
    // opened from the invoice list.
    void InvoiceProject(std::shared_ptr<std::string> code, const std::string &shot)
    {
        Menu("Window", "Close all");
        RunRoutine("Invoices from projects", ProjectInvoicesSel, {{"Project", [code] { return *code; }}},
                   ("project_invoice_" + shot + ".png").c_str());
        auto number = std::make_shared<std::string>();
        Check("the run names the one invoice it made", [number] {
            const std::string said = StatusLineText();
            EXPECT_EQ(said.rfind("1 invoice made, numbers ", 0), 0u) << said;
            const size_t at = said.find("numbers ");
            *number = at == std::string::npos ? "" : DigitsOf(said.substr(at));
            return !number->empty();
        });
        Menu("Window", "Close all");
        Menu("File", "Windows...");
        Check("the window list opens", Opened(WinTypes::WindowList));
        ClickRow("Sales invoices");
        Key(PlKey::Return);
        Check("the invoice list opens", Opened(WinTypes::SalesInvoiceList));
        FindRow("the invoice's number", number);
        Key(PlKey::Return);
        Check("the project's invoice opens as stored", [] {
            EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
            return Opened(WinTypes::SalesInvoice)();
        });
    }

    // Ctrl+P on the active stored document; the text of the PDF it
    // printed is in the result once that step ran.
    std::shared_ptr<std::string> PrintActive(const std::string &what)
    {
        auto before = std::make_shared<std::vector<fs::path>>();
        Do("note the PDFs", [this, before] {
            *before = FilesIn("print");
            return true;
        });
        AnswerPrint(true);
        Key('P', false, true);
        auto text = std::make_shared<std::string>();
        Check(what + " printed", [this, before, text, what] {
            std::vector<fs::path> pdfs = NewFilesIn("print", *before);
            EXPECT_EQ(pdfs.size(), 1u) << what << "; told " << ::testing::PrintToString(Messages());
            if (pdfs.size() != 1) return false;
            *text = PdfText(pdfs.back());
            // ORVEL_ROAD_SHOTS names a folder for a copy, to look at.
            if (const char *shots = std::getenv("ORVEL_ROAD_SHOTS"))
                fs::copy_file(pdfs.back(), fs::path(shots) / (what + ".pdf"), fs::copy_options::overwrite_existing);
            return true;
        });
        return text;
    }
};

TEST_F(PrintedFieldsRoad, CustomerQuotationStructureAndBudgetFieldsReachTheirDocuments)
{
    const std::string company = StartNewCompany();
    const std::string validUntil = DayText(45);   // not the 30 days a quotation proposes

    // ---- The customer's printed texts.
    Menu("Module", "Sales");
    NewFromList("Customers", WinTypes::CustomerList, WinTypes::Customers);
    ClickField("Code");
    Type("PRINT1");
    ClickField("Name");
    Type("Printed Fields AB");
    ClickButton("Address");
    ClickField("Phone");
    Type(Phone);
    ClickButton("Sales");
    ClickField("Reference");
    Type(Reference);
    ClickField("Our reference");
    Type(OurRef);
    ClickField("Customer reference 3");
    Type(ThirdRef);
    OkStores("customer");

    NewFromList("Sales invoices", WinTypes::SalesInvoiceList, WinTypes::SalesInvoice);
    TypeOneRowDocument("PRINT1", 1, "ITEM1", "1");
    auto invoice = PrintActive("the invoice");
    Check("the invoice prints the customer's phone and references, and its VAT summary", [invoice] {
        for (const std::string &want : {Phone, OurRef, ThirdRef})
            EXPECT_NE(invoice->find(want), std::string::npos) << want << " in\n" << *invoice;
        EXPECT_TRUE(HeadsVatSummary(*invoice)) << *invoice;
        return true;
    });

    NewFromList("Orders", WinTypes::OrderList, WinTypes::Order);
    TypeOneRowDocument("PRINT1", 0, "ITEM1", "1");
    auto order = PrintActive("the order");
    Check("the order prints the customer's reference, our reference and phone", [order] {
        for (const std::string &want : {Reference, OurRef, Phone})
            EXPECT_NE(order->find(want), std::string::npos) << want << " in\n" << *order;
        return true;
    });
    Menu("Operations", "Delivery");
    Check("the order's delivery opens", Opened(WinTypes::Delivery));
    auto delivery = PrintActive("the delivery note");
    Check("the delivery note names the customer under both its headings", [delivery] {
        std::istringstream in(*delivery);
        std::string line;
        while (std::getline(in, line) && line.find("Deliver to") == std::string::npos) {}
        std::getline(in, line);
        size_t names = 0;
        for (size_t at = 0; (at = line.find("Printed Fields AB", at)) != std::string::npos; at++) names++;
        EXPECT_EQ(names, 2u) << "under \"Customer\" and \"Deliver to\": " << line << "\n" << *delivery;
        return true;
    });

    // ---- The quotation's last day.
    NewFromList("Quotations", WinTypes::QuotationList, WinTypes::Quotation);
    ClickField("Customer");
    Type("PRINT1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("1");
    Key(PlKey::Tab);
    ClickButton("Terms");
    ClickField("Valid until");
    Type(validUntil);
    Key(PlKey::Tab);
    OkStores("quotation");
    auto quotation = PrintActive("the quotation");
    Check("the quotation prints its last day", [quotation, validUntil] {
        size_t at = quotation->find("Valid until");
        size_t end = at == std::string::npos ? at : quotation->find('\n', at);
        EXPECT_NE(at, std::string::npos) << *quotation;
        EXPECT_TRUE(at != std::string::npos && quotation->substr(at, end - at).find(validUntil) != std::string::npos)
            << *quotation;
        return true;
    });
    Menu("Window", "Close all");

    // ---- The structure's extra cost into a production.
    Menu("Module", "Stock");
    NewFromList("Item structures", WinTypes::StructureList, WinTypes::ItemStructure);
    ClickField("Code");
    Type("ITEM2");
    ClickField("Text");
    Type("Made of one ITEM1");
    TypeCell(0, 0, "ITEM1");
    TypeCell(0, 2, "1");
    TypeCell(0, 5, "7");
    OkStores("structure");
    NewFromList("Productions", WinTypes::ProductionList, WinTypes::Production);
    ClickField("Structure");
    Type("ITEM2");
    Key(PlKey::Tab);
    Check("the structure chosen shows its text beside it and fills the rows", [] {
        EXPECT_EQ(ShownBeside("Structure"), "Made of one ITEM1");
        EXPECT_EQ(CellUnder("Item", 0), "ITEM1");
        return true;
    });
    KeepPicture("production_from_structure");
    OkStores("production");
    Menu("Window", "Close all");

    // ---- The cost budget's row detail, and what project invoicing makes
    // of it: project 1's budget asks for one invoice row per budget row,
    // project 2's, the same costs without the switch, for the rows summed.
    Menu("Module", "Projects");
    auto detailed = std::make_shared<std::string>(), summed = std::make_shared<std::string>();
    for (const char *name : {"Budgeted works", "Summed works"}) {
        const bool detail = std::string(name) == "Budgeted works";
        auto code = detail ? detailed : summed;
        NewFromList("Projects", WinTypes::ProjectList, WinTypes::Project);
        ClickField("Customer");
        Type("C1");
        ClickField("Name");
        Type(name);
        OkStores("project");
        Check("the project shows the code it was given", [code] {
            *code = Shown("Code");
            EXPECT_NE(*code, "");
            return !code->empty();
        });
        NewFromList("Cost budgets", WinTypes::CostBudgetList, WinTypes::CostBudget);
        ClickField("Project");
        Type("the project's code", [code] { return *code; });
        ClickField("Item");
        Type("ITEM1");
        Key(PlKey::Tab);
        for (const BudgetCost &c : Costs) {
            TypeCell(c.row, 0, c.text);
            TypeCell(c.row, 3, c.price);
            TypeCell(c.row, 2, c.quantity);
            Key(PlKey::Tab);
        }
        if (detail) ClickButton("Row detail");
        Check("the budget's rows are spent as typed", [] {
            for (const BudgetCost &c : Costs) {
                EXPECT_EQ(CellUnder("Text", c.row), c.text);
                EXPECT_EQ(CellUnder("Amount", c.row), c.spent);
            }
            return true;
        });
        OkStores("cost budget");
    }
    InvoiceProject(detailed, "detailed");
    Check("with row detail the invoice has one row per budget row, each its cost's text, quantity and amount",
          [] {
              std::vector<InvoiceRowShown> rows = AmountRows();
              EXPECT_EQ(rows.size(), 2u) << ShownRows(rows);
              for (size_t i = 0; i < rows.size() && i < Costs.size(); i++) {
                  EXPECT_EQ(rows[i].item, "ITEM1");
                  EXPECT_NE(rows[i].text.find(Costs[i].text), std::string::npos) << rows[i].text;
                  EXPECT_EQ(rows[i].quantity, Costs[i].quantity);
                  EXPECT_EQ(rows[i].sum, Costs[i].spent);
              }
              return true;
          });
    InvoiceProject(summed, "summed");
    Check("without row detail the invoice sums the budget rows into one row", [] {
        std::vector<InvoiceRowShown> rows = AmountRows();
        EXPECT_EQ(rows.size(), 1u) << ShownRows(rows);
        if (rows.empty()) return true;
        EXPECT_EQ(rows[0].sum, "220,00") << ShownRows(rows);
        for (const BudgetCost &c : Costs) EXPECT_EQ(rows[0].text.find(c.text), std::string::npos) << rows[0].text;
        EXPECT_EQ(rows[0].text, CostRowText) << "the summed row takes the project defaults' cost text";
        return true;
    });
    auto summedPage = PrintActive("the summed project invoice");
    Check("the summed cost row prints with its words", [summedPage] {
        std::istringstream in(*summedPage);
        std::string line;
        while (std::getline(in, line) && line.find("220,00") == std::string::npos) {}
        EXPECT_NE(line.find(CostRowText), std::string::npos) << "the row's line: " << line << "\n" << *summedPage;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "PRINT1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Phone), Phone);
    EXPECT_EQ(TextAt(r.data(), CUVc::Reference), Reference);
    EXPECT_EQ(TextAt(r.data(), CUVc::Text646), OurRef);
    EXPECT_EQ(TextAt(r.data(), CUVc::Text456), ThirdRef);
    ASSERT_EQ(RegRecordCount(QuotationVc::Number), 1u);
    {
        std::vector<uint8_t> q(QuotationVc::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(QuotationVc::Number, 1, q.data(), &id));
        DateRec until = GetDate(q.data(), QuotationVc::ValidUntil);
        EXPECT_FALSE(DateIsEmpty(&until));
        RecFreeMatrix(QuotationVc::Number, q.data());
    }
    ASSERT_EQ(RegRecordCount(ProductionVc::Number), 1u);
    {
        std::vector<uint8_t> p(ProductionVc::Size), row(ProductionVc::Rows::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(ProductionVc::Number, 1, p.data(), &id));
        EXPECT_EQ(TextAt(p.data(), ProductionVc::StructText), "Made of one ITEM1");
        ASSERT_GE(MatrixRowCount(ProductionVc::Number, 0, p.data()), 1);
        ASSERT_TRUE(MatrixRowRead(ProductionVc::Number, p.data(), 0, row.data()));
        EXPECT_EQ(TextAt(row.data(), ProductionVc::Rows::ItemCode), "ITEM1");
        EXPECT_NEAR(RoadTest::AmountAt(row.data(), ProductionVc::Rows::ExtraCost), 7, 0.005);
        RecFreeMatrix(ProductionVc::Number, p.data());
    }
    // Both budgets are stored, the first with its switch, and both now
    // hold their 220 as invoiced.
    ASSERT_EQ(RegRecordCount(CostBudgetVc::Number), 2u);
    for (int32_t at = 1; at <= 2; at++) {
        std::vector<uint8_t> b(CostBudgetVc::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(CostBudgetVc::Number, at, b.data(), &id));
        const std::string project = TextAt(b.data(), CostBudgetVc::Project);
        EXPECT_EQ(GetU16(b.data(), CostBudgetVc::Detail), project == *detailed ? 1 : 0) << project;
        EXPECT_NEAR(AmountAt(b.data(), CostBudgetVc::Invoiced), 220, 0.005) << project;
        RecFreeMatrix(CostBudgetVc::Number, b.data());
    }
    CloseForCheck();
}

// What a printed page's totals line carries after its words "VAT EUR"
// (the amount, when any), its words joined by one blank; "(no VAT EUR
// line)" when the page has none.
std::string PrintedAfterVatEur(const std::string &page)
{
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        for (size_t i = 0; i + 1 < w.size(); i++) {
            if (w[i] != "VAT" || w[i + 1] != "EUR") continue;
            std::string rest;
            for (size_t j = i + 2; j < w.size(); j++) rest += (rest.empty() ? "" : " ") + w[j];
            return rest;
        }
    }
    return "(no VAT EUR line)";
}

// A quotation in euros prints its VAT line whole: the amount the window
// shows, beside the currency, whether the euros are typed on a
// home-currency customer's quotation that carries VAT or come from the
// demo's euro customer, whose zone charges none (the line then reads
// 0,00, as that customer's invoice does).
TEST_F(PrintedFieldsRoad, AQuotationInEurosPrintsItsVatAmountBesideItsCurrency)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");

    NewFromList("Quotations", WinTypes::QuotationList, WinTypes::Quotation);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickButton("Terms");
    Retype("Currency", "EUR");
    Key(PlKey::Tab);
    ClickButton("Rows");
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    OkStores("the euro quotation with VAT");
    auto vat = std::make_shared<std::string>();
    Check("the quotation carries VAT", [vat] {
        *vat = Shown("VAT");
        EXPECT_NE(*vat, "");
        EXPECT_NE(*vat, "0,00");
        return true;
    });
    auto taxed = PrintActive("the euro quotation with VAT");
    Check("its VAT line prints the amount beside the currency", [taxed, vat] {
        EXPECT_EQ(PrintedAfterVatEur(*taxed), *vat) << *taxed;
        return true;
    });

    NewFromList("Quotations", WinTypes::QuotationList, WinTypes::Quotation);
    ClickField("Customer");
    Type("C2");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("1");
    Key(PlKey::Tab);
    OkStores("the euro customer's quotation");
    auto untaxed = PrintActive("the euro customer's quotation");
    NewFromList("Sales invoices", WinTypes::SalesInvoiceList, WinTypes::SalesInvoice);
    TypeOneRowDocument("C2", 1, "ITEM1", "1");
    auto invoice = PrintActive("the euro customer's invoice");
    Check("without VAT the quotation's line reads as the invoice's, with its amount", [untaxed, invoice] {
        EXPECT_EQ(PrintedAfterVatEur(*untaxed), "0,00") << *untaxed;
        EXPECT_EQ(PrintedAfterVatEur(*invoice), "0,00") << *invoice;
        // An invoice without VAT has no VAT summary to head.
        EXPECT_FALSE(HeadsVatSummary(*invoice)) << *invoice;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(QuotationVc::Number), 2u);
    std::vector<uint8_t> q(QuotationVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(QuotationVc::Number, 1, q.data(), &id));
    EXPECT_EQ(TextAt(q.data(), QuotationVc::CurncyCode), "EUR");
    EXPECT_EQ(TextAt(q.data(), QuotationVc::CustCode), "C1");
    RecFreeMatrix(QuotationVc::Number, q.data());
    CloseForCheck();
}

}  // namespace
