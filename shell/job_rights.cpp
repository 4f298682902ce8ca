// job_rights.cpp - the one answer to a run a user starts: a report or
// document run, a text export, a maintenance routine, the runs 46..50
// and an import. A server asks it of a client's run request
// (net/auth_runs.cpp), the stand-alone program of the user at its screen
// before the run writes anything (database/access/write_gate.h), so a run
// is refused in every mode where it is refused in one.
//
// - The entry: the job record names the run by its number (ReportNumber;
//   a negative one is a document run, whatever code carried it, since the
//   report dispatcher goes by the number), the export by its kind. The
//   menu lists offer a report or an export by its type-4 right, a
//   document or a maintenance routine by its type-5 right, each under
//   its module's right (RightsMayUseListed).
// - The writes: a routine or run that stores records needs the right to
//   write each register it stores into (RightsMayWriteRegister), as the
//   record windows of those registers would. A maintenance routine names
//   what it writes beside itself (MaintenanceRoutineWrites). The runs
//   46..50 are offered by buttons of those windows, so that right is all
//   they need.
// - An import can write persons and access groups: only one who may
//   change the groups runs it.
// A refused run shows text 16001 and runs nothing.
#include <array>
#include <cstdint>

#include "core/field_access.h"
#include "core/list_slot.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "shell/login.h"

namespace {

// The runs 46..50 and what they store. Each is offered by a button of a
// window of what it stores (the payment list and window, the purchase-
// order and production lists) or of the document it starts from (the
// quotation, the purchase); the suggestions also by the maintenance list.
// The right to write what they store is what they need.
struct BatchWrites {
    uint16_t code;
    RoutineWrites regs;
};
constexpr BatchWrites Batches[] = {
    {ReqPaymentSuggestion, {OPVc::Number}},
    {ReqPurchaseOrderSuggestion, {PurchOrderVc::Number}},
    {ReqProductionSuggestion, {ProductionVc::Number}},
    {ReqQuotationRowsBatch, {TimeBudgetVc::Number, CostBudgetVc::Number}},
    {ReqPurchasePricesToItems, {INVc::Number, PriceVc::Number}},
};

bool MayWriteAll(const UserRightsRec &r, const RoutineWrites &regs)
{
    for (uint16_t reg : regs)
        if (reg != 0 && !RightsMayWriteRegister(r, reg)) return false;
    return true;
}

bool MayRunRoutine(const UserRightsRec &r, int number)
{
    if (!RightsMayUseListed(r, ListSlot::Maintenance, RightKind::SecondList, number)) return false;
    const RoutineWrites *writes = MaintenanceRoutineWrites(number);
    return !writes || MayWriteAll(r, *writes);   // a number without a routine runs nothing
}

bool MayRunBatch(const UserRightsRec &r, uint16_t code)
{
    for (const BatchWrites &b : Batches)
        if (b.code == code) return MayWriteAll(r, b.regs);
    return false;
}

bool MayRun(const UserRightsRec &r, uint16_t code, int kind, const uint8_t *job)
{
    if (code == ReqImportRun) return RightsMayChangeGroups(r);
    if (!job) return false;
    int number = int16_t(GetU16(job, ReportParamsVc::ReportNumber));
    switch (code) {
    case ReqReportRun:
    case ReqDocumentRun:
        return number < 0 ? RightsMayUseListed(r, ListSlot::Documents, RightKind::SecondList, number)
                          : RightsMayUseListed(r, ListSlot::Reports, RightKind::FirstList, number);
    case ReqTextExport: return RightsMayUseListed(r, ListSlot::Exports, RightKind::FirstList, kind);
    case ReqMaintenance: return MayRunRoutine(r, uint16_t(number));
    default: return MayRunBatch(r, code);
    }
}

}  // namespace

int RightsRefuseRun(const UserRightsRec &r, uint16_t code, int kind, const uint8_t *job)
{
    if (MayRun(r, code, kind, job)) return 0;
    ShowTextMessage(Texts::NoRight);
    return Texts::NoRight;
}
