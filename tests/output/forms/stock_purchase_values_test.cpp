// stock_purchase_values_test.cpp - the stock movement, purchase,
// purchase label and reminder documents' values: a 45-row movement's
// second page, its totals the same on every row, its two locations (an
// empty code taking the main location), the purchase's vendor lines and
// mark-up, a label printing its own row, and a reminder's level texts.
#include "tests/operations/invoice_fixture.h"

#include <string>
#include <vector>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "output/forms/forms.h"

namespace {

std::string S(const uint8_t *p) { return PStringToStd(p); }

class StockPurchaseValues : public InvoiceCompanyFixture {
protected:
    std::vector<uint8_t> rec;
    int16_t doctype = 0;
    bool loaded = false;

    void TearDown() override {
        if (loaded) DocUnload(doctype);
        FormDocRecord = nullptr;
        FormLastPage = false;
        InvoiceCompanyFixture::TearDown();
    }
    void Load(int16_t type, const uint8_t *record) {
        doctype = type;
        FormDocRecord = record;
        uint8_t title[256];
        ASSERT_TRUE(DocLoad(type, title));
        loaded = true;
    }
    std::string Value(int16_t code, int16_t row = 0) {
        uint8_t field[256], out[256];
        PStringFromC(field, " A own");
        DocFieldValue(doctype, field, code, row, out, FormDefBuffer);
        return S(out);
    }
    static std::string Amount(double x, uint16_t type = FtAmount2) {
        PackedDecimal d = Dec(x);
        uint8_t out[256];
        FieldToText((const uint8_t *)&d, type, out);
        return S(out);
    }
};

TEST_F(StockPurchaseValues, StockMovementPagesTotalsAndLocations) {
    StoreRecord(LocationVc::Number, [&](uint8_t *r) {
        PutText(r, LocationVc::Code, 10, "NORTH");
        PutText(r, LocationVc::Addr0, 60, "North store");
        PutText(r, LocationVc::Addr1, 60, "Hill 3");
    });
    StoreRecord(LocationVc::Number, [&](uint8_t *r) {
        PutText(r, LocationVc::Code, 10, InvoiceCo::Location);
        PutText(r, LocationVc::Addr0, 60, "Main store");
    });
    rec.assign(StockMoveVc::Size, 0);
    PutI32(rec.data(), StockMoveVc::SerNr, 31);
    PutText(rec.data(), StockMoveVc::FromLocation, 10, "NORTH");   // the to-location is empty: the main one
    for (int i = 0; i < 45; i++) {
        uint8_t row[StockMoveVc::Rows::Size] = {};
        PutText(row, StockMoveVc::Rows::ItemCode, 20, i % 2 ? "ITEM2" : "ITEM1");
        PutDec(row, StockMoveVc::Rows::Quantity, Dec(1));
        PutDec(row, StockMoveVc::Rows::UnitCost, Dec(2));
        ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, rec.data(), i, row));
    }
    ASSERT_NO_FATAL_FAILURE(Load(-20, rec.data()));
    EXPECT_EQ(FormRowCount, 45);
    FormRowsPerPage = 20;
    FormFirstRow = 20;
    for (int16_t code : {8, 13, 185, 188}) {
        int16_t first = 0, last = 0;
        DocFieldRowRange(-20, code, &first, &last);
        EXPECT_EQ(first, 20) << code;
        EXPECT_EQ(last, 39) << code;
    }
    int16_t first = 0, last = 0;
    DocFieldRowRange(-20, 183, &first, &last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 3);
    EXPECT_EQ(Value(8, 21), "ITEM2");
    EXPECT_EQ(Value(8, 45), "");
    EXPECT_EQ(Value(188, 3), Amount(2));
    // 23 x ITEM1 at 100 and 22 x ITEM2 at 50.
    EXPECT_EQ(Value(203, 0), Amount(90));
    EXPECT_EQ(Value(203, 44), Amount(90));
    EXPECT_EQ(Value(202, 7), Amount(23 * 100 + 22 * 50));
    EXPECT_EQ(Value(192), "North store");
    EXPECT_EQ(Value(183, 1), "Hill 3");
    EXPECT_EQ(Value(193), "Main store");
    EXPECT_EQ(Value(100), "31");
    RecFreeMatrix(StockMoveVc::Number, rec.data());
}

TEST_F(StockPurchaseValues, PurchaseVendorLinesMarkupAndItsLabel) {
    StoreRecord(VEVc::Number, [&](uint8_t *r) {
        PutText(r, VEVc::Code, 20, "V1");
        PutText(r, VEVc::Name, 60, "First Vendor");
        PutText(r, VEVc::Addr1, 60, "Quay 1");
        PutText(r, VEVc::Addr2, 60, "Port Town");
    });
    rec.assign(PUVc::Size, 0);
    PutI32(rec.data(), PUVc::SerNr, 77);
    PutText(rec.data(), PUVc::VendCode, 20, "V1");
    const char *items[2] = {"ITEM1", "NOSUCH"};
    for (int i = 0; i < 2; i++) {
        uint8_t row[PUVc::Rows::Size] = {};
        PutText(row, PUVc::Rows::ItemCode, 20, items[i]);
        PutDec(row, PUVc::Rows::Quantity, Dec(3 + i));
        PutDec(row, PUVc::Rows::UnitCost, Dec(80));
        ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, rec.data(), i, row));
    }
    ASSERT_NO_FATAL_FAILURE(Load(-22, rec.data()));
    EXPECT_EQ(Value(2, 1), "Quay 1");
    EXPECT_EQ(Value(2, 2), "Port Town");
    EXPECT_EQ(Value(2, 4), "");
    EXPECT_EQ(Value(188, 0), Amount(240));
    EXPECT_EQ(Value(189, 0), Amount(60));                 // ITEM1's cost price
    EXPECT_EQ(Value(372, 0), Amount(25, FtPercent));      // 100 / 80 x 100 - 100
    EXPECT_EQ(Value(372, 1), "");                         // no such item
    EXPECT_EQ(Value(189, 1), "");
    DocUnload(-22);
    loaded = false;

    // The label of row 1: its own row whatever row the sheet asks for.
    PurchaseLabelRec label{rec.data(), 1};
    ASSERT_NO_FATAL_FAILURE(Load(-23, (const uint8_t *)&label));
    EXPECT_EQ(Value(8, 0), "NOSUCH");
    EXPECT_EQ(Value(13, 5), Amount(4, FtAmount3));
    EXPECT_EQ(Value(2, 3), "Quay 1");
    EXPECT_EQ(Value(203, 0), Amount(3 * 80 + 4 * 80));
    EXPECT_EQ(Value(372, 0), " A own");                   // not a label code
    RecFreeMatrix(PUVc::Number, rec.data());
}

TEST_F(StockPurchaseValues, ReminderLevelsAndTheInvoice) {
    std::vector<uint8_t> texts(ReminderTextBlk::Size);
    PutText(texts.data(), ReminderTextBlk::Level2Line1, 60, "Second notice");
    PutText(texts.data(), ReminderTextBlk::Level2Line3, 60, "Last line of two");
    ASSERT_EQ(SettingsBlockStore(ReminderTextBlk::Number, texts.data(), uint32_t(texts.size())), RecDone);
    StoreRecord(IVVc::Number, [&](uint8_t *r) {
        FixtureInvoice f;
        f.serial = 4711;
        FillInvoice(r, f);
        PutText(r, IVVc::Addr0, 60, "First Customer");
        PutText(r, IVVc::Addr1, 60, "Kundvagen 2");
        PutI32(r, IVVc::NoticeCount, 2);
    });
    rec.assign(ARVc::Size, 0);
    PutI32(rec.data(), ARVc::InvoiceNr, 4711);
    PutText(rec.data(), ARVc::CustCode, 20, "C1");
    PutDec(rec.data(), ARVc::OpenAmount, Dec(125));
    ASSERT_NO_FATAL_FAILURE(Load(-4, rec.data()));
    EXPECT_EQ(Value(216, 0), "Second notice");
    EXPECT_EQ(Value(216, 2), "Last line of two");
    EXPECT_EQ(Value(216, 3), "");
    EXPECT_EQ(Value(219), "2");
    EXPECT_EQ(Value(2, 2), "Kundvagen 2");
    EXPECT_EQ(Value(217, 1), "");
    EXPECT_EQ(Value(153), "4711");
    FormLastPage = false;   // a form printed before in this process may have left it set
    EXPECT_EQ(Value(77), "");                              // not the last page
    FormLastPage = true;
    EXPECT_EQ(Value(77), Amount(125));
    int16_t first = 0, last = 0;
    DocFieldRowRange(-4, 216, &first, &last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 2);
}

TEST_F(StockPurchaseValues, OrderSideRowsFromTheItems) {
    rec.assign(ORVc::Size, 0);
    PutI32(rec.data(), ORVc::SerNr, 12);
    PutText(rec.data(), ORVc::CustCode, 20, "C1");
    const char *items[2] = {"ITEM1", "NOSUCH"};
    for (int i = 0; i < 2; i++) {
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        PutText(row, ORVc::Rows::ItemCode, 20, items[i]);
        PutDec(row, ORVc::Rows::Quantity, Dec(3));
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, rec.data(), i, row));
    }
    ASSERT_NO_FATAL_FAILURE(Load(-6, rec.data()));
    const uint8_t *s0 = OrderSideRowOf(0), *s1 = OrderSideRowOf(1);
    ASSERT_NE(s0, nullptr);
    ASSERT_NE(s1, nullptr);
    EXPECT_EQ(OrderSideRowOf(2), nullptr);
    PackedDecimal cost = GetDec(s0, OrderSideRow::CostPrice), qtyCost = GetDec(s0, OrderSideRow::QtyCost),
                  missing = GetDec(s1, OrderSideRow::QtyCost);
    EXPECT_EQ(DecToDouble(&cost), 60);      // ITEM1's cost price
    EXPECT_EQ(DecToDouble(&qtyCost), 180);
    EXPECT_TRUE(DecIsBlank(&missing));      // no such item: blank
    DocUnload(-6);
    loaded = false;
    EXPECT_EQ(OrderSideRowOf(0), nullptr);
    RecFreeMatrix(ORVc::Number, rec.data());
}

}  // namespace
