// report_window_fixture.h - the record windows' fixture (tests/shell/
// record_fixture.h) whose report windows check their selection as the
// program's start installs it: by the reports' check of the job record.
#pragma once

#include "reports/ledger/ledger_reports.h"
#include "shell/feature_commands.h"
#include "tests/shell/record_fixture.h"

class ReportWindowFixture : public RecordFixture {
protected:
    void InstallReportCheck() override { FeatureCommands.reportSelectionCheck = CheckReportParameters; }
};
