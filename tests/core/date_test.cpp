// Tests of dates: reading typed dates in every date order, the text
// forms, day arithmetic across leap years and centuries, and month and
// period arithmetic.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "core/date.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"

namespace {

// Fixes today's date and the date order for one test and puts back
// today and the whole format block.
struct DateEnv {
    DateRec savedToday = TodayDate;
    FormatBlock savedFormat = *CurrentFormat;
    explicit DateEnv(uint16_t order, DateRec today = {5, 12, 2026}) {
        TodayDate = today;
        CurrentFormat->dateOrder = order;
    }
    ~DateEnv() {
        TodayDate = savedToday;
        *CurrentFormat = savedFormat;
    }
};

DateRec D(int day, int month, int year) { return DateRec{uint16_t(day), uint16_t(month), uint16_t(year)}; }

std::string Ymd(int y, int m, int d) {
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}
std::string Ymd(const DateRec &d) { return Ymd(d.year, d.month, d.day); }

// Parses text into year-month-day; *ok gets DateParse's answer.
std::string Parse(std::string_view text, bool *ok = nullptr) {
    PString p;
    PStringFromView(p, text);
    DateTimeRec out{0, 0, 0, 11, 12, 13, 14};
    bool r = DateParse(p, &out);
    EXPECT_TRUE(out.hour == 11 && out.seventh == 14) << "only the date words are written";
    if (ok)
        *ok = r;
    return Ymd(out.year, out.month, out.day);
}

std::string Text(const DateRec &d, bool longForm = false) {
    PString out;
    longForm ? DateToLongText(&d, out) : DateToText(&d, out);
    return PStringToStd(out);
}

DateRec Add(DateRec d, int32_t n) {
    DateAddDays(&d, n, &d);
    return d;
}

}  // namespace

TEST(DateParse, DayFirstFillsTheMissingPartsFromToday) {
    DateEnv env(1);
    const char *cases[][2] = {
        {"7", "2026-12-7"}, {"7.3", "2026-3-7"}, {"7.3.95", "1995-3-7"}, {"7.3.30", "2030-3-7"},
        {"7.3.63", "2063-3-7"}, {"7.3.64", "1964-3-7"}, {"07031995", "1995-3-7"},
        {"1995", "2026-12-19"},  // read as 19 and 95: day 19, month clamped
        // A typed century is kept (within 19..20); only two-digit years pivot.
        {"7.3.2070", "2070-3-7"}, {"7/3/1964", "1964-3-7"}, {"7.3.1570", "1970-3-7"},
        {"7.3.2570", "2070-3-7"},
        {"31.2.24", "2024-2-29"}, {"31.2.23", "2023-2-28"}, {"31.4.26", "2026-4-30"},
        {"0.0.95", "1995-1-1"}, {"45.13.95", "1995-12-31"}, {"", "2026-12-5"},
    };
    for (auto &c : cases) {
        bool ok = false;
        EXPECT_EQ(Parse(c[0], &ok), c[1]) << c[0];
        EXPECT_TRUE(ok) << c[0];
    }
    // Stray characters and a fifth number are refused, yet the date is
    // still filled for callers that ignore the answer.
    bool ok = true;
    EXPECT_EQ(Parse(" 7 - 3 , 95 ", &ok), "1995-3-7");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Parse("7.3x.95", &ok), "1995-3-7");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Parse("abc", &ok), "2026-12-5");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Parse("7.3.19.95.1", &ok), "1995-3-7");
    EXPECT_FALSE(ok);

    // An untyped year is today's, whatever its last two digits.
    DateEnv later(1, D(10, 6, 2070));
    EXPECT_EQ(Parse("7.3"), "2070-3-7");
    EXPECT_EQ(Parse("7.3.70"), "1970-3-7");

    PString p;
    PStringFromView(p, "a1995 7x");
    int pos = 1;
    EXPECT_EQ(NextNumberInText(&pos, p), 19);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(NextNumberInText(&pos, p), 95);
    EXPECT_EQ(NextNumberInText(&pos, p), 7);
    EXPECT_EQ(NextNumberInText(&pos, p), -1);
}

// A date typed into a field is taken only as typed: one that reads only
// once a part is clamped (a year typed first, a month past 12, a day past
// the month, a century outside 19..20) is refused, and the short forms
// and the two-digit year's century read as before.
TEST(DateParse, TypedDateIsTakenOnlyAsTyped) {
    DateEnv env(1);
    auto typed = [](std::string_view text, bool *ok) {
        PString p;
        PStringFromView(p, text);
        DateTimeRec out{};
        *ok = DateParseTyped(p, &out);
        return Ymd(out.year, out.month, out.day);
    };
    bool ok = false;
    for (const char *taken : {"7", "7.3", "7.3.95", "7.3.30", "29.2.24", "31.12.2026", "1.1.1964", "", "..."}) {
        const std::string read = typed(taken, &ok);
        EXPECT_TRUE(ok) << taken;
        EXPECT_EQ(read, Parse(taken)) << taken;
    }
    for (const char *refused : {"2027-01-31", "2026-13-01", "1995", "29.2.23", "31.4.26", "0.3.26", "7.0.26",
                                "7.3.1570", "7.3.2170", "7.3x.26"}) {
        typed(refused, &ok);
        EXPECT_FALSE(ok) << refused;
    }

    // The refusal names the form in the configured order and separator.
    UiTextSetLookup([](int n) -> const uint8_t * {
        static PString t;
        const char *words[] = {"", " as ", "day", "month", "year", " like "};
        if (n < 22400 || n > 22405) return nullptr;
        PStringFromC(t, words[n - 22400]);
        return t;
    });
    *CurrentFormat = FormatBlock{2, 1, 1, 1, {1, '-'}, {1, ','}, {1, ' '}};
    PString form;
    DateTypedFormText(form);
    EXPECT_EQ(PStringToStd(form), " as year-month-day like 2026-12-31.");
    UiTextSetLookup(nullptr);
}

TEST(DateParse, ReadsNumbersInEachDateOrder) {
    // Each text means 7 March; with three or four numbers, of 1995.
    const char *cases[][3] = {
        {"3.7", "3.7.95", "3.7.19.95"}, {"7.3", "7.3.95", "7.3.19.95"}, {"3.7", "95.3.7", "19.95.3.7"},
        {"3.7", "3.95.7", "3.19.95.7"}, {"7.3", "7.95.3", "7.19.95.3"}, {"7.3", "95.7.3", "19.95.7.3"},
        {"7.3", "95.7.3", "19.95.7.3"},  // unknown orders read as order 5
    };
    for (uint16_t order = 0; order < 7; ++order) {
        DateEnv env(order == 6 ? 9 : order);
        SCOPED_TRACE(order);
        EXPECT_EQ(Parse("7"), "2026-12-7");
        EXPECT_EQ(Parse(cases[order][0]), "2026-3-7");
        EXPECT_EQ(Parse(cases[order][1]), "1995-3-7");
        EXPECT_EQ(Parse(cases[order][2]), "1995-3-7");
    }
}

TEST(DateText, ShortFormFollowsFormatAndReadsBack) {
    DateEnv env(1);
    FormatBlock *f = CurrentFormat;
    *f = FormatBlock{1, 1, 1, 0, {1, '.'}, {1, ','}, {1, ' '}};
    EXPECT_EQ(Text(D(7, 3, 1995)), "07.03.95");
    EXPECT_EQ(Text(D(7, 3, 2005)), "07.03.05");
    EXPECT_EQ(Text(D(7, 3, 0)), "");

    const char *expected[6] = {"3/7/1995", "7/3/1995", "1995/3/7", "3/1995/7", "7/1995/3", "1995/7/3"};
    const DateRec samples[] = {D(7, 3, 1995), D(1, 1, 2000), D(29, 2, 2024), D(31, 12, 1964),
                               D(1, 10, 2063), D(12, 11, 2010)};
    for (uint16_t order = 0; order < 6; ++order) {
        *f = FormatBlock{order, 0, 0, 1, {1, '/'}, {1, ','}, {1, ' '}};
        EXPECT_EQ(Text(D(7, 3, 1995)), expected[order]);
        for (uint16_t flags = 0; flags < 4; ++flags) {
            f->fourDigitYear = flags & 1;
            f->dayLeadingZero = f->monthLeadingZero = flags >> 1;
            for (const DateRec &d : samples)
                EXPECT_EQ(Parse(Text(d)), Ymd(d)) << Text(d) << " in order " << order;
        }
    }
}

TEST(DateText, LongFormAndNumbers) {
    DateEnv env(1);
    CurrentFormat->dayLeadingZero = 0;
    CurrentFormat->monthLeadingZero = 1;
    EXPECT_EQ(Text(D(7, 3, 1995), true), "7 03 1995");  // no interface file: month number
    UiTextSetLookup([](int n) -> const uint8_t * {
        static PString name;
        PStringFromC(name, n == 2783 ? "March" : "not a month");
        return (n >= 2780 && n <= 2793) ? name : nullptr;
    });
    EXPECT_EQ(Text(D(7, 3, 1995), true), "7 March 1995");
    EXPECT_EQ(Text(D(7, 13, 1995), true), "7 13 1995");
    EXPECT_EQ(Text(D(7, 3, 0), true), "");
    UiTextSetLookup(nullptr);

    PString out;
    NumberText2(5, true, out);
    EXPECT_EQ(PStringToStd(out), "05");
    NumberText2(65535, true, out);
    EXPECT_EQ(PStringToStd(out), "65535");
}

TEST(DateArithmetic, CalendarRulesAndDayNumbers) {
    EXPECT_TRUE(IsLeapYear(2000) && IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900) || IsLeapYear(2100) || IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2023, 0) + DaysInMonth(2023, 13) + DaysBeforeMonth(2024, 14), 0);
    EXPECT_EQ(DaysBeforeMonth(2024, 3), 60);
    EXPECT_EQ(DaysBeforeMonth(2023, 3), 59);
    EXPECT_EQ(DaysBeforeMonth(2024, 13), DaysInYear(2024));

    const std::pair<DateRec, int32_t> numbers[] = {
        {D(1, 1, 1980), 1}, {D(1, 1, 1981), 367}, {D(31, 12, 1979), 0}, {D(1, 1, 1979), -364}};
    for (auto [d, n] : numbers) {
        int32_t out = 12345;
        EXPECT_EQ(DayNumber(&d, &out), n) << Ymd(d);
        EXPECT_EQ(out, n);
    }

    const std::tuple<DateRec, int32_t, const char *> sums[] = {
        {D(31, 1, 2024), 30, "2024-3-1"}, {D(28, 2, 2100), 1, "2100-3-1"},
        {D(28, 2, 1900), 1, "1900-3-1"}, {D(28, 2, 2000), 1, "2000-2-29"},
        {D(1, 3, 1975), 30, "1975-3-31"}, {D(1, 1, 1980), -1, "1979-12-31"},
        {D(15, 6, 1950), 365 * 50 + 13, "2000-6-15"},
        {D(31, 2, 2026), 0, "2026-3-3"},  // an unclipped month end rolls on
        // Beyond the years 1..65535 there is no date.
        {D(31, 12, 65535), 1, "0-0-0"}, {D(1, 1, 1), -1, "0-0-0"}, {D(1, 1, 1), INT32_MIN, "0-0-0"},
        {D(31, 12, 65535), INT32_MAX, "0-0-0"},
    };
    for (auto [d, n, expected] : sums)
        EXPECT_EQ(Ymd(Add(d, n)), expected) << Ymd(d) << " + " << n;

    DateRec a = D(1, 3, 2000), b = D(28, 2, 2000), c = D(1, 1, 1900), e = D(1, 1, 2100);
    int32_t out = 0;
    EXPECT_EQ(DateDiffDays(&a, &b), 2);
    EXPECT_EQ(DateDiffDays(&b, &a, &out), -2);
    EXPECT_EQ(out, -2);
    EXPECT_EQ(DateDiffDays(&e, &c), 200 * 365 + 49);

    DateRec empty = D(9, 9, 0), dst = D(4, 5, 2000);
    DateAddDays(&empty, 10, &dst);
    EXPECT_EQ(Ymd(dst), "0-5-4");  // only the year word is cleared
    EXPECT_EQ(DateDiffDays(&empty, &a) + DateDiffDays(&a, &empty), 0);
    EXPECT_FALSE(DateFromDayNumber(INT32_MAX, &dst));
    EXPECT_EQ(dst.year, 0);
}

TEST(DateArithmetic, DayNumbersRoundTripOverTheCalendar) {
    // Day by day over the years 1..2600: each number gives the calendar
    // successor of the previous number's date, and maps back to itself.
    DateRec prev = D(1, 1, 1), d;
    int32_t n = DayNumber(&prev);
    ASSERT_TRUE(DateFromDayNumber(n, &d));
    ASSERT_EQ(Ymd(d), "1-1-1");
    ASSERT_FALSE(DateFromDayNumber(n - 1, &d));
    for (++n; DateFromDayNumber(n, &d) && d.year <= 2600; ++n) {
        DateRec next = prev;
        if (++next.day > DaysInMonth(next.year, next.month)) {
            next.day = 1;
            if (++next.month > 12)
                next = D(1, 1, next.year + 1);
        }
        if (DateCompare(&d, &next) != 0 || DayNumber(&d) != n)
            FAIL() << "day number " << n << " gives " << Ymd(d) << ", expected " << Ymd(next);
        prev = d;
    }
    for (int y = 2600; y <= 65535; y += 997)
        for (int m = 1; m <= 12; m += 5) {
            DateRec x = D(DaysInMonth(y, m), m, y);
            ASSERT_TRUE(DateFromDayNumber(DayNumber(&x), &d));
            EXPECT_EQ(Ymd(d), Ymd(x));
        }
    DateRec last = D(31, 12, 65535);
    ASSERT_TRUE(DateFromDayNumber(DayNumber(&last), &d));
    EXPECT_EQ(Ymd(d), "65535-12-31");
}

TEST(DateArithmetic, CompareAndRange) {
    DateRec none = D(1, 1, 0), a = D(28, 2, 2000), b = D(1, 3, 2000), big = D(1, 1, 40000);
    EXPECT_EQ(DateCompare(&none, &none), 0);
    EXPECT_EQ(DateCompare(&none, &a), -1);
    EXPECT_EQ(DateCompare(&a, &none), 1);
    EXPECT_EQ(DateCompare(&a, &b), -1);
    EXPECT_EQ(DateCompare(&big, &b), 1);  // years beyond 32767 keep their order
    EXPECT_TRUE(DateInRange(&a, &a, &b) && DateInRange(&b, &a, &b));
    EXPECT_FALSE(DateInRange(&big, &a, &b) || DateInRange(&a, &b, &none));
    EXPECT_TRUE(DateInRange(&big, &b, &none) && DateInRange(&a, &none, &none));
}

TEST(DatePeriods, MonthsYearsAndPeriods) {
    const int32_t periods[][3] = {{9912, 1, 1},  {2411, 14, 2601}, {2601, -14, 2411}, {1, -1, 9912},
                                  {2612, 0, 2612}, {2601, -12, 2501}, {2601, 8402, 2603}};
    for (auto &p : periods)
        EXPECT_EQ(PeriodAddMonths(int16_t(p[0]), p[1]), p[2]) << p[0] << " + " << p[1];
    EXPECT_EQ(PeriodAddMonths(2601, INT32_MIN), PeriodAddMonths(2601, INT32_MIN % 1200));
    for (int n = -30; n <= 30; ++n)
        EXPECT_EQ(PeriodAddMonths(PeriodAddMonths(2406, n), -n), 2406) << n;

    const std::tuple<int16_t, int16_t, const char *> dates[] = {
        {9504, -1, "1995-4-30"}, {6402, 1, "1964-2-1"}, {6302, 1, "2063-2-1"},
        {2402, -1, "2024-2-29"}, {2612, -1, "2026-12-31"}};
    for (auto [period, day, expected] : dates) {
        DateRec d;
        PeriodToDate(period, day, &d);
        EXPECT_EQ(Ymd(d), expected) << period;
    }

    DateRec d = D(31, 1, 2026);
    DateAddMonths(&d, 1);
    EXPECT_EQ(Ymd(d), "2026-2-28") << "a day the month lacks becomes its last day";
    // The month's last day in leap and common years, backwards too, and a
    // day every month has kept across the year's end.
    const std::tuple<DateRec, int32_t, const char *> clamps[] = {
        {D(31, 1, 2024), 1, "2024-2-29"},   {D(31, 3, 2024), -1, "2024-2-29"},
        {D(29, 2, 2024), 12, "2025-2-28"},  {D(31, 1, 2000), 1, "2000-2-29"},
        {D(31, 1, 2100), 1, "2100-2-28"},   {D(31, 10, 2025), 4, "2026-2-28"},
        {D(31, 5, 2026), 1, "2026-6-30"},   {D(31, 12, 2025), 1, "2026-1-31"},
        {D(31, 1, 2026), -1, "2025-12-31"}, {D(30, 11, 2025), 2, "2026-1-30"},
        {D(28, 2, 2023), 1, "2023-3-28"},   {D(31, 3, 2025), -13, "2024-2-29"}};
    for (auto [from, n, expected] : clamps) {
        DateRec c = from;
        DateAddMonths(&c, n);
        EXPECT_EQ(Ymd(c), expected) << Ymd(from) << " + " << n << " months";
    }
    d = D(15, 3, 2001);
    DateAddMonths(&d, -13);
    EXPECT_EQ(Ymd(d), "2000-2-15");
    DateAddMonths(&d, -2);
    EXPECT_EQ(Ymd(d), "1999-12-15");
    DateAddMonths(&d, 25);
    DateAddYears(&d, -3);
    EXPECT_EQ(Ymd(d), "1999-1-15");
    DateRec empty = D(5, 5, 0), first = D(1, 1, 1);
    DateAddMonths(&empty, 12);
    EXPECT_TRUE(DateIsEmpty(&empty)) << "months added to no date leave no date";
    DateAddYears(&empty, 1);
    EXPECT_TRUE(DateIsEmpty(&empty)) << "years added to no date leave no date";
    DateAddMonths(&first, -1);
    EXPECT_TRUE(DateIsEmpty(&first)) << "a result before year 1 is no date";

    DateEnv env(2);
    CurrentFormat->decimalSep[1] = '.';
    SaveDateFormat();
    CurrentFormat->dateOrder = 0;
    CurrentFormat->decimalSep[1] = ',';
    RestoreDateFormat();
    EXPECT_EQ(CurrentFormat->dateOrder, 2);
    EXPECT_EQ(CurrentFormat->decimalSep[1], '.');
}
