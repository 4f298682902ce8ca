// report_events.cpp - the events of report-selection windows: the
// defaults a window takes when it opens with given values, and the queue
// of one saved job per code when its OK goes to the job queue.
#include <cstdint>

#include "core/work_blocks.h"
#include "recordwin/report_defaults.h"
#include "shell/window_table.h"

namespace {
// The types whose OK on the job queue saves one job per code of their
// object list.
constexpr int PerCodeTypes[] = {110, 111, 112, 137, 148};
}  // namespace

// Gives the record of report window `window` its defaults by its type.
// A record smaller than a report selection is no selection and is left
// alone.
void ReportWindowDefaultsEvent(int window)
{
    if (!WinIsOpen(window)) return;
    uint8_t *record = WinRecordBuffer(window);
    const WindowRec *w = WinTable[window];
    if (!record || MemSize(w->recordHandle) < ReportParamsSize) return;
    ReportSelectionDefaults(record, WinTypeOf(window));
}

// The job record (ReportParams, the window's record copied) of a type
// that queues per code is queued once per code: 0, the caller queues
// nothing more. Other types: 1.
uint8_t ReportWindowRunEvent(int window)
{
    if (!WinIsOpen(window) || !ReportParams) return 1;
    int type = WinTypeOf(window);
    for (int t : PerCodeTypes)
        if (t == type) {
            ReportJobsPerCode(ReportParams);
            return 0;
        }
    return 1;
}
