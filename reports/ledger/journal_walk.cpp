// journal_walk.cpp - what the purchase and journal reports share in
// their walk: the serial-number range of the selection, the open date
// range, and an amount printed right-aligned.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/ledger/journal_reports.h"
#include "rules/rules_types.h"

SerialRange SerialRangeOfSelection(const uint8_t *selection) {
    assert(selection);
    PString range;
    GetText(selection, ReportParamsVc::SelText1, range);
    SerialRange r{-1, -1};
    RangeSplitNumber(range, &r.from, &r.to);
    // All bits set is "no lower end": the walk starts at the first serial.
    if (r.from < 0) r.from = 0;
    return r;
}

bool SerialPastRange(int32_t serial, const SerialRange &range) {
    return range.to != -1 && serial > range.to;
}

bool DateInOpenRange(const DateRec *date, const DateRec *from, const DateRec *to) {
    assert(date && from && to);
    if (from->year != 0 && DateCompare(date, from) < 0) return false;
    return to->year == 0 || DateCompare(date, to) <= 0;
}

void PrintAmountAt(int x, const PackedDecimal *amount) {
    assert(amount);
    RepAmountAt(x, amount, FtAmount2, 1);
}
