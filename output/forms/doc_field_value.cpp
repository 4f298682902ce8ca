// doc_field_value.cpp - the text a form's field prints: the codes every
// document shares, the document type's own provider, label sheets, the
// page preamble and the copy label.
//
// A field that nothing knows prints its own text (the form item's text,
// " X " and all), so a form laid out before its document's values exist
// still prints, and shows which fields wait for a value.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/output_job.h"

namespace {
constexpr int CopyLabelMax = 60, CopyLabelStep = 62, CopyLabels = 5;
constexpr int CompanyTextMax = 60;
// The layout word of the report parameters that picks a label sheet.
constexpr size_t LabelLayoutWord = ReportParamsVc::ReportLayout;

// The value provider of each document type that has one; a type not
// listed keeps the field's text (or the shared value) for every code.
struct DocValueProvider {
    int16_t doctype;
    void (*value)(const uint8_t *record, int16_t code, const uint8_t *param, int16_t row, uint8_t *out);
};
constexpr DocValueProvider DocValueProviders[] = {
    {-18, InvoiceFieldValue},
    {-17, InvoiceFieldValue},
    {-16, InvoiceFieldValue},
    {-2, InvoiceFieldValue},
    {-11, StatementFieldValue},
    {-8, StatementFieldValue},
    {-10, PaymentDocFieldValue},
    {-20, StockMoveFieldValue},
    {-22, PurchaseDocFieldValue},
    {-23, PurchaseLabelFieldValue},
    {-21, ItemLabelFieldValue},
    {-4, ReminderFieldValue},
    {-15, OrderFieldValue},
    {-6, OrderFieldValue},
    {-14, QuoteFieldValue},
    {-19, PurchaseOrderFieldValue},
    {-27, DeliveryFieldValue},
    {-12, DeliveryFieldValue},
    {-7, DeliveryFieldValue},
    {-3, DeliveryFieldValue},
    {-29, TimeSheetFieldValue},
    {-28, ProductionFieldValue},
    {-24, ProjectFieldValue},
    {-25, AssetFieldValue},
    {-26, CustomerFieldValue26},
    {-13, CustomerFieldValue13},
};

// Splits the field text (" X word rest") into the parameter text: the
// word from position 2 ends at a blank, ";", ":" or ","; blanks after
// it are skipped; the rest is the parameter.
void FieldParameter(const uint8_t *fieldText, uint8_t *param) {
    int n = fieldText[0], i = 2;
    while (i <= n && fieldText[i] != ' ' && fieldText[i] != ';' && fieldText[i] != ':' && fieldText[i] != ',') i++;
    while (i <= n && fieldText[i] == ' ') i++;
    PStringFromView(param, std::string_view((const char *)fieldText + i, (size_t)(i <= n ? n - i + 1 : 0)));
}

// The company block's text at byte `at` into out; empty without a block.
void CompanyText(size_t at, uint8_t *out) {
    out[0] = 0;
    if (CompanyBlock) GetPString(CompanyBlock, at, CompanyTextMax, out);
}

// "page/pages" of the run: the pages are the rows divided by the rows
// per page, a remainder counting as one more, at least 1.
void PageCountText(uint8_t *out) {
    int32_t perPage = FormRowsPerPage > 0 ? FormRowsPerPage : 1;
    int32_t pages = FormRowCount / perPage + (FormRowCount % perPage ? 1 : 0);
    if (pages < 1) pages = 1;
    int16_t page = FormPageNr, total = (int16_t)(pages > INT16_MAX ? INT16_MAX : pages);
    uint8_t a[256], b[256];
    FieldToText((const uint8_t *)&page, FtShort, a);
    FieldToText((const uint8_t *)&total, FtShort, b);
    PStringCopy(out, a);
    PStringAppendChar(out, '/');
    PStringAppend(out, b);
}

// The running report's period as typed ("from:to" in its job record)
// with each side written as a date; a side that is no date stays as typed.
void ReportPeriodText(uint8_t *out) {
    out[0] = 0;
    const uint8_t *job = CurrentJobRecord();
    if (!job) return;
    uint8_t period[256];
    GetText(job, ReportParamsVc::PeriodText, period);
    int colon = 1;
    while (colon <= period[0] && period[colon] != ':') colon++;
    uint8_t side[2][256];
    PStringFromView(side[0], std::string_view((const char *)period + 1, (size_t)(colon - 1)));
    PStringFromView(side[1], std::string_view((const char *)period + colon + 1,
                                              (size_t)(colon <= period[0] ? period[0] - colon : 0)));
    for (auto &s : side) {
        DateTimeRec parsed{};
        if (s[0] == 0 || !DateParse(s, &parsed) || parsed.year == 0) continue;
        DateRec date{parsed.day, parsed.month, parsed.year};
        DateToText(&date, s);
    }
    PStringCopy(out, side[0]);
    PStringAppendC(out, " : ");
    PStringAppend(out, side[1]);
}
}  // namespace

// The text the field (code, its own text) prints for row of doctype:
// the field's text, replaced by a shared code's value, then by the
// doctype's provider; -9, -5 and doctypes outside -29..-2 print the
// field's text for every code. Last, a sales invoice that asks for no
// payment empties the fields that say where and how to pay.
void DocFieldValue(int16_t doctype, const uint8_t *fieldText, int16_t code, int16_t row, uint8_t *out,
                   const uint8_t *formDef) {
    assert(fieldText && out);
    (void)formDef;   // the copy label reads FormDefBuffer, which formDef is
    PStringCopy(out, fieldText);
    uint8_t param[256];
    FieldParameter(fieldText, param);
    SharedFieldValue(param, row, code, out);
    if (!DocTypeOf(doctype)) {
        PStringCopy(out, fieldText);
        return;
    }
    for (const DocValueProvider &p : DocValueProviders)
        if (p.doctype == doctype && FormDocRecord) p.value(FormDocRecord, code, param, row, out);
    // Every run prints through here, so a form laid out for invoices
    // asks nothing of a credit note or a paid cash invoice.
    if (PaymentFieldCode(code) && FormDocRecord && DocTypeOf(doctype)->reg == IVVc::Number &&
        !InvoiceAsksPayment(FormDocRecord))
        out[0] = 0;
}

// The value of a code every document shares into out; out is left as
// it is for any other code.
void SharedFieldValue(const uint8_t *param, int16_t row, int16_t code, uint8_t *out) {
    switch (code) {
    case 54: CopyWordText(out); break;
    case 55: CompanyText(CompanyBlk::CompanyName, out); break;
    case 56: CompanyText(CompanyBlk::Telephone, out); break;
    case 57: CompanyText(CompanyBlk::Fax, out); break;
    case 58: CompanyText(CompanyBlk::BankAccount, out); break;
    case 59: CompanyText(CompanyBlk::BankAccount2, out); break;
    case 60: CompanyText(CompanyBlk::OrgNr, out); break;
    case 61: CompanyText(CompanyBlk::EnterpriseNr, out); break;
    case 62: case 63:
        if (row == 1) CompanyText(CompanyBlk::CompanyName, out);
        else if (row == 2) CompanyText(CompanyBlk::Address1, out);
        else if (row == 3) CompanyText(CompanyBlk::Address2, out);
        else if (row == 4) CompanyText(CompanyBlk::Address3, out);
        else out[0] = 0;
        break;
    case 64: PageCountText(out); break;
    case 65:
        TodayToGlobals();
        DateToText(&TodayDate, out);
        break;
    case 67: ReportPeriodText(out); break;
    case 335: PStringCopy(out, param); break;
    default: break;
    }
}

// True for the label documents, with the labels per page: columns by
// rows. The asset and customer labels and the item labels take their
// sheet from the report's layout word; a sheet they do not know gives
// 0 x 0 (nothing printed).
bool LabelGrid(int16_t doctype, int16_t *columns, int16_t *rows) {
    assert(columns && rows);
    const uint8_t *job = CurrentJobRecord();
    int16_t layout = job ? GetI16(job, LabelLayoutWord) : 0;
    *columns = 0, *rows = 0;
    switch (doctype) {
    case -27: case -26: case -23: *columns = 1, *rows = 1; return true;
    case -25: case -13:
        if (layout == 0) *columns = 2, *rows = 8;
        else if (layout == 1) *columns = 3, *rows = 8;
        return true;
    case -21:
        if (layout == 0) *columns = 1, *rows = 1;
        else if (layout == 1) *columns = 2, *rows = 8;
        else if (layout == 2) *columns = 3, *rows = 8;
        return true;
    default: return false;
    }
}

// Before the items of a sales-invoice page: an unposted invoice gets the
// draft mark, a posted one printed before gets the copy mark.
void DocPagePreamble(int16_t doctype) {
    if (doctype != -2 || !FormDocRecord) return;
    int16_t posted = GetI16(FormDocRecord, IVVc::Posted), printed = GetI16(FormDocRecord, IVVc::Printed);
    if (posted == 0) {
        RepFormNote(Texts::InvoiceDraftMark);
        RepFormNote3(5000, 100, 100);
    } else if (printed != 0) {
        RepFormNote(Texts::InvoiceCopyMark);
        RepFormNote3(5001, 150, 150);
    }
}

// The form definition's label of copy FormCopyNr (1..5) into out; empty
// for other copies.
void CopyWordText(uint8_t *out) {
    out[0] = 0;
    if (FormCopyNr < 1 || FormCopyNr > CopyLabels) return;
    GetPString(FormDefBuffer, DocVc::CopyLabel1 + (size_t)(FormCopyNr - 1) * CopyLabelStep, CopyLabelMax, out);
}
