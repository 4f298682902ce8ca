// Benchmarks of the date routines that report, due-date and interest
// loops call once per row: parsing, short text, day numbers and adding
// days. Inputs cycle through a table of varied dates so that neither the
// branch predictor nor the compiler sees one fixed value. The peers are
// the standard library's calendar (std::chrono year_month_day and
// sys_days) and the year-by-year loop that day numbers once used.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <vector>

#include "core/date.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/system.h"

namespace {

// 4096 dates from 1950 to about 2060, spread irregularly.
const std::vector<DateRec> &Dates() {
    static std::vector<DateRec> dates = [] {
        std::vector<DateRec> v;
        uint32_t x = 12345;
        for (int i = 0; i < 4096; ++i) {
            x = x * 1103515245u + 12345u;
            uint16_t year = uint16_t(1950 + (x >> 8) % 110);
            uint16_t month = uint16_t(1 + (x >> 4) % 12);
            uint16_t day = uint16_t(1 + (x >> 16) % DaysInMonth(year, month));
            v.push_back(DateRec{day, month, year});
        }
        return v;
    }();
    return dates;
}

void BM_DateParse(benchmark::State &state) {
    TodayDate = DateRec{5, 12, 2026};
    CurrentFormat->dateOrder = 1;
    CurrentFormat->fourDigitYear = state.range(0);
    std::vector<std::array<uint8_t, 256>> texts;
    for (const DateRec &d : Dates()) {
        std::array<uint8_t, 256> t{};
        DateToText(&d, t.data());
        texts.push_back(t);
    }
    size_t i = 0;
    DateTimeRec out{};
    for (auto _ : state) {
        bool ok = DateParse(texts[i++ & 4095].data(), &out);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_DateParse)->Arg(0)->Arg(1);

void BM_DateToText(benchmark::State &state) {
    CurrentFormat->dateOrder = 1;
    CurrentFormat->fourDigitYear = 1;
    const auto &dates = Dates();
    size_t i = 0;
    PString out;
    for (auto _ : state) {
        DateToText(&dates[i++ & 4095], out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_DateToText);

void BM_DayNumber(benchmark::State &state) {
    const auto &dates = Dates();
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(DayNumber(&dates[i++ & 4095]));
}
BENCHMARK(BM_DayNumber);

void BM_DateFromDayNumber(benchmark::State &state) {
    std::vector<int32_t> numbers;
    for (const DateRec &d : Dates())
        numbers.push_back(DayNumber(&d));
    size_t i = 0;
    DateRec out;
    for (auto _ : state) {
        DateFromDayNumber(numbers[i++ & 4095], &out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_DateFromDayNumber);

void BM_DateAddDays(benchmark::State &state) {
    const auto &dates = Dates();
    size_t i = 0;
    DateRec out;
    for (auto _ : state) {
        int32_t n = int32_t((i * 7919) % 4000) - 2000;  // up to about five years either way
        DateAddDays(&dates[i++ & 4095], n, &out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_DateAddDays);

// Peer: the standard library's calendar, date to day count and back.
void BM_ChronoToDays(benchmark::State &state) {
    using namespace std::chrono;
    const auto &dates = Dates();
    size_t i = 0;
    for (auto _ : state) {
        const DateRec &d = dates[i++ & 4095];
        sys_days s = year_month_day{year{d.year}, month{d.month}, day{d.day}};
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ChronoToDays);

void BM_ChronoFromDays(benchmark::State &state) {
    using namespace std::chrono;
    std::vector<sys_days> numbers;
    for (const DateRec &d : Dates())
        numbers.push_back(year_month_day{year{d.year}, month{d.month}, day{d.day}});
    size_t i = 0;
    for (auto _ : state) {
        year_month_day ymd{numbers[i++ & 4095]};
        benchmark::DoNotOptimize(ymd);
    }
}
BENCHMARK(BM_ChronoFromDays);

// Peer: the year-by-year and month-by-month loop from 1 January 1980,
// defined for day numbers from 1 only.
void BM_LoopFromDayNumber(benchmark::State &state) {
    std::vector<int32_t> numbers;
    for (const DateRec &d : Dates())
        if (d.year >= 1980)
            numbers.push_back(DayNumber(&d));
    size_t i = 0;
    for (auto _ : state) {
        int32_t n = numbers[i++ % numbers.size()];
        int year = 1980, month = 1;
        while (n > DaysInYear(year))
            n -= DaysInYear(year++);
        while (n > DaysInMonth(year, month))
            n -= DaysInMonth(year, month++);
        DateRec out{uint16_t(n), uint16_t(month), uint16_t(year)};
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_LoopFromDayNumber);

}  // namespace
