// road_purchase_invoice_test.cpp - a vendor's invoice entered and paid as a
// user does it. The demo chart keeps the creditors, rent and office
// supplies accounts; the vendor is typed into the vendor window. In the
// Purchasing module the register popup opens the purchase-invoice list
// and New an invoice: the vendor fills its name and its first row on the
// vendor's purchase account, a row that credits no invoice; two cost rows
// take 600 and 400 of the 1 000 total; a date typed as none (31.2) keeps
// the user in its field against Tab, OK and the page and column tabs;
// and the invoice is approved and stored; keys typed into its locked rows are refused and leave it as
// stored. The outgoing-payment list's New opens a payment:
// the invoice's number typed into a row brings the vendor and the open
// 1 000, and the payment is approved, posted and stored; in home currency
// it names no currency beside its totals, while a payment in euros names
// the euros beside the rows' total and the home currency beside what is
// paid from the bank. The company file then holds the invoice with its
// rows, the paid payment and no open item left.
// Menus: in Purchasing, Registers > Vendors, Registers > Purchase invoices,
// Registers > Outgoing payments.
// Windows: Purchase invoice list, Purchase invoice, Outgoing payment list,
// Outgoing payment.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int PurchaseInvoiceList = 154, PurchaseInvoice = 155, OutPaymentList = 156,
              OutPayment = 157;
namespace fs = std::filesystem;

// The digits of a shown amount.
std::string Digits(const std::string &shown)
{
    std::string d;
    for (char c : shown)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

TEST_F(RoadTest, PurchaseInvoiceEnteredApprovedAndPaid)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    // The demo chart keeps the creditors (2440) the purchase ledger posts
    // to, the rent and the office supplies.
    TypeVendor({"V1", "Office Supply Ltd", "Box 12", "", "5010", "5050-1234", "5050-1234"});

    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase invoices");
    Check("the register popup opens the purchase-invoice list", Opened(PurchaseInvoiceList));
    ClickButton("New");
    Check("New opens a purchase invoice", Opened(PurchaseInvoice));
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    // The vendor's purchase account fills the first row, which credits no
    // invoice: its Credited cell stays empty.
    Check("the vendor fills the invoice and its first row", [] {
        EXPECT_EQ(Shown("Name"), "Office Supply Ltd");
        EXPECT_EQ(CellUnder("Account", 0), "5010");
        EXPECT_EQ(CellUnder("Credited", 0), "");
        return true;
    });
    ClickField("Vendor's invoice");
    Type("A-77");
    ClickField("Total");
    Type("1000");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("600");
    Key(PlKey::Tab);
    ClickCell(1, 0);
    Type("6110");
    Key(PlKey::Tab);
    ClickCell(1, 3);
    Type("400");
    Key(PlKey::Tab);
    // A date the program cannot read keeps the user where he typed it,
    // whichever way he leaves: Tab, OK, a page's tab clicked or its
    // shortcut, the rows' column tab; then it is typed back as it was.
    auto typedBack = [this](const std::string &label) {
        auto was = std::make_shared<std::string>();
        Do("note " + label, [was, label] {
            *was = Shown(label);
            return true;
        });
        return [this, was, label] {
            Retype(label, "");
            Key(PlKey::Delete);
            Type(label + " as it was", [was] { return *was; });
            Key(PlKey::Tab);
        };
    };
    ClickButton("Terms");
    auto discountBack = typedBack("Discount date");
    DateRefusedWhereTyped("Discount date", "31.2", "",
                          {{"a click on the Rows tab", [this] { ClickButton("Rows"); }},
                           {"Ctrl+Shift+R", [this] { Key('R', true, true); }}});
    discountBack();
    ClickButton("Rows");
    auto dateBack = typedBack("Invoice date");
    DateRefusedWhereTyped("Invoice date", "31.2", "", {{"a click on the Projects tab", [this] { ClickButton("Projects"); }}});
    dateBack();
    Check("the rows stay on their Accounts columns", [] {
        EXPECT_EQ(CellUnder("Account", 1), "6110");
        return true;
    });
    auto quiet = CountTold();
    ClickButton("Approved");
    Check("the rows take the whole total", [this, shots, quiet] {
        EXPECT_EQ(Digits(Shown("Total")), "100000") << Shown("Total");
        EXPECT_EQ(Messages().size(), *quiet) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "purchase_invoice_window.png"));
        return true;
    });
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the approved invoice", [number, quiet] {
        EXPECT_EQ(Messages().size(), *quiet) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_EQ(CellUnder("Credited", 0), "");
        *number = Digits(Shown("Number"));
        EXPECT_FALSE(number->empty());
        return TitleTells("viewing") && !number->empty();
    });
    // The approval locks the rows: a digit, Backspace and Delete in an
    // amount are refused with the reason and change nothing, not even the
    // window's state - it still shows the invoice as stored, and closes
    // without asking to store changes.
    ClickCell(0, 3);
    auto told = CountTold();
    Type("9");
    Key(PlKey::Back);
    Key(PlKey::Delete);
    Check("a key refused in a locked cell changes nothing", [told] {
        const std::string refused = "An approved purchase invoice can change only";
        EXPECT_EQ(Messages().size(), *told + 3) << ::testing::PrintToString(Messages());
        for (size_t i = *told; i < Messages().size(); i++) EXPECT_NE(Messages()[i].find(refused), std::string::npos);
        EXPECT_EQ(Digits(CellUnder("Amount", 0)), "60000") << CellUnder("Amount", 0);
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    Menu("Window", "Close all");
    Check("the invoice closes unasked", [told] {
        EXPECT_FALSE(Told("Store the changes?")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Messages().size(), *told + 3) << ::testing::PrintToString(Messages());
        return true;
    });

    Menu("Registers", "Outgoing payments");
    Check("the register popup opens the payment list", Opened(OutPaymentList));
    ClickButton("New");
    Check("New opens a payment", Opened(OutPayment));
    ClickField("Payment mode");
    Type("K");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Do("type the invoice's number", [number] {
        ScriptText(*number);
        return true;
    });
    Key(PlKey::Tab);
    Check("the row pays the open amount of the vendor's invoice", [this, shots, told] {
        EXPECT_EQ(Digits(Shown("Rows total")), "100000") << Shown("Rows total");
        EXPECT_EQ(Messages().size(), *told + 3) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "out_payment_window.png"));
        EXPECT_EQ(ShownBeside("Rows total"), "") << "a payment in home currency has nothing to tell apart";
        EXPECT_EQ(ShownBeside("Paid from bank"), "");
        return true;
    });
    ClickButton("Approved");
    ClickButton("Posted");
    ClickOk();
    Check("OK stores the payment", [told] {
        EXPECT_EQ(Messages().size(), *told + 3) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    // A payment in euros, looked at and left unstored.
    Menu("Window", "Close all");
    Menu("Registers", "Outgoing payments");
    ClickButton("New");
    Check("New opens another payment", Opened(OutPayment));
    ClickField("Currency");
    Type("EUR");
    Key(PlKey::Tab);
    Check("a payment in euros names the currency of each total beside it", [this, shots] {
        EXPECT_EQ(ShownBeside("Rows total"), "EUR");
        EXPECT_EQ(ShownBeside("Paid from bank"), "home currency");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "out_payment_euro_window.png"));
        return true;
    });
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(VIVc::Number), 1u);
    std::vector<uint8_t> invoice(VIVc::Size), row(VIVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(VIVc::Number, 1, invoice.data(), &id));
    EXPECT_EQ(TextAt(invoice.data(), VIVc::VendCode), "V1");
    EXPECT_EQ(TextAt(invoice.data(), VIVc::VendName), "Office Supply Ltd");
    EXPECT_EQ(TextAt(invoice.data(), VIVc::VendInvNr), "A-77");
    EXPECT_EQ(GetU16(invoice.data(), VIVc::Approved), 1);
    EXPECT_NEAR(RoadTest::AmountAt(invoice.data(), VIVc::InvAmount), 1000, 0.005);
    ASSERT_EQ(MatrixRowCount(VIVc::Number, 0, invoice.data()), 2);
    const char *accounts[] = {"5010", "6110"};
    const char *names[] = {"Rent", "Office supplies"};
    const double amounts[] = {600, 400};
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(MatrixRowRead(VIVc::Number, invoice.data(), i, row.data()));
        EXPECT_EQ(TextAt(row.data(), VIVc::Rows::Account), accounts[i]) << i;
        EXPECT_EQ(TextAt(row.data(), VIVc::Rows::Text), names[i]) << i;
        EXPECT_NEAR(RoadTest::AmountAt(row.data(), VIVc::Rows::Amount), amounts[i], 0.005) << i;
        EXPECT_EQ(GetU32(row.data(), VIVc::Rows::CredSerNr), 0xFFFFFFFFu) << "row " << i << " credits no invoice";
    }
    // The payment paid the whole invoice: no open item is left.
    ASSERT_EQ(RegRecordCount(OPVc::Number), 1u);
    std::vector<uint8_t> payment(OPVc::Size), prow(OPVc::Rows::Size);
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, payment.data(), &id));
    EXPECT_EQ(GetU16(payment.data(), OPVc::Approved), 1);
    EXPECT_EQ(GetU16(payment.data(), OPVc::Posted), 1);
    ASSERT_EQ(MatrixRowCount(OPVc::Number, 0, payment.data()), 1);
    ASSERT_TRUE(MatrixRowRead(OPVc::Number, payment.data(), 0, prow.data()));
    EXPECT_EQ(GetU32(prow.data(), OPVc::Rows::InvoiceNr), GetU32(invoice.data(), VIVc::SerNr));
    EXPECT_EQ(TextAt(prow.data(), OPVc::Rows::VendCode), "V1");
    EXPECT_NEAR(RoadTest::AmountAt(prow.data(), OPVc::Rows::Amount), 1000, 0.005);
    EXPECT_NEAR(RoadTest::AmountAt(payment.data(), OPVc::RowsTotal), 1000, 0.005);
    EXPECT_EQ(RegRecordCount(APVc::Number), 0u);
    CloseForCheck();
}

}  // namespace
