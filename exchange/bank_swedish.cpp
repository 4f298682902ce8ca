// bank_swedish.cpp - the Swedish fixed-width payment files (bank-file
// format 5). Without the second-file switch: per payment in the home
// currency a domestic batch of 80-character records "11", "14" (invoice)
// or "15" (credit note) per paid row, and "29" with the count and total;
// payments in another currency go to the foreign layouts. With the
// switch: one file of 100-character records for the postal-giro payments
// (payment mode "P"): "0" and "2" opening it, "53" (positive) or "63"
// (negative) per paid row, and "7" with the running total.
//
// Selection: Option2 the second-file switch, Option3 the due-date switch
// (a row is dated by its invoice's due date when that is later), SelText2
// the one-character text of the "0" record.
//
// The digit fields hold no sign: a payment whose record would need one (a
// negative invoice row, a positive credit-note row, a negative batch
// total) is not written, and neither is one with a row that cannot be
// written whole; each stays unsent and is listed.
#include <vector>

#include "core/bank_format.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "rules/invoice_kind.h"

namespace {

constexpr int DomesticLength = 80, SecondLength = 100;

// The running total of the second file, in hundredths.
int64_t SecondTotal = 0;

// The company's customer number at the bank: the text Telepay writes as
// the enterprise number.
constexpr uint32_t CustomerNumberField = CompanyBlk::EnterpriseNr;

bool IsPostalGiro(const uint8_t *payment)
{
    PString mode;
    GetText(payment, OPVc::PayMode, mode);
    return mode[0] == 1 && mode[1] == 'P';
}

// The date a payment's rows carry: its rate date, or its payment date
// when that is empty.
DateRec PaymentRowDate(const uint8_t *payment)
{
    DateRec d = GetDate(payment, OPVc::RateDate);
    return DateIsEmpty(&d) ? GetDate(payment, OPVc::PayDate) : d;
}

// The date of a row: the invoice's due date when the due-date switch is
// set and that date is later than the payment's, else the payment's.
DateRec RowDate(const uint8_t *selection, const uint8_t *invoice, DateRec paymentDate)
{
    DateRec due = GetDate(invoice, VIVc::DueDate);
    bool byDue = GetU16(selection, ReportParamsVc::Option3) == 1 && DateCompare(&due, &paymentDate) > 0;
    return byDue ? due : paymentDate;
}

void Yymmdd(DateRec date)
{
    PString t;
    DateToYYMMDD(&date, t);
    BankText(t, 6);
}

// The invoice kind as the files count it: outside 1 to 3 is 1, and a
// kind 1 of a negative invoice amount is a credit note (3).
uint16_t CountedKind(const uint8_t *invoice)
{
    uint16_t kind = GetU16(invoice, VIVc::InvType);
    if (kind < uint16_t(InvoiceKind::Ordinary) || kind > uint16_t(InvoiceKind::CreditNote))
        kind = uint16_t(InvoiceKind::Ordinary);
    PackedDecimal amount = GetDec(invoice, VIVc::InvAmount);
    if (InvoiceKind(kind) == InvoiceKind::Ordinary && DecSign(&amount) < 0) kind = uint16_t(InvoiceKind::CreditNote);
    return kind;
}

BankWrite DomesticBatch(const uint8_t *selection, const uint8_t *payment)
{
    std::vector<BankRow> rows;
    std::vector<uint8_t> invoices;
    if (!BankRowsWithInvoices(payment, 10, &rows, &invoices, BankPayee::Giro)) return BankWrite::NotWritten;
    const uint32_t size = RegRecordSize(VIVc::Number);
    int64_t total = 0;
    for (size_t r = 0; r < rows.size(); r++) {
        bool credit = CountedKind(invoices.data() + r * size) == 3;
        if (credit ? rows[r].cents > 0 : rows[r].cents < 0) return BankRefuse(Texts::BankWhyCreditSign);
        total += rows[r].cents;
    }
    if (total < 0) return BankRefuse(Texts::BankWhyNegative);
    PString paying, digits, title;
    GetText(payment, OPVc::PayText, paying);
    DigitsOnly(paying, digits);
    if (digits[0] > 10) return BankRefuse(Texts::BankWhyPayingLong);
    const DateRec today = BankToday(), paymentDate = PaymentRowDate(payment);

    BankLineStart();
    BankTextC("11", 2);
    BankDigits(digits, 10);
    Yymmdd(today);
    GetUiText(title, Texts::BankBatchTitle);
    BankText(title, 22);
    BankBlanks(DomesticLength - BankLineLength());
    for (size_t r = 0; r < rows.size(); r++) {
        const uint8_t *invoice = invoices.data() + r * size;
        bool credit = CountedKind(invoice) == 3;
        PString account, number;
        BankLineStart();
        BankTextC(credit ? "15" : "14", 2);
        DigitsOnly(rows[r].account, account);
        BankDigits(account, 10);
        GetText(invoice, VIVc::VendInvNr, number);
        BankText(number, 25);
        BankNumber(credit ? -rows[r].cents : rows[r].cents, 12);
        Yymmdd(RowDate(selection, invoice, paymentDate));
        BankBlanks(DomesticLength - BankLineLength());
    }
    BankLineStart();
    BankTextC("29", 2);
    BankDigits(digits, 10);
    BankNumber(int64_t(rows.size()), 8);
    BankNumber(total, 12);
    BankBlanks(DomesticLength - BankLineLength());
    BankShowPayment(GetI32(payment, OPVc::SerNr));
    return BankWrite::Written;
}

// The customer number, five places, filled with "0" on the right.
void CustomerNumber(const uint8_t *company)
{
    PString number;
    GetPString(company, CustomerNumberField, 20, number);
    BankField(number, 5, '0', false);
}

// A record of the company: its type, the customer number, the digits of
// the company's bank account right-aligned in ten blanks, two blanks.
void CompanyRecordStart(const char *type, const uint8_t *company)
{
    PString text, digits;
    BankLineStart();
    BankTextC(type, 1);
    CustomerNumber(company);
    GetText(company, CompanyBlk::BankAccount, text);
    DigitsOnly(text, digits);
    BankField(digits, 10, ' ', true);
    BankBlanks(2);
}

BankWrite SecondFilePayment(const uint8_t *selection, const uint8_t *payment)
{
    std::vector<BankRow> rows;
    std::vector<uint8_t> invoices;
    if (!BankRowsWithInvoices(payment, 10, &rows, &invoices, BankPayee::Giro)) return BankWrite::NotWritten;
    const uint32_t size = RegRecordSize(VIVc::Number);
    const DateRec paymentDate = GetDate(payment, OPVc::PayDate);
    std::vector<uint8_t> vendor(RegRecordSize(VEVc::Number));
    for (size_t r = 0; r < rows.size(); r++) {
        if (rows[r].cents == 0) continue;
        const uint8_t *invoice = invoices.data() + r * size;
        PString code, text, account;
        GetText(invoice, VIVc::PayeeCode, code);
        if (code[0] == 0) GetText(invoice, VIVc::VendCode, code);
        BankReadByKey(VEVc::Number, VEVc::Code, code, vendor.data());   // none: empty payee text
        const bool negative = rows[r].cents < 0;
        BankLineStart();
        BankTextC(negative ? "63 " : "53 ", 7);
        DigitsOnly(rows[r].account, account);
        BankField(account, 10, ' ', true);
        GetText(vendor.data(), VEVc::Name, text);
        BankText(text, 27);
        BankNumber(negative ? -rows[r].cents : rows[r].cents, 11);
        if (negative) {
            Yymmdd(paymentDate);
            Yymmdd(paymentDate);
        } else {
            Yymmdd(RowDate(selection, invoice, paymentDate));
        }
        BankBlanks(SecondLength - BankLineLength());
        SecondTotal += rows[r].cents;
    }
    BankShowPayment(GetI32(payment, OPVc::SerNr));
    return BankWrite::Written;
}

}  // namespace

void SwedishSecondOpen(const uint8_t *selection)
{
    SecondTotal = 0;
    uint8_t company[CompanyBlk::Size] = {0};
    SettingsBlockRead(CompanyBlk::Number, company, sizeof company);
    PString text;
    GetText(selection, ReportParamsVc::SelText2, text);
    if (text[0] == 0) PStringFromView(text, "1");
    BankLineStart();
    BankTextC("0", 1);
    CustomerNumber(company);
    Yymmdd(BankToday());
    BankText(text, 1);
    BankBlanks(SecondLength - BankLineLength());

    CompanyRecordStart("2", company);
    GetText(company, CompanyBlk::CompanyName, text);
    BankText(text, 27);
    GetText(company, CompanyBlk::Telephone, text);
    BankText(text, 27);
    BankBlanks(SecondLength - BankLineLength());
}

BankWrite SwedishPayment(const uint8_t *selection, const uint8_t *payment, bool secondFile)
{
    PString paying;
    GetText(payment, OPVc::PayText, paying);
    if (paying[0] == 0) return BankRefuse(Texts::BankWhyNoPaying);
    if (IsPostalGiro(payment) != secondFile) return BankWrite::OtherFile;
    if (secondFile) return SecondFilePayment(selection, payment);
    PString currency;
    GetText(payment, OPVc::CurncyCode, currency);
    if (currency[0] != 0 && !PStringEqualC(currency, "SEK")) return SwedishForeignBatch(selection, payment);
    return DomesticBatch(selection, payment);
}

void SwedishSecondClose()
{
    uint8_t company[CompanyBlk::Size] = {0};
    SettingsBlockRead(CompanyBlk::Number, company, sizeof company);
    CompanyRecordStart("7", company);
    BankNumber(SecondTotal < 0 ? -SecondTotal : SecondTotal, 12);
    BankTextC(SecondTotal < 0 ? "-" : "+", 1);
    BankBlanks(SecondLength - BankLineLength());
}
