// delivery_values.cpp - the values a delivery's forms print (document
// types -27 labels, -12, -7 and -3): the delivery's header and address
// blocks, its order's and customer's texts, the rows of its print copy
// (item structures expanded into component rows) with their side rows,
// and the totals of the last page.
//
// D is the print copy (FormDelivery), which holds the delivery's own
// header bytes; a row code on a row the copy does not have prints
// nothing. A component row (its order-row word negative) comes from no
// order row, so the order row's discount prints nothing for it.
#include <cassert>

#include "core/amount_words.h"
#include "core/bmp_file.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"
#include "rules/delivery_value.h"

namespace {
constexpr uint32_t OrderRowIndexMask = 0xFFFF;   // the low word indexes the order's rows
namespace D = SHVc;
namespace R = SHVc::Rows;
namespace S = DeliverySideRow;

bool LastPageCode(int16_t c) {
    return c == 77 || c == 78 || c == 96 || c == 97 || c == 119 || c == 120 || c == 127 || c == 345 || c == 346;
}

bool RowCode(int16_t c) {
    return (c >= 8 && c <= 11) || (c >= 14 && c <= 16) || c == 20 || (c >= 28 && c <= 30) || c == 38 || c == 39 ||
           (c >= 42 && c <= 47) || c == 49 || (c >= 51 && c <= 53) || c == 80 || c == 118 || (c >= 132 && c <= 134) ||
           c == 141 || c == 336;
}

bool ComponentRow(const uint8_t *r) { return GetI32(r, R::OrderRowNr) < 0; }

// The sum over the print copy's rows of what amount gives per row.
template <typename F> PackedDecimal SumRows(F amount) {
    PackedDecimal sum;
    DecSetZero(&sum);
    int32_t rows = MatrixRowCount(D::Number, 0, FormDelivery);
    uint8_t r[R::Size];
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(D::Number, FormDelivery, i, r)) break;
        PackedDecimal a = amount(r, DeliverySideRowOf(i)), next;
        DecAdd(&sum, &a, &next);
        sum = next;
    }
    return sum;
}

PackedDecimal CostTimesOrdered(const uint8_t *r) { return DocTimes(GetDec(r, R::UnitCost), GetDec(r, R::ToDeliver)); }

// The codes only the last page prints.
void LastPageValue(int16_t code, int16_t row, uint8_t *out) {
    PackedDecimal value;
    uint8_t r[R::Size];
    switch (code) {
    case 77: case 78:
        RowsAmountTotal(FormDelivery, FormOrder, &value);
        if (code == 77) DocDecText(value, FtAmount2, out);
        else AmountToWords(&value, WordsKindAmount, out);
        return;
    case 96: DocTyped(FormDelivery, D::StepTotal2, FtAmount2, out); return;
    case 97: DocTyped(FormDelivery, D::StepTotal1, FtAmount2, out); return;
    case 119:
        DocDecText(SumRows([](const uint8_t *, const uint8_t *s) { return DocSideAmount(s, S::Qty196); }), FtAmount2, out);
        return;
    case 120:
        DocDecText(SumRows([](const uint8_t *, const uint8_t *s) { return DocSideAmount(s, S::Qty208); }), FtAmount2, out);
        return;
    case 127:
        DocDecText(SumRows([](const uint8_t *r2, const uint8_t *s) {
                       return DocTimes(DocSideAmount(s, S::CostPrice), GetDec(r2, R::ToDeliver));
                   }),
                   FtAmount2, out);
        return;
    case 345:
        if (DocRowRead(D::Number, FormDelivery, row, r)) DocDecText(CostTimesOrdered(r), FtAmount2, out);
        return;
    case 346: DocDecText(SumRows([](const uint8_t *r2, const uint8_t *) { return CostTimesOrdered(r2); }), FtAmount2, out); return;
    default: return;
    }
}

// Address rows 1..4 of the order's name and address.
void OrderAddress(int16_t row, uint8_t *out) { DocAddressRow(FormOrder, ORVc::Addr0, row, out); }

bool HeaderValue(int16_t code, int16_t row, uint8_t *out) {
    const uint8_t *d = FormDelivery;
    uint8_t language[256], text[256];
    GetText(d, D::LangCode, language);
    const bool textsFromOrder = GetI16(d, D::TextsFromOrder) != 0, addrFromOrder = GetI16(d, D::AddrFromOrder) != 0;
    switch (code) {
    case 2: DocAddressRow(d, D::DelAddr0, row, out); return true;
    case 40:
        out[0] = 0;
        if (row >= 1 && row <= 3) DocAddressRow(d, D::DelAddr1, row, out);
        return true;
    case 41: {
        GetText(FormOrder, ORVc::InvoiceTo, text);
        if (text[0] == 0) {
            OrderAddress(row, out);
            return true;
        }
        uint8_t customer[CUVc::Size] = {};
        if (!DocReadByCode(CUVc::Number, CUVc::Code, text, customer)) return true;
        out[0] = 0;
        if (row == 1) GetText(customer, CUVc::Name, out);
        else if (row >= 2 && row <= 4) DocAddressRow(customer, CUVc::Addr1, (int16_t)(row - 1), out);
        return true;
    }
    case 48: GetText(d, D::Location, out); return true;
    case 50:
        out[0] = 0;
        if (addrFromOrder) OrderAddress(row, out);
        return true;
    case 69: GetText(d, D::DocText, out); return true;
    case 79: GetText(d, D::CustCode, out); return true;
    case 81:
        GetText(FormOrder, ORVc::PayTerms, text);
        PaymentTermsText(text, language, out);
        return true;
    case 82: GetText(FormOrder, ORVc::Text284, out); return true;
    case 83: GetText(FormOrder, ORVc::Name2, out); return true;
    case 84: GetText(FormOrder, ORVc::DelivText, out); return true;
    case 85: GetText(d, D::DelMode, out); return true;
    case 86:
        GetText(d, D::DelMode, text);
        Register123Text(text, language, out);
        return true;
    case 87: GetText(FormOrder, ORVc::SalesMan, out); return true;
    case 89: GetText(FormOrder, ORVc::DelTerms, out); return true;
    case 90:
        GetText(FormOrder, ORVc::DelTerms, text);
        Register23Text(text, language, out);
        return true;
    case 93: GetText(FormCustomer, CUVc::Phone, out); return true;
    case 94: GetText(FormCustomer, CUVc::Text456, out); return true;
    case 98: DocTyped(d, D::Value758, FtLongOrEmpty, out); return true;
    case 99: DocTyped(d, D::ShipDate, FtDate, out); return true;
    case 100: DocTyped(d, D::SerNr, FtLongOrEmpty, out); return true;
    case 101: DocTyped(d, D::OrderNr, FtLongOrEmpty, out); return true;
    case 102: case 103: case 104: case 105:
        out[0] = 0;
        if (addrFromOrder) OrderAddress((int16_t)(code - 101), out);
        return true;
    case 106: DocTyped(FormOrder, ORVc::OrdDate, FtDate, out); return true;
    case 107: GetText(FormOrder, ORVc::Reference, out); return true;
    case 108: GetText(FormOrder, ORVc::CustReference, out); return true;
    case 109: GetText(FormCustomer, CUVc::Text646, out); return true;
    case 110: OrderReference(GetI32(d, D::OrderNr), out); return true;
    case 111: GetText(FormCustomer, CUVc::Text962, out); return true;
    case 112:
        out[0] = 0;
        if (textsFromOrder) PStringFromC(out, "X");
        return true;
    case 113:
        out[0] = 0;
        if (textsFromOrder) DocTextOr(d, D::DocText, FormCustomer, CUVc::Text456, out);
        return true;
    case 114:
        out[0] = 0;
        if (textsFromOrder) GetText(FormOrder, ORVc::Name2, out);
        return true;
    case 115: case 116: case 117: {
        uint8_t line[256], postal[256], town[256];
        GetText(d, D::DelAddr3, line);
        if (line[0] == 0) GetText(d, D::DelAddr2, line);
        if (line[0] == 0) GetText(d, D::DelAddr1, line);
        SplitPostalCity(line, postal, town);
        PStringCopy(out, code == 116 ? line : code == 115 ? town : postal);
        return true;
    }
    case 121: GetText(d, D::Line382, out); return true;
    case 122: GetText(d, D::Line444, out); return true;
    case 123: GetText(d, D::Line506, out); return true;
    case 124: GetText(d, D::Line568, out); return true;
    case 125: GetText(d, D::Line630, out); return true;
    case 126: DocTyped(d, D::LabelQty, FtAmount2, out); return true;
    case 344: DocTyped(d, D::ShipDate, FtDateLong, out); return true;
    default: return false;
    }
}

// The row codes of print-copy row r with its side row s.
void RowValue(const uint8_t *r, const uint8_t *s, int16_t code, uint8_t *out) {
    uint8_t item[256], choice[PurchItemVc::Size] = {}, vendor[VEVc::Size] = {};
    GetText(r, R::ItemCode, item);
    out[0] = 0;
    switch (code) {
    case 8: case 9: {
        // A component row starts with a bullet and a blank.
        uint8_t code8[256];
        if (code == 8) PStringCopy(code8, item);
        else DocTyped(r, R::ItemCode, FtUnderscoreText, code8);
        if (ComponentRow(r)) BulletPrefix(out);
        if (out[0] + code8[0] <= 255) PStringAppend(out, code8);
        break;
    }
    case 10: BracketText(item, out); break;
    case 11: Ean13Digits(item, out); break;
    case 14: GetText(r, R::Text, out); break;
    case 15: if (s) DocTyped(s, S::CostPrice, FtAmount2, out); break;
    case 16: {
        if (ComponentRow(r)) break;
        uint8_t orderRow[ORVc::Rows::Size];
        int32_t n = (int32_t)(GetU32(r, R::OrderRowNr) & OrderRowIndexMask);
        if (MatrixRowRead(ORVc::Number, FormOrder, n, orderRow)) DocTyped(orderRow, ORVc::Rows::Discount, FtAmount2, out);
        break;
    }
    case 20: if (s) GetText(s, S::Unit, out); break;
    case 28: if (s) GetText(s, S::Text220, out); break;
    case 29: if (s) DocTyped(s, S::Qty208, FtAmount2, out); break;
    case 30: if (s) DocTyped(s, S::Qty196, FtAmount2, out); break;
    case 38: if (s) DocTyped(s, S::StepAmount1, FtAmount2, out); break;
    case 39: if (s) DocTyped(s, S::StepAmount2, FtAmount2, out); break;
    case 42: DocTyped(r, R::UnitCost, FtAmount2, out); break;
    case 43: GetText(r, R::SerialNr, out); break;
    case 44: DocTyped(r, R::ToDeliver, FtAmount3, out); break;
    case 45: DocTyped(r, R::QtyLeft, FtAmount3, out); break;
    case 46: {
        PackedDecimal ordered = GetDec(r, R::ToDeliver), delivered = GetDec(r, R::QtyLeft), left, zero;
        DecSub(&ordered, &delivered, &left);
        DecSetZero(&zero);
        if (!DecIsBlank(&left) && DecCompare(&left, &zero) > 0) DocDecText(left, FtAmount3, out);
        break;
    }
    case 47: if (s) GetText(s, S::DefLocation, out); break;
    case 49: if (s) DocDecText(DocTimes(GetDec(s, S::CostPrice), GetDec(r, R::ToDeliver)), FtAmount2, out); break;
    case 51: case 52: case 53:
        if (!DefaultChoiceExists(item, choice)) break;
        if (code == 51) PStringCopy(out, item);
        else if (code == 52) GetText(r, R::Text, out);
        else DocTyped(r, R::ToDeliver, FtAmount2, out);
        break;
    case 80: if (s) GetText(s, S::VendCode, out); break;
    case 118: {
        uint8_t serial[256];
        GetText(r, R::SerialNr, serial);
        BracketText(serial, out);
        break;
    }
    case 132: case 133: case 134:
        if (FindDefaultChoice(item, vendor))
            GetPString(vendor, code == 132 ? VEVc::Addr1 : code == 133 ? VEVc::Addr2 : VEVc::Addr3, 60, out);
        break;
    case 141: case 336: {
        PackedDecimal q = GetDec(r, code == 141 ? R::ToDeliver : R::QtyLeft);
        if (s && !DecIsBlank(&q)) GetText(s, S::Unit, out);
        break;
    }
    default: break;
    }
}
}  // namespace

void DeliveryFieldValue(const uint8_t *delivery, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(delivery && param && out);
    (void)delivery;   // the print copy holds its header
    if (LastPageCode(code)) {
        out[0] = 0;
        if (FormLastPage) LastPageValue(code, row, out);
        return;
    }
    if (HeaderValue(code, row, out) || !RowCode(code)) return;
    uint8_t r[R::Size];
    if (!DocRowRead(D::Number, FormDelivery, row, r)) {
        out[0] = 0;
        return;
    }
    RowValue(r, DeliverySideRowOf(row), code, out);
}
