// date_text.cpp - dates as text: reading a typed date in the user's date
// order, and writing the short and the long text form.
#include <array>

#include "core/date.h"
#include "core/format_block.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "dict_offsets.h"

namespace {

inline bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// Appends the PString src to the PString dst, keeping within 255.
void Append(uint8_t *dst, const uint8_t *src) {
    for (int i = 1; i <= src[0] && dst[0] < 255; ++i)
        dst[++dst[0]] = src[i];
}

void AppendChar(uint8_t *dst, uint8_t c) {
    if (dst[0] < 255)
        dst[++dst[0]] = c;
}

void AppendNumber(uint8_t *dst, uint16_t value, bool pad) {
    PString t;
    NumberText2(value, pad, t);
    Append(dst, t);
}

// Characters a typed date may hold besides digits.
bool IsDateFiller(uint8_t c) {
    switch (c) {
    case ' ': case '.': case '-': case '/': case ',': case ':':
        return true;
    default:
        return CurrentFormat->dateSep[0] >= 1 && c == CurrentFormat->dateSep[1];
    }
}

enum Part : uint8_t { Day, Month, Century, Year };

// Which part of a date each typed number replaces, by date order and by
// how many numbers were typed (one number is always the day).
constexpr std::array<std::array<Part, 2>, 6> TwoNumbers = {{
    {Month, Day}, {Day, Month}, {Month, Day}, {Month, Day}, {Day, Month}, {Day, Month},
}};
constexpr std::array<std::array<Part, 3>, 6> ThreeNumbers = {{
    {Month, Day, Year}, {Day, Month, Year}, {Year, Month, Day},
    {Month, Year, Day}, {Day, Year, Month}, {Year, Day, Month},
}};
constexpr std::array<std::array<Part, 4>, 6> FourNumbers = {{
    {Month, Day, Century, Year}, {Day, Month, Century, Year}, {Century, Year, Month, Day},
    {Month, Century, Year, Day}, {Day, Century, Year, Month}, {Century, Year, Day, Month},
}};

int DateOrder() {
    int order = CurrentFormat->dateOrder;
    return order <= 5 ? order : 5;
}

}  // namespace

int NextNumberInText(int *pos, const uint8_t *text) {
    int len = text[0];
    int p = *pos < 1 ? 1 : *pos;
    while (p <= len && !IsDigit(text[p]))
        ++p;
    if (p > len) {
        *pos = p;
        return -1;
    }
    int value = text[p++] - '0';
    if (p <= len && IsDigit(text[p]))
        value = 10 * value + (text[p++] - '0');
    *pos = p;
    return value;
}

namespace {

// Reads text as DateParse describes; *exact is cleared when a part had
// to be clamped to give a date (a typed century outside 19..20, a month
// outside 1..12, a day outside the month).
bool ReadDate(const uint8_t *text, DateTimeRec *out, bool *exact) {
    bool valid = true;
    *exact = true;
    for (int i = 1; i <= text[0]; ++i)
        if (!IsDigit(text[i]) && !IsDateFiller(text[i]))
            valid = false;

    std::array<int, 4> g{};
    int n = 0;
    int pos = 1;
    while (n < 4) {
        int v = NextNumberInText(&pos, text);
        if (v < 0)
            break;
        g[n++] = v;
    }
    if (n == 4 && NextNumberInText(&pos, text) >= 0)
        valid = false;

    int day = TodayDate.day;
    int month = TodayDate.month;
    int year = TodayDate.year;
    if (n > 0) {
        int order = DateOrder();
        std::array<int, 4> parts = {day, month, -1, -1};  // Day, Month, Century, Year
        if (n == 1) {
            parts[Day] = g[0];
        } else {
            const Part *map = n == 2   ? TwoNumbers[order].data()
                              : n == 3 ? ThreeNumbers[order].data()
                                       : FourNumbers[order].data();
            for (int i = 0; i < n; ++i)
                parts[map[i]] = g[i];
        }
        day = parts[Day];
        month = parts[Month];
        if (n == 4) {
            // A typed century is kept, within 19..20.
            int century = parts[Century] < 19 ? 19 : parts[Century] > 20 ? 20 : parts[Century];
            if (century != parts[Century])
                *exact = false;
            year = century * 100 + parts[Year];
        } else if (n == 3) {
            year = (parts[Year] > 63 ? 1900 : 2000) + parts[Year];
        }
        // With fewer than three numbers the year stays today's.
    }

    const int typedMonth = month, typedDay = day;
    if (month < 1)
        month = 1;
    if (month > 12)
        month = 12;
    if (day < 1)
        day = 1;
    int last = DaysInMonth(year, month);
    if (day > last)
        day = last;
    if (month != typedMonth || day != typedDay)
        *exact = false;

    out->year = static_cast<uint16_t>(year);
    out->month = static_cast<uint16_t>(month);
    out->day = static_cast<uint16_t>(day);
    return valid;
}

}  // namespace

bool DateParse(const uint8_t *text, DateTimeRec *out) {
    bool exact;
    return ReadDate(text, out, &exact);
}

bool DateParseTyped(const uint8_t *text, DateTimeRec *out) {
    bool exact;
    return ReadDate(text, out, &exact) && exact;
}

void DateTypedFormText(uint8_t *out) {
    out[0] = 0;
    PString word;
    GetUiText(out, Texts::DateTypedAs);
    const std::array<Part, 3> &order = ThreeNumbers[DateOrder()];
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (CurrentFormat->dateSep[0] >= 1)
                AppendChar(out, CurrentFormat->dateSep[1]);
            else
                AppendChar(out, ' ');
        }
        GetUiText(word, order[i] == Year ? Texts::DatePartYear
                        : order[i] == Month ? Texts::DatePartMonth
                                            : Texts::DatePartDay);
        Append(out, word);
    }
    // The last day of this year as the example: its day cannot be read as
    // a month.
    const DateRec example{31, 12, TodayDate.year};
    PString shown;
    DateToText(&example, shown);
    GetUiText(word, Texts::DateForExample);
    Append(out, word);
    Append(out, shown);
    AppendChar(out, '.');
}

void NumberText2(uint16_t value, bool pad, uint8_t *out) {
    char digits[5];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out[0] = 0;
    if (pad && n == 1)
        AppendChar(out, '0');
    while (n > 0)
        AppendChar(out, static_cast<uint8_t>(digits[--n]));
}

void DateToText(const DateRec *date, uint8_t *out) {
    out[0] = 0;
    if (date->year == 0)
        return;
    const FormatBlock *f = CurrentFormat;
    PString dayText, monthText, yearText;
    NumberText2(date->day, f->dayLeadingZero != 0, dayText);
    NumberText2(date->month, f->monthLeadingZero != 0, monthText);
    NumberText2(f->fourDigitYear ? date->year : static_cast<uint16_t>(date->year % 100), true,
                yearText);

    // The same orders DateParse reads three numbers in.
    const uint8_t *dayMonthYear[3] = {dayText, monthText, yearText};
    const std::array<Part, 3> &order = ThreeNumbers[DateOrder()];
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && f->dateSep[0] >= 1)
            AppendChar(out, f->dateSep[1]);
        Append(out, dayMonthYear[order[i] == Year ? 2 : order[i] == Month ? 1 : 0]);
    }
}

void DateToLongText(const DateRec *date, uint8_t *out) {
    out[0] = 0;
    if (date->year == 0)
        return;
    const FormatBlock *f = CurrentFormat;
    AppendNumber(out, date->day, f->dayLeadingZero != 0);
    AppendChar(out, ' ');
    PString name;
    name[0] = 0;
    // Only months 1..12 have a name text; the numbers around them are
    // other texts.
    if (date->month >= 1 && date->month <= 12)
        GetUiText(name, 2780 + date->month);
    if (name[0] != 0)
        Append(out, name);
    else
        AppendNumber(out, date->month, f->monthLeadingZero != 0);
    AppendChar(out, ' ');
    AppendNumber(out, date->year, true);
}

void PeriodRowText(const DateRec *from, const DateRec *to, const char *between, uint8_t *out) {
    PString date;
    GetUiText(out, Texts::PeriodRowHeading);
    PStringAppendChar(out, ' ');
    DateToText(from, date);
    PStringAppend(out, date);
    PStringAppendC(out, between);
    DateToText(to, date);
    PStringAppend(out, date);
}
