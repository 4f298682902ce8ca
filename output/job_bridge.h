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

// The global job record as a job, for a caller that still fills it
// (null while the work records are not made).
ReportJob GlobalJob();
