// invoice_window_test.cpp - the sales-invoice window (type 347) driven as
// the framework drives it: fields left (event 6), edit questions (events
// 1, 4, 9), new rows (event 3) and the item-information button, over the
// invoice company of invoice_fixture.h in a headless frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "operations/sales_invoice.h"
#include "platform/display.h"
#include "platform/script.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/operations/invoice_fixture.h"

namespace {

namespace Row = IVVc::Rows;

// Screen fields of window 347: the customer, the dates, and the first row
// cell; a row has seven cells (kind, item, quantity, text, price,
// discount, sum on the item page).
constexpr int FieldCustomer = 2, FieldInvDate = 4, FieldTransDate = 5, FirstCell = 28, CellsPerRow = 7;
constexpr int ColItem = 1, ColQty = 2, ColPrice = 4, ColDiscount = 5;

class InvoiceWindowTest : public InvoiceFixture {
protected:
    int w = 0;

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        std::string error;
        ASSERT_TRUE(DisplayOpen(PlDisplayKind::Headless, &error)) << error;
        WinTableInit();
        WinResetAll();
        ScriptReset();
        if (!WinClassExists("m4frame")) {
            ASSERT_TRUE(RegisterWindowClasses());
        }
        ToolbarMetricsInit();
        MenuBarBuild();
        FrameWindow = WinCreate("m4frame", "Orvel", PlStyle::OverlappedWindow | PlStyle::ClipChildren | PlStyle::Visible,
                                PlRect{0, 0, 1000, 740}, 0, 0, 0);
        ASSERT_NE(FrameWindow, 0u);
        w = OpenOrActivateWindow(WinTypes::SalesInvoice, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        uint8_t *inv = Inv();
        PutDate(inv, IVVc::InvDate, DateRec{10, 6, 2024});
        PutDate(inv, IVVc::TransDate, DateRec{10, 6, 2024});
        WinSetRecState(w, 1);
        shown.clear();
    }
    void TearDown() override
    {
        WinTableInit();
        WinResetAll();
        FrameWindow = MdiClientWindow = TopBarWindow = BottomBarWindow = 0;
        ScriptReset();
        InvoiceFixture::TearDown();
    }

    uint8_t *Inv() { return WinRecordBuffer(w); }
    // Leaves screen field F as the framework does after a commit.
    void Leave(int F, uint8_t changed = 1)
    {
        int16_t field = int16_t(F);
        EXPECT_EQ(WindowEvent(w, 6, &field, &changed), 1);
    }
    static int Cell(int row, int column) { return FirstCell + row * CellsPerRow + column; }
    // Gives the window `n` empty rows, as the framework clears new rows.
    void Rows(int n)
    {
        ASSERT_TRUE(MatrixResize(w, n));
        MatrixRowsClear(w, 1, 0, n - 1);
    }
    uint8_t *RowAt(int row)
    {
        MemBlock h = WinMatrixRows(w);
        uint8_t *p = MemLock(h);
        MemUnlock(h);   // the window's rows stay put while the test reads them
        return p + uint32_t(row) * Row::Size;
    }
    // Types a value into a row cell and leaves it.
    void PutCellText(int row, uint32_t at, int max, const char *text, int column)
    {
        PutText(RowAt(row), at, max, text);
        Leave(Cell(row, column));
    }
    void PutCellDec(int row, uint32_t at, double value, int column)
    {
        PutDec(RowAt(row), at, Dec(value));
        Leave(Cell(row, column));
    }
    static std::string Text(const uint8_t *base, uint32_t at, int max)
    {
        uint8_t s[256];
        GetPString(base, at, max, s);
        return std::string(reinterpret_cast<char *>(s + 1), s[0]);
    }
    static double Num(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        return DecToDouble(&d);
    }
    static bool Blank(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d);
    }
    void Customer(const char *code)
    {
        PutText(Inv(), IVVc::CustCode, 20, code);
        Leave(FieldCustomer);
    }
};

TEST_F(InvoiceWindowTest, CustomerFillsTheInvoiceAndAnUnknownOneChangesNothing)
{
    Customer("C2");
    const uint8_t *inv = Inv();
    EXPECT_EQ(Text(inv, IVVc::Addr0, 60), "Euro Customer");
    EXPECT_EQ(Text(inv, IVVc::Addr1, 60), "Kundvägen 2");
    EXPECT_EQ(Text(inv, IVVc::PayTerms, 2), "30");
    EXPECT_EQ(Text(inv, IVVc::CurncyCode, 5), "EUR");
    EXPECT_EQ(GetU16(inv, IVVc::VatZone), 1);
    EXPECT_DOUBLE_EQ(Num(inv, IVVc::Rate), 1125);
    DateRec due = GetDate(inv, IVVc::PayDate);
    EXPECT_EQ(due.day, 10);
    EXPECT_EQ(due.month, 7);
    // No freight item in block 186: the freight fields stay empty.
    EXPECT_TRUE(Blank(inv, IVVc::Freight));
    EXPECT_EQ(Text(inv, IVVc::FreightItem, 20), "");

    std::vector<uint8_t> before(Inv(), Inv() + IVVc::Size);
    int beeps = PlBeepCount();
    Customer("NOBODY");
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + 22, Inv() + 22, IVVc::Size - 22), 0) << "only the typed code differs";
}

TEST_F(InvoiceWindowTest, CustomerFillWarnsOfCreditKeepsACreditNotesTermsAndTakesFreight)
{
    // C3's limit is 100; an open item of 150 passes it, C1's limit not.
    StoreRecord(ARVc::Number, [&](uint8_t *r) {
        PutI32(r, ARVc::InvoiceNr, 900);
        PutDec(r, ARVc::OpenAmount, Dec(150));
        PutText(r, ARVc::CustCode, 20, "C3");
    });
    std::vector<uint8_t> freight(FreightBlk::Size);
    PutText(freight.data(), FreightBlk::FreightItem, 20, "SERVICE");
    PutDec(freight.data(), FreightBlk::FreightPct, Dec(10));
    StoreBlock(FreightBlk::Number, freight.data(), FreightBlk::Size);
    char text[256];
    GetUiTextC(text, Texts::CreditLimitExceeded);
    const std::string warning = text;
    struct Case {
        const char *customer;
        bool warned;
    };
    for (const Case &c : {Case{"C3", true}, Case{"C1", false}}) {
        shown.clear();
        PutText(Inv(), IVVc::Addr0, 60, "");
        Customer(c.customer);
        bool warned = std::find(shown.begin(), shown.end(), warning) != shown.end();
        EXPECT_EQ(warned, c.warned) << c.customer;
    }
    EXPECT_EQ(Text(Inv(), IVVc::FreightItem, 20), "SERVICE");
    EXPECT_EQ(Text(Inv(), IVVc::FreightVat, 2), "2");
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::FreightHome), 700);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::FreightPctAmt), 70);

    // Freight typed in the invoice's currency (EUR at 1125) is converted to
    // home currency, its percentage share taken and the totals follow.
    Customer("C2");
    int freightField = WinScreenFieldOfOffset(w, IVVc::Freight);
    ASSERT_NE(freightField, NoField);
    PutDec(Inv(), IVVc::Freight, Dec(100));
    Leave(freightField);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::FreightHome), 1125);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::FreightPctAmt), 112.5);

    // A credit note (first row of kind 3) keeps the terms it has.
    Rows(1);
    PutU16(RowAt(0), Row::Kind, 3);
    PutText(Inv(), IVVc::PayTerms, 2, "K");
    Customer("C2");
    EXPECT_EQ(Text(Inv(), IVVc::PayTerms, 2), "K");
    EXPECT_EQ(Text(Inv(), IVVc::Addr0, 60), "Euro Customer");
}

TEST_F(InvoiceWindowTest, ItemFillsItsRowAndAQuantityRepricesKeepingTextAndCost)
{
    Customer("C1");
    Rows(2);
    EXPECT_EQ(GetU32(RowAt(0), Row::Link), 0xFFFFFFFFu) << "a new row links to nothing";
    EXPECT_TRUE(Blank(RowAt(0), Row::FifoCost));
    PutDec(RowAt(0), Row::Quantity, Dec(2));
    PutCellText(0, Row::ItemCode, 20, "ITEM1", ColItem);
    const uint8_t *r = RowAt(0);
    EXPECT_EQ(Text(r, Row::Text, 100), "Blue widget");
    EXPECT_DOUBLE_EQ(Num(r, Row::Price), 100);
    EXPECT_EQ(Text(r, Row::VatCode, 2), "1");
    EXPECT_EQ(Text(r, Row::SalesAcc, 10), InvoiceCo::Sales);
    EXPECT_DOUBLE_EQ(Num(r, Row::UnitCost), 60);
    EXPECT_EQ(Text(r, Row::StructCode, 20), "_");
    EXPECT_DOUBLE_EQ(Num(r, Row::Sum), 200);
    EXPECT_DOUBLE_EQ(Num(r, Row::GrossProfit), 80);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::Net), 200);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::Vat), 50);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::Total), 250);

    // The user's own text and cost stay when the quantity changes.
    PutText(RowAt(0), Row::Text, 100, "Widgets, blue");
    PutDec(RowAt(0), Row::UnitCost, Dec(55));
    PutDec(RowAt(0), Row::Price, Dec(1));
    PutCellDec(0, Row::Quantity, 3, ColQty);
    r = RowAt(0);
    EXPECT_EQ(Text(r, Row::Text, 100), "Widgets, blue");
    EXPECT_DOUBLE_EQ(Num(r, Row::UnitCost), 55);
    EXPECT_DOUBLE_EQ(Num(r, Row::Price), 100);
    EXPECT_DOUBLE_EQ(Num(r, Row::Sum), 300);
    EXPECT_DOUBLE_EQ(Num(r, Row::GrossProfit), 135);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::Total), 375);

    // An unknown item beeps and leaves the row as it was.
    std::vector<uint8_t> before(RowAt(1), RowAt(1) + Row::Size);
    int beeps = PlBeepCount();
    PutCellText(1, Row::ItemCode, 20, "NOSUCH", ColItem);
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + Row::Quantity, RowAt(1) + Row::Quantity, Row::Size - Row::Quantity), 0);
    EXPECT_DOUBLE_EQ(Num(Inv(), IVVc::Total), 375);
}

TEST_F(InvoiceWindowTest, TermsAndItemTextsAddRows)
{
    Customer("C1");
    StoreTerms("CR", 3, 0);
    int terms = WinScreenFieldOfOffset(w, IVVc::PayTerms);
    ASSERT_NE(terms, NoField);
    struct Case {
        const char *code, *after;
        bool beep;
        int rows;
    };
    // An unknown code is replaced (with a beep); credit-note terms put a
    // row of kind 3 first.
    Rows(1);
    for (const Case &c : {Case{"ZZ", "30", true, 1}, Case{"30", "30", false, 1}, Case{"CR", "CR", false, 2}}) {
        int beeps = PlBeepCount();
        PutText(Inv(), IVVc::PayTerms, 2, c.code);
        Leave(terms);
        EXPECT_EQ(Text(Inv(), IVVc::PayTerms, 2), c.after) << c.code;
        EXPECT_EQ(PlBeepCount() - beeps, c.beep ? 1 : 0) << c.code;
        EXPECT_EQ(WinMatrixRowCount(w), c.rows) << c.code;
    }
    EXPECT_EQ(GetU16(RowAt(0), Row::Kind), 3);

    // An item's further text lines follow its row as item rows, even after
    // the last row (without a language the name is the first line).
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "TEXTED");
        PutText(r, INVc::Name, 60, "Texted item");
        PutText(r, INVc::Group, 5, "G2");
        PutDec(r, INVc::BasePrice, Dec(10));
        for (const char *line : {"First line", "Second line", "Third line"}) {
            uint8_t row[INVc::Rows::Size] = {};
            PutText(row, INVc::Rows::Text, 60, line);
            ASSERT_TRUE(MatrixRowPut(INVc::Number, 0, r, MatrixRowCount(INVc::Number, 0, r), row));
        }
    });
    PutDec(RowAt(1), Row::Quantity, Dec(1));
    PutCellText(1, Row::ItemCode, 20, "TEXTED", ColItem);
    ASSERT_EQ(WinMatrixRowCount(w), 5);
    EXPECT_EQ(Text(RowAt(1), Row::Text, 100), "Texted item");
    const char *lines[] = {"First line", "Second line", "Third line"};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(Text(RowAt(2 + i), Row::Text, 100), lines[i]);
        EXPECT_EQ(GetU16(RowAt(2 + i), Row::Kind), 1);
        EXPECT_EQ(GetU32(RowAt(2 + i), Row::Link), 0xFFFFFFFFu) << "text rows get a new row's defaults";
    }
}

TEST_F(InvoiceWindowTest, RowSumFollowsDiscountPriceUnitAndTheVatOverride)
{
    Customer("C1");
    struct Case {
        double discount, priceUnit, sum;
    };
    const Case cases[] = {
        {100, 0, 0},      // a discount of exactly 100 is applied
        {-100, 0, 800},   // and so is -100
        {101, 0, 400},    // one outside -100..100 is ignored
        {10, 0, 360},
        {0, 0, 400},      // a zero price unit divides by nothing
        {0, 4, 100},
        {50, 2, 100},
    };
    Rows(2);
    PutDec(RowAt(0), Row::Quantity, Dec(4));
    PutCellText(0, Row::ItemCode, 20, "ITEM1", ColItem);
    for (const Case &c : cases) {
        PutDec(RowAt(0), Row::PriceUnit, Dec(c.priceUnit));
        PutCellDec(0, Row::Discount, c.discount, ColDiscount);
        EXPECT_DOUBLE_EQ(Num(RowAt(0), Row::Sum), c.sum) << c.discount << " / " << c.priceUnit;
    }
    // A priced row without an item takes the zone's VAT code and account,
    // and has no gross profit.
    PutCellDec(1, Row::Price, 20, ColPrice);
    EXPECT_EQ(Text(RowAt(1), Row::VatCode, 2), "1");
    EXPECT_EQ(Text(RowAt(1), Row::SalesAcc, 10), InvoiceCo::Sales);

    // The invoice's VAT code overrides the item's on every re-priced row.
    PutText(Inv(), IVVc::VatCode, 2, "2");
    PutCellDec(0, Row::Quantity, 5, ColQty);
    EXPECT_EQ(Text(RowAt(0), Row::VatCode, 2), "2");
    PutCellText(0, Row::ItemCode, 20, "ITEM2", ColItem);
    EXPECT_EQ(Text(RowAt(0), Row::VatCode, 2), "2");
    PutText(Inv(), IVVc::VatCode, 2, "");
    PutCellDec(0, Row::Quantity, 6, ColQty);
    EXPECT_EQ(Text(RowAt(0), Row::VatCode, 2), "1");
}

TEST_F(InvoiceWindowTest, APostedInvoiceKeepsItsRowsAndAmountsButNotItsDueDate)
{
    Customer("C1");
    Rows(1);
    PutCellText(0, Row::ItemCode, 20, "ITEM1", ColItem);
    int32_t row = 0;
    int16_t cellField = int16_t(Cell(0, ColQty));
    auto mayEdit = [&](int F) { return WinFieldEditRules(w, F, WinRecState(w), 3, 0); };
    auto mayEditOffset = [&](uint16_t offset) { return WindowEvent(w, 1, &cellField, &offset); };
    int due = WinScreenFieldOfOffset(w, IVVc::PayDate), total = WinScreenFieldOfOffset(w, IVVc::Total),
        zone = WinScreenFieldOfOffset(w, IVVc::VatZone);
    ASSERT_NE(due, NoField);

    // A new, unposted invoice: rows and fields may change; the zone only
    // in company variant 15.
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1);
    EXPECT_EQ(mayEdit(Cell(0, ColQty)), 1);
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
    EXPECT_EQ(mayEditOffset(IVVc::PayDate), 0);

    // Stored posted and being changed (state 2): only the listed fields.
    std::memcpy(WinStoredRecord(w), Inv(), IVVc::Size);
    PutU32(WinStoredRecord(w), IVVc::Matrix, 0);   // the rows stay the shown record's
    WinSetRecState(w, 2);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 0);
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0);
    EXPECT_EQ(mayEdit(Cell(0, ColQty)), 0);
    EXPECT_EQ(mayEdit(total), 0);
    EXPECT_EQ(mayEdit(due), 1);
    EXPECT_EQ(mayEditOffset(IVVc::PayDate), 1);
    EXPECT_EQ(mayEditOffset(IVVc::Total), 0);
    uint16_t postedControl = IVVc::Posted;
    EXPECT_EQ(WindowEvent(w, 1, &cellField, nullptr), 0) << "a control of a posted invoice";
    EXPECT_EQ(mayEditOffset(postedControl), 0);

    // The stored copy decides: unposting it in memory opens the rows again.
    PutU16(WinStoredRecord(w), IVVc::Posted, 0);
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    EXPECT_EQ(mayEdit(Cell(0, ColQty)), 1);
}

TEST_F(InvoiceWindowTest, InvoiceDateMovesDueDateAndPullsTheTransactionDateBack)
{
    Customer("C1");
    struct Case {
        DateRec inv, trans, wantTrans, wantDue;
    };
    const Case cases[] = {
        {{5, 6, 2024}, {10, 6, 2024}, {5, 6, 2024}, {5, 7, 2024}},      // earlier: pulled back
        {{20, 6, 2024}, {10, 6, 2024}, {10, 6, 2024}, {20, 7, 2024}},   // later: left
    };
    for (const Case &c : cases) {
        PutDate(Inv(), IVVc::TransDate, c.trans);
        PutDate(Inv(), IVVc::InvDate, c.inv);
        Leave(FieldInvDate);
        DateRec t = GetDate(Inv(), IVVc::TransDate), d = GetDate(Inv(), IVVc::PayDate);
        EXPECT_EQ(std::memcmp(&t, &c.wantTrans, sizeof t), 0) << c.inv.day;
        EXPECT_EQ(std::memcmp(&d, &c.wantDue, sizeof d), 0) << c.inv.day;
    }
    EXPECT_TRUE(shown.empty());

    // Dates on or before the invoices' second lock date are told (1045)
    // and stay as typed.
    std::vector<uint8_t> locks(DateLockBlk::Size);
    PutDate(locks.data(), DateLockBlk::SubLedgerLock2, DateRec{31, 5, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    char text[256];
    GetUiTextC(text, Texts::DateLockedSecondary);
    struct Lock {
        int field;
        uint32_t at;
        DateRec date;
        bool told;
    };
    for (const Lock &c : {Lock{FieldInvDate, IVVc::InvDate, {31, 5, 2024}, true},
                          Lock{FieldTransDate, IVVc::TransDate, {20, 5, 2024}, true},
                          Lock{FieldInvDate, IVVc::InvDate, {1, 6, 2024}, false},
                          Lock{FieldTransDate, IVVc::TransDate, {1, 6, 2024}, false}}) {
        shown.clear();
        PutDate(Inv(), c.at, c.date);
        Leave(c.field);
        EXPECT_EQ(shown.size() == 1 && shown[0] == text, c.told) << c.date.day << "." << c.date.month;
        DateRec kept = GetDate(Inv(), c.at);
        EXPECT_EQ(std::memcmp(&kept, &c.date, sizeof kept), 0);
    }
}

TEST_F(InvoiceWindowTest, ItemInfoButtonShowsTheSelectedRow)
{
    Customer("C1");
    Rows(1);
    PutDec(RowAt(0), Row::Quantity, Dec(2));
    PutCellText(0, Row::ItemCode, 20, "ITEM1", ColItem);
    WinTable[w]->selectedMatrixRow = 0;
    int button = 1;
    EXPECT_EQ(WindowEvent(w, 23, &button, &button), 1);
    int info = WinFindByDef(WinTypes::ItemInfo);
    ASSERT_GT(info, 0);
    const uint8_t *shownRec = WinRecordBuffer(info);
    EXPECT_EQ(Text(shownRec, ItemInfoWin::ItemCode, 20), "ITEM1");
    EXPECT_DOUBLE_EQ(Num(shownRec, ItemInfoWin::GrossProfit), 80);
    EXPECT_DOUBLE_EQ(Num(shownRec, ItemInfoWin::ProfitPct), 40);
    EXPECT_DOUBLE_EQ(Num(shownRec, ItemInfoWin::Cost1), 100) << "ITEM1's stock at the main location";
    // A row beyond the rows empties it.
    int16_t beyond = 5;
    EXPECT_EQ(WindowEvent(w, 30, &beyond, nullptr), 1);
    EXPECT_EQ(Text(shownRec, ItemInfoWin::ItemCode, 20), "");
    EXPECT_TRUE(Blank(shownRec, ItemInfoWin::GrossProfit));
}

class GrossProfitMath : public InvoiceFixture {};

TEST_F(GrossProfitMath, NetOfTaxAndPercentOf)
{
    StoreCompanyBlocks();
    struct Net {
        const char *vat;
        double amount;
        uint16_t withTax;
        double net;
    };
    // VAT code 1 is 25 %, 2 is 12 %, 0 is 0 %.
    for (const Net &c : {Net{"1", 125, 1, 100}, Net{"1", 125, 0, 125}, Net{"2", 112, 1, 100}, Net{"0", 50, 1, 50},
                         Net{"1", -125, 1, -100}}) {
        PackedDecimal amount = Dec(c.amount), net;
        uint8_t code[256];
        code[0] = uint8_t(std::strlen(c.vat));
        std::memcpy(code + 1, c.vat, code[0]);
        NetOfTax(code, &amount, c.withTax, &net);
        EXPECT_DOUBLE_EQ(DecToDouble(&net), c.net) << c.vat << " " << c.amount << " " << c.withTax;
    }
    struct Pct {
        double base, part;
        bool blank;
        double pct;
    };
    for (const Pct &c : {Pct{200, 80, false, 40}, Pct{0, 80, true, 0}, Pct{-50, 10, false, -20}, Pct{3, 1, false, 33.33}}) {
        PackedDecimal base = Dec(c.base), part = Dec(c.part), r;
        PercentOf(&base, &part, &r);
        EXPECT_EQ(DecIsBlank(&r), c.blank) << c.base;
        if (!c.blank) {
            EXPECT_DOUBLE_EQ(DecToDouble(&r), c.pct) << c.base;
        }
    }
    PackedDecimal blank, part = Dec(5), r;
    DecSetBlank(&blank);
    PercentOf(&blank, &part, &r);
    EXPECT_TRUE(DecIsBlank(&r)) << "a blank base gives a blank percentage";
}

}  // namespace
