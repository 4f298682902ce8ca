// Tests of the fields a stored record keeps when a save replaces it.
#include "core/record_buffer.h"
#include "rules/checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class KeptFieldsTest : public RulesFixture {
protected:
    // Appends a row to record of reg with amount at each offset.
    static void AddRow(int reg, uint8_t *record, std::initializer_list<std::pair<uint32_t, double>> amounts) {
        std::vector<uint8_t> row(RecRowSize(reg), 0);
        for (auto [at, x] : amounts) PutDec(row.data(), at, Dec(x));
        ASSERT_TRUE(MatrixRowPut(reg, 0, record, MatrixRowCount(reg, 0, record), row.data()));
    }
    static double RowAmount(int reg, const uint8_t *record, int32_t row, uint32_t at) {
        std::vector<uint8_t> r(RecRowSize(reg), 0);
        EXPECT_TRUE(MatrixRowRead(reg, record, row, r.data()));
        PackedDecimal d = GetDec(r.data(), at);
        return DecToDouble(&d);
    }
};

// A replaced order takes the stored delivered, shipped and invoiced
// quantities on the rows both have; its extra row keeps its own, and its
// other fields stay the user's.
TEST_F(KeptFieldsTest, OrderWithMoreRowsKeepsItsExtraRow) {
    namespace R = ORVc::Rows;
    RuleRecord stored(ORVc::Number), edited(ORVc::Number);
    PutU16(stored.record, ORVc::Open, 1);
    PutU16(stored.record, ORVc::InvState, 2);
    AddRow(ORVc::Number, stored.record, {{R::QtyDelivered, 5}, {R::QtyShipped, 4}, {R::QtyInvoiced, 3}, {R::Quantity, 9}});
    AddRow(ORVc::Number, edited.record, {{R::QtyDelivered, 0}, {R::Quantity, 12}});
    AddRow(ORVc::Number, edited.record, {{R::QtyDelivered, 7}, {R::Quantity, 1}});
    PreserveStoredFieldsOf(ORVc::Number, stored.record, edited.record);
    EXPECT_EQ(GetU16(edited.record, ORVc::Open), 1);
    EXPECT_EQ(GetU16(edited.record, ORVc::InvState), 2);
    EXPECT_EQ(RowAmount(ORVc::Number, edited.record, 0, R::QtyDelivered), 5);
    EXPECT_EQ(RowAmount(ORVc::Number, edited.record, 0, R::QtyShipped), 4);
    EXPECT_EQ(RowAmount(ORVc::Number, edited.record, 0, R::QtyInvoiced), 3);
    EXPECT_EQ(RowAmount(ORVc::Number, edited.record, 0, R::Quantity), 12);
    EXPECT_EQ(RowAmount(ORVc::Number, edited.record, 1, R::QtyDelivered), 7);
    EXPECT_EQ(MatrixRowCount(ORVc::Number, 0, edited.record), 2);
}

// A replaced purchase order with fewer rows takes the received quantities
// of the rows it has and grows no row.
TEST_F(KeptFieldsTest, PurchaseOrderWithFewerRowsGrowsNoRow) {
    namespace R = PurchOrderVc::Rows;
    RuleRecord stored(PurchOrderVc::Number), edited(PurchOrderVc::Number);
    AddRow(PurchOrderVc::Number, stored.record, {{R::QtyReceived, 2}, {R::QtyOnPurchases, 6}});
    AddRow(PurchOrderVc::Number, stored.record, {{R::QtyReceived, 8}, {R::QtyOnPurchases, 8}});
    AddRow(PurchOrderVc::Number, edited.record, {{R::QtyReceived, 0}, {R::Quantity, 10}});
    PreserveStoredFieldsOf(PurchOrderVc::Number, stored.record, edited.record);
    EXPECT_EQ(MatrixRowCount(PurchOrderVc::Number, 0, edited.record), 1);
    EXPECT_EQ(RowAmount(PurchOrderVc::Number, edited.record, 0, R::QtyReceived), 2);
    EXPECT_EQ(RowAmount(PurchOrderVc::Number, edited.record, 0, R::QtyOnPurchases), 6);
    EXPECT_EQ(RowAmount(PurchOrderVc::Number, edited.record, 0, R::Quantity), 10);
}

// Posting flags survive a save of the voucher and the ledger records; a
// register without kept fields is left as the user made it.
TEST_F(KeptFieldsTest, PostingFlagsSurviveAndOtherRegistersAreUntouched) {
    RuleRecord stored(Voucher::Number), edited(Voucher::Number);
    PutU16(stored.record, Voucher::Posted, 1);
    PutU16(stored.record, Voucher::Reg18Done, 1);
    PutU16(stored.record, Voucher::YearCode, 7);
    PreserveStoredFieldsOf(Voucher::Number, stored.record, edited.record);
    EXPECT_EQ(GetU16(edited.record, Voucher::Posted), 1);
    EXPECT_EQ(GetU16(edited.record, Voucher::Reg18Done), 1);
    EXPECT_EQ(GetU16(edited.record, Voucher::YearCode), 0);

    RuleRecord acStored(ACVc::Number), ac(ACVc::Number);
    PutU16(acStored.record, ACVc::Blocked, 1);
    PreserveStoredFieldsOf(ACVc::Number, acStored.record, ac.record);
    EXPECT_EQ(GetU16(ac.record, ACVc::Blocked), 0);
}

}  // namespace
