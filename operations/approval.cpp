// approval.cpp - the table of approve kinds, their gate, and applying a kind
// to one record or a list of records.
//
// A kind names its register; a caller that passes another register (a
// client's request on a server, say) is refused before anything is read.
// Every kind from 1 to 48 has its operation except 7, 9, 10, 21, 22, 32
// and 37, which have none: the record is read and nothing else happens.
// A posted invoice (kind 1) and a shipped delivery (kind 15) are followed
// by what follows in their windows (posting_follow_ups.cpp).
#include "rules/approval.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/interface_defs.h"
#include "core/output_kind.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "operations/customer_receipt.h"
#include "operations/posting_follow_ups.h"
#include "operations/project_ops.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "operations/stock_docs.h"
#include "operations/voucher_print_kind.h"
#include "rules/convert_document.h"
#include "rules/hooks.h"
#include "rules/print_services.h"
#include "rules/purchase_from_orders.h"
#include "rules/rules_types.h"

namespace {

// The report kinds show their report in a preview.
constexpr uint16_t PreviewOutput = OutputCode(OutputKind::ToPreview);
constexpr int16_t RecordCodeReport = 90, RecordSerialReport = 110;
// Where the reported records keep their leading code (at most a key
// code's 20 characters) or their serial number.
constexpr uint32_t LeadingFieldAt = 0;
constexpr int LeadingCodeMax = 20;

// A fresh selection for a report run from a record: the device and the
// report number set, every selection field empty and the number range open.
void RecordReportParams(ReportJob &job, int16_t report)
{
    std::memset(job.selection + ReportParamsVc::ReportLayout, 0, ReportParamsSize - ReportParamsVc::ReportLayout);
    PutU16(job.selection, ReportParamsVc::OutputKind, PreviewOutput);
    PutI16(job.selection, ReportParamsVc::ReportNumber, report);
    PutI32(job.selection, ReportParamsVc::NumberFrom, -1);
    PutI32(job.selection, ReportParamsVc::NumberTo, -1);
}

// Kind 38: report 90 for the record's leading code (its first text).
// The report run tells the user when it cannot run; the record is
// never changed.
ApproveResult ReportOfRecordCode(int reg, uint8_t *record, uint32_t recid)
{
    (void)reg;
    (void)recid;
    if (!record) return ApproveResult::Unchanged;
    std::vector<uint8_t> selection(ReportParamsSize, 0);
    ReportJob job{selection.data()};
    RecordReportParams(job, RecordCodeReport);
    uint8_t code[256];
    GetPString(record, LeadingFieldAt, LeadingCodeMax, code);
    PutText(job.selection, ReportParamsVc::SelText1, code);
    (void)RunRecordReport(job);
    return ApproveResult::Unchanged;
}

// The registers that keep their serial number after a leading customer
// code; every other register keeps it first.
struct SerialAt {
    int reg;
    uint32_t at;
};
constexpr SerialAt SerialAfterCode[] = {
    {ORVc::Number, ORVc::SerNr}, {IVVc::Number, IVVc::SerNr}, {ContractVc::Number, ContractVc::SerNr}};

uint32_t SerialOffset(int reg)
{
    for (const SerialAt &s : SerialAfterCode)
        if (s.reg == reg) return s.at;
    return LeadingFieldAt;
}

// Kind 45: report 110 for the record's serial number.
ApproveResult ReportOfRecordSerial(int reg, uint8_t *record, uint32_t recid)
{
    (void)recid;
    if (!record) return ApproveResult::Unchanged;
    std::vector<uint8_t> selection(ReportParamsSize, 0);
    ReportJob job{selection.data()};
    RecordReportParams(job, RecordSerialReport);
    PutI32(job.selection, ReportParamsVc::NumberFrom, GetI32(record, SerialOffset(reg)));
    (void)RunRecordReport(job);
    return ApproveResult::Unchanged;
}

}  // namespace

// One entry per kind: its register and its operation (null: the kind does
// nothing). The comment names the operation the kind stands for.
const std::array<ApproveKindDef, ApproveKindLast + 1> ApproveKinds = {{
    {0, nullptr},                              //  0 not used
    {IVVc::Number, ApproveInvoice},            //  1 approve a sales invoice
    {IPVc::Number, ApproveReceipt},            //  2 approve a customer receipt
    {OPVc::Number, ApproveVendorPaymentMark},  //  3 mark an outgoing payment approved
    {OPVc::Number, ApproveVendorPaymentPost},  //  4 post an outgoing payment
    {VIVc::Number, ApprovePurchaseInvoice},    //  5 post a purchase invoice
    {TimeSheetVc::Number, ApproveTimeSheet},   //  6 approve a time sheet
    {ApproveAnyRegister, nullptr},             //  7 no operation
    {ProductionVc::Number, PrintProductionForm},                 //  8 print a production form
    {ApproveAnyRegister, nullptr},             //  9 no operation
    {ApproveAnyRegister, nullptr},             // 10 no operation
    {IVVc::Number, PrintInvoiceForm},          // 11 print an invoice
    {Voucher::Number, PrintVoucherKind},       // 12 print a voucher
    {ORVc::Number, PrintOrderForm},                       // 13 print an order
    {SHVc::Number, PrintShipmentForm},                    // 14 print a delivery
    {SHVc::Number, ApproveShipment},                      // 15 ship a delivery
    {Voucher::Number, Reg18FromRows138},       // 16 voucher rows to register 18
    {IVVc::Number, PrintInvoiceFormAgain},     // 17 print an invoice again
    {IVVc::Number, ApproveInvoiceToCustomerLedger}, // 18 invoice to the customer ledger
    {VIVc::Number, ApprovePurchaseInvoiceToVendorLedger}, // 19 purchase invoice to the vendor ledger
    {PUVc::Number, ApprovePurchase},           // 20 purchase to stock
    {ApproveAnyRegister, nullptr},             // 21 no operation
    {ApproveAnyRegister, nullptr},             // 22 no operation
    {IPVc::Number, ApproveReceiptToCustomerLedger}, // 23 receipt to the customer ledger
    {OPVc::Number, ApprovePaymentToVendorLedger}, // 24 payment to the vendor ledger
    {QuotationVc::Number, PrintQuotationForm},                  // 25 print a quotation
    {ORVc::Number, PrintOrderForm2},                      // 26 print an order's second form
    {OPVc::Number, ApproveOutPayment},         // 27 approve an outgoing payment
    {SMVc::Number, Reg18FromRows82},           // 28 sm1 rows to register 18
    {OpenBalVc::Number, Reg18FromRows46},      // 29 fb1 rows to register 18
    {SMVc::Number, TransferSm1ToLedger},       // 30 sm1 to a voucher
    {Voucher::Number, ApprovePostTransaction}, // 31 post a voucher to the balances
    {ApproveAnyRegister, nullptr},             // 32 no operation
    {PurchOrderVc::Number, PrintPurchaseOrderForm},              // 33 print a purchase order
    {PurchOrderVc::Number, MarkPurchaseOrder},                   // 34 mark a purchase order approved
    {PurchOrderVc::Number, ApprovePurchaseOrderToPurchase},      // 35 purchase order to a purchase
    {PurchOrderVc::Number, MarkPurchaseOrder2},                  // 36 second approval of a purchase order
    {ApproveAnyRegister, nullptr},             // 37 no operation
    {ApproveAnyRegister, ReportOfRecordCode},  // 38 report 90 of the record's code
    {PersEntryVc::Number, Reg18FromRows118},   // 39 sp1 rows to register 18
    {ExpenseVc::Number, ApproveExpenseToLedger111}, // 40 expense to register 111
    {PersPayVc::Number, ApprovePPToLedger111},   // 41 pp1 to register 111
    {PersPayVc::Number, MarkState102},         // 42 mark a pp1 approved
    {PersPayVc::Number, ApprovePPRecord},        // 43 post a pp1
    {ExpenseVc::Number, ApproveExpense},         // 44 post an expense
    {ApproveAnyRegister, ReportOfRecordSerial}, // 45 report 110 of the record's serial
    {TimeSheetVc::Number, PrintTimeSheetForm}, // 46 print a time sheet
    {ORVc::Number, ApproveOrderToPurchaseOrders},         // 47 purchase orders from an order
    {PUVc::Number, PrintPurchaseForm},         // 48 print a purchase
}};

namespace {

// True when kind is a kind and reg is a register the kind may act on.
bool KindFitsRegister(ApproveKind kind, int reg) {
    if (kind < ApproveKindFirst || kind > ApproveKindLast) return false;
    if (reg < 0 || reg >= RegisterCount) return false;
    int16_t want = ApproveKinds[kind].reg;
    return want == ApproveAnyRegister || want == reg;
}

// True when the printing kinds, which a list run applies to every record
// whatever its lock.
bool IsPrintingKind(ApproveKind kind) {
    return kind == ApproveKindPrintInvoice || kind == ApproveKindPrintVoucher || kind == ApproveKindPrintOrder ||
           kind == ApproveKindPrintDelivery || kind == ApproveKindPrintTimeSheet;
}

// True when the u16 flag at offset is set.
bool FlagSet(const uint8_t *record, uint32_t offset) { return GetU16(record, offset) != 0; }

}  // namespace

// Tells whether kind may run on record of reg: the kinds 16..41 that mark
// their work in the record refuse a record whose mark is set (or, for the
// ledger kinds of documents, that is not posted yet). Other kinds pass.
bool ApproveAllowed(ApproveKind kind, int reg, const uint8_t *record) {
    if (!record || !KindFitsRegister(kind, reg)) return false;
    switch (kind) {
    case ApproveKindVoucherRowsToReg18: return !FlagSet(record, Voucher::Reg18Done);
    case ApproveKindInvoiceToLedger: return FlagSet(record, IVVc::Posted) && !FlagSet(record, IVVc::Transferred);
    case ApproveKindPurchaseInvoiceToLedger:
        return FlagSet(record, VIVc::Approved) && !FlagSet(record, VIVc::Transferred);
    case ApproveKindReceiptToLedger: return FlagSet(record, IPVc::Posted) && !FlagSet(record, IPVc::Transferred);
    case ApproveKindPaymentToLedger: return !FlagSet(record, OPVc::Transferred);
    case ApproveKindSm1RowsToReg18: return !FlagSet(record, SMVc::Reg18Done);
    case ApproveKindSp1RowsToReg18: return !FlagSet(record, PersEntryVc::Reg18Done);
    case ApproveKindFb1RowsToReg18: return !FlagSet(record, OpenBalVc::Reg18Done);
    case ApproveKindPostVoucher: return !FlagSet(record, Voucher::Posted);
    case ApproveKindExpenseToLedger:
        return FlagSet(record, ExpenseVc::Posted) && !FlagSet(record, ExpenseVc::Transferred);
    case ApproveKindPersPayToLedger:
        return FlagSet(record, PersPayVc::Posted) && !FlagSet(record, PersPayVc::Transferred);
    default: return true;
    }
}

namespace {

// What follows a kind that changed the stored record recid: a posted
// invoice and a shipped delivery take the same follow-ups as in their
// windows. false when a store failed.
bool FollowUps(ApproveKind kind, uint32_t recid) {
    if (kind == ApproveKindPostInvoice) return InvoicePostedFollowUps(recid, true);
    if (kind == ApproveKindShipDelivery) return DeliveryShippedFollowUps(recid, true);
    return true;
}

// An approval the user's group refused (told), alone or as a list: it
// wrote nothing, and it fails the caller's hold: what the caller wrote
// before it in that hold is one action with the approval, and the books
// keep no half of an action. With no hold open it changes nothing. A list
// run's records are each approved in a hold of their own, so one whose
// store fails ends the run and takes with it only what shares a hold
// with it.
bool ApprovalRefused() {
    DbHoldFail();
    return false;
}

}  // namespace

// Applies kind to the stored record recid of reg inside a hold of its own
// (nested in the caller's when there is one): reads the record, asks the
// gate, runs the operation, writes a changed record back in place and
// runs what follows the kind (FollowUps). A
// kind outside 1..48, a register that is not the kind's, a record that
// cannot be read or a gate that refuses leaves everything alone and is no
// failure. false when something had to be stored and was not; the hold
// then fails, so nothing of the operation is stored. false also when the
// user's group may not write the register (told): the approval is asked
// as one write of it, as a server asks an approval request, so what it
// writes in turn (the voucher, ledger lines, statistics) goes on unasked.
// A refused approval fails the caller's hold (ApprovalRefused).
bool ApproveRecord(ApproveKind kind, int reg, uint32_t recid) {
    if (!KindFitsRegister(kind, reg)) return true;
    WriteOperation approving(ReqApproveList, reg);
    if (approving.refused) return ApprovalRefused();
    RuleRecord r(reg);
    if (!r.record || !RecReadById(reg, recid, r.record)) return true;
    if (!ApproveAllowed(kind, reg, r.record)) return true;
    auto run = ApproveKinds[kind].run;
    if (!run) return true;

    DbHoldBegin();
    ApproveResult result = run(reg, r.record, recid);
    uint32_t id = recid;
    if (result == ApproveResult::Changed && !RecStore(reg, r.record, 1, &id)) result = ApproveResult::Failed;
    if (result == ApproveResult::Changed && !FollowUps(kind, id)) result = ApproveResult::Failed;
    if (result == ApproveResult::Failed) DbHoldFail();
    bool stored = DbHoldEnd();
    return result != ApproveResult::Failed && stored;
}

// Applies kind to each record of ids here. The printing kinds take every
// record; the others stop at the first record another session holds
// locked (RecordLocked shows why), leaving the rest untouched. A kind that
// does not fit the register runs on none. false when a store failed; the
// run stops there.
bool ApproveRecordListLocal(int reg, ApproveKind kind, const uint32_t *ids, uint32_t count) {
    if (!KindFitsRegister(kind, reg)) return true;
    if (count > 0 && !ids) return true;
    bool everyRecord = IsPrintingKind(kind);
    for (uint32_t i = 0; i < count; i++) {
        if (!everyRecord && RecordLocked(reg, ids[i])) break;
        if (!ApproveRecord(kind, reg, ids[i])) return false;
        PumpServerNoop();
    }
    return true;
}

// Applies kind to each record of ids: on the server in client mode, here
// otherwise. false when a store failed or the server did not answer, and
// when the user's group may not write the register: the list is asked
// once, before its first record, so a refused list approves none, and it
// fails the caller's hold as a refused single approval does.
bool ApproveRecordList(int reg, ApproveKind kind, const uint32_t *ids, uint32_t count) {
    if (RunModeIsClient()) return ApproveRecordListRemote(reg, kind, ids, count);
    WriteOperation approving(ReqApproveList, reg);
    if (approving.refused) return ApprovalRefused();
    return ApproveRecordListLocal(reg, kind, ids, count);
}
