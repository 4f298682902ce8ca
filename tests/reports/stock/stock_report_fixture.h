// stock_report_fixture.h - the report company of report_fixture.h with a
// stock history for the item and stock reports.
//
// StoreStockHistory() lays down, on top of the sales history:
//   purchase 1   1.2.2024  MAIN  ITEM1 100 at 55.00 (the fixture's layer)
//   purchase 2   1.2.2024  MAIN  ITEM2  40 at 18.00 (the fixture's layer)
//   purchase 3   1.3.2024  MAIN  ITEM1  20 at 65.00; ITEM1 in stock 120
//   purchase 4   2.3.2024  MAIN  SER1 units "A1" and "A2" at 30.00
//   movement 1   5.3.2024  MAIN -> SHOP  ITEM2 10 at 18.00 (the receipt
//                at SHOP at 19.00); ITEM2 30 at MAIN, 10 at SHOP
//   production 1 8.3.2024  MAIN  one KIT made of two ITEM1 and one ITEM2
//   delivery 3   9.3.2024  one KIT, a structure that holds two ITEM1
//   delivery 4   9.3.2024  SER1 unit "A1"
//   invoice 7   12.3.2024  credit note of one ITEM2
//   invoice 8   13.3.2024  one ITEM1 invoiced from order 1 (its stock
//                moves with the order's deliveries)
// with the item history of invoices 1, 3, 7 and 8 as the invoices write it;
// ITEM1's minimum stock is 120, ITEM2's 50.
// Item KIT (structure KIT: ITEM1 2, ITEM2 1, a batch of 1), ITEM3 (in no
// stock, a structure of ITEM1 and ITEM2), LOOP whose structure holds
// LOOPB whose structure holds LOOP again; supplier rows of register 56
// for ITEM1 (V1, minimum 150) and ITEM2 (V2); price list "PL" with
// ITEM1 at 90.00; item history (register 59) and serial history (103)
// for every document above.
#pragma once

#include "operations/sales_invoice.h"
#include "tests/reports/report_fixture.h"

class StockReportFixture : public ReportFixture {
protected:
    static constexpr const char *Main = InvoiceCo::Location, *Shop = "SHOP";

    void StoreStockHistory() {
        StoreSalesHistory();
        ASSERT_FALSE(HasFatalFailure());
        StoreLocation(Shop, InvoiceCo::Stock);
        StoreItem("KIT", {.group = "G2", .price = 300, .cost = 150, .stocked = 0, .structure = "KIT",
                          .vatCode = "1", .name = "Widget kit"});
        SetStructFlag("KIT");
        StoreStructure("KIT", {{"ITEM1", 2}, {"ITEM2", 1}, {"KIT", 0, 1}});
        StoreItem("ITEM3", {.group = "G1", .price = 10, .cost = 4, .structure = "KIT3", .vatCode = "1",
                            .name = "Widget pair"});
        StoreStructure("KIT3", {{"ITEM1", 1}, {"ITEM2", 4}});
        StoreItem("LOOP", {.group = "G2", .stocked = 1, .structure = "LOOP", .name = "Loop"});
        StoreItem("LOOPB", {.group = "G2", .stocked = 1, .structure = "LOOPB", .name = "Loop part"});
        StoreStructure("LOOP", {{"LOOPB", 1}, {"ITEM1", 1}});
        StoreStructure("LOOPB", {{"LOOP", 1}});
        StoreItem("SER1", {.group = "G1", .price = 80, .cost = 30, .serialMode = 1, .vatCode = "1",
                           .name = "Serial widget"});

        Purchase(1, {1, 2, 2024}, {{"ITEM1", 100, 55}});
        Purchase(2, {1, 2, 2024}, {{"ITEM2", 40, 18}});
        Purchase(3, {1, 3, 2024}, {{"ITEM1", 20, 65}});
        StoreFifoLayer("ITEM1", Main, {1, 3, 2024}, 20, PUVc::Number, 3);
        AddStock("ITEM1", Main, 20);
        Purchase(4, {2, 3, 2024}, {{"SER1", 1, 30, "A1"}, {"SER1", 1, 30, "A2"}});
        StoreFifoLayer("SER1", Main, {2, 3, 2024}, 2, PUVc::Number, 4);
        AddStock("SER1", Main, 2);
        SerialHistory("SER1", "A1", {2, 3, 2024}, PUVc::Number, 4, Main);
        SerialHistory("SER1", "A2", {2, 3, 2024}, PUVc::Number, 4, Main);

        StoreRecord(StockMoveVc::Number, [&](uint8_t *r) {
            PutU32(r, StockMoveVc::SerNr, 1);
            PutDate(r, StockMoveVc::MoveDate, DateRec{5, 3, 2024});
            PutText(r, StockMoveVc::FromLocation, 10, Main);
            PutText(r, StockMoveVc::ToLocation, 10, Shop);
            PutText(r, StockMoveVc::Text, 60, "To the shop");
            PutU16(r, StockMoveVc::Done, 1);
            uint8_t row[StockMoveVc::Rows::Size] = {};
            PutText(row, StockMoveVc::Rows::ItemCode, 20, "ITEM2");
            PutDec(row, StockMoveVc::Rows::Quantity, Dec(10));
            PutText(row, StockMoveVc::Rows::Text, 60, "Red widget");
            PutDec(row, StockMoveVc::Rows::BaseCost, Dec(18));
            PutDec(row, StockMoveVc::Rows::UnitCost, Dec(19));
            ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, r, 0, row));
        });
        History("ITEM2", Main, {5, 3, 2024}, MoveOut, 1, 0, -10);
        StoreFifoLayer("ITEM2", Shop, {5, 3, 2024}, 10, StockMoveVc::Number, 1);
        AddStock("ITEM2", Main, -10);
        StoreStock("ITEM2", Shop, 10);

        StoreRecord(ProductionVc::Number, [&](uint8_t *r) {
            PutU32(r, ProductionVc::SerNr, 1);
            PutDate(r, ProductionVc::ProdDate, DateRec{8, 3, 2024});
            PutDec(r, ProductionVc::Quantity, Dec(1));
            PutText(r, ProductionVc::ItemCode, 20, "KIT");
            PutText(r, ProductionVc::Location, 10, Main);
            PutU16(r, ProductionVc::Finished, 1);
            const struct {
                const char *item;
                double used, made, cost;
            } rows[] = {{"ITEM1", 2, 0, 55}, {"ITEM2", 1, 0, 18}, {"KIT", 0, 1, 128}};
            for (const auto &x : rows) {
                uint8_t row[ProductionVc::Rows::Size] = {};
                PutText(row, ProductionVc::Rows::ItemCode, 20, x.item);
                if (x.used != 0) PutDec(row, ProductionVc::Rows::QtyUsed, Dec(x.used));
                else PackBlank(row, ProductionVc::Rows::QtyUsed);
                if (x.made != 0) PutDec(row, ProductionVc::Rows::QtyMade, Dec(x.made));
                else PackBlank(row, ProductionVc::Rows::QtyMade);
                PutDec(row, ProductionVc::Rows::UnitCost, Dec(x.cost));
                ASSERT_TRUE(MatrixRowPut(ProductionVc::Number, 0, r, MatrixRowCount(ProductionVc::Number, 0, r), row));
            }
        });
        History("ITEM1", Main, {8, 3, 2024}, ProductionVc::Number, 1, 0, -2);
        History("ITEM2", Main, {8, 3, 2024}, ProductionVc::Number, 1, 1, -1);
        StoreFifoLayer("KIT", Main, {8, 3, 2024}, 1, ProductionVc::Number, 1, 2);
        AddStock("ITEM1", Main, -2);
        AddStock("ITEM2", Main, -1);

        Delivery(3, "KIT", 1, "", 0);
        History("ITEM1", Main, {9, 3, 2024}, SHVc::Number, 3, 0, -2);
        Delivery(4, "SER1", 1, "A1", 1);
        History("SER1", Main, {9, 3, 2024}, SHVc::Number, 4, 0, -1);
        SerialHistory("SER1", "A1", {9, 3, 2024}, SHVc::Number, 4, Main);
        AddStock("ITEM1", Main, -2);
        AddStock("SER1", Main, -1);
        SerialStock("SER1", "A2", Main, 1);
        SerialStock("SER1", "A1", Main, 0);

        StoreInvoiceAsIs({.serial = 7, .date = {12, 3, 2024}, .kind = 3},
                         {{.item = "ITEM2", .qty = 1, .price = 50}}, 0, 50, 12.5);
        StoreInvoiceAsIs({.serial = 8, .date = {13, 3, 2024}}, {{.item = "ITEM1", .qty = 1, .price = 100}}, 0, 100, 25);
        SetInvoiceOrder(8, 1);
        for (int32_t serial : {1, 3, 7, 8}) InvoiceHistory(serial);
        AddStock("ITEM2", Main, 1);
        SetMinStock("ITEM1", 120);
        SetMinStock("ITEM2", 50);

        Supplier("ITEM1", "V1", "Blue widget from V1", 150);
        Supplier("ITEM2", "V2", "Red widget from V2", 0);
        StoreRecord(PriceListVc::Number, [&](uint8_t *r) {
            PutText(r, PriceListVc::Code, 5, "PL");
            PutText(r, PriceListVc::Name, 60, "Trade prices");
        });
        StoreRecord(PriceVc::Number, [&](uint8_t *r) {
            PutText(r, PriceVc::PriceList, 5, "PL");
            PutText(r, PriceVc::ItemCode, 20, "ITEM1");
            PutDec(r, PriceVc::Price, Dec(90));
        });
    }

    static constexpr uint16_t MoveOut = 0xFFFF;

    // A purchase row: item, quantity, unit cost and serial text.
    struct PurchaseRow {
        const char *item;
        double qty, cost;
        const char *serial = "";
    };
    void Purchase(uint32_t serial, DateRec date, std::initializer_list<PurchaseRow> rows) {
        StoreRecord(PUVc::Number, [&](uint8_t *r) {
            PutU32(r, PUVc::SerNr, serial);
            PutDate(r, PUVc::TransDate, date);
            PutText(r, PUVc::Location, 10, Main);
            PutU16(r, PUVc::Received, 1);
            for (const PurchaseRow &x : rows) {
                uint8_t row[PUVc::Rows::Size] = {};
                PutText(row, PUVc::Rows::ItemCode, 20, x.item);
                PutDec(row, PUVc::Rows::Quantity, Dec(x.qty));
                PutDec(row, PUVc::Rows::UnitCost, Dec(x.cost));
                PutText(row, PUVc::Rows::SerialNr, 30, x.serial);
                ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, r, MatrixRowCount(PUVc::Number, 0, r), row));
            }
        });
    }
    // A shipped delivery of one row (no order) at MAIN.
    void Delivery(uint32_t serial, const char *item, double qty, const char *unit, double cost) {
        StoreRecord(SHVc::Number, [&](uint8_t *r) {
            PutU32(r, SHVc::SerNr, serial);
            PutI32(r, SHVc::OrderNr, -1);
            PutDate(r, SHVc::ShipDate, DateRec{9, 3, 2024});
            PutText(r, SHVc::CustCode, 20, "C1");
            PutText(r, SHVc::Location, 10, Main);
            PutU16(r, SHVc::Shipped, 1);
            uint8_t row[SHVc::Rows::Size] = {};
            PutText(row, SHVc::Rows::ItemCode, 20, item);
            PutDec(row, SHVc::Rows::ToDeliver, Dec(qty));
            PutDec(row, SHVc::Rows::UnitCost, Dec(cost));
            PutText(row, SHVc::Rows::SerialNr, 30, unit);
            ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, r, 0, row));
        });
    }
    // An entry of the item history that takes stock out (receipt flag 0).
    void History(const char *item, const char *location, DateRec date, uint16_t kind, uint32_t doc, uint16_t row,
                 double qty) {
        RuleRecord r(ItemHistVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutText(r.record, ItemHistVc::ItemCode, 20, item);
        PutText(r.record, ItemHistVc::Location, 10, location);
        PutU16(r.record, ItemHistVc::DocType, kind);
        PutU32(r.record, ItemHistVc::DocNr, doc);
        PutDate(r.record, ItemHistVc::HistDate, date);
        PutDec(r.record, ItemHistVc::Quantity, Dec(qty));
        PutU16(r.record, ItemHistVc::RowNr, row);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(ItemHistVc::Number, r.record, 0, &recid));
    }
    void SerialHistory(const char *item, const char *unit, DateRec date, uint16_t kind, uint32_t doc,
                       const char *location) {
        RuleRecord r(SerialHistVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutText(r.record, SerialHistVc::ItemCode, 20, item);
        PutText(r.record, SerialHistVc::SerialNr, 30, unit);
        PutDate(r.record, SerialHistVc::HistDate, date);
        PutU16(r.record, SerialHistVc::SourceReg, kind);
        PutU32(r.record, SerialHistVc::SourceNr, doc);
        PutText(r.record, SerialHistVc::Location, 10, location);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(SerialHistVc::Number, r.record, 0, &recid));
    }
    void SerialStock(const char *item, const char *unit, const char *location, double qty) {
        RuleRecord r(SerialStockVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutText(r.record, SerialStockVc::ItemCode, 20, item);
        PutText(r.record, SerialStockVc::SerialNr, 30, unit);
        PutText(r.record, SerialStockVc::Location, 10, location);
        PutDec(r.record, SerialStockVc::Quantity, Dec(qty));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(SerialStockVc::Number, r.record, 0, &recid));
    }
    void Supplier(const char *item, const char *vendor, const char *text, double minimum) {
        StoreRecord(PurchItemVc::Number, [&](uint8_t *r) {
            PutText(r, PurchItemVc::ItemCode, 20, item);
            PutText(r, PurchItemVc::VendCode, 20, vendor);
            PutText(r, PurchItemVc::Text, 60, text);
            PutU16(r, PurchItemVc::Default, 1);
            PutDec(r, PurchItemVc::MinQty, Dec(minimum));
        });
    }
    // Adds delta to the quantity in stock of item at location (a record
    // made when there is none).
    void AddStock(const char *item, const char *location, double delta) {
        RuleRecord r(LSVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutText(r.record, LSVc::ItemCode, 20, item);
        PutText(r.record, LSVc::Location, 10, location);
        uint32_t recid = 0, position = 0;
        if (!RecFindByIndex(LSVc::Number, "ItemLocation", r.record, 2, 1, &recid, &position)) {
            StoreStock(item, location, delta);
            return;
        }
        PackedDecimal q = GetDec(r.record, LSVc::InStock), d = Dec(delta);
        DecAdd(&q, &d, &q);
        PutDec(r.record, LSVc::InStock, q);
        ASSERT_TRUE(RecStore(LSVc::Number, r.record, 1, &recid));
    }
    void SetStructFlag(const char *item) {
        RuleRecord r(INVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutText(r.record, INVc::Code, 20, item);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position));
        PutU16(r.record, INVc::StructFlag, 1);
        ASSERT_TRUE(RecStore(INVc::Number, r.record, 1, &recid));
    }
    // Writes invoice serial's item history as the invoice's stock step does.
    void InvoiceHistory(int32_t serial) {
        RuleRecord r(IVVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutI32(r.record, IVVc::SerNr, serial);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
        StockHistoryFromInvoice(r.record);
    }
    void SetInvoiceOrder(int32_t serial, int32_t order) {
        RuleRecord r(IVVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutI32(r.record, IVVc::SerNr, serial);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
        PutI32(r.record, IVVc::OrderNr, order);
        ASSERT_TRUE(RecStore(IVVc::Number, r.record, 1, &recid));
    }
    void SetMinStock(const char *item, double minimum) {
        RuleRecord r(INVc::Number);
        ASSERT_NE(r.record, nullptr);
        PutText(r.record, INVc::Code, 20, item);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position));
        PutDec(r.record, INVc::MinStock, Dec(minimum));
        ASSERT_TRUE(RecStore(INVc::Number, r.record, 1, &recid));
    }
    static void PackBlank(uint8_t *row, uint32_t field) {
        PackedDecimal b;
        DecSetBlank(&b);
        PutDec(row, field, b);
    }
};
