// production_rows.cpp - the rows of a production from its item's
// structure.
#include <cassert>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/stock.h"

namespace Production = ProductionVc;
namespace ProductionRow = ProductionVc::Rows;
namespace Structure = StructureVc;
namespace StructureRow = StructureVc::Rows;

namespace {

// A production holds at most this many rows; a serial-tracked component
// with a huge quantity would otherwise make a row per unit without end.
constexpr int32_t ProductionRowLimit = 32767;

// Serial tracking with one unit per serial number.
constexpr uint16_t SerialOnePerUnit = 1;

// Gives the production a new, empty row block in place of its rows.
void EmptyProductionRows(uint8_t *production) {
    RecFreeMatrix(Production::Number, production);
    PutU32(production, Production::Matrix, MemAlloc(0));
}

// The serial tracking of item code (0 when there is no such item).
uint16_t SerialTrackingOf(const uint8_t *code) {
    RuleRecord item(INVc::Number);
    if (!item.record) return 0;
    PutText(item.record, INVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.record, 1, 1, &recid, &position)) return 0;
    return GetU16(item.record, INVc::SerialMode);
}

// The number of units in qty: its whole part, 0 for a negative quantity
// and limit + 1 for one beyond limit (the caller refuses it).
int32_t WholeUnits(const PackedDecimal *qty, int32_t limit) {
    __int128 thousandths = 0;
    if (!DecToThousandths(qty, &thousandths) || thousandths < 0) return 0;
    const __int128 units = thousandths / 1000;
    return units > limit ? limit + 1 : (int32_t)units;
}

// Copies a structure row's item code and text into a production row.
void CopyItemAndText(const uint8_t *srow, uint8_t *row) {
    uint8_t text[256];
    GetText(srow, StructureRow::ItemCode, text);
    PutText(row, ProductionRow::ItemCode, text);
    GetText(srow, StructureRow::ItemName, text);
    PutText(row, ProductionRow::ItemName, text);
}

// Appends row to the production; false when the rows could not grow or
// the production is full.
bool AppendRow(uint8_t *production, const uint8_t *row) {
    const int32_t n = MatrixRowCount(Production::Number, 0, production);
    if (n >= ProductionRowLimit) return false;
    return MatrixRowPut(Production::Number, 0, production, n, row);
}

// Appends one production row per unit of the structure row's quantity at
// qtyAt (the quantity used or made): each with quantity 1 there, a blank
// quantity on the other side, the item, text and both amounts.
bool AppendUnitRows(uint8_t *production, const uint8_t *srow, uint32_t qtyAt) {
    const PackedDecimal qty = GetDec(srow, qtyAt);
    if (DecIsBlank(&qty)) return true;
    const int32_t units = WholeUnits(&qty, ProductionRowLimit);
    uint8_t row[ProductionRow::Size] = {};
    CopyItemAndText(srow, row);
    PackedDecimal one, blank;
    DecFromLong(&one, 1);
    DecSetBlank(&blank);
    const bool used = qtyAt == StructureRow::Quantity;
    PutDec(row, ProductionRow::QtyUsed, used ? one : blank);
    PutDec(row, ProductionRow::QtyMade, used ? blank : one);
    PutDec(row, ProductionRow::UnitCost, GetDec(srow, StructureRow::Cost));
    PutDec(row, ProductionRow::ExtraCost, GetDec(srow, StructureRow::Cost2));
    for (int32_t i = 0; i < units; i++)
        if (!AppendRow(production, row)) return false;
    return true;
}

// Appends the structure row as one production row with both quantities.
bool AppendWholeRow(uint8_t *production, const uint8_t *srow) {
    uint8_t row[ProductionRow::Size] = {};
    CopyItemAndText(srow, row);
    PutDec(row, ProductionRow::QtyUsed, GetDec(srow, StructureRow::Quantity));
    PutDec(row, ProductionRow::QtyMade, GetDec(srow, StructureRow::QuantityIn));
    PutDec(row, ProductionRow::UnitCost, GetDec(srow, StructureRow::Cost));
    PutDec(row, ProductionRow::ExtraCost, GetDec(srow, StructureRow::Cost2));
    return AppendRow(production, row);
}

}  // namespace

// Replaces the production's rows by those of the structure named by its
// item code: one row per structure row, or for a component tracked one
// unit per serial number one row per whole unit of its quantity used and
// of its quantity made (a fraction is dropped), so each unit can carry its
// serial. The production's text becomes the structure's. false, with an
// empty row block, when there is no structure or the rows would pass the
// production's row limit.
bool FillProductionFromStructure(uint8_t *production) {
    assert(production);
    EmptyProductionRows(production);
    RuleRecord structure(Structure::Number);
    if (!structure.record) return false;
    uint8_t code[256];
    GetText(production, Production::ItemCode, code);
    PutText(structure.record, Structure::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(Structure::Number, structure.record, 1, 1, &recid, &position)) return false;

    uint8_t text[256];
    GetText(structure.record, Structure::Text, text);
    PutText(production, Production::StructText, text);

    uint8_t srow[StructureRow::Size], item[256];
    const int32_t n = MatrixRowCount(Structure::Number, 0, structure.record);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(Structure::Number, structure.record, i, srow)) break;
        GetText(srow, StructureRow::ItemCode, item);
        bool ok;
        if (SerialTrackingOf(item) == SerialOnePerUnit)
            ok = AppendUnitRows(production, srow, StructureRow::Quantity) &&
                 AppendUnitRows(production, srow, StructureRow::QuantityIn);
        else
            ok = AppendWholeRow(production, srow);
        if (!ok) {
            EmptyProductionRows(production);
            return false;
        }
    }
    return true;
}
