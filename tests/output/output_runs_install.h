// output_runs_install.h - what the tests below the features used to
// install of the output layer's runs. The ring of saved jobs and the batch
// routines are called directly now, so nothing is left to install; the
// maintenance call of the global job record serves the tests that still
// fill it.
#pragma once

#include "core/work_blocks.h"
#include "output/job_queue.h"
#include "output/output_job.h"

// Nothing to install: the output layer calls its own runs.
inline void OutputRunsInstall() {}

// Runs the maintenance routine of the global job record as a job.
inline bool RunMaintenanceCall()
{
    ReportJob job{ReportParams};
    return RunMaintenanceCall(job);
}
