// trial_balance_report.cpp - report 61, the six-column trial balance:
// for each account of a range the opening, period and closing debit and
// credit and the closing balance as one signed amount, subtotals
// per group (the code's first three characters) and per class (its first
// character), and the grand total. On the preview only the period pair
// and the closing balance are shown.
//
// The opening is the balance before the start date plus the transaction
// rows between the start date and the from-date (the start is the
// from-date, or an earlier second period's date); the period and closing
// pairs take the rows of vouchers, person entries and opening balances up
// to the to-date, and of preliminary entries with the second balance
// kind, as the balances count them.
#include <algorithm>
#include <cassert>
#include <map>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/column_fit.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
enum Pair { Opening, Period, Closing, PairCount };

// One account's six amounts: debit and credit of each pair.
struct TrialEntry {
    PString code, name;
    PackedDecimal debit[PairCount], credit[PairCount];
};

void AddToPair(TrialEntry *e, Pair pair, const PackedDecimal *amount) {
    PackedDecimal *side = DecCompareDouble(amount, 0) > 0 ? &e->debit[pair] : &e->credit[pair];
    DecAdd(side, amount, side);
}

void ZeroEntry(TrialEntry *e) {
    for (int p = 0; p < PairCount; p++) {
        DecSetZero(&e->debit[p]);
        DecSetZero(&e->credit[p]);
    }
}

void AddEntry(TrialEntry *to, const TrialEntry &e) {
    for (int p = 0; p < PairCount; p++) {
        DecAdd(&to->debit[p], &e.debit[p], &to->debit[p]);
        DecAdd(&to->credit[p], &e.credit[p], &to->credit[p]);
    }
}

bool EntryIsZero(const TrialEntry &e) {
    for (int p = 0; p < PairCount; p++)
        if (!DecIsZero(&e.debit[p]) || !DecIsZero(&e.credit[p])) return false;
    return true;
}

// The columns (stops of the report's layout) of the debit and credit of
// each pair, on the printer and on the preview (the period pair alone),
// and of the closing balance.
constexpr int DebitAt[PairCount] = {9, 3, 5}, CreditAt[PairCount] = {8, 4, 6};
constexpr int PreviewDebitAt = 3, PreviewCreditAt = 5, BalanceAt = 1;

// The six columns and the closing balance of an entry or a subtotal.
// Debits and credits print as positive amounts under their headings; the
// balance is one signed amount, a credit balance negative, so that it
// cannot be read as a debit.
void PrintColumns(const TrialEntry &e, bool preview) {
    for (int p = 0; p < PairCount; p++) {
        if (preview && p != Period) continue;
        PackedDecimal credit;
        DecNegateInto(&e.credit[p], &credit);
        LedgerAmount(preview ? PreviewDebitAt : DebitAt[p], &e.debit[p]);
        LedgerAmount(preview ? PreviewCreditAt : CreditAt[p], &credit);
    }
    PackedDecimal net;
    DecAdd(&e.debit[Closing], &e.credit[Closing], &net);
    LedgerAmount(BalanceAt, &net);
}

// Where an entry's name must end: a gap before the leftmost text of the
// amounts its line prints, each standing right-aligned at its column, so
// that a long name ("Goods received, not invoiced") is cut rather than run
// into the first amount.
constexpr int NameX = 50;
int NameEnd(const TrialEntry &e, bool preview) {
    int end = RepPositionUnits(BalanceAt);
    for (int p = 0; p < PairCount; p++) {
        if (preview && p != Period) continue;
        end = std::min(end, RepAmountStart(preview ? PreviewDebitAt : DebitAt[p], e.debit[p]));
        end = std::min(end, RepAmountStart(preview ? PreviewCreditAt : CreditAt[p], e.credit[p]));
    }
    return end - RepColumnGap;
}

// The column headings on two lines: the pair's name over its credit
// column, then "Debit" and "Credit" over each column. The columns are
// narrower than a heading such as "Period credit", which the printer
// would wrap onto a line of its own; every printed column has one.
void Headings(bool preview) {
    RepStartLine(15);
    RepTextNr(0, 0, 3462, 0);
    if (preview) {
        RepTextNr(PreviewCreditAt, 0, Texts::TrialPeriod, 1);
    } else {
        RepTextNr(CreditAt[Opening], 0, 3468, 1);
        RepTextNr(CreditAt[Period], 0, Texts::TrialPeriod, 1);
        RepTextNr(CreditAt[Closing], 0, Texts::TrialClosing, 1);
    }
    RepTextNr(BalanceAt, 0, 3467, 1);
    RepEndLine();
    RepStartLine(15);
    for (int p = 0; p < PairCount; p++) {
        if (preview && p != Period) continue;
        RepTextNr(preview ? PreviewDebitAt : DebitAt[p], 0, Texts::TrialDebit, 1);
        RepTextNr(preview ? PreviewCreditAt : CreditAt[p], 0, Texts::TrialCredit, 1);
    }
    RepEndLine();
    RepRuleFull(1, 4);
}

struct TrialRun {
    bool preview, sumsOnly, groupSums, secondKind;
    PString objects;
    ObjectSlots wanted;
    DateRec start, from, to, date2To;
    std::vector<TrialEntry> entries;
    std::map<std::string, size_t> byCode;
};

TrialRun *Run = nullptr;

// Adds the row amount of account dated date to its entry's pairs.
void AddRow(const uint8_t *account, const uint8_t *objects, const DateRec &date, const PackedDecimal *amount) {
    if (!ObjectListContainsAll(&Run->wanted, objects)) return;
    auto at = Run->byCode.find(PStringToStd(account));
    if (at == Run->byCode.end()) return;
    TrialEntry *e = &Run->entries[at->second];
    AddToPair(e, Closing, amount);
    if (DateCompare(&date, &Run->from) >= 0) AddToPair(e, Period, amount);
    else if (DateIsEmpty(&Run->date2To) || DateCompare(&date, &Run->date2To) < 0) AddToPair(e, Opening, amount);
}

// The rows of register reg (vouchers or person entries) dated from the
// start to the to-date, by "TransDate"; false when Esc stopped the walk.
bool AddTransactions(int reg, uint32_t dateAt) {
    RuleRecord r(reg);
    if (!r.record) return true;
    PutDate(r.record, dateAt, Run->start);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(reg, "TransDate", r.record, 1, 0, &recid, &position)) return true;
    uint8_t row[TransRow::Size];
    PString account, objects;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(reg, r.record);
            if (!RecReadAtIndex(reg, "TransDate", (int32_t)p, r.record, &recid)) break;
        }
        const DateRec date = GetDate(r.record, dateAt);
        if (!DateIsEmpty(&Run->to) && DateCompare(&date, &Run->to) > 0) break;
        const int32_t n = MatrixRowCount(reg, 0, r.record);
        for (int32_t i = 0; i < n; i++) {
            if (!MatrixRowRead(reg, r.record, i, row)) break;
            if (reg == Voucher::Number) {
                if (GetU16(row, TransRow::Kind) != RowAccount || GetU16(row, TransRow::Flag) != 0) continue;
                GetText(row, TransRow::Account, account);
                GetText(row, TransRow::Objects, objects);
                const PackedDecimal amount = GetDec(row, TransRow::Amount);
                AddRow(account, objects, date, &amount);
            } else {
                GetText(row, Sp1Row::Account, account);
                GetText(row, Sp1Row::Objects, objects);
                const PackedDecimal amount = GetDec(row, Sp1Row::Amount);
                AddRow(account, objects, date, &amount);
            }
        }
        if (ReportCancelled()) {
            RecFreeMatrix(reg, r.record);
            return false;
        }
    }
    RecFreeMatrix(reg, r.record);
    return true;
}

// The opening-balance records (register 51) and, with the second balance
// kind, the preliminary entries (register 9) dated from the start to the
// to-date: the balances count them, so the closing pair must too. Neither
// register is ordered by date; both are read whole. False when Esc
// stopped the walk.
bool AddEntryRecords() {
    const bool secondKind = Run->secondKind;
    RuleRecord fb1(OpenBalVc::Number), sm1(SMVc::Number);
    if (!fb1.record || !sm1.record) return true;
    uint8_t row[TransRow::Size];
    PString account, objects;
    uint32_t recid = 0;
    for (int32_t p = 1;; p++) {   // positions count from 1
        RecFreeMatrix(OpenBalVc::Number, fb1.record);
        if (!RecReadAt(OpenBalVc::Number, p, fb1.record, &recid)) break;
        const DateRec date = GetDate(fb1.record, OpenBalVc::TransDate);
        const bool kindOne = GetU16(fb1.record, OpenBalVc::PostKind) != 0;
        if ((!kindOne || secondKind) && DateCompare(&date, &Run->start) >= 0 &&
            (DateIsEmpty(&Run->to) || DateCompare(&date, &Run->to) <= 0)) {
            GetText(fb1.record, OpenBalVc::Objects, objects);
            const int32_t n = MatrixRowCount(OpenBalVc::Number, 0, fb1.record);
            for (int32_t i = 0; i < n && MatrixRowRead(OpenBalVc::Number, fb1.record, i, row); i++) {
                GetText(row, Fb1Row::Account, account);
                const PackedDecimal amount = GetDec(row, Fb1Row::Amount);
                AddRow(account, objects, date, &amount);
            }
        }
        if (ReportCancelled()) return false;
    }
    RecFreeMatrix(OpenBalVc::Number, fb1.record);
    for (int32_t p = 1; secondKind; p++) {
        RecFreeMatrix(SMVc::Number, sm1.record);
        if (!RecReadAt(SMVc::Number, p, sm1.record, &recid)) break;
        const DateRec date = GetDate(sm1.record, SMVc::Date);
        if (DateCompare(&date, &Run->start) >= 0 && (DateIsEmpty(&Run->to) || DateCompare(&date, &Run->to) <= 0)) {
            const int32_t n = MatrixRowCount(SMVc::Number, 0, sm1.record);
            for (int32_t i = 0; i < n && MatrixRowRead(SMVc::Number, sm1.record, i, row); i++) {
                GetText(row, AccountRow::Account, account);
                GetText(row, AccountRow::Objects, objects);
                const PackedDecimal amount = GetDec(row, AccountRow::Amount);
                AddRow(account, objects, date, &amount);
            }
        }
        if (ReportCancelled()) return false;
    }
    RecFreeMatrix(SMVc::Number, sm1.record);
    return true;
}

bool EachAccount(const uint8_t *account, void *) {
    TrialEntry e;
    ZeroEntry(&e);
    GetText(account, ACVc::Code, e.code);
    GetText(account, ACVc::Name, e.name);
    PackedDecimal before;
    AccountBalanceBefore(e.code, Run->objects, &Run->start, 0, Run->secondKind, &before);
    AddToPair(&e, Opening, &before);
    if (!DecIsZero(&before)) AddToPair(&e, Closing, &before);
    Run->byCode[PStringToStd(e.code)] = Run->entries.size();
    Run->entries.push_back(e);
    return true;
}

// A subtotal line labelled text (a group's code or a class's label).
void SubtotalLine(const uint8_t *label, const TrialEntry &sums) {
    if (!Run->sumsOnly) RepRuleFull(1, 2);
    RepStartLine(15);
    RepText(0, 0, label, 0);
    PrintColumns(sums, Run->preview);
    RepEndLine();
    if (!Run->sumsOnly) {
        RepStartLine(10);
        RepEndLine();
    }
}

// Prints the entries with their group and class subtotals and the total.
void PrintEntries() {
    TrialEntry group, cls, grand;
    ZeroEntry(&group);
    ZeroEntry(&cls);
    ZeroEntry(&grand);
    PString groupCode = {0}, classLabel, quoted;
    int groupCount = 0;
    uint8_t classCode = 0;
    auto endGroup = [&]() {
        if (groupCount > 1 && Run->groupSums) SubtotalLine(groupCode, group);
        ZeroEntry(&group);
        groupCount = 0;
    };
    auto endClass = [&]() {
        GetUiText(classLabel, 3248);
        PStringFromC(quoted, " \"");
        PStringAppendChar(quoted, classCode);
        PStringAppendC(quoted, "\"");
        PStringAppend(classLabel, quoted);
        SubtotalLine(classLabel, cls);
        ZeroEntry(&cls);
    };
    bool any = false;
    for (const TrialEntry &e : Run->entries) {
        if (EntryIsZero(e)) continue;
        PString code3;
        PStringCopy(code3, e.code);
        if (code3[0] > 3) code3[0] = 3;
        const uint8_t first = e.code[0] ? e.code[1] : ' ';
        if (any && !PStringEqual(code3, groupCode)) endGroup();
        if (any && first != classCode) endClass();
        any = true;
        PStringCopy(groupCode, code3);
        classCode = first;
        groupCount++;
        if (!Run->sumsOnly) {
            RepStartLine(15);
            RepText(0, 0, e.code, 0);
            PString name;
            PStringCopy(name, e.name);
            RepCutToUnits(name, NameEnd(e, Run->preview) - NameX);
            RepText(NameX, 0, name, 0);
            PrintColumns(e, Run->preview);
            RepEndLine();
        }
        AddEntry(&group, e);
        AddEntry(&cls, e);
        AddEntry(&grand, e);
    }
    if (any) {
        endGroup();
        endClass();
    }
    if (!Run->sumsOnly) RepRuleFull(1, 4);
    PString total;
    GetUiText(total, 3247);
    SubtotalLine(total, grand);
}

}  // namespace

// The account range is SelText7 split into SelText5..SelText6, written
// back into the job so that what follows in the run sees the range used.
void LedgerReport61(ReportJob &job) {
    uint8_t *sel = job.selection;
    assert(sel);
    TrialRun run{};
    Run = &run;
    run.preview = GetU16(sel, P::OutputKind) == OutPreview;
    run.sumsOnly = GetU16(sel, P::Option2) == 1;
    run.groupSums = GetU16(sel, P::Option9) != 0;
    run.secondKind = GetU16(sel, P::SecondKind) != 0;
    GetText(sel, P::ObjectSel, run.objects);
    ParseObjectList(run.objects, &run.wanted);
    run.from = GetDate(sel, P::DateFrom);
    run.to = GetDate(sel, P::DateTo);
    run.date2To = GetDate(sel, P::Date2To);
    const DateRec date2From = GetDate(sel, P::Date2From);
    run.start = DateIsEmpty(&date2From) ? run.from : date2From;
    if (!DateIsEmpty(&run.date2To) && DateCompare(&run.date2To, &run.start) < 0) run.start = run.date2To;
    PString range, first, last;
    GetText(sel, P::SelText7, range);
    RangeSplitToFields(range, sel + P::SelText5, sel + P::SelText6, 10);
    GetTextPrefix(sel, P::SelText5, 10, first);
    GetTextPrefix(sel, P::SelText6, 10, last);

    RepBeginJobNr(3461);
    Headings(run.preview);
    const bool whole = WalkAccountRange(first, last, EachAccount, nullptr) &&
                       AddTransactions(Voucher::Number, Voucher::TransDate) &&
                       AddTransactions(PersEntryVc::Number, PersEntryVc::TransDate) && AddEntryRecords();
    if (whole) {
        PrintEntries();
        if (GetU16(sel, P::Option5) != 0) VoucherNumberRanges(run.from, run.to);
    }
    RepEndJob();
    Run = nullptr;
}
