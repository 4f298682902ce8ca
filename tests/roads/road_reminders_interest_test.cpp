// road_reminders_interest_test.cpp - interest on late payment set up and
// charged on the demo company as a user does it, with nothing imported:
// the demo's interest settings (8 % a year) and the customer window's
// "Interest on late payment" and "Count reminders" boxes.
//
// An invoice to C1 is typed and posted 98 days back (30 days' terms, so
// 68 days overdue). "Interest invoices" run while C1 is not charged
// interest says that no customer has interest on; with the box ticked in
// C1's window the run makes one unposted interest invoice and its last
// line names the invoice's number. A customer C9 typed in the customer
// window, whose reminders count as a new customer's do, gets a late
// invoice too. The reminder with interest on the demo's form, counting
// the reminders, then shows the interest under its own heading and adds
// it to the balance to pay, and counts a notice on both late invoices:
// C1's, whose box "Count reminders" was ticked in its window, and C9's,
// where a new customer has it ticked.
// Menus: in Sales, Registers > Customers (Ctrl+1); File > Maintenance... >
// "Interest invoices", File > Windows... > "Sales invoices", File >
// Documents... > "Reminders with interest".
// Windows: Customer list, Customers, Sales invoice, Interest invoices
// (routine 4).
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <ctime>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

namespace fs = std::filesystem;
constexpr int CustomerList = 594, Customers = 590, InterestSel = 473;

class ReminderInterestRoad : public RoadTest {
protected:
    // One ITEM1 to `customer` dated 98 days back, typed and posted in the
    // invoice window; its number is in the result once that step ran.
    std::shared_ptr<std::string> TypeLateInvoice(const std::string &customer)
    {
        auto told = CountTold();
        TypeAndPostInvoice(customer, "ITEM1", "1", DayText(-98));
        auto late = std::make_shared<std::string>();
        Check("OK posts the invoice", [late, told] {
            *late = Shown("Number");
            EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
            return !late->empty();
        });
        Menu("Window", "Close all");
        return late;
    }
    // File > Maintenance, "Interest invoices" for customers C1 over the
    // last 30 days, OK.
    void RunInterest()
    {
        OpenMaintenanceRun("Interest invoices", InterestSel);
        ClickField("Customers");
        Type("C1:C1");
        ClickField("Period from");
        Type(DayText(-30));
        ClickField("Period to");
        Type(DayText(0));
        Key(PlKey::Tab);
        ClickButton("OK");
    }
};

TEST_F(ReminderInterestRoad, ACustomerWithInterestOnIsChargedForALateInvoice)
{
    const std::string company = StartNewCompany();

    // An invoice of one ITEM1 to C1, 98 days back, posted.
    auto late = TypeLateInvoice("C1");

    RunInterest();
    Check("the run tells that no customer has interest on", [] {
        EXPECT_TRUE(Told("Interest invoices: nothing made; no customer in the range has interest on"))
            << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // C1's window, Terms page: the interest box and the box that counts
    // its reminders ticked and stored.
    Key('1', false, true);
    Check("Ctrl+1 opens the customer list", [] { return ActiveType() == CustomerList; });
    ClickField("Find");
    Type("C1");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("C1 opens", [] { return ActiveType() == Customers && Shown("Code") == "C1"; });
    ClickButton("Terms");
    // The box begins the edit; OK is enabled at once, with no other input
    // between the tick and the click.
    ClickButton("Interest on late payment");
    ClickButton("Count reminders");
    ClickOk();
    Check("OK stores the customer", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    Menu("Window", "Close all");

    // A new customer C9 typed in the customer window, whose reminders
    // count as the window proposes ("Count reminders" ticked on its Terms
    // page), with a late invoice of its own.
    Menu("Module", "Sales");
    NewFromList("Customers", CustomerList, Customers);
    Retype("Code", "C9");
    ClickField("Name");
    Type("Counted Payer");
    ClickButton("Terms");
    Retype("Payment terms", "30");
    KeepPicture("customer_terms_page");
    OkStoresQuietly("customer C9");
    Menu("Window", "Close all");
    auto counted = TypeLateInvoice("C9");

    RunInterest();
    Check("the run tells the interest invoice it made", [] {
        EXPECT_TRUE(Told("Interest invoices: 1 made, unposted, among the sales invoices: numbers "))
            << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // The reminder with interest on the demo's form, one for each
    // customer: the late 125,00 is the amount due, its 68 days at 8 %
    // (1,86) the interest, and the balance to pay holds both.
    auto before = std::make_shared<std::vector<fs::path>>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    Menu("Module", "Sales");
    Menu("File", "Documents...");
    Key(PlKey::End);
    ClickRow("Reminders with interest");
    Key(PlKey::Return);
    ClickField("Customers");
    Type("C1:C9");
    // "Count the reminders" is left ticked, as the run proposes.
    ClickButton("Printer");
    AnswerPrint(true);
    ClickButton("OK");
    // The two PDFs carry one time, as two written in one tick of the clock
    // do: each is read by the customer it names, not by its place.
    Do("give the new PDFs one time", [this, before] {
        const std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        for (const fs::path &pdf : pdfs) fs::last_write_time(pdf, fs::last_write_time(pdfs.front()));
        return true;
    });
    Check("each customer's reminder prints the interest under its heading and in the balance to pay",
          [this, before] {
        const std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        EXPECT_EQ(pdfs.size(), 2u) << ::testing::PrintToString(Messages());
        if (pdfs.size() != 2) return true;
        for (const char *name : {"First Customer", "Counted Payer"}) {
            const fs::path pdf = FileHolding(pdfs, name);
            if (pdf.empty()) continue;
            const std::string text = PdfText(pdf);
            const size_t heading = text.find("Interest"), due = text.find("Amount due"), pay = text.find("Balance to pay");
            EXPECT_NE(heading, std::string::npos) << text;
            EXPECT_NE(due, std::string::npos) << text;
            EXPECT_NE(pay, std::string::npos) << text;
            EXPECT_NE(text.find("1,86"), std::string::npos) << text;
            EXPECT_NE(text.find("126,86"), std::string::npos) << "the balance to pay holds the interest:\n" << text;
        }
        return true;
    });
    Menu("Window", "Close all");

    EXPECT_EQ(Run(), 0);

    // One interest invoice to C1 whose row charges the 30 days of the
    // period at 8 % on 125.00, and the late invoice's first notice; the
    // reminder counted the second notice of C1's invoice and the first
    // of C9's.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> c9;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C9", &c9));
    EXPECT_EQ(GetU16(c9.data(), CUVc::NoticeCounting), 1);
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0;
    int interest = 0;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, inv.data(), &id); p++) {
        if (std::to_string(GetU32(inv.data(), IVVc::SerNr)) == *late) {
            EXPECT_EQ(GetI32(inv.data(), IVVc::NoticeCount), 2) << "the interest invoice's notice and the reminder";
        } else if (std::to_string(GetU32(inv.data(), IVVc::SerNr)) == *counted) {
            EXPECT_EQ(GetI32(inv.data(), IVVc::NoticeCount), 1) << "C9's reminder counted";
        } else {
            interest++;
            EXPECT_EQ(GetU16(inv.data(), IVVc::InvType), 4);
            EXPECT_EQ(TextAt(inv.data(), IVVc::CustCode), "C1");
            uint8_t row[IVVc::Rows::Size];
            ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), 0, row));
            PackedDecimal days = GetDec(row, IVVc::Rows::Quantity), sum = GetDec(row, IVVc::Rows::Sum);
            EXPECT_EQ(DecToDouble(&days), 31);
            EXPECT_DOUBLE_EQ(DecToDouble(&sum), 0.85);   // 125 x 8 % x 31 / 365
        }
        RecFreeMatrix(IVVc::Number, inv.data());
    }
    EXPECT_EQ(interest, 1);
}

}  // namespace
