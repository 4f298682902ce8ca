// selection_header.cpp - the selection header a report's pages start
// with: title and date, the company, then the lines its selection gives,
// report by report.
#include <cassert>
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/totals_table.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/series_terms.h"

uint8_t TitleFromSelection = 0;

namespace {

namespace P = ReportParamsVc;

constexpr int VoucherReport = 25;    // prints its own header
constexpr int HeaderLines = 10;      // the output layer keeps lines 0..9
constexpr uint16_t DateFieldType = 6;
constexpr int TitleMax = 60;
// Our own texts where a shared text would say something else: report
// 31's invoice choice and one-line layout, the person reports' department.
constexpr int TextAllOpenInvoices = 13400, TextPastDueInvoices = 13401, TextInvoiceLines = 13402,
              TextDepartment = 13403;

// The current header line; lines past the last slot are dropped here so
// the output layer never sees them.
struct HeaderWriter {
    int line;
};

// R x: x on the right of the current line, which then advances.
void Right(HeaderWriter *w, const uint8_t *text)
{
    if (w->line < HeaderLines) RepHeaderRight(w->line, text);
    w->line++;
}

// R? x: as Right, only when x is not empty.
void RightIf(HeaderWriter *w, const uint8_t *text)
{
    if (text[0] != 0) Right(w, text);
}

// L x: x on the left of the current line, which stays. Line 1's left is
// the company's name: a left text that would fall there (a report whose
// first right text is left out) goes to the line below instead.
void Left(HeaderWriter *w, const uint8_t *text)
{
    if (w->line < 2) w->line = 2;
    if (w->line < HeaderLines) RepHeaderLeft(w->line, text);
}

// ReportParams' short at offset.
int Word(uint32_t offset) { return GetU16(ReportParams, offset); }

// The overdue-only choice of reports 5 and 18 as choice 2421 lists it (0
// every item, 2 overdue items only): their windows' check box stores 1
// when ticked, a value the choice does not list, so the header said
// nothing of it.
int OverdueChoice() { return Word(P::Option1) != 0 ? 2 : 0; }

// ReportParams' text at offset (maximum length m).
void Text(uint32_t offset, int m, uint8_t *out) { GetPString(ReportParams, offset, m, out); }

// ReportParams' date at offset.
DateRec Date(uint32_t offset) { return GetDate(ReportParams, offset); }

// Whether ReportParams' text at offset is empty.
bool Empty(uint32_t offset) { return ReportParams[offset] == 0; }

// UI text n into out.
void UiText(int n, uint8_t *out) { GetUiText(out, n); }

// UI text n followed by ReportParams' text at offset.
void TextAndField(int n, uint32_t offset, int m, uint8_t *out)
{
    GetUiText(out, n);
    PString field;
    Text(offset, m, field);
    PStringAppend(out, field);
}

// A date as a date field.
void DateText(const DateRec *d, uint8_t *out)
{
    FieldToText(reinterpret_cast<const uint8_t *>(d), DateFieldType, out);
}

// DR: the selection's period (3013).
void Period(uint8_t *out)
{
    DateRec from = Date(P::DateFrom), to = Date(P::DateTo);
    DateRangeText(&from, &to, 3013, out);
}

// FY: the fiscal year's start to DateTo (3025), only with YearToDate.
void FiscalYear(uint8_t *out)
{
    out[0] = 0;
    if (YearToDate != 1) return;
    DateRec to = Date(P::DateTo);
    DateRangeText(&YearStart, &to, 3025, out);
}

// OBJ: the object list of ObjectSel, empty when none is given.
void Objects(uint8_t *out)
{
    out[0] = 0;
    if (Empty(P::ObjectSel)) return;
    PString list;
    Text(P::ObjectSel, 30, list);
    ObjectListText(list, out);
}

// LOCK: text 3023 when DateTo falls after the lock date.
void Lock(uint8_t *out)
{
    out[0] = 0;
    DateRec to = Date(P::DateTo);
    if (DateAfterLock137(&to)) GetUiText(out, 3023);
}

// A code range of a SelText field with its two texts.
void Range(int emptyText, int prefixText, uint32_t offset, int m, uint8_t *out)
{
    PString field;
    Text(offset, m, field);
    SelectionRangeText(field, emptyText, prefixText, out);
}

// A number range of a SelText field with its two texts.
void NumRange(int emptyText, int prefixText, uint32_t offset, int m, uint8_t *out)
{
    PString field;
    Text(offset, m, field);
    SelectionNumberRangeText(field, emptyText, prefixText, out);
}

// PrefixedText of a SelText field.
void Prefixed(uint32_t offset, int m, int text, uint8_t *out)
{
    PString field;
    Text(offset, m, field);
    PrefixedText(field, text, out);
}

// ProjectRangeText of a SelText field.
void ProjectRange(uint32_t offset, uint8_t *out)
{
    PString field;
    Text(offset, 255, field);
    ProjectRangeText(field, out);
}

// The layout choice: `special` for layout `value`, else LayoutA.
void LayoutOr(int value, int special, uint8_t *out)
{
    int layout = Word(P::ReportLayout);
    if (layout == value) UiText(special, out);
    else ChoiceText(layout, ChoiceTable::LayoutA, out);
}

// NumberRangeCaption of SelText1 split into two numbers.
void RangeCaption(uint8_t *out)
{
    PString field;
    Text(P::SelText1, 255, field);
    int32_t from = -1, to = -1;
    RangeSplitNumber(field, &from, &to);
    NumberRangeCaption((uint32_t)from, (uint32_t)to, out);
}

// The account range of SelText5..SelText6 by RangeKind.
void Accounts(uint8_t *out)
{
    PString from, to;
    Text(P::SelText5, 20, from);
    Text(P::SelText6, 20, to);
    AccountRangeText(from, to, Word(P::RangeKind), out);
}

// Register24CodeText of ObjectType.
void ObjectTypeText(uint8_t *out)
{
    PString code;
    Text(P::ObjectType, 5, code);
    Register24CodeText(code, out);
}

// The lines of reports 19, 23, 33, 37..41 and 83's shared start: DR, B132.
void LedgerPeriodStart(HeaderWriter *w)
{
    PString t;
    Period(t); Right(w, t);
    Block132DateText(t); Left(w, t);
}

// R text n (when `when`).
void RightTextIf(HeaderWriter *w, bool when, int n)
{
    if (!when) return;
    PString t;
    UiText(n, t);
    Right(w, t);
}

// R text n followed by the SelText field, when the field is not empty.
void RightFieldIf(HeaderWriter *w, int n, uint32_t offset, int m)
{
    if (Empty(offset)) return;
    PString t;
    TextAndField(n, offset, m, t);
    Right(w, t);
}

// R text n, literal sep and the SelText field, when the field is not empty.
void RightFieldSepIf(HeaderWriter *w, int n, const char *sep, uint32_t offset, int m)
{
    if (Empty(offset)) return;
    PString t, field;
    UiText(n, t);
    PStringAppendC(t, sep);
    Text(offset, m, field);
    PStringAppend(t, field);
    Right(w, t);
}

// R RangeWith(first, second).
void RangeWith(HeaderWriter *w, uint32_t first, int m1, uint32_t second, int m2)
{
    PString a, b, t;
    Text(first, m1, a);
    Text(second, m2, b);
    SelectionRangeWithText(a, b, t);
    Right(w, t);
}

// R a date field of the job record as a date, when its year is set.
void RightDateIf(HeaderWriter *w, uint32_t offset)
{
    DateRec d = Date(offset);
    if (d.year == 0) return;
    PString t;
    DateText(&d, t);
    Right(w, t);
}

// R text n, " " and a date field of the job record, when its year is set.
void RightTextDateIf(HeaderWriter *w, int n, uint32_t offset)
{
    DateRec d = Date(offset);
    if (d.year == 0) return;
    PString t, ds;
    UiText(n, t);
    PStringAppendC(t, " ");
    DateText(&d, ds);
    PStringAppend(t, ds);
    Right(w, t);
}

// R text 1113 + SelText2 when given, then the shared part of 54, 64 and
// 116 from NumberRangeCaption on; `layout` adds 54's layout entry.
void ItemSalesLines(HeaderWriter *w, bool layout)
{
    PString t;
    if (!Empty(P::SelText1)) { RangeCaption(t); Right(w, t); }
    FlagListText(2634, Word(P::Option3), Word(P::Option4), Word(P::Option5), 0, t); Left(w, t);
    t[0] = 0;
    if (Word(P::Option11) == 0) UiText(1176, t);
    else if (Word(P::Option11) == 1) UiText(1177, t);
    Right(w, t);
    if (!Empty(P::SelText6)) RangeWith(w, P::SelText6, 20, P::SelText3, 255);
    if (layout) { LayoutOr(2, 6658, t); Left(w, t); }
    RightFieldIf(w, 1113, P::SelText2, 255);
    Prefixed(P::SelText7, 20, 1824, t); RightIf(w, t);
    RightFieldIf(w, 1825, P::SelText5, 20);
    Objects(t); RightIf(w, t);
}

// The lines of reports 21, 42..46 (fiscal: 22, 47..51 with FY and kind flag 0).
void LedgerColumnsLines(HeaderWriter *w, bool fiscal)
{
    PString t;
    Period(t); Right(w, t);
    Block132DateText(t); Left(w, t);
    if (fiscal) { FiscalYear(t); RightIf(w, t); }
    Objects(t); RightIf(w, t);
    ObjectTypeText(t); RightIf(w, t);
    if (Word(P::SecondKind) == 1) { UiText(3019, t); Right(w, t); }
    ChoiceText(Word(P::AmountUnit), ChoiceTable::C1313, t); Right(w, t);
    FlagListText(1305, Word(P::ColumnLayout), fiscal ? 0 : 1, Word(P::Option2), 0, t); Right(w, t);
    ChoiceText(Word(P::DetailLevel), ChoiceTable::C3005, t); Right(w, t);
    if (Word(P::Option3) == 1) { UiText(6653, t); Right(w, t); }
    if (Word(P::Option5) == 1) { UiText(6652, t); Right(w, t); }
    Lock(t); RightIf(w, t);
}

// The selection lines of report `report` from line 1 on.
void SelectionLines(int report, HeaderWriter *w)
{
    PString t;
    switch (report) {
    case 1:
        Period(t); Right(w, t);
        LayoutOr(2, 2328, t); Left(w, t);
        { PString f; Text(P::SelText1, 255, f); ReportNumberRangeText(f, t); Right(w, t); }
        if (!Empty(P::SelText2)) { TextAndField(1113, P::SelText2, 255, t); Right(w, t); }
        FlagListText(1330, Word(P::Option4), Word(P::Option5), Word(P::Option6), Word(P::Option7), t); RightIf(w, t);
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); RightIf(w, t);
        Prefixed(P::SelText7, 20, 1824, t); RightIf(w, t);
        Objects(t);
        if (t[0]) Right(w, t);
        else { ObjectTypeText(t); RightIf(w, t); }
        break;
    case 3:
        Range(1104, 1105, P::SelText1, 255, t); Right(w, t);
        UiText(Word(P::Option1) == 0 ? 1159 : 4039, t); Left(w, t);
        Prefixed(P::SelText3, 255, 1114, t); RightIf(w, t);
        Prefixed(P::SelText2, 255, 1824, t); RightIf(w, t);
        RightFieldIf(w, 2319, P::SelText5, 20);
        RightFieldIf(w, 1140, P::SelText6, 20);
        ChoiceText(Word(P::Option2), ChoiceTable::C1187b, t); Right(w, t);
        break;
    case 6:
        Accounts(t); Right(w, t);
        Block132DateText(t); Left(w, t);
        Period(t); Right(w, t);
        FiscalYear(t); RightIf(w, t);
        Objects(t); RightIf(w, t);
        ObjectTypeText(t); RightIf(w, t);
        if (!Empty(P::SelText4)) { TextAndField(3018, P::SelText4, 31, t); PStringAppendC(t, "\""); Right(w, t); }
        Prefixed(P::SelText1, 255, 3024, t); RightIf(w, t);
        RightTextIf(w, Word(P::SecondKind) == 1, 3019);
        RightTextIf(w, Word(P::Option2) != 0, 3197);
        Lock(t); RightIf(w, t);
        break;
    case 9:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Right(w, t);
        if (!Empty(P::SelText1) || Empty(P::SelText7)) {
            RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        } else {
            Prefixed(P::SelText7, 20, 1156, t); Right(w, t);
            Prefixed(P::SelText3, 255, 1135, t); RightIf(w, t);
        }
        Range(1104, 1105, P::SelText2, 255, t); Right(w, t);
        break;
    case 10:
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        ChoiceText(Word(P::Option3), ChoiceTable::C1187, t); Right(w, t);
        if (!Empty(P::SelText7)) { Prefixed(P::SelText7, 20, 1156, t); Right(w, t); }
        RightFieldSepIf(w, 2321, ": ", P::SelText2, 255);
        break;
    case 11: case 80:
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        ChoiceText(Word(P::Option3), ChoiceTable::C1187, t); Right(w, t);
        RightTextIf(w, Word(P::Option4) == 1, 6651);
        break;
    case 12:
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        LayoutOr(2, 6654, t); Left(w, t);
        ChoiceText(Word(P::Option3), ChoiceTable::C1187, t); Right(w, t);
        if (!Empty(P::SelText7)) { Prefixed(P::SelText7, 20, 1156, t); Right(w, t); }
        RightFieldIf(w, 2768, P::SelText2, 255);
        break;
    case 14: {
        Period(t); Right(w, t);
        Range(1104, 1105, P::SelText1, 255, t); Right(w, t);
        Prefixed(P::SelText3, 255, 1114, t); RightIf(w, t);
        if (!Empty(P::SelText2)) { Range(1106, 1107, P::SelText2, 255, t); Right(w, t); }
        Prefixed(P::SelText7, 20, 1824, t); RightIf(w, t);
        const uint32_t amounts[2] = {P::Amount1, P::Amount2};
        const int texts[2] = {2498, 2499};
        for (int i = 0; i < 2; i++) {
            PString value;
            FieldToText(ReportParams + amounts[i], FtAmount2, value);
            if (value[0] == 0) continue;
            UiText(texts[i], t);
            PStringAppendC(t, ": ");
            PStringAppend(t, value);
            Right(w, t);
        }
        break;
    }
    case 18:
        Range(1104, 1105, P::SelText1, 255, t); Right(w, t);
        ChoiceText(OverdueChoice(), ChoiceTable::C2421, t); Left(w, t);
        Prefixed(P::SelText3, 255, 1114, t); RightIf(w, t);
        if (!Empty(P::ObjectSel)) { PString list; Text(P::ObjectSel, 30, list); ObjectListText(list, t); Right(w, t); }
        break;
    case 20:
        LedgerPeriodStart(w);
        FiscalYear(t); RightIf(w, t);
        Accounts(t); Right(w, t);
        Objects(t); RightIf(w, t);
        Prefixed(P::SelText1, 255, 3024, t); RightIf(w, t);
        RightTextIf(w, Word(P::SecondKind) == 1, 3019);
        Lock(t); RightIf(w, t);
        RightTextIf(w, Word(P::Option5) == 1, 6652);
        break;
    case 23: case 33:
        LedgerPeriodStart(w);
        Objects(t); RightIf(w, t);
        RightTextIf(w, Word(P::SecondKind) == 1, 3019);
        RightTextIf(w, Word(P::Option5) == 1, 5212);
        Lock(t); RightIf(w, t);
        break;
    case 26:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        { PString f; Text(P::SelText1, 255, f); ReportNumberRangeText(f, t); Right(w, t); }
        RightFieldSepIf(w, 4004, ": ", P::SelText2, 255);
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); Right(w, t);
        FlagListText(1330, Word(P::Option4), Word(P::Option5), Word(P::Option6), 0, t); RightIf(w, t);
        break;
    case 27:
        Range(1212, 1213, P::SelText1, 255, t); Right(w, t);
        if (!Empty(P::SelText2)) { Prefixed(P::SelText2, 255, 2338, t); Right(w, t); }
        t[0] = 0;
        if (Word(P::Option1) == 0) UiText(1160, t);
        else if (Word(P::Option1) == 1) UiText(4039, t);
        Left(w, t);
        ChoiceText(Word(P::Option2), ChoiceTable::C1187b, t); Right(w, t);
        break;
    case 28:
        Period(t); Right(w, t);
        FlagListText(1326, Word(P::Option1), Word(P::Option2), Word(P::Option3), 0, t); RightIf(w, t);
        RightFieldIf(w, 1140, P::SelText3, 255);
        NumRange(4092, 4093, P::SelText1, 255, t); Right(w, t);
        break;
    case 30:
        RightFieldIf(w, 1213, P::SelText1, 255);
        Period(t); Right(w, t);
        if (!Empty(P::SelText2)) { Prefixed(P::SelText2, 255, 2338, t); Right(w, t); }
        break;
    case 31:
        // The customer ledger's choice texts speak of customers and its
        // option word means something else here: the vendor report names
        // the invoices it takes and its one-line layout in its own words.
        Range(1212, 1213, P::SelText1, 255, t); Right(w, t);
        UiText(Word(P::Option1) == 0 ? TextAllOpenInvoices : TextPastDueInvoices, t); Left(w, t);
        ChoiceText(Word(P::Option3), ChoiceTable::C1184, t); Right(w, t);
        if (Word(P::ReportLayout) == 0) UiText(1161, t);
        else if (Word(P::ReportLayout) == 1) UiText(TextInvoiceLines, t);
        else ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutC, t);
        Left(w, t);
        ChoiceText(Word(P::Option2), ChoiceTable::C1187b, t); Right(w, t);
        Prefixed(P::SelText3, 255, 2338, t); RightIf(w, t);
        RightDateIf(w, P::Date2From);
        break;
    case 32:
        Range(1212, 1213, P::SelText2, 255, t); Right(w, t);
        UiText(Word(P::ReportLayout) == 1 ? 4128 : 4127, t); Left(w, t);
        UiText(Word(P::Option2) == 0 ? 4133 : 4134, t); Right(w, t);
        UiText(Word(P::Option1) == 0 ? 4129 : 4130, t); Left(w, t);
        break;
    case 34:
        Period(t); Right(w, t);
        // Named as the window names the choice: layout 0 lists balances,
        // 1 the transactions (the shared layout texts say "Summary" for 1).
        UiText(Word(P::ReportLayout) == 1 ? Texts::CustBalanceTransactions : Texts::CustBalanceBalances, t);
        Left(w, t);
        Range(1104, 1105, P::SelText1, 255, t); Right(w, t);
        Prefixed(P::SelText3, 255, 1114, t); RightIf(w, t);
        Objects(t); RightIf(w, t);
        RightTextIf(w, Word(P::Option2) == 1, 6651);
        RightTextIf(w, Word(P::Option3) == 1, 6650);
        break;
    case 35:
        Period(t); Right(w, t);
        Range(1212, 1213, P::SelText1, 255, t); Right(w, t);
        if (!Empty(P::SelText2)) { Prefixed(P::SelText2, 255, 2338, t); Right(w, t); }
        RightTextIf(w, Word(P::Option2) == 1, 6651);
        RightTextIf(w, Word(P::Option3) == 1, 6550);
        break;
    case 53:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        NumRange(2608, 2609, P::SelText1, 255, t); Right(w, t);
        NumRange(2610, 2611, P::SelText8, 20, t); Right(w, t);
        Prefixed(P::SelText2, 255, 1213, t); RightIf(w, t);
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); Right(w, t);
        break;
    case 54:
        ItemSalesLines(w, true);
        break;
    case 64: case 116:
        ItemSalesLines(w, false);
        break;
    case 58: case 59:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        if (report == 58) NumRange(1823, 1822, P::SelText1, 255, t);
        else NumRange(2689, 2690, P::SelText1, 255, t);
        Right(w, t);
        Range(1104, 1105, P::SelText2, 255, t); Right(w, t);
        Prefixed(P::SelText7, 20, 1824, t); RightIf(w, t);
        if (report == 58) { Objects(t); RightIf(w, t); }
        break;
    case 61:
        LedgerPeriodStart(w);
        Accounts(t); Right(w, t);
        Objects(t); RightIf(w, t);
        RightTextDateIf(w, 3469, P::Date2From);
        RightTextDateIf(w, 3470, P::Date2To);
        RightTextIf(w, Word(P::SecondKind) == 1, 3019);
        RightTextIf(w, Word(P::Option2) == 1, 3021);
        RightTextIf(w, Word(P::Option5) == 1, 5212);
        break;
    case 66: {
        Range(1104, 1105, P::SelText1, 255, t); Right(w, t);
        if (Word(P::RangeKind) == 1) { UiText(6651, t); Left(w, t); }
        Prefixed(P::SelText3, 255, 1114, t); RightIf(w, t);
        DateRec d = Date(P::Date2From);
        DateOrNoneText(Word(P::ReportLayout), &d, t); Right(w, t);
        break;
    }
    case 68:
        ProjectRange(P::SelText1, t); Right(w, t);
        ChoiceText(Word(P::Option9), ChoiceTable::C1178, t); Left(w, t);
        RightFieldSepIf(w, 4849, " ", P::SelText2, 255);
        Range(1104, 1105, P::SelText3, 255, t); Right(w, t);
        ChoiceText(Word(P::Option7), ChoiceTable::C1176, t); RightIf(w, t);
        RightTextIf(w, Word(P::Option2) != 0, 4844);
        break;
    case 69:
        ProjectRange(P::SelText1, t); Right(w, t);
        ChoiceText(Word(P::ReportLayout) == 0 ? 1 : 0, ChoiceTable::LayoutA, t); Left(w, t);
        Range(1104, 1105, P::SelText3, 255, t); Right(w, t);
        ChoiceText(Word(P::Option2) != 0 ? 2 : 0, ChoiceTable::C1178, t); Left(w, t);
        RightFieldSepIf(w, 4849, " ", P::SelText2, 255);
        break;
    case 70:
        Period(t); Right(w, t);
        if (Word(P::ReportLayout) == 2) UiText(4888, t);
        else ChoiceText(Word(P::ReportLayout) == 0 ? 1 : 0, ChoiceTable::LayoutA, t);
        Left(w, t);
        ProjectRange(P::SelText2, t); Right(w, t);
        Prefixed(P::SelText1, 255, 4830, t); RightIf(w, t);
        break;
    case 72: {
        DateRec from2 = Date(P::Date2From), to2 = Date(P::Date2To);
        if (from2.year != 0 || to2.year != 0) DateRangeText(&from2, &to2, 3013, t);
        else Period(t);
        Right(w, t);
        UiText(Word(P::Option1) == 1 ? 1159 : 1160, t); Left(w, t);
        Prefixed(P::SelText7, 20, 1824, t); RightIf(w, t);
        UiText(Word(P::ReportLayout) == 0 ? 4912 : 4913, t); Right(w, t);
        UiText(Word(P::Option2) == 0 ? 4916 : 4917, t); Right(w, t);
        break;
    }
    case 73:
        Period(t); Right(w, t);
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        if (!Empty(P::SelText7)) { Prefixed(P::SelText7, 20, 1156, t); Right(w, t); }
        FlagListText(1334, Word(P::Option2), Word(P::Option3), Word(P::Option4), Word(P::Option5), t); RightIf(w, t);
        UiText(Word(P::ReportLayout) == 0 ? 6655 : 6656, t); Right(w, t);
        RightFieldSepIf(w, 5010, ": ", P::SelText8, 20);
        break;
    case 74:
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        UiText(Word(P::ReportLayout) == 0 ? 1187 : 1191, t); Right(w, t);
        RightFieldIf(w, 2769, P::SelText2, 255);
        RightFieldIf(w, 2768, P::SelText7, 20);
        break;
    case 75:
        NumRange(1823, 1822, P::SelText1, 255, t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        Prefixed(P::SelText2, 255, 1213, t); RightIf(w, t);
        break;
    case 77:
        Range(1212, 1213, P::SelText2, 255, t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        RightTextIf(w, !Empty(P::SelText2) && Word(P::Option2) == 1, 5055);
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        ChoiceText(Word(P::Option3), ChoiceTable::C1187, t); Right(w, t);
        break;
    case 78:
        NumRange(5385, 5106, P::SelText1, 255, t); Right(w, t);
        Range(1106, 1107, P::SelText2, 255, t); Right(w, t);
        break;
    case 79:
        NumRange(6659, 6660, P::SelText1, 255, t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        break;
    case 81:
        NumRange(1823, 1822, P::SelText1, 255, t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        Prefixed(P::SelText2, 255, 1213, t); RightIf(w, t);
        RightFieldIf(w, 1107, P::SelText6, 20);
        RightFieldIf(w, 2769, P::SelText8, 20);
        break;
    case 82:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        Range(1104, 1105, P::SelText1, 255, t); Right(w, t);
        break;
    case 83:
        LedgerPeriodStart(w);
        ObjectTypeText(t); RightIf(w, t);
        Objects(t); RightIf(w, t);
        RightTextIf(w, Word(P::SecondKind) == 1, 3019);
        RightTextIf(w, Word(P::Option5) == 1, 5212);
        break;
    case 84:
        Period(t); Right(w, t);
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        RightFieldIf(w, 6657, P::SelText2, 255);
        if (!Empty(P::SelText7)) { Prefixed(P::SelText7, 20, 1156, t); Right(w, t); }
        RightFieldSepIf(w, 5010, ": ", P::SelText8, 20);
        break;
    case 88:
        NumRange(6661, 1168, P::SelText1, 255, t); Right(w, t);
        break;
    case 89: {
        DateRec from2 = Date(P::Date2From), to2 = Date(P::Date2To);
        DateRangeText(&from2, &to2, 3013, t); Right(w, t);
        break;
    }
    case 91:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); Right(w, t);
        NumRange(5151, 5152, P::SelText1, 255, t); Right(w, t);
        Prefixed(P::SelText2, 255, 4830, t); RightIf(w, t);
        break;
    case 92:
        Period(t); Right(w, t);
        NumRange(5172, 5173, P::SelText1, 255, t); Right(w, t);
        RightFieldIf(w, 1140, P::SelText3, 255);
        FlagListText(1326, Word(P::Option1), Word(P::Option2), Word(P::Option3), 0, t); RightIf(w, t);
        break;
    case 93:
        Period(t); Right(w, t);
        RightTextIf(w, Word(P::Option2) == 1, 6551);
        RightTextIf(w, Word(P::Option3) == 1, 6550);
        Prefixed(P::SelText1, 255, 4830, t); RightIf(w, t);
        break;
    case 94:
        Period(t); Right(w, t);
        FlagListText(1323, Word(P::Option6), Word(P::Option7), 0, 0, t); Left(w, t);
        FlagListText(1318, Word(P::Option4), Word(P::Option5), 0, 0, t); Right(w, t);
        ReportOptionText(1136, Word(P::Option3), Word(P::Option2), t); Right(w, t);
        Text(P::SelText1, 255, t); RightIf(w, t);
        break;
    case 95:
        Period(t); Right(w, t);
        FlagListText(1323, Word(P::Option6), Word(P::Option7), 0, 0, t); Left(w, t);
        { PString f; Text(P::SelText1, 255, f); ReportNumberRangeText(f, t); Right(w, t); }
        if (!Empty(P::SelText3)) { Prefixed(P::SelText3, 255, 2338, t); Right(w, t); }
        ReportOptionText(1136, Word(P::Option3), Word(P::Option2), t); Right(w, t);
        break;
    case 99:
        Period(t); Right(w, t);
        UiText(Word(P::Option2) == 0 ? 5285 : 5286, t); Right(w, t);
        break;
    case 100:
        Period(t); Right(w, t);
        Text(P::SelText1, 255, t); RightIf(w, t);
        RightFieldIf(w, TextDepartment, P::SelText2, 255);
        break;
    case 101:
        // Always written, as 1156 is for the item reports' classification.
        TextAndField(TextDepartment, P::SelText2, 255, t); Right(w, t);
        break;
    case 113:
        RangeWith(w, P::SelText1, 255, P::SelText3, 255);
        Range(1212, 1213, P::SelText2, 255, t); Right(w, t);
        if (Word(P::Option3) == 2) UiText(1192, t);
        else ChoiceText(Word(P::Option3), ChoiceTable::C1187, t);
        Right(w, t);
        break;
    case 4:
        Period(t); Right(w, t);
        FlagListText(2634, Word(P::Option3), Word(P::Option4), Word(P::Option5), 0, t); Left(w, t);
        RangeCaption(t); Right(w, t);
        LayoutOr(2, 5127, t); Left(w, t);
        ReportOptionText(1146, Word(P::Option7), Word(P::Option8), t); RightIf(w, t);
        Range(1104, 1105, P::SelText2, 255, t); RightIf(w, t);
        Prefixed(P::SelText7, 20, 1824, t); RightIf(w, t);
        break;
    case 5:
        Range(1104, 1105, P::SelText1, 255, t); Right(w, t);
        ChoiceText(OverdueChoice(), ChoiceTable::C2421, t); Left(w, t);
        ChoiceText(Word(P::Option2), ChoiceTable::C1187b, t); Right(w, t);
        if (Word(P::ReportLayout) == 0) UiText(1161, t);
        else ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutC, t);
        Left(w, t);
        UiText(Word(P::Option3) == 0 ? 2369 : 6650, t); Right(w, t);
        Prefixed(P::SelText2, 255, 1824, t); RightIf(w, t);
        Prefixed(P::SelText3, 255, 1114, t); RightIf(w, t);
        { DateRec d = Date(P::Date2From); if (d.year != 0) { DateText(&d, t); Right(w, t); } }
        break;
    case 7:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        NumRange(2588, 2582, P::SelText1, 255, t); Right(w, t);
        NumRange(2589, 2584, P::SelText8, 20, t); Right(w, t);
        Range(1104, 1105, P::SelText2, 255, t); Right(w, t);
        if (!Empty(P::SelText3)) { TextAndField(2587, P::SelText3, 255, t); Right(w, t); }
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); Right(w, t);
        break;
    case 8:
        if (!Empty(P::SelText1) || Empty(P::SelText7)) { Range(1106, 1107, P::SelText1, 255, t); Right(w, t); }
        if (!Empty(P::SelText7)) { Prefixed(P::SelText7, 20, 1156, t); Right(w, t); }
        if (!Empty(P::SelText2)) { TextAndField(2768, P::SelText2, 255, t); Right(w, t); }
        Prefixed(P::SelText3, 255, 1135, t); RightIf(w, t);
        // Only 0 and 1 are listed: another value writes the empty text.
        t[0] = 0;
        if (Word(P::Option2) == 0) UiText(2345, t);
        else if (Word(P::Option2) == 1) UiText(2346, t);
        Right(w, t);
        { DateRec d = Date(P::Date2From); if (d.year != 0) { DateText(&d, t); Right(w, t); } }
        break;
    case 13:
        Period(t); Right(w, t);
        if (!Empty(P::SelText1)) { TextAndField(1141, P::SelText1, 255, t); Right(w, t); }
        Range(1104, 1105, P::SelText2, 255, t); Right(w, t);
        if (!Empty(P::SelText3)) { TextAndField(1140, P::SelText3, 255, t); Right(w, t); }
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); RightIf(w, t);
        break;
    case 15:
        Prefixed(P::SelText1, 255, 3010, t); Right(w, t);
        Block132DateText(t); Left(w, t);
        Period(t); Right(w, t);
        Prefixed(P::SelText2, 255, 3024, t); RightIf(w, t);
        break;
    case 16:
        Range(1104, 1105, P::SelText2, 255, t); Right(w, t);
        UiText(Word(P::Option1) == 0 ? 2379 : 2380, t); Left(w, t);
        UiText(Word(P::ReportLayout) == 1 ? 2378 : 2377, t); Right(w, t);
        break;
    case 17:
        Block132DateText(t);
        w->line = 2;
        Left(w, t);
        break;
    case 19: case 37: case 38: case 39: case 40: case 41:
        Period(t); Right(w, t);
        Block132DateText(t); Left(w, t);
        Objects(t); RightIf(w, t);
        if (Word(P::SecondKind) == 1) { UiText(3019, t); Right(w, t); }
        break;
    case 21: case 42: case 43: case 44: case 45: case 46:
        LedgerColumnsLines(w, false);
        break;
    case 22: case 47: case 48: case 49: case 50: case 51:
        LedgerColumnsLines(w, true);
        break;
    case 24:
        Period(t); Right(w, t);
        Block132DateText(t); Left(w, t);
        { DateRec d = Date(P::Date3); PString ds; UiText(3022, t); DateText(&d, ds); PStringAppend(t, ds); Right(w, t); }
        Lock(t); RightIf(w, t);
        break;
    case 57:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Left(w, t);
        NumRange(1111, 1112, P::SelText1, 255, t); Right(w, t);
        Prefixed(P::SelText7, 20, 1824, t); RightIf(w, t);
        { PString a, b; Text(P::SelText5, 20, a); Text(P::SelText6, 20, b); SelectionRangeWithText(a, b, t); Right(w, t); }
        Range(1104, 1105, P::SelText2, 255, t); Right(w, t);
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); Right(w, t);
        break;
    case 60:
        Period(t); Right(w, t);
        break;
    case 63: {
        Accounts(t); Right(w, t);
        DateRec from = Date(P::Date2From), to = Date(P::Date2To);
        DateText(&from, t);
        if (DateCompare(&from, &to) != 0) {
            PString ds;
            DateText(&to, ds);
            PStringAppendC(t, " : ");
            PStringAppend(t, ds);
        }
        Right(w, t);
        break;
    }
    case 65:
        Period(t); Right(w, t);
        // Only layouts 0 and 1 are listed: another writes the empty text.
        t[0] = 0;
        if (Word(P::ReportLayout) == 1) UiText(1159, t);
        else if (Word(P::ReportLayout) == 0) UiText(1160, t);
        Left(w, t);
        break;
    case 111:
        Period(t); Right(w, t);
        ChoiceText(Word(P::ReportLayout), ChoiceTable::LayoutA, t); Right(w, t);
        ReportOptionText(1136, Word(P::Option2), Word(P::Option3), t); Right(w, t);
        if (!Empty(P::SelText6)) { TextAndField(1824, P::SelText6, 20, t); Right(w, t); }
        Objects(t); RightIf(w, t);
        break;
    default:
        break;
    }
}

}  // namespace

// Writes report `report`'s header lines: nothing for the voucher
// print-out; line 0 the title (or the selection's, when asked for and
// given) and today's date, line 1 the company, then the selection lines.
void ReportSelectionHeader(int report, const uint8_t *title)
{
    if (report == VoucherReport) return;
    PString line0;
    PStringCopy(line0, title);
    if (TitleFromSelection == 1 && ReportParams) {
        PString own;
        ReportTitleFromSelection(report, own);
        if (own[0] != 0) PStringCopy(line0, own);
    }
    RepHeaderLeft(0, line0);
    PString date;
    FieldToText(reinterpret_cast<const uint8_t *>(&TodayDate), DateFieldType, date);
    RepHeaderRight(0, date);
    if (CompanyBlock) RepHeaderLeft(1, CompanyBlock + CompanyBlk::CompanyName);
    if (!ReportParams) return;
    HeaderWriter w{1};
    SelectionLines(report, &w);
}
