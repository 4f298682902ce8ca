// road_window_defaults_test.cpp - windows as a new user of the demo
// company finds them when they open:
// - every report of the Sales and General ledger report lists opens
//   with its period (From and To) filled;
// - choosing on the customer field of a sales document and on a
//   customer's payer opens the customer list and types the code back;
// - a click into the code a new customer proposes selects it, so the
//   code typed replaces it;
// - the company window shows the current fiscal year;
// - each new report preview is the active, topmost window, while the
//   report list stays open behind it;
// - "Print and approve invoices" with Interest invoices ticked prints
//   the interest invoice a run made;
// - the words that name a kind by number (VAT zone, serial mode, bank
//   file format) show the kind's name, not "0", and take a name or a
//   number typed.
// Menus: in Sales, Registers > Sales documents, Registers > Customers
// (Ctrl+1), Registers > Orders (Ctrl+9); in Purchasing, Registers >
// Purchase orders; in Stock, Registers > Item; File > Windows... >
// "Company", File > Windows... > "Sales invoices", File > Maintenance... >
// "Interest invoices", File > Documents... > "Print and approve invoices".
// Windows: Reports, Windows, Documents, Functions (exports, imports,
// maintenance), Customer list, Customers, Sales document, Sales document
// list, Company, Sales invoice, Invoice print and approve run, Interest
// invoices (routine 4).
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <thread>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "platform/dialog.h"
#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace fs = std::filesystem;

namespace {

constexpr int ReportList = 6, Preview = 5, WindowList = 12, FunctionList = 7;
constexpr int CustomerList = 594, Customers = 590, SalesDoc = 557, SalesDocList = 405, CompanyWindow = 592;
constexpr int SalesInvoice = 347, InterestSel = 473;
// More rows than any module's report list holds: the steps past the end
// of the list do nothing.
constexpr int MostReports = 60;

std::string LabelOf(const uint8_t *entry)
{
    return std::string(reinterpret_cast<const char *>(entry + FieldEntry::Label + 1), entry[FieldEntry::Label]);
}

// The labels of window n's period fields (date fields labelled "From"
// or "To") that show nothing; "" when every one shows a date.
std::string EmptyPeriodFields(int n)
{
    std::string empty;
    int from = 0, to = 0;
    for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartDataFields, i); i++) {
        const std::string label = LabelOf(e);
        if (label != "From" && label != "To") continue;
        int nth = label == "From" ? from++ : to++;
        if (DefU16(e + FieldEntry::Type) == FtDate && RoadTest::Shown(label, nth).empty()) empty += " " + label;
    }
    return empty;
}

class WindowDefaultsRoad : public RoadTest {
protected:
    // A click on the Terms page of the window open now, whose VAT zone
    // must show `zone`.
    void ZoneOnTerms(const std::string &what, const std::string &zone)
    {
        ClickButton("Terms");
        Check(what, [zone] {
            EXPECT_EQ(Shown("VAT zone"), zone);
            return true;
        });
    }

    // A picture of the active window, named `name`, in the folder
    // ORVEL_ROAD_SHOTS names (none when unset).
    void Shot(const std::string &name)
    {
        Do("keep a picture of " + name, [this, name] {
            const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
            EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / ("defaults_" + name + ".png")));
            return true;
        });
    }

    // Every report of the current module's report list (Ctrl+R) opened
    // in turn by the arrow keys and Return; each selection window's
    // period is checked and the window closed. `opened` counts them.
    void EveryReportOpens(const std::string &module, std::shared_ptr<int> opened)
    {
        Menu("Module", module);
        for (int i = 0; i < MostReports; i++) {
            auto skip = std::make_shared<bool>(false);
            Key('R', false, true);
            Do("row " + std::to_string(i) + " of the report list", [i, skip] {
                uint32_t list = ActiveType() == ReportList ? WinListBox(Active()) : 0;
                if (!list) {
                    ADD_FAILURE() << "Ctrl+R opened " << ActiveTitle();
                    return false;
                }
                *skip = i >= ListBoxCount(list);
                if (*skip) return true;
                ScriptKey(PlKey::Home, false, false);
                for (int k = 0; k < i; k++) ScriptKey(PlKey::Down, false, false);
                ScriptKey(PlKey::Return, false, false);
                return true;
            });
            Check(module + " report " + std::to_string(i) + " opens with its period", [skip, opened, module] {
                if (*skip) return true;
                if (ActiveType() == ReportList) {
                    ADD_FAILURE() << module << ": a report of the list opened no window";
                    return false;
                }
                ++*opened;
                EXPECT_EQ(EmptyPeriodFields(Active()), "") << module << ": " << ActiveTitle();
                return true;
            });
            Menu("Window", "Close all");
        }
    }

    // The report of row `report` run from the report list (Ctrl+R) to
    // the screen: its window opens (type sel) and OK shows the preview,
    // which must be the active window and the topmost child, titled by
    // `title`. The report list is left open.
    void ReportToFrontPreview(const std::string &report, int sel, const std::string &title)
    {
        Key('R', false, true);
        Check("Ctrl+R shows the report list", Opened(ReportList));
        ClickRow(report);
        Key(PlKey::Return);
        Check(report + "'s window opens", Opened(sel));
        ClickOk();
        Check(report + "'s preview is in front", [title] {
            EXPECT_EQ(ActiveType(), Preview) << ActiveTitle();
            EXPECT_NE(ActiveTitle().find(title), std::string::npos) << ActiveTitle();
            const int n = Active();
            EXPECT_EQ(WinFirstChild(MdiClientWindow), n ? WinTable[n]->mdiChild : 0) << "not the topmost child";
            return ActiveType() == Preview;
        });
    }
};

TEST_F(WindowDefaultsRoad, EverySalesAndLedgerReportOpensWithItsPeriod)
{
    StartNewCompany("reports.VDB");
    auto sales = std::make_shared<int>(0), ledger = std::make_shared<int>(0);
    EveryReportOpens("Sales", sales);
    EveryReportOpens("General ledger", ledger);
    EXPECT_EQ(Run(), 0);
    // The lists were walked to their ends, not cut short.
    EXPECT_GT(*sales, 20);
    EXPECT_GT(*ledger, 20);
}

// Ctrl+J on a sales document's customer and Edit > Choose on a
// customer's payer open the customer list; Return types the code back.
TEST_F(WindowDefaultsRoad, CustomerFieldsChooseFromTheCustomerList)
{
    const std::string company = StartNewCompany("choose.VDB");
    Menu("Module", "Sales");
    Menu("Registers", "Sales documents");
    Check("the document list opens", Opened(SalesDocList));
    ClickButton("New");
    Check("New opens the document window", Opened(SalesDoc));
    ClickField("Customer");
    Type("C3");
    Key('J', false, true);
    Check("Ctrl+J opens the customer list", [] {
        EXPECT_EQ(ActiveType(), CustomerList) << ActiveTitle();
        return ActiveType() == CustomerList;
    });
    Key(PlKey::Return);
    Check("Return types the chosen code into the document", [] {
        EXPECT_EQ(ActiveType(), SalesDoc) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C3");
        EXPECT_EQ(Shown("Name"), "Small Customer");
        return ActiveType() == SalesDoc;
    });
    // Esc in the list leaves the field as it was.
    ClickField("Customer");
    Key('J', false, true);
    Check("the list opens again", Opened(CustomerList));
    Key(PlKey::Up);
    Key(PlKey::Escape);
    Check("Esc keeps the customer", [] {
        EXPECT_EQ(ActiveType(), SalesDoc) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C3");
        return true;
    });
    AnswerBox(kPlIdNo);   // the document is not kept
    Menu("Window", "Close all");

    Key('1', false, true);
    Check("Ctrl+1 opens the customer list", Opened(CustomerList));
    Type("C1");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("C1 opens", [] { return ActiveType() == Customers && Shown("Code") == "C1"; });
    ClickButton("Terms");
    ClickField("Payer");
    Type("C2");
    Menu("Edit", "Choose...");
    Check("Edit > Choose on the payer opens the customer list", [] {
        EXPECT_EQ(ActiveType(), CustomerList) << ActiveTitle();
        return ActiveType() == CustomerList;
    });
    Key(PlKey::Return);
    Check("Return types the payer back", [] {
        EXPECT_EQ(ActiveType(), Customers) << ActiveTitle();
        EXPECT_EQ(Shown("Code"), "C1");
        EXPECT_EQ(Shown("Payer"), "C2");
        return ActiveType() == Customers;
    });
    ClickOk();
    Check("OK stores the customer", [] {
        // The one question asked was whether to keep the document.
        EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        return TitleTells("viewing");
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> customer;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &customer));
    EXPECT_EQ(TextAt(customer.data(), CUVc::PayerCode), "C2");
    EXPECT_EQ(RegRecordCount(SalesDocVc::Number), 0u);
    CloseForCheck();
}

// The code field of a new customer proposes the next number: a click
// into it selects the number, and the code typed replaces it. A second
// click places the caret; a click into a field the user typed in does too.
TEST_F(WindowDefaultsRoad, AClickIntoAProposedCodeSelectsIt)
{
    const std::string company = StartNewCompany("code.VDB");
    Key('1', false, true);
    ClickButton("New");
    auto proposed = std::make_shared<std::string>();
    Check("the new customer proposes a code", [proposed] {
        EXPECT_EQ(ActiveType(), Customers) << ActiveTitle();
        *proposed = Shown("Code");
        EXPECT_EQ(FocusLabel(), "Code");
        return !proposed->empty();
    });
    ClickField("Code");
    Type("MONTH1");
    Check("the typed code replaced the proposed one", [] {
        EXPECT_EQ(Shown("Code"), "MONTH1");
        return true;
    });
    Shot("new_customer_code");
    // The user's own text: a click puts the caret where it points (at
    // the start, where the road clicks).
    Do("wait as a user does between two clicks", [] {
        // Two clicks within the double-click time are a double click,
        // which selects the whole text.
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        return true;
    });
    ClickField("Code");
    Type("X");
    Check("a click into the user's text places the caret", [] {
        EXPECT_EQ(Shown("Code"), "XMONTH1");
        return true;
    });
    ClickField("Name");
    Type("Month Trading");
    ClickOk();
    Check("OK stores the customer", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return TitleTells("viewing");
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> customer;
    EXPECT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "XMONTH1", &customer));
    EXPECT_FALSE(FindByCode(CUVc::Number, CUVc::Code, 20, "MONTH11", &customer));
    EXPECT_FALSE(FindByCode(CUVc::Number, CUVc::Code, 20, "XMONTH11", &customer));
    CloseForCheck();
}

// The company window shows the fiscal year that holds today; OK stores
// it, and a year the user typed is shown as typed the next time.
TEST_F(WindowDefaultsRoad, TheCompanyWindowShowsTheCurrentFiscalYear)
{
    const std::string company = StartNewCompany("company.VDB");
    const std::string year = DayText(0).substr(6);
    auto openCompany = [this] {
        Menu("File", "Windows...");
        Check("the window list opens", Opened(WindowList));
        ClickRow("Company");
        Key(PlKey::Return);
        Check("the company window opens", Opened(CompanyWindow));
    };
    openCompany();
    Check("the fiscal year is shown", [year] {
        EXPECT_EQ(Shown("Fiscal year from"), "01.01." + year);
        EXPECT_EQ(Shown("Fiscal year to"), "31.12." + year);
        EXPECT_TRUE(TitleTells("viewing")) << "nothing was changed: " << ActiveTitle();
        return true;
    });
    Shot("company");
    Menu("Window", "Close all");
    Check("closing asks nothing", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    openCompany();
    ClickField("Fiscal year from");
    Type("01.07." + year);
    ClickField("Fiscal year to");
    Type("30.06." + std::to_string(std::stoi(year) + 1));
    Key(PlKey::Tab);
    ClickOk();
    openCompany();
    Check("the typed year is kept", [year] {
        EXPECT_EQ(Shown("Fiscal year from"), "01.07." + year);
        return true;
    });
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> block(CompanyBlk::Size);
    ASSERT_TRUE(SettingsBlockRead(CompanyBlk::Number, block.data(), uint32_t(block.size())));
    const DateRec start = GetDate(block.data(), CompanyBlk::YearStart);
    EXPECT_EQ(start.day, 1);
    EXPECT_EQ(start.month, 7);
    CloseForCheck();
}

// Two reports run one after the other from the report list, which stays
// open: each preview comes to the front.
TEST_F(WindowDefaultsRoad, EachNewPreviewComesToTheFront)
{
    StartNewCompany("previews.VDB");
    Menu("Module", "Sales");
    ReportToFrontPreview("Customer Balances", 507, "Customer Balances");
    ReportToFrontPreview("Sales transaction journal", 570, "Sales transaction journal");
    ReportToFrontPreview("Customer Balances", 507, "Customer Balances");
    Shot("third_preview");
    Check("the report list and three previews are open", [] {
        int previews = 0, lists = 0;
        for (int n = WinFirst; n <= WinLast; n++) {
            if (!WinIsOpen(n)) continue;
            previews += WinTypeOf(n) == Preview;
            lists += WinTypeOf(n) == ReportList;
        }
        EXPECT_EQ(previews, 3);
        EXPECT_EQ(lists, 1);
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

// An interest invoice made by the interest run is printed (and posted)
// by "Print and approve invoices" with only Interest invoices ticked.
TEST_F(WindowDefaultsRoad, InterestInvoicesArePrintedAndApproved)
{
    const std::string company = StartNewCompany("interest.VDB");
    // C1 charged interest, and an invoice to C1 98 days back, posted.
    Key('1', false, true);
    Type("C1");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("C1 opens", [] { return ActiveType() == Customers && Shown("Code") == "C1"; });
    ClickButton("Terms");
    ClickButton("Interest on late payment");
    ClickOk();
    Menu("Window", "Close all");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("the invoice window opens", Opened(SalesInvoice));
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickField("Invoice date");
    Key(PlKey::End);
    for (int i = 0; i < 12; i++) Key(PlKey::Back);
    Type(DayText(-98));
    Key(PlKey::Tab);
    ClickCell(0, 1);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("1");
    Key(PlKey::Tab);
    ClickButton("Posted");
    ClickOk();
    Check("OK posts the invoice", [] { return TitleTells("viewing"); });
    Menu("Window", "Close all");

    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Maintenance");
    ClickRow("Interest invoices");
    Key(PlKey::Return);
    Check("the interest selection opens", Opened(InterestSel));
    ClickField("Customers");
    Type("C1:C1");
    ClickField("Period from");
    Type(DayText(-30));
    ClickField("Period to");
    Type(DayText(0));
    Key(PlKey::Tab);
    ClickButton("OK");
    auto number = std::make_shared<std::string>();
    Check("the run made an interest invoice", [number] {
        const std::string made = "Interest invoices: 1 made, unposted, among the sales invoices: numbers ";
        for (const std::string &m : Messages()) {
            size_t at = m.find(made);
            if (at == std::string::npos) continue;
            *number = m.substr(at + made.size());
            *number = number->substr(0, number->find_first_not_of("0123456789"));
        }
        EXPECT_FALSE(number->empty()) << ::testing::PrintToString(Messages());
        return !number->empty();
    });
    Menu("Window", "Close all");

    Menu("Module", "Sales");
    OpenPrintAndApprove([number] { return *number + ":" + *number; }, "Interest invoices", "Printer");
    AnswerPrint(true);
    ClickButton("OK");
    Check("the interest invoice is printed and posted", [this, number] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 1) return false;
        const std::string text = PdfText(pdfs[0]);
        EXPECT_NE(text.find(*number), std::string::npos) << text;
        EXPECT_NE(text.find("First Customer"), std::string::npos) << text;
        EXPECT_EQ(StatusLineText(), "1 invoice printed, 1 posted - to the printer");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0;
    int interest = 0;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, inv.data(), &id); p++) {
        if (GetU16(inv.data(), IVVc::InvType) == 4) {
            interest++;
            EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::SerNr)), *number);
            EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
            EXPECT_EQ(GetU16(inv.data(), IVVc::Printed), 1);
        }
        RecFreeMatrix(IVVc::Number, inv.data());
    }
    EXPECT_EQ(interest, 1);
    CloseForCheck();
}

// The VAT zone, the serial mode and the bank-file format show names in
// every window of the demo company that has them; a name or a number
// typed is stored as its number, and anything else is refused.
TEST_F(WindowDefaultsRoad, KindWordsShowTheirNames)
{
    const std::string company = StartNewCompany("kinds.VDB");
    // The company's bank-file format, chosen by name.
    Menu("File", "Windows...");
    ClickRow("Company");
    Key(PlKey::Return);
    Check("the company window opens", Opened(CompanyWindow));
    Check("no bank-file format shows as none", [] {
        EXPECT_EQ(Shown("Bank file format"), "None");
        return true;
    });
    ClickField("Bank file format");
    Type("Telepay");
    Key(PlKey::Tab);
    Check("the name typed shows", [] {
        EXPECT_EQ(Shown("Bank file format"), "Telepay");
        return true;
    });
    Shot("company_bank_format");
    ClickOk();
    Menu("Window", "Close all");

    // A customer's VAT zone: shown by name, a number typed shows its name.
    Key('1', false, true);
    Type("C1");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("C1 opens", [] { return ActiveType() == Customers && Shown("Code") == "C1"; });
    ZoneOnTerms("the VAT zone shows its name", "Domestic");
    ClickField("VAT zone");
    Type("Mars");
    Key(PlKey::Tab);
    Check("a zone that does not exist is refused and told", [] {
        EXPECT_TRUE(Told("cannot take Mars")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("VAT zone"), "Domestic");
        return true;
    });
    ClickField("VAT zone");
    Type("2");
    Key(PlKey::Tab);
    Check("zone 2 shows its name", [] {
        EXPECT_EQ(Shown("VAT zone"), "Zone 2, no VAT");
        return true;
    });
    Shot("customer_terms");
    ClickOk();
    Check("OK stores the customer", [] { return TitleTells("viewing"); });
    Menu("Window", "Close all");

    // The documents' terms and the item show names for their new records.
    Menu("Module", "Sales");
    Key('9', false, true);
    ClickButton("New");
    ZoneOnTerms("a new order's zone shows its name", "Domestic");
    Menu("Window", "Close all");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    ZoneOnTerms("a new invoice's zone shows its name", "Domestic");
    Shot("invoice_terms");
    Menu("Window", "Close all");
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase orders");
    ClickButton("New");
    ZoneOnTerms("a new purchase order's zone shows its name", "Domestic");
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    Menu("Registers", "Item");
    Check("the item's serial mode shows its name", [] {
        EXPECT_EQ(Shown("Serial mode"), "None");
        return true;
    });
    Shot("item");
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> block(CompanyBlk::Size);
    ASSERT_TRUE(SettingsBlockRead(CompanyBlk::Number, block.data(), uint32_t(block.size())));
    EXPECT_EQ(GetU16(block.data(), CompanyBlk::CompanyVariant), 9);
    std::vector<uint8_t> customer;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &customer));
    EXPECT_EQ(GetU16(customer.data(), CUVc::VatZone), 2);
    CloseForCheck();
}

}  // namespace
