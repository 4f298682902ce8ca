// vendor_statements.cpp - reports 35 and 93, a statement per vendor (from
// the vendor ledger, register 32) or per person (from the person ledger,
// register 111) over the period: the opening balance, each invoice,
// credit note, expense and payment with the running balance, the sums and
// the closing balance; at the end the totals of all statements.
//
// The balance is what is owed to the vendor or person: invoices and
// expenses raise it (credit column), payments and credit notes lower it
// (debit column). Unless Option3 asks for document currencies, amounts
// are in the home currency at the rate of the document they settle.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/statistics_slots.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/purchase_walk.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

constexpr int LineHeight = 12;
constexpr int StopRight = 1, StopName = 2, StopDebit = 3, StopCredit = 4, StopLabel = 6, StopRuleFrom = 9;

// The texts of a statement's heading.
struct StatementTexts {
    int debit, credit, balance, opening;
};
constexpr StatementTexts VendorTexts{4190, 4191, 4189, 4192};
constexpr StatementTexts PersonTexts{5190, 5191, 5189, 5192};

// One statement being printed: its owner's head, whether the head is out,
// and its sums.
struct Statement {
    const StatementTexts *texts;
    uint8_t code[32], name[64], currency[8];
    bool headDone = false;
    bool inCurrency = false;   // amounts in the owner's currency (Option3)
    PackedDecimal opening, balance, debit, credit;
};

// The sums of all statements.
struct StatementTotals {
    const uint8_t *job;   // the job record the statements select by
    PackedDecimal opening, closing;
    bool perCurrency;   // amounts in currency, the totals table per currency
};

bool CurrencyAmounts(const uint8_t *job) { return GetU16(job, ReportParamsVc::Option3) == 1; }

// The statement's head block, once.
void StatementHead(Statement *s) {
    if (s->headDone) return;
    s->headDone = true;
    RepStartLine(LineHeight);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextEx(0, -1, 0, 0, 0, s->code);
    RepTextEx(StopName, -1, 0, 0, 0, s->name);
    if (s->currency[0]) RepTextEx(StopRight, -1, 0, -1, 0, s->currency);
    RepEndLine();
    RepRuleFull(1, 1);
    ReportHeadings(LineHeight, {{0, 3184}, {90, 2435}, {140, 2436}, {StopDebit, s->texts->debit, -1},
                                {StopCredit, s->texts->credit, -1}, {StopRight, s->texts->balance, -1}});
    RepRuleFull(1, 1);
    RepStartLine(LineHeight);
    RepTextNr(StopLabel, 0, s->texts->opening, 0);
    RepAmountAt(StopRight, &s->opening);
    RepEndLine();
}

// One entry line: date, kind text, reference, the amount in the debit or
// credit column (both for a cash invoice) and the balance after it.
// effect: +1 raises the balance, -1 lowers it, 0 leaves it.
enum class Column : uint8_t { Debit, Credit, Both };
void EntryLine(Statement *s, const DateRec *date, int kindText, const uint8_t *reference, const PackedDecimal *amount,
               Column column, int effect) {
    StatementHead(s);
    if (effect > 0) DecAdd(&s->balance, amount, &s->balance);
    if (effect < 0) DecSub(&s->balance, amount, &s->balance);
    if (column != Column::Credit) DecAdd(&s->debit, amount, &s->debit);
    if (column != Column::Debit) DecAdd(&s->credit, amount, &s->credit);
    uint8_t slot[sizeof(DateRec)];
    PutDate(slot, 0, *date);
    RepStartLine(LineHeight);
    RepValue(0, 0, slot, FtDate, 0);
    RepTextNr(90, 0, kindText, 0);
    RepTextEx(140, -1, 0, 0, 0, reference);
    if (column != Column::Credit) RepAmountAt(StopDebit, amount);
    if (column != Column::Debit) RepAmountAt(StopCredit, amount);
    RepAmountAt(StopRight, &s->balance);
    RepEndLine();
}

// The document reference: the number, then ", (" ref ")" when ref is not
// empty, or a blank and the currency when currency is given.
void Reference(int32_t number, const uint8_t *ref, const uint8_t *currency, uint8_t *out) {
    LongToDigitText(number, out);
    if (ref && ref[0]) {
        PStringAppendC(out, ", (");
        PStringAppend(out, ref);
        PStringAppendC(out, ")");
    }
    if (currency && currency[0]) {
        PStringAppendC(out, " ");
        PStringAppend(out, currency);
    }
}

// The statement's closing block; its amounts go to the totals.
void StatementClose(Statement *s, StatementTotals *t) {
    StatementHead(s);
    RepRule(StopRuleFrom, StopRight, 1);
    RepStartLine(LineHeight);
    RepTextNr(StopLabel, 0, 3192, 0);
    RepAmountAt(StopDebit, &s->debit);
    RepAmountAt(StopCredit, &s->credit);
    RepEndLine();
    RepStartLine(5);
    RepEndLine();
    PackedDecimal net;
    DecSub(&s->debit, &s->credit, &net);
    RepStartLine(LineHeight);
    RepTextNr(StopLabel, 0, 3194, 0);
    if (DecIsNegative(&net)) {
        DecNegateInto(&net, &net);
        RepAmountAt(StopCredit, &net);
    } else {
        RepAmountAt(StopDebit, &net);
    }
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(StopLabel, 0, 3195, 0);
    RepAmountAt(StopRight, &s->balance);
    RepEndLine();
    RepRuleFull(1, 1);
    PackedDecimal movement;
    DecSub(&s->balance, &s->opening, &movement);
    TotalsTableAdd(s->currency, &s->opening, &movement, &s->balance);
    DecAdd(&t->opening, &s->opening, &t->opening);
    DecAdd(&t->closing, &s->balance, &t->closing);
}

// The report's last lines: the sums of all statements, or the totals
// table per currency.
void StatementsEnd(StatementTotals *t, bool vendors) {
    if (!t->perCurrency) {
        // The grand total's three amounts are headed by what they are: a
        // statement's columns above hold other things.
        RepRuleFull(1, 1);
        ReportHeadings(LineHeight, {{StopDebit, 2495, -1}, {StopCredit, 2496, -1}, {StopRight, 2489, -1}});
        PackedDecimal change;
        DecSub(&t->closing, &t->opening, &change);
        RepStartLine(LineHeight);
        RepTextNr(StopLabel, 0, 2429, 0);
        RepAmountAt(StopDebit, &t->opening);
        RepAmountAt(StopCredit, &change);
        RepAmountAt(StopRight, &t->closing);
        RepEndLine();
        TotalsTableReset();
        return;
    }
    if (vendors) {
        ReportHeadings(LineHeight, {{StopLabel, 2429}, {StopDebit, 2495, -1}, {StopCredit, 2496, -1},
                                    {StopRight, 2489, -1}});
        RepRuleFull(1, 1);
        TotalsTablePrint(StopDebit, StopCredit, StopRight, StopLabel, 1);
    } else {
        RepRuleFull(1, 1);
        TotalsTablePrint(-1, -1, StopRight, StopLabel, 1);
    }
}

// True when the text field of record at `at` (max characters) is code.
bool FieldIs(const uint8_t *record, uint32_t at, int max, const uint8_t *code) {
    uint8_t text[256];
    GetPString(record, at, max, text);
    return PStringEqual(text, code);
}

// amount into the home currency at the rate at `rateAt` of record
// (unchanged with currency amounts or without a record).
void ToHome(const Statement *s, const uint8_t *record, uint32_t rateAt, PackedDecimal *amount) {
    if (s->inCurrency || !record) return;
    const PackedDecimal rate = GetDec(record, rateAt);
    AmountTimesRate(amount, &rate, amount);
}

// ---- Vendors ----

// The rate of a purchase invoice by its number into rate; blank when
// it is gone.
void InvoiceRate(int32_t number, PackedDecimal *rate) {
    DecSetBlank(rate);
    RuleRecord invoice(VIVc::Number);
    if (!invoice.record || !ReadBySerNr(VIVc::Number, VIVc::SerNr, number, invoice.record)) return;
    *rate = GetDec(invoice.record, VIVc::Rate);
    RecFreeMatrix(VIVc::Number, invoice.record);
}

// A vendor-ledger entry of an invoice: approved invoices only.
void VendorInvoiceEntry(Statement *s, const uint8_t *entry) {
    RuleRecord invoice(VIVc::Number);
    if (!invoice.record || !ReadBySerNr(VIVc::Number, VIVc::SerNr, GetI32(entry, VLVc::DocSerNr), invoice.record))
        return;
    const uint8_t *inv = invoice.record;
    if (GetU16(inv, VIVc::Approved) != 0) {
        PackedDecimal amount = GetDec(inv, VIVc::InvAmount), rate = GetDec(inv, VIVc::Rate);
        const InvoiceKind kind = InvoiceKind(GetU16(inv, VIVc::InvType));
        if (kind == InvoiceKind::CreditNote) {
            // A credit note naming the invoice it credits takes that invoice's rate.
            uint8_t first[VIVc::Rows::Size];
            if (MatrixRowCount(VIVc::Number, 0, inv) > 0 && MatrixRowRead(VIVc::Number, inv, 0, first) &&
                PurchaseRowKind(GetU16(first, VIVc::Rows::Kind)) == PurchaseRowKind::Credited &&
                GetI32(first, VIVc::Rows::CredSerNr) != -1) {
                PackedDecimal credited;
                InvoiceRate(GetI32(first, VIVc::Rows::CredSerNr), &credited);
                if (!DecIsBlank(&credited)) rate = credited;
            }
        }
        if (!s->inCurrency) AmountTimesRate(&amount, &rate, &amount);
        uint8_t ref[256], text[256];
        GetText(inv, VIVc::VendInvNr, text);
        Reference(GetI32(inv, VIVc::SerNr), text, nullptr, ref);
        const DateRec date = GetDate(inv, VIVc::TransDate);
        if (kind == InvoiceKind::Cash) EntryLine(s, &date, 4188, ref, &amount, Column::Both, 0);
        else if (kind == InvoiceKind::CreditNote) EntryLine(s, &date, 4187, ref, &amount, Column::Debit, -1);
        else EntryLine(s, &date, 4185, ref, &amount, Column::Credit, 1);
    }
    RecFreeMatrix(VIVc::Number, invoice.record);
}

// A vendor-ledger entry of a payment: the posted payment's rows that pay
// the entry's invoice (or are on account with it), on the payment date.
void VendorPaymentEntry(Statement *s, const uint8_t *entry) {
    RuleRecord payment(OPVc::Number);
    if (!payment.record || !ReadBySerNr(OPVc::Number, OPVc::SerNr, GetI32(entry, VLVc::DocSerNr), payment.record))
        return;
    const uint8_t *pay = payment.record;
    const DateRec date = GetDate(pay, OPVc::PayDate), entryDate = GetDate(entry, VLVc::Date);
    const int32_t invoiceNr = GetI32(entry, VLVc::InvoiceNr);
    uint8_t onAccount[256];
    GetUiText(onAccount, 4193);
    if (DateCompare(&date, &entryDate) == 0 && GetU16(pay, OPVc::Posted) == 1) {
        PackedDecimal rate = GetDec(pay, OPVc::Rate);
        if (invoiceNr != -1) InvoiceRate(invoiceNr, &rate);
        uint8_t row[OPVc::Rows::Size], ref[256];
        Reference(GetI32(pay, OPVc::SerNr), nullptr, nullptr, ref);
        const int32_t rows = MatrixRowCount(OPVc::Number, 0, pay);
        for (int32_t i = 0; i < rows && MatrixRowRead(OPVc::Number, pay, i, row); i++) {
            const PaidRowKind kind = PaidRowKind(GetU16(row, OPVc::Rows::Kind));
            if ((kind != PaidRowKind::Paid && kind != PaidRowKind::Discount) ||
                GetI32(row, OPVc::Rows::InvoiceNr) != invoiceNr) continue;
            if (!FieldIs(row, OPVc::Rows::VendCode, 20, s->code)) continue;
            PackedDecimal amount = GetDec(row, OPVc::Rows::Amount);
            if (!s->inCurrency) AmountTimesRate(&amount, &rate, &amount);
            const int text = invoiceNr == -1 && onAccount[0] ? 4193 : 4186;
            EntryLine(s, &date, text, ref, &amount, Column::Debit, GetU16(row, OPVc::Rows::Flag) == 0 ? -1 : 0);
        }
    }
    RecFreeMatrix(OPVc::Number, payment.record);
}

void EachVendorStatement(const uint8_t *vendor, void *context) {
    StatementTotals *t = static_cast<StatementTotals *>(context);
    Statement s{};
    s.texts = &VendorTexts;
    s.inCurrency = t->perCurrency;
    GetText(vendor, VEVc::Code, s.code);
    GetText(vendor, VEVc::Name, s.name);
    GetText(vendor, VEVc::CurncyCode, s.currency);
    if (s.inCurrency) {
        PackedDecimal second;
        VendorPeriodAmount(t->job, vendor, VendorStatSlot::Invoiced, true, &s.opening);
        VendorPeriodAmount(t->job, vendor, VendorStatSlot::PaidNegated, true, &second);
        DecAdd(&s.opening, &second, &s.opening);
    } else {
        VendorPeriodAmount(t->job, vendor, VendorStatSlot::HomeBalance, true, &s.opening);
    }
    s.balance = s.opening;
    DecSetZero(&s.debit);
    DecSetZero(&s.credit);
    const bool skipEmpty = GetU16(t->job, ReportParamsVc::Option2) == 1;
    if (!skipEmpty || !DecIsZero(&s.opening)) StatementHead(&s);

    const DateRec from = GetDate(t->job, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(t->job, ReportParamsVc::DateTo);
    RuleRecord entry(VLVc::Number);
    if (!entry.record) return;
    PutDate(entry.record, VLVc::Date, from);
    IndexWalkOfCode(VLVc::Number, "MainKey", entry.record, 2, VLVc::VendCode, s.code, [&](const uint8_t *e) {
        const DateRec date = GetDate(e, VLVc::Date);
        if (!DateIsEmpty(&to) && DateCompare(&date, &to) > 0) return false;
        if (LedgerEntryKind(GetU16(e, VLVc::Kind)) == LedgerEntryKind::Invoice) VendorInvoiceEntry(&s, e);
        else VendorPaymentEntry(&s, e);
        return true;
    });
    if (s.headDone) StatementClose(&s, t);
}

// ---- Persons ----

// A person-ledger entry of an expense record: posted records only.
void PersonExpenseEntry(Statement *s, const uint8_t *entry) {
    RuleRecord expense(ExpenseVc::Number);
    if (!expense.record ||
        !ReadBySerNr(ExpenseVc::Number, ExpenseVc::SerNr, GetI32(entry, PersLedgerVc::DocNr), expense.record))
        return;
    const uint8_t *e = expense.record;
    if (GetU16(e, ExpenseVc::Posted) != 0) {
        PackedDecimal amount = GetDec(e, ExpenseVc::Total);
        ToHome(s, e, ExpenseVc::Rate, &amount);
        uint8_t ref[256], currency[256];
        GetText(e, ExpenseVc::CurncyCode, currency);
        Reference(GetI32(e, ExpenseVc::SerNr), nullptr, s->inCurrency ? currency : nullptr, ref);
        const DateRec date = GetDate(e, ExpenseVc::TransDate);
        EntryLine(s, &date, 5185, ref, &amount, Column::Credit, 1);
    }
    RecFreeMatrix(ExpenseVc::Number, expense.record);
}

// A person-ledger entry of a person payment: the posted payment's rows
// for this person, on the payment date.
void PersonPaymentEntry(Statement *s, const uint8_t *entry) {
    RuleRecord payment(PersPayVc::Number);
    if (!payment.record ||
        !ReadBySerNr(PersPayVc::Number, PersPayVc::SerNr, GetI32(entry, PersLedgerVc::DocNr), payment.record))
        return;
    const uint8_t *pay = payment.record;
    const DateRec date = GetDate(pay, PersPayVc::PayDate), entryDate = GetDate(entry, PersLedgerVc::TransDate);
    if (DateCompare(&date, &entryDate) == 0 && GetU16(pay, PersPayVc::Posted) == 1) {
        uint8_t row[PersPayVc::Rows::Size], ref[256], currency[256];
        GetText(pay, PersPayVc::CurncyCode, currency);
        Reference(GetI32(pay, PersPayVc::SerNr), nullptr, s->inCurrency ? currency : nullptr, ref);
        const int32_t rows = MatrixRowCount(PersPayVc::Number, 0, pay);
        for (int32_t i = 0; i < rows && MatrixRowRead(PersPayVc::Number, pay, i, row); i++) {
            if (PersPayRowKind(GetU16(row, PersPayVc::Rows::Kind)) != PersPayRowKind::Paid) continue;
            if (!FieldIs(row, PersPayVc::Rows::Person, 5, s->code)) continue;
            PackedDecimal amount = GetDec(row, PersPayVc::Rows::Amount);
            ToHome(s, pay, PersPayVc::Rate, &amount);
            EntryLine(s, &date, 5186, ref, &amount, Column::Debit, GetU16(row, PersPayVc::Rows::Flag) == 0 ? -1 : 0);
        }
    }
    RecFreeMatrix(PersPayVc::Number, payment.record);
}

void PersonStatement(const uint8_t *person, StatementTotals *t) {
    Statement s{};
    s.texts = &PersonTexts;
    s.inCurrency = t->perCurrency;
    GetText(person, PEVc::Code, s.code);
    GetText(person, PEVc::Name, s.name);
    const DateRec from = GetDate(t->job, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(t->job, ReportParamsVc::DateTo);
    uint8_t account[256], objects[256];
    GetText(person, PEVc::Account, account);
    GetText(person, PEVc::Objects, objects);
    DecSetZero(&s.opening);
    if (account[0]) AccountBalanceBefore(account, objects, &from, 0, 0, &s.opening);
    if (DecIsBlank(&s.opening)) DecSetZero(&s.opening);
    s.balance = s.opening;
    DecSetZero(&s.debit);
    DecSetZero(&s.credit);
    const bool skipEmpty = GetU16(t->job, ReportParamsVc::Option2) == 1;
    if (!skipEmpty || !DecIsZero(&s.opening)) StatementHead(&s);

    RuleRecord entry(PersLedgerVc::Number);
    if (!entry.record) return;
    PutDate(entry.record, PersLedgerVc::TransDate, from);
    const auto each = [&](const uint8_t *e) {
        const DateRec date = GetDate(e, PersLedgerVc::TransDate);
        if (!DateIsEmpty(&to) && DateCompare(&date, &to) > 0) return false;
        if (PersLedgerKind(GetU16(e, PersLedgerVc::Kind)) == PersLedgerKind::Expense) PersonExpenseEntry(&s, e);
        else PersonPaymentEntry(&s, e);
        return true;
    };
    IndexWalkOfCode(PersLedgerVc::Number, "MainKey", entry.record, 2, PersLedgerVc::Person, s.code, each);
    if (s.headDone) StatementClose(&s, t);
}

// Both statements' start: the title and the emptied totals.
void StatementsBegin(int title, StatementTotals *t) {
    TotalsTableReset();
    DecSetZero(&t->opening);
    DecSetZero(&t->closing);
    t->perCurrency = CurrencyAmounts(t->job);
    RepBeginJobNr(title);
}

}  // namespace

// Report 35: a statement per vendor of the code range and group over the
// period's months, from its balance before the first month. Esc stops the
// walk after the vendor at hand; the totals and the job's end still come.
void VendorBalanceReport(ReportJob &job) {
    assert(job.selection);
    StatementTotals totals{};
    totals.job = job.selection;
    StatementsBegin(4180, &totals);
    VendorWalk(job.selection, EachVendorStatement, &totals);
    StatementsEnd(&totals, true);
    RepEndJob();
}

// Report 93: a statement per person of the code range over the period,
// from the ledger balance of the person's account before the from-date.
void UserTotalsReport(ReportJob &job) {
    assert(job.selection);
    StatementTotals totals{};
    totals.job = job.selection;
    StatementsBegin(5180, &totals);
    uint8_t range[256], from[256], to[256], code[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    RuleRecord person(PEVc::Number);
    uint32_t recid = 0, position = 0;
    if (person.record) PutText(person.record, PEVc::Code, from);
    bool more = person.record && RecFind(PEVc::Number, person.record, 1, 0, &recid, &position);
    for (uint32_t p = position; more; p++) {
        if (p != position) {
            RecFreeMatrix(PEVc::Number, person.record);
            if (!RecReadAt(PEVc::Number, (int32_t)p, person.record, &recid)) break;
        }
        GetText(person.record, PEVc::Code, code);
        if (to[0] && PStringCompare(code, to) > 0) break;
        PersonStatement(person.record, &totals);
        if (ReportCancelled()) break;
    }
    if (person.record) RecFreeMatrix(PEVc::Number, person.record);
    StatementsEnd(&totals, false);
    RepEndJob();
}
