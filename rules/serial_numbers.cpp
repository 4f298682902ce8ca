// serial_numbers.cpp - serial numbers of new and imported records, the
// series range that holds a number, the number step of a document's
// checks, and the check of a record's date before it is saved.
//
// A numbered register keeps its 32-bit serial number in the first key part
// of its current index. Vouchers (register 11) number within their fiscal
// year: their index "Number" orders by year code, then serial number.
#include "rules/serial_numbers.h"

#include <cassert>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// The voucher index ordered by year code, then serial number.
constexpr const char *VoucherNumberIndex = "Number";

// The record offset of reg's serial number (the first key part of its
// current index, four bytes wide), or -1 when the register has none.
int32_t SerialOffset(int reg) {
    uint16_t length = 0;
    if (!RegCurrentIndexDef(reg)) return -1;
    uint32_t offset = RegIndexInfo(reg, nullptr, nullptr, &length);
    if (length != 4 || (uint64_t)offset + 4 > RegRecordSize(reg)) return -1;
    return (int32_t)offset;
}

// The answer for a found number n of the range low..high: the number after
// it, NoFreeNumber when n is the last of the range, low when n lies outside.
int32_t AfterFound(int32_t n, int32_t low, int32_t high) {
    if (n >= low && n < high) return n + 1;
    if (n == high) return NoFreeNumber;
    return low;
}

}  // namespace

// The next number of low..high that no record of reg has yet, NoFreeNumber
// when the range is used up: the record with the greatest number not above
// high decides. Vouchers look within the fiscal year of date; a date in no
// year (or none) has no free number.
int32_t NextFreeSerialNumber(int reg, int32_t low, int32_t high, const DateRec *date) {
    if (low > high) return NoFreeNumber;
    RuleRecord probe(reg);
    if (!probe.record) return NoFreeNumber;
    uint32_t recid = 0, position = 0;
    if (reg == TRVc::Number) {
        uint16_t code = date ? YearCodeOfDate(date) : YearCodeNone;
        if (code <= YearCodeNone) return NoFreeNumber;
        PutU16(probe.record, TRVc::YearCode, code);
        PutI32(probe.record, TRVc::SerNr, high);
        if (!RecFindByIndexKeep(reg, VoucherNumberIndex, probe.record, 0, 0, &recid, &position)) return low;
        if (GetU16(probe.record, TRVc::YearCode) != code) return low;
        return AfterFound(GetI32(probe.record, TRVc::SerNr), low, high);
    }
    int32_t at = SerialOffset(reg);
    if (at < 0) return NoFreeNumber;
    PutI32(probe.record, (size_t)at, high);
    if (!RecFindKeep(reg, probe.record, 1, 0, &recid, &position)) return low;
    return AfterFound(GetI32(probe.record, (size_t)at), low, high);
}

// Gives a record on insert (flag 1) that has no number the next free one,
// when its register has a numbering index. The dictionary marks no index
// as numbering (its index words carry no such mark), so no record is
// numbered here: registers with a number series take theirs from
// NextSerialNumber in their own checks, which keeps the series' ranges.
void AssignMissingSerialNumbers(int reg, uint8_t *record, int32_t /*unused*/, int flag) {
    (void)reg;
    (void)record;
    (void)flag;
}

// The range of reg's series block holding number into *first and *last;
// the last holding row in block order wins; both unchanged when none does.
void FindNumberRange(int reg, int32_t number, int32_t *first, int32_t *last) {
    assert(first && last);
    int block = SeriesBlockOfRegister(reg);
    if (block == 0) return;
    MemBlock handle = 0;
    if (!SettingsBlockFetch(&handle, block) || !handle) {
        MemFree(&handle);
        return;
    }
    uint8_t *rows = nullptr;
    int32_t count = 0;
    MemArrayLock(handle, SeriesRow::Size, &rows, &count);
    for (int32_t i = 0; rows && i < count; i++) {
        const uint8_t *row = rows + (size_t)i * SeriesRow::Size;
        int32_t a = GetI32(row, SeriesRow::FirstNr), b = GetI32(row, SeriesRow::LastNr);
        if (a <= number && number <= b) {
            *first = a;
            *last = b;
        }
    }
    if (rows) MemUnlock(handle);
    MemFree(&handle);
}

// 1 when the record may be saved; 0 after FieldError on field, the offset
// of the record's date: text 1206 when that date is empty (or the field
// lies outside the record), 1046 when it is locked for the sub-ledgers'
// registers 5, 10, 28 and 30.
int CheckBeforeSave(int reg, uint8_t *record, uint16_t field) {
    assert(record);
    if ((uint64_t)field + sizeof(DateRec) > RegRecordSize(reg)) {
        FieldError(Texts::DocDateMissing, nullptr, field);
        return 0;
    }
    DateRec date = GetDate(record, field);
    if (DateIsEmpty(&date)) {
        FieldError(Texts::DocDateMissing, nullptr, field);
        return 0;
    }
    switch (reg) {
    case IVVc::Number:
    case IPVc::Number:
    case VIVc::Number:
    case OPVc::Number:
        if (IsDateLocked(&date, reg)) {
            FieldError(Texts::DateLocked, nullptr, field);
            return 0;
        }
        break;
    default: break;
    }
    return 1;
}

int CheckDocumentNumber(int reg, uint8_t *record, const uint8_t *old, int mode, uint32_t serialAt,
                        const DateRec &date, int32_t hint) {
    assert(record);
    if (NeedsNumber(GetU32(record, serialAt))) {
        int32_t n = NextSerialNumber(reg, &date, hint, 0);
        PutU32(record, serialAt, n == NoFreeNumber ? SerialNone : (uint32_t)n);
    }
    uint32_t serial = GetU32(record, serialAt);
    if (mode != 1 && old && GetU32(old, serialAt) == serial) return 0;
    if (!NeedsNumber(serial) && RecExists(reg, record))
        return FieldError(Texts::SerialNumberExists, nullptr, (uint16_t)serialAt);
    if (NeedsNumber(serial) || !SerialNumberValid(reg, (int32_t)serial, &date))
        return FieldError(Texts::NumberOutsideSeries, nullptr, (uint16_t)serialAt);
    return 0;
}
