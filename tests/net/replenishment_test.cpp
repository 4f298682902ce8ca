// The purchase-order and production suggestions over the stock company:
// shortfalls ordered from the default vendor (raised to its minimum
// order quantity), an open order of the vendor taken unless confirmed,
// closed or full, one row per item, purchase quantities by the price
// unit, Esc after the current item, an exhausted series told with its
// count, productions in whole batches, and requests 47 and 48 that make
// the same documents as the local runs. After every run the to-receive
// stock is what the stored documents make it: deleting them through the
// checked delete brings it back to zero.
#include <string>
#include <vector>

#include "core/msg_buffer.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "operations/replenishment.h"
#include "rules/replenishment_qty.h"
#include "rules/stock.h"
#include "tests/operations/stock_docs_fixture.h"

namespace {

namespace RP = ReportParamsVc;
namespace PO = PurchOrderVc;

struct PoRowSeen {
    std::string item, text;
    double qty, priced, sum;
};
struct PoSeen {
    uint32_t recid, serial, salesOrder;
    std::string vendor;
    std::vector<PoRowSeen> rows;
};

class ReplenishmentTest : public StockDocsFixture {
protected:
    std::vector<uint8_t> block = std::vector<uint8_t>(RP::Size, 0);

    void TearDown() override {
        UserCancelFlag = 0;
        StockDocsFixture::TearDown();
    }
    // A stocked item with a minimum level, of vendor and group.
    void Item(const char *code, double minimum, const char *vendor = "", const char *group = "",
              const char *structure = "") {
        StoreRecord(INVc::Number, [&](uint8_t *r) {
            PutText(r, INVc::Code, 20, code);
            PutText(r, INVc::Group, 5, group);
            PutText(r, INVc::VendCode, 10, vendor);
            PutText(r, INVc::StructCode, 20, structure);
            PutDec(r, INVc::MinStock, Dec(minimum));
            PutU16(r, INVc::Stocked, 1);
        });
    }
    // The item's purchase source of vendor (the default one unless asked).
    void Source(const char *item, const char *vendor, double minQty = 0, double threshold = 0, double priceUnit = 1,
                double price = 10, uint16_t isDefault = 1) {
        RuleRecord r(PurchItemVc::Number);
        PutText(r.record, PurchItemVc::ItemCode, 20, item);
        PutText(r.record, PurchItemVc::VendCode, 20, vendor);
        PutText(r.record, PurchItemVc::VendItemCode, 20, (std::string("V-") + item).c_str());
        PutText(r.record, PurchItemVc::Text, 60, (std::string("Bought ") + item).c_str());
        PutDec(r.record, PurchItemVc::Price, Dec(price));
        PutU16(r.record, PurchItemVc::Default, isDefault);
        PutDec(r.record, PurchItemVc::MinQty, Dec(minQty));
        PutDec(r.record, PurchItemVc::Threshold, Dec(threshold));
        PutDec(r.record, PurchItemVc::PriceUnit, Dec(priceUnit));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(PurchItemVc::Number, r.record, 0, &recid));
    }
    // A register-6 total over the item's locations (at: an LSVc offset).
    static double Total(const char *item, uint32_t at) {
        RuleRecord r(LSVc::Number);
        uint8_t code[256];
        const uint8_t all[1] = {0};
        PStringFromC(code, item);
        Register6Lookup(code, all, r.record);
        PackedDecimal q = GetDec(r.record, at);
        return DecIsBlank(&q) ? 0 : DecToDouble(&q);
    }
    static double Num(const uint8_t *b, uint32_t at) {
        PackedDecimal q = GetDec(b, at);
        return DecIsBlank(&q) ? 0 : DecToDouble(&q);
    }
    static std::vector<PoSeen> Orders() {
        std::vector<PoSeen> out;
        RuleRecord p(PO::Number);
        uint32_t recid = 0;
        for (int32_t i = 0; i <= (int32_t)RegRecordCount(PO::Number); i++) {
            if (!RecReadAtIndex(PO::Number, "SerNr", i, p.record, &recid)) continue;
            PoSeen seen{recid, GetU32(p.record, PO::SerNr), GetU32(p.record, PO::SalesOrderNr),
                        Text(p.record, PO::VendCode), {}};
            uint8_t row[PO::Rows::Size];
            for (int32_t k = 0, n = MatrixRowCount(PO::Number, 0, p.record); k < n; k++) {
                if (!MatrixRowRead(PO::Number, p.record, k, row)) continue;
                seen.rows.push_back({Text(row, PO::Rows::ItemCode), Text(row, PO::Rows::Text),
                                     Num(row, PO::Rows::Quantity), Num(row, PO::Rows::PricedQty),
                                     Num(row, PO::Rows::Sum)});
            }
            out.push_back(seen);
        }
        return out;
    }
    // Deletes every purchase order and production through the checked
    // delete: their hooks take back what the runs added by hand.
    void DeleteAllDocuments() {
        for (const PoSeen &o : Orders()) EXPECT_TRUE(Delete(PO::Number, o.recid)) << o.serial;
        RuleRecord p(ProductionVc::Number);
        uint32_t recid = 0;
        while (RecReadAtIndex(ProductionVc::Number, "SerNr", 0, p.record, &recid) ||
               RecReadAtIndex(ProductionVc::Number, "SerNr", 1, p.record, &recid)) {
            if (!Delete(ProductionVc::Number, recid)) break;
        }
    }
    void ExpectNothingToReceive(std::initializer_list<const char *> items) {
        for (const char *item : items) {
            EXPECT_NEAR(Total(item, LSVc::ToReceive), 0, 1e-9) << item;
            EXPECT_NEAR(Total(item, LSVc::OnOrders), 0, 1e-9) << item;
        }
    }
    void Select(const char *items, const char *groups = "", const char *vendor = "") {
        PutText(block.data(), RP::SelText1, 255, items);
        PutText(block.data(), RP::SelText3, 255, groups);
        PutText(block.data(), RP::SelText7, 20, vendor);
    }
};

// Available 2 against a minimum of 10 with a supplier minimum of 12
// orders 12 on one new purchase order of the default vendor, which the
// stock then expects; a second run finds the item covered.
TEST_F(ReplenishmentTest, ShortfallIsOrderedOnceAtTheSupplierMinimum) {
    Item("P1", 10, "V1");
    StoreStock("P1", "L1", 2);
    Source("P1", "V1", 12);
    Source("P1", "V2", 0, 0, 1, 10, 0);   // not the default: never used
    Select("");
    ASSERT_TRUE(PurchaseOrderSuggestionCall(block.data())) << ::testing::PrintToString(shown);
    std::vector<PoSeen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].vendor, "V1");
    ASSERT_EQ(orders[0].rows.size(), 1u);
    EXPECT_EQ(orders[0].rows[0].item, "P1");
    EXPECT_EQ(orders[0].rows[0].text, "Bought P1");
    EXPECT_NEAR(orders[0].rows[0].qty, 12, 1e-9);
    EXPECT_NEAR(orders[0].rows[0].sum, 120, 1e-9);
    EXPECT_NEAR(Total("P1", LSVc::ToReceive), 12, 1e-9);
    ASSERT_TRUE(PurchaseOrderSuggestionCall(block.data()));
    EXPECT_EQ(Orders().size(), 1u);
    EXPECT_NEAR(Orders()[0].rows[0].qty, 12, 1e-9) << "ordered twice";
    DeleteAllDocuments();
    ExpectNothingToReceive({"P1"});
}

// The item filter: no supplier, not stocked, another vendor or outside
// the code range are never ordered; a threshold above the need blanks it.
TEST_F(ReplenishmentTest, ItemsOutsideTheSelectionOrWithoutSupplierAreNotOrdered) {
    Item("P1", 5, "V1");
    Item("P2", 5, "V1");                 // no supplier
    Item("P3", 5, "V2");                 // another vendor
    Source("P3", "V2");
    Item("P4", 5, "V1");
    Source("P4", "V1", 0, 6);            // threshold 6 above the need of 5
    Item("P5", 5, "V1");
    Source("P5", "V1");
    Item("P9", 5, "V1");                 // past the range end
    Source("P9", "V1");
    StoreRecord(INVc::Number, [&](uint8_t *r) {   // not stocked
        PutText(r, INVc::Code, 20, "P6");
        PutDec(r, INVc::MinStock, Dec(5));
        PutText(r, INVc::VendCode, 10, "V1");
    });
    Source("P6", "V1");
    Source("P1", "V1");
    Select("P1:P6", "", "V1");
    ASSERT_TRUE(PurchaseOrderSuggestion(block.data()));
    std::vector<PoSeen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    std::vector<std::string> items;
    for (const PoRowSeen &r : orders[0].rows) items.push_back(r.item);
    EXPECT_EQ(items, (std::vector<std::string>{"P1", "P5"}));
    DeleteAllDocuments();
    ExpectNothingToReceive({"P1", "P5"});
}

// A group range walks by group: items of the groups in range whatever
// their codes, none of a later group.
TEST_F(ReplenishmentTest, GroupRangeWalksTheGroups) {
    Item("Z1", 3, "V1", "G1");
    Item("A1", 3, "V1", "G2");
    Item("M1", 3, "V1", "G3");
    for (const char *c : {"Z1", "A1", "M1"}) Source(c, "V1");
    Select("", "G1:G2");
    ASSERT_TRUE(PurchaseOrderSuggestion(block.data()));
    std::vector<PoSeen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    ASSERT_EQ(orders[0].rows.size(), 2u);
    EXPECT_EQ(orders[0].rows[0].item, "Z1");
    EXPECT_EQ(orders[0].rows[1].item, "A1");
}

// The vendor's open order takes further items in one row per item; a
// confirmed order, a closed one and one of 99 rows are passed over.
TEST_F(ReplenishmentTest, OpenOrderTakesItemsButNotWhenConfirmedClosedOrFull) {
    Item("P1", 0, "V1");
    Source("P1", "V1");
    uint8_t code[256];
    PStringFromC(code, "P1");
    RuleRecord source(PurchItemVc::Number);
    ASSERT_TRUE(ItemDefaultSupplier(block.data(), code, source.record));
    PackedDecimal four = Dec(4), three = Dec(3);
    ASSERT_TRUE(PurchaseOrderAddItem(code, source.record, &four));
    ASSERT_TRUE(PurchaseOrderAddItem(code, source.record, &three));
    std::vector<PoSeen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    ASSERT_EQ(orders[0].rows.size(), 1u);
    EXPECT_NEAR(orders[0].rows[0].qty, 7, 1e-9);
    EXPECT_NEAR(Total("P1", LSVc::ToReceive), 7, 1e-9);

    // Each case with a vendor of its own: an order of V2 confirmed, of V3
    // closed, of V4 with 99 rows; each gets a new order for the item.
    struct Case {
        const char *vendor;
        uint32_t flag;
        int rows;
    };
    for (const Case &c : {Case{"V2", PO::Confirmed, 1}, Case{"V3", PO::Closed, 1}, Case{"V4", 0, 99}}) {
        Insert(PO::Number, [&](uint8_t *p) {
            PutText(p, PO::VendCode, 20, c.vendor);
            if (c.flag != 0) PutU16(p, c.flag, 1);
            for (int i = 0; i < c.rows; i++) PoRow(p, "B", 1);
        });
        PutText(source.record, PurchItemVc::VendCode, 20, c.vendor);
        ASSERT_TRUE(PurchaseOrderAddItem(code, source.record, &four));
        int made = 0;
        for (const PoSeen &o : Orders()) {
            if (o.vendor != c.vendor) continue;
            if (o.rows.size() == 1 && o.rows[0].item == "P1") {
                made++;
                EXPECT_NEAR(o.rows[0].qty, 4, 1e-9);
            }
        }
        EXPECT_EQ(made, 1) << c.vendor;
    }
    EXPECT_NEAR(Total("P1", LSVc::ToReceive), 19, 1e-9);
}

// The purchase quantity is the quantity over the price unit; a unit of
// zero counts the quantity itself.
TEST_F(ReplenishmentTest, PriceUnitGivesThePurchaseQuantity) {
    Item("P1", 8, "V1");
    Source("P1", "V1", 0, 0, 4, 10);
    Item("P2", 6, "V1");
    Source("P2", "V1", 0, 0, 0, 10);
    Select("");
    ASSERT_TRUE(PurchaseOrderSuggestion(block.data()));
    std::vector<PoSeen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    ASSERT_EQ(orders[0].rows.size(), 2u);
    EXPECT_NEAR(orders[0].rows[0].priced, 2, 1e-9);
    EXPECT_NEAR(orders[0].rows[0].sum, 20, 1e-9);
    EXPECT_NEAR(orders[0].rows[1].priced, 6, 1e-9);
    EXPECT_NEAR(orders[0].rows[1].sum, 60, 1e-9);
}

// Esc ends the walk after the item in hand; what was ordered stays.
TEST_F(ReplenishmentTest, EscEndsTheWalkAfterTheCurrentItem) {
    for (const char *c : {"P1", "P2", "P3"}) {
        Item(c, 2, "V1");
        Source(c, "V1");
    }
    Select("P1:P3");
    UserCancelFlag = 1;
    ASSERT_TRUE(PurchaseOrderSuggestion(block.data()));
    std::vector<PoSeen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    ASSERT_EQ(orders[0].rows.size(), 1u);
    EXPECT_EQ(orders[0].rows[0].item, "P1");
}

// With one purchase-order number left the second vendor's item gets no
// order: nothing is stored for it, the stock does not expect it, and the
// run says how many items were not ordered.
TEST_F(ReplenishmentTest, ExhaustedSeriesIsToldWithItsCount) {
    tableRows[PurchOrderSeriesBlk::Number].clear();
    AddSeriesRow(PurchOrderSeriesBlk::Number, 1, 1);
    Item("P1", 4, "V1");
    Source("P1", "V1");
    Item("P2", 4, "V2");
    Source("P2", "V2");
    Item("P3", 4, "V3");
    Source("P3", "V3");
    Select("");
    shown.clear();
    ASSERT_TRUE(PurchaseOrderSuggestion(block.data()));
    EXPECT_EQ(Orders().size(), 1u);
    EXPECT_NEAR(Total("P2", LSVc::ToReceive), 0, 1e-9);
    EXPECT_NEAR(Total("P3", LSVc::ToReceive), 0, 1e-9);
    ASSERT_EQ(shown.size(), 1u) << ::testing::PrintToString(shown);
    EXPECT_NE(shown[0].find("not ordered"), std::string::npos) << shown[0];
    EXPECT_EQ(shown[0].substr(shown[0].size() - 1), "2") << shown[0];
    EXPECT_EQ(ReplenishmentNotStored, 2);
}

// A need of 7 with 3 made a batch is 3 batches, 6 is 2; the production
// holds its structure's rows and the stock expects 9 made and the parts
// used until it is deleted.
TEST_F(ReplenishmentTest, ProductionsInWholeBatches) {
    Item("M", 7, "", "", "MS");
    StoreStructure("MS", {{"A", 2}, {"M", 0, 3}});
    PackedDecimal available, batches;
    RuleRecord item(INVc::Number), stock(LSVc::Number), recipe(StructureVc::Number);
    PutText(item.record, INVc::Code, 20, "M");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(INVc::Number, item.record, 1, 1, &recid, &position));
    ASSERT_TRUE(RecipeQtyToMake(item.record, stock.record, recipe.record, &available, &batches));
    EXPECT_NEAR(DecToDouble(&batches), 3, 1e-9);
    PutDec(item.record, INVc::MinStock, Dec(6));
    ASSERT_TRUE(RecipeQtyToMake(item.record, stock.record, recipe.record, &available, &batches));
    EXPECT_NEAR(DecToDouble(&batches), 2, 1e-9);
    PutText(item.record, INVc::StructCode, 20, "NONE");
    EXPECT_FALSE(RecipeQtyToMake(item.record, stock.record, recipe.record, &available, &batches));

    Select("M");
    ASSERT_TRUE(ProductionSuggestionCall(block.data()));
    RuleRecord p(ProductionVc::Number);
    ASSERT_TRUE(RecReadAtIndex(ProductionVc::Number, "SerNr", 1, p.record, &recid) ||
                RecReadAtIndex(ProductionVc::Number, "SerNr", 0, p.record, &recid));
    EXPECT_EQ(Text(p.record, ProductionVc::ItemCode), "MS");
    EXPECT_NEAR(Num(p.record, ProductionVc::Quantity), 3, 1e-9);
    EXPECT_EQ(MatrixRowCount(ProductionVc::Number, 0, p.record), 2);
    EXPECT_NEAR(Total("M", LSVc::ToReceive), 9, 1e-9);
    EXPECT_NEAR(Total("A", LSVc::OnOrders), 6, 1e-9);
    ASSERT_TRUE(ProductionSuggestion(block.data()));
    EXPECT_EQ(RegRecordCount(ProductionVc::Number), 1u) << "the planned production covers the need";
    DeleteAllDocuments();
    ExpectNothingToReceive({"M", "A"});
}

// Requests 47 and 48, answered by the server's dispatch on the same
// company, make what the local runs make; a job record of another
// length is refused.
bool Loopback(uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
    MsgBuffer in;
    if (!MsgLoad(&in, MsgData(request), MsgLength(request))) return false;
    RunMode = 0;
    bool ok = ServerDispatch(code, &in, reply);
    RunMode = RunModeClient;
    MsgClear(&in);
    MsgRewind(reply);
    return ok;
}

TEST_F(ReplenishmentTest, Requests47And48MakeTheSameDocuments) {
    Item("P1", 10, "V1");
    StoreStock("P1", "L1", 2);
    Source("P1", "V1", 12);
    Item("M", 7, "", "", "MS");
    StoreStructure("MS", {{"A", 2}, {"M", 0, 3}});
    Select("");
    TransportInstall(Loopback, Loopback);
    RunMode = RunModeClient;
    std::vector<uint8_t> shorter(RP::Size - 2, 0);
    JobRequestRemote(ReqPurchaseOrderSuggestion, shorter.data(), (uint32_t)shorter.size());
    EXPECT_EQ(RegRecordCount(PO::Number), 0u);
    EXPECT_TRUE(PurchaseOrderSuggestionCall(block.data()));
    EXPECT_TRUE(ProductionSuggestionCall(block.data()));
    RunMode = 0;
    TransportInstall(nullptr, nullptr);
    std::vector<PoSeen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    ASSERT_EQ(orders[0].rows.size(), 1u);
    EXPECT_NEAR(orders[0].rows[0].qty, 12, 1e-9);
    EXPECT_EQ(RegRecordCount(ProductionVc::Number), 1u);
    EXPECT_NEAR(Total("M", LSVc::ToReceive), 9, 1e-9);
    DeleteAllDocuments();
    ExpectNothingToReceive({"P1", "M", "A"});
}

}  // namespace
