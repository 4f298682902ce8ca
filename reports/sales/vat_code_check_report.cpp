// vat_code_check_report.cpp - report 67: checks the VAT accounts table
// (block 130) before it is used for posting. Every account a VAT code names
// must be filled in and be in the chart of accounts; only the faults are
// listed, three lines and a rule each.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/sales/sales_lists.h"
#include "rules/rules_types.h"

namespace {

constexpr int Title = 4200, TextVatCode = 4201, TextEmpty = 4202, TextMissing = 4203, TextFixed = 4204;
constexpr int LineHeight = 20, CodeMax = 2, AccountMax = 10;

// A line: text n, and when value is given ": " and the value as text.
void VatCheckLine(int n, const uint8_t *value)
{
    PString line;
    GetUiText(line, n);
    if (value) {
        PStringAppendC(line, ": ");
        PStringAppend(line, value);
    }
    RepStartLine(LineHeight);
    RepText(0, 0, line, 0);
    RepEndLine();
}

}  // namespace

bool VatAccountCheck(const uint8_t *account, int *message)
{
    assert(account && message);
    if (account[0] == 0) {
        *message = TextEmpty;
        return false;
    }
    RuleRecord acc(ACVc::Number);
    if (!acc.record) {
        *message = TextMissing;
        return false;
    }
    PutText(acc.record, ACVc::Code, account);
    if (RecExists(ACVc::Number, acc.record)) return true;
    *message = TextMissing;
    return false;
}

void VatCodeCheckReport(ReportJob &job)
{
    RepBeginJobNr(Title);
    SettingsRows rows(VatAccountsBlk::Number, &Block130Rows, VatAccountsBlk::Rows::Size);
    const uint32_t fields[3] = {VatAccountsBlk::Rows::AccOther, VatAccountsBlk::Rows::AccZone1,
                                VatAccountsBlk::Rows::AccZone2};
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + (size_t)i * VatAccountsBlk::Rows::Size;
        PString code, account;
        GetText(row, VatAccountsBlk::Rows::VatCode, code);
        for (uint32_t field : fields) {
            GetPString(row, field, AccountMax, account);
            int message = 0;
            if (VatAccountCheck(account, &message)) continue;
            VatCheckLine(TextVatCode, code);
            VatCheckLine(TextFixed, nullptr);
            VatCheckLine(message, account);
            RepRuleFull(1, 4);
        }
    }
    RepEndJob();
}
