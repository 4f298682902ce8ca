// label_buttons.cpp - button 1 of the goods receipt (type 197) and of the
// delivery (type 354): the labels of the record shown printed, by the
// label run of its document (purchase labels, -23; delivery labels, -27)
// over the one number of the record.
#include "recordwin/record_windows.h"

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "shell/window_table.h"

namespace {

namespace P = ReportParamsVc;
constexpr uint16_t PrinterKind = OutputCode(OutputKind::ToPrinter);

// Runs label run `run` on the number at `numberAt` of the window's record.
void LabelsOfRecord(int window, uint32_t numberAt, int16_t run) {
    if (!WinIsOpen(window)) return;
    OwnedJob own;
    PString number;
    LongToDigitText(GetI32(WinRecordBuffer(window), numberAt), number);
    PutText(own.job.selection, P::SelText1, number);
    PutU16(own.job.selection, P::OutputKind, PrinterKind);
    PutI16(own.job.selection, P::ReportNumber, run);
    RunReportCommand(own.job);
}

}  // namespace

void PurchaseLabelButton(int window, int button) {
    if (button == 1) LabelsOfRecord(window, PUVc::SerNr, -23);
    else Win197Button(window, button);
}

void Win354Button(int window, int button) {
    if (button == 1) LabelsOfRecord(window, SHVc::SerNr, -27);
}
