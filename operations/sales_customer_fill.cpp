// sales_customer_fill.cpp - the customer fills of the sales documents:
// one table of customer fields per document and the few rules beside it
// (delivery address, VAT zone, price list, terms). See the header.
#include "operations/sales_customer_fill.h"

#include <cassert>
#include <iterator>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/order_conversion.h"
#include "operations/project_ops.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

constexpr int CodeMax = 20, ListMax = 5, LineMax = 60;

constexpr CustomerCopy QuotationCopies[] = {
    {QuotationVc::CustName, CUVc::Name, 60},        {QuotationVc::Addr1, CUVc::Addr1, 60},
    {QuotationVc::Addr2, CUVc::Addr2, 60},          {QuotationVc::Addr3, CUVc::Addr3, 60},
    {QuotationVc::Name2, CUVc::Name2, 60},          {QuotationVc::DiscCode, CUVc::CustGroup, 5},
    {QuotationVc::PayTerms, CUVc::PayTerms, 2},     {QuotationVc::Objects, CUVc::Objects, 5},
    {QuotationVc::CurncyCode, CUVc::CurncyCode, 5}, {QuotationVc::SalesMan, CUVc::SalesMan, 5},
    {QuotationVc::LangCode, CUVc::LangCode, 5},     {QuotationVc::PayerCode, CUVc::PayerCode, 20},
    {QuotationVc::DelTerms, CUVc::DelTerms, 5},     {QuotationVc::DelMode, CUVc::DelMode, 5},
    {QuotationVc::Reference, CUVc::Reference, 60},  {QuotationVc::PriceList, CUVc::PriceList, 5},
    {QuotationVc::DiscCode2, CUVc::DiscCode2, 5},   {QuotationVc::VatCode, CUVc::VatCode, 2},
    {QuotationVc::Text922, CUVc::Text456, 20},      {QuotationVc::CustPhone, CUVc::Phone, 20},
    {QuotationVc::OurRef, CUVc::Text646, 20},
};
constexpr CustomerCopy QuotationDelivery[] = {
    {QuotationVc::DelAddr0, CUVc::Name, 60},
    {QuotationVc::DelAddr1, CUVc::DelAddr1, 60},
    {QuotationVc::DelAddr2, CUVc::DelAddr2, 60},
    {QuotationVc::DelAddr3, CUVc::DelAddr3, 60},
};

constexpr CustomerCopy OrderCopies[] = {
    {ORVc::Addr0, CUVc::Name, 60},              {ORVc::Addr1, CUVc::Addr1, 60},
    {ORVc::Addr2, CUVc::Addr2, 60},             {ORVc::Addr3, CUVc::Addr3, 60},
    {ORVc::Name2, CUVc::Name2, 60},             {ORVc::InvoiceTo, CUVc::PayerCode, 20},
    {ORVc::CustCat, CUVc::CustGroup, 5},        {ORVc::PayTerms, CUVc::PayTerms, 2},
    {ORVc::Objects, CUVc::Objects, 5},          {ORVc::CurncyCode, CUVc::CurncyCode, 5},
    {ORVc::SalesMan, CUVc::SalesMan, 5},        {ORVc::LangCode, CUVc::LangCode, 5},
    {ORVc::DelTerms, CUVc::DelTerms, 5},        {ORVc::DelMode, CUVc::DelMode, 5},
    {ORVc::CustReference, CUVc::Reference, 60}, {ORVc::PriceList, CUVc::PriceList, 5},
    {ORVc::DiscCode2, CUVc::DiscCode2, 5},      {ORVc::VatCode, CUVc::VatCode, 2},
    {ORVc::Text1052, CUVc::Text456, 20},        {ORVc::CustPhone, CUVc::Phone, 20},
    {ORVc::OurRef, CUVc::Text646, 20},
};
// The delivery address: the customer's name over its delivery lines.
constexpr CustomerCopy OrderDelivery[] = {
    {ORVc::DelAddr0, CUVc::Name, 60},
    {ORVc::DelAddr1, CUVc::DelAddr1, 60},
    {ORVc::DelAddr2, CUVc::DelAddr2, 60},
    {ORVc::DelAddr3, CUVc::DelAddr3, 60},
};

// The invoice's payment terms are not in its table: a credit note keeps
// its own.
constexpr CustomerCopy InvoiceCopies[] = {
    {IVVc::Addr0, CUVc::Name, 60},          {IVVc::Addr1, CUVc::Addr1, 60},
    {IVVc::Addr2, CUVc::Addr2, 60},         {IVVc::Addr3, CUVc::Addr3, 60},
    {IVVc::Name2, CUVc::Name2, 60},         {IVVc::CustCat, CUVc::CustGroup, 5},
    {IVVc::Objects, CUVc::Objects, 5},      {IVVc::CurncyCode, CUVc::CurncyCode, 5},
    {IVVc::SalesMan, CUVc::SalesMan, 5},    {IVVc::LangCode, CUVc::LangCode, 5},
    {IVVc::DelTerms, CUVc::DelTerms, 5},    {IVVc::DelMode, CUVc::DelMode, 5},
    {IVVc::PriceList, CUVc::PriceList, 5},  {IVVc::DiscCode2, CUVc::DiscCode2, 5},
    {IVVc::VatCode, CUVc::VatCode, 2},      {IVVc::Text1238, CUVc::Text456, 20},
    {IVVc::CustPhone, CUVc::Phone, 20},     {IVVc::OurRef, CUVc::Text646, 20},
    {IVVc::Reference, CUVc::Reference, 60},
};

// Reads the customer whose code the document holds at codeAt; false when
// the code is empty or names no customer.
bool CustomerOf(const uint8_t *doc, uint32_t codeAt, uint8_t *customer)
{
    uint8_t code[256];
    GetPString(doc, codeAt, CodeMax, code);
    return DocFlowReadByCode(CUVc::Number, CUVc::Code, CodeMax, code, customer);
}

// True when the invoice's first row is a row of kind 3 (a credit note's).
bool FirstRowIsCreditNote(const uint8_t *invoice)
{
    if (MatrixRowCount(IVVc::Number, 0, invoice) < 1) return false;
    uint8_t row[IVVc::Rows::Size];
    return MatrixRowGet(IVVc::Number, 0, invoice, 0, row) &&
        DocRowKind(GetU16(row, IVVc::Rows::Kind)) == DocRowKind::Text;
}

}  // namespace

void CustomerCopiesApply(uint8_t *doc, const uint8_t *customer, const CustomerCopy *copies, int n)
{
    assert(doc && customer && copies);
    uint8_t text[256];
    for (int i = 0; i < n; i++) {
        GetPString(customer, copies[i].from, copies[i].length, text);
        PutPString(doc, copies[i].to, copies[i].length, text);
    }
}

void ResolveDocPriceList(uint8_t *doc, uint32_t groupAt, uint32_t listAt, uint32_t inclVatAt)
{
    assert(doc);
    uint8_t group[256], priceList[256];
    uint16_t inclVat = 0;
    GetPString(doc, groupAt, ListMax, group);
    GetPString(doc, listAt, ListMax, priceList);
    ResolvePriceList(group, priceList, &inclVat);
    PutPString(doc, listAt, ListMax, priceList);
    PutU16(doc, inclVatAt, inclVat);
}

std::span<const CustomerCopy> SalesCustomerCopies(int reg)
{
    if (reg == QuotationVc::Number) return QuotationCopies;
    if (reg == ORVc::Number) return OrderCopies;
    if (reg == IVVc::Number) return InvoiceCopies;
    return {};
}

bool QuotationCustomerFill(uint8_t *quotation, uint8_t *customer)
{
    assert(quotation && customer);
    if (!CustomerOf(quotation, QuotationVc::CustCode, customer)) return false;
    CustomerCopiesApply(quotation, customer, QuotationCopies, int(std::size(QuotationCopies)));
    if (customer[CUVc::DelAddr1] != 0)
        CustomerCopiesApply(quotation, customer, QuotationDelivery, int(std::size(QuotationDelivery)));
    PutU16(quotation, QuotationVc::VatZone, GetU16(customer, CUVc::VatZone));
    ResolveDocPriceList(quotation, QuotationVc::DiscCode, QuotationVc::PriceList, QuotationVc::InclVat);
    return true;
}

bool OrderCustomerFill(uint8_t *order, uint8_t *customer)
{
    assert(order && customer);
    if (!CustomerOf(order, ORVc::CustCode, customer)) return false;
    CustomerCopiesApply(order, customer, OrderCopies, int(std::size(OrderCopies)));
    bool noDelivery = customer[CUVc::DelAddr1] == 0 && customer[CUVc::DelAddr2] == 0 && customer[CUVc::DelAddr3] == 0;
    if (noDelivery) {
        for (const CustomerCopy &c : OrderDelivery) PutPString(order, c.to, LineMax, EmptyPString);
    } else {
        CustomerCopiesApply(order, customer, OrderDelivery, int(std::size(OrderDelivery)));
    }
    PutU16(order, ORVc::VatZone, GetU16(customer, CUVc::VatZone));
    ResolveDocPriceList(order, ORVc::CustCat, ORVc::PriceList, ORVc::InclVat);
    return true;
}

void SalesInvoiceCustomerFill(uint8_t *invoice, const uint8_t *customer)
{
    assert(invoice && customer);
    CustomerCopiesApply(invoice, customer, InvoiceCopies, int(std::size(InvoiceCopies)));
    PutText(invoice, IVVc::StatCustCode, EmptyPString);
    ResolveInvoicePriceList(invoice);
    CopyCustomerDeliveryAddress(customer, invoice);
    PutU16(invoice, IVVc::VatZone, GetU16(customer, CUVc::VatZone));
    if (FirstRowIsCreditNote(invoice)) return;
    uint8_t terms[256];
    GetText(customer, CUVc::PayTerms, terms);
    PutText(invoice, IVVc::PayTerms, terms);
    ApplyPaymentTerms(invoice);
}
