// item_structures.cpp - the rows an item structure gives a delivery.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/stock.h"

// Replaces the delivery's (register 8) rows by one row per component of
// structure (register 76) for qty units of item: each structure row with
// a quantity above zero gives a row with no order-row link, the
// component's code and text, no serial number, and remaining quantity and
// quantity to deliver = qty x the component's quantity, its stock blank.
// false, the delivery untouched, when the item or the structure does not
// exist or the rows could not be made.
bool ExplodeItemStructure(const uint8_t *item, const uint8_t *structure, const PackedDecimal *qty, uint8_t *delivery) {
    assert(item && structure && qty && delivery);
    if (item[0] == 0 || structure[0] == 0) return false;
    RuleRecord goods(INVc::Number), recipe(StructureVc::Number), built(SHVc::Number);
    if (!goods.record || !recipe.record || !built.record) return false;
    uint32_t recid = 0, position = 0;
    PutText(goods.record, INVc::Code, item);
    if (!RecFind(INVc::Number, goods.record, 1, 1, &recid, &position)) return false;
    PutText(recipe.record, StructureVc::Code, structure);
    if (!RecFind(StructureVc::Number, recipe.record, 1, 1, &recid, &position)) return false;

    uint8_t part[StructureVc::Rows::Size], row[SHVc::Rows::Size], text[256];
    PackedDecimal blank;
    DecSetBlank(&blank);
    int32_t count = MatrixRowCount(StructureVc::Number, 0, recipe.record), made = 0;
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(StructureVc::Number, recipe.record, i, part)) continue;
        PackedDecimal per = GetDec(part, StructureVc::Rows::Quantity), want;
        if (DecSign(&per) <= 0) continue;
        DecMul(qty, &per, &want);
        std::memset(row, 0, sizeof row);
        PutU32(row, SHVc::Rows::OrderRowNr, 0xFFFFFFFFu);
        GetText(part, StructureVc::Rows::ItemCode, text);
        PutText(row, SHVc::Rows::ItemCode, text);
        GetText(part, StructureVc::Rows::ItemName, text);
        PutText(row, SHVc::Rows::Text, text);
        PutDec(row, SHVc::Rows::QtyLeft, want);
        PutDec(row, SHVc::Rows::ToDeliver, want);
        PutDec(row, SHVc::Rows::Available, blank);
        if (!MatrixRowPut(SHVc::Number, 0, built.record, made++, row)) return false;
    }
    // The new rows take the place of the old ones; the scope frees what
    // the built record still holds.
    RecFreeMatrix(SHVc::Number, delivery);
    PutU32(delivery, SHVc::Matrix, GetU32(built.record, SHVc::Matrix));
    PutU32(built.record, SHVc::Matrix, 0);
    return true;
}
