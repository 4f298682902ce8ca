// purchase_walk.h - what the payment, purchase and expense report bodies
// share: the walk over SelText1's number range of a register kept by
// serial number, and the read of one record by its number.
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
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
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
    IndexWalkFrom(reg, "SerNr", record.record, 1, [&](uint8_t *r, uint32_t recid) {
        return (to < 0 || GetI32(r, serNrAt) <= to) && act(r, recid);
    });
}

// Reads the record of reg whose number (at serNrAt, index "SerNr") is
// number into record; false when there is none.
inline bool ReadBySerNr(int reg, uint32_t serNrAt, int32_t number, uint8_t *record) {
    PutI32(record, serNrAt, number);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(reg, "SerNr", record, 1, 1, &recid, &position);
}
