// payment_document.cpp - the payment documents of an outgoing payment:
// when a payment is approved, one document per vendor it pays, listing
// that vendor's invoices paid by it (document -10), with the vendor's
// name and address, the bank details and the total.
//
// The document's rows live in PaymentDocRows while it prints; the value
// provider reads them, the payment (FormPayment) and the vendor
// (FormVendor). A payment row whose flag is set is in no document.
#include <cassert>
#include <cstring>
#include <string>
#include <vector>

#include "core/amount_words.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "output/forms/forms.h"
#include "rules/rules_types.h"

const uint8_t *FormPayment;

namespace {
constexpr int BankCodeMax = 5, ListMax = 255;
constexpr int16_t PaymentDoc = -10;
constexpr int AddressStep = 62, AddressMax = 60;
const char *const ListSeparator = ", ";

std::vector<uint8_t> PaymentDocRows;   // PaymentDocRow::Size bytes a row

// What the payment's row i says about its invoice.
struct WorkEntry {
    uint8_t vendor[256] = {0};
    uint8_t text[256] = {0};
    DateRec date{}, due{};
};

bool ReadPurchaseInvoice(int32_t number, uint8_t *rec) {
    RecClear(VIVc::Number, rec);
    if (number < 0) return false;
    PutI32(rec, VIVc::SerNr, number);
    uint32_t recid = 0, position = 0;
    bool found = RecFindByIndex(VIVc::Number, "SerNr", rec, 1, 1, &recid, &position);
    if (!found) RecClear(VIVc::Number, rec);
    return found;
}

// The work entry of a payment row whose flag is clear: the vendor code
// from the row, replaced by the invoice's payee (or vendor) when the
// invoice is found, and the invoice's text and dates.
void FillEntry(const uint8_t *row, WorkEntry *e) {
    GetText(row, OPVc::Rows::VendCode, e->vendor);
    RuleRecord inv(VIVc::Number);
    if (!inv.record || !ReadPurchaseInvoice(GetI32(row, OPVc::Rows::InvoiceNr), inv.record)) return;
    GetText(inv.record, VIVc::PayeeCode, e->vendor);
    if (e->vendor[0] == 0) GetText(inv.record, VIVc::VendCode, e->vendor);
    GetText(inv.record, VIVc::VendInvNr, e->text);
    e->date = GetDate(inv.record, VIVc::InvDate);
    e->due = GetDate(inv.record, VIVc::DueDate);
    RecFreeMatrix(VIVc::Number, inv.record);
}

// Appends document row n from payment row `row` and its entry.
void FillDocRow(const uint8_t *row, const WorkEntry &e, uint8_t *doc) {
    uint8_t text[256];
    PutText(doc, PaymentDocRow::InvoiceText, e.text);
    GetText(row, OPVc::Rows::InvPayText, text);
    PutText(doc, PaymentDocRow::RowText, text);
    PutDec(doc, PaymentDocRow::Amount, GetDec(row, OPVc::Rows::Amount));
    PutDate(doc, PaymentDocRow::InvDate, e.date);
    PutDate(doc, PaymentDocRow::DueDate, e.due);
    GetText(row, OPVc::Rows::AccountText, text);
    PutText(doc, PaymentDocRow::RowText62, text);
}

// Appends text to the list after the separator, while it fits.
void AppendToList(uint8_t *list, const uint8_t *text) {
    size_t sep = list[0] ? std::strlen(ListSeparator) : 0;
    if (list[0] + sep + text[0] > ListMax) return;
    if (sep) PStringAppendC(list, ListSeparator);
    PStringAppend(list, text);
}
}  // namespace

// Looks up the bank whose code is the first five characters of the
// document's vendor text: found, the vendor text becomes the bank's name
// and the two bank texts its texts at 254 and 296; not found, they stay.
void PaymentDocBank(uint8_t *document) {
    uint8_t code[256], text[256];
    GetText(document, PaymentDocRec::VendText, code);
    if (code[0] > BankCodeMax) code[0] = BankCodeMax;
    uint8_t bank[BankVc::Size] = {};
    if (!DocReadByCode(BankVc::Number, BankVc::Code, code, bank)) return;
    GetText(bank, BankVc::Name, text);
    PutText(document, PaymentDocRec::VendText, text);
    GetText(bank, BankVc::NameInFiles, text);
    PutText(document, PaymentDocRec::BankText94, text);
    GetText(bank, BankVc::Iban, text);
    PutText(document, PaymentDocRec::BankText116, text);
}

// Prints one payment document per vendor the payment pays (at the
// vendor's first row; flagged rows are left out). 1 when every document
// printed, else 0; a payment with nothing to print gives 1.
uint8_t PaymentDocPrint(const uint8_t *payment) {
    assert(payment);
    FormPayment = payment;
    int32_t count = MatrixRowCount(OPVc::Number, 0, payment);
    if (count < 0) count = 0;
    std::vector<std::vector<uint8_t>> rows((size_t)count, std::vector<uint8_t>(OPVc::Rows::Size));
    std::vector<WorkEntry> entries((size_t)count);
    std::vector<bool> counts((size_t)count, false);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OPVc::Number, payment, i, rows[(size_t)i].data())) continue;
        if (GetU16(rows[(size_t)i].data(), OPVc::Rows::Flag) != 0) continue;
        counts[(size_t)i] = true;
        FillEntry(rows[(size_t)i].data(), &entries[(size_t)i]);
    }
    uint8_t all = 1;
    for (int32_t i = 0; i < count; i++) {
        const WorkEntry &e = entries[(size_t)i];
        if (!counts[(size_t)i] || e.vendor[0] == 0) continue;
        bool earlier = false;
        for (int32_t k = 0; k < i && !earlier; k++)
            earlier = counts[(size_t)k] && PStringEqual(entries[(size_t)k].vendor, e.vendor);
        if (earlier) continue;
        // This vendor's rows, from its first.
        PaymentDocRows.assign(0, 0);
        PackedDecimal total;
        DecSetZero(&total);
        uint8_t list[256] = {0};
        for (int32_t j = i; j < count; j++) {
            if (!counts[(size_t)j] || !PStringEqual(entries[(size_t)j].vendor, e.vendor)) continue;
            const uint8_t *row = rows[(size_t)j].data();
            size_t at = PaymentDocRows.size();
            PaymentDocRows.resize(at + PaymentDocRow::Size, 0);
            FillDocRow(row, entries[(size_t)j], PaymentDocRows.data() + at);
            PackedDecimal amount = GetDec(row, OPVc::Rows::Amount);
            DecAdd(&total, &amount, &total);
            AppendToList(list, entries[(size_t)j].text);
        }
        const uint8_t *first = rows[(size_t)i].data();
        uint8_t doc[PaymentDocRec::Size] = {}, text[256];
        GetText(first, OPVc::Rows::InvPayText, text);
        PutText(doc, PaymentDocRec::PayText, text);
        GetText(first, OPVc::Rows::AccountText, text);
        PutText(doc, PaymentDocRec::RowText62, text);
        PutText(doc, PaymentDocRec::InvoiceList, list);
        PutDec(doc, PaymentDocRec::Total, total);
        // The vendor (into FormVendor, which the print keeps) and the
        // first row's invoice give the giro and the payment reference.
        DocReadByCode(VEVc::Number, VEVc::Code, e.vendor, FormVendor);
        GetText(FormVendor, VEVc::PostalGiro, text);
        PutText(doc, PaymentDocRec::VendText, text);
        PaymentDocBank(doc);
        RuleRecord inv(VIVc::Number);
        if (inv.record && ReadPurchaseInvoice(GetI32(first, OPVc::Rows::InvoiceNr), inv.record)) {
            GetText(inv.record, VIVc::PayRef, text);
            PutText(doc, PaymentDocRec::PayRef, text);
            RecFreeMatrix(VIVc::Number, inv.record);
        }
        if (PrintForm(PaymentDoc, doc) != 1) all = 0;
        PaymentDocRows.clear();
    }
    FormPayment = nullptr;
    return all;
}

// The number of rows of the payment document being printed.
int32_t PaymentDocRowCount() { return (int32_t)(PaymentDocRows.size() / PaymentDocRow::Size); }

// The value of the payment document's field code for row (from 1 for
// its rows) into out; other codes are left.
void PaymentDocFieldValue(const uint8_t *document, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(document && out);
    (void)param;
    const uint8_t *d = document, *v = FormVendor, *p = FormPayment;
    const uint8_t *r = row >= 1 && row <= PaymentDocRowCount() ? PaymentDocRows.data() + (size_t)(row - 1) * PaymentDocRow::Size
                                                             : nullptr;
    auto rowField = [&](size_t at, uint16_t type, int m) {
        out[0] = 0;
        if (!r) return;
        if (type == FtText) GetPString(r, at, m, out);
        else FieldToText(r + at, type, out);
    };
    switch (code) {
    case 3:
        out[0] = 0;
        if (row >= 1 && row <= 4) GetPString(v, VEVc::Name + (size_t)(row - 1) * AddressStep, AddressMax, out);
        return;
    case 69: rowField(PaymentDocRow::RowText62, FtText, 60); return;
    case 77: {
        PackedDecimal total = GetDec(d, PaymentDocRec::Total);
        if (DecSign(&total) > 0) FieldToText(d + PaymentDocRec::Total, FtAmount2, out);
        else GetUiText(out, Texts::PayDocNothingToPay);
        return;
    }
    case 78: {
        PackedDecimal total = GetDec(d, PaymentDocRec::Total);
        AmountToWords(&total, WordsKindAmount, out);
        return;
    }
    case 88: out[0] = 0; if (p) GetText(p, OPVc::CurncyCode, out); return;
    case 160: GetText(d, PaymentDocRec::RowText62, out); return;
    case 208: GetText(v, VEVc::Name, out); return;
    case 209: out[0] = 0; if (p) FieldToText(p + OPVc::PayDate, FtDate, out); return;
    // The document has no amount for code 314: it prints nothing.
    case 314: out[0] = 0; return;
    case 319: rowField(PaymentDocRow::RowText, FtText, 30); return;
    case 320: rowField(PaymentDocRow::InvDate, FtDate, 0); return;
    case 321: rowField(PaymentDocRow::DueDate, FtDate, 0); return;
    case 322: rowField(PaymentDocRow::Amount, FtAmount2, 0); return;
    case 323: rowField(PaymentDocRow::InvoiceText, FtText, 20); return;
    case 324: GetText(d, PaymentDocRec::PayText, out); return;
    case 325: GetText(d, PaymentDocRec::PayRef, out); return;
    case 326: GetText(d, PaymentDocRec::VendText, out); return;
    case 327: GetText(d, PaymentDocRec::BankText94, out); return;
    case 328: GetText(d, PaymentDocRec::BankText116, out); return;
    case 329: out[0] = 0; if (p) GetText(p, OPVc::Text112, out); return;
    case 330: out[0] = 0; if (p) GetText(p, OPVc::PayText, out); return;
    case 331: out[0] = 0; if (p) FieldToText(p + OPVc::SerNr, FtLongOrEmpty, out); return;
    case 332: out[0] = 0; if (p) FieldToText(p + OPVc::RateDate, FtDateLong, out); return;
    case 333: GetText(v, VEVc::OurRef, out); return;
    case 334: GetText(d, PaymentDocRec::InvoiceList, out); return;
    default: return;
    }
}
