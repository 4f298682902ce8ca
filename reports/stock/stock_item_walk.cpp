// stock_item_walk.cpp - the walk over the items that the item reports
// share: a code range, a group range and a classification code from the
// selection, in code, group or name order, with a heading per group.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/stock/stock_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int OrderCode = 0, OrderGroup = 1, OrderName = 2;
constexpr int LineHeight = 15;

bool Below(const uint8_t *value, const uint8_t *from) { return from[0] && PStringCompare(value, from) < 0; }
bool Above(const uint8_t *value, const uint8_t *to) { return to[0] && PStringCompare(value, to) > 0; }

// The heading of a group: a rule (not before the first group), the
// group's code and name between rules.
void GroupHeading(const uint8_t *group, bool first) {
    if (!first) RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepTextEx(20, -1, 0, 0, 0, group);
    RuleRecord itemGroup(ITVc::Number);
    if (itemGroup.record) {
        PutText(itemGroup.record, ITVc::Code, group);
        uint32_t recid = 0, position = 0;
        if (RecFind(ITVc::Number, itemGroup.record, 1, 1, &recid, &position))
            StockFieldAt(100, itemGroup.record, ITVc::Name);
    }
    RepEndLine();
    RepRuleFull(1, 4);
}

}  // namespace

void StockItemWalk(const uint8_t *selection, int order, bool groupHeadings, void (*each)(const uint8_t *item, void *context),
                   void *context) {
    assert(each && selection);
    PString range, codeFrom, codeTo, groupFrom, groupTo, kind, code, group, itemKind, lastGroup;
    GetText(selection, P::SelText1, range);
    RangeSplit(range, codeFrom, codeTo);
    GetText(selection, P::SelText3, range);
    RangeSplit(range, groupFrom, groupTo);
    GetText(selection, P::SelText7, kind);
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    const char *index = order == OrderGroup ? "Group" : order == OrderName ? "Name" : "Code";
    int parts = 1;
    if (order == OrderCode) {
        PutText(item.record, INVc::Code, codeFrom);
    } else if (order == OrderGroup) {
        PutText(item.record, INVc::Group, groupFrom);
        PutText(item.record, INVc::Code, codeFrom);
        parts = 2;
    }
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(INVc::Number, index, item.record, parts, 0, &recid, &position);
    bool firstGroup = true;
    for (int32_t p = (int32_t)position; more; p++) {
        if (p != (int32_t)position && !RecReadAtIndex(INVc::Number, index, p, item.record, &recid)) break;
        GetText(item.record, INVc::Code, code);
        GetText(item.record, INVc::Group, group);
        const bool codeOut = Below(code, codeFrom) || Above(code, codeTo);
        const bool groupOut = Below(group, groupFrom) || Above(group, groupTo);
        if (order == OrderCode && Above(code, codeTo)) break;
        if (order == OrderGroup && Above(group, groupTo)) break;
        if (codeOut || groupOut) continue;
        GetText(item.record, INVc::VendCode, itemKind);
        if (kind[0] && !PStringEqual(kind, itemKind)) continue;
        if (groupHeadings && order == OrderGroup && (firstGroup || !PStringEqual(group, lastGroup))) {
            GroupHeading(group, firstGroup);
            firstGroup = false;
            PStringCopy(lastGroup, group);
        }
        each(item.record, context);
        if (ReportCancelled()) break;
    }
}
