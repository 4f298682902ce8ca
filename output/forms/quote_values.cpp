// quote_values.cpp - the values a quotation's form (document type -14)
// and a purchase order's form (-19) print: header, addresses, rows and
// totals. A quotation's rows have side rows (doc_load_documents.cpp);
// a purchase order's vendor is FormVendor.
//
// A row code on a row the document does not have prints nothing.
#include <cassert>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"
#include "output/forms/sales_doc_values.h"

namespace {
namespace Q = QuotationVc;
namespace QR = QuotationVc::Rows;
namespace QS = QuoteSideRow;
namespace P = PurchOrderVc;
namespace PR = PurchOrderVc::Rows;

// The sum of the side rows' amount at `at`.
PackedDecimal QuoteSideSum(size_t at) {
    PackedDecimal sum;
    DecSetZero(&sum);
    for (int32_t i = 0; i < QuoteSideRowCount(); i++) {
        PackedDecimal a = GetDec(QuoteSideRowOf(i), at), next;
        DecAdd(&sum, &a, &next);
        sum = next;
    }
    return sum;
}

// The net total less the VAT total rounded to `decimals`.
void NetLessVat(const uint8_t *q, int decimals, uint8_t *out) {
    PackedDecimal net = GetDec(q, Q::NetTotal), vat = GetDec(q, Q::VatTotal), diff, rounded;
    DecSub(&net, &vat, &diff);
    DecRound(&diff, decimals, &rounded);
    DocDecText(rounded, FtAmount2, out);
}

// Where the quotation keeps what the shared header codes print.
constexpr SalesHeaderLayout Header{
    .address0 = Q::CustName, .delivery0 = Q::DelAddr0,
    .net = Q::NetTotal, .vat = Q::VatTotal, .total = Q::Total,
    .custCode = Q::CustCode,
    .terms = {.payTerms = Q::PayTerms, .delMode = Q::DelMode, .delTerms = Q::DelTerms, .langCode = Q::LangCode},
    .text284 = Q::Text284, .name2 = Q::Name2, .delivText = Q::DelivText, .salesMan = Q::SalesMan,
    .curncyCode = Q::CurncyCode,
    .custPhone = Q::CustPhone, .customerText = Q::Text922,
};

// A quotation prints its row sum in whole units (code 37).
constexpr SalesRowLayout Row{
    .row = {.itemCode = QR::ItemCode, .quantity = QR::Quantity, .text = QR::Text, .price = QR::Price,
            .discount = QR::Discount, .sum = QR::Sum, .vatCode = QR::VatCode},
    .priceUnit = QR::PriceUnit,
    .sideUnit = QS::Unit, .sideStep1 = QS::StepAmount1, .sideStep2 = QS::StepAmount2,
    .sideQty196 = QS::Qty196, .sideQty208 = QS::Qty208,
    .sumDecimals = 0,
};

// A purchase order's code 13 prints the priced quantity; the ordered
// quantity is its own code 151.
constexpr DocRowFields PurchaseOrderRowFields{
    .itemCode = PR::ItemCode, .quantity = PR::PricedQty, .text = PR::Text, .price = PR::Price,
    .discount = PR::Discount, .sum = PR::Sum, .vatCode = PR::VatCode,
};

// The quotation's own header codes (the rest are SalesHeaderValue's).
bool QuoteHeader(const uint8_t *q, int16_t code, uint8_t *out) {
    uint8_t text[256], project[ProjectVc::Size] = {};
    switch (code) {
    case 68: GetText(q, Q::OurRef, out); return true;
    case 69: GetText(q, Q::Reference, out); return true;
    case 70:
        out[0] = 0;
        GetText(q, Q::Project, text);
        if (DocReadByCode(ProjectVc::Number, ProjectVc::Code, text, project)) {
            GetText(project, ProjectVc::Name, out);
            RecFreeMatrix(ProjectVc::Number, project);
        }
        return true;
    case 71: DocTyped(q, Q::QTDate, FtDate, out); return true;
    case 72: DocTyped(q, Q::SerNr, FtLongOrEmpty, out); return true;
    case 75: NetLessVat(q, 2, out); return true;
    case 76: NetLessVat(q, 0, out); return true;
    case 91: DocTyped(q, Q::ValidUntil, FtDate, out); return true;
    case 96: DocDecText(QuoteSideSum(QS::Qty196), FtAmount2, out); return true;
    case 97: DocDecText(QuoteSideSum(QS::Qty208), FtAmount2, out); return true;
    default: return false;
    }
}

constexpr DocTermsFields PurchaseOrderTerms{
    .payTerms = P::PayTerms, .delMode = P::DelMode, .delTerms = P::DelTerms, .langCode = P::LangCode,
};

bool PurchaseOrderHeader(const uint8_t *p, int16_t code, int16_t row, uint8_t *out) {
    if (DocTermsText(PurchaseOrderTerms, p, code, out)) return true;
    switch (code) {
    case 2: DocAddressRow(p, P::VendName, row, out); return true;
    case 3: DocAddressRow(p, P::DelAddr0, row, out); return true;
    case 73: DocTyped(p, P::NetTotal, FtAmount2, out); return true;
    case 74: DocTyped(p, P::VatTotal, FtAmount2, out); return true;
    case 77: DocTyped(p, P::Total, FtAmount2, out); return true;
    case 82: GetText(p, P::Reference, out); return true;
    case 83: GetText(p, P::Contact, out); return true;
    case 84: GetText(p, P::DelivText, out); return true;
    case 85: GetText(p, P::DelMode, out); return true;
    case 88: GetText(p, P::CurncyCode, out); return true;
    case 89: GetText(p, P::DelTerms, out); return true;
    case 95: DocInterestRateText(out); return true;
    case 167: GetText(FormVendor, VEVc::Reference, out); return true;
    case 178: DocTyped(p, P::PODate, FtDate, out); return true;
    case 179: DocTyped(p, P::SerNr, FtLongOrEmpty, out); return true;
    case 180: GetText(p, P::VendCode, out); return true;
    case 181: GetText(FormVendor, VEVc::OurRef, out); return true;
    default: return false;
    }
}

bool PurchaseOrderRowCode(int16_t c) {
    return (c >= 8 && c <= 11) || (c >= 13 && c <= 16) || (c >= 18 && c <= 20) || (c >= 149 && c <= 151) ||
           c == 182;
}

void PurchaseOrderRow(const uint8_t *r, int16_t code, uint8_t *out) {
    if (DocRowBasicValue(PurchaseOrderRowFields, r, code, out)) return;
    uint8_t item[256], vendorItem[256], rec[INVc::Size] = {};
    GetText(r, PR::ItemCode, item);
    GetText(r, PR::VendItemCode, vendorItem);
    out[0] = 0;
    switch (code) {
    case 20:
        if (DocReadByCode(INVc::Number, INVc::Code, item, rec)) {
            GetText(rec, INVc::Unit, out);
            RecFreeMatrix(INVc::Number, rec);
        }
        break;
    case 149: BracketText(vendorItem, out); break;
    case 150: PStringCopy(out, vendorItem); break;
    case 151: DocTyped(r, PR::Quantity, FtAmount3, out); break;
    case 182: Ean13Digits(vendorItem, out); break;
    default: break;
    }
}
}  // namespace

void QuoteFieldValue(const uint8_t *quote, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(quote && param && out);
    if (SalesHeaderValue(Header, quote, code, row, out) || QuoteHeader(quote, code, out) || !SalesRowCode(code))
        return;
    uint8_t r[QR::Size];
    if (!DocRowRead(Q::Number, quote, row, r)) {
        out[0] = 0;
        return;
    }
    SalesRowValue(Row, r, QuoteSideRowOf(row), code, out);
}

void PurchaseOrderFieldValue(const uint8_t *po, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(po && param && out);
    if (PurchaseOrderHeader(po, code, row, out) || !PurchaseOrderRowCode(code)) return;
    uint8_t r[PR::Size];
    if (!DocRowRead(P::Number, po, row, r)) {
        out[0] = 0;
        return;
    }
    PurchaseOrderRow(r, code, out);
}
