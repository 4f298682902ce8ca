// item_serials_test.cpp - serial stock by location (register 104) and its
// history (register 103) from stock movements, deliveries, purchases and
// productions, on records kept through the record layer.
#include <algorithm>
#include <tuple>

#include "core/record_buffer.h"
#include "rules/stock.h"
#include "tests/rules/rules_fixture.h"

namespace {

namespace SS = SerialStockVc;
namespace SH = SerialHistVc;

class ItemSerials : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        std::vector<uint8_t> main(MainStockBlk::Size, 0);
        PutText(main.data(), MainStockBlk::MainLocation, 10, "MAIN");
        StoreBlock(MainStockBlk::Number, main.data(), MainStockBlk::Size);
        StoreItem("SER", {.serialMode = 1});
        StoreItem("PLAIN");
        StoreItem("NOSTOCK", {.stocked = 0, .serialMode = 1});
    }
    // The quantity of item and serial at location; -999 when there is no
    // record.
    static double Qty(const char *item, const char *location, const char *serial) {
        RuleRecord r(SS::Number);
        PutText(r.record, SS::ItemCode, 20, item);
        PutText(r.record, SS::Location, 10, location);
        PutText(r.record, SS::SerialNr, 30, serial);
        uint32_t recid = 0, pos = 0;
        if (!RecFindByIndex(SS::Number, "ItemLocation", r.record, 3, 1, &recid, &pos)) return -999;
        PackedDecimal q = GetDec(r.record, SS::Quantity);
        return DecToDouble(&q);
    }
    // Every history record as (item, serial, location, source register,
    // source number, day).
    using Hist = std::tuple<std::string, std::string, std::string, int, uint32_t, int>;
    static std::vector<Hist> History() {
        std::vector<Hist> out;
        RuleRecord r(SH::Number);
        uint32_t recid = 0;
        for (int32_t i = 1; RecReadAt(SH::Number, i, r.record, &recid); i++)
            out.emplace_back(Text(r.record, SH::ItemCode), Text(r.record, SH::SerialNr), Text(r.record, SH::Location),
                             GetU16(r.record, SH::SourceReg), GetU32(r.record, SH::SourceNr),
                             GetDate(r.record, SH::HistDate).day);
        std::sort(out.begin(), out.end());
        return out;
    }
    template <typename Fill>
    static void AddRow(int reg, uint8_t *record, Fill fill) {
        std::vector<uint8_t> row(RecRowSize(reg), 0);
        fill(row.data());
        ASSERT_TRUE(MatrixRowPut(reg, 0, record, MatrixRowCount(reg, 0, record), row.data()));
    }
};

// Two units of S1 moved from A to B: A -2, B +2, and two history records
// (92 receiving, 65535 issuing). A plain item without a record changes
// nothing and leaves no history; once it has a record, that record moves.
// An empty location is the main location.
TEST_F(ItemSerials, StockMovementMovesBothSides) {
    namespace M = StockMoveVc;
    RuleRecord move(M::Number);
    PutU32(move.record, M::SerNr, 501);
    PutText(move.record, M::FromLocation, 10, "A");
    PutText(move.record, M::ToLocation, 10, "");
    PutDate(move.record, M::MoveDate, {7, 3, 2024});
    auto row = [&](const char *item, const char *serial, double qty) {
        AddRow(M::Number, move.record, [&](uint8_t *r) {
            PutText(r, M::Rows::ItemCode, 20, item);
            PutText(r, M::Rows::SerialNr, 30, serial);
            PutDec(r, M::Rows::Quantity, Dec(qty));
        });
    };
    row("SER", "S1", 2);
    row("PLAIN", "P1", 5);
    row("NOSTOCK", "N1", 1);
    ASSERT_TRUE(ItemSerialsFromStockMove(move.record));
    EXPECT_EQ(Qty("SER", "A", "S1"), -2);
    EXPECT_EQ(Qty("SER", "MAIN", "S1"), 2);
    EXPECT_EQ(Qty("PLAIN", "A", "P1"), -999);
    EXPECT_EQ(Qty("PLAIN", "MAIN", "P1"), -999);
    EXPECT_EQ(Qty("NOSTOCK", "MAIN", "N1"), -999);   // not a stock item: no record made
    std::vector<Hist> want = {{"NOSTOCK", "N1", "A", 65535, 501, 7}, {"NOSTOCK", "N1", "MAIN", 92, 501, 7},
                              {"SER", "S1", "A", 65535, 501, 7},     {"SER", "S1", "MAIN", 92, 501, 7}};
    EXPECT_EQ(History(), want);

    // A record made by hand for the plain item: the next movement moves it.
    StoreRecord(SS::Number, [&](uint8_t *r) {
        PutText(r, SS::ItemCode, 20, "PLAIN");
        PutText(r, SS::Location, 10, "A");
        PutText(r, SS::SerialNr, 30, "P1");
        PutDec(r, SS::Quantity, Dec(10));
    });
    ASSERT_TRUE(ItemSerialsFromStockMove(move.record));
    EXPECT_EQ(Qty("PLAIN", "A", "P1"), 5);
    EXPECT_EQ(Qty("SER", "A", "S1"), -4);
    EXPECT_EQ(Qty("SER", "MAIN", "S1"), 4);
    EXPECT_EQ(History().size(), 8u);
}

// A purchase brings S1 and S2 in at its location, a delivery takes S1 out
// of its own, and a production of 2 uses one S2 per unit and makes one S3
// per unit at the main location; every row of a serial item leaves history
// under its document.
TEST_F(ItemSerials, PurchaseDeliveryAndProduction) {
    RuleRecord purchase(PUVc::Number);
    PutU32(purchase.record, PUVc::SerNr, 11);
    PutText(purchase.record, PUVc::Location, 10, "A");
    PutDate(purchase.record, PUVc::TransDate, {2, 4, 2024});
    for (const char *s : {"S1", "S2"})
        AddRow(PUVc::Number, purchase.record, [&](uint8_t *r) {
            PutText(r, PUVc::Rows::ItemCode, 20, "SER");
            PutText(r, PUVc::Rows::SerialNr, 30, s);
            PutDec(r, PUVc::Rows::Quantity, Dec(s[1] == '1' ? 1 : 3));
        });
    ASSERT_TRUE(ItemSerialsFromPurchase(purchase.record));

    RuleRecord delivery(SHVc::Number);
    PutU32(delivery.record, SHVc::SerNr, 22);
    PutText(delivery.record, SHVc::Location, 10, "A");
    PutDate(delivery.record, SHVc::ShipDate, {3, 4, 2024});
    AddRow(SHVc::Number, delivery.record, [&](uint8_t *r) {
        PutText(r, SHVc::Rows::ItemCode, 20, "SER");
        PutText(r, SHVc::Rows::SerialNr, 30, "S1");
        PutText(r, SHVc::Rows::Location, 10, "ELSEWHERE");   // the delivery's location counts
        PutDec(r, SHVc::Rows::ToDeliver, Dec(1));
    });
    ASSERT_TRUE(ItemSerialsFromDelivery(delivery.record));
    EXPECT_EQ(Qty("SER", "A", "S1"), 0);
    EXPECT_EQ(Qty("SER", "A", "S2"), 3);
    EXPECT_EQ(Qty("SER", "ELSEWHERE", "S1"), -999);

    namespace P = ProductionVc;
    RuleRecord prod(P::Number);
    PutU32(prod.record, P::SerNr, 33);
    PutDate(prod.record, P::ProdDate, {4, 4, 2024});
    PutDec(prod.record, P::Quantity, Dec(2));
    PackedDecimal blank;
    DecSetBlank(&blank);
    AddRow(P::Number, prod.record, [&](uint8_t *r) {
        PutText(r, P::Rows::ItemCode, 20, "SER");
        PutText(r, P::Rows::SerialNr, 30, "S2");
        PutDec(r, P::Rows::QtyUsed, Dec(1));
        PutDec(r, P::Rows::QtyMade, blank);
    });
    AddRow(P::Number, prod.record, [&](uint8_t *r) {
        PutText(r, P::Rows::ItemCode, 20, "SER");
        PutText(r, P::Rows::SerialNr, 30, "S3");
        PutDec(r, P::Rows::QtyUsed, blank);
        PutDec(r, P::Rows::QtyMade, Dec(1));
    });
    ASSERT_TRUE(ItemSerialsFromProduction(prod.record));
    EXPECT_EQ(Qty("SER", "MAIN", "S2"), -2);
    EXPECT_EQ(Qty("SER", "MAIN", "S3"), 2);

    std::vector<Hist> want = {{"SER", "S1", "A", 4, 11, 2},   {"SER", "S1", "A", 8, 22, 3},
                              {"SER", "S2", "A", 4, 11, 2},   {"SER", "S2", "MAIN", 77, 33, 4},
                              {"SER", "S3", "MAIN", 77, 33, 4}};
    EXPECT_EQ(History(), want);
}

}  // namespace
