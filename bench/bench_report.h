// bench_report.h - a report run by the benchmarks as the dispatcher runs
// it for a user: a fresh job record of the report and layout, then the
// run (parameter check and body) into a text file the file dialog is
// answered with.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/devices/report_output.h"
#include "platform/script.h"
#include "reports/sales/report_run.h"

// Clears the job record and names report `number` in `layout`, to a text
// file; the caller fills the selection after it.
inline void BenchReportJob(int number, int layout)
{
    OutputJobState = OutputJobStateRec{};
    std::memset(ReportParams, 0, ReportParamsSize);
    PutU16(ReportParams, ReportParamsVc::OutputKind, OutTextFile);
    PutU16(ReportParams, ReportParamsVc::ReportNumber, uint16_t(number));
    PutU16(ReportParams, ReportParamsVc::ReportLayout, uint16_t(layout));
}

// Runs the job record's report into `file`; false when it did not run to
// its end.
inline bool BenchReportToFile(const std::filesystem::path &file)
{
    ScriptAnswerFile(file.string());
    RepOpenFileDevice();
    RunReport();
    return !RepStopped;
}
