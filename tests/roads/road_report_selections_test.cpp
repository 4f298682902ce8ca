// road_report_selections_test.cpp - report selections as a new user
// leaves them: a sales clerk types two invoices for C1, posts one and
// leaves the other unposted, then runs the sales transaction journal from
// the Sales module's report list with its state boxes in each of their
// four states. Every run lists the invoices its header says it took, and
// the box left empty takes both. Customer Balances runs with the period
// its window opens with, headed by the layout chosen. A customer whose
// name fills its field prints in the balances, the journal and the
// ledger without running into their amounts (the layout check of every
// printed page). A date typed year first into Customer Balances' To is
// refused there and runs nothing until it is typed as the program reads
// dates.
// Menus: File > Windows... > "Sales invoices", File > Reports (Ctrl+R) >
// "Sales transaction journal", File > Reports (Ctrl+R) > "Customer
// Balances".
// Windows: Windows, Sales invoice, Sales journal selection, Customer
// balances selection.
#include "tests/roads/road_fixture.h"

#include <memory>
#include <string>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int WindowList = 12, SalesInvoice = 347, SalesJournalSel = 570, CustomerBalanceSel = 507,
              CustomerLedgerSel = 503;
constexpr int ColItem = 1;

class ReportSelectionsRoad : public RoadTest {
protected:
    // A new invoice for `customer` of qty ITEM1, ticked "Posted" when
    // asked, and OK; the number it shows once stored is in the result.
    std::shared_ptr<std::string> TypeInvoice(const std::string &qty, bool posted, const std::string &customer = "C1")
    {
        Menu("File", "Windows...");
        Check("the window list opens", [] { return ActiveType() == WindowList; });
        ClickRow("Sales invoices");
        Key(PlKey::Return);
        ClickButton("New");
        Check("New opens the invoice window", Opened(SalesInvoice));
        ClickField("Customer");
        Type(customer);
        Key(PlKey::Tab);
        ClickCell(0, ColItem);
        Type("ITEM1");
        Key(PlKey::Tab);
        Type(qty);
        Key(PlKey::Tab);
        if (posted) ClickButton("Posted");
        ClickOk();
        auto number = std::make_shared<std::string>();
        Check("OK stores the invoice", [number] {
            *number = Shown("Number");
            EXPECT_NE(*number, "") << ::testing::PrintToString(Messages());
            return !number->empty();
        });
        Menu("Window", "Close all");
        return number;
    }
};

// Whether the journal's PDF text lists invoice `number` as a line of its
// own (the number at the start of a line, after blanks).
bool Lists(const std::string &text, const std::string &number)
{
    size_t at = 0;
    while ((at = text.find(number, at)) != std::string::npos) {
        size_t start = text.rfind('\n', at);
        start = start == std::string::npos ? 0 : start + 1;
        const std::string before = text.substr(start, at - start);
        const bool blanks = before.find_first_not_of(' ') == std::string::npos;
        const size_t end = at + number.size();
        if (blanks && (end == text.size() || text[end] == ' ')) return true;
        at = end;
    }
    return false;
}

TEST_F(ReportSelectionsRoad, TheSalesJournalTakesWhatItsHeaderSays)
{
    const std::string company = StartNewCompany("selections.VDB");
    Menu("Module", "Sales");
    std::shared_ptr<std::string> open = TypeInvoice("2", false);
    std::shared_ptr<std::string> posted = TypeInvoice("3", true);

    // The four states of the boxes, the header each should print and
    // which of the two invoices each should list. The window opens with
    // "Posted" ticked: the journal lists posted invoices unless asked.
    struct BoxRun {
        bool notPosted, posted;
        const char *shot, *header;
        bool listsOpen, listsPosted;
    };
    const BoxRun runs[] = {
        {false, false, "journal_no_box", "Posted and unposted", true, true},
        {true, false, "journal_not_posted", "Unposted only", true, false},
        {false, true, "journal_posted", "Posted only", false, true},
        {true, true, "journal_both_boxes", "Posted and unposted", true, true},
    };
    std::vector<std::shared_ptr<std::string>> texts;
    for (const BoxRun &r : runs) {
        texts.push_back(ReportToPreviewAndPdf("Sales transaction journal", SalesJournalSel, [this, r] {
            if (r.notPosted) ClickButton("Not posted");
            if (!r.posted) ClickButton("Posted");
        }, r.shot));
        Menu("Window", "Close all");   // printing leaves the list's device on the printer
    }
    EXPECT_EQ(Run(), 0);

    for (size_t i = 0; i < std::size(runs); i++) {
        const BoxRun &r = runs[i];
        const std::string &text = *texts[i];
        SCOPED_TRACE(r.shot);
        EXPECT_NE(text.find(r.header), std::string::npos) << text;
        EXPECT_EQ(text.find("None"), std::string::npos) << text;
        EXPECT_EQ(Lists(text, *open), r.listsOpen) << *open << " in\n" << text;
        EXPECT_EQ(Lists(text, *posted), r.listsPosted) << *posted << " in\n" << text;
    }

    // The company file holds the one posted and the one unposted invoice.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> invoice(IVVc::Size);
    uint32_t id = 0;
    int postedCount = 0, openCount = 0;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, invoice.data(), &id); p++) {
        const std::string number = std::to_string(GetI32(invoice.data(), IVVc::SerNr));
        if (number == *open) openCount += GetU16(invoice.data(), IVVc::Posted) == 0;
        if (number == *posted) postedCount += GetU16(invoice.data(), IVVc::Posted) != 0;
    }
    EXPECT_EQ(openCount, 1);
    EXPECT_EQ(postedCount, 1);
    CloseForCheck();
}

// Customer Balances runs on the selection its window opens with, and its
// header names the layout chosen.
TEST_F(ReportSelectionsRoad, CustomerBalancesRunAsTheyOpen)
{
    StartNewCompany("balances.VDB");
    Menu("Module", "Sales");
    TypeInvoice("2", true);
    auto text = ReportToPreviewAndPdf("Customer Balances", CustomerBalanceSel, [this] {
        ClickButton("Transactions");
    }, "customer_balances");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
    EXPECT_NE(text->find("Transactions"), std::string::npos) << *text;
    EXPECT_EQ(text->find("Summary"), std::string::npos) << *text;
    EXPECT_NE(text->find("C1"), std::string::npos) << *text;
    // The period the run took: a first day, not an empty one.
    EXPECT_NE(text->find("Period: 01.01."), std::string::npos) << *text;
}

// A date typed year first into To is refused where it was typed: the
// cursor stays in To, OK runs nothing, and the report runs once the date
// is typed as the program reads it, for that date.
TEST_F(ReportSelectionsRoad, AToDateTypedYearFirstIsRefusedAndRunsNothing)
{
    StartNewCompany("typed_to.VDB");
    Menu("Module", "Sales");
    TypeInvoice("2", true);
    auto text = ReportToPreviewAndPdf("Customer Balances", CustomerBalanceSel, [this] {
        DateRefusedWhereTyped("To", "2027-01-31");
        Retype("To", "31.01.2027");
    }, "typed_to");
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(text->find("31.01.2027"), std::string::npos) << *text;
    EXPECT_EQ(text->find("1931"), std::string::npos) << *text;
    EXPECT_NE(text->find("C1"), std::string::npos) << *text;
}

// A customer's name as long as its field takes: the reports that print a
// customer's name beside amounts keep it in its column, cut where it
// would reach the first amount, on each printed page.
TEST_F(ReportSelectionsRoad, ALongCustomerNameStaysInItsColumn)
{
    const std::string longName = "Northern Lights Consolidated Trading and Shipping Company AB";
    StartNewCompany("long_name.VDB");
    Menu("Module", "Sales");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(WinTypes::CustomerList));
    OpenFromList("C1", WinTypes::Customers);
    Retype("Name", longName);
    OkStores("customer");
    Menu("Window", "Close all");
    for (const char *customer : {"C1", "C3", "C1"}) TypeInvoice("2", true, customer);
    // Printing leaves the list's device on the printer: every window is
    // closed before the next report.
    auto balances = ReportToPreviewAndPdf("Customer Balances", CustomerBalanceSel, [] {}, "long_name_balances");
    Menu("Window", "Close all");
    auto journal = ReportToPreviewAndPdf("Sales transaction journal", SalesJournalSel, [] {}, "long_name_journal");
    Menu("Window", "Close all");
    auto ledger = ReportToPreviewAndPdf("Customer Ledger", CustomerLedgerSel, [] {}, "long_name_ledger");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
    // The name is there, at least its start, on every report.
    for (const auto &text : {balances, journal, ledger})
        EXPECT_NE(text->find("Northern Lights"), std::string::npos) << *text;
}

}  // namespace
