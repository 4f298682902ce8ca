// delivery_conversion.cpp - a delivery filled from its order (what is left
// to deliver, cut to what the stock has, serial-numbered items one unit
// a row) and an order filled from a quotation.
#include <cassert>
#include <cstring>
#include <optional>
#include <utility>

#include "core/definitions.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/operations.h"
#include "operations/order_conversion.h"
#include "operations/sales_customer_fill.h"
#include "rules/convert_document.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

namespace Ord = ORVc;
namespace OR = ORVc::Rows;
namespace Del = SHVc;
namespace DR = SHVc::Rows;
namespace Quo = QuotationVc;
namespace QR = QuotationVc::Rows;

constexpr uint16_t SerialOnePerUnit = 1;

// What can be delivered of an item at the delivery's location: for a
// stocked item the stock less what others reserved and what unshipped
// deliveries hold; for an item built from components (code other than
// "_") the units its components allow; none when not limited.
std::optional<PackedDecimal> AvailableQuantity(const uint8_t *item, const uint8_t *delivery, const uint8_t *order,
                                               const uint8_t *structCode) {
    uint8_t code[256], location[256];
    GetText(item, INVc::Code, code);
    GetText(delivery, Del::Location, location);
    if (GetU16(item, INVc::Stocked) != 0) {
        RuleRecord stock(LSVc::Number);
        if (!stock.record) return std::nullopt;
        Register6Lookup(code, location, stock.record);
        PackedDecimal available = GetDec(stock.record, LSVc::InStock);
        if (GetU16(order, Ord::Reserves) == 0) available = DocFlowLess(available, GetDec(stock.record, LSVc::Reserved));
        return DocFlowLess(available, GetDec(stock.record, LSVc::OnDeliveries));
    }
    uint8_t underscore[2] = {1, '_'};
    if (structCode[0] == 0 || PStringEqual(structCode, underscore)) return std::nullopt;
    PackedDecimal quantity, value;
    if (!ItemCostCall(code, location, &quantity, &value)) return std::nullopt;
    return DocFlowLess(quantity, DocFlowDec(0));
}

// to-deliver cut to available and not below zero.
PackedDecimal CutTo(const PackedDecimal &toDeliver, const PackedDecimal &available) {
    PackedDecimal r = toDeliver;
    if (DecCompare(&r, &available) > 0) r = available;
    if (DecSign(&r) < 0) DecSetZero(&r);
    return r;
}

bool AppendDeliveryRow(uint8_t *delivery, const uint8_t *row) {
    return MatrixRowPut(Del::Number, 0, delivery, MatrixRowCount(Del::Number, 0, delivery), row);
}

// The delivery rows of one order row with left units still to deliver.
void DeliveryRowsOfOrderRow(uint8_t *delivery, const uint8_t *order, const uint8_t *o, int32_t i,
                            const PackedDecimal &left) {
    uint8_t row[DR::Size] = {};
    PutU32(row, DR::OrderRowNr, (uint32_t)i);
    uint8_t code[256], structCode[256];
    GetText(o, OR::ItemCode, code);
    GetText(o, OR::StructCode, structCode);
    PutText(row, DR::ItemCode, code);
    DocFlowCopyText(row, DR::Text, o, OR::Text);
    DocFlowCopyText(row, DR::SerialNr, o, OR::Text304);
    PutText(row, DR::StructCode, structCode);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(row, DR::QtyLeft, left);
    PutDec(row, DR::Available, blank);
    PutDec(row, DR::ToDeliver, left);
    RuleRecord item(INVc::Number);
    if (!item.record || !DocFlowReadByCode(INVc::Number, INVc::Code, 20, code, item.record)) {
        for (uint32_t at : {DR::QtyLeft, DR::Available, DR::ToDeliver}) PutDec(row, at, blank);
        AppendDeliveryRow(delivery, row);
        return;
    }
    std::optional<PackedDecimal> available = AvailableQuantity(item.record, delivery, order, structCode);
    if (GetU16(item.record, INVc::SerialMode) != SerialOnePerUnit) {
        if (available) {
            PutDec(row, DR::Available, *available);
            PutDec(row, DR::ToDeliver, CutTo(left, *available));
        }
        AppendDeliveryRow(delivery, row);
        return;
    }
    // One row per unit while the row before could deliver its unit; each
    // row sees what the units placed before it left available.
    PackedDecimal one = DocFlowDec(1), remaining = left;
    PutDec(row, DR::QtyLeft, one);
    while (DocFlowAboveZero(remaining)) {
        PackedDecimal toDeliver = one;
        if (available) {
            if (DecSign(&*available) < 0) DecSetZero(&*available);
            PutDec(row, DR::Available, *available);
            toDeliver = CutTo(one, *available);
            *available = DocFlowLess(*available, toDeliver);
        }
        PutDec(row, DR::ToDeliver, toDeliver);
        if (!AppendDeliveryRow(delivery, row)) return;
        if (!DocFlowAboveZero(toDeliver)) return;
        remaining = DocFlowLess(remaining, one);
    }
}

}  // namespace

// Fills the delivery from its order (see the header). Refused on the
// credit limit when block 205 asks for the check.
bool OrderToDelivery(uint8_t *delivery) {
    assert(delivery);
    RuleRecord order(Ord::Number);
    if (!order.record || !RecReadById(Ord::Number, GetU32(delivery, Del::OrderNr), order.record)) return false;
    uint8_t customer[256];
    GetText(order.record, Ord::CustCode, customer);
    const uint8_t *credit = SettingsRecord(CreditLimitBlk::Number, CreditLimitBlock);
    if (credit && GetU16(credit, CreditLimitBlk::DeliveryCheck) != 0 && CustomerOverCreditLimit(customer)) {
        ShowTextMessage(Texts::CreditLimitExceeded);
        return false;
    }
    PutU32(delivery, Del::OrderNr, GetU32(order.record, Ord::SerNr));
    PutText(delivery, Del::CustCode, customer);
    CopyCustomerAddress(delivery, customer);
    if (order.record[Ord::DelAddr0] != 0) DocFlowCopyLines(delivery, Del::DelAddr0, order.record, Ord::DelAddr0, 4);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(delivery, Del::LabelQty, blank);
    PutU32(delivery, Del::Value758, 0xFFFFFFFFu);
    DocFlowCopyText(delivery, Del::DelMode, order.record, Ord::DelMode);
    DocFlowCopyText(delivery, Del::LangCode, order.record, Ord::LangCode);
    DocFlowCopyText(delivery, Del::Project, order.record, Ord::Project);
    DocFlowCopyText(delivery, Del::Location, order.record, Ord::Location);
    uint8_t o[OR::Size];
    int32_t count = MatrixRowCount(Ord::Number, 0, order.record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Ord::Number, order.record, i, o)) continue;
        PackedDecimal left = DocFlowLess(GetDec(o, OR::Quantity), GetDec(o, OR::QtyDelivered));
        PackedDecimal price = GetDec(o, OR::Price);
        if (!DocFlowAboveZero(left) && !DecIsZero(&price)) continue;
        DeliveryRowsOfOrderRow(delivery, order.record, o, i, left);
    }
    return true;
}

// Fills the order from the quotation (see the header): first from the
// quotation's customer as a typed order is filled, then what the
// quotation names itself (its customer, address, terms and references as
// offered) over it, and its rows; today's date; nothing delivered or
// invoiced yet.
bool QuotationToOrder(uint8_t *order, uint32_t quotationId) {
    assert(order);
    RuleRecord quotation(Quo::Number), customer(CUVc::Number);
    if (!quotation.record || !RecReadById(Quo::Number, quotationId, quotation.record)) return false;
    const uint8_t *q = quotation.record;
    DocFlowCopyText(order, Ord::CustCode, q, Quo::CustCode);
    if (customer.record) (void)OrderCustomerFill(order, customer.record);
    struct TextCopy {
        uint32_t from, to;
        int max;
    };
    static constexpr TextCopy texts[] = {
        {Quo::CustCode, Ord::CustCode, 20},   {Quo::Text284, Ord::Text284, 20},     {Quo::Name2, Ord::Name2, 60},
        {Quo::PayTerms, Ord::PayTerms, 2},    {Quo::DiscCode, Ord::CustCat, 5},     {Quo::Objects, Ord::Objects, 30},
        {Quo::DelMode, Ord::DelMode, 5},      {Quo::SalesMan, Ord::SalesMan, 5},    {Quo::DelTerms, Ord::DelTerms, 5},
        {Quo::CurncyCode, Ord::CurncyCode, 5}, {Quo::LangCode, Ord::LangCode, 5},   {Quo::Project, Ord::Project, 20},
        {Quo::PriceList, Ord::PriceList, 5},  {Quo::VatCode, Ord::VatCode, 2},      {Quo::DiscCode2, Ord::DiscCode2, 5},
        {Quo::OurRef, Ord::OurRef, 20},    {Quo::Text922, Ord::Text1052, 20},    {Quo::CustPhone, Ord::CustPhone, 20},
        {Quo::PayerCode, Ord::InvoiceTo, 20}, {Quo::Reference, Ord::CustReference, 60},
    };
    for (const TextCopy &t : texts) DocFlowCopyText(order, t.to, q, t.from, t.max);
    DocFlowCopyLines(order, Ord::Addr0, q, Quo::CustName, 4);
    DocFlowCopyLines(order, Ord::DelAddr0, q, Quo::DelAddr0, 4);
    PutDate(order, Ord::OrdDate, TodayDate);
    PutU16(order, Ord::VatZone, GetU16(q, Quo::VatZone));
    PutU16(order, Ord::InclVat, GetU16(q, Quo::InclVat));
    uint8_t currency[256];
    GetText(q, Quo::CurncyCode, currency);
    PackedDecimal given = GetDec(q, Quo::Rate), rate;
    DocumentRate(currency, &TodayDate, &given, &rate);
    PutDec(order, Ord::Rate, rate);
    for (uint32_t at : {Ord::InvState, Ord::DelivComplete, Ord::Printed}) PutU16(order, at, 0);
    PutU16(order, Ord::Word428, 0);
    PutU16(order, Ord::Word754, 0);
    RecFreeMatrix(Ord::Number, order);
    PackedDecimal blank;
    DecSetBlank(&blank);
    uint8_t qr[QR::Size], o[OR::Size];
    int32_t count = MatrixRowCount(Quo::Number, 0, q);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Quo::Number, q, i, qr)) continue;
        std::memset(o, 0, sizeof o);
        PutU16(o, OR::Kind, uint16_t(DocRowKind::Item));
        DocFlowCopyText(o, OR::ItemCode, qr, QR::ItemCode);
        DocFlowCopyText(o, OR::Text, qr, QR::Text);
        DocFlowCopyText(o, OR::SalesAcc, qr, QR::SalesAcc);
        DocFlowCopyText(o, OR::VatCode, qr, QR::VatCode);
        DocFlowCopyText(o, OR::Objects, qr, QR::Objects);
        PutText(o, OR::StructCode, reinterpret_cast<const uint8_t *>("\x01_"));
        static constexpr std::pair<uint32_t, uint32_t> amounts[] = {
            {QR::Quantity, OR::Quantity}, {QR::Price, OR::Price},         {QR::Sum, OR::Sum},
            {QR::Discount, OR::Discount}, {QR::UnitCost, OR::UnitCost},   {QR::GrossProfit, OR::GrossProfit},
            {QR::PriceUnit, OR::PriceUnit},
        };
        for (auto [from, to] : amounts) PutDec(o, to, GetDec(qr, from));
        for (uint32_t at : {OR::QtyDelivered, OR::QtyShipped, OR::QtyInvoiced}) PutDec(o, at, blank);
        if (!MatrixRowPut(Ord::Number, 0, order, MatrixRowCount(Ord::Number, 0, order), o)) return false;
    }
    OrderTotals(order);
    StatusMarkOrder(order);
    return true;
}
