// voucher_rows.cpp - building, summing, negating and balancing the rows of
// vouchers (register 11) and of sm1 records (register 9).
//
// Only account rows (kind 1) with flag 0 take part in totals, sums,
// negation and posting; rows of the other kinds (dated, link, reference)
// and flagged rows ride along unchanged. Builders take the record, so its
// rows slot follows the rows block when it grows. A voucher holds at most
// VoucherRowsMax rows (row counts are 16-bit in the file's users); a row
// beyond that is not added.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/accounts.h"
#include "rules/ledger.h"

namespace {

constexpr int32_t VoucherRowsMax = 32767;

// True when the voucher row takes part in totals and postings.
bool IsCountedRow(const uint8_t *row) {
    return GetU16(row, TransRow::Kind) == RowAccount && GetU16(row, TransRow::Flag) == 0;
}

// *signedAmount = amount for a debit, its negation otherwise.
void SignedAmount(const PackedDecimal *amount, bool debit, PackedDecimal *signedAmount) {
    if (debit) DecCopy(signedAmount, amount);
    else DecNegateInto(amount, signedAmount);
}

void AddToTotal(PackedDecimal *total, const PackedDecimal *amount) {
    if (total) DecAdd(total, amount, total);
}

// Appends a fresh account row to the voucher; false when it holds the
// most rows it can or the rows could not grow.
bool AppendVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *joined, const uint8_t *vatCode,
                      const uint8_t *text, const PackedDecimal *signedAmount) {
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    if (count >= VoucherRowsMax) return false;
    uint8_t row[TransRow::Size] = {};
    PutU16(row, TransRow::Kind, RowAccount);
    PutText(row, TransRow::Account, account);
    PutText(row, TransRow::Objects, joined);
    PutText(row, TransRow::Text, text ? text : EmptyPString);
    PutText(row, TransRow::VatCode, vatCode ? vatCode : EmptyPString);
    PutDec(row, TransRow::Amount, *signedAmount);
    return MatrixRowPut(Voucher::Number, 0, voucher, count, row);
}

}  // namespace

// Appends an account row of amount (debit) or its negation (credit), with
// the objects sorted and each once, and adds the same signed amount to
// *total. A zero amount or an empty account adds nothing.
void AddVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                   const uint8_t *text, const PackedDecimal *amount, int, bool debit, PackedDecimal *total) {
    FindVoucherRow(voucher, account, objects, vatCode, text, amount, false, debit, total);
}

// As AddVoucherRow, but with search set the amount goes into the last
// account row of the same account and objects when there is one.
void FindVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                    const uint8_t *text, const PackedDecimal *amount, bool search, bool debit, PackedDecimal *total) {
    if (!amount || DecIsZero(amount) || !account || account[0] == 0) return;
    PString joined;
    JoinObjectList(objects ? objects : EmptyPString, joined);
    PackedDecimal signedAmount;
    SignedAmount(amount, debit, &signedAmount);
    if (search) {
        uint8_t row[TransRow::Size];
        for (int32_t i = MatrixRowCount(Voucher::Number, 0, voucher) - 1; i >= 0; i--) {
            if (!MatrixRowRead(Voucher::Number, voucher, i, row) || GetU16(row, TransRow::Kind) != RowAccount) continue;
            PString rowAccount, rowObjects;
            GetText(row, TransRow::Account, rowAccount);
            GetText(row, TransRow::Objects, rowObjects);
            if (!PStringEqual(rowAccount, account) || !PStringEqual(rowObjects, joined)) continue;
            PackedDecimal sum = GetDec(row, TransRow::Amount);
            DecAdd(&sum, &signedAmount, &sum);
            PutDec(row, TransRow::Amount, sum);
            if (MatrixRowPut(Voucher::Number, 0, voucher, i, row)) AddToTotal(total, &signedAmount);
            return;
        }
    }
    if (AppendVoucherRow(voucher, account, joined, vatCode, text, &signedAmount)) AddToTotal(total, &signedAmount);
}

// FindVoucherRow on an account that must exist, with text or, when text
// is null, the account's name (as much as the row's text holds).
bool FindNamedVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                         const uint8_t *text, const PackedDecimal *amount, bool search, bool debit,
                         PackedDecimal *total) {
    uint8_t name[256];
    if (!AccountNameOf(account, name, TransRow::Text.Length)) return false;
    FindVoucherRow(voucher, account, objects, vatCode, text ? text : name, amount, search, debit, total);
    return true;
}

// The same on the 82-byte rows of an sm1 record: with merge set the first
// row of the same account, VAT code and objects (any objects when objects
// is null) takes the amount; else a row is appended (text cut to 20).
void AddAccountRow(uint8_t *sm1, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                   const uint8_t *text, const PackedDecimal *amount, bool merge, bool debit, PackedDecimal *total) {
    if (!amount || DecIsZero(amount) || !account || account[0] == 0) return;
    PString joined;
    JoinObjectList(objects ? objects : EmptyPString, joined);
    const uint8_t *vat = vatCode ? vatCode : EmptyPString;
    PackedDecimal signedAmount;
    SignedAmount(amount, debit, &signedAmount);
    int32_t count = MatrixRowCount(SMVc::Number, 0, sm1);
    uint8_t row[AccountRow::Size];
    if (merge) {
        for (int32_t i = 0; i < count; i++) {
            if (!MatrixRowRead(SMVc::Number, sm1, i, row)) continue;
            PString rowAccount, rowObjects, rowVat;
            GetText(row, AccountRow::Account, rowAccount);
            GetText(row, AccountRow::Objects, rowObjects);
            GetText(row, AccountRow::VatCode, rowVat);
            if (!PStringEqual(rowAccount, account) || (objects && !PStringEqual(rowObjects, joined)) ||
                !PStringEqual(rowVat, vat))
                continue;
            PackedDecimal sum = GetDec(row, AccountRow::Amount);
            DecAdd(&sum, &signedAmount, &sum);
            PutDec(row, AccountRow::Amount, sum);
            if (MatrixRowPut(SMVc::Number, 0, sm1, i, row)) AddToTotal(total, &signedAmount);
            return;
        }
    }
    if (count >= VoucherRowsMax) return;
    ClearBytes(row, (int)sizeof row);
    PutText(row, AccountRow::Account, account);
    PutText(row, AccountRow::Objects, joined);
    PutText(row, AccountRow::Text, text ? text : EmptyPString);
    PutText(row, AccountRow::VatCode, vat);
    PutDec(row, AccountRow::Amount, signedAmount);
    if (MatrixRowPut(SMVc::Number, 0, sm1, count, row)) AddToTotal(total, &signedAmount);
}

// Writes the debit total (non-negative amounts), credit total (negative
// ones) and balance (their sum) of the voucher's counted rows; totals with
// no amount stay blank.
void VoucherRowsBalance(uint8_t *voucher) {
    PackedDecimal debit, credit, balance;
    DecSetBlank(&debit);
    DecSetBlank(&credit);
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[TransRow::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row) || !IsCountedRow(row)) continue;
        PackedDecimal amount = GetDec(row, TransRow::Amount);
        if (DecIsBlank(&amount)) continue;
        PackedDecimal *into = DecIsNegative(&amount) ? &credit : &debit;
        DecAdd(into, &amount, into);
    }
    DecAdd(&debit, &credit, &balance);
    PutDec(voucher, Voucher::DebitTotal, debit);
    PutDec(voucher, Voucher::CreditTotal, credit);
    PutDec(voucher, Voucher::Balance, balance);
}

// *sum = the amounts of the voucher's counted rows, from zero.
void VoucherRowsSum(const uint8_t *voucher, PackedDecimal *sum) {
    DecSetZero(sum);
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[TransRow::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row) || !IsCountedRow(row)) continue;
        PackedDecimal amount = GetDec(row, TransRow::Amount);
        DecAdd(sum, &amount, sum);
    }
}

// Negates in place the amounts of the counted rows from firstRow on.
void VoucherRowsNegate(uint8_t *voucher, int32_t firstRow) {
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher);
    uint8_t row[TransRow::Size];
    for (int32_t i = firstRow < 0 ? 0 : firstRow; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row) || !IsCountedRow(row)) continue;
        PackedDecimal amount = GetDec(row, TransRow::Amount);
        DecNegateInto(&amount, &amount);
        PutDec(row, TransRow::Amount, amount);
        bool written = MatrixRowPut(Voucher::Number, 0, voucher, i, row);   // an existing row: never grows
        assert(written);
        (void)written;
    }
}

// Deletes, from the last to the first, every account row whose amount is
// zero or blank. Rows of the other kinds carry no amount and stay.
void RemoveZeroVoucherRows(uint8_t *voucher) {
    uint8_t row[TransRow::Size];
    for (int32_t i = MatrixRowCount(Voucher::Number, 0, voucher) - 1; i >= 0; i--) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row) || GetU16(row, TransRow::Kind) != RowAccount) continue;
        PackedDecimal amount = GetDec(row, TransRow::Amount);
        if (DecIsZero(&amount)) MatrixRowDelete(Voucher::Number, voucher, i);
    }
}

// Appends every counted row of source to target with its sign reversed,
// then drops target's account rows of amount zero. target may be source.
void CopyVoucherRowsReversed(uint8_t *target, const uint8_t *source, int) {
    int32_t count = MatrixRowCount(Voucher::Number, 0, source);
    uint8_t row[TransRow::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Voucher::Number, source, i, row) || !IsCountedRow(row)) continue;
        PString account, objects, text, vatCode;
        GetText(row, TransRow::Account, account);
        GetText(row, TransRow::Objects, objects);
        GetText(row, TransRow::Text, text);
        GetText(row, TransRow::VatCode, vatCode);
        PackedDecimal amount = GetDec(row, TransRow::Amount), total;
        DecSetZero(&total);
        AddVoucherRow(target, account, objects, vatCode, text, &amount, 0, false, &total);
    }
    RemoveZeroVoucherRows(target);
}
