// stock_fixture.h - helpers of the stock tests: purchases that are FIFO
// receipts, deliveries, register-104 serial stock and the settings blocks
// the stock rules read.
#pragma once

#include "tests/rules/rules_fixture.h"

class StockFixture : public RulesFixture {
protected:
    // Stores purchase `serial` receiving qty of item at unitCost at
    // location on date, and its history entry (a FIFO layer).
    void Receipt(uint32_t serial, DateRec date, const char *item, double qty, double unitCost,
                 const char *location = "") {
        StoreRecord(PUVc::Number, [&](uint8_t *r) {
            PutU32(r, PUVc::SerNr, serial);
            PutDate(r, PUVc::TransDate, date);
            PutText(r, PUVc::Location, 10, location);
            uint8_t row[PUVc::Rows::Size] = {};
            PutText(row, PUVc::Rows::ItemCode, 20, item);
            PutDec(row, PUVc::Rows::Quantity, Dec(qty));
            PutDec(row, PUVc::Rows::UnitCost, Dec(unitCost));
            ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, r, 0, row));
        });
        StoreFifoLayer(item, location, date, qty, PUVc::Number, serial);
    }
    // Stores qty of item with serial at location in register 104.
    void SerialStock(const char *item, const char *serial, const char *location, double qty) {
        RuleRecord r(SerialStockVc::Number);
        PutText(r.record, SerialStockVc::ItemCode, 20, item);
        PutText(r.record, SerialStockVc::SerialNr, 30, serial);
        PutText(r.record, SerialStockVc::Location, 10, location);
        PutDec(r.record, SerialStockVc::Quantity, Dec(qty));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(SerialStockVc::Number, r.record, 0, &recid));
    }
    // Appends a delivery row: item, remaining qty, qty to deliver, serial,
    // own location and structure.
    static void DeliveryRow(uint8_t *d, const char *item, double left, double deliver, const char *serial = "",
                            const char *location = "", const char *structure = "") {
        uint8_t row[SHVc::Rows::Size] = {};
        PutText(row, SHVc::Rows::ItemCode, 20, item);
        PutDec(row, SHVc::Rows::QtyLeft, Dec(left));
        PutDec(row, SHVc::Rows::ToDeliver, Dec(deliver));
        PutText(row, SHVc::Rows::SerialNr, 30, serial);
        PutText(row, SHVc::Rows::Location, 10, location);
        PutText(row, SHVc::Rows::StructCode, 20, structure);
        ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, d, MatrixRowCount(SHVc::Number, 0, d), row));
    }
    void MainLocation(const char *code, uint16_t refuseBeyond = 0) {
        std::vector<uint8_t> b(MainStockBlk::Size, 0);
        PutText(b.data(), MainStockBlk::MainLocation, 10, code);
        PutU16(b.data(), MainStockBlk::RefuseBeyondStock, refuseBeyond);
        StoreBlock(MainStockBlk::Number, b.data(), MainStockBlk::Size);
    }
    // Turns delivery and movement vouchers on from start (empty: always).
    void StockVouchersOn(DateRec start = {}) {
        std::vector<uint8_t> b(PostingBlk::Size, 0);
        PutU16(b.data(), PostingBlk::DeliveryVouchers, 1);
        PutDate(b.data(), PostingBlk::DeliveryVoucherStart, start);
        PutU16(b.data(), PostingBlk::StockMoveVouchers, 1);
        PutDate(b.data(), PostingBlk::StockMoveVoucherStart, start);
        StoreBlock(PostingBlk::Number, b.data(), PostingBlk::Size);
    }
    // Stores the accounts of stock vouchers and names them in block 133.
    void StockAccounts() {
        StoreAccount("1460", "Stock", 0);
        StoreAccount("4010", "Cost of goods", 3);
        StoreAccount("3740", "Rounding", 3);
        StoreAccount("4090", "Stock differences", 3);
        std::vector<uint8_t> b(SalesAccountsBlk::Size, 0);
        PutText(b.data(), SalesAccountsBlk::StockAcc, 10, "1460");
        PutText(b.data(), SalesAccountsBlk::CostOfGoodsAcc, 10, "4010");
        PutText(b.data(), SalesAccountsBlk::RoundingAcc, 10, "3740");
        PutText(b.data(), SalesAccountsBlk::StockDiffAcc, 10, "4090");
        StoreBlock(SalesAccountsBlk::Number, b.data(), SalesAccountsBlk::Size);
    }
    static double D(const PackedDecimal &p) { return DecToDouble(&p); }
    // The pending voucher's account rows as (account, amount) in order.
    static std::vector<std::pair<std::string, double>> PendingRows() {
        std::vector<std::pair<std::string, double>> out;
        uint8_t row[TransRow::Size];
        for (int32_t i = 0; i < MatrixRowCount(Voucher::Number, 0, PendingVoucher); i++) {
            if (!MatrixRowRead(Voucher::Number, PendingVoucher, i, row)) break;
            if (GetU16(row, TransRow::Kind) != RowAccount) continue;
            out.emplace_back(Text(row, TransRow::Account), D(GetDec(row, TransRow::Amount)));
        }
        return out;
    }
};
