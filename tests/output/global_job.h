// global_job.h - a body that takes its job, run from the global job
// record, for the tests written against bodies of no arguments: they set
// the selection in ReportParams and read what the body wrote there.
//
// The body runs as a run runs it: over a job of its own (a copy of the
// global record) attached to the output, while the global record holds
// bytes no selection has, so that a body or a routine it calls that reads
// the global instead of its job prints something else. What the body
// wrote into its job goes back into the global record afterwards.
#pragma once

#include <cstring>

#include "core/report_job.h"
#include "core/work_blocks.h"
#include "output/output_job.h"

template <typename Run>
void OverCopyOfGlobalJob(Run run)
{
    OwnedJob own;
    std::memcpy(own.job.selection, ReportParams, ReportParamsSize);
    std::memset(ReportParams, 0xEE, ReportParamsSize);
    {
        OutputJobAttach attached(own.job);
        run(own.job);
    }
    std::memcpy(ReportParams, own.job.selection, ReportParamsSize);
}

template <void (*Body)(ReportJob &)>
void OverGlobalJob()
{
    OverCopyOfGlobalJob([](ReportJob &job) { Body(job); });
}

template <void (*Body)(ReportJob &, int)>
void OverGlobalJobArg(int arg)
{
    OverCopyOfGlobalJob([arg](ReportJob &job) { Body(job, arg); });
}
