// global_job.h - a body that takes its job, run over the global job
// record, for the tests written against bodies of no arguments: they set
// the selection in ReportParams and read what the body wrote there.
#pragma once

#include "core/work_blocks.h"
#include "reports/frame/report_run.h"

template <void (*Body)(ReportJob &)>
void OverGlobalJob()
{
    ReportJob job{ReportParams};
    Body(job);
}

template <void (*Body)(ReportJob &, int)>
void OverGlobalJobArg(int arg)
{
    ReportJob job{ReportParams};
    Body(job, arg);
}
