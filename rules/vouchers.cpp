// vouchers.cpp - heading, balancing and storing vouchers, whether block
// 199 has a document posted, and the import's repairs of vouchers.
//
// A voucher is built in a buffer (usually PendingVoucher), numbered by its
// caller, balanced here with a row on account "9999" when its rows do not
// sum to zero, and stored once through the insert hooks, which post it to
// the balances and to register 18. Storing says whether it stored: a
// voucher in no fiscal year, on a date the balances cannot hold, with a
// key that exists, or dated in the voucher lock (refused by the insert
// hook, register_hooks_ledger.cpp) is not stored, and the caller refuses
// its save or fails its hold instead of marking a document posted without
// its voucher. A road that builds a voucher asks VoucherWouldStore first,
// so that its user meets the window's refusal and nothing half-done
// (voucher_lock.cpp holds the lock's test).
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/accounts.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

bool VoucherOutsideYearsFlag = false;
bool AccountsCreatedFlag = false;
bool BalanceDateOutsideFlag = false;

namespace {

// The fiscal-year code the voucher is stored under: its own when it is a
// fixed code (201 and above), else the code of its transaction date.
uint16_t StoredYearCode(const uint8_t *voucher) {
    uint16_t code = GetU16(voucher, Voucher::YearCode);
    if (code >= YearCodeFixedFirst) return code;
    DateRec date = GetDate(voucher, Voucher::TransDate);
    return YearCodeOfDate(&date);
}

// True when a voucher with the serial and year code is stored.
bool VoucherKeyExists(const uint8_t *voucher, uint16_t yearCode) {
    uint8_t key[Voucher::Size] = {};
    PutU32(key, Voucher::SerNr, GetU32(voucher, Voucher::SerNr));
    PutU16(key, Voucher::YearCode, yearCode);
    return RecExists(Voucher::Number, key);
}

// True when the voucher's transaction date is set and the balances cannot
// hold it.
bool DateOutsideBalances(const uint8_t *voucher) {
    DateRec date = GetDate(voucher, Voucher::TransDate);
    return !DateIsEmpty(&date) && !DateAllowed(&date);
}

}  // namespace

// Sets the voucher's year code from its transaction date (unless it is a
// fixed code), makes its totals, adds a "9999" row of the negated balance
// when it is not zero, and clears its register-18 and posted flags.
void BalanceVoucher(uint8_t *voucher) {
    PutU16(voucher, Voucher::YearCode, StoredYearCode(voucher));
    VoucherRowsBalance(voucher);
    PackedDecimal balance = GetDec(voucher, Voucher::Balance);
    if (!DecIsZero(&balance)) {
        PString account;
        PStringFromC(account, "9999");
        AddVoucherRow(voucher, account, EmptyPString, EmptyPString, EmptyPString, &balance, 0, false, &balance);
        VoucherRowsBalance(voucher);
    }
    PutU16(voucher, Voucher::Reg18Done, 0);
    PutU16(voucher, Voucher::Posted, 0);
}

// 0 when StoreVoucher would store the voucher as it stands, else the text
// of the refusal: BalanceDateOutOfRange, DateLocked, NoFiscalYear or
// RecordKeyExists. The voucher is not changed.
int VoucherWouldStore(uint8_t *voucher) {
    if (DateOutsideBalances(voucher)) return Texts::BalanceDateOutOfRange;
    if (VoucherDateLocked(voucher)) return Texts::DateLocked;
    uint16_t yearCode = StoredYearCode(voucher);
    if (yearCode < YearCodeMin) return Texts::NoFiscalYear;
    if (VoucherKeyExists(voucher, yearCode)) return Texts::RecordKeyExists;
    return 0;
}

// Balances the voucher and inserts it through its hooks (which post it);
// true only when it was stored. A voucher in no fiscal year raises
// VoucherOutsideYearsFlag, one on a date the balances cannot hold raises
// BalanceDateOutsideFlag; neither is stored, nor one whose key exists.
bool StoreVoucher(uint8_t *voucher) {
    BalanceVoucher(voucher);
    if (DateOutsideBalances(voucher)) {
        BalanceDateOutsideFlag = true;
        return false;
    }
    uint16_t yearCode = GetU16(voucher, Voucher::YearCode);
    if (yearCode < YearCodeMin) {
        VoucherOutsideYearsFlag = true;
        return false;
    }
    if (VoucherKeyExists(voucher, yearCode)) return false;
    uint32_t recid = 0;
    return RecInsertUnchecked(Voucher::Number, voucher, &recid);
}

// Stores PendingVoucher when it has rows and frees its rows either way;
// true when there was nothing to store or it was stored.
bool StorePendingVoucher() {
    if (!PendingVoucher) return true;
    bool stored = true;
    if (MatrixRowCount(Voucher::Number, 0, PendingVoucher) > 0) stored = StoreVoucher(PendingVoucher);
    RecFreeMatrix(Voucher::Number, PendingVoucher);
    return stored;
}

// A check's refusal (FieldError's result) when the pending voucher has
// rows that StoreVoucher would not store, with VoucherWouldStore's text on
// the serial (a key taken) or the date (anything else); the pending
// voucher is cleared then. 0 when it would be stored or has no rows.
int PendingVoucherStorable(uint16_t serialField, uint16_t dateField) {
    if (!PendingVoucher || MatrixRowCount(Voucher::Number, 0, PendingVoucher) == 0) return 0;
    int text = VoucherWouldStore(PendingVoucher);
    if (text == 0) return 0;
    PendingVoucherClear();
    return FieldError(text, nullptr, text == Texts::RecordKeyExists ? serialField : dateField);
}

// Frees the pending voucher's rows and clears it: what a voucher build
// that fails leaves behind.
void PendingVoucherClear() {
    assert(PendingVoucher);
    RecFreeMatrix(Voucher::Number, PendingVoucher);
    std::memset(PendingVoucher, 0, PendingVoucherSize);
}

bool VoucherDueOn(U16Field switchAt, DateField startAt, const DateRec &date) {
    const uint8_t *posting = SettingsRecord(PostingBlk::Number, Block199);
    if (!posting || GetU16(posting, switchAt) == 0) return false;
    DateRec start = GetDate(posting, startAt);
    return DateIsEmpty(&start) || DateCompare(&date, &start) >= 0;
}

bool PendingVoucherHead(uint16_t yearCode, uint32_t serial, const DateRec &date, bool checkKey) {
    assert(PendingVoucher);
    PutU16(PendingVoucher, Voucher::YearCode, yearCode);
    PutU32(PendingVoucher, Voucher::SerNr, serial);
    if (checkKey && RecExists(Voucher::Number, PendingVoucher)) return false;
    PutDate(PendingVoucher, Voucher::RegDate, TodayDate);
    PutDate(PendingVoucher, Voucher::TransDate, date);
    return true;
}

// Empties the VAT code of every account row whose code block 208 does not
// know.
void ClearUnknownVatCodes(uint8_t *voucher) {
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[TransRow::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row) || GetU16(row, TransRow::Kind) != RowAccount) continue;
        PString code;
        GetText(row, TransRow::VatCode, code);
        if (code[0] == 0 || IsVatCode(code)) continue;
        PutText(row, TransRow::VatCode, EmptyPString);
        bool written = MatrixRowPut(Voucher::Number, 0, voucher, i, row);   // an existing row: never grows
        assert(written);
        (void)written;
    }
}

// Stores an account for every account row whose account does not exist:
// named by the row's text, its kind from its number, debit and credit
// allowed. Raises AccountsCreatedFlag when it created one.
void CreateMissingAccounts(uint8_t *voucher) {
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[TransRow::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row) || GetU16(row, TransRow::Kind) != RowAccount) continue;
        PString account, text;
        GetText(row, TransRow::Account, account);
        if (account[0] == 0 || AccountExists(account)) continue;
        GetText(row, TransRow::Text, text);
        RuleRecord created(ACVc::Number);
        if (!created.record) return;
        PutText(created.record, ACVc::Code, account);
        PutText(created.record, ACVc::Name, text);
        PutU16(created.record, ACVc::AccType, (uint16_t)AccountKindFromNumber(account));
        PutU16(created.record, ACVc::DebitAllowed, 1);
        PutU16(created.record, ACVc::CreditAllowed, 1);
        uint32_t recid = 0;
        if (RecStoreByKey(ACVc::Number, created.record, 0, &recid)) AccountsCreatedFlag = true;
    }
}

// The account kind of an account number: "" 4; "1.." 0; "2.." 1 ("29.."
// 2); "3.." 3; anything else 4.
int AccountKindFromNumber(const uint8_t *account) {
    if (account[0] == 0) return 4;
    switch (account[1]) {
    case '1': return 0;
    case '2': return account[0] >= 2 && account[2] == '9' ? 2 : 1;
    case '3': return 3;
    default: return 4;
    }
}
