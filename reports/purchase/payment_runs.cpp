// payment_runs.cpp - the document runs over outgoing payments (register
// 30): run -9 prints a payment advice per approved payment of the number
// range, run -10 approves the payments of the range with approve kind 27
// (which prints their payment documents).
#include <cassert>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/purchase_walk.h"
#include "rules/approval.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;
constexpr int StopRight = 1;

// Reads the vendor of code into vendor; false when there is none.
bool ReadVendor(const uint8_t *code, uint8_t *vendor) {
    PutText(vendor, VEVc::Code, code);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(VEVc::Number, "Code", vendor, 1, 1, &recid, &position);
}

// The advice lines of one payment row: what it pays, to whom, and the
// vendor's address, all in the row's style. A row whose invoice or vendor
// is gone prints what it has itself.
void PrintAdviceRow(const uint8_t *row) {
    const int style = GetU16(row, OPVc::Rows::Flag);
    RuleRecord invoice(VIVc::Number), vendor(VEVc::Number);
    if (!invoice.record || !vendor.record) return;
    if (ReadBySerNr(VIVc::Number, VIVc::SerNr, GetI32(row, OPVc::Rows::InvoiceNr), invoice.record)) {
        uint8_t code[256];
        GetText(invoice.record, VIVc::VendCode, code);
        if (!ReadVendor(code, vendor.record)) RecClear(VEVc::Number, vendor.record);
        RecFreeMatrix(VIVc::Number, invoice.record);
    }
    RepStartLine(LineHeight);
    RepValueFmt(100, 0, row + OPVc::Rows::Amount, FtAmount2, -1, style);
    RepTextField(120, row, OPVc::Rows::InvPayText, style, 0);
    RepTextField(210, invoice.record, VIVc::VendName, style, 0);
    RepTextField(StopRight, invoice.record, VIVc::VendInvNr, style, -1);
    RepEndLine();
    RepStartLine(LineHeight);
    if (CompanyVariantIs(CountryVariant::V13)) RepTextField(120, invoice.record, VIVc::PayeeText, style, 0);
    RepTextField(210, vendor.record, VEVc::Addr1, style, 0);
    RepTextField(StopRight, invoice.record, VIVc::PayRef, style, -1);
    RepEndLine();
    for (uint32_t at : {VEVc::Addr2, VEVc::Addr3}) {
        RepStartLine(LineHeight);
        RepTextField(210, vendor.record, at, 60, style);
        RepEndLine();
    }
    RepStartLine(10);
    RepEndLine();
}

// One payment's advice as a job of its own.
void PrintAdvice(const uint8_t *payment) {
    RepBeginJobNr(4101);
    ReportHeadings(LineHeight, {{100, 4106, -1}, {120, 4103}, {210, 4104}, {StopRight, 4107, -1}});
    RepRuleFull(1, 1);

    const uint8_t *company = SettingsRecord(CompanyBlk::Number, CompanyBlock);
    RepStartLine(LineHeight);
    RepTextNr(100, 0, 4105, -1);
    RepTextField(120, payment, OPVc::PayText);
    if (company) RepTextField(210, company, CompanyBlk::CompanyName);
    RepEndLine();
    for (uint32_t at : {CompanyBlk::Address1, CompanyBlk::Address2, CompanyBlk::Address3}) {
        RepStartLine(LineHeight);
        if (company) RepTextField(210, company, at, 60);
        RepEndLine();
    }
    RepRuleFull(1, 1);

    uint8_t row[OPVc::Rows::Size];
    const int32_t rows = MatrixRowCount(OPVc::Number, 0, payment);
    for (int32_t i = 0; i < rows && MatrixRowRead(OPVc::Number, payment, i, row); i++) PrintAdviceRow(row);

    RepRuleFull(1, 1);
    RepStartLine(LineHeight);
    RepValue(100, 0, payment + OPVc::RowsTotal, FtAmount2, -1);
    RepTextNr(120, 0, 4108, 0);
    RepEndLine();
    RepRuleFull(1, 1);
    RepEndJob();
}

}  // namespace

// Run -9: an advice job for each approved payment of the range; a range
// without one opens no job. The payment is marked by its approved flag,
// which every payment the run prints already has: only a flag of another
// value than 1 is stored again. Esc ends the run after the advice at hand.
void VendorPaymentRun(ReportJob &job) {
    assert(job.selection);
    SerialRangeWalk(job.selection, OPVc::Number, OPVc::SerNr, [](uint8_t *payment, uint32_t recid) {
        if (GetU16(payment, OPVc::Approved) == 0) return true;
        PrintAdvice(payment);
        if (GetU16(payment, OPVc::Approved) == 1) return true;
        PutU16(payment, OPVc::Approved, 1);
        if (RecStore(OPVc::Number, payment, 1, &recid)) return true;
        ShowTextMessage(Texts::RecordNotStored);
        return false;
    });
}

// Run -10: approve kind 27 on each payment of the range; one whose
// documents were printed by an earlier approval is passed over unless the
// batch mode word is 1, so a second run approves nothing twice. A
// payment that could not be stored is told and ends the run.
void ApprovePaymentRange(ReportJob &job) {
    assert(job.selection);
    const bool again = GetU16(job.selection, ReportParamsVc::BatchMode) == 1;
    SerialRangeWalk(job.selection, OPVc::Number, OPVc::SerNr, [again](uint8_t *payment, uint32_t recid) {
        if (!again && GetU16(payment, OPVc::Printed) != 0) return true;
        if (ApproveRecord(ApproveKindApprovePayment, OPVc::Number, recid)) return true;
        ShowTextMessage(Texts::RecordNotStored);
        return false;
    });
}
