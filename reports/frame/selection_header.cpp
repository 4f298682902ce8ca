// selection_header.cpp - the selection header a report's pages start
// with: title and date, the company, then the lines its selection gives,
// as the report's notation table (header_notation.cpp) spells them.
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
#include "reports/frame/header_notation.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_run.h"
#include "reports/frame/totals_table.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger_print.h"
#include "rules/series_terms.h"

uint8_t TitleFromSelection = 0;

namespace {

namespace P = ReportParamsVc;

constexpr int HeaderLines = 10;      // the output layer keeps lines 0..9
constexpr uint16_t DateFieldType = 6;
constexpr int TitleMax = 60;
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

// L x: x on the left of the current line, which stays. Line 1's left is
// the company's name: a left text that would fall there (a report whose
// first right text is left out) goes to the line below instead.
void Left(HeaderWriter *w, const uint8_t *text)
{
    if (w->line < 2) w->line = 2;
    if (w->line < HeaderLines) RepHeaderLeft(w->line, text);
}

// The running job record's short at offset; the constant slots give 0 and 1.
int Word(uint32_t offset)
{
    if (offset == WordZero) return 0;
    if (offset == WordOne) return 1;
    return GetU16(CurrentJobRecord(), offset);
}

// The running job record's text at offset (maximum length m).
void Text(uint32_t offset, int m, uint8_t *out) { GetPString(CurrentJobRecord(), offset, m, out); }

// The running job record's date at offset.
DateRec Date(uint32_t offset) { return GetDate(CurrentJobRecord(), offset); }

// Whether the running job record's text at offset is empty.
bool Empty(uint32_t offset) { return CurrentJobRecord()[offset] == 0; }

// A date as a date field.
void DateText(const DateRec *d, uint8_t *out)
{
    FieldToText(reinterpret_cast<const uint8_t *>(d), DateFieldType, out);
}

// A period between two date fields with text 3013.
void PeriodOf(uint32_t fromField, uint32_t toField, uint8_t *out)
{
    DateRec from = Date(fromField), to = Date(toField);
    DateRangeText(&from, &to, 3013, out);
}

// FY: the fiscal year's start to DateTo (3025), only with YearToDate.
void FiscalYear(uint8_t *out)
{
    if (YearToDate != 1) return;
    DateRec to = Date(P::DateTo);
    DateRangeText(&YearStart, &to, 3025, out);
}

// OBJ: the object list of ObjectSel, empty when none is given.
void Objects(uint8_t *out)
{
    if (Empty(P::ObjectSel)) return;
    PString list;
    Text(P::ObjectSel, 30, list);
    ObjectListText(list, out);
}

// Register24CodeText of ObjectType.
void ObjectTypeText(uint8_t *out)
{
    PString code;
    Text(P::ObjectType, 5, code);
    Register24CodeText(code, out);
}

// A word mapped for its choice table.
int Mapped(int word, WordMap map)
{
    switch (map) {
    case WordMap::Same: return word;
    case WordMap::Flip: return word == 0 ? 1 : 0;
    case WordMap::SetIsTwo: return word != 0 ? 2 : 0;
    }
    return word;
}

// Whether guard g holds for a report of notation variant `variant`.
bool Holds(const HeaderGuard &g, int variant)
{
    switch (g.kind) {
    case GuardKind::Always: return true;
    case GuardKind::Given: return !Empty(g.field);
    case GuardKind::Blank: return Empty(g.field);
    case GuardKind::GivenOrBlank: return !Empty(g.field) || Empty(g.field2);
    case GuardKind::WordEq: return Word(g.field) == g.value;
    case GuardKind::WordNe: return Word(g.field) != g.value;
    case GuardKind::WordGt: return Word(g.field) > g.value;
    case GuardKind::DateSet: return Date(g.field).year != 0;
    case GuardKind::Variant: return variant == g.value;
    }
    return false;
}

// The text of step s into out (empty when the step's rule says so).
void MakeText(const HeaderStep &s, uint8_t *out)
{
    out[0] = 0;
    PString field, other;
    switch (s.make) {
    case HeaderMake::Period: PeriodOf(P::DateFrom, P::DateTo, out); return;
    case HeaderMake::Period2: PeriodOf(P::Date2From, P::Date2To, out); return;
    case HeaderMake::Period2OrPeriod:
        if (Date(P::Date2From).year != 0 || Date(P::Date2To).year != 0) PeriodOf(P::Date2From, P::Date2To, out);
        else PeriodOf(P::DateFrom, P::DateTo, out);
        return;
    case HeaderMake::FiscalYear: FiscalYear(out); return;
    case HeaderMake::Objects: Objects(out); return;
    case HeaderMake::ObjectsOrType:
        Objects(out);
        if (out[0] == 0) ObjectTypeText(out);
        return;
    case HeaderMake::ObjectType: ObjectTypeText(out); return;
    case HeaderMake::Lock: {
        DateRec to = Date(P::DateTo);
        if (DateAfterLock137(&to)) GetUiText(out, 3023);
        return;
    }
    case HeaderMake::Block132Date: Block132DateText(out); return;
    case HeaderMake::Accounts:
        Text(P::SelText5, 20, field);
        Text(P::SelText6, 20, other);
        AccountRangeText(field, other, Word(P::RangeKind), out);
        return;
    case HeaderMake::RangeCaption: {
        Text(P::SelText1, 255, field);
        int32_t from = -1, to = -1;
        RangeSplitNumber(field, &from, &to);
        NumberRangeCaption((uint32_t)from, (uint32_t)to, out);
        return;
    }
    case HeaderMake::Range:
        Text(s.field, s.m, field);
        SelectionRangeText(field, s.text, s.text2, out);
        return;
    case HeaderMake::NumRange:
        Text(s.field, s.m, field);
        SelectionNumberRangeText(field, s.text, s.text2, out);
        return;
    case HeaderMake::Prefixed:
        Text(s.field, s.m, field);
        PrefixedText(field, s.text, out);
        return;
    case HeaderMake::ProjectRange:
        Text(s.field, s.m, field);
        ProjectRangeText(field, out);
        return;
    case HeaderMake::ReportNumbers:
        Text(s.field, s.m, field);
        ReportNumberRangeText(field, out);
        return;
    case HeaderMake::Field: Text(s.field, s.m, out); return;
    case HeaderMake::Ui: GetUiText(out, s.text); return;
    case HeaderMake::UiIfWord: GetUiText(out, Word(s.field) == s.value ? s.text : s.text2); return;
    case HeaderMake::UiBy01:
        if (Word(s.field) == 0) GetUiText(out, s.text);
        else if (Word(s.field) == 1) GetUiText(out, s.text2);
        return;
    case HeaderMake::TextField:
    case HeaderMake::TextSepField:
    case HeaderMake::TextFieldQuoted:
        GetUiText(out, s.text);
        if (s.make == HeaderMake::TextSepField) PStringAppendC(out, s.sep);
        Text(s.field, s.m, field);
        PStringAppend(out, field);
        if (s.make == HeaderMake::TextFieldQuoted) PStringAppendC(out, "\"");
        return;
    case HeaderMake::RangeWith:
        Text(s.field, s.m, field);
        Text(s.field2, s.m2, other);
        SelectionRangeWithText(field, other, out);
        return;
    case HeaderMake::Date: {
        DateRec d = Date(s.field);
        DateText(&d, out);
        return;
    }
    case HeaderMake::TextDate: {
        DateRec d = Date(s.field);
        GetUiText(out, s.text);
        PStringAppendC(out, s.sep);
        DateText(&d, field);
        PStringAppend(out, field);
        return;
    }
    case HeaderMake::DatePair: {
        DateRec from = Date(s.field), to = Date(s.field2);
        DateText(&from, out);
        if (DateCompare(&from, &to) == 0) return;
        DateText(&to, field);
        PStringAppendC(out, " : ");
        PStringAppend(out, field);
        return;
    }
    case HeaderMake::DateOrNone: {
        DateRec d = Date(s.field);
        DateOrNoneText(Word(P::ReportLayout), &d, out);
        return;
    }
    case HeaderMake::Amount:
        FieldToText(CurrentJobRecord() + s.field, FtAmount2, field);
        if (field[0] == 0) return;
        GetUiText(out, s.text);
        PStringAppendC(out, ": ");
        PStringAppend(out, field);
        return;
    case HeaderMake::Choice: ChoiceText(Mapped(Word(s.field), s.map), s.table, out); return;
    case HeaderMake::ChoiceOr:
        if (Word(s.field) == s.value) GetUiText(out, s.text);
        else ChoiceText(Mapped(Word(s.field), s.map), s.table, out);
        return;
    case HeaderMake::FlagList:
        FlagListText(s.text, Word(s.words[0]), Word(s.words[1]), Word(s.words[2]), Word(s.words[3]), out);
        return;
    case HeaderMake::ReportOption: ReportOptionText(s.text, Word(s.words[0]), Word(s.words[1]), out); return;
    }
}

// The selection lines of report `report` from line 1 on: its notation's
// steps in order, each written where its guards hold.
void SelectionLines(int report, HeaderWriter *w)
{
    const HeaderNotation *notation = FindHeaderNotation(report);
    if (!notation) return;
    for (const HeaderStep &s : notation->steps) {
        if (!Holds(s.guard[0], notation->variant) || !Holds(s.guard[1], notation->variant)) continue;
        PString t;
        MakeText(s, t);
        switch (s.put) {
        case HeaderPut::Right: Right(w, t); break;
        case HeaderPut::RightIf:
            if (t[0] != 0) Right(w, t);
            break;
        case HeaderPut::Left: Left(w, t); break;
        }
    }
}

}  // namespace

// Writes report `report`'s header lines: nothing for the voucher
// print-out; line 0 the title (or the selection's, when asked for and
// given) and today's date, line 1 the company, then the selection lines.
void ReportSelectionHeader(int report, const uint8_t *title)
{
    if (report == VoucherPrintReport) return;   // prints its own header
    PString line0;
    PStringCopy(line0, title);
    if (TitleFromSelection == 1 && CurrentJobRecord()) {
        PString own;
        ReportTitleFromSelection(report, own);
        if (own[0] != 0) PStringCopy(line0, own);
    }
    RepHeaderLeft(0, line0);
    PString date;
    FieldToText(reinterpret_cast<const uint8_t *>(&TodayDate), DateFieldType, date);
    RepHeaderRight(0, date);
    if (CompanyBlock) RepHeaderLeft(1, CompanyBlock + CompanyBlk::CompanyName);
    if (!CurrentJobRecord()) return;
    HeaderWriter w{1};
    SelectionLines(report, &w);
}
