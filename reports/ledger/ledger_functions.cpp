// ledger_functions.cpp - what formulas of the report language reach the
// ledger through: balances and movements of account formulas, for the
// job record's objects or for given ones, and the results a running
// formula-row report has computed for its earlier rows.
//
// The results table belongs to one formula-row report run at a time:
// FormulaRunBegin makes it current with the run's rows, FormulaRunEnd
// releases it. It has a row for every row of the run (at least 100) and
// 18 columns, so that a block of any length stays inside it.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/balance_sections.h"
#include "output/formula/formula.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

namespace K = KeyFigureBlk::Rows;

// The run's rows and results; rows null while no formula report runs.
struct FormulaRun {
    const uint8_t *rows = nullptr;
    int32_t count = 0;
    int32_t tableRows = 0;
    int16_t column = 0;   // the current column
    std::vector<PackedDecimal> cells;
};
FormulaRun Run;

// Functions of the language this file serves.
constexpr int FnBalance = 14, FnMovement = 15, FnRowValue = 16, FnListMovement = 19, FnObjectMovement = 21,
              FnObjectBalance = 22;

// The result of a function as the language takes it: the amount as text
// (no thousands groups), read back as a REAL.
void PushAmount(const PackedDecimal *amount) {
    PString text;
    FieldToText(reinterpret_cast<const uint8_t *>(amount), FtAmount2, text);
    VmPushPString(text);
    VmToReal();
}

// Adds (sign 1) or subtracts (-1) the period amounts of one account.
void AddAccount(const uint8_t *account, const uint8_t *objects, int sign, PackedDecimal *sums) {
    PackedDecimal a[3];
    AccountPeriodAmounts(account, objects, &a[0], &a[1], &a[2]);
    for (int c = 0; c < 3; c++) {
        if (sign < 0) DecSub(&sums[c], &a[c], &sums[c]);
        else DecAdd(&sums[c], &a[c], &sums[c]);
    }
}

// The context of one term of a function's formula.
struct TermSums {
    const uint8_t *objects;
    int sign;
    PackedDecimal *sums;
};

void AddAccountOfTerm(const uint8_t *account, void *context) {
    const TermSums *t = static_cast<const TermSums *>(context);
    PString code;
    GetText(account, ACVc::Code, code);
    AddAccount(code, t->objects, t->sign, t->sums);
}

// Pops the account formula (the top argument) and, for the functions of
// two arguments, the objects below it.
void PopArguments(int n, uint8_t *formula, uint8_t *objects) {
    VmPopString(formula);
    objects[0] = 0;
    if (n == FnListMovement) {
        VmPopString(objects);
        if (objects[0] > 30) objects[0] = 30;
        NormalizeObjectList(objects);
    } else if (n == FnObjectMovement || n == FnObjectBalance) {
        PString code;
        VmPopString(code);
        if (code[0] > 5) code[0] = 5;
        ExtraObjectKey(code, objects);
    } else if (const uint8_t *selection = CurrentJobRecord()) {
        GetText(selection, ReportParamsVc::ObjectSel, objects);
    }
}

// The value of the row coded code in the current column: the running
// formula report's table, else the key-figure export's.
void RowValue(const uint8_t *code, PackedDecimal *out) {
    DecSetBlank(out);
    if (Run.rows) {
        FormulaResultAt(FindFormulaRow(code), out);
        return;
    }
    KeyFigureResultOfRow(code, out);
}

}  // namespace

bool FormulaRunBegin(const uint8_t *rows, int32_t count) {
    if (Run.rows) return false;
    Run.rows = rows;
    Run.count = count < 0 ? 0 : count;
    Run.tableRows = Run.count > ResultRowsMin ? Run.count : ResultRowsMin;
    Run.column = 0;
    Run.cells.assign(size_t(Run.tableRows) * ResultColumns, PackedDecimal{});
    for (PackedDecimal &c : Run.cells) DecSetBlank(&c);
    return true;
}

void FormulaRunEnd() {
    Run.rows = nullptr;
    Run.count = 0;
    Run.tableRows = 0;
    Run.column = 0;
    std::vector<PackedDecimal>().swap(Run.cells);
}

int32_t FindFormulaRow(const uint8_t *code) {
    assert(code);
    PString own;
    for (int32_t i = 0; Run.rows && i < Run.count; i++) {
        GetText(Run.rows + size_t(i) * K::Size, K::Code, own);
        if (PStringEqual(own, code)) return i;
    }
    return -1;
}

bool FormulaResultPut(int32_t row, const PackedDecimal *value) {
    if (!Run.rows || row < 0 || row >= Run.tableRows) return false;
    Run.cells[size_t(row) * ResultColumns + size_t(Run.column)] = *value;
    return true;
}

bool FormulaResultAt(int32_t row, PackedDecimal *out) {
    DecSetBlank(out);
    if (!Run.rows || row < 0 || row >= Run.tableRows) return false;
    *out = Run.cells[size_t(row) * ResultColumns + size_t(Run.column)];
    return true;
}

void AccountRangeWalk(const uint8_t *start, const uint8_t *end, bool either, void (*each)(const uint8_t *, void *),
                      void *context) {
    assert(start && each);
    RuleRecord account(ACVc::Number);
    if (!account.record) return;
    PString from, to, code;
    PStringCopy(from, start);
    if (from[0] > 10) from[0] = 10;
    PutText(account.record, ACVc::Code, from);
    uint32_t recid = 0, position = 0;
    if (!end) {
        if (RecFindByIndex(ACVc::Number, "Code", account.record, 1, 1, &recid, &position)) each(account.record, context);
        return;
    }
    PStringCopy(to, end);
    if (to[0] > 10) to[0] = 10;
    const bool up = PStringCompareCollate(from, to) <= 0;
    if (!up && !either) return;
    const uint8_t *high = up ? to : from, *low = up ? from : to;
    const bool found = RecFindByIndex(ACVc::Number, "Code", account.record, 1, 0, &recid, &position);
    int32_t p = int32_t(position);
    if (!up && !found) p = int32_t(RegRecordCount(ACVc::Number));
    for (bool first = found; p >= 1; p += up ? 1 : -1, first = false) {
        if (!first && !RecReadAtIndex(ACVc::Number, "Code", p, account.record, &recid)) break;
        GetText(account.record, ACVc::Code, code);
        // Walking down, the walk starts at the first account at or after
        // start, which may lie above it.
        if (PStringCompareCollate(code, high) > 0) {
            if (up) break;
            continue;
        }
        if (PStringCompareCollate(code, low) < 0) {
            if (up) continue;
            break;
        }
        each(account.record, context);
        if (CancelFlag) break;
    }
}

void AccountRangeSum(const uint8_t *formula, const uint8_t *objects, PackedDecimal *opening,
                     PackedDecimal *movement, PackedDecimal *closing) {
    assert(formula && objects && opening && movement && closing);
    PackedDecimal sums[3];
    for (PackedDecimal &s : sums) DecSetZero(&s);
    PString before, start, after, end;
    int p = 1;
    if (!RangeNonDigitRun(formula, &p, before)) before[0] = 0;
    while (RangeDigitRun(formula, &p, start)) {
        if (!RangeNonDigitRun(formula, &p, after)) after[0] = 0;
        TermSums term{objects, PStringEqualC(before, "-") ? -1 : 1, sums};
        if (PStringEqualC(after, ":") && RangeDigitRun(formula, &p, end)) {
            if (!RangeNonDigitRun(formula, &p, after)) after[0] = 0;
            AccountRangeWalk(start, end, false, AddAccountOfTerm, &term);
        } else {
            AccountRangeWalk(start, nullptr, false, AddAccountOfTerm, &term);
        }
        PStringCopy(before, after);
    }
    *opening = sums[0];
    *movement = sums[1];
    *closing = sums[2];
}

void ReportBalanceFunction(int n) {
    if (n != FnBalance && n != FnMovement && n != FnRowValue && n != FnListMovement && n != FnObjectMovement &&
        n != FnObjectBalance)
        return;
    const uint8_t thousands = ThousandsFlag;
    ThousandsFlag = 0;
    PackedDecimal amount;
    if (n == FnRowValue) {
        PString code;
        VmPopString(code);
        RowValue(code, &amount);
    } else {
        PString formula, objects;
        PopArguments(n, formula, objects);
        PackedDecimal opening, movement, closing;
        AccountRangeSum(formula, objects, &opening, &movement, &closing);
        amount = (n == FnBalance || n == FnObjectBalance) ? closing : movement;
    }
    PushAmount(&amount);
    ThousandsFlag = thousands;
}

// Every number of the ledger's range gets the function, those that do
// nothing (17, 18, 20) too: an empty entry would refuse the run.
void ReportFunctionsInstall() {
    for (int n = LedgerBalanceFunctionFirst; n <= LedgerBalanceFunctionLast; n++)
        VmSetBalanceFunction(n, ReportBalanceFunction);
}
