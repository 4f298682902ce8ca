// customer_list_report.cpp - report 3, the customers of a code or name
// range: a card per customer with its addresses and terms (Option1 0) or
// one line each (1); by code, by name, or by customer group with a
// heading per group (Option2 0, 1, 2); the count printed at the end.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/stock/stock_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, GapHeight = 10;
constexpr int ColLast = 1, ColName = 2, ColDetail = 3;
constexpr int OrderCode = 0, OrderName = 1, OrderGroup = 2;
constexpr int DoubleRule = 6;

// Text n and a field of the customer at x.
void Labelled(int x, int n, const uint8_t *customer, uint32_t offset, int width) {
    PString t, field;
    GetUiText(t, n);
    GetPString(customer, offset, width, field);
    PStringAppend(t, field);
    RepTextEx(x, -1, 0, 0, 0, t);
}

void CardLines(const uint8_t *customer) {
    RepStartLine(LineHeight);
    StockFieldAt(0, customer, CUVc::Code);
    StockFieldAt(ColName, customer, CUVc::Name);
    Labelled(ColDetail, 2307, customer, CUVc::Phone, 20);
    RepEndLine();
    const uint32_t address[] = {CUVc::Addr1, CUVc::Addr2, CUVc::Addr3};
    const struct {
        int text;
        uint32_t field;
        int width;
    } right[] = {{2308, CUVc::Text646, 20}, {2315, CUVc::CustGroup, 5}, {2316, CUVc::SalesMan, 5}};
    for (int i = 0; i < 3; i++) {
        RepStartLine(LineHeight);
        StockFieldAt(ColName, customer, address[i], 60);
        Labelled(ColDetail, right[i].text, customer, right[i].field, right[i].width);
        RepEndLine();
    }
    PString delivery;
    GetText(customer, CUVc::DelAddr1, delivery);
    if (delivery[0] != 0) {
        RepStartLine(LineHeight);
        RepTextNr(ColName, 0, 2306, 0);
        RepEndLine();
        for (uint32_t line : {CUVc::DelAddr1, CUVc::DelAddr2, CUVc::DelAddr3}) {
            RepStartLine(LineHeight);
            StockFieldAt(ColName, customer, line, 60);
            RepEndLine();
        }
    }
    const struct {
        int left;
        uint32_t leftField;
        int leftWidth, right;
        uint32_t rightField;
        int rightWidth;
    } pairs[] = {{2309, CUVc::PayTerms, 2, 2317, CUVc::CurncyCode, 5},
                 {2313, CUVc::LangCode, 5, 2314, CUVc::PriceList, 5}};
    for (const auto &p : pairs) {
        RepStartLine(LineHeight);
        Labelled(ColName, p.left, customer, p.leftField, p.leftWidth);
        Labelled(ColDetail, p.right, customer, p.rightField, p.rightWidth);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    Labelled(ColName, 2318, customer, CUVc::Note, 60);
    const PackedDecimal limit = GetDec(customer, CUVc::CreditLimit);
    StockValueAt(ColLast, &limit, FtAmount2);
    RepEndLine();
    RepRuleFull(1, 4);
}

void ListLine(const uint8_t *customer) {
    PString t, town;
    GetText(customer, CUVc::Name, t);
    GetText(customer, CUVc::Addr3, town);
    if (town[0]) {
        PStringAppendC(t, ", ");
        PStringAppend(t, town);
    }
    RepStartLine(LineHeight);
    StockFieldAt(0, customer, CUVc::Code);
    RepTextEx(ColName, -1, 0, 0, 0, t);
    StockFieldAt(ColLast, customer, CUVc::Phone, -1);
    RepEndLine();
}

void GroupHead(const uint8_t *group) {
    RepRuleFull(1, DoubleRule);
    RepStartLine(LineHeight);
    RepTextEx(0, -1, 0, 0, 0, group);
    RuleRecord g(CustGroupVc::Number);
    if (g.record) {
        PutText(g.record, CustGroupVc::Code, group);
        uint32_t recid = 0, position = 0;
        if (RecFind(CustGroupVc::Number, g.record, 1, 1, &recid, &position))
            StockFieldAt(ColName, g.record, CustGroupVc::Name);
    }
    RepEndLine();
    RepRuleFull(1, DoubleRule);
}

// A field of the customer must equal a selection text when that is given.
bool Matches(const uint8_t *selection, const uint8_t *customer, uint32_t wantAt, int wantWidth, uint32_t field,
             int width) {
    PString want, got;
    GetPString(selection, wantAt, wantWidth, want);
    if (want[0] == 0) return true;
    GetPString(customer, field, width, got);
    return PStringEqual(want, got);
}

}  // namespace

void CustomerListReport(ReportJob &job) {
    assert(job.selection);
    const bool card = GetU16(job.selection, P::Option1) == 0;
    int order = GetU16(job.selection, P::Option2);
    if (order > OrderGroup) order = OrderCode;
    PString range, from, to, group, code, ownGroup, lastGroup, name;
    GetText(job.selection, P::SelText1, range);
    RangeSplit(range, from, to);
    GetTextPrefix(job.selection, P::SelText3, 5, group);
    const bool byGroup = order == OrderGroup || (order == OrderCode && group[0]);

    RepBeginJobNr(2301);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2302, 0);
    if (card) {
        RepTextNr(ColName, 0, 2303, 0);
        RepTextNr(ColDetail, 0, 2304, 0);
        RepTextNr(ColLast, 0, 2305, -1);
    } else {
        RepTextNr(ColName, 0, 2311, 0);
        RepTextNr(ColLast, 0, 2312, -1);
    }
    RepEndLine();

    RuleRecord customer(CUVc::Number);
    int32_t count = 0;
    if (customer.record) {
        const char *index = byGroup ? "Group" : order == OrderName ? "Name" : "Code";
        int parts = 1;
        if (byGroup) {
            PutText(customer.record, CUVc::CustGroup, group);
            PutText(customer.record, CUVc::Code, from);
            parts = 2;
        } else if (order == OrderName) {
            PutText(customer.record, CUVc::Name, from);
        } else {
            PutText(customer.record, CUVc::Code, from);
        }
        uint32_t recid = 0, position = 0;
        bool more = RecFindByIndex(CUVc::Number, index, customer.record, parts, 0, &recid, &position);
        bool first = true;
        for (int32_t p = (int32_t)position; more; p++) {
            if (p != (int32_t)position && !RecReadAtIndex(CUVc::Number, index, p, customer.record, &recid)) break;
            GetText(customer.record, CUVc::Code, code);
            GetText(customer.record, CUVc::CustGroup, ownGroup);
            GetText(customer.record, CUVc::Name, name);
            if (group[0] && !PStringEqual(ownGroup, group)) {
                if (byGroup) break;
                continue;
            }
            const uint8_t *key = order == OrderName ? name : code;
            if (to[0] && PStringCompare(key, to) > 0) {
                if (!byGroup) break;
                continue;
            }
            if (byGroup && from[0] && PStringCompare(code, from) < 0) continue;
            if (!Matches(job.selection, customer.record, P::SelText2, 5, CUVc::SalesMan, 5) ||
                !Matches(job.selection, customer.record, P::SelText5, 21, CUVc::LangCode, 5) ||
                !Matches(job.selection, customer.record, P::SelText6, 21, CUVc::CurncyCode, 5))
                continue;
            if (order == OrderGroup && (first || !PStringEqual(ownGroup, lastGroup))) {
                GroupHead(ownGroup);
                PStringCopy(lastGroup, ownGroup);
            }
            first = false;
            if (card) CardLines(customer.record);
            else ListLine(customer.record);
            count++;
            if (ReportCancelled()) break;
        }
    }
    RepStartLine(GapHeight);
    RepEndLine();
    RepStartLine(LineHeight);
    uint8_t slot[sizeof(int32_t)];
    PutI32(slot, 0, count);
    RepValue(0, 0, slot, FtLongOrEmpty, 0);
    RepEndLine();
    RepEndJob();
}
