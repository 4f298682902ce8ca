// auth_runs.cpp - the rights of the job requests: a report or document
// run (12, 42), a text export (21), a maintenance routine (30) and the
// runs 46..50 are served only when the session's user could have started
// them from the menus, and a run that writes only when the user may write
// what it writes.
//
// - The entry: the job record names the run by its number (ReportNumber;
//   a negative one is a document run, whatever code carried it, since the
//   report dispatcher goes by the number), the export by the request's
//   kind word. The menu lists offer a report or an export by its type-4
//   right, a document or a maintenance routine by its type-5 right, each
//   under its module's right (RightsMayUseListed).
// - The writes: a routine or run that stores records needs the right to
//   write each register it stores into (RightsMayWriteRegister), as the
//   record windows of those registers would. The runs 46..50 are offered
//   by buttons of those windows, so that right is all they need.
// A refused run shows text 16001 (it travels in the reply) and runs
// nothing.
#include <array>
#include <cstdint>

#include "core/field_access.h"
#include "core/list_slot.h"
#include "core/ui_text.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "net/auth.h"
#include "net/net.h"

namespace {

// The list slots of the interface file's menu tables the runs come from.

// What a run stores into: up to four registers (0 ends the list).
using Writes = std::array<uint16_t, 4>;

// The maintenance routines by number (the batch dispatcher's) and what
// each stores. Routine 22 deletes number ranges of the four registers it
// offers: it needs the right to write each of them.
struct RoutineWrites {
    uint16_t number;
    Writes regs;
};
constexpr RoutineWrites Routines[] = {
    {1, {BUVc::Number}},
    {2, {BPVc::Number}},
    {4, {IVVc::Number}},
    {6, {IVVc::Number}},
    {8, {IVVc::Number}},
    {9, {IVVc::Number}},
    {10, {SMVc::Number}},
    {11, {INVc::Number}},
    {12, {PurchOrderVc::Number}},
    {13, {IVVc::Number, ORVc::Number}},
    {15, {IVVc::Number}},
    {16, {PriceVc::Number}},
    {17, {PersEntryVc::Number}},
    {18, {PersEntryVc::Number}},
    {20, {SMVc::Number}},
    {21, {IPVc::Number}},
    {22, {IVVc::Number, IPVc::Number, VIVc::Number, OPVc::Number}},
    {23, {StructureVc::Number}},
};

// The runs 46..50 and what they store. Each is offered by a button of a
// window of what it stores (the payment list and window, the purchase-
// order and production lists) or of the document it starts from (the
// quotation, the purchase); the suggestions also by the maintenance list.
// The right to write what they store is what they need.
struct BatchWrites {
    uint16_t code;
    Writes regs;
};
constexpr BatchWrites Batches[] = {
    {ReqPaymentSuggestion, {OPVc::Number}},
    {ReqPurchaseOrderSuggestion, {PurchOrderVc::Number}},
    {ReqProductionSuggestion, {ProductionVc::Number}},
    {ReqQuotationRowsBatch, {TimeBudgetVc::Number, CostBudgetVc::Number}},
    {ReqPurchasePricesToItems, {INVc::Number, PriceVc::Number}},
};

bool MayWriteAll(const UserRightsRec &r, const Writes &regs)
{
    for (uint16_t reg : regs)
        if (reg != 0 && !RightsMayWriteRegister(r, reg)) return false;
    return true;
}

bool MayRunRoutine(const UserRightsRec &r, int number)
{
    if (!RightsMayUseListed(r, ListSlot::Maintenance, RightKind::SecondList, number)) return false;
    for (const RoutineWrites &w : Routines)
        if (w.number == number) return MayWriteAll(r, w.regs);
    return true;   // a number without a routine runs nothing
}

bool MayRunBatch(const UserRightsRec &r, uint16_t code)
{
    for (const BatchWrites &b : Batches)
        if (b.code == code) return MayWriteAll(r, b.regs);
    return false;
}

bool MayRun(const UserRightsRec &r, uint16_t code, int kind, const uint8_t *job)
{
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

// A run without a session is the server's own (a client's request always
// carries its session, as the binding rule of server_handle.cpp makes
// sure): it asks nothing.
int AuthRefuseRun(uint16_t code, int kind, const uint8_t *job)
{
    if (ServerCurrentSession < 0) return 0;
    if (MayRun(AuthRightsOf(ServerCurrentSession), code, kind, job)) return 0;
    ShowTextMessage(Texts::NoRight);
    return Texts::NoRight;
}
