// convert_document.cpp - ConvertDocument: the source locked or not, the
// target's defaults, its number from the series, the fill, and the insert
// with the hooks; the kinds that run a routine on the record; and the
// purchase made from a purchase order, which approve kind 35 also uses.
#include "rules/convert_document.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/order_conversion.h"
#include "operations/project_ops.h"
#include "rules/ledger.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

// One kind that makes a document: where the target keeps the source's id
// (linkAt; equal to serialAt when the link is the target's own serial
// field), its serial and numbering date, its series hints, and whether
// the fill runs before the number is drawn.
struct MakeCase {
    int16_t source, target;
    uint32_t linkAt, serialAt, dateAt;
    uint32_t userHintAt, blockHintAt;
    bool fillFirst;
};

// By kind; target 0: the kind makes no document.
constexpr MakeCase MakeCases[ConvertKindLast + 1] = {
    {},
    {ORVc::Number, SHVc::Number, SHVc::OrderNr, SHVc::SerNr, SHVc::ShipDate, SU::SeriesA + 4,
     SeriesDefaultsBlk::DeliveryHint, false},
    {ORVc::Number, IVVc::Number, IVVc::OrderNr, IVVc::SerNr, IVVc::TransDate, SU::SeriesA + 8,
     SeriesDefaultsBlk::InvoiceHint, true},
    {QuotationVc::Number, ORVc::Number, ORVc::SerNr, ORVc::SerNr, ORVc::OrdDate, SU::SeriesA,
     SeriesDefaultsBlk::OrderHint, false},
    {ORVc::Number, IVVc::Number, IVVc::OrderNr, IVVc::SerNr, IVVc::TransDate, SU::SeriesA + 8,
     SeriesDefaultsBlk::InvoiceHint, true},
    {}, {}, {},
    {PurchOrderVc::Number, PUVc::Number, PUVc::POSerNr, PUVc::SerNr, PUVc::TransDate, SuPurchaseHint,
     SeriesDefaultsBlk::PurchHint, false},
    {}, {},
    // The purchase invoice draws from its own series' start, as the
    // purchase-invoice window does.
    {PurchOrderVc::Number, VIVc::Number, VIVc::SerNr, VIVc::SerNr, VIVc::TransDate, SU::SeriesB + 4,
     SeriesDefaultsBlk::PurchInvStart, false},
};

bool KindInRange(int kind) { return kind >= ConvertKindFirst && kind <= ConvertKindLast; }

// Runs the fill of a making kind; false when it left the target unfilled.
bool Fill(int kind, uint8_t *record, uint32_t sourceId) {
    switch (kind) {
    case ConvertOrderToDelivery: return OrderToDelivery(record);
    case ConvertOrderToInvoice: return OrderToInvoice(record) == 1;
    case ConvertQuotationToOrder: return QuotationToOrder(record, sourceId);
    case ConvertOrderToDownPayment: DownPaymentInvoiceFromOrder(record); return true;
    case ConvertPurchaseOrderToPurchase: return PurchaseOrderToPurchase(record);
    case ConvertPurchaseOrderToPurchaseInvoice: return PurchaseOrderToPurchaseInvoice(record, sourceId);
    default: return false;
    }
}

// Draws the target's number when it still asks for one; false when no
// number is free.
bool NumberTarget(const MakeCase &c, uint8_t *record) {
    uint32_t serial = GetU32(record, c.serialAt);
    if (!NeedsNumber(serial) && serial != 0) return true;
    DateRec date = GetDate(record, c.dateAt);
    int32_t number = NextSerialNumber(c.target, &date, SeriesHint(c.userHintAt, c.blockHintAt), 0);
    if (number == NoFreeNumber) return false;
    PutU32(record, c.serialAt, (uint32_t)number);
    return true;
}

// True when a delivery or an invoice made from an order carries goods or
// an amount: a row with something left to deliver, or an invoice row
// with a quantity or a sum. Text rows alone (they always pass) are no
// reason to make a document.
bool CarriesSomething(int reg, const uint8_t *record) {
    uint32_t at = reg == SHVc::Number ? SHVc::Rows::QtyLeft : IVVc::Rows::Quantity;
    std::vector<uint8_t> row(RecRowSize(reg));
    int32_t count = MatrixRowCount(reg, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, record, i, row.data())) continue;
        PackedDecimal q = GetDec(row.data(), at);
        if (DocFlowAboveZero(q)) return true;
        if (reg == IVVc::Number) {
            PackedDecimal sum = GetDec(row.data(), IVVc::Rows::Sum);
            if (!DecIsZero(&sum)) return true;
        }
    }
    return false;
}

// The kinds that make a document (see ConvertDocument).
bool MakeDocument(int kind, uint8_t *record, uint32_t *newRecid) {
    const MakeCase &c = MakeCases[kind];
    uint32_t sourceId = GetU32(record, c.linkAt);
    {
        RuleRecord source(c.source);
        if (!source.record || !RecReadById(c.source, sourceId, source.record)) return false;
    }
    if (RecordLocked(c.source, sourceId)) return false;
    RecClear(c.target, record);
    NewRecordDefaults(c.target, record);
    // The link that is the target's own serial field is the source's id
    // only until the fill has it; the target is numbered afresh.
    PutU32(record, c.linkAt, c.linkAt == c.serialAt ? SerialNone : sourceId);
    if (kind == ConvertOrderToInvoice) PutU16(record, IVVc::UpdStock, 0);
    if (!c.fillFirst && !NumberTarget(c, record)) return false;
    if (!Fill(kind, record, sourceId)) return false;
    if (c.fillFirst && !NumberTarget(c, record)) return false;
    // A target without rows (a delivery refused on the credit limit, an
    // order with nothing left) or without a number is not stored.
    if (RecMatrixHandle(c.target, record) == 0 || MatrixRowCount(c.target, 0, record) == 0) return false;
    if ((kind == ConvertOrderToDelivery || kind == ConvertOrderToInvoice) && !CarriesSomething(c.target, record))
        return false;
    if (NeedsNumber(GetU32(record, c.serialAt))) return false;
    uint32_t recid = 0;
    if (!RecInsertUnchecked(c.target, record, &recid) || recid == 0) return false;
    *newRecid = recid;
    return true;
}

// The 20-character code at `at` of base, upper case.
void UpperCode(uint8_t *base, uint32_t at) {
    uint8_t code[256];
    GetPString(base, at, 20, code);
    UpperPString(code);
    PutPString(base, at, 20, code);
}

// What is still to come of a purchase-order row: ordered less what is
// already on purchases or received, whichever is more (a purchase not yet
// received still holds its quantity).
PackedDecimal StillToCome(const uint8_t *row) {
    PackedDecimal received = GetDec(row, PurchOrderVc::Rows::QtyReceived);
    PackedDecimal onPurchases = GetDec(row, PurchOrderVc::Rows::QtyOnPurchases);
    if (DecIsBlank(&received)) DecSetZero(&received);
    if (!DecIsBlank(&onPurchases) && DecCompare(&onPurchases, &received) > 0) received = onPurchases;
    return DocFlowLess(GetDec(row, PurchOrderVc::Rows::Quantity), received);
}

// The purchase row of quantity units of purchase-order row number i.
void PurchaseRowFromOrderRow(const uint8_t *purchase, const uint8_t *o, int32_t i, const PackedDecimal &quantity,
                             uint8_t *row) {
    namespace R = PUVc::Rows;
    namespace POR = PurchOrderVc::Rows;
    std::memset(row, 0, R::Size);
    DocFlowCopyText(row, R::ItemCode, o, POR::ItemCode);
    UpperCode(row, R::ItemCode);
    PutDec(row, R::Quantity, quantity);
    DocFlowCopyText(row, R::Text, o, POR::Text);
    PutText(row, R::SerialNr, EmptyPString);
    // The price of one unit net of the row's discount.
    PackedDecimal price = GetDec(o, POR::Price), unit = GetDec(o, POR::PriceUnit), one = DocFlowDec(1);
    if (!DecIsZero(&unit)) DecDiv(&price, &unit, &price);
    PackedDecimal discount = GetDec(o, POR::Discount), blank, net;
    DecSetBlank(&blank);
    DecRowAmount(&one, &price, &blank, &discount, &net);
    PutDec(row, R::Price, net);
    PutText(row, R::Charge, EmptyPString);
    uint8_t item[256];
    GetText(row, R::ItemCode, item);
    PackedDecimal rate = GetDec(purchase, PUVc::Rate), cost;
    NetAmountPlusCharge(item, &net, GetU16(purchase, PUVc::VatKind), EmptyPString, &rate, &cost);
    PutDec(row, R::UnitCost, cost);
    PutU32(row, R::PORowNr, (uint32_t)i);
    DocFlowCopyText(row, R::PORowCode, o, POR::VendItemCode);
}

}  // namespace

int ConvertKindRegister(int kind) {
    if (!KindInRange(kind)) return -1;
    switch (kind) {
    case ConvertBudgetByKey: return BUVc::Number;
    case ConvertBudgetByDates: return BPVc::Number;
    case ConvertProjectToInvoice: return ProjectVc::Number;
    case ConvertRowCosts: return StockMoveVc::Number;
    default: return MakeCases[kind].target != 0 ? MakeCases[kind].target : -1;
    }
}

int ConvertKindSource(int kind) {
    return KindInRange(kind) && MakeCases[kind].target != 0 ? MakeCases[kind].source : -1;
}

// Runs kind on record (see the header).
bool ConvertDocument(int kind, int unused, uint8_t *record, uint32_t *newRecid) {
    (void)unused;
    uint32_t ignored = 0;
    if (!newRecid) newRecid = &ignored;
    *newRecid = SerialNone;
    if (!record || !KindInRange(kind)) return false;
    switch (kind) {
    case ConvertBudgetByKey: BudgetRowsByKey(record); return true;
    case ConvertBudgetByDates: BudgetRowsByDates(record); return true;
    case ConvertRowCosts: ConvertRowCost(record); return true;
    case ConvertProjectToInvoice: {
        uint8_t code[256];
        GetText(record, ProjectVc::Code, code);
        return ProjectPlanInvoiceRun(code, newRecid);
    }
    default: break;
    }
    if (MakeCases[kind].target == 0) return false;
    return MakeDocument(kind, record, newRecid);
}

bool ConvertDocumentLocal(int reg, int kind, uint8_t *record, uint32_t *newRecid) {
    if (newRecid) *newRecid = SerialNone;
    if (ConvertKindRegister(kind) < 0 || reg != ConvertKindRegister(kind)) return false;
    return ConvertDocument(kind, 0, record, newRecid);
}

bool ConvertDocumentCall(int reg, int kind, uint8_t *record, uint32_t *newRecid) {
    if (!RunModeIsClient()) {
        // Asked as one write of the register it makes, as a server asks
        // the conversion request: what it writes in turn passes.
        WriteOperation converting(ReqConvertDocument, reg);
        if (converting.refused) {
            if (newRecid) *newRecid = SerialNone;
            return false;
        }
        return ConvertDocumentLocal(reg, kind, record, newRecid);
    }
    uint32_t id = SerialNone;
    if (!ConvertDocumentRemote(reg, kind, record, &id)) return false;
    if (newRecid) *newRecid = id;
    return id != SerialNone || (ConvertKindRegister(kind) >= 0 && ConvertKindSource(kind) < 0);
}

// Fills the purchase from its purchase order (see the header).
bool PurchaseOrderToPurchase(uint8_t *purchase) {
    assert(purchase);
    namespace PO = PurchOrderVc;
    RuleRecord order(PO::Number), item(INVc::Number);
    if (!order.record || !item.record) return false;
    if (!RecReadById(PO::Number, GetU32(purchase, PUVc::POSerNr), order.record)) return false;
    const uint8_t *po = order.record;
    if (GetU16(po, PO::Closed) != 0) return false;
    PutU32(purchase, PUVc::POSerNr, GetU32(po, PO::SerNr));
    DocFlowCopyText(purchase, PUVc::VendCode, po, PO::VendCode);
    UpperCode(purchase, PUVc::VendCode);
    DocFlowCopyText(purchase, PUVc::VendName, po, PO::VendName);
    DocFlowCopyText(purchase, PUVc::Text, po, PO::Contact);
    DocFlowCopyText(purchase, PUVc::Currency, po, PO::CurncyCode);
    DocFlowCopyText(purchase, PUVc::Location, po, PO::Location);
    uint8_t currency[256];
    GetText(po, PO::CurncyCode, currency);
    DateRec date = GetDate(purchase, PUVc::TransDate);
    PackedDecimal given = GetDec(po, PO::Rate), rate;
    DocumentRate(currency, &date, &given, &rate);
    PutDec(purchase, PUVc::Rate, rate);
    RecFreeMatrix(PUVc::Number, purchase);
    uint8_t o[PO::Rows::Size], row[PUVc::Rows::Size], code[256];
    PackedDecimal one = DocFlowDec(1);
    int32_t count = MatrixRowCount(PO::Number, 0, po);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PO::Number, po, i, o) || o[PO::Rows::ItemCode] == 0) continue;
        PackedDecimal left = StillToCome(o);
        GetText(o, PO::Rows::ItemCode, code);
        if (!DocFlowAboveZero(left) || !DocFlowReadByCode(INVc::Number, INVc::Code, 20, code, item.record)) continue;
        bool perUnit = GetU16(item.record, INVc::SerialMode) == 1;
        // A unit at a time for serial-numbered items: 2.5 units give three.
        while (DocFlowAboveZero(left)) {
            PurchaseRowFromOrderRow(purchase, o, i, perUnit ? one : left, row);
            if (!MatrixRowPut(PUVc::Number, 0, purchase, MatrixRowCount(PUVc::Number, 0, purchase), row)) return false;
            left = perUnit ? DocFlowLess(left, one) : DocFlowDec(0);
        }
    }
    PurchaseRowTotals(purchase);
    return true;
}

bool CopyCustomerAddress(uint8_t *delivery, const uint8_t *customerCode) {
    assert(delivery && customerCode);
    RuleRecord customer(CUVc::Number);
    if (!customer.record || !DocFlowReadByCode(CUVc::Number, CUVc::Code, 20, customerCode, customer.record))
        return false;
    const uint8_t *c = customer.record;
    DocFlowCopyText(delivery, SHVc::DelAddr0, c, CUVc::Name);
    bool noDeliveryAddress = c[CUVc::DelAddr1] == 0 && c[CUVc::DelAddr2] == 0 && c[CUVc::DelAddr3] == 0;
    DocFlowCopyLines(delivery, SHVc::DelAddr1, c, noDeliveryAddress ? CUVc::Addr1 : CUVc::DelAddr1, 3);
    return true;
}

// Approve kind 35: the purchase's insert hooks put its quantities on the
// purchase order and store it, so the order read here is not written back.
ApproveResult ApprovePurchaseOrderToPurchase(int reg, uint8_t *order, uint32_t recid) {
    (void)order;
    if (reg != PurchOrderVc::Number) return ApproveResult::Unchanged;
    RuleRecord purchase(PUVc::Number);
    if (!purchase.record) return ApproveResult::Unchanged;
    PutU32(purchase.record, PUVc::POSerNr, recid);
    uint32_t made = SerialNone;
    ConvertDocument(ConvertPurchaseOrderToPurchase, 0, purchase.record, &made);
    return ApproveResult::Unchanged;
}
