// vat_codes.cpp - VAT codes of block 208: rates, VAT amounts and the VAT
// codes and sales accounts of items.
//
// Block 208 is a table of VatCodeRow rows in the order the company keeps
// its codes. Row 0 is the default: every lookup answers an empty or
// unknown code with it. Only whole rows are read; an empty block answers
// "no rate" (0, or a blank decimal) and writes nothing.
//
// The rate paths run in double and convert back through DecFromDouble
// (shortest round-trip text, rounded to thousandths), so a VAT of exactly
// half a cent in binary reaches the rounding as 0.005 and rounds up.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "rules/invoice_kind.h"
#include "rules/settings_row_find.h"
#include "rules/vat_currency.h"

namespace {

constexpr int VatCodeMax = 2;
constexpr int AccountCodeMax = 10;
constexpr int ItemCodeMax = 20;
constexpr int GroupCodeMax = 5;

// The row of block 208 that answers code: the first row with exactly that
// code, else row 0; null for an empty block. *index gets the row number
// (-1 for an empty block), *found whether the code itself was there.
const uint8_t *AnswerRow(const SettingsRows &rows, const uint8_t *code, int32_t *index, bool *found) {
    *index = -1;
    *found = false;
    if (rows.count <= 0) return nullptr;
    *index = 0;
    const bool askable = code && code[0] <= VatCodeMax;
    int32_t own = askable ? SettingsRowWithCode(rows, VatCodeRow::Code, code) : -1;
    if (own >= 0) {
        *index = own;
        *found = true;
    }
    return rows.data + (size_t)*index * VatCodeRow::Size;
}

// The rate of one row as a double: the first rate; inclusive, the second
// rate when it is set, else the VAT share of an amount that includes VAT.
// A rate of -100 has no share (it would divide by zero) and gives 0.
double RowRate(const uint8_t *row, int inclusive) {
    PackedDecimal rate = GetDec(row, VatCodeRow::Rate);
    double r = DecToDouble(&rate);
    if (!inclusive) return r;
    PackedDecimal rate2 = GetDec(row, VatCodeRow::Rate2);
    if (!DecIsBlank(&rate2)) return DecToDouble(&rate2);
    if (100.0 + r == 0.0) return 0.0;
    return 100.0 * (1.0 - 100.0 / (100.0 + r));
}

static_assert(INVc::Code == 0 && ITVc::Code == 0 && ACVc::Code == 0);

// Reads the record of reg whose first key part is `code` (a text field of
// at most max characters at offset 0) into rec; false for an empty or
// overlong code and for a miss.
bool ReadByCode(RuleRecord &rec, const uint8_t *code, int max) {
    if (!rec.record || !code || code[0] == 0 || code[0] > max) return false;
    PutPString(rec.record, 0, max, code);
    return RecFindByFirstKey(rec.reg, rec.record);
}

// Copies the text field at offset of base (at most max characters) into
// out, which holds max + 1 bytes.
void CopyField(const uint8_t *base, uint32_t offset, int max, uint8_t *out) {
    uint8_t text[256];
    GetPString(base, offset, max, text);
    std::memcpy(out, text, (size_t)text[0] + 1);
}

// The zone's field of block 133 among three (zone 1, zone 2, any other
// zone), falling back to the other-zones field when the zone's is empty.
void SalesBlockDefault(int zone, uint32_t other, uint32_t zone1, uint32_t zone2, int max, uint8_t *out) {
    out[0] = 0;
    const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!block) return;
    uint32_t offset = zone == 1 ? zone1 : zone == 2 ? zone2 : other;
    CopyField(block, offset, max, out);
    if (out[0] == 0) CopyField(block, other, max, out);
}

}  // namespace

// Finds the row answering code and copies its first (which 0) or second
// rate into rate and, where given, its first and second accounts (buffers
// of 11 bytes). With an empty block nothing is written.
void VatCodeLookup(const uint8_t *code, PackedDecimal *rate, int which, uint8_t *acc1, uint8_t *acc2) {
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    int32_t index;
    bool found;
    const uint8_t *row = AnswerRow(rows, code, &index, &found);
    if (!row) return;
    if (rate) *rate = GetDec(row, which == 0 ? VatCodeRow::Rate : VatCodeRow::Rate2);
    if (acc1) CopyField(row, VatCodeRow::Account1, AccountCodeMax, acc1);
    if (acc2) CopyField(row, VatCodeRow::Account2, AccountCodeMax, acc2);
}

// Copies the account's own VAT code into vatcode (3 bytes; empty for an
// unknown account), then looks that code up as VatCodeLookup does.
void AccountVatCodeLookup(const uint8_t *account, uint8_t *vatcode, PackedDecimal *rate, int which, uint8_t *acc1,
                          uint8_t *acc2) {
    uint8_t code[VatCodeMax + 1] = {0};
    RuleRecord rec(ACVc::Number);
    if (ReadByCode(rec, account, AccountCodeMax)) CopyField(rec.record, ACVc::VatCode, VatCodeMax, code);
    if (vatcode) std::memcpy(vatcode, code, (size_t)code[0] + 1);
    VatCodeLookup(code, rate, which, acc1, acc2);
}

// The rate of the row answering code as a double (see RowRate); 0 for an
// empty block.
double VatRate(const uint8_t *code, int inclusive) {
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    int32_t index;
    bool found;
    const uint8_t *row = AnswerRow(rows, code, &index, &found);
    return row ? RowRate(row, inclusive) : 0.0;
}

// The rate as a decimal: the stored rate itself, or the inclusive share
// converted from double. *index gets the row used (-1: empty block, rate
// blank); true only when the code itself was found.
bool VatRateDec(const uint8_t *code, PackedDecimal *rate, int32_t *index, int inclusive) {
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    int32_t at;
    bool found;
    const uint8_t *row = AnswerRow(rows, code, &at, &found);
    if (index) *index = at;
    if (!rate) return found;
    if (!row) {
        DecSetBlank(rate);
        return false;
    }
    PackedDecimal rate2 = GetDec(row, VatCodeRow::Rate2);
    if (!inclusive) *rate = GetDec(row, VatCodeRow::Rate);
    else if (!DecIsBlank(&rate2)) *rate = rate2;
    else DecFromDouble(rate, RowRate(row, inclusive));
    return found;
}

// vat = amount x rate x 0.01 in double, converted, not rounded.
void VatAmount(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, int inclusive) {
    if (!vat) return;
    double a = amount ? DecToDouble(amount) : 0.0;
    DecFromDouble(vat, a * VatRate(code, inclusive) * 0.01);
}

// As VatAmount, rounded to 2 decimals; rate (may be null) gets the rate
// used, converted from double.
void VatAmountRound2(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, PackedDecimal *rate,
                     int inclusive) {
    double r = VatRate(code, inclusive);
    if (rate) DecFromDouble(rate, r);
    if (!vat) return;
    double a = amount ? DecToDouble(amount) : 0.0;
    PackedDecimal raw;
    DecFromDouble(&raw, a * r * 0.01);
    DecRound(&raw, 2, vat);
}

// vat = amount x rate / 100 in decimal arithmetic, rounded once to 2
// decimals; a blank rate (empty block) gives the product rule's answer.
void VatAmountDec(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat, int inclusive) {
    if (!vat) return;
    PackedDecimal rate;
    VatRateDec(code, &rate, nullptr, inclusive);
    PackedDecimal a;
    if (amount) a = *amount;
    else DecSetZero(&a);
    PercentOfAmount(&a, &rate, vat);
}

// r = a x b / 100 rounded to 2 decimals, halves away from zero, from the
// exact product (one rounding, not one per step). As with DecMul, two
// blanks give blank and one zero or blank operand gives zero; a result
// out of range is blank.
void PercentOfAmount(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) {
    PercentOfAmountTo(a, b, 2, r);
}

// As PercentOfAmount, rounded once to `decimals` (0 to 3) places.
void PercentOfAmountTo(const PackedDecimal *a, const PackedDecimal *b, int decimals, PackedDecimal *r) {
    assert(decimals >= 0 && decimals <= 3);
    if (!r) return;
    if (DecIsBlank(a) && DecIsBlank(b)) {
        DecSetBlank(r);
        return;
    }
    __int128 x = 0, y = 0;
    if (!DecToThousandths(a, &x) || !DecToThousandths(b, &y) || x == 0 || y == 0) {
        DecSetZero(r);
        return;
    }
    // x and y count thousandths, so a x b / 100 = x * y / 10^8 units: one
    // place of the result is x * y / 10^(8 - decimals).
    __int128 product;
    if (__builtin_mul_overflow(x, y, &product)) {
        DecSetBlank(r);
        return;
    }
    __int128 unit = 1, scale = 1;
    for (int i = decimals; i < 8; i++) unit *= 10;
    for (int i = decimals; i < 3; i++) scale *= 10;
    bool negative = product < 0;
    __int128 magnitude = negative ? -product : product;
    __int128 places = (magnitude + unit / 2) / unit;
    DecFromThousandths(r, (negative ? -places : places) * scale);
}

// The VAT of one document row: rate, vat and plainRate blank, and for row
// kinds Item, Amount and DownPayment, when inclusive is set or novat is clear, vat and rate
// by VatAmountRound2 and plainRate the code's first rate.
void RowVatAmount(DocRowKind rowKind, int inclusive, int novat, const uint8_t *code, const PackedDecimal *amount,
                  PackedDecimal *rate, PackedDecimal *vat, PackedDecimal *plainRate) {
    if (rate) DecSetBlank(rate);
    if (vat) DecSetBlank(vat);
    if (plainRate) DecSetBlank(plainRate);
    if (rowKind != DocRowKind::Item && rowKind != DocRowKind::Amount && rowKind != DocRowKind::DownPayment) return;
    if (!inclusive && novat) return;
    VatAmountRound2(code, amount, vat, rate, inclusive);
    if (plainRate) VatRateDec(code, plainRate, nullptr, 0);
}

// Tells whether some row of block 208 has exactly this code.
bool IsVatCode(const uint8_t *code) {
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    int32_t index;
    bool found;
    AnswerRow(rows, code, &index, &found);
    return found;
}

// The VAT code of an item for a VAT zone (vatcode holds 3 bytes): the
// item's own code for every zone; else its group's code for the zone
// (zone 1, zone 2, or the other-zones field); else block 133's default for
// the zone, and its other-zones default when that is empty.
void ItemVatCode(const uint8_t *item, int zone, uint8_t *vatcode) {
    if (!vatcode) return;
    vatcode[0] = 0;
    RuleRecord rec(INVc::Number);
    if (ReadByCode(rec, item, ItemCodeMax)) {
        CopyField(rec.record, INVc::VatCode, VatCodeMax, vatcode);
        if (vatcode[0] != 0) return;
        uint8_t group[GroupCodeMax + 1];
        CopyField(rec.record, INVc::Group, GroupCodeMax, group);
        RuleRecord grp(ITVc::Number);
        if (ReadByCode(grp, group, GroupCodeMax)) {
            uint32_t offset = zone == 1 ? ITVc::VatCodeZ1 : zone == 2 ? ITVc::VatCodeZ2 : ITVc::VatCode;
            CopyField(grp.record, offset, VatCodeMax, vatcode);
            if (vatcode[0] != 0) return;
        }
    }
    SalesBlockDefault(zone, SalesAccountsBlk::VatCode0, SalesAccountsBlk::VatCode1, SalesAccountsBlk::VatCode2,
                      VatCodeMax, vatcode);
}

// The sales account of an item for a VAT zone (account holds 11 bytes):
// the item's own; else, for a stored item, its group's (the same for
// every zone); else block 133's default for the zone, and its
// other-zones default when that is empty.
void ItemSalesAccount(const uint8_t *item, int zone, uint8_t *account) {
    if (!account) return;
    account[0] = 0;
    RuleRecord rec(INVc::Number);
    if (ReadByCode(rec, item, ItemCodeMax)) {
        CopyField(rec.record, INVc::SalesAcc, AccountCodeMax, account);
        if (account[0] != 0) return;
        uint8_t group[GroupCodeMax + 1];
        CopyField(rec.record, INVc::Group, GroupCodeMax, group);
        RuleRecord grp(ITVc::Number);
        if (ReadByCode(grp, group, GroupCodeMax)) {
            CopyField(grp.record, ITVc::SalesAcc, AccountCodeMax, account);
            if (account[0] != 0) return;
        }
    }
    SalesBlockDefault(zone, SalesAccountsBlk::SalesAcc0, SalesAccountsBlk::SalesAcc1, SalesAccountsBlk::SalesAcc2,
                      AccountCodeMax, account);
}

// The rate of `code` and the VAT part in percent of an amount including
// VAT: the code's own second rate when it has one, else derived from the
// rate.
bool VatCodeRateLookup(const uint8_t *code, PackedDecimal *rate, PackedDecimal *factor)
{
    DecSetBlank(rate);
    DecSetBlank(factor);
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + size_t(i) * VatCodeRow::Size;
        uint8_t own[256];
        GetText(row, VatCodeRow::Code, own);
        if (!PStringEqual(own, code)) continue;
        *rate = GetDec(row, VatCodeRow::Rate);
        *factor = GetDec(row, VatCodeRow::Rate2);
        if (DecIsBlank(factor)) {
            double r = DecIsBlank(rate) ? 0 : DecToDouble(rate);
            DecFromDouble(factor, 100 - 100 / (r + 100) * 100);
        }
        return true;
    }
    return false;
}

bool VatPartOf(const uint8_t *code, const PackedDecimal *amount, PackedDecimal *vat)
{
    DecSetZero(vat);
    PackedDecimal rate, factor, hundredth;
    if (code[0] == 0 || !VatCodeRateLookup(code, &rate, &factor)) return false;
    DecFromDouble(&hundredth, 0.01);
    DecMul(amount, &factor, vat);
    DecMul(vat, &hundredth, vat);
    DecRound(vat, 2, vat);
    return true;
}
