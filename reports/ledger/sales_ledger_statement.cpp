// sales_ledger_statement.cpp - report 60, the account statement of the
// sales ledger: the entries of register 49 by receivable account and
// date, each account from its first entry (those before the period only
// build its balance), a line per invoice, credit note or receipt of the
// period in home currency with the running balance, months separated by
// a rule.
//
// The accounts are those of the range (the lower account through the
// upper, an open end taking the register's first or last). Every amount
// is converted at the rate of the invoice it concerns: an invoice's own, a
// receipt row's by the invoice the row pays, whichever account that
// invoice is entered on; a payment on account at the receipt's rate.
#include <cassert>

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
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
namespace Entry = CustTransVc;
constexpr uint32_t OnAccount = 0xFFFFFFFFu;
constexpr int ColDebit = 3, ColCredit = 4, ColBalance = 1;

// Reads sales invoice serial into invoice; false when there is none.
bool ReadInvoice(uint32_t serial, uint8_t *invoice) {
    RecFreeMatrix(IVVc::Number, invoice);
    PutU32(invoice, IVVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(IVVc::Number, "SerNr", invoice, 1, 1, &recid, &position);
}

// The counted rows of the entry's receipt (kinds 1, 5 and 6, flag 0) that
// pay the entry's invoice on the entry's date, each in home currency.
void ReceiptAmount(const uint8_t *entry, PackedDecimal *sum) {
    DecSetZero(sum);
    RuleRecord receipt(IPVc::Number), invoice(IVVc::Number);
    if (!receipt.record || !invoice.record) return;
    PutU32(receipt.record, IPVc::SerNr, GetU32(entry, Entry::DocNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(IPVc::Number, receipt.record, 1, 1, &recid, &position)) return;
    const uint32_t paid = GetU32(entry, Entry::InvoiceNr);
    const DateRec on = GetDate(entry, Entry::TransDate), receiptDate = GetDate(receipt.record, IPVc::TransDate);
    uint8_t row[IPVc::Rows::Size];
    const int32_t n = MatrixRowCount(IPVc::Number, 0, receipt.record);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt.record, i, row)) break;
        const PaidRowKind kind = PaidRowKind(GetU16(row, IPVc::Rows::Kind));
        if ((kind != PaidRowKind::Paid && kind != PaidRowKind::Discount && kind != PaidRowKind::Fee) ||
            GetU16(row, IPVc::Rows::Flag) != 0) continue;
        if (GetU32(row, IPVc::Rows::InvoiceNr) != paid) continue;
        DateRec rowDate = GetDate(row, IPVc::Rows::PayDate);
        if (DateIsEmpty(&rowDate)) rowDate = receiptDate;
        if (DateCompare(&rowDate, &on) != 0) continue;
        PackedDecimal amount = GetDec(row, IPVc::Rows::Amount), rate = GetDec(receipt.record, IPVc::Rate);
        if (paid != OnAccount && ReadInvoice(paid, invoice.record)) rate = GetDec(invoice.record, IVVc::Rate);
        AmountTimesRate(&amount, &rate, &amount);
        DecAdd(sum, &amount, sum);
    }
    RecFreeMatrix(IVVc::Number, invoice.record);
    RecFreeMatrix(IPVc::Number, receipt.record);
}

// The head of an account: a rule, text 3182, code and name, a rule.
void AccountHead(const uint8_t *code) {
    PString t, name;
    PStringCopy(t, code);
    PStringAppendC(t, "  ");
    RuleRecord account(ACVc::Number);
    if (account.record) {
        PutText(account.record, ACVc::Code, code);
        uint32_t recid = 0, position = 0;
        if (RecFindByIndex(ACVc::Number, "Code", account.record, 1, 1, &recid, &position)) {
            GetText(account.record, ACVc::Name, name);
            PStringAppend(t, name);
        }
    }
    RepRuleFull(1, 4);
    RepStartLine(15);
    RepTextNr(0, 0, 3182, 0);
    RepText(100, 0, t, 0);
    RepEndLine();
    RepRuleFull(1, 4);
}

}  // namespace

void LedgerReport60(ReportJob &job) {
    assert(job.selection);
    const DateRec from = GetDate(job.selection, P::DateFrom), to = GetDate(job.selection, P::DateTo);
    PString range, first, last;
    GetText(job.selection, P::SelText7, range);
    RangeSplit(range, first, last);
    RepBeginJobNr(3481);

    RuleRecord entry(Entry::Number), invoice(IVVc::Number);
    if (!entry.record || !invoice.record) {
        RepEndJob();
        return;
    }
    PutText(entry.record, Entry::ARAcc, first);
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(Entry::Number, "AccNr", entry.record, 1, 0, &recid, &position);
    PString account = {0}, code, number;
    bool started = false, headPrinted = false;
    PackedDecimal balance;
    DecSetZero(&balance);
    uint16_t lastMonth = 0;
    for (uint32_t p = position; more; p++) {
        if (p != position && !RecReadAtIndex(Entry::Number, "AccNr", (int32_t)p, entry.record, &recid)) break;
        GetText(entry.record, Entry::ARAcc, code);
        if (last[0] && PStringCompare(code, last) > 0) break;
        if (!started || !PStringEqual(code, account)) {
            PStringCopy(account, code);
            started = true;
            headPrinted = false;
            DecSetZero(&balance);
        }
        const DateRec date = GetDate(entry.record, Entry::TransDate);
        // Past the period the account has nothing more to show; the next
        // account may still have entries in it.
        if (!DateIsEmpty(&to) && DateCompare(&date, &to) > 0) {
            if (ReportCancelled()) break;
            continue;
        }
        const bool shown = DateIsEmpty(&from) || DateCompare(&date, &from) >= 0;
        PackedDecimal amount;
        int text = 2485;
        bool both = false;
        if (LedgerEntryKind(GetU16(entry.record, Entry::Kind)) == LedgerEntryKind::Payment) {
            ReceiptAmount(entry.record, &amount);
            DecSub(&balance, &amount, &balance);
            text = 2486;
        } else {
            if (!ReadInvoice(GetU32(entry.record, Entry::DocNr), invoice.record)) {
                if (ReportCancelled()) break;
                continue;
            }
            const PackedDecimal total = GetDec(invoice.record, IVVc::Total), rate = GetDec(invoice.record, IVVc::Rate);
            AmountTimesRate(&total, &rate, &amount);
            const InvoiceKind kind = InvoiceKind(GetU16(invoice.record, IVVc::InvType));
            if (kind == InvoiceKind::CreditNote) {
                DecSub(&balance, &amount, &balance);
                text = 2487;
            } else if (kind == InvoiceKind::Cash) {
                both = true;
                text = 2488;
            } else {
                DecAdd(&balance, &amount, &balance);
            }
            RecFreeMatrix(IVVc::Number, invoice.record);
        }
        if (shown) {
            if (!headPrinted) {
                AccountHead(account);
                headPrinted = true;
                lastMonth = MonthIndex(&date);
            }
            const uint16_t month = MonthIndex(&date);
            if (month != lastMonth) RepRule(ColCredit, ColBalance, 2);
            lastMonth = month;
            RepStartLine(15);
            RepValueFmt(0, 0, entry.record + Entry::TransDate, FtDate, 0, 0);
            RepTextNr(90, 0, text, 0);
            LongToDigitText((int32_t)GetU32(entry.record, Entry::DocNr), number);
            RepText(140, 0, number, 0);
            PackedDecimal negated;
            DecNegateInto(&amount, &negated);
            const bool positive = DecCompareDouble(&amount, 0) > 0;
            if (both) {
                LedgerAmount(ColDebit, &amount);
                LedgerAmount(ColCredit, &amount);
            } else if (text == 2485) {
                LedgerAmount(ColDebit, positive ? &amount : &negated);
            } else if (positive) {
                LedgerAmount(ColCredit, &amount);
            } else {
                LedgerAmount(ColDebit, &negated);
            }
            LedgerAmount(ColBalance, &balance);
            RepEndLine();
        }
        if (ReportCancelled()) break;
    }
    RepEndJob();
}
