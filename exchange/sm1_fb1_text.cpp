// sm1_fb1_text.cpp - the voucher drafts' ("sm1", register 9) and opening
// balances' ("fb1", register 51) sections: a head line and one line per
// row, written and read by the column engine; the totals are made from
// the rows read.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "database/access/record_access.h"
#include "exchange/text_exchange.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "exchange/ledger_text.h"

namespace {

namespace S = SMVc;
namespace F = OpenBalVc;

constexpr Column Sm1Head[] = {
    {S::SerNr, FtLongOrEmpty, 0}, {S::Text, FtText, 60},  {S::Date, FtDate, 0},
    {S::Code, FtCodeNoSep, 5},    {S::Text2, FtText, 20},
};
constexpr Column Sm1Rows[] = {
    {S::Rows::Account, FtCodeNoSep, 10}, {S::Rows::Objects, FtCode, 30},    {S::Rows::Text, FtText, 20},
    {S::Rows::Amount, FtAmount2, 0},     {S::Rows::VatCode, FtCodeNoSep, 2},
};
constexpr FieldList Sm1List = {false, S::Number, S::Number, 1, Sm1Head, S::Rows::Size, Sm1Rows};

constexpr Column Fb1Head[] = {
    {F::SerNr, FtLongOrEmpty, 0}, {F::Text, FtText, 60},  {F::TransDate, FtDate, 0},
    {F::Code, FtCodeNoSep, 5},    {F::Objects, FtCode, 30}, {F::PostKind, FtShort, 0},
};
constexpr Column Fb1Rows[] = {
    {F::Rows::Account, FtCodeNoSep, 10}, {F::Rows::AccName, FtText, 20}, {F::Rows::Amount, FtAmount2, 0}};
constexpr FieldList Fb1List = {false, F::Number, F::Number, 1, Fb1Head, F::Rows::Size, Fb1Rows};

}  // namespace

// Writes a draft: its head line, a line end and its rows' lines.
void WriteSm1Text(const uint8_t *r)
{
    assert(r);
    WriteListRecord(S::Number, Sm1List, r);
}

// Reads a draft into a cleared record and makes its totals; false: damaged.
bool ReadSm1Text(uint8_t *r)
{
    assert(r);
    if (!ReadListRecord(S::Number, Sm1List, 1, r)) return false;
    AccountRowsBalance(r);
    return true;
}

// Writes an opening balance: its head line, a line end and its rows' lines.
void WriteFb1Text(const uint8_t *r)
{
    assert(r);
    WriteListRecord(F::Number, Fb1List, r);
}

// Reads an opening balance into a cleared record and makes its totals;
// false: damaged.
bool ReadFb1Text(uint8_t *r)
{
    assert(r);
    if (!ReadListRecord(F::Number, Fb1List, 1, r)) return false;
    Fb1RowsBalance(r);
    return true;
}

// Stores an opening balance whose number is not stored yet, in a hold of
// its own: its totals made, its two state words cleared, inserted without
// validation (its insert hooks post it). False when the number exists or
// the store failed (nothing of it is kept).
bool StoreFb1Record(uint8_t *r)
{
    assert(r);
    if (RecExists(F::Number, r)) return false;
    DbHoldBegin();
    Fb1RowsBalance(r);
    PutU16(r, F::Reg18Done, 0);
    PutU16(r, F::Word84, 0);
    uint32_t recid = 0;
    bool stored = RecInsertUnchecked(F::Number, r, &recid);
    if (!stored) DbHoldFail();
    return DbHoldEnd() && stored;
}
