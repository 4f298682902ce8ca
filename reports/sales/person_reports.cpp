// person_reports.cpp - the employee and person-entry reports (100 to
// 104); see person_reports.h. Walks stop after the record at hand on Esc.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/person_entries.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/person_reports.h"
#include "rules/accounts.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
namespace E = PersEntryVc;
namespace W = EmployeeVc;
namespace L = CashBlk::Rows;

constexpr int LineHeight = 15, CodeMax = 10, DepMax = 5, NameMax = 60;
constexpr int StopEnd = 1;

void Amount(int x, const PackedDecimal &amount, int type = FtAmount2, int align = -1) {
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, amount);
    RepValue(x, 0, slot, type, align);
}
void Text(int x, const uint8_t *text, int align = 0) { RepTextEx(x, -1, 0, align, 0, text); }
void EmptyLine(int h) {
    RepStartLine(h);
    RepEndLine();
}

// The entry's summed amount on account; blank when it has no row there.
PackedDecimal EntryAccountSum(const uint8_t *entry, const uint8_t *account) {
    PackedDecimal sum;
    DecSetBlank(&sum);
    uint8_t row[E::Rows::Size];
    PString code;
    for (int32_t i = 0, n = MatrixRowCount(E::Number, 0, entry); i < n; i++) {
        if (!MatrixRowRead(E::Number, entry, i, row)) break;
        GetText(row, E::Rows::Account, code);
        if (!PStringEqual(code, account)) continue;
        const PackedDecimal a = GetDec(row, E::Rows::Amount);
        DecAdd(&sum, &a, &sum);
    }
    return sum;
}

// The text of block 216 for account; empty when it is not listed.
void ListedAccountText(const uint8_t *account, uint8_t *text) {
    text[0] = 0;
    SettingsRows rows(CashBlk::Number, &Block216Rows, L::Size);
    PString code;
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + size_t(i) * L::Size;
        GetText(row, L::Account, code);
        if (!PStringEqual(code, account)) continue;
        GetText(row, L::Text, text);
        return;
    }
}

void ListedLines(const uint8_t *entry, ListedAccountTable *table, PackedDecimal *total) {
    SettingsRows rows(CashBlk::Number, &Block216Rows, L::Size);
    PString account, text;
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + size_t(i) * L::Size;
        GetText(row, L::Account, account);
        PackedDecimal sum = EntryAccountSum(entry, account);
        if (DecIsBlank(&sum)) continue;
        DecNegateInto(&sum, &sum);
        DecAdd(total, &sum, total);
        GetText(row, L::Text, text);
        RepStartLine(LineHeight);
        Text(0, text);
        Amount(180, sum);
        RepTextNr(210, 0, 6050, 0);
        RepEndLine();
        if (!table) continue;
        ListedAccountSum &kept = SumRowOf(*table, account);
        DecAdd(&kept.amount, &sum, &kept.amount);
    }
}

// The employee's line of reports 102 and 103.
void PersonLine(const uint8_t *person, int firstX, int lastX, uint32_t lastField, int lastWidth) {
    RepStartLine(LineHeight);
    RepTextField(0, person, W::PerCode);
    RepTextField(130, person, W::Name);
    RepTextField(firstX, person, W::Position);
    RepTextField(lastX, person, lastField, lastWidth);
    RepEndLine();
}

}  // namespace

void DepartmentName(const uint8_t *code, uint8_t *result) {
    assert(code && result);
    result[0] = 0;
    if (code[0] == 0) return;
    RuleRecord dep(DepartmentVc::Number);
    if (!dep.record) return;
    PutText(dep.record, DepartmentVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(DepartmentVc::Number, dep.record, 1, 1, &recid, &position))
        GetText(dep.record, DepartmentVc::Name, result);
}

bool EntryHasListedAccount(const uint8_t *entry) {
    assert(entry);
    SettingsRows rows(CashBlk::Number, &Block216Rows, L::Size);
    PString account;
    for (int32_t i = 0; i < rows.count; i++) {
        GetText(rows.data + size_t(i) * L::Size, L::Account, account);
        PackedDecimal sum = EntryAccountSum(entry, account);
        if (!DecIsBlank(&sum)) return true;
    }
    return false;
}

void ListedAccountLines(const uint8_t *entry, ListedAccountTable *table, PackedDecimal *total) {
    assert(entry && table && total);
    ListedLines(entry, table, total);
}

void ListedAccountLinesPreview(const uint8_t *entry, PackedDecimal *total) {
    assert(entry && total);
    ListedLines(entry, nullptr, total);
}

void ListedAccountSummary(const ListedAccountTable &table, int xText, int xAmount) {
    PString text;
    for (const ListedAccountSum &s : table) {
        ListedAccountText(s.code, text);
        RepStartLine(LineHeight);
        Text(xText, text);
        Amount(xAmount, s.amount);
        RepEndLine();
    }
}

void EntryRowLine(int kind, const uint8_t *row) {
    assert(row);
    PString account, name;
    GetText(row, E::Rows::Account, account);
    GetText(row, E::Rows::Name, name);
    if (kind == 15 && name[0] == 0) AccountNameOf(account, name, NameMax);
    const PackedDecimal amount = GetDec(row, E::Rows::Amount);
    RepStartLine(LineHeight);
    Text(20, account);
    RepTextField(60, row, E::Rows::Objects);
    Text(160, name);
    Amount(380, amount, FtDebit);
    Amount(StopEnd, amount, FtCredit);
    RepEndLine();
}

// Report 102: the employees under their departments.
void EmployeeDepReport(ReportJob &job) {
    RepBeginJobNr(6100);
    ReportHeadings(LineHeight, {{0, 6101}, {130, 6102}, {280, 6103}, {400, 6104}});
    PString wanted, dep, last, name;
    GetTextPrefix(job.selection, P::SelText1, DepMax, wanted);
    bool first = true;
    RuleRecord person(W::Number);
    if (person.record) {
        PutText(person.record, W::DepCode, wanted);
        IndexWalkFrom(W::Number, "DepCode", person.record, 1, [&](const uint8_t *p) {
            GetText(p, W::DepCode, dep);
            if (wanted[0] != 0 && !PStringEqual(dep, wanted)) return false;   // past the department
            if (first || !PStringEqual(dep, last)) {
                first = false;
                PStringCopy(last, dep);
                EmptyLine(20);
                RepStartLine(LineHeight);
                Text(0, dep);
                DepartmentName(dep, name);
                Text(100, name);
                RepEndLine();
                RepRuleFull(1, 1);
            }
            PersonLine(p, 280, 400, W::Text, NameMax);
            return true;
        });
    }
    RepEndJob();
}

// Report 103: the entry each employee of the range would get, previewed.
void EmployeeDepPersonReport(ReportJob &job) {
    RepBeginJobNr(6020);
    ReportHeadings(LineHeight, {{0, 6024}, {130, 6025}, {220, 6026}});
    PString range, from, to, dep, code, wantedDep;
    GetText(job.selection, P::SelText1, range);
    RangeSplit(range, from, to);
    GetTextPrefix(job.selection, P::SelText2, DepMax, wantedDep);
    const bool byDep = wantedDep[0] != 0;
    RuleRecord person(W::Number), entry(E::Number);
    if (person.record && entry.record) {
        if (byDep) PutText(person.record, W::DepCode, wantedDep);
        PutText(person.record, W::PerCode, from);
        IndexWalkFrom(W::Number, byDep ? "DepCode" : "PerCode", person.record, byDep ? 2 : 1, [&](const uint8_t *p) {
            GetText(p, W::DepCode, dep);
            GetText(p, W::PerCode, code);
            if (byDep && !PStringEqual(dep, wantedDep)) return false;
            if (PStringCompare(code, from) < 0) return false;
            if (to[0] != 0 && PStringCompare(code, to) > 0) return false;
            RepRuleFull(1, 1);
            PersonLine(p, 280, 400, W::DepCode, DepMax);
            EmptyLine(10);
            PersonEntryCalc(job.selection, p, entry.record);
            uint8_t row[E::Rows::Size];
            for (int32_t i = 0, n = MatrixRowCount(E::Number, 0, entry.record); i < n; i++)
                if (MatrixRowRead(E::Number, entry.record, i, row)) EntryRowLine(15, row);
            EmptyLine(20);
            PackedDecimal total;
            DecSetZero(&total);
            ListedAccountLinesPreview(entry.record, &total);
            RecFreeMatrix(E::Number, entry.record);
            return true;
        });
    }
    RepEndJob();
}

// Report 100: the entries of one department or employee in the period,
// summed by account and text.
void DepPersonReport100(ReportJob &job) {
    RepBeginJobNr(6070);
    ReportHeadings(20, {{20, 3073}, {60, 3074}, {160, 3075}, {380, 3076, -1}, {StopEnd, 3077, -1}});
    PString wantedDep, wantedPerson, dep, code, account, text, name;
    GetTextPrefix(job.selection, P::SelText2, DepMax, wantedDep);
    GetTextPrefix(job.selection, P::SelText1, CodeMax, wantedPerson);
    const bool byDep = wantedDep[0] != 0;
    const DateRec from = GetDate(job.selection, P::DateFrom), to = GetDate(job.selection, P::DateTo);
    RuleRecord entry(E::Number), summary(E::Number);
    if (entry.record && summary.record) {
        PackedDecimal total;
        DecSetZero(&total);
        if (byDep) PutText(entry.record, E::DepCode, wantedDep);
        else PutText(entry.record, E::PerCode, wantedPerson);
        IndexWalkFrom(E::Number, byDep ? "DepCode" : "PerCode", entry.record, 1, [&](const uint8_t *e) {
            GetText(e, E::DepCode, dep);
            GetText(e, E::PerCode, code);
            if (byDep && !PStringEqual(dep, wantedDep)) return false;
            if (!byDep && wantedPerson[0] != 0 && !PStringEqual(code, wantedPerson)) return false;
            const DateRec date = GetDate(e, E::TransDate);
            if (from.year != 0 && DateCompare(&date, &from) < 0) return true;
            if (to.year != 0 && DateCompare(&date, &to) > 0) return true;
            uint8_t row[E::Rows::Size];
            for (int32_t i = 0, n = MatrixRowCount(E::Number, 0, e); i < n; i++) {
                if (!MatrixRowRead(E::Number, e, i, row)) break;
                GetText(row, E::Rows::Account, account);
                GetText(row, E::Rows::Objects, text);
                GetText(row, E::Rows::Name, name);
                const PackedDecimal amount = GetDec(row, E::Rows::Amount);
                AccountRowAdd(summary.record, account, text, name, &amount, true, true, &total);
            }
            return true;
        });
        uint8_t row[E::Rows::Size];
        for (int32_t i = 0, n = MatrixRowCount(E::Number, 0, summary.record); i < n; i++) {
            if (!MatrixRowRead(E::Number, summary.record, i, row)) break;
            const PackedDecimal amount = GetDec(row, E::Rows::Amount);
            RepStartLine(LineHeight);
            RepTextField(20, row, E::Rows::Account);
            RepTextField(60, row, E::Rows::Objects);
            RepTextField(160, row, E::Rows::Name);
            Amount(380, amount, FtDebit);
            Amount(480, amount, FtCredit);
            RepEndLine();
        }
    }
    RepEndJob();
}

// Reports 101 and 104: the entries of the selection's date with their
// amounts on the listed accounts, and the sums per account; 104 prints
// each entry as a block of its own and is titled as the report list
// names it.
void TransDateReport101(ReportJob &job, int block) {
    RepBeginJobNr(block ? Texts::TitlePersonEntryBlocks : 6001);
    const DateRec date = GetDate(job.selection, P::DateFrom);
    PString wantedDep, dep, company, number;
    GetTextPrefix(job.selection, P::SelText2, DepMax, wantedDep);
    ListedAccountTable table;
    PackedDecimal runTotal;
    DecSetZero(&runTotal);
    bool listed = false;
    RuleRecord entry(E::Number);
    if (entry.record) {
        PutDate(entry.record, E::TransDate, date);
        IndexWalkFrom(E::Number, "TransDate", entry.record, 1, [&](const uint8_t *e) {
            const DateRec at = GetDate(e, E::TransDate);
            if (DateCompare(&at, &date) != 0) return false;
            GetText(e, E::DepCode, dep);
            if (wantedDep[0] != 0 && !PStringEqual(dep, wantedDep)) return true;
            if (!EntryHasListedAccount(e)) return true;
            listed = true;
            if (block) {
                EmptyLine(LineHeight);
                company[0] = 0;
                if (CompanyBlock) GetText(CompanyBlock, CompanyBlk::CompanyName, company);
                RepStartLine(LineHeight);
                Text(0, company);
                RepValue(170, 0, e + E::TransDate, FtDate, 0);
                RepEndLine();
                EmptyLine(10);
            }
            RepStartLine(LineHeight);
            LongToDigitText(GetI32(e, E::SerNr), number);
            Text(0, number);
            RepTextField(80, e, E::PerCode);
            RepTextField(140, e, E::Text);
            RepEndLine();
            PackedDecimal entryTotal;
            DecSetZero(&entryTotal);
            ListedAccountLines(e, &table, &entryTotal);
            DecAdd(&runTotal, &entryTotal, &runTotal);
            EmptyLine(10);
            if (block) {
                EmptyLine(10);
                RepRuleFull(1, 1);
                EmptyLine(10);
            }
            return true;
        });
    }
    // The sums only under entries they add: with none, the job's end says
    // that no row matched instead of a bare zero total.
    if (listed) {
        if (!block) RepRuleFull(1, 1);
        EmptyLine(LineHeight);
        ListedAccountSummary(table, 0, 250);
        RepRule(0, 260, 2);
        RepStartLine(LineHeight);
        RepTextNr(0, 0, 6008, 0);
        Amount(250, runTotal);
        RepEndLine();
    }
    RepEndJob();
}
