// balances.cpp - account and value balances at, before and between dates
// for the ledger reports.
//
// A balance record (register 17) keeps running balances per month; a date
// that is not a month's last day takes the month before it from the
// record and the days of its own month from the postings themselves.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

// Balance records keep two amounts a month (kind 0 and kind 1), value
// balances three.
constexpr int AccountKinds = 2, ValueKinds = 3;

// The first day of date's month.
DateRec MonthStart(const DateRec *date) { return DateRec{1, date->month, date->year}; }

// The month whose closing balance the record gives for date, and whether
// the days from the 1st of date's month up to date must be added: true
// when the day after date is not a 1st.
uint16_t ClosedMonth(const DateRec *date, bool *partial) {
    DateRec next;
    DateAddDays(date, 1, &next);
    uint16_t m = MonthIndex(date);
    *partial = next.day != 1;
    if (*partial && m > 0) m--;
    return m;
}

// The balance of account and objects at the end of date from the period
// block (0: the record is looked up for the call).
void BalanceAt(const uint8_t *account, const uint8_t *objects, const DateRec *date, MemBlock block, int secondKind,
               PackedDecimal *out) {
    DecSetZero(out);
    if (DateIsEmpty(date)) return;
    RuleRecord found(BalanceRecord::Number);
    if (block == 0) {
        if (!found.record || !BalanceRecordFind(account, objects, found.record)) return;
        block = GetU32(found.record, BalanceRecord::Periods);
    }
    bool partial = false;
    const uint16_t m = ClosedMonth(date, &partial);
    PackedDecimal part;
    // A date in the first month the balances can hold has no month before it.
    if (!(partial && MonthIndex(date) == 0)) {
        PeriodBalanceAt(block, AccountKinds, KindLedger, m, &part);
        DecAdd(out, &part, out);
        if (secondKind) {
            PeriodBalanceAt(block, AccountKinds, KindSubLedger, m, &part);
            DecAdd(out, &part, out);
        }
    }
    if (partial) {
        const DateRec first = MonthStart(date);
        AccountObjectsBalanceKinds(account, objects, &first, date, secondKind != 0, &part);
        DecAdd(out, &part, out);
    }
}

}  // namespace

// The balance at the end of date: the last whole month from the period
// block (kind 1 too with secondKind), the month's days before it from the
// postings. An empty date gives zero.
void AccountBalanceAt(const uint8_t *account, const uint8_t *objects, const DateRec *date, MemBlock block,
                      int secondKind, PackedDecimal *out) {
    assert(account && objects && date && out);
    BalanceAt(account, objects, date, block, secondKind, out);
}

// The balance at the end of the day before date; zero for an empty date.
void AccountBalanceBefore(const uint8_t *account, const uint8_t *objects, const DateRec *date, MemBlock block,
                          int secondKind, PackedDecimal *out) {
    assert(account && objects && date && out);
    DecSetZero(out);
    if (DateIsEmpty(date)) return;
    DateRec before;
    DateAddDays(date, -1, &before);
    BalanceAt(account, objects, &before, block, secondKind, out);
}

// The balance at to less the balance before from.
void AccountBalanceChange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                          MemBlock block, int secondKind, PackedDecimal *out) {
    assert(account && objects && from && to && out);
    PackedDecimal opening;
    AccountBalanceAt(account, objects, to, block, secondKind, out);
    AccountBalanceBefore(account, objects, from, block, secondKind, &opening);
    DecSub(out, &opening, out);
}

// The balance before date (the opening of a period that starts there),
// the balance record found when block is 0; blank and false when there is
// none.
bool AccountOpeningBalance(const uint8_t *account, const uint8_t *objects, const DateRec *date, MemBlock block,
                           int secondKind, PackedDecimal *out) {
    assert(account && objects && date && out);
    DecSetBlank(out);
    RuleRecord found(BalanceRecord::Number);
    if (block == 0) {
        if (!found.record || !BalanceRecordFind(account, objects, found.record)) return false;
        block = GetU32(found.record, BalanceRecord::Periods);
    }
    AccountBalanceBefore(account, objects, date, block, secondKind, out);
    return true;
}

// Reads the balance record of (account, objects) by "AccKey" into record
// (a whole register-17 buffer, its period block with it); false when
// there is none.
bool BalanceRecordFind(const uint8_t *account, const uint8_t *objects, uint8_t *record) {
    assert(account && objects && record);
    RecClear(BalanceRecord::Number, record);
    PutText(record, BalanceRecord::Account, account);
    PutText(record, BalanceRecord::Objects, objects);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(BalanceRecord::Number, "AccKey", record, 2, 1, &recid, &position);
}

// The value balance of item in column at the end of date: the last whole
// month from block (three amounts a month), the days of date's month from
// the sales history (record: the customer code, empty for all; column the
// history's mode). Only kinds 12 and 112 keep value balances; zero else.
void ValueBalanceAt(const uint8_t *item, const uint8_t *record, int kind, int column, const DateRec *date,
                    MemBlock block, PackedDecimal *out) {
    assert(item && record && date && out);
    assert(column >= 0 && column < ValueKinds);
    DecSetZero(out);
    if ((kind != 12 && kind != 112) || DateIsEmpty(date) || column < 0 || column >= ValueKinds) return;
    bool partial = false;
    const uint16_t m = ClosedMonth(date, &partial);
    PackedDecimal part;
    if (!(partial && MonthIndex(date) == 0)) {
        PeriodBalanceAt(block, ValueKinds, column, m, &part);
        DecAdd(out, &part, out);
    }
    if (partial) {
        const DateRec first = MonthStart(date);
        StockValueAtDate(item, record, column, &first, date, &part);
        DecAdd(out, &part, out);
    }
}

// The value balance at the end of the day before date.
void ValueBalanceBefore(const uint8_t *item, const uint8_t *record, int kind, int column, const DateRec *date,
                        MemBlock block, PackedDecimal *out) {
    assert(date && out);
    DecSetZero(out);
    if (DateIsEmpty(date)) return;
    DateRec before;
    DateAddDays(date, -1, &before);
    ValueBalanceAt(item, record, kind, column, &before, block, out);
}

// The value balance at to less the one before from.
void ValueBalanceChange(const uint8_t *item, const uint8_t *record, int kind, int column, const DateRec *from,
                        const DateRec *to, MemBlock block, PackedDecimal *out) {
    PackedDecimal opening;
    ValueBalanceAt(item, record, kind, column, to, block, out);
    ValueBalanceBefore(item, record, kind, column, from, block, &opening);
    DecSub(out, &opening, out);
}

// Opening (before DateFrom), closing (at DateTo) and their difference over
// the job record's period, kind 1 by its SecondKind; zeros when the
// account has no balance record for the objects.
void AccountPeriodAmounts(const uint8_t *account, const uint8_t *objects, PackedDecimal *opening,
                          PackedDecimal *movement, PackedDecimal *closing) {
    const uint8_t *selection = CurrentJobRecord();
    assert(account && objects && opening && movement && closing && selection);
    DecSetZero(opening);
    DecSetZero(movement);
    DecSetZero(closing);
    RuleRecord found(BalanceRecord::Number);
    if (!found.record || !BalanceRecordFind(account, objects, found.record)) return;
    const MemBlock block = GetU32(found.record, BalanceRecord::Periods);
    const DateRec from = GetDate(selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(selection, ReportParamsVc::DateTo);
    const int second = GetU16(selection, ReportParamsVc::SecondKind) != 0;
    AccountBalanceBefore(account, objects, &from, block, second, opening);
    AccountBalanceAt(account, objects, &to, block, second, closing);
    DecSub(closing, opening, movement);
}
