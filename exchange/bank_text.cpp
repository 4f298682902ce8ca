// bank_text.cpp - the text formatters of the bank payment files: dates of
// two-digit parts, the bank group as text, the letters of the Telepay
// character set, a text split at a length and amounts in hundredths or
// with a dot (see bank_file.h).
#include <cassert>
#include <string>

#include "core/bank_format.h"
#include "core/pstring.h"
#include "exchange/bank_file.h"
#include "exchange/text_exchange.h"

namespace {
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }
int TwoDigitValue(const uint8_t *text, int at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }
}  // namespace

void DateToMMDD(const DateRec *date, uint8_t *out)
{
    assert(date && out);
    uint8_t two[3];
    TwoDigits(date->month, out);
    TwoDigits(date->day, two);
    PStringAppend(out, two);
}

// Banks write six-digit dates of this century: the year is windowed as
// period dates are (below 64 is 20YY), never taken as 19YY alone.
bool DateFromYYMMDD(const uint8_t *text, DateRec *out)
{
    *out = DateRec{0, 0, 0};
    if (text[0] < 6) return false;
    for (int i = 1; i <= 6; i++)
        if (!IsDigit(text[i])) return false;
    int yy = TwoDigitValue(text, 1), month = TwoDigitValue(text, 3), day = TwoDigitValue(text, 5);
    int year = yy < 64 ? 2000 + yy : 1900 + yy;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    *out = DateRec{uint16_t(day), uint16_t(month), uint16_t(year)};
    return true;
}

void BankGroupText(const uint8_t *account, uint8_t *out)
{
    PStringFromView(out, std::to_string(BankGroupNumber(account)));
}

void TelepayLetters(const uint8_t *text, uint8_t *out)
{
    PStringCopy(out, text);
    UpperPString(out);
    for (int i = 1; i <= out[0]; i++) {
        switch (out[i]) {
        case 0xC5: case 0xE5: out[i] = '['; break;   // A ring
        case 0xC6: case 0xE6: out[i] = '{'; break;   // AE
        case 0xD8: case 0xF8: out[i] = '|'; break;   // O slash
        default: break;
        }
    }
}

void SplitAt(const uint8_t *text, int n, uint8_t *head, uint8_t *rest)
{
    assert(n >= 0 && head != text && rest != text);
    PStrSubstr(text, head, 1, n);
    if (text[0] > n)
        PStrSubstr(text, rest, n + 1, text[0] - n);
    else
        PStringFromView(rest, " ");
}

bool AmountCents(const PackedDecimal *amount, int64_t *cents)
{
    __int128 thousandths = 0;
    *cents = 0;
    if (!DecToThousandths(amount, &thousandths)) return false;
    __int128 c = thousandths / 10;
    if (c > INT64_MAX || c < -INT64_MAX) return false;
    *cents = int64_t(c);
    return true;
}

void AmountDotText(const PackedDecimal *amount, uint8_t *out)
{
    int64_t cents = 0;
    AmountCents(amount, &cents);
    uint64_t m = cents < 0 ? uint64_t(-cents) : uint64_t(cents);
    std::string s = std::to_string(m / 100) + "." + (m % 100 < 10 ? "0" : "") + std::to_string(m % 100);
    PStringFromView(out, (cents < 0 ? "-" : "") + s);
}
