// payment_suggestion.cpp - outgoing payments proposed for the open
// purchase-invoice items (register 29) that fall due in a date range.
//
// The items are walked by due date ("DueDate"), or by discount date
// ("RebDate", an item then dated the day before its discount date). An
// item is taken when it lies in the dates, the vendor range and the
// currency, is open (above zero, or not zero when negative items are
// asked for too), fits under the amount limit and its invoice exists and
// is not held from payment. Taken items go into a payment of at most 91
// rows (one per date when asked); each full payment is inserted with the
// hooks, which take its items off the open items. The walk then finds its
// place again by the last item's date, so it neither skips items nor
// takes one twice, and a zero item can never be taken (it would stay in
// the index and be met again for ever).
#include <algorithm>
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "rules/checks.h"
#include "rules/payment_kinds.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

namespace RP = ReportParamsVc;
namespace OI = APVc;
namespace Row = OPVc::Rows;
constexpr int32_t MaxRows = 91;
constexpr uint32_t PayModeAt = 1010, PayDateAt = 1112;

struct Selection {
    uint8_t from[256], to[256], currency[256], mode[256];
    DateRec fromDate, toDate, payDate;
    bool byDiscount, perDate, takeAll, limited;
    PackedDecimal limit, sum;
};

// The item's date: its due date, or the day before its discount date.
DateRec ItemDate(const uint8_t *item, bool byDiscount) {
    if (!byDiscount) return GetDate(item, OI::DueDate);
    DateRec d = GetDate(item, OI::DiscDate);
    DateAddDays(&d, -1, &d);
    return d;
}

// True when the item is taken; its invoice read into invoice.
bool Taken(Selection &s, const uint8_t *item, const DateRec &date, RuleRecord &invoice) {
    if (s.fromDate.year != 0 && DateCompare(&s.fromDate, &date) > 0) return false;
    if (s.toDate.year != 0 && DateCompare(&s.toDate, &date) < 0) return false;
    uint8_t text[256];
    GetText(item, OI::VendCode, text);
    if (s.from[0] != 0 && PStringCompare(text, s.from) < 0) return false;
    if (s.to[0] != 0 && PStringCompare(text, s.to) > 0) return false;
    GetText(item, OI::CurncyCode, text);
    if (!PStringEqual(text, s.currency)) return false;
    PackedDecimal open = GetDec(item, OI::OpenAmount), next;
    if (DecIsZero(&open) || (!s.takeAll && DecIsNegative(&open))) return false;
    DecAdd(&s.sum, &open, &next);
    if (s.limited && DecCompare(&next, &s.limit) > 0) return false;
    if (!PurchaseInvoiceRead(GetU32(item, OI::InvoiceNr), invoice)) return false;
    if (GetU16(invoice.record, VIVc::Held) != 0) return false;
    s.sum = next;
    return true;
}

// Starts a payment dated date.
void StartPayment(uint8_t *payment, const Selection &s, const DateRec &date) {
    RecClear(OPVc::Number, payment);
    RecNewDefaults(OPVc::Number, payment);
    int32_t n = NextSerialNumber(OPVc::Number, &date, 0, 0);
    PutU32(payment, OPVc::SerNr, n == NoFreeNumber ? SerialNone : (uint32_t)n);
    PutDate(payment, OPVc::PayDate, date);
    PutDate(payment, OPVc::RateDate, date);
    PutText(payment, OPVc::PayMode, s.mode);
    ApplyPaymentMode(payment);
    PutText(payment, OPVc::CurncyCode, s.currency);
    // A currency without a rate on the date pays at 100; no currency
    // carries the home-currency rate.
    PackedDecimal rate;
    if (!DocumentRate(s.currency, &date, nullptr, &rate) || (s.currency[0] != 0 && DecIsZero(&rate)))
        DecFromLong(&rate, 100);
    PutDec(payment, OPVc::Rate, rate);
}

// Appends the item's row: its invoice, vendor and open amount, and the
// payee texts the payment window gives a row typed with that invoice.
bool AddRow(uint8_t *payment, const uint8_t *item, const uint8_t *invoice) {
    uint8_t row[Row::Size] = {}, text[256];
    PutU16(row, Row::Kind, uint16_t(PaidRowKind::Paid));
    PutU32(row, Row::InvoiceNr, GetU32(item, OI::InvoiceNr));
    GetText(item, OI::VendCode, text);
    PutText(row, Row::VendCode, text);
    PutDec(row, Row::Amount, GetDec(item, OI::OpenAmount));
    PaymentRowPayeeFill(payment, invoice, row);
    return MatrixRowPut(OPVc::Number, 0, payment, MatrixRowCount(OPVc::Number, 0, payment), row);
}

// Totals and inserts the payment with its hooks.
bool InsertPayment(uint8_t *payment) {
    OutPaymentTotals(payment);
    uint32_t recid = 0;
    bool stored = RecInsertUnchecked(OPVc::Number, payment, &recid);
    RecFreeMatrix(OPVc::Number, payment);
    return stored;
}

// The first index position at or after date.
int32_t PositionAt(const char *index, bool byDiscount, const DateRec &date) {
    RuleRecord key(OI::Number);
    PutDate(key.record, byDiscount ? OI::DiscDate : OI::DueDate, date);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(OI::Number, index, key.record, 1, 0, &recid, &position)) return -1;
    return (int32_t)position;
}

}  // namespace

// Makes the payments the selection asks for; see the file comment.
bool PaymentSuggestion(const uint8_t *selection) {
    assert(selection);
    Selection s{};
    s.perDate = GetU16(selection, RP::Option3) != 0;
    s.payDate = GetDate(selection, PayDateAt);
    if (!s.perDate && s.payDate.year == 0) return true;
    s.byDiscount = GetU16(selection, RP::Option2) != 0;
    s.takeAll = GetU16(selection, RP::Option4) != 0;
    s.fromDate = GetDate(selection, RP::Date2From);
    s.toDate = GetDate(selection, RP::Date2To);
    uint8_t text[256];
    GetText(selection, RP::SelText1, text);
    RangeSplit(text, s.from, s.to);
    GetTextPrefix(selection, RP::SelText2, 5, s.currency);
    GetPString(selection, PayModeAt, 1, s.mode);
    GetText(selection, RP::SelText3, text);
    s.limited = text[0] != 0;
    if (s.limited) TextToDec(text, &s.limit);
    DecSetZero(&s.sum);

    const char *index = s.byDiscount ? "RebDate" : "DueDate";
    RuleRecord item(OI::Number), payment(OPVc::Number);
    if (!item.record || !payment.record) return false;
    bool open = false;
    DateRec paymentDate{};
    std::vector<uint32_t> inPayment;   // serials of the open payment's rows
    int32_t position = PositionAt(index, s.byDiscount, s.fromDate);
    uint32_t recid = 0;
    while (position >= 0 && RecReadAtIndex(OI::Number, index, position, item.record, &recid)) {
        position++;
        const uint32_t serial = GetU32(item.record, OI::InvoiceNr);
        if (std::find(inPayment.begin(), inPayment.end(), serial) != inPayment.end()) continue;
        DateRec date = ItemDate(item.record, s.byDiscount);
        RuleRecord invoice(VIVc::Number);
        if (!Taken(s, item.record, date, invoice)) continue;
        int32_t rows = (int32_t)inPayment.size();
        bool full = rows >= MaxRows || (s.perDate && DateCompare(&date, &paymentDate) != 0);
        if (open && full && rows > 0) {
            if (!InsertPayment(payment.record)) return false;
            open = false;
            inPayment.clear();
            // The paid items left the index: the walk goes on from this
            // item's key; items met again are tested again (this one is
            // in the new payment and passed over).
            position = PositionAt(index, s.byDiscount,
                                  GetDate(item.record, s.byDiscount ? OI::DiscDate : OI::DueDate));
        }
        if (!open) {
            paymentDate = s.perDate ? date : s.payDate;
            StartPayment(payment.record, s, paymentDate);
            open = true;
        }
        if (!AddRow(payment.record, item.record, invoice.record)) return false;
        inPayment.push_back(serial);
    }
    if (open && !inPayment.empty() && !InsertPayment(payment.record)) return false;
    return true;
}

// PaymentSuggestion, which a client asks of the server as request 46 and
// which is asked the same here (RunWrites); refused, it has told why and
// stored nothing: true, as a client's refused request answers.
bool PaymentSuggestionCall(uint8_t *selection) {
    assert(selection);
    if (RunModeIsClient()) return JobRequestRemote(ReqPaymentSuggestion, selection, ReportParamsVc::Size);
    RunWrites run(ReqPaymentSuggestion, 0, selection);
    return run.refused || PaymentSuggestion(selection);
}
