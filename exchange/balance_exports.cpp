// balance_exports.cpp - the account balance exports for other systems:
// the movement of each account of a range month by month (kind 10) and
// one balance per account (kind 11). Lines of TAB-separated fields, no
// section tags.
//
// Selection: the first range text is the account range, ObjectSel the
// object list of the balance records, DateFrom and DateTo the dates.
#include <algorithm>
#include <iterator>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/code_walk.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "reports/ledger/ledger_reports.h"

namespace {

// Calls each(from, to) for every month step of the selection: from the
// first date to the end of its month, then on a month at a time while
// the month end is not after the last date. The count of steps.
template <typename Each>
int MonthSteps(const DateRec &first, const DateRec &last, Each each)
{
    int steps = 0;
    DateRec running = first;
    for (int guard = 0; guard < 1200 && !DateIsEmpty(&running); guard++) {
        DateRec end;
        DateMonthEnd(&running, &end);
        if (DateCompare(&end, &last) > 0) break;
        each(running, end);
        steps++;
        DateRec next;
        DateNextMonth(&running, &next);
        running = next;
    }
    return steps;
}

// Walks the accounts from the first code of the range to its last (an
// empty last: to the register's end) in code order, until the job stops.
template <typename Each>
void WalkAccounts(const uint8_t *from, const uint8_t *to, Each each)
{
    WalkCodeRange(ACVc::Number, ACVc::Code, 10, from, to, [&](const uint8_t *account, const uint8_t *) { each(account); });
}

// The selection's object list and whether the account has a balance
// record with it.
bool HasBalanceRecord(const uint8_t *account, const uint8_t *objects)
{
    std::vector<uint8_t> balance(RegRecordSize(BLVc::Number), 0);
    PString code;
    GetText(account, ACVc::Code, code);
    bool found = BalanceRecordFind(code, objects, balance.data());
    RecFreeMatrix(BLVc::Number, balance.data());
    return found;
}

void WriteZero()
{
    PackedDecimal zero;
    DecSetZero(&zero);
    ExportValue(&zero, FtAmount2);
}

}  // namespace

// Kind 10: per account of the range, code, name and its movement in each
// month of the selection. An account without a balance record writes one
// zero per month, so that every line has the same columns.
void BalanceMonthsExport(const ReportJob &job)
{
    if (!job.selection) return;
    PString from = {0}, to = {0}, objects = {0};
    RangeSplit(job.selection + ReportParamsVc::SelText1, from, to);
    GetText(job.selection, ReportParamsVc::ObjectSel, objects);
    const DateRec first = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec last = GetDate(job.selection, ReportParamsVc::DateTo);
    WalkAccounts(from, to, [&](const uint8_t *account) {
        ExportValue(account + ACVc::Code, FtText);
        ExportValue(account + ACVc::Name, FtText);
        PString code;
        GetText(account, ACVc::Code, code);
        const bool has = HasBalanceRecord(account, objects);
        MonthSteps(first, last, [&](const DateRec &a, const DateRec &b) {
            if (!has) {
                WriteZero();
                return;
            }
            PackedDecimal change;
            AccountBalanceChange(code, objects, &a, &b, 0, 0, &change);
            ExportValue(&change, FtAmount2);
        });
    });
}

// Kind 11: per account, code, name and one amount: the balance at the last
// date for balance-sheet accounts (types 0 to 2), the movement over the
// dates for result accounts (3 and 4), 0 otherwise or without a balance
// record; negated where the company's sign word of the type is 1.
void AccountBalanceListExport(const ReportJob &job)
{
    if (!job.selection) return;
    PString none = {0}, objects = {0};
    GetText(job.selection, ReportParamsVc::ObjectSel, objects);
    const DateRec first = GetDate(job.selection, ReportParamsVc::DateFrom);
    const DateRec last = GetDate(job.selection, ReportParamsVc::DateTo);
    uint8_t company[CompanyBlk::Size] = {0};
    if (!SettingsBlockRead(CompanyBlk::Number, company, sizeof company)) std::fill(std::begin(company), std::end(company), 0);
    WalkAccounts(none, none, [&](const uint8_t *account) {
        ExportValue(account + ACVc::Code, FtText);
        ExportValue(account + ACVc::Name, FtText);
        PString code;
        GetText(account, ACVc::Code, code);
        const uint16_t type = GetU16(account, ACVc::AccType);
        PackedDecimal amount;
        DecSetZero(&amount);
        if (HasBalanceRecord(account, objects)) {
            if (type <= 2) AccountBalanceAt(code, objects, &last, 0, 0, &amount);
            else if (type <= 4) AccountBalanceChange(code, objects, &first, &last, 0, 0, &amount);
        }
        if (type <= 4 && GetU16(company, CompanyBlk::SignA0 + 2u * type) == 1) {
            PackedDecimal v = amount;
            DecNegateInto(&v, &amount);
        }
        ExportValue(&amount, FtAmount2);
    });
}
