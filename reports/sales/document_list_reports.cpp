// document_list_reports.cpp - the document lists in number order: the
// deliveries (report 7), the goods received (53), the sales orders (58)
// and the quotations (59). Layout 0 prints a line per document, layout 1
// each document in full under a rule; any other layout prints the
// headings of reports 7 and 53 and nothing per document.
//
// The four share one walk: from the first document at or after the
// number range's start in index 1, until a number passes its end or the
// user presses Esc; each report gives its filters, line and detail.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/frame/selection_match.h"
#include "reports/sales/sales_lists.h"
#include "reports/sales/sales_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, RightEdge = 1, RuleEnd = 1, RuleThick = 4;

// True when n lies in from..to, -1 an open end.
bool NumberIn(int32_t n, int32_t from, int32_t to) { return (from < 0 || n >= from) && (to < 0 || n <= to); }

// The selection every list reads once per run.
struct ListSelection {
    int32_t from = -1, to = -1, rangeFrom = -1, rangeTo = -1;
    PString text2, text3, text5, text7, objects;
    DateRec dateFrom{}, dateTo{};
    uint16_t layout = 0, unposted = 0, posted = 0;
};

void ReadSelection(const uint8_t *selection, ListSelection *s)
{
    PString range;
    GetText(selection, P::SelText1, range);
    RangeSplitNumber(range, &s->from, &s->to);
    GetText(selection, P::SelText8, range);
    RangeSplitNumber(range, &s->rangeFrom, &s->rangeTo);
    GetText(selection, P::SelText2, s->text2);
    GetText(selection, P::SelText3, s->text3);
    GetText(selection, P::SelText5, s->text5);
    GetText(selection, P::SelText7, s->text7);
    GetText(selection, P::ObjectSel, s->objects);
    s->dateFrom = GetDate(selection, P::DateFrom);
    s->dateTo = GetDate(selection, P::DateTo);
    s->layout = GetU16(selection, P::ReportLayout);
    s->unposted = GetU16(selection, P::Option2);
    s->posted = GetU16(selection, P::Option3);
}

bool InPeriod(const ListSelection &s, const uint8_t *record, uint32_t offset)
{
    const DateRec date = GetDate(record, offset);
    return DateInRange(&date, &s.dateFrom, &s.dateTo);
}

// A record whose flag is clear needs Option2, one whose flag is set
// Option3; neither ticked admits both.
bool FlagAdmits(const ListSelection &s, const uint8_t *record, uint32_t offset)
{
    return KindBoxesAdmit({s.unposted, s.posted}, GetU16(record, offset) != 0 ? 1 : 0);
}

// Calls each for the records of register reg from the range's first
// number (the key field at keyOffset in index 1) until one passes the
// range's end or Esc; each returns nothing, the walk frees the rows.
template <typename Each>
void NumberWalk(int reg, uint32_t keyOffset, const ListSelection &s, Each each)
{
    RuleRecord r(reg);
    if (!r.record) return;
    PutI32(r.record, keyOffset, s.from < 0 ? 0 : s.from);
    uint32_t recid = 0, position = 0;
    bool more = RecFind(reg, r.record, 1, 0, &recid, &position);
    for (int32_t at = (int32_t)position; more; at++) {
        if (at != (int32_t)position) {
            RecFreeMatrix(reg, r.record);
            if (!RecReadAt(reg, at, r.record, &recid)) break;
        }
        if (s.to >= 0 && GetI32(r.record, keyOffset) > s.to) break;
        each(r.record);
        if (ReportCancelled()) break;
    }
    RecFreeMatrix(reg, r.record);
}

// ---- Report 7 ----

bool DeliveryPasses(const ListSelection &s, const uint8_t *d)
{
    return TextFieldAdmits(s.text2, d, SHVc::CustCode) &&
           NumberIn(GetI32(d, SHVc::OrderNr), s.rangeFrom, s.rangeTo) && InPeriod(s, d, SHVc::ShipDate) &&
           TextFieldAdmits(s.text3, d, SHVc::DelMode) && FlagAdmits(s, d, SHVc::Shipped);
}

void DeliveryLine(const uint8_t *d)
{
    RepStartLine(LineHeight);
    RepValue(0, 0, d + SHVc::SerNr, FtLongOrEmpty, 0);
    RepValue(60, 0, d + SHVc::ShipDate, FtDate, 0);
    RepValue(130, 0, d + SHVc::OrderNr, FtLongOrEmpty, 0);
    RepTextField(200, d, SHVc::CustCode);
    RepTextField(300, d, SHVc::DelAddr0);
    RepEndLine();
}

// ---- Report 53 ----

bool PurchasePasses(const ListSelection &s, const uint8_t *p)
{
    return TextFieldAdmits(s.text2, p, PUVc::VendCode) &&
           NumberIn(GetI32(p, PUVc::POSerNr), s.rangeFrom, s.rangeTo) && InPeriod(s, p, PUVc::TransDate) &&
           FlagAdmits(s, p, PUVc::Received);
}

void PurchaseLine(const uint8_t *p)
{
    RepStartLine(LineHeight);
    RepValue(0, 0, p + PUVc::SerNr, FtLongOrEmpty, 0);
    RepValue(60, 0, p + PUVc::TransDate, FtDate, 0);
    RepTextField(140, p, PUVc::Text);
    RepTextField(480, p, PUVc::Currency, 0, 1);
    RepEndLine();
}

// ---- Report 58 ----

bool OrderPasses(const ListSelection &s, const uint8_t *o)
{
    if (!InPeriod(s, o, ORVc::OrdDate) || !TextFieldAdmits(s.text2, o, ORVc::CustCode)) return false;
    if (s.objects[0] != 0) {
        PString list;
        GetText(o, ORVc::Objects, list);
        ObjectSlots slots;
        ParseObjectList(s.objects, &slots);
        if (!ObjectListContainsAll(&slots, list)) return false;
    }
    return TextFieldAdmits(s.text7, o, ORVc::SalesMan);
}

// The order's net converted at its rate, and the sum of its rows' sums.
void OrderAmounts(const uint8_t *o, PackedDecimal *converted, PackedDecimal *rowSum)
{
    const PackedDecimal net = GetDec(o, ORVc::Net), rate = GetDec(o, ORVc::Rate);
    AmountTimesRate(&net, &rate, converted);
    DecSetZero(rowSum);
    uint8_t row[ORVc::Rows::Size];
    const int32_t rows = MatrixRowCount(ORVc::Number, 0, o);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowGet(ORVc::Number, 0, o, i, row)) continue;
        const PackedDecimal sum = GetDec(row, ORVc::Rows::Sum);
        DecAdd(rowSum, &sum, rowSum);
    }
}

void Amount(int x, const PackedDecimal *amount, int align = 1)
{
    RepValue(x, 0, amount->b, FtAmount2, align);
}

// ---- Report 59 ----

bool QuotationPasses(const ListSelection &s, const uint8_t *q)
{
    return TextFieldAdmits(s.text5, q, QuotationVc::QuoteClass) && TextFieldAdmits(s.text2, q, QuotationVc::CustCode) &&
           TextFieldAdmits(s.text7, q, QuotationVc::SalesMan) && InPeriod(s, q, QuotationVc::QTDate);
}

void QuotationLine(const uint8_t *q)
{
    RepStartLine(LineHeight);
    RepValue(0, 0, q + QuotationVc::SerNr, FtLongOrEmpty, 0);
    RepValue(60, 0, q + QuotationVc::QTDate, FtDate, 0);
    RepTextField(140, q, QuotationVc::CustName);
    RepValue(440, 0, q + QuotationVc::Total, FtAmount2, 1);
    RepTextField(445, q, QuotationVc::CurncyCode);
    RepEndLine();
}

}  // namespace

void DeliveryReport(ReportJob &job)
{
    assert(job.selection);
    ListSelection s;
    ReadSelection(job.selection, &s);
    RepBeginJobNr(2581);
    ReportHeadings(LineHeight, {{0, 2582}, {60, 2583}, {130, 2584}, {200, 2585}, {300, 2586}});
    if (s.layout == 0) RepRuleFull(RuleEnd, RuleThick);
    NumberWalk(SHVc::Number, SHVc::SerNr, s, [&](const uint8_t *d) {
        if (s.layout > 1 || !DeliveryPasses(s, d)) return;
        if (s.layout == 0) {
            DeliveryLine(d);
            return;
        }
        RepRuleFull(RuleEnd, RuleThick);
        DeliveryDetail(d);
    });
    RepEndJob();
}

void PurchaseReport53(ReportJob &job)
{
    assert(job.selection);
    ListSelection s;
    ReadSelection(job.selection, &s);
    RepBeginJobNr(2601);
    ReportHeadings(LineHeight, {{0, 2602}, {60, 2603}, {140, 2607}});
    if (s.layout == 0) RepRuleFull(RuleEnd, RuleThick);
    PackedDecimal grand;
    DecSetZero(&grand);
    NumberWalk(PUVc::Number, PUVc::SerNr, s, [&](const uint8_t *p) {
        if (s.layout > 1 || !PurchasePasses(s, p)) return;
        if (s.layout == 0) {
            PurchaseLine(p);
            return;
        }
        RepRuleFull(RuleEnd, RuleThick);
        PurchaseDetail(p, &grand);
    });
    if (s.layout == 1) {
        RepRuleFull(RuleEnd, RuleThick);
        RepStartLine(LineHeight);
        Amount(480, &grand);
        RepEndLine();
    }
    RepEndJob();
}

void SalesOrderReport(ReportJob &job)
{
    assert(job.selection);
    ListSelection s;
    ReadSelection(job.selection, &s);
    RepBeginJobNr(2661);
    if (s.layout == 0) {
        ReportHeadings(LineHeight, {{0, 2562}, {60, 2563}, {140, 2564}, {380, 2662, 1}, {RightEdge, 2663, 1}});
        RepRuleFull(RuleEnd, RuleThick);
    } else if (s.layout == 1) {
        ReportHeadings(LineHeight, {{0, 2562}, {130, 2563}, {380, 2662, 1}, {480, 2663, 1}});
    }
    PackedDecimal convertedTotal, rowTotal;
    DecSetZero(&convertedTotal);
    DecSetZero(&rowTotal);
    NumberWalk(ORVc::Number, ORVc::SerNr, s, [&](const uint8_t *o) {
        if (!OrderPasses(s, o)) return;
        PackedDecimal converted, rowSum;
        OrderAmounts(o, &converted, &rowSum);
        DecAdd(&convertedTotal, &converted, &convertedTotal);
        DecAdd(&rowTotal, &rowSum, &rowTotal);
        if (s.layout == 0) {
            RepStartLine(LineHeight);
            RepValue(0, 0, o + ORVc::SerNr, FtLongOrEmpty, 0);
            RepValue(60, 0, o + ORVc::OrdDate, FtDate, 0);
            RepTextField(140, o, ORVc::Addr0);
            Amount(380, &converted);
            Amount(RightEdge, &rowSum);
            RepEndLine();
        } else if (s.layout == 1) {
            RepRuleFull(RuleEnd, RuleThick);
            PackedDecimal prices, sums;
            DecSetZero(&prices);
            DecSetZero(&sums);
            OrderDetail(o, &prices, &sums);
        }
    });
    RepRuleFull(RuleEnd, RuleThick);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2567, 0);
    Amount(380, &convertedTotal);
    Amount(RightEdge, &rowTotal);
    RepEndLine();
    RepEndJob();
}

void QuotationReport(ReportJob &job)
{
    assert(job.selection);
    ListSelection s;
    ReadSelection(job.selection, &s);
    RepBeginJobNr(2681);
    if (s.layout == 0) {
        ReportHeadings(LineHeight, {{0, 2682}, {60, 2683}, {140, 2684}, {440, 2687, 1}});
        RepRuleFull(RuleEnd, RuleThick);
    } else if (s.layout == 1) {
        ReportHeadings(LineHeight, {{0, 2682}, {130, 2683}});
    }
    NumberWalk(QuotationVc::Number, QuotationVc::SerNr, s, [&](const uint8_t *q) {
        if (s.layout > 1 || !QuotationPasses(s, q)) return;
        if (s.layout == 0) {
            QuotationLine(q);
            return;
        }
        RepRuleFull(RuleEnd, RuleThick);
        QuotationDetail(q);
    });
    RepRuleFull(RuleEnd, RuleThick);
    RepEndJob();
}
