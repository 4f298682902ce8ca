// period.cpp - month and year arithmetic on dates and YYMM periods, and
// the save and restore of the date format around fixed-format exports.
#include "core/date.h"
#include "core/format_block.h"

namespace {

constexpr int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

constexpr int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

// Sets the year of a non-empty date, or empties it when the year leaves
// 1..65535 (year 0 would silently mean "no date").
void SetYear(DateRec *date, int64_t year) {
    if (year < 1 || year > 65535)
        *date = DateRec{0, 0, 0};
    else
        date->year = static_cast<uint16_t>(year);
}

// The date order and decimal separator kept by SaveDateFormat.
uint8_t SavedDateOrder = 1;
uint8_t SavedDecimalSep = ',';

}  // namespace

void DateAddMonths(DateRec *date, int32_t n) {
    if (date->year == 0)
        return;
    // Zero-based month index, carried into the year by floor division;
    // the same as stepping by 12 while the month leaves 1..12.
    int64_t m = static_cast<int64_t>(date->month) - 1 + n;
    int64_t carry = FloorDiv(m, 12);
    date->month = static_cast<uint16_t>(m - 12 * carry + 1);
    SetYear(date, static_cast<int64_t>(date->year) + carry);
    // A day the new month lacks (31 January plus one month) becomes its
    // last day: an impossible date would be stored in budget rows and
    // read by day arithmetic as a day of the month after.
    if (date->year != 0) {
        const int last = DaysInMonth(date->year, date->month);
        if (date->day > last) date->day = static_cast<uint16_t>(last);
    }
}

void DateAddYears(DateRec *date, int32_t n) {
    if (date->year == 0)
        return;
    SetYear(date, static_cast<int64_t>(date->year) + n);
}

int16_t PeriodAddMonths(int16_t period, int32_t n) {
    // Bring n into one century first: the year wraps every 1200 months,
    // and this keeps the sum far from overflow.
    int64_t m = period % 100 + FloorMod(n, 1200);
    int64_t carry = FloorDiv(m - 1, 12);
    int64_t year = FloorMod(period / 100 + carry, 100);
    return static_cast<int16_t>(year * 100 + m - 12 * carry);
}

void PeriodToDate(int16_t period, int16_t day, DateRec *out) {
    int yy = period / 100;
    out->year = static_cast<uint16_t>(yy < 64 ? 2000 + yy : 1900 + yy);
    out->month = static_cast<uint16_t>(period % 100);
    if (day != -1) {
        out->day = static_cast<uint16_t>(day);
        return;
    }
    // The first of the next month, less one day.
    out->day = 1;
    DateAddMonths(out, 1);
    DateAddDays(out, -1, out);
}

void SaveDateFormat() {
    SavedDateOrder = static_cast<uint8_t>(CurrentFormat->dateOrder & 0xFF);
    SavedDecimalSep = CurrentFormat->decimalSep[1];
}

void RestoreDateFormat() {
    CurrentFormat->dateOrder = SavedDateOrder;
    CurrentFormat->decimalSep[1] = SavedDecimalSep;
}
