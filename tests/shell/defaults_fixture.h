// defaults_fixture.h - the record fixture's frame and company filled from
// the shipped defaults (dict/DEFAULT.TXT of the source tree: the
// chart of accounts, the fiscal years, the series, customers C1 to C3 and
// the first user), as a new company is filled, with the text exchange and
// the report runs installed as start-up installs them. The company folder
// is the working folder, so a print lands in its print/ folder.
#pragma once

#include <filesystem>
#include <string>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "output/devices/report_output.h"
#include "reports/sales/report_run.h"
#include "rules/hooks.h"
#include "shell/company.h"
#include "tests/shell/record_fixture.h"

class DefaultsCompany : public RecordFixture {
protected:
    OutputRunServicesRec savedRuns{};

    void SetUp() override
    {
        RecordFixture::SetUp();
        if (HasFatalFailure()) return;
        savedRuns = OutputRunServices;
        TextExchangeInstall();
        RepOutputInit();
        ReportsInstall();
        PutU16(ReportParams, ReportParamsVc::OutputKind, ImportSourceFile);
        PutU16(ReportParams, ReportParamsVc::ReportNumber, 0);
        PString name;
        std::filesystem::path defaults = std::filesystem::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT";
        PStringFromC(name, defaults.c_str());
        ASSERT_EQ(ImportFile(name, 0), 0) << "the defaults did not import";
        RulesInstall();   // after the import: its blocks are laid down whole
        Drain();
        MessagesShown.clear();
        ScriptReset();
    }
    void TearDown() override
    {
        ImportFileClose();
        OutputRunServices = savedRuns;
        RecordFixture::TearDown();
    }
};
