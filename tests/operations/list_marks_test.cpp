// List marks follow the documents' state words and, for orders and
// purchase orders, the quantities of their rows.
#include "core/record_buffer.h"
#include "operations/operations.h"
#include "rules/rules_types.h"
#include "tests/rules/rules_fixture.h"

namespace {

class ListMarks : public RulesFixture {
protected:
    static void OrderRow(uint8_t *o, double qty, double delivered, double shipped, double invoiced) {
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        PutDec(row, ORVc::Rows::Quantity, Dec(qty));
        PutDec(row, ORVc::Rows::QtyDelivered, Dec(delivered));
        PutDec(row, ORVc::Rows::QtyShipped, Dec(shipped));
        PutDec(row, ORVc::Rows::QtyInvoiced, Dec(invoiced));
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, MatrixRowCount(ORVc::Number, 0, o), row));
    }
    static std::tuple<int, int, int, int, int> OrderState(const uint8_t *o) {
        return {GetU16(o, ORVc::InvState), GetU16(o, ORVc::DelivComplete), GetU16(o, ORVc::Open),
                GetU16(o, ORVc::InvMark), GetU16(o, ORVc::DelivMark)};
    }
};

// One state word: 1 marks done, 0 clears, any other state keeps the mark
// (except deliveries and purchases, where it clears).
TEST_F(ListMarks, MarksFromOneStateWord) {
    RuleRecord inv(IVVc::Number);
    for (auto [posted, mark] : {std::pair{1, 18}, {7, 18}, {0, 0}}) {
        PutU16(inv.record, IVVc::Posted, (uint16_t)posted);
        StatusMarkInvoice(inv.record);
        EXPECT_EQ(GetU16(inv.record, IVVc::Mark), mark) << posted;
    }

    RuleRecord pay(OPVc::Number);
    PutU16(pay.record, OPVc::Approved, 1);
    PutU16(pay.record, OPVc::PostedMark, 18);
    StatusMarkOutPayment(pay.record);
    EXPECT_EQ(GetU16(pay.record, OPVc::ApprovedMark), 18);
    EXPECT_EQ(GetU16(pay.record, OPVc::PostedMark), 0);

    RuleRecord del(SHVc::Number);
    PutU16(del.record, SHVc::Mark, 18);
    PutU16(del.record, SHVc::Shipped, 7);
    StatusMarkDelivery(del.record);
    EXPECT_EQ(GetU16(del.record, SHVc::Mark), 0);

    uint8_t sheet[64] = {};
    PutU16(sheet, 10, 3);
    StatusMarkFromFlag(sheet);
    EXPECT_EQ(GetU16(sheet, 12), 18);
}

// Orders: all shipped and invoiced is closed with both marks done; nothing
// shipped shows 45; a shipped row not yet invoiced reopens invoicing; a
// row awaiting delivery clears the delivery mark.
TEST_F(ListMarks, OrderStateFromRows) {
    RuleRecord o(ORVc::Number);
    OrderRow(o.record, 5, 5, 5, 5);
    OrderRow(o.record, 2, 2, 2, 2);
    StatusMarkOrder(o.record);
    EXPECT_EQ(OrderState(o.record), std::make_tuple(2, 1, 0, 18, 18));

    RuleRecord n(ORVc::Number);
    OrderRow(n.record, 5, 0, 0, 0);
    StatusMarkOrder(n.record);
    EXPECT_EQ(OrderState(n.record), std::make_tuple(1, 0, 1, 45, 0));

    RuleRecord p(ORVc::Number);
    OrderRow(p.record, 5, 5, 5, 5);
    OrderRow(p.record, 5, 5, 3, 1);
    StatusMarkOrder(p.record);
    EXPECT_EQ(OrderState(p.record), std::make_tuple(0, 1, 1, 0, 18));
}

// Purchase orders: covered unless a row awaits purchases; closed by hand
// counts as covered whatever the rows say.
TEST_F(ListMarks, PurchaseOrderCover) {
    RuleRecord o(PurchOrderVc::Number);
    uint8_t row[PurchOrderVc::Rows::Size] = {};
    PutDec(row, PurchOrderVc::Rows::Quantity, Dec(10));
    PutDec(row, PurchOrderVc::Rows::QtyOnPurchases, Dec(4));
    ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, o.record, 0, row));
    PutU16(o.record, PurchOrderVc::Confirmed, 1);
    StatusMarkPurchaseOrder(o.record);
    EXPECT_EQ(GetU16(o.record, PurchOrderVc::Mark), 18);
    EXPECT_EQ(GetU16(o.record, PurchOrderVc::Covered), 0);
    EXPECT_EQ(GetU16(o.record, PurchOrderVc::CoverMark), 0);
    EXPECT_EQ(GetU16(o.record, PurchOrderVc::Open), 1);
    PutU16(o.record, PurchOrderVc::Closed, 1);
    StatusMarkPurchaseOrder(o.record);
    EXPECT_EQ(GetU16(o.record, PurchOrderVc::CoverMark), 18);
    EXPECT_EQ(GetU16(o.record, PurchOrderVc::Open), 0);
}

}  // namespace
