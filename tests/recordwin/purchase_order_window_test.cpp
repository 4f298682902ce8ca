// purchase_order_window_test.cpp - the purchase-order window (290) driven
// as the framework drives it: fields left (event 6), the row questions
// and defaults (events 3, 4 and 9) and the totals, over the invoice
// company of invoice_fixture.h with a vendor and its terms for ITEM1.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "platform/display.h"
#include "recordwin/purchase_order_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
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
#include "tests/shell/shell_fixture.h"

namespace {

namespace PO = PurchOrderVc;
namespace Row = PurchOrderVc::Rows;

// The row cells' columns on the first column page.
constexpr int ColItem = 0, ColQty = 1, ColPriced = 3, ColPrice = 5, ColDiscount = 6, ColSum = 7, ColVat = 8,
              CellsPerRow = 9;

class PurchaseOrderWindowTest : public InvoiceFixture, public WindowDriver {
protected:
    using WindowDriver::Num;   // blank amounts read as BlankNum

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        StoreRecord(VEVc::Number, [&](uint8_t *r) {
            PutText(r, VEVc::Code, 20, "V1");
            PutText(r, VEVc::Name, 60, "Widget Works");
            PutText(r, VEVc::Addr1, 60, "Fabriksgatan 3");
            PutText(r, VEVc::PayTerms, 2, "30");
        });
        // V1 sells ITEM1 in boxes of 10 at 40 a box.
        StoreRecord(PurchItemVc::Number, [&](uint8_t *r) {
            PutText(r, PurchItemVc::ItemCode, 20, "ITEM1");
            PutText(r, PurchItemVc::VendCode, 20, "V1");
            PutText(r, PurchItemVc::VendItemCode, 20, "WW-100");
            PutText(r, PurchItemVc::Text, 60, "Widgets, box of 10");
            PutDec(r, PurchItemVc::Price, Dec(40));
            PutDec(r, PurchItemVc::PriceUnit, Dec(10));
        });
        StoreRecord(LocationVc::Number, [&](uint8_t *r) {
            PutText(r, LocationVc::Code, 10, "WH2");
            PutText(r, LocationVc::Addr0, 60, "North store");
            PutText(r, LocationVc::Addr1, 60, "Lagerv\xE4gen 1");
            PutText(r, LocationVc::Addr2, 60, "901 00 Ume\xE5");
            PutText(r, LocationVc::Addr3, 60, "Gate 4");
        });
        InvoiceFrameUp();
        shown.clear();
        w = OpenOrActivateWindow(WinTypes::PurchaseOrder, 0, 0, false, 0);
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
    void Vendor(const char *code)
    {
        PutText(Rec(), PO::VendCode, 20, code);
        LeaveField(PO::VendCode);
    }
    // A row of ITEM1 from V1 for `qty` pieces.
    void ItemRow(int row, double qty)
    {
        PutDec(R(row), Row::Quantity, Dec(qty));
        PutText(R(row), Row::ItemCode, 20, "ITEM1");
        Leave(Cell(row, ColItem));
    }
    void Type(int row, uint32_t at, int column, double v)
    {
        PutDec(R(row), at, Dec(v));
        Leave(Cell(row, column));
    }
    // The window shows a stored order being changed (state 2) whose
    // stored copy has rows of its own, copied from the shown ones.
    void StoredCopy()
    {
        WinSetRecState(w, 2);
        int32_t at = WinRecordHandleOffset(w);
        uint8_t *copy = WinStoredRecord(w);
        ASSERT_TRUE(copy && at >= 0);
        MemBlock old = GetU32(copy, uint32_t(at));
        if (MemIsValid(old)) MemFree(&old);
        std::memcpy(copy, Rec(), PO::Size);
        MemBlock rows = WinMatrixRows(w), own = MemAlloc(MemSize(rows));
        ASSERT_TRUE(own);
        std::memcpy(MemLock(own), MemLock(rows), MemSize(rows));
        MemUnlock(own);
        MemUnlock(rows);
        PutU32(copy, uint32_t(at), own);
    }
};

TEST_F(PurchaseOrderWindowTest, VendorAndLocationFillTheHeadAndUnknownCodesChangeNothing)
{
    Vendor("V1");
    EXPECT_EQ(Text(Rec(), PO::VendName), "Widget Works");
    EXPECT_EQ(Text(Rec(), PO::Addr1), "Fabriksgatan 3");
    EXPECT_EQ(Text(Rec(), PO::PayTerms), "30");
    // Left unchanged with its name in place, the vendor is not read again.
    PutText(Rec(), PO::VendName, 60, "Typed name");
    LeaveField(PO::VendCode, 0);
    EXPECT_EQ(Text(Rec(), PO::VendName), "Typed name");

    std::vector<uint8_t> before(Rec(), Rec() + PO::Size);
    int beeps = PlBeepCount();
    Vendor("NOBODY");
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data() + PO::VendName, Rec() + PO::VendName, PO::Size - PO::VendName), 0);
    // An emptied code is no unknown vendor.
    Vendor("");
    EXPECT_EQ(PlBeepCount(), beeps + 1);

    PutText(Rec(), PO::Location, 10, "WH2");
    LeaveField(PO::Location);
    EXPECT_EQ(Text(Rec(), PO::DelAddr0), "North store");
    EXPECT_EQ(Text(Rec(), PO::DelAddr1), "Lagerv\xE4gen 1");
    EXPECT_EQ(Text(Rec(), PO::DelAddr2), "901 00 Ume\xE5");
    EXPECT_EQ(Text(Rec(), PO::DelAddr3), "Gate 4");
    PutText(Rec(), PO::Location, 10, "NOWHERE");
    LeaveField(PO::Location);
    EXPECT_EQ(PlBeepCount(), beeps + 2);
    EXPECT_EQ(Text(Rec(), PO::DelAddr0), "North store");
}

TEST_F(PurchaseOrderWindowTest, TheDeliveryTextTakesTheFormOfTheSettingOrStaysAsTyped)
{
    struct Case {
        uint16_t form;
        const char *typed, *kept;
    };
    const Case cases[] = {{0, " 12 x", " 12 x"}, {2, "0042", "42"}, {3, "7 days", "7"}, {9, "abc", "abc"}};
    for (const Case &c : cases) {
        uint8_t block[ValueKindBlk::Size] = {};
        PutU16(block, ValueKindBlk::ValueKind, c.form);
        StoreBlock(ValueKindBlk::Number, block, ValueKindBlk::Size);
        ASSERT_NE(Block220, nullptr);
        PutText(Rec(), PO::DelivText, 10, c.typed);
        LeaveField(PO::DelivText);
        EXPECT_EQ(Text(Rec(), PO::DelivText), c.kept) << c.form;
        // Left unchanged, a text is not rewritten.
        PutText(Rec(), PO::DelivText, 10, c.typed);
        LeaveField(PO::DelivText, 0);
        EXPECT_EQ(Text(Rec(), PO::DelivText), c.typed) << c.form;
    }
}

TEST_F(PurchaseOrderWindowTest, ItemRowsTakeTheVendorsTermsAndTheQuantitiesFollowEachOther)
{
    Vendor("V1");
    Rows(2);
    ItemRow(0, 20);
    const uint8_t *r = R(0);
    EXPECT_EQ(GetU16(r, Row::Kind), 1) << "a typed row is an item row";
    EXPECT_EQ(Text(r, Row::VendItemCode), "WW-100");
    EXPECT_EQ(Text(r, Row::Text), "Widgets, box of 10");
    EXPECT_EQ(Text(r, Row::VatCode), "1");
    EXPECT_EQ(Num(r, Row::Price), 40);
    EXPECT_EQ(Num(r, Row::PriceUnit), 10);
    EXPECT_EQ(Num(r, Row::Quantity), 20);
    EXPECT_EQ(Num(r, Row::PricedQty), 2);
    EXPECT_EQ(Num(r, Row::Sum), 80);
    EXPECT_EQ(Num(Rec(), PO::NetTotal), 80);
    EXPECT_EQ(Num(Rec(), PO::Total), 100);

    Type(0, Row::Quantity, ColQty, 35);
    EXPECT_EQ(Num(R(0), Row::PricedQty), 3.5);
    EXPECT_EQ(Num(R(0), Row::Sum), 140);
    Type(0, Row::PricedQty, ColPriced, 5);
    EXPECT_EQ(Num(R(0), Row::Quantity), 50);
    EXPECT_EQ(Num(R(0), Row::Sum), 200);
    EXPECT_EQ(Num(Rec(), PO::NetTotal), 200);
    Type(0, Row::Discount, ColDiscount, 25);
    EXPECT_EQ(Num(R(0), Row::Sum), 150);
    Type(0, Row::Price, ColPrice, 20);
    EXPECT_EQ(Num(R(0), Row::Sum), 75);
    EXPECT_EQ(Num(Rec(), PO::NetTotal), 75);

    // A typed sum gives the discount it means over the priced quantity,
    // stays as typed and reaches the totals.
    Type(0, Row::Discount, ColDiscount, 0);
    Type(0, Row::Sum, ColSum, 90);
    EXPECT_EQ(Num(R(0), Row::Discount), 10);
    EXPECT_EQ(Num(R(0), Row::Sum), 90);
    EXPECT_EQ(Num(Rec(), PO::NetTotal), 90);
    // Without a priced quantity the discount stays, the sum too.
    PutDec(R(0), Row::PricedQty, Dec(0));
    Type(0, Row::Sum, ColSum, 70);
    EXPECT_EQ(Num(R(0), Row::Discount), 10);
    EXPECT_EQ(Num(R(0), Row::Sum), 70);
    EXPECT_EQ(Num(Rec(), PO::NetTotal), 70);
    // A VAT code of 0 % leaves the net and takes the VAT away.
    PutText(R(0), Row::VatCode, 2, "0");
    Leave(Cell(0, ColVat));
    EXPECT_EQ(Num(Rec(), PO::Total), 70);
}

TEST_F(PurchaseOrderWindowTest, AZeroOrBlankFactorCountsAsOneBothWaysAndABlankQuantityStaysBlank)
{
    Vendor("V1");
    Rows(1);
    ItemRow(0, 7);
    for (bool blank : {false, true}) {
        if (blank) {
            PackedDecimal b;
            DecSetBlank(&b);
            PutDec(R(0), Row::PriceUnit, b);
        } else {
            PutDec(R(0), Row::PriceUnit, Dec(0));
        }
        Type(0, Row::Quantity, ColQty, 7);
        EXPECT_EQ(Num(R(0), Row::PricedQty), 7) << blank;
        Type(0, Row::PricedQty, ColPriced, 4);
        EXPECT_EQ(Num(R(0), Row::Quantity), 4) << blank;
        EXPECT_EQ(Num(R(0), Row::Sum), 160) << blank;
    }
    uint8_t row[Row::Size] = {};
    PackedDecimal b;
    DecSetBlank(&b);
    PutDec(row, Row::Quantity, b);
    PutDec(row, Row::PricedQty, Dec(3));
    PurchaseOrderPricedFromQuantity(row);
    EXPECT_EQ(Num(row, Row::PricedQty), BlankNum);
    PurchaseOrderQuantityFromPriced(row);
    EXPECT_EQ(Num(row, Row::Quantity), BlankNum);
}

// An item the vendor has no terms for keeps the row as typed but for its
// VAT code, which the item gives (the code the order is stored with, so
// the totals count the VAT the order keeps); an unknown item beeps and
// leaves the row as it was.
TEST_F(PurchaseOrderWindowTest, AnItemWithoutTermsFromTheVendorTakesOnlyItsVatCode)
{
    Rows(1);
    // No vendor yet: nothing is known of ITEM1's terms.
    PutDec(R(0), Row::Quantity, Dec(3));
    PutText(R(0), Row::ItemCode, 20, "ITEM1");
    std::vector<uint8_t> before(R(0), R(0) + Row::Size);
    int beeps = PlBeepCount();
    Leave(Cell(0, ColItem));
    EXPECT_EQ(PlBeepCount(), beeps);
    EXPECT_EQ(Text(R(0), Row::VatCode), "1") << "the item's VAT code";
    EXPECT_EQ(GetU16(R(0), Row::Kind), 1) << "an item row";
    PutText(R(0), Row::VatCode, 2, "");
    PutU16(before.data(), Row::Kind, 1);
    EXPECT_EQ(std::memcmp(before.data(), R(0), Row::Size), 0) << "nothing else of the row changed";
    // ITEM2 has no terms from V1; a typed VAT code stays.
    Vendor("V1");
    PutText(R(0), Row::ItemCode, 20, "ITEM2");
    PutText(R(0), Row::VatCode, 2, "2");
    before.assign(R(0), R(0) + Row::Size);
    Leave(Cell(0, ColItem));
    EXPECT_EQ(PlBeepCount(), beeps);
    EXPECT_EQ(std::memcmp(before.data(), R(0), Row::Size), 0);
    // An item that is not in the item register beeps; the row stays.
    PutText(R(0), Row::ItemCode, 20, "NOSUCH");
    PutText(R(0), Row::VatCode, 2, "");
    before.assign(R(0), R(0) + Row::Size);
    Leave(Cell(0, ColItem));
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(std::memcmp(before.data(), R(0), Row::Size), 0);
    // An unchanged item with its description is not read again.
    ItemRow(0, 10);
    PutText(R(0), Row::Text, 100, "Own words");
    Leave(Cell(0, ColItem), 0);
    EXPECT_EQ(Text(R(0), Row::Text), "Own words");
}

TEST_F(PurchaseOrderWindowTest, StoredOrdersWithReceivedRowsOrConfirmedKeepTheirRows)
{
    Vendor("V1");
    Rows(2);
    ItemRow(0, 10);
    int16_t row = 0;
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1) << "a new order's rows may go";
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1);
    // Taken onto a purchase, the row counts as received.
    PutDec(R(1), Row::QtyOnPurchases, Dec(2));
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1) << "only a stored order keeps its rows";
    StoredCopy();
    shown.clear();
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0);
    EXPECT_TRUE(WasShown(Texts::OrderDelivered));
    EXPECT_EQ(WindowEvent(w, 9, &row, nullptr), 1) << "rows may still be added";
    // Nothing received, but confirmed when stored.
    PutDec(R(1), Row::QtyOnPurchases, Dec(0));
    StoredCopy();
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 1);
    PutU16(WinStoredRecord(w), PO::Confirmed, 1);
    shown.clear();
    EXPECT_EQ(WindowEvent(w, 4, &row, nullptr), 0);
    EXPECT_TRUE(WasShown(Texts::OrderDelivered));

    // A new row: no discount, nothing received or on purchases.
    MemBlock h = WinMatrixRows(w);
    uint8_t *rows = MemLock(h);
    PutDec(rows + Row::Size, Row::Discount, Dec(5));
    PutDec(rows + Row::Size, Row::QtyOnPurchases, Dec(5));
    PutText(rows + Row::Size, Row::Objects, 30, "OBJ");
    int16_t second = 1;
    EXPECT_EQ(WindowEvent(w, 3, rows, &second), 1);
    EXPECT_EQ(Num(rows + Row::Size, Row::Discount), BlankNum);
    EXPECT_EQ(Num(rows + Row::Size, Row::QtyOnPurchases), BlankNum);
    EXPECT_EQ(Num(rows + Row::Size, Row::QtyReceived), BlankNum);
    EXPECT_EQ(Text(rows + Row::Size, Row::Objects), "");
    // A row past the rows is no row to default.
    int16_t past = 2;
    EXPECT_EQ(WindowEvent(w, 3, rows, &past), 1);
    MemUnlock(h);
}

TEST_F(PurchaseOrderWindowTest, AChosenVatZoneRecomputesTheTotalsAndLaterEventsAreNotItsOwn)
{
    Vendor("V1");
    Rows(1);
    ItemRow(0, 20);
    EXPECT_EQ(Num(Rec(), PO::Total), 100);
    PutU16(Rec(), PO::VatZone, 2);
    uint16_t id = PO::VatZone;
    EXPECT_EQ(WindowEvent(w, 2, &id, nullptr), 1);
    EXPECT_EQ(Num(Rec(), PO::Total), 80) << "an order from abroad carries no VAT";
    // Event 30 (a row about to change) is past the handler's events.
    PutDec(Rec(), PO::Total, Dec(1));
    int16_t row = 0;
    EXPECT_EQ(WindowEvent(w, 30, &row, nullptr), 1);
    EXPECT_EQ(Num(Rec(), PO::Total), 1);
}

TEST_F(PurchaseOrderWindowTest, QuotationOrderAndPurchaseOrderRulesReadTheirOwnRegisters)
{
    EXPECT_TRUE(WinRulesApply(w));
    for (int type : {WinTypes::Quotation, WinTypes::Order}) {
        int n = OpenOrActivateWindow(type, 0, 0, false, 0);
        ASSERT_GT(n, 0) << type;
        EXPECT_TRUE(WinRulesApply(n)) << type;
    }
}

class RulesRegisterTest : public ShellFixture {};

// Laid out without their registers, the types' rules stay away from the
// record.
TEST_F(RulesRegisterTest, TypesLaidOutWithoutTheirRegistersAreNotTheirRulesBusiness)
{
    UseDict("wintype 272 { kind record }\nwintype 290 { kind record }\nwintype 352 { kind record }\n");
    for (int type : {272, 290, 352}) {
        int n = WinSlotAlloc();
        ASSERT_NE(n, WinTableFull);
        WinTable[n]->windowType = uint16_t(type);
        std::array<uint8_t, 16> shown{};
        WinTable[n]->record = shown.data();
        EXPECT_FALSE(WinRulesApply(n)) << type;
        WinTable[n]->record = nullptr;
        WinTableInit();
    }
}

}  // namespace
