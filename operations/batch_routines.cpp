// batch_routines.cpp - the batch routines by number: RunMaintenance
// takes the routine's number from the job it is handed (word 3 of the
// selection) and runs it; a number without a routine does nothing. Each
// routine reads its selection from that job, and the long ones stop at the
// user's cancel. The routines of this file: approving a range of sales
// invoices (8), re-posting a range of a register's documents (10) and
// item cost prices from their FIFO stock value (11).
#include <algorithm>
#include <array>
#include <cassert>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "dict_offsets.h"
#include "operations/asset_depreciation.h"
#include "operations/batch_routines.h"
#include "operations/maintenance_runs.h"
#include "operations/person_entries.h"
#include "operations/posting_follow_ups.h"
#include "operations/project_ops.h"
#include "operations/run_outcome.h"
#include "operations/stock_docs.h"
#include "rules/approval.h"
#include "rules/contract_invoicing.h"
#include "rules/ledger.h"
#include "rules/purchase_from_orders.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

// Why the approval run posted nothing.
constexpr int TextNoneToPost = 14262;

// The documents routine 10 posts again: the posted (or approved,
// received, shipped) flag it clears in the copy it validates against, and
// the fixed year code their voucher is stored under beside the document's
// number.
struct PostedFlag {
    int reg;
    uint32_t at;
    uint16_t voucherCode;
};
constexpr PostedFlag PostedFlags[] = {
    {PUVc::Number, PUVc::Received, YearCodePurchase},
    {IVVc::Number, IVVc::Posted, YearCodeInvoice},
    {SHVc::Number, SHVc::Shipped, YearCodeDelivery},
    {IPVc::Number, IPVc::Posted, YearCodeReceipt},
    {VIVc::Number, VIVc::Approved, YearCodePurchInvoice},
    {OPVc::Number, OPVc::Posted, YearCodeVendorPayment},
    {ExpenseVc::Number, ExpenseVc::Posted, YearCodeExpense},
    {PersPayVc::Number, PersPayVc::Posted, YearCodePersonPayment},
};

const PostedFlag *PostedFlagOf(int reg)
{
    for (const PostedFlag &f : PostedFlags)
        if (f.reg == reg) return &f;
    return nullptr;
}

// True when the ledger holds the voucher of document serial posted under
// the fixed year code `code`.
bool DocumentVoucherStored(uint16_t code, uint32_t serial)
{
    RuleRecord voucher(Voucher::Number);
    if (!voucher.record) return false;
    PutU16(voucher.record, Voucher::YearCode, code);
    PutU32(voucher.record, Voucher::SerNr, serial);
    return RecExists(Voucher::Number, voucher.record);
}

// The record offset of reg's serial number: the first part of its
// current index when that part is a 32-bit number. False for a register
// not kept by serial number.
bool SerialKeyOffset(int reg, uint32_t *at)
{
    for (int i = 0, n = RegIndexCount(reg); i < n; i++) {
        const uint8_t *def = RegIndexDef(reg, i);
        if (!def || IndexDefWord(def, 1) != 1 || IndexDefPartCount(def) == 0) continue;
        KeyPartInfo part = IndexDefPart(def, 0);
        if (part.type != FtLongOrEmpty && part.type != FtLong) return false;
        *at = part.recordOffset;
        return true;
    }
    return false;
}

// Calls visit(record, recid) for the records of reg whose serial number
// (at `at`) lies in the range text, in serial order, until the range's
// end, the register's end, the user's cancel or visit gives false. An
// open lower end starts at the first record (serial numbers are not
// negative). False when visit did.
template <typename Visit>
bool EachInSerialRange(int reg, uint32_t at, uint8_t *record, const uint8_t *range, Visit visit)
{
    int32_t from = -1, to = -1;
    if (range[0] != 0) RangeSplitNumber(range, &from, &to);
    uint32_t recid = 0, position = 0;
    PutU32(record, at, uint32_t(std::max(from, 0)));
    if (!RecFind(reg, record, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAt(reg, int32_t(p), record, &recid)) return true;
        if (to >= 0 && GetI32(record, at) > to) return true;
        if (UserCancelFlag) return true;
        if (!visit(record, recid)) return false;
    }
}

// The text field of the job's selection at `at` (a PString).
void ParamText(const ReportJob &job, uint32_t at, int length, uint8_t *out)
{
    GetPString(job.selection, at, length, out);
}

// Routines that do nothing (3 and 7).
bool MaintNoOp(const ReportJob &) { return true; }

bool RunItemStructureBatch(const ReportJob &job) { return ItemStructureBatch(job.selection); }
// Routine 20 stores the depreciation voucher (mode 1).
bool RunDepreciationVoucher(const ReportJob &job) { return DepreciationVoucherRows(job.selection, 1); }

// The routines by number, each with the registers it writes (see
// MaintenanceRoutineWrites); a null run: the number runs nothing.
// Routine 22 deletes number ranges of the four registers it offers.
using Routine = bool (*)(const ReportJob &);
struct RoutineDef {
    Routine run;
    RoutineWrites writes;
};
constexpr int RoutineLast = 23;
constexpr std::array<RoutineDef, RoutineLast + 1> Routines = {{
    {nullptr, {}},                                  //  0
    {BudgetClear, {BUVc::Number}},                  //  1
    {Budget2Clear, {BPVc::Number}},                 //  2
    {MaintNoOp, {}},                                //  3
    {InterestInvoiceRun, {IVVc::Number}},           //  4
    {nullptr, {}},                                  //  5 none
    {TestInvoices, {IVVc::Number}},                 //  6
    {MaintNoOp, {}},                                //  7
    {InvoiceRangeApprove, {IVVc::Number}},          //  8
    {InvoicesFromProjects, {IVVc::Number}},         //  9
    {RecordRangeRevalidate, {TRVc::Number}},        // 10
    {ItemCostFromFifo, {INVc::Number}},             // 11
    {OrdersToPurchaseOrders, {PurchOrderVc::Number}},   // 12
    {InvoicesFromOrders, {IVVc::Number, ORVc::Number}},  // 13
    {nullptr, {}},                                  // 14 none
    {InvoiceContracts, {IVVc::Number}},             // 15
    {PriceUpdate, {PriceVc::Number}},               // 16
    {MaintenanceRun17, {PersEntryVc::Number}},      // 17 person entries of the employees
    {MaintenanceRun18, {PersEntryVc::Number}},      // 18 person entries deleted by serial range
    {nullptr, {}},                                  // 19 none
    {RunDepreciationVoucher, {SMVc::Number}},       // 20
    {ReceiptsFromOpenItems, {IPVc::Number}},        // 21
    {DeleteRangesBySelection, {IVVc::Number, IPVc::Number, VIVc::Number, OPVc::Number}},   // 22
    {RunItemStructureBatch, {StructureVc::Number}},   // 23
}};

}  // namespace

// Runs the routine whose number word 3 of the job's selection holds; an
// unknown number does nothing. False when the routine failed (a store).
bool RunMaintenance(const ReportJob &job)
{
    if (!job.selection) return false;
    uint16_t number = GetU16(job.selection, ReportParamsVc::ReportNumber);
    if (number > RoutineLast || !Routines[number].run) return true;
    return Routines[number].run(job);
}

const RoutineWrites *MaintenanceRoutineWrites(int number)
{
    if (number < 0 || number > RoutineLast || !Routines[size_t(number)].run) return nullptr;
    return &Routines[size_t(number)].writes;
}

// Routine 8: approves (posts) the unposted sales invoices of the serial
// range in serial order; posted ones are left as they are. Each posts as
// a list's "Post marked" posts it, follow-ups included. The run shows
// which invoice it is at, stops at Esc between invoices, and ends with
// its counted line: how many posted and how many not (the approval told
// why), or why nothing was. False when an approval failed to store (the
// run ends there).
bool InvoiceRangeApprove(const ReportJob &job)
{
    assert(job.selection);
    RuleRecord invoice(IVVc::Number), after(IVVc::Number);
    if (!invoice.record || !after.record) return false;
    uint8_t range[256];
    ParamText(job, ReportParamsVc::SelText1, 255, range);
    RunOutcome run;
    RunStart(&run, Texts::MaintApproveInvoices);
    bool stopped = false;
    bool stored = EachInSerialRange(IVVc::Number, IVVc::SerNr, invoice.record, range, [&](uint8_t *r, uint32_t recid) {
        if (GetU16(r, IVVc::Posted) != 0) return true;
        if (!RunGoesOnNumber(&run, GetI32(r, IVVc::SerNr))) return !(stopped = true);
        if (!ApproveRecord(ApproveKindPostInvoice, IVVc::Number, recid)) return false;
        bool posted = RecReadById(IVVc::Number, recid, after.record) && GetU16(after.record, IVVc::Posted) != 0;
        if (posted)
            RunCount(&run, 1, Texts::RunPosted, Texts::RunPosted);
        else
            RunFailed(&run, 1, Texts::RunNotPosted, Texts::RunNotPosted);
        return true;
    });
    if (!stored && !stopped) {
        RunProgressEnd(&run);
        return false;
    }
    RunNothing(&run, TextNoneToPost);
    RunFinish(&run, 0);
    return true;
}

// Routine 10: posts again the posted documents of register word 437 (byte
// 874) in the serial range, for a document whose voucher is not in the
// ledger: each is validated against a copy whose posted flag is cleared,
// as if it were posted now, and the voucher that builds is stored. The
// documents are not rewritten, so nothing but the voucher is booked again.
// A document whose voucher is in the ledger is left alone, and counted so:
// a second voucher would book it twice. Unposted documents are passed
// over; a register without a posted flag has its records validated
// unchanged. The run shows where it is, stops at Esc, and ends with its
// counted line. A refusal (told by the check) or a voucher that cannot be
// stored ends the run: false.
bool RecordRangeRevalidate(const ReportJob &job)
{
    assert(job.selection);
    int reg = GetU16(job.selection, ReportParamsVc::Option1);
    uint32_t at = 0;
    if (reg <= 0 || reg >= RegisterCount || !SerialKeyOffset(reg, &at)) return true;
    const PostedFlag *flag = PostedFlagOf(reg);
    RuleRecord record(reg), copy(reg);
    if (!record.record || !copy.record) return false;
    uint8_t range[256];
    ParamText(job, ReportParamsVc::SelText1, 255, range);
    RunOutcome run;
    RunStart(&run, Texts::MaintRevalidate);
    bool stopped = false;
    bool whole = EachInSerialRange(reg, at, record.record, range, [&](uint8_t *r, uint32_t recid) {
        if (flag && GetU16(r, flag->at) == 0) return true;
        const uint32_t serial = GetU32(r, at);
        if (!RunGoesOnNumber(&run, int32_t(serial))) return !(stopped = true);
        if (flag && DocumentVoucherStored(flag->voucherCode, serial)) {
            RunFailed(&run, 1, Texts::RunVoucherInLedger, Texts::RunVouchersInLedger);
            return true;
        }
        if (!RecReadById(reg, recid, copy.record)) return true;
        if (flag) PutU16(copy.record, flag->at, 0);
        PendingVoucherClear();
        if (ValidateRecord(reg, r, copy.record, 2) != 0) {
            PendingVoucherClear();
            RunFailed(&run, 1, Texts::RunNotPosted, Texts::RunNotPosted);
            return false;
        }
        const bool built = PendingVoucher && MatrixRowCount(Voucher::Number, 0, PendingVoucher) > 0;
        if (!StorePendingVoucher()) {
            RunFailed(&run, 1, Texts::RunVoucherNotStored, Texts::RunVoucherNotStored);
            return false;
        }
        if (built)
            RunCount(&run, 1, Texts::RunPostedAgain, Texts::RunPostedAgain);
        else
            RunCount(&run, 1, Texts::RunCheckedNoVoucher, Texts::RunCheckedNoVoucher);
        return true;
    });
    RunNothing(&run, Texts::RunWhyNonePosted, Texts::RunNothingPostedAgain);
    RunFinish(&run, 0);
    return whole || stopped;
}

// The FIFO value per unit of the quantity item holds at location (empty:
// all), valued over the receipts of every location, into cost, rounded
// to 2 decimals. False when the item holds no stock above zero there, or
// its stock has no value: the cost price is then left alone rather than
// divided by nothing.
bool ItemFifoUnitCost(const uint8_t *code, const uint8_t *location, bool currentRate, PackedDecimal *cost)
{
    uint8_t stock[LSVc::Size], all[1] = {0};
    Register6Lookup(code, location, stock);
    PackedDecimal qty = GetDec(stock, LSVc::InStock), value;
    if (DecIsBlank(&qty) || DecSign(&qty) <= 0) return false;
    StockFifoValue(code, all, &qty, &value, currentRate, false, nullptr);
    if (DecIsBlank(&value)) return false;
    DecDiv(&value, &qty, &value);
    DecRound(&value, 2, cost);
    return true;
}

// Routine 11: the cost price of the stocked items of the code range
// (optionally of one item group) := their FIFO stock value at the
// selection's location per unit in stock. Items without stock above zero
// keep their cost price. False when an item could not be stored.
bool ItemCostFromFifo(const ReportJob &job)
{
    assert(job.selection);
    uint8_t range[256], from[256], to[256], group[256], location[256], code[256], itemGroup[256];
    ParamText(job, ReportParamsVc::SelText1, 255, range);
    ParamText(job, ReportParamsVc::SelText2, 255, location);
    ParamText(job, ReportParamsVc::SelText3, 255, group);
    RangeSplit(range, from, to);
    bool currentRate = job.selection[ReportParamsVc::Option2] != 0;
    RuleRecord item(INVc::Number);
    if (!item.record) return false;
    PutText(item.record, INVc::Code, from);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.record, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAt(INVc::Number, int32_t(p), item.record, &recid)) break;
        GetText(item.record, INVc::Code, code);
        if (to[0] != 0 && PStringCompare(code, to) > 0) break;
        if (UserCancelFlag) break;
        if (GetU16(item.record, INVc::Stocked) == 0) continue;
        GetText(item.record, INVc::Group, itemGroup);
        if (group[0] != 0 && !PStringEqual(group, itemGroup)) continue;
        PackedDecimal cost;
        if (!ItemFifoUnitCost(code, location, currentRate, &cost)) continue;
        PutDec(item.record, INVc::CostPrice, cost);
        if (!RecStore(INVc::Number, item.record, 1, &recid)) {
            ShowTextMessage(Texts::RecordNotStored);
            return false;
        }
    }
    return true;
}
