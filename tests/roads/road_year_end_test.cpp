// road_year_end_test.cpp - the turn of a year in the demo company, as a
// bookkeeper works through it: vouchers typed on 31 December, on 1
// January and on 31 December again, each numbered from the number series
// of its own year (the demo keeps one row a year), and the Number hints
// window showing the last voucher the next one is numbered after. Two
// invoices, of 31 December and of 1 January, likewise each in its year's
// series, stored unposted.
//
// Then November is locked, vouchers and sub-ledgers to 30 November, and a
// person's expense claim and payment of 20 November are posted by every
// road a user has: a new claim ticked Posted, a stored claim ticked Posted
// in its window, the claim list's Post marked; a new payment ticked
// Approved and Posted, a stored approved payment ticked Posted, the
// payment list's Approve marked (which books nothing) and Post marked.
// Each posting is refused with the message the voucher window gives for
// the date, and November's trial balance reads as it read before.
//
// Then the year is locked: vouchers and sub-ledgers to 31 December. The
// invoice list's Post marked refuses the December invoice with the message
// its window gives, and posts the January one; print and approve refuses
// the December invoice too, prints nothing and says so. The company file
// holds the December invoice unposted, with nothing of it in the ledger,
// and no claim or payment posted, in the person ledger or with a voucher.
// A stock movement begun in December and dated 1 January gives up its
// December number and is stored in January's series.
// Menus: in General ledger, Registers > Vouchers, Registers > Accounts,
// Registers > Persons, Settings > Date locks..., File > Reports (Ctrl+R) >
// "Trial Balance"; in Sales, Settings > Number hints..., Operations > Post
// marked, File > Documents... > "Print and approve invoices"; in
// Purchasing, Registers > Expense claims, Registers > Person payments,
// Operations > Post marked, Operations > Approve marked; in Stock,
// Registers > Stock movement; File > Windows... > "Sales invoices".
// Windows: Voucher list, Voucher, Number hints, Date locks, Sales invoice
// list, Sales invoice, Account list, Account, Person list, Person, Expense
// claim list, Expense claim, Person payment list, Person payment, Trial
// balances and sales-ledger accounts selection, Reports, Documents,
// Invoice print and approve run, Stock movement.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_person_steps.h"
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
#include "platform/dialog.h"
#include "platform/queue.h"
#include "shell/toolbar.h"

namespace {

namespace W = WinTypes;
constexpr int InvoiceItemColumn = 1, TrialBalanceSel = 428;
const std::string DateLockedText = "The date lies in a locked period.";

// The last day of this year and the first of the next, as dates are
// typed; the year of a number of the demo's series (its row of a year
// numbers from yy00001).
std::string LastDay() { return "31.12." + std::to_string(TodayDate.year); }
std::string FirstDay() { return "01.01." + std::to_string(TodayDate.year + 1); }
std::string InNovember() { return "20.11." + std::to_string(TodayDate.year); }

// The account lines of a printed trial balance (those that start with an
// account number) and its total line.
std::vector<std::string> AccountLines(const std::string &text) {
    std::vector<std::string> out = PrintedLinesStarting(text, "Total");
    for (char digit = '1'; digit <= '9'; digit++)
        for (const std::string &line : PrintedLinesStarting(text, std::string(1, digit))) out.push_back(line);
    return out;
}
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

    // The date locks' window: the vouchers and the sub-ledgers locked to
    // the date `date` gives (`what` names it), stored by OK.
    void LockTo(const std::string &what, std::function<std::string()> date) {
        Menu("Module", "General ledger");
        Menu("Settings", "Date locks...");
        Check("the date locks open", Opened(W::SetDateLocks));
        for (const char *label : {"Vouchers locked to", "Sub-ledgers locked to"}) RetypeWith(label, what, date);
        ClickOk();
        Check("the locks are stored", [] { return ActiveType() != W::SetDateLocks; });
    }

    // What `act` does to post something of the locked month is refused with
    // the date's message, and nothing else is told.
    void RefusedAsLocked(const std::string &what, std::function<void()> act) {
        auto told = CountTold();
        act();
        Check(what + " is refused for the locked month", [told] {
            const std::vector<std::string> said = Messages();
            EXPECT_EQ(said.size(), *told + 1) << ::testing::PrintToString(said);
            EXPECT_EQ(said.empty() ? "" : said.back(), DateLockedText);
            return true;
        });
    }

    // The open record window, refused, closed without storing its changes.
    void CloseUnstored() {
        AnswerBox(kPlIdNo);
        Menu("Window", "Close all");
    }

    // In Purchasing, Registers > `list` (list window `type`) with the
    // record numbered *number found and selected.
    void FindInList(const std::string &list, int type, std::shared_ptr<std::string> number) {
        Menu("Window", "Close all");
        Menu("Module", "Purchasing");
        Menu("Registers", list);
        Check(list + " opens its list", Opened(type));
        FindRow(list + " row", number);
    }
    // The same and Operations > `operation` run on it.
    void OnListRow(const std::string &list, int type, std::shared_ptr<std::string> number,
                   const std::string &operation) {
        FindInList(list, type, number);
        Menu("Operations", operation);
    }
    // The same, Return opening it in record window `recordType`.
    void OpenListed(const std::string &list, int type, std::shared_ptr<std::string> number, int recordType) {
        FindInList(list, type, number);
        Key(PlKey::Return);
        Check(list + " opens the stored record", Opened(recordType));
    }

    // November's trial balance, to the preview and the printer's PDF: its
    // text in the result once that step ran.
    std::shared_ptr<std::string> NovemberTrialBalance(const std::string &shot) {
        Menu("Window", "Close all");
        Menu("Module", "General ledger");
        auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] {
            ClickField("From");
            Type("From", [] { return "01.11." + std::to_string(TodayDate.year); });
            ClickField("To");
            Type("To", [] { return "30.11." + std::to_string(TodayDate.year); });
        }, shot);
        Menu("Window", "Close all");
        return trial;
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

    // ---- November locked: a claim and a payment of 20 November are not
    // posted by any road, and November's books stay as they were.
    TypePersonWithAccount(*this, "P1", "Pia Staff", "2890");
    LockTo("30 November", [] { return "30.11." + std::to_string(TodayDate.year); });
    auto before = NovemberTrialBalance("year_end_november_before");
    // Typed without posting, they book nothing: the lock lets them be kept.
    auto claim = TypeExpenseClaim(*this, "P1", "6110", "100,00", KeptAs::Typed, InNovember);
    Menu("Window", "Close all");
    auto listedClaim = TypeExpenseClaim(*this, "P1", "6110", "100,00", KeptAs::Typed, InNovember);
    Menu("Window", "Close all");
    auto payment = TypePersonPayment(*this, "K", "P1", "100,00", KeptAs::Approved, InNovember);
    Menu("Window", "Close all");
    auto listedPayment = TypePersonPayment(*this, "K", "P1", "100,00", KeptAs::Typed, InNovember);
    Menu("Window", "Close all");

    TypeExpenseClaim(*this, "P1", "6110", "100,00", KeptAs::PostedNotStored, InNovember);
    RefusedAsLocked("a new claim ticked Posted", [this] { ClickOk(); });
    KeepPicture("year_end_refused_claim");
    CloseUnstored();
    OpenListed("Expense claims", W::ExpenseClaimList, claim, W::ExpenseClaim);
    RefusedAsLocked("a stored claim ticked Posted in its window", [this] {
        ClickButton("Posted");
        ClickOk();
    });
    CloseUnstored();
    RefusedAsLocked("the claim list's Post marked",
                    [&] { OnListRow("Expense claims", W::ExpenseClaimList, listedClaim, "Post marked"); });

    TypePersonPayment(*this, "K", "P1", "100,00", KeptAs::PostedNotStored, InNovember);
    RefusedAsLocked("a new payment ticked Approved and Posted", [this] { ClickOk(); });
    CloseUnstored();
    OpenListed("Person payments", W::PersonPaymentList, payment, W::PersonPayment);
    RefusedAsLocked("a stored approved payment ticked Posted in its window", [this] {
        ClickButton("Posted");
        ClickOk();
    });
    CloseUnstored();
    OnListRow("Person payments", W::PersonPaymentList, listedPayment, "Approve marked");
    RefusedAsLocked("the payment list's Post marked",
                    [&] { OnListRow("Person payments", W::PersonPaymentList, listedPayment, "Post marked"); });

    auto after = NovemberTrialBalance("year_end_november_after");
    Check("November's trial balance is as it was", [before, after] {
        EXPECT_FALSE(before->empty());
        EXPECT_EQ(AccountLines(*after), AccountLines(*before)) << *after;
        return true;
    });

    // The year is closed: vouchers and sub-ledgers locked to its last day.
    LockTo("the year's last day", LastDay);

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
    // Print and approve the December invoice: refused as Post marked
    // refuses it, nothing printed, and the run says just that.
    Menu("Window", "Close all");
    OpenPrintAndApprove([invoiceDecember] { return *invoiceDecember + ":" + *invoiceDecember; }, "Invoices",
                        "Printer");
    auto toldBeforeRun = CountTold();
    auto printedBefore = std::make_shared<std::vector<std::filesystem::path>>();
    Do("note the printed files", [this, printedBefore] {
        *printedBefore = FilesIn("print");
        return true;
    });
    ClickOk();
    Check("print and approve refuses the December invoice and prints nothing", [this, toldBeforeRun, printedBefore] {
        const std::vector<std::string> said = Messages();
        EXPECT_TRUE(said.size() > *toldBeforeRun && said[*toldBeforeRun] == DateLockedText)
            << ::testing::PrintToString(said);
        EXPECT_EQ(StatusLineText(), "1 neither posted nor printed (see the message)");
        EXPECT_TRUE(NewFilesIn("print", *printedBefore).empty());
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
    // November's claims and payments kept unposted, none in the person
    // ledger, and no voucher dated in November.
    for (auto [reg, posted] : {std::pair<int, uint32_t>{ExpenseVc::Number, ExpenseVc::Posted},
                               {PersPayVc::Number, PersPayVc::Posted}}) {
        std::vector<uint8_t> record(RegRecordSize(reg));
        EXPECT_EQ(RegRecordCount(reg), 2u) << reg;
        for (int32_t p = 1; RecReadAt(reg, p, record.data(), &id); p++) {
            RecFreeMatrix(reg, record.data());
            EXPECT_EQ(GetU16(record.data(), posted), 0) << reg;
        }
    }
    EXPECT_EQ(RegRecordCount(PersLedgerVc::Number), 0u);
    std::vector<uint8_t> voucher(TRVc::Size);
    for (int32_t p = 1; RecReadAt(TRVc::Number, p, voucher.data(), &id); p++) {
        RecFreeMatrix(TRVc::Number, voucher.data());
        EXPECT_NE(GetDate(voucher.data(), TRVc::TransDate).month, 11) << GetU32(voucher.data(), TRVc::SerNr);
    }
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

// A stock movement begun in this year, numbered from its series, and
// dated 1 January before it is stored gives that number up as vouchers
// and invoices do, and is numbered from the next year's series as it is
// stored, without a word.
TEST_F(YearEndRoad, AStockMovementMovedIntoTheNewYearTakesItsNumber) {
    const std::string company = StartNewCompany("year_end_stock.VDB");
    Menu("Module", "Stock");
    Menu("Registers", "Stock movement");
    Check("the stock-movement window opens", Opened(W::StockMovement));
    Menu("Record", "New");
    Check("a new movement proposes a number of this year's series", [] {
        const std::string number = DigitsOf(Shown("Number"));
        EXPECT_EQ(YearOfNumber(number), TodayDate.year) << number;
        return !number.empty();
    });
    RetypeWith("Date", "1 January", FirstDay);
    Check("dated 1 January, it gives that number up", [] {
        EXPECT_EQ(DigitsOf(Shown("Number")), "");
        return true;
    });
    TypeFields({{"From location", "MAIN"}, {"To location", "MAIN"}});
    ClickCell(0, 0);
    for (const char *text : {"ITEM1", "1"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    auto movement = StoredNumber("the stock movement of 1 January");
    Check("it is numbered in the next year's series", [movement] {
        EXPECT_EQ(YearOfNumber(*movement), TodayDate.year + 1) << *movement;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(StockMoveVc::Number), 1u);
    std::vector<uint8_t> record(StockMoveVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(StockMoveVc::Number, 1, record.data(), &id));
    RecFreeMatrix(StockMoveVc::Number, record.data());
    EXPECT_EQ(std::to_string(GetU32(record.data(), StockMoveVc::SerNr)), *movement);
    const DateRec stored = GetDate(record.data(), StockMoveVc::MoveDate), january{1, 1, uint16_t(TodayDate.year + 1)};
    EXPECT_EQ(DateCompare(&stored, &january), 0);
    CloseForCheck();
}

}  // namespace
