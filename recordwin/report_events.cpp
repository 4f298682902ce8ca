// report_events.cpp - the events of report-selection windows: the
// defaults a window takes when it opens with given values, and the queue
// of one saved job per code when its OK goes to the job queue.
#include <cstdint>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "recordwin/report_defaults.h"
#include "recordwin/report_defaults_table.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// Gives the record of report window `window` its defaults by its type.
// A record smaller than a report selection is no selection and is left
// alone. The current period is proposed only where the window shows the
// period: a window without it would run its report over a period the
// user can neither see nor change, so there the period stays open.
void ReportWindowDefaultsEvent(int window)
{
    if (!WinIsOpen(window)) return;
    uint8_t *record = WinRecordBuffer(window);
    const WindowRec *w = WinTable[window];
    if (!record || MemSize(w->recordHandle) < ReportParamsSize) return;
    ReportSelectionDefaults(record, WinTypeOf(window));
    namespace RP = ReportParamsVc;
    for (uint32_t at : std::initializer_list<uint32_t>{RP::PeriodText, RP::DateFrom, RP::DateTo})
        if (WinScreenFieldOfOffset(window, at) != NoField) return;
    ReportPeriodOpen(record);
}

// The job (the window's record copied) of a window that queues per code
// (SelectionQueuesPerCode) is queued once per code: 0, the caller queues
// nothing more; 2 when nothing could be queued (the user was told why),
// so that the window stays open with the selection as typed. Other
// windows: 1, the caller queues the job.
uint8_t ReportWindowRunEvent(int window, ReportJob &job)
{
    if (!WinIsOpen(window) || !SelectionQueuesPerCode(WinTypeOf(window)) || !job.selection) return 1;
    return ReportJobsPerCode(job.selection) > 0 ? 0 : 2;
}
