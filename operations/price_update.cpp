// price_update.cpp - batch routine 16: the prices of price lists
// recomputed by their price formulas. A price list's rows name the items
// they cover (an item group, or a range of item codes) and the formula
// that prices them; the prices themselves are the records of register 50,
// one per price list and item. The run makes the missing ones and
// rewrites those whose price changed; an unchanged price is not written.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace List = PriceListVc;
namespace Formula = PriceFormulaVc;
namespace Price = PriceVc;
namespace Source = PurchItemVc;

constexpr uint16_t RowByGroup = 0, RowByItems = 1;
constexpr uint16_t BaseCost = 0, BaseBasePrice = 1;

// What the run was asked: the item range (empty ends: open), the group
// filter and the purchase choice an item must have as its default.
struct PriceRun {
    uint8_t from[256], to[256];
    bool ranged;
    uint8_t group[256];
    uint8_t choice[256];
};

PriceRun ReadRun(const ReportJob &job)
{
    PriceRun run{};
    uint8_t text[256];
    GetText(job.selection, ReportParamsVc::SelText2, text);
    run.ranged = text[0] != 0;
    if (run.ranged) RangeSplit(text, run.from, run.to);
    GetText(job.selection, ReportParamsVc::SelText3, run.group);
    GetTextPrefix(job.selection, ReportParamsVc::SelText7, 20, run.choice);
    return run;
}

bool InRun(const PriceRun &run, const uint8_t *code)
{
    if (!run.ranged) return true;
    if (run.from[0] != 0 && PStringCompare(code, run.from) < 0) return false;
    return run.to[0] == 0 || PStringCompare(code, run.to) <= 0;
}

// Whether one of the item's default purchase choices (register 56,
// flag 1) is the run's choice code.
bool HasDefaultChoice(const uint8_t *code, const uint8_t *choice)
{
    RuleRecord source(Source::Number);
    if (!source.record) return false;
    PutText(source.record, Source::ItemCode, code);
    PutU16(source.record, Source::Default, 1);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Source::Number, "DefaultChoice", source.record, 2, 1, &recid, &position)) return false;
    uint8_t text[256];
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(Source::Number, "DefaultChoice", int32_t(p), source.record, &recid))
            return false;
        GetText(source.record, Source::ItemCode, text);
        if (!PStringEqual(text, code) || GetU16(source.record, Source::Default) != 1) return false;
        GetText(source.record, Source::VendCode, text);
        if (PStringEqual(text, choice)) return true;
    }
}

bool ReadByCode(int reg, uint32_t at, int length, const uint8_t *code, uint8_t *record)
{
    RecClear(reg, record);
    PutPString(record, at, length, code);
    return RecFindByFirstKey(reg, record);
}

PackedDecimal DecOrZero(const uint8_t *record, uint32_t at)
{
    PackedDecimal d = GetDec(record, at);
    if (DecIsBlank(&d)) DecSetZero(&d);
    return d;
}

// The item's price record of the list made or brought up to date. False
// when a store failed.
bool UpdateItemPrice(const uint8_t *list, const uint8_t *item, const uint8_t *formulaCode)
{
    RuleRecord price(Price::Number);
    if (!price.record) return false;
    uint8_t listCode[256], itemCode[256], name[256];
    GetText(list, List::Code, listCode);
    GetText(item, INVc::Code, itemCode);
    PutText(price.record, Price::PriceList, listCode);
    PutText(price.record, Price::ItemCode, itemCode);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(Price::Number, "PriceList", price.record, 2, 1, &recid, &position)) {
        if (!PriceFormulaOf(price.record, item, formulaCode)) return true;
        return RecStore(Price::Number, price.record, 1, &recid);
    }
    RecClear(Price::Number, price.record);
    PutText(price.record, Price::PriceList, listCode);
    PutText(price.record, Price::ItemCode, itemCode);
    GetText(item, INVc::Name, name);
    PutText(price.record, Price::ItemName, name);
    PriceFormulaOf(price.record, item, formulaCode);
    return RecStore(Price::Number, price.record, 0, &recid);
}

// One item reached by a row: the run's own filters, then its price.
bool PriceOneItem(const PriceRun &run, const uint8_t *list, const uint8_t *item, const uint8_t *formulaCode)
{
    uint8_t code[256];
    GetText(item, INVc::Code, code);
    if (!InRun(run, code)) return true;
    if (run.choice[0] != 0 && !HasDefaultChoice(code, run.choice)) return true;
    return UpdateItemPrice(list, item, formulaCode);
}

bool Stored(bool ok)
{
    if (!ok) ShowTextMessage(Texts::RecordNotStored);
    return ok;
}

}  // namespace

bool PriceFormulaOf(uint8_t *price, const uint8_t *item, const uint8_t *formulaCode)
{
    assert(price && item && formulaCode);
    RuleRecord list(List::Number), formula(Formula::Number);
    if (!list.record || !formula.record) return false;
    uint8_t listCode[256], currency[256];
    GetText(price, Price::PriceList, listCode);
    bool hasList = ReadByCode(List::Number, List::Code, 5, listCode, list.record);
    if (!ReadByCode(Formula::Number, Formula::Code, 5, formulaCode, formula.record)) return false;

    PackedDecimal value;
    switch (GetU16(formula.record, Formula::Base)) {
    case BaseCost: value = DecOrZero(item, INVc::CostPrice); break;
    case BaseBasePrice: value = DecOrZero(item, INVc::BasePrice); break;
    default: DecSetZero(&value); break;   // a base the formula does not know: nothing to start from
    }
    if (hasList) {
        GetText(list.record, List::CurncyCode, currency);
        PackedDecimal rate, converted;
        if (currency[0] != 0 && CurrencyRate(currency, &TodayDate, &rate)) {
            AmountByRateInverse(&value, &rate, &converted);
            value = converted;
        }
    }
    PackedDecimal percent = DecOrZero(formula.record, Formula::Percentage), hundred, step;
    DecFromLong(&hundred, 100);
    DecMul(&value, &percent, &step);
    DecDiv(&step, &hundred, &value);
    PackedDecimal addition = DecOrZero(formula.record, Formula::Addition);
    DecAdd(&value, &addition, &step);
    DecRound(&step, GetU16(formula.record, Formula::Decimals), &value);
    PackedDecimal after = DecOrZero(formula.record, Formula::AddAfter);
    DecAdd(&value, &after, &step);

    PackedDecimal old = GetDec(price, Price::Price);
    if (!DecIsBlank(&old) && DecEqual(&old, &step)) return false;
    PutDec(price, Price::Price, step);
    return true;
}

bool PriceUpdateByGroup(const ReportJob &job, const uint8_t *list, const uint8_t *row, const uint8_t *formulaCode)
{
    PriceRun run = ReadRun(job);
    RuleRecord item(INVc::Number);
    if (!item.record) return false;
    uint8_t group[256], itemGroup[256];
    GetTextPrefix(row, List::Rows::CodeRange, 5, group);
    PutText(item.record, INVc::Group, group);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(INVc::Number, "Group", item.record, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(INVc::Number, "Group", int32_t(p), item.record, &recid)) return true;
        if (UserCancelFlag) return true;
        GetText(item.record, INVc::Group, itemGroup);
        if (group[0] != 0 && !PStringEqual(group, itemGroup)) return true;
        if (!Stored(PriceOneItem(run, list, item.record, formulaCode))) return false;
    }
}

bool PriceUpdateByItem(const ReportJob &job, const uint8_t *list, const uint8_t *row, const uint8_t *formulaCode)
{
    PriceRun run = ReadRun(job);
    RuleRecord item(INVc::Number);
    if (!item.record) return false;
    uint8_t range[256], from[256], to[256], code[256];
    GetText(row, List::Rows::CodeRange, range);
    RangeSplit(range, from, to);
    PutText(item.record, INVc::Code, from);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.record, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAt(INVc::Number, int32_t(p), item.record, &recid)) return true;
        if (UserCancelFlag) return true;
        GetText(item.record, INVc::Code, code);
        if (to[0] != 0 && PStringCompare(code, to) > 0) return true;
        if (!Stored(PriceOneItem(run, list, item.record, formulaCode))) return false;
    }
}

bool PriceUpdateList(const ReportJob &job, const uint8_t *list)
{
    PriceRun run = ReadRun(job);
    uint8_t row[List::Rows::Size], formula[256], text[256], from[256], to[256], group[256];
    for (int32_t i = 0, n = MatrixRowCount(List::Number, 0, list); i < n; i++) {
        if (UserCancelFlag) return true;
        if (!MatrixRowRead(List::Number, list, i, row)) continue;
        GetText(row, List::Rows::Formula, formula);
        bool ok = true;
        switch (GetU16(row, List::Rows::Kind)) {
        case RowByGroup:
            GetTextPrefix(row, List::Rows::CodeRange, 5, group);
            if (run.group[0] != 0 && !PStringEqual(run.group, group)) continue;
            ok = PriceUpdateByGroup(job, list, row, formula);
            break;
        case RowByItems:
            GetText(row, List::Rows::CodeRange, text);
            RangeSplit(text, from, to);
            // Rows whose range lies wholly outside the run's are passed over.
            if (run.ranged && run.to[0] != 0 && from[0] != 0 && PStringCompare(run.to, from) < 0) continue;
            if (run.ranged && run.from[0] != 0 && to[0] != 0 && PStringCompare(run.from, to) > 0) continue;
            ok = PriceUpdateByItem(job, list, row, formula);
            break;
        default: continue;
        }
        if (!ok) return false;
    }
    return true;
}

bool PriceUpdate(const ReportJob &job)
{
    assert(job.selection);
    RuleRecord list(List::Number);
    if (!list.record) return false;
    uint8_t range[256], from[256], to[256], code[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    PutText(list.record, List::Code, from);
    uint32_t recid = 0, position = 0;
    if (!RecFind(List::Number, list.record, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAt(List::Number, int32_t(p), list.record, &recid)) return true;
        if (UserCancelFlag) return true;
        GetText(list.record, List::Code, code);
        if (to[0] != 0 && PStringCompare(code, to) > 0) return true;
        if (!PriceUpdateList(job, list.record)) return false;
    }
}
