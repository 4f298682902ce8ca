// invoice_window_test.cpp - the sales-invoice window (type 347) driven as
// the framework drives it: fields left (event 6), edit questions (events
// 1, 4, 9), new rows (event 3) and the item-information button, over the
// invoice company of invoice_fixture.h in a headless frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/company_variant.h"
#include "core/record_buffer.h"
#include "operations/sales_invoice.h"
#include "platform/display.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
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

namespace Row = IVVc::Rows;

// Screen fields of window 347: customer, dates, and the first row cell of
// seven a row (kind, item, quantity, text, price, discount, sum).
constexpr int FieldCustomer = 2, FieldInvDate = 4, FieldTransDate = 5, FirstCell = 63, CellsPerRow = 7;
constexpr int ColItem = 1, ColQty = 2, ColPrice = 4, ColDiscount = 5;

class InvoiceWindowTest : public InvoiceFixture, public WindowDriver {
protected:
    using WindowDriver::Num;   // blank amounts read as BlankNum

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        InvoiceFrameUp();
        if (HasFatalFailure()) return;
        w = OpenOrActivateWindow(WinTypes::SalesInvoice, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        PutDate(Inv(), IVVc::InvDate, DateRec{10, 6, 2024});
        PutDate(Inv(), IVVc::TransDate, DateRec{10, 6, 2024});
        WinSetRecState(w, 1);
        shown.clear();
    }
    void TearDown() override
    {
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }

    uint8_t *Inv() { return Rec(); }
    static int Cell(int row, int column) { return FirstCell + row * CellsPerRow + column; }
    uint8_t *RowAt(int row) { return RowBytes(row, Row::Size); }
    void CellText(int row, uint32_t at, const char *text, int column)
    {
        PutText(RowAt(row), at, 20, text);
        Leave(Cell(row, column));
    }
    void CellDec(int row, uint32_t at, double value, int column)
    {
        PutDec(RowAt(row), at, Dec(value));
        Leave(Cell(row, column));
    }
    void Customer(const char *code)
    {
        PutText(Inv(), IVVc::CustCode, 20, code);
        Leave(FieldCustomer);
    }
};

TEST_F(InvoiceWindowTest, CustomerFillsTheInvoiceWarnsOfCreditAndAnUnknownOneChangesNothing)
{
    // C3's limit is 100 and an open item of 150 passes it; block 186's
    // freight item is SERVICE (700, VAT code 2) at 10 %.
    StoreRecord(ARVc::Number, [&](uint8_t *r) {
        PutI32(r, ARVc::InvoiceNr, 900);
        PutDec(r, ARVc::OpenAmount, Dec(150));
        PutText(r, ARVc::CustCode, 20, "C3");
    });
    std::vector<uint8_t> freight(FreightBlk::Size);
    PutText(freight.data(), FreightBlk::FreightItem, 20, "SERVICE");
    PutDec(freight.data(), FreightBlk::FreightPct, Dec(10));
    for (const char *c : {"C3", "C1"}) {
        shown.clear();
        Customer(c);
        EXPECT_EQ(WasShown(Texts::CreditLimitExceeded), c[1] == '3') << c;
        EXPECT_EQ(Text(Inv(), IVVc::FreightItem), "") << "no freight item yet: no freight";
        EXPECT_EQ(Num(Inv(), IVVc::Freight), BlankNum);
    }
    StoreBlock(FreightBlk::Number, freight.data(), FreightBlk::Size);
    Customer("C2");
    const uint8_t *inv = Inv();
    EXPECT_EQ(Text(inv, IVVc::Addr0), "Euro Customer");
    EXPECT_EQ(Text(inv, IVVc::Addr1), "Kundv\xE4gen 2");
    EXPECT_EQ(Text(inv, IVVc::CurncyCode), "EUR");
    EXPECT_EQ(GetU16(inv, IVVc::VatZone), 1);
    EXPECT_EQ(Num(inv, IVVc::Rate), 1125);
    DateRec due = GetDate(inv, IVVc::PayDate);
    EXPECT_EQ(due.day * 100 + due.month, 1007) << "terms 30 from 10.6";
    EXPECT_EQ(Text(inv, IVVc::FreightItem), "SERVICE");
    EXPECT_EQ(Text(inv, IVVc::FreightVat), "2");
    EXPECT_EQ(Num(inv, IVVc::FreightHome), 700);
    EXPECT_EQ(Num(inv, IVVc::FreightPctAmt), 70);

    // Freight typed in EUR at 1125 goes into home currency with its share.
    PutDec(Inv(), IVVc::Freight, Dec(100));
    Leave(WinScreenFieldOfOffset(w, IVVc::Freight));
    EXPECT_EQ(Num(Inv(), IVVc::FreightHome), 1125);
    EXPECT_EQ(Num(Inv(), IVVc::FreightPctAmt), 112.5);

    // A credit note (first row of kind 3) keeps its terms.
    Rows(1);
    PutU16(RowAt(0), Row::Kind, 3);
    PutText(Inv(), IVVc::PayTerms, 2, "K");
    PutText(Inv(), IVVc::Addr0, 60, "");
    Customer("C2");
    EXPECT_EQ(Text(Inv(), IVVc::PayTerms), "K");

    std::vector<uint8_t> before(Inv(), Inv() + IVVc::Size);
    int beeps = PlBeepCount();
    Customer("NOBODY");
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + 22, Inv() + 22, IVVc::Size - 22), 0) << "only the typed code differs";
}

TEST_F(InvoiceWindowTest, ItemFillsItsRowAndAQuantityRepricesKeepingTextAndCost)
{
    Customer("C1");
    Rows(2);
    EXPECT_EQ(GetU32(RowAt(0), Row::Link), 0xFFFFFFFFu) << "a new row links to nothing";
    EXPECT_EQ(Num(RowAt(0), Row::FifoCost), BlankNum);
    PutDec(RowAt(0), Row::Quantity, Dec(2));
    CellText(0, Row::ItemCode, "ITEM1", ColItem);
    struct Want { double price, cost, sum, gp, total; const char *text; };
    auto check = [&](const Want &x) {
        const uint8_t *r = RowAt(0);
        EXPECT_EQ(GetU16(r, Row::Kind), 1);
        EXPECT_EQ(Text(r, Row::Text), x.text);
        EXPECT_EQ(Text(r, Row::VatCode), "1");
        EXPECT_EQ(Text(r, Row::SalesAcc), InvoiceCo::Sales);
        EXPECT_EQ(Text(r, Row::StructCode), "_");
        for (auto [got, want] : {std::pair{Num(r, Row::Price), x.price}, {Num(r, Row::UnitCost), x.cost},
                                 {Num(r, Row::Sum), x.sum}, {Num(r, Row::GrossProfit), x.gp},
                                 {Num(Inv(), IVVc::Total), x.total}})
            EXPECT_EQ(got, want);
    };
    check({100, 60, 200, 80, 250, "Blue widget"});
    // The user's own text and cost stay when the quantity changes.
    PutText(RowAt(0), Row::Text, 100, "Widgets, blue");
    PutDec(RowAt(0), Row::UnitCost, Dec(55));
    PutDec(RowAt(0), Row::Price, Dec(1));
    CellDec(0, Row::Quantity, 3, ColQty);
    check({100, 55, 300, 135, 375, "Widgets, blue"});
    // Prices that include VAT: the profit is taken from the sum without it.
    PutU16(Inv(), IVVc::InclVat, 1);
    CellDec(0, Row::Quantity, 4, ColQty);
    EXPECT_EQ(Num(RowAt(0), Row::GrossProfit), 400 / 1.25 - 4 * 55);
    PutU16(Inv(), IVVc::InclVat, 0);
    CellDec(0, Row::Quantity, 3, ColQty);

    // An unknown item beeps and leaves its row and the totals as they were.
    std::vector<uint8_t> before(RowAt(1), RowAt(1) + Row::Size);
    int beeps = PlBeepCount();
    CellText(1, Row::ItemCode, "NOSUCH", ColItem);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + Row::Quantity, RowAt(1) + Row::Quantity, Row::Size - Row::Quantity), 0);
    check({100, 55, 300, 135, 375, "Widgets, blue"});
}

TEST_F(InvoiceWindowTest, RowSumFollowsDiscountPriceUnitAndTheVatOverride)
{
    Customer("C1");
    struct Case { double discount, priceUnit, sum; };
    const Case cases[] = {
        {100, 0, 0}, {-100, 0, 800}, {101, 0, 400},   // -100..100 applied, beyond ignored
        {10, 0, 360}, {0, 4, 100}, {50, 2, 100},   // a zero price unit divides by nothing
    };
    Rows(2);
    PutDec(RowAt(0), Row::Quantity, Dec(4));
    CellText(0, Row::ItemCode, "ITEM1", ColItem);
    for (const Case &c : cases) {
        PutDec(RowAt(0), Row::PriceUnit, Dec(c.priceUnit));
        CellDec(0, Row::Discount, c.discount, ColDiscount);
        EXPECT_EQ(Num(RowAt(0), Row::Sum), c.sum) << c.discount << " / " << c.priceUnit;
    }
    // A priced row without an item takes the zone's VAT code and account.
    CellDec(1, Row::Price, 20, ColPrice);
    EXPECT_EQ(Text(RowAt(1), Row::VatCode), "1");
    EXPECT_EQ(Text(RowAt(1), Row::SalesAcc), InvoiceCo::Sales);
    EXPECT_EQ(Num(RowAt(1), Row::GrossProfit), 0);

    // The invoice's VAT code overrides the item's on every re-priced row.
    struct Override { const char *invoiceCode; int column; const char *want; };
    for (const Override &c : {Override{"2", ColQty, "2"}, Override{"2", ColItem, "2"}, Override{"", ColQty, "1"}}) {
        PutText(Inv(), IVVc::VatCode, 2, c.invoiceCode);
        PutText(RowAt(0), Row::VatCode, 2, "9");
        if (c.column == ColQty) {
            CellDec(0, Row::Quantity, 5, ColQty);
        } else {
            CellText(0, Row::ItemCode, "ITEM2", ColItem);
        }
        EXPECT_EQ(Text(RowAt(0), Row::VatCode), c.want) << c.invoiceCode << " " << c.column;
    }
}

TEST_F(InvoiceWindowTest, APostedInvoiceKeepsItsRowsAndAmountsButNotItsDueDate)
{
    Customer("C1");
    Rows(1);
    CellText(0, Row::ItemCode, "ITEM1", ColItem);
    int32_t row = 0;
    int16_t anyField = 1;
    auto mayEdit = [&](int F) { return WinFieldEditRules(w, F, WinRecState(w), 3, 0); };
    auto mayEditAt = [&](uint16_t offset) { return WindowEvent(w, 1, &anyField, &offset); };
    auto rowsOpen = [&](int want) {
        EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), want);
        EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), want);
        EXPECT_EQ(mayEdit(Cell(0, ColQty)), want);
    };
    int due = WinScreenFieldOfOffset(w, IVVc::PayDate), total = WinScreenFieldOfOffset(w, IVVc::Total),
        zone = WinScreenFieldOfOffset(w, IVVc::VatZone);
    ASSERT_NE(due, NoField);
    rowsOpen(1);
    // The VAT zone only in company variant 15.
    uint8_t company[CompanyBlk::Size] = {};
    CompanyVariantBind(company);
    EXPECT_EQ(mayEdit(zone), 0);
    PutU16(company, CompanyBlk::CompanyVariant, 15);
    EXPECT_EQ(mayEdit(zone), 1);
    CompanyVariantBind(CompanyBlock);

    // Shown posted (state 0): nothing may change.
    PutU16(Inv(), IVVc::Posted, 1);
    WinSetRecState(w, 0);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    EXPECT_EQ(mayEditAt(IVVc::PayDate), 0);

    // Stored posted and being changed (state 2): only the listed fields.
    std::memcpy(WinStoredRecord(w), Inv(), IVVc::Size);
    PutU32(WinStoredRecord(w), IVVc::Matrix, 0);   // the rows stay the shown record's
    WinSetRecState(w, 2);
    rowsOpen(0);
    EXPECT_EQ(mayEdit(total), 0);
    EXPECT_EQ(mayEdit(due), 1);
    EXPECT_EQ(mayEditAt(IVVc::PayDate), 1);
    EXPECT_EQ(mayEditAt(IVVc::Total), 0);
    EXPECT_EQ(WindowEvent(w, 1, &anyField, nullptr), 0) << "a control, such as the posted flag";
    // The stored copy decides.
    PutU16(WinStoredRecord(w), IVVc::Posted, 0);
    rowsOpen(1);
}

TEST_F(InvoiceWindowTest, DatesMoveTheDueDatePullTheTransactionDateBackAndTellALock)
{
    Customer("C1");
    struct Case { DateRec inv, trans, wantTrans, wantDue; };
    for (const Case &c : {Case{{5, 6, 2024}, {10, 6, 2024}, {5, 6, 2024}, {5, 7, 2024}},
                          Case{{20, 6, 2024}, {10, 6, 2024}, {10, 6, 2024}, {20, 7, 2024}}}) {
        PutDate(Inv(), IVVc::TransDate, c.trans);
        PutDate(Inv(), IVVc::InvDate, c.inv);
        Leave(FieldInvDate);
        DateRec t = GetDate(Inv(), IVVc::TransDate), d = GetDate(Inv(), IVVc::PayDate);
        EXPECT_EQ(std::memcmp(&t, &c.wantTrans, sizeof t), 0) << c.inv.day;
        EXPECT_EQ(std::memcmp(&d, &c.wantDue, sizeof d), 0) << c.inv.day;
    }
    EXPECT_TRUE(shown.empty());
    // Dates on or before the second lock date are told and stay as typed.
    std::vector<uint8_t> locks(DateLockBlk::Size);
    PutDate(locks.data(), DateLockBlk::SubLedgerLock2, DateRec{31, 5, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    struct Lock { int field; uint32_t at; DateRec date; bool told; };
    for (const Lock &c : {Lock{FieldInvDate, IVVc::InvDate, {31, 5, 2024}, true},
                          Lock{FieldTransDate, IVVc::TransDate, {20, 5, 2024}, true},
                          Lock{FieldTransDate, IVVc::TransDate, {1, 6, 2024}, false}}) {
        shown.clear();
        PutDate(Inv(), c.at, c.date);
        Leave(c.field);
        EXPECT_EQ(shown.size() == 1 && shown[0] == UiText(Texts::DateLockedSecondary), c.told) << c.date.day;
        DateRec kept = GetDate(Inv(), c.at);
        EXPECT_EQ(std::memcmp(&kept, &c.date, sizeof kept), 0);
    }
}

TEST_F(InvoiceWindowTest, TermsAndItemTextsAddRowsAndTheInfoWindowShowsTheSelectedRow)
{
    Customer("C1");
    StoreTerms("CR", 3, 0);
    int terms = WinScreenFieldOfOffset(w, IVVc::PayTerms);
    struct Case { const char *code, *after; int beeps, rows; };
    // An unknown code is replaced, with a beep; credit-note terms put a row
    // of kind 3 first.
    Rows(1);
    for (const Case &c : {Case{"ZZ", "30", 1, 1}, Case{"30", "30", 0, 1}, Case{"CR", "CR", 0, 2}}) {
        int beeps = PlBeepCount();
        PutText(Inv(), IVVc::PayTerms, 2, c.code);
        Leave(terms);
        EXPECT_EQ(Text(Inv(), IVVc::PayTerms), c.after) << c.code;
        EXPECT_EQ(PlBeepCount() - beeps, c.beeps) << c.code;
        EXPECT_EQ(WinMatrixRowCount(w), c.rows) << c.code;
    }
    EXPECT_EQ(GetU16(RowAt(0), Row::Kind), 3);

    // An item's further text lines follow its row as item rows, even past
    // the last row (without a language the item's name is the first line).
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "TEXTED");
        PutText(r, INVc::Name, 60, "Texted item");
        PutText(r, INVc::Group, 5, "G2");
        PutDec(r, INVc::BasePrice, Dec(10));
        for (const char *line : {"First line", "Second line"}) {
            uint8_t row[INVc::Rows::Size] = {};
            PutText(row, INVc::Rows::Text, 60, line);
            ASSERT_TRUE(MatrixRowPut(INVc::Number, 0, r, MatrixRowCount(INVc::Number, 0, r), row));
        }
    });
    PutDec(RowAt(1), Row::Quantity, Dec(2));
    CellText(1, Row::ItemCode, "TEXTED", ColItem);
    ASSERT_EQ(WinMatrixRowCount(w), 4);
    const char *lines[] = {"Texted item", "First line", "Second line"};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(Text(RowAt(1 + i), Row::Text), lines[i]);
        EXPECT_EQ(GetU16(RowAt(1 + i), Row::Kind), 1);
        EXPECT_EQ(GetU32(RowAt(1 + i), Row::Link), 0xFFFFFFFFu) << "text rows get a new row's defaults";
    }

    // Button 1 opens "ArtStatIClass" on the selected row; a row beyond the
    // rows empties it.
    CellText(1, Row::ItemCode, "ITEM1", ColItem);
    WinTable[w]->selectedMatrixRow = 1;
    int button = 1;
    EXPECT_EQ(WindowEvent(w, 23, &button, &button), 1);
    int info = WinFindByDef(WinTypes::ItemInfo);
    ASSERT_GT(info, 0);
    const uint8_t *shownRec = WinRecordBuffer(info);
    EXPECT_EQ(Text(shownRec, ItemInfoWin::ItemCode), "ITEM1");
    EXPECT_EQ(Num(shownRec, ItemInfoWin::GrossProfit), 80);
    EXPECT_EQ(Num(shownRec, ItemInfoWin::ProfitPct), 40);
    EXPECT_EQ(Num(shownRec, ItemInfoWin::Cost1), 100) << "ITEM1's stock at the main location";
    int16_t beyond = 9;
    EXPECT_EQ(WindowEvent(w, 30, &beyond, nullptr), 1);
    EXPECT_EQ(Text(shownRec, ItemInfoWin::ItemCode), "");
    EXPECT_EQ(Num(shownRec, ItemInfoWin::GrossProfit), BlankNum);
}

}  // namespace
