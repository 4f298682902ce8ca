// voucher_lock.cpp - the voucher lock ("Vouchers locked to", block 137):
// which records book the ledger, on which date, and whether that date
// lies in the lock.
//
// Vouchers (11), voucher drafts (9) and person entries (126) post their
// rows to the balances when they are stored, so none of them dated on or
// before the lock is stored by any road: their insert hooks refuse it
// (register_hooks_ledger.cpp), and the imports leave it out and count it
// here for their closing message. An import's register reader holds them
// to the lock as it stood when the import began, so that a backup brings
// back the locked periods it keeps. Opening balances (51) are not held by
// the lock.
#include <cassert>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

LockedVoucherTally LockedVouchers;

namespace {

// A register whose records book the ledger: where a record keeps its
// number and the date it is booked on.
struct LedgerRecordPlace {
    int reg;
    uint32_t serialAt, dateAt;
};
constexpr LedgerRecordPlace LedgerRecordPlaces[] = {
    {Voucher::Number, Voucher::SerNr, Voucher::TransDate},
    {SMVc::Number, SMVc::SerNr, SMVc::Date},
    {PersEntryVc::Number, PersEntryVc::SerNr, PersEntryVc::TransDate},
};

const LedgerRecordPlace *PlaceOf(int reg) {
    for (const LedgerRecordPlace &p : LedgerRecordPlaces)
        if (p.reg == reg) return &p;
    return nullptr;
}

}  // namespace

DateRec VoucherLockDate() {
    const uint8_t *locks = SettingsRecord(DateLockBlk::Number, DateLockBlockData);
    return locks ? GetDate(locks, DateLockBlk::LedgerLock) : DateRec{};
}

bool LedgerRecordDateLocked(int reg, const uint8_t *record) {
    const LedgerRecordPlace *place = PlaceOf(reg);
    if (!place) return false;
    DateRec date = GetDate(record, place->dateAt);
    return !DateIsEmpty(&date) && IsDateLocked(&date, Voucher::Number);
}

bool LedgerRecordDatedIn(int reg, const uint8_t *record, const DateRec &lock) {
    const LedgerRecordPlace *place = PlaceOf(reg);
    if (!place || DateIsEmpty(&lock)) return false;
    DateRec date = GetDate(record, place->dateAt);
    return !DateIsEmpty(&date) && DateCompare(&date, &lock) <= 0;
}

void CountLockedVoucher(int reg, const uint8_t *record) {
    const LedgerRecordPlace *place = PlaceOf(reg);
    assert(place);
    if (LockedVouchers.count++ == 0) LockedVouchers.first = GetU32(record, place->serialAt);
}

bool VoucherDateLocked(const uint8_t *voucher) { return LedgerRecordDateLocked(Voucher::Number, voucher); }

bool VoucherInLock(const uint8_t *voucher) {
    if (!VoucherDateLocked(voucher)) return false;
    CountLockedVoucher(Voucher::Number, voucher);
    return true;
}
