// test_job_body.h - a body that takes its job, run from the test's job
// record (TestJob), for the tests that set the selection there and read
// what the body wrote there.
//
// The body runs as a run runs it: over a job of its own (a copy of
// TestJob) attached to the output, while TestJob holds bytes no selection
// has, so that a body or a routine it calls that reads the job attached
// before its run instead of its own prints something else. What the body
// wrote into its job goes back into TestJob afterwards.
#pragma once

#include <cstring>

#include "core/report_job.h"
#include "core/work_blocks.h"
#include "output/output_job.h"
#include "tests/output/test_job.h"

template <typename Run>
void OverCopyOfTestJob(Run run)
{
    OwnedJob own;
    std::memcpy(own.job.selection, TestJob, ReportParamsSize);
    std::memset(TestJob, 0xEE, ReportParamsSize);
    {
        OutputJobAttach attached(own.job);
        run(own.job);
    }
    std::memcpy(TestJob, own.job.selection, ReportParamsSize);
}

template <void (*Body)(ReportJob &)>
void OverTestJob()
{
    OverCopyOfTestJob([](ReportJob &job) { Body(job); });
}

template <void (*Body)(ReportJob &, int)>
void OverTestJobArg(int arg)
{
    OverCopyOfTestJob([arg](ReportJob &job) { Body(job, arg); });
}
