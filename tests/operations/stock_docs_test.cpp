// Tests of the stock documents' hooks and kinds: location stock, item
// history, the orders' and purchase orders' quantities, the cost price
// and the FIFO value.
#include "core/ui_text.h"
#include "core/decimal.h"
#include "rules/approval.h"
#include "rules/rules_types.h"
#include "tests/operations/stock_docs_fixture.h"

namespace {

using T = StockDocsFixture;
class StockDocsTest : public StockDocsFixture {};

// An order moves on-orders and, when it reserves, reserved; a structure
// row counts its components; unknown and unstocked items make no record;
// update and delete take the old quantities back.
TEST_F(StockDocsTest, OrdersReserveAndExplodeStructures) {
    uint32_t reserving = Insert(ORVc::Number, [](uint8_t *o) {
        PutText(o, ORVc::Location, 10, "L2");
        PutU16(o, ORVc::Reserves, 1);
        OrderRow(o, "A", 5);
        OrderRow(o, "K", 2, "K");
        OrderRow(o, "S", 3);
    });
    ASSERT_NE(reserving, 0u);
    {
        // What an import or a client may send: an unknown item, a blank
        // quantity.
        RuleRecord o(ORVc::Number);
        OrderRow(o.record, "GHOST", 3);
        OrderRow(o.record, "B", 0);
        uint8_t row[ORVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(ORVc::Number, o.record, 1, row));
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(row, ORVc::Rows::Quantity, blank);
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o.record, 1, row));
        EXPECT_TRUE(OrderReservedStock(o.record, 1));
    }
    EXPECT_EQ(Stock("A", "L2", LSVc::OnOrders), 9);
    EXPECT_EQ(Stock("A", "L2", LSVc::Reserved), 9);
    EXPECT_EQ(Stock("B", "L2", LSVc::OnOrders), 2);
    EXPECT_FALSE(HasStockRecord("S"));
    EXPECT_FALSE(HasStockRecord("GHOST"));
    EXPECT_FALSE(HasStockRecord("K"));

    uint32_t plain = Insert(ORVc::Number, [](uint8_t *o) {
        PutText(o, ORVc::Location, 10, "L2");
        OrderRow(o, "A", 1);
    });
    ASSERT_NE(plain, 0u);
    EXPECT_EQ(Stock("A", "L2", LSVc::OnOrders), 10);
    EXPECT_EQ(Stock("A", "L2", LSVc::Reserved), 9);

    ASSERT_TRUE(Update(ORVc::Number, reserving, [](uint8_t *o) {
        uint8_t row[ORVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(ORVc::Number, o, 0, row));
        PutDec(row, ORVc::Rows::Quantity, Dec(2));
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, row));
    }));
    EXPECT_EQ(Stock("A", "L2", LSVc::OnOrders), 7);
    EXPECT_EQ(Stock("A", "L2", LSVc::Reserved), 6);
    ASSERT_TRUE(Delete(ORVc::Number, reserving));
    ASSERT_TRUE(Delete(ORVc::Number, plain));
    EXPECT_EQ(Stock("A", "L2", LSVc::OnOrders), 0);
    EXPECT_EQ(Stock("A", "L2", LSVc::Reserved), 0);
    EXPECT_EQ(Stock("B", "L2", LSVc::OnOrders), 0);
}

// A purchase order counts what is left to receive, never below zero; a
// confirmed one counts its ordered quantity on confirmed orders; a closed
// one counts nothing.
TEST_F(StockDocsTest, PurchaseOrdersToReceive) {
    uint32_t po = Insert(PurchOrderVc::Number, [](uint8_t *p) {
        PutText(p, PurchOrderVc::Location, 10, "L3");
        PoRow(p, "A", 10, 4);
        PoRow(p, "B", 5, 7);
    });
    ASSERT_NE(po, 0u);
    EXPECT_EQ(Stock("A", "L3", LSVc::ToReceive), 6);
    EXPECT_EQ(Stock("B", "L3", LSVc::ToReceive), 0);
    EXPECT_EQ(Stock("A", "L3", LSVc::OnConfPO), 0);
    uint32_t confirmed = Insert(PurchOrderVc::Number, [](uint8_t *p) {
        PutText(p, PurchOrderVc::Location, 10, "L3");
        PutU16(p, PurchOrderVc::Confirmed, 1);
        PoRow(p, "A", 3);
    });
    ASSERT_NE(confirmed, 0u);
    EXPECT_EQ(Stock("A", "L3", LSVc::ToReceive), 9);
    EXPECT_EQ(Stock("A", "L3", LSVc::OnConfPO), 3);
    uint32_t closed = Insert(PurchOrderVc::Number, [](uint8_t *p) {
        PutU16(p, PurchOrderVc::Closed, 1);
        PoRow(p, "A", 8);
    });
    ASSERT_NE(closed, 0u);
    EXPECT_EQ(Stock("A", "L1", LSVc::ToReceive), 0);
    ASSERT_TRUE(Delete(PurchOrderVc::Number, po));
    EXPECT_EQ(Stock("A", "L3", LSVc::ToReceive), 3);
}

// The pending-delivery quantity follows only what an unshipped delivery
// added; the order's rows follow the delivery, shipped or not.
TEST_F(StockDocsTest, DeliveriesPendingQuantityAndOrderRows) {
    StoreStock("A", "L1", 100);
    uint32_t order = Insert(ORVc::Number, [](uint8_t *o) { OrderRow(o, "A", 10); });
    ASSERT_NE(order, 0u);
    RuleRecord o(ORVc::Number);
    ASSERT_TRUE(RecReadById(ORVc::Number, order, o.record));
    const uint32_t orderNr = GetU32(o.record, ORVc::SerNr);

    uint32_t d = Insert(SHVc::Number, [&](uint8_t *r) {
        PutU32(r, SHVc::OrderNr, orderNr);
        ShipRow(r, "A", 5, 0);
    });
    ASSERT_NE(d, 0u);
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 5);
    EXPECT_EQ(RowQty(ORVc::Number, orderNr, ORVc::SerNr, 0, ORVc::Rows::QtyDelivered), 5);
    ASSERT_TRUE(Update(SHVc::Number, d, [](uint8_t *r) {
        uint8_t row[SHVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(SHVc::Number, r, 0, row));
        PutDec(row, SHVc::Rows::ToDeliver, Dec(3));
        ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, r, 0, row));
    }));
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 3);
    EXPECT_EQ(RowQty(ORVc::Number, orderNr, ORVc::SerNr, 0, ORVc::Rows::QtyDelivered), 3);
    ASSERT_TRUE(Update(SHVc::Number, d, [](uint8_t *r) { PutU16(r, SHVc::Shipped, 1); }));
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 0);
    EXPECT_EQ(Stock("A", "L1", LSVc::InStock), 97);
    EXPECT_EQ(Stock("A", "L1", LSVc::OnOrders), 7);
    EXPECT_EQ(RowQty(ORVc::Number, orderNr, ORVc::SerNr, 0, ORVc::Rows::QtyShipped), 3);
    EXPECT_EQ(History("A", "L1", SHVc::Number), -3);

    // A link outside the order's rows is refused at the link.
    EXPECT_EQ(Insert(
                  SHVc::Number,
                  [&](uint8_t *r) {
                      PutU32(r, SHVc::OrderNr, orderNr);
                      ShipRow(r, "B", 1, 7);
                  },
                  true),
              0u);
    char unknown[256];
    GetUiTextC(unknown, Texts::CodeUnknown);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), unknown);
    EXPECT_EQ(FieldErrorPos.column, SHVc::Rows::OrderRowNr);

    // Inserted shipped: stock and history move, the pending quantity not.
    uint32_t shipped = Insert(SHVc::Number, [&](uint8_t *r) {
        PutU32(r, SHVc::OrderNr, orderNr);
        PutU16(r, SHVc::Shipped, 1);
        ShipRow(r, "A", 2, 0);
        ShipRow(r, "B", 1);
    });
    ASSERT_NE(shipped, 0u);
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 0);
    EXPECT_EQ(Stock("A", "L1", LSVc::InStock), 95);
    EXPECT_EQ(RowQty(ORVc::Number, orderNr, ORVc::SerNr, 0, ORVc::Rows::QtyShipped), 5);

    uint32_t pending = Insert(SHVc::Number, [](uint8_t *r) { ShipRow(r, "A", 4); });
    ASSERT_NE(pending, 0u);
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 4);
    ASSERT_TRUE(Delete(SHVc::Number, pending));
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 0);
}

// Kind 15 ships once and kind 20 receives once, however often they run.
TEST_F(StockDocsTest, ShipAndReceiveKindsRunOnce) {
    StoreStock("A", "L1", 20);
    uint32_t d = Insert(SHVc::Number, [](uint8_t *r) { ShipRow(r, "A", 4); });
    uint32_t p = Insert(PUVc::Number, [](uint8_t *r) { PurchaseRow(r, "B", 6, 3); });
    ASSERT_NE(d, 0u);
    ASSERT_NE(p, 0u);
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 4);
    for (int i = 0; i < 2; i++) {
        EXPECT_TRUE(ApproveRecord(15, SHVc::Number, d));
        EXPECT_TRUE(ApproveRecord(20, PUVc::Number, p));
    }
    EXPECT_EQ(Stock("A", "L1", LSVc::InStock), 16);
    EXPECT_EQ(Stock("A", "L1", LSVc::OnDeliveries), 0);
    EXPECT_EQ(History("A", "L1", SHVc::Number), -4);
    EXPECT_EQ(Stock("B", "L1", LSVc::InStock), 6);
    EXPECT_EQ(History("B", "L1", PUVc::Number), 6);
    RuleRecord r(SHVc::Number);
    ASSERT_TRUE(RecReadById(SHVc::Number, d, r.record));
    EXPECT_EQ(GetU16(r.record, SHVc::Shipped), 1);
}

// With stock vouchers on, a delivery shipped and a purchase received by
// their list's kinds are refused while their date lies in the voucher
// lock, told as their windows tell it, with nothing of them done: no
// stock moved, no voucher. Once the lock is moved back both go through.
TEST_F(StockDocsTest, ShipAndReceiveKindsKeepOutOfTheVoucherLock) {
    StockVouchersOn();
    StockAccounts();
    StoreAccount("2390", "Purchase clearing", 1);
    std::vector<uint8_t> block(SalesAccountsBlk::Size);
    ASSERT_TRUE(SettingsBlockRead(SalesAccountsBlk::Number, block.data(), SalesAccountsBlk::Size));
    PutText(block.data(), SalesAccountsBlk::PurchClearingAcc, 10, "2390");
    StoreBlock(SalesAccountsBlk::Number, block.data(), SalesAccountsBlk::Size);
    block.assign(PostingBlk::Size, 0);
    ASSERT_TRUE(SettingsBlockRead(PostingBlk::Number, block.data(), PostingBlk::Size));
    PutU16(block.data(), PostingBlk::PurchVouchers, 1);
    StoreBlock(PostingBlk::Number, block.data(), PostingBlk::Size);
    // A received at 10 before the lock, so that its delivery has a cost to book.
    uint32_t stocked = Insert(PUVc::Number, [](uint8_t *r) { PurchaseRow(r, "A", 20, 10); });
    ASSERT_NE(stocked, 0u);
    ASSERT_TRUE(ApproveRecord(20, PUVc::Number, stocked));
    uint32_t d = Insert(SHVc::Number, [](uint8_t *r) { ShipRow(r, "A", 4); });
    uint32_t p = Insert(PUVc::Number, [](uint8_t *r) { PurchaseRow(r, "B", 6, 3); });
    ASSERT_NE(d, 0u);
    ASSERT_NE(p, 0u);
    auto lockVouchersTo = [this](DateRec lock) {
        std::vector<uint8_t> locks(DateLockBlk::Size, 0);
        PutDate(locks.data(), DateLockBlk::LedgerLock, lock);
        StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    };
    auto flag = [](int reg, uint32_t id, uint32_t at) {
        RuleRecord r(reg);
        return RecReadById(reg, id, r.record) ? GetU16(r.record, at) : uint16_t(99);
    };
    const uint32_t vouchersBefore = RegRecordCount(TRVc::Number);
    lockVouchersTo(TodayDate);
    shown.clear();
    EXPECT_TRUE(ApproveRecord(15, SHVc::Number, d));
    EXPECT_TRUE(ApproveRecord(20, PUVc::Number, p));
    char locked[256];
    GetUiTextC(locked, Texts::DateLocked);
    EXPECT_EQ(shown, (std::vector<std::string>{locked, locked}));
    EXPECT_EQ(flag(SHVc::Number, d, SHVc::Shipped), 0);
    EXPECT_EQ(flag(PUVc::Number, p, PUVc::Received), 0);
    EXPECT_EQ(Stock("A", "L1", LSVc::InStock), 20);
    EXPECT_EQ(Stock("B", "L1", LSVc::InStock), 0);
    EXPECT_EQ(RegRecordCount(TRVc::Number), vouchersBefore);

    lockVouchersTo(DateRec{});
    EXPECT_TRUE(ApproveRecord(15, SHVc::Number, d));
    EXPECT_TRUE(ApproveRecord(20, PUVc::Number, p));
    EXPECT_EQ(flag(SHVc::Number, d, SHVc::Shipped), 1);
    EXPECT_EQ(flag(PUVc::Number, p, PUVc::Received), 1);
    EXPECT_EQ(Stock("A", "L1", LSVc::InStock), 16);
    EXPECT_EQ(RegRecordCount(TRVc::Number), vouchersBefore + 2);
}

// Moving average: 10 at 10 and 10 received at 12 give 11; a receipt into
// stock that stays at or below zero takes the row's cost; method 1 takes
// the row's cost always.
TEST_F(StockDocsTest, CostPriceFromReceivedPurchases) {
    auto method = [](const char *item, uint16_t m) {
        RuleRecord r(INVc::Number);
        PutText(r.record, INVc::Code, 20, item);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position));
        PutU16(r.record, INVc::CostMethod, m);
        ASSERT_TRUE(RecStore(INVc::Number, r.record, 1, &recid));
    };
    auto cost = [](const char *item) {
        RuleRecord r(INVc::Number);
        PutText(r.record, INVc::Code, 20, item);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position));
        PackedDecimal c = GetDec(r.record, INVc::CostPrice);
        return DecToDouble(&c);
    };
    method("A", 2);
    method("B", 2);
    StoreStock("A", "L1", 10);
    StoreStock("B", "L1", -20);
    ASSERT_NE(Insert(PUVc::Number, [](uint8_t *r) {
                  PutU16(r, PUVc::Received, 1);
                  PurchaseRow(r, "A", 10, 12);
                  PurchaseRow(r, "B", 5, 7);
              }),
              0u);
    EXPECT_EQ(cost("A"), 11);
    EXPECT_EQ(cost("B"), 7);
    // An unreceived purchase changes no cost; receiving it by update does.
    method("A", 1);
    uint32_t later = Insert(PUVc::Number, [](uint8_t *r) { PurchaseRow(r, "A", 1, 15); });
    ASSERT_NE(later, 0u);
    EXPECT_EQ(cost("A"), 11);
    ASSERT_TRUE(Update(PUVc::Number, later, [](uint8_t *r) { PutU16(r, PUVc::Received, 1); }));
    EXPECT_EQ(cost("A"), 15);
    EXPECT_EQ(Stock("A", "L1", LSVc::InStock), 21);
}

// Purchases follow their purchase order's rows: on purchases at once,
// received when received; the order's stock to receive follows.
TEST_F(StockDocsTest, PurchasesUpdateTheirPurchaseOrder) {
    uint32_t po = Insert(PurchOrderVc::Number, [](uint8_t *p) { PoRow(p, "A", 10); });
    ASSERT_NE(po, 0u);
    RuleRecord r(PurchOrderVc::Number);
    ASSERT_TRUE(RecReadById(PurchOrderVc::Number, po, r.record));
    const uint32_t poNr = GetU32(r.record, PurchOrderVc::SerNr);
    uint32_t p = Insert(PUVc::Number, [&](uint8_t *x) {
        PutU32(x, PUVc::POSerNr, poNr);
        PurchaseRow(x, "A", 4, 2, 0);
    });
    ASSERT_NE(p, 0u);
    {
        // A link outside the order's rows that reaches the hooks (an import,
        // say) is passed over.
        RuleRecord stray(PUVc::Number);
        PutU32(stray.record, PUVc::POSerNr, poNr);
        PurchaseRow(stray.record, "A", 1, 2, 9);
        EXPECT_TRUE(UpdatePurchaseOrderReceived(stray.record, nullptr, 0));
        EXPECT_EQ(Insert(PUVc::Number, [&](uint8_t *x) {
                      PutU32(x, PUVc::POSerNr, poNr);
                      PurchaseRow(x, "A", 1, 2, 9);
                  }, true),
                  0u);
    }
    EXPECT_EQ(RowQty(PurchOrderVc::Number, poNr, PurchOrderVc::SerNr, 0, PurchOrderVc::Rows::QtyOnPurchases), 4);
    EXPECT_EQ(RowQty(PurchOrderVc::Number, poNr, PurchOrderVc::SerNr, 0, PurchOrderVc::Rows::QtyReceived), 0);
    EXPECT_EQ(Stock("A", "L1", LSVc::ToReceive), 10);
    ASSERT_TRUE(ApproveRecord(20, PUVc::Number, p));
    EXPECT_EQ(RowQty(PurchOrderVc::Number, poNr, PurchOrderVc::SerNr, 0, PurchOrderVc::Rows::QtyReceived), 4);
    EXPECT_EQ(RowQty(PurchOrderVc::Number, poNr, PurchOrderVc::SerNr, 0, PurchOrderVc::Rows::QtyOnPurchases), 4);
    EXPECT_EQ(Stock("A", "L1", LSVc::ToReceive), 6);
    EXPECT_EQ(Stock("A", "L1", LSVc::InStock), 4);
}

// Productions and movements: stock by location and two-sided history.
TEST_F(StockDocsTest, ProductionsAndMovements) {
    uint32_t prod = Insert(ProductionVc::Number, [](uint8_t *p) {
        PutText(p, ProductionVc::Location, 10, "L2");
        PutDec(p, ProductionVc::Quantity, Dec(3));
        ProdRow(p, "A", 2, 0);
        ProdRow(p, "B", 0, 1);
    });
    ASSERT_NE(prod, 0u);
    EXPECT_EQ(Stock("A", "L2", LSVc::OnOrders), 6);
    EXPECT_EQ(Stock("B", "L2", LSVc::ToReceive), 3);
    ASSERT_TRUE(Update(ProductionVc::Number, prod, [](uint8_t *p) { PutU16(p, ProductionVc::Finished, 1); }));
    EXPECT_EQ(Stock("A", "L2", LSVc::OnOrders), 0);
    EXPECT_EQ(Stock("B", "L2", LSVc::ToReceive), 0);
    EXPECT_EQ(Stock("A", "L2", LSVc::InStock), -6);
    EXPECT_EQ(Stock("B", "L2", LSVc::InStock), 3);
    EXPECT_EQ(History("B", "L2", ProductionVc::Number), 3);
    EXPECT_EQ(History("A", "L2", ProductionVc::Number), -6);

    uint32_t move = Insert(StockMoveVc::Number, [](uint8_t *m) {
        PutText(m, StockMoveVc::FromLocation, 10, "L2");
        PutText(m, StockMoveVc::ToLocation, 10, "L3");
        MoveRow(m, "B", 2);
    });
    ASSERT_NE(move, 0u);
    EXPECT_EQ(Stock("B", "L2", LSVc::InStock), 3);
    ASSERT_TRUE(Update(StockMoveVc::Number, move, [](uint8_t *m) { PutU16(m, StockMoveVc::Done, 1); }));
    EXPECT_EQ(Stock("B", "L2", LSVc::InStock), 1);
    EXPECT_EQ(Stock("B", "L3", LSVc::InStock), 2);
    EXPECT_EQ(History("B", "L2", 65535), -2);
    EXPECT_EQ(History("B", "L3", StockMoveVc::Number), 2);
}

// The FIFO value: newest receipts first, the uncovered part at the
// average, nothing for no quantity, later receipts passed over; an issue
// of the whole quantity costs the same, within stock and beyond it.
TEST_F(StockDocsTest, FifoValueAgreesWithIssueCost) {
    auto value = [](const char *item, double qty, const DateRec *limit = nullptr) {
        PString code, none;
        PStringFromC(code, item);
        none[0] = 0;
        PackedDecimal q = Dec(qty), result;
        DecFromLong(&result, -1);
        StockFifoValue(code, none, &q, &result, false, false, limit);
        return DecIsBlank(&result) ? -99.0 : DecToDouble(&result);
    };
    auto cost = [](const char *item, double onHand, double issued) {
        PString code, none;
        PStringFromC(code, item);
        none[0] = 0;
        PackedDecimal h = Dec(onHand), q = Dec(issued), result;
        DecFromLong(&result, -1);   // what the cost was before the call
        StockFifoCostOfQty(code, none, &h, &q, &result);
        return DecIsBlank(&result) ? -99.0 : DecToDouble(&result);
    };
    Receipt(1, DateRec{1, 2, 2024}, "A", 10, 3);
    Receipt(2, DateRec{1, 3, 2024}, "A", 4, 5);
    Receipt(3, DateRec{1, 2, 2024}, "B", 4, 5);
    EXPECT_EQ(value("A", 10), 38);
    EXPECT_EQ(value("B", 10), 50);
    EXPECT_EQ(value("A", 0), 0);
    EXPECT_EQ(value("GHOST", 3), 0);
    const DateRec feb{15, 2, 2024};
    EXPECT_EQ(value("A", 4, &feb), 12);
    for (double q : {1.0, 4.0, 10.0, 14.0, 20.0}) EXPECT_EQ(value("A", q), cost("A", q, q)) << q;
    EXPECT_EQ(cost("B", 10, 7), 35);   // six units beyond the receipt, at its 5.00
    EXPECT_EQ(cost("S", 10, 7), -1);   // an item it does not know leaves the cost as it was
}

// The structure costs: method 0 from the item's two cost amounts, method
// 1 from its FIFO value per unit; an item outside the code list and an
// item without stock keep their cost; the range's last code is included
// and the next ends the run.
TEST_F(StockDocsTest, StructureCostsByMethod) {
    StoreItem("C", {.cost = 1});
    StoreStructure("K2", {{"A", 1}, {"B", 1}, {"C", 1}});
    StoreStructure("K3", {{"A", 1}});
    auto costs = [](const char *code) {
        RuleRecord r(StructureVc::Number);
        PutText(r.record, StructureVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(StructureVc::Number, r.record, 1, 1, &recid, &position));
        std::vector<double> out;
        uint8_t row[StructureVc::Rows::Size];
        for (int32_t i = 0; MatrixRowRead(StructureVc::Number, r.record, i, row); i++) {
            PackedDecimal c = GetDec(row, StructureVc::Rows::Cost);
            out.push_back(DecIsBlank(&c) ? -99 : DecToDouble(&c));
        }
        return out;
    };
    auto run = [](uint16_t method, const char *range, const char *list) {
        std::vector<uint8_t> sel(ReportParamsVc::Size, 0);
        PutU16(sel.data(), ReportParamsVc::ReportLayout, method);
        PutText(sel.data(), ReportParamsVc::SelText1, 255, range);
        PutText(sel.data(), ReportParamsVc::SelText2, 255, list);
        return ItemStructureBatch(sel.data());
    };
    ASSERT_TRUE(run(0, "K:K2", ""));
    EXPECT_EQ(costs("K"), (std::vector<double>{10, 4}));
    EXPECT_EQ(costs("K2"), (std::vector<double>{10, 4, 1}));
    EXPECT_EQ(costs("K3"), (std::vector<double>{0}));   // past the range

    // Method 1: A has 10 in stock valued 38 by FIFO, B none, C is not in
    // the list.
    StoreStock("A", "L1", 10);
    Receipt(1, DateRec{1, 2, 2024}, "A", 10, 3);
    Receipt(2, DateRec{1, 3, 2024}, "A", 4, 5);
    ASSERT_TRUE(run(1, "K2", "A,B"));
    EXPECT_EQ(costs("K2"), (std::vector<double>{3.8, 4, 1}));
}

}  // namespace
