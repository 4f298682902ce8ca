// rate_account_report.cpp - report 82, the rate accounts: for each entry
// of register 100 (an account with objects and a rate code) the opening
// balance and the interest its balance earned over the period, span by
// span of the rate records in force (register 102); a line per entry
// (detailed form) or the entry's texts with a line per part of constant
// balance (summary form), and the grand total.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
namespace E = RateAccVc;

// The interest of one entry over the period [from, to]; false when Esc
// stopped it. Without a rate record a span only moves the balance.
bool EntryInterest(const uint8_t *selection, const uint8_t *entry, const DateRec &from, const DateRec &to, PackedDecimal *balance,
                   PackedDecimal *amount) {
    PString account, objects, rateCode;
    GetText(entry, E::Account, account);
    GetText(entry, E::Objects, objects);
    GetText(entry, E::RateCode, rateCode);
    const int secondKind = GetU16(selection, P::SecondKind) != 0;
    uint8_t balanceRecord[BLVc::Size];
    const bool hasBalances = BalanceRecordFind(account, objects, balanceRecord);
    RuleRecord rate(IntRateVc::Number);
    if (!rate.record) return true;
    DateRec start = from;
    // Each span ends on or after its start, so the walk reaches `to`.
    while (DateCompare(&start, &to) <= 0) {
        DateRec end;
        const bool hasRate = InterestRateSpan(rateCode, &start, rate.record, &end);
        if (DateIsEmpty(&end) || DateCompare(&end, &to) > 0) end = to;
        if (DateCompare(&end, &start) < 0) end = start;
        if (hasRate) {
            if (!AccountInterestOverPostings(account, objects, &start, &end, balance, rate.record, amount))
                return false;
        } else if (hasBalances) {
            PackedDecimal change;
            AccountBalanceChange(account, objects, &start, &end, 0, secondKind, &change);
            DecAdd(balance, &change, balance);
        }
        RecFreeMatrix(IntRateVc::Number, rate.record);
        if (ReportCancelled()) return false;
        DateAddDays(&end, 1, &start);
    }
    return true;
}

}  // namespace

void Register100Report(ReportJob &job) {
    assert(job.selection);
    const bool summary = GetU16(job.selection, P::ReportLayout) == 1;
    const DateRec from = GetDate(job.selection, P::DateFrom), to = GetDate(job.selection, P::DateTo);
    PString range, first, last;
    GetText(job.selection, P::SelText1, range);
    RangeSplit(range, first, last);
    RepBeginJobNr(5081);
    if (!summary) {
        ReportHeadings(15, {{0, 5082}, {80, 5083}, {200, 5084}, {300, 5085, 1}, {470, 5086, 1}});
        RepRuleFull(1, 4);
    }
    PackedDecimal total;
    DecSetZero(&total);
    RuleRecord entry(E::Number);
    bool whole = entry.record != nullptr;
    uint32_t recid = 0, position = 0;
    if (whole) PutText(entry.record, E::Code, first);
    if (whole && RecFindByIndex(E::Number, "Code", entry.record, 1, 0, &recid, &position)) {
        PString code, account, objects;
        for (uint32_t p = position; whole; p++) {
            if (p != position && !RecReadAtIndex(E::Number, "Code", (int32_t)p, entry.record, &recid)) break;
            GetText(entry.record, E::Code, code);
            if (last[0] && PStringCompare(code, last) > 0) break;
            if (summary) {
                RepStartLine(15);
                LedgerField(0, entry.record, E::Code, 20);
                LedgerField(100, entry.record, E::Text1, 60);
                LedgerField(250, entry.record, E::Text2, 60);
                LedgerField(350, entry.record, E::Text3, 60);
                RepEndLine();
                RepRuleFull(1, 4);
            }
            GetText(entry.record, E::Account, account);
            GetText(entry.record, E::Objects, objects);
            PackedDecimal opening, balance, amount;
            AccountBalanceBefore(account, objects, &from, 0, GetU16(job.selection, P::SecondKind) != 0, &opening);
            balance = opening;
            DecSetZero(&amount);
            if (!DateIsEmpty(&from) && !DateIsEmpty(&to)) whole = EntryInterest(job.selection, entry.record, from, to, &balance, &amount);
            if (!whole) break;
            if (summary) {
                RepRule(400, 470, 2);
                RepStartLine(15);
                LedgerAmount(470, &amount);
                RepEndLine();
                RepStartLine(15);
                RepEndLine();
                RepRuleFull(1, 4);
            } else {
                RepStartLine(15);
                LedgerField(0, entry.record, E::Code, 20);
                LedgerField(80, entry.record, E::Text1, 60);
                LedgerField(200, entry.record, E::RateCode, 5);
                LedgerAmount(300, &opening);
                LedgerAmount(470, &amount);
                RepEndLine();
            }
            DecAdd(&total, &amount, &total);
            if (ReportCancelled()) whole = false;
        }
    }
    if (whole) {
        RepStartLine(15);
        LedgerAmount(470, &total);
        RepEndLine();
    }
    RepEndJob();
}
