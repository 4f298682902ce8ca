// person_entry_calc.cpp - the account rows of a person entry (register
// 126) for one employee (register 119): the employee's base amount from
// the base-amount table (settings block 214) and its standing rows of the
// period (settings block 135), each put on the debit and credit accounts
// of its entry type (register 120), and the bracket amounts (register 118)
// of the sums each entry type hands to its bracket tables.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/person_entries.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/rules_types.h"

namespace {

namespace E = PersEntryVc;
namespace W = EmployeeVc;
namespace T = EntryTypeVc;
namespace B = BracketVc;

constexpr int AccountMax = 10, RowTextMax = 30, NameMax = 60, BracketCodeMax = 12;
constexpr int BaseColumns = 4;

// A blank amount counts as zero.
PackedDecimal ZeroIfBlank(const PackedDecimal &v) {
    PackedDecimal out = v;
    if (DecIsBlank(&out)) DecSetZero(&out);
    return out;
}

// Reads the record of reg whose text key at `at` (of width m) is code
// through index 1; false when the code is empty or not found.
bool ReadByCode(int reg, uint32_t at, int m, const uint8_t *code, uint8_t *record) {
    if (code[0] == 0) return false;
    PutPString(record, at, m, code);
    return RecFindByFirstKey(reg, record);
}

// The account's name, empty for an empty account.
void NameOfAccount(const uint8_t *account, uint8_t *name) {
    name[0] = 0;
    if (account[0] != 0) AccountNameOf(account, name, NameMax);
}

// Puts amount on both accounts of the entry type: the debit account with
// debitText, the credit account with creditText.
void EntryTypeRows(const uint8_t *type, const uint8_t *debitText, const uint8_t *creditText,
                   const PackedDecimal *amount, bool merge, uint8_t *entry, PackedDecimal *total) {
    PString debit, credit, name;
    GetText(type, T::DebitAcc, debit);
    GetText(type, T::CreditAcc, credit);
    NameOfAccount(debit, name);
    AccountRowAdd(entry, debit, debitText, name, amount, merge, true, total);
    NameOfAccount(credit, name);
    AccountRowAdd(entry, credit, creditText, name, amount, merge, false, total);
}

// True when a dated row's date lies outside the period; an open end (year
// 0) does not bound.
bool OutsidePeriod(const DateRec &date, const DateRec &from, const DateRec &to) {
    if (from.year != 0 && DateCompare(&date, &from) < 0) return true;
    return to.year != 0 && DateCompare(&date, &to) > 0;
}

}  // namespace

bool AccountRowAdd(uint8_t *entry, const uint8_t *account, const uint8_t *text, const uint8_t *name,
                   const PackedDecimal *amount, bool merge, bool add, PackedDecimal *total) {
    assert(entry && account && text && name && amount && total);
    if (DecIsZero(amount) || account[0] == 0) return true;
    uint8_t row[E::Rows::Size];
    PString rowAccount, rowText, cut;
    PStringCopy(cut, text);
    if (cut[0] > RowTextMax) cut[0] = RowTextMax;
    int32_t at = -1;
    const int32_t count = MatrixRowCount(E::Number, 0, entry);
    for (int32_t i = 0; merge && i < count; i++) {
        if (!MatrixRowRead(E::Number, entry, i, row)) break;
        GetText(row, E::Rows::Account, rowAccount);
        GetText(row, E::Rows::Objects, rowText);
        if (PStringEqual(rowAccount, account) && PStringEqual(rowText, cut)) {
            at = i;
            break;
        }
    }
    if (at < 0) {
        std::memset(row, 0, sizeof row);
        PutText(row, E::Rows::Account, account);
        PutText(row, E::Rows::Objects, cut);
        PutText(row, E::Rows::Name, name);
        PackedDecimal zero;
        DecSetZero(&zero);
        PutDec(row, E::Rows::Amount, zero);
        at = count;
    }
    PackedDecimal sum = ZeroIfBlank(GetDec(row, E::Rows::Amount)), t = ZeroIfBlank(*total);
    if (add) {
        DecAdd(&sum, amount, &sum);
        DecAdd(&t, amount, &t);
    } else {
        DecSub(&sum, amount, &sum);
        DecSub(&t, amount, &t);
    }
    PutDec(row, E::Rows::Amount, sum);
    *total = t;
    return MatrixRowPut(E::Number, 0, entry, at, row);
}

void BaseAmountOf(int row, int column, PackedDecimal *result) {
    assert(result);
    DecSetZero(result);
    if (row < 1 || column < 1 || column > BaseColumns) return;
    SettingsRows rows(PayMatrixBlk::Number, &Block214Rows, PayMatrixBlk::Rows::Size);
    if (row > rows.count) return;
    static constexpr uint32_t Columns[BaseColumns] = {PayMatrixBlk::Rows::Col1, PayMatrixBlk::Rows::Col2,
                                                     PayMatrixBlk::Rows::Col3, PayMatrixBlk::Rows::Col4};
    PString text;
    GetPString(rows.data + size_t(row - 1) * PayMatrixBlk::Rows::Size, Columns[column - 1], 11, text);
    if (!TextToDecChecked(text, result)) DecSetZero(result);
}

void CodeSumsAdd(CodeSums *sums, const uint8_t *entryType, const PackedDecimal *amount) {
    assert(sums && entryType && amount);
    uint8_t row[T::Rows::Size];
    PString code;
    const int32_t count = MatrixRowCount(T::Number, 0, entryType);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(T::Number, entryType, i, row)) break;
        GetText(row, T::Rows::Bracket, code);
        if (code[0] == 0) continue;
        CodeSumRec &sum = SumRowOf(*sums, code);
        DecAdd(&sum.amount, amount, &sum.amount);
    }
}

bool BracketResult(const uint8_t *table, const PackedDecimal *base, PackedDecimal *result) {
    assert(table && base && result);
    const bool whole = GetU16(table, B::WholeUnits) != 0;
    bool found = false;
    uint8_t row[B::Rows::Size];
    PackedDecimal hundred, cent;
    DecFromLong(&hundred, 100);
    DecFromLong(&cent, 1);
    DecDiv(&cent, &hundred, &cent);
    const int32_t count = MatrixRowCount(B::Number, 0, table);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(B::Number, table, i, row)) break;
        const PackedDecimal from = ZeroIfBlank(GetDec(row, B::Rows::From)), to = GetDec(row, B::Rows::To);
        if (DecCompare(base, &from) < 0) continue;
        if (!DecIsBlank(&to) && DecCompare(base, &to) > 0) continue;
        PackedDecimal v, percent = ZeroIfBlank(GetDec(row, B::Rows::Percent)),
                         fixed = ZeroIfBlank(GetDec(row, B::Rows::Fixed));
        DecSub(base, &from, &v);
        DecMul(&v, &percent, &v);
        DecDiv(&v, &hundred, &v);
        DecAdd(&v, &fixed, &v);
        if (whole) {
            DecAdd(&v, &cent, &v);
            DecRound(&v, 0, result);
        } else {
            DecRound(&v, 2, result);
        }
        found = true;
    }
    return found;
}

void BracketAmount(const uint8_t *code, const PackedDecimal *sum, uint8_t *entry, PackedDecimal *total,
                   const uint8_t *text) {
    assert(code && sum && entry && total && text);
    PackedDecimal base;
    DecAbs(sum, &base);
    const bool negative = DecIsNegative(sum);
    RuleRecord table(B::Number);
    if (!table.record || !ReadByCode(B::Number, B::Code, BracketCodeMax, code, table.record)) return;
    PackedDecimal result;
    if (!BracketResult(table.record, &base, &result)) return;
    PString debit, credit, name, empty;
    empty[0] = 0;
    GetText(table.record, B::DebitAcc, debit);
    GetText(table.record, B::CreditAcc, credit);
    const uint8_t *debitText = GetU16(table.record, B::UseText) != 0 ? text : empty;
    NameOfAccount(debit, name);
    AccountRowAdd(entry, debit, debitText, name, &result, true, !negative, total);
    NameOfAccount(credit, name);
    AccountRowAdd(entry, credit, empty, name, &result, true, negative, total);
}

void PersonEntryCalc(const uint8_t *selection, const uint8_t *person, uint8_t *entry) {
    assert(selection && person && entry);
    uint8_t period[PersonPeriodBlk::Size] = {};
    SettingsBlockRead(PersonPeriodBlk::Number, period, PersonPeriodBlk::Size);
    const DateRec from = GetDate(period, PersonPeriodBlk::FromDate), to = GetDate(period, PersonPeriodBlk::ToDate);
    RecFreeMatrix(E::Number, entry);

    PackedDecimal base, total;
    DecSetZero(&total);
    BaseAmountOf(GetI16(person, W::BaseRow), GetI16(person, W::BaseCol), &base);
    PString personText, selected, typeCode, typeText, text, code2, empty;
    empty[0] = 0;
    GetText(person, W::Text, personText);
    GetText(selection, ReportParamsVc::SelText3, selected);
    CodeSums sums;
    RuleRecord type(T::Number);
    if (!type.record) return;

    if (selected[0] == 0) {
        GetText(person, W::EntryType, typeCode);
        if (ReadByCode(T::Number, T::Code, AccountMax, typeCode, type.record)) {
            GetText(type.record, T::Text, typeText);
            PStringCopy(text, GetU16(type.record, T::TextFlag) == 0 ? typeText : personText);
            EntryTypeRows(type.record, text, typeText, &base, false, entry, &total);
            CodeSumsAdd(&sums, type.record, &base);
        }
    }

    uint8_t row[W::Rows::Size];
    const int32_t count = MatrixRowCount(W::Number, 0, person);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(W::Number, person, i, row)) break;
        if (GetU16(row, W::Rows::Dated) != 0 && OutsidePeriod(GetDate(row, W::Rows::RowDate), from, to)) continue;
        GetText(row, W::Rows::Code2, code2);
        if (!PStringEqual(code2, selected)) continue;
        RecFreeMatrix(T::Number, type.record);
        std::memset(type.record, 0, T::Size);
        GetText(row, W::Rows::EntryType, typeCode);
        if (!ReadByCode(T::Number, T::Code, AccountMax, typeCode, type.record)) continue;
        GetText(type.record, T::Text, typeText);
        PStringCopy(text, GetU16(type.record, T::TextFlag) == 0 ? typeText : personText);
        const PackedDecimal amount = ZeroIfBlank(GetDec(row, W::Rows::Amount));
        EntryTypeRows(type.record, text, empty, &amount, true, entry, &total);
        CodeSumsAdd(&sums, type.record, &amount);
    }

    for (const CodeSumRec &s : sums) BracketAmount(s.code, &s.amount, entry, &total, personText);
    AccountRows118Balance(entry);
}
