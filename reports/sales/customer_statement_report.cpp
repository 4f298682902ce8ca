// customer_statement_report.cpp - report 66, a statement per customer of
// its open invoices with the payments made on them: each invoice's
// payments, then what is still open with the days it is overdue, and the
// customer's open and overdue sums.
//
// The statement starts (layout 0) a few settled invoices before the first
// open one, so the customer sees the latest payments, or (layout 1) at
// the first invoice entered in the customer ledger on or after the as-of
// date. Which customers get one is chosen by RangeKind: all, those with
// an open item, those with an overdue open item.
#include <cassert>
#include <cstring>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/sales_lists.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, SettledBefore = 5;
constexpr uint16_t OutPreviewKind = OutputCode(OutputKind::ToPreview);
constexpr int32_t NoStart = -1;
constexpr const char *Dots = "...........";
// The columns of a statement line (report units, the line 480 wide): each
// text column ends before the next one starts, so a long reference or a
// wide order number never prints over its neighbour.
constexpr int ColInvoice = 11, ColDate = 60, ColPaidOn = 120, ColAmount = 250, ColReference = 265,
              ColOrder = 420, ColDays = 478;
// The characters of a reference that fit between its column and the
// order number's widest (ten digits, right-aligned at ColOrder).
constexpr int ReferenceFit = 18;

struct Sums {
    PackedDecimal open, overdue;
};

void Amount(int x, const PackedDecimal *a) { RepValue(x, 0, a->b, FtAmount2, 1); }

void Gap()
{
    RepStartLine(10);
    RepEndLine();
}

// The open and overdue sums under a rule: a short one under a customer's
// statement, a full one under the report's.
void SumsFoot(const Sums &sums, bool fullRule)
{
    Gap();
    if (fullRule) {
        RepRuleFull(1, 2);
    } else {
        RepStartLine(LineHeight);
        RepRule(270, 480, 2);
        RepEndLine();
    }
    for (const auto &[text, sum] : {std::pair{2713, &sums.open}, std::pair{2714, &sums.overdue}}) {
        RepStartLine(LineHeight);
        RepTextNr(270, 0, text, 0);
        Amount(470, sum);
        RepEndLine();
    }
    RepRuleFull(1, 4);
    Gap();
}

// The open item (register 13) of invoice serial into item; false when none.
bool OpenItemOf(int32_t serial, uint8_t *item)
{
    std::memset(item, 0, ARVc::Size);
    PutI32(item, ARVc::InvoiceNr, serial);
    return RecFindByFirstKey(ARVc::Number, item);
}

bool SameCustomer(const uint8_t *invoice, const uint8_t *code)
{
    PString own;
    GetText(invoice, IVVc::CustCode, own);
    return PStringEqual(own, code);
}

// The customer's open items: whether any, whether any due before today,
// and the invoice serial of the first.
void OpenItemsOf(const uint8_t *code, bool *any, bool *overdue, int32_t *first)
{
    *any = *overdue = false;
    *first = NoStart;
    RuleRecord item(ARVc::Number);
    if (!item.record || code[0] == 0) return;
    IndexWalkOfCode(ARVc::Number, "CustCode", item.record, 1, ARVc::CustCode, code, [&](const uint8_t *open) {
        if (!*any) *first = GetI32(open, ARVc::InvoiceNr);
        *any = true;
        const DateRec due = GetDate(open, ARVc::DueDate);
        if (DateCompare(&due, &TodayDate) < 0) *overdue = true;
        return true;
    });
}

// Layout 0's start: from the first open invoice back over the customer's
// invoices, up to the fifth one that is settled; that one, or the open
// invoice itself when none before it is settled.
int32_t StartBeforeFirstOpen(const uint8_t *code, int32_t firstOpen)
{
    RuleRecord inv(IVVc::Number);
    if (!inv.record) return firstOpen;
    PutText(inv.record, IVVc::CustCode, code);
    PutI32(inv.record, IVVc::SerNr, firstOpen);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(IVVc::Number, "CustCode", inv.record, 2, 0, &recid, &position)) return firstOpen;
    int32_t start = firstOpen, settled = 0;
    uint8_t item[ARVc::Size];
    for (int32_t at = (int32_t)position - 1; at >= 0 && settled < SettledBefore; at--) {
        RecFreeMatrix(IVVc::Number, inv.record);
        if (!RecReadAtIndex(IVVc::Number, "CustCode", at, inv.record, &recid)) break;
        if (!SameCustomer(inv.record, code)) break;
        const int32_t serial = GetI32(inv.record, IVVc::SerNr);
        if (OpenItemOf(serial, item)) continue;
        settled++;
        start = serial;
    }
    RecFreeMatrix(IVVc::Number, inv.record);
    return start;
}

// Layout 1's start: the invoice of the customer's first invoice entry in
// the customer ledger on or after the as-of date.
int32_t StartAtAsOf(const uint8_t *selection, const uint8_t *code)
{
    RuleRecord entry(CustTransVc::Number);
    if (!entry.record) return NoStart;
    PutDate(entry.record, CustTransVc::TransDate, GetDate(selection, P::Date2From));
    int32_t start = NoStart;
    const auto untilInvoice = [&start](const uint8_t *e) {
        if (LedgerEntryKind(GetU16(e, CustTransVc::Kind)) != LedgerEntryKind::Invoice) return true;
        start = GetI32(e, CustTransVc::DocNr);
        return false;
    };
    IndexWalkOfCode(CustTransVc::Number, "CustTransKey", entry.record, 2, CustTransVc::CustCode, code, untilInvoice);
    return start;
}

// The reference (cut to its column) and the order number of an invoice,
// the columns every statement line ends with.
void InvoiceTail(const uint8_t *invoice)
{
    PString reference;
    GetText(invoice, IVVc::RefStr, reference);
    if (reference[0] > ReferenceFit) reference[0] = ReferenceFit;
    RepText(ColReference, 0, reference, 0);
    RepValue(ColOrder, 0, invoice + IVVc::OrderNr, FtLongOrEmpty, 1);
}

void CustomerStatementBlock(const uint8_t *customer, int32_t start, Sums *grand)
{
    PString code;
    GetText(customer, CUVc::Code, code);
    const uint16_t month = MonthIndex(&TodayDate);
    PackedDecimal opening, balance;
    CustomerPeriodBalances(customer, true, month, month, &opening, &balance);
    RepStartLine(LineHeight);
    RepTextField(11, customer, CUVc::Code);
    RepTextField(100, customer, CUVc::Name);
    RepTextField(290, customer, CUVc::Addr1);
    RepEndLine();
    RepStartLine(LineHeight);
    RepValue(100, 0, balance.b, FtAmount2, 0);
    RepTextField(290, customer, CUVc::Addr2);
    RepEndLine();
    RepRuleFull(1, 4);
    ReportHeadings(LineHeight, {{ColInvoice, 2706}, {ColDate, 2707}, {ColPaidOn, 2708}, {ColAmount, 2709, 1},
                                {ColReference, 2710}, {ColOrder, 2711, 1}, {ColDays, 2712, 1}});
    Sums own;
    DecSetZero(&own.open);
    DecSetZero(&own.overdue);
    RuleRecord inv(IVVc::Number);
    if (inv.record && start != NoStart) {
        PutI32(inv.record, IVVc::SerNr, start);
        uint8_t item[ARVc::Size];
        PString dots;
        PStringFromC(dots, Dots);
        IndexWalkOfCode(IVVc::Number, "CustCode", inv.record, 2, IVVc::CustCode, code, [&](const uint8_t *invoice) {
            const int lines = InvoicePaymentLines(invoice);
            if (OpenItemOf(GetI32(invoice, IVVc::SerNr), item)) {
                PackedDecimal open = GetDec(item, ARVc::OpenAmount);
                const PackedDecimal rate = GetDec(invoice, IVVc::Rate);
                AmountTimesRate(&open, &rate, &open);
                const DateRec due = GetDate(item, ARVc::DueDate);
                const int32_t days = DateDiffDays(&due, &TodayDate);
                RepStartLine(LineHeight);
                if (lines == 0) {
                    RepValue(ColInvoice, 0, invoice + IVVc::SerNr, FtLongOrEmpty, 0);
                    RepValue(ColDate, 0, invoice + IVVc::InvDate, FtDate, 0);
                }
                RepText(ColPaidOn, 0, dots, 0);
                Amount(ColAmount, &open);
                InvoiceTail(invoice);
                if (days < 0) {
                    // Days past due, counted up: the due date lies before today.
                    const int32_t over = -days;
                    RepValue(ColDays, 0, reinterpret_cast<const uint8_t *>(&over), FtLong, 1);
                    DecAdd(&own.overdue, &open, &own.overdue);
                }
                RepEndLine();
                DecAdd(&own.open, &open, &own.open);
            }
            return !ReportCancelled();
        });
    }
    SumsFoot(own, false);
    DecAdd(&grand->open, &own.open, &grand->open);
    DecAdd(&grand->overdue, &own.overdue, &grand->overdue);
}

// Whether the customer gets a statement and from which invoice.
void CustomerStatementSelect(const uint8_t *selection, const uint8_t *customer, Sums *grand)
{
    PString code;
    GetText(customer, CUVc::Code, code);
    bool any = false, overdue = false;
    int32_t firstOpen = NoStart;
    OpenItemsOf(code, &any, &overdue, &firstOpen);
    switch (GetU16(selection, P::RangeKind)) {
    case 0: break;
    case 1: if (!any) return; break;
    case 2: if (!overdue) return; break;
    default: return;
    }
    int32_t start = NoStart;
    if (GetU16(selection, P::ReportLayout) == 1) start = StartAtAsOf(selection, code);
    else if (any) start = StartBeforeFirstOpen(code, firstOpen);
    CustomerStatementBlock(customer, start, grand);
    if (GetU16(selection, P::Option2) != 0 && GetU16(selection, P::OutputKind) != OutPreviewKind)
        RepNewPage(0);
}

// What the customer walk carries: the job record and the grand sums.
struct StatementWalk {
    const uint8_t *selection;
    Sums *grand;
};

void EachCustomer(const uint8_t *customer, void *context)
{
    const StatementWalk &walk = *static_cast<const StatementWalk *>(context);
    CustomerStatementSelect(walk.selection, customer, walk.grand);
}

}  // namespace

int InvoicePaymentLines(const uint8_t *invoice)
{
    assert(invoice);
    const int32_t serial = GetI32(invoice, IVVc::SerNr);
    const PackedDecimal rate = GetDec(invoice, IVVc::Rate);
    RuleRecord entry(CustTransVc::Number);
    if (!entry.record) return 0;
    PutI32(entry.record, CustTransVc::InvoiceNr, serial);
    PutU16(entry.record, CustTransVc::Kind, uint16_t(LedgerEntryKind::Payment));
    int lines = 0;
    IndexWalkAll(CustTransVc::Number, "IVKey", entry.record, 2, [&](const uint8_t *e) {
        if (GetI32(e, CustTransVc::InvoiceNr) != serial ||
            LedgerEntryKind(GetU16(e, CustTransVc::Kind)) != LedgerEntryKind::Payment) return false;
        PackedDecimal paid;
        ReceiptPaidOnInvoice(e, &paid);
        AmountTimesRate(&paid, &rate, &paid);
        RepStartLine(LineHeight);
        if (lines == 0) {
            RepValue(ColInvoice, 0, invoice + IVVc::SerNr, FtLongOrEmpty, 0);
            RepValue(ColDate, 0, invoice + IVVc::InvDate, FtDate, 0);
        }
        RepValue(ColPaidOn, 0, e + CustTransVc::TransDate, FtDate, 0);
        Amount(ColAmount, &paid);
        InvoiceTail(invoice);
        RepEndLine();
        lines++;
        return true;
    });
    return lines;
}

void CustomerStatementReport(ReportJob &job)
{
    assert(job.selection);
    Sums grand;
    DecSetZero(&grand.open);
    DecSetZero(&grand.overdue);
    RepBeginJobNr(2715);
    ReportHeadings(LineHeight, {{11, 2701}, {100, 2702}, {290, 2703}});
    RepStartLine(LineHeight);
    RepTextNr(100, 0, 2704, 1);
    RepEndLine();
    RepRuleFull(1, 4);
    StatementWalk walk{job.selection, &grand};
    CustomerWalk(job.selection, EachCustomer, &walk);
    SumsFoot(grand, true);
    RepEndJob();
}
