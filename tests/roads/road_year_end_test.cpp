// road_year_end_test.cpp - the turn of a year in the demo company, as a
// bookkeeper works through it: vouchers typed on 31 December, on 1
// January and on 31 December again, each numbered from the number series
// of its own year (the demo keeps one row a year), and the Number hints
// window showing the last voucher the next one is numbered after. Two
// invoices, of 31 December and of 1 January, likewise each in its year's
// series, stored unposted. Then the year is locked: vouchers and
// sub-ledgers to 31 December. The invoice list's Post marked refuses the
// December invoice with the message its window gives, and posts the
// January one; the company file holds the December invoice unposted, with
// nothing of it in the ledger.
// Menus: in General ledger, Registers > Vouchers, Settings > Date locks...;
// in Sales, Settings > Number hints..., Operations > Post marked; File >
// Windows... > "Sales invoices".
// Windows: Voucher list, Voucher, Number hints, Date locks, Sales invoice
// list, Sales invoice.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

namespace W = WinTypes;
constexpr int InvoiceItemColumn = 1;

// The last day of this year and the first of the next, as dates are
// typed; the year of a number of the demo's series (its row of a year
// numbers from yy00001).
std::string LastDay() { return "31.12." + std::to_string(TodayDate.year); }
std::string FirstDay() { return "01.01." + std::to_string(TodayDate.year + 1); }
int YearOfNumber(const std::string &number) { return number.size() == 7 ? 2000 + std::stoi(number.substr(0, 2)) : 0; }

class YearEndRoad : public RoadTest {
protected:
    // The field `label` of the active window retyped with the text `text`
    // gives when typed (`what` names it), and left.
    void RetypeWith(const std::string &label, const std::string &what, std::function<std::string()> text) {
        ClickField(label);
        Key(PlKey::End);
        Key(PlKey::Home, true);
        Type(what, std::move(text));
        Key(PlKey::Tab);
    }
    // OK stores the active document without a word; the number it then
    // shows in the result, and every window closed.
    std::shared_ptr<std::string> StoredNumber(const std::string &what) {
        ClickOk();
        auto number = std::make_shared<std::string>();
        Check(what + " is stored", [number] {
            EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
            *number = DigitsOf(Shown("Number"));
            return TitleTells("viewing") && !number->empty();
        });
        Menu("Window", "Close all");
        return number;
    }

    // Registers > Vouchers, New: a voucher of 100 of office supplies paid
    // from the bank on `date` (a function, read when typed), stored with
    // the Number it was given; that number in the result.
    std::shared_ptr<std::string> VoucherOn(const std::string &what, std::function<std::string()> date) {
        Menu("Registers", "Vouchers");
        Check("the voucher list", Opened(W::VoucherList));
        ClickButton("New");
        Check("New opens a voucher", Opened(W::Voucher));
        RetypeWith("Date", what, std::move(date));
        ClickField("Text");
        Type(what);
        ClickCell(0, 0);
        Type("6110");
        Key(PlKey::Tab);
        ClickCell(0, 3);
        Type("100");
        Key(PlKey::Tab);
        ClickCell(1, 0);
        Type("1930");
        Key(PlKey::Tab);
        ClickCell(1, 4);
        Type("100");
        Key(PlKey::Tab);
        return StoredNumber(what);
    }

    // File > Windows... > Sales invoices, New: an invoice to C1 of one
    // installation dated `date` (invoice and transaction date), stored
    // unposted; its number in the result.
    std::shared_ptr<std::string> InvoiceOn(const std::string &what, std::function<std::string()> date) {
        NewFromWindowList("Sales invoices", W::SalesInvoiceList, W::SalesInvoice);
        ClickField("Customer");
        Type("C1");
        Key(PlKey::Tab);
        for (const char *label : {"Invoice date", "Transaction date"}) RetypeWith(label, what, date);
        ClickCell(0, InvoiceItemColumn);
        Type("SERVICE");
        Key(PlKey::Tab);
        Type("1");
        Key(PlKey::Tab);
        return StoredNumber(what);
    }
};

TEST_F(YearEndRoad, EachYearNumbersItsOwnAndALockedYearIsNotPosted) {
    const std::string company = StartNewCompany("year_end.VDB");
    Menu("Module", "General ledger");
    auto december = VoucherOn("the voucher of 31 December", LastDay);
    auto january = VoucherOn("the voucher of 1 January", FirstDay);
    auto decemberAgain = VoucherOn("a second voucher of 31 December", LastDay);
    Check("each voucher is numbered in its own year's series, one after the other", [=] {
        EXPECT_EQ(YearOfNumber(*december), TodayDate.year) << *december;
        EXPECT_EQ(YearOfNumber(*january), TodayDate.year + 1) << *january;
        EXPECT_EQ(YearOfNumber(*decemberAgain), TodayDate.year) << *decemberAgain;
        EXPECT_EQ(std::stol(*decemberAgain), std::stol(*december) + 1);
        return true;
    });

    Menu("Module", "Sales");
    Menu("Settings", "Number hints...");
    Check("the Number hints window shows the last voucher", [decemberAgain] {
        EXPECT_EQ(ActiveType(), W::SetNumberHints) << ActiveTitle();
        EXPECT_EQ(DigitsOf(Shown("Last voucher")), *decemberAgain);
        return ActiveType() == W::SetNumberHints;
    });
    KeepPicture("year_end_number_hints");
    Menu("Window", "Close all");

    auto invoiceDecember = InvoiceOn("the invoice of 31 December", LastDay);
    auto invoiceJanuary = InvoiceOn("the invoice of 1 January", FirstDay);
    Check("each invoice is numbered in its own year's series", [=] {
        EXPECT_EQ(YearOfNumber(*invoiceDecember), TodayDate.year) << *invoiceDecember;
        EXPECT_EQ(YearOfNumber(*invoiceJanuary), TodayDate.year + 1) << *invoiceJanuary;
        return true;
    });

    // The year is closed: vouchers and sub-ledgers locked to its last day.
    Menu("Module", "General ledger");
    Menu("Settings", "Date locks...");
    Check("the date locks open", Opened(W::SetDateLocks));
    for (const char *label : {"Vouchers locked to", "Sub-ledgers locked to"}) RetypeWith(label, "the year's last day", LastDay);
    ClickOk();
    Check("the locks are stored", [] { return ActiveType() != W::SetDateLocks; });

    Menu("Module", "Sales");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the invoice list", Opened(W::SalesInvoiceList));
    auto told = CountTold();
    FindRow("the December invoice", invoiceDecember);
    Menu("Operations", "Post marked");
    KeepPicture("year_end_refused_posting");
    Check("Post marked refuses the December invoice as its window does", [told] {
        const std::vector<std::string> said = Messages();
        EXPECT_EQ(said.size(), *told + 1) << ::testing::PrintToString(said);
        EXPECT_TRUE(Told("The date lies in a locked period.")) << ::testing::PrintToString(said);
        return true;
    });
    auto toldAfter = CountTold();
    FindRow("the January invoice", invoiceJanuary);
    Menu("Operations", "Post marked");
    Check("Post marked posts the January invoice without a word", [toldAfter] {
        EXPECT_EQ(Messages().size(), *toldAfter) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // The company file: the December invoice unposted, in no ledger; the
    // January one posted, with its voucher in the next year.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> invoice(IVVc::Size);
    uint32_t id = 0;
    int seen = 0;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, invoice.data(), &id); p++) {
        const std::string number = std::to_string(GetU32(invoice.data(), IVVc::SerNr));
        RecFreeMatrix(IVVc::Number, invoice.data());
        if (number == *invoiceDecember) {
            seen++;
            EXPECT_EQ(GetU16(invoice.data(), IVVc::Posted), 0) << number;
        } else if (number == *invoiceJanuary) {
            seen++;
            EXPECT_EQ(GetU16(invoice.data(), IVVc::Posted), 1) << number;
        }
    }
    EXPECT_EQ(seen, 2);
    std::vector<uint8_t> entry(CustTransVc::Size);
    for (int32_t p = 1; RecReadAt(CustTransVc::Number, p, entry.data(), &id); p++)
        EXPECT_NE(std::to_string(GetU32(entry.data(), CustTransVc::DocNr)), *invoiceDecember);
    std::vector<uint8_t> open(ARVc::Size);
    for (int32_t p = 1; RecReadAt(ARVc::Number, p, open.data(), &id); p++)
        EXPECT_NE(std::to_string(GetU32(open.data(), ARVc::InvoiceNr)), *invoiceDecember);
    CloseForCheck();
}

// New pressed in the voucher just stored on 31 December starts the next
// one as a voucher opened new does: dated 1 January, it gives up the
// number proposed from December's series and is numbered from January's
// as it is stored, without a word.
TEST_F(YearEndRoad, NewAfterADecemberVoucherNumbersTheNextFromItsOwnYear) {
    StartNewCompany("year_end_new.VDB");
    Menu("Module", "General ledger");
    Menu("Registers", "Vouchers");
    Check("the voucher list", Opened(W::VoucherList));
    auto numbers = std::make_shared<std::vector<std::string>>();
    const std::pair<const char *, std::function<std::string()>> dates[] = {{"31 December", LastDay},
                                                                            {"1 January", FirstDay}};
    for (const auto &[what, date] : dates) {
        ClickButton("New");
        Check(std::string("New starts the voucher of ") + what, [] { return TitleTells("new"); });
        RetypeWith("Date", what, date);
        ClickField("Text");
        Type(what);
        struct Cell {
            int row, column;
            const char *text;
        };
        for (const Cell &c : {Cell{0, 0, "6110"}, Cell{0, 3, "100"}, Cell{1, 0, "1930"}, Cell{1, 4, "100"}}) {
            ClickCell(c.row, c.column);
            Type(c.text);
            Key(PlKey::Tab);
        }
        ClickOk();
        Check(std::string("the voucher of ") + what + " is stored", [numbers] {
            EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
            numbers->push_back(DigitsOf(Shown("Number")));
            return TitleTells("viewing");
        });
    }
    Check("each is numbered in its own year's series", [numbers] {
        EXPECT_EQ(numbers->size(), 2u);
        EXPECT_EQ(YearOfNumber(numbers->front()), TodayDate.year) << numbers->front();
        EXPECT_EQ(YearOfNumber(numbers->back()), TodayDate.year + 1) << numbers->back();
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
