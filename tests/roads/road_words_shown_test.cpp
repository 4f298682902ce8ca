// road_words_shown_test.cpp - what sales documents and the item history
// tell a user, on the demo company: a stored invoice not yet posted says
// it is not printed (the invoice print run still prints it); a customer
// over the credit limit is told with the warning icon, and the invoice
// goes on; a contract's interval unit reads as months or days and is
// typed as one; the item history says whether an entry moved stock and
// whether it went in or out, in words.
// Menus: in Sales, Registers > Sales invoices, Registers > Customers,
// Registers > Contracts, Settings > Credit limits...; in Stock,
// Registers > Item history.
// Windows: Sales invoice list, Sales invoice, Customer list, Customer,
// Credit limits, Contract list, Contract, Item history list.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

TEST_F(RoadTest, SalesDocumentsAndTheItemHistorySayWhatTheyMean)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");

    // ---- A stored invoice that is not posted waits for its first print.
    NewFromList("Sales invoices", WinTypes::SalesInvoiceList, WinTypes::SalesInvoice);
    TypeOneRowDocument("C1", 1, "ITEM1", "1");
    ClickButton("More");
    Check("the unposted invoice is not printed yet", [] {
        EXPECT_EQ(Shown("Printed"), "No") << "the print run of invoices not printed before prints it";
        return true;
    });
    Menu("Window", "Close all");

    // ---- A customer over the credit limit is warned of, not stopped.
    TypeAndPostInvoice("C1", "ITEM1", "1");
    Menu("Window", "Close all");
    Menu("Settings", "Credit limits...");
    Check("the credit-limit settings open", Opened(WinTypes::SetCreditLimit));
    Retype("Invoices: warn", "1");
    ClickOk();
    Menu("Window", "Close all");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(WinTypes::CustomerList));
    OpenFromList("C1", WinTypes::Customers);
    ClickButton("Terms");
    Retype("Credit limit", "1,00");
    OkStoresQuietly("the customer's credit limit");
    Menu("Window", "Close all");
    auto told = CountTold();
    NewFromList("Sales invoices", WinTypes::SalesInvoiceList, WinTypes::SalesInvoice);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    Check("the credit limit is a warning and the invoice goes on", [told] {
        const std::vector<PlScriptRecord> &boxes = ScriptRecords();
        auto warning = std::find_if(boxes.begin(), boxes.end(), [](const PlScriptRecord &r) {
            return r.kind == "message" && r.text.find("credit limit") != std::string::npos;
        });
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_NE(warning, boxes.end()) << ::testing::PrintToString(Messages());
        if (warning != boxes.end()) {
            EXPECT_EQ(warning->icon, int(PlMbIcon::Warning)) << warning->text;
        }
        EXPECT_EQ(ActiveType(), WinTypes::SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C1");
        return true;
    });
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    // ---- A contract's interval unit, shown and typed as a word.
    NewFromList("Contracts", WinTypes::ContractList, WinTypes::Contract);
    ClickButton("Terms");
    Check("a new contract invoices by the month", [] {
        bool found = false;
        EXPECT_EQ(Shown("Unit", 0, &found), "Months");
        EXPECT_TRUE(found) << "the interval's unit is labelled \"Unit\"";
        return found;
    });
    Retype("Unit", "Days");
    Key(PlKey::Tab);
    Check("the unit typed as a word is taken", [] {
        EXPECT_EQ(Shown("Unit"), "Days");
        EXPECT_TRUE(Messages().empty() || Messages().back().find("keeps what it held") == std::string::npos)
            << Messages().back();
        return true;
    });
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    // ---- The item history's receipt and direction.
    Menu("Module", "Stock");
    Menu("Registers", "Item history");
    Check("the invoices' entries moved stock and took it out", [] {
        const std::vector<std::string> rows = ListRowsShown();
        const auto sold = std::count_if(rows.begin(), rows.end(), [](const std::string &r) {
            return r.find("ITEM1") != std::string::npos && r.find("Sales invoice") != std::string::npos;
        });
        EXPECT_GE(sold, 1) << ::testing::PrintToString(rows);
        for (const std::string &r : rows) {
            if (r.find("ITEM1") != std::string::npos && r.find("Sales invoice") != std::string::npos) {
                // Invoiced without an order, the invoice moved the stock itself.
                EXPECT_NE(r.find(" | Yes | Out | Sales invoice"), std::string::npos) << r;
            }
        }
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
