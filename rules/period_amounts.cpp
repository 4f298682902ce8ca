// period_amounts.cpp - month indexes and the period blocks of balance
// records in memory.
//
// A period block is a MemBlock: a u16 base month (a MonthIndex), then
// slots of one PackedDecimal each. With k kinds per month, slot
// (m - base) x k + j holds the running balance of kind j at the end of
// month m. A blank slot means "no change since the slot of that kind
// before it". Per kind, the slots from the first up to the last booked
// month are non-blank and the later ones blank (or all are blank);
// AddToPeriodAmount keeps that so. Only whole slots are read: a block
// read from a file whose size is not 2 + 12n loses its partial slot.
//
// Months count from January 1980 (0); the u16 reaches April 7441. Report
// reads saturate outside that range; bookings are refused there, so no
// two months ever share a slot.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "rules/ledger.h"

namespace {

constexpr uint32_t SlotSize = sizeof(PackedDecimal);
constexpr int32_t FirstYear = 1980;
constexpr int64_t LastMonth = MonthIndexLast;

// The month of date counted from January 1980, unbounded; the month word
// is taken within 1..12.
int64_t RawMonth(const DateRec *date) {
    int month = date->month < 1 ? 1 : date->month > 12 ? 12 : date->month;
    return ((int64_t)date->year - FirstYear) * 12 + month - 1;
}

// The whole slots of block; 0 when it holds only the base or less.
int64_t SlotCount(MemBlock block) {
    uint32_t size = block ? MemSize(block) : 0;
    return size < 2 ? 0 : (size - 2) / SlotSize;
}

PackedDecimal *SlotAt(uint8_t *data, int64_t i) { return (PackedDecimal *)(data + 2 + (size_t)i * SlotSize); }

// Resizes block to n whole slots; the new slots are blank.
bool ResizeSlots(MemBlock *block, int64_t n, int64_t old) {
    uint64_t bytes = 2 + (uint64_t)n * SlotSize;
    if (bytes > UINT32_MAX - 4) return false;
    if (!*block) {
        *block = MemAlloc((uint32_t)bytes);
        if (!*block) return false;
    } else if (!MemRealloc(block, (uint32_t)bytes)) {
        return false;
    }
    uint8_t *data = MemLock(*block);
    for (int64_t i = old; i < n; i++) DecSetBlank(SlotAt(data, i));
    MemUnlock(*block);
    return true;
}

}  // namespace

// The month of date from January 1980 for report reads: 0 for an empty
// date or one before 1980, MonthIndexLast for one after April 7441.
uint16_t MonthIndex(const DateRec *date) {
    if (DateIsEmpty(date)) return 0;
    int64_t m = RawMonth(date);
    return (uint16_t)(m < 0 ? 0 : m > LastMonth ? LastMonth : m);
}

// The month of a booking date into *month; false (and 0) for an empty
// date, a month word outside 1..12, or a date outside January 1980 ..
// April 7441.
bool MonthIndexChecked(const DateRec *date, uint16_t *month) {
    *month = 0;
    if (DateIsEmpty(date) || date->month < 1 || date->month > 12) return false;
    int64_t m = RawMonth(date);
    if (m < 0 || m > LastMonth) return false;
    *month = (uint16_t)m;
    return true;
}

// True when the balances can hold a booking on date.
bool DateAllowed(const DateRec *date) {
    uint16_t month;
    return MonthIndexChecked(date, &month);
}

// Adds amount to kind's balance at month in *block (kinds amounts per
// month) and to every later booked month of that kind, growing the block
// at the front or the end as needed. false when memory could not be had
// or the kind does not fit; the block is then as it was or merely grown.
bool AddToPeriodAmount(MemBlock *block, int kinds, int kind, uint16_t month, const PackedDecimal *amount) {
    if (kinds < 1 || kind < 0 || kind >= kinds) return false;
    if (*block && !MemIsValid(*block)) return false;
    int64_t n = SlotCount(*block), i = 0;
    if (n == 0) {
        if (!ResizeSlots(block, 0, 0)) return false;
        PutU16(MemLock(*block), 0, month);
        MemUnlock(*block);
        i = kind;
    } else {
        if (MemSize(*block) != 2 + n * SlotSize && !ResizeSlots(block, n, n)) return false;
        uint16_t base = GetU16(MemLock(*block), 0);
        MemUnlock(*block);
        if (month < base) {
            // Booking before the base: new slots at the front, zero for a
            // kind that already has a balance, blank for one that has none.
            int64_t add = (int64_t)(base - month) * kinds;
            std::vector<bool> blankFirst((size_t)kinds);
            uint8_t *data = MemLock(*block);
            for (int j = 0; j < kinds; j++) blankFirst[(size_t)j] = j >= n || DecIsBlank(SlotAt(data, j));
            MemUnlock(*block);
            if (!ResizeSlots(block, n + add, n + add)) return false;
            data = MemLock(*block);
            std::memmove(data + 2 + add * SlotSize, data + 2, (size_t)(n * SlotSize));
            for (int64_t s = 0; s < add; s++) {
                if (blankFirst[(size_t)(s % kinds)]) DecSetBlank(SlotAt(data, s));
                else DecSetZero(SlotAt(data, s));
            }
            PutU16(data, 0, month);
            MemUnlock(*block);
            n += add;
            i = kind;
        } else {
            i = (int64_t)(month - base) * kinds + kind;
        }
    }
    assert(i >= 0 && i <= (LastMonth + 1) * kinds);
    if (i >= n) {
        if (!ResizeSlots(block, i + 1, n)) return false;
        n = i + 1;
    }
    uint8_t *data = MemLock(*block);
    if (DecIsBlank(SlotAt(data, i))) {
        // Carry the last balance of the kind forward up to this month.
        int64_t from = i - kinds;
        while (from >= 0 && DecIsBlank(SlotAt(data, from))) from -= kinds;
        PackedDecimal carry;
        if (from >= 0) DecCopy(&carry, SlotAt(data, from));
        else DecSetZero(&carry);
        for (int64_t s = from < 0 ? kind : from + kinds; s <= i; s += kinds) DecCopy(SlotAt(data, s), &carry);
    }
    for (int64_t s = i; s < n && !DecIsBlank(SlotAt(data, s)); s += kinds)
        DecAdd(SlotAt(data, s), amount, SlotAt(data, s));
    MemUnlock(*block);
    return true;
}

// The balance of kind at the end of month: the nearest non-blank slot of
// the kind at or before month; zero before the first or with no block.
void PeriodBalanceAt(MemBlock block, int kinds, int kind, uint16_t month, PackedDecimal *result) {
    DecSetZero(result);
    if (!block || !MemIsValid(block) || kinds < 1 || kind < 0 || kind >= kinds) return;
    int64_t n = SlotCount(block);
    if (n == 0) return;
    uint8_t *data = MemLock(block);
    uint16_t base = GetU16(data, 0);
    int64_t i = ((int64_t)month - base) * kinds + kind;
    if (i >= n) i -= ((i - (n - 1) + kinds - 1) / kinds) * kinds;   // the kind's last slot
    for (; i >= 0; i -= kinds) {
        if (!DecIsBlank(SlotAt(data, i))) {
            DecCopy(result, SlotAt(data, i));
            break;
        }
    }
    MemUnlock(block);
}

// The balance of kind before month (at the end of the month before it).
void PeriodBalanceBefore(MemBlock block, int kinds, int kind, uint16_t month, PackedDecimal *result) {
    if (month == 0) {
        DecSetZero(result);
        return;
    }
    PeriodBalanceAt(block, kinds, kind, (uint16_t)(month - 1), result);
}

// The balance of kind at m2 less the balance before m1.
void PeriodBalanceChange(MemBlock block, int kinds, int kind, uint16_t m1, uint16_t m2, PackedDecimal *result) {
    PackedDecimal before;
    PeriodBalanceBefore(block, kinds, kind, m1, &before);
    PeriodBalanceAt(block, kinds, kind, m2, result);
    DecSub(result, &before, result);
}
