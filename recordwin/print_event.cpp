// print_event.cpp - File > Print on a record or list window (window
// event 8): by the window's type a document prints on its form, the
// marked records of a list take an approve kind that prints them, or a
// report runs for the record shown. The table below is the whole rule.
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/forms/print_form_call.h"
#include "output/output_job.h"
#include "recordwin/record_windows.h"
#include "recordwin/report_defaults.h"
#include "rules/approval.h"
#include "rules/rules_types.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/window_table.h"

PrintEventCallsRec PrintEventCalls = {PrintFormCall, ApproveRecordList};

namespace {

namespace RP = ReportParamsVc;

enum class PrintBy : uint8_t { Form, Approve, Report, Invoice, Delivery };

// A report run for the record shown: the record's number (its first
// long) goes into the first text slot; when dateAt is set both period
// dates take the record's date there; option words from firstOption
// (0-based) up to lastOption are set (none when firstOption is -1).
struct ReportRun {
    int16_t report;
    uint32_t dateAt;
    int8_t firstOption, lastOption;
};
constexpr uint32_t NoDate = 0xFFFFFFFFu;

struct PrintRow {
    int16_t type;
    PrintBy by;
    int16_t reg;
    int16_t docOrKind;   // form: document number; approve: kind; others: unused
    ReportRun run;
};

constexpr ReportRun NoRun{0, NoDate, -1, -1};

constexpr PrintRow PrintTable[] = {
    {41, PrintBy::Report, IPVc::Number, 0, {13, IPVc::TransDate, 1, 2}},
    {117, PrintBy::Form, TRVc::Number, 25, NoRun},
    {118, PrintBy::Approve, TRVc::Number, ApproveKindPrintVoucher, NoRun},
    {121, PrintBy::Approve, ProductionVc::Number, ApproveKindPrintProduction, NoRun},
    {122, PrintBy::Form, ProductionVc::Number, -28, NoRun},
    {155, PrintBy::Report, VIVc::Number, 0, {36, NoDate, -1, -1}},
    {156, PrintBy::Approve, OPVc::Number, ApproveKindNoOperation, NoRun},
    {157, PrintBy::Report, OPVc::Number, 0, {28, OPVc::PayDate, 0, 2}},
    {196, PrintBy::Approve, PUVc::Number, ApproveKindPrintPurchase, NoRun},
    {197, PrintBy::Form, PUVc::Number, -22, NoRun},
    {268, PrintBy::Form, TimeSheetVc::Number, -29, NoRun},
    {269, PrintBy::Approve, TimeSheetVc::Number, ApproveKindPrintTimeSheet, NoRun},
    {272, PrintBy::Form, QuotationVc::Number, -14, NoRun},
    {273, PrintBy::Approve, QuotationVc::Number, ApproveKindPrintQuotation, NoRun},
    {289, PrintBy::Approve, PurchOrderVc::Number, ApproveKindPrintPurchaseOrder, NoRun},
    {290, PrintBy::Form, PurchOrderVc::Number, -19, NoRun},
    {347, PrintBy::Invoice, IVVc::Number, -2, NoRun},
    {348, PrintBy::Approve, IVVc::Number, ApproveKindPrintInvoice, NoRun},
    {351, PrintBy::Approve, ORVc::Number, ApproveKindPrintOrder, NoRun},
    {352, PrintBy::Form, ORVc::Number, -6, NoRun},
    {353, PrintBy::Approve, SHVc::Number, ApproveKindPrintDelivery, NoRun},
    {354, PrintBy::Delivery, SHVc::Number, 0, NoRun},
    {426, PrintBy::Form, StockMoveVc::Number, -20, NoRun},
};

// The delivery's forms: with its shipped word set, and without.
constexpr int16_t DeliveryShippedForm = -3, DeliveryOpenForm = -7;
constexpr int SelTextMax = 255;

// The window's marked records take the approve kind; the list shows
// what changed.
void ApproveMarked(int window, const PrintRow &row)
{
    if (!ListHasRowToActOn(window)) return;
    MemBlock ids = ListMarkedFirst(window);
    if (!MemIsValid(ids)) return;
    uint32_t count = MemSize(ids) / sizeof(int32_t);
    std::vector<uint32_t> list(count);
    if (count) {
        std::memcpy(list.data(), MemLock(ids), count * sizeof(uint32_t));
        MemUnlock(ids);
    }
    MemFree(&ids);
    if (count == 0) return;
    (void)PrintEventCalls.approveList(row.reg, ApproveKind(row.docOrKind), list.data(), count);
    WinMarkChanged(window);
}

// The report of the row for the record shown, on the device the print
// command chose.
void RunRecordReport(int window, const PrintRow &row)
{
    const uint8_t *record = WinRecordBuffer(window);
    if (!record) return;
    OwnedJob own;
    uint8_t *job = own.job.selection;
    PutU16(job, RP::OutputKind, CurrentOutputKind());   // the print command's device
    ReportSelectionDefaults(job, 0);
    ReportPeriodOpen(job);   // the record is the selection: no proposed period narrows it
    PutU16(job, RP::ReportNumber, uint16_t(row.run.report));
    uint8_t number[256];
    FieldToText(record, FtLongOrEmpty, number);
    PutText(job, RP::SelText1, number);
    if (row.run.dateAt != NoDate) {
        DateRec date = GetDate(record, row.run.dateAt);
        PutDate(job, RP::DateFrom, date);
        PutDate(job, RP::DateTo, date);
    }
    for (int k = row.run.firstOption; k >= 0 && k <= row.run.lastOption; k++)
        PutU16(job, RP::Option1 + 2 * uint32_t(k), 1);
    RunReportCommand(own.job);
}

// The sales invoice: shown as stored, it is printed by the approve kind
// that marks it printed, and the shown record takes that mark; a stored
// invoice under change prints the window's copy as a draft (the posted
// flag off for the print, as it was afterwards) and stores nothing. A new
// invoice not stored yet is refused: it has no number to print under.
void PrintInvoice(int window, const PrintRow &row)
{
    uint32_t id = WinTable[window]->recordId;
    uint8_t *invoice = WinRecordBuffer(window);
    if (!invoice) return;
    const int state = WinRecState(window);
    if (id == 0 || state == StateNew) {
        ShowTextMessage(Texts::InvoicePrintUnstored);
        return;
    }
    if (state == StateShown) {
        (void)PrintEventCalls.approveList(row.reg, ApproveKindPrintInvoice, &id, 1);
        RuleRecord stored(IVVc::Number);
        if (WinIsOpen(window) && stored.record && RecReadById(IVVc::Number, id, stored.record))
            PutI16(WinRecordBuffer(window), IVVc::Printed, GetI16(stored.record, IVVc::Printed));
        return;
    }
    const uint16_t posted = GetU16(invoice, IVVc::Posted);
    PutU16(invoice, IVVc::Posted, 0);
    (void)PrintEventCalls.printForm(row.reg, row.docOrKind, invoice);
    if (WinIsOpen(window) && WinRecordBuffer(window) == invoice) PutU16(invoice, IVVc::Posted, posted);
}

void PrintByRow(int window, const PrintRow &row)
{
    uint8_t *record = WinRecordBuffer(window);
    switch (row.by) {
    case PrintBy::Form:
        if (record) (void)PrintEventCalls.printForm(row.reg, row.docOrKind, record);
        return;
    case PrintBy::Delivery:
        if (record)
            (void)PrintEventCalls.printForm(row.reg, GetU16(record, SHVc::Shipped) ? DeliveryShippedForm : DeliveryOpenForm,
                                record);
        return;
    case PrintBy::Approve: ApproveMarked(window, row); return;
    case PrintBy::Report: RunRecordReport(window, row); return;
    case PrintBy::Invoice: PrintInvoice(window, row); return;
    }
}

}  // namespace

// Event 8 of window `window`: the field under edit is committed first and
// has the focus again afterwards; then the window's type prints as its
// row in the table says. Types without a row print nothing.
bool WinTypePrints(int type)
{
    for (const PrintRow &r : PrintTable)
        if (r.type == type) return true;
    return false;
}

void WindowPrintEvent(int window)
{
    if (!WinIsOpen(window)) return;
    const int type = WinTypeOf(window);
    const PrintRow *row = nullptr;
    for (const PrintRow &r : PrintTable)
        if (r.type == type) row = &r;
    if (!row) return;
    const int field = WinTable[window]->editControl ? WinTable[window]->currentField : 0;
    if (field) WinCommitField(window);
    PrintByRow(window, *row);
    if (field && WinIsOpen(window)) WinGotoField(window, field, true);
}
