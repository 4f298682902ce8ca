// posting_sources.cpp - the records behind the postings of register 18
// and the sum of one record's rows on an account, shared by the ledger
// queries and the interest over postings.
#include "rules/posting_sources.h"

#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/ledger.h"

namespace {

constexpr PostingSource PostingSources[] = {
    {Voucher::Number, Voucher::TransDate, Voucher::SerNr},
    {SMVc::Number, SMVc::Date, SMVc::SerNr},
    {PersEntryVc::Number, PersEntryVc::TransDate, PersEntryVc::SerNr},
    {OpenBalVc::Number, OpenBalVc::TransDate, OpenBalVc::SerNr},
};

// True when the object lists a and b name the same codes.
bool SameObjectList(const uint8_t *a, const uint8_t *b)
{
    uint8_t ja[256], jb[256];
    JoinObjectList(a, ja);
    JoinObjectList(b, jb);
    return PStringEqual(ja, jb);
}

}  // namespace

const PostingSource *PostingSourceOf(int reg)
{
    for (const PostingSource &s : PostingSources)
        if (s.reg == reg) return &s;
    return nullptr;
}

bool AddPostingSourceRows(int reg, const uint8_t *source, const uint8_t *account, const uint8_t *objects,
                          const ObjectSlots *wanted, PackedDecimal *sum)
{
    assert(source && account && objects && wanted && sum);
    uint8_t row[TransRow::Size], code[256], list[256];
    uint32_t accountAt = 0, objectsAt = 0, amountAt = 0;
    switch (reg) {
    case Voucher::Number:
        accountAt = TransRow::Account, objectsAt = TransRow::Objects, amountAt = TransRow::Amount;
        break;
    case SMVc::Number:
        accountAt = AccountRow::Account, objectsAt = AccountRow::Objects, amountAt = AccountRow::Amount;
        break;
    case PersEntryVc::Number:
        accountAt = Sp1Row::Account, objectsAt = Sp1Row::Objects, amountAt = Sp1Row::Amount;
        break;
    case OpenBalVc::Number:
        GetText(source, OpenBalVc::Objects, list);
        if (!SameObjectList(list, objects)) return true;
        accountAt = Fb1Row::Account, amountAt = Fb1Row::Amount;
        break;
    default: return true;
    }
    assert(RecRowSize(reg) <= sizeof row);
    PackedDecimal own = *sum;
    const int32_t n = MatrixRowCount(reg, 0, source);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(reg, source, i, row)) return false;
        if (reg == Voucher::Number && (GetU16(row, TransRow::Kind) != RowAccount || GetU16(row, TransRow::Flag) != 0))
            continue;
        GetPString(row, accountAt, 10, code);
        if (!PStringEqual(code, account)) continue;
        if (objectsAt) {
            GetPString(row, objectsAt, ObjectListMax, list);
            if (!ObjectListContainsAll(wanted, list)) continue;
        }
        const PackedDecimal amount = GetDec(row, amountAt);
        DecAdd(&own, &amount, &own);
    }
    *sum = own;
    return true;
}
