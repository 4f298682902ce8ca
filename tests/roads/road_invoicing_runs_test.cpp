// road_invoicing_runs_test.cpp - the sales side's batch runs as a user
// runs them. A price formula (the cost price less a cent) and a price
// list of the demo's item group G1 priced by it are typed into their
// windows in the Sales module; File > Maintenance lists "Update price lists" under Maintenance, its
// selection window takes the price list, and OK prices the demo items of
// the list's group. Then an invoice is approved and its open item
// written off by "Write off open items": the company file holds the
// prices and an unposted receipt whose fee row closes the invoice.
// Last, "Sample invoices" makes three more invoices numbered after it.
// Menus: in Sales, Registers > Price formulas, Registers > Price lists;
// File > Windows... > "Sales invoices".
// Windows: Windows, Sales invoice, Approve sales invoices (routine 8),
// Update price lists (routine 16), Write off open items (routine 21),
// Sample invoices (routine 6), Vendor, Price formulas, Price formula, Price
// lists, Price list.
#include "rules/payment_kinds.h"
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <functional>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "platform/queue.h"

namespace {

constexpr int WindowList = 12, SalesInvoice = 347, ApproveSel = 553, PriceUpdateSel = 461, WriteOffSel = 463,
              SampleSel = 467;
constexpr int ColItem = 1;
// The price list's rows: the range (an item group), then its formula.
constexpr int ListRange = 1, ListFormula = 2;

class InvoicingRunsRoad : public RoadTest {};

double DecAt(const uint8_t *base, uint32_t at)
{
    PackedDecimal d = GetDec(base, at);
    return DecToDouble(&d);
}

TEST_F(InvoicingRunsRoad, PricesFromAFormulaAndAnOpenItemWrittenOff)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    NewFromList("Price formulas", WinTypes::PriceFormulaList, WinTypes::PriceFormulas);
    TypeFields({{"Code", "F1"}, {"Name", "Cost less a cent"}});
    Retype("Percentage", "100");
    Retype("Decimals", "0");
    Retype("Added after rounding", "-0,01");
    OkStoresQuietly("the price formula");
    NewFromList("Price lists", WinTypes::PriceListList, WinTypes::PriceLists);
    TypeFields({{"Code", "A"}, {"Name", "Shop prices"}});
    TypeCell(0, ListRange, "G1");
    Key(PlKey::Tab);
    TypeCell(0, ListFormula, "F1");
    Key(PlKey::Tab);
    OkStoresQuietly("the price list");
    Menu("Window", "Close all");
    RunRoutine("Update price lists", PriceUpdateSel, {{"Price lists", [] { return std::string("A"); }}},
               "price_update.png");

    // An invoice of two ITEM1 approved by routine 8 leaves an open item.
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
    Check("OK stores the invoice", [number] {
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return !number->empty();
    });
    Menu("Window", "Close all");
    auto range = [number] { return *number + ":" + *number; };
    RunRoutine("Approve sales invoices", ApproveSel, {{"Invoice numbers", range}}, "approve.png", "1 posted");
    RunRoutine("Write off open items", WriteOffSel, {{"Invoice numbers", range}}, "write_off.png");
    RunRoutine("Sample invoices", SampleSel, {{"How many", [] { return std::string("3"); }}}, "samples.png");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> price(PriceVc::Size);
    std::vector<std::pair<std::string, double>> got;
    uint32_t id = 0;
    for (int32_t p = 1; RecReadAt(PriceVc::Number, p, price.data(), &id); p++) {
        uint8_t code[256];
        GetText(price.data(), PriceVc::ItemCode, code);
        got.emplace_back(PStringToStd(code), DecAt(price.data(), PriceVc::Price));
    }
    EXPECT_EQ(got, (std::vector<std::pair<std::string, double>>{{"ITEM1", 59.99}, {"ITEM2", 19.99}}));

    ASSERT_EQ(RegRecordCount(IPVc::Number), 1u);
    MemBlock h = 0;
    uint8_t *receipt = RecBufferNew(IPVc::Number, &h);
    ASSERT_TRUE(receipt);
    ASSERT_TRUE(RecReadAt(IPVc::Number, 1, receipt, &id));
    EXPECT_EQ(GetU16(receipt, IPVc::Posted), 0);
    ASSERT_EQ(MatrixRowCount(IPVc::Number, 0, receipt), 2);
    uint8_t row[IPVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(IPVc::Number, receipt, 1, row));
    EXPECT_EQ(PaidRowKind(GetU16(row, IPVc::Rows::Kind)), PaidRowKind::Fee);
    EXPECT_EQ(std::to_string(GetU32(row, IPVc::Rows::InvoiceNr)), *number);
    EXPECT_EQ(DecAt(row, IPVc::Rows::Amount), 250);   // 2 x 100 and 25 % VAT
    RecBufferFree(IPVc::Number, &h);

    std::vector<uint8_t> inv(IVVc::Size);
    std::vector<uint32_t> serials;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, inv.data(), &id); p++) serials.push_back(GetU32(inv.data(), IVVc::SerNr));
    ASSERT_EQ(serials.size(), 4u);
    for (size_t i = 1; i < serials.size(); i++) EXPECT_EQ(serials[i], serials[0] + i);
}

}  // namespace
