// bank_file.cpp - export kind 15, the bank payment file: the walk over
// the outgoing payments of a number range, the dispatch to the company's
// bank-file format, the fixed-width field writers the formats share and
// the marking of written payments as sent once the file is whole (see
// bank_file.h).
//
// Selection (the job's): ReportLayout 1 writes the letters a/A ring,
// a/A and o/O diaeresis in their DOS forms; SelText1 the payment numbers
// "from:to" (an open end is -1); Option1 the re-send switch (write the
// payments of the range again, sent or not); Option2 the second-file
// switch of the Swedish format.
#include <cassert>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/bank_format.h"
#include "core/company_variant.h"
#include "core/definitions.h"
#include "core/field_types.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/bank_file.h"
#include "exchange/run_outcome.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/layer_operations.h"
#include "rules/payment_kinds.h"

namespace {

// Why no file was written: no payment of the range could be
// (win_bank_files.dict).
constexpr int TextNoneWritten = 15418;
// " payment in ": the run's last word for a single payment, where the
// others say " payments in ".
constexpr int TextOnePaymentIn = 15419;

// What one run of the export wrote and left out; kept from WriteBankFile
// until BankFileJobEnded.
struct BankRun {
    bool active = false;
    uint16_t format = 0;
    std::vector<uint32_t> written;     // record ids of the payments written whole
    // Ready payments not written: the serial number and why.
    std::vector<std::pair<int32_t, std::string>> unwritten;
    // The payments of the range the walk passed by without writing them:
    // not approved, marked "Passed over", for the other Swedish file; and,
    // when nothing was left to send, those of the range sent before.
    int unapproved = 0, skipped = 0, otherFile = 0, sentBefore = 0;
};
BankRun Run;

// Why the payment being written was refused; empty until a writer says.
std::string Reason;

std::string UiTextStd(int n)
{
    PString t = {0};
    GetUiText(t, n);
    return PStringToStd(t);
}

// The current line of the file: open once a field was written to it.
bool LineOpen = false;
int LineLength = 0;

// Shows text n followed by each payment's number and reason, "40 (a row
// has no payee account); 41 (...)", in as many messages as they need.
void ShowUnsent(int n, const std::vector<std::pair<int32_t, std::string>> &payments)
{
    PString head = {0};
    GetUiText(head, n);
    std::string list;
    auto show = [&] {
        PString t;
        PStringFromView(t, list);
        ShowMessage(n, t);
        list.clear();
    };
    for (const auto &p : payments) {
        std::string one = std::to_string(p.first) + " (" + p.second + ")";
        if (one.size() + head[0] > 250) one.resize(size_t(250 - head[0]));
        if (!list.empty() && head[0] + list.size() + 2 + one.size() > 250) show();
        if (!list.empty()) list += "; ";
        list += one;
    }
    if (!list.empty()) show();
}

// The run's last word: how many payments went into which file.
void ShowWritten(int payments, const std::vector<std::string> &names)
{
    std::string line = std::to_string(payments);
    PString t;
    GetUiText(t, payments == 1 ? TextOnePaymentIn : Texts::BankFilePayments);
    line += PStringToStd(t);
    if (names.size() > 1) {
        GetUiText(t, Texts::BankFileFiles);
        line += std::to_string(names.size()) + PStringToStd(t) + names.front();
    } else if (!names.empty()) {
        line += names.front();
    }
    PStringFromView(t, line.size() > 255 - 20 ? line.substr(line.size() - 235) : line);
    TellOutcome(MessageOutcome::Done, Texts::BankFileWrote, t);
    RunOutcomeTell(UiTextStd(Texts::BankFileWrote) + PStringToStd(t));
}

// Shows text n followed by the serial numbers, comma-separated, as many
// as fit the message.
void ShowSerials(int n, const std::vector<int32_t> &serials)
{
    PString list = {0};
    for (size_t i = 0; i < serials.size(); i++) {
        PString one;
        PStringFromView(one, std::to_string(serials[i]));
        if (list[0] + one[0] + 6 > 250) {
            PStringAppendC(list, ", ...");
            break;
        }
        if (i > 0) PStringAppendC(list, ", ");
        PStringAppend(list, one);
    }
    ShowMessage(n, list);
}

// Writes one payment by the format; what the Swedish format writes is
// decided by its own file (domestic or postal-giro payments).
BankWrite WritePayment(const uint8_t *selection, uint16_t format, const uint8_t *payment, int written,
                       bool secondFile)
{
    switch (format) {
    case BankFormatSwedish: return SwedishPayment(selection, payment, secondFile);
    case BankFormatTelepay: return TelepayPayment(payment);
    case BankFormatLm: return LmBatch(payment);
    case BankFormatEstonian: return EstonianPaymentOrder(selection, payment, written);
    default: return BankRefuse(Texts::BankWhyNoWriter);
    }
}

// How many payments of the range from..to (an open end is -1) were sent
// to the bank before: what "Send again" would write.
int SentInRange(int32_t from, int32_t to)
{
    MemBlock h = 0;
    uint8_t *payment = RecBufferNew(OPVc::Number, &h);
    if (!payment) return 0;
    int sent = 0;
    PutI32(payment, OPVc::SerNr, from);
    uint32_t recid = 0, position = 0;
    bool found = RecFindByIndex(OPVc::Number, "SerNr", payment, 1, 0, &recid, &position) && position > 0;
    for (uint32_t pos = position; found; pos++) {
        RecFreeMatrix(OPVc::Number, payment);
        if (!RecReadAtIndex(OPVc::Number, "SerNr", int32_t(pos), payment, &recid)) break;
        if (to >= 0 && GetI32(payment, OPVc::SerNr) > to) break;
        if (GetU16(payment, OPVc::Sent) == 1) sent++;
    }
    RecFreeMatrix(OPVc::Number, payment);
    RecBufferFree(OPVc::Number, &h);
    return sent;
}

// Tells why a run that wrote no payment and refused none wrote no file:
// the range held nothing left to send. Each kind of payment it passed by
// is counted ("1 already sent (...)"); a range of no payment says so.
void ShowNothingToSend()
{
    const std::pair<int, int> kinds[] = {{Run.sentBefore, Texts::BankNothingSent},
                                         {Run.unapproved, Texts::BankNothingUnapproved},
                                         {Run.skipped, Texts::BankNothingSkipped},
                                         {Run.otherFile, Texts::BankNothingOtherFile}};
    std::string line;
    for (const auto &[count, text] : kinds)
        if (count > 0) line += "; " + std::to_string(count) + UiTextStd(text);
    const int head = line.empty() ? Texts::BankNothingInRange : Texts::BankNothingToSend;
    line += ".";
    PString t;
    PStringFromView(t, line.size() > 200 ? line.substr(0, 200) : line);
    TellOutcome(MessageOutcome::Nothing, head, t);
    RunOutcomeTell(UiTextStd(head) + PStringToStd(t));
}

// Sets the sent flag of each payment written and stores it; the serial
// numbers of those that could not be stored into failed.
void MarkWrittenSent(std::vector<int32_t> *failed)
{
    MemBlock h = 0;
    uint8_t *payment = RecBufferNew(OPVc::Number, &h);
    if (!payment) return;
    for (uint32_t recid : Run.written) {
        RecFreeMatrix(OPVc::Number, payment);
        if (!RecReadById(OPVc::Number, recid, payment)) {
            failed->push_back(-1);
            continue;
        }
        PutU16(payment, OPVc::Sent, 1);
        uint32_t id = recid;
        DbHoldBegin();
        bool stored = RecStore(OPVc::Number, payment, 1, &id);
        if (!DbHoldEnd()) stored = false;
        if (!stored) failed->push_back(GetI32(payment, OPVc::SerNr));
    }
    RecFreeMatrix(OPVc::Number, payment);
    RecBufferFree(OPVc::Number, &h);
}

}  // namespace

void WriteBankFile(const ReportJob &job)
{
    Run = BankRun{};
    LineOpen = false;
    LineLength = 0;
    if (!job.selection) return;
    Run.active = true;
    Run.format = CompanyVariant();
    const uint16_t savedLetters = DosCodePage;
    if (GetU16(job.selection, ReportParamsVc::ReportLayout) == 1) DosCodePage = 1;
    int32_t from = -1, to = -1;
    RangeSplitNumber(job.selection + ReportParamsVc::SelText1, &from, &to);
    const bool resend = GetU16(job.selection, ReportParamsVc::Option1) != 0;
    const bool secondFile = GetU16(job.selection, ReportParamsVc::Option2) != 0;

    if (Run.format == BankFormatTelepay) TelepayOpen();
    if (Run.format == BankFormatSwedish && secondFile) SwedishSecondOpen(job.selection);

    MemBlock h = 0;
    uint8_t *payment = RecBufferNew(OPVc::Number, &h);
    if (payment) {
        // Unsent payments sit at the front of "SentFlag" by serial number;
        // nothing is marked during the walk, so the position simply moves on.
        const char *index = resend ? "SerNr" : "SentFlag";
        PutU16(payment, OPVc::Sent, 0);
        PutI32(payment, OPVc::SerNr, from);
        uint32_t recid = 0, position = 0;
        bool found = RecFindByIndex(OPVc::Number, index, payment, resend ? 1 : 2, 0, &recid, &position) &&
                     position > 0;
        for (uint32_t pos = position; found && !RepStopped; pos++) {
            RecFreeMatrix(OPVc::Number, payment);
            if (!RecReadAtIndex(OPVc::Number, index, int32_t(pos), payment, &recid)) break;
            const int32_t serial = GetI32(payment, OPVc::SerNr);
            if (!resend && GetU16(payment, OPVc::Sent) == 1) break;
            if (to >= 0 && serial > to) break;
            if (!resend && GetU16(payment, OPVc::Skip) == 1) {
                Run.skipped++;
                continue;
            }
            if (GetU16(payment, OPVc::Approved) == 0) {
                Run.unapproved++;
                continue;
            }
            Reason.clear();
            BankWrite w = WritePayment(job.selection, Run.format, payment, int(Run.written.size()), secondFile);
            if (RepStopped) break;   // a payment cut off by a stop is not in the file
            if (w == BankWrite::Written) Run.written.push_back(recid);
            if (w == BankWrite::OtherFile) Run.otherFile++;
            if (w == BankWrite::NotWritten) {
                if (Reason.empty()) Reason = UiTextStd(Texts::BankWhyNoWriter);
                Run.unwritten.emplace_back(serial, Reason);
            }
        }
        RecFreeMatrix(OPVc::Number, payment);
        RecBufferFree(OPVc::Number, &h);
    }
    if (!resend && Run.written.empty() && Run.unwritten.empty()) Run.sentBefore = SentInRange(from, to);

    if (Run.format == BankFormatTelepay) TelepayClose();
    if (Run.format == BankFormatSwedish && secondFile) SwedishSecondClose();
    DosCodePage = savedLetters;
}

void BankFileJobEnded(bool ok)
{
    // A file that holds no payment is nothing to hand the bank, whether
    // every payment was refused or none was left to send: it is not kept
    // (nor are the Telepay counters of its empty records), and the run
    // says why no file came of it.
    const bool none = Run.active && ok && Run.written.empty();
    // The file gets its own name only when whole; a stopped or failed one
    // is removed, so the bank is never handed half a file.
    std::vector<std::string> names;
    if (!RepStagedFilesEnd(ok && !none, &names)) ok = false;
    if (!Run.active) return;
    if (!ok) {
        ShowTextMessage(Texts::BankFileIncomplete);
        RunOutcomeTell(UiTextStd(Texts::BankFileIncomplete));
    } else if (!none) {
        std::vector<int32_t> failed;
        MarkWrittenSent(&failed);
        if (Run.format == BankFormatTelepay && !TelepayStore()) ShowTextMessage(Texts::BankCountersNotStored);
        if (!failed.empty()) ShowSerials(Texts::BankFileNotMarked, failed);
    }
    if (!Run.unwritten.empty()) ShowUnsent(Texts::BankFileLeftUnsent, Run.unwritten);
    if (none && !Run.unwritten.empty()) {
        TellOutcome(MessageOutcome::Refused, TextNoneWritten, nullptr);
        RunOutcomeTell(UiTextStd(TextNoneWritten));
    } else if (none) {
        ShowNothingToSend();
    } else if (ok) {
        ShowWritten(int(Run.written.size()), names);
    }
    Run = BankRun{};
}

BankWrite BankRefuse(int n, const uint8_t *detail)
{
    Reason = UiTextStd(n);
    if (detail) Reason += PStringToStd(detail);
    return BankWrite::NotWritten;
}

BankWrite BankRefuseNumber(int n, int64_t detail)
{
    Reason = UiTextStd(n) + std::to_string(detail);
    return BankWrite::NotWritten;
}

bool BankAccountIsNumber(const uint8_t *account)
{
    bool nonZero = false;
    for (int i = 1; i <= account[0]; i++) {
        uint8_t c = account[i];
        if (c >= '0' && c <= '9') nonZero = nonZero || c != '0';
        else if (c != ' ' && c != '-' && c != '.' && c != '/') return false;
    }
    return nonZero;
}

// ---- Field writers ----

void BankLineStart()
{
    if (LineOpen) RepFlushLine();
    LineOpen = true;
    LineLength = 0;
}

int BankLineLength() { return LineLength; }

void BankLine(const uint8_t *text)
{
    BankLineStart();
    if (text[0] != 0) BankText(text, text[0]);
}

// The file's own end writes the last line end.
void BankNextFile()
{
    RepNextFile();
    LineOpen = false;
    LineLength = 0;
}

void BankField(const uint8_t *text, int width, uint8_t fill, bool right)
{
    assert(LineOpen && width > 0 && width <= 255);
    PString cut;
    PStrSubstr(text, cut, 1, width);
    RepPaddedValue(cut, FtText, width, fill, right ? 1 : 0);
    LineLength += width;
}

void BankText(const uint8_t *text, int width) { BankField(text, width, ' ', false); }

void BankTextC(const char *text, int width)
{
    PString t;
    PStringFromC(t, text);
    BankText(t, width);
}

void BankBlanks(int width)
{
    static const uint8_t empty[1] = {0};
    BankText(empty, width);
}

void BankDigits(const uint8_t *digits, int width)
{
    assert(LineOpen && width > 0 && width <= 255);
    LineLength += width;
    if (RepStopped) return;
    bool ok = digits[0] <= width;
    for (int i = 1; ok && i <= digits[0]; i++) ok = digits[i] >= '0' && digits[i] <= '9';
    if (!ok) {
        ShowMessage(Texts::BankValueTooWide, digits);
        RepStopped = 1;
        return;
    }
    RepPaddedValue(digits, FtText, width, '0', 1);
}

void BankNumber(int64_t n, int width)
{
    PString t;
    PStringFromView(t, n < 0 ? "-" : std::to_string(n));
    BankDigits(t, width);
}

DateRec BankToday() { return TodayDate; }

void BankShowPayment(int32_t serial) { ExportNumber(&serial, FtLong); }

bool BankReadByKey(int reg, uint32_t field, const void *value, uint8_t *record)
{
    std::memset(record, 0, RegRecordSize(reg));
    RecFieldPut(reg, record, field, value);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(reg, record, 1, 1, &recid, &position);
    RecFreeMatrix(reg, record);
    return found;
}

namespace {

// The payment text of purchase invoice `serial` into account (empty when
// the invoice is gone): what a row made before its vendor had an account
// number pays to.
void InvoicePayeeText(int32_t serial, uint8_t *account)
{
    std::vector<uint8_t> invoice(RegRecordSize(VIVc::Number));
    account[0] = 0;
    if (BankReadByKey(VIVc::Number, VIVc::SerNr, &serial, invoice.data())) GetText(invoice.data(), VIVc::PayText, account);
}

}  // namespace

bool BankPaidRows(const uint8_t *payment, std::vector<BankRow> *rows, BankPayee payee)
{
    namespace PR = OPVc::Rows;
    rows->clear();
    std::vector<uint8_t> row(RecRowSize(OPVc::Number));
    int32_t count = MatrixRowCount(OPVc::Number, 0, payment);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(OPVc::Number, 0, payment, r, row.data())) return false;
        if (PaidRowKind(GetU16(row.data(), PR::Kind)) != PaidRowKind::Paid ||
            GetU16(row.data(), PR::Flag) != 0) continue;
        BankRow b{};
        b.invoice = GetI32(row.data(), PR::InvoiceNr);
        GetText(row.data(), PR::VendCode, b.vendor);
        if (payee == BankPayee::Giro) GetText(row.data(), PR::InvPayText, b.account);
        else GetText(row.data(), PR::AccountText, b.account);
        if (b.account[0] == 0) InvoicePayeeText(b.invoice, b.account);
        PackedDecimal amount = GetDec(row.data(), PR::Amount);
        if (!AmountCents(&amount, &b.cents)) b.cents = 0;
        rows->push_back(b);
    }
    return true;
}

bool BankRowsWithInvoices(const uint8_t *payment, int maxDigits, std::vector<BankRow> *rows,
                          std::vector<uint8_t> *invoices, BankPayee payee)
{
    if (!BankPaidRows(payment, rows, payee) || rows->empty()) {
        BankRefuse(Texts::BankWhyNoRows);
        return false;
    }
    const uint32_t size = RegRecordSize(VIVc::Number);
    invoices->assign(size * rows->size(), 0);
    bool allZero = true;
    for (size_t r = 0; r < rows->size(); r++) {
        const BankRow &row = (*rows)[r];
        allZero = allZero && row.cents == 0;
        PString digits;
        DigitsOnly(row.account, digits);
        if (maxDigits >= 0 && row.account[0] == 0) {
            BankRefuse(Texts::BankWhyNoAccount);
            return false;
        }
        if (maxDigits > 0 && !BankAccountIsNumber(row.account)) {
            BankRefuse(Texts::BankWhyAccountLetters, row.account);
            return false;
        }
        if (maxDigits > 0 && digits[0] > maxDigits) {
            BankRefuse(Texts::BankWhyAccountLong, row.account);
            return false;
        }
        if (!BankReadByKey(VIVc::Number, VIVc::SerNr, &row.invoice, invoices->data() + r * size)) {
            BankRefuseNumber(Texts::BankWhyInvoiceGone, row.invoice);
            return false;
        }
    }
    if (allZero) {
        BankRefuse(Texts::BankWhyZero);
        return false;
    }
    return true;
}
