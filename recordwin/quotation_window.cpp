// quotation_window.cpp - the quotation window (type 272, register 55):
// its event handler and its header logic. A customer fills the
// quotation (its delivery address only when it has one: a quotation
// keeps an address typed for it); date and currency give the rate; a
// price list its VAT word. Rows follow the shared sales-document row
// step (sales_doc_rows.cpp). A quotation has no credit test.
#include "core/field_access.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_customer_fill.h"
#include "recordwin/record_windows.h"
#include "recordwin/sales_doc_window.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int CustomerCodeMax = 20;

void QuotationCustomerLeft(int window, uint8_t changed)
{
    uint8_t *quotation = WinRecordBuffer(window);
    bool nameMissing = quotation[QuotationVc::CustCode] != 0 && quotation[QuotationVc::CustName] == 0;
    if (!changed && !nameMissing) return;
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return;
    if (!QuotationCustomerFill(quotation, customer.record)) {
        Beep();
        return;
    }
    WinFieldsSync(window);
    SalesDocRateRefresh(QuotationWindowDesc, window);
    CustomerNoteShow(customer.record);
}

}  // namespace

const SalesDocWindow QuotationWindowDesc = {&QuotationDocLayout, false,  QuotationVc::QTDate, QuotationVc::CustCode,
                                            QuotationVc::CustName, NoDocCell, QuotationTotalsRefresh};

// Recomputes the quotation's totals and redraws net, VAT and total.
void QuotationTotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    QuotationTotals(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(QuotationVc::NetTotal));
    WinRedrawFieldById(window, int(QuotationVc::VatTotal));
    WinRedrawFieldById(window, int(QuotationVc::Total));
}

void QuotationRowInfo(int window, int row) { SalesDocRowInfo(QuotationWindowDesc, window, row); }

// Screen field F of the quotation window was left: a header field
// carries its value on, a row cell runs the row step.
void QuotationFieldLeave(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    int id = NoField;
    if (SalesDocLeaveIsRow(QuotationWindowDesc, window, field, changed, &id)) return;
    switch (id) {
    case QuotationVc::CustCode: QuotationCustomerLeft(window, changed); return;
    case QuotationVc::QTDate:
    case QuotationVc::CurncyCode:
        if (changed) SalesDocRateRefresh(QuotationWindowDesc, window);
        return;
    case QuotationVc::PriceList:
        if (changed) SalesDocPriceListLeft(QuotationWindowDesc, window);
        return;
    default: return;
    }
}

// Window type 272's event handler: 1 = go on / allowed. A quotation's
// rows may always be deleted and inserted.
uint8_t Win272Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    // A type laid out over another record is left to the generic actions.
    if (!SalesDocRulesApply(QuotationWindowDesc, window)) return 1;
    switch (WindowEventCode(event)) {
    case WindowEventCode::Choice:
        if (a && *static_cast<const uint16_t *>(a) == QuotationVc::VatZone) QuotationTotalsRefresh(window);
        return 1;
    case WindowEventCode::FieldChanged:
        if (a && b) QuotationFieldLeave(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::RowsChanged: QuotationTotalsRefresh(window); return 1;
    case WindowEventCode::RowAboutToChange:
        if (a) QuotationRowInfo(window, *static_cast<const int16_t *>(a));
        return 1;
    default: return 1;
    }
}
