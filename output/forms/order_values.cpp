// order_values.cpp - the values an order's form prints (document types
// -6 and -15): the order's header, its addresses and its vendor's, its
// rows with their side rows (order_item_table.cpp), the quantities still
// to deliver, the default-choice texts of each row's item, and totals
// over all rows.
//
// A row code on a row the order does not have prints nothing.
#include <cassert>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"
#include "output/forms/sales_doc_values.h"
#include "rules/vat_currency.h"

namespace {
constexpr int CodeMax = 20, LanguageMax = 5;
namespace R = ORVc::Rows;
namespace S = OrderSideRow;

bool IsRowCode(int16_t c) {
    return SalesRowCode(c) || c == 28 || c == 43 || c == 47 || c == 48 || c == 51 || c == 53 || (c >= 138 && c <= 148);
}

// A sum over the order's rows (rowPart) or side rows of the amount the
// callback gives for each.
template <typename F> PackedDecimal SumRows(const uint8_t *order, F amount) {
    PackedDecimal sum;
    DecSetZero(&sum);
    int32_t rows = MatrixRowCount(ORVc::Number, 0, order);
    uint8_t r[R::Size];
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, r)) break;
        PackedDecimal a = amount(r, OrderSideRowOf(i)), next;
        DecAdd(&sum, &a, &next);
        sum = next;
    }
    return sum;
}

// Where the order keeps what the shared header codes print.
constexpr SalesHeaderLayout Header{
    .address0 = ORVc::Addr0, .delivery0 = ORVc::DelAddr0,
    .net = ORVc::Net, .vat = ORVc::Vat, .total = ORVc::Total,
    .custCode = ORVc::CustCode,
    .terms = {.payTerms = ORVc::PayTerms, .delMode = ORVc::DelMode, .delTerms = ORVc::DelTerms, .langCode = ORVc::LangCode},
    .text284 = ORVc::Text284, .name2 = ORVc::Name2, .delivText = ORVc::DelivText, .salesMan = ORVc::SalesMan,
    .curncyCode = ORVc::CurncyCode,
    .custPhone = ORVc::CustPhone, .customerText = ORVc::Text1052,
};

// An order prints its row sum to the cent (code 37).
constexpr SalesRowLayout Row{
    .row = {.itemCode = R::ItemCode, .quantity = R::Quantity, .text = R::Text, .price = R::Price,
            .discount = R::Discount, .sum = R::Sum, .vatCode = R::VatCode},
    .priceUnit = R::PriceUnit,
    .sideUnit = S::Unit, .sideStep1 = S::StepAmount1, .sideStep2 = S::StepAmount2,
    .sideQty196 = S::Qty196, .sideQty208 = S::Qty208,
    .sumDecimals = 2,
};

// The order's own header, address and total codes; false for a code
// that is not one.
bool HeaderValue(const uint8_t *o, int16_t code, int16_t row, uint8_t *out) {
    uint8_t language[256], text[256];
    GetText(o, ORVc::LangCode, language);
    PackedDecimal value;
    switch (code) {
    case 96: case 97: {
        size_t at = code == 96 ? S::Qty208 : S::Qty196;
        DocDecText(SumRows(o, [&](const uint8_t *, const uint8_t *s) { return DocSideAmount(s, at); }), FtAmount2, out);
        return true;
    }
    case 107: GetText(o, ORVc::Reference, out); return true;
    case 109: DocTextOr(o, ORVc::OurRef, FormCustomer, CUVc::Text646, out); return true;
    case 110: OrderReference(GetI32(o, ORVc::SerNr), out); return true;
    case 136: {
        GetText(o, ORVc::DelAddr0, text);
        DocAddressRow(o, text[0] ? ORVc::DelAddr0 : ORVc::Addr0, row, out);
        return true;
    }
    case 137:
        out[0] = 0;
        if (row == 1) GetText(FormVendor, VEVc::Name, out);
        else if (row >= 2 && row <= 4) DocAddressRow(FormVendor, VEVc::Addr1, (int16_t)(row - 1), out);
        return true;
    case 152: DocTyped(o, ORVc::OrdDate, FtDate, out); return true;
    case 153: DocTyped(o, ORVc::SerNr, FtLongOrEmpty, out); return true;
    case 154: case 155: case 156: case 157: DocAddressRow(o, ORVc::Addr0, (int16_t)(code - 153), out); return true;
    case 158: GetText(o, ORVc::OrderClass, out); return true;
    case 159:
        GetText(o, ORVc::OrderClass, text);
        Register128Name(text, out);
        return true;
    case 160: GetText(o, ORVc::CustReference, out); return true;
    case 161: GetText(FormVendor, VEVc::PayTerms, out); return true;
    case 162:
        GetText(FormVendor, VEVc::PayTerms, text);
        PaymentTermsText(text, language, out);
        return true;
    case 163: GetText(FormVendor, VEVc::DelTerms, out); return true;
    case 164: {
        uint8_t vendorLanguage[256];
        GetText(FormVendor, VEVc::LangCode, vendorLanguage);
        GetText(FormVendor, VEVc::DelTerms, text);
        Register23Text(text, vendorLanguage, out);
        return true;
    }
    case 165: GetText(FormVendor, VEVc::Contact, out); return true;
    case 166: GetText(FormVendor, VEVc::Note, out); return true;
    case 167: GetText(FormVendor, VEVc::Reference, out); return true;
    case 168: GetText(FormVendor, VEVc::AccountNr, out); return true;
    case 169:
        DocDecText(SumRows(o, [](const uint8_t *r, const uint8_t *) { return GetDec(r, R::GrossProfit); }), FtAmount2,
                   out);
        return true;
    case 170:
        DocDecText(SumRows(o, [](const uint8_t *r, const uint8_t *) {
                       return DocTimes(GetDec(r, R::UnitCost), GetDec(r, R::Quantity));
                   }),
                   FtAmount2, out);
        return true;
    case 171:
        DocDecText(SumRows(o, [](const uint8_t *, const uint8_t *s) { return DocSideAmount(s, S::QtyCost); }),
                   FtAmount2, out);
        return true;
    case 172: DocTyped(o, ORVc::Rate, FtAmount2, out); return true;
    case 173: case 174: case 175: {
        PackedDecimal rate = GetDec(o, ORVc::Rate),
                      amount = GetDec(o, code == 173 ? ORVc::Vat : code == 174 ? ORVc::Net : ORVc::Total);
        AmountTimesRate(&amount, &rate, &value);
        DocDecText(value, FtAmount2, out);
        return true;
    }
    case 176: GetText(o, ORVc::Objects, out); return true;
    case 177:
        GetText(o, ORVc::Objects, text);
        Register15Name(text, out);
        return true;
    default: return false;
    }
}

// The order's own row codes of row r with its side row s (null when
// missing).
void RowValue(const uint8_t *r, const uint8_t *s, int16_t code, uint8_t *out) {
    uint8_t item[256], choice[PurchItemVc::Size] = {};
    GetText(r, R::ItemCode, item);
    PackedDecimal qty = GetDec(r, R::Quantity), delivered = GetDec(r, R::QtyDelivered), left;
    out[0] = 0;
    switch (code) {
    case 28: if (s) GetText(s, S::Text220, out); break;
    case 43: GetText(r, R::Text304, out); break;
    case 47: if (s) GetText(s, S::DefLocation, out); break;
    case 48: if (s) GetText(s, S::VendCode, out); break;
    case 51: if (DefaultChoiceExists(item, choice)) PStringCopy(out, item); break;
    case 53: if (DefaultChoiceExists(item, choice)) DocTyped(r, R::Quantity, FtAmount3, out); break;
    case 138: case 139: case 140: case 141: case 143:
        if (!DefaultChoiceExists(item, choice)) break;
        if (code == 138) GetText(choice, PurchItemVc::VendItemCode, out);
        else if (code == 143) GetText(choice, PurchItemVc::Text, out);
        else if (code == 139) DocTyped(choice, PurchItemVc::Price, FtAmount2, out);
        else if (code == 140) DocTyped(r, R::Discount, FtAmount2, out);
        else if (s) GetText(s, S::Unit, out);
        break;
    case 142:
        if (item[0] == 0 || DefaultChoiceExists(item, choice)) GetText(r, R::Text, out);
        break;
    case 144: DocTyped(r, R::UnitCost, FtAmount2, out); break;
    case 145:
        if (DecIsBlank(&qty)) break;
        DecSub(&qty, &delivered, &left);
        DocDecText(left, FtAmount3, out);
        break;
    case 146: {
        if (DecIsBlank(&qty) || !s) break;
        PackedDecimal perUnit, value, total = GetDec(s, S::Qty196);
        DecSub(&qty, &delivered, &left);
        DecDiv(&total, &qty, &perUnit);
        DecMul(&perUnit, &left, &value);
        DocDecText(value, FtAmount3, out);
        break;
    }
    case 147: if (s) DocTyped(s, S::CostPrice, FtAmount2, out); break;
    case 148: if (s) DocTyped(s, S::QtyCost, FtAmount2, out); break;
    default: break;
    }
}
}  // namespace

// The value of the order's field code for row into out (which holds the
// field's text or a shared value).
void OrderFieldValue(const uint8_t *order, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(order && param && out);
    if (SalesHeaderValue(Header, order, code, row, out) || HeaderValue(order, code, row, out) || !IsRowCode(code))
        return;
    uint8_t r[R::Size];
    if (!DocRowRead(ORVc::Number, order, row, r)) {
        out[0] = 0;
        return;
    }
    const uint8_t *side = OrderSideRowOf(row);
    if (!SalesRowValue(Row, r, side, code, out)) RowValue(r, side, code, out);
}
