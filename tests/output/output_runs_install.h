// output_runs_install.h - the output layer's own runs put into
// OutputRunServices for tests that run below the features, which fill the
// whole table at the program's start.
#pragma once

#include "core/work_blocks.h"
#include "operations/batch_routines.h"
#include "output/job_queue.h"
#include "output/output_job.h"

// The ring of saved jobs and the local batch routine; the report command,
// the selection check and the text export stay as they were.
inline void OutputRunsInstall()
{
    OutputRunServices.repJobQueuePush = JobQueuePushLocal;
    OutputRunServices.repJobQueueRun = JobQueueRunLocal;
    OutputRunServices.runMaintenance = [] {
        ReportJob job{ReportParams};   // bridge: the job from the global, as the features' install
        return RunMaintenance(job);
    };
}
