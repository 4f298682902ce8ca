// selection_texts.cpp - the texts of a report's selection lines: ranges,
// prefixed fields, choices, flag sentences, periods and codes with names.
// Every builder writes a whole PString into out; one with nothing to say
// writes the empty text, so the header can skip its line.
#include <cassert>
#include <cstring>
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

constexpr uint16_t LongType = 5;
constexpr uint16_t DateType = 6;
constexpr int32_t NumberOpen = -1;   // an end left out of a number range
constexpr int TitleMax = 60;         // a title from the selection
constexpr int ProjectCodeMax = 20, ProjectNameMax = 60;

// Appends UI text n to out.
void AppendText(uint8_t *out, int n)
{
    PString text;
    GetUiText(text, n);
    PStringAppend(out, text);
}

// Appends a date formatted as a date field to out.
void AppendDate(uint8_t *out, const DateRec *date)
{
    PString text;
    FieldToText(reinterpret_cast<const uint8_t *>(date), DateType, text);
    PStringAppend(out, text);
}

// Appends a number formatted as a long field to out; an open end adds nothing.
void AppendNumber(uint8_t *out, int32_t n)
{
    if (n == NumberOpen) return;
    PString text;
    FieldToText(reinterpret_cast<const uint8_t *>(&n), LongType, text);
    PStringAppend(out, text);
}

// Reads the running job record's text field at offset (maximum length m) into out.
void ParamText(uint32_t offset, int m, uint8_t *out)
{
    assert(CurrentJobRecord());
    GetPString(CurrentJobRecord(), offset, m, out);
}

// Finds the record of register reg whose first key field (a code of at
// most five characters) is code; false when not stored.
bool FindByCode(int reg, uint32_t size, const uint8_t *code, uint8_t *record)
{
    assert(size <= 128);
    std::memset(record, 0, size);
    if (code[0] == 0) return false;
    PutPString(record, 0, ObjectCodeMax, code);
    return RecFindByFirstKey(reg, record);
}

}  // namespace

// A code range: emptyText when both ends are empty, else prefixText, the
// from-end and, when the ends differ, " : " and the to-end.
void SelectionRangeText(const uint8_t *range, int emptyText, int prefixText, uint8_t *out)
{
    PString from, to;
    RangeSplit(range, from, to);
    out[0] = 0;
    if (from[0] == 0 && to[0] == 0) {
        GetUiText(out, emptyText);
        return;
    }
    GetUiText(out, prefixText);
    PStringAppend(out, from);
    if (!PStringEqual(from, to)) {
        PStringAppendC(out, " : ");
        PStringAppend(out, to);
    }
}

// A project range: 4851 when both ends are empty, else 4852 and the
// from-code; " : " and the to-code when they differ, or the project's
// name (register 53) after a blank when the range names one stored
// project.
void ProjectRangeText(const uint8_t *range, uint8_t *out)
{
    PString from, to;
    RangeSplit(range, from, to);
    SelectionRangeText(range, 4851, 4852, out);
    if (from[0] == 0 || !PStringEqual(from, to)) return;
    RuleRecord project(ProjectVc::Number);
    if (!project.record) return;
    PutText(project.record, ProjectVc::Code, from);
    uint32_t recid = 0, position = 0;
    if (!RecFind(ProjectVc::Number, project.record, 1, 1, &recid, &position)) return;
    PString code, name;
    GetText(project.record, ProjectVc::Code, code);
    if (!PStringEqual(code, from)) return;   // the search stopped at the next code
    GetText(project.record, ProjectVc::Name, name);
    if (name[0] == 0) return;
    PStringAppendC(out, " ");
    PStringAppend(out, name);
}

// A number range in the same way, with a blank after the prefix; the
// all-ones value is an end not given.
void SelectionNumberRangeText(const uint8_t *range, int emptyText, int prefixText, uint8_t *out)
{
    int32_t from = NumberOpen, to = NumberOpen;
    RangeSplitNumber(range, &from, &to);
    out[0] = 0;
    if (from == NumberOpen && to == NumberOpen) {
        GetUiText(out, emptyText);
        return;
    }
    GetUiText(out, prefixText);
    PStringAppendC(out, " ");
    AppendNumber(out, from);
    if (from != to) {
        PStringAppendC(out, " : ");
        AppendNumber(out, to);
    }
}

// A report-number range (texts 1111 when empty, 1112 before the numbers).
void ReportNumberRangeText(const uint8_t *range, uint8_t *out)
{
    SelectionNumberRangeText(range, 1111, 1112, out);
}

// A code range (1106/1107) followed, when text is not empty, by texts
// 1186 and 1135 and the text.
void SelectionRangeWithText(const uint8_t *range, const uint8_t *text, uint8_t *out)
{
    SelectionRangeText(range, 1106, 1107, out);
    if (text[0] == 0) return;
    AppendText(out, 1186);
    AppendText(out, 1135);
    PStringAppend(out, text);
}

// Text `text` followed by the field; empty when the field is. 2338 puts
// ": " and 4830 " " between them; 1156 prints even an empty field, 3010
// gives 3009 alone for an empty one.
void PrefixedText(const uint8_t *field, int text, uint8_t *out)
{
    out[0] = 0;
    if (field[0] == 0 && text != 1156) {
        if (text == 3010) GetUiText(out, 3009);
        return;
    }
    GetUiText(out, text);
    if (text == 2338) PStringAppendC(out, ": ");
    else if (text == 4830) PStringAppendC(out, " ");
    PStringAppend(out, field);
}

namespace {

// The choice tables by ChoiceTable member; 0 ends a row's listed values.
constexpr int ChoiceWidth = 5;
constexpr int16_t ChoiceTexts[][ChoiceWidth] = {
    {1159, 1160, 0, 0, 0},          // LayoutA
    {1159, 1161, 0, 0, 0},          // LayoutB
    {1160, 1159, 1181, 1182, 1183}, // LayoutC
    {1176, 1177, 0, 0, 0},          // C1176
    {1178, 1179, 1180, 0, 0},       // C1178
    {1184, 1185, 0, 0, 0},          // C1184
    {1187, 1188, 1189, 0, 0},       // C1187
    {1187, 1189, 1190, 0, 0},       // C1187b
    {2421, 0, 2427, 0, 0},          // C2421: 1 is not listed
    {3005, 3004, 3021, 0, 0},       // C3005
    {1313, 1314, 1315, 1316, 1317}, // C1313
};
static_assert(sizeof(ChoiceTexts) / sizeof(ChoiceTexts[0]) == (size_t)ChoiceTable::C1313 + 1);

}  // namespace

// The text a choice table lists for value; every table writes the empty
// text for a value it does not list, so no earlier text is left behind.
void ChoiceText(int value, ChoiceTable table, uint8_t *out)
{
    out[0] = 0;
    size_t row = (size_t)table;
    assert(row < sizeof(ChoiceTexts) / sizeof(ChoiceTexts[0]));
    if (value < 0 || value >= ChoiceWidth) return;
    int text = ChoiceTexts[row][value];
    if (text != 0) GetUiText(out, text);
}

// The text of two option words: member 1146 (1148 "open and closed",
// 1146 a only, 1147 b only) or 1136 (1136 both states, 1137 a only, 1138
// b only). The reports read such a pair as kind boxes (kind_boxes.h):
// neither box ticked takes both states, as both ticked does, so both say
// "both" here; the header never promises what the filter did not take.
void ReportOptionText(int member, int a, int b, uint8_t *out)
{
    out[0] = 0;
    int which = (a != 0) == (b != 0) ? 0 : a != 0 ? 1 : 2;
    int text = 0;
    if (member == 1146) {
        constexpr int texts[] = {1148, 1146, 1147};
        text = texts[which];
    } else if (member == 1136) {
        text = 1136 + which;
    } else {
        assert(!"unknown option member");
    }
    if (text != 0) GetUiText(out, text);
}

namespace {

// The four-flag sentence of members 1330 and 1334: first, second, third
// and fourth texts of the flags that are 1, joined by 1319 or 1327.
void FourFlagText(const int texts[4], int a, int b, int c, int d, uint8_t *out)
{
    if (a) AppendText(out, texts[0]);
    if (a && b) AppendText(out, (c == 0 || d == 0) ? 1319 : 1327);
    if (b) AppendText(out, texts[1]);
    if ((a || b) && c) AppendText(out, d == 0 ? 1319 : 1327);
    if (c) AppendText(out, texts[2]);
    if ((a || b || c) && d) AppendText(out, 1319);
    if (d) AppendText(out, texts[3]);
}

// The sentence of a pair of kind boxes (members 1318 and 1323): `both`
// when both are ticked or neither (a report takes every kind when none is
// ticked), else the text of the one ticked.
void KindPairText(int both, int first, int second, int a, int b, uint8_t *out)
{
    AppendText(out, a == b ? both : a ? first : second);
}

// The columns a statement prints (member 1305): text 1305, then the
// headings of its columns joined by ", ", as the column header prints
// them; empty when the layout heads no column. The result statement's
// year to date is read as the report's fiscal year set it.
void StatementColumnsText(int layout, bool balance, uint8_t *out)
{
    const StatementColumnHeads h = StatementColumnTexts(!balance, layout, YearToDate != 0);
    for (int text : h.text) {
        if (text == 0) continue;
        if (out[0] == 0) AppendText(out, 1305);
        else PStringAppendC(out, ", ");
        AppendText(out, text);
    }
}

}  // namespace

// The sentence member builds from flags that equal 1 (a..d; unused ones 0).
void FlagListText(int member, int a, int b, int c, int d, uint8_t *out)
{
    out[0] = 0;
    if (member == 1305) {
        // Kind 1305: a is the column layout, b set for a balance
        // statement. No percentage column is printed, so c (the
        // statement's percentage box) adds nothing to the sentence.
        StatementColumnsText(a, b != 0, out);
        return;
    }
    a = a == 1; b = b == 1; c = c == 1; d = d == 1;
    switch (member) {
    case 2634: {
        const int flags[3] = {a, b, c};
        for (int i = 0; i < 3; i++) {
            if (!flags[i]) continue;
            if (out[0]) PStringAppendC(out, " - ");
            AppendText(out, 2634 + i);
        }
        break;
    }
    case 1318: KindPairText(1318, 1320, 1322, a, b, out); break;
    case 1323: KindPairText(1323, 1324, 1325, a, b, out); break;
    case 1326:
        // The payment journals' state boxes (not approved, approved,
        // posted), named after "Payments: " as ticked; none ticked takes
        // every state and says nothing.
        if (a || b || c) AppendText(out, Texts::PaymentStatesHead);
        if (a) AppendText(out, 1326);
        if (a && b) AppendText(out, c == 0 ? 1319 : 1327);
        if (b) AppendText(out, 1328);
        if (!a && !b) {
            if (c) AppendText(out, 1329);
        } else if (c) {
            AppendText(out, 1319);
            AppendText(out, 1329);
        }
        break;
    case 1330: {
        const int texts[4] = {1330, 1331, 1332, 1333};
        FourFlagText(texts, a, b, c, d, out);
        break;
    }
    case 1334: {
        // 1334, 1335 and 1336 stand where 1330's list has 1331..1333.
        const int texts[4] = {1330, 1334, 1335, 1336};
        FourFlagText(texts, a, b, c, d, out);
        break;
    }
    default:
        assert(!"unknown flag member");
    }
}

// The period from..to after text (3013, 3025): "from : to" when both
// ends are given; an open end (no year) is said in words ("up to to",
// "from from", "every date") rather than printed as an empty date. Text
// 3014 follows when the ledger has a lock date and a given to is on or
// before it.
void DateRangeText(const DateRec *from, const DateRec *to, int text, uint8_t *out)
{
    GetUiText(out, text);
    const bool hasFrom = from->year != 0, hasTo = to->year != 0;
    if (hasFrom && hasTo) {
        AppendDate(out, from);
        PStringAppendC(out, " : ");
        AppendDate(out, to);
    } else if (hasTo) {
        AppendText(out, Texts::PeriodUpTo);
        AppendDate(out, to);
    } else if (hasFrom) {
        AppendText(out, Texts::PeriodFromOn);
        AppendDate(out, from);
    } else {
        AppendText(out, Texts::PeriodEveryDate);
    }
    if (!hasTo) return;
    const uint8_t *lock = SettingsRecord(DateLockBlk::Number, DateLockBlockData);
    if (!lock) return;
    DateRec lockDate = GetDate(lock, DateLockBlk::LedgerLock);
    if (lockDate.year != 0 && DateCompare(to, &lockDate) <= 0) AppendText(out, 3014);
}

// Text 3015 and an object list: one code stored in register 15 shows as
// the code, two blanks and its name; anything else as typed.
void ObjectListText(const uint8_t *objects, uint8_t *out)
{
    GetUiText(out, 3015);
    ObjectSlots slots{};
    ParseObjectList(objects, &slots);
    int filled = 0;
    for (const auto &slot : slots) filled += slot[0] != 0;
    uint8_t record[OBVc::Size];
    if (filled == 1 && FindByCode(OBVc::Number, OBVc::Size, slots[0].data(), record)) {
        PString name;
        GetText(record, OBVc::Name, name);
        PStringAppend(out, slots[0].data());
        PStringAppendC(out, "  ");
        PStringAppend(out, name);
        return;
    }
    PStringAppend(out, objects);
}

// Text 3016 and a code stored in register 24, then two blanks and its
// name when it has one; empty when the code is not stored.
void Register24CodeText(const uint8_t *code, uint8_t *out)
{
    out[0] = 0;
    PString key;
    PStringCopy(key, code);
    if (key[0] > ObjectCodeMax) key[0] = ObjectCodeMax;
    uint8_t record[OTVc::Size];
    if (!FindByCode(OTVc::Number, OTVc::Size, key, record)) return;
    GetUiText(out, 3016);
    PStringAppend(out, key);
    PString name;
    GetText(record, OTVc::Name, name);
    if (name[0] == 0) return;
    PStringAppendC(out, "  ");
    PStringAppend(out, name);
}

// An account range: 3004 (kind 1) or 3005 when both ends are empty, 3008
// and the account when they are equal, else 3006 (kind 1) or 3007 and
// "from : to".
void AccountRangeText(const uint8_t *from, const uint8_t *to, int kind, uint8_t *out)
{
    if (from[0] == 0 && to[0] == 0) {
        GetUiText(out, kind == 1 ? 3004 : 3005);
        return;
    }
    if (PStringEqual(from, to)) {
        GetUiText(out, 3008);
        PStringAppend(out, from);
        return;
    }
    GetUiText(out, kind == 1 ? 3006 : 3007);
    PStringAppend(out, from);
    PStringAppendC(out, " : ");
    PStringAppend(out, to);
}

// The title a report takes from its selection: 60 characters of SelText3
// for report 15, of SelText2 for 94 and 95; empty for the others.
void ReportTitleFromSelection(int report, uint8_t *out)
{
    out[0] = 0;
    if (report == 15) ParamText(ReportParamsVc::SelText3, TitleMax, out);
    else if (report == 94 || report == 95) ParamText(ReportParamsVc::SelText2, TitleMax, out);
}

// Text 3017 and the ledger's last voucher date (settings block 132).
void Block132DateText(uint8_t *out)
{
    GetUiText(out, 3017);
    DateRec date{};
    const uint8_t *block = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    if (block) date = GetDate(block, SeriesDefaultsBlk::LastVoucherDate);
    AppendDate(out, &date);
}

// Text 1175 when flag is 0; else 3501 and the date, or 1111 when the
// date has no year.
void DateOrNoneText(int flag, const DateRec *date, uint8_t *out)
{
    if (flag == 0) {
        GetUiText(out, 1175);
        return;
    }
    if (date->year == 0) {
        GetUiText(out, 1111);
        return;
    }
    GetUiText(out, 3501);
    AppendDate(out, date);
}
