// maintenance_runs.cpp - routines 22, 1 and 2 of the batch dispatcher:
// deleting a number range of sales invoices, receipts, purchase invoices
// and outgoing payments, and clearing the amounts of the budgets.
//
// Both walk an index by position. A delete moves the records after it up
// by one, so the range delete steps its position back after each; a
// budget is stored in place under the same key, so its walk goes on. The
// range delete shows the number it is at, stops before the next record
// when the user presses Esc and ends saying what it deleted and kept, or
// why nothing; the budgets' walk stops after the record at hand.
#include <cassert>
#include <iterator>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "dict_offsets.h"
#include "operations/maintenance_runs.h"
#include "operations/run_outcome.h"
#include "rules/print_services.h"
#include "rules/rules_types.h"

namespace {

constexpr int ObjectsMax = 30;

// The registers the range delete takes and where each keeps its number.
struct NumberedRegister {
    int reg;
    uint32_t serNr;
};
constexpr NumberedRegister Deletable[] = {
    {IVVc::Number, IVVc::SerNr}, {IPVc::Number, IPVc::SerNr}, {VIVc::Number, VIVc::SerNr}, {OPVc::Number, OPVc::SerNr}};

// True when text has nothing but blanks.
bool Blank(const uint8_t *text) {
    for (int i = 1; i <= text[0]; i++)
        if (text[i] != ' ') return false;
    return true;
}

// True when the user pressed Esc (the budgets' walk).
bool Cancelled() {
    ReportPollStop();
    return UserCancelFlag != 0;
}

// Where a budget register keeps its amounts; 0: not there.
struct BudgetRegister {
    int reg;
    uint32_t amounts[3];
    uint32_t objects, rowSize, rowText, rowAmount;
};
// The total of register 20 is the sum of its rows: cleared with them.
constexpr BudgetRegister Budgets{BUVc::Number, {BUVc::Amount, BUVc::Amount2, BUVc::Total}, BUVc::Objects,
                                 BUVc::Rows::Size, BUVc::Rows::Text, BUVc::Rows::Amount};
constexpr BudgetRegister Budgets2{BPVc::Number, {BPVc::Percentage, 0, 0}, BPVc::Objects,
                                  BPVc::Rows::Size, BPVc::Rows::Text, BPVc::Rows::Amount};

// Blanks budget's amounts and its rows' texts and amounts in memory.
bool ClearBudgetRecord(const BudgetRegister &b, uint8_t *budget) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    const uint8_t empty[1] = {0};
    for (uint32_t at : b.amounts)
        if (at) PutDec(budget, at, blank);
    std::vector<uint8_t> row(b.rowSize);
    const int32_t rows = MatrixRowCount(b.reg, 0, budget);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(b.reg, budget, i, row.data())) return false;
        PutPString(row.data(), b.rowText, 60, empty);
        PutDec(row.data(), b.rowAmount, blank);
        if (!MatrixRowPut(b.reg, 0, budget, i, row.data())) return false;
    }
    return true;
}

// Clears the budgets of register b: every one, or with Option2 = 1 those
// of ObjectSel's object list (an index run in the object-list order).
bool ClearBudgets(const ReportJob &job, const BudgetRegister &b) {
    assert(job.selection);
    uint8_t objects[256], own[256];
    const bool byObjects = GetU16(job.selection, ReportParamsVc::Option2) == 1;
    GetText(job.selection, ReportParamsVc::ObjectSel, objects);
    RuleRecord budget(b.reg);
    if (!budget.record) return false;
    // Without an object list the empty key finds the first budget.
    if (byObjects) PutPString(budget.record, b.objects, ObjectsMax, objects);
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(b.reg, "ObjAccKey", budget.record, 1, 0, &recid, &position);
    bool ok = true;
    for (uint32_t p = position; more; p++) {
        if (p != position) {
            RecFreeMatrix(b.reg, budget.record);
            if (!RecReadAtIndex(b.reg, "ObjAccKey", (int32_t)p, budget.record, &recid)) break;
        }
        if (byObjects) {
            GetPString(budget.record, b.objects, ObjectsMax, own);
            if (!PStringEqual(own, objects)) break;
        }
        if (!ClearBudgetRecord(b, budget.record) || !RecStore(b.reg, budget.record, 1, &recid)) {
            ShowTextMessage(Texts::RecordNotStored);
            ok = false;
            break;
        }
        if (Cancelled()) break;
    }
    RecFreeMatrix(b.reg, budget.record);
    return ok;
}

// Deletes the deletable records of reg (5, 10, 28 or 30) whose number
// lies in SelText1's range, counting each deleted, and each the delete
// check keeps (posted, or used by another record), in run; any other
// register does nothing. The range must have been checked by the caller:
// an empty one takes every record. Stops at Esc before the next record.
// False when a delete failed (told).
bool DeleteRecordRange(const ReportJob &job, int reg, RunOutcome *run) {
    assert(job.selection);
    const NumberedRegister *def = nullptr;
    for (const NumberedRegister &d : Deletable)
        if (d.reg == reg) def = &d;
    if (!def) return true;
    uint8_t range[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    int32_t from = -1, to = -1;
    RangeSplitNumber(range, &from, &to);
    RuleRecord record(reg);
    if (!record.record) return false;
    PutI32(record.record, def->serNr, from < 0 ? 0 : from);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(reg, "SerNr", record.record, 1, 0, &recid, &position)) return true;
    bool ok = true;
    for (int32_t p = (int32_t)position; ok; p++) {
        RecFreeMatrix(reg, record.record);
        if (!RecReadAtIndex(reg, "SerNr", p, record.record, &recid)) break;
        if (to >= 0 && GetI32(record.record, def->serNr) > to) break;
        if (!RunGoesOnNumber(run, GetI32(record.record, def->serNr))) break;
        if (CanDeleteRecord(reg, record.record, 0) != 1) {
            RunFailed(run, 1, Texts::RunNotDeleted, Texts::RunNotDeleted);
            continue;
        }
        DbHoldBegin();
        const bool deleted = RecDeleteHooked(reg, record.record, recid);
        ok = DbHoldEnd() && deleted;
        if (!ok) ShowTextMessage(Texts::RecordNotStored);
        else RunCount(run, 1, Texts::RunDocumentDeleted, Texts::RunDocumentsDeleted);
        p--;   // the next record has moved up into this position
    }
    RecFreeMatrix(reg, record.record);
    return ok;
}

}  // namespace

// Routine 22. Ends with what it deleted and what it kept, or why it
// deleted nothing; a delete that failed ends it there (told).
bool DeleteRangesBySelection(const ReportJob &job) {
    assert(job.selection);
    const uint32_t options[] = {ReportParamsVc::Option1, ReportParamsVc::Option2, ReportParamsVc::Option3,
                                ReportParamsVc::Option4};
    RunOutcome run;
    RunStart(&run, Texts::TitleDeleteRanges);
    RunNothing(&run, Texts::RunWhyNoneToDelete, Texts::RunNothingDeleted);
    bool any = false;
    for (uint32_t o : options) any = any || GetU16(job.selection, o) != 0;
    if (!any) {
        RunNothing(&run, Texts::RunWhyNoKindTicked, Texts::RunNothingDeleted);
        RunFinish(&run, 0);
        return true;
    }
    // An empty range would take every deletable document of the ticked
    // registers at one stroke: a range must be given.
    uint8_t range[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    if (Blank(range)) {
        RunProgressEnd(&run);
        ShowTextMessage(Texts::DeleteRangeNeeded);
        return false;
    }
    for (size_t i = 0; i < std::size(options) && !run.cancelled; i++) {
        if (GetU16(job.selection, options[i]) == 0) continue;
        if (!DeleteRecordRange(job, Deletable[i].reg, &run)) {
            RunProgressEnd(&run);
            return false;
        }
    }
    RunFinish(&run, 0);
    return true;
}

bool BudgetClear(const ReportJob &job) { return ClearBudgets(job, Budgets); }
bool Budget2Clear(const ReportJob &job) { return ClearBudgets(job, Budgets2); }
