// ship_date_report.cpp - report 111, the deliveries of a period by ship
// date valued at their orders' prices, and the detailed delivery block
// its layout 1 prints.
#include <cassert>
#include <vector>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/report_run.h"
#include "reports/frame/selection_match.h"
#include "reports/sales/sales_reports.h"
#include "rules/delivery_value.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 15;
constexpr int RuleEnd = 1, RuleThick = 4;
constexpr int TitleShipDate = 2870;
constexpr int NameMax = 60;

// The layout-0 line of a delivery (report 7's): number, ship date, order
// number, customer code and delivery name.
void DeliveryLine(const uint8_t *d)
{
    RepStartLine(LineHeight);
    RepValue(0, 0, d + SHVc::SerNr, FtLongOrEmpty, 0);
    RepValue(60, 0, d + SHVc::ShipDate, FtDate, 0);
    RepValue(130, 0, d + SHVc::OrderNr, FtLongOrEmpty, 0);
    PString text;
    GetText(d, SHVc::CustCode, text);
    RepText(200, 0, text, 0);
    GetText(d, SHVc::DelAddr0, text);
    RepText(300, 0, text, 0);
    RepEndLine();
}

// True when n lies in from..to, -1 being an open end.
bool InNumberRange(int32_t n, int32_t from, int32_t to)
{
    return (from < 0 || n >= from) && (to < 0 || n <= to);
}

// Reads the delivery's order (register 7 by number) into order and tests
// the order filters: its objects hold the selection's, its reference
// equals the selection's code. A missing order fails when either filter
// is given.
bool OrderPasses(const uint8_t *d, const uint8_t *objects, const uint8_t *reference, uint8_t *order, bool *found)
{
    PutI32(order, ORVc::SerNr, GetI32(d, SHVc::OrderNr));
    uint32_t recid = 0, position = 0;
    *found = RecFind(ORVc::Number, order, 1, 1, &recid, &position);
    if (objects[0] == 0 && reference[0] == 0) return true;
    if (!*found) return false;
    if (objects[0] != 0) {
        PString list;
        GetText(order, ORVc::Objects, list);
        ObjectSlots slots;
        ParseObjectList(objects, &slots);
        if (!ObjectListContainsAll(&slots, list)) return false;
    }
    return TextFieldAdmits(reference, order, ORVc::Text284);
}

}  // namespace

// Report 111: the deliveries from the from-date by "ShipDate" until the
// first after the period, filtered by delivery number, customer, order
// number range, location, posted (shipped) state and, last, their order's
// objects and reference; layout 0 one line each with the rows' value at
// the order's prices and a grand total, layout 1 the detailed block.
void ShipDateReport(ReportJob &job)
{
    const uint8_t *p = job.selection;
    assert(p);
    PString range, customer, location, objects, reference;
    int32_t numFrom = -1, numTo = -1, orderFrom = -1, orderTo = -1;
    GetText(p, ReportParamsVc::SelText1, range);
    RangeSplitNumber(range, &numFrom, &numTo);
    GetText(p, ReportParamsVc::SelText8, range);
    RangeSplitNumber(range, &orderFrom, &orderTo);
    GetText(p, ReportParamsVc::SelText2, customer);
    GetText(p, ReportParamsVc::SelText3, location);
    GetText(p, ReportParamsVc::ObjectSel, objects);
    GetText(p, ReportParamsVc::SelText6, reference);
    const DateRec from = GetDate(p, ReportParamsVc::DateFrom), to = GetDate(p, ReportParamsVc::DateTo);
    const uint16_t unposted = GetU16(p, ReportParamsVc::Option2), posted = GetU16(p, ReportParamsVc::Option3);
    const uint16_t layout = GetU16(p, ReportParamsVc::ReportLayout);

    RepBeginJobNr(TitleShipDate);
    RepStartLine(LineHeight);
    const int heads[][2] = {{0, 2584}, {60, 2583}, {130, 2582}, {200, 2585}, {260, 2586}};
    for (const auto &h : heads) RepTextNr(h[0], 0, h[1], 0);
    RepEndLine();
    RepRuleFull(RuleEnd, RuleThick);

    PackedDecimal grand;
    DecSetZero(&grand);
    RuleRecord d(SHVc::Number), order(ORVc::Number);
    uint32_t recid = 0, position = 0;
    if (d.record && order.record) {
        PutDate(d.record, SHVc::ShipDate, from);
        bool more = RecFindByIndex(SHVc::Number, "ShipDate", d.record, 1, 0, &recid, &position);
        for (uint32_t at = position; more; at++) {
            if (at != position) {
                RecFreeMatrix(SHVc::Number, d.record);
                if (!RecReadAtIndex(SHVc::Number, "ShipDate", (int32_t)at, d.record, &recid)) break;
            }
            const DateRec date = GetDate(d.record, SHVc::ShipDate);
            if ((from.year != 0 && DateCompare(&date, &from) < 0) || (to.year != 0 && DateCompare(&date, &to) > 0))
                break;
            bool orderFound = false;
            bool pass = InNumberRange(GetI32(d.record, SHVc::SerNr), numFrom, numTo) &&
                        TextFieldAdmits(customer, d.record, SHVc::CustCode) &&
                        InNumberRange(GetI32(d.record, SHVc::OrderNr), orderFrom, orderTo) &&
                        TextFieldAdmits(location, d.record, SHVc::Location) &&
                        KindBoxesAdmit({unposted, posted}, GetU16(d.record, SHVc::Shipped) ? 1 : 0) &&
                        OrderPasses(d.record, objects, reference, order.record, &orderFound);
            if (pass && layout == 1) {
                RepRuleFull(RuleEnd, RuleThick);
                DeliveryDetail(d.record);
            } else if (pass) {
                PackedDecimal value;
                if (orderFound) RowsAmountTotal(d.record, order.record, &value);
                else DecSetBlank(&value);
                DecAdd(&grand, &value, &grand);
                RepStartLine(LineHeight);
                RepValue(0, 0, d.record + SHVc::OrderNr, FtLongOrEmpty, 0);
                RepValue(60, 0, d.record + SHVc::ShipDate, FtDate, 0);
                RepValue(130, 0, d.record + SHVc::SerNr, FtLongOrEmpty, 0);
                PString text;
                GetText(d.record, SHVc::CustCode, text);
                RepText(200, 0, text, 0);
                GetText(d.record, SHVc::DelAddr0, text);
                RepText(260, 0, text, 0);
                RepValue(480, 0, value.b, FtAmount2, 1);
                RepEndLine();
            }
            RecFreeMatrix(ORVc::Number, order.record);
            if (ReportCancelled()) break;
        }
        RecFreeMatrix(SHVc::Number, d.record);
    }
    if (layout != 1) {
        RepRuleFull(RuleEnd, RuleThick);
        RepStartLine(LineHeight);
        RepTextNr(0, 0, Texts::ReportTotalLabel, 0);
        RepValue(480, 0, grand.b, FtAmount2, 1);
        RepEndLine();
        RepRuleFull(RuleEnd, RuleThick);
    }
    RepEndJob();
}

// A delivery in detail: its line, the delivery mode with the address
// lines, then every row with item, texts and the quantity left and to
// deliver.
void DeliveryDetail(const uint8_t *d)
{
    assert(d);
    DeliveryLine(d);
    PString text;
    RepStartLine(LineHeight);
    GetText(d, SHVc::DelMode, text);
    RepText(60, 0, text, 0);
    GetText(d, SHVc::DelAddr1, text);
    RepText(300, 0, text, 0);
    RepEndLine();
    for (uint32_t field : {SHVc::DelAddr2, SHVc::DelAddr3}) {
        RepStartLine(LineHeight);
        GetPString(d, field, NameMax, text);
        RepText(300, 0, text, 0);
        RepEndLine();
    }
    std::vector<uint8_t> row(RecRowSize(SHVc::Number));
    assert(row.size() >= SHVc::Rows::Size);
    const int32_t rows = MatrixRowCount(SHVc::Number, 0, d);
    for (int32_t i = 0; i < rows; ++i) {
        if (!MatrixRowGet(SHVc::Number, 0, d, i, row.data())) continue;
        RepStartLine(LineHeight);
        GetText(row.data(), SHVc::Rows::ItemCode, text);
        RepText(20, 0, text, 0);
        GetText(row.data(), SHVc::Rows::Text, text);
        RepText(120, 0, text, 0);
        GetText(row.data(), SHVc::Rows::SerialNr, text);
        RepText(300, 0, text, 0);
        RepValue(420, 0, row.data() + SHVc::Rows::QtyLeft, FtAmount3, 1);
        RepValue(480, 0, row.data() + SHVc::Rows::ToDeliver, FtAmount3, 1);
        RepEndLine();
    }
}
