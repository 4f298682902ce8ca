// purchase_walk.h - what the payment, purchase and expense report bodies
// share: the walk over SelText1's number range of a register kept by
// serial number, and the writing of a record's text or amount field.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "rules/rules_types.h"

// Calls act(record, recid) for each record of reg (index "SerNr", the
// number at serNrAt) in SelText1's number range, in number order; an
// open lower end starts at the first record, an open upper end runs to
// the register's end. Stops after the record at hand on Esc or when act
// gives false. The record's rows are freed between records.
template <typename Act> void SerialRangeWalk(const uint8_t *job, int reg, uint32_t serNrAt, Act act) {
    uint8_t range[256];
    GetText(job, ReportParamsVc::SelText1, range);
    int32_t from = -1, to = -1;
    RangeSplitNumber(range, &from, &to);
    RuleRecord record(reg);
    if (!record.record) return;
    PutI32(record.record, serNrAt, from < 0 ? 0 : from);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(reg, "SerNr", record.record, 1, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(reg, record.record);
            if (!RecReadAtIndex(reg, "SerNr", (int32_t)p, record.record, &recid)) break;
        }
        if (to >= 0 && GetI32(record.record, serNrAt) > to) break;
        if (!act(record.record, recid) || ReportCancelled()) break;
    }
    RecFreeMatrix(reg, record.record);
}

// Reads the record of reg whose number (at serNrAt, index "SerNr") is
// number into record; false when there is none.
inline bool ReadBySerNr(int reg, uint32_t serNrAt, int32_t number, uint8_t *record) {
    PutI32(record, serNrAt, number);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(reg, "SerNr", record, 1, 1, &recid, &position);
}

// The text field of record at `at` (at most max characters) at x.
inline void RepTextField(int x, const uint8_t *record, uint32_t at, int max, int style = 0, int align = 0) {
    uint8_t text[256];
    GetPString(record, at, max, text);
    RepTextEx(x, -1, 0, align, style, text);
}

// An amount right-aligned at x.
inline void RepAmount(int x, const PackedDecimal *amount, int style = 0) {
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, *amount);
    RepValueFmt(x, 0, slot, FtAmount2, -1, style);
}
