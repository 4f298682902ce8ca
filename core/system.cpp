// system.cpp - today's date, the clock, time stamps, random numbers and
// a few process-wide values.
#include "core/system.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

namespace {

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t;
}

DateRec LocalDate() {
    std::tm t = LocalNow();
    return DateRec{static_cast<uint16_t>(t.tm_mday), static_cast<uint16_t>(t.tm_mon + 1),
                   static_cast<uint16_t>(t.tm_year + 1900)};
}

// Time stamps go into logs and export headers that other programs read,
// so the month names are fixed rather than taken from the locale.
constexpr std::array<const char *, 12> MonthAbbrev = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The run-time generator. Its own engine, so that nothing else in the
// process can disturb or reseed the sequence behind our back.
std::minstd_rand RandomEngine;

}  // namespace

DateRec TodayDate = LocalDate();

// Start-up sets this when the interface file defines no window type 9.
bool CompactVariant = false;

void TodayToGlobals() { TodayDate = LocalDate(); }

void CurrentHourMinute(uint16_t *hour, uint16_t *minute) {
    std::tm t = LocalNow();
    *hour = static_cast<uint16_t>(t.tm_hour);
    *minute = static_cast<uint16_t>(t.tm_min);
}

void FormatTimeStamp(const std::tm *t, char *buffer, bool withTime) {
    // Every field is brought into 0..99 so each prints as two digits and
    // the longest form, "dd Mon yy hh:mm:ss", takes 19 bytes.
    auto two = [](int v) { return static_cast<unsigned>(v) % 100u; };
    int month = (t->tm_mon >= 0 && t->tm_mon < 12) ? t->tm_mon : 0;
    unsigned year = two(((t->tm_year + 1900) % 100 + 100) % 100);
    if (withTime)
        std::snprintf(buffer, NowStringSize, "%02u %s %02u %02u:%02u:%02u", two(t->tm_mday),
                      MonthAbbrev[month], year, two(t->tm_hour), two(t->tm_min), two(t->tm_sec));
    else
        std::snprintf(buffer, NowStringSize, "%02u-%s-%02u", two(t->tm_mday), MonthAbbrev[month], year);
}

void FormatNowString(char *buffer, bool withTime) {
    std::tm t = LocalNow();
    FormatTimeStamp(&t, buffer, withTime);
}

void WaitNextSecond() {
    std::time_t start = std::time(nullptr);
    while (std::time(nullptr) == start)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void SeedRandom() {
    auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    RandomEngine.seed(static_cast<uint32_t>(ticks ^ (ticks >> 32)));
}

int32_t RandomRange(int32_t lo, int32_t hi) {
    int64_t r = static_cast<int64_t>(RandomEngine() % 65535);
    // 64-bit, because (hi - lo) may need all 32 bits. The shift floors,
    // also for a negative product when hi < lo.
    return static_cast<int32_t>(lo + ((r * (static_cast<int64_t>(hi) - lo)) >> 16));
}

void RandomDec(int32_t lo, int32_t hi, PackedDecimal *out) {
    DecSetZero(out);
    DecFromLong(out, RandomRange(lo, hi));
}

void ExitProgram(int code) {
    std::fflush(nullptr);
    std::exit(code);
}

// The sector cache a server or stand-alone process keeps: 16 MB, some
// 31,000 sectors. A hold's index nodes and the records it rewrites stay
// cached through the hold instead of going out to the file and coming
// back (at 320,000 bytes, 590 sectors, a hold of 10,000 vouchers wrote
// back and reread most of its sectors several times and took twice the
// processor time). The bytes are few beside any machine's memory.
int32_t DbMemoryBudget() { return 16 << 20; }

int16_t ShortAbs(int16_t v) {
    if (v == INT16_MIN)
        return INT16_MAX;
    return static_cast<int16_t>(v < 0 ? -v : v);
}
