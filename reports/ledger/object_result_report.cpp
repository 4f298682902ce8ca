// object_result_report.cpp - report 83, the result by object: for each
// object of a code range, its income (result accounts of type 3, shown
// positive) and expense (type 4) over the period and the year to date,
// and their difference; on the preview the period columns only.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;

// One object's amounts by account type, over the period and the year.
struct ObjectResult {
    PString code, name;
    PackedDecimal period[5], year[5];
};

// The columns a line prints: income, expense and difference of the
// period, then of the year (left out on the preview).
struct Columns {
    bool preview;
    PackedDecimal v[6];
};

void ColumnsOf(const ObjectResult &r, Columns *c) {
    c->v[0] = r.period[3];
    c->v[1] = r.period[4];
    DecSub(&c->v[0], &c->v[1], &c->v[2]);
    c->v[3] = r.year[3];
    c->v[4] = r.year[4];
    DecSub(&c->v[3], &c->v[4], &c->v[5]);
}

void PrintColumns(const Columns &c) {
    static const int previewX[3] = {280, 380, 480}, printX[6] = {180, 240, 300, 360, 420, 480};
    for (int i = 0; i < (c.preview ? 3 : 6); i++) LedgerAmount(c.preview ? previewX[i] : printX[i], &c.v[i]);
}

// Adds the result accounts of object (balance records by (objects,
// account), the object alone) from the first account through the last.
bool GatherObject(const uint8_t *job, ObjectResult &r, const uint8_t *firstAccount, const uint8_t *lastAccount,
                  const DateRec &yearStart) {
    const DateRec from = GetDate(job, P::DateFrom), to = GetDate(job, P::DateTo);
    RuleRecord balance(BLVc::Number);
    if (!balance.record) return true;
    PutText(balance.record, BLVc::Objects, r.code);
    PutText(balance.record, BLVc::Account, firstAccount);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(BLVc::Number, "ObjAccKey", balance.record, 2, 0, &recid, &position)) return true;
    PString objects, account;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(BLVc::Number, balance.record);
            if (!RecReadAtIndex(BLVc::Number, "ObjAccKey", (int32_t)p, balance.record, &recid)) break;
        }
        GetText(balance.record, BLVc::Objects, objects);
        GetText(balance.record, BLVc::Account, account);
        if (!PStringEqual(objects, r.code)) break;
        if (lastAccount[0] && PStringCompare(account, lastAccount) > 0) break;
        const int type = AccountType(account);
        if (type >= 0 && type <= 4) {
            const MemBlock periods = GetU32(balance.record, BLVc::Periods);
            PackedDecimal a, b;
            AccountBalanceChange(account, objects, &from, &to, periods, 0, &a);
            AccountBalanceChange(account, objects, &yearStart, &to, periods, 0, &b);
            if (type == 3) {
                DecNegateInto(&a, &a);
                DecNegateInto(&b, &b);
            }
            DecAdd(&r.period[type], &a, &r.period[type]);
            DecAdd(&r.year[type], &b, &r.year[type]);
        }
        if (ReportCancelled()) {
            RecFreeMatrix(BLVc::Number, balance.record);
            return false;
        }
    }
    RecFreeMatrix(BLVc::Number, balance.record);
    return true;
}

}  // namespace

void ObjectBalanceReport(ReportJob &job) {
    assert(job.selection);
    const bool preview = GetU16(job.selection, P::OutputKind) == OutPreview;
    PString range, firstObject, lastObject, firstAccount, lastAccount, type;
    GetText(job.selection, P::ObjectSel, range);
    RangeSplit(range, firstObject, lastObject);
    GetText(job.selection, P::SelText7, range);
    RangeSplit(range, firstAccount, lastAccount);
    GetText(job.selection, P::ObjectType, type);

    RepBeginJobNr(5061);
    RepStartLine(15);
    RepTextNr(15, 0, 5062, 0);
    if (preview) {
        RepTextNr(280, 0, 5063, 1);
        RepTextNr(380, 0, 5064, 1);
        RepTextNr(480, 0, 5067, 1);
    } else {
        static const int heads[6] = {5063, 5064, 5067, 5065, 5066, 5068}, xs[6] = {180, 240, 300, 360, 420, 480};
        for (int i = 0; i < 6; i++) RepTextNr(xs[i], 0, heads[i], 1);
    }
    RepEndLine();
    RepRuleFull(1, 4);

    DateRec yearStart;
    LatestFiscalYearStart(&yearStart);
    std::vector<ObjectResult> results;
    bool whole = true;
    RuleRecord object(OBVc::Number);
    uint32_t recid = 0, position = 0;
    if (object.record) PutText(object.record, OBVc::Code, firstObject);
    if (object.record && RecFindByIndex(OBVc::Number, "Code", object.record, 1, 0, &recid, &position)) {
        PString code, objectType;
        for (uint32_t p = position; whole; p++) {
            if (p != position && !RecReadAtIndex(OBVc::Number, "Code", (int32_t)p, object.record, &recid)) break;
            GetText(object.record, OBVc::Code, code);
            if (lastObject[0] && PStringCompare(code, lastObject) > 0) break;
            GetText(object.record, OBVc::ObjType, objectType);
            if (GetU16(object.record, OBVc::Blocked) != 0 || (type[0] && !PStringEqual(objectType, type))) continue;
            ObjectResult r;
            PStringCopy(r.code, code);
            GetText(object.record, OBVc::Name, r.name);
            for (int t = 0; t < 5; t++) {
                DecSetZero(&r.period[t]);
                DecSetZero(&r.year[t]);
            }
            whole = GatherObject(job.selection, r, firstAccount, lastAccount, yearStart) && !ReportCancelled();
            results.push_back(r);
        }
    }
    Columns sum{preview, {}};
    for (PackedDecimal &v : sum.v) DecSetZero(&v);
    for (const ObjectResult &r : results) {
        if (!whole) break;
        Columns c{preview, {}};
        ColumnsOf(r, &c);
        bool zero = true;
        for (int i = 0; i < (preview ? 3 : 6); i++) zero = zero && DecIsZero(&c.v[i]);
        if (zero && GetU16(job.selection, P::Option6) != 0) continue;
        RepStartLine(15);
        RepText(15, 0, r.code, 0);
        RepText(preview ? 80 : 50, 0, r.name, 0);
        PrintColumns(c);
        RepEndLine();
        for (int i = 0; i < 6; i++) DecAdd(&sum.v[i], &c.v[i], &sum.v[i]);
    }
    if (whole) {
        RepRuleFull(1, 4);
        RepStartLine(15);
        PrintColumns(sum);
        RepEndLine();
    }
    RepEndJob();
}
