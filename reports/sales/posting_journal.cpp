// posting_journal.cpp - report 65, sales invoices by date with their vouchers.
//
// Each posted invoice's voucher is built again in the pending voucher (as
// posting would build it, nothing stored), printed row by row in layout 0
// and summed per account; the summary balances when the vouchers do.
#include <cassert>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "output/devices/report_output.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

// The second heading line of layout 0 (repeated above the summary): the
// voucher rows' own.
void SecondHeading() { VoucherRowsHeading(15); }

// The heading lines of layout 0 or 1.
void Headings(int layout) {
    RepStartLine(15);
    RepTextNr(0, 0, 2741, 0);
    RepTextNr(60, 0, 2742, 0);
    RepTextNr(140, 0, 2743, 0);
    if (layout == 1) RepTextNr(1, 0, 2747, 1);
    RepEndLine();
    if (layout == 0) SecondHeading();
}

// The invoice's own line: serial, date, customer, name; layout 1 adds
// the total, negated for a credit note. A company of variant 25 also
// shows the invoice's reference (the text it takes from its order) at the
// right edge and, in layout 0, the address lines that are not empty on
// lines of their own under the name.
void InvoiceLine(const uint8_t *invoice, int layout) {
    uint8_t text[256];
    RepStartLine(15);
    RepValueFmt(0, 0, invoice + IVVc::SerNr, FtLongOrEmpty, 0, 0);
    RepValueFmt(60, 0, invoice + IVVc::TransDate, FtDate, 0, 0);
    GetText(invoice, IVVc::CustCode, text);
    RepText(140, 0, text, 0);
    GetText(invoice, IVVc::Addr0, text);
    RepText(240, 0, text, 0);
    const bool variant25 = CompanyVariantIs(CountryVariant::V25);
    if (variant25) {
        GetText(invoice, IVVc::Text290, text);
        RepText(480, 0, text, 1);
    }
    if (layout == 1) {
        PackedDecimal total = GetDec(invoice, IVVc::Total);
        if (InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote) DecNegateInto(&total, &total);
        RepValueFmt(1, 0, reinterpret_cast<const uint8_t *>(&total), FtAmount2, 1, 0);   // signed: a credit note shows negative
    }
    RepEndLine();
    if (!variant25 || layout != 0) return;
    for (uint32_t line : {IVVc::Addr1, IVVc::Addr2, IVVc::Addr3}) {
        GetPString(invoice, line, 60, text);
        if (text[0] == 0) continue;
        RepStartLine(15);
        RepText(240, 0, text, 0);
        RepEndLine();
    }
}

// Prints (layout 0) and sums per account into summary the rows of the
// pending voucher.
void VoucherRows(int layout, uint8_t *summary) {
    uint8_t row[Voucher::Rows::Size], account[256];
    const uint8_t none[1] = {0};
    PackedDecimal ignored, debit;
    DecSetBlank(&ignored);
    int32_t count = MatrixRowCount(Voucher::Number, 0, PendingVoucher);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, PendingVoucher, i, row)) continue;
        if (layout == 0) {
            DecSetBlank(&debit);
            PrintVoucherRow(65, PendingVoucher, row, &debit, 0);
        }
        if (GetU16(row, Voucher::Rows::Kind) != RowAccount) continue;
        GetText(row, Voucher::Rows::Account, account);
        PackedDecimal amount = GetDec(row, Voucher::Rows::Amount);
        FindVoucherRow(summary, account, none, none, none, &amount, true, true, &ignored);
    }
}

// The end block: the summary rows between two rules, then the debit and
// credit sums of the summary on the line labelled as their total.
void SummaryBlock(int layout, const uint8_t *summary) {
    RepStartLine(25);
    RepEndLine();
    RepRuleFull(1, 4);
    if (layout == 1) {
        SecondHeading();
        RepRuleFull(1, 4);
    }
    uint8_t row[Voucher::Rows::Size];
    PackedDecimal debit, credit, ignored;
    DecSetBlank(&debit);
    DecSetBlank(&credit);
    int32_t count = MatrixRowCount(Voucher::Number, 0, summary);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, summary, i, row)) continue;
        DecSetBlank(&ignored);
        PrintVoucherRow(65, summary, row, &ignored, 0);
        PackedDecimal amount = GetDec(row, Voucher::Rows::Amount);
        if (DecSign(&amount) > 0) {
            DecAdd(&debit, &amount, &debit);
        } else {
            DecSub(&credit, &amount, &credit);
        }
    }
    RepRuleFull(1, 4);
    RepStartLine(15);
    RepTextNr(20, 0, 2747, 0);
    RepValueFmt(380, 0, reinterpret_cast<const uint8_t *>(&debit), FtDebit, 1, 0);
    RepValueFmt(5, 0, reinterpret_cast<const uint8_t *>(&credit), FtDebit, 1, 0);
    RepEndLine();
}

}  // namespace

// Report 65: the posted invoices of the period (and serial range) by
// transaction date with their vouchers, and the vouchers summed per account.
// An empty From starts at the first invoice, an empty To runs to the last.
void InvoiceByDateReport(ReportJob &job) {
    if (!job.selection || !PendingVoucher) return;
    const int layout = GetU16(job.selection, ReportParamsVc::ReportLayout) == 1 ? 1 : 0;
    const DateRec from = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(job.selection, ReportParamsVc::DateTo);
    uint8_t range[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    int32_t serialFrom = -1, serialTo = -1;
    if (range[0]) RangeSplitNumber(range, &serialFrom, &serialTo);

    RepBeginJobNr(2740);
    Headings(layout);
    RuleRecord inv(IVVc::Number), summary(Voucher::Number);
    if (!inv.record || !summary.record) {
        RepEndJob();
        return;
    }
    PutDate(inv.record, IVVc::TransDate, from);
    IndexWalkFrom(IVVc::Number, "TransDate", inv.record, 1, [&](uint8_t *invoice) {
        if (RepStopped) return false;
        const DateRec date = GetDate(invoice, IVVc::TransDate);
        if (!DateIsEmpty(&to) && DateCompare(&date, &to) > 0) return false;   // an empty To: to the end
        const int32_t serial = GetI32(invoice, IVVc::SerNr);
        const bool inRange = (serialFrom < 0 || serial >= serialFrom) && (serialTo < 0 || serial <= serialTo);
        if (inRange && GetU16(invoice, IVVc::Posted) != 0) {
            InvoiceLine(invoice, layout);
            if (InvoiceVoucher(invoice, 1)) VoucherRows(layout, summary.record);
            PendingVoucherClear();
        }
        return true;
    });
    PendingVoucherClear();
    SummaryBlock(layout, summary.record);
    RecFreeMatrix(Voucher::Number, summary.record);
    RepEndJob();
}
