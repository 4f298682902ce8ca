// voucher_lock.cpp - the voucher lock ("Vouchers locked to", block 137):
// which records book the ledger, on which date, and whether that date
// lies in the lock.
//
// Vouchers (11), voucher drafts (9) and person entries (126) post their
// rows to the balances when they are stored, so none of them dated on or
// before the lock is stored by any road: their insert hooks refuse it
// (register_hooks_ledger.cpp), and the imports leave it out and count it
// here for their closing message. Opening balances (51) are not held by
// the lock.
#include "core/field_access.h"
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

bool LedgerRecordDateLocked(int reg, const uint8_t *record) {
    const LedgerRecordPlace *place = PlaceOf(reg);
    if (!place) return false;
    DateRec date = GetDate(record, place->dateAt);
    return !DateIsEmpty(&date) && IsDateLocked(&date, Voucher::Number);
}

bool LedgerRecordInLock(int reg, const uint8_t *record) {
    if (!LedgerRecordDateLocked(reg, record)) return false;
    if (LockedVouchers.count++ == 0) LockedVouchers.first = GetU32(record, PlaceOf(reg)->serialAt);
    return true;
}

bool VoucherDateLocked(const uint8_t *voucher) { return LedgerRecordDateLocked(Voucher::Number, voucher); }

bool VoucherInLock(const uint8_t *voucher) { return LedgerRecordInLock(Voucher::Number, voucher); }
