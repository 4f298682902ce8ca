// record_windows.h - the record windows' side of the window framework:
// the one event entry through which the framework tells a window type
// that something happened or asks whether something may happen, and
// the rules by window type that the framework consults.
#pragma once

#include <cstdint>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/memblock.h"
#include "shell/window_events.h"

// The event entry and the handler table are the framework's
// (shell/window_events.h); window_event.cpp registers the built-in
// handlers and the generic actions with it.

// ---- doc_row_item_code.cpp ----
// The item code a serial-number choice list starts from, taken from the
// choice window's opener.
void DocRowItemCode(int window);

// ---- print_event.cpp ----
// Event 8, File > Print: the window's type prints its document, approves
// its marked records or runs its report.
void WindowPrintEvent(int window);
// True when File > Print (Ctrl+P) prints something for a window of the
// type, so that the menu item is usable there.
bool WinTypePrints(int type);
// The calls File > Print makes to print a form and to approve records
// (PrintFormCall and ApproveRecordList); tests put doubles in.
struct PrintEventCallsRec {
    int (*printForm)(int reg, int16_t doctype, uint8_t *record);
    bool (*approveList)(int reg, uint16_t kind, const uint32_t *ids, uint32_t count);
};
extern PrintEventCallsRec PrintEventCalls;

// ---- window_actions.cpp ----
// Closes window, offering to put its record's key text into its opener.
void WinCloseWithChoice(int window, const uint8_t *text);
// 1 when the window type's record may be edited now, 0 when not.
uint8_t WinTypeMayOpen(int type);

// ---- type_rules.cpp ----
// Lets the window's type withdraw open, new, OK or cancel.
void EditCommandsTypeRule(int window, bool *open, bool *nw, bool *ok, bool *cancel);
// The record's text for the window's title as a PString (may be empty).
void WinTitleRecordText(int window, uint8_t *text);
// Repaints what window type 1 lays out: the frame's bars.
void WindowType1Refresh();
// True when the window lists addresses.
bool WinIsAddressList(int window);
// Appends the text of the window's marked records to *text.
void ListCopyMarkedAddresses(int window, MemBlock *text);
// The text list column `column` (0 the first) of the window supplies, for a row's record.
void RowExtraText(int windowType, int column, const uint8_t *record, uint8_t *text);
// Focuses the first field a window of the type starts on.
void WinFocusFirstField(int type, int window);
// The key parts and key text a window's typed key finds its record by.
void FindKeyByType(int window, int *keyParts, uint8_t *text);

// ---- doc_number_list.cpp ----
// Starts the document-number list of a window from its opener's customer.
void WindowDocNumber(int window);
// The start text of the document-number list (choice list 15), a PString
// that WindowDocNumber sets.
extern uint8_t DocNumberListStart[256];

// ---- list_choice.cpp ----
// Event 21 of a choice list: the chosen row's code goes to the opener's field and the list closes.
void WindowChooseRecordEvent(int window);
// A chooser list has opened for the field of `opener` under edit; the
// opener's type may limit it to what that field may take.
void ChooserListOpened(int list, int opener);

// ---- module_rules.cpp ----
// True when `module` may be entered: the user's module right, then a login when nobody is logged in.
bool ModuleEnterCheck(int module);
// Enters the first module the user may use (2, 5, 3, 4, 6), else none.
void OpenFirstModule();

// ---- edit_rules.cpp ----
// 1 when screen field F of the window may be edited in state `state` by
// its type's rules, 0 when not (told to the user when `report` is set).
uint8_t WinFieldEditRules(int window, int F, int state, int unused, int report);
// Event 1: 1 when the field whose value lies at record byte `offset` may
// be edited, 0 when the window's record is closed to it.
uint8_t WindowMayEditEvent(int window, int field, uint32_t offset);
// Event 26: 0 when the window's record is closed (read-only), else 1.
uint8_t WindowReadOnlyEvent(int window);
// True when the voucher window shows a stored voucher dated in the
// voucher lock, which no change of it can be stored in; the user is told
// so, with the lock's date, when `tell` is set.
bool StoredVoucherInLock(int window, bool tell);

// ---- row_rules.cpp ----
// Event 3: the empty values of new row `row` of the window's rows.
void MatrixRowDefaultsEvent(int window, uint8_t *rows, int row);
// Event 4 (types without a handler): 1 when the row may be deleted.
uint8_t WindowMayDeleteRowEvent(int window, int32_t row);
// Event 12: rows were deleted or emptied; the totals follow.
void MatrixRowsChangedEvent(int window, int32_t row);
// Event 13: 1 when the row may be emptied instead of deleted.
uint8_t MatrixRowMayClearEvent(int window, int32_t row);

// ---- field_changed.cpp, period_text.cpp and the field logic of the
// smaller record windows ----
// Event 6: screen field `field` of the window was committed (changed: its
// value differs from before); the window's type carries the value on.
void FieldChangedEvent(int window, int field, uint8_t changed);
// After screen field `field` of a record window changed: a new record
// whose numbering date it is gives up a number that no series holds on
// the new date (it is numbered from that date's series as it is stored),
// and the number field is drawn again.
void NewRecordNumberFollowsDate(int window, int field);
// Reads a period text (a 256-byte PString buffer) into from and to and
// writes it back as "from:to"; a period name of block 136 gives its dates.
void PeriodTextParse(uint8_t *text, DateRec *from, DateRec *to);
// True when the period text is no period name and a half of it is no
// date as typed; that half into `refused` (a 256-byte PString buffer).
bool PeriodTextRefused(const uint8_t *text, uint8_t *refused);
// True when screen field `field` of the window holds a period text: the
// period of a report selection, or a reference range compared as dates.
bool WinFieldIsPeriodText(int window, int field);
// The period text "from:to" of two dates (a 256-byte PString buffer).
void PeriodTextOf(const DateRec *from, const DateRec *to, uint8_t *text);
// The period text of the current period (a 256-byte PString buffer).
void DefaultPeriodText(uint8_t *text);
// The first and last date of the current fiscal year (the year of block
// 149 holding today, else the first); false without fiscal years.
bool CurrentFiscalYearDates(DateRec *first, DateRec *last);
// The company window (592) once its block is read: an empty current
// fiscal year shows the one the fiscal years hold for today.
void CompanyWindowLoaded(int window);
// The Number hints window (240) once its block is read: it shows the
// entry state the program keeps rather than the block last stored.
void NumberHintsWindowLoaded(int window);
// A settings window (kinds 8 and 9) read its block; its type may show
// more than the block holds.
void SettingsWindowLoaded(int window);
// The field logic of the goods receipt (197), stock movement (426), cost
// budget (360), time budget (362), item structure (367), production (122)
// and time sheet (268) windows, each (window, screen field, changed).
void PurchaseFieldLeave(int window, int field, uint8_t changed);
void StockMovementFieldLeave(int window, int field, uint8_t changed);
void CostBudgetFieldLeave(int window, int field, uint8_t changed);
void TimeBudgetFieldLeave(int window, int field, uint8_t changed);
void ItemStructureFieldLeave(int window, int field, uint8_t changed);
void ProductionFieldLeave(int window, int field, uint8_t changed);
void TimeSheetFieldLeave(int window, int field, uint8_t changed);

// ---- field_rules.cpp ----
// Takes a typed text into a field whose text the window supplies (type
// 28); false when nothing was taken.
bool WinFieldFromTextByType(int window, uint8_t *record, int F, const uint8_t *text);
// The text the window supplies for data field F, and for matrix cell F.
void WinFieldDisplayText(int window, int F, uint8_t *text);
void MatrixCellDisplayText(int window, int F, uint8_t *text);
// True when matrix cell F shows a text looked up from another register
// (an outgoing payment row's vendor name): shown, never typed.
bool MatrixCellIsLookedUp(int window, int F);

// ---- The sales-invoice window, type 347 (invoice_window.cpp,
// invoice_window_parts.cpp, doc_item_rows.cpp, item_info_window.cpp) ----

// Window type 347's event handler: 1 = go on / allowed, 0 = refused or done.
uint8_t Win347Event(int window, int event, void *a, void *b);
// True when the field at record byte id (NoField for a row cell or a
// control) of invoice window `window` may be edited in edit state `state`.
bool Invoice347MayEdit(int window, int state, int id);
// False when screen field F is the link cell of a row other than a credit
// note's first (only that row names a credited invoice).
bool InvoiceLinkCellMayEdit(int window, int F);
// Limits the open-invoice choice list opened from the invoice window's
// link cell to the invoice's customer.
void CreditedInvoiceChoiceLimit(int list, int window);
// What leaving a field or row cell of the invoice window does (field is
// the screen field's record byte, changed its change flag).
void InvoiceRowLeave(int window, int field, uint8_t changed);
// Recomputes and shows the invoice window's totals.
void InvoiceTotalsRefresh(int window);
// Takes the exchange rate of the invoice's currency and date into it and
// shows it.
void InvoiceRateRefresh(int window, uint8_t *invoice);
// Shows row `row` of the invoice window in the item-information window.
void InvoiceRowInfo(int window, int row);
// Button `button` of the invoice window (1: item information).
void InvoiceButton(int window, int button);
// Button `button` of a sales document's window (1: item information,
// the selected row shown by rowInfo).
void DocItemInfoButton(int window, int button, void (*rowInfo)(int window, int row));
// Puts the item's text rows in language lang into the document window's
// rows after row, starting at the cell textCell.
void DocItemTextRows(int window, const uint8_t *item, const uint8_t *lang, int textCell, int row);
// Shows an item's costs, the gross profit and its percentage in the open
// item-information window (type 242); nothing when none is open.
void ItemInfoWindowUpdate(const uint8_t *item, const uint8_t *costKey, const PackedDecimal *gp,
                          const PackedDecimal *pct);

// ---- window_open.cpp: event 22, the window laid out after opening ----
// Fills a choice window's list, or a batch window's parameters from its opener.
void WindowOpenedEvent(int window);
// The item list of the opener's time-sheet row (window type 306).
void RowItemListFill(int window);
// The code list of the opener's current field (window type 560).
void CodeListFill(int window);
// The code window: its rows are codes, each naming the list its value is
// chosen from; the one window type whose rows take an insert among them
// without a rule of its own.
constexpr int CodeRowsType = 241;
// The list kind a row code of the code window names; 0 none.
int ChoiceKindOfRowCode(int code);
// The group list a group word names; 0 none.
int ChoiceListOfCode(int code);
// Set to 1 when a window closed with a result for its opener.
extern uint8_t ChoiceMadeFlag;

// ---- window_choice.cpp ----
// Event 0: the window became the active one.
void WindowActivateEvent(int window);
// Brings the figures window shows without storing them (a delivery's
// Available) up to date in its record and its stored copy alike.
void WinShownFiguresRefresh(int window);
// Event 2: a choice was made for the field whose value lies at record byte offset.
void WindowChoiceEvent(int window, int offset, uint8_t value);
// Event 24: the window's record was stored.
void AfterStoreEvent(int window);
// The availability rule of a delivery window's field change (field: screen field).
void DeliveryRowAvailabilityCheck(int window, int field, uint8_t changed);
// 0 when the window draws itself, 1 when it is painted the default way.
uint8_t WinPaintDefault(int window);
// Takes an empty block and frees it (a hook of the OK action).
void EmptyBlockCycle(int unused);

// ---- window_ok.cpp ----
// Event 11: 0 when the window acted itself (choice or batch), 1 to store its record.
uint8_t WindowOkEvent(int window);

// ---- The voucher window, type 117 (voucher_rows.cpp, voucher_template.cpp,
// voucher_window.cpp, voucher_ref.cpp) ----

// The screen field Enter goes to next, set by a template expansion and
// cleared by each field change; 0 none. The purchase-invoice and expense
// windows obey it too.
extern uint16_t NextFieldOverride;
// Event 6 of the voucher window (field: screen field, changed: its value differs).
void VoucherFieldChanged(int window, int field, uint8_t changed);
// Expands the template typed into row's account cell; 1 when it was a template.
int VoucherTemplateExpand(int window, int row);
// Reads the template (register 19) of a PString code into tpl; false when none.
bool VoucherTemplateRead(const uint8_t *code, uint8_t *tpl);
// The texts of one template row, PStrings: the account ("#" the row
// above's, "!" continue the row above), the objects, the name, the VAT
// code and the debit and credit texts (amounts, percentages or "=").
struct TemplateRowTexts {
    uint8_t account[256], objects[256], name[256], vat[256], debit[256], credit[256];
};
// Reads row i of a template that VoucherTemplateRead filled; false past
// its last row.
bool TemplateRowTextsRead(const uint8_t *tpl, int i, TemplateRowTexts *t);
// Looks up row's account (name, VAT code; a follow-up row unless
// noExtraRow); false when the row is none of the window's rows.
bool RowAccountLookup(int window, MemBlock rows, int row, int noExtraRow);
// Tells text 1044 when the amount lies on a side the account does not
// allow; true when it may stand.
bool AccountSignCheck(const uint8_t *code, const PackedDecimal *amount);
// The amount of a template row's debit and credit texts, percentages of base.
void VoucherPercentAmount(PackedDecimal *result, const PackedDecimal *base, const uint8_t *debitText,
                          const uint8_t *creditText);
// Recomputes, redraws and marks the voucher's header totals.
void VoucherTotalsRefresh(int window);
// Sets row's amount so that the voucher balances; false for no account row.
bool VoucherRowSetBalancing(uint8_t *voucher, int row);
// Redraws the account cells of a voucher row.
void VoucherRowRedraw(int window, int row);
// Balances the row under edit and focuses its amount.
void VoucherBalanceRow(int window);
// Where Enter in screen field `field` goes: a field, 65535 go on, 0 acted.
int VoucherEnterTarget(int window, int field);
// Event 7: Enter in screen field `field`; 0 when the focus was moved, 1 go on.
uint8_t MatrixCellEvent(int window, int field);
// Buttons 1 to 4 of the voucher window and its correction and link rows.
void Win117Button(int window, int button);
void VoucherAddCorrectionRow(int window);
void VoucherTrimRows(int window);
// Window type 117's event handler.
uint8_t Win117Event(int window, int event, void *a, void *b);
// A voucher reference typed as "year.number"; false when unreadable.
bool VoucherRefFromText(const uint8_t *text, uint16_t *code, int32_t *number);
// The display text of a voucher reference (PString buffer of 256).
void VoucherRefText(uint8_t *text, uint16_t code, uint32_t number);
// A key typed into the voucher list, put into the list's record; false when unreadable.
bool VoucherKeyFromText(const uint8_t *text, uint8_t *record);

// ---- The voucher's twins: account rows (255, register 9), person entries
// (533, register 126) and opening balances (164, register 51)
// (account_rows_window.cpp; their row steps are the voucher's) ----

// Window types 255, 533 and 164's event handlers.
uint8_t Win255Event(int window, int event, void *a, void *b);
uint8_t Win533Event(int window, int event, void *a, void *b);
uint8_t Win164Event(int window, int event, void *a, void *b);
// Event 6 of each (field: screen field, changed: its value differs).
void AccountRowsFieldChanged(int window, int field, uint8_t changed);
void AccountRows118FieldChanged(int window, int field, uint8_t changed);
void Fb1RowsFieldChanged(int window, int field, uint8_t changed);
// Where Enter goes in 255 and 533: a field, 65535 go on, 0 acted.
int AccountRowsEnterTarget(int window, int field);
int AccountRows118EnterTarget(int window, int field);
// Balances the row under edit of 255 or 533 and focuses its amount.
void AccountRowsBalanceRow(int window);
void AccountRows118BalanceRow(int window);
// Button 1 of the account-row window (255): balances the row under edit.
void Win255Button(int window, int button);
// Recompute, redraw and mark the header totals of 255, 533 and 164.
void AccountRowsTotalsRefresh(int window);
void AccountRows118TotalsRefresh(int window);
void Fb1TotalsRefresh(int window);

// ---- The order (352) and quotation (272) windows (order_window.cpp,
// quotation_window.cpp, sales_doc_rows.cpp, sales_doc_header.cpp) ----

// Window types 352 and 272's event handlers: 1 = go on / allowed, 0 = refused.
uint8_t Win352Event(int window, int event, void *a, void *b);
uint8_t Win272Event(int window, int event, void *a, void *b);
// What leaving screen field `field` of the order or quotation window
// does (changed: its value differs from before).
void OrderFieldLeave(int window, int field, uint8_t changed);
void QuotationFieldLeave(int window, int field, uint8_t changed);
// Recompute and show the order's or quotation's totals.
void OrderTotalsRefresh(int window);
void QuotationTotalsRefresh(int window);
// Show row `row` of the order or quotation in the item-information window.
void OrderRowInfo(int window, int row);
void QuotationRowInfo(int window, int row);

// ---- The purchase-order window (290: purchase_order_window.cpp,
// purchase_order_rows.cpp) ----

// Window type 290's event handler: 1 = go on / allowed, 0 = refused.
uint8_t Win290Event(int window, int event, void *a, void *b);
// What leaving screen field `field` of the purchase-order window does.
void PurchaseOrderFieldLeave(int window, int field, uint8_t changed);
// Recompute and show the purchase order's totals.
void PurchaseOrderTotalsRefresh(int window);

// ---- The contract window (468: contract_window.cpp, contract_rows.cpp) ----

// Window type 468's event handler: 1 = go on / allowed, 0 = refused.
uint8_t Win468Event(int window, int event, void *a, void *b);
// What leaving screen field `field` of the contract window does.
void ContractFieldLeave(int window, int field, uint8_t changed);
// Recompute and show the contract's totals.
void ContractTotalsRefresh(int window);
// The customer whose code the contract holds fills it (customer gets the
// customer's record), with the freight of block 186 and the totals;
// false, contract unchanged, when the customer is unknown.
bool ContractCustomerFill(uint8_t *contract, uint8_t *customer);

// ---- The sales document of register 127 (window type 557, window_557.cpp) ----

// Window type 557's event handler: 1 = go on / allowed, 0 = refused.
uint8_t Win557Event(int window, int event, void *a, void *b);
// What leaving screen field `field` does (changed: its value differs).
void Doc557FieldLeave(int window, int field, uint8_t changed);
// Fills the document from its customer; false when the customer is unknown.
bool Doc557CustomerFill(uint8_t *doc);
// The rate of the document's currency on its date into the rate field.
void Doc557RateRefresh(int window, uint8_t *doc);
// Recompute and show the totals.
void Doc557TotalsRefresh(int window);
// Row `row` into the item-information window.
void Doc557RowInfo(int window, int row);
// Push button `button` of the window (1: item information).
void Doc557Button(int window, int button);

// ---- Window buttons (window_buttons.cpp, document_buttons.cpp) ----
// Event 23's generic action: operations item `item` (its place, 1 the
// first) of window opens the record's inquiry list its number names, or
// is handed to the handler of the window's type as the button its number
// names; a type not in the table, or a button its handler does not act
// on, does nothing.
void WindowButtonEvent(int window, int item);
// The number the layout gives operations item `item` (1 the first) of
// window type `type`; -1 when the type has no such item.
int OpNumberAt(int type, int item);
// The button operations item `item` of window type `type` presses: the
// item's number, or `item` itself when the layout has no such item (an
// event raised for a button of a window without its item).
int ItemButton(int type, int item);
// A window type whose buttons do something, and the buttons its handler
// acts on: bit b for button b, or AnyButton for a type whose every
// operations item opens what the item names (the settings groups).
struct WindowButtons {
    int type;
    uint32_t acts;
};
constexpr uint32_t AnyButton = 0xFFFFFFFFu;
// Every such window type, as the button table holds them.
std::vector<WindowButtons> WindowButtonsActedOn();
// The conversion commands: the window's own stored record (a window being
// edited beeps), or the first marked record of a list, turned into a new
// document that opens in its own window.
void OrderListToDelivery(int window);
void PurchaseOrderListToPurchase(int window);
void QuotationListToOrder(int window);
void QuotationToOrderCmd(int window);
void OrderToDeliveryCmd(int window);
void PurchaseOrderToPurchaseCmd(int window);
void PurchaseOrderToPurchaseInvoiceCmd(int window);
void OrderToDownPaymentInvoiceCmd(int window);
void OrderToInvoiceCmd(int window);
void OrderListToDownPaymentInvoice(int window);
void OrderListToInvoice(int window);
// The button handlers by window type.
void Win154Button(int window, int button);
void Win156Button(int window, int button);
void Win157Button(int window, int button);
void Win121Button(int window, int button);
void Win143Button(int window, int button);
void Win145Button(int window, int button);
void Win195Button(int window, int button);
// Purchase source of an item: 1 the purchase prices into the items.
void Win284Button(int window, int button);
void Win196Button(int window, int button);
void Win197Button(int window, int button);
void Win259Button(int window, int button);
void Win272Button(int window, int button);
void Win273Button(int window, int button);
void Win289Button(int window, int button);
void Win290Button(int window, int button);
void Win348Button(int window, int button);
// Customer address list (349): 1 opens the interest run over last month.
void Win349Button(int window, int button);
void Win351Button(int window, int button);
void Win352Button(int window, int button);
void Win353Button(int window, int button);
void Win426Button(int window, int button);
void Win477Button(int window, int button);
// Goods receipt (197): 1 the purchase labels of the record shown, others
// as Win197Button. Delivery (354): 1 its delivery labels.
void PurchaseLabelButton(int window, int button);
void Win354Button(int window, int button);
// Employee (500): 1 previews the entry calculation of the employee shown.
void PersonReportButton(int window, int button);
// The approve runs on the marked records of the account-row, time-sheet
// and expense lists (types 254, 269, 474), and the item lists' price-list
// report of the marked items (42, 194).
void ListApproveButton(int window, int button);
// Fills a new purchase-item record (register 56) from an item: its code,
// name and cost price; no price unit; minimum order and threshold 1.
void Item284Fill(const uint8_t *item, uint8_t *record);
