// item_walk.cpp - the items of report 9's selection: by code, or by item
// group and code within a group range (where an item whose code lies
// outside the code range is passed over and the next group follows).
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "dict_offsets.h"
#include "reports/frame/report_run.h"
#include "reports/sales/order_reports.h"
#include "reports/stock/item_walk.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;

struct WalkState {
    PString codeFrom{}, codeTo{}, groupFrom{}, groupTo{}, vendor{};
    bool byGroup = false;
    void (*each)(const uint8_t *, void *) = nullptr;
    void *context = nullptr;
};

bool Step(const uint8_t *item, void *context) {
    const WalkState &w = *static_cast<const WalkState *>(context);
    PString code, group;
    GetText(item, INVc::Code, code);
    if (w.byGroup) {
        GetText(item, INVc::Group, group);
        if (w.groupTo[0] && PStringCompare(group, w.groupTo) > 0) return false;
        if (PStringCompare(group, w.groupFrom) < 0) return true;
        if (PStringCompare(code, w.codeFrom) < 0) return true;
        if (w.codeTo[0] && PStringCompare(code, w.codeTo) > 0) return true;
    } else if (w.codeTo[0] && PStringCompare(code, w.codeTo) > 0) {
        return false;
    }
    if (w.vendor[0]) {
        PString vendor;
        GetText(item, INVc::VendCode, vendor);
        if (!PStringEqual(vendor, w.vendor)) return true;
    }
    w.each(item, w.context);
    return true;
}

}  // namespace

void ItemWalk(const uint8_t *selection, void (*each)(const uint8_t *item, void *context), void *context) {
    assert(selection && each);
    WalkState w;
    w.each = each;
    w.context = context;
    PString range;
    GetText(selection, P::SelText1, range);
    RangeSplit(range, w.codeFrom, w.codeTo);
    GetText(selection, P::SelText3, range);
    w.byGroup = range[0] != 0;
    if (w.byGroup) RangeSplit(range, w.groupFrom, w.groupTo);
    GetTextPrefix(selection, P::SelText7, 20, w.vendor);
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    PutText(item.record, INVc::Code, w.codeFrom);
    if (w.byGroup) {
        PutText(item.record, INVc::Group, w.groupFrom);
        ReportIndexWalk(INVc::Number, "Group", item.record, 2, Step, &w);
    } else {
        ReportIndexWalk(INVc::Number, "Code", item.record, 1, Step, &w);
    }
}
