// stock_services.cpp - stock services of the sales and stock operations:
// serial quantities by location, delivery row costs, structure rows
// expanded for printing.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

// The document numbers whose forms print structure rows expanded.
constexpr int DocShipmentForm = -3, DocDeliveryForm = -7;

// Appends row to the rows of the delivery copy; false when it cannot grow.
bool AppendRow(uint8_t *copy, const uint8_t *row) {
    return MatrixRowPut(SHVc::Number, 0, copy, MatrixRowCount(SHVc::Number, 0, copy), row);
}

}  // namespace

// True when the register-104 entry of item with serial at location (empty:
// block 203's main location), found by index "ItemSerial", holds at least
// qty.
bool SerialQtyAtLocation(const uint8_t *item, const uint8_t *serial, const uint8_t *location,
                         const PackedDecimal *qty) {
    assert(item && serial && location && qty);
    RuleRecord entry(SerialStockVc::Number);
    if (!entry.record) return false;
    uint8_t at[256];
    PStringCopy(at, location);
    if (at[0] == 0)
        if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
            GetText(block, MainStockBlk::MainLocation, at);
    PutText(entry.record, SerialStockVc::ItemCode, item);
    PutText(entry.record, SerialStockVc::SerialNr, serial);
    PutText(entry.record, SerialStockVc::Location, at);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(SerialStockVc::Number, "ItemSerial", entry.record, 3, 1, &recid, &position)) return false;
    PackedDecimal held = GetDec(entry.record, SerialStockVc::Quantity);
    return DecCompare(&held, qty) >= 0;
}

// Sets the unit cost of each row of a delivery (register 8) that has an
// item and a quantity to deliver: the FIFO cost of that quantity at the
// delivery's location divided by the quantity; blank for a service or an
// unknown item, which have no stock cost, and for an item without receipts.
void DeliveryRowsCostPrice(uint8_t *delivery) {
    assert(delivery);
    uint8_t row[SHVc::Rows::Size], item[256], location[256];
    GetText(delivery, SHVc::Location, location);
    int32_t count = MatrixRowCount(SHVc::Number, 0, delivery);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, delivery, i, row)) continue;
        GetText(row, SHVc::Rows::ItemCode, item);
        PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver), cost, unit;
        if (item[0] == 0 || DecIsZero(&qty)) continue;
        DecSetBlank(&cost);
        FifoIssueCost(item, location, &qty, &cost);
        if (DecIsBlank(&cost)) DecSetBlank(&unit);
        else DecDiv(&cost, &qty, &unit);
        PutDec(row, SHVc::Rows::UnitCost, unit);
        if (!MatrixRowPut(SHVc::Number, 0, delivery, i, row)) return;
    }
}

// Makes copy, the copy of a delivery (register 8) that the form of
// document prints, with rows of its own (copy's rows slot is overwritten;
// the caller frees them). For document -3 while word 0 of block 223 is 0,
// and -7 while its word 1 is 0, a row naming a structure is followed by
// its components (first word -2, remaining quantity blank, no structure)
// and itself gets a blank quantity and the structure mark "_". false, copy
// without rows, when the rows could not be made.
bool ExpandStructureRowsForPrint(int document, const uint8_t *record, uint8_t *copy) {
    assert(record && copy);
    uint8_t words[StructPrintBlk::Size] = {};
    bool expand = false;
    if (document == DocShipmentForm || document == DocDeliveryForm) {
        if (!SettingsBlockRead(StructPrintBlk::Number, words, sizeof words)) std::memset(words, 0, sizeof words);
        uint32_t at = document == DocShipmentForm ? StructPrintBlk::NoExpandShipment : StructPrintBlk::NoExpandDelivery;
        expand = GetU16(words, at) == 0;
    }
    std::memmove(copy, record, SHVc::Size);
    PutU32(copy, SHVc::Matrix, 0);
    RuleRecord parts(SHVc::Number);
    if (!parts.record) return false;
    uint8_t row[SHVc::Rows::Size], item[256], structure[256];
    const uint8_t mark[2] = {1, '_'}, none[1] = {0};
    PackedDecimal blank;
    DecSetBlank(&blank);
    int32_t count = MatrixRowCount(SHVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, record, i, row)) break;
        GetText(row, SHVc::Rows::ItemCode, item);
        GetText(row, SHVc::Rows::StructCode, structure);
        PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver);
        bool exploded = expand && structure[0] != 0 && ExplodeItemStructure(item, structure, &qty, parts.record);
        if (exploded) {
            PutDec(row, SHVc::Rows::ToDeliver, blank);
            PutText(row, SHVc::Rows::StructCode, mark);
        }
        bool ok = AppendRow(copy, row);
        int32_t n = exploded ? MatrixRowCount(SHVc::Number, 0, parts.record) : 0;
        for (int32_t k = 0; ok && k < n; k++) {
            ok = MatrixRowRead(SHVc::Number, parts.record, k, row);
            PutU32(row, SHVc::Rows::OrderRowNr, 0xFFFFFFFEu);
            PutDec(row, SHVc::Rows::QtyLeft, blank);
            PutText(row, SHVc::Rows::StructCode, none);
            ok = ok && AppendRow(copy, row);
        }
        if (!ok) {
            RecFreeMatrix(SHVc::Number, copy);
            return false;
        }
    }
    return true;
}
