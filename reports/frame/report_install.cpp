// report_install.cpp - the report run as the output layer and the shell
// see it: the command that runs a job, where it runs, the check of
// a report window's selection, and their install.
#include <cassert>
#include <string>

#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "output/report_hooks.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"
#include "reports/sales/sales_reports.h"
#include "shell/feature_commands.h"

// Runs the report of job where it belongs: a client hands the whole job
// record to the server (a negative number is a document batch there),
// anyone else runs it here.
void RunReportWhere(ReportJob &job)
{
    assert(job.selection);
    if (RunModeIsClient()) {
        OutputJobAttach attached(job);   // the server's output commands print on the job's device
        int number = int16_t(GetU16(job.selection, ReportParamsVc::ReportNumber));
        RunReportRemote(number < 0, job.selection, ReportParamsSize);
        return;
    }
    RunReport(job);
}

// The output layer's report command. A text or TAB file is chosen and
// created first; a cancelled save dialog runs nothing. False when nothing
// ran or the job ended stopped.
bool ReportRunCommand(ReportJob &job)
{
    if (!job.selection) return false;
    OutputJobAttach attached(job);
    uint16_t kind = GetU16(job.selection, ReportParamsVc::OutputKind);
    if (kind == OutTextFile || kind == OutTabFile) {
        RepOpenFileDevice();
        if (RepStopped) return false;
    }
    RepStopped = 0;
    RunReportWhere(job);
    return RepStopped == 0;
}

// The frame every report job begins with, as the output layer reaches it.
void ReportFrameInstall()
{
    ReportHooks = ReportHooksRec{
        .columnLayout = ReportColumnLayout,
        .selectionHeader = ReportSelectionHeader,
        .voucherForm = FormPrintVoucher,
    };
}

// Installs the report frame with the voucher form, the lines the stock
// calculations write for the stock reports and the ledger printouts
// operations ask for. The report command and the selection checks go into
// the output layer's and the shell's tables with the exchange's entries
// (FeaturesInstall). A fault
// in the gathered report table (a number two modules claim, a report no
// module claims) is a build fault: it is told at start-up rather than
// found by the user who asks for that report.
void ReportsInstall()
{
    const std::string &problem = ReportTableProblem();
    if (!problem.empty()) MessageSinkShow(("The report table: " + problem + ".").c_str());
    StockCostLinesInstall();
    LedgerPrintInstall();
    ReportFrameInstall();
    ReportFunctionsInstall();
}
