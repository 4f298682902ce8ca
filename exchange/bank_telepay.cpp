// bank_telepay.cpp - the Telepay payment file (bank-file format 9): an
// opening record BETFOR00, per payee of a payment a transfer BETFOR21
// followed by one BETFOR23 per paid invoice, and a closing BETFOR99.
// Every record is four lines of 80 characters and begins with a
// 40-character transmission head.
//
// Counters: settings block 224 keeps the date of the last file, the daily
// sequence (restarted at 1 on a new day, one step per head) and the record
// sequence (one step per record, 9999 followed by 0). They are stored only
// once the file has been written whole, so a failed file takes no numbers.
//
// A payment goes into the file whole or not at all: every paid row (kind
// 1, flag 0) must name a payee account of at most 11 digits and an
// existing purchase invoice, and no payee's total may be negative; else
// nothing of it is written and it stays unsent. The transfer total of a
// payee is the sum of exactly the invoice records written after it.
#include <cstring>
#include <string>
#include <vector>

#include "core/bank_format.h"
#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "output/forms/forms.h"
#include "rules/invoice_kind.h"

namespace {

// The company's enterprise number: the text of 20 at byte 528 of the
// company block (docs/bank_files.md).
constexpr uint32_t EnterpriseNumberField = CompanyBlk::EnterpriseNr;
// The widest account a Telepay field holds.
constexpr int AccountDigits = 11;

struct TelepayState {
    uint16_t recordSeq = 0, dailySeq = 1, count = 0;
    PString enterprise = {0}, account = {0}, text12 = {0};
};
TelepayState State;

void TodayMMDD()
{
    DateRec today = BankToday();
    PString t;
    DateToMMDD(&today, t);
    BankText(t, 4);
}

void TodayYYMMDD()
{
    DateRec today = BankToday();
    PString t;
    DateToYYMMDD(&today, t);
    BankText(t, 6);
}

void BlankLine() {
    BankLineStart();
    BankBlanks(80);
}

// Line 1 of a record: the transmission head, the record name, the
// enterprise number, the company account (transfer and invoice records)
// and the record sequence.
void RecordHead(const char *name, bool withAccount)
{
    State.count++;
    BankLineStart();
    BankTextC("AH100TBII", 9);
    TodayMMDD();
    BankNumber(State.dailySeq++, 6);
    BankBlanks(19);
    BankTextC("04", 2);
    BankTextC(name, 8);
    BankDigits(State.enterprise, 11);
    if (withAccount)
        BankDigits(State.account, 11);
    else
        BankBlanks(11);
    BankNumber(State.recordSeq, 4);
    State.recordSeq = State.recordSeq >= 9999 ? 0 : uint16_t(State.recordSeq + 1);
    BankBlanks(6);
}

// A text through TelepayLetters, left in width.
void LettersText(const uint8_t *text, int width)
{
    PString t;
    TelepayLetters(text, t);
    BankText(t, width);
}

// The transfer record of a payee: the name from the invoice of its first
// row, the address from that invoice's vendor.
void Transfer(int32_t serial, const BankRow &first, const uint8_t *invoice, int64_t total)
{
    std::vector<uint8_t> vendor(RegRecordSize(VEVc::Number));
    PString code, name, a1, a2, a3, head, rest, postal, town, townHead, townRest, digits, number;
    GetText(invoice, VIVc::VendCode, code);
    GetText(invoice, VIVc::VendName, name);
    BankReadByKey(VEVc::Number, VEVc::Code, code, vendor.data());   // none: empty address
    GetText(vendor.data(), VEVc::Addr1, a1);
    GetText(vendor.data(), VEVc::Addr2, a2);
    GetText(vendor.data(), VEVc::Addr3, a3);

    RecordHead("BETFOR21", true);
    BankLineStart();
    TodayYYMMDD();
    PStringFromView(number, std::to_string(serial));
    BankText(number, 30);
    BankBlanks(1);
    DigitsOnly(first.account, digits);
    BankDigits(digits, 11);
    LettersText(name, 30);
    SplitAt(a1, 2, head, rest);
    LettersText(head, 2);

    BankLineStart();
    LettersText(rest, 28);
    LettersText(a2, 30);
    SplitPostalCity(a3, postal, town);
    TelepayLetters(postal, postal);
    BankField(postal, 4, '0', false);
    SplitAt(town, 18, townHead, townRest);
    LettersText(townHead, 18);

    BankLineStart();
    TelepayLetters(townRest, townRest);
    BankField(townRest, 8, ' ', true);
    BankBlanks(15);
    BankTextC("150", 3);
    BankTextC("F", 1);
    BankBlanks(1);
    BankNumber(total, 15);
    BankBlanks(5);
    TodayYYMMDD();
    BankBlanks(26);
}

// The invoice record of one row.
void InvoiceRecord(const BankRow &row, const uint8_t *invoice)
{
    PString ref, invNr, message, prefixed, serialText;
    GetText(invoice, VIVc::PayRef, ref);
    GetText(invoice, VIVc::VendInvNr, invNr);
    GetText(invoice, VIVc::Comment, message);

    RecordHead("BETFOR23", true);
    BankLineStart();
    if (ref[0] != 0) {
        BankBlanks(80);
    } else {
        PStringFromView(prefixed, "Faktura: ");
        TelepayLetters(invNr, invNr);
        PStringAppend(prefixed, invNr);
        BankText(prefixed, 40);
        LettersText(message, 40);
    }

    BankLineStart();
    BankBlanks(40);
    BankText(ref, 27);
    PStringFromView(serialText, std::to_string(GetI32(invoice, VIVc::SerNr)));
    BankText(serialText, 13);

    BankLineStart();
    BankBlanks(17);
    bool credit = InvoiceKind(GetU16(invoice, VIVc::InvType)) == InvoiceKind::CreditNote || row.cents < 0;
    BankNumber(row.cents < 0 ? -row.cents : row.cents, 15);
    BankTextC(credit ? "K" : "D", 1);
    BankBlanks(47);
}

}  // namespace

void TelepayOpen()
{
    State = TelepayState{};
    uint8_t block[BankFileBlk::Size] = {0};
    SettingsBlockRead(BankFileBlk::Number, block, sizeof block);   // absent: all zero
    DateRec last = GetDate(block, BankFileBlk::LastFileDate), today = BankToday();
    State.dailySeq = DateCompare(&last, &today) == 0 ? GetU16(block, BankFileBlk::DailySeq) : 1;
    State.recordSeq = GetU16(block, BankFileBlk::RecordSeq);
    if (State.recordSeq > 9999) State.recordSeq = 0;
    GetText(block, BankFileBlk::Text12, State.text12);
    uint8_t company[CompanyBlk::Size] = {0};
    SettingsBlockRead(CompanyBlk::Number, company, sizeof company);
    PString text;
    GetPString(company, EnterpriseNumberField, 20, text);
    DigitsOnly(text, State.enterprise);
    GetText(company, CompanyBlk::BankAccount, text);
    DigitsOnly(text, State.account);

    RecordHead("BETFOR00", false);
    BankLineStart();
    TodayMMDD();
    BankBlanks(10);
    BankTextC("VERSJON002", 10);
    BankBlanks(10);
    BankField(State.text12, 11, '0', true);
    BankBlanks(35);
    BlankLine();
    BlankLine();
}

BankWrite TelepayPayment(const uint8_t *payment)
{
    // Every row is checked before anything of the payment is written.
    std::vector<BankRow> rows;
    std::vector<uint8_t> invoices;
    if (!BankRowsWithInvoices(payment, AccountDigits, &rows, &invoices)) return BankWrite::NotWritten;
    const uint32_t invSize = RegRecordSize(VIVc::Number);
    std::vector<int64_t> totals(rows.size(), 0);
    for (size_t r = 0; r < rows.size(); r++) {
        size_t first = r;
        for (size_t k = 0; k < r && first == r; k++)
            if (PStringEqual(rows[k].vendor, rows[r].vendor)) first = k;
        totals[first] += rows[r].cents;
    }
    for (size_t r = 0; r < rows.size(); r++)
        if (totals[r] < 0) return BankRefuse(Texts::BankWhyNegative);

    const int32_t serial = GetI32(payment, OPVc::SerNr);
    std::vector<bool> done(rows.size(), false);
    for (size_t r = 0; r < rows.size(); r++) {
        if (done[r]) continue;
        Transfer(serial, rows[r], invoices.data() + r * invSize, totals[r]);
        for (size_t k = r; k < rows.size(); k++) {
            if (done[k] || !PStringEqual(rows[k].vendor, rows[r].vendor)) continue;
            InvoiceRecord(rows[k], invoices.data() + k * invSize);
            done[k] = true;
        }
    }
    BankShowPayment(serial);
    return BankWrite::Written;
}

void TelepayClose()
{
    RecordHead("BETFOR99", false);
    BankLineStart();
    TodayMMDD();
    BankBlanks(19);
    BankNumber(State.count, 5);
    BankBlanks(52);
    BlankLine();
    BlankLine();
}

bool TelepayStore()
{
    uint8_t block[BankFileBlk::Size] = {0};
    SettingsBlockRead(BankFileBlk::Number, block, sizeof block);
    PutU16(block, BankFileBlk::RecordSeq, State.recordSeq);
    PutU16(block, BankFileBlk::DailySeq, State.dailySeq);
    PutDate(block, BankFileBlk::LastFileDate, BankToday());
    return SettingsBlockStore(BankFileBlk::Number, block, sizeof block) == RecDone;
}
