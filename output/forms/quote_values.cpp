// quote_values.cpp - the values a quotation's form (document type -14)
// and a purchase order's form (-19) print: header, addresses, rows and
// totals. A quotation's rows have side rows (doc_load_documents.cpp);
// a purchase order's vendor is FormVendor.
//
// A row code on a row the document does not have prints nothing.
#include <cassert>

#include "core/amount_words.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"

namespace {
constexpr int CodeMax = 20, LanguageMax = 5;
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

bool QuoteHeader(const uint8_t *q, int16_t code, int16_t row, uint8_t *out) {
    uint8_t language[256], text[256], project[ProjectVc::Size] = {};
    GetText(q, Q::LangCode, language);
    PackedDecimal value;
    switch (code) {
    case 2: DocAddressRow(q, Q::CustName, row, out); return true;
    case 3: DocAddressRow(q, Q::DelAddr0, row, out); return true;
    case 68: GetText(q, Q::OurRef, out); return true;
    case 69: GetText(q, Q::Reference, out); return true;
    case 70:
        out[0] = 0;
        GetText(q, Q::Project, text);
        if (DocReadByCode(ProjectVc::Number, "Code", ProjectVc::Code, CodeMax, text, project)) {
            GetText(project, ProjectVc::Name, out);
            RecFreeMatrix(ProjectVc::Number, project);
        }
        return true;
    case 71: DocTyped(q, Q::QTDate, FtDate, out); return true;
    case 72: DocTyped(q, Q::SerNr, FtLongOrEmpty, out); return true;
    case 73: DocTyped(q, Q::NetTotal, FtAmount2, out); return true;
    case 74: DocTyped(q, Q::VatTotal, FtAmount2, out); return true;
    case 75: NetLessVat(q, 2, out); return true;
    case 76: NetLessVat(q, 0, out); return true;
    case 77: DocTyped(q, Q::Total, FtAmount2, out); return true;
    case 78:
        value = GetDec(q, Q::Total);
        AmountToWords(&value, WordsKindAmount, out);
        return true;
    case 79: GetText(q, Q::CustCode, out); return true;
    case 80: GetText(FormCustomer, CUVc::Text838, out); return true;
    case 81:
        GetText(q, Q::PayTerms, text);
        PaymentTermsText(text, language, out);
        return true;
    case 82: GetText(q, Q::Text284, out); return true;
    case 83: GetText(q, Q::Name2, out); return true;
    case 84: GetText(q, Q::DelivText, out); return true;
    case 85: GetText(q, Q::DelMode, out); return true;
    case 86:
        GetText(q, Q::DelMode, text);
        Register123Text(text, language, out);
        return true;
    case 87: GetText(q, Q::SalesMan, out); return true;
    case 88: GetText(q, Q::CurncyCode, out); return true;
    case 89: GetText(q, Q::DelTerms, out); return true;
    case 90:
        GetText(q, Q::DelTerms, text);
        Register23Text(text, language, out);
        return true;
    case 91: DocTyped(q, Q::ValidUntil, FtDate, out); return true;
    case 92:
        GetText(q, Q::SalesMan, text);
        Register44Text(text, out);
        return true;
    case 93: DocTextOr(q, Q::CustPhone, FormCustomer, CUVc::Phone, 20, out); return true;
    case 94: DocTextOr(q, Q::Text922, FormCustomer, CUVc::Text456, 20, out); return true;
    case 95: DocInterestRateText(out); return true;
    case 96: DocDecText(QuoteSideSum(QS::Qty196), FtAmount2, out); return true;
    case 97: DocDecText(QuoteSideSum(QS::Qty208), FtAmount2, out); return true;
    default: return false;
    }
}

bool QuoteRowCode(int16_t c) {
    return (c >= 8 && c <= 11) || (c >= 13 && c <= 20) || c == 29 || c == 30 || (c >= 37 && c <= 39) || c == 347 ||
           c == 348;
}

void QuoteRow(const uint8_t *r, const uint8_t *s, int16_t code, uint8_t *out) {
    uint8_t item[256];
    GetText(r, QR::ItemCode, item);
    out[0] = 0;
    switch (code) {
    case 8: PStringCopy(out, item); break;
    case 9: DocTyped(r, QR::ItemCode, FtUnderscoreText, out); break;
    case 10: BracketText(item, out); break;
    case 11: Ean13Digits(item, out); break;
    case 13: DocTyped(r, QR::Quantity, FtAmount3, out); break;
    case 14: GetText(r, QR::Text, out); break;
    case 15: DocTyped(r, QR::Price, FtAmount3Drop, out); break;
    case 16: DocTyped(r, QR::Discount, FtAmount2, out); break;
    case 17: DocNegatedPercent(GetDec(r, QR::Discount), out); break;
    case 18: DocTyped(r, QR::Sum, FtAmount2, out); break;
    case 19: GetText(r, QR::VatCode, out); break;
    case 20: if (s) GetText(s, QS::Unit, out); break;
    case 29: if (s) DocTyped(s, QS::Qty208, FtAmount2, out); break;
    case 30: if (s) DocTyped(s, QS::Qty196, FtAmount2, out); break;
    case 37: {
        PackedDecimal sum = GetDec(r, QR::Sum), rounded;
        DecRound(&sum, 0, &rounded);
        DocDecText(rounded, FtAmount2, out);
        break;
    }
    case 38: if (s) DocTyped(s, QS::StepAmount1, FtAmount2, out); break;
    case 39: if (s) DocTyped(s, QS::StepAmount2, FtAmount2, out); break;
    case 347: DocPriceUnitText(GetDec(r, QR::PriceUnit), out); break;
    case 348: DocPricePerUnitText(GetDec(r, QR::Price), GetDec(r, QR::PriceUnit), out); break;
    default: break;
    }
}

bool PurchaseOrderHeader(const uint8_t *p, int16_t code, int16_t row, uint8_t *out) {
    uint8_t language[256], text[256];
    GetText(p, P::LangCode, language);
    PackedDecimal value;
    switch (code) {
    case 2: DocAddressRow(p, P::VendName, row, out); return true;
    case 3: DocAddressRow(p, P::DelAddr0, row, out); return true;
    case 73: DocTyped(p, P::NetTotal, FtAmount2, out); return true;
    case 74: DocTyped(p, P::VatTotal, FtAmount2, out); return true;
    case 77: DocTyped(p, P::Total, FtAmount2, out); return true;
    case 81:
        GetText(p, P::PayTerms, text);
        PaymentTermsText(text, language, out);
        return true;
    case 82: GetText(p, P::Reference, out); return true;
    case 83: GetText(p, P::Contact, out); return true;
    case 84: GetText(p, P::DelivText, out); return true;
    case 85: GetText(p, P::DelMode, out); return true;
    case 86:
        GetText(p, P::DelMode, text);
        Register123Text(text, language, out);
        return true;
    case 88: GetText(p, P::CurncyCode, out); return true;
    case 89: GetText(p, P::DelTerms, out); return true;
    case 90:
        GetText(p, P::DelTerms, text);
        Register23Text(text, language, out);
        return true;
    case 95: DocInterestRateText(out); return true;
    case 167: GetText(FormVendor, VEVc::Reference, out); return true;
    case 178: DocTyped(p, P::PODate, FtDate, out); return true;
    case 179: DocTyped(p, P::SerNr, FtLongOrEmpty, out); return true;
    case 180: GetText(p, P::VendCode, out); return true;
    case 181: GetText(FormVendor, VEVc::OurRef, out); return true;
    default: (void)value; return false;
    }
}

bool PurchaseOrderRowCode(int16_t c) {
    return (c >= 8 && c <= 11) || (c >= 13 && c <= 16) || (c >= 18 && c <= 20) || (c >= 149 && c <= 151) ||
           c == 182;
}

void PurchaseOrderRow(const uint8_t *r, int16_t code, uint8_t *out) {
    uint8_t item[256], vendorItem[256], rec[INVc::Size] = {};
    GetText(r, PR::ItemCode, item);
    GetText(r, PR::VendItemCode, vendorItem);
    out[0] = 0;
    switch (code) {
    case 8: PStringCopy(out, item); break;
    case 9: DocTyped(r, PR::ItemCode, FtUnderscoreText, out); break;
    case 10: BracketText(item, out); break;
    case 11: Ean13Digits(item, out); break;
    case 13: DocTyped(r, PR::PricedQty, FtAmount3, out); break;
    case 14: GetText(r, PR::Text, out); break;
    case 15: DocTyped(r, PR::Price, FtAmount3Drop, out); break;
    case 16: DocTyped(r, PR::Discount, FtAmount2, out); break;
    case 18: DocTyped(r, PR::Sum, FtAmount2, out); break;
    case 19: GetText(r, PR::VatCode, out); break;
    case 20:
        if (DocReadByCode(INVc::Number, "Code", INVc::Code, CodeMax, item, rec)) {
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
    if (QuoteHeader(quote, code, row, out) || !QuoteRowCode(code)) return;
    uint8_t r[QR::Size];
    if (!DocRowRead(Q::Number, quote, row, r)) {
        out[0] = 0;
        return;
    }
    QuoteRow(r, QuoteSideRowOf(row), code, out);
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
