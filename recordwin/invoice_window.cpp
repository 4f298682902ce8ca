// invoice_window.cpp - the sales-invoice window (type 347): its event
// handler, and what leaving a header field or a row cell does.
//
// The handler answers the edit questions from the invoice's posted flag
// (the stored copy's while a stored invoice is being changed) and carries
// the field logic: a customer fills the invoice, an item fills its row,
// a row's sum and gross profit follow its cells, and the totals follow
// the rows. Fields and cells are named by their byte in the record or the
// row (the window definition binds each screen field to one).
#include <cassert>
#include <cstring>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "recordwin/document_rows.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/approval.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/matrix_editing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = IVVc::Rows;

constexpr int ItemCodeMax = 20, VatCodeMax = 2, AccountMax = 10;
// The structure code of an invoice row whose item is made of no structure.
constexpr uint8_t NoStructure[] = {1, '_'};

// The fields a posted invoice may still change: due date, reference,
// salesperson, our reference, reminders, delivery terms, address and mode.
constexpr uint32_t EditableWhenPosted[] = {IVVc::PayDate,     IVVc::Reference,     IVVc::SalesMan,   IVVc::OurRef,
                                           IVVc::NoticeCount, IVVc::NoticeDate,  IVVc::DelTerms,   IVVc::DelAddr0,
                                           IVVc::DelAddr1,    IVVc::DelAddr2,    IVVc::DelAddr3,   IVVc::DelMode};

bool EditableAfterPosting(int id)
{
    for (uint32_t e : EditableWhenPosted)
        if (int(e) == id) return true;
    return false;
}

// The record that says whether the invoice is posted: the stored copy
// while a stored invoice is changed (state 2), else the edited one.
bool ShownPosted(int window) { return GetU16(WinRecordBuffer(window), IVVc::Posted) != 0; }
bool StoredPosted(int window)
{
    const uint8_t *stored = WinStoredRecord(window);
    return stored && GetU16(stored, IVVc::Posted) != 0;
}

// The kind of an invoice row: its kind cell, an empty one read as an item
// row (the window's rows carry no kind word; a new row is an item row).
DocRowKind RowKind(const uint8_t *row)
{
    const DocRowKind kind = DocRowKind(GetU16(row, Row::Kind));
    return kind == DocRowKind::Plain ? DocRowKind::Item : kind;
}

// Inserts an empty row of `kind` at `row` of the window's rows, growing
// them when `row` is at their end; false when it could not be had.
bool InsertRowOfKind(int window, int row, uint16_t kind)
{
    int count = WinMatrixRowCount(window);
    if (row < count) {
        WinMatrixInsertRow(window, row, kind);
        if (WinMatrixRowCount(window) != count + 1) return false;
    } else {
        if (row != count || !MatrixResize(window, count + 1)) return false;
        MatrixRowsClear(window, kind, row, row);
    }
    MemBlock rows = WinMatrixRows(window);
    uint8_t *data = MemLock(rows);
    if (!data) return false;
    PutU16(data + uint32_t(row) * Row::Size, Row::Kind, kind);
    MemUnlock(rows);
    WinMarkChanged(window);
    return true;
}

// Redraws the cells of a row that show these bytes of it.
void RedrawCells(int window, int row, std::initializer_list<uint32_t> cells)
{
    for (uint32_t c : cells) WinMatrixDrawRow(window, row, c, 0);
}

// The header field at byte `id` was left: customer, dates, terms, price
// list, currency and freight carry their values on.
void HeaderFieldLeft(int window, int id, uint8_t changed)
{
    uint8_t *inv = WinRecordBuffer(window);
    switch (id) {
    case IVVc::CustCode: {
        bool nameMissing = inv[IVVc::CustCode] != 0 && inv[IVVc::Addr0] == 0;
        if (!changed && !nameMissing) return;
        if (!InvoiceCustomerFill(inv)) {
            Beep();
            return;
        }
        InvoiceRateRefresh(window, inv);
        WinFieldsSync(window);
        return;
    }
    case IVVc::InvDate: {
        DateRec date = GetDate(inv, IVVc::InvDate);
        if (IsDateLockedSecondary(&date, IVVc::Number)) ShowTextMessage(Texts::DateLockedSecondary);
        if (!changed) return;
        DateRec due;
        DateAddDays(&date, int32_t(GetU32(inv, IVVc::PayDays)), &due);
        PutDate(inv, IVVc::PayDate, due);
        WinRedrawFieldById(window, int(IVVc::PayDate));
        InvoiceRateRefresh(window, inv);
        DateRec trans = GetDate(inv, IVVc::TransDate);
        if (DateCompare(&date, &trans) < 0)
            WinSetFieldValue(window, int(IVVc::TransDate), reinterpret_cast<const uint8_t *>(&date));
        return;
    }
    case IVVc::PayTerms: {
        if (!changed) return;
        uint8_t before[256], after[256];
        GetText(inv, IVVc::PayTerms, before);
        ApplyPaymentTerms(inv);
        GetText(inv, IVVc::PayTerms, after);
        if (before[0] != after[0] || std::memcmp(before + 1, after + 1, before[0]) != 0) Beep();
        WinRedrawFieldById(window, int(IVVc::PayDate));
        if (InvoiceKind(GetU16(inv, IVVc::InvType)) == InvoiceKind::CreditNote) {
            WinCommitField(window);
            if (WinIsOpen(window)) (void)InsertRowOfKind(window, 0, uint16_t(DocRowKind::Text));
        }
        return;
    }
    case IVVc::PriceList: {
        if (!changed) return;
        uint8_t code[256];
        GetText(inv, IVVc::PriceList, code);
        RuleRecord list(PriceListVc::Number);
        if (!list.record || code[0] == 0) return;
        PutText(list.record, PriceListVc::Code, code);
        uint32_t recid = 0, position = 0;
        if (RecFind(PriceListVc::Number, list.record, 1, 1, &recid, &position))
            PutU16(inv, IVVc::InclVat, GetU16(list.record, PriceListVc::InclVat));
        return;
    }
    case IVVc::CurncyCode:
        if (changed) InvoiceRateRefresh(window, inv);
        return;
    case IVVc::TransDate: {
        DateRec trans = GetDate(inv, IVVc::TransDate);
        if (IsDateLockedSecondary(&trans, IVVc::Number)) ShowTextMessage(Texts::DateLockedSecondary);
        return;
    }
    case IVVc::Freight: {
        if (!changed) return;
        PackedDecimal freight = GetDec(inv, IVVc::Freight), rate = GetDec(inv, IVVc::Rate), home, one, hundred,
                      discount, pct = GetDec(inv, IVVc::FreightPct), amount;
        AmountTimesRate(&freight, &rate, &home);
        PutDec(inv, IVVc::FreightHome, home);
        DecFromLong(&one, 1);
        DecFromLong(&hundred, 100);
        DecSub(&hundred, &pct, &discount);
        DecRowAmount(&one, &home, nullptr, &discount, &amount);
        PutDec(inv, IVVc::FreightPctAmt, amount);
        InvoiceTotalsRefresh(window);
        return;
    }
    default: return;
    }
}

// The marks of one row step.
struct RowMarks {
    bool sum = false, profit = false, textRows = false;
};

// Step 3 for an item row: the cell at byte `cell` of row r (row number
// `row`) was left; an item code or quantity prices the row through the
// price rules (item gets the item record), a price or discount marks the
// sum, a sum, cost or VAT code the profit.
void ItemRowCellLeft(int window, int row, uint8_t *r, uint32_t cell, uint8_t changed, uint8_t *item, RowMarks *m)
{
    uint8_t *inv = WinRecordBuffer(window);
    switch (cell) {
    case Row::ItemCode: {
        bool textMissing = r[Row::ItemCode] != 0 && r[Row::Text] == 0;
        if (!changed && !textMissing) return;
        DecSetBlank(reinterpret_cast<PackedDecimal *>(r + Row::Price));
        DecSetBlank(reinterpret_cast<PackedDecimal *>(r + Row::Discount));
        if (!DocRowPrice(InvoiceDocLayout, inv, row, r, item, DocTakeText | DocTakeCost)) {
            Beep();
            return;
        }
        DocRowStructure(InvoiceDocLayout, item, r, NoStructure);
        PutDec(r, Row::PriceUnit, GetDec(item, INVc::PriceUnit));
        RedrawCells(window, row, {Row::Text, Row::Price, Row::Discount, Row::SalesAcc, Row::Objects, Row::VatCode,
                                  Row::UnitCost, Row::StructCode, Row::PriceUnit});
        m->sum = true;
        m->textRows = true;
        return;
    }
    case Row::Quantity: {
        if (!changed) return;
        // The row keeps its own description and cost.
        if (!DocRowPrice(InvoiceDocLayout, inv, row, r, item, 0)) return;
        DocRowStructure(InvoiceDocLayout, item, r, NoStructure);
        RedrawCells(window, row,
                    {Row::Price, Row::Discount, Row::SalesAcc, Row::Objects, Row::VatCode, Row::UnitCost, Row::StructCode});
        m->sum = true;
        return;
    }
    case Row::Price: {
        if (!changed) return;
        PackedDecimal price = GetDec(r, Row::Price);
        if (r[Row::ItemCode] == 0 && !DecIsBlank(&price)) {
            uint8_t vat[256] = {0}, account[256] = {0};
            DefaultVatAndAccount(nullptr, vat, account, GetU16(inv, IVVc::VatZone));
            PutText(r, Row::VatCode, vat);
            PutText(r, Row::SalesAcc, account);
            RedrawCells(window, row, {Row::VatCode, Row::SalesAcc});
        }
        m->sum = true;
        return;
    }
    case Row::Discount:
        if (changed) m->sum = true;
        return;
    case Row::Sum:
    case Row::UnitCost:
    case Row::VatCode:
        if (changed) m->profit = true;
        return;
    default: return;
    }
}

// Steps 4 and 5 for row r: its sum from quantity, price, price unit and
// discount, then its gross profit in home currency (net of VAT when the
// prices include it, less quantity x unit cost) and the item-information
// window's figures.
void RowSumAndProfit(int window, int row, uint8_t *r, DocRowKind kind, RowMarks *m)
{
    const uint8_t *inv = WinRecordBuffer(window);
    bool priced = kind == DocRowKind::Item || kind == DocRowKind::Amount;
    if (m->sum && priced && DocRowSumUpdate(InvoiceDocLayout, r)) {
        RedrawCells(window, row, {Row::Sum});
        m->profit = true;
    }
    if (!m->profit) return;
    PackedDecimal net, gp = GetDec(r, Row::GrossProfit), pct;
    DecSetBlank(&net);
    if (priced) {
        if (r[Row::ItemCode] != 0) {
            DocRowGrossProfit(InvoiceDocLayout, inv, r, &net, &gp);
        } else {
            DecSetZero(&gp);
            PackedDecimal zero;
            DecSetZero(&zero);
            PutDec(r, Row::UnitCost, zero);
            RedrawCells(window, row, {Row::UnitCost});
        }
        PutDec(r, Row::GrossProfit, gp);
        RedrawCells(window, row, {Row::GrossProfit});
    }
    PercentOf(&net, &gp, &pct);
    uint8_t item[256], costKey[256];
    GetText(r, Row::ItemCode, item);
    GetText(inv, IVVc::Location, costKey);
    ItemInfoWindowUpdate(item, costKey, &gp, &pct);
}

// The row cell shown by screen field F was left: the row's kind decides
// what follows (steps 2 to 6).
void RowCellLeft(int window, int F, uint8_t changed)
{
    int row = NoField, column = NoField, cell = NoField;
    if (!WinRowCellAt(window, F, &row, &column, &cell)) return;
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    RowMarks m;
    MemBlock rows = WinMatrixRows(window);
    uint8_t *data = MemLock(rows);
    if (!data) return;
    uint8_t *r = data + uint32_t(row) * Row::Size;
    // A row left without a kind becomes an item row once a value is typed
    // into it, so that totals, checks and posting count it.
    if (DocRowKind(GetU16(r, Row::Kind)) == DocRowKind::Plain && changed && column != 0) {
        PutU16(r, Row::Kind, uint16_t(DocRowKind::Item));
        RedrawCells(window, row, {Row::Kind});
    }
    const DocRowKind kind = RowKind(r);
    if (kind == DocRowKind::Item) {
        ItemRowCellLeft(window, row, r, uint32_t(cell), changed, item.record, &m);
    } else if (changed && ((kind == DocRowKind::Amount && column >= 5 && column <= 7) ||
                           (kind == DocRowKind::DownPayment && column >= 2 && column <= 4))) {
        m.profit = true;
    }
    RowSumAndProfit(window, row, r, kind, &m);
    MemUnlock(rows);
    if (m.textRows) {
        uint8_t lang[256];
        GetText(WinRecordBuffer(window), IVVc::LangCode, lang);
        DocItemTextRows(window, item.record, lang, int(Row::Text), row);
    }
    if (m.profit) InvoiceTotalsRefresh(window);
}

}  // namespace

// True when the field at byte `id` of the invoice window may be edited in
// edit state `state` (id NoField for a row cell or a control): nothing of
// a shown posted invoice; of a stored posted invoice being changed only
// the fields a posted invoice may change; the VAT zone only in company
// variant 15.
bool Invoice347MayEdit(int window, int state, int id)
{
    if (state == 0 && ShownPosted(window)) return false;
    if (state == 2 && StoredPosted(window)) return EditableAfterPosting(id);
    if (id == int(IVVc::VatZone) && !CompanyVariantIs(CountryVariant::V15)) return false;
    return true;
}

// True unless screen field F is the link cell (the "Credit" column page)
// of a row other than a credit note's first: that cell names the
// invoice a credit note credits, and only the first row of a credit note
// does; on other rows the program keeps its order-row links there.
bool InvoiceLinkCellMayEdit(int window, int F)
{
    if (!WinIsOpen(window)) return false;
    FieldPlace at = WinFieldPlace(window, F);
    if (!at.IsCell() || at.cell != int(Row::Link)) return true;
    return at.row == 0 && InvoiceKind(GetU16(WinRecordBuffer(window), IVVc::InvType)) == InvoiceKind::CreditNote;
}

// The choice list of open invoices has opened for the invoice window's
// link cell: it holds the invoice's customer's open items only, as the
// credited invoice must be that customer's. Other fields keep the list.
void CreditedInvoiceChoiceLimit(int list, int window)
{
    if (!WinIsOpen(window) || !WinIsOpen(list)) return;
    FieldPlace at = WinFieldPlace(window, WinTable[window]->currentField);
    if (!at.IsCell() || at.cell != int(Row::Link)) return;
    const uint8_t *invoice = WinRecordBuffer(window);
    uint8_t code[256], label[256], name[256];
    GetText(invoice, IVVc::CustCode, code);
    if (code[0] == 0) return;
    PStringCopy(label, code);
    GetText(invoice, IVVc::Addr0, name);
    if (name[0] != 0) {
        PStringAppendC(label, " ");
        PStringAppend(label, name);
    }
    (void)ListFilterSet(list, "CustCode", code, label);
}

// Window type 347's event handler: 1 = go on / allowed, 0 = refused.
// Events 1, 4 and 9 are answered from the posted flag; 6 runs the field
// logic, 12 the totals, 23 the buttons, 30 the item information (File >
// Print is the print event's, print_event.cpp).
uint8_t Win347Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    int state = WinRecState(window);
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField: {
        int id = b ? int(*static_cast<const uint16_t *>(b)) : NoField;
        return Invoice347MayEdit(window, state, id) ? 1 : 0;
    }
    case WindowEventCode::MayDeleteRow:
        // A posted invoice's rows are in the books: the refusal says what
        // such an invoice may still change.
        if (state != 2 || !StoredPosted(window)) return 1;
        ShowTextMessage(Texts::PostedInvoiceChange);
        return 0;
    case WindowEventCode::FieldChanged:
        if (a && b) InvoiceRowLeave(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::MayInsertRow:
        switch (state) {
        case 0: return ShownPosted(window) ? 0 : 1;
        case 1: return 1;
        case 2: return StoredPosted(window) ? 0 : 1;
        default: return 0;
        }
    case WindowEventCode::RowsChanged: InvoiceTotalsRefresh(window); return 1;
    case WindowEventCode::Button:
        if (b) InvoiceButton(window, *static_cast<const int16_t *>(b));
        return 1;
    case WindowEventCode::RowAboutToChange:
        if (a) InvoiceRowInfo(window, *static_cast<const int16_t *>(a));
        return 1;
    default: return 1;
    }
}

// Screen field F of the invoice window was left; changed is set when its
// value differs from before. A header field carries its value on; a row
// cell prices its row, recomputes its sum and gross profit and, when the
// profit changed, the invoice's totals.
void InvoiceRowLeave(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    FieldChangedSplit(window, field, changed, HeaderFieldLeft, RowCellLeft);
}
