// index_walk.h - the walk most list reports make: a register read in the
// order of one of its indexes from a key, record after record, until the
// report says it has passed its selection, the index ends or the user
// presses Esc; and a line of column headings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_run.h"

// Reads reg by index from the key that record holds in its first `parts`
// parts, calling act(record) for each record until act returns false,
// the index ends or Esc (after the record at hand). The record's rows are
// freed at the end.
template <typename Act> void IndexWalkFrom(int reg, const char *index, uint8_t *record, int parts, Act act) {
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(reg, index, record, parts, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(reg, record);
            if (!RecReadAtIndex(reg, index, int32_t(p), record, &recid)) break;
        }
        if (!act(record)) break;
        if (ReportCancelled()) break;
    }
    RecFreeMatrix(reg, record);
}

// One line of headings: (x, text number) pairs, the ones from the
// rightFrom-th on right-aligned.
inline void ReportHeadings(int height, std::initializer_list<std::pair<int, int>> heads, int rightFrom = 99) {
    RepStartLine(height);
    int i = 0;
    for (const auto &[x, n] : heads) RepTextNr(x, 0, n, i++ >= rightFrom ? -1 : 0);
    RepEndLine();
}
