// field_leave_test.cpp - what leaving a field does in the smaller record
// windows (event 6): goods receipts, stock movements, item structures,
// time sheets, the alternatives of a report selection, and the period
// texts of report selections.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/date.h"
#include "core/pstring.h"
#include "core/system.h"
#include "platform/display.h"
#include "rules/vat_currency.h"
#include "tests/recordwin/small_windows_fixture.h"

namespace {

using namespace TestWin;
namespace Pu = PUVc::Rows;
namespace Sm = StockMoveVc::Rows;

class FieldLeaveTest : public SmallWindowsFixture {
protected:
    static int PuCell(int row, int col) { return PuFirst + row * PuCells + col; }
    static int SmCell(int row, int col) { return SmFirst + row * SmCells + col; }
    static uint8_t *PuRow(int w, int row) { return RowAt(w, row, Pu::Size); }
    static std::string Str(const uint8_t *base, uint32_t at) { return Text(base, at); }
    // A named period of block 136, "Spring": 1 March to 31 May 2024.
    void AddSpringPeriod()
    {
        AddRow(PeriodsBlk::Number, PeriodsBlk::Rows::Size, [&](uint8_t *r) {
            PutDate(r, PeriodsBlk::Rows::FromDate, DateRec{1, 3, 2024});
            PutDate(r, PeriodsBlk::Rows::ToDate, DateRec{31, 5, 2024});
            PutText(r, PeriodsBlk::Rows::Name, 60, "Spring");
        });
        SettingsBlocksReload();
    }
    // The charge of a goods-receipt row read back as the amount it adds to
    // a base of 100.
    static double ChargeOn100(const uint8_t *row)
    {
        PString charge;
        ::GetText(row, Pu::Charge, charge);
        PackedDecimal hundred, with;
        DecFromLong(&hundred, 100);
        AddAmountOrPercent(&hundred, charge, &with);
        double d = 0;
        DecToDoubleOut(&with, &d);
        return d - 100;
    }
};

// Leaving the rate recomputes every row's unit cost from its price, the
// rate and its charge, even when the rate did not change, and the totals
// follow; a currency or date change takes the day's rate.
TEST_F(FieldLeaveTest, PurchaseRateLeaveRecomputesEveryRow)
{
    int w = OpenNew(197);
    ASSERT_GT(w, 0);
    Rows(w, 3);
    const char *charges[] = {"", "10", "10%"};
    for (int r = 0; r < 3; r++) {
        PutText(PuRow(w, r), Pu::ItemCode, 20, "SERVICE");
        PutDec(PuRow(w, r), Pu::Quantity, Dec(2));
        PutDec(PuRow(w, r), Pu::Price, Dec(100));
        PutText(PuRow(w, r), Pu::Charge, 20, charges[r]);
    }
    PutDec(Rec(w), PUVc::Rate, Dec(200));
    Leave(w, PuRate, 0);
    EXPECT_EQ(Num(PuRow(w, 0), Pu::UnitCost), 200);
    EXPECT_EQ(Num(PuRow(w, 1), Pu::UnitCost), 210);
    EXPECT_EQ(Num(PuRow(w, 2), Pu::UnitCost), 220);
    EXPECT_EQ(Num(Rec(w), PUVc::QtySum), 6);
    EXPECT_EQ(Num(Rec(w), PUVc::ValueSum), 2 * (200 + 210 + 220));

    PutText(Rec(w), PUVc::Currency, 5, "EUR");
    PutDate(Rec(w), PUVc::TransDate, DateRec{10, 6, 2024});
    Leave(w, PuCurrency);
    EXPECT_EQ(Num(Rec(w), PUVc::Rate), 1125);
    // Unchanged: the rate stays as typed.
    PutDec(Rec(w), PUVc::Rate, Dec(50));
    Leave(w, PuDate, 0);
    EXPECT_EQ(Num(Rec(w), PUVc::Rate), 50);
}

// A unit cost typed over gives the charge back: 110 on a base of 100 is
// 10 % for a charge given as a percentage and 10 for one given as an
// amount; with no base a percentage is left as typed (no division by
// zero) while an amount takes the whole cost.
TEST_F(FieldLeaveTest, PurchaseUnitCostGivesTheChargeBack)
{
    int w = OpenNew(197);
    ASSERT_GT(w, 0);
    Rows(w, 1);
    uint8_t *r = PuRow(w, 0);
    PutDec(Rec(w), PUVc::Rate, Dec(100));
    PutText(r, Pu::ItemCode, 20, "SERVICE");
    struct Case {
        double price;
        const char *charge;
        double cost;
        std::string wantEnd;
        double wantOn100;
    };
    const Case cases[] = {
        {100, "5%", 110, "%", 10}, {100, "3", 110, "", 10}, {200, "1%", 150, "%", -25},
        {0, "5%", 110, "%", 5},    {0, "3", 110, "", 110},
    };
    for (const Case &c : cases) {
        PutDec(r, Pu::Price, Dec(c.price));
        PutText(r, Pu::Charge, 20, c.charge);
        PutDec(r, Pu::UnitCost, Dec(c.cost));
        Leave(w, PuCell(0, PuUnitCost));
        std::string charge = Str(r, Pu::Charge);
        ASSERT_FALSE(charge.empty()) << c.charge;
        EXPECT_EQ(charge.back() == '%', c.wantEnd == "%") << charge;
        EXPECT_DOUBLE_EQ(ChargeOn100(r), c.wantOn100) << c.price << " " << c.charge << " gave " << charge;
    }
    // The charge given back makes the same unit cost again.
    PutDec(r, Pu::Price, Dec(80));
    PutText(r, Pu::Charge, 20, "1%");
    PutDec(r, Pu::UnitCost, Dec(100));
    Leave(w, PuCell(0, PuUnitCost));
    Leave(w, PuCell(0, PuCharge));
    EXPECT_EQ(Num(r, Pu::UnitCost), 100);
}

// An item code gives its row the item's name and cost price and the row
// its unit cost; an unknown one beeps and leaves the row; a vendor code
// gives its name. Cells outside the rows are not read.
TEST_F(FieldLeaveTest, PurchaseItemAndVendorFillByCode)
{
    StoreRecord(VEVc::Number, [&](uint8_t *v) {
        PutText(v, VEVc::Code, 20, "V1");
        PutText(v, VEVc::Name, 60, "First Vendor");
    });
    int w = OpenNew(197);
    ASSERT_GT(w, 0);
    PutText(Rec(w), PUVc::VendCode, 20, "V1");
    Leave(w, PuVendor, 0);
    EXPECT_EQ(Str(Rec(w), PUVc::VendName), "First Vendor");
    Rows(w, 2);
    PutDec(Rec(w), PUVc::Rate, Dec(100));
    PutText(PuRow(w, 0), Pu::ItemCode, 20, "ITEM1");
    PutDec(PuRow(w, 0), Pu::Quantity, Dec(3));
    Leave(w, PuCell(0, PuItem));
    EXPECT_EQ(Str(PuRow(w, 0), Pu::Text), "Blue widget");
    EXPECT_EQ(Num(PuRow(w, 0), Pu::Price), 60);
    EXPECT_EQ(Num(Rec(w), PUVc::ValueSum), 180);
    int beeps = PlBeepCount();
    PutText(PuRow(w, 1), Pu::ItemCode, 20, "NOSUCH");
    Leave(w, PuCell(1, PuItem));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(Str(PuRow(w, 1), Pu::Text), "");
    // Rows 2 and beyond do not exist; column 6 is no cell.
    for (int F : {PuCell(2, PuItem), PuCell(400, PuUnitCost), PuCell(1, 6), 32767}) Leave(w, F);
    EXPECT_EQ(WinMatrixRowCount(w), 2);
}

// A stock-movement row: the item gives base and unit cost, the add-on
// (an amount or a percentage) makes the unit cost, and a unit cost typed
// over drops the add-on.
TEST_F(FieldLeaveTest, StockMovementUnitCostFollowsBaseAndAddOn)
{
    int w = OpenNew(426);
    ASSERT_GT(w, 0);
    Rows(w, 1);
    uint8_t *r = RowAt(w, 0, Sm::Size);
    PutText(r, Sm::ItemCode, 20, "ITEM2");
    Leave(w, SmCell(0, SmItem));
    EXPECT_EQ(Str(r, Sm::Text), "Red widget");
    EXPECT_EQ(Num(r, Sm::BaseCost), 20);
    EXPECT_EQ(Num(r, Sm::UnitCost), 20);
    PutText(r, Sm::AddOn, 20, "10%");
    Leave(w, SmCell(0, SmAddOn));
    EXPECT_EQ(Num(r, Sm::UnitCost), 22);
    PutText(r, Sm::AddOn, 20, "5");
    Leave(w, SmCell(0, SmAddOn), 0);   // unchanged: nothing
    EXPECT_EQ(Num(r, Sm::UnitCost), 22);
    Leave(w, SmCell(0, SmAddOn));
    EXPECT_EQ(Num(r, Sm::UnitCost), 25);
    PutDec(r, Sm::UnitCost, Dec(30));
    Leave(w, SmCell(0, SmUnitCost));
    EXPECT_EQ(Str(r, Sm::AddOn), "");
    EXPECT_EQ(Num(r, Sm::UnitCost), 30);
    PutText(Rec(w), StockMoveVc::CurncyCode, 5, "EUR");
    PutDate(Rec(w), StockMoveVc::MoveDate, DateRec{10, 6, 2024});
    Leave(w, SmCurrency);
    EXPECT_EQ(Num(Rec(w), StockMoveVc::Rate), 1125);
}

// An item structure's row takes its item's name and cost; the totals
// follow every change.
TEST_F(FieldLeaveTest, ItemStructureRowsAndTotals)
{
    int w = OpenNew(367);
    ASSERT_GT(w, 0);
    Rows(w, 2);
    uint8_t *r = RowAt(w, 0, StructureVc::Rows::Size);
    PutText(r, StructureVc::Rows::ItemCode, 20, "ITEM1");
    PutDec(r, StructureVc::Rows::Quantity, Dec(2));
    Leave(w, StFirst);
    EXPECT_EQ(Str(r, StructureVc::Rows::ItemName), "Blue widget");
    EXPECT_EQ(Num(r, StructureVc::Rows::Cost), 60);
    PackedDecimal before = GetDec(Rec(w), StructureVc::Total94);
    PutDec(r, StructureVc::Rows::Quantity, Dec(4));
    Leave(w, StFirst + 2);
    PackedDecimal after = GetDec(Rec(w), StructureVc::Total94);
    EXPECT_FALSE(DecEqual(&before, &after));
}

// A time sheet's empty date and person are taken from the row above (not
// on the first row); the total follows the quantities.
TEST_F(FieldLeaveTest, TimeSheetRowsTakeTheRowAbove)
{
    namespace Ts = TimeSheetVc::Rows;
    constexpr int First = 5, Cells = 6, ColDate = 0, ColPerson = 1, ColQty = 4;
    int w = OpenNew(268);
    ASSERT_GT(w, 0);
    Rows(w, 3);
    auto row = [&](int r) { return RowAt(w, r, Ts::Size); };
    Leave(w, First + ColDate);   // first row: stays empty
    DateRec d0 = GetDate(row(0), Ts::RowDate);
    EXPECT_TRUE(DateIsEmpty(&d0));
    PutDate(row(0), Ts::RowDate, DateRec{3, 6, 2024});
    PutText(row(0), Ts::Person, 5, "P1");
    PutDec(row(0), Ts::Quantity, Dec(4));
    Leave(w, First + Cells + ColDate);
    Leave(w, First + Cells + ColPerson);
    DateRec d1 = GetDate(row(1), Ts::RowDate);
    EXPECT_EQ(d1.day, 3);
    EXPECT_EQ(d1.year, 2024);
    EXPECT_EQ(Str(row(1), Ts::Person), "P1");
    // A date typed stays.
    PutDate(row(2), Ts::RowDate, DateRec{5, 6, 2024});
    Leave(w, First + 2 * Cells + ColDate);
    EXPECT_EQ(GetDate(row(2), Ts::RowDate).day, 5);
    PutDec(row(1), Ts::Quantity, Dec(2.5));
    Leave(w, First + Cells + ColQty);
    EXPECT_EQ(Num(Rec(w), TimeSheetVc::Total), 6.5);
}

// The balance statement (401, the test layout) and the result statement
// (402, as shipped) each hold at most one of their two alternatives:
// filling one empties the other; an emptied or unchanged field empties
// nothing. The general ledger (425) reads both at once and keeps both.
TEST_F(FieldLeaveTest, ReportAlternativesAreNeverBothFilled)
{
    namespace Rp = ReportParamsVc;
    for (int type : {401, 402}) {
        SCOPED_TRACE(type);
        int w = OpenNew(type);
        ASSERT_GT(w, 0);
        const int object = WinScreenFieldOfOffset(w, Rp::ObjectSel), kind = WinScreenFieldOfOffset(w, Rp::ObjectType);
        ASSERT_NE(object, NoField);
        ASSERT_NE(kind, NoField);
        TypeAndLeave(w, Rp::ObjectSel, 30, "A1", object);
        PutText(Rec(w), Rp::ObjectType, 5, "T");
        Leave(w, kind, 0);
        EXPECT_EQ(Str(Rec(w), Rp::ObjectSel), "A1");
        Leave(w, kind);
        EXPECT_EQ(Str(Rec(w), Rp::ObjectSel), "");
        EXPECT_EQ(Str(Rec(w), Rp::ObjectType), "T");
        TypeAndLeave(w, Rp::ObjectSel, 30, "", object);
        EXPECT_EQ(Str(Rec(w), Rp::ObjectType), "T");
        TypeAndLeave(w, Rp::ObjectSel, 30, "B", object);
        EXPECT_EQ(Str(Rec(w), Rp::ObjectType), "");
    }
    int ledger = OpenNew(425);
    ASSERT_GT(ledger, 0);
    TypeAndLeave(ledger, Rp::ObjectSel, 30, "A1", WinScreenFieldOfOffset(ledger, Rp::ObjectSel));
    TypeAndLeave(ledger, Rp::ObjectType, 5, "T", WinScreenFieldOfOffset(ledger, Rp::ObjectType));
    EXPECT_EQ(Str(Rec(ledger), Rp::ObjectSel), "A1");
    EXPECT_EQ(Str(Rec(ledger), Rp::ObjectType), "T");
}

// The voucher print-out (90) reads the range of references typed into
// the series and number words its run walks by.
TEST_F(FieldLeaveTest, VoucherPrintRangeGivesTheNumbersItsRunWalks)
{
    namespace Rp = ReportParamsVc;
    int w = OpenNew(90);
    ASSERT_GT(w, 0);
    const int vouchers = WinScreenFieldOfOffset(w, Rp::SelText1);
    ASSERT_NE(vouchers, NoField);
    TypeAndLeave(w, Rp::SelText1, 60, "77:90", vouchers);
    EXPECT_EQ(GetI32(Rec(w), Rp::NumberFrom), 77);
    EXPECT_EQ(GetI32(Rec(w), Rp::NumberTo), 90);
    EXPECT_EQ(GetU16(Rec(w), Rp::Option1), 0);
    EXPECT_EQ(GetU16(Rec(w), Rp::Option2), 0);
}

// The purchase-order status (492) compares its reference range as the
// kind of settings block 220 says: as dates (kind 1) a period name typed
// is written back as the period's dates; as text it stays as typed.
TEST_F(FieldLeaveTest, ReferenceRangeAsDatesIsWrittenBackAsAPeriod)
{
    namespace Rp = ReportParamsVc;
    AddSpringPeriod();
    int w = OpenNew(492);
    ASSERT_GT(w, 0);
    const int references = WinScreenFieldOfOffset(w, Rp::SelText4);
    ASSERT_NE(references, NoField);
    for (uint16_t kind : {0, 1}) {
        SCOPED_TRACE(kind);
        uint8_t block[ValueKindBlk::Size] = {};
        PutU16(block, ValueKindBlk::ValueKind, kind);
        StoreBlock(ValueKindBlk::Number, block, ValueKindBlk::Size);
        TypeAndLeave(w, Rp::SelText4, 30, "sPRING", references);
        const std::string written = Str(Rec(w), Rp::SelText4);
        if (kind == 0) {
            EXPECT_EQ(written, "sPRING");
            continue;
        }
        PString text;
        PStringFromC(text, written.c_str());
        DateRec from{}, to{};
        PeriodTextParse(text, &from, &to);
        EXPECT_NE(written.find(':'), std::string::npos) << written;
        EXPECT_EQ(from.day * 100 + from.month, 103) << written;
        EXPECT_EQ(to.day * 100 + to.month, 3105) << written;
    }
}

// A period typed as the name of a period of block 136, in any case, takes
// its dates; "from:" with an empty second half keeps the to-date; the
// text is written back as "from:to". The default period is the first
// named one, else the fiscal year holding today.
TEST_F(FieldLeaveTest, PeriodTextsByNameHalvesAndDefault)
{
    namespace Rp = ReportParamsVc;
    PString text;
    DefaultPeriodText(text);
    DateRec from{}, to{};
    {
        PString copy;
        std::memcpy(copy, text, sizeof copy);
        PeriodTextParse(copy, &from, &to);
    }
    EXPECT_EQ(from.year, 2024);
    EXPECT_EQ(to.year, 2024);
    EXPECT_EQ(from.month, 1);
    EXPECT_EQ(to.month, 12);

    AddSpringPeriod();
    int w = OpenNew(401);
    ASSERT_GT(w, 0);
    TypeAndLeave(w, Rp::PeriodText, 31, "sPRING", RpPeriod);
    DateRec f = GetDate(Rec(w), Rp::DateFrom), t = GetDate(Rec(w), Rp::DateTo);
    EXPECT_EQ(f.month, 3);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.month, 5);
    std::string written = Str(Rec(w), Rp::PeriodText);
    EXPECT_NE(written.find(':'), std::string::npos);

    // An empty second half keeps the to-date and writes it back.
    PString first, half;
    DateRec april{1, 4, 2024};
    DateToText(&april, first);
    PStringAppendChar(first, ':');
    ::PutText(Rec(w), Rp::PeriodText, first);
    Leave(w, RpPeriod);
    f = GetDate(Rec(w), Rp::DateFrom);
    t = GetDate(Rec(w), Rp::DateTo);
    EXPECT_EQ(f.month, 4);
    EXPECT_EQ(t.month, 5);
    ::GetText(Rec(w), Rp::PeriodText, half);
    EXPECT_GT(half[0], first[0]);

    // A half typed year first reads as a date only once its parts are
    // clamped: it is told and keeps its date, not taken as another date.
    shown.clear();
    PString yearFirst;
    PStringFromC(yearFirst, "2027-01-31:");
    ::PutText(Rec(w), Rp::PeriodText, yearFirst);
    Leave(w, RpPeriod);
    f = GetDate(Rec(w), Rp::DateFrom);
    EXPECT_EQ(f.day * 100 + f.month, 104) << "the from-date as it was";
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("2027-01-31"), std::string::npos) << shown[0];

    // One half no date as typed refuses the whole text: the good half is
    // not taken alone, both dates stay and the text says them again.
    shown.clear();
    PString oneBad, kept;
    PStringFromC(oneBad, "1.2.27:2027-02-28");
    ::PutText(Rec(w), Rp::PeriodText, oneBad);
    Leave(w, RpPeriod);
    f = GetDate(Rec(w), Rp::DateFrom);
    t = GetDate(Rec(w), Rp::DateTo);
    EXPECT_EQ(f.day * 100 + f.month, 104) << "the from-date as it was";
    EXPECT_EQ(t.day * 100 + t.month, 3105) << "the to-date as it was";
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("2027-02-28"), std::string::npos) << shown[0];
    PeriodTextOf(&f, &t, kept);
    EXPECT_EQ(Str(Rec(w), Rp::PeriodText), PStringToStd(kept));
    PString refused;
    EXPECT_TRUE(PeriodTextRefused(oneBad, refused));
    EXPECT_EQ(PStringToStd(refused), "2027-02-28");
    PStringFromC(oneBad, "sPRING");
    EXPECT_FALSE(PeriodTextRefused(oneBad, refused)) << "a period's name";

    DefaultPeriodText(text);
    from = to = DateRec{};
    PeriodTextParse(text, &from, &to);
    EXPECT_EQ(from.month, 3);
    EXPECT_EQ(to.month, 5);
}

// The budgets: the project and item give their names; a time budget's
// discount is the percentage the customer's price list gives (not its
// price); a cost budget's row is priced from the project and its amount
// is quantity x price less the discount, with the row's surcharge, less
// what was invoiced; the totals follow.
TEST_F(FieldLeaveTest, BudgetsTakeNamesPricesAndDiscountPercentage)
{
    StoreRecord(ProjectVc::Number, [&](uint8_t *p) {
        PutText(p, ProjectVc::Code, 20, "PR1");
        PutText(p, ProjectVc::CustCode, 20, "C1");
        PutText(p, ProjectVc::Name, 60, "Harbour");
    });
    StoreRecord(CustPriceVc::Number, [&](uint8_t *l) {
        PutText(l, CustPriceVc::CustCode, 20, "C1");
        uint8_t row[CustPriceVc::Rows::Size] = {};
        PutText(row, CustPriceVc::Rows::ItemCode, 20, "ITEM1");
        PutDec(row, CustPriceVc::Rows::Price, Dec(80));
        PutDec(row, CustPriceVc::Rows::Percentage, Dec(15));
        ASSERT_TRUE(MatrixRowPut(CustPriceVc::Number, 0, l, 0, row));
    });
    namespace TB = TimeBudgetVc;
    namespace CB = CostBudgetVc;
    // Time budget (362): 1 project, 2 item; cells from 11, seven a row.
    int tb = OpenNew(362);
    ASSERT_GT(tb, 0);
    TypeAndLeave(tb, TB::Project, 20, "PR1", 1);
    EXPECT_EQ(Str(Rec(tb), TB::ProjectName), "Harbour");
    PutText(Rec(tb), TB::ItemCode, 20, "ITEM1");
    Leave(tb, 2, 0);   // unchanged: nothing
    EXPECT_EQ(Str(Rec(tb), TB::ItemName), "");
    Leave(tb, 2);
    EXPECT_EQ(Str(Rec(tb), TB::ItemName), "Blue widget");
    EXPECT_EQ(Num(Rec(tb), TB::DiscPct), 15);
    Rows(tb, 1);
    Leave(tb, 11);
    EXPECT_EQ(Num(RowAt(tb, 0, TB::Rows::Size), TB::Rows::Price), 80);
    Leave(tb, 11 + 7 * 5);   // a row that does not exist

    // Cost budget (360): 1 project, 2 item; cells from 10, seven a row.
    int cb = OpenNew(360);
    ASSERT_GT(cb, 0);
    TypeAndLeave(cb, CB::Project, 20, "PR1", 1);
    EXPECT_EQ(Str(Rec(cb), CB::ProjectName), "Harbour");
    TypeAndLeave(cb, CB::ItemCode, 20, "ITEM1", 2);
    EXPECT_EQ(Num(Rec(cb), CB::DiscPct), 15);
    Rows(cb, 1);
    uint8_t *r = RowAt(cb, 0, CB::Rows::Size);
    Leave(cb, 10);
    EXPECT_EQ(Num(r, CB::Rows::UnitPrice), 80);
    PutDec(r, CB::Rows::QtySpent, Dec(3));
    PutDec(r, CB::Rows::Surcharge, Dec(10));
    PutDec(r, CB::Rows::Invoiced, Dec(24.4));
    Leave(cb, 12);
    EXPECT_NEAR(Num(r, CB::Rows::Spent), 200, 1e-9);   // 3 x 80 less 15 %, plus 10 %, less 24.40
    EXPECT_NEAR(Num(Rec(cb), CB::SpentSum), 200, 1e-9);
    Leave(cb, 16);
    PackedDecimal pct = GetDec(r, CB::Rows::Surcharge);
    EXPECT_TRUE(DecIsBlank(&pct));
}

// A production's component row takes its item's name; an item without a
// structure beeps.
TEST_F(FieldLeaveTest, ProductionRowsAndItemWithoutStructure)
{
    int w = OpenNew(122);
    ASSERT_GT(w, 0);
    Rows(w, 1);
    PutText(RowAt(w, 0, ProductionVc::Rows::Size), ProductionVc::Rows::ItemCode, 20, "ITEM2");
    Leave(w, PrFirst);
    EXPECT_EQ(Str(RowAt(w, 0, ProductionVc::Rows::Size), ProductionVc::Rows::ItemName), "Red widget");
    int beeps = PlBeepCount();
    TypeAndLeave(w, ProductionVc::ItemCode, 20, "SERVICE", PrItem);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
}

// Look-ups by code: a purchase price takes the item's name and cost and
// the vendor's name, and beeps at an unknown code; a project's customer
// name is emptied for an unknown customer; a coded text keeps its text
// when the code is new; an unchanged code looks up nothing.
TEST_F(FieldLeaveTest, LookupsFillNamesByCode)
{
    int w = OpenNew(284);
    ASSERT_GT(w, 0);
    PutText(Rec(w), PurchItemVc::ItemCode, 20, "ITEM2");
    Leave(w, PiItem284, 0);
    EXPECT_EQ(Str(Rec(w), PurchItemVc::Text), "");
    Leave(w, PiItem284);
    EXPECT_EQ(Str(Rec(w), PurchItemVc::Text), "Red widget");
    EXPECT_EQ(Num(Rec(w), PurchItemVc::Price), 20);
    int beeps = PlBeepCount();
    TypeAndLeave(w, PurchItemVc::VendCode, 20, "NOSUCH", PiVendor284);
    EXPECT_EQ(PlBeepCount(), beeps + 1);

    int p = OpenNew(259);
    ASSERT_GT(p, 0);
    int custField = WinScreenFieldOfOffset(p, ProjectVc::CustCode);
    ASSERT_NE(custField, NoField);
    TypeAndLeave(p, ProjectVc::CustCode, 20, "C1", custField);
    EXPECT_EQ(Str(Rec(p), ProjectVc::CustName), "First Customer");
    TypeAndLeave(p, ProjectVc::CustCode, 20, "C9", custField);
    EXPECT_EQ(Str(Rec(p), ProjectVc::CustName), "");

    int t = OpenNew(457);
    ASSERT_GT(t, 0);
    PutText(Rec(t), CodedTextVc::Code, 5, "NEW");
    TypeAndLeave(t, CodedTextVc::Text, 60, "Typed", CtCode);
    EXPECT_EQ(Str(Rec(t), CodedTextVc::Text), "Typed");
}

}  // namespace
