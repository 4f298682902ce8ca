// date_locks.cpp - the lock dates of block 137 that close periods to
// entries and deletions.
//
// The ledger's registers (9, 11, 126, and 51 for its first lock) are
// locked by the dates at LedgerLock and LedgerLock2, the sub-ledgers'
// (5, 10, 28, 30) by SubLedgerLock and SubLedgerLock2. A date is locked
// when the lock date is set and the date is on or before it. While the
// block cannot be read, the registers that have a lock count as locked.
#include "core/field_access.h"
#include "core/ui_text.h"
#include "rules/series_terms.h"

namespace {

constexpr uint32_t NoLock = 0xFFFFFFFFu;

// The offset in block 137 of reg's first (second: secondary) lock date, or
// NoLock when reg has none.
uint32_t LockOffset(int reg, bool secondary) {
    switch (reg) {
    case SMVc::Number:
    case TRVc::Number:
    case PersEntryVc::Number: return secondary ? DateLockBlock::LedgerLock2 : DateLockBlock::LedgerLock;
    case OpenBalVc::Number: return secondary ? NoLock : DateLockBlock::LedgerLock;
    case IVVc::Number:
    case IPVc::Number:
    case VIVc::Number:
    case OPVc::Number: return secondary ? DateLockBlock::SubLedgerLock2 : DateLockBlock::SubLedgerLock;
    default: return NoLock;
    }
}

// True when d is on or before the lock date at offset of block 137.
bool LockedAt(const DateRec *d, uint32_t offset) {
    if (offset == NoLock) return false;
    const uint8_t *locks = SettingsRecord(DateLockBlk::Number, DateLockBlockData);
    if (!locks) return true;
    DateRec lock = GetDate(locks, offset);
    return !DateIsEmpty(&lock) && DateCompare(d, &lock) <= 0;
}

}  // namespace

// True when reg's lock date is set and d is on or before it.
bool IsDateLocked(const DateRec *d, int reg) { return LockedAt(d, LockOffset(reg, false)); }

// True when reg's second lock date is set and d is on or before it.
bool IsDateLockedSecondary(const DateRec *d, int reg) { return LockedAt(d, LockOffset(reg, true)); }

// True when the company's date-lock switch is on, the delete lock is set
// and d lies after it. Unread settings give false (nothing may go).
bool DateAfterLock137(const DateRec *d) {
    const uint8_t *company = SettingsRecord(CompanyBlk::Number, CompanyBlock);
    const uint8_t *locks = SettingsRecord(DateLockBlk::Number, DateLockBlockData);
    if (!company || !locks || GetU16(company, CompanyBlk::DateLockOn) == 0) return false;
    DateRec lock = GetDate(locks, DateLockBlock::DeleteLock);
    return !DateIsEmpty(&lock) && DateCompare(d, &lock) > 0;
}

// Tells DateLocked and gives true when the record's date at dateAt lies
// in reg's lock, or in the voucher lock (the posting books its voucher on
// that date), as the window's save refuses it; false otherwise.
bool PostingDateLocked(int reg, const uint8_t *record, uint32_t dateAt) {
    DateRec date = GetDate(record, dateAt);
    if (!IsDateLocked(&date, reg) && !IsDateLocked(&date, TRVc::Number)) return false;
    ShowTextMessage(Texts::DateLocked);
    return true;
}
