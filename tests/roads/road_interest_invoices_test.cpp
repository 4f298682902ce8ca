// road_interest_invoices_test.cpp - interest on late payment as a user
// charges it. The interest settings (12 % a year) and a customer charged
// interest come in by a text import; an invoice to that customer is typed
// and approved by "Approve sales invoices", leaving an open item due in
// 30 days. "Interest invoices" under File > Maintenance, run for a period
// ending 90 days from today, makes an unposted interest invoice whose row
// charges the 60 days the invoice is late at the period's end, tells so,
// and the late invoice counts its first notice. A purchase's unit cost is
// carried into its item from the purchase source's operations menu.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
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

namespace {

constexpr int WindowList = 12, SalesInvoice = 347, ApproveSel = 553, InterestSel = 473, Item = 195,
              PurchaseItem = 284, PurchasePricesSel = 472;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

// Today plus `days` as the demo company's dates are typed (dd.mm.yyyy).
std::string DayText(int days)
{
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    DateRec today{uint16_t(local.tm_mday), uint16_t(local.tm_mon + 1), uint16_t(local.tm_year + 1900)}, d;
    DateAddDays(&today, days, &d);
    char text[32];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u", d.day, d.month, d.year);
    return text;
}

// The demo customer C1's line of DEFAULT.TXT as customer C9, charged
// interest (the 20th column).
std::string InterestCustomerLine(const fs::path &defaults)
{
    std::ifstream in(defaults, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = all.find("\r\nC1\tFirst Customer\t");
    if (at == std::string::npos) return "";
    std::string line = all.substr(at + 2, all.find("\r\n", at + 2) - at - 2);
    std::vector<std::string> cols;
    std::stringstream split(line);
    for (std::string c; std::getline(split, c, '\t');) cols.push_back(c);
    if (cols.size() < 20) return "";
    cols[0] = "C9";
    cols[1] = "Late Payer";
    cols[19] = "1";
    std::string out;
    for (const std::string &c : cols) out += c + "\t";
    return out;
}

double DecAt(const uint8_t *base, uint32_t at)
{
    PackedDecimal d = GetDec(base, at);
    return DecIsBlank(&d) ? 0 : DecToDouble(&d);
}

class InterestRoad : public RoadTest {};

TEST_F(InterestRoad, AnInvoiceLateAtThePeriodsEndIsChargedInterest)
{
    const std::string company = StartNewCompany();
    const std::string customer = InterestCustomerLine(build / "DEFAULT.TXT");
    ASSERT_FALSE(customer.empty()) << "DEFAULT.TXT lacks customer C1";
    const fs::path setup = dir / "interest.txt";
    std::ofstream(setup, std::ios::binary) << "faktranta1\t\r\n12,00\t0,00\t0\t\t\t\t\t1\t0\t0\t\t\t\r\n\r\n"
                                           << "cu2\t\r\n" << customer << "\r\n\r\n";
    ImportTextFile(setup);

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
               "interest_approve.png");
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
    Check("the routine tells the one invoice it made", [] {
        EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("Interest invoices: 1 made, unposted")) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
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
        EXPECT_EQ(TextAt(inv, IVVc::CustCode), "C9");
        EXPECT_EQ(GetU16(inv, IVVc::Posted), 0);
        ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv), 1);
        uint8_t row[IVVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv, 0, row));
        EXPECT_EQ(GetU16(row, IVVc::Rows::Kind), 4);
        EXPECT_EQ(TextAt(row, IVVc::Rows::ItemCode), *number);
        EXPECT_EQ(DecAt(row, IVVc::Rows::Quantity), 60);
        EXPECT_EQ(DecAt(row, IVVc::Rows::UnitCost), 250);   // 2 x 100 and 25 % VAT
        EXPECT_DOUBLE_EQ(DecAt(row, IVVc::Rows::Sum), 4.93);     // 250 x 12 % x 60 / 365
        EXPECT_EQ(GetI32(row, IVVc::Rows::Link), 1);
        EXPECT_GT(DecAt(inv, IVVc::Total), 0);
        RecFreeMatrix(IVVc::Number, inv);
    }
    EXPECT_EQ(interestInvoices, 1);
    RecBufferFree(IVVc::Number, &h);
}

// The vendor V1 is typed into the vendor window; a purchase of it (goods
// receipt 900, not received) comes in by a text import with a row of item
// GREEN at a unit cost of 15.00. The item is typed in
// its window at cost 12, its operations menu makes a purchase source of
// it, and that window's operations menu opens "Purchase prices to items"
// with the item as its range; the purchase's number typed, OK sets the
// item's cost price to the purchase's unit cost.
TEST_F(InterestRoad, APurchasesUnitCostBecomesTheItemsCostPrice)
{
    const std::string company = StartNewCompany();
    const fs::path purchase = dir / "purchase.txt";
    std::ofstream(purchase, std::ios::binary)
        << "purchase2\t\r\n900\t\t\tReceipt\tV1\tWidget Works\t\tMAIN\t0\t0\t\t\t0\t15,00\t1,000\t\r\n"
        << "GREEN\t1,000\tGreen widget\t\t15,00\t\t\t15,00\t\t\r\n\r\n\r\n";
    TypeVendor({"V1", "Widget Works", "", "", "", ""});
    ImportTextFile(purchase);
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
    Type("900");
    Key(PlKey::Tab);
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "purchase_prices.png", true));
        return true;
    });
    ClickButton("OK");
    Check("the run ends without a message and the selection closes", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), PurchasePricesSel);
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(PUVc::Number), 1u);
    std::vector<uint8_t> item;
    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, "GREEN", &item));
    EXPECT_EQ(DecAt(item.data(), INVc::CostPrice), 15);
}

}  // namespace
