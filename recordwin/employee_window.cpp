// employee_window.cpp - the employee window (type 500, register 119): its
// operations-menu item 1 previews the entry calculation (report 103) of
// the employee shown.
#include "recordwin/record_windows.h"

#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/person_entries.h"
#include "output/output_job.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace P = ReportParamsVc;
constexpr uint16_t PreviewKind = OutputCode(OutputKind::ToPreview), CalculationReport = 103;

}  // namespace

void PersonReportButton(int window, int button) {
    if (button != 1 || !WinIsOpen(window)) return;
    // A job of its own: no department or row code of an earlier selection
    // can hide this employee or change the calculation shown.
    OwnedJob own;
    uint8_t *job = own.job.selection;
    PString code;
    GetText(WinRecordBuffer(window), EmployeeVc::PerCode, code);
    PutText(job, P::SelText1, code);
    PutU16(job, P::OutputKind, PreviewKind);
    PutU16(job, P::Word2, 1);
    PutU16(job, P::SetupDialog, 0);
    PutU16(job, P::ReportNumber, CalculationReport);
    PutU16(job, P::Word8, 1);
    RunReportCommand(own.job);
}
