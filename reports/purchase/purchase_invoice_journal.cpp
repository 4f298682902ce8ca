// purchase_invoice_journal.cpp - report 26, the purchase invoices of a
// serial-number range one line each (layout 0), or each with its VAT and
// rows (layout 1), and their sums per currency.
#include <cassert>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/frame/totals_table.h"
#include "reports/purchase/vendor_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;

// What the selection asks for, read once.
struct JournalSelection {
    int layout;
    SerialRange range;
    PString vendor;
    bool unapproved, approved, kind1, kind2, kind3, postedOnly;
    DateRec from, to;
};

bool Word(const uint8_t *selection, uint32_t at) { return GetU16(selection, at) == 1; }

void ReadSelection(const uint8_t *selection, JournalSelection *s) {
    s->layout = GetU16(selection, P::ReportLayout);
    s->range = SerialRangeOfSelection(selection);
    GetText(selection, P::SelText2, s->vendor);
    s->unapproved = Word(selection, P::Option2);
    s->approved = Word(selection, P::Option3);
    s->kind1 = Word(selection, P::Option4);
    s->kind2 = Word(selection, P::Option5);
    s->kind3 = Word(selection, P::Option6);
    s->postedOnly = Word(selection, P::Option11);
    s->from = GetDate(selection, P::DateFrom);
    s->to = GetDate(selection, P::DateTo);
}

// The invoice's kind, one outside 1..3 taken as 1.
uint16_t StoredKind(const uint8_t *invoice) {
    const uint16_t kind = GetU16(invoice, VIVc::InvType);
    return kind >= uint16_t(InvoiceKind::Ordinary) && kind <= uint16_t(InvoiceKind::CreditNote)
               ? kind
               : uint16_t(InvoiceKind::Ordinary);
}

bool Passes(const uint8_t *invoice, const JournalSelection &s) {
    if (s.vendor[0]) {
        PString code;
        GetText(invoice, VIVc::VendCode, code);
        if (!PStringEqual(code, s.vendor)) return false;
    }
    const bool approved = GetU16(invoice, VIVc::Approved) != 0;
    if (!KindBoxesAdmit({s.unapproved, s.approved}, approved ? 1 : 0)) return false;
    if (!KindBoxesAdmit({s.kind1, s.kind2, s.kind3}, StoredKind(invoice) - 1u)) return false;
    if (s.postedOnly && GetU16(invoice, VIVc::Preliminary) == 0) return false;
    const DateRec trans = GetDate(invoice, VIVc::TransDate);
    return DateInOpenRange(&trans, &s.from, &s.to);
}

void Heading(int layout) {
    if (layout > 1) return;
    ReportHeadings(LineHeight, {{0, 4002}, {60, 4003}, {140, 4007}, {220, 4004}, {440, 4005, 1}});
    if (layout == 0) {
        RepRuleFull(1, 4);
    } else {
        RepStartLine(LineHeight);
        RepEndLine();
    }
}

void TextField(int x, const uint8_t *record, uint32_t at, int width, int align = 0) {
    PString t;
    GetPString(record, at, width, t);
    RepTextEx(x, -1, 0, align, 0, t);
}

// The invoice's line, its amount (negated for a credit note) added to the
// currency's row of the totals table.
void InvoiceLine(const uint8_t *invoice) {
    PackedDecimal amount = GetDec(invoice, VIVc::InvAmount);
    if (InvoiceKind(StoredKind(invoice)) == InvoiceKind::CreditNote) DecNegateInto(&amount, &amount);
    RepStartLine(LineHeight);
    RepValue(0, 0, invoice + VIVc::SerNr, FtLong, 0);
    RepValue(60, 0, invoice + VIVc::InvDate, FtDate, 0);
    TextField(140, invoice, VIVc::VendInvNr, 20);
    TextField(220, invoice, VIVc::VendName, 60);
    PrintAmountAt(440, &amount);
    TextField(445, invoice, VIVc::CurncyCode, 5);
    RepEndLine();
    TotalsTableAddInCurrency(invoice, VIVc::CurncyCode, &amount);
}

// Layout 1 below the invoice line: the vendor's extra text (variant 26),
// the VAT and the rows.
void InvoiceDetail(const uint8_t *invoice) {
    if (CompanyVariantIs(CountryVariant::V26)) {
        RuleRecord vendor(VEVc::Number);
        PString code;
        GetText(invoice, VIVc::VendCode, code);
        PString text;
        text[0] = 0;
        if (vendor.record) {
            PutText(vendor.record, VEVc::Code, code);
            uint32_t recid = 0, position = 0;
            if (RecFind(VEVc::Number, vendor.record, 1, 1, &recid, &position))
                GetText(vendor.record, VEVc::OurRef, text);
        }
        RepStartLine(LineHeight);
        RepTextEx(220, -1, 0, 0, 0, text);
        RepEndLine();
    }
    PackedDecimal vat = GetDec(invoice, VIVc::VatEntered);
    if (DecIsBlank(&vat)) vat = GetDec(invoice, VIVc::VatComputed);
    RepStartLine(LineHeight);
    PrintAmountAt(380, &vat);
    RepEndLine();
    uint8_t row[VIVc::Rows::Size];
    const int32_t rows = MatrixRowCount(VIVc::Number, 0, invoice);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(VIVc::Number, invoice, i, row)) break;
        const PurchaseRowKind kind = PurchaseRowKind(GetU16(row, VIVc::Rows::Kind));
        if (kind == PurchaseRowKind::Account) {
            const PackedDecimal amount = GetDec(row, VIVc::Rows::Amount);
            RepStartLine(LineHeight);
            TextField(20, row, VIVc::Rows::Account, 10);
            TextField(80, row, VIVc::Rows::Objects, 30);
            TextField(150, row, VIVc::Rows::Text, 60);
            PrintAmountAt(380, &amount);
            RepEndLine();
        } else if (kind == PurchaseRowKind::Credited) {
            RepStartLine(LineHeight);
            RepValue(380, 0, row + VIVc::Rows::CredSerNr, FtLongOrEmpty, 1);
            RepEndLine();
        }
    }
}

}  // namespace

// Report 26. Esc stops after the invoice at hand; the totals table and
// the end of the job still print.
void ReportPurchInvoicesByVendor(ReportJob &job) {
    assert(job.selection);
    JournalSelection s{};
    ReadSelection(job.selection, &s);
    TotalsTableReset();
    RepBeginJobNr(4001);
    Heading(s.layout);
    RuleRecord invoice(VIVc::Number);
    if (invoice.record && s.layout <= 1) {
        PutI32(invoice.record, VIVc::SerNr, s.range.from);
        uint32_t recid = 0, position = 0;
        bool more = RecFindByIndex(VIVc::Number, "SerNr", invoice.record, 1, 0, &recid, &position);
        for (int32_t p = (int32_t)position; more; p++) {
            if (p != (int32_t)position) {
                RecFreeMatrix(VIVc::Number, invoice.record);
                if (!RecReadAtIndex(VIVc::Number, "SerNr", p, invoice.record, &recid)) break;
            }
            if (SerialPastRange(GetI32(invoice.record, VIVc::SerNr), s.range)) break;
            if (Passes(invoice.record, s)) {
                if (s.layout == 1) RepRuleFull(1, 4);
                InvoiceLine(invoice.record);
                if (s.layout == 1) InvoiceDetail(invoice.record);
            }
            if (ReportCancelled()) break;
        }
        RecFreeMatrix(VIVc::Number, invoice.record);
    }
    RepRuleFull(1, 4);
    TotalsTablePrint(440, -1, -1, 300, 1);
    RepEndJob();
}
