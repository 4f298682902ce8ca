// report_check.cpp - the check of a job record's selection before a
// report runs: it completes the record (month numbers, object list) and
// refuses a selection that cannot give a sound report, with one message.
//
// The record may come from a client, so every word is taken as it is:
// a month 0 or 13 or a day 40 is simply "not whole months", never an
// index into a table.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"

namespace {

// True when date names a real day: a year, a month 1..12, a day in it.
bool DateIsReal(const DateRec *date)
{
    if (DateIsEmpty(date) || date->month < 1 || date->month > 12) return false;
    return date->day >= 1 && date->day <= DaysInMonth(date->year, date->month);
}

// True when from..to runs from a month's 1st to a month's last day.
bool WholeMonths(const DateRec *from, const DateRec *to)
{
    if (!DateIsReal(from) || !DateIsReal(to) || from->day != 1) return false;
    DateRec next;
    DateAddDays(to, 1, &next);
    return !DateIsEmpty(&next) && next.day == 1;
}

// True when the text field at offset (maximum length width) is empty.
bool TextEmpty(const uint8_t *params, uint32_t offset, int width)
{
    uint8_t text[256];
    GetPString(params, offset, width, text);
    return text[0] == 0;
}

// Steps 1-3 shared by both checks: month numbers, the object list sorted
// without repeats, the order of the period. False when the period is
// reversed (told on DateTo); *whole tells whether it is whole months.
bool CheckPeriod(uint8_t *params, bool *whole)
{
    assert(params && whole);
    RecFocusClear();
    DateRec from = GetDate(params, ReportParamsVc::DateFrom);
    DateRec to = GetDate(params, ReportParamsVc::DateTo);
    PutU16(params, ReportParamsVc::MonthFrom, MonthIndex(&from));
    PutU16(params, ReportParamsVc::MonthTo, MonthIndex(&to));

    uint8_t list[256], joined[256];
    GetText(params, ReportParamsVc::ObjectSel, list);
    JoinObjectList(list, joined);
    PutText(params, ReportParamsVc::ObjectSel, joined);

    if (GetU16(params, ReportParamsVc::PeriodGiven) != 0 && DateCompare(&from, &to) > 0) {
        FieldError(Texts::SeriesDatesReversed, nullptr, ReportParamsVc::DateTo);
        return false;
    }
    *whole = WholeMonths(&from, &to);
    return true;
}

// A whole-month report opened with only a to-date (a company whose
// fiscal year has no first day proposes just that) takes its period from
// the first day of that date's year: refused, the report could not run on
// the selection its window opened with. The date is written into the job
// record, so the header says the period the run took.
void OpenStartOfWholeMonths(uint8_t *params)
{
    DateRec from = GetDate(params, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(params, ReportParamsVc::DateTo);
    if (!DateIsEmpty(&from) || DateIsEmpty(&to)) return;
    from = DateRec{1, 1, to.year};
    PutDate(params, ReportParamsVc::DateFrom, from);
    PutU16(params, ReportParamsVc::MonthFrom, MonthIndex(&from));
}

// Refuses with text n on the DateTo field.
bool RefuseOnDateTo(int n)
{
    FieldError(n, nullptr, ReportParamsVc::DateTo);
    return false;
}

}  // namespace

// Checks a whole job record before its report runs. False: exactly one
// message was told, and FieldErrorPos names the field at fault (none for
// the messages that are about the selection as a whole).
bool CheckReportParameters(uint8_t *params)
{
    assert(params);
    bool whole = false;
    if (!CheckPeriod(params, &whole)) return false;
    switch (int16_t(GetU16(params, ReportParamsVc::ReportNumber))) {
    case 14: case 30: case 34: case 35: case 93:
        OpenStartOfWholeMonths(params);
        {
            const DateRec from = GetDate(params, ReportParamsVc::DateFrom), to = GetDate(params, ReportParamsVc::DateTo);
            whole = WholeMonths(&from, &to);
        }
        if (!whole) return RefuseOnDateTo(Texts::PeriodNotWholeMonths);
        return true;
    case 20:
        if (TextEmpty(params, ReportParamsVc::SelText1, 255)) return true;
        if (!whole) return RefuseOnDateTo(Texts::PeriodNotWholeMonths);
        if (!TextEmpty(params, ReportParamsVc::ObjectSel, 30)) {
            FieldError(Texts::ObjectsNotAllowed, nullptr, ReportParamsVc::ObjectSel);
            return false;
        }
        return true;
    case 21: case 22:
        if (GetU16(params, ReportParamsVc::DetailLevel) == 2 &&
            !TextEmpty(params, ReportParamsVc::ObjectType, 5)) {
            ShowTextMessage(Texts::DetailWithObjectType);
            return false;
        }
        return true;
    case 25: case 36:
        if (GetU16(params, ReportParamsVc::OutputKind) != OutputCode(OutputKind::ToPrinter)) {
            ShowTextMessage(Texts::ReportPrinterOnly);
            return false;
        }
        return true;
    default:
        return true;
    }
}

// The date rules alone for callers that need only them: the period's
// order, and report 21's whole months.
bool ReportParamsCheckBody(uint8_t *params)
{
    assert(params);
    bool whole = false;
    if (!CheckPeriod(params, &whole)) return false;
    if (int16_t(GetU16(params, ReportParamsVc::ReportNumber)) == 21 && !whole)
        return RefuseOnDateTo(Texts::PeriodNotWholeMonths);
    return true;
}
