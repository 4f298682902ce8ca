// invoice_totals.cpp - the values a sales invoice prints on its last
// page: its totals, the VAT summary (one line per VAT code used), the
// item rows' discount and measures, and the payment bar code.
//
// The payment bar code is digits packed into Code 128 set C: "1", the
// company's bank account (14 digits), the total in hundredths (8), the
// reference (20), the due date (YYMMDD), "0000", a 7-3-1 check digit,
// then the Code 128 check character, between the bar-code font's start
// and stop characters. A total that does not fit, or a reference of more
// than 20 digits, prints no bar code at all: a slip that scans to a wrong
// amount or reference is worse than none. Nor does an invoice that asks
// for no payment (a cash invoice, a credit note, a total of zero or less).
#include <cassert>

#include "core/amount_words.h"
#include "core/bank_format.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "operations/sales_invoice.h"
#include "output/forms/forms.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {
constexpr int BankAccountMax = 60, ReferenceMax = 30;
constexpr int AmountDigits = 8, ReferenceDigits = 20;
constexpr uint8_t Code128StartC = 0x91, Code128Stop1 = 0x8F, Code128Stop2 = 0x85;

void Amount(const PackedDecimal &d, uint8_t *out) { FieldToText((const uint8_t *)&d, FtAmount2, out); }

PackedDecimal Sub(PackedDecimal a, PackedDecimal b) {
    PackedDecimal r;
    DecSub(&a, &b, &r);
    return r;
}
PackedDecimal Add(PackedDecimal a, PackedDecimal b) {
    PackedDecimal r;
    DecAdd(&a, &b, &r);
    return r;
}

// VAT line n (from 1) of the summary: its VAT code, the sum of its rows
// and that sum's VAT rounded to 2 decimals (the line that carries the
// invoice's own VAT, InvoiceVatLineHeld, its VAT as held); false past the
// used codes.
bool VatLine(int32_t n, int inclusive, uint8_t *code, PackedDecimal *sum, PackedDecimal *vat) {
    if (!InvoiceVatSums || n < 1 || n > VatSumsUsedCount(InvoiceVatSums)) return false;
    int32_t slot = VatSumsNthUsed(InvoiceVatSums, n) - 1;
    uint8_t *data = MemLock(InvoiceVatSums);
    if (!data) return false;
    bool inside = (uint32_t)(slot + 1) * sizeof(PackedDecimal) <= MemSize(InvoiceVatSums);
    if (inside) *sum = GetDec(data, (size_t)slot * sizeof(PackedDecimal));
    MemUnlock(InvoiceVatSums);
    if (!inside) return false;
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    if (slot >= rows.count) return false;
    GetText(rows.data + (size_t)slot * VatCodeRow::Size, VatCodeRow::Code, code);
    if (InvoiceVatLineHeld(slot, nullptr, vat)) return true;
    PackedDecimal raw;
    VatAmount(code, sum, &raw, inclusive);
    DecRound(&raw, 2, vat);
    return true;
}

// The rate of VAT line n's code (block 208's first rate; the held line's
// rate for the line that carries the invoice's own VAT).
bool VatLineRate(int32_t n, PackedDecimal *rate) {
    if (!InvoiceVatSums || n < 1 || n > VatSumsUsedCount(InvoiceVatSums)) return false;
    int32_t slot = VatSumsNthUsed(InvoiceVatSums, n) - 1;
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    if (slot < 0 || slot >= rows.count) return false;
    if (InvoiceVatLineHeld(slot, rate, nullptr)) return true;
    *rate = GetDec(rows.data + (size_t)slot * VatCodeRow::Size, VatCodeRow::Rate);
    return true;
}

// The sum of the VAT sums, each code's VAT taken off (sign -1) or put on
// (sign 1); 0 leaves them as they are.
PackedDecimal VatSumsWith(int inclusive, int sign) {
    PackedDecimal total;
    DecSetZero(&total);
    uint8_t code[256];
    PackedDecimal sum, vat;
    for (int32_t n = 1; VatLine(n, inclusive, code, &sum, &vat); n++) {
        total = Add(total, sum);
        if (sign < 0) total = Sub(total, vat);
        if (sign > 0) total = Add(total, vat);
    }
    return total;
}

// What `value` makes of each item row (kind 1) of the invoice, summed.
template <typename Value>
PackedDecimal ItemRowsSum(const uint8_t *inv, Value value) {
    PackedDecimal total;
    DecSetZero(&total);
    uint8_t r[IVVc::Rows::Size];
    int32_t rows = MatrixRowCount(IVVc::Number, 0, inv);
    for (int32_t i = 0; i < rows; i++)
        if (MatrixRowRead(IVVc::Number, inv, i, r) &&
            DocRowKind(GetU16(r, IVVc::Rows::Kind)) == DocRowKind::Item) total = Add(total, value(r));
    return total;
}

// The item rows' discount: quantity x price (per its price unit) less
// the row sum, summed.
PackedDecimal TotalDiscount(const uint8_t *inv) {
    return ItemRowsSum(inv, [](const uint8_t *r) {
        PackedDecimal qty = GetDec(r, IVVc::Rows::Quantity), price = GetDec(r, IVVc::Rows::Price),
                      unit = GetDec(r, IVVc::Rows::PriceUnit), gross;
        DecMul(&qty, &price, &gross);
        if (!DecIsBlank(&unit) && !DecIsZero(&unit)) DecDiv(&gross, &unit, &gross);
        return Sub(gross, GetDec(r, IVVc::Rows::Sum));
    });
}

// The sum of the side rows' amount at `at` (blank ones add nothing).
PackedDecimal SideSum(size_t at) {
    PackedDecimal total;
    DecSetZero(&total);
    for (int32_t i = 0; i < InvoiceSideRowCount(); i++) total = Add(total, GetDec(InvoiceSideRowOf(i), at));
    return total;
}

// The sum of the item rows' quantities.
PackedDecimal ItemQuantity(const uint8_t *inv) {
    return ItemRowsSum(inv, [](const uint8_t *r) { return GetDec(r, IVVc::Rows::Quantity); });
}

// The cash-discounted total (code 313): the total less the discount
// percentage, to whole units; false when the invoice has none.
bool CashDiscounted(const uint8_t *inv, PackedDecimal *out) {
    PackedDecimal pct = GetDec(inv, IVVc::CashDiscPct);
    if (InvoiceKind(GetI16(inv, IVVc::InvType)) != InvoiceKind::Ordinary || DecIsBlank(&pct)) return false;
    PackedDecimal hundred, factor, total = GetDec(inv, IVVc::Total), r;
    DecFromLong(&hundred, 100);
    DecSub(&hundred, &pct, &factor);
    DecMul(&total, &factor, &r);
    DecDiv(&r, &hundred, &r);
    DecRound(&r, 0, out);
    return true;
}
}  // namespace

bool InvoiceAsksPayment(const uint8_t *invoice) {
    assert(invoice);
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, IVVc::InvType));
    if (kind == InvoiceKind::Cash || kind == InvoiceKind::CreditNote) return false;
    PackedDecimal total = GetDec(invoice, IVVc::Total);
    return !DecIsBlank(&total) && !DecIsZero(&total) && !DecIsNegative(&total);
}

bool PaymentFieldCode(int16_t code) { return code == 58 || code == 59 || code == 282 || code == 349; }

// The payment bar code of the invoice with the company's bank account
// into out, as bar-code font characters; empty when it cannot be made
// right (an invoice that asks for no payment, a total of a million or
// more, a reference of more than 20 digits).
void InvoicePaymentBarcode(const uint8_t *invoice, const uint8_t *account, uint8_t *out) {
    out[0] = 0;
    if (!InvoiceAsksPayment(invoice)) return;
    PackedDecimal total = GetDec(invoice, IVVc::Total), limit;
    DecFromLong(&limit, 1000000);
    if (DecCompare(&total, &limit) >= 0) return;
    uint8_t digits[256], part[256], padded[256];
    PStringFromC(digits, "1");
    BankAccountTo14Digits(account, part);
    PStringAppend(digits, part);
    AmountCentsText(&total, part);
    PStringPadLeft(padded, part, '0', AmountDigits);
    PStringAppend(digits, padded);
    uint8_t reference[256];
    InvoicePaymentReference(invoice, reference);
    DigitsOnly(reference, part);
    if (part[0] > ReferenceDigits) return;
    PStringPadLeft(padded, part, '0', ReferenceDigits);
    PStringAppend(digits, padded);
    DateRec due = GetDate(invoice, IVVc::PayDate);
    DateToYYMMDD(&due, part);
    PStringAppend(digits, part);
    PStringAppendC(digits, "0000");
    if (!AppendRef731(digits)) return;
    uint8_t packed[256];
    packed[0] = 0;
    if (!Code128PackDigits(digits, packed) || !Code128AppendCheck(packed)) return;
    PStringAppendChar(out, Code128StartC);
    PStringAppend(out, packed);
    PStringAppendChar(out, Code128Stop1);
    PStringAppendChar(out, Code128Stop2);
}

// The last page's codes of the invoice into out; other codes are left.
void InvoiceTotalsValue(const uint8_t *invoice, const uint8_t *param, int16_t code, int16_t row, uint8_t *out) {
    assert(invoice && param && out);
    const uint8_t *inv = invoice;
    const int inclusive = GetI16(inv, IVVc::InclVat) != 0;
    const uint8_t *side = InvoiceSideRowOf(row);
    uint8_t vatCode[256];
    PackedDecimal sum, vat, value;
    switch (code) {
    case 29: case 30: case 38: case 39: {
        if (!side) return;
        size_t at = code == 29 ? InvoiceSideRow::Measure2 : code == 30 ? InvoiceSideRow::Measure1
                  : code == 38 ? InvoiceSideRow::Spare150 : InvoiceSideRow::Spare162;
        FieldToText(side + at, FtAmount2, out);
        return;
    }
    case 31:
        if (side) GetText(side, InvoiceSideRow::InvCode, out);
        return;
    case 32: case 33:
        out[0] = 0;
        if (VatLineRate(row, &value)) Amount(value, out);
        if (code == 32 && out[0] == 0 && row >= 1 && row <= VatSumsUsedCount(InvoiceVatSums))
            GetUiText(out, Texts::VatRateNone);
        return;
    case 34: case 35: case 36:
        out[0] = 0;
        if (!VatLine(row, inclusive, vatCode, &sum, &vat)) return;
        if (code == 34) value = vat;
        else if (code == 35) value = inclusive ? Sub(sum, vat) : sum;
        else value = inclusive ? sum : Add(sum, vat);
        Amount(value, out);
        return;
    case VatSummaryHeadingCode:
        // The VAT summary's headings: the field's own text, only over a
        // summary that has a line (an invoice without VAT has none).
        out[0] = 0;
        if (InvoiceVatSums && VatSumsUsedCount(InvoiceVatSums) > 0) PStringCopy(out, param);
        return;
    case 73: Amount(GetDec(inv, IVVc::Net), out); return;
    case 74: Amount(GetDec(inv, IVVc::Vat), out); return;
    case 77: Amount(GetDec(inv, IVVc::Total), out); return;
    case 78:
        value = GetDec(inv, IVVc::Total);
        AmountToWords(&value, WordsKindAmount, out);
        return;
    case 96: Amount(SideSum(InvoiceSideRow::Measure2), out); return;
    case 97: Amount(SideSum(InvoiceSideRow::Measure1), out); return;
    case 173: case 174: case 175: {
        PackedDecimal rate = GetDec(inv, IVVc::Rate), amount = GetDec(inv, code == 173 ? IVVc::Vat
                                                                  : code == 174 ? IVVc::Net : IVVc::Total);
        AmountTimesRate(&amount, &rate, &value);
        Amount(value, out);
        return;
    }
    case 204: Amount(ItemQuantity(inv), out); return;
    case 280: case 281:
        value = TotalDiscount(inv);
        out[0] = 0;
        if (DecIsZero(&value)) return;
        if (code == 280) PStringCopy(out, param);
        else Amount(value, out);
        return;
    case 282: case 349: {
        uint8_t account[256];
        account[0] = 0;
        if (CompanyBlock)
            GetPString(CompanyBlock, code == 282 ? CompanyBlk::BankAccount : CompanyBlk::BankAccount2,
                       BankAccountMax, account);
        InvoicePaymentBarcode(inv, account, out);
        return;
    }
    case 303:
        value = inclusive ? Sub(Sub(GetDec(inv, IVVc::Total), GetDec(inv, IVVc::Vat)), GetDec(inv, IVVc::VatFreeNet))
                          : Sub(GetDec(inv, IVVc::Net), GetDec(inv, IVVc::VatFreeNet));
        Amount(value, out);
        return;
    case 304: Amount(GetDec(inv, IVVc::TotalBeforeRound), out); return;
    case 305: Amount(Sub(GetDec(inv, IVVc::Net), GetDec(inv, IVVc::VatFreeNet)), out); return;
    case 306: Amount(GetDec(inv, IVVc::VatFreeNet), out); return;
    case 307: Amount(Add(Sub(GetDec(inv, IVVc::Net), GetDec(inv, IVVc::Freight)), GetDec(inv, IVVc::Vat)), out); return;
    case 308:
        value = inclusive ? GetDec(inv, IVVc::Net) : Sub(GetDec(inv, IVVc::Net), GetDec(inv, IVVc::VatFreeNet));
        Amount(Sub(value, GetDec(inv, IVVc::Freight)), out);
        return;
    case 309: Amount(GetDec(inv, IVVc::Freight), out); return;
    case 310: Amount(Sub(GetDec(inv, IVVc::Net), GetDec(inv, IVVc::Freight)), out); return;
    case 311: Amount(GetDec(inv, IVVc::RoundOff), out); return;
    case 313: case 314:
        out[0] = 0;
        if (!CashDiscounted(inv, &value)) return;
        Amount(code == 313 ? value : Sub(GetDec(inv, IVVc::Total), value), out);
        return;
    case 315: {
        // The word over the total as the customer reads it: a credit note
        // keeps its total positive, so its total is refunded unless it is
        // below zero; an invoice's is paid unless it is below zero.
        PackedDecimal total = GetDec(inv, IVVc::Total);
        const bool credit = InvoiceKind(GetU16(inv, IVVc::InvType)) == InvoiceKind::CreditNote;
        GetUiText(out, DecIsNegative(&total) != credit ? Texts::InvoiceToRefund : Texts::InvoiceToPay);
        return;
    }
    case 316:
        value = Sub(VatSumsWith(inclusive, 1), VatSumsWith(inclusive, 0));
        Amount(value, out);
        return;
    case 317: Amount(VatSumsWith(inclusive, inclusive ? -1 : 0), out); return;
    case 318: Amount(VatSumsWith(inclusive, inclusive ? 0 : 1), out); return;
    default: return;
    }
}
