// road_person_ledger_test.cpp - what a company owes a person for the
// expenses it claimed, as a purchase clerk keeps it: an account for what
// is owed to staff and a person on it are typed into their windows; three
// claims are posted, each by another road a user has (ticked posted in a
// new claim's window, ticked posted in the window of a claim stored
// before, and the claim list's "Post marked"), and three payments to the
// person likewise (approved and posted in a new payment's window, posted
// in the window of one stored approved, and approved and posted by the
// payment list's "Approve marked" and "Post marked"). "Post marked" on a
// claim says it posted it, and on a claim posted already says so and
// posts nothing more. A key typed into a posted payment is refused with
// why.
//
// The person ledger lists each claim and each payment once, by its kind
// in words; the person's statement shows each once with its amount, and
// closes on what the claims less the payments come to. The company file
// holds one ledger entry and one voucher for each, and the account owed to
// staff stands at that balance.
// Menus: in General ledger, Registers > Accounts, Registers > Persons; in
// Purchasing, Registers > Expense claims, Registers > Person payments,
// Operations > Post marked, Operations > Approve marked, Registers > Person
// ledger; File > Reports (Ctrl+R) > "Person Statements".
// Windows: Account list, Account, Person list, Person, Expense claim
// list, Expense claim, Person payment list, Person payment, Person ledger,
// Person statement selection, Reports.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_person_steps.h"
#include "tests/roads/road_text.h"

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

// What each claim and payment is for; the person is owed the difference.
constexpr double ClaimA = 125, ClaimB = 250, ClaimC = 50, PaidX = 100, PaidY = 80, PaidZ = 40;
constexpr double Owed = ClaimA + ClaimB + ClaimC - PaidX - PaidY - PaidZ;

// The statement's entry lines of kind `kind` ("Expense", "Payment") by the
// number that follows the kind, with the amount each shows first.
std::multimap<std::string, double> StatementEntries(const std::string &text, const std::string &kind)
{
    std::multimap<std::string, double> out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string date, word, number;
        if (!(words >> date) || date.size() != 10 || date[2] != '.' || !(words >> word) || word != kind) continue;
        if (!(words >> number)) continue;
        const std::vector<double> amounts = PrintedAmounts(line);
        out.emplace(number, amounts.empty() ? 0 : amounts.front());
    }
    return out;
}

TEST_F(RoadTest, ClaimsAndPaymentsPostedByEveryRoadReachThePersonLedgerOnce) {
    const std::string company = StartNewCompany();
    TypePersonWithAccount(*this, "P1", "Pia Staff", "2890");

    // ---- three claims, each posted by its own road -----------------------
    auto inWindow = TypeExpenseClaim(*this, "P1", "6110", "125,00", KeptAs::Posted);
    auto storedFirst = TypeExpenseClaim(*this, "P1", "6110", "250,00", KeptAs::Typed);
    PostInItsWindow(*this, false);
    auto fromList = TypeExpenseClaim(*this, "P1", "6110", "50,00", KeptAs::Typed);
    RunOnListRow(*this, "Expense claims", WinTypes::ExpenseClaimList, fromList, "Post marked", ClaimPostedSays);
    // The list's run on a claim posted already tells so.
    Menu("Window", "Close all");
    Menu("Registers", "Expense claims");
    FindRow("the claim posted in its window", inWindow);
    auto told = CountTold();
    Menu("Operations", "Post marked");
    Check("Post marked on a posted claim says it was posted before", [told, inWindow] {
        const std::vector<std::string> said = Messages();
        EXPECT_EQ(said.size(), *told + 1) << ::testing::PrintToString(said);
        EXPECT_TRUE(Told("posted before")) << ::testing::PrintToString(said);
        EXPECT_TRUE(said.size() > *told && said.back().find(*inWindow) != std::string::npos)
            << ::testing::PrintToString(said);
        return true;
    });

    // ---- three payments, each posted by its own road ---------------------
    auto paidInWindow = TypePersonPayment(*this, "K", "P1", "100,00", KeptAs::Posted);
    Check("the payment names no currency beside its totals in home currency", [] {
        EXPECT_EQ(ShownBeside("Rows total"), "");
        EXPECT_EQ(ShownBeside("Paid from bank"), "");
        EXPECT_EQ(CellUnder("Kind", 0), "Payment");
        EXPECT_TRUE(CellShownWhole("Kind", 0));
        return true;
    });
    KeepPicture("person_payment_window");
    // The posted payment takes no typed key, and says why.
    auto toldBefore = CountTold();
    ClickField("Payment mode");
    Type("X");
    Check("a key typed into the posted payment is refused with why", [toldBefore] {
        const std::vector<std::string> said = Messages();
        EXPECT_EQ(said.size(), *toldBefore + 1) << ::testing::PrintToString(said);
        EXPECT_TRUE(Told("A posted person payment cannot be changed.")) << ::testing::PrintToString(said);
        EXPECT_EQ(Shown("Payment mode"), "K");
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    auto paidStored = TypePersonPayment(*this, "K", "P1", "80,00", KeptAs::Approved);
    PostInItsWindow(*this, false);
    auto paidFromList = TypePersonPayment(*this, "K", "P1", "40,00", KeptAs::Typed);
    RunOnListRow(*this, "Person payments", WinTypes::PersonPaymentList, paidFromList, "Approve marked");
    RunOnListRow(*this, "Person payments", WinTypes::PersonPaymentList, paidFromList, "Post marked");

    // ---- the person ledger and the statement -----------------------------
    Menu("Window", "Close all");
    Menu("Registers", "Person ledger");
    Check("the person ledger holds each claim and each payment once",
          [inWindow, storedFirst, fromList, paidInWindow, paidStored, paidFromList] {
              EXPECT_EQ(ActiveType(), WinTypes::PersonLedgerList) << ActiveTitle();
              std::multiset<std::string> want = {
                  "Expense claim " + *inWindow, "Expense claim " + *storedFirst, "Expense claim " + *fromList,
                  "Payment " + *paidInWindow,   "Payment " + *paidStored,        "Payment " + *paidFromList};
              const std::vector<std::string> rows = ListRowsShown();
              for (const std::string &row : rows) {
                  // Person | date | kind | document
                  const std::vector<std::string> cells = ListRowCells(row);
                  if (cells.size() != 4 || cells[0] != "P1") {
                      ADD_FAILURE() << row;
                      continue;
                  }
                  auto it = want.find(cells[2] + " " + DigitsOf(cells[3]));
                  if (it == want.end()) {
                      ADD_FAILURE() << "not an entry asked for, or one twice: " << row;
                      continue;
                  }
                  want.erase(it);
              }
              EXPECT_TRUE(want.empty()) << want.size() << " missing of " << ::testing::PrintToString(rows);
              EXPECT_EQ(ListCellCut(), "") << "the list cuts a text";
              return ActiveType() == WinTypes::PersonLedgerList;
          });
    KeepPicture("person_ledger");
    Menu("Window", "Close all");
    auto statement = PersonStatementOfTheYear(*this, "P1", "person_statement");
    EXPECT_EQ(Run(), 0);

    ASSERT_FALSE(statement->empty());
    EXPECT_NE(statement->find("Pia Staff"), std::string::npos) << *statement;
    const std::multimap<std::string, double> claims = StatementEntries(*statement, "Expense");
    const std::multimap<std::string, double> paid = StatementEntries(*statement, "Payment");
    EXPECT_EQ(claims.size(), 3u) << *statement;
    EXPECT_EQ(paid.size(), 3u) << *statement;
    for (const auto &[number, amount] : {std::pair{*inWindow, ClaimA}, {*storedFirst, ClaimB}, {*fromList, ClaimC}}) {
        ASSERT_EQ(claims.count(number), 1u) << "claim " << number << "\n" << *statement;
        EXPECT_NEAR(claims.find(number)->second, amount, 0.005) << number;
    }
    for (const auto &[number, amount] :
         {std::pair{*paidInWindow, PaidX}, {*paidStored, PaidY}, {*paidFromList, PaidZ}}) {
        ASSERT_EQ(paid.count(number), 1u) << "payment " << number << "\n" << *statement;
        EXPECT_NEAR(paid.find(number)->second, amount, 0.005) << number;
    }
    EXPECT_NEAR(PrintedLastAmount(*statement, "Closing balance"), Owed, 0.005) << *statement;

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(PersLedgerVc::Number), 6u);
    uint32_t vouchers = 0;
    std::map<std::string, double> sums = VoucherSums(&vouchers);
    EXPECT_EQ(vouchers, 6u) << "one voucher each, the claim posted again none";
    EXPECT_NEAR(sums["2890"], -Owed, 0.005) << "the account owed to staff";
    CloseForCheck();
}

}  // namespace
