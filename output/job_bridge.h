// job_bridge.h - BRIDGE: the global job record filled from a job for a
// call into a routine that still reads the global (a text export, an
// import, a batch routine), and the global seen as a job by a caller that
// still fills it. Goes once those routines take the job themselves.
#pragma once

#include <optional>

#include "core/report_job.h"
#include "output/output_job.h"

// While it lives, ReportParams holds the job's bytes and is the job the
// output prints from; at its end what the routine left there goes back
// into the job. A job that is the global already is taken as it is.
class GlobalJobBridge {
public:
    explicit GlobalJobBridge(ReportJob &job);
    ~GlobalJobBridge();
    GlobalJobBridge(const GlobalJobBridge &) = delete;
    GlobalJobBridge &operator=(const GlobalJobBridge &) = delete;

private:
    ReportJob &job;
    std::optional<OutputJobAttach> attach;
};

// GlobalJobBridge over the job the output prints from: for a report that
// calls a routine that still reads its selection from the global.
class CurrentJobBridge {
public:
    CurrentJobBridge() = default;
    CurrentJobBridge(const CurrentJobBridge &) = delete;
    CurrentJobBridge &operator=(const CurrentJobBridge &) = delete;

private:
    ReportJob job{CurrentJobRecord()};
    GlobalJobBridge bridge{job};
};

// The global job record as a job, for a caller that still fills it
// (null while the work records are not made).
ReportJob GlobalJob();

// Where the output of the job the output prints from goes, as a run's
// closing line says it (RunWhereOfOutput, which reads the global).
int RunWhereOfCurrentJob();
