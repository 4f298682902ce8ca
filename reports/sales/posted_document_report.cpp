// posted_document_report.cpp - report 112, the posted documents of one
// register in a date range with the voucher rows each posts, and all those
// rows summed per account, object and VAT code: the ledger postings of a
// period traced back to their documents.
//
// Each voucher is built again in the pending voucher by the document's
// own posting routine with its force flag set and read from there; none
// of them is stored, so the report changes nothing.
#include <cassert>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/sales/order_reports.h"
#include "rules/checks.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;

// How one register's documents are read: its walk, the flag that marks a
// posted document, its fields and how its voucher is built.
struct DocumentKind {
    int choice;                 // Option1
    int reg;
    const char *index;
    uint32_t date, flag, serial, code, name;
    int codeWidth;
};

const DocumentKind Kinds[] = {
    {4, PUVc::Number, "TransDate", PUVc::TransDate, PUVc::Received, PUVc::SerNr, PUVc::VendCode, PUVc::VendName, 20},
    {5, IVVc::Number, "TransDate", IVVc::TransDate, IVVc::Posted, IVVc::SerNr, IVVc::CustCode, IVVc::Addr0, 20},
    {8, SHVc::Number, "ShipDate", SHVc::ShipDate, SHVc::Shipped, SHVc::SerNr, SHVc::CustCode, SHVc::DelAddr0, 20},
    {10, IPVc::Number, "TransDate", IPVc::TransDate, IPVc::Posted, IPVc::SerNr, IPVc::PayMode, IPVc::Text, 2},
    {28, VIVc::Number, "TransDate", VIVc::TransDate, VIVc::Approved, VIVc::SerNr, VIVc::VendCode, VIVc::VendName, 20},
    {30, OPVc::Number, "TransDate", OPVc::TransDate, OPVc::Posted, OPVc::SerNr, OPVc::PayMode, OPVc::PayText, 1},
};

struct VoucherRun {
    const DocumentKind *kind;
    int layout;
    DateRec to;
    uint8_t *summary;
};

// The document's amount for layout 1: in home currency, a credit note's
// negated; none for a delivery (false).
bool DocumentAmount(const DocumentKind &k, const uint8_t *doc, PackedDecimal *out) {
    switch (k.choice) {
    case 4: *out = GetDec(doc, PUVc::ValueSum); return true;
    case 10: *out = GetDec(doc, IPVc::AmountRec); return true;
    case 30: *out = GetDec(doc, OPVc::HomeTotal); return true;
    case 5: case 28: {
        const bool sales = k.choice == 5;
        const PackedDecimal total = GetDec(doc, sales ? IVVc::Total : VIVc::InvAmount),
                            rate = GetDec(doc, sales ? IVVc::Rate : VIVc::Rate);
        AmountTimesRate(&total, &rate, out);
        if (InvoiceKind(GetU16(doc, sales ? IVVc::InvType
                               : VIVc::InvType)) == InvoiceKind::CreditNote) DecNegateInto(out, out);
        return true;
    }
    default: return false;
    }
}

// Builds the document's voucher in the pending voucher; false when none was built.
bool BuildVoucher(const DocumentKind &k, uint8_t *doc) {
    switch (k.choice) {
    case 4: {
        RuleRecord location(LocationVc::Number);
        bool located = false;
        if (location.record && doc[PUVc::Location]) {
            PString code;
            GetText(doc, PUVc::Location, code);
            PutText(location.record, LocationVc::Code, code);
            uint32_t recid = 0, position = 0;
            located = RecFind(LocationVc::Number, location.record, 1, 1, &recid, &position);
        }
        return BuildPurchaseVoucher(doc, located ? location.record : nullptr, true);
    }
    case 5: return InvoiceVoucher(doc, 1);
    case 8: return BuildShipmentVoucher(doc, true);
    case 10: return ReceiptPosting(doc, 1);
    case 28: return PostPurchaseInvoice(doc, 0, 1) != 0;
    case 30: return PostVendorPayment(doc, 1) != 0;
    default: return false;
    }
}

// The document's own line.
void DocumentLine(const VoucherRun &run, const uint8_t *doc) {
    const DocumentKind &k = *run.kind;
    RepStartLine(LineHeight);
    OrderLineNumber(0, GetI32(doc, k.serial), 0);
    RepValue(60, 0, doc + k.date, FtDate, 0);
    RepTextField(140, doc, k.code, k.codeWidth);
    RepTextField(240, doc, k.name, 60);
    PackedDecimal amount;
    if (run.layout == 1 && DocumentAmount(k, doc, &amount)) OrderLineAmount(1, &amount, FtAmount2, 1);
    const bool variant = k.choice == 5 && CompanyVariantIs(CountryVariant::V25);
    if (variant) RepTextField(480, doc, IVVc::Text290, 0, 1);
    RepEndLine();
    if (!variant || run.layout != 0) return;
    for (uint32_t line : {IVVc::Addr1, IVVc::Addr2, IVVc::Addr3}) {
        if (doc[line] == 0) continue;
        RepStartLine(LineHeight);
        RepTextField(240, doc, line, 60);
        RepEndLine();
    }
}

bool EachDocument(const uint8_t *record, void *context) {
    VoucherRun &run = *static_cast<VoucherRun *>(context);
    const DocumentKind &k = *run.kind;
    const DateRec date = GetDate(record, k.date);
    if (run.to.year != 0 && DateCompare(&date, &run.to) > 0) return false;
    if (GetU16(record, k.flag) == 0) return true;
    DocumentLine(run, record);
    // The record is the walk's own buffer, read again at the next step:
    // the builders may fill in what they need in it, nothing is stored.
    uint8_t *doc = const_cast<uint8_t *>(record);
    PendingVoucherClear();
    if (BuildVoucher(k, doc)) {
        uint8_t row[Voucher::Rows::Size];
        PString account, objects, vat;
        const uint8_t none[1] = {0};
        const int32_t n = MatrixRowCount(Voucher::Number, 0, PendingVoucher);
        for (int32_t i = 0; i < n; i++) {
            if (!MatrixRowRead(Voucher::Number, PendingVoucher, i, row)) break;
            if (run.layout == 0) {
                PackedDecimal debit;
                DecSetBlank(&debit);
                PrintVoucherRow(65, PendingVoucher, row, &debit, 0);
            }
            if (GetU16(row, Voucher::Rows::Kind) != RowAccount) continue;
            GetText(row, Voucher::Rows::Account, account);
            GetText(row, Voucher::Rows::Objects, objects);
            GetText(row, Voucher::Rows::VatCode, vat);
            PackedDecimal amount = GetDec(row, Voucher::Rows::Amount), ignored;
            DecSetBlank(&ignored);
            FindVoucherRow(run.summary, account, objects, vat, none, &amount, true, true, &ignored);
        }
    }
    PendingVoucherClear();
    if (run.layout == 0) RepRuleFull(1, 4);
    return true;
}

// The heading of the voucher rows.
void SummaryHeading() { VoucherRowsHeading(LineHeight); }

}  // namespace

void PostedDocumentVoucherReport(ReportJob &job) {
    assert(job.selection);
    const int choice = GetU16(job.selection, P::Option1);
    const DocumentKind *kind = nullptr;
    for (const DocumentKind &k : Kinds)
        if (k.choice == choice) kind = &k;
    if (!kind || !PendingVoucher) return;
    VoucherRun run{kind, GetU16(job.selection, P::ReportLayout) == 1 ? 1 : 0, GetDate(job.selection, P::DateTo),
                   nullptr};
    RuleRecord summary(Voucher::Number), doc(kind->reg);
    if (!summary.record || !doc.record) return;
    run.summary = summary.record;
    RepBeginJobNr(2740);
    RepStartLine(LineHeight);
    if (run.layout == 0) {
        RepTextNr(0, 0, 2352, 0);
        RepTextNr(60, 0, 2742, 0);
        RepEndLine();
        SummaryHeading();
    } else {
        RepTextNr(0, 0, 2741, 0);
        RepTextNr(60, 0, 2742, 0);
        RepTextNr(1, 0, 2747, 1);
        RepEndLine();
    }
    RepRuleFull(1, 4);
    PutDate(doc.record, kind->date, GetDate(job.selection, P::DateFrom));
    ReportIndexWalk(kind->reg, kind->index, doc.record, 1, EachDocument, &run);
    OrderLineGap(25);
    RepRuleFull(1, 4);
    if (run.layout == 1) {
        OrderLineGap(LineHeight);
        SummaryHeading();
        RepRuleFull(1, 4);
    }
    uint8_t row[Voucher::Rows::Size];
    const int32_t n = MatrixRowCount(Voucher::Number, 0, summary.record);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(Voucher::Number, summary.record, i, row)) break;
        PackedDecimal debit;
        DecSetBlank(&debit);
        PrintVoucherRow(65, summary.record, row, &debit, 0);
    }
    RecFreeMatrix(Voucher::Number, summary.record);
    RepRuleFull(1, 4);
    RepEndJob();
}
