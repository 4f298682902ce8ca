// index_walk.h - the walk most reports make: the index walk of
// database/access/index_walk.h that (for a report's own walk) also stops
// when the user presses Esc, and the walk over one code's records, as a
// customer's or vendor's ledger entries.
#pragma once

#include <cstdint>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/index_walk.h"
#include "database/access/record_access.h"
#include "reports/frame/report_run.h"

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
