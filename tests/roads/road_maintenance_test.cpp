// road_maintenance_test.cpp - a batch routine as a user runs it: a sales
// invoice is stored without being posted, File > Maintenance lists the
// routines under Maintenance, "Approve sales invoices" opens its
// selection window, and OK on the invoice's number posts it: the company
// file then holds the invoice posted and its voucher. A range that names
// no invoice changes nothing. "Post documents again" books the voucher
// of an invoice posted while the posting settings made none, and leaves
// an invoice, an expense claim and a person payment whose voucher the
// ledger holds as they are, saying so.
// Menus: File > Maintenance... > "Approve sales invoices", File >
// Maintenance... > "Post documents again", File > Windows... > "Sales
// invoices"; in General ledger, Settings > Posting...; in Purchasing,
// Registers > Expense claims, Registers > Person payments.
// Windows: Sales invoice, Windows, Approve sales invoices (routine 8),
// Post documents again (routine 10), Posting to the ledger, Expense
// claim, Person payment.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_person_steps.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "rules/rules_types.h"
#include "shell/toolbar.h"

namespace {

constexpr int SalesInvoice = 347, WindowList = 12, ApproveSel = 553, PostAgainSel = 555;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

class MaintenanceRoad : public RoadTest {
protected:
    // File > Maintenance, "Approve sales invoices", its selection window
    // with the range that `range` gives when the step runs typed as its
    // invoice numbers, and OK.
    void ApproveRange(std::function<std::string()> range)
    {
        OpenMaintenanceRun("Approve sales invoices", ApproveSel);
        ClickField("Invoice numbers");
        Type("the invoice numbers", std::move(range));
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        Do("keep a picture of the selection window", [this, shots] {
            EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "approve_invoices.png", true));
            return true;
        });
        ClickButton("OK");
    }
    // File > Maintenance, "Post documents again", register `reg` and the
    // document numbered *number as its range, and OK.
    void PostAgain(const std::string &reg, std::shared_ptr<std::string> number)
    {
        Menu("Window", "Close all");
        OpenMaintenanceRun("Post documents again", PostAgainSel);
        Retype("Register", reg);
        ClickField("Numbers");
        Type("the document's number", [number] { return *number + ":" + *number; });
        ClickButton("OK");
    }
    // In General ledger, Settings > Posting..., "Post invoices" clicked
    // (on to off, or back) and OK.
    void SwitchInvoicePosting()
    {
        Menu("Module", "General ledger");
        Menu("Settings", "Posting...");
        Check("the posting window opens", Opened(WinTypes::SetPosting));
        ClickButton("Post invoices");
        ClickOk();
        Check("the posting switches are stored", [] { return ActiveType() != WinTypes::SetPosting; });
    }
};

TEST_F(MaintenanceRoad, AnUnpostedInvoiceIsApprovedByItsNumberFromTheFunctionList)
{
    const std::string company = StartNewCompany();
    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        return ActiveType() == SalesInvoice;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, ColItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the invoice unposted", [number] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return !number->empty();
    });
    Menu("Window", "Close all");

    // A range past the invoice approves nothing; its own number approves it.
    ApproveRange([] { return std::string("900:999"); });
    ApproveRange([number] { return *number + ":" + *number; });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::SerNr)), *number);
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);   // its voucher, made once
}

// "Post documents again" books the voucher a posted document lacks, and
// no other: an invoice posted while the posting settings made no invoice
// vouchers gets its voucher once they do. Run again on it, and on a
// posted expense claim and person payment, whose vouchers the ledger
// holds, it books nothing and says why, blaming no setting.
TEST_F(MaintenanceRoad, PostingAgainBooksAMissingVoucherAndLeavesABookedOneSayingWhy)
{
    const std::string company = StartNewCompany("post_again.VDB");
    SwitchInvoicePosting();
    TypeAndPostInvoice("C1", "SERVICE", "1");
    auto invoice = std::make_shared<std::string>();
    Check("the invoice is posted without a voucher, quietly", [invoice] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *invoice = DigitsOf(Shown("Number"));
        return TitleTells("viewing") && !invoice->empty();
    });
    Menu("Window", "Close all");
    SwitchInvoicePosting();
    TypePersonWithAccount(*this, "P1", "Pia Staff", "2890");
    auto claim = TypeExpenseClaim(*this, "P1", "6110", "100,00", KeptAs::Posted);
    Menu("Window", "Close all");
    auto payment = TypePersonPayment(*this, "K", "P1", "100,00", KeptAs::Posted);

    auto told = CountTold();
    PostAgain("5", invoice);
    Check("the invoice's voucher is booked, and the run says so", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText(), "1 posted again");
        return true;
    });
    const std::string booked = "1 not posted again: its voucher is in the ledger";
    for (auto [reg, number] : {std::pair{"5", invoice}, {"109", claim}, {"110", payment}}) {
        auto before = CountTold();
        PostAgain(reg, number);
        Check(std::string("register ") + reg + ": nothing booked twice, and the run says why", [before, booked] {
            const std::vector<std::string> said = Messages();
            EXPECT_EQ(said.size(), *before + 1) << ::testing::PrintToString(said);
            EXPECT_EQ(said.empty() ? "" : said.back(), booked);
            return true;
        });
    }
    EXPECT_EQ(Run(), 0);

    // Each document has its one voucher, under its kind's year code.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> voucher(TRVc::Size);
    uint32_t id = 0;
    std::map<std::pair<uint16_t, std::string>, int> vouchers;
    for (int32_t p = 1; RecReadAt(TRVc::Number, p, voucher.data(), &id); p++) {
        RecFreeMatrix(TRVc::Number, voucher.data());
        vouchers[{GetU16(voucher.data(), TRVc::YearCode), std::to_string(GetU32(voucher.data(), TRVc::SerNr))}]++;
    }
    EXPECT_EQ((vouchers[{YearCodeInvoice, *invoice}]), 1);
    EXPECT_EQ((vouchers[{YearCodeExpense, *claim}]), 1);
    EXPECT_EQ((vouchers[{YearCodePersonPayment, *payment}]), 1);
    CloseForCheck();
}

}  // namespace
