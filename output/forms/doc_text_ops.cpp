// doc_text_ops.cpp - the value operations the document providers share:
// bar-code texts, kind and terms texts in the document's language, dates,
// groups of three and padded numbers. Each writes a PString out; a record
// that is not found gives the empty text (or the fallback said below),
// never a message: a form prints what there is.
#include <cassert>
#include <cstring>

#include "core/barcode_tables.h"
#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/statement.h"
#include "output/forms/forms.h"
#include "rules/documents.h"
#include "rules/rules_types.h"
#include "rules/settings_row_find.h"

namespace {
constexpr int EanDigits = 12;   // digits before the check digit

// Reads the sales invoice numbered number into rec; false when none.
bool FindInvoice(int32_t number, uint8_t *rec) {
    RecClear(IVVc::Number, rec);
    PutI32(rec, IVVc::SerNr, number);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(IVVc::Number, "SerNr", rec, 1, 1, &recid, &position)) return true;
    RecClear(IVVc::Number, rec);
    return false;
}

// The text of a code register (23, 57, 123, 124: code, name at byte 6 or
// 24, 68-byte language rows) for the language into out: the first
// language row with that code, else the record's own text. False, with
// out empty, when no record has the code.
template <int N, int M>
bool CodeTextByLanguage(int reg, TextField<N> codeField, TextField<M> textField, const uint8_t *code,
                        const uint8_t *language, uint8_t *out, uint8_t *rec) {
    out[0] = 0;
    if (!DocReadByCode(reg, codeField, code, rec)) return false;
    uint8_t own[256];
    GetText(rec, textField, own);
    NthRowWithCode(1, out, RecMatrixHandle(reg, rec), language, own);
    RecFreeMatrix(reg, rec);
    return true;
}
}  // namespace

// "*", the value, "*" (the start and stop characters of a bar-code
// font); empty for an empty value.
void BracketText(const uint8_t *value, uint8_t *out) {
    assert(value && out);
    out[0] = 0;
    if (value[0] == 0) return;
    uint8_t text[256];
    PStringCopy(text, value);
    if (text[0] > 253) text[0] = 253;
    PStringAppendChar(out, '*');
    PStringAppend(out, text);
    PStringAppendChar(out, '*');
}

// The EAN-13 bar-code font text of value: up to 12 digits are padded
// with zeros on the left to 12 and get their check digit; 13 digits are
// taken when their check digit is right. Anything else (letters, more
// digits, a wrong check digit) prints as the plain text, so a code that
// is no article number never becomes a wrong bar code.
void Ean13Digits(const uint8_t *value, uint8_t *out) {
    assert(value && out);
    PStringCopy(out, value);
    int n = value[0];
    if (n == 0 || n > EanDigits + 1) return;
    for (int i = 1; i <= n; i++)
        if (value[i] < '0' || value[i] > '9') return;
    uint8_t digits[256];
    PStringPadLeft(digits, value, '0', n == EanDigits + 1 ? EanDigits + 1 : EanDigits);
    int odd = 0, even = 0;
    for (int i = 1; i <= EanDigits; i++) (i % 2 ? odd : even) += digits[i] - '0';
    uint8_t check = (uint8_t)('0' + (4000 - odd - 3 * even) % 10);
    if (n == EanDigits + 1 && digits[EanDigits + 1] != check) return;
    digits[0] = EanDigits;
    PStringAppendChar(digits, check);
    uint8_t bars[256];
    if (Ean13BarcodeText(digits, bars)) PStringCopy(out, bars);
}

// The name of invoice kind 1..6 (ordinary, cash, credit note, interest,
// down payment, payment); empty for any other.
void KindText(int16_t kind, uint8_t *out) {
    static constexpr int texts[] = {Texts::KindInvoice,         Texts::KindCashInvoice,  Texts::KindCreditNote,
                                    Texts::KindInterestInvoice, Texts::KindDownPayment,  Texts::KindPayment};
    out[0] = 0;
    if (kind >= 1 && kind <= 6) GetUiText(out, texts[kind - 1]);
}

// The name of a statement line's kind; empty for a kind without one.
void StatementKindText(StatementLineKind kind, uint8_t *out) {
    using K = StatementLineKind;
    out[0] = 0;
    if (kind == K::CreditNote || kind == K::CreditOfCashInvoice) GetUiText(out, Texts::StatementCreditNote);
    else if (kind == K::Invoice || kind == K::InterestInvoice) GetUiText(out, Texts::StatementInvoice);
    else if (kind == K::CashInvoice) GetUiText(out, Texts::StatementCashInvoice);
    else if (kind == K::Payment) GetUiText(out, Texts::StatementPayment);
}

// The payment terms' text in the language: register 57's record, else
// the payment mode of block 131 with the code (its name), else empty.
void PaymentTermsText(const uint8_t *code, const uint8_t *language, uint8_t *out) {
    assert(code && language && out);
    uint8_t rec[PayTermsVc::Size] = {};
    if (CodeTextByLanguage(PayTermsVc::Number, PayTermsVc::Code, PayTermsVc::Text, code, language, out,
                           rec))
        return;
    if (code[0] == 0) return;
    // The payment modes are read as the rules read them, loaded when no
    // window has loaded them yet: a form printed first in a session (an
    // interest invoice due by the interest settings' payment mode) must
    // find them as well.
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    const int32_t at = SettingsRowWithCode(modes, PaymentModeBlk::Rows::Code, code);
    if (at >= 0) GetText(modes.data + size_t(at) * modes.rowSize, PaymentModeBlk::Rows::Name, out);
}

// The delivery terms' text (register 23) in the language; empty when missing.
void Register23Text(const uint8_t *code, const uint8_t *language, uint8_t *out) {
    uint8_t rec[DTVc::Size] = {};
    CodeTextByLanguage(DTVc::Number, DTVc::Code, DTVc::Name, code, language, out, rec);
}

// The delivery mode's text (register 123) in the language; empty when missing.
void Register123Text(const uint8_t *code, const uint8_t *language, uint8_t *out) {
    uint8_t rec[DelModeVc::Size] = {};
    CodeTextByLanguage(DelModeVc::Number, DelModeVc::Code, DelModeVc::Name, code, language, out, rec);
}

// The name of the person (register 44) with the code; empty when missing.
void Register44Text(const uint8_t *code, uint8_t *out) {
    uint8_t rec[PEVc::Size] = {};
    out[0] = 0;
    if (!DocReadByCode(PEVc::Number, PEVc::Code, code, rec)) return;
    GetText(rec, PEVc::Name, out);
    RecFreeMatrix(PEVc::Number, rec);
}

// The unit's text in the language, else its own text, else the code
// itself; empty for an empty code.
void UnitTextByLanguage(const uint8_t *language, const uint8_t *unit, uint8_t *out) {
    uint8_t rec[UnitVc::Size] = {};
    if (CodeTextByLanguage(UnitVc::Number, UnitVc::Code, UnitVc::Name, unit, language, out, rec) &&
        out[0] != 0)
        return;
    PStringCopy(out, unit);
}

// The cash-discount date of the invoice (its date plus the discount
// days) when it has a discount percentage; else empty.
void DueDateText(const uint8_t *invoice, uint8_t *out) {
    out[0] = 0;
    PackedDecimal pct = GetDec(invoice, IVVc::CashDiscPct);
    if (DecIsBlank(&pct)) return;
    DateRec date = GetDate(invoice, IVVc::InvDate), due{};
    int32_t days = GetI32(invoice, IVVc::CashDiscDays);
    if (DateIsEmpty(&date)) return;
    DateAddDays(&date, days < 0 ? 0 : days, &due);
    DateToText(&due, out);
}

// The two dates (record bytes of DateRec) as dates with " : " between.
void DateRangeText(const uint8_t *from, const uint8_t *to, uint8_t *out) {
    uint8_t a[256], b[256];
    FieldToText(from, FtDate, a);
    FieldToText(to, FtDate, b);
    PStringCopy(out, a);
    PStringAppendC(out, " : ");
    PStringAppend(out, b);
}

// The text with a blank before its 1st, 4th, 7th ... character.
void GroupByThrees(const uint8_t *text, uint8_t *out) {
    assert(text != out);
    out[0] = 0;
    for (int i = 1; i <= text[0] && out[0] < 254; i++) {
        if ((i - 1) % 3 == 0) PStringAppendChar(out, ' ');
        PStringAppendChar(out, text[i]);
    }
}

// The text at byte 290 of the invoice numbered number; empty when there
// is no such invoice.
void InvoiceText290(int32_t number, uint8_t *out) {
    out[0] = 0;
    uint8_t inv[IVVc::Size] = {};
    if (!FindInvoice(number, inv)) return;
    GetText(inv, IVVc::Text290, out);
    RecFreeMatrix(IVVc::Number, inv);
}

// Splits "123 45 Town" into the postal code (the text before the first
// character above "9", less the blank before it) and the town (from
// that character).
void SplitPostalCity(const uint8_t *text, uint8_t *postal, uint8_t *town) {
    int n = text[0], at = 1;
    while (at <= n && text[at] <= '9') at++;
    int end = at - 1;
    if (end >= 1 && text[end] == ' ') end--;
    PStringFromView(postal, std::string_view((const char *)text + 1, (size_t)end));
    PStringFromView(town, std::string_view((const char *)text + at, (size_t)(n - at + 1)));
}

// The field value of the type as text, cut to width and placed in a
// text of that width filled with fill, right-aligned when asked.
void PadNumber(const uint8_t *value, int16_t type, int16_t width, uint8_t fill, bool right, uint8_t *out) {
    out[0] = 0;
    if (width <= 0) return;
    if (width > 255) width = 255;
    uint8_t text[256];
    FieldToText(value, (uint16_t)type, text);
    if (text[0] > width) text[0] = (uint8_t)width;
    int pad = width - text[0];
    if (right)
        for (int i = 0; i < pad; i++) PStringAppendChar(out, fill);
    PStringAppend(out, text);
    if (!right)
        for (int i = 0; i < pad; i++) PStringAppendChar(out, fill);
}
