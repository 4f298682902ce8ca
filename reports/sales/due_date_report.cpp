// due_date_report.cpp - report 16, open items by due date (layout 0) or
// by cash-discount date (layout 1), with the sums of the days they are
// due in: overdue, 0 to 15, 16 to 30 and more than 30 days.
#include <cassert>
#include <initializer_list>


#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

constexpr int LineHeight = 12;

// The bucket of an item due in days: 0 overdue, 1 within 15 days, 2
// within 30, 3 later.
int DueBucket(int32_t days) { return days < 0 ? 0 : days <= 15 ? 1 : days <= 30 ? 2 : 3; }

// The open amount of item less its invoice's cash discount (the invoice's
// percentage of it, rounded to whole units); the open amount when the
// invoice is gone.
void OpenLessDiscount(const uint8_t *item, PackedDecimal *out) {
    *out = GetDec(item, ARVc::OpenAmount);
    RuleRecord invoice(IVVc::Number);
    if (!SalesInvoiceRead(GetU32(item, ARVc::InvoiceNr), invoice)) return;
    const PackedDecimal pct = GetDec(invoice.record, IVVc::CashDiscPct);
    if (DecIsBlank(&pct)) return;
    PackedDecimal hundred, discount;
    DecFromLong(&hundred, 100);
    DecMul(out, &pct, &discount);
    DecDiv(&discount, &hundred, &discount);
    DecRound(&discount, 0, &discount);
    DecSub(out, &discount, out);
}

// One line of the sums: its texts joined by blanks, and the sum.
void SumLine(std::initializer_list<int> texts, const PackedDecimal *sum) {
    RepStartLine(LineHeight);
    uint8_t line[256] = {0}, part[256];
    for (int text : texts) {
        GetUiText(part, text);
        if (line[0] != 0) PStringAppendC(line, " ");
        PStringAppend(line, part);
    }
    RepTextEx(0, -1, 0, 0, 0, line);
    RepAmountAt(480, sum);
    RepEndLine();
}

}  // namespace

// Report 16: every open item (register 13) by due date, or by cash-discount
// date in layout 1 with the discount taken off, of the customer in
// SelText2 when given; each at its currency's rate on that date, with a
// running total; then the four sums by days from today. Option1 prints
// only the sums. Esc stops the walk after the item at hand.
void DueDateReport(ReportJob &job) {
    assert(job.selection);
    const int layout = GetU16(job.selection, ReportParamsVc::ReportLayout);
    const bool sumsOnly = GetU16(job.selection, ReportParamsVc::Option1) != 0;
    PString customer, code;
    GetText(job.selection, ReportParamsVc::SelText2, customer);
    const char *index = layout == 1 ? "RebDate" : "DueDate";
    const uint32_t dateAt = layout == 1 ? ARVc::CashDiscDate : ARVc::DueDate;
    PackedDecimal running, sums[4];
    DecSetZero(&running);
    for (PackedDecimal &s : sums) DecSetZero(&s);

    RepBeginJobNr(2371);
    if (!sumsOnly) {
        ReportHeadings(LineHeight, {{0, 2372}, {60, 2373}, {120, 2376}, {380, 2374, -1}, {480, 2375, -1}});
        RepRuleFull(1, 4);
    }
    RuleRecord item(ARVc::Number);
    uint32_t recid = 0, position = 0;
    bool more = item.record && RecFindByIndex(ARVc::Number, index, item.record, 1, 0, &recid, &position);
    for (int32_t p = (int32_t)position; more; p++) {
        if (p != (int32_t)position && !RecReadAtIndex(ARVc::Number, index, p, item.record, &recid)) break;
        GetText(item.record, ARVc::CustCode, code);
        if (customer[0] && !PStringEqual(code, customer)) continue;
        const DateRec date = GetDate(item.record, dateAt);
        PackedDecimal open, rate, amount;
        if (layout == 1) OpenLessDiscount(item.record, &open);
        else open = GetDec(item.record, ARVc::OpenAmount);
        PString currency;
        GetText(item.record, ARVc::CurncyCode, currency);
        if (!currency[0] || !CurrencyRate(currency, &date, &rate)) DecSetBlank(&rate);
        AmountTimesRate(&open, &rate, &amount);
        DecAdd(&running, &amount, &running);
        const int32_t days = DateDiffDays(&date, &TodayDate);
        DecAdd(&sums[DueBucket(days)], &amount, &sums[DueBucket(days)]);
        if (!sumsOnly) {
            RepStartLine(LineHeight);
            RepValue(0, 0, item.record + dateAt, FtDate, 0);
            RepValue(60, 0, item.record + ARVc::InvoiceNr, FtLong, 0);
            RepTextEx(120, -1, 0, 0, 0, code);
            PString name;
            GetText(item.record, ARVc::CustName, name);
            RepTextEx(200, -1, 0, 0, 0, name);
            RepAmountAt(380, &amount);
            RepAmountAt(480, &running);
            RepEndLine();
        }
        if (ReportCancelled()) break;
    }
    if (!sumsOnly) RepRuleFull(1, 4);
    SumLine({2381}, &sums[0]);
    SumLine({2382, 2384, 2383}, &sums[1]);
    SumLine({2385, 2383}, &sums[2]);
    SumLine({2386, 2383}, &sums[3]);
    RepEndJob();
}
