// purchase_due_report.cpp - report 32, the vendor open items by due date
// (or by cash-discount date in layout 1), each at its currency's rate on
// that date with a running total, or only the sums of the days they fall
// due in: passed or today, 1 to 15, 16 to 30 and more than 30 days.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/purchase_walk.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

constexpr int LineHeight = 12;

// The purchase invoice of an open item into invoice; false (cleared) when
// it is gone.
bool ReadInvoice(const uint8_t *item, uint8_t *invoice) {
    PutU32(invoice, VIVc::SerNr, GetU32(item, APVc::InvoiceNr));
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(VIVc::Number, "SerNr", invoice, 1, 1, &recid, &position);
}

// One line of the sums: texts at 140 (or at 200 with " days" at 240) and the sum.
void SumLine(const int *texts, const PackedDecimal *sum) {
    RepStartLine(LineHeight);
    const int x[] = {140, 200, 240};
    for (int i = 0; i < 3; i++)
        if (texts[i]) RepTextNr(x[i], 0, texts[i], 0);
    RepAmountAt(380, sum);
    RepEndLine();
}

}  // namespace

int PurchDueBucket(int32_t days) { return days < 1 ? 0 : days <= 15 ? 1 : days <= 30 ? 2 : 3; }

// Report 32: every vendor open item (register 29) in due-date order (or
// cash-discount order, layout 1), of the vendor in SelText2 when given,
// without the marked invoices when Option2 is 1. Option1 0 lists the
// items and ends with a rule; 1 prints only the four sums. Esc stops the
// walk after the item at hand.
void PurchDueDateReport(ReportJob &job) {
    assert(job.selection);
    const bool byDiscount = GetU16(job.selection, ReportParamsVc::ReportLayout) == 1;
    const bool sumsOnly = GetU16(job.selection, ReportParamsVc::Option1) == 1;
    const bool dropMarked = GetU16(job.selection, ReportParamsVc::Option2) == 1;
    const char *index = byDiscount ? "RebDate" : "DueDate";
    const uint32_t dateAt = byDiscount ? APVc::DiscDate : APVc::DueDate;
    uint8_t vendor[256], code[256];
    GetText(job.selection, ReportParamsVc::SelText2, vendor);
    PackedDecimal running, sums[4];
    DecSetZero(&running);
    for (PackedDecimal &s : sums) DecSetZero(&s);

    RepBeginJobNr(4121);
    if (!sumsOnly) {
        ReportHeadings(LineHeight, {{0, 4122}, {60, 4123}, {120, 4126}, {220, 4132}, {380, 4124, -1}, {480, 4125, -1}});
        RepRuleFull(1, 1);
    }
    RuleRecord item(APVc::Number), invoice(VIVc::Number);
    uint32_t recid = 0, position = 0;
    bool more = item.record && invoice.record &&
                RecFindByIndex(APVc::Number, index, item.record, 1, 0, &recid, &position);
    for (uint32_t p = position; more; p++) {
        if (p != position && !RecReadAtIndex(APVc::Number, index, (int32_t)p, item.record, &recid)) break;
        GetText(item.record, APVc::VendCode, code);
        if (vendor[0] && !PStringEqual(code, vendor)) continue;
        RecFreeMatrix(VIVc::Number, invoice.record);
        const bool found = ReadInvoice(item.record, invoice.record);
        if (dropMarked && found && GetU16(invoice.record, VIVc::Held) != 0) continue;
        const DateRec date = GetDate(item.record, dateAt);
        uint8_t currency[256];
        GetText(item.record, APVc::CurncyCode, currency);
        PackedDecimal rate, home;
        if (!currency[0] || !CurrencyRate(currency, &date, &rate)) DecSetBlank(&rate);
        const PackedDecimal open = GetDec(item.record, APVc::OpenAmount);
        AmountTimesRate(&open, &rate, &home);
        DecAdd(&running, &home, &running);
        const int bucket = PurchDueBucket(DateDiffDays(&date, &TodayDate));
        DecAdd(&sums[bucket], &home, &sums[bucket]);
        if (!sumsOnly) {
            RepStartLine(LineHeight);
            RepValue(0, 0, item.record + dateAt, FtDate, 0);
            RepValue(60, 0, item.record + APVc::InvoiceNr, FtLong, 0);
            RepTextEx(120, -1, 0, 0, 0, code);
            uint8_t name[256];
            GetText(item.record, APVc::VendName, name);
            RepTextEx(200, -1, 0, 0, 0, name);
            RepAmountAt(380, &home);
            RepAmountAt(480, &running);
            RepEndLine();
            uint8_t comment[256];
            comment[0] = 0;
            if (found) GetText(invoice.record, VIVc::Comment, comment);
            if (comment[0]) {
                RepStartLine(LineHeight);
                RepTextEx(40, -1, 0, 0, 0, comment);
                RepEndLine();
            }
        }
        if (ReportCancelled()) break;
    }
    if (invoice.record) RecFreeMatrix(VIVc::Number, invoice.record);
    if (sumsOnly) {
        const int texts[4][3] = {{2381, 0, 0}, {2382, 2384, 2383}, {0, 2385, 2383}, {0, 2386, 2383}};
        for (int i = 0; i < 4; i++) SumLine(texts[i], &sums[i]);
    } else {
        RepRuleFull(1, 1);
    }
    RepEndJob();
}
