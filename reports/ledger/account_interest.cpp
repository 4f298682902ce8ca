// account_interest.cpp - the interest an account's balance earns over a
// span of days at one rate, following the balance through the account's
// postings (register 18) part by part; the rate record in force from a
// date (register 102); the latest fiscal year's first day.
//
// Days are counted inclusively everywhere: a part from the 1st to the
// 10th of a month is 10 days, and the line printed for it says 10.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_lines.h"
#include "rules/ledger.h"
#include "rules/posting_sources.h"
#include "rules/rules_types.h"

namespace {

namespace Rate = IntRateVc;

// True when a posting's source record carries the posting's date.
bool DatedOn(int reg, const uint8_t *source, const DateRec &date) {
    const PostingSource *s = PostingSourceOf(reg);
    if (!s) return false;
    const DateRec own = GetDate(source, s->date);
    return DateCompare(&own, &date) == 0;
}

// Closes the part from..to (days long) at balance: its interest added to
// *interest and, with the running job record's ReportLayout 1, its line.
void ClosePart(const DateRec &from, const DateRec &to, int32_t days, const PackedDecimal *balance,
               const uint8_t *rate, PackedDecimal *interest) {
    PackedDecimal part, used;
    InterestForDays(days, balance, rate, &part, &used);
    DecAdd(interest, &part, interest);
    if (GetU16(CurrentJobRecord(), ReportParamsVc::ReportLayout) != 1) return;   // the running report's layout
    uint8_t number[4];
    PutI32(number, 0, days);
    RepStartLine(15);
    RepValueFmt(100, 0, reinterpret_cast<const uint8_t *>(&from), FtDate, 1, 0);
    RepValueFmt(150, 0, reinterpret_cast<const uint8_t *>(&to), FtDate, 1, 0);
    RepValueFmt(200, 0, number, FtLong, 1, 0);
    LedgerAmount(300, balance);
    LedgerAmount(400, &used);
    LedgerAmount(470, &part);
    RepEndLine();
}

}  // namespace

void InterestForDays(int32_t days, const PackedDecimal *balance, const uint8_t *rate, PackedDecimal *interest,
                     PackedDecimal *rateOut) {
    assert(balance && rate && interest && rateOut);
    DecSetBlank(rateOut);
    DecSetZero(interest);
    uint8_t row[Rate::Rows::Size];
    if (MatrixRowCount(Rate::Number, 0, rate) > 0 && MatrixRowRead(Rate::Number, rate, 0, row))
        *rateOut = GetDec(row, Rate::Rows::Rate);
    if (DecIsBlank(rateOut) || DecIsBlank(balance)) return;
    // In whole numbers of thousandths and one rounding to the cent: the
    // amounts' own division keeps three decimals, and rounding those
    // again would move a half cent (4.6849 to 4.685 to 4.69).
    __int128 b = 0, r = 0;
    if (!DecToThousandths(balance, &b) || !DecToThousandths(rateOut, &r)) return;
    const __int128 scaled = b * r * days, divisor = 365000000;   // 36500 x 1000 x 1000 / 100
    __int128 cents = scaled / divisor;
    const __int128 rest = scaled % divisor;
    if (rest * 2 >= divisor) cents++;
    else if (rest * 2 <= -divisor) cents--;
    DecFromThousandths(interest, cents * 10);
}

bool InterestRateSpan(const uint8_t *rateCode, const DateRec *spanStart, uint8_t *rate, DateRec *spanEnd) {
    assert(rateCode && spanStart && rate && spanEnd);
    *spanEnd = DateRec{};
    RuleRecord probe(Rate::Number);
    if (!probe.record) return false;
    PString code;
    PutText(probe.record, Rate::RateCode, rateCode);
    PutDate(probe.record, Rate::FromDate, *spanStart);
    uint32_t recid = 0, position = 0;
    // The first record of the code dated after spanStart ends the span.
    bool applies = false;
    if (RecFindByIndexKeep(Rate::Number, "CodeDate", probe.record, 2, 0, &recid, &position)) {
        GetText(probe.record, Rate::RateCode, code);
        const DateRec from = GetDate(probe.record, Rate::FromDate);
        applies = PStringEqual(code, rateCode) && DateCompare(&from, spanStart) <= 0;
        if (applies) {
            RecFreeMatrix(Rate::Number, rate);
            applies = RecReadById(Rate::Number, recid, rate);
        }
    }
    RecFreeMatrix(Rate::Number, probe.record);
    PutText(probe.record, Rate::RateCode, rateCode);
    DateRec after;
    DateAddDays(spanStart, 1, &after);
    PutDate(probe.record, Rate::FromDate, after);
    if (RecFindByIndex(Rate::Number, "CodeDate", probe.record, 2, 0, &recid, &position)) {
        GetText(probe.record, Rate::RateCode, code);
        const DateRec next = GetDate(probe.record, Rate::FromDate);
        if (PStringEqual(code, rateCode) && DateCompare(&next, spanStart) > 0) DateAddDays(&next, -1, spanEnd);
    }
    RecFreeMatrix(Rate::Number, probe.record);
    return applies;
}

void LatestFiscalYearStart(DateRec *out) {
    assert(out);
    *out = DateRec{};
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    for (int32_t i = 0; i < years.count; i++) {
        const DateRec start = GetDate(years.data + (size_t)i * FiscalYearEntry::Size, FiscalYearEntry::StartDate);
        if (DateIsEmpty(out) || DateCompare(&start, out) > 0) *out = start;
    }
}

// A voucher posting starts a new part of constant balance on its date;
// the part before it is closed first, at the balance without it. The
// other postings (preliminary entries, person entries, opening balances)
// change the balance of the part at hand from its first day on.
bool AccountInterestOverPostings(const uint8_t *account, const uint8_t *objects, const DateRec *spanStart,
                                 const DateRec *spanEnd, PackedDecimal *balance, const uint8_t *rate,
                                 PackedDecimal *interest) {
    assert(account && objects && spanStart && spanEnd && balance && rate && interest);
    ObjectSlots wanted;
    ParseObjectList(objects, &wanted);
    if (DecIsBlank(balance)) DecSetZero(balance);
    DateRec partStart = *spanStart;
    uint8_t entry[ATVc::Size] = {};
    PutText(entry, ATVc::Account, account);
    PutDate(entry, ATVc::Date, *spanStart);
    PString want, code;
    GetText(entry, ATVc::Account, want);
    RuleRecord vouchers(Voucher::Number), sm1(SMVc::Number), sp1(PersEntryVc::Number), fb1(OpenBalVc::Number);
    bool whole = true;
    uint32_t recid = 0, position = 0;
    if (vouchers.record && sm1.record && sp1.record && fb1.record &&
        RecFindByIndex(ATVc::Number, "AccDate", entry, 2, 0, &recid, &position)) {
        for (uint32_t p = position;; p++) {
            if (p != position && !RecReadAtIndex(ATVc::Number, "AccDate", (int32_t)p, entry, &recid)) break;
            GetText(entry, ATVc::Account, code);
            if (!PStringEqual(code, want)) break;
            const DateRec date = GetDate(entry, ATVc::Date);
            if (DateCompare(&date, spanEnd) > 0) break;
            const int reg = GetU16(entry, ATVc::SourceReg);
            if (reg == Voucher::Number && DateCompare(&date, &partStart) > 0) {
                DateRec partEnd;
                DateAddDays(&date, -1, &partEnd);
                ClosePart(partStart, partEnd, DateDiffDays(&date, &partStart), balance, rate, interest);
                partStart = date;
            }
            uint8_t *source = reg == Voucher::Number       ? vouchers.record
                              : reg == SMVc::Number        ? sm1.record
                              : reg == PersEntryVc::Number ? sp1.record
                              : reg == OpenBalVc::Number   ? fb1.record
                                                           : nullptr;
            bool added = true;
            if (source) {
                RecFreeMatrix(reg, source);
                // A source missing or dated otherwise adds nothing.
                if (RecReadById(reg, GetU32(entry, ATVc::SourceRecId), source) && DatedOn(reg, source, date))
                    added = AddPostingSourceRows(reg, source, want, objects, &wanted, balance);
                RecFreeMatrix(reg, source);
            }
            if (!added || ReportCancelled()) {
                whole = false;
                break;
            }
        }
    }
    ClosePart(partStart, *spanEnd, DateDiffDays(spanEnd, &partStart) + 1, balance, rate, interest);
    return whole;
}
