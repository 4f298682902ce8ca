// road_interest_invoices_test.cpp - interest on late payment as a user
// charges it. The interest settings (12 % a year, the rate of the
// settings) are typed in Sales > Settings > Interest invoices, and a
// customer charged interest in the customer window's Terms page; an
// invoice to that customer is typed and approved by "Approve sales
// invoices", leaving an open item due in 30 days. "Interest invoices"
// under File > Maintenance, run for a period ending 90 days from today,
// makes an unposted interest invoice whose row charges the 60 days the
// invoice is late at the period's end, due at once by the settings'
// payment mode, tells so, and the late invoice counts its first notice;
// printed, the interest invoice carries its payment reference and its
// terms in the payment mode's words. A
// goods receipt's unit cost is carried into its item from the purchase
// source's operations menu, and a second receipt's from the receipt's own.
// Menus: in Sales, Settings > Interest invoices..., Registers > Customers;
// in Purchasing, Registers > Vendors; in Stock, Registers > Item, Registers
// > Goods receipts, Registers > Item list, Operations > Purchase item,
// Operations > Purchase prices to items; File > Windows... > "Sales
// invoices", File > Maintenance... > "Interest invoices", File > Print
// (Ctrl+P).
// Windows: Windows, Sales invoice, Approve sales invoices (routine 8),
// Interest invoices (routine 4), Item, Purchase item, Vendor list, Interest
// invoices, Customer list, Customers, Goods receipt list, Goods receipt,
// Item list.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_form_steps.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/toolbar.h"

namespace {

constexpr int WindowList = 12, SalesInvoice = 347, ApproveSel = 553, InterestSel = 473, Item = 195,
              PurchaseItem = 284, PurchasePricesSel = 472;
constexpr int ColItem = 1;
// The goods receipt's rows: item, quantity, text, price, charge, unit cost.
constexpr int ReceiptItem = 0, ReceiptQty = 1, ReceiptPrice = 3, ReceiptUnitCost = 5;
namespace fs = std::filesystem;

class InterestRoad : public RoadTest {
protected:
    // Sales > Settings > Interest invoices: the rate 12 % a year, rate
    // method 1 (the rate of these settings, not the item's) and the
    // payment mode B (bank) typed over the demo's, OK stores them and
    // closes the window.
    void TypeInterestSettings()
    {
        Menu("Module", "Sales");
        Menu("Settings", "Interest invoices...");
        Check("the interest settings open", Opened(WinTypes::SetInterest));
        Retype("Rate", "12");
        Retype("Rate method (0-2)", "1");
        Retype("Payment mode", "B");
        KeepPicture("interest_settings");
        auto told = CountTold();
        ClickOk();
        Check("OK stores the interest settings and closes them", [told] {
            EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
            EXPECT_NE(ActiveType(), WinTypes::SetInterest) << ActiveTitle();
            return ActiveType() != WinTypes::SetInterest;
        });
        Menu("Window", "Close all");
    }

    // A customer as the demo's C1 is (30 days' terms, on account, a
    // credit limit of 10000) typed as C9 "Late Payer", charged interest:
    // a new customer comes with "On account" and "Interest on late
    // payment" ticked, so both boxes are left as they are.
    void TypeInterestCustomer()
    {
        NewFromList("Customers", WinTypes::CustomerList, WinTypes::Customers);
        Retype("Code", "C9");
        ClickField("Name");
        Type("Late Payer");
        ClickButton("Terms");
        Retype("Payment terms", "30");
        Retype("Credit limit", "10000");
        OkStoresQuietly("customer C9");
        Menu("Window", "Close all");
    }
};

TEST_F(InterestRoad, AnInvoiceLateAtThePeriodsEndIsChargedInterest)
{
    const std::string company = StartNewCompany();
    TypeInterestSettings();
    TypeInterestCustomer();

    // An invoice of two ITEM1 to C9 (terms 30 days), approved.
    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", [] { return ActiveType() == SalesInvoice; });
    ClickField("Customer");
    Type("C9");
    Key(PlKey::Tab);
    ClickCell(0, ColItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the invoice", [number] {
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return !number->empty();
    });
    Menu("Window", "Close all");
    RunRoutine("Approve sales invoices", ApproveSel, {{"Invoice numbers", [number] { return *number; }}},
               "interest_approve.png", "1 posted");
    // The routine by hand: it ends with its line of what it made.
    OpenMaintenanceRun("Interest invoices", InterestSel);
    ClickField("Customers");
    Type("C9");
    ClickField("Period from");
    Type(DayText(0));
    ClickField("Period to");
    Type(DayText(90));
    Do("keep a picture of the selection window", [this] {
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "interest_invoices.png", true));
        return true;
    });
    ClickButton("OK");
    auto interest = std::make_shared<std::string>();
    Check("the routine tells the one invoice it made", [interest] {
        EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("Interest invoices: 1 made, unposted")) << ::testing::PrintToString(Messages());
        const std::string said = Messages().empty() ? "" : Messages().back();
        const size_t at = said.rfind("numbers ");
        *interest = at == std::string::npos ? "" : DigitsOf(said.substr(at));
        return !interest->empty();
    });
    // The interest invoice printed: its payment reference, and its terms
    // in the words of the settings' payment mode (B, "Bank").
    Menu("Window", "Close all");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the invoice list opens", Opened(WinTypes::SalesInvoiceList));
    FindRow("the interest invoice", interest);
    Key(PlKey::Return);
    Check("the interest invoice opens", Opened(SalesInvoice));
    auto page = PrintActiveDocument(*this, "interest_invoice");
    Check("the interest invoice prints its payment reference and terms", [page] {
        std::istringstream in(*page);
        std::string reference, terms;
        for (std::string line; std::getline(in, line);) {
            if (line.find("Payment reference") != std::string::npos) reference = line;
            if (line.find("Payment terms") != std::string::npos) terms = line;
        }
        const size_t at = reference.find("Payment reference");
        EXPECT_FALSE(at == std::string::npos || DigitsOf(reference.substr(at)).empty()) << reference << "\n" << *page;
        EXPECT_NE(terms.find("Bank"), std::string::npos) << terms << "\n" << *page;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    uint8_t settings[InterestBlk::Size] = {0};
    ASSERT_TRUE(SettingsBlockRead(InterestBlk::Number, settings, sizeof settings));
    EXPECT_EQ(RoadTest::AmountAt(settings, InterestBlk::Rate), 12);
    EXPECT_EQ(GetU16(settings, InterestBlk::RateMethod), 1);
    EXPECT_EQ(TextAt(settings, InterestBlk::PayMode), "B");
    uint8_t series[SeriesDefaultsBlk::Size] = {0};
    ASSERT_TRUE(SettingsBlockRead(SeriesDefaultsBlk::Number, series, sizeof series));
    std::vector<uint8_t> customer;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C9", &customer));
    EXPECT_EQ(GetU16(customer.data(), CUVc::InterestFlag), 1);
    EXPECT_EQ(GetU16(customer.data(), CUVc::OnAccount), 1);
    EXPECT_EQ(TextAt(customer.data(), CUVc::PayTerms), "30");
    MemBlock h = 0;
    uint8_t *inv = RecBufferNew(IVVc::Number, &h);
    ASSERT_TRUE(inv);
    uint32_t id = 0;
    int interestInvoices = 0;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, inv, &id); p++) {
        if (std::to_string(GetU32(inv, IVVc::SerNr)) == *number) {
            EXPECT_EQ(GetI32(inv, IVVc::NoticeCount), 1) << "the late invoice's first notice";
            continue;
        }
        interestInvoices++;
        EXPECT_EQ(GetU16(inv, IVVc::InvType), 4);
        // The settings' payment mode is its terms: due on its date. It is
        // numbered through the interest invoices' own hint, and the
        // ordinary invoices' hint does not follow it.
        EXPECT_EQ(TextAt(inv, IVVc::PayTerms), "B");
        DateRec date = GetDate(inv, IVVc::InvDate), due = GetDate(inv, IVVc::PayDate);
        EXPECT_EQ(DateCompare(&due, &date), 0);
        EXPECT_EQ(GetU32(series, SeriesDefaultsBlk::InterestHint), GetU32(inv, IVVc::SerNr));
        EXPECT_NE(GetU32(series, SeriesDefaultsBlk::InvoiceHint), GetU32(inv, IVVc::SerNr));
        EXPECT_EQ(TextAt(inv, IVVc::CustCode), "C9");
        EXPECT_EQ(GetU16(inv, IVVc::Posted), 0);
        // It credits no invoice: its More page's Credited invoice is empty.
        EXPECT_EQ(GetI32(inv, IVVc::CredInv), -1);
        ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv), 1);
        uint8_t row[IVVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv, 0, row));
        EXPECT_EQ(GetU16(row, IVVc::Rows::Kind), 4);
        EXPECT_EQ(TextAt(row, IVVc::Rows::ItemCode), *number);
        EXPECT_EQ(RoadTest::AmountAt(row, IVVc::Rows::Quantity), 60);
        EXPECT_EQ(RoadTest::AmountAt(row, IVVc::Rows::UnitCost), 250);   // 2 x 100 and 25 % VAT
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row, IVVc::Rows::Sum), 4.93);     // 250 x 12 % x 60 / 365
        EXPECT_EQ(GetI32(row, IVVc::Rows::Link), 1);
        EXPECT_GT(RoadTest::AmountAt(inv, IVVc::Total), 0);
        RecFreeMatrix(IVVc::Number, inv);
    }
    EXPECT_EQ(interestInvoices, 1);
    RecBufferFree(IVVc::Number, &h);
}

// The vendor V1 is typed into the vendor window and the item GREEN into
// the item window at cost 12; a goods receipt of one GREEN from V1 at a
// unit cost of 15.00, not received, is typed into its window. GREEN,
// opened again from the item list, still costs 12; its operations menu
// makes a purchase source of it, and that window's operations menu opens
// "Purchase prices to items" with the item as its range; the receipt's
// number typed, OK sets the item's cost price to the receipt's unit cost.
// A second receipt of GREEN at 18.00 opens the same selection from its own
// operations menu, with its number proposed; OK makes 18 the cost price.
// Each run says on the status line what it set; run once more, it tells
// why it set nothing.
TEST_F(InterestRoad, APurchasesUnitCostBecomesTheItemsCostPrice)
{
    const std::string company = StartNewCompany();
    TypeVendor({"V1", "Widget Works", "", "", "", ""});
    Menu("Module", "Stock");
    Menu("Registers", "Item");
    Check("the register popup opens the item window", [] { return ActiveType() == Item; });
    ClickField("Code");
    Type("GREEN");
    ClickField("Name");
    Type("Green widget");
    ClickField("Cost price");
    Type("12");
    Key(PlKey::Tab);
    ClickOk();
    Check("OK stores the item", [] { return TitleTells("viewing"); });
    Menu("Window", "Close all");

    // A goods receipt of one GREEN from V1 at `cost`, stored; its number
    // is in the result once that step ran.
    auto typeReceipt = [this](const char *cost) {
        Menu("Registers", "Goods receipts");
        Check("the goods-receipt list opens", Opened(WinTypes::GoodsReceiptList));
        ClickButton("New");
        Check("New opens a goods receipt", Opened(WinTypes::GoodsReceipt));
        ClickField("Vendor");
        Type("V1");
        Key(PlKey::Tab);
        TypeFields({{"Text", "Receipt"}, {"Location", "MAIN"}});
        ClickCell(0, ReceiptItem);
        Type("GREEN");
        Key(PlKey::Tab);
        TypeCell(0, ReceiptQty, "1");
        Key(PlKey::Tab);
        TypeCell(0, ReceiptPrice, cost);
        Key(PlKey::Tab);
        TypeCell(0, ReceiptUnitCost, cost);
        Key(PlKey::Tab);
        KeepPicture("interest_goods_receipt");
        OkStoresQuietly("the goods receipt");
        auto receipt = std::make_shared<std::string>();
        Check("the stored receipt shows its number and the vendor's name", [receipt] {
            *receipt = Shown("Number");
            EXPECT_EQ(Shown("Name"), "Widget Works");
            return !receipt->empty();
        });
        return receipt;
    };
    auto receipt = typeReceipt("15");
    Menu("Window", "Close all");

    Menu("Registers", "Item list");
    Check("the item list opens", Opened(WinTypes::ItemList));
    OpenFromList("GREEN", Item);
    Check("the receipt left the item's cost price alone", [] {
        EXPECT_EQ(Shown("Cost price"), "12,00");
        return true;
    });
    Menu("Operations", "Purchase item");
    Check("the purchase item opens", [] { return ActiveType() == PurchaseItem; });
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickOk();
    Check("OK stores the purchase item", [] { return TitleTells("viewing"); });
    Menu("Operations", "Purchase prices to items");
    Check("the selection opens with the purchase item's item", [] {
        EXPECT_EQ(ActiveType(), PurchasePricesSel) << ActiveTitle();
        EXPECT_EQ(Shown("Items"), "GREEN:GREEN");
        return ActiveType() == PurchasePricesSel;
    });
    ClickField("Purchase");
    Key(PlKey::Home);
    Key(PlKey::Delete);   // the 0 an empty number shows
    Type("the receipt's number", [receipt] { return *receipt; });
    Key(PlKey::Tab);
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "purchase_prices.png", true));
        return true;
    });
    ClickButton("OK");
    Check("the run says what it set, and the selection closes", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText(), "1 item's prices set from the receipt");
        EXPECT_NE(ActiveType(), PurchasePricesSel);
        return true;
    });
    Menu("Window", "Close all");
    Menu("Registers", "Item list");
    OpenFromList("GREEN", Item);
    Check("the item costs what the receipt's unit cost was", [] {
        EXPECT_EQ(Shown("Cost price"), "15,00");
        return true;
    });

    Menu("Window", "Close all");
    auto second = typeReceipt("18");
    Menu("Operations", "Purchase prices to items");
    Check("the selection opens with the receipt's number", [second] {
        EXPECT_EQ(ActiveType(), PurchasePricesSel) << ActiveTitle();
        EXPECT_EQ(Shown("Purchase"), *second);
        EXPECT_EQ(Shown("Items"), "");
        return ActiveType() == PurchasePricesSel;
    });
    ClickButton("OK");
    Check("the second run says what it set", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText(), "1 item's prices set from the receipt");
        EXPECT_NE(ActiveType(), PurchasePricesSel);
        return true;
    });
    // Run once more, the receipt has nothing to change: the run says why.
    Menu("Operations", "Purchase prices to items");
    Check("the selection opens again", Opened(PurchasePricesSel));
    ClickButton("OK");
    Check("a run that changes nothing says why", [] {
        const std::string why = "No item price set: every item's prices are the receipt's already";
        EXPECT_EQ(StatusLineText(), why);
        EXPECT_TRUE(Told(why)) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(PUVc::Number), 2u);
    std::vector<uint8_t> item;
    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, "GREEN", &item));
    EXPECT_EQ(RoadTest::AmountAt(item.data(), INVc::CostPrice), 18);
}

}  // namespace
