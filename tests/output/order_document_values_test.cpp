// order_document_values_test.cpp - what order, quotation and purchase
// order forms print: quantities still to deliver, the address a form
// falls back to, default-choice texts only for items that have one,
// rounding of the quotation's difference, and the lookups that print
// nothing when their record is missing.
#include "tests/output/document_values_fixture.h"

namespace {

class OrderDocumentValues : public DocumentValues {
protected:
    // An order of C1 with an ITEM1 row (10 ordered, 4 delivered, 5 %
    // off) and an ITEM2 row without a quantity.
    void FillOrder(uint8_t *o, bool deliveryAddress) {
        PutText(o, ORVc::CustCode, 20, "C1");
        PutI32(o, ORVc::SerNr, 123456);
        PutText(o, ORVc::Addr0, 60, "First Customer");
        PutText(o, ORVc::Addr1, 60, "Kundv\xE4gen 2");
        if (deliveryAddress) {
            PutText(o, ORVc::DelAddr0, 60, "Site Office");
            PutText(o, ORVc::DelAddr1, 60, "Dock 9");
        }
        PutText(o, ORVc::OrderClass, 5, "");
        PutDec(o, ORVc::Total, Dec(1250));
        uint8_t row[ORVc::Rows::Size] = {};
        PutText(row, ORVc::Rows::ItemCode, 20, "ITEM1");
        PutDec(row, ORVc::Rows::Quantity, Dec(10));
        PutDec(row, ORVc::Rows::QtyDelivered, Dec(4));
        PutDec(row, ORVc::Rows::Price, Dec(100));
        PutDec(row, ORVc::Rows::Discount, Dec(5));
        PutDec(row, ORVc::Rows::Sum, Dec(950));
        PutText(row, ORVc::Rows::Text, 100, "Blue widget");
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, row));
        uint8_t row2[ORVc::Rows::Size] = {};
        PutText(row2, ORVc::Rows::ItemCode, 20, "ITEM2");
        PutText(row2, ORVc::Rows::Text, 100, "Red widget");
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(row2, ORVc::Rows::Quantity, blank);
        PutDec(row2, ORVc::Rows::PriceUnit, Dec(4));
        PutDec(row2, ORVc::Rows::Price, Dec(10));
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 1, row2));
    }
};

TEST_F(OrderDocumentValues, OrderRowsQuantitiesAndAddresses) {
    RuleRecord o(ORVc::Number);
    ASSERT_NO_FATAL_FAILURE(FillOrder(o.record, false));
    ASSERT_NO_FATAL_FAILURE(Load(-6, o.record));
    EXPECT_EQ(FormRowCount, 2);
    EXPECT_EQ(Value(145, 0), Typed(6, FtAmount3));
    EXPECT_EQ(Value(145, 1), "");                           // no quantity: nothing to deliver
    EXPECT_EQ(Value(146, 1), "");
    EXPECT_EQ(Value(17, 0), Typed(-5, FtAmount3) + "%");
    EXPECT_EQ(Value(16, 0), Typed(5));
    EXPECT_EQ(Value(8, 1), "ITEM2");
    EXPECT_EQ(Value(8, 2), "");                             // beyond the order's rows
    EXPECT_EQ(Value(347, 0), Typed(1, FtAmount3));          // a blank price unit counts as 1
    EXPECT_EQ(Value(348, 1), Typed(2.5, FtAmount3Drop));
    EXPECT_EQ(Value(2, 1), "First Customer");
    EXPECT_EQ(Value(136, 1), "First Customer");             // no delivery address: the order's own
    EXPECT_EQ(Value(136, 2), "Kundv\xE4gen 2");
    EXPECT_EQ(Value(153), "123456");
    EXPECT_EQ(Value(79), "C1");
    EXPECT_EQ(Value(77), Typed(1250));
    EXPECT_EQ(Value(110), " 929 123 456 6");                // Luhn digit of 929123456
    EXPECT_EQ(Value(300), " A own");                        // a code orders do not serve
    // Neither item has a default choice: nothing from it, no vendor.
    for (int16_t code : {51, 53, 138, 139, 140, 141, 143}) EXPECT_EQ(Value(code, 0), "") << code;
    EXPECT_EQ(Value(142, 0), "");
    EXPECT_EQ(Value(137, 1), "");
}

TEST_F(OrderDocumentValues, DeliveryAddressAndDefaultChoice) {
    StoreVendor("V1", "First Vendor");
    StoreDefaultChoice("ITEM1", "V1", "V-100", 42);
    RuleRecord o(ORVc::Number);
    ASSERT_NO_FATAL_FAILURE(FillOrder(o.record, true));
    ASSERT_NO_FATAL_FAILURE(Load(-15, o.record));
    EXPECT_EQ(Value(136, 1), "Site Office");
    EXPECT_EQ(Value(136, 2), "Dock 9");
    EXPECT_EQ(Value(3, 2), "Dock 9");
    EXPECT_EQ(Value(138, 0), "V-100");
    EXPECT_EQ(Value(143, 0), "Vendor's text");
    EXPECT_EQ(Value(139, 0), Typed(42));
    EXPECT_EQ(Value(140, 0), Typed(5));
    EXPECT_EQ(Value(51, 0), "ITEM1");
    EXPECT_EQ(Value(53, 0), Typed(10, FtAmount3));
    EXPECT_EQ(Value(142, 0), "Blue widget");
    EXPECT_EQ(Value(138, 1), "");                           // ITEM2 has none
    // The first row's default choice makes the vendor.
    EXPECT_EQ(Value(137, 1), "First Vendor");
    EXPECT_EQ(Value(137, 3), "Port Town");
    EXPECT_EQ(Value(137, 5), "");
}

TEST_F(OrderDocumentValues, QuotationRoundingProjectAndSideRows) {
    StoreUnitItem("BOX", "pcs", 2.5, 1);
    RuleRecord q(QuotationVc::Number);
    PutI32(q.record, QuotationVc::SerNr, 88);
    PutText(q.record, QuotationVc::CustCode, 20, "C1");
    PutDec(q.record, QuotationVc::NetTotal, Dec(110.50));
    PutDec(q.record, QuotationVc::VatTotal, Dec(100));
    PutText(q.record, QuotationVc::Project, 20, "NOSUCH");
    uint8_t row[QuotationVc::Rows::Size] = {};
    PutText(row, QuotationVc::Rows::ItemCode, 20, "BOX");
    PutDec(row, QuotationVc::Rows::Quantity, Dec(4));
    PutDec(row, QuotationVc::Rows::Sum, Dec(19.6));
    ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, q.record, 0, row));
    PutText(row, QuotationVc::Rows::ItemCode, 20, "GONE");
    ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, q.record, 1, row));
    ASSERT_NO_FATAL_FAILURE(Load(-14, q.record));
    EXPECT_EQ(Value(76), Typed(11));                        // 10.50 rounds away from zero
    EXPECT_EQ(Value(75), Typed(10.5));
    EXPECT_EQ(Value(72), "88");
    EXPECT_EQ(Value(70), "");                               // the project is missing
    EXPECT_EQ(Value(37, 0), Typed(20));
    EXPECT_EQ(Value(20, 0), "pcs");
    EXPECT_EQ(Value(38, 0), Typed(2.5));
    EXPECT_EQ(Value(30, 0), Typed(10));                     // 4 x 2.5
    EXPECT_EQ(Value(29, 0), Typed(4));
    EXPECT_EQ(Value(20, 1), "");                            // its item is missing
    EXPECT_EQ(Value(38, 1), "");
    EXPECT_EQ(Value(96), Typed(10));
    EXPECT_EQ(Value(97), Typed(4));
    EXPECT_EQ(Value(14, 2), "");
    Unload();
    PutText(q.record, QuotationVc::Project, 20, "");
    ASSERT_NO_FATAL_FAILURE(Load(-14, q.record));
    EXPECT_EQ(Value(70), "");                               // no project at all
    Unload();
    StoreRecord(ProjectVc::Number, [&](uint8_t *r) {
        PutText(r, ProjectVc::Code, 20, "P1");
        PutText(r, ProjectVc::Name, 60, "Harbour works");
    });
    PutText(q.record, QuotationVc::Project, 20, "P1");
    ASSERT_NO_FATAL_FAILURE(Load(-14, q.record));
    EXPECT_EQ(Value(70), "Harbour works");
}

// The order and the quotation print the same row and header codes from
// different places; only the rounded row sum (37) differs: to the cent on
// an order, to whole units on a quotation.
TEST_F(OrderDocumentValues, OrderAndQuotationShareCodesButRoundTheRowSumApart) {
    RuleRecord o(ORVc::Number);
    ASSERT_NO_FATAL_FAILURE(FillOrder(o.record, false));
    PutText(o.record, ORVc::Text1052, 20, "Order text");
    uint8_t row[ORVc::Rows::Size] = {};
    ASSERT_TRUE(MatrixRowRead(ORVc::Number, o.record, 0, row));
    PutDec(row, ORVc::Rows::Sum, Dec(19.605));
    PutText(row, ORVc::Rows::VatCode, 2, "1");
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o.record, 0, row));
    ASSERT_NO_FATAL_FAILURE(Load(-6, o.record));
    EXPECT_EQ(Value(37, 0), Typed(19.61));                  // half away from zero, to the cent
    EXPECT_EQ(Value(19, 0), "1");
    EXPECT_EQ(Value(13, 0), Typed(10, FtAmount3));
    EXPECT_EQ(Value(94), "Order text");
    EXPECT_EQ(Value(37, 2), "");                            // beyond the rows
    Unload();

    RuleRecord q(QuotationVc::Number);
    PutText(q.record, QuotationVc::CustCode, 20, "C1");
    PutText(q.record, QuotationVc::CustName, 60, "First Customer");
    PutText(q.record, QuotationVc::Text922, 20, "Quote text");
    uint8_t qrow[QuotationVc::Rows::Size] = {};
    PutText(qrow, QuotationVc::Rows::ItemCode, 20, "GONE");
    PutDec(qrow, QuotationVc::Rows::Quantity, Dec(10));
    PutDec(qrow, QuotationVc::Rows::Sum, Dec(19.605));
    PutText(qrow, QuotationVc::Rows::VatCode, 2, "2");
    ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, q.record, 0, qrow));
    ASSERT_NO_FATAL_FAILURE(Load(-14, q.record));
    EXPECT_EQ(Value(37, 0), Typed(20));                     // whole units
    EXPECT_EQ(Value(18, 0), Typed(19.605));
    EXPECT_EQ(Value(19, 0), "2");
    EXPECT_EQ(Value(13, 0), Typed(10, FtAmount3));
    EXPECT_EQ(Value(94), "Quote text");
    EXPECT_EQ(Value(2, 1), "First Customer");
    EXPECT_EQ(Value(79), "C1");
    EXPECT_EQ(Value(110), " A own");                        // an order's code, not a quotation's
    EXPECT_EQ(Value(37, 1), "");
}

TEST_F(OrderDocumentValues, PurchaseOrderVendorAndItemUnit) {
    StoreVendor("V1", "First Vendor");
    StoreUnitItem("BOX", "pcs", 1, 1);
    RuleRecord p(PurchOrderVc::Number);
    PutI32(p.record, PurchOrderVc::SerNr, 501);
    PutText(p.record, PurchOrderVc::VendCode, 20, "V1");
    PutText(p.record, PurchOrderVc::VendName, 60, "First Vendor");
    uint8_t row[PurchOrderVc::Rows::Size] = {};
    PutText(row, PurchOrderVc::Rows::ItemCode, 20, "BOX");
    PutText(row, PurchOrderVc::Rows::VendItemCode, 20, "VB-1");
    PutDec(row, PurchOrderVc::Rows::Quantity, Dec(12));
    PutDec(row, PurchOrderVc::Rows::PricedQty, Dec(1));
    ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, p.record, 0, row));
    PutText(row, PurchOrderVc::Rows::ItemCode, 20, "NOSUCH");
    ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, p.record, 1, row));
    ASSERT_NO_FATAL_FAILURE(Load(-19, p.record));
    EXPECT_EQ(Value(20, 0), "pcs");
    EXPECT_EQ(Value(20, 1), "");                            // not in the item register
    EXPECT_EQ(Value(150, 0), "VB-1");
    EXPECT_EQ(Value(149, 0), "*VB-1*");
    EXPECT_EQ(Value(151, 0), Typed(12, FtAmount3));
    EXPECT_EQ(Value(13, 0), Typed(1, FtAmount3));
    EXPECT_EQ(Value(179), "501");
    EXPECT_EQ(Value(180), "V1");
    EXPECT_EQ(Value(181), "V-REF");
    EXPECT_EQ(Value(2, 1), "First Vendor");
    EXPECT_EQ(Value(17, 0), " A own");                      // no discount code on purchase orders
}

// Purchase orders and quotations look their delivery terms up alike, but
// a purchase order serves none of the quotation's customer codes.
TEST_F(OrderDocumentValues, DeliveryTermsLookedUpAlikeAndCustomerCodesOnlyOnSales) {
    StoreRecord(DTVc::Number, [&](uint8_t *r) {
        PutText(r, DTVc::Code, 5, "FOB");
        PutText(r, DTVc::Name, 60, "Free on board");
    });
    RuleRecord p(PurchOrderVc::Number);
    PutText(p.record, PurchOrderVc::DelTerms, 5, "FOB");
    ASSERT_NO_FATAL_FAILURE(Load(-19, p.record));
    EXPECT_EQ(Value(89), "FOB");
    EXPECT_EQ(Value(90), "Free on board");
    for (int16_t code : {78, 79, 80, 87, 92, 93, 94, 96, 97, 37}) EXPECT_EQ(Value(code), " A own") << code;
    Unload();
    PutText(p.record, PurchOrderVc::DelTerms, 5, "XX");
    ASSERT_NO_FATAL_FAILURE(Load(-19, p.record));
    EXPECT_EQ(Value(90), "");                               // not in the register

    RuleRecord q(QuotationVc::Number);
    PutText(q.record, QuotationVc::DelTerms, 5, "FOB");
    ASSERT_NO_FATAL_FAILURE(Load(-14, q.record));
    EXPECT_EQ(Value(89), "FOB");
    EXPECT_EQ(Value(90), "Free on board");
    EXPECT_EQ(Value(79), "");
}

}  // namespace
