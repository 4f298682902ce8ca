// payment_terms.cpp - payment terms (register 57) and payment modes (block
// 131) applied to documents: due dates, cash-discount dates and amounts,
// and the document kind the terms give.
//
// Terms kinds (PayTermsKind): 1 ordinary, 2 cash (also what a payment-mode
// code typed as the terms gives), 3 credit note, 4 days counted from the
// first of the next month; 0 counts as 1. The kind is stored as the terms
// window's radio buttons set it and a sales document takes it as its own
// kind, so each button is named by what the document becomes. Days of all
// bits set mean "due on the document date".
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "rules/invoice_kind.h"
#include "rules/pay_terms_kind.h"
#include "rules/series_terms.h"
#include "rules/settings_row_find.h"
#include "rules/vat_currency.h"

namespace {

constexpr uint32_t DaysNone = 0xFFFFFFFFu;   // due on the document date / no discount date

// True when a row of block 131 has the payment-mode code (a PString).
bool PaymentModeExists(const uint8_t *code) {
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    return SettingsRowWithCode(modes, PaymentModeBlk::Rows::Code, code) >= 0;
}

// The kind of a terms record, 0 read as ordinary.
PayTermsKind TermsKindOf(const uint8_t *terms) {
    uint16_t kind = GetU16(terms, PayTermsVc::Kind);
    return kind == 0 ? PayTermsKind::Ordinary : PayTermsKind(kind);
}

// The kind a document takes from terms of a kind: a cash invoice from cash
// terms, a credit note from credit-note terms, an ordinary invoice from
// any other (the next-month rule only moves the due date).
InvoiceKind InvoiceKindOfTerms(PayTermsKind kind) {
    switch (kind) {
    case PayTermsKind::Cash: return InvoiceKind::Cash;
    case PayTermsKind::CreditNote: return InvoiceKind::CreditNote;
    default: return InvoiceKind::Ordinary;
    }
}

// Days from date to the first day of the month after it (1 on a month's
// last day; December rolls into January of the next year).
int32_t DaysToNextMonth(const DateRec *date) {
    DateRec first{1, date->month, date->year};
    if (first.month >= 12) {
        first.month = 1;
        first.year = (uint16_t)(first.year + 1);
    } else {
        first.month = (uint16_t)(first.month + 1);
    }
    return DateDiffDays(&first, date);
}

// date + days, or date itself when days is DaysNone.
DateRec DueAfter(const DateRec *date, uint32_t days) {
    DateRec due = *date;
    if (days != DaysNone) DateAddDays(date, (int32_t)days, &due);
    return due;
}

// Copies the text of the payment mode named at offset PayMode (or row 0
// when that is empty or unknown) into the record's payment text; an empty
// code also takes the row's code. Registers 30 and 110 share this layout.
void PaymentModeInto(uint8_t *record) {
    static_assert(OPVc::PayMode == PersPayVc::PayMode && OPVc::PayText == PersPayVc::Text);
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    if (modes.count == 0) return;
    uint8_t code[256], rowCode[256], text[256];
    GetText(record, OPVc::PayMode, code);
    int32_t at = code[0] != 0 ? SettingsRowWithCode(modes, PaymentModeBlk::Rows::Code, code) : -1;
    const uint8_t *row = modes.data + (size_t)(at < 0 ? 0 : at) * modes.rowSize;
    GetText(row, PaymentModeBlk::Rows::BankAccount, text);
    PutText(record, OPVc::PayText, text);
    if (code[0] == 0) {
        GetText(row, PaymentModeBlk::Rows::Code, rowCode);
        PutText(record, OPVc::PayMode, rowCode);
    }
}

}  // namespace

// Reads the terms of the two-character code into record (a register-57
// buffer; rows a read brings are the caller's to free, as a RuleRecord
// does): true when found. Otherwise the code field is cleared, the first
// terms record (if any) is read, and the answer is false.
bool FindPaymentTerms(const uint8_t *code, uint8_t *record) {
    assert(code && record);
    uint32_t recid = 0, position = 0;
    PutText(record, PayTermsVc::Code, code);
    if (RecFind(PayTermsVc::Number, record, 0, 1, &recid, &position)) return true;
    PutText(record, PayTermsVc::Code, EmptyPString);
    RecFind(PayTermsVc::Number, record, 0, 0, &recid, &position);
    return false;
}

// True when code names payment terms or a payment mode.
bool PaymentTermsKnown(const uint8_t *code) {
    assert(code);
    if (code[0] == 0) return false;
    RuleRecord terms(PayTermsVc::Number);
    if (terms.record && FindPaymentTerms(code, terms.record)) return true;
    return PaymentModeExists(code);
}

// The kind of the terms of code: the terms record's kind (0 read as 1;
// with an empty code, the first record's); 2 (cash) when only a payment
// mode of block 131 has the code; 1 when neither table has it.
int PaymentTermsKind(const uint8_t *code) {
    assert(code);
    RuleRecord terms(PayTermsVc::Number);
    if (!terms.record) return int(PayTermsKind::Ordinary);
    // A miss leaves the first terms record read, or a cleared one (kind 0,
    // read as 1) when the register is empty.
    if (FindPaymentTerms(code, terms.record) || code[0] == 0) return int(TermsKindOf(terms.record));
    if (PaymentModeExists(code)) return int(PayTermsKind::Cash);
    return int(PayTermsKind::Ordinary);
}

// Sets a sales invoice's terms code, days, discount, kind, payment-mode
// text and due date from its payment terms: its own terms record, else a
// payment mode of that code (a cash invoice, due on the invoice date),
// else the first terms record, whose code replaces the unknown one.
// Next-month terms count the days from the first of the next month; an
// interest invoice keeps its kind. Cash terms make a cash invoice;
// credit-note terms make a credit note: text "K" and the credit notes'
// stock switch of block 133.
void ApplyPaymentTerms(uint8_t *invoice) {
    assert(invoice);
    RuleRecord terms(PayTermsVc::Number);
    if (!terms.record) return;
    uint8_t code[256];
    GetText(invoice, IVVc::PayTerms, code);
    PayTermsKind termsKind;
    bool found = FindPaymentTerms(code, terms.record);
    if (!found && code[0] != 0 && PaymentModeExists(code)) {
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutU32(invoice, IVVc::PayDays, 0);
        PutDec(invoice, IVVc::CashDiscPct, blank);
        PutU32(invoice, IVVc::CashDiscDays, DaysNone);
        termsKind = PayTermsKind::Cash;
    } else {
        uint8_t termsCode[256];
        GetText(terms.record, PayTermsVc::Code, termsCode);
        PutText(invoice, IVVc::PayTerms, termsCode);
        PutU32(invoice, IVVc::PayDays, GetU32(terms.record, PayTermsVc::Days));
        PutDec(invoice, IVVc::CashDiscPct, GetDec(terms.record, PayTermsVc::DiscPct));
        PutU32(invoice, IVVc::CashDiscDays, GetU32(terms.record, PayTermsVc::DiscDays));
        termsKind = TermsKindOf(terms.record);
    }
    const uint8_t noText[1] = {0};
    PutText(invoice, IVVc::Text426, noText);   // the terms empty the text at 426
    // An interest invoice stays one, whatever its terms.
    const bool interest = InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::Interest;
    if (!interest) PutU16(invoice, IVVc::InvType, uint16_t(InvoiceKindOfTerms(termsKind)));
    if (InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote) {
        uint8_t k[2] = {1, 'K'};
        PutText(invoice, IVVc::PayModeText, k);
        uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
        PutU16(invoice, IVVc::UpdStock, accounts ? GetU16(accounts, SalesAccountsBlk::CreditNoteUpdateStock) : 0);
    } else {
        PutText(invoice, IVVc::PayModeText, EmptyPString);
    }
    DateRec date = GetDate(invoice, IVVc::InvDate);
    uint32_t days = GetU32(invoice, IVVc::PayDays);
    if (termsKind == PayTermsKind::NextMonth && days != DaysNone && !DateIsEmpty(&date)) {
        days = days + (uint32_t)DaysToNextMonth(&date) - 1;
        PutU32(invoice, IVVc::PayDays, days);
    }
    PutDate(invoice, IVVc::PayDate, DueAfter(&date, days));
}

// Gives an interest or sample invoice the interest settings' payment mode
// (block 134) as its terms when they name one, so that it is due as they
// say: a payment mode of block 131 on the invoice's date, terms of that
// code after their days. Without one the invoice keeps the terms it took
// from its customer. Then ApplyPaymentTerms, as for every sales invoice.
void ApplyInterestPaymentTerms(uint8_t *invoice) {
    assert(invoice);
    if (const uint8_t *interest = SettingsRecord(InterestBlk::Number, InvoiceRateBlock)) {
        uint8_t mode[256];
        GetText(interest, InterestBlk::PayMode, mode);
        if (mode[0] != 0) PutText(invoice, IVVc::PayTerms, mode);
    }
    ApplyPaymentTerms(invoice);
}

// Sets a purchase invoice's kind, cash-discount amount (whole units,
// rounded once: rules/decisions.md) and date, and due date from the terms
// of its code (the first terms record when the code has none). Days of
// all bits set make the invoice due on its date, also under the
// next-month rule.
void ApplyPurchaseInvoiceTerms(uint8_t *pi) {
    assert(pi);
    RuleRecord terms(PayTermsVc::Number);
    if (!terms.record) return;
    uint8_t code[256];
    GetText(pi, VIVc::PayTerms, code);
    FindPaymentTerms(code, terms.record);
    const PayTermsKind kind = TermsKindOf(terms.record);
    PutU16(pi, VIVc::InvType, uint16_t(InvoiceKindOfTerms(kind)));

    PackedDecimal pct = GetDec(terms.record, PayTermsVc::DiscPct), discount;
    DecSetBlank(&discount);
    bool hasDiscount = !DecIsZero(&pct);
    if (hasDiscount) {
        // Rounded once from the exact share: rounding to thousandths first
        // would carry 202.4995 up to 202.500 and then to 203.
        PackedDecimal amount = GetDec(pi, VIVc::InvAmount);
        PercentOfAmountTo(&amount, &pct, 0, &discount);
    }
    PutDec(pi, VIVc::DiscAmount, discount);

    DateRec date = GetDate(pi, VIVc::InvDate);
    uint32_t discDays = GetU32(terms.record, PayTermsVc::DiscDays);
    PutDate(pi, VIVc::DiscDate, DateRec{0, 0, 0});
    if (!DateIsEmpty(&date) && hasDiscount && discDays != DaysNone)
        PutDate(pi, VIVc::DiscDate, DueAfter(&date, discDays));

    uint32_t days = GetU32(terms.record, PayTermsVc::Days);
    if (kind == PayTermsKind::NextMonth && days != DaysNone && !DateIsEmpty(&date))
        days = days + (uint32_t)DaysToNextMonth(&date) - 1;
    PutDate(pi, VIVc::DueDate, DueAfter(&date, days));
}

// The purchase-invoice window's entry to ApplyPurchaseInvoiceTerms.
void RefreshPurchaseInvoiceTerms(uint8_t *pi) { ApplyPurchaseInvoiceTerms(pi); }

// Copies the text of the record's payment mode (block 131; row 0 for an
// empty or unknown code) into the record, and for an empty code also the
// row's code. No payment modes: nothing changes.
void ApplyPaymentMode(uint8_t *record) {
    assert(record);
    PaymentModeInto(record);
}

// The same, for a record made as a copy.
void ApplyPaymentModeCopy(uint8_t *record) {
    assert(record);
    PaymentModeInto(record);
}
