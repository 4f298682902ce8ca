// item_exports.cpp - the item exports for other systems: the sales of
// each customer per item over the selected months and the same months a
// year before (kind 27), and the items' header columns as an
// "artikelinfo1" section (kind 31).
//
// Selection: the second range text is the customer range (kind 27) or the
// item range (kind 31), the third the item range of kind 27; the dates
// give kind 27's first and last month (an open start is the first month
// the balances hold, an open end the last).
#include <array>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"
#include "exchange/field_lists.h"
#include "exchange/selective_exports.h"
#include "exchange/text_exchange.h"
#include "operations/statistics_slots.h"
#include "output/devices/report_output.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

namespace CI = CustItemStatVc;

// The item section's columns an item line of kind 31 writes.
constexpr size_t ItemInfoColumns = 30;
// Months between a month and the same month a year before.
constexpr uint16_t YearMonths = 12;

using Six = std::array<PackedDecimal, 2 * ItemStatSlot::Count>;

Six Zeros()
{
    Six s;
    for (PackedDecimal &d : s) DecSetZero(&d);
    return s;
}

// The three amounts of a statistics record over m1..m2, then over the
// same months a year before (zero where those lie before the first month).
Six StatAmounts(const uint8_t *stat, uint16_t m1, uint16_t m2)
{
    Six out = Zeros();
    const MemBlock block = GetU32(stat, CI::Amounts);
    for (int k = 0; k < ItemStatSlot::Count; k++) {
        PeriodBalanceChange(block, ItemStatSlot::Count, k, m1, m2, &out[size_t(k)]);
        if (m2 >= YearMonths)
            PeriodBalanceChange(block, ItemStatSlot::Count, k, m1 >= YearMonths ? uint16_t(m1 - YearMonths) : 0,
                                uint16_t(m2 - YearMonths), &out[size_t(ItemStatSlot::Count + k)]);
    }
    return out;
}

void WriteSix(const Six &s)
{
    for (const PackedDecimal &d : s) ExportValue(&d, FtAmount2);
}

// The name of the item of code into name (empty when it is missing).
void ItemName(const uint8_t *code, uint8_t *item, uint8_t *name)
{
    PString attribute;
    name[0] = 0;
    if (ItemAttribute(code, item, attribute)) GetText(item, INVc::Name, name);
}

// The customer's statistics lines of the item range; its totals added
// into total.
void CustomerItemLines(const ReportJob &job, const uint8_t *customer, uint8_t *stat, uint8_t *item, uint16_t m1,
                       uint16_t m2, Six *total)
{
    PString code, itemFrom = {0}, itemTo = {0};
    GetText(customer, CUVc::Code, code);
    RangeSplit(job.selection + ReportParamsVc::SelText3, itemFrom, itemTo);
    RecClear(CI::Number, stat);
    PutText(stat, CI::CustCode, code);
    PutText(stat, CI::ItemCode, itemFrom);
    WalkIndexFrom(CI::Number, "CustItem", stat, 2, [&](uint8_t *s) {
        PString owner, itemCode;
        GetText(s, CI::CustCode, owner);
        GetText(s, CI::ItemCode, itemCode);
        if (!PStringEqual(owner, code)) return false;
        if (itemTo[0] != 0 && PStringCompareNoCase(itemCode, itemTo) > 0) return false;
        const Six six = StatAmounts(s, m1, m2);
        bool any = false;
        for (size_t i = 0; i < six.size(); i++) {
            any = any || !DecIsZero(&six[i]);
            DecAdd(&(*total)[i], &six[i], &(*total)[i]);
        }
        if (!any) return true;
        PString name;
        ItemName(itemCode, item, name);
        ExportText(code);
        ExportText(name);
        ExportText(itemCode);
        WriteSix(six);
        ExportLineFeed();
        return true;
    });
}

}  // namespace

// Kind 27: per customer of the range, a line per item of the item range
// whose amounts are not all zero (customer code, item name, item code,
// quantity, sales and cost over the months, then over the same months a
// year before), then the customer's total line (code, name, six totals).
// A last date before the first is refused, told: nothing is written.
void CustomerItemStatsExport(const ReportJob &job)
{
    if (!job.selection) return;
    const DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);
    if (!DateIsEmpty(&from) && !DateIsEmpty(&to) && DateCompare(&to, &from) < 0) {
        ShowTextMessage(Texts::ExportMonthsReversed);
        OutputJobState.stopFlag = 1;
        return;
    }
    const uint16_t m1 = MonthIndex(&from), m2 = DateIsEmpty(&to) ? MonthIndexLast : MonthIndex(&to);
    PString custFrom = {0}, custTo = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText2, custFrom, custTo);
    MemBlock hc = 0, hs = 0, hi = 0;
    uint8_t *customer = RecBufferNew(CUVc::Number, &hc), *stat = RecBufferNew(CI::Number, &hs),
            *item = RecBufferNew(INVc::Number, &hi);
    if (customer && stat && item) {
        RecClear(CUVc::Number, customer);
        PutText(customer, CUVc::Code, custFrom);
        WalkIndexFrom(CUVc::Number, "Code", customer, 1, [&](uint8_t *c) {
            PString code;
            GetText(c, CUVc::Code, code);
            if (custTo[0] != 0 && PStringCompareNoCase(code, custTo) > 0) return false;
            ExportNumber(code, FtText);
            Six total = Zeros();
            CustomerItemLines(job, c, stat, item, m1, m2, &total);
            ExportValue(c + CUVc::Code, FtText);
            ExportValue(c + CUVc::Name, FtText);
            WriteSix(total);
            ExportLineFeed();
            return true;
        });
    }
    if (item) RecFreeMatrix(INVc::Number, item);
    if (stat) RecFreeMatrix(CI::Number, stat);
    for (auto [reg, h] : {std::pair{INVc::Number, &hi}, std::pair{CI::Number, &hs}, std::pair{CUVc::Number, &hc}})
        if (*h) RecBufferFree(reg, h);
}

// Kind 31: the items of the item range as an "artikelinfo1" section, one
// line each of the item section's first 30 columns (its two empty
// price-list columns among them, its rows not); no section head when the
// range holds no item.
void ItemInfoExport(const ReportJob &job)
{
    if (!job.selection) return;
    const FieldList *list = FieldListFor(false, INVc::Number, ListNewest);
    if (!list || list->header.size() < ItemInfoColumns) return;
    const auto columns = list->header.first(ItemInfoColumns);
    PString from = {0}, to = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText2, from, to);
    MemBlock h = 0;
    uint8_t *item = RecBufferNew(INVc::Number, &h);
    if (!item) return;
    bool written = false;
    RecClear(INVc::Number, item);
    PutText(item, INVc::Code, from);
    WalkIndexFrom(INVc::Number, "Code", item, 1, [&](uint8_t *it) {
        PString code;
        GetText(it, INVc::Code, code);
        if (to[0] != 0 && PStringCompareNoCase(code, to) > 0) return false;
        if (!written) {
            RepOp18();
            SettingsBlockExport(FormatBlk::Number);
            ExportCString("artikelinfo1");
            ExportLineFeed();
        }
        written = true;
        ExportNumber(code, FtText);
        WriteColumns(columns, it);
        ExportLineFeed();
        return true;
    });
    if (written) ExportLineFeed();
    RecBufferFree(INVc::Number, &h);
}
