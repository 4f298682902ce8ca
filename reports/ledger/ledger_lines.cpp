// ledger_lines.cpp - the account walk, the ledger sign of an account type
// and the amount and field printers of the account-listing ledger reports.
#include "reports/frame/line_values.h"
#include "reports/ledger/ledger_lines.h"

#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "rules/rules_types.h"

bool WalkAccountRange(const uint8_t *from, const uint8_t *to, bool (*each)(const uint8_t *account, void *context),
                      void *context) {
    assert(from && to && each);
    RuleRecord account(ACVc::Number);
    if (!account.record) return true;
    PutText(account.record, ACVc::Code, from);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(ACVc::Number, "Code", account.record, 1, 0, &recid, &position)) return true;
    PString code;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(ACVc::Number, "Code", (int32_t)p, account.record, &recid)) break;
        GetText(account.record, ACVc::Code, code);
        if (to[0] != 0 && PStringCompare(code, to) > 0) break;
        if (!each(account.record, context)) return false;
        if (ReportCancelled()) return false;
    }
    return true;
}

int AccountType(const uint8_t *account) {
    assert(account);
    RuleRecord r(ACVc::Number);
    if (!r.record || account[0] == 0) return 0;
    PutText(r.record, ACVc::Code, account);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(ACVc::Number, "Code", r.record, 1, 1, &recid, &position)) return 0;
    return GetU16(r.record, ACVc::AccType);
}

// The ledger reports read the second group of the company's five sign words.
bool LedgerSignNegates(int type) {
    if (type < 0 || type > 4) return false;
    const uint8_t *company = SettingsRecord(CompanyBlk::Number, CompanyBlock);
    return company && GetU16(company, CompanyBlk::SignB0 + 2u * (uint32_t)type) == 1;
}

void LedgerAmount(int x, const PackedDecimal *amount, int type, int style) {
    RepAmountAt(x, amount, type, 1, style);
}

void LedgerField(int x, const uint8_t *record, uint32_t offset, int width, int align) {
    PString t;
    GetPString(record, offset, width, t);
    RepText(x, 0, t, align);
}

void LedgerTextLine(int h, int x, int n) {
    RepStartLine(h);
    RepTextNr(x, 0, n, 0);
    RepEndLine();
}
