// header_notation.cpp - each report's selection header lines, as a table
// per report in the order they are written (see header_notation.h).
//
// A step's put is Right unless wrapped in RightIf or Left; When() adds a
// guard. Lines past the header's last slot are dropped by the writer.
#include "reports/frame/header_notation.h"

#include "dict_offsets.h"

namespace {

namespace P = ReportParamsVc;

// Our own texts where a shared text would say something else: report
// 31's invoice choice and one-line layout, the person reports' department.
constexpr int TextAllOpenInvoices = 13400, TextPastDueInvoices = 13401, TextInvoiceLines = 13402,
              TextDepartment = 13403;

using M = HeaderMake;
using C = ChoiceTable;

constexpr HeaderGuard NoGuard{GuardKind::Always, 0, 0, 0};

// ---- Guards ----
constexpr HeaderGuard Given(uint32_t f) { return {GuardKind::Given, f, 0, 0}; }
constexpr HeaderGuard Blank(uint32_t f) { return {GuardKind::Blank, f, 0, 0}; }
constexpr HeaderGuard GivenOrBlank(uint32_t f, uint32_t f2) { return {GuardKind::GivenOrBlank, f, f2, 0}; }
constexpr HeaderGuard WordEq(uint32_t f, int v) { return {GuardKind::WordEq, f, 0, v}; }
constexpr HeaderGuard WordNe(uint32_t f, int v) { return {GuardKind::WordNe, f, 0, v}; }
constexpr HeaderGuard WordGt(uint32_t f, int v) { return {GuardKind::WordGt, f, 0, v}; }
constexpr HeaderGuard DateSet(uint32_t f) { return {GuardKind::DateSet, f, 0, 0}; }
constexpr HeaderGuard Variant(int v) { return {GuardKind::Variant, 0, 0, v}; }

// ---- Steps ----
constexpr HeaderStep Make(M make)
{
    return {make, HeaderPut::Right, 0, 0, 0, 0, 0, 0, 0, C::LayoutA, WordMap::Same, "", {0, 0, 0, 0},
            {NoGuard, NoGuard}};
}
constexpr HeaderStep Texts2(M make, int text, int text2, uint32_t field, int m)
{
    HeaderStep s = Make(make);
    s.text = text;
    s.text2 = text2;
    s.field = field;
    s.m = m;
    return s;
}
constexpr HeaderStep When(HeaderStep s, HeaderGuard g)
{
    s.guard[s.guard[0].kind == GuardKind::Always ? 0 : 1] = g;
    return s;
}
constexpr HeaderStep When(HeaderStep s, HeaderGuard g, HeaderGuard g2) { return When(When(s, g), g2); }
constexpr HeaderStep RightIf(HeaderStep s)
{
    s.put = HeaderPut::RightIf;
    return s;
}
constexpr HeaderStep Left(HeaderStep s)
{
    s.put = HeaderPut::Left;
    return s;
}

constexpr HeaderStep Period() { return Make(M::Period); }
constexpr HeaderStep FiscalYear() { return RightIf(Make(M::FiscalYear)); }
constexpr HeaderStep Objects() { return RightIf(Make(M::Objects)); }
constexpr HeaderStep ObjectType() { return RightIf(Make(M::ObjectType)); }
constexpr HeaderStep Lock() { return RightIf(Make(M::Lock)); }
constexpr HeaderStep Block132() { return Left(Make(M::Block132Date)); }
constexpr HeaderStep Range(int empty, int prefix, uint32_t f, int m = 255)
{
    return Texts2(M::Range, empty, prefix, f, m);
}
constexpr HeaderStep NumRange(int empty, int prefix, uint32_t f, int m = 255)
{
    return Texts2(M::NumRange, empty, prefix, f, m);
}
constexpr HeaderStep Prefixed(uint32_t f, int m, int text) { return Texts2(M::Prefixed, text, 0, f, m); }
constexpr HeaderStep PrefixedIf(uint32_t f, int m, int text) { return RightIf(Prefixed(f, m, text)); }
constexpr HeaderStep ProjectRange(uint32_t f) { return Texts2(M::ProjectRange, 0, 0, f, 255); }
constexpr HeaderStep ReportNumbers() { return Texts2(M::ReportNumbers, 0, 0, P::SelText1, 255); }
constexpr HeaderStep Field(uint32_t f, int m) { return RightIf(Texts2(M::Field, 0, 0, f, m)); }
constexpr HeaderStep Ui(int text) { return Texts2(M::Ui, text, 0, 0, 0); }
// Text `text` when the word at f is `v`.
constexpr HeaderStep UiWhen(uint32_t f, int v, int text) { return When(Ui(text), WordEq(f, v)); }
constexpr HeaderStep UiIfWord(uint32_t f, int v, int text, int text2)
{
    HeaderStep s = Texts2(M::UiIfWord, text, text2, f, 0);
    s.value = v;
    return s;
}
constexpr HeaderStep UiBy01(uint32_t f, int text0, int text1) { return Texts2(M::UiBy01, text0, text1, f, 0); }
// Text and field, written only when the field is given.
constexpr HeaderStep TextFieldIf(int text, uint32_t f, int m = 255)
{
    return When(Texts2(M::TextField, text, 0, f, m), Given(f));
}
constexpr HeaderStep TextSepFieldIf(int text, const char *sep, uint32_t f, int m = 255)
{
    HeaderStep s = TextFieldIf(text, f, m);
    s.make = M::TextSepField;
    s.sep = sep;
    return s;
}
constexpr HeaderStep RangeWith(uint32_t f, int m, uint32_t f2, int m2)
{
    HeaderStep s = Texts2(M::RangeWith, 0, 0, f, m);
    s.field2 = f2;
    s.m2 = m2;
    return s;
}
constexpr HeaderStep ItemRange() { return RangeWith(P::SelText1, 255, P::SelText3, 255); }
constexpr HeaderStep DateIf(uint32_t f) { return When(Texts2(M::Date, 0, 0, f, 0), DateSet(f)); }
constexpr HeaderStep TextDate(int text, const char *sep, uint32_t f)
{
    HeaderStep s = Texts2(M::TextDate, text, 0, f, 0);
    s.sep = sep;
    return s;
}
constexpr HeaderStep Amount(int text, uint32_t f) { return RightIf(Texts2(M::Amount, text, 0, f, 0)); }
constexpr HeaderStep Choice(uint32_t word, ChoiceTable table, WordMap map = WordMap::Same)
{
    HeaderStep s = Texts2(M::Choice, 0, 0, word, 0);
    s.table = table;
    s.map = map;
    return s;
}
constexpr HeaderStep Layout() { return Choice(P::ReportLayout, C::LayoutA); }
// Text `text` when the word is `v`, else the word's choice in table.
constexpr HeaderStep ChoiceOr(uint32_t word, int v, int text, ChoiceTable table, WordMap map = WordMap::Same)
{
    HeaderStep s = Choice(word, table, map);
    s.make = M::ChoiceOr;
    s.value = v;
    s.text = text;
    return s;
}
constexpr HeaderStep LayoutOr(int v, int text) { return ChoiceOr(P::ReportLayout, v, text, C::LayoutA); }
constexpr HeaderStep FlagList(int member, uint32_t a, uint32_t b, uint32_t c = WordZero, uint32_t d = WordZero)
{
    HeaderStep s = Texts2(M::FlagList, member, 0, 0, 0);
    s.words[0] = a;
    s.words[1] = b;
    s.words[2] = c;
    s.words[3] = d;
    return s;
}
constexpr HeaderStep ReportOption(int member, uint32_t a, uint32_t b)
{
    HeaderStep s = FlagList(member, a, b);
    s.make = M::ReportOption;
    return s;
}
constexpr HeaderStep Option1136(uint32_t a = P::Option2, uint32_t b = P::Option3) { return ReportOption(1136, a, b); }
constexpr HeaderStep DatePair(uint32_t f, uint32_t f2)
{
    HeaderStep s = Texts2(M::DatePair, 0, 0, f, 0);
    s.field2 = f2;
    return s;
}
constexpr HeaderStep SecondKind3019() { return UiWhen(P::SecondKind, 1, 3019); }

// ---- The reports ----

constexpr HeaderStep R1[] = {
    Period(),
    Left(LayoutOr(2, 2328)),
    ReportNumbers(),
    TextFieldIf(1113, P::SelText2),
    RightIf(FlagList(1330, P::Option4, P::Option5, P::Option6, P::Option7)),
    RightIf(Option1136()),
    PrefixedIf(P::SelText7, 20, 1824),
    RightIf(Make(M::ObjectsOrType)),
};
constexpr HeaderStep R3[] = {
    Range(1104, 1105, P::SelText1),
    Left(UiIfWord(P::Option1, 0, 1159, 4039)),
    PrefixedIf(P::SelText3, 255, 1114),
    PrefixedIf(P::SelText2, 255, 1824),
    TextFieldIf(2319, P::SelText5, 20),
    TextFieldIf(1140, P::SelText6, 20),
    Choice(P::Option2, C::C1187b),
};
constexpr HeaderStep R4[] = {
    Period(),
    Left(FlagList(2634, P::Option3, P::Option4, P::Option5)),
    Make(M::RangeCaption),
    Left(LayoutOr(2, 5127)),
    RightIf(ReportOption(1146, P::Option7, P::Option8)),
    RightIf(Range(1104, 1105, P::SelText2)),
    PrefixedIf(P::SelText7, 20, 1824),
};
constexpr HeaderStep R5[] = {
    Range(1104, 1105, P::SelText1),
    Left(Choice(P::Option1, C::C2421, WordMap::SetIsTwo)),
    Choice(P::Option2, C::C1187b),
    Left(ChoiceOr(P::ReportLayout, 0, 1161, C::LayoutC)),
    UiIfWord(P::Option3, 0, 2369, 6650),
    PrefixedIf(P::SelText2, 255, 1824),
    PrefixedIf(P::SelText3, 255, 1114),
    DateIf(P::Date2From),
};
constexpr HeaderStep R6[] = {
    Make(M::Accounts),
    Block132(),
    Period(),
    FiscalYear(),
    Objects(),
    ObjectType(),
    When(Texts2(M::TextFieldQuoted, 3018, 0, P::SelText4, 31), Given(P::SelText4)),
    PrefixedIf(P::SelText1, 255, 3024),
    SecondKind3019(),
    When(Ui(3197), WordNe(P::Option2, 0)),
    Lock(),
};
constexpr HeaderStep R7[] = {
    Period(),
    Left(Layout()),
    NumRange(2588, 2582, P::SelText1),
    NumRange(2589, 2584, P::SelText8, 20),
    Range(1104, 1105, P::SelText2),
    TextFieldIf(2587, P::SelText3),
    Option1136(),
};
constexpr HeaderStep R8[] = {
    When(Range(1106, 1107, P::SelText1), GivenOrBlank(P::SelText1, P::SelText7)),
    When(Prefixed(P::SelText7, 20, 1156), Given(P::SelText7)),
    TextFieldIf(2768, P::SelText2),
    PrefixedIf(P::SelText3, 255, 1135),
    // Only 0 and 1 are listed: another value writes the empty text.
    UiBy01(P::Option2, 2345, 2346),
    DateIf(P::Date2From),
};
constexpr HeaderStep R9[] = {
    Period(),
    Layout(),
    When(ItemRange(), GivenOrBlank(P::SelText1, P::SelText7)),
    When(Prefixed(P::SelText7, 20, 1156), Blank(P::SelText1), Given(P::SelText7)),
    When(PrefixedIf(P::SelText3, 255, 1135), Blank(P::SelText1), Given(P::SelText7)),
    Range(1104, 1105, P::SelText2),
};
constexpr HeaderStep R10[] = {
    ItemRange(),
    Choice(P::Option3, C::C1187),
    When(Prefixed(P::SelText7, 20, 1156), Given(P::SelText7)),
    TextSepFieldIf(2321, ": ", P::SelText2),
};
constexpr HeaderStep R11[] = {
    ItemRange(),
    Left(Layout()),
    Choice(P::Option3, C::C1187),
    UiWhen(P::Option4, 1, 6651),
};
constexpr HeaderStep R12[] = {
    ItemRange(),
    Left(LayoutOr(2, 6654)),
    Choice(P::Option3, C::C1187),
    When(Prefixed(P::SelText7, 20, 1156), Given(P::SelText7)),
    TextFieldIf(2768, P::SelText2),
};
constexpr HeaderStep R13[] = {
    Period(),
    TextFieldIf(1141, P::SelText1),
    Range(1104, 1105, P::SelText2),
    TextFieldIf(1140, P::SelText3),
    RightIf(Option1136()),
};
constexpr HeaderStep R14[] = {
    Period(),
    Range(1104, 1105, P::SelText1),
    PrefixedIf(P::SelText3, 255, 1114),
    When(Range(1106, 1107, P::SelText2), Given(P::SelText2)),
    PrefixedIf(P::SelText7, 20, 1824),
    Amount(2498, P::Amount1),
    Amount(2499, P::Amount2),
};
constexpr HeaderStep R15[] = {
    Prefixed(P::SelText1, 255, 3010),
    Block132(),
    Period(),
    PrefixedIf(P::SelText2, 255, 3024),
};
constexpr HeaderStep R16[] = {
    Range(1104, 1105, P::SelText2),
    Left(UiIfWord(P::Option1, 0, 2379, 2380)),
    UiIfWord(P::ReportLayout, 1, 2378, 2377),
};
constexpr HeaderStep R17[] = {Block132()};
constexpr HeaderStep R18[] = {
    Range(1104, 1105, P::SelText1),
    Left(Choice(P::Option1, C::C2421, WordMap::SetIsTwo)),
    PrefixedIf(P::SelText3, 255, 1114),
    When(Make(M::Objects), Given(P::ObjectSel)),
};
// Reports 19, 37..41; 23 and 33, 61 and 83 start the same way.
constexpr HeaderStep R19[] = {
    Period(),
    Block132(),
    Objects(),
    SecondKind3019(),
};
constexpr HeaderStep R20[] = {
    Period(),
    Block132(),
    FiscalYear(),
    Make(M::Accounts),
    Objects(),
    PrefixedIf(P::SelText1, 255, 3024),
    SecondKind3019(),
    Lock(),
    UiWhen(P::Option5, 1, 6652),
};
// Reports 21, 42..46 (variant 0) and, with the fiscal year, 22, 47..51.
constexpr HeaderStep R21[] = {
    Period(),
    Block132(),
    When(FiscalYear(), Variant(1)),
    Objects(),
    ObjectType(),
    SecondKind3019(),
    Choice(P::AmountUnit, C::C1313),
    When(RightIf(FlagList(1305, P::ColumnLayout, WordOne, P::Option2)), Variant(0)),
    When(RightIf(FlagList(1305, P::ColumnLayout, WordZero, P::Option2)), Variant(1)),
    Choice(P::DetailLevel, C::C3005),
    UiWhen(P::Option3, 1, 6653),
    UiWhen(P::Option5, 1, 6652),
    Lock(),
};
constexpr HeaderStep R23[] = {
    Period(),
    Block132(),
    Objects(),
    SecondKind3019(),
    UiWhen(P::Option5, 1, 5212),
    Lock(),
};
// The cut-off date is named only when one was given: the report then
// leaves out the lines dated before it.
constexpr HeaderStep R24[] = {
    Period(),
    Block132(),
    When(TextDate(3022, "", P::Date3), DateSet(P::Date3)),
    Lock(),
};
constexpr HeaderStep R26[] = {
    Period(),
    Left(Layout()),
    ReportNumbers(),
    TextSepFieldIf(4004, ": ", P::SelText2),
    Option1136(),
    RightIf(FlagList(1330, P::Option4, P::Option5, P::Option6)),
};
constexpr HeaderStep R27[] = {
    Range(1212, 1213, P::SelText1),
    When(Prefixed(P::SelText2, 255, 2338), Given(P::SelText2)),
    // Named as the window's box names the layout: a card or a line each.
    Left(UiBy01(P::Option1, Texts::VendorListCards, Texts::VendorListLines)),
    Choice(P::Option2, C::C1187b),
};
constexpr HeaderStep R28[] = {
    Period(),
    RightIf(FlagList(1326, P::Option1, P::Option2, P::Option3)),
    TextFieldIf(1140, P::SelText3),
    NumRange(4092, 4093, P::SelText1),
};
constexpr HeaderStep R30[] = {
    TextFieldIf(1213, P::SelText1),
    Period(),
    When(Prefixed(P::SelText2, 255, 2338), Given(P::SelText2)),
};
// The customer ledger's choice texts speak of customers and its option
// word means something else here: the vendor report names the invoices
// it takes and its one-line layout in its own words.
constexpr HeaderStep R31[] = {
    Range(1212, 1213, P::SelText1),
    Left(UiIfWord(P::Option1, 0, TextAllOpenInvoices, TextPastDueInvoices)),
    Choice(P::Option3, C::C1184),
    Left(UiWhen(P::ReportLayout, 0, 1161)),
    Left(UiWhen(P::ReportLayout, 1, TextInvoiceLines)),
    When(Left(Choice(P::ReportLayout, C::LayoutC)), WordGt(P::ReportLayout, 1)),
    Choice(P::Option2, C::C1187b),
    PrefixedIf(P::SelText3, 255, 2338),
    DateIf(P::Date2From),
};
constexpr HeaderStep R32[] = {
    Range(1212, 1213, P::SelText2),
    Left(UiIfWord(P::ReportLayout, 1, 4128, 4127)),
    UiIfWord(P::Option2, 0, 4133, 4134),
    Left(UiIfWord(P::Option1, 0, 4129, 4130)),
};
constexpr HeaderStep R34[] = {
    Period(),
    // Named as the window names the choice: layout 0 lists balances, 1
    // the transactions (the shared layout texts say "Summary" for 1).
    Left(UiIfWord(P::ReportLayout, 1, Texts::CustBalanceTransactions, Texts::CustBalanceBalances)),
    Range(1104, 1105, P::SelText1),
    PrefixedIf(P::SelText3, 255, 1114),
    Objects(),
    UiWhen(P::Option2, 1, 6651),
    UiWhen(P::Option3, 1, 6650),
};
constexpr HeaderStep R35[] = {
    Period(),
    Range(1212, 1213, P::SelText1),
    When(Prefixed(P::SelText2, 255, 2338), Given(P::SelText2)),
    UiWhen(P::Option2, 1, 6651),
    UiWhen(P::Option3, 1, 6550),
};
constexpr HeaderStep R53[] = {
    Period(),
    Left(Layout()),
    NumRange(2608, 2609, P::SelText1),
    NumRange(2610, 2611, P::SelText8, 20),
    PrefixedIf(P::SelText2, 255, 1213),
    Option1136(),
};
// Reports 64 and 116 (variant 0) and, with its layout line, 54.
constexpr HeaderStep R54[] = {
    When(Make(M::RangeCaption), Given(P::SelText1)),
    Left(FlagList(2634, P::Option3, P::Option4, P::Option5)),
    UiBy01(P::Option11, 1176, 1177),
    When(RangeWith(P::SelText6, 20, P::SelText3, 255), Given(P::SelText6)),
    When(Left(LayoutOr(2, 6658)), Variant(1)),
    TextFieldIf(1113, P::SelText2),
    PrefixedIf(P::SelText7, 20, 1824),
    TextFieldIf(1825, P::SelText5, 20),
    Objects(),
};
constexpr HeaderStep R57[] = {
    Period(),
    Left(Layout()),
    NumRange(1111, 1112, P::SelText1),
    PrefixedIf(P::SelText7, 20, 1824),
    RangeWith(P::SelText5, 20, P::SelText6, 20),
    Range(1104, 1105, P::SelText2),
    Option1136(),
};
// Report 58 (variant 1) and 59.
constexpr HeaderStep R58[] = {
    Period(),
    Left(Layout()),
    When(NumRange(1823, 1822, P::SelText1), Variant(1)),
    When(NumRange(2689, 2690, P::SelText1), Variant(0)),
    Range(1104, 1105, P::SelText2),
    PrefixedIf(P::SelText7, 20, 1824),
    When(Objects(), Variant(1)),
};
constexpr HeaderStep R60[] = {Period()};
constexpr HeaderStep R61[] = {
    Period(),
    Block132(),
    Make(M::Accounts),
    Objects(),
    When(TextDate(3469, " ", P::Date2From), DateSet(P::Date2From)),
    When(TextDate(3470, " ", P::Date2To), DateSet(P::Date2To)),
    SecondKind3019(),
    UiWhen(P::Option2, 1, 3021),
    UiWhen(P::Option5, 1, 5212),
};
constexpr HeaderStep R63[] = {
    Make(M::Accounts),
    DatePair(P::Date2From, P::Date2To),
};
constexpr HeaderStep R65[] = {
    Period(),
    // Named as the window names the choice: layout 0 prints each
    // invoice's voucher rows, 1 the invoices' totals; another writes the
    // empty text.
    Left(UiBy01(P::ReportLayout, Texts::LayoutWithVoucherRows, Texts::LayoutTotalsOnly)),
};
constexpr HeaderStep R66[] = {
    Range(1104, 1105, P::SelText1),
    // The customers chosen "With open items" or "With overdue items" are
    // named so, not by the "With transactions only" of the ledger reports.
    When(Left(Ui(6664)), WordEq(P::RangeKind, 1)),
    When(Left(Ui(6665)), WordEq(P::RangeKind, 2)),
    PrefixedIf(P::SelText3, 255, 1114),
    Texts2(M::DateOrNone, 0, 0, P::Date2From, 0),
};
constexpr HeaderStep R68[] = {
    ProjectRange(P::SelText1),
    Left(Choice(P::Option9, C::C1178)),
    TextSepFieldIf(4849, " ", P::SelText2),
    Range(1104, 1105, P::SelText3),
    RightIf(Choice(P::Option7, C::C1176)),
    When(Ui(4844), WordNe(P::Option2, 0)),
};
constexpr HeaderStep R69[] = {
    ProjectRange(P::SelText1),
    Left(Choice(P::ReportLayout, C::LayoutA, WordMap::Flip)),
    Range(1104, 1105, P::SelText3),
    Left(Choice(P::Option2, C::C1178, WordMap::SetIsTwo)),
    TextSepFieldIf(4849, " ", P::SelText2),
};
constexpr HeaderStep R70[] = {
    Period(),
    Left(ChoiceOr(P::ReportLayout, 2, 4888, C::LayoutA, WordMap::Flip)),
    ProjectRange(P::SelText2),
    PrefixedIf(P::SelText1, 255, 4830),
};
constexpr HeaderStep R72[] = {
    Make(M::Period2OrPeriod),
    Left(UiIfWord(P::Option1, 1, 1159, 1160)),
    PrefixedIf(P::SelText7, 20, 1824),
    UiIfWord(P::ReportLayout, 0, 4912, 4913),
    UiIfWord(P::Option2, 0, 4916, 4917),
};
constexpr HeaderStep R73[] = {
    Period(),
    ItemRange(),
    When(Prefixed(P::SelText7, 20, 1156), Given(P::SelText7)),
    RightIf(FlagList(1334, P::Option2, P::Option3, P::Option4, P::Option5)),
    UiIfWord(P::ReportLayout, 0, 6655, 6656),
    TextSepFieldIf(5010, ": ", P::SelText8, 20),
};
constexpr HeaderStep R74[] = {
    ItemRange(),
    UiIfWord(P::ReportLayout, 0, 1187, 1191),
    TextFieldIf(2769, P::SelText2),
    TextFieldIf(2768, P::SelText7, 20),
};
constexpr HeaderStep R75[] = {
    NumRange(1823, 1822, P::SelText1),
    Left(Layout()),
    PrefixedIf(P::SelText2, 255, 1213),
};
constexpr HeaderStep R77[] = {
    Range(1212, 1213, P::SelText2),
    Left(Layout()),
    When(Ui(5055), Given(P::SelText2), WordEq(P::Option2, 1)),
    ItemRange(),
    Choice(P::Option3, C::C1187),
};
constexpr HeaderStep R78[] = {
    NumRange(5385, 5106, P::SelText1),
    Range(1106, 1107, P::SelText2),
};
constexpr HeaderStep R79[] = {
    NumRange(6659, 6660, P::SelText1),
    Left(Layout()),
};
constexpr HeaderStep R81[] = {
    NumRange(1823, 1822, P::SelText1),
    Left(Layout()),
    PrefixedIf(P::SelText2, 255, 1213),
    TextFieldIf(1107, P::SelText6, 20),
    TextFieldIf(2769, P::SelText8, 20),
};
constexpr HeaderStep R82[] = {
    Period(),
    Left(Layout()),
    Range(1104, 1105, P::SelText1),
};
constexpr HeaderStep R83[] = {
    Period(),
    Block132(),
    ObjectType(),
    Objects(),
    SecondKind3019(),
    UiWhen(P::Option5, 1, 5212),
};
constexpr HeaderStep R84[] = {
    Period(),
    ItemRange(),
    TextFieldIf(6657, P::SelText2),
    When(Prefixed(P::SelText7, 20, 1156), Given(P::SelText7)),
    TextSepFieldIf(5010, ": ", P::SelText8, 20),
};
constexpr HeaderStep R88[] = {NumRange(6661, 1168, P::SelText1)};
constexpr HeaderStep R89[] = {Make(M::Period2)};
constexpr HeaderStep R91[] = {
    Period(),
    Left(Layout()),
    Option1136(),
    NumRange(5151, 5152, P::SelText1),
    PrefixedIf(P::SelText2, 255, 4830),
};
constexpr HeaderStep R92[] = {
    Period(),
    NumRange(5172, 5173, P::SelText1),
    TextFieldIf(1140, P::SelText3),
    RightIf(FlagList(1326, P::Option1, P::Option2, P::Option3)),
};
constexpr HeaderStep R93[] = {
    Period(),
    UiWhen(P::Option2, 1, 6551),
    UiWhen(P::Option3, 1, 6550),
    PrefixedIf(P::SelText1, 255, 4830),
};
constexpr HeaderStep R94[] = {
    Period(),
    Left(FlagList(1323, P::Option6, P::Option7)),
    FlagList(1318, P::Option4, P::Option5),
    Option1136(P::Option3, P::Option2),
    Field(P::SelText1, 255),
};
constexpr HeaderStep R95[] = {
    Period(),
    Left(FlagList(1323, P::Option6, P::Option7)),
    ReportNumbers(),
    When(Prefixed(P::SelText3, 255, 2338), Given(P::SelText3)),
    Option1136(P::Option3, P::Option2),
};
constexpr HeaderStep R99[] = {
    Period(),
    UiIfWord(P::Option2, 0, 5285, 5286),
};
constexpr HeaderStep R100[] = {
    Period(),
    Field(P::SelText1, 255),
    TextFieldIf(TextDepartment, P::SelText2),
};
// The department only when one is chosen, as report 100 names it: a
// label with nothing after it would read as a department left blank.
constexpr HeaderStep R101[] = {TextFieldIf(TextDepartment, P::SelText2)};
constexpr HeaderStep R111[] = {
    Period(),
    Layout(),
    Option1136(),
    TextFieldIf(1824, P::SelText6, 20),
    Objects(),
};
constexpr HeaderStep R113[] = {
    ItemRange(),
    Range(1212, 1213, P::SelText2),
    ChoiceOr(P::Option3, 2, 1192, C::C1187),
};

constexpr HeaderNotation Notations[] = {
    {1, 0, R1},    {3, 0, R3},    {4, 0, R4},    {5, 0, R5},    {6, 0, R6},    {7, 0, R7},
    {8, 0, R8},    {9, 0, R9},    {10, 0, R10},  {11, 0, R11},  {12, 0, R12},  {13, 0, R13},
    {14, 0, R14},  {15, 0, R15},  {16, 0, R16},  {17, 0, R17},  {18, 0, R18},  {19, 0, R19},
    {20, 0, R20},  {21, 0, R21},  {22, 1, R21},  {23, 0, R23},  {24, 0, R24},  {26, 0, R26},
    {27, 0, R27},  {28, 0, R28},  {30, 0, R30},  {31, 0, R31},  {32, 0, R32},  {33, 0, R23},
    {34, 0, R34},  {35, 0, R35},  {37, 0, R19},  {38, 0, R19},  {39, 0, R19},  {40, 0, R19},
    {41, 0, R19},  {42, 0, R21},  {43, 0, R21},  {44, 0, R21},  {45, 0, R21},  {46, 0, R21},
    {47, 1, R21},  {48, 1, R21},  {49, 1, R21},  {50, 1, R21},  {51, 1, R21},  {53, 0, R53},
    {54, 1, R54},  {57, 0, R57},  {58, 1, R58},  {59, 0, R58},  {60, 0, R60},  {61, 0, R61},
    {63, 0, R63},  {64, 0, R54},  {65, 0, R65},  {66, 0, R66},  {68, 0, R68},  {69, 0, R69},
    {70, 0, R70},  {72, 0, R72},  {73, 0, R73},  {74, 0, R74},  {75, 0, R75},  {77, 0, R77},
    {78, 0, R78},  {79, 0, R79},  {80, 0, R11},  {81, 0, R81},  {82, 0, R82},  {83, 0, R83},
    {84, 0, R84},  {88, 0, R88},  {89, 0, R89},  {91, 0, R91},  {92, 0, R92},  {93, 0, R93},
    {94, 0, R94},  {95, 0, R95},  {99, 0, R99},  {100, 0, R100}, {101, 0, R101}, {111, 0, R111},
    {113, 0, R113}, {116, 0, R54},
};

}  // namespace

const HeaderNotation *FindHeaderNotation(int report)
{
    for (const HeaderNotation &n : Notations)
        if (n.report == report) return &n;
    return nullptr;
}
