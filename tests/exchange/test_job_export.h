// test_job_export.h - an export run over the test's job record (TestJob),
// for the tests that fill it: the export attaches it, and the output
// layer's text-file device reads the output kind there while it writes.
#pragma once

#include "core/report_job.h"
#include "core/work_blocks.h"
#include "exchange/text_exchange.h"
#include "tests/output/test_job.h"

inline bool ExportOverTestJob(int kind)
{
    ReportJob job{TestJob};
    return RunTextExportBody(job, kind);
}
