// output_runs_install.h - the maintenance call of the global job record,
// for the tests that still fill it.
#pragma once

#include "core/work_blocks.h"
#include "output/job_queue.h"
#include "output/output_job.h"

// Runs the maintenance routine of the global job record as a job.
inline bool RunMaintenanceCall()
{
    ReportJob job{ReportParams};
    return RunMaintenanceCall(job);
}
