// invoice_values.cpp - the values a sales invoice's form prints (document
// types -18, -17, -16 and -2): its header codes (addresses, dates,
// references, texts of its side records) and its row codes by row kind.
// The last page's totals are in invoice_totals.cpp, the side rows they
// read in invoice_extras.cpp.
//
// Every value is the field formatted by its field type; a side record or
// row that is missing prints empty.
#include <cassert>

#include "core/amount_words.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "output/forms/forms.h"
#include "rules/invoice_kind.h"

namespace {
// The codes the invoice empties first: they print nothing unless a step
// below fills them.
bool EmptiedFirst(int16_t c) {
    return c == 8 || c == 9 || (c >= 12 && c <= 16) || (c >= 18 && c <= 27) || (c >= 32 && c <= 36) ||
           c == 73 || c == 74 || c == 77 || c == 78 || c == 88 || (c >= 95 && c <= 97) ||
           (c >= 173 && c <= 175) || c == 223 || (c >= 280 && c <= 282) || (c >= 303 && c <= 306) ||
           c == 308 || c == 309 || c == 311 || (c >= 313 && c <= 318) || c == VatSummaryHeadingCode;
}

bool OrderAddresses(const uint8_t *inv) {
    uint8_t text[256];
    GetText(inv, IVVc::StatCustCode, text);
    return text[0] != 0;
}

// The header codes; false for a code that is not one.
bool HeaderValue(const uint8_t *inv, int16_t code, int16_t row, uint8_t *out) {
    uint8_t language[256], text[256];
    GetText(inv, IVVc::LangCode, language);
    int16_t kind = GetI16(inv, IVVc::InvType);
    switch (code) {
    case 1: {
        int16_t line = (int16_t)(row + 1);
        DocTyped((const uint8_t *)&line, 0, FtShort, out);
        return true;
    }
    case 2: DocAddressRow(inv, IVVc::Addr0, row, out); return true;
    case 3:
        if (FormDeliveryFound) DocAddressRow(FormDelivery, SHVc::DelAddr0, row, out);
        else DocAddressRow(inv, IVVc::DelAddr0, row, out);
        return true;
    case 4: DocAddressRow(inv, IVVc::DelAddr0, row, out); return true;
    case 5:
        GetText(inv, IVVc::DelAddr0, text);
        DocAddressRow(inv, text[0] ? IVVc::DelAddr0 : IVVc::Addr0, row, out);
        return true;
    case 6:
        if (OrderAddresses(inv)) DocAddressRow(FormOrder, ORVc::Addr0, row, out);
        else if (FormDeliveryFound) DocAddressRow(FormDelivery, SHVc::DelAddr0, row, out);
        else out[0] = 0;
        return true;
    case 7: DocAddressRow(FormOrder, ORVc::DelAddr0, row, out); return true;
    case 48: GetText(inv, IVVc::Location, out); return true;
    case 79: GetText(inv, IVVc::CustCode, out); return true;
    case 80: GetText(FormCustomer, CUVc::Text838, out); return true;
    case 81:
        GetText(inv, IVVc::PayTerms, text);
        PaymentTermsText(text, language, out);
        return true;
    case 82: GetText(inv, IVVc::Text290, out); return true;
    case 83: GetText(inv, IVVc::Name2, out); return true;
    case 85:
        if (FormDeliveryFound) GetText(FormDelivery, SHVc::DelMode, out);
        else GetText(inv, IVVc::DelMode, out);
        return true;
    case 86:
        if (FormDeliveryFound) GetText(FormDelivery, SHVc::DelMode, text);
        else GetText(inv, IVVc::DelMode, text);
        Register123Text(text, language, out);
        return true;
    case 87: case 290: GetText(inv, IVVc::SalesMan, out); return true;
    case 88: GetText(inv, IVVc::CurncyCode, out); return true;
    case 89: GetText(FormOrder, ORVc::DelTerms, out); return true;
    case 90:
        GetText(FormOrder, ORVc::DelTerms, text);
        Register23Text(text, language, out);
        return true;
    case 92: case 291:
        GetText(inv, IVVc::SalesMan, text);
        Register44Text(text, out);
        return true;
    case 93: DocTextOr(inv, IVVc::CustPhone, FormCustomer, CUVc::Phone, out); return true;
    case 94: DocTextOr(inv, IVVc::Text1238, FormCustomer, CUVc::Text456, out); return true;
    case 95:
        if (InvoiceKind(kind) == InvoiceKind::Ordinary) DocTyped(inv, IVVc::IntRate, FtAmount2, out);
        return true;
    case 99:
        if (FormDeliveryFound) DocTyped(FormDelivery, SHVc::ShipDate, FtDate, out);
        else out[0] = 0;
        return true;
    case 106: DocTyped(FormOrder, ORVc::OrdDate, FtDate, out); return true;
    case 107: GetText(FormOrder, ORVc::Reference, out); return true;
    case 109: DocTextOr(inv, IVVc::OurRef, FormCustomer, CUVc::Text646, out); return true;
    case 110: OrderReference(GetI32(inv, IVVc::OrderNr), out); return true;
    case 130: GetText(inv, IVVc::Addr1, out); return true;
    case 131: GetText(inv, IVVc::Addr2, out); return true;
    case 152: DocTyped(inv, IVVc::InvDate, FtDate, out); return true;
    case 153: DocTyped(inv, IVVc::SerNr, FtLongOrEmpty, out); return true;
    case 154: GetText(inv, IVVc::Addr0, out); return true;
    case 172: DocTyped(inv, IVVc::Rate, FtAmount2, out); return true;
    case 176: GetText(inv, IVVc::Objects, out); return true;
    case 180:
        if (FormDeliveryFound) DocTyped(FormDelivery, SHVc::SerNr, FtLongOrEmpty, out);
        else out[0] = 0;
        return true;
    case 220: case 259: KindText(kind, out); return true;
    case 221: InvoicePaymentReference(inv, out); return true;
    case 222: DocTyped(inv, IVVc::PayDate, FtDate, out); return true;
    case 223:
        if (InvoiceKind(kind) == InvoiceKind::Ordinary) DueDateText(inv, out);
        return true;
    case 234: {
        PackedDecimal sum;
        DecSetZero(&sum);
        GetText(inv, IVVc::CustCode, text);
        CustomerOpenBalance(text, &sum);
        DocTyped((const uint8_t *)&sum, 0, FtAmount2, out);
        return true;
    }
    case 283: case 289: GetText(inv, IVVc::Reference, out); return true;
    case 284: GetText(FormCustomer, CUVc::Text562, out); return true;
    case 285: DocTyped(inv, IVVc::TransDate, FtDate, out); return true;
    case 286: DocTyped(inv, IVVc::OrderNr, FtLongOrEmpty, out); return true;
    case 287: GetText(inv, IVVc::Addr3, out); return true;
    case 288:
        GetText(inv, IVVc::Objects, text);
        Register15Name(text, out);
        return true;
    case 292:
        if (OrderAddresses(inv)) GetText(FormOrder, ORVc::CustCode, out);
        else GetText(inv, IVVc::CustCode, out);
        return true;
    case 293:
        if (OrderAddresses(inv)) GetText(FormOrder, ORVc::Addr0, out);
        else GetText(inv, IVVc::Addr0, out);
        return true;
    case 294: GetText(inv, IVVc::DelMode, out); return true;
    case 295:
        GetText(inv, IVVc::DelMode, text);
        Register123Text(text, language, out);
        return true;
    case 296: GetText(inv, IVVc::DelTerms, out); return true;
    case 297:
        GetText(inv, IVVc::DelTerms, text);
        Register23Text(text, language, out);
        return true;
    case 298: InvoiceReference(inv, true, out); return true;
    case 299: InvoiceReference(inv, false, out); return true;
    case 300:
        GetText(inv, IVVc::CustCode, out);
        DocTyped(inv, IVVc::SerNr, FtLongOrEmpty, text);
        if (out[0] + text[0] <= 255) PStringAppend(out, text);
        return true;
    case 312: GetText(FormOrder, ORVc::DelivText, out); return true;
    default: return false;
    }
}

// Row code of an item row (kind 1) and the kinds 4 and 5 that share
// some of its codes.
void ItemRowValue(const uint8_t *inv, const uint8_t *r, const uint8_t *s, DocRowKind kind, int16_t code,
                  uint8_t *out) {
    const bool item = kind == DocRowKind::Item, other = kind == DocRowKind::Amount,
               note = kind == DocRowKind::DownPayment;
    const bool inclusive = GetI16(inv, IVVc::InclVat) != 0;
    PackedDecimal sum = GetDec(r, IVVc::Rows::Sum);
    switch (code) {
    case 8: if (item || other) GetText(r, IVVc::Rows::ItemCode, out); break;
    case 9: if (item || other) DocTyped(r, IVVc::Rows::ItemCode, FtUnderscoreText, out); break;
    case 10: {
        uint8_t c[256];
        GetText(r, IVVc::Rows::ItemCode, c);
        if (item) BracketText(c, out);
        break;
    }
    case 11: {
        uint8_t c[256];
        GetText(r, IVVc::Rows::ItemCode, c);
        if (item) Ean13Digits(c, out);
        break;
    }
    case 12:
        if (item || other) {
            uint8_t c[256], rec[INVc::Size] = {};
            GetText(r, IVVc::Rows::ItemCode, c);
            if (DocReadByCode(INVc::Number, INVc::Code, c, rec)) {
                GetText(rec, INVc::Group, out);
                RecFreeMatrix(INVc::Number, rec);
            }
        }
        break;
    case 13: if (item || other) DocTyped(r, IVVc::Rows::Quantity, FtAmount3, out); break;
    case 14: GetText(r, IVVc::Rows::Text, out); break;
    case 15: if (item || other) DocTyped(r, IVVc::Rows::Price, FtAmount3Drop, out); break;
    case 16:
        if (item) DocTyped(r, IVVc::Rows::Discount, FtAmount1, out);
        else if (other) DocTyped(r, IVVc::Rows::Discount, FtAmount2, out);
        break;
    case 17:
        if (item) {
            PackedDecimal d = GetDec(r, IVVc::Rows::Discount), neg;
            DecNegateInto(&d, &neg);
            DocTyped((const uint8_t *)&neg, 0, FtAmount3, out);
            if (out[0] != 0 && out[0] < 255) PStringAppendChar(out, '%');
        }
        break;
    case 18: DocTyped(r, IVVc::Rows::Sum, FtAmount2, out); break;
    case 19: GetText(r, IVVc::Rows::VatCode, out); break;
    case 20: if (item && s) GetText(s, InvoiceSideRow::Unit, out); break;
    case 21: if (item && s) DocTyped(s, InvoiceSideRow::VatPlainRate, FtAmount2, out); break;
    case 22:
        if (s && !DecIsBlank(&sum)) {
            DocTyped(s, InvoiceSideRow::VatRate, FtAmount2, out);
            if (out[0] == 0) GetUiText(out, Texts::VatRateNone);
        }
        break;
    case 23: if (item && s) DocTyped(s, InvoiceSideRow::VatAmount, FtAmount2, out); break;
    case 24:
        if (item && s) {
            PackedDecimal vat = GetDec(s, InvoiceSideRow::VatAmount), with = sum;
            if (DecIsBlank(&vat) && DecIsBlank(&sum)) break;
            if (!inclusive) DecAdd(&sum, &vat, &with);
            DocTyped((const uint8_t *)&with, 0, FtAmount2, out);
        }
        break;
    case 25:
        if (item && s) {
            PackedDecimal vat = GetDec(s, InvoiceSideRow::VatAmount), without = sum;
            if (inclusive && !DecIsBlank(&sum)) DecSub(&sum, &vat, &without);
            DocTyped((const uint8_t *)&without, 0, FtAmount2, out);
        }
        break;
    case 26: if (item && s) GetText(s, InvoiceSideRow::GroupCode, out); break;
    case 27: if (item && s) GetText(s, InvoiceSideRow::GroupName, out); break;
    case 28: if (item && s) GetText(s, InvoiceSideRow::ItemText220, out); break;
    case 29: if (item && s) DocTyped(s, InvoiceSideRow::Measure2, FtAmount2, out); break;
    case 30: if (item && s) DocTyped(s, InvoiceSideRow::Measure1, FtAmount2, out); break;
    case 31: if (item && s) GetText(s, InvoiceSideRow::InvCode, out); break;
    case 43: if (item) GetText(r, IVVc::Rows::Text284, out); break;
    case 301: if (other) DocTyped(r, IVVc::Rows::Link, FtLongOrEmpty, out); break;
    case 302: if (other) DocTyped(r, IVVc::Rows::UnitCost, FtAmount2, out); break;
    case 347:
        if (item) {
            PackedDecimal unit = GetDec(r, IVVc::Rows::PriceUnit);
            if (DecIsBlank(&unit)) DecFromLong(&unit, 1);
            DocTyped((const uint8_t *)&unit, 0, FtAmount3, out);
        }
        break;
    case 348:
        if (item) {
            PackedDecimal price = GetDec(r, IVVc::Rows::Price), unit = GetDec(r, IVVc::Rows::PriceUnit), per = price;
            if (!DecIsBlank(&unit) && !DecIsZero(&unit)) DecDiv(&price, &unit, &per);
            DocTyped((const uint8_t *)&per, 0, FtAmount3Drop, out);
        }
        break;
    default: (void)note; break;
    }
}

// The row codes of invoice row `row` by its kind.
void RowValue(const uint8_t *inv, int16_t code, int16_t row, uint8_t *out) {
    uint8_t r[IVVc::Rows::Size];
    if (!MatrixRowRead(IVVc::Number, inv, row, r)) return;
    const DocRowKind kind = DocRowKind(GetU16(r, IVVc::Rows::Kind));
    const bool rowCode = (code >= 8 && code <= 31) || code == 43 || code == 301 || code == 302 || code == 347 ||
                         code == 348;
    // A text row prints its text, or, when it has a link (a credit note's
    // first row), that it credits the invoice it names; a bare row of
    // another kind prints its text alone, no zero quantity, price or VAT.
    if (kind == DocRowKind::Text || InvoiceRowIsBare(r)) {
        if (code != 14) {
            if (kind != DocRowKind::Text && rowCode) out[0] = 0;
            return;
        }
        out[0] = 0;
        int32_t link = GetI32(r, IVVc::Rows::Link);
        if (kind != DocRowKind::Text || link == -1) {
            GetText(r, IVVc::Rows::Text, out);
            return;
        }
        uint8_t number[256];
        GetUiText(out, Texts::CreditOfInvoiceRowText);
        DocTyped(r, IVVc::Rows::Link, FtLongOrEmpty, number);
        if (out[0] + number[0] <= 255) PStringAppend(out, number);
        return;
    }
    if (kind != DocRowKind::Item && kind != DocRowKind::Amount && kind != DocRowKind::DownPayment) return;
    uint8_t value[256];
    value[0] = 0;
    if (!rowCode) return;
    ItemRowValue(inv, r, InvoiceSideRowOf(row), kind, code, value);
    PStringCopy(out, value);
}
}  // namespace

// The value of the sales invoice's field code for row into out (which
// holds the field's text or a shared value): the codes that only the
// steps below fill are emptied, then the header codes, the last page's
// totals and the row codes of the row's kind write their values.
void InvoiceFieldValue(const uint8_t *invoice, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(invoice && param && out);
    if (EmptiedFirst(code)) out[0] = 0;
    HeaderValue(invoice, code, row, out);
    if (FormLastPage) InvoiceTotalsValue(invoice, param, code, row, out);
    if (row >= 0 && row < FormRowCount) RowValue(invoice, code, row, out);
}
