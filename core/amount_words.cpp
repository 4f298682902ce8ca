// amount_words.cpp - amounts in words by the company's country variant
// (see core/amount_words.h for the texts and the routines).
//
// The groups are taken from the amount's decimal digits, never from a
// binary floating-point value: a double cannot hold most cent values
// exactly, and truncating one words such amounts a cent short.
#include "core/amount_words.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"

namespace {

constexpr int TextHundreds = 2810;
constexpr int TextOnes = 2820;
constexpr int TextTens = 2840;
constexpr int TextForintTwenties = 2849;
constexpr int TextAltOneTwo = 2850;

enum class Numbers { Plain, AltOneTwo, Forint };
enum class GroupWord { ThreeForms, TwoForms, GenericThousands };

void AppendText(uint8_t *out, int n) {
    PString text;
    GetUiText(text, n);
    PStringAppend(out, text);
}

// The number word of 1..9 after the tens or alone.
void AppendOnes(uint8_t *out, int n, Numbers numbers) {
    if (numbers == Numbers::AltOneTwo && (n == 1 || n == 2))
        AppendText(out, TextAltOneTwo + n);
    else
        AppendText(out, TextOnes + n);
}

void GroupWords(int group, int kind, Numbers numbers, GroupWord style, uint8_t *out) {
    out[0] = 0;
    if (group < 0 || group > 999) return;
    const int h = group / 100, r = group % 100, t = r / 10, u = r % 10;
    if (h > 0) AppendText(out, TextHundreds + h);
    if (numbers == Numbers::Forint && r == 20) {
        AppendText(out, TextTens + 2);
    } else if (numbers == Numbers::Forint && r > 20 && r < 30) {
        AppendText(out, TextForintTwenties + u);
    } else if (r >= 1 && r <= 19) {
        if (r <= 9)
            AppendOnes(out, r, numbers);
        else
            AppendText(out, TextOnes + r);
    } else if (r >= 20) {
        AppendText(out, TextTens + t);
        if (u > 0) AppendOnes(out, u, numbers);
    }

    if (kind < 1 || kind > 3 || group == 0) return;
    // Three forms a group word: billions from Texts::WordsBillion1, then
    // millions and thousands three texts further each.
    const int singular = Texts::WordsBillion1 + 3 * (3 - kind);
    const bool twoToFour = u >= 2 && u <= 4 && t != 1;
    int word;
    if (style == GroupWord::TwoForms)
        word = group == 1 ? singular : singular + 1;
    else if (group == 1 || (style == GroupWord::GenericThousands && kind == 1 && u == 1 && t != 1))
        word = singular;
    else
        word = twoToFour ? singular + 1 : singular + 2;
    AppendText(out, word);
}

using GroupFn = void (*)(int group, int kind, uint8_t *out);

// The groups of an amount's magnitude: whole billions (0..999),
// millions, thousands and units, and the two cent digits.
struct Groups {
    int billions, millions, thousands, units, cents;
};

// False for a blank amount and for one of 10^12 or more.
bool SplitByDigits(const PackedDecimal *amount, Groups *g) {
    __int128 thousandths;
    if (!DecToThousandths(amount, &thousandths)) return false;
    if (thousandths < 0) thousandths = -thousandths;
    const __int128 whole = thousandths / 1000;
    if (whole >= 1000000000000LL) return false;
    const int64_t w = static_cast<int64_t>(whole);
    g->billions = static_cast<int>(w / 1000000000);
    g->millions = static_cast<int>(w / 1000000 % 1000);
    g->thousands = static_cast<int>(w / 1000 % 1000);
    g->units = static_cast<int>(w % 1000);
    g->cents = static_cast<int>(thousandths / 10 % 100);
    return true;
}

// The same groups read from the amount's text with two decimals, the
// way the country routines take them.
bool SplitByText(const PackedDecimal *amount, Groups *g) {
    Groups check;
    if (!SplitByDigits(amount, &check)) return false;
    PackedDecimal magnitude;
    DecAbs(amount, &magnitude);
    PString text;
    const uint8_t thousands = ThousandsFlag;
    ThousandsFlag = 0;
    FieldToText(magnitude.b, FtAmount2, text);
    ThousandsFlag = thousands;
    g->billions = DigitGroupAt(text, 15);
    g->millions = DigitGroupAt(text, 12);
    g->thousands = DigitGroupAt(text, 9);
    g->units = DigitGroupAt(text, 6);
    g->cents = DigitGroupAt(text, 2);
    return true;
}

// The words of the four groups, billions first, each by its routine.
void AppendGroups(const Groups &g, const std::array<GroupFn, 4> &fns, uint8_t *out) {
    const int values[4] = {g.billions, g.millions, g.thousands, g.units};
    for (int i = 0; i < 4; i++) {
        PString words;
        fns[i](values[i], 3 - i, words);
        PStringAppend(out, words);
    }
}

constexpr std::array<GroupFn, 4> PlainGroups = {WordsGroup, WordsGroup, WordsGroup, WordsGroup};

void UpperFirst(uint8_t *out) {
    if (out[0] > 0) out[1] = UpperChar(out[1]);
}

void AppendNumber(uint8_t *out, int n, bool pad) {
    PString digits;
    NumberText2(static_cast<uint16_t>(n), pad, digits);
    PStringAppend(out, digits);
}

// The generic and the alternative routine differ only in the group
// words of each group.
void ArithmeticWords(const PackedDecimal *amount, const std::array<GroupFn, 4> &fns, uint8_t *out) {
    out[0] = 0;
    Groups g;
    if (!SplitByDigits(amount, &g)) return;
    AppendGroups(g, fns, out);
    // An amount below one is worded "zero" (text 2820, beside the numbers
    // one to nineteen), so that 0,83 never reads "and 83/100" with nothing
    // before the "and".
    if (out[0] == 0) AppendText(out, TextOnes);
    UpperFirst(out);
    AppendText(out, Texts::WordsCentsBefore);
    AppendNumber(out, g.cents, true);
    AppendText(out, Texts::WordsCentsAfter);
}

}  // namespace

void WordsGroup(int group, int kind, uint8_t *out) {
    GroupWords(group, kind, Numbers::Plain, GroupWord::ThreeForms, out);
}
void WordsGroupAlt(int group, int kind, uint8_t *out) {
    GroupWords(group, kind, Numbers::Plain, GroupWord::TwoForms, out);
}
void WordsGroupGeneric(int group, int kind, uint8_t *out) {
    GroupWords(group, kind, Numbers::AltOneTwo, GroupWord::GenericThousands, out);
}
void WordsGroupForint(int group, int kind, uint8_t *out) {
    GroupWords(group, kind, Numbers::Forint, GroupWord::ThreeForms, out);
}

int DigitGroupAt(const uint8_t *text, int n) {
    PString digits;
    digits[0] = 0;
    const int length = text[0];
    // Positions in 64 bits: length - n must not overflow for any n.
    const int64_t first = (int64_t)length - n + 1;
    for (int64_t p = std::max<int64_t>(first, 1); p <= std::min<int64_t>(first + 2, length); p++)
        digits[++digits[0]] = text[p];
    uint8_t value[2] = {0, 0};
    FieldFromText(value, FtShort, 0, digits);
    int16_t v;
    std::memcpy(&v, value, sizeof v);
    return v;
}

void AmountToWordsGeneric(const PackedDecimal *amount, uint8_t *out) {
    ArithmeticWords(amount, {WordsGroup, WordsGroup, WordsGroupGeneric, WordsGroup}, out);
}

void AmountToWordsAlt(const PackedDecimal *amount, uint8_t *out) {
    ArithmeticWords(amount, {WordsGroupAlt, WordsGroupAlt, WordsGroupAlt, WordsGroupAlt}, out);
}

void AmountToWordsFraction(const PackedDecimal *amount, uint8_t *out) {
    out[0] = 0;
    Groups g;
    if (!SplitByText(amount, &g)) return;
    AppendGroups(g, PlainGroups, out);
    AppendNumber(out, g.cents, false);
    PStringAppendC(out, "/100");
}

void AmountToWordsForint(const PackedDecimal *amount, uint8_t *out) {
    out[0] = 0;
    Groups g;
    if (!SplitByText(amount, &g)) return;
    const int values[4] = {g.billions, g.millions, g.thousands, g.units};
    for (int i = 0; i < 4; i++) {
        PString words;
        WordsGroupForint(values[i], 3 - i, words);
        if (words[0] == 0) continue;
        PStringAppend(out, words);
        const bool joined = i < 2 || (i == 2 && (g.thousands > 2 || (g.thousands == 2 && g.units > 0)));
        if (joined) PStringAppendChar(out, '-');
    }
    PStringAppendC(out, " Forint");
    UpperFirst(out);
}

void AmountToWordsSenti(const PackedDecimal *amount, uint8_t *out) {
    out[0] = 0;
    Groups g;
    if (!SplitByText(amount, &g)) return;
    PStringAppendC(out, "Kr ");
    AppendGroups(g, PlainGroups, out);
    PStringAppendC(out, " ja ");
    AppendNumber(out, g.cents, false);
    PStringAppendC(out, " senti");
}

void AmountToWordsLats(const PackedDecimal *amount, uint8_t *out) {
    out[0] = 0;
    Groups g;
    if (!SplitByText(amount, &g)) return;
    AppendGroups(g, PlainGroups, out);
    PStringAppendC(out, " Ls ");
    AppendNumber(out, g.cents, true);
    PStringAppendC(out, " san.");
    UpperFirst(out);
}

void AmountToWords(const PackedDecimal *amount, int kind, uint8_t *out) {
    out[0] = 0;
    if (kind != WordsKindAmount || DecIsBlank(amount)) return;
    switch (CountryVariant(CompanyVariant())) {
    case CountryVariant::V24: AmountToWordsAlt(amount, out); break;
    case CountryVariant::V25: AmountToWordsFraction(amount, out); break;
    case CountryVariant::V26: AmountToWordsForint(amount, out); break;
    case CountryVariant::V27: AmountToWordsSenti(amount, out); break;
    case CountryVariant::V28: AmountToWordsLats(amount, out); break;
    default: AmountToWordsGeneric(amount, out); break;
    }
}
