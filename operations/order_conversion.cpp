// order_conversion.cpp - the sales fillers of the document flow: an
// invoice, a down-payment invoice and a delivery from an order, and an
// order from a quotation. Each fills the new record in memory only;
// ConvertDocument numbers and inserts it, and the insert hooks move the
// order's quantities, the stock and the open items.
#include "operations/order_conversion.h"

#include <cassert>
#include <cstring>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/operations.h"
#include "operations/sales_customer_fill.h"
#include "operations/sales_invoice.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

// True when the text field at `at` is empty.
bool TextEmpty(const uint8_t *base, uint32_t at) { return base[at] == 0; }

namespace Inv = IVVc;
namespace Ord = ORVc;
namespace OR = ORVc::Rows;
namespace IR = IVVc::Rows;
namespace Del = SHVc;
namespace DR = SHVc::Rows;



// Reads the order whose record id the target carries at linkAt and puts
// the order's serial there instead; false (link left) when unreadable.
bool ReadLinkedOrder(uint8_t *target, uint32_t linkAt, uint8_t *order) {
    uint32_t id = GetU32(target, linkAt);
    if (!RecReadById(Ord::Number, id, order)) return false;
    PutU32(target, linkAt, GetU32(order, Ord::SerNr));
    return true;
}

// Appends row to the invoice's rows; false when memory could not be had.
bool AppendRow(int reg, uint8_t *record, const uint8_t *row) {
    return MatrixRowPut(reg, 0, record, MatrixRowCount(reg, 0, record), row);
}

// The serial of a document as text, for the down-payment row texts.
void SerialText(uint32_t serial, uint8_t *text) { LongToDigitText((int32_t)serial, text); }

// "row text" + " " + the order serial into the row's 100-character text,
// and the sales account and VAT code of block 179's item for the zone.
void DownPaymentRowTexts(uint8_t *row, const uint8_t *order, int zone) {
    const uint8_t *block = SettingsRecord(DownPayBlk::Number, DownPaymentBlock);
    uint8_t text[256], number[256], item[256];
    GetText(block, DownPayBlk::RowText, text);
    SerialText(GetU32(order, Ord::SerNr), number);
    PStringAppendChar(text, ' ');
    PStringAppend(text, number);
    PutText(row, IR::Text, text);
    GetText(block, DownPayBlk::ItemCode, item);
    uint8_t account[256], vat[256];
    ItemSalesAccount(item, zone, account);
    ItemVatCode(item, zone, vat);
    PutText(row, IR::SalesAcc, account);
    PutText(row, IR::VatCode, vat);
}

// The customer part of an invoice from an order: to the invoice customer
// the order names when that customer exists (the ordering customer kept
// at StatCustCode), else to the order's own customer and address. The
// invoice is first filled from that customer as a typed invoice is;
// what the order names itself is laid over it afterwards.
void InvoiceCustomerFromOrder(uint8_t *invoice, const uint8_t *order) {
    uint8_t code[256];
    GetText(order, Ord::InvoiceTo, code);
    RuleRecord customer(CUVc::Number);
    if (code[0] != 0 && customer.record && DocFlowReadByCode(CUVc::Number, CUVc::Code, 20, code, customer.record)) {
        PutText(invoice, Inv::CustCode, code);
        SalesInvoiceCustomerFill(invoice, customer.record);
        DocFlowCopyText(invoice, Inv::StatCustCode, order, Ord::CustCode);
        return;
    }
    GetText(order, Ord::CustCode, code);
    PutText(invoice, Inv::CustCode, code);
    if (customer.record && DocFlowReadByCode(CUVc::Number, CUVc::Code, 20, code, customer.record))
        SalesInvoiceCustomerFill(invoice, customer.record);
    DocFlowCopyLines(invoice, Inv::Addr0, order, Ord::Addr0, 4);
    DocFlowCopyText(invoice, Inv::CustCat, order, Ord::CustCat);
    PutText(invoice, Inv::StatCustCode, EmptyPString);
}

// The header fields an invoice takes from its order (the same for the
// final and the down-payment invoice): what was agreed on the order
// holds over what its customer gives a new invoice. Then the order
// customer's text at 646 and the payment terms' dates.
void InvoiceHeaderFromOrder(uint8_t *invoice, const uint8_t *order) {
    struct TextCopy {
        uint32_t from, to;
        int max;
    };
    static constexpr TextCopy texts[] = {
        {Ord::Name2, Inv::Name2, 60},  {Ord::Text284, Inv::Text290, 20},   {Ord::Objects, Inv::Objects, 30},
        {Ord::PayTerms, Inv::PayTerms, 2}, {Ord::SalesMan, Inv::SalesMan, 5},  {Ord::CurncyCode, Inv::CurncyCode, 5},
        {Ord::LangCode, Inv::LangCode, 5}, {Ord::PriceList, Inv::PriceList, 5}, {Ord::Project, Inv::Project, 20},
        {Ord::DiscCode2, Inv::DiscCode2, 5}, {Ord::Text1052, Inv::Text1238, 20}, {Ord::CustPhone, Inv::CustPhone, 20},
        {Ord::DelMode, Inv::DelMode, 5},   {Ord::DelTerms, Inv::DelTerms, 5},
        {Ord::VatCode, Inv::VatCode, 2},   {Ord::CustReference, Inv::Reference, 60},
    };
    for (const TextCopy &t : texts) DocFlowCopyText(invoice, t.to, order, t.from, t.max);
    PutU16(invoice, Inv::VatZone, GetU16(order, Ord::VatZone));
    PutU16(invoice, Inv::InclVat, GetU16(order, Ord::InclVat));
    {
        uint8_t currency[256];
        GetText(order, Ord::CurncyCode, currency);
        DateRec date = GetDate(invoice, Inv::InvDate);
        if (DateIsEmpty(&date)) date = TodayDate;
        PackedDecimal given = GetDec(order, Ord::Rate), rate;
        DocumentRate(currency, &date, &given, &rate);
        PutDec(invoice, Inv::Rate, rate);
    }
    DocFlowCopyLines(invoice, Inv::DelAddr0, order, Ord::DelAddr0, 4);
    uint8_t code[256];
    GetText(order, Ord::CustCode, code);
    RuleRecord customer(CUVc::Number);
    if (customer.record && DocFlowReadByCode(CUVc::Number, CUVc::Code, 20, code, customer.record))
        DocFlowCopyText(invoice, Inv::OurRef, customer.record, CUVc::Text646);
    ApplyPaymentTerms(invoice);
}

// The cost per unit of an invoice row: the item's cost price plus its
// added cost when block 202 asks for it and the item exists, else the
// order row's cost.
PackedDecimal InvoiceRowCost(const uint8_t *orderRow, const uint8_t *itemCode) {
    const uint8_t *block = SettingsRecord(CostAccBlk::Number, CostAccountsBlock);
    RuleRecord item(INVc::Number);
    if (block && GetU16(block, CostAccBlk::CostFromItem) != 0 && item.record && itemCode[0] != 0 &&
        DocFlowReadByCode(INVc::Number, INVc::Code, 20, itemCode, item.record)) {
        PackedDecimal cost = GetDec(item.record, INVc::CostPrice), add = GetDec(item.record, INVc::AddCost);
        if (DecIsBlank(&cost)) DecSetZero(&cost);
        if (!DecIsBlank(&add)) DecAdd(&cost, &add, &cost);
        return cost;
    }
    return GetDec(orderRow, OR::UnitCost);
}

// One invoice row of what is shipped and not yet invoiced on order row
// number i; false when the row has nothing left (a zero-price row always
// passes).
bool InvoiceRowFromOrderRow(const uint8_t *invoice, const uint8_t *o, int32_t i, uint8_t *row) {
    PackedDecimal left = DocFlowLess(GetDec(o, OR::QtyShipped), GetDec(o, OR::QtyInvoiced));
    PackedDecimal price = GetDec(o, OR::Price);
    if (!DocFlowAboveZero(left) && !DecIsZero(&price)) return false;
    std::memset(row, 0, IR::Size);
    PutU16(row, IR::Kind, uint16_t(DocRowKind::Item));
    // The link's low 16 bits are the order row; the posting counts the
    // invoiced quantity back onto that row.
    PutU32(row, IR::Link, (uint32_t)i);
    uint8_t item[256];
    GetText(o, OR::ItemCode, item);
    PutText(row, IR::ItemCode, item);
    PackedDecimal ordered = GetDec(o, OR::Quantity), quantity = left;
    if (DecIsBlank(&ordered) && DecIsZero(&left)) DecSetBlank(&quantity);
    PutDec(row, IR::Quantity, quantity);
    PutDec(row, IR::Price, price);
    PutDec(row, IR::Discount, GetDec(o, OR::Discount));
    DocFlowCopyText(row, IR::Text, o, OR::Text);
    DocFlowCopyText(row, IR::SalesAcc, o, OR::SalesAcc);
    DocFlowCopyText(row, IR::VatCode, o, OR::VatCode);
    DocFlowCopyText(row, IR::Objects, o, OR::Objects);
    DocFlowCopyText(row, IR::Text284, o, OR::Text304);
    PutDec(row, IR::PriceUnit, GetDec(o, OR::PriceUnit));
    DocFlowCopyText(row, IR::StructCode, o, OR::StructCode);
    PackedDecimal unit = GetDec(row, IR::PriceUnit), discount = GetDec(row, IR::Discount), sum;
    DecRowAmount(&quantity, &price, &unit, &discount, &sum);
    PutDec(row, IR::Sum, sum);
    if (item[0] == 0) {
        PutDec(row, IR::UnitCost, DocFlowDec(0));
        PutDec(row, IR::GrossProfit, DocFlowDec(0));
        return true;
    }
    PackedDecimal cost = InvoiceRowCost(o, item);
    PutDec(row, IR::UnitCost, cost);
    // Gross profit in home currency, net of VAT, less what the goods cost.
    PackedDecimal rate = GetDec(invoice, Inv::Rate), home, net, costs;
    AmountTimesRate(&sum, &rate, &home);
    uint8_t vat[256];
    GetText(row, IR::VatCode, vat);
    NetOfTax(vat, &home, GetU16(invoice, Inv::InclVat), &net);
    PackedDecimal q = quantity, c = cost;
    if (DecIsBlank(&q)) DecSetZero(&q);
    if (DecIsBlank(&c)) DecSetZero(&c);
    DecMul(&q, &c, &costs);
    PutDec(row, IR::GrossProfit, DocFlowLess(net, costs));
    return true;
}

// The down payments invoiced on the order and not yet deducted, capped at
// the invoice's net sum, as one negative kind-5 row.
void DeductDownPayments(uint8_t *invoice, const uint8_t *order) {
    PackedDecimal left = DocFlowLess(GetDec(order, Ord::DownPayInv), GetDec(order, Ord::DownPayDed));
    if (!DocFlowAboveZero(left)) return;
    PackedDecimal net = GetDec(invoice, Inv::Net);
    if (DecIsBlank(&net)) DecSetZero(&net);
    if (DecCompare(&left, &net) > 0) left = net;
    if (!DocFlowAboveZero(left)) return;
    uint8_t row[IR::Size] = {};
    InitDocRow(row, Inv::Number, uint16_t(DocRowKind::DownPayment));
    DownPaymentRowTexts(row, order, GetU16(invoice, Inv::VatZone));
    PackedDecimal minus;
    DecNegateInto(&left, &minus);
    PutDec(row, IR::Sum, minus);
    AppendRow(Inv::Number, invoice, row);
}

// The freight of block 186 on an invoice with rows: the item's VAT code,
// account and price, the price in the invoice currency and the amount of
// the percentage; an unknown or missing freight item clears the fields.
void InvoiceFreight(uint8_t *invoice) {
    const uint8_t *block = SettingsRecord(FreightBlk::Number, Block186);
    uint8_t code[256] = {0};
    if (block) GetText(block, FreightBlk::FreightItem, code);
    RuleRecord item(INVc::Number);
    bool known = code[0] != 0 && item.record && DocFlowReadByCode(INVc::Number, INVc::Code, 20, code, item.record);
    PackedDecimal blank;
    DecSetBlank(&blank);
    if (!known) {
        PutText(invoice, Inv::FreightItem, EmptyPString);
        PutDec(invoice, Inv::FreightPct, DocFlowDec(0));
        for (uint32_t at : {Inv::Freight, Inv::FreightHome, Inv::FreightPctAmt}) PutDec(invoice, at, blank);
        PutText(invoice, Inv::FreightVat, EmptyPString);
        PutText(invoice, Inv::FreightAcc, EmptyPString);
        return;
    }
    PackedDecimal pct = GetDec(block, FreightBlk::FreightPct);
    PutText(invoice, Inv::FreightItem, code);
    PutDec(invoice, Inv::FreightPct, pct);
    int zone = GetU16(invoice, Inv::VatZone);
    uint8_t vat[256], account[256];
    ItemVatCode(code, zone, vat);
    ItemSalesAccount(code, zone, account);
    PutText(invoice, Inv::FreightVat, vat);
    PutText(invoice, Inv::FreightAcc, account);
    PackedDecimal price = GetDec(item.record, INVc::BasePrice), rate = GetDec(invoice, Inv::Rate), inCurrency;
    PutDec(invoice, Inv::FreightHome, price);
    AmountByRateInverse(&price, &rate, &inCurrency);
    PutDec(invoice, Inv::Freight, inCurrency);
    // The percentage of the price: the price less (100 - percentage) %.
    PackedDecimal one = DocFlowDec(1), rest = DocFlowLess(DocFlowDec(100), pct), amount;
    DecRowAmount(&one, &price, &blank, &rest, &amount);
    PutDec(invoice, Inv::FreightPctAmt, amount);
}

// Makes sure the record has a rows block, so that a filled target without
// rows is told from one whose rows could not be had.
void EnsureRows(int reg, uint8_t *record) {
    uint32_t slot = GetU32(record, RegMatrixOffset(reg));
    if (slot == MatrixSlotDropped || slot == MatrixSlotMarked) PutU32(record, RegMatrixOffset(reg), MatrixSlotNone);
}

}  // namespace

bool DocFlowReadByCode(int reg, uint32_t codeAt, int max, const uint8_t *code, uint8_t *record) {
    assert(record && code);
    RecClear(reg, record);
    if (code[0] == 0) return false;
    PutPString(record, codeAt, max, code);
    return RecFindByFirstKey(reg, record);
}

// Fills the invoice from its order (see the header). The rows are those of
// the order's shipped and not yet invoiced quantities, each followed by
// its standard text when the order row names one.
int OrderToInvoice(uint8_t *invoice) {
    assert(invoice);
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    RuleRecord order(Ord::Number);
    EnsureRows(Inv::Number, invoice);
    if (!order.record || !ReadLinkedOrder(invoice, Inv::OrderNr, order.record)) return 1;
    if (accounts) PutU16(invoice, Inv::UpdStock, GetU16(accounts, SalesAccountsBlk::UpdateStock));
    InvoiceCustomerFromOrder(invoice, order.record);
    InvoiceHeaderFromOrder(invoice, order.record);
    uint8_t o[OR::Size], row[IR::Size];
    int32_t count = MatrixRowCount(Ord::Number, 0, order.record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Ord::Number, order.record, i, o)) continue;
        if (!InvoiceRowFromOrderRow(invoice, o, i, row)) continue;
        if (!AppendRow(Inv::Number, invoice, row)) break;
        if (!TextEmpty(o, OR::Text304)) InvoiceStandardTextRows(invoice);
    }
    DocTotalsRound(invoice);
    DeductDownPayments(invoice, order.record);
    if (MatrixRowCount(Inv::Number, 0, invoice) > 0) InvoiceFreight(invoice);
    DocTotalsRound(invoice);
    return 1;
}

// Appends the lines of the standard text keyed by the last row's code and
// text (register 130's second index), else by the text alone.
void InvoiceStandardTextRows(uint8_t *invoice) {
    assert(invoice);
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    uint8_t last[IR::Size];
    if (count <= 0 || !MatrixRowRead(Inv::Number, invoice, count - 1, last)) return;
    uint8_t code[256], text[256];
    GetText(last, IR::StructCode, code);
    GetText(last, IR::Text284, text);
    RuleRecord std(StdTextVc::Number);
    if (!std.record) return;
    uint32_t recid = 0, position = 0;
    bool found = false;
    for (const uint8_t *first : {(const uint8_t *)code, EmptyPString}) {
        RecClear(StdTextVc::Number, std.record);
        PutText(std.record, StdTextVc::Code, first);
        PutText(std.record, StdTextVc::Text, text);
        if ((found = RecFindByIndex(StdTextVc::Number, "CodeText", std.record, 2, 1, &recid, &position))) break;
    }
    if (!found) return;
    uint8_t line[StdTextVc::Rows::Size], row[IR::Size];
    int32_t lines = MatrixRowCount(StdTextVc::Number, 0, std.record);
    for (int32_t i = 0; i < lines; i++) {
        if (!MatrixRowRead(StdTextVc::Number, std.record, i, line)) continue;
        std::memset(row, 0, sizeof row);
        InitDocRow(row, Inv::Number, uint16_t(DocRowKind::Item));
        DocFlowCopyText(row, IR::Text, line, StdTextVc::Rows::Text);
        if (!AppendRow(Inv::Number, invoice, row)) return;
    }
}

void DownPaymentAmount(const PackedDecimal *base, const PackedDecimal *percentage, PackedDecimal *amount) {
    assert(base && percentage && amount);
    PackedDecimal b = *base;
    if (DecIsBlank(&b)) DecSetZero(&b);
    PackedDecimal hundred = DocFlowDec(100);
    if (DecEqual(percentage, &hundred)) {
        *amount = b;
        return;
    }
    PackedDecimal p = *percentage, product, share;
    if (DecIsBlank(&p)) DecSetZero(&p);
    DecMul(&b, &p, &product);
    DecDiv(&product, &hundred, &share);
    DecRound(&share, 0, amount);
}

// Fills the down-payment invoice (see the header): block 179 gives the
// terms, the percentage and the base (the order total, or with base mode
// 1 its net), the row's text, account and VAT code.
void DownPaymentInvoiceFromOrder(uint8_t *invoice) {
    assert(invoice);
    RuleRecord order(Ord::Number);
    EnsureRows(Inv::Number, invoice);
    if (!order.record || !ReadLinkedOrder(invoice, Inv::OrderNr, order.record)) return;
    const uint8_t *block = SettingsRecord(DownPayBlk::Number, DownPaymentBlock);
    InvoiceCustomerFromOrder(invoice, order.record);
    InvoiceHeaderFromOrder(invoice, order.record);
    if (block && !TextEmpty(block, DownPayBlk::TermsCode)) {
        DocFlowCopyText(invoice, Inv::PayTerms, block, DownPayBlk::TermsCode);
        ApplyPaymentTerms(invoice);
    }
    PackedDecimal base = GetDec(order.record, Ord::Total);
    if (block && GetU16(block, DownPayBlk::BaseMode) == 1)
        base = GetU16(order.record, Ord::InclVat) != 0 ? DocFlowLess(GetDec(order.record, Ord::Total), GetDec(order.record, Ord::Vat))
                                                       : GetDec(order.record, Ord::Net);
    PackedDecimal pct = block ? GetDec(block, DownPayBlk::Percentage) : DocFlowDec(0), amount;
    DownPaymentAmount(&base, &pct, &amount);
    RecFreeMatrix(Inv::Number, invoice);
    uint8_t row[IR::Size] = {};
    InitDocRow(row, Inv::Number, uint16_t(DocRowKind::DownPayment));
    DownPaymentRowTexts(row, order.record, GetU16(invoice, Inv::VatZone));
    PutDec(row, IR::Sum, amount);
    AppendRow(Inv::Number, invoice, row);
    DocTotalsRound(invoice);
}
