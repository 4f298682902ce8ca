// delivery_document_values_test.cpp - what a delivery's forms print
// from its print copy: a structure row expanded into bulleted component
// rows that have no order row (and so no order discount), the last
// page's totals only on the last page, the town split off the last
// address line, and the order's texts only when the delivery asks.
#include "tests/output/document_values_fixture.h"

#include <memory>

namespace {

class DeliveryDocumentValues : public DocumentValues {
protected:
    // Made once the company's interface file is loaded; freed before it goes.
    std::unique_ptr<RuleRecord> owner;
    uint8_t *deliveryRec = nullptr;

    void TearDown() override {
        Unload();
        owner.reset();
        DocumentValues::TearDown();
    }

    static void AddRow(uint8_t *rec, uint32_t orderRow, const char *item, double qty, double cost,
                       const char *structure = "") {
        uint8_t row[SHVc::Rows::Size] = {};
        PutU32(row, SHVc::Rows::OrderRowNr, orderRow);
        PutText(row, SHVc::Rows::ItemCode, 20, item);
        PutText(row, SHVc::Rows::Text, 100, item);
        PutDec(row, SHVc::Rows::ToDeliver, Dec(qty));
        PutDec(row, SHVc::Rows::QtyLeft, Dec(qty / 2));
        PutDec(row, SHVc::Rows::UnitCost, Dec(cost));
        PutText(row, SHVc::Rows::StructCode, 20, structure);
        ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, rec, MatrixRowCount(SHVc::Number, 0, rec), row));
    }

    // Order 700 (discounts 10 % and 20 % on its two rows) and its
    // delivery 41: two KIT (a structure of four LEG and one TOP each)
    // and one BOLT.
    void SetUp() override {
        DocumentValues::SetUp();
        if (HasFatalFailure()) return;
        StoreUnitItem("KIT", "set", 3, 1);
        StoreUnitItem("LEG", "pcs", 1, 1);
        StoreStructure("S1", {{"LEG", 4}, {"TOP", 1}});
        StoreRecord(ORVc::Number, [&](uint8_t *o) {
            PutI32(o, ORVc::SerNr, 700);
            PutText(o, ORVc::CustCode, 20, "C1");
            PutText(o, ORVc::Addr0, 60, "Order Name");
            PutText(o, ORVc::Name2, 60, "Second line");
            const double discounts[2] = {10, 20};
            for (int i = 0; i < 2; i++) {
                uint8_t row[ORVc::Rows::Size] = {};
                PutDec(row, ORVc::Rows::Discount, Dec(discounts[i]));
                ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, i, row));
            }
        });
        owner = std::make_unique<RuleRecord>(SHVc::Number);
        deliveryRec = owner->record;
        uint8_t *d = deliveryRec;
        PutI32(d, SHVc::SerNr, 41);
        PutI32(d, SHVc::OrderNr, 700);
        PutText(d, SHVc::CustCode, 20, "C1");
        PutText(d, SHVc::DelAddr0, 60, "Receiver");
        PutText(d, SHVc::DelAddr1, 60, "Road 5");
        PutText(d, SHVc::DelAddr2, 60, "123 45 Smalltown");
        PutText(d, SHVc::DelMode, 5, "POST");
        ASSERT_NO_FATAL_FAILURE(AddRow(d, 0, "KIT", 2, 5, "S1"));
        ASSERT_NO_FATAL_FAILURE(AddRow(d, 1, "BOLT", 3, 2));
    }
};

TEST_F(DeliveryDocumentValues, ExpandedStructurePrintsComponentRows) {
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    ASSERT_EQ(FormRowCount, 4);                             // KIT, LEG, TOP, BOLT
    EXPECT_EQ(Value(8, 0), "KIT");
    EXPECT_EQ(Value(8, 1), "\x95 LEG");
    EXPECT_EQ(Value(8, 2), "\x95 TOP");
    EXPECT_EQ(Value(8, 3), "BOLT");
    EXPECT_EQ(Value(44, 1), Typed(8, FtAmount3));           // 2 kits of 4 legs
    // The order's discount: of order row 0 and 1; none for component rows.
    EXPECT_EQ(Value(16, 0), Typed(10));
    EXPECT_EQ(Value(16, 1), "");
    EXPECT_EQ(Value(16, 2), "");
    EXPECT_EQ(Value(16, 3), Typed(20));
    // The side rows come from each printed row's item.
    EXPECT_EQ(Value(20, 1), "pcs");
    EXPECT_EQ(Value(30, 1), Typed(8));                      // 8 legs at 1
    EXPECT_EQ(Value(20, 3), "");                            // BOLT is no item
    EXPECT_EQ(Value(8, 4), "");
    // The stored delivery keeps its own two rows.
    EXPECT_EQ(MatrixRowCount(SHVc::Number, 0, deliveryRec), 2);
}

TEST_F(DeliveryDocumentValues, UnexpandedFormAndLastPageTotals) {
    PutDec(deliveryRec, SHVc::StepTotal2, Dec(7));
    ASSERT_NO_FATAL_FAILURE(Load(-12, deliveryRec));
    ASSERT_EQ(FormRowCount, 2);                             // the second form never expands
    // KIT 2 at 5 and BOLT 3 at 2.
    EXPECT_EQ(Value(345, 1), "");                           // only on the last page
    EXPECT_EQ(Value(346), "");
    EXPECT_EQ(Value(96), "");
    FormLastPage = true;
    EXPECT_EQ(Value(345, 1), Typed(6));
    EXPECT_EQ(Value(346), Typed(16));
    EXPECT_EQ(Value(96), Typed(7));
    EXPECT_EQ(Value(46, 0), Typed(1, FtAmount3));           // 2 ordered, 1 delivered
}

TEST_F(DeliveryDocumentValues, HeaderTownModeAndOrderTexts) {
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    EXPECT_EQ(Value(100), "41");
    EXPECT_EQ(Value(101), "700");
    EXPECT_EQ(Value(85), "POST");
    EXPECT_EQ(Value(116), "123 45 Smalltown");
    EXPECT_EQ(Value(115), "Smalltown");
    EXPECT_EQ(Value(117), "123 45");
    EXPECT_EQ(Value(2, 1), "Receiver");
    EXPECT_EQ(Value(40, 1), "Road 5");
    EXPECT_EQ(Value(40, 4), "");
    EXPECT_EQ(Value(41, 1), "Order Name");                  // no invoice-to customer: the order's name
    // The order's texts and address only when the delivery takes them.
    EXPECT_EQ(Value(112), "");
    EXPECT_EQ(Value(114), "");
    EXPECT_EQ(Value(102), "");
    EXPECT_EQ(Value(50, 1), "");
    Unload();
    PutI16(deliveryRec, SHVc::TextsFromOrder, 1);
    PutI16(deliveryRec, SHVc::AddrFromOrder, 1);
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    EXPECT_EQ(Value(112), "X");
    EXPECT_EQ(Value(114), "Second line");
    EXPECT_EQ(Value(102), "Order Name");
    EXPECT_EQ(Value(50, 1), "Order Name");
}

// The delivery's own text, else the customer's: each read at its own
// length, so a damaged length byte in the customer's shorter field does
// not reach into the fields after it.
TEST_F(DeliveryDocumentValues, DeliveryTextFallsBackToTheCustomersText) {
    PutI16(deliveryRec, SHVc::TextsFromOrder, 1);
    PutText(deliveryRec, SHVc::DocText, 60, "Leave at the gate");
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    EXPECT_EQ(Value(113), "Leave at the gate");
    Unload();
    PutText(deliveryRec, SHVc::DocText, 60, "");
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    PutText(FormCustomer, CUVc::Text456, 20, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(Value(113), "ABCDEFGHIJKLMNOPQRST");
    FormCustomer[CUVc::Text456] = 60;
    EXPECT_EQ(Value(113), "ABCDEFGHIJKLMNOPQRST");
    Unload();
    PutI16(deliveryRec, SHVc::TextsFromOrder, 0);
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    EXPECT_EQ(Value(113), "");
}

TEST_F(DeliveryDocumentValues, InvoiceToCustomerAndMissingOrder) {
    StoreRecord(ORVc::Number, [&](uint8_t *o) {
        PutI32(o, ORVc::SerNr, 701);
        PutText(o, ORVc::InvoiceTo, 20, "C2");
    });
    StoreRecord(ORVc::Number, [&](uint8_t *o) {
        PutI32(o, ORVc::SerNr, 702);
        PutText(o, ORVc::InvoiceTo, 20, "NOBODY");
    });
    PutI32(deliveryRec, SHVc::OrderNr, 701);
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    EXPECT_EQ(Value(41, 1), "Euro Customer");
    EXPECT_EQ(Value(41, 3), "222 33 Malm\xF6");
    Unload();
    PutI32(deliveryRec, SHVc::OrderNr, 702);
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    EXPECT_EQ(Value(41, 1), " A own");                      // that customer is missing: the field's text
    Unload();
    PutI32(deliveryRec, SHVc::OrderNr, 999);            // no such order: its values print empty
    ASSERT_NO_FATAL_FAILURE(Load(-7, deliveryRec));
    EXPECT_EQ(Value(16, 0), "");
    EXPECT_EQ(Value(84), "");
    EXPECT_EQ(Value(8, 0), "KIT");
}

}  // namespace
