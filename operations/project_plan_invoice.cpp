// project_plan_invoice.cpp - invoices from a project's invoicing plan:
// the header and text rows of a new project invoice, and the invoice of
// what the plan has made due and is not yet invoiced (the conversion of a
// project into an invoice).
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "operations/run_outcome.h"
#include "operations/sales_invoice.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

constexpr int CodeMax = 20, LineMax = 60;

// Appends a text row (kind 1) holding text, cut to a row's description.
void AppendTextRow(uint8_t *inv, const uint8_t *text) {
    uint8_t row[IVVc::Rows::Size] = {}, t[256];
    InitDocRow(row, IVVc::Number, 1);
    PStringCopy(t, text);
    if (t[0] > LineMax) t[0] = LineMax;
    PutTextPrefix(row, IVVc::Rows::Text, LineMax, t);
    MatrixRowPut(IVVc::Number, 0, inv, MatrixRowCount(IVVc::Number, 0, inv), row);
}

// The project's text rows after the invoice's rows, as the project's four
// words ask: the heading with the project code, the name, the reference
// and the description lines, each only when it has a text. No blank row
// is put between them or after them: a printed invoice shows every row,
// and blank ones read as lines left empty.
void PlanTextRows(uint8_t *inv, const uint8_t *project) {
    uint8_t text[256];
    if (GetU16(project, ProjectVc::PrintHeading) != 0) {
        uint8_t defaults[ProjectBlk::Size] = {}, code[256];
        SettingsBlockRead(ProjectBlk::Number, defaults, ProjectBlk::Size);
        GetText(defaults, ProjectBlk::Heading, text);
        GetText(project, ProjectVc::Code, code);
        if (text[0] != 0) PStringAppendC(text, " ");
        PStringAppend(text, code);
        AppendTextRow(inv, text);
    }
    auto line = [&](auto field) {
        GetText(project, field, text);
        if (text[0] != 0) AppendTextRow(inv, text);
    };
    if (GetU16(project, ProjectVc::PrintName) != 0) line(ProjectVc::Name);
    if (GetU16(project, ProjectVc::PrintRef) != 0) line(ProjectVc::Reference);
    if (GetU16(project, ProjectVc::PrintDesc) == 0) return;
    line(ProjectVc::Desc1);
    line(ProjectVc::Desc2);
    line(ProjectVc::Desc3);
}

// Appends a row to the invoice.
bool AppendRow(uint8_t *inv, const uint8_t *row) {
    return MatrixRowPut(IVVc::Number, 0, inv, MatrixRowCount(IVVc::Number, 0, inv), row);
}

// True when plan line `line` is due by today and no invoice carries it
// yet: the lines the next plan invoice takes.
bool PlanLineToInvoice(const uint8_t *line) {
    const DateRec d = GetDate(line, ProjectVc::Rows::PlanDate);
    return GetU32(line, ProjectVc::Rows::InvoiceNr) == SerialNone && DateCompare(&d, &TodayDate) <= 0;
}

// The plan's amounts due by today into s.
void PlanDue(const uint8_t *project, PackedDecimal *s) {
    DecSetZero(s);
    uint8_t line[ProjectVc::Rows::Size], text[256];
    int32_t n = MatrixRowCount(ProjectVc::Number, 0, project);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(ProjectVc::Number, 0, project, i, line)) break;
        DateRec d = GetDate(line, ProjectVc::Rows::PlanDate);
        if (DateCompare(&d, &TodayDate) > 0) continue;
        GetText(line, ProjectVc::Rows::AmountText, text);
        PackedDecimal a;
        TextToDec(text, &a);
        if (!DecIsBlank(&a)) DecAdd(s, &a, s);
    }
}

// Gives every due plan line not yet invoiced the invoice's serial and the
// user's code.
void MarkPlanLines(uint8_t *project, uint32_t serial) {
    uint8_t line[ProjectVc::Rows::Size], user[6] = {0};
    CurrentUserCode(user);
    int32_t n = MatrixRowCount(ProjectVc::Number, 0, project);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(ProjectVc::Number, 0, project, i, line)) break;
        if (!PlanLineToInvoice(line)) continue;
        PutU32(line, ProjectVc::Rows::InvoiceNr, serial);
        PutText(line, ProjectVc::Rows::UserCode, user);
        MatrixRowPut(ProjectVc::Number, 0, project, i, line);
    }
}

// The words printed beside the plan invoice's amount: the texts of the
// plan lines it invoices, joined by ", " (cut to the row's text); the
// down-payment item's name when no line has a text; the words for a down
// payment when the item has no name either.
void PlanRowText(const uint8_t *project, const uint8_t *item, uint8_t *out) {
    out[0] = 0;
    uint8_t line[ProjectVc::Rows::Size], text[256];
    const int32_t n = MatrixRowCount(ProjectVc::Number, 0, project);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(ProjectVc::Number, 0, project, i, line)) break;
        if (!PlanLineToInvoice(line)) continue;
        GetText(line, ProjectVc::Rows::Text, text);
        if (text[0] == 0) continue;
        if (out[0] != 0) PStringAppendC(out, ", ");
        PStringAppend(out, text);
    }
    if (out[0] == 0 && item) GetText(item, INVc::Name, out);
    if (out[0] == 0) GetUiText(out, Texts::PlanInvoiceRowText);
    if (out[0] > LineMax) out[0] = LineMax;
}

// The invoice of amount s for the project (read in project); stored with
// the project's sums and plan when its total is not zero. What it came
// to, with the invoice's number and record id when one was made.
PlanInvoiceResult InvoicePlanAmount(uint8_t *project, const PackedDecimal &s, PlanInvoiceOutcome *outcome) {
    RuleRecord inv(IVVc::Number), item(INVc::Number);
    if (!inv.record) return PlanInvoiceResult::Failed;
    if (!InvoiceFromPercentage(inv.record, project)) return PlanInvoiceResult::NumbersUsedUp;
    uint8_t row[IVVc::Rows::Size] = {};
    InitDocRow(row, IVVc::Number, 5);
    uint8_t defaults[ProjectBlk::Size] = {}, code[256], account[256], vat[256];
    SettingsBlockRead(ProjectBlk::Number, defaults, ProjectBlk::Size);
    GetText(defaults, ProjectBlk::DownPayItem, code);
    if (!ProjectReadByCode(item, INVc::Code, CodeMax, code) && item.record) {
        RecClear(INVc::Number, item.record);
        PutText(item.record, INVc::Code, code);
    }
    int zone = GetU16(inv.record, IVVc::VatZone);
    ItemSalesAccount(item.record, zone, account);
    ItemVatCode(item.record, zone, vat);
    PutText(row, IVVc::Rows::SalesAcc, account);
    PutText(row, IVVc::Rows::VatCode, vat);
    uint8_t words[256];
    PlanRowText(project, item.record, words);
    PutTextPrefix(row, IVVc::Rows::Text, LineMax, words);
    PutDec(row, IVVc::Rows::Sum, s);
    if (!AppendRow(inv.record, row)) return PlanInvoiceResult::Failed;
    DocTotalsRound(inv.record);
    PackedDecimal total = GetDec(inv.record, IVVc::Total);
    if (DecIsZero(&total)) return PlanInvoiceResult::NothingDue;
    uint32_t recid = 0;
    if (!RecStoreByKey(IVVc::Number, inv.record, 0, &recid)) return PlanInvoiceResult::Failed;
    // The stored invoice's down payments reach the stored project; the
    // copy here is read again so that its sums are those and not added
    // twice.
    UpdateProjectTotals(inv.record, nullptr);
    uint32_t position = 0, projectId = 0;
    if (!RecFind(ProjectVc::Number, project, 1, 1, &projectId, &position)) return PlanInvoiceResult::Failed;
    outcome->serial = int32_t(GetU32(inv.record, IVVc::SerNr));
    outcome->invoiceId = recid;
    MarkPlanLines(project, GetU32(inv.record, IVVc::SerNr));
    return PlanInvoiceResult::Made;
}

}  // namespace

// A new invoice for the project: defaults, kind 1, today, the next
// invoice number (noted in block 132), the project's customer with the
// customer's currency and rate, and the project's text rows.
bool InvoiceFromPercentage(uint8_t *inv, const uint8_t *project) {
    assert(inv && project);
    RecClear(IVVc::Number, inv);
    RecNewDefaults(IVVc::Number, inv);
    PutU16(inv, IVVc::InvType, uint16_t(InvoiceKind::Ordinary));
    uint8_t text[256];
    GetText(project, ProjectVc::Code, text);
    PutText(inv, IVVc::Project, text);
    PutDate(inv, IVVc::InvDate, TodayDate);
    PutDate(inv, IVVc::TransDate, TodayDate);
    PutU16(inv, IVVc::Posted, 0);
    ClearGeneratedInvoiceHead(inv);
    PutU16(inv, IVVc::InclVat, 0);
    DateRec date = TodayDate;
    int32_t n = NextSerialNumber(IVVc::Number, &date, SeriesHint(SU::SeriesA + 8, SeriesDefaultsBlk::InvoiceHint), 0);
    if (n == NoFreeNumber) {
        PutU32(inv, IVVc::SerNr, SerialNone);
        return false;
    }
    PutU32(inv, IVVc::SerNr, (uint32_t)n);
    uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    if (series) PutU32(series, SeriesDefaultsBlk::InvoiceHint, (uint32_t)n);
    GetText(project, ProjectVc::CustCode, text);
    PutText(inv, IVVc::CustCode, text);
    CopyCustomerToDocument(inv);
    // The rate is that of the customer's currency, known only now.
    GetText(inv, IVVc::CurncyCode, text);
    PackedDecimal rate;
    if (DocumentRate(text, &date, nullptr, &rate)) PutDec(inv, IVVc::Rate, rate);
    PlanTextRows(inv, project);
    return true;
}

// Invoices what the plan of the project has made due beyond what is
// invoiced already, when that is above zero; the project is stored with
// its plan lines marked. A missing project does nothing. No free invoice
// number is a failure, not a run that found nothing to do.
bool ProjectToInvoice(const uint8_t *projectCode, PlanInvoiceOutcome *outcome) {
    assert(projectCode);
    PlanInvoiceOutcome unused;
    if (!outcome) outcome = &unused;
    *outcome = PlanInvoiceOutcome{};
    RuleRecord project(ProjectVc::Number);
    if (!ProjectReadByCode(project, ProjectVc::Code, CodeMax, projectCode)) {
        outcome->result = PlanInvoiceResult::NoProject;
        return true;
    }
    uint32_t recid = 0, position = 0;
    RecFind(ProjectVc::Number, project.record, 1, 1, &recid, &position);
    PackedDecimal s, invoiced = GetDec(project.record, ProjectVc::DownPayInvoiced);
    PlanDue(project.record, &s);
    if (!DecIsBlank(&invoiced)) DecSub(&s, &invoiced, &s);
    if (DecSign(&s) <= 0) return true;
    DbHoldBegin();
    outcome->result = InvoicePlanAmount(project.record, s, outcome);
    bool ok = outcome->result != PlanInvoiceResult::Failed && RecStore(ProjectVc::Number, project.record, 1, &recid);
    if (!ok) DbHoldFail();
    if (!(DbHoldEnd() && ok)) {
        *outcome = PlanInvoiceOutcome{PlanInvoiceResult::Failed};
        return false;
    }
    return outcome->result != PlanInvoiceResult::NumbersUsedUp;
}

bool ProjectPlanInvoiceRun(const uint8_t *projectCode, uint32_t *invoiceId) {
    assert(projectCode && invoiceId);
    *invoiceId = SerialNone;
    RunOutcome run;
    RunStart(&run, 0);
    RunNothing(&run, Texts::RunWhyPlanNothingDue, Texts::RunNothingInvoiced);
    PlanInvoiceOutcome outcome;
    bool ok = ProjectToInvoice(projectCode, &outcome);
    switch (outcome.result) {
    case PlanInvoiceResult::Made:
        RunCount(&run, 1, Texts::RunInvoiceMade, Texts::RunInvoicesMade);
        RunNumber(&run, outcome.serial);
        *invoiceId = outcome.invoiceId;
        break;
    case PlanInvoiceResult::NothingDue: break;
    case PlanInvoiceResult::NoProject: RunNothing(&run, Texts::RunWhyPlanNoProject); break;
    case PlanInvoiceResult::NumbersUsedUp:
        RunFailed(&run, 1, Texts::RunPlanNoNumber, Texts::RunPlanNoNumber);
        break;
    case PlanInvoiceResult::Failed: RunFailed(&run, 1, Texts::RunPlanNotStored, Texts::RunPlanNotStored); break;
    }
    RunFinish(&run, 0);
    return ok;
}
