// bank_payments_in.cpp - import mode 1: a bank's file of incoming customer
// payments read into customer receipts (register 10), each payment matched
// to the sales invoice it pays, with a cash-discount row when it
// qualifies. The company's bank-file format chooses the lines read:
// format 13 reference payments (lines beginning "3", several lines of one
// receipt date to a receipt), format 9 invoice-number payments (lines
// beginning "1", a receipt each); every other line is skipped.
//
// The file comes from outside: a first pass checks every line it will
// read (its length, digits where digits stand, dates of the calendar)
// and stores nothing; a file that fails is refused whole with one message
// naming the line. Two-digit years below 64 are 20YY.
//
// Sound rules kept here: a receipt that cannot be stored (its number is
// taken, or the series is full) is reported with its line; only a
// positive difference within the tolerance is booked as a cash discount,
// and a payment above the open amount is left unallocated as it stands
// and reported with its line.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/bank_format.h"
#include "core/company_variant.h"
#include "core/definitions.h"
#include "core/field_types.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "exchange/bank_payments_in.h"
#include "exchange/import_lines.h"
#include "exchange/text_exchange.h"
#include "operations/operations.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

BankImportResultRec BankImportResult;

namespace {

namespace RR = IPVc::Rows;

// Line lengths the readers need.
constexpr size_t ReferenceLineLength = 88, InvoiceLineLength = 45;
// A receipt of reference payments takes lines while it holds fewer rows.
constexpr int32_t ReceiptRowLimit = 61;
// A payment this far below the amount due still settles the invoice.
constexpr int64_t ToleranceCents = 500;
// Receipts stored between renewals of the database hold.
constexpr uint32_t LinesPerHold = 10;

// The characters at 1-based positions from..to of a line.
std::string Field(const std::string &line, size_t from, size_t to)
{
    if (from > line.size()) return "";
    return line.substr(from - 1, std::min(to, line.size()) - from + 1);
}

bool AllDigits(const std::string &s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool Date6(const std::string &yymmdd, DateRec *out)
{
    PString t;
    PStringFromView(t, yymmdd);
    return DateFromYYMMDD(t, out);
}

// The DDMMYY date of an invoice-number line, windowed as YYMMDD is.
bool DateDDMMYY(const std::string &ddmmyy, DateRec *out)
{
    if (ddmmyy.size() != 6) return false;
    return Date6(ddmmyy.substr(4, 2) + ddmmyy.substr(2, 2) + ddmmyy.substr(0, 2), out);
}

// A line the format reads: the record type of the format, and for
// reference payments position 88 "0".
bool LineIsRead(uint16_t format, const std::string &line)
{
    if (format == BankFormatLm) {
        if (line.empty() || line[0] != '3') return false;
        return line.size() < ReferenceLineLength || line[87] == '0';
    }
    return format == BankFormatTelepay && !line.empty() && line[0] == '1';
}

// The fault of a line the format reads (0: none).
int LineFault(uint16_t format, const std::string &line)
{
    DateRec d{};
    if (format == BankFormatLm) {
        if (line.size() < ReferenceLineLength) return Texts::BankInShortLine;
        if (!Date6(Field(line, 16, 21), &d) || !Date6(Field(line, 22, 27), &d)) return Texts::BankInBadDate;
        if (!AllDigits(Field(line, 78, 87))) return Texts::BankInNotDigits;
        return 0;
    }
    if (line.size() < InvoiceLineLength) return Texts::BankInShortLine;
    if (!DateDDMMYY(Field(line, 2, 7), &d)) return Texts::BankInBadDate;
    if (!AllDigits(Field(line, 28, 33)) || !AllDigits(Field(line, 35, 45))) return Texts::BankInNotDigits;
    return 0;
}

// The payment mode of a receiving account: the last row of block 131
// whose account matches (normalised to 14 digits with normalise), else the
// first row; its code's first character into code.
void PaymentModeOf(const std::string &account, bool normalise, uint8_t *code)
{
    code[0] = 0;
    MemBlock rows = 0;
    SettingsBlockFetch(&rows, PaymentModeBlk::Number);
    constexpr uint32_t RowSize = PaymentModeBlk::Rows::Size;
    const uint8_t *p = MemIsValid(rows) ? MemLock(rows) : nullptr;
    const uint32_t count = p ? MemSize(rows) / RowSize : 0;
    int32_t chosen = count > 0 ? 0 : -1;
    PString want;
    PStringFromView(want, account);
    for (uint32_t r = 0; r < count; r++) {
        PString text, norm;
        GetText(p + r * RowSize, PaymentModeBlk::Rows::BankAccount, text);
        if (normalise) {
            BankAccountTo14Digits(text, norm);
            PStringCopy(text, norm);
        }
        if (PStringEqual(text, want)) chosen = int32_t(r);
    }
    if (chosen >= 0) GetText(p + uint32_t(chosen) * RowSize, PaymentModeBlk::Rows::Code, code);
    if (p) MemUnlock(rows);
    MemFree(&rows);
}

// What a payment line pays: the invoice found (or none) and its rows.
struct Paid {
    bool found = false;
    int32_t invoice = -1;
    PString customer = {0}, name = {0};
    int64_t paidCents = 0, discountCents = 0;
    bool overpaid = false;
};

// The cash discount of a payment of invoice (its open item by serial).
void CashDiscount(const uint8_t *invoice, DateRec payDate, Paid *p)
{
    std::vector<uint8_t> open(RegRecordSize(ARVc::Number));
    int64_t openCents = 0;
    DateRec discDate{};
    if (BankReadByKey(ARVc::Number, ARVc::InvoiceNr, &p->invoice, open.data())) {
        PackedDecimal a = GetDec(open.data(), ARVc::OpenAmount);
        AmountCents(&a, &openCents);
        discDate = GetDate(open.data(), ARVc::CashDiscDate);
    }
    int64_t expected = openCents;
    PackedDecimal pct = GetDec(invoice, IVVc::CashDiscPct);
    __int128 thousandths = 0;
    if (DecToThousandths(&pct, &thousandths) && DateDiffDays(&discDate, &payDate) >= 0 && !DateIsEmpty(&discDate)) {
        // open x pct / 100 to hundredths, then to whole units (half away from zero)
        __int128 cents = (__int128(openCents) * thousandths + (openCents >= 0 ? 50000 : -50000)) / 100000;
        int64_t units = int64_t((cents + (cents >= 0 ? 50 : -50)) / 100) * 100;
        expected = openCents - units;
    }
    if (p->paidCents > openCents) {
        p->overpaid = true;
        return;
    }
    if (p->paidCents - expected >= -ToleranceCents) p->discountCents = openCents - p->paidCents;
}

// Finds the invoice by its serial number, with its customer.
bool InvoiceBySerial(int32_t serial, uint8_t *invoice, Paid *p)
{
    if (!BankReadByKey(IVVc::Number, IVVc::SerNr, &serial, invoice)) return false;
    p->found = true;
    p->invoice = serial;
    GetText(invoice, IVVc::CustCode, p->customer);
    GetText(invoice, IVVc::Addr0, p->name);
    return true;
}

// Finds the invoice by its payment reference (leading "0"s dropped).
bool InvoiceByReference(std::string ref, uint8_t *invoice, Paid *p)
{
    while (!ref.empty() && ref.back() == ' ') ref.pop_back();
    size_t nz = ref.find_first_not_of('0');
    ref = nz == std::string::npos ? "" : ref.substr(nz);
    if (ref.empty()) return false;
    std::fill(invoice, invoice + RegRecordSize(IVVc::Number), 0);
    PString r;
    PStringFromView(r, ref);
    RecFieldPut(IVVc::Number, invoice, IVVc::RefStr, r);
    uint32_t recid = 0, position = 0;
    bool found = RecFindByIndex(IVVc::Number, "RefStr", invoice, 1, 1, &recid, &position);
    RecFreeMatrix(IVVc::Number, invoice);
    return found && InvoiceBySerial(GetI32(invoice, IVVc::SerNr), invoice, p);
}

PackedDecimal CentsAmount(int64_t cents)
{
    PackedDecimal d{};
    DecFromThousandths(&d, __int128(cents) * 10);
    return d;
}

// Appends a row of kind to the receipt.
void AppendRow(uint8_t *receipt, uint16_t kind, const Paid &p, DateRec payDate, const uint8_t *text, int64_t cents)
{
    std::vector<uint8_t> row(RecRowSize(IPVc::Number), 0);
    PutU16(row.data(), RR::Kind, kind);
    PutU16(row.data(), RR::Flag, 0);
    PutI32(row.data(), RR::InvoiceNr, p.invoice);
    PutText(row.data(), RR::CustCode, p.customer);
    PutDate(row.data(), RR::PayDate, payDate);
    PutText(row.data(), RR::Text, text);
    PutDec(row.data(), RR::Amount, CentsAmount(cents));
    PutI32(row.data(), RR::Link, -1);
    MatrixRowPut(IPVc::Number, 0, receipt, MatrixRowCount(IPVc::Number, 0, receipt), row.data());
}

// The rows of one payment: the paid amount and the discount.
void AppendPayment(uint8_t *receipt, const Paid &p, DateRec payDate, const uint8_t *text, uint32_t line)
{
    if (p.paidCents != 0) AppendRow(receipt, 1, p, payDate, text, p.paidCents);
    if (p.discountCents != 0) AppendRow(receipt, 5, p, payDate, text, p.discountCents);
    if (p.overpaid) BankImportNote(&BankImportResult.overpaid, BankImportResult.overpaidLines, line);
}

// A new receipt: number of its date, today's registration, the mode.
void ReceiptStart(uint8_t *receipt, const DateRec *numberDate, DateRec receiptDate, const uint8_t *mode,
                  int64_t paidCents, const uint8_t *comment)
{
    RecClear(IPVc::Number, receipt);
    PutI32(receipt, IPVc::SerNr, NextSerialNumber(IPVc::Number, numberDate, 0, 0));
    PutText(receipt, IPVc::Text, comment);
    PutDate(receipt, IPVc::RegDate, TodayDate);
    PutU16(receipt, IPVc::Posted, 0);
    PutText(receipt, IPVc::PayMode, mode);
    PutDate(receipt, IPVc::TransDate, receiptDate);
    PutDec(receipt, IPVc::Rate, CentsAmount(10000));
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(receipt, IPVc::FurtherAmount, blank);
    PutDec(receipt, IPVc::Total, CentsAmount(paidCents));
    PutU16(receipt, IPVc::Transferred, 0);
}

// Totals, marks and stores a receipt that has rows (inserted only when
// its number is new); one not stored is noted with its first line.
void ReceiptStore(uint8_t *receipt, uint32_t line)
{
    if (MatrixRowCount(IPVc::Number, 0, receipt) == 0) return;
    DocRowsTotal(receipt);
    StatusMarkPayment(receipt);
    int32_t serial = GetI32(receipt, IPVc::SerNr);
    ImportShowProgress(&serial, FtLong);
    uint32_t recid = 0;
    if (serial >= 0 && RecStoreByKey(IPVc::Number, receipt, 0, &recid))
        BankImportResult.stored++;
    else
        BankImportNote(&BankImportResult.notStored, BankImportResult.notStoredLines, line);
    RecFreeMatrix(IPVc::Number, receipt);
    RecClear(IPVc::Number, receipt);
}

// The receipt of reference payments being filled, and its first line.
struct OpenReceipt {
    bool started = false;
    uint32_t firstLine = 0;
};

void ReferencePayment(const std::string &line, uint32_t number, uint8_t *receipt, OpenReceipt *open)
{
    DateRec receiptDate{}, payDate{};
    Date6(Field(line, 16, 21), &receiptDate);
    Date6(Field(line, 22, 27), &payDate);
    Paid p;
    p.paidCents = std::stoll(Field(line, 78, 87));
    PString mode;
    PaymentModeOf(Field(line, 2, 15), true, mode);
    std::vector<uint8_t> invoice(RegRecordSize(IVVc::Number));
    if (!InvoiceByReference(Field(line, 44, 63), invoice.data(), &p)) {
        std::string digits = Field(line, 44, 54);
        if (AllDigits(digits)) {
            long long n = std::stoll(digits);
            if (n >= 0 && n <= INT32_MAX) InvoiceBySerial(int32_t(n), invoice.data(), &p);
        }
    }
    if (!p.found) BankImportNote(&BankImportResult.unmatched, BankImportResult.unmatchedLines, number);
    if (p.found) CashDiscount(invoice.data(), payDate, &p);

    DateRec held = GetDate(receipt, IPVc::TransDate);
    if (!open->started || DateCompare(&held, &receiptDate) != 0 ||
        MatrixRowCount(IPVc::Number, 0, receipt) >= ReceiptRowLimit) {
        if (open->started) ReceiptStore(receipt, open->firstLine);
        PString comment;
        PStringFromView(comment, "Viitesuorituksia");
        ReceiptStart(receipt, &receiptDate, receiptDate, mode, p.paidCents, comment);
        open->started = true;
        open->firstLine = number;
    }
    PString text;
    PStringFromView(text, Field(line, 64, 76) + " / " + Field(line, 72, 72));
    AppendPayment(receipt, p, payDate, text, number);
}

void InvoiceNumberPayment(const std::string &line, uint32_t number, uint8_t *receipt)
{
    DateRec payDate{};
    DateDDMMYY(Field(line, 2, 7), &payDate);
    Paid p;
    p.paidCents = std::stoll(Field(line, 35, 45));
    const std::string account = Field(line, 8, 14);
    PString mode;
    PaymentModeOf(account, false, mode);
    std::vector<uint8_t> invoice(RegRecordSize(IVVc::Number));
    long long serial = std::stoll(Field(line, 28, 33));
    if (!InvoiceBySerial(int32_t(serial), invoice.data(), &p)) {
        p.invoice = int32_t(serial);
        BankImportNote(&BankImportResult.unmatched, BankImportResult.unmatchedLines, number);
    } else {
        CashDiscount(invoice.data(), payDate, &p);
    }
    size_t nz = account.find_first_not_of('0');
    PString comment;
    PStringFromView(comment, nz == std::string::npos ? "" : account.substr(nz));
    const DateRec noDate{};
    ReceiptStart(receipt, &noDate, payDate, mode, p.paidCents, comment);
    AppendPayment(receipt, p, payDate, p.name, number);
    ReceiptStore(receipt, number);
}

// Reads every line of the source as text.
bool ReadLines(std::vector<std::string> *lines)
{
    while (!ImportAtEnd()) {
        std::string text;
        bool full = false;
        if (!ImportReadWholeLine(&text, &full)) return false;   // damaged: told by the result
        lines->push_back(std::move(text));
    }
    return !ImportAbortFlag;
}

}  // namespace

void BankImportNote(uint32_t *count, uint32_t *lines, uint32_t line)
{
    if (*count < BankImportLinesKept) lines[*count] = line;
    (*count)++;
}

void ImportBankPayments()
{
    const uint16_t format = CompanyVariant();
    std::vector<std::string> lines;
    if (!ReadLines(&lines)) {
        ImportAbortFlag = 1;
        return;
    }
    for (size_t i = 0; i < lines.size(); i++) {
        if (!LineIsRead(format, lines[i])) continue;
        int fault = LineFault(format, lines[i]);
        if (fault == 0) continue;
        BankImportResult.refusedLine = uint32_t(i + 1);
        BankImportResult.refusedFault = fault;
        ImportAbortFlag = 1;
        return;
    }
    MemBlock h = 0;
    uint8_t *receipt = RecBufferNew(IPVc::Number, &h);
    if (!receipt) {
        ImportAbortFlag = 1;
        return;
    }
    OpenReceipt open;
    uint32_t sinceHold = 0;
    for (size_t i = 0; i < lines.size(); i++) {
        if (!LineIsRead(format, lines[i])) continue;
        BankImportResult.read++;
        if (format == BankFormatLm)
            ReferencePayment(lines[i], uint32_t(i + 1), receipt, &open);
        else
            InvoiceNumberPayment(lines[i], uint32_t(i + 1), receipt);
        if (++sinceHold % LinesPerHold == 0) {
            ImportHoldsRenewed++;
            if (!DbHoldEnd()) {   // what the hold held is lost: the run stops here
                ImportAbortFlag = 1;
                DbHoldBegin();    // the run's own end closes this one
                break;
            }
            DbHoldBegin();
        }
    }
    if (open.started && !ImportAbortFlag) ReceiptStore(receipt, open.firstLine);
    RecFreeMatrix(IPVc::Number, receipt);
    RecBufferFree(IPVc::Number, &h);
    if (BankImportResult.read == 0) BankImportResult.nothingRead = true;
}

namespace {

void TellLines(int n, uint32_t count, const uint32_t *lines)
{
    PString text = {0};
    GetUiText(text, n);
    char buf[32];
    uint32_t shown = std::min(count, BankImportLinesKept);
    for (uint32_t i = 0; i < shown; i++) {
        std::snprintf(buf, sizeof buf, i == 0 ? "%u" : ", %u", unsigned(lines[i]));
        PStringAppendC(text, buf);
    }
    if (count > shown) PStringAppendC(text, ", ...");
    ShowMessage(0, text);
}

}  // namespace

void BankImportReport()
{
    const BankImportResultRec &r = BankImportResult;
    if (r.refusedFault != 0) {
        PString text = {0}, fault = {0};
        GetUiText(text, Texts::BankInRefused);
        char n[24];
        std::snprintf(n, sizeof n, "%u: ", unsigned(r.refusedLine));
        PStringAppendC(text, n);
        GetUiText(fault, r.refusedFault);
        PStringAppend(text, fault);
        ShowMessage(0, text);
        return;
    }
    if (r.nothingRead) ShowTextMessage(Texts::BankInNothingRead);
    if (r.notStored) TellLines(Texts::BankInNotStored, r.notStored, r.notStoredLines);
    if (r.overpaid) TellLines(Texts::BankInOverpaid, r.overpaid, r.overpaidLines);
    if (r.unmatched) TellLines(Texts::BankInUnmatched, r.unmatched, r.unmatchedLines);
}
