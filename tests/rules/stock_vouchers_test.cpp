// Tests of the vouchers of deliveries and stock movements.
#include "core/record_buffer.h"
#include "rules/ledger.h"
#include "rules/stock.h"
#include "tests/rules/stock_fixture.h"

namespace {

class StockVouchersTest : public StockFixture {
protected:
    void SetUp() override {
        StockFixture::SetUp();
        if (HasFatalFailure()) return;
        StockAccounts();
        StockVouchersOn();
        StoreItem("A");
        StoreItem("B");
        Receipt(1, DateRec{1, 2, 2024}, "A", 6, 3);
        Receipt(2, DateRec{1, 3, 2024}, "A", 4, 5);
        Receipt(3, DateRec{1, 3, 2024}, "B", 10, 2);
        StoreStock("A", "", 10);
        StoreStock("B", "", 10);
    }
    static void Delivery(uint8_t *d) {
        PutU32(d, SHVc::SerNr, 41);
        PutDate(d, SHVc::ShipDate, DateRec{14, 6, 2024});
        PutText(d, SHVc::CustCode, 20, "C1");
        PutText(d, SHVc::DelAddr0, 60, "Shop");
    }
};

// The delivery's voucher debits each row's FIFO cost to cost of goods and
// credits their sum to the stock account; it balances and carries the
// delivery's number under the deliveries' fixed year code.
TEST_F(StockVouchersTest, DeliveryVoucherCarriesFifoCosts) {
    RuleRecord d(SHVc::Number);
    Delivery(d.record);
    DeliveryRow(d.record, "A", 7, 7);
    DeliveryRow(d.record, "B", 3, 3);
    ASSERT_TRUE(BuildShipmentVoucher(d.record, false));
    using Rows = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(PendingRows(), (Rows{{"4010", 23}, {"4010", 6}, {"1460", -29}}));
    EXPECT_EQ(GetU16(PendingVoucher, Voucher::YearCode), YearCodeDelivery);
    EXPECT_EQ(GetU32(PendingVoucher, Voucher::SerNr), 41u);
    EXPECT_EQ(Text(PendingVoucher, Voucher::Text), "C1 Shop");
}

// A row naming a location that does not exist is costed and credited like
// a row without one: one credit of the total on the delivery's stock
// account, never a second one on another location's account.
TEST_F(StockVouchersTest, RowWithUnknownLocationCreditedOnce) {
    StoreAccount("1470", "Stock B", 0);
    StoreLocation("WB", "1470");
    RuleRecord d(SHVc::Number);
    Delivery(d.record);
    DeliveryRow(d.record, "A", 7, 7, "", "WB");
    DeliveryRow(d.record, "B", 3, 3, "", "GONE");
    PutText(d.record, SHVc::Location, 10, "");
    StoreStock("A", "WB", 10);
    ASSERT_TRUE(BuildShipmentVoucher(d.record, false));
    using Rows = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(PendingRows(), (Rows{{"4010", 23}, {"4010", 6}, {"1460", -29}}));
}

// Before block 199's start date, or with delivery vouchers off, nothing is
// built and the delivery is accepted unless forced; a missing account
// refuses with nothing pending.
TEST_F(StockVouchersTest, StartDateSwitchAndMissingAccount) {
    RuleRecord d(SHVc::Number);
    Delivery(d.record);
    DeliveryRow(d.record, "A", 1, 1);
    StockVouchersOn(DateRec{15, 6, 2024});
    EXPECT_TRUE(BuildShipmentVoucher(d.record, false));
    EXPECT_TRUE(PendingRows().empty());
    EXPECT_TRUE(BuildShipmentVoucher(d.record, true));
    EXPECT_EQ(PendingRows().size(), 2u);
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0);
    PutText(accounts.data(), SalesAccountsBlk::StockAcc, 10, "1460");
    PutText(accounts.data(), SalesAccountsBlk::CostOfGoodsAcc, 10, "9999");
    StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
    EXPECT_FALSE(BuildShipmentVoucher(d.record, true));
    EXPECT_TRUE(PendingRows().empty());
}

// A row of a structure item is costed by its components.
TEST_F(StockVouchersTest, StructureRowCostedByComponents) {
    StoreItem("KIT");
    StoreStructure("S1", {{"A", 2}, {"B", 1}});
    RuleRecord d(SHVc::Number);
    Delivery(d.record);
    DeliveryRow(d.record, "KIT", 1, 1, "", "", "S1");
    ASSERT_TRUE(BuildShipmentVoucher(d.record, false));
    using Rows = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(PendingRows(), (Rows{{"4010", 6}, {"4010", 2}, {"1460", -8}}));
}

// A movement credits the from location's stock account with the cost and
// debits the to location's with the value at the movement's rate; the
// difference goes to the stock-difference account. Rows without a unit
// cost take the FIFO cost.
TEST_F(StockVouchersTest, MovementVoucherAndDifference) {
    StoreAccount("1470", "Stock B", 0);
    StoreLocation("WA");
    StoreLocation("WB", "1470");
    RuleRecord from(LocationVc::Number), to(LocationVc::Number);
    PutText(from.record, LocationVc::Code, 10, "WA");
    PutText(to.record, LocationVc::Code, 10, "WB");
    PutText(to.record, LocationVc::StockAcc, 10, "1470");
    RuleRecord m(StockMoveVc::Number);
    PutU32(m.record, StockMoveVc::SerNr, 5);
    PutDate(m.record, StockMoveVc::MoveDate, DateRec{14, 6, 2024});
    PutText(m.record, StockMoveVc::CurncyCode, 5, "EUR");
    PutDec(m.record, StockMoveVc::Rate, Dec(200));
    uint8_t row[StockMoveVc::Rows::Size] = {};
    PutText(row, StockMoveVc::Rows::ItemCode, 20, "A");
    PutDec(row, StockMoveVc::Rows::Quantity, Dec(2));
    PutDec(row, StockMoveVc::Rows::BaseCost, Dec(4));
    PutDec(row, StockMoveVc::Rows::UnitCost, Dec(5));
    ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, m.record, 0, row));
    PutText(row, StockMoveVc::Rows::ItemCode, 20, "B");
    PutDec(row, StockMoveVc::Rows::Quantity, Dec(3));
    DecSetBlank((PackedDecimal *)(row + StockMoveVc::Rows::BaseCost));
    PutDec(row, StockMoveVc::Rows::UnitCost, Dec(0));
    ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, m.record, 1, row));
    ASSERT_TRUE(BuildStockMovementVoucher(m.record, from.record, to.record));
    using Rows = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(PendingRows(), (Rows{{"1460", -8}, {"1470", 20}, {"1460", -6}, {"1470", 6}, {"4090", -12}}));
    EXPECT_EQ(GetU16(PendingVoucher, Voucher::YearCode), YearCodeStockMove);
    PackedDecimal sum;
    VoucherRowsSum(PendingVoucher, &sum);
    EXPECT_TRUE(DecIsZero(&sum));

    // No difference account: refused, nothing pending.
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0);
    PutText(accounts.data(), SalesAccountsBlk::StockAcc, 10, "1460");
    StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
    EXPECT_FALSE(BuildStockMovementVoucher(m.record, from.record, to.record));
    EXPECT_TRUE(PendingRows().empty());
}

}  // namespace
