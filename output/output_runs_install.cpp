// output_runs_install.cpp - puts the runs that this layer and the batch
// routines offer into OutputRunServices at start-up.
#include "operations/batch_routines.h"
#include "output/output_job.h"
#include "output/job_queue.h"

// The ring of saved jobs, the batch routines by number, and what the
// batch runs show while they run.
void OutputRunsInstall()
{
    OutputRunServices.repJobQueuePush = JobQueuePushLocal;
    OutputRunServices.repJobQueueRun = JobQueueRunLocal;
    OutputRunServices.runMaintenance = RunMaintenance;
    RunOutcomeUiInstall();
}
