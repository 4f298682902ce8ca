// contract_window_test.cpp - the contract window (468) driven as the
// framework drives it: fields left (event 6), the edit and row questions
// (events 1, 4 and 9) and the totals, over the invoice company of
// invoice_fixture.h.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/company_variant.h"
#include "core/record_buffer.h"
#include "platform/display.h"
#include "recordwin/contract_window.h"
#include "recordwin/record_windows.h"
#include "shell/matrix_editing.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"
#include "tests/recordwin/window_driver.h"

namespace {

namespace CO = ContractVc;
namespace Row = ContractVc::Rows;

// The row cells' columns on the first column page.
constexpr int ColItem = 0, ColQty = 1, ColText = 2, ColPrice = 3, ColSum = 5, ColAccount = 6, ColVat = 7,
              CellsPerRow = 8;

class ContractWindowTest : public InvoiceFixture, public WindowDriver {
protected:
    using WindowDriver::Num;   // blank amounts read as BlankNum

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
        shown.clear();
        w = OpenOrActivateWindow(WinTypes::Contract, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        WinSetRecState(w, 1);
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    int Cell(int row, int column) { return CellAt(row, column, CellsPerRow); }
    uint8_t *R(int row) { return RowBytes(row, Row::Size); }
    void Customer(const char *code)
    {
        PutText(Rec(), CO::CustCode, 20, code);
        LeaveField(CO::CustCode);
    }
    void Freight(const char *item)
    {
        std::vector<uint8_t> b(FreightBlk::Size);
        PutText(b.data(), FreightBlk::FreightItem, 20, item);
        PutDec(b.data(), FreightBlk::FreightPct, Dec(10));
        StoreBlock(FreightBlk::Number, b.data(), FreightBlk::Size);
    }
};

TEST_F(ContractWindowTest, CustomerFillsTheContractWithOrWithoutTheFreightItem)
{
    StoreRecord(CUVc::Number, [&](uint8_t *r) {
        PutText(r, CUVc::Code, 20, "C4");
        PutText(r, CUVc::Name, 60, "Shipping Customer");
        PutText(r, CUVc::DelAddr1, 60, "Lagerv\xE4gen 9");
        PutText(r, CUVc::CustGroup, 5, "GRP");
        PutText(r, CUVc::Note, 60, "Call before delivery");
        PutText(r, CUVc::PayTerms, 2, "30");
    });
    // SERVICE costs 700 at home; a rate of 200 makes it 350 in currency.
    Freight("SERVICE");
    PutDec(Rec(), CO::Rate, Dec(200));
    PutText(Rec(), CO::DelTerms, 5, "OLD");
    shown.clear();
    Customer("C4");
    const uint8_t *c = Rec();
    EXPECT_EQ(Text(c, CO::CustName), "Shipping Customer");
    EXPECT_EQ(Text(c, CO::DiscCode), "GRP");
    EXPECT_EQ(Text(c, CO::PayTerms), "30");
    EXPECT_EQ(Text(c, CO::DelAddr0), "Shipping Customer");
    EXPECT_EQ(Text(c, CO::DelAddr1), "Lagerv\xE4gen 9");
    EXPECT_EQ(Text(c, CO::DelTerms), "");
    EXPECT_EQ(Text(c, CO::FreightItem), "SERVICE");
    EXPECT_EQ(Text(c, CO::FreightVat), "2");
    EXPECT_NE(Text(c, CO::FreightAcc), "");
    EXPECT_EQ(Num(c, CO::FreightHome), 700);
    EXPECT_EQ(Num(c, CO::Freight), 350);
    EXPECT_EQ(Num(c, CO::FreightPct), 10);
    EXPECT_EQ(Num(c, CO::FreightPctAmount), 70);
    EXPECT_EQ(shown.size(), 1u) << "the customer's note is shown";

    // No such freight item: the freight is emptied; C1 has no delivery
    // lines, so the delivery address goes too.
    Freight("NOSUCH");
    PutText(Rec(), CO::CustName, 60, "");
    Customer("C1");
    EXPECT_EQ(Text(c, CO::CustName), "First Customer");
    EXPECT_EQ(Text(c, CO::DelAddr0), "");
    EXPECT_EQ(Text(c, CO::FreightItem), "");
    EXPECT_EQ(Text(c, CO::FreightVat), "");
    EXPECT_EQ(Text(c, CO::FreightAcc), "");
    EXPECT_EQ(Num(c, CO::FreightPct), 0);
    for (uint32_t at : {CO::FreightHome, CO::Freight, CO::FreightPctAmount}) EXPECT_EQ(Num(c, at), BlankNum) << at;

    std::vector<uint8_t> before(Rec(), Rec() + CO::Size);
    int beeps = PlBeepCount();
    Customer("NOBODY");
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + 20, Rec() + 20, CO::Size - 20), 0) << "only the typed code differs";
}

TEST_F(ContractWindowTest, TypedFreightGivesItsHomeAmountAndPercentagePart)
{
    Freight("SERVICE");
    PutDec(Rec(), CO::Rate, Dec(200));
    Customer("C1");
    PutDec(Rec(), CO::Freight, Dec(30));
    LeaveField(CO::Freight);
    EXPECT_EQ(Num(Rec(), CO::FreightHome), 60);
    EXPECT_EQ(Num(Rec(), CO::FreightPctAmount), 6);
}

TEST_F(ContractWindowTest, ItemRowsArePricedSummedAndProfitedAndOtherKindsKeepTheirSums)
{
    Customer("C1");
    Rows(4);
    PutDec(R(0), Row::Quantity, Dec(2));
    PutText(R(0), Row::ItemCode, 20, "ITEM1");
    Leave(Cell(0, ColItem));
    const uint8_t *r = R(0);
    EXPECT_EQ(GetU16(r, Row::Kind), 1) << "a typed row is an item row";
    EXPECT_EQ(Text(r, Row::Text), "Blue widget");
    EXPECT_EQ(Num(r, Row::Price), 100);
    EXPECT_EQ(Num(r, Row::UnitCost), 60);
    EXPECT_EQ(Num(r, Row::Sum), 200);
    EXPECT_EQ(Num(r, Row::GrossProfit), 80);
    EXPECT_EQ(Num(Rec(), CO::NetTotal), 200);

    // A quantity reprices: the description stays, the cost is refreshed.
    PutText(R(0), Row::Text, 100, "Widgets, blue");
    PutDec(R(0), Row::UnitCost, Dec(55));
    PutDec(R(0), Row::Quantity, Dec(3));
    Leave(Cell(0, ColQty));
    EXPECT_EQ(Text(R(0), Row::Text), "Widgets, blue");
    EXPECT_EQ(Num(R(0), Row::UnitCost), 60);
    EXPECT_EQ(Num(R(0), Row::Sum), 300);
    EXPECT_EQ(Num(R(0), Row::GrossProfit), 120);
    // A typed sum stays and gives the profit; a price sums again.
    PutDec(R(0), Row::Sum, Dec(240));
    Leave(Cell(0, ColSum));
    EXPECT_EQ(Num(R(0), Row::Sum), 240);
    EXPECT_EQ(Num(R(0), Row::GrossProfit), 60);
    EXPECT_EQ(Num(Rec(), CO::NetTotal), 240);
    PutDec(R(0), Row::Price, Dec(90));
    Leave(Cell(0, ColPrice));
    EXPECT_EQ(Num(R(0), Row::Sum), 270);

    // An item row without an item has neither cost nor profit.
    PutDec(R(1), Row::Quantity, Dec(1));
    PutDec(R(1), Row::UnitCost, Dec(5));
    PutDec(R(1), Row::Price, Dec(40));
    Leave(Cell(1, ColPrice));
    EXPECT_EQ(Num(R(1), Row::Sum), 40);
    EXPECT_EQ(Num(R(1), Row::GrossProfit), 0);
    EXPECT_EQ(Num(R(1), Row::UnitCost), 0);
    EXPECT_EQ(Num(Rec(), CO::NetTotal), 310);

    // A kind-4 row's sum stands as typed; a kind-3 row changes nothing.
    PutU16(R(2), Row::Kind, 4);
    PutDec(R(2), Row::Quantity, Dec(2));
    PutDec(R(2), Row::Price, Dec(10));
    PutDec(R(2), Row::Sum, Dec(55));
    Leave(Cell(2, ColPrice));
    EXPECT_EQ(Num(R(2), Row::Sum), 55) << "a price is no cell of a kind-4 row's step";
    PutDec(R(2), Row::Sum, Dec(50));
    Leave(Cell(2, ColSum));
    EXPECT_EQ(Num(R(2), Row::Sum), 50);
    EXPECT_EQ(Num(R(2), Row::GrossProfit), 0);
    PutU16(R(3), Row::Kind, 3);
    PutDec(R(3), Row::Quantity, Dec(2));
    PutDec(R(3), Row::Price, Dec(10));
    PutDec(R(3), Row::Sum, Dec(7));
    PutDec(R(3), Row::GrossProfit, Dec(7));
    for (int col : {ColQty, ColPrice, ColSum, ColAccount, ColVat}) Leave(Cell(3, col));
    EXPECT_EQ(Num(R(3), Row::Sum), 7);
    EXPECT_EQ(Num(R(3), Row::GrossProfit), 7);
    // A kind-5 row's text recomputes the totals, not its sum.
    PutU16(R(3), Row::Kind, 5);
    PutDec(Rec(), CO::NetTotal, Dec(1));
    Leave(Cell(3, ColText));
    EXPECT_EQ(Num(R(3), Row::Sum), 7);
    EXPECT_NE(Num(Rec(), CO::NetTotal), 1);

    // An unknown item beeps and leaves its row, kind and all.
    Rows(5);
    PutText(R(4), Row::ItemCode, 20, "NOSUCH");
    std::vector<uint8_t> before(R(4), R(4) + Row::Size);
    int beeps = PlBeepCount();
    Leave(Cell(4, ColItem));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data(), R(4), Row::Size), 0);
}

TEST_F(ContractWindowTest, AClosedContractRefusesEditsAndRowChanges)
{
    Rows(1);
    int16_t row = 0, anyField = 3;
    auto mayEditAt = [&](uint16_t offset) { return WindowEvent(w, 1, &anyField, &offset); };
    EXPECT_EQ(mayEditAt(CO::CustName), 1);
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    // The VAT zone only in company variant 15.
    uint8_t company[CompanyBlk::Size] = {};
    CompanyVariantBind(company);
    EXPECT_EQ(mayEditAt(CO::VatZone), 0);
    PutU16(company, CompanyBlk::CompanyVariant, 15);
    EXPECT_EQ(mayEditAt(CO::VatZone), 1);
    CompanyVariantBind(CompanyBlock);

    // Shown closed (state 0): no field, no inserted row.
    PutU16(Rec(), CO::Closed, 1);
    WinSetRecState(w, 0);
    EXPECT_EQ(mayEditAt(CO::CustName), 0);
    shown.clear();
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    EXPECT_TRUE(WasShown(Texts::ContractClosed));
    // A new contract ticked closed may still be typed.
    WinSetRecState(w, 1);
    EXPECT_EQ(mayEditAt(CO::CustName), 1);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    // Being changed (state 2): the stored copy decides.
    WinSetRecState(w, 2);
    std::memcpy(WinStoredRecord(w), Rec(), CO::Size);
    PutU32(WinStoredRecord(w), CO::Matrix, 0);
    PutU16(Rec(), CO::Closed, 0);
    EXPECT_EQ(mayEditAt(CO::CustName), 0);
    shown.clear();
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0);
    EXPECT_TRUE(WasShown(Texts::ContractClosed));
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    PutU16(WinStoredRecord(w), CO::Closed, 0);
    PutU16(Rec(), CO::Closed, 1);
    EXPECT_EQ(mayEditAt(CO::CustName), 1) << "unticking a stored open contract's box is no closing";
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    WinSetRecState(w, 3);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
}

}  // namespace
