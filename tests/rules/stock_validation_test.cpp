// Tests of the checks of deliveries, stock movements, purchase orders,
// productions and register-56 records.
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "tests/rules/stock_fixture.h"

namespace {

class StockValidationTest : public StockFixture {
protected:
    void SetUp() override {
        StockFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreItem("BOLT");
        StoreItem("PUMP", {.serialMode = 1});
        StoreRecord(INVc::Number, [](uint8_t *r) { PutText(r, INVc::Code, 20, "KIT"); PutU16(r, INVc::StructFlag, 1); });
        StoreLocation("A");
        StoreLocation("B");
        StoreStock("BOLT", "A", 5);
        SerialStock("PUMP", "P1", "A", 1);
        AddSeriesRow(DeliverySeriesBlk::Number, 100, 199);
        AddSeriesRow(StockMoveSeriesBlk::Number, 500, 599);
        AddSeriesRow(PurchOrderSeriesBlk::Number, 700, 799);
        AddSeriesRow(ProdSeriesBlk::Number, 900, 999);
    }
    // The number of the text last shown, or 0 when none was. A text that
    // names what it is about (a row) is known by its beginning.
    static int LastText() {
        if (shown.empty()) return 0;
        for (int n : {1085, 1091, 1120, 1134, 1233, 1239, 1240, 1241, 1242, 1247, 1303, 1547, 1557, 1574, 1826}) {
            char text[256];
            GetUiTextC(text, n);
            if (shown.back() == text) return n;
        }
        for (int n : {16403}) {
            char text[256];
            GetUiTextC(text, n);
            if (text[0] != 0 && shown.back().rfind(text, 0) == 0) return n;
        }
        return -1;
    }
    template <typename Check>
    int Run(Check check) {
        shown.clear();
        int r = check();
        EXPECT_EQ(r != 0, LastText() != 0);
        return r == 0 ? 0 : LastText();
    }
};

// Delivery rows: each fault at its row and column, in the checks' order.
TEST_F(StockValidationTest, DeliveryRows) {
    MainLocation("A", 1);
    struct Case { const char *item; double left, deliver; const char *serial; uint16_t posted; int text; uint16_t column; };
    for (Case c : {Case{"BOLT", 1, 2, "", 0, 1303, SHVc::Rows::ToDeliver},
                   Case{"NUT", 2, 2, "", 0, 1233, SHVc::Rows::ItemCode},
                   Case{"BOLT", 9, 6, "", 1, 1247, SHVc::Rows::ToDeliver},
                   Case{"BOLT", 9, 6, "", 0, 0, 0},
                   Case{"PUMP", 1, 1, "", 0, 1239, SHVc::Rows::SerialNr},
                   Case{"PUMP", 1, 1, "P2", 0, 1240, SHVc::Rows::SerialNr},
                   Case{"PUMP", 2, 2, "P1", 0, 1240, SHVc::Rows::SerialNr},
                   Case{"PUMP", 1, 1, "P1", 0, 0, 0}}) {
        RuleRecord d(SHVc::Number);
        PutU32(d.record, SHVc::SerNr, 120);
        PutDate(d.record, SHVc::ShipDate, DateRec{14, 6, 2024});
        PutText(d.record, SHVc::Location, 10, "A");
        PutU16(d.record, SHVc::Shipped, c.posted);
        DeliveryRow(d.record, "BOLT", 1, 1);
        DeliveryRow(d.record, c.item, c.left, c.deliver, c.serial);
        EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), c.text) << c.item << c.deliver;
        if (c.text == 0) continue;
        EXPECT_EQ(FieldErrorPos.row, 1) << c.item;
        EXPECT_EQ(FieldErrorPos.column, c.column) << c.item;
    }
    SerialStock("PUMP", "P9", "A", 5);
    SerialStock("PUMP", "P8", "B", 1);
    RuleRecord d(SHVc::Number);
    PutU32(d.record, SHVc::SerNr, 120);
    PutDate(d.record, SHVc::ShipDate, DateRec{14, 6, 2024});
    PutText(d.record, SHVc::Location, 10, "A");
    DeliveryRow(d.record, "PUMP", 2, 2, "P9");
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 1242);
    RecFreeMatrix(SHVc::Number, d.record);
    DeliveryRow(d.record, "PUMP", 1, 1, "P8", "B");   // the row's own location holds it
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 0);
}

// Key, series and location of a delivery; a number is drawn for a new one,
// and a refused delivery gets back the number it came with.
TEST_F(StockValidationTest, DeliveryNumberKeyAndLocation) {
    StoreRecord(SHVc::Number, [](uint8_t *r) { PutU32(r, SHVc::SerNr, 120); PutDate(r, SHVc::ShipDate, DateRec{1, 6, 2024}); });
    RuleRecord d(SHVc::Number);
    PutDate(d.record, SHVc::ShipDate, DateRec{14, 6, 2024});
    PutU32(d.record, SHVc::SerNr, 120);
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 1547);
    EXPECT_EQ(FieldErrorPos.field, SHVc::SerNr);
    PutU32(d.record, SHVc::SerNr, 5);
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 1557);
    EXPECT_EQ(FieldErrorPos.field, SHVc::SerNr);
    // An update keeping its number is not tested against its own key.
    PutU32(d.record, SHVc::SerNr, 120);
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, d.record, 2); }), 0);

    PutU32(d.record, SHVc::SerNr, SerialNone);
    PutText(d.record, SHVc::Location, 10, "GONE");
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 1120);
    EXPECT_EQ(FieldErrorPos.field, SHVc::Location);
    EXPECT_EQ(GetU32(d.record, SHVc::SerNr), SerialNone);
    PutText(d.record, SHVc::Location, 10, "A");
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 0);
    EXPECT_EQ(GetU32(d.record, SHVc::SerNr), 121u);
}

// A delivery that posts now needs its voucher: without the accounts it is
// refused with 1085, its number restored and nothing pending; with them
// the voucher is pending. A delivery already posted builds none again.
TEST_F(StockValidationTest, DeliveryVoucherOnPosting) {
    StockVouchersOn();
    RuleRecord d(SHVc::Number), stored(SHVc::Number);
    PutU32(d.record, SHVc::SerNr, SerialNone);
    PutDate(d.record, SHVc::ShipDate, DateRec{14, 6, 2024});
    PutU16(d.record, SHVc::Shipped, 1);
    DeliveryRow(d.record, "BOLT", 1, 1);
    Receipt(1, DateRec{1, 2, 2024}, "BOLT", 5, 2, "A");
    PutText(d.record, SHVc::Location, 10, "A");
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 1085);
    EXPECT_EQ(GetU32(d.record, SHVc::SerNr), SerialNone);
    EXPECT_TRUE(PendingRows().empty());
    StockAccounts();
    AddFiscalYear(2, "2024", DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, nullptr, 1); }), 0);
    EXPECT_EQ(PendingRows().size(), 2u);
    PutU32(stored.record, SHVc::SerNr, GetU32(d.record, SHVc::SerNr));
    PutU16(stored.record, SHVc::Shipped, 1);
    EXPECT_EQ(Run([&] { return ValidateShipment(d.record, stored.record, 2); }), 0);
    EXPECT_TRUE(PendingRows().empty());
}

// Stock movements: locations, rows, and the number drawn is kept even
// when the movement is refused.
TEST_F(StockValidationTest, StockMovement) {
    struct Case { const char *from, *to, *item; double qty; const char *serial; int text; uint16_t field, column; };
    for (Case c : {Case{"X", "B", "BOLT", 1, "", 1120, StockMoveVc::FromLocation, 0},
                   Case{"A", "X", "BOLT", 1, "", 1120, StockMoveVc::ToLocation, 0},
                   Case{"A", "B", "NUT", 1, "", 1233, StockMoveVc::Matrix, StockMoveVc::Rows::ItemCode},
                   Case{"A", "B", "BOLT", -1, "", 1574, StockMoveVc::Matrix, StockMoveVc::Rows::Quantity},
                   Case{"A", "B", "PUMP", 1, "", 1239, StockMoveVc::Matrix, StockMoveVc::Rows::SerialNr},
                   Case{"B", "A", "PUMP", 1, "P1", 1240, StockMoveVc::Matrix, StockMoveVc::Rows::SerialNr},
                   Case{"A", "B", "PUMP", 1, "P1", 0, 0, 0}}) {
        RuleRecord m(StockMoveVc::Number);
        PutU32(m.record, StockMoveVc::SerNr, SerialNone);
        PutDate(m.record, StockMoveVc::MoveDate, DateRec{14, 6, 2024});
        PutText(m.record, StockMoveVc::FromLocation, 10, c.from);
        PutText(m.record, StockMoveVc::ToLocation, 10, c.to);
        uint8_t row[StockMoveVc::Rows::Size] = {};
        PutText(row, StockMoveVc::Rows::ItemCode, 20, c.item);
        PutDec(row, StockMoveVc::Rows::Quantity, Dec(c.qty));
        PutText(row, StockMoveVc::Rows::SerialNr, 30, c.serial);
        ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, m.record, 0, row));
        EXPECT_EQ(Run([&] { return ValidateStockMovement(m.record, nullptr, 1); }), c.text) << c.item;
        EXPECT_EQ(GetU32(m.record, StockMoveVc::SerNr), 500u) << c.item;
        if (c.text == 0) continue;
        EXPECT_EQ(FieldErrorPos.field, c.field) << c.item;
        if (c.column) {
            EXPECT_EQ(FieldErrorPos.column, c.column) << c.item;
        }
    }
}

// Purchase orders: items of kind-1 rows, VAT codes of rows with an amount
// (an item row without one takes its item's, as the window gives it; a
// row without an item is refused with its number); a refused order gets
// back its number.
TEST_F(StockValidationTest, PurchaseOrder) {
    StoreItem("WASHER", {.vatCode = "2"});
    AddVatCode("2", 12, -1, "2610", "2640");
    struct Case { uint16_t kind; const char *item; double sum; const char *vat; int text; uint16_t column; };
    for (Case c : {Case{1, "NUT", 0, "", 1120, PurchOrderVc::Rows::ItemCode},
                   Case{1, "KIT", 0, "", 1826, PurchOrderVc::Rows::ItemCode},
                   Case{0, "NUT", 0, "", 0, 0},
                   Case{1, "", 10, "", 16403, PurchOrderVc::Rows::VatCode},
                   Case{1, "BOLT", 10, "", 16403, PurchOrderVc::Rows::VatCode},
                   Case{1, "WASHER", 10, "", 0, 0},
                   Case{1, "BOLT", 10, "1", 0, 0}}) {
        RuleRecord o(PurchOrderVc::Number);
        PutU32(o.record, PurchOrderVc::SerNr, SerialNone);
        PutDate(o.record, PurchOrderVc::PODate, DateRec{14, 6, 2024});
        uint8_t row[PurchOrderVc::Rows::Size] = {};
        PutU16(row, PurchOrderVc::Rows::Kind, c.kind);
        PutText(row, PurchOrderVc::Rows::ItemCode, 20, c.item);
        PutDec(row, PurchOrderVc::Rows::Sum, Dec(c.sum));
        PutText(row, PurchOrderVc::Rows::VatCode, 2, c.vat);
        ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, o.record, 0, row));
        EXPECT_EQ(Run([&] { return ValidatePurchaseOrder(o.record, nullptr, 1); }), c.text) << c.item;
        EXPECT_EQ(GetU32(o.record, PurchOrderVc::SerNr), c.text ? SerialNone : 700u) << c.item;
        if (c.text) {
            EXPECT_EQ(FieldErrorPos.column, c.column) << c.item;
        }
        if (c.text == 16403) {
            EXPECT_EQ(shown.back().back(), '1') << "the row is named: " << shown.back();
        }
        if (c.text == 0 && c.sum != 0) {
            // The row is stored with the code its VAT was counted by.
            uint8_t stored[PurchOrderVc::Rows::Size];
            ASSERT_TRUE(MatrixRowRead(PurchOrderVc::Number, o.record, 0, stored));
            EXPECT_EQ(Text(stored, PurchOrderVc::Rows::VatCode), c.vat[0] ? c.vat : "2") << c.item;
            PackedDecimal vat = GetDec(o.record, PurchOrderVc::VatTotal);
            EXPECT_FALSE(DecIsBlank(&vat) || DecIsZero(&vat)) << c.item << ": the totals count the row's VAT";
        }
    }
}

// Productions: items, and the serial numbers of a finished production;
// register 56: the threshold may not exceed the minimum quantity.
TEST_F(StockValidationTest, ProductionAndPi1) {
    struct Case { uint16_t finished; const char *item, *serial; double used, made; int text; };
    for (Case c : {Case{0, "NUT", "", 1, 0, 1120}, Case{0, "PUMP", "", 1, 0, 0}, Case{1, "PUMP", "", 1, 0, 1239},
                   Case{1, "PUMP", "P2", 1, 0, 1240}, Case{1, "PUMP", "P1", 1, 0, 0},
                   Case{1, "PUMP", "P1", -99, 1, 1241}, Case{1, "PUMP", "P3", -99, 1, 0}}) {
        RuleRecord p(ProductionVc::Number);
        PutU32(p.record, ProductionVc::SerNr, SerialNone);
        PutDate(p.record, ProductionVc::ProdDate, DateRec{14, 6, 2024});
        PutU16(p.record, ProductionVc::Finished, c.finished);
        PutText(p.record, ProductionVc::Location, 10, "A");
        uint8_t row[ProductionVc::Rows::Size] = {};
        PutText(row, ProductionVc::Rows::ItemCode, 20, c.item);
        PutText(row, ProductionVc::Rows::SerialNr, 30, c.serial);
        if (c.used >= 0) PutDec(row, ProductionVc::Rows::QtyUsed, Dec(c.used));
        else DecSetBlank((PackedDecimal *)(row + ProductionVc::Rows::QtyUsed));
        PutDec(row, ProductionVc::Rows::QtyMade, Dec(c.made));
        ASSERT_TRUE(MatrixRowPut(ProductionVc::Number, 0, p.record, 0, row));
        EXPECT_EQ(Run([&] { return ValidateProduction(p.record, nullptr, 1); }), c.text) << c.item << c.serial;
        EXPECT_EQ(GetU32(p.record, ProductionVc::SerNr), c.text ? SerialNone : 900u) << c.item;
    }
    RuleRecord r(PurchItemVc::Number);
    PutDec(r.record, PurchItemVc::MinQty, Dec(10));
    PutDec(r.record, PurchItemVc::Threshold, Dec(10));
    EXPECT_EQ(Run([&] { return ValidatePi1(r.record); }), 0);
    PutDec(r.record, PurchItemVc::Threshold, Dec(10.5));
    EXPECT_EQ(Run([&] { return ValidatePi1(r.record); }), 1091);
    EXPECT_EQ(FieldErrorPos.field, PurchItemVc::Threshold);
}

}  // namespace
