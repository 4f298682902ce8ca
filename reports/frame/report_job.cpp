// report_job.cpp - a report job received from a client: the bytes of its
// job record taken only when they are one, and run.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "reports/frame/report_run.h"

namespace {
}  // namespace

// Takes the job record a client sent (size bytes) into job. A record of
// any other size is refused with a message and leaves the job as it was:
// a shorter one would run with another job's words behind it, a longer
// one cannot be a record of this layout.
bool ReportJobReceive(const uint8_t *bytes, uint32_t size, ReportJob &job)
{
    assert(job.selection);
    if (!bytes || size != ReportParamsSize) {
        ShowTextMessage(Texts::ReportJobDamaged);
        return false;
    }
    std::memcpy(job.selection, bytes, ReportParamsSize);
    return true;
}

// Runs a report job a client sent: its record taken into a job of its
// own, then the run with its own check. False when the record was refused.
bool ReportJobRun(const uint8_t *bytes, uint32_t size)
{
    std::vector<uint8_t> selection(ReportParamsSize, 0);
    ReportJob job{selection.data()};
    if (!ReportJobReceive(bytes, size, job)) return false;
    RunReport(job);
    return true;
}
