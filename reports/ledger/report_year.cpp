// report_year.cpp - the fiscal year of a report's period and the month
// steps of the period columns.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/rules_types.h"

DateRec YearStart{};
uint8_t YearToDate = 0;

namespace {

// True when report shows year-to-date columns under column layout.
bool ReportTakesFiscalYear(int report, int layout) {
    if (report == 6 || report == 20) return true;
    if (report == 22 || (report >= 47 && report <= 51)) return layout == 0;
    return false;
}

}  // namespace

// Sets YearStart to the first day of the fiscal year (block 149) that
// holds the job record's DateFrom, for the reports that show the year to
// date, and YearToDate to 1 when such a year was found and the period
// starts after its first day. Both are cleared first.
void ReportFiscalYear(const uint8_t *selection) {
    assert(selection);
    YearStart = DateRec{};
    YearToDate = 0;
    const int report = (int16_t)GetU16(selection, ReportParamsVc::ReportNumber);
    if (!ReportTakesFiscalYear(report, GetU16(selection, ReportParamsVc::ColumnLayout))) return;
    const DateRec from = GetDate(selection, ReportParamsVc::DateFrom);
    if (DateIsEmpty(&from)) return;
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    for (int32_t i = 0; i < years.count; i++) {
        const uint8_t *row = years.data + (size_t)i * FiscalYearEntry::Size;
        const DateRec start = GetDate(row, FiscalYearEntry::StartDate);
        const DateRec end = GetDate(row, FiscalYearEntry::EndDate);
        if (DateIsEmpty(&start) || DateIsEmpty(&end) || !DateInRange(&from, &start, &end)) continue;
        YearStart = start;
        YearToDate = DateCompare(&start, &from) != 0;
        return;
    }
}

// The same day of the next month (January of the next year after
// December), the day cut to that month's last where it is shorter.
// An empty or impossible month gives an empty date.
void DateNextMonth(const DateRec *date, DateRec *out) {
    assert(date && out);
    *out = DateRec{};
    if (DateIsEmpty(date) || date->month < 1 || date->month > 12) return;
    DateRec next{date->day, (uint16_t)(date->month + 1), date->year};
    if (next.month > 12) next.month = 1, next.year++;
    const int last = DaysInMonth(next.year, next.month);
    if (next.day > last) next.day = (uint16_t)last;
    *out = next;
}

// date with its day set to its month's last (February 29 in a Gregorian
// leap year). An empty or impossible month gives an empty date.
void DateMonthEnd(const DateRec *date, DateRec *out) {
    assert(date && out);
    *out = DateRec{};
    if (DateIsEmpty(date) || date->month < 1 || date->month > 12) return;
    *out = DateRec{(uint16_t)DaysInMonth(date->year, date->month), date->month, date->year};
}
