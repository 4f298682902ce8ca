// index_walk.h - the walk most reports make: a register read in the
// order of one of its indexes from a key, record after record, until the
// report says it has passed its selection, the index ends or (for a
// report's own walk) the user presses Esc; and the walk over one code's
// records, as a customer's or vendor's ledger entries.
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "reports/frame/report_run.h"

// Calls act(record), or act(record, recid) where act takes the record's
// id too; what act returns says whether the walk goes on.
template <typename Act> bool IndexWalkStep(Act &act, uint8_t *record, uint32_t recid) {
    if constexpr (std::is_invocable_v<Act &, uint8_t *, uint32_t>) return act(record, recid);
    else return act(record);
}

// Reads reg by index from the key that record holds in its first `parts`
// parts, calling act for each record (IndexWalkStep) until act returns
// false or the index ends. The record's rows are freed between records
// and at the end, also when the key finds nothing (the find may have read
// rows into it). Esc is not polled: for sums that must be whole.
template <typename Act> void IndexWalkAll(int reg, const char *index, uint8_t *record, int parts, Act act) {
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(reg, index, record, parts, 0, &recid, &position)) {
        RecFreeMatrix(reg, record);
        return;
    }
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(reg, record);
            if (!RecReadAtIndex(reg, index, int32_t(p), record, &recid)) break;
        }
        if (!IndexWalkStep(act, record, recid)) break;
    }
    RecFreeMatrix(reg, record);
}

// IndexWalkAll for a report: it also stops on Esc, after the record at
// hand.
template <typename Act> void IndexWalkFrom(int reg, const char *index, uint8_t *record, int parts, Act act) {
    IndexWalkAll(reg, index, record, parts,
                 [&](uint8_t *r, uint32_t recid) { return IndexWalkStep(act, r, recid) && !ReportCancelled(); });
}

// IndexWalkAll over the records whose text field `field` is `code`, the
// index's first part: the walk writes code into record's field itself
// (the key's other parts are the caller's) and ends at the first record
// of another code. A report's act polls Esc where it may stop.
template <int N, typename Act>
void IndexWalkOfCode(int reg, const char *index, uint8_t *record, int parts, TextField<N> field, const uint8_t *code,
                     Act act) {
    PutText(record, field, code);
    PString own;
    IndexWalkAll(reg, index, record, parts, [&](uint8_t *r) {
        GetText(r, field, own);
        return PStringEqual(own, code) && act(r);
    });
}
