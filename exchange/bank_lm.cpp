// bank_lm.cpp - the "LM" record file (bank-file format 13): per payment a
// batch head "LM  00", one "LM  10" per paid invoice and a batch end
// "LM  90" with the debit and credit counts and sums; every record is 300
// characters.
//
// A payment goes into the file whole or not at all: every paid row (kind
// 1, flag 0) must name an existing purchase invoice whose payment
// reference, when it has one, is at most 20 digits, and pay to an account
// number of at most 14 digits (the row's account, as in every format, or
// its invoice's payment text when the row has none); else nothing of the
// payment is written and it stays unsent.
#include <vector>

#include "core/bank_format.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"

namespace {

constexpr int RecordLength = 300;
// The payee account's field holds 14 digits.
constexpr int PayeeDigits = 14;

// The parts every record of a batch begins with or repeats.
struct LmBatchHead {
    PString account14 = {0}, org = {0}, today = {0};
};

void Account14(const LmBatchHead &h) { BankText(h.account14, 14); }

void BatchHead(const LmBatchHead &h, const uint8_t *payingAccount)
{
    BankLineStart();
    BankTextC("LM  00", 6);
    Account14(h);
    BankDigits(h.org, 9);
    BankText(h.today, 6);
    uint16_t hour = 0, minute = 0;
    CurrentHourMinute(&hour, &minute);
    PString two;
    TwoDigits(hour, two);
    BankText(two, 2);
    TwoDigits(minute, two);
    BankText(two, 2);
    PString group;
    BankGroupText(payingAccount, group);
    BankText(group, 2);
    BankText(h.today, 6);
    BankBlanks(RecordLength - BankLineLength());
}

// One paid invoice, to the row's payee account.
void InvoiceRecord(const LmBatchHead &h, const BankRow &row, const uint8_t *invoice, const uint8_t *payDate)
{
    std::vector<uint8_t> vendor(RegRecordSize(VEVc::Number));
    PString code, text;
    GetText(invoice, VIVc::VendCode, code);
    bool haveVendor = BankReadByKey(VEVc::Number, VEVc::Code, code, vendor.data());

    BankLineStart();
    BankTextC("LM  10", 6);
    Account14(h);
    if (haveVendor) {
        GetText(vendor.data(), VEVc::Name, text);
        BankText(text, 30);
        GetText(vendor.data(), VEVc::Addr1, text);
        BankText(text, 20);
        GetText(vendor.data(), VEVc::Addr2, text);
        BankText(text, 20);
    } else {
        GetText(invoice, VIVc::VendName, text);
        BankText(text, 30);
        BankBlanks(40);
    }
    PString account14;
    BankAccountTo14Digits(row.account, account14);
    BankText(account14, 14);
    BankTextC(" 89", 3);
    PString ref;
    GetText(invoice, VIVc::PayRef, ref);
    if (ref[0] != 0) {
        BankTextC("1", 1);
        BankDigits(ref, 20);
        BankBlanks(40);
    } else {
        BankTextC("2", 1);
        GetText(vendor.data(), VEVc::AccountNr, text);   // blank without a vendor
        BankText(text, 10);
        GetText(invoice, VIVc::VendInvNr, text);
        BankText(text, 15);
        DateRec date = GetDate(invoice, VIVc::InvDate);
        DateToYYMMDD(&date, text);
        BankText(text, 6);
        BankBlanks(29);
    }
    BankText(payDate, 6);
    BankTextC("000000000000", 12);
    BankNumber(row.cents < 0 ? -row.cents : row.cents, 12);
    BankBlanks(RecordLength - BankLineLength());
}

void BatchEnd(const LmBatchHead &h, int debits, int64_t debitSum, int credits, int64_t creditSum)
{
    BankLineStart();
    BankTextC("LM  90", 6);
    Account14(h);
    BankDigits(h.org, 9);
    BankText(h.today, 6);
    BankNumber(debits, 6);
    BankNumber(debitSum, 13);
    BankNumber(credits, 6);
    BankNumber(creditSum, 13);
    if (debitSum >= creditSum)
        BankNumber(debitSum - creditSum, 13);
    else
        BankBlanks(13);
    if (creditSum >= debitSum)
        BankNumber(creditSum - debitSum, 13);
    else
        BankBlanks(13);
    BankBlanks(RecordLength - BankLineLength());
}

bool AllDigits(const uint8_t *text)
{
    for (int i = 1; i <= text[0]; i++)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// True when a digit text holds a digit other than "0".
bool HasNonZero(const uint8_t *digits)
{
    for (int i = 1; i <= digits[0]; i++)
        if (digits[i] != '0') return true;
    return false;
}

}  // namespace

BankWrite LmBatch(const uint8_t *payment)
{
    std::vector<BankRow> rows;
    std::vector<uint8_t> invoices;
    if (!BankRowsWithInvoices(payment, PayeeDigits, &rows, &invoices)) return BankWrite::NotWritten;
    const uint32_t invSize = RegRecordSize(VIVc::Number);
    for (size_t r = 0; r < rows.size(); r++) {
        PString ref;
        GetText(invoices.data() + r * invSize, VIVc::PayRef, ref);
        if (!AllDigits(ref)) return BankRefuse(Texts::BankWhyRefNotDigits, ref);
    }

    LmBatchHead h;
    PString paying, text;
    GetText(payment, OPVc::PayText, paying);
    DigitsOnly(paying, text);
    if (!HasNonZero(text)) return BankRefuse(Texts::BankWhyNoPaying);
    BankAccountTo14Digits(paying, h.account14);
    uint8_t company[CompanyBlk::Size] = {0};
    SettingsBlockRead(CompanyBlk::Number, company, sizeof company);
    GetText(company, CompanyBlk::OrgNr, text);
    DigitsOnly(text, h.org);
    DateRec today = BankToday(), payDate = GetDate(payment, OPVc::PayDate);
    DateToYYMMDD(&today, h.today);
    PString payDateText;
    DateToYYMMDD(&payDate, payDateText);

    BatchHead(h, paying);
    int debits = 0, credits = 0;
    int64_t debitSum = 0, creditSum = 0;
    for (size_t r = 0; r < rows.size(); r++) {
        InvoiceRecord(h, rows[r], invoices.data() + r * invSize, payDateText);
        if (rows[r].cents < 0) {
            credits++;
            creditSum += -rows[r].cents;
        } else {
            debits++;
            debitSum += rows[r].cents;
        }
    }
    BatchEnd(h, debits, debitSum, credits, creditSum);
    BankShowPayment(GetI32(payment, OPVc::SerNr));
    return BankWrite::Written;
}
