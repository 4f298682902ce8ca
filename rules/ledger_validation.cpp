// ledger_validation.cpp - the checks of the ledger's own records before
// they are stored: vouchers (register 11), sm1 (9), sp1 (126) and fb1 (51).
//
// Each check numbers a record that asks for a number, then stops at the
// first fault it finds and reports it through FieldError / FieldErrorAt
// with the field, or the row and column, to focus. A refused record gets
// back the serial number it came with, so a number drawn for it is not
// kept by a record that was never stored.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

// Largest row checked here (the voucher's).
constexpr uint32_t LedgerRowBufferSize = TransRow::Size;
static_assert(AccountRow::Size <= LedgerRowBufferSize && Sp1Row::Size <= LedgerRowBufferSize &&
              Fb1Row::Size <= LedgerRowBufferSize);

// Where a register's account rows keep their fields.
struct AccountRowPlace {
    int reg;
    uint32_t matrix;    // record offset of the rows handle
    uint32_t account;   // row offsets
    uint32_t objects;   // 0xFFFFFFFF: the row has no object list
    uint32_t amount;
};
constexpr uint32_t NoField = 0xFFFFFFFFu;

// Checks the account of row `row` of a ledger record: it exists, is not
// blocked and, unless the row was stored before (storedRows rows were),
// is not kept by a sub-ledger. Then the object list (objects, the row's
// own or the record's) must suit the account; CheckObjectList shows its
// own text, so the error names only the place (focusField, or the row's
// object column). 0, or FieldErrorAt's -1.
int CheckRowAccount(const AccountRowPlace &p, const uint8_t *account, const uint8_t *objects, int32_t row,
                    int32_t storedRows, uint16_t focusField) {
    if (!AccountExists(account)) return FieldErrorAt(Texts::AccountMissing, nullptr, p.matrix, row, p.account);
    if (AccountBlocked(account)) return FieldErrorAt(Texts::Blocked, account, p.matrix, row, p.account);
    if (row >= storedRows && IsSubLedgerAccount(account))
        return FieldErrorAt(Texts::SubLedgerAccount, nullptr, p.matrix, row, p.account);
    if (!CheckObjectList(account, objects)) {
        if (p.objects == NoField) return FieldError(0, nullptr, focusField);
        return FieldErrorAt(0, nullptr, p.matrix, row, p.objects);
    }
    return 0;
}

// The rows of a stored record that count as stored: none for a new record
// (mode 1, where stored is the record itself).
int32_t StoredRowCount(int reg, const uint8_t *stored, int mode) {
    if (mode != 2 || !stored) return 0;
    return MatrixRowCount(reg, 0, stored);
}

// Numbers a record that asks for a number: NextSerialNumber of reg on date
// with hint. An exhausted series leaves the record unnumbered (SerialNone).
void DrawNumber(int reg, uint8_t *record, uint32_t serialAt, const DateRec *date, int32_t hint) {
    if (!NeedsNumber(GetU32(record, serialAt))) return;
    int32_t number = NextSerialNumber(reg, date, hint, 0);
    PutU32(record, serialAt, number == NoFreeNumber ? SerialNone : (uint32_t)number);
}

// The series test shared by vouchers, sm1 and sp1: unless an update keeps
// both the stored number and the stored date, the number must lie in a
// series row valid on the date. 0, or FieldError's -1 on the serial.
int CheckSeries(int reg, const uint8_t *record, const uint8_t *stored, int mode, uint32_t serialAt,
                uint32_t dateAt) {
    uint32_t serial = GetU32(record, serialAt);
    DateRec date = GetDate(record, dateAt);
    if (mode == 2 && stored) {
        DateRec was = GetDate(stored, dateAt);
        if (GetU32(stored, serialAt) == serial && DateCompare(&was, &date) == 0) return 0;
    }
    if (NeedsNumber(serial) || !SerialNumberValid(reg, (int32_t)serial, &date))
        return FieldError(Texts::NumberOutsideSeries, nullptr, (uint16_t)serialAt);
    return 0;
}

// The date tests of the ledger records: a date at all, one the balances
// can hold, and not in the voucher lock. 0, or FieldError's -1 on dateAt.
int CheckLedgerDate(const DateRec *date, uint32_t dateAt, bool lockTest) {
    if (DateIsEmpty(date)) return FieldError(Texts::DateMissing, nullptr, (uint16_t)dateAt);
    if (!DateAllowed(date)) return FieldError(Texts::BalanceDateOutOfRange, nullptr, (uint16_t)dateAt);
    if (lockTest && IsDateLocked(date, Voucher::Number))
        return FieldError(Texts::DateLocked, nullptr, (uint16_t)dateAt);
    return 0;
}

// The checks of a voucher in their order; the caller restores the serial.
int VoucherChecks(uint8_t *record, const uint8_t *stored, int mode) {
    DateRec date = GetDate(record, Voucher::TransDate);
    DrawNumber(Voucher::Number, record, Voucher::SerNr, &date, SeriesHint(SuVoucherHint, SeriesDefaultsBlk::LastVoucherNr));
    // A voucher is numbered within the fiscal year of its date: when no
    // number could be drawn for want of a date or of a year holding it,
    // that is what the user is told, not a fault of the number series.
    if (NeedsNumber(GetU32(record, Voucher::SerNr)) && GetU16(record, Voucher::YearCode) < YearCodeFixedFirst) {
        if (DateIsEmpty(&date)) return FieldError(Texts::DateMissing, nullptr, Voucher::TransDate);
        if (YearCodeOfDate(&date) <= YearCodeNone) return FieldError(Texts::NoFiscalYear, nullptr, Voucher::TransDate);
    }
    if (int r = CheckSeries(Voucher::Number, record, stored, mode, Voucher::SerNr, Voucher::TransDate)) return r;
    if (DateIsEmpty(&date)) return FieldError(Texts::DateMissing, nullptr, Voucher::TransDate);
    uint16_t year = GetU16(record, Voucher::YearCode);
    if (year < YearCodeFixedFirst) {
        year = YearCodeOfDate(&date);
        PutU16(record, Voucher::YearCode, year);
        if (year <= YearCodeNone) return FieldError(Texts::NoFiscalYear, nullptr, Voucher::TransDate);
    }
    if (int r = CheckLedgerDate(&date, Voucher::TransDate, true)) return r;

    int32_t count = MatrixRowCount(Voucher::Number, 0, record);
    if (count <= 0) return FieldErrorAt(Texts::VoucherNoRows, nullptr, Voucher::Matrix, 0, TransRow::Account);
    const AccountRowPlace place{Voucher::Number, Voucher::Matrix, TransRow::Account, TransRow::Objects,
                                TransRow::Amount};
    int32_t storedRows = StoredRowCount(Voucher::Number, stored, mode);
    PackedDecimal sum;
    DecSetZero(&sum);
    uint8_t row[LedgerRowBufferSize];
    uint8_t account[256], objects[256], code[256];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, record, i, row))
            return FieldErrorAt(Texts::VoucherNoRows, nullptr, Voucher::Matrix, (uint16_t)i, TransRow::Account);
        uint16_t kind = GetU16(row, TransRow::Kind);
        if (kind == RowAccount) {
            if (GetU16(row, TransRow::Flag) != 0) continue;
            GetText(row, TransRow::Account, account);
            PackedDecimal amount = GetDec(row, TransRow::Amount);
            if (account[0] == 0) {
                if (!DecIsZero(&amount))
                    return FieldErrorAt(Texts::RowAmountNoAccount, nullptr, Voucher::Matrix, (uint16_t)i,
                                        TransRow::Account);
                continue;
            }
            GetText(row, TransRow::Objects, objects);
            if (int r = CheckRowAccount(place, account, objects, i, storedRows, 0)) return r;
            if (DecIsBlank(&amount))
                return FieldErrorAt(Texts::RowAmountMissing, nullptr, Voucher::Matrix, (uint16_t)i, TransRow::Amount);
            GetText(row, TransRow::VatCode, code);
            if (code[0] != 0 && !IsVatCode(code))
                return FieldErrorAt(Texts::CodeUnknown, nullptr, Voucher::Matrix, (uint16_t)i, TransRow::VatCode);
            DecAdd(&sum, &amount, &sum);
        } else if (kind == RowDated) {
            GetText(row, TransRow::Code, code);
            if (code[0] == 0)
                return FieldErrorAt(Texts::RowCodeMissing, nullptr, Voucher::Matrix, (uint16_t)i, TransRow::Code);
        } else if (kind == RowReference) {
            if (GetU16(row, TransRow::LinkYearCode) == 0) {
                PutU16(row, TransRow::LinkYearCode, GetU16(record, Voucher::YearCode));
                if (!MatrixRowPut(Voucher::Number, 0, record, i, row))
                    return FieldErrorAt(Texts::RecordNotStored, nullptr, Voucher::Matrix, (uint16_t)i,
                                        TransRow::LinkSerNr);
            }
            RuleRecord ref(Voucher::Number);
            if (!ref.record)
                return FieldErrorAt(Texts::RecordNotStored, nullptr, Voucher::Matrix, (uint16_t)i, TransRow::LinkSerNr);
            PutU32(ref.record, Voucher::SerNr, GetU32(row, TransRow::LinkSerNr));
            PutU16(ref.record, Voucher::YearCode, GetU16(row, TransRow::LinkYearCode));
            if (!RecExists(Voucher::Number, ref.record))
                return FieldErrorAt(Texts::RefVoucherMissing, nullptr, Voucher::Matrix, (uint16_t)i,
                                    TransRow::LinkSerNr);
        }
    }
    if (!DecIsZero(&sum))
        return FieldErrorAt(Texts::VoucherUnbalanced, nullptr, Voucher::Matrix, (uint16_t)(count - 1),
                            TransRow::Amount);
    return 0;
}

// The checks of an sm1 or sp1 record in their order (dateAt: the date of
// its number and postings); the caller restores the serial.
int AccountRecordChecks(const AccountRowPlace &place, uint32_t dateAt, uint8_t *record, const uint8_t *stored,
                        int mode) {
    const uint32_t serialAt = 0;
    static_assert(SMVc::SerNr == 0 && PersEntryVc::SerNr == 0);
    DateRec date = GetDate(record, dateAt);
    DrawNumber(place.reg, record, serialAt, &date, 0);
    if (int r = CheckSeries(place.reg, record, stored, mode, serialAt, dateAt)) return r;
    if (int r = CheckLedgerDate(&date, dateAt, true)) return r;

    int32_t count = MatrixRowCount(place.reg, 0, record);
    if (count <= 0) return FieldErrorAt(Texts::VoucherNoRows, nullptr, place.matrix, 0, place.account);
    int32_t storedRows = StoredRowCount(place.reg, stored, mode);
    PackedDecimal sum;
    DecSetZero(&sum);
    uint8_t row[LedgerRowBufferSize];
    uint8_t account[256], objects[256];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(place.reg, record, i, row))
            return FieldErrorAt(Texts::VoucherNoRows, nullptr, place.matrix, (uint16_t)i, place.account);
        GetPString(row, place.account, 10, account);
        PackedDecimal amount = GetDec(row, place.amount);
        if (account[0] == 0) {
            if (!DecIsZero(&amount))
                return FieldErrorAt(Texts::RowAmountNoAccount, nullptr, place.matrix, (uint16_t)i, place.account);
            continue;
        }
        GetPString(row, place.objects, 30, objects);
        if (int r = CheckRowAccount(place, account, objects, i, storedRows, 0)) return r;
        if (DecIsBlank(&amount))
            return FieldErrorAt(Texts::RowAmountMissing, nullptr, place.matrix, (uint16_t)i, place.amount);
        DecAdd(&sum, &amount, &sum);
    }
    if (!DecIsZero(&sum))
        return FieldErrorAt(Texts::VoucherUnbalanced, nullptr, place.matrix, (uint16_t)(count - 1), place.amount);
    return 0;
}

// The checks of an fb1 record in their order; the caller restores the serial.
int Fb1Checks(uint8_t *record, const uint8_t *stored, int mode) {
    DateRec date = GetDate(record, OpenBalVc::TransDate);
    DrawNumber(OpenBalVc::Number, record, OpenBalVc::SerNr, &date, 0);
    if (int r = CheckLedgerDate(&date, OpenBalVc::TransDate, false)) return r;

    int32_t count = MatrixRowCount(OpenBalVc::Number, 0, record);
    if (count <= 0) return FieldErrorAt(Texts::VoucherNoRows, nullptr, OpenBalVc::Matrix, 0, Fb1Row::Account);
    const AccountRowPlace place{OpenBalVc::Number, OpenBalVc::Matrix, Fb1Row::Account, NoField, Fb1Row::Amount};
    int32_t storedRows = StoredRowCount(OpenBalVc::Number, stored, mode);
    uint8_t objects[256];
    GetText(record, OpenBalVc::Objects, objects);
    uint8_t row[LedgerRowBufferSize];
    uint8_t account[256];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OpenBalVc::Number, record, i, row))
            return FieldErrorAt(Texts::VoucherNoRows, nullptr, OpenBalVc::Matrix, (uint16_t)i, Fb1Row::Account);
        GetText(row, Fb1Row::Account, account);
        PackedDecimal amount = GetDec(row, Fb1Row::Amount);
        if (account[0] == 0) {
            if (!DecIsZero(&amount))
                return FieldErrorAt(Texts::RowAmountNoAccount, nullptr, OpenBalVc::Matrix, (uint16_t)i,
                                    Fb1Row::Account);
            continue;
        }
        if (int r = CheckRowAccount(place, account, objects, i, storedRows, OpenBalVc::Objects)) return r;
        if (DecIsBlank(&amount))
            return FieldErrorAt(Texts::RowAmountMissing, nullptr, OpenBalVc::Matrix, (uint16_t)i, Fb1Row::Amount);
    }
    return 0;
}

// Runs checks on record and gives its result; a refused record gets back
// the serial number at serialAt it came with.
template <typename Checks>
int WithSerialRestored(uint8_t *record, uint32_t serialAt, Checks checks) {
    uint32_t entry = GetU32(record, serialAt);
    int r = checks();
    if (r != 0) PutU32(record, serialAt, entry);
    return r;
}

}  // namespace

// Checks a voucher before it is stored (mode 1 insert, 2 update): number,
// series, date, fiscal year, lock, then each row and the balance. 0, or
// -1 with the position in FieldErrorPos.
int ValidateVoucher(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    return WithSerialRestored(record, Voucher::SerNr, [&] { return VoucherChecks(record, stored, mode); });
}

// Checks an sm1 record before it is stored.
int ValidateSm1(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    const AccountRowPlace place{SMVc::Number, SMVc::Matrix, AccountRow::Account, AccountRow::Objects,
                                AccountRow::Amount};
    return WithSerialRestored(record, SMVc::SerNr,
                              [&] { return AccountRecordChecks(place, SMVc::Date, record, stored, mode); });
}

// Checks an sp1 record before it is stored.
int ValidateSp1(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    const AccountRowPlace place{PersEntryVc::Number, PersEntryVc::Matrix, Sp1Row::Account, Sp1Row::Objects,
                                Sp1Row::Amount};
    return WithSerialRestored(record, PersEntryVc::SerNr,
                              [&] { return AccountRecordChecks(place, PersEntryVc::TransDate, record, stored, mode); });
}

// Checks an fb1 record before it is stored.
int ValidateFb1(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    return WithSerialRestored(record, OpenBalVc::SerNr, [&] { return Fb1Checks(record, stored, mode); });
}
