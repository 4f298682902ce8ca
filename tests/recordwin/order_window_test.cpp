// order_window_test.cpp - the order (352) and quotation (272) windows
// driven as the framework drives them: fields left (event 6), the row
// questions (events 4 and 9) and the totals, over the invoice company of
// invoice_fixture.h in a headless frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "platform/display.h"
#include "platform/script.h"
#include "recordwin/document_rows.h"
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

namespace Row = ORVc::Rows;
namespace QRow = QuotationVc::Rows;

// The row cells' columns: item, quantity, text, price, discount, sum.
constexpr int ColItem = 0, ColQty = 1, ColPrice = 3, ColSum = 5, CellsPerRow = 7;

class OrderWindowTest : public InvoiceFixture, public WindowDriver {
protected:
    using WindowDriver::Num;   // blank amounts read as BlankNum

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
        shown.clear();
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    void Open(int type, uint32_t dateAt)
    {
        w = OpenOrActivateWindow(type, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        PutDate(Rec(), dateAt, DateRec{10, 6, 2024});
        WinSetRecState(w, 1);
    }
    int Cell(int row, int column) { return CellAt(row, column, CellsPerRow); }
    uint8_t *ORow(int row) { return RowBytes(row, Row::Size); }
    void Customer(uint32_t at, const char *code)
    {
        PutText(Rec(), at, 20, code);
        LeaveField(at);
    }
    void StoreDeliveryCustomer()
    {
        StoreRecord(CUVc::Number, [&](uint8_t *r) {
            PutText(r, CUVc::Code, 20, "C4");
            PutText(r, CUVc::Name, 60, "Shipping Customer");
            PutText(r, CUVc::DelAddr1, 60, "Lagerv\xE4gen 9");
            PutText(r, CUVc::DelAddr2, 60, "333 44 Lund");
            PutText(r, CUVc::CustGroup, 5, "GRP");
            PutText(r, CUVc::Note, 60, "Call before delivery");
            PutDec(r, CUVc::CreditLimit, Dec(10000));
        });
    }
    // The window shows a stored record being changed (state 2) whose
    // stored copy has rows of its own, copied from the shown ones.
    void StoredCopy()
    {
        WinSetRecState(w, 2);
        int32_t at = WinRecordHandleOffset(w);
        uint8_t *copy = WinStoredRecord(w);
        ASSERT_TRUE(copy && at >= 0);
        MemBlock old = GetU32(copy, uint32_t(at));
        if (MemIsValid(old)) MemFree(&old);
        std::memcpy(copy, Rec(), WinTypeWord(WinTypeOf(w), 2));
        MemBlock rows = WinMatrixRows(w), own = MemAlloc(MemSize(rows));
        ASSERT_TRUE(own);
        std::memcpy(MemLock(own), MemLock(rows), MemSize(rows));
        MemUnlock(own);
        MemUnlock(rows);
        PutU32(copy, uint32_t(at), own);
    }
    void SetOrderCreditWord(uint16_t v)
    {
        ASSERT_NE(CreditLimitBlock, nullptr);
        PutU16(CreditLimitBlock, CreditLimitBlk::OrderCheck, v);
    }
};

TEST_F(OrderWindowTest, OrderCustomerFillsEmptiesOrCopiesDeliveryAndWarnsOnlyByItsOwnWord)
{
    Open(WinTypes::Order, ORVc::OrdDate);
    StoreDeliveryCustomer();
    // C3's limit is 100 and an open item of 150 passes it.
    StoreRecord(ARVc::Number, [&](uint8_t *r) {
        PutI32(r, ARVc::InvoiceNr, 900);
        PutDec(r, ARVc::OpenAmount, Dec(150));
        PutText(r, ARVc::CustCode, 20, "C3");
    });
    // The invoice's word alone (the fixture sets it) warns no order.
    SetOrderCreditWord(0);
    Customer(ORVc::CustCode, "C3");
    EXPECT_FALSE(WasShown(Texts::CreditLimitExceeded));
    SetOrderCreditWord(1);
    for (const char *c : {"C3", "C1"}) {
        shown.clear();
        PutText(Rec(), ORVc::Addr0, 60, "");
        Customer(ORVc::CustCode, c);
        EXPECT_EQ(WasShown(Texts::CreditLimitExceeded), c[1] == '3') << c;
    }
    // C1 has no delivery lines: the typed delivery address goes.
    EXPECT_EQ(Text(Rec(), ORVc::Addr0), "First Customer");
    EXPECT_EQ(Text(Rec(), ORVc::Addr1), "Kundv\xE4gen 2");
    EXPECT_EQ(Text(Rec(), ORVc::PayTerms), "30");
    PutText(Rec(), ORVc::DelAddr0, 60, "Typed address");
    PutText(Rec(), ORVc::Addr0, 60, "");
    Customer(ORVc::CustCode, "C1");
    EXPECT_EQ(Text(Rec(), ORVc::DelAddr0), "");
    // C4's delivery lines come under its name; its group is the discount
    // code; its note is shown.
    shown.clear();
    Customer(ORVc::CustCode, "C4");
    EXPECT_EQ(Text(Rec(), ORVc::DelAddr0), "Shipping Customer");
    EXPECT_EQ(Text(Rec(), ORVc::DelAddr1), "Lagerv\xE4gen 9");
    EXPECT_EQ(Text(Rec(), ORVc::DelAddr2), "333 44 Lund");
    EXPECT_EQ(Text(Rec(), ORVc::CustCat), "GRP");
    EXPECT_EQ(shown.size(), 1u);
    // C2 trades in EUR: the rate of the order date comes with it.
    Customer(ORVc::CustCode, "C2");
    EXPECT_EQ(Text(Rec(), ORVc::CurncyCode), "EUR");
    EXPECT_EQ(GetU16(Rec(), ORVc::VatZone), 1);
    EXPECT_EQ(Num(Rec(), ORVc::Rate), 1125);

    std::vector<uint8_t> before(Rec(), Rec() + ORVc::Size);
    int beeps = PlBeepCount();
    Customer(ORVc::CustCode, "NOBODY");
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + 20, Rec() + 20, ORVc::Size - 20), 0) << "only the typed code differs";
}

TEST_F(OrderWindowTest, QuotationCustomerKeepsItsDeliveryWithoutLinesAndNeverWarns)
{
    Open(WinTypes::Quotation, QuotationVc::QTDate);
    SetOrderCreditWord(1);
    StoreRecord(ARVc::Number, [&](uint8_t *r) {
        PutI32(r, ARVc::InvoiceNr, 900);
        PutDec(r, ARVc::OpenAmount, Dec(150));
        PutText(r, ARVc::CustCode, 20, "C3");
    });
    PutText(Rec(), QuotationVc::DelAddr0, 60, "Typed address");
    Customer(QuotationVc::CustCode, "C3");
    EXPECT_EQ(Text(Rec(), QuotationVc::CustName), "Small Customer");
    EXPECT_EQ(Text(Rec(), QuotationVc::DelAddr0), "Typed address");
    EXPECT_FALSE(WasShown(Texts::CreditLimitExceeded));
    StoreDeliveryCustomer();
    Customer(QuotationVc::CustCode, "C4");
    EXPECT_EQ(Text(Rec(), QuotationVc::DelAddr0), "Shipping Customer");
    EXPECT_EQ(Text(Rec(), QuotationVc::DelAddr1), "Lagerv\xE4gen 9");
    EXPECT_EQ(Text(Rec(), QuotationVc::DiscCode), "GRP");
    int beeps = PlBeepCount();
    Customer(QuotationVc::CustCode, "NOBODY");
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(Text(Rec(), QuotationVc::CustName), "Shipping Customer");
}

TEST_F(OrderWindowTest, OrderItemKeepsTheTypedQuantityAndRowsFollowQuantityPriceAndSum)
{
    Open(WinTypes::Order, ORVc::OrdDate);
    Customer(ORVc::CustCode, "C1");
    Rows(3);
    PutDec(ORow(0), Row::Quantity, Dec(2));
    PutText(ORow(0), Row::ItemCode, 20, "ITEM1");
    Leave(Cell(0, ColItem));
    const uint8_t *r = ORow(0);
    EXPECT_EQ(GetU16(r, Row::Kind), 1) << "a typed row is an item row";
    EXPECT_EQ(Text(r, Row::Text), "Blue widget");
    EXPECT_EQ(Num(r, Row::Quantity), 2);
    EXPECT_EQ(Num(r, Row::Price), 100);
    EXPECT_EQ(Num(r, Row::UnitCost), 60);
    EXPECT_EQ(Num(r, Row::Sum), 200);
    EXPECT_EQ(Num(r, Row::GrossProfit), 80);
    EXPECT_EQ(Num(Rec(), ORVc::Total), 250);

    // A quantity reprices the row; its own text and cost stay.
    PutText(ORow(0), Row::Text, 100, "Widgets, blue");
    PutDec(ORow(0), Row::UnitCost, Dec(55));
    PutDec(ORow(0), Row::Quantity, Dec(3));
    Leave(Cell(0, ColQty));
    r = ORow(0);
    EXPECT_EQ(Text(r, Row::Text), "Widgets, blue");
    EXPECT_EQ(Num(r, Row::Sum), 300);
    EXPECT_EQ(Num(r, Row::GrossProfit), 300 - 3 * 55);
    EXPECT_EQ(Num(Rec(), ORVc::Total), 375);

    // A typed row sum gives the discount it means and stays.
    PutDec(ORow(0), Row::Sum, Dec(270));
    Leave(Cell(0, ColSum));
    r = ORow(0);
    EXPECT_EQ(Num(r, Row::Discount), 10);
    EXPECT_EQ(Num(r, Row::Sum), 270);
    EXPECT_EQ(Num(r, Row::GrossProfit), 270 - 3 * 55);
    EXPECT_EQ(Num(Rec(), ORVc::Net), 270);

    // A price marks the sum again.
    PutDec(ORow(0), Row::Price, Dec(50));
    Leave(Cell(0, ColPrice));
    EXPECT_EQ(Num(ORow(0), Row::Sum), 135);

    // An unknown item beeps and leaves its row as it was.
    std::vector<uint8_t> before(ORow(1), ORow(1) + Row::Size);
    PutText(ORow(1), Row::ItemCode, 20, "NOSUCH");
    before.assign(ORow(1), ORow(1) + Row::Size);
    int beeps = PlBeepCount();
    Leave(Cell(1, ColItem));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + Row::Quantity, ORow(1) + Row::Quantity, Row::Size - Row::Quantity), 0);
}

TEST_F(OrderWindowTest, QuotationRowSumGivesItsDiscountByPriceUnitAndLeavesItWithoutQuantity)
{
    Open(WinTypes::Quotation, QuotationVc::QTDate);
    Customer(QuotationVc::CustCode, "C1");
    Rows(1);
    PutDec(RowBytes(0, QRow::Size), QRow::Quantity, Dec(1));
    PutText(RowBytes(0, QRow::Size), QRow::ItemCode, 20, "ITEM1");
    Leave(Cell(0, ColItem));
    uint8_t *r = RowBytes(0, QRow::Size);
    EXPECT_EQ(Num(r, QRow::Sum), 100);
    PutDec(r, QRow::Sum, Dec(90));
    Leave(Cell(0, ColSum));
    r = RowBytes(0, QRow::Size);
    EXPECT_EQ(Num(r, QRow::Discount), 10);
    EXPECT_EQ(Num(r, QRow::GrossProfit), 30);
    EXPECT_EQ(Num(Rec(), QuotationVc::NetTotal), 90);
    // A price of 100 per 10 units: one unit at 90 is far above it.
    PutDec(r, QRow::PriceUnit, Dec(10));
    PutDec(r, QRow::Discount, Dec(0));
    Leave(Cell(0, ColSum));
    EXPECT_EQ(Num(RowBytes(0, QRow::Size), QRow::Discount), -800);
    // No quantity: the discount stays as it was and the sum as typed.
    r = RowBytes(0, QRow::Size);
    PutDec(r, QRow::Discount, Dec(5));
    PutDec(r, QRow::Quantity, Dec(0));
    PutDec(r, QRow::Sum, Dec(80));
    Leave(Cell(0, ColSum));
    EXPECT_EQ(Num(RowBytes(0, QRow::Size), QRow::Discount), 5);
    EXPECT_EQ(Num(RowBytes(0, QRow::Size), QRow::Sum), 80);
}

TEST_F(OrderWindowTest, DerivedDiscountCountsABlankOrZeroPriceUnitAsOne)
{
    struct Case {
        double price, unit, sum, qty, want;
        bool derived;
    };
    const Case cases[] = {
        {100, 0, 90, 1, 10, true},   {100, -1, 90, 1, 10, true}, {100, 10, 90, 1, -800, true},
        {100, 10, 18, 2, 10, true},  {100, 0, 90, 0, 0, false},  {0, 0, 90, 1, 0, false},
        {100, 0, -1, 2, 100, true},
    };
    for (const Case &c : cases) {
        PackedDecimal price = Dec(c.price), unit, sum, qty = Dec(c.qty), discount = Dec(7);
        if (c.unit < 0) DecSetBlank(&unit);
        else unit = Dec(c.unit);
        if (c.sum < 0) DecSetBlank(&sum);
        else sum = Dec(c.sum);
        EXPECT_EQ(DocDiscountFromSum(&price, &unit, &sum, &qty, &discount), c.derived) << c.price << " " << c.qty;
        EXPECT_EQ(DecToDouble(&discount), c.derived ? c.want : 7) << c.price << " " << c.unit << " " << c.sum;
    }
}

TEST_F(OrderWindowTest, DeliveredOrderRowsStayButQuotationRowsMayAlwaysGo)
{
    Open(WinTypes::Order, ORVc::OrdDate);
    Rows(2);
    int16_t row = 0;
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1) << "a new order's rows may go";
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    PutDec(ORow(1), Row::QtyDelivered, Dec(1));
    WinSetRecState(w, 0);
    shown.clear();
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0) << "a shown order with delivered rows";
    EXPECT_TRUE(WasShown(Texts::OrderDelivered));
    WinSetRecState(w, 1);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    StoredCopy();
    shown.clear();
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0);
    EXPECT_TRUE(WasShown(Texts::OrderDelivered));
    shown.clear();
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    EXPECT_TRUE(WasShown(Texts::OrderDelivered));
    // Only the stored copy's deliveries count for an insert.
    PutDec(ORow(1), Row::QtyDelivered, Dec(0));
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    StoredCopy();
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1);
    WinSetRecState(w, 3);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);

    Open(WinTypes::Quotation, QuotationVc::QTDate);
    Rows(2);
    WinSetRecState(w, 2);
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
}

// The quantities deliveries and invoices move are shown on the rows'
// third column page but may not be typed, in a new order or a stored one;
// the item and quantity cells of the first page stay open.
TEST_F(OrderWindowTest, DeliveredShippedAndInvoicedQuantitiesAreShownButNotTyped)
{
    Open(WinTypes::Order, ORVc::OrdDate);
    Rows(1);
    for (int state : {1, 2}) {
        WinTable[w]->matrixColumnPage = 3;
        for (int column : {0, 1, 2})
            EXPECT_EQ(WinFieldEditRules(w, Cell(0, column), state, 0, 0), 0) << state << " " << column;
        EXPECT_EQ(WinFieldIdAtCell(w, Cell(0, 0)), int(Row::QtyDelivered));
        WinTable[w]->matrixColumnPage = 1;
        EXPECT_EQ(WinFieldEditRules(w, Cell(0, ColItem), state, 0, 0), 1) << state;
        EXPECT_EQ(WinFieldEditRules(w, Cell(0, ColQty), state, 0, 0), 1) << state;
    }
}

}  // namespace
