// statement_report.cpp - the statements: reports 21 and 42 to 46
// (balance) and 22 and 47 to 51 (result), each the rows of its own row
// register in row-number order. A row sums an account formula (its
// accounts printed by the detail level), sums earlier rows by a row
// formula, or is a line of text. Three amount columns by ColumnLayout;
// with amount unit 3 result amounts are shown per hundred of the key
// figure (the key-figure row named by text 3146, run as a formula).
#include <cassert>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/formula/formula.h"
#include "output/layer_operations.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
namespace R = SR21Vc;   // every statement-row register has this layout
constexpr int LineHeight = 15, HeadHeight = 20, ColA = 3, ColB = 4, ColC = 5, KeyFigureX = 340;
constexpr uint16_t KindAccounts = 1, KindRows = 2, KindText = 3;

// A word of the running job record: the row helpers run from the formula
// walk without the job at hand.
int Word(uint32_t field) { return GetU16(CurrentJobRecord(), field); }

bool ResultReport(int report) { return report == 22 || (report >= 47 && report <= 51); }

// The row register of a statement report; 0 for any other number.
int RowRegister(int report) {
    if (report == 21) return SR21Vc::Number;
    if (report == 22) return SR22Vc::Number;
    if (report >= 42 && report <= 51) return SR42Vc::Number + (report - 42);
    return 0;
}

// The title: the selection's, else the report's own or its saved one.
void StatementTitle(const uint8_t *selection, int report, uint8_t *title) {
    GetText(selection, P::SelText1, title);
    if (title[0] != 0) return;
    if (report == 21) GetUiText(title, Texts::BalanceStatementTitle);
    else if (report == 22) GetUiText(title, Texts::ResultStatementTitle);
    else RepWindowText(report, title);
    if (title[0] == 0)
        GetUiText(title, ResultReport(report) ? Texts::ResultStatementTitle : Texts::BalanceStatementTitle);
}

// The key figure: the result of the key-figure row (block 150) coded as
// text 3146 says, divided by 100; 1 when no row has that code.
void KeyFigure(PackedDecimal *key) {
    DecFromLong(key, 1);
    PString code;
    GetUiText(code, 3146);
    MemBlock rows = 0;
    SettingsBlockFetch(&rows, KeyFigureBlk::Number);
    const int32_t count = rows ? int32_t(MemSize(rows) / KeyFigureBlk::Rows::Size) : 0;
    const uint8_t *bytes = count > 0 ? MemLock(rows) : nullptr;
    for (int32_t i = 0; bytes && i < count; i++) {
        const uint8_t *row = bytes + size_t(i) * KeyFigureBlk::Rows::Size;
        PString own, formula;
        GetText(row, KeyFigureBlk::Rows::Code, own);
        if (!PStringEqual(own, code)) continue;
        GetText(row, KeyFigureBlk::Rows::Formula, formula);
        CompileScript(formula);
        PackedDecimal value;
        if (!FieldFromText(reinterpret_cast<uint8_t *>(&value), FtAmount2, 0, formula)) DecSetZero(&value);
        DecShiftDown2(&value, key);
        break;
    }
    if (bytes) MemUnlock(rows);
    MemFree(&rows);
}

// A column heading with the amount unit's suffix (when suffixed).
void Heading(int x, int text, bool suffixed) {
    if (text == 0) return;
    PString t, suffix;
    GetUiText(t, text);
    const int unit = Word(P::AmountUnit);
    if (suffixed && unit >= 1 && unit <= 3) {
        GetUiText(suffix, Texts::UnitSuffixThousands + (unit - 1));
        PStringAppend(t, suffix);
    }
    RepTextEx(x, -1, 0, -1, 0, t);
}

void ColumnHeadings(int report) {
    const StatementColumnHeads h = StatementColumnTexts(ResultReport(report), Word(P::ColumnLayout), YearToDate != 0);
    RepStartLine(HeadHeight);
    Heading(ColA, h.text[0], true);
    Heading(ColB, h.text[1], true);
    Heading(ColC, h.text[2], h.thirdSuffixed);
    RepEndLine();
}

void TextLine(int height, int x, const uint8_t *text) {
    RepStartLine(height);
    RepTextEx(x, -1, 0, 0, 0, text);
    RepEndLine();
}

// The account sign flag of an account record.
int AccountSign(const uint8_t *account) { return StatementSignFlag(GetU16(account, ACVc::AccType)); }

// Adds (sign 1) or subtracts an account's amounts into sums.
void AddInto(PackedDecimal *sums, const PackedDecimal *amounts, int sign) {
    for (int c = 0; c < 3; c++) {
        if (sign < 0) DecSub(&sums[c], &amounts[c], &sums[c]);
        else DecAdd(&sums[c], &amounts[c], &sums[c]);
    }
}

// What one formula row prints and sums while its accounts are walked.
struct FormulaRowState {
    const uint8_t *label;
    PackedDecimal *sums;
    const PackedDecimal *keyFigure;
    bool printed = false;
};

// One account of a term: its amounts, its line when the detail level
// shows it, its part of the row's sums.
void AccountOfRow(const uint8_t *account, int sign, FormulaRowState *s) {
    PString code, name, objects, type;
    GetText(account, ACVc::Code, code);
    GetText(account, ACVc::Name, name);
    GetText(CurrentJobRecord(), P::ObjectSel, objects);
    GetText(CurrentJobRecord(), P::ObjectType, type);
    PackedDecimal amounts[3];
    AccountColumnAmounts(code, objects, &amounts[0], &amounts[1], &amounts[2]);
    const int detail = Word(P::DetailLevel);
    const bool any = !DecIsZero(&amounts[0]) || !DecIsZero(&amounts[1]) || !DecIsZero(&amounts[2]);
    if (s->label[0] != 0 && (detail == 0 || (detail == 1 && any) || type[0] != 0)) {
        if (!s->printed) {
            TextLine(LineHeight, 0, s->label);
            RepRuleFull(1, 4);
        }
        s->printed = true;
        if (type[0] != 0) PrintAccountByObjects(account, name, amounts, AccountSign(account), s->keyFigure);
        else PrintAmountRow(0, code, name, amounts, AccountSign(account), s->keyFigure);
    }
    AddInto(s->sums, amounts, sign);
}

// The context of one term of a row's account formula.
struct TermOfRow {
    int sign;
    FormulaRowState *row;
};

void AccountOfTerm(const uint8_t *account, void *context) {
    const TermOfRow *t = static_cast<const TermOfRow *>(context);
    AccountOfRow(account, t->sign, t->row);
    ReportCancelled();
}

// One statement row of kind 1, 2 or 3.
struct RowWork {
    int report;
    std::vector<PackedDecimal> amounts[3];
    std::vector<int64_t> rowNumbers;
    int32_t used = 0;
    PackedDecimal keyFigure;
};

void StatementRow(const uint8_t *row, RowWork *w) {
    PString formula, label, none = {0};
    GetText(row, R::Formula, formula);
    GetText(row, R::Label, label);
    const uint16_t kind = GetU16(row, R::RowKind);
    const int sign = StatementSignFlag(GetU16(row, R::SignClass));
    if (kind == KindText) {
        TextLine(LineHeight, 0, label);
        return;
    }
    if (kind != KindAccounts && kind != KindRows) return;
    if (w->used >= int32_t(w->rowNumbers.size())) return;   // rows added while the report runs
    const int32_t entry = w->used++;
    w->rowNumbers[size_t(entry)] = GetU32(row, R::RowNr);
    if (kind == KindAccounts) {
        PackedDecimal sums[3] = {w->amounts[0][size_t(entry)], w->amounts[1][size_t(entry)],
                                 w->amounts[2][size_t(entry)]};
        AccountFormulaSum(w->report, formula, label, sums, sign, &w->keyFigure);
        for (int c = 0; c < 3; c++) w->amounts[c][size_t(entry)] = sums[c];
        return;
    }
    PackedDecimal *columns[3] = {w->amounts[0].data(), w->amounts[1].data(), w->amounts[2].data()};
    RowFormulaSum(w->report, formula, entry, columns, w->used, w->rowNumbers.data());
    if (label[0] == 0) return;
    PackedDecimal sums[3] = {columns[0][entry], columns[1][entry], columns[2][entry]};
    PrintAmountRow(0, label, none, sums, sign, &w->keyFigure);
    TextLine(LineHeight, 0, none);
}

}  // namespace

StatementColumnHeads StatementColumnTexts(bool result, int layout, bool yearToDate) {
    if (!result) {
        if (layout == 0) return {{3147, 3148, 3149}, true};
        if (layout == 2) return {{3150, 3151, 3152}, true};
        if (layout == 3) return {{3153, 3154, 3155}, true};
        return {{0, 0, 0}, true};
    }
    if (layout == 0) return {{0, yearToDate ? 3156 : 0, 3157}, true};
    if (layout == 1) return {{3158, 3159, 3160}, false};
    if (layout == 2) return {{3161, 3162, 3163}, false};
    if (layout == 3) return {{3164, 3165, 3166}, false};
    return {{0, 0, 0}, true};
}

void AccountFormulaSum(int report, const uint8_t *formula, const uint8_t *label, PackedDecimal *sums, int rowSign,
                       const PackedDecimal *keyFigure) {
    assert(formula && label && sums && CurrentJobRecord());
    (void)report;
    for (int c = 0; c < 3; c++) DecSetZero(&sums[c]);
    FormulaRowState s{label, sums, keyFigure};
    PString before, word, after, end;
    int p = 1;
    if (!RangeNumSepRun(formula, &p, before)) before[0] = 0;
    while (!CancelFlag && WordUntilSep(formula, &p, word)) {
        if (!RangeNumSepRun(formula, &p, after)) after[0] = 0;
        TermOfRow term{PStringEqualC(before, "-") ? -1 : 1, &s};
        if (PStringEqualC(after, ":")) {
            if (!WordUntilSep(formula, &p, end)) {
                AccountRangeWalk(word, nullptr, true, AccountOfTerm, &term);
                break;
            }
            if (!RangeNumSepRun(formula, &p, after)) after[0] = 0;
            AccountRangeWalk(word, end, true, AccountOfTerm, &term);
        } else {
            AccountRangeWalk(word, nullptr, true, AccountOfTerm, &term);
        }
        PStringCopy(before, after);
    }
    PString none = {0};
    if (Word(P::DetailLevel) <= 1) {
        if (!s.printed) return;
        PString line;
        GetUiText(line, 3143);
        PStringAppend(line, label);
        RepRuleFull(1, 4);
        PrintAmountRow(0, line, none, sums, rowSign, keyFigure);
        TextLine(LineHeight, 0, none);
    } else if (label[0] != 0) {
        PrintAmountRow(0, label, none, sums, rowSign, keyFigure);
    }
}

void RowFormulaSum(int report, const uint8_t *formula, int32_t row, PackedDecimal *const amounts[3], int32_t count,
                   const int64_t *rowNumbers) {
    assert(formula && amounts && rowNumbers && row >= 0 && row < count);
    (void)report;
    for (int c = 0; c < 3; c++) DecSetZero(&amounts[c][row]);
    PString before, digits, after;
    int p = 1;
    if (!RangeNonDigitRun(formula, &p, before)) before[0] = 0;
    while (RangeDigitRun(formula, &p, digits)) {
        if (!RangeNonDigitRun(formula, &p, after)) after[0] = 0;
        const int64_t number = int64_t(uint32_t(TextToLong(digits)));
        int32_t match = -1;
        for (int32_t i = 0; i < count; i++)
            if (rowNumbers[i] == number) match = i;
        if (match >= 0 && match != row) {
            const bool minus = PStringEqualC(before, "-");
            for (int c = 0; c < 3; c++) {
                if (minus) DecSub(&amounts[c][row], &amounts[c][match], &amounts[c][row]);
                else DecAdd(&amounts[c][row], &amounts[c][match], &amounts[c][row]);
            }
        }
        PStringCopy(before, after);
    }
}

void NoRowsLine(int text, int kind, int number, uint8_t *line) {
    GetUiText(line, text);
    const int type = WinTypeKeeping(kind, number);
    if (type == 0) return;
    PString title;
    GetUiText(title, WinTypeWord(type, 10));
    if (!title[0]) return;
    PStringAppendChar(line, '"');
    PStringAppend(line, title);
    PStringAppendC(line, "\".");
}

void StatementReport(ReportJob &job) {
    const uint8_t *sel = job.selection;
    assert(sel);
    const int report = int16_t(GetU16(sel, P::ReportNumber));
    const int reg = RowRegister(report);
    if (reg == 0 || CancelFlag) return;
    RowWork w;
    w.report = report;
    const uint32_t rows = RegOpenCount(reg);
    for (auto &column : w.amounts) column.assign(rows, PackedDecimal{});
    for (auto &column : w.amounts)
        for (PackedDecimal &a : column) DecSetZero(&a);
    w.rowNumbers.assign(rows, -1);
    DecFromLong(&w.keyFigure, 1);
    PString title;
    StatementTitle(sel, report, title);
    ReportFiscalYear(sel);
    RepBeginJob(title);
    if (GetU16(sel, P::AmountUnit) == 3) KeyFigure(&w.keyFigure);
    ColumnHeadings(report);
    PString type, line;
    GetText(sel, P::ObjectType, type);
    if (GetU16(sel, P::DetailLevel) == 2 && type[0] != 0) {
        GetUiText(line, 1565);
        TextLine(LineHeight, 0, line);
        RepEndJob();
        return;
    }
    RuleRecord row(reg);
    bool any = false;
    for (int32_t p = 1; row.record && !CancelFlag; p++) {
        uint32_t recid = 0;
        if (!RecReadAtIndex(reg, "Order", p, row.record, &recid)) break;
        any = true;
        StatementRow(row.record, &w);
        if (ReportCancelled()) break;
    }
    if (!any && !CancelFlag) {
        NoRowsLine(Texts::StatementNoRows, WindowKindList, reg, line);
        TextLine(HeadHeight, 0, line);
    }
    if (GetU16(sel, P::Option5) != 0 && !CancelFlag) VoucherNumberRanges(sel);
    if (GetU16(sel, P::AmountUnit) == 3 && !CancelFlag) {
        PackedDecimal shown;
        DecShiftUp2(&w.keyFigure, &shown);
        RepStartLine(LineHeight);
        RepTextNr(0, 0, 3170, 0);
        uint8_t slot[sizeof(PackedDecimal)];
        PutDec(slot, 0, shown);
        RepValue(KeyFigureX, 0, slot, FtAmount2, -1);
        RepEndLine();
    }
    RepEndJob();
}
