// vendor_ageing_report.cpp - report 31, what the company owes each vendor:
// the invoices with what lowered them (layout 0), a line per invoice with
// its days to or past due (1), four ageing buckets (2), the balance only
// (3), or the invoices revalued at the day's rate (4). Without a report
// date it lists the open items of today; with one it rebuilds each
// invoice's open amount on that date from the vendor ledger.
#include <cassert>
#include <cstdio>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/column_fit.h"
#include "reports/frame/index_walk.h"
#include "reports/frame/party_walk.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/vendor_reports.h"
#include "reports/sales/aged_buckets.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;
// The ageing columns (layout 2): the four buckets and their sum end at
// theirs, far enough apart for "123 456,00" each at the preview's font;
// the name is cut before the first amount's widest start.
constexpr int BucketX[4] = {208, 276, 344, 412}, BucketSumX = 480, NameX = 60, NameEndX = 142, CodeGap = 4;

// What the selection asks for, read once.
struct AgeingSelection {
    int layout;
    bool pastDueOnly, byName, inCurrency, dateGiven;
    DateRec reportDate, reference;   // the report date; the date days count from
    PString from, to, group;
};

// One vendor's sums while its invoices are listed.
struct VendorSums {
    PackedDecimal home, currency, pastDue, buckets[4];
    int count;
    bool headPrinted;
};

// The sums over all vendors.
struct AgeingTotals {
    PackedDecimal home, pastDue, buckets[4], booked, revalued;
    bool footnote;
};

void Zero(PackedDecimal *d, int n = 1) {
    for (int i = 0; i < n; i++) DecSetZero(&d[i]);
}

void Add(PackedDecimal *sum, const PackedDecimal *amount) {
    if (!DecIsBlank(amount)) DecAdd(sum, amount, sum);
}

void Text(int x, const uint8_t *text, int align = 0) { RepTextEx(x, -1, 0, align, 0, text); }

void Field(int x, const uint8_t *record, uint32_t at, int width, int align = 0) {
    PString t;
    GetPString(record, at, width, t);
    Text(x, t, align);
}

// amount at the rate (per 100) of record.
void AtRate(const PackedDecimal *amount, const uint8_t *record, uint32_t rateAt, PackedDecimal *out) {
    const PackedDecimal rate = GetDec(record, rateAt);
    AmountTimesRate(amount, &rate, out);
}

// The rate of currency on the date the report values at; blank (no
// conversion) for the home currency or a currency without a rate.
void RateOn(const uint8_t *currency, const AgeingSelection &s, PackedDecimal *rate) {
    if (!currency[0] || !CurrencyRate(currency, &s.reference, rate)) DecSetBlank(rate);
}

// A bucket heading from the limits, right-aligned at x.
void LimitText(int x, int32_t low, int32_t high, bool withHigh) {
    char buf[48];
    if (withHigh) std::snprintf(buf, sizeof buf, "%d - %d", low, high);
    else std::snprintf(buf, sizeof buf, "%d - ", low);
    PString t;
    PStringFromC(t, buf);
    Text(x, t, 1);
}

void Headings(int layout) {
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 4042, 0);
    switch (layout) {
    case 0:
        RepTextNr(100, 0, 4049, 0);
        RepEndLine();
        ReportHeadings(LineHeight, {{140, 4043}, {280, 4044, 1}, {380, 4046, 1}, {480, 4047, 1}});
        return;
    case 1:
        RepTextNr(100, 0, 4049, 0);
        RepTextNr(170, 0, 4043, 0);
        RepTextNr(280, 0, 4044, 0);
        RepTextNr(360, 0, 4045, 1);
        RepTextNr(480, 0, 4046, 1);
        RepEndLine();
        return;
    case 2: {
        // Each heading stands over the bucket whose amounts it names: the
        // amounts not yet due, then the three overdue spans. A second
        // limit not above the first leaves the middle span empty, and
        // the last one starts after the first limit.
        int32_t l1 = 0, l2 = 0;
        AgedLimits(&l1, &l2);
        RepTextNr(60, 0, 4049, 0);
        RepTextNr(BucketX[0], 0, 12960, 1);
        LimitText(BucketX[1], 0, l1, true);
        if (l2 > l1) LimitText(BucketX[2], l1 + 1, l2, true);
        LimitText(BucketX[3], (l2 > l1 ? l2 : l1) + 1, 0, false);
        RepTextNr(BucketSumX, 0, 4046, 1);
        RepEndLine();
        return;
    }
    case 3:
        RepTextNr(480, 0, 4047, 1);
        break;
    default:
        RepTextNr(200, 0, 4043, 0);
        RepTextNr(380, 0, 4058, 1);
        RepTextNr(480, 0, 4059, 1);
        break;
    }
    RepEndLine();
    RepRuleFull(1, 4);
}

// The invoice reference: the serial number, then ", (" the vendor's
// reference ")" when it has one; prefix before it when the mark is set.
void InvoiceReference(const uint8_t *invoice, const char *prefix, uint8_t *out) {
    char serial[16];
    std::snprintf(serial, sizeof serial, "%d", GetI32(invoice, VIVc::SerNr));
    out[0] = 0;
    if (GetU16(invoice, VIVc::Held) != 0) PStringAppendC(out, prefix);
    PStringAppendC(out, serial);
    PString ref;
    GetText(invoice, VIVc::VendInvNr, ref);
    if (ref[0]) {
        PStringAppendC(out, ", (");
        PStringAppend(out, ref);
        PStringAppendC(out, ")");
    }
}

// A line below an invoice in layout 0: text, number, date and the
// negated amount at 380.
void LoweringLine(int text, const uint8_t *number, const uint8_t *date, const PackedDecimal *amount) {
    PackedDecimal negated;
    DecNegateInto(amount, &negated);
    RepStartLine(LineHeight);
    RepTextNr(50, 0, text, 0);
    RepValue(120, 0, number, FtLong, 0);
    RepValue(280, 0, date, FtDate, 1);
    PrintAmountAt(380, &negated);
    RepEndLine();
}

// The vendor's head line in layouts 0 and 1, after a full rule.
void VendorHead(const uint8_t *vendor, const AgeingSelection &s, VendorSums *v) {
    if (v->headPrinted || (s.layout != 0 && s.layout != 1)) return;
    v->headPrinted = true;
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    Field(0, vendor, VEVc::Code, 20);
    Field(100, vendor, VEVc::Name, 60);
    // The vendor's bank account, named as its window names it.
    PString account, labelled;
    GetPString(vendor, VEVc::AccountNr, 20, account);
    if (account[0] != 0) {
        GetUiText(labelled, Texts::VendorAccountLabel);
        PStringAppend(labelled, account);
        Text(280, labelled);
    }
    if (s.inCurrency) Field(480, vendor, VEVc::CurncyCode, 5, 1);
    RepEndLine();
}

// One invoice that passed the selection: the head, the sums and the
// layout's line.
void InvoiceKept(const uint8_t *vendor, const uint8_t *invoice, int32_t days, const PackedDecimal *currency,
                 const PackedDecimal *home, const AgeingSelection &s, VendorSums *v, AgeingTotals *t) {
    VendorHead(vendor, s, v);
    Add(&v->home, home);
    Add(&v->currency, currency);
    v->count++;
    const bool marked = GetU16(invoice, VIVc::Held) != 0;
    switch (s.layout) {
    case 0:
        if (AgeingInvoiceLines(invoice, currency, v->count, s.dateGiven, s.inCurrency, s.reportDate)) t->footnote = true;
        break;
    case 1: {
        PString ref;
        InvoiceReference(invoice, "(*) ", ref);
        uint8_t slot[4];
        PutI32(slot, 0, days);
        RepStartLine(LineHeight);
        Text(140, ref);
        RepValue(280, 0, invoice + VIVc::DueDate, FtDate, 0);
        RepValue(360, 0, slot, FtLong, 1);
        PrintAmountAt(480, s.inCurrency ? currency : home);
        RepEndLine();
        if (marked) t->footnote = true;
        break;
    }
    case 2:
        AgedBucketAdd(days, s.inCurrency ? currency : home, &v->buckets[0], &v->buckets[1], &v->buckets[2],
                      &v->buckets[3]);
        break;
    case 4: {
        PString ref, code;
        InvoiceReference(invoice, "(*) ", ref);
        GetText(invoice, VIVc::CurncyCode, code);
        PackedDecimal rate, revalued;
        RateOn(code, s, &rate);
        AmountTimesRate(currency, &rate, &revalued);
        RepStartLine(LineHeight);
        Field(0, invoice, VIVc::VendName, 60);
        Text(200, ref);
        PrintAmountAt(380, home);
        PrintAmountAt(480, &revalued);
        RepEndLine();
        Add(&t->booked, home);
        Add(&t->revalued, &revalued);
        if (marked) t->footnote = true;
        break;
    }
    default:
        break;
    }
}

// Without a report date: the vendor's open items as they stand, each with
// its invoice (an item whose invoice is gone is left out).
void OpenItems(const uint8_t *vendor, const AgeingSelection &s, VendorSums *v, AgeingTotals *t) {
    RuleRecord item(APVc::Number);
    if (!item.record) return;
    PString own;
    GetText(vendor, VEVc::Code, own);
    PutI32(item.record, APVc::InvoiceNr, 0);
    IndexWalkOfCode(APVc::Number, "VECode", item.record, 2, APVc::VendCode, own, [&](const uint8_t *openItem) {
        const DateRec due = GetDate(openItem, APVc::DueDate);
        const int32_t days = DateDiffDays(&due, &s.reference);
        if (s.pastDueOnly && days >= 0) return true;
        RuleRecord invoice(VIVc::Number);
        if (!PurchaseInvoiceRead(GetU32(openItem, APVc::InvoiceNr), invoice)) return true;
        const PackedDecimal open = GetDec(openItem, APVc::OpenAmount);
        PackedDecimal home;
        AtRate(&open, invoice.record, VIVc::Rate, &home);
        if (days < 0) Add(&v->pastDue, &home);
        InvoiceKept(vendor, invoice.record, days, &open, &home, s, v, t);
        return !ReportCancelled();
    });
}

// With a report date: the vendor's approved invoices booked up to it with
// what was open of them on it.
void InvoicesAtDate(const uint8_t *vendor, const AgeingSelection &s, VendorSums *v, AgeingTotals *t) {
    RuleRecord invoice(VIVc::Number);
    if (!invoice.record) return;
    PString own;
    GetText(vendor, VEVc::Code, own);
    PutI32(invoice.record, VIVc::SerNr, 0);
    IndexWalkOfCode(VIVc::Number, "VECode", invoice.record, 2, VIVc::VendCode, own, [&](const uint8_t *inv) {
        const DateRec due = GetDate(inv, VIVc::DueDate), trans = GetDate(inv, VIVc::TransDate);
        const int32_t days = DateDiffDays(&due, &s.reportDate);
        const InvoiceKind kind = InvoiceKind(GetU16(inv, VIVc::InvType));
        if ((s.pastDueOnly && days >= 0) || DateCompare(&trans, &s.reportDate) > 0 || kind == InvoiceKind::Cash ||
            GetU16(inv, VIVc::Approved) == 0)
            return true;
        PackedDecimal amount = GetDec(inv, VIVc::InvAmount), home;
        if (kind == InvoiceKind::CreditNote) {
            // A credit note of an invoice is counted on that invoice.
            if (GetI32(inv, VIVc::CredInv) != -1) return true;
            DecNegateInto(&amount, &amount);
        }
        InvoiceOpenAtDate(GetI32(inv, VIVc::SerNr), &s.reportDate, &amount);
        if (DecIsZero(&amount)) return true;
        AtRate(&amount, inv, VIVc::Rate, &home);
        if (days < 0) Add(&v->pastDue, &home);
        InvoiceKept(vendor, inv, days, &amount, &home, s, v, t);
        return !ReportCancelled();
    });
    RecFreeMatrix(VIVc::Number, invoice.record);
}

// The payments on account: into the vendor's sums, and a line where the
// layout shows one. shown gets the sum layout 2 adds to its first bucket.
void OnAccountLines(const uint8_t *vendor, const AgeingSelection &s, VendorSums *v, AgeingTotals *t,
                    PackedDecimal *shown) {
    PString code;
    GetText(vendor, VEVc::Code, code);
    PackedDecimal home, currency;
    VendorOnAccount(code, s.dateGiven ? &s.reportDate : nullptr, &home, &currency);
    Add(&v->home, &home);
    Add(&v->currency, &currency);
    *shown = s.inCurrency ? currency : home;
    if (s.layout == 0 || s.layout == 1) {
        if (DecIsZero(&home)) return;
        VendorHead(vendor, s, v);
        RepStartLine(LineHeight);
        RepTextNr(s.layout == 0 ? 50 : 140, 0, 2497, 0);
        PrintAmountAt(480, shown);
        RepEndLine();
    } else if (s.layout == 4) {
        // Revalued as the invoice lines are: the amount in the payments'
        // currency at the vendor currency's rate on the report date.
        PString currencyCode;
        GetText(vendor, VEVc::CurncyCode, currencyCode);
        PackedDecimal rate, revalued;
        RateOn(currencyCode, s, &rate);
        AmountTimesRate(&currency, &rate, &revalued);
        RepStartLine(LineHeight);
        Field(0, vendor, VEVc::Name, 60);
        RepTextNr(200, 0, 2497, 0);
        PrintAmountAt(380, &home);
        PrintAmountAt(480, &revalued);
        RepEndLine();
        Add(&t->booked, &home);
        Add(&t->revalued, &revalued);
    }
}

// The rule and currency line that open a vendor's footer in layouts 0 and 1.
void FooterStart(const uint8_t *vendor, const AgeingSelection &s, const VendorSums &v) {
    RepStartLine(LineHeight);
    RepRule(400, 480, 2);
    RepEndLine();
    PString currency;
    GetText(vendor, VEVc::CurncyCode, currency);
    if (!s.inCurrency || !currency[0]) return;
    RepStartLine(LineHeight);
    RepTextNr(320, 0, 2424, 1);
    Text(360, currency);
    PrintAmountAt(480, &v.currency);
    RepEndLine();
}

// Everything of one vendor: its invoices, payments on account and footer.
void VendorBlock(const uint8_t *vendor, const AgeingSelection &s, AgeingTotals *t) {
    VendorSums v{};
    Zero(&v.home);
    Zero(&v.currency);
    Zero(&v.pastDue);
    Zero(v.buckets, 4);
    if (s.dateGiven) InvoicesAtDate(vendor, s, &v, t);
    else OpenItems(vendor, s, &v, t);
    PackedDecimal onAccount;
    OnAccountLines(vendor, s, &v, t, &onAccount);

    if (s.layout == 2 && !(DecIsZero(&v.buckets[0]) && DecIsZero(&v.buckets[1]) && DecIsZero(&v.buckets[2]) &&
                           DecIsZero(&v.buckets[3]) && DecIsZero(&onAccount))) {
        Add(&v.buckets[0], &onAccount);
        PackedDecimal total;
        DecSetZero(&total);
        for (const PackedDecimal &b : v.buckets) Add(&total, &b);
        RepStartLine(LineHeight);
        Field(0, vendor, VEVc::Code, 20);
        RepFieldCut(NameX, vendor, VEVc::Name, NameEndX - NameX);
        for (int i = 0; i < 4; i++) PrintAmountAt(BucketX[i], &v.buckets[i]);
        PrintAmountAt(BucketSumX, &total);
        if (s.inCurrency) Field(BucketSumX + CodeGap, vendor, VEVc::CurncyCode, 5);   // clear of the sum
        RepEndLine();
    }
    if (s.layout == 0 && v.headPrinted) {
        FooterStart(vendor, s, v);
        RepStartLine(LineHeight);
        RepTextNr(380, 0, 4047, 1);
        PrintAmountAt(480, &v.home);
        RepEndLine();
    } else if (s.layout == 1 && v.headPrinted) {
        FooterStart(vendor, s, v);
        RepStartLine(LineHeight);
        RepTextNr(320, 0, 4047, 1);
        PrintAmountAt(480, &v.home);
        RepEndLine();
        if (!DecIsZero(&v.pastDue)) {
            RepStartLine(LineHeight);
            RepTextNr(320, 0, 4060, 1);
            PrintAmountAt(480, &v.pastDue);
            RepEndLine();
        }
    } else if (s.layout == 3) {
        const PackedDecimal *sum = s.inCurrency ? &v.currency : &v.home;
        if (!DecIsZero(sum)) {
            RepStartLine(LineHeight);
            Field(0, vendor, VEVc::Code, 20);
            Field(100, vendor, VEVc::Name, 60);
            if (s.inCurrency) Field(320, vendor, VEVc::CurncyCode, 5);
            PrintAmountAt(480, sum);
            RepEndLine();
        }
    }
    // Every layout's past-due amounts count in the total past due, not
    // only those of the layout that prints a vendor's past-due line.
    Add(&t->pastDue, &v.pastDue);
    Add(&t->home, &v.home);
    for (int i = 0; i < 4; i++) Add(&t->buckets[i], &v.buckets[i]);
}

// The end of the report: the totals of the layout and the footnote.
void EndLines(const AgeingSelection &s, const AgeingTotals &t) {
    RepRuleFull(1, 4);
    // In the invoice currencies the vendors' buckets are in different
    // currencies: their sum would mean nothing, as the grand total would.
    if (s.layout == 2 && !s.inCurrency) {
        PackedDecimal total;
        DecSetZero(&total);
        RepStartLine(LineHeight);
        for (int i = 0; i < 4; i++) {
            PrintAmountAt(BucketX[i], &t.buckets[i]);
            Add(&total, &t.buckets[i]);
        }
        PrintAmountAt(BucketSumX, &total);
        RepEndLine();
    }
    if (!((s.layout == 2 || s.layout == 3) && s.inCurrency)) {
        if (s.layout == 4) {
            RepStartLine(LineHeight);
            PrintAmountAt(380, &t.booked);
            PrintAmountAt(480, &t.revalued);
            RepEndLine();
        } else {
            RepStartLine(LineHeight);
            RepTextNr(380, 0, 4048, 1);
            PrintAmountAt(480, &t.home);
            RepEndLine();
            RepStartLine(LineHeight);
            RepTextNr(380, 0, 4060, 1);
            PrintAmountAt(480, &t.pastDue);
            RepEndLine();
        }
    }
    if (t.footnote && s.layout != 4) {
        RepStartLine(LineHeight);
        RepTextNr(50, 0, 1225, 0);
        RepEndLine();
    }
}

void ReadSelection(const uint8_t *selection, AgeingSelection *s) {
    s->layout = GetU16(selection, P::ReportLayout);
    if (s->layout > 4) s->layout = 0;
    s->pastDueOnly = GetU16(selection, P::Option1) != 0;
    s->byName = GetU16(selection, P::Option2) != 0;
    s->inCurrency = GetU16(selection, P::Option3) != 0;
    s->reportDate = GetDate(selection, P::Date2From);
    s->dateGiven = s->reportDate.year != 0;
    s->reference = s->dateGiven ? s->reportDate : TodayDate;
    PString range;
    GetText(selection, P::SelText1, range);
    RangeSplit(range, s->from, s->to);
    GetText(selection, P::SelText3, s->group);
}

// The amount of a credit note or payment as layout 0 shows it: in its
// own currency, or at its own rate.
void ShownAmount(const PackedDecimal *amount, const uint8_t *record, uint32_t rateAt, bool inCurrency,
                 PackedDecimal *out) {
    if (inCurrency) *out = *amount;
    else AtRate(amount, record, rateAt, out);
}

// The invoice whose lowering lines layout 0 prints, and the currency
// they are shown in.
struct LoweringContext {
    int32_t serial;
    bool inCurrency;
};

// Layout 0's line of one ledger entry of an invoice: a credit note of it,
// or a payment's rows that paid it on the payment's date.
void LoweringLines(const uint8_t *entry, void *context) {
    const LoweringContext *c = static_cast<const LoweringContext *>(context);
    const LedgerEntryKind kind = LedgerEntryKind(GetU16(entry, VLVc::Kind));
    const int32_t doc = GetI32(entry, VLVc::DocSerNr);
    PackedDecimal shown;
    if (kind == LedgerEntryKind::Invoice && doc != c->serial) {
        RuleRecord credit(VIVc::Number);
        if (!PurchaseInvoiceRead((uint32_t)doc, credit) ||
            InvoiceKind(GetU16(credit.record, VIVc::InvType)) != InvoiceKind::CreditNote) return;
        const PackedDecimal amount = GetDec(credit.record, VIVc::InvAmount);
        ShownAmount(&amount, credit.record, VIVc::Rate, c->inCurrency, &shown);
        LoweringLine(4073, credit.record + VIVc::SerNr, credit.record + VIVc::InvDate, &shown);
    } else if (kind == LedgerEntryKind::Payment) {
        RuleRecord payment(OPVc::Number);
        if (!OutPaymentRead(doc, payment)) return;
        const DateRec paid = GetDate(payment.record, OPVc::PayDate), on = GetDate(entry, VLVc::Date);
        if (DateCompare(&paid, &on) != 0) return;
        PackedDecimal sum;
        PaymentRowsForInvoice(entry, &sum);
        if (DecIsZero(&sum)) return;
        ShownAmount(&sum, payment.record, OPVc::Rate, c->inCurrency, &shown);
        LoweringLine(4072, payment.record + OPVc::SerNr, payment.record + OPVc::PayDate, &shown);
    }
}

}  // namespace

bool AgeingInvoiceLines(const uint8_t *invoice, const PackedDecimal *open, int lineCount, bool dateGiven,
                        bool inCurrency, const DateRec &reportDate) {
    assert(invoice && open);
    if (lineCount > 1) {
        RepStartLine(LineHeight);
        RepRule(300, 380, 4);
        RepEndLine();
    }
    // A credit note that credits no invoice shows its amount as it lowers
    // the debt, like its open amount.
    PackedDecimal total = GetDec(invoice, VIVc::InvAmount), shownTotal, shownOpen;
    if (InvoiceKind(GetU16(invoice, VIVc::InvType)) == InvoiceKind::CreditNote) DecNegateInto(&total, &total);
    ShownAmount(&total, invoice, VIVc::Rate, inCurrency, &shownTotal);
    ShownAmount(open, invoice, VIVc::Rate, inCurrency, &shownOpen);
    PString ref;
    InvoiceReference(invoice, " (*)", ref);
    RepStartLine(LineHeight);
    RepTextNr(50, 0, 4071, 0);
    Text(120, ref);
    RepValue(280, 0, invoice + VIVc::DueDate, FtDate, 1);
    PrintAmountAt(380, &shownTotal);
    PrintAmountAt(480, &shownOpen);
    RepEndLine();

    LoweringContext context{GetI32(invoice, VIVc::SerNr), inCurrency};
    VendorEntriesOfInvoice(context.serial, dateGiven ? &reportDate : nullptr, LoweringLines, &context);
    return GetU16(invoice, VIVc::Held) != 0;
}

// Report 31. The vendors come by name (Option2), by group (SelText3) or
// by code, within the range of SelText1; Esc stops every walk after the
// record at hand and the end lines still print.
void VendorAgeingReport(ReportJob &job) {
    assert(job.selection);
    AgeingSelection s{};
    ReadSelection(job.selection, &s);
    AgeingTotals t{};
    Zero(&t.home);
    Zero(&t.pastDue);
    Zero(t.buckets, 4);
    Zero(&t.booked);
    Zero(&t.revalued);

    RepBeginJobNr(4041);
    Headings(s.layout);
    PartyWalk(VendorParty, {s.from, s.to, s.group, s.byName}, [&](const uint8_t *vendor) {
        VendorBlock(vendor, s, &t);
        return true;
    });
    EndLines(s, t);
    RepEndJob();
}
