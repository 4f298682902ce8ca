// open_rows_exports.cpp - the row exports for other systems: the rows of
// sales orders (kind 18, three layouts) and of purchase orders (kind 33),
// one line of TAB-separated fields per row that passes the selection; the
// output ends with one line end.
//
// Selection: the first range text is the number range, the second the
// vendor range (kind 33), the third the item (kind 18: one code) or item
// range (kind 33), the fourth the item group (kind 18: one code) or
// item-group range (kind 33); the dates bound the order date (kind 18).
// Option1 chooses the walk's index (0 by number; 1 by order class or by
// vendor), ReportLayout the layout of kind 18.
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "exchange/selective_exports.h"
#include "exchange/text_exchange.h"

namespace {

namespace OR = ORVc::Rows;
namespace POR = PurchOrderVc::Rows;

// The number range of the first selection; -1 ends are open.
struct NumberRange {
    int32_t first = -1, last = -1;
    bool Below(int32_t n) const { return first >= 0 && n < first; }
    bool Above(int32_t n) const { return last >= 0 && n > last; }
};

NumberRange NumbersOfParams(const ReportJob &job)
{
    NumberRange r;
    RangeSplitNumber(job.selection + ReportParamsVc::SelText1, &r.first, &r.last);
    return r;
}

// True when code lies in from..to, compared without regard to case; an
// empty end is open.
bool InRange(const uint8_t *code, const uint8_t *from, const uint8_t *to)
{
    if (from[0] != 0 && PStringCompareNoCase(code, from) < 0) return false;
    return to[0] == 0 || PStringCompareNoCase(code, to) <= 0;
}

// Quantity less done, both amounts with three decimals at their offsets.
PackedDecimal Remaining(const uint8_t *row, uint32_t quantityAt, uint32_t doneAt)
{
    PackedDecimal qty = GetDec(row, quantityAt), done = GetDec(row, doneAt), rest;
    DecSub(&qty, &done, &rest);
    return rest;
}

// The group code of the item whose attribute lookup filled item (empty
// for a missing item).
void GroupOf(bool exists, const uint8_t *item, uint8_t *group)
{
    group[0] = 0;
    if (exists) GetText(item, INVc::Group, group);
}

// One row of kind 18 in its layout; false when the row does not pass.
bool OrderRowLine(const ReportJob &job, const uint8_t *order, const uint8_t *row, int layout, uint8_t *item)
{
    PString want = {0}, wantGroup = {0}, code, attribute, group;
    GetTextPrefix(job.selection, ReportParamsVc::SelText3, 20, want);
    GetTextPrefix(job.selection, ReportParamsVc::SelText4, 5, wantGroup);
    GetText(row, OR::ItemCode, code);
    if (want[0] != 0 && PStringCompareNoCase(code, want) != 0) return false;
    const bool exists = ItemAttribute(code, item, attribute);
    GroupOf(exists, item, group);
    if (wantGroup[0] != 0 && PStringCompareNoCase(group, wantGroup) != 0) return false;
    if (layout == 1) {
        if (attribute[0] == 0) return false;
        for (uint32_t at : {ORVc::DelAddr0, ORVc::DelAddr1, ORVc::DelAddr2, ORVc::DelAddr3})
            ExportValue(order + at, FtText);
        ExportValue(order + ORVc::SerNr, FtLongOrEmpty);
        ExportValue(order + ORVc::OrdDate, FtDate);
        ExportValue(order + ORVc::CustCode, FtText);
        ExportValue(order + ORVc::Addr0, FtText);
        ExportValue(order + ORVc::SalesMan, FtText);
        ExportValue(row + OR::ItemCode, FtText);
        ExportValue(row + OR::Text, FtText);
        ExportText(attribute);
    } else if (layout == 2) {
        // The item code, its group with a colon and the row text as one field.
        PString text = {0}, rowText;
        PStringCopy(text, code);
        PStringAppendC(text, " ");
        PStringAppend(text, group);
        PStringAppendC(text, ": ");
        GetText(row, OR::Text, rowText);
        PStringAppend(text, rowText);
        ExportText(text);
    } else {
        ExportValue(order + ORVc::SerNr, FtLongOrEmpty);
        ExportValue(order + ORVc::OrdDate, FtDate);
        for (uint32_t at : std::initializer_list<uint32_t>{ORVc::DelivText, ORVc::CustCode, ORVc::Addr0, ORVc::SalesMan, ORVc::OrderClass})
            ExportValue(order + at, FtText);
        ExportValue(row + OR::ItemCode, FtText);
        ExportText(group);
        PackedDecimal rest = Remaining(row, OR::Quantity, OR::QtyDelivered);
        ExportValue(row + OR::Quantity, FtAmount2);
        ExportValue(&rest, FtAmount2);
        ExportValue(row + OR::Text, FtText);
        ExportValue(row + OR::Price, FtAmount2);
        ExportValue(row + OR::Sum, FtAmount2);
        ExportValue(row + OR::Discount, FtAmount1);
        ExportValue(row + OR::SalesAcc, FtText);
        ExportValue(row + OR::GrossProfit, FtAmount2);
        ExportValue(row + OR::VatCode, FtCodeNoSep);
    }
    ExportLineFeed();
    return true;
}

// One row of kind 33; false when the row does not pass.
bool PurchaseRowLine(const ReportJob &job, const uint8_t *po, const uint8_t *row, uint8_t *item)
{
    PString itemFrom = {0}, itemTo = {0}, groupFrom = {0}, groupTo = {0}, code, attribute, group;
    RangeSplit(job.selection + ReportParamsVc::SelText3, itemFrom, itemTo);
    RangeSplit(job.selection + ReportParamsVc::SelText4, groupFrom, groupTo);
    GetText(row, POR::ItemCode, code);
    if (!InRange(code, itemFrom, itemTo)) return false;
    if (groupFrom[0] != 0 || groupTo[0] != 0) {
        GroupOf(ItemAttribute(code, item, attribute), item, group);
        if (!InRange(group, groupFrom, groupTo)) return false;
    }
    ExportValue(po + PurchOrderVc::SerNr, FtLongOrEmpty);
    ExportValue(po + PurchOrderVc::PODate, FtDate);
    for (uint32_t at : std::initializer_list<uint32_t>{PurchOrderVc::DelivText, PurchOrderVc::VendCode, PurchOrderVc::VendName})
        ExportValue(po + at, FtText);
    ExportValue(row + POR::ItemCode, FtText);
    ExportValue(row + POR::VendItemCode, FtText);
    ExportValue(row + POR::Text, FtText);
    PackedDecimal rest = Remaining(row, POR::Quantity, POR::QtyOnPurchases);
    ExportValue(row + POR::Quantity, FtAmount2);
    ExportValue(&rest, FtAmount2);
    ExportValue(row + POR::Price, FtAmount2);
    ExportValue(row + POR::Sum, FtAmount2);
    ExportValue(row + POR::Discount, FtAmount1);
    ExportValue(row + POR::VatCode, FtCodeNoSep);
    ExportLineFeed();
    return true;
}

// Calls line(record, row) for every row of a document, until the job stops.
template <typename Line>
void EachRow(int reg, const uint8_t *record, Line line)
{
    std::vector<uint8_t> row(RecRowSize(reg));
    int32_t count = MatrixRowCount(reg, 0, record);
    for (int32_t r = 0; r < count && !OutputJobState.stopFlag; r++) {
        if (!MatrixRowGet(reg, 0, record, r, row.data())) break;
        line(row.data());
    }
}

// Runs body with a document buffer of reg and an item buffer; nothing
// when either cannot be had.
template <typename Body>
void WithBuffers(int reg, Body body)
{
    MemBlock hd = 0, hi = 0;
    uint8_t *doc = RecBufferNew(reg, &hd), *item = RecBufferNew(INVc::Number, &hi);
    if (doc && item) body(doc, item);
    if (item) {
        RecFreeMatrix(INVc::Number, item);
        RecBufferFree(INVc::Number, &hi);
    }
    if (doc) RecBufferFree(reg, &hd);
}

}  // namespace

// Kind 18: the rows of the sales orders of the number range and dates, by
// number or by order class, that pass the item and item-group filters.
void OpenOrderRowsExport(const ReportJob &job)
{
    if (!job.selection) return;
    const NumberRange numbers = NumbersOfParams(job);
    const DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);
    const bool byClass = GetU16(job.selection, ReportParamsVc::Option1) != 0;
    const uint16_t layout = GetU16(job.selection, ReportParamsVc::ReportLayout);
    WithBuffers(ORVc::Number, [&](uint8_t *order, uint8_t *item) {
        RecClear(ORVc::Number, order);
        if (!byClass) PutI32(order, ORVc::SerNr, numbers.first < 0 ? 0 : numbers.first);
        WalkIndexFrom(ORVc::Number, byClass ? "OrderClass" : "SerNr", order, 1, [&](uint8_t *o) {
            const int32_t n = GetI32(o, ORVc::SerNr);
            if (!byClass && numbers.Above(n)) return false;
            ExportNumber(o + ORVc::SerNr, FtLongOrEmpty);
            if (numbers.Below(n) || numbers.Above(n)) return true;
            DateRec d = GetDate(o, ORVc::OrdDate);
            if (!DateIsEmpty(&from) && DateCompare(&d, &from) < 0) return true;
            if (!DateIsEmpty(&to) && DateCompare(&d, &to) > 0) return true;
            EachRow(ORVc::Number, o,
                    [&](const uint8_t *row) { OrderRowLine(job, o, row, layout > 2 ? 0 : layout, item); });
            return true;
        });
    });
    ExportLineFeed();
}

// Kind 33: the rows of the purchase orders of the number and vendor
// ranges, by number or by vendor, that pass the item and item-group ranges.
void OpenPurchaseRowsExport(const ReportJob &job)
{
    if (!job.selection) return;
    const NumberRange numbers = NumbersOfParams(job);
    PString vendFrom = {0}, vendTo = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText2, vendFrom, vendTo);
    const bool byVendor = GetU16(job.selection, ReportParamsVc::Option1) != 0;
    WithBuffers(PurchOrderVc::Number, [&](uint8_t *po, uint8_t *item) {
        RecClear(PurchOrderVc::Number, po);
        if (byVendor) PutText(po, PurchOrderVc::VendCode, vendFrom);
        else PutI32(po, PurchOrderVc::SerNr, numbers.first < 0 ? 0 : numbers.first);
        WalkIndexFrom(PurchOrderVc::Number, byVendor ? "VECode" : "SerNr", po, 1, [&](uint8_t *p) {
            const int32_t n = GetI32(p, PurchOrderVc::SerNr);
            PString vendor;
            GetText(p, PurchOrderVc::VendCode, vendor);
            if (!byVendor && numbers.Above(n)) return false;
            if (byVendor && vendTo[0] != 0 && PStringCompareNoCase(vendor, vendTo) > 0) return false;
            ExportNumber(p + PurchOrderVc::SerNr, FtLongOrEmpty);
            if (numbers.Below(n) || numbers.Above(n) || !InRange(vendor, vendFrom, vendTo)) return true;
            EachRow(PurchOrderVc::Number, p, [&](const uint8_t *row) { PurchaseRowLine(job, p, row, item); });
            return true;
        });
    });
    ExportLineFeed();
}
