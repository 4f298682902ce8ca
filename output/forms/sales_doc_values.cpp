// sales_doc_values.cpp - the header, address and row codes that the
// order and quotation forms print alike, read through each document's
// layout (sales_doc_values.h).
#include "output/forms/sales_doc_values.h"

#include "core/amount_words.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "output/forms/forms.h"

bool DocRowBasicValue(const DocRowFields &f, const uint8_t *r, int16_t code, uint8_t *out) {
    uint8_t item[256];
    GetText(r, f.itemCode, item);
    switch (code) {
    case 8: PStringCopy(out, item); return true;
    case 9: DocTyped(r, f.itemCode, FtUnderscoreText, out); return true;
    case 10: BracketText(item, out); return true;
    case 11: Ean13Digits(item, out); return true;
    case 13: DocTyped(r, f.quantity, FtAmount3, out); return true;
    case 14: GetText(r, f.text, out); return true;
    case 15: DocTyped(r, f.price, FtAmount3Drop, out); return true;
    case 16: DocTyped(r, f.discount, FtAmount2, out); return true;
    case 18: DocTyped(r, f.sum, FtAmount2, out); return true;
    case 19: GetText(r, f.vatCode, out); return true;
    default: return false;
    }
}

bool DocTermsText(const DocTermsFields &f, const uint8_t *d, int16_t code, uint8_t *out) {
    uint8_t language[256], text[256];
    GetText(d, f.langCode, language);
    switch (code) {
    case 81:
        GetText(d, f.payTerms, text);
        PaymentTermsText(text, language, out);
        return true;
    case 86:
        GetText(d, f.delMode, text);
        Register123Text(text, language, out);
        return true;
    case 90:
        GetText(d, f.delTerms, text);
        Register23Text(text, language, out);
        return true;
    default: return false;
    }
}

bool SalesRowCode(int16_t c) {
    return (c >= 8 && c <= 11) || (c >= 13 && c <= 20) || c == 29 || c == 30 || (c >= 37 && c <= 39) || c == 347 ||
           c == 348;
}

bool SalesRowValue(const SalesRowLayout &l, const uint8_t *r, const uint8_t *s, int16_t code, uint8_t *out) {
    if (DocRowBasicValue(l.row, r, code, out)) return true;
    if (!SalesRowCode(code)) return false;
    out[0] = 0;
    switch (code) {
    case 17: DocNegatedPercent(GetDec(r, l.row.discount), out); break;
    case 20: if (s) GetText(s, l.sideUnit, out); break;
    case 29: if (s) DocTyped(s, l.sideQty208, FtAmount2, out); break;
    case 30: if (s) DocTyped(s, l.sideQty196, FtAmount2, out); break;
    case 37: {
        PackedDecimal sum = GetDec(r, l.row.sum), rounded;
        DecRound(&sum, l.sumDecimals, &rounded);
        DocDecText(rounded, FtAmount2, out);
        break;
    }
    case 38: if (s) DocTyped(s, l.sideStep1, FtAmount2, out); break;
    case 39: if (s) DocTyped(s, l.sideStep2, FtAmount2, out); break;
    case 347: DocPriceUnitText(GetDec(r, l.priceUnit), out); break;
    case 348: DocPricePerUnitText(GetDec(r, l.row.price), GetDec(r, l.priceUnit), out); break;
    default: break;
    }
    return true;
}

bool SalesHeaderValue(const SalesHeaderLayout &l, const uint8_t *d, int16_t code, int16_t row, uint8_t *out) {
    if (DocTermsText(l.terms, d, code, out)) return true;
    uint8_t text[256];
    PackedDecimal value;
    switch (code) {
    case 2: DocAddressRow(d, l.address0, row, out); return true;
    case 3: DocAddressRow(d, l.delivery0, row, out); return true;
    case 73: DocTyped(d, l.net, FtAmount2, out); return true;
    case 74: {
        // A document for a zone that charges no VAT keeps its VAT blank;
        // once it has a total its VAT line reads 0,00, as the invoice's
        // does, rather than a label and a currency with no amount.
        value = GetDec(d, l.vat);
        const PackedDecimal total = GetDec(d, l.total);
        if (DecIsBlank(&value) && !DecIsBlank(&total)) DecSetZero(&value);
        DocDecText(value, FtAmount2, out);
        return true;
    }
    case 77: DocTyped(d, l.total, FtAmount2, out); return true;
    case 78:
        value = GetDec(d, l.total);
        AmountToWords(&value, WordsKindAmount, out);
        return true;
    case 79: GetText(d, l.custCode, out); return true;
    case 80: GetText(FormCustomer, CUVc::Text838, out); return true;
    case 82: GetText(d, l.text284, out); return true;
    case 83: GetText(d, l.name2, out); return true;
    case 84: GetText(d, l.delivText, out); return true;
    case 85: GetText(d, l.terms.delMode, out); return true;
    case 87: GetText(d, l.salesMan, out); return true;
    case 88: GetText(d, l.curncyCode, out); return true;
    case 89: GetText(d, l.terms.delTerms, out); return true;
    case 92:
        GetText(d, l.salesMan, text);
        Register44Text(text, out);
        return true;
    case 93: DocTextOr(d, l.custPhone, FormCustomer, CUVc::Phone, out); return true;
    case 94: DocTextOr(d, l.customerText, FormCustomer, CUVc::Text456, out); return true;
    case 95: DocInterestRateText(out); return true;
    default: return false;
    }
}
