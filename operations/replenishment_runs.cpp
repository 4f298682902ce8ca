// replenishment_runs.cpp - the purchase-order and production suggestions:
// a walk over the items of a code or group range that orders or makes
// what each stocked item lacks of its minimum level, and the count of
// what a run could not store, told once at its end.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "dict_offsets.h"
#include "operations/replenishment.h"
#include "operations/stock_docs.h"
#include "rules/documents.h"
#include "rules/replenishment_qty.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

int32_t ReplenishmentNotStored = 0;

void ReplenishmentRunBegin() { ReplenishmentNotStored = 0; }

void ReplenishmentRunEnd(int textNumber) {
    if (ReplenishmentNotStored <= 0) return;
    uint8_t count[256];
    LongToDigitText(ReplenishmentNotStored, count);
    ShowMessage(textNumber, count);
}

namespace {

namespace RP = ReportParamsVc;
namespace Item = INVc;

// The items a suggestion walks: a code range, a group range (walked by
// "Group" when given, else by "Code") and a vendor.
struct ItemSelection {
    uint8_t codeFrom[256], codeTo[256], groupFrom[256], groupTo[256], vendor[256];
    bool byGroup;
};

ItemSelection ReadItemSelection(const uint8_t *block) {
    ItemSelection s{};
    uint8_t range[256];
    GetText(block, RP::SelText1, range);
    RangeSplit(range, s.codeFrom, s.codeTo);
    GetText(block, RP::SelText3, range);
    RangeSplit(range, s.groupFrom, s.groupTo);
    GetTextPrefix(block, RP::SelText7, 20, s.vendor);
    s.byGroup = s.groupFrom[0] != 0 || s.groupTo[0] != 0;
    return s;
}

// 1 when the walk is past its end at item, -1 when item is passed over,
// 0 when it is taken. A group walk meets codes out of order, so there an
// item outside the code range is passed over rather than ending the walk.
int ItemPlace(const ItemSelection &s, const uint8_t *item) {
    uint8_t code[256], group[256], vendor[256];
    GetText(item, Item::Code, code);
    GetText(item, Item::Group, group);
    if (s.byGroup) {
        if (s.groupTo[0] != 0 && PStringCompare(group, s.groupTo) > 0) return 1;
        if (PStringCompare(group, s.groupFrom) < 0) return -1;
        if (s.codeFrom[0] != 0 && PStringCompare(code, s.codeFrom) < 0) return -1;
        if (s.codeTo[0] != 0 && PStringCompare(code, s.codeTo) > 0) return -1;
    } else if (s.codeTo[0] != 0 && PStringCompare(code, s.codeTo) > 0) {
        return 1;
    }
    if (GetU16(item, Item::Stocked) == 0) return -1;
    GetText(item, Item::VendCode, vendor);
    if (s.vendor[0] != 0 && !PStringEqual(vendor, s.vendor)) return -1;
    return 0;
}

// Calls take(item) for each item the block selects, in index order,
// until the walk passes its end or the user cancels (after the item).
template <typename Take>
void WalkItems(const uint8_t *block, Take take) {
    ItemSelection s = ReadItemSelection(block);
    RuleRecord item(Item::Number);
    if (!item.record) return;
    const char *index = s.byGroup ? "Group" : "Code";
    if (s.byGroup)
        PutText(item.record, Item::Group, s.groupFrom);
    else
        PutText(item.record, Item::Code, s.codeFrom);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Item::Number, index, item.record, 1, 0, &recid, &position)) return;
    for (int32_t p = (int32_t)position; RecReadAtIndex(Item::Number, index, p, item.record, &recid); p++) {
        int place = ItemPlace(s, item.record);
        if (place > 0) break;
        if (place == 0) take(item.record);
        if (UserCancelFlag) break;
    }
}

}  // namespace

bool PurchaseOrderSuggestion(const uint8_t *block) {
    assert(block);
    RuleRecord stock(LSVc::Number), supplier(PurchItemVc::Number);
    if (!stock.record || !supplier.record) return false;
    ReplenishmentRunBegin();
    WalkItems(block, [&](const uint8_t *item) {
        PackedDecimal available, qty;
        if (!ItemQtyToOrder(block, item, stock.record, supplier.record, &available, &qty)) return;
        if (DecIsBlank(&qty) || DecSign(&qty) <= 0) return;
        uint8_t code[256];
        GetText(item, Item::Code, code);
        PurchaseOrderAddItem(code, supplier.record, &qty);
    });
    ReplenishmentRunEnd(Texts::ItemsNotOrdered);
    return true;
}

bool ProductionSuggestion(const uint8_t *block) {
    assert(block);
    RuleRecord stock(LSVc::Number), recipe(StructureVc::Number);
    if (!stock.record || !recipe.record) return false;
    ReplenishmentRunBegin();
    WalkItems(block, [&](const uint8_t *item) {
        PackedDecimal available, batches;
        if (!RecipeQtyToMake(item, stock.record, recipe.record, &available, &batches)) return;
        if (DecIsBlank(&batches) || DecSign(&batches) <= 0) return;
        CreateProductionRecord(recipe.record, &batches);
    });
    ReplenishmentRunEnd(Texts::ItemsNotMade);
    return true;
}

bool CreateProductionRecord(const uint8_t *recipe, const PackedDecimal *quantity) {
    assert(recipe && quantity);
    RuleRecord production(ProductionVc::Number);
    if (!production.record) return false;
    uint8_t *p = production.record;
    RecNewDefaults(ProductionVc::Number, p);
    const uint32_t serial = SerialOrNext(ProductionVc::Number, p, ProductionVc::SerNr, ProductionVc::ProdDate);
    uint8_t code[256];
    GetText(recipe, StructureVc::Code, code);
    PutText(p, ProductionVc::ItemCode, code);
    PutDec(p, ProductionVc::Quantity, *quantity);
    FillProductionFromStructure(p);
    StatusMarkProduction(p);
    if (serial == SerialNone) {
        ReplenishmentNotStored++;
        return false;
    }
    uint32_t recid = 0;
    DbHoldBegin();
    bool ok = RecStore(ProductionVc::Number, p, 0, &recid) && ProductionStockRows(p, 1);
    if (!ok) DbHoldFail();
    ok = DbHoldEnd() && ok;
    if (!ok) ReplenishmentNotStored++;
    return ok;
}

// A refused run (RunWrites) has told why and stored nothing: true, as a
// client's refused request answers.
bool PurchaseOrderSuggestionCall(uint8_t *block) {
    assert(block);
    if (RunModeIsClient()) return JobRequestRemote(ReqPurchaseOrderSuggestion, block, RP::Size);
    RunWrites run(ReqPurchaseOrderSuggestion, 0, block);
    return run.refused || PurchaseOrderSuggestion(block);
}

bool ProductionSuggestionCall(uint8_t *block) {
    assert(block);
    if (RunModeIsClient()) return JobRequestRemote(ReqProductionSuggestion, block, RP::Size);
    RunWrites run(ReqProductionSuggestion, 0, block);
    return run.refused || ProductionSuggestion(block);
}
