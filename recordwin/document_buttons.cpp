// document_buttons.cpp - the buttons of the document windows and their
// lists: approve runs over the marked records, the conversions that turn
// the shown (or marked) document into the next one and open it, and
// what the window layer lends the document flow below it.
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/output_kind.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/order_conversion.h"
#include "operations/purchase_ledger.h"
#include "core/work_blocks.h"
#include "output/forms/print_form_call.h"
#include "output/output_job.h"
#include "recordwin/out_payment_window.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/approval.h"
#include "rules/convert_document.h"
#include "rules/payment_kinds.h"
#include "rules/purchase_prices.h"
#include "rules/rules_types.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/matrix_editing.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// One conversion command: the kind, the target register and where the
// target carries the source's id, the window type that shows the result,
// whether the source is the marked record of a list (else the window's
// own stored record), and whether nothing made is told by a beep.
struct ConversionCommand {
    int kind, target;
    uint32_t linkAt;
    int openType;
    bool fromList, beep;
};

constexpr int OrderWindowType = WinTypes::Order, DeliveryWindowType = WinTypes::Delivery,
              InvoiceWindowType = WinTypes::SalesInvoice, PurchaseWindowType = WinTypes::GoodsReceipt,
              PurchaseInvoiceWindowType = WinTypes::PurchaseInvoice;

constexpr ConversionCommand OrderListToDeliveryDef{ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr,
                                                   DeliveryWindowType, true, true};
constexpr ConversionCommand PurchaseOrderListToPurchaseDef{ConvertPurchaseOrderToPurchase, PUVc::Number, PUVc::POSerNr,
                                                           PurchaseWindowType, true, false};
constexpr ConversionCommand QuotationListToOrderDef{ConvertQuotationToOrder, ORVc::Number, ORVc::SerNr, OrderWindowType,
                                                    true, false};
constexpr ConversionCommand QuotationToOrderDef{ConvertQuotationToOrder, ORVc::Number, ORVc::SerNr, OrderWindowType,
                                                false, true};
constexpr ConversionCommand OrderToDeliveryDef{ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, DeliveryWindowType,
                                               false, true};
constexpr ConversionCommand PurchaseOrderToPurchaseDef{ConvertPurchaseOrderToPurchase, PUVc::Number, PUVc::POSerNr,
                                                       PurchaseWindowType, false, true};
constexpr ConversionCommand PurchaseOrderToPurchaseInvoiceDef{ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number,
                                                              VIVc::SerNr, PurchaseInvoiceWindowType, false, true};
constexpr ConversionCommand OrderToDownPaymentDef{ConvertOrderToDownPayment, IVVc::Number, IVVc::OrderNr,
                                                  InvoiceWindowType, false, true};
constexpr ConversionCommand OrderToInvoiceDef{ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, InvoiceWindowType,
                                              false, true};
constexpr ConversionCommand OrderListToDownPaymentDef{ConvertOrderToDownPayment, IVVc::Number, IVVc::OrderNr,
                                                      InvoiceWindowType, true, false};
constexpr ConversionCommand OrderListToInvoiceDef{ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr,
                                                  InvoiceWindowType, true, true};

// The source of a command: the first marked record of the list, or the
// window's own record when it is stored and unchanged (edit state 0); a
// window being edited beeps. false when there is none.
bool CommandSource(int window, const ConversionCommand &c, uint32_t *source) {
    if (c.fromList) {
        if (!ListHasRowToActOn(window)) return false;
        int32_t id = ListSelAnchor(window);
        if (id <= 0) return false;
        *source = (uint32_t)id;
        return true;
    }
    uint32_t own = WinTable[window]->recordId;
    if (WinRecState(window) != 0 || own == 0) {
        Beep();
        return false;
    }
    *source = own;
    return true;
}

// Runs a conversion command for window: the new record is made and stored
// by the conversion service and then shown in a new window of its type,
// read back by its id, so that a window of that type with unsaved changes
// keeps them. Nothing made: a beep or silence as the command says.
void RunConversion(int window, const ConversionCommand &c) {
    if (!WinIsOpen(window)) return;
    uint32_t source = 0;
    if (!CommandSource(window, c, &source)) return;
    MemBlock h = 0;
    uint8_t *request = RecBufferNew(c.target, &h);
    if (!request) return;
    PutU32(request, c.linkAt, source);
    uint32_t made = SerialNone;
    bool ok = ConvertDocumentCall(c.target, c.kind, request, &made);
    RecBufferFree(c.target, &h);
    if (!ok || made == SerialNone) {
        if (c.beep) Beep();
        return;
    }
    ArrowCursor();
    int shown = OpenOrActivateWindow(c.openType, 0, made, true, 0);
    if (shown) WinGotoField(shown, 1, true);
}

// Applies approve kind to the records marked in list window, then marks
// the window changed so that it shows what the run did.
void ApproveMarked(int window, ApproveKind kind, int reg) {
    if (!ListHasRowToActOn(window)) return;
    MemBlock ids = ListMarkedFirst(window);
    if (ids) {
        uint32_t count = MemSize(ids) / 4;
        const uint8_t *data = MemLock(ids);
        std::vector<uint32_t> list(count);
        for (uint32_t i = 0; i < count; i++) list[i] = GetU32(data, 4 * i);
        MemUnlock(ids);
        MemFree(&ids);
        ApproveRecordList(reg, kind, list.data(), count);
    }
    WinMarkChanged(window);
}

}  // namespace

void OrderListToDelivery(int window) { RunConversion(window, OrderListToDeliveryDef); }
void PurchaseOrderListToPurchase(int window) { RunConversion(window, PurchaseOrderListToPurchaseDef); }
void QuotationListToOrder(int window) { RunConversion(window, QuotationListToOrderDef); }
void QuotationToOrderCmd(int window) { RunConversion(window, QuotationToOrderDef); }
void OrderToDeliveryCmd(int window) { RunConversion(window, OrderToDeliveryDef); }
void PurchaseOrderToPurchaseCmd(int window) { RunConversion(window, PurchaseOrderToPurchaseDef); }
void PurchaseOrderToPurchaseInvoiceCmd(int window) { RunConversion(window, PurchaseOrderToPurchaseInvoiceDef); }
void OrderToDownPaymentInvoiceCmd(int window) { RunConversion(window, OrderToDownPaymentDef); }
void OrderToInvoiceCmd(int window) { RunConversion(window, OrderToInvoiceDef); }
void OrderListToDownPaymentInvoice(int window) { RunConversion(window, OrderListToDownPaymentDef); }
void OrderListToInvoice(int window) { RunConversion(window, OrderListToInvoiceDef); }

namespace {
int OpenRelated(int window, int type, int field);
void OpenPurchasePrices(int window);
void ShowStoredAgain(int window);
void RecordShownAgain(int window);
void PrintMarkedForm(int window, int reg, int16_t doctype);
constexpr int PaymentSelectionType = 313, ProductionSuggestionType = 395, PurchaseSuggestionType = 390,
              QuotationRowsBatchType = 509, PurchaseItemType = 284, PurchasePricesType = 472;
constexpr int16_t FourthInvoiceForm = -16;
}  // namespace

// Purchase-invoice list: button 1 posts the marked invoices.
void Win154Button(int window, int button) {
    if (button == 1) ApproveMarked(window, ApproveKindPostPurchaseInvoice, VIVc::Number);
}

// Outgoing-payment list: buttons 1 and 2 approve and post the marked
// payments, 3 opens the payment selection.
void Win156Button(int window, int button) {
    if (button == 1) ApproveMarked(window, ApproveKindMarkPaymentApproved, OPVc::Number);
    if (button == 2) ApproveMarked(window, ApproveKindPostPayment, OPVc::Number);
    if (button == 3) OpenRelated(window, PaymentSelectionType, 1);
}

// Outgoing payment: 1 runs kind 27 on the stored, unchanged payment (a
// beep while it is being edited) and shows it approved; 2, while it is
// being edited, opens the payment selection (a beep otherwise); 3 adds a
// discount row below the current row for the invoice it pays, of what is
// still open.
void Win157Button(int window, int button) {
    if (button == 1) {
        uint32_t own = WinTable[window]->recordId;
        if (WinRecState(window) != 0 || own == 0) {
            Beep();
            return;
        }
        ApproveRecordList(OPVc::Number, ApproveKindApprovePayment, &own, 1);
        ShowStoredAgain(window);
        return;
    }
    if (button == 2) {
        if (WinRecState(window) == 1 || WinRecState(window) == 2) OpenRelated(window, PaymentSelectionType, 1);
        else Beep();
        return;
    }
    int current = WinCurrentRow(window);
    if (button != 3 || current < 0) return;
    WinCommitField(window);
    // A stored payment shown takes the row as an edit of it.
    if (WinRecState(window) == 0) WinBeginEdit(window);
    if (!WinIsOpen(window) || WinRecState(window) == 0) return;
    uint8_t row[OPVc::Rows::Size];
    if (!MatrixRowRead(OPVc::Number, WinRecordBuffer(window), current, row)) return;
    // Below the current row, or in its place when it names no invoice.
    int at = GetU32(row, OPVc::Rows::InvoiceNr) == SerialNone ? current : current + 1;
    if (at < 1) return;
    if (!MatrixRowRead(OPVc::Number, WinRecordBuffer(window), at - 1, row)) return;
    uint32_t invoice = GetU32(row, OPVc::Rows::InvoiceNr);
    if (!WinRowInsertAt(window, at, int(PaidRowKind::Discount)) ||
        !MatrixRowRead(OPVc::Number, WinRecordBuffer(window), at, row))
        return;
    PutU16(row, OPVc::Rows::Kind, uint16_t(PaidRowKind::Discount));
    if (!MatrixRowPut(OPVc::Number, 0, WinRecordBuffer(window), at, row)) return;
    PaymentRowFromInvoice(invoice, window, at);
    WinMarkChanged(window);
    OutPaymentTotalsRefresh(window);
}

// Goods-receipt list: button 1 receives the marked purchases into stock.
void Win196Button(int window, int button) {
    if (button == 1) ApproveMarked(window, ApproveKindPurchaseToStock, PUVc::Number);
}

// Goods receipt: 2 the purchase-prices selection filled from the receipt
// shown: its unit costs into its items.
void Win197Button(int window, int button) {
    if (button == 2) OpenPurchasePrices(window);
}

// Sales-invoice list: button 1 posts the marked invoices, 2 prints the
// marked invoice on the fourth invoice form.
void Win348Button(int window, int button) {
    if (button == 1) ApproveMarked(window, ApproveKindPostInvoice, IVVc::Number);
    if (button == 2) PrintMarkedForm(window, IVVc::Number, FourthInvoiceForm);
}

// Delivery list: button 1 ships the marked deliveries.
void Win353Button(int window, int button) {
    if (button == 1) ApproveMarked(window, ApproveKindShipDelivery, SHVc::Number);
}

// Stock movement: button 1 fills the rows' unit costs in the window's record.
void Win426Button(int window, int button) {
    if (button != 1) return;
    WinCommitField(window);
    uint32_t none = 0;
    ConvertDocumentCall(StockMoveVc::Number, ConvertRowCosts, WinRecordBuffer(window), &none);
    WinRecordRefresh(window);
    WinMarkChanged(window);
}

// Person-payment list: buttons 1 and 2 run kinds 42 and 43 on the marked records.
void Win477Button(int window, int button) {
    if (button == 1) ApproveMarked(window, ApproveKindMarkPersPayApproved, PersPayVc::Number);
    if (button == 2) ApproveMarked(window, ApproveKindPostPersPay, PersPayVc::Number);
}

// Order: 1 a delivery, 2 an invoice, 3 the item information of the
// selected row, 4 a down-payment invoice, 5 the order form printed, 6
// report 110 of the order.
void Win352Button(int window, int button) {
    switch (button) {
    case 1: OrderToDeliveryCmd(window); return;
    case 2: OrderToInvoiceCmd(window); return;
    case 3: DocItemInfoButton(window, 1, OrderRowInfo); return;
    case 4: OrderToDownPaymentInvoiceCmd(window); return;
    case 5: PrintFormCall(ORVc::Number, -15, WinRecordBuffer(window)); return;
    case 6: {
        OwnedJob own;
        PutU16(own.job.selection, ReportParamsVc::OutputKind, OutputCode(OutputKind::ToPreview));
        PutU32(own.job.selection, ReportParamsVc::NumberFrom, GetU32(WinRecordBuffer(window), ORVc::SerNr));
        PutU16(own.job.selection, ReportParamsVc::ReportNumber, 110);
        RunReportCommand(own.job);
        return;
    }
    default: return;
    }
}

// Order list: 1 a delivery, 2 an invoice, 3 a down-payment invoice of the
// marked order; 4 and 5 the kinds 45 and 47 on the marked orders.
void Win351Button(int window, int button) {
    switch (button) {
    case 1: OrderListToDelivery(window); return;
    case 2: OrderListToInvoice(window); return;
    case 3: OrderListToDownPaymentInvoice(window); return;
    case 4: ApproveMarked(window, ApproveKindReportOfSerial, ORVc::Number); return;
    case 5: ApproveMarked(window, ApproveKindPurchaseOrdersFromOrder, ORVc::Number); return;
    default: return;
    }
}

// Quotation: 1 an order, 2 the item information of the selected row, 3
// (stored and unchanged) the quotation rows batch.
void Win272Button(int window, int button) {
    if (button == 1) QuotationToOrderCmd(window);
    if (button == 2) DocItemInfoButton(window, 1, QuotationRowInfo);
    if (button == 3 && WinRecState(window) == 0) OpenRelated(window, QuotationRowsBatchType, 3);
}

// Quotation list: 1 an order of the marked quotation.
void Win273Button(int window, int button) {
    if (button == 1) QuotationListToOrder(window);
}

// Purchase order: 1 a purchase, 2 a purchase invoice.
void Win290Button(int window, int button) {
    if (button == 1) PurchaseOrderToPurchaseCmd(window);
    if (button == 2) PurchaseOrderToPurchaseInvoiceCmd(window);
}

// Purchase-order list: 1 and 2 the kinds 34 and 36 on the marked purchase
// orders, 4 a purchase of the marked one.
void Win289Button(int window, int button) {
    if (button == 1) ApproveMarked(window, ApproveKindMarkPurchaseOrder, PurchOrderVc::Number);
    if (button == 2) ApproveMarked(window, ApproveKindMarkPurchaseOrderAgain, PurchOrderVc::Number);
    if (button == 3) OpenRelated(window, PurchaseSuggestionType, 1);
    if (button == 4) PurchaseOrderListToPurchase(window);
}

// The approve runs of the other lists, as (type, button, kind, register).
void ListApproveButton(int window, int button) {
    struct Run {
        int type, button;
        ApproveKind kind;
        int reg;
    };
    static constexpr Run runs[] = {
        {254, 1, ApproveKindSm1ToVoucher, SMVc::Number},
        {269, 1, ApproveKindApproveTimeSheet, TimeSheetVc::Number},
        {474, 1, ApproveKindPostExpense, ExpenseVc::Number},
        // the marked items in the price lists
        {42, 1, ApproveKindReportOfCode, INVc::Number},
        {194, 1, ApproveKindReportOfCode, INVc::Number},
    };
    int type = WinTypeOf(window);
    for (const Run &r : runs)
        if (r.type == type && r.button == button) ApproveMarked(window, r.kind, r.reg);
}

// Project: button 1 invoices what the project's plan has made due when
// the project is stored and unchanged, else a beep. The run says what it
// did; the window then shows the plan with the invoice's number.
void Win259Button(int window, int button) {
    if (button != 1) return;
    if (WinRecState(window) != 0 || WinTable[window]->recordId == 0) {
        Beep();
        return;
    }
    uint32_t made = SerialNone;
    ConvertDocumentCall(ProjectVc::Number, ConvertProjectToInvoice, WinRecordBuffer(window), &made);
    ShowStoredAgain(window);
}

namespace {

// Opens, or brings forward, a window of type with window as its opener,
// commits its field, shows its record and puts the focus on field; the
// window's number, 0 when it did not open.
int OpenRelated(int window, int type, int field) {
    ArrowCursor();
    int w = OpenOrActivateWindow(type, 0, 0, false, window);
    if (!w) return 0;
    WinCommitField(w);
    WinRecordRefresh(w);
    WinGotoField(w, field, true);
    return w;
}

// Shows window's record after it was changed below the field under edit:
// the fields are drawn again, and the field under edit takes its text
// anew from the record instead of keeping what it held before.
void RecordShownAgain(int window) {
    WinRecordRefresh(window);
    int field = WinTable[window]->currentField;
    if (!WinTable[window]->editControl || field <= 0) return;
    EditControlDestroy(window);
    WinGotoField(window, field, true);
}

// Shows window's stored, unchanged record again as the company now holds
// it: a run changed it behind the window.
void ShowStoredAgain(int window) {
    if (!WinIsOpen(window) || WinRecState(window) != 0 || WinTable[window]->recordId == 0) return;
    WinLoadRecord(window, WinTable[window]->recordId);
    RecordShownAgain(window);
}

// Opens the purchase-prices selection with window as its opener, its
// purchase or item taken from window's record and both price switches
// on; OK there runs it.
void OpenPurchasePrices(int window) {
    int w = OpenRelated(window, PurchasePricesType, 1);
    if (!w || !WinRecordBuffer(w) || !WinIsOpen(window)) return;
    PurchasePricesFill(WinRegisterOf(window), WinRecordBuffer(window), WinRecordBuffer(w));
    RecordShownAgain(w);
}

// Prints the first marked record of list window on the form of doctype.
void PrintMarkedForm(int window, int reg, int16_t doctype) {
    if (!ListHasRowToActOn(window)) return;
    int32_t id = ListSelAnchor(window);
    RuleRecord record(reg);
    if (id <= 0 || !record.record || !RecReadById(reg, uint32_t(id), record.record)) return;
    PrintFormCall(reg, doctype, record.record);
}

// Commits the field under edit, runs the routine of kind on the window's
// record of reg in place, and shows what it did.
void ConvertInPlace(int window, int reg, int kind) {
    WinCommitField(window);
    uint32_t none = 0;
    ConvertDocumentCall(reg, kind, WinRecordBuffer(window), &none);
    WinRecordRefresh(window);
    WinMarkChanged(window);
}

// Runs report `number` to the preview with `text` as its first selection text.
void RunReportOf(uint16_t number, const uint8_t *text) {
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, OutputCode(OutputKind::ToPreview));
    PutText(own.job.selection, ReportParamsVc::SelText1, text);
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, number);
    RunReportCommand(own.job);
}

}  // namespace

void Item284Fill(const uint8_t *item, uint8_t *record) {
    namespace P = PurchItemVc;
    uint8_t text[256];
    GetText(item, INVc::Code, text);
    PutText(record, P::ItemCode, text);
    GetText(item, INVc::Name, text);
    PutText(record, P::Text, text);
    PutDec(record, P::Price, GetDec(item, INVc::CostPrice));
    PackedDecimal blank, one;
    DecSetBlank(&blank);
    DecFromLong(&one, 1);
    PutDec(record, P::PriceUnit, blank);
    PutDec(record, P::MinQty, one);
    PutDec(record, P::Threshold, one);
}

// Item: 1 a new purchase source of the item, 2 the item report.
void Win195Button(int window, int button) {
    if (button == 1) {
        int w = OpenOrActivateWindow(PurchaseItemType, 0, 0, false, 0);
        if (!w) return;
        CmdNewRecord(w);
        WinCommitField(w);
        Item284Fill(WinRecordBuffer(window), WinRecordBuffer(w));
        WinRecordRefresh(w);
        WinMarkChanged(w);
        return;
    }
    if (button == 2) {
        uint8_t code[256];
        GetText(WinRecordBuffer(window), INVc::Code, code);
        RunReportOf(90, code);
    }
}

// Purchase source of an item: 1 opens the purchase-prices selection,
// its item range the source's item and both price switches on; the
// purchase's number is typed there.
void Win284Button(int window, int button) {
    if (button == 1) OpenPurchasePrices(window);
}

// Budgets: button 1 computes the period rows (by key, by dates).
void Win143Button(int window, int button) {
    if (button == 1) ConvertInPlace(window, BUVc::Number, ConvertBudgetByKey);
}
void Win145Button(int window, int button) {
    if (button == 1) ConvertInPlace(window, BPVc::Number, ConvertBudgetByDates);
}

// Production list: 2 the production suggestion. (Approving productions,
// kind 37, does nothing: the list offers no button for it.)
void Win121Button(int window, int button) {
    if (button == 2) OpenRelated(window, ProductionSuggestionType, 1);
}
