// road_person_steps.cpp - the steps of road_person_steps.h.
#include "tests/roads/road_person_steps.h"

#include <vector>

#include "core/system.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "tests/roads/road_text.h"

namespace {

// The rows of a claim: account, objects, text, amount, VAT code; of a
// payment: person, text, name, amount.
constexpr int ClaimAccount = 0, ClaimAmount = 3, ClaimVatCode = 4, PaidPerson = 0, PaidAmount = 3;

// OK in the open window, then the number it shows read into the result.
std::shared_ptr<std::string> StoredNumber(RoadTest &road, const std::string &what)
{
    road.OkStoresQuietly(what);
    auto number = std::make_shared<std::string>();
    road.Check("read the number of the " + what, [number] {
        *number = DigitsOf(RoadTest::Shown("Number"));
        return !number->empty();
    });
    return number;
}

// The open window's Date retyped with the text `date` gives when typed.
void TypeDate(RoadTest &road, const std::function<std::string()> &date)
{
    road.ClickField("Date");
    road.Key(PlKey::End);
    road.Key(PlKey::Home, true);
    road.Type("the date", date);
    road.Key(PlKey::Tab);
}

}  // namespace

void TypePersonWithAccount(RoadTest &road, const std::string &code, const std::string &name,
                           const std::string &account)
{
    road.Menu("Module", "General ledger");
    road.NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    road.TypeAccounts({{account, "Owed to staff", "Liabilities", ""}});
    road.NewFromList("Persons", WinTypes::PersonList, WinTypes::Persons);
    road.TypeFields({{"Code", code.c_str()}, {"Name", name.c_str()}, {"Account", account.c_str()}});
    road.OkStoresQuietly("the person " + code);
    road.Menu("Window", "Close all");
}

void TypeExpenseClaimRows(RoadTest &road, const std::string &person, const std::string &account,
                          const std::string &amount, std::function<std::string()> date)
{
    road.Menu("Module", "Purchasing");
    road.NewFromList("Expense claims", WinTypes::ExpenseClaimList, WinTypes::ExpenseClaim);
    if (date) TypeDate(road, date);
    road.ClickField("Person");
    road.Type(person);
    road.Key(PlKey::Tab);
    road.ClickField("Text");
    road.Type("Travel");
    road.Key(PlKey::Tab);
    road.ClickButton("Rows");
    road.TypeCell(0, ClaimAccount, account);
    road.Key(PlKey::Tab);
    road.TypeCell(0, ClaimVatCode, "1");
    road.Key(PlKey::Tab);
    road.TypeCell(0, ClaimAmount, amount);
    road.Key(PlKey::Tab);
    road.Check("the claim comes to " + amount, [amount] {
        EXPECT_EQ(DigitsOf(RoadTest::Shown("Total")), DigitsOf(amount)) << RoadTest::Shown("Total");
        return true;
    });
}

std::shared_ptr<std::string> TypeExpenseClaim(RoadTest &road, const std::string &person, const std::string &account,
                                              const std::string &amount, KeptAs kept,
                                              std::function<std::string()> date)
{
    TypeExpenseClaimRows(road, person, account, amount, date);
    if (kept == KeptAs::Posted || kept == KeptAs::PostedNotStored) road.ClickButton("Posted");
    if (kept == KeptAs::PostedNotStored) return std::make_shared<std::string>();
    return StoredNumber(road, kept == KeptAs::Posted ? "posted claim" : "claim");
}

std::shared_ptr<std::string> TypePersonPayment(RoadTest &road, const std::string &mode, const std::string &person,
                                               const std::string &amount, KeptAs kept,
                                               std::function<std::string()> date)
{
    road.Menu("Module", "Purchasing");
    road.NewFromList("Person payments", WinTypes::PersonPaymentList, WinTypes::PersonPayment);
    if (date) TypeDate(road, date);
    road.ClickField("Payment mode");
    road.Type(mode);
    road.Key(PlKey::Tab);
    road.ClickButton("Rows");
    road.TypeCell(0, PaidPerson, person);
    road.Key(PlKey::Tab);
    road.TypeCell(0, PaidAmount, amount);
    road.Key(PlKey::Tab);
    road.Check("the payment comes to " + amount, [amount] {
        EXPECT_EQ(DigitsOf(RoadTest::Shown("Rows total")), DigitsOf(amount)) << RoadTest::Shown("Rows total");
        return true;
    });
    if (kept != KeptAs::Typed) road.ClickButton("Approved");
    if (kept == KeptAs::Posted || kept == KeptAs::PostedNotStored) road.ClickButton("Posted");
    if (kept == KeptAs::PostedNotStored) return std::make_shared<std::string>();
    return StoredNumber(road, kept == KeptAs::Posted ? "posted payment" : "payment");
}

void PostInItsWindow(RoadTest &road, bool approveFirst)
{
    if (approveFirst) road.ClickButton("Approved");
    road.ClickButton("Posted");
    road.OkStoresQuietly("the record posted in its window");
}

void RunOnListRow(RoadTest &road, const std::string &list, int listType, std::shared_ptr<std::string> number,
                  const std::string &operation, const std::string &said)
{
    road.Menu("Window", "Close all");
    road.Menu("Module", "Purchasing");
    road.Menu("Registers", list);
    road.Check(list + " opens its list", RoadTest::Opened(listType));
    road.FindRow(list + " row", number);
    auto told = road.CountTold();
    road.Menu("Operations", operation);
    road.Check(operation + (said.empty() ? " runs without a word" : " says what it did"), [told, said, number] {
        const std::vector<std::string> messages = RoadTest::Messages();
        EXPECT_EQ(messages.size(), *told + (said.empty() ? 0 : 1)) << ::testing::PrintToString(messages);
        if (!said.empty() && messages.size() > *told) {
            EXPECT_EQ(messages.back(), said + *number);
        }
        return true;
    });
}

std::shared_ptr<std::string> PersonStatementOfTheYear(RoadTest &road, const std::string &person,
                                                      const std::string &shot)
{
    return road.ReportToPreviewAndPdf("Person Statements", WinTypes::PersonStatementSel, [&road, person] {
        TypeThisYear(road);
        road.ClickField("Persons");
        road.Type(person);
    }, shot);
}

void TypeThisYear(RoadTest &road)
{
    road.ClickField("From");
    road.Type("From", [] { return "01.01." + std::to_string(TodayDate.year); });
    road.ClickField("To");
    road.Type("To", [] { return "31.12." + std::to_string(TodayDate.year); });
}
