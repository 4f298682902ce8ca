// customer_balance_report.cpp - report 34, each customer's balance at the
// start and the end of a period of whole months with the change between
// (layout 0), or its customer-ledger transactions in the period with a
// running balance (layout 1); in home currency or, with Option3, in each
// customer's own currency with the sums per currency.
#include <cassert>
#include <cstdio>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/column_fit.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;
constexpr uint32_t NoInvoice = 0xFFFFFFFFu;
// Column numbers of the layout of the report.
constexpr int ColClosing = 1, ColName = 2, ColDebit = 3, ColCredit = 4, ColLabel = 6, ColRuleFrom = 9;

// The debit and credit of every customer the transaction listing showed.
PackedDecimal ListedDebit, ListedCredit;

// What the walk gathers.
struct BalanceSums {
    const uint8_t *selection;   // the job record
    PackedDecimal opening, closing;
};

bool CustomerCurrency(const uint8_t *selection) { return GetU16(selection, P::Option3) != 0; }
bool SkipEmpty(const uint8_t *selection) { return GetU16(selection, P::Option2) != 0; }

// Adds the three amounts to the totals table under the customer's currency.
void TotalsOfCustomer(const uint8_t *customer, const PackedDecimal *a, const PackedDecimal *b,
                      const PackedDecimal *c) {
    PString currency;
    GetText(customer, CUVc::CurncyCode, currency);
    TotalsTableAdd(currency, a, b, c);
}

// The column headings of the balances: label, opening, change, closing.
void SumHeadings(int first, int firstX) {
    RepStartLine(LineHeight);
    RepTextNr(firstX, 0, first, 0);
    if (first == 2482) RepTextNr(ColName, 0, 2483, 0);
    RepTextNr(ColDebit, 0, 2495, -1);
    RepTextNr(ColCredit, 0, 2496, -1);
    RepTextNr(ColClosing, 0, 2489, -1);
    RepEndLine();
    RepRuleFull(1, 4);
}

void CustomerTransactionHead(const uint8_t *selection, const uint8_t *customer, const PackedDecimal *opening) {
    RepStartLine(LineHeight);
    RepTextField(0, customer, CUVc::Code);
    RepTextField(ColName, customer, CUVc::Name);
    RepEndLine();
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 3184, 0);
    RepTextNr(90, 0, 2435, 0);
    RepTextNr(140, 0, 2436, 0);
    RepTextNr(ColDebit, 0, 2490, -1);
    RepTextNr(ColCredit, 0, 2491, -1);
    if (CustomerCurrency(selection)) {
        PString currency;
        GetText(customer, CUVc::CurncyCode, currency);
        RepTextEx(ColClosing, -1, 0, -1, 0, currency);
    } else {
        RepTextNr(ColClosing, 0, 2489, -1);
    }
    RepEndLine();
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepTextNr(ColLabel, 0, 2492, 0);
    RepAmountAt(ColClosing, opening);
    RepEndLine();
}

// The receipt's counted rows that the entry stands for, in the receipt's
// currency or in home currency at the rate of the invoice each pays (a
// payment on account at the receipt's own rate).
void ReceiptRowsForEntry(const uint8_t *entry, const uint8_t *receipt, const uint8_t *customer, bool inCurrency,
                         PackedDecimal *sum) {
    DecSetZero(sum);
    const DateRec date = GetDate(receipt, IPVc::TransDate), entryDate = GetDate(entry, CustTransVc::Date2);
    const uint32_t invoiceNr = GetU32(entry, CustTransVc::InvoiceNr);
    PString code, own;
    GetText(customer, CUVc::Code, own);
    uint8_t row[IPVc::Rows::Size];
    const int32_t rows = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row)) break;
        const PaidRowKind kind = PaidRowKind(GetU16(row, IPVc::Rows::Kind));
        if ((kind != PaidRowKind::Paid && kind != PaidRowKind::Discount && kind != PaidRowKind::Fee) ||
            GetU32(row, IPVc::Rows::InvoiceNr) != invoiceNr) continue;
        DateRec rowDate = GetDate(row, IPVc::Rows::PayDate);
        if (rowDate.year != 0 && DateCompare(&rowDate, &date) != 0) continue;
        if (rowDate.year == 0) rowDate = date;
        if (entryDate.year != 0 && DateCompare(&rowDate, &entryDate) != 0) continue;
        GetText(row, IPVc::Rows::CustCode, code);
        if (!PStringEqual(code, own)) continue;
        PackedDecimal amount = GetDec(row, IPVc::Rows::Amount), rate = GetDec(receipt, IPVc::Rate);
        if (!inCurrency) {
            if (invoiceNr != NoInvoice) {
                RuleRecord invoice(IVVc::Number);
                if (!SalesInvoiceRead(invoiceNr, invoice)) continue;
                rate = GetDec(invoice.record, IVVc::Rate);
            }
            AmountTimesRate(&amount, &rate, &amount);
        }
        DecAdd(sum, &amount, sum);
    }
}

// One line of the listing: date, text, number text, debit and credit
// where given, and the balance.
void TransactionLine(const uint8_t *entry, int text, const uint8_t *number, const PackedDecimal *debit,
                     const PackedDecimal *credit, const PackedDecimal *balance) {
    RepStartLine(LineHeight);
    RepValue(0, 0, entry + CustTransVc::TransDate, FtDate, 0);
    RepTextNr(90, 0, text, 0);
    RepTextEx(140, -1, 0, 0, 0, number);
    if (debit) RepAmountAt(ColDebit, debit);
    if (credit) RepAmountAt(ColCredit, credit);
    RepAmountAt(ColClosing, balance);
    RepEndLine();
}

// A number as text, "12".
void NumberText(int32_t n, uint8_t *out) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", n);
    PStringFromC(out, buf);
}

void EachBalance(const uint8_t *customer, void *context) {
    BalanceSums *g = static_cast<BalanceSums *>(context);
    PackedDecimal opening, closing, change;
    const uint8_t *selection = g->selection;
    CustomerPeriodBalances(customer, CustomerCurrency(selection), GetU16(selection, P::MonthFrom),
                           GetU16(selection, P::MonthTo), &opening, &closing);
    DecAdd(&g->opening, &opening, &g->opening);
    if (GetU16(selection, P::ReportLayout) == 1) {
        CustomerTransactionList(selection, customer, &opening);
        DecAdd(&g->closing, &opening, &g->closing);
        return;
    }
    DecSub(&closing, &opening, &change);
    DecAdd(&g->closing, &closing, &g->closing);
    if (SkipEmpty(selection) && DecIsZero(&opening) && DecIsZero(&change) && DecIsZero(&closing)) return;
    RepStartLine(LineHeight);
    RepTextField(0, customer, CUVc::Code);
    // A long name is cut before the opening balance rather than pushing
    // the amounts onto a line of their own.
    RepFieldCut(ColName, customer, CUVc::Name,
                RepAmountStart(ColDebit, opening) - RepPositionUnits(ColName) - RepColumnGap);
    RepAmountAt(ColDebit, &opening);
    RepAmountAt(ColCredit, &change);
    RepAmountAt(ColClosing, &closing);
    RepEndLine();
    TotalsOfCustomer(customer, &opening, &change, &closing);
}

}  // namespace

void CustomerTransactionList(const uint8_t *selection, const uint8_t *customer, PackedDecimal *balance) {
    assert(selection && customer && balance);
    const bool inCurrency = CustomerCurrency(selection);
    const PackedDecimal opening = *balance;
    bool head = !DecIsZero(&opening) || !SkipEmpty(selection);
    if (head) CustomerTransactionHead(selection, customer, &opening);
    PackedDecimal debit, credit;
    DecSetZero(&debit);
    DecSetZero(&credit);
    PString own, objects, number, tail;
    GetText(customer, CUVc::Code, own);
    GetText(selection, P::ObjectSel, objects);
    const DateRec to = GetDate(selection, P::DateTo);
    RuleRecord entry(CustTransVc::Number), doc(IVVc::Number), receipt(IPVc::Number);
    if (!entry.record || !doc.record || !receipt.record) return;
    PutDate(entry.record, CustTransVc::TransDate, GetDate(selection, P::DateFrom));
    const auto eachEntry = [&](const uint8_t *e) {
        const DateRec on = GetDate(e, CustTransVc::TransDate);
        if (to.year != 0 && DateCompare(&on, &to) > 0) return false;
        const LedgerEntryKind kind = LedgerEntryKind(GetU16(e, CustTransVc::Kind));
        const uint32_t docNr = GetU32(e, CustTransVc::DocNr);
        if (kind == LedgerEntryKind::Payment) {
            if (objects[0]) return true;
            if (!SalesReceiptRead(docNr, receipt)) return true;
            PackedDecimal sum;
            ReceiptRowsForEntry(e, receipt.record, customer, inCurrency, &sum);
            if (DecIsZero(&sum)) return true;
            if (!head) CustomerTransactionHead(selection, customer, &opening);
            head = true;
            DecSub(balance, &sum, balance);
            DecAdd(&credit, &sum, &credit);
            const uint32_t paid = GetU32(e, CustTransVc::InvoiceNr);
            NumberText((int32_t)docNr, number);
            if (paid != NoInvoice) {
                PStringAppendC(number, " (");
                NumberText((int32_t)paid, tail);
                PStringAppend(number, tail);
                PStringAppendC(number, ")");
            }
            TransactionLine(e, paid == NoInvoice ? 2497 : 2486, number, nullptr, &sum, balance);
        } else if (kind == LedgerEntryKind::Invoice) {
            if (!SalesInvoiceRead(docNr, doc)) return true;
            PString docObjects;
            GetText(doc.record, IVVc::Objects, docObjects);
            if (objects[0] && !ObjectListContains(objects, docObjects)) return true;
            // The ledger entries carry no amount of their own: the
            // invoice's total stands for them then.
            PackedDecimal amount = GetDec(e, CustTransVc::Amount);
            if (DecIsZero(&amount)) amount = GetDec(doc.record, IVVc::Total);
            if (!inCurrency) {
                const PackedDecimal rate = GetDec(doc.record, IVVc::Rate);
                AmountTimesRate(&amount, &rate, &amount);
            }
            if (!head) CustomerTransactionHead(selection, customer, &opening);
            head = true;
            NumberText((int32_t)docNr, number);
            const InvoiceKind invKind = InvoiceKind(GetU16(doc.record, IVVc::InvType));
            bool both = invKind == InvoiceKind::Cash;
            if (invKind == InvoiceKind::CreditNote) {
                RuleRecord credited(IVVc::Number);
                both = SalesInvoiceRead(GetU32(doc.record, IVVc::CredInv), credited) &&
                       InvoiceKind(GetU16(credited.record, IVVc::InvType)) == InvoiceKind::Cash;
            }
            if (both) {
                DecAdd(&debit, &amount, &debit);
                DecAdd(&credit, &amount, &credit);
                TransactionLine(e, invKind == InvoiceKind::Cash ? 2488 : 2487, number, &amount, &amount, balance);
            } else if (invKind == InvoiceKind::CreditNote) {
                DecSub(balance, &amount, balance);
                DecAdd(&credit, &amount, &credit);
                TransactionLine(e, 2487, number, nullptr, &amount, balance);
            } else {
                DecAdd(balance, &amount, balance);
                DecAdd(&debit, &amount, &debit);
                TransactionLine(e, 2485, number, &amount, nullptr, balance);
            }
        }
        return !ReportCancelled();
    };
    IndexWalkOfCode(CustTransVc::Number, "CustTransKey", entry.record, 2, CustTransVc::CustCode, own, eachEntry);
    if (!head) return;
    DecAdd(&ListedDebit, &debit, &ListedDebit);
    DecAdd(&ListedCredit, &credit, &ListedCredit);
    PackedDecimal net;
    DecSub(&debit, &credit, &net);
    RepStartLine(LineHeight);
    RepRule(ColRuleFrom, ColClosing, 2);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(ColLabel, 0, 3192, 0);
    RepAmountAt(ColDebit, &debit);
    RepAmountAt(ColCredit, &credit);
    RepEndLine();
    RepStartLine(5);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(ColLabel, 0, 3194, 0);
    RepAmountAt(ColDebit, &net, FtDebit);
    RepAmountAt(ColCredit, &net, FtCredit);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(ColLabel, 0, 3195, 0);
    RepAmountAt(ColClosing, balance);
    RepEndLine();
    RepRuleFull(1, 4);
    TotalsOfCustomer(customer, &opening, &net, balance);
}

// Report 34. The total line's change column is the movement of the
// customers listed: the debit less the credit of the transaction listing
// in layout 1, the closing sum less the opening sum in layout 0 (which
// gathers no transactions).
void CustomerBalanceReport(ReportJob &job) {
    assert(job.selection);
    const int layout = GetU16(job.selection, P::ReportLayout);
    TotalsTableReset();
    DecSetZero(&ListedDebit);
    DecSetZero(&ListedCredit);
    BalanceSums g;
    g.selection = job.selection;
    DecSetZero(&g.opening);
    DecSetZero(&g.closing);
    RepBeginJobNr(2480);
    if (layout == 0) SumHeadings(2482, 0);
    CustomerWalk(job.selection, EachBalance, &g);
    if (!CustomerCurrency(job.selection)) {
        PackedDecimal change;
        if (layout == 1) DecSub(&ListedDebit, &ListedCredit, &change);
        else DecSub(&g.closing, &g.opening, &change);
        RepRuleFull(1, 4);
        RepStartLine(LineHeight);
        // The code's column stays empty, so that a text file, which writes
        // a line's texts one after the other, puts the label under the
        // names and the sums under their headings as the page does.
        if (layout == 0) RepText(0, 0, EmptyPString, 0);
        RepTextNr(ColLabel, 0, 2429, 0);
        RepAmountAt(ColDebit, &g.opening);
        RepAmountAt(ColCredit, &change);
        RepAmountAt(ColClosing, &g.closing);
        RepEndLine();
    } else {
        SumHeadings(2429, ColLabel);
        TotalsTablePrint(ColDebit, ColCredit, ColClosing, ColLabel, 1);
    }
    RepEndJob();
}
