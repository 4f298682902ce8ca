// The stock documents through the text import: documents stored with
// their hooks, exported, and imported into the same company emptied of
// them and of the stock they made, give the same location stock and item
// history (but the pending quantity of unshipped deliveries, which an
// import does not count) and report no effect as not done.
#include <map>
#include <random>
#include <string>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

class StockImport : public ExchangeFixture {
protected:
    static PackedDecimal Num(int v) {
        PackedDecimal d;
        DecFromLong(&d, v);
        return d;
    }
    static void Text(uint8_t *base, uint32_t at, int max, const std::string &text) {
        PString p;
        PStringFromC(p, text.c_str());
        PutPString(base, at, max, p);
    }
    // The register-6 quantities of the company by item and location, the
    // records holding only zeros left out.
    static std::map<std::string, std::vector<double>> StockFigures() {
        std::map<std::string, std::vector<double>> out;
        uint8_t r[LSVc::Size];
        uint32_t recid = 0;
        PString item, loc;
        for (int32_t p = 1; RecReadAtIndex(LSVc::Number, "ItemLocation", p, r, &recid); p++) {
            std::vector<double> q;
            bool any = false;
            for (uint32_t at : {LSVc::InStock, LSVc::OnOrders, LSVc::Reserved, LSVc::OnConfPO, LSVc::ToReceive}) {
                PackedDecimal d = GetDec(r, at);
                q.push_back(DecIsBlank(&d) ? 0 : DecToDouble(&d));
                any |= q.back() != 0;
            }
            GetText(r, LSVc::ItemCode, item);
            GetText(r, LSVc::Location, loc);
            if (any) out[PStringToStd(item) + "/" + PStringToStd(loc)] = q;
        }
        return out;
    }
    // The item history summed by item, location and document type.
    static std::map<std::string, double> HistoryFigures() {
        std::map<std::string, double> out;
        uint8_t h[ItemHistVc::Size];
        uint32_t recid = 0;
        PString item, loc;
        for (int32_t p = 1; RecReadAtIndex(ItemHistVc::Number, "ItemDate", p, h, &recid); p++) {
            GetText(h, ItemHistVc::ItemCode, item);
            GetText(h, ItemHistVc::Location, loc);
            PackedDecimal q = GetDec(h, ItemHistVc::Quantity);
            out[PStringToStd(item) + "/" + PStringToStd(loc) + "/" + std::to_string(GetU16(h, ItemHistVc::DocType))] +=
                DecToDouble(&q);
        }
        return out;
    }
};

TEST_F(StockImport, ImportedDocumentsMoveStockAsTheirHooksDo) {
    RulesInstall();
    for (const char *code : {"A", "B"}) {
        RuleRecord item(INVc::Number);
        Text(item.record, INVc::Code, 20, code);
        PutU16(item.record, INVc::Stocked, 1);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(INVc::Number, item.record, 0, &recid));
    }
    std::mt19937 rng(41);
    const char *locations[] = {"L1", "L2", "L3"};
    const int regs[] = {ORVc::Number, PurchOrderVc::Number, PUVc::Number, SHVc::Number, ProductionVc::Number,
                        StockMoveVc::Number};
    uint32_t serial = 100;
    for (int i = 0; i < 60; i++) {
        const int reg = regs[rng() % 6];
        RuleRecord r(reg);
        const std::string item = rng() % 2 ? "A" : "B", loc = locations[rng() % 3];
        const int qty = 1 + (int)(rng() % 9);
        const bool flag = rng() % 2;
        switch (reg) {
        case ORVc::Number: {
            PutU32(r.record, ORVc::SerNr, serial++);
            // The file carries no reserve word: an imported order does not
            // reserve, so the orders here do not either.
            Text(r.record, ORVc::Location, 10, loc);
            uint8_t row[ORVc::Rows::Size] = {};
            PutU16(row, ORVc::Rows::Kind, 1);
            Text(row, ORVc::Rows::ItemCode, 20, item);
            PutDec(row, ORVc::Rows::Quantity, Num(qty));
            Text(row, ORVc::Rows::StructCode, 20, "_");
            ASSERT_TRUE(MatrixRowPut(reg, 0, r.record, 0, row));
            break;
        }
        case PurchOrderVc::Number: {
            PutU32(r.record, PurchOrderVc::SerNr, serial++);
            // Nor a purchase order's location: these stay at the main one.
            PutU16(r.record, PurchOrderVc::Confirmed, flag);
            uint8_t row[PurchOrderVc::Rows::Size] = {};
            Text(row, PurchOrderVc::Rows::ItemCode, 20, item);
            PutDec(row, PurchOrderVc::Rows::Quantity, Num(qty));
            ASSERT_TRUE(MatrixRowPut(reg, 0, r.record, 0, row));
            break;
        }
        case PUVc::Number: {
            PutU32(r.record, PUVc::SerNr, serial++);
            PutU32(r.record, PUVc::POSerNr, SerialNone);
            Text(r.record, PUVc::Location, 10, loc);
            PutU16(r.record, PUVc::Received, flag);
            uint8_t row[PUVc::Rows::Size] = {};
            Text(row, PUVc::Rows::ItemCode, 20, item);
            PutDec(row, PUVc::Rows::Quantity, Num(qty));
            PutU32(row, PUVc::Rows::PORowNr, SerialNone);
            ASSERT_TRUE(MatrixRowPut(reg, 0, r.record, 0, row));
            break;
        }
        case SHVc::Number: {
            PutU32(r.record, SHVc::SerNr, serial++);
            PutU32(r.record, SHVc::OrderNr, SerialNone);
            Text(r.record, SHVc::Location, 10, loc);
            PutU16(r.record, SHVc::Shipped, flag);
            uint8_t row[SHVc::Rows::Size] = {};
            PutU32(row, SHVc::Rows::OrderRowNr, SerialNone);
            Text(row, SHVc::Rows::ItemCode, 20, item);
            PutDec(row, SHVc::Rows::ToDeliver, Num(qty));
            Text(row, SHVc::Rows::StructCode, 20, "_");
            ASSERT_TRUE(MatrixRowPut(reg, 0, r.record, 0, row));
            break;
        }
        case ProductionVc::Number: {
            PutU32(r.record, ProductionVc::SerNr, serial++);
            Text(r.record, ProductionVc::Location, 10, loc);
            PutDec(r.record, ProductionVc::Quantity, Num(1 + (int)(rng() % 3)));
            PutU16(r.record, ProductionVc::Finished, flag);
            uint8_t row[ProductionVc::Rows::Size] = {};
            Text(row, ProductionVc::Rows::ItemCode, 20, item);
            PutDec(row, ProductionVc::Rows::QtyUsed, Num(qty));
            PutDec(row, ProductionVc::Rows::QtyMade, Num(0));
            ASSERT_TRUE(MatrixRowPut(reg, 0, r.record, 0, row));
            Text(row, ProductionVc::Rows::ItemCode, 20, item == "A" ? "B" : "A");
            PutDec(row, ProductionVc::Rows::QtyUsed, Num(0));
            PutDec(row, ProductionVc::Rows::QtyMade, Num(1));
            ASSERT_TRUE(MatrixRowPut(reg, 0, r.record, 1, row));
            break;
        }
        default: {
            PutU32(r.record, StockMoveVc::SerNr, serial++);
            Text(r.record, StockMoveVc::FromLocation, 10, loc);
            Text(r.record, StockMoveVc::ToLocation, 10, loc == std::string("L1") ? "L2" : "L1");
            PutU16(r.record, StockMoveVc::Done, flag);
            uint8_t row[StockMoveVc::Rows::Size] = {};
            Text(row, StockMoveVc::Rows::ItemCode, 20, item);
            PutDec(row, StockMoveVc::Rows::Quantity, Num(qty));
            ASSERT_TRUE(MatrixRowPut(reg, 0, r.record, 0, row));
            break;
        }
        }
        uint32_t recid = 0;
        ASSERT_TRUE(RecInsertUnchecked(reg, r.record, &recid)) << reg;
    }
    const auto stock = StockFigures();
    const std::map<std::string, double> history = HistoryFigures();
    ASSERT_FALSE(stock.empty());
    ASSERT_FALSE(history.empty());

    static int exported;
    std::string text;
    for (int reg : regs) {
        exported = reg;
        text += ExportBytes([] { RegExportAll(exported); });
    }
    for (int reg : regs) ASSERT_TRUE(RegDeleteAll(reg));
    ASSERT_TRUE(RegDeleteAll(LSVc::Number));
    ASSERT_TRUE(RegDeleteAll(ItemHistVc::Number));
    ImportResult = ImportResultRec{};
    MessagesShown.clear();
    ImportBytes(text);
    EXPECT_EQ(ImportResult.refused, 0u);
    EXPECT_EQ(ImportResult.effectsSkipped, 0u);
    EXPECT_EQ(Shown(Texts::ImportEffectsSkipped), 0);
    EXPECT_EQ(StockFigures(), stock);
    EXPECT_EQ(HistoryFigures(), history);
    // The same file again finds every document stored: nothing moves twice.
    ImportBytes(text);
    EXPECT_EQ(StockFigures(), stock);
    EXPECT_EQ(HistoryFigures(), history);
    RegisterHooksClear();
}

}  // namespace
