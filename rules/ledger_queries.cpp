// ledger_queries.cpp - sums over the account postings of register 18 and
// the item history of register 59 for the reports.
//
// Both walks read an index in key order from a start key and stop at the
// first entry past the range; they look at UserCancelFlag (set by Esc) at
// every entry and give false when it is set, with what was summed so far
// (the account walk also when a source's rows could not be read).
#include <cassert>
#include <unordered_set>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/posting_sources.h"
#include "rules/vat_currency.h"

namespace Posting = ATVc;
namespace History = ItemHistVc;
namespace Invoice = IVVc;
namespace InvoiceRow = IVVc::Rows;

namespace {

// The history type of a sales invoice and the invoice type of a credit
// note.
constexpr uint16_t HistorySalesInvoice = 5;

}  // namespace

// The change of account between from and to on the rows whose object
// list holds every code of objects (every row for an empty list; an fb1
// only on its own object list), summed
// over the account's postings in register 18. A posting counts only when
// its source record still exists under the posting's serial number and
// carries the posting's date: postings of rows later removed or of a
// voucher since re-dated stay in register 18 and are passed over here.
bool AccountObjectsBalance(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                           const void *unused, PackedDecimal *result) {
    (void)unused;
    return AccountObjectsBalanceKinds(account, objects, from, to, true, result);
}

// AccountObjectsBalance over the postings the balances keep as kind 0
// (vouchers, sp1 rows, fb1 records of posting kind 0), and those of kind 1
// (sm1 rows, fb1 records of posting kind 1) too when secondKind is set, so
// that a partial month counts what the balance record's kinds count.
bool AccountObjectsBalanceKinds(const uint8_t *account, const uint8_t *objects, const DateRec *from,
                                const DateRec *to, bool secondKind, PackedDecimal *result) {
    assert(account && objects && from && to && result);
    DecSetBlank(result);
    ObjectSlots slots;
    ParseObjectList(objects, &slots);
    uint8_t entry[Posting::Size] = {}, code[256];
    PutText(entry, Posting::Account, account);
    PutDate(entry, Posting::Date, *from);
    uint8_t want[256];
    GetText(entry, Posting::Account, want);   // as the key holds it

    RuleRecord vouchers(Voucher::Number), sm1(SMVc::Number), sp1(PersEntryVc::Number), fb1(OpenBalVc::Number);
    if (!vouchers.record || !sm1.record || !sp1.record || !fb1.record) return true;
    auto recordFor = [&](int reg) -> uint8_t * {
        switch (reg) {
        case Voucher::Number: return vouchers.record;
        case SMVc::Number: return sm1.record;
        case PersEntryVc::Number: return sp1.record;
        default: return fb1.record;
        }
    };

    constexpr const char *index = "AccDate";
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Posting::Number, index, entry, 2, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (UserCancelFlag) return false;
        if (p != position && !RecReadAtIndex(Posting::Number, index, (int32_t)p, entry, &recid)) break;
        GetText(entry, Posting::Account, code);
        if (!PStringEqual(code, want)) break;
        const DateRec date = GetDate(entry, Posting::Date);
        if (DateCompare(&date, to) > 0) break;

        const PostingSource *s = PostingSourceOf(GetU16(entry, Posting::SourceReg));
        if (!s) continue;
        uint8_t *source = recordFor(s->reg);
        RecFreeMatrix(s->reg, source);
        if (!RecReadById(s->reg, GetU32(entry, Posting::SourceRecId), source)) continue;
        const DateRec sourceDate = GetDate(source, s->date);
        if (DateCompare(&sourceDate, &date) != 0 || GetU32(source, s->serNr) != GetU32(entry, Posting::SourceSerNr))
            continue;
        const bool kindOne = s->reg == SMVc::Number ||
                             (s->reg == OpenBalVc::Number && GetU16(source, OpenBalVc::PostKind) != 0);
        if (kindOne && !secondKind) continue;
        // A source whose rows cannot be read leaves the sum short: say so.
        if (!AddPostingSourceRows(s->reg, source, want, objects, &slots, result)) return false;
    }
    return true;
}

// What the sales invoices in item's history (register 59) dated from..to
// sold of the item, only to customer when it is not empty: mode 0 the
// quantity, 1 the row amounts in home currency at the invoice's rate, 2
// the rows' gross profit; a credit note counts negative. An invoice named
// by several history records (one per row) is counted once.
bool StockValueAtDate(const uint8_t *item, const uint8_t *customer, int mode, const DateRec *from, const DateRec *to,
                      PackedDecimal *result) {
    assert(item && customer && from && to && result);
    DecSetBlank(result);
    uint8_t entry[History::Size] = {}, code[256];
    PutText(entry, History::ItemCode, item);
    PutDate(entry, History::HistDate, *from);
    RuleRecord invoice(Invoice::Number);
    if (!invoice.record) return true;
    std::unordered_set<uint32_t> counted;

    constexpr const char *index = "ItemDate";
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(History::Number, index, entry, 2, 0, &recid, &position)) return true;
    uint8_t row[InvoiceRow::Size];
    for (uint32_t p = position;; p++) {
        if (UserCancelFlag) return false;
        if (p != position && !RecReadAtIndex(History::Number, index, (int32_t)p, entry, &recid)) break;
        GetText(entry, History::ItemCode, code);
        if (PStringCompareNoCase(code, item) != 0) break;
        const DateRec date = GetDate(entry, History::HistDate);
        if (DateCompare(&date, to) > 0) break;
        if (GetU16(entry, History::DocType) != HistorySalesInvoice) continue;

        const uint32_t serNr = GetU32(entry, History::DocNr);
        if (!counted.insert(serNr).second) continue;
        RecFreeMatrix(Invoice::Number, invoice.record);
        PutU32(invoice.record, Invoice::SerNr, serNr);
        uint32_t invId = 0, invPos = 0;
        if (!RecFind(Invoice::Number, invoice.record, 1, 1, &invId, &invPos)) continue;
        if (customer[0] != 0) {
            GetText(invoice.record, Invoice::CustCode, code);
            if (PStringCompareNoCase(code, customer) != 0) continue;
        }
        const bool credit = InvoiceKind(GetU16(invoice.record, Invoice::InvType)) == InvoiceKind::CreditNote;
        const PackedDecimal rate = GetDec(invoice.record, Invoice::Rate);
        const int32_t n = MatrixRowCount(Invoice::Number, 0, invoice.record);
        for (int32_t i = 0; i < n; i++) {
            if (!MatrixRowRead(Invoice::Number, invoice.record, i, row)) break;
            if (DocRowKind(GetU16(row, InvoiceRow::Kind)) != DocRowKind::Item) continue;
            GetText(row, InvoiceRow::ItemCode, code);
            if (PStringCompareNoCase(code, item) != 0) continue;
            PackedDecimal v;
            if (mode == 0) v = GetDec(row, InvoiceRow::Quantity);
            else if (mode == 1) {
                const PackedDecimal sum = GetDec(row, InvoiceRow::Sum);
                AmountTimesRate(&sum, &rate, &v);
            } else v = GetDec(row, InvoiceRow::GrossProfit);
            if (credit) DecNegateInto(&v, &v);
            DecAdd(result, &v, result);
        }
    }
    return true;
}
