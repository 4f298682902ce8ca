// date.cpp - comparing dates and day arithmetic.
//
// Day numbers are computed in constant time from the Gregorian rules
// (the civil-from-days method: shift the year to start in March so the
// leap day falls last, then split into 400-year eras), because due-date,
// interest and period loops call these once per row.
#include "core/date.h"

#include <array>
#include <cassert>

namespace {

constexpr std::array<uint8_t, 12> MonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::array<uint16_t, 13> DaysBefore = {0,   31,  59,  90,  120, 151, 181,
                                                 212, 243, 273, 304, 334, 365};

constexpr int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

constexpr bool Leap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Days from 1 January of year 1 to 1 January of year y (negative for
// y < 1, counting the proleptic calendar backwards).
constexpr int64_t DaysBeforeYear(int64_t y) {
    int64_t p = y - 1;
    return 365 * p + FloorDiv(p, 4) - FloorDiv(p, 100) + FloorDiv(p, 400);
}

constexpr int64_t Epoch1980 = DaysBeforeYear(1980);

constexpr int64_t DayNumberOf(int64_t y, int month, int64_t day) {
    int before = 0;
    if (month >= 1 && month <= 13)
        before = DaysBefore[month - 1] + ((month > 2 && Leap(y)) ? 1 : 0);
    return DaysBeforeYear(y) - Epoch1980 + before + day;
}

constexpr int64_t FirstDayNumber = DayNumberOf(1, 1, 1);
constexpr int64_t LastDayNumber = DayNumberOf(65535, 12, 31);
static_assert(DayNumberOf(1980, 1, 1) == 1 && DayNumberOf(1981, 1, 1) == 367);
static_assert(FirstDayNumber >= INT32_MIN && LastDayNumber <= INT32_MAX);

// Day 1 (1 January 1980) is day 3652 counted from 1 January 1970, the
// zero of the civil-from-days formula below.
constexpr int64_t ToUnixDays = 3651;
static_assert(FirstDayNumber + ToUnixDays + 719468 > 0 && LastDayNumber + ToUnixDays + 719468 < (1 << 25));

}  // namespace

int DateCompare(const DateRec *a, const DateRec *b) {
    if (a->year == 0 || b->year == 0) {
        if (a->year == b->year)
            return 0;
        return a->year == 0 ? -1 : 1;
    }
    // The words are unsigned: years up to 65535 must keep their order.
    if (a->year != b->year)
        return a->year < b->year ? -1 : 1;
    if (a->month != b->month)
        return a->month < b->month ? -1 : 1;
    if (a->day != b->day)
        return a->day < b->day ? -1 : 1;
    return 0;
}

bool DateInRange(const DateRec *date, const DateRec *from, const DateRec *to) {
    if (from->year != 0 && DateCompare(date, from) < 0)
        return false;
    if (to->year != 0 && DateCompare(date, to) > 0)
        return false;
    return true;
}

bool IsLeapYear(int year) { return Leap(year); }

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && Leap(year))
        return 29;
    return MonthLengths[month - 1];
}

int DaysBeforeMonth(int year, int month) {
    if (month < 1 || month > 13)
        return 0;
    return DaysBefore[month - 1] + ((month > 2 && Leap(year)) ? 1 : 0);
}

int DaysInYear(int year) { return Leap(year) ? 366 : 365; }

int32_t DayNumber(const DateRec *date, int32_t *out) {
    // Within int32: the year is at most 65535 and month and day words
    // add at most 65535 + 366 days past the year's end.
    int32_t n = static_cast<int32_t>(DayNumberOf(date->year, date->month, date->day));
    if (out)
        *out = n;
    return n;
}

bool DateFromDayNumber(int32_t n, DateRec *out) {
    if (n < FirstDayNumber || n > LastDayNumber) {
        *out = DateRec{0, 0, 0};
        return false;
    }
    // Days since 1 March of year 0, split into 400-year eras of 146097
    // days; within an era the March-based year, then the month from the
    // day of that year (153 days per five months from March). From year 1
    // on the count is positive and below 2^25, so unsigned 32-bit
    // arithmetic is exact.
    uint32_t z = static_cast<uint32_t>(static_cast<int64_t>(n) + ToUnixDays + 719468);
    uint32_t era = z / 146097;
    uint32_t doe = z - era * 146097;                                         // 0..146096
    uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;    // 0..399
    uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                  // 0..365
    uint32_t mp = (5 * doy + 2) / 153;                                       // 0..11, March = 0
    uint32_t day = doy - (153 * mp + 2) / 5 + 1;
    uint32_t month = mp < 10 ? mp + 3 : mp - 9;
    uint32_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    assert(year >= 1 && year <= 65535 && day >= 1 &&
           int(day) <= DaysInMonth(int(year), int(month)));
    out->day = static_cast<uint16_t>(day);
    out->month = static_cast<uint16_t>(month);
    out->year = static_cast<uint16_t>(year);
    return true;
}

void DateAddDays(const DateRec *src, int32_t n, DateRec *dst) {
    if (src->year == 0) {
        dst->year = 0;
        return;
    }
    int64_t target = DayNumberOf(src->year, src->month, src->day) + n;
    if (target < FirstDayNumber || target > LastDayNumber) {
        *dst = DateRec{0, 0, 0};
        return;
    }
    DateFromDayNumber(static_cast<int32_t>(target), dst);
}

int32_t DateDiffDays(const DateRec *a, const DateRec *b, int32_t *out) {
    int32_t d = 0;
    if (a->year != 0 && b->year != 0)
        d = DayNumber(a) - DayNumber(b);
    if (out)
        *out = d;
    return d;
}
