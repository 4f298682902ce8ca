// index_walk.h - a register read in the order of one of its indexes from
// a key, record after record, until the caller says it has passed what it
// wants or the index ends: the walk over an order's deliveries, a
// purchase order's purchases, a code's ledger entries. Reports add an Esc
// poll to it (reports/frame/index_walk.h).
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/field_access.h"
#include "database/access/record_access.h"

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

// IndexWalkAll over the records whose number field `field` is `value`,
// the index's first part: the walk writes value into record's field itself
// and ends at the first record of another value.
template <typename Act>
void IndexWalkOfNumber(int reg, const char *index, uint8_t *record, U32Field field, uint32_t value, Act act) {
    PutU32(record, field, value);
    IndexWalkAll(reg, index, record, 1, [&](uint8_t *r) { return GetU32(r, field) == value && act(r); });
}
