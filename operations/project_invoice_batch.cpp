// project_invoice_batch.cpp - batch routine 9: invoices for the projects
// of a selection, walked by customer; projects of one customer in a row
// may share one invoice.
//
// Each invoice is built, its budgets written back and the invoice stored
// inside one hold: an invoice that is not stored leaves its budgets as
// they were, so nothing is marked invoiced that no invoice carries.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/project_invoice_work.h"
#include "operations/run_outcome.h"
#include "operations/sales_invoice.h"
#include "rules/invoice_kind.h"

namespace {

constexpr int CodeMax = 20;
// "no project of the selection has anything to invoice"
constexpr int TextNothingToInvoice = 14261;

// Whether the project is to be invoiced in this run: not barred, the
// selection's project code and filter code when given, and its invoicing
// started by today.
bool ProjectWanted(const uint8_t *selection, const uint8_t *project) {
    if (GetU16(project, ProjectVc::NoInvoice) != 0) return false;
    uint8_t want[256], have[256];
    GetText(selection, ReportParamsVc::SelText2, want);
    GetText(project, ProjectVc::Code, have);
    if (want[0] != 0 && !PStringEqual(want, have)) return false;
    GetText(selection, ReportParamsVc::SelText5, want);
    GetText(project, ProjectVc::FilterCode, have);
    if (want[0] != 0 && !PStringEqual(want, have)) return false;
    DateRec start = GetDate(project, ProjectVc::InvStart);
    return DateIsEmpty(&start) || DateCompare(&start, &TodayDate) <= 0;
}

// A trial run's invoice total is not zero.
bool TrialGivesTotal(const uint8_t *selection, const uint8_t *project) {
    RuleRecord scratch(IVVc::Number);
    if (!scratch.record) return false;
    ProjectInvoicing(selection, project, scratch.record, false, false, false, {});
    PackedDecimal total = GetDec(scratch.record, IVVc::Total);
    return !DecIsZero(&total);
}

// Stores the invoice built so far when it has rows and adds its down
// payments to its project; ends the invoice's hold. false when the
// invoice or the hold could not be stored (the hold then failed).
bool CloseInvoice(uint8_t *inv, RunOutcome *run) {
    bool ok = true, stored = false;
    if (InvoiceHasRows(inv)) {
        uint32_t recid = 0;
        ok = stored = RecStoreByKey(IVVc::Number, inv, 0, &recid);
        if (ok) UpdateProjectTotals(inv, nullptr);
    }
    if (!ok) DbHoldFail();
    ok = DbHoldEnd() && ok;
    if (stored && ok) {
        RunCount(run, 1, Texts::RunInvoiceMade, Texts::RunInvoicesMade);
        RunNumber(run, int32_t(GetU32(inv, IVVc::SerNr)));
    }
    return ok;
}

}  // namespace

// True when the invoice carries something: a total, or an item row with
// an amount.
bool InvoiceHasRows(const uint8_t *inv) {
    assert(inv);
    PackedDecimal total = GetDec(inv, IVVc::Total);
    if (!DecIsZero(&total)) return true;
    uint8_t row[IVVc::Rows::Size];
    int32_t n = MatrixRowCount(IVVc::Number, 0, inv);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(IVVc::Number, 0, inv, i, row) ||
            DocRowKind(GetU16(row, IVVc::Rows::Kind)) != DocRowKind::Item) continue;
        PackedDecimal sum = GetDec(row, IVVc::Rows::Sum);
        if (!DecIsZero(&sum)) return true;
    }
    return false;
}

// Walks the projects of the customer range by customer and invoices each
// one taken; with option 884 only projects whose trial run gives a total,
// and a customer's projects in a row on one invoice.
bool InvoicesFromProjects(const ReportJob &job) {
    if (!job.selection) return false;
    RuleRecord project(ProjectVc::Number), inv(IVVc::Number);
    if (!project.record || !inv.record) return false;
    // Counted as the invoices are stored, and told at the end: the
    // invoices made and their numbers, or why none.
    RunOutcome run;
    RunStart(&run, 0);
    RunNothing(&run, TextNothingToInvoice, Texts::RunNothingInvoiced);
    struct Tell {
        RunOutcome *run;
        ~Tell() { RunFinish(run, 0); }
    } tell{&run};
    uint8_t range[256], from[256], to[256], customer[256], last[256] = {0};
    GetText(job.selection, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    CutText(from, CodeMax);
    CutText(to, CodeMax);
    bool together = GetU16(job.selection, ReportParamsVc::Option6) != 0;
    constexpr const char *index = "CustCode";
    PutText(project.record, ProjectVc::CustCode, from);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(ProjectVc::Number, index, project.record, 1, 0, &recid, &position)) return true;
    bool open = false, ok = true;
    for (uint32_t p = position; ok && !UserCancelFlag; p++) {
        if (p != position && !RecReadAtIndex(ProjectVc::Number, index, (int32_t)p, project.record, &recid)) break;
        GetText(project.record, ProjectVc::CustCode, customer);
        if (to[0] != 0 && PStringCompare(customer, to) > 0) break;
        if (!ProjectWanted(job.selection, project.record)) continue;
        if (together && !TrialGivesTotal(job.selection, project.record)) continue;
        bool append = together && open && PStringEqual(customer, last);
        if (!append) {
            if (open && !CloseInvoice(inv.record, &run)) ok = false;
            DbHoldBegin();
            open = true;
        }
        // A run without a free number leaves an invoice without rows; a
        // budget that could not be written back fails the invoice's hold.
        if (!ProjectInvoicing(job.selection, project.record, inv.record, true, false, append, {}) &&
            GetU32(inv.record, IVVc::SerNr) != SerialNone) {
            DbHoldFail();
            ok = false;
        }
        PStringCopy(last, customer);
    }
    if (open && !CloseInvoice(inv.record, &run)) ok = false;
    if (UserCancelFlag) run.cancelled = true;
    return ok;
}
