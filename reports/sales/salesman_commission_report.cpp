// salesman_commission_report.cpp - report 72, the item sales of posted
// invoices per salesman: a summary of sales and credits per salesman
// (Option1), or each item row with its commission, grouped by salesman or
// (layout 1) in the order of the customer ledger's transaction dates.
//
// The commission base of a row is its amount converted to home currency
// at the invoice's rate, or with Option2 its gross profit, which is kept
// in home currency already. The items carry no commission percent of
// their own, so each row takes its salesman's. The summary keeps a row for
// every salesman met, however many there are.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/order_reports.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
namespace R = IVVc::Rows;
constexpr int LineHeight = 15;

// One salesman's line of the summary.
struct SalesmanSums {
    PString code;
    PackedDecimal sales, credits;
};

// What a run reads of the job record and gathers.
struct CommissionRun {
    const uint8_t *selection = nullptr;   // the job record
    DateRec from{}, to{};
    PString salesman{};                    // one salesman, empty: all
    bool secondBase = false;               // Option2
    std::vector<SalesmanSums> summary;
    PString current{};                     // the salesman whose invoices print
    bool started = false;
    PackedDecimal sum[2]{}, grand[2]{};    // row amounts and commissions
};

bool AfterTo(const CommissionRun &run, const uint8_t *record, uint32_t dateOffset) {
    const DateRec d = GetDate(record, dateOffset);
    return run.to.year != 0 && DateCompare(&d, &run.to) > 0;
}

bool BeforeFrom(const CommissionRun &run, const uint8_t *record, uint32_t dateOffset) {
    const DateRec d = GetDate(record, dateOffset);
    return DateCompare(&d, &run.from) < 0;
}

// The salesman's name into out; false (out empty) when there is none.
bool SalesmanName(const uint8_t *code, uint8_t *out) {
    out[0] = 0;
    RuleRecord person(PEVc::Number);
    if (!person.record || !code[0]) return false;
    PutText(person.record, PEVc::Code, code);
    uint32_t recid = 0, position = 0;
    const bool found = RecFind(PEVc::Number, person.record, 1, 1, &recid, &position);
    if (found) GetText(person.record, PEVc::Name, out);
    RecFreeMatrix(PEVc::Number, person.record);
    return found;
}

// The commission base of a row.
PackedDecimal RowBase(const CommissionRun &run, const uint8_t *invoice, const uint8_t *row) {
    PackedDecimal base;
    if (run.secondBase) {
        base = GetDec(row, R::GrossProfit);
    } else {
        const PackedDecimal amount = GetDec(row, R::Sum), rate = GetDec(invoice, IVVc::Rate);
        AmountTimesRate(&amount, &rate, &base);
    }
    if (DecIsBlank(&base)) DecSetZero(&base);
    return base;
}

// Calls each for every item row (kind 1 with an item code) of invoice.
template <typename F>
void EachItemRow(const uint8_t *invoice, F each) {
    uint8_t row[R::Size];
    const int32_t n = MatrixRowCount(IVVc::Number, 0, invoice);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(IVVc::Number, invoice, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) == DocRowKind::Item && row[R::ItemCode] != 0) each(row);
    }
}

// True when the customer ledger holds the invoice's own entry. A credit
// note's entry is filed under the invoice it credits, so the entries of
// that invoice are searched for the one the credit note made.
bool HasLedgerEntry(const uint8_t *invoice) {
    RuleRecord entry(CustTransVc::Number);
    if (!entry.record) return false;
    const int32_t serial = GetI32(invoice, IVVc::SerNr), credited = GetI32(invoice, IVVc::CredInv);
    const int32_t filed = InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote && credited >= 0
        ? credited : serial;
    PutI32(entry.record, CustTransVc::InvoiceNr, filed);
    PutU16(entry.record, CustTransVc::Kind, uint16_t(LedgerEntryKind::Invoice));
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(CustTransVc::Number, "IVKey", entry.record, 2, 0, &recid, &position)) return false;
    for (int32_t p = (int32_t)position;; p++) {
        if (p != (int32_t)position && !RecReadAtIndex(CustTransVc::Number, "IVKey", p, entry.record, &recid))
            return false;
        if (GetI32(entry.record, CustTransVc::InvoiceNr) != filed ||
            LedgerEntryKind(GetU16(entry.record, CustTransVc::Kind)) != LedgerEntryKind::Invoice)
            return false;
        if (GetI32(entry.record, CustTransVc::DocNr) == serial) return true;
    }
}

bool OtherSalesman(const CommissionRun &run, const uint8_t *invoice) {
    if (!run.salesman[0]) return false;
    PString code;
    GetText(invoice, IVVc::SalesMan, code);
    return !PStringEqual(code, run.salesman);
}

void CommissionHeadings() {
    RepStartLine(LineHeight);
    RepTextNr(15, 0, 4908, 0);
    RepEndLine();
    ReportHeadings(LineHeight, {{15, 4902}, {80, 4907}, {130, 4909}, {215, 2354}, {370, 4903, 1}, {425, 4904, 1},
                                {480, 4905, 1}});
    RepRuleFull(1, 4);
}

void SalesmanLine(const uint8_t *code);

// The lines of an invoice's item rows with their commission, summed into
// the salesman's and the grand sums; with withSalesman the salesman's line
// above the first of them.
void CommissionRows(CommissionRun &run, const uint8_t *invoice, bool withSalesman) {
    PString salesman;
    GetText(invoice, IVVc::SalesMan, salesman);
    const bool credit = InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote;
    EachItemRow(invoice, [&](const uint8_t *row) {
        if (withSalesman) SalesmanLine(salesman);
        withSalesman = false;
        PString item;
        GetText(row, R::ItemCode, item);
        const PackedDecimal base = RowBase(run, invoice, row);
        PackedDecimal percent, commission, amount = GetDec(row, R::Sum);
        if (DecIsBlank(&amount)) DecSetZero(&amount);
        RowCommission(item, salesman, &base, &percent, &commission);
        if (credit) {
            DecNegateInto(&commission, &commission);
            DecNegateInto(&amount, &amount);
        }
        RepStartLine(LineHeight);
        OrderLineNumber(15, GetI32(invoice, IVVc::SerNr), 0);
        RepValue(80, 0, invoice + IVVc::InvDate, FtDate, 0);
        RepTextFieldPrefix(130, row, R::Text, 80);
        RepTextField(215, invoice, IVVc::Addr0);
        OrderLineAmount(370, &amount, FtAmount2, 1);
        OrderLineAmount(425, &percent, FtAmount2, 1);
        OrderLineAmount(480, &commission, FtAmount2, 1);
        RepEndLine();
        DecAdd(&run.sum[0], &amount, &run.sum[0]);
        DecAdd(&run.sum[1], &commission, &run.sum[1]);
        DecAdd(&run.grand[0], &amount, &run.grand[0]);
        DecAdd(&run.grand[1], &commission, &run.grand[1]);
    });
}

// The salesman's code and name (text 4914 without a salesman).
void SalesmanLine(const uint8_t *code) {
    PString name;
    RepStartLine(LineHeight);
    if (!code[0]) {
        RepTextNr(15, 0, 4914, 0);
    } else {
        RepText(15, 0, code, 0);
        if (SalesmanName(code, name)) RepText(70, 0, name, 0);
    }
    RepEndLine();
}

// A sum line under a rule from x 200: text n and the two sums.
void SumLine(int n, const PackedDecimal sums[2], int thickness) {
    OrderLineRule(200, 480, thickness);
    RepStartLine(LineHeight);
    RepTextNr(200, 0, n, 0);
    OrderLineAmount(370, &sums[0], FtAmount2, 1);
    OrderLineAmount(480, &sums[1], FtAmount2, 1);
    RepEndLine();
}

void SalesmanEnd(CommissionRun &run) {
    if (!run.started) return;
    SumLine(4915, run.sum, 1);
    OrderLineGap(LineHeight);
    DecSetZero(&run.sum[0]);
    DecSetZero(&run.sum[1]);
}

bool EachBySalesman(const uint8_t *invoice, void *context) {
    CommissionRun &run = *static_cast<CommissionRun *>(context);
    PString code;
    GetText(invoice, IVVc::SalesMan, code);
    if (run.salesman[0] && !PStringEqual(code, run.salesman)) return false;
    // The index runs by salesman, then date: each salesman's invoices
    // before the period come first and are passed over like those after it.
    if (BeforeFrom(run, invoice, IVVc::InvDate) || AfterTo(run, invoice, IVVc::InvDate) ||
        GetU16(invoice, IVVc::Posted) == 0)
        return true;
    if (!run.started || !PStringEqual(code, run.current)) {
        SalesmanEnd(run);
        SalesmanLine(code);
        OrderLineRule(15, 480, 1);
        PStringCopy(run.current, code);
        run.started = true;
    }
    CommissionRows(run, invoice, false);
    return true;
}

bool EachByTransDate(const uint8_t *entry, void *context) {
    CommissionRun &run = *static_cast<CommissionRun *>(context);
    if (AfterTo(run, entry, CustTransVc::TransDate)) return false;
    if (LedgerEntryKind(GetU16(entry, CustTransVc::Kind)) != LedgerEntryKind::Invoice) return true;
    RuleRecord invoice(IVVc::Number);
    if (!invoice.record) return false;
    if (SalesInvoiceRead(GetU32(entry, CustTransVc::DocNr), invoice) && GetU16(invoice.record, IVVc::Posted) != 0 &&
        !OtherSalesman(run, invoice.record)) {
        CommissionRows(run, invoice.record, true);
    }
    RecFreeMatrix(IVVc::Number, invoice.record);
    return true;
}

bool EachForSummary(const uint8_t *invoice, void *context) {
    CommissionRun &run = *static_cast<CommissionRun *>(context);
    if (AfterTo(run, invoice, IVVc::InvDate)) return false;
    PString code;
    GetText(invoice, IVVc::SalesMan, code);
    if (GetU16(invoice, IVVc::Posted) == 0 || !code[0] || OtherSalesman(run, invoice)) return true;
    if (GetU16(run.selection, P::ReportLayout) == 1 && !HasLedgerEntry(invoice)) return true;
    SalesmanSums *line = nullptr;
    for (SalesmanSums &s : run.summary)
        if (PStringEqual(s.code, code)) line = &s;
    if (!line) {
        SalesmanSums s{};
        PStringCopy(s.code, code);
        DecSetZero(&s.sales);
        DecSetZero(&s.credits);
        run.summary.push_back(s);
        line = &run.summary.back();
    }
    const bool credit = InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote;
    EachItemRow(invoice, [&](const uint8_t *row) {
        const PackedDecimal base = RowBase(run, invoice, row);
        PackedDecimal *into = credit ? &line->credits : &line->sales;
        DecAdd(into, &base, into);
    });
    return true;
}

void SummaryLine(const uint8_t *code, const PackedDecimal &sales, const PackedDecimal &credits) {
    PackedDecimal net;
    DecSub(&sales, &credits, &net);
    RepStartLine(LineHeight);
    if (code) {
        PString name;
        RepText(15, 0, code, 0);
        if (SalesmanName(code, name)) RepText(70, 0, name, 0);
    }
    OrderLineAmount(270, &sales, FtAmount2, 1);
    OrderLineAmount(370, &credits, FtAmount2, 1);
    OrderLineAmount(470, &net, FtAmount2, 1);
    RepEndLine();
}

void SalesmanSalesSummary(CommissionRun &run) {
    ReportHeadings(LineHeight, {{15, 4908}, {270, 4910, 1}, {370, 4911, 1}, {470, 4906, 1}});
    RepRuleFull(1, 4);
    RuleRecord invoice(IVVc::Number);
    if (invoice.record) {
        PutDate(invoice.record, IVVc::InvDate, run.from);
        ReportIndexWalk(IVVc::Number, "InvDate", invoice.record, 1, EachForSummary, &run);
    }
    PackedDecimal sales, credits;
    DecSetZero(&sales);
    DecSetZero(&credits);
    for (const SalesmanSums &s : run.summary) {
        SummaryLine(s.code, s.sales, s.credits);
        DecAdd(&sales, &s.sales, &sales);
        DecAdd(&credits, &s.credits, &credits);
    }
    RepRuleFull(1, 4);
    SummaryLine(nullptr, sales, credits);
}

}  // namespace

void RowCommission(const uint8_t *item, const uint8_t *salesman, const PackedDecimal *base, PackedDecimal *percent,
                   PackedDecimal *commission) {
    assert(item && salesman && base && percent && commission);
    DecSetZero(percent);
    DecSetZero(commission);
    RuleRecord it(INVc::Number), person(PEVc::Number);
    if (!it.record || !person.record || !item[0] || !salesman[0]) return;
    uint32_t recid = 0, position = 0;
    PutText(it.record, INVc::Code, item);
    const bool itemFound = RecFind(INVc::Number, it.record, 1, 1, &recid, &position);
    RecFreeMatrix(INVc::Number, it.record);
    PutText(person.record, PEVc::Code, salesman);
    const bool personFound = RecFind(PEVc::Number, person.record, 1, 1, &recid, &position);
    RecFreeMatrix(PEVc::Number, person.record);
    if (!itemFound || !personFound) return;
    *percent = GetDec(person.record, PEVc::CommPrc);
    if (DecIsBlank(percent)) DecSetZero(percent);
    if (DecCompareDouble(percent, -100) < 0 || DecCompareDouble(percent, 100) > 0) return;
    PackedDecimal hundred;
    DecFromLong(&hundred, 100);
    DecMul(base, percent, commission);
    DecDiv(commission, &hundred, commission);
    DecRound(commission, 2, commission);
}

void InvoiceReport72(ReportJob &job) {
    assert(job.selection);
    CommissionRun run;
    run.selection = job.selection;
    run.from = GetDate(job.selection, P::Date2From);
    run.to = GetDate(job.selection, P::Date2To);
    GetTextPrefix(job.selection, P::SelText7, 20, run.salesman);
    run.secondBase = GetU16(job.selection, P::Option2) == 1;
    for (PackedDecimal *d : {&run.sum[0], &run.sum[1], &run.grand[0], &run.grand[1]}) DecSetZero(d);
    RepBeginJobNr(4901);
    if (GetU16(job.selection, P::Option1) != 0) {
        SalesmanSalesSummary(run);
        RepEndJob();
        return;
    }
    CommissionHeadings();
    if (GetU16(job.selection, P::ReportLayout) == 1) {
        RuleRecord entry(CustTransVc::Number);
        if (entry.record) {
            PutDate(entry.record, CustTransVc::TransDate, run.from);
            ReportIndexWalk(CustTransVc::Number, "TransDate", entry.record, 1, EachByTransDate, &run);
        }
    } else {
        RuleRecord invoice(IVVc::Number);
        if (invoice.record) {
            PutText(invoice.record, IVVc::SalesMan, run.salesman);
            PutDate(invoice.record, IVVc::InvDate, run.from);
            ReportIndexWalk(IVVc::Number, "SalesMan", invoice.record, 2, EachBySalesman, &run);
        }
        SalesmanEnd(run);
    }
    SumLine(4906, run.grand, 2);
    RepEndJob();
}
