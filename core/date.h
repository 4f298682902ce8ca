// date.h - dates: reading and writing them as text, comparing them, day
// arithmetic, and month arithmetic on dates and YYMM periods.
//
// A DateRec is three unsigned 16-bit words, day, month, year, exactly as
// records, settings blocks and report selections store them. Year 0
// means "no date"; the day and month of an empty date carry no meaning,
// and an empty date sorts before every date.
//
// Day numbers count days on the proleptic Gregorian calendar with
// 1 January 1980 as day 1, so 31 December 1979 is day 0 and earlier
// dates are negative. Every date of the years 1..65535 has one.
//
// Date orders (word 0 of the format block) say in which order the parts
// of a date are typed and written:
//   0  month day year      3  month year day
//   1  day month year      4  day year month
//   2  year month day      5  year day month (and any other value)
// With fewer than three numbers typed, orders 0 and 2 read month and
// day, the others day and month; one number is always the day.
#pragma once

#include <cstdint>

struct DateRec {
    uint16_t day;
    uint16_t month;
    uint16_t year;
};
static_assert(sizeof(DateRec) == 6);

// The value of a date-and-time field. DateParse fills the first three
// words; nothing in the date code reads the seventh.
struct DateTimeRec {
    uint16_t year;
    uint16_t month;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t seventh;
};
static_assert(sizeof(DateTimeRec) == 14);

inline bool DateIsEmpty(const DateRec *d) { return d->year == 0; }

// ---- Text forms (date_text.cpp) ----

// Reads the next number of one or two digits in the PString text at or
// after the 1-based position *pos, skipping anything that is not a
// digit, and leaves *pos just after the digits read. Returns -1 (and
// leaves *pos past the end) when no digit remains. A longer run of
// digits reads as several numbers: 1995 is 19, then 95.
int NextNumberInText(int *pos, const uint8_t *text);

// Reads a typed date in the configured date order into out's year,
// month and day; the other words of out are left alone. Parts not typed
// come from TodayDate. A two-digit year above 63 means 19xx, otherwise
// 20xx; a typed century (four numbers) is kept, clamped to 19..20. The
// month is clamped to 1..12 and the day to the month's length.
// Returns false when the text holds a character other than digits,
// blanks and separators (. - / , : or the configured date separator)
// or more than four numbers; out is filled all the same. A text without
// digits gives today's date.
bool DateParse(const uint8_t *text, DateTimeRec *out);

// Reads a date as a user types it into a field: as DateParse, but false
// also when a part had to be clamped to give a date (a month outside
// 1..12, a day outside its month, a typed century outside 19..20), so
// that "2027-01-31", read in the day-first order as day 20 of month 27,
// is refused rather than taken as another date. The short forms and the
// two-digit year's century are read as DateParse reads them.
bool DateParseTyped(const uint8_t *text, DateTimeRec *out);

// The form a typed date takes, for a refusal: ". Dates are typed as
// day.month.year, for example 31.12.2026." in the configured order and
// separator, the example written as DateToText writes it.
void DateTypedFormText(uint8_t *out);

// Writes date as short text in the configured order, separator,
// leading-zero flags and year width. An empty date gives an empty text.
// DateParse reads the text back to the same date in every order (for
// years 1964..2063, or 1900..2099 with four-digit years).
void DateToText(const DateRec *date, uint8_t *out);
// The heading of an invoice's period row: the period-row text, a space,
// the from date, `between` and the to date (each as DateToText writes it).
void PeriodRowText(const DateRec *from, const DateRec *to, const char *between, uint8_t *out);

// Writes day, month name (interface texts 2781..2792, the month number
// when the text is missing) and the whole year: "7 March 1995".
void DateToLongText(const DateRec *date, uint8_t *out);

// Writes the decimal digits of value into the PString out, with a
// leading "0" when pad is set and the value is below 10.
void NumberText2(uint16_t value, bool pad, uint8_t *out);

// ---- Comparison and day arithmetic (date.cpp) ----

// 1, 0 or -1 by year, month and day. Two empty dates are equal; an
// empty date is below every date.
int DateCompare(const DateRec *a, const DateRec *b);

// from <= date <= to, where an empty bound is open.
bool DateInRange(const DateRec *date, const DateRec *from, const DateRec *to);

bool IsLeapYear(int year);
// 28..31; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// Days of the year before the month; month 13 gives the whole year;
// 0 for a month outside 1..13.
int DaysBeforeMonth(int year, int month);
int DaysInYear(int year);

// The day number of date, also stored in *out when out is not null.
// Month and day words out of range count on from the year's start the
// way the words say (day 0 is the day before the 1st, month 13 is the
// next year's January). Meaningless for an empty date.
int32_t DayNumber(const DateRec *date, int32_t *out = nullptr);

// The date of day number n. Returns false, and an empty date (all words
// 0), when n lies outside the years 1..65535.
bool DateFromDayNumber(int32_t n, DateRec *out);

// dst = src + n days; dst may be src. An empty src sets dst's year to 0
// and leaves dst's other words; a result outside the years 1..65535 is
// an empty date.
void DateAddDays(const DateRec *src, int32_t n, DateRec *dst);

// a - b in days, also stored in *out when out is not null; 0 when
// either date is empty.
int32_t DateDiffDays(const DateRec *a, const DateRec *b, int32_t *out = nullptr);

// ---- Months, years and periods (period.cpp) ----

// Adds n months, carrying into the year. The day is kept where the new
// month has it, else it becomes the month's last day: 31 January plus
// one month is 28 (or 29) February. An empty date stays empty, and a
// result outside the years 1..65535 is an empty date.
void DateAddMonths(DateRec *date, int32_t n);
// Adds n years, with the same rules for empty dates and the range.
void DateAddYears(DateRec *date, int32_t n);

// A period is YYMM: two-digit year x 100 + month. Adds n months (n may
// be negative); the year wraps within 00..99, so 9912 plus one month is
// 0001 and 0001 minus one month is 9912.
int16_t PeriodAddMonths(int16_t period, int32_t n);

// The date of the given day in period: YY below 64 is 20YY, otherwise
// 19YY. Day -1 gives the period's last day.
void PeriodToDate(int16_t period, int16_t day, DateRec *out);

// Save and put back the date order and the decimal separator of the
// current format block, around exports and imports that use a fixed
// format. One level only: a second save overwrites the first.
void SaveDateFormat();
void RestoreDateFormat();
