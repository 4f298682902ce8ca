// bank_swedish_foreign.cpp - the foreign-currency payments of the Swedish
// payment file (bank-file format 5): per payment an opening record "0",
// per paid row the records "2" (payee name), "3" (address), "4" (bank),
// "6" (amount) and "7" (invoice code), and a closing "9" with the
// converted and the row total; 80 characters each. The first word of
// settings block 224 chooses layout 0 or 1; any other value writes
// nothing and the payment stays unsent.
//
// A payment is written whole or not at all: every paid row must have a
// payee account and an existing purchase invoice, and it may not be a
// credit note or a negative amount (the amount fields hold no sign).
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
#include "exchange/text_exchange.h"
#include "rules/invoice_kind.h"
#include "rules/vat_currency.h"

namespace {

constexpr int RecordLength = 80;

struct ForeignPayment {
    int layout = 0;
    PString paying = {0}, currency = {0};
    PString text34 = {0}, text38 = {0}, text42 = {0};
    DateRec today{}, paymentDate{};
    bool byDue = false;   // the selection's option: a row dated by its due date when later
};

void Yymmdd(DateRec date)
{
    PString t;
    DateToYYMMDD(&date, t);
    BankText(t, 6);
}

void UpperText(const uint8_t *text, int width)
{
    PString t;
    PStringCopy(t, text);
    UpperPString(t);
    BankText(t, width);
}

// A record's type and the row's vendor code, seven places filled with "0".
void RecordStart(const char *type, const uint8_t *vendorCode)
{
    BankLineStart();
    BankTextC(type, 1);
    BankField(vendorCode, 7, '0', true);
}

void EndRecord() { BankBlanks(RecordLength - BankLineLength()); }

// The first character of a text, or a blank.
void FirstChar(const uint8_t *text)
{
    PString t = {0};
    PStrSubstr(text, t, 1, 1);
    BankField(t, 1, ' ', false);
}

// Writes the five records of one row; its converted amount into *converted.
void RowRecords(const ForeignPayment &p, const BankRow &row, const uint8_t *payment, const uint8_t *invoice,
                int64_t *converted)
{
    std::vector<uint8_t> vendor(RegRecordSize(VEVc::Number)), bank(RegRecordSize(BankVc::Number));
    PString code, text, head, rest, a2;
    GetText(invoice, VIVc::VendCode, code);
    BankReadByKey(VEVc::Number, VEVc::Code, code, vendor.data());   // none: empty fields

    RecordStart("2", row.vendor);
    GetText(vendor.data(), VEVc::Name, text);
    PStrSubstr(text, head, 1, 30);
    PStrSubstr(text, rest, 31, 35);
    UpperText(head, 30);
    UpperText(rest, 35);
    EndRecord();

    RecordStart("3", row.vendor);
    GetText(vendor.data(), VEVc::Addr1, text);
    UpperText(text, 30);
    GetText(vendor.data(), VEVc::Addr2, a2);
    PStringAppendC(a2, " ");
    GetText(vendor.data(), VEVc::Addr3, text);
    PStringAppend(a2, text);
    UpperText(a2, 35);
    BankTextC(p.layout == 0 ? "0" : " ", 1);
    GetText(vendor.data(), VEVc::Country, text);
    BankText(text, 2);
    BankTextC(p.layout == 0 ? " 010" : "  B ", 4);

    PString bankCode, t754, t466, t544;
    GetText(vendor.data(), VEVc::BankCode, t754);
    GetText(vendor.data(), VEVc::BankGiro, t466);
    GetText(vendor.data(), VEVc::PostalGiro, t544);
    PStrSubstr(t754, bankCode, 1, 5);
    if (BankReadByKey(BankVc::Number, BankVc::Code, bankCode, bank.data())) {
        GetText(bank.data(), BankVc::Bic, t754);
        GetText(bank.data(), BankVc::Iban, t466);
        GetText(bank.data(), BankVc::NameInFiles, t544);
    }
    RecordStart("4", row.vendor);
    if (p.layout == 0) {
        UpperText(t754, 12);
        UpperText(t466, 30);
    } else {
        UpperText(t466, 30);
        UpperText(t754, 12);
    }
    UpperText(t544, 30);

    PackedDecimal amount{}, rate = GetDec(p.layout == 0 ? invoice : payment, p.layout == 0 ? VIVc::Rate : OPVc::Rate),
                  result{};
    DecFromThousandths(&amount, __int128(row.cents) * 10);
    AmountTimesRate(&amount, &rate, &result);
    if (!AmountCents(&result, converted)) *converted = row.cents;
    RecordStart("6", row.vendor);
    GetText(invoice, VIVc::VendInvNr, text);
    BankText(text, 25);
    BankNumber(*converted, 11);
    if (p.layout == 0) {
        BankTextC("0000000000", 10);
        BankText(p.currency, 3);
        BankBlanks(6);
        BankTextC("1 0000000000000 9", 17);
    } else {
        BankText(p.text42, 10);
        BankText(p.currency, 3);
        DateRec due = GetDate(invoice, VIVc::DueDate);
        bool byDue = p.byDue && DateCompare(&due, &p.paymentDate) > 0;
        Yymmdd(byDue ? due : p.paymentDate);
        BankBlanks(1);
        FirstChar(p.text38);
        BankNumber(row.cents, 13);
        BankBlanks(1);
        FirstChar(p.text34);
    }

    RecordStart("7", row.vendor);
    GetText(invoice, VIVc::Text462, text);
    BankText(text, 2);
    BankBlanks(5);
    if (p.layout == 0)
        BankBlanks(6);
    else
        Yymmdd(p.today);
    EndRecord();
}

}  // namespace

BankWrite SwedishForeignBatch(const uint8_t *selection, const uint8_t *payment)
{
    uint8_t block[BankFileBlk::Size] = {0};
    SettingsBlockRead(BankFileBlk::Number, block, sizeof block);
    ForeignPayment p;
    int16_t word = int16_t(GetU16(block, BankFileBlk::ForeignLayout));
    if (word != 0 && word != 1) return BankRefuse(Texts::BankWhyForeignLayout);
    p.layout = word;
    p.byDue = GetU16(selection, ReportParamsVc::Option3) == 1;
    GetText(block, BankFileBlk::Text34, p.text34);
    GetText(block, BankFileBlk::Text38, p.text38);
    GetText(block, BankFileBlk::Text42, p.text42);

    std::vector<BankRow> rows;
    std::vector<uint8_t> invoices;
    if (!BankRowsWithInvoices(payment, 0, &rows, &invoices)) return BankWrite::NotWritten;
    const uint32_t size = RegRecordSize(VIVc::Number);
    for (size_t r = 0; r < rows.size(); r++) {
        const uint8_t *invoice = invoices.data() + r * size;
        const InvoiceKind kind = InvoiceKind(GetU16(invoice, VIVc::InvType));
        PackedDecimal amount = GetDec(invoice, VIVc::InvAmount);
        // Any kind but a cash invoice counts as a credit note when its amount is negative.
        bool credit = kind == InvoiceKind::CreditNote || (kind != InvoiceKind::Cash && DecSign(&amount) < 0);
        if (credit || rows[r].cents < 0) return BankRefuse(Texts::BankWhyCreditSign);
    }

    PString paying, digits;
    GetText(payment, OPVc::PayText, paying);
    DigitsOnly(paying, digits);
    PStringCopy(p.paying, digits);
    GetText(payment, OPVc::CurncyCode, p.currency);
    p.today = BankToday();
    DateRec rateDate = GetDate(payment, OPVc::RateDate);
    p.paymentDate = DateIsEmpty(&rateDate) ? GetDate(payment, OPVc::PayDate) : rateDate;
    const int accountWidth = p.layout == 0 ? 8 : 7;

    BankLineStart();
    BankTextC("0", 1);
    BankDigits(p.paying, accountWidth);
    if (p.layout == 0) {
        Yymmdd(p.today);
        BankBlanks(57);
    } else {
        BankBlanks(58);
        Yymmdd(p.today);
    }
    Yymmdd(p.today);
    BankTextC(p.layout == 0 ? "20" : "1 ", 2);

    int64_t rowTotal = 0, convertedTotal = 0;
    for (size_t r = 0; r < rows.size(); r++) {
        int64_t converted = 0;
        RowRecords(p, rows[r], payment, invoices.data() + r * size, &converted);
        rowTotal += rows[r].cents;
        convertedTotal += converted;
    }
    BankShowPayment(GetI32(payment, OPVc::SerNr));
    BankLineStart();
    BankTextC("9", 1);
    BankDigits(p.paying, accountWidth);
    BankNumber(convertedTotal, 12);
    BankBlanks(p.layout == 0 ? 42 : 43);
    BankNumber(rowTotal, 15);
    BankBlanks(2);
    return BankWrite::Written;
}
