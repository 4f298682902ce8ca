// report_job.h - one run of a report, a text export or a batch routine:
// the job record it works from, handed down from whoever started it.
#pragma once

#include <cstdint>

// The job record a run works from. A run reads its selection here and
// writes here what it settles for the rest of the run (the account range
// it split, the options a journal sets). No job record is global: the
// output reads the job its run attached (output/output_job.h).
struct ReportJob {
    uint8_t *selection;   // ReportParamsSize bytes, ReportParamsVc layout
};
