// output_runs_install.cpp - puts the runs that this layer and the batch
// routines offer into OutputRunServices at start-up.
#include "operations/batch_routines.h"
#include "output/output_job.h"
#include "output/job_queue.h"

// The ring of saved jobs and the batch routines by number; what the
// batch runs show while they run is the ui layer's (RunOutcomeUiInstall).
void OutputRunsInstall()
{
    OutputRunServices.repJobQueuePush = JobQueuePushLocal;
    OutputRunServices.repJobQueueRun = JobQueueRunLocal;
    OutputRunServices.runMaintenance = RunMaintenance;
}
