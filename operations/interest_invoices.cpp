// interest_invoices.cpp - batch routine 4: interest on late payment.
// For a period, each customer charged interest gets a sales invoice of
// kind 4 with one amount row per late invoice: the invoices still open
// at the period's end (register 13) and those paid late within it (the
// customer transactions, register 49, and their receipts, register 10).
// An invoice holds one currency; it is inserted unposted and unchecked,
// and only when it reaches the minimum of settings block 134.
//
// A late invoice's notice count rises only when the interest invoice
// holding its row was stored: an invoice below the minimum is never
// seen by the customer, so it counts as no notice.
//
// The run ends with one line: the invoices it made and their numbers,
// or why it made none (no customer in the range or group, none with
// interest on, no late invoice, interest below the minimum).
#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "operations/reminder_outcome.h"
#include "operations/run_outcome.h"
#include "operations/invoice_notice.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace Inv = IVVc;
namespace Row = IVVc::Rows;
namespace Open = ARVc;
namespace Trans = CustTransVc;
namespace Receipt = IPVc;
namespace Blk = InterestBlk;

constexpr int TextNoInterestNumber = 12580;
// Rows an invoice takes before the next late invoice starts another.
constexpr int32_t RowsBeforeFull = 199;
// The run's closing line (texts_run_outcome.dict).
constexpr int TextOutcomeSubject = 14470, TextOutcomeMade = 14471, TextOutcomeNoCustomer = 14472,
              TextOutcomeNoInterest = 14473, TextOutcomeNoLateInvoice = 14474, TextOutcomeBelowMinimum = 14475,
              TextOutcomeNotStored = 14476, TextOutcomeNoGroup = 14477;
// The run's name in its progress: its window's title.
constexpr int TitleInterestRun = Texts::MaintInterestInvoices;

// What a run met and made, for its closing line.
struct InterestTally {
    int32_t inRange = 0, inGroup = 0, charged = 0;   // customers
    int32_t withRows = 0, belowMinimum = 0;          // invoices built
    int32_t stored = 0, failed = 0;
    int32_t firstNumber = 0, lastNumber = 0;
};
InterestTally Tally;

// The interest settings in the form the rows need them.
struct InterestRules {
    PackedDecimal rate, minAmount;
    int32_t minDays;
    uint16_t method, dayRule;
    bool belowMinimum;
};

InterestRules ReadRules()
{
    InterestRules r{};
    const uint8_t *b = SettingsRecord(Blk::Number, InvoiceRateBlock);
    DecSetBlank(&r.rate);
    DecSetBlank(&r.minAmount);
    if (!b) return r;
    r.rate = GetDec(b, Blk::Rate);
    r.minAmount = GetDec(b, Blk::MinAmount);
    r.minDays = GetI32(b, Blk::MinDays);
    r.method = GetU16(b, Blk::RateMethod);
    r.dayRule = GetU16(b, Blk::DayRule);
    r.belowMinimum = GetU16(b, Blk::BelowMinimum) != 0;
    return r;
}

// a x b x n / divisor rounded half away from zero to cents, in exact
// integers: dividing packed decimals keeps only thousandths, and rounding
// those again to cents is off by a cent (14.7945 gives 14.795, then
// 14.80). Blank when a or b is blank.
void ProductToCents(const PackedDecimal *a, const PackedDecimal *b, int32_t n, int32_t divisor, PackedDecimal *out)
{
    __int128 x = 0, y = 0;
    DecSetBlank(out);
    if (!DecToThousandths(a, &x) || !DecToThousandths(b, &y) || divisor <= 0) return;
    const __int128 num = x * y * n, den = __int128(divisor) * 10000;   // millionths to cents
    __int128 q = num / den, rest = num % den;
    if (rest < 0) rest = -rest;
    if (2 * rest >= den) q += num < 0 ? -1 : 1;
    DecFromThousandths(out, q * 10);
}

// The interest of `amount` for `days` at the item's own rate (method 0),
// the block's rate (1) or the block's flat percentage (2); blank when
// the days earn nothing.
PackedDecimal InterestOf(const InterestRules &rules, const PackedDecimal &amount, int32_t days,
                         const PackedDecimal &ownRate, PackedDecimal *rateUsed)
{
    PackedDecimal interest;
    DecSetBlank(&interest);
    *rateUsed = rules.method == 0 ? ownRate : rules.rate;
    if (rules.method == 2) {
        if (days >= 1) ProductToCents(&amount, rateUsed, 1, 100, &interest);
        return interest;
    }
    if (days > 0) InterestAmount(&amount, days, rateUsed, &interest);
    return interest;
}

bool Positive(const PackedDecimal &d) { return !DecIsBlank(&d) && DecSign(&d) > 0; }

// Whether a computed interest makes a row: it must be positive, and the
// days or the interest must reach the block's minimums unless waived.
bool EarnsRow(const InterestRules &rules, int32_t days, const PackedDecimal &interest, bool waive)
{
    if (!Positive(interest)) return false;
    if (waive) return true;
    bool fewDays = days < rules.minDays;
    bool small = !DecIsBlank(&rules.minAmount) && DecCompare(&interest, &rules.minAmount) < 0;
    return !(fewDays && small);
}

// Reads the sales invoice `number` into record; false when there is none.
bool ReadInvoice(int32_t number, uint8_t *record)
{
    RecFreeMatrix(Inv::Number, record);
    PutI32(record, Inv::SerNr, number);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(Inv::Number, "SerNr", record, 1, 1, &recid, &position);
}

// The notice count a late invoice gets once its interest row is stored.
int32_t NextNoticeCount(const uint8_t *invoice)
{
    int32_t n = GetI32(invoice, Inv::NoticeCount);
    return (n == -1 || n == -2 ? 0 : n) + 1;
}

// Appends one interest row: the late invoice's number, its due date and
// amount as the text, the days, the rate and the interest, accounted as
// block 134's item is for the customer's zone.
bool AppendInterestRow(InterestDraft *draft, int32_t invoiceNr, const DateRec &due, const PackedDecimal &amount,
                       int32_t days, const PackedDecimal &rate, const PackedDecimal &interest, int32_t link)
{
    uint8_t row[Row::Size] = {};
    uint8_t text[256], part[256];
    PutU16(row, Row::Kind, uint16_t(DocRowKind::Amount));
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", invoiceNr);
    PStringFromC(text, digits);
    PutText(row, Row::ItemCode, text);
    DateToText(&due, text);
    PStringAppendC(text, ", ");
    DecFormat(&amount, 2, part);
    PStringAppend(text, part);
    PutText(row, Row::Text, text);
    PackedDecimal qty;
    DecFromLong(&qty, days);
    PutDec(row, Row::Quantity, qty);
    PutDec(row, Row::Discount, rate);
    PutDec(row, Row::Sum, interest);
    PutDec(row, Row::UnitCost, amount);
    PutI32(row, Row::Link, link);
    RuleRecord item(INVc::Number);
    const uint8_t *b = SettingsRecord(Blk::Number, InvoiceRateBlock);
    if (item.record && b) {
        GetText(b, Blk::Item, text);
        PutText(item.record, INVc::Code, text);
        uint32_t recid = 0, position = 0;
        if (text[0] != 0 && RecFind(INVc::Number, item.record, 1, 1, &recid, &position)) {
            ItemSalesAccount(item.record, draft->zone, text);
            PutText(row, Row::SalesAcc, text);
            ItemVatCode(item.record, draft->zone, text);
            PutText(row, Row::VatCode, text);
        }
    }
    if (!MatrixRowPut(Inv::Number, 0, draft->invoice, MatrixRowCount(Inv::Number, 0, draft->invoice), row))
        return false;
    draft->interestRows++;
    return true;
}

// Puts the draft's currency, and its rate on the invoice date, on the
// invoice being built.
void ApplyCurrency(InterestDraft *draft)
{
    uint8_t code[256];
    PStringFromC(code, draft->currency.c_str());
    PutText(draft->invoice, Inv::CurncyCode, code);
    PackedDecimal rate;
    DecSetBlank(&rate);
    DateRec date = GetDate(draft->invoice, Inv::InvDate);
    if (code[0] != 0) CurrencyRate(code, &date, &rate);
    PutDec(draft->invoice, Inv::Rate, rate);
}

enum class Room { Take, Later, Failed };

// Whether a late invoice in `currency` has its row in the invoice being
// built. The first one chooses the invoice's currency; one in another
// currency waits for the customer's next invoice; a full invoice is
// finished and another begun in the same currency.
Room RoomFor(const uint8_t *customer, InterestDraft *draft, const uint8_t *currency, const DateRec &from,
             const DateRec &to)
{
    const std::string code(reinterpret_cast<const char *>(currency) + 1, currency[0]);
    if (!draft->chosen) {
        draft->chosen = true;
        draft->currency = code;
        ApplyCurrency(draft);
    }
    if (code != draft->currency) {
        if (std::find(draft->later.begin(), draft->later.end(), code) == draft->later.end())
            draft->later.push_back(code);
        return Room::Later;
    }
    if (MatrixRowCount(Inv::Number, 0, draft->invoice) >= RowsBeforeFull) {
        bool stored = false;
        if (!InterestInvoiceFinish(draft, &stored) || !InterestInvoiceStart(customer, from, to, draft))
            return Room::Failed;
    }
    return Room::Take;
}

}  // namespace

void InterestAmount(const PackedDecimal *amount, int32_t days, const PackedDecimal *rate, PackedDecimal *result)
{
    ProductToCents(amount, rate, days, 36500, result);
}

bool InterestInvoiceStart(const uint8_t *customer, const DateRec &from, const DateRec &to, InterestDraft *draft)
{
    uint8_t *r = draft->invoice;
    RecFreeMatrix(Inv::Number, r);
    RecClear(Inv::Number, r);
    draft->interestRows = 0;
    draft->notices.clear();
    PutU16(r, Inv::InvType, uint16_t(InvoiceKind::Interest));
    DateRec date = GetDate(draft->selection, ReportParamsVc::Date3);
    if (date.year == 0) date = TodayDate;
    PutDate(r, Inv::InvDate, date);
    PutDate(r, Inv::TransDate, date);
    uint8_t text[256], empty[1] = {0};
    PutText(r, Inv::CurncyCode, empty);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(r, Inv::Rate, blank);
    PutU16(r, Inv::Posted, 0);
    ClearGeneratedInvoiceHead(r);
    PutU16(r, Inv::InclVat, 0);
    // Interest invoices keep a hint of their own, so that they may have a
    // number series of their own and never move the ordinary invoices' one.
    uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    const int32_t hint = series ? GetI32(series, SeriesDefaultsBlk::InterestHint) : 0;
    int32_t serial = NextSerialNumber(Inv::Number, &date, hint > 0 ? hint : 0, 0);
    if (serial == NoFreeNumber) {
        ShowTextMessage(TextNoInterestNumber);
        return false;
    }
    if (series) PutI32(series, SeriesDefaultsBlk::InterestHint, serial);
    PutI32(r, Inv::SerNr, serial);
    GetText(customer, CUVc::Code, text);
    PutText(r, Inv::CustCode, text);
    CopyCustomerToDocument(r);
    ApplyInterestPaymentTerms(r);
    PutI32(r, Inv::NoticeCount, -1);   // no freight, no notice
    if (GetU16(draft->selection, ReportParamsVc::Option2) == 1) {
        uint8_t row[Row::Size] = {};
        PutU16(row, Row::Kind, uint16_t(DocRowKind::Plain));
        PeriodRowText(&from, &to, " - ", text);
        PutText(row, Row::Text, text);
        PutI32(row, Row::Link, -1);
        if (!MatrixRowPut(Inv::Number, 0, r, 0, row)) return false;
    }
    if (draft->chosen) ApplyCurrency(draft);
    return true;
}

bool InterestDays(InterestDraft *draft, const uint8_t *openItem, const DateRec &from, const DateRec &to,
                  int32_t periodDays)
{
    (void)from;
    const InterestRules rules = ReadRules();
    DateRec due = GetDate(openItem, Open::DueDate);
    if (due.year == 0) return false;
    int32_t days = DateDiffDays(&to, &due);
    // Day rule 0 counts from the period's start when that is later than
    // the due date; rule 1 from the due date itself.
    if (rules.dayRule == 0 && days > periodDays) days = periodDays;
    PackedDecimal amount = GetDec(openItem, Open::OpenAmount), rate;
    PackedDecimal interest = InterestOf(rules, amount, days, GetDec(openItem, Open::IntRate), &rate);
    if (!EarnsRow(rules, days, interest, rules.belowMinimum)) return false;
    int32_t number = GetI32(openItem, Open::InvoiceNr), link = -1;
    if (days > 0) {
        RuleRecord late(Inv::Number);
        if (late.record && ReadInvoice(number, late.record)) {
            link = NextNoticeCount(late.record);
            draft->notices.push_back(number);
        }
    }
    return AppendInterestRow(draft, number, due, amount, days, rate, interest, link);
}

bool InterestRowsOfReceipt(InterestDraft *draft, const uint8_t *invoice, int32_t invoiceNr, const DateRec &from,
                           const DateRec &payDate, const PackedDecimal &amount)
{
    if (!invoice) return false;   // no due date to be late against
    const InterestRules rules = ReadRules();
    DateRec due = GetDate(invoice, Inv::PayDate);
    if (due.year == 0) return false;
    int32_t days = DateDiffDays(&payDate, &due);
    if (rules.dayRule == 0 && DateCompare(&from, &due) > 0) days = DateDiffDays(&payDate, &from);
    PackedDecimal rate;
    PackedDecimal interest = InterestOf(rules, amount, days, GetDec(invoice, Inv::IntRate), &rate);
    if (!EarnsRow(rules, days, interest, false)) return false;
    return AppendInterestRow(draft, invoiceNr, due, amount, days, rate, interest, -1);
}

bool InterestFromOpenItems(const uint8_t *customer, InterestDraft *draft, const DateRec &from, const DateRec &to)
{
    const int32_t periodDays = DateDiffDays(&to, &from) + 1;
    RuleRecord item(Open::Number), late(Inv::Number);
    if (!item.record || !late.record) return false;
    uint8_t code[256], own[256], currency[256];
    GetText(customer, CUVc::Code, code);
    PutText(item.record, Open::CustCode, code);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Open::Number, "CustCode", item.record, 1, 0, &recid, &position) || position == 0) return true;
    for (uint32_t p = position; RecReadAtIndex(Open::Number, "CustCode", int32_t(p), item.record, &recid); p++) {
        GetText(item.record, Open::CustCode, own);
        if (!PStringEqual(own, code)) break;
        int32_t number = GetI32(item.record, Open::InvoiceNr);
        bool found = ReadInvoice(number, late.record);
        if (found && InvoiceKind(GetU16(late.record, Inv::InvType)) != InvoiceKind::Ordinary) continue;
        if (found)
            GetText(late.record, Inv::CurncyCode, currency);
        else
            GetText(item.record, Open::CurncyCode, currency);
        Room room = RoomFor(customer, draft, currency, from, to);
        if (room == Room::Failed) return false;
        if (room == Room::Take) InterestDays(draft, item.record, from, to, periodDays);
    }
    return true;
}

bool InterestFromPayments(const uint8_t *customer, InterestDraft *draft, const DateRec &from, const DateRec &to)
{
    RuleRecord entry(Trans::Number), receipt(Receipt::Number), late(Inv::Number);
    if (!entry.record || !receipt.record || !late.record) return false;
    uint8_t code[256], own[256], currency[256];
    GetText(customer, CUVc::Code, code);
    PutText(entry.record, Trans::CustCode, code);
    PutDate(entry.record, Trans::TransDate, from);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Trans::Number, "MainKey", entry.record, 2, 0, &recid, &position) || position == 0)
        return true;
    for (uint32_t p = position; RecReadAtIndex(Trans::Number, "MainKey", int32_t(p), entry.record, &recid); p++) {
        GetText(entry.record, Trans::CustCode, own);
        if (!PStringEqual(own, code)) break;
        DateRec date = GetDate(entry.record, Trans::TransDate);
        if (DateCompare(&date, &from) < 0) continue;
        if (DateCompare(&date, &to) > 0) break;
        if (LedgerEntryKind(GetU16(entry.record, Trans::Kind)) != LedgerEntryKind::Payment) continue;
        RecFreeMatrix(Receipt::Number, receipt.record);
        PutI32(receipt.record, Receipt::SerNr, GetI32(entry.record, Trans::DocNr));
        uint32_t rid = 0, rpos = 0;
        if (!RecFindByIndex(Receipt::Number, "SerNr", receipt.record, 1, 1, &rid, &rpos)) continue;
        const int32_t invoiceNr = GetI32(entry.record, Trans::InvoiceNr);
        uint8_t row[Receipt::Rows::Size];
        for (int32_t i = 0; MatrixRowRead(Receipt::Number, receipt.record, i, row); i++) {
            if (PaidRowKind(GetU16(row, Receipt::Rows::Kind)) != PaidRowKind::Paid ||
                GetU16(row, Receipt::Rows::Flag) != 0) continue;
            DateRec paid = GetDate(row, Receipt::Rows::PayDate);
            if (DateCompare(&paid, &date) != 0 || GetI32(row, Receipt::Rows::InvoiceNr) != invoiceNr) continue;
            bool found = ReadInvoice(invoiceNr, late.record);
            if (found && InvoiceKind(GetU16(late.record, Inv::InvType)) != InvoiceKind::Ordinary) continue;
            currency[0] = 0;
            if (found) GetText(late.record, Inv::CurncyCode, currency);
            Room room = RoomFor(customer, draft, currency, from, to);
            if (room == Room::Failed) return false;
            if (room == Room::Take)
                InterestRowsOfReceipt(draft, found ? late.record : nullptr, invoiceNr, from, paid,
                                  GetDec(row, Receipt::Rows::Amount));
        }
    }
    return true;
}

void InterestInvoiceHeader(uint8_t *invoice)
{
    PackedDecimal total = GetDec(invoice, Inv::Total);
    if (!Positive(total)) return;
    const uint8_t *b = SettingsRecord(Blk::Number, InvoiceRateBlock);
    if (!b) return;
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    uint8_t code[256];
    GetText(b, Blk::FeeItem, code);
    if (code[0] == 0) return;
    PutText(item.record, INVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.record, 1, 1, &recid, &position)) return;
    int32_t at = MatrixRowCount(Inv::Number, 0, invoice);
    uint8_t row[Row::Size] = {}, text[256];
    bool spaced = false;
    if (at > 0 && MatrixRowRead(Inv::Number, invoice, at - 1, row)) {
        GetText(row, Row::Text, text);
        spaced = text[0] == 1 && text[1] == ' ';
    }
    if (!spaced) {
        std::memset(row, 0, sizeof row);
        PutU16(row, Row::Kind, uint16_t(DocRowKind::Plain));
        PStringFromC(text, " ");
        PutText(row, Row::Text, text);
        PutI32(row, Row::Link, -1);
        if (!MatrixRowPut(Inv::Number, 0, invoice, at++, row)) return;
    }
    std::memset(row, 0, sizeof row);
    PutU16(row, Row::Kind, uint16_t(DocRowKind::Item));
    PackedDecimal one;
    DecFromLong(&one, 1);
    PutDec(row, Row::Quantity, one);
    PutI32(row, Row::Link, -1);
    if (!MatrixRowPut(Inv::Number, 0, invoice, at, row)) return;
    AddInvoiceItemRow(invoice, item.record, at);
    if (!MatrixRowRead(Inv::Number, invoice, at, row)) return;
    PutDec(row, Row::Quantity, one);
    PackedDecimal sum, unit = GetDec(row, Row::PriceUnit), price = GetDec(row, Row::Price);
    PackedDecimal discount = GetDec(row, Row::Discount);
    DecRowAmount(&one, &price, &unit, &discount, &sum);
    PutDec(row, Row::Sum, sum);
    MatrixRowPut(Inv::Number, 0, invoice, at, row);
}

bool InterestInvoiceFinish(InterestDraft *draft, bool *stored)
{
    *stored = false;
    uint8_t *r = draft->invoice;
    if (draft->interestRows == 0) return true;
    Tally.withRows++;
    DocTotalsRound(r);
    InterestInvoiceHeader(r);
    DocTotalsRound(r);
    const InterestRules rules = ReadRules();
    PackedDecimal total = GetDec(r, Inv::Total), rate = GetDec(r, Inv::Rate), home;
    AmountTimesRate(&total, &rate, &home);
    if (!Positive(total) || (!DecIsBlank(&rules.minAmount) && DecCompare(&home, &rules.minAmount) < 0)) {
        Tally.belowMinimum++;
        return true;
    }
    // The invoice and the notice counts of its late invoices are stored
    // together, in one flush.
    uint32_t recid = 0;
    DbHoldBegin();
    if (!RecInsertUnchecked(Inv::Number, r, &recid)) DbHoldFail();
    else
        for (int32_t number : draft->notices) InvoiceNoticeCount(number);
    if (!DbHoldEnd()) {
        ShowTextMessage(Texts::RecordNotStored);
        Tally.failed++;
        return false;
    }
    *stored = true;
    const int32_t number = GetI32(r, Inv::SerNr);
    if (Tally.stored++ == 0) Tally.firstNumber = number;
    Tally.lastNumber = number;
    draft->notices.clear();
    return true;
}

bool InterestInvoice(const ReportJob &job, const uint8_t *customer, const DateRec &from, const DateRec &to)
{
    RuleRecord inv(Inv::Number);
    if (!inv.record) return false;
    InterestDraft draft;
    draft.selection = job.selection;
    draft.invoice = inv.record;
    draft.zone = GetU16(customer, CUVc::VatZone);
    const InterestRules rules = ReadRules();
    std::vector<std::string> done;
    // One pass a currency: the first pass takes the currency of the first
    // late invoice, each later pass one that waited.
    for (;;) {
        if (!InterestInvoiceStart(customer, from, to, &draft)) return false;
        draft.later.clear();
        if (rules.dayRule == 0 || rules.belowMinimum)
            if (!InterestFromOpenItems(customer, &draft, from, to)) return false;
        if (!CompanyVariantIs(CountryVariant::V15))
            if (!InterestFromPayments(customer, &draft, from, to)) return false;
        bool stored = false;
        if (!InterestInvoiceFinish(&draft, &stored)) return false;
        done.push_back(draft.currency);
        auto next = std::find_if(draft.later.begin(), draft.later.end(), [&](const std::string &c) {
            return std::find(done.begin(), done.end(), c) == done.end();
        });
        if (next == draft.later.end()) return true;
        draft.currency = *next;
    }
}

namespace {

// The run's closing line from what Tally met and made.
void TellInterestOutcome(bool stopped)
{
    ReminderOutcome o;
    o.subject = TextOutcomeSubject;
    o.made = Tally.stored;
    o.whereText = TextOutcomeMade;
    o.whereExtra = std::to_string(Tally.firstNumber);
    if (Tally.lastNumber != Tally.firstNumber) o.whereExtra += ":" + std::to_string(Tally.lastNumber);
    o.failed = Tally.failed;
    o.failedText = TextOutcomeNotStored;
    o.stopped = stopped;
    if (Tally.inRange == 0) o.whyText = TextOutcomeNoCustomer;
    else if (Tally.inGroup == 0) o.whyText = TextOutcomeNoGroup;
    else if (Tally.charged == 0) o.whyText = TextOutcomeNoInterest;
    else if (Tally.withRows == 0) o.whyText = TextOutcomeNoLateInvoice;
    else o.whyText = TextOutcomeBelowMinimum;
    ReminderOutcomeTell(o);
}

}  // namespace

bool InterestInvoiceRun(const ReportJob &job)
{
    assert(job.selection);
    DateRec from = GetDate(job.selection, ReportParamsVc::Date2From);
    DateRec to = GetDate(job.selection, ReportParamsVc::Date2To);
    if (from.year == 0 || to.year == 0 || DateCompare(&from, &to) >= 0) {
        ShowTextMessage(Texts::SeriesDatesReversed);
        return false;
    }
    RunOutcome progress;
    RunStart(&progress, TitleInterestRun);
    Tally = InterestTally{};
    uint8_t range[256], first[256], last[256], group[256], code[256], own[256];
    GetText(job.selection, ReportParamsVc::SelText1, range);
    GetText(job.selection, ReportParamsVc::SelText3, group);
    RangeSplit(range, first, last);
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return false;
    PutText(customer.record, CUVc::Code, first);
    uint32_t recid = 0, position = 0;
    bool ok = true;
    if (RecFind(CUVc::Number, customer.record, 1, 0, &recid, &position)) {
        for (uint32_t p = position;; p++) {
            if (p != position && !RecReadAt(CUVc::Number, int32_t(p), customer.record, &recid)) break;
            GetText(customer.record, CUVc::Code, code);
            if (last[0] != 0 && PStringCompare(code, last) > 0) break;
            // Esc stops the run between customers, never inside one's invoice.
            if (!RunGoesOn(&progress, code)) break;
            Tally.inRange++;
            GetText(customer.record, CUVc::CustGroup, own);
            if (group[0] != 0 && !PStringEqual(group, own)) continue;
            Tally.inGroup++;
            if (GetU16(customer.record, CUVc::InterestFlag) == 0) continue;
            Tally.charged++;
            if (!InterestInvoice(job, customer.record, from, to)) {
                ok = false;
                break;
            }
        }
    }
    RunProgressEnd(&progress);
    TellInterestOutcome(progress.cancelled);
    return ok;
}
