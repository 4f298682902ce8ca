// road_credit_note_test.cpp - a posted invoice credited in the invoice
// window, as a user credits one: payment terms of the credit-note kind
// kept in their window, a new invoice on those terms, the invoice it
// credits chosen in the first row's "Credited invoice" cell from the
// customer's open invoices, a row of what is credited, Posted and OK; the
// credit note printed says on its first row which invoice it credits.
//
// First the wrong links are refused on that cell with a message (an
// invoice that does not exist, another customer's invoice) and the cell
// of any other row takes no typing and says why. Then the customer's two
// invoices of 784,00 stand in the open items, the credited one lowered by
// the credit of 392,00 and no open item of the credit note's own; the
// customer's transactions and the invoice list show the credit note in
// words and with its minus, so that they add up to what the open items
// hold; the customer statement prints it so. Printed from its window, the
// credit note shows the amount to be refunded under its word.
// A vendor's invoice is credited the same way in the purchase-invoice
// window, and the vendor ledger's entries list the credit note as a
// credit note, with its minus, not as an invoice.
// Menus: in Purchasing, Registers > Payment terms, Registers > Vendors,
// Registers > Purchase invoices, Registers > Vendor ledger entries; in
// Sales, Registers > Customer open items, Registers > Customers,
// Operations > Transactions; File > Windows... > "Sales invoices"; File >
// Print (Ctrl+P); File >
// Documents... > "Customer statements".
// Windows: Payment terms list, Payment terms, Sales invoice list, Sales
// invoice, Receipt invoice choice, Customer open items, Customers,
// Customer transactions, Documents, Statement print run, Vendor list,
// Vendor, Purchase invoice list, Purchase invoice, Vendor ledger entries.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"
#include "tests/roads/road_form_steps.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

namespace W = WinTypes;
namespace fs = std::filesystem;
constexpr int InvoiceChoice = 579;
// Cells of an invoice row on the items page, and the credited invoice on
// the credit page.
constexpr int ColItem = 1, ColCredited = 0;

// The cells of a list row as ListRowsShown gives it.
std::vector<std::string> CellsOf(const std::string &row)
{
    std::vector<std::string> cells;
    for (size_t at = 0, end; at <= row.size(); at = end + 3) {
        end = row.find(" | ", at);
        if (end == std::string::npos) end = row.size();
        cells.push_back(row.substr(at, end - at));
    }
    return cells;
}

class CreditNoteRoad : public RoadTest {
protected:
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");

    // File > Windows..., "Sales invoices", New: an invoice to `customer`
    // on the credit-note terms CR, its first row's link left as it is;
    // the window stays on its rows' credit page.
    void NewCreditNote(const std::string &customer)
    {
        Menu("Window", "Close all");
        NewFromWindowList("Sales invoices", W::SalesInvoiceList, W::SalesInvoice);
        ClickField("Customer");
        Type(customer);
        Key(PlKey::Tab);
        ClickButton("Terms");
        Retype("Payment terms", "CR");
        Key(PlKey::Tab);
        ClickButton("Rows");
        ClickButton("Credit");
    }
    // The credit note's row of what is credited: half an installation.
    void HalfAnInstallation()
    {
        ClickButton("Items");
        ClickCell(1, ColItem);
        Type("SERVICE");
        Key(PlKey::Tab);
        Type("0,5");
        Key(PlKey::Tab);
    }
    std::shared_ptr<std::string> PostedInvoiceNumber(const std::string &customer)
    {
        auto told = CountTold();
        TypeAndPostInvoice(customer, "SERVICE", "1");
        auto number = std::make_shared<std::string>();
        Check("the invoice of 784,00 is posted", [number, told] {
            EXPECT_EQ(Shown("Total"), "784,00");
            *number = Shown("Number");
            EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
            return TitleTells("viewing") && !number->empty();
        });
        Menu("Window", "Close all");
        return number;
    }
};

TEST_F(CreditNoteRoad, APostedInvoiceIsCreditedInItsWindowAndTheLedgersAgree)
{
    const std::string company = StartNewCompany("credit.VDB");
    TypeCreditNoteTerms("CR");
    Menu("Module", "Sales");

    auto first = PostedInvoiceNumber("C1");
    auto second = PostedInvoiceNumber("C1");
    auto others = PostedInvoiceNumber("C3");

    // ---- wrong links are refused on the link cell ---------------------------
    NewCreditNote("C1");
    Check("the terms make a credit note whose first row waits for its link", [] {
        EXPECT_EQ(Shown("Payment terms", 0), "CR");
        EXPECT_EQ(CellUnder("Credited invoice", 0), "");
        return true;
    });
    ClickCell(1, ColCredited);
    Type("5");
    Check("the link of another row takes no typing and says why", [] {
        EXPECT_TRUE(Told("Only the first row of a credit note names the invoice it credits."))
            << ::testing::PrintToString(Messages());
        EXPECT_EQ(CellUnder("Credited invoice", 1), "");
        return true;
    });
    TypeCell(0, ColCredited, "999999");
    Key(PlKey::Tab);
    HalfAnInstallation();
    ClickButton("Posted");
    ClickOk();
    Check("an invoice that does not exist is refused on the link", [] {
        EXPECT_TRUE(Told("The credited invoice does not exist.")) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "cell");
        return true;
    });
    ClickButton("Credit");
    ClickCell(0, ColCredited);
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type("the other customer's invoice", [others] { return *others; });
    Key(PlKey::Tab);
    ClickOk();
    Check("another customer's invoice is refused on the link", [] {
        EXPECT_TRUE(Told("The invoice belongs to another customer.")) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });

    // ---- the second invoice chosen from C1's open invoices and credited -----
    ClickButton("Items");
    ClickCell(1, ColItem);
    ClickButton("Credit");
    ClickCell(0, ColCredited);
    Key('J', false, true);
    Check("Ctrl+J lists the customer's open invoices only", [this, first, second] {
        EXPECT_EQ(ActiveType(), InvoiceChoice) << ActiveTitle();
        const std::vector<std::string> rows = ListRowsShown();
        EXPECT_EQ(rows.size(), 2u) << ::testing::PrintToString(rows);
        for (size_t i = 0; i < rows.size() && i < 2; i++) {
            const std::vector<std::string> cells = CellsOf(rows[i]);
            EXPECT_EQ(cells.size() > 1 ? cells[1] : "", "C1") << rows[i];
        }
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "credit_choice.png"));
        return ActiveType() == InvoiceChoice && rows.size() == 2;
    });
    Key(PlKey::Down);
    Key(PlKey::Return);
    Check("Return types the chosen invoice into the link", [second] {
        EXPECT_EQ(ActiveType(), W::SalesInvoice) << ActiveTitle();
        EXPECT_EQ(DigitsOf(CellUnder("Credited invoice", 0)), *second);
        return ActiveType() == W::SalesInvoice;
    });
    Key(PlKey::Tab);
    auto toldBefore = CountTold();
    ClickOk();
    auto credit = std::make_shared<std::string>();
    Check("the credit note of 392,00 is posted", [this, credit, toldBefore] {
        EXPECT_EQ(Messages().size(), *toldBefore) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Total"), "392,00");
        *credit = Shown("Number");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "credit_note.png"));
        return TitleTells("viewing") && !credit->empty();
    });
    // Printed, on the demo's credit-note form: the first row says which
    // invoice it credits, the amount refunded stands under its word, and
    // no payment slip asks the customer to pay.
    auto printed = PrintActiveDocument(*this, "credit_note");
    Check("the printed credit note names its invoice and the amount to be refunded", [printed, second] {
        std::istringstream in(*printed);
        bool said = false;
        for (std::string line; std::getline(in, line);) {
            EXPECT_EQ(line.find("Text row"), std::string::npos) << line;
            said = said || line.find("Credit of invoice " + *second) != std::string::npos;
        }
        EXPECT_TRUE(said) << *printed;
        const std::vector<std::string> lines = PrintedLinesStarting(*printed, "To be refunded");
        EXPECT_EQ(lines.size(), 1u) << *printed;
        if (!lines.empty()) {
            EXPECT_EQ(PrintedAmounts(lines[0]), std::vector<double>{392.0}) << lines[0];
        }
        EXPECT_EQ(printed->find("To pay"), std::string::npos) << *printed;
        EXPECT_EQ(printed->find("Payment slip"), std::string::npos) << *printed;
        return true;
    });
    Menu("Window", "Close all");

    // ---- open items, transactions, invoice list, statement ------------------
    Menu("Registers", "Customer open items");
    Check("the credited invoice is open for what is left, and the credit note has none", [first, second, others, credit] {
        EXPECT_EQ(ActiveType(), W::CustOpenItemList) << ActiveTitle();
        std::map<std::string, std::string> want = {{*first, "78400"}, {*second, "39200"}, {*others, "78400"}};
        const std::vector<std::string> rows = ListRowsShown();
        EXPECT_EQ(rows.size(), 3u) << ::testing::PrintToString(rows);
        for (const std::string &row : rows) {
            // Customer | name | invoice | due | ... | open | currency
            const std::vector<std::string> cells = CellsOf(row);
            bool matched = false;
            for (auto it = want.begin(); it != want.end() && !matched; ++it) {
                for (const std::string &cell : cells)
                    if (DigitsOf(cell) == it->first) matched = true;
                if (!matched) continue;
                EXPECT_NE(row.find(it->second == "39200" ? "392,00" : "784,00"), std::string::npos) << row;
                want.erase(it);
                break;
            }
            EXPECT_TRUE(matched) << "no such invoice: " << row << " (the credit note is " << *credit << ")";
        }
        EXPECT_TRUE(want.empty()) << want.size() << " open items missing";
        return true;
    });
    Menu("Window", "Close all");
    Menu("Registers", "Customers");
    OpenFromList("C1", W::Customers);
    Menu("Operations", "Transactions");
    Check("the transactions show the credit note in words and with its minus", [this, first, second, credit] {
        EXPECT_EQ(ActiveType(), W::CustTransList) << ActiveTitle();
        std::map<std::string, std::string> want = {{"Invoice " + *first, "784,00"},
                                                   {"Invoice " + *second, "784,00"},
                                                   {"Credit note " + *credit, "-392,00"}};
        const std::vector<std::string> rows = ListRowsShown();
        double sum = 0;
        for (const std::string &row : rows) {
            // Customer | date | kind | document | invoice | account | amount
            const std::vector<std::string> cells = CellsOf(row);
            if (cells.size() != 7) {
                ADD_FAILURE() << row;
                continue;
            }
            auto it = want.find(cells[2] + " " + DigitsOf(cells[3]));
            if (it == want.end()) {
                ADD_FAILURE() << "no such document: " << row;
                continue;
            }
            EXPECT_EQ(cells[6], it->second) << row;
            if (cells[2] == "Credit note") {
                EXPECT_EQ(DigitsOf(cells[4]), *second) << "it names the credited invoice";
            }
            const std::vector<double> amounts = PrintedAmounts(cells[6]);
            if (!amounts.empty()) sum += amounts.back();
            want.erase(it);
        }
        EXPECT_TRUE(want.empty()) << want.size() << " documents missing: " << ::testing::PrintToString(rows);
        EXPECT_NEAR(sum, 784 + 392, 0.005) << "the rows add up to the open items";
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "credit_transactions.png"));
        return true;
    });
    Menu("Window", "Close all");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the invoice list shows the credit note's kind and its minus", [credit] {
        EXPECT_EQ(ActiveType(), W::SalesInvoiceList) << ActiveTitle();
        bool seen = false;
        for (const std::string &row : ListRowsShown()) {
            // Number | customer | name | kind | date | total | posted
            const std::vector<std::string> cells = CellsOf(row);
            if (cells.size() != 7) {
                ADD_FAILURE() << row;
                continue;
            }
            const bool isCredit = DigitsOf(cells[0]) == *credit;
            seen = seen || isCredit;
            EXPECT_EQ(cells[3], isCredit ? "Credit note" : "Invoice") << row;
            EXPECT_EQ(cells[5], isCredit ? "-392,00" : "784,00") << row;
        }
        EXPECT_TRUE(seen) << "the credit note is not listed";
        return true;
    });
    Menu("Window", "Close all");

    auto statement = PrintCustomerStatement(*this, "C1", "credit_statement");
    Check("the statement prints the credit note with its minus", [statement, credit] {
        bool found = false;
        for (const std::string &line : PrintedLinesStarting(*statement, "")) {
            if (line.find("Credit note") == std::string::npos || line.find(*credit) == std::string::npos) continue;
            found = true;
            EXPECT_NE(line.find("-392,00"), std::string::npos) << line;
        }
        EXPECT_TRUE(found) << *statement;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // The company file: the credit note posted, naming the invoice it
    // credits; the open items as the list showed them.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0, at = 0;
    PutU32(inv.data(), IVVc::SerNr, uint32_t(std::stoul(*credit)));
    ASSERT_TRUE(RecFind(IVVc::Number, inv.data(), 1, 1, &id, &at));
    EXPECT_EQ(GetU16(inv.data(), IVVc::InvType), 3);
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::CredInv)), *second);
    RecFreeMatrix(IVVc::Number, inv.data());
    std::map<std::string, double> open;
    std::vector<uint8_t> item(ARVc::Size);
    for (int32_t p = 1; RecReadAt(ARVc::Number, p, item.data(), &id); p++)
        open[std::to_string(GetU32(item.data(), ARVc::InvoiceNr))] += AmountAt(item.data(), ARVc::OpenAmount);
    EXPECT_EQ(open.size(), 3u);
    EXPECT_NEAR(open[*first], 784, 0.005);
    EXPECT_NEAR(open[*second], 392, 0.005);
    EXPECT_NEAR(open[*others], 784, 0.005);
    EXPECT_EQ(open.count(*credit), 0u);
    CloseForCheck();
}

// A purchase credit note, typed as a user credits a vendor's invoice (its
// terms of the credit-note kind, the credited invoice in its first row),
// is listed in the vendor ledger's entries as a credit note, with its
// minus, beside the invoice it credits.
TEST_F(CreditNoteRoad, APurchaseCreditNoteIsListedAsOneInTheVendorLedger)
{
    StartNewCompany("purchase_credit.VDB");
    TypeCreditNoteTerms("CR");
    TypeVendor({"V1", "Vendor V1", "Main street 1", "", "", "", ""});
    auto invoice = TypeApprovedPurchaseInvoice("V1", "F-1", "5010", "300,00");
    Menu("Registers", "Purchase invoices");
    Check("the purchase-invoice list opens", Opened(WinTypes::PurchaseInvoiceList));
    ClickButton("New");
    Check("New opens a purchase invoice", Opened(WinTypes::PurchaseInvoice));
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickField("Vendor's invoice");
    Type("CN-1");
    ClickField("Total");
    Type("100,00");
    Key(PlKey::Tab);
    ClickButton("Terms");
    Retype("Terms", "CR");
    Key(PlKey::Tab);
    ClickButton("Rows");
    Check("credit-note terms put the credited invoice's row first", [] {
        EXPECT_EQ(CellUnder("Credited", 0), "");
        return true;
    });
    ClickCell(0, 6);
    Type("the credited invoice's number", [invoice] { return *invoice; });
    Key(PlKey::Tab);
    TypeCell(1, 0, "5010");
    Key(PlKey::Tab);
    TypeCell(1, 3, "100,00");
    Key(PlKey::Tab);
    ClickButton("Approved");
    KeepPicture("purchase_credit_note");
    OkStoresQuietly("the purchase credit note");
    auto credit = std::make_shared<std::string>();
    Check("the credit note shows its number", [credit] {
        *credit = DigitsOf(Shown("Number"));
        return !credit->empty();
    });
    Menu("Window", "Close all");
    Menu("Registers", "Vendor ledger entries");
    Check("the vendor ledger lists the credit note as one, beside the invoice", [this, invoice, credit] {
        EXPECT_EQ(ActiveType(), WinTypes::VendLedgerList) << ActiveTitle();
        const std::vector<std::string> rows = ListRowsShown();
        // Vendor | date | kind | document | invoice | amount | currency.
        auto listed = [&rows](const std::string &kind, const std::string &document, const std::string &amount) {
            for (const std::string &row : rows)
                if (row.find(" | " + kind + " | " + document + " | ") != std::string::npos &&
                    row.find(" | " + amount + " | ") != std::string::npos)
                    return true;
            return false;
        };
        EXPECT_TRUE(listed("Invoice", *invoice, "300,00")) << ::testing::PrintToString(rows);
        EXPECT_TRUE(listed("Credit note", *credit, "-100,00")) << ::testing::PrintToString(rows);
        EXPECT_EQ(ListCellCut(), "") << "the list cuts a text";
        KeepPicture("vendor_ledger_entries");
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
