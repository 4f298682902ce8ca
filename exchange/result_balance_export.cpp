// result_balance_export.cpp - export kind 22. The amounts are those of
// the result statement (report 22): the job record's report number holds
// the export kind while the export runs, so the column amounts choose
// them by its column layout (the year before, the budgets or the period
// and the year to date).
#include "exchange/result_balance_export.h"

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;

// True when text holds "," or ":" (a record of several objects).
bool SeveralObjects(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (text[i] == ',' || text[i] == ':') return true;
    return false;
}

// True when account is in register 16.
bool AccountExists(const uint8_t *code) {
    RuleRecord account(ACVc::Number);
    if (!account.record) return false;
    PutText(account.record, ACVc::Code, code);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(ACVc::Number, "Code", account.record, 1, 1, &recid, &position);
}

}  // namespace

void BalanceExport(ReportJob &job) {
    if (!job.selection) return;
    PString range, firstAccount, lastAccount, firstObject, lastObject;
    GetText(job.selection, P::SelText7, range);
    RangeSplitToFields(range, job.selection + P::SelText5, job.selection + P::SelText6, 10);
    GetTextPrefix(job.selection, P::SelText5, 10, firstAccount);
    GetTextPrefix(job.selection, P::SelText6, 10, lastAccount);
    GetText(job.selection, P::ObjectSel, range);
    const bool objectRange = range[0] != 0;
    RangeSplit(range, firstObject, lastObject);
    ReportFiscalYear(job.selection);

    RuleRecord balance(BLVc::Number);
    if (!balance.record) return;
    PString account, objects;
    uint32_t recid = 0;
    for (int32_t p = 1; !OutputJobState.stopFlag; p++) {   // positions count from 1
        RecFreeMatrix(BLVc::Number, balance.record);
        if (!RecReadAt(BLVc::Number, p, balance.record, &recid)) break;
        GetText(balance.record, BLVc::Account, account);
        GetText(balance.record, BLVc::Objects, objects);
        bool taken = !(firstAccount[0] && PStringCompare(account, firstAccount) < 0) &&
                     !(lastAccount[0] && PStringCompare(account, lastAccount) > 0);
        if (objectRange)
            taken = taken && !(firstObject[0] && PStringCompare(objects, firstObject) < 0) &&
                    !(lastObject[0] && PStringCompare(objects, lastObject) > 0);
        if (taken) {
            ExportNumber(balance.record + BLVc::Account, FtText);
            if (AccountExists(account) && !SeveralObjects(objects)) {
                PackedDecimal a, b, c;
                AccountColumnAmounts(account, objects, &a, &b, &c);
                ExportValue(balance.record + BLVc::Account, FtText);
                ExportValue(balance.record + BLVc::Objects, FtText);
                ExportValue(&a, FtAmount2);
                ExportValue(&b, FtAmount2);
                ExportValue(&c, FtAmount2);
                ExportLineFeed();
            }
        }
        if (ReportCancelled()) break;
    }
    RecFreeMatrix(BLVc::Number, balance.record);
}
