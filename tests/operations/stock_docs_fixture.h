// stock_docs_fixture.h - a company for the stock-document tests: three
// items (A and B stocked, K a structure of two A and one B), four
// vendors, three locations, number series for every stock document, and helpers that
// store documents through the record layer and read the stock back.
#pragma once

#include <functional>

#include "database/access/record_access.h"
#include "operations/stock_docs.h"
#include "rules/hooks.h"
#include "tests/rules/stock_fixture.h"

class StockDocsFixture : public StockFixture {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
    void SetUp() override {
        StockFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreItem("A", {.cost = 10});
        StoreItem("B", {.cost = 4});
        StoreRecord(INVc::Number, [](uint8_t *r) {
            PutText(r, INVc::Code, 20, "K");
            PutText(r, INVc::StructCode, 20, "K");
            PutU16(r, INVc::StructFlag, 1);
        });
        StoreItem("S", {.stocked = 0});
        StoreStructure("K", {{"A", 2}, {"B", 1}});
        StoreCustomer("C1");
        // The vendors the purchase documents name: one nobody keeps is refused.
        for (const char *v : {"V1", "V2", "V3", "V4"})
            StoreRecord(VEVc::Number, [v](uint8_t *r) { PutText(r, VEVc::Code, 20, v); });
        for (const char *l : {"L1", "L2", "L3"}) StoreLocation(l);
        MainLocation("L1");
        AddSeriesRow(OrderSeriesBlk::Number, 1, 99999);
        AddSeriesRow(DeliverySeriesBlk::Number, 1, 99999);
        AddSeriesRow(PurchSeriesBlk::Number, 1, 99999);
        AddSeriesRow(StockMoveSeriesBlk::Number, 1, 99999);
        AddSeriesRow(PurchOrderSeriesBlk::Number, 1, 99999);
        AddSeriesRow(ProdSeriesBlk::Number, 1, 99999);
    }

    using Fill = std::function<void(uint8_t *)>;

    // Inserts a record of reg through the checked insert; its id, 0 when
    // refused (a failure unless refusalExpected).
    uint32_t Insert(int reg, const Fill &fill, bool refusalExpected = false) {
        RuleRecord r(reg);
        RecNewDefaults(reg, r.record);
        if (reg == ORVc::Number) PutText(r.record, ORVc::CustCode, 20, "C1");
        fill(r.record);
        uint32_t recid = 0;
        int result = 0;
        shown.clear();
        RecInsertChecked(reg, r.record, &recid, &result);
        if (result != RecDone && !refusalExpected) ADD_FAILURE() << "insert into " << reg << ": " << result << " "
                                             << (shown.empty() ? std::string() : shown.back());
        return result == RecDone ? recid : 0;
    }
    // Reads record recid of reg, changes it and writes it back checked.
    bool Update(int reg, uint32_t recid, const Fill &change) {
        RuleRecord r(reg);
        if (!RecReadById(reg, recid, r.record)) return false;
        change(r.record);
        int result = 0;
        shown.clear();
        RecUpdateChecked(reg, r.record, recid, &result);
        if (result != RecDone) ADD_FAILURE() << "update of " << reg << ": " << result << " "
                                             << (shown.empty() ? std::string() : shown.back());
        return result == RecDone;
    }
    bool Delete(int reg, uint32_t recid) {
        RuleRecord r(reg);
        if (!RecReadById(reg, recid, r.record)) return false;
        return RecDeleteChecked(reg, r.record, &recid, "") == RecDone;
    }
    // A register-6 quantity of item at location (at: an LSVc offset); 0
    // when there is no record.
    static double Stock(const char *item, const char *location, uint32_t at) {
        RuleRecord r(LSVc::Number);
        PutText(r.record, LSVc::ItemCode, 20, item);
        PutText(r.record, LSVc::Location, 10, location);
        uint32_t recid = 0, position = 0;
        if (!RecFindByIndex(LSVc::Number, "ItemLocation", r.record, 2, 1, &recid, &position)) return 0;
        PackedDecimal q = GetDec(r.record, at);
        return DecIsBlank(&q) ? 0 : DecToDouble(&q);
    }
    static bool HasStockRecord(const char *item) {
        RuleRecord r(LSVc::Number);
        PutText(r.record, LSVc::ItemCode, 20, item);
        uint32_t recid = 0, position = 0;
        return RecFindByIndex(LSVc::Number, "ItemCode", r.record, 1, 1, &recid, &position);
    }
    // Appends an order row (kind 1) of qty of item; structure "_" for none.
    static void OrderRow(uint8_t *o, const char *item, double qty, const char *structure = "_") {
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        PutText(row, ORVc::Rows::ItemCode, 20, item);
        PutDec(row, ORVc::Rows::Quantity, Dec(qty));
        PutText(row, ORVc::Rows::StructCode, 20, structure);
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, MatrixRowCount(ORVc::Number, 0, o), row));
    }
    static void PoRow(uint8_t *p, const char *item, double qty, double received = 0) {
        uint8_t row[PurchOrderVc::Rows::Size] = {};
        PutU16(row, PurchOrderVc::Rows::Kind, 1);
        PutText(row, PurchOrderVc::Rows::ItemCode, 20, item);
        PutDec(row, PurchOrderVc::Rows::Quantity, Dec(qty));
        PutDec(row, PurchOrderVc::Rows::QtyReceived, Dec(received));
        ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, p, MatrixRowCount(PurchOrderVc::Number, 0, p), row));
    }
    static void PurchaseRow(uint8_t *p, const char *item, double qty, double unit, uint32_t poRow = SerialNone) {
        uint8_t row[PUVc::Rows::Size] = {};
        PutText(row, PUVc::Rows::ItemCode, 20, item);
        PutDec(row, PUVc::Rows::Quantity, Dec(qty));
        PutDec(row, PUVc::Rows::UnitCost, Dec(unit));
        PutU32(row, PUVc::Rows::PORowNr, poRow);
        ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, p, MatrixRowCount(PUVc::Number, 0, p), row));
    }
    // A delivery row linked to order row orderRow (SerialNone: none).
    static void ShipRow(uint8_t *d, const char *item, double qty, uint32_t orderRow = SerialNone) {
        uint8_t row[SHVc::Rows::Size] = {};
        PutU32(row, SHVc::Rows::OrderRowNr, orderRow);
        PutText(row, SHVc::Rows::ItemCode, 20, item);
        PutDec(row, SHVc::Rows::QtyLeft, Dec(qty));
        PutDec(row, SHVc::Rows::ToDeliver, Dec(qty));
        PutText(row, SHVc::Rows::StructCode, 20, "_");
        ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, d, MatrixRowCount(SHVc::Number, 0, d), row));
    }
    static void MoveRow(uint8_t *m, const char *item, double qty) {
        uint8_t row[StockMoveVc::Rows::Size] = {};
        PutText(row, StockMoveVc::Rows::ItemCode, 20, item);
        PutDec(row, StockMoveVc::Rows::Quantity, Dec(qty));
        ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, m, MatrixRowCount(StockMoveVc::Number, 0, m), row));
    }
    static void ProdRow(uint8_t *p, const char *item, double used, double made) {
        uint8_t row[ProductionVc::Rows::Size] = {};
        PutText(row, ProductionVc::Rows::ItemCode, 20, item);
        PutDec(row, ProductionVc::Rows::QtyUsed, Dec(used));
        PutDec(row, ProductionVc::Rows::QtyMade, Dec(made));
        ASSERT_TRUE(MatrixRowPut(ProductionVc::Number, 0, p, MatrixRowCount(ProductionVc::Number, 0, p), row));
    }
    // A row quantity of a stored order or purchase order (at: its offset).
    static double RowQty(int reg, uint32_t serial, uint32_t serialAt, int32_t row, uint32_t at) {
        RuleRecord r(reg);
        PutU32(r.record, serialAt, serial);
        uint32_t recid = 0, position = 0;
        if (!RecFind(reg, r.record, 1, 1, &recid, &position)) return -999;
        std::vector<uint8_t> buf(RecRowSize(reg));
        if (!MatrixRowRead(reg, r.record, row, buf.data())) return -999;
        PackedDecimal q = GetDec(buf.data(), at);
        return DecIsBlank(&q) ? 0 : DecToDouble(&q);
    }
    // The summed history quantity of item at location of documents of type.
    static double History(const char *item, const char *location, uint16_t type) {
        double sum = 0;
        uint8_t h[ItemHistVc::Size];
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAtIndex(ItemHistVc::Number, "ItemDate", p, h, &recid); p++) {
            if (Text(h, ItemHistVc::ItemCode) != item || GetU16(h, ItemHistVc::DocType) != type) continue;
            if (location && Text(h, ItemHistVc::Location) != location) continue;
            PackedDecimal q = GetDec(h, ItemHistVc::Quantity);
            sum += DecToDouble(&q);
        }
        return sum;
    }
};
