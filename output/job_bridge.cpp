// job_bridge.cpp - BRIDGE: see job_bridge.h.
#include "output/job_bridge.h"

#include <cstring>

#include "core/work_blocks.h"
#include "operations/run_outcome.h"

GlobalJobBridge::GlobalJobBridge(ReportJob &j) : job(j)
{
    if (ReportParams && job.selection && job.selection != ReportParams)
        std::memcpy(ReportParams, job.selection, ReportParamsSize);
    if (ReportParams) attach.emplace(ReportParams);
}

GlobalJobBridge::~GlobalJobBridge()
{
    attach.reset();
    if (ReportParams && job.selection && job.selection != ReportParams)
        std::memcpy(job.selection, ReportParams, ReportParamsSize);
}

ReportJob GlobalJob() { return ReportJob{ReportParams}; }

int RunWhereOfCurrentJob() { return RunWhereOfOutput(CurrentJobRecord()); }
