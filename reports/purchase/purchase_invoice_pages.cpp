// purchase_invoice_pages.cpp - report 36, the purchase invoices of a
// number range printed one page each: the invoice's head, its account
// rows and its amount. It prints on the printer only.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/purchase_walk.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;
constexpr int StopRight = 1;

// An empty line of height h.
void Gap(int h) {
    RepStartLine(h);
    RepEndLine();
}

// The name of account code into name; empty when it is not kept.
void AccountName(const uint8_t *code, uint8_t *name) {
    name[0] = 0;
    RuleRecord account(ACVc::Number);
    if (!account.record) return;
    PutText(account.record, ACVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(ACVc::Number, account.record, 1, 1, &recid, &position)) GetText(account.record, ACVc::Name, name);
}

// One account row of the invoice in its style; the account's name when
// the row has no text.
void PrintAccountRow(const uint8_t *row) {
    const int style = GetU16(row, VIVc::Rows::Flag);
    uint8_t account[256], text[256];
    GetText(row, VIVc::Rows::Account, account);
    GetText(row, VIVc::Rows::Text, text);
    if (!text[0]) AccountName(account, text);
    RepStartLine(LineHeight);
    RepTextEx(20, -1, 0, 0, style, account);
    RepTextField(60, row, VIVc::Rows::Objects, style, 0);
    RepTextEx(160, -1, 0, 0, style, text);
    RepValueFmt(380, 0, row + VIVc::Rows::Amount, FtAmount2, -1, style);
    RepEndLine();
}

// One invoice's page.
void PrintInvoicePage(const uint8_t *invoice) {
    Gap(LineHeight);
    RepStartLine(LineHeight);
    RepTextNr(400, 0, 3041, -1);
    RepValue(StopRight, 0, invoice + VIVc::SerNr, FtLong, -1);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextField(0, invoice, VIVc::VendCode);
    RepTextField(60, invoice, VIVc::VendName);
    RepTextNr(400, 0, 3043, -1);
    RepValue(StopRight, 0, invoice + VIVc::InvDate, FtDate, -1);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 3044, 0);
    RepTextField(60, invoice, VIVc::Approver);
    RepTextNr(400, 0, 3045, -1);
    RepValue(StopRight, 0, invoice + VIVc::TransDate, FtDate, -1);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextField(0, invoice, VIVc::PayRef);
    RepTextField(100, invoice, VIVc::VendInvNr);
    RepTextField(300, invoice, VIVc::PayTerms);
    RepEndLine();
    Gap(60);
    ReportHeadings(LineHeight, {{20, 3046}, {60, 3047}, {160, 3048}, {380, 3049, -1}, {StopRight, 3050, -1}});
    Gap(2);
    uint8_t row[VIVc::Rows::Size];
    const int32_t rows = MatrixRowCount(VIVc::Number, 0, invoice);
    for (int32_t i = 0; i < rows && MatrixRowRead(VIVc::Number, invoice, i, row); i++) {
        if (PurchaseRowKind(GetU16(row, VIVc::Rows::Kind)) == PurchaseRowKind::Account) PrintAccountRow(row);
        if (RepStopped) break;
    }
    Gap(30);
    RepStartLine(LineHeight);
    RepTextNr(160, 0, 3058, 0);
    RepValue(380, 0, invoice + VIVc::InvAmount, FtAmount2, -1);
    RepEndLine();
    RepNewPage(0);
}

}  // namespace

// Report 36: a page per purchase invoice of SelText1's number range, on
// the printer only: any other device sets the cancel flag and prints
// nothing. Esc ends the walk after the invoice at hand; the job is closed
// in every case.
void Report36PurchInvoices(ReportJob &job) {
    assert(job.selection);
    if (GetU16(job.selection, ReportParamsVc::OutputKind) != OutPrinter) {
        CancelFlag = 1;
        return;
    }
    RepBeginJobNr(4161);
    SerialRangeWalk(job.selection, VIVc::Number, VIVc::SerNr, [](const uint8_t *invoice, uint32_t) {
        PrintInvoicePage(invoice);
        return true;
    });
    RepEndJob();
}
