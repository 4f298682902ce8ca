// structure_costs.cpp - batch routine 23: the component costs of item
// structures refreshed from their items.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "operations/stock_docs.h"
#include "rules/code_budgets.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

// The cost of one component of item by method into cost; false when the
// row keeps its cost: method 1 for an item without stock above zero
// would divide by nothing.
bool ComponentCost(const uint8_t *item, uint16_t method, PackedDecimal *cost) {
    if (method == 0) {
        PackedDecimal a = GetDec(item, INVc::CostPrice), b = GetDec(item, INVc::AddCost);
        DecAdd(&a, &b, cost);
        return true;
    }
    uint8_t code[256], all[1] = {0};
    GetText(item, INVc::Code, code);
    return ItemFifoUnitCost(code, all, false, cost);
}

// Refreshes the rows of one structure; false when its store failed.
bool RefreshStructure(uint8_t *structure, uint32_t recid, const uint8_t *selection, uint8_t *item) {
    uint8_t list[256], group[256], code[256], itemGroup[256], row[StructureVc::Rows::Size];
    GetText(selection, ReportParamsVc::SelText2, list);
    GetText(selection, ReportParamsVc::SelText3, group);
    const uint16_t method = GetU16(selection, ReportParamsVc::ReportLayout);
    int32_t count = MatrixRowCount(StructureVc::Number, 0, structure);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(StructureVc::Number, structure, i, row)) continue;
        GetText(row, StructureVc::Rows::ItemCode, code);
        if (list[0] != 0 && !CodeListContains(code, list)) continue;
        PutText(item, INVc::Code, code);
        uint32_t id = 0, position = 0;
        if (!RecFind(INVc::Number, item, 1, 1, &id, &position)) continue;
        GetText(item, INVc::Group, itemGroup);
        if (group[0] != 0 && !PStringEqual(group, itemGroup)) continue;
        PackedDecimal qty = GetDec(row, StructureVc::Rows::Quantity), cost;
        if (DecIsBlank(&qty) || !ComponentCost(item, method, &cost)) continue;
        PutDec(row, StructureVc::Rows::Cost, cost);
        MatrixRowPut(StructureVc::Number, 0, structure, i, row);
    }
    if (RecStore(StructureVc::Number, structure, 1, &recid)) return true;
    ShowTextMessage(Texts::RecordNotStored);
    return false;
}

}  // namespace

// Walks the structures from the first code of the range (index 1, not
// exact) by position until the last code is passed or the user cancels.
bool ItemStructureBatch(const uint8_t *selection) {
    assert(selection);
    uint8_t range[256], from[256], to[256];
    GetText(selection, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    RuleRecord structure(StructureVc::Number), item(INVc::Number);
    if (!structure.record || !item.record) return false;
    PutText(structure.record, StructureVc::Code, from);
    uint32_t recid = 0, position = 0;
    if (!RecFind(StructureVc::Number, structure.record, 1, 0, &recid, &position)) return true;
    uint8_t code[256];
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAt(StructureVc::Number, (int32_t)p, structure.record, &recid)) break;
        GetText(structure.record, StructureVc::Code, code);
        if (to[0] != 0 && PStringCompare(code, to) > 0) break;
        if (UserCancelFlag) break;
        if (!RefreshStructure(structure.record, recid, selection, item.record)) return false;
    }
    return true;
}
