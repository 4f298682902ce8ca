// period_text.cpp - the period texts of report windows: a from-date and a
// to-date in date form with ":" between them, read from what the user
// typed (a named period of block 136, or two dates) and proposed for a
// new selection (the first named period, else the current fiscal year).
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "rules/rules_types.h"

namespace {

namespace Period = PeriodsBlk::Rows;
namespace Year = FiscalYearBlk::Rows;
constexpr int PeriodNameMax = 60;

// text = from in date form, then, when withTo, ":" and to in date form.
void WritePeriod(uint8_t *text, const DateRec *from, const DateRec *to, bool withTo)
{
    PString part;
    DateToText(from, text);
    if (!withTo) return;
    PStringAppendChar(text, ':');
    DateToText(to, part);
    PStringAppend(text, part);
}

// True when the PString `text` is, in any case, the name of a period of
// block 136; its dates then go to *from and *to (either may be null).
bool PeriodByName(const uint8_t *text, DateRec *from, DateRec *to)
{
    SettingsRows rows(PeriodsBlk::Number, &Block136Rows, Period::Size);
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + size_t(i) * Period::Size;
        PString name;
        GetText(row, Period::Name, name);
        if (name[0] == 0 || PStringCompareNoCase(name, text) != 0) continue;
        if (from) *from = GetDate(row, Period::FromDate);
        if (to) *to = GetDate(row, Period::ToDate);
        return true;
    }
    return false;
}

// True when the half `half` is typed and no date as typed: one that reads
// as a date only once a part is clamped ("2027-01-31" in the day-first
// order).
bool HalfRefused(const uint8_t *half)
{
    DateTimeRec typed{};
    return half[0] != 0 && !DateParseTyped(half, &typed);
}

// Reads the half `half`, a date as typed, into *date; an empty half
// leaves *date as it was.
void ReadHalf(const uint8_t *half, DateRec *date)
{
    if (half[0] == 0) return;
    DateRec d = *date;
    if (FieldFromText(reinterpret_cast<uint8_t *>(&d), FtDate, 0, half)) *date = d;
}

}  // namespace

// True when the period text `text` is no period name and one of its
// halves is no date as typed; that half goes to `refused` (a PString
// buffer of 256 bytes). The whole text is then refused, as a date field
// refuses a date: the good half taken alone would give a period the user
// never typed.
bool PeriodTextRefused(const uint8_t *text, uint8_t *refused)
{
    if (PeriodByName(text, nullptr, nullptr)) return false;
    PString first, last;
    RangeSplit(text, first, last);
    const uint8_t *bad = HalfRefused(first) ? first : HalfRefused(last) ? last : nullptr;
    if (!bad) return false;
    PStringCopy(refused, bad);
    return true;
}

// Reads a period text (in a PString buffer of 256 bytes) into from
// and to and writes it back in normal form. A text equal to the name of
// a period of block 136, in any case, gives that period's dates;
// otherwise each non-empty half of "from:to" is read as a date, and an
// empty half keeps its date. A text with a half that is no date as typed
// is told and changes neither date: it is written back as they were.
void PeriodTextParse(uint8_t *text, DateRec *from, DateRec *to)
{
    PString refused, first, last;
    if (PeriodByName(text, from, to)) {
        // the named period's dates
    } else if (PeriodTextRefused(text, refused)) {
        TellTypedDateRefused(refused);
    } else {
        RangeSplit(text, first, last);
        ReadHalf(first, from);
        ReadHalf(last, to);
    }
    WritePeriod(text, from, to, true);
}

// The period text (into a PString buffer of 256 bytes) of the dates from
// and to, as PeriodTextParse writes it back: "from:to" in date form, an
// empty date as an empty half.
void PeriodTextOf(const DateRec *from, const DateRec *to, uint8_t *text) { WritePeriod(text, from, to, true); }

// The current fiscal year: the last year of block 149 that holds today,
// the first year when none does. False (the dates left alone) without
// fiscal years.
bool CurrentFiscalYearDates(DateRec *first, DateRec *last)
{
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, Year::Size);
    if (years.count == 0) return false;
    const uint8_t *chosen = years.data;
    for (int32_t i = 0; i < years.count; i++) {
        const uint8_t *row = years.data + size_t(i) * Year::Size;
        DateRec start = GetDate(row, Year::StartDate), end = GetDate(row, Year::EndDate);
        if (DateInRange(&TodayDate, &start, &end)) chosen = row;
    }
    *first = GetDate(chosen, Year::StartDate);
    *last = GetDate(chosen, Year::EndDate);
    return true;
}

// The period text (into a PString buffer of 256 bytes) of the current
// period, for a new selection: the first named period of block 136;
// without one the current fiscal year, as its first date and, when set,
// ":" and its last date; empty without fiscal years.
void DefaultPeriodText(uint8_t *text)
{
    text[0] = 0;
    {
        SettingsRows periods(PeriodsBlk::Number, &Block136Rows, Period::Size);
        if (periods.count > 0) {
            DateRec from = GetDate(periods.data, Period::FromDate), to = GetDate(periods.data, Period::ToDate);
            WritePeriod(text, &from, &to, true);
            return;
        }
    }
    DateRec first{}, last{};
    if (CurrentFiscalYearDates(&first, &last)) WritePeriod(text, &first, &last, !DateIsEmpty(&last));
}
