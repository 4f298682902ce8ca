// window_557.cpp - the sales-document window of register 127 (type 557):
// its event handler, its customer, rate and price-list steps, its totals,
// row information and button. The rows follow the row step the order and
// quotation share (sales_doc_rows.cpp): an item prices its row; the
// quantity, price and discount give the row sum again and the gross
// profit follows. A stored document is not edited field by field; rows
// are inserted only into a new one.
#include <iterator>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/warning_message.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "recordwin/sales_doc_window.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace SD = SalesDocVc;

constexpr int CustomerCodeMax = 20, CodeMax = 5;

// The customer's fields the document takes, by position.
constexpr CustomerCopy Doc557Copies[] = {
    {SD::CustName, CUVc::Name, 60},        {SD::Name2, CUVc::Name2, 60},
    {SD::DiscCode, CUVc::CustGroup, 5},    {SD::Objects, CUVc::Objects, 30},
    {SD::CurncyCode, CUVc::CurncyCode, 5}, {SD::SalesMan, CUVc::SalesMan, 5},
    {SD::LangCode, CUVc::LangCode, 5},     {SD::PriceList, CUVc::PriceList, 5},
    {SD::DiscCode2, CUVc::DiscCode2, 5},   {SD::Reference, CUVc::Reference, 60},
    {SD::PayTerms, CUVc::PayTerms, 2},
};

constexpr DocLayout Doc557Layout = {
    SD::Number,         SD::Rows::Size,    SD::CurncyCode,       SD::Rate,          SD::LangCode,
    SD::DiscCode,       SD::PriceList,     SD::DiscCode2,        SD::VatZone,       SD::InclVat,
    NoDocCell,          SD::Rows::ItemCode, SD::Rows::Quantity,  SD::Rows::Text,    SD::Rows::Price,
    SD::Rows::Sum,      SD::Rows::Discount, SD::Rows::SalesAcc,  SD::Rows::Objects, SD::Rows::UnitCost,
    SD::Rows::GrossProfit, SD::Rows::VatCode, NoDocCell,         SD::Rows::PriceUnit, NoDocCell,
};

const SalesDocWindow Doc557Desc = {&Doc557Layout, false, SD::DocDate, SD::CustCode, SD::CustName, SD::CostCode,
                                   Doc557TotalsRefresh};

// The customer's paying customer, when it has one, told with its code.
void PayerShow(const uint8_t *customer)
{
    uint8_t payer[256];
    GetText(customer, CUVc::PayerCode, payer);
    if (payer[0] == 0) return;
    uint8_t text[256] = {1, ' '};
    PStringAppend(text, payer);
    ShowMessage(Texts::PaidByCustomer, text);
}

// The credit warning: block 205's invoice word asks for it, the limit is
// positive and the open balance passes it.
bool CreditWarning(const PackedDecimal *limit, const PackedDecimal *balance)
{
    if (!CreditLimitBlock || GetU16(CreditLimitBlock, CreditLimitBlk::InvoiceCheck) != 1) return false;
    return DecSign(limit) > 0 && DecCompare(balance, limit) > 0;
}

void CustomerLeft(int window, uint8_t changed)
{
    uint8_t *doc = WinRecordBuffer(window);
    bool nameMissing = doc[SD::CustCode] != 0 && doc[SD::CustName] == 0;
    if (!changed && !nameMissing) return;
    if (!Doc557CustomerFill(doc)) {
        Beep();
        return;
    }
    Doc557RateRefresh(window, doc);
    WinFieldsSync(window);
}

}  // namespace

// Fills the document from its customer (register 2): names, codes,
// currency, price list and its VAT word, VAT zone and terms, the rate of
// the currency on the document's date and the totals; the customer's
// note, paying customer and credit warning are told. False (document
// unchanged) when the customer is unknown.
bool Doc557CustomerFill(uint8_t *doc)
{
    if (!doc) return false;
    uint8_t code[256];
    GetText(doc, SD::CustCode, code);
    if (code[0] == 0) return false;
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return false;
    PutText(customer.record, CUVc::Code, code);
    PackedDecimal limit, balance;
    if (!CustomerBalanceCreditCall(customer.record, &limit, &balance)) return false;
    CustomerCopiesApply(doc, customer.record, Doc557Copies, int(std::size(Doc557Copies)));
    SalesDocResolvePriceList(Doc557Desc, doc, SD::DiscCode);
    PutU16(doc, SD::VatZone, GetU16(customer.record, CUVc::VatZone));
    uint8_t currency[256];
    GetText(doc, SD::CurncyCode, currency);
    DateRec date = GetDate(doc, SD::DocDate);
    PackedDecimal rate;
    if (CurrencyRate(currency, &date, &rate)) PutDec(doc, SD::Rate, rate);
    DocTotals268(doc);
    CustomerNoteShow(customer.record);
    PayerShow(customer.record);
    if (CreditWarning(&limit, &balance)) ShowWarning(Texts::CreditLimitExceeded, nullptr);
    return true;
}

// The rate of the document's currency on its date into the rate field.
void Doc557RateRefresh(int window, uint8_t *doc)
{
    (void)doc;
    SalesDocRateRefresh(Doc557Desc, window);
}

// Recomputes the totals and redraws net, VAT and total.
void Doc557TotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    DocTotals268(WinRecordBuffer(window));
    for (uint32_t at : {SD::NetTotal, SD::VatTotal, SD::Total}) WinRedrawFieldById(window, int(at));
}

// Shows row `row` in the item-information window.
void Doc557RowInfo(int window, int row) { SalesDocRowInfo(Doc557Desc, window, row); }

// Button 1 opens the item-information window on the selected row.
void Doc557Button(int window, int button) { DocItemInfoButton(window, button, Doc557RowInfo); }

// Screen field F was left: the customer fills the document, the price
// list gives its VAT word, currency and date the rate, a row cell runs
// the row step.
void Doc557FieldLeave(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    int id = NoField;
    if (SalesDocLeaveIsRow(Doc557Desc, window, field, changed, &id)) return;
    switch (id) {
    case SD::CustCode: CustomerLeft(window, changed); return;
    case SD::PriceList:
        if (changed) SalesDocPriceListLeft(Doc557Desc, window);
        return;
    case SD::CurncyCode:
    case SD::DocDate:
        if (changed) Doc557RateRefresh(window, WinRecordBuffer(window));
        return;
    default: return;
    }
}

// Window type 557's event handler: 1 = go on / allowed, 0 = refused.
uint8_t Win557Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    // A type laid out over another record is left to the generic actions.
    if (!SalesDocRulesApply(Doc557Desc, window)) return 1;
    const int state = WinRecState(window);
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField: return state == StateShown || state == StateChanging ? 0 : 1;
    case WindowEventCode::MayDeleteRow: return state == StateChanging ? 0 : 1;
    case WindowEventCode::FieldChanged:
        if (a && b) Doc557FieldLeave(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::MayInsertRow: return state == StateNew ? 1 : 0;
    case WindowEventCode::RowsChanged: Doc557TotalsRefresh(window); return 1;
    case WindowEventCode::Button:
        if (b) Doc557Button(window, *static_cast<const int16_t *>(b));
        return 1;
    case WindowEventCode::RowAboutToChange:
        if (a) Doc557RowInfo(window, *static_cast<const int16_t *>(a));
        return 1;
    default: return 1;
    }
}
