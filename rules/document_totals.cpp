// document_totals.cpp - the totals of sales and purchase documents from
// their rows, written into the documents' total fields.
//
// Sales documents share one row-sum rule (SalesRowSums) over the priced
// rows (kinds 1, 4 and 5; every row for the 268-byte document) and the
// record's extra amount. A document's VAT zone 0 charges VAT; any other
// zone charges none ("no-VAT"). With prices that include VAT the gross is
// the sum of the rows; without, it is net + VAT. Totals are rounded to the
// document's decimals (DocumentDecimals) and the difference is kept as the
// rounding amount; VAT is rounded to word 1 of the round-off block.
//
// Rows are read from the record's rows handle by whole rows only.
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/vat_currency.h"

namespace {

constexpr int VatCodeMax = 2;

// The rows of a document locked for one scope: whole rows of rowSize
// bytes; none for a record without a rows handle.
struct DocRows {
    MemBlock handle = 0;
    uint8_t *data = nullptr;
    int32_t count = 0;
    uint32_t size;
    DocRows(int reg, const uint8_t *record, uint32_t rowSize) : size(rowSize) {
        MemBlock h = RecMatrixHandle(reg, record);
        if (!h || !MemIsValid(h)) return;
        MemArrayLock(h, rowSize, &data, &count);
        if (data) handle = h;
        else count = 0;
    }
    ~DocRows() {
        if (handle) MemUnlock(handle);
    }
    DocRows(const DocRows &) = delete;
    DocRows &operator=(const DocRows &) = delete;
    const uint8_t *Row(int32_t i) const { return data + (size_t)i * size; }
};

// A priced row: one that enters the totals.
bool PricedKind(uint16_t word) {
    const DocRowKind kind = DocRowKind(word);
    return kind == DocRowKind::Item || kind == DocRowKind::Amount || kind == DocRowKind::DownPayment;
}

// A word of the round-off block taken within 0..3; 2 while it is unbound.
int RoundOffWord(uint32_t offset) {
    const uint8_t *block = SettingsRecord(RoundOffBlk::Number, RoundOffBlockData);
    int d = block ? GetU16(block, offset) : 2;
    return d > DecDecimals ? DecDecimals : d;
}

// Where a sales document keeps what its totals read and write.
struct SalesLayout {
    int reg;
    uint32_t rowSize, rowKind, rowAmount, rowVat;
    bool everyKind;                  // count rows of every kind
    bool hasExtra;                   // an extra amount with its own VAT code
    uint32_t extraAmount, extraVat;
    uint32_t inclusive, zone, currency;
    bool vatBySums;                  // VAT per code from the sums, with the extra percentages
    uint32_t rounding, net, vatFree, vat, gross;
    bool hasGrossBefore;
    uint32_t grossBefore;
};

constexpr SalesLayout InvoiceLayout = {
    IVVc::Number, IVVc::Rows::Size, IVVc::Rows::Kind, IVVc::Rows::Sum, IVVc::Rows::VatCode, false,
    true, IVVc::Freight, IVVc::FreightVat, IVVc::InclVat, IVVc::VatZone, IVVc::CurncyCode, true,
    IVVc::RoundOff, IVVc::Net, IVVc::VatFreeNet, IVVc::Vat, IVVc::Total, true, IVVc::TotalBeforeRound};
constexpr SalesLayout Doc268Layout = {
    SalesDocVc::Number, SalesDocVc::Rows::Size, 0 /* no kind word: every row counts */, SalesDocVc::Rows::Sum,
    SalesDocVc::Rows::VatCode, true, false, 0, 0, SalesDocVc::InclVat, SalesDocVc::VatZone,
    SalesDocVc::CurncyCode, true, SalesDocVc::RoundOff, SalesDocVc::NetTotal, SalesDocVc::VatFree,
    SalesDocVc::VatTotal, SalesDocVc::Total, true, SalesDocVc::TotalBeforeRound};
constexpr SalesLayout ContractLayout = {
    ContractVc::Number, ContractVc::Rows::Size, ContractVc::Rows::Kind, ContractVc::Rows::Sum,
    ContractVc::Rows::VatCode, false, true, ContractVc::Freight, ContractVc::FreightVat, ContractVc::InclVat,
    ContractVc::VatZone, ContractVc::CurncyCode, false, ContractVc::RoundOff, ContractVc::NetTotal,
    ContractVc::VatFree, ContractVc::VatTotal, ContractVc::Total, false, 0};
static_assert(SalesDocVc::Rows::Size == 268);

// The sums of a sales document's rows: all blank before the first row.
struct RowSums {
    PackedDecimal rounding, net, vatFree, vat, gross;
    RowSums() {
        for (PackedDecimal *p : {&rounding, &net, &vatFree, &vat, &gross}) DecSetBlank(p);
    }
};

// Adds one amount a with VAT code code to the sums and to the code's slot.
void SumAmount(RowSums &s, MemBlock slots, const uint8_t *code, const PackedDecimal &a, bool inclusive, bool noVat) {
    PackedDecimal v;
    if (inclusive) {
        DecAdd(&s.gross, &a, &s.gross);
        VatAmount(code, &a, &v, 1);
        DecAdd(&s.vat, &v, &s.vat);
        VatSumsAdd(slots, code, &a);
        if (noVat) DecSub(&s.gross, &v, &s.gross);
        if (DecIsZero(&v)) DecAdd(&s.vatFree, &a, &s.vatFree);
        else DecAdd(&s.net, &a, &s.net);
        return;
    }
    DecAdd(&s.net, &a, &s.net);
    if (noVat) return;
    VatAmount(code, &a, &v, 0);
    if (DecIsZero(&v)) DecAdd(&s.vatFree, &a, &s.vatFree);
    DecAdd(&s.vat, &v, &s.vat);
    VatSumsAdd(slots, code, &a);
}

// The row sums of a sales document: every counted row, then the extra
// amount when it is not zero.
void SalesRowSums(const uint8_t *doc, const SalesLayout &l, MemBlock slots, RowSums &s) {
    bool inclusive = GetU16(doc, l.inclusive) != 0;
    bool noVat = GetU16(doc, l.zone) != 0;
    uint8_t code[256];
    DocRows rows(l.reg, doc, l.rowSize);
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.Row(i);
        if (!l.everyKind && !PricedKind(GetU16(row, l.rowKind))) continue;
        GetPString(row, l.rowVat, VatCodeMax, code);
        SumAmount(s, slots, code, GetDec(row, l.rowAmount), inclusive, noVat);
    }
    if (!l.hasExtra) return;
    PackedDecimal extra = GetDec(doc, l.extraAmount);
    if (DecIsZero(&extra)) return;
    GetPString(doc, l.extraVat, VatCodeMax, code);
    SumAmount(s, slots, code, extra, inclusive, noVat);
}

// The totals of a sales document: row sums; VAT per code from the sums
// (or the rows' unrounded VAT) rounded to the VAT decimals; the gross
// (kept before rounding where the document has the field), rounded to the
// document's decimals with the difference added to the rounding amount;
// rounding, net and VAT-free part rounded to 2 decimals.
void SalesTotals(uint8_t *doc, const SalesLayout &l) {
    if (!doc) return;
    MemBlock slots = 0;
    VatSumsNew(&slots);
    RowSums s;
    SalesRowSums(doc, l, slots, s);
    PackedDecimal vat, extra;
    DecSetBlank(&extra);
    if (l.vatBySums) VatSumsTotal(slots, GetU16(doc, l.inclusive) != 0, &vat, &extra);
    else vat = s.vat;
    if (slots) {
        MemUnlock(slots);
        MemFree(&slots);
    }
    DecRound(&vat, RoundOffWord(RoundOffBlock::VatDecimals), &vat);
    uint8_t currency[256];
    GetPString(doc, l.currency, 5, currency);
    int d = DocumentDecimals(currency);
    if (l.hasGrossBefore) PutDec(doc, l.grossBefore, s.gross);
    PackedDecimal gross;
    if (GetU16(doc, l.inclusive) != 0) {
        DecAdd(&s.gross, &extra, &gross);
    } else {
        DecAdd(&s.net, &vat, &gross);
        DecAdd(&gross, &extra, &gross);
    }
    PackedDecimal rounded, diff;
    DecRound(&gross, d, &rounded);
    DecSub(&rounded, &gross, &diff);
    DecAdd(&s.rounding, &diff, &s.rounding);
    DecRound(&s.rounding, 2, &s.rounding);
    DecRound(&s.net, 2, &s.net);
    DecRound(&s.vatFree, 2, &s.vatFree);
    PutDec(doc, l.rounding, s.rounding);
    PutDec(doc, l.net, s.net);
    PutDec(doc, l.vatFree, s.vatFree);
    PutDec(doc, l.vat, vat);
    PutDec(doc, l.gross, rounded);
}

// Where an order-like document keeps what its totals read and write.
struct OrderLayout {
    int reg;
    uint32_t rowSize, rowKind, rowAmount, rowVat;
    uint32_t inclusive, zone, currency, net, vat, total;
};
constexpr OrderLayout SalesOrderLayout = {ORVc::Number, ORVc::Rows::Size, ORVc::Rows::Kind, ORVc::Rows::Sum,
                                          ORVc::Rows::VatCode, ORVc::InclVat, ORVc::VatZone, ORVc::CurncyCode,
                                          ORVc::Net, ORVc::Vat, ORVc::Total};
constexpr OrderLayout QuotationLayout = {
    QuotationVc::Number, QuotationVc::Rows::Size, QuotationVc::Rows::Kind, QuotationVc::Rows::Sum,
    QuotationVc::Rows::VatCode, QuotationVc::InclVat, QuotationVc::VatZone, QuotationVc::CurncyCode,
    QuotationVc::NetTotal, QuotationVc::VatTotal, QuotationVc::Total};

// Totals of an order or quotation: net = the priced rows' sum; VAT per
// code from the sums, rounded to the VAT decimals; in a no-VAT zone the
// total is net - VAT with prices including VAT, else net, and VAT blank;
// otherwise net with prices including VAT, else net + VAT. The total is
// rounded to the document's decimals.
void OrderLikeTotals(uint8_t *doc, const OrderLayout &l) {
    if (!doc) return;
    bool inclusive = GetU16(doc, l.inclusive) != 0;
    bool noVat = GetU16(doc, l.zone) != 0;
    MemBlock slots = 0;
    VatSumsNew(&slots);
    PackedDecimal net, vat, total;
    DecSetBlank(&net);
    {
        uint8_t code[256];
        DocRows rows(l.reg, doc, l.rowSize);
        for (int32_t i = 0; i < rows.count; i++) {
            const uint8_t *row = rows.Row(i);
            if (!PricedKind(GetU16(row, l.rowKind))) continue;
            PackedDecimal a = GetDec(row, l.rowAmount);
            DecAdd(&net, &a, &net);
            GetPString(row, l.rowVat, VatCodeMax, code);
            VatSumsAdd(slots, code, &a);
        }
    }
    VatSumsTotal(slots, inclusive, &vat, nullptr);
    if (slots) {
        MemUnlock(slots);
        MemFree(&slots);
    }
    DecRound(&vat, RoundOffWord(RoundOffBlock::VatDecimals), &vat);
    if (noVat) {
        if (inclusive) DecSub(&net, &vat, &total);
        else total = net;
        DecSetBlank(&vat);
    } else {
        if (inclusive) total = net;
        else DecAdd(&net, &vat, &total);
    }
    uint8_t currency[256];
    GetPString(doc, l.currency, 5, currency);
    DecRound(&total, DocumentDecimals(currency), &total);
    PutDec(doc, l.net, net);
    PutDec(doc, l.vat, vat);
    PutDec(doc, l.total, total);
}

}  // namespace

// Totals of a sales invoice (register 5), with the freight as its extra
// amount.
void DocTotalsRound(uint8_t *invoice) { SalesTotals(invoice, InvoiceLayout); }

// Totals of the sales document with 268-byte rows (register 127), every
// row counted.
void DocTotals268(uint8_t *document) { SalesTotals(document, Doc268Layout); }

// Totals of a contract (register 45): VAT is the rows' unrounded VAT,
// rounded once to the VAT decimals.
void ContractTotals(uint8_t *contract) { SalesTotals(contract, ContractLayout); }

// Totals of a sales order (register 7).
void OrderTotals(uint8_t *order) { OrderLikeTotals(order, SalesOrderLayout); }

// Totals of a quotation (register 55).
void QuotationTotals(uint8_t *quotation) { OrderLikeTotals(quotation, QuotationLayout); }

bool PurchaseOrderRowVatDefault(const uint8_t *order, uint8_t *row) {
    namespace R = PurchOrderVc::Rows;
    uint8_t code[256], item[256];
    GetText(row, R::VatCode, code);
    GetText(row, R::ItemCode, item);
    if (code[0] != 0 || item[0] == 0) return false;
    ItemVatCode(item, GetU16(order, PurchOrderVc::VatZone), code);
    if (code[0] == 0) return false;
    PutText(row, R::VatCode, code);
    return true;
}

// Totals of a purchase order (register 58): net = the priced rows' sum,
// VAT the sum of each row's decimal VAT (prices without VAT) rounded to
// the VAT decimals, blank in a no-VAT zone; total = net + VAT rounded to
// the document's decimals. A row counts VAT by the code it will be
// stored with (its item's when it has none); a row left without a code
// counts none, as the check refuses it.
void PurchaseOrderTotals(uint8_t *order) {
    if (!order) return;
    bool noVat = GetU16(order, PurchOrderVc::VatZone) != 0;
    PackedDecimal net, vat, total;
    DecSetBlank(&net);
    DecSetBlank(&vat);
    {
        uint8_t code[256];
        DocRows rows(PurchOrderVc::Number, order, PurchOrderVc::Rows::Size);
        for (int32_t i = 0; i < rows.count; i++) {
            const uint8_t *row = rows.Row(i);
            if (!PricedKind(GetU16(row, PurchOrderVc::Rows::Kind))) continue;
            PackedDecimal a = GetDec(row, PurchOrderVc::Rows::Sum), v;
            DecAdd(&net, &a, &net);
            uint8_t own[PurchOrderVc::Rows::Size];
            std::memcpy(own, row, sizeof own);
            PurchaseOrderRowVatDefault(order, own);
            GetText(own, PurchOrderVc::Rows::VatCode, code);
            if (code[0] == 0) continue;
            VatAmountDec(code, &a, &v, 0);
            DecAdd(&vat, &v, &vat);
        }
    }
    DecRound(&vat, RoundOffWord(RoundOffBlock::VatDecimals), &vat);
    if (noVat) DecSetBlank(&vat);
    DecAdd(&net, &vat, &total);
    uint8_t currency[256];
    GetText(order, PurchOrderVc::CurncyCode, currency);
    DecRound(&total, DocumentDecimals(currency), &total);
    PutDec(order, PurchOrderVc::NetTotal, net);
    PutDec(order, PurchOrderVc::VatTotal, vat);
    PutDec(order, PurchOrderVc::Total, total);
}

// Total of a customer receipt (register 10): the sum of the rows of kind 1
// with a clear flag word, and its home-currency amount less the further
// amount.
void DocRowsTotal(uint8_t *receipt) {
    if (!receipt) return;
    PackedDecimal total;
    DecSetBlank(&total);
    {
        DocRows rows(IPVc::Number, receipt, IPVc::Rows::Size);
        for (int32_t i = 0; i < rows.count; i++) {
            const uint8_t *row = rows.Row(i);
            if (PaidRowKind(GetU16(row, IPVc::Rows::Kind)) != PaidRowKind::Paid ||
                GetU16(row, IPVc::Rows::Flag) != 0) continue;
            PackedDecimal a = GetDec(row, IPVc::Rows::Amount);
            DecAdd(&total, &a, &total);
        }
    }
    PutDec(receipt, IPVc::Total, total);
    PackedDecimal rate = GetDec(receipt, IPVc::Rate), further = GetDec(receipt, IPVc::FurtherAmount), home;
    AmountTimesRate(&total, &rate, &home);
    DecSub(&home, &further, &home);
    PutDec(receipt, IPVc::AmountRec, home);
}

// Totals of an item structure (register 76): for each component the two
// costs summed, times the component's quantity into the first total and
// times its second quantity into the second.
// A total that leaves the decimal range - a product of two given values,
// or the sum itself - is blank and stays blank: added as zero it would
// silently leave that component out.
void ItemStructureTotals(uint8_t *structure) {
    if (!structure) return;
    PackedDecimal out, in;
    DecSetZero(&out);
    DecSetZero(&in);
    bool outOfRange[2] = {false, false};
    // Adds cost x quantity to a total; an empty factor adds nothing.
    auto addProduct = [](PackedDecimal *total, bool *lost, const PackedDecimal *cost, const PackedDecimal *qty) {
        if (*lost || DecIsBlank(cost) || DecIsBlank(qty)) return;
        PackedDecimal p;
        DecMul(cost, qty, &p);
        if (!DecIsBlank(&p)) DecAdd(total, &p, total);
        *lost = DecIsBlank(&p) || DecIsBlank(total);
    };
    {
        DocRows rows(StructureVc::Number, structure, StructureVc::Rows::Size);
        for (int32_t i = 0; i < rows.count; i++) {
            const uint8_t *row = rows.Row(i);
            PackedDecimal c1 = GetDec(row, StructureVc::Rows::Cost), c2 = GetDec(row, StructureVc::Rows::Cost2), c;
            DecAdd(&c1, &c2, &c);
            PackedDecimal q1 = GetDec(row, StructureVc::Rows::Quantity), q2 = GetDec(row, StructureVc::Rows::QuantityIn);
            addProduct(&out, &outOfRange[0], &c, &q1);
            addProduct(&in, &outOfRange[1], &c, &q2);
        }
    }
    if (outOfRange[0]) DecSetBlank(&out);
    if (outOfRange[1]) DecSetBlank(&in);
    PutDec(structure, StructureVc::Total94, out);
    PutDec(structure, StructureVc::Total106, in);
}

// Quantity and value sums of a purchase (register 4): the rows' quantities,
// and their quantities times unit costs; both blank with no rows.
void PurchaseRowTotals(uint8_t *purchase) {
    if (!purchase) return;
    PackedDecimal qty, value;
    DecSetBlank(&qty);
    DecSetBlank(&value);
    {
        DocRows rows(PUVc::Number, purchase, PUVc::Rows::Size);
        for (int32_t i = 0; i < rows.count; i++) {
            const uint8_t *row = rows.Row(i);
            PackedDecimal q = GetDec(row, PUVc::Rows::Quantity), cost = GetDec(row, PUVc::Rows::UnitCost), v;
            DecAdd(&qty, &q, &qty);
            DecMul(&q, &cost, &v);
            DecAdd(&value, &v, &value);
        }
    }
    PutDec(purchase, PUVc::QtySum, qty);
    PutDec(purchase, PUVc::ValueSum, value);
}

// The amount converted by rate; for kind 1 less the VAT share of the
// item's VAT code (zone 0, prices including VAT); plus the charge text as
// AddAmountOrPercent adds it. A blank amount with no charge gives blank;
// with a charge it counts as zero.
void NetAmountPlusCharge(const uint8_t *item, const PackedDecimal *amount, int kind, const uint8_t *charge,
                         const PackedDecimal *rate, PackedDecimal *result) {
    if (!result) return;
    bool noCharge = !charge || charge[0] == 0;
    if (!amount || (DecIsBlank(amount) && noCharge)) {
        DecSetBlank(result);
        return;
    }
    PackedDecimal c;
    AmountTimesRate(amount, rate, &c);
    if (DecIsBlank(&c)) DecSetZero(&c);   // a charge on no amount is the charge alone
    if (kind == 1) {
        uint8_t code[VatCodeMax + 1];
        ItemVatCode(item, 0, code);
        PackedDecimal share;
        VatAmount(code, &c, &share, 1);
        DecSub(&c, &share, &c);
    }
    AddAmountOrPercent(&c, charge, result);
}
