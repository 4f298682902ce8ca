// report_job.cpp - a report job received from a client: the bytes of its
// job record taken into ReportParams only when they are one, and run.
#include <cassert>
#include <cstring>

#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "reports/frame/report_run.h"

namespace {
constexpr int TextJobDamaged = 10418;
}  // namespace

// Takes the job record a client sent (size bytes) into ReportParams. A
// record of any other size is refused with a message and leaves the job
// record as it was: a shorter one would run with the previous job's
// words behind it, a longer one cannot be a record of this layout.
bool ReportJobReceive(const uint8_t *bytes, uint32_t size)
{
    assert(ReportParams);
    if (!bytes || size != ReportParamsSize) {
        ShowTextMessage(TextJobDamaged);
        return false;
    }
    std::memcpy(ReportParams, bytes, ReportParamsSize);
    return true;
}

// Runs a report job a client sent: its record taken, then the run with
// its own check. False when the record was refused.
bool ReportJobRun(const uint8_t *bytes, uint32_t size)
{
    if (!ReportJobReceive(bytes, size)) return false;
    RunReport();
    return true;
}
