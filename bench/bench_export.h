// bench_export.h - a text export run by the benchmarks as the export
// command runs it, from the benchmark's own job: the file device opened
// for the job (the file dialog answered with the file), the job started,
// the export written and the job ended.
#pragma once

#include <filesystem>

#include "core/pstring.h"
#include "core/report_job.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"

// Writes export `kind` of job (its selection filled, the output state
// fresh) into `file`; false when the job stopped or a write failed. The
// job is attached from the file's opening to the job's end: the device
// and the job's start and end read it.
inline bool BenchExportToFile(ReportJob &job, const std::filesystem::path &file, int kind)
{
    OutputJobAttach attached(job);
    ScriptAnswerFile(file.string());
    RepOpenFileDevice();
    if (OutputJobState.stopFlag) return false;
    PString title = {0};
    RepOpenJob(title);
    ExportDatabaseText(job, kind);
    bool ran = !OutputJobState.stopFlag;
    RepEndJob();
    return ran && !OutputJobState.writeFailed;
}
