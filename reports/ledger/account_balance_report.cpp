// account_balance_report.cpp - report 20, the trial balance: each account
// of a range with its opening balance, change and closing balance over the
// period (result accounts counted from the fiscal year's start), a
// subtotal per account class (the code's first character) and the grand
// total; accounts whose three amounts are all zero are left out.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int ColOpening = 3, ColChange = 4, ColClosing = 5;

struct Sums {
    PackedDecimal opening, change, closing;
};

struct BalanceRun {
    PString list, objects;
    DateRec from, to, dayBefore;
    int secondKind;
    uint8_t classCode;   // the first character of the class at hand; 0 before the first
    Sums cls, grand;
};

BalanceRun *Run = nullptr;

void Zero(Sums *s) {
    DecSetZero(&s->opening);
    DecSetZero(&s->change);
    DecSetZero(&s->closing);
}

void Add(Sums *to, const Sums &s) {
    DecAdd(&to->opening, &s.opening, &to->opening);
    DecAdd(&to->change, &s.change, &to->change);
    DecAdd(&to->closing, &s.closing, &to->closing);
}

// A line of the three amounts, each negated when negate is set.
void AmountsLine(const Sums &s, bool negate) {
    Sums shown = s;
    if (negate) {
        DecNegateInto(&s.opening, &shown.opening);
        DecNegateInto(&s.change, &shown.change);
        DecNegateInto(&s.closing, &shown.closing);
    }
    LedgerAmount(ColOpening, &shown.opening);
    LedgerAmount(ColChange, &shown.change);
    LedgerAmount(ColClosing, &shown.closing);
}

// The subtotal of the class at hand: a rule, text 3248 with the class in
// quotes and its sums, a gap.
void ClassSubtotal() {
    RepRule(300, 480, 2);
    PString t;
    GetUiText(t, 3248);
    PStringAppendC(t, " \"");
    PStringAppendChar(t, Run->classCode);
    PStringAppendC(t, "\"");
    RepStartLine(15);
    RepText(0, 0, t, 0);
    AmountsLine(Run->cls, false);
    RepEndLine();
    RepStartLine(10);
    RepEndLine();
    Zero(&Run->cls);
}

// The account's three amounts over the period.
void AccountAmounts(const uint8_t *code, int type, Sums *s) {
    const uint8_t *objects = Run->objects;
    if (type <= 2) {
        AccountBalanceBefore(code, objects, &Run->from, 0, Run->secondKind, &s->opening);
        AccountBalanceAt(code, objects, &Run->to, 0, Run->secondKind, &s->closing);
    } else if (!DateIsEmpty(&YearStart)) {
        AccountBalanceChange(code, objects, &YearStart, &Run->dayBefore, 0, Run->secondKind, &s->opening);
        AccountBalanceChange(code, objects, &YearStart, &Run->to, 0, Run->secondKind, &s->closing);
    } else {
        DecSetZero(&s->opening);
        AccountBalanceChange(code, objects, &Run->from, &Run->to, 0, Run->secondKind, &s->closing);
    }
    DecSub(&s->closing, &s->opening, &s->change);
}

bool EachAccount(const uint8_t *account, void *) {
    PString code;
    GetText(account, ACVc::Code, code);
    if (Run->list[0] && !CodeListContains(code, Run->list)) return true;
    const int type = GetU16(account, ACVc::AccType);
    Sums s;
    AccountAmounts(code, type, &s);
    if (DecIsZero(&s.opening) && DecIsZero(&s.change) && DecIsZero(&s.closing)) return true;
    if (Run->classCode != 0 && code[0] > 0 && code[1] != Run->classCode) ClassSubtotal();
    Run->classCode = code[0] > 0 ? code[1] : ' ';
    RepStartLine(15);
    RepText(0, 0, code, 0);
    LedgerField(50, account, ACVc::Name, 60);
    AmountsLine(s, LedgerSignNegates(type));
    RepEndLine();
    Add(&Run->cls, s);
    Add(&Run->grand, s);
    return true;
}

}  // namespace

// The account range is SelText7 split into SelText5..SelText6, written
// back into the job as the six-column balance does.
void AccountBalanceReport(ReportJob &job) {
    uint8_t *sel = job.selection;
    assert(sel);
    BalanceRun run{};
    Run = &run;
    GetText(sel, P::SelText7, run.list);
    RangeSplitToFields(run.list, sel + P::SelText5, sel + P::SelText6, 10);
    PString first, last, extra;
    GetTextPrefix(sel, P::SelText5, 10, first);
    GetTextPrefix(sel, P::SelText6, 10, last);
    GetText(sel, P::ObjectSel, run.objects);
    GetText(sel, P::SelText1, extra);
    if (extra[0]) ExtraObjectKey(extra, run.objects);
    run.from = GetDate(sel, P::DateFrom);
    run.to = GetDate(sel, P::DateTo);
    DateAddDays(&run.from, -1, &run.dayBefore);
    run.secondKind = GetU16(sel, P::SecondKind) != 0;
    Zero(&run.cls);
    Zero(&run.grand);
    ReportFiscalYear(sel);

    RepBeginJobNr(3241);
    ReportHeadings(20, {{0, 3242}, {50, 3243}, {ColOpening, 3244, 1}, {ColChange, 3245, 1}, {ColClosing, 3246, 1}});
    if (WalkAccountRange(first, last, EachAccount, nullptr)) {
        if (run.classCode != 0) ClassSubtotal();
        RepStartLine(10);
        RepEndLine();
        RepStartLine(15);
        RepTextNr(0, 0, 3247, 0);
        AmountsLine(run.grand, false);
        RepEndLine();
        if (GetU16(sel, P::Option5) == 1) VoucherNumberRanges(run.from, run.to);
    }
    RepEndJob();
    Run = nullptr;
}
