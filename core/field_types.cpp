// field_types.cpp - the stored width of each field type and the two
// directions between a field's value and its text (see
// core/field_types.h for the codes and their values).
//
// Fields lie at any byte offset inside records and rows, so every
// multi-byte value is read and written through memcpy. The field and
// the text handed in may overlap (a record field parsed from itself);
// each operation reads what it needs before it writes.
#include "core/field_types.h"

#include <algorithm>
#include <cstring>

#include "core/choice_lists.h"
#include "core/company_variant.h"
#include "core/date.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/ui_text.h"

namespace {

template <typename T>
T Load(const uint8_t *p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void Store(uint8_t *p, const T &v) {
    std::memcpy(p, &v, sizeof v);
}

int ClampLength(int m) { return std::clamp(m, 0, PStringMax); }

bool IsAmountType(uint16_t type) {
    switch (type) {
    case FtAmount2: case FtDebit: case FtCredit: case FtPercent: case FtThousands:
    case FtMillions: case FtAmount1: case FtAmount0: case FtAmount3: case FtAmount3Drop:
        return true;
    default:
        return false;
    }
}

// A text of nothing but blanks is no entry, like the empty text.
bool IsEmptyText(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (text[i] != ' ') return false;
    return true;
}

// Stores at most m characters of text as the PString of a text field
// and zeroes the rest of the field. Reads only the characters it keeps.
void StoreText(uint8_t *field, int m, const uint8_t *text) {
    m = ClampLength(m);
    const int size = FieldSize(FtText, m);
    const int n = std::min<int>(text[0], m);
    uint8_t kept[PStringMax + 1];
    std::memcpy(kept, text + 1, n);
    field[0] = static_cast<uint8_t>(n);
    std::memcpy(field + 1, kept, n);
    std::memset(field + 1 + n, 0, size - 1 - n);
}

// Reads a typed whole number: the empty text gives emptyValue; a
// malformed text or one outside lo..hi gives false.
bool ParseWhole(const uint8_t *text, int32_t emptyValue, int64_t lo, int64_t hi, int32_t *out) {
    if (IsEmptyText(text)) {
        *out = emptyValue;
        return true;
    }
    int32_t v;
    if (!TextToLongChecked(text, &v) || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// Reads a typed amount rounded to n decimals (n = 3: as typed). False
// for a malformed text or a value that rounding carries out of range.
bool ParseAmount(const uint8_t *text, int n, PackedDecimal *out) {
    if (!TextToDecChecked(text, out)) return false;
    if (DecIsBlank(out)) return true;
    DecRound(out, n, out);
    return !DecIsBlank(out);
}

bool HoldsNegative(const PackedDecimal *p) { return !DecIsZero(p) && DecIsNegative(p); }

void AppendChar(uint8_t *out, uint8_t c) {
    if (out[0] < PStringMax) out[++out[0]] = c;
}

// Amount divided by divisor, written with n decimals and a unit mark.
void FormatScaled(const PackedDecimal *v, int32_t divisor, int n, uint8_t mark, uint8_t *out) {
    PackedDecimal d, scaled;
    DecFromLong(&d, divisor);
    DecDiv(v, &d, &scaled);
    DecFormat(&scaled, n, out);
    AppendChar(out, mark);
}

}  // namespace

int FieldSize(uint16_t type, int m) {
    if (FieldTypeIsText(type)) {
        const int n = ClampLength(m) + 1;
        return n + (n & 1);
    }
    switch (type) {
    case FtAmount2: case FtDebit: case FtCredit: case FtPercent: case FtThousands:
    case FtMillions: case FtAmount1: case FtAmount0: case FtAmount3: case FtAmount3Drop:
        return 12;
    case FtLongOrEmpty: case FtLong: case FtValue32:
        return 4;
    case FtDate: case FtDateLong:
        return 6;
    case FtDateTime:
        return 14;
    case FtShort: case FtShortB: case FtMark: case FtChoice:
        return 2;
    case FtFlag:
        return 1;
    default:
        return 0;
    }
}

void FieldFormat(const uint8_t *value, uint16_t type, int m, uint8_t *out) {
    PString text;   // value and out may overlap
    text[0] = 0;
    PackedDecimal v;
    if (IsAmountType(type)) std::memcpy(&v, value, sizeof v);
    switch (type) {
    case FtText: case FtCode: case FtCodeKept: case FtCodeNoSep:
        std::memcpy(text, value, value[0] + 1u);
        break;
    case FtUnderscoreText:
        std::memcpy(text, value, value[0] + 1u);
        PStringUnderscoreToBlank(text);
        break;
    case FtHidden:
        text[0] = value[0];
        std::memset(text + 1, '*', value[0]);
        break;
    case FtAmount2:
        DecFormat(&v, 2, text);
        break;
    case FtAmount1:
        DecFormat(&v, 1, text);
        break;
    case FtAmount0:
        DecRound(&v, 0, &v);
        DecFormat(&v, 0, text);
        break;
    case FtAmount3:
        DecFormat(&v, 3, text);
        TrimDecimalZeros(text);
        break;
    case FtAmount3Drop:
        DecFormat(&v, 3, text);
        DropLastZero(text);
        break;
    case FtDebit:
        if (!DecIsNegative(&v) || DecIsZero(&v)) DecFormat(&v, 2, text);
        break;
    case FtCredit:
        if (HoldsNegative(&v)) {
            DecAbs(&v, &v);
            DecFormat(&v, 2, text);
        } else if (m == CreditTotalFormat && DecIsZero(&v)) {
            DecFormat(&v, 2, text);
        }
        break;
    case FtPercent: {
        PString number;
        DecFormat(&v, 0, number);
        if (number[0] == 0) break;
        if (DecSign(&v) > 0) AppendChar(text, '+');
        PStringAppend(text, number);
        AppendChar(text, '%');
        break;
    }
    case FtThousands:
        FormatScaled(&v, 1000, CompanyVariantIs(CountryVariant::V27) ? 1 : 0, '\'', text);
        break;
    case FtMillions:
        FormatScaled(&v, 1000000, 0, '"', text);
        break;
    case FtLongOrEmpty: {
        const int32_t n = Load<int32_t>(value);
        if (n != -1) LongToDigitText(n, text);
        break;
    }
    case FtLong:
        LongToDigitText(Load<int32_t>(value), text);
        break;
    case FtShort: case FtShortB:
        LongToDigitText(Load<int16_t>(value), text);
        break;
    case FtMark: {
        const uint16_t n = Load<uint16_t>(value);
        if (n == 1 || n == 18 || n == 118)
            AppendChar(text, 0x12);
        else if (n != 0)
            AppendChar(text, static_cast<uint8_t>(n & 0xFF));
        break;
    }
    case FtFlag:
        AppendChar(text, value[0] != 0 ? '1' : '0');
        break;
    case FtDate: {
        const DateRec d = Load<DateRec>(value);
        DateToText(&d, text);
        break;
    }
    case FtDateLong: {
        const DateRec d = Load<DateRec>(value);
        DateToLongText(&d, text);
        break;
    }
    case FtDateTime: {
        const DateTimeRec t = Load<DateTimeRec>(value);
        if (t.year == 0) break;
        const uint16_t parts[6] = {t.year, t.month, t.day, t.hour, t.minute, t.second};
        const char joins[6] = {0, '-', '-', ' ', '.', '.'};
        for (int i = 0; i < 6; i++) {
            if (joins[i]) AppendChar(text, static_cast<uint8_t>(joins[i]));
            PString part;
            NumberText2(parts[i], true, part);
            PStringAppend(text, part);
        }
        break;
    }
    case FtChoice: {
        int index;
        // The list number is stored as a 16-bit word: 65535 is list -1.
        ChoiceTextOf(static_cast<int16_t>(m), Load<uint16_t>(value), &index, text);
        break;
    }
    default:   // 0, 3, 4, 12, 24, 28, 31, 32 and codes outside 0..33
        break;
    }
    std::memcpy(out, text, text[0] + 1u);
}

void FieldToText(const uint8_t *value, uint16_t type, uint8_t *out) { FieldFormat(value, type, 0, out); }

// Reads a time stamp as FieldFormat writes it, "2024-06-15 09.05.00":
// six numbers joined by single non-digits, in range. False otherwise.
static bool DateTimeParse(const uint8_t *text, DateTimeRec *t) {
    uint32_t parts[6] = {};
    static constexpr uint32_t highest[6] = {9999, 12, 31, 23, 59, 59};
    int n = 0, digits = 0;
    for (int i = 1; i <= text[0]; i++) {
        uint8_t c = text[i];
        if (c >= '0' && c <= '9') {
            if (n >= 6 || ++digits > 4) return false;
            parts[n] = parts[n] * 10 + uint32_t(c - '0');
        } else {
            if (digits == 0) return false;
            n++;
            digits = 0;
        }
    }
    if (digits == 0 || n != 5) return false;
    for (int i = 0; i < 6; i++)
        if (parts[i] > highest[i]) return false;
    if (parts[0] == 0 || parts[1] == 0 || parts[2] == 0) return false;
    *t = DateTimeRec{uint16_t(parts[0]), uint16_t(parts[1]), uint16_t(parts[2]),
                     uint16_t(parts[3]), uint16_t(parts[4]), uint16_t(parts[5]), 0};
    return true;
}

bool FieldFromText(uint8_t *field, uint16_t type, int m, const uint8_t *text) {
    switch (type) {
    case FtText:
        StoreText(field, m, text);
        return true;
    case FtCode: case FtCodeKept:
        StoreText(field, m, text);
        UpperPString(field);
        return true;
    case FtCodeNoSep:
        StoreText(field, m, text);
        for (int i = 1; i <= field[0]; i++)
            if (field[i] == ' ' || field[i] == ',' || field[i] == ':') field[i] = '_';
        UpperPString(field);
        return true;
    case FtHidden:
        // The field shows its text as stars; stars typed back keep it.
        if (std::memchr(text + 1, '*', text[0])) return true;
        StoreText(field, m, text);
        return true;
    case FtAmount2: case FtAmount1: case FtAmount0: case FtAmount3: case FtAmount3Drop: {
        const int decimals = type == FtAmount2 ? 2 : type == FtAmount1 ? 1 : type == FtAmount0 ? 0 : 3;
        PackedDecimal v;
        if (!ParseAmount(text, decimals, &v)) return false;
        Store(field, v);
        return true;
    }
    case FtDebit: case FtCredit: {
        PackedDecimal v;
        if (!ParseAmount(text, 2, &v)) return false;
        const PackedDecimal held = Load<PackedDecimal>(field);
        if (!DecIsBlank(&v)) {
            if (type == FtCredit) DecNegateInto(&v, &v);
            Store(field, v);
        } else if (HoldsNegative(&held) == (type == FtCredit)) {
            // An empty debit keeps a credit amount, an empty credit a
            // debit amount: the other column shows it.
            Store(field, v);
        }
        return true;
    }
    case FtLongOrEmpty: case FtLong: {
        int32_t v;
        if (!ParseWhole(text, type == FtLong ? 0 : -1, INT32_MIN, INT32_MAX, &v)) return false;
        Store(field, v);
        return true;
    }
    case FtShort: case FtShortB: case FtMark: {
        int32_t v;
        const bool mark = type == FtMark;
        if (!ParseWhole(text, 0, mark ? 0 : INT16_MIN, mark ? UINT16_MAX : INT16_MAX, &v)) return false;
        Store(field, static_cast<uint16_t>(v));
        return true;
    }
    case FtChoice: {
        uint16_t v;
        int index;
        if (!ChoiceValueOf(static_cast<int16_t>(m), text, &v, &index)) {
            // No entry by that text: only a number the field can show
            // back (as a signed or an unsigned 16-bit value) is taken.
            int32_t n;
            if (!ParseWhole(text, 0, INT16_MIN, UINT16_MAX, &n)) return false;
            v = static_cast<uint16_t>(n);
        }
        Store(field, v);
        return true;
    }
    case FtFlag:
        field[0] = (text[0] == 0 || (text[0] == 1 && text[1] == '0')) ? 0 : 1;
        return true;
    case FtDate: {
        DateRec d = Load<DateRec>(field);
        if (IsEmptyText(text)) {
            d.year = 0;
        } else {
            DateTimeRec t{};
            if (!DateParse(text, &t)) return false;
            d = DateRec{t.day, t.month, t.year};
        }
        Store(field, d);
        return true;
    }
    case FtDateTime: {
        DateTimeRec t{};
        if (!IsEmptyText(text) && !DateTimeParse(text, &t)) return false;
        Store(field, t);
        return true;
    }
    default:   // codes that take nothing from text
        return true;
    }
}

void FieldClear(uint8_t *field, uint16_t type, int m) {
    if (IsAmountType(type)) {
        PackedDecimal blank;
        DecSetBlank(&blank);
        Store(field, blank);
    } else if (type == FtLongOrEmpty) {
        Store(field, int32_t{-1});
    } else {
        std::memset(field, 0, FieldSize(type, m));
    }
}

void FieldMove(uint8_t *dst, const uint8_t *src, uint16_t type, int m) {
    switch (type) {
    case FtText: case FtCode: case FtCodeKept: case FtCodeNoSep:
        FieldFromText(dst, type, m, src);   // re-cuts and re-cases; src read first
        break;
    default:
        std::memmove(dst, src, FieldSize(type, m));
        break;
    }
}

bool FieldSetFromTextChanged(uint8_t *field, uint16_t type, int m, const uint8_t *text, bool *accepted) {
    PString before, after;
    FieldFormat(field, type, m, before);
    const bool ok = FieldFromText(field, type, m, text);
    if (accepted) *accepted = ok;
    FieldFormat(field, type, m, after);
    return !PStringEqual(before, after);
}

void FieldToCell(const uint8_t *value, uint16_t type, uint8_t *out) {
    constexpr int MaxValueBytes = 252;
    out[1] = 5;
    out[2] = static_cast<uint8_t>(type & 0xFF);
    out[3] = static_cast<uint8_t>(type >> 8);
    int n;
    if (FieldTypeIsText(type)) {
        const int length = std::min<int>(value[0], MaxValueBytes - 1);
        std::memmove(out + 5, value + 1, length);
        out[4] = static_cast<uint8_t>(length);
        n = length + 1;
    } else {
        n = std::min(FieldSize(type, 0), MaxValueBytes);
        std::memmove(out + 4, value, n);
    }
    out[0] = static_cast<uint8_t>(n + 3);
}

void DecToTextBySign(const PackedDecimal *p, uint8_t *pos, uint8_t *neg) {
    pos[0] = 0;
    neg[0] = 0;
    if (DecIsBlank(p)) return;
    if (HoldsNegative(p)) {
        PackedDecimal magnitude;
        DecAbs(p, &magnitude);
        DecFormat(&magnitude, 2, neg);
    } else {
        DecFormat(p, 2, pos);
    }
}

namespace {
bool HoldsDecimalSep(const uint8_t *text) {
    return std::memchr(text + 1, FormatDecimalSep(), text[0]) != nullptr;
}
}  // namespace

void DropLastZero(uint8_t *text) {
    if (!HoldsDecimalSep(text)) return;
    const uint8_t last = text[text[0]];
    if (last == '0' || last == FormatDecimalSep()) text[0]--;
}

void TrimDecimalZeros(uint8_t *text) {
    if (!HoldsDecimalSep(text)) return;
    while (text[text[0]] == '0') text[0]--;   // stops at the separator
    if (text[text[0]] == FormatDecimalSep()) text[0]--;
}

void ShowMessageValue(const char *message, const uint8_t *value, uint16_t type) {
    PString text;
    PStringFromC(text, message);
    if (value) {
        PString shown;
        FieldToText(value, type, shown);
        PStringAppendChar(text, ' ');
        PStringAppend(text, shown);
    }
    StopMessage2(text);
}
