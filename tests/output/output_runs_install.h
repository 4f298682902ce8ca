// output_runs_install.h - the maintenance call of the test's job record
// (TestJob), for the tests that fill their selection there.
#pragma once

#include "core/work_blocks.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "tests/output/test_job.h"

// Runs the maintenance routine of TestJob as a job.
inline bool RunMaintenanceCall()
{
    ReportJob job{TestJob};
    return RunMaintenanceCall(job);
}
