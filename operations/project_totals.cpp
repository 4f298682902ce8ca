// project_totals.cpp - the down payments a project (register 53) has
// invoiced and deducted, moved with its invoices: an invoice stored,
// changed or deleted changes them by what its down-payment rows add.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "operations/sales_invoice.h"
#include "rules/rules_types.h"

namespace {

// The down-payment sums of one invoice and its project.
struct ProjectSums {
    uint8_t project[256];
    PackedDecimal invoiced, deducted;
};

// The invoice's project and its down-payment rows summed by sign
// (InvoiceDownPaymentSums negates a credit note's); false when it has no
// invoice or no project.
bool SumsOf(const uint8_t *invoice, ProjectSums *s) {
    if (!invoice) return false;
    GetText(invoice, IVVc::Project, s->project);
    if (s->project[0] == 0) return false;
    DecSetZero(&s->invoiced);
    DecSetZero(&s->deducted);
    InvoiceDownPaymentSums(invoice, &s->invoiced, &s->deducted);
    if (DecIsBlank(&s->invoiced)) DecSetZero(&s->invoiced);
    if (DecIsBlank(&s->deducted)) DecSetZero(&s->deducted);
    return true;
}

// Adds invoiced and deducted to the project's down-payment sums; a
// project that is not stored is left alone. With freeSerial set, every
// plan line naming that invoice serial is freed first (all ones). A
// failed store is told.
void AddToProject(const uint8_t *code, const PackedDecimal *invoiced, const PackedDecimal *deducted,
                  uint32_t freeSerial) {
    if (DecIsZero(invoiced) && DecIsZero(deducted) && freeSerial == SerialNone) return;
    RuleRecord project(ProjectVc::Number);
    if (!project.record) return;
    PutText(project.record, ProjectVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(ProjectVc::Number, project.record, 1, 1, &recid, &position)) return;
    if (freeSerial != SerialNone) {
        uint8_t line[ProjectVc::Rows::Size];
        int32_t count = MatrixRowCount(ProjectVc::Number, 0, project.record);
        for (int32_t i = 0; i < count; i++) {
            if (!MatrixRowRead(ProjectVc::Number, project.record, i, line)) continue;
            if (GetU32(line, ProjectVc::Rows::InvoiceNr) != freeSerial) continue;
            PutU32(line, ProjectVc::Rows::InvoiceNr, SerialNone);
            if (!MatrixRowPut(ProjectVc::Number, 0, project.record, i, line)) {
                ShowTextMessage(Texts::RecordNotStored);
                return;
            }
        }
    }
    PackedDecimal sum = GetDec(project.record, ProjectVc::DownPayInvoiced);
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    DecAdd(&sum, invoiced, &sum);
    PutDec(project.record, ProjectVc::DownPayInvoiced, sum);
    sum = GetDec(project.record, ProjectVc::DownPayDeducted);
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    DecAdd(&sum, deducted, &sum);
    PutDec(project.record, ProjectVc::DownPayDeducted, sum);
    if (!RecStore(ProjectVc::Number, project.record, 1, &recid)) ShowTextMessage(Texts::RecordNotStored);
}

}  // namespace

// Moves a project's down payments invoiced and deducted from the stored
// invoice oldInv to newInv (either may be null: an insert, a delete). One
// project changes by the difference; two projects each take their own
// invoice's sums. A deleted invoice also frees the plan lines that named
// it.
void UpdateProjectTotals(const uint8_t *newInv, const uint8_t *oldInv) {
    ProjectSums n{}, o{};
    bool hasNew = SumsOf(newInv, &n), hasOld = SumsOf(oldInv, &o);
    if (hasNew && hasOld && PStringEqual(n.project, o.project)) {
        PackedDecimal invoiced, deducted;
        DecSub(&n.invoiced, &o.invoiced, &invoiced);
        DecSub(&n.deducted, &o.deducted, &deducted);
        AddToProject(n.project, &invoiced, &deducted, SerialNone);
        return;
    }
    if (hasNew) AddToProject(n.project, &n.invoiced, &n.deducted, SerialNone);
    if (hasOld) {
        DecNegateInto(&o.invoiced, &o.invoiced);
        DecNegateInto(&o.deducted, &o.deducted);
        AddToProject(o.project, &o.invoiced, &o.deducted, newInv ? SerialNone : GetU32(oldInv, IVVc::SerNr));
    }
}
