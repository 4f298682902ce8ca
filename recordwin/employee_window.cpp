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
    if (button != 1 || !WinIsOpen(window) || !ReportParams) return;
    PString code;
    GetText(WinRecordBuffer(window), EmployeeVc::PerCode, code);
    PutText(ReportParams, P::SelText1, code);
    // A department or row code left by an earlier selection would hide
    // this employee or change the calculation shown.
    PutText(ReportParams, P::SelText2, reinterpret_cast<const uint8_t *>(""));
    PutText(ReportParams, P::SelText3, reinterpret_cast<const uint8_t *>(""));
    PutU16(ReportParams, P::OutputKind, PreviewKind);
    PutU16(ReportParams, P::Word2, 1);
    PutU16(ReportParams, P::SetupDialog, 0);
    PutU16(ReportParams, P::ReportNumber, CalculationReport);
    PutU16(ReportParams, P::Word8, 1);
    RunReportCommand();
}
