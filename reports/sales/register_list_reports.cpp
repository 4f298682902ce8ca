// register_list_reports.cpp - the listings of register_list_reports.h.
// Each begins its job, prints one line or block a record and ends the
// job; Esc ends every walk after the record at hand.
#include <cassert>
#include <cstring>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/register_list_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
namespace V = VEVc;
constexpr int LineHeight = 15, LastRegister = 132;
constexpr int StopEnd = 1, Stop2 = 2, Stop3 = 3, Stop4 = 4;

void Text(int x, const uint8_t *text, int align = 0) { RepTextEx(x, -1, 0, align, 0, text); }
void Value(int x, const uint8_t *record, uint32_t offset, int type, int align) {
    RepValue(x, 0, record + offset, type, align);
}
// True when value lies in from..to (an empty end is open).
bool InRange(const uint8_t *value, const uint8_t *from, const uint8_t *to) {
    if (from[0] != 0 && PStringCompareNoCase(value, from) < 0) return false;
    return to[0] == 0 || PStringCompareNoCase(value, to) <= 0;
}

// "label field" in x when the field is not empty (or always).
void Labelled(int x, int label, const uint8_t *record, uint32_t offset, int width, bool always) {
    PString value, line;
    GetPString(record, offset, width, value);
    if (value[0] == 0 && !always) return;
    GetUiText(line, label);
    PStringAppendC(line, " ");
    PStringAppend(line, value);
    Text(x, line);
}

// A card line of one or two labelled fields; the pair shown when either
// is not empty (or always).
void CardPair(const uint8_t *v, int la, uint32_t fa, int wa, int lb, uint32_t fb, int wb, bool always) {
    const bool any = v[fa] != 0 || v[fb] != 0;
    if (!any && !always) return;
    RepStartLine(LineHeight);
    Labelled(Stop2, la, v, fa, wa, true);
    Labelled(Stop3, lb, v, fb, wb, true);
    RepEndLine();
}

void VendorCard(const uint8_t *v) {
    RepStartLine(LineHeight);
    RepTextField(0, v, V::Code);
    RepTextField(Stop2, v, V::Name);
    RepTextField(Stop3, v, V::AccountNr);
    RepEndLine();
    for (uint32_t at : {V::Addr1, V::Addr2, V::Addr3}) {
        if (v[at] == 0) continue;
        RepStartLine(LineHeight);
        RepTextField(Stop2, v, at, 60);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    Labelled(Stop2, 4028, v, V::Contact, 60, true);
    Labelled(Stop3, 4029, v, V::Reference, 60, false);
    RepEndLine();
    CardPair(v, 4037, V::BankGiro, 30, 4038, V::PostalGiro, 30, false);
    CardPair(v, 4030, V::PayTerms, 2, 4031, V::CurncyCode, 5, true);
    CardPair(v, 4035, V::PurchAcc, 10, 4036, V::Objects, 5, false);
    CardPair(v, 4032, V::VEGroup, 5, 4033, V::LangCode, 5, true);
    if (v[V::Note] != 0) {
        RepStartLine(LineHeight);
        Labelled(Stop2, 4034, v, V::Note, 60, false);
        RepEndLine();
    }
    RepRuleFull(1, 1);
}

void VendorLine(const uint8_t *v) {
    PString text, more;
    GetText(v, V::Name, text);
    GetText(v, V::Addr1, more);
    if (more[0] != 0) {
        PStringAppendC(text, ", ");
        PStringAppend(text, more);
    }
    RepStartLine(LineHeight);
    RepTextField(0, v, V::Code);
    Text(Stop2, text);
    GetText(v, V::AccountNr, more);
    Text(StopEnd, more, -1);
    RepEndLine();
}

}  // namespace

// Report 85: every register that keeps records of its own, with its
// record count, and the total.
void RegisterCountReport(ReportJob &job) {
    RepBeginJobNr(0);
    RepStartLine(LineHeight);
    RepEndLine();
    int32_t total = 0;
    uint8_t count[4];
    for (int reg = 0; reg <= LastRegister; reg++) {
        const uint8_t *name = RegName(reg);
        if (!name || name[0] == 0 || RegIsSimple(reg)) continue;
        if (name[0] >= 2 && name[1] == 'T' && name[2] == 'r') continue;
        const int32_t n = int32_t(RegOpenCount(reg));
        PutI32(count, 0, n);
        RepStartLine(LineHeight);
        RepValue(50, 0, count, FtLong, -1);
        Text(200, name);
        RepEndLine();
        total += n;
        if (ReportCancelled()) break;
    }
    RepRuleFull(1, 1);
    PutI32(count, 0, total);
    RepStartLine(LineHeight);
    RepValue(50, 0, count, FtLong, -1);
    RepEndLine();
    RepEndJob();
}

// Report 27: the vendors of a code (or name) range, of one class when
// given, as a list or as cards.
void VendorListReport(ReportJob &job) {
    RepBeginJobNr(4021);
    const bool list = GetU16(job.selection, P::Option1) == 1, byName = GetU16(job.selection, P::Option2) == 1;
    if (list) {
        ReportHeadings(LineHeight, {{0, 4022}, {Stop2, 4026}, {StopEnd, 4027, -1}});
    } else {
        ReportHeadings(LineHeight, {{0, 4022}, {Stop2, 4023}, {Stop3, 4024}});
        ReportHeadings(LineHeight, {{Stop2, 4025}});
    }
    RepRuleFull(1, 1);
    PString range, from, to, cls, value;
    GetText(job.selection, P::SelText1, range);
    RangeSplit(range, from, to);
    GetTextPrefix(job.selection, P::SelText2, 5, cls);
    RuleRecord v(V::Number);
    if (v.record) {
        PutPString(v.record, byName ? uint32_t(V::Name) : V::Code, byName ? 60 : 20, from);
        IndexWalkFrom(V::Number, byName ? "Name" : "Code", v.record, 1, [&](const uint8_t *r) {
            GetPString(r, byName ? uint32_t(V::Name) : V::Code, byName ? 60 : 20, value);
            if (!byName && to[0] != 0 && PStringCompareNoCase(value, to) > 0) return false;
            if (byName && !InRange(value, from, to)) return true;   // the name order runs to the end
            GetText(r, V::VEGroup, value);
            if (cls[0] != 0 && !PStringEqual(value, cls)) return true;
            if (list) VendorLine(r);
            else VendorCard(r);
            return true;
        });
    }
    RepEndJob();
}

// Report 113: the purchase items of an item and a vendor range, by item
// or by vendor.
void PurchaseItemReport(ReportJob &job) {
    namespace I = PurchItemVc;
    RepBeginJobNr(2320);
    ReportHeadings(LineHeight, {{0, 2325}, {Stop2, 2326}, {235, 6662}, {Stop4, 6663}, {StopEnd, 5013, -1}});
    RepRuleFull(1, 1);
    PString range, itemFrom, itemTo, vendFrom, vendTo, item, vendor;
    GetText(job.selection, P::SelText1, range);
    RangeSplit(range, itemFrom, itemTo);
    GetText(job.selection, P::SelText2, range);
    RangeSplit(range, vendFrom, vendTo);
    const bool byVendor = GetU16(job.selection, P::Option3) == 1;
    RuleRecord r(I::Number);
    if (r.record) {
        if (!byVendor) PutText(r.record, I::ItemCode, itemFrom);
        IndexWalkFrom(I::Number, byVendor ? "Vendor" : "MainKey", r.record, 1, [&](const uint8_t *p) {
            GetText(p, I::ItemCode, item);
            GetText(p, I::VendCode, vendor);
            if (!byVendor && itemTo[0] != 0 && PStringCompareNoCase(item, itemTo) > 0) return false;
            if (!InRange(item, itemFrom, itemTo) || !InRange(vendor, vendFrom, vendTo)) return true;
            RepStartLine(LineHeight);
            Text(0, item);
            RepTextField(Stop2, p, I::Text);
            Text(235, vendor);
            if (GetU16(p, I::Default) == 1) RepCText(Stop4, 0, " *", 0);
            Value(StopEnd, p, I::Price, FtAmount3Drop, -1);
            RepEndLine();
            return true;
        });
    }
    RepRuleFull(1, 1);
    RepEndJob();
}

// Report 79: the productions of a number range in the period, a line
// each (layouts 0 and 2) or a block with their rows (layout 1).
void ProductionReport(ReportJob &job) {
    namespace R = ProductionVc;
    RepBeginJobNr(5101);
    const bool block = GetU16(job.selection, P::ReportLayout) == 1;
    if (block) {
        ReportHeadings(LineHeight, {{0, 5102}, {130, 5103}, {200, 5104}});
    } else {
        ReportHeadings(LineHeight, {{0, 5102}, {60, 5103}, {140, 5106}, {340, 5104}, {StopEnd, 5105, -1}});
        RepRuleFull(1, 1);
    }
    PString range;
    GetText(job.selection, P::SelText1, range);
    int32_t from = -1, to = -1;
    RangeSplitNumber(range, &from, &to);
    const DateRec dateFrom = GetDate(job.selection, P::DateFrom), dateTo = GetDate(job.selection, P::DateTo);
    RuleRecord r(R::Number);
    if (r.record) {
        PutI32(r.record, R::SerNr, from < 0 ? 0 : from);
        IndexWalkFrom(R::Number, "SerNr", r.record, 1, [&](const uint8_t *p) {
            if (to >= 0 && GetI32(p, R::SerNr) > to) return false;
            const DateRec date = GetDate(p, R::ProdDate);
            if (dateFrom.year != 0 && DateCompare(&date, &dateFrom) < 0) return true;
            if (dateTo.year != 0 && DateCompare(&date, &dateTo) > 0) return true;
            if (!block) {
                RepStartLine(LineHeight);
                Value(0, p, R::SerNr, FtLong, 0);
                Value(60, p, R::ProdDate, FtDate, 0);
                RepTextField(140, p, R::Text);
                RepTextField(340, p, R::ItemCode);
                Value(StopEnd, p, R::Mark, FtMark, -1);
                RepEndLine();
                return true;
            }
            RepRuleFull(1, 1);
            RepStartLine(LineHeight);
            Value(0, p, R::SerNr, FtLong, 0);
            Value(130, p, R::ProdDate, FtDate, 0);
            RepTextField(200, p, R::ItemCode);
            RepEndLine();
            RepStartLine(LineHeight);
            RepTextField(50, p, R::Text);
            RepTextField(200, p, R::StructText);
            RepEndLine();
            RepStartLine(LineHeight);
            RepEndLine();
            ReportHeadings(LineHeight, {{20, 5107}, {124, 5108, -1}, {200, 5109, -1}, {300, 5110, -1}, {400, 5111, -1},
                                        {460, 5112, -1}});
            uint8_t row[R::Rows::Size];
            for (int32_t i = 0, n = MatrixRowCount(R::Number, 0, p); i < n; i++) {
                if (!MatrixRowRead(R::Number, p, i, row)) break;
                RepStartLine(LineHeight);
                RepTextField(20, row, R::Rows::ItemCode);
                Value(124, row, R::Rows::QtyUsed, FtAmount3Drop, -1);
                Value(200, row, R::Rows::QtyMade, FtAmount3Drop, -1);
                RepTextField(300, row, R::Rows::SerialNr);
                Value(400, row, R::Rows::UnitCost, FtAmount2, -1);
                Value(460, row, R::Rows::ExtraCost, FtAmount2, -1);
                RepEndLine();
            }
            return true;
        });
    }
    RepRuleFull(1, 1);
    RepEndJob();
}
