// vendor_turnover_report.cpp - the vendors of a report's code range and
// group in code order, and report 30, each vendor's movement over the
// period's months from its period balances.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/statistics_slots.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/party_walk.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;
constexpr int StopRight = 1, StopName = 2;

// The job a turnover run selects by, and its running total.
struct TurnoverRun {
    const uint8_t *job;
    PackedDecimal total;
};

void EachTurnover(const uint8_t *vendor, void *context) {
    TurnoverRun *run = static_cast<TurnoverRun *>(context);
    PackedDecimal movement;
    VendorPeriodAmount(run->job, vendor, VendorStatSlot::HomeNet, false, &movement);
    DecAdd(&run->total, &movement, &run->total);
    uint8_t text[256];
    RepStartLine(LineHeight);
    GetText(vendor, VEVc::Code, text);
    RepTextEx(0, -1, 0, 0, 0, text);
    GetText(vendor, VEVc::Name, text);
    RepTextEx(StopName, -1, 0, 0, 0, text);
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, movement);
    RepValue(StopRight, 0, slot, FtAmount2, -1);
    RepEndLine();
}

}  // namespace

const PartyFields VendorParty{VEVc::Number, VEVc::Code, VEVc::Name, VEVc::VEGroup};

void VendorWalk(const uint8_t *job, void (*each)(const uint8_t *vendor, void *context), void *context) {
    assert(each && job);
    uint8_t group[256];
    GetText(job, ReportParamsVc::SelText2, group);
    PartyWalkOfJob(VendorParty, job, group, each, context);
}

void VendorPeriodAmount(const uint8_t *job, const uint8_t *vendor, int kind, bool before, PackedDecimal *out) {
    assert(job && vendor && out);
    DecSetZero(out);
    RuleRecord balances(VBVc::Number);
    if (!balances.record) return;
    uint8_t code[256];
    GetText(vendor, VEVc::Code, code);
    PutText(balances.record, VBVc::VendCode, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(VBVc::Number, balances.record, 1, 1, &recid, &position)) return;
    const MemBlock amounts = GetU32(balances.record, VBVc::Amounts);
    const uint16_t from = GetU16(job, ReportParamsVc::MonthFrom);
    const uint16_t to = GetU16(job, ReportParamsVc::MonthTo);
    if (before) PeriodBalanceBefore(amounts, VendorStatSlot::Count, kind, from, out);
    else PeriodBalanceChange(amounts, VendorStatSlot::Count, kind, from, to, out);
    if (DecIsBlank(out)) DecSetZero(out);
}

// Report 30: a line per vendor of the range and group with its movement
// over the period's months (zero without period balances), and the total
// on a line that says so.
// Esc stops the walk after the vendor at hand.
void VendorTurnoverReport(ReportJob &job) {
    assert(job.selection);
    RepBeginJobNr(4061);
    ReportHeadings(LineHeight, {{0, 4062}, {StopName, 4063}, {StopRight, 4064, -1}});
    RepRuleFull(1, 1);
    TurnoverRun run{job.selection, {}};
    DecSetZero(&run.total);
    VendorWalk(job.selection, EachTurnover, &run);
    RepRuleFull(1, 1);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, Texts::ReportTotalLabel, 0);
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, run.total);
    RepValue(StopRight, 0, slot, FtAmount2, -1);
    RepEndLine();
    RepEndJob();
}
