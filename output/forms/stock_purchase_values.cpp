// stock_purchase_values.cpp - the values of the stock movement (-20),
// purchase (-22), purchase label (-23), item label (-21) and payment
// reminder (-4) documents, and the look-ups they share.
//
// The row codes read the document's row of the field; a row outside the
// document, a missing item, location or vendor prints empty.
#include <cassert>
#include <cstring>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/sales_invoice.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "rules/invoice_kind.h"
#include "rules/vat_currency.h"

namespace {
constexpr int CodeMax = 20, LocationCodeMax = 10, TextMax = 60, AddressStep = 62;

// The two stock locations of the stock movement being printed.
uint8_t FromLocation[LocationVc::Size], ToLocation[LocationVc::Size];

void Amount(PackedDecimal d, uint16_t type, uint8_t *out) { FieldToText((const uint8_t *)&d, type, out); }

PackedDecimal Times(PackedDecimal a, PackedDecimal b) {
    PackedDecimal r;
    DecMul(&a, &b, &r);
    return r;
}

// The item (register 3) of the row's item code at `at`; false, item
// cleared, when missing.
bool RowItem(const uint8_t *row, size_t at, uint8_t *item) {
    uint8_t code[256];
    GetPString(row, at, CodeMax, code);
    bool found = DocReadByCode(INVc::Number, INVc::Code, code, item);
    if (found) RecFreeMatrix(INVc::Number, item);
    return found;
}

// The item codes every row document shares: the code as it is, with
// blanks shown, in bar-code brackets and as EAN-13 digits; the quantity
// and the two texts. False for any other code.
bool ItemRowCode(const uint8_t *row, size_t itemAt, size_t qtyAt, size_t textAt, size_t text2At, int16_t code,
                 uint8_t *out) {
    uint8_t value[256];
    switch (code) {
    case 8: GetPString(row, itemAt, CodeMax, out); return true;
    case 9: FieldToText(row + itemAt, FtUnderscoreText, out); return true;
    case 10: GetPString(row, itemAt, CodeMax, value); BracketText(value, out); return true;
    case 11: GetPString(row, itemAt, CodeMax, value); Ean13Digits(value, out); return true;
    case 13: FieldToText(row + qtyAt, FtAmount3, out); return true;
    case 14: GetPString(row, textAt, TextMax, out); return true;
    case 43: GetPString(row, text2At, 30, out); return true;
    case 118: GetPString(row, text2At, 30, value); BracketText(value, out); return true;
    default: return false;
    }
}

// Reads the location of code (or of block 203's main location when
// empty) into loc; cleared when missing.
void ReadLocation(const uint8_t *record, size_t at, uint8_t *loc) {
    uint8_t code[256];
    GetPString(record, at, LocationCodeMax, code);
    if (code[0] == 0) {
        uint8_t block[MainStockBlk::Size];
        if (SettingsBlockRead(MainStockBlk::Number, block, sizeof block))
            GetText(block, MainStockBlk::MainLocation, code);
    }
    DocReadByCode(LocationVc::Number, LocationVc::Code, code, loc);
}

// The sum over the document's rows of f(row).
template <typename F>
PackedDecimal RowSum(int reg, const uint8_t *record, uint32_t rowSize, F f) {
    PackedDecimal sum;
    DecSetZero(&sum);
    uint8_t row[256];
    assert(rowSize <= sizeof row);
    for (int32_t i = 0, n = MatrixRowCount(reg, 0, record); i < n; i++)
        if (MatrixRowRead(reg, record, i, row)) {
            PackedDecimal v = f(row);
            DecAdd(&sum, &v, &sum);
        }
    return sum;
}

// The item's price net of VAT when block 133's prices include VAT (code
// 190 of the purchase document).
PackedDecimal NetPrice(const uint8_t *item) {
    PackedDecimal price = GetDec(item, INVc::BasePrice), net = price;
    uint8_t block[SalesAccountsBlk::Size];
    if (SettingsBlockRead(SalesAccountsBlk::Number, block, sizeof block) &&
        GetI16(block, SalesAccountsBlk::PricesInclVat) != 0) {
        uint8_t code[256], vatcode[256];
        GetText(item, INVc::Code, code);
        ItemVatCode(code, 0, vatcode);
        NetOfTax(vatcode, &price, 1, &net);
    }
    return net;
}
}  // namespace

// Reads the two locations of the stock movement for its print.
void StockMoveLoad(const uint8_t *move) {
    ReadLocation(move, StockMoveVc::FromLocation, FromLocation);
    ReadLocation(move, StockMoveVc::ToLocation, ToLocation);
}

void StockMoveFieldValue(const uint8_t *move, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(move && out);
    (void)param;
    uint8_t r[StockMoveVc::Rows::Size], item[INVc::Size] = {};
    const bool hasRow = row >= 0 && MatrixRowRead(StockMoveVc::Number, move, row, r);
    namespace R = StockMoveVc::Rows;
    switch (code) {
    case 69: GetText(move, StockMoveVc::Text, out); return;
    case 99: FieldToText(move + StockMoveVc::MoveDate, FtDate, out); return;
    case 100: FieldToText(move + StockMoveVc::SerNr, FtLongOrEmpty, out); return;
    case 183: case 184:
        out[0] = 0;
        if (row >= 1 && row <= 3)
            GetPString(code == 183 ? FromLocation : ToLocation, LocationVc::Addr0 + (size_t)row * AddressStep, TextMax, out);
        return;
    case 192: case 193: GetText(code == 192 ? FromLocation : ToLocation, LocationVc::Addr0, out); return;
    case 195: case 194: GetText(code == 195 ? FromLocation : ToLocation, LocationVc::Text328, out); return;
    case 197: case 196: GetText(code == 197 ? FromLocation : ToLocation, LocationVc::Text350, out); return;
    case 199: case 198: GetText(code == 199 ? FromLocation : ToLocation, LocationVc::Text266, out); return;
    case 200: GetText(move, StockMoveVc::FromLocation, out); return;
    case 201: GetText(move, StockMoveVc::ToLocation, out); return;
    case 202:
        Amount(RowSum(StockMoveVc::Number, move, R::Size, [&](const uint8_t *x) {
                   PackedDecimal z;
                   DecSetZero(&z);
                   return RowItem(x, R::ItemCode, item) ? Times(GetDec(item, INVc::BasePrice), GetDec(x, R::Quantity)) : z;
               }), FtAmount2, out);
        return;
    case 203:
        Amount(RowSum(StockMoveVc::Number, move, R::Size,
                      [](const uint8_t *x) { return Times(GetDec(x, R::Quantity), GetDec(x, R::UnitCost)); }),
               FtAmount2, out);
        return;
    case 204:
        Amount(RowSum(StockMoveVc::Number, move, R::Size, [](const uint8_t *x) { return GetDec(x, R::Quantity); }),
               FtAmount3, out);
        return;
    default: break;
    }
    const bool rowCode = (code >= 8 && code <= 11) || code == 13 || code == 14 || code == 43 || code == 118 ||
                         (code >= 185 && code <= 188);
    if (!rowCode) return;
    out[0] = 0;
    if (!hasRow) return;
    if (ItemRowCode(r, R::ItemCode, R::Quantity, R::Text, R::SerialNr, code, out)) return;
    switch (code) {
    case 185: FieldToText(r + R::UnitCost, FtAmount2, out); return;
    case 186: if (RowItem(r, R::ItemCode, item)) FieldToText(item + INVc::BasePrice, FtAmount2, out); return;
    case 187:
        if (RowItem(r, R::ItemCode, item)) Amount(Times(GetDec(item, INVc::BasePrice), GetDec(r, R::Quantity)), FtAmount2, out);
        return;
    case 188: Amount(Times(GetDec(r, R::Quantity), GetDec(r, R::UnitCost)), FtAmount2, out); return;
    default: return;
    }
}

// The purchase document's values (label false) or the purchase label's
// (label true: the label's row, the vendor's first line, the sum).
void PurchaseValue(const uint8_t *pu, bool label, int16_t code, int16_t row, uint8_t *out) {
    namespace R = PUVc::Rows;
    uint8_t r[R::Size], item[INVc::Size] = {}, vendor[VEVc::Size] = {}, text[256];
    const bool hasRow = row >= 0 && MatrixRowRead(PUVc::Number, pu, row, r);
    switch (code) {
    case 2:
        out[0] = 0;
        GetText(pu, PUVc::VendCode, text);
        if (!DocReadByCode(VEVc::Number, VEVc::Code, text, vendor)) return;
        if (label) GetText(vendor, VEVc::Addr1, out);
        else if (row >= 1 && row <= 3) GetPString(vendor, VEVc::Addr1 + (size_t)(row - 1) * AddressStep, TextMax, out);
        return;
    case 48: GetText(pu, PUVc::Location, out); return;
    case 88: GetText(pu, PUVc::Currency, out); return;
    case 69: case 160: GetText(pu, PUVc::Text, out); return;
    case 72: if (!label) FieldToText(pu + PUVc::SerNr, FtLongOrEmpty, out); return;
    case 210: FieldToText(pu + PUVc::SerNr, FtLongOrEmpty, out); return;
    case 172: FieldToText(pu + PUVc::Rate, FtAmount2, out); return;
    case 203:
        if (label)
            Amount(RowSum(PUVc::Number, pu, R::Size,
                          [](const uint8_t *x) { return Times(GetDec(x, R::Quantity), GetDec(x, R::UnitCost)); }),
                   FtAmount2, out);
        else FieldToText(pu + PUVc::ValueSum, FtAmount2, out);
        return;
    case 211: if (!label) FieldToText(pu + PUVc::QtySum, FtAmount2, out); return;
    case 205: FieldToText(pu + PUVc::POSerNr, FtLongOrEmpty, out); return;
    case 206: FieldToText(pu + PUVc::RegDate, FtDate, out); return;
    case 209: FieldToText(pu + PUVc::TransDate, FtDate, out); return;
    case 207: GetText(pu, PUVc::VendCode, out); return;
    case 208: GetText(pu, PUVc::VendName, out); return;
    default: break;
    }
    bool rowCode = (code >= 8 && code <= 11) || code == 13 || code == 14 || code == 43 || code == 118 ||
                   code == 185 || code == 188;
    if (!label) rowCode = rowCode || code == 144 || (code >= 189 && code <= 191) || code == 372;
    if (!rowCode) return;
    out[0] = 0;
    if (!hasRow) return;
    if (ItemRowCode(r, R::ItemCode, R::Quantity, R::Text, R::SerialNr, code, out)) return;
    switch (code) {
    case 144: FieldToText(r + R::UnitCost, FtAmount2, out); return;
    case 185: FieldToText(r + R::Price, FtAmount2, out); return;
    case 188: Amount(Times(GetDec(r, R::Quantity), GetDec(r, R::UnitCost)), FtAmount2, out); return;
    case 189: if (RowItem(r, R::ItemCode, item)) FieldToText(item + INVc::CostPrice, FtAmount2, out); return;
    case 190: if (RowItem(r, R::ItemCode, item)) Amount(NetPrice(item), FtAmount2, out); return;
    case 191: GetText(r, R::Charge, out); return;
    case 372: {
        PackedDecimal cost = GetDec(r, R::UnitCost);
        if (!RowItem(r, R::ItemCode, item) || DecIsZero(&cost)) return;
        PackedDecimal net = NetPrice(item), ratio, hundred, pct;
        DecFromLong(&hundred, 100);
        DecDiv(&net, &cost, &ratio);
        DecMul(&ratio, &hundred, &pct);
        DecSub(&pct, &hundred, &pct);
        Amount(pct, FtPercent, out);
        return;
    }
    default: return;
    }
}

void PurchaseDocFieldValue(const uint8_t *purchase, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    (void)param;
    PurchaseValue(purchase, false, code, row, out);
}

// A purchase label prints its own row of the purchase, whatever row the
// label sheet asks for.
void PurchaseLabelFieldValue(const uint8_t *label, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    (void)param;
    (void)row;
    const PurchaseLabelRec *l = (const PurchaseLabelRec *)label;
    if (!l->purchase) return;
    PurchaseValue(l->purchase, true, code, (int16_t)l->row, out);
}

void ItemLabelFieldValue(const uint8_t *items, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    (void)param;
    // Each label its own item when the sheet asks for it and the run
    // handed that many; else the first.
    const uint8_t *job = CurrentJobRecord();
    int32_t n = job && GetI16(job, ReportParamsVc::ReportLayout) != 0 ? row : 0;
    if (n < 0 || n >= FormItemCount) n = 0;
    const uint8_t *it = items + (size_t)n * INVc::Size;
    uint8_t value[256];
    switch (code) {
    case 8: GetText(it, INVc::Code, out); return;
    case 9: FieldToText(it + INVc::Code, FtUnderscoreText, out); return;
    case 10: GetText(it, INVc::Code, value); BracketText(value, out); return;
    case 11: GetText(it, INVc::Code, value); Ean13Digits(value, out); return;
    case 14: GetText(it, INVc::Name, out); return;
    case 20: GetText(it, INVc::Unit, out); return;
    case 31: GetText(it, INVc::InvCode, out); return;
    case 176: GetText(it, INVc::Objects, out); return;
    case 212: GetText(it, INVc::Group, out); return;
    case 213: GetText(it, INVc::VendCode, out); return;
    case 214: GetText(it, INVc::DefLocation, out); return;
    case 215: FieldToText(it + INVc::PriceDate, FtDate, out); return;
    default: return;
    }
}

// The reminder level of an invoice: its notice count, -1 and -2 as 0.
int32_t InvoiceReminderLevel(const uint8_t *invoice) {
    int32_t n = GetI32(invoice, IVVc::NoticeCount);
    return n < 0 ? 0 : n;
}

void ReminderFieldValue(const uint8_t *open, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(open && out);
    (void)param;
    const uint8_t *inv = FormInvoice;
    uint8_t text[256], language[256];
    switch (code) {
    case 2: case 217:
        out[0] = 0;
        if (row >= (code == 2 ? 1 : 2) && row <= 4) GetPString(inv, IVVc::Addr0 + (size_t)(row - 1) * AddressStep, TextMax, out);
        return;
    case 77:
        out[0] = 0;
        if (FormLastPage) FieldToText(open + ARVc::OpenAmount, FtAmount2, out);
        return;
    case 79: GetText(open, ARVc::CustCode, out); return;
    case 81:
        GetText(inv, IVVc::PayTerms, text);
        GetText(inv, IVVc::LangCode, language);
        PaymentTermsText(text, language, out);
        return;
    case 82: GetText(inv, IVVc::Text290, out); return;
    case 83: GetText(inv, IVVc::Name2, out); return;
    case 109: GetText(inv, IVVc::OurRef, out); return;
    case 95: FieldToText(open + ARVc::IntRate, FtAmount2, out); return;
    case 152: FieldToText(inv + IVVc::InvDate, FtDate, out); return;
    case 153: FieldToText(open + ARVc::InvoiceNr, FtLongOrEmpty, out); return;
    case 216: ReminderLevelText(InvoiceReminderLevel(inv), row, out); return;
    case 218:
        TodayToGlobals();
        DateToText(&TodayDate, out);
        return;
    case 219: {
        int32_t level = InvoiceReminderLevel(inv);
        FieldToText((const uint8_t *)&level, FtLongOrEmpty, out);
        return;
    }
    case 220: case 259: KindText(5, out); return;
    case 221: InvoicePaymentReference(inv, out); return;
    case 222: FieldToText(inv + IVVc::PayDate, FtDate, out); return;
    case 223: {
        out[0] = 0;
        const InvoiceKind kind = InvoiceKind(GetU16(inv, IVVc::InvType));
        if (kind >= InvoiceKind::Ordinary && kind <= InvoiceKind::Interest) InvoiceText290(GetI32(inv, IVVc::SerNr), out);
        return;
    }
    case 224: GetText(inv, IVVc::Addr0, out); return;
    case 225: {
        out[0] = 0;
        if (!FormLastPage) return;
        PackedDecimal amount = GetDec(open, ARVc::OpenAmount), rate = GetDec(inv, IVVc::Rate), r;
        AmountTimesRate(&amount, &rate, &r);
        Amount(r, FtAmount2, out);
        return;
    }
    case 226: {
        TodayToGlobals();
        DateRec due = GetDate(open, ARVc::DueDate);
        out[0] = 0;
        if (DateIsEmpty(&due)) return;
        int32_t days = DateDiffDays(&TodayDate, &due);
        FieldToText((const uint8_t *)&days, FtLong, out);
        return;
    }
    default: return;
    }
}

// Whether register 56 holds the item's default-choice record (read into
// rec).
bool DefaultChoiceExists(const uint8_t *itemCode, uint8_t *rec) {
    RecClear(PurchItemVc::Number, rec);
    if (itemCode[0] == 0) return false;
    PutText(rec, PurchItemVc::ItemCode, itemCode);
    PutI16(rec, PurchItemVc::Default, 1);
    uint32_t recid = 0, position = 0;
    bool found = RecFindByIndex(PurchItemVc::Number, "DefaultChoice", rec, 2, 1, &recid, &position);
    if (found) RecFreeMatrix(PurchItemVc::Number, rec);
    else RecClear(PurchItemVc::Number, rec);
    return found;
}

// True when the item has a default-choice record whose vendor exists
// (read into vendor); vendor cleared otherwise.
bool FindDefaultChoice(const uint8_t *itemCode, uint8_t *vendor) {
    uint8_t rec[PurchItemVc::Size] = {}, code[256];
    RecClear(VEVc::Number, vendor);
    if (!DefaultChoiceExists(itemCode, rec)) return false;
    GetText(rec, PurchItemVc::VendCode, code);
    return DocReadByCode(VEVc::Number, VEVc::Code, code, vendor);
}
