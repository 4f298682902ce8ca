// component_scan.cpp - how many units of an item its components in stock
// allow, for the item prices and the stock reports, and the walk over a
// structure's component rows that the structure's cost walks too.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/stock.h"
#include "rules/stock_cost_lines.h"

namespace {

// One component of the scan: what is in stock and what the item needs.
struct Component {
    uint8_t code[21];
    PackedDecimal available;   // on hand less the register-6 deduction field
    PackedDecimal reserved;
    PackedDecimal needed;      // per unit (first quantity)
    PackedDecimal neededSecond;
};

// Sub-structures deeper than this are not followed: a structure that
// names itself through its components would otherwise never end.
constexpr int MaxStructureDepth = 16;

// Finds or appends the component of code and adds qty x factor and
// second x factor to its needed sums.
void ComponentListAdd(std::vector<Component> &list, const uint8_t *code, const PackedDecimal *qty,
                      const PackedDecimal *second, const PackedDecimal *factor) {
    Component *c = nullptr;
    for (Component &x : list)
        if (PStringEqual(x.code, code)) c = &x;
    if (!c) {
        Component fresh{};
        PStringCopy(fresh.code, code);
        RuleRecord stock(LocationStock::Number);
        const uint8_t all[1] = {0};
        if (stock.record) Register6Lookup(code, all, stock.record);
        PackedDecimal onHand = stock.record ? GetDec(stock.record, LocationStock::InStock) : PackedDecimal{};
        PackedDecimal deduct = stock.record ? GetDec(stock.record, LocationStock::Amount0) : PackedDecimal{};
        DecSub(&onHand, &deduct, &fresh.available);
        fresh.reserved = stock.record ? GetDec(stock.record, LocationStock::Reserved) : PackedDecimal{};
        DecSetBlank(&fresh.needed);
        DecSetBlank(&fresh.neededSecond);
        list.push_back(fresh);
        c = &list.back();
    }
    PackedDecimal add;
    DecMul(qty, factor, &add);
    DecAdd(&c->needed, &add, &c->needed);
    DecMul(second, factor, &add);
    DecAdd(&c->neededSecond, &add, &c->neededSecond);
}

// Adds the components of the structure of item (its rows naming other
// items) to list, following sub-structures when explode is 1; a row naming
// the item itself sets *batch to its second quantity when batch is given.
void SubStructureScan(const uint8_t *item, std::vector<Component> &list, int explode, PackedDecimal *batch,
                      int depth) {
    RuleRecord goods(INVc::Number);
    if (!goods.record) return;
    uint32_t recid = 0, position = 0;
    PutText(goods.record, INVc::Code, item);
    if (!RecFind(INVc::Number, goods.record, 1, 1, &recid, &position)) return;
    uint8_t structure[256], self[256];
    GetText(goods.record, INVc::Code, self);
    GetText(goods.record, INVc::StructCode, structure);
    if (structure[0] == 0) return;
    PackedDecimal one;
    DecFromLong(&one, 1);
    StructureComponentsWalk(structure, [&](const StructureComponent &c) {
        if (PStringEqual(c.code, self)) {
            if (batch) *batch = c.second;
            return;
        }
        uint8_t sub[256];
        GetText(c.item, INVc::StructCode, sub);
        if (explode == 1 && sub[0] != 0 && depth < MaxStructureDepth)
            SubStructureScan(c.code, list, explode, nullptr, depth + 1);
        else
            ComponentListAdd(list, c.code, &c.quantity, &c.second, &one);
    });
}

}  // namespace

// Each row of the structure naming an existing item, handed to visit with
// that item's record (read into one buffer, valid during the call only).
bool StructureComponentsWalk(const uint8_t *structure, const std::function<void(const StructureComponent &)> &visit) {
    assert(structure);
    RuleRecord recipe(StructureVc::Number), part(INVc::Number);
    if (!recipe.record || !part.record) return false;
    uint32_t recid = 0, position = 0;
    PutText(recipe.record, StructureVc::Code, structure);
    if (structure[0] == 0 || !RecFind(StructureVc::Number, recipe.record, 1, 1, &recid, &position)) return false;
    uint8_t row[StructureVc::Rows::Size], code[256];
    const int32_t count = MatrixRowCount(StructureVc::Number, 0, recipe.record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(StructureVc::Number, recipe.record, i, row)) continue;
        GetText(row, StructureVc::Rows::ItemCode, code);
        if (code[0] == 0) continue;
        RecFreeMatrix(INVc::Number, part.record);   // the text rows of the item read before
        std::memset(part.record, 0, INVc::Size);
        PutText(part.record, INVc::Code, code);
        if (!RecFind(INVc::Number, part.record, 1, 1, &recid, &position)) continue;
        visit(StructureComponent{code, GetDec(row, StructureVc::Rows::Quantity),
                                 GetDec(row, StructureVc::Rows::QuantityIn), part.record});
    }
    return true;
}

// How many units of item its components in stock allow, into result:
// the smallest available / needed over the components that are needed at
// all (a component with a zero or blank need limits nothing, the first
// one too), times the structure's batch quantity, rounded down unless
// within 0.01 of the next unit; zero when no component is needed. second,
// when given, gets (available - reserved) / needed by the same rule.
// explode 1 follows components that have structures of their own.
// multiplier does not enter the calculation; print writes one report
// line per component.
void RecipeComponentScan(const uint8_t *item, int multiplier, PackedDecimal *result, PackedDecimal *second,
                         int print, int explode) {
    assert(item && result);
    (void)multiplier;
    DecSetZero(result);
    if (second) DecSetZero(second);
    PackedDecimal batch;
    DecFromLong(&batch, 1);
    std::vector<Component> list;
    SubStructureScan(item, list, explode, &batch, 0);
    if (StockCostLinesReady(print != 0, StockCostLines.component != nullptr))
        for (const Component &c : list)
            StockCostLines.component(c.code, &c.available, &c.reserved, &c.needed, &c.neededSecond);
    bool first = true;
    for (const Component &c : list) {
        if (DecIsZero(&c.needed)) continue;
        PackedDecimal ratio, net, netRatio;
        DecDiv(&c.available, &c.needed, &ratio);
        DecSub(&c.available, &c.reserved, &net);
        DecDiv(&net, &c.needed, &netRatio);
        if (first || DecCompare(&ratio, result) < 0) *result = ratio;
        if (second && (first || DecCompare(&netRatio, second) < 0)) *second = netRatio;
        first = false;
    }
    if (first) return;
    PackedDecimal adjust;
    DecFromDouble(&adjust, 0.49);
    DecMul(result, &batch, result);
    DecSub(result, &adjust, result);
    DecRound(result, 0, result);
    if (second) {
        DecMul(second, &batch, second);
        DecSub(second, &adjust, second);
        DecRound(second, 0, second);
    }
}
