// customer_ledger_report.cpp - report 5, what each customer owes: the
// open invoices with what lowered them (layout 0), a line per open item
// (1), four ageing buckets (2), the balance only (3), or the foreign
// items revalued at the day's rate (4). Without an as-of date it lists
// the open items of today; with one it walks the invoices and takes off
// what was paid or credited up to that date.
#include <cassert>
#include <cstdio>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/column_fit.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/line_values.h"
#include "reports/frame/party_walk.h"
#include "reports/frame/report_run.h"
#include "reports/frame/totals_table.h"
#include "reports/sales/aged_buckets.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;
// The columns of the line per open item (layout 1), its heading's too:
// the invoice number and due date start at theirs, the day count, order
// number and amount end at theirs. Placed for the preview's font, the
// widest the report is drawn in: a date and a four-digit day count, or
// that count and a seven-digit order number, side by side keep a gap.
constexpr int ItemInvoiceX = 150, ItemDueX = 210, ItemDaysX = 315, ItemOrderX = 375, ItemAmountX = 450;
// The columns of the invoices with what lowered them (layout 0): the
// entry's kind ("Credit note" the widest) and number start at theirs, the
// date ends at its; a seven-digit number keeps a gap on either side.
constexpr int EntryKindX = 100, EntryNumberX = 172, EntryDateX = 295;
// The ageing columns (layout 2): the four buckets and their sum end at
// theirs, far enough apart for "123 456,00" each at the preview's font;
// the name is cut before the first amount's widest start.
constexpr int BucketX[4] = {178, 246, 314, 382}, BucketSumX = 450, NameX = 60, NameEndX = 112;

// What the selection asks for, read once.
struct LedgerSelection {
    int layout;
    bool overdueOnly, byName, customerCurrency, asOfMode;
    DateRec asOf, reference;   // the as-of date; the date days count from
    PString from, to, group, salesman;
};

// One customer's sums while its items are listed.
struct CustomerSums {
    PackedDecimal foreign, home, overdue, buckets[4];
    int count;
    bool headPrinted;
};

// The grand sums over all customers.
struct GrandSums {
    PackedDecimal home, overdue, buckets[4], book, revalued;
};

void Zero(PackedDecimal *d, int n = 1) {
    for (int i = 0; i < n; i++) DecSetZero(&d[i]);
}

void Add(PackedDecimal *sum, const PackedDecimal *amount) {
    if (!DecIsBlank(amount)) DecAdd(sum, amount, sum);
}

void Text(int x, const uint8_t *text, int align = 0) { RepTextEx(x, -1, 0, align, 0, text); }

// The currency code of a record at 480, right.
void CurrencyAt480(const uint8_t *record, uint32_t offset) { RepTextField(480, record, offset, 5, 0, -1); }

// A heading text built from the limits, right-aligned at x.
void LimitText(int x, int32_t low, const char *sep, int32_t high, bool withHigh) {
    char buf[48];
    if (withHigh) std::snprintf(buf, sizeof buf, "%d%s%d", low, sep, high);
    else std::snprintf(buf, sizeof buf, "%d%s", low, sep);
    PString t;
    PStringFromC(t, buf);
    Text(x, t, -1);
}

void Headings(int layout) {
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2426, 0);
    switch (layout) {
    case 0:
        RepTextNr(EntryKindX, 0, 2435, 0);
        RepTextNr(EntryNumberX, 0, 2436, 0);
        RepTextNr(EntryDateX, 0, 2438, -1);
        RepTextNr(380, 0, 2425, -1);
        RepTextNr(480, 0, 2434, -1);
        break;
    case 1:
        RepTextNr(ItemInvoiceX, 0, 2423, 0);
        RepTextNr(ItemDueX, 0, 2422, 0);
        RepTextNr(ItemDaysX, 0, 2428, -1);
        RepTextNr(ItemOrderX, 0, 2711, -1);
        RepTextNr(ItemAmountX, 0, 2434, -1);
        break;
    case 2: {
        int32_t l1 = 0, l2 = 0;
        AgedLimits(&l1, &l2);
        RepTextNr(BucketX[0], 0, 2521, -1);
        LimitText(BucketX[1], 0, " - ", l1, true);
        LimitText(BucketX[2], l1 + 1, " - ", l2, true);
        LimitText(BucketX[3], l2 + 1, " - ", 0, false);
        RepTextNr(BucketSumX, 0, 2424, -1);
        break;
    }
    case 3:
        RepTextNr(480, 0, 2424, -1);
        break;
    default:
        RepTextNr(200, 0, 2423, 0);
        RepTextNr(380, 0, 2439, -1);
        RepTextNr(480, 0, 2440, -1);
        break;
    }
    RepEndLine();
    RepRuleFull(1, 4);
}

// amount at the rate of record (an invoice or a receipt).
void AtRate(const PackedDecimal *amount, const uint8_t *record, uint32_t rateAt, PackedDecimal *out) {
    const PackedDecimal rate = GetDec(record, rateAt);
    AmountTimesRate(amount, &rate, out);
}

// One line of layout 0 below an invoice: text, number, date and the
// negated amount at 380.
void LoweringLine(int text, const uint8_t *number, const uint8_t *date, const PackedDecimal *amount) {
    PackedDecimal negated;
    DecNegateInto(amount, &negated);
    RepStartLine(LineHeight);
    RepTextNr(EntryKindX, 0, text, 0);
    RepValue(EntryNumberX, 0, number, FtLong, 0);
    RepValue(EntryDateX, 0, date, FtDate, -1);
    RepAmountAt(380, &negated);
    RepEndLine();
}

// A line of layout 0 for a ledger entry booked against invoice serial: a
// credit note with its total, or a receipt with what its rows paid on the
// invoice that day; nothing for another entry or a document gone.
void EntryLoweringLine(const uint8_t *entry, int32_t serial, const LedgerSelection &s) {
    const LedgerEntryKind kind = LedgerEntryKind(GetU16(entry, CustTransVc::Kind));
    const int32_t doc = GetI32(entry, CustTransVc::DocNr);
    if (kind == LedgerEntryKind::Invoice && doc != serial) {
        RuleRecord credit(IVVc::Number);
        if (!SalesInvoiceRead((uint32_t)doc, credit) ||
            InvoiceKind(GetU16(credit.record, IVVc::InvType)) != InvoiceKind::CreditNote) return;
        PackedDecimal amount = GetDec(credit.record, IVVc::Total), shown;
        if (s.customerCurrency) shown = amount;
        else AtRate(&amount, credit.record, IVVc::Rate, &shown);
        LoweringLine(2433, credit.record + IVVc::SerNr, credit.record + IVVc::InvDate, &shown);
    } else if (kind == LedgerEntryKind::Payment) {
        RuleRecord receipt(IPVc::Number);
        if (!SalesReceiptRead(uint32_t(doc), receipt)) return;
        const DateRec date = GetDate(receipt.record, IPVc::TransDate);
        PackedDecimal sum;
        DecSetZero(&sum);
        uint8_t row[IPVc::Rows::Size];
        const int32_t rows = MatrixRowCount(IPVc::Number, 0, receipt.record);
        for (int32_t i = 0; i < rows; i++) {
            if (!MatrixRowRead(IPVc::Number, receipt.record, i, row)) break;
            const PaidRowKind rowKind = PaidRowKind(GetU16(row, IPVc::Rows::Kind));
            if ((rowKind != PaidRowKind::Paid && rowKind != PaidRowKind::Discount && rowKind != PaidRowKind::Fee) ||
                GetU16(row, IPVc::Rows::Flag) != 0 ||
                GetI32(row, IPVc::Rows::InvoiceNr) != serial)
                continue;
            const DateRec rowDate = GetDate(row, IPVc::Rows::PayDate);
            if (rowDate.year != 0 && DateCompare(&rowDate, &date) != 0) continue;
            const PackedDecimal amount = GetDec(row, IPVc::Rows::Amount);
            DecAdd(&sum, &amount, &sum);
        }
        if (DecIsZero(&sum)) return;
        PackedDecimal shown;
        if (s.customerCurrency) shown = sum;
        else AtRate(&sum, receipt.record, IPVc::Rate, &shown);
        LoweringLine(2432, receipt.record + IPVc::SerNr, receipt.record + IPVc::TransDate, &shown);
    }
}

// Layout 0: the invoice with its total and open amount, then the credit
// notes and receipts booked against it (up to the as-of date in that
// mode).
void CustomerLedgerInvoiceLines(const uint8_t *invoice, const PackedDecimal *open, int count,
                                const LedgerSelection &s) {
    if (count > 1) {
        RepStartLine(LineHeight);
        RepRule(300, 380, 4);
        RepEndLine();
    }
    PackedDecimal total = GetDec(invoice, IVVc::Total), shownTotal, shownOpen;
    if (s.customerCurrency) {
        shownTotal = total;
        shownOpen = *open;
    } else {
        AtRate(&total, invoice, IVVc::Rate, &shownTotal);
        AtRate(open, invoice, IVVc::Rate, &shownOpen);
    }
    RepStartLine(LineHeight);
    RepTextNr(EntryKindX, 0, 2431, 0);
    RepValue(EntryNumberX, 0, invoice + IVVc::SerNr, FtLong, 0);
    RepValue(EntryDateX, 0, invoice + IVVc::InvDate, FtDate, -1);
    RepAmountAt(380, &shownTotal);
    RepAmountAt(450, &shownOpen);
    if (s.customerCurrency) CurrencyAt480(invoice, IVVc::CurncyCode);
    RepEndLine();
    TotalsTableAddInCurrency(invoice, IVVc::CurncyCode, &shownOpen);

    struct Walk {
        int32_t serial;
        const LedgerSelection *s;
    } walk{GetI32(invoice, IVVc::SerNr), &s};
    ForEachInvoiceEntry(walk.serial, s.asOfMode ? &s.asOf : nullptr, [](const uint8_t *entry, void *context) {
        const Walk &w = *static_cast<const Walk *>(context);
        EntryLoweringLine(entry, w.serial, *w.s);
        return true;
    }, &walk);
}

// The head line of a customer in layouts 0 and 1, after a full rule.
void CustomerHead(const uint8_t *customer, const LedgerSelection &s, CustomerSums *c) {
    if (c->headPrinted || (s.layout != 0 && s.layout != 1)) return;
    c->headPrinted = true;
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepTextField(0, customer, CUVc::Code);
    RepFieldCut(100, customer, CUVc::Name, 280 - 100 - RepColumnGap);
    // The terms' code after the word that says what it is.
    uint8_t terms[256], label[256];
    GetText(customer, CUVc::PayTerms, terms);
    if (terms[0]) {
        GetUiText(label, Texts::ReportTermsLabel);
        PStringAppendC(label, " ");
        PStringAppend(label, terms);
        RepText(280, 0, label, 0);
    }
    if (s.customerCurrency) CurrencyAt480(customer, CUVc::CurncyCode);
    RepEndLine();
}

// The rate of currency on the date the report values at.
void RateOn(const uint8_t *record, uint32_t currencyAt, const LedgerSelection &s, PackedDecimal *rate) {
    PString currency;
    GetPString(record, currencyAt, 5, currency);
    if (!currency[0] || !CurrencyRate(currency, &s.reference, rate)) DecSetBlank(rate);
}

// One item that passed the selection: the head, the sums and the layout's
// line.
void ItemLines(const uint8_t *customer, const uint8_t *invoice, int32_t days, const PackedDecimal *amount,
               const PackedDecimal *home, const LedgerSelection &s, CustomerSums *c, GrandSums *g) {
    CustomerHead(customer, s, c);
    if (s.layout == 0 || s.layout == 1) {
        PString name, own;
        GetText(invoice, IVVc::Addr0, name);
        GetText(customer, CUVc::Name, own);
        if (!PStringEqual(name, own)) {
            RepStartLine(LineHeight);
            Text(100, name);
            RepEndLine();
        }
    }
    Add(&c->home, home);
    Add(&c->foreign, amount);
    c->count++;
    if (days < 0) Add(&c->overdue, home);
    switch (s.layout) {
    case 0:
        CustomerLedgerInvoiceLines(invoice, amount, c->count, s);
        break;
    case 1: {
        uint8_t slot[4];
        PutI32(slot, 0, days);
        RepStartLine(LineHeight);
        RepValue(ItemInvoiceX, 0, invoice + IVVc::SerNr, FtLong, 0);
        RepValue(ItemDueX, 0, invoice + IVVc::PayDate, FtDate, 0);
        RepValue(ItemDaysX, 0, slot, FtLong, -1);
        RepValue(ItemOrderX, 0, invoice + IVVc::OrderNr, FtLongOrEmpty, -1);
        RepAmountAt(ItemAmountX, s.customerCurrency ? amount : home);
        if (s.customerCurrency) CurrencyAt480(invoice, IVVc::CurncyCode);
        RepEndLine();
        TotalsTableAddInCurrency(invoice, IVVc::CurncyCode, s.customerCurrency ? amount : home);
        break;
    }
    case 2:
        AgedBucketAdd(days, s.customerCurrency ? amount : home, &c->buckets[0], &c->buckets[1], &c->buckets[2],
                      &c->buckets[3]);
        break;
    case 4: {
        PackedDecimal rate, revalued;
        RateOn(invoice, IVVc::CurncyCode, s, &rate);
        AmountTimesRate(amount, &rate, &revalued);
        RepStartLine(LineHeight);
        RepTextField(0, invoice, IVVc::Addr0);
        RepValue(200, 0, invoice + IVVc::SerNr, FtLong, 0);
        RepAmountAt(380, home);
        RepAmountAt(480, &revalued);
        RepEndLine();
        Add(&g->book, home);
        Add(&g->revalued, &revalued);
        break;
    }
    default:
        break;
    }
}

// True when the invoice's salesman passes the selection.
bool SalesmanPasses(const uint8_t *invoice, const LedgerSelection &s) {
    if (!s.salesman[0]) return true;
    PString code;
    GetText(invoice, IVVc::SalesMan, code);
    return PStringEqual(code, s.salesman);
}

// Invoice mode: the customer's posted invoices up to the as-of date with
// what was open of them on it.
void InvoiceItems(const uint8_t *customer, const LedgerSelection &s, CustomerSums *c, GrandSums *g) {
    RuleRecord invoice(IVVc::Number);
    if (!invoice.record) return;
    PString own;
    GetText(customer, CUVc::Code, own);
    PutI32(invoice.record, IVVc::SerNr, 0);
    IndexWalkOfCode(IVVc::Number, "CustCode", invoice.record, 2, IVVc::CustCode, own, [&](const uint8_t *inv) {
        const DateRec due = GetDate(inv, IVVc::PayDate), date = GetDate(inv, IVVc::InvDate);
        const int32_t days = DateDiffDays(&due, &s.asOf);
        const InvoiceKind kind = InvoiceKind(GetU16(inv, IVVc::InvType));
        if ((s.overdueOnly && days >= 0) || DateCompare(&date, &s.asOf) > 0 || GetU16(inv, IVVc::Posted) == 0 ||
            kind == InvoiceKind::Cash || !SalesmanPasses(inv, s))
            return true;
        PackedDecimal amount = GetDec(inv, IVVc::Total), home;
        if (kind == InvoiceKind::CreditNote) {
            if (GetI32(inv, IVVc::CredInv) != -1) return true;
            DecNegateInto(&amount, &amount);
        }
        InvoiceOpenAmountAt(GetI32(inv, IVVc::SerNr), &s.asOf, &amount);
        if (DecIsZero(&amount)) return true;
        AtRate(&amount, inv, IVVc::Rate, &home);
        ItemLines(customer, inv, days, &amount, &home, s, c, g);
        return !ReportCancelled();
    });
}

// Open-item mode: the customer's open items as they stand, each with its
// invoice (an item whose invoice is gone is left out).
void OpenItems(const uint8_t *customer, const LedgerSelection &s, CustomerSums *c, GrandSums *g) {
    RuleRecord item(ARVc::Number), invoice(IVVc::Number);
    if (!item.record || !invoice.record) return;
    PString own;
    GetText(customer, CUVc::Code, own);
    PutI32(item.record, ARVc::InvoiceNr, 0);
    IndexWalkOfCode(ARVc::Number, "CustCode", item.record, 2, ARVc::CustCode, own, [&](const uint8_t *openItem) {
        const DateRec due = GetDate(openItem, ARVc::DueDate);
        const int32_t days = DateDiffDays(&due, &s.reference);
        if (s.overdueOnly && days >= 0) return true;
        if (!SalesInvoiceRead(GetU32(openItem, ARVc::InvoiceNr), invoice) || !SalesmanPasses(invoice.record, s))
            return true;
        PackedDecimal amount = GetDec(openItem, ARVc::OpenAmount), home;
        AtRate(&amount, invoice.record, IVVc::Rate, &home);
        ItemLines(customer, invoice.record, days, &amount, &home, s, c, g);
        return !ReportCancelled();
    });
}

// The payments on account: into the sums, and a line where the layout
// shows one.
void OnAccount(const uint8_t *customer, const LedgerSelection &s, CustomerSums *c, GrandSums *g,
               PackedDecimal *shownSum) {
    PString code;
    GetText(customer, CUVc::Code, code);
    PackedDecimal home, foreign;
    CustomerOnAccountSums(code, s.asOfMode ? &s.asOf : nullptr, &home, &foreign);
    Add(&c->home, &home);
    Add(&c->foreign, &foreign);
    *shownSum = s.customerCurrency ? foreign : home;
    if (DecIsZero(&home) && DecIsZero(&foreign)) return;
    if (s.layout == 0 || s.layout == 1) {
        CustomerHead(customer, s, c);
        RepStartLine(LineHeight);
        RepTextNr(s.layout == 0 ? EntryKindX : ItemInvoiceX, 0, 2497, 0);
        RepAmountAt(450, shownSum);
        if (s.customerCurrency) CurrencyAt480(customer, CUVc::CurncyCode);
        RepEndLine();
        if (s.layout == 1) TotalsTableAddInCurrency(customer, CUVc::CurncyCode, shownSum);
    } else if (s.layout == 4) {
        PackedDecimal rate, revalued;
        RateOn(customer, CUVc::CurncyCode, s, &rate);
        AmountTimesRate(&foreign, &rate, &revalued);
        RepStartLine(LineHeight);
        RepFieldCut(0, customer, CUVc::Name, 200 - RepColumnGap);
        RepTextNr(200, 0, 2497, 0);
        RepAmountAt(380, &home);
        RepAmountAt(480, &revalued);
        RepEndLine();
        Add(&g->book, &home);
        Add(&g->revalued, &revalued);
    }
}

// Everything of one customer: its items, payments on account and footer.
void CustomerBlock(const uint8_t *customer, const LedgerSelection &s, GrandSums *g) {
    TotalsTableReset();
    CustomerSums c{};
    Zero(&c.foreign);
    Zero(&c.home);
    Zero(&c.overdue);
    Zero(c.buckets, 4);
    if (s.asOfMode) InvoiceItems(customer, s, &c, g);
    else OpenItems(customer, s, &c, g);
    PackedDecimal onAccount;
    OnAccount(customer, s, &c, g, &onAccount);

    if (s.layout == 2 && !(DecIsZero(&c.buckets[0]) && DecIsZero(&c.buckets[1]) && DecIsZero(&c.buckets[2]) &&
                           DecIsZero(&c.buckets[3]) && DecIsZero(&onAccount))) {
        Add(&c.buckets[0], &onAccount);
        PackedDecimal total;
        DecSetZero(&total);
        for (const PackedDecimal &b : c.buckets) Add(&total, &b);
        RepStartLine(LineHeight);
        RepTextField(0, customer, CUVc::Code);
        RepFieldCut(NameX, customer, CUVc::Name, NameEndX - NameX);
        for (int i = 0; i < 4; i++) RepAmountAt(BucketX[i], &c.buckets[i]);
        RepAmountAt(BucketSumX, &total);
        if (s.customerCurrency) CurrencyAt480(customer, CUVc::CurncyCode);
        RepEndLine();
    }
    if (c.headPrinted) {
        RepStartLine(LineHeight);
        RepRule(290, 450, 2);
        RepEndLine();
        if (s.customerCurrency && TotalsTableCount(1) > 0) {
            TotalsTablePrint(450, -1, -1, 320, 1);
            RepStartLine(LineHeight);
            RepRule(290, 450, 2);
            RepEndLine();
        }
        RepStartLine(LineHeight);
        RepTextNr(320, 0, 2424, -1);
        RepAmountAt(450, &c.home);
        RepEndLine();
        if (!DecIsZero(&c.overdue)) {
            RepStartLine(LineHeight);
            RepTextNr(320, 0, 2527, -1);
            RepAmountAt(450, &c.overdue);
            RepEndLine();
        }
    } else if (s.layout == 3 && !DecIsZero(&c.home)) {
        RepStartLine(LineHeight);
        RepTextField(0, customer, CUVc::Code);
        RepFieldCut(100, customer, CUVc::Name, RepAmountStart(480, c.home) - 100 - RepColumnGap);
        RepAmountAt(480, &c.home);
        RepEndLine();
    }
    // Every layout's overdue items count in the grand overdue sum, not
    // only those of the layouts that print a customer footer.
    Add(&g->overdue, &c.overdue);
    Add(&g->home, &c.home);
    for (int i = 0; i < 4; i++) Add(&g->buckets[i], &c.buckets[i]);
}

// The end of the report: the grand sums of the layout.
void GrandLines(const LedgerSelection &s, const GrandSums &g) {
    RepRuleFull(1, 4);
    if (s.layout == 2) {
        PackedDecimal total;
        DecSetZero(&total);
        RepStartLine(LineHeight);
        for (int i = 0; i < 4; i++) {
            RepAmountAt(BucketX[i], &g.buckets[i]);
            Add(&total, &g.buckets[i]);
        }
        RepAmountAt(BucketSumX, &total);
        RepEndLine();
    }
    if ((s.layout == 2 || s.layout == 3) && s.customerCurrency) return;
    RepStartLine(LineHeight);
    if (s.layout == 4) {
        RepAmountAt(380, &g.book);
        RepAmountAt(480, &g.revalued);
        RepEndLine();
        return;
    }
    RepTextNr(380, 0, 2429, -1);
    RepAmountAt(480, &g.home);
    RepEndLine();
    RepStartLine(LineHeight);
    RepTextNr(380, 0, 2527, -1);
    RepAmountAt(480, &g.overdue);
    RepEndLine();
}

void ReadSelection(const uint8_t *selection, LedgerSelection *s) {
    s->layout = GetU16(selection, P::ReportLayout);
    if (s->layout > 4) s->layout = 0;
    s->overdueOnly = GetU16(selection, P::Option1) != 0;
    s->byName = GetU16(selection, P::Option2) != 0;
    s->customerCurrency = GetU16(selection, P::Option3) != 0;
    s->asOf = GetDate(selection, P::Date2From);
    s->asOfMode = s->asOf.year != 0;
    s->reference = s->asOfMode ? s->asOf : TodayDate;
    PString range;
    GetText(selection, P::SelText1, range);
    RangeSplit(range, s->from, s->to);
    GetText(selection, P::SelText3, s->group);
    GetText(selection, P::SelText2, s->salesman);
}

}  // namespace

// Report 5. The customers come by name (Option2), by group (SelText3)
// or by code, within the range of SelText1; Esc stops after the customer
// or item at hand and the sums gathered so far are printed.
void CustomerLedgerReport(ReportJob &job) {
    assert(job.selection);
    LedgerSelection s{};
    ReadSelection(job.selection, &s);
    GrandSums g{};
    Zero(&g.home);
    Zero(&g.overdue);
    Zero(g.buckets, 4);
    Zero(&g.book);
    Zero(&g.revalued);

    RepBeginJobNr(2430);
    Headings(s.layout);
    PartyWalk(CustomerParty, {s.from, s.to, s.group, s.byName}, [&](const uint8_t *customer) {
        CustomerBlock(customer, s, &g);
        return true;
    });
    GrandLines(s, g);
    RepEndJob();
}
