// project_report_rows.cpp - the report numbers of the projects and the
// body each runs.
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"
#include "reports/projects/project_reports.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(68, ProjectListReport),
    BodyRow(69, ProjectSummaryReport),
    BodyRow(70, ProjectTransReport),
    BodyRow(115, ProjectReport),
};

}  // namespace

ReportModuleRows ProjectReportRows() { return ModuleRows("projects", Rows); }
