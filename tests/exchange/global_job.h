// global_job.h - an export run over the global job record, for the tests
// that fill it: the output layer's text-file device reads the output kind
// there while the export writes.
#pragma once

#include "core/report_job.h"
#include "core/work_blocks.h"
#include "exchange/text_exchange.h"

inline bool ExportOverGlobalJob(int kind)
{
    ReportJob job{ReportParams};
    return RunTextExportBody(job, kind);
}
