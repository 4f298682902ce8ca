// sie_fields.cpp - the fields of an SIE line: splitting a line into
// words, quoted texts and object lists, and reading and writing dates,
// periods and amounts in the one form the format knows, whatever the
// user's date order, decimal separator or thousands setting.
#include <cstdio>
#include <cstring>

#include "core/pstring.h"
#include "exchange/sie.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a quoted text from line[*i] (on the opening mark) to its closing
// mark, the escapes \" and \\ undone; an unclosed text runs to the end.
std::string QuotedAt(std::string_view line, size_t *i)
{
    std::string out;
    size_t k = *i + 1;
    for (; k < line.size(); k++) {
        char c = line[k];
        if (c == '\\' && k + 1 < line.size() && (line[k + 1] == '"' || line[k + 1] == '\\')) {
            out += line[++k];
            continue;
        }
        if (c == '"') {
            k++;
            break;
        }
        out += c;
    }
    *i = k;
    return out;
}

// Reads an object list from line[*i] (on its "{") to its closing brace;
// a quoted code may hold a brace or a blank. The inside is kept with its
// quoted codes as written and every run of blanks and TABs between them
// made one blank, so a list reads the same however it was spaced.
std::string ListAt(std::string_view line, size_t *i)
{
    std::string out;
    size_t k = *i + 1;
    bool gap = false;
    while (k < line.size() && line[k] != '}') {
        if (IsBlank(line[k])) {
            gap = true;
            k++;
            continue;
        }
        if (gap && !out.empty()) out += ' ';
        gap = false;
        if (line[k] == '"') {
            size_t q = k;
            QuotedAt(line, &q);
            out.append(line.substr(k, q - k));
            k = q;
            continue;
        }
        out += line[k++];
    }
    *i = k < line.size() ? k + 1 : k;
    return out;
}

// Reads one field at line[*i] (not on a blank): a quoted text, an object
// list, or a word up to the next blank or TAB.
SieField FieldAt(std::string_view line, size_t *i)
{
    SieField f;
    if (line[*i] == '"') {
        f.text = QuotedAt(line, i);
        return f;
    }
    if (line[*i] == '{') {
        f.list = true;
        f.text = ListAt(line, i);
        return f;
    }
    size_t k = *i;
    while (k < line.size() && !IsBlank(line[k])) k++;
    f.text = std::string(line.substr(*i, k - *i));
    *i = k;
    return f;
}

// Digits only, exactly n of them.
bool Digits(std::string_view t, size_t n)
{
    if (t.size() != n) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

int Number(std::string_view t)
{
    int v = 0;
    for (char c : t) v = v * 10 + (c - '0');
    return v;
}

}  // namespace

// Splits a line into its fields. Blanks and TABs separate fields, and a
// run of them is one separator, whichever program wrote the line: a TAB
// after a tag, two TABs in a row, a TAB inside a list or the TAB this
// program's export puts after every field all read alike. Only quotation
// marks keep blanks inside a field.
void SieSplitLine(std::string_view line, std::vector<SieField> *fields)
{
    fields->clear();
    size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            i++;
            continue;
        }
        fields->push_back(FieldAt(line, &i));
    }
}

// The (dimension, object) pairs of a list's inside.
bool SieObjectPairs(std::string_view list, std::vector<std::pair<std::string, std::string>> *pairs)
{
    pairs->clear();
    std::vector<std::string> words;
    size_t i = 0;
    while (i < list.size()) {
        if (IsBlank(list[i])) {
            i++;
            continue;
        }
        words.push_back(FieldAt(list, &i).text);
    }
    if (words.size() % 2 != 0) return false;
    for (size_t k = 0; k < words.size(); k += 2) pairs->emplace_back(words[k], words[k + 1]);
    return true;
}

// YYYYMMDD of an existing day (years 1..9999).
bool SieDateRead(std::string_view text, DateRec *date)
{
    *date = DateRec{0, 0, 0};
    if (!Digits(text, 8)) return false;
    int y = Number(text.substr(0, 4)), m = Number(text.substr(4, 2)), d = Number(text.substr(6, 2));
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
    *date = DateRec{uint16_t(d), uint16_t(m), uint16_t(y)};
    return true;
}

// YYYYMM: the period's last day.
bool SiePeriodRead(std::string_view text, DateRec *date)
{
    *date = DateRec{0, 0, 0};
    if (!Digits(text, 6)) return false;
    int y = Number(text.substr(0, 4)), m = Number(text.substr(4, 2));
    if (y < 1 || m < 1 || m > 12) return false;
    *date = DateRec{uint16_t(DaysInMonth(y, m)), uint16_t(m), uint16_t(y)};
    return true;
}

// An optional sign, digits, and "." with up to three decimals.
bool SieAmountRead(std::string_view text, PackedDecimal *amount)
{
    DecSetZero(amount);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    __int128 v = 0;
    int digits = 0, decimals = -1;
    for (; i < text.size(); i++) {
        char c = text[i];
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9') return false;
        if (decimals >= 0 && ++decimals > 3) return false;
        if (++digits > 21) return false;
        v = v * 10 + (c - '0');
    }
    if (digits == 0) return false;
    for (int k = decimals < 0 ? 0 : decimals; k < 3; k++) v *= 10;
    DecFromThousandths(amount, negative ? -v : v);
    return !DecIsBlank(amount);
}

bool SieIntegerRead(std::string_view text, long lo, long hi, long *value)
{
    *value = 0;
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 9) return false;
    long v = 0;
    for (; i < text.size(); i++) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    v = negative ? -v : v;
    if (v < lo || v > hi) return false;
    *value = v;
    return true;
}

std::string SieDateText(const DateRec *date)
{
    char t[16];
    std::snprintf(t, sizeof t, "%04u%02u%02u", unsigned(date->year), unsigned(date->month), unsigned(date->day));
    return t;
}

std::string SiePeriodText(const DateRec *date)
{
    char t[16];
    std::snprintf(t, sizeof t, "%04u%02u", unsigned(date->year), unsigned(date->month));
    return t;
}

// Two decimals (the amounts of the ledger are kept in whole hundredths;
// a third decimal, when one is held, is written too).
std::string SieAmountText(const PackedDecimal *amount)
{
    __int128 v = 0;
    if (!DecToThousandths(amount, &v)) v = 0;
    bool negative = v < 0;
    unsigned __int128 m = negative ? (unsigned __int128)(-v) : (unsigned __int128)v;
    std::string digits;
    unsigned __int128 whole = m / 1000;
    do {
        digits.insert(digits.begin(), char('0' + int(whole % 10)));
        whole /= 10;
    } while (whole != 0);
    unsigned frac = unsigned(m % 1000);
    char t[8];
    if (frac % 10 == 0)
        std::snprintf(t, sizeof t, ".%02u", frac / 10);
    else
        std::snprintf(t, sizeof t, ".%03u", frac);
    return (negative ? "-" : "") + digits + t;
}

// The text cut to width characters, its quotation marks and backslashes
// escaped, in quotation marks; cut further when the escapes would make
// the field longer than a field of the export may be (255).
std::string SieQuoted(std::string_view text, size_t width)
{
    std::string out = "\"";
    size_t n = 0;
    for (char c : text) {
        if (n++ >= width) break;
        size_t add = (c == '"' || c == '\\') ? 2 : 1;
        if (out.size() + add + 1 > 255) break;
        if (add == 2) out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string SieWord(std::string_view text)
{
    bool bare = !text.empty();
    for (char c : text)
        if (IsBlank(c) || c == '"' || c == '{' || c == '}') bare = false;
    return bare ? std::string(text) : SieQuoted(text, 255);
}

std::string SieFromPString(const uint8_t *p)
{
    return std::string(reinterpret_cast<const char *>(p + 1), p[0]);
}

void SieToPString(std::string_view s, uint8_t *p)
{
    size_t n = s.size() < 255 ? s.size() : 255;
    p[0] = uint8_t(n);
    std::memcpy(p + 1, s.data(), n);
}
