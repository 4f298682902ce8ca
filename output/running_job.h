// running_job.h - the job record a report run prints from, and which job
// record the run going on now prints from.
//
// A body gets its job and reads its selection there; what the output
// layer reads of the running report without the job at hand (a form's
// period or layout, the selection header, the report number of a page
// set-up) it reads from RunningSelection, which the report run points at
// the body's job while the body runs.
#pragma once

#include <cstdint>

#include "core/report_job.h"

// The job record of the body running now, the global one when none runs.
const uint8_t *RunningSelection();

// Makes selection the running one while it lives (the report run around
// a body, a test that calls a body itself).
class RunningSelectionScope {
public:
    explicit RunningSelectionScope(const uint8_t *selection);
    ~RunningSelectionScope();
    RunningSelectionScope(const RunningSelectionScope &) = delete;
    RunningSelectionScope &operator=(const RunningSelectionScope &) = delete;

private:
    const uint8_t *previous;
};
