// date_locks.cpp - the lock dates of block 137 that close periods to entries
// and deletions.
#include "rules/series_terms.h"

// Tells whether a date is locked for a register; an unread lock counts as
// locked.
bool IsDateLocked(const DateRec *d, int reg) {
    return true;
}

// Tells whether a date is locked by a register's second lock; an unread lock
// counts as locked.
bool IsDateLockedSecondary(const DateRec *d, int reg) {
    return true;
}

// Tells whether a date lies after the delete lock.
bool DateAfterLock137(const DateRec *d) {
    return false;
}
