// program_start.cpp - the composition root: each layer installed in layer
// order, the seams checked, then the program run.
#include "features/program_start.h"

#include <cstdio>

#include "core/work_blocks.h"
#include "exchange/run_outcome.h"
#include "exchange/text_exchange.h"
#include "features/seams.h"
#include "net/net.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/hooks.h"
#include "shell/feature_commands.h"
#include "shell/ui_install.h"

void FeaturesInstall()
{
    TextExchangeInstall();
    ReportsInstall();
    NetInstall();
    // The runs the output layer and the shell offer, from every layer that
    // has one: one table each, filled whole.
    OutputRunServices = OutputRunServicesRec{
        .runReportCommand = ReportRunCommand,
        .reportParamsCheck = ReportParamsCheckBody,
        .runTextExport = RunTextExportBody,
    };
    FeatureCommands = FeatureCommandsRec{
        .reportSelectionCheck = CheckReportParameters,
        .importReadNoExport = LastImportReadNoExport,
        .paymentSuggestion = PaymentSuggestionTold,
    };
}

void ProgramInstall()
{
    RulesInstall();
    OutputInstall();
    UiInstall();
    FeaturesInstall();
}

int OrvelStart(const StartOptions &o)
{
    ProgramInstall();
    std::string empty = SeamsEmptyEntry();
    if (!empty.empty()) {
        // A build fault, not a user's: the program must not start half
        // wired and refuse later what the user asks for.
        std::fprintf(stderr, "orvel: the start left %s empty\n", empty.c_str());
        return 3;
    }
    return WinMain(o);
}
