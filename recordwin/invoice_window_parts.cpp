// invoice_window_parts.cpp - the sales-invoice window's totals, exchange
// rate, row information and buttons.
#include <cassert>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "recordwin/document_rows.h"
#include "recordwin/record_windows.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/vat_currency.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// The window-type name of the item-information window.
constexpr const char *ItemInfoName = "ArtStatIClass";
constexpr int ItemInfoButton = 1;

}  // namespace

// Recomputes the invoice's totals from its rows (VAT per code, rounding
// of the total to the currency's decimals) and redraws net, VAT and total.
void InvoiceTotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    DocTotalsRound(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(IVVc::Net));
    WinRedrawFieldById(window, int(IVVc::Vat));
    WinRedrawFieldById(window, int(IVVc::Total));
}

// Sets the rate of the invoice's currency on its invoice date into the
// window's rate field (100 for a currency without a rate, blank for no
// currency). When the server cannot be asked the rate stays as it was.
void InvoiceRateRefresh(int window, uint8_t *invoice)
{
    assert(invoice);
    if (!WinIsOpen(window)) return;
    uint8_t currency[256];
    GetText(invoice, IVVc::CurncyCode, currency);
    DateRec date = GetDate(invoice, IVVc::InvDate);
    PackedDecimal rate;
    if (!CurrencyRate(currency, &date, &rate)) return;
    WinSetFieldValue(window, int(IVVc::Rate), rate.b);
}

// The gross profit of an invoice row and its percentage of the row's net
// amount in home currency (without VAT when the prices include it); both
// blank for a row other than an item row.
void InvoiceRowProfit(const uint8_t *invoice, const uint8_t *row, PackedDecimal *gp, PackedDecimal *pct)
{
    DecSetBlank(gp);
    DecSetBlank(pct);
    const DocRowKind kind = DocRowKind(GetU16(row, IVVc::Rows::Kind));
    if (kind != DocRowKind::Plain && kind != DocRowKind::Item) return;
    PackedDecimal net;
    DocRowNetHome(InvoiceDocLayout, invoice, row, &net);
    *gp = GetDec(row, IVVc::Rows::GrossProfit);
    PercentOf(&net, gp, pct);
}

// Shows row `row` of the invoice in the item-information window: its
// item code and, for an item row, its gross profit and percentage. A row
// outside the rows shows nothing (an empty code, blank values).
void InvoiceRowInfo(int window, int row)
{
    if (!WinIsOpen(window)) return;
    const uint8_t *invoice = WinRecordBuffer(window);
    uint8_t item[256] = {0}, costKey[256];
    PackedDecimal gp, pct;
    DecSetBlank(&gp);
    DecSetBlank(&pct);
    GetText(invoice, IVVc::Location, costKey);
    if (row >= 0 && row < WinMatrixRowCount(window)) {
        MemBlock rows = WinMatrixRows(window);
        const uint8_t *data = MemLock(rows);
        if (data) {
            const uint8_t *r = data + uint32_t(row) * IVVc::Rows::Size;
            GetText(r, IVVc::Rows::ItemCode, item);
            InvoiceRowProfit(invoice, r, &gp, &pct);
            MemUnlock(rows);
        }
    }
    ItemInfoWindowUpdate(item, costKey, &gp, &pct);
}

// Button 1 opens, or brings forward, the item-information window with the
// invoice window as its opener and shows the selected row in it. Other
// buttons do nothing.
void InvoiceButton(int window, int button) { DocItemInfoButton(window, button, InvoiceRowInfo); }

// Button 1 of a sales document's window opens, or brings forward, the
// item-information window with the document's window as its opener and
// shows the selected row in it by rowInfo. Other buttons do nothing.
void DocItemInfoButton(int window, int button, void (*rowInfo)(int window, int row))
{
    if (button != ItemInfoButton || !WinIsOpen(window)) return;
    int type = WinTypeByName(ItemInfoName);
    if (type == 0) return;
    if (OpenOrActivateWindow(type, 0, 0, false, window) == 0 || !WinIsOpen(window)) return;
    rowInfo(window, WinSelectedRow(window));
}
